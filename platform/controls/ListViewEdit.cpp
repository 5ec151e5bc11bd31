// Label editing of the list-view control: an edit child over the label, asked for with
// LVN_BEGINLABELEDIT and ended with LVN_ENDLABELEDIT (Enter or leaving keeps, Escape cancels).
#include <vector>

#include "controls/CommonControls.h"
#include "controls/ListViewState.h"

namespace brambolt::ctl {
namespace {

constexpr int kMaxLabelLength = 259;

}  // namespace

// LVM_EDITLABEL: a new edit ends the one under way keeping its text; -1 cancels it.
HWND ListViewState::EditLabel(int index) {
  EndEdit(index != -1);
  if (!Valid(index)) return nullptr;
  if (GetFocus() != hwnd_) SetFocus(hwnd_);
  EnsureVisible(index, false);
  std::string text = DisplayText(index, 0);
  RECT r = ItemRect(index, LVIR_LABEL);
  if (View() == LVS_ICON) r.bottom = r.top + textHeight_ + 4;
  InflateRect(&r, 0, 1);
  // The edit exists before the parent is asked, so that it can reach it through LVM_GETEDITCONTROL.
  edit_ = CreateWindowEx(0, "Edit", text.c_str(), WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, r.left, r.top,
                         std::max(20, static_cast<int>(r.right - r.left)), r.bottom - r.top, hwnd_,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(1)), nullptr, nullptr);
  if (edit_ == nullptr) return nullptr;
  editItem_ = index;
  SendMessage(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  // A label holds at most 259 characters, what the label buffers of the notifications take.
  SendMessage(edit_, EM_LIMITTEXT, kMaxLabelLength, 0);
  NMLVDISPINFO di{};
  di.item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
  di.item.iItem = index;
  di.item.pszText = text.data();
  di.item.cchTextMax = static_cast<int>(text.size()) + 1;
  di.item.state = Item(index).state;
  di.item.lParam = Item(index).lParam;
  if (Notify(LVN_BEGINLABELEDIT, &di.hdr) || edit_ == nullptr) {
    if (edit_) DestroyWindow(edit_);
    edit_ = nullptr;
    editItem_ = -1;
    return nullptr;
  }
  WatchWindow(edit_, hwnd_, &ListViewState::WatchEdit);
  ShowWindow(edit_, SW_SHOW);
  SendMessage(edit_, EM_SETSEL, 0, -1);
  SetFocus(edit_);
  return edit_;
}

void ListViewState::EndEdit(bool save) {
  if (edit_ == nullptr || ending_) return;
  ending_ = true;
  HWND edit = edit_;
  int index = editItem_;
  std::string text = TextOf(edit);
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  NMLVDISPINFO di{};
  di.item.mask = LVIF_TEXT | LVIF_PARAM;
  di.item.iItem = index;
  di.item.pszText = save ? buffer.data() : nullptr;
  di.item.cchTextMax = static_cast<int>(buffer.size());
  di.item.lParam = Valid(index) ? Item(index).lParam : 0;
  // The parent answers TRUE to take the new text; a callback label is the parent's to store.
  bool keep = Notify(LVN_ENDLABELEDIT, &di.hdr) != 0;
  if (save && keep && Valid(index) && !Item(index).textCallback) {
    LVITEM item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = buffer.data();
    SetItem(&item);
  }
  edit_ = nullptr;
  editItem_ = -1;
  if (GetFocus() == edit) SetFocus(hwnd_);
  UnwatchWindow(edit, hwnd_);
  DestroyWindow(edit);
  ending_ = false;
}

bool ListViewState::WatchEdit(HWND watcher, HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT* result) {
  ListViewState* self = StateOf<ListViewState>(watcher);
  if (self == nullptr) return false;
  *result = 0;
  switch (msg) {
    case WM_GETDLGCODE:
      // Enter and Escape end the edit instead of pressing the dialog's buttons.
      *result = DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
      return true;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        self->EndEdit(wParam == VK_RETURN);
        return true;
      }
      return false;
    case WM_CHAR:
      return wParam == '\r' || wParam == 27;
    case WM_KILLFOCUS:
      self->EndEdit(true);
      return true;
  }
  return false;
}

}  // namespace brambolt::ctl
