// What the print and page-setup dialog tests share: choosing in a drop-down list as a person
// does, and reading the DEVMODE and DEVNAMES blocks the dialogs return.
#pragma once

#include <string>

#include "CommonDialogTestSupport.h"
#include "testing/FakeCups.h"

namespace ctltest {

// Selects the item starting with `text` and tells the dialog, as a choice in the list does.
inline void ChooseItem(HWND dialog, int id, const char* text) {
  HWND combo = GetDlgItem(dialog, id);
  ASSERT_GE(SendMessage(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text)), 0) << text;
  SendMessage(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

inline std::string SelectedItem(HWND dialog, int id) {
  HWND combo = GetDlgItem(dialog, id);
  LRESULT at = SendMessage(combo, CB_GETCURSEL, 0, 0);
  if (at < 0) return {};
  char text[128] = {};
  SendMessage(combo, CB_GETLBTEXT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(text));
  return text;
}

inline std::vector<std::string> Items(HWND dialog, int id) {
  HWND combo = GetDlgItem(dialog, id);
  std::vector<std::string> items;
  for (LRESULT i = 0; i < SendMessage(combo, CB_GETCOUNT, 0, 0); ++i) {
    char text[128] = {};
    SendMessage(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

inline DEVMODE DevModeOf(HGLOBAL block) {
  DEVMODE dm{};
  EXPECT_TRUE(brambolt::ReadDevModeBlock(block, &dm));
  return dm;
}

inline brambolt::DevNamesContent DevNamesOf(HGLOBAL block) {
  brambolt::DevNamesContent names;
  EXPECT_TRUE(brambolt::ReadDevNamesBlock(block, &names));
  return names;
}

// Frees the blocks a dialog handed back.
struct Blocks {
  HGLOBAL* devMode;
  HGLOBAL* devNames;
  ~Blocks() {
    if (*devMode) GlobalFree(*devMode);
    if (*devNames) GlobalFree(*devNames);
  }
};

}  // namespace ctltest
