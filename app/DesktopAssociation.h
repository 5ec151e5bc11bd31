// The .dcp association as the Linux desktop keeps it: a desktop entry for the program and a MIME
// type for "*.dcp" under $XDG_DATA_HOME (~/.local/share when unset), with the desktop's caches
// brought up to date when their tools are installed.
#pragma once

#include <string>

// The MIME type of a project file.
inline constexpr const char* kDcpMimeType = "application/x-brambolt-project";

// The desktop entry that opens project files with the program at this (native) path.
std::string MakeDcpDesktopEntry(const std::string& programPath);
// The shared-mime-info package that names "*.dcp" files.
std::string MakeDcpMimePackage();
// Writes both files (only when their text changed; then the caches are updated through
// update-desktop-database and update-mime-database when present). FALSE when a file could not be
// written.
bool RegisterDcpWithDesktop(const std::string& programPath);
