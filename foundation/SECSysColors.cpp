// SECSysColors: the cached system colours of the toolkit.
#include "foundation/SECSysColors.h"

#include "gdi/SysColors.h"
#include "os/SystemInfo.h"
#include "win/WinUser.h"

namespace {

bool IsWindows4OrLater() { return LOBYTE(LOWORD(GetVersion())) >= 4; }

// Made during static initialisation, as the toolkit expects its colours ready before the
// application starts.
[[maybe_unused]] const bool g_colorsReady = (SECGetSysColors(), true);

}  // namespace

SECSysColors::SECSysColors()
    : m_nBorderX(IsWindows4OrLater() ? 2 : 1),
      m_nBorderY(m_nBorderX),
      m_hcurArrow(LoadCursor(nullptr, IDC_ARROW)),
      m_dwReserved1(0),
      m_dwReserved2(0),
      m_dwReserved3(0),
      m_bWin4(IsWindows4OrLater() ? TRUE : FALSE) {
  Refresh();
}

void SECSysColors::Refresh() {
  m_clrBtnFace = GetSysColor(COLOR_BTNFACE);
  m_clrBtnShadow = GetSysColor(COLOR_BTNSHADOW);
  m_clrBtnHilite = GetSysColor(COLOR_BTNHIGHLIGHT);
  m_clrWindowFrame = GetSysColor(COLOR_WINDOWFRAME);
  m_clr3DLight = GetSysColor(COLOR_3DLIGHT);
  m_clr3DDkShadow = GetSysColor(COLOR_3DDKSHADOW);
  m_clrWindowText = GetSysColor(COLOR_WINDOWTEXT);
  m_clrWindow = GetSysColor(COLOR_WINDOW);
  m_clrHighlight = GetSysColor(COLOR_HIGHLIGHT);
  m_clrHighlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
}

SECSysColors& SECGetSysColors() {
  static thread_local SECSysColors colors;
  return colors;
}
