// CMenu: the framework's wrapper of a menu handle, owning the menu it holds.
#pragma once

#include "afx/HandleMap.h"
#include "core/CObject.h"
#include "win/WinUser.h"

class CMenu : public CObject {
  DECLARE_DYNCREATE(CMenu)

 public:
  HMENU m_hMenu = nullptr;

  CMenu() = default;
  // Destroys the menu it holds.
  ~CMenu() override;

  operator HMENU() const { return GetSafeHmenu(); }
  HMENU GetSafeHmenu() const { return brambolt::afx::IsNullObject(this) ? nullptr : m_hMenu; }
  BOOL operator==(const CMenu& menu) const { return menu.m_hMenu == m_hMenu; }
  BOOL operator!=(const CMenu& menu) const { return menu.m_hMenu != m_hMenu; }

  // The permanent object of hMenu, else a temporary one deleted when the thread is next idle.
  static CMenu* FromHandle(HMENU hMenu);
  static CMenu* FromHandlePermanent(HMENU hMenu);
  static void DeleteTempMap();
  BOOL Attach(HMENU hMenu);
  HMENU Detach();
};
