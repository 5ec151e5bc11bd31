// The shell-link object over symbolic links and desktop entries.
#include "ole/ShellLink.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "backend/DropFiles.h"
#include "base/Convert.h"
#include "ole/OleClasses.h"
#include "os/Paths.h"

namespace brambolt::ole {
namespace {

std::string Directory(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// The program an Exec line starts: its first word, unquoted, looked up on PATH when bare.
std::string ExecProgram(std::string_view exec) {
  std::string word;
  size_t i = exec.find_first_not_of(" \t");
  if (i == std::string_view::npos) return word;
  if (exec[i] == '"') {
    for (++i; i < exec.size() && exec[i] != '"'; ++i) {
      if (exec[i] == '\\' && i + 1 < exec.size()) ++i;
      word += exec[i];
    }
  } else {
    word = std::string(exec.substr(i, exec.find_first_of(" \t", i) - i));
  }
  if (word.empty() || word.find('/') != std::string::npos) return word;
  const char* pathList = std::getenv("PATH");
  std::string_view dirs = pathList ? pathList : "";
  while (!dirs.empty()) {
    size_t colon = dirs.find(':');
    std::string candidate = std::string(dirs.substr(0, colon)) + "/" + word;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
  }
  return word;
}

// The target of a desktop entry: Type=Link gives the file of its URL, Type=Application the
// program of its Exec line; empty for other entries and other files.
std::string DesktopEntryTarget(const std::string& path) {
  std::ifstream in(path);
  std::string line, type, url, exec;
  bool inEntry = false, seenEntry = false;
  for (int lines = 0; std::getline(in, line) && lines < 10000; ++lines) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      inEntry = line == "[Desktop Entry]";
      seenEntry |= inEntry;
      continue;
    }
    if (!inEntry) continue;
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = line.substr(0, line.find_last_not_of(" \t", eq - 1) + 1);
    std::string value = line.substr(line.find_first_not_of(" \t", eq + 1) == std::string::npos
                                        ? line.size()
                                        : line.find_first_not_of(" \t", eq + 1));
    if (key == "Type") type = value;
    else if (key == "URL") url = value;
    else if (key == "Exec") exec = value;
  }
  if (!seenEntry) return {};
  if (type == "Link") {
    std::vector<std::string> files = FilesOfUriList(url);
    return files.empty() ? std::string() : files.front();
  }
  if (type == "Application") return ExecProgram(exec);
  return {};
}

}  // namespace

std::string ResolveLink(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return {};
  if (S_ISLNK(st.st_mode)) {
    std::string target(4096, '\0');
    ssize_t n = readlink(path.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<size_t>(n) >= target.size()) return {};
    target.resize(static_cast<size_t>(n));
    return target[0] == '/' ? target : Directory(path) + "/" + target;
  }
  constexpr std::string_view kSuffix = ".desktop";
  if (S_ISREG(st.st_mode) && path.size() > kSuffix.size() && path.compare(path.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0)
    return DesktopEntryTarget(path);
  return {};
}

namespace {

// Copies text into a caller's buffer of cch bytes, cut to fit and terminated.
HRESULT CopyOut(const std::string& text, LPSTR buffer, int cch) {
  if (buffer == nullptr || cch <= 0) return E_INVALIDARG;
  size_t n = std::min(text.size(), static_cast<size_t>(cch - 1));
  std::memcpy(buffer, text.data(), n);
  buffer[n] = 0;
  return S_OK;
}

class ShellLink final : public RefCounted<IShellLinkA, IID_IShellLinkA> {
 public:
  // IPersistFile, carried alongside: its calls come back to the link.
  struct PersistFile final : IPersistFile {
    explicit PersistFile(ShellLink* link) : owner(link) {}
    virtual ~PersistFile() = default;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return owner->QueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return owner->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return owner->Release(); }
    STDMETHODIMP GetClassID(CLSID* pClassID) override {
      if (pClassID == nullptr) return E_POINTER;
      *pClassID = CLSID_ShellLink;
      return S_OK;
    }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPCOLESTR pszFileName, DWORD) override {
      if (pszFileName == nullptr) return E_INVALIDARG;
      std::string target = ResolveLink(NativePath(WideToAnsi(std::u16string_view(pszFileName))));
      if (target.empty()) return E_FAIL;
      owner->path_ = ProgramNameOf(target);
      return S_OK;
    }
    // A name ending in ".desktop" gets a desktop entry (a program with its arguments and folder,
    // or a link to a document); any other name becomes a symbolic link to the target. A file or
    // link already there is replaced, never anything else.
    STDMETHODIMP Save(LPCOLESTR pszFileName, BOOL) override {
      if (pszFileName == nullptr) return E_INVALIDARG;
      if (owner->path_.empty()) return E_FAIL;
      std::string name = NativePath(WideToAnsi(std::u16string_view(pszFileName)));
      return owner->SaveTo(name) ? S_OK : E_FAIL;
    }
    STDMETHODIMP SaveCompleted(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP GetCurFile(LPOLESTR* ppszFileName) override {
      if (ppszFileName) *ppszFileName = nullptr;
      return E_NOTIMPL;
    }
    ShellLink* owner;
  };

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (ppv != nullptr && riid == IID_IPersistFile) {
      *ppv = static_cast<IPersistFile*>(&persist_);
      AddRef();
      return S_OK;
    }
    return RefCounted::QueryInterface(riid, ppv);
  }

  STDMETHODIMP GetPath(LPSTR pszFile, int cch, WIN32_FIND_DATA* pfd, DWORD) override {
    if (pfd != nullptr) {
      *pfd = WIN32_FIND_DATA{};
      size_t slash = path_.rfind('/');
      CopyOut(slash == std::string::npos ? path_ : path_.substr(slash + 1), pfd->cFileName, MAX_PATH);
    }
    HRESULT hr = CopyOut(path_, pszFile, cch);
    return FAILED(hr) ? hr : path_.empty() ? S_FALSE : S_OK;
  }
  STDMETHODIMP GetIDList(LPITEMIDLIST* ppidl) override {
    if (ppidl) *ppidl = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP SetIDList(LPCITEMIDLIST) override { return E_NOTIMPL; }
  STDMETHODIMP GetDescription(LPSTR pszName, int cch) override { return CopyOut(description_, pszName, cch); }
  STDMETHODIMP SetDescription(LPCSTR pszName) override { return Set(description_, pszName); }
  STDMETHODIMP GetWorkingDirectory(LPSTR pszDir, int cch) override { return CopyOut(directory_, pszDir, cch); }
  STDMETHODIMP SetWorkingDirectory(LPCSTR pszDir) override { return Set(directory_, pszDir); }
  STDMETHODIMP GetArguments(LPSTR pszArgs, int cch) override { return CopyOut(arguments_, pszArgs, cch); }
  STDMETHODIMP SetArguments(LPCSTR pszArgs) override { return Set(arguments_, pszArgs); }
  STDMETHODIMP GetHotkey(WORD* pwHotkey) override {
    if (pwHotkey) *pwHotkey = 0;
    return S_OK;
  }
  STDMETHODIMP SetHotkey(WORD) override { return S_OK; }
  STDMETHODIMP GetShowCmd(int* piShowCmd) override {
    if (piShowCmd) *piShowCmd = SW_SHOWNORMAL;
    return S_OK;
  }
  STDMETHODIMP SetShowCmd(int) override { return S_OK; }
  STDMETHODIMP GetIconLocation(LPSTR pszIconPath, int cch, int* piIcon) override {
    if (piIcon) *piIcon = 0;
    return CopyOut("", pszIconPath, cch);
  }
  STDMETHODIMP SetIconLocation(LPCSTR, int) override { return S_OK; }
  STDMETHODIMP SetRelativePath(LPCSTR, DWORD) override { return S_OK; }
  STDMETHODIMP Resolve(HWND, DWORD) override { return path_.empty() ? E_FAIL : S_OK; }
  STDMETHODIMP SetPath(LPCSTR pszFile) override { return Set(path_, pszFile); }

 private:
  static HRESULT Set(std::string& field, LPCSTR text) {
    if (text == nullptr) return E_INVALIDARG;
    field = text;
    return S_OK;
  }

  bool SaveTo(const std::string& name) const {
    struct stat st;
    if (lstat(name.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) return false;
    std::string target = NativePath(path_);
    constexpr std::string_view kSuffix = ".desktop";
    if (name.size() > kSuffix.size() && name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0) {
      std::string entry = "[Desktop Entry]\n";
      std::string title = description_.empty() ? target.substr(target.rfind('/') + 1) : description_;
      entry += "Name=" + title + "\n";
      bool program = stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(target.c_str(), X_OK) == 0;
      if (program) {
        std::string quoted = "\"";
        for (char c : target) {
          if (c == '"' || c == '\\' || c == '`' || c == '$') quoted += '\\';
          quoted += c;
        }
        entry += "Type=Application\nExec=" + quoted + "\"" + (arguments_.empty() ? "" : " " + arguments_) + "\n";
        if (!directory_.empty()) entry += "Path=" + NativePath(directory_) + "\n";
      } else {
        std::string uri = UriListOfFiles({ProgramNameOf(target)});
        entry += "Type=Link\nURL=" + uri.substr(0, uri.size() - 2) + "\n";
      }
      std::string temporary = name + ".saving";
      {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << entry;
        if (!out.flush()) {
          unlink(temporary.c_str());
          return false;
        }
      }
      if (rename(temporary.c_str(), name.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
      }
      return true;
    }
    // A new link beside the old name, then renamed over it: the old one stays if this fails.
    std::string temporary = name + ".saving";
    unlink(temporary.c_str());
    if (symlink(target.c_str(), temporary.c_str()) != 0) return false;
    if (rename(temporary.c_str(), name.c_str()) != 0) {
      unlink(temporary.c_str());
      return false;
    }
    return true;
  }

  PersistFile persist_{this};
  std::string path_, description_, directory_, arguments_;
};

}  // namespace

HRESULT MakeShellLink(REFIID riid, void** ppv) { return MakeObject<ShellLink>(riid, ppv); }

}  // namespace brambolt::ole
