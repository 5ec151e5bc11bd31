// CMainProjectSetDlg: the project's "Settings" dialog with its General, Diagram and Owner pages.
// The Project Settings command copies the project's values into the pages' members before
// DoModal and back after IDOK; only the Diagram page reads the project itself (its shadow).
#pragma once

#include "afx/AfxCommonControls.h"
#include "app/CColourPicker.h"
#include "app/CTabbedPagesDlg.h"
#include "app/ProjectDialogs.h"
#include "model/ModelIds.h"

// Sent to the Diagram page: wParam a picker's control id, lParam the colour that picker takes.
#define WM_SETPICKERCOLOUR (WM_USER + 101)

// "General": output language, title, description and the kinds of members to document.
class CProjectSettingDlg : public CTabPage {
 public:
  CProjectSettingDlg();

  // Reads the controls into the members and notes whether the language changed.
  void ReadControls();

  int m_bDocProtectedFunctions = 0;
  int m_bDocPublicFunctions = 0;
  int m_bDocPrivateFunctions = 0;
  int m_bDocProtectedVariables = 0;
  int m_bDocPublicVariables = 0;
  int m_bDocPrivateVariables = 0;
  CString m_strTitle;
  CString m_strDescription;
  int m_nLanguage = LANGUAGE_CHS;
  BOOL m_bLanguageChanged = FALSE;
  int m_nOpenLanguage = LANGUAGE_CHS;  // the language when the dialog opened

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg void OnSelChangeLanguage();
  DECLARE_MESSAGE_MAP()
};

// "Diagram": the class-hierarchy chart's colours and shadow, with a legend that shows them.
class CProjectSettingDlg1 : public CTabPage {
 public:
  CProjectSettingDlg1();

  // Reads the four pickers and the shadow size, and repaints the legend.
  void ReadControls();
  // TRUE when the shadow size typed is a whole number from 0 to 20, the spin's range.
  BOOL CheckShadowSize() { return ReadShadowSize(); }
  // Tells the user the sizes allowed and puts the focus on the size, its text selected.
  void RefuseShadowSize();
  // The legend's frame in client coordinates.
  CRect LegendRect() const;

  CSpinButtonCtrl m_ctlSpin;
  CColourPicker m_ctlBackground;
  CColourPicker m_ctlBase;
  CColourPicker m_ctlDerived;
  CColourPicker m_ctlComponent;
  int m_nShadowCheck = 0;
  BOOL m_bShadow = FALSE;
  int m_nShadowSize = 3;
  COLORREF m_crBase = 0;
  COLORREF m_crDerived = 0;
  COLORREF m_crComponent = 0;
  COLORREF m_crBackground = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  afx_msg void OnPaint();
  afx_msg void OnShadow();
  afx_msg void OnChangeShadowSize();
  afx_msg LRESULT OnPickerChange(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPickerEnd(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetPickerColour(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL m_bInitialised = FALSE;
  void ReadColours();
  // The size typed in the edit; a text that is not a size within the spin's range keeps the
  // size it had (FALSE).
  BOOL ReadShadowSize();
  void RepaintLegend();
};

// "Owner": the author block of the documentation pages.
class CProjectSettingDlg2 : public CTabPage, public CAuthorBlock {
 public:
  CProjectSettingDlg2();

  // Reads the six edits into the six strings.
  void ReadControls();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
};

class CMainProjectSetDlg : public CTabbedPagesDlg {
 public:
  explicit CMainProjectSetDlg(CWnd* pParent = nullptr);

  CProjectSettingDlg m_GeneralPage;
  CProjectSettingDlg1 m_DiagramPage;
  CProjectSettingDlg2 m_OwnerPage;

 protected:
  void OnOK() override;
};

class CWorkSpaceObj;

// The Project Settings command's dialog run: the project's settings go into the pages, and on
// OK come back into the project, which is marked modified; the explorer's output tree is
// rebuilt when the output language changed. FALSE, with the project untouched, on Cancel.
BOOL EditProjectSettings(CWorkSpaceObj& project, CWnd* pParent = nullptr);
