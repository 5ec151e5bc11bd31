// The list engine's data model: construction and creation, item and sub-item records, columns,
// the selection array, item state, styles, colours and image lists.
#include <algorithm>
#include <new>
#include <typeinfo>

#include "widgets/SECListBase.h"
#include "widgets/SECListTip.h"

// ---- records ----

void SECListFreeText(char*& pszText) {
  if (pszText != nullptr && pszText != kListTextCallback) delete[] pszText;
  pszText = nullptr;
}

char* SECListCopyText(const char* pszText) {
  if (pszText == nullptr) return nullptr;
  if (pszText == kListTextCallback) return kListTextCallback;
  size_t length = std::strlen(pszText);
  char* copy = new char[length + 1];
  std::memcpy(copy, pszText, length + 1);
  return copy;
}

SECListItem::~SECListItem() {
  SECListFreeText(m_pszText);
  for (SECListSubItem* sub : m_subItems) delete sub;
}

namespace {

// The colours shared by every list: inactive selection text and background, button face.
struct SharedListColors {
  COLORREF inactiveText = ::GetSysColor(COLOR_MENUTEXT);
  COLORREF inactiveBk = ::GetSysColor(COLOR_MENU);
  COLORREF buttonFace = ::GetSysColor(COLOR_BTNFACE);
  void Refresh() {
    inactiveText = ::GetSysColor(COLOR_MENUTEXT);
    inactiveBk = ::GetSysColor(COLOR_MENU);
    buttonFace = ::GetSysColor(COLOR_BTNFACE);
  }
};

}  // namespace

SharedListColors& ListColors() {
  static SharedListColors colors;
  return colors;
}

COLORREF SECListInactiveSelText() { return ListColors().inactiveText; }
COLORREF SECListInactiveSelBk() { return ListColors().inactiveBk; }
COLORREF SECListButtonFace() { return ListColors().buttonFace; }

// ---- construction and creation ----

template <class Base>
SECListEngine<Base>::SECListEngine() {
  OnSysColorChange();
  m_bUseSystemColors = FALSE;
  m_pTip = new SECListTip(this);
  m_pEdit = new SECListEdit(this);
}

template <class Base>
SECListEngine<Base>::~SECListEngine() {
  if (m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr) m_pEdit->DestroyWindow();
  if (m_pTip != nullptr && m_pTip->GetSafeHwnd() != nullptr) m_pTip->DestroyWindow();
  delete m_pEdit;
  delete m_pTip;
  for (SECListItem* item : m_items) delete item;
  FreeSpareItems();
  for (SECListColumn* column : m_columns) delete column;
  for (CScrollBar*& bar : m_pScrollBars) delete bar;
  delete m_pColumnDragImage;
}

template <class Base>
void SECListEngine<Base>::PostNcDestroy() {
  Base::PostNcDestroy();
}

template <class Base>
BOOL SECListEngine<Base>::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CreateEx(0, dwStyle, rect, pParentWnd, nID);
}

template <class Base>
BOOL SECListEngine<Base>::Create(DWORD dwStyle, DWORD dwExStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CreateEx(dwExStyle, dwStyle, rect, pParentWnd, nID);
}

template <class Base>
BOOL SECListEngine<Base>::Create(LPCTSTR, LPCTSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                                 CCreateContext* pContext) {
  return CreateEx(0, dwStyle, rect, pParentWnd, nID, pContext);
}

template <class Base>
BOOL SECListEngine<Base>::CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                                   LPVOID lpParam) {
  // The class registered here double-clicks and leaves the background to the paint.
  LPCTSTR className = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), nullptr);
  return Base::CreateEx(dwExStyle, className, "", dwStyle, rect, pParentWnd, nID, lpParam);
}

template <class Base>
BOOL SECListEngine<Base>::CreateFromPlaceholder(UINT nID, CWnd* pDialog) {
  if (pDialog == nullptr) return FALSE;
  HWND placeholder = ::GetDlgItem(pDialog->GetSafeHwnd(), static_cast<int>(nID));
  if (placeholder == nullptr) return FALSE;
  DWORD style = static_cast<DWORD>(::GetWindowLong(placeholder, GWL_STYLE)) | WS_BORDER;
  DWORD exStyle = static_cast<DWORD>(::GetWindowLong(placeholder, GWL_EXSTYLE));
  CRect rect;
  ::GetWindowRect(placeholder, &rect);
  pDialog->ScreenToClient(&rect);
  ::DestroyWindow(placeholder);
  return CreateEx(exStyle, style, rect, pDialog, nID);
}

template <class Base>
BOOL SECListEngine<Base>::PreCreateWindow(CREATESTRUCT& cs) {
  if (!Base::PreCreateWindow(cs)) return FALSE;
  SplitCreateStyles(&cs);
  return TRUE;
}

template <class Base>
void SECListEngine<Base>::SplitCreateStyles(CREATESTRUCT* pcs) {
  m_dwListStyle |= static_cast<DWORD>(pcs->style) & 0x0000F3FF;
  pcs->style &= ~0x0000F3FFL;
  m_dwListExStyle |= static_cast<DWORD>(pcs->dwExStyle) & 0x1FF00000;
  pcs->dwExStyle &= ~0x1FF00000L;
}

template <class Base>
int SECListEngine<Base>::OnCreate(LPCREATESTRUCT lpcs) {
  if (Base::OnCreate(lpcs) == -1) return -1;
  m_hSizingCursor = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(20692));
  if (m_hSizingCursor == nullptr) m_hSizingCursor = ::LoadCursor(nullptr, IDC_SIZEWE);
  if ((lpcs->style & LVS_TYPEMASK) != LVS_REPORT && (m_dwListStyle & LVS_TYPEMASK) != LVS_REPORT) {
    m_dwListStyle |= LVS_NOCOLUMNHEADER;
    InsertColumn(0, "", LVCFMT_LEFT, 20, 0, -1, TRUE);
  }
  return 0;
}

template <class Base>
void SECListEngine<Base>::OnDestroy() {
  KillLabelEditTimer();
  if (!IsStyleSet(LVS_SHAREIMAGELISTS)) {
    for (CImageList*& list : m_pImageLists) {
      delete list;
      list = nullptr;
    }
  }
  if (m_pTip != nullptr && m_pTip->GetSafeHwnd() != nullptr) m_pTip->DestroyWindow();
  DeleteAllItems();
  DeleteAllColumns();
  Base::OnDestroy();
}

// ---- colours and fonts ----

template <class Base>
void SECListEngine<Base>::OnSysColorChange() {
  ListColors().Refresh();
  if (!m_bUseSystemColors) return;
  m_rgbBk = ::GetSysColor(COLOR_WINDOW);
  m_rgbText = ::GetSysColor(COLOR_WINDOWTEXT);
  m_rgbTextBk = ::GetSysColor(COLOR_WINDOW);
  m_rgbSelText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
  m_rgbSelBk = ::GetSysColor(COLOR_HIGHLIGHT);
  m_rgbGreyText = ::GetSysColor(COLOR_GRAYTEXT);
  m_rgbIconBk = ::GetSysColor(COLOR_WINDOW);
  m_rgbSelIconBk = ::GetSysColor(COLOR_WINDOW);
  m_rgbTipBk = ::GetSysColor(COLOR_INFOBK);
  m_rgbTipText = ::GetSysColor(COLOR_INFOTEXT);
}

template <class Base>
COLORREF SECListEngine<Base>::GetBkColor() const {
  HWND hwnd = this->GetSafeHwnd();
  if (hwnd != nullptr && !::IsWindowEnabled(hwnd)) return SECListInactiveSelBk();
  return m_rgbBk;
}

template <class Base>
BOOL SECListEngine<Base>::SetBkColor(COLORREF rgb) {
  m_rgbBk = rgb;
  m_rgbTextBk = rgb;
  return TRUE;
}
template <class Base>
BOOL SECListEngine<Base>::SetTextColor(COLORREF rgb) {
  m_rgbText = rgb;
  return TRUE;
}
template <class Base>
BOOL SECListEngine<Base>::SetTextBkColor(COLORREF rgb) {
  m_rgbTextBk = rgb;
  return TRUE;
}
template <class Base>
BOOL SECListEngine<Base>::SetSelTextColor(COLORREF rgb) {
  m_rgbSelText = rgb;
  return TRUE;
}
template <class Base>
BOOL SECListEngine<Base>::SetSelTextBkColor(COLORREF rgb) {
  m_rgbSelBk = rgb;
  return TRUE;
}
template <class Base>
BOOL SECListEngine<Base>::SetGreyTextColor(COLORREF rgb) {
  m_rgbGreyText = rgb;
  return TRUE;
}
template <class Base>
BOOL SECListEngine<Base>::SetIconBkColor(COLORREF rgb) {
  m_rgbIconBk = rgb;
  return TRUE;
}
template <class Base>
BOOL SECListEngine<Base>::SetSelIconBkColor(COLORREF rgb) {
  m_rgbSelIconBk = rgb;
  return TRUE;
}
template <class Base>
BOOL SECListEngine<Base>::SetTipTextColor(COLORREF rgb) {
  m_rgbTipText = rgb;
  return TRUE;
}
template <class Base>
BOOL SECListEngine<Base>::SetTipBkColor(COLORREF rgb) {
  m_rgbTipBk = rgb;
  return TRUE;
}

template <class Base>
CFont* SECListEngine<Base>::GetRowFont() const {
  if (m_pRowFont != nullptr && m_pRowFont->GetSafeHandle() != nullptr) return m_pRowFont;
  return CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
}

template <class Base>
CFont* SECListEngine<Base>::GetHeaderFont() const {
  if (m_pHeaderFont != nullptr && m_pHeaderFont->GetSafeHandle() != nullptr) return m_pHeaderFont;
  return CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
}

template <class Base>
void SECListEngine<Base>::SetFont(CFont* pFont, BOOL bRedraw) {
  m_pRowFont = pFont;
  InvalidateItemHeightsOfAllRows();
  if (bRedraw && this->GetSafeHwnd() != nullptr) {
    RecalcLayout();
    this->Invalidate();
  }
}

template <class Base>
void SECListEngine<Base>::SetHeaderFont(CFont* pFont, BOOL bRedraw) {
  m_pHeaderFont = pFont;
  if (bRedraw && this->GetSafeHwnd() != nullptr) this->Invalidate();
}

template <class Base>
LRESULT SECListEngine<Base>::SendNotify(NMHDR* pHeader, UINT nCode) {
  CWnd* target = CurrentNotifyWindow();
  if (target == nullptr || this->GetSafeHwnd() == nullptr) return 0;
  pHeader->hwndFrom = this->GetSafeHwnd();
  pHeader->idFrom = static_cast<UINT_PTR>(m_nNotifyRun > 0 ? m_nNotifyRunId : this->GetDlgCtrlID());
  pHeader->code = nCode;
  m_lNotifyResult = target->SendMessage(WM_NOTIFY, pHeader->idFrom, reinterpret_cast<LPARAM>(pHeader));
  return m_lNotifyResult;
}

template <class Base>
CWnd* SECListEngine<Base>::GetNotifyWindow() const {
  if (m_pNotifyTarget != nullptr) return m_pNotifyTarget;
  return this->GetParent();
}

// ---- image lists ----

template <class Base>
CImageList* SECListEngine<Base>::GetImageList(int nType) const {
  return nType >= 0 && nType < 4 ? m_pImageLists[nType] : nullptr;
}

template <class Base>
CImageList* SECListEngine<Base>::SetImageList(CImageList* pImageList, int nType) {
  if (nType < 0 || nType >= 4) return nullptr;
  CImageList* old = m_pImageLists[nType];
  m_pImageLists[nType] = pImageList;
  InvalidateItemHeightsOfAllRows();
  return old;
}

// ---- cloning ----

template <class Base>
CObject* SECListEngine<Base>::CloneObject(CObject* pObject) {
  if (pObject == nullptr) return nullptr;
  CMemFile file;
  {
    CArchive out(&file, CArchive::store, 4096);
    out.WriteObject(pObject);
    out.Close();
  }
  file.SeekToBegin();
  CArchive in(&file, CArchive::load, 4096);
  CObject* copy = in.ReadObject(nullptr);
  in.Close();
  return copy;
}

// ---- the selection array ----

template <class Base>
int SECListEngine<Base>::SelectionFind(int nRow) const {
  return static_cast<int>(std::lower_bound(m_selection.begin(), m_selection.end(), nRow) - m_selection.begin());
}

template <class Base>
BOOL SECListEngine<Base>::IsSelectedRow(int nRow) const {
  int at = SelectionFind(nRow);
  return at < static_cast<int>(m_selection.size()) && m_selection[at] == nRow;
}

template <class Base>
BOOL SECListEngine<Base>::SelectionAdd(int nRow) {
  if (m_selection.empty() || nRow > m_selection.back()) {
    m_selection.push_back(nRow);
    return TRUE;
  }
  int at = SelectionFind(nRow);
  if (m_selection[at] == nRow) return FALSE;
  m_selection.insert(m_selection.begin() + at, nRow);
  return TRUE;
}

template <class Base>
BOOL SECListEngine<Base>::SelectionRemove(int nRow) {
  int at = SelectionFind(nRow);
  if (at >= static_cast<int>(m_selection.size()) || m_selection[at] != nRow) return FALSE;
  m_selection.erase(m_selection.begin() + at);
  return TRUE;
}

// Row-indexed state follows inserted and removed rows: a row inside a removed run becomes
// nRow - 1 for focus and drop-highlight (as a deletion shifts them), -1 for anchor, armed and edited rows.
template <class Base>
void SECListEngine<Base>::ShiftRowState(int nRow, int nCount) {
  auto shift = [&](int& row, bool keepNearby) {
    if (row < 0 || row < nRow) return;
    if (nCount > 0) {
      row += nCount;
    } else if (row < nRow - nCount) {
      row = keepNearby ? nRow - 1 : -1;
    } else {
      row += nCount;
    }
  };
  shift(m_nFocusRow, true);
  shift(m_nDropRow, true);
  shift(m_nAnchorRow, false);
  shift(m_nArmedRow, false);
  shift(m_nEditedRow, false);
  int at = SelectionFind(nRow);
  if (nCount < 0) {
    int end = SelectionFind(nRow - nCount);
    m_selection.erase(m_selection.begin() + at, m_selection.begin() + end);
  }
  for (size_t i = static_cast<size_t>(at); i < m_selection.size(); ++i) m_selection[i] += nCount;
  m_nRowHintsValid = std::min(m_nRowHintsValid, nRow);
}

template <class Base>
SECListItem* SECListEngine<Base>::GetItemRecord(int nRow) const {
  return nRow >= 0 && nRow < GetItemCount() ? m_items[static_cast<size_t>(nRow)] : nullptr;
}

template <class Base>
int SECListEngine<Base>::RowOfRecord(const SECListItem* pItem) {
  if (pItem == nullptr) return -1;
  int hint = pItem->m_nRowHint;
  if (hint >= 0 && hint < m_nRowHintsValid && m_items[static_cast<size_t>(hint)] == pItem) return hint;
  for (int row = m_nRowHintsValid; row < GetItemCount(); ++row) m_items[static_cast<size_t>(row)]->m_nRowHint = row;
  m_nRowHintsValid = GetItemCount();
  hint = pItem->m_nRowHint;
  if (hint >= 0 && hint < GetItemCount() && m_items[static_cast<size_t>(hint)] == pItem) return hint;
  return -1;
}

// ---- items ----

template <class Base>
SECListItem* SECListEngine<Base>::CreateItemRecord() {
  SECListItem* item;
  if (m_spareItems.empty()) {
    item = new SECListItem;
  } else {
    item = ::new (m_spareItems.back()) SECListItem;
    m_spareItems.pop_back();
  }
  item->m_bDirty = TRUE;
  return item;
}

template <class Base>
void SECListEngine<Base>::FreeSpareItems() {
  // The memory came from a plain `new SECListItem` whose object was destroyed in place; the
  // unsized global delete frees it on every compiler (the sized one needs an option on some).
  for (void* memory : m_spareItems) ::operator delete(memory);
  m_spareItems.clear();
  m_spareItems.shrink_to_fit();
}

template <class Base>
void SECListEngine<Base>::AddSubItems(SECListItem* pItem) {
  while (static_cast<int>(pItem->m_subItems.size()) < m_nSubItemCount) pItem->m_subItems.push_back(new SECListSubItem);
}

template <class Base>
void SECListEngine<Base>::AddSubItemsChecked(SECListItem* pItem) {
  if (pItem != nullptr && static_cast<int>(pItem->m_subItems.size()) < m_nSubItemCount) AddSubItems(pItem);
}

template <class Base>
void SECListEngine<Base>::DeleteSubItems(SECListItem* pItem) {
  if (pItem == nullptr) return;
  for (SECListSubItem* sub : pItem->m_subItems) delete sub;
  pItem->m_subItems.clear();
}

template <class Base>
int SECListEngine<Base>::InsertItemRecord(int nRow, SECListItem* pItem) {
  InsertItemRecords(nRow, {pItem});
  return std::clamp(nRow, 0, GetItemCount() - 1);
}

template <class Base>
void SECListEngine<Base>::InsertItemRecords(int nRow, const std::vector<SECListItem*>& records) {
  if (records.empty()) return;
  nRow = std::clamp(nRow, 0, GetItemCount());
  int count = static_cast<int>(records.size());
  bool atEnd = nRow == GetItemCount() && m_nRowHintsValid == nRow;
  ShiftRowState(nRow, count);
  m_items.insert(m_items.begin() + nRow, records.begin(), records.end());
  for (int i = 0; i < count; ++i) {
    records[static_cast<size_t>(i)]->m_nRowHint = nRow + i;
    AddSubItemsChecked(records[static_cast<size_t>(i)]);
  }
  if (atEnd) m_nRowHintsValid = nRow + count;
  if (m_nFocusRow == -1) {
    m_nFocusRow = 0;
    SelectionAdd(0);
  }
}

template <class Base>
int SECListEngine<Base>::InsertItem(const LVITEM* pItem) {
  if (pItem == nullptr) return -1;
  SECListItem* record = CreateItemRecord();
  int row = InsertItemRecord(pItem->iItem, record);
  LVITEM item = *pItem;
  item.iItem = row;
  item.iSubItem = 0;
  // A new record's text and image are not callbacks yet: store what was given.
  item.mask |= LVIF_DI_SETITEM;
  SetItem(&item, m_bAutoRedraw);
  if (m_bAutoRedraw) UpdateScrollBars();
  return row;
}

template <class Base>
int SECListEngine<Base>::InsertItem(UINT nMask, int nRow, LPCTSTR lpszText, UINT nState, UINT nStateMask, int iImage,
                                    LPARAM lParam) {
  LVITEM item{};
  item.mask = nMask;
  item.iItem = nRow;
  item.pszText = const_cast<LPSTR>(lpszText);
  item.state = nState;
  item.stateMask = nStateMask;
  item.iImage = iImage;
  item.lParam = lParam;
  return InsertItem(&item);
}

template <class Base>
int SECListEngine<Base>::InsertItem(int nRow, LPCTSTR lpszText, int iImage) {
  return InsertItem(LVIF_TEXT | LVIF_IMAGE, nRow, lpszText, 0, 0, iImage, 0);
}

template <class Base>
int SECListEngine<Base>::InsertItem(int nRow, LPCTSTR lpszText) {
  return InsertItem(LVIF_TEXT, nRow, lpszText, 0, 0, 0, 0);
}

template <class Base>
int SECListEngine<Base>::InsertItemAfter(SECListItem* pAfter, const LVITEM* pItem) {
  if (pItem == nullptr) return -1;
  LVITEM item = *pItem;
  item.iItem = pAfter == nullptr ? 0 : RowOfRecord(pAfter) + 1;
  return InsertItem(&item);
}

template <class Base>
int SECListEngine<Base>::InsertItemBefore(SECListItem* pBefore, const LVITEM* pItem) {
  if (pItem == nullptr) return -1;
  LVITEM item = *pItem;
  item.iItem = pBefore == nullptr ? 0 : std::max(0, RowOfRecord(pBefore));
  return InsertItem(&item);
}

template <class Base>
LRESULT SECListEngine<Base>::NotifyInsertItem(int nRow) {
  NMLISTVIEW nm{};
  nm.iItem = nRow;
  return SendNotify(&nm.hdr, LVN_INSERTITEM);
}

template <class Base>
LRESULT SECListEngine<Base>::NotifyDeleteItem(int nRow) {
  NMLISTVIEW nm{};
  nm.iItem = nRow;
  return SendNotify(&nm.hdr, LVN_DELETEITEM);
}

template <class Base>
BOOL SECListEngine<Base>::DeleteItem(int nRow, int nCount) {
  if (!IsValidRow(nRow) || nCount <= 0) return FALSE;
  nCount = std::min(nCount, GetItemCount() - nRow);
  RedrawItem(nRow);
  NotifyDeleteItem(nRow);
  if (!IsValidRow(nRow)) return FALSE;  // the parent may have emptied the list meanwhile
  nCount = std::min(nCount, GetItemCount() - nRow);
  if (m_nEditedRow >= nRow && m_nEditedRow < nRow + nCount) EndLabelEdit(FALSE);
  for (int i = 0; i < nCount; ++i) delete m_items[static_cast<size_t>(nRow + i)];
  m_items.erase(m_items.begin() + nRow, m_items.begin() + nRow + nCount);
  ShiftRowState(nRow, -nCount);
  if (m_nFocusRow >= GetItemCount()) m_nFocusRow = GetItemCount() - 1;
  if (m_nDropRow >= GetItemCount()) m_nDropRow = -1;
  m_nTopRow = std::clamp(m_nTopRow, 0, std::max(0, GetItemCount() - 1));
  if (m_selection.empty() && m_nFocusRow >= 0) SelectionAdd(m_nFocusRow);
  if (this->GetSafeHwnd() != nullptr) {
    UpdateScrollBars();
    this->Invalidate(FALSE);
  }
  return TRUE;
}

template <class Base>
BOOL SECListEngine<Base>::DeleteItemRecord(SECListItem* pItem) {
  int row = RowOfRecord(pItem);
  return row >= 0 && DeleteItem(row, 1);
}

template <class Base>
BOOL SECListEngine<Base>::DeleteAllItems() {
  KillLabelEditTimer();
  if (m_nEditedRow >= 0) EndLabelEdit(FALSE);
  // Plain records leave their memory for the next fill (what a derived list made is deleted).
  FreeSpareItems();
  m_spareItems.reserve(m_items.size());
  for (SECListItem* item : m_items) {
    if (typeid(*item) == typeid(SECListItem)) {
      item->~SECListItem();
      m_spareItems.push_back(item);
    } else {
      delete item;
    }
  }
  m_items.clear();
  m_selection.clear();
  m_nTopRow = 0;
  m_nFocusRow = m_nAnchorRow = m_nDropRow = m_nArmedRow = m_nEditedRow = -1;
  m_nRowHintsValid = 0;
  if (this->GetSafeHwnd() != nullptr) {
    UpdateScrollBars();
    this->Invalidate();
  }
  return TRUE;
}

template <class Base>
void SECListEngine<Base>::ReplaceRows(std::vector<SECListItem*> rows) {
  // An edit of a row that goes away ends first, while the rows are still as it knows them.
  constexpr int kNew = -5, kOld = -2, kOldSelected = -3;
  for (SECListItem* item : rows) item->m_nRowHint = kNew;
  SECListItem* edited = GetItemRecord(m_nEditedRow);
  if (edited != nullptr && edited->m_nRowHint != kNew) EndLabelEdit(FALSE);
  m_nRowHintsValid = 0;
  SECListItem* focus = GetItemRecord(m_nFocusRow);
  SECListItem* anchor = GetItemRecord(m_nAnchorRow);
  SECListItem* drop = GetItemRecord(m_nDropRow);
  SECListItem* armed = GetItemRecord(m_nArmedRow);
  SECListItem* top = GetItemRecord(m_nTopRow);
  edited = GetItemRecord(m_nEditedRow);
  for (SECListItem* item : m_items) item->m_nRowHint = kOld;
  for (int row : m_selection) m_items[static_cast<size_t>(row)]->m_nRowHint = kOldSelected;
  std::vector<int> selection;
  for (size_t row = 0; row < rows.size(); ++row) {
    if (rows[row]->m_nRowHint == kOldSelected) selection.push_back(static_cast<int>(row));
    rows[row]->m_nRowHint = static_cast<int>(row);
    AddSubItemsChecked(rows[row]);
  }
  // Records not kept are forgotten before they are deleted.
  for (SECListItem** kept : {&focus, &anchor, &drop, &armed, &top, &edited}) {
    if (*kept != nullptr && (*kept)->m_nRowHint < 0) *kept = nullptr;
  }
  for (SECListItem* item : m_items) {
    if (item->m_nRowHint < 0) delete item;
  }
  m_items = std::move(rows);
  m_nRowHintsValid = GetItemCount();
  m_selection = std::move(selection);
  m_nFocusRow = RowOfRecord(focus);
  m_nAnchorRow = RowOfRecord(anchor);
  m_nDropRow = RowOfRecord(drop);
  m_nArmedRow = RowOfRecord(armed);
  m_nEditedRow = RowOfRecord(edited);
  int newTop = RowOfRecord(top);
  m_nTopRow = newTop >= 0 ? newTop : std::clamp(m_nTopRow, 0, std::max(0, GetItemCount() - 1));
}

template <class Base>
void SECListEngine<Base>::SetItemTextInternal(char*& pszStored, LPCTSTR lpszText) {
  SECListFreeText(pszStored);
  pszStored = SECListCopyText(lpszText);
}

template <class Base>
BOOL SECListEngine<Base>::SetItem(const LVITEM* pItem, BOOL bRedraw) {
  if (pItem == nullptr || !IsValidRow(pItem->iItem)) return FALSE;
  SECListItem* record = m_items[static_cast<size_t>(pItem->iItem)];
  UINT pending = 0;
  BOOL textChanged = FALSE, changed = FALSE, dropChanged = FALSE;
  if (pItem->mask & LVIF_TEXT) {
    char** stored = nullptr;
    if (pItem->iSubItem == 0) {
      stored = &record->m_pszText;
    } else if (pItem->iSubItem > 0) {
      AddSubItemsChecked(record);
      if (pItem->iSubItem <= static_cast<int>(record->m_subItems.size()))
        stored = &record->m_subItems[static_cast<size_t>(pItem->iSubItem - 1)]->m_pszText;
    }
    if (stored != nullptr) {
      if (pItem->pszText == kListTextCallback) {
        if (*stored != kListTextCallback) {
          SECListFreeText(*stored);
          *stored = kListTextCallback;
          textChanged = TRUE;
        }
      } else if (*stored == kListTextCallback && !(pItem->mask & LVIF_DI_SETITEM)) {
        pending |= LVIF_TEXT;
      } else {
        const char* now = *stored;
        if (now == nullptr || now == kListTextCallback || pItem->pszText == nullptr || std::strcmp(now, pItem->pszText) != 0)
          textChanged = TRUE;
        // A NULL text stores no text.
        SetItemTextInternal(*stored, pItem->pszText);
      }
    }
  }
  if (pItem->mask & LVIF_IMAGE) {
    if (record->m_iImage == I_IMAGECALLBACK && !(pItem->mask & LVIF_DI_SETITEM)) {
      pending |= LVIF_IMAGE;
    } else if (record->m_iImage != pItem->iImage) {
      record->m_iImage = pItem->iImage;
      changed = textChanged = TRUE;
    }
  }
  if (pItem->mask & LVIF_STATE) {
    UINT mask = pItem->stateMask;
    int row = pItem->iItem;
    if (mask & LVIS_SELECTED) {
      if (pItem->state & LVIS_SELECTED) changed |= SelectionAdd(row);
      else changed |= SelectionRemove(row);
    }
    if (mask & LVIS_FOCUSED) {
      if (pItem->state & LVIS_FOCUSED) {
        if (m_nFocusRow != row) {
          int old = m_nFocusRow;
          m_nFocusRow = row;
          if (bRedraw && old >= 0) RedrawItem(old, TRUE);
          changed = TRUE;
        }
      } else if (m_nFocusRow == row) {
        m_nFocusRow = -1;
        changed = TRUE;
      }
    }
    if (mask & LVIS_DROPHILITED) {
      if (pItem->state & LVIS_DROPHILITED) {
        if (m_nDropRow != row) {
          m_nDropRow = row;
          changed = dropChanged = TRUE;
        }
      } else if (m_nDropRow == row) {
        m_nDropRow = -1;
        changed = dropChanged = TRUE;
      }
    }
    UINT other = mask & ~(LVIS_SELECTED | LVIS_FOCUSED | LVIS_DROPHILITED);
    UINT state = (record->m_state & ~other) | (pItem->state & other);
    if (state != record->m_state) {
      record->m_state = state;
      changed = TRUE;
    }
  }
  if (pItem->mask & LVIF_PARAM) record->m_lParam = pItem->lParam;
  if (pending != 0) {
    LVITEM copy = *pItem;
    copy.mask = pending;
    OnSetDispInfo(&copy);
  }
  if (textChanged && (pItem->mask & (LVIF_TEXT | LVIF_STATE | LVIF_IMAGE))) record->m_bDirty = TRUE;
  if (bRedraw && (changed || textChanged) && pItem->iItem != m_nEditedRow && this->GetSafeHwnd() != nullptr)
    RedrawItem(pItem->iItem, FALSE, FALSE, FALSE, dropChanged);
  return TRUE;
}

template <class Base>
BOOL SECListEngine<Base>::SetItem(int nRow, int nSubItem, UINT nMask, LPCTSTR lpszText, int iImage, UINT nState,
                                  UINT nStateMask, LPARAM lParam) {
  LVITEM item{};
  item.mask = nMask;
  item.iItem = nRow;
  item.iSubItem = nSubItem;
  item.pszText = const_cast<LPSTR>(lpszText);
  item.iImage = iImage;
  item.state = nState;
  item.stateMask = nStateMask;
  item.lParam = lParam;
  return SetItem(&item, TRUE);
}

template <class Base>
BOOL SECListEngine<Base>::GetItem(LVITEM* pItem, BOOL bCopyText, BOOL bAskParent) {
  if (pItem == nullptr || !IsValidRow(pItem->iItem)) return FALSE;
  SECListItem* record = m_items[static_cast<size_t>(pItem->iItem)];
  UINT pending = 0;
  if (pItem->mask & LVIF_TEXT) {
    const char* text = nullptr;
    if (pItem->iSubItem == 0) {
      text = record->m_pszText;
    } else if (pItem->iSubItem > 0 && pItem->iSubItem <= static_cast<int>(record->m_subItems.size())) {
      text = record->m_subItems[static_cast<size_t>(pItem->iSubItem - 1)]->m_pszText;
    } else if (pItem->iSubItem > 0) {
      text = kListTextCallback;  // a sub-item not made yet is a callback
    }
    if (text == kListTextCallback) {
      pending |= LVIF_TEXT;
      if (!bAskParent) pItem->pszText = kListTextCallback;
    } else if (bCopyText) {
      if (pItem->pszText != nullptr && pItem->pszText != kListTextCallback)
        lstrcpyn(pItem->pszText, text != nullptr ? text : "", pItem->cchTextMax);
    } else {
      pItem->pszText = const_cast<char*>(text);
    }
  }
  if (pItem->mask & LVIF_IMAGE) {
    pItem->iImage = record->m_iImage;
    if (record->m_iImage == I_IMAGECALLBACK) pending |= LVIF_IMAGE;
  }
  if (pItem->mask & LVIF_STATE) {
    if (m_nStateCallbackMask == 0) {
      UINT mask = pItem->stateMask;
      UINT state = record->m_state & mask;
      if ((mask & LVIS_SELECTED) && IsSelectedRow(pItem->iItem)) state |= LVIS_SELECTED;
      if ((mask & LVIS_FOCUSED) && m_nFocusRow == pItem->iItem) state |= LVIS_FOCUSED;
      if ((mask & LVIS_DROPHILITED) && m_nDropRow == pItem->iItem) state |= LVIS_DROPHILITED;
      pItem->state = state;
    } else {
      pending |= LVIF_STATE;
    }
  }
  if ((pItem->mask & LVIF_PARAM) || pending != 0) pItem->lParam = GetItemDataFromRecord(record);
  if (bAskParent && pending != 0) {
    LVITEM asked = *pItem;
    asked.mask = pending;
    if (!bCopyText || asked.pszText == nullptr || asked.pszText == kListTextCallback) {
      asked.pszText = m_szTextBuffer;
      asked.cchTextMax = kListTextBufferSize;
      m_szTextBuffer[0] = '\0';
    }
    NotifyGetDispInfo(&asked);
    if (pending & LVIF_TEXT) {
      const char* answer = asked.pszText != nullptr && asked.pszText != kListTextCallback ? asked.pszText : "";
      if (bCopyText && pItem->pszText != nullptr && pItem->pszText != kListTextCallback) {
        if (answer != pItem->pszText) lstrcpyn(pItem->pszText, answer, pItem->cchTextMax);
      } else {
        pItem->pszText = const_cast<char*>(answer);
      }
    }
    if (pending & LVIF_IMAGE) pItem->iImage = asked.iImage;
    if (pending & LVIF_STATE) pItem->state = asked.state & pItem->stateMask;
    if (asked.mask & LVIF_DI_SETITEM) pItem->mask |= LVIF_DI_SETITEM;
  }
  return TRUE;
}

template <class Base>
LRESULT SECListEngine<Base>::NotifyGetDispInfo(LVITEM* pItem) {
  NMLVDISPINFO info{};
  info.item = *pItem;
  SendNotify(&info.hdr, LVN_GETDISPINFO);
  // The parent may answer with a pointer of its own or fill the offered buffer (bounded).
  char* buffer = pItem->pszText;
  int size = pItem->cchTextMax;
  *pItem = info.item;
  if ((pItem->mask & LVIF_TEXT) && buffer != nullptr && buffer != kListTextCallback && size > 0) {
    if (info.item.pszText != buffer && info.item.pszText != nullptr && info.item.pszText != kListTextCallback)
      lstrcpyn(buffer, info.item.pszText, size);
    else if (info.item.pszText == buffer)
      buffer[size - 1] = '\0';
    pItem->pszText = buffer;
    pItem->cchTextMax = size;
  }
  return m_lNotifyResult;
}

template <class Base>
DWORD SECListEngine<Base>::GetItemExState(int nRow, DWORD dwMask, BOOL bAskParent) {
  if (!IsValidRow(nRow)) return 0;
  if (m_dwExStateCallbackMask != 0) return bAskParent ? OnGetExStateDispInfo(nRow, dwMask) & dwMask : 0;
  return m_items[static_cast<size_t>(nRow)]->m_dwExState & dwMask;
}

template <class Base>
BOOL SECListEngine<Base>::SetItemExState(int nRow, DWORD dwState, DWORD dwMask) {
  if (!IsValidRow(nRow)) return FALSE;
  SECListItem* record = m_items[static_cast<size_t>(nRow)];
  DWORD state = (record->m_dwExState & ~dwMask) | (dwState & dwMask);
  if (m_dwExStateCallbackMask != 0) OnSetExStateDispInfo(nRow, dwState, dwMask);
  if (state == record->m_dwExState) return TRUE;
  record->m_dwExState = state;
  if (nRow != m_nEditedRow && this->GetSafeHwnd() != nullptr) {
    RedrawItem(nRow, !IsExStyleSet(LVXS_FULLROWSELECT));
    InvalidateItemMetrics(nRow);
  }
  return TRUE;
}

template <class Base>
BOOL SECListEngine<Base>::SetItemText(int nRow, int nSubItem, LPCTSTR lpszText) {
  LVITEM item{};
  item.mask = LVIF_TEXT | LVIF_DI_SETITEM;
  item.iItem = nRow;
  item.iSubItem = nSubItem;
  item.pszText = const_cast<LPSTR>(lpszText);
  return SetItem(&item, TRUE);
}

template <class Base>
int SECListEngine<Base>::GetItemText(int nRow, int nSubItem, LPTSTR lpszBuffer, int nSize) {
  if (lpszBuffer == nullptr || nSize <= 0) return 0;
  lpszBuffer[0] = '\0';
  LVITEM item{};
  item.mask = LVIF_TEXT;
  item.iItem = nRow;
  item.iSubItem = nSubItem;
  item.pszText = lpszBuffer;
  item.cchTextMax = nSize;
  if (!GetItem(&item, TRUE, TRUE)) return 0;
  if (item.pszText != lpszBuffer && item.pszText != nullptr && item.pszText != kListTextCallback)
    lstrcpyn(lpszBuffer, item.pszText, nSize);
  return lstrlen(lpszBuffer);
}

template <class Base>
CString SECListEngine<Base>::GetItemText(int nRow, int nSubItem) {
  GetItemText(nRow, nSubItem, m_szTextBuffer, kListTextBufferSize);
  return CString(m_szTextBuffer);
}

template <class Base>
CString SECListEngine<Base>::GetCellText(int nRow, int nSubItem) {
  return GetItemText(nRow, nSubItem);
}

// ---- state shortcuts ----

template <class Base>
BOOL SECListEngine<Base>::SetItemState(int nRow, UINT nState, UINT nMask) {
  LVITEM item{};
  item.mask = LVIF_STATE;
  item.iItem = nRow;
  item.state = nState;
  item.stateMask = nMask;
  return SetItem(&item, TRUE);
}

template <class Base>
UINT SECListEngine<Base>::GetItemState(int nRow, UINT nMask) {
  LVITEM item{};
  item.mask = LVIF_STATE;
  item.iItem = nRow;
  item.stateMask = nMask;
  return GetItem(&item, TRUE, TRUE) ? item.state & nMask : 0;
}

template <class Base>
BOOL SECListEngine<Base>::SetItemData(int nRow, LPARAM lParam) {
  LVITEM item{};
  item.mask = LVIF_PARAM;
  item.iItem = nRow;
  item.lParam = lParam;
  return SetItem(&item, TRUE);
}

template <class Base>
LPARAM SECListEngine<Base>::GetItemData(int nRow) {
  LVITEM item{};
  item.mask = LVIF_PARAM;
  item.iItem = nRow;
  return GetItem(&item, TRUE, TRUE) ? item.lParam : 0;
}

template <class Base>
BOOL SECListEngine<Base>::SelectItem(int nRow, BOOL bSelect) {
  if (!IsValidRow(nRow)) return FALSE;
  if (!IsMultiSel()) DeselectAllExcept(nRow);
  return SetItemState(nRow, bSelect ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

template <class Base>
BOOL SECListEngine<Base>::SetFocusSel(int nRow, BOOL bSelect) {
  if (!IsValidRow(nRow)) return FALSE;
  if (!IsMultiSel()) DeselectAllExcept(nRow);
  if (m_nFocusRow >= 0 && m_nFocusRow != nRow) SetItemState(m_nFocusRow, 0, LVIS_FOCUSED);
  SetItemState(nRow, LVIS_FOCUSED | (bSelect ? LVIS_SELECTED : 0), LVIS_FOCUSED | LVIS_SELECTED);
  m_nAnchorRow = m_nFocusRow;
  return TRUE;
}

template <class Base>
BOOL SECListEngine<Base>::SetFocusRow(int nRow) {
  if (!IsValidRow(nRow)) return FALSE;
  if (m_nFocusRow >= 0 && m_nFocusRow != nRow) SetItemState(m_nFocusRow, 0, LVIS_FOCUSED);
  SetItemState(nRow, LVIS_FOCUSED, LVIS_FOCUSED);
  m_nAnchorRow = nRow;
  return TRUE;
}

template <class Base>
void SECListEngine<Base>::DeselectAllExcept(int nRow) {
  std::vector<int> selected;
  selected.swap(m_selection);
  for (int row : selected) {
    if (row == nRow) m_selection.push_back(row);
    else RedrawItem(row);
  }
}

template <class Base>
void SECListEngine<Base>::SelectRange(int nFrom, int nTo, BOOL bSelect) {
  if (nFrom > nTo) std::swap(nFrom, nTo);
  nFrom = std::max(nFrom, 0);
  nTo = std::min(nTo, GetItemCount() - 1);
  for (int row = nFrom; row <= nTo; ++row) SelectItem(row, bSelect);
}

template <class Base>
void SECListEngine<Base>::SetDropHilite(int nRow) {
  if (m_nDropRow == nRow) return;
  if (m_nDropRow >= 0) SetItemState(m_nDropRow, 0, LVIS_DROPHILITED);
  if (IsValidRow(nRow)) SetItemState(nRow, LVIS_DROPHILITED, LVIS_DROPHILITED);
  else m_nDropRow = -1;
}

template <class Base>
int SECListEngine<Base>::GetNextItem(int nRow, UINT nFlags) {
  UINT wanted = nFlags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
  bool up = (nFlags & (LVNI_ABOVE | LVNI_TOLEFT)) != 0;
  if ((nFlags & ~0x0FU & ~(LVNI_ABOVE | LVNI_TOLEFT | LVNI_BELOW | LVNI_TORIGHT)) != 0 &&
      !(nFlags & (LVNI_BELOW | LVNI_TORIGHT)))
    return -1;
  int count = GetItemCount();
  int row = nRow < 0 ? 0 : (up ? nRow - 1 : nRow + 1);
  if (wanted == 0) return row >= 0 && row < count ? row : -1;
  // The list keeps focus and selection itself: answer those without a walk.
  if (!up && m_nStateCallbackMask == 0 && wanted == LVNI_SELECTED) {
    int at = SelectionFind(std::max(row, 0));
    return at < static_cast<int>(m_selection.size()) ? m_selection[static_cast<size_t>(at)] : -1;
  }
  for (; row >= 0 && row < count; row += up ? -1 : 1) {
    if (GetItemState(row, wanted) != 0) return row;
  }
  return -1;
}

template <class Base>
BOOL SECListEngine<Base>::NeedsParent(int nRow) {
  SECListItem* record = GetItemRecord(nRow);
  if (record == nullptr) return FALSE;
  if (record->m_pszText == kListTextCallback || record->m_iImage == I_IMAGECALLBACK || m_nStateCallbackMask != 0 ||
      m_dwExStateCallbackMask != 0)
    return TRUE;
  for (SECListColumn* column : m_columns) {
    int sub = column->m_nSubItem;
    if (sub >= 1 && sub <= static_cast<int>(record->m_subItems.size()) &&
        record->m_subItems[static_cast<size_t>(sub - 1)]->m_pszText == kListTextCallback)
      return TRUE;
  }
  return FALSE;
}

template <class Base>
CSize SECListEngine<Base>::GetExtent() const {
  return CSize(GetColumnsWidth(GetColumnCount()), 0);
}

// ---- columns ----

template <class Base>
SECListColumn* SECListEngine<Base>::GetColumnRecord(int nCol) const {
  return nCol >= 0 && nCol < GetColumnCount() ? m_columns[static_cast<size_t>(nCol)] : nullptr;
}

template <class Base>
int SECListEngine<Base>::GetColumnSubItem(int nCol) const {
  SECListColumn* column = GetColumnRecord(nCol);
  return column != nullptr ? column->m_nSubItem : -1;
}

template <class Base>
int SECListEngine<Base>::AppendColumn(const LVCOLUMN* pColumn) {
  return InsertColumn(GetColumnCount(), pColumn, TRUE);
}

template <class Base>
int SECListEngine<Base>::AppendColumn(LPCTSTR lpszText, int nFormat, int nWidth, int nSubItem, int iImage) {
  return InsertColumn(GetColumnCount(), lpszText, nFormat, nWidth, nSubItem, iImage, TRUE);
}

template <class Base>
int SECListEngine<Base>::AppendColumnRecord(SECListColumn* pColumn) {
  return InsertColumnRecord(GetColumnCount(), pColumn, TRUE);
}

template <class Base>
int SECListEngine<Base>::InsertColumn(int nCol, const LVCOLUMN* pColumn, BOOL bRedraw) {
  if (pColumn == nullptr) return -1;
  auto* column = new SECListColumn;
  if (pColumn->mask & LVCF_TEXT) column->m_strText = pColumn->pszText != nullptr ? pColumn->pszText : "";
  column->m_nFormat = (pColumn->mask & LVCF_FMT) ? pColumn->fmt : 0;
  column->m_nWidth = (pColumn->mask & LVCF_WIDTH) ? pColumn->cx : -1;
  column->m_nSubItem = (pColumn->mask & LVCF_SUBITEM) ? pColumn->iSubItem : -1;
  column->m_iImage = (pColumn->mask & LVCF_IMAGE) ? pColumn->iImage : -1;
  return InsertColumnRecord(nCol, column, bRedraw);
}

template <class Base>
int SECListEngine<Base>::InsertColumn(int nCol, LPCTSTR lpszText, int nFormat, int nWidth, int nSubItem, int iImage,
                                      BOOL bRedraw) {
  auto* column = new SECListColumn;
  column->m_strText = lpszText != nullptr ? lpszText : "";
  column->m_nFormat = nFormat;
  column->m_nWidth = nWidth;
  column->m_nSubItem = nSubItem;
  column->m_iImage = iImage;
  return InsertColumnRecord(nCol, column, bRedraw);
}

template <class Base>
int SECListEngine<Base>::InsertColumnRecord(int nCol, SECListColumn* pColumn, BOOL bRedraw) {
  if (pColumn == nullptr) return -1;
  EndLabelEdit(TRUE);
  HideTip();
  nCol = std::clamp(nCol, 0, GetColumnCount());
  if (nCol == 0) {
    pColumn->m_nFormat = LVCFMT_LEFT;
    pColumn->m_nSubItem = 0;
  }
  bool newSlot = false;
  if (nCol != 0 && (pColumn->m_nSubItem < 0 || pColumn->m_nSubItem > m_nSubItemCount)) {
    newSlot = true;
    if (pColumn->m_nWidth == -1) pColumn->m_nWidth = 10;
  }
  if (pColumn->m_nWidth < 0) pColumn->m_nWidth = 10;
  if (newSlot) {
    // The new sub-item goes last, or at the place of the column it is inserted before.
    int slot = m_nSubItemCount + 1;
    if (nCol < GetColumnCount() && m_columns[static_cast<size_t>(nCol)]->m_nSubItem > 0) {
      slot = m_columns[static_cast<size_t>(nCol)]->m_nSubItem;
      for (SECListColumn* column : m_columns) {
        if (column->m_nSubItem >= slot) ++column->m_nSubItem;
      }
    }
    pColumn->m_nSubItem = slot;
    ++m_nSubItemCount;
    for (SECListItem* item : m_items) {
      size_t at = std::min(item->m_subItems.size(), static_cast<size_t>(slot - 1));
      item->m_subItems.insert(item->m_subItems.begin() + static_cast<long>(at), new SECListSubItem);
      AddSubItems(item);
    }
  }
  m_columns.insert(m_columns.begin() + nCol, pColumn);
  if (bRedraw && this->GetSafeHwnd() != nullptr) {
    FitColumnsIfNeeded();
    RecalcLayout();
    this->Invalidate();
  }
  return nCol;
}

template <class Base>
BOOL SECListEngine<Base>::DeleteColumn(int nCol) {
  SECListColumn* column = GetColumnRecord(nCol);
  if (column == nullptr) return FALSE;
  EndLabelEdit(TRUE);
  HideTip();
  int sub = column->m_nSubItem;
  if (sub >= 1) {
    for (SECListItem* item : m_items) {
      if (sub <= static_cast<int>(item->m_subItems.size())) {
        delete item->m_subItems[static_cast<size_t>(sub - 1)];
        item->m_subItems.erase(item->m_subItems.begin() + (sub - 1));
      }
    }
    --m_nSubItemCount;
    for (SECListColumn* other : m_columns) {
      if (other->m_nSubItem > sub) --other->m_nSubItem;
    }
  }
  m_columns.erase(m_columns.begin() + nCol);
  if (!IsExStyleSet(LVXS_KEEPDELETEDWIDTH)) {
    int label = FindColumnIndex(0);
    if (label >= 0) m_columns[static_cast<size_t>(label)]->m_nWidth += column->m_nWidth;
  }
  delete column;
  if (this->GetSafeHwnd() != nullptr) {
    RecalcLayout();
    this->Invalidate();
  }
  return TRUE;
}

template <class Base>
BOOL SECListEngine<Base>::DeleteColumnByName(LPCTSTR lpszName) {
  int col = -1;
  return FindColumn(lpszName, &col, nullptr) && DeleteColumn(col);
}

template <class Base>
void SECListEngine<Base>::DeleteAllColumns() {
  for (SECListColumn* column : m_columns) delete column;
  m_columns.clear();
  for (SECListItem* item : m_items) DeleteSubItems(item);
  m_nSubItemCount = 0;
}

template <class Base>
BOOL SECListEngine<Base>::MoveColumn(int nFrom, int nTo, BOOL bRedraw) {
  if (nFrom < 1 || nTo < 1 || nFrom >= GetColumnCount()) return FALSE;
  nTo = std::min(nTo, GetColumnCount() - 1);
  SECListColumn* moved = m_columns[static_cast<size_t>(nFrom)];
  m_columns.erase(m_columns.begin() + nFrom);
  m_columns.insert(m_columns.begin() + nTo, moved);
  // Sub-items follow display positions, so the data shown at each position stays there.
  for (int col = 1; col < GetColumnCount(); ++col) m_columns[static_cast<size_t>(col)]->m_nSubItem = col;
  OnColumnMoved(nFrom, moved->m_nSubItem);
  if (bRedraw && this->GetSafeHwnd() != nullptr) {
    RecalcLayout();
    this->Invalidate();
  }
  return TRUE;
}

template <class Base>
BOOL SECListEngine<Base>::GetColumn(int nCol, LVCOLUMN* pColumn) const {
  SECListColumn* column = GetColumnRecord(nCol);
  if (column == nullptr || pColumn == nullptr) return FALSE;
  if ((pColumn->mask & LVCF_TEXT) && pColumn->pszText != nullptr)
    lstrcpyn(pColumn->pszText, column->m_strText, pColumn->cchTextMax);
  if (pColumn->mask & LVCF_FMT) pColumn->fmt = column->m_nFormat;
  if (pColumn->mask & LVCF_SUBITEM) pColumn->iSubItem = column->m_nSubItem;
  if (pColumn->mask & LVCF_WIDTH) pColumn->cx = column->m_nWidth;
  if (pColumn->mask & LVCF_IMAGE) pColumn->iImage = column->m_iImage;
  return TRUE;
}

template <class Base>
BOOL SECListEngine<Base>::SetColumn(int nCol, const LVCOLUMN* pColumn, BOOL bRedraw) {
  SECListColumn* column = GetColumnRecord(nCol);
  if (column == nullptr || pColumn == nullptr) return FALSE;
  if (pColumn->mask & LVCF_TEXT) column->m_strText = pColumn->pszText != nullptr ? pColumn->pszText : "";
  if ((pColumn->mask & LVCF_FMT) && nCol != 0) column->m_nFormat = pColumn->fmt;
  if ((pColumn->mask & LVCF_SUBITEM) && nCol != 0) column->m_nSubItem = pColumn->iSubItem;
  if (pColumn->mask & LVCF_WIDTH) column->m_nWidth = std::max(0, pColumn->cx);
  if (pColumn->mask & LVCF_IMAGE) column->m_iImage = pColumn->iImage;
  if (bRedraw && this->GetSafeHwnd() != nullptr) {
    RecalcLayout();
    FitColumnsIfNeeded();
    this->Invalidate();
  }
  return TRUE;
}

template <class Base>
int SECListEngine<Base>::GetColumnsWidth(int nCount) const {
  int width = 0;
  for (int col = 0; col < nCount && col < GetColumnCount(); ++col) width += m_columns[static_cast<size_t>(col)]->m_nWidth;
  return width;
}

template <class Base>
int SECListEngine<Base>::GetColumnLeft(int nCol) const {
  return GetColumnsWidth(nCol);
}

template <class Base>
BOOL SECListEngine<Base>::SetColumnWidth(int nCol, int nWidth) {
  SECListColumn* column = GetColumnRecord(nCol);
  if (column == nullptr) return FALSE;
  column->m_nWidth = std::max(0, nWidth);
  if (IsLabelWrap()) InvalidateItemHeights(this);
  return TRUE;
}

template <class Base>
int SECListEngine<Base>::GetColumnWidth(int nCol) const {
  if (GetColumnCount() == 0) {
    CRect rect;
    GetClientRect(&rect);
    return rect.Width();
  }
  SECListColumn* column = GetColumnRecord(nCol);
  return column != nullptr ? column->m_nWidth : 0;
}

template <class Base>
BOOL SECListEngine<Base>::SetColumnFormat(int nCol, int nFormat) {
  SECListColumn* column = GetColumnRecord(nCol);
  if (column == nullptr) return FALSE;
  if (nCol != 0) column->m_nFormat = nFormat;
  return TRUE;
}

template <class Base>
int SECListEngine<Base>::GetColumnFormat(int nCol) const {
  SECListColumn* column = GetColumnRecord(nCol);
  return column != nullptr ? column->m_nFormat : -1;
}

template <class Base>
BOOL SECListEngine<Base>::SetColumnText(int nCol, LPCTSTR lpszText) {
  SECListColumn* column = GetColumnRecord(nCol);
  if (column == nullptr) return FALSE;
  column->m_strText = lpszText != nullptr ? lpszText : "";
  if (this->GetSafeHwnd() != nullptr) this->Invalidate(FALSE);
  return TRUE;
}

template <class Base>
CString SECListEngine<Base>::GetColumnText(int nCol) const {
  SECListColumn* column = GetColumnRecord(nCol);
  return column != nullptr ? column->m_strText : CString();
}

template <class Base>
int SECListEngine<Base>::FindColumnIndex(int nSubItem) const {
  for (int col = 0; col < GetColumnCount(); ++col) {
    if (m_columns[static_cast<size_t>(col)]->m_nSubItem == nSubItem) return col;
  }
  return -1;
}

template <class Base>
BOOL SECListEngine<Base>::FindColumn(LPCTSTR lpszText, int* pnCol, int* pnSubItem) const {
  if (lpszText == nullptr) return FALSE;
  for (int col = 0; col < GetColumnCount(); ++col) {
    if (std::strcmp(m_columns[static_cast<size_t>(col)]->m_strText, lpszText) == 0) {
      if (pnCol != nullptr) *pnCol = col;
      if (pnSubItem != nullptr) *pnSubItem = m_columns[static_cast<size_t>(col)]->m_nSubItem;
      return TRUE;
    }
  }
  return FALSE;
}

// ---- styles ----

template <class Base>
void SECListEngine<Base>::GetStyles(DWORD* pdwStyle, DWORD* pdwExStyle) const {
  if (pdwStyle != nullptr) *pdwStyle = m_dwListStyle;
  if (pdwExStyle != nullptr) *pdwExStyle = m_dwListExStyle;
}

template <class Base>
void SECListEngine<Base>::SetStyles(DWORD dwStyle, DWORD dwExStyle, BOOL bRedraw) {
  SetStyle(dwStyle, FALSE);
  SetExStyle(dwExStyle, bRedraw);
}

template <class Base>
void SECListEngine<Base>::SetStyle(DWORD dwStyle, BOOL bRedraw) {
  DWORD old = m_dwListStyle;
  m_dwListStyle = dwStyle;
  EndLabelEdit(TRUE);
  KillLabelEditTimer();
  HideTip();
  if ((old ^ dwStyle) & LVS_NOLABELWRAP) InvalidateItemHeights(this);
  if (bRedraw && this->GetSafeHwnd() != nullptr) {
    RecalcLayout();
    this->Invalidate();
  }
}

template <class Base>
void SECListEngine<Base>::SetExStyle(DWORD dwExStyle, BOOL bRedraw) {
  EndLabelEdit(TRUE);
  HideTip();
  bool fitting = (dwExStyle & LVXS_FITCOLUMNSONSIZE) && !(m_dwListExStyle & LVXS_FITCOLUMNSONSIZE);
  m_dwListExStyle = dwExStyle;
  if (fitting && this->GetSafeHwnd() != nullptr) FitColumnsToWidth();
  if (bRedraw && this->GetSafeHwnd() != nullptr) {
    RecalcLayout();
    this->Invalidate();
  }
}

template <class Base>
void SECListEngine<Base>::ModifyStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw) {
  SetStyle((m_dwListStyle & ~dwRemove) | dwAdd, bRedraw);
}

template <class Base>
void SECListEngine<Base>::ModifyExStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw) {
  SetExStyle((m_dwListExStyle & ~dwRemove) | dwAdd, bRedraw);
}

template <class Base>
void SECListEngine<Base>::ModifyStyles(DWORD dwRemove, DWORD dwAdd, DWORD dwRemoveEx, DWORD dwAddEx, BOOL bRedraw) {
  SetStyle((m_dwListStyle & ~dwRemove) | dwAdd, FALSE);
  SetExStyle((m_dwListExStyle & ~dwRemoveEx) | dwAddEx, bRedraw);
}

template <class Base>
void SECListEngine<Base>::SetLabelWrap(BOOL bWrap) {
  if (bWrap) ModifyStyle(LVS_NOLABELWRAP, 0);
  else ModifyStyle(0, LVS_NOLABELWRAP);
}

template <class Base>
void SECListEngine<Base>::EnableTips(BOOL bEnable) {
  if (bEnable) ModifyExStyle(0, LVXS_LABELTIPS);
  else ModifyExStyle(LVXS_LABELTIPS, 0);
}

template <class Base>
void SECListEngine<Base>::SetMultiSel(BOOL bMulti) {
  if (bMulti) {
    ModifyStyle(LVS_SINGLESEL, 0);
    return;
  }
  if (GetSelectedCount() > 1) DeselectAllExcept(-1);
  ModifyStyle(0, LVS_SINGLESEL);
}

template <class Base>
BOOL SECListEngine<Base>::HasHeader() const {
  return (m_dwListStyle & LVS_TYPEMASK) == LVS_REPORT && !IsStyleSet(LVS_NOCOLUMNHEADER);
}

template <class Base>
void SECListEngine<Base>::SetHeaderStyles(BOOL bShow, BOOL bSortable) {
  DWORD remove = 0, add = 0;
  if (bShow) remove |= LVS_NOCOLUMNHEADER;
  if (bSortable) remove |= LVS_NOSORTHEADER;
  if (!bShow) add |= LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER;
  ModifyStyle(remove, add);
}

template <class Base>
void SECListEngine<Base>::InvalidateItemHeightsOfAllRows() {
  for (SECListItem* item : m_items) {
    item->m_bDirty = TRUE;
    item->m_cy = -1;
  }
}

template class SECListEngine<CWnd>;
template class SECListEngine<CView>;
