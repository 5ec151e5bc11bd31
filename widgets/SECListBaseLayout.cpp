// The list engine's layout: row measuring, the header band and the rows painted through one
// off-screen bitmap, the list's own scroll bars, and scrolling by rows and pixels.
#include <algorithm>

#include "foundation/SECMemDC.h"
#include "widgets/SECListBase.h"
#include "widgets/SECListTip.h"

COLORREF SECListInactiveSelText();
COLORREF SECListInactiveSelBk();
COLORREF SECListButtonFace();

namespace {

constexpr UINT kLabelFlags = DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER;
constexpr UINT kMeasureFlags = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK;
constexpr UINT kHeaderFlags = DT_NOPREFIX | DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER;
constexpr int kLineStep = 15;
constexpr int kWheelNotch = 120;

int ScrollBarWidth() {
  static const int width = ::GetSystemMetrics(SM_CXVSCROLL);
  return width;
}
int ScrollBarHeight() {
  static const int height = ::GetSystemMetrics(SM_CYHSCROLL);
  return height;
}

UINT AlignFlags(int nFormat) {
  switch (nFormat & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: return DT_RIGHT;
    case LVCFMT_CENTER: return DT_CENTER;
    default: return 0;
  }
}

// The text up to the first line feed (labels that do not wrap show one line).
int FirstLineLength(const char* text) {
  const char* feed = std::strchr(text, '\n');
  return feed != nullptr ? static_cast<int>(feed - text) : static_cast<int>(std::strlen(text));
}

}  // namespace

// ---- geometry ----

template <class Base>
void SECListEngine<Base>::GetClientRect(LPRECT lpRect) const {
  if (this->GetSafeHwnd() != nullptr) Base::GetClientRect(lpRect);
  else ::SetRectEmpty(lpRect);
}

template <class Base>
void SECListEngine<Base>::GetListArea(RECT* pRect) {
  GetClientRect(pRect);
  if (HasHeader()) pRect->top += m_nHeaderHeight;
  if (m_dwScrollFlags & WS_VSCROLL) pRect->right -= ScrollBarWidth() - 1;
  if (m_dwScrollFlags & WS_HSCROLL) pRect->bottom -= ScrollBarHeight() - 1;
  if (pRect->bottom < pRect->top) pRect->bottom = pRect->top;
  if (pRect->right < pRect->left) pRect->right = pRect->left;
}

template <class Base>
int SECListEngine<Base>::ListAreaHeight() {
  CRect area;
  GetListArea(&area);
  return area.Height();
}

template <class Base>
void SECListEngine<Base>::EnsureMeasured(int nRow) {
  SECListItem* item = GetItemRecord(nRow);
  if (item != nullptr && (item->m_bDirty || item->m_cy < 0)) MeasureRow(nRow, nullptr);
}

template <class Base>
int SECListEngine<Base>::RowHeight(int nRow) {
  EnsureMeasured(nRow);
  SECListItem* item = GetItemRecord(nRow);
  return item != nullptr ? std::max(item->m_cy, 0) + GetRowSpacing() : 0;
}

template <class Base>
int SECListEngine<Base>::GetCountPerPage() {
  int height = ListAreaHeight(), used = 0, rows = 0;
  for (int row = m_nTopRow; row < GetItemCount(); ++row) {
    used += RowHeight(row);
    if (used > height) break;
    ++rows;
  }
  return rows;
}

template <class Base>
int SECListEngine<Base>::GetCountPerPageAbove() {
  int height = ListAreaHeight(), used = 0, rows = 0;
  for (int row = m_nTopRow - 1; row >= 0; --row) {
    used += RowHeight(row);
    if (used > height) break;
    ++rows;
  }
  return rows;
}

template <class Base>
int SECListEngine<Base>::GetMaxTopIndex() {
  int height = ListAreaHeight(), used = 0;
  int row = GetItemCount() - 1;
  for (; row >= 0; --row) {
    used += RowHeight(row);
    if (used > height) break;
  }
  return std::clamp(row + 1, 0, std::max(0, GetItemCount() - 1));
}

template <class Base>
int SECListEngine<Base>::GetLastVisibleRow(SECListPaintContext* pContext) {
  int height = ListAreaHeight(), used = 0, last = m_nTopRow - 1;
  for (int row = m_nTopRow; row < GetItemCount(); ++row) {
    SECListItem* item = m_items[static_cast<size_t>(row)];
    if (pContext != nullptr && (item->m_bDirty || item->m_cy < 0)) {
      pContext->m_nRow = row;
      pContext->m_pItem = item;
      MeasureItem(pContext);
    }
    used += RowHeight(row);
    if (used > height) break;
    last = row;
  }
  return last;
}

template <class Base>
int SECListEngine<Base>::GetFirstRowBelow() {
  return GetLastVisibleRow() + 1;
}

template <class Base>
int SECListEngine<Base>::GetPageUpRow() {
  return std::max(0, m_nTopRow - std::max(1, GetCountPerPageAbove()));
}

template <class Base>
int SECListEngine<Base>::RowFromOffset(int nOffset) {
  if (nOffset < 0) return -1;
  int top = 0;
  for (int row = m_nTopRow; row < GetItemCount(); ++row) {
    int bottom = top + RowHeight(row);
    if (nOffset < bottom) return row;
    top = bottom;
    if (top > ListAreaHeight() + nOffset) break;
  }
  return -1;
}

template <class Base>
int SECListEngine<Base>::RowFromOffset2(int nOffset) {
  int row = RowFromOffset(nOffset);
  return row >= 0 ? row : GetItemCount() - 1;
}

template <class Base>
void SECListEngine<Base>::SetItemHeight(int nRow, int nHeight) {
  SECListItem* item = GetItemRecord(nRow);
  if (item != nullptr) item->m_cy = nHeight;
}

template <class Base>
int SECListEngine<Base>::GetRowsHeight(int nFrom, int nTo) {
  int sign = 1;
  if (nFrom > nTo) {
    std::swap(nFrom, nTo);
    sign = -1;
  }
  int height = 0;
  for (int row = std::max(nFrom, 0); row <= nTo && row < GetItemCount(); ++row) height += RowHeight(row);
  return sign * height;
}

template <class Base>
int SECListEngine<Base>::CountRowsInDistance(int nPixels, int nFromRow, BOOL bDown) {
  int rows = 0, used = 0;
  for (int row = nFromRow; row >= 0 && row < GetItemCount(); row += bDown ? 1 : -1) {
    used += RowHeight(row);
    if (used > nPixels) break;
    ++rows;
  }
  return rows;
}

template <class Base>
BOOL SECListEngine<Base>::GetSubItemRect(int nRow, int nCol, RECT* pRect, int nCode) {
  SECListColumn* column = GetColumnRecord(nCol);
  if (pRect == nullptr || column == nullptr || !IsValidRow(nRow) || nRow < m_nTopRow) return FALSE;
  CRect area;
  GetListArea(&area);
  int top = area.top;
  for (int row = m_nTopRow; row < nRow; ++row) {
    top += RowHeight(row);
    if (top > area.bottom + 32767) return FALSE;
  }
  EnsureMeasured(nRow);
  SECListItem* item = m_items[static_cast<size_t>(nRow)];
  int left = GetColumnLeft(nCol) - m_nHorzOffset;
  CRect cell(left, top, left + column->m_nWidth, top + RowHeight(nRow));
  if (GetColumnCount() == 1) cell.right = std::max(cell.right, static_cast<LONG>(left + item->m_rcText.right));
  if (nCode == 0) {
    *pRect = cell;
  } else if (nCode == 1) {
    *pRect = item->m_rcIcon;
    ::OffsetRect(pRect, cell.left, cell.top);
  } else {
    if (column->m_nSubItem == 0) {
      *pRect = item->m_rcText;
    } else if (column->m_nSubItem <= static_cast<int>(item->m_subItems.size())) {
      *pRect = item->m_subItems[static_cast<size_t>(column->m_nSubItem - 1)]->m_rcText;
    } else {
      *pRect = CRect(6, 2, column->m_nWidth - 5, cell.Height());
    }
    ::OffsetRect(pRect, cell.left, cell.top);
  }
  return TRUE;
}

template <class Base>
BOOL SECListEngine<Base>::GetLabelColumnRect(int nRow, RECT* pRect, int nCode) {
  int col = FindColumnIndex(0);
  return col >= 0 && GetSubItemRect(nRow, col, pRect, nCode);
}

// ---- measuring ----

template <class Base>
CDC* SECListEngine<Base>::CreateClientDC(BOOL* pbOwned) {
  if (pbOwned != nullptr) *pbOwned = TRUE;
  if (this->GetSafeHwnd() != nullptr) return new CClientDC(this);
  auto* dc = new CDC;
  dc->CreateCompatibleDC(nullptr);
  return dc;
}

template <class Base>
SECListPaintContext* SECListEngine<Base>::CreatePaintContext(CDC* pDC) {
  return new SECListPaintContext(pDC, m_dwListStyle & LVS_TYPEMASK);
}

template <class Base>
void SECListEngine<Base>::MeasureRow(int nRow, SECListPaintContext* pContext) {
  SECListItem* item = GetItemRecord(nRow);
  if (item == nullptr) return;
  if (pContext != nullptr) {
    pContext->m_nRow = nRow;
    pContext->m_pItem = item;
    MeasureItem(pContext);
    return;
  }
  BOOL owned = FALSE;
  CDC* dc;
  if (m_nMeasuringScopes > 0) {
    if (m_pMeasuringDC == nullptr) m_pMeasuringDC = CreateClientDC(&m_bMeasuringDCOwned);
    dc = m_pMeasuringDC;
  } else {
    dc = CreateClientDC(&owned);
  }
  SECListPaintContext* context = CreatePaintContext(dc);
  CFont* old = dc->SelectObject(GetRowFont());
  context->m_nRow = nRow;
  context->m_pItem = item;
  MeasureItem(context);
  dc->SelectObject(old);
  delete context;
  if (owned) delete dc;
}

template <class Base>
void SECListEngine<Base>::MeasureItem(SECListPaintContext* pContext) {
  SECListItem* item = pContext->m_pItem;
  if (item == nullptr) return;
  int height = std::max(item->m_cy, 0);
  if (item->m_cy < 0) height = 0;
  if (GetColumnCount() == 0) height = std::max(height, 16);
  for (int col = 0; col < GetColumnCount(); ++col) {
    pContext->m_nCol = col;
    pContext->m_pColumn = m_columns[static_cast<size_t>(col)];
    pContext->m_nSubItem = pContext->m_pColumn->m_nSubItem;
    pContext->m_pSubItem = pContext->m_nSubItem >= 1 && pContext->m_nSubItem <= static_cast<int>(item->m_subItems.size())
                               ? item->m_subItems[static_cast<size_t>(pContext->m_nSubItem - 1)]
                               : nullptr;
    FetchDisplayData(pContext);
    height = std::max(height, MeasureCell(pContext));
  }
  item->m_cy = height;
  item->m_bDirty = FALSE;
}

template <class Base>
int SECListEngine<Base>::MeasureCell(SECListPaintContext* pContext) {
  int imageHeight = 0;
  if (pContext->m_nSubItem == 0) {
    MeasureImage(pContext);
    imageHeight = pContext->m_pItem->m_rcIcon.bottom > 0 ? pContext->m_pItem->m_rcIcon.bottom + 2 : 0;
  }
  int textHeight = MeasureText(pContext);
  if (pContext->m_nView == LVS_ICON) return imageHeight + textHeight + 5;
  return std::max(imageHeight, textHeight);
}

template <class Base>
void SECListEngine<Base>::MeasureImage(SECListPaintContext* pContext) {
  SECListItem* item = pContext->m_pItem;
  ::SetRectEmpty(&item->m_rcIcon);
  CImageList* list = GetImageList(pContext->m_nView == LVS_ICON ? LVSIL_NORMAL : LVSIL_SMALL);
  if (list == nullptr || list->GetSafeHandle() == nullptr || item->m_iImage < 0) return;
  int cx = 0, cy = 0;
  if (!list->GetIconSize(&cx, &cy)) return;
  item->m_rcIcon = CRect(2, 2, 2 + cx, 2 + cy);
}

template <class Base>
int SECListEngine<Base>::MeasureText(SECListPaintContext* pContext) {
  CDC* dc = pContext->m_pDC;
  const char* text = pContext->m_pszText != nullptr && pContext->m_pszText != kListTextCallback ? pContext->m_pszText : "";
  SECListItem* item = pContext->m_pItem;
  RECT* stored = pContext->m_nSubItem == 0 ? &item->m_rcText
                                           : (pContext->m_pSubItem != nullptr ? &pContext->m_pSubItem->m_rcText : nullptr);
  int width = pContext->m_pColumn != nullptr ? pContext->m_pColumn->m_nWidth : 0;
  CRect rect(6, 2, std::max(7, width - 5), 2);
  bool hasIcon = pContext->m_nSubItem == 0 && !::IsRectEmpty(&item->m_rcIcon);
  if (hasIcon) {
    if (pContext->m_nView == LVS_ICON) {
      rect = CRect(8, item->m_rcIcon.bottom + 2, std::max(9, width - 5), item->m_rcIcon.bottom + 2);
    } else {
      rect.left = item->m_rcIcon.right + 5;
    }
  }
  UINT flags = kMeasureFlags | (AlignFlags(pContext->m_pColumn != nullptr ? pContext->m_pColumn->m_nFormat : 0) == DT_CENTER ? 1U : 0U) |
               (AlignFlags(pContext->m_pColumn != nullptr ? pContext->m_pColumn->m_nFormat : 0) == DT_RIGHT ? 2U : 0U);
  int length = static_cast<int>(std::strlen(text));
  bool single = IsStyleSet(LVS_NOLABELWRAP);
  if (single) {
    flags |= DT_SINGLELINE;
    flags &= ~static_cast<UINT>(DT_WORDBREAK);
    length = FirstLineLength(text);
  }
  int right = rect.right;
  if (dc != nullptr) {
    CFont* old = dc->SelectObject(pContext->m_pFont != nullptr ? pContext->m_pFont : GetRowFont());
    if (length == 0) {
      TEXTMETRIC tm{};
      dc->GetTextMetrics(&tm);
      rect.right = rect.left;
      rect.bottom = rect.top + tm.tmHeight;
    } else {
      dc->DrawText(text, length, &rect, flags);
    }
    dc->SelectObject(old);
  }
  // A one-line label in a single-column list keeps its measured width; others fill the cell.
  if (!(single && GetColumnCount() == 1)) rect.right = std::max(static_cast<int>(rect.right), std::min(right, static_cast<int>(rect.right)));
  if (hasIcon && pContext->m_nView != LVS_ICON) {
    int iconHeight = item->m_rcIcon.bottom - item->m_rcIcon.top;
    int textHeight = rect.Height();
    if (textHeight < iconHeight) rect.OffsetRect(0, item->m_rcIcon.top + (iconHeight - textHeight) / 2 - rect.top);
  }
  if (stored != nullptr) *stored = rect;
  return rect.bottom + 2;
}

template <class Base>
void SECListEngine<Base>::InvalidateItemMetrics(int nRow) {
  SECListItem* item = GetItemRecord(nRow);
  if (item == nullptr) return;
  item->m_bDirty = TRUE;
  if (IsLabelWrap()) item->m_cy = -1;
  RedrawItem(nRow);
}

template <class Base>
void SECListEngine<Base>::InvalidateAllItemMetrics() {
  bool wrap = IsLabelWrap();
  for (SECListItem* item : m_items) {
    item->m_bDirty = TRUE;
    if (wrap) item->m_cy = -1;
  }
}

template <class Base>
void SECListEngine<Base>::RecalcLayout() {
  InvalidateAllItemMetrics();
  UpdateScrollBars();
}

template <class Base>
int SECListEngine<Base>::GetContentWidth() {
  if (GetColumnCount() == 1 && IsStyleSet(LVS_NOLABELWRAP)) {
    // The widest label decides; only measured rows are known, so the visible page is measured.
    int widest = 0;
    int last = GetLastVisibleRow();
    for (int row = m_nTopRow; row <= last; ++row) widest = std::max(widest, static_cast<int>(m_items[static_cast<size_t>(row)]->m_rcText.right));
    return widest + 5;
  }
  return GetColumnsWidth(GetColumnCount());
}

// ---- scroll bars ----

template <class Base>
BOOL SECListEngine<Base>::CreateScrollBar(DWORD dwStyle, UINT nID) {
  int index = nID == kListHScrollId ? 0 : 1;
  if (m_pScrollBars[index] == nullptr) m_pScrollBars[index] = new CScrollBar;
  CScrollBar* bar = m_pScrollBars[index];
  if (bar->GetSafeHwnd() != nullptr) return TRUE;
  return bar->Create(dwStyle | WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), this, nID);
}

template <class Base>
CScrollBar* SECListEngine<Base>::GetScrollBarCtrl(int nBar) const {
  CScrollBar* bar = m_pScrollBars[nBar == SB_HORZ ? 0 : 1];
  return bar != nullptr && bar->GetSafeHwnd() != nullptr ? bar : nullptr;
}

template <class Base>
void SECListEngine<Base>::ShowScrollBar(int nBar, BOOL bShow, SCROLLINFO* pInfo) {
  if (nBar == SB_BOTH) {
    ShowScrollBar(SB_HORZ, bShow, pInfo);
    ShowScrollBar(SB_VERT, bShow, pInfo);
    return;
  }
  if (this->GetSafeHwnd() == nullptr) return;
  bool horz = nBar == SB_HORZ;
  if (GetScrollBarCtrl(nBar) == nullptr) {
    if (!bShow) return;
    if (!CreateScrollBar(horz ? SBS_HORZ : SBS_VERT, horz ? kListHScrollId : kListVScrollId)) AfxThrowResourceException();
    GetScrollBarCtrl(nBar)->ShowWindow(SW_HIDE);
  }
  CScrollBar* bar = GetScrollBarCtrl(nBar);
  if (pInfo != nullptr) bar->SetScrollInfo(pInfo, FALSE);
  DWORD flag = horz ? WS_HSCROLL : WS_VSCROLL;
  bool shown = (m_dwScrollFlags & flag) != 0;
  if (bShow) m_dwScrollFlags |= flag;
  else m_dwScrollFlags &= ~flag;
  if (shown != (bShow != FALSE)) {
    bar->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    bar->Invalidate();
    bar->UpdateWindow();
  }
}

template <class Base>
void SECListEngine<Base>::UpdateScrollBars() {
  if (this->GetSafeHwnd() == nullptr) return;
  MeasuringScope measuring(this);
  UpdateVerticalScrollBar(GetItemCount());
  if (IsLabelWrap()) {
    for (SECListItem* item : m_items) item->m_bDirty = TRUE;
  }
  UpdateHorizontalScrollBar(GetContentWidth());
  UpdateVerticalScrollBar(GetItemCount());
  PositionScrollBars();
}

template <class Base>
void SECListEngine<Base>::UpdateVerticalScrollBar(int nRows) {
  int before = ListAreaHeight();
  bool fits = nRows <= 0 || CountRowsInDistance(before, nRows - 1, FALSE) >= nRows;
  if (!fits) {
    m_nTopRow = std::min(m_nTopRow, GetMaxTopIndex());
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    info.nMin = 0;
    info.nMax = nRows - 1;
    info.nPage = static_cast<UINT>(std::max(1, GetCountPerPage()));
    info.nPos = m_nTopRow;
    ShowScrollBar(SB_VERT, TRUE, &info);
  } else {
    m_nTopRow = 0;
    ShowScrollBar(SB_VERT, FALSE);
  }
  if (ListAreaHeight() != before) {
    FitColumnsIfNeeded();
    this->Invalidate(FALSE);
  }
}

template <class Base>
void SECListEngine<Base>::UpdateHorizontalScrollBar(int nTotalWidth) {
  CRect area;
  GetListArea(&area);
  if (nTotalWidth <= area.Width()) {
    m_nHorzOffset = 0;
    ShowScrollBar(SB_HORZ, FALSE);
    return;
  }
  m_nHorzOffset = std::clamp(m_nHorzOffset, 0, std::max(0, nTotalWidth - static_cast<int>(area.Width())));
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  info.nMax = nTotalWidth;
  info.nPage = static_cast<UINT>(area.Width());
  info.nPos = m_nHorzOffset;
  ShowScrollBar(SB_HORZ, TRUE, &info);
}

template <class Base>
void SECListEngine<Base>::PositionScrollBars() {
  CRect area;
  GetListArea(&area);
  HDWP batch = ::BeginDeferWindowPos(2);
  if (CScrollBar* bar = GetScrollBarCtrl(SB_HORZ)) {
    batch = ::DeferWindowPos(batch, bar->GetSafeHwnd(), nullptr, area.left, area.bottom - 1, area.Width() + 1,
                             ScrollBarHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (CScrollBar* bar = GetScrollBarCtrl(SB_VERT)) {
    int top = HasHeader() ? area.top - m_nHeaderHeight : area.top;
    int height = area.Height() + 1 + (HasHeader() ? m_nHeaderHeight : 0);
    batch = ::DeferWindowPos(batch, bar->GetSafeHwnd(), nullptr, area.right - 1, top, ScrollBarWidth(), height,
                             SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::EndDeferWindowPos(batch);
  for (int bar : {SB_HORZ, SB_VERT}) {
    if (CScrollBar* control = GetScrollBarCtrl(bar)) control->Invalidate();
  }
}

template <class Base>
BOOL SECListEngine<Base>::FitColumnsIfNeeded() {
  if (GetColumnCount() == 1 || IsExStyleSet(LVXS_FITCOLUMNSONSIZE)) {
    FitColumnsToWidth();
    return TRUE;
  }
  return FALSE;
}

template <class Base>
void SECListEngine<Base>::FitColumnsToWidth() {
  int label = FindColumnIndex(0);
  if (label < 0) return;
  CRect area;
  GetListArea(&area);
  int others = GetColumnsWidth(GetColumnCount()) - m_columns[static_cast<size_t>(label)]->m_nWidth;
  int width = std::max(0, static_cast<int>(area.Width()) - others);
  if (width != m_columns[static_cast<size_t>(label)]->m_nWidth) {
    m_columns[static_cast<size_t>(label)]->m_nWidth = width;
    if (IsLabelWrap()) InvalidateItemHeights(this);
  }
}

// ---- scrolling ----

template <class Base>
void SECListEngine<Base>::ScrollRows(int nDelta, BOOL bByPixels) {
  if (bByPixels) {
    int last = std::max(GetLastVisibleRow(), m_nTopRow);
    nDelta = nDelta > 0 ? std::max(1, CountRowsInDistance(nDelta, last + 1, TRUE))
                        : -std::max(1, CountRowsInDistance(-nDelta, m_nTopRow - 1, FALSE));
  }
  int top = std::clamp(m_nTopRow + nDelta, 0, std::max(0, GetItemCount() - 1));
  if (top == m_nTopRow) return;
  m_nTopRow = top;
  if (CScrollBar* bar = GetScrollBarCtrl(SB_VERT)) bar->SetScrollPos(m_nTopRow, TRUE);
  if (this->GetSafeHwnd() != nullptr) this->Invalidate(FALSE);
}

template <class Base>
void SECListEngine<Base>::SetTopIndex(int nRow) {
  ScrollRows(nRow - m_nTopRow);
  UpdateScrollBars();
}

template <class Base>
void SECListEngine<Base>::ScrollHorz(int nDelta) {
  CRect area;
  GetListArea(&area);
  int largest = std::max(0, GetContentWidth() - static_cast<int>(area.Width()));
  int offset = std::clamp(m_nHorzOffset - nDelta, 0, largest);
  m_nHorzOffset = offset;
  if (CScrollBar* bar = GetScrollBarCtrl(SB_HORZ)) bar->SetScrollPos(offset, TRUE);
  if (this->GetSafeHwnd() != nullptr) this->Invalidate(FALSE);
}

template <class Base>
BOOL SECListEngine<Base>::EnsureVisible(int nRow, BOOL bPartialOK) {
  if (!IsValidRow(nRow)) return FALSE;
  if (nRow < m_nTopRow) {
    ScrollRows(nRow - m_nTopRow);
  } else {
    int last = GetLastVisibleRow();
    if (nRow > last) {
      if (bPartialOK && nRow == last + 1) return TRUE;
      // The lowest top row from which the row still fits.
      int height = ListAreaHeight(), used = 0, top = nRow;
      for (int row = nRow; row >= 0; --row) {
        used += RowHeight(row);
        if (used > height) break;
        top = row;
      }
      ScrollRows(top - m_nTopRow);
    }
  }
  UpdateScrollBars();
  return TRUE;
}

template <class Base>
BOOL SECListEngine<Base>::EnsureRangeVisible(int nFirst, int nLast) {
  if (!IsValidRow(nFirst) || !IsValidRow(nLast) || nFirst > nLast) return FALSE;
  MeasuringScope measuring(this);
  if (nFirst >= m_nTopRow && nLast <= GetLastVisibleRow()) return TRUE;
  int height = ListAreaHeight(), used = 0, top = nLast;
  for (int row = nLast; row >= nFirst; --row) {
    used += RowHeight(row);
    if (used > height && row != nLast) break;
    top = row;
  }
  ScrollRows(top - m_nTopRow);
  UpdateScrollBars();
  return TRUE;
}

template <class Base>
void SECListEngine<Base>::RedrawItem(int nRow, BOOL bLabelOnly, BOOL bUpdateNow, BOOL bErase, BOOL) {
  if (this->GetSafeHwnd() == nullptr || !IsValidRow(nRow) || nRow < m_nTopRow) return;
  CRect area;
  GetListArea(&area);
  if ((m_dwListStyle & LVS_TYPEMASK) != LVS_REPORT) {
    // Icon cells flow in lines: a row's cell, and every cell after it, may have moved.
    if (bUpdateNow) this->RedrawWindow(&area, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | (bErase ? RDW_ERASE : 0));
    else this->InvalidateRect(&area, bErase);
    return;
  }
  int top = area.top;
  for (int row = m_nTopRow; row < nRow; ++row) {
    top += RowHeight(row);
    if (top >= area.bottom) return;  // below the page: nothing shows it
  }
  SECListItem* item = m_items[static_cast<size_t>(nRow)];
  int height = item->m_cy > 0 ? item->m_cy : area.bottom - top;
  CRect rect(area.left, top, area.right, top + height);
  if (bLabelOnly && !IsExStyleSet(LVXS_FULLROWSELECT)) {
    int label = FindColumnIndex(0);
    if (label >= 0) {
      int left = GetColumnLeft(label) - m_nHorzOffset;
      rect.left = left + item->m_rcText.left - 3;
      rect.right = left + std::max(item->m_rcText.right, item->m_rcText.left) + 3;
      if (!::IsRectEmpty(&item->m_rcIcon)) rect.left = left;
    }
  }
  if (bUpdateNow) this->RedrawWindow(&rect, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | (bErase ? RDW_ERASE : 0));
  else this->InvalidateRect(&rect, bErase);
}

template <class Base>
void SECListEngine<Base>::RedrawItems(int nFrom, int nTo) {
  if (this->GetSafeHwnd() == nullptr) return;
  if (nFrom > nTo) std::swap(nFrom, nTo);
  CRect area;
  GetListArea(&area);
  if ((m_dwListStyle & LVS_TYPEMASK) != LVS_REPORT) {
    this->InvalidateRect(&area, FALSE);  // icon cells flow in lines
    return;
  }
  int top = area.top, bottom = area.top;
  for (int row = m_nTopRow; row <= nTo && row < GetItemCount() && bottom < area.bottom; ++row) {
    int height = RowHeight(row);
    if (row < nFrom) top += height;
    bottom += height;
  }
  if (top >= area.bottom) return;  // the band lies below the page
  if (nFrom < m_nTopRow) top = area.top;
  CRect rect(area.left, top, area.right, std::min(static_cast<int>(area.bottom), bottom));
  this->InvalidateRect(&rect, FALSE);
}

template <class Base>
void SECListEngine<Base>::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
  EndLabelEdit(TRUE);
  HideTip();
  CScrollBar* bar = pScrollBar != nullptr ? pScrollBar : GetScrollBarCtrl(SB_VERT);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  if (bar != nullptr) bar->GetScrollInfo(&info, SIF_ALL);
  int page = static_cast<int>(info.nPage);
  switch (nSBCode) {
    case SB_LINEUP:
      if (info.nPos > 0) ScrollRows(-1);
      break;
    case SB_LINEDOWN:
      if (info.nPos + page <= info.nMax) ScrollRows(1);
      break;
    case SB_PAGEUP: ScrollRows(-std::max(1, GetCountPerPageAbove())); break;
    case SB_PAGEDOWN: ScrollRows(std::min(m_nTopRow + page, info.nMax - page + 1) - m_nTopRow); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: ScrollRows(static_cast<int>(nPos) - m_nTopRow); break;
    case SB_TOP: ScrollRows(-m_nTopRow); break;
    case SB_BOTTOM: ScrollRows(std::max(0, info.nMax - page + 1) - m_nTopRow); break;
    default: break;
  }
}

template <class Base>
void SECListEngine<Base>::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*) {
  EndLabelEdit(TRUE);
  HideTip();
  CRect area;
  GetListArea(&area);
  int largest = std::max(0, GetContentWidth() - static_cast<int>(area.Width()));
  switch (nSBCode) {
    case SB_LINELEFT: ScrollHorz(kLineStep); break;
    case SB_LINERIGHT: ScrollHorz(-kLineStep); break;
    case SB_PAGELEFT: ScrollHorz(area.Width()); break;
    case SB_PAGERIGHT: ScrollHorz(-area.Width()); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: ScrollHorz(m_nHorzOffset - static_cast<int>(nPos)); break;
    case SB_LEFT: ScrollHorz(m_nHorzOffset); break;
    case SB_RIGHT: ScrollHorz(m_nHorzOffset - largest); break;
    default: break;
  }
}

template <class Base>
BOOL SECListEngine<Base>::OnMouseWheel(UINT, short zDelta, CPoint) {
  m_nWheelRemainder += zDelta;
  int notches = m_nWheelRemainder / kWheelNotch;
  if (notches == 0) return TRUE;
  HideTip();
  m_nWheelRemainder = 0;
  if (m_dwScrollFlags & WS_VSCROLL) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    if (CScrollBar* bar = GetScrollBarCtrl(SB_VERT)) bar->GetScrollInfo(&info, SIF_ALL);
    if (notches > 0 && info.nPos > 0) ScrollRows(-notches);
    else if (notches < 0 && info.nPos + static_cast<int>(info.nPage) <= info.nMax) ScrollRows(-notches);
  } else if (m_dwScrollFlags & WS_HSCROLL) {
    ScrollHorz(notches * kLineStep);
  }
  return TRUE;
}

template <class Base>
void SECListEngine<Base>::OnSize(UINT nType, int cx, int cy) {
  PositionScrollBars();
  if (GetColumnCount() > 0) {
    FitColumnsIfNeeded();
    RecalcLayout();
  }
  Base::OnSize(nType, cx, cy);
}

// ---- painting ----

template <class Base>
CDC* SECListEngine<Base>::CreateMemDC(CDC* pDC, const CRect& rect) {
  if (m_bColumnDrag) return pDC;
  return new kelpwood::foundation::SECMemDC(pDC, rect);
}

template <class Base>
void SECListEngine<Base>::OnPaint() {
  CPaintDC dc(this);
  Paint(&dc);
}

template <class Base>
void SECListEngine<Base>::Paint(CDC* pDC) {
  CDC* dc = pDC;
  CDC* memDC = nullptr;
  CRect client;
  GetClientRect(&client);
  if (!pDC->IsPrinting()) {
    try {
      memDC = CreateMemDC(pDC, client);
    } catch (CException* e) {
      e->Delete();
      memDC = pDC;
    }
    dc = memDC;
    dc->FillSolidRect(&client, GetBkColor());
  }
  SECListPaintContext* context = CreatePaintContext(dc);
  int saved = dc->SaveDC();
  if (HasHeader()) DrawHeader(context);
  CRect area;
  GetListArea(&area);
  dc->IntersectClipRect(&area);
  DrawItems(context);
  dc->RestoreDC(saved);
  delete context;
  if (memDC != nullptr && memDC != pDC) delete memDC;
  if ((m_dwScrollFlags & (WS_HSCROLL | WS_VSCROLL)) == (WS_HSCROLL | WS_VSCROLL) && !pDC->IsPrinting()) {
    CRect corner(area.right - 1, area.bottom - 1, area.right - 1 + ScrollBarWidth(), area.bottom - 1 + ScrollBarHeight());
    pDC->FillSolidRect(&corner, SECListButtonFace());
  }
}

template <class Base>
void SECListEngine<Base>::DrawItems(SECListPaintContext* pContext) {
  CDC* dc = pContext->m_pDC;
  CRect area;
  GetListArea(&area);
  CRect clip;
  dc->GetClipBox(&clip);
  int end = GetItemCount();
  pContext->m_nRowsDrawn = 0;
  // The page is the rows shown whole: counting the one cut at the bottom would stop every way
  // down (line, page, bottom, wheel) one row short of showing the last row whole.
  int page = 0;
  CFont* old = dc->SelectObject(GetRowFont());
  UINT view = m_dwListStyle & LVS_TYPEMASK;
  if (view == LVS_REPORT) {
    CRect row(-m_nHorzOffset, area.top, GetColumnsWidth(GetColumnCount()) - m_nHorzOffset, area.top);
    for (int index = m_nTopRow; index < end; ++index) {
      SECListItem* item = m_items[static_cast<size_t>(index)];
      pContext->m_nRow = index;
      pContext->m_pItem = item;
      if (item->m_bDirty || item->m_cy < 0) MeasureItem(pContext);
      row.top = row.bottom;
      row.bottom = row.top + std::max(item->m_cy, 0) + GetRowSpacing();
      pContext->m_rcRow = row;
      // A printed page ends with the last whole row; the next page starts with the cut one.
      if (pContext->m_bPrinting && row.bottom > area.bottom && index > m_nTopRow) break;
      CRect visible;
      if (pContext->m_bPrinting || visible.IntersectRect(&row, &clip) || row.Height() == 0) {
        pContext->m_lvi.mask = 0;
        DrawItem(pContext);
        if (pContext->m_lvi.mask & LVIF_DI_SETITEM) StoreFetchedItem(pContext);
      }
      ++pContext->m_nRowsDrawn;
      if (row.bottom <= area.bottom) ++page;
      if (row.bottom >= area.bottom) break;
    }
  } else if (view == LVS_ICON) {
    int width = GetColumnWidth(0);
    int x = area.left - m_nHorzOffset, y = area.top, lineHeight = 0;
    for (int index = m_nTopRow; index < end && y < area.bottom; ++index) {
      SECListItem* item = m_items[static_cast<size_t>(index)];
      pContext->m_nRow = index;
      pContext->m_pItem = item;
      if (item->m_bDirty || item->m_cy < 0) MeasureItem(pContext);
      if (x + width > area.right && x > area.left) {
        x = area.left - m_nHorzOffset;
        y += lineHeight;
        lineHeight = 0;
      }
      pContext->m_rcRow = CRect(x, y, x + width, y + item->m_cy);
      DrawItem(pContext);
      ++pContext->m_nRowsDrawn;
      ++page;
      lineHeight = std::max(lineHeight, item->m_cy);
      x += width;
    }
  }
  dc->SelectObject(old);
  if (!pContext->m_bPrinting) {
    if (CScrollBar* bar = GetScrollBarCtrl(SB_VERT)) {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_PAGE | SIF_POS;
      info.nPage = static_cast<UINT>(std::max(1, page));
      info.nPos = m_nTopRow;
      bar->SetScrollInfo(&info, FALSE);
    }
  }
}

template <class Base>
void SECListEngine<Base>::StoreFetchedItem(SECListPaintContext* pContext) {
  LVITEM item = pContext->m_lvi;
  item.iItem = pContext->m_nRow;
  SetItem(&item, FALSE);
}

template <class Base>
void SECListEngine<Base>::DrawItem(SECListPaintContext* pContext) {
  SECListItem* item = pContext->m_pItem;
  if (NeedsParent(pContext->m_nRow)) MeasureItem(pContext);
  CDC* dc = pContext->m_pDC;
  CRect clip;
  dc->GetClipBox(&clip);
  int left = pContext->m_rcRow.left;
  bool icon = pContext->m_nView == LVS_ICON;
  for (int col = 0; col < GetColumnCount() && !(icon && col > 0); ++col) {
    SECListColumn* column = m_columns[static_cast<size_t>(col)];
    CRect cell(left, pContext->m_rcRow.top, left + column->m_nWidth, pContext->m_rcRow.bottom);
    if (icon) cell = pContext->m_rcRow;
    if (GetColumnCount() == 1) cell.right = std::max(cell.right, static_cast<LONG>(left + item->m_rcText.right));
    left += column->m_nWidth;
    CRect visible;
    if (!pContext->m_bPrinting && !visible.IntersectRect(&cell, &clip)) continue;
    pContext->m_nCol = col;
    pContext->m_pColumn = column;
    pContext->m_nSubItem = column->m_nSubItem;
    pContext->m_pSubItem = column->m_nSubItem >= 1 && column->m_nSubItem <= static_cast<int>(item->m_subItems.size())
                               ? item->m_subItems[static_cast<size_t>(column->m_nSubItem - 1)]
                               : nullptr;
    pContext->m_rcCell = cell;
    FetchDisplayData(pContext);
    DrawCell(pContext);
  }
  if (pContext->m_nView != LVS_REPORT) return;
  HWND hwnd = this->GetSafeHwnd();
  if (IsExStyleSet(LVXS_FULLROWSELECT) && pContext->m_nRow == m_nFocusRow && hwnd != nullptr &&
      ::GetFocus() == hwnd && GetColumnCount() > 1 && !pContext->m_bPrinting) {
    CRect focus = pContext->m_rcRow;
    int label = FindColumnIndex(0);
    if (label >= 0) focus.left = GetColumnLeft(label) - m_nHorzOffset + item->m_rcText.left - 3;
    dc->DrawFocusRect(&focus);
  }
  if (IsExStyleSet(LVXS_VGRID)) DrawVerticalGrid(pContext);
  if (IsExStyleSet(LVXS_HGRID)) DrawHorizontalGrid(pContext);
}

template <class Base>
void SECListEngine<Base>::FetchDisplayData(SECListPaintContext* pContext) {
  LVITEM& lvi = pContext->m_lvi;
  UINT previous = lvi.mask & LVIF_DI_SETITEM;
  lvi = LVITEM{};
  lvi.mask = LVIF_TEXT | LVIF_STATE | LVIF_IMAGE;
  lvi.iItem = pContext->m_nRow;
  lvi.iSubItem = pContext->m_nSubItem;
  // Every state bit a row's look depends on: 0x10 is the bold bit a tree keeps for its items, 0x100
  // the grey bit.
  lvi.stateMask = LVIS_FOCUSED | LVIS_SELECTED | LVIS_DROPHILITED | 0x10 | 0x100 | LVIS_OVERLAYMASK | LVIS_STATEIMAGEMASK;
  lvi.pszText = m_szTextBuffer;
  lvi.cchTextMax = kListTextBufferSize;
  m_szTextBuffer[0] = '\0';
  if (pContext->m_nSubItem != 0) lvi.mask &= ~static_cast<UINT>(LVIF_IMAGE);
  GetItem(&lvi, TRUE, TRUE);
  if (lvi.mask & LVIF_DI_SETITEM) {
    LVITEM store = lvi;
    SetItem(&store, FALSE);
  }
  lvi.mask |= previous;
  pContext->m_pszText = lvi.pszText;
  PrepareCellBkColor(pContext);
  PrepareCellIconBkColor(pContext);
  SelectItemFont(pContext);
  GetCellColors(pContext);
}

template <class Base>
void SECListEngine<Base>::PrepareCellBkColor(SECListPaintContext* pContext) {
  pContext->m_rgbCellBk = GetBkColor();
}

template <class Base>
void SECListEngine<Base>::PrepareCellIconBkColor(SECListPaintContext* pContext) {
  HWND hwnd = this->GetSafeHwnd();
  if (hwnd != nullptr && !::IsWindowEnabled(hwnd)) {
    pContext->m_rgbIconBk = GetBkColor();
  } else {
    bool focused = hwnd != nullptr && ::GetFocus() == hwnd;
    pContext->m_rgbIconBk = (pContext->m_lvi.state & LVIS_SELECTED) && focused ? m_rgbSelIconBk : m_rgbIconBk;
  }
}

template <class Base>
void SECListEngine<Base>::SelectItemFont(SECListPaintContext* pContext) {
  pContext->m_pFont = GetRowFont();
}

template <class Base>
void SECListEngine<Base>::GetCellColors(SECListPaintContext* pContext) {
  HWND hwnd = this->GetSafeHwnd();
  UINT state = pContext->m_lvi.state;
  bool grey = (state & 0x100) != 0;
  bool labelCell = pContext->m_nSubItem == 0 || IsExStyleSet(LVXS_FULLROWSELECT);
  if (hwnd != nullptr && !::IsWindowEnabled(hwnd)) {
    pContext->m_rgbText = m_rgbGreyText;
    pContext->m_rgbBk = SECListInactiveSelBk();
    return;
  }
  bool focused = hwnd != nullptr && (::GetFocus() == hwnd || (m_nEditedRow >= 0));
  bool hasFocus = hwnd != nullptr && ::GetFocus() == hwnd;
  bool highlighted = (state & LVIS_SELECTED) && (hasFocus || IsStyleSet(LVS_SHOWSELALWAYS) || m_nEditedRow >= 0) && labelCell;
  if (pContext->m_bPrinting) highlighted = false;
  if (highlighted) {
    if (!focused) {
      pContext->m_rgbText = SECListInactiveSelText();
      pContext->m_rgbBk = SECListInactiveSelBk();
    } else {
      pContext->m_rgbText = grey ? m_rgbGreyText : m_rgbSelText;
      pContext->m_rgbBk = m_rgbSelBk;
    }
  } else {
    pContext->m_rgbText = grey ? m_rgbGreyText : m_rgbText;
    pContext->m_rgbBk = m_rgbTextBk;
  }
  if ((state & LVIS_DROPHILITED) && labelCell) {
    pContext->m_rgbText = m_rgbSelText;
    pContext->m_rgbBk = m_rgbSelBk;
  }
}

template <class Base>
void SECListEngine<Base>::DrawCell(SECListPaintContext* pContext) {
  CDC* dc = pContext->m_pDC;
  dc->FillSolidRect(&pContext->m_rcCell, pContext->m_rgbCellBk);
  if (pContext->m_nSubItem == 0) DrawItemImage(pContext);
  DrawCellText(pContext);
}

template <class Base>
void SECListEngine<Base>::DrawItemImage(SECListPaintContext* pContext) {
  SECListItem* item = pContext->m_pItem;
  if (::IsRectEmpty(&item->m_rcIcon)) return;
  CImageList* list = GetImageList(pContext->m_nView == LVS_ICON ? LVSIL_NORMAL : LVSIL_SMALL);
  if (list == nullptr || list->GetSafeHandle() == nullptr) return;
  CPoint at(pContext->m_rcCell.left + item->m_rcIcon.left, pContext->m_rcCell.top + item->m_rcIcon.top);
  if (pContext->m_nView == LVS_ICON) {
    int iconWidth = item->m_rcIcon.right - item->m_rcIcon.left;
    at.x = pContext->m_rcCell.left + (pContext->m_rcCell.Width() - iconWidth) / 2;
  }
  list->SetBkColor(pContext->m_rgbIconBk);
  UINT style = ILD_NORMAL | (pContext->m_lvi.state & LVIS_OVERLAYMASK);
  list->Draw(pContext->m_pDC, pContext->m_lvi.iImage, at, style);
}

template <class Base>
void SECListEngine<Base>::DrawCellText(SECListPaintContext* pContext) {
  CDC* dc = pContext->m_pDC;
  SECListItem* item = pContext->m_pItem;
  const CRect& cell = pContext->m_rcCell;
  CRect text(cell.left + 6, cell.top + 2, cell.right - 5, cell.bottom);
  bool label = pContext->m_nSubItem == 0;
  if (label && !::IsRectEmpty(&item->m_rcIcon)) {
    text = item->m_rcText;
    text.OffsetRect(cell.left, cell.top);
    if (pContext->m_nView != LVS_ICON) {
      text.left = cell.left + item->m_rcIcon.right + 4;
      text.top += 0;
    }
  }
  bool selected = (pContext->m_lvi.state & (LVIS_SELECTED | LVIS_DROPHILITED)) != 0;
  if (IsExStyleSet(LVXS_FULLROWSELECT)) {
    if (selected) dc->FillSolidRect(&cell, pContext->m_rgbBk);
  } else if (label) {
    CRect fill = item->m_rcText;
    fill.OffsetRect(cell.left, cell.top);
    fill.left -= 2;
    fill.right += 2;
    if (pContext->m_nView != LVS_ICON && !::IsRectEmpty(&item->m_rcIcon)) fill.left = text.left - 2;
    fill.bottom = std::min(fill.bottom, cell.bottom);
    if (pContext->m_rgbBk != pContext->m_rgbCellBk) dc->FillSolidRect(&fill, pContext->m_rgbBk);
  }
  if (pContext->m_nRow == m_nEditedRow && pContext->m_nCol == m_nFocusCol) return;
  const char* str = pContext->m_pszText != nullptr && pContext->m_pszText != kListTextCallback ? pContext->m_pszText : "";
  int length = static_cast<int>(std::strlen(str));
  UINT flags = kLabelFlags | AlignFlags(pContext->m_pColumn != nullptr ? pContext->m_pColumn->m_nFormat : 0);
  if (IsStyleSet(LVS_NOLABELWRAP)) {
    flags |= DT_SINGLELINE | DT_END_ELLIPSIS;
    flags &= ~static_cast<UINT>(DT_WORDBREAK);
    length = FirstLineLength(str);
  }
  CFont* old = dc->SelectObject(pContext->m_pFont != nullptr ? pContext->m_pFont : GetRowFont());
  dc->SetTextColor(pContext->m_rgbText);
  dc->SetBkMode(TRANSPARENT);
  if (!label || IsStyleSet(LVS_NOLABELWRAP) || text.right > text.left) dc->DrawText(str, length, &text, flags);
  dc->SelectObject(old);
}

template <class Base>
CPen* SECListEngine<Base>::GetShadowPen() {
  static CPen* pen = [] {
    auto* made = new CPen;
    made->CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    return made;
  }();
  return pen;
}

template <class Base>
void SECListEngine<Base>::DrawVerticalGrid(SECListPaintContext* pContext) {
  CDC* dc = pContext->m_pDC;
  CPen* old = dc->SelectObject(GetShadowPen());
  int x = pContext->m_rcRow.left;
  int count = GetColumnCount();
  if (IsExStyleSet(LVXS_FITCOLUMNSONSIZE)) --count;
  for (int col = 0; col < count; ++col) {
    x += m_columns[static_cast<size_t>(col)]->m_nWidth;
    dc->MoveTo(x - 1, pContext->m_rcRow.top);
    dc->LineTo(x - 1, pContext->m_rcRow.bottom);
  }
  if (pContext->m_nRow == GetItemCount() - 1) {
    dc->MoveTo(pContext->m_rcRow.left, pContext->m_rcRow.bottom - 1);
    dc->LineTo(pContext->m_rcRow.right, pContext->m_rcRow.bottom - 1);
  }
  dc->SelectObject(old);
}

template <class Base>
void SECListEngine<Base>::DrawHorizontalGrid(SECListPaintContext* pContext) {
  CDC* dc = pContext->m_pDC;
  CPen* old = dc->SelectObject(GetShadowPen());
  dc->MoveTo(pContext->m_rcRow.left, pContext->m_rcRow.bottom - 1);
  dc->LineTo(pContext->m_rcRow.right, pContext->m_rcRow.bottom - 1);
  dc->SelectObject(old);
}

// ---- the header band ----

template <class Base>
void SECListEngine<Base>::DrawHeaderImage(CDC* pDC, int nCol, CRect& rcText) {
  SECListColumn* column = GetColumnRecord(nCol);
  CImageList* list = GetImageList(3);
  if (column == nullptr || list == nullptr || list->GetSafeHandle() == nullptr || column->m_iImage < 0 ||
      rcText.Width() <= 22)
    return;
  CString text = column->m_strText;
  int textWidth = pDC->GetTextExtent(text).cx;
  int top = rcText.top + 1;
  if (column->m_nFormat & LVCFMT_BITMAP_ON_RIGHT) {
    int x = std::min(static_cast<int>(rcText.left) + textWidth + 10, static_cast<int>(rcText.right) - 16);
    HICON icon = ImageList_GetIcon(list->GetSafeHandle(), column->m_iImage, ILD_NORMAL);
    ::DrawIconEx(pDC->GetSafeHdc(), x, top, icon, 16, 16, 0, nullptr, DI_NORMAL);
    ::DestroyIcon(icon);
    rcText.right = x - 10;
    return;
  }
  int block = textWidth + 26;
  int x = rcText.left;
  if (column->m_nFormat & 2) x = rcText.left + std::max(0, (rcText.Width() - block) / 2);
  else if (column->m_nFormat & 1) x = std::max(static_cast<int>(rcText.left), static_cast<int>(rcText.right) - block);
  HICON icon = ImageList_GetIcon(list->GetSafeHandle(), column->m_iImage, ILD_NORMAL);
  ::DrawIconEx(pDC->GetSafeHdc(), x, top, icon, 16, 16, 0, nullptr, DI_NORMAL);
  ::DestroyIcon(icon);
  rcText.left = x + 26;
  rcText.right = std::max(rcText.right, rcText.left);
}

namespace {

template <class Engine>
void DrawHeaderText(Engine* list, CDC* dc, int col, CRect button, bool pressed) {
  SECListColumn* column = list->GetColumnRecord(col);
  CRect text(button.left + 6, button.top, button.right - 5, button.bottom);
  if (pressed) text.OffsetRect(1, 1);
  list->DrawHeaderImage(dc, col, text);
  bool imageFirst = list->GetImageList(3) != nullptr && column->m_iImage >= 0 && !(column->m_nFormat & LVCFMT_BITMAP_ON_RIGHT);
  UINT flags = kHeaderFlags | (imageFirst ? 0 : AlignFlags(column->m_nFormat));
  if (dc->GetTextExtent(column->m_strText).cx > text.Width()) flags |= DT_END_ELLIPSIS;
  dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
  dc->DrawText(column->m_strText, &text, flags);
}

}  // namespace

template <class Base>
void SECListEngine<Base>::DrawHeader(SECListPaintContext* pContext) {
  CDC* dc = pContext->m_pDC;
  CRect client;
  GetClientRect(&client);
  int width = std::max(GetColumnsWidth(GetColumnCount()), static_cast<int>(client.Width()) + 1);
  CRect band(-m_nHorzOffset, client.top, width - m_nHorzOffset, client.top + m_nHeaderHeight);
  if (!pContext->m_bPrinting && !dc->RectVisible(&band)) return;
  CFont* old = dc->SelectObject(GetHeaderFont());
  dc->FillSolidRect(&band, SECListButtonFace());
  int x = band.left;
  for (int col = 0; col < GetColumnCount(); ++col) {
    CRect button(x, band.top, x + m_columns[static_cast<size_t>(col)]->m_nWidth, band.bottom);
    x = button.right;
    dc->DrawFrameControl(&button, DFC_BUTTON, DFCS_BUTTONPUSH);
    DrawHeaderText(this, dc, col, button, false);
  }
  CRect rest(x, band.top, band.right + 2, band.bottom);
  dc->DrawFrameControl(&rest, DFC_BUTTON, DFCS_BUTTONPUSH);
  dc->SelectObject(old);
}

template <class Base>
void SECListEngine<Base>::DrawHeaderButton(int nCol, BOOL bPressed) {
  if (this->GetSafeHwnd() == nullptr || GetColumnRecord(nCol) == nullptr || !HasHeader()) return;
  CClientDC dc(this);
  CRect client;
  GetClientRect(&client);
  CRect band(client.left, client.top, client.right, client.top + m_nHeaderHeight);
  if (m_dwScrollFlags & WS_VSCROLL) band.right -= ScrollBarWidth() - 1;
  dc.IntersectClipRect(&band);
  int left = GetColumnLeft(nCol) - m_nHorzOffset;
  CRect button(left, band.top, left + m_columns[static_cast<size_t>(nCol)]->m_nWidth, band.bottom);
  dc.FillSolidRect(&button, SECListButtonFace());
  dc.DrawFrameControl(&button, DFC_BUTTON, DFCS_BUTTONPUSH | (bPressed ? DFCS_PUSHED | DFCS_FLAT : 0));
  CFont* old = dc.SelectObject(GetHeaderFont());
  DrawHeaderText(this, &dc, nCol, button, bPressed != FALSE);
  dc.SelectObject(old);
}

template <class Base>
CImageList* SECListEngine<Base>::CreateHeaderDragImage(int nCol) {
  SECListColumn* column = GetColumnRecord(nCol);
  if (column == nullptr || this->GetSafeHwnd() == nullptr) return nullptr;
  int width = std::max(1, column->m_nWidth), height = m_nHeaderHeight;
  CClientDC screen(this);
  CDC dc;
  CBitmap bitmap;
  if (!dc.CreateCompatibleDC(&screen) || !bitmap.CreateCompatibleBitmap(&screen, width, height)) return nullptr;
  CBitmap* old = dc.SelectObject(&bitmap);
  CRect button(0, 0, width, height);
  dc.FillSolidRect(&button, SECListButtonFace());
  dc.DrawFrameControl(&button, DFC_BUTTON, DFCS_BUTTONPUSH);
  CFont* oldFont = dc.SelectObject(GetHeaderFont());
  DrawHeaderText(this, &dc, nCol, button, false);
  dc.SelectObject(oldFont);
  dc.SelectObject(old);
  auto* list = new CImageList;
  if (!list->Create(width, height, ILC_COLOR24 | ILC_MASK, 1, 1) || list->Add(&bitmap, RGB(255, 0, 255)) < 0) {
    delete list;
    return nullptr;
  }
  return list;
}

template class SECListEngine<CWnd>;
template class SECListEngine<CView>;
