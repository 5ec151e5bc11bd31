// Names of the temporary files the program makes beside a file it replaces (or in its cache
// folder), each of which carries the process that owns it, so that a file another process is
// still writing is never taken for what a killed process left, and a user's own file never is.
//
// The form is "." + stem + "." + tag + owner + "." + 12 lowercase hex digits, where the owner is
// "<process id>-<start>-<boot>": the process's start time in clock ticks after boot and the first
// 8 hex digits of the boot's id, so that a later process given the same id (after the owner ended,
// or after a reboot) is never taken for the owner. Names of the older form carry the process id
// alone ("." + stem + "." + tag + process id + "." + 12 hex digits); they are still recognised, and
// the two forms never read as each other. The stem is usually the target's own name, shortened
// (at a character boundary, keeping at least one byte) so that the whole name stays within the
// 255 bytes a file system allows in a name. A tag ends in a character that is not a digit.
// Not public API.
#pragma once

#include <sys/stat.h>
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
// replacing anything at its name, and takes its lock (flock) for as long as the descriptor is
// open. The descriptor (its path in `path`), or -1 with errno set.
int Create(const std::string& folder, const std::string& stem, const std::string& tag, std::string& path);

// The process id a folder entry's name carries when it has exactly the form of this stem and tag
// (any stem when `stem` is empty), else 0.
pid_t OwnerOf(const std::string& name, const std::string& stem, const std::string& tag);

// Whether the process of that id has ended (a process of another user still counts as alive).
bool OwnerGone(pid_t pid);

// The process that made a name, as far as the name tells.
struct Owner {
  pid_t pid = 0;                  // 0: the name does not have the form
  bool identified = false;        // the name carries the start time and the boot (current form)
  unsigned long long start = 0;   // clock ticks after boot
  std::string boot;               // 8 lowercase hex digits
};

// The owner of a folder entry's name of exactly the form of this stem and tag (any stem when
// `stem` is empty), in either form.
Owner OwnerOfName(const std::string& name, const std::string& stem, const std::string& tag);

// Whether the process that made the name has ended: another boot, no process of its id, or one
// that started at another time. A name of the older form tells only the id: there `entry` (the
// entry's status, when known) shows a later process of that id, one started after the entry last
// changed.
bool MakerGone(const Owner& owner, const struct stat* entry = nullptr);

// Removes the regular files of the folder that have the form of this stem and tag (any stem when
// empty) and whose owner has ended: what killed processes left. A file whose lock (flock) a
// process holds is its maker's, still being written, and stays. Nothing else is touched.
void RemoveDeadLeftovers(const std::string& folder, const std::string& stem, const std::string& tag);

}  // namespace brambolt::owned_name
