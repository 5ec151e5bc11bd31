// The editor model: lifecycle, notifications, the two edit primitives with their wrapping, the
// command history with groups and merges, and the modified state.
#include "editor/model/SECEdit.h"

#include <algorithm>
#include <cstring>

#include "afx/AfxResources.h"
#include "base/CodePage.h"
#include "editor/SECEditBlockBuffer.h"

using kelpwood::foundation::CMvcCommand;
using kelpwood::foundation::IMessage;
using kelpwood::foundation::IObserver;
using kelpwood::foundation::ISubject;

void SECEditMsg::GetDescription(CString& out) const {
  if (!out.LoadString(m_nID)) out.Empty();
}

void SECEditPaintMsg::GetDescription(CString& out) const {
  CString format;
  if (format.LoadString(SECEDIT_MSG_PAINT))
    out.Format(format, m_nFirstLine, m_nLastLine);
  else
    out.Format("Invalidate Lines %d to %d", m_nFirstLine, m_nLastLine);
}

SECEdit::SECEdit() = default;

SECEdit::~SECEdit() {
  SetLangConfigByPointer(nullptr);
  for (ptrdiff_t i = 0; i < m_colours.Length(); ++i) delete m_colours.ValueAt(i);
  m_colours.Clear();
  if (m_lineItems.Length() > 0) RemoveLineItems(0, static_cast<int>(m_lineItems.Length()) - 1);
  delete m_pOpenGroup;
}

bool SECEdit::QueryGuid(REFGUID id, void** out) {
  if (MvcTransactionModel::QueryGuid(id, out)) return true;
  return kelpwood::foundation::AnswerGuid(id, kelpwood::foundation::IID_IObserver, static_cast<IObserver*>(this), out);
}

void SECEdit::OnUpdate(ISubject* subject, IMessage* msg) {
  const UINT id = msg != nullptr ? msg->GetTypeID() : 0;
  if (id == SECEDIT_MSG_LANGUAGE) {
    ClearColourCache();
    CreateFonts();
    if (m_pBuffer)
      UpdateAllObservers(this, msg);
    else
      UpdateAllObservers(nullptr, nullptr);
  } else if (id == SECEDIT_MSG_COMMAND) {
    OnCommand(static_cast<SECEditCommand*>(msg));
  } else if (id == SECEDIT_MSG_COMPOSITE) {
    for (CMvcCommand* cmd : static_cast<SECEditCompositeCommand*>(msg)->Commands()) OnUpdate(subject, cmd);
  } else {
    CreateFonts();
    UpdateAllObservers(this, msg);
  }
}

BOOL SECEdit::ResetWithLanguage(LPCTSTR name) { return SelectLangConfig(name) ? NewDocument() : FALSE; }

void SECEdit::ResetLineArrays() {
  for (ptrdiff_t i = 0; i < m_colours.Length(); ++i) delete m_colours.ValueAt(i);
  m_colours.Clear();
  if (m_lineItems.Length() > 0) RemoveLineItems(0, static_cast<int>(m_lineItems.Length()) - 1);
  m_lineItems.Clear();
  const int lines = std::max(1, GetLineCount());
  m_colours.ResetZeroed(lines);
  m_lineItems.ResetZeroed(lines);
  m_nFirstUncoloured = 0;
  m_mlRanges.RemoveAll();
}

BOOL SECEdit::NewDocument() {
  if (m_pLangConfig == nullptr) SelectLangConfig("Default");
  ChangeModified(FALSE);
  m_nReservedState = 0;
  m_nFileCodePage = brambolt::GetSystemNameCodePage();
  m_bFileBom = FALSE;
  m_ulSavedSerial = 0;
  m_fileIdentity = brambolt::FileIdentity{};
  ClearUndoHistory();
  m_pBuffer.reset(CreateBuffer());
  m_pBuffer->InitEmpty();
  m_bBreakWithChar2 = TRUE;
  CreateFonts();
  ResetLineArrays();
  SECEditMsg msg(SECEDIT_MSG_INIT_CONTROLLER);
  UpdateAllObservers(this, &msg);
  return TRUE;
}

ISECEditBuffer* SECEdit::CreateBuffer() { return new SECEditBlockBuffer; }

void SECEdit::ChangeModified(BOOL bModified) {
  bModified = bModified ? TRUE : FALSE;
  if (m_bModified == bModified) return;
  m_bModified = bModified;
  if (m_onModifiedChanged) m_onModifiedChanged();
}

void SECEdit::UpdateModified() {
  CMvcCommand* top = m_undo.Peek();
  ChangeModified((top != nullptr ? top->GetSerial() : 0) != m_ulSavedSerial);
}

void SECEdit::OnHistoryOverflow(CMvcCommand*) {
  if (m_ulSavedSerial == 0) m_ulSavedSerial = kUnreachable;
}

void SECEdit::ClearUndoHistory() {
  if (m_bModified) m_ulSavedSerial = kUnreachable;
  ClearHistory();
}

// ---- text access ----

BOOL SECEdit::GetText(CString* out, int line, int col, int endLine, int endCol) {
  return m_pBuffer && m_pBuffer->CopyRange(out, line, col, endLine, endCol);
}

int SECEdit::GetTextPointer(LPTSTR* out, int line, int col, int endLine, int endCol) {
  return m_pBuffer ? m_pBuffer->GetPointer(out, line, col, endLine, endCol) : 0;
}

int SECEdit::Find(int line, int col, int* outLine, int* outCol, LPCTSTR text, BOOL bForward, BOOL bWrap,
                  BOOL bMatchCase, BOOL bWholeWord, BOOL bRegExp, int stopLine, int stopCol) {
  if (!m_pBuffer) return 0;
  return m_pBuffer->Find(line, col, outLine, outCol, text, bForward, bWrap, bMatchCase, bWholeWord, bRegExp, stopLine,
                         stopCol);
}

int SECEdit::GetLine(int line, CString* buf, LPTSTR* pText) {
  const int length = GetLineLength(line);
  if (length < 0) return -1;
  if (GetTextPointer(pText, line, 0, line, length) < 0 || *pText == nullptr) {
    if (!GetText(buf, line, 0, line, length)) return -1;
    *pText = buf->GetBuffer(0);
  }
  return length;
}

int SECEdit::GetLineLength(int line) { return m_pBuffer ? m_pBuffer->GetVisibleLineLength(line) : -1; }

BOOL SECEdit::IsValidPosition(int line, int col, BOOL bAnyColumn) {
  if (bAnyColumn) return TRUE;
  return line >= 0 && line < GetLineCount() && col >= 0 && col <= GetLineLength(line);
}

int SECEdit::SnapColumn(int line, int col, BOOL bAnyColumn) {
  if (!IsValidPosition(line, col, bAnyColumn)) return -1;
  if (!g_bDBCSSystem) return col;
  LPTSTR text = nullptr;
  CString buf;
  const int length = GetLine(line, &buf, &text);
  if (length < 0 || col <= 0 || col >= length) return col;
  return static_cast<int>(brambolt::CharacterStart(std::string_view(text, static_cast<size_t>(length)), static_cast<size_t>(col)));
}

BOOL SECEdit::IsLineBlank(int line) {
  LPTSTR text = nullptr;
  CString buf;
  const int length = GetLine(line, &buf, &text);
  if (length < 0) return TRUE;
  return std::all_of(text, text + length, [](char c) { return c == ' ' || c == '\t'; });
}

int SECEdit::GetIndentLength(int line) {
  LPTSTR text = nullptr;
  CString buf;
  const int length = GetLine(line, &buf, &text);
  if (length < 0) return 0;
  int n = 0;
  while (n < length && (text[n] == ' ' || text[n] == '\t')) ++n;
  return n;
}

SECEditLineCol SECEdit::GetEndPosition() {
  const int last = GetLastLine();
  return SECEditLineCol(last, m_pBuffer ? m_pBuffer->GetLineLength(last) : 0);
}

CString SECEdit::GetLineEndText() {
  const char ch = m_pBuffer ? m_pBuffer->GetLineEndChar1() : '\n';
  return CString(&ch, 1);
}

CString SECEdit::GetLineEndText2() {
  const char ch = m_pBuffer ? m_pBuffer->GetLineEndChar2() : '\r';
  return ch != 0 ? CString(&ch, 1) : CString();
}

CString SECEdit::GetBreakText() { return (m_bBreakWithChar2 ? GetLineEndText2() : CString()) + GetLineEndText(); }

CString SECEdit::WithBreakText(const CString& text) {
  const CString lineEnd = GetBreakText();
  LPCTSTR p = text;
  const int length = text.GetLength();
  CString out;
  int from = 0;
  for (int i = 0; i < length; ++i) {
    if (p[i] != '\r' && p[i] != '\n') continue;
    out += CString(p + from, i - from) + lineEnd;
    if (p[i] == '\r' && i + 1 < length && p[i + 1] == '\n') ++i;
    from = i + 1;
  }
  if (from == 0) return text;
  return out + CString(p + from, length - from);
}

LPCTSTR SECEdit::FindChar(LPCTSTR text, char ch, int len) {
  if (len < 0) len = static_cast<int>(std::strlen(text));
  const std::string_view view(text, static_cast<size_t>(len));
  for (size_t i = 0; i < view.size(); i = brambolt::NextCharacter(view, i))
    if (view[i] == ch) return text + i;
  return nullptr;
}

int SECEdit::CompareN(LPCTSTR a, LPCTSTR b, int len) { return _tcsncmp(a, b, static_cast<size_t>(len)); }

int SECEdit::CompareNNoCase(LPCTSTR a, LPCTSTR b, int len) { return _tcsnicmp(a, b, static_cast<size_t>(len)); }

// ---- the edit primitives ----

BOOL SECEdit::Canonical(int* line, int* col, bool bClampToText) {
  if (bClampToText) {
    const int visible = GetLineLength(*line);
    if (visible >= 0 && *col > visible) *col = visible;
  }
  const int offset = m_pBuffer->LineColToOffset(*line, *col);
  return offset >= 0 && m_pBuffer->OffsetToLineCol(offset, line, col);
}

bool SECEdit::IsLineTooLong(int line) {
  const int length = GetLineLength(line);
  if (length <= 0 || static_cast<long long>(length) * TabSize() <= m_nMaxLineLength) return false;
  return ConvertLineColumn(length, FALSE, line) > m_nMaxLineLength;
}

void SECEdit::InsertBreak(int line, int col, SECEditLineColPair* inserted) {
  const CString text = GetBreakText();
  *inserted = SECEditLineColPair(line, col, line, col);
  m_pBuffer->InsertText(*inserted, text, text.GetLength());
}

BOOL SECEdit::InsertText(SECEditLineColPair& where, LPCTSTR text, int len) {
  if (!m_pBuffer) return FALSE;
  const int restart = InvalidateMultiLineRanges(where);
  if (restart >= 0) m_nColourRestart = m_nColourRestart < 0 ? restart : std::min(m_nColourRestart, restart);
  const int line = where.m_start.m_nLine;
  const int length = GetLineLength(line);
  const int indent = GetIndentLength(line);
  m_bLineEdge = (length > 0 && indent < length) ? where.m_start.m_nCol <= indent : where.m_start.m_nCol == 0;
  if (!m_pBuffer->InsertText(where, text, len)) return FALSE;
  if (!m_bSuppressWrap) {
    for (int l = where.m_start.m_nLine; l <= where.m_end.m_nLine; ++l) {
      if (!IsLineTooLong(l)) continue;
      int c = ConvertLineColumn(m_nMaxLineLength, TRUE, l);
      if (l == where.m_end.m_nLine && ConvertLineColumn(where.m_end.m_nCol, FALSE, l) <= m_nMaxLineLength)
        c = where.m_end.m_nCol;
      c = SnapColumn(l, c, FALSE);
      if (c <= 0) continue;  // a break at the line's start would wrap nothing
      SECEditLineColPair inserted;
      InsertBreak(l, c, &inserted);
      if (inserted.m_start == where.m_start)
        where.m_end.Adjust(inserted, TRUE);
      else
        where.Adjust(inserted, TRUE);
    }
  }
  OnUpdate(nullptr, RecordInsertCommand(where));
  return TRUE;
}

BOOL SECEdit::InsertTextAt(int line, int col, LPCTSTR text, int len) {
  SECEditLineColPair where(line, col, line, col);
  return InsertText(where, text, len);
}

BOOL SECEdit::DeleteText(int line, int col, int endLine, int endCol) {
  if (!m_pBuffer) return FALSE;
  if (SECEditLineCol(endLine, endCol) < SECEditLineCol(line, col)) {
    std::swap(line, endLine);
    std::swap(col, endCol);
  }
  // The end never reaches into its line's line end; both ends in their canonical form, so the
  // lines of the range are the lines the delete joins.
  if (!Canonical(&line, &col, false) || !Canonical(&endLine, &endCol, true)) return FALSE;
  const SECEditLineColPair range(line, col, endLine, endCol);
  const int restart = InvalidateMultiLineRanges(range);
  if (restart >= 0) m_nColourRestart = m_nColourRestart < 0 ? restart : std::min(m_nColourRestart, restart);
  m_bLineEdge = col <= GetIndentLength(line) && endCol < GetLineLength(endLine);
  SECEditCommand* cmd = nullptr;
  const bool executing = m_pExecuting != nullptr;
  if (!executing) {
    cmd = new SECEditCommand(this, FALSE);
    GetText(&cmd->m_strText, line, col, endLine, endCol);
    static_cast<SECEditLineColPair&>(*cmd) = range;
    cmd->SetLastActionDeleted(TRUE);
  } else {
    cmd = static_cast<SECEditCommand*>(m_pExecuting);
  }
  if (!m_pBuffer->DeleteText(range)) {
    if (!executing) delete cmd;
    return FALSE;
  }
  if (executing) {
    OnUpdate(nullptr, cmd);
    return TRUE;
  }
  const bool rewrap = IsLineTooLong(line);
  const BOOL opened = rewrap && !m_bGroupOpen;
  if (opened) GroupCommands(TRUE);
  if (!RecordCommand(cmd)) {
    OnUpdate(nullptr, cmd);
    delete cmd;
  } else {
    OnUpdate(nullptr, cmd);
  }
  if (rewrap) {
    const int c = SnapColumn(line, ConvertLineColumn(m_nMaxLineLength, TRUE, line), FALSE);
    if (c > 0) InsertTextAt(line, c, GetBreakText(), -1);
  }
  if (opened) GroupCommands(FALSE);
  return TRUE;
}

BOOL SECEdit::ReplaceRanges(std::vector<SECEditReplacement> edits, std::string texts) {
  if (!m_pBuffer) return FALSE;
  if (edits.empty()) return TRUE;
  auto* cmd = new SECEditReplaceCommand(this, std::move(edits), std::move(texts));
  if (!cmd->Execute()) {
    delete cmd;
    return FALSE;
  }
  if (!RecordCommand(cmd)) delete cmd;
  return TRUE;
}

BOOL SECEdit::ApplyReplacements(const std::vector<SECEditReplacement>& edits, const std::string& texts, CMvcCommand* notice) {
  if (!m_pBuffer) return FALSE;
  if (edits.empty()) return TRUE;
  // Where each replacement starts, and the line ends it takes away and brings, before the text
  // changes.
  struct Lines {
    int first, removed, added;
  };
  std::vector<Lines> lines;
  lines.reserve(edits.size());
  const char lineEnd = m_pBuffer->GetLineEndChar1();
  const SECEditLineCol endPos = GetEndPosition();
  LPTSTR text = nullptr;
  const int length = m_pBuffer->GetPointer(&text, 0, 0, endPos.m_nLine, endPos.m_nCol);
  for (const SECEditReplacement& e : edits) {
    int line = 0, col = 0;
    if (e.offset < 0 || e.length < 0 || e.offset > length - e.length || !m_pBuffer->OffsetToLineCol(e.offset, &line, &col) ||
        e.textAt < 0 || e.size < 0 || static_cast<size_t>(e.textAt) + static_cast<size_t>(e.size) > texts.size())
      return FALSE;
    const auto removed = e.length > 0 ? std::count(text + e.offset, text + e.offset + e.length, lineEnd) : 0;
    const auto added = std::count(texts.data() + e.textAt, texts.data() + e.textAt + e.size, lineEnd);
    lines.push_back({line, static_cast<int>(removed), static_cast<int>(added)});
  }
  int firstCol = 0, firstLine = 0;
  m_pBuffer->OffsetToLineCol(edits.front().offset, &firstLine, &firstCol);
  const SECEditLineCol first(firstLine, firstCol);
  const int restart = InvalidateMultiLineRanges(SECEditLineColPair(first, first));
  if (!m_pBuffer->ReplaceRanges(edits, texts)) return FALSE;
  // The per-line arrays lose and gain the lines from the last replacement up, so that the lines
  // of the earlier ones stay where they were.
  for (size_t i = lines.size(); i-- > 0;) {
    const Lines& l = lines[i];
    if (l.removed > l.added) {
      const int gone = l.removed - l.added;
      for (int k = l.first + 1; k <= l.first + gone; ++k) delete m_colours.ValueAt(k);
      m_colours.DeleteRange(l.first + 1, gone);
      RemoveLineItems(l.first + 1, l.first + gone);
    } else if (l.added > l.removed) {
      m_colours.InsertValue(l.first + 1, l.added - l.removed, nullptr);
      InsertLineItems(l.first, l.added - l.removed, FALSE);
    }
  }
  // The changed lines, where they are now, lose their colours and get the changed mark.
  int shift = 0;
  for (const Lines& l : lines) {
    const int from = l.first + shift;
    for (int line = from; line <= from + l.added; ++line) {
      DropColourEntry(line);
      SetMarkBit(line, SECEDIT_MARK_CHANGED, TRUE);
    }
    shift += l.added - l.removed;
  }
  m_nFirstUncoloured = restart >= 0 ? std::min(restart, firstLine) : firstLine;
  m_nColourRestart = -1;
  UpdateAllObservers(nullptr, notice);
  return TRUE;
}

void SECEdit::OnCommand(SECEditCommand* cmd) {
  if (cmd == nullptr) {
    UpdateAllObservers(nullptr, nullptr);
    return;
  }
  const SECEditLineColPair range = cmd->Normalized();
  const int s = range.m_start.m_nLine, e = range.m_end.m_nLine;
  if (range.m_start == range.m_end) {
    m_nColourRestart = -1;
    UpdateAllObservers(nullptr, cmd);
    return;
  }
  if (cmd->LastActionDeleted()) {
    SetLineMark(s, SECEDIT_MARK_CHANGED, TRUE);
    if (e > s) {
      for (int l = s + 1; l <= e; ++l) delete m_colours.ValueAt(l);
      m_colours.DeleteRange(s + 1, e - s);
      if (m_bLineEdge)
        RemoveLineItems(s, e - 1);
      else
        RemoveLineItems(s + 1, e);
    }
  } else {
    if (e > s) {
      m_colours.InsertValue(s + 1, e - s, nullptr);
      InsertLineItems(s, e - s, m_bLineEdge);
    }
    for (int l = s; l <= e; ++l) SetMarkBit(l, SECEDIT_MARK_CHANGED, TRUE);
    SECEditMsg gutter(SECEDIT_MSG_GUTTER);
    UpdateAllObservers(nullptr, &gutter);
  }
  DropColourEntry(s);
  // Colouring starts again at the edited line, or above it where a multi-line tag that the
  // edit opened or closed began.
  m_nFirstUncoloured = m_nColourRestart >= 0 ? std::min(m_nColourRestart, s) : s;
  m_nColourRestart = -1;
  UpdateAllObservers(nullptr, cmd);
}

// ---- commands and history ----

SECEditCommand* SECEdit::RecordInsertCommand(const SECEditLineColPair& range) {
  if (m_pExecuting != nullptr) return static_cast<SECEditCommand*>(m_pExecuting);
  auto* cmd = new SECEditCommand(this, TRUE);
  static_cast<SECEditLineColPair&>(*cmd) = range;
  // The command keeps what was inserted, a wrapping break included, so that redo inserts it again.
  GetText(&cmd->m_strText, range.m_start.m_nLine, range.m_start.m_nCol, range.m_end.m_nLine, range.m_end.m_nCol);
  if (!RecordCommand(cmd)) {
    delete cmd;
    return nullptr;
  }
  return cmd;
}

BOOL SECEdit::RecordCommand(CMvcCommand* cmd) {
  if (m_bGroupOpen) return m_pOpenGroup->AddCommand(cmd);
  const BOOL result = MvcTransactionModel::RecordCommand(cmd);
  UpdateModified();
  return result;
}

void SECEdit::GroupCommands(BOOL bBegin) {
  if (bBegin) {
    if (m_bGroupOpen) GroupCommands(FALSE);
    m_pOpenGroup = new SECEditCompositeCommand;
    m_bGroupOpen = TRUE;
    return;
  }
  if (!m_bGroupOpen) return;
  m_bGroupOpen = FALSE;
  SECEditCompositeCommand* group = m_pOpenGroup;
  m_pOpenGroup = nullptr;
  if (group->GetCount() == 0 || !RecordCommand(group)) delete group;
}

void SECEdit::MergeWithLastCommand(CMvcCommand* cmd, BOOL bCmdFirst) {
  GroupCommands(FALSE);
  CMvcCommand* last = m_undo.Pop();
  if (last == nullptr) {
    RecordCommand(cmd);
    return;
  }
  auto* group = new SECEditCompositeCommand;
  group->AddCommand(bCmdFirst ? cmd : last);
  group->AddCommand(bCmdFirst ? last : cmd);
  RecordCommand(group);
}

CMvcCommand* SECEdit::Undo() {
  GroupCommands(FALSE);
  CMvcCommand* cmd = MvcTransactionModel::Undo();
  UpdateModified();
  return cmd;
}

CMvcCommand* SECEdit::Redo() {
  GroupCommands(FALSE);
  CMvcCommand* cmd = MvcTransactionModel::Redo();
  UpdateModified();
  return cmd;
}
