// A small platform program for the X11 smoke test: a frame with coloured panels, a tip popup, an
// outline drawn on the desktop and a dialog with every standard control. It prints where to look
// and click, then records the input that arrives; its exit code says what was missing (0: all).
#include <cstdio>
#include <cstring>
#include <string>

#include "ControlsTest.h"
#include "backend/backend.h"
#include "controls/controls.h"
#include "win/Surfaces.h"

using namespace brambolt;

namespace {

enum Missing {
  kTyped = 1,         // the characters "ok"
  kShortcut = 2,      // Ctrl+S as a key with Control down
  kClick = 4,         // a left click on the blue panel
  kDoubleClick = 8,   // a double click there
  kWheel = 16,        // a wheel notch away from the user
  kChecked = 32,      // the dialog's check box clicked on
  kConfirmed = 64,    // a Z typed into the dialog's edit, then its OK button clicked
  kTimedOut = 128,    // no close request came (exit codes stop at 255)
};

struct Seen {
  std::string typed;
  bool shortcut = false;
  int clicks = 0;
  int doubleClicks = 0;
  int wheel = 0;
  bool checked = false;
  bool edited = false;
  bool confirmed = false;
} g_seen;

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 160, 0), kBlue = RGB(0, 0, 255);
constexpr UINT_PTR kGuardTimer = 1;

int Result() {
  int missing = 0;
  if (g_seen.typed != "ok") missing |= kTyped;
  if (!g_seen.shortcut) missing |= kShortcut;
  if (g_seen.clicks < 1) missing |= kClick;
  if (g_seen.doubleClicks < 1) missing |= kDoubleClick;
  if (g_seen.wheel != WHEEL_DELTA) missing |= kWheel;
  if (!g_seen.checked) missing |= kChecked;
  if (!g_seen.edited || !g_seen.confirmed) missing |= kConfirmed;
  return missing;
}

// Tells the test once everything has arrived, so that it can close the window.
void Announce() {
  static bool announced = false;
  if (announced || Result() != 0) return;
  announced = true;
  std::printf("COMPLETE\n");
  std::fflush(stdout);
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtr(hwnd, GWLP_USERDATA)));
      FillRect(hdc, &r, brush);
      DeleteObject(brush);
      char text[64];
      GetWindowText(hwnd, text, sizeof(text));
      SetBkMode(hdc, TRANSPARENT);
      SetTextColor(hdc, RGB(255, 255, 255));
      TextOut(hdc, 6, 6, text, static_cast<int>(std::strlen(text)));
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
      if (GetDlgCtrlID(hwnd) == 3) ++g_seen.clicks;
      Announce();
      return 0;
    case WM_LBUTTONDBLCLK:
      if (GetDlgCtrlID(hwnd) == 3) ++g_seen.doubleClicks;
      Announce();
      return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CHAR:
      if (wParam >= 0x20 && wParam < 0x7F) g_seen.typed += static_cast<char>(wParam);
      Announce();
      return 0;
    case WM_KEYDOWN:
      if (wParam == 'S' && GetKeyState(VK_CONTROL) < 0) g_seen.shortcut = true;
      Announce();
      return 0;
    case WM_MOUSEWHEEL:
      g_seen.wheel += GET_WHEEL_DELTA_WPARAM(wParam);
      Announce();
      return 0;
    case WM_TIMER:
      if (wParam == kGuardTimer) {
        KillTimer(hwnd, kGuardTimer);
        PostQuitMessage(Result() | kTimedOut);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(Result());
      return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK TipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    FillRect(hdc, &r, GetSysColorBrush(COLOR_INFOBK));
    SetBkMode(hdc, TRANSPARENT);
    TextOut(hdc, 4, 2, "A tip popup", 11);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case IDC_CHECK:
      g_seen.checked = IsDlgButtonChecked(dialog, IDC_CHECK) == BST_CHECKED;
      break;
    case IDC_EDIT:
      if (HIWORD(wParam) == EN_CHANGE) {
        char text[64] = {};
        GetDlgItemText(dialog, IDC_EDIT, text, sizeof(text));
        g_seen.edited = std::strchr(text, 'Z') != nullptr;
      }
      break;
    case IDOK:
      g_seen.confirmed = true;
      DestroyWindow(dialog);
      break;
    case IDCANCEL:
      DestroyWindow(dialog);
      break;
    default:
      return FALSE;
  }
  Announce();
  return TRUE;
}

void Register(const char* name, WNDPROC proc, UINT style) {
  WNDCLASS wc{};
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  RegisterClass(&wc);
}

HWND Panel(HWND parent, int id, const char* text, COLORREF color, int x, int y) {
  HWND panel = CreateWindowEx(0, "SmokePanel", text, WS_CHILD | WS_VISIBLE, x, y, 120, 90, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  SetWindowLongPtr(panel, GWLP_USERDATA, static_cast<LONG_PTR>(color));
  return panel;
}

POINT Center(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void Say(const char* what, POINT p, COLORREF expected) {
  std::printf("%s %ld %ld %02X%02X%02X\n", what, static_cast<long>(p.x), static_cast<long>(p.y),
              GetRValue(expected), GetGValue(expected), GetBValue(expected));
}

}  // namespace

int main() {
  std::shared_ptr<Backend> backend = InstallBackendFromEnvironment();
  if (std::strcmp(backend->Name(), "x11") != 0) {
    std::fprintf(stderr, "x11_smoke: no X display\n");
    return 3;
  }
  RegisterStandardControls();
  Register("SmokeFrame", FrameProc, 0);
  Register("SmokePanel", PanelProc, CS_DBLCLKS);
  Register("SmokeTip", TipProc, 0);
  HWND frame = CreateWindowEx(0, "SmokeFrame", "Brambolt X11 smoke", WS_OVERLAPPEDWINDOW, 40, 40, 460, 260,
                              nullptr, nullptr, nullptr, nullptr);
  HWND red = Panel(frame, 1, "Red", kRed, 10, 10);
  HWND green = Panel(frame, 2, "Green", kGreen, 150, 10);
  HWND blue = Panel(frame, 3, "Blue", kBlue, 290, 10);
  ShowWindow(frame, SW_SHOW);
  UpdateWindow(frame);
  SetFocus(frame);
  RECT fr;
  GetWindowRect(frame, &fr);
  HWND tip = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "SmokeTip", "", WS_POPUP | WS_BORDER,
                            fr.left + 200, fr.bottom - 60, 120, 22, frame, nullptr, nullptr, nullptr);
  ShowWindow(tip, SW_SHOWNOACTIVATE);
  UpdateWindow(tip);

  HWND dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(IDD_EVERY_CONTROL), frame, DialogProc, 0);
  SetWindowPos(dialog, nullptr, fr.right + 20, fr.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const char* s : {"Alpha", "Beta", "Gamma"}) {
    SendDlgItemMessage(dialog, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    SendDlgItemMessage(dialog, IDC_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  }
  SendDlgItemMessage(dialog, IDC_LIST, LB_SETCURSEL, 1, 0);
  SendDlgItemMessage(dialog, IDC_COMBO, CB_SETCURSEL, 0, 0);
  ShowWindow(dialog, SW_SHOW);

  // An XOR outline on the desktop around the green panel, three pixels wide.
  RECT g;
  GetWindowRect(green, &g);
  InflateRect(&g, 6, 6);
  HDC screen = GetDC(nullptr);
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  HGDIOBJ old = SelectObject(screen, white);
  PatBlt(screen, g.left, g.top, g.right - g.left, 3, PATINVERT);
  PatBlt(screen, g.left, g.bottom - 3, g.right - g.left, 3, PATINVERT);
  PatBlt(screen, g.left, g.top + 3, 3, g.bottom - g.top - 6, PATINVERT);
  PatBlt(screen, g.right - 3, g.top + 3, 3, g.bottom - g.top - 6, PATINVERT);
  SelectObject(screen, old);
  DeleteObject(white);
  ReleaseDC(nullptr, screen);

  // Let the windows reach the server and paint before saying where things are.
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  Surface composed(1, 1);
  ComposeScreen(composed);
  POINT tipPoint{fr.left + 300, fr.bottom - 50};
  POINT outline{g.left + 1, (g.top + g.bottom) / 2};
  Say("PIXEL", Center(red), kRed);
  Say("PIXEL", Center(blue), kBlue);
  Say("PIXEL", Center(green), kGreen);
  Say("PIXEL", tipPoint, composed.GetColor(tipPoint.x, tipPoint.y));
  Say("PIXEL", outline, composed.GetColor(outline.x, outline.y));
  Say("CLICK", Center(blue), kBlue);
  Say("CHECK", Center(GetDlgItem(dialog, IDC_CHECK)), 0);
  Say("EDIT", Center(GetDlgItem(dialog, IDC_EDIT)), 0);
  Say("OK", Center(GetDlgItem(dialog, IDOK)), 0);
  std::printf("READY\n");
  std::fflush(stdout);

  SetTimer(frame, kGuardTimer, 60000, nullptr);
  int code = 0;
  for (;;) {
    BOOL r = GetMessage(&msg, nullptr, 0, 0);
    if (r == 0) {
      code = static_cast<int>(msg.wParam);
      break;
    }
    if (r < 0) return 4;
    if (IsWindow(dialog) && IsDialogMessage(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  std::fprintf(stderr,
               "x11_smoke: typed \"%s\", shortcut %d, clicks %d, double clicks %d, wheel %d, check box %d, "
               "edit %d, OK %d\n",
               g_seen.typed.c_str(), g_seen.shortcut, g_seen.clicks, g_seen.doubleClicks, g_seen.wheel,
               g_seen.checked, g_seen.edited, g_seen.confirmed);
  return code;
}
