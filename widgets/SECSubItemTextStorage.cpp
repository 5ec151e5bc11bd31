// The per-item store of sub-item texts of the trees.
#include "widgets/SECSubItemTextStorage.h"

#include <new>

SECSubItemTextStorage::SECSubItemTextStorage() : m_map(10) { m_map.InitHashTable(17, FALSE); }

SECSubItemTextStorage::~SECSubItemTextStorage() {
  POSITION pos = m_map.GetStartPosition();
  while (pos != nullptr) {
    HTREEITEM item = nullptr;
    CStringArray* texts = nullptr;
    m_map.GetNextAssoc(pos, item, texts);
    delete texts;
  }
  m_map.RemoveAll();
}

const CStringArray* SECSubItemTextStorage::GetTexts(HTREEITEM hItem) const {
  CStringArray* texts = nullptr;
  return m_map.Lookup(hItem, texts) ? texts : nullptr;
}

BOOL SECSubItemTextStorage::GetText(HTREEITEM hItem, int nCol, LPTSTR lpszBuffer, int nSize) const {
  const CStringArray* texts = GetTexts(hItem);
  bool found = texts != nullptr && nCol >= 1 && nCol <= texts->GetSize();
  if (lpszBuffer != nullptr && nSize > 0) lstrcpyn(lpszBuffer, found ? static_cast<LPCTSTR>(texts->GetAt(nCol - 1)) : "", nSize);
  return found ? TRUE : FALSE;
}

BOOL SECSubItemTextStorage::SetText(HTREEITEM hItem, int nCol, LPCTSTR lpszText) {
  if (nCol < 1) return FALSE;
  CStringArray* texts = nullptr;
  if (m_map.Lookup(hItem, texts)) {
    if (texts == nullptr) return FALSE;
    if (texts->GetSize() < nCol) texts->SetSize(nCol);
    texts->SetAt(nCol - 1, lpszText != nullptr ? lpszText : "");
    return TRUE;
  }
  try {
    auto fresh = std::make_unique<CStringArray>();
    fresh->SetSize(nCol);
    fresh->SetAt(nCol - 1, lpszText != nullptr ? lpszText : "");
    m_map.SetAt(hItem, fresh.get());
    fresh.release();
  } catch (CMemoryException* e) {
    e->Delete();
    return FALSE;
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
  return TRUE;
}

BOOL SECSubItemTextStorage::MoveText(HTREEITEM hItem, int nFrom, int nTo) {
  CStringArray* texts = nullptr;
  if (!m_map.Lookup(hItem, texts) || texts == nullptr) return FALSE;
  if (nFrom < 1 || nTo < 1 || nFrom > texts->GetSize()) return TRUE;  // nothing at the from position
  CString text = texts->GetAt(nFrom - 1);
  texts->RemoveAt(nFrom - 1);
  if (texts->GetSize() < nTo - 1) texts->SetSize(nTo - 1);
  texts->InsertAt(nTo - 1, text);
  return TRUE;
}

void SECSubItemTextStorage::RemoveItem(HTREEITEM hItem) {
  CStringArray* texts = nullptr;
  if (!m_map.Lookup(hItem, texts)) return;
  delete texts;
  m_map.RemoveKey(hItem);
  if (m_map.IsEmpty()) m_map.RemoveAll();
}
