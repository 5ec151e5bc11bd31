// The shortcut list: its large-icon layout and drawing, the scroll buttons and their repeat,
// hot and pressed items, the click notification, the context menu of icon sizes, and dragging
// items between lists of this process with an insertion mark.
#include "extracontrols/SECShortcutListCtrl.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "foundation/SECSysColors.h"

IMPLEMENT_DYNCREATE(SECShortcutListCtrl, SECListCtrl)

BEGIN_MESSAGE_MAP(SECShortcutListCtrl, SECListCtrl)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_MOUSEMOVE()
  ON_WM_TIMER()
  ON_WM_KILLFOCUS()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_VSCROLL()
  ON_WM_CONTEXTMENU()
  ON_WM_MOUSEWHEEL()
  ON_WM_MBUTTONDOWN()
  ON_WM_CANCELMODE()
  ON_COMMAND(ID_SHORTCUTLIST_LARGEICON, OnLargeIcon)
  ON_COMMAND(ID_SHORTCUTLIST_SMALLICON, OnSmallIcon)
END_MESSAGE_MAP()

namespace {

constexpr int kButtonInset = 5;
constexpr int kMarkSize = 8;
constexpr int kLargeIconSize = 32;
constexpr UINT kHotStates = SCLIS_HOT | SCLIS_PRESSED;
constexpr size_t kDragBlockSize = sizeof(GUID) + sizeof(LVITEM);

GUID g_processGuid = GUID_NULL;
bool g_haveProcessGuid = false;

// The label a paint context fetched, and how much of it shows: up to its first line feed when
// labels are kept to one line.
const char* LabelText(const SECListPaintContext* pContext, bool bOneLine, int* pLength) {
  const char* text = pContext->m_pszText != kListTextCallback ? pContext->m_pszText : nullptr;
  if (text == nullptr) text = "";
  const char* feed = bOneLine ? std::strchr(text, '\n') : nullptr;
  *pLength = feed != nullptr ? static_cast<int>(feed - text) : static_cast<int>(std::strlen(text));
  return text;
}

}  // namespace

// ---- process-wide values ----

CLIPFORMAT SECShortcutListCtrl::GetClipboardFormat() {
  static const CLIPFORMAT format = static_cast<CLIPFORMAT>(::RegisterClipboardFormat("SEC_CF_LISTCTRL"));
  return format;
}

const GUID& SECShortcutListCtrl::GetProcessGuid() {
  if (!g_haveProcessGuid && SUCCEEDED(::CoCreateGuid(&g_processGuid))) g_haveProcessGuid = true;
  return g_processGuid;
}

HGLOBAL SECShortcutListCtrl::MakeDragData(const GUID& guid, const LVITEM& item) {
  HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kDragBlockSize);
  if (hData == nullptr) return nullptr;
  auto* bytes = static_cast<BYTE*>(::GlobalLock(hData));
  std::memcpy(bytes, &guid, sizeof(GUID));
  std::memcpy(bytes + sizeof(GUID), &item, sizeof(LVITEM));
  ::GlobalUnlock(hData);
  return hData;
}

BOOL SECShortcutListCtrl::ReadDragData(COleDataObject* pDataObject, LVITEM* pItem) {
  if (pDataObject == nullptr || !pDataObject->IsDataAvailable(GetClipboardFormat())) return FALSE;
  HGLOBAL hData = pDataObject->GetGlobalData(GetClipboardFormat());
  if (hData == nullptr) return FALSE;
  BOOL bOk = FALSE;
  if (::GlobalSize(hData) >= kDragBlockSize) {
    const auto* bytes = static_cast<const BYTE*>(::GlobalLock(hData));
    GUID guid;
    std::memcpy(&guid, bytes, sizeof(GUID));
    // The record's text points into the dragging list: only this process may read it.
    if (g_haveProcessGuid && IsEqualGUID(guid, g_processGuid)) {
      if (pItem != nullptr) std::memcpy(pItem, bytes + sizeof(GUID), sizeof(LVITEM));
      bOk = TRUE;
    }
    ::GlobalUnlock(hData);
  }
  ::GlobalFree(hData);
  return bOk;
}

// ---- creation ----

SECShortcutListCtrl::SECShortcutListCtrl() = default;

SECShortcutListCtrl::~SECShortcutListCtrl() {
  // The window goes first, while its handlers can still revoke the drop target.
  if (GetSafeHwnd() != nullptr) DestroyWindow();
  delete m_pDropTarget;
}

int SECShortcutListCtrl::OnCreate(LPCREATESTRUCT lpcs) {
  if (SECListCtrl::OnCreate(lpcs) == -1) return -1;
  m_pDropTarget = new ListDropTarget(this);
  SetBkColor(::GetSysColor(COLOR_INACTIVECAPTION));
  SetTextColor(RGB(255, 255, 255));
  SetSelTextColor(::GetSysColor(COLOR_INACTIVECAPTION));
  SetSelTextBkColor(RGB(255, 255, 255));
  SetIconBkColor(::GetSysColor(COLOR_INACTIVECAPTION));
  if (GetClipboardFormat() != 0) {
    m_pDropTarget->Register(this);
    GetProcessGuid();
  }
  m_dwListStyle |= 0x2040;  // no scroll bars of the list's own; image lists are the caller's
  m_dwListExStyle |= LVXS_FITCOLUMNSONSIZE;
  PositionScrollBars();
  return 0;
}

void SECShortcutListCtrl::OnDestroy() {
  if (m_nTimer != 0) KillTimer(m_nTimer);
  m_nTimer = 0;
  if (m_pDropTarget != nullptr) m_pDropTarget->Revoke();
  SECListCtrl::OnDestroy();
}

// ---- layout ----

void SECShortcutListCtrl::PositionScrollBars() {
  CRect client;
  GetClientRect(&client);
  const int cx = ::GetSystemMetrics(SM_CXVSCROLL), cy = ::GetSystemMetrics(SM_CYVSCROLL);
  const int left = client.right - kButtonInset - cx;
  const CRect up(left, client.top + kButtonInset, left + cx, client.top + kButtonInset + cy);
  const CRect down(left, client.bottom - kButtonInset - cy, left + cx, client.bottom - kButtonInset);
  if (up == m_btnUp.m_rect && down == m_btnDown.m_rect) return;
  m_btnUp.m_rect = up;
  m_btnDown.m_rect = down;
  // The buttons moved with the edges: what was drawn where they stood goes too.
  if (GetSafeHwnd() != nullptr) Invalidate(FALSE);
}

void SECShortcutListCtrl::UpdateScrollBars() {
  // The list scrolls by its buttons only; the top row stays where rows remain to show.
  if (GetSafeHwnd() == nullptr) return;
  FitColumnsIfNeeded();
  m_nTopRow = std::clamp(m_nTopRow, 0, GetMaxTopIndex());
  PositionScrollBars();
}

void SECShortcutListCtrl::SetSmallIcons(BOOL bSmall) {
  m_dwListStyle = (m_dwListStyle & ~3u) | (bSmall ? 1u : 0u);
  RecalcLayout();
  if (GetSafeHwnd() != nullptr) Invalidate();
}

void SECShortcutListCtrl::MeasureItem(SECListPaintContext* pContext) {
  if (IsSmallIcons()) {
    SECListCtrl::MeasureItem(pContext);
    return;
  }
  // Large icons: the icon centred at the top, the label centred under it.
  SECListItem* item = pContext->m_pItem;
  if (item == nullptr) return;
  pContext->m_nCol = 0;
  pContext->m_pColumn = GetColumnCount() > 0 ? m_columns[0] : nullptr;
  pContext->m_nSubItem = 0;
  pContext->m_pSubItem = nullptr;
  FetchDisplayData(pContext);
  CRect area;
  GetListArea(&area);
  int cx = kLargeIconSize, cy = kLargeIconSize;
  CImageList* pImages = GetImageList(LVSIL_NORMAL);
  if (pImages != nullptr && pImages->GetSafeHandle() != nullptr) pImages->GetIconSize(&cx, &cy);
  const int left = (area.Width() - cx) / 2;
  item->m_rcIcon = CRect(left, 4, left + cx, 4 + cy);
  int length = 0;
  const char* text = LabelText(pContext, IsStyleSet(LVS_NOLABELWRAP), &length);
  UINT flags = DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
  if (IsStyleSet(LVS_NOLABELWRAP)) flags |= DT_SINGLELINE;
  CRect label(6, item->m_rcIcon.bottom + 2, std::max(7, area.Width() - 5), item->m_rcIcon.bottom + 2);
  CDC* pDC = pContext->m_pDC;
  if (pDC != nullptr) {
    CFont* pOld = pDC->SelectObject(GetRowFont());
    const int right = label.right;
    pDC->DrawText(text, length, &label, flags);
    if (length == 0) label.bottom = label.top + pDC->GetTextExtent("0").cy;
    // Centred text keeps the full width, so the label is hit anywhere across the row.
    label.left = 6;
    label.right = right;
    pDC->SelectObject(pOld);
  }
  item->m_rcText = label;
  item->m_cy = label.bottom + 6;
  item->m_bDirty = FALSE;
}

CRect SECShortcutListCtrl::RowRect(int nRow) {
  CRect area;
  GetListArea(&area);
  int top = area.top;
  for (int row = m_nTopRow; row < GetItemCount() && top < area.bottom; ++row) {
    const int bottom = top + RowHeight(row);
    if (row == nRow) return CRect(area.left - m_nHorzOffset, top, area.right, bottom);
    top = bottom;
  }
  return CRect();
}

// ---- drawing ----

void SECShortcutListCtrl::ScrollButton::Draw(CDC* pDC, BOOL bUp) const {
  CRect rect = m_rect;
  pDC->DrawFrameControl(rect, DFC_SCROLL, (bUp ? DFCS_SCROLLUP : DFCS_SCROLLDOWN) | (IsPushed() ? DFCS_PUSHED : 0));
}

void SECShortcutListCtrl::DrawItems(SECListPaintContext* pContext) {
  if (IsSmallIcons()) {
    SECListCtrl::DrawItems(pContext);
  } else {
    CRect area;
    GetListArea(&area);
    int top = area.top;
    for (int row = m_nTopRow; row < GetItemCount() && top < area.bottom; ++row) {
      SECListItem* item = m_items[static_cast<size_t>(row)];
      pContext->m_nRow = row;
      pContext->m_pItem = item;
      if (item->m_bDirty || item->m_cy < 0) MeasureItem(pContext);
      pContext->m_rcRow = CRect(area.left, top, area.right, top + item->m_cy);
      DrawItem(pContext);
      top += item->m_cy;
    }
  }
  DrawInsertMark(pContext->m_pDC);
  m_btnUp.Draw(pContext->m_pDC, TRUE);
  m_btnDown.Draw(pContext->m_pDC, FALSE);
}

void SECShortcutListCtrl::DrawItem(SECListPaintContext* pContext) {
  SECListItem* item = pContext->m_pItem;
  CDC* pDC = pContext->m_pDC;
  const bool bLarge = !IsSmallIcons();
  pContext->m_nCol = 0;
  pContext->m_pColumn = GetColumnCount() > 0 ? m_columns[0] : nullptr;
  pContext->m_nSubItem = 0;
  pContext->m_pSubItem = nullptr;
  pContext->m_rcCell = pContext->m_rcRow;
  FetchDisplayData(pContext);
  const CRect& row = pContext->m_rcRow;
  pDC->FillSolidRect(row, pContext->m_rgbCellBk);
  // The icon, raised while hot and sunken while pressed.
  CRect icon = item->m_rcIcon;
  icon.OffsetRect(row.left, row.top);
  CImageList* pImages = GetImageList(bLarge ? LVSIL_NORMAL : LVSIL_SMALL);
  if (pImages != nullptr && pImages->GetSafeHandle() != nullptr && pContext->m_lvi.iImage >= 0 && !icon.IsRectEmpty()) {
    pImages->SetBkColor(pContext->m_rgbIconBk);
    pImages->Draw(pDC, pContext->m_lvi.iImage, icon.TopLeft(), ILD_NORMAL);
  }
  const UINT state = item->m_state & kHotStates;
  if (state != 0 && !icon.IsRectEmpty()) {
    CRect frame = icon;
    frame.InflateRect(2, 2);
    pDC->DrawEdge(frame, (state & SCLIS_PRESSED) != 0 ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  }
  // The label, 6 pixels in from its left edge and 5 from its right, on a clear background.
  CRect label = item->m_rcText;
  label.OffsetRect(row.left, row.top);
  if (!bLarge) label.SetRect(row.left + item->m_rcText.left, row.top, row.right, row.bottom);
  CRect text(label.left, label.top, label.right, label.bottom);
  if (!bLarge) text.DeflateRect(0, 0, 5, 0);
  int length = 0;
  const char* str = LabelText(pContext, IsStyleSet(LVS_NOLABELWRAP), &length);
  UINT flags = DT_VCENTER | DT_WORDBREAK | DT_NOPREFIX;
  if (bLarge) {
    flags |= DT_CENTER;
  } else {
    const int format = pContext->m_pColumn != nullptr ? pContext->m_pColumn->m_nFormat & LVCFMT_JUSTIFYMASK : 0;
    flags |= format == LVCFMT_RIGHT ? DT_RIGHT : (format == LVCFMT_CENTER ? DT_CENTER : DT_LEFT);
  }
  if (IsStyleSet(LVS_NOLABELWRAP)) flags = (flags & ~static_cast<UINT>(DT_WORDBREAK)) | DT_SINGLELINE | DT_END_ELLIPSIS;
  const COLORREF oldText = pDC->GetTextColor(), oldBk = pDC->GetBkColor();
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  if (pContext->m_rgbBk != pContext->m_rgbCellBk) {
    // A selected label sits on its own background, as wide as its text and aligned as it is.
    CRect fill = text;
    pDC->DrawText(str, length, &fill, flags | DT_CALCRECT);
    const int width = std::min(fill.Width(), text.Width());
    const int left = (flags & DT_CENTER) != 0  ? text.left + (text.Width() - width) / 2
                     : (flags & DT_RIGHT) != 0 ? text.right - width
                                               : text.left;
    const CRect behind(left - 2, text.top, left + width + 2, std::min(text.bottom, fill.bottom));
    pDC->FillSolidRect(behind, pContext->m_rgbBk);
  }
  pDC->SetTextColor(pContext->m_rgbText);
  pDC->DrawText(str, length, &text, flags);
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBk);
  pDC->SetBkMode(oldMode);
}

void SECShortcutListCtrl::DrawInsertMark(CDC* pDC) {
  if (m_nInsertMark < 0) return;
  CRect area;
  GetListArea(&area);
  int y = area.top;
  bool bTop = m_nInsertMark <= m_nTopRow, bBottom = false;
  if (!bTop) {
    CRect above = RowRect(m_nInsertMark - 1);
    if (above.IsRectEmpty()) return;  // not on the page
    y = above.bottom;
    bBottom = m_nInsertMark >= GetItemCount();
    if (bBottom) y -= 1;
  }
  const int left = area.left, right = area.right - 1;
  // Triangles pointing inward, centred on the line; right-angled along an edge of the list's
  // items at the first and after the last place.
  auto triangle = [&](int edge, int dir) {
    if (bTop) return std::array<POINT, 3>{{{edge, y}, {edge, y + kMarkSize}, {edge + dir * kMarkSize, y}}};
    if (bBottom) return std::array<POINT, 3>{{{edge, y - kMarkSize}, {edge, y}, {edge + dir * kMarkSize, y}}};
    return std::array<POINT, 3>{{{edge, y - kMarkSize / 2}, {edge, y + kMarkSize / 2}, {edge + dir * kMarkSize, y}}};
  };
  CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
  CBrush brush(RGB(0, 0, 0));
  CPen* pOldPen = pDC->SelectObject(&pen);
  CBrush* pOldBrush = pDC->SelectObject(&brush);
  pDC->MoveTo(left, y);
  pDC->LineTo(right, y);
  const auto leftMark = triangle(left, 1), rightMark = triangle(right, -1);
  pDC->Polygon(leftMark.data(), 3);
  pDC->Polygon(rightMark.data(), 3);
  pDC->SelectObject(pOldPen);
  pDC->SelectObject(pOldBrush);
}

// ---- hit testing ----

int SECShortcutListCtrl::HitTest(CPoint point, UINT* pFlags, int* pnCol) {
  if (m_btnUp.m_rect.PtInRect(point)) return SCLHT_UPBUTTON;
  if (m_btnDown.m_rect.PtInRect(point)) return SCLHT_DOWNBUTTON;
  if (IsSmallIcons()) return SECListCtrl::HitTest(point, pFlags, pnCol);
  if (pnCol != nullptr) *pnCol = 0;
  CRect area;
  GetListArea(&area);
  UINT flags = 0;
  if (point.y < area.top) flags |= LVHT_ABOVE;
  if (point.y >= area.bottom) flags |= LVHT_BELOW;
  if (point.x < area.left) flags |= LVHT_TOLEFT;
  if (point.x >= area.right) flags |= LVHT_TORIGHT;
  int result = -1;
  if (flags == 0) {
    int top = area.top;
    for (int row = m_nTopRow; row < GetItemCount() && top < area.bottom; ++row) {
      const int bottom = top + RowHeight(row);
      if (point.y >= top && point.y < bottom) {
        const SECListItem* item = m_items[static_cast<size_t>(row)];
        const CPoint local(point.x - area.left, point.y - top);
        if (::PtInRect(&item->m_rcIcon, local))
          flags |= LVHT_ONITEMICON;
        else if (::PtInRect(&item->m_rcText, local))
          flags |= LVHT_ONITEMLABEL;
        if (flags != 0) result = row;
        break;
      }
      top = bottom;
    }
    if (flags == 0) flags = LVHT_NOWHERE;
  }
  if (pFlags != nullptr) *pFlags = flags;
  return result;
}

int SECShortcutListCtrl::InsertIndexFromPoint(CPoint point) {
  CRect area;
  GetListArea(&area);
  if (point.y < area.top) return m_nTopRow;
  int top = area.top;
  for (int row = m_nTopRow; row < GetItemCount() && top < area.bottom; ++row) {
    const int bottom = top + RowHeight(row);
    if (point.y < bottom) return point.y < (top + bottom) / 2 ? row : row + 1;
    top = bottom;
  }
  return GetItemCount();
}

void SECShortcutListCtrl::SetInsertMark(int nIndex) {
  if (nIndex == m_nInsertMark) return;
  m_nInsertMark = nIndex;
  if (GetSafeHwnd() != nullptr) Invalidate(FALSE);
}

// ---- items ----

BOOL SECShortcutListCtrl::DeleteItem(int nRow, int nCount) {
  if (!SECListCtrl::DeleteItem(nRow, nCount)) return FALSE;
  if (m_nHotItem >= nRow + nCount)
    m_nHotItem -= nCount;
  else if (m_nHotItem >= nRow)
    m_nHotItem = -1;
  if (m_nPressItem >= nRow) m_nPressItem = -1;
  return TRUE;
}

BOOL SECShortcutListCtrl::DeleteAllItems() {
  m_nHotItem = m_nPressItem = -1;
  return SECListCtrl::DeleteAllItems();
}

void SECShortcutListCtrl::SendItemNotify(UINT nCode, int nItem) {
  SECShortcutListNotify notify{};
  notify.iItem = nItem;
  m_lResult = SendNotify(&notify.hdr, nCode);
}

// ---- hot tracking and the mouse ----

void SECShortcutListCtrl::ClearHotStates() {
  bool bChanged = false;
  for (int row = 0; row < GetItemCount(); ++row) {
    if ((m_items[static_cast<size_t>(row)]->m_state & kHotStates) == 0) continue;
    SetItemState(row, 0, kHotStates);
    bChanged = true;
  }
  m_nHotItem = -1;
  if (bChanged) Invalidate(FALSE);
}

void SECShortcutListCtrl::SetHot(int nRow) {
  if (nRow == m_nHotItem && (GetItemState(nRow, SCLIS_HOT) & SCLIS_HOT) != 0) return;
  if (m_nHotItem >= 0 && m_nHotItem < GetItemCount()) SetItemState(m_nHotItem, 0, kHotStates);
  SetItemState(nRow, SCLIS_HOT, kHotStates);
  m_nHotItem = nRow;
  if (m_nTimer == 0) m_nTimer = SetTimer(kShortcutListTimer, kShortcutListTimerPeriod, nullptr);
  Invalidate(FALSE);
}

void SECShortcutListCtrl::PushButton(ScrollButton* pButton, BOOL bPush) {
  const UINT state = bPush ? ScrollButton::Pushed : 0;
  if (pButton->m_nState == state) return;
  pButton->m_nState = state;
  InvalidateRect(pButton->m_rect, FALSE);
}

void SECShortcutListCtrl::OnLButtonDown(UINT, CPoint point) {
  SetFocus();
  UINT flags = 0;
  const int hit = HitTest(point, &flags);
  if (hit == SCLHT_UPBUTTON || hit == SCLHT_DOWNBUTTON) {
    const bool bUp = hit == SCLHT_UPBUTTON;
    m_nHeldButton = hit;
    PushButton(bUp ? &m_btnUp : &m_btnDown, TRUE);
    SendMessage(WM_VSCROLL, bUp ? SB_LINEUP : SB_LINEDOWN, 0);
    m_nTimer = SetTimer(kShortcutListTimer, kShortcutListTimerPeriod, nullptr);
    SetCapture();
    return;
  }
  m_ptPress = point;
  m_nPressItem = -1;
  if (hit < 0) return;
  if ((GetItemState(hit, SCLIS_HOT) & SCLIS_HOT) != 0) SetItemState(hit, 0, SCLIS_HOT);
  if ((flags & (LVHT_ONITEMICON | LVHT_ONITEMLABEL)) != 0) {
    SetItemState(hit, SCLIS_PRESSED, SCLIS_PRESSED);
    m_nPressItem = hit;
    SetCapture();
  }
  Invalidate(FALSE);
}

void SECShortcutListCtrl::OnLButtonDblClk(UINT nFlags, CPoint point) { OnLButtonDown(nFlags | MK_LBUTTON, point); }

void SECShortcutListCtrl::OnLButtonUp(UINT, CPoint point) {
  if (GetCapture() == this) ReleaseCapture();
  if (m_nHeldButton != 0) {
    m_nHeldButton = 0;
    PushButton(&m_btnUp, FALSE);
    PushButton(&m_btnDown, FALSE);
    KillTimer(kShortcutListTimer);
    m_nTimer = 0;
    return;
  }
  UINT flags = 0;
  const int hit = HitTest(point, &flags);
  const int pressed = m_nPressItem;
  m_nPressItem = -1;
  m_ptPress = CPoint(-1, -1);
  if (pressed >= 0 && pressed < GetItemCount()) SetItemState(pressed, 0, SCLIS_PRESSED);
  if (hit < 0) {
    Invalidate(FALSE);
    return;
  }
  if ((flags & (LVHT_ONITEMICON | LVHT_ONITEMLABEL)) != 0) {
    SetItemState(hit, SCLIS_HOT, SCLIS_HOT);
    m_nHotItem = hit;
    DeselectAllExcept(hit);
    SetFocusSel(hit, TRUE);
    Invalidate(FALSE);
    SendItemNotify(SCLN_ITEMCLICKED, hit);
    return;
  }
  Invalidate(FALSE);
}

void SECShortcutListCtrl::OnMouseMove(UINT nFlags, CPoint point) {
  const bool bLeft = (nFlags & MK_LBUTTON) != 0;
  UINT flags = 0;
  const int hit = HitTest(point, &flags);
  if (bLeft && m_nPressItem >= 0) {
    const CSize moved = point - m_ptPress;
    if (std::abs(moved.cx) > kShortcutDragDistance || std::abs(moved.cy) > kShortcutDragDistance)
      DragItem(m_nPressItem);
    return;
  }
  if (m_nHeldButton != 0) {
    // A held scroll button stays pushed only while the pointer is on it.
    PushButton(m_nHeldButton == SCLHT_UPBUTTON ? &m_btnUp : &m_btnDown, hit == m_nHeldButton);
    return;
  }
  if (hit < 0 || (flags & (LVHT_ONITEMICON | LVHT_ONITEMLABEL)) == 0) {
    ClearHotStates();
    return;
  }
  if (!bLeft) SetHot(hit);
}

void SECShortcutListCtrl::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kShortcutListTimer) {
    SECListCtrl::OnTimer(nIDEvent);
    return;
  }
  if (m_btnUp.IsPushed()) SendMessage(WM_VSCROLL, SB_LINEUP, 0);
  if (m_btnDown.IsPushed()) SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
  CPoint cursor;
  ::GetCursorPos(&cursor);
  ScreenToClient(&cursor);
  CRect client;
  GetClientRect(&client);
  if (!client.PtInRect(cursor)) {
    ClearHotStates();
    if (m_nHeldButton == 0) {
      KillTimer(kShortcutListTimer);
      m_nTimer = 0;
    }
  }
}

void SECShortcutListCtrl::OnCancelMode() {
  SECListCtrl::OnCancelMode();
  if (GetCapture() == this) ReleaseCapture();
  if (m_nHeldButton != 0) {
    KillTimer(kShortcutListTimer);
    m_nTimer = 0;
  }
  m_nHeldButton = 0;
  PushButton(&m_btnUp, FALSE);
  PushButton(&m_btnDown, FALSE);
  if (m_nPressItem >= 0 && m_nPressItem < GetItemCount()) SetItemState(m_nPressItem, 0, SCLIS_PRESSED);
  m_nPressItem = -1;
}

void SECShortcutListCtrl::OnKillFocus(CWnd* pNewWnd) {
  SECListCtrl::OnKillFocus(pNewWnd);
  ClearHotStates();
}

void SECShortcutListCtrl::OnVScroll(UINT nSBCode, UINT, CScrollBar*) {
  if (nSBCode == SB_LINEUP && m_nTopRow > 0)
    ScrollRows(-1);
  else if (nSBCode == SB_LINEDOWN && m_nTopRow < GetMaxTopIndex())
    ScrollRows(1);
}

BOOL SECShortcutListCtrl::OnMouseWheel(UINT, short zDelta, CPoint pt) {
  CRect window;
  GetWindowRect(window);
  if (!window.PtInRect(pt) || zDelta == 0) return FALSE;
  SendMessage(WM_VSCROLL, zDelta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
  m_nLastWheel = zDelta;
  return TRUE;
}

void SECShortcutListCtrl::OnMButtonDown(UINT, CPoint) { SetFocus(); }

void SECShortcutListCtrl::OnContextMenu(CWnd*, CPoint point) {
  CMenu menu;
  if (!menu.LoadMenu(IDR_SHORTCUTLIST_MENU)) return;
  CMenu* pPopup = menu.GetSubMenu(0);
  if (pPopup == nullptr) return;
  pPopup->CheckMenuItem(IsSmallIcons() ? ID_SHORTCUTLIST_SMALLICON : ID_SHORTCUTLIST_LARGEICON,
                        MF_BYCOMMAND | MF_CHECKED);
  OnPrepareContextMenu(pPopup);
  if (point.x == -1 && point.y == -1) {
    CRect client;
    GetClientRect(client);
    point = client.CenterPoint();
    ClientToScreen(&point);
  }
  pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void SECShortcutListCtrl::OnLargeIcon() { SetSmallIcons(FALSE); }

void SECShortcutListCtrl::OnSmallIcon() { SetSmallIcons(TRUE); }

// ---- drag and drop ----

DROPEFFECT SECShortcutListCtrl::DragItem(int nRow) {
  SECListItem* pRecord = GetItemRecord(nRow);
  if (pRecord == nullptr) return DROPEFFECT_NONE;
  if (GetCapture() == this) ReleaseCapture();
  SetItemState(nRow, 0, kHotStates);
  m_nPressItem = -1;
  LVITEM item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = nRow;
  char buffer[kListTextBufferSize] = {};
  item.pszText = buffer;
  item.cchTextMax = sizeof(buffer);
  GetItem(&item, TRUE, TRUE);
  // The record's text lives in this list while the drag runs.
  m_strDragText = item.pszText != nullptr ? item.pszText : "";
  item.pszText = const_cast<char*>(static_cast<LPCTSTR>(m_strDragText));
  item.cchTextMax = m_strDragText.GetLength() + 1;
  HGLOBAL hData = MakeDragData(GetProcessGuid(), item);
  if (hData == nullptr) return DROPEFFECT_NONE;
  auto* pSource = new COleDataSource;
  pSource->CacheGlobalData(GetClipboardFormat(), hData);
  const DROPEFFECT effect = pSource->DoDragDrop(DROPEFFECT_MOVE);
  pSource->InternalRelease();
  if (effect == DROPEFFECT_MOVE && GetSafeHwnd() != nullptr) {
    m_nHotItem = -1;
    // A drop into this same list may have moved the row: the record says where it is now.
    const int now = RowOfRecord(pRecord);
    if (now >= 0) DeleteItem(now);
    RecalcLayout();
    Invalidate();
  }
  return effect;
}

DROPEFFECT SECShortcutListCtrl::ListDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                                            CPoint point) {
  return OnDragOver(pWnd, pDataObject, dwKeyState, point);
}

DROPEFFECT SECShortcutListCtrl::ListDropTarget::OnDragOver(CWnd*, COleDataObject* pDataObject, DWORD, CPoint point) {
  if (!ReadDragData(pDataObject, nullptr)) {
    m_pList->SetInsertMark(-1);
    return DROPEFFECT_NONE;
  }
  m_pList->SetInsertMark(m_pList->InsertIndexFromPoint(point));
  m_pList->UpdateWindow();
  return DROPEFFECT_MOVE;
}

void SECShortcutListCtrl::ListDropTarget::OnDragLeave(CWnd*) { m_pList->SetInsertMark(-1); }

BOOL SECShortcutListCtrl::ListDropTarget::OnDrop(CWnd*, COleDataObject* pDataObject, DROPEFFECT, CPoint point) {
  LVITEM item{};
  const int index = m_pList->InsertIndexFromPoint(point);
  m_pList->SetInsertMark(-1);
  if (!ReadDragData(pDataObject, &item)) return FALSE;
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = index;
  item.iSubItem = 0;
  const BOOL bOk = m_pList->InsertItem(&item) >= 0;
  m_pList->RecalcLayout();
  m_pList->Invalidate();
  return bOk;
}
