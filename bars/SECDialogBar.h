// SECDialogBar: a toolkit control bar made from a dialog template, its controls laid out in
// proportion as the bar is sized; the dialog's size is each of its three dock sizes.
#pragma once

#include "bars/SECControlBar.h"

class SECDialogBar : public SECControlBar {
  DECLARE_DYNCREATE(SECDialogBar)

 public:
  SECDialogBar();
  ~SECDialogBar() override;

  using SECControlBar::Create;
  // The bar is the dialog of template nIDTemplate with id nID; FALSE when any step fails.
  virtual BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, DWORD dwStyle, DWORD dwExStyle, UINT nID);
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  void GetBarInfo(SECControlBarInfo* pInfo) override;
  using SECControlBar::GetBarInfo;

  UINT m_nIDTemplate = 0;
  BOOL m_bInCreate = FALSE;
  void* m_pOccDialogInfo = nullptr;  // dialog data of OLE controls: none on this platform
};
