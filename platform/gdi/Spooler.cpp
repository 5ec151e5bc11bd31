// Printer jobs through libcups: the job with its copies and collation, and the paper's margins
// from the printer's media description (the imageable area of its PPD).
#include "gdi/Spooler.h"

#include <cups/cups.h>

#include <atomic>
#include <string>

namespace brambolt {
namespace {

// Whether the print server takes a connection now.
bool ServerAnswers() {
  http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr);
  if (http == nullptr) return false;
  httpClose(http);
  return true;
}

// Why CUPS did not take a job. A server that cannot be reached leaves only the reason of the
// failed connection ("No such file or directory" for a missing socket), which names no server.
std::string Refusal() {
  const std::string reason = cupsLastErrorString() ? cupsLastErrorString() : "";
  const ipp_status_t status = cupsLastError();
  if (status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || (status == IPP_STATUS_ERROR_INTERNAL && !ServerAnswers())) {
    const char* server = cupsServer();
    return std::string("No print server answers") + (server && *server ? std::string(" at ") + server : "") +
           (reason.empty() ? "" : " (" + reason + ")") + ": is the printing service (CUPS) running?";
  }
  return reason.empty() ? "CUPS did not take the job" : reason;
}

class CupsSpooler : public PrintSpooler {
 public:
  int Submit(const std::string& printer, const std::string& pdfPath, const std::string& title, int copies,
             bool collate, std::string* error) override {
    cups_option_t* options = nullptr;
    int count = cupsAddOption("copies", std::to_string(copies < 1 ? 1 : copies).c_str(), 0, &options);
    if (copies > 1) count = cupsAddOption("collate", collate ? "true" : "false", count, &options);
    count = cupsAddOption("document-format", "application/pdf", count, &options);
    int job = cupsPrintFile(printer.c_str(), pdfPath.c_str(), title.c_str(), count, options);
    cupsFreeOptions(count, options);
    if (job == 0 && error) *error = Refusal();
    return job;
  }

  bool Margins(const std::string& printer, int width, int length, PaperMargins* margins) override {
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, printer.c_str(), nullptr);
    if (!dest) return false;
    bool found = false;
    if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
      cups_size_t size{};
      if (cupsGetDestMediaBySize(CUPS_HTTP_DEFAULT, dest, info, width, length, CUPS_MEDIA_FLAGS_DEFAULT, &size)) {
        // Hundredths of a millimetre to points.
        auto points = [](int v) { return v * 72.0 / 2540.0; };
        *margins = PaperMargins{points(size.left), points(size.top), points(size.right), points(size.bottom)};
        found = true;
      }
      cupsFreeDestInfo(info);
    }
    cupsFreeDests(1, dest);
    return found;
  }

  bool HasPrinter(const std::string& printer) override {
    if (cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, printer.c_str(), nullptr)) {
      cupsFreeDests(1, dest);
      return true;
    }
    return !ServerAnswers();  // a server that does not answer cannot say the printer is gone
  }
};

std::atomic<PrintSpooler*> g_installed{nullptr};

}  // namespace

PrintSpooler& Spooler() {
  static CupsSpooler cups;
  PrintSpooler* installed = g_installed.load();
  return installed ? *installed : cups;
}

PrintSpooler* SetSpooler(PrintSpooler* spooler) { return g_installed.exchange(spooler); }

}  // namespace brambolt
