// The editor controller's undo and redo, its wrapper for running a command on the model, and the
// update handlers that enable the editing commands.
#include "editor/ctl/SECEditController.h"
#include "editor/model/SECEdit.h"
#include "ole/COleDataObject.h"

// The view scrolls to the caret once, after every reversed edit has moved it.
BOOL SECEditController::Undo() {
  SECEdit* model = GetEditModel();
  if (model == nullptr || IsReadOnly() || IsTrackingMouse()) return FALSE;
  EnableCaretScroll(FALSE);
  const BOOL undone = model->Undo() != nullptr;
  EnableCaretScroll(TRUE);
  return undone;
}

BOOL SECEditController::Redo() {
  SECEdit* model = GetEditModel();
  if (model == nullptr || IsReadOnly() || IsTrackingMouse()) return FALSE;
  EnableCaretScroll(FALSE);
  const BOOL redone = model->Redo() != nullptr;
  EnableCaretScroll(TRUE);
  return redone;
}

BOOL SECEditController::DoCommand(kelpwood::foundation::CMvcCommand* cmd) {
  SECEdit* model = GetEditModel();
  if (model == nullptr) return FALSE;
  EnableCaretScroll(FALSE);
  const BOOL done = model->DoCommand(cmd);
  EnableCaretScroll(TRUE);
  return done;
}

void SECEditController::OnEditUndo() { Undo(); }
void SECEditController::OnEditRedo() { Redo(); }
void SECEditController::OnEditCopy() { Copy(); }
void SECEditController::OnEditCut() { Cut(); }
void SECEditController::OnEditPaste() { Paste(); }

void SECEditController::OnUpdateEditUndo(CCmdUI* pCmdUI) {
  SECEdit* model = GetEditModel();
  pCmdUI->Enable(model != nullptr && model->PeekUndo() != nullptr);
}

void SECEditController::OnUpdateEditRedo(CCmdUI* pCmdUI) {
  SECEdit* model = GetEditModel();
  pCmdUI->Enable(model != nullptr && model->PeekRedo() != nullptr);
}

// Copy takes the caret line without a selection, so only a text of one empty line has nothing.
void SECEditController::OnUpdateEditCopy(CCmdUI* pCmdUI) {
  SECEdit* model = GetEditModel();
  pCmdUI->Enable(model != nullptr && (model->GetLineCount() > 1 || LineLength(0) > 0));
}

void SECEditController::OnUpdateEditCut(CCmdUI* pCmdUI) { pCmdUI->Enable(!IsReadOnly() && CanReplaceInSelection()); }

void SECEditController::OnUpdateEditPaste(CCmdUI* pCmdUI) {
  COleDataObject data;
  pCmdUI->Enable(!IsReadOnly() && data.AttachClipboard() && data.IsDataAvailable(CF_TEXT));
}
