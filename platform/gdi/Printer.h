// Printer device contexts over page surfaces at a printer resolution, the print job calls, and a
// recording DC that logs drawing calls for tests.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gdi/GdiTypes.h"
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
  int dpiX = 300, dpiY = 300;
  int paperWidth = 2550, paperHeight = 3300;  // pixels: US Letter at 300 dpi
  int offsetX = 75, offsetY = 75;             // unprintable margin on each side, pixels
};

// A finished page and the document it belongs to.
using PageSink = std::function<void(const std::string& document, int pageNumber, std::shared_ptr<Surface> page)>;

// A DC that renders pages of the printable area (paper minus margins) at the printer's
// resolution. Pages are kept (GetPrintedPages) and handed to the sink when set.
HDC CreatePrinterDC(const PrinterSettings& settings, PageSink sink = nullptr);
std::vector<std::shared_ptr<Surface>> GetPrintedPages(HDC printer);
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
