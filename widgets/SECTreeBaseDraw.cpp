// The tree engine's look and conversation: column 0 measured and drawn (indent, lines, buttons,
// state image, image, label in one or two pieces), drag images, keys, mouse, hover expansion and
// the TVN_ notifications.
#include <algorithm>

#include "widgets/SECListTip.h"
#include "widgets/SECSubItemTextStorage.h"
#include "widgets/SECTreeBase.h"

namespace {

inline HTREEITEM HandleOf(const Node* node) { return reinterpret_cast<HTREEITEM>(const_cast<Node*>(node)); }

constexpr const char kTwoPieceMarker[] = "\\{HI}";
constexpr int kTwoPieceMarkerLength = 5;

CPen* TreePen(int index) {
  static CPen* pens[2] = {nullptr, nullptr};
  if (pens[index] == nullptr) {
    pens[index] = new CPen;
    pens[index]->CreatePen(PS_SOLID, 1, ::GetSysColor(index == 0 ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW));
  }
  return pens[index];
}

int FirstLineLength(const char* text) {
  const char* feed = std::strchr(text, '\n');
  return feed != nullptr ? static_cast<int>(feed - text) : static_cast<int>(std::strlen(text));
}


}  // namespace

template <class ListBase>
UINT SECTreeEngine<ListBase>::GetEndLabelEditMessage() {
  static const UINT message = ::RegisterWindowMessage("SECTreeCtrlNotifyEndLabelEditRegMsg");
  return message;
}

// ---- notifications ----

template <class ListBase>
LRESULT SECTreeEngine<ListBase>::SendTreeNotify(NMHDR* pHeader, UINT nCode) {
  return this->SendNotify(pHeader, nCode);
}

template <class ListBase>
void SECTreeEngine<ListBase>::FillNotifyItem(TVITEM& item, Node* pNode) const {
  if (pNode == nullptr) return;
  item = pNode->m_item;
  item.hItem = HandleOf(pNode);
}

template <class ListBase>
LRESULT SECTreeEngine<ListBase>::SendTreeView(UINT nCode, UINT nAction, Node* pNew, Node* pOld, POINT ptDrag) {
  NMTREEVIEW nm{};
  nm.action = nAction;
  FillNotifyItem(nm.itemNew, pNew);
  FillNotifyItem(nm.itemOld, pOld);
  nm.ptDrag = ptDrag;
  return SendTreeNotify(&nm.hdr, nCode);
}

template <class ListBase>
LRESULT SECTreeEngine<ListBase>::OnSelChanging(int nRow, int nOldRow, UINT nCause) {
  UINT action = nCause == 0 ? TVC_BYKEYBOARD : (nCause == 1 ? TVC_BYMOUSE : TVC_UNKNOWN);
  return SendTreeView(TVN_SELCHANGING, action, NodeOfRow(nRow), NodeOfRow(nOldRow));
}

template <class ListBase>
LRESULT SECTreeEngine<ListBase>::OnSelChanged(int nRow, int nOldRow, UINT nCause) {
  UINT action = nCause == 0 ? TVC_BYKEYBOARD : (nCause == 1 ? TVC_BYMOUSE : TVC_UNKNOWN);
  return SendTreeView(TVN_SELCHANGED, action, NodeOfRow(nRow), NodeOfRow(nOldRow));
}

template <class ListBase>
LRESULT SECTreeEngine<ListBase>::SendGetDispInfo(TVITEM* pItem) {
  NMTVDISPINFO info{};
  info.item = *pItem;
  char* buffer = pItem->pszText;
  int size = pItem->cchTextMax;
  LRESULT result = SendTreeNotify(&info.hdr, TVN_GETDISPINFO);
  *pItem = info.item;
  // An answer in a buffer of the parent's own is copied into the caller's, bounded.
  if ((pItem->mask & TVIF_TEXT) && buffer != nullptr && buffer != LPSTR_TEXTCALLBACK && size > 0) {
    if (info.item.pszText != buffer && info.item.pszText != nullptr && info.item.pszText != LPSTR_TEXTCALLBACK)
      lstrcpyn(buffer, info.item.pszText, size);
    else if (info.item.pszText == buffer)
      buffer[size - 1] = '\0';
    else
      buffer[0] = '\0';
    pItem->pszText = buffer;
    pItem->cchTextMax = size;
  }
  if (pItem->mask & TVIF_DI_SETITEM) {
    TVITEM store = *pItem;
    SetItem(&store);
  }
  return result;
}

template <class ListBase>
LRESULT SECTreeEngine<ListBase>::SendSetDispInfo(TVITEM* pItem) {
  NMTVDISPINFO info{};
  info.item = *pItem;
  return SendTreeNotify(&info.hdr, TVN_SETDISPINFO);
}

template <class ListBase>
LRESULT SECTreeEngine<ListBase>::SendItemExpanding(HTREEITEM hItem, UINT nCode) {
  return SendTreeView(TVN_ITEMEXPANDING, nCode, GetNode(hItem), nullptr);
}

template <class ListBase>
LRESULT SECTreeEngine<ListBase>::SendItemExpanded(HTREEITEM hItem, UINT nCode) {
  NMTREEVIEW nm{};
  nm.action = nCode;
  Node* node = GetNode(hItem);
  FillNotifyItem(nm.itemNew, node);
  nm.itemNew.state = node != nullptr && node->IsExpanded() ? TVIS_EXPANDED : 0;
  return SendTreeNotify(&nm.hdr, TVN_ITEMEXPANDED);
}

template <class ListBase>
void SECTreeEngine<ListBase>::SendDeleteItem(HTREEITEM hItem) {
  // While the tree is emptied, the item being told of is known to be live.
  Node* node = m_pDeleting != nullptr && hItem == HandleOf(m_pDeleting) ? m_pDeleting : nullptr;
  if (node == nullptr) node = hItem == TVI_ROOT ? m_pRoot : GetNode(hItem);
  if (node != nullptr && this->CurrentNotifyWindow() != nullptr) {
    NMTREEVIEW nm{};
    nm.action = TVN_DELETEITEM;
    nm.itemOld.mask = TVIF_PARAM | TVIF_HANDLE;
    nm.itemOld.hItem = HandleOf(node);
    nm.itemOld.lParam = node->m_item.lParam;
    SendTreeNotify(&nm.hdr, TVN_DELETEITEM);
  }
  if (m_pSubItemText != nullptr) m_pSubItemText->RemoveItem(hItem);
}

template <class ListBase>
void SECTreeEngine<ListBase>::OnItemDrag(int nRow, CPoint ptDown) {
  if (m_dwTreeStyle & TVS_DISABLEDRAGDROP) {
    this->m_bPressPending = FALSE;
    this->m_bItemDrag = FALSE;
    return;
  }
  // The parent is told once, when the drag starts; it takes over from there.
  this->m_bItemDrag = FALSE;
  SendTreeView(TVN_BEGINDRAG, 0, NodeOfRow(nRow), nullptr, ptDown);
}

template <class ListBase>
void SECTreeEngine<ListBase>::OnItemRDrag(int nRow, CPoint ptDown) {
  if (m_dwTreeStyle & TVS_DISABLEDRAGDROP) {
    // No drag: the release is a right click.
    this->m_bPressPending = FALSE;
    this->m_bItemDrag = FALSE;
    this->m_bRightDragBegun = FALSE;
    return;
  }
  this->m_bItemDrag = FALSE;
  SendTreeView(TVN_BEGINRDRAG, 0, NodeOfRow(nRow), nullptr, ptDown);
}

template <class ListBase>
LRESULT SECTreeEngine<ListBase>::NotifyBeginLabelEdit(int nRow, int nCol) {
  if (this->GetColumnSubItem(nCol) != 0) return ListBase::NotifyBeginLabelEdit(nRow, nCol);
  NMTVDISPINFO info{};
  FillNotifyItem(info.item, NodeOfRow(nRow));
  info.item.mask |= TVIF_TEXT;
  return SendTreeNotify(&info.hdr, TVN_BEGINLABELEDIT);
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::NotifyEndLabelEdit(int nRow, int nCol, CString& strText, BOOL bAccepted) {
  if (this->GetColumnSubItem(nCol) != 0) return ListBase::NotifyEndLabelEdit(nRow, nCol, strText, bAccepted);
  std::vector<char> block(kListTextBufferSize, '\0');
  NMTVDISPINFO info{};
  FillNotifyItem(info.item, NodeOfRow(nRow));
  info.item.mask |= TVIF_TEXT;
  if (bAccepted) {
    lstrcpyn(block.data(), strText, kListTextBufferSize);  // cut at 2047 bytes, whole characters
    info.item.pszText = block.data();
    info.item.cchTextMax = kListTextBufferSize;
  } else {
    info.item.pszText = nullptr;
    info.item.cchTextMax = 0;
  }
  LRESULT answer = SendTreeNotify(&info.hdr, TVN_ENDLABELEDIT);
  if (answer == 0 || !bAccepted) return FALSE;
  block.back() = '\0';
  strText = block.data();
  return TRUE;
}

template <class ListBase>
LRESULT SECTreeEngine<ListBase>::OnLabelEditDone(int nRow, int nCol) {
  if (this->GetColumnSubItem(nCol) != 0) return 0;
  CWnd* target = this->GetNotifyWindow();
  if (target == nullptr) return 0;
  return target->SendMessage(GetEndLabelEditMessage(), static_cast<WPARAM>(this->GetDlgCtrlID()),
                             reinterpret_cast<LPARAM>(GetItemOfRow(nRow)));
}

template <class ListBase>
LRESULT SECTreeEngine<ListBase>::NotifyKeyDown(UINT nVKey) {
  NMTVKEYDOWN nm{};
  nm.wVKey = static_cast<WORD>(nVKey);
  return SendTreeNotify(&nm.hdr, TVN_KEYDOWN);
}

template <class ListBase>
LRESULT SECTreeEngine<ListBase>::NotifyGetDispInfo(LVITEM* pItem) {
  if (m_pSubItemText != nullptr && pItem->iSubItem >= 1 && (pItem->mask & LVIF_TEXT)) {
    int col = this->FindColumnIndex(pItem->iSubItem);
    HTREEITEM item = GetItemOfRow(pItem->iItem);
    if (pItem->pszText != nullptr && pItem->pszText != LPSTR_TEXTCALLBACK)
      m_pSubItemText->GetText(item, col >= 0 ? col : pItem->iSubItem, pItem->pszText, pItem->cchTextMax);
    return 0;
  }
  return ListBase::NotifyGetDispInfo(pItem);
}

template <class ListBase>
void SECTreeEngine<ListBase>::OnSetDispInfo(LVITEM* pItem) {
  if (m_pSubItemText != nullptr && pItem->iSubItem >= 1 && (pItem->mask & LVIF_TEXT) &&
      pItem->pszText != LPSTR_TEXTCALLBACK) {
    int col = this->FindColumnIndex(pItem->iSubItem);
    m_pSubItemText->SetText(GetItemOfRow(pItem->iItem), col >= 0 ? col : pItem->iSubItem, pItem->pszText);
    return;
  }
  ListBase::OnSetDispInfo(pItem);
}

// ---- the list's operations for column 0 ----

template <class ListBase>
LPARAM SECTreeEngine<ListBase>::GetItemDataFromRecord(SECListItem* pItem) const {
  if (pItem == nullptr) return 0;
  auto* node = reinterpret_cast<Node*>(pItem->m_lParam);
  return node != nullptr ? node->m_item.lParam : 0;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::GetItem(LVITEM* pItem, BOOL bCopyText, BOOL bAskParent) {
  if (pItem == nullptr) return FALSE;
  Node* node = NodeOfRow(pItem->iItem);
  if (node == nullptr) return FALSE;
  if (pItem->iSubItem != 0) {
    if (m_pSubItemText != nullptr && (pItem->mask & LVIF_TEXT)) {
      UINT mask = pItem->mask;
      pItem->mask &= ~static_cast<UINT>(LVIF_TEXT);
      BOOL result = pItem->mask == 0 || ListBase::GetItem(pItem, bCopyText, bAskParent);
      pItem->mask = mask;
      int col = this->FindColumnIndex(pItem->iSubItem);
      if (bCopyText && pItem->pszText != nullptr && pItem->pszText != LPSTR_TEXTCALLBACK) {
        m_pSubItemText->GetText(HandleOf(node), col >= 0 ? col : pItem->iSubItem, pItem->pszText, pItem->cchTextMax);
      } else {
        const CStringArray* texts = m_pSubItemText->GetTexts(HandleOf(node));
        int index = (col >= 0 ? col : pItem->iSubItem) - 1;
        pItem->pszText = texts != nullptr && index >= 0 && index < texts->GetSize()
                             ? const_cast<char*>(static_cast<const char*>(texts->GetAt(index)))
                             : const_cast<char*>("");
      }
      return result;
    }
    return ListBase::GetItem(pItem, bCopyText, bAskParent);
  }
  UINT listState = 0;
  if (pItem->mask & LVIF_STATE) {
    LVITEM own{};
    own.mask = LVIF_STATE;
    own.iItem = pItem->iItem;
    own.stateMask = LVIS_FOCUSED | LVIS_SELECTED | LVIS_DROPHILITED;
    ListBase::GetItem(&own, TRUE, FALSE);
    listState = own.state;
  }
  TVITEM tv{};
  tv.hItem = HandleOf(node);
  if (pItem->mask & LVIF_TEXT) tv.mask |= TVIF_TEXT;
  if (pItem->mask & LVIF_IMAGE) tv.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  if (pItem->mask & LVIF_STATE) tv.mask |= TVIF_STATE;
  if (pItem->mask & LVIF_PARAM) tv.mask |= TVIF_PARAM;
  tv.stateMask = 0xFFFF;
  tv.pszText = pItem->pszText;
  tv.cchTextMax = pItem->cchTextMax;
  if (!GetItem(&tv, bCopyText, bAskParent)) return FALSE;
  if (pItem->mask & LVIF_TEXT) pItem->pszText = tv.pszText;
  if (pItem->mask & LVIF_IMAGE) pItem->iImage = (listState & LVIS_SELECTED) ? tv.iSelectedImage : tv.iImage;
  if (pItem->mask & LVIF_STATE) {
    UINT treeBits = tv.state & (TVIS_CUT | TVIS_BOLD | TVIS_OVERLAYMASK | TVIS_STATEIMAGEMASK);
    // The extended bits (grey 0x100, hidden 0x200) live apart from the item's state.
    SECTreeStateExRequest request;
    request.dwMask = TVIS_EX_MARK | TVIS_EX_HIDDEN;
    GetItemStateEx(HandleOf(node), &request, bAskParent);
    pItem->state = (listState | treeBits | request.dwValue) & pItem->stateMask;
  }
  if (pItem->mask & LVIF_PARAM) pItem->lParam = tv.lParam;
  return TRUE;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::SetItem(const LVITEM* pItem, BOOL bRedraw) {
  if (pItem == nullptr) return FALSE;
  Node* node = NodeOfRow(pItem->iItem);
  if (node == nullptr) return FALSE;
  if (pItem->iSubItem != 0) {
    if (m_pSubItemText != nullptr && (pItem->mask & LVIF_TEXT)) {
      int col = this->FindColumnIndex(pItem->iSubItem);
      if (!m_pSubItemText->SetText(HandleOf(node), col >= 0 ? col : pItem->iSubItem, pItem->pszText)) return FALSE;
      this->InvalidateItemMetrics(pItem->iItem);
      return TRUE;
    }
    return ListBase::SetItem(pItem, bRedraw);
  }
  TVITEM tv{};
  tv.hItem = HandleOf(node);
  if (pItem->mask & LVIF_TEXT) {
    tv.mask |= TVIF_TEXT;
    tv.pszText = pItem->pszText;
  }
  if (pItem->mask & LVIF_IMAGE) {
    tv.mask |= TVIF_IMAGE;
    tv.iImage = pItem->iImage;
  }
  if (pItem->mask & LVIF_PARAM) {
    tv.mask |= TVIF_PARAM;
    tv.lParam = pItem->lParam;
  }
  if (pItem->mask & LVIF_DI_SETITEM) tv.mask |= TVIF_DI_SETITEM;
  UINT treeMask = (pItem->mask & LVIF_STATE)
                      ? pItem->stateMask & (LVIS_CUT | LVIS_DROPHILITED | LVIS_SELECTED | LVIS_OVERLAYMASK |
                                            LVIS_STATEIMAGEMASK | TVIS_BOLD)
                      : 0;
  if (treeMask != 0 || (tv.mask & (TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM)) != 0) {
    if (treeMask != 0) {
      tv.mask |= TVIF_STATE;
      tv.state = pItem->state & treeMask;
      tv.stateMask = treeMask;
    }
    if (!SetItem(&tv)) return FALSE;
  }
  // The list keeps focus, selection and drop-highlight itself.
  UINT listMask = (pItem->mask & LVIF_STATE) ? pItem->stateMask & (LVIS_FOCUSED | LVIS_SELECTED | LVIS_DROPHILITED) : 0;
  if (listMask != 0) {
    LVITEM own{};
    own.mask = LVIF_STATE;
    own.iItem = pItem->iItem;
    own.state = pItem->state & listMask;
    own.stateMask = listMask;
    return ListBase::SetItem(&own, bRedraw);
  }
  return TRUE;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::SetItemExState(int nRow, DWORD dwState, DWORD dwMask) {
  Node* node = NodeOfRow(nRow);
  if (node == nullptr) return FALSE;
  return SetItemStateEx(HandleOf(node), dwState, dwMask);
}

template <class ListBase>
DWORD SECTreeEngine<ListBase>::GetItemExState(int nRow, DWORD dwMask, BOOL bAskParent) {
  Node* node = NodeOfRow(nRow);
  if (node == nullptr) return 0;
  SECTreeStateExRequest request;
  request.dwMask = dwMask;
  GetItemStateEx(HandleOf(node), &request, bAskParent);
  return request.dwValue;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::NeedsParent(int nRow) {
  Node* node = NodeOfRow(nRow);
  if (node == nullptr) return FALSE;
  const TVITEM& item = node->m_item;
  if (item.pszText == LPSTR_TEXTCALLBACK || item.cChildren == I_CHILDRENCALLBACK || item.iImage == I_IMAGECALLBACK ||
      item.iSelectedImage == I_IMAGECALLBACK)
    return TRUE;
  return ListBase::NeedsParent(nRow);
}

template <class ListBase>
UINT SECTreeEngine<ListBase>::GetTipItemState(int nRow, UINT nMask) {
  Node* node = NodeOfRow(nRow);
  return node != nullptr ? node->m_item.state & nMask : 0;
}

template <class ListBase>
BOOL SECTreeEngine<ListBase>::RedrawTreeItem(HTREEITEM hItem, BOOL bLabelOnly, BOOL bUpdateNow, BOOL bErase, BOOL bDrop) {
  int row = GetItemRow(hItem);
  if (row < 0) return FALSE;
  this->RedrawItem(row, bLabelOnly, bUpdateNow, bErase, bDrop);
  return TRUE;
}

template <class ListBase>
void SECTreeEngine<ListBase>::OnColumnMoved(int nFrom, int nToSubItem) {
  if (m_pSubItemText == nullptr) return;
  // Every node, shown or not, so hidden subtrees keep their texts in the right columns.
  for (auto* node = static_cast<Node*>(m_pRoot->GetNextInPreOrder()); node != nullptr;
       node = static_cast<Node*>(node->GetNextInPreOrder()))
    m_pSubItemText->MoveText(HandleOf(node), nFrom, nToSubItem);
}

// ---- measuring and drawing column 0 ----

template <class ListBase>
SECListPaintContext* SECTreeEngine<ListBase>::CreatePaintContext(CDC* pDC) {
  return new SECTreePaintContext(pDC, this->m_dwListStyle & LVS_TYPEMASK);
}

template <class ListBase>
void SECTreeEngine<ListBase>::SelectItemFont(SECListPaintContext* pContext) {
  CFont* font = this->GetRowFont();
  pContext->m_pFont = font;
  if (pContext->m_nSubItem != 0 || !(pContext->m_lvi.state & TVIS_BOLD)) return;
  LOGFONT lf{};
  if (font->GetLogFont(&lf) == 0) return;
  lf.lfWeight = FW_BOLD;
  LOGFONT current{};
  if (m_boldFont.GetSafeHandle() == nullptr || m_boldFont.GetLogFont(&current) == 0 ||
      std::memcmp(&current, &lf, sizeof lf) != 0) {
    m_boldFont.DeleteObject();
    if (!m_boldFont.CreateFontIndirect(&lf)) return;
  }
  pContext->m_pFont = &m_boldFont;
}

template <class ListBase>
void SECTreeEngine<ListBase>::FetchDisplayData(SECListPaintContext* pContext) {
  ListBase::FetchDisplayData(pContext);
  auto* tree = dynamic_cast<SECTreePaintContext*>(pContext);
  if (tree != nullptr) tree->m_pNode = NodeOfRow(pContext->m_nRow);
}

template <class ListBase>
void SECTreeEngine<ListBase>::MeasureLabel(SECTreePaintContext* pContext, const char* pszText, CRect& rect) {
  CDC* dc = pContext->m_pDC;
  const char* text = pszText != nullptr && pszText != LPSTR_TEXTCALLBACK ? pszText : "";
  CFont* old = dc->SelectObject(pContext->m_pFont != nullptr ? pContext->m_pFont : this->GetRowFont());
  TEXTMETRIC tm{};
  dc->GetTextMetrics(&tm);
  if (this->IsLabelWrap()) {
    const char* marker = std::strstr(text, kTwoPieceMarker);
    rect.bottom = rect.top;
    if (marker == nullptr) {
      pContext->m_bTwoPiece = FALSE;
      if (*text == '\0') rect.bottom = rect.top + tm.tmHeight;
      else dc->DrawText(text, -1, &rect, DT_WORDBREAK | DT_EXPANDTABS | DT_CALCRECT | DT_NOPREFIX);
    } else {
      pContext->m_bTwoPiece = TRUE;
      pContext->m_strFirst = CString(text, static_cast<int>(marker - text));
      pContext->m_strSecond = marker + kTwoPieceMarkerLength;
      pContext->m_nFirstWidth = dc->GetTextExtent(pContext->m_strFirst).cx;
      CRect second(rect.left + pContext->m_nFirstWidth, rect.top, rect.right, rect.top);
      dc->DrawText(pContext->m_strSecond, &second, DT_WORDBREAK | DT_EXPANDTABS | DT_CALCRECT | DT_NOPREFIX);
      rect.right = std::max(second.right, static_cast<LONG>(rect.left + pContext->m_nFirstWidth));
      rect.bottom = std::max(second.bottom, static_cast<LONG>(rect.top + tm.tmHeight));
    }
    rect.bottom += 2;
  } else {
    int length = FirstLineLength(text);
    rect.bottom = rect.top;
    CRect measured = rect;
    if (length > 0) {
      dc->DrawText(text, length, &measured, DT_SINGLELINE | DT_NOCLIP | DT_EXPANDTABS | DT_CALCRECT | DT_NOPREFIX);
      int tabbed = dc->GetTabbedTextExtent(text, length, 0, nullptr).cx;
      measured.right = std::max(measured.right, static_cast<LONG>(measured.left + tabbed));
    } else {
      measured.right = measured.left;
      measured.bottom = measured.top + tm.tmHeight;
    }
    rect = measured;
    rect.top -= 1;
    rect.bottom += 1;
    rect.OffsetRect(0, 1);
  }
  dc->SelectObject(old);
}

template <class ListBase>
int SECTreeEngine<ListBase>::MeasureCell(SECListPaintContext* pContext) {
  auto* tree = dynamic_cast<SECTreePaintContext*>(pContext);
  if (pContext->m_nSubItem != 0 || tree == nullptr) return ListBase::MeasureCell(pContext);
  Node* node = NodeOfRow(pContext->m_nRow);
  SECListItem* item = pContext->m_pItem;
  if (node == nullptr || item == nullptr) return ListBase::MeasureCell(pContext);
  tree->m_pNode = node;
  int level = LevelOf(node);
  bool rootLines = (m_dwTreeStyle & TVS_LINESATROOT) && (m_dwTreeStyle & (TVS_HASBUTTONS | TVS_HASLINES));
  int left = m_nIndent * (level - 1) + (rootLines ? m_nIndent : 0);
  int x = left;
  ::SetRectEmpty(&item->m_rcStateIcon);
  ::SetRectEmpty(&item->m_rcIcon);
  CImageList* states = this->GetImageList(LVSIL_STATE);
  int stateIndex = static_cast<int>((node->m_item.state >> 12) & 15);
  int cx = 0, cy = 0;
  if (states != nullptr && states->GetSafeHandle() != nullptr && stateIndex != 0 && stateIndex < states->GetImageCount() &&
      states->GetIconSize(&cx, &cy)) {
    item->m_rcStateIcon = CRect(x, 0, x + cx, cy);
    x += cx;
  }
  CImageList* images = this->GetImageList(LVSIL_NORMAL);
  bool selected = this->IsRowSelected(pContext->m_nRow);
  int image = selected ? node->m_item.iSelectedImage : node->m_item.iImage;
  if (image == I_IMAGECALLBACK) image = pContext->m_lvi.iImage;
  if (images != nullptr && images->GetSafeHandle() != nullptr && image != kTreeNoImage && images->GetIconSize(&cx, &cy)) {
    item->m_rcIcon = CRect(x, 0, x + cx, cy);
    x += cx;
  }
  CRect area;
  this->GetListArea(&area);
  int limit = this->GetColumnCount() <= 1 ? (this->IsLabelWrap() ? area.Width() - 5 : 10000)
                                          : this->GetColumnWidth(0) - 5;
  CRect label(x + 6, 0, std::max(x + 7, limit), 0);
  MeasureLabel(tree, pContext->m_pszText, label);
  int height = std::max({static_cast<int>(item->m_rcIcon.bottom), static_cast<int>(item->m_rcStateIcon.bottom),
                         static_cast<int>(label.bottom), std::max(item->m_cy, 0)});
  height += height & 1;
  if (label.bottom < height) label.OffsetRect(0, (height - label.bottom) / 2);
  if (item->m_rcIcon.bottom < height && !::IsRectEmpty(&item->m_rcIcon))
    ::OffsetRect(&item->m_rcIcon, 0, (height - item->m_rcIcon.bottom) / 2);
  if (item->m_rcStateIcon.bottom < height && !::IsRectEmpty(&item->m_rcStateIcon))
    ::OffsetRect(&item->m_rcStateIcon, 0, (height - item->m_rcStateIcon.bottom) / 2);
  item->m_rcText = label;
  return height;
}

template <class ListBase>
CPoint SECTreeEngine<ListBase>::LineCenter(SECListPaintContext* pContext, Node* pNode, const SECListItem* pItem,
                                           const CPoint& origin) {
  int level = LevelOf(pNode);
  CImageList* images = this->GetImageList(LVSIL_NORMAL);
  bool hasIcon = images != nullptr && !::IsRectEmpty(&pItem->m_rcIcon);
  bool hasState = !::IsRectEmpty(&pItem->m_rcStateIcon);
  int x = origin.x + m_nIndent * (level - 2);
  int y = origin.y;
  if (hasIcon) {
    x += (pItem->m_rcIcon.right - pItem->m_rcIcon.left) / 2;
    y += (pItem->m_rcIcon.top + pItem->m_rcIcon.bottom) / 2;
  } else if (hasState) {
    x += (pItem->m_rcStateIcon.right - pItem->m_rcStateIcon.left) / 2;
    y += (pItem->m_rcStateIcon.top + pItem->m_rcStateIcon.bottom) / 2;
  } else {
    x += 8;
    y += (pItem->m_rcText.top + pItem->m_rcText.bottom) / 2;
  }
  CPoint dcOrigin(0, 0);
  if (pContext != nullptr && pContext->m_pDC != nullptr) ::GetWindowOrgEx(pContext->m_pDC->GetSafeHdc(), &dcOrigin);
  if ((dcOrigin.x + x) & 1) ++x;
  if ((y - dcOrigin.y) & 1) ++y;
  bool rootLines = (m_dwTreeStyle & TVS_LINESATROOT) && (m_dwTreeStyle & (TVS_HASBUTTONS | TVS_HASLINES));
  if (rootLines) x += m_nIndent;
  return CPoint(x, y);
}

template <class ListBase>
void SECTreeEngine<ListBase>::DrawHorzLine(CDC* pDC, BOOL, int x1, int x2, int y) {
  if (x1 > x2) std::swap(x1, x2);
  if (pDC->IsPrinting()) {
    pDC->MoveTo(x1, y);
    pDC->LineTo(x2, y);
    return;
  }
  POINT org{0, 0};
  ::GetWindowOrgEx(pDC->GetSafeHdc(), &org);
  if ((org.x + x1) & 1) --x1;
  COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), back = this->GetBkColor();
  for (int x = x1; x < x2; x += 2) {
    pDC->SetPixel(x, y, shadow);
    if (x + 1 < x2) pDC->SetPixel(x + 1, y, back);
  }
}

template <class ListBase>
void SECTreeEngine<ListBase>::DrawVertLine(CDC* pDC, BOOL, int x, int y1, int y2) {
  if (y1 > y2) std::swap(y1, y2);
  if (pDC->IsPrinting()) {
    pDC->MoveTo(x, y1);
    pDC->LineTo(x, y2);
    return;
  }
  POINT org{0, 0};
  ::GetWindowOrgEx(pDC->GetSafeHdc(), &org);
  if ((org.y + y1) & 1) --y1;
  COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), back = this->GetBkColor();
  for (int y = y1; y < y2; y += 2) {
    pDC->SetPixel(x, y, shadow);
    if (y + 1 < y2) pDC->SetPixel(x, y + 1, back);
  }
}

template <class ListBase>
void SECTreeEngine<ListBase>::DrawLines(SECTreePaintContext* pContext) {
  Node* node = pContext->m_pNode;
  SECListItem* item = pContext->m_pItem;
  if (node == nullptr || item == nullptr) return;
  CDC* dc = pContext->m_pDC;
  const CRect& row = pContext->m_rcRow;
  CPoint origin(pContext->m_rcCell.left, row.top);
  CPoint center = LineCenter(pContext, node, item, origin);
  int level = LevelOf(node);
  bool rootLines = (m_dwTreeStyle & TVS_LINESATROOT) && (m_dwTreeStyle & (TVS_HASBUTTONS | TVS_HASLINES));
  CPen* old = dc->SelectObject(TreePen(1));
  int firstPicture = !::IsRectEmpty(&item->m_rcStateIcon) ? item->m_rcStateIcon.left
                     : !::IsRectEmpty(&item->m_rcIcon)    ? item->m_rcIcon.left
                                                          : item->m_rcText.left;
  if (rootLines || level >= 2) DrawHorzLine(dc, FALSE, center.x, origin.x + firstPicture - 1, center.y);
  if (pContext->m_nRow != 0) DrawVertLine(dc, FALSE, center.x, row.top, center.y);
  if (node->IsExpanded() && node->FirstChild() != nullptr) {
    int half = (!::IsRectEmpty(&item->m_rcIcon) ? item->m_rcIcon.bottom - item->m_rcIcon.top : 8) / 2;
    DrawVertLine(dc, FALSE, center.x + m_nIndent, center.y + half, row.bottom);
  }
  int steps = rootLines ? level : level - 1;
  int x = center.x;
  const Node* walk = node;
  for (int i = 0; i < steps && walk != nullptr && walk != m_pRoot; ++i) {
    if (walk->NextSibling() != nullptr) DrawVertLine(dc, FALSE, x, walk == node ? center.y : row.top, row.bottom);
    x -= m_nIndent;
    walk = walk->Parent();
  }
  dc->SelectObject(old);
}

template <class ListBase>
void SECTreeEngine<ListBase>::GetButtonRect(CRect* pRect, int nRow, CPoint ptRowOrigin) {
  Node* node = NodeOfRow(nRow);
  SECListItem* item = this->GetItemRecord(nRow);
  if (pRect == nullptr || node == nullptr || item == nullptr) {
    if (pRect != nullptr) pRect->SetRectEmpty();
    return;
  }
  CPoint center = LineCenter(nullptr, node, item, ptRowOrigin);
  int size = 8;
  if (!::IsRectEmpty(&item->m_rcIcon)) {
    size = std::min(15, static_cast<int>((item->m_rcIcon.bottom - item->m_rcIcon.top) * 0.6060606));
  } else if (!::IsRectEmpty(&item->m_rcStateIcon)) {
    size = std::min(15, static_cast<int>((item->m_rcStateIcon.bottom - item->m_rcStateIcon.top) * 0.6060606));
  }
  CRect rect(center.x - size / 2, center.y - size / 2, center.x - size / 2 + size, center.y - size / 2 + size);
  if ((rect.Width() & 1) == 0) ++rect.right;
  if ((rect.Height() & 1) == 0) ++rect.bottom;
  *pRect = rect;
}

template <class ListBase>
void SECTreeEngine<ListBase>::DrawButton(SECTreePaintContext* pContext) {
  Node* node = pContext->m_pNode;
  if (node == nullptr || (node->FirstChild() == nullptr && node->m_item.cChildren < 1 &&
                          node->m_item.cChildren != I_CHILDRENCALLBACK))
    return;
  if (node->FirstChild() == nullptr && node->m_item.cChildren == I_CHILDRENCALLBACK && !HasChildrenOrReports(node)) return;
  CDC* dc = pContext->m_pDC;
  CRect button;
  GetButtonRect(&button, pContext->m_nRow, CPoint(pContext->m_rcCell.left, pContext->m_rcRow.top));
  if (button.IsRectEmpty()) return;
  HWND hwnd = this->GetSafeHwnd();
  COLORREF fill = hwnd == nullptr || ::IsWindowEnabled(hwnd) ? RGB(255, 255, 255) : this->GetBkColor();
  CBrush brush(fill);
  CPen* oldPen = dc->SelectObject(TreePen(1));
  CBrush* oldBrush = dc->SelectObject(&brush);
  dc->Rectangle(&button);
  dc->SelectObject(TreePen(0));
  int cx = (button.left + button.right) / 2, cy = (button.top + button.bottom) / 2;
  POINT org{0, 0};
  ::GetWindowOrgEx(dc->GetSafeHdc(), &org);
  if ((org.x + cx) & 1) --cx;
  int arm = button.Width() / 3;
  dc->MoveTo(cx - arm, cy);
  dc->LineTo(cx + arm + 1, cy);
  if (!node->IsExpanded()) {
    dc->MoveTo(cx, cy - arm);
    dc->LineTo(cx, cy + arm + 1);
  }
  dc->SelectObject(oldBrush);
  dc->SelectObject(oldPen);
}

template <class ListBase>
void SECTreeEngine<ListBase>::DrawCell(SECListPaintContext* pContext) {
  auto* tree = dynamic_cast<SECTreePaintContext*>(pContext);
  if (pContext->m_nSubItem != 0 || tree == nullptr || tree->m_pNode == nullptr) {
    ListBase::DrawCell(pContext);
    return;
  }
  CDC* dc = pContext->m_pDC;
  SECListItem* item = pContext->m_pItem;
  Node* node = tree->m_pNode;
  const CRect& cell = pContext->m_rcCell;
  dc->FillSolidRect(&cell, pContext->m_rgbCellBk);
  bool editing = pContext->m_nRow == this->m_nEditedRow && pContext->m_nCol == this->m_nFocusCol;
  HWND hwnd = this->GetSafeHwnd();
  bool focused = hwnd != nullptr && ::GetFocus() == hwnd;
  bool selected = (pContext->m_lvi.state & LVIS_SELECTED) != 0;
  CImageList* states = this->GetImageList(LVSIL_STATE);
  if (states != nullptr && !::IsRectEmpty(&item->m_rcStateIcon)) {
    states->SetBkColor(pContext->m_rgbCellBk);
    states->Draw(dc, static_cast<int>((node->m_item.state >> 12) & 15),
                 CPoint(cell.left + item->m_rcStateIcon.left, cell.top + item->m_rcStateIcon.top), ILD_NORMAL);
  }
  CImageList* images = this->GetImageList(LVSIL_NORMAL);
  if (images != nullptr && !::IsRectEmpty(&item->m_rcIcon)) {
    int image = pContext->m_lvi.iImage;
    if (image < 0 || image >= images->GetImageCount()) image = 0;
    UINT style = ILD_NORMAL | (node->m_item.state & TVIS_OVERLAYMASK);
    if (this->IsExStyleSet(LVXS_SELECTEDIMAGE) &&
        ((selected && focused) || (pContext->m_lvi.state & LVIS_DROPHILITED)))
      style |= ILD_SELECTED;
    images->SetBkColor(pContext->m_rgbIconBk);
    images->Draw(dc, image, CPoint(cell.left + item->m_rcIcon.left, cell.top + item->m_rcIcon.top), style);
  }
  CRect clip;
  dc->GetClipBox(&clip);
  CRect visible;
  if (pContext->m_bPrinting || visible.IntersectRect(&pContext->m_rcRow, &clip)) {
    if (m_dwTreeStyle & TVS_HASLINES) DrawLines(tree);
    if (m_dwTreeStyle & TVS_HASBUTTONS) DrawButton(tree);
  }
  CRect label = item->m_rcText;
  label.OffsetRect(cell.left, cell.top);
  CRect fill(label.left - 3, label.top, label.right + 3, label.bottom);
  if (this->IsExStyleSet(LVXS_FULLROWSELECT) && this->GetColumnCount() >= 1) fill.right = cell.right;
  else if (this->GetColumnCount() > 1) fill.right = std::min(fill.right, cell.right);
  if (!editing || this->IsExStyleSet(LVXS_FULLROWSELECT)) {
    dc->FillSolidRect(&fill, pContext->m_rgbBk);
    CFont* old = dc->SelectObject(pContext->m_pFont != nullptr ? pContext->m_pFont : this->GetRowFont());
    dc->SetTextColor(pContext->m_rgbText);
    dc->SetBkColor(pContext->m_rgbBk);
    dc->SetBkMode(TRANSPARENT);
    const char* text = pContext->m_pszText != nullptr && pContext->m_pszText != LPSTR_TEXTCALLBACK ? pContext->m_pszText : "";
    CRect textRect = label;
    textRect.OffsetRect(0, 1);
    if (!editing) {
      if (!this->IsLabelWrap()) {
        dc->DrawText(text, FirstLineLength(text), &textRect,
                     DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX | DT_END_ELLIPSIS);
      } else if (tree->m_bTwoPiece) {
        CRect first(textRect.left, textRect.top, textRect.left + tree->m_nFirstWidth, textRect.bottom);
        dc->DrawText(tree->m_strFirst, &first, DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
        CRect second(textRect.left + tree->m_nFirstWidth, textRect.top, textRect.right, textRect.bottom);
        dc->DrawText(tree->m_strSecond, &second, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
      } else {
        dc->DrawText(text, -1, &textRect, DT_WORDBREAK | DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX);
      }
    }
    dc->SelectObject(old);
  }
  bool focusRect = pContext->m_nRow == this->GetFocusRow() && focused && !editing && !pContext->m_bPrinting &&
                   (!this->IsExStyleSet(LVXS_FULLROWSELECT) || this->GetColumnCount() == 1);
  if (focusRect) dc->DrawFocusRect(&fill);
}

// ---- drag images ----

template <class ListBase>
CBitmap* SECTreeEngine<ListBase>::CreateTextBitmap(CDC* pDC, const CString& strText) {
  CRect rect(0, 0, 0, 0);
  pDC->DrawText(strText, &rect, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
  auto* bitmap = new CBitmap;
  if (!bitmap->CreateCompatibleBitmap(pDC, std::max(1, rect.Width()), std::max(1, rect.Height()))) {
    delete bitmap;
    return nullptr;
  }
  CBitmap* old = pDC->SelectObject(bitmap);
  pDC->FillSolidRect(&rect, this->GetBkColor());
  pDC->DrawText(strText, &rect, DT_NOPREFIX | DT_EXPANDTABS);
  pDC->SelectObject(old);
  return bitmap;
}

template <class ListBase>
CImageList* SECTreeEngine<ListBase>::CreateTextDragImage(CDC* pDC, const CString& strText) {
  CBitmap* bitmap = CreateTextBitmap(pDC, strText);
  if (bitmap == nullptr) return nullptr;
  BITMAP info{};
  bitmap->GetBitmap(&info);
  auto* list = new CImageList;
  bool ok = list->Create(info.bmWidth, info.bmHeight, ILC_MASK | ILC_COLOR24, 1, 1) && list->Add(bitmap, CLR_DEFAULT) >= 0;
  delete bitmap;
  if (!ok) {
    delete list;
    return nullptr;
  }
  return list;
}

template <class ListBase>
CImageList* SECTreeEngine<ListBase>::CreateIconImageList(CImageList* pImageList, int nImage) {
  if (pImageList == nullptr || pImageList->GetSafeHandle() == nullptr) return nullptr;
  IMAGEINFO info{};
  if (!pImageList->GetImageInfo(nImage, &info)) return nullptr;
  HICON icon = pImageList->ExtractIcon(nImage);
  if (icon == nullptr) return nullptr;
  auto* list = new CImageList;
  bool ok = list->Create(info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top,
                         ILC_MASK | ILC_COLOR24, 1, 1) &&
            list->Add(icon) >= 0;
  ::DestroyIcon(icon);
  if (!ok) {
    delete list;
    return nullptr;
  }
  return list;
}

template <class ListBase>
CImageList* SECTreeEngine<ListBase>::MergeImageLists(CImageList* pFirst, CImageList* pSecond) {
  if (pFirst == nullptr || pSecond == nullptr || pFirst->GetSafeHandle() == nullptr || pSecond->GetSafeHandle() == nullptr)
    return nullptr;
  int cx = 0, cy = 0;
  pFirst->GetIconSize(&cx, &cy);
  auto* merged = new CImageList;
  if (!merged->Create(*pFirst, 0, *pSecond, 0, cx + 6, 0)) {
    delete merged;
    return nullptr;
  }
  return merged;
}

template <class ListBase>
CImageList* SECTreeEngine<ListBase>::CreateDragImage(HTREEITEM hItem) {
  CImageList* images = this->GetImageList(LVSIL_NORMAL);
  Node* node = hItem != nullptr ? GetNode(hItem) : nullptr;
  if (images == nullptr || node == nullptr || this->GetSafeHwnd() == nullptr) return nullptr;
  TVITEM item{};
  item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_HANDLE;
  item.hItem = hItem;
  item.pszText = this->m_szTextBuffer;
  item.cchTextMax = kListTextBufferSize;
  if (!GetItem(&item, TRUE, TRUE)) return nullptr;
  CString text = item.pszText != nullptr && item.pszText != LPSTR_TEXTCALLBACK ? item.pszText : "";
  CClientDC screen(this);
  CDC dc;
  if (!dc.CreateCompatibleDC(&screen)) return nullptr;
  CFont* old = dc.SelectObject(this->GetRowFont());
  CImageList* textImage = CreateTextDragImage(&dc, text);
  dc.SelectObject(old);
  CImageList* iconImage = CreateIconImageList(images, item.iImage);
  CImageList* merged = MergeImageLists(iconImage, textImage);
  delete textImage;
  delete iconImage;
  return merged;
}

// ---- keys ----

template <class ListBase>
void SECTreeEngine<ListBase>::ToggleOrSelectParent(int nRow, bool) {
  Node* node = NodeOfRow(nRow);
  if (node == nullptr) return;
  if (node->IsExpanded() && HasChildrenOrReports(node)) {
    Expand(HandleOf(node), TVE_COLLAPSE, TRUE);
  } else if (HTREEITEM parent = GetParentItem(HandleOf(node))) {
    this->DeselectAllExcept(-1);
    Select(parent, TVGN_CARET);
  }
  if (this->GetTipWindow() != nullptr) this->GetTipWindow()->Hide();
}

template <class ListBase>
void SECTreeEngine<ListBase>::OnKeyLeft(int nRow, int, BOOL, BOOL, UINT, UINT) {
  ToggleOrSelectParent(nRow, true);
}

template <class ListBase>
void SECTreeEngine<ListBase>::OnKeyBack(int nRow, int, BOOL, BOOL, UINT, UINT) {
  ToggleOrSelectParent(nRow, true);
}

template <class ListBase>
void SECTreeEngine<ListBase>::OnKeyRight(int nRow, int, BOOL, BOOL, UINT, UINT) {
  Node* node = NodeOfRow(nRow);
  if (node == nullptr) return;
  if (node->FirstChild() != nullptr && node->IsExpanded()) {
    this->DeselectAllExcept(-1);
    Select(HandleOf(node->FirstChild()), TVGN_CARET);
  } else if (node->FirstChild() != nullptr || HasChildrenOrReports(node)) {
    Expand(HandleOf(node), TVE_EXPAND, TRUE);
  }
  if (this->GetTipWindow() != nullptr) this->GetTipWindow()->Hide();
}

template <class ListBase>
void SECTreeEngine<ListBase>::OnKeyMultiply(int nRow, int, BOOL, BOOL, UINT, UINT) {
  Node* node = NodeOfRow(nRow);
  if (node != nullptr) ExpandAll(HandleOf(node), TRUE);
}

template <class ListBase>
void SECTreeEngine<ListBase>::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == '-' || nChar == '_' || nChar == '=' || nChar == '+') return;
  ListBase::OnChar(nChar, nRepCnt, nFlags);
}

// ---- mouse and timers ----

template <class ListBase>
void SECTreeEngine<ListBase>::OnLButtonDown(UINT nFlags, CPoint point) {
  SECListTip* tip = this->GetTipWindow();
  if (tip != nullptr && tip->IsShowing()) {
    CWnd* main = AfxGetMainWnd();
    this->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(main != nullptr ? main->GetSafeHwnd() : nullptr),
                      MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  }
  if (::GetFocus() != this->GetSafeHwnd()) this->SetFocus();
  HTREEITEM previous = GetSelectedItem();
  UINT flags = 0;
  HTREEITEM hit = HitTest(point, &flags);
  if ((m_dwTreeStyle & TVS_SINGLEEXPAND) && previous != nullptr && hit != nullptr) {
    ListBase::OnLButtonDown(nFlags, point);
    HTREEITEM now = GetSelectedItem();
    if (now == previous && hit == previous) {
      Expand(hit, TVE_TOGGLE, TRUE);
    } else if (now == hit) {
      Node* old = GetNode(previous);
      if (old != nullptr && old->IsExpanded() && !old->IsAncestorOf(GetNode(hit))) Expand(previous, TVE_COLLAPSE, TRUE);
      Expand(hit, TVE_EXPAND, TRUE);
    }
    return;
  }
  if (hit != nullptr && (flags & TVHT_ONITEMBUTTON)) {
    Expand(hit, TVE_TOGGLE, TRUE);
    return;
  }
  ListBase::OnLButtonDown(nFlags, point);
}

template <class ListBase>
void SECTreeEngine<ListBase>::OnLButtonDblClk(UINT nFlags, CPoint point) {
  ListBase::OnLButtonDblClk(nFlags, point);
  if (this->GetNotifyResult() != 0 || this->GetSafeHwnd() == nullptr) return;
  if (!(nFlags & (MK_SHIFT | MK_CONTROL))) {
    UINT flags = 0;
    HTREEITEM hit = HitTest(point, &flags);
    if (hit != nullptr && (flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMBUTTON)))
      Expand(hit, TVE_TOGGLE, TRUE);
  }
  if (this->GetTipWindow() != nullptr) this->GetTipWindow()->Hide();
}

template <class ListBase>
void SECTreeEngine<ListBase>::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kTreeHoverTimer) {
    ListBase::OnTimer(nIDEvent);
    return;
  }
  this->KillTimer(kTreeHoverTimer);
  m_nHoverTimer = 0;
  HTREEITEM target = GetDropHilightItem();
  if ((m_dwTreeExStyle & TVXS_HOVEREXPAND) && target != nullptr && !IsExpanded(target)) {
    Expand(target, TVE_EXPAND, TRUE);
    this->UpdateWindow();
  }
}

template <class ListBase>
void SECTreeEngine<ListBase>::OnDestroy() {
  DeleteAllItems();
  ListBase::OnDestroy();
}

template class SECTreeEngine<SECListCtrl>;
template class SECTreeEngine<SECListView>;
