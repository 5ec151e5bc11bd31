// SECWorkspaceManager: the earlier workspace manager, a command target that serves the workspace
// commands of a frame's menu from a list of workspace names it keeps, and its "Workspace Manager"
// dialog (SECWsMgrDialog) in which names are opened, saved, renamed and deleted. How workspaces
// are stored is left to the virtual operations of a derived manager.
#pragma once

#include "afx/afx.h"
#include "bars/SECListBoxEditor.h"

class SECWorkspaceManager : public CCmdTarget {
  DECLARE_DYNAMIC(SECWorkspaceManager)

 public:
  static constexpr UINT kFirstRecent = 43031, kLastRecent = 43039;
  static constexpr int kMenuLimit = 8;

  SECWorkspaceManager() = default;

  // By default the list is all there is: opening or saving makes a name current and first,
  // renaming and deleting change the list; a derived manager stores the workspaces.
  virtual void OpenWorkspace(CString strName);
  virtual void SaveWorkspace(CString strName);
  virtual void RenameWorkspace(CString strStored, CString strEdited);
  virtual void DeleteWorkspace(CString strName);
  virtual void CloseWorkspace() { m_strCurrentName.Empty(); }
  virtual BOOL PrepareToOpen() { return TRUE; }
  virtual void PrepareToApplyEdits() {}
  // A new dialog object for the manager (deleted by the caller), or null for none.
  virtual CDialog* CreateWorkspaceDialog(SECWorkspaceManager* pManager);

  // Runs the dialog CreateWorkspaceDialog makes; FALSE when it made none.
  BOOL RunWorkspaceDialog();

  CStringList m_listWorkspaces;
  CString m_strCurrentName;

 protected:
  // The name goes to the head of the list and becomes the current one.
  void MakeCurrent(const CString& strName);
  afx_msg BOOL OnOpenRecentWorkspace(UINT nID);
  afx_msg void OnUpdateRecentWorkspaces(CCmdUI* pCmdUI);
  afx_msg void OnRunDialog();
  afx_msg void OnOpenWorkspaceCmd();
  afx_msg void OnSaveWorkspaceCmd();
  afx_msg void OnCloseWorkspaceCmd();
  DECLARE_MESSAGE_MAP()
};

class SECWsMgrDialog;

// The list editor of the dialog: renames go to the dialog's rename map (stored name to edited
// name), deletions to its deleted list.
class SECWsMgrListEditor : public SECListBoxEditor {
  DECLARE_DYNAMIC(SECWsMgrListEditor)

 public:
  explicit SECWsMgrListEditor(SECWsMgrDialog* pDialog) : m_pDialog(pDialog) {}
  void OnItemChanged(int nIndex, const CString& strOld, const CString& strNew) override;
  void OnItemDeleted(int nIndex, const CString& strText) override;

 protected:
  SECWsMgrDialog* m_pDialog;
};

class SECWsMgrDialog : public CDialog {
  DECLARE_DYNAMIC(SECWsMgrDialog)

 public:
  enum { IDD = 20502 };
  static constexpr UINT kSave = 43000, kOpen = 43001, kDone = 43053, kList = 43072, kCurrent = 43105;

  explicit SECWsMgrDialog(SECWorkspaceManager* pManager, CWnd* pParent = nullptr);
  ~SECWsMgrDialog() override;

  // Renames first (pairs whose names differ), then deletions, through the manager.
  void ApplyEdits();
  // The stored name behind a name shown (itself when it was not renamed).
  CString StoredNameOf(const CString& strShown) const;

  CMapStringToString m_mapRenames;
  CStringList m_listDeleted;

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnOpen();
  afx_msg void OnSave();
  afx_msg void OnDone();
  afx_msg void OnHelpButton();
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

  // The selected entry's text; FALSE (after telling the user) when none is selected or it is empty.
  BOOL SelectedName(CString& strName);

  SECWsMgrListEditor* m_pEditor = nullptr;
  SECWorkspaceManager* m_pManager;
  BOOL m_bOldWindows;
};

// Records of the earlier manager's stored state, kept for their run-time class information.
class SECWorkspaceState : public CObject {
  DECLARE_DYNAMIC(SECWorkspaceState)
};

class SECWindowInfo : public CObject {
  DECLARE_DYNAMIC(SECWindowInfo)
};
