// The editor controller's typing and editing keys: characters with double-byte pairs and undo
// merging, overwrite mode, Enter with automatic indentation, Tab and Shift+Tab on positions and
// blocks, Backspace, Delete, word and line deletion, and replacing the selection.
#include "editor/ctl/SECEditController.h"
#include "editor/model/SECEdit.h"
#include "editor/view/SECEditViewport.h"

namespace {

// Whether the trimmed line starts with a keyword after which Enter indents one step more. Only
// the line's own text is compared.
bool StartsBlock(const CString& trimmed) {
  static const char* const keywords[] = {"{", "if", "while", "do", "for", "else if", "else", "switch", "case", "default"};
  for (const char* keyword : keywords) {
    const int n = static_cast<int>(std::strlen(keyword));
    if (trimmed.GetLength() >= n && std::strncmp(trimmed, keyword, static_cast<size_t>(n)) == 0) return true;
  }
  return false;
}

}  // namespace

// ---- characters ----

void SECEditController::OnChar(UINT nChar, UINT, UINT) {
  m_bHandled = TRUE;
  if (IsReadOnly() || IsTrackingMouse() || nChar < 32) return;
  CString text;
  if (m_nPendingLeadByte == 0 && nChar <= 0xFF && ::IsDBCSLeadByte(static_cast<BYTE>(nChar))) {
    m_nPendingLeadByte = static_cast<BYTE>(nChar);
    return;
  }
  if (m_nPendingLeadByte != 0) {
    const char pair[2] = {static_cast<char>(m_nPendingLeadByte), static_cast<char>(nChar)};
    text = CString(pair, 2);
    m_nPendingLeadByte = 0;
  } else {
    text = CString(static_cast<char>(nChar), 1);
  }
  ShowSystemCaret(FALSE);
  InsertTypedText(text);
  ShowSystemCaret(TRUE);
}

void SECEditController::InsertTypedText(CString& text) {
  SECEdit* model = GetEditModel();
  if (model == nullptr || text.IsEmpty() || IsReadOnly()) return;
  model->GroupCommands(FALSE);
  if (m_caret.m_nCol > LineLength(m_caret.m_nLine)) {
    m_pLastTypingCommand = nullptr;
    FillVirtualSpace();
  }
  if (model->m_bOverwrite) {
    m_pLastTypingCommand = nullptr;
    if (m_caret.m_nCol == LineLength(m_caret.m_nLine)) {
      ReplaceSelection(text, FALSE);
      return;
    }
    GroupBracket group(this);
    EnableCaretScroll(FALSE);
    const BOOL hadSelection = CanReplaceInSelection();
    ReplaceSelection(text, FALSE);
    if (!hadSelection) DeleteCharAtCaret();
    EnableCaretScroll(TRUE);
    return;
  }
  if (HasSelection() || text.GetLength() == 2) {
    ReplaceSelection(text, FALSE);
    m_pLastTypingCommand = nullptr;
    return;
  }
  // The history's top is the last typing command only while nothing else was recorded since.
  auto* last = dynamic_cast<SECEditCommand*>(model->PeekUndo());
  const bool merge = last != nullptr && last == m_pLastTypingCommand && last->IsInsert() && !last->m_strText.IsEmpty() &&
                     last->m_start.m_nLine == m_caret.m_nLine &&
                     m_caret.m_nCol == last->m_start.m_nCol + last->m_strText.GetLength() &&
                     CharClass(last->m_strText, FALSE) == CharClass(text, FALSE);
  const SECEditLineCol at = m_caret;
  auto* cmd = new SECEditCommand(model, TRUE);
  cmd->m_strText = text;
  cmd->m_start = cmd->m_end = at;
  model->SetSuppressWrap(TRUE);
  cmd->Execute();
  model->SetSuppressWrap(FALSE);
  if (model->ConvertLineColumn(LineLength(at.m_nLine), FALSE, at.m_nLine) > model->GetMaxLineLength()) {
    cmd->Unexecute();
    delete cmd;
    m_pLastTypingCommand = nullptr;
    model->InsertTextAt(at.m_nLine, at.m_nCol, text, -1);
    return;
  }
  if (merge && model->IsModified()) {
    last->m_strText += text;
    last->m_end.m_nCol += text.GetLength();
    delete cmd;
    return;
  }
  if (model->RecordCommand(cmd))
    m_pLastTypingCommand = cmd;
  else
    delete cmd;
}

// ---- replacing the selection ----

void SECEditController::ReplaceSelection(LPCTSTR text, BOOL bColumn) {
  // Every command that changes the text comes here or below: a read-only text keeps it.
  if (IsReadOnly()) return;
  GroupBracket group(this);
  EnableCaretScroll(FALSE);
  ShowSystemCaret(FALSE);
  const SECEditLineCol at = DeleteSelection();
  if (text != nullptr && *text != '\0') {
    if (bColumn)
      InsertColumnBlock(SECEditLineColPair(at, at), text);
    else
      InsertTextPaddedAtPos(SECEditLineColPair(at, at), text, -1);
  }
  EnableCaretScroll(TRUE);
  ShowSystemCaret(TRUE);
}

SECEditLineCol SECEditController::DeleteSelection() {
  SECEditLineCol at = m_caret;
  SECEdit* model = GetEditModel();
  if (model == nullptr || !CanReplaceInSelection() || IsReadOnly()) return at;
  if (m_selection.GetMode() == SECEDIT_SEL_COLUMN) {
    // The ranges first: each deletion moves the block's corners.
    struct Cut {
      int line, first, last;
    };
    std::vector<Cut> cuts;
    const int firstLine = m_selection.GetMin().m_nLine, lastLine = m_selection.GetMax().m_nLine;
    int blockLeft = m_selection.GetMin().m_nCol, unused = 0;
    GetColumnRange(firstLine, &blockLeft, &unused);
    at = SECEditLineCol(firstLine, blockLeft);
    for (int line = firstLine; line <= lastLine; ++line) {
      int first = 0, last = 0;
      if (!GetColumnRange(line, &first, &last)) continue;
      const int len = LineLength(line);
      if (first > len) continue;
      last = std::min(last, len);
      if (first < last) cuts.push_back({line, first, last});
    }
    m_selection.SetEmpty(at.m_nLine, at.m_nCol, SECEDIT_SEL_STREAM);
    GroupBracket group(this);
    for (const Cut& cut : cuts) model->DeleteText(cut.line, cut.first, cut.line, cut.last);
  } else {
    int sl, sc, el, ec;
    GetSelectionRange(sl, sc, el, ec, FALSE);
    at = SECEditLineCol(sl, sc);
    m_selection.SetEmpty(sl, sc, SECEDIT_SEL_STREAM);
    if (SECEditLineCol(sl, sc) != SECEditLineCol(el, ec)) model->DeleteText(sl, sc, el, ec);
  }
  m_selection.SetEmpty(at.m_nLine, at.m_nCol, SECEDIT_SEL_STREAM);
  return at;
}

BOOL SECEditController::InsertTextPadded(int line, int col, LPCTSTR text, int len) {
  return InsertTextPaddedAtPos(SECEditLineColPair(line, col, line, col), text, len);
}

BOOL SECEditController::InsertTextPaddedAtPos(const SECEditLineColPair& pos, LPCTSTR text, int len) {
  SECEdit* model = GetEditModel();
  if (model == nullptr || IsReadOnly()) return FALSE;
  const int line = pos.m_start.m_nLine;
  int col = pos.m_start.m_nCol;
  const int length = LineLength(line);
  GroupBracket group(this);
  if (col > length) {
    CString fill;
    model->MakeIndentText(&fill, col - length, SECEditLineCol(line, length), TRUE);
    model->InsertTextAt(line, length, fill, -1);
    col = length + fill.GetLength();
  }
  return model->InsertTextAt(line, col, text, len);
}

void SECEditController::FillVirtualSpace() {
  SECEdit* model = GetEditModel();
  const int length = LineLength(m_caret.m_nLine);
  if (model == nullptr || m_caret.m_nCol <= length || IsReadOnly()) return;
  CString fill;
  model->MakeIndentText(&fill, m_caret.m_nCol - length, SECEditLineCol(m_caret.m_nLine, length), TRUE);
  const int line = m_caret.m_nLine;
  model->InsertTextAt(line, length, fill, -1);
  m_caret = SECEditLineCol(line, length + fill.GetLength());
  UpdateCaretPoint();
  UpdateCaretState();
}

// ---- Enter ----

BOOL SECEditController::OnEnter() {
  SECEdit* model = GetEditModel();
  if (model == nullptr || IsReadOnly() || IsTrackingMouse()) return FALSE;
  if (model->m_bOverwrite) {
    RunMove(&SECEditController::MoveLineDown, FALSE, TRUE);
    ClearSelection(TRUE);
    SetCaretPos(m_caret.m_nLine, FirstNonBlank(m_caret.m_nLine), FALSE);
    RememberCaretX();
    EnsureCaretVisible();
    return TRUE;
  }
  ShowSystemCaret(FALSE);
  CString buf;
  LPTSTR raw = nullptr;
  const int rawLength = model->GetLine(m_caret.m_nLine, &buf, &raw);
  CString trimmed = rawLength > 0 ? CString(raw, rawLength) : CString();
  trimmed.Trim();
  const bool block = StartsBlock(trimmed);
  const CString terminator = LineTerminator();
  int remembered = -1;
  if (CanReplaceInSelection()) {
    ReplaceSelection(terminator, FALSE);
  } else {
    const int length = LineLength(m_caret.m_nLine);
    if (m_caret.m_nCol > length) {
      if (model->GetIndentLength(m_caret.m_nLine) == length) remembered = m_caret.m_nCol;
      m_caret.m_nCol = length;
      UpdateCaretPoint();
    }
    const SECEditLineCol at = m_caret;
    model->InsertTextAt(at.m_nLine, at.m_nCol, terminator, -1);
    m_caret = SECEditLineCol(at.m_nLine + 1, 0);
    UpdateCaretPoint();
  }
  const int above = m_caret.m_nLine - 1;
  if (block) model->InsertTab(m_caret.m_nLine, m_caret.m_nCol);
  const int n = remembered >= 0 ? remembered : model->GetIndentLength(above);
  if (n > 0) {
    const int width = model->ConvertLineColumn(n, FALSE, above);
    if (LineLength(m_caret.m_nLine) > 0) {
      CString indent;
      model->MakeIndentText(&indent, width, SECEditLineCol(m_caret.m_nLine, 0), TRUE);
      InsertTextPadded(m_caret.m_nLine, m_caret.m_nCol, indent, -1);
    } else {
      SetCaretPos(m_caret.m_nLine, width, TRUE);
    }
  }
  EnsureCaretVisible();
  ShowSystemCaret(TRUE);
  return TRUE;
}

// ---- Tab and Shift+Tab ----

// A stream selection over several lines becomes a whole-lines selection; its later end at column
// 0 leaves that line out.
static void MakeLinesSelection(SECEditSelection& sel) {
  if (sel.GetMode() == SECEDIT_SEL_LINES) return;
  SECEditLineCol start = sel.GetStart(), end = sel.GetEnd();
  SECEditLineCol& later = end < start ? start : end;
  if (later.m_nCol == 0 && later.m_nLine > 0) --later.m_nLine;
  sel.Set(start.m_nLine, 0, end.m_nLine, 0, SECEDIT_SEL_LINES);
}

BOOL SECEditController::OnTab() {
  SECEdit* model = GetEditModel();
  if (model == nullptr || IsReadOnly() || IsTrackingMouse()) return FALSE;
  const int mode = m_selection.GetMode();
  const bool multiLine = m_selection.GetStart().m_nLine != m_selection.GetEnd().m_nLine;
  if (CanReplaceInSelection() && (mode == SECEDIT_SEL_LINES || multiLine)) {
    const BOOL hadCaret = m_bCaretCreated;
    if (hadCaret) DestroyEditCaret();
    if (mode == SECEDIT_SEL_COLUMN || mode == SECEDIT_SEL_COLUMN_DRAG) {
      std::vector<std::pair<int, int>> at;
      for (int line = m_selection.GetMin().m_nLine; line <= m_selection.GetMax().m_nLine; ++line) {
        int first = 0, last = 0;
        if (GetColumnRange(line, &first, &last) && model->IsValidPosition(line, first, FALSE)) at.emplace_back(line, first);
      }
      {
        GroupBracket group(this);
        for (const auto& [line, col] : at) model->InsertTab(line, col);
      }
      const SECEditLineCol s = m_selection.GetStart(), e = m_selection.GetEnd();
      m_selection.Set(s.m_nLine, s.m_nCol + 1, e.m_nLine, e.m_nCol + 1, SECEDIT_SEL_COLUMN);
    } else {
      MakeLinesSelection(m_selection);
      const SECEditLineCol s = m_selection.GetStart(), e = m_selection.GetEnd();
      EnableCaretScroll(FALSE);
      {
        GroupBracket group(this);
        for (int line = std::min(s.m_nLine, e.m_nLine); line <= std::max(s.m_nLine, e.m_nLine); ++line)
          if (!model->IsLineBlank(line)) model->InsertTab(line, 0);
      }
      m_selection.Set(s.m_nLine, 0, e.m_nLine, 0, SECEDIT_SEL_LINES);
      SetCaretPos(e.m_nLine, 0, FALSE);
      EnableCaretScroll(TRUE);
    }
    if (hadCaret) {
      CreateEditCaret(TRUE);
      SetCaretPos(m_caret.m_nLine, m_caret.m_nCol, FALSE);
    }
    InvalidateSelection();
    return TRUE;
  }
  ISECEditLangConfig* cfg = GetLangConfig();
  const int size = cfg != nullptr ? std::max(1, cfg->GetTabSize()) : 4;
  if (model->m_bOverwrite && m_caret.m_nCol < LineLength(m_caret.m_nLine)) {
    if (size == 1) {
      RunMove(&SECEditController::MoveCharRight, FALSE, FALSE);
      return TRUE;
    }
    const int d = model->ConvertLineColumn(m_caret.m_nCol, FALSE, m_caret.m_nLine);
    const int col = model->ConvertLineColumn(d - d % size + size, TRUE, m_caret.m_nLine);
    ClearSelection(TRUE);
    SetCaretPos(m_caret.m_nLine, col, FALSE);
    RememberCaretX();
    EnsureCaretVisible();
    return TRUE;
  }
  ShowSystemCaret(FALSE);
  {
    GroupBracket group(this);
    FillVirtualSpace();
    model->InsertTab(m_caret.m_nLine, m_caret.m_nCol);
  }
  ShowSystemCaret(TRUE);
  return TRUE;
}

BOOL SECEditController::OnShiftTab() {
  SECEdit* model = GetEditModel();
  if (model == nullptr || IsReadOnly()) return FALSE;
  const int mode = m_selection.GetMode();
  if (mode == SECEDIT_SEL_COLUMN || mode == SECEDIT_SEL_COLUMN_DRAG) return FALSE;
  ISECEditLangConfig* cfg = GetLangConfig();
  const int size = cfg != nullptr ? std::max(1, cfg->GetTabSize()) : 4;
  const bool multiLine = m_selection.GetStart().m_nLine != m_selection.GetEnd().m_nLine;
  if (HasSelection() && (mode == SECEDIT_SEL_LINES || multiLine)) {
    if (IsTrackingMouse()) return FALSE;
    MakeLinesSelection(m_selection);
    const SECEditLineCol s = m_selection.GetStart(), e = m_selection.GetEnd();
    const BOOL hadCaret = m_bCaretCreated;
    EnableCaretScroll(FALSE);
    if (hadCaret) DestroyEditCaret();
    {
      GroupBracket group(this);
      for (int line = std::min(s.m_nLine, e.m_nLine); line <= std::max(s.m_nLine, e.m_nLine); ++line) {
        CString buf;
        LPTSTR text = nullptr;
        const int length = model->GetLine(line, &buf, &text);
        if (length <= 0) continue;
        int n = 0;
        if (text[0] == '\t')
          n = 1;
        else
          while (n < length && n < size && text[n] == ' ') ++n;
        if (n > 0) model->DeleteText(line, 0, line, n);
      }
    }
    m_selection.Set(s.m_nLine, 0, e.m_nLine, 0, SECEDIT_SEL_LINES);
    SetCaretPos(e.m_nLine, 0, FALSE);
    if (hadCaret) {
      CreateEditCaret(TRUE);
      SetCaretPos(m_caret.m_nLine, m_caret.m_nCol, FALSE);
    }
    EnableCaretScroll(TRUE);
    InvalidateSelection();
    return TRUE;
  }
  ClearSelection(TRUE);
  if (m_caret.m_nCol == 0) return TRUE;
  if (size == 1) {
    RunMove(&SECEditController::MoveCharLeft, FALSE, FALSE);
    return TRUE;
  }
  const int d = model->ConvertLineColumn(m_caret.m_nCol, FALSE, m_caret.m_nLine);
  if (d > 0 && d < size) {
    MoveLineHome();
  } else {
    const int target = d % size != 0 ? d - d % size : d - size;
    SetCaretPos(m_caret.m_nLine, model->ConvertLineColumn(target, TRUE, m_caret.m_nLine), FALSE);
  }
  RememberCaretX();
  EnsureCaretVisible();
  return TRUE;
}

// ---- deleting ----

BOOL SECEditController::OnBackspace() {
  if (GetEditModel() == nullptr || IsReadOnly() || IsTrackingMouse()) return FALSE;
  if (CanReplaceInSelection()) {
    ReplaceSelection("", FALSE);
    return TRUE;
  }
  if (m_caret.m_nLine == 0 && m_caret.m_nCol == 0) return FALSE;
  if (m_caret.m_nCol > LineLength(m_caret.m_nLine)) {
    MoveLineEnd();
    RememberCaretX();
    EnsureCaretVisible();
    return TRUE;
  }
  ShowSystemCaret(FALSE);
  MoveCharLeft();
  const BOOL done = DeleteCharAtCaret();
  EnsureCaretVisible();
  ShowSystemCaret(TRUE);
  return done;
}

BOOL SECEditController::DeleteCharAtCaret() {
  SECEdit* model = GetEditModel();
  if (model == nullptr || IsReadOnly() || IsTrackingMouse()) return FALSE;
  if (CanReplaceInSelection()) {
    ReplaceSelection("", FALSE);
    return TRUE;
  }
  const int line = m_caret.m_nLine;
  if (line >= model->GetLastLine() && m_caret.m_nCol >= LineLength(line)) return FALSE;
  FillVirtualSpace();
  const int col = m_caret.m_nCol, length = LineLength(line);
  SECEditLineColPair range(line, col, line + 1, 0);
  if (col < length) {
    int end = col + 1;
    if (end < length && model->SnapColumn(line, end, FALSE) != end) ++end;
    range = SECEditLineColPair(line, col, line, end);
  }
  EnsureCaretVisible();
  return model->DeleteText(range.m_start.m_nLine, range.m_start.m_nCol, range.m_end.m_nLine, range.m_end.m_nCol);
}

BOOL SECEditController::OnDeleteWordBack() {
  if (GetEditModel() == nullptr || IsReadOnly() || IsTrackingMouse()) return FALSE;
  RunWordMove(FALSE, TRUE);
  ReplaceSelection("", FALSE);
  return TRUE;
}

BOOL SECEditController::OnDeleteWordForward() {
  if (GetEditModel() == nullptr || IsReadOnly() || IsTrackingMouse()) return FALSE;
  // The intermediate selection neither scrolls nor places the caret.
  const BOOL created = m_bCaretCreated;
  m_bCaretCreated = FALSE;
  RunWordMove(TRUE, TRUE);
  m_bCaretCreated = created;
  ReplaceSelection("", FALSE);
  return TRUE;
}

void SECEditController::SelectLines() {
  int first = m_caret.m_nLine, last = m_caret.m_nLine;
  if (HasSelection()) {
    first = m_selection.GetMin().m_nLine;
    last = m_selection.GetMax().m_nLine;
  }
  m_selection.Set(first, 0, last, 0, SECEDIT_SEL_LINES);
}

BOOL SECEditController::OnDeleteLines() {
  if (GetEditModel() == nullptr || IsReadOnly() || IsTrackingMouse()) return FALSE;
  SelectLines();
  ReplaceSelection("", FALSE);
  return TRUE;
}

BOOL SECEditController::OnCutLines() {
  if (GetEditModel() == nullptr || IsReadOnly() || IsTrackingMouse()) return FALSE;
  SelectLines();
  return Cut();
}

BOOL SECEditController::OnChangeCase(BOOL bUpper) {
  if (GetEditModel() == nullptr || IsReadOnly() || IsTrackingMouse() || !CanReplaceInSelection()) return FALSE;
  CString text;
  GetSelectedText(text);
  if (bUpper)
    text.MakeUpper();
  else
    text.MakeLower();
  // The same text comes back, so the selection is put back exactly as it was.
  const SECEditLineCol start = m_selection.GetStart(), end = m_selection.GetEnd();
  const int mode = m_selection.GetMode();
  ReplaceSelection(text, mode == SECEDIT_SEL_COLUMN);
  m_selection.Set(start.m_nLine, start.m_nCol, end.m_nLine, end.m_nCol, mode);
  SetCaretPos(end.m_nLine, end.m_nCol, mode == SECEDIT_SEL_COLUMN);
  InvalidateSelection();
  return TRUE;
}

void SECEditController::OnEditKey(UINT nID) {
  switch (nID) {
    case 45010: OnBackspace(); break;
    case 45013: DeleteCharAtCaret(); break;
    case 45011: OnEnter(); break;
    case 45009: OnTab(); break;
    case 45049: OnShiftTab(); break;
    case 45004: OnDeleteWordBack(); break;
    case 45012: OnDeleteWordForward(); break;
    case 45045: OnCutLines(); break;
    case 45046: OnDeleteLines(); break;
    case 45047: OnChangeCase(FALSE); break;
    case 45048: OnChangeCase(TRUE); break;
    default: break;
  }
}
