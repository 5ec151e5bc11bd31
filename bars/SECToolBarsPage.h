// The Toolbars page of the customise sheet and its stand-alone dialog form: the frame's toolbars
// with check boxes (shown or hidden), New, Reset or Delete, renaming, and the three look options;
// SECNewToolBar, the dialog that asks for a new toolbar's name.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "afx/CCheckListBox.h"
#include "afx/CPropertyPage.h"

class SECToolBarManager;
class SECCustomToolBar;
class SECControlBarInfo;

// "WM_TOOLBARSTYLECHANGING": the Toolbars page to the other pages of its sheet; wParam 1 large
// buttons changed, 2 cool look changed.
extern const UINT wmSECToolBarStyleChanging;
constexpr WPARAM SEC_STYLECHANGE_LARGEBUTTONS = 1;
constexpr WPARAM SEC_STYLECHANGE_COOLLOOK = 2;

// Toolbar names are kept to this many characters.
constexpr int SEC_MAX_TOOLBAR_NAME = 128;

class SECNewToolBar : public CDialog {
 public:
  explicit SECNewToolBar(CWnd* pParent = nullptr);

  CString m_strName;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnNameChange();
  afx_msg void OnHelpButton();
  DECLARE_MESSAGE_MAP()
};

// What the page and the dialog forms share: the options, the manager and the list of bars, and
// the work of each control. pDialog is the window holding the controls.
class SECToolBarsBase {
 public:
  SECToolBarsBase() = default;
  virtual ~SECToolBarsBase() = default;

  void SetManager(SECToolBarManager* pManager) { m_pManager = pManager; }
  SECToolBarManager* GetManager() const { return m_pManager; }

  BOOL m_bToolTips = TRUE;
  BOOL m_bCoolLook = FALSE;
  BOOL m_bLargeButtons = FALSE;
  CCheckListBox m_barList;

 protected:
  // Fills the list (one entry per customisable bar, by id, checked when visible) and the options.
  void InitBars(CDialog* pDialog);
  void ExchangeOptions(CDataExchange* pDX);
  void UpdateBarControls(CDialog* pDialog);
  void OnCheckChange(CDialog* pDialog);
  void RenameSelectedBar(CDialog* pDialog);
  // Runs SECNewToolBar and floats the new bar; TRUE when one was made.
  BOOL NewToolBar(CDialog* pDialog);
  // Delete asks first. Both are undone by RevertBars, and only made final by CommitBars: a
  // deleted bar is hidden and leaves the list until then, a reset bar's buttons are kept. A
  // rename is undone and made final alike.
  void ResetOrDeleteBar(CDialog* pDialog);
  // OK and Apply: the deleted bars go.
  void CommitBars();
  // Cancel: the deleted bars come back as they were, the reset ones get their buttons and their
  // floating width again, the renamed ones their names.
  void RevertBars(CDialog* pDialog);
  void ApplyToolTips(CDialog* pDialog);
  // Applies the option and tells the sheet's other pages (pSheetPage: the page form, else null).
  void ApplyCoolLook(CDialog* pDialog, CPropertyPage* pSheetPage);
  void ApplyLargeButtons(CDialog* pDialog, CPropertyPage* pSheetPage);
  LRESULT BarNotify(CDialog* pDialog, WPARAM wParam, LPARAM lParam);

  SECCustomToolBar* GetSelectedBar() const;
  // Inserts a bar's entry before the first one with a larger id.
  int InsertBar(SECCustomToolBar* pBar);
  static BOOL IsMenuBar(const SECCustomToolBar* pBar);
  static BOOL IsUserBarID(UINT nID);

  // Runs a modal step (a question, a dialog) with the frame out of reach again.
  INT_PTR OutsideConfigMode(const std::function<INT_PTR()>& step);

  SECToolBarManager* m_pManager = nullptr;

  // What Delete and Reset changed since the last OK or Apply.
  struct DeletedBar {
    HWND hBar;
    BOOL bVisible;
  };
  struct ResetBar {
    HWND hBar;
    std::shared_ptr<SECControlBarInfo> buttons;  // the buttons before the first reset
    UINT nMRUWidth;                              // and the width it floated at
  };
  struct RenamedBar {
    HWND hBar;
    CString strTitle;  // the name before the first rename
  };
  std::vector<DeletedBar> m_deletedBars;
  std::vector<ResetBar> m_resetBars;
  std::vector<RenamedBar> m_renamedBars;

  // Whether Apply has something to make final.
  BOOL HasPendingChanges() const { return !m_deletedBars.empty() || !m_resetBars.empty() || !m_renamedBars.empty(); }
  // Gives a bar a name: its window, its floating frame's caption and its list entry.
  void SetBarTitle(SECCustomToolBar* pBar, const CString& strTitle);
};

class SECToolBarsPage : public CPropertyPage, public SECToolBarsBase {
 public:
  SECToolBarsPage();
  ~SECToolBarsPage() override;
  void SetManager(SECToolBarManager* pManager);

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;
  void OnCancel() override;
  afx_msg void OnSelChange() { UpdateBarControls(this); }
  afx_msg void OnCheckChange() { SECToolBarsBase::OnCheckChange(this); }
  afx_msg void OnNameKillFocus();
  afx_msg void OnNew() { NewToolBar(this); }
  afx_msg void OnResetBar();
  afx_msg void OnToolTips() { ApplyToolTips(this); }
  afx_msg void OnCoolLook() { ApplyCoolLook(this, this); }
  afx_msg void OnLargeButtons() { ApplyLargeButtons(this, this); }
  afx_msg LRESULT OnBarNotify(WPARAM wParam, LPARAM lParam) { return BarNotify(this, wParam, lParam); }
  DECLARE_MESSAGE_MAP()
};

// The Toolbars dialog: the page's controls with Close, Customize... and Help. It runs in
// customise mode; Customize... ends it with 43099, as New... does once a bar was made.
class SECToolBarsDlg : public CDialog, public SECToolBarsBase {
 public:
  explicit SECToolBarsDlg(SECToolBarManager* pManager, CWnd* pParent = nullptr);
  ~SECToolBarsDlg() override;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  void EndDialog(int nResult);
  void OnOK() override { EndDialog(IDOK); }
  void OnCancel() override { EndDialog(IDCANCEL); }
  afx_msg void OnSelChange() { UpdateBarControls(this); }
  afx_msg void OnCheckChange() { SECToolBarsBase::OnCheckChange(this); }
  afx_msg void OnNameKillFocus() { RenameSelectedBar(this); }
  afx_msg void OnNew();
  afx_msg void OnCustomize() { EndDialog(IDC_SEC_TOOLBAR_CUSTOMIZE_RESULT); }
  afx_msg void OnResetBar() { ResetOrDeleteBar(this); }
  afx_msg void OnHelpButton();
  afx_msg void OnOption();
  afx_msg LRESULT OnBarNotify(WPARAM wParam, LPARAM lParam) { return BarNotify(this, wParam, lParam); }
  DECLARE_MESSAGE_MAP()

  static constexpr int IDC_SEC_TOOLBAR_CUSTOMIZE_RESULT = 43099;
  BOOL m_bEnded = FALSE;
};
