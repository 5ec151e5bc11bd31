// Printer DCs over page surfaces, the document and page calls, and recording DCs.
#include "gdi/Printer.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "core/CException.h"
#include "core/CMirrorFile.h"
#include "gdi/Bitmaps.h"
#include "gdi/DC.h"
#include "gdi/DevMode.h"
#include "gdi/GdiInternal.h"
#include "gdi/Objects.h"
#include "gdi/PdfOutput.h"
#include "gdi/Spooler.h"

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
  std::vector<std::shared_ptr<const PageRecord>> pages;
  // The PDF being written to `partial`, a private file in the temporary folder: at the end it
  // goes into the file the user named (`output`, the safe save the editor's files get: the file's
  // permissions kept, a link written through, every name of the file seeing the new one), or to
  // the spooler (a printer job); then it is removed.
  std::unique_ptr<PdfDocument> pdf;
  std::string partial;
  std::unique_ptr<CMirrorFile> output;
  bool toSpooler = false;
  int spoolerJob = 0;
  std::string error;

  // A job that never reached its end (its DC deleted without EndDoc or AbortDoc, as when the
  // printing code leaves on an error) leaves nothing behind either.
  ~PrinterJob() { Discard(); }

  // Drops the PDF written so far; the file the user named stays as it was.
  void Discard() {
    pdf.reset();
    if (!partial.empty()) std::remove(partial.c_str());
    partial.clear();
    if (output) output->Abort();
    output.reset();
  }
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

// An empty private file of a name no one else has in the temporary folder; "" when none can be
// made.
std::string MakePartialFile() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/brambolt-print-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back(0);
  int fd = mkstemp(name.data());
  if (fd < 0) return "";
  close(fd);
  return name.data();
}

// The reason an exception of the file calls gives, and the exception deleted.
std::string ReasonOf(CException* e) {
  char text[512] = {};
  if (!e->GetErrorMessage(text, sizeof text)) std::snprintf(text, sizeof text, "%s", std::strerror(EIO));
  e->Delete();
  return text;
}

// Copies the finished PDF into the file the user named, through its safe save; "" when done,
// else the reason.
std::string WriteOutput(PrinterJob& job) {
  FILE* in = std::fopen(job.partial.c_str(), "rb");
  if (in == nullptr) return std::strerror(errno);
  std::string why;
  try {
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) job.output->Write(buffer, static_cast<UINT>(n));
    if (std::ferror(in)) why = std::strerror(EIO);
    if (why.empty()) job.output->Close();
  } catch (CException* e) {
    why = ReasonOf(e);
  }
  std::fclose(in);
  return why;
}

int Fail(PrinterJob& job, std::string why) {
  job.error = std::move(why);
  job.Discard();
  job.inDocument = job.inPage = false;
  return SP_ERROR;
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
  dc->horzRes = settings.paperWidth - settings.offsetX - (settings.rightMargin < 0 ? settings.offsetX : settings.rightMargin);
  dc->vertRes =
      settings.paperHeight - settings.offsetY - (settings.bottomMargin < 0 ? settings.offsetY : settings.bottomMargin);
  return hdc;
}

std::vector<std::shared_ptr<const PageRecord>> GetPrintedPages(HDC printer) {
  auto dc = PrinterOf(printer);
  return dc ? dc->printer->pages : std::vector<std::shared_ptr<const PageRecord>>{};
}

int GetPrintJobId(HDC printer) {
  auto dc = PrinterOf(printer);
  return dc ? dc->printer->spoolerJob : 0;
}

std::string GetPrintJobError(HDC printer) {
  auto dc = PrinterOf(printer);
  return dc ? dc->printer->error : std::string();
}

bool PrinterMakesCopies(HDC printer) {
  auto dc = PrinterOf(printer);
  return dc && dc->printer->settings.port == kSpoolerPort;
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
  PrinterJob& job = *dc->printer;
  const PrinterSettings& settings = job.settings;
  job.document = info && info->lpszDocName ? info->lpszDocName : "";
  job.pages.clear();
  job.error.clear();
  job.spoolerJob = 0;
  job.output.reset();
  job.toSpooler = false;
  std::string output = info && info->lpszOutput && *info->lpszOutput ? info->lpszOutput : settings.port;
  if (output == kSpoolerPort) {
    job.toSpooler = true;
  } else if (output == kFilePort) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return Fail(job, "No file was named to print to.");
  } else if (!output.empty()) {
    // The file is opened for its save now: a name that cannot be written is told before any
    // page is made. A read-only file is refused as the editor's save refuses it, whoever prints.
    if (CFileStatus status; CFile::GetStatus(output.c_str(), status) && (status.m_attribute & CFile::readOnly)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return Fail(job, "The file '" + output + "' exists and is read-only. Please save to a different filename.");
    }
    job.output = std::make_unique<CMirrorFile>();
    CFileException error;
    if (!job.output->Open(output.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive, &error)) {
      job.output.reset();
      SetLastError(ERROR_WRITE_FAULT);
      char text[512] = {};
      error.GetErrorMessage(text, sizeof text);
      return Fail(job, text);
    }
  }
  if (job.toSpooler || job.output) {
    job.partial = MakePartialFile();
    if (job.partial.empty()) {
      std::string why = std::strerror(errno);
      SetLastError(ERROR_WRITE_FAULT);
      return Fail(job, why);
    }
    // The paper in points; the page records the printable area inside it.
    job.pdf = std::make_unique<PdfDocument>(job.partial, settings.paperWidth * 72.0 / settings.dpiX,
                                            settings.paperHeight * 72.0 / settings.dpiY, settings.dpiX, settings.dpiY,
                                            settings.offsetX, settings.offsetY);
    if (!job.pdf->Error().empty()) {
      SetLastError(ERROR_WRITE_FAULT);
      return Fail(job, job.pdf->Error());
    }
  }
  job.inDocument = true;
  static std::atomic<int> jobId = 0;
  return ++jobId;
}

int StartPage(HDC hdc) {
  auto dc = PrinterOf(hdc);
  if (!dc || !dc->printer->inDocument || dc->printer->inPage) return SP_ERROR;
  dc->printer->inPage = true;
  dc->page = std::make_shared<PageRecord>();
  dc->page->width = dc->horzRes;
  dc->page->height = dc->vertRes;
  // The page's extent without pixels: drawing is recorded, not painted.
  dc->surface = std::make_shared<Surface>(nullptr, dc->horzRes, dc->vertRes, 0);
  dc->InvalidateClip();
  return 1;
}

int EndPage(HDC hdc) {
  auto dc = PrinterOf(hdc);
  if (!dc || !dc->printer->inPage) return SP_ERROR;
  PrinterJob& job = *dc->printer;
  job.inPage = false;
  std::shared_ptr<const PageRecord> page = dc->page;
  dc->page.reset();
  dc->surface.reset();
  dc->InvalidateClip();
  job.pages.push_back(page);
  if (job.abortProc && !job.abortProc(hdc, 0)) {
    // Cancelled: nothing of the document stays, and the spooler never hears of it.
    job.Discard();
    job.inDocument = false;
    return SP_APPABORT;
  }
  if (job.pdf && !job.pdf->AddPage(*page)) {
    SetLastError(ERROR_WRITE_FAULT);
    return Fail(job, job.pdf->Error());
  }
  if (job.sink) job.sink(job.document, static_cast<int>(job.pages.size()), *page);
  return 1;
}

int EndDoc(HDC hdc) {
  auto dc = PrinterOf(hdc);
  if (!dc || !dc->printer->inDocument) return SP_ERROR;
  PrinterJob& job = *dc->printer;
  if (job.inPage) {
    int ended = EndPage(hdc);
    if (ended <= 0) return ended;
  }
  job.inDocument = false;
  if (!job.pdf) return 1;
  if (!job.pdf->Finish()) {
    SetLastError(ERROR_WRITE_FAULT);
    return Fail(job, job.pdf->Error());
  }
  job.pdf.reset();
  if (job.toSpooler) {
    std::string why;
    job.spoolerJob = Spooler().Submit(job.settings.name, job.partial, job.document, job.settings.copies,
                                      job.settings.collate, &why);
    std::remove(job.partial.c_str());
    job.partial.clear();
    if (job.spoolerJob == 0) {
      // A printer removed while the job was made gives the print system's words for a missing
      // file ("No such file or directory"): the user is told what happened instead.
      if (!Spooler().HasPrinter(job.settings.name))
        why = "The printer " + job.settings.name + " is not there any more: it was removed after it was chosen. "
              "Choose another printer and print again.";
      SetLastError(ERROR_WRITE_FAULT);
      return Fail(job, why);
    }
    return 1;
  }
  if (std::string why = WriteOutput(job); !why.empty()) {
    SetLastError(ERROR_WRITE_FAULT);
    return Fail(job, why);
  }
  job.output.reset();
  std::remove(job.partial.c_str());
  job.partial.clear();
  return 1;
}

int AbortDoc(HDC hdc) {
  auto dc = PrinterOf(hdc);
  if (!dc) return SP_ERROR;
  dc->printer->inDocument = dc->printer->inPage = false;
  dc->printer->Discard();
  dc->printer->pages.clear();
  dc->page.reset();
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
