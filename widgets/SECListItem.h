// The records a list engine keeps: rows (SECListItem) with their sub-items, columns, and the
// paint context made for each paint.
#pragma once

#include <vector>

#include "afx/afx.h"
#include "controls/CommCtrl.h"

// LPSTR_TEXTCALLBACK as a stored text: ask the parent.
inline char* const kListTextCallback = reinterpret_cast<char*>(static_cast<intptr_t>(-1));

// Frees a stored text unless it is NULL or the callback marker; duplicates a text likewise.
void SECListFreeText(char*& pszText);
char* SECListCopyText(const char* pszText);

class SECListSubItem {
 public:
  SECListSubItem() = default;
  virtual ~SECListSubItem() { SECListFreeText(m_pszText); }
  SECListSubItem(const SECListSubItem&) = delete;
  SECListSubItem& operator=(const SECListSubItem&) = delete;

  char* m_pszText = kListTextCallback;
  DWORD m_dwData = 0;
  RECT m_rcText{};
};

class SECListItem {
 public:
  SECListItem() = default;
  virtual ~SECListItem();
  SECListItem(const SECListItem&) = delete;
  SECListItem& operator=(const SECListItem&) = delete;

  std::vector<SECListSubItem*> m_subItems;  // sub-item n is entry n - 1
  char* m_pszText = nullptr;
  UINT m_state = 0;  // LVIS_ bits other than focus, selection and drop-highlight
  int m_iImage = 0;
  LPARAM m_lParam = 0;
  int m_cy = -1;  // measured height; -1 = not measured
  DWORD m_dwExState = 0;
  BOOL m_bDirty = TRUE;
  RECT m_rcText{};
  RECT m_rcIcon{};
  RECT m_rcStateIcon{};
  // Where the engine last saw the record in its row array (see SECListEngine::RowOfRecord).
  int m_nRowHint = -1;
};

struct SECListColumn {
  int m_nLeft = 0;
  int m_nFormat = LVCFMT_LEFT;
  int m_nWidth = 0;
  CString m_strText;
  DWORD m_dwData = 0;
  int m_nSubItem = 0;
  int m_iImage = -1;
};

class SECListPaintContext {
 public:
  SECListPaintContext(CDC* pDC, UINT nView) : m_pDC(pDC), m_nView(nView) {
    m_bPrinting = pDC != nullptr && pDC->IsPrinting();
  }
  virtual ~SECListPaintContext() = default;
  SECListPaintContext(const SECListPaintContext&) = delete;
  SECListPaintContext& operator=(const SECListPaintContext&) = delete;

  CDC* m_pDC;
  CFont* m_pFont = nullptr;
  BOOL m_bPrinting = FALSE;
  UINT m_nView;
  int m_nRow = -1;
  SECListItem* m_pItem = nullptr;
  int m_nCol = 0;
  SECListColumn* m_pColumn = nullptr;
  int m_nSubItem = 0;
  SECListSubItem* m_pSubItem = nullptr;
  CRect m_rcRow;
  CRect m_rcCell;
  LVITEM m_lvi{};
  char* m_pszText = nullptr;
  COLORREF m_rgbText = 0;
  COLORREF m_rgbBk = 0;
  COLORREF m_rgbCellBk = 0;     // the background of the cell (GetBkColor)
  COLORREF m_rgbIconBk = 0;     // the colour behind images
  int m_nRowsDrawn = 0;
};
