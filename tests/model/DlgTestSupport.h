// Helpers of the dialog tests: a headless session answering modal loops, and the small acts of a
// person on a dialog (clicking a button, choosing a list item, typing into an edit).
#pragma once

#include <string>

#include "controls/controls.h"
#include "testing/testing.h"
#include "win/win.h"

namespace dlg_test {

// A session whose common controls are registered.
struct DialogSession {
  brambolt::test::UiSession session;
  DialogSession() { InitCommonControls(); }
};

inline void Command(HWND hDlg, int nId, int nCode = BN_CLICKED) {
  ::SendMessage(hDlg, WM_COMMAND, MAKEWPARAM(nId, nCode), reinterpret_cast<LPARAM>(::GetDlgItem(hDlg, nId)));
}

// A click on a check box: its check flips and its parent hears BN_CLICKED.
inline void ClickCheck(HWND hDlg, int nId) {
  HWND hButton = ::GetDlgItem(hDlg, nId);
  ::SendMessage(hButton, BM_SETCHECK, ::SendMessage(hButton, BM_GETCHECK, 0, 0) == BST_CHECKED ? BST_UNCHECKED
                                                                                              : BST_CHECKED, 0);
  Command(hDlg, nId);
}

inline bool IsChecked(HWND hDlg, int nId) { return ::IsDlgButtonChecked(hDlg, nId) == BST_CHECKED; }

// Chooses the list item with that text as the user does: the selection moves, then CBN_SELCHANGE.
inline void ChooseItem(HWND hDlg, int nId, const char* pszText) {
  ::SendDlgItemMessage(hDlg, nId, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszText));
  Command(hDlg, nId, CBN_SELCHANGE);
}

inline std::string SelectedText(HWND hDlg, int nId) {
  const LRESULT nIndex = ::SendDlgItemMessage(hDlg, nId, CB_GETCURSEL, 0, 0);
  if (nIndex == CB_ERR) return {};
  char sz[256] = {};
  ::SendDlgItemMessage(hDlg, nId, CB_GETLBTEXT, nIndex, reinterpret_cast<LPARAM>(sz));
  return sz;
}

inline std::string ItemText(HWND hDlg, int nId) {
  char sz[512] = {};
  ::GetDlgItemText(hDlg, nId, sz, sizeof sz);
  return sz;
}

}  // namespace dlg_test
