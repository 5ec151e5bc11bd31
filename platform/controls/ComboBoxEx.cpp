// The "ComboBoxEx32" class: an owner-drawn combo box child whose items carry an image, a
// selected image, an indent and the application's value beside their text. The inner combo's
// notifications reach the parent under the extended combo's id.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "controls/ComboBoxEx.h"
#include "controls/CommCtrl.h"
#include "controls/CommonControls.h"
#include "controls/ControlSupport.h"
#include "gdi/ImageList.h"

namespace brambolt::ctl {
namespace {

constexpr int kIndentStep = 10;
constexpr int kImageGap = 4;

struct ExItem {
  int image = 0;
  int selectedImage = 0;
  int overlay = 0;
  int indent = 0;
  LPARAM lParam = 0;
};

class ComboExState {
 public:
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  DWORD Kind() const { return style_ & 3; }
  bool DropsDown() const { return Kind() != CBS_SIMPLE; }
  int Count() const { return static_cast<int>(items_.size()); }
  bool Valid(INT_PTR i) const { return i >= 0 && i < Count(); }
  HWND Edit() const { return combo_ ? FindWindowEx(combo_, nullptr, WC_EDIT, nullptr) : nullptr; }

  void Create(const CREATESTRUCT& cs);
  int ItemHeight() const;
  void FitItems();
  void FitToCombo();
  std::string Text(int index) const;
  LRESULT Insert(const COMBOBOXEXITEM& item);
  LRESULT Delete(int index);
  void ResetContent();
  BOOL GetItem(COMBOBOXEXITEM* item) const;
  BOOL SetItem(const COMBOBOXEXITEM& item);
  void Fill(COMBOBOXEXITEM* item, int index) const;
  LRESULT SendNotify(UINT code, NMHDR* header) const;
  void NotifyItem(UINT code, int index) const;
  void EndEdit(int why);
  void Draw(const DRAWITEMSTRUCT& dis) const;
  static bool WatchEdit(HWND watcher, HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

  HWND hwnd_ = nullptr;
  HWND combo_ = nullptr;
  DWORD style_ = 0;
  DWORD exStyle_ = 0;
  HIMAGELIST images_ = nullptr;
  HFONT font_ = nullptr;
  std::vector<ExItem> items_;
  int droppedHeight_ = 0;
  bool editChanged_ = false;
  bool sizing_ = false;
};

void ComboExState::Create(const CREATESTRUCT& cs) {
  style_ = static_cast<DWORD>(cs.style);
  droppedHeight_ = cs.cy;
  // The items are drawn here; the inner combo keeps their text, so that the edit, the prefix
  // search and CB_GETLBTEXT work as in any combo box.
  DWORD comboStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | Kind() | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS |
                     (style_ & (CBS_AUTOHSCROLL | CBS_NOINTEGRALHEIGHT | CBS_DISABLENOSCROLL | CBS_UPPERCASE |
                                CBS_LOWERCASE));
  combo_ = CreateWindowEx(0, WC_COMBOBOX, nullptr, comboStyle, 0, 0, cs.cx, cs.cy, hwnd_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(hwnd_))), cs.hInstance, nullptr);
  if (HWND edit = Edit()) WatchWindow(edit, hwnd_, &ComboExState::WatchEdit);
  FitToCombo();
}

int ComboExState::ItemHeight() const {
  int height = LineHeight(font_);
  int cx = 0, cy = 0;
  if (images_ && ImageList_GetIconSize(images_, &cx, &cy)) height = std::max(height, cy);
  return height + 2;
}

void ComboExState::FitItems() {
  if (!combo_) return;
  SendMessage(combo_, CB_SETITEMHEIGHT, 0, ItemHeight());
  if (Kind() == CBS_DROPDOWNLIST) SendMessage(combo_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), ItemHeight());
  FitToCombo();
  InvalidateRect(combo_, nullptr, TRUE);
}

void ComboExState::FitToCombo() {
  if (!combo_ || !DropsDown() || sizing_) return;
  // A dropping combo box decides its own height (that of its field); this window wraps it.
  RECT ours, inner;
  GetWindowRect(hwnd_, &ours);
  GetWindowRect(combo_, &inner);
  sizing_ = true;
  SetWindowPos(hwnd_, nullptr, 0, 0, ours.right - ours.left, inner.bottom - inner.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  sizing_ = false;
}

std::string ComboExState::Text(int index) const {
  LRESULT length = SendMessage(combo_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessage(combo_, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

LRESULT ComboExState::SendNotify(UINT code, NMHDR* header) const { return ctl::SendNotify(hwnd_, code, header); }

void ComboExState::Fill(COMBOBOXEXITEM* item, int index) const {
  const ExItem& source = items_[static_cast<size_t>(index)];
  if (item->mask & CBEIF_IMAGE) item->iImage = source.image;
  if (item->mask & CBEIF_SELECTEDIMAGE) item->iSelectedImage = source.selectedImage;
  if (item->mask & CBEIF_OVERLAY) item->iOverlay = source.overlay;
  if (item->mask & CBEIF_INDENT) item->iIndent = source.indent;
  if (item->mask & CBEIF_LPARAM) item->lParam = source.lParam;
}

void ComboExState::NotifyItem(UINT code, int index) const {
  NMCOMBOBOXEX nm{};
  nm.ceItem.mask = CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_OVERLAY | CBEIF_INDENT | CBEIF_LPARAM;
  nm.ceItem.iItem = index;
  Fill(&nm.ceItem, index);
  std::string text = Text(index);
  nm.ceItem.mask |= CBEIF_TEXT;
  nm.ceItem.pszText = text.data();
  nm.ceItem.cchTextMax = static_cast<int>(text.size()) + 1;
  SendNotify(code, &nm.hdr);
}

LRESULT ComboExState::Insert(const COMBOBOXEXITEM& item) {
  if (item.iItem < -1 || item.iItem > Count()) return -1;
  bool textGiven = (item.mask & CBEIF_TEXT) && item.pszText != nullptr && item.pszText != LPSTR_TEXTCALLBACK;
  LRESULT index = SendMessage(combo_, CB_INSERTSTRING, static_cast<WPARAM>(item.iItem),
                              reinterpret_cast<LPARAM>(textGiven ? item.pszText : ""));
  if (index < 0) return -1;
  ExItem stored;
  if (item.mask & CBEIF_IMAGE) stored.image = item.iImage;
  if (item.mask & CBEIF_SELECTEDIMAGE) stored.selectedImage = item.iSelectedImage;
  if (item.mask & CBEIF_OVERLAY) stored.overlay = item.iOverlay;
  if (item.mask & CBEIF_INDENT) stored.indent = item.iIndent;
  if (item.mask & CBEIF_LPARAM) stored.lParam = item.lParam;
  items_.insert(items_.begin() + index, stored);
  NotifyItem(CBEN_INSERTITEM, static_cast<int>(index));
  return index;
}

LRESULT ComboExState::Delete(int index) {
  if (!Valid(index)) return CB_ERR;
  NotifyItem(CBEN_DELETEITEM, index);
  SendMessage(combo_, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
  items_.erase(items_.begin() + index);
  return Count();
}

void ComboExState::ResetContent() {
  for (int i = 0; i < Count(); ++i) NotifyItem(CBEN_DELETEITEM, i);
  SendMessage(combo_, CB_RESETCONTENT, 0, 0);
  items_.clear();
}

BOOL ComboExState::GetItem(COMBOBOXEXITEM* item) const {
  if (item == nullptr) return FALSE;
  // Item -1 is what the field shows: the edit's text, or the selection.
  int index = item->iItem == -1 ? static_cast<int>(SendMessage(combo_, CB_GETCURSEL, 0, 0)) : static_cast<int>(item->iItem);
  HWND edit = Edit();
  if (item->iItem != -1 && !Valid(index)) return FALSE;
  if (item->iItem == -1 && !edit && !Valid(index)) return FALSE;
  if ((item->mask & CBEIF_TEXT) && item->pszText != nullptr && item->cchTextMax > 0) {
    std::string text = (item->iItem == -1 && edit) ? TextOf(edit) : Text(index);
    size_t room = static_cast<size_t>(item->cchTextMax) - 1;
    size_t n = std::min(room, text.size());
    std::memcpy(item->pszText, text.data(), n);
    item->pszText[n] = '\0';
  }
  if (Valid(index)) Fill(item, index);
  return TRUE;
}

BOOL ComboExState::SetItem(const COMBOBOXEXITEM& item) {
  HWND edit = Edit();
  if (item.iItem == -1) {
    if (!edit || !(item.mask & CBEIF_TEXT) || item.pszText == nullptr) return FALSE;
    SetWindowText(edit, item.pszText);
    return TRUE;
  }
  if (!Valid(item.iItem)) return FALSE;
  auto index = static_cast<int>(item.iItem);
  ExItem& stored = items_[static_cast<size_t>(index)];
  if (item.mask & CBEIF_IMAGE) stored.image = item.iImage;
  if (item.mask & CBEIF_SELECTEDIMAGE) stored.selectedImage = item.iSelectedImage;
  if (item.mask & CBEIF_OVERLAY) stored.overlay = item.iOverlay;
  if (item.mask & CBEIF_INDENT) stored.indent = item.iIndent;
  if (item.mask & CBEIF_LPARAM) stored.lParam = item.lParam;
  if ((item.mask & CBEIF_TEXT) && item.pszText != nullptr && item.pszText != LPSTR_TEXTCALLBACK) {
    // The inner combo cannot rename an item: it is replaced, keeping the selection.
    auto selected = static_cast<int>(SendMessage(combo_, CB_GETCURSEL, 0, 0));
    SendMessage(combo_, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessage(combo_, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item.pszText));
    if (selected == index) SendMessage(combo_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  InvalidateRect(combo_, nullptr, TRUE);
  return TRUE;
}

void ComboExState::EndEdit(int why) {
  HWND edit = Edit();
  if (!edit) return;
  NMCBEENDEDIT nm{};
  nm.fChanged = editChanged_ ? TRUE : FALSE;
  nm.iNewSelection = static_cast<int>(SendMessage(combo_, CB_GETCURSEL, 0, 0));
  GetWindowText(edit, nm.szText, CBEMAXSTRLEN);
  nm.iWhy = why;
  editChanged_ = false;
  SendNotify(CBEN_ENDEDIT, &nm.hdr);
}

bool ComboExState::WatchEdit(HWND watcher, HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT*) {
  if (msg != WM_KEYDOWN || (wParam != VK_RETURN && wParam != VK_ESCAPE)) return false;
  ComboExState* state = StateOf<ComboExState>(watcher);
  if (state && state->editChanged_ && !SendMessage(state->combo_, CB_GETDROPPEDSTATE, 0, 0))
    state->EndEdit(wParam == VK_RETURN ? CBENF_RETURN : CBENF_ESCAPE);
  return false;
}

void ComboExState::Draw(const DRAWITEMSTRUCT& dis) const {
  HDC hdc = dis.hDC;
  RECT r = dis.rcItem;
  auto index = static_cast<int>(dis.itemID);
  bool selected = (dis.itemState & ODS_SELECTED) != 0;
  bool disabled = (dis.itemState & ODS_DISABLED) != 0;
  FillRect(hdc, &r, GetSysColorBrush(selected && !disabled ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (!Valid(index)) return;
  const ExItem& item = items_[static_cast<size_t>(index)];
  int x = r.left + 2;
  if (!(dis.itemState & ODS_COMBOBOXEDIT)) x += item.indent * kIndentStep;
  int cx = 0, cy = 0;
  if (images_ && ImageList_GetIconSize(images_, &cx, &cy)) {
    int image = selected ? item.selectedImage : item.image;
    if (image >= 0) {
      UINT overlay = item.overlay > 0 ? INDEXTOOVERLAYMASK(item.overlay) : 0;
      ImageList_Draw(images_, image, hdc, x, (r.top + r.bottom - cy) / 2, ILD_NORMAL | overlay);
    }
    x += cx + kImageGap;
  }
  std::string text = Text(index);
  FontSelection font(hdc, font_);
  COLORREF oldText = SetTextColor(
      hdc, GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  int oldMode = SetBkMode(hdc, TRANSPARENT);
  RECT textRect{x, r.top, r.right, r.bottom};
  DrawText(hdc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SetBkMode(hdc, oldMode);
  SetTextColor(hdc, oldText);
  if (dis.itemState & ODS_FOCUS) DrawFocusRect(hdc, &r);
}

LRESULT ComboExState::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  hwnd_ = hwnd;
  switch (msg) {
    case WM_CREATE:
      Create(*reinterpret_cast<CREATESTRUCT*>(lParam));
      return combo_ ? 0 : -1;
    case WM_SIZE: {
      if (!combo_ || sizing_) return 0;
      RECT r;
      GetWindowRect(hwnd, &r);
      RECT inner;
      GetWindowRect(combo_, &inner);
      // As for a combo box, the height asked of a dropping one is its dropped height.
      if (DropsDown() && r.bottom - r.top != inner.bottom - inner.top) droppedHeight_ = r.bottom - r.top;
      MoveWindow(combo_, 0, 0, LOWORD(lParam), DropsDown() ? droppedHeight_ : HIWORD(lParam), TRUE);
      FitToCombo();
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      SendMessage(combo_, WM_SETFONT, wParam, lParam);
      FitItems();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETFOCUS:
      SetFocus(Edit() ? Edit() : combo_);
      return 0;
    case WM_ENABLE:
      EnableWindow(combo_, static_cast<BOOL>(wParam));
      return 0;
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      return combo_ ? SendMessage(combo_, msg, wParam, lParam) : DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      mis->itemHeight = static_cast<UINT>(ItemHeight());
      return TRUE;
    }
    case WM_DRAWITEM:
      Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_DELETEITEM:
      return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC: {
      HWND parent = ParentOf(hwnd);
      return parent ? SendMessage(parent, msg, wParam, lParam) : DefWindowProc(hwnd, msg, wParam, lParam);
    }
    case WM_COMMAND: {
      if (reinterpret_cast<HWND>(lParam) != combo_ || combo_ == nullptr) return 0;
      UINT code = HIWORD(wParam);
      if (code == CBN_EDITCHANGE) editChanged_ = true;
      if (code == CBN_SETFOCUS && Edit()) {
        NMHDR nm{};
        SendNotify(CBEN_BEGINEDIT, &nm);
      }
      if (code == CBN_KILLFOCUS && editChanged_) EndEdit(CBENF_KILLFOCUS);
      NotifyParent(hwnd, code);
      return 0;
    }

    case CBEM_INSERTITEM:
      return lParam ? Insert(*reinterpret_cast<const COMBOBOXEXITEM*>(lParam)) : -1;
    case CBEM_DELETEITEM:
      return Delete(static_cast<int>(wParam));
    case CBEM_GETITEM:
      return GetItem(reinterpret_cast<COMBOBOXEXITEM*>(lParam));
    case CBEM_SETITEM:
      return lParam ? SetItem(*reinterpret_cast<const COMBOBOXEXITEM*>(lParam)) : FALSE;
    case CBEM_SETIMAGELIST: {
      HIMAGELIST old = images_;
      images_ = reinterpret_cast<HIMAGELIST>(lParam);
      FitItems();
      return reinterpret_cast<LRESULT>(old);
    }
    case CBEM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(images_);
    case CBEM_GETCOMBOCONTROL:
      return reinterpret_cast<LRESULT>(combo_);
    case CBEM_GETEDITCONTROL:
      return reinterpret_cast<LRESULT>(Edit());
    case CBEM_SETEXSTYLE:
    case CBEM_SETEXTENDEDSTYLE: {
      DWORD old = exStyle_;
      DWORD mask = (msg == CBEM_SETEXTENDEDSTYLE && wParam != 0) ? static_cast<DWORD>(wParam) : 0xFFFFFFFFu;
      exStyle_ = (exStyle_ & ~mask) | (static_cast<DWORD>(lParam) & mask);
      InvalidateRect(combo_, nullptr, TRUE);
      return old;
    }
    case CBEM_GETEXTENDEDSTYLE:
      return exStyle_;
    case CBEM_HASEDITCHANGED:
      return editChanged_ ? TRUE : FALSE;
    case CB_ADDSTRING:
    case CB_INSERTSTRING: {
      COMBOBOXEXITEM item{};
      item.mask = CBEIF_TEXT;
      item.iItem = msg == CB_ADDSTRING ? -1 : static_cast<int>(wParam);
      item.pszText = reinterpret_cast<LPSTR>(lParam);
      return Insert(item);
    }
    case CB_RESETCONTENT:
      ResetContent();
      return CB_OKAY;
    case CB_GETITEMDATA:
      return Valid(static_cast<int>(wParam)) ? items_[wParam].lParam : CB_ERR;
    case CB_SETITEMDATA:
      if (!Valid(static_cast<int>(wParam))) return CB_ERR;
      items_[wParam].lParam = lParam;
      return TRUE;
    case CB_DIR:
      return CB_ERR;
  }
  // The rest of the combo box messages are the inner combo's.
  if (msg >= CB_GETEDITSEL && msg <= CB_INITSTORAGE && combo_) return SendMessage(combo_, msg, wParam, lParam);
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterComboBoxExClass() { RegisterControlClass(WC_COMBOBOXEX, ControlProc<ComboExState>, 0, IDC_ARROW, -1); }

}  // namespace brambolt::ctl
