// The Project Explorer's file tree: the project's "Source Code" and "Header Files" folders.
#include "app/FileView.h"

#include "app/CBCGToolbarDropSource.h"
#include "app/CInkwrightApp.h"
#include "app/ProjectWorkspaceWnd.h"
#include "backend/DropFiles.h"
#include "foundation/SECFileSystem.h"
#include "model/CWorkSpaceObj.h"
#include "ole/COleDataSource.h"
#include "os/Paths.h"
#include "resources/ExplorerRes.h"
#include "resources/ShellRes.h"

IMPLEMENT_DYNAMIC(FileView, WorkspaceTree)

BEGIN_MESSAGE_MAP(FileView, WorkspaceTree)
  AFX_WM_ENTRY(WM_LBUTTONDOWN, AfxSig_v_u_p, void, (UINT, CPoint), OnBeginDrag)
  ON_COMMAND(ID_EXPLORER_OPEN, OnOpen)
  ON_UPDATE_COMMAND_UI(ID_EXPLORER_OPEN, OnUpdateSelection)
  ON_COMMAND(ID_EXPLORER_REMOVE, OnRemove)
  ON_UPDATE_COMMAND_UI(ID_EXPLORER_REMOVE, OnUpdateSelection)
  AFX_WM_ENTRY(WM_RBUTTONUP, AfxSig_v_u_p, void, (UINT, CPoint), OnContextMenu)
  ON_COMMAND(ID_EXPLORER_INSERT_FILES, OnInsertFiles)
  ON_COMMAND(ID_EXPLORER_INSERT_LIVE_FOLDER, OnInsertLiveFolder)
  ON_UPDATE_COMMAND_UI(ID_EXPLORER_INSERT_FILES, OnUpdateInsert)
  ON_UPDATE_COMMAND_UI(ID_EXPLORER_INSERT_LIVE_FOLDER, OnUpdateInsert)
  ON_COMMAND(ID_EXPLORER_INSERT_FROM_MSVC, OnInsertFromMsvcProject)
  ON_WM_KEYDOWN()
  ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
END_MESSAGE_MAP()

namespace {

constexpr const char* kSourceFolder = "Source Code\\";
constexpr const char* kHeaderFolder = "Header Files\\";
// Ordinary files only: no folders, hidden, system or volume entries.
constexpr DWORD kPlainFiles = 0x80;

// The path of a file item (source or header) in the project folder; empty for other items.
CString PathOfItem(DWORD_PTR dwData, const CString& strName) {
  if (dwData == FileView::kSourceItem) return WorkspaceTree::GetProjectFolder() + kSourceFolder + strName;
  if (dwData == FileView::kHeaderItem) return WorkspaceTree::GetProjectFolder() + kHeaderFolder + strName;
  return CString();
}

// Opens a project file in the editor through the application object; another application (a
// test's, a tool's) opens it the same way through the framework.
void OpenProjectFile(DWORD_PTR dwData, const CString& strName) {
  if (auto* pApp = dynamic_cast<CInkwrightApp*>(AfxGetApp())) {
    if (dwData == FileView::kSourceItem) pApp->OpenSourceFile(strName);
    else pApp->OpenHeaderFile(strName);
    return;
  }
  CString strPath = PathOfItem(dwData, strName);
  if (SECFileSystem().FileExists(strPath)) {
    if (CWinApp* pApp = AfxGetApp()) pApp->OpenDocumentFile(strPath);
  } else {
    AfxMessageBox(IDS_FILE_NOT_EXIST, MB_ICONINFORMATION);
  }
}

// Runs one of the application's project commands.
void RunAppCommand(UINT nID) {
  if (CWinApp* pApp = AfxGetApp()) pApp->OnCmdMsg(nID, CN_COMMAND, nullptr, nullptr);
}

}  // namespace

FileView::FileView() : WorkspaceTree(IDB_FILE_TREE, 20, FALSE) {}

FileView::~FileView() = default;

BOOL FileView::IsHeaderName(const CString& strName) {
  int n = strName.GetLength();
  return n >= 2 && strName[n - 2] == '.' && (strName[n - 1] == 'h' || strName[n - 1] == 'H');
}

CString FileView::IncludeLineOf(const CString& strHeader) {
  return "\t\r\n#include \"" + strHeader + "\"\t\r\n";
}

void FileView::FillTree() {
  DeleteAllItems();
  CString strName = GetProjectName();
  CString strFolder = GetProjectFolder();
  BOOL bList = GetWorkSpace() != nullptr && !strName.IsEmpty();

  HTREEITEM hRoot = InsertItem(strName + " Files", 4, 4, TVI_ROOT, TVI_LAST);
  SetItemData(hRoot, kFolderItem);
  m_hSourceFolder = InsertTreeItem(this, hRoot, kFolderItem, "Source Files", 0, 1);
  if (bList) AddFiles(m_hSourceFolder, strFolder + kSourceFolder + "*.*", kSourceItem);
  m_hHeaderFolder = InsertTreeItem(this, hRoot, kFolderItem, "Header Files", 0, 1);
  if (bList) AddFiles(m_hHeaderFolder, strFolder + kHeaderFolder + "*.*", kHeaderItem);

  SelectItem(hRoot);
  SortChildren(m_hSourceFolder, TRUE, TRUE);
  SortChildren(m_hHeaderFolder, TRUE, TRUE);
  Expand(hRoot, TVE_TOGGLE);
}

void FileView::AddFiles(HTREEITEM hFolder, const CString& strPattern, DWORD dwData) {
  SECFileSystem fs;
  CStringList* pList = fs.GetFileList(strPattern, kPlainFiles);
  if (pList == nullptr) return;
  for (POSITION pos = pList->GetHeadPosition(); pos != nullptr;)
    InsertTreeItem(this, hFolder, dwData, fs.GetFileName(pList->GetNext(pos)), 2, 2);
  delete pList;
}

void FileView::OpenItem(HTREEITEM hItem) {
  if (hItem == nullptr) return;
  DWORD_PTR dwData = GetItemData(hItem);
  if (dwData == kSourceItem || dwData == kHeaderItem) OpenProjectFile(dwData, GetItemText(hItem));
}

void FileView::OnDblClk(NMHDR*, LRESULT* pResult) {
  OpenItem(HitTestMessagePos());
  *pResult = 0;
}

void FileView::OnOpen() { OpenItem(GetSelectedItem()); }

void FileView::OnUpdateSelection(CCmdUI* pCmdUI) { pCmdUI->Enable(GetSelectedItem() != nullptr); }

void FileView::OnRemove() {
  HTREEITEM hItem = GetSelectedItem();
  if (hItem == nullptr) return;
  DWORD_PTR dwData = GetItemData(hItem);
  CString strPath = PathOfItem(dwData, GetItemText(hItem));
  if (strPath.IsEmpty()) return;
  if (AfxMessageBox(IDS_REMOVE_FROM_PROJECT, MB_YESNO | MB_ICONINFORMATION) != IDYES) return;
  if (!SECFileSystem().DeleteFile(strPath)) return;
  DeleteItem(hItem);
  if (dwData != kHeaderItem) return;

  // The classes of the remaining headers are read again and the class trees rebuilt.
  if (IsProjectOpen()) {
    if (CWorkSpaceObj* pWorkSpace = GetWorkSpace()) {
      pWorkSpace->DeleteAllFileObjs();
      pWorkSpace->AnalyseProjectFiles(GetProjectFolder() + kHeaderFolder + "*.*");
    }
  }
  for (CWnd* pWnd = GetParent(); pWnd != nullptr; pWnd = pWnd->GetParent()) {
    if (auto* pExplorer = dynamic_cast<ProjectWorkspaceWnd*>(pWnd)) {
      pExplorer->RefreshClassTrees();
      break;
    }
  }
}

void FileView::OnContextMenu(UINT nFlags, CPoint point) {
  DWORD_PTR dwData = 0;
  HitTestPoint(point, nullptr, &dwData);
  if (dwData == 0) {
    WorkspaceTree::OnRButtonUp(nFlags, point);
    return;
  }
  CMenu menu;
  if (!menu.LoadMenu(IDR_EXPLORER_POPUPS)) return;
  CMenu* pPopup = menu.GetSubMenu(EXPLORER_POPUP_FILE);
  if (pPopup == nullptr) return;
  if (dwData != kSourceItem && dwData != kHeaderItem) {
    pPopup->EnableMenuItem(ID_EXPLORER_OPEN, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
    pPopup->EnableMenuItem(ID_EXPLORER_REMOVE, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
  }
  ClientToScreen(&point);
  pPopup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
}

void FileView::OnInsertFiles() {
  if (IsProjectOpen()) RunAppCommand(ID_INSERT_FILES);
}

void FileView::OnInsertLiveFolder() {
  if (IsProjectOpen()) RunAppCommand(ID_INSERT_LIVE_FOLDER);
}

void FileView::OnInsertFromMsvcProject() {
  if (IsProjectOpen()) RunAppCommand(ID_INSERT_MSVC_PROJECT);
}

void FileView::OnUpdateInsert(CCmdUI* pCmdUI) { pCmdUI->Enable(IsProjectOpen()); }

void FileView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_RETURN) OnOpen();
  else if (nChar == VK_DELETE) OnRemove();
  WorkspaceTree::OnKeyDown(nChar, nRepCnt, nFlags);
}

void FileView::OnBeginDrag(UINT nFlags, CPoint point) {
  WorkspaceTree::OnLButtonDown(nFlags, point);
  if (GetSafeHwnd() == nullptr) return;
  CString strText;
  DWORD_PTR dwData = 0;
  HitTestPoint(point, &strText, &dwData);
  if (!strText.IsEmpty() && IsHeaderName(strText)) DragHeader(strText, dwData);
}

void FileView::DragHeader(const CString& strName, DWORD_PTR dwData) {
  // The include line for editors; the file itself for other programs. The line is text of the
  // code page, as the editors hold it: a name the code page cannot spell (held as the system's
  // bytes) would be written as other characters, so such a header goes as the file alone.
  auto* pSource = new COleDataSource;
  if (brambolt::IsCodePageName(static_cast<LPCTSTR>(strName))) {
    CString strLine = IncludeLineOf(strName);
    HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, strLine.GetLength() + 1);
    if (hText == nullptr) {
      pSource->InternalRelease();
      return;
    }
    memcpy(::GlobalLock(hText), static_cast<LPCTSTR>(strLine), strLine.GetLength() + 1);
    ::GlobalUnlock(hText);
    pSource->CacheGlobalData(CF_TEXT, hText);
  }
  CString strPath = PathOfItem(dwData, strName);
  if (!strPath.IsEmpty()) {
    if (HGLOBAL hDrop = brambolt::NewDropFilesBlock(
            {brambolt::ProgramNameOf(brambolt::NativePath(static_cast<LPCTSTR>(strPath)))}))
      pSource->CacheGlobalData(CF_HDROP, hDrop);
  }

  // The drag begins once the pointer leaves the tree or the drag delay passes.
  CBCGToolbarDropSource& dropSource = CBCGToolbarDropSource::Shared();
  dropSource.m_bDragStarted = FALSE;
  CRect rcStart;
  GetClientRect(&rcStart);
  ClientToScreen(&rcStart);
  pSource->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, &rcStart, &dropSource);
  pSource->InternalRelease();
}
