// The picture view.
#include "app/CClassHirView.h"

#include <algorithm>

#include "afx/CWinApp.h"
#include "resources/AppResource.h"

IMPLEMENT_DYNCREATE(CClassHirView, CScrollView)

BEGIN_MESSAGE_MAP(CClassHirView, CScrollView)
  ON_WM_ERASEBKGND()
  ON_WM_KEYDOWN()
  ON_COMMAND(ID_VIEW_ZOOMIN, OnZoomIn)
  ON_COMMAND(ID_VIEW_ZOOMOUT, OnZoomOut)
  ON_COMMAND(ID_FILE_PRINT, CScrollView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_DIRECT, CScrollView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_PREVIEW, CScrollView::OnFilePrintPreview)
  ON_UPDATE_COMMAND_UI(ID_INDICATOR_PICTURE, OnUpdatePictureSize)
END_MESSAGE_MAP()

CClassHirView::Placement CClassHirView::PlacePicture(int nWidth, int nHeight, int nRight, int nBottom, int nZoom) {
  Placement placement;
  placement.nMarginX = nRight - nWidth > 0 ? (nRight - nWidth) / 2 : 0;
  placement.nMarginY = nBottom - nHeight > 0 ? (nBottom - nHeight) / 2 : 0;
  if ((nZoom + 1) * nWidth + placement.nMarginX > nRight) {
    placement.nMarginX = (nRight - (nZoom + 1) * nWidth) / 2;
    placement.nMarginY = (nBottom - (nZoom + 1) * nHeight) / 2;
  }
  if (nZoom >= 0) {
    placement.bMagnified = TRUE;
    placement.nDrawnWidth = (nZoom + 1) * nWidth - 2;
    placement.nDrawnHeight = (nZoom + 1) * nHeight - 2;
    if (nRight - placement.nDrawnWidth <= 0) placement.nMarginX = 0;
    if (nBottom - placement.nDrawnHeight <= 0) placement.nMarginY = 0;
    return placement;
  }
  const int nDivisor = 1 - nZoom;
  placement.nDrawnWidth = nWidth / nDivisor;
  placement.nDrawnHeight = nHeight / nDivisor;
  placement.nMarginX = nRight - placement.nDrawnWidth > 1 ? (nRight - placement.nDrawnWidth) / 2 : 0;
  placement.nMarginY = nBottom - placement.nDrawnHeight > 1 ? (nBottom - placement.nDrawnHeight) / 2 : 0;
  return placement;
}

CString CClassHirView::GetSizeText() const {
  const CPicture& picture = GetDocument()->m_Picture;
  CString strText;
  strText.Format(" %4d x %4d (%dKb) ", picture.GetWidth(), picture.GetHeight(), picture.GetFileSize() / 1024);
  return strText;
}

BOOL CClassHirView::OnEraseBkgnd(CDC*) { return TRUE; }

void CClassHirView::OnDraw(CDC* pDC) {
  if (pDC->IsPrinting()) {
    PrintPicture(pDC);
    return;
  }
  // On screen the picture is drawn off screen first, so scrolling and zooming never flicker.
  CRect clip;
  pDC->GetClipBox(&clip);
  if (clip.IsRectEmpty()) return;
  CDC memory;
  CBitmap buffer;
  if (!memory.CreateCompatibleDC(pDC) || !buffer.CreateCompatibleBitmap(pDC, clip.Width(), clip.Height())) {
    DrawPicture(pDC);
    return;
  }
  CBitmap* pOld = memory.SelectObject(&buffer);
  memory.SetWindowOrg(clip.left, clip.top);
  DrawPicture(&memory);
  pDC->BitBlt(clip.left, clip.top, clip.Width(), clip.Height(), &memory, clip.left, clip.top, SRCCOPY);
  memory.SelectObject(pOld);
}

void CClassHirView::DrawPicture(CDC* pDC) {
  CRect clip;
  pDC->GetClipBox(&clip);
  pDC->FillSolidRect(&clip, RGB(255, 255, 255));
  CClassHitDoc* pDoc = GetDocument();
  if (!pDoc->m_strPendingPath.IsEmpty()) {
    m_nZoom = 0;
    m_bFitToScreen = FALSE;
    const CString strPath = pDoc->m_strPendingPath;
    const int nSeparator = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
    m_strTitle = nSeparator >= 0 ? strPath.Mid(nSeparator + 1) : CString();
    pDoc->SetTitle(m_strTitle);
    pDoc->m_strPendingPath.Empty();
  } else if (m_bFirstPaint) {
    if (m_strTitle.IsEmpty()) {
      pDoc->SetTitle("Default");
      Invalidate();
    }
    m_bFirstPaint = FALSE;
  }
  GetClientRect(&m_rcClient);
  CPicture& picture = pDoc->m_Picture;
  picture.MeasureOnDC(pDC);
  if (m_bFitToScreen) {
    m_placement = Placement();
    picture.Draw(pDC, m_rcClient);
  } else {
    m_placement = PlacePicture(picture.GetWidth(), picture.GetHeight(), m_rcClient.right, m_rcClient.bottom, m_nZoom);
    if (m_placement.bMagnified)
      picture.DrawMagnified(pDC, m_placement.nMarginX, m_placement.nMarginY, picture.GetWidth(), picture.GetHeight(),
                            m_nZoom, m_nZoom);
    else
      picture.Draw(pDC, CRect(CPoint(m_placement.nMarginX, m_placement.nMarginY),
                              CSize(m_placement.nDrawnWidth, m_placement.nDrawnHeight)));
  }
  // The scroll sizes follow the drawn size; setting them again unchanged would only repaint.
  const CSize total(std::max(m_placement.nDrawnWidth, 0), std::max(m_placement.nDrawnHeight, 0));
  if (!pDC->IsPrinting() && total != GetTotalSize()) SetScrollSizes(MM_TEXT, total);
}

void CClassHirView::PrintPicture(CDC* pDC) {
  CPicture& picture = GetDocument()->m_Picture;
  if (!picture.MeasureOnDC(pDC)) return;
  constexpr int kScreenDpi = 96;
  double width = static_cast<double>(picture.GetWidth()) * pDC->GetDeviceCaps(LOGPIXELSX) / kScreenDpi;
  double height = static_cast<double>(picture.GetHeight()) * pDC->GetDeviceCaps(LOGPIXELSY) / kScreenDpi;
  const int nPageWidth = pDC->GetDeviceCaps(HORZRES), nPageHeight = pDC->GetDeviceCaps(VERTRES);
  if (width <= 0 || height <= 0 || nPageWidth <= 0 || nPageHeight <= 0) return;
  const double shrink = std::min({1.0, nPageWidth / width, nPageHeight / height});
  width *= shrink;
  height *= shrink;
  const CSize size(std::max(1, static_cast<int>(width + 0.5)), std::max(1, static_cast<int>(height + 0.5)));
  picture.Draw(pDC, CRect(CPoint(0, 0), size));
}

void CClassHirView::OnInitialUpdate() {
  CScrollView::OnInitialUpdate();
  const CPicture& picture = GetDocument()->m_Picture;
  SetScrollSizes(MM_TEXT, CSize(picture.GetWidth() > 0 ? picture.GetWidth() : 100,
                                picture.GetHeight() > 0 ? picture.GetHeight() : 100));
}

BOOL CClassHirView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

BOOL CClassHirView::RefuseZoomWhenFitted() {
  if (!m_bFitToScreen) return FALSE;
  brambolt::afx::GetMessageBoxPresenter()(
      m_hWnd, "You are on a\"Fit to screen\" mode\t\nPlease switch to a normal (1:1) aspect ratio\t", "Attention",
      MB_OK | MB_ICONINFORMATION);
  return TRUE;
}

void CClassHirView::OnZoomIn() {
  if (RefuseZoomWhenFitted() || m_nZoom >= kMaxZoom) return;
  ++m_nZoom;
  Invalidate();
}

void CClassHirView::OnZoomOut() {
  if (RefuseZoomWhenFitted() || m_nZoom <= -kMaxZoom) return;
  --m_nZoom;
  Invalidate();
}

void CClassHirView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  const CPoint position = GetScrollPosition();
  switch (nChar) {
    case VK_ADD:
      OnZoomIn();
      break;
    case VK_SUBTRACT:
      OnZoomOut();
      break;
    case VK_END:
      ScrollToPosition(CPoint(position.x, (m_nZoom + 1) * GetDocument()->m_Picture.GetHeight()));
      break;
    case VK_HOME:
      ScrollToPosition(CPoint(position.x, 0));
      break;
    case VK_LEFT:
      ScrollToPosition(CPoint(position.x - m_nStep, position.y));
      break;
    case VK_UP:
      ScrollToPosition(CPoint(position.x, position.y - m_nStep));
      break;
    case VK_RIGHT:
      // A picture centred across the window has nowhere to scroll.
      if (m_placement.nMarginX == 0) ScrollToPosition(CPoint(position.x + m_nStep, position.y));
      break;
    case VK_DOWN:
      if (m_placement.nMarginY == 0) ScrollToPosition(CPoint(position.x, position.y + m_nStep));
      break;
    default:
      break;
  }
  CScrollView::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CClassHirView::OnUpdatePictureSize(CCmdUI* pCmdUI) { pCmdUI->SetText(GetSizeText()); }
