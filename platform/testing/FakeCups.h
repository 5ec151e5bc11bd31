// A stand-in for CUPS while a test runs: the printer list the dialogs read (lpstat) is the one
// the test gives, and printer jobs are kept instead of printed. No real program starts and no
// server is asked.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/LastError.h"
#include "gdi/Spooler.h"
#include "os/Process.h"

namespace brambolt::test {

class FakeCups : public PrintSpooler {
 public:
  // A job as CUPS would have received it.
  struct Job {
    std::string printer, title;
    int copies = 1;
    bool collate = false;
    std::string pdf;  // the file's bytes
  };

  // `printers` are the destinations `lpstat -e` lists, `defaultPrinter` what `lpstat -d` names
  // ("" for none). With `installed` false, lpstat is not found.
  explicit FakeCups(std::vector<std::string> printers = {}, std::string defaultPrinter = "", bool installed = true)
      : printers_(std::move(printers)),
        default_(std::move(defaultPrinter)),
        hook_(
            [this, installed](const SpawnRequest& r) { return installed ? Answer(r) : DWORD{ERROR_FILE_NOT_FOUND}; }),
        previous_(SetSpooler(this)) {}
  ~FakeCups() override { SetSpooler(previous_); }
  FakeCups(const FakeCups&) = delete;
  FakeCups& operator=(const FakeCups&) = delete;
  int Calls() const { return calls_; }

  const std::vector<Job>& Jobs() const { return jobs_; }
  // From now on jobs are refused with this reason ("" takes them again).
  void RefuseJobs(std::string reason) { refusal_ = std::move(reason); }
  // The margins the printers report (none by default).
  void SetMargins(PaperMargins margins) {
    margins_ = margins;
    hasMargins_ = true;
  }

  // The printer is removed from the print system, as its administrator does.
  void RemovePrinter(const std::string& printer) {
    std::erase(printers_, printer);
    removed_.push_back(printer);
  }

  int Submit(const std::string& printer, const std::string& pdfPath, const std::string& title, int copies,
             bool collate, std::string* error) override {
    if (!refusal_.empty()) {
      *error = refusal_;
      return 0;
    }
    if (std::find(removed_.begin(), removed_.end(), printer) != removed_.end()) {
      *error = "No such file or directory";  // what CUPS says of a destination it no longer has
      return 0;
    }
    std::ifstream in(pdfPath, std::ios::binary);
    jobs_.push_back(Job{printer, title, copies, collate, std::string(std::istreambuf_iterator<char>(in), {})});
    return static_cast<int>(jobs_.size()) + 100;
  }
  bool Margins(const std::string&, int, int, PaperMargins* margins) override {
    if (hasMargins_) *margins = margins_;
    return hasMargins_;
  }
  bool HasPrinter(const std::string& printer) override {
    return std::find(removed_.begin(), removed_.end(), printer) == removed_.end();
  }

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
  PrintSpooler* previous_;
  std::vector<Job> jobs_;
  std::string refusal_;
  std::vector<std::string> removed_;
  PaperMargins margins_;
  bool hasMargins_ = false;
};

}  // namespace brambolt::test
