// Names of the temporary files the program makes beside a file it replaces (or in its cache
// folder), each of which carries the process that owns it, so that a file another process is
// still writing is never taken for what a killed process left, and a user's own file never is.
//
// The form is "." + stem + "." + tag + process id + "." + 12 lowercase hex digits, where the stem
// is usually the target's own name, shortened (at a character boundary) so that the whole name
// stays within the 255 bytes a file system allows in a name. Not public API.
#pragma once

#include <sys/types.h>

#include <string>

namespace brambolt::owned_name {

// The longest name a folder entry may have.
constexpr std::size_t kNameLimit = 255;

// The part of every name of this stem and tag before the owner's process id.
std::string Prefix(const std::string& stem, const std::string& tag);

// A fresh name of this process in the folder (the full path).
std::string Make(const std::string& folder, const std::string& stem, const std::string& tag);

// Creates a fresh file of this process in the folder, only for its owner, neither following nor
// replacing anything at its name. The descriptor (its path in `path`), or -1 with errno set.
int Create(const std::string& folder, const std::string& stem, const std::string& tag, std::string& path);

// The process id a folder entry's name carries when it has exactly the form of this stem and tag
// (any stem when `stem` is empty), else 0.
pid_t OwnerOf(const std::string& name, const std::string& stem, const std::string& tag);

// Whether the process of that id has ended (a process of another user still counts as alive).
bool OwnerGone(pid_t pid);

// Removes the regular files of the folder that have the form of this stem and tag (any stem when
// empty) and whose owner has ended: what killed processes left. Nothing else is touched.
void RemoveDeadLeftovers(const std::string& folder, const std::string& stem, const std::string& tag);

}  // namespace brambolt::owned_name
