// The default procedures of MDI frames and children, the MDI keyboard (Ctrl+F4, Ctrl+F6,
// Ctrl+Shift+F6) and the "Select Window" dialog behind "More Windows...".
#include <algorithm>
#include <string>

#include "gdi/SysColors.h"
#include "res/ResourceTemplates.h"
#include "win/Dialog.h"
#include "win/MdiInternal.h"
#include "win/WinKeys.h"

namespace brambolt::mdi {
namespace {

constexpr int kListId = 100;

struct ChooseState {
  Client* client;
  HWND chosen = nullptr;
};

INT_PTR CALLBACK ChooseProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* s = reinterpret_cast<ChooseState*>(GetWindowLongPtr(dialog, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG: {
      SetWindowLongPtr(dialog, DWLP_USER, lParam);
      s = reinterpret_cast<ChooseState*>(lParam);
      HWND list = GetDlgItem(dialog, kListId);
      for (HWND child : s->client->children) {
        if (!IsWindowVisible(child)) continue;
        char text[256] = {};
        GetWindowText(child, text, sizeof(text));
        auto index = SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendMessage(list, LB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(child));
        if (child == s->client->active) SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
      }
      if (SendMessage(list, LB_GETCURSEL, 0, 0) < 0) SendMessage(list, LB_SETCURSEL, 0, 0);
      return TRUE;
    }
    case WM_COMMAND: {
      UINT id = LOWORD(wParam);
      if (id == IDOK || (id == kListId && HIWORD(wParam) == LBN_DBLCLK)) {
        HWND list = GetDlgItem(dialog, kListId);
        auto index = SendMessage(list, LB_GETCURSEL, 0, 0);
        if (index >= 0) s->chosen = reinterpret_cast<HWND>(SendMessage(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    }
  }
  return FALSE;
}

DialogItemTemplate Item(const char* cls, const char* title, DWORD style, short x, short y, short cx, short cy, DWORD id) {
  DialogItemTemplate item;
  item.style = style | WS_CHILD | WS_VISIBLE;
  item.x = x;
  item.y = y;
  item.cx = cx;
  item.cy = cy;
  item.id = id;
  item.windowClass.text = cls;
  item.title.text = title;
  return item;
}

}  // namespace

HWND ChooseWindow(Client& c) {
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  t.title = "Select Window";
  t.cx = 170;
  t.cy = 100;
  t.hasFont = true;
  t.pointSize = 8;
  t.faceName = "MS Sans Serif";
  t.items.push_back(Item("Static", "&Select Window:", SS_LEFT, 7, 7, 100, 8, static_cast<DWORD>(-1)));
  t.items.push_back(Item("ListBox", "", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 7, 18,
                         100, 75, kListId));
  t.items.push_back(Item("Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 113, 18, 50, 14, IDOK));
  t.items.push_back(Item("Button", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 113, 36, 50, 14, IDCANCEL));
  ChooseState state{&c};
  HWND owner = GetAncestor(c.frame, GA_ROOT);
  HWND dialog = CreateDialogFromTemplate(nullptr, t, owner, ChooseProc, reinterpret_cast<LPARAM>(&state));
  if (dialog == nullptr) return nullptr;
  return RunModalDialog(dialog, owner) == IDOK && IsWindow(state.chosen) ? state.chosen : nullptr;
}

namespace {

void ActivateFromMenu(Client& c, HWND child) {
  if (child == nullptr || !IsWindow(child)) return;
  if (IsIconic(child)) ShowWindow(child, SW_RESTORE);
  Activate(c, child);
}

// Opens a child's system menu under its icon (or the menu bar's system-menu item) and carries out
// the command chosen.
void TrackSystemMenu(HWND child) {
  HMENU menu = GetSystemMenu(child, FALSE);
  if (menu == nullptr) return;
  RECT r;
  GetWindowRect(child, &r);
  POINT at{r.left, r.top + GetSystemMetrics(SM_CYCAPTION)};
  if (IsZoomed(child)) {
    HWND client = MdiClientOf(child);
    Client* c = ClientOf(client);
    RECT item;
    if (c != nullptr && GetMenuItemRect(c->frame, c->frameMenu, 0, &item)) at = POINT{item.left, item.bottom};
  }
  UINT id = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTBUTTON, at.x, at.y, 0, child, nullptr));
  if (id != 0 && IsWindow(child)) SendMessage(child, WM_SYSCOMMAND, id, 0);
}

void PrepareSystemMenu(HWND child) {
  HMENU menu = GetSystemMenu(child, FALSE);
  if (menu == nullptr || GetMenuState(menu, SC_NEXTWINDOW, MF_BYCOMMAND) != static_cast<UINT>(-1)) return;
  ModifyMenu(menu, SC_CLOSE, MF_BYCOMMAND | MF_STRING, SC_CLOSE, "&Close\tCtrl+F4");
  AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenu(menu, MF_STRING, SC_NEXTWINDOW, "Nex&t\tCtrl+F6");
}

}  // namespace
}  // namespace brambolt::mdi

using namespace brambolt;
using namespace brambolt::mdi;

LRESULT DefFrameProc(HWND frame, HWND mdiClient, UINT msg, WPARAM wParam, LPARAM lParam) {
  Client* c = ClientOf(mdiClient);
  if (c == nullptr) return DefWindowProc(frame, msg, wParam, lParam);
  switch (msg) {
    case WM_COMMAND: {
      UINT id = LOWORD(wParam);
      if (lParam == 0 && id >= c->idFirst && id < c->idFirst + MDI_MOREWINDOWS_OFFSET) {
        size_t index = id - c->idFirst;
        if (index < c->children.size()) ActivateFromMenu(*c, c->children[index]);
        return 0;
      }
      if (lParam == 0 && id == c->idFirst + MDI_MOREWINDOWS_OFFSET) {
        ActivateFromMenu(*c, ChooseWindow(*c));
        return 0;
      }
      // The system commands of a maximised child's menu-bar items go to the child.
      if (lParam == 0 && id >= 0xF000 && c->active != nullptr && IsZoomed(c->active)) {
        SendMessage(c->active, WM_SYSCOMMAND, id, 0);
        return 0;
      }
      return 0;
    }
    case WM_NCACTIVATE:
      if (c->active != nullptr && IsWindow(c->active)) SendMessage(c->active, WM_NCACTIVATE, wParam, 0);
      return DefWindowProc(frame, msg, wParam, lParam);
    case WM_SETTEXT:
      c->frameTitle = lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "";
      UpdateFrameTitle(*c);
      return TRUE;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) MoveWindow(mdiClient, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      SetFocus(mdiClient);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_NEXTWINDOW || (wParam & 0xFFF0) == SC_PREVWINDOW) {
        SendMessage(mdiClient, WM_MDINEXT, 0, (wParam & 0xFFF0) == SC_PREVWINDOW);
        return 0;
      }
      return DefWindowProc(frame, msg, wParam, lParam);
    default:
      return DefWindowProc(frame, msg, wParam, lParam);
  }
}

LRESULT DefMDIChildProc(HWND child, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND client = MdiClientOf(child);
  Client* c = ClientOf(client);
  if (c == nullptr) return DefWindowProc(child, msg, wParam, lParam);
  switch (msg) {
    case WM_CREATE:
      if (std::find(c->children.begin(), c->children.end(), child) == c->children.end()) c->children.push_back(child);
      PrepareSystemMenu(child);
      return DefWindowProc(child, msg, wParam, lParam);
    case WM_SETTEXT: {
      LRESULT r = DefWindowProc(child, msg, wParam, lParam);
      RefreshWindowMenu(*c);
      if (child == c->active) UpdateFrameTitle(*c);
      return r;
    }
    case WM_GETMINMAXINFO: {
      LRESULT r = DefWindowProc(child, msg, wParam, lParam);
      auto* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
      RECT max = MaximizedRect(client, child);
      mmi->ptMaxPosition = POINT{max.left, max.top};
      mmi->ptMaxSize = POINT{max.right - max.left, max.bottom - max.top};
      mmi->ptMaxTrackSize.x = std::max(mmi->ptMaxTrackSize.x, mmi->ptMaxSize.x);
      mmi->ptMaxTrackSize.y = std::max(mmi->ptMaxTrackSize.y, mmi->ptMaxSize.y);
      return r;
    }
    case WM_MOUSEACTIVATE: {
      LRESULT r = DefWindowProc(child, msg, wParam, lParam);
      if (r != MA_NOACTIVATE && r != MA_NOACTIVATEANDEAT && child != c->active) Activate(*c, child);
      return r;
    }
    case WM_SHOWWINDOW:
      // The active child that hides gives its place to the one below it.
      if (!wParam && child == c->active) Leave(*c, child, true);
      return DefWindowProc(child, msg, wParam, lParam);
    case WM_CHILDACTIVATE:
    case WM_SETFOCUS:
      if (child != c->active && IsWindowVisible(child)) Activate(*c, child);
      return 0;
    case WM_SIZE: {
      LRESULT r = DefWindowProc(child, msg, wParam, lParam);
      // Maximising an inactive child makes it the active one; the old maximised one goes back.
      if (wParam == SIZE_MAXIMIZED) {
        if (child != c->active) {
          Activate(*c, child);
        } else {
          for (HWND other : c->children)
            if (other != child && IsZoomed(other)) ShowWindow(other, SW_SHOWNOACTIVATE);
        }
      }
      // The active child holds the keyboard itself while minimised, where its own windows cannot
      // take it; out of that state it hands the keyboard on to them again (a frame to its view).
      if (wParam != SIZE_MINIMIZED && child == c->active && GetFocus() == child && !IsIconic(child))
        SendMessage(child, WM_SETFOCUS, reinterpret_cast<WPARAM>(child), 0);
      SyncMaximized(*c);
      return r;
    }
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
          SendMessage(client, WM_MDINEXT, reinterpret_cast<WPARAM>(child), (wParam & 0xFFF0) == SC_PREVWINDOW);
          return 0;
        case SC_MOUSEMENU:
          if ((wParam & 0x000F) == HTSYSMENU) TrackSystemMenu(child);
          return 0;
        case SC_KEYMENU:
          if (lParam == '-' || lParam == ' ') {
            TrackSystemMenu(child);
            return 0;
          }
          // Other menu keys belong to the frame's menu bar.
          return SendMessage(c->frame, WM_SYSCOMMAND, wParam, lParam);
      }
      return DefWindowProc(child, msg, wParam, lParam);
    case WM_NCLBUTTONDOWN:
      if (wParam == HTSYSMENU) {
        if (child != c->active) Activate(*c, child);
        TrackSystemMenu(child);
        return 0;
      }
      return DefWindowProc(child, msg, wParam, lParam);
    case WM_CLOSE:
      SendMessage(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
      return 0;
    case WM_DESTROY:
    case WM_NCDESTROY:
      Forget(*c, child);
      return DefWindowProc(child, msg, wParam, lParam);
    default:
      return DefWindowProc(child, msg, wParam, lParam);
  }
}

BOOL TranslateMDISysAccel(HWND mdiClient, LPMSG msg) {
  Client* c = ClientOf(mdiClient);
  if (c == nullptr || msg == nullptr) return FALSE;
  if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return FALSE;
  HWND active = c->active;
  if (active == nullptr || !IsWindow(active) || !IsWindowEnabled(active)) return FALSE;
  if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) return FALSE;
  WPARAM command = 0;
  if (msg->wParam == VK_F4) command = SC_CLOSE;
  else if (msg->wParam == VK_F6) command = GetKeyState(VK_SHIFT) < 0 ? SC_PREVWINDOW : SC_NEXTWINDOW;
  if (command == 0) return FALSE;
  SendMessage(active, WM_SYSCOMMAND, command, MAKELPARAM(msg->wParam, 0));
  return TRUE;
}
