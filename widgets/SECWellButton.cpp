// The colour-well button: the colour box and arrow it draws, its popup well, and the colour
// dialog behind the popup's "&Other..." button.
#include "widgets/SECWellButton.h"

namespace kelpwood::foundation {

IMPLEMENT_DYNAMIC(SECWellButton, SECOwnerDrawButton)

BEGIN_MESSAGE_MAP(SECWellButton, SECOwnerDrawButton)
  ON_MESSAGE(SEC_WM_COLORCHANGED, OnColorChanged)
  ON_MESSAGE(SEC_WM_OTHERCOLOR, OnOtherColor)
END_MESSAGE_MAP()

SECWellButton::SECWellButton() : m_pPopup(new SECPopupColorWell) { CreateButtonPalette(); }

SECWellButton::~SECWellButton() {
  if (m_pPopup->m_hWnd != nullptr) m_pPopup->DestroyWindow();
  delete m_pPopup;
}

void SECWellButton::CreateButtonPalette() {
  LOGPALETTE log{0x300, 1, {{GetRValue(m_clr), GetGValue(m_clr), GetBValue(m_clr), 0}}};
  m_palette.DeleteObject();
  m_palette.CreatePalette(&log);
}

void SECWellButton::SetColor(COLORREF clr) {
  m_clr = clr;
  PALETTEENTRY entry{GetRValue(clr), GetGValue(clr), GetBValue(clr), 0};
  if (m_palette.GetSafeHandle() != nullptr)
    ::SetPaletteEntries(static_cast<HPALETTE>(m_palette.GetSafeHandle()), 0, 1, &entry);
  if (m_hWnd != nullptr) Invalidate(FALSE);
}

void SECWellButton::OnClicked() {
  if (!m_pPopup->IsShown()) ShowPopup();
}

void SECWellButton::ShowPopup() {
  m_pPopup->Reset();
  CRect rc;
  GetWindowRect(&rc);
  if (!m_pPopup->CreatePopup(WS_VISIBLE, rc, GetParent(), m_bOtherButton)) return;
  m_pPopup->SetPaletteMode(m_bPaletteMode);
  m_pPopup->SetOwnerButton(this);
  m_pPopup->SetColor(m_clr);
}

void SECWellButton::PrepareDC(CDC* pDC, CDC* pMemDC) {
  if (!m_bPaletteMode) return;
  m_hOldPalette = ::SelectPalette(pDC->GetSafeHdc(), static_cast<HPALETTE>(m_palette.GetSafeHandle()), FALSE);
  ::RealizePalette(pDC->GetSafeHdc());
  if (pMemDC != nullptr) {
    m_hOldMemPalette = ::SelectPalette(pMemDC->GetSafeHdc(), static_cast<HPALETTE>(m_palette.GetSafeHandle()), FALSE);
    ::RealizePalette(pMemDC->GetSafeHdc());
  }
}

void SECWellButton::RestoreDC(CDC* pDC, CDC* pMemDC) {
  if (m_hOldPalette != nullptr) ::SelectPalette(pDC->GetSafeHdc(), m_hOldPalette, FALSE);
  if (pMemDC != nullptr && m_hOldMemPalette != nullptr) ::SelectPalette(pMemDC->GetSafeHdc(), m_hOldMemPalette, FALSE);
  m_hOldPalette = m_hOldMemPalette = nullptr;
}

void SECWellButton::DrawFocusRect(CDC* pDC, RECT* pRect) {
  CRect rc = *pRect;
  rc.DeflateRect(1, 1);
  pDC->DrawFocusRect(rc);
}

void SECWellButton::DrawContents(CDC* pDC, LPDRAWITEMSTRUCT pDIS, RECT* pRect) {
  const CRect rc = *pRect;
  // The arrow: 5 pixels wide, 3 high, pointing down, 7 pixels from the right edge.
  const int arrowRight = rc.right - 7, arrowLeft = arrowRight - 5;
  const int arrowTop = rc.top + (rc.Height() - 3) / 2;
  for (int row = 0; row < 3; ++row)
    pDC->FillSolidRect(arrowLeft + row, arrowTop + row, 5 - 2 * row, 1, RGB(0, 0, 0));
  const int separator = arrowLeft - 4;
  pDC->FillSolidRect(separator, rc.top + 1, 1, rc.Height() - 2, ::GetSysColor(COLOR_BTNSHADOW));
  pDC->FillSolidRect(separator + 1, rc.top + 1, 1, rc.Height() - 2, ::GetSysColor(COLOR_BTNHIGHLIGHT));
  if ((pDIS->itemState & ODS_DISABLED) != 0) return;
  CRect box(rc.left + 3, rc.top + 2, separator - 6, rc.bottom - 2);
  if (box.IsRectEmpty()) return;
  CBrush frame(RGB(0, 0, 0));
  pDC->FrameRect(box, &frame);
  box.DeflateRect(1, 1);
  pDC->FillSolidRect(box, m_bPaletteMode ? PALETTEINDEX(0) : m_clr);
}

void SECWellButton::TakeColor(COLORREF clr) {
  SetColor(clr);
  if (CWnd* pParent = GetParent(); pParent != nullptr)
    pParent->SendMessage(SEC_WM_COLORCHANGED, static_cast<WPARAM>(GetDlgCtrlID()), static_cast<LPARAM>(clr));
}

LRESULT SECWellButton::OnColorChanged(WPARAM, LPARAM lParam) {
  TakeColor(static_cast<COLORREF>(lParam));
  return 0;
}

LRESULT SECWellButton::OnOtherColor(WPARAM, LPARAM) {
  COLORREF clr = m_clr;
  if (SECRunColorDialog(GetParent(), clr, m_dwDialogFlags,
                        m_pCustomColors != nullptr ? m_pCustomColors : m_internalCustomColors))
    TakeColor(clr);
  return 0;
}

}  // namespace kelpwood::foundation
