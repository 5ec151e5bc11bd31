// A test fixture that runs each test in a fixed time zone and restores the previous one.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

// US Eastern rules written out, so no zone database is needed.
class FixedTimeZone : public ::testing::Test {
 protected:
  static constexpr const char* kEastern = "EST5EDT,M3.2.0,M11.1.0";

  void SetUp() override {
    if (const char* tz = std::getenv("TZ")) previous_ = tz;
    Use(kEastern);
  }
  void TearDown() override {
    if (previous_)
      setenv("TZ", previous_->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }
  static void Use(const char* tz) {
    setenv("TZ", tz, 1);
    tzset();
  }

 private:
  std::optional<std::string> previous_;
};
