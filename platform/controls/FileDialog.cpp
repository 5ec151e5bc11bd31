// The old-style file dialog: a file-name edit, the files of the current folder that match the
// chosen filter, the folder list (the path from the root, then the sub-folders), the filter and
// "drives" ("/" and the home folder) combo boxes; hooks see every message first and custom
// templates replace the layout while keeping the control ids.
#include "controls/FileDialog.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "controls/CommonDialogSupport.h"
#include "controls/ControlSupport.h"
#include "os/os.h"
#include "res/ResourceTemplates.h"
#include "res/Resources.h"

namespace brambolt::ctl {
namespace {

thread_local DWORD lastError = 0;

struct Filter {
  std::string name, patterns;
};

// "Text\0*.txt;*.doc\0All\0*.*\0\0" as pairs.
std::vector<Filter> Filters(LPCSTR list) {
  std::vector<Filter> out;
  while (list && *list) {
    Filter f;
    f.name = list;
    list += f.name.size() + 1;
    if (!*list) break;
    f.patterns = list;
    list += f.patterns.size() + 1;
    out.push_back(std::move(f));
  }
  return out;
}

// Whether a name matches one of the patterns ("*.h;*.cpp"), as the Windows wildcards do.
bool Matches(const std::string& name, const std::string& patterns) {
  std::size_t start = 0;
  while (start <= patterns.size()) {
    std::size_t end = patterns.find(';', start);
    std::string pattern = patterns.substr(start, end == std::string::npos ? std::string::npos : end - start);
    while (!pattern.empty() && pattern.front() == ' ') pattern.erase(0, 1);
    if (pattern == "*.*" || pattern == "*") return true;
    if (!pattern.empty() && MatchesFilePattern(pattern, name)) return true;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return false;
}

class FileDialog {
 public:
  FileDialog(OPENFILENAMEA* ofn, bool save) : ofn_(ofn), save_(save) {}
  INT_PTR Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  void Init(HWND hwnd);
  void ShowFolder(std::string folder);  // by value: callers pass entries of the list it refills
  void FillFiles();
  bool Ok();
  bool Deliver(const std::vector<std::string>& names);
  std::string CurrentPatterns() const;
  bool Hook(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR* result);

  OPENFILENAMEA* ofn_;
  bool save_;
  HWND hwnd_ = nullptr;
  std::string folder_;
  std::vector<Filter> filters_;
  std::vector<std::string> folderEntries_;  // full paths behind the folder list's lines
};

bool FileDialog::Hook(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  if (!(ofn_->Flags & OFN_ENABLEHOOK) || ofn_->lpfnHook == nullptr) return false;
  *result = static_cast<INT_PTR>(ofn_->lpfnHook(hwnd_, msg, wParam, lParam));
  return *result != 0;
}

std::string FileDialog::CurrentPatterns() const {
  int index = static_cast<int>(SendDlgItemMessage(hwnd_, cmb1, CB_GETCURSEL, 0, 0));
  if (index >= 0 && index < static_cast<int>(filters_.size())) return filters_[static_cast<std::size_t>(index)].patterns;
  return "*.*";
}

void FileDialog::FillFiles() {
  HWND list = GetDlgItem(hwnd_, lst1);
  if (list == nullptr) return;
  SendMessage(list, LB_RESETCONTENT, 0, 0);
  std::string patterns = CurrentPatterns();
  WIN32_FIND_DATA data;
  HANDLE find = FindFirstFile(JoinPath(folder_, "*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && Matches(data.cFileName, patterns))
      SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(data.cFileName));
  } while (FindNextFile(find, &data));
  FindClose(find);
}

void FileDialog::ShowFolder(std::string folder) {
  folder_ = folder;
  SetDlgItemText(hwnd_, stc1, folder.c_str());
  // The "drive" shown is the home folder when the folder lies in it, else the root.
  const char* home = std::getenv("HOME");
  bool inHome = home && *home && std::strcmp(home, "/") != 0 && folder.rfind(home, 0) == 0;
  SendDlgItemMessage(hwnd_, cmb2, CB_SETCURSEL, inHome ? 1 : 0, 0);
  HWND list = GetDlgItem(hwnd_, lst2);
  if (list) {
    SendMessage(list, LB_RESETCONTENT, 0, 0);
    folderEntries_.clear();
    // The path from the root, indented one step a level, then the folder's own sub-folders.
    std::vector<std::string> chain{"/"};
    for (std::size_t at = folder.find('/', 1); at != std::string::npos; at = folder.find('/', at + 1))
      chain.push_back(folder.substr(0, at));
    if (folder != "/") chain.push_back(folder);
    int current = 0;
    for (std::size_t i = 0; i < chain.size(); ++i) {
      std::string name = i == 0 ? "/" : chain[i].substr(chain[i].find_last_of('/') + 1);
      std::string line = std::string(i, ' ') + name;
      SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
      folderEntries_.push_back(chain[i]);
      current = static_cast<int>(i);
    }
    WIN32_FIND_DATA data;
    HANDLE find = FindFirstFile(JoinPath(folder, "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::string name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") {
          std::string line = std::string(chain.size(), ' ') + name;
          SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
          folderEntries_.push_back(JoinPath(folder, name));
        }
      } while (FindNextFile(find, &data));
      FindClose(find);
    }
    SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(current), 0);
  }
  FillFiles();
}

void FileDialog::Init(HWND hwnd) {
  hwnd_ = hwnd;
  if (ofn_->lpstrTitle) SetWindowText(hwnd, ofn_->lpstrTitle);
  filters_ = Filters(ofn_->lpstrFilter);
  HWND types = GetDlgItem(hwnd, cmb1);
  for (const Filter& f : filters_) SendMessage(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.name.c_str()));
  if (!filters_.empty()) {
    DWORD index = ofn_->nFilterIndex ? ofn_->nFilterIndex - 1 : 0;
    SendMessage(types, CB_SETCURSEL, std::min<DWORD>(index, static_cast<DWORD>(filters_.size() - 1)), 0);
  }
  HWND drives = GetDlgItem(hwnd, cmb2);
  const char* home = std::getenv("HOME");
  SendMessage(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("/"));
  if (home && *home && std::strcmp(home, "/") != 0) SendMessage(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(home));
  if (ofn_->Flags & OFN_HIDEREADONLY) ShowWindow(GetDlgItem(hwnd, chx1), SW_HIDE);
  CheckDlgButton(hwnd, chx1, (ofn_->Flags & OFN_READONLY) ? BST_CHECKED : BST_UNCHECKED);
  if (!(ofn_->Flags & OFN_SHOWHELP)) ShowWindow(GetDlgItem(hwnd, pshHelp), SW_HIDE);
  ShowWindow(GetDlgItem(hwnd, psh14), SW_HIDE);  // there is no network to browse
  std::string start = ExistingFolder(ofn_->lpstrInitialDir ? ofn_->lpstrInitialDir : "");
  std::string name = ofn_->lpstrFile ? ofn_->lpstrFile : "";
  if (start.empty() && !name.empty()) {  // a path in the file buffer says where to start
    std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) {
      start = ExistingFolder(name.substr(0, slash + 1));
      if (!start.empty()) name = name.substr(slash + 1);
    }
  }
  if (start.empty()) start = ExistingFolder(".");
  SetDlgItemText(hwnd, edt1, name.c_str());
  ShowFolder(start.empty() ? "/" : start);
}

bool FileDialog::Deliver(const std::vector<std::string>& names) {
  std::string result;
  WORD offset, extension = 0;
  if (names.size() == 1) {
    result = JoinPath(folder_, names.front());
    offset = static_cast<WORD>(result.size() - names.front().size());
    std::size_t dot = names.front().find_last_of('.');
    extension = dot == std::string::npos ? static_cast<WORD>(result.size()) : static_cast<WORD>(offset + dot + 1);
  } else {
    // Several: the folder, then the names, separated by NULs (Explorer style) or spaces.
    char separator = (ofn_->Flags & OFN_EXPLORER) ? '\0' : ' ';
    result = folder_;
    offset = static_cast<WORD>(result.size() + 1);
    for (const std::string& n : names) result += separator + n;
  }
  if (ofn_->lpstrFile == nullptr || result.size() + 2 > ofn_->nMaxFile) {
    // Too small: the first two bytes tell the size needed, as the dialog has always done.
    if (ofn_->lpstrFile && ofn_->nMaxFile >= 2) {
      ofn_->lpstrFile[0] = static_cast<char>((result.size() + 2) & 0xFF);
      ofn_->lpstrFile[1] = static_cast<char>(((result.size() + 2) >> 8) & 0xFF);
    }
    lastError = FNERR_BUFFERTOOSMALL;
    EndDialog(hwnd_, IDCANCEL);
    return true;
  }
  std::memcpy(ofn_->lpstrFile, result.data(), result.size());
  ofn_->lpstrFile[result.size()] = '\0';
  ofn_->lpstrFile[result.size() + 1] = '\0';
  ofn_->nFileOffset = offset;
  ofn_->nFileExtension = extension;
  if (ofn_->lpstrFileTitle && ofn_->nMaxFileTitle > 0 && names.size() == 1) {
    std::size_t n = std::min<std::size_t>(names.front().size(), ofn_->nMaxFileTitle - 1);
    std::memcpy(ofn_->lpstrFileTitle, names.front().data(), n);
    ofn_->lpstrFileTitle[n] = '\0';
  }
  int index = static_cast<int>(SendDlgItemMessage(hwnd_, cmb1, CB_GETCURSEL, 0, 0));
  if (index >= 0) ofn_->nFilterIndex = static_cast<DWORD>(index + 1);
  if (IsDlgButtonChecked(hwnd_, chx1)) ofn_->Flags |= OFN_READONLY;
  else ofn_->Flags &= ~static_cast<DWORD>(OFN_READONLY);
  EndDialog(hwnd_, IDOK);
  return true;
}

bool FileDialog::Ok() {
  std::string typed = TextOf(GetDlgItem(hwnd_, edt1));
  std::vector<std::string> names;
  HWND files = GetDlgItem(hwnd_, lst1);
  if ((ofn_->Flags & OFN_ALLOWMULTISELECT) && files && IsWindowVisible(files) &&
      SendMessage(files, LB_GETSELCOUNT, 0, 0) > 1) {
    int count = static_cast<int>(SendMessage(files, LB_GETSELCOUNT, 0, 0));
    std::vector<int> selected(static_cast<std::size_t>(count));
    SendMessage(files, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(selected.data()));
    for (int i : selected) {
      char name[MAX_PATH] = {};
      SendMessage(files, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
      names.push_back(name);
    }
    return Deliver(names);
  }
  if (typed.empty()) return false;
  // A folder (or a path ending in one) is entered; wildcards become the filter of the list.
  std::string full = typed.front() == '/' || typed.front() == '\\' || (typed.size() > 1 && typed[1] == ':')
                         ? typed
                         : JoinPath(folder_, typed);
  if (std::string folder = ExistingFolder(full); !folder.empty()) {
    SetDlgItemText(hwnd_, edt1, "");
    ShowFolder(folder);
    return false;
  }
  if (typed.find_first_of("*?") != std::string::npos) {
    filters_.insert(filters_.begin(), Filter{typed, typed});
    SendDlgItemMessage(hwnd_, cmb1, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    SendDlgItemMessage(hwnd_, cmb1, CB_SETCURSEL, 0, 0);
    FillFiles();
    return false;
  }
  std::string native = NativePath(full);
  std::size_t slash = native.find_last_of('/');
  std::string folder = slash == std::string::npos ? folder_ : ExistingFolder(native.substr(0, slash + 1));
  std::string name = slash == std::string::npos ? native : native.substr(slash + 1);
  if (folder.empty()) {
    if (ofn_->Flags & OFN_PATHMUSTEXIST) {
      MessageBox(hwnd_, (typed + "\nPath does not exist.\nCheck the path and try again.").c_str(),
                 ofn_->lpstrTitle ? ofn_->lpstrTitle : (save_ ? "Save As" : "Open"), MB_OK | MB_ICONEXCLAMATION);
      return false;
    }
    folder = folder_;
  }
  if (ofn_->lpstrDefExt && *ofn_->lpstrDefExt && name.find('.') == std::string::npos) {
    name += '.';
    name += ofn_->lpstrDefExt;
  }
  std::string target = JoinPath(folder, name);
  bool exists = GetFileAttributes(target.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (!exists && (ofn_->Flags & OFN_FILEMUSTEXIST)) {
    MessageBox(hwnd_, (name + "\nFile not found.\nPlease verify the correct file name was given.").c_str(),
               ofn_->lpstrTitle ? ofn_->lpstrTitle : "Open", MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  if (exists && save_ && (ofn_->Flags & OFN_OVERWRITEPROMPT) &&
      MessageBox(hwnd_, (target + " already exists.\nDo you want to replace it?").c_str(),
                 ofn_->lpstrTitle ? ofn_->lpstrTitle : "Save As", MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
    return false;
  folder_ = folder;
  names.push_back(name);
  return Deliver(names);
}

INT_PTR FileDialog::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = 0;
  if (msg == WM_INITDIALOG) {
    Init(hwnd);
    // The hook initialises after the dialog, with the structure; its answer decides the focus.
    if ((ofn_->Flags & OFN_ENABLEHOOK) && ofn_->lpfnHook)
      return static_cast<INT_PTR>(ofn_->lpfnHook(hwnd, msg, wParam, reinterpret_cast<LPARAM>(ofn_)));
    return TRUE;
  }
  if (hwnd_ && Hook(msg, wParam, lParam, &result)) return result;
  if (msg != WM_COMMAND) return FALSE;
  int id = LOWORD(wParam), code = HIWORD(wParam);
  switch (id) {
    case IDOK:
      Ok();
      return TRUE;
    case IDCANCEL:
      EndDialog(hwnd, IDCANCEL);
      return TRUE;
    case lst1:
      if (code == LBN_SELCHANGE || code == LBN_DBLCLK) {
        HWND files = GetDlgItem(hwnd, lst1);
        int index = static_cast<int>(SendMessage(files, LB_GETCARETINDEX, 0, 0));
        if (index < 0) index = static_cast<int>(SendMessage(files, LB_GETCURSEL, 0, 0));
        char name[MAX_PATH] = {};
        if (index >= 0) SendMessage(files, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name));
        SetDlgItemText(hwnd, edt1, name);
        if (code == LBN_DBLCLK) Ok();
      }
      return TRUE;
    case lst2:
      if (code == LBN_DBLCLK) {
        int index = static_cast<int>(SendDlgItemMessage(hwnd, lst2, LB_GETCURSEL, 0, 0));
        if (index >= 0 && index < static_cast<int>(folderEntries_.size()))
          ShowFolder(folderEntries_[static_cast<std::size_t>(index)]);
      }
      return TRUE;
    case cmb1:
      if (code == CBN_SELCHANGE) FillFiles();
      return TRUE;
    case cmb2:
      if (code == CBN_SELCHANGE) {
        char drive[MAX_PATH] = {};
        int index = static_cast<int>(SendDlgItemMessage(hwnd, cmb2, CB_GETCURSEL, 0, 0));
        SendDlgItemMessage(hwnd, cmb2, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(drive));
        if (std::string folder = ExistingFolder(drive); !folder.empty()) ShowFolder(folder);
      }
      return TRUE;
  }
  return FALSE;
}

// The classic layout, with the classic ids.
DialogTemplate BuiltInTemplate(bool save, bool multi) {
  DialogTemplate t = CommonDialogFrame(save ? "Save As" : "Open", 280, 164);
  DWORD fileList = WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT |
                   (multi ? LBS_EXTENDEDSEL : 0);
  t.items = {
      DialogItem("Static", "File &name:", SS_LEFT, 6, 6, 76, 9, stc3),
      DialogItem("Edit", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 6, 16, 90, 12, edt1),
      DialogItem("ListBox", "", fileList, 6, 32, 90, 68, lst1),
      DialogItem("Static", "&Folders:", SS_LEFT, 110, 6, 96, 9, -1),
      DialogItem("Static", "", SS_LEFT | SS_NOPREFIX, 110, 16, 96, 9, stc1),
      DialogItem("ListBox", "", WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 110, 32, 92, 68,
           lst2),
      DialogItem("Static", "List files of &type:", SS_LEFT, 6, 104, 90, 9, stc2),
      DialogItem("ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 6, 114, 90, 96, cmb1),
      DialogItem("Static", "Dri&ves:", SS_LEFT, 110, 104, 92, 9, stc4),
      DialogItem("ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 110, 114, 92, 68, cmb2),
      DialogItem("Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 208, 6, 50, 14, IDOK),
      DialogItem("Button", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 208, 24, 50, 14, IDCANCEL),
      DialogItem("Button", "&Help", BS_PUSHBUTTON | WS_TABSTOP, 208, 46, 50, 14, pshHelp),
      DialogItem("Button", "Net&work...", BS_PUSHBUTTON | WS_TABSTOP, 208, 114, 50, 14, psh14),
      DialogItem("Button", "&Read only", BS_AUTOCHECKBOX | WS_TABSTOP, 208, 68, 50, 12, chx1),
  };
  return t;
}

BOOL Run(LPOPENFILENAMEA ofn, bool save) {
  lastError = 0;
  if (ofn == nullptr || (ofn->lStructSize != sizeof(OPENFILENAMEA) && ofn->lStructSize != OPENFILENAME_SIZE_VERSION_400)) {
    lastError = CDERR_STRUCTSIZE;
    return FALSE;
  }
  if ((ofn->Flags & OFN_ENABLEHOOK) && ofn->lpfnHook == nullptr) {
    lastError = CDERR_NOHOOK;
    return FALSE;
  }
  std::optional<DialogTemplate> tmpl;
  if (ofn->Flags & OFN_ENABLETEMPLATEHANDLE) {
    tmpl = ParseDialogTemplate(reinterpret_cast<const void*>(ofn->hInstance), 0x10000);
  } else if (ofn->Flags & OFN_ENABLETEMPLATE) {
    HRSRC info = FindResource(ofn->hInstance, ofn->lpTemplateName, RT_DIALOG);
    if (info == nullptr) {
      lastError = CDERR_FINDRESFAILURE;
      return FALSE;
    }
    HGLOBAL data = LoadResource(ofn->hInstance, info);
    const void* bytes = data ? LockResource(data) : nullptr;
    if (bytes) tmpl = ParseDialogTemplate(bytes, SizeofResource(ofn->hInstance, info));
  } else {
    tmpl = BuiltInTemplate(save, (ofn->Flags & OFN_ALLOWMULTISELECT) != 0);
  }
  if (!tmpl) {
    lastError = CDERR_LOADRESFAILURE;
    return FALSE;
  }
  FileDialog dialog(ofn, save);
  HWND hwnd = CreateDialogFromTemplate(ofn->hInstance, *tmpl, ofn->hwndOwner, ObjectDialogProc<FileDialog>,
                                       reinterpret_cast<LPARAM>(&dialog));
  if (hwnd == nullptr) {
    lastError = CDERR_DIALOGFAILURE;
    return FALSE;
  }
  return RunModalDialog(hwnd, ofn->hwndOwner) == IDOK;
}

}  // namespace

void SetCommDlgError(DWORD error) { lastError = error; }
DWORD CommDlgError() { return lastError; }

}  // namespace brambolt::ctl

BOOL GetOpenFileName(LPOPENFILENAMEA ofn) { return brambolt::ctl::Run(ofn, false); }
BOOL GetSaveFileName(LPOPENFILENAMEA ofn) { return brambolt::ctl::Run(ofn, true); }
DWORD CommDlgExtendedError() { return brambolt::ctl::CommDlgError(); }
