// Line marks and line data: one item per line that carries something, following the lines
// through edits.
#include "editor/model/SECEdit.h"

namespace {
// A mark outside 0..31 addresses mark 0.
UINT MarkBit(int mark) { return mark >= 0 && mark <= 31 ? static_cast<UINT>(mark) : 0U; }
}  // namespace

BOOL SECEdit::HasLineMark(int line, int mark) {
  SECEditItemData* item = line <= GetLastLine() ? ItemAt(line) : nullptr;
  return item != nullptr && item->m_marks.Get(MarkBit(mark));
}

void SECEdit::ToggleLineMark(int line, int mark) {
  if (line < 0 || line > GetLastLine()) return;
  SetLineMark(line, mark, !HasLineMark(line, mark));
}

void SECEdit::ClearLineMarks(int mark) {
  for (int i = FindMarkedLine(0, mark, TRUE); i != -1; i = FindMarkedLine(i, mark, TRUE)) ToggleLineMark(i, mark);
}

int SECEdit::FindMarkedLine(int from, int mark, BOOL bForward) {
  const int last = GetLastLine();
  if (m_itemSet.empty() || from < 0 || from > last) return -1;
  int i = from;
  do {
    i += bForward ? 1 : -1;
    if (i < 0) i = last;
    if (i > last) i = 0;
    if (HasLineMark(i, mark)) return i;
  } while (i != from);
  return -1;
}

int SECEdit::CountMarkedLines(int mark) {
  int count = 0;
  for (SECEditItemData* item : m_itemSet)
    if (item->m_marks.Get(MarkBit(mark))) ++count;
  return count;
}

DWORD SECEdit::GetLineData(int line) {
  SECEditItemData* item = line <= GetLastLine() ? ItemAt(line) : nullptr;
  return item != nullptr ? item->m_dwData : 0;
}

DWORD SECEdit::SetLineData(int line, DWORD value) {
  SECEditItemData* item = GetOrCreateItemData(line);
  if (item == nullptr) return 0;
  const DWORD old = item->m_dwData;
  item->m_dwData = value;
  if (item->IsEmpty()) RemoveItemData(line);
  return old;
}

SECEditItemData* SECEdit::GetOrCreateItemData(int line) {
  if (line < 0 || line > GetLastLine() || line >= m_lineItems.Length()) return nullptr;
  SECEditItemData*& slot = m_lineItems[line];
  if (slot == nullptr) {
    slot = new SECEditItemData;
    m_itemSet.insert(slot);
  }
  return slot;
}

void SECEdit::RemoveItemData(int line) {
  SECEditItemData* item = ItemAt(line);
  if (item == nullptr) return;
  m_itemSet.erase(item);
  delete item;
  m_lineItems.SetValueAt(line, nullptr);
}

void SECEdit::InsertLineItems(int line, int count, BOOL bBefore) {
  const int at = bBefore ? line : line + 1;
  if (count <= 0 || at < 0 || at > m_lineItems.Length()) return;
  m_lineItems.InsertValue(at, count, nullptr);
}

void SECEdit::RemoveLineItems(int from, int to) {
  from = std::max(from, 0);
  to = std::min(to, static_cast<int>(m_lineItems.Length()) - 1);
  if (from > to) return;
  if (!m_itemSet.empty()) {
    for (int line = from; line <= to; ++line) {
      SECEditItemData* item = m_lineItems.ValueAt(line);
      if (item == nullptr) continue;
      OnRemoveItemData(item, line);
      m_itemSet.erase(item);
      delete item;
    }
  }
  m_lineItems.DeleteRange(from, to - from + 1);
}

BOOL SECEdit::OnRemoveItemData(SECEditItemData*, int) { return TRUE; }

void SECEdit::SetMarkBit(int line, int mark, BOOL bOn) {
  if (line < 0 || line > GetLastLine()) return;
  if (!bOn && ItemAt(line) == nullptr) return;
  SECEditItemData* item = GetOrCreateItemData(line);
  if (item == nullptr) return;
  item->m_marks.Set(MarkBit(mark), bOn);
  if (item->IsEmpty()) RemoveItemData(line);
}

void SECEdit::SetLineMarks(const std::vector<int>& lines, int mark) {
  for (int line : lines) SetMarkBit(line, mark, TRUE);
  SECEditMsg msg(SECEDIT_MSG_GUTTER);
  UpdateAllObservers(nullptr, &msg);
}

void SECEdit::SetLineMark(int line, int mark, BOOL bOn) {
  if (line < 0 || line > GetLastLine()) return;
  SetMarkBit(line, mark, bOn);
  SECEditMsg msg(SECEDIT_MSG_GUTTER);
  UpdateAllObservers(nullptr, &msg);
}
