// Shared helpers of the common dialogs.
#include "controls/CommonDialogSupport.h"

#include <filesystem>
#include <system_error>

#include "controls/FileDialog.h"
#include "os/os.h"
#include "res/Resources.h"

namespace brambolt::ctl {

DialogItemTemplate DialogItem(const char* cls, const char* text, DWORD style, short x, short y, short cx, short cy,
                              int id) {
  DialogItemTemplate item;
  item.windowClass.text = cls;
  item.title.text = text;
  item.style = WS_CHILD | WS_VISIBLE | style;
  item.x = x;
  item.y = y;
  item.cx = cx;
  item.cy = cy;
  item.id = static_cast<DWORD>(id);
  return item;
}

DialogTemplate CommonDialogFrame(const char* title, short cx, short cy) {
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
  t.cx = cx;
  t.cy = cy;
  t.title = title;
  t.hasFont = true;
  t.pointSize = 8;
  t.faceName = "MS Sans Serif";
  return t;
}

std::optional<DialogTemplate> CallerTemplate(HINSTANCE instance, LPCSTR name, HGLOBAL memory, DWORD* error) {
  std::optional<DialogTemplate> parsed;
  if (memory) {
    const void* bytes = GlobalLock(memory);
    if (bytes == nullptr) {
      *error = CDERR_MEMLOCKFAILURE;
      return std::nullopt;
    }
    parsed = ParseDialogTemplate(bytes, GlobalSize(memory));
    GlobalUnlock(memory);
  } else {
    HRSRC info = FindResource(instance, name, RT_DIALOG);
    HGLOBAL data = info ? LoadResource(instance, info) : nullptr;
    const void* bytes = data ? LockResource(data) : nullptr;
    if (bytes == nullptr) {
      *error = CDERR_FINDRESFAILURE;
      return std::nullopt;
    }
    parsed = ParseDialogTemplate(bytes, SizeofResource(instance, info));
  }
  if (!parsed) *error = CDERR_LOADRESFAILURE;
  return parsed;
}

std::optional<DialogTemplate> ChooseDialogTemplate(bool byHandle, HGLOBAL memory, bool byName, HINSTANCE instance,
                                                   LPCSTR name, DialogTemplate (*builtIn)(), DWORD* error) {
  if ((byHandle && !memory) || (!byHandle && byName && !name)) {
    *error = CDERR_NOTEMPLATE;
    return std::nullopt;
  }
  if (byHandle) return CallerTemplate(nullptr, nullptr, memory, error);
  if (byName) return CallerTemplate(instance, name, nullptr, error);
  return builtIn();
}

std::string ExistingFolder(const std::string& path) {
  if (path.empty()) return {};
  std::string native = NativePath(path);
  DWORD attributes = GetFileAttributes(native.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
  // The full path, so the dialogs show the user where they are ("." or "a/.." say nothing).
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(native, error);
  if (!error) native = full.lexically_normal().string();
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  return ProgramNameOf(native);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace brambolt::ctl
