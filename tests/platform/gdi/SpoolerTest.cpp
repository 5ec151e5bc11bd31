// The CUPS spooler when no print server answers: the job's refusal says so and names the server,
// instead of the reason of the failed connection alone.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cups/cups.h>

#include <fstream>
#include <string>

#include "gdi/Spooler.h"

namespace {

TEST(CupsSpooler, NoPrintServerIsToldAsSuch) {
  const std::string folder = testing::TempDir();
  const std::string socket = folder + "/no-print-server-" + std::to_string(::getpid()) + ".sock";
  const std::string pdf = folder + "/job-" + std::to_string(::getpid()) + ".pdf";
  std::ofstream(pdf) << "%PDF-1.4\n%%EOF\n";
  cupsSetServer(socket.c_str());
  std::string error;
  EXPECT_EQ(brambolt::Spooler().Submit("Office", pdf, "Lines", 1, false, &error), 0);
  cupsSetServer(nullptr);
  ::unlink(pdf.c_str());
  EXPECT_EQ(error.rfind("No print server answers at " + socket, 0), 0u) << error;
}

}  // namespace
