// CPropertyPage: a page of a CPropertySheet, a dialog made from its template when the sheet first
// shows it; the sheet's PSN_ notifications reach its virtuals, and data exchange runs as the
// page is left, shown again and applied.
#pragma once

#include "afx/CDialog.h"
#include "controls/CommCtrl.h"

class CPropertySheet;

class CPropertyPage : public CDialog {
  DECLARE_DYNAMIC(CPropertyPage)

 public:
  // nIDCaption, when given, names the string resource of the page's tab (else the template's
  // caption).
  explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
  explicit CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);
  void Construct(UINT nIDTemplate, UINT nIDCaption = 0);
  void Construct(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);

  PROPSHEETPAGE m_psp{};

  // The sheet the page is on (null before it is shown).
  CPropertySheet* GetParentSheet() const;
  // Marks the page changed (the sheet enables Apply) or unchanged.
  void SetModified(BOOL bChanged = TRUE);
  // Cancel becomes impossible and OK reads "Close".
  void CancelToClose();
  // Sends PSM_QUERYSIBLINGS through the sheet: the first page answering nonzero wins.
  LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam);

  // The page is shown: TRUE accepts (the data go to the controls again after the first time);
  // in a wizard FALSE skips the page.
  virtual BOOL OnSetActive();
  // The page is left or the sheet applied: the controls' data are read; FALSE keeps the page.
  virtual BOOL OnKillActive();
  // OK or Apply of the sheet: FALSE keeps the sheet open. The default calls OnOK.
  virtual BOOL OnApply();
  // Cancel of the sheet, for every page that was shown. The default calls OnCancel.
  virtual void OnReset();
  void OnOK() override;
  void OnCancel() override;
  // Cancel was pressed: FALSE keeps the sheet open.
  virtual BOOL OnQueryCancel();
  // Wizards: 0 goes on to the neighbouring page, -1 stays, a template id goes to that page.
  virtual LRESULT OnWizardBack();
  virtual LRESULT OnWizardNext();
  // FALSE keeps the wizard open.
  virtual BOOL OnWizardFinish();

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  CString m_strCaption;
  BOOL m_bFirstSetActive = TRUE;

  friend class CPropertySheet;
};
