// The owner-drawn multi-column list engine, written once over its window base: SECListBaseC on a
// plain child window, SECListBaseV on a framework view. Which file holds which concern:
// SECListBaseData.cpp items, columns, selection and styles; SECListBaseLayout.cpp measuring,
// painting and scrolling; SECListBaseInput.cpp hit testing, mouse, keys, label editing and the
// notifications to the parent.
#pragma once

#include <vector>

#include "afx/afx.h"
#include "controls/CommCtrl.h"
#include "widgets/SECListClient.h"
#include "widgets/SECListItem.h"

class SECListTip;
class SECListEdit;

// The list's own extended style bits.
constexpr DWORD LVXS_HEADERDRAGITEM = 0x00000010;  // a header click on a column > 0 is a click on the item
constexpr DWORD LVXS_LABELTIPS = 0x00100000;
constexpr DWORD LVXS_HGRID = 0x00400000;
constexpr DWORD LVXS_VGRID = 0x00800000;
constexpr DWORD LVXS_FULLROWSELECT = 0x02000000;
constexpr DWORD LVXS_FITCOLUMNSONSIZE = 0x04000000;
constexpr DWORD LVXS_KEEPDELETEDWIDTH = 0x08000000;
constexpr DWORD LVXS_SELECTEDIMAGE = 0x10000000;

// Hit-test flags of the list beyond the LVHT_ ones.
constexpr UINT LVHT_ONDIVIDER = 0x0800;
constexpr UINT LVHT_ONHEADER = 0x1000;
constexpr UINT LVHT_ONROW = 0x2000;
constexpr UINT LVHT_LEFTOFLABEL = 0x4000;
constexpr UINT LVHT_RIGHTOFLABEL = 0x8000;

// Selection changes from keys and type-ahead pass this as their "how".
constexpr UINT LVSC_BYKEY = 0x46;
// Key flags of SelectionChange (the mouse messages' MK_ values).
constexpr UINT SECLKF_SHIFT = MK_SHIFT;
constexpr UINT SECLKF_CTRL = MK_CONTROL;

// Timer ids of the engine; derived controls take theirs from kListFirstFreeTimer on.
constexpr UINT_PTR kListLabelEditTimer = 1;
constexpr UINT_PTR kListScrollTimer = 2;
constexpr UINT_PTR kListTypeAheadTimer = 3;
constexpr UINT_PTR kListFirstFreeTimer = 4;

constexpr UINT kListHScrollId = 59904;
constexpr UINT kListVScrollId = 59920;
constexpr UINT kListEditId = 1;
constexpr int kListTextBufferSize = 2048;

template <class Base>
class SECListEngine : public Base, public SECListClient {
 public:
  SECListEngine();
  ~SECListEngine() override;

  // ---- creation ----
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  virtual BOOL Create(DWORD dwStyle, DWORD dwExStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  // The framework's Create form (views made by frames): class name and title are ignored.
  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
              UINT nID, CCreateContext* pContext = nullptr) override;
  virtual BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                        LPVOID lpParam = nullptr);
  virtual BOOL CreateFromPlaceholder(UINT nID, CWnd* pDialog);
  using Base::CreateEx;
  // The framework's preparation, then the list's bits are taken out of the window's styles.
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

  // ---- colours and fonts ----
  virtual COLORREF GetBkColor() const;
  virtual COLORREF GetTextColor() const { return m_rgbText; }
  virtual COLORREF GetTextBkColor() const { return m_rgbTextBk; }
  virtual COLORREF GetGreyTextColor() const { return m_rgbGreyText; }
  virtual COLORREF GetIconBkColor() const { return m_rgbIconBk; }
  virtual COLORREF GetSelIconBkColor() const { return m_rgbSelIconBk; }
  virtual CFont* GetHeaderFont() const;
  virtual CWnd* GetNotifyTarget() const { return m_pNotifyTarget; }
  virtual BOOL SetBkColor(COLORREF rgb);
  virtual BOOL SetTextColor(COLORREF rgb);
  virtual BOOL SetTextBkColor(COLORREF rgb);
  virtual BOOL SetSelTextColor(COLORREF rgb);
  virtual BOOL SetSelTextBkColor(COLORREF rgb);
  virtual BOOL SetGreyTextColor(COLORREF rgb);
  virtual BOOL SetIconBkColor(COLORREF rgb);
  virtual BOOL SetSelIconBkColor(COLORREF rgb);
  virtual BOOL SetTipTextColor(COLORREF rgb);
  virtual BOOL SetTipBkColor(COLORREF rgb);
  // The row font (also the in-place editor's); not owned, NULL = the stock DEFAULT_GUI_FONT.
  virtual void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
  virtual void SetHeaderFont(CFont* pFont, BOOL bRedraw = TRUE);
  virtual void SetNotifyTarget(CWnd* pWnd) { m_pNotifyTarget = pWnd; }
  // While set, WM_SYSCOLORCHANGE takes the colours from the system again.
  virtual void SetUseSystemColors(BOOL bUse) { m_bUseSystemColors = bUse; }
  virtual BOOL GetUseSystemColors() const { return m_bUseSystemColors; }

  // ---- timers ----
  virtual void SetScrollTimer(UINT nPeriod);
  virtual void KillScrollTimer();

  // ---- repainting ----
  virtual void RedrawItem(int nRow, BOOL bLabelOnly = FALSE, BOOL bUpdateNow = FALSE, BOOL bErase = FALSE,
                          BOOL bDrop = FALSE);
  virtual void RedrawItems(int nFrom, int nTo);

  // ---- row geometry ----
  virtual int GetTopIndex() const { return m_nTopRow; }
  virtual int GetCountPerPage();
  virtual int GetCountPerPageAbove();
  virtual int GetMaxTopIndex();
  virtual int GetLastVisibleRow(SECListPaintContext* pContext = nullptr);
  virtual int GetFirstRowBelow();
  virtual int GetPageUpRow();
  virtual int RowFromOffset(int nOffset);
  virtual int RowFromOffset2(int nOffset);
  virtual int RowFromOffset3(int nOffset) { return RowFromOffset(nOffset); }
  virtual void SetItemHeight(int nRow, int nHeight);
  virtual int GetRowsHeight(int nFrom, int nTo);
  virtual int CountRowsInDistance(int nPixels, int nFromRow, BOOL bDown);
  virtual void RecalcLayout();
  virtual void InvalidateItemMetrics(int nRow);
  // The same as RecalcLayout, under the name other subsystems use.
  void ReMeasureAllItems() { RecalcLayout(); }

  // ---- columns ----
  virtual BOOL DeleteColumnByName(LPCTSTR lpszName);
  virtual BOOL DeleteColumn(int nCol);
  virtual void DeleteAllColumns();
  virtual int AppendColumn(const LVCOLUMN* pColumn);
  virtual int AppendColumn(LPCTSTR lpszText, int nFormat, int nWidth, int nSubItem = -1, int iImage = -1);
  virtual int AppendColumnRecord(SECListColumn* pColumn);
  virtual int InsertColumn(int nCol, const LVCOLUMN* pColumn, BOOL bRedraw = TRUE);
  virtual int InsertColumn(int nCol, LPCTSTR lpszText, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                           int nSubItem = -1, int iImage = -1, BOOL bRedraw = TRUE);
  virtual int InsertColumnRecord(int nCol, SECListColumn* pColumn, BOOL bRedraw = TRUE);
  virtual BOOL MoveColumn(int nFrom, int nTo, BOOL bRedraw = TRUE);
  virtual BOOL GetColumn(int nCol, LVCOLUMN* pColumn) const;
  virtual BOOL SetColumn(int nCol, const LVCOLUMN* pColumn, BOOL bRedraw = TRUE);
  virtual int GetColumnsWidth(int nCount) const;
  virtual int GetColumnLeft(int nCol) const;
  virtual BOOL SetColumnWidth(int nCol, int nWidth);
  virtual int GetColumnWidth(int nCol) const;
  virtual BOOL SetColumnFormat(int nCol, int nFormat);
  virtual int GetColumnFormat(int nCol) const;
  virtual BOOL SetColumnText(int nCol, LPCTSTR lpszText);
  virtual CString GetColumnText(int nCol) const;
  // The display index of the column that shows a sub-item; -1 when none does.
  virtual int FindColumnIndex(int nSubItem) const;
  virtual int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
  virtual BOOL FindColumn(LPCTSTR lpszText, int* pnCol, int* pnSubItem) const;
  virtual SECListColumn* GetColumnRecord(int nCol) const;

  // ---- items ----
  virtual LPARAM GetItemDataFromRecord(SECListItem* pItem) const { return pItem != nullptr ? pItem->m_lParam : 0; }
  virtual int GetItemCount() const { return static_cast<int>(m_items.size()); }
  virtual int GetSubItemCount() const { return m_nSubItemCount; }
  virtual BOOL SetItem(const LVITEM* pItem, BOOL bRedraw = TRUE);
  virtual BOOL SetItem(int nRow, int nSubItem, UINT nMask, LPCTSTR lpszText, int iImage, UINT nState,
                       UINT nStateMask, LPARAM lParam);
  virtual BOOL SetItemExState(int nRow, DWORD dwState, DWORD dwMask);
  virtual BOOL GetItem(LVITEM* pItem, BOOL bCopyText = TRUE, BOOL bAskParent = TRUE);
  virtual DWORD GetItemExState(int nRow, DWORD dwMask, BOOL bAskParent = TRUE);
  virtual BOOL SetItemText(int nRow, int nSubItem, LPCTSTR lpszText);
  virtual int GetItemText(int nRow, int nSubItem, LPTSTR lpszBuffer, int nSize);
  CString GetItemText(int nRow, int nSubItem);
  virtual BOOL DeleteItemRecord(SECListItem* pItem);
  virtual BOOL DeleteItem(int nRow, int nCount = 1);
  virtual BOOL DeleteAllItems();
  virtual int GetSelectedCount() const { return static_cast<int>(m_selection.size()); }
  virtual BOOL GetLabelColumnRect(int nRow, RECT* pRect, int nCode = 0);
  virtual int InsertItemRecord(int nRow, SECListItem* pItem);
  virtual int InsertItem(UINT nMask, int nRow, LPCTSTR lpszText, UINT nState, UINT nStateMask, int iImage,
                         LPARAM lParam);
  virtual int InsertItem(int nRow, LPCTSTR lpszText, int iImage);
  virtual int InsertItem(int nRow, LPCTSTR lpszText);
  virtual int InsertItem(const LVITEM* pItem);
  virtual int InsertItemAfter(SECListItem* pAfter, const LVITEM* pItem);
  virtual int InsertItemBefore(SECListItem* pBefore, const LVITEM* pItem);
  SECListItem* GetItemRecord(int nRow) const;
  // The row of a record, -1 when it is not in the list; amortised constant time.
  int RowOfRecord(const SECListItem* pItem);

  // ---- selection and focus ----
  virtual BOOL SetFocusSel(int nRow, BOOL bSelect = TRUE);
  virtual BOOL SetFocusRow(int nRow);
  virtual void DeselectAllExcept(int nRow = -1);
  virtual void SelectRange(int nFrom, int nTo, BOOL bSelect = TRUE);
  virtual int GetFocusRow() const { return m_nFocusRow; }
  virtual CSize GetExtent() const;
  virtual BOOL SetItemState(int nRow, UINT nState, UINT nMask);
  virtual UINT GetItemState(int nRow, UINT nMask);
  virtual BOOL SetItemData(int nRow, LPARAM lParam);
  virtual LPARAM GetItemData(int nRow);
  virtual BOOL SelectItem(int nRow, BOOL bSelect = TRUE);
  int GetAnchorRow() const { return m_nAnchorRow; }
  int GetEditedRow() const { return m_nEditedRow; }
  int GetArmedRow() const { return m_nArmedRow; }
  int GetFocusColumn() const { return m_nFocusCol; }
  // The selected rows, ascending.
  const std::vector<int>& GetSelection() const { return m_selection; }

  // ---- flags ----
  // The state callback mask (not a style word): GetItem asks the parent for these LVIS_ bits.
  virtual UINT GetListStyle() const { return m_nStateCallbackMask; }
  virtual void SetListStyle(UINT nMask) { m_nStateCallbackMask = nMask; }
  virtual DWORD GetCallbackMask() const { return m_dwExStateCallbackMask; }
  virtual void SetCallbackMask(DWORD dwMask) { m_dwExStateCallbackMask = dwMask; }
  virtual BOOL NeedsParent(int nRow);

  // ---- navigation ----
  virtual int GetNextItem(int nRow, UINT nFlags);
  virtual void SetDropHilite(int nRow);
  virtual int GetDropHilite() const { return m_nDropRow; }

  // ---- image lists ----
  virtual CImageList* GetImageList(int nType) const;
  virtual CImageList* SetImageList(CImageList* pImageList, int nType);

  // ---- cloning ----
  static CObject* CloneObject(CObject* pObject);

  // ---- hit testing ----
  virtual int HitTest(CPoint point, UINT* pFlags = nullptr, int* pnCol = nullptr);

  // ---- scrolling ----
  virtual void SetTopIndex(int nRow);
  virtual void ScrollHorz(int nDelta);
  virtual void ScrollRows(int nDelta, BOOL bByPixels = FALSE);
  virtual BOOL EnsureVisible(int nRow, BOOL bPartialOK = FALSE);
  virtual BOOL EnsureRangeVisible(int nFirst, int nLast);

  // ---- label editing ----
  virtual CEdit* EditLabel(int nRow, int nCol);
  virtual CEdit* GetEditWindow() const;
  virtual void KillLabelEditTimer();

  // ---- styles ----
  virtual BOOL IsStyleSet(DWORD dwBits) const { return (m_dwListStyle & dwBits) != 0; }
  virtual BOOL IsExStyleSet(DWORD dwBits) const { return (m_dwListExStyle & dwBits) != 0; }
  virtual void GetStyles(DWORD* pdwStyle, DWORD* pdwExStyle) const;
  virtual void SetStyles(DWORD dwStyle, DWORD dwExStyle, BOOL bRedraw = TRUE);
  virtual DWORD GetStyle() const { return m_dwListStyle; }
  virtual DWORD GetExStyle() const { return m_dwListExStyle; }
  virtual void SetStyle(DWORD dwStyle, BOOL bRedraw = TRUE);
  virtual void SetExStyle(DWORD dwExStyle, BOOL bRedraw = TRUE);
  virtual void ModifyStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
  virtual void ModifyExStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
  virtual void ModifyStyles(DWORD dwRemove, DWORD dwAdd, DWORD dwRemoveEx, DWORD dwAddEx, BOOL bRedraw = TRUE);
  // Changes the list's extended style word (LVXS_ bits such as 0x04000000, columns fill the
  // width), as the explorer trees call it; the state callback mask is GetListStyle/SetListStyle.
  void ModifyListStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE) { ModifyExStyle(dwRemove, dwAdd, bRedraw); }
  virtual void SetLabelWrap(BOOL bWrap);
  virtual void EnableTips(BOOL bEnable);
  virtual void SetMultiSel(BOOL bMulti);
  virtual BOOL TipsEnabled() const { return IsExStyleSet(LVXS_LABELTIPS); }
  virtual BOOL HasHeader() const;
  virtual void SetHeaderStyles(BOOL bShow, BOOL bSortable);
  virtual BOOL IsMultiSel() const { return !IsStyleSet(LVS_SINGLESEL); }
  virtual void SetAutoRedraw(BOOL bAuto) { m_bAutoRedraw = bAuto; }
  virtual BOOL IsAutoRedraw() const { return m_bAutoRedraw; }

  // ---- layout and scroll bars ----
  virtual void UpdateScrollBars();
  virtual int GetContentWidth();
  virtual int GetContentRows() const { return GetItemCount(); }
  virtual void GetClientRect(LPRECT lpRect) const;
  // A DC to measure in; *pbOwned says whether the caller deletes it.
  virtual CDC* CreateClientDC(BOOL* pbOwned);
  virtual void InvalidateAllItemMetrics();
  virtual BOOL FitColumnsIfNeeded();
  virtual BOOL CreateScrollBar(DWORD dwStyle, UINT nID);
  virtual void AddSubItems(SECListItem* pItem);
  virtual void DeleteSubItems(SECListItem* pItem);
  virtual void AddSubItemsChecked(SECListItem* pItem);
  virtual SECListItem* CreateItemRecord();
  virtual void ShowScrollBar(int nBar, BOOL bShow, SCROLLINFO* pInfo = nullptr);
  CScrollBar* GetScrollBarCtrl(int nBar) const override;

  // ---- drawing ----
  virtual void PrepareCellBkColor(SECListPaintContext* pContext);
  virtual void PrepareCellIconBkColor(SECListPaintContext* pContext);
  virtual void SelectItemFont(SECListPaintContext* pContext);
  virtual void GetCellColors(SECListPaintContext* pContext);
  static CPen* GetShadowPen();
  virtual void MeasureItem(SECListPaintContext* pContext);
  virtual void MeasureRow(int nRow, SECListPaintContext* pContext = nullptr);
  virtual int MeasureCell(SECListPaintContext* pContext);
  virtual void MeasureImage(SECListPaintContext* pContext);
  virtual int MeasureText(SECListPaintContext* pContext);
  virtual void PositionScrollBars();
  virtual void FitColumnsToWidth();
  virtual int GetRowSpacing() const { return 0; }
  virtual int TrackDivider(int nCol, CPoint point);
  virtual void Paint(CDC* pDC);
  virtual void FetchDisplayData(SECListPaintContext* pContext);
  virtual SECListPaintContext* CreatePaintContext(CDC* pDC);
  virtual CDC* CreateMemDC(CDC* pDC, const CRect& rect);
  virtual void DrawHeader(SECListPaintContext* pContext);
  virtual void DrawHeaderButton(int nCol, BOOL bPressed);
  virtual void DrawHeaderImage(CDC* pDC, int nCol, CRect& rcText);
  virtual CImageList* CreateHeaderDragImage(int nCol);
  virtual int GetDropColumn(CPoint point, int nCol);
  virtual void OnColumnMoved(int /*nFrom*/, int /*nToSubItem*/) {}
  virtual void DrawItems(SECListPaintContext* pContext);
  virtual void DrawItem(SECListPaintContext* pContext);
  virtual void DrawCell(SECListPaintContext* pContext);
  virtual void DrawItemImage(SECListPaintContext* pContext);
  virtual void DrawCellText(SECListPaintContext* pContext);
  virtual void DrawHorizontalGrid(SECListPaintContext* pContext);
  virtual void DrawVerticalGrid(SECListPaintContext* pContext);
  virtual void UpdateVerticalScrollBar(int nRows);
  virtual void UpdateHorizontalScrollBar(int nTotalWidth);

  // ---- keys ----
  virtual void OnKeyUp(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);
  virtual void OnKeyDown2(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);
  virtual void OnKeyF2(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);
  virtual void OnKeyReturn(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);
  virtual void OnKeyHome(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);
  virtual void OnKeyEnd(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);
  virtual void OnKeyLeft(int, int, BOOL, BOOL, UINT, UINT) {}
  virtual void OnKeyBack(int, int, BOOL, BOOL, UINT, UINT) {}
  virtual void OnKeyRight(int, int, BOOL, BOOL, UINT, UINT) {}
  virtual void OnKeyMultiply(int, int, BOOL, BOOL, UINT, UINT) {}
  virtual void OnKeyPageUp(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);
  virtual void OnKeyPageDown(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags);

  // ---- notifications and hooks ----
  virtual LRESULT NotifyParent(UINT nCode);
  virtual void OnItemDrag(int /*nRow*/, CPoint /*ptDown*/) {}
  virtual LRESULT NotifyBeginLabelEdit(int nRow, int nCol);
  virtual void OnItemRDrag(int /*nRow*/, CPoint /*ptDown*/) {}
  virtual LRESULT NotifyDeleteItem(int nRow);
  // Tells the parent an edit ended; with an accepted text the parent may change `strText`.
  virtual BOOL NotifyEndLabelEdit(int nRow, int nCol, CString& strText, BOOL bAccepted);
  virtual LRESULT OnLabelEditDone(int /*nRow*/, int /*nCol*/) { return 0; }
  virtual LRESULT OnSelChanged(int /*nRow*/, int /*nOldRow*/, UINT /*nCause*/) { return 0; }
  virtual LRESULT OnSelChanging(int /*nRow*/, int /*nOldRow*/, UINT /*nCause*/) { return 0; }
  virtual LRESULT NotifyGetDispInfo(LVITEM* pItem);
  virtual void OnSetDispInfo(LVITEM* /*pItem*/) {}
  virtual DWORD OnGetExStateDispInfo(int /*nRow*/, DWORD /*dwMask*/) { return 0; }
  virtual void OnSetExStateDispInfo(int /*nRow*/, DWORD /*dwState*/, DWORD /*dwMask*/) {}
  virtual LRESULT NotifyInsertItem(int nRow);
  virtual LRESULT NotifyKeyDown(UINT nVKey);
  virtual LRESULT NotifyColumnClick(int nCol);
  virtual BOOL SelectionChange(int nRow, UINT nHow, UINT nKeyFlags, BOOL bToggle);
  virtual void OnSelectionMoved(int /*nRow*/, BOOL /*bToggle*/) {}
  virtual CWnd* GetNotifyWindow() const;
  // Fills the header of a notification and sends it to the notification window; the answer is
  // kept as the notification result (0 when there is no window to tell).
  LRESULT SendNotify(NMHDR* pHeader, UINT nCode);
  // The window notifications go to now: the one a notification run looked up, else
  // GetNotifyWindow's.
  CWnd* CurrentNotifyWindow() const { return m_nNotifyRun > 0 ? m_pNotifyRunTarget : GetNotifyWindow(); }
  // While one lives, the notifications of a run (one per item of a list or tree being emptied)
  // go to the window, with the id, looked up when it began, instead of looking both up again
  // for each one.
  class NotifyRun {
   public:
    explicit NotifyRun(SECListEngine* pList) : m_pList(pList) {
      if (m_pList->m_nNotifyRun++ > 0) return;
      m_pList->m_pNotifyRunTarget = m_pList->GetNotifyWindow();
      m_pList->m_nNotifyRunId = m_pList->GetSafeHwnd() != nullptr ? m_pList->GetDlgCtrlID() : 0;
    }
    ~NotifyRun() { --m_pList->m_nNotifyRun; }
    NotifyRun(const NotifyRun&) = delete;
    NotifyRun& operator=(const NotifyRun&) = delete;

   private:
    SECListEngine* m_pList;
  };
  virtual void SplitCreateStyles(CREATESTRUCT* pcs);
  virtual void OnItemClick(CPoint point, int nRow, UINT nFlags, BOOL* pbOnItem, BOOL* pbOnLabel);
  LRESULT GetNotifyResult() const { return m_lNotifyResult; }

  // ---- SECListClient ----
  HWND GetClientHwnd() const override { return this->GetSafeHwnd(); }
  BOOL IsLabelWrap() const override { return !IsStyleSet(LVS_NOLABELWRAP); }
  BOOL EndLabelEdit(BOOL bSave) override;
  int GetColumnSubItem(int nCol) const override;
  int GetHorzScrollOffset() const override { return m_nHorzOffset; }
  int GetVertScrollOffset() const override { return m_nTopRow; }
  void GetListArea(RECT* pRect) override;
  BOOL GetSubItemRect(int nRow, int nCol, RECT* pRect, int nCode) override;
  CString GetCellText(int nRow, int nSubItem) override;
  using Base::ClientToScreen;
  void ClientToScreen(LPRECT pRect) const override { Base::ClientToScreen(pRect); }
  using Base::SetCapture;
  CWnd* SetCapture(BOOL bCapture) override { return bCapture ? Base::SetCapture() : nullptr; }
  BOOL IsRowSelected(int nRow) override { return nRow >= 0 && (GetItemState(nRow, LVIS_SELECTED) & LVIS_SELECTED) != 0; }
  COLORREF GetSelTextColor() const override { return m_rgbSelText; }
  COLORREF GetSelBkColor() const override { return m_rgbSelBk; }
  COLORREF GetTipTextColor() const override { return m_rgbTipText; }
  COLORREF GetTipBkColor() const override { return m_rgbTipBk; }
  CFont* GetRowFont() const override;
  UINT GetTipItemState(int, UINT) override { return 0; }

  SECListTip* GetTipWindow() const { return m_pTip; }
  // Marks every row for measuring again (the shortcut list's layout reset too).
  void InvalidateItemHeightsOfAllRows();

  // ---- message handlers (the concrete class's map names them) ----
  afx_msg void OnPaint();
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnCancelMode();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnDestroy();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg UINT OnGetDlgCode() { return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTCHARS; }
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnSysColorChange();
  afx_msg void OnEditKillFocus();
  afx_msg void OnEditUpdate();

 protected:
  void PostNcDestroy() override;
  // The type-ahead flags.
  enum : UINT { kTypeActive = 1, kTypeTyped = 2, kTypeFailed = 4, kTypeOff = 8 };

  int SelectionFind(int nRow) const;  // position of the first entry not below nRow
  BOOL SelectionAdd(int nRow);
  BOOL SelectionRemove(int nRow);
  BOOL IsSelectedRow(int nRow) const;
  // Shifts row-indexed state for `count` rows inserted (count > 0) or removed at `row`.
  void ShiftRowState(int nRow, int nCount);
  BOOL IsValidRow(int nRow) const { return nRow >= 0 && nRow < GetItemCount(); }
  int ListAreaHeight();
  int RowHeight(int nRow);
  void EnsureMeasured(int nRow);
  // Replaces the rows by `rows` (records kept are matched by identity; those not kept are
  // deleted), carrying focus, anchor, drop, edited row and selection along.
  void ReplaceRows(std::vector<SECListItem*> rows);
  // Inserts several records at once, as InsertItemRecord does for each.
  void InsertItemRecords(int nRow, const std::vector<SECListItem*>& records);
  void TrackColumnDrag(CPoint point);
  void EndColumnDrag();
  void DrawDropMarker(int nDropCol);
  int DividerColumnX(int nCol) const;
  void StoreFetchedItem(SECListPaintContext* pContext);
  void HideTip();
  void TypeAhead(UINT nChar);
  CString ItemLabelUpper(int nRow);
  void PositionEditWindow(BOOL bCreating, CRect* pRect);
  void SetItemTextInternal(char*& pszStored, LPCTSTR lpszText);
  void FreeSpareItems();

  // While one is alive, the rows measured one by one outside a paint share one device context,
  // made when the first of them is measured: a walk over the rows measures a page of them.
  class MeasuringScope {
   public:
    explicit MeasuringScope(SECListEngine* pList) : m_pList(pList) { ++m_pList->m_nMeasuringScopes; }
    ~MeasuringScope() {
      if (--m_pList->m_nMeasuringScopes > 0 || m_pList->m_pMeasuringDC == nullptr) return;
      if (m_pList->m_bMeasuringDCOwned) delete m_pList->m_pMeasuringDC;
      m_pList->m_pMeasuringDC = nullptr;
    }
    MeasuringScope(const MeasuringScope&) = delete;
    MeasuringScope& operator=(const MeasuringScope&) = delete;

   private:
    SECListEngine* m_pList;
  };
  int m_nMeasuringScopes = 0;
  CDC* m_pMeasuringDC = nullptr;
  BOOL m_bMeasuringDCOwned = FALSE;

  // The memory of the plain records of the last DeleteAllItems, which CreateItemRecord makes
  // its records in: a list emptied is usually filled again as large.
  std::vector<void*> m_spareItems;

 public:
  // ---- the list's data (Parts of the engine reach it directly) ----
  std::vector<SECListItem*> m_items;
  std::vector<SECListColumn*> m_columns;
  std::vector<int> m_selection;
  int m_nTopRow = 0;
  int m_nSubItemCount = 0;
  int m_nFocusRow = -1;
  int m_nDropRow = -1;
  int m_nAnchorRow = -1;
  int m_nEditedRow = -1;
  int m_nFocusCol = 0;
  int m_nHeaderHeight = 20;
  int m_nHorzOffset = 0;
  DWORD m_dwListStyle = 0;
  DWORD m_dwListExStyle = 0;
  DWORD m_dwScrollFlags = 0;
  UINT m_nStateCallbackMask = 0;
  DWORD m_dwExStateCallbackMask = 0;
  COLORREF m_rgbBk = 0, m_rgbText = 0, m_rgbTextBk = 0, m_rgbSelText = 0, m_rgbSelBk = 0, m_rgbGreyText = 0,
           m_rgbIconBk = 0, m_rgbSelIconBk = 0, m_rgbTipBk = 0, m_rgbTipText = 0;
  BOOL m_bUseSystemColors = TRUE;
  CFont* m_pRowFont = nullptr;
  CFont* m_pHeaderFont = nullptr;
  CWnd* m_pNotifyTarget = nullptr;
  CImageList* m_pImageLists[4] = {};
  char m_szTextBuffer[kListTextBufferSize] = {};
  SECListTip* m_pTip = nullptr;
  SECListEdit* m_pEdit = nullptr;
  UINT_PTR m_nLabelEditTimer = 0;
  UINT_PTR m_nScrollTimer = 0;
  UINT_PTR m_nTypeAheadTimer = 0;
  CString m_strTypeAhead;
  UINT m_nTypeAheadPeriod = 250;
  UINT m_nTypeAheadFlags = 0;
  BOOL m_bAutoRedraw = FALSE;
  HCURSOR m_hSizingCursor = nullptr;
  LRESULT m_lNotifyResult = 0;
  int m_nNotifyRun = 0;  // nested NotifyRun objects alive
  CWnd* m_pNotifyRunTarget = nullptr;
  int m_nNotifyRunId = 0;
  BOOL m_bVeto = FALSE;
  int m_nArmedRow = -1;
  CPoint m_ptMouseDown;
  BOOL m_bPressPending = FALSE;
  BOOL m_bItemDrag = FALSE;
  // Set when an item drag began with the right button, until that button is next pressed: its
  // release then is the end of the drag, not a click.
  BOOL m_bRightDragBegun = FALSE;
  BOOL m_bColumnDrag = FALSE;
  int m_nPressedHeader = -1;
  int m_nDropColumn = -1;
  BOOL m_bOnDivider = FALSE;
  int m_nWheelRemainder = 0;
  BOOL m_bEditEnded = FALSE;
  CString m_strLabelBeforeEdit;
  CFont m_editFont;  // the edit's own copy of the cell font, living as long as the edit
  CScrollBar* m_pScrollBars[2] = {};
  CImageList* m_pColumnDragImage = nullptr;
  BOOL m_bDragMarkerShown = FALSE;

 private:
  int m_nRowHintsValid = 0;  // rows below this index have a correct m_nRowHint
};

using SECListBaseC = SECListEngine<CWnd>;
using SECListBaseV = SECListEngine<CView>;

// Marks every row of a list dirty and unmeasured, so each is measured again before it is next
// drawn or hit-tested; an empty list is left as it is. Works on either list form.
template <class Base>
void InvalidateItemHeights(SECListEngine<Base>* pList) {
  if (pList != nullptr) pList->InvalidateItemHeightsOfAllRows();
}

extern template class SECListEngine<CWnd>;
extern template class SECListEngine<CView>;
