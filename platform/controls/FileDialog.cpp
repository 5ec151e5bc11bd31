// The old-style file dialog: a file-name edit, the files of the current folder that match the
// chosen filter, the folder list (the path from the root, then the sub-folders), the filter and
// "drives" ("/" and the home folder) combo boxes. Old-style hooks see every message first and
// custom templates replace the layout while keeping the control ids; Explorer-style hooks and
// templates are a child dialog told what happens through CDN_ notifications.
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
#include "win/Input.h"

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

// The child dialog of an Explorer-style hook: the hook is its dialog procedure.
INT_PTR CALLBACK ExplorerChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) SetWindowLongPtr(hwnd, DWLP_USER, lParam);
  auto* ofn = reinterpret_cast<OPENFILENAMEA*>(GetWindowLongPtr(hwnd, DWLP_USER));
  if (ofn == nullptr || !(ofn->Flags & OFN_ENABLEHOOK) || ofn->lpfnHook == nullptr) return FALSE;
  return static_cast<INT_PTR>(ofn->lpfnHook(hwnd, msg, wParam, lParam));
}

// The names picked in the file list, in its order.
std::vector<std::string> SelectedNames(HWND files) {
  const int count = static_cast<int>(SendMessage(files, LB_GETSELCOUNT, 0, 0));
  std::vector<std::string> names;
  if (count <= 0) return names;
  std::vector<int> selected(static_cast<std::size_t>(count));
  SendMessage(files, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(selected.data()));
  for (int i : selected) {
    char name[MAX_PATH] = {};
    SendMessage(files, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
    names.push_back(name);
  }
  return names;
}

// What the name field shows for the files picked in the list: the one under the caret, or with
// several picked every name in quotes ("a.h" "b.h"), as the Explorer-style dialog shows them and
// CDM_GETSPEC hands them on (a hook sizes its name buffer from that).
std::string SelectionSpec(HWND files, const char* caretName) {
  if (SendMessage(files, LB_GETSELCOUNT, 0, 0) <= 1) return caretName;
  std::string spec;
  for (const std::string& name : SelectedNames(files)) spec += (spec.empty() ? "\"" : " \"") + name + '"';
  return spec;
}

// Posted to the dialog by its start-up: the file name takes the focus.
constexpr UINT kFocusFileName = WM_APP + 0x3F1;

class FileDialog {
 public:
  // `child`: the template of the Explorer-style child dialog, when there is one.
  FileDialog(OPENFILENAMEA* ofn, bool save, std::optional<DialogTemplate> child)
      : ofn_(ofn), save_(save), childTemplate_(std::move(child)) {}
  INT_PTR Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  void Init(HWND hwnd);
  void CreateChild();
  // Sends the child dialog a CDN_ notification; its answer (0 without a child).
  LRESULT Notify(UINT code);
  // The answer of an old-style hook to one of the registered messages (0 without a hook).
  UINT_PTR HookNotify(const char* name, WPARAM wParam, LPARAM lParam);
  bool Accepted();
  bool Query(UINT msg, WPARAM wParam, LPARAM lParam);
  void ShowFolder(std::string folder);  // by value: callers pass entries of the list it refills
  // Fills the drives box (old style) or the "Look in" box (Explorer style) for the folder shown.
  void FillPlaces();
  void FillFiles();
  bool Ok();
  bool Deliver(const std::vector<std::string>& names);
  std::string CurrentPatterns() const;
  bool Hook(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR* result);

  OPENFILENAMEA* ofn_;
  bool save_;
  std::optional<DialogTemplate> childTemplate_;
  HWND hwnd_ = nullptr, child_ = nullptr;
  std::string folder_;
  std::string defExt_;
  std::vector<Filter> filters_;
  std::vector<std::string> folderEntries_;  // full paths behind the folder list's lines
  std::vector<std::string> places_;         // full paths behind the lines of the drives or "Look in" box
  // Whether the name field holds less than was typed or pasted into it.
  RefusedNameWatch nameRefusals_;
};

bool FileDialog::Hook(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  if (childTemplate_ || !(ofn_->Flags & OFN_ENABLEHOOK) || ofn_->lpfnHook == nullptr) return false;
  *result = static_cast<INT_PTR>(ofn_->lpfnHook(hwnd_, msg, wParam, lParam));
  return *result != 0;
}

LRESULT FileDialog::Notify(UINT code) {
  if (child_ == nullptr) return 0;
  OFNOTIFYA notify{};
  notify.hdr.hwndFrom = hwnd_;
  notify.hdr.idFrom = 0;
  notify.hdr.code = code;
  notify.lpOFN = ofn_;
  return SendMessage(child_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
}

UINT_PTR FileDialog::HookNotify(const char* name, WPARAM wParam, LPARAM lParam) {
  if (childTemplate_ || !(ofn_->Flags & OFN_ENABLEHOOK) || ofn_->lpfnHook == nullptr) return 0;
  return ofn_->lpfnHook(hwnd_, RegisterWindowMessage(name), wParam, lParam);
}

// The hook's last word on a name already written to the structure.
bool FileDialog::Accepted() {
  if (child_) return Notify(CDN_FILEOK) == 0;
  return HookNotify(FILEOKSTRING, 0, reinterpret_cast<LPARAM>(ofn_)) == 0;
}

void FileDialog::CreateChild() {
  DialogTemplate t = *childTemplate_;
  t.style = (t.style & ~static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME |
                                           WS_DISABLED)) |
            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_CONTROL;
  t.x = t.y = 0;
  child_ = CreateDialogFromTemplate(ofn_->hInstance, t, hwnd_, ExplorerChildProc, reinterpret_cast<LPARAM>(ofn_));
  if (child_ == nullptr) return;
  // The child's own controls go below the standard ones; the dialog grows to hold them.
  RECT client, extra;
  GetClientRect(hwnd_, &client);
  GetWindowRect(child_, &extra);
  int w = extra.right - extra.left, h = extra.bottom - extra.top;
  SetWindowPos(child_, HWND_BOTTOM, 0, client.bottom, w, h, SWP_NOACTIVATE);
  if (h > 0 || w > client.right) {
    RECT window;
    GetWindowRect(hwnd_, &window);
    SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left + std::max(0, w - static_cast<int>(client.right)),
                 window.bottom - window.top + h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// The CDM_ messages an Explorer-style child sends: the answer goes to DWLP_MSGRESULT.
bool FileDialog::Query(UINT msg, WPARAM wParam, LPARAM lParam) {
  auto give = [&](const std::string& text) {
    auto* buffer = reinterpret_cast<char*>(lParam);
    if (buffer && wParam > 0) {
      std::size_t n = std::min<std::size_t>(text.size(), wParam - 1);
      std::memcpy(buffer, text.data(), n);
      buffer[n] = '\0';
    }
    return static_cast<LRESULT>(text.size() + 1);
  };
  LRESULT result = 0;
  switch (msg) {
    case CDM_GETSPEC:
      result = give(TextOf(GetDlgItem(hwnd_, edt1)));
      break;
    case CDM_GETFILEPATH: {
      std::string spec = TextOf(GetDlgItem(hwnd_, edt1));
      bool absolute = !spec.empty() && (spec.front() == '/' || spec.front() == '\\');
      result = give(absolute ? spec : JoinPath(folder_, spec));
      break;
    }
    case CDM_GETFOLDERPATH:
      result = give(folder_);
      break;
    case CDM_SETCONTROLTEXT:
      SetDlgItemText(hwnd_, static_cast<int>(wParam), reinterpret_cast<LPCSTR>(lParam));
      break;
    case CDM_HIDECONTROL:
      ShowWindow(GetDlgItem(hwnd_, static_cast<int>(wParam)), SW_HIDE);
      break;
    case CDM_SETDEFEXT:
      defExt_ = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
      break;
    default:
      return false;
  }
  SetWindowLongPtr(hwnd_, DWLP_MSGRESULT, result);
  return true;
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

// The folders from the root down to `folder`, each a full path.
std::vector<std::string> FolderChain(const std::string& folder) {
  std::vector<std::string> chain{"/"};
  for (std::size_t at = folder.find('/', 1); at != std::string::npos; at = folder.find('/', at + 1))
    chain.push_back(folder.substr(0, at));
  if (folder != "/") chain.push_back(folder);
  return chain;
}

// A chain's line in a list: its last name, indented one step a level.
std::string ChainLine(const std::vector<std::string>& chain, std::size_t i) {
  std::string name = i == 0 ? "/" : chain[i].substr(chain[i].find_last_of('/') + 1);
  return std::string(i, ' ') + name;
}

// The home folder, or empty when there is none worth offering.
std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home && std::strcmp(home, "/") != 0 ? ProgramNameOf(home) : std::string();
}

void FileDialog::FillPlaces() {
  HWND box = GetDlgItem(hwnd_, cmb2);
  if (box == nullptr) return;
  SendMessage(box, CB_RESETCONTENT, 0, 0);
  places_.clear();
  auto add = [&](const std::string& line, const std::string& path) {
    SendMessage(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    places_.push_back(path);
  };
  std::string home = HomeFolder();
  if (!(ofn_->Flags & OFN_EXPLORER)) {
    // The old style's "drives": the root, and the home folder when the folder lies in it.
    add("/", "/");
    if (!home.empty()) add(home, home);
    bool inHome = !home.empty() && (folder_ == home || folder_.rfind(home + "/", 0) == 0);
    SendMessage(box, CB_SETCURSEL, inHome ? 1 : 0, 0);
    return;
  }
  // "Look in": the way down from the root to the folder shown, which is selected, then the home
  // folder when it is not on that way.
  std::vector<std::string> chain = FolderChain(folder_);
  for (std::size_t i = 0; i < chain.size(); ++i) add(ChainLine(chain, i), chain[i]);
  if (!home.empty() && std::find(chain.begin(), chain.end(), home) == chain.end()) add(home, home);
  SendMessage(box, CB_SETCURSEL, chain.size() - 1, 0);
}

void FileDialog::ShowFolder(std::string folder) {
  folder_ = folder;
  SetDlgItemText(hwnd_, stc1, folder.c_str());
  FillPlaces();
  HWND list = GetDlgItem(hwnd_, lst2);
  if (list) {
    SendMessage(list, LB_RESETCONTENT, 0, 0);
    folderEntries_.clear();
    // The path from the root, indented one step a level, then the folder's own sub-folders.
    std::vector<std::string> chain = FolderChain(folder);
    for (std::size_t i = 0; i < chain.size(); ++i) {
      SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ChainLine(chain, i).c_str()));
      folderEntries_.push_back(chain[i]);
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
    SendMessage(list, LB_SETCURSEL, chain.size() - 1, 0);
  }
  FillFiles();
  Notify(CDN_FOLDERCHANGE);
}

void FileDialog::Init(HWND hwnd) {
  hwnd_ = hwnd;
  defExt_ = ofn_->lpstrDefExt ? ofn_->lpstrDefExt : "";
  if (ofn_->lpstrTitle) SetWindowText(hwnd, ofn_->lpstrTitle);
  filters_ = Filters(ofn_->lpstrFilter);
  HWND types = GetDlgItem(hwnd, cmb1);
  for (const Filter& f : filters_) SendMessage(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.name.c_str()));
  if (!filters_.empty()) {
    DWORD index = ofn_->nFilterIndex ? ofn_->nFilterIndex - 1 : 0;
    SendMessage(types, CB_SETCURSEL, std::min<DWORD>(index, static_cast<DWORD>(filters_.size() - 1)), 0);
  }
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
  nameRefusals_.Watch(GetDlgItem(hwnd, edt1));
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
  if (!Accepted()) return false;
  EndDialog(hwnd_, IDOK);
  return true;
}

bool FileDialog::Ok() {
  HWND nameField = GetDlgItem(hwnd_, edt1);
  std::string typed = TextOf(nameField);
  auto refuse = [&] {
    MessageBox(hwnd_, RefusedNameMessage(), ofn_->lpstrTitle ? ofn_->lpstrTitle : (save_ ? "Save As" : "Open"),
               MB_OK | MB_ICONEXCLAMATION);
    SendMessage(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(nameField), TRUE);
    SendMessage(nameField, EM_SETSEL, 0, -1);
    return false;
  };
  // Characters of the name that the code page cannot hold were left out: what is left is not the
  // name the user gave (under a UTF-8 locale, "テスト.h" would become ".h").
  if (nameRefusals_.Refused()) return refuse();
  std::vector<std::string> names;
  HWND files = GetDlgItem(hwnd_, lst1);
  if ((ofn_->Flags & OFN_ALLOWMULTISELECT) && files && IsWindowVisible(files) &&
      SendMessage(files, LB_GETSELCOUNT, 0, 0) > 1)
    return Deliver(SelectedNames(files));
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
  // The path as found on disk (letter case, the spelling of names made under another locale), as
  // the program spells it.
  std::string resolved = ProgramNameOf(NativePath(full));
  std::size_t slash = resolved.find_last_of('/');
  std::string folder = slash == std::string::npos ? folder_ : ExistingFolder(resolved.substr(0, slash + 1));
  std::string name = slash == std::string::npos ? resolved : resolved.substr(slash + 1);
  if (folder.empty()) {
    if (ofn_->Flags & OFN_PATHMUSTEXIST) {
      MessageBox(hwnd_, (typed + "\nPath does not exist.\nCheck the path and try again.").c_str(),
                 ofn_->lpstrTitle ? ofn_->lpstrTitle : (save_ ? "Save As" : "Open"), MB_OK | MB_ICONEXCLAMATION);
      return false;
    }
    // Without the flag the path goes back as typed, so the caller's write fails and names it: a
    // name is never moved into another folder than the one typed.
    folder = resolved.substr(0, slash + 1);
  }
  if (!defExt_.empty() && name.find('.') == std::string::npos) {
    name += '.';
    name += defExt_;
  }
  std::string target = JoinPath(folder, name);
  // A new name with a character the locale's charset lacks cannot be made as typed.
  if (save_ && nameRefusals_.Refused(target)) return refuse();
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
  // The folder of the name chosen is the dialog's, unless the application refuses the name.
  const std::string shown = folder_;
  folder_ = folder;
  names.push_back(name);
  if (Deliver(names)) return true;
  folder_ = shown;
  return false;
}

INT_PTR FileDialog::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  INT_PTR result = 0;
  if (msg == WM_INITDIALOG) {
    Init(hwnd);
    // Once the application's own start-up is done (and before the dialog shows: a modal dialog
    // shows when the messages of its creation are handled) the file name takes the focus, so
    // that a person can type a name at once.
    PostMessage(hwnd, kFocusFileName, 0, 0);
    if (childTemplate_) {
      CreateChild();
      Notify(CDN_INITDONE);
      Notify(CDN_FOLDERCHANGE);
      return TRUE;
    }
    // The hook initialises after the dialog, with the structure; its answer decides the focus.
    if ((ofn_->Flags & OFN_ENABLEHOOK) && ofn_->lpfnHook)
      return static_cast<INT_PTR>(ofn_->lpfnHook(hwnd, msg, wParam, reinterpret_cast<LPARAM>(ofn_)));
    return TRUE;
  }
  if (msg == kFocusFileName) {
    // Unless the application put the focus elsewhere than the first control, or hid the name.
    HWND name = GetDlgItem(hwnd, edt1);
    HWND focus = GetFocus();
    const bool defaultFocus = focus == nullptr || !IsChild(hwnd, focus) || focus == GetNextDlgTabItem(hwnd, nullptr, FALSE);
    const bool nameShown = name != nullptr && (GetWindowLong(name, GWL_STYLE) & WS_VISIBLE) != 0;
    if (nameShown && IsWindowEnabled(name) && defaultFocus)
      SendMessage(hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(name), TRUE);
    return TRUE;
  }
  if (hwnd_ && Hook(msg, wParam, lParam, &result)) return result;
  if (msg >= CDM_FIRST && msg <= CDM_LAST && hwnd_) return Query(msg, wParam, lParam);
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
        SetDlgItemText(hwnd, edt1, SelectionSpec(files, name).c_str());
        if (code == LBN_SELCHANGE) {
          if (child_)
            Notify(CDN_SELCHANGE);
          else
            HookNotify(LBSELCHSTRING, lst1, MAKELPARAM(index, CD_LBSELCHANGE));
        }
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
      if (code == CBN_SELCHANGE) {
        FillFiles();
        int index = static_cast<int>(SendDlgItemMessage(hwnd, cmb1, CB_GETCURSEL, 0, 0));
        if (index >= 0) ofn_->nFilterIndex = static_cast<DWORD>(index + 1);
        Notify(CDN_TYPECHANGE);
      }
      return TRUE;
    case edt1:
      if (code == EN_CHANGE) nameRefusals_.Changed();
      return FALSE;
    case pshHelp:
      if (code == BN_CLICKED) {
        Notify(CDN_HELP);
        if (ofn_->hwndOwner)
          SendMessage(ofn_->hwndOwner, RegisterWindowMessage(HELPMSGSTRING), reinterpret_cast<WPARAM>(hwnd),
                      reinterpret_cast<LPARAM>(ofn_));
      }
      return TRUE;
    case cmb2:
      if (code == CBN_SELCHANGE) {
        int index = static_cast<int>(SendDlgItemMessage(hwnd, cmb2, CB_GETCURSEL, 0, 0));
        if (index >= 0 && index < static_cast<int>(places_.size()))
          if (std::string folder = ExistingFolder(places_[static_cast<std::size_t>(index)]); !folder.empty())
            ShowFolder(folder);
      }
      return TRUE;
  }
  return FALSE;
}

constexpr DWORD kFolderListStyle = WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kComboStyle = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;

DWORD FileListStyle(bool multi) { return kFolderListStyle | LBS_SORT | (multi ? LBS_EXTENDEDSEL : 0); }

// The classic layout, with the classic ids.
DialogTemplate BuiltInTemplate(bool save, bool multi) {
  DialogTemplate t = CommonDialogFrame(save ? "Save As" : "Open", 264, 134);
  DWORD fileList = FileListStyle(multi);
  t.items = {
      DialogItem("Static", "File &name:", SS_LEFT, 6, 6, 76, 9, stc3),
      DialogItem("Edit", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 6, 16, 90, 12, edt1),
      DialogItem("ListBox", "", fileList, 6, 32, 90, 68, lst1),
      DialogItem("Static", "&Folders:", SS_LEFT, 110, 6, 96, 9, -1),
      DialogItem("Static", "", SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, 110, 16, 96, 9, stc1),
      DialogItem("ListBox", "", kFolderListStyle, 110, 32, 92, 68, lst2),
      DialogItem("Static", "List files of &type:", SS_LEFT, 6, 104, 90, 9, stc2),
      DialogItem("ComboBox", "", kComboStyle, 6, 114, 90, 96, cmb1),
      DialogItem("Static", "Dri&ves:", SS_LEFT, 110, 104, 92, 9, stc4),
      DialogItem("ComboBox", "", kComboStyle, 110, 114, 92, 68, cmb2),
      DialogItem("Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 208, 6, 50, 14, IDOK),
      DialogItem("Button", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 208, 24, 50, 14, IDCANCEL),
      DialogItem("Button", "&Help", BS_PUSHBUTTON | WS_TABSTOP, 208, 46, 50, 14, pshHelp),
      DialogItem("Button", "Net&work...", BS_PUSHBUTTON | WS_TABSTOP, 208, 114, 50, 14, psh14),
      DialogItem("Button", "&Read only", BS_AUTOCHECKBOX | WS_TABSTOP, 208, 68, 50, 12, chx1),
  };
  return t;
}

// The Explorer arrangement of the same controls: where to look on top, the lists in the middle,
// the name and the type with OK and Cancel below them (applications that adjust an Explorer-style
// dialog expect them under the file list).
DialogTemplate ExplorerTemplate(bool save, bool multi) {
  DialogTemplate t = CommonDialogFrame(save ? "Save As" : "Open", 290, 176);
  t.items = {
      DialogItem("Static", "Look &in:", SS_LEFT, 6, 8, 34, 9, stc4),
      DialogItem("ComboBox", "", kComboStyle, 42, 6, 80, 68, cmb2),
      DialogItem("Static", "", SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, 128, 8, 156, 9, stc1),
      DialogItem("ListBox", "", kFolderListStyle, 6, 22, 90, 100, lst2),
      DialogItem("ListBox", "", FileListStyle(multi), 102, 22, 182, 100, lst1),
      DialogItem("Static", "File &name:", SS_LEFT, 6, 130, 60, 9, stc3),
      DialogItem("Edit", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 68, 128, 160, 12, edt1),
      DialogItem("Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 234, 127, 50, 14, IDOK),
      DialogItem("Static", "Files of &type:", SS_LEFT, 6, 148, 60, 9, stc2),
      DialogItem("ComboBox", "", kComboStyle, 68, 146, 160, 96, cmb1),
      DialogItem("Button", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 234, 145, 50, 14, IDCANCEL),
      DialogItem("Button", "&Read only", BS_AUTOCHECKBOX | WS_TABSTOP, 68, 162, 80, 10, chx1),
      DialogItem("Button", "&Help", BS_PUSHBUTTON | WS_TABSTOP, 234, 160, 50, 14, pshHelp),
      DialogItem("Button", "Net&work...", BS_PUSHBUTTON | WS_TABSTOP, 178, 160, 50, 14, psh14),
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
  std::optional<DialogTemplate> application;  // the template the application gives
  if (ofn->Flags & OFN_ENABLETEMPLATEHANDLE) {
    application = ParseDialogTemplate(reinterpret_cast<const void*>(ofn->hInstance), 0x10000);
  } else if (ofn->Flags & OFN_ENABLETEMPLATE) {
    HRSRC info = FindResource(ofn->hInstance, ofn->lpTemplateName, RT_DIALOG);
    if (info == nullptr) {
      lastError = CDERR_FINDRESFAILURE;
      return FALSE;
    }
    HGLOBAL data = LoadResource(ofn->hInstance, info);
    const void* bytes = data ? LockResource(data) : nullptr;
    if (bytes) application = ParseDialogTemplate(bytes, SizeofResource(ofn->hInstance, info));
  }
  if ((ofn->Flags & (OFN_ENABLETEMPLATE | OFN_ENABLETEMPLATEHANDLE)) && !application) {
    lastError = CDERR_LOADRESFAILURE;
    return FALSE;
  }
  // Explorer style keeps the standard layout: a hook or template becomes a child dialog (an
  // empty one for a hook alone). Old style lets the template replace the layout.
  std::optional<DialogTemplate> child;
  if ((ofn->Flags & OFN_EXPLORER) && (application || (ofn->Flags & OFN_ENABLEHOOK))) {
    child = application ? std::move(*application) : DialogTemplate{};
    application.reset();
  }
  bool multi = (ofn->Flags & OFN_ALLOWMULTISELECT) != 0;
  DialogTemplate tmpl = application                    ? *application
                        : (ofn->Flags & OFN_EXPLORER) ? ExplorerTemplate(save, multi)
                                                      : BuiltInTemplate(save, multi);
  FileDialog dialog(ofn, save, std::move(child));
  HWND hwnd = CreateDialogFromTemplate(ofn->hInstance, tmpl, ofn->hwndOwner, ObjectDialogProc<FileDialog>,
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
