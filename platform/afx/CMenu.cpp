// CMenu: the handle map and the menu calls over the handle.
#include "afx/CMenu.h"

#include "afx/AfxResources.h"
#include "afx/CWnd.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

using MenuMap = brambolt::afx::HandleMap<CMenu, HMENU>;

MenuMap& Map() {
  return brambolt::afx::ThreadHandleMap<MenuMap>([](CMenu* menu) { menu->m_hMenu = nullptr; });
}

CMenu* MakeTemporary(HMENU hMenu) {
  auto* menu = new CMenu;
  menu->m_hMenu = hMenu;
  return menu;
}

}  // namespace

CMenu::~CMenu() { DestroyMenu(); }

CMenu* CMenu::FromHandle(HMENU hMenu) { return Map().FromHandle(hMenu, MakeTemporary); }

CMenu* CMenu::FromHandlePermanent(HMENU hMenu) { return Map().LookupPermanent(hMenu); }

void CMenu::DeleteTempMap() { Map().DeleteTemp(); }

BOOL CMenu::Attach(HMENU hMenu) { return Map().Attach(this, m_hMenu, hMenu); }

HMENU CMenu::Detach() { return Map().Detach(this, m_hMenu); }

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName) {
  return Attach(::LoadMenu(AfxFindResourceHandle(lpszResourceName, RT_MENU), lpszResourceName));
}

BOOL CMenu::DestroyMenu() {
  if (m_hMenu == nullptr) return FALSE;
  return ::DestroyMenu(Detach());
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const CBitmap* pBmp) {
  return ::AppendMenu(m_hMenu, nFlags | MF_BITMAP, nIDNewItem,
                      reinterpret_cast<LPCTSTR>(pBmp->GetSafeHandle()));
}

BOOL CMenu::SetMenuItemBitmaps(UINT nPosition, UINT nFlags, const CBitmap* pBmpUnchecked, const CBitmap* pBmpChecked) {
  return ::SetMenuItemBitmaps(m_hMenu, nPosition, nFlags, static_cast<HBITMAP>(pBmpUnchecked->GetSafeHandle()),
                              static_cast<HBITMAP>(pBmpChecked->GetSafeHandle()));
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
  int length = ::GetMenuString(m_hMenu, nIDItem, nullptr, 0, nFlags);
  ::GetMenuString(m_hMenu, nIDItem, rString.GetBuffer(length + 1), length + 1, nFlags);
  rString.ReleaseBuffer();
  return rString.GetLength();
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
  return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd->GetSafeHwnd(), lpRect);
}

BOOL CMenu::TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm) {
  return ::TrackPopupMenuEx(m_hMenu, fuFlags, x, y, pWnd->GetSafeHwnd(), lptpm);
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}

BOOL AfxDrawMenuItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct == nullptr || lpDrawItemStruct->CtlType != ODT_MENU) return FALSE;
  CMenu* menu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lpDrawItemStruct->hwndItem));
  if (menu == nullptr) return FALSE;
  menu->DrawItem(lpDrawItemStruct);
  return TRUE;
}

namespace {

// Among menu and its submenus, the one holding item id that has a CMenu attached.
CMenu* FindAttachedMenuWithItem(HMENU menu, UINT id, int depth = 0) {
  if (menu == nullptr || depth > 32) return nullptr;
  int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (::GetMenuItemID(menu, i) == id) {
      if (CMenu* attached = CMenu::FromHandlePermanent(menu)) return attached;
    }
    if (CMenu* inner = FindAttachedMenuWithItem(::GetSubMenu(menu, i), id, depth + 1)) return inner;
  }
  return nullptr;
}

}  // namespace

BOOL AfxMeasureMenuItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  if (lpMeasureItemStruct == nullptr || lpMeasureItemStruct->CtlType != ODT_MENU) return FALSE;
  // The structure does not name the menu: the menu being tracked holds the item.
  CMenu* menu = FindAttachedMenuWithItem(brambolt::TrackedMenu(), lpMeasureItemStruct->itemID);
  if (menu == nullptr) return FALSE;
  menu->MeasureItem(lpMeasureItemStruct);
  return TRUE;
}

// ---- the menus of a window ----

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }

BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu->GetSafeHmenu()); }

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert)); }

BOOL CWnd::HiliteMenuItem(CMenu* pMenu, UINT nIDHiliteItem, UINT nHilite) {
  return ::HiliteMenuItem(m_hWnd, pMenu->GetSafeHmenu(), nIDHiliteItem, nHilite);
}
