// CCommonDialog: the base of the framework's common dialogs. DoModal runs the platform's dialog
// with this object attached to the dialog's window, so message maps, OnInitDialog, OnOK and data
// exchange work on it as on any CDialog; the hook procedure passes the dialog's own messages on.
#pragma once

#include <memory>

#include "afx/CDialog.h"

class CCommonDialog : public CDialog {
  DECLARE_DYNAMIC(CCommonDialog)

 public:
  explicit CCommonDialog(CWnd* pParentWnd = nullptr);

 protected:
  // Data exchange, then the dialog's own OK (the platform dialog ends itself).
  void OnOK() override;
  void OnCancel() override;

  // Around the platform call: the owner window to give it and the creation hook, and after it
  // the hook released. `alternate` attaches the object to the first window the hook procedure
  // sees instead of the first window created (the child dialog of Explorer-style dialogs).
  HWND PreModal(bool alternate = false);
  void PostModal();
  // A message of the platform dialog that reaches the hook procedure after this object's map
  // (the registered notifications of the old-style dialogs); its answer goes back to the dialog.
  virtual UINT_PTR OnHookMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // OnInitDialog runs through the hook, or after the dialog's own initialisation when the caller
  // took the hook away.
  afx_msg LRESULT HandleCommonInitDialog(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  CCommonDialog* m_pOuterAlternate = nullptr;  // the dialog waiting for its window before this one
  bool m_bInitThroughHook = false;
  std::unique_ptr<brambolt::afx::ModalPreTranslateScope> m_pModalScope;
  // The dialog's window is known: its loop's messages go through PreTranslateMessage.
  void DialogCreated(HWND hWnd);

  friend UINT_PTR CALLBACK AfxCommDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// The hook procedure of every framework common dialog.
UINT_PTR CALLBACK AfxCommDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
