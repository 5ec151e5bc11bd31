// SECBmpMenuPlugIn: converting popup items to owner-drawn ones, measuring and drawing them with
// toolbar images, their mnemonics, and giving the items back when the plug-in goes.
#include "bars/SECBmpMenuPlugIn.h"

#include <cctype>
#include <vector>

#include "gdi/ClassicLook.h"
#include "resources/Menus.h"

IMPLEMENT_DYNAMIC(SECBmpMenuItemInfo, CObject)
using kelpwood::foundation::SECWndPlugIn;

IMPLEMENT_DYNAMIC(SECBmpMenuPlugIn, SECWndPlugIn)

namespace {

constexpr UINT kFirstSystemCommand = 0xF000, kLastSystemCommand = 0xFEFF;

// The drawing colours all plug-ins share, refreshed when the system colours change.
struct MenuColours {
  COLORREF face, highlight3d, highlight3dToo, shadow, highlight, menu, grayText, highlightText, menuText;
};
MenuColours g_colours;
HBITMAP g_hRadioDot = nullptr;

COLORREF Blend(COLORREF a, COLORREF b, int percentA) {
  auto mix = [percentA](int x, int y) { return static_cast<BYTE>((x * percentA + y * (100 - percentA)) / 100); };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

// Deep displays get softer blends for the checked box; palette displays the plain colours.
bool DeepDisplay() {
  HDC screen = ::GetDC(nullptr);
  const int bits = ::GetDeviceCaps(screen, BITSPIXEL) * ::GetDeviceCaps(screen, PLANES);
  ::ReleaseDC(nullptr, screen);
  return bits > 8;
}

// The radio dot: a 16 x 15 monochrome bitmap, white with a black dot in rows 4 to 8.
HBITMAP RadioDot() {
  if (g_hRadioDot != nullptr) return g_hRadioDot;
  WORD rows[15];
  const BYTE dot[5] = {0x06, 0x0F, 0x0F, 0x0F, 0x06};
  for (int y = 0; y < 15; ++y) {
    const WORD bits = (y >= 4 && y <= 8) ? static_cast<WORD>(dot[y - 4] << 6) : 0;
    const WORD row = static_cast<WORD>(~bits);
    // Monochrome rows are stored most significant bit first, high byte first.
    rows[y] = static_cast<WORD>((row >> 8) | (row << 8));
  }
  g_hRadioDot = ::CreateBitmap(16, 15, 1, 1, rows);
  if (g_hRadioDot == nullptr) g_hRadioDot = ::LoadBitmap(nullptr, MAKEINTRESOURCE(OBM_MNARROW));
  return g_hRadioDot;
}

// A monochrome glyph (black on white) in `colour` over what is there, centred in rect.
void DrawMonoGlyph(HDC hdc, HBITMAP glyph, const RECT& rect, COLORREF colour) {
  BITMAP info{};
  if (glyph == nullptr || ::GetObject(glyph, sizeof(info), &info) == 0) return;
  HDC mem = ::CreateCompatibleDC(hdc);
  HGDIOBJ old = ::SelectObject(mem, glyph);
  const COLORREF oldText = ::SetTextColor(hdc, colour);
  const COLORREF oldBk = ::SetBkColor(hdc, RGB(255, 255, 255));
  const int x = rect.left + (rect.right - rect.left - info.bmWidth) / 2;
  const int y = rect.top + (rect.bottom - rect.top - info.bmHeight) / 2;
  ::BitBlt(hdc, x, y, info.bmWidth, info.bmHeight, mem, 0, 0, SRCAND);
  ::SetBkColor(hdc, oldBk);
  ::SetTextColor(hdc, oldText);
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
}

UINT MenuPosition(HMENU hMenu, ULONG_PTR itemData) {
  const int count = ::GetMenuItemCount(hMenu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFO mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_DATA | MIIM_FTYPE;
    if (::GetMenuItemInfo(hMenu, static_cast<UINT>(i), TRUE, &mii) && (mii.fType & MFT_OWNERDRAW) &&
        mii.dwItemData == itemData)
      return static_cast<UINT>(i);
  }
  return static_cast<UINT>(-1);
}

// Calls visit(menu, position, item) for every owned item that still stands in an existing menu.
template <class Map, class Visit>
void ForEachPlacedItem(Map& menus, Visit visit) {
  POSITION pos = menus.GetStartPosition();
  while (pos != nullptr) {
    HMENU hMenu;
    SECBmpMenuPlugIn::SECBmpMenuInfo* info;
    menus.GetNextAssoc(pos, hMenu, info);
    if (!::IsMenu(hMenu)) continue;
    for (POSITION item = info->m_items.GetHeadPosition(); item != nullptr;) {
      SECBmpMenuItemInfo* itemInfo = info->m_items.GetNext(item);
      const UINT position = MenuPosition(hMenu, reinterpret_cast<ULONG_PTR>(itemInfo));
      if (position != UINT(-1)) visit(hMenu, position, itemInfo);
    }
  }
}

}  // namespace

SECBmpMenuItemInfo::SECBmpMenuItemInfo(UINT nID, const CString& strText)
    : m_nID(nID), m_strText(strText), m_cMnemonic(SECBmpMenuPlugIn::MnemonicOf(strText)) {}

BEGIN_MESSAGE_MAP(SECBmpMenuPlugIn, SECWndPlugIn)
  ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopupMsg)
  ON_MESSAGE(WM_MEASUREITEM, OnMeasureItemMsg)
  ON_MESSAGE(WM_DRAWITEM, OnDrawItemMsg)
  ON_MESSAGE(WM_MENUCHAR, OnMenuCharMsg)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUIMsg)
  ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChangeMsg)
  ON_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChangeMsg)
END_MESSAGE_MAP()

SECBmpMenuPlugIn::SECBmpMenuPlugIn(BOOL bOwnCheckMark) : m_bOwnCheckMark(bOwnCheckMark) {
  m_mapMenus.InitHashTable(17);
  m_mapForeignIDs.InitHashTable(17);
  RefreshColours();
}

SECBmpMenuPlugIn::~SECBmpMenuPlugIn() {
  // Every item still in its menu becomes the text item it was, with its full text.
  ForEachPlacedItem(m_mapMenus, [](HMENU hMenu, UINT position, SECBmpMenuItemInfo* itemInfo) {
    MENUITEMINFO mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
    ::GetMenuItemInfo(hMenu, position, TRUE, &mii);
    mii.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
    mii.dwItemData = 0;
    mii.dwTypeData = const_cast<LPSTR>(static_cast<LPCTSTR>(itemInfo->m_strText));
    mii.cch = static_cast<UINT>(itemInfo->m_strText.GetLength());
    ::SetMenuItemInfo(hMenu, position, TRUE, &mii);
  });
  POSITION pos = m_mapMenus.GetStartPosition();
  while (pos != nullptr) {
    HMENU hMenu;
    SECBmpMenuInfo* info;
    m_mapMenus.GetNextAssoc(pos, hMenu, info);
    while (!info->m_items.IsEmpty()) delete info->m_items.RemoveHead();
    delete info;
  }
  m_mapMenus.RemoveAll();
  if (m_pBmpMgr != nullptr) m_pBmpMgr->Release();
  if (m_hCachedBitmap != nullptr) ::DeleteObject(m_hCachedBitmap);
}

void SECBmpMenuPlugIn::SetBmpMgr(SECBmpMgr* pBmpMgr) {
  if (pBmpMgr != nullptr) pBmpMgr->AddRef();
  if (m_pBmpMgr != nullptr) m_pBmpMgr->Release();
  m_pBmpMgr = pBmpMgr;
  if (m_pBmpMgr != nullptr) m_pBmpMgr->SetKeepSmall(TRUE);
}

TCHAR SECBmpMenuPlugIn::MnemonicOf(const CString& strText) {
  const int length = strText.GetLength();
  for (int i = 0; i + 1 < length; ++i) {
    if (strText[i] != '&') continue;
    if (strText[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<TCHAR>(std::toupper(static_cast<unsigned char>(strText[i + 1])));
  }
  return 0;
}

void SECBmpMenuPlugIn::SplitItemText(const CString& strText, CString& strLabel, CString& strAccel) {
  const int tab = strText.Find('\t');
  if (tab < 0) {
    strLabel = strText;
    strAccel.Empty();
    return;
  }
  strLabel = strText.Left(tab);
  strAccel = strText.Mid(tab + 1);
}

void SECBmpMenuPlugIn::RefreshColours() {
  g_colours = {::GetSysColor(COLOR_3DFACE),  ::GetSysColor(COLOR_3DHIGHLIGHT), ::GetSysColor(COLOR_3DHILIGHT),
               ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_HIGHLIGHT),  ::GetSysColor(COLOR_MENU),
               ::GetSysColor(COLOR_GRAYTEXT), ::GetSysColor(COLOR_HIGHLIGHTTEXT), ::GetSysColor(COLOR_MENUTEXT)};
}

SECBmpMenuPlugIn::SECBmpMenuInfo* SECBmpMenuPlugIn::FindMenu(HMENU hMenu) const {
  SECBmpMenuInfo* info = nullptr;
  return m_mapMenus.Lookup(hMenu, info) ? info : nullptr;
}

SECBmpMenuItemInfo* SECBmpMenuPlugIn::FindOwnedItem(HMENU hMenu, ULONG_PTR itemData) const {
  SECBmpMenuInfo* info = FindMenu(hMenu);
  if (info == nullptr || itemData == 0) return nullptr;
  for (POSITION pos = info->m_items.GetHeadPosition(); pos != nullptr;) {
    SECBmpMenuItemInfo* item = info->m_items.GetNext(pos);
    if (reinterpret_cast<ULONG_PTR>(item) == itemData) return item;
  }
  return nullptr;
}

BOOL SECBmpMenuPlugIn::IsForeign(UINT nID) const {
  BOOL value;
  return m_mapForeignIDs.Lookup(nID, value);
}

CSize SECBmpMenuPlugIn::ImageSize() const { return m_pBmpMgr != nullptr ? m_pBmpMgr->GetImageSize() : CSize(16, 15); }

void SECBmpMenuPlugIn::OnInitMenuPopup(HMENU hMenu, LPARAM lParam) {
  if (HIWORD(lParam) != 0 || !::IsMenu(hMenu)) return;
  SECBmpMenuInfo* info = FindMenu(hMenu);
  if (info == nullptr) {
    info = new SECBmpMenuInfo;
    info->m_hMenu = hMenu;
    m_mapMenus.SetAt(hMenu, info);
  }
  const int count = ::GetMenuItemCount(hMenu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFO mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
    if (!::GetMenuItemInfo(hMenu, static_cast<UINT>(i), TRUE, &mii)) continue;
    const UINT id = mii.hSubMenu != nullptr ? 0 : mii.wID;
    if (mii.fType & (MFT_BITMAP | MFT_SEPARATOR)) continue;
    if (id >= kFirstSystemCommand && id <= kLastSystemCommand) continue;
    if (mii.fType & MFT_OWNERDRAW) {
      if (!IsForeign(id) && FindOwnedItem(hMenu, mii.dwItemData) == nullptr) m_mapForeignIDs.SetAt(id, TRUE);
      continue;
    }
    if (IsForeign(id)) continue;
    // The whole text, however long: it is given back as it was when the plug-in goes.
    CString text;
    std::vector<char> buffer(mii.cch + 1, '\0');
    mii.fMask = MIIM_STRING;
    mii.dwTypeData = buffer.data();
    mii.cch = static_cast<UINT>(buffer.size());
    ::GetMenuItemInfo(hMenu, static_cast<UINT>(i), TRUE, &mii);
    text = buffer.data();
    // An item of ours that someone turned back into text (a command update set its text) is
    // taken up again with its new text.
    SECBmpMenuItemInfo* itemInfo = nullptr;
    for (POSITION pos = info->m_items.GetHeadPosition(); pos != nullptr && itemInfo == nullptr;) {
      SECBmpMenuItemInfo* candidate = info->m_items.GetNext(pos);
      if (candidate->m_nID == id && MenuPosition(hMenu, reinterpret_cast<ULONG_PTR>(candidate)) == UINT(-1))
        itemInfo = candidate;
    }
    if (itemInfo == nullptr) {
      itemInfo = new SECBmpMenuItemInfo(id, text);
      info->m_items.AddTail(itemInfo);
    } else {
      itemInfo->m_strText = text;
      itemInfo->m_cMnemonic = MnemonicOf(text);
    }
    MENUITEMINFO owner{};
    owner.cbSize = sizeof(owner);
    owner.fMask = MIIM_FTYPE | MIIM_DATA;
    owner.fType = (mii.fType | MFT_OWNERDRAW);
    owner.dwItemData = reinterpret_cast<ULONG_PTR>(itemInfo);
    ::SetMenuItemInfo(hMenu, static_cast<UINT>(i), TRUE, &owner);
  }
}

LRESULT SECBmpMenuPlugIn::OnInitMenuPopupMsg(WPARAM wParam, LPARAM lParam) {
  OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), lParam);
  return 0;
}

CFont* SECBmpMenuPlugIn::GetMenuFont() {
  if (m_fontMenu.GetSafeHandle() == nullptr) {
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    m_fontMenu.CreateFontIndirect(&metrics.lfMenuFont);
  }
  return &m_fontMenu;
}

CFont* SECBmpMenuPlugIn::GetBoldMenuFont() {
  if (m_fontBoldMenu.GetSafeHandle() == nullptr) {
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    metrics.lfMenuFont.lfWeight = FW_BOLD;
    m_fontBoldMenu.CreateFontIndirect(&metrics.lfMenuFont);
  }
  return &m_fontBoldMenu;
}

LRESULT SECBmpMenuPlugIn::OnMeasureItemMsg(WPARAM, LPARAM lParam) {
  auto* mis = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
  if (mis == nullptr || mis->CtlType != ODT_MENU || IsForeign(mis->itemID)) return 0;
  auto* item = reinterpret_cast<SECBmpMenuItemInfo*>(mis->itemData);
  // A popup's item is measured under its submenu's handle; its record keeps the id 0.
  const bool popup = ::IsMenu(reinterpret_cast<HMENU>(static_cast<UINT_PTR>(mis->itemID)));
  if (item == nullptr || item->m_nID != (popup ? 0u : mis->itemID)) return 0;
  CString label, accel;
  SplitItemText(item->m_strText, label, accel);
  HDC screen = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(screen, GetMenuFont()->GetSafeHandle());
  CRect rcLabel(0, 0, 0, 0), rcAccel(0, 0, 0, 0);
  ::DrawText(screen, label, label.GetLength(), &rcLabel, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
  int textWidth = rcLabel.Width();
  if (!accel.IsEmpty()) {
    ::DrawText(screen, accel, accel.GetLength(), &rcAccel, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
    textWidth += ImageSize().cx + rcAccel.Width();
  }
  ::SelectObject(screen, old);
  ::ReleaseDC(nullptr, screen);
  const CSize image = ImageSize();
  mis->itemWidth = static_cast<UINT>(textWidth + 2 * image.cx);
  mis->itemHeight = static_cast<UINT>(
      std::max<int>(rcLabel.Height(), std::max<int>(::GetSystemMetrics(SM_CYMENU), image.cy + 4)) + 1);
  m_bHandled = TRUE;
  return TRUE;
}

HBITMAP SECBmpMenuPlugIn::CreateImageMask(HBITMAP hBmp, UINT nImage, CSize size) {
  return brambolt::CreateToolImageMask(hBmp, static_cast<int>(nImage) * size.cx, 0, size.cx, size.cy);
}

void SECBmpMenuPlugIn::DrawTransparent(CDC* pDC, int x, int y, HBITMAP hBmp, UINT nImage, CSize size) {
  HDC image = ::CreateCompatibleDC(pDC->GetSafeHdc());
  HGDIOBJ old = ::SelectObject(image, hBmp);
  ::TransparentBlt(pDC->GetSafeHdc(), x, y, size.cx, size.cy, image, static_cast<int>(nImage) * size.cx, 0, size.cx,
                   size.cy, ::GetSysColor(COLOR_BTNFACE));
  ::SelectObject(image, old);
  ::DeleteDC(image);
}

void SECBmpMenuPlugIn::DrawDisabled(CDC* pDC, int x, int y, HBITMAP hBmp, UINT nImage, CSize size) {
  HBITMAP mask = CreateImageMask(hBmp, nImage, size);
  if (mask == nullptr) return;
  brambolt::DrawEmbossedMask(pDC->GetSafeHdc(), mask, x, y, size.cx, size.cy);
  ::DeleteObject(mask);
}

void SECBmpMenuPlugIn::DrawImageBox(CDC* pDC, const CRect& rcBox, LPDRAWITEMSTRUCT lpDIS, SECBmpMenuItemInfo* pInfo) {
  HDC hdc = pDC->GetSafeHdc();
  const bool selected = (lpDIS->itemState & ODS_SELECTED) != 0;
  const bool checked = (lpDIS->itemState & ODS_CHECKED) != 0;
  const bool disabled = (lpDIS->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  const CSize size = ImageSize();
  HBITMAP hBmp = nullptr;
  UINT nImage = 0;
  const bool hasImage = m_pBmpMgr != nullptr && m_pBmpMgr->GetBitmap(pInfo->m_nID, hBmp, nImage, TRUE);
  CRect box = rcBox;
  COLORREF boxColour = g_colours.menu;
  if (checked && !selected) boxColour = DeepDisplay() ? Blend(g_colours.highlight3d, g_colours.face, 50) : g_colours.highlight3d;
  brambolt::FillSolidRect(hdc, box, boxColour);
  if (hasImage) {
    const int x = box.left + (box.Width() - size.cx) / 2;
    const int y = box.top + (box.Height() - size.cy) / 2;
    if (disabled)
      DrawDisabled(pDC, x, y, hBmp, nImage, size);
    else
      DrawTransparent(pDC, x, y, hBmp, nImage, size);
    if (checked)
      ::DrawEdge(hdc, &box, BDR_SUNKENOUTER, BF_RECT);
    else if (selected && !disabled)
      ::DrawEdge(hdc, &box, BDR_RAISEDINNER, BF_RECT);
    return;
  }
  if (!checked) return;
  // The check mark: the item's own checked bitmap, a radio dot, or the toolkit's or system's mark.
  MENUITEMINFO mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_CHECKMARKS | MIIM_FTYPE;
  HMENU hMenu = reinterpret_cast<HMENU>(lpDIS->hwndItem);
  ::GetMenuItemInfo(hMenu, lpDIS->itemID, FALSE, &mii);
  const COLORREF mark = disabled ? g_colours.grayText : g_colours.menuText;
  if (mii.hbmpChecked != nullptr) {
    DrawMonoGlyph(hdc, mii.hbmpChecked, box, mark);
  } else if (mii.fType & MFT_RADIOCHECK) {
    DrawMonoGlyph(hdc, RadioDot(), box, mark);
  } else if (m_bOwnCheckMark) {
    if (m_hCachedBitmap == nullptr)
      m_hCachedBitmap = ::LoadBitmap(AfxFindResourceHandle(MAKEINTRESOURCE(IDB_SEC_CHECKMARK), RT_BITMAP),
                                     MAKEINTRESOURCE(IDB_SEC_CHECKMARK));
    DrawMonoGlyph(hdc, m_hCachedBitmap, box, mark);
  } else {
    CRect glyph(box.CenterPoint().x - 7, box.CenterPoint().y - 7, box.CenterPoint().x + 6, box.CenterPoint().y + 6);
    brambolt::DrawMenuGlyph(hdc, glyph, DFCS_MENUCHECK, mark);
  }
  ::DrawEdge(hdc, &box, BDR_SUNKENOUTER, BF_RECT);
}

void SECBmpMenuPlugIn::DrawItemText(CDC* pDC, const CRect& rcText, LPDRAWITEMSTRUCT lpDIS, const CString& strText) {
  HDC hdc = pDC->GetSafeHdc();
  const bool selected = (lpDIS->itemState & ODS_SELECTED) != 0;
  const bool disabled = (lpDIS->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  CString label, accel;
  SplitItemText(strText, label, accel);
  const UINT format = DT_SINGLELINE | DT_VCENTER;
  const int oldMode = ::SetBkMode(hdc, TRANSPARENT);
  if (disabled && !selected) {
    brambolt::DrawDisabledText(hdc, label, label.GetLength(), rcText, format | DT_LEFT);
    if (!accel.IsEmpty()) brambolt::DrawDisabledText(hdc, accel, accel.GetLength(), rcText, format | DT_RIGHT);
  } else {
    const COLORREF colour = disabled ? g_colours.grayText : selected ? g_colours.highlightText : g_colours.menuText;
    const COLORREF oldColour = ::SetTextColor(hdc, colour);
    CRect rect = rcText;
    ::DrawText(hdc, label, label.GetLength(), &rect, format | DT_LEFT);
    rect = rcText;
    if (!accel.IsEmpty()) ::DrawText(hdc, accel, accel.GetLength(), &rect, format | DT_RIGHT);
    ::SetTextColor(hdc, oldColour);
  }
  ::SetBkMode(hdc, oldMode);
}

LRESULT SECBmpMenuPlugIn::OnDrawItemMsg(WPARAM, LPARAM lParam) {
  auto* dis = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
  if (dis == nullptr || dis->CtlType != ODT_MENU || IsForeign(dis->itemID)) return 0;
  HMENU hMenu = reinterpret_cast<HMENU>(dis->hwndItem);
  if (!::IsMenu(hMenu)) return 0;
  SECBmpMenuItemInfo* item = FindOwnedItem(hMenu, dis->itemData);
  if (item == nullptr) return 0;
  CDC* pDC = CDC::FromHandle(dis->hDC);
  const CSize image = ImageSize();
  const CRect rcItem(dis->rcItem);
  const CRect rcBox(rcItem.left, rcItem.top, rcItem.left + image.cx + 6, rcItem.bottom);
  CRect rcText(rcBox.right + 1, rcItem.top, rcItem.right, rcItem.bottom);
  const bool selected = (dis->itemState & ODS_SELECTED) != 0;
  brambolt::FillSolidRect(dis->hDC, rcText, selected ? g_colours.highlight : g_colours.menu);
  DrawImageBox(pDC, rcBox, dis, item);
  rcText.DeflateRect(4, 0, image.cx / 2, 0);
  CFont* font = (dis->itemState & ODS_DEFAULT) ? GetBoldMenuFont() : GetMenuFont();
  HGDIOBJ oldFont = ::SelectObject(dis->hDC, font->GetSafeHandle());
  DrawItemText(pDC, rcText, dis, item->m_strText);
  ::SelectObject(dis->hDC, oldFont);
  m_bHandled = TRUE;
  return TRUE;
}

LRESULT SECBmpMenuPlugIn::OnMenuCharMsg(WPARAM wParam, LPARAM lParam) {
  HMENU hMenu = reinterpret_cast<HMENU>(lParam);
  const TCHAR key = static_cast<TCHAR>(std::toupper(static_cast<unsigned char>(LOWORD(wParam) & 0xFF)));
  if (!::IsMenu(hMenu) || FindMenu(hMenu) == nullptr || key == 0) return 0;
  std::vector<int> matches;
  int highlighted = -1;
  const int count = ::GetMenuItemCount(hMenu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFO mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STATE;
    if (!::GetMenuItemInfo(hMenu, static_cast<UINT>(i), TRUE, &mii)) continue;
    if (mii.fState & MFS_HILITE) highlighted = i;
    if (!(mii.fType & MFT_OWNERDRAW)) continue;
    SECBmpMenuItemInfo* item = FindOwnedItem(hMenu, mii.dwItemData);
    if (item != nullptr && item->m_cMnemonic == key) matches.push_back(i);
  }
  if (matches.empty()) return 0;
  m_bHandled = TRUE;
  if (matches.size() == 1) return MAKELRESULT(matches.front(), MNC_EXECUTE);
  int next = matches.front();
  for (int match : matches)
    if (match > highlighted) {
      next = match;
      break;
    }
  return MAKELRESULT(next, MNC_SELECT);
}

void SECBmpMenuPlugIn::PurgeMenus() {
  std::vector<HMENU> gone;
  POSITION pos = m_mapMenus.GetStartPosition();
  while (pos != nullptr) {
    HMENU hMenu;
    SECBmpMenuInfo* info;
    m_mapMenus.GetNextAssoc(pos, hMenu, info);
    const bool exists = ::IsMenu(hMenu) != FALSE;
    for (POSITION item = info->m_items.GetHeadPosition(); item != nullptr;) {
      POSITION current = item;
      SECBmpMenuItemInfo* itemInfo = info->m_items.GetNext(item);
      if (exists && MenuPosition(hMenu, reinterpret_cast<ULONG_PTR>(itemInfo)) != UINT(-1)) continue;
      info->m_items.RemoveAt(current);
      delete itemInfo;
    }
    if (!exists) gone.push_back(hMenu);
  }
  for (HMENU hMenu : gone) {
    SECBmpMenuInfo* info = FindMenu(hMenu);
    m_mapMenus.RemoveKey(hMenu);
    delete info;
  }
}

LRESULT SECBmpMenuPlugIn::OnIdleUpdateCmdUIMsg(WPARAM, LPARAM) {
  PurgeMenus();
  return 0;
}

LRESULT SECBmpMenuPlugIn::OnSettingChangeMsg(WPARAM, LPARAM) {
  m_fontMenu.DeleteObject();
  m_fontBoldMenu.DeleteObject();
  if (m_pBmpMgr != nullptr) m_pBmpMgr->ReloadBitmaps(TRUE);
  PurgeMenus();
  // Each item becomes a text item and owner-drawn again, so its size is asked for anew.
  ForEachPlacedItem(m_mapMenus, [](HMENU hMenu, UINT position, SECBmpMenuItemInfo* itemInfo) {
    MENUITEMINFO mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE;
    ::GetMenuItemInfo(hMenu, position, TRUE, &mii);
    const UINT type = mii.fType;
    mii.fType = type & ~static_cast<UINT>(MFT_OWNERDRAW);
    ::SetMenuItemInfo(hMenu, position, TRUE, &mii);
    mii.fMask = MIIM_FTYPE | MIIM_DATA;
    mii.fType = type | MFT_OWNERDRAW;
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(itemInfo);
    ::SetMenuItemInfo(hMenu, position, TRUE, &mii);
  });
  return 0;
}

LRESULT SECBmpMenuPlugIn::OnSysColorChangeMsg(WPARAM, LPARAM) {
  RefreshColours();
  if (m_hCachedBitmap != nullptr) {
    ::DeleteObject(m_hCachedBitmap);
    m_hCachedBitmap = nullptr;
  }
  if (m_pBmpMgr != nullptr) m_pBmpMgr->ReloadBitmaps(TRUE);
  return 0;
}
