// The one entry for input events, used alike by the X11 backend and by tests: events join the
// system input queue and are routed to windows (capture, hit testing, focus) when a thread
// retrieves them, as on Windows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "win/WinUser.h"

namespace brambolt {

// A mouse move to a screen point.
void InjectMouseMove(POINT screen);
// A button event at a screen point: msg is WM_LBUTTONDOWN/UP, WM_RBUTTONDOWN/UP or
// WM_MBUTTONDOWN/UP.
void InjectMouseButton(UINT msg, POINT screen);
// A wheel turn (delta in WHEEL_DELTA units, positive away from the user).
void InjectMouseWheel(POINT screen, int delta);
// A key going down or up. scan 0 takes the key's usual scan code.
void InjectKey(UINT vk, bool down, UINT scan = 0, bool extended = false);
// Characters that come without keys (an input method): bytes in the ANSI code page, delivered as
// WM_CHAR messages (a double-byte character as lead and trail byte) to the focus window.
void InjectCharacters(const std::string& ansi);
// An input method's composition at the focus window. Its start comes as WM_IME_STARTCOMPOSITION.
// The text it commits (UTF-8) ends it: each character the ANSI code page holds comes as
// WM_IME_CHAR (a double-byte character as lead byte * 256 + trail byte), each one it cannot hold
// is dropped with a beep, then WM_IME_ENDCOMPOSITION. A commit without a start brings its own;
// an empty commit ends a composition the input method cancelled.
void InjectCompositionStart();
void InjectCompositionCommit(const std::string& utf8);
// Characters typed or committed that the ANSI code page cannot hold: refused with a beep, never
// turned into others. The window that has the focus when the refusal reaches it counts it.
void InjectRefusedCharacters();
// How many refusals the window has counted while it had the focus: a window that takes a name
// typed into it tells by a change of it that the name it holds is not the one typed whole.
unsigned RefusedCharacterCount(HWND hwnd);
// Text given to an input of text that left characters out (clipboard text the code page cannot
// hold all of): the window that takes it counts the refusal as if they were typed, with a beep.
void CountRefusedCharacters(HWND hwnd);
// The message by which a window that takes a name refuses one whose characters were left out.
const char* RefusedNameMessage();
// Follows a field that takes a name (a file dialog's, a rename dialog's, a label edit) by its count
// of refused characters: the name it holds is refused when characters typed or pasted into it were
// left out since it was last whole, and stays refused until the user edits it (what is left of
// "テスト.h", ".h", is not a name the user gave).
class RefusedNameWatch {
 public:
  // Starts following the field with the name it holds now taken as whole.
  void Watch(HWND field);
  // The field's text changed (EN_CHANGE): an edit after a refusal makes the name the user's again;
  // an empty field holds nothing of a name that was not whole.
  void Changed();
  // At OK: whether the name the field holds is refused. `madePath`, when given, is the file or
  // folder the name would make: refused too when the system cannot make it as typed (CanMakePath:
  // a character the locale's charset lacks), as long as the field holds it.
  bool Refused(std::string_view madePath = {});

 private:
  HWND field_ = nullptr;
  unsigned count_ = 0;
  bool refused_ = false;
};
// Whether a composition has started and not yet ended.
bool InjectedComposition();
// Keys released while another program or the desktop had the keyboard, so that no window of the
// program saw the release: up in the system's key state and in the calling thread's, without a
// message (an Alt so released opens no menu).
void ForgetReleasedKeys(const std::vector<UINT>& keys);
// Number of input events not yet retrieved by any thread.
size_t PendingInputEvents();
// Forgets pressed keys and buttons, the double-click memory and pending events (tests start clean).
void ResetInputState();

}  // namespace brambolt
