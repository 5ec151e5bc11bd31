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

}  // namespace ctltest
