// The X11 backend: each shown top-level window is an undecorated X window (popups, menus and
// tips override-redirect) showing its surface; X input enters as the tests' input does; the
// cursor, pointer grabs, the desktop overlay, the CLIPBOARD selection and the bell.
#pragma once

#include <memory>

#include "win/Backend.h"

namespace brambolt {

// Connects to `display` (DISPLAY when null) and sizes the screen after it; null when the display
// cannot be opened. The calling thread becomes the user-interface thread: the only one that talks
// to the X server. Calls the window manager makes on other threads are carried out there at its
// next look at the display.
std::shared_ptr<Backend> OpenX11Backend(const char* display = nullptr);

// The backend an environment asks for: BRAMBOLT_BACKEND ("headless" or "x11") when set and known,
// else "x11" when DISPLAY is set and not empty, else "headless".
const char* ChooseBackendName(const char* backendVariable, const char* displayVariable);

// Whether a top-level window of these styles is shown without the window manager's involvement
// (override-redirect): popups without a caption or sizing border (menus, tips, drop-downs, the
// splash), which must appear at once, where the platform puts them; not those that ask for a task
// of their own (WS_EX_APPWINDOW).
bool IsOverrideRedirectStyle(DWORD style, DWORD exStyle);

}  // namespace brambolt
