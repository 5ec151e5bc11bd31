// The texts of columns 1 and up of tree items: one string array per item that has any.
#pragma once

#include "afx/afx.h"
#include "controls/CommCtrl.h"

class SECSubItemTextStorage {
 public:
  SECSubItemTextStorage();
  virtual ~SECSubItemTextStorage();
  SECSubItemTextStorage(const SECSubItemTextStorage&) = delete;
  SECSubItemTextStorage& operator=(const SECSubItemTextStorage&) = delete;

  // Copies the text of column nCol (from 1) into the buffer, bounded and never splitting a
  // double-byte character; FALSE and an empty string when the item has no such text.
  BOOL GetText(HTREEITEM hItem, int nCol, LPTSTR lpszBuffer, int nSize) const;
  // Stores a text, growing the item's array; FALSE when no array could be made.
  BOOL SetText(HTREEITEM hItem, int nCol, LPCTSTR lpszText);
  // Moves the text at column nFrom to column nTo; an item without that text is left unchanged.
  BOOL MoveText(HTREEITEM hItem, int nFrom, int nTo);
  void RemoveItem(HTREEITEM hItem);
  int GetItemCount() const { return static_cast<int>(m_map.GetCount()); }
  const CStringArray* GetTexts(HTREEITEM hItem) const;

 private:
  CMap<HTREEITEM, HTREEITEM, CStringArray*, CStringArray*> m_map;
};
