// CPropertySheet: the platform's property sheet or wizard over CPropertyPage objects, modal or
// modeless, with this object attached to the sheet's window (its message map sees the sheet's
// messages).
#pragma once

#include <memory>
#include <vector>

#include "afx/CPropertyPage.h"

class CPropertySheet : public CWnd {
  DECLARE_DYNAMIC(CPropertySheet)

 public:
  CPropertySheet();
  explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  void Construct(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  void Construct(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

  PROPSHEETHEADER m_psh{};

  // IDOK or IDCANCEL; ID_WIZFINISH or IDCANCEL for a wizard; what EndDialog was given; -1 when
  // the sheet could not be made.
  virtual INT_PTR DoModal();
  // A modeless sheet (shown unless dwStyle leaves out WS_VISIBLE); it stays until destroyed.
  using CWnd::Create;
  virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1), DWORD dwExStyle = 0);

  // Pages stay the caller's; added while the sheet is up they appear at the end.
  void AddPage(CPropertyPage* pPage);
  void RemovePage(CPropertyPage* pPage);
  void RemovePage(int nPage);
  int GetPageCount() const { return static_cast<int>(m_pages.size()); }
  CPropertyPage* GetPage(int nPage) const;
  int GetPageIndex(CPropertyPage* pPage) const;
  // Before the sheet is up: the start page.
  CPropertyPage* GetActivePage() const;
  int GetActiveIndex() const;
  // FALSE when the page shown now refuses to go (OnKillActive).
  BOOL SetActivePage(int nPage);
  BOOL SetActivePage(CPropertyPage* pPage);
  void SetTitle(LPCTSTR lpszText, UINT nStyle = 0);

  void SetWizardMode() { m_psh.dwFlags |= PSH_WIZARD; }
  BOOL IsWizard() const { return (m_psh.dwFlags & PSH_WIZARD) != 0; }
  // PSWIZB_BACK, PSWIZB_NEXT, PSWIZB_FINISH, PSWIZB_DISABLEDFINISH.
  void SetWizardButtons(DWORD dwFlags);
  void SetFinishText(LPCTSTR lpszText);
  // PSBTN_BACK ... PSBTN_HELP, as if the user pressed it.
  BOOL PressButton(int nButton);
  // Ends a modal sheet with nEndID; a modeless one is destroyed.
  void EndDialog(int nEndID);

  virtual BOOL OnInitDialog();
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  std::vector<CPropertyPage*> m_pages;
  CString m_strCaption;
  CWnd* m_pParentWnd = nullptr;
  BOOL m_bModeless = FALSE;

 private:
  // Fills m_psh with the pages' PROPSHEETPAGEs (kept in m_pageArray for the call).
  void BuildHeader(HWND owner);
  HWND Owner() const;
  std::vector<PROPSHEETPAGE> m_pageArray;
  std::unique_ptr<brambolt::afx::ModalPreTranslateScope> m_pModalScope;
  INT_PTR m_nEndResult = 0;
  bool m_bEndedByCode = false;
};
