// The shell-link object (CLSID_ShellLink with IShellLink and IPersistFile) as Linux has links:
// loading a symbolic link gives its target, a desktop entry ("[Desktop Entry]") of Type=Link its
// URL's file, one of Type=Application the program its Exec line starts.
#pragma once

#include "os/FindFile.h"
#include "ole/Automation.h"

#define SLGP_SHORTPATH 0x1
#define SLGP_UNCPRIORITY 0x2
#define SLGP_RAWPATH 0x4
#define SLR_NO_UI 0x1
#define SLR_UPDATE 0x4

#define STGM_READ 0x00000000L
#define STGM_WRITE 0x00000001L
#define STGM_READWRITE 0x00000002L

struct _ITEMIDLIST;
typedef _ITEMIDLIST* LPITEMIDLIST;
typedef const _ITEMIDLIST* LPCITEMIDLIST;

struct IPersist : IUnknown {
  STDMETHOD(GetClassID)(CLSID* pClassID) PURE;

 protected:
  ~IPersist() = default;
};

struct IPersistFile : IPersist {
  STDMETHOD(IsDirty)() PURE;
  STDMETHOD(Load)(LPCOLESTR pszFileName, DWORD dwMode) PURE;
  STDMETHOD(Save)(LPCOLESTR pszFileName, BOOL fRemember) PURE;
  STDMETHOD(SaveCompleted)(LPCOLESTR pszFileName) PURE;
  STDMETHOD(GetCurFile)(LPOLESTR* ppszFileName) PURE;

 protected:
  ~IPersistFile() = default;
};

struct IShellLinkA : IUnknown {
  STDMETHOD(GetPath)(LPSTR pszFile, int cch, WIN32_FIND_DATA* pfd, DWORD fFlags) PURE;
  STDMETHOD(GetIDList)(LPITEMIDLIST* ppidl) PURE;
  STDMETHOD(SetIDList)(LPCITEMIDLIST pidl) PURE;
  STDMETHOD(GetDescription)(LPSTR pszName, int cch) PURE;
  STDMETHOD(SetDescription)(LPCSTR pszName) PURE;
  STDMETHOD(GetWorkingDirectory)(LPSTR pszDir, int cch) PURE;
  STDMETHOD(SetWorkingDirectory)(LPCSTR pszDir) PURE;
  STDMETHOD(GetArguments)(LPSTR pszArgs, int cch) PURE;
  STDMETHOD(SetArguments)(LPCSTR pszArgs) PURE;
  STDMETHOD(GetHotkey)(WORD* pwHotkey) PURE;
  STDMETHOD(SetHotkey)(WORD wHotkey) PURE;
  STDMETHOD(GetShowCmd)(int* piShowCmd) PURE;
  STDMETHOD(SetShowCmd)(int iShowCmd) PURE;
  STDMETHOD(GetIconLocation)(LPSTR pszIconPath, int cch, int* piIcon) PURE;
  STDMETHOD(SetIconLocation)(LPCSTR pszIconPath, int iIcon) PURE;
  STDMETHOD(SetRelativePath)(LPCSTR pszPathRel, DWORD dwReserved) PURE;
  STDMETHOD(Resolve)(HWND hwnd, DWORD fFlags) PURE;
  STDMETHOD(SetPath)(LPCSTR pszFile) PURE;

 protected:
  ~IShellLinkA() = default;
};
typedef IShellLinkA IShellLink;

DEFINE_GUID(CLSID_ShellLink, 0x00021401, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
DEFINE_GUID(IID_IShellLinkA, 0x000214EE, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
DEFINE_GUID(IID_IPersistFile, 0x0000010B, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
#define IID_IShellLink IID_IShellLinkA

namespace brambolt::ole {

// The file a link names, or empty when `path` (a native path) is no link this system knows.
std::string ResolveLink(const std::string& path);

}  // namespace brambolt::ole
