// CClassHirView: the scroll view of a picture window. It names the document's newly loaded
// picture in the title at its next paint, draws it centred or from the top-left at zoom levels
// from -50 to 50 through an off-screen buffer, scrolls with the keys, prints it at its size on
// screen, and reports the picture's size in a status pane.
#pragma once

#include "afx/CScrollView.h"
#include "app/CClassHitDoc.h"

class CClassHirView : public CScrollView {
  DECLARE_DYNCREATE(CClassHirView)

 public:
  // Where and how big the picture is drawn for a zoom level in a client area.
  struct Placement {
    int nMarginX = 0, nMarginY = 0;
    int nDrawnWidth = 0, nDrawnHeight = 0;
    BOOL bMagnified = FALSE;  // (z + 1) times the natural size; else stretched into the drawn size
  };
  static Placement PlacePicture(int nWidth, int nHeight, int nRight, int nBottom, int nZoom);

  CClassHitDoc* GetDocument() const { return static_cast<CClassHitDoc*>(m_pDocument); }
  int GetZoom() const { return m_nZoom; }
  const Placement& GetPlacement() const { return m_placement; }
  // " %4d x %4d (%dKb) ": the picture's width, height and file size.
  CString GetSizeText() const;

  void OnDraw(CDC* pDC) override;
  void OnInitialUpdate() override;

  static constexpr int kMaxZoom = 50;

 protected:
  BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnZoomIn();
  afx_msg void OnZoomOut();
  afx_msg void OnUpdatePictureSize(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  void DrawPicture(CDC* pDC);
  // On paper the picture has its size on screen (its pixels at the screen's 96 per inch), shrunk
  // to fit the page's printable area when it is larger, from the area's top-left corner.
  void PrintPicture(CDC* pDC);
  // The zoom commands' answer while the picture is stretched over the window.
  BOOL RefuseZoomWhenFitted();

  Placement m_placement;
  int m_nZoom = 0;
  int m_nStep = 200;
  BOOL m_bFitToScreen = FALSE;
  BOOL m_bFirstPaint = TRUE;
  CString m_strTitle;
  CRect m_rcClient;
};
