// The tree engine's item interface: handles and navigation, item data, rows kept in step with
// the shown nodes, insertion, deletion, expansion, selection, hit testing, sorting and styles.
#include <algorithm>
#include <new>
#include <typeinfo>

#include "widgets/SECSubItemTextStorage.h"
#include "widgets/SECTreeBase.h"

template <class ListBase>
SECTreeEngine<ListBase>::SECTreeEngine() {
  this->m_dwListStyle |= LVS_REPORT | LVS_SHAREIMAGELISTS;
  m_pRoot = NewNode();
  m_pRoot->SetExpanded(TRUE);
}

template <class ListBase>
SECTreeEngine<ListBase>::~SECTreeEngine() {
  delete m_pSubItemText;
  m_pSubItemText = nullptr;
  // The list's rows point at nodes: they go first.
  for (SECListItem* item : this->m_items) delete item;
  this->m_items.clear();
  m_liveNodes.Clear();
  delete m_pRoot;
  m_pRoot = nullptr;
  FreeSpareNodes();
}

template <class ListBase>
Node* SECTreeEngine<ListBase>::NewNode() {
  if (m_spareNodes.empty()) return new Node;
  void* memory = m_spareNodes.back();
  m_spareNodes.pop_back();
  return ::new (memory) Node;
}

template <class ListBase>
void SECTreeEngine<ListBase>::FreeSpareNodes() {
  for (void* memory : m_spareNodes) Node::operator delete(memory, sizeof(Node));
  m_spareNodes.clear();
  m_spareNodes.shrink_to_fit();
}

// ---- creation ----

template <class ListBase>
BOOL SECTreeEngine<ListBase>::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return Create(dwStyle, 0, rect, pParentWnd, nID);
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::Create(DWORD dwStyle, DWORD dwExStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (this->GetColumnCount() == 0) this->InsertColumn(0, "", LVCFMT_CENTER, 0, 0, -1, FALSE);
  // The extended bits of the list word go to the list (0x02000000 is full-row selection).
  this->m_dwListExStyle |= dwExStyle & 0x1FF00000;
  return ListBase::CreateEx(dwExStyle & ~0x1FF00000UL, dwStyle, rect, pParentWnd, nID);
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::Create(LPCTSTR, LPCTSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                                     CCreateContext* pContext) {
  if (this->GetColumnCount() == 0) this->InsertColumn(0, "", LVCFMT_CENTER, 0, 0, -1, FALSE);
  return ListBase::CreateEx(0, dwStyle, rect, pParentWnd, nID, pContext);
}

template <class ListBase>
void SECTreeEngine<ListBase>::SplitCreateStyles(CREATESTRUCT* pcs) {
  DWORD treeBits = static_cast<DWORD>(pcs->style) & 0x43F;
  pcs->style &= ~0x43FL;
  m_dwTreeStyle |= treeBits & 0x417;
  if (treeBits & TVS_EDITLABELS) this->m_dwListStyle |= LVS_EDITLABELS;
  if (treeBits & TVS_SHOWSELALWAYS) this->m_dwListStyle |= LVS_SHOWSELALWAYS;
  m_dwTreeExStyle |= static_cast<DWORD>(pcs->dwExStyle) & 0x03F00000;
  pcs->dwExStyle &= ~0x03F00000L;
  ListBase::SplitCreateStyles(pcs);
  ApplyTreeExStyleToList(FALSE);
}

// ---- handles, nodes and rows ----

template <class ListBase>
Node* SECTreeEngine<ListBase>::GetNode(HTREEITEM hItem) const {
  if (hItem == nullptr || hItem == TVI_ROOT) return m_pRoot;
  auto* node = reinterpret_cast<const Node*>(hItem);
  return m_liveNodes.Contains(node) ? const_cast<Node*>(node) : nullptr;
}

namespace {
inline HTREEITEM HandleOf(const Node* node) { return reinterpret_cast<HTREEITEM>(const_cast<Node*>(node)); }
}  // namespace

template <class ListBase>
Node* SECTreeEngine<ListBase>::NodeOfRow(int nRow) const {
  SECListItem* record = this->GetItemRecord(nRow);
  return record != nullptr ? reinterpret_cast<Node*>(record->m_lParam) : nullptr;
}

template <class ListBase>
int SECTreeEngine<ListBase>::GetItemRow(HTREEITEM hItem) {
  Node* node = GetNode(hItem);
  if (node == nullptr || node == m_pRoot || node->m_pRow == nullptr) return -1;
  return this->RowOfRecord(node->m_pRow);
}

template <class ListBase>
HTREEITEM SECTreeEngine<ListBase>::GetItemOfRow(int nRow) const {
  Node* node = NodeOfRow(nRow);
  return node != nullptr ? HandleOf(node) : nullptr;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::IsHiddenNode(const Node* pNode) const {
  return (pNode->m_dwExState & TVIS_EX_HIDDEN) != 0;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::IsShown(const Node* pNode) const {
  if (pNode == nullptr || pNode == m_pRoot) return FALSE;
  for (const Node* node = pNode; node != m_pRoot; node = node->Parent()) {
    if (node == nullptr || IsHiddenNode(node)) return FALSE;
    const Node* parent = node->Parent();
    if (parent == nullptr || !parent->IsExpanded()) return FALSE;
  }
  return TRUE;
}

template <class ListBase>
int SECTreeEngine<ListBase>::LevelOf(const Node* pNode) const {
  return pNode != nullptr ? pNode->GetDepth() : 0;
}

template <class ListBase>
SECListItem* SECTreeEngine<ListBase>::MakeRow(Node* pNode) {
  SECListItem* record = this->CreateItemRecord();
  record->m_lParam = reinterpret_cast<LPARAM>(pNode);
  record->m_cy = pNode->m_nRowHeight;
  record->m_bDirty = TRUE;
  pNode->m_pRow = record;
  return record;
}

template <class ListBase>
void SECTreeEngine<ListBase>::CollectShownRows(Node* pNode, std::vector<SECListItem*>& rows) {
  if (!pNode->IsExpanded()) return;
  for (Node* child = pNode->FirstChild(); child != nullptr; child = child->NextSibling()) {
    if (IsHiddenNode(child)) continue;
    rows.push_back(child->m_pRow != nullptr ? child->m_pRow : MakeRow(child));
    CollectShownRows(child, rows);
  }
}

template <class ListBase>
int SECTreeEngine<ListBase>::InsertDescendantRows(Node* pNode, int nRow) {
  std::vector<SECListItem*> rows;
  CollectShownRows(pNode, rows);
  if (rows.empty()) return 0;
  bool animate = (m_dwTreeExStyle & TVXS_ANIMATE) && this->GetSafeHwnd() != nullptr;
  if (!animate) {
    this->InsertItemRecords(nRow, rows);
    return static_cast<int>(rows.size());
  }
  for (size_t i = 0; i < rows.size(); ++i) {
    this->InsertItemRecords(nRow + static_cast<int>(i), {rows[i]});
    if (m_nAnimCount++ < m_nAnimSteps) this->RedrawItem(nRow + static_cast<int>(i), FALSE, TRUE, TRUE);
  }
  return static_cast<int>(rows.size());
}

template <class ListBase>
void SECTreeEngine<ListBase>::RemoveDescendantRows(Node* pNode, int nRow) {
  int count = 0;
  for (int row = nRow + 1; row < this->GetItemCount(); ++row) {
    Node* below = NodeOfRow(row);
    if (below == nullptr || !pNode->IsAncestorOf(below)) break;
    below->m_item.state &= ~static_cast<UINT>(TVIS_SELECTED);
    below->m_pRow = nullptr;
    ++count;
  }
  if (count == 0) return;
  if (!(m_dwTreeExStyle & TVXS_ANIMATE) || this->GetSafeHwnd() == nullptr) {
    ListBase::DeleteItem(nRow + 1, count);
    return;
  }
  int step = std::max(1, count / 5);
  for (int i = 0; i < count; ++i) {
    ListBase::DeleteItem(nRow + 1, 1);
    if ((i + 1) % step == 0) this->UpdateWindow();
  }
  this->UpdateWindow();
}

template <class ListBase>
void SECTreeEngine<ListBase>::SyncRows() {
  std::vector<SECListItem*> rows;
  rows.reserve(static_cast<size_t>(this->GetItemCount()));
  CollectShownRows(m_pRoot, rows);
  // A record stays when its node is still shown and holds it (CollectShownRows kept it): only
  // the old rows are looked at, not the new ones, which may be many more.
  for (SECListItem* record : this->m_items) {
    Node* node = reinterpret_cast<Node*>(record->m_lParam);
    if (node->m_pRow != record || !IsShown(node)) {
      node->m_item.state &= ~static_cast<UINT>(TVIS_SELECTED);
      node->m_pRow = nullptr;
    }
  }
  this->ReplaceRows(std::move(rows));
}

template <class ListBase>
void SECTreeEngine<ListBase>::ForgetRows(Node* pNode) {
  pNode->m_pRow = nullptr;
  for (Node* child = pNode->FirstChild(); child != nullptr; child = child->NextSibling()) ForgetRows(child);
}

// ---- navigation ----

template <class ListBase>
HTREEITEM SECTreeEngine<ListBase>::GetChildItem(HTREEITEM hItem) const {
  Node* node = GetNode(hItem);
  return node != nullptr && node->FirstChild() != nullptr ? HandleOf(node->FirstChild()) : nullptr;
}

template <class ListBase>
HTREEITEM SECTreeEngine<ListBase>::GetNextSiblingItem(HTREEITEM hItem) const {
  Node* node = GetNode(hItem);
  return node != nullptr && node != m_pRoot && node->NextSibling() != nullptr ? HandleOf(node->NextSibling()) : nullptr;
}

template <class ListBase>
HTREEITEM SECTreeEngine<ListBase>::GetPrevSiblingItem(HTREEITEM hItem) const {
  Node* node = GetNode(hItem);
  return node != nullptr && node != m_pRoot && node->PrevSibling() != nullptr ? HandleOf(node->PrevSibling()) : nullptr;
}

template <class ListBase>
HTREEITEM SECTreeEngine<ListBase>::GetParentItem(HTREEITEM hItem) const {
  Node* node = GetNode(hItem);
  if (node == nullptr || node == m_pRoot) return nullptr;
  Node* parent = node->Parent();
  return parent == nullptr || parent == m_pRoot ? nullptr : HandleOf(parent);
}

template <class ListBase>
HTREEITEM SECTreeEngine<ListBase>::GetPrevVisibleItem(HTREEITEM hItem) {
  Node* node = GetNode(hItem);
  if (node == nullptr || node == m_pRoot) return nullptr;
  int row = GetItemRow(hItem);
  if (row >= 0) return row > 0 ? GetItemOfRow(row - 1) : nullptr;
  if (IsShown(node)) {
    // The last shown node before a shown node: inside the nearest shown earlier sibling, else the parent.
    for (Node* sibling = node->PrevSibling(); sibling != nullptr; sibling = sibling->PrevSibling()) {
      if (IsHiddenNode(sibling)) continue;
      Node* last = sibling;
      for (;;) {
        Node* child = nullptr;
        if (last->IsExpanded()) {
          for (Node* c = static_cast<Node*>(last->GetLastChild()); c != nullptr; c = c->PrevSibling()) {
            if (!IsHiddenNode(c)) {
              child = c;
              break;
            }
          }
        }
        if (child == nullptr) break;
        last = child;
      }
      return HandleOf(last);
    }
    return HandleOf(node->Parent());
  }
  for (auto* before = static_cast<Node*>(node->GetPrevInPreOrder()); before != nullptr;
       before = static_cast<Node*>(before->GetPrevInPreOrder())) {
    if (before == m_pRoot || IsShown(before)) return HandleOf(before);
  }
  return HandleOf(m_pRoot);
}

template <class ListBase>
HTREEITEM SECTreeEngine<ListBase>::GetNextVisibleItem(HTREEITEM hItem) {
  int row = GetItemRow(hItem);
  return row >= 0 ? GetItemOfRow(row + 1) : nullptr;
}

template <class ListBase>
HTREEITEM SECTreeEngine<ListBase>::GetSelectedItem() {
  return GetItemOfRow(this->GetFocusRow());
}

template <class ListBase>
HTREEITEM SECTreeEngine<ListBase>::GetDropHilightItem() {
  return GetItemOfRow(this->GetDropHilite());
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::ItemHasChildren(HTREEITEM hItem) const {
  Node* node = GetNode(hItem);
  return node != nullptr && node->FirstChild() != nullptr;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::IsExpanded(HTREEITEM hItem) const {
  Node* node = GetNode(hItem);
  return node != nullptr && node->IsExpanded();
}

// ---- item data ----

template <class ListBase>
BOOL SECTreeEngine<ListBase>::GetItem(TVITEM* pItem, BOOL bCopyText, BOOL bAskParent) {
  if (pItem == nullptr) return FALSE;
  Node* node = GetNode(pItem->hItem);
  if (node == nullptr) return FALSE;
  const TVITEM& own = node->m_item;
  UINT callbacks = 0;
  if (pItem->mask & TVIF_CHILDREN) {
    pItem->cChildren = own.cChildren;
    if (own.cChildren == I_CHILDRENCALLBACK) callbacks |= TVIF_CHILDREN;
  }
  if (pItem->mask & TVIF_IMAGE) {
    pItem->iImage = own.iImage;
    if (own.iImage == I_IMAGECALLBACK) callbacks |= TVIF_IMAGE;
  }
  if (pItem->mask & TVIF_SELECTEDIMAGE) {
    pItem->iSelectedImage = own.iSelectedImage;
    if (own.iSelectedImage == I_IMAGECALLBACK) callbacks |= TVIF_SELECTEDIMAGE;
  }
  if (pItem->mask & TVIF_PARAM) pItem->lParam = own.lParam;
  if (pItem->mask & TVIF_STATE) pItem->state = own.state & pItem->stateMask;
  if (pItem->mask & TVIF_TEXT) {
    if (own.pszText == LPSTR_TEXTCALLBACK) {
      callbacks |= TVIF_TEXT;
      if (!bAskParent) pItem->pszText = LPSTR_TEXTCALLBACK;
    } else if (bCopyText) {
      if (pItem->pszText != nullptr && pItem->pszText != LPSTR_TEXTCALLBACK)
        lstrcpyn(pItem->pszText, own.pszText != nullptr ? own.pszText : "", pItem->cchTextMax);
    } else {
      pItem->pszText = own.pszText;
    }
  }
  if (bAskParent && callbacks != 0) {
    UINT mask = pItem->mask;
    pItem->mask = callbacks;
    pItem->lParam = own.lParam;
    if (callbacks & TVIF_TEXT) {
      if (!bCopyText || pItem->pszText == nullptr || pItem->pszText == LPSTR_TEXTCALLBACK) {
        pItem->pszText = this->m_szTextBuffer;
        pItem->cchTextMax = kListTextBufferSize;
        this->m_szTextBuffer[0] = '\0';
      }
    }
    SendGetDispInfo(pItem);
    pItem->mask = mask | (pItem->mask & TVIF_DI_SETITEM);
  }
  return TRUE;
}

template <class ListBase>
void SECTreeEngine<ListBase>::CopyIntoNode(Node* pNode, const TVITEM* pItem, UINT* pCallbacks) {
  TVITEM& own = pNode->m_item;
  UINT callbacks = 0;
  bool store = (pItem->mask & TVIF_DI_SETITEM) != 0;
  if (pItem->mask & TVIF_TEXT) {
    if (pItem->pszText == LPSTR_TEXTCALLBACK) {
      pNode->StoreText(LPSTR_TEXTCALLBACK);
    } else if (own.pszText == LPSTR_TEXTCALLBACK && !store) {
      callbacks |= TVIF_TEXT;
    } else {
      pNode->StoreText(pItem->pszText);
    }
  }
  auto copyInt = [&](UINT bit, int& field, int value) {
    if (!(pItem->mask & bit)) return;
    if (field == -1 && !store) callbacks |= bit;
    else field = value;
  };
  copyInt(TVIF_IMAGE, own.iImage, pItem->iImage);
  copyInt(TVIF_SELECTEDIMAGE, own.iSelectedImage, pItem->iSelectedImage);
  copyInt(TVIF_CHILDREN, own.cChildren, pItem->cChildren);
  if (pItem->mask & TVIF_STATE) own.state = (own.state & ~pItem->stateMask) | (pItem->state & pItem->stateMask);
  if (pItem->mask & TVIF_PARAM) own.lParam = pItem->lParam;
  if (pCallbacks != nullptr) *pCallbacks = callbacks;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::SetItem(TVITEM* pItem) {
  if (pItem == nullptr) return FALSE;
  Node* node = GetNode(pItem->hItem);
  if (node == nullptr) return FALSE;
  UINT oldState = node->m_item.state;
  UINT callbacks = 0;
  CopyIntoNode(node, pItem, &callbacks);
  if (callbacks != 0) {
    TVITEM report = *pItem;
    report.mask = callbacks;
    SendSetDispInfo(&report);
  }
  int row = node != m_pRoot && node->m_pRow != nullptr ? this->RowOfRecord(node->m_pRow) : -1;
  if (row < 0) return TRUE;
  LVITEM lvi{};
  lvi.iItem = row;
  if (pItem->mask & TVIF_STATE) {
    UINT mask = pItem->stateMask & (TVIS_CUT | TVIS_DROPHILITED | TVIS_SELECTED);
    UINT state = pItem->state & mask;
    if (pItem->state & (TVIS_OVERLAYMASK | TVIS_STATEIMAGEMASK)) {
      mask |= TVIS_OVERLAYMASK | TVIS_STATEIMAGEMASK;
      state |= pItem->state & (TVIS_OVERLAYMASK | TVIS_STATEIMAGEMASK);
    }
    lvi.mask |= LVIF_STATE;
    lvi.state = state;
    lvi.stateMask = mask;
  }
  if (pItem->mask & TVIF_IMAGE) {
    lvi.mask |= LVIF_IMAGE | LVIF_DI_SETITEM;
    lvi.iImage = pItem->iImage;
  }
  if (lvi.mask != 0 && !ListBase::SetItem(&lvi, FALSE)) return FALSE;
  bool visible = (pItem->mask & (TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN)) ||
                 ((pItem->mask & TVIF_STATE) && node->m_item.state != oldState);
  if (visible && row != this->m_nEditedRow && this->GetSafeHwnd() != nullptr) {
    node->m_pRow->m_bDirty = TRUE;
    this->UpdateScrollBars();
    RedrawTreeItem(HandleOf(node), FALSE, FALSE, FALSE, (pItem->mask & TVIF_STATE) && (pItem->stateMask & TVIS_DROPHILITED));
  } else if (visible) {
    node->m_pRow->m_bDirty = TRUE;
  }
  return TRUE;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask) {
  TVITEM item{};
  item.mask = TVIF_STATE | TVIF_HANDLE;
  item.hItem = hItem;
  item.state = nState;
  item.stateMask = nStateMask;
  return SetItem(&item);
}

template <class ListBase>
UINT SECTreeEngine<ListBase>::GetItemState(HTREEITEM hItem, UINT nStateMask) {
  TVITEM item{};
  item.mask = TVIF_STATE | TVIF_HANDLE;
  item.hItem = hItem;
  item.stateMask = nStateMask;
  if (!GetItem(&item, TRUE, TRUE)) return 0;
  UINT state = item.state;
  int row = GetItemRow(hItem);
  if (row >= 0 && (nStateMask & TVIS_SELECTED)) {
    state = (state & ~static_cast<UINT>(TVIS_SELECTED)) | (this->IsRowSelected(row) ? TVIS_SELECTED : 0);
  }
  return state & nStateMask;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::SetItemData(HTREEITEM hItem, DWORD_PTR dwData) {
  if (hItem == nullptr || GetNode(hItem) == nullptr) return FALSE;
  TVITEM item{};
  item.mask = TVIF_PARAM | TVIF_HANDLE;
  item.hItem = hItem;
  item.lParam = static_cast<LPARAM>(dwData);
  return SetItem(&item);
}

template <class ListBase>
DWORD_PTR SECTreeEngine<ListBase>::GetItemData(HTREEITEM hItem) const {
  if (hItem == nullptr) return 0;
  Node* node = GetNode(hItem);
  return node != nullptr ? static_cast<DWORD_PTR>(node->m_item.lParam) : 0;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage) {
  TVITEM item{};
  item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
  item.hItem = hItem;
  item.iImage = nImage;
  item.iSelectedImage = nSelectedImage;
  return SetItem(&item);
}

template <class ListBase>
CString SECTreeEngine<ListBase>::GetItemText(HTREEITEM hItem, int nCol) {
  Node* node = hItem != nullptr ? GetNode(hItem) : nullptr;
  if (node == nullptr) return CString();
  if (nCol == 0) {
    if (node->m_item.pszText != LPSTR_TEXTCALLBACK) return CString(node->m_item.pszText != nullptr ? node->m_item.pszText : "");
    TVITEM item{};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = hItem;
    item.pszText = this->m_szTextBuffer;
    item.cchTextMax = kListTextBufferSize;
    this->m_szTextBuffer[0] = '\0';
    GetItem(&item, TRUE, TRUE);
    return CString(item.pszText != nullptr && item.pszText != LPSTR_TEXTCALLBACK ? item.pszText : "");
  }
  if (m_pSubItemText != nullptr) {
    char buffer[kListTextBufferSize];
    m_pSubItemText->GetText(hItem, nCol, buffer, sizeof buffer);
    return CString(buffer);
  }
  int row = GetItemRow(hItem);
  return row >= 0 ? ListBase::GetItemText(row, this->GetColumnSubItem(nCol)) : CString();
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::SetItemText(HTREEITEM hItem, LPCTSTR lpszText) {
  if (hItem == nullptr || GetNode(hItem) == nullptr) return FALSE;
  TVITEM item{};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = hItem;
  item.pszText = const_cast<LPSTR>(lpszText);
  return SetItem(&item);
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::SetItemText(HTREEITEM hItem, int nCol, LPCTSTR lpszText) {
  if (nCol == 0) return SetItemText(hItem, lpszText);
  if (hItem == nullptr || GetNode(hItem) == nullptr) return FALSE;
  int row = GetItemRow(hItem);
  if (m_pSubItemText == nullptr) return row >= 0 && ListBase::SetItemText(row, this->GetColumnSubItem(nCol), lpszText);
  if (nCol > this->GetColumnCount()) return FALSE;
  if (!m_pSubItemText->SetText(hItem, nCol, lpszText)) return FALSE;
  if (row >= 0) {
    this->InvalidateItemMetrics(row);
    this->RedrawItem(row);
  }
  return TRUE;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::GetItemStateEx(HTREEITEM hItem, SECTreeStateExRequest* pRequest, BOOL bAskParent) {
  Node* node = GetNode(hItem);
  if (node == nullptr || pRequest == nullptr) return FALSE;
  pRequest->dwValue = 0;
  if (this->GetCallbackMask() != 0) {
    if (bAskParent) OnGetItemStateEx(hItem, pRequest);
    return TRUE;
  }
  for (const Node* up = node; up != nullptr; up = up->Parent()) pRequest->dwValue |= up->m_dwExState & pRequest->dwMask;
  return TRUE;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::SetItemStateEx(HTREEITEM hItem, DWORD dwValue, DWORD dwMask) {
  Node* node = GetNode(hItem);
  if (node == nullptr) return FALSE;
  DWORD before = node->m_dwExState;
  node->m_dwExState = (node->m_dwExState & ~dwMask) | (dwValue & dwMask);
  int row = GetItemRow(hItem);
  // Hiding or showing a node changes which nodes have rows.
  if ((before ^ node->m_dwExState) & TVIS_EX_HIDDEN) {
    SyncRows();
    row = GetItemRow(hItem);
    if (this->GetSafeHwnd() != nullptr) {
      this->UpdateScrollBars();
      this->Invalidate();
    }
  }
  if (row >= 0) ListBase::SetItemExState(row, dwValue & (TVIS_EX_MARK | TVIS_EX_HIDDEN), dwMask & (TVIS_EX_MARK | TVIS_EX_HIDDEN));
  return TRUE;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::EnableSubItemText(BOOL bEnable) {
  if (bEnable) {
    if (m_pSubItemText == nullptr) m_pSubItemText = new SECSubItemTextStorage;
  } else {
    delete m_pSubItemText;
    m_pSubItemText = nullptr;
  }
  return TRUE;
}

// ---- insertion ----

template <class ListBase>
HTREEITEM SECTreeEngine<ListBase>::InsertItem(LPTVINSERTSTRUCT lpInsertStruct) {
  if (lpInsertStruct == nullptr) return nullptr;
  if (m_pRoot == nullptr) {
    m_pRoot = NewNode();
    m_pRoot->SetExpanded(TRUE);
  }
  if (m_bDeletingAll) return nullptr;  // nothing is added to a tree being emptied
  Node* parent = GetNode(lpInsertStruct->hParent);
  if (parent == nullptr) return nullptr;
  Node* node = NewNode();
  node->m_item.hItem = HandleOf(node);
  TVITEM item = lpInsertStruct->item;
  item.mask |= TVIF_HANDLE | TVIF_DI_SETITEM;
  CopyIntoNode(node, &item, nullptr);
  node->m_item.state &= ~static_cast<UINT>(TVIS_EXPANDED);
  if ((item.mask & TVIF_STATE) && (item.stateMask & TVIS_EXPANDED) && (item.state & TVIS_EXPANDED))
    node->SetExpanded(TRUE);
  m_liveNodes.Insert(node);
  if (item.pszText == LPSTR_TEXTCALLBACK && (item.mask & TVIF_TEXT)) {
    TVITEM report = node->m_item;
    report.mask = TVIF_TEXT | TVIF_HANDLE;
    SendSetDispInfo(&report);
  }
  HTREEITEM after = lpInsertStruct->hInsertAfter;
  BOOL linked = FALSE;
  if (after == TVI_LAST || after == nullptr || after == TVI_ROOT) {
    // Filling a parent appends child after child: the one appended last, when it is still the
    // parent's last child, spares walking the children.
    // The one appended last may also lie below the parent's last child (a parent filled with
    // its children's children before its next child): its ancestors are tried too.
    Node* last = m_pLastAppended;
    while (last != nullptr && last != m_pRoot && last->Parent() != parent) last = last->Parent();
    if (last != nullptr && last != m_pRoot && last->NextSibling() == nullptr)
      linked = parent->AddChild(node, static_cast<SECTreeNodeX*>(last));
    else
      linked = parent->AddChild(node, SECTreeNodeX::kAddLast);
    m_pLastAppended = node;
  } else if (after == TVI_FIRST) {
    linked = parent->AddChild(node, SECTreeNodeX::kAddFirst);
  } else if (after == TVI_SORT || after == TVI_SORTDESC) {
    // Before the first child that sorts after the new one, so equal items keep their order.
    int sign = after == TVI_SORT ? 1 : -1;
    Node* before = nullptr;
    for (Node* child = parent->FirstChild(); child != nullptr; child = child->NextSibling()) {
      if (sign * CompareItems(HandleOf(child), HandleOf(node)) > 0) {
        before = child;
        break;
      }
    }
    if (before == nullptr) linked = parent->AddChild(node, SECTreeNodeX::kAddLast);
    else if (before->PrevSibling() == nullptr) linked = parent->AddChild(node, SECTreeNodeX::kAddFirst);
    else linked = parent->AddChild(node, static_cast<SECTreeNodeX*>(before->PrevSibling()));
  } else if (parent->FirstChild() == nullptr) {
    linked = parent->AddChild(node, SECTreeNodeX::kAddLast);
  } else {
    Node* sibling = GetNode(after);
    linked = sibling != nullptr && sibling != m_pRoot && parent->AddChild(node, static_cast<SECTreeNodeX*>(sibling));
  }
  if (!linked) {
    if (m_pLastAppended == node) m_pLastAppended = nullptr;
    m_liveNodes.Erase(node);
    delete node;
    return nullptr;
  }
  if (IsShown(node)) {
    int row = 0;
    if (!(node->Parent() == m_pRoot && node->PrevSibling() == nullptr)) {
      int prevRow = GetItemRow(GetPrevVisibleItem(HandleOf(node)));
      row = prevRow >= 0 ? prevRow + 1 : 0;
    }
    std::vector<SECListItem*> rows{MakeRow(node)};
    CollectShownRows(node, rows);
    this->InsertItemRecords(row, rows);
  }
  if (this->IsAutoRedraw() && this->GetSafeHwnd() != nullptr) {
    this->RecalcLayout();
    this->Invalidate();
  }
  return HandleOf(node);
}

template <class ListBase>
HTREEITEM SECTreeEngine<ListBase>::InsertItemEx(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage,
                                                UINT nState, UINT nStateMask, LPARAM lParam, HTREEITEM hParent,
                                                HTREEITEM hInsertAfter) {
  TVINSERTSTRUCT insert{};
  insert.hParent = hParent;
  insert.hInsertAfter = hInsertAfter;
  insert.item.mask = nMask;
  insert.item.pszText = const_cast<LPSTR>(lpszItem);
  if (lpszItem != LPSTR_TEXTCALLBACK) insert.item.cchTextMax = lpszItem != nullptr ? lstrlen(lpszItem) + 1 : 0;
  insert.item.iImage = nImage;
  insert.item.iSelectedImage = nSelectedImage;
  insert.item.state = nState;
  insert.item.stateMask = nStateMask;
  insert.item.lParam = lParam;
  return InsertItem(&insert);
}

template <class ListBase>
HTREEITEM SECTreeEngine<ListBase>::InsertItem(LPCTSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter) {
  return InsertItemEx(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
}

template <class ListBase>
HTREEITEM SECTreeEngine<ListBase>::InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                              HTREEITEM hInsertAfter) {
  return InsertItemEx(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszItem, nImage, nSelectedImage, 0, 0, 0, hParent,
                      hInsertAfter);
}

// ---- deletion ----

template <class ListBase>
void SECTreeEngine<ListBase>::DeleteNode(Node* pNode) {
  if (pNode == m_pLastAppended) m_pLastAppended = nullptr;
  pNode->Unlink();
  if (this->GetSafeHwnd() != nullptr) SendDeleteItem(HandleOf(pNode));
  if (m_pSubItemText != nullptr) m_pSubItemText->RemoveItem(HandleOf(pNode));
  m_liveNodes.Erase(pNode);
  delete pNode;
}

template <class ListBase>
void SECTreeEngine<ListBase>::DeleteAllNodes() {
  // Every item is told of its deletion, leaves before their parents as one by one deletion would
  // tell them, and the nodes are freed afterwards in one sweep: no unlinking, no set updates.
  constexpr size_t kAhead = 4;
  std::vector<Node*> order;
  order.reserve(m_liveNodes.Size());
  for (SECTreeNode* node = m_pRoot->m_pFirstChild; node != nullptr;) {
    while (node->m_pFirstChild != nullptr) node = node->m_pFirstChild;
    // node is a leaf, or a parent whose children are all listed: list it, then go on after it.
    for (;;) {
      order.push_back(static_cast<Node*>(node));
      if (node->m_pNextSibling != nullptr) {
        node = node->m_pNextSibling;
        break;
      }
      node = node->m_pParent;
      if (node == m_pRoot) {
        node = nullptr;
        break;
      }
    }
  }
  m_bDeletingAll = true;
  if (this->GetSafeHwnd() != nullptr) {
    typename ListBase::NotifyRun run(this);
    for (size_t i = 0; i < order.size(); ++i) {
      // The nodes lie far apart in memory: the item read a few notifications ahead is fetched now.
      if (i + kAhead < order.size()) __builtin_prefetch(&order[i + kAhead]->m_item);
      m_pDeleting = order[i];
      SendDeleteItem(HandleOf(order[i]));
    }
    m_pDeleting = nullptr;
    SendDeleteItem(TVI_ROOT);
  } else if (m_pSubItemText != nullptr) {
    for (Node* node : order) m_pSubItemText->RemoveItem(HandleOf(node));
  }
  m_bDeletingAll = false;
  ListBase::DeleteAllItems();
  // Plain nodes leave their memory for the next fill (what a derived tree made is deleted).
  FreeSpareNodes();
  order.push_back(m_pRoot);
  m_spareNodes.reserve(order.size());
  for (size_t i = 0; i < order.size(); ++i) {
    if (i + kAhead < order.size()) __builtin_prefetch(&order[i + kAhead]->m_item);
    Node* node = order[i];
    node->m_pFirstChild = nullptr;  // its children went before it
    if (typeid(*node) == typeid(Node)) {
      node->~Node();
      m_spareNodes.push_back(node);
    } else {
      delete node;
    }
  }
  m_liveNodes.Clear();
  m_pLastAppended = nullptr;
  m_pRoot = NewNode();
  m_pRoot->SetExpanded(TRUE);
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::DeleteItemInternal(HTREEITEM hItem) {
  if (m_pRoot == nullptr) return TRUE;
  // While the whole tree is going, a listener's deletions have nothing left to do.
  if (m_bDeletingAll) return FALSE;
  if (hItem == nullptr) return FALSE;  // NULL is not the root here
  Node* target = hItem == TVI_ROOT ? m_pRoot : GetNode(hItem);
  if (target == nullptr) return FALSE;
  bool whole = target == m_pRoot;
  if (!whole && target->m_pRow != nullptr) {
    // The node's rows form one run: its own and its shown descendants'.
    int row = this->RowOfRecord(target->m_pRow);
    if (row >= 0) {
      RemoveDescendantRows(target, row);
      target->m_pRow = nullptr;
      ListBase::DeleteItem(row, 1);
    }
  }
  if (whole) {
    if (this->m_nEditedRow >= 0) this->EndLabelEdit(FALSE);
    DeleteAllNodes();
    return TRUE;
  }
  while (target->FirstChild() != nullptr) {
    auto* leaf = static_cast<Node*>(target->GetFirstLeaf());
    if (leaf->FirstChild() != nullptr) return FALSE;
    if (leaf->m_pRow != nullptr) {
      int row = this->RowOfRecord(leaf->m_pRow);
      leaf->m_pRow = nullptr;
      if (row >= 0) ListBase::DeleteItem(row, 1);
    }
    DeleteNode(leaf);
  }
  DeleteNode(target);
  return TRUE;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::DeleteItem(HTREEITEM hItem) {
  BOOL result = DeleteItemInternal(hItem);
  if (result && this->IsAutoRedraw() && this->GetSafeHwnd() != nullptr) {
    this->RecalcLayout();
    this->Invalidate();
  }
  return result;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::DeleteAllItems() {
  return DeleteItem(TVI_ROOT);
}

// ---- expansion ----

template <class ListBase>
BOOL SECTreeEngine<ListBase>::HasChildrenOrReports(Node* pNode) {
  if (pNode->FirstChild() != nullptr) return TRUE;
  TVITEM item{};
  item.mask = TVIF_CHILDREN | TVIF_HANDLE;
  item.hItem = HandleOf(pNode);
  GetItem(&item, TRUE, TRUE);
  return item.cChildren >= 1;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::Expand(HTREEITEM hItem, UINT nCode, BOOL bRedraw, BOOL bForce) {
  Node* node = GetNode(hItem);
  if (node == nullptr) return FALSE;
  return ExpandInternal(node, nCode, bRedraw, bForce, m_nDeferRows > 0);
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::ExpandInternal(Node* pNode, UINT nCode, BOOL bRedraw, BOOL bForce, BOOL bDeferRows) {
  HTREEITEM hItem = HandleOf(pNode);
  if (!bForce && pNode->FirstChild() == nullptr && !HasChildrenOrReports(pNode)) return TRUE;
  CRect areaBefore;
  if (bRedraw) this->GetListArea(&areaBefore);  // what the redraw below compares with
  if ((nCode & 0x0F) == TVE_TOGGLE) nCode = pNode->IsExpanded() ? TVE_COLLAPSE : TVE_EXPAND;
  if (SendItemExpanding(hItem, nCode) == 1) return FALSE;
  if (pNode != m_pRoot && GetNode(hItem) == nullptr) return FALSE;  // the parent deleted it meanwhile
  int row = pNode == m_pRoot ? -1 : GetItemRow(hItem);
  bool expanded = false;
  if (nCode == TVE_EXPAND) {
    if (pNode->IsExpanded()) return TRUE;
    if (pNode->FirstChild() == nullptr) return FALSE;
    pNode->SetExpanded(TRUE);
    if (m_dwTreeExStyle & TVXS_ANIMATE) m_nAnimCount = 0;
    if (!bDeferRows && (row >= 0 || pNode == m_pRoot)) InsertDescendantRows(pNode, row + 1);
    expanded = true;
  } else if ((nCode & TVE_COLLAPSE) || (nCode & TVE_COLLAPSERESET)) {
    if (pNode->IsExpanded()) {
      int focus = this->GetFocusRow();
      Node* selected = NodeOfRow(focus);
      if (selected != nullptr && pNode->IsAncestorOf(selected) && row >= 0) {
        OnSelChanging(row, focus, 1);
        this->SetFocusSel(row, TRUE);
        OnSelChanged(row, focus, 1);
      }
      pNode->SetExpanded(FALSE);
      if (!bDeferRows && row >= 0) RemoveDescendantRows(pNode, row);
    }
    if (nCode & TVE_COLLAPSERESET) {
      while (Node* child = pNode->FirstChild()) DeleteItemInternal(HandleOf(child));
    }
  }
  SendItemExpanded(hItem, nCode);
  if (bRedraw && this->GetSafeHwnd() != nullptr) {
    if (expanded && m_bScrollAfterExpand && row >= 0) {
      if (auto* last = static_cast<Node*>(pNode->GetLastChild())) {
        EnsureVisible(HandleOf(last), TRUE);
        if (row < this->GetTopIndex()) {
          this->ScrollRows(row - this->GetTopIndex());
          this->SetFocusSel(row, TRUE);
        }
      }
    }
    this->RecalcLayout();
    CRect areaAfter;
    this->GetListArea(&areaAfter);
    if (areaAfter == areaBefore && row >= 0) RedrawTreeItem(hItem, FALSE, TRUE, TRUE);
    this->Invalidate();
  }
  return TRUE;
}

template <class ListBase>
void SECTreeEngine<ListBase>::ExpandAllInternal(Node* pNode) {
  if (pNode != m_pRoot && !ExpandInternal(pNode, TVE_EXPAND, FALSE, FALSE, TRUE)) return;
  for (Node* child = pNode->FirstChild(); child != nullptr; child = child->NextSibling()) {
    if (child->FirstChild() != nullptr || child->m_item.cChildren != 0) ExpandAllInternal(child);
  }
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::ExpandAll(HTREEITEM hItem, BOOL bRedraw) {
  Node* node = GetNode(hItem);
  if (node == nullptr) return FALSE;
  // Nodes are opened first and the rows made in one pass at the end.
  ++m_nDeferRows;
  ExpandAllInternal(node);
  --m_nDeferRows;
  if (m_nDeferRows == 0) SyncRows();
  if (bRedraw && this->GetSafeHwnd() != nullptr) {
    this->RecalcLayout();
    this->Invalidate();
  }
  return TRUE;
}

// ---- visibility and selection ----

template <class ListBase>
BOOL SECTreeEngine<ListBase>::EnsureVisible(HTREEITEM hItem, BOOL bWithParent) {
  if (hItem == nullptr) return FALSE;
  Node* node = GetNode(hItem);
  if (node == nullptr || node == m_pRoot) return FALSE;
  if (node->m_pRow == nullptr) {
    std::vector<Node*> closed;
    for (Node* up = node->Parent(); up != nullptr && up != m_pRoot; up = up->Parent()) {
      if (!up->IsExpanded()) closed.push_back(up);
    }
    ++m_nDeferRows;
    BOOL ok = TRUE;
    for (auto it = closed.rbegin(); it != closed.rend() && ok; ++it) ok = ExpandInternal(*it, TVE_EXPAND, FALSE, FALSE, TRUE);
    --m_nDeferRows;
    if (m_nDeferRows == 0) SyncRows();
    if (!ok) return FALSE;
    this->UpdateScrollBars();
    if (this->GetSafeHwnd() != nullptr) this->Invalidate();
  }
  int row = GetItemRow(hItem);
  if (row < 0) return FALSE;
  int parentRow = GetItemRow(GetParentItem(hItem));
  if (bWithParent && parentRow >= 0) return ListBase::EnsureRangeVisible(parentRow, row);
  return ListBase::EnsureVisible(row, FALSE);
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::Select(HTREEITEM hItem, UINT nCode) {
  if (nCode == TVGN_DROPHILITE && hItem == nullptr) return SelectDropTarget(nullptr, FALSE);
  if (!EnsureVisible(hItem, FALSE)) return FALSE;
  switch (nCode) {
    case TVGN_FIRSTVISIBLE: return SelectSetFirstVisible(hItem);
    case TVGN_DROPHILITE: return SelectDropTarget(hItem, TRUE);
    case TVGN_CARET: {
      int row = GetItemRow(hItem), focus = this->GetFocusRow();
      if (OnSelChanging(row, focus, 2) == 1) return FALSE;
      if (!this->IsMultiSel()) this->DeselectAllExcept(row);
      if (!this->SetFocusSel(row, TRUE)) return FALSE;
      OnSelChanged(row, focus, 2);
      return TRUE;
    }
    default: return FALSE;
  }
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::SelectItem(HTREEITEM hItem) {
  if (!EnsureVisible(hItem, FALSE)) return FALSE;
  int row = GetItemRow(hItem), focus = this->GetFocusRow();
  if (OnSelChanging(row, focus, 2) == 1) return FALSE;
  BOOL result = ListBase::SelectItem(row, TRUE);
  if (result) OnSelChanged(row, focus, 2);
  if (!(m_dwTreeExStyle & TVXS_MULTISEL)) return Select(hItem, TVGN_CARET);
  return result;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::SelectDropTarget(HTREEITEM hItem, BOOL bEnsureVisible) {
  if (hItem == nullptr) {
    this->SetDropHilite(-1);
    if (m_nHoverTimer != 0 && this->GetSafeHwnd() != nullptr) this->KillTimer(kTreeHoverTimer);
    m_nHoverTimer = 0;
    return TRUE;
  }
  if (bEnsureVisible && !EnsureVisible(hItem, FALSE)) return FALSE;
  int row = GetItemRow(hItem);
  if (row < 0) return FALSE;
  int old = this->GetDropHilite();
  this->SetDropHilite(row);
  if ((m_dwTreeExStyle & TVXS_HOVEREXPAND) && old != row && this->GetSafeHwnd() != nullptr) {
    if (m_nHoverTimer != 0) this->KillTimer(kTreeHoverTimer);
    m_nHoverTimer = this->SetTimer(kTreeHoverTimer, static_cast<UINT>(m_nHoverDelay), nullptr);
  }
  return TRUE;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::SelectSetFirstVisible(HTREEITEM hItem) {
  EnsureVisible(hItem, FALSE);
  int row = GetItemRow(hItem);
  if (row < 0) return FALSE;
  this->ScrollRows(row - this->GetTopIndex());
  return TRUE;
}

// ---- hit testing ----

template <class ListBase>
HTREEITEM SECTreeEngine<ListBase>::HitTest(CPoint point, UINT* pFlags) {
  UINT listFlags = 0;
  int col = -1;
  int row = ListBase::HitTest(point, &listFlags, &col);
  UINT flags = 0;
  HTREEITEM item = nullptr;
  if (listFlags & LVHT_ABOVE && row < 0 && !(listFlags & LVHT_ONROW)) flags |= TVHT_ABOVE;
  if (listFlags & LVHT_BELOW) flags |= TVHT_BELOW;
  if (listFlags & LVHT_TORIGHT) flags |= TVHT_TORIGHT;
  if (listFlags & LVHT_TOLEFT) flags |= TVHT_TOLEFT;
  if (listFlags & LVHT_ONDIVIDER) flags = 0x1000;
  else if (listFlags & LVHT_ONHEADER) flags = 0x2000;
  else if (row >= 0 && (listFlags & LVHT_ONROW)) {
    flags = 0;
    bool labelColumn = col >= 0 && this->GetColumnSubItem(col) == 0;
    if (labelColumn && (listFlags & LVHT_ONITEMLABEL)) flags = 0x4000 | TVHT_ONITEMLABEL;
    else if (labelColumn && (listFlags & LVHT_ONITEMICON)) flags = 0x4000 | TVHT_ONITEMICON;
    else if (labelColumn && (listFlags & LVHT_ONITEMSTATEICON)) flags = 0x4000 | TVHT_ONITEMSTATEICON;
    else if (labelColumn && (listFlags & LVHT_LEFTOFLABEL)) {
      flags = 0x4000 | TVHT_ONITEMINDENT;
      if (m_dwTreeStyle & TVS_HASBUTTONS) {
        CRect button;
        CRect cell;
        this->GetSubItemRect(row, col, &cell, 0);
        GetButtonRect(&button, row, cell.TopLeft());
        if (button.PtInRect(point)) flags = 0x4000 | TVHT_ONITEMBUTTON;
      }
    } else if (labelColumn && (listFlags & LVHT_RIGHTOFLABEL)) {
      flags = 0x4000 | TVHT_ONITEMRIGHT;
    }
    if (flags != 0 && (flags != (0x4000 | TVHT_ONITEMRIGHT) || this->IsExStyleSet(LVXS_FULLROWSELECT) || labelColumn))
      item = GetItemOfRow(row);
    if (flags == 0) {
      if (this->IsExStyleSet(LVXS_FULLROWSELECT)) {
        flags = 0x4000 | TVHT_ONITEMRIGHT;
        item = GetItemOfRow(row);
      } else {
        flags = TVHT_NOWHERE;
      }
    }
  }
  if (flags == 0) flags = TVHT_NOWHERE;
  if (pFlags != nullptr) *pFlags = flags;
  return item;
}

template <class ListBase>
HTREEITEM SECTreeEngine<ListBase>::HitTest(TVHITTESTINFO* pInfo) {
  if (pInfo == nullptr) return nullptr;
  pInfo->hItem = HitTest(CPoint(pInfo->pt), &pInfo->flags);
  return pInfo->hItem;
}

// ---- sorting ----

template <class ListBase>
int SECTreeEngine<ListBase>::CompareItems(HTREEITEM hFirst, HTREEITEM hSecond) {
  // Texts the nodes hold are compared where they are; texts asked of the parent are fetched.
  // The two children SortChildren compares now are known to be live.
  auto node = [this](HTREEITEM hItem) {
    for (Node* known : m_sortPair)
      if (known != nullptr && HandleOf(known) == hItem) return known;
    return GetNode(hItem);
  };
  Node* a = node(hFirst);
  Node* b = node(hSecond);
  if (a != nullptr && b != nullptr && a->m_item.pszText != LPSTR_TEXTCALLBACK && b->m_item.pszText != LPSTR_TEXTCALLBACK) {
    auto text = [](const Node* node) {
      return reinterpret_cast<const unsigned char*>(node->m_item.pszText != nullptr ? node->m_item.pszText : "");
    };
    // ASCII folds the same in every code page and is compared here; from the first other byte
    // (still a character boundary in both texts) the code page's comparison takes over.
    const unsigned char* x = text(a);
    const unsigned char* y = text(b);
    for (;; ++x, ++y) {
      unsigned int cx = *x, cy = *y;
      if (cx >= 0x80 || cy >= 0x80) return _mbsicmp(x, y);
      if (cx - 'A' < 26u) cx += 'a' - 'A';
      if (cy - 'A' < 26u) cy += 'a' - 'A';
      if (cx != cy) return cx < cy ? -1 : 1;
      if (cx == 0) return 0;
    }
  }
  CString first = GetItemText(hFirst, 0);
  CString second = GetItemText(hSecond, 0);
  return _mbsicmp(reinterpret_cast<const unsigned char*>(static_cast<const char*>(first)),
                  reinterpret_cast<const unsigned char*>(static_cast<const char*>(second)));
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::SortChildren(HTREEITEM hItem, BOOL bRecurse, BOOL bAscending) {
  Node* parent = GetNode(hItem);
  if (parent == nullptr) return FALSE;
  HTREEITEM selected = GetSelectedItem();
  size_t count = 0;
  for (SECTreeNode* child = parent->m_pFirstChild; child != nullptr; child = child->m_pNextSibling) ++count;
  std::vector<Node*> children;  // as linked: the relinking below works on the links themselves
  children.reserve(count);
  for (SECTreeNode* child = parent->m_pFirstChild; child != nullptr; child = child->m_pNextSibling)
    children.push_back(static_cast<Node*>(child));
  if (children.size() >= 2) {
    // A stable sort: equal items keep their order, as the adjacent-swap sort leaves them.
    int sign = bAscending ? 1 : -1;
    auto before = [&](Node* a, Node* b) {
      m_sortPair[0] = a;
      m_sortPair[1] = b;
      const int order = CompareItems(HandleOf(a), HandleOf(b));
      m_sortPair[0] = m_sortPair[1] = nullptr;
      return sign * order < 0;
    };
    constexpr size_t kFewChildren = 24;  // below this, insertion beats a merge and its buffer
    if (children.size() <= kFewChildren) {
      // A few children (a class's members) are sorted by insertion, in place.
      for (size_t i = 1; i < children.size(); ++i) {
        Node* child = children[i];
        size_t at = i;
        for (; at > 0 && before(child, children[at - 1]); --at) children[at] = children[at - 1];
        children[at] = child;
      }
    } else {
      std::stable_sort(children.begin(), children.end(), before);
    }
    // Relinked in the new order: each child after the one placed before it.
    Node* prev = nullptr;
    for (Node* child : children) {
      child->m_pPrevSibling = prev;
      child->m_pNextSibling = nullptr;
      if (prev != nullptr) prev->m_pNextSibling = child;
      prev = child;
    }
    parent->m_pFirstChild = children.front();
  }
  if (bRecurse) {
    ++m_nSortDepth;
    for (Node* child = parent->FirstChild(); child != nullptr; child = child->NextSibling()) {
      if (child->FirstChild() != nullptr) SortChildren(HandleOf(child), TRUE, bAscending);
    }
    --m_nSortDepth;
  }
  if (m_nSortDepth > 0) return TRUE;  // the outermost call rewrites the rows of all levels at once
  if (parent->IsExpanded() && (parent == m_pRoot || parent->m_pRow != nullptr) && this->m_nEditedRow < 0) {
    // The shown descendants' rows are rewritten in place, in the new order.
    int first = parent == m_pRoot ? 0 : this->RowOfRecord(parent->m_pRow) + 1;
    std::vector<Node*> shown;
    std::vector<SECListItem*> rows;
    CollectShownRows(parent, rows);
    for (SECListItem* record : rows) shown.push_back(reinterpret_cast<Node*>(record->m_lParam));
    if (first < this->GetItemCount()) this->RedrawItem(first);
    for (size_t i = 0; i < shown.size() && first + static_cast<int>(i) < this->GetItemCount(); ++i) {
      SECListItem* record = this->m_items[static_cast<size_t>(first) + i];
      record->m_lParam = reinterpret_cast<LPARAM>(shown[i]);
      record->m_bDirty = TRUE;
      record->m_nRowHint = first + static_cast<int>(i);
      shown[i]->m_pRow = record;
    }
    if (this->GetSafeHwnd() != nullptr) this->RecalcLayout();
  }
  if (selected != nullptr) Select(selected, TVGN_CARET);
  return TRUE;
}

// ---- styles ----

template <class ListBase>
BOOL SECTreeEngine<ListBase>::GetTreeStyles(DWORD* pdwStyle, DWORD* pdwExStyle) const {
  if (pdwStyle != nullptr) *pdwStyle = GetTreeStyle();
  if (pdwExStyle != nullptr) *pdwExStyle = m_dwTreeExStyle;
  return TRUE;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::SetTreeStyles(DWORD dwStyle, DWORD dwExStyle, BOOL bRedraw) {
  SetTreeStyle(dwStyle, FALSE);
  SetTreeStyleEx(dwExStyle, bRedraw);
  return TRUE;
}

template <class ListBase>
DWORD SECTreeEngine<ListBase>::GetTreeStyle() const {
  DWORD style = m_dwTreeStyle;
  if (this->IsStyleSet(LVS_EDITLABELS)) style |= TVS_EDITLABELS;
  if (this->IsStyleSet(LVS_SHOWSELALWAYS)) style |= TVS_SHOWSELALWAYS;
  return style;
}

template <class ListBase>
void SECTreeEngine<ListBase>::SetTreeStyle(DWORD dwStyle, BOOL bRedraw) {
  m_dwTreeStyle = dwStyle & 0x417;
  DWORD add = ((dwStyle & TVS_EDITLABELS) ? LVS_EDITLABELS : 0) | ((dwStyle & TVS_SHOWSELALWAYS) ? LVS_SHOWSELALWAYS : 0);
  this->ModifyStyle(LVS_EDITLABELS | LVS_SHOWSELALWAYS, add, bRedraw);
}

template <class ListBase>
void SECTreeEngine<ListBase>::ApplyTreeExStyleToList(BOOL bRedraw) {
  DWORD ex = m_dwTreeExStyle;
  DWORD remove = 0, add = 0, removeEx = 0, addEx = 0;
  ((ex & TVXS_MULTISEL) ? remove : add) |= LVS_SINGLESEL;
  ((ex & TVXS_WORDWRAP) ? remove : add) |= LVS_NOLABELWRAP;
  ((ex & TVXS_COLUMNHEADER) ? remove : add) |= LVS_NOCOLUMNHEADER;
  ((ex & TVXS_LABELTIPS) ? addEx : removeEx) |= LVXS_LABELTIPS;
  (((ex & TVXS_HEADERBUTTONS) && (ex & TVXS_COLUMNHEADER)) ? remove : add) |= LVS_NOSORTHEADER;
  (((ex & TVXS_HEADERBUTTONS) && (ex & TVXS_HEADERDRAG)) ? addEx : removeEx) |= LVXS_HEADERDRAGITEM;
  if (this->GetSafeHwnd() == nullptr) {
    this->m_dwListStyle = (this->m_dwListStyle & ~remove) | add;
    this->m_dwListExStyle = (this->m_dwListExStyle & ~removeEx) | addEx;
    return;
  }
  this->ModifyStyles(remove, add, removeEx, addEx, bRedraw);
}

template <class ListBase>
void SECTreeEngine<ListBase>::SetTreeStyleEx(DWORD dwExStyle, BOOL bRedraw) {
  m_dwTreeExStyle = dwExStyle;
  ApplyTreeExStyleToList(bRedraw);
}

template <class ListBase>
void SECTreeEngine<ListBase>::ModifyTreeStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw) {
  SetTreeStyle((GetTreeStyle() & ~dwRemove) | dwAdd, bRedraw);
}

template <class ListBase>
void SECTreeEngine<ListBase>::ModifyTreeStyleEx(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw) {
  SetTreeStyleEx((m_dwTreeExStyle & ~dwRemove) | dwAdd, bRedraw);
}

template <class ListBase>
void SECTreeEngine<ListBase>::ModifyTreeStyles(DWORD dwRemove, DWORD dwAdd, DWORD dwRemoveEx, DWORD dwAddEx,
                                               BOOL bRedraw) {
  ModifyTreeStyle(dwRemove, dwAdd, FALSE);
  ModifyTreeStyleEx(dwRemoveEx, dwAddEx, bRedraw);
}

template <class ListBase>
CImageList* SECTreeEngine<ListBase>::SetImageList(CImageList* pImageList, int nType) {
  if (nType == LVSIL_NORMAL && pImageList != nullptr && pImageList->GetSafeHandle() != nullptr) {
    int cx = 0, cy = 0;
    if (pImageList->GetIconSize(&cx, &cy) && cx > m_nIndent) SetIndent(cx);
  }
  return ListBase::SetImageList(pImageList, nType);
}

template <class ListBase>
void SECTreeEngine<ListBase>::SetLabelWrap(BOOL bWrap) {
  m_dwTreeExStyle = bWrap ? m_dwTreeExStyle | TVXS_WORDWRAP : m_dwTreeExStyle & ~TVXS_WORDWRAP;
  ListBase::SetLabelWrap(bWrap);
}

template <class ListBase>
void SECTreeEngine<ListBase>::EnableTips(BOOL bEnable) {
  m_dwTreeExStyle = bEnable ? m_dwTreeExStyle | TVXS_LABELTIPS : m_dwTreeExStyle & ~TVXS_LABELTIPS;
  ListBase::EnableTips(bEnable);
}

template <class ListBase>
void SECTreeEngine<ListBase>::SetMultiSel(BOOL bMulti) {
  m_dwTreeExStyle = bMulti ? m_dwTreeExStyle | TVXS_MULTISEL : m_dwTreeExStyle & ~TVXS_MULTISEL;
  ListBase::SetMultiSel(bMulti);
}

template <class ListBase>
void SECTreeEngine<ListBase>::SetHeaderStyles(BOOL bShow, BOOL bSortable) {
  m_dwTreeExStyle = bShow ? m_dwTreeExStyle | TVXS_COLUMNHEADER : m_dwTreeExStyle & ~TVXS_COLUMNHEADER;
  m_dwTreeExStyle = bSortable ? m_dwTreeExStyle | TVXS_HEADERBUTTONS : m_dwTreeExStyle & ~TVXS_HEADERBUTTONS;
  ListBase::SetHeaderStyles(bShow, bSortable);
}

template class SECTreeEngine<SECListCtrl>;
template class SECTreeEngine<SECListView>;
