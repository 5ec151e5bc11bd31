// Helpers shared by the control tests.
#include "ControlsTestSupport.h"

#include "win/Input.h"

namespace ctltest {

void PumpDialog(HWND dialog) {
  MSG msg;
  for (int guard = 0; guard < 100000; ++guard) {
    if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (brambolt::PendingInputEvents() == 0) break;
      continue;
    }
    if (IsWindow(dialog) && IsDialogMessage(dialog, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}

void DialogKey(HWND dialog, UINT vk, UINT mods) {
  using namespace brambolt::test;
  if (mods & kCtrl) brambolt::InjectKey(VK_CONTROL, true);
  if (mods & kShift) brambolt::InjectKey(VK_SHIFT, true);
  if (mods & kAlt) brambolt::InjectKey(VK_MENU, true);
  brambolt::InjectKey(vk, true);
  brambolt::InjectKey(vk, false);
  if (mods & kAlt) brambolt::InjectKey(VK_MENU, false);
  if (mods & kShift) brambolt::InjectKey(VK_SHIFT, false);
  if (mods & kCtrl) brambolt::InjectKey(VK_CONTROL, false);
  PumpDialog(dialog);
}

void DialogType(HWND dialog, const std::string& text) {
  brambolt::InjectCharacters(text);
  PumpDialog(dialog);
}

std::vector<Command>& RecordingDialog::Commands() {
  thread_local std::vector<Command> commands;
  return commands;
}

BOOL& RecordingDialog::InitAnswer() {
  thread_local BOOL answer = TRUE;
  return answer;
}

int& RecordingDialog::FocusIdInInit() {
  thread_local int id = 0;
  return id;
}

void RecordingDialog::Reset() {
  Commands().clear();
  InitAnswer() = TRUE;
  FocusIdInInit() = 0;
}

INT_PTR CALLBACK RecordingDialog::Proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      if (FocusIdInInit()) SetFocus(GetDlgItem(dialog, FocusIdInInit()));
      return InitAnswer();
    case WM_COMMAND:
      Commands().push_back(Command{LOWORD(wParam), HIWORD(wParam)});
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
      return TRUE;
  }
  return FALSE;
}

OwnerParent::OwnerParent() {
  WNDCLASS wc{};
  wc.lpfnWndProc = Proc;
  wc.lpszClassName = "OwnerDrawParent";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_3DFACE + 1));
  RegisterClass(&wc);
  Self() = this;
  hwnd_ = CreateWindowEx(0, "OwnerDrawParent", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300, nullptr,
                         nullptr, nullptr, nullptr);
}

OwnerParent::~OwnerParent() {
  DestroyWindow(hwnd_);
  Self() = nullptr;
}

OwnerParent*& OwnerParent::Self() {
  thread_local OwnerParent* self = nullptr;
  return self;
}

LRESULT CALLBACK OwnerParent::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  OwnerParent* self = Self();
  if (self == nullptr) return DefWindowProc(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_MEASUREITEM: {
      auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      self->measured.push_back(m->itemID);
      m->itemHeight = 16 + static_cast<UINT>(m->itemData % 16);
      return TRUE;
    }
    case WM_DRAWITEM:
      self->drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMPAREITEM: {
      auto* c = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam);
      ++self->compares;
      return c->itemData1 < c->itemData2 ? -1 : c->itemData1 > c->itemData2 ? 1 : 0;
    }
    case WM_DELETEITEM:
      self->deleted.push_back(reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->itemData);
      return TRUE;
    case WM_COMMAND:
      self->commands.push_back(HIWORD(wParam));
      return 0;
    case WM_NOTIFY:
      self->notified.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
      return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

std::string Text(HWND hwnd) {
  char buffer[1024] = {};
  GetWindowText(hwnd, buffer, sizeof(buffer));
  return buffer;
}

RECT RectInParent(HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

HIMAGELIST SolidImages(std::initializer_list<COLORREF> colours) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24, static_cast<int>(colours.size()), 1);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  for (COLORREF colour : colours) {
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 16, 16};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    ImageList_Add(list, bitmap, nullptr);
    DeleteObject(bitmap);
  }
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return list;
}

}  // namespace ctltest
