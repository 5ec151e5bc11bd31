// The print spooler printer jobs go to: CUPS through libcups, or a stand-in that tests install.
#pragma once

#include <string>

namespace brambolt {

// The edges of a paper a printer cannot print on, in points.
struct PaperMargins {
  double left = 0, top = 0, right = 0, bottom = 0;
};

class PrintSpooler {
 public:
  virtual ~PrintSpooler() = default;
  // Hands a PDF file to a printer as one job: the job's id, or 0 with *error saying why.
  virtual int Submit(const std::string& printer, const std::string& pdfPath, const std::string& title, int copies,
                     bool collate, std::string* error) = 0;
  // The margins of a paper (width and length in hundredths of a millimetre, portrait) on a
  // printer; false when the printer does not say.
  virtual bool Margins(const std::string& printer, int width, int length, PaperMargins* margins) = 0;
  // Whether the printer is still there: false only when the print system answers without it (a
  // printer removed since it was chosen).
  virtual bool HasPrinter(const std::string& printer) = 0;
};

// The spooler in use: CUPS unless a test installed another.
PrintSpooler& Spooler();
// Installs a spooler (null: CUPS again); returns the one it replaces.
PrintSpooler* SetSpooler(PrintSpooler* spooler);

}  // namespace brambolt
