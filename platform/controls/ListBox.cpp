// The "ListBox" class (and "ComboLBox", the list of a combo box): single, multiple and extended
// selection, sorting, multiple columns, owner-drawn items of fixed or variable height, strings or
// item data only, tab stops, keyboard search, scrolling.
#include <algorithm>
#include <cctype>
#include <climits>
#include <new>

#include "controls/ComboInternal.h"
#include "controls/Controls.h"
#include "controls/ControlSupport.h"

namespace brambolt::ctl {
namespace {

// What a list box keeps and how it selects are decided at creation: changing these styles later
// does not change the box.
constexpr DWORD kCreationStyles = LBS_MULTIPLESEL | LBS_EXTENDEDSEL | LBS_NOSEL | LBS_OWNERDRAWFIXED |
                                  LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NODATA | LBS_COMBOBOX;

struct Item {
  std::string text;
  ULONG_PTR data = 0;
  bool selected = false;
  int height = 0;
};

class ListBoxState {
 public:
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  bool OwnerDraw() const { return (style_ & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }
  bool Variable() const { return (style_ & LBS_OWNERDRAWVARIABLE) != 0; }
  bool HasStrings() const { return !OwnerDraw() || (style_ & LBS_HASSTRINGS); }
  // A no-data box holds only a count of lines that its owner draws by number: no strings, no item
  // data. It takes LBS_OWNERDRAWFIXED without LBS_HASSTRINGS or LBS_SORT; otherwise the style is
  // ignored.
  bool NoData() const { return (created_ & LBS_NODATA) != 0; }
  bool Multiple() const { return (style_ & LBS_MULTIPLESEL) != 0; }
  bool Extended() const { return (style_ & LBS_EXTENDEDSEL) && !Multiple(); }
  bool Single() const { return !Multiple() && !Extended(); }
  bool MultiColumn() const { return (style_ & LBS_MULTICOLUMN) != 0; }
  int Count() const { return static_cast<int>(items_.size()); }
  bool Valid(int i) const { return i >= 0 && i < Count(); }
  HWND Target() const { return combo_ ? combo_ : ParentOf(hwnd_); }

  // ---- life cycle, window messages, keyboard, mouse and scrolling (the message switch calls these)
  void Create(const CREATESTRUCT& cs);
  void SetFont(HFONT font, bool redraw);
  void SetRedraw(bool on);
  void Focus(bool gained);
  void KeyDown(UINT vk);
  void Char(WPARAM ch);
  void ButtonDown(UINT msg, WPARAM keys, POINT p);
  void MouseMove(POINT p);
  void ButtonUp(POINT p);
  void CaptureChanged(HWND to);
  void StartComboTracking(bool buttonDown);
  void Scroll(int bar, WORD code, int thumb);
  void ScrollAcross(WORD code, int thumb);

  // ---- items and selection messages
  void ResetContent();
  LRESULT SetCount(WPARAM count);
  LRESULT SetSel(bool on, int index);
  LRESULT GetSel(int index) const;
  LRESULT GetSelItems(int most, int* out) const;
  LRESULT SelectString(int after, const char* text);
  LRESULT GetText(int index, LPARAM out) const;
  LRESULT GetTextLength(int index) const;
  LRESULT SetItemHeight(int index, int height);
  void SetTabStops(WPARAM count, const int* stops);
  void Relayout();

  int Insert(int index, LPARAM lParam, bool sorted);
  int SortedIndex(const Item& item) const;
  int Compare(const Item& a, int aIndex, const Item& b, int bIndex) const;
  void Delete(int index);
  void DeleteNotify(int index);
  int Find(int after, const char* text, bool exact) const;
  int ItemHeight(int index) const;
  int RowsPerColumn() const;
  int PageSize() const;
  int MaxTop() const;
  RECT ItemRect(int index) const;
  int ItemFromPoint(POINT p, bool* outside) const;
  LRESULT NearestShownItem(POINT p) const;
  void SetCaret(int index, bool scroll);
  void EnsureVisible(int index);
  void SetTop(int index);
  void UpdateScroll();
  // Without LBS_NOINTEGRALHEIGHT a list box shows only whole items: it shrinks to a multiple of
  // the item height.
  void KeepIntegralHeight();
  void Select(int index, bool notifyChange);
  void SelectRange(int from, int to, bool on);
  // Selects as a click (or a key of its kind) does; true when it told the parent of a change.
  bool ClickAt(int index, bool shift, bool ctrl, bool drag);
  void Key(UINT vk);
  void Search(BYTE ch);
  void Notify(UINT code);
  void Measure(int index);
  void EndComboTracking() {
    trackingForCombo_ = false;
    if (GetCapture() == hwnd_) ReleaseCapture();
  }
  void Paint(HDC hdc);
  void Redraw() {
    if (!noRedraw_) InvalidateRect(hwnd_, nullptr, TRUE);
  }

  HWND hwnd_ = nullptr;
  HWND combo_ = nullptr;
  DWORD style_ = 0;
  DWORD created_ = 0;  // the kCreationStyles the box was made with
  // The scroll bars asked for at creation: the window's own bits come and go as the bars show.
  DWORD bars_ = 0;
  std::vector<Item> items_;
  int cur_ = -1;       // the selection of a single-selection box
  int caret_ = 0;      // the focus item
  int anchor_ = -1;    // where an extended range starts
  int top_ = 0;
  int itemHeight_ = 0;
  int columnWidth_ = 0;
  int extent_ = 0;     // horizontal extent
  int xOffset_ = 0;
  std::vector<int> tabStops_;
  HFONT font_ = nullptr;
  bool focused_ = false;
  bool tracking_ = false;
  bool trackingForCombo_ = false;
  bool comboButtonDown_ = false;
  bool noRedraw_ = false;
  std::string search_;
  DWORD searchTime_ = 0;
};

void ListBoxState::Notify(UINT code) {
  if (code == LBN_SETFOCUS || code == LBN_KILLFOCUS || (style_ & LBS_NOTIFY) || combo_) {
    HWND target = Target();
    if (target)
      SendMessage(target, WM_COMMAND, MAKEWPARAM(IdOf(hwnd_), code), reinterpret_cast<LPARAM>(hwnd_));
  }
}

int ListBoxState::Compare(const Item& a, int aIndex, const Item& b, int bIndex) const {
  if (HasStrings()) return lstrcmpi(a.text.c_str(), b.text.c_str());
  COMPAREITEMSTRUCT cis{};
  cis.CtlType = combo_ ? ODT_COMBOBOX : ODT_LISTBOX;
  HWND owner = combo_ ? combo_ : hwnd_;
  cis.CtlID = static_cast<UINT>(IdOf(owner));
  cis.hwndItem = owner;
  cis.itemID1 = static_cast<UINT>(aIndex);
  cis.itemData1 = a.data;
  cis.itemID2 = static_cast<UINT>(bIndex);
  cis.itemData2 = b.data;
  HWND target = combo_ ? ParentOf(combo_) : Target();
  return target ? static_cast<int>(SendMessage(target, WM_COMPAREITEM, cis.CtlID, reinterpret_cast<LPARAM>(&cis))) : 0;
}

int ListBoxState::SortedIndex(const Item& item) const {
  int lo = 0, hi = Count();
  while (lo < hi) {
    int mid = (lo + hi) / 2;
    if (Compare(items_[static_cast<size_t>(mid)], mid, item, -1) <= 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

void ListBoxState::Measure(int index) {
  Item& item = items_[static_cast<size_t>(index)];
  item.height = itemHeight_;
  if (!Variable()) return;
  MEASUREITEMSTRUCT mis{};
  mis.CtlType = combo_ ? ODT_COMBOBOX : ODT_LISTBOX;
  HWND owner = combo_ ? combo_ : hwnd_;
  mis.CtlID = static_cast<UINT>(IdOf(owner));
  mis.itemID = static_cast<UINT>(index);
  mis.itemHeight = static_cast<UINT>(itemHeight_);
  mis.itemData = HasStrings() ? reinterpret_cast<ULONG_PTR>(item.text.c_str()) : item.data;
  HWND target = combo_ ? ParentOf(combo_) : Target();
  if (target) SendMessage(target, WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
  item.height = std::max(1, static_cast<int>(mis.itemHeight));
}

int ListBoxState::Insert(int index, LPARAM lParam, bool sorted) {
  Item item;
  if (HasStrings())
    item.text = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
  else if (!NoData())
    item.data = static_cast<ULONG_PTR>(lParam);
  if (sorted) index = SortedIndex(item);
  if (index < 0 || index > Count()) index = Count();
  items_.insert(items_.begin() + index, std::move(item));
  // The focus item moves with its item once something was selected; before that it stays on top.
  bool caretInUse = cur_ >= 0 || anchor_ >= 0;
  if (cur_ >= index) ++cur_;
  if (anchor_ >= index) ++anchor_;
  if (caret_ >= index && Count() > 1 && caretInUse) ++caret_;
  Measure(index);
  UpdateScroll();
  Redraw();
  return index;
}

void ListBoxState::DeleteNotify(int index) {
  const Item& item = items_[static_cast<size_t>(index)];
  if ((!OwnerDraw() && item.data == 0) || NoData()) return;
  DELETEITEMSTRUCT dis{};
  dis.CtlType = combo_ ? ODT_COMBOBOX : ODT_LISTBOX;
  HWND owner = combo_ ? combo_ : hwnd_;
  dis.CtlID = static_cast<UINT>(IdOf(owner));
  dis.itemID = static_cast<UINT>(index);
  dis.hwndItem = owner;
  dis.itemData = item.data;
  HWND target = combo_ ? ParentOf(combo_) : Target();
  if (target) SendMessage(target, WM_DELETEITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

void ListBoxState::Delete(int index) {
  DeleteNotify(index);
  items_.erase(items_.begin() + index);
  if (cur_ == index) cur_ = -1;
  else if (cur_ > index) --cur_;
  if (anchor_ >= index) anchor_ = std::max(-1, anchor_ - 1);
  if (caret_ > index || caret_ >= Count()) caret_ = std::max(0, caret_ - 1);
  top_ = std::clamp(top_, 0, std::max(0, Count() - 1));
  UpdateScroll();
  Redraw();
}

int ListBoxState::Find(int after, const char* text, bool exact) const {
  int n = Count();
  if (n == 0 || NoData()) return LB_ERR;
  int start = (after < -1 || after >= n) ? -1 : after;
  size_t len = text ? strlen(text) : 0;
  for (int k = 1; k <= n; ++k) {
    int i = (start + k) % n;
    const Item& item = items_[static_cast<size_t>(i)];
    if (!HasStrings()) {
      if (item.data == reinterpret_cast<ULONG_PTR>(text)) return i;
      continue;
    }
    bool match = exact ? lstrcmpi(item.text.c_str(), text) == 0
                       : _strnicmp(item.text.c_str(), text, len) == 0 && item.text.size() >= len;
    if (match) return i;
  }
  return LB_ERR;
}

int ListBoxState::ItemHeight(int index) const {
  if (Variable() && Valid(index)) return items_[static_cast<size_t>(index)].height;
  return itemHeight_;
}

int ListBoxState::RowsPerColumn() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  return std::max(1, static_cast<int>(r.bottom - r.top) / std::max(1, itemHeight_));
}

int ListBoxState::PageSize() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  if (!Variable()) return RowsPerColumn();
  int h = 0, n = 0;
  for (int i = top_; i < Count() && h + ItemHeight(i) <= r.bottom; ++i, ++n) h += ItemHeight(i);
  return std::max(1, n);
}

RECT ListBoxState::ItemRect(int index) const {
  RECT client;
  GetClientRect(hwnd_, &client);
  if (MultiColumn()) {
    int rows = RowsPerColumn();
    int width = columnWidth_ ? columnWidth_ : std::max(1, static_cast<int>(client.right) / 2);
    int column = index / rows - top_ / rows;
    int row = index % rows;
    return RECT{column * width, row * itemHeight_, (column + 1) * width, (row + 1) * itemHeight_};
  }
  int y = 0;
  if (index >= top_) {
    for (int i = top_; i < index; ++i) y += ItemHeight(i);
  } else {
    for (int i = index; i < top_; ++i) y -= ItemHeight(i);
  }
  int right = std::max(static_cast<int>(client.right), extent_);
  return RECT{-xOffset_, y, right - xOffset_, y + ItemHeight(index)};
}

int ListBoxState::ItemFromPoint(POINT p, bool* outside) const {
  RECT client;
  GetClientRect(hwnd_, &client);
  *outside = !PtInRect(&client, p);
  if (Count() == 0) return 0;
  if (MultiColumn()) {
    int rows = RowsPerColumn();
    int width = columnWidth_ ? columnWidth_ : std::max(1, static_cast<int>(client.right) / 2);
    int index = (top_ / rows + std::max(0, static_cast<int>(p.x)) / width) * rows +
                std::clamp(static_cast<int>(p.y) / std::max(1, itemHeight_), 0, rows - 1);
    if (index >= Count()) {
      *outside = true;
      index = Count() - 1;
    }
    return index;
  }
  if (p.y < 0) {
    *outside = true;
    return std::max(0, top_ - 1);
  }
  int y = 0;
  for (int i = top_; i < Count(); ++i) {
    y += ItemHeight(i);
    if (p.y < y) return i;
  }
  *outside = true;
  return Count() - 1;
}

// LB_ITEMFROMPOINT: the item under the point, else the nearest item shown (a point above the box
// names the top item, one below the items the last item shown), with HIWORD 1 when the point is
// outside the client area or beyond the items.
LRESULT ListBoxState::NearestShownItem(POINT p) const {
  bool outside;
  int index = ItemFromPoint(p, &outside);
  if (!MultiColumn() && Count() > 0) {
    RECT client;
    GetClientRect(hwnd_, &client);
    int lastShown = top_;
    while (lastShown + 1 < Count() && ItemRect(lastShown + 1).top < client.bottom) ++lastShown;
    index = std::clamp(index, top_, lastShown);
  }
  return MAKELONG(index, outside ? 1 : 0);
}

void ListBoxState::UpdateScroll() {
  if (noRedraw_) return;
  if (MultiColumn()) {
    if (!(bars_ & WS_HSCROLL)) return;
    int rows = RowsPerColumn();
    RECT r;
    GetClientRect(hwnd_, &r);
    int width = columnWidth_ ? columnWidth_ : std::max(1, static_cast<int>(r.right) / 2);
    int columns = (Count() + rows - 1) / rows;
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, columns - 1),
                  static_cast<UINT>(std::max(1, static_cast<int>(r.right) / width)), top_ / rows, 0};
    SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
    return;
  }
  if (bars_ & WS_VSCROLL) {
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS | ((style_ & LBS_DISABLENOSCROLL) ? SIF_DISABLENOSCROLL : 0u),
                  0, std::max(0, Count() - 1), static_cast<UINT>(PageSize()), top_, 0};
    SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
  }
  if (bars_ & WS_HSCROLL) {
    // The bar follows the horizontal extent: shown while the extent is wider than the box, gone
    // (and the text back at its left edge) once it is not.
    RECT r;
    GetClientRect(hwnd_, &r);
    xOffset_ = std::clamp(xOffset_, 0, std::max(0, extent_ - static_cast<int>(r.right)));
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, extent_ - 1), static_cast<UINT>(r.right),
                  xOffset_, 0};
    SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
  }
}

void ListBoxState::KeepIntegralHeight() {
  if ((style_ & (LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWVARIABLE)) || itemHeight_ <= 0) return;
  RECT client, window;
  GetClientRect(hwnd_, &client);
  int extra = client.bottom % itemHeight_;
  if (extra == 0 || client.bottom < itemHeight_) return;
  GetWindowRect(hwnd_, &window);
  SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left, window.bottom - window.top - extra,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The last top index that still fills the box: scrolling further would leave blank space below
// the last item.
int ListBoxState::MaxTop() const {
  const int last = std::max(0, Count() - 1);
  if (MultiColumn()) return last;
  RECT r;
  GetClientRect(hwnd_, &r);
  int height = 0, top = Count();
  while (top > 0 && height + ItemHeight(top - 1) <= r.bottom) height += ItemHeight(--top);
  return std::min(top, last);
}

void ListBoxState::SetTop(int index) {
  if (MultiColumn()) {
    int rows = RowsPerColumn();
    index = index / rows * rows;
  }
  index = std::clamp(index, 0, MaxTop());
  if (index == top_) return;
  top_ = index;
  UpdateScroll();
  Redraw();
}

void ListBoxState::EnsureVisible(int index) {
  if (!Valid(index)) return;
  if (MultiColumn()) {
    int rows = RowsPerColumn();
    RECT r;
    GetClientRect(hwnd_, &r);
    int width = columnWidth_ ? columnWidth_ : std::max(1, static_cast<int>(r.right) / 2);
    int visibleColumns = std::max(1, static_cast<int>(r.right) / width);
    int column = index / rows, first = top_ / rows;
    if (column < first) SetTop(column * rows);
    else if (column >= first + visibleColumns) SetTop((column - visibleColumns + 1) * rows);
    return;
  }
  if (index < top_) {
    SetTop(index);
    return;
  }
  RECT client;
  GetClientRect(hwnd_, &client);
  while (top_ < index && ItemRect(index).bottom > client.bottom) ++top_;
  UpdateScroll();
  Redraw();
}

void ListBoxState::SetCaret(int index, bool scroll) {
  if (!Valid(index)) return;
  caret_ = index;
  if (scroll) EnsureVisible(index);
  Redraw();
}

void ListBoxState::Select(int index, bool notifyChange) {
  bool changed = false;
  if (Single()) {
    changed = cur_ != index;
    cur_ = Valid(index) ? index : -1;
    if (Valid(index)) caret_ = index;
  } else if (Valid(index)) {
    for (int i = 0; i < Count(); ++i) {
      bool want = i == index;
      changed |= items_[static_cast<size_t>(i)].selected != want;
      items_[static_cast<size_t>(i)].selected = want;
    }
    caret_ = anchor_ = index;
  }
  if (Valid(index)) EnsureVisible(index);
  Redraw();
  if (changed && notifyChange) Notify(LBN_SELCHANGE);
}

void ListBoxState::SelectRange(int from, int to, bool on) {
  if (from > to) std::swap(from, to);
  from = std::max(from, 0);
  to = std::min(to, Count() - 1);
  for (int i = from; i <= to; ++i) items_[static_cast<size_t>(i)].selected = on;
  Redraw();
}

bool ListBoxState::ClickAt(int index, bool shift, bool ctrl, bool drag) {
  if (!Valid(index)) return false;
  if (style_ & LBS_NOSEL) {
    SetCaret(index, true);
    return false;
  }
  if (Single()) {
    const int before = cur_;
    Select(index, true);
    return cur_ != before;
  }
  if (Multiple()) {
    if (drag) return false;
    items_[static_cast<size_t>(index)].selected = !items_[static_cast<size_t>(index)].selected;
    SetCaret(index, true);
    anchor_ = index;
    Notify(LBN_SELCHANGE);
    return true;
  }
  std::vector<bool> before;
  for (const Item& i : items_) before.push_back(i.selected);
  if (shift && anchor_ >= 0) {
    if (!ctrl)
      for (Item& i : items_) i.selected = false;
    SelectRange(anchor_, index, true);
  } else if (ctrl && !drag) {
    items_[static_cast<size_t>(index)].selected = !items_[static_cast<size_t>(index)].selected;
    anchor_ = index;
  } else {
    for (Item& i : items_) i.selected = false;
    if (drag && anchor_ >= 0)
      SelectRange(anchor_, index, true);
    else {
      items_[static_cast<size_t>(index)].selected = true;
      anchor_ = index;
    }
  }
  SetCaret(index, true);
  bool changed = false;
  for (int i = 0; i < Count(); ++i) changed |= before[static_cast<size_t>(i)] != items_[static_cast<size_t>(i)].selected;
  if (changed) Notify(LBN_SELCHANGE);
  return changed;
}

void ListBoxState::Search(BYTE ch) {
  if (!HasStrings() || Count() == 0) return;
  DWORD now = static_cast<DWORD>(GetMessageTime());
  if (now - searchTime_ > 1000) search_.clear();
  searchTime_ = now;
  search_.push_back(static_cast<char>(ch));
  int from = Single() ? cur_ : caret_;
  // A repeated first letter steps through the items that start with it.
  int start = search_.size() == 1 ? from : from - 1;
  int found = Find(start, search_.c_str(), false);
  if (found == LB_ERR && search_.size() > 1) {
    search_.erase(0, search_.size() - 1);
    found = Find(from, search_.c_str(), false);
  }
  if (found == LB_ERR) return;
  if (Single())
    Select(found, true);
  else if (Extended())
    ClickAt(found, false, false, false);
  else
    SetCaret(found, true);
}

void ListBoxState::Key(UINT vk) {
  if (Count() == 0) return;
  int from = Single() ? (cur_ >= 0 ? cur_ : caret_) : caret_;
  int rows = MultiColumn() ? RowsPerColumn() : 1;
  int to = from;
  switch (vk) {
    case VK_UP: to = from - 1; break;
    case VK_DOWN: to = from + 1; break;
    case VK_LEFT: to = MultiColumn() ? from - rows : from - 1; break;
    case VK_RIGHT: to = MultiColumn() ? from + rows : from + 1; break;
    case VK_PRIOR: to = from - PageSize() + 1; break;
    case VK_NEXT: to = from + PageSize() - 1; break;
    case VK_HOME: to = 0; break;
    case VK_END: to = Count() - 1; break;
    case VK_SPACE:
      if (Multiple()) {
        items_[static_cast<size_t>(caret_)].selected = !items_[static_cast<size_t>(caret_)].selected;
        Redraw();
        Notify(LBN_SELCHANGE);
      } else if (Extended() && GetKeyState(VK_CONTROL) < 0) {
        ClickAt(caret_, false, true, false);
      }
      return;
    default:
      return;
  }
  to = std::clamp(to, 0, Count() - 1);
  // With nothing selected yet, the first arrow selects the focus item itself.
  if (Single() && cur_ < 0 && (vk == VK_DOWN || vk == VK_UP)) to = caret_;
  if (Single()) {
    Select(to, true);
    return;
  }
  bool notified = false;
  if (Extended() && GetKeyState(VK_CONTROL) >= 0)
    notified = ClickAt(to, GetKeyState(VK_SHIFT) < 0, false, false);
  else
    SetCaret(to, true);
  // A box of several selections tells of every arrow key, whether or not the selection changed.
  const bool arrow = vk == VK_UP || vk == VK_DOWN || vk == VK_LEFT || vk == VK_RIGHT;
  if (arrow && !notified && !(style_ & LBS_NOSEL)) Notify(LBN_SELCHANGE);
}

void ListBoxState::Paint(HDC hdc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  // A combo box's list asks the combo, which asks its parent.
  HBRUSH brush = BrushFrom(Target(), hwnd_, hdc, WM_CTLCOLORLISTBOX);
  FillRect(hdc, &client, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
  COLORREF normalText = GetTextColor(hdc);
  FontSelection f(hdc, font_);
  SetBkMode(hdc, TRANSPARENT);
  bool enabled = Enabled(hwnd_);
  for (int i = top_; i < Count(); ++i) {
    RECT r = ItemRect(i);
    if (r.top >= client.bottom && !MultiColumn()) break;
    if (r.left >= client.right) break;
    const Item& item = items_[static_cast<size_t>(i)];
    bool selected = Single() ? i == cur_ : item.selected;
    bool focusItem = focused_ && i == caret_;
    if (OwnerDraw()) {
      UINT state = (selected ? ODS_SELECTED : 0) | (focusItem ? ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED);
      HWND owner = combo_ ? combo_ : hwnd_;
      DRAWITEMSTRUCT dis{};
      dis.CtlType = combo_ ? ODT_COMBOBOX : ODT_LISTBOX;
      dis.CtlID = static_cast<UINT>(IdOf(owner));
      dis.itemID = static_cast<UINT>(i);
      dis.itemAction = ODA_DRAWENTIRE;
      dis.itemState = state;
      dis.hwndItem = owner;
      dis.hDC = hdc;
      dis.rcItem = r;
      dis.itemData = item.data;
      HWND target = combo_ ? ParentOf(combo_) : Target();
      if (target) SendMessage(target, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
      continue;
    }
    if (selected) FillRect(hdc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(hdc, !enabled ? GetSysColor(COLOR_GRAYTEXT) : selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : normalText);
    if (style_ & LBS_USETABSTOPS)
      TabbedTextOut(hdc, r.left + 2, r.top, item.text.c_str(), static_cast<int>(item.text.size()),
                    static_cast<int>(tabStops_.size()), tabStops_.empty() ? nullptr : tabStops_.data(), r.left + 2);
    else
      TextOut(hdc, r.left + 2, r.top, item.text.c_str(), static_cast<int>(item.text.size()));
    if (focusItem) DrawFocusRect(hdc, &r);
  }
  if (focused_ && Count() == 0 && !combo_) {
    RECT r{0, 0, client.right, itemHeight_};
    DrawFocusRect(hdc, &r);
  }
}

// ---- life cycle and window messages

void ListBoxState::Create(const CREATESTRUCT& cs) {
  bars_ = static_cast<DWORD>(cs.style) & (WS_HSCROLL | WS_VSCROLL);
  if (style_ & LBS_COMBOBOX) combo_ = static_cast<HWND>(cs.lpCreateParams);
  itemHeight_ = LineHeight(font_);
  if (style_ & LBS_OWNERDRAWFIXED) {
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = combo_ ? ODT_COMBOBOX : ODT_LISTBOX;
    mis.CtlID = static_cast<UINT>(IdOf(combo_ ? combo_ : hwnd_));
    mis.itemHeight = static_cast<UINT>(itemHeight_);
    HWND target = combo_ ? ParentOf(combo_) : Target();
    if (target) SendMessage(target, WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
    itemHeight_ = std::max(1, static_cast<int>(mis.itemHeight));
  }
  KeepIntegralHeight();
}

void ListBoxState::SetFont(HFONT font, bool redraw) {
  font_ = font;
  if (!OwnerDraw()) itemHeight_ = LineHeight(font_);
  KeepIntegralHeight();
  UpdateScroll();
  if (redraw) Redraw();
}

void ListBoxState::SetRedraw(bool on) {
  noRedraw_ = !on;
  if (on) {
    UpdateScroll();
    Redraw();
  }
}

void ListBoxState::Focus(bool gained) {
  // Losing the focus while a click holds the mouse ends the click as its button-up would: the
  // capture goes and the parent learns the selection the click made.
  if (!gained && tracking_) {
    tracking_ = false;
    if (GetCapture() == hwnd_) ReleaseCapture();
    Notify(LBN_SELCHANGE);
  }
  focused_ = gained;
  Redraw();
  Notify(gained ? LBN_SETFOCUS : LBN_KILLFOCUS);
}

// ---- keyboard

void ListBoxState::KeyDown(UINT vk) {
  if (style_ & LBS_WANTKEYBOARDINPUT) {
    HWND parent = ParentOf(hwnd_);
    LRESULT r = parent ? SendMessage(parent, WM_VKEYTOITEM, MAKEWPARAM(vk, caret_), reinterpret_cast<LPARAM>(hwnd_)) : -1;
    if (r == -2) return;
    if (r >= 0) {
      ClickAt(static_cast<int>(r), false, false, false);
      return;
    }
  }
  Key(vk);
}

void ListBoxState::Char(WPARAM ch) {
  HWND parent = ParentOf(hwnd_);
  if ((style_ & LBS_WANTKEYBOARDINPUT) && !HasStrings() && parent) {
    // -1: the list does nothing more; -2: handled; an index: go there.
    LRESULT r = SendMessage(parent, WM_CHARTOITEM, MAKEWPARAM(ch, caret_), reinterpret_cast<LPARAM>(hwnd_));
    if (r >= 0) ClickAt(static_cast<int>(r), false, false, false);
    return;
  }
  if (ch >= 0x20 && ch != ' ') Search(static_cast<BYTE>(ch));
}

// ---- mouse, and the tracking a combo box asks of its dropped list

void ListBoxState::ButtonDown(UINT msg, WPARAM keys, POINT p) {
  if (trackingForCombo_) {
    bool outside;
    ItemFromPoint(p, &outside);
    if (outside) {
      EndComboTracking();
      SendMessage(combo_, kComboListCancel, 0, 0);
      return;
    }
    comboButtonDown_ = true;
    return;
  }
  if (GetFocus() != hwnd_ && !combo_) SetFocus(hwnd_);
  bool outside;
  int index = ItemFromPoint(p, &outside);
  if (outside || Count() == 0) return;
  ClickAt(index, (keys & MK_SHIFT) != 0, (keys & MK_CONTROL) != 0, false);
  if (msg == WM_LBUTTONDBLCLK) {
    Notify(LBN_DBLCLK);
    return;
  }
  tracking_ = true;
  SetCapture(hwnd_);
}

void ListBoxState::MouseMove(POINT p) {
  bool outside;
  int index = ItemFromPoint(p, &outside);
  if (trackingForCombo_) {
    if (!outside && index != cur_) Select(index, false);
    return;
  }
  if (tracking_ && GetCapture() == hwnd_ && Count() > 0) {
    if (outside) EnsureVisible(index);
    if (Single() && index != cur_)
      Select(index, true);
    else if (Extended())
      ClickAt(index, false, false, true);
  }
}

void ListBoxState::ButtonUp(POINT p) {
  if (trackingForCombo_) {
    bool outside;
    int index = ItemFromPoint(p, &outside);
    if (!outside && Count() > 0) {
      Select(index, false);
      EndComboTracking();
      SendMessage(combo_, kComboListChosen, static_cast<WPARAM>(index), 0);
    } else if (comboButtonDown_) {
      comboButtonDown_ = false;
    }
    return;
  }
  if (tracking_) {
    tracking_ = false;
    if (GetCapture() == hwnd_) ReleaseCapture();
  }
}

void ListBoxState::CaptureChanged(HWND to) {
  tracking_ = false;
  if (trackingForCombo_) {
    trackingForCombo_ = false;
    if (combo_ && to != hwnd_) PostMessage(combo_, kComboListCancel, 1, 0);
  }
}

void ListBoxState::StartComboTracking(bool buttonDown) {
  trackingForCombo_ = true;
  comboButtonDown_ = buttonDown;
  SetCapture(hwnd_);
}

// ---- scrolling

void ListBoxState::Scroll(int bar, WORD code, int thumb) {
  if (bar == SB_HORZ && !MultiColumn()) {
    ScrollAcross(code, thumb);
    return;
  }
  int rows = MultiColumn() ? RowsPerColumn() : 1;
  int top = top_;
  switch (code) {
    case SB_LINEUP: top -= rows; break;
    case SB_LINEDOWN: top += rows; break;
    case SB_PAGEUP: top -= PageSize(); break;
    case SB_PAGEDOWN: top += PageSize(); break;
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = Count() - 1; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: top = thumb * rows; break;
  }
  SetTop(top);
}

// Horizontal scrolling of a single-column list over its horizontal extent.
void ListBoxState::ScrollAcross(WORD code, int thumb) {
  RECT r;
  GetClientRect(hwnd_, &r);
  int pos = xOffset_;
  switch (code) {
    case SB_LINELEFT: pos -= 8; break;
    case SB_LINERIGHT: pos += 8; break;
    case SB_PAGELEFT: pos -= r.right; break;
    case SB_PAGERIGHT: pos += r.right; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = thumb; break;
  }
  xOffset_ = std::clamp(pos, 0, std::max(0, extent_ - static_cast<int>(r.right)));
  UpdateScroll();
  Redraw();
}

// ---- items and selection messages

void ListBoxState::ResetContent() {
  for (int i = 0; i < Count(); ++i) DeleteNotify(i);
  items_.clear();
  cur_ = -1;
  caret_ = top_ = 0;
  anchor_ = -1;
  UpdateScroll();
  Redraw();
}

// LB_SETCOUNT: the number of lines of a no-data box; the selection and the view keep to them.
LRESULT ListBoxState::SetCount(WPARAM count) {
  if (!NoData()) return LB_ERR;
  if (count > static_cast<WPARAM>(INT_MAX)) return LB_ERRSPACE;
  try {
    items_.resize(count, Item{{}, 0, false, itemHeight_});
  } catch (const std::bad_alloc&) {
    return LB_ERRSPACE;
  }
  if (cur_ >= Count()) cur_ = -1;
  if (anchor_ >= Count()) anchor_ = -1;
  caret_ = std::clamp(caret_, 0, std::max(0, Count() - 1));
  top_ = std::clamp(top_, 0, MaxTop());
  UpdateScroll();
  Redraw();
  return 0;
}

LRESULT ListBoxState::SetSel(bool on, int index) {
  if (Single()) return LB_ERR;
  if (index == -1) {
    SelectRange(0, Count() - 1, on);
    return 0;
  }
  if (!Valid(index)) return LB_ERR;
  items_[static_cast<size_t>(index)].selected = on;
  if (on) {
    caret_ = index;
    anchor_ = index;
  }
  Redraw();
  return 0;
}

LRESULT ListBoxState::GetSel(int index) const {
  if (!Valid(index)) return LB_ERR;
  return Single() ? (index == cur_ ? 1 : 0) : (items_[static_cast<size_t>(index)].selected ? 1 : 0);
}

LRESULT ListBoxState::GetSelItems(int most, int* out) const {
  if (Single()) return LB_ERR;
  int n = 0;
  for (int i = 0; i < Count() && n < most; ++i)
    if (items_[static_cast<size_t>(i)].selected) out[n++] = i;
  return n;
}

LRESULT ListBoxState::SelectString(int after, const char* text) {
  int found = Find(after, text, false);
  if (found == LB_ERR) return LB_ERR;
  if (Single())
    Select(found, false);
  else
    SetCaret(found, true);
  return found;
}

LRESULT ListBoxState::GetText(int index, LPARAM out) const {
  if (!Valid(index) || out == 0) return LB_ERR;
  const Item& item = items_[static_cast<size_t>(index)];
  if (!HasStrings()) {
    std::memcpy(reinterpret_cast<void*>(out), &item.data, sizeof(item.data));
    return sizeof(item.data);
  }
  std::memcpy(reinterpret_cast<char*>(out), item.text.c_str(), item.text.size() + 1);
  return static_cast<LRESULT>(item.text.size());
}

LRESULT ListBoxState::GetTextLength(int index) const {
  if (!Valid(index)) return LB_ERR;
  return HasStrings() ? static_cast<LRESULT>(items_[static_cast<size_t>(index)].text.size())
                      : static_cast<LRESULT>(sizeof(ULONG_PTR));
}

LRESULT ListBoxState::SetItemHeight(int index, int height) {
  if (height <= 0 || height > 255) return LB_ERR;
  if (Variable()) {
    if (!Valid(index)) return LB_ERR;
    items_[static_cast<size_t>(index)].height = height;
  } else {
    itemHeight_ = height;
  }
  UpdateScroll();
  Redraw();
  return 0;
}

// Tab stops in dialog units of the list's font; none given means every 32 units.
void ListBoxState::SetTabStops(WPARAM count, const int* stops) {
  tabStops_.clear();
  SIZE base = DialogBaseUnitsOf(font_);
  if (count == 0) tabStops_.push_back(MulDiv(32, base.cx, 4));
  for (WPARAM i = 0; i < count && stops; ++i) tabStops_.push_back(MulDiv(stops[i], base.cx, 4));
  Redraw();
}

// A change of layout that the scroll bars and the picture follow.
void ListBoxState::Relayout() {
  UpdateScroll();
  Redraw();
}

LRESULT ListBoxState::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  hwnd_ = hwnd;
  if (msg == WM_NCCREATE) {
    created_ = static_cast<DWORD>(reinterpret_cast<CREATESTRUCT*>(lParam)->style) & kCreationStyles;
    if ((created_ & (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS)) != LBS_OWNERDRAWFIXED ||
        (reinterpret_cast<CREATESTRUCT*>(lParam)->style & LBS_SORT))
      created_ &= ~LBS_NODATA;
  }
  style_ = (StyleOf(hwnd) & ~kCreationStyles) | created_;
  LRESULT painted;
  if (HandlePaint(hwnd, msg, wParam, [this](HDC hdc) { Paint(hdc); }, &painted)) return painted;
  const int index = static_cast<int>(wParam);
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (msg) {
    case WM_CREATE:
      Create(*reinterpret_cast<CREATESTRUCT*>(lParam));
      return 0;
    case WM_NCDESTROY:
      for (int i = 0; i < Count(); ++i) DeleteNotify(i);
      items_.clear();
      return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_SIZE:
      KeepIntegralHeight();
      UpdateScroll();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFONT:
      SetFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETREDRAW:
      SetRedraw(wParam != 0);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Focus(msg == WM_SETFOCUS);
      return 0;
    case WM_ENABLE:
      Redraw();
      return 0;
    case WM_KEYDOWN:
      KeyDown(static_cast<UINT>(wParam));
      return 0;
    case WM_CHAR:
      Char(wParam);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      ButtonDown(msg, wParam, point);
      return 0;
    case WM_MOUSEMOVE:
      MouseMove(point);
      return 0;
    case WM_LBUTTONUP:
      ButtonUp(point);
      return 0;
    case WM_CAPTURECHANGED:
      CaptureChanged(reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
      Scroll(msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      SetTop(top_ - 3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
      return 0;
    case WM_MOUSEACTIVATE:
      if (combo_) return MA_NOACTIVATE;
      break;

    case LB_ADDSTRING:
      return Insert(-1, lParam, (style_ & LBS_SORT) != 0 && !NoData());
    case LB_INSERTSTRING:
      return Insert(index, lParam, false);
    case LB_DELETESTRING:
      if (!Valid(index)) return LB_ERR;
      Delete(index);
      return Count();
    case LB_RESETCONTENT:
      ResetContent();
      return 0;
    case LB_GETCOUNT:
      return Count();
    case LB_SETCURSEL:
      if (!Single()) return LB_ERR;
      Select(Valid(index) ? index : -1, false);
      return Valid(index) ? index : LB_ERR;
    case LB_GETCURSEL:
      if (Single()) return cur_;
      return Count() ? caret_ : LB_ERR;
    case LB_SETSEL:
      return SetSel(wParam != 0, static_cast<int>(lParam));
    case LB_GETSEL:
      return GetSel(index);
    case LB_GETSELCOUNT:
      if (Single()) return LB_ERR;
      return std::count_if(items_.begin(), items_.end(), [](const Item& i) { return i.selected; });
    case LB_GETSELITEMS:
      return GetSelItems(index, reinterpret_cast<int*>(lParam));
    case LB_SELITEMRANGE:
      if (Single()) return LB_ERR;
      SelectRange(LOWORD(lParam), HIWORD(lParam), wParam != 0);
      return 0;
    case LB_SELITEMRANGEEX:
      if (Single()) return LB_ERR;
      SelectRange(index, static_cast<int>(lParam), index <= static_cast<int>(lParam));
      return 0;
    case LB_GETTEXT:
      return GetText(index, lParam);
    case LB_GETTEXTLEN:
      return GetTextLength(index);
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
      return Find(index, reinterpret_cast<LPCSTR>(lParam), msg == LB_FINDSTRINGEXACT);
    case LB_SELECTSTRING:
      return SelectString(index, reinterpret_cast<LPCSTR>(lParam));
    case LB_GETTOPINDEX:
      return top_;
    case LB_SETTOPINDEX:
      if (!Valid(index) && Count() > 0) return LB_ERR;
      SetTop(index);
      return 0;
    case LB_GETITEMDATA:
      return Valid(index) ? static_cast<LRESULT>(items_[static_cast<size_t>(index)].data) : LB_ERR;
    case LB_SETITEMDATA:
      if (!Valid(index) || NoData()) return LB_ERR;
      items_[static_cast<size_t>(index)].data = static_cast<ULONG_PTR>(lParam);
      return 0;
    case LB_GETITEMRECT:
      if (!Valid(index) && !(index == 0 && Count() == 0)) return LB_ERR;
      *reinterpret_cast<RECT*>(lParam) = ItemRect(index);
      return 1;
    case LB_ITEMFROMPOINT:
      return NearestShownItem(point);
    case LB_SETITEMHEIGHT:
      return SetItemHeight(index, LOWORD(lParam));
    case LB_GETITEMHEIGHT:
      return Variable() ? (Valid(index) ? ItemHeight(index) : LB_ERR) : itemHeight_;
    case LB_SETCARETINDEX:
      if (!Valid(index)) return LB_ERR;
      SetCaret(index, !LOWORD(lParam));
      return 0;
    case LB_GETCARETINDEX:
      return caret_;
    case LB_SETANCHORINDEX:
      if (!Valid(index)) return LB_ERR;
      anchor_ = index;
      return 0;
    case LB_GETANCHORINDEX:
      return anchor_;
    case LB_SETTABSTOPS:
      if (!(style_ & LBS_USETABSTOPS)) return FALSE;
      SetTabStops(wParam, reinterpret_cast<const int*>(lParam));
      return TRUE;
    case LB_SETCOLUMNWIDTH:
      columnWidth_ = index;
      Relayout();
      return 0;
    case LB_SETHORIZONTALEXTENT:
      extent_ = index;
      Relayout();
      return 0;
    case LB_GETHORIZONTALEXTENT:
      return extent_;
    case LB_INITSTORAGE:
      items_.reserve(items_.size() + wParam);
      return static_cast<LRESULT>(items_.capacity());
    case LB_SETCOUNT:
      return SetCount(wParam);
    case LB_DIR:
    case LB_ADDFILE:
      return LB_ERR;

    case kComboListTrack:
      StartComboTracking(wParam != 0);
      return 0;
    case kComboListStopTrack:
      EndComboTracking();
      return 0;
    case kComboListKey:
      Key(static_cast<UINT>(wParam));
      return cur_;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterListBoxClass() {
  RegisterControlClass(WC_LISTBOX, ControlProc<ListBoxState>, CS_DBLCLKS, IDC_ARROW, -1);
  RegisterControlClass(WC_COMBOLBOX, ControlProc<ListBoxState>, CS_DBLCLKS | CS_SAVEBITS, IDC_ARROW, -1);
}

}  // namespace brambolt::ctl
