// SECUserToolsPage: the page that edits the list of user tools (at most nine): add, remove,
// move, and the menu text, program, arguments and initial folder of the selected tool.
#pragma once

#include "afx/afx.h"
#include "bars/SECUserTool.h"

class SECUserToolsPage : public CPropertyPage {
  DECLARE_DYNAMIC(SECUserToolsPage)

 public:
  enum { IDD = 20512 };
  static constexpr UINT kList = 43078, kNew = 43079, kRemove = 43080, kMoveUp = 43081, kMoveDown = 43082,
                        kCommand = 43083, kMenuText = 43085, kArguments = 43086, kInitialDir = 43087,
                        kBrowseCommand = 25700, kBrowseDir = 25701;
  static constexpr int kMaxTools = 9;

  // Edits the tools of the array in place: new tools are added to it, removed ones deleted.
  explicit SECUserToolsPage(CTypedPtrArray<CObArray, SECUserTool*>& tools);

  BOOL OnApply() override;

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnNewTool();
  afx_msg void OnRemoveTool();
  afx_msg void OnMoveUp();
  afx_msg void OnMoveDown();
  afx_msg void OnSelectTool();
  afx_msg void OnMenuTextChange();
  afx_msg void OnMenuTextKillFocus();
  // The program chosen in a file dialog ("Select Program", programs first) and the initial
  // folder in the folder picker ("Select Initial Directory"), each starting from the edit's text.
  afx_msg void OnBrowseCommand();
  afx_msg void OnBrowseDir();
  DECLARE_MESSAGE_MAP()

  CListBox& List() { return *static_cast<CListBox*>(GetDlgItem(kList)); }
  // The edits' program, arguments and folder go back into the tool shown.
  void StoreShownTool();
  void ShowTool(int nIndex);
  void Select(int nIndex);
  void Move(int nFrom, int nTo);
  void UpdateButtons();

  CTypedPtrArray<CObArray, SECUserTool*>& m_tools;
  // The tool whose texts the edits show, -1 for none.
  int m_nShown = -1;
};
