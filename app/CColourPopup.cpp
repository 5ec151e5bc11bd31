// The colour popup: layout, painting, hot-tracking, keys and the end of a choice.
#include "app/CColourPopup.h"

#include <algorithm>

#include "afx/CColorDialog.h"
#include "afx/CWinApp.h"
#include "afx/WindowDCs.h"
#include "controls/ColorDialog.h"
#include "win/WinSystem.h"

namespace {

struct NamedColour {
  COLORREF crColour;
  const char* szName;
};

const NamedColour kColourTable[CColourPopup::kColours] = {
    {RGB(0, 0, 0), "Black"},
    {RGB(165, 42, 0), "Brown"},
    {RGB(0, 64, 64), "Dark Olive Green"},
    {RGB(0, 85, 0), "Dark Green"},
    {RGB(0, 0, 94), "Dark Teal"},
    {RGB(0, 0, 139), "Dark blue"},
    {RGB(75, 0, 130), "Indigo"},
    {RGB(40, 40, 40), "Dark grey"},
    {RGB(139, 0, 0), "Dark red"},
    {RGB(255, 104, 32), "Orange"},
    {RGB(139, 139, 0), "Dark yellow"},
    {RGB(0, 147, 0), "Green"},
    {RGB(56, 142, 142), "Teal"},
    {RGB(0, 0, 255), "Blue"},
    {RGB(123, 123, 192), "Blue-grey"},
    {RGB(102, 102, 102), "Grey - 40"},
    {RGB(255, 0, 0), "Red"},
    {RGB(255, 173, 91), "Light orange"},
    {RGB(50, 205, 50), "Lime"},
    {RGB(60, 179, 113), "Sea green"},
    {RGB(127, 255, 212), "Aqua"},
    {RGB(125, 158, 192), "Light blue"},
    {RGB(128, 0, 128), "Violet"},
    {RGB(127, 127, 127), "Grey - 50"},
    {RGB(255, 192, 203), "Pink"},
    {RGB(255, 215, 0), "Gold"},
    {RGB(255, 255, 0), "Yellow"},
    {RGB(0, 255, 0), "Bright green"},
    {RGB(64, 224, 208), "Turquoise"},
    {RGB(192, 255, 255), "Skyblue"},
    {RGB(72, 0, 72), "Plum"},
    {RGB(192, 192, 192), "Light grey"},
    {RGB(255, 228, 225), "Rose"},
    {RGB(210, 180, 140), "Tan"},
    {RGB(255, 255, 224), "Light yellow"},
    {RGB(152, 251, 152), "Pale green "},
    {RGB(175, 238, 238), "Pale turquoise"},
    {RGB(104, 131, 139), "Pale blue"},
    {RGB(230, 230, 250), "Lavender"},
    {RGB(255, 255, 255), "White"},
};

constexpr int kLast = CColourPopup::kColours - 1;

}  // namespace

BEGIN_MESSAGE_MAP(CColourPopup, CWnd)
  ON_WM_PAINT()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_KEYDOWN()
  ON_WM_ACTIVATEAPP()
  ON_WM_KILLFOCUS()
  ON_WM_QUERYNEWPALETTE()
  ON_WM_PALETTECHANGED()
END_MESSAGE_MAP()

COLORREF CColourPopup::GetColour(int nIndex) {
  return nIndex >= 0 && nIndex < kColours ? kColourTable[nIndex].crColour : CLR_DEFAULT;
}

LPCTSTR CColourPopup::GetColourName(int nIndex) {
  return nIndex >= 0 && nIndex < kColours ? kColourTable[nIndex].szName : "";
}

int CColourPopup::FindChosenIndex(COLORREF crColour, BOOL bDefaultBox, BOOL bCustomBox) {
  if (crColour == CLR_DEFAULT && bDefaultBox) return DEFAULT_BOX_VALUE;
  for (int i = 0; i < kColours; ++i)
    if (kColourTable[i].crColour == crColour) return i;
  return bCustomBox ? CUSTOM_BOX_VALUE : INVALID_COLOUR;
}

int CColourPopup::NextIndex(int nIndex, UINT nKey, BOOL bDefaultBox, BOOL bCustomBox) {
  // The box to go to after the last cell (or before the first), in the order the keys prefer.
  auto afterLast = [&] { return bCustomBox ? CUSTOM_BOX_VALUE : bDefaultBox ? DEFAULT_BOX_VALUE : 0; };
  auto beforeFirst = [&] { return bDefaultBox ? DEFAULT_BOX_VALUE : bCustomBox ? CUSTOM_BOX_VALUE : kLast; };
  const bool bCell = nIndex >= 0 && nIndex < kColours;
  switch (nKey) {
    case VK_DOWN:
      if (nIndex == CUSTOM_BOX_VALUE) return bDefaultBox ? DEFAULT_BOX_VALUE : 0;
      if (!bCell) return 0;
      return nIndex + kColumns < kColours ? nIndex + kColumns : afterLast();
    case VK_RIGHT:
      if (nIndex == CUSTOM_BOX_VALUE) return bDefaultBox ? DEFAULT_BOX_VALUE : 0;
      if (!bCell) return 0;
      return nIndex < kLast ? nIndex + 1 : afterLast();
    case VK_UP:
      if (nIndex == DEFAULT_BOX_VALUE) return bCustomBox ? CUSTOM_BOX_VALUE : kLast;
      if (!bCell) return kLast;
      return nIndex >= kColumns ? nIndex - kColumns : beforeFirst();
    case VK_LEFT:
      if (nIndex == DEFAULT_BOX_VALUE) return bCustomBox ? CUSTOM_BOX_VALUE : kLast;
      if (!bCell) return kLast;
      return nIndex > 0 ? nIndex - 1 : beforeFirst();
    default:
      return nIndex;
  }
}

CRect CColourPopup::PlaceWindow(CPoint p, CSize size, const CRect& rcScreen, int nButtonHeight) {
  CRect rect(p, size);
  if (rect.right > rcScreen.right) rect.OffsetRect(rcScreen.right - rect.right, 0);
  if (rect.left < rcScreen.left) rect.OffsetRect(rcScreen.left - rect.left, 0);
  if (rect.bottom > rcScreen.bottom) rect.OffsetRect(0, -(rect.Height() + nButtonHeight));
  return rect;
}

CColourPopup::CColourPopup(CPoint p, COLORREF crColour, CWnd* pParentWnd, LPCTSTR szDefaultText,
                           LPCTSTR szCustomText) {
  Create(p, crColour, pParentWnd, szDefaultText, szCustomText);
}

void CColourPopup::Initialise() {
  const int nEdge = ::GetSystemMetrics(SM_CXEDGE);
  m_nMargin = nEdge;
  m_nBoxSize = 18 - 2 * nEdge - 2 < 5 ? 2 * nEdge + 7 : 18;
  NONCLIENTMETRICS metrics{};
  metrics.cbSize = sizeof metrics;
  LOGFONT lf{};
  if (::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    lf = metrics.lfMessageFont;
  else
    ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  m_Font.CreateFontIndirect(&lf);
  // A palette of the table, so the cells show their real colours on palette displays.
  std::vector<BYTE> buffer(sizeof(LOGPALETTE) + kColours * sizeof(PALETTEENTRY));
  auto* pPalette = reinterpret_cast<LOGPALETTE*>(buffer.data());
  pPalette->palVersion = 0x300;
  pPalette->palNumEntries = kColours;
  for (int i = 0; i < kColours; ++i) {
    pPalette->palPalEntry[i].peRed = GetRValue(kColourTable[i].crColour);
    pPalette->palPalEntry[i].peGreen = GetGValue(kColourTable[i].crColour);
    pPalette->palPalEntry[i].peBlue = GetBValue(kColourTable[i].crColour);
    pPalette->palPalEntry[i].peFlags = 0;
  }
  m_Palette.CreatePalette(pPalette);
}

BOOL CColourPopup::Create(CPoint p, COLORREF crColour, CWnd* pParentWnd, LPCTSTR szDefaultText,
                          LPCTSTR szCustomText) {
  m_pParent = pParentWnd;
  m_crColour = m_crInitialColour = crColour;
  m_strDefaultText = szDefaultText != nullptr ? szDefaultText : "";
  m_strCustomText = szCustomText != nullptr ? szCustomText : "";
  Initialise();
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_CLASSDC | CS_SAVEBITS | CS_HREDRAW | CS_VREDRAW,
                                          ::LoadCursor(nullptr, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
  if (!CreateEx(0, lpszClass, "", WS_VISIBLE | WS_POPUP, p.x, p.y, 100, 100,
                pParentWnd != nullptr ? pParentWnd->GetSafeHwnd() : nullptr, nullptr))
    return FALSE;
  SetWindowSize();
  CreateToolTips();
  m_nChosenColourSel = FindChosenIndex(crColour, !m_strDefaultText.IsEmpty(), !m_strCustomText.IsEmpty());
  m_nCurrentSel = m_nChosenColourSel;
  SetCapture();
  return TRUE;
}

CRect CColourPopup::GetCellRect(int nIndex) const {
  if (nIndex == CUSTOM_BOX_VALUE) return m_CustomTextRect;
  if (nIndex == DEFAULT_BOX_VALUE) return m_DefaultTextRect;
  if (nIndex < 0 || nIndex >= kColours) return CRect();
  const int nTop = m_strDefaultText.IsEmpty() ? 0 : m_DefaultTextRect.Height();
  const int nLeft = (nIndex % kColumns) * m_nBoxSize + m_nMargin;
  const int nRowTop = (nIndex / kColumns) * m_nBoxSize + m_nMargin + nTop;
  return CRect(nLeft, nRowTop, nLeft + m_nBoxSize, nRowTop + m_nBoxSize);
}

void CColourPopup::SetWindowSize() {
  // Text boxes as wide as the wider text, as high as the higher one.
  CSize textSize(0, 0);
  {
    CClientDC dc(this);
    CFont* pOldFont = dc.SelectObject(&m_Font);
    for (const CString* pText : {&m_strDefaultText, &m_strCustomText}) {
      if (pText->IsEmpty()) continue;
      const CSize extent = dc.GetTextExtent(*pText);
      textSize.cx = std::max(textSize.cx, extent.cx);
      textSize.cy = std::max(textSize.cy, extent.cy);
    }
    dc.SelectObject(pOldFont);
  }
  textSize.cx += 2 * m_nMargin;
  textSize.cy += 4 * m_nMargin + 2;
  const int nGridWidth = m_nNumColumns * m_nBoxSize + 2 * m_nMargin;
  const int nGridHeight = m_nNumRows * m_nBoxSize + 2 * m_nMargin;
  const int nWidth = std::max<int>(nGridWidth, textSize.cx);
  int nHeight = nGridHeight;
  m_DefaultTextRect.SetRectEmpty();
  m_CustomTextRect.SetRectEmpty();
  if (!m_strDefaultText.IsEmpty()) {
    m_DefaultTextRect.SetRect(m_nMargin, m_nMargin, nWidth - m_nMargin, m_nMargin + textSize.cy);
    nHeight += textSize.cy + 2 * m_nMargin;
  }
  if (!m_strCustomText.IsEmpty()) {
    m_CustomTextRect.SetRect(m_nMargin, nHeight, nWidth - m_nMargin, nHeight + textSize.cy);
    nHeight += textSize.cy + 2 * m_nMargin;
  }
  CRect rcButton;
  if (m_pParent != nullptr) m_pParent->GetWindowRect(&rcButton);
  CRect rcWindow;
  GetWindowRect(&rcWindow);
  const CRect rcScreen(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  m_WindowRect = PlaceWindow(rcWindow.TopLeft(), CSize(nWidth, nHeight), rcScreen, rcButton.Height());
  MoveWindow(&m_WindowRect, TRUE);
}

void CColourPopup::CreateToolTips() {
  if (!m_ToolTip.Create(this)) return;
  for (int i = 0; i < kColours; ++i) {
    const CRect rect = GetCellRect(i);
    m_ToolTip.AddTool(this, GetColourName(i), &rect, static_cast<UINT_PTR>(i + 1));
  }
}

BOOL CColourPopup::PreTranslateMessage(MSG* pMsg) {
  if (m_ToolTip.m_hWnd != nullptr) m_ToolTip.RelayEvent(pMsg);
  // The popup keeps the mouse until the choice ends, whoever took it meanwhile.
  if (m_hWnd != nullptr && !m_bChildWindowVisible && ::GetCapture() != m_hWnd) SetCapture();
  return CWnd::PreTranslateMessage(pMsg);
}

void CColourPopup::DrawCell(CDC* pDC, int nIndex) {
  const CRect rect = GetCellRect(nIndex);
  if (rect.IsRectEmpty()) return;
  const bool bHot = m_nCurrentSel == nIndex;
  const bool bChosen = m_nChosenColourSel == nIndex;
  if (nIndex == CUSTOM_BOX_VALUE || nIndex == DEFAULT_BOX_VALUE) {
    pDC->FillSolidRect(&rect, ::GetSysColor(bChosen ? COLOR_3DLIGHT : COLOR_BTNFACE));
    if (nIndex == CUSTOM_BOX_VALUE) {
      CRect line(rect.left, rect.top - m_nMargin, rect.right, rect.top - m_nMargin + 2);
      pDC->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
    }
    if (bHot || bChosen) {
      CRect edge = rect;
      pDC->DrawEdge(&edge, bHot ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
    }
    if (nIndex == DEFAULT_BOX_VALUE) {
      CRect frame = rect;
      frame.DeflateRect(m_nMargin + 1, m_nMargin + 1);
      CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
      pDC->FrameRect(&frame, &shadow);
    }
    CFont* pOldFont = pDC->SelectObject(&m_Font);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    CRect text = rect;
    pDC->DrawText(nIndex == CUSTOM_BOX_VALUE ? m_strCustomText : m_strDefaultText, &text,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SelectObject(pOldFont);
    return;
  }
  pDC->FillSolidRect(&rect, ::GetSysColor(bChosen && !bHot ? COLOR_3DHILIGHT : COLOR_BTNFACE));
  if (bHot || bChosen) {
    CRect edge = rect;
    pDC->DrawEdge(&edge, bHot ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
  }
  CPalette* pOldPalette = pDC->SelectPalette(&m_Palette, FALSE);
  pDC->RealizePalette();
  CRect swatch = rect;
  swatch.DeflateRect(m_nMargin + 1, m_nMargin + 1);
  CBrush brush(PALETTERGB(GetRValue(GetColour(nIndex)), GetGValue(GetColour(nIndex)), GetBValue(GetColour(nIndex))));
  CPen pen(PS_SOLID, 1, ::GetSysColor(COLOR_3DSHADOW));
  CBrush* pOldBrush = pDC->SelectObject(&brush);
  CPen* pOldPen = pDC->SelectObject(&pen);
  pDC->Rectangle(&swatch);
  pDC->SelectObject(pOldBrush);
  pDC->SelectObject(pOldPen);
  pDC->SelectPalette(pOldPalette, FALSE);
}

void CColourPopup::OnPaint() {
  CPaintDC dc(this);
  DrawCell(&dc, DEFAULT_BOX_VALUE);
  for (int i = 0; i < kColours; ++i) DrawCell(&dc, i);
  DrawCell(&dc, CUSTOM_BOX_VALUE);
  CRect rect;
  GetClientRect(&rect);
  dc.DrawEdge(&rect, EDGE_RAISED, BF_RECT);
}

int CColourPopup::IndexAt(CPoint point) const {
  if (m_CustomTextRect.PtInRect(point)) return CUSTOM_BOX_VALUE;
  if (m_DefaultTextRect.PtInRect(point)) return DEFAULT_BOX_VALUE;
  for (int i = 0; i < kColours; ++i)
    if (GetCellRect(i).PtInRect(point)) return i;
  return INVALID_COLOUR;
}

void CColourPopup::ChangeSelection(int nIndex) {
  const int nPrevious = m_nCurrentSel;
  m_nCurrentSel = nIndex;
  {
    CClientDC dc(this);
    DrawCell(&dc, nPrevious);
    DrawCell(&dc, m_nCurrentSel);
  }
  if (nIndex == CUSTOM_BOX_VALUE) {
    // The custom box shows no colour of its own: the button hears the one it started with.
    if (m_pParent != nullptr) m_pParent->SendMessage(CPN_SELCHANGE, static_cast<WPARAM>(m_crInitialColour), 0);
    return;
  }
  m_crColour = nIndex == DEFAULT_BOX_VALUE ? CLR_DEFAULT : GetColour(nIndex);
  if (m_pParent != nullptr) m_pParent->SendMessage(CPN_SELCHANGE, static_cast<WPARAM>(m_crColour), 0);
}

void CColourPopup::OnMouseMove(UINT nFlags, CPoint point) {
  const int nIndex = IndexAt(point);
  if (nIndex != INVALID_COLOUR && nIndex != m_nCurrentSel) ChangeSelection(nIndex);
  CWnd::OnMouseMove(nFlags, point);
}

void CColourPopup::OnLButtonUp(UINT nFlags, CPoint point) {
  CWnd::OnLButtonUp(nFlags, point);
  CPoint screen = point;
  ClientToScreen(&screen);
  EndSelection(m_WindowRect.PtInRect(screen) ? CPN_SELENDOK : CPN_SELENDCANCEL);
}

void CColourPopup::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  switch (nChar) {
    case VK_DOWN:
    case VK_UP:
    case VK_LEFT:
    case VK_RIGHT:
      ChangeSelection(NextIndex(m_nCurrentSel, nChar, !m_strDefaultText.IsEmpty(), !m_strCustomText.IsEmpty()));
      return;
    case VK_ESCAPE:
      m_crColour = m_crInitialColour;
      EndSelection(CPN_SELENDCANCEL);
      return;
    case VK_RETURN:
    case VK_SPACE:
      EndSelection(CPN_SELENDOK);
      return;
    default:
      CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
  }
}

void CColourPopup::OnActivateApp(BOOL bActive, DWORD dwThreadID) {
  CWnd::OnActivateApp(bActive, dwThreadID);
  if (!bActive) EndSelection(CPN_SELENDCANCEL);
}

void CColourPopup::OnKillFocus(CWnd* pNewWnd) {
  CWnd::OnKillFocus(pNewWnd);
  ReleaseCapture();
}

BOOL CColourPopup::OnQueryNewPalette() {
  Invalidate();
  return CWnd::OnQueryNewPalette();
}

void CColourPopup::OnPaletteChanged(CWnd* pFocusWnd) {
  CWnd::OnPaletteChanged(pFocusWnd);
  if (pFocusWnd == nullptr || pFocusWnd->GetSafeHwnd() != m_hWnd) Invalidate();
}

void CColourPopup::EndSelection(int nMessage) {
  // While the colour dialog is up, the popup waits for it: nothing else ends the choice.
  if (m_bChildWindowVisible || m_hWnd == nullptr) return;
  ReleaseCapture();
  if (nMessage == CPN_SELENDOK && m_nCurrentSel == CUSTOM_BOX_VALUE) {
    m_bChildWindowVisible = TRUE;
    CColorDialog dlg(m_crInitialColour, CC_FULLOPEN | CC_ANYCOLOR, this);
    if (dlg.DoModal() == IDOK)
      m_crColour = dlg.GetColor();
    else
      nMessage = CPN_SELENDCANCEL;
    m_bChildWindowVisible = FALSE;
  }
  if (nMessage == CPN_SELENDCANCEL) m_crColour = m_crInitialColour;
  CWnd* pParent = m_pParent;
  const COLORREF crColour = m_crColour;
  // Destroying the window deletes this object: nothing of it is touched afterwards.
  DestroyWindow();
  if (pParent != nullptr) pParent->SendMessage(nMessage, static_cast<WPARAM>(crColour), 0);
}
