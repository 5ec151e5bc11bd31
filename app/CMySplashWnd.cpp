// The start-up splash: the registered owner's name read once from the registry and drawn over the
// splash picture.
#include "app/CMySplashWnd.h"

#include "foundation/SECRegistry.h"

IMPLEMENT_DYNAMIC(CMySplashWnd, SECSplashWnd)

namespace {

// "User name", in the Chinese code page the program's texts are written in: shown when the
// registry names no owner.
CString FallbackOwner() { return CString(brambolt::Utf8ToCodePage(u8"使用者姓名", 936).c_str()); }

}  // namespace

CMySplashWnd::CMySplashWnd(UINT nBitmapID, UINT nDisplayTime, BOOL bWaitForClose, BOOL bTopmost)
    : SECSplashWnd(nBitmapID, nDisplayTime, bWaitForClose, bTopmost), m_strOwner(ReadRegisteredOwner()) {}

CString CMySplashWnd::ReadRegisteredOwner() {
  OSVERSIONINFO version{};
  version.dwOSVersionInfoSize = sizeof version;
  const bool bNT = ::GetVersionEx(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  const char* const lpszKey =
      bNT ? "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion" : "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  SECRegistry registry;
  CString strOwner;
  if (registry.Connect(HKEY_LOCAL_MACHINE) && registry.Open(lpszKey, KEY_READ) &&
      registry.QueryValue("RegisteredOwner", strOwner))
    return strOwner;
  return FallbackOwner();
}

BOOL CMySplashWnd::OnDrawSplash(CDC* pDC) {
  CRect rect;
  GetClientRect(&rect);
  rect.OffsetRect(-40, 40);
  const int nOldMode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF clrOld = pDC->SetTextColor(RGB(0, 0, 0));
  // The fallback is GB2312 text: it is drawn in a font of that character set, which reads it so
  // on any system.
  CFont fontChinese;
  CFont* pOldFont = nullptr;
  LOGFONT lf{};
  if (m_strOwner == FallbackOwner() && pDC->GetCurrentFont() != nullptr && pDC->GetCurrentFont()->GetLogFont(&lf)) {
    lf.lfCharSet = GB2312_CHARSET;
    if (fontChinese.CreateFontIndirect(&lf)) pOldFont = pDC->SelectObject(&fontChinese);
  }
  pDC->DrawText(m_strOwner, &rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  if (pOldFont != nullptr) pDC->SelectObject(pOldFont);
  pDC->SetTextColor(clrOld);
  pDC->SetBkMode(nOldMode);
  return TRUE;
}
