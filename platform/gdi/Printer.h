// Printer device contexts that record pages at a printer resolution, the print job calls that
// write them as PDF to a file or hand them to the spooler, and a recording DC that logs drawing
// calls for tests.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gdi/GdiTypes.h"
#include "gdi/PageRecord.h"
#include "gdi/Surface.h"

int StartDoc(HDC hdc, const DOCINFO* info);
int StartPage(HDC hdc);
int EndPage(HDC hdc);
int EndDoc(HDC hdc);
int AbortDoc(HDC hdc);
int SetAbortProc(HDC hdc, ABORTPROC proc);
#define StartDocA StartDoc

namespace brambolt {

struct PrinterSettings {
  std::string name = "Brambolt Printer";
  int dpiX = 600, dpiY = 600;
  int paperWidth = 5100, paperHeight = 6600;  // pixels: US Letter at 600 dpi
  int offsetX = 0, offsetY = 0;               // unprintable margin at the left and top, pixels
  int rightMargin = -1, bottomMargin = -1;    // at the right and bottom; -1: as at the left and top
  // Where the document goes: "" keeps the pages only (GetPrintedPages), "CUPS:" the spooler's
  // printer `name`, "FILE:" a file StartDoc must name, anything else is a file name.
  std::string port;
  int copies = 1;  // the spooler makes the copies of a printer job
  bool collate = false;
};
inline constexpr const char* kSpoolerPort = "CUPS:";

// A finished page and the document it belongs to.
using PageSink = std::function<void(const std::string& document, int pageNumber, const PageRecord& page)>;

// A DC that records pages of the printable area (paper minus margins) at the printer's
// resolution. Pages are kept (GetPrintedPages), handed to the sink when set, and written as PDF
// to the settings' port.
HDC CreatePrinterDC(const PrinterSettings& settings, PageSink sink = nullptr);
std::vector<std::shared_ptr<const PageRecord>> GetPrintedPages(HDC printer);
// The spooler's job id of the last document EndDoc handed over (0 for none), and why the last
// StartDoc, EndPage or EndDoc failed ("" when nothing did).
int GetPrintJobId(HDC printer);
std::string GetPrintJobError(HDC printer);
// True when the device makes copies itself (a printer job), so the caller prints each page once.
bool PrinterMakesCopies(HDC printer);
// What CreateDC gives for a printer name; tests and the print dialog change it.
void SetDefaultPrinterSettings(const PrinterSettings& settings);
PrinterSettings GetDefaultPrinterSettings();
bool IsPrinterDC(HDC hdc);
// The settings a printer DC was made with; false for other DCs.
bool GetPrinterSettings(HDC printer, PrinterSettings* settings);

// One drawing call of a recording DC, in logical coordinates as the caller passed them.
struct DrawCall {
  std::string name;            // "FillRect", "LineTo", "Polygon", "DrawText", "BitBlt", ...
  std::vector<int> args;       // numbers in the order of the call's parameters (ExtTextOut: x, y,
                               // options, then the rectangle or four zeros)
  std::vector<POINT> points;   // for poly calls, and MoveTo/LineTo chains
  std::string text;            // for text calls
  COLORREF pen = 0, brush = 0, text_color = 0, background = 0;
  int rop2 = R2_COPYPEN;
};

// A memory DC over a width x height surface that also logs every outermost drawing call.
HDC CreateRecordingDC(int width, int height);
std::vector<DrawCall> GetRecordedCalls(HDC hdc);
void ClearRecordedCalls(HDC hdc);

}  // namespace brambolt
