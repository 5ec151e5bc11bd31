// Files dropped on windows from other programs: DragAcceptFiles and the HDROP that WM_DROPFILES
// carries, and the drop itself as the X11 backend (or a test) delivers it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "win/WinUser.h"

// The block an HDROP is: this header, then the names, each terminated, and one more terminator.
typedef struct _DROPFILES {
  DWORD pFiles;  // offset of the first name from the start of the block
  POINT pt;      // the drop point, in the target window's client coordinates
  BOOL fNC;      // the point lies in the non-client area
  BOOL fWide;    // the names are UTF-16 (blocks made here hold bytes)
} DROPFILES, *LPDROPFILES;
static_assert(sizeof(DROPFILES) == 20);

void DragAcceptFiles(HWND hwnd, BOOL accept);
// iFile 0xFFFFFFFF: the number of files. A null buffer: the length of name iFile. Otherwise
// copies name iFile, cut to the buffer, and returns the bytes copied without the terminator.
UINT DragQueryFile(HDROP drop, UINT iFile, LPSTR buffer, UINT size);
// The drop point; TRUE when it lies in the client area.
BOOL DragQueryPoint(HDROP drop, LPPOINT point);
void DragFinish(HDROP drop);

#define DragQueryFileA DragQueryFile

namespace brambolt {

// The window that takes files dropped at a screen point: the window there or its nearest
// ancestor that accepts files; null when none does.
HWND DropTargetAt(POINT screen);
// A new HDROP block (moveable global memory) naming the files, with the drop point given in the
// target's client coordinates; null when the memory cannot be had.
HGLOBAL NewDropFilesBlock(const std::vector<std::string>& files, POINT client = {0, 0}, BOOL fNC = FALSE);
// Drops files (names as bytes) at a screen point: posts WM_DROPFILES with a new HDROP to the
// drop target. False when no window there accepts files.
bool DropFiles(POINT screen, const std::vector<std::string>& files);

// A drag that another program brings over this program's windows, as the X11 backend sees it:
// what it offers, and how to fetch that from the other program (waiting a moment for it; false
// when it does not come).
struct ForeignDrag {
  bool offersText = false;   // UTF-8 text
  bool offersFiles = false;  // a list of local files
  std::function<bool(std::string& utf8)> text;
  std::function<bool(std::vector<std::string>& files)> files;
};

// The drop targets such a drag may reach besides windows that accept files: the OLE module's
// registered targets, installed by that module when it registers the first one. Calls come on
// the user-interface thread; effects are DROPEFFECT_ bits (1 copy, 2 move), 0 for none.
class ForeignDropTargets {
 public:
  virtual ~ForeignDropTargets() = default;
  // The drag entered or moved to a screen point: the effect the target there answers.
  virtual DWORD DragOver(POINT screen, DWORD keys, DWORD allowed, const ForeignDrag& drag) = 0;
  virtual void DragLeave() = 0;
  // Dropped at the last point: the effect the drop had.
  virtual DWORD Drop(DWORD keys) = 0;
};
void SetForeignDropTargets(ForeignDropTargets* targets);
ForeignDropTargets* GetForeignDropTargets();

// What a drag of this program offers another program's window it passes over.
struct OutgoingDrag {
  std::string text;                // UTF-8, empty for none
  std::vector<std::string> files;  // local files, empty for none
};

// This program's drags beyond its own windows, over other programs' windows (the X11 backend's
// XDND source), installed by the backend that can reach them. Calls come on the user-interface
// thread from the drag's loop; effects are DROPEFFECT_ bits (1 copy, 2 move), 0 for none.
class ForeignDragSource {
 public:
  virtual ~ForeignDragSource() = default;
  // At a screen point where no window of this program is: the effect the other program's window
  // there takes, 0 when none takes it (or no such window is there).
  virtual DWORD DragOver(POINT screen, DWORD keys, DWORD allowed, const OutgoingDrag& drag) = 0;
  virtual void DragLeave() = 0;
  // Dropped at the last point: the effect the other program reports.
  virtual DWORD Drop(DWORD keys) = 0;
};
void SetForeignDragSource(ForeignDragSource* source);
ForeignDragSource* GetForeignDragSource();

// The local files of a text/uri-list (file: URIs, percent escapes decoded to bytes, the names
// given as the program spells them); comments, other schemes and other hosts' files are left out.
std::vector<std::string> FilesOfUriList(std::string_view list);
// A text/uri-list of local files (named as the program spells them, with '/' separators): file://
// URIs of the system's spelling, one a line ending in CR LF, every byte that is not unreserved
// (nor a slash) percent-escaped.
std::string UriListOfFiles(const std::vector<std::string>& files);

}  // namespace brambolt
