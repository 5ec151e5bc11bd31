// SECFSToolBar<BASE>: the floating bar of full-screen mode over a toolbar class (the customisable
// toolbar, the toolkit's plain toolbar or the framework's); its buttons take their command
// updates from the bar's owner (the full-screen controller), and a button without a handler
// stays enabled.
#pragma once

#include "afx/afx.h"
#include "bars/SECCustomToolBar.h"
#include "bars/SECToolBar.h"

namespace sec_fs {

// The buttons of each kind of bar, updated from pTarget without disabling those it has no
// handler for.
inline void UpdateButtons(CToolBar& bar, CCmdTarget* pTarget) {
  CToolCmdUI state;
  state.m_pOther = &bar;
  state.m_nIndexMax = static_cast<UINT>(bar.GetCount());
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    state.m_nID = bar.GetItemID(static_cast<int>(state.m_nIndex));
    if (state.m_nID != 0) state.DoUpdate(pTarget, FALSE);
  }
}
inline void UpdateButtons(SECToolBar& bar, CCmdTarget* pTarget) { UpdateButtons(bar.GetToolBarCtrl(), pTarget); }
inline void UpdateButtons(SECCustomToolBar& bar, CCmdTarget* pTarget) { bar.UpdateButtons(pTarget, FALSE); }

}  // namespace sec_fs

template <class BASE>
class SECFSToolBar : public BASE {
 public:
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {
    if (CWnd* owner = this->GetOwner()) sec_fs::UpdateButtons(*this, owner);
  }
};
