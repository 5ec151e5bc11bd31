// The tree engine, written once over either list (SECListCtrl or SECListView): items addressed by
// HTREEITEM handles kept in a tree of nodes, one list row for every shown node in pre-order.
// SECTreeBaseItems.cpp holds the item interface (insert, delete, expand, select, sort, styles);
// SECTreeBaseDraw.cpp the look of column 0, keys, mouse and the TVN_ notifications.
#pragma once

#include <vector>

#include "widgets/SECListCtrl.h"
#include "widgets/SECTreeNode.h"

class SECSubItemTextStorage;

// The tree's own extended style bits.
constexpr DWORD TVXS_MULTISEL = 0x00100000;
constexpr DWORD TVXS_WORDWRAP = 0x00200000;
constexpr DWORD TVXS_COLUMNHEADER = 0x00400000;
constexpr DWORD TVXS_LABELTIPS = 0x00800000;
constexpr DWORD TVXS_ANIMATE = 0x01000000;
constexpr DWORD TVXS_HOVEREXPAND = 0x02000000;
constexpr DWORD TVXS_HEADERBUTTONS = 0x04000000;
constexpr DWORD TVXS_HEADERDRAG = 0x08000000;

#ifndef TVIF_DI_SETITEM
// A parent's display-data answer that the tree should keep.
#define TVIF_DI_SETITEM 0x1000
#endif
// Descending sorted insertion.
#define TVI_SORTDESC (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFF0)))
// A node's extended state: 0x200 hides the node and its subtree.
constexpr DWORD TVIS_EX_MARK = 0x100;
constexpr DWORD TVIS_EX_HIDDEN = 0x200;
constexpr int kTreeNoImage = -12;
// The hover-expand timer (distinct from the list's type-ahead timer).
constexpr UINT_PTR kTreeHoverTimer = kListFirstFreeTimer;

// The request of GetItemStateEx: the bits wanted and the answer.
struct SECTreeStateExRequest {
  DWORD dwMask = 0;
  DWORD dwValue = 0;
};

class SECTreePaintContext : public SECListPaintContext {
 public:
  using SECListPaintContext::SECListPaintContext;
  BOOL m_bTwoPiece = FALSE;
  CString m_strFirst;
  CString m_strSecond;
  int m_nFirstWidth = 0;
  Node* m_pNode = nullptr;
};

template <class ListBase>
class SECTreeEngine : public ListBase {
 public:
  SECTreeEngine();
  ~SECTreeEngine() override;

  // ---- creation ----
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;
  // The extended style is the list's (0x02000000: full-row selection, as the explorer asks).
  BOOL Create(DWORD dwStyle, DWORD dwExStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;
  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
              UINT nID, CCreateContext* pContext = nullptr) override;
  void SplitCreateStyles(CREATESTRUCT* pcs) override;

  // ---- handles and navigation ----
  // The node of a handle: the root for NULL and TVI_ROOT, NULL for a handle that names no live node.
  Node* GetNode(HTREEITEM hItem) const;
  Node* GetRootNode() const { return m_pRoot; }
  HTREEITEM GetChildItem(HTREEITEM hItem) const;
  HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const;
  HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const;
  HTREEITEM GetParentItem(HTREEITEM hItem) const;
  HTREEITEM GetRootItem() const { return GetChildItem(TVI_ROOT); }
  HTREEITEM GetPrevVisibleItem(HTREEITEM hItem);
  HTREEITEM GetNextVisibleItem(HTREEITEM hItem);
  HTREEITEM GetSelectedItem();
  HTREEITEM GetDropHilightItem();
  BOOL ItemHasChildren(HTREEITEM hItem) const;
  int GetCount() const { return static_cast<int>(m_liveNodes.Size()); }
  // The row of an item, -1 while it has none; amortised constant time.
  int GetItemRow(HTREEITEM hItem);
  HTREEITEM GetItemOfRow(int nRow) const;

  // ---- item data ----
  virtual BOOL GetItem(TVITEM* pItem, BOOL bCopyText = TRUE, BOOL bAskParent = TRUE);
  BOOL SetItem(TVITEM* pItem);
  BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask);
  UINT GetItemState(HTREEITEM hItem, UINT nStateMask);
  BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
  DWORD_PTR GetItemData(HTREEITEM hItem) const;
  BOOL SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage);
  CString GetItemText(HTREEITEM hItem, int nCol = 0);
  virtual BOOL SetItemText(HTREEITEM hItem, int nCol, LPCTSTR lpszText);
  virtual BOOL SetItemText(HTREEITEM hItem, LPCTSTR lpszText);
  virtual BOOL GetItemStateEx(HTREEITEM hItem, SECTreeStateExRequest* pRequest, BOOL bAskParent = TRUE);
  virtual BOOL SetItemStateEx(HTREEITEM hItem, DWORD dwValue, DWORD dwMask);
  BOOL IsExpanded(HTREEITEM hItem) const;
  using ListBase::GetItem;
  using ListBase::SetItem;
  using ListBase::SetItemText;
  using ListBase::GetItemText;
  using ListBase::SetItemState;
  using ListBase::GetItemState;
  using ListBase::SetItemData;
  using ListBase::GetItemData;

  // ---- sub-item texts ----
  virtual BOOL EnableSubItemText(BOOL bEnable);
  virtual BOOL HasSubItemText() const { return m_pSubItemText != nullptr; }
  SECSubItemTextStorage* GetSubItemTextStorage() const { return m_pSubItemText; }

  // ---- insertion and deletion ----
  using ListBase::InsertItem;
  HTREEITEM InsertItem(LPTVINSERTSTRUCT lpInsertStruct);
  HTREEITEM InsertItemEx(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState, UINT nStateMask,
                         LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter);
  HTREEITEM InsertItem(LPCTSTR lpszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST);
  HTREEITEM InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT,
                       HTREEITEM hInsertAfter = TVI_LAST);
  BOOL DeleteItem(HTREEITEM hItem);
  virtual BOOL DeleteItemInternal(HTREEITEM hItem);
  BOOL DeleteAllItems() override;
  using ListBase::DeleteItem;

  // ---- expansion ----
  virtual BOOL Expand(HTREEITEM hItem, UINT nCode, BOOL bRedraw = TRUE, BOOL bForce = FALSE);
  BOOL ExpandAll(HTREEITEM hItem, BOOL bRedraw = TRUE);

  // ---- visibility and selection ----
  BOOL EnsureVisible(HTREEITEM hItem, BOOL bWithParent = FALSE);
  BOOL Select(HTREEITEM hItem, UINT nCode);
  BOOL SelectItem(HTREEITEM hItem);
  BOOL SelectDropTarget(HTREEITEM hItem, BOOL bEnsureVisible = TRUE);
  BOOL SelectSetFirstVisible(HTREEITEM hItem);
  using ListBase::EnsureVisible;
  using ListBase::SelectItem;

  // ---- hit testing ----
  HTREEITEM HitTest(CPoint point, UINT* pFlags = nullptr);
  HTREEITEM HitTest(TVHITTESTINFO* pInfo);
  // The list's own hit test (row and column), under its full signature only, so that the tree's
  // forms above keep the calls with fewer arguments.
  int HitTest(CPoint point, UINT* pFlags, int* pnCol) override { return ListBase::HitTest(point, pFlags, pnCol); }

  // ---- sorting ----
  virtual int CompareItems(HTREEITEM hFirst, HTREEITEM hSecond);
  BOOL SortChildren(HTREEITEM hItem, BOOL bRecurse = FALSE, BOOL bAscending = TRUE);

  // ---- styles and settings ----
  virtual BOOL GetTreeStyles(DWORD* pdwStyle, DWORD* pdwExStyle) const;
  virtual BOOL SetTreeStyles(DWORD dwStyle, DWORD dwExStyle, BOOL bRedraw = TRUE);
  virtual DWORD GetTreeStyle() const;
  virtual DWORD GetTreeStyleEx() const { return m_dwTreeExStyle; }
  virtual void SetTreeStyle(DWORD dwStyle, BOOL bRedraw = TRUE);
  virtual void SetTreeStyleEx(DWORD dwExStyle, BOOL bRedraw = TRUE);
  virtual void ModifyTreeStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
  virtual void ModifyTreeStyleEx(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
  virtual void ModifyTreeStyles(DWORD dwRemove, DWORD dwAdd, DWORD dwRemoveEx, DWORD dwAddEx, BOOL bRedraw = TRUE);
  void SetIndent(int nIndent) { m_nIndent = nIndent + (nIndent & 1); }
  int GetIndent() const { return m_nIndent; }
  void SetHoverDelay(int nMilliseconds) { m_nHoverDelay = nMilliseconds; }
  int GetHoverDelay() const { return m_nHoverDelay; }
  void SetAnimationSteps(int nSteps) { m_nAnimSteps = nSteps; }
  void SetScrollAfterExpand(BOOL bScroll) { m_bScrollAfterExpand = bScroll; }
  // TRUE while any of the tree's setting words is non-zero.
  BOOL HasTreeStyles() const { return m_dwTreeStyle != 0 || m_dwTreeExStyle != 0; }
  CImageList* SetImageList(CImageList* pImageList, int nType) override;
  void SetLabelWrap(BOOL bWrap) override;
  void EnableTips(BOOL bEnable) override;
  void SetMultiSel(BOOL bMulti) override;
  void SetHeaderStyles(BOOL bShow, BOOL bSortable) override;

  // ---- drawing ----
  virtual BOOL RedrawTreeItem(HTREEITEM hItem, BOOL bLabelOnly = FALSE, BOOL bUpdateNow = FALSE, BOOL bErase = FALSE,
                              BOOL bDrop = FALSE);
  virtual CImageList* CreateDragImage(HTREEITEM hItem);
  virtual void MeasureLabel(SECTreePaintContext* pContext, const char* pszText, CRect& rect);
  virtual void DrawLines(SECTreePaintContext* pContext);
  virtual void DrawButton(SECTreePaintContext* pContext);
  virtual void DrawHorzLine(CDC* pDC, BOOL bSelected, int x1, int x2, int y);
  virtual void DrawVertLine(CDC* pDC, BOOL bSelected, int x, int y1, int y2);
  virtual CBitmap* CreateTextBitmap(CDC* pDC, const CString& strText);
  virtual CImageList* CreateTextDragImage(CDC* pDC, const CString& strText);
  virtual CImageList* CreateIconImageList(CImageList* pImageList, int nImage);
  virtual CImageList* MergeImageLists(CImageList* pFirst, CImageList* pSecond);
  virtual void GetButtonRect(CRect* pRect, int nRow, CPoint ptRowOrigin);
  SECListPaintContext* CreatePaintContext(CDC* pDC) override;
  void SelectItemFont(SECListPaintContext* pContext) override;
  int MeasureCell(SECListPaintContext* pContext) override;
  void FetchDisplayData(SECListPaintContext* pContext) override;
  void DrawCell(SECListPaintContext* pContext) override;
  void OnColumnMoved(int nFrom, int nToSubItem) override;

  // ---- notifications ----
  virtual LRESULT SendGetDispInfo(TVITEM* pItem);
  virtual LRESULT SendItemExpanded(HTREEITEM hItem, UINT nCode);
  virtual LRESULT SendItemExpanding(HTREEITEM hItem, UINT nCode);
  virtual LRESULT SendSetDispInfo(TVITEM* pItem);
  virtual void OnGetItemStateEx(HTREEITEM /*hItem*/, SECTreeStateExRequest* /*pRequest*/) {}
  virtual void OnTreeHook(HTREEITEM /*hItem*/) {}
  virtual void SendDeleteItem(HTREEITEM hItem);
  // A new item node; a tree emptied lately makes it in the memory of one of its old nodes.
  virtual Node* NewNode();

  // ---- the list's operations, redirected for column 0 ----
  LPARAM GetItemDataFromRecord(SECListItem* pItem) const override;
  BOOL SetItem(const LVITEM* pItem, BOOL bRedraw = TRUE) override;
  BOOL GetItem(LVITEM* pItem, BOOL bCopyText = TRUE, BOOL bAskParent = TRUE) override;
  BOOL SetItemExState(int nRow, DWORD dwState, DWORD dwMask) override;
  DWORD GetItemExState(int nRow, DWORD dwMask, BOOL bAskParent = TRUE) override;
  BOOL NeedsParent(int nRow) override;
  UINT GetTipItemState(int nRow, UINT nMask) override;
  void OnKeyLeft(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags) override;
  void OnKeyBack(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags) override;
  void OnKeyRight(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags) override;
  void OnKeyMultiply(int nRow, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRepCnt, UINT nFlags) override;
  void OnItemDrag(int nRow, CPoint ptDown) override;
  void OnItemRDrag(int nRow, CPoint ptDown) override;
  LRESULT NotifyBeginLabelEdit(int nRow, int nCol) override;
  BOOL NotifyEndLabelEdit(int nRow, int nCol, CString& strText, BOOL bAccepted) override;
  LRESULT OnLabelEditDone(int nRow, int nCol) override;
  LRESULT OnSelChanged(int nRow, int nOldRow, UINT nCause) override;
  LRESULT OnSelChanging(int nRow, int nOldRow, UINT nCause) override;
  LRESULT NotifyGetDispInfo(LVITEM* pItem) override;
  void OnSetDispInfo(LVITEM* pItem) override;
  LRESULT NotifyKeyDown(UINT nVKey) override;

  // ---- message handlers (the concrete tree's map names them) ----
  afx_msg void OnDestroy();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);

  // The registered message sent after a label edit.
  static UINT GetEndLabelEditMessage();

 protected:
  Node* NodeOfRow(int nRow) const;
  BOOL IsShown(const Node* pNode) const;
  BOOL IsHiddenNode(const Node* pNode) const;
  int LevelOf(const Node* pNode) const;
  SECListItem* MakeRow(Node* pNode);
  // Rows for the shown descendants of a node, in pre-order.
  void CollectShownRows(Node* pNode, std::vector<SECListItem*>& rows);
  int InsertDescendantRows(Node* pNode, int nRow);
  void RemoveDescendantRows(Node* pNode, int nRow);
  // Brings the rows in line with the nodes: every shown node gets a row, others lose theirs.
  void SyncRows();
  void ForgetRows(Node* pNode);
  BOOL HasChildrenOrReports(Node* pNode);
  void DeleteNode(Node* pNode);
  // Empties the tree: every item notified, then all nodes and rows freed at once.
  void DeleteAllNodes();
  void FillNotifyItem(TVITEM& item, Node* pNode) const;
  LRESULT SendTreeNotify(NMHDR* pHeader, UINT nCode);
  LRESULT SendTreeView(UINT nCode, UINT nAction, Node* pNew, Node* pOld, POINT ptDrag = {0, 0});
  void CopyIntoNode(Node* pNode, const TVITEM* pItem, UINT* pCallbacks);
  void ApplyTreeExStyleToList(BOOL bRedraw);
  BOOL ExpandInternal(Node* pNode, UINT nCode, BOOL bRedraw, BOOL bForce, BOOL bDeferRows);
  void ExpandAllInternal(Node* pNode);
  CPoint LineCenter(SECListPaintContext* pContext, Node* pNode, const SECListItem* pItem, const CPoint& origin);
  void ToggleOrSelectParent(int nRow, bool collapseKey);

 public:
  SECSubItemTextStorage* m_pSubItemText = nullptr;
  Node* m_pRoot = nullptr;
  int m_nIndent = 20;
  DWORD m_dwTreeStyle = 0;
  DWORD m_dwTreeExStyle = 0;
  UINT_PTR m_nHoverTimer = 0;
  int m_nHoverDelay = 1000;
  int m_nAnimSteps = 5;
  int m_nAnimCount = 0;
  BOOL m_bScrollAfterExpand = TRUE;

 private:
  SECTreeNodeSet m_liveNodes;
  Node* m_pLastAppended = nullptr;  // the node inserted last with TVI_LAST; NULL once it is deleted
  CFont m_boldFont;
  int m_nDeferRows = 0;
  int m_nSortDepth = 0;  // nested SortChildren calls leave the rows to the outermost
  bool m_bDeletingAll = false;  // DeleteAllNodes is notifying the items
  Node* m_pDeleting = nullptr;  // the item DeleteAllNodes is notifying now
  Node* m_sortPair[2] = {};  // the children SortChildren is comparing now
  // The memory of plain nodes of the last emptying, for NewNode: a tree refilled as large takes
  // no allocation per node.
  std::vector<void*> m_spareNodes;
  void FreeSpareNodes();
};

using SECTreeBaseC = SECTreeEngine<SECListCtrl>;
using SECTreeBaseV = SECTreeEngine<SECListView>;

extern template class SECTreeEngine<SECListCtrl>;
extern template class SECTreeEngine<SECListView>;
