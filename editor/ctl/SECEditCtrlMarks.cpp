// The editor controller's line-mark commands (toggle, next, previous and clear for each mark
// number), the highlighted line, the current-line notice that clears the line-changed mark, the
// context menu, and the overwrite and visible-whitespace toggles.
#include "editor/ctl/SECEditController.h"
#include "editor/lang/ISECEditLangConfig.h"
#include "editor/model/SECEdit.h"
#include "editor/view/SECEditViewport.h"

namespace {

// The mark number a command of one of the four ranges addresses.
int MarkOf(UINT id, UINT first) { return static_cast<int>(id - first); }

}  // namespace

void SECEditController::ToggleBookmark(UINT nID) {
  SECEdit* model = GetEditModel();
  if (model != nullptr) model->ToggleLineMark(m_caret.m_nLine, MarkOf(nID, ID_SECEDIT_MARK_TOGGLE));
}

void SECEditController::GoToMarkedLine(int mark, BOOL bForward) {
  SECEdit* model = GetEditModel();
  if (model == nullptr) return;
  const int line = model->FindMarkedLine(m_caret.m_nLine, mark, bForward);
  if (line < 0) return;
  ClearSelection(TRUE);
  SetCaretPos(line, 0, FALSE);
  EnsureCaretVisible();
}

void SECEditController::NextBookmark(UINT nID) { GoToMarkedLine(MarkOf(nID, ID_SECEDIT_MARK_NEXT), TRUE); }

void SECEditController::PreviousBookmark(UINT nID) { GoToMarkedLine(MarkOf(nID, ID_SECEDIT_MARK_PREVIOUS), FALSE); }

void SECEditController::ClearBookmarks(UINT nID) {
  SECEdit* model = GetEditModel();
  if (model != nullptr) model->ClearLineMarks(MarkOf(nID, ID_SECEDIT_MARK_CLEAR));
}

void SECEditController::OnUpdateToggleBookmark(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }

void SECEditController::OnUpdateMarkedLines(CCmdUI* pCmdUI) {
  SECEdit* model = GetEditModel();
  UINT first = ID_SECEDIT_MARK_NEXT;
  if (pCmdUI->m_nID >= ID_SECEDIT_MARK_CLEAR)
    first = ID_SECEDIT_MARK_CLEAR;
  else if (pCmdUI->m_nID >= ID_SECEDIT_MARK_PREVIOUS)
    first = ID_SECEDIT_MARK_PREVIOUS;
  pCmdUI->Enable(model != nullptr && model->CountMarkedLines(MarkOf(pCmdUI->m_nID, first)) != 0);
}

void SECEditController::ToggleLineMarker(int line) {
  SECEdit* model = GetEditModel();
  if (model == nullptr) return;
  if (line < 0) line = m_caret.m_nLine;
  model->ToggleLineMark(line, SECEDIT_MARK_HIGHLIGHT);
  if (!model->HasLineMark(line, SECEDIT_MARK_HIGHLIGHT)) model->BuildLineColor(line, 0);
  SECEditPaintMsg paint(line, line);
  model->UpdateAllObservers(nullptr, &paint);
}

void SECEditController::OnToggleLineMarker() { ToggleLineMarker(-1); }

BOOL SECEditController::OnLeaveMarkedLine(int, BOOL) {
  SECEdit* model = GetEditModel();
  if (model != nullptr) model->UpdateAllObservers(nullptr, nullptr);
  return TRUE;
}

void SECEditController::OnCurrentLineNotice() {
  SECEdit* model = GetEditModel();
  if (model == nullptr) return;
  m_bLineNoticeBusy = TRUE;
  if (!HasSelection()) {
    const int left = m_nLastNoticedLine;
    const BOOL changed = left <= model->GetLastLine() && model->HasLineMark(left, SECEDIT_MARK_CHANGED);
    if (OnLeaveMarkedLine(left, changed) && changed) model->SetLineMark(left, SECEDIT_MARK_CHANGED, FALSE);
  }
  m_nLastNoticedLine = m_caret.m_nLine;
  m_bLineNoticeBusy = FALSE;
}

BOOL SECEditController::ShowContextMenu(CMenu* menu, CMenu** popup) {
  if (!menu->LoadMenu(IDR_SECEDIT_CONTEXT)) return FALSE;
  *popup = menu->GetSubMenu(0);
  return *popup != nullptr;
}

void SECEditController::UpdateContextMenu(CMenu* popup) {
  const UINT count = static_cast<UINT>(popup->GetMenuItemCount());
  for (UINT index = 0; index < count; ++index) {
    CCmdUI state;
    state.m_pMenu = popup;
    state.m_nIndex = index;
    state.m_nIndexMax = count;
    state.m_nID = popup->GetMenuItemID(static_cast<int>(index));
    if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1)) continue;
    state.DoUpdate(this, FALSE);
  }
}

void SECEditController::OnContextMenu(CWnd*, CPoint point) {
  if (point.x == -1 && point.y == -1) {
    // The menu key: the top-left corner of the text.
    point = CPoint(5, 5);
    ::ClientToScreen(m_hWnd, &point);
  } else {
    CPoint client = point;
    ::ScreenToClient(m_hWnd, &client);
    CPoint logical = client;
    if (SECEditViewport* viewport = GetViewport()) viewport->DPtoLP(&logical, 1);
    SECEditLineCol pos;
    CPoint probe = logical;
    PointToPosition(probe, pos, TRUE);
    if (!IsPointInSelection(pos)) {
      ClearSelection(TRUE);
      SetCaretFromPoint(client);
      EnsureCaretVisible();
    }
  }
  CMenu menu;
  CMenu* popup = nullptr;
  if (!ShowContextMenu(&menu, &popup) || popup == nullptr || popup->GetMenuItemCount() <= 0) return;
  UpdateContextMenu(popup);
  ShowSystemCaret(FALSE);
  popup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, CWnd::FromHandle(m_hWnd));
  ShowSystemCaret(TRUE);
}

void SECEditController::ToggleOverwrite() {
  SECEdit* model = GetEditModel();
  if (model != nullptr) model->m_bOverwrite = !model->m_bOverwrite;
}

void SECEditController::OnUpdateOverwrite(CCmdUI* pCmdUI) {
  SECEdit* model = GetEditModel();
  pCmdUI->Enable(model != nullptr && model->m_bOverwrite);
}

// The setting belongs to the language: every text of it repaints.
void SECEditController::ToggleWhitespace() {
  SECEdit* model = GetEditModel();
  ISECEditLangConfig* config = GetLangConfig();
  if (model == nullptr || config == nullptr) return;
  config->SetShowWhitespace(!config->GetShowWhitespace());
  model->UpdateAllObservers(nullptr, nullptr);
}

void SECEditController::OnUpdateWhitespace(CCmdUI* pCmdUI) {
  ISECEditLangConfig* config = GetLangConfig();
  pCmdUI->SetCheck(config != nullptr && config->GetShowWhitespace() ? 1 : 0);
}
