// SECUserToolsPage: the list of tools and the edits of the selected one, kept in step with the
// caller's array.
#include "bars/SECUserToolsPage.h"

#include <utility>

#include "controls/FolderPicker.h"
#include "resources/Menus.h"

IMPLEMENT_DYNAMIC(SECUserToolsPage, CPropertyPage)

namespace {

// The edits and their labels, enabled only while a tool is selected.
constexpr UINT kEditControls[] = {43083, 43084, 43085, 43086, 43087, 43088, 43089, 43090,
                                  SECUserToolsPage::kBrowseCommand, SECUserToolsPage::kBrowseDir};

}  // namespace

BEGIN_MESSAGE_MAP(SECUserToolsPage, CPropertyPage)
  ON_BN_CLICKED(SECUserToolsPage::kNew, OnNewTool)
  ON_BN_CLICKED(SECUserToolsPage::kRemove, OnRemoveTool)
  ON_BN_CLICKED(SECUserToolsPage::kMoveUp, OnMoveUp)
  ON_BN_CLICKED(SECUserToolsPage::kMoveDown, OnMoveDown)
  ON_LBN_SELCHANGE(SECUserToolsPage::kList, OnSelectTool)
  ON_EN_CHANGE(SECUserToolsPage::kMenuText, OnMenuTextChange)
  ON_EN_KILLFOCUS(SECUserToolsPage::kMenuText, OnMenuTextKillFocus)
  ON_BN_CLICKED(SECUserToolsPage::kBrowseCommand, OnBrowseCommand)
  ON_BN_CLICKED(SECUserToolsPage::kBrowseDir, OnBrowseDir)
END_MESSAGE_MAP()

SECUserToolsPage::SECUserToolsPage(CTypedPtrArray<CObArray, SECUserTool*>& tools)
    : CPropertyPage(IDD), m_tools(tools) {}

BOOL SECUserToolsPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  for (INT_PTR i = 0; i < m_tools.GetSize(); ++i) List().AddString(m_tools[i]->m_strMenuText);
  Select(m_tools.GetSize() > 0 ? 0 : -1);
  return TRUE;
}

BOOL SECUserToolsPage::OnApply() {
  StoreShownTool();
  return CPropertyPage::OnApply();
}

void SECUserToolsPage::StoreShownTool() {
  if (m_nShown < 0 || m_nShown >= m_tools.GetSize()) return;
  SECUserTool* tool = m_tools[m_nShown];
  GetDlgItemText(kCommand, tool->m_strCommand);
  GetDlgItemText(kArguments, tool->m_strArgs);
  GetDlgItemText(kInitialDir, tool->m_strInitialDir);
}

void SECUserToolsPage::ShowTool(int nIndex) {
  m_nShown = -1;  // the edits' change notices must not reach the tool while they are filled
  const bool shown = nIndex >= 0 && nIndex < m_tools.GetSize();
  SECUserTool* tool = shown ? m_tools[nIndex] : nullptr;
  SetDlgItemText(kMenuText, shown ? static_cast<LPCTSTR>(tool->m_strMenuText) : "");
  SetDlgItemText(kCommand, shown ? static_cast<LPCTSTR>(tool->m_strCommand) : "");
  SetDlgItemText(kArguments, shown ? static_cast<LPCTSTR>(tool->m_strArgs) : "");
  SetDlgItemText(kInitialDir, shown ? static_cast<LPCTSTR>(tool->m_strInitialDir) : "");
  for (UINT id : kEditControls)
    if (CWnd* control = GetDlgItem(id)) control->EnableWindow(shown);
  m_nShown = shown ? nIndex : -1;
}

void SECUserToolsPage::Select(int nIndex) {
  List().SetCurSel(nIndex);
  ShowTool(nIndex);
  UpdateButtons();
}

void SECUserToolsPage::UpdateButtons() {
  const int selection = List().GetCurSel();
  const int count = static_cast<int>(m_tools.GetSize());
  GetDlgItem(kNew)->EnableWindow(count < kMaxTools);
  GetDlgItem(kRemove)->EnableWindow(selection != LB_ERR);
  GetDlgItem(kMoveUp)->EnableWindow(selection != LB_ERR && selection > 0);
  GetDlgItem(kMoveDown)->EnableWindow(selection != LB_ERR && selection < count - 1);
}

void SECUserToolsPage::OnNewTool() {
  if (m_tools.GetSize() >= kMaxTools) return;
  StoreShownTool();
  auto* tool = new SECUserTool;
  tool->m_strMenuText.LoadString(IDS_SEC_NEW_TOOL);
  m_tools.Add(tool);
  List().AddString(tool->m_strMenuText);
  Select(static_cast<int>(m_tools.GetSize()) - 1);
  CEdit* edit = static_cast<CEdit*>(GetDlgItem(kMenuText));
  edit->SetFocus();
  edit->SetSel(0, -1);
}

void SECUserToolsPage::OnRemoveTool() {
  const int selection = List().GetCurSel();
  if (selection == LB_ERR) return;
  m_nShown = -1;
  delete m_tools[selection];
  m_tools.RemoveAt(selection);
  List().DeleteString(static_cast<UINT>(selection));
  const int count = static_cast<int>(m_tools.GetSize());
  Select(count == 0 ? -1 : std::min(selection, count - 1));
}

void SECUserToolsPage::Move(int nFrom, int nTo) {
  StoreShownTool();
  std::swap(m_tools[nFrom], m_tools[nTo]);
  CListBox& list = List();
  list.SetRedraw(FALSE);
  list.DeleteString(static_cast<UINT>(nFrom));
  list.InsertString(nTo, m_tools[nTo]->m_strMenuText);
  list.SetRedraw(TRUE);
  list.Invalidate();
  Select(nTo);
}

void SECUserToolsPage::OnMoveUp() {
  const int selection = List().GetCurSel();
  if (selection != LB_ERR && selection > 0) Move(selection, selection - 1);
}

void SECUserToolsPage::OnMoveDown() {
  const int selection = List().GetCurSel();
  if (selection != LB_ERR && selection < static_cast<int>(m_tools.GetSize()) - 1) Move(selection, selection + 1);
}

void SECUserToolsPage::OnSelectTool() {
  StoreShownTool();
  ShowTool(List().GetCurSel());
  UpdateButtons();
}

void SECUserToolsPage::OnMenuTextChange() {
  if (m_nShown < 0) return;
  CString text;
  GetDlgItemText(kMenuText, text);
  m_tools[m_nShown]->m_strMenuText = text;
  CListBox& list = List();
  list.SetRedraw(FALSE);
  list.DeleteString(static_cast<UINT>(m_nShown));
  list.InsertString(m_nShown, text);
  list.SetCurSel(m_nShown);
  list.SetRedraw(TRUE);
}

void SECUserToolsPage::OnMenuTextKillFocus() {
  if (m_nShown < 0) return;
  CString text;
  GetDlgItemText(kMenuText, text);
  if (!text.IsEmpty()) return;
  AfxMessageBox(IDS_SEC_BLANK_MENU_TEXT, MB_OK | MB_ICONINFORMATION);
  GetDlgItem(kMenuText)->SetFocus();
}

void SECUserToolsPage::OnBrowseCommand() {
  if (m_nShown < 0) return;
  CString strCommand, strTitle, strFilter;
  GetDlgItemText(kCommand, strCommand);
  strTitle.LoadString(IDS_SEC_SELECT_PROGRAM);
  strFilter.LoadString(IDS_SEC_PROGRAM_FILTER);
  CFileDialog dialog(TRUE, nullptr, strCommand, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, strFilter, this);
  dialog.m_ofn.lpstrTitle = strTitle;
  if (dialog.DoModal() != IDOK) return;
  SetDlgItemText(kCommand, dialog.GetPathName());
  StoreShownTool();
}

void SECUserToolsPage::OnBrowseDir() {
  if (m_nShown < 0) return;
  CString strFolder, strTitle;
  GetDlgItemText(kInitialDir, strFolder);
  strTitle.LoadString(IDS_SEC_SELECT_DIRECTORY);
  std::string chosen;
  if (!brambolt::BrowseForFolder(m_hWnd, strTitle, static_cast<LPCTSTR>(strFolder), &chosen)) return;
  SetDlgItemText(kInitialDir, chosen.c_str());
  StoreShownTool();
}
