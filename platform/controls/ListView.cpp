// The list-view control ("SysListView32"): its items, sub-items, columns, selection state,
// notifications to the parent and the LVM_ messages.
#include <algorithm>
#include <array>
#include <cstring>

#include "controls/CommonControls.h"
#include "controls/ListViewState.h"

namespace brambolt::ctl {
namespace {

// The buffer a parent fills for LVN_GETDISPINFO.
constexpr int kDisplayTextSize = 1024;
// The most items a virtual list holds.
constexpr int kMaxVirtualItems = 1000000;

void CopyText(const std::string& text, LPSTR out, int size) {
  if (out == nullptr || out == LPSTR_TEXTCALLBACK || size <= 0) return;
  size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
}

bool IsCallback(LPCSTR text) { return text == LPSTR_TEXTCALLBACK; }

}  // namespace

LRESULT ListViewState::Notify(UINT code, NMHDR* nm) { return SendNotify(hwnd_, code, nm); }

LRESULT ListViewState::NotifyItem(UINT code, int item, int subItem, UINT newState, UINT oldState, UINT changed,
                                  POINT action) {
  NMLISTVIEW nm{};
  nm.iItem = item;
  nm.iSubItem = subItem;
  nm.uNewState = newState;
  nm.uOldState = oldState;
  nm.uChanged = changed;
  nm.ptAction = action;
  nm.lParam = Valid(item) ? Item(item).lParam : 0;
  return Notify(code, &nm.hdr);
}

LRESULT ListViewState::NotifyActivate(UINT code, int item, int subItem, POINT action) {
  NMITEMACTIVATE nm{};
  nm.iItem = item;
  nm.iSubItem = subItem;
  nm.ptAction = action;
  nm.lParam = Valid(item) ? Item(item).lParam : 0;
  nm.uKeyFlags = (GetKeyState(VK_MENU) < 0 ? LVKF_ALT : 0u) | (GetKeyState(VK_CONTROL) < 0 ? LVKF_CONTROL : 0u) |
                 (GetKeyState(VK_SHIFT) < 0 ? LVKF_SHIFT : 0u);
  return Notify(code, &nm.hdr);
}

void ListViewState::AskDisplayInfo(LVITEM& asked) {
  NMLVDISPINFO di{};
  di.item = asked;
  di.item.lParam = Item(asked.iItem).lParam;
  Notify(LVN_GETDISPINFO, &di.hdr);
  if ((asked.mask & LVIF_TEXT) && di.item.pszText != asked.pszText && !IsCallback(di.item.pszText))
    CopyText(di.item.pszText ? di.item.pszText : "", asked.pszText, asked.cchTextMax);
  if (asked.mask & LVIF_IMAGE) asked.iImage = di.item.iImage;
  if (asked.mask & LVIF_STATE) asked.state = di.item.state;
  // The parent asks the list to keep what it answered.
  if (di.item.mask & LVIF_DI_SETITEM) {
    LvItem& item = Item(asked.iItem);
    if (asked.mask & LVIF_TEXT) {
      if (asked.iSubItem == 0) {
        item.text = asked.pszText ? asked.pszText : "";
        item.textCallback = false;
      } else if (asked.iSubItem <= static_cast<int>(item.subItems.size())) {
        item.subItems[static_cast<size_t>(asked.iSubItem - 1)] = LvSubItem{asked.pszText ? asked.pszText : "", false};
      }
    }
    if ((asked.mask & LVIF_IMAGE) && asked.iSubItem == 0) item.image = asked.iImage;
  }
}

std::string ListViewState::DisplayText(int index, int subItem) {
  const LvItem& item = Item(index);
  bool callback;
  if (subItem == 0) {
    if (!item.textCallback) return item.text;
    callback = true;
  } else if (subItem > static_cast<int>(item.subItems.size())) {
    // A virtual list's parent has every text; other lists have none beyond those set.
    if (!OwnerData()) return std::string();
    callback = true;
  } else {
    const LvSubItem& sub = item.subItems[static_cast<size_t>(subItem - 1)];
    if (!sub.callback) return sub.text;
    callback = true;
  }
  if (!callback) return std::string();
  std::array<char, kDisplayTextSize> buffer{};
  LVITEM asked{};
  asked.mask = LVIF_TEXT;
  asked.iItem = index;
  asked.iSubItem = subItem;
  asked.pszText = buffer.data();
  asked.cchTextMax = kDisplayTextSize;
  AskDisplayInfo(asked);
  buffer.back() = '\0';
  return std::string(buffer.data());
}

int ListViewState::DisplayImage(int index) {
  int image = Item(index).image;
  if (image != I_IMAGECALLBACK) return image;
  LVITEM asked{};
  asked.mask = LVIF_IMAGE;
  asked.iItem = index;
  asked.iImage = I_IMAGECALLBACK;
  AskDisplayInfo(asked);
  return asked.iImage;
}

int ListViewState::SortedPosition(const std::string& text) const {
  bool descending = (style_ & LVS_SORTDESCENDING) != 0;
  // Past the items that sort equal, as a later insertion of the same text lands after them.
  auto it = std::upper_bound(items_.begin(), items_.end(), text, [&](const std::string& t, const auto& item) {
    int c = lstrcmpi(t.c_str(), item->text.c_str());
    return descending ? c > 0 : c < 0;
  });
  return static_cast<int>(it - items_.begin());
}

int ListViewState::Insert(const LVITEM* lv) {
  if (lv == nullptr || lv->iSubItem != 0 || lv->iItem < 0) return -1;
  auto item = std::make_unique<LvItem>();
  if (lv->mask & LVIF_TEXT) {
    item->textCallback = IsCallback(lv->pszText);
    if (!item->textCallback && lv->pszText) item->text = lv->pszText;
  }
  if (lv->mask & LVIF_IMAGE) item->image = lv->iImage;
  if (lv->mask & LVIF_PARAM) item->lParam = lv->lParam;
  if (lv->mask & LVIF_INDENT) item->indent = lv->iIndent;
  UINT state = (lv->mask & LVIF_STATE) ? (lv->state & lv->stateMask) : 0;
  int index = std::min(lv->iItem, Count());
  if ((style_ & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) && !item->textCallback) index = SortedPosition(item->text);
  if (state & LVIS_SELECTED) {
    if (SingleSel()) DeselectAllBut(-1);
    ++selectedCount_;
  }
  if (state & LVIS_FOCUSED) {
    if (Valid(focus_)) {
      Item(focus_).state &= ~LVIS_FOCUSED;
      InvalidateItem(focus_);
    }
  }
  // An item of a list with check boxes starts unchecked, whatever state image it came with: its
  // check is set once it is in the list.
  if (exStyle_ & LVS_EX_CHECKBOXES) state = (state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(1);
  item->state = state;
  items_.insert(items_.begin() + index, std::move(item));
  if (mark_ >= index) ++mark_;
  if (state & LVIS_FOCUSED)
    TakeFocus(index);
  else if (focus_ >= index)
    ++focus_;
  if (editItem_ >= index) ++editItem_;
  if (tracking_ && trackItem_ >= index) ++trackItem_;
  armedItem_ = -1;
  NoteLabel(index);
  UpdateScroll();
  InvalidateFrom(index);
  NotifyItem(LVN_INSERTITEM, index);
  return index;
}

BOOL ListViewState::Delete(int index) {
  if (!Valid(index)) return FALSE;
  if (index == editItem_) EndEdit(false);
  NotifyItem(LVN_DELETEITEM, index);
  if (!Valid(index)) return FALSE;  // the parent deleted it meanwhile
  if (Item(index).state & LVIS_SELECTED) --selectedCount_;
  items_.erase(items_.begin() + index);
  if (focus_ == index) focus_ = -1;
  else if (focus_ > index) --focus_;
  if (mark_ == index) mark_ = -1;
  else if (mark_ > index) --mark_;
  if (editItem_ > index) --editItem_;
  armedItem_ = -1;
  if (tracking_ && trackItem_ == index) trackItem_ = -1;
  else if (tracking_ && trackItem_ > index) --trackItem_;
  UpdateScroll();
  InvalidateFrom(index);
  return TRUE;
}

BOOL ListViewState::DeleteAll() {
  EndEdit(false);
  if (items_.empty()) return TRUE;
  // A parent that answers TRUE does not want LVN_DELETEITEM for each item.
  bool each = NotifyItem(LVN_DELETEALLITEMS, -1) == 0;
  if (each)
    for (int i = 0; i < Count(); ++i) NotifyItem(LVN_DELETEITEM, i);
  items_.clear();
  focus_ = mark_ = trackItem_ = -1;
  selectedCount_ = 0;
  topRow_ = firstColumn_ = scrollY_ = 0;
  maxLabelWidth_ = -1;
  UpdateScroll();
  Redraw();
  return TRUE;
}

BOOL ListViewState::GetItem(LVITEM* lv) {
  if (lv == nullptr || !Valid(lv->iItem) || lv->iSubItem < 0) return FALSE;
  const LvItem& item = Item(lv->iItem);
  LVITEM asked{};
  asked.iItem = lv->iItem;
  asked.iSubItem = lv->iSubItem;
  if (lv->mask & LVIF_TEXT) {
    bool callback = false;
    std::string text;
    if (lv->iSubItem == 0) {
      callback = item.textCallback;
      text = item.text;
    } else if (lv->iSubItem <= static_cast<int>(item.subItems.size())) {
      const LvSubItem& sub = item.subItems[static_cast<size_t>(lv->iSubItem - 1)];
      callback = sub.callback;
      text = sub.text;
    }
    if (callback) {
      asked.mask |= LVIF_TEXT;
      asked.pszText = lv->pszText;
      asked.cchTextMax = lv->cchTextMax;
    } else {
      CopyText(text, lv->pszText, lv->cchTextMax);
    }
  }
  if (lv->iSubItem == 0) {
    if (lv->mask & LVIF_IMAGE) {
      lv->iImage = item.image;
      if (item.image == I_IMAGECALLBACK) asked.mask |= LVIF_IMAGE;
    }
    if (lv->mask & LVIF_STATE) {
      lv->state = item.state & lv->stateMask & ~callbackMask_;
      if (callbackMask_ & lv->stateMask) {
        asked.mask |= LVIF_STATE;
        asked.stateMask = callbackMask_ & lv->stateMask;
      }
    }
    if (lv->mask & LVIF_PARAM) lv->lParam = item.lParam;
    if (lv->mask & LVIF_INDENT) lv->iIndent = item.indent;
  }
  if (asked.mask) {
    AskDisplayInfo(asked);
    if (asked.mask & LVIF_IMAGE) lv->iImage = asked.iImage;
    if (asked.mask & LVIF_STATE) lv->state |= asked.state & asked.stateMask;
  }
  return TRUE;
}

int ListViewState::GetItemText(int index, LVITEM* lv) {
  if (lv == nullptr || !Valid(index) || lv->pszText == nullptr || lv->cchTextMax <= 0) return 0;
  LVITEM asked = *lv;
  asked.mask = LVIF_TEXT;
  asked.iItem = index;
  if (!GetItem(&asked)) return 0;
  return static_cast<int>(strnlen(lv->pszText, static_cast<size_t>(lv->cchTextMax)));
}

BOOL ListViewState::SetItem(const LVITEM* lv) {
  if (lv == nullptr || !Valid(lv->iItem) || lv->iSubItem < 0) return FALSE;
  int index = lv->iItem;
  LvItem& item = Item(index);
  if (lv->iSubItem > 0) {
    if (!(lv->mask & LVIF_TEXT)) return TRUE;
    if (lv->iSubItem > static_cast<int>(columns_.size()) && lv->iSubItem > static_cast<int>(item.subItems.size()))
      return FALSE;  // no such column
    if (static_cast<int>(item.subItems.size()) < lv->iSubItem) item.subItems.resize(static_cast<size_t>(lv->iSubItem));
    LvSubItem& sub = item.subItems[static_cast<size_t>(lv->iSubItem - 1)];
    sub.callback = IsCallback(lv->pszText);
    sub.text = (!sub.callback && lv->pszText) ? lv->pszText : "";
    InvalidateItem(index);
    return TRUE;
  }
  UINT changed = lv->mask & (LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_INDENT);
  if (changed) {
    if (NotifyItem(LVN_ITEMCHANGING, index, 0, 0, 0, changed & ~LVIF_INDENT)) return FALSE;
    if (!Valid(index)) return FALSE;
    LvItem& target = Item(index);
    if (lv->mask & LVIF_TEXT) {
      target.textCallback = IsCallback(lv->pszText);
      target.text = (!target.textCallback && lv->pszText) ? lv->pszText : "";
      NoteLabel(index);
    }
    if (lv->mask & LVIF_IMAGE) target.image = lv->iImage;
    if (lv->mask & LVIF_PARAM) target.lParam = lv->lParam;
    if (lv->mask & LVIF_INDENT) target.indent = lv->iIndent;
    InvalidateItem(index);
    NotifyItem(LVN_ITEMCHANGED, index, 0, 0, 0, changed & ~LVIF_INDENT);
  }
  if ((lv->mask & LVIF_STATE) && Valid(index)) return SetState(index, lv->state, lv->stateMask) ? TRUE : FALSE;
  return TRUE;
}

bool ListViewState::SetState(int index, UINT state, UINT mask) {
  if (!Valid(index)) return false;
  UINT old = Item(index).state;
  UINT now = (old & ~mask) | (state & mask);
  if (now == old) return true;
  bool selecting = (now & LVIS_SELECTED) && !(old & LVIS_SELECTED);
  bool focusing = (now & LVIS_FOCUSED) && !(old & LVIS_FOCUSED);
  if (NotifyItem(LVN_ITEMCHANGING, index, 0, now, old, LVIF_STATE)) return false;
  if (selecting && SingleSel()) DeselectAllBut(index);
  if (focusing && focus_ != index && Valid(focus_)) SetState(focus_, 0, LVIS_FOCUSED);
  if (!Valid(index)) return false;
  LvItem& item = Item(index);
  old = item.state;
  now = (old & ~mask) | (state & mask);
  item.state = now;
  if ((now ^ old) & LVIS_SELECTED) selectedCount_ += (now & LVIS_SELECTED) ? 1 : -1;
  if (now & LVIS_FOCUSED)
    TakeFocus(index);
  else if (focus_ == index)
    focus_ = -1;
  InvalidateItem(index);
  NotifyItem(LVN_ITEMCHANGED, index, 0, now, old, LVIF_STATE);
  return true;
}

void ListViewState::SetStateAll(UINT state, UINT mask) {
  // Selecting every item of a single-selection list selects none but the first.
  if (SingleSel() && (mask & LVIS_SELECTED) && (state & LVIS_SELECTED)) {
    if (Count() > 0) SetState(0, state, mask);
    return;
  }
  for (int i = 0; i < Count(); ++i) SetState(i, state, mask);
}

void ListViewState::DeselectAllBut(int keep) {
  int remaining = selectedCount_ - ((Valid(keep) && (Item(keep).state & LVIS_SELECTED)) ? 1 : 0);
  for (int i = 0; i < Count() && remaining > 0; ++i) {
    if (i == keep || !(Item(i).state & LVIS_SELECTED)) continue;
    --remaining;
    SetState(i, 0, LVIS_SELECTED);
  }
}

void ListViewState::SelectRange(int from, int to, bool deselectOthers) {
  if (from > to) std::swap(from, to);
  from = std::max(from, 0);
  to = std::min(to, Count() - 1);
  if (OwnerData()) return SelectVirtualRange(from, to, deselectOthers);
  if (deselectOthers) {
    for (int i = 0; i < Count(); ++i)
      if ((i < from || i > to) && (Item(i).state & LVIS_SELECTED)) SetState(i, 0, LVIS_SELECTED);
  }
  for (int i = from; i <= to; ++i) SetState(i, LVIS_SELECTED, LVIS_SELECTED);
}

void ListViewState::SelectVirtualRange(int from, int to, bool deselectOthers) {
  // The items outside the range are deselected as one change of every item (item -1).
  if (deselectOthers) {
    bool changed = false;
    for (int i = 0; i < Count(); ++i) {
      if ((i >= from && i <= to) || !(Item(i).state & LVIS_SELECTED)) continue;
      Item(i).state &= ~LVIS_SELECTED;
      --selectedCount_;
      InvalidateItem(i);
      changed = true;
    }
    if (changed) NotifyItem(LVN_ITEMCHANGED, -1, 0, 0, LVIS_SELECTED, LVIF_STATE);
  }
  if (from > to) return;
  for (int i = from; i <= to; ++i) {
    if (Item(i).state & LVIS_SELECTED) continue;
    Item(i).state |= LVIS_SELECTED;
    ++selectedCount_;
    InvalidateItem(i);
  }
  NMLVODSTATECHANGE nm{};
  nm.iFrom = from;
  nm.iTo = to;
  nm.uNewState = LVIS_SELECTED;
  nm.uOldState = 0;
  Notify(LVN_ODSTATECHANGED, &nm.hdr);
}

BOOL ListViewState::SetVirtualCount(int count) {
  // Each virtual item holds its state here: a count beyond what that memory allows is refused,
  // leaving the list as it was.
  if (count < 0 || count > kMaxVirtualItems) return FALSE;
  if (editItem_ >= count) EndEdit(false);
  while (Count() > count) {
    if (Item(Count() - 1).state & LVIS_SELECTED) --selectedCount_;
    items_.pop_back();
  }
  items_.reserve(static_cast<size_t>(count));
  while (Count() < count) {
    auto item = std::make_unique<LvItem>();
    item->textCallback = true;
    item->image = I_IMAGECALLBACK;
    items_.push_back(std::move(item));
  }
  if (focus_ >= count) focus_ = -1;
  if (mark_ >= count) mark_ = -1;
  if (trackItem_ >= count) trackItem_ = -1;
  armedItem_ = -1;
  maxLabelWidth_ = -1;
  UpdateScroll();
  Redraw();
  return TRUE;
}

int ListViewState::NextItem(int start, UINT flags) {
  UINT want = flags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);  // the LVIS_ bits
  UINT direction = flags & (LVNI_ABOVE | LVNI_BELOW | LVNI_TOLEFT | LVNI_TORIGHT);
  auto matches = [&](int i) { return (Item(i).state & want) == want; };
  if (direction) {
    if (!Valid(start)) return -1;
    for (int i = Neighbour(start, direction); Valid(i); i = Neighbour(i, direction))
      if (matches(i)) return i;
    return -1;
  }
  if (want == LVNI_FOCUSED) return focus_ > start ? focus_ : -1;
  if ((want & LVNI_SELECTED) && selectedCount_ == 0) return -1;
  for (int i = std::max(start + 1, 0); i < Count(); ++i)
    if (matches(i)) return i;
  return -1;
}

int ListViewState::Find(int start, const LVFINDINFO* info) {
  if (info == nullptr || Count() == 0) return -1;
  bool byText = (info->flags & (LVFI_STRING | LVFI_PARTIAL)) != 0;
  if (!byText && !(info->flags & LVFI_PARAM)) return -1;
  if (byText && info->psz == nullptr) return -1;
  size_t length = byText ? std::strlen(info->psz) : 0;
  auto matches = [&](int i) {
    if (info->flags & LVFI_PARAM) return Item(i).lParam == info->lParam;
    std::string text = DisplayText(i, 0);
    if (info->flags & LVFI_PARTIAL) return _strnicmp(text.c_str(), info->psz, length) == 0;
    return lstrcmpi(text.c_str(), info->psz) == 0;
  };
  int first = std::max(start + 1, 0);
  for (int i = first; i < Count(); ++i)
    if (matches(i)) return i;
  if (info->flags & LVFI_WRAP)
    for (int i = 0; i < std::min(first, Count()); ++i)
      if (matches(i)) return i;
  return -1;
}

BOOL ListViewState::Sort(PFNLVCOMPARE compare, LPARAM lParamSort) {
  if (compare == nullptr) return FALSE;
  const LvItem* focused = Valid(focus_) ? &Item(focus_) : nullptr;
  const LvItem* marked = Valid(mark_) ? &Item(mark_) : nullptr;
  const LvItem* edited = Valid(editItem_) ? &Item(editItem_) : nullptr;
  armedItem_ = -1;
  std::stable_sort(items_.begin(), items_.end(), [&](const auto& a, const auto& b) {
    return compare(a->lParam, b->lParam, lParamSort) < 0;
  });
  for (int i = 0; i < Count(); ++i) {
    if (&Item(i) == focused) focus_ = i;
    if (&Item(i) == marked) mark_ = i;
    if (&Item(i) == edited) editItem_ = i;
  }
  Redraw();
  return TRUE;
}

HIMAGELIST ListViewState::CheckBoxImages() {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  HIMAGELIST list = ImageList_Create(cx, cy, ILC_COLOR32, 2, 0);
  if (list == nullptr) return nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP boxes = CreateCompatibleBitmap(screen, 2 * cx, cy);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, boxes);
  RECT all{0, 0, 2 * cx, cy};
  FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
  for (int i = 0; i < 2; ++i) {
    RECT box{i * cx + 2, 2, i * cx + cx - 1, cy - 1};
    DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | (i ? DFCS_CHECKED : 0));
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  ImageList_Add(list, boxes, nullptr);
  DeleteObject(boxes);
  return list;
}

HIMAGELIST ListViewState::SetImageList(int which, HIMAGELIST list) {
  if (which < LVSIL_NORMAL || which > LVSIL_STATE) return nullptr;
  HIMAGELIST previous = images_[which];
  images_[which] = list;
  maxLabelWidth_ = -1;
  Relayout();
  return previous;
}

// ---- columns

void ListViewState::SyncHeaderItem(int index, UINT mask) {
  if (header_ == nullptr) return;
  const LvColumn& c = columns_[static_cast<size_t>(index)];
  HDITEM h{};
  h.mask = HDI_FORMAT;
  h.fmt = HDF_STRING | (c.fmt & LVCFMT_JUSTIFYMASK);
  if (mask & LVCF_WIDTH) {
    h.mask |= HDI_WIDTH;
    h.cxy = c.width;
  }
  if (mask & LVCF_TEXT) {
    h.mask |= HDI_TEXT;
    h.pszText = const_cast<char*>(c.text.c_str());
  }
  if ((mask & LVCF_IMAGE) && (c.fmt & LVCFMT_IMAGE)) {
    h.mask |= HDI_IMAGE;
    h.fmt |= HDF_IMAGE;
    h.iImage = c.image;
  }
  SendMessage(header_, HDM_SETITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&h));
}

int ListViewState::InsertColumn(int index, const LVCOLUMN* lc) {
  if (lc == nullptr || index < 0) return -1;
  index = std::min(index, static_cast<int>(columns_.size()));
  LvColumn c;
  if (lc->mask & LVCF_TEXT) c.text = (lc->pszText && !IsCallback(lc->pszText)) ? lc->pszText : "";
  if (lc->mask & LVCF_FMT) c.fmt = lc->fmt;
  if (lc->mask & LVCF_WIDTH) c.width = std::max(0, lc->cx);
  c.subItem = (lc->mask & LVCF_SUBITEM) ? lc->iSubItem : index;
  if (lc->mask & LVCF_IMAGE) c.image = lc->iImage;
  if (index == 0 && columns_.empty()) c.fmt &= ~LVCFMT_JUSTIFYMASK;  // the label column is left aligned
  columns_.insert(columns_.begin() + index, c);
  // Sub-items are numbered by column: a new column moves the texts of those after it along.
  if (index > 0)
    for (auto& item : items_)
      if (static_cast<int>(item->subItems.size()) >= index)
        item->subItems.insert(item->subItems.begin() + (index - 1), LvSubItem{});
  if (header_) {
    HDITEM h{};
    h.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
    h.cxy = c.width;
    h.pszText = const_cast<char*>(c.text.c_str());
    h.fmt = HDF_STRING | (c.fmt & LVCFMT_JUSTIFYMASK);
    if ((c.fmt & LVCFMT_IMAGE) && c.image >= 0) {
      h.mask |= HDI_IMAGE;
      h.fmt |= HDF_IMAGE;
      h.iImage = c.image;
    }
    SendMessage(header_, HDM_INSERTITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&h));
  }
  Relayout();
  return index;
}

BOOL ListViewState::DeleteColumn(int index) {
  if (index < 0 || index >= static_cast<int>(columns_.size())) return FALSE;
  columns_.erase(columns_.begin() + index);
  // Column 0 shows the item's own text whatever is deleted; the sub-items of a later column go.
  if (index > 0)
    for (auto& item : items_)
      if (static_cast<int>(item->subItems.size()) >= index) item->subItems.erase(item->subItems.begin() + (index - 1));
  if (header_) SendMessage(header_, HDM_DELETEITEM, static_cast<WPARAM>(index), 0);
  Relayout();
  return TRUE;
}

BOOL ListViewState::GetColumn(int index, LVCOLUMN* lc) const {
  if (lc == nullptr || index < 0 || index >= static_cast<int>(columns_.size())) return FALSE;
  const LvColumn& c = columns_[static_cast<size_t>(index)];
  if (lc->mask & LVCF_FMT) lc->fmt = c.fmt;
  if (lc->mask & LVCF_WIDTH) lc->cx = c.width;
  if (lc->mask & LVCF_TEXT) CopyText(c.text, lc->pszText, lc->cchTextMax);
  if (lc->mask & LVCF_SUBITEM) lc->iSubItem = c.subItem;
  if (lc->mask & LVCF_IMAGE) lc->iImage = c.image;
  if (lc->mask & LVCF_ORDER) lc->iOrder = index;
  return TRUE;
}

BOOL ListViewState::SetColumn(int index, const LVCOLUMN* lc) {
  if (lc == nullptr || index < 0 || index >= static_cast<int>(columns_.size())) return FALSE;
  LvColumn& c = columns_[static_cast<size_t>(index)];
  if (lc->mask & LVCF_TEXT) c.text = (lc->pszText && !IsCallback(lc->pszText)) ? lc->pszText : "";
  if (lc->mask & LVCF_FMT) c.fmt = index == 0 ? (lc->fmt & ~LVCFMT_JUSTIFYMASK) : lc->fmt;
  if (lc->mask & LVCF_WIDTH) c.width = std::max(0, lc->cx);
  if (lc->mask & LVCF_SUBITEM) c.subItem = lc->iSubItem;
  if (lc->mask & LVCF_IMAGE) c.image = lc->iImage;
  SyncHeaderItem(index, lc->mask);
  Relayout();
  return TRUE;
}

int ListViewState::ContentWidth(int column) {
  HDC dc = GetDC(hwnd_);
  int widest = 0;
  {
    FontSelection font(dc, font_);
    for (int i = 0; i < Count(); ++i) {
      std::string text = DisplayText(i, column);
      SIZE size{};
      GetTextExtentPoint32(dc, text.c_str(), static_cast<int>(text.size()), &size);
      widest = std::max(widest, static_cast<int>(size.cx));
    }
  }
  ReleaseDC(hwnd_, dc);
  int padding = column == 0 ? 4 : 12;
  if (column == 0 && images_[LVSIL_SMALL]) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images_[LVSIL_SMALL], &cx, &cy);
    padding += cx + 2;
  }
  return widest + padding;
}

BOOL ListViewState::SetColumnWidth(int index, int width) {
  if (View() == LVS_LIST) {
    if (index != 0) return FALSE;
    listColumnWidth_ = width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER ? 0 : std::max(1, width);
    maxLabelWidth_ = -1;
    Relayout();
    return TRUE;
  }
  if (!Report() || index < 0 || index >= static_cast<int>(columns_.size())) return FALSE;
  if (width == LVSCW_AUTOSIZE) {
    width = ContentWidth(index);
  } else if (width == LVSCW_AUTOSIZE_USEHEADER) {
    width = std::max(TextWidth(columns_[static_cast<size_t>(index)].text.c_str()) + 12, ContentWidth(index));
    // The last column takes what is left of the client width.
    if (index == static_cast<int>(columns_.size()) - 1) {
      RECT area = ListArea();
      width = std::max(width, static_cast<int>(area.right) - ColumnLeft(index));
    }
  }
  columns_[static_cast<size_t>(index)].width = std::max(0, width);
  SyncHeaderItem(index, LVCF_WIDTH);
  Relayout();
  return TRUE;
}

int ListViewState::GetColumnWidth(int index) const {
  if (View() == LVS_LIST) return index == 0 ? listColumnWidth_ : 0;
  if (index < 0 || index >= static_cast<int>(columns_.size())) return 0;
  return columns_[static_cast<size_t>(index)].width;
}

LRESULT ListViewState::HeaderNotify(WPARAM wParam, NMHDR* nm) {
  // The header's notifications go on to the list's parent, which may refuse a change.
  HWND parent = ParentOf(hwnd_);
  LRESULT answer = parent ? SendMessage(parent, WM_NOTIFY, wParam, reinterpret_cast<LPARAM>(nm)) : 0;
  auto* hn = reinterpret_cast<NMHEADER*>(nm);
  switch (nm->code) {
    case HDN_ITEMCHANGED:
      if (hn->pitem && (hn->pitem->mask & HDI_WIDTH) && hn->iItem >= 0 && hn->iItem < static_cast<int>(columns_.size())) {
        columns_[static_cast<size_t>(hn->iItem)].width = hn->pitem->cxy;
        Relayout();
      }
      break;
    case HDN_ITEMCLICK:
      NotifyItem(LVN_COLUMNCLICK, -1, hn->iItem);
      break;
    case HDN_DIVIDERDBLCLICK:
      if (!answer) SetColumnWidth(hn->iItem, LVSCW_AUTOSIZE);
      break;
  }
  return answer;
}

// ---- messages

LRESULT ListViewState::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  hwnd_ = hwnd;
  style_ = StyleOf(hwnd);
  LRESULT painted;
  if (HandlePaint(hwnd, msg, wParam, [this](HDC hdc) { Paint(hdc); }, &painted)) return painted;
  int index = static_cast<int>(wParam);
  switch (msg) {
    case WM_CREATE: {
      DWORD headerStyle = WS_CHILD | HDS_HORZ | HDS_FULLDRAG | ((style_ & LVS_NOSORTHEADER) ? 0 : HDS_BUTTONS);
      header_ = CreateWindowEx(0, WC_HEADER, nullptr, headerStyle, 0, 0, 0, 0, hwnd, nullptr, nullptr, nullptr);
      if (header_) SendMessage(header_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
      Relayout();
      return 0;
    }
    case WM_NCDESTROY:
      if (!(style_ & LVS_SHAREIMAGELISTS))
        for (HIMAGELIST& list : images_)
          if (list) ImageList_Destroy(list);
      items_.clear();
      return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_DESTROY:
      KillTimer(hwnd, kEditLabelTimer);
      DeleteAll();
      return 0;
    case WM_SIZE:
      Relayout();
      return 0;
    case WM_STYLECHANGED:
      if (wParam == static_cast<WPARAM>(GWL_STYLE)) {
        auto* change = reinterpret_cast<const STYLESTRUCT*>(lParam);
        // A list is virtual or not from its creation on.
        style_ = (change->styleNew & ~LVS_OWNERDATA) | (style_ & LVS_OWNERDATA);
        if (header_) {
          DWORD hs = StyleOf(header_);
          hs = (style_ & LVS_NOSORTHEADER) ? (hs & ~HDS_BUTTONS) : (hs | HDS_BUTTONS);
          SetWindowLong(header_, GWL_STYLE, static_cast<LONG>(hs));
        }
        maxLabelWidth_ = -1;
        Relayout();
      }
      return 0;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      if (header_) SendMessage(header_, WM_SETFONT, wParam, lParam);
      maxLabelWidth_ = -1;
      Relayout();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETREDRAW:
      redraw_ = wParam != 0;
      if (redraw_) Relayout();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      focused_ = msg == WM_SETFOCUS;
      Redraw();
      {
        NMHDR nm{};
        Notify(focused_ ? NM_SETFOCUS : NM_KILLFOCUS, &nm);
      }
      return 0;
    case WM_ENABLE:
      Redraw();
      return 0;
    case WM_NOTIFY:
      if (header_ && lParam && reinterpret_cast<NMHDR*>(lParam)->hwndFrom == header_)
        return HeaderNotify(wParam, reinterpret_cast<NMHDR*>(lParam));
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      ButtonDown(msg, wParam, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_MOUSEMOVE:
      MouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_LBUTTONUP:
      ButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_RBUTTONDOWN:
      RightButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_RBUTTONUP:
      RightButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd) tracking_ = false;
      return 0;
    case WM_KEYDOWN:
      KeyDown(static_cast<UINT>(wParam));
      return 0;
    case WM_CHAR:
      if (wParam > ' ') Search(static_cast<char>(wParam));
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
      Scroll(msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
      return 0;
    case WM_MOUSEWHEEL: {
      int lines = -3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
      if (View() == LVS_LIST)
        SetFirstColumn(firstColumn_ + (lines > 0 ? 1 : -1));
      else
        ScrollBy(0, lines * RowHeight());
      return 0;
    }

    case LVM_GETITEMCOUNT:
      return Count();
    case LVM_INSERTITEMA:
      return Insert(reinterpret_cast<const LVITEM*>(lParam));
    case LVM_DELETEITEM:
      return Delete(index);
    case LVM_DELETEALLITEMS:
      return DeleteAll();
    case LVM_GETITEMA:
      return GetItem(reinterpret_cast<LVITEM*>(lParam));
    case LVM_SETITEMA:
      return SetItem(reinterpret_cast<const LVITEM*>(lParam));
    case LVM_GETITEMTEXTA:
      return GetItemText(index, reinterpret_cast<LVITEM*>(lParam));
    case LVM_SETITEMTEXTA: {
      auto* in = reinterpret_cast<const LVITEM*>(lParam);
      if (in == nullptr) return FALSE;
      LVITEM lv = *in;
      lv.mask = LVIF_TEXT;
      lv.iItem = index;
      return SetItem(&lv);
    }
    case LVM_SETITEMSTATE: {
      auto* in = reinterpret_cast<const LVITEM*>(lParam);
      if (in == nullptr) return FALSE;
      if (index == -1) {
        SetStateAll(in->state, in->stateMask);
        return TRUE;
      }
      return SetState(index, in->state, in->stateMask) ? TRUE : FALSE;
    }
    case LVM_GETITEMSTATE: {
      if (!Valid(index)) return 0;
      LVITEM lv{};
      lv.mask = LVIF_STATE;
      lv.iItem = index;
      lv.stateMask = static_cast<UINT>(lParam);
      GetItem(&lv);
      return lv.state;
    }
    case LVM_GETNEXTITEM:
      return NextItem(index, LOWORD(lParam));
    case LVM_FINDITEMA:
      return Find(index, reinterpret_cast<const LVFINDINFO*>(lParam));
    case LVM_SORTITEMS:
      return Sort(reinterpret_cast<PFNLVCOMPARE>(lParam), static_cast<LPARAM>(wParam));
    case LVM_GETSELECTEDCOUNT:
      return selectedCount_;
    case LVM_GETSELECTIONMARK:
      return mark_;
    case LVM_SETSELECTIONMARK: {
      int previous = mark_;
      mark_ = Valid(static_cast<int>(lParam)) ? static_cast<int>(lParam) : -1;
      return previous;
    }
    case LVM_SETITEMCOUNT:
      if (OwnerData()) return SetVirtualCount(index);
      items_.reserve(static_cast<size_t>(std::max(0, index)));
      return TRUE;
    case LVM_GETCALLBACKMASK:
      return callbackMask_;
    case LVM_SETCALLBACKMASK:
      callbackMask_ = static_cast<UINT>(wParam);
      return TRUE;
    case LVM_GETITEMRECT: {
      auto* r = reinterpret_cast<RECT*>(lParam);
      if (r == nullptr || !Valid(index)) return FALSE;
      *r = ItemRect(index, r->left);
      return TRUE;
    }
    case LVM_GETSUBITEMRECT: {
      auto* r = reinterpret_cast<RECT*>(lParam);
      if (r == nullptr || !Valid(index) || !Report()) return FALSE;
      if (r->top < 0 || r->top >= std::max(1, static_cast<int>(columns_.size()))) return FALSE;
      *r = SubItemRect(index, r->top, r->left);
      return TRUE;
    }
    case LVM_GETITEMPOSITION: {
      auto* p = reinterpret_cast<POINT*>(lParam);
      if (p == nullptr || !Valid(index)) return FALSE;
      RECT r = ItemRect(index, LVIR_BOUNDS);
      *p = POINT{r.left, r.top};
      return TRUE;
    }
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: {
      auto* hit = reinterpret_cast<LVHITTESTINFO*>(lParam);
      if (hit == nullptr) return -1;
      int sub = 0;
      hit->iItem = HitTest(hit->pt, &hit->flags, &sub, msg == LVM_SUBITEMHITTEST);
      // The sub-item is the column under the point, found with or without a row there, inside the
      // client area or beyond it; -1 for none.
      if (msg == LVM_SUBITEMHITTEST) hit->iSubItem = hit->iItem >= 0 ? sub : ColumnAt(hit->pt, true);
      return hit->iItem;
    }
    case LVM_ENSUREVISIBLE:
      if (!Valid(index)) return FALSE;
      EnsureVisible(index, lParam != 0);
      return TRUE;
    case LVM_SCROLL:
      ScrollBy(static_cast<int>(wParam), static_cast<int>(lParam));
      return TRUE;
    case LVM_GETTOPINDEX:
      return TopIndex();
    case LVM_GETCOUNTPERPAGE:
      return CountPerPage();
    case LVM_GETORIGIN: {
      auto* p = reinterpret_cast<POINT*>(lParam);
      if (p == nullptr || Report() || View() == LVS_LIST) return FALSE;
      *p = POINT{0, scrollY_};
      return TRUE;
    }
    case LVM_REDRAWITEMS:
      for (int i = std::max(0, index); i <= std::min(static_cast<int>(lParam), Count() - 1); ++i) InvalidateItem(i);
      return TRUE;
    case LVM_UPDATE:
      if (!Valid(index)) return FALSE;
      InvalidateItem(index);
      return TRUE;
    case LVM_ARRANGE:
      Relayout();
      return TRUE;
    case LVM_INSERTCOLUMNA:
      return InsertColumn(index, reinterpret_cast<const LVCOLUMN*>(lParam));
    case LVM_DELETECOLUMN:
      return DeleteColumn(index);
    case LVM_GETCOLUMNA:
      return GetColumn(index, reinterpret_cast<LVCOLUMN*>(lParam));
    case LVM_SETCOLUMNA:
      return SetColumn(index, reinterpret_cast<const LVCOLUMN*>(lParam));
    case LVM_SETCOLUMNWIDTH:
      return SetColumnWidth(index, static_cast<int>(static_cast<short>(LOWORD(lParam))));
    case LVM_GETCOLUMNWIDTH:
      return GetColumnWidth(index);
    case LVM_GETHEADER:
      return reinterpret_cast<LRESULT>(header_);
    case LVM_GETCOLUMNORDERARRAY:
    case LVM_SETCOLUMNORDERARRAY:
      return header_ ? SendMessage(header_, msg == LVM_GETCOLUMNORDERARRAY ? HDM_GETORDERARRAY : HDM_SETORDERARRAY,
                                   wParam, lParam)
                     : FALSE;
    case LVM_SETIMAGELIST:
      return reinterpret_cast<LRESULT>(SetImageList(index, reinterpret_cast<HIMAGELIST>(lParam)));
    case LVM_GETIMAGELIST:
      return (index >= LVSIL_NORMAL && index <= LVSIL_STATE) ? reinterpret_cast<LRESULT>(images_[index]) : 0;
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
      DWORD previous = exStyle_;
      DWORD mask = wParam ? static_cast<DWORD>(wParam) : ~0u;
      exStyle_ = (exStyle_ & ~mask) | (static_cast<DWORD>(lParam) & mask);
      // Check boxes turned on: the control makes a state image list of the two boxes drawn with
      // DrawFrameControl (image 1 unchecked, image 2 checked) where it has none, and the items
      // without a check state are unchecked.
      if ((exStyle_ & ~previous) & LVS_EX_CHECKBOXES) {
        if (!images_[LVSIL_STATE]) SetImageList(LVSIL_STATE, CheckBoxImages());
        for (auto& item : items_)
          if (!(item->state & LVIS_STATEIMAGEMASK)) item->state |= INDEXTOSTATEIMAGEMASK(1);
      }
      Relayout();
      return previous;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
      return exStyle_;
    case LVM_GETBKCOLOR:
      return bkColor_ == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : bkColor_;
    case LVM_SETBKCOLOR:
      bkColor_ = static_cast<COLORREF>(lParam);
      Redraw();
      return TRUE;
    case LVM_GETTEXTCOLOR:
      return textColor_ == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : textColor_;
    case LVM_SETTEXTCOLOR:
      textColor_ = static_cast<COLORREF>(lParam);
      Redraw();
      return TRUE;
    case LVM_GETTEXTBKCOLOR:
      return textBkColor_ == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : textBkColor_;
    case LVM_SETTEXTBKCOLOR:
      textBkColor_ = static_cast<COLORREF>(lParam);
      Redraw();
      return TRUE;
    case LVM_GETSTRINGWIDTHA:
      return lParam ? TextWidth(reinterpret_cast<LPCSTR>(lParam)) : 0;
    case LVM_SETICONSPACING: {
      SIZE previous = IconCell();
      iconSpacing_ = lParam == -1 ? SIZE{0, 0} : SIZE{LOWORD(lParam), HIWORD(lParam)};
      Relayout();
      return MAKELONG(previous.cx, previous.cy);
    }
    case LVM_GETITEMSPACING: {
      SIZE cell = wParam ? SIZE{ListCellWidth(), RowHeight()} : IconCell();
      return MAKELONG(cell.cx, cell.cy);
    }
    case LVM_GETEDITCONTROL:
      return reinterpret_cast<LRESULT>(edit_);
    case LVM_EDITLABELA:
      return reinterpret_cast<LRESULT>(EditLabel(index));
    case WM_TIMER:
      if (wParam == kEditLabelTimer) {
        KillTimer(hwnd, kEditLabelTimer);
        int armed = armedItem_;
        armedItem_ = -1;
        if (Valid(armed) && armed == focus_ && (style_ & LVS_EDITLABELS)) EditLabel(armed);
        return 0;
      }
      break;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

void RegisterListViewClass() {
  RegisterControlClass(WC_LISTVIEW, ControlProc<ListViewState>, CS_DBLCLKS, IDC_ARROW, -1);
}

}  // namespace brambolt::ctl
