// The drop edit's button: its room in the non-client area, painting (embossed when disabled),
// pressing and tracking it with the mouse, and the keys that drop down.
#include "extracontrols/SECDropEdit.h"

#include "foundation/SECSysColors.h"
#include "widgets/SECLoadSysColorBitmap.h"
#include "widgets/WidgetDrawing.h"

IMPLEMENT_DYNAMIC(SECDropEdit, CEdit)

BEGIN_MESSAGE_MAP(SECDropEdit, CEdit)
  ON_WM_NCCALCSIZE()
  ON_WM_NCPAINT()
  ON_WM_NCHITTEST()
  ON_WM_NCLBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_CANCELMODE()
  ON_WM_MOVE()
  ON_WM_ENABLE()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_KEYDOWN()
  ON_WM_SYSKEYDOWN()
END_MESSAGE_MAP()

namespace {

constexpr UINT kFrameChanged = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED;

}  // namespace

BOOL SECDropEdit::SetBitmap(UINT nIDBitmap, BOOL bRight) {
  m_nBitmapID = nIDBitmap;
  if (!kelpwood::foundation::SECLoadSysColorBitmap(&m_bitmap, MAKEINTRESOURCE(nIDBitmap))) return FALSE;
  m_wState = static_cast<WORD>(bRight ? (m_wState | RightAlign) : (m_wState & ~RightAlign));
  if (m_hWnd != nullptr) SetWindowPos(nullptr, 0, 0, 0, 0, kFrameChanged);
  return TRUE;
}

int SECDropEdit::ButtonWidth() const {
  if (!HasButton()) return 0;
  BITMAP bm{};
  const_cast<CBitmap&>(m_bitmap).GetBitmap(&bm);
  return bm.bmWidth + m_wLeftMargin + m_wRightMargin + 4;
}

void SECDropEdit::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
  const RECT window = lpncsp->rgrc[0];
  Default();
  RECT& client = lpncsp->rgrc[0];
  const int width = ButtonWidth();
  if (width == 0 || client.right - client.left <= width) {
    ::SetRectEmpty(&m_rcButton);
    return;
  }
  if ((m_wState & RightAlign) != 0) {
    client.right -= width;
    m_rcButton = {client.right - window.left, client.top - window.top, client.right + width - window.left,
                  client.bottom - window.top};
  } else {
    m_rcButton = {client.left - window.left, client.top - window.top, client.left + width - window.left,
                  client.bottom - window.top};
    client.left += width;
  }
}

void SECDropEdit::DrawButton(CDC* pDC, const CRect& rect) {
  const bool bPressed = (m_wState & Pressed) != 0;
  pDC->FillSolidRect(rect, ::GetSysColor(COLOR_BTNFACE));
  CRect edge = rect;
  pDC->DrawEdge(edge, bPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  BITMAP bm{};
  m_bitmap.GetBitmap(&bm);
  CDC memDC;
  if (!memDC.CreateCompatibleDC(pDC)) return;
  CBitmap image;
  if (!image.CreateCompatibleBitmap(pDC, bm.bmWidth, bm.bmHeight)) return;
  CBitmap* pOldImage = memDC.SelectObject(&image);
  CDC bitmapDC;
  bitmapDC.CreateCompatibleDC(pDC);
  CBitmap* pOldBitmap = bitmapDC.SelectObject(&m_bitmap);
  memDC.BitBlt(0, 0, bm.bmWidth, bm.bmHeight, &bitmapDC, 0, 0, SRCCOPY);
  bitmapDC.SelectObject(pOldBitmap);
  if (!IsWindowEnabled()) widgets::Emboss(&memDC, bm.bmWidth, bm.bmHeight, {::GetSysColor(COLOR_BTNFACE)},
                                          CPoint(1, 1), CPoint(0, 0));
  const int offset = bPressed ? 1 : 0;
  const int x = rect.left + (rect.Width() - bm.bmWidth) / 2 + offset;
  const int y = rect.top + (rect.Height() - bm.bmHeight) / 2 + offset;
  pDC->BitBlt(x, y, bm.bmWidth, bm.bmHeight, &memDC, 0, 0, SRCCOPY);
  memDC.SelectObject(pOldImage);
}

void SECDropEdit::OnNcPaint() {
  Default();
  if (!HasButton() || ::IsRectEmpty(&m_rcButton)) return;
  CWindowDC dc(this);
  const CRect button = m_rcButton;
  CDC memDC;
  CBitmap bitmap;
  if (!memDC.CreateCompatibleDC(&dc) || !bitmap.CreateCompatibleBitmap(&dc, button.Width(), button.Height())) {
    DrawButton(&dc, button);
    return;
  }
  CBitmap* pOld = memDC.SelectObject(&bitmap);
  DrawButton(&memDC, CRect(0, 0, button.Width(), button.Height()));
  dc.BitBlt(button.left, button.top, button.Width(), button.Height(), &memDC, 0, 0, SRCCOPY);
  memDC.SelectObject(pOld);
}

BOOL SECDropEdit::HitTest(int x, int y, BOOL bClientCoordinates) {
  CPoint point(x, y);
  if (bClientCoordinates) ClientToScreen(&point);
  CRect window;
  GetWindowRect(&window);
  point.Offset(-window.left, -window.top);
  return ::PtInRect(&m_rcButton, point);
}

UINT SECDropEdit::OnNcHitTest(CPoint point) {
  const UINT hit = static_cast<UINT>(Default());
  return hit == HTNOWHERE && HitTest(point.x, point.y, FALSE) ? HTBORDER : hit;
}

void SECDropEdit::RedrawButton() {
  SendMessage(WM_NCPAINT, 1, 0);
}

void SECDropEdit::OnNcLButtonDown(UINT, CPoint point) {
  if (HasButton() && HitTest(point.x, point.y, FALSE) && (m_wState & Pressed) == 0) {
    m_wState |= Pressed | Captured;
    RedrawButton();
    SetCapture();
    return;
  }
  Default();
}

void SECDropEdit::OnMouseMove(UINT, CPoint point) {
  if ((m_wState & Captured) == 0) {
    Default();
    return;
  }
  const bool bOn = HitTest(point.x, point.y, TRUE) != FALSE;
  if (bOn == ((m_wState & Pressed) != 0)) return;
  m_wState = static_cast<WORD>(bOn ? (m_wState | Pressed) : (m_wState & ~Pressed));
  RedrawButton();
}

void SECDropEdit::EndPress() {
  m_wState &= static_cast<WORD>(~(Pressed | Captured));
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  RedrawButton();
}

void SECDropEdit::OnLButtonUp(UINT, CPoint point) {
  if ((m_wState & Captured) == 0) {
    Default();
    return;
  }
  EndPress();
  if (HitTest(point.x, point.y, TRUE)) OnClicked();
}

void SECDropEdit::OnCancelMode() {
  if ((m_wState & Captured) != 0) EndPress();
  Default();
}

void SECDropEdit::OnMove(int, int) {
  Default();
  SetWindowPos(nullptr, 0, 0, 0, 0, kFrameChanged);
}

void SECDropEdit::OnEnable(BOOL) {
  Default();
  if (HasButton()) RedrawButton();
}

void SECDropEdit::OnSysColorChange() {
  SECGetSysColors().Refresh();
  if (m_nBitmapID != 0) kelpwood::foundation::SECLoadSysColorBitmap(&m_bitmap, MAKEINTRESOURCE(m_nBitmapID));
  SetWindowPos(nullptr, 0, 0, 0, 0, kFrameChanged);
  Default();
}

void SECDropEdit::OnKeyDown(UINT nChar, UINT, UINT) {
  if (nChar == VK_F4) OnClicked();
  else Default();
}

void SECDropEdit::OnSysKeyDown(UINT nChar, UINT, UINT) {
  if (nChar == VK_DOWN) OnClicked();
  else Default();
}
