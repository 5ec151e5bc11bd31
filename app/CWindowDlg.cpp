// The Windows dialog: a list of the document windows and what can be done to the selected ones.
#include "app/CWindowDlg.h"

#include <algorithm>
#include <vector>

#include "afx/CDocument.h"
#include "afx/CMDIFrameWnd.h"
#include "app/ProjectDialogs.h"
#include "bars/SECWorksheet.h"
#include "resources/ChildFramesRes.h"
#include "win/Mdi.h"

BEGIN_MESSAGE_MAP(CWindowDlg, CResizableDialog)
  ON_WM_DRAWITEM()
  ON_WM_MEASUREITEM()
  ON_LBN_SELCHANGE(IDC_WND_LIST, OnSelChange)
  ON_LBN_DBLCLK(IDC_WND_LIST, OnActivate)
  ON_BN_CLICKED(IDC_WND_ACTIVATE, OnActivate)
  ON_BN_CLICKED(IDC_WND_SAVE, OnSave)
  ON_BN_CLICKED(IDC_WND_CLOSE, OnCloseWindows)
  ON_BN_CLICKED(IDC_WND_MINIMIZE, OnMinimize)
  ON_BN_CLICKED(IDC_WND_CASCADE, OnCascade)
  ON_BN_CLICKED(IDC_WND_TILE_HORZ, OnTileHorz)
  ON_BN_CLICKED(IDC_WND_TILE_VERT, OnTileVert)
END_MESSAGE_MAP()

namespace {

// The selected items' indices, first to last.
std::vector<int> SelectedItems(const CListBox& list) {
  const int nCount = list.GetSelCount();
  if (nCount <= 0) return {};
  std::vector<int> items(static_cast<size_t>(nCount));
  items.resize(static_cast<size_t>(std::max(list.GetSelItems(nCount, items.data()), 0)));
  return items;
}

// The icon shown before a window's title: its class's small (or large) icon; a workbook sheet, whose
// frames share one class, has the icon of its kind of document.
HICON WindowIcon(HWND hWnd) {
  auto hIcon = reinterpret_cast<HICON>(::GetClassLongPtr(hWnd, GCLP_HICONSM));
  if (hIcon == nullptr) hIcon = reinterpret_cast<HICON>(::GetClassLongPtr(hWnd, GCLP_HICON));
  if (hIcon == nullptr)
    if (auto* pSheet = dynamic_cast<SECWorksheet*>(CWnd::FromHandlePermanent(hWnd))) hIcon = pSheet->m_hIcon;
  return hIcon;
}

}  // namespace

CWindowDlg::CWindowDlg(CMDIFrameWnd* pMDIFrame)
    : CResizableDialog(IDD_WINDOW_MANAGER, pMDIFrame), m_pMDIFrame(pMDIFrame) {}

CWindowDlg::ButtonStates CWindowDlg::StatesFor(int nSelected) {
  const BOOL bOne = nSelected >= 1, bTwo = nSelected >= 2;
  return {nSelected == 1, bOne, bOne, bOne, bTwo, bTwo};
}

BOOL CWindowDlg::OnInitDialog() {
  CResizableDialog::OnInitDialog();
  m_wndList.SubclassDlgItem(IDC_WND_LIST, this);
  SetFixedFont(this, {IDC_WND_LIST});
  // The item height follows the list's font, which the template's measuring did not know yet.
  CClientDC dc(&m_wndList);
  CFont* pOldFont = dc.SelectObject(m_wndList.GetFont());
  TEXTMETRIC tm{};
  dc.GetTextMetrics(&tm);
  dc.SelectObject(pOldFont);
  m_wndList.SetItemHeight(0, static_cast<UINT>(tm.tmHeight + 2));
  Refresh();
  for (int nID : {IDC_WND_ACTIVATE, IDOK, IDC_WND_SAVE, IDC_WND_CLOSE, IDC_WND_CASCADE, IDC_WND_TILE_HORZ,
                  IDC_WND_TILE_VERT, IDC_WND_MINIMIZE})
    AddAnchor(static_cast<UINT>(nID), TOP_RIGHT);
  AddAnchor(IDC_WND_LIST, TOP_LEFT, BOTTOM_RIGHT);
  return TRUE;
}

HWND CWindowDlg::ItemWindow(int nIndex) const { return reinterpret_cast<HWND>(m_wndList.GetItemData(nIndex)); }

void CWindowDlg::FillWindowList() {
  m_wndList.SetRedraw(FALSE);
  m_wndList.ResetContent();
  for (HWND hChild = ::GetWindow(m_pMDIFrame->m_hWndMDIClient, GW_CHILD); hChild != nullptr;
       hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
    char szTitle[257] = "";
    ::GetWindowText(hChild, szTitle, 256);
    m_wndList.SetItemData(m_wndList.AddString(szTitle), reinterpret_cast<DWORD_PTR>(hChild));
  }
  m_wndList.SetRedraw(TRUE);
  m_wndList.Invalidate();
}

void CWindowDlg::SelectActiveWindow() {
  m_wndList.SetSel(-1, FALSE);
  const auto hActive = reinterpret_cast<HWND>(::SendMessage(m_pMDIFrame->m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0));
  for (int i = 0; i < m_wndList.GetCount(); ++i)
    if (hActive != nullptr && ItemWindow(i) == hActive) m_wndList.SetSel(i, TRUE);
}

void CWindowDlg::UpdateButtons() {
  const ButtonStates states = StatesFor(m_wndList.GetSelCount());
  const std::pair<int, BOOL> buttons[] = {
      {IDC_WND_ACTIVATE, states.bActivate}, {IDC_WND_SAVE, states.bSave},         {IDC_WND_CLOSE, states.bClose},
      {IDC_WND_MINIMIZE, states.bMinimize}, {IDC_WND_CASCADE, states.bCascade},   {IDC_WND_TILE_HORZ, states.bTile},
      {IDC_WND_TILE_VERT, states.bTile}};
  for (const auto& [nID, bEnable] : buttons)
    if (CWnd* pButton = GetDlgItem(nID)) pButton->EnableWindow(bEnable);
}

void CWindowDlg::Refresh() {
  FillWindowList();
  SelectActiveWindow();
  UpdateButtons();
}

void CWindowDlg::OnSelChange() { UpdateButtons(); }

void CWindowDlg::OnActivate() {
  const std::vector<int> selected = SelectedItems(m_wndList);
  if (selected.size() != 1) return;
  const HWND hWnd = ItemWindow(selected.front());
  if (::IsIconic(hWnd)) ::SendMessage(m_pMDIFrame->m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(hWnd), 0);
  ::SendMessage(m_pMDIFrame->m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(hWnd), 0);
  EndDialog(IDOK);
}

void CWindowDlg::OnCloseWindows() {
  const std::vector<int> selected = SelectedItems(m_wndList);
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
    const HWND hWnd = ItemWindow(*it);
    ::SendMessage(hWnd, WM_CLOSE, 0, 0);
    // A window still in the client refused to close (its document's question was cancelled).
    if (::IsWindow(hWnd) && ::GetParent(hWnd) == m_pMDIFrame->m_hWndMDIClient) break;
  }
  Refresh();
}

void CWindowDlg::OnSave() {
  for (int nIndex : SelectedItems(m_wndList)) {
    auto* pFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(ItemWindow(nIndex)));
    if (CDocument* pDoc = pFrame != nullptr ? pFrame->GetActiveDocument() : nullptr) pDoc->SaveModified();
  }
  Refresh();
}

void CWindowDlg::OnMinimize() {
  for (int nIndex : SelectedItems(m_wndList)) ::ShowWindow(ItemWindow(nIndex), SW_MINIMIZE);
  Refresh();
}

void CWindowDlg::Arrange(UINT nMessage, WPARAM wParam) {
  const HWND hClient = m_pMDIFrame->m_hWndMDIClient;
  ::LockWindowUpdate(hClient);
  for (int i = m_wndList.GetCount() - 1; i >= 0; --i)
    ::ShowWindow(ItemWindow(i), m_wndList.GetSel(i) > 0 ? SW_RESTORE : SW_MINIMIZE);
  ::SendMessage(hClient, nMessage, wParam, 0);
  ::LockWindowUpdate(nullptr);
}

void CWindowDlg::OnCascade() { Arrange(WM_MDICASCADE, 0); }

void CWindowDlg::OnTileHorz() { Arrange(WM_MDITILE, MDITILE_HORIZONTAL); }

void CWindowDlg::OnTileVert() { Arrange(WM_MDITILE, MDITILE_VERTICAL); }

void CWindowDlg::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  if (nIDCtl == IDC_WND_LIST)
    MeasureItem(lpMeasureItemStruct);
  else
    CResizableDialog::OnMeasureItem(nIDCtl, lpMeasureItemStruct);
}

void CWindowDlg::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) { lpMeasureItemStruct->itemHeight = 16; }

void CWindowDlg::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (nIDCtl == IDC_WND_LIST)
    DrawItem(lpDrawItemStruct);
  else
    CResizableDialog::OnDrawItem(nIDCtl, lpDrawItemStruct);
}

void CWindowDlg::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  const int nIndex = static_cast<int>(lpDrawItemStruct->itemID);
  if (nIndex < 0 || nIndex >= m_wndList.GetCount()) return;
  CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
  const CRect rcItem(lpDrawItemStruct->rcItem);
  const bool bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
  pDC->FillSolidRect(rcItem, ::GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  pDC->SetTextColor(::GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  pDC->SetBkMode(TRANSPARENT);

  const int cySquare = rcItem.Height();
  const HWND hWnd = ItemWindow(nIndex);
  const HICON hIcon = WindowIcon(hWnd);
  if (hIcon != nullptr)
    ::DrawIconEx(pDC->GetSafeHdc(), rcItem.left + 2, rcItem.top, hIcon, cySquare, cySquare, 0, nullptr, DI_NORMAL);

  CString strText;
  m_wndList.GetText(nIndex, strText);
  CRect rcText = rcItem;
  rcText.left += cySquare + 4;
  pDC->DrawText(strText, rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (lpDrawItemStruct->itemState & ODS_FOCUS) pDC->DrawFocusRect(rcItem);
}
