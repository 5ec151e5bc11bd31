// The editor's Find and Replace dialogs, the search state every editor window of the process
// shares, and the face through which a dialog passes its requests to the editor controller.
#pragma once

#include "afx/AfxControls.h"
#include "afx/CDialog.h"
#include "core/Lists.h"

class SECEditFindReplaceDlg;
class SECEditViewport;

// Templates, controls and messages of the dialogs.
constexpr UINT IDD_SECEDIT_FIND = 22701;
constexpr UINT IDD_SECEDIT_REPLACE = 22702;
constexpr UINT IDC_SECEDIT_FINDTEXT = 1000;
constexpr UINT IDC_SECEDIT_REPLACETEXT = 1001;
constexpr UINT IDC_SECEDIT_MATCHCASE = 1002;
constexpr UINT IDC_SECEDIT_REGEXP = 1003;
constexpr UINT IDC_SECEDIT_CHOICE_FIRST = 1004;  // Up, or Selection
constexpr UINT IDC_SECEDIT_CHOICE_SECOND = 1005;  // Down, or Whole file
constexpr UINT IDC_SECEDIT_MARKALL = 1008;
constexpr UINT IDC_SECEDIT_REPLACE = 1024;
constexpr UINT IDC_SECEDIT_REPLACEALL = 1025;
constexpr UINT IDC_SECEDIT_WHOLEWORD = 1040;
constexpr UINT IDS_SECEDIT_CANNOT_FIND = 22601;
constexpr UINT IDS_SECEDIT_FINISHED = 22602;
constexpr UINT IDS_SECEDIT_READONLY = 22603;
constexpr UINT IDS_SECEDIT_LINE_TOO_LONG = 22604;
constexpr UINT IDS_SECEDIT_REPLACED_SELECTION = 22605;
constexpr UINT IDS_SECEDIT_REPLACED_DOCUMENT = 22606;

// The texts, options and histories of searching, one per process.
struct _SEC_FIND_REPLACE_STATE {
  _SEC_FIND_REPLACE_STATE();

  SECEditFindReplaceDlg* m_pDialog = nullptr;
  BOOL m_bFindOnly = TRUE;
  CString m_strFind;
  CString m_strReplace;
  CStringList m_findHistory{10};
  CStringList m_replaceHistory{10};
  BOOL m_bCase = FALSE;
  BOOL m_bNext = TRUE;
  BOOL m_bWord = FALSE;
  BOOL m_bInSelection = FALSE;
  BOOL m_bRegExp = FALSE;
  BOOL m_bRegExpAvailable = FALSE;
  // The viewport of the editor whose controller opened the dialog.
  SECEditViewport* m_pOwner = nullptr;
};

// The process's search state, made on first use.
_SEC_FIND_REPLACE_STATE* SECEditGetFindReplaceState();

class ISECEditFindReplaceNotify {
 public:
  // A request of the dialog (its command says which); the result goes back to the dialog.
  virtual BOOL OnFindReplaceCommand(SECEditFindReplaceDlg* dlg) = 0;
  // A selection a replacement may use: one, and no mouse selection or drag running.
  virtual BOOL CanReplaceInSelection() = 0;

 protected:
  ~ISECEditFindReplaceNotify() = default;
};

class SECEditFindReplaceDlg : public CDialog {
 public:
  // Requests passed to the owner.
  enum Command { kClosing = 0, kFindNext = 1, kMarkAll = 2, kReplace = 3, kReplaceAll = 4 };
  // The most entries a history keeps.
  static constexpr int kHistoryMax = 16;

  SECEditFindReplaceDlg();

  // Sets up a dialog: Find (find only) or Replace, its owner and the state's histories.
  void Setup(BOOL bFindOnly, ISECEditFindReplaceNotify* owner, CStringList* findHistory, CStringList* replaceHistory);
  // Modeless: the template by kind; the object deletes itself when its window is gone.
  BOOL CreateModeless(CWnd* parent);
  INT_PTR DoModal() override;

  virtual void ApplyRegularExpressionOption();
  virtual void SaveHistory();
  virtual void FillCombos();
  virtual void UpdateControls();

  BOOL IsFindNext() const { return m_nCommand == kFindNext; }
  BOOL IsMarkAll() const { return m_nCommand == kMarkAll; }
  BOOL IsReplaceCurrent() const { return m_nCommand == kReplace; }
  BOOL IsReplaceAll() const { return m_nCommand == kReplaceAll; }
  BOOL IsTerminating() const { return m_nCommand == kClosing; }
  int GetCommand() const { return m_nCommand; }
  CString GetFindString() const { return m_strFind; }
  CString GetReplaceString() const { return m_strReplace; }
  void SetFindString(LPCTSTR text) { m_strFind = text; }
  void SetReplaceString(LPCTSTR text) { m_strReplace = text; }
  BOOL MatchCase() const { return m_bMatchCase; }
  void SetMatchCase(BOOL on) { m_bMatchCase = on; }
  BOOL MatchWholeWord() const { return m_bWholeWord; }
  void SetMatchWholeWord(BOOL on) { m_bWholeWord = on; }
  BOOL RegularExpression() const { return m_bRegExp; }
  void SetRegularExpression(BOOL on, BOOL available) {
    m_bRegExp = on && available;
    m_bRegExpAvailable = available;
  }
  BOOL SearchDown() const { return !m_bFindOnly || m_nChoice == 1; }
  BOOL InSelection() const { return !m_bFindOnly && m_nChoice == 0; }
  BOOL IsFindOnly() const { return m_bFindOnly; }
  BOOL IsModal() const { return m_bModal; }
  void SetDirection(BOOL down) {
    if (m_bFindOnly) m_nChoice = down ? 1 : 0;
  }
  void SetScope(BOOL selection) {
    if (!m_bFindOnly) m_nChoice = selection && m_bSelectionAllowed ? 0 : 1;
  }
  void AllowSelection(BOOL allowed) { m_bSelectionAllowed = allowed; }
  ISECEditFindReplaceNotify* GetOwner() const { return m_pOwner; }
  // The owner is going: the dialog no longer tells it anything.
  void DetachOwner() { m_pOwner = nullptr; }

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnCancel() override;
  void PostNcDestroy() override;
  // Reads the controls, keeps the history and passes the request on.
  BOOL Request(int command);

  afx_msg void OnFindNext();
  afx_msg void OnMarkAll();
  afx_msg void OnReplace();
  afx_msg void OnReplaceAll();
  afx_msg void OnRegExp();
  afx_msg void OnChoice();
  afx_msg void OnFindEdited();
  afx_msg void OnFindChosen();
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  DECLARE_MESSAGE_MAP()

  int m_nCommand = kClosing;
  CComboBox m_replaceCombo;
  CComboBox m_findCombo;
  CString m_strFind;
  CString m_strReplace;
  BOOL m_bMatchCase = FALSE;
  BOOL m_bWholeWord = FALSE;
  BOOL m_bRegExp = FALSE;
  int m_nChoice = -1;
  BOOL m_bFindOnly = TRUE;
  BOOL m_bRegExpAvailable = FALSE;
  ISECEditFindReplaceNotify* m_pOwner = nullptr;
  CStringList* m_pFindHistory = nullptr;
  CStringList* m_pReplaceHistory = nullptr;
  BOOL m_bModal = FALSE;
  BOOL m_bSelectionAllowed = FALSE;
};
