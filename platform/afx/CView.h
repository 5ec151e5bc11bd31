// CView: a child window of a frame that shows a document.
#pragma once

#include "afx/CDocument.h"
#include "afx/CFrameWnd.h"
#include "afx/CMenu.h"

class CView : public CWnd {
  DECLARE_DYNAMIC(CView)

 public:
  CView() = default;
  ~CView() override;

  CDocument* GetDocument() const { return m_pDocument; }
  virtual BOOL IsSelected(const CObject*) const { return FALSE; }

  virtual void OnInitialUpdate();
  // The document changed: the default repaints the whole view.
  virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
  virtual void OnDraw(CDC* pDC) = 0;
  virtual void OnPrepareDC(CDC* pDC, void* pInfo = nullptr);
  virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
  virtual void OnActivateFrame(UINT, CFrameWnd*) {}
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  // Commands go to the view, then to its document.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  CDocument* m_pDocument = nullptr;

 protected:
  void PostNcDestroy() override;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()

  friend class CDocument;
};
