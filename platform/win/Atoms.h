// The window manager's string atoms (registered messages, clipboard formats, class atoms).
#pragma once

#include <string>

#include "base/base.h"

namespace brambolt::wm {

// Case-insensitive (ASCII) comparison, as class names and atoms compare on Windows.
int CompareNoCase(const char* a, const char* b);
// The atom of a name, added when new; 0 for an empty name or a full table.
ATOM AddAtom(const char* name);
// The atom of a name already in the table, else 0.
ATOM FindAtomNoAdd(const char* name);
bool AtomName(ATOM atom, std::string& name);

}  // namespace brambolt::wm
