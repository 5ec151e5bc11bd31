// Readers of the binary templates that resource compilers produce: dialogs (DIALOG and
// DIALOGEX), menus (MENU and MENUEX), accelerator tables, icon and cursor directories and
// toolbars. Texts come back converted to the ANSI code page.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "base/WinTypes.h"
#include "res/ResourceTypes.h"

namespace brambolt {

// A name that a template gives either as an ordinal or as text.
struct ResourceName {
  bool isOrdinal = false;
  WORD ordinal = 0;
  std::string text;

  bool empty() const { return !isOrdinal && text.empty(); }
  // The LPCTSTR form: MAKEINTRESOURCE(ordinal) or the text.
  LPCTSTR AsResource() const;
};

struct DialogItemTemplate {
  DWORD helpId = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  ResourceName windowClass;  // ordinals 0x80-0x85 are the predefined control classes
  ResourceName title;
  std::vector<BYTE> creationData;

  // The class name, with the predefined ordinals spelled out ("Button", "Edit", ...).
  std::string ClassName() const;
};

struct DialogTemplate {
  bool extended = false;
  DWORD helpId = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  ResourceName menu;
  ResourceName windowClass;
  std::string title;
  bool hasFont = false;
  WORD pointSize = 0;
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charSet = 0;
  std::string faceName;
  std::vector<DialogItemTemplate> items;
};

// Parses a DLGTEMPLATE or DLGTEMPLATEEX; nullopt when the bytes are malformed or cut short.
std::optional<DialogTemplate> ParseDialogTemplate(const void* data, std::size_t size);

struct MenuItemTemplate {
  DWORD flags = 0;  // MF_ flags of a MENU template (MF_POPUP, MF_GRAYED, MF_CHECKED, MF_SEPARATOR ...)
  DWORD type = 0;   // MFT_ type of a MENUEX item
  DWORD state = 0;  // MFS_ state of a MENUEX item
  DWORD id = 0;
  DWORD helpId = 0;
  std::string text;
  std::vector<MenuItemTemplate> children;  // the items of a popup

  bool IsPopup() const { return (flags & MF_POPUP) != 0; }
  bool IsSeparator() const;
};

struct MenuTemplate {
  bool extended = false;
  std::vector<MenuItemTemplate> items;
};

std::optional<MenuTemplate> ParseMenuTemplate(const void* data, std::size_t size);

// An accelerator table resource: eight bytes an entry, the last marked by 0x80 in its flags.
std::vector<ACCEL> ParseAcceleratorTable(const void* data, std::size_t size);

struct IconDirectoryEntry {
  int width = 0;
  int height = 0;
  int colorCount = 0;
  int planes = 0;
  int bitCount = 0;
  DWORD bytes = 0;
  WORD id = 0;
};

// Parses an RT_GROUP_ICON or RT_GROUP_CURSOR directory.
std::vector<IconDirectoryEntry> ParseIconDirectory(const void* data, std::size_t size, bool icon);

// The id of the directory's image that best fits cx by cy (0: the system size), reading no byte
// past `size`; 0 when there is none.
int BestIconId(const void* data, std::size_t size, bool icon, int cx, int cy);

struct ToolbarTemplate {
  WORD version = 0;
  WORD width = 0;
  WORD height = 0;
  std::vector<WORD> ids;  // 0 stands for a separator
};

std::optional<ToolbarTemplate> ParseToolbarTemplate(const void* data, std::size_t size);

}  // namespace brambolt

// Chooses, from an icon or cursor directory, the image that best fits cx by cy (0 = the system
// icon or cursor size) and returns its RT_ICON / RT_CURSOR id, 0 when there is none.
int LookupIconIdFromDirectoryEx(const BYTE* presbits, BOOL fIcon, int cxDesired, int cyDesired, UINT Flags);
int LookupIconIdFromDirectory(const BYTE* presbits, BOOL fIcon);
