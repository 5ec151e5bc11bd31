// What the common dialogs share: items of the templates they build, and folders on disk.
#pragma once

#include <string>

#include "res/ResourceTemplates.h"
#include "win/WinUser.h"

namespace brambolt::ctl {

// A visible child item of a built-in template, in dialog units.
DialogItemTemplate DialogItem(const char* cls, const char* text, DWORD style, short x, short y, short cx, short cy,
                              int id);
// An existing folder's path in the system's spelling, without a trailing separator; empty when
// `path` names no folder.
std::string ExistingFolder(const std::string& path);
// A folder and a name joined with one separator.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace brambolt::ctl
