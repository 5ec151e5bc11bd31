// The cursor the window manager shows, the standard shapes by their IDC_ ids, and where the
// resource module plugs in the loading of cursors from resources.
#pragma once

#include "win/WinUser.h"

namespace brambolt {

// The IDC_ id of a standard cursor handle (32512 for IDC_ARROW ...), 0 for any other cursor.
int StandardCursorId(HCURSOR cursor);
// LoadCursor with a module handle goes here once the resource module installs a loader.
using CursorResourceLoader = HCURSOR (*)(HINSTANCE instance, LPCSTR name);
void SetCursorResourceLoader(CursorResourceLoader loader);
// The cursor shown now and the ShowCursor count (visible while it is 0 or more).
int CursorShowCount();

}  // namespace brambolt
