// The state an update handler gives a command, read back by tests of command enabling.
#pragma once

#include "afx/afx.h"

namespace editortest {

struct CommandState : CCmdUI {
  explicit CommandState(UINT id) { m_nID = id; }
  void Enable(BOOL on) override { enabled = on; }
  void SetCheck(int check) override { checked = check; }
  void SetText(LPCTSTR) override {}
  int enabled = -1;
  int checked = -1;
};

// Runs the command's update handlers of a target.
inline CommandState Update(CCmdTarget* target, UINT id) {
  CommandState state(id);
  state.DoUpdate(target, FALSE);
  return state;
}

}  // namespace editortest
