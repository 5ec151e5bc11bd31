// The editor controller's find and replace: the dialog it opens, one search step that selects the
// match, Mark All, Replace and Replace All as one undo step, and the F3 family of commands.
#include <algorithm>

#include "afx/CWinApp.h"
#include "editor/SECEditRegExp.h"
#include "editor/ctl/SECEditController.h"
#include "editor/ctl/SECEditFindReplaceDlg.h"
#include "editor/model/SECEdit.h"
#include "editor/view/SECEditViewport.h"
#include "ole/COleException.h"

namespace {

void Report(UINT id, const CString& argument, UINT type = MB_OK | MB_ICONEXCLAMATION) {
  CString text;
  AfxFormatString1(text, id, argument);
  AfxMessageBox(text, type);
}

}  // namespace

_SEC_FIND_REPLACE_STATE* SECEditController::GetFindReplaceState() { return SECEditGetFindReplaceState(); }

SECEditLineCol SECEditController::MatchEnd(int line, int col, int length) {
  SECEdit* model = GetEditModel();
  const int terminator = std::max(1, LineTerminator().GetLength());
  while (model != nullptr && line < model->GetLastLine() && col + length > LineLength(line)) {
    length -= LineLength(line) - col + terminator;
    ++line;
    col = 0;
  }
  return SECEditLineCol(line, col + std::max(0, length));
}

int SECEditController::FindMatch(_SEC_FIND_REPLACE_STATE* state, SECEditLineCol from, BOOL bForward, BOOL bRegExp,
                                 SECEditLineCol* match, const SECEditLineCol* stop) {
  SECEdit* model = GetEditModel();
  if (model == nullptr || state->m_strFind.IsEmpty()) return 0;
  int line = 0, col = 0;
  const int length = model->Find(from.m_nLine, from.m_nCol, &line, &col, state->m_strFind, bForward, TRUE,
                                 state->m_bCase, state->m_bWord && !bRegExp, bRegExp, stop != nullptr ? stop->m_nLine : -1,
                                 stop != nullptr ? stop->m_nCol : 0);
  *match = SECEditLineCol(line, col);
  return length;
}

CString SECEditController::GetInitialFindText() {
  CString word;
  if (HasSelection() && m_selection.GetStart().m_nLine == m_selection.GetEnd().m_nLine) {
    GetSelectedText(word);
    if (!word.IsEmpty()) return word;
  }
  int start = 0, end = 0;
  if (!GetWordAtCaret(word, start, end)) word.Empty();
  return word;
}

void SECEditController::CloseOwnFindDialog() {
  _SEC_FIND_REPLACE_STATE* state = GetFindReplaceState();
  SECEditFindReplaceDlg* dlg = state->m_pDialog;
  if (dlg == nullptr || dlg->GetOwner() != static_cast<ISECEditFindReplaceNotify*>(this)) return;
  state->m_pDialog = nullptr;
  state->m_pOwner = nullptr;
  dlg->DetachOwner();
  if (!dlg->IsModal() && dlg->GetSafeHwnd() != nullptr) dlg->DestroyWindow();
}

void SECEditController::ShowFindReplaceDialog(BOOL bFindOnly) {
  _SEC_FIND_REPLACE_STATE* state = GetFindReplaceState();
  if (state->m_pDialog != nullptr) {
    if (state->m_pDialog->GetSafeHwnd() != nullptr) {
      state->m_pDialog->ShowWindow(SW_SHOW);
      state->m_pDialog->SetActiveWindow();
    }
    return;
  }
  auto* dlg = new SECEditFindReplaceDlg;
  dlg->Setup(bFindOnly, this, &state->m_findHistory, &state->m_replaceHistory);
  dlg->SetMatchCase(state->m_bCase);
  dlg->SetMatchWholeWord(state->m_bWord);
  dlg->SetRegularExpression(state->m_bRegExp, state->m_bRegExpAvailable);
  if (bFindOnly) {
    dlg->SetDirection(state->m_bNext);
  } else {
    dlg->AllowSelection(TRUE);
    dlg->SetScope(state->m_bInSelection);
    dlg->SetReplaceString(state->m_strReplace);
  }
  dlg->SetFindString(GetInitialFindText());
  state->m_pOwner = GetViewport();
  state->m_pDialog = dlg;
  if (m_bModalFindDialog) {
    dlg->DoModal();
    delete dlg;
    state->m_pDialog = nullptr;
    state->m_pOwner = nullptr;
    return;
  }
  if (!dlg->CreateModeless(CWnd::FromHandle(m_hWnd))) {
    delete dlg;
    state->m_pDialog = nullptr;
    state->m_pOwner = nullptr;
  }
}

BOOL SECEditController::OnFindReplaceCommand(SECEditFindReplaceDlg* dlg) {
  _SEC_FIND_REPLACE_STATE* state = GetFindReplaceState();
  if (dlg->IsTerminating()) {
    state->m_pDialog = nullptr;
    state->m_pOwner = nullptr;
    return TRUE;
  }
  CWaitCursor wait;
  state->m_bNext = dlg->SearchDown();
  state->m_bCase = dlg->MatchCase();
  state->m_bWord = dlg->MatchWholeWord();
  state->m_strFind = dlg->GetFindString();
  state->m_strReplace = dlg->GetReplaceString();
  state->m_bInSelection = dlg->InSelection();
  state->m_bFindOnly = dlg->IsFindOnly();
  state->m_bRegExp = dlg->RegularExpression();
  switch (dlg->GetCommand()) {
    case SECEditFindReplaceDlg::kFindNext:
      if (dlg->IsModal()) m_bFoundBefore = FALSE;
      return FindNext(state);
    case SECEditFindReplaceDlg::kReplace:
      return IsSelectionNotMatch(state) ? FindNext(state) : ReplaceCurrent(state);
    case SECEditFindReplaceDlg::kMarkAll:
      return MarkAll(state);
    case SECEditFindReplaceDlg::kReplaceAll:
      return ReplaceAll(state);
    default:
      return FALSE;
  }
}

BOOL SECEditController::FindNext(_SEC_FIND_REPLACE_STATE* state) {
  SECEdit* model = GetEditModel();
  if (model == nullptr) return FALSE;
  SECEditLineCol start = m_caret;
  if (HasSelection()) start = state->m_bNext ? m_selection.GetMax() : m_selection.GetMin();
  start.m_nCol = std::min(start.m_nCol, LineLength(start.m_nLine));
  if (!state->m_bNext) {
    // Upward from inside a word, the search starts at the word's beginning: the word the caret
    // stands in is not the previous match.
    CString before, after;
    int line = 0, wordStart = 0, afterLine = 0, afterEnd = 0;
    if (FindWordBoundary(before, start.m_nLine, start.m_nCol, FALSE, line, wordStart) && line == start.m_nLine &&
        wordStart < start.m_nCol && FindWordBoundary(after, line, wordStart, TRUE, afterLine, afterEnd) &&
        !after.IsEmpty() && afterLine == line && afterEnd > start.m_nCol)
      start.m_nCol = wordStart;
  }
  if (state->m_strFind != m_strLastFound) {
    m_strLastFound.Empty();
    m_bFoundBefore = FALSE;
  }
  SECEditLineCol match;
  BOOL cancelled = FALSE;
  const int length = FindThroughText(state, start, &match, &cancelled);
  if (cancelled) return FALSE;
  if (length > 0) {
    const SECEditLineCol end = MatchEnd(match.m_nLine, match.m_nCol, length);
    if (m_bFoundBefore && HasSelection() && m_selection.GetMin() == match && m_selection.GetMax() == end) {
      Report(IDS_SECEDIT_FINISHED, state->m_strFind);
      return FALSE;
    }
    SetCaretPos(match.m_nLine, match.m_nCol, FALSE);
    EnsureCaretVisible();
    SetCaretPos(end.m_nLine, end.m_nCol, FALSE);
    EnsureCaretVisible();
    SetSelection(SECEditLineColPair(match, end), SECEDIT_SEL_STREAM);
    CenterLine(match.m_nLine);
    m_strLastFound = state->m_strFind;
    m_bFoundBefore = TRUE;
    return TRUE;
  }
  Report(state->m_bFindOnly ? IDS_SECEDIT_CANNOT_FIND : IDS_SECEDIT_FINISHED, state->m_strFind);
  m_strLastFound.Empty();
  m_bFoundBefore = FALSE;
  if (HasSelection()) ClearSelection(TRUE);
  return FALSE;
}

BOOL SECEditController::IsSelectionNotMatch(_SEC_FIND_REPLACE_STATE* state) {
  if (!HasSelection() || m_selection.GetStart().m_nLine != m_selection.GetEnd().m_nLine) return TRUE;
  const SECEditLineCol first = m_selection.GetMin();
  SECEditLineCol match;
  const int length = FindMatch(state, first, TRUE, state->m_bRegExp, &match, nullptr);
  return !(length > 0 && match == first && MatchEnd(match.m_nLine, match.m_nCol, length) == m_selection.GetMax());
}

CString SECEditController::MakeReplacement(_SEC_FIND_REPLACE_STATE* state, const CString& matched) {
  CString replacement = state->m_strReplace;
  if (!state->m_bRegExp) return replacement;
  TRY {
    SECEditRegExp regExp;
    if (regExp.Create()) {
      regExp.SetPattern(state->m_strFind);
      regExp.SetIgnoreCase(!state->m_bCase);
      CString text = matched;
      if (regExp.Replace(text, state->m_strReplace, FALSE)) replacement = text;
    }
  }
  CATCH(COleDispatchException, e) {}
  END_CATCH
  return replacement;
}

BOOL SECEditController::LineFitsAfterReplace(const SECEditLineColPair& match, const CString& matched,
                                             const CString& replacement) {
  SECEdit* model = GetEditModel();
  if (replacement.GetLength() <= matched.GetLength() && replacement.Find('\t') >= 0 && matched.Find('\t') >= 0)
    return TRUE;
  CString before, after;
  model->GetText(&before, match.m_start.m_nLine, 0, match.m_start.m_nLine, match.m_start.m_nCol);
  model->GetText(&after, match.m_end.m_nLine, match.m_end.m_nCol, match.m_end.m_nLine, LineLength(match.m_end.m_nLine));
  const CString line = before + replacement + after;
  if (model->ConvertStringColumn(line.GetLength(), FALSE, line) <= model->GetMaxLineLength()) return TRUE;
  ReportLineTooLong();
  return FALSE;
}

void SECEditController::ReportLineTooLong() {
  CString format, text;
  format.LoadString(IDS_SECEDIT_LINE_TOO_LONG);
  text.Format(format, GetEditModel()->GetMaxLineLength());
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

BOOL SECEditController::ReplaceCurrent(_SEC_FIND_REPLACE_STATE* state) {
  SECEdit* model = GetEditModel();
  if (model == nullptr) return FALSE;
  if (IsReadOnly()) {
    Report(IDS_SECEDIT_READONLY, state->m_strFind);
    return FALSE;
  }
  const SECEditLineCol from = HasSelection() ? m_selection.GetMin() : m_caret;
  SECEditLineCol match;
  const int length = FindMatch(state, from, TRUE, state->m_bRegExp, &match, nullptr);
  if (length == 0) {
    Report(IDS_SECEDIT_FINISHED, state->m_strFind);
    return FALSE;
  }
  const SECEditLineCol end = MatchEnd(match.m_nLine, match.m_nCol, length);
  SetSelection(SECEditLineColPair(match, end), SECEDIT_SEL_STREAM);
  SetCaretPos(end.m_nLine, end.m_nCol, FALSE);
  CString matched;
  model->GetText(&matched, match.m_nLine, match.m_nCol, end.m_nLine, end.m_nCol);
  const CString replacement = MakeReplacement(state, matched);
  if (!LineFitsAfterReplace(SECEditLineColPair(match, end), matched, replacement)) return FALSE;
  ReplaceSelection(replacement, FALSE);
  return TRUE;
}

void SECEditController::FindRepeat(BOOL bForward) {
  _SEC_FIND_REPLACE_STATE* state = GetFindReplaceState();
  if (state->m_pDialog != nullptr) {
    ShowFindReplaceDialog(state->m_bFindOnly);
    return;
  }
  if (state->m_strFind.IsEmpty()) state->m_strFind = GetInitialFindText();
  if (state->m_strFind.IsEmpty()) return;
  state->m_bNext = bForward;
  m_strLastFound.Empty();
  m_bFoundBefore = FALSE;
  FindNext(state);
}

void SECEditController::FindWord(BOOL bForward) {
  _SEC_FIND_REPLACE_STATE* state = GetFindReplaceState();
  if (state->m_pDialog != nullptr) {
    ShowFindReplaceDialog(state->m_bFindOnly);
    return;
  }
  state->m_bNext = bForward;
  const CString word = GetInitialFindText();
  if (word.IsEmpty()) {
    ShowFindReplaceDialog(TRUE);
    return;
  }
  state->m_strFind = word;
  FindNext(state);
}

void SECEditController::FindNextCommand() { FindRepeat(TRUE); }
void SECEditController::FindPreviousCommand() { FindRepeat(FALSE); }
void SECEditController::FindWordNextCommand() { FindWord(TRUE); }
void SECEditController::FindWordPreviousCommand() { FindWord(FALSE); }
void SECEditController::OnEditFind() { ShowFindReplaceDialog(TRUE); }
void SECEditController::OnEditReplace() { ShowFindReplaceDialog(FALSE); }
