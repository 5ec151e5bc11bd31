// CCheckListBox: the check column drawn before each owner-drawn item, the user's clicks and Space
// on it, and the per-item record the framework keeps in the list box's item data.
#include "afx/CCheckListBox.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)

BEGIN_MESSAGE_MAP(CCheckListBox, CListBox)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_KEYDOWN()
  ON_MESSAGE(WM_SETFONT, OnSetFontMessage)
  ON_MESSAGE(LB_ADDSTRING, OnAddString)
  ON_MESSAGE(LB_INSERTSTRING, OnInsertString)
  ON_MESSAGE(LB_GETITEMDATA, OnGetItemData)
  ON_MESSAGE(LB_SETITEMDATA, OnSetItemData)
  ON_MESSAGE(LB_GETTEXT, OnGetText)
  ON_MESSAGE(LB_FINDSTRING, OnFindString)
  ON_MESSAGE(LB_FINDSTRINGEXACT, OnFindStringExact)
  ON_MESSAGE(LB_SELECTSTRING, OnSelectString)
END_MESSAGE_MAP()

namespace {

constexpr int kCheckBox = 13;  // the classic check box glyph
constexpr int kCheckMargin = 2;

}  // namespace

CCheckListBox::~CCheckListBox() {
  // The list's last WM_DELETEITEM messages still need the records.
  if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) DestroyWindow();
}

BOOL CCheckListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  if (!(dwStyle & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE))) return FALSE;
  return CListBox::Create(dwStyle, rect, pParentWnd, nID);
}

// ---- the records ----

CCheckListBox::CheckData* CCheckListBox::RecordOf(DWORD_PTR rawData) const {
  auto it = m_records.find(reinterpret_cast<const CheckData*>(rawData));
  return it == m_records.end() ? nullptr : it->second.get();
}

CCheckListBox::CheckData* CCheckListBox::Record(int nIndex) const {
  if (!ValidIndex(nIndex)) return nullptr;
  // The list's own answer, not the application's view of it that LB_GETITEMDATA gives here.
  auto* self = const_cast<CCheckListBox*>(this);
  return RecordOf(static_cast<DWORD_PTR>(self->DefWindowProc(LB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0)));
}

CCheckListBox::CheckData* CCheckListBox::MakeRecord(DWORD_PTR userData) {
  auto record = std::make_unique<CheckData>();
  record->userData = userData;
  CheckData* raw = record.get();
  m_records.emplace(raw, std::move(record));
  return raw;
}

CCheckListBox::CheckData* CCheckListBox::EnsureRecord(int nIndex) {
  if (!ValidIndex(nIndex)) return nullptr;
  if (CheckData* record = Record(nIndex)) return record;
  auto foreign = static_cast<DWORD_PTR>(DefWindowProc(LB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0));
  CheckData* record = MakeRecord(foreign);
  DefWindowProc(LB_SETITEMDATA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(record));
  return record;
}

DWORD_PTR CCheckListBox::UserData(DWORD_PTR rawData) const {
  const CheckData* record = RecordOf(rawData);
  return record != nullptr ? record->userData : rawData;
}

// ---- check state ----

void CCheckListBox::SetCheckStyle(UINT nStyle) {
  if (nStyle == BS_CHECKBOX || nStyle == BS_AUTOCHECKBOX || nStyle == BS_3STATE || nStyle == BS_AUTO3STATE)
    m_nStyle = nStyle;
}

void CCheckListBox::SetCheck(int nIndex, int nCheck) {
  if (nCheck < 0 || nCheck > 2 || !ValidIndex(nIndex)) return;
  if (nCheck == 2 && m_nStyle != BS_3STATE && m_nStyle != BS_AUTO3STATE) return;
  CheckData* record = EnsureRecord(nIndex);
  if (record->check == nCheck) return;
  record->check = nCheck;
  InvalidateItem(nIndex);
}

int CCheckListBox::GetCheck(int nIndex) const {
  const CheckData* record = Record(nIndex);
  return record != nullptr ? record->check : 0;
}

void CCheckListBox::Enable(int nIndex, BOOL bEnabled) {
  if (!ValidIndex(nIndex)) return;
  CheckData* record = EnsureRecord(nIndex);
  bEnabled = bEnabled ? TRUE : FALSE;
  if (record->enabled == bEnabled) return;
  record->enabled = bEnabled;
  InvalidateItem(nIndex);
}

BOOL CCheckListBox::IsEnabled(int nIndex) const {
  if (!ValidIndex(nIndex)) return FALSE;
  const CheckData* record = Record(nIndex);
  return record != nullptr ? record->enabled : TRUE;
}

void CCheckListBox::InvalidateItem(int nIndex) {
  RECT r;
  if (GetItemRect(nIndex, &r) != LB_ERR) ::InvalidateRect(m_hWnd, &r, FALSE);
}

BOOL CCheckListBox::UserToggle(int nIndex) {
  if (m_nStyle != BS_AUTOCHECKBOX && m_nStyle != BS_AUTO3STATE) return FALSE;
  if (!ValidIndex(nIndex) || !IsEnabled(nIndex)) return FALSE;
  int check = GetCheck(nIndex);
  int next = m_nStyle == BS_AUTO3STATE ? (check + 1) % 3 : (check == 0 ? 1 : 0);
  SetCheck(nIndex, next);
  ::SendMessage(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CLBN_CHKCHANGE),
                reinterpret_cast<LPARAM>(m_hWnd));
  return TRUE;
}

// ---- geometry ----

UINT CCheckListBox::CalcMinimumItemHeight() {
  int text = 0;
  if (HDC dc = ::GetDC(m_hWnd)) {
    auto font = reinterpret_cast<HFONT>(::SendMessage(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ old = ::SelectObject(dc, font != nullptr ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT));
    TEXTMETRIC tm{};
    if (::GetTextMetrics(dc, &tm)) text = tm.tmHeight;
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
  }
  return static_cast<UINT>(std::max(text, kCheckBox + 2));
}

void CCheckListBox::KeepMinimumHeight() {
  if (!(GetStyle() & LBS_OWNERDRAWFIXED)) return;
  int least = static_cast<int>(CalcMinimumItemHeight());
  int height = GetItemHeight(0);
  // A list with strings follows its font; the application measures the others, within the least.
  if (HasStrings() ? height != least : height < least) SetItemHeight(0, static_cast<UINT>(least));
}

CRect CCheckListBox::OnGetCheckPosition(CRect, CRect rectCheckBox) { return rectCheckBox; }

namespace {

// The check column at the left of an item, and the check box in it centred vertically.
CRect DefaultCheckBox(const CRect& rectItem) {
  int top = rectItem.top + (rectItem.Height() - kCheckBox) / 2;
  int left = rectItem.left + kCheckMargin;
  return CRect(left, top, left + kCheckBox, top + kCheckBox);
}

int TextLeft(const CRect& rectItem) { return rectItem.left + kCheckBox + 2 * kCheckMargin; }

}  // namespace

CRect CCheckListBox::CheckRect(int, const CRect& rectItem) {
  return OnGetCheckPosition(rectItem, DefaultCheckBox(rectItem));
}

int CCheckListBox::CheckHit(CPoint pt) {
  BOOL outside = TRUE;
  int index = static_cast<int>(ItemFromPoint(pt, outside));
  if (outside || !ValidIndex(index)) return -1;
  CRect item;
  GetItemRect(index, &item);
  return CheckRect(index, item).PtInRect(pt) ? index : -1;
}

// ---- the user ----

void CCheckListBox::OnLButtonDown(UINT, CPoint point) {
  BOOL outside = TRUE;
  int index = static_cast<int>(ItemFromPoint(point, outside));
  if (!outside && ValidIndex(index) && !IsEnabled(index)) {
    // A disabled item takes neither the check nor the selection.
    ::SetFocus(m_hWnd);
    return;
  }
  int hit = CheckHit(point);
  // The selection moves first, so the parent's CLBN_CHKCHANGE handler sees the clicked item selected.
  Default();
  if (hit >= 0) UserToggle(hit);
}

void CCheckListBox::OnLButtonDblClk(UINT nFlags, CPoint point) {
  // The second click of a quick pair on the box is another toggle.
  if (CheckHit(point) >= 0) {
    OnLButtonDown(nFlags, point);
    return;
  }
  BOOL outside = TRUE;
  int index = static_cast<int>(ItemFromPoint(point, outside));
  if (!outside && ValidIndex(index) && !IsEnabled(index)) return;
  Default();
}

void CCheckListBox::OnKeyDown(UINT nChar, UINT, UINT) {
  if (nChar == VK_SPACE && (m_nStyle == BS_AUTOCHECKBOX || m_nStyle == BS_AUTO3STATE)) {
    UserToggle(GetCaretIndex());
    return;
  }
  Default();
}

LRESULT CCheckListBox::OnSetFontMessage(WPARAM, LPARAM) {
  LRESULT result = Default();
  KeepMinimumHeight();
  return result;
}

void CCheckListBox::PreSubclassWindow() {
  CListBox::PreSubclassWindow();
  // A list attached after its creation (SubclassDlgItem) gets room for the boxes here; a created
  // one gets it from its first WM_MEASUREITEM.
  if (::IsWindow(m_hWnd)) KeepMinimumHeight();
}

// ---- the list's messages: the application's data in, our records kept ----

LRESULT CCheckListBox::Insert(UINT message, WPARAM wParam, LPARAM lParam) {
  if (HasStrings()) {
    LRESULT index = DefWindowProc(message, wParam, lParam);
    if (index >= 0) DefWindowProc(LB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(MakeRecord(0)));
    return index;
  }
  CheckData* record = MakeRecord(static_cast<DWORD_PTR>(lParam));
  LRESULT index = DefWindowProc(message, wParam, reinterpret_cast<LPARAM>(record));
  if (index < 0) m_records.erase(record);
  return index;
}

LRESULT CCheckListBox::OnAddString(WPARAM wParam, LPARAM lParam) { return Insert(LB_ADDSTRING, wParam, lParam); }

LRESULT CCheckListBox::OnInsertString(WPARAM wParam, LPARAM lParam) {
  return Insert(LB_INSERTSTRING, wParam, lParam);
}

LRESULT CCheckListBox::OnGetItemData(WPARAM wParam, LPARAM) {
  if (!ValidIndex(static_cast<int>(wParam))) return LB_ERR;
  return static_cast<LRESULT>(UserData(static_cast<DWORD_PTR>(DefWindowProc(LB_GETITEMDATA, wParam, 0))));
}

LRESULT CCheckListBox::OnSetItemData(WPARAM wParam, LPARAM lParam) {
  if (!ValidIndex(static_cast<int>(wParam))) return LB_ERR;
  EnsureRecord(static_cast<int>(wParam))->userData = static_cast<DWORD_PTR>(lParam);
  return 0;
}

LRESULT CCheckListBox::OnGetText(WPARAM wParam, LPARAM lParam) {
  if (HasStrings()) return Default();
  // Without strings an item's "text" is its data.
  if (!ValidIndex(static_cast<int>(wParam)) || lParam == 0) return LB_ERR;
  DWORD_PTR data = UserData(static_cast<DWORD_PTR>(DefWindowProc(LB_GETITEMDATA, wParam, 0)));
  std::memcpy(reinterpret_cast<void*>(lParam), &data, sizeof(data));
  return sizeof(data);
}

int CCheckListBox::FindUserData(int nStartAfter, DWORD_PTR value) const {
  int count = GetCount();
  int start = (nStartAfter < -1 || nStartAfter >= count) ? -1 : nStartAfter;
  auto* self = const_cast<CCheckListBox*>(this);
  for (int k = 1; k <= count; ++k) {
    int index = (start + k) % count;
    auto raw = static_cast<DWORD_PTR>(self->DefWindowProc(LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    if (UserData(raw) == value) return index;
  }
  return LB_ERR;
}

LRESULT CCheckListBox::OnFindString(WPARAM wParam, LPARAM lParam) {
  if (HasStrings()) return Default();
  return FindUserData(static_cast<int>(wParam), static_cast<DWORD_PTR>(lParam));
}

LRESULT CCheckListBox::OnFindStringExact(WPARAM wParam, LPARAM lParam) { return OnFindString(wParam, lParam); }

LRESULT CCheckListBox::OnSelectString(WPARAM wParam, LPARAM lParam) {
  if (HasStrings()) return Default();
  int index = FindUserData(static_cast<int>(wParam), static_cast<DWORD_PTR>(lParam));
  if (index == LB_ERR) return LB_ERR;
  if (GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL))
    SetCaretIndex(index);
  else
    SetCurSel(index);
  return index;
}

// ---- owner drawing: the check column is ours, the rest the application's ----

BOOL CCheckListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case WM_DRAWITEM: PreDrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); return TRUE;
    case WM_MEASUREITEM: PreMeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)); return TRUE;
    case WM_DELETEITEM: PreDeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam)); return TRUE;
    case WM_COMPAREITEM: {
      int order = PreCompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
      if (pResult != nullptr) *pResult = order;
      return TRUE;
    }
    default: return CListBox::OnChildNotify(message, wParam, lParam, pResult);
  }
}

void CCheckListBox::PreDrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  DRAWITEMSTRUCT item = *lpDrawItemStruct;
  const CheckData* record = RecordOf(item.itemData);
  CRect rectItem(item.rcItem);
  if (static_cast<int>(item.itemID) >= 0 && (item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) {
    RECT column{rectItem.left, rectItem.top, TextLeft(rectItem), rectItem.bottom};
    ::FillRect(item.hDC, &column, ::GetSysColorBrush(COLOR_WINDOW));
    int check = record != nullptr ? record->check : 0;
    bool enabled = (record == nullptr || record->enabled) && !(item.itemState & ODS_DISABLED);
    UINT state = DFCS_BUTTONCHECK;
    if (check == 1) state |= DFCS_CHECKED;
    if (check == 2) state = DFCS_BUTTON3STATE | DFCS_CHECKED;
    if (!enabled) state |= DFCS_INACTIVE;
    RECT box = CheckRect(static_cast<int>(item.itemID), rectItem);
    ::DrawFrameControl(item.hDC, &box, DFC_BUTTON, state);
  }
  item.rcItem.left = TextLeft(rectItem);
  item.itemData = UserData(item.itemData);
  if (record != nullptr && !record->enabled) item.itemState |= ODS_DISABLED;
  DrawItem(&item);
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  const DRAWITEMSTRUCT& item = *lpDrawItemStruct;
  if (!HasStrings() || static_cast<int>(item.itemID) < 0) return;
  bool disabled = (item.itemState & ODS_DISABLED) != 0;
  bool selected = (item.itemState & ODS_SELECTED) != 0 && !disabled;
  RECT r = item.rcItem;
  ::FillRect(item.hDC, &r, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  COLORREF oldText = ::SetTextColor(
      item.hDC, ::GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  int oldMode = ::SetBkMode(item.hDC, TRANSPARENT);
  CString text;
  GetText(static_cast<int>(item.itemID), text);
  RECT textRect{r.left + 2, r.top, r.right, r.bottom};
  ::DrawText(item.hDC, text, text.GetLength(), &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  ::SetBkMode(item.hDC, oldMode);
  ::SetTextColor(item.hDC, oldText);
  if (item.itemState & ODS_FOCUS) ::DrawFocusRect(item.hDC, &r);
}

void CCheckListBox::PreMeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  ULONG_PTR raw = lpMeasureItemStruct->itemData;
  if (!HasStrings()) lpMeasureItemStruct->itemData = UserData(raw);
  MeasureItem(lpMeasureItemStruct);
  lpMeasureItemStruct->itemData = raw;
  lpMeasureItemStruct->itemHeight = std::max(lpMeasureItemStruct->itemHeight, CalcMinimumItemHeight());
}

int CCheckListBox::PreCompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct) {
  COMPAREITEMSTRUCT items = *lpCompareItemStruct;
  items.itemData1 = UserData(items.itemData1);
  items.itemData2 = UserData(items.itemData2);
  return CompareItem(&items);
}

void CCheckListBox::PreDeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct) {
  DELETEITEMSTRUCT item = *lpDeleteItemStruct;
  item.itemData = UserData(item.itemData);
  DeleteItem(&item);
  m_records.erase(reinterpret_cast<const CheckData*>(lpDeleteItemStruct->itemData));
}
