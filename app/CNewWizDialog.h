// CNewWizDialog and CNewWizPage: a small wizard frame, a modal dialog that shows one modeless
// child page at a time over a placeholder control and walks the pages with Back, Next and Finish.
#pragma once

#include "afx/CDialog.h"
#include "core/CTypedPtr.h"
#include "core/Lists.h"

class CNewWizDialog;

// A page of the wizard: a modeless child dialog made the first time it is shown.
class CNewWizPage : public CDialog {

 public:
  explicit CNewWizPage(UINT nIDTemplate, CWnd* pParent = nullptr);

  // Called once right after the page window is made; FALSE abandons the activation.
  virtual BOOL OnCreatePage() { return TRUE; }
  // Called before the page window is destroyed.
  virtual void OnDestroyPage() {}
  // Called before the page is hidden; FALSE keeps it.
  virtual BOOL OnKillActive() { return TRUE; }
  // Called after the page has been shown.
  virtual void OnSetActive() {}
  // Called on cancel; FALSE keeps the wizard open.
  virtual BOOL OnQueryCancel() { return TRUE; }
  // -1 stays, 0 goes to the neighbouring page in list order, anything else is the template id
  // of the page to go to.
  virtual LRESULT OnWizardBack() { return 0; }
  virtual LRESULT OnWizardNext() { return 0; }
  // FALSE keeps the wizard open.
  virtual BOOL OnWizardFinish() { return TRUE; }
  // Called on the page Next has just shown, after OnSetActive.
  virtual void OnActivatedByNext() {}

  UINT m_nDialogID;
  CNewWizDialog* m_pParent = nullptr;
  BOOL m_bCreated = FALSE;
  BOOL m_bActive = FALSE;

 protected:
  // Return inside a page does nothing; Escape cancels the wizard.
  void OnOK() override {}
  void OnCancel() override;
};

class CNewWizDialog : public CDialog {

 public:
  explicit CNewWizDialog(UINT nIDTemplate, CWnd* pParent = nullptr);

  // Appends a page (the caller owns it and keeps it alive while the wizard runs).
  void AddPage(CNewWizPage* pPage, UINT nID);
  void SetPlaceholderID(int nPlaceholderID) { m_nPlaceholderID = nPlaceholderID; }

  CNewWizPage* GetFirstPage() const;
  CNewWizPage* GetLastPage() const;
  CNewWizPage* GetActivePage() const;
  CNewWizPage* GetPageByResourceID(UINT nID) const;
  BOOL ActivatePage(CNewWizPage* pPage);
  BOOL DeactivatePage();
  void EnableBack(BOOL bEnable);
  void EnableNext(BOOL bEnable);
  void EnableFinish(BOOL bEnable);

 protected:
  BOOL OnInitDialog() override;
  void OnCancel() override;
  afx_msg void OnWizardBack();
  afx_msg void OnWizardNext();
  afx_msg void OnWizardFinish();
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

  CTypedPtrList<CObList, CNewWizPage*> m_PageList;
  int m_nPlaceholderID = 0;

 private:
  // The page before or after pPage in list order; NULL at either end.
  CNewWizPage* Neighbour(CNewWizPage* pPage, bool bNext) const;
  // The page a Back or Next result names, or NULL.
  CNewWizPage* Target(CNewWizPage* pActive, LRESULT nResult, bool bNext) const;
  void EnableButton(int nID, BOOL bEnable);
};
