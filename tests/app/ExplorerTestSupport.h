// What the Project Explorer's tests share: a project folder on disk, the shell's answers about
// the open project, an application that records what it is asked to open or run, and a reader
// of a tree's items.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "afx/afx.h"
#include "model/CWorkSpaceObj.h"
#include "model/ShellServices.h"
#include "testing/testing.h"
#include "widgets/SECTreeCtrl.h"

namespace explorertest {

// A project folder with "Source Code" and "Header Files", removed at the end.
class ProjectFolder {
 public:
  ProjectFolder() {
    root = std::filesystem::temp_directory_path() /
           ("explorer-test-" + std::to_string(::getpid()) + "-" + std::to_string(++Count()));
    std::filesystem::create_directories(root / "Source Code");
    std::filesystem::create_directories(root / "Header Files");
  }
  ~ProjectFolder() {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
  // Writes a file below the project folder (a path with "/").
  std::string Write(const std::string& relative, const std::string& text = "") {
    std::filesystem::path path = root / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  bool Exists(const std::string& relative) const { return std::filesystem::exists(root / relative); }
  // The folder as the application keeps it: ending with a backslash.
  CString Folder() const { return CString(root.string().c_str()) + "\\"; }

  std::filesystem::path root;

 private:
  static int& Count() {
    static int n = 0;
    return n;
  }
};

// The shell's answers: the open project's name, folder and workspace.
class ProjectShell : public QuietShellServices {
 public:
  ProjectShell() : m_pPrevious(SetShellServices(this)) {}
  ~ProjectShell() override { SetShellServices(m_pPrevious); }
  CWorkSpaceObj* GetWorkSpace() override { return name.IsEmpty() ? nullptr : &workspace; }
  CString GetProjectFolder() override { return folder; }
  CString GetProjectName() override { return name; }

  CString name;
  CString folder;
  CWorkSpaceObj workspace;

 private:
  ShellServices* m_pPrevious;
};

// An application that records the documents it is asked to open and the commands it runs.
class RecordingApp : public CWinApp {
 public:
  RecordingApp() : CWinApp("Explorer Test") {}
  CDocument* OpenDocumentFile(LPCTSTR lpszFileName) override {
    opened.emplace_back(lpszFileName);
    return nullptr;
  }
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
    if (nCode == CN_COMMAND && pExtra == nullptr && pHandlerInfo == nullptr) commands.push_back(nID);
    return TRUE;
  }
  std::vector<std::string> opened;
  std::vector<UINT> commands;
};

// One item of a tree as a test reads it.
struct Item {
  std::string text;
  int image = 0;
  int selectedImage = 0;
  DWORD_PTR data = 0;
  bool operator==(const Item&) const = default;
};

inline Item ItemOf(SECTreeBaseC& tree, HTREEITEM hItem) {
  char text[260] = {};
  TVITEM tvi{};
  tvi.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  tvi.hItem = hItem;
  tvi.pszText = text;
  tvi.cchTextMax = sizeof text;
  tree.GetItem(&tvi);
  return {text, tvi.iImage, tvi.iSelectedImage, static_cast<DWORD_PTR>(tvi.lParam)};
}

inline std::vector<Item> ChildrenOf(SECTreeBaseC& tree, HTREEITEM hParent) {
  std::vector<Item> items;
  for (HTREEITEM h = tree.GetChildItem(hParent); h != nullptr; h = tree.GetNextSiblingItem(h))
    items.push_back(ItemOf(tree, h));
  return items;
}

inline std::vector<std::string> TextsOf(SECTreeBaseC& tree, HTREEITEM hParent) {
  std::vector<std::string> texts;
  for (const Item& item : ChildrenOf(tree, hParent)) texts.push_back(item.text);
  return texts;
}

// The child of an item with the text, null when it has none.
inline HTREEITEM ChildNamed(SECTreeBaseC& tree, HTREEITEM hParent, const std::string& text) {
  for (HTREEITEM h = tree.GetChildItem(hParent); h != nullptr; h = tree.GetNextSiblingItem(h))
    if (std::string(tree.GetItemText(h)) == text) return h;
  return nullptr;
}

}  // namespace explorertest

namespace explorertest {

// A point on an item's label, in the tree's client coordinates.
inline POINT LabelPoint(SECTreeBaseC& tree, HTREEITEM hItem) {
  CRect rect;
  tree.GetSubItemRect(tree.GetItemRow(hItem), 0, &rect, 2);
  return {rect.left + std::min(8, static_cast<int>(rect.Width()) / 2), (rect.top + rect.bottom) / 2};
}

}  // namespace explorertest
