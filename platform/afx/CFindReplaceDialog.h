// CFindReplaceDialog: the modeless Find and Replace dialogs. Each button tells the owner with the
// registered message FINDMSGSTRING, lParam the dialog's FINDREPLACE; closing tells FR_DIALOGTERM.
#pragma once

#include "afx/CCommonDialog.h"

#define FINDMSGSTRING "commdlg_FindReplace"

#define FR_DOWN 0x00000001
#define FR_WHOLEWORD 0x00000002
#define FR_MATCHCASE 0x00000004
#define FR_FINDNEXT 0x00000008
#define FR_REPLACE 0x00000010
#define FR_REPLACEALL 0x00000020
#define FR_DIALOGTERM 0x00000040
#define FR_SHOWHELP 0x00000080
#define FR_ENABLEHOOK 0x00000100
#define FR_ENABLETEMPLATE 0x00000200
#define FR_NOUPDOWN 0x00000400
#define FR_NOMATCHCASE 0x00000800
#define FR_NOWHOLEWORD 0x00001000
#define FR_ENABLETEMPLATEHANDLE 0x00002000
#define FR_HIDEUPDOWN 0x00004000
#define FR_HIDEMATCHCASE 0x00008000
#define FR_HIDEWHOLEWORD 0x00010000

typedef UINT_PTR(CALLBACK* LPFRHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagFINDREPLACEA {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  DWORD Flags;
  LPSTR lpstrFindWhat;
  LPSTR lpstrReplaceWith;
  WORD wFindWhatLen;
  WORD wReplaceWithLen;
  LPARAM lCustData;
  LPFRHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
} FINDREPLACE, FINDREPLACEA, *LPFINDREPLACE, *LPFINDREPLACEA;

class CFindReplaceDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CFindReplaceDialog)

 public:
  CFindReplaceDialog();
  ~CFindReplaceDialog() override;

  // Shows the Find dialog (bFindDialogOnly) or the Replace dialog, owned by pParentWnd (the main
  // window when null), which gets FINDMSGSTRING. The object deletes itself when the dialog closes.
  using CCommonDialog::Create;
  BOOL Create(BOOL bFindDialogOnly, LPCTSTR lpszFindWhat, LPCTSTR lpszReplaceWith = nullptr, DWORD dwFlags = FR_DOWN,
              CWnd* pParentWnd = nullptr);
  // The dialog a FINDMSGSTRING message comes from.
  static CFindReplaceDialog* GetNotifier(LPARAM lParam);

  CString GetFindString() const { return m_fr.lpstrFindWhat; }
  CString GetReplaceString() const { return m_fr.lpstrReplaceWith; }
  BOOL SearchDown() const { return (m_fr.Flags & FR_DOWN) != 0; }
  BOOL FindNext() const { return (m_fr.Flags & FR_FINDNEXT) != 0; }
  BOOL MatchCase() const { return (m_fr.Flags & FR_MATCHCASE) != 0; }
  BOOL MatchWholeWord() const { return (m_fr.Flags & FR_WHOLEWORD) != 0; }
  BOOL ReplaceCurrent() const { return (m_fr.Flags & FR_REPLACE) != 0; }
  BOOL ReplaceAll() const { return (m_fr.Flags & FR_REPLACEALL) != 0; }
  BOOL IsTerminating() const { return (m_fr.Flags & FR_DIALOGTERM) != 0; }

  FINDREPLACE m_fr;

 protected:
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnOK() override;
  void OnCancel() override;
  void PostNcDestroy() override;

  // Reads the texts and options into m_fr and tells the owner what was pressed.
  void Notify(DWORD action);
  void UpdateButtons();

  TCHAR m_szFindWhat[128];
  TCHAR m_szReplaceWith[128];
  BOOL m_bFindOnly = TRUE;
};
