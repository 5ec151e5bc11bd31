// Reading what a started program writes to its standard output.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>

#include "base/LastError.h"
#include "os/Process.h"

namespace {

using brambolt::ReadProgramOutput;
using brambolt::SpawnRequest;

SpawnRequest Request(std::vector<std::string> argv) {
  SpawnRequest request;
  request.program = argv.front();
  request.argv = std::move(argv);
  return request;
}

TEST(ProgramOutput, IsCollectedUntilTheProgramEnds) {
  std::string output;
  DWORD error = 0;
  ASSERT_TRUE(ReadProgramOutput(Request({"printf", "first\\nsecond\\n"}), &output, &error));
  EXPECT_EQ(output, "first\nsecond\n");
}

TEST(ProgramOutput, ErrorsJoinTheOutputWhenAsked) {
  std::string output;
  DWORD error = 0;
  SpawnRequest request = Request({"sh", "-c", "echo out; echo err >&2; echo more"});
  ASSERT_TRUE(ReadProgramOutput(request, &output, &error));
  EXPECT_EQ(output, "out\nmore\n");
  request.errorsToOutput = true;
  ASSERT_TRUE(ReadProgramOutput(request, &output, &error));
  EXPECT_EQ(output, "out\nerr\nmore\n");
}

TEST(ProgramOutput, ProgramsRunInTheCLocale) {
  setenv("LANG", "zh_CN.UTF-8", 1);
  setenv("LC_MESSAGES", "zh_CN.UTF-8", 1);
  std::string output;
  DWORD error = 0;
  bool ok = ReadProgramOutput(Request({"env"}), &output, &error);
  unsetenv("LANG");
  unsetenv("LC_MESSAGES");
  ASSERT_TRUE(ok);
  EXPECT_NE(output.find("LC_ALL=C\n"), std::string::npos);
  EXPECT_EQ(output.find("zh_CN"), std::string::npos);
}

TEST(ProgramOutput, AMissingProgramFailsWithItsError) {
  std::string output = "stale";
  DWORD error = 0;
  EXPECT_FALSE(ReadProgramOutput(Request({"no-such-program-for-brambolt"}), &output, &error));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(output.empty());
}

TEST(ProgramOutput, ASpawnHookCanAnswerWithOutput) {
  brambolt::ScopedSpawnHook hook([](const SpawnRequest& r) -> DWORD {
    EXPECT_GE(r.standardOutput, 0);
    return ::write(r.standardOutput, "hooked\n", 7) == 7 ? 0 : ERROR_WRITE_FAULT;
  });
  std::string output;
  DWORD error = 0;
  ASSERT_TRUE(ReadProgramOutput(Request({"anything"}), &output, &error));
  EXPECT_EQ(output, "hooked\n");
}

}  // namespace
