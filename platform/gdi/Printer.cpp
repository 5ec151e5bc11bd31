// Printer DCs over page surfaces, the document and page calls, and recording DCs.
#include "gdi/Printer.h"

#include <mutex>

#include "gdi/Bitmaps.h"
#include "gdi/DC.h"
#include "gdi/GdiInternal.h"
#include "gdi/Objects.h"

using namespace brambolt;
using namespace brambolt::gdi;

namespace brambolt::gdi {

struct PrinterJob {
  PrinterSettings settings;
  PageSink sink;
  std::string document;
  bool inDocument = false;
  bool inPage = false;
  ABORTPROC abortProc = nullptr;
  std::vector<std::shared_ptr<Surface>> pages;
};

struct Recorder {
  std::mutex mutex;
  std::vector<DrawCall> calls;
  int depth = 0;
};

CallLog::CallLog(DeviceContext& dc, const char* name, std::initializer_list<int> args, const POINT* points,
                 size_t pointCount, const char* text, size_t textLength)
    : recorder_(dc.recorder.get()) {
  if (!recorder_) return;
  std::lock_guard lock(recorder_->mutex);
  if (recorder_->depth++ > 0) return;
  DrawCall call;
  call.name = name;
  call.args = args;
  if (points) call.points.assign(points, points + pointCount);
  if (text) call.text.assign(text, textLength);
  const DcState& s = dc.st;
  call.pen = s.pen ? (s.pen->IsNull() ? CLR_NONE : s.pen->color) : 0;
  call.brush = s.brush ? (s.brush->style == BS_NULL ? CLR_NONE : s.brush->color) : 0;
  call.text_color = s.textColor;
  call.background = s.bkColor;
  call.rop2 = s.rop2;
  recorder_->calls.push_back(std::move(call));
}

CallLog::~CallLog() {
  if (!recorder_) return;
  std::lock_guard lock(recorder_->mutex);
  --recorder_->depth;
}

}  // namespace brambolt::gdi

namespace {

std::mutex g_defaultMutex;
PrinterSettings g_default;

std::shared_ptr<DeviceContext> PrinterOf(HDC hdc) {
  auto dc = LookupDC(hdc);
  return dc && dc->printer && dc->kind == DcKind::Printer ? dc : nullptr;
}

}  // namespace

namespace brambolt {

HDC CreatePrinterDC(const PrinterSettings& settings, PageSink sink) {
  HDC hdc = CreateIC("DISPLAY", nullptr, nullptr, nullptr);
  auto dc = LookupDC(hdc);
  dc->kind = DcKind::Printer;
  dc->printer = std::make_shared<PrinterJob>();
  dc->printer->settings = settings;
  dc->printer->sink = std::move(sink);
  dc->dpiX = settings.dpiX;
  dc->dpiY = settings.dpiY;
  dc->horzRes = settings.paperWidth - 2 * settings.offsetX;
  dc->vertRes = settings.paperHeight - 2 * settings.offsetY;
  return hdc;
}

std::vector<std::shared_ptr<Surface>> GetPrintedPages(HDC printer) {
  auto dc = PrinterOf(printer);
  return dc ? dc->printer->pages : std::vector<std::shared_ptr<Surface>>{};
}

void SetDefaultPrinterSettings(const PrinterSettings& settings) {
  std::lock_guard lock(g_defaultMutex);
  g_default = settings;
}

PrinterSettings GetDefaultPrinterSettings() {
  std::lock_guard lock(g_defaultMutex);
  return g_default;
}

bool IsPrinterDC(HDC hdc) { return PrinterOf(hdc) != nullptr; }

bool GetPrinterSettings(HDC printer, PrinterSettings* settings) {
  auto dc = PrinterOf(printer);
  if (dc) *settings = dc->printer->settings;
  return dc != nullptr;
}

HDC CreateRecordingDC(int width, int height) {
  HDC hdc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateBitmapFromSurface(Surface(width, height, 0xFFFFFF));
  SelectObject(hdc, bitmap);
  auto dc = LookupDC(hdc);
  // The DC owns its bitmap: it goes when the DC is deleted.
  auto bm = dc->st.bitmap;
  Unregister(bitmap);
  bm->selectedInto = hdc;
  dc->recorder = std::make_shared<Recorder>();
  return hdc;
}

std::vector<DrawCall> GetRecordedCalls(HDC hdc) {
  auto dc = LookupDC(hdc);
  if (!dc || !dc->recorder) return {};
  std::lock_guard lock(dc->recorder->mutex);
  return dc->recorder->calls;
}

void ClearRecordedCalls(HDC hdc) {
  auto dc = LookupDC(hdc);
  if (!dc || !dc->recorder) return;
  std::lock_guard lock(dc->recorder->mutex);
  dc->recorder->calls.clear();
}

}  // namespace brambolt

int StartDoc(HDC hdc, const DOCINFO* info) {
  auto dc = PrinterOf(hdc);
  if (!dc || dc->printer->inDocument) return SP_ERROR;
  dc->printer->inDocument = true;
  dc->printer->document = info && info->lpszDocName ? info->lpszDocName : "";
  dc->printer->pages.clear();
  static int jobId = 0;
  return ++jobId;
}

int StartPage(HDC hdc) {
  auto dc = PrinterOf(hdc);
  if (!dc || !dc->printer->inDocument || dc->printer->inPage) return SP_ERROR;
  dc->printer->inPage = true;
  dc->surface = std::make_shared<Surface>(dc->horzRes, dc->vertRes, 0xFFFFFF);
  dc->InvalidateClip();
  return 1;
}

int EndPage(HDC hdc) {
  auto dc = PrinterOf(hdc);
  if (!dc || !dc->printer->inPage) return SP_ERROR;
  PrinterJob& job = *dc->printer;
  job.inPage = false;
  auto page = dc->surface;
  job.pages.push_back(page);
  dc->surface.reset();
  dc->InvalidateClip();
  if (job.abortProc && !job.abortProc(hdc, 0)) {
    job.inDocument = false;
    return SP_APPABORT;
  }
  if (job.sink) job.sink(job.document, static_cast<int>(job.pages.size()), page);
  return 1;
}

int EndDoc(HDC hdc) {
  auto dc = PrinterOf(hdc);
  if (!dc || !dc->printer->inDocument) return SP_ERROR;
  if (dc->printer->inPage) EndPage(hdc);
  dc->printer->inDocument = false;
  return 1;
}

int AbortDoc(HDC hdc) {
  auto dc = PrinterOf(hdc);
  if (!dc) return SP_ERROR;
  dc->printer->inDocument = dc->printer->inPage = false;
  dc->printer->pages.clear();
  dc->surface.reset();
  dc->InvalidateClip();
  return 1;
}

int SetAbortProc(HDC hdc, ABORTPROC proc) {
  auto dc = PrinterOf(hdc);
  if (!dc) return SP_ERROR;
  dc->printer->abortProc = proc;
  return 1;
}
