// The menu button: caption and mnemonic, its size from the caption, the menu it drops and its
// flat drawing.
#include "bars/SECTBMenuBtn.h"

#include <cctype>

#include "bars/SECCustomToolBar.h"
#include "gdi/ClassicLook.h"

const SECButtonClass SECTBMenuBtn::s_btnClass = {&SECCreateButtonOf<SECTBMenuBtn>};

COLORREF SECMenuButtonLightTone(COLORREF window, COLORREF face, int bitsPerPixel) {
  if (bitsPerPixel <= 8) return face;
  auto scale = [](int channel, int perMille) { return static_cast<BYTE>(channel * perMille / 1000); };
  return RGB(scale(GetRValue(window), 976), scale(GetGValue(window), 973), scale(GetBValue(window), 969));
}

SECTBMenuBtn::SECTBMenuBtn() { m_nType = MenuBtn; }

void SECTBMenuBtn::Init(SECCustomToolBar* pToolBar, const UINT_PTR* pParams) {
  if (pParams != nullptr) {
    m_nMenu = pParams[0];
    m_nPosition = static_cast<int>(static_cast<INT_PTR>(pParams[1]));
    m_strCaption = reinterpret_cast<LPCTSTR>(pParams[2]) != nullptr ? reinterpret_cast<LPCTSTR>(pParams[2]) : "";
    m_dwMenuBit = static_cast<DWORD>(pParams[3]);
  }
  m_pToolBar = pToolBar;
  UpdateMnemonic();
  AdjustSize();
}

void SECTBMenuBtn::UpdateMnemonic() {
  const int nAmp = m_strCaption.Find('&');
  m_cMnemonic = nAmp >= 0 && nAmp + 1 < m_strCaption.GetLength()
                    ? static_cast<char>(std::toupper(static_cast<unsigned char>(m_strCaption[nAmp + 1])))
                    : 0;
}

void SECTBMenuBtn::AdjustSize() {
  if (m_pToolBar == nullptr) return;
  HDC hdc = ::GetDC(nullptr);
  HGDIOBJ hOld = ::SelectObject(hdc, m_pToolBar->GetBarFont());
  CRect rect(0, 0, 0, 0);
  ::DrawText(hdc, m_strCaption, m_strCaption.GetLength(), &rect, DT_CALCRECT | DT_SINGLELINE);
  ::SelectObject(hdc, hOld);
  ::ReleaseDC(nullptr, hdc);
  m_cx = rect.Width() + 10;
  m_cy = rect.Height() + 6;
  m_pToolBar->RaiseWidestButton(m_cx);
}

BOOL SECTBMenuBtn::BtnPressed(CPoint /*point*/) {
  if (m_nStyle & TBBS_DISABLED) return FALSE;
  ChangeStyle(0, TBBS_PRESSED);
  DropMenu();
  return FALSE;
}

UINT SECTBMenuBtn::BtnReleased(CPoint /*point*/) {
  ChangeStyle(TBBS_PRESSED, 0);
  return 0;
}

void SECTBMenuBtn::DropMenu() {
  if (m_pToolBar != nullptr) m_pToolBar->DropDownButton(this, static_cast<LPARAM>(m_nMenu), m_nPosition);
}

void SECTBMenuBtn::Draw(CDC& dc, SECBtnDrawCache& /*cache*/) {
  CRect rect = GetRect();
  if (!dc.RectVisible(&rect)) return;
  const BOOL bPressed = (m_nStyle & TBBS_PRESSED) != 0;
  const BOOL bHot = (m_nStyle & SEC_TBBS_HOT) != 0 && !(m_nStyle & TBBS_DISABLED);
  const int bits = dc.GetDeviceCaps(BITSPIXEL) * dc.GetDeviceCaps(PLANES);
  COLORREF face = ::GetSysColor(COLOR_3DFACE);
  if (bPressed || bHot) face = SECMenuButtonLightTone(::GetSysColor(COLOR_WINDOW), face, bits);
  dc.FillSolidRect(&rect, face);
  if (bPressed)
    dc.Draw3dRect(&rect, ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DHILIGHT));
  else if (bHot)
    dc.Draw3dRect(&rect, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DSHADOW));
  if (m_nStyle & SEC_TBBS_SELECTED) DrawSelectFrame(dc, rect);

  HGDIOBJ hOldFont = ::SelectObject(dc.GetSafeHdc(), m_pToolBar != nullptr ? m_pToolBar->GetBarFont() : nullptr);
  const int oldMode = dc.SetBkMode(TRANSPARENT);
  CRect rectText = rect;
  if (bPressed) rectText.OffsetRect(1, 1);
  const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  if (m_nStyle & TBBS_DISABLED) {
    brambolt::DrawDisabledText(dc.GetSafeHdc(), m_strCaption, m_strCaption.GetLength(), rectText, format);
  } else {
    const COLORREF oldColor = dc.SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    dc.DrawText(m_strCaption, &rectText, format);
    dc.SetTextColor(oldColor);
  }
  dc.SetBkMode(oldMode);
  ::SelectObject(dc.GetSafeHdc(), hOldFont);
}
