// The Project Explorer trees' shared behaviour: fonts, image list, insertion, refresh and hit test.
#include "app/WorkspaceTree.h"

#include "model/ShellServices.h"

IMPLEMENT_DYNAMIC(WorkspaceTree, SECTreeCtrl)

BEGIN_MESSAGE_MAP(WorkspaceTree, SECTreeCtrl)
  ON_WM_CREATE()
  ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
END_MESSAGE_MAP()

BOOL GetGuiLogFont(LOGFONT* pLogFont) {
  HGDIOBJ font = ::GetStockObject(DEFAULT_GUI_FONT);
  if (font == nullptr) font = ::GetStockObject(ANSI_VAR_FONT);
  *pLogFont = LOGFONT{};
  return font != nullptr && ::GetObject(font, sizeof(LOGFONT), pLogFont) != 0;
}

HTREEITEM InsertTreeItem(SECTreeBaseC* pTree, HTREEITEM hParent, LPARAM lParam, LPCTSTR lpszText, int nImage,
                         int nSelectedImage, HTREEITEM hInsertAfter) {
  return pTree->InsertItemEx(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, lpszText, nImage,
                             nSelectedImage, 0, 0, lParam, hParent, hInsertAfter);
}

WorkspaceTree::WorkspaceTree(UINT nBitmapId, int nCellHeight, BOOL bWaitCursor)
    : m_nBitmapId(nBitmapId), m_nCellHeight(nCellHeight), m_bWaitCursor(bWaitCursor) {
  LOGFONT lf;
  GetGuiLogFont(&lf);
  lstrcpyn(lf.lfFaceName, "Fixedsys", LF_FACESIZE);
  lf.lfHeight = 12;
  lf.lfWeight = 700;
  m_fontBold.CreateFontIndirect(&lf);
  lf.lfWeight = 550;
  m_fontNormal.CreateFontIndirect(&lf);
}

WorkspaceTree::~WorkspaceTree() { ReleaseImageList(); }

BOOL WorkspaceTree::DestroyWindow() {
  ReleaseImageList();
  return SECTreeCtrl::DestroyWindow();
}

void WorkspaceTree::ReleaseImageList() {
  if (m_ImageList.GetSafeHandle() == nullptr) return;
  while (m_ImageList.GetImageCount() > 0)
    if (!m_ImageList.Remove(0)) break;
  m_ImageList.DeleteImageList();
}

void WorkspaceTree::SelectItemFont(SECListPaintContext* pContext) {
  SECTreeCtrl::SelectItemFont(pContext);
  pContext->m_pFont = &m_fontNormal;
  if (pContext->m_nCol == 0 && GetParentItem(GetItemOfRow(pContext->m_nRow)) == nullptr)
    pContext->m_pFont = &m_fontBold;
}

// F1 in a tree opens the page of that tree: the help context of a control, its window id.
LRESULT WorkspaceTree::OnCommandHelp(WPARAM, LPARAM lParam) {
  if (lParam == 0) lParam = static_cast<LPARAM>(HID_BASE_CONTROL + static_cast<UINT>(GetDlgCtrlID()));
  if (CWinApp* pApp = AfxGetApp()) pApp->WinHelp(static_cast<DWORD_PTR>(lParam), HELP_CONTEXT);
  return TRUE;
}

int WorkspaceTree::OnCreate(LPCREATESTRUCT lpcs) {
  if (SECTreeCtrl::OnCreate(lpcs) == -1) return -1;
  OnTreeCreating();
  m_ImageList.Create(23, m_nCellHeight, ILC_MASK, 6, 4);
  m_ImageList.SetBkColor(::GetSysColor(COLOR_WINDOW));
  CBitmap bitmap;
  if (bitmap.LoadBitmap(m_nBitmapId)) m_ImageList.Add(&bitmap, RGB(255, 255, 255));
  SetImageList(&m_ImageList, TVSIL_NORMAL);
  if (IsProjectOpen()) FillTree();
  return 0;
}

void WorkspaceTree::Refresh() {
  if (m_bWaitCursor) BeginWaitCursor();
  DeleteAllItems();
  FillTree();
  ReMeasureAllItems();
  if (GetSafeHwnd() != nullptr) Invalidate(TRUE);
  if (m_bWaitCursor) EndWaitCursor();
}

HTREEITEM WorkspaceTree::InsertRootItem(LPCTSTR lpszText) {
  return InsertItemEx(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, lpszText, 0, 0, 0, 0, 0, TVI_ROOT,
                      TVI_FIRST);
}

HTREEITEM WorkspaceTree::HitTestPoint(CPoint point, CString* pText, DWORD_PTR* pData) {
  HTREEITEM hItem = HitTest(point);
  if (pText != nullptr) *pText = hItem != nullptr ? GetItemText(hItem) : CString();
  if (pData != nullptr) *pData = hItem != nullptr ? GetItemData(hItem) : 0;
  return hItem;
}

HTREEITEM WorkspaceTree::HitTestMessagePos(CString* pText, DWORD_PTR* pData) {
  DWORD pos = ::GetMessagePos();
  CPoint point(static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos)));
  ScreenToClient(&point);
  return HitTestPoint(point, pText, pData);
}

CWorkSpaceObj* WorkspaceTree::GetWorkSpace() { return GetShellServices()->GetWorkSpace(); }
CString WorkspaceTree::GetProjectName() { return GetShellServices()->GetProjectName(); }
CString WorkspaceTree::GetProjectFolder() { return GetShellServices()->GetProjectFolder(); }
