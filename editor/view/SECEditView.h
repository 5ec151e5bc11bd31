// The editor as a framework view: one object that is the view and the editor viewport, whose
// window the controller plugs into; it keeps the scroll bars with the origin, keeps split panes
// of one text in step, and takes OLE drops for the controller.
#pragma once

#include <memory>

#include "afx/CSplitterWnd.h"
#include "afx/CView.h"
#include "editor/print/SECEditPrinter.h"
#include "editor/view/SECEditViewport.h"

class COleDropTarget;

// Joins a window class and the editor viewport: creation, routing, scrolling and resizing.
template <class WndBase, class ViewportBase>
class SECEditCtrlWrapper_T : public WndBase, public ViewportBase {
 public:
  SECEditCtrlWrapper_T() = default;
  ~SECEditCtrlWrapper_T() override;

  // ---- the window ----
  using ViewportBase::Create;
  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
              UINT nID, CCreateContext* pContext = nullptr) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // The controller sees the window's messages first as a plug-in of the window; the rest go to
  // the view's map.
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
    return WndBase::OnWndMsg(message, wParam, lParam, pResult);
  }
  // The view, then the document, then the controller.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
    return WndBase::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }
  BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE) override;
  DROPEFFECT OnDragEnter(COleDataObject* pData, DWORD dwKeyState, CPoint point) override;
  DROPEFFECT OnDragOver(COleDataObject* pData, DWORD dwKeyState, CPoint point) override;
  void OnDragLeave() override;
  BOOL OnDrop(COleDataObject* pData, DROPEFFECT dropEffect, CPoint point) override;
  void OnInitialUpdate() override;

  // ---- the viewport's faces ----
  void UpdateScrollBars() override;

  // ---- the wrapper's own operations ----
  virtual int GetLineHeight() { return ViewportBase::GetLineHeight(); }
  virtual int GetCharWidth() { return ViewportBase::GetCharWidth(); }
  virtual BOOL AllowScrollBarHiding() { return FALSE; }
  virtual COleDropTarget* CreateDropTarget(BOOL* pOwn);
  virtual void RegisterDropTarget();
  // The model the view shows; a derived view supplies it.
  virtual SECEdit* GetViewModel() { return nullptr; }

 protected:
  // Scroll units of either bar: first visible unit, the greatest it may be, units visible.
  struct Units {
    int unit, pos, last, page;
  };
  Units GetUnits(bool vertical);
  // Moves the origin by delta units and the picture with it (horizontally the text area only).
  void ScrollByUnits(bool vertical, int delta);
  BOOL OnCreateWindow(LPCREATESTRUCT lpcs);
  void OnSizeWindow(UINT nType, int cx, int cy);
  void OnScrollBar(bool vertical, UINT nSBCode);

  COleDropTarget* m_pDropTarget = nullptr;
  BOOL m_bOwnsDropTarget = TRUE;
  CRect m_rcLastClient{0, 0, 0, 0};
  BOOL m_bScrolling = FALSE;
  CSplitterWnd* m_pSplitter = nullptr;
  int m_nPaneRow = 0;
  int m_nPaneCol = 0;
};

template <class WndBase, class ViewportBase>
class SECEditViewWrapper_T : public SECEditCtrlWrapper_T<WndBase, ViewportBase> {};

class SECEditView : public SECEditViewWrapper_T<CView, SECEditViewport> {
  DECLARE_DYNCREATE(SECEditView)

 public:
  SECEditView() = default;
  ~SECEditView() override = default;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void OnInitialUpdate() override;
  // The framework's update: the whole view is repainted.
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
  void OnDraw(CDC*) override {}
  void Serialize(CArchive&) override {}
  // Keeps panes of a splitter in step: the active pane's origin is told to the other views.
  CPoint SetLogOrigin(int x, int y) override;
  // The splitter notice, then the viewport's reaction to the model.
  void OnUpdate(kelpwood::foundation::ISubject* subject, kelpwood::foundation::IMessage* msg) override;

  // ---- printing (editor/print/SECEditViewPrint.cpp): the text in rows, with a header and a footer ----
  BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
  void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
  void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
  void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
  // The printed rows; a derived view may end pages early.
  virtual void Paginate(CDC* pDC);
  // The title in the printed page's header: the document's title.
  virtual CString GetPrintTitle();
  SECEditPrinter* GetPrinter() { return &m_printer; }

 protected:
  // The printer asks the view for the rows, so a derived view's Paginate takes part.
  class ViewPrinter : public SECEditPrinter {
   public:
    explicit ViewPrinter(SECEditView* view) : m_pView(view) {}
    void Paginate(CDC* pDC) override;
    void PaginateText(CDC* pDC) { SECEditPrinter::Paginate(pDC); }

   private:
    SECEditView* m_pView;
  };
  ViewPrinter m_printer{this};

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnPaint();
  afx_msg void OnFilePrint() { CView::OnFilePrint(); }
  afx_msg void OnFilePrintPreview() { CView::OnFilePrintPreview(); }
  DECLARE_MESSAGE_MAP()

 private:
  // The splitter the view is a pane of and its place there (null when none).
  void FindSplitter();
};
