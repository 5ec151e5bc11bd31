// SECMenuBar: building the menu buttons from menu resources, switching between menus, moving
// between them from the keyboard, and the bar's font, creation and layout rules.
#include "bars/SECMenuBar.h"

#include <algorithm>

#include "bars/SECMenuBarFeature.h"
#include "bars/SECTBMenuBtn.h"
#include "bars/SECToolBarManager.h"
#include "res/ResourceTemplates.h"

IMPLEMENT_DYNCREATE(SECMenuBar, SECCustomToolBar)

BEGIN_MESSAGE_MAP(SECMenuBar, SECCustomToolBar)
  ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChange)
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

namespace {

// The parsed template of a menu resource, nullopt when it is missing or malformed.
std::optional<brambolt::MenuTemplate> LoadMenuTemplate(UINT nMenuID) {
  HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(nMenuID), RT_MENU);
  HRSRC resource = ::FindResource(module, MAKEINTRESOURCE(nMenuID), RT_MENU);
  if (resource == nullptr) return std::nullopt;
  const void* data = ::LockResource(::LoadResource(module, resource));
  if (data == nullptr) return std::nullopt;
  return brambolt::ParseMenuTemplate(data, ::SizeofResource(module, resource));
}

}  // namespace

SECMenuBar::SECMenuBar() {
  SECInstallMenuBarHooks();
  m_mapMenuBits.InitHashTable(17);
  MakeMenuFont();
}

SECMenuBar::~SECMenuBar() {
  if (m_hMenuFont != nullptr) ::DeleteObject(m_hMenuFont);
}

void SECMenuBar::MakeMenuFont() {
  NONCLIENTMETRICS metrics{};
  metrics.cbSize = sizeof(metrics);
  ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  HFONT font = ::CreateFontIndirect(&metrics.lfMenuFont);
  if (font == nullptr) return;
  if (m_hMenuFont != nullptr) ::DeleteObject(m_hMenuFont);
  m_hMenuFont = font;
  m_hBarFont = font;
}

BOOL SECMenuBar::CreateEx(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCTSTR lpszTitle) {
  return SECCustomToolBar::CreateEx(dwExStyle | 0x80, pParentWnd, dwStyle | CBRS_HIDE_INPLACE, nID, lpszTitle);
}

SECBtnMapEntry* SECMenuBar::BuildButtonMap(int nCount, const UINT* pMenuIDs, CStringArray& arrTexts,
                                           CMap<UINT, UINT, DWORD, DWORD>& mapBits, int& nEntries) {
  arrTexts.RemoveAll();
  mapBits.RemoveAll();
  nEntries = 0;
  // First pass: the menus that exist (a menu bit each, so 32 at most) and their items.
  struct Found {
    UINT id;
    DWORD bit;
    brambolt::MenuTemplate menu;
  };
  std::vector<Found> menus;
  int total = 0;
  for (int i = 0; i < nCount && pMenuIDs != nullptr; ++i) {
    if (menus.size() >= 32) break;
    auto menu = LoadMenuTemplate(pMenuIDs[i]);
    if (!menu) continue;
    total += static_cast<int>(menu->items.size());
    menus.push_back({pMenuIDs[i], DWORD{1} << menus.size(), std::move(*menu)});
  }
  if (total == 0) return nullptr;
  // The texts are sized first: the entries point into them and they never move afterwards.
  arrTexts.SetSize(total);
  auto* entries = new SECBtnMapEntry[static_cast<size_t>(total) + 1]{};
  UINT id = kFirstButtonID;
  int n = 0;
  for (const Found& found : menus) {
    mapBits.SetAt(found.id, found.bit);
    for (size_t position = 0; position < found.menu.items.size(); ++position, ++n) {
      arrTexts[n] = found.menu.items[position].text.c_str();
      SECBtnMapEntry& entry = entries[n];
      entry.m_pBtnClass = &SECTBMenuBtn::s_btnClass;
      entry.m_nID = id++;
      entry.m_nStyle = kButtonStyle;
      entry.m_nParams[0] = found.id;
      entry.m_nParams[1] = position;
      entry.m_nParams[2] = reinterpret_cast<UINT_PTR>(static_cast<LPCTSTR>(arrTexts[n]));
      entry.m_nParams[3] = found.bit;
    }
  }
  nEntries = total;
  return entries;
}

BOOL SECMenuBar::SetMenuInfo(int nCount, const UINT* pMenuIDs) {
  int entries = 0;
  SECBtnMapEntry* map = BuildButtonMap(nCount, pMenuIDs, m_arrTexts, m_mapMenuBits, entries);
  if (map == nullptr) return FALSE;
  m_buttonIDs.clear();
  for (int i = 0; i < entries; ++i) m_buttonIDs.push_back(map[i].m_nID);
  if (SECToolBarManager* manager = GetToolBarManager()) {
    manager->SetSecondButtonMap(map);
    manager->SetMenuBarButtonIds(entries, m_buttonIDs.data());
  } else {
    SetSecondButtonMap(map);
  }
  ResetMenus(TRUE);
  return TRUE;
}

void SECMenuBar::ResetMenus(BOOL bNoRecalc) {
  const UINT* ids = m_buttonIDs.data();
  int count = static_cast<int>(m_buttonIDs.size());
  if (SECToolBarManager* manager = GetToolBarManager()) manager->GetMenuBarButtonIds(count, ids);
  SetButtons(ids, count);
  ShowMenuButtons(m_dwCurrentBits, FALSE);
  if (!bNoRecalc && m_pDockSite != nullptr) {
    m_pDockSite->RecalcLayout();
    Invalidate();
  }
}

void SECMenuBar::ShowMenuButtons(DWORD dwBits, BOOL bRedraw) {
  m_dwCurrentBits = dwBits;
  BOOL bChanged = FALSE;
  for (int i = 0; i < GetBtnCount(); ++i) {
    SECStdBtn* button = GetButton(i);
    if (button->m_nType != SECStdBtn::MenuBtn) continue;
    const auto* menuButton = static_cast<SECTBMenuBtn*>(button);
    const BOOL bHide = (menuButton->m_dwMenuBit & dwBits) == 0;
    if (!(button->GetStyle() & TBBS_HIDDEN) != !bHide) bChanged = TRUE;
    HideButton(i, bHide);
  }
  // At start the layout restores the bar with every menu's buttons shown, before the frame's menu
  // is chosen.
  if (bChanged) LayOutFloatingFrame();
  if (bRedraw && m_pDockSite != nullptr) {
    m_pDockSite->RecalcLayout();
    Invalidate();
  }
}

void SECMenuBar::SetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd) {
  SECCustomToolBar::SetBarInfoEx(pInfo, pFrameWnd);
  ShowMenuButtons(m_dwCurrentBits, FALSE);
}

BOOL SECMenuBar::SwitchMenu(UINT nMenuID) {
  DWORD bit = 0;
  if (m_mapMenuBits.Lookup(nMenuID, bit)) {
    ShowMenuButtons(bit, FALSE);
    m_nCurrentMenuID = nMenuID;
    return TRUE;
  }
  if (nMenuID != kDefaultMenuID) return FALSE;
  // The default id stands for the menu the main window was loaded with.
  auto* main = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
  if (main == nullptr || !m_mapMenuBits.Lookup(main->m_nIDHelp, bit)) return FALSE;
  ShowMenuButtons(bit, FALSE);
  m_nCurrentMenuID = kDefaultMenuID;
  return TRUE;
}

int SECMenuBar::FindMnemonic(TCHAR ch) const {
  const char wanted = static_cast<char>(::toupper(static_cast<unsigned char>(ch)));
  for (int i = 0; i < GetBtnCount(); ++i) {
    SECStdBtn* button = GetButton(i);
    if (button->m_nType != SECStdBtn::MenuBtn || (button->GetStyle() & TBBS_HIDDEN)) continue;
    if (static_cast<SECTBMenuBtn*>(button)->m_cMnemonic == wanted) return i;
  }
  return -1;
}

void SECMenuBar::NavigateMenus(int nDirection) {
  const int next = GetNextMenuButton(nDirection == 1);
  if (m_bMenuMode) {
    if (next >= 0)
      EnterMenuMode(next);
    else if (SECStdBtn* hot = GetButton(m_nMenuBtn)) {
      hot->SetStyle(hot->GetStyle() & ~SEC_TBBS_HOT);
      InvalidateButton(m_nMenuBtn);
      m_nMenuBtn = -1;
    }
    return;
  }
  if (next < 0)
    DropSystemMenu();
  else
    OpenMenuButton(next);
}

void SECMenuBar::OpenHotMenu() {
  const int hot = m_nMenuBtn;
  ExitMenuMode();
  if (hot >= 0)
    OpenMenuButton(hot);
  else
    DropSystemMenu();
}

void SECMenuBar::DropSystemMenu() {
  if (m_nMenuBtn >= 0) CancelMenuButton();
  CWnd* owner = GetOwnerWnd();
  if (owner == nullptr) return;
  SECBtnNotify notify{};
  notify.hdr.hwndFrom = m_hWnd;
  notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  notify.hdr.code = static_cast<UINT>(SEC_TBN_DROPMENU);
  notify.nIndex = -1;
  notify.lParam1 = 0;
  notify.lParam2 = -1;
  owner->SendMessage(WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
}

void SECMenuBar::DelayShow(BOOL bShow) {
  if (!bShow && m_bSkipNextHide) {
    m_bSkipNextHide = FALSE;
    return;
  }
  SECCustomToolBar::DelayShow(bShow);
}

void SECMenuBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
  if ((dwNewStyle & CBRS_FLOATING) && !(dwOldStyle & CBRS_FLOATING)) m_bFloatingFrame = TRUE;
  SECCustomToolBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
}

CSize SECMenuBar::CalcDynamicLayout(int nLength, DWORD nMode) {
  // A floating menubar has no close box: its menu cannot be put away that way.
  if (m_bFloatingFrame) {
    m_bFloatingFrame = FALSE;
    if (CFrameWnd* floating = GetParentFrame(); floating != nullptr && floating != m_pDockSite) {
      floating->ModifyStyle(WS_SYSMENU, 0, SWP_FRAMECHANGED);
    }
  }
  if (!m_bFullScreen) return SECCustomToolBar::CalcDynamicLayout(nLength, nMode);
  // Full screen: the bar spans the desktop, a maximised child's caption buttons at its right end.
  CRect desktop;
  ::GetWindowRect(::GetDesktopWindow(), &desktop);
  const BOOL bFloating = !(nMode & (LM_HORZDOCK | LM_VERTDOCK));
  if (bFloating) nMode &= ~static_cast<DWORD>(LM_MRUWIDTH);
  CSize size = SECCustomToolBar::CalcDynamicLayout(desktop.Width(), nMode);
  // Its length is the desktop's width, not what its buttons take: the pointer anywhere along the
  // top edge is over the bar, which stays while it is.
  if (!(nMode & LM_VERTDOCK)) size.cx = std::max<LONG>(size.cx, desktop.Width());
  SECStdBtn* pLast = nullptr;
  for (int i = 0; i < GetBtnCount(); ++i)
    if (SECStdBtn* pBtn = GetButton(i); !(pBtn->GetStyle() & TBBS_HIDDEN)) pLast = pBtn;
  if (bFloating && pLast != nullptr && pLast->m_nType == SECStdBtn::CaptionBtn)
    pLast->SetPos(desktop.Width() - 2 - pLast->m_cx, pLast->m_y);
  return size;
}

LRESULT SECMenuBar::OnSettingChange(WPARAM, LPARAM) {
  MakeMenuFont();
  RecalcButtonSizes();
  if (m_pDockSite != nullptr) m_pDockSite->RecalcLayout();
  Invalidate();
  return Default();
}

void SECMenuBar::OnLButtonDown(UINT nFlags, CPoint point) {
  // In full screen a press beside the buttons does nothing but the default.
  if (m_bFullScreen && HitTest(point) < 0) {
    Default();
    return;
  }
  SECCustomToolBar::OnLButtonDown(nFlags, point);
}
