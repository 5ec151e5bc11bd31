// The "Workspace Manager" dialog of the registry workspaces (SECWsMgrDialogEx) and the list
// editor in it (SECWSLBEditorEx), which renames, adds, reorders and deletes workspace names.
#pragma once

#include "afx/afx.h"
#include "bars/SECListBoxEditor.h"

class SECWsMgrDialogEx;

class SECWSLBEditorEx : public SECListBoxEditor {
  DECLARE_DYNAMIC(SECWSLBEditorEx)

 public:
  SECWSLBEditorEx(CStringList* pStored, CStringList* pWorking, CStringList* pDeleted, SECWsMgrDialogEx* pDialog);

  void OnEditingStarted() override;
  void OnEditingStopped() override;
  void OnItemChanged(int nIndex, const CString& strOld, const CString& strNew) override;
  void OnItemAdded(int nIndex, const CString& strText) override;
  void OnItemMoved(int nFrom, int nTo, const CString& strText = CString()) override;
  void OnItemDeleted(int nIndex, const CString& strText) override;

 protected:
  int Message(UINT nID, LPCTSTR lpszName, UINT nType);
  // The old text goes back into its row.
  void PutBack(int nIndex, const CString& strOld);
  static BOOL Contains(const CStringList& list, const CString& strName, BOOL bIgnoreCase);

  CStringList* m_pStored;
  CStringList* m_pWorking;
  CStringList* m_pDeleted;
  SECWsMgrDialogEx* m_pDialog;
};

class SECWsMgrDialogEx : public CDialog {
  DECLARE_DYNAMIC(SECWsMgrDialogEx)

 public:
  enum { IDD = 20502 };
  static constexpr UINT kSave = 43000, kOpen = 43001, kDone = 43053, kList = 43072, kCurrent = 43105;

  SECWsMgrDialogEx(CStringList* pStored, CStringList* pWorking, CStringList* pDeleted, CString* pChosen,
                   BOOL bOpenAllowed, BOOL bSaveAllowed, CWnd* pParent = nullptr);
  ~SECWsMgrDialogEx() override;

  // Open, Save and Done as the mode allows (all off while a name is edited).
  void EnableButtons(BOOL bEditing);
  // Shows the current workspace under the name its row has now, or none once its row is deleted.
  void ShowCurrent();

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnOpenOrSave();
  afx_msg void OnDone();
  afx_msg void OnHelpButton();
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

  CStringList* m_pStored;
  CStringList* m_pWorking;
  CStringList* m_pDeleted;
  CString* m_pChosen;
  SECWSLBEditorEx* m_pEditor = nullptr;
  BOOL m_bOldWindows = FALSE;
  BOOL m_bOpenAllowed;
  BOOL m_bSaveAllowed;
  BOOL m_bCurrentListed = FALSE;  // the current workspace has a row of the list
};
