// A stand-in for CUPS's lpstat while a test runs: the printer list the dialogs read is the one
// the test gives, and no real program starts.
#pragma once

#include <unistd.h>

#include <string>
#include <vector>

#include "os/Process.h"

namespace brambolt::test {

class FakeCups {
 public:
  // `printers` are the destinations `lpstat -e` lists, `defaultPrinter` what `lpstat -d` names
  // ("" for none). With `installed` false, lpstat is not found.
  explicit FakeCups(std::vector<std::string> printers = {}, std::string defaultPrinter = "", bool installed = true)
      : printers_(std::move(printers)),
        default_(std::move(defaultPrinter)),
        hook_(
            [this, installed](const SpawnRequest& r) { return installed ? Answer(r) : DWORD{ERROR_FILE_NOT_FOUND}; }) {}
  int Calls() const { return calls_; }

 private:
  DWORD Answer(const SpawnRequest& request) {
    if (request.argv.size() != 2 || request.argv[0] != "lpstat") return ERROR_FILE_NOT_FOUND;
    ++calls_;
    std::string text;
    if (request.argv[1] == "-e")
      for (const std::string& p : printers_) text += p + "\n";
    else if (request.argv[1] == "-d")
      text = default_.empty() ? "no system default destination\n" : "system default destination: " + default_ + "\n";
    if (request.standardOutput >= 0 && !text.empty() && ::write(request.standardOutput, text.data(), text.size()) < 0)
      return ERROR_WRITE_FAULT;
    return 0;
  }

  std::vector<std::string> printers_;
  std::string default_;
  int calls_ = 0;
  ScopedSpawnHook hook_;
};

}  // namespace brambolt::test
