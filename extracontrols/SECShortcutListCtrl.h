// SECShortcutListCtrl: the icon list of a shortcut bar: large or small icons one under the other,
// scroll buttons at its right edge, hot tracking, a notification when an item is clicked, and
// items dragged between lists of this process under the "SEC_CF_LISTCTRL" format.
#pragma once

#include "afx/afx.h"
#include "ole/ole.h"
#include "widgets/SECListCtrl.h"

// The notification code sent with WM_NOTIFY when an item's icon or label is clicked.
constexpr UINT SCLN_ITEMCLICKED = 1101;
// Hit-test results of the scroll buttons.
constexpr int SCLHT_UPBUTTON = -10;
constexpr int SCLHT_DOWNBUTTON = -11;
// Item states: raised (the pointer is over it) and pressed.
constexpr UINT SCLIS_HOT = 0x400;
constexpr UINT SCLIS_PRESSED = 0x800;
// The context menu and its commands.
constexpr UINT IDR_SHORTCUTLIST_MENU = 20620;
constexpr UINT ID_SHORTCUTLIST_LARGEICON = 43054;
constexpr UINT ID_SHORTCUTLIST_SMALLICON = 43055;
// The repeat timer of the scroll buttons and of hot tracking.
constexpr UINT_PTR kShortcutListTimer = 61680;
constexpr UINT kShortcutListTimerPeriod = 250;
// A press must move further than this before it drags.
constexpr int kShortcutDragDistance = 5;

// What WM_NOTIFY carries: the header and the item, -1 when none.
struct SECShortcutListNotify {
  NMHDR hdr;
  int iItem;
};

class SECShortcutListCtrl : public SECListCtrl {
  DECLARE_DYNCREATE(SECShortcutListCtrl)

 public:
  class ScrollButton {
   public:
    enum { Pushed = 1 };
    void Draw(CDC* pDC, BOOL bUp) const;
    BOOL IsPushed() const { return (m_nState & Pushed) != 0; }
    CRect m_rect;
    UINT m_nState = 0;
  };

  // Accepts only this process's drag data; shows where a drop would insert the item.
  class ListDropTarget : public COleDropTarget {
   public:
    explicit ListDropTarget(SECShortcutListCtrl* pList) : m_pList(pList) {}
    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) override;

   private:
    SECShortcutListCtrl* m_pList;
  };

  SECShortcutListCtrl();
  ~SECShortcutListCtrl() override;

  // The registered drag format and this process's identity inside the drag data.
  static CLIPFORMAT GetClipboardFormat();
  static const GUID& GetProcessGuid();
  // The drag data of an item record: the process GUID, then the record (text, image, data).
  static HGLOBAL MakeDragData(const GUID& guid, const LVITEM& item);
  // Reads a record from drag data of this process; FALSE for any other data.
  static BOOL ReadDragData(COleDataObject* pDataObject, LVITEM* pItem);

  // Up button -10, down button -11, else the item (or -1) with LVHT_ flags.
  int HitTest(CPoint point, UINT* pFlags = nullptr, int* pnCol = nullptr) override;
  BOOL DeleteItem(int nRow, int nCount = 1) override;
  BOOL DeleteAllItems() override;
  void MeasureItem(SECListPaintContext* pContext) override;
  void DrawItems(SECListPaintContext* pContext) override;
  void DrawItem(SECListPaintContext* pContext) override;
  void PositionScrollBars() override;
  void UpdateScrollBars() override;

  BOOL IsSmallIcons() const { return (m_dwListStyle & 3) == 1; }
  void SetSmallIcons(BOOL bSmall);
  int GetHotItem() const { return m_nHotItem; }
  // Where a drop would insert (before that row), -1 while no mark shows.
  int GetInsertMark() const { return m_nInsertMark; }
  const ScrollButton& GetUpButton() const { return m_btnUp; }
  const ScrollButton& GetDownButton() const { return m_btnDown; }
  // The row a drop at the point inserts before (the item count: after the last).
  int InsertIndexFromPoint(CPoint point);
  void SetInsertMark(int nIndex);
  // The row's rectangle in client coordinates, empty when it is not on the page.
  CRect RowRect(int nRow);

  // May change the context menu before it shows.
  virtual void OnPrepareContextMenu(CMenu* /*pPopup*/) {}
  // Drags a row; after a move the source row is deleted.
  virtual DROPEFFECT DragItem(int nRow);

 protected:
  void SetHot(int nRow);
  void ClearHotStates();
  void PushButton(ScrollButton* pButton, BOOL bPush);
  void DrawInsertMark(CDC* pDC);
  void SendItemNotify(UINT nCode, int nItem);

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnCancelMode();
  afx_msg void OnLargeIcon();
  afx_msg void OnSmallIcon();
  DECLARE_MESSAGE_MAP()

 public:
  int m_nHotItem = -1;
  UINT_PTR m_nTimer = 0;
  int m_nLastWheel = 0;
  ListDropTarget* m_pDropTarget = nullptr;
  ScrollButton m_btnUp;
  ScrollButton m_btnDown;
  CPoint m_ptPress{-1, -1};
  int m_nPressItem = -1;
  int m_nInsertMark = -1;
  int m_nHeldButton = 0;  // the scroll button held down (its hit-test code), 0 for none
  CString m_strDragText;
  LRESULT m_lResult = 0;
};
