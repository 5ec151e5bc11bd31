// Owned names: which process made a name, told apart from a later process given the same id,
// in the current form and the older one, and stems that must be shortened.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "os/OwnedNames.h"
#include "platform/os/TempDir.h"

namespace {

namespace on = brambolt::owned_name;
namespace fs = std::filesystem;
using brambolt::testing_os::TempDir;

std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

std::string LeafOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// The names this process makes are its own whatever the stem, fit a folder entry, and keep at
// least one byte of the stem; no name reads as a name of another stem or tag.
TEST(OwnedNames, NamesOfAnyStemAreRecognisedAsThisProcesssOwn) {
  const std::vector<std::string> stems = {
      "notes.h", std::string(300, 'a'), std::string(229, '\x80'), "\xE6\x96\x87" + std::string(240, '\xBF'),
      "with.~dots-1-2.copy-3", "~123"};
  for (const std::string& stem : stems) {
    for (const std::string tag : {"~", "copy-", "stage-"}) {
      SCOPED_TRACE(tag + " " + std::to_string(stem.size()));
      const std::string name = LeafOf(on::Make("/folder", stem, tag));
      EXPECT_LE(name.size(), on::kNameLimit);
      EXPECT_GT(name.find("." + tag, 1), 1u) << "the stem was cut to nothing";
      EXPECT_EQ(on::OwnerOf(name, stem, tag), ::getpid());
      EXPECT_EQ(on::OwnerOf(name, "", tag), ::getpid());
      const on::Owner owner = on::OwnerOfName(name, "", tag);
      EXPECT_TRUE(owner.identified);
      EXPECT_FALSE(on::MakerGone(owner));
      EXPECT_EQ(on::OwnerOf(name, "y" + stem, tag), 0);
      EXPECT_EQ(on::OwnerOf(name, "", tag == "~" ? "copy-" : "~"), 0);
    }
  }
}

// A name whose owner has ended is what a killed process left, also when a live process now has
// its id but started at another time; a name of the older form with the id of a live process
// that started before it stays. Other names stay.
TEST(OwnedNames, LeftoversAreThoseOfTheProcessThatMadeThemNotOfItsId) {
  TempDir folder;
  const pid_t pid = ::getpid();
  const std::string self = LeafOf(on::Make(folder.Path(), "a.h", "~"));
  const std::string prefix = on::Prefix("a.h", "~");
  const pid_t ended = [] {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
  }();
  const on::Owner me = on::OwnerOfName(self, "a.h", "~");
  ASSERT_TRUE(me.identified);
  const std::string otherBoot = me.boot == "0badb00f" ? "0badb00e" : "0badb00f";
  const std::string id = std::to_string(pid);
  const std::vector<std::pair<std::string, bool>> names = {
      {self, false},
      {prefix + id + "-" + std::to_string(me.start + 1) + "-" + me.boot + ".0123456789ab", true},  // other start
      {prefix + id + "-" + std::to_string(me.start) + "-" + otherBoot + ".0123456789ab", true},    // other boot
      {prefix + std::to_string(ended) + "-5-00000000.0123456789ab", true},
      {prefix + std::to_string(pid) + ".0123456789ab", false},  // older form, live
      {prefix + std::to_string(ended) + ".0123456789ab", true},  // older form, ended
      {prefix + std::to_string(ended) + ".0123456789aB", false},
      {prefix + std::to_string(ended) + "-x-00000000.0123456789ab", false},
      {"a.h", false},
  };
  std::set<std::string> kept;
  for (const auto& [name, dead] : names) {
    folder.Write(name, "x");
    if (!dead) kept.insert(name);
  }
  on::RemoveDeadLeftovers(folder.Path(), "a.h", "~");
  EXPECT_EQ(Entries(folder.Path()), kept);
}

// A start time of 20 digits is read only up to the largest number: one past it is not of the
// form (it would wrap to another start time and its maker be taken for ended), and is left alone.
TEST(OwnedNames, AStartTimeBeyondTheLargestNumberIsNotOfTheForm) {
  TempDir folder;
  const std::string prefix = on::Prefix("a.h", "~");
  const on::Owner me = on::OwnerOfName(LeafOf(on::Make(folder.Path(), "a.h", "~")), "a.h", "~");
  ASSERT_TRUE(me.identified);
  const std::string id = std::to_string(::getpid());
  const std::string largest = prefix + id + "-18446744073709551615-" + me.boot + ".0123456789ab";
  const on::Owner read = on::OwnerOfName(largest, "a.h", "~");
  EXPECT_EQ(read.pid, ::getpid());
  EXPECT_TRUE(read.identified);
  EXPECT_EQ(read.start, 18446744073709551615ull);
  for (const char* start : {"18446744073709551616", "18446744073709551617", "99999999999999999999"}) {
    SCOPED_TRACE(start);
    const std::string name = prefix + id + "-" + start + "-" + me.boot + ".0123456789ab";
    EXPECT_EQ(on::OwnerOfName(name, "a.h", "~").pid, 0);
    EXPECT_EQ(on::OwnerOfName(name, "", "~").pid, 0);
    folder.Write(name, "x");
  }
  on::RemoveDeadLeftovers(folder.Path(), "a.h", "~");
  EXPECT_EQ(Entries(folder.Path()).size(), 3u);
}

}  // namespace
