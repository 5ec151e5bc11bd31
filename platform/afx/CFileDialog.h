// CFileDialog: the file open and save dialogs with "|"-separated filters, the chosen path and its
// parts, several files from one choice, and the notifications a derived class overrides.
#pragma once

#include <vector>

#include "afx/CCommonDialog.h"
#include "core/CollectionBase.h"
#include "controls/FileDialog.h"

class CDocTemplate;

class CFileDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CFileDialog)

 public:
  // The filter's pairs are separated by "|" ("Text (*.txt)|*.txt|All Files (*.*)|*.*||"). Unless
  // the caller changes m_ofn, the dialog is Explorer-style with the framework's hook.
  explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = nullptr, LPCTSTR lpszFileName = nullptr,
                       DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = nullptr,
                       CWnd* pParentWnd = nullptr);

  OPENFILENAME m_ofn{};

  // IDOK or IDCANCEL (also when the dialog failed: CommDlgExtendedError tells why).
  INT_PTR DoModal() override;

  // The chosen file: while the dialog is up, what its name field names; afterwards the result.
  CString GetPathName() const;
  CString GetFileName() const;
  CString GetFileExt() const;
  // The file name without its extension.
  CString GetFileTitle() const;
  // The folder shown while the dialog is up; afterwards the folder of the result.
  CString GetFolderPath() const;
  BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }

  // Several files chosen with OFN_ALLOWMULTISELECT (m_ofn.lpstrFile then usually points at a
  // large buffer of the caller): the full path of each in turn; a single choice gives one.
  POSITION GetStartPosition() const;
  CString GetNextPathName(POSITION& pos) const;

  // While the dialog is up (Explorer style): a control's text, hiding one, the default extension.
  void SetControlText(int nID, LPCSTR lpsz);
  void HideControl(int nID);
  void SetDefExt(LPCSTR lpsz);

 protected:
  // TRUE rejects the name the user chose (the dialog stays); m_ofn (or the structure passed
  // with the notification) holds the name.
  virtual BOOL OnFileNameOK();
  // The old-style dialog's selection changed in list nIDBox (nCode: CD_LBSELCHANGE ...).
  virtual void OnLBSelChangedNotify(UINT nIDBox, UINT iCurSel, UINT nCode);
  // Explorer-style notifications.
  virtual void OnInitDone();
  virtual void OnFileNameChange();
  virtual void OnFolderChange();
  virtual void OnTypeChange();
  virtual UINT OnShareViolation(LPCTSTR lpszPathName);

  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  UINT_PTR OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  BOOL m_bOpenFileDialog;
  CString m_strFilter;  // the filter with its "|" turned into NULs
  char m_szFileName[MAX_PATH] = {};
  char m_szFileTitle[MAX_PATH] = {};
  // The structure that came with the notification being handled, else null.
  OPENFILENAME* m_pofnTemp = nullptr;

 private:
  // The Explorer-style dialog window around this object's hook dialog, else null.
  HWND ExplorerWindow() const;
  // A CDM_ query of the running Explorer-style dialog; false when there is no answer.
  bool Query(UINT message, CString& result) const;
  // Several files picked: the name buffer grows (into m_grownFile) to hold the folder and every
  // name, so a choice never fails for want of room.
  void MakeRoomForSelection();
  std::vector<char> m_grownFile;
};

namespace brambolt::afx {
// What DoPromptFileName runs when no other prompter is installed: a CFileDialog with the filters
// of the templates (of pTemplate alone when given) and "All Files (*.*)".
BOOL PromptFileNameWithDialog(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                              CDocTemplate* pTemplate);
}  // namespace brambolt::afx
