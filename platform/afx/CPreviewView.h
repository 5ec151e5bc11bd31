// CPreviewView: print preview in place of a frame's view. Pages are printed by the view into a
// printer DC that only records, and each recorded page is replayed scaled onto the screen, one
// or two side by side or zoomed in, with the preview toolbar above.
#pragma once

#include <map>
#include <memory>

#include "afx/CDC.h"
#include "afx/CView.h"
#include "gdi/PageRecord.h"

class CPrintInfo;
struct CPrintPreviewState;

class CPreviewView : public CView {
  DECLARE_DYNCREATE(CPreviewView)

 public:
  CPreviewView();
  ~CPreviewView() override;

  enum { ZOOM_OUT = 0, ZOOM_MIDDLE = 1, ZOOM_IN = 2 };

  // Starts previewing pPrintView: FALSE when it will not print (its OnPreparePrinting said no).
  BOOL SetPrintView(CView* pPrintView);
  // Zooms to nNewState keeping `point` (client coordinates) of page nPage where it is.
  void SetZoomState(UINT nNewState, UINT nPage, CPoint point);
  void SetCurrentPage(UINT nPage, BOOL bClearRatios);
  // Shows "Page n" or "Pages n-m" in the frame's status line; the frame shows it again whenever
  // its status line returns to rest during the preview.
  virtual void OnDisplayPageNumber(UINT nPage, UINT nPagesDisplayed);
  // The last text OnDisplayPageNumber showed.
  const CString& GetPageText() const { return m_strPageText; }
  void OnDraw(CDC* pDC) override;

  UINT GetZoomState() const { return m_nZoomState; }
  UINT GetCurrentPage() const { return m_nCurrentPage; }
  // Pages shown side by side: 1 or 2 when zoomed out, 1 when zoomed in.
  UINT GetPagesShown() const { return m_nPages; }
  // Where page i (0 or 1) of those shown lies in the client area.
  CRect GetPageRect(UINT index) const;

  CPrintPreviewState* m_pPreviewState = nullptr;  // the preview's: deleted with it
  CWnd* m_pToolBar = nullptr;                     // the preview toolbar, destroyed on close
  CView* m_pPrintView = nullptr;                  // the view whose pages are shown
  CView* m_pOrigView = nullptr;                   // the view preview was started from
  CView* m_pViewActiveOld = nullptr;              // the frame's active view before
  CPrintInfo* m_pPreviewInfo = nullptr;
  UINT m_nZoomOutPages = 1;  // pages side by side when zoomed out
  UINT m_nZoomState = ZOOM_OUT;
  UINT m_nPages = 1;
  UINT m_nCurrentPage = 1;
  CString m_strPageText;

  // Ends preview: the frame is given back to the view as it was.
  afx_msg void OnPreviewClose();

 protected:
  afx_msg void OnNextPage();
  afx_msg void OnPrevPage();
  afx_msg void OnPreviewPrint();
  afx_msg void OnNumPageChange();
  afx_msg void OnZoomIn();
  afx_msg void OnZoomOut();
  afx_msg void OnUpdateNextPage(CCmdUI* pCmdUI);
  afx_msg void OnUpdatePrevPage(CCmdUI* pCmdUI);
  afx_msg void OnUpdateNumPageChange(CCmdUI* pCmdUI);
  afx_msg void OnUpdateZoomIn(CCmdUI* pCmdUI);
  afx_msg void OnUpdateZoomOut(CCmdUI* pCmdUI);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  DECLARE_MESSAGE_MAP()

 private:
  // The recorded page, printed on first use; null past the document's end.
  const brambolt::PageRecord* Page(UINT nPage);
  bool PageExists(UINT nPage) { return Page(nPage) != nullptr; }
  // Screen pixels per printer pixel for a zoom state.
  double Scale(UINT nZoomState) const;
  void UpdateScrollBars();
  void ScrollBy(int dx, int dy);
  // The last page, or while the document has not said where it ends, one past those shown.
  UINT LastPageKnown() const;
  // The first or the last page (or pages), at their top.
  void ShowFirstPage();
  void ShowLastPage();

  CDC m_dcPrint;  // a printer DC with the printer's metrics that records only
  std::map<UINT, std::shared_ptr<const brambolt::PageRecord>> m_pages;
  UINT m_nLastPage = 0xFFFF;  // the document's last page once known
  CSize m_sizePaper;          // printer pixels
  CPoint m_offsetPrintable;   // printer pixels
  CSize m_sizePrintable;
  CPoint m_scroll;            // zoomed in: the client's top left in the zoomed layout
};
