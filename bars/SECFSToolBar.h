// SECFSToolBar<BASE>: the floating bar of full-screen mode over a toolbar class; its buttons take
// their command updates from the bar's owner (the full-screen controller), and a button without a
// handler stays enabled.
#pragma once

#include "afx/afx.h"

template <class BASE>
class SECFSToolBar : public BASE {
 public:
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {
    CWnd* owner = this->GetOwner();
    if (owner == nullptr) return;
    CToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(this->GetCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
      state.m_nID = this->GetItemID(static_cast<int>(state.m_nIndex));
      if (state.m_nID != 0) state.DoUpdate(owner, FALSE);
    }
  }
};
