// CView: a child window of a frame that shows a document.
#pragma once

#include "afx/CDocument.h"
#include "afx/CFrameWnd.h"
#include "afx/CMenu.h"

class CPrintInfo;
class CPreviewView;
class COleDataObject;
struct CPrintPreviewState;

// What a drop would do, as drop targets answer it.
typedef DWORD DROPEFFECT;
#define DROPEFFECT_NONE 0
#define DROPEFFECT_COPY 1
#define DROPEFFECT_MOVE 2
#define DROPEFFECT_LINK 4
#define DROPEFFECT_SCROLL 0x80000000

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
  // Before each paint and each printed page; while printing, pInfo says which page. Without a
  // known page count the default prints one page.
  virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
  virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
  virtual void OnActivateFrame(UINT, CFrameWnd*) {}
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  // Commands go to the view, then to its document.
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  // Scrolling: the codes of both bars in one word (low byte horizontal, high byte vertical, 0xFF
  // for none); the defaults scroll nothing and answer FALSE.
  virtual BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE);
  virtual BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE);
  // A pane of a splitter scrolls with the bars its splitter shares (CSplitterWnd.cpp).
  CScrollBar* GetScrollBarCtrl(int nBar) const override;

  // Drag and drop onto the view, called by its registered drop target. OnDropEx answers
  // (DROPEFFECT)-1 to have OnDrop called instead; OnDragScroll scrolls when the point is in the
  // inset along the client edges.
  virtual DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual void OnDragLeave();
  virtual BOOL OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
  virtual DROPEFFECT OnDropEx(COleDataObject* pDataObject, DROPEFFECT dropDefault, DROPEFFECT dropList, CPoint point);
  virtual DROPEFFECT OnDragScroll(DWORD dwKeyState, CPoint point);

  // ID_FILE_PRINT and ID_FILE_PRINT_DIRECT (no dialog), mapped by the application's views (so
  // public: message maps are built outside the class): the pages chosen go to the printer, or
  // to a PDF file for "Print to File".
  afx_msg void OnFilePrint();
  // ID_FILE_PRINT_PREVIEW: print preview in place of the view, in its top-level frame.
  afx_msg void OnFilePrintPreview();
  // Preview of pPrintView's pages by a preview view of pPreviewViewClass with the toolbar of
  // dialog template nIDResource; the preview owns pState from then on. FALSE when it could not
  // start.
  BOOL DoPrintPreview(UINT nIDResource, CView* pPrintView, CRuntimeClass* pPreviewViewClass,
                      CPrintPreviewState* pState);

  CDocument* m_pDocument = nullptr;

 protected:
  // Printing: OnPreparePrinting sets the page range and calls DoPreparePrinting (the print
  // dialog, or the default printer for preview and direct printing); OnBeginPrinting and
  // OnEndPrinting bracket the job; OnPrint draws one page (the default draws OnDraw).
  virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
  virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
  virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
  virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
  // Preview closes: the default ends printing and gives the frame back to the view.
  virtual void OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, CPreviewView* pView);
  BOOL DoPreparePrinting(CPrintInfo* pInfo);

  void PostNcDestroy() override;
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  // Next and previous pane go to the splitter the view is a pane of (CSplitterWnd.cpp).
  afx_msg BOOL OnNextPaneCmd(UINT nID);
  afx_msg BOOL OnSplitCmd(UINT nID);
  afx_msg void OnUpdateSplitCmd(CCmdUI* pCmdUI);
  afx_msg void OnUpdateNextPaneMenu(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

  friend class CDocument;
  friend class CPreviewView;  // prints the view's pages for preview
};
