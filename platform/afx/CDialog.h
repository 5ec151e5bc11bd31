// CDialog: modal and modeless dialogs from templates whose window is a CWnd with a message map,
// with the framework's OK/Cancel handling and the focus and default-button helpers.
#pragma once

#include <cstddef>

#include "afx/CWnd.h"
#include "win/Dialog.h"

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)

 public:
  CDialog();
  explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

  // Modeless dialogs: the window lives until DestroyWindow.
  using CWnd::Create;
  virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr,
                              void* lpDialogInit = nullptr);
  virtual BOOL CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd = nullptr);

  // Modal dialogs: DoModal runs the template given to the constructor or InitModalIndirect and
  // returns what EndDialog was given, -1 when the dialog could not be made.
  BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr, void* lpDialogInit = nullptr);
  BOOL InitModalIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd = nullptr);
  virtual INT_PTR DoModal();

  void EndDialog(int nResult);
  void NextDlgCtrl() const;
  void PrevDlgCtrl() const;
  void GotoDlgCtrl(CWnd* pWndCtrl);
  void SetDefID(UINT nID);
  DWORD GetDefID() const;
  void MapDialogRect(LPRECT lpRect) const;


  virtual BOOL OnInitDialog();
  virtual void OnSetFont(CFont*) {}
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  LPCTSTR m_lpszTemplateName = nullptr;
  UINT m_nIDHelp = 0;

 protected:
  virtual void OnOK();
  virtual void OnCancel();
  virtual void PreInitDialog() {}
  // The window a modal dialog is owned by: the given parent's top-level window, else the main one.
  HWND ModalOwner() const;

  afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT HandleSetFont(WPARAM wParam, LPARAM lParam);
  // WM_COMMANDHELP: the help of the dialog (HID_BASE_RESOURCE + its help id, else its template's id)
  // unless one is given.
  afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);

  LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;
  HGLOBAL m_hDialogTemplate = nullptr;
  void* m_lpDialogInit = nullptr;
  CWnd* m_pParentWnd = nullptr;

  DECLARE_MESSAGE_MAP()

 private:
  // Creates the window from the template of this object over hWndParent; `modal` clears WS_CHILD.
  BOOL CreateFromTemplate(LPCTSTR lpszTemplateName, LPCDLGTEMPLATE lpTemplate, HWND hWndParent, bool modal);
  friend class CWnd;
};

// The dialog procedure of framework dialogs: WM_INITDIALOG goes to OnInitDialog.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

namespace brambolt::afx {
// For the time of a framework modal loop, the messages the loop gets for the dialog and its
// children go through their windows' PreTranslateMessage first. The dialog may be named later
// (the platform makes the windows of common dialogs and sheets inside the call that runs them).
class ModalPreTranslateScope {
 public:
  explicit ModalPreTranslateScope(HWND dialog = nullptr);
  ~ModalPreTranslateScope();
  ModalPreTranslateScope(const ModalPreTranslateScope&) = delete;
  ModalPreTranslateScope& operator=(const ModalPreTranslateScope&) = delete;
  void SetDialog(HWND dialog);

 private:
  std::size_t m_index;  // this scope's place among the thread's modal loops
};
}  // namespace brambolt::afx
