// DEVMODE and DEVNAMES blocks, the paper table, and the printer list read from CUPS's lpstat.
#include "gdi/DevMode.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

#include "base/GlobalMemory.h"
#include "gdi/Spooler.h"
#include "base/WinString.h"
#include "os/Process.h"

namespace brambolt {
namespace {

// Executive is 7.25 x 10.5 inches, B5 the JIS size.
const std::vector<PaperSize> kPapers = {
    {DMPAPER_LETTER, "Letter", 2159, 2794},
    {DMPAPER_LEGAL, "Legal", 2159, 3556},
    {DMPAPER_EXECUTIVE, "Executive", 1842, 2667},
    {DMPAPER_A4, "A4", 2100, 2970},
    {DMPAPER_A5, "A5", 1480, 2100},
    {DMPAPER_B5, "B5", 1820, 2570},
};

void CopyName(BYTE (&to)[32], const std::string& from) {
  std::memset(to, 0, sizeof to);
  std::memcpy(to, from.data(), std::min(from.size(), sizeof to - 1));
}

// Tenths of a millimetre at a resolution, in pixels.
int Pixels(int tenths, int dpi) { return MulDiv(tenths, dpi, 254); }

// The lines of a program's output, without blanks.
std::vector<std::string> OutputLines(const std::vector<std::string>& argv) {
  SpawnRequest request;
  request.program = argv.front();
  request.argv = argv;
  std::string output;
  DWORD error = 0;
  std::vector<std::string> lines;
  if (!ReadProgramOutput(request, &output, &error)) return lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) {
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

}  // namespace

const std::vector<PaperSize>& PaperSizes() { return kPapers; }

const PaperSize* FindPaperSize(int id) {
  auto it = std::find_if(kPapers.begin(), kPapers.end(), [&](const PaperSize& p) { return p.id == id; });
  return it == kPapers.end() ? nullptr : &*it;
}

int PrinterList::Find(const std::string& name) const {
  for (size_t i = 0; i < printers.size(); ++i)
    if (lstrcmpi(printers[i].name.c_str(), name.c_str()) == 0) return static_cast<int>(i);
  return -1;
}

PrinterList EnumerateSystemPrinters() {
  PrinterList list;
  // `lpstat -e` prints one destination a line; `lpstat -d` "system default destination: NAME"
  // or "no system default destination".
  for (const std::string& name : OutputLines({"lpstat", "-e"}))
    if (name.find_first_of(" \t") == std::string::npos && list.Find(name) < 0)
      list.printers.push_back({name, "CUPS:", false});
  list.printers.push_back({kPrintToFileName, kFilePort, true});
  list.defaultIndex = static_cast<int>(list.printers.size()) - 1;
  constexpr std::string_view kDefault = "system default destination:";
  for (const std::string& line : OutputLines({"lpstat", "-d"})) {
    if (!line.starts_with(kDefault)) continue;
    std::string name = line.substr(kDefault.size());
    name.erase(0, name.find_first_not_of(" \t"));
    int index = list.Find(name);
    if (index >= 0) list.defaultIndex = index;
  }
  return list;
}

DEVMODE DefaultDevMode(const std::string& printerName) {
  PrinterSettings settings = GetDefaultPrinterSettings();
  DEVMODE dm{};
  CopyName(dm.dmDeviceName, printerName);
  dm.dmSpecVersion = DM_SPECVERSION;
  dm.dmSize = sizeof(DEVMODE);
  // The paper's dimensions are filled in but not flagged: flagged, they would override a paper
  // number that a program changes.
  dm.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_SCALE | DM_COPIES | DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_COLOR |
                DM_DUPLEX | DM_YRESOLUTION | DM_COLLATE | DM_FORMNAME;
  // The default paper is the one of the table nearest the default settings' portrait page.
  bool landscape = settings.paperWidth > settings.paperHeight;
  int width =
      landscape ? MulDiv(settings.paperHeight, 254, settings.dpiY) : MulDiv(settings.paperWidth, 254, settings.dpiX);
  int length =
      landscape ? MulDiv(settings.paperWidth, 254, settings.dpiX) : MulDiv(settings.paperHeight, 254, settings.dpiY);
  const PaperSize* paper = &kPapers.front();
  for (const PaperSize& p : kPapers)
    if (std::abs(p.width - width) + std::abs(p.length - length) <
        std::abs(paper->width - width) + std::abs(paper->length - length))
      paper = &p;
  dm.dmOrientation = landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  dm.dmPaperSize = paper->id;
  dm.dmPaperLength = paper->length;
  dm.dmPaperWidth = paper->width;
  dm.dmScale = 100;
  dm.dmCopies = 1;
  dm.dmDefaultSource = DMBIN_AUTO;
  dm.dmPrintQuality = static_cast<short>(settings.dpiX);
  dm.dmYResolution = static_cast<short>(settings.dpiY);
  dm.dmColor = DMCOLOR_COLOR;
  dm.dmDuplex = DMDUP_SIMPLEX;
  dm.dmTTOption = DMTT_DOWNLOAD;
  dm.dmCollate = DMCOLLATE_FALSE;
  CopyName(dm.dmFormName, paper->name);
  return dm;
}

SIZE DevModePaperSize(const DEVMODE& dm) {
  const PaperSize* paper = FindPaperSize(DMPAPER_LETTER);
  if ((dm.dmFields & DM_PAPERSIZE) && FindPaperSize(dm.dmPaperSize)) paper = FindPaperSize(dm.dmPaperSize);
  SIZE size{paper->width, paper->length};
  // Explicit dimensions win over the paper number, as drivers read them.
  if ((dm.dmFields & DM_PAPERWIDTH) && dm.dmPaperWidth > 0) size.cx = dm.dmPaperWidth;
  if ((dm.dmFields & DM_PAPERLENGTH) && dm.dmPaperLength > 0) size.cy = dm.dmPaperLength;
  if ((dm.dmFields & DM_ORIENTATION) && dm.dmOrientation == DMORIENT_LANDSCAPE) std::swap(size.cx, size.cy);
  return size;
}

PrinterSettings ApplyDevMode(PrinterSettings base, const DEVMODE& dm) {
  if ((dm.dmFields & DM_PRINTQUALITY) && dm.dmPrintQuality > 0) {
    base.dpiX = dm.dmPrintQuality;
    base.dpiY = dm.dmPrintQuality;
  }
  if ((dm.dmFields & DM_YRESOLUTION) && dm.dmYResolution > 0) base.dpiY = dm.dmYResolution;
  if (dm.dmFields & (DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH | DM_ORIENTATION)) {
    SIZE paper = DevModePaperSize(dm);
    base.paperWidth = Pixels(paper.cx, base.dpiX);
    base.paperHeight = Pixels(paper.cy, base.dpiY);
  }
  // A quarter of an inch is out of reach on every side.
  base.offsetX = base.dpiX / 4;
  base.offsetY = base.dpiY / 4;
  const char* device = reinterpret_cast<const char*>(dm.dmDeviceName);
  if (device[0]) base.name.assign(device, strnlen(device, CCHDEVICENAME));
  if ((dm.dmFields & DM_COPIES) && dm.dmCopies > 0) base.copies = dm.dmCopies;
  if (dm.dmFields & DM_COLLATE) base.collate = dm.dmCollate == DMCOLLATE_TRUE;
  return base;
}

void ApplyPrinterMargins(PrinterSettings* settings, const DEVMODE& dm) {
  SIZE paper = DevModePaperSize(dm);  // tenths of a millimetre, as oriented
  bool landscape = paper.cx > paper.cy;
  PaperMargins m;
  if (!Spooler().Margins(settings->name, 10 * std::min(paper.cx, paper.cy), 10 * std::max(paper.cx, paper.cy), &m))
    return;
  // Landscape pages are the portrait paper turned a quarter counter-clockwise.
  if (landscape) m = PaperMargins{m.bottom, m.left, m.top, m.right};
  auto pixels = [](double points, int dpi) { return static_cast<int>(std::lround(points * dpi / 72.0)); };
  settings->offsetX = pixels(m.left, settings->dpiX);
  settings->offsetY = pixels(m.top, settings->dpiY);
  settings->rightMargin = pixels(m.right, settings->dpiX);
  settings->bottomMargin = pixels(m.bottom, settings->dpiY);
}

HGLOBAL CreateDevModeBlock(const DEVMODE& dm) {
  HGLOBAL block = GlobalAlloc(GHND, sizeof(DEVMODE));
  if (!block) return nullptr;
  auto* to = static_cast<DEVMODE*>(GlobalLock(block));
  *to = dm;
  to->dmSize = sizeof(DEVMODE);
  to->dmDriverExtra = 0;
  GlobalUnlock(block);
  return block;
}

HGLOBAL CreateDevNamesBlock(const std::string& driver, const std::string& device, const std::string& output,
                            WORD flags) {
  size_t total = sizeof(DEVNAMES) + driver.size() + device.size() + output.size() + 3;
  if (total > 0xFFFF) return nullptr;
  HGLOBAL block = GlobalAlloc(GHND, total);
  if (!block) return nullptr;
  auto* bytes = static_cast<char*>(GlobalLock(block));
  auto* names = reinterpret_cast<DEVNAMES*>(bytes);
  WORD at = sizeof(DEVNAMES);
  auto put = [&](const std::string& text) {
    std::memcpy(bytes + at, text.c_str(), text.size() + 1);
    WORD offset = at;
    at = static_cast<WORD>(at + text.size() + 1);
    return offset;
  };
  names->wDriverOffset = put(driver);
  names->wDeviceOffset = put(device);
  names->wOutputOffset = put(output);
  names->wDefault = flags;
  GlobalUnlock(block);
  return block;
}

bool ReadDevModeBlock(HGLOBAL block, DEVMODE* dm) {
  SIZE_T size = block ? GlobalSize(block) : 0;
  // Up to dmFields everything must be there for the size to be read.
  constexpr SIZE_T kHeader = offsetof(DEVMODE, dmFields) + sizeof(DWORD);
  if (size < kHeader) return false;
  const auto* from = static_cast<const BYTE*>(GlobalLock(block));
  if (!from) return false;
  WORD dmSize = 0, extra = 0;
  std::memcpy(&dmSize, from + offsetof(DEVMODE, dmSize), sizeof dmSize);
  std::memcpy(&extra, from + offsetof(DEVMODE, dmDriverExtra), sizeof extra);
  bool ok = dmSize >= kHeader && SIZE_T{dmSize} + extra <= size;
  if (ok) {
    *dm = DEVMODE{};
    std::memcpy(dm, from, std::min<SIZE_T>(dmSize, sizeof(DEVMODE)));
    dm->dmSize = sizeof(DEVMODE);
    dm->dmDriverExtra = 0;
    dm->dmDeviceName[CCHDEVICENAME - 1] = 0;
    dm->dmFormName[CCHFORMNAME - 1] = 0;
  }
  GlobalUnlock(block);
  return ok;
}

bool ReadDevNamesBlock(HGLOBAL block, DevNamesContent* names) {
  SIZE_T size = block ? GlobalSize(block) : 0;
  if (size < sizeof(DEVNAMES)) return false;
  const auto* bytes = static_cast<const char*>(GlobalLock(block));
  if (!bytes) return false;
  DEVNAMES header;
  std::memcpy(&header, bytes, sizeof header);
  // Each name must start inside the block and end there with its NUL.
  auto read = [&](WORD offset, std::string* to) {
    if (offset < sizeof(DEVNAMES) || offset >= size) return false;
    const void* end = std::memchr(bytes + offset, 0, size - offset);
    if (!end) return false;
    to->assign(bytes + offset, static_cast<const char*>(end));
    return true;
  };
  bool ok = read(header.wDriverOffset, &names->driver) && read(header.wDeviceOffset, &names->device) &&
            read(header.wOutputOffset, &names->output);
  names->flags = header.wDefault;
  GlobalUnlock(block);
  return ok;
}

}  // namespace brambolt
