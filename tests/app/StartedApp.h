// The application object of a test, started as the program starts it and ended with the test.
#pragma once

#include <gtest/gtest.h>

#include "InkwrightAppSession.h"

namespace apptest {

// The application started in a private home and a headless session, its message boxes answered,
// and ended with the test. The splash has had its three seconds when the test acts, as it has when
// a person does: a press while it shows only closes it.
struct StartedApp {
  AppHome home;
  brambolt::test::UiSession session;
  AnsweredBoxes boxes;
  TestApp app;
  StartedApp() {
    EXPECT_TRUE(app.InitInstance());
    if (::FindWindow(nullptr, "SECSplashWnd") != nullptr) brambolt::test::AdvanceClock(3100);
  }
  ~StartedApp() { app.End(); }
};

}  // namespace apptest
