// Printer settings as Win32 exchanges them: DEVMODE and DEVNAMES in global-memory blocks, the
// paper sizes with their DMPAPER_* numbers, and the printers the system knows.
#pragma once

#include <string>
#include <vector>

#include "gdi/Printer.h"

#define CCHDEVICENAME 32
#define CCHFORMNAME 32
#define DM_SPECVERSION 0x0401

typedef struct _POINTL {
  LONG x;
  LONG y;
} POINTL, *PPOINTL;

// 156 bytes: the ANSI layout whose dmSpecVersion is 0x0401.
typedef struct _devicemodeA {
  BYTE dmDeviceName[CCHDEVICENAME];
  WORD dmSpecVersion;
  WORD dmDriverVersion;
  WORD dmSize;
  WORD dmDriverExtra;
  DWORD dmFields;
  union {
    struct {
      short dmOrientation;
      short dmPaperSize;
      short dmPaperLength;  // tenths of a millimetre
      short dmPaperWidth;
      short dmScale;  // percent
      short dmCopies;
      short dmDefaultSource;
      short dmPrintQuality;  // DMRES_* or dots per inch
    };
    struct {
      POINTL dmPosition;
      DWORD dmDisplayOrientation;
      DWORD dmDisplayFixedOutput;
    };
  };
  short dmColor;
  short dmDuplex;
  short dmYResolution;
  short dmTTOption;
  short dmCollate;
  BYTE dmFormName[CCHFORMNAME];
  WORD dmLogPixels;
  DWORD dmBitsPerPel;
  DWORD dmPelsWidth;
  DWORD dmPelsHeight;
  union {
    DWORD dmDisplayFlags;
    DWORD dmNup;
  };
  DWORD dmDisplayFrequency;
  DWORD dmICMMethod;
  DWORD dmICMIntent;
  DWORD dmMediaType;
  DWORD dmDitherType;
  DWORD dmReserved1;
  DWORD dmReserved2;
  DWORD dmPanningWidth;
  DWORD dmPanningHeight;
} DEVMODEA, *PDEVMODEA, *LPDEVMODEA, DEVMODE, *PDEVMODE, *LPDEVMODE;

// dmFields
#define DM_ORIENTATION 0x00000001L
#define DM_PAPERSIZE 0x00000002L
#define DM_PAPERLENGTH 0x00000004L
#define DM_PAPERWIDTH 0x00000008L
#define DM_SCALE 0x00000010L
#define DM_POSITION 0x00000020L
#define DM_NUP 0x00000040L
#define DM_DISPLAYORIENTATION 0x00000080L
#define DM_COPIES 0x00000100L
#define DM_DEFAULTSOURCE 0x00000200L
#define DM_PRINTQUALITY 0x00000400L
#define DM_COLOR 0x00000800L
#define DM_DUPLEX 0x00001000L
#define DM_YRESOLUTION 0x00002000L
#define DM_TTOPTION 0x00004000L
#define DM_COLLATE 0x00008000L
#define DM_FORMNAME 0x00010000L
#define DM_LOGPIXELS 0x00020000L
#define DM_BITSPERPEL 0x00040000L
#define DM_PELSWIDTH 0x00080000L
#define DM_PELSHEIGHT 0x00100000L
#define DM_DISPLAYFLAGS 0x00200000L
#define DM_DISPLAYFREQUENCY 0x00400000L
#define DM_ICMMETHOD 0x00800000L
#define DM_ICMINTENT 0x01000000L
#define DM_MEDIATYPE 0x02000000L
#define DM_DITHERTYPE 0x04000000L
#define DM_PANNINGWIDTH 0x08000000L
#define DM_PANNINGHEIGHT 0x10000000L
#define DM_DISPLAYFIXEDOUTPUT 0x20000000L

#define DMORIENT_PORTRAIT 1
#define DMORIENT_LANDSCAPE 2

#define DMPAPER_FIRST DMPAPER_LETTER
#define DMPAPER_LETTER 1
#define DMPAPER_LETTERSMALL 2
#define DMPAPER_TABLOID 3
#define DMPAPER_LEDGER 4
#define DMPAPER_LEGAL 5
#define DMPAPER_STATEMENT 6
#define DMPAPER_EXECUTIVE 7
#define DMPAPER_A3 8
#define DMPAPER_A4 9
#define DMPAPER_A4SMALL 10
#define DMPAPER_A5 11
#define DMPAPER_B4 12
#define DMPAPER_B5 13
#define DMPAPER_USER 256

#define DMBIN_FIRST DMBIN_UPPER
#define DMBIN_UPPER 1
#define DMBIN_ONLYONE 1
#define DMBIN_LOWER 2
#define DMBIN_MIDDLE 3
#define DMBIN_MANUAL 4
#define DMBIN_ENVELOPE 5
#define DMBIN_ENVMANUAL 6
#define DMBIN_AUTO 7
#define DMBIN_TRACTOR 8
#define DMBIN_SMALLFMT 9
#define DMBIN_LARGEFMT 10
#define DMBIN_LARGECAPACITY 11
#define DMBIN_CASSETTE 14
#define DMBIN_FORMSOURCE 15
#define DMBIN_USER 256

#define DMRES_DRAFT (-1)
#define DMRES_LOW (-2)
#define DMRES_MEDIUM (-3)
#define DMRES_HIGH (-4)

#define DMCOLOR_MONOCHROME 1
#define DMCOLOR_COLOR 2

#define DMDUP_SIMPLEX 1
#define DMDUP_VERTICAL 2
#define DMDUP_HORIZONTAL 3

#define DMTT_BITMAP 1
#define DMTT_DOWNLOAD 2
#define DMTT_SUBDEV 3
#define DMTT_DOWNLOAD_OUTLINE 4

#define DMCOLLATE_FALSE 0
#define DMCOLLATE_TRUE 1

// The three names are NUL-terminated strings inside the same block; the offsets count characters
// from the start of the structure.
typedef struct tagDEVNAMES {
  WORD wDriverOffset;
  WORD wDeviceOffset;
  WORD wOutputOffset;
  WORD wDefault;
} DEVNAMES, *LPDEVNAMES;

#define DN_DEFAULTPRN 0x0001

namespace brambolt {

// A paper size the printers offer, in tenths of a millimetre, portrait.
struct PaperSize {
  short id;  // DMPAPER_*
  const char* name;
  short width;
  short length;
};
// Letter, Legal, Executive, A4, A5, B5 (JIS), in the order the dialogs list them.
const std::vector<PaperSize>& PaperSizes();
// Null when the number is not one of them.
const PaperSize* FindPaperSize(int id);

// A printer as the dialogs offer it: its name, the driver and port of its DEVNAMES.
struct PrinterEntry {
  std::string name;
  std::string port;
  bool toFile = false;
};
inline constexpr const char* kPrintToFileName = "Print to File";
inline constexpr const char* kPrinterDriver = "winspool";
inline constexpr const char* kFilePort = "FILE:";

// The destinations CUPS knows (from `lpstat -e` when lpstat exists), then "Print to File", which
// is always there. `defaultIndex` is CUPS's default destination (`lpstat -d`) when it is in the
// list, else "Print to File".
struct PrinterList {
  std::vector<PrinterEntry> printers;
  int defaultIndex = 0;
  int Find(const std::string& name) const;  // -1 when absent; names compare without case
};
PrinterList EnumerateSystemPrinters();

// The settings of a printer as a full DEVMODE: the default printer's paper, resolution and
// orientation (see GetDefaultPrinterSettings), one copy, colour, simplex, not collated.
DEVMODE DefaultDevMode(const std::string& printerName);
// What a DC made with this DEVMODE prints on: `base` with the DEVMODE's paper, orientation and
// resolution wherever its fields say they are set.
PrinterSettings ApplyDevMode(PrinterSettings base, const DEVMODE& devMode);
// The unprintable margins the spooler gives for the printer and the DEVMODE's paper, in place of
// the quarter inch ApplyDevMode assumes; nothing changes when the spooler does not say.
void ApplyPrinterMargins(PrinterSettings* settings, const DEVMODE& devMode);
// The paper a DEVMODE asks for, portrait or landscape as it says, in tenths of a millimetre;
// Letter when it names none that is known.
SIZE DevModePaperSize(const DEVMODE& devMode);

// Global-memory blocks (moveable) holding a DEVMODE or a DEVNAMES; null when memory runs out.
HGLOBAL CreateDevModeBlock(const DEVMODE& devMode);
HGLOBAL CreateDevNamesBlock(const std::string& driver, const std::string& device, const std::string& output,
                            WORD flags);
// The contents of such blocks, checked against the block's size: false for a null or dead
// handle, a DEVMODE whose dmSize is too small or larger than the block, or offsets and names that
// run past it. A DEVMODE of an older, shorter version reads with the rest zeroed.
bool ReadDevModeBlock(HGLOBAL block, DEVMODE* devMode);
struct DevNamesContent {
  std::string driver, device, output;
  WORD flags = 0;
};
bool ReadDevNamesBlock(HGLOBAL block, DevNamesContent* names);

}  // namespace brambolt
