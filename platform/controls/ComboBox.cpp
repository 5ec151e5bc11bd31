// The "ComboBox" class: simple (edit over a list), drop-down (edit and a dropped list) and
// drop-down list (selection field and a dropped list). The dropped list is a popup "ComboLBox":
// dropping it returns at once, and it closes on its own clicks, on focus loss or on keys.
#include <algorithm>

#include "controls/ComboInternal.h"
#include "controls/Controls.h"
#include "controls/ControlSupport.h"

namespace brambolt::ctl {
namespace {

constexpr int kEditId = 1001;
constexpr int kListId = 1000;

class ComboState {
 public:
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT EditMessage(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  DWORD Kind() const { return style_ & 3; }
  bool HasEdit() const { return Kind() == CBS_SIMPLE || Kind() == CBS_DROPDOWN; }
  bool DropsDown() const { return Kind() != CBS_SIMPLE; }
  bool OwnerDraw() const { return (style_ & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0; }

  void Create(const CREATESTRUCT& cs);
  void Layout();
  RECT ButtonRect() const;
  int Current() const { return static_cast<int>(SendMessage(list_, LB_GETCURSEL, 0, 0)); }
  std::string ItemText(int index) const;
  void ShowSelectionText();
  void SetEditText(const std::string& text);
  void Notify(UINT code) { NotifyParent(hwnd_, code); }
  // ---- size, font, text, focus, mouse and notifications (the message switch calls these)
  void FitField();
  void Resize();
  void SetFont(WPARAM font, LPARAM redraw);
  void Enable(bool on);
  LRESULT SetText(WPARAM wParam, LPARAM lParam);
  LRESULT CopyText(UINT msg, size_t size, LPSTR buffer) const;
  void Focus(bool gained);
  void ButtonDown(POINT p);
  void EditNotification(UINT code);
  void ListNotification(UINT code);

  // ---- list and field messages
  void ResetContent();
  LRESULT SelectString(WPARAM after, LPARAM text);
  void SetFieldItemHeight(int height);
  LRESULT DroppedWidth() const;
  RECT DroppedControlRect() const;
  int DroppedListHeight() const;

  void Drop(bool buttonDown);
  BOOL Info(COMBOBOXINFO* info) const;
  RECT ItemRect() const;
  void Close(bool accept, bool notifyEnd);
  bool Key(UINT vk, bool alt);
  void Paint(HDC hdc);

  HWND hwnd_ = nullptr;
  DWORD style_ = 0;
  HWND edit_ = nullptr;
  HWND list_ = nullptr;
  WNDPROC editProc_ = nullptr;
  HFONT font_ = nullptr;
  int fieldHeight_ = 20;
  int droppedHeight_ = 100;
  int droppedWidth_ = 0;
  bool dropped_ = false;
  bool extendedUi_ = false;
  bool focused_ = false;
  bool settingText_ = false;
  int selectionBeforeDrop_ = -1;
  int reported_ = -1;  // the selection CBN_SELCHANGE last told the parent of
};

ComboState* FromEdit(HWND edit) { return StateOf<ComboState>(GetParent(edit)); }

LRESULT CALLBACK ComboEditProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam) {
  ComboState* state = FromEdit(edit);
  if (state == nullptr) return DefWindowProc(edit, msg, wParam, lParam);
  return state->EditMessage(edit, msg, wParam, lParam);
}

std::string ComboState::ItemText(int index) const {
  if (index < 0) return {};
  LRESULT len = SendMessage(list_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (len == LB_ERR) return {};
  std::string s(static_cast<size_t>(len) + sizeof(ULONG_PTR) + 1, '\0');
  SendMessage(list_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
  s.resize(static_cast<size_t>(len));
  return s;
}

void ComboState::SetEditText(const std::string& text) {
  settingText_ = true;
  SetWindowText(edit_, text.c_str());
  settingText_ = false;
  SendMessage(edit_, EM_SETSEL, 0, -1);
}

void ComboState::ShowSelectionText() {
  if (HasEdit() && !((style_ & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) && !(style_ & CBS_HASSTRINGS)))
    SetEditText(ItemText(Current()));
  InvalidateRect(hwnd_, nullptr, TRUE);
}

RECT ComboState::ButtonRect() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  r.bottom = std::min<LONG>(r.bottom, fieldHeight_);
  InflateRect(&r, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
  r.left = std::max<LONG>(r.left, r.right - GetSystemMetrics(SM_CXVSCROLL));
  return r;
}

void ComboState::Create(const CREATESTRUCT& cs) {
  style_ = static_cast<DWORD>(cs.style);
  int lineHeight = LineHeight(font_);
  fieldHeight_ = lineHeight + 2 * GetSystemMetrics(SM_CYEDGE) + 4;
  droppedHeight_ = cs.cy;
  DWORD listStyle = LBS_COMBOBOX | LBS_NOTIFY | WS_VSCROLL;
  if (style_ & CBS_SORT) listStyle |= LBS_SORT;
  if (style_ & CBS_OWNERDRAWFIXED) listStyle |= LBS_OWNERDRAWFIXED;
  if (style_ & CBS_OWNERDRAWVARIABLE) listStyle |= LBS_OWNERDRAWVARIABLE;
  if (style_ & CBS_HASSTRINGS) listStyle |= LBS_HASSTRINGS;
  if (style_ & CBS_DISABLENOSCROLL) listStyle |= LBS_DISABLENOSCROLL;
  listStyle |= LBS_NOINTEGRALHEIGHT;
  if (DropsDown())
    list_ = CreateWindowEx(WS_EX_TOOLWINDOW, WC_COMBOLBOX, nullptr, WS_POPUP | WS_BORDER | listStyle, 0, 0, 10, 10,
                           hwnd_, nullptr, cs.hInstance, hwnd_);
  else
    list_ = CreateWindowEx(WS_EX_CLIENTEDGE, WC_COMBOLBOX, nullptr, WS_CHILD | WS_VISIBLE | listStyle, 0, 0, 10, 10,
                           hwnd_, reinterpret_cast<HMENU>(kListId), cs.hInstance, hwnd_);
  if (HasEdit()) {
    // Without CBS_AUTOHSCROLL the edit takes only the text that fits it.
    DWORD editStyle = WS_CHILD | WS_VISIBLE | ((style_ & CBS_AUTOHSCROLL) ? ES_AUTOHSCROLL : 0);
    if (style_ & CBS_UPPERCASE) editStyle |= ES_UPPERCASE;
    if (style_ & CBS_LOWERCASE) editStyle |= ES_LOWERCASE;
    edit_ = CreateWindowEx(0, WC_EDIT, nullptr, editStyle, 0, 0, 10, 10, hwnd_, reinterpret_cast<HMENU>(kEditId),
                           cs.hInstance, nullptr);
    editProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ComboEditProc)));
  }
  if (DropsDown())
    SetWindowPos(hwnd_, nullptr, 0, 0, cs.cx, fieldHeight_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
}

void ComboState::Layout() {
  RECT client;
  GetClientRect(hwnd_, &client);
  if (edit_) {
    RECT e = ItemRect();
    MoveWindow(edit_, e.left, e.top, std::max<int>(0, e.right - e.left), std::max<int>(0, e.bottom - e.top), TRUE);
  }
  if (!DropsDown() && list_)
    MoveWindow(list_, 0, fieldHeight_, client.right, std::max<int>(0, client.bottom - fieldHeight_), TRUE);
}

// The selection field or edit, inside the border and left of the button.
RECT ComboState::ItemRect() const {
  RECT client;
  GetClientRect(hwnd_, &client);
  const int edge = GetSystemMetrics(SM_CXEDGE);
  RECT r{edge + 1, edge + 1, client.right - edge - 1, fieldHeight_ - edge - 1};
  if (DropsDown()) r.right = ButtonRect().left - 1;
  return r;
}

BOOL ComboState::Info(COMBOBOXINFO* info) const {
  if (info == nullptr || info->cbSize != sizeof(COMBOBOXINFO)) return FALSE;
  info->rcButton = DropsDown() ? ButtonRect() : RECT{};
  info->rcItem = ItemRect();
  info->stateButton = !DropsDown() ? STATE_SYSTEM_INVISIBLE : dropped_ ? STATE_SYSTEM_PRESSED : 0;
  info->hwndCombo = hwnd_;
  info->hwndItem = edit_ ? edit_ : hwnd_;
  info->hwndList = list_;
  return TRUE;
}

void ComboState::Drop(bool buttonDown) {
  if (dropped_ || !DropsDown()) return;
  Notify(CBN_DROPDOWN);
  if (!IsWindow(hwnd_)) return;
  if (HasEdit()) {
    std::string text = TextOf(edit_);
    LRESULT found = SendMessage(list_, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    SendMessage(list_, LB_SETCURSEL, found == LB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(found), 0);
  }
  selectionBeforeDrop_ = reported_ = Current();
  RECT r;
  GetWindowRect(hwnd_, &r);
  int width = std::max<int>(droppedWidth_, r.right - r.left);
  int height = DroppedListHeight();
  int y = r.bottom;
  if (y + height > GetSystemMetrics(SM_CYSCREEN) && r.top - height >= 0) y = r.top - height;
  SetWindowPos(list_, HWND_TOPMOST, r.left, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  int current = Current();
  if (current >= 0) SendMessage(list_, LB_SETTOPINDEX, static_cast<WPARAM>(current), 0);
  dropped_ = true;
  InvalidateRect(hwnd_, nullptr, TRUE);
  SendMessage(list_, kComboListTrack, buttonDown ? 1 : 0, 0);
}

void ComboState::Close(bool accept, bool notifyEnd) {
  if (!dropped_) return;
  dropped_ = false;
  SendMessage(list_, kComboListStopTrack, 0, 0);
  ShowWindow(list_, SW_HIDE);
  InvalidateRect(hwnd_, nullptr, TRUE);
  int now = Current();
  if (!accept && now != selectionBeforeDrop_) {
    SendMessage(list_, LB_SETCURSEL, static_cast<WPARAM>(selectionBeforeDrop_), 0);
    now = selectionBeforeDrop_;
  }
  if (notifyEnd) Notify(accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
  Notify(CBN_CLOSEUP);
  if (accept && HasEdit() && now >= 0) ShowSelectionText();
  if (accept && now != reported_) {
    ShowSelectionText();
    reported_ = now;
    Notify(CBN_SELCHANGE);
  }
}

bool ComboState::Key(UINT vk, bool alt) {
  // F4 alone and Alt with an arrow drop the list; Alt+F4 is the window's to close.
  if (DropsDown() && ((vk == VK_F4 && !alt) || (alt && (vk == VK_DOWN || vk == VK_UP)))) {
    if (dropped_)
      Close(true, true);
    else
      Drop(false);
    return true;
  }
  if (dropped_ && (vk == VK_RETURN || vk == VK_ESCAPE)) {
    Close(vk == VK_RETURN, true);
    return true;
  }
  switch (vk) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
      if (extendedUi_ && !dropped_ && vk == VK_DOWN && DropsDown()) {
        Drop(false);
        return true;
      }
      SendMessage(list_, kComboListKey, vk, 0);
      return true;
    case VK_HOME:
    case VK_END:
      if (HasEdit()) return false;
      SendMessage(list_, kComboListKey, vk, 0);
      return true;
  }
  return false;
}

void ComboState::Paint(HDC hdc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  RECT field{0, 0, client.right, std::min<LONG>(client.bottom, fieldHeight_)};
  HBRUSH face = ParentBrush(hwnd_, hdc, WM_CTLCOLORSTATIC);
  FillRect(hdc, &client, face ? face : GetSysColorBrush(COLOR_3DFACE));
  DrawEdge(hdc, &field, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  bool enabled = Enabled(hwnd_);
  if (DropsDown()) {
    RECT button = ButtonRect();
    DrawFrameControl(hdc, &button, DFC_SCROLL,
                     DFCS_SCROLLCOMBOBOX | (dropped_ ? DFCS_PUSHED | DFCS_FLAT : 0) | (enabled ? 0 : DFCS_INACTIVE));
    field.right = button.left;
  }
  if (HasEdit()) return;
  HBRUSH back = ParentBrush(hwnd_, hdc, WM_CTLCOLOREDIT);
  FillRect(hdc, &field, back ? back : GetSysColorBrush(COLOR_WINDOW));
  RECT item = field;
  InflateRect(&item, -1, -1);
  bool highlight = focused_ && !dropped_;
  int current = Current();
  if (OwnerDraw()) {
    UINT state = ODS_COMBOBOXEDIT | (highlight ? ODS_SELECTED | ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED);
    ULONG_PTR data = current >= 0 ? static_cast<ULONG_PTR>(SendMessage(list_, LB_GETITEMDATA, static_cast<WPARAM>(current), 0)) : 0;
    SendDrawItem(hwnd_, ODT_COMBOBOX, static_cast<UINT>(current), ODA_DRAWENTIRE, state, hdc, item, data);
    return;
  }
  if (highlight) FillRect(hdc, &item, GetSysColorBrush(COLOR_HIGHLIGHT));
  std::string text = ItemText(current);
  FontSelection f(hdc, font_);
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, !enabled ? GetSysColor(COLOR_GRAYTEXT) : highlight ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetTextColor(hdc));
  RECT textRect = item;
  textRect.left += 2;
  DrawText(hdc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (highlight) DrawFocusRect(hdc, &item);
}

LRESULT ComboState::EditMessage(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_KEYDOWN:
      if (Key(static_cast<UINT>(wParam), false)) return 0;
      break;
    case WM_SYSKEYDOWN:
      if (Key(static_cast<UINT>(wParam), true)) return 0;
      break;
    case WM_CHAR:
      if (dropped_ && (wParam == '\r' || wParam == 0x1B)) return 0;
      break;
    case WM_GETDLGCODE: {
      LRESULT code = CallWindowProc(editProc_, edit, msg, wParam, lParam);
      auto* m = reinterpret_cast<LPMSG>(lParam);
      if (dropped_ && m && m->message == WM_KEYDOWN && (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
        code |= DLGC_WANTMESSAGE;
      return code;
    }
  }
  return CallWindowProc(editProc_, edit, msg, wParam, lParam);
}

// ---- size, font, text and focus

// A drop-down combo box is as high as its selection field; the height it is given is the height
// of the dropped list with the field.
void ComboState::FitField() {
  if (!DropsDown()) return;
  RECT r;
  GetWindowRect(hwnd_, &r);
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, fieldHeight_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ComboState::Resize() {
  RECT r;
  GetWindowRect(hwnd_, &r);
  int height = r.bottom - r.top;
  if (DropsDown() && height != fieldHeight_) {
    droppedHeight_ = height;
    FitField();
    return;
  }
  Layout();
}

void ComboState::SetFont(WPARAM font, LPARAM redraw) {
  font_ = reinterpret_cast<HFONT>(font);
  if (edit_) SendMessage(edit_, WM_SETFONT, font, redraw);
  SendMessage(list_, WM_SETFONT, font, redraw);
  fieldHeight_ = LineHeight(font_) + 2 * GetSystemMetrics(SM_CYEDGE) + 4;
  FitField();
  Layout();
  if (LOWORD(redraw)) InvalidateRect(hwnd_, nullptr, TRUE);
}

void ComboState::Enable(bool on) {
  if (edit_) EnableWindow(edit_, on ? TRUE : FALSE);
  EnableWindow(list_, on ? TRUE : FALSE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

// WM_SETTEXT: the edit's text. A drop-down list has no edit, and no text to set: it answers
// CB_ERR and keeps its selection (CB_SELECTSTRING selects by text).
LRESULT ComboState::SetText(WPARAM wParam, LPARAM lParam) {
  if (!HasEdit()) return CB_ERR;
  SetEditText(lParam ? reinterpret_cast<LPCSTR>(lParam) : "");
  DefWindowProc(hwnd_, WM_SETTEXT, wParam, lParam);
  return TRUE;
}

LRESULT ComboState::CopyText(UINT msg, size_t size, LPSTR buffer) const {
  std::string text = HasEdit() ? TextOf(edit_) : ItemText(Current());
  if (msg == WM_GETTEXTLENGTH) return static_cast<LRESULT>(text.size());
  return CopyTextOut(text, buffer, size);
}

// The focus of a combo box with an edit lives in the edit, which reports it (EditNotification).
void ComboState::Focus(bool gained) {
  if (edit_) {
    if (gained) {
      SetFocus(edit_);
      SendMessage(edit_, EM_SETSEL, 0, -1);
    }
    return;
  }
  if (!gained && dropped_) Close(false, true);
  focused_ = gained;
  InvalidateRect(hwnd_, nullptr, TRUE);
  Notify(gained ? CBN_SETFOCUS : CBN_KILLFOCUS);
}

// ---- mouse and the notifications of the edit and the list

void ComboState::ButtonDown(POINT p) {
  HWND focusTarget = edit_ ? edit_ : hwnd_;
  if (GetFocus() != focusTarget) SetFocus(focusTarget);
  if (!DropsDown()) return;
  RECT button = ButtonRect();
  if (Kind() == CBS_DROPDOWN && !PtInRect(&button, p)) return;
  if (dropped_)
    Close(false, true);
  else
    Drop(true);
}

void ComboState::EditNotification(UINT code) {
  switch (code) {
    case EN_CHANGE:
      if (!settingText_) Notify(CBN_EDITCHANGE);
      break;
    case EN_UPDATE:
      if (!settingText_) Notify(CBN_EDITUPDATE);
      break;
    case EN_SETFOCUS:
      if (!focused_) {
        focused_ = true;
        Notify(CBN_SETFOCUS);
      }
      break;
    case EN_KILLFOCUS: {
      HWND to = GetFocus();
      if (to == hwnd_ || to == list_) break;
      if (dropped_) Close(false, true);
      focused_ = false;
      Notify(CBN_KILLFOCUS);
      break;
    }
  }
}

void ComboState::ListNotification(UINT code) {
  if (code == LBN_SELCHANGE) {
    ShowSelectionText();
    reported_ = Current();
    // A simple combo box, whose list never closes, ends each selection as it makes it.
    if (!DropsDown()) Notify(CBN_SELENDOK);
    Notify(CBN_SELCHANGE);
  } else if (code == LBN_DBLCLK) {
    Notify(CBN_DBLCLK);
  }
}

// ---- list and field messages

void ComboState::ResetContent() {
  SendMessage(list_, LB_RESETCONTENT, 0, 0);
  if (edit_) SetEditText("");
  InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT ComboState::SelectString(WPARAM after, LPARAM text) {
  LRESULT found = SendMessage(list_, LB_FINDSTRING, after, text);
  if (found == LB_ERR) return CB_ERR;
  SendMessage(list_, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
  ShowSelectionText();
  return found;
}

// CB_SETITEMHEIGHT of -1: the selection field's height.
void ComboState::SetFieldItemHeight(int height) {
  fieldHeight_ = height + 2 * GetSystemMetrics(SM_CYEDGE) + 2;
  FitField();
  Layout();
}

// The dropped list is at least as wide as the combo box.
LRESULT ComboState::DroppedWidth() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  return std::max<LRESULT>(droppedWidth_, r.right - r.left);
}

RECT ComboState::DroppedControlRect() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  r.bottom = std::max<LONG>(r.bottom, r.top + droppedHeight_);
  return r;
}

// The dropped list is as tall as its items within the height the combo box was given less its
// field. It shows whole items of the list's item height unless CBS_NOINTEGRALHEIGHT (or items of
// their own heights).
int ComboState::DroppedListHeight() const {
  RECT window, client;
  GetWindowRect(list_, &window);
  GetClientRect(list_, &client);
  const int frame = (window.bottom - window.top) - client.bottom;
  const int item = std::max(1, static_cast<int>(SendMessage(list_, LB_GETITEMHEIGHT, 0, 0)));
  // What the height the combo box was given leaves below the field, in whole items; a combo box
  // given too little for one item drops an empty list.
  int inside = std::max(0, droppedHeight_ - fieldHeight_ - frame);
  if (!(style_ & (CBS_NOINTEGRALHEIGHT | CBS_OWNERDRAWVARIABLE))) inside -= inside % item;
  const int count = static_cast<int>(SendMessage(list_, LB_GETCOUNT, 0, 0));
  int items = 0;
  for (int i = 0; i < count && items < inside; ++i)
    items += (style_ & CBS_OWNERDRAWVARIABLE) ? static_cast<int>(SendMessage(list_, LB_GETITEMHEIGHT, i, 0)) : item;
  if (count > 0) inside = std::min(inside, items);
  return inside + frame;
}

LRESULT ComboState::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  hwnd_ = hwnd;
  style_ = StyleOf(hwnd);
  LRESULT painted;
  if (HandlePaint(hwnd, msg, wParam, [this](HDC hdc) { Paint(hdc); }, &painted)) return painted;
  switch (msg) {
    case WM_NCCREATE:
      // Scroll-bar styles are for the list; the combo box itself shows none.
      if (style_ & (WS_VSCROLL | WS_HSCROLL))
        SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG>(style_ & ~(WS_VSCROLL | WS_HSCROLL)));
      return DefWindowProc(hwnd, msg, wParam, lParam);
    case WM_CREATE:
      Create(*reinterpret_cast<CREATESTRUCT*>(lParam));
      return 0;
    case WM_DESTROY:
      if (list_ && IsWindow(list_)) DestroyWindow(list_);
      list_ = nullptr;
      return 0;
    case WM_SIZE:
      Resize();
      return 0;
    case WM_GETDLGCODE: {
      LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
      auto* m = reinterpret_cast<LPMSG>(lParam);
      if (dropped_ && m && m->message == WM_KEYDOWN && (m->wParam == VK_RETURN || m->wParam == VK_ESCAPE))
        code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_SETFONT:
      SetFont(wParam, lParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_ENABLE:
      Enable(wParam != 0);
      return 0;
    case WM_SETTEXT:
      return SetText(wParam, lParam);
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
      return CopyText(msg, static_cast<size_t>(wParam), reinterpret_cast<LPSTR>(lParam));
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Focus(msg == WM_SETFOCUS);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      ButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_KEYDOWN:
      Key(static_cast<UINT>(wParam), false);
      return 0;
    case WM_SYSKEYDOWN:
      if (Key(static_cast<UINT>(wParam), true)) return 0;
      break;
    case WM_CHAR:
      if (!HasEdit() && wParam >= 0x20) SendMessage(list_, WM_CHAR, wParam, lParam);
      return 0;
    case WM_MOUSEWHEEL:
      if (!dropped_) SendMessage(list_, kComboListKey, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? VK_UP : VK_DOWN, 0);
      return 0;
    case WM_COMMAND:
      if (edit_ && reinterpret_cast<HWND>(lParam) == edit_) EditNotification(HIWORD(wParam));
      if (reinterpret_cast<HWND>(lParam) == list_) ListNotification(HIWORD(wParam));
      return 0;
    case kComboListChosen:
      Close(true, true);
      return 0;
    case kComboListCancel:
      Close(false, true);
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      // The parts' colours are the parent's: what it answers is what the part paints with.
      if (HWND parent = ParentOf(hwnd)) return SendMessage(parent, msg, wParam, lParam);
      break;

    case CB_ADDSTRING:
      return SendMessage(list_, LB_ADDSTRING, 0, lParam);
    case CB_INSERTSTRING:
      return SendMessage(list_, LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING:
      return SendMessage(list_, LB_DELETESTRING, wParam, 0);
    case CB_RESETCONTENT:
      ResetContent();
      return CB_OKAY;
    case CB_GETCOUNT:
      return SendMessage(list_, LB_GETCOUNT, 0, 0);
    case CB_GETCURSEL:
      return Current();
    case CB_SETCURSEL: {
      LRESULT r = SendMessage(list_, LB_SETCURSEL, wParam, 0);
      ShowSelectionText();
      return r;
    }
    case CB_GETLBTEXT:
      return SendMessage(list_, LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN:
      return SendMessage(list_, LB_GETTEXTLEN, wParam, 0);
    case CB_FINDSTRING:
      return SendMessage(list_, LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT:
      return SendMessage(list_, LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_SELECTSTRING:
      return SelectString(wParam, lParam);
    case CB_GETITEMDATA:
      return SendMessage(list_, LB_GETITEMDATA, wParam, 0);
    case CB_SETITEMDATA:
      return SendMessage(list_, LB_SETITEMDATA, wParam, lParam);
    case CB_SETITEMHEIGHT:
      if (static_cast<int>(wParam) != -1) return SendMessage(list_, LB_SETITEMHEIGHT, wParam, lParam);
      SetFieldItemHeight(static_cast<int>(lParam));
      return CB_OKAY;
    case CB_GETITEMHEIGHT:
      if (static_cast<int>(wParam) == -1) return fieldHeight_ - 2 * GetSystemMetrics(SM_CYEDGE) - 2;
      return SendMessage(list_, LB_GETITEMHEIGHT, wParam, 0);
    case CB_SHOWDROPDOWN:
      if (wParam)
        Drop(false);
      else
        Close(true, false);
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return dropped_ ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT:
      *reinterpret_cast<RECT*>(lParam) = DroppedControlRect();
      return TRUE;
    case CB_LIMITTEXT:
      if (edit_) SendMessage(edit_, EM_LIMITTEXT, wParam, 0);
      return TRUE;
    case CB_GETEDITSEL:
      if (!edit_) return CB_ERR;
      return SendMessage(edit_, EM_GETSEL, wParam, lParam);
    case CB_SETEDITSEL:
      if (!edit_) return CB_ERR;
      SendMessage(edit_, EM_SETSEL, static_cast<WPARAM>(static_cast<short>(LOWORD(lParam))),
                  static_cast<short>(HIWORD(lParam)));
      return TRUE;
    case CB_SETEXTENDEDUI:
      extendedUi_ = wParam != 0;
      return CB_OKAY;
    case CB_GETEXTENDEDUI:
      return extendedUi_ ? TRUE : FALSE;
    case CB_GETTOPINDEX:
      return SendMessage(list_, LB_GETTOPINDEX, 0, 0);
    case CB_SETTOPINDEX:
      return SendMessage(list_, LB_SETTOPINDEX, wParam, 0);
    case CB_GETHORIZONTALEXTENT:
      return SendMessage(list_, LB_GETHORIZONTALEXTENT, 0, 0);
    case CB_SETHORIZONTALEXTENT:
      SendMessage(list_, LB_SETHORIZONTALEXTENT, wParam, 0);
      return 0;
    case CB_GETDROPPEDWIDTH:
      return DroppedWidth();
    case CB_SETDROPPEDWIDTH:
      if (!DropsDown()) return CB_ERR;
      droppedWidth_ = static_cast<int>(wParam);
      return DroppedWidth();
    case CB_GETCOMBOBOXINFO:
      return Info(reinterpret_cast<COMBOBOXINFO*>(lParam));
    case CB_INITSTORAGE:
      return SendMessage(list_, LB_INITSTORAGE, wParam, lParam);
    case CB_DIR:
      return CB_ERR;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterComboBoxClass() {
  RegisterControlClass(WC_COMBOBOX, ControlProc<ComboState>, CS_DBLCLKS, IDC_ARROW, -1);
}

}  // namespace brambolt::ctl

BOOL GetComboBoxInfo(HWND hwndCombo, PCOMBOBOXINFO pcbi) {
  return static_cast<BOOL>(SendMessage(hwndCombo, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(pcbi)));
}
