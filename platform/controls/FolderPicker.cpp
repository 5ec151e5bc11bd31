// The folder picker: a dialog with the title, the current folder's path, its sub-folders (and ".."
// to go up) and OK/Cancel; the caller's callback hears BFFM_INITIALIZED and BFFM_SELCHANGED and
// may move the selection with BFFM_SETSELECTION.
#include "controls/FolderPicker.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "controls/CommonDialogSupport.h"
#include "controls/ControlSupport.h"
#include "os/os.h"
#include "res/ResourceTemplates.h"

namespace brambolt::ctl {
namespace {

std::string ParentOfPath(const std::string& path) {
  if (path.size() <= 1) return "/";
  std::size_t slash = path.find_last_of('/', path.size() - 2);
  return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

std::vector<std::string> SubFolders(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATA data;
  HANDLE find = FindFirstFile(JoinPath(folder, "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::string name = data.cFileName;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") names.push_back(name);
  } while (FindNextFile(find, &data));
  FindClose(find);
  return names;
}

class Picker {
 public:
  explicit Picker(BROWSEINFOA* bi) : bi_(bi) {}
  INT_PTR Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  const std::string& Chosen() const { return chosen_; }

 private:
  void Show(const std::string& folder);  // lists a folder and selects it
  void Select(const std::string& path);
  void Callback(UINT msg, LPARAM lParam);
  bool Accept();

  BROWSEINFOA* bi_;
  HWND hwnd_ = nullptr;
  std::string folder_;    // the folder listed
  std::string selected_;  // the folder chosen so far
  std::string chosen_;
};

void Picker::Callback(UINT msg, LPARAM lParam) {
  if (bi_->lpfn) bi_->lpfn(hwnd_, msg, lParam, bi_->lParam);
}

void Picker::Select(const std::string& path) {
  selected_ = path;
  SetDlgItemText(hwnd_, IDC_BROWSE_PATH, path.c_str());
  PIDLIST_ABSOLUTE pidl = ILCreateFromPath(path.c_str());
  Callback(BFFM_SELCHANGED, reinterpret_cast<LPARAM>(pidl));
  ILFree(pidl);
}

void Picker::Show(const std::string& folder) {
  folder_ = folder;
  HWND list = GetDlgItem(hwnd_, IDC_BROWSE_FOLDERS);
  SendMessage(list, LB_RESETCONTENT, 0, 0);
  if (folder != "/") SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(".."));
  for (const std::string& name : SubFolders(folder))
    SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  Select(folder);
}

bool Picker::Accept() {
  // A path typed in the box wins over the list.
  std::string typed = TextOf(GetDlgItem(hwnd_, IDC_BROWSE_PATH));
  std::string path = typed == selected_ ? selected_ : ExistingFolder(typed);
  if (path.empty()) {
    // With validation the callback decides: nonzero keeps the picker open, zero closes it on the
    // folder selected in the list.
    if ((bi_->ulFlags & BIF_VALIDATE) && bi_->lpfn &&
        bi_->lpfn(hwnd_, BFFM_VALIDATEFAILED, reinterpret_cast<LPARAM>(typed.c_str()), bi_->lParam))
      return false;
    path = selected_;
  }
  chosen_ = path;
  return true;
}

INT_PTR Picker::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_INITDIALOG: {
      hwnd_ = hwnd;
      SetDlgItemText(hwnd, IDC_BROWSE_TITLE, bi_->lpszTitle ? bi_->lpszTitle : "");
      if (!(bi_->ulFlags & BIF_STATUSTEXT)) ShowWindow(GetDlgItem(hwnd, IDC_BROWSE_STATUS), SW_HIDE);
      std::string start;
      if (bi_->pidlRoot) {
        char root[MAX_PATH];
        if (SHGetPathFromIDList(bi_->pidlRoot, root)) start = ExistingFolder(root);
      }
      if (start.empty()) start = ExistingFolder(".");
      Show(start.empty() ? "/" : start);
      Callback(BFFM_INITIALIZED, 0);
      return TRUE;
    }
    case BFFM_SETSELECTIONA: {
      std::string path;
      if (wParam) {
        path = ExistingFolder(reinterpret_cast<LPCSTR>(lParam));
      } else {
        char buffer[MAX_PATH];
        if (SHGetPathFromIDList(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), buffer)) path = ExistingFolder(buffer);
      }
      if (!path.empty()) Show(path);
      return TRUE;
    }
    case BFFM_SETSTATUSTEXTA:
      SetDlgItemText(hwnd, IDC_BROWSE_STATUS, reinterpret_cast<LPCSTR>(lParam));
      return TRUE;
    case BFFM_ENABLEOK:
      EnableWindow(GetDlgItem(hwnd, IDOK), lParam != 0);
      return TRUE;
    case WM_COMMAND: {
      int id = LOWORD(wParam), code = HIWORD(wParam);
      if (id == IDC_BROWSE_FOLDERS) {
        HWND list = GetDlgItem(hwnd, IDC_BROWSE_FOLDERS);
        int index = static_cast<int>(SendMessage(list, LB_GETCURSEL, 0, 0));
        if (index < 0) return TRUE;
        char name[MAX_PATH] = {};
        SendMessage(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name));
        std::string target = std::strcmp(name, "..") == 0 ? ParentOfPath(folder_) : JoinPath(folder_, name);
        if (code == LBN_DBLCLK) Show(target);
        else if (code == LBN_SELCHANGE) Select(target);
        return TRUE;
      }
      if (id == IDOK && code == BN_CLICKED) {
        if (Accept()) EndDialog(hwnd, IDOK);
        return TRUE;
      }
      if (id == IDCANCEL) {
        EndDialog(hwnd, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    }
  }
  return FALSE;
}

DialogTemplate PickerTemplate() {
  DialogTemplate t = CommonDialogFrame("Browse for Folder", 212, 188);
  t.items = {
      DialogItem("Static", "", SS_LEFT | SS_NOPREFIX, 7, 6, 198, 20, IDC_BROWSE_TITLE),
      DialogItem("Static", "", SS_LEFT | SS_NOPREFIX, 7, 26, 198, 8, IDC_BROWSE_STATUS),
      DialogItem("Edit", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 36, 198, 13, IDC_BROWSE_PATH),
      DialogItem("ListBox", "", WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 7, 53, 198, 108,
           IDC_BROWSE_FOLDERS),
      DialogItem("Button", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 101, 167, 50, 14, IDOK),
      DialogItem("Button", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, 155, 167, 50, 14, IDCANCEL),
  };
  return t;
}

}  // namespace
}  // namespace brambolt::ctl

PIDLIST_ABSOLUTE ILCreateFromPath(LPCSTR path) {
  if (path == nullptr) return nullptr;
  std::size_t length = std::strlen(path);
  std::size_t itemSize = sizeof(USHORT) + length + 1;
  if (itemSize > 0xFFFF) return nullptr;
  auto* bytes = static_cast<BYTE*>(std::calloc(1, itemSize + sizeof(USHORT)));
  if (bytes == nullptr) return nullptr;
  bytes[0] = static_cast<BYTE>(itemSize & 0xFF);
  bytes[1] = static_cast<BYTE>(itemSize >> 8);
  std::memcpy(bytes + sizeof(USHORT), path, length);  // the NUL and the list's end are zeroed
  return reinterpret_cast<PIDLIST_ABSOLUTE>(bytes);
}

void ILFree(PIDLIST_ABSOLUTE pidl) { std::free(pidl); }

void CoTaskMemFree(void* memory) { std::free(memory); }

BOOL SHGetPathFromIDList(PCIDLIST_ABSOLUTE pidl, LPSTR path) {
  if (path) path[0] = '\0';
  if (pidl == nullptr || path == nullptr) return FALSE;
  const auto* bytes = reinterpret_cast<const BYTE*>(pidl);
  std::size_t itemSize = static_cast<std::size_t>(bytes[0] | bytes[1] << 8);
  if (itemSize <= sizeof(USHORT)) return FALSE;
  std::size_t length = strnlen(reinterpret_cast<const char*>(bytes + sizeof(USHORT)), itemSize - sizeof(USHORT));
  if (length >= MAX_PATH) return FALSE;
  std::memcpy(path, bytes + sizeof(USHORT), length);
  path[length] = '\0';
  return TRUE;
}

PIDLIST_ABSOLUTE SHBrowseForFolder(LPBROWSEINFOA bi) {
  using namespace brambolt::ctl;
  if (bi == nullptr) return nullptr;
  Picker picker(bi);
  HWND dialog = brambolt::CreateDialogFromTemplate(nullptr, PickerTemplate(), bi->hwndOwner, ObjectDialogProc<Picker>,
                                                   reinterpret_cast<LPARAM>(&picker));
  if (dialog == nullptr) return nullptr;
  if (brambolt::RunModalDialog(dialog, bi->hwndOwner) != IDOK) return nullptr;
  const std::string& chosen = picker.Chosen();
  if (bi->pszDisplayName) {
    std::string name = chosen == "/" ? chosen : chosen.substr(chosen.find_last_of('/') + 1);
    std::size_t n = std::min<std::size_t>(name.size(), MAX_PATH - 1);
    std::memcpy(bi->pszDisplayName, name.data(), n);
    bi->pszDisplayName[n] = '\0';
  }
  return ILCreateFromPath(chosen.c_str());
}

namespace brambolt {

bool BrowseForFolder(HWND owner, const char* title, const std::string& initial, std::string* chosen) {
  BROWSEINFOA bi{};
  bi.hwndOwner = owner;
  bi.lpszTitle = title;
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  bi.lParam = reinterpret_cast<LPARAM>(initial.c_str());
  bi.lpfn = [](HWND hwnd, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data && *reinterpret_cast<const char*>(data))
      SendMessage(hwnd, BFFM_SETSELECTION, TRUE, data);
    return 0;
  };
  PIDLIST_ABSOLUTE pidl = SHBrowseForFolder(&bi);
  if (pidl == nullptr) return false;
  char path[MAX_PATH];
  BOOL ok = SHGetPathFromIDList(pidl, path);
  ILFree(pidl);
  if (!ok) return false;
  std::string result = path;
  // Callers append file names straight to the folder, so it ends in a separator.
  if (result.empty() || (result.back() != '/' && result.back() != '\\')) result += '\\';
  if (chosen) *chosen = result;
  return true;
}

}  // namespace brambolt
