// The list engine's input: hit testing, the one road of selection changes, mouse and keys,
// column sizing and moving, type-ahead, in-place label editing and the notifications.
#include <algorithm>

#include "widgets/SECListBase.h"
#include "widgets/SECListTip.h"

namespace {
constexpr int kDividerBand = 4;
constexpr UINT kLabelEditDelay = 500;
}  // namespace

// ---- notifications ----

template <class Base>
LRESULT SECListEngine<Base>::NotifyParent(UINT nCode) {
  NMHDR hdr{};
  return SendNotify(&hdr, nCode);
}

template <class Base>
LRESULT SECListEngine<Base>::NotifyKeyDown(UINT nVKey) {
  NMLVKEYDOWN nm{};
  nm.wVKey = static_cast<WORD>(nVKey);
  return SendNotify(&nm.hdr, LVN_KEYDOWN);
}

template <class Base>
LRESULT SECListEngine<Base>::NotifyColumnClick(int nCol) {
  NMLISTVIEW nm{};
  nm.iItem = -1;
  nm.iSubItem = nCol;
  return SendNotify(&nm.hdr, LVN_COLUMNCLICK);
}

template <class Base>
LRESULT SECListEngine<Base>::NotifyBeginLabelEdit(int nRow, int nCol) {
  NMLVDISPINFO info{};
  info.item.mask = LVIF_TEXT;
  info.item.iItem = nRow;
  info.item.iSubItem = GetColumnSubItem(nCol);
  info.item.lParam = GetItemDataFromRecord(GetItemRecord(nRow));
  return SendNotify(&info.hdr, LVN_BEGINLABELEDIT);
}

template <class Base>
BOOL SECListEngine<Base>::NotifyEndLabelEdit(int nRow, int nCol, CString& strText, BOOL bAccepted) {
  CWnd* target = GetNotifyWindow();
  if (target == nullptr) return bAccepted;
  // The parent gets a copy in a buffer of its own size; the copy is bounded to it.
  std::vector<char> buffer(kListTextBufferSize, '\0');
  lstrcpyn(buffer.data(), strText, kListTextBufferSize);
  NMLVDISPINFO info{};
  info.item.mask = LVIF_TEXT;
  info.item.iItem = nRow;
  info.item.iSubItem = GetColumnSubItem(nCol);
  info.item.lParam = GetItemDataFromRecord(GetItemRecord(nRow));
  info.item.pszText = bAccepted ? buffer.data() : nullptr;
  info.item.cchTextMax = bAccepted ? kListTextBufferSize : 0;
  SendNotify(&info.hdr, LVN_ENDLABELEDIT);
  if (!bAccepted || m_lNotifyResult == 0) return FALSE;
  buffer.back() = '\0';
  strText = buffer.data();
  return TRUE;
}

template <class Base>
void SECListEngine<Base>::HideTip() {
  if (m_pTip != nullptr) m_pTip->Hide();
}

// ---- hit testing ----

template <class Base>
int SECListEngine<Base>::HitTest(CPoint point, UINT* pFlags, int* pnCol) {
  UINT flags = 0;
  int col = -1;
  CRect client;
  GetClientRect(&client);
  if (!client.PtInRect(point)) {
    if (point.y < client.top) flags |= LVHT_ABOVE;
    if (point.y >= client.bottom) flags |= LVHT_BELOW;
    if (point.x >= client.right) flags |= LVHT_TORIGHT;
    if (point.x < client.left) flags |= LVHT_TOLEFT;
    if (pFlags != nullptr) *pFlags = flags;
    if (pnCol != nullptr) *pnCol = -1;
    return -1;
  }
  if (GetColumnCount() == 1) {
    col = 0;
  } else {
    int x = -m_nHorzOffset;
    for (int index = 0; index < GetColumnCount(); ++index) {
      int right = x + m_columns[static_cast<size_t>(index)]->m_nWidth;
      if (point.x >= x && point.x < right) {
        col = index;
        break;
      }
      x = right;
    }
  }
  int result = -1;
  CRect area;
  GetListArea(&area);
  if (area.PtInRect(point)) {
    int top = area.top;
    for (int row = m_nTopRow; row < GetItemCount() && top < area.bottom; ++row) {
      int bottom = top + RowHeight(row);
      if (point.y >= top && point.y < bottom) {
        result = row;
        flags |= LVHT_ONROW;
        if (col >= 0 && m_columns[static_cast<size_t>(col)]->m_nSubItem == 0) {
          SECListItem* item = m_items[static_cast<size_t>(row)];
          CPoint local(point.x - (GetColumnLeft(col) - m_nHorzOffset), point.y - top);
          if (::PtInRect(&item->m_rcText, local)) flags |= LVHT_ONITEMLABEL;
          else if (::PtInRect(&item->m_rcIcon, local)) flags |= LVHT_ONITEMICON;
          else if (::PtInRect(&item->m_rcStateIcon, local)) flags |= LVHT_ONITEMSTATEICON;
          else if (local.x < item->m_rcText.left) flags |= LVHT_LEFTOFLABEL;
          else flags |= LVHT_RIGHTOFLABEL;
        }
        break;
      }
      top = bottom;
    }
  } else if (HasHeader() && point.y < client.top + m_nHeaderHeight) {
    int count = GetColumnCount();
    if (IsExStyleSet(LVXS_FITCOLUMNSONSIZE)) --count;
    int x = -m_nHorzOffset;
    for (int index = 0; index < GetColumnCount(); ++index) {
      int right = x + m_columns[static_cast<size_t>(index)]->m_nWidth;
      if (index < count && point.x >= right - kDividerBand && point.x <= right + kDividerBand) {
        flags |= LVHT_ONDIVIDER;
        result = index;
        break;
      }
      if (point.x >= x && point.x < right) {
        flags |= LVHT_ONHEADER;
        result = index;
        // a divider of this column's right edge is tested on the next turn
        if (index + 1 < count && point.x >= right - kDividerBand) continue;
        break;
      }
      x = right;
    }
    if (flags & (LVHT_ONDIVIDER | LVHT_ONHEADER)) col = result;
  }
  if (flags == 0) flags = LVHT_NOWHERE;
  if (pFlags != nullptr) *pFlags = flags;
  if (pnCol != nullptr) *pnCol = col;
  return result;
}

template <class Base>
void SECListEngine<Base>::OnItemClick(CPoint point, int nRow, UINT nFlags, BOOL* pbOnItem, BOOL* pbOnLabel) {
  BOOL onItem = FALSE, onLabel = FALSE;
  if (nRow >= 0 && (nFlags & (LVHT_ONITEMICON | LVHT_ONITEMLABEL))) {
    onItem = onLabel = TRUE;
  } else if (nRow >= 0 && (nFlags & LVHT_ONROW) && !(nFlags & LVHT_ONITEMSTATEICON)) {
    if (IsExStyleSet(LVXS_FULLROWSELECT)) {
      onItem = TRUE;
    } else if (nFlags & LVHT_LEFTOFLABEL) {
      int label = FindColumnIndex(0);
      int left = GetColumnLeft(label) - m_nHorzOffset;
      onItem = label >= 0 && point.x >= left && point.x < left + m_columns[static_cast<size_t>(label)]->m_nWidth;
    }
  } else if ((nFlags & LVHT_ONHEADER) && IsExStyleSet(LVXS_HEADERDRAGITEM) && nRow > 0) {
    onItem = TRUE;
  }
  if (pbOnItem != nullptr) *pbOnItem = onItem;
  if (pbOnLabel != nullptr) *pbOnLabel = onLabel;
}

// ---- selection ----

template <class Base>
BOOL SECListEngine<Base>::SelectionChange(int nRow, UINT nHow, UINT nKeyFlags, BOOL bToggle) {
  if (!IsValidRow(nRow)) return FALSE;
  int old = m_nFocusRow;
  bool shift = (nKeyFlags & SECLKF_SHIFT) != 0, ctrl = (nKeyFlags & SECLKF_CTRL) != 0;
  if (IsMultiSel() && (shift || ctrl)) {
    if (m_bVeto) return FALSE;
    if (ctrl && !shift) {
      if (bToggle) {
        m_bVeto = OnSelChanging(nRow, old, 0) != 0;
        if (m_bVeto) return FALSE;
        HideTip();
        SetFocusSel(nRow, !IsSelectedRow(nRow));
        OnSelChanged(nRow, old, 0);
      } else {
        HideTip();
        SetFocusRow(nRow);
      }
      return TRUE;
    }
    if (m_nAnchorRow < 0 || nRow == m_nFocusRow) return TRUE;
    m_bVeto = OnSelChanging(nRow, old, 0) != 0;
    if (m_bVeto) return FALSE;
    HideTip();
    int anchor = m_nAnchorRow;
    DeselectAllExcept(-1);
    int from = std::min(anchor, nRow), to = std::max(anchor, nRow);
    for (int row = from; row <= to; ++row) SelectionAdd(row);
    if (m_nFocusRow >= 0 && m_nFocusRow != nRow) RedrawItem(m_nFocusRow);
    m_nFocusRow = nRow;
    m_nAnchorRow = anchor;
    RedrawItems(from, to);
    OnSelChanged(nRow, old, 0);
    return TRUE;
  }
  bool selected = IsSelectedRow(nRow);
  if (nRow == m_nFocusRow && selected) return TRUE;
  if (selected && GetSelectedCount() > 1) return TRUE;
  if ((nHow & 0x02) && selected) {
    HideTip();
    int anchor = m_nAnchorRow;
    SetFocusRow(nRow);
    m_nAnchorRow = anchor;
    return TRUE;
  }
  m_bVeto = OnSelChanging(nRow, old, 0) != 0;
  if (m_bVeto) return FALSE;
  HideTip();
  DeselectAllExcept(nRow);
  SetFocusSel(nRow, TRUE);
  OnSelChanged(nRow, old, 0);
  return TRUE;
}

// ---- mouse ----

template <class Base>
void SECListEngine<Base>::OnLButtonDown(UINT nFlags, CPoint point) {
  HWND hwnd = this->GetSafeHwnd();
  if (::GetFocus() != hwnd) this->SetFocus();
  UINT flags = 0;
  int col = -1;
  int row = HitTest(point, &flags, &col);
  if (col >= 0) m_nFocusCol = col;
  m_bPressPending = FALSE;
  if ((flags & LVHT_ONDIVIDER) && row >= 0 && row < GetColumnCount() - (IsExStyleSet(LVXS_FITCOLUMNSONSIZE) ? 1 : 0) &&
      !(row == GetColumnCount() - 1 && GetColumnCount() > 1 && IsExStyleSet(LVXS_FITCOLUMNSONSIZE))) {
    int delta = TrackDivider(row, point);
    if (delta != 0 && this->GetSafeHwnd() != nullptr) {
      SECListColumn* column = m_columns[static_cast<size_t>(row)];
      column->m_nWidth += delta;
      if (IsExStyleSet(LVXS_FITCOLUMNSONSIZE) && row + 1 < GetColumnCount())
        m_columns[static_cast<size_t>(row + 1)]->m_nWidth -= delta;
      for (SECListColumn* each : m_columns) {
        if (each->m_nWidth < 6) each->m_nWidth = 5;
      }
      if (IsExStyleSet(LVXS_FITCOLUMNSONSIZE)) {
        CRect area;
        GetListArea(&area);
        int excess = GetColumnsWidth(GetColumnCount()) - area.Width();
        if (excess > 0) m_columns[0]->m_nWidth = std::max(5, m_columns[0]->m_nWidth - excess);
      }
      if (IsLabelWrap()) InvalidateItemHeights(this);
      RecalcLayout();
      this->Invalidate();
    }
  } else {
    BOOL onItem = FALSE, onLabel = FALSE;
    OnItemClick(point, row, flags, &onItem, &onLabel);
    if ((flags & LVHT_ONHEADER) && !IsStyleSet(LVS_NOSORTHEADER)) {
      m_nPressedHeader = row;
      DrawHeaderButton(row, TRUE);
      Base::SetCapture();
    } else if (onItem && row >= 0 && !(flags & LVHT_ONHEADER)) {
      if (SelectionChange(row, flags, nFlags & (MK_SHIFT | MK_CONTROL), TRUE)) OnSelectionMoved(row, TRUE);
      m_bPressPending = TRUE;
    }
  }
  m_ptMouseDown = point;
  if (m_pTip != nullptr) m_pTip->Refresh();
  m_bItemDrag = FALSE;
  m_bColumnDrag = FALSE;
}

template <class Base>
int SECListEngine<Base>::DividerColumnX(int nCol) const {
  return GetColumnLeft(nCol) - m_nHorzOffset;
}

template <class Base>
int SECListEngine<Base>::TrackDivider(int nCol, CPoint point) {
  HWND hwnd = this->GetSafeHwnd();
  if (::GetCapture() != nullptr || hwnd == nullptr) return 0;
  Base::SetCapture();
  this->UpdateWindow();
  CRect client;
  GetClientRect(&client);
  int minimum = DividerColumnX(nCol) + 10;
  int start = point.x, x = std::max(point.x, static_cast<LONG>(minimum));
  auto drawLine = [&](int at) {
    CClientDC dc(this);
    CRect line(at - 1, client.top, at + 1, client.bottom);
    dc.InvertRect(&line);
  };
  drawLine(x);
  int result = 0;
  bool done = false, cancelled = false;
  while (!done) {
    if (!::IsWindow(hwnd) || ::GetCapture() != hwnd) break;  // destroyed or capture lost
    MSG msg;
    if (!::GetMessage(&msg, nullptr, 0, 0)) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    switch (msg.message) {
      case WM_MOUSEMOVE: {
        int now = std::max(static_cast<int>(GET_X_LPARAM(msg.lParam)), minimum);
        if (now != x) {
          drawLine(x);
          x = now;
          drawLine(x);
        }
        break;
      }
      case WM_LBUTTONUP:
        x = std::max(static_cast<int>(GET_X_LPARAM(msg.lParam)), minimum);
        done = true;
        break;
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) done = cancelled = true;
        break;
      case WM_RBUTTONDOWN: done = cancelled = true; break;
      default: ::DispatchMessage(&msg); break;
    }
  }
  if (!::IsWindow(hwnd)) return 0;
  drawLine(x);
  if (::GetCapture() == hwnd) ::ReleaseCapture();
  if (!cancelled) result = x - start;
  return result;
}

template <class Base>
void SECListEngine<Base>::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bItemDrag && !m_bColumnDrag) {
    if (nFlags & MK_LBUTTON) OnItemDrag(m_nFocusRow, m_ptMouseDown);
    else OnItemRDrag(m_nFocusRow, m_ptMouseDown);
    return;
  }
  UINT flags = 0;
  int col = -1;
  int row = HitTest(point, &flags, &col);
  m_bOnDivider = (flags & LVHT_ONDIVIDER) != 0;
  if (m_nPressedHeader >= 0 && !m_bColumnDrag && !((flags & LVHT_ONHEADER) && row == m_nPressedHeader)) {
    if (!((nFlags & MK_LBUTTON) && m_nPressedHeader > 0 && m_bPressPending)) {
      DrawHeaderButton(m_nPressedHeader, FALSE);
      if (::GetCapture() == this->GetSafeHwnd()) ::ReleaseCapture();
      m_nPressedHeader = -1;
    }
  }
  int dx = std::abs(point.x - m_ptMouseDown.x), dy = std::abs(point.y - m_ptMouseDown.y);
  if (m_nFocusRow >= 0 && m_bPressPending && (nFlags & (MK_LBUTTON | MK_RBUTTON)) && (dx > 3 || dy > 3) &&
      !(flags & (LVHT_ONHEADER | LVHT_ONDIVIDER))) {
    m_bItemDrag = TRUE;
    m_bPressPending = FALSE;
    HideTip();
    if (nFlags & MK_LBUTTON) {
      OnItemDrag(m_nFocusRow, m_ptMouseDown);
    } else {
      m_bRightDragBegun = TRUE;
      OnItemRDrag(m_nFocusRow, m_ptMouseDown);
    }
    return;
  }
  if (m_nPressedHeader > 0 && !m_bColumnDrag && (nFlags & MK_LBUTTON) && (dx > 1 || dy > 1)) {
    m_bColumnDrag = TRUE;
    delete m_pColumnDragImage;
    m_pColumnDragImage = CreateHeaderDragImage(m_nPressedHeader);
    m_nDropColumn = -1;
    if (m_pColumnDragImage != nullptr) {
      CPoint hot(m_ptMouseDown.x - DividerColumnX(m_nPressedHeader), m_ptMouseDown.y);
      m_pColumnDragImage->BeginDrag(0, hot);
      CPoint screen = point;
      this->ClientToScreen(&screen);
      ImageList_DragEnter(nullptr, screen.x, screen.y);
    }
  }
  if (m_bColumnDrag) {
    TrackColumnDrag(point);
    return;
  }
  if (TipsEnabled() && IsStyleSet(LVS_NOLABELWRAP) && !m_bItemDrag && m_pTip != nullptr) {
    if (row >= 0 && row != m_nEditedRow && (flags & LVHT_ONROW)) m_pTip->Show(flags, row, col, point);
    else m_pTip->Hide();
  } else {
    HideTip();
  }
}

template <class Base>
int SECListEngine<Base>::GetDropColumn(CPoint point, int nCol) {
  if (nCol < 0) nCol = GetColumnCount() - 1;
  if (nCol < 0) return -1;
  int left = DividerColumnX(nCol);
  int middle = left + m_columns[static_cast<size_t>(nCol)]->m_nWidth / 2;
  if (nCol == 0) return point.x < middle ? m_nDropColumn : 1;
  return point.x < middle ? nCol : nCol + 1;
}

template <class Base>
void SECListEngine<Base>::DrawDropMarker(int nDropCol) {
  if (nDropCol < 0 || this->GetSafeHwnd() == nullptr) return;
  int x = nDropCol >= GetColumnCount() ? GetColumnsWidth(GetColumnCount()) - m_nHorzOffset : DividerColumnX(nDropCol);
  CClientDC dc(this);
  dc.FillSolidRect(x, 0, 1, m_nHeaderHeight, RGB(0, 0, 255));
}

template <class Base>
void SECListEngine<Base>::TrackColumnDrag(CPoint point) {
  CPoint screen = point;
  this->ClientToScreen(&screen);
  if (point.y >= -30 && point.y < m_nHeaderHeight + 30) {
    UINT flags = 0;
    int col = -1;
    int hit = HitTest(CPoint(point.x, 1), &flags, &col);
    if (!(flags & (LVHT_ONHEADER | LVHT_ONDIVIDER))) hit = -1;
    int drop = GetDropColumn(point, hit);
    if (drop != m_nDropColumn) {
      CImageList::DragShowNolock(FALSE);
      if (m_bDragMarkerShown) {
        CRect band(0, 0, 32767, m_nHeaderHeight);
        this->RedrawWindow(&band, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      }
      m_nDropColumn = drop;
      DrawDropMarker(drop);
      m_bDragMarkerShown = drop >= 0;
      CImageList::DragShowNolock(TRUE);
    }
    CImageList::DragMove(screen);
  } else {
    CImageList::DragShowNolock(FALSE);
    if (m_bDragMarkerShown) {
      CRect band(0, 0, 32767, m_nHeaderHeight);
      this->RedrawWindow(&band, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      m_bDragMarkerShown = FALSE;
    }
    m_nDropColumn = -1;
  }
}

template <class Base>
void SECListEngine<Base>::EndColumnDrag() {
  if (m_pColumnDragImage != nullptr) {
    ImageList_DragLeave(nullptr);
    CImageList::EndDrag();
    delete m_pColumnDragImage;
    m_pColumnDragImage = nullptr;
  }
  m_bColumnDrag = FALSE;
  m_bDragMarkerShown = FALSE;
  if (::GetCapture() == this->GetSafeHwnd()) ::ReleaseCapture();
  int dragged = m_nPressedHeader;
  m_nPressedHeader = -1;
  DrawHeaderButton(dragged, FALSE);
  int drop = m_nDropColumn;
  m_nDropColumn = -1;
  if (drop >= 1 && drop != dragged && drop != dragged + 1) MoveColumn(dragged, drop > dragged ? drop - 1 : drop, TRUE);
  else this->Invalidate(FALSE);
}

template <class Base>
void SECListEngine<Base>::OnLButtonUp(UINT nFlags, CPoint point) {
  m_bPressPending = FALSE;
  if (m_bItemDrag) {
    m_bItemDrag = FALSE;
  } else if (m_bColumnDrag) {
    EndColumnDrag();
  } else if (m_nPressedHeader >= 0) {
    int col = m_nPressedHeader;
    m_nPressedHeader = -1;
    if (::GetCapture() == this->GetSafeHwnd()) ::ReleaseCapture();
    DrawHeaderButton(col, FALSE);
    if (!IsStyleSet(LVS_NOSORTHEADER)) NotifyColumnClick(col);
  }
  UINT flags = 0;
  int col = -1;
  int row = HitTest(point, &flags, &col);
  bool modifiers = (nFlags & (MK_SHIFT | MK_CONTROL)) != 0;
  if (row >= 0 && (flags & LVHT_ONROW) && IsSelectedRow(row) && GetSelectedCount() > 1 && !modifiers) {
    DeselectAllExcept(-1);
    SelectionChange(row, flags, 0, TRUE);
  }
  if (row >= 0 && (flags & LVHT_ONROW)) {
    BOOL onItem = FALSE, onLabel = FALSE;
    OnItemClick(point, row, flags, &onItem, &onLabel);
    bool onCell = onLabel || IsExStyleSet(LVXS_FULLROWSELECT) || onItem;
    if (onCell && row == m_nArmedRow) {
      KillLabelEditTimer();
      m_nLabelEditTimer = this->SetTimer(kListLabelEditTimer, kLabelEditDelay, nullptr);
    }
    bool armable = IsStyleSet(LVS_EDITLABELS) && IsSelectedRow(row) &&
                   (onLabel || (IsExStyleSet(LVXS_FULLROWSELECT) && col > 0));
    m_nArmedRow = armable ? row : -1;
  } else {
    m_nArmedRow = -1;
  }
  if (this->GetSafeHwnd() == nullptr) return;
  Base::OnLButtonUp(nFlags, point);
  NotifyParent(NM_CLICK);
}

template <class Base>
void SECListEngine<Base>::OnLButtonDblClk(UINT nFlags, CPoint point) {
  m_nArmedRow = -1;
  KillLabelEditTimer();
  Base::OnLButtonDblClk(nFlags, point);
  NotifyParent(NM_DBLCLK);
}

template <class Base>
void SECListEngine<Base>::OnRButtonDown(UINT nFlags, CPoint point) {
  HWND hwnd = this->GetSafeHwnd();
  if (m_pTip != nullptr && m_pTip->IsShowing())
    this->SendMessage(WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(::GetAncestor(hwnd, GA_ROOT)),
                      MAKELPARAM(HTCLIENT, WM_RBUTTONDOWN));
  if (::GetFocus() != hwnd) this->SetFocus();
  m_bPressPending = FALSE;
  m_bRightDragBegun = FALSE;
  UINT flags = 0;
  int row = HitTest(point, &flags, nullptr);
  if (!(flags & LVHT_ONDIVIDER)) {
    BOOL onItem = FALSE, onLabel = FALSE;
    OnItemClick(point, row, flags, &onItem, &onLabel);
    if (onItem && row >= 0 && !(flags & LVHT_ONHEADER)) {
      if (SelectionChange(row, flags, nFlags & (MK_SHIFT | MK_CONTROL), TRUE)) OnSelectionMoved(row, TRUE);
      // A press on an item may begin a right-button drag (OnItemRDrag) once the mouse moves.
      m_bPressPending = TRUE;
    }
  }
  m_ptMouseDown = point;
  if (m_pTip != nullptr) m_pTip->Refresh();
  m_bItemDrag = FALSE;
}

template <class Base>
void SECListEngine<Base>::OnRButtonUp(UINT nFlags, CPoint point) {
  m_bPressPending = FALSE;
  if (m_bItemDrag || m_bRightDragBegun) {
    m_bItemDrag = FALSE;
    m_bRightDragBegun = FALSE;
    return;
  }
  HideTip();
  Base::OnRButtonUp(nFlags, point);
  NotifyParent(NM_RCLICK);
}

template <class Base>
BOOL SECListEngine<Base>::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (nHitTest == HTCLIENT && m_bOnDivider && m_hSizingCursor != nullptr) {
    ::SetCursor(m_hSizingCursor);
    return TRUE;
  }
  return Base::OnSetCursor(pWnd, nHitTest, message);
}

template <class Base>
void SECListEngine<Base>::OnCancelMode() {
  HideTip();
  Base::OnCancelMode();
}

template <class Base>
void SECListEngine<Base>::OnEnable(BOOL bEnable) {
  if (!bEnable) HideTip();
  this->Invalidate();
}

template <class Base>
void SECListEngine<Base>::OnSetFocus(CWnd* pOldWnd) {
  Base::OnSetFocus(pOldWnd);
  if (!IsMultiSel() && m_nFocusRow >= 0) RedrawItem(m_nFocusRow, TRUE);
  else this->Invalidate(FALSE);
  NotifyParent(NM_SETFOCUS);
}

template <class Base>
void SECListEngine<Base>::OnKillFocus(CWnd* pNewWnd) {
  Base::OnKillFocus(pNewWnd);
  bool toEdit = pNewWnd != nullptr && m_pEdit != nullptr && pNewWnd->GetSafeHwnd() == m_pEdit->GetSafeHwnd() &&
                m_pEdit->GetSafeHwnd() != nullptr;
  if (!toEdit) EndLabelEdit(TRUE);
  if (!IsMultiSel() && m_nFocusRow >= 0) RedrawItem(m_nFocusRow, TRUE);
  else if (this->GetSafeHwnd() != nullptr) this->Invalidate(FALSE);
  NotifyParent(NM_KILLFOCUS);
}

// ---- timers ----

template <class Base>
void SECListEngine<Base>::SetScrollTimer(UINT nPeriod) {
  KillScrollTimer();
  m_nScrollTimer = this->SetTimer(kListScrollTimer, nPeriod, nullptr);
}

template <class Base>
void SECListEngine<Base>::KillScrollTimer() {
  if (m_nScrollTimer != 0 && this->GetSafeHwnd() != nullptr) this->KillTimer(kListScrollTimer);
  m_nScrollTimer = 0;
}

template <class Base>
void SECListEngine<Base>::KillLabelEditTimer() {
  if (m_nLabelEditTimer != 0 && this->GetSafeHwnd() != nullptr) this->KillTimer(kListLabelEditTimer);
  m_nLabelEditTimer = 0;
}

template <class Base>
void SECListEngine<Base>::OnTimer(UINT_PTR nIDEvent) {
  switch (nIDEvent) {
    case kListLabelEditTimer:
      KillLabelEditTimer();
      if (m_nArmedRow >= 0 && m_nArmedRow == m_nFocusRow) EditLabel(m_nArmedRow, m_nFocusCol);
      return;
    case kListScrollTimer: {
      if (!m_bItemDrag || GetItemCount() < 3) return;
      POINT cursor;
      ::GetCursorPos(&cursor);
      this->ScreenToClient(&cursor);
      int row = HitTest(cursor, nullptr, nullptr);
      if (row == m_nTopRow && m_nTopRow > 0) {
        SetDropHilite(-1);
        ScrollRows(-1);
      } else if (row >= 0 && row == GetLastVisibleRow() && row < GetItemCount() - 1) {
        SetDropHilite(-1);
        ScrollRows(1);
      }
      return;
    }
    case kListTypeAheadTimer:
      if (m_nTypeAheadFlags & kTypeTyped) {
        m_nTypeAheadFlags &= ~kTypeTyped;
      } else {
        this->KillTimer(kListTypeAheadTimer);
        m_nTypeAheadTimer = 0;
        m_nTypeAheadFlags &= kTypeOff;
        m_strTypeAhead.Empty();
      }
      return;
    default: Base::OnTimer(nIDEvent); return;
  }
}

// ---- keys ----

template <class Base>
void SECListEngine<Base>::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  NotifyKeyDown(nChar);
  if (this->GetSafeHwnd() == nullptr) return;
  BOOL shift = ::GetKeyState(VK_SHIFT) < 0, ctrl = ::GetKeyState(VK_CONTROL) < 0;
  int row = m_nFocusRow;
  int sub = GetColumnSubItem(m_nFocusCol);
  CWnd* parent = this->GetParent();
  switch (nChar) {
    case VK_BACK: OnKeyBack(row, sub, shift, ctrl, nRepCnt, nFlags); break;
    case VK_TAB:
      if (parent != nullptr) parent->PostMessage(WM_NEXTDLGCTL, shift ? 1 : 0, 0);
      break;
    case VK_RETURN: OnKeyReturn(row, sub, shift, ctrl, nRepCnt, nFlags); break;
    case VK_ESCAPE:
      if (parent != nullptr) parent->PostMessage(WM_COMMAND, IDCANCEL, 0);
      break;
    case VK_SPACE:
      if (row >= 0) SetFocusSel(row, !IsSelectedRow(row));
      break;
    case VK_PRIOR: OnKeyPageUp(row, sub, shift, ctrl, nRepCnt, nFlags); break;
    case VK_NEXT: OnKeyPageDown(row, sub, shift, ctrl, nRepCnt, nFlags); break;
    case VK_END: OnKeyEnd(row, sub, shift, ctrl, nRepCnt, nFlags); break;
    case VK_HOME: OnKeyHome(row, sub, shift, ctrl, nRepCnt, nFlags); break;
    case VK_LEFT:
    case VK_SUBTRACT:
    case 189: OnKeyLeft(row, sub, shift, ctrl, nRepCnt, nFlags); break;
    case VK_UP: OnKeyUp(row, sub, shift, ctrl, nRepCnt, nFlags); break;
    case VK_RIGHT:
    case VK_ADD:
    case 187: OnKeyRight(row, sub, shift, ctrl, nRepCnt, nFlags); break;
    case VK_DOWN: OnKeyDown2(row, sub, shift, ctrl, nRepCnt, nFlags); break;
    case VK_MULTIPLY: OnKeyMultiply(row, sub, shift, ctrl, nRepCnt, nFlags); break;
    case VK_F2: OnKeyF2(row, sub, shift, ctrl, nRepCnt, nFlags); break;
    default: break;
  }
  if (this->GetSafeHwnd() != nullptr) Base::OnKeyDown(nChar, nRepCnt, nFlags);
}

namespace {
UINT KeyFlags(BOOL shift, BOOL ctrl) { return (shift ? SECLKF_SHIFT : 0) | (ctrl ? SECLKF_CTRL : 0); }
}  // namespace

template <class Base>
void SECListEngine<Base>::OnKeyUp(int nRow, int, BOOL bShift, BOOL bCtrl, UINT, UINT) {
  if (nRow > 0 && SelectionChange(nRow - 1, LVSC_BYKEY, KeyFlags(bShift, bCtrl), FALSE)) {
    OnSelectionMoved(nRow - 1, FALSE);
    EnsureVisible(nRow - 1);
  }
}

template <class Base>
void SECListEngine<Base>::OnKeyDown2(int nRow, int, BOOL bShift, BOOL bCtrl, UINT, UINT) {
  if (nRow < GetItemCount() - 1 && SelectionChange(nRow + 1, LVSC_BYKEY, KeyFlags(bShift, bCtrl), FALSE)) {
    OnSelectionMoved(nRow + 1, FALSE);
    EnsureVisible(nRow + 1);
  }
}

template <class Base>
void SECListEngine<Base>::OnKeyF2(int nRow, int, BOOL, BOOL, UINT, UINT) {
  if (IsStyleSet(LVS_EDITLABELS) && nRow >= 0) EditLabel(nRow, m_nFocusCol);
}

template <class Base>
void SECListEngine<Base>::OnKeyReturn(int, int, BOOL, BOOL, UINT, UINT) {
  NotifyParent(NM_RETURN);
}

template <class Base>
void SECListEngine<Base>::OnKeyHome(int, int, BOOL bShift, BOOL bCtrl, UINT, UINT) {
  if (GetItemCount() == 0) return;
  if (m_dwScrollFlags & WS_VSCROLL) this->SendMessage(WM_VSCROLL, SB_TOP, 0);
  SelectionChange(0, LVSC_BYKEY, KeyFlags(bShift, bCtrl), FALSE);
  this->Invalidate(FALSE);
}

template <class Base>
void SECListEngine<Base>::OnKeyEnd(int, int, BOOL bShift, BOOL bCtrl, UINT, UINT) {
  if (GetItemCount() == 0) return;
  if (m_dwScrollFlags & WS_VSCROLL) this->SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
  SelectionChange(GetItemCount() - 1, LVSC_BYKEY, KeyFlags(bShift, bCtrl), FALSE);
  this->Invalidate(FALSE);
}

template <class Base>
void SECListEngine<Base>::OnKeyPageUp(int nRow, int nSub, BOOL bShift, BOOL bCtrl, UINT nRep, UINT nFlags) {
  if (!(m_dwScrollFlags & WS_VSCROLL)) {
    OnKeyHome(nRow, nSub, bShift, bCtrl, nRep, nFlags);
    return;
  }
  if (nRow == m_nTopRow) this->SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
  SelectionChange(m_nTopRow, LVSC_BYKEY, KeyFlags(bShift, bCtrl), FALSE);
}

template <class Base>
void SECListEngine<Base>::OnKeyPageDown(int nRow, int nSub, BOOL bShift, BOOL bCtrl, UINT nRep, UINT nFlags) {
  if (!(m_dwScrollFlags & WS_VSCROLL)) {
    OnKeyEnd(nRow, nSub, bShift, bCtrl, nRep, nFlags);
    return;
  }
  if (nRow == GetLastVisibleRow()) this->SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
  int last = std::max(GetLastVisibleRow(), m_nTopRow);
  SelectionChange(last, LVSC_BYKEY, KeyFlags(bShift, bCtrl), FALSE);
}

template <class Base>
void SECListEngine<Base>::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  NotifyKeyDown(nChar);
  if (this->GetSafeHwnd() != nullptr) Base::OnSysKeyDown(nChar, nRepCnt, nFlags);
}

template <class Base>
CString SECListEngine<Base>::ItemLabelUpper(int nRow) {
  CString label = GetItemText(nRow, 0);
  label.MakeUpper();
  return label;
}

template <class Base>
void SECListEngine<Base>::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if ((m_nTypeAheadFlags & kTypeOff) || nChar == VK_ESCAPE || nChar == VK_RETURN || nChar == VK_SPACE ||
      GetItemCount() == 0 || nChar < 0x20) {
    Base::OnChar(nChar, nRepCnt, nFlags);
    return;
  }
  TypeAhead(nChar);
}

template <class Base>
void SECListEngine<Base>::TypeAhead(UINT nChar) {
  if (m_nTypeAheadFlags & kTypeFailed) {
    m_nTypeAheadFlags |= kTypeTyped;
    return;
  }
  if (!(m_nTypeAheadFlags & kTypeActive)) {
    m_strTypeAhead.Empty();
    m_nTypeAheadFlags |= kTypeActive;
    m_nTypeAheadTimer = this->SetTimer(kListTypeAheadTimer, m_nTypeAheadPeriod, nullptr);
  }
  m_nTypeAheadFlags |= kTypeTyped;
  m_strTypeAhead += static_cast<char>(nChar);
  CString wanted = m_strTypeAhead;
  wanted.MakeUpper();
  int count = GetItemCount();
  int start = std::max(m_nFocusRow, 0);
  if (m_strTypeAhead.GetLength() == 1) start = (start + 1) % count;
  int row = start;
  do {
    if (std::strncmp(ItemLabelUpper(row), wanted, static_cast<size_t>(wanted.GetLength())) == 0) {
      if (SelectionChange(row, LVSC_BYKEY, 0, FALSE)) OnSelectionMoved(row, FALSE);
      EnsureVisible(row);
      return;
    }
    row = (row + 1) % count;
  } while (row != start);
  ::MessageBeep(static_cast<UINT>(-1));
  m_nTypeAheadFlags |= kTypeFailed;
}

// ---- label editing ----

template <class Base>
CEdit* SECListEngine<Base>::GetEditWindow() const {
  return m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr ? m_pEdit : nullptr;
}

template <class Base>
void SECListEngine<Base>::PositionEditWindow(BOOL bCreating, CRect* pRect) {
  CRect label;
  int col = FindColumnIndex(GetColumnSubItem(m_nFocusCol));
  if (col < 0) col = m_nFocusCol;
  if (!GetSubItemRect(m_nEditedRow, m_nFocusCol, &label, 2)) return;
  CRect area;
  GetListArea(&area);
  CRect rect;
  rect.top = label.top - 1;
  rect.bottom = label.bottom + 1;
  rect.left = std::max<LONG>(0, label.left - 4);
  if (bCreating) {
    rect.right = std::min(rect.left + (label.right - (label.left - 4)) + 10, area.right);
  } else {
    rect.right = rect.left + ((label.right + 4) - (label.left - 4));
    int limit = area.right;
    if (GetColumnCount() > 1) limit = DividerColumnX(m_nFocusCol) + m_columns[static_cast<size_t>(m_nFocusCol)]->m_nWidth;
    rect.right = std::min(rect.right + 10, static_cast<LONG>(limit));
  }
  *pRect = rect;
}

template <class Base>
CEdit* SECListEngine<Base>::EditLabel(int nRow, int nCol) {
  if (GetEditWindow() != nullptr || !IsValidRow(nRow) || GetColumnRecord(nCol) == nullptr) return nullptr;
  HideTip();
  EndLabelEdit(TRUE);
  m_nArmedRow = -1;
  m_nEditedRow = nRow;
  m_nFocusCol = nCol;
  EnsureVisible(nRow);
  CRect rect;
  PositionEditWindow(TRUE, &rect);
  DWORD style = IsLabelWrap() ? WS_CHILD | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL
                              : WS_CHILD | WS_BORDER | ES_MULTILINE | ES_AUTOHSCROLL | ES_WANTRETURN;
  if (!m_pEdit->Create(style, rect, this, kListEditId)) {
    m_nEditedRow = -1;
    return nullptr;
  }
  m_pEdit->SendMessage(EM_SETTABSTOPS, 0, 0);
  // The edit keeps its own copy of the cell's font for as long as it lives.
  m_editFont.DeleteObject();
  LOGFONT lf{};
  CFont* font = GetRowFont();
  if (font->GetLogFont(&lf) != 0 && m_editFont.CreateFontIndirect(&lf)) m_pEdit->SetFont(&m_editFont, TRUE);
  else m_pEdit->SetFont(font, TRUE);
  m_pEdit->SetWindowText(GetItemText(nRow, GetColumnSubItem(nCol)));
  m_pEdit->SetSel(0, -1);
  m_pEdit->SendMessage(EM_SCROLLCARET, 0, 0);
  if (NotifyBeginLabelEdit(nRow, nCol) == 1) {
    if (m_pEdit->GetSafeHwnd() != nullptr) m_pEdit->DestroyWindow();
    m_editFont.DeleteObject();
    m_nEditedRow = -1;
    m_nArmedRow = -1;
    return nullptr;
  }
  if (m_pEdit->GetSafeHwnd() == nullptr) return nullptr;
  m_pEdit->ShowWindow(SW_SHOW);
  m_pEdit->SetFocus();
  m_strLabelBeforeEdit = GetItemText(nRow, GetColumnSubItem(nCol));
  RedrawItem(nRow, FALSE, TRUE);
  m_bEditEnded = FALSE;
  return m_pEdit;
}

template <class Base>
void SECListEngine<Base>::OnEditUpdate() {
  if (GetEditWindow() == nullptr || m_nEditedRow < 0) return;
  CString text;
  m_pEdit->GetWindowText(text);
  int row = m_nEditedRow;
  int sub = GetColumnSubItem(m_nFocusCol);
  int before = GetItemRecord(row)->m_cy;
  m_nEditedRow = -1;  // store without the edited-row guard, then measure again
  SetItemText(row, sub, text);
  m_nEditedRow = row;
  MeasureRow(row);
  if (GetItemRecord(row)->m_cy != before) {
    RecalcLayout();
    RedrawItem(row, FALSE, TRUE);
  }
  CRect rect;
  PositionEditWindow(FALSE, &rect);
  m_pEdit->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

template <class Base>
void SECListEngine<Base>::OnEditKillFocus() {
  EndLabelEdit(TRUE);
}

template <class Base>
BOOL SECListEngine<Base>::EndLabelEdit(BOOL bSave) {
  if (GetEditWindow() == nullptr || m_bEditEnded) return FALSE;
  m_bEditEnded = TRUE;
  CString text;
  m_pEdit->GetWindowText(text);
  int row = m_nEditedRow, col = m_nFocusCol;
  int sub = GetColumnSubItem(col);
  m_nEditedRow = -1;
  BOOL accepted = NotifyEndLabelEdit(row, col, text, bSave);
  if (IsValidRow(row)) {
    if (accepted) {
      SetItemText(row, sub, text);
      OnLabelEditDone(row, col);
    } else {
      SetItemText(row, sub, m_strLabelBeforeEdit);
    }
  }
  if (m_pEdit->GetSafeHwnd() != nullptr) m_pEdit->DestroyWindow();
  m_editFont.DeleteObject();
  if (this->GetSafeHwnd() != nullptr) {
    RecalcLayout();
    this->Invalidate();
  }
  return accepted;
}

template class SECListEngine<CWnd>;
template class SECListEngine<CView>;
