// CMenu: the handle map and the menu calls over the handle.
#include "afx/CMenu.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

using MenuMap = brambolt::afx::HandleMap<CMenu, HMENU>;

MenuMap& Map() {
  thread_local MenuMap map([](CMenu* menu) { menu->m_hMenu = nullptr; });
  return map;
}

CMenu* MakeTemporary(HMENU hMenu) {
  auto* menu = new CMenu;
  menu->m_hMenu = hMenu;
  return menu;
}

}  // namespace

CMenu::~CMenu() { Detach(); }

CMenu* CMenu::FromHandle(HMENU hMenu) { return Map().FromHandle(hMenu, MakeTemporary); }

CMenu* CMenu::FromHandlePermanent(HMENU hMenu) { return Map().LookupPermanent(hMenu); }

void CMenu::DeleteTempMap() { Map().DeleteTemp(); }

BOOL CMenu::Attach(HMENU hMenu) { return Map().Attach(this, m_hMenu, hMenu); }

HMENU CMenu::Detach() { return Map().Detach(this, m_hMenu); }
