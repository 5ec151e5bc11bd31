// CListCtrl and CHeaderCtrl: what their messages need besides a SendMessage.
#include "afx/CListCtrl.h"

#include <vector>

IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

namespace {

// Order arrays hold one entry per column when the caller gives no count.
template <class Owner>
BOOL OrderArray(Owner* owner, UINT message, int count, LPINT array, int columns) {
  if (count < 0) count = columns;
  return static_cast<BOOL>(owner->SendMessage(message, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(array)));
}

LVITEM MakeItem(UINT mask, int index, LPCTSTR text, UINT state, UINT stateMask, int image, LPARAM lParam) {
  LVITEM item{};
  item.mask = mask;
  item.iItem = index;
  item.pszText = const_cast<LPTSTR>(text);
  item.state = state;
  item.stateMask = stateMask;
  item.iImage = image;
  item.lParam = lParam;
  return item;
}

}  // namespace

// ---- CHeaderCtrl

BOOL CHeaderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_HEADER, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CHeaderCtrl::GetOrderArray(LPINT piArray, int iCount) {
  return OrderArray(this, HDM_GETORDERARRAY, iCount, piArray, GetItemCount());
}

CImageList* CHeaderCtrl::SetImageList(CImageList* pImageList) {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
      SendMessage(HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pImageList ? pImageList->GetSafeHandle() : nullptr))));
}

CImageList* CHeaderCtrl::GetImageList() const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(::SendMessage(m_hWnd, HDM_GETIMAGELIST, 0, 0)));
}

// ---- CListCtrl

CListCtrl::~CListCtrl() { m_header.m_hWnd = nullptr; }

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_LISTVIEW, nullptr, dwStyle, rect, pParentWnd, nID);
}

CImageList* CListCtrl::GetImageList(int nImageList) const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(Get(LVM_GETIMAGELIST, static_cast<WPARAM>(nImageList))));
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
  HIMAGELIST list = pImageList ? pImageList->GetSafeHandle() : nullptr;
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
      Send(LVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType), reinterpret_cast<LPARAM>(list))));
}

BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState,
                        UINT nStateMask, LPARAM lParam) {
  LVITEM item = MakeItem(nMask, nItem, lpszItem, nState, nStateMask, nImage, lParam);
  item.iSubItem = nSubItem;
  return SetItem(&item);
}

// A position is the index of the next selected item plus one, so that no item is null.
POSITION CListCtrl::GetFirstSelectedItemPosition() const {
  return reinterpret_cast<POSITION>(static_cast<INT_PTR>(GetNextItem(-1, LVNI_SELECTED) + 1));
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
  int current = static_cast<int>(reinterpret_cast<INT_PTR>(pos)) - 1;
  pos = reinterpret_cast<POSITION>(static_cast<INT_PTR>(GetNextItem(current, LVNI_SELECTED) + 1));
  return current;
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const {
  if (lpRect == nullptr) return FALSE;
  lpRect->left = static_cast<LONG>(nCode);
  return static_cast<BOOL>(Get(LVM_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(lpRect)));
}

BOOL CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const {
  RECT r{nArea, iSubItem, 0, 0};
  BOOL ok = static_cast<BOOL>(Get(LVM_GETSUBITEMRECT, static_cast<WPARAM>(iItem), reinterpret_cast<LPARAM>(&r)));
  if (ok) ref = r;
  return ok;
}

BOOL CListCtrl::GetColumnOrderArray(LPINT piArray, int iCount) {
  int columns = GetHeaderCtrl() ? GetHeaderCtrl()->GetItemCount() : 0;
  return OrderArray(this, LVM_GETCOLUMNORDERARRAY, iCount, piArray, columns);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
  LVITEM item{};
  item.state = nState;
  item.stateMask = nMask;
  return SetItemState(nItem, &item);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
  // Grow the buffer until the text fits with room to spare.
  for (int size = 256;; size *= 2) {
    std::vector<char> buffer(static_cast<size_t>(size), '\0');
    int length = GetItemText(nItem, nSubItem, buffer.data(), size);
    if (length < size - 1) return CString(buffer.data(), length);
  }
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const {
  LVITEM item{};
  item.iSubItem = nSubItem;
  item.pszText = lpszText;
  item.cchTextMax = nLen;
  return static_cast<int>(Get(LVM_GETITEMTEXT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText) {
  LVITEM item{};
  item.iSubItem = nSubItem;
  item.pszText = const_cast<LPTSTR>(lpszText);
  return static_cast<BOOL>(Send(LVM_SETITEMTEXT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData) {
  return SetItem(nItem, 0, LVIF_PARAM, nullptr, 0, 0, 0, static_cast<LPARAM>(dwData));
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const {
  LVITEM item{};
  item.mask = LVIF_PARAM;
  item.iItem = nItem;
  return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() {
  HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  if (header == nullptr) return nullptr;
  if (auto* own = dynamic_cast<CHeaderCtrl*>(CWnd::FromHandlePermanent(header))) return own;
  m_header.m_hWnd = header;
  return &m_header;
}

CEdit* CListCtrl::GetEditControl() const {
  HWND edit = reinterpret_cast<HWND>(Get(LVM_GETEDITCONTROL));
  return edit ? dynamic_cast<CEdit*>(CWnd::FromHandlePermanent(edit)) : nullptr;
}

CEdit* CListCtrl::EditLabel(int nItem) {
  HWND edit = reinterpret_cast<HWND>(Send(LVM_EDITLABEL, static_cast<WPARAM>(nItem)));
  return edit ? dynamic_cast<CEdit*>(CWnd::FromHandlePermanent(edit)) : nullptr;
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem) { return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0); }

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage) {
  return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                          LPARAM lParam) {
  LVITEM item = MakeItem(nMask, nItem, lpszItem, nState, nStateMask, nImage, lParam);
  return InsertItem(&item);
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const {
  LVHITTESTINFO hit{};
  hit.pt = pt;
  int item = HitTest(&hit);
  if (pFlags) *pFlags = hit.flags;
  return item;
}

int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem) {
  LVCOLUMN column{};
  column.mask = LVCF_TEXT | LVCF_FMT;
  column.pszText = const_cast<LPTSTR>(lpszColumnHeading);
  column.fmt = nFormat;
  if (nWidth != -1) {
    column.mask |= LVCF_WIDTH;
    column.cx = nWidth;
  }
  if (nSubItem != -1) {
    column.mask |= LVCF_SUBITEM;
    column.iSubItem = nSubItem;
  }
  return InsertColumn(nCol, &column);
}
