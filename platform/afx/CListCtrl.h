// CListCtrl and CHeaderCtrl: the framework's objects over the list-view and header controls,
// thin wrappers of their messages.
#pragma once

#include "afx/AfxControls.h"
#include "afx/CImageList.h"
#include "controls/CommCtrl.h"
#include "core/CollectionBase.h"

class CHeaderCtrl : public CWnd {
  DECLARE_DYNAMIC(CHeaderCtrl)

 public:
  CHeaderCtrl() = default;
  // dwStyle: WS_ and HDS_ styles.
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetItemCount() const { return Get(HDM_GETITEMCOUNT); }
  BOOL GetItem(int nPos, HDITEM* pHeaderItem) const {
    return Get(HDM_GETITEM, static_cast<WPARAM>(nPos), reinterpret_cast<LPARAM>(pHeaderItem));
  }
  BOOL SetItem(int nPos, HDITEM* pHeaderItem) {
    return Send(HDM_SETITEM, static_cast<WPARAM>(nPos), reinterpret_cast<LPARAM>(pHeaderItem));
  }
  // The new item's index, -1 on failure.
  int InsertItem(int nPos, HDITEM* phdi) {
    return Send(HDM_INSERTITEM, static_cast<WPARAM>(nPos), reinterpret_cast<LPARAM>(phdi));
  }
  BOOL DeleteItem(int nPos) { return Send(HDM_DELETEITEM, static_cast<WPARAM>(nPos)); }
  BOOL Layout(HDLAYOUT* pHeaderLayout) { return Send(HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(pHeaderLayout)); }
  BOOL GetItemRect(int nIndex, LPRECT lpRect) const {
    return Get(HDM_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect));
  }
  int HitTest(LPHDHITTESTINFO pHeaderHitTestInfo) {
    return Send(HDM_HITTEST, 0, reinterpret_cast<LPARAM>(pHeaderHitTestInfo));
  }
  int OrderToIndex(int nOrder) const { return Get(HDM_ORDERTOINDEX, static_cast<WPARAM>(nOrder)); }
  BOOL GetOrderArray(LPINT piArray, int iCount = -1);
  BOOL SetOrderArray(int iCount, LPINT piArray) {
    return Send(HDM_SETORDERARRAY, static_cast<WPARAM>(iCount), reinterpret_cast<LPARAM>(piArray));
  }
  // Each returns the previous image list.
  CImageList* SetImageList(CImageList* pImageList);
  CImageList* GetImageList() const;

 private:
  int Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return static_cast<int>(SendMessage(message, wParam, lParam));
  }
  int Get(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return static_cast<int>(::SendMessage(m_hWnd, message, wParam, lParam));
  }
};

class CListCtrl : public CWnd {
  DECLARE_DYNAMIC(CListCtrl)

 public:
  CListCtrl() = default;
  ~CListCtrl() override;
  // dwStyle: WS_ and LVS_ styles.
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // ---- attributes
  COLORREF GetBkColor() const { return static_cast<COLORREF>(Get(LVM_GETBKCOLOR)); }
  BOOL SetBkColor(COLORREF cr) { return static_cast<BOOL>(Send(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(cr))); }
  COLORREF GetTextColor() const { return static_cast<COLORREF>(Get(LVM_GETTEXTCOLOR)); }
  BOOL SetTextColor(COLORREF cr) { return static_cast<BOOL>(Send(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(cr))); }
  COLORREF GetTextBkColor() const { return static_cast<COLORREF>(Get(LVM_GETTEXTBKCOLOR)); }
  BOOL SetTextBkColor(COLORREF cr) { return static_cast<BOOL>(Send(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(cr))); }
  // nImageList: LVSIL_NORMAL, LVSIL_SMALL or LVSIL_STATE. SetImageList returns the previous list.
  CImageList* GetImageList(int nImageList) const;
  CImageList* SetImageList(CImageList* pImageList, int nImageListType);
  int GetItemCount() const { return static_cast<int>(Get(LVM_GETITEMCOUNT)); }
  BOOL GetItem(LVITEM* pItem) const { return static_cast<BOOL>(Get(LVM_GETITEM, 0, reinterpret_cast<LPARAM>(pItem))); }
  BOOL SetItem(const LVITEM* pItem) { return static_cast<BOOL>(Send(LVM_SETITEM, 0, reinterpret_cast<LPARAM>(pItem))); }
  BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
               LPARAM lParam);
  UINT GetCallbackMask() const { return static_cast<UINT>(Get(LVM_GETCALLBACKMASK)); }
  BOOL SetCallbackMask(UINT nMask) { return static_cast<BOOL>(Send(LVM_SETCALLBACKMASK, nMask)); }
  // nFlags: LVNI_ flags.
  int GetNextItem(int nItem, int nFlags) const {
    return static_cast<int>(Get(LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), MAKELPARAM(nFlags, 0)));
  }
  // Walking the selection: a null position when nothing (more) is selected.
  POSITION GetFirstSelectedItemPosition() const;
  int GetNextSelectedItem(POSITION& pos) const;
  // nCode: LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL or LVIR_SELECTBOUNDS.
  BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
  BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const;
  BOOL GetItemPosition(int nItem, LPPOINT lpPoint) const {
    return static_cast<BOOL>(Get(LVM_GETITEMPOSITION, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(lpPoint)));
  }
  int GetStringWidth(LPCTSTR lpsz) const {
    return static_cast<int>(Get(LVM_GETSTRINGWIDTH, 0, reinterpret_cast<LPARAM>(lpsz)));
  }
  BOOL GetColumn(int nCol, LVCOLUMN* pColumn) const {
    return static_cast<BOOL>(Get(LVM_GETCOLUMN, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(pColumn)));
  }
  BOOL SetColumn(int nCol, const LVCOLUMN* pColumn) {
    return static_cast<BOOL>(Send(LVM_SETCOLUMN, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(pColumn)));
  }
  int GetColumnWidth(int nCol) const { return static_cast<int>(Get(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(nCol))); }
  // cx: pixels, LVSCW_AUTOSIZE or LVSCW_AUTOSIZE_USEHEADER.
  BOOL SetColumnWidth(int nCol, int cx) {
    return static_cast<BOOL>(Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), MAKELPARAM(cx, 0)));
  }
  BOOL GetColumnOrderArray(LPINT piArray, int iCount = -1);
  BOOL SetColumnOrderArray(int iCount, LPINT piArray) {
    return static_cast<BOOL>(
        Send(LVM_SETCOLUMNORDERARRAY, static_cast<WPARAM>(iCount), reinterpret_cast<LPARAM>(piArray)));
  }
  int GetTopIndex() const { return static_cast<int>(Get(LVM_GETTOPINDEX)); }
  int GetCountPerPage() const { return static_cast<int>(Get(LVM_GETCOUNTPERPAGE)); }
  BOOL GetOrigin(LPPOINT lpPoint) const {
    return static_cast<BOOL>(Get(LVM_GETORIGIN, 0, reinterpret_cast<LPARAM>(lpPoint)));
  }
  BOOL SetItemState(int nItem, LVITEM* pItem) {
    return static_cast<BOOL>(Send(LVM_SETITEMSTATE, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pItem)));
  }
  BOOL SetItemState(int nItem, UINT nState, UINT nMask);
  UINT GetItemState(int nItem, UINT nMask) const {
    return static_cast<UINT>(Get(LVM_GETITEMSTATE, static_cast<WPARAM>(nItem), static_cast<LPARAM>(nMask)));
  }
  CString GetItemText(int nItem, int nSubItem) const;
  // Copies at most nLen bytes with the ending; returns the length copied.
  int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;
  BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
  void SetItemCount(int nItems) { Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(nItems)); }
  BOOL SetItemData(int nItem, DWORD_PTR dwData);
  DWORD_PTR GetItemData(int nItem) const;
  UINT GetSelectedCount() const { return static_cast<UINT>(Get(LVM_GETSELECTEDCOUNT)); }
  int GetSelectionMark() const { return static_cast<int>(Get(LVM_GETSELECTIONMARK)); }
  int SetSelectionMark(int iIndex) { return static_cast<int>(Send(LVM_SETSELECTIONMARK, 0, iIndex)); }
  // Each returns the previous extended style (LVS_EX_ bits).
  DWORD SetExtendedStyle(DWORD dwNewStyle) {
    return static_cast<DWORD>(Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(dwNewStyle)));
  }
  DWORD GetExtendedStyle() const { return static_cast<DWORD>(Get(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
  // The header of a report view, an object owned by the list unless the program attached its own.
  CHeaderCtrl* GetHeaderCtrl();
  CEdit* GetEditControl() const;

  // ---- operations
  // Each InsertItem returns the new item's index, -1 on failure.
  int InsertItem(const LVITEM* pItem) { return static_cast<int>(Send(LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(pItem))); }
  int InsertItem(int nItem, LPCTSTR lpszItem);
  int InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
  int InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam);
  BOOL DeleteItem(int nItem) { return static_cast<BOOL>(Send(LVM_DELETEITEM, static_cast<WPARAM>(nItem))); }
  BOOL DeleteAllItems() { return static_cast<BOOL>(Send(LVM_DELETEALLITEMS)); }
  // The index of the first match after nStart (-1: from the first item), -1 when none matches.
  int FindItem(LVFINDINFO* pFindInfo, int nStart = -1) const {
    return static_cast<int>(Get(LVM_FINDITEM, static_cast<WPARAM>(nStart), reinterpret_cast<LPARAM>(pFindInfo)));
  }
  // pfnCompare gets the two items' data and dwData.
  BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData) {
    return static_cast<BOOL>(Send(LVM_SORTITEMS, static_cast<WPARAM>(dwData), reinterpret_cast<LPARAM>(pfnCompare)));
  }
  int HitTest(LVHITTESTINFO* pHitTestInfo) const {
    return static_cast<int>(Get(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(pHitTestInfo)));
  }
  int HitTest(CPoint pt, UINT* pFlags = nullptr) const;
  int SubItemHitTest(LPLVHITTESTINFO pInfo) {
    return static_cast<int>(Send(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(pInfo)));
  }
  BOOL EnsureVisible(int nItem, BOOL bPartialOK) {
    return static_cast<BOOL>(Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(nItem), bPartialOK));
  }
  BOOL Scroll(CSize size) { return static_cast<BOOL>(Send(LVM_SCROLL, static_cast<WPARAM>(size.cx), size.cy)); }
  BOOL RedrawItems(int nFirst, int nLast) {
    return static_cast<BOOL>(Send(LVM_REDRAWITEMS, static_cast<WPARAM>(nFirst), nLast));
  }
  BOOL Update(int nItem) { return static_cast<BOOL>(Send(LVM_UPDATE, static_cast<WPARAM>(nItem))); }
  BOOL Arrange(UINT nCode) { return static_cast<BOOL>(Send(LVM_ARRANGE, nCode)); }
  CEdit* EditLabel(int nItem);
  // Each InsertColumn returns the new column's index, -1 on failure. nWidth and nSubItem of -1
  // leave the width and the sub-item unset.
  int InsertColumn(int nCol, const LVCOLUMN* pColumn) {
    return static_cast<int>(Send(LVM_INSERTCOLUMN, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(pColumn)));
  }
  int InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                   int nSubItem = -1);
  BOOL DeleteColumn(int nCol) { return static_cast<BOOL>(Send(LVM_DELETECOLUMN, static_cast<WPARAM>(nCol))); }

 private:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessage(message, wParam, lParam); }
  LRESULT Get(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessage(m_hWnd, message, wParam, lParam);
  }

  // Borrows the header window when no object of the program holds it.
  CHeaderCtrl m_header;
};
