// Which backend a process gets, and which top-level windows bypass the X window manager.
#include <gtest/gtest.h>

#include <cstring>

#include "backend/X11Backend.h"
#include "win/win.h"

using namespace brambolt;

namespace {

TEST(BackendChoice, TheVariableWinsElseTheDisplayDecides) {
  const struct {
    const char* backend;
    const char* display;
    const char* expected;
  } cases[] = {
      {nullptr, nullptr, "headless"}, {nullptr, "", "headless"},     {nullptr, ":0", "x11"},
      {"headless", ":0", "headless"}, {"x11", nullptr, "x11"},        {"x11", ":1", "x11"},
      {"bogus", ":0", "x11"},         {"bogus", nullptr, "headless"}, {"", nullptr, "headless"},
  };
  for (const auto& c : cases)
    EXPECT_STREQ(ChooseBackendName(c.backend, c.display), c.expected)
        << (c.backend ? c.backend : "(unset)") << " / " << (c.display ? c.display : "(unset)");
}

TEST(BackendChoice, AnUnreachableDisplayGivesNoBackend) {
  EXPECT_EQ(OpenX11Backend(":9999"), nullptr);
}

TEST(X11Windows, CaptionlessPopupsBypassTheWindowManager) {
  const struct {
    DWORD style, exStyle;
    bool overrideRedirect;
  } cases[] = {
      {WS_POPUP, 0, true},                                   // menu, splash
      {WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW, true},        // tip, drop-down
      {WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, false},        // dialog
      {WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, false},      // mini frame
      {WS_POPUP | WS_THICKFRAME, 0, false},                  // sizable popup
      {WS_POPUP, WS_EX_APPWINDOW, false},                    // wants a task of its own
      {WS_OVERLAPPEDWINDOW, 0, false},                       // frame
      {WS_OVERLAPPED, WS_EX_TOOLWINDOW, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsOverrideRedirectStyle(c.style, c.exStyle), c.overrideRedirect)
        << std::hex << c.style << " " << c.exStyle;
}

}  // namespace
