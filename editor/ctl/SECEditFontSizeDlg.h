// The "Font and Color Settings" dialog: the font and the colours of each colour group of a
// language configuration, with automatic colours that follow the window colours.
#pragma once

#include <vector>

#include "afx/CDialog.h"
#include "editor/lang/ISECEditLangConfig.h"
#include "widgets/SECWellButton.h"

constexpr UINT IDD_SECEDIT_FONTSIZE = 22700;
// The template of the font dialog that "Choose Font" opens.
constexpr UINT IDD_SECEDIT_FONT_TEMPLATE = 22703;

class SECEditFontSizeDlg : public CDialog {
 public:
  SECEditFontSizeDlg(CWnd* pParent = nullptr);
  ~SECEditFontSizeDlg() override;

  // Takes the font and a copy of every colour group of the configuration (once).
  void SetConfiguration(ISECEditLangConfig* cfg, const LOGFONT& lf);
  // Writes the font (face, points, italic, bold) and the groups back.
  void ApplyToConfiguration(ISECEditLangConfig* cfg);
  int GetPointSize() const;
  // The group of the list's current item; null when none is.
  SECEditColorInfo* GetSelectedGroup();
  // From controls: the boxes and wells into the group, automatic colours derived; else the
  // group shown in the controls.
  void SyncGroup(BOOL bFromControls);
  void UpdateFontTexts();
  void DrawSample();

  const LOGFONT& GetLogFont() const { return m_lf; }
  SECEditColorInfo* GetGroup(int index) { return index >= 0 && index < static_cast<int>(m_groups.size()) ? &m_groups[static_cast<size_t>(index)] : nullptr; }

  // Runs the dialog on a configuration; on OK the configuration holds the choice.
  static BOOL Run(ISECEditLangConfig* cfg, LOGFONT* lf);

  CString m_strSelected;
  DWORD m_dwFontFlags = 16859137;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnSelChange();
  afx_msg void OnAutomatic();
  afx_msg LRESULT OnWellColor(WPARAM wParam, LPARAM lParam);
  afx_msg void OnResetAll();
  afx_msg void OnChooseFont();
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  void LoadFromConfiguration();
  CListBox* List() { return static_cast<CListBox*>(GetDlgItem(1000)); }

  LOGFONT m_lf{};
  ISECEditLangConfig* m_pConfig = nullptr;
  std::vector<SECEditColorInfo> m_groups;
  int m_nTextGroup = 0;
  int m_nSelectionGroup = 1;
  kelpwood::foundation::SECWellButton m_wellFore;
  kelpwood::foundation::SECWellButton m_wellBack;
  COLORREF m_crLastFore = 0;
  COLORREF m_crLastBack = 0;
};
