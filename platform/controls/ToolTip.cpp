// The tooltip control ("tooltips_class32"): tools (a window, or a rectangle of one) with texts or
// text callbacks; relayed or watched mouse messages start the initial delay, the tip pops up as a
// topmost popup near the cursor, and hides after the auto-pop delay or when the mouse leaves.
#include <algorithm>
#include <cstring>
#include <vector>

#include "controls/CommCtrl.h"
#include "controls/CommonControls.h"
#include "controls/ControlSupport.h"
#include "res/Resources.h"

namespace brambolt::ctl {
namespace {

constexpr UINT_PTR kShowTimer = 1, kPopTimer = 2, kLeaveTimer = 3;
constexpr UINT kLeaveCheckMs = 100;

struct Tool {
  UINT flags = 0;
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  RECT rect{};
  HINSTANCE instance = nullptr;
  bool callback = false;
  std::string text;
  LPARAM lParam = 0;

  // The window whose mouse this tool watches.
  HWND Window() const { return (flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(id) : hwnd; }
};

bool WatchTool(HWND tip, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

class ToolTipState {
 public:
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  Tool* Find(const TOOLINFO* info);
  Tool* ToolAt(HWND window, POINT client);
  BOOL AddTool(HWND tip, const TOOLINFO* info);
  void DelTool(HWND tip, const TOOLINFO* info);
  void SetText(Tool& tool, HINSTANCE instance, LPSTR text);
  void Fill(const Tool& tool, TOOLINFO* info) const;
  std::string TextOf(HWND tip, Tool& tool);
  void Relay(HWND tip, const MSG& msg);
  void Show(HWND tip);
  void Hide(HWND tip);
  void Paint(HWND tip, HDC hdc);
  SIZE TipSize(HWND tip, const std::string& text);
  bool OwnerActive(HWND tip, const Tool& tool) const;
  size_t Index(const Tool* tool) const { return static_cast<size_t>(tool - tools_.data()); }

  std::vector<Tool> tools_;
  HFONT font_ = nullptr;
  bool active_ = true;
  int current_ = -1;  // the tool under the mouse
  bool showing_ = false;
  bool clicked_ = false;  // a click hid the tip until the mouse leaves the tool
  DWORD hiddenAt_ = 0;    // when a tip last hid, for the reshow delay
  bool everShown_ = false;
  std::string shownText_;
  int initial_ = -1, autopop_ = -1, reshow_ = -1;  // -1: derived from the double-click time
  int maxWidth_ = -1;
  RECT margin_{};
  COLORREF background_ = CLR_DEFAULT, foreground_ = CLR_DEFAULT;
  bool tracking_ = false;
  POINT trackAt_{};

 public:
  UINT Delay(int which) const;
};

UINT ToolTipState::Delay(int which) const {
  UINT base = GetDoubleClickTime();
  switch (which) {
    case TTDT_INITIAL: return initial_ >= 0 ? static_cast<UINT>(initial_) : base;
    case TTDT_AUTOPOP: return autopop_ >= 0 ? static_cast<UINT>(autopop_) : base * 10;
    case TTDT_RESHOW: return reshow_ >= 0 ? static_cast<UINT>(reshow_) : base / 5;
  }
  return 0;
}

Tool* ToolTipState::Find(const TOOLINFO* info) {
  if (info == nullptr) return nullptr;
  for (Tool& t : tools_)
    if (t.hwnd == info->hwnd && t.id == info->uId) return &t;
  return nullptr;
}

Tool* ToolTipState::ToolAt(HWND window, POINT client) {
  for (Tool& t : tools_) {
    if (t.flags & TTF_TRACK) continue;
    if ((t.flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(t.id) == window
                                 : t.hwnd == window && PtInRect(&t.rect, client))
      return &t;
  }
  return nullptr;
}

void ToolTipState::SetText(Tool& tool, HINSTANCE instance, LPSTR text) {
  tool.callback = text == LPSTR_TEXTCALLBACK;
  tool.text.clear();
  if (tool.callback || text == nullptr) return;
  if (IS_INTRESOURCE(text)) {
    char buffer[1024];
    int n = LoadString(instance, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text)), buffer, sizeof(buffer));
    tool.text.assign(buffer, static_cast<size_t>(std::max(n, 0)));
  } else {
    tool.text = text;
  }
}

BOOL ToolTipState::AddTool(HWND tip, const TOOLINFO* info) {
  if (info == nullptr || info->cbSize < TTTOOLINFOA_V1_SIZE) return FALSE;
  if (Find(info)) return FALSE;
  Tool t;
  t.flags = info->uFlags;
  t.hwnd = info->hwnd;
  t.id = info->uId;
  t.rect = info->rect;
  t.instance = info->hinst;
  if (info->cbSize >= TTTOOLINFOA_V2_SIZE) t.lParam = info->lParam;
  SetText(t, info->hinst, info->lpszText);
  tools_.push_back(std::move(t));
  const Tool& added = tools_.back();
  if ((added.flags & TTF_SUBCLASS) && added.Window()) WatchWindow(added.Window(), tip, WatchTool);
  return TRUE;
}

void ToolTipState::DelTool(HWND tip, const TOOLINFO* info) {
  Tool* t = Find(info);
  if (t == nullptr) return;
  size_t index = Index(t);
  if (static_cast<int>(index) == current_) {
    Hide(tip);
    current_ = -1;
  } else if (current_ > static_cast<int>(index)) {
    --current_;
  }
  HWND window = t->Window();
  bool subclassed = (t->flags & TTF_SUBCLASS) != 0;
  tools_.erase(tools_.begin() + static_cast<std::ptrdiff_t>(index));
  bool stillWatched = std::any_of(tools_.begin(), tools_.end(),
                                  [&](const Tool& o) { return (o.flags & TTF_SUBCLASS) && o.Window() == window; });
  if (subclassed && !stillWatched) UnwatchWindow(window, tip);
}

void ToolTipState::Fill(const Tool& tool, TOOLINFO* info) const {
  info->uFlags = tool.flags;
  info->hwnd = tool.hwnd;
  info->uId = tool.id;
  info->rect = tool.rect;
  info->hinst = tool.instance;
  if (info->cbSize >= TTTOOLINFOA_V2_SIZE) info->lParam = tool.lParam;
  if (tool.callback) {
    info->lpszText = LPSTR_TEXTCALLBACK;
  } else if (info->lpszText != nullptr && info->lpszText != LPSTR_TEXTCALLBACK && !IS_INTRESOURCE(info->lpszText)) {
    // The caller's buffer is assumed to hold 80 characters, as the message has always done.
    size_t n = std::min<size_t>(tool.text.size(), 79);
    std::memcpy(info->lpszText, tool.text.data(), n);
    info->lpszText[n] = '\0';
  }
}

std::string ToolTipState::TextOf(HWND tip, Tool& tool) {
  if (!tool.callback) return tool.text;
  NMTTDISPINFO di{};
  di.hdr.hwndFrom = tip;
  di.hdr.idFrom = tool.id;
  di.hdr.code = TTN_GETDISPINFO;
  di.lpszText = di.szText;
  di.hinst = tool.instance;
  di.uFlags = tool.flags;
  di.lParam = tool.lParam;
  HWND owner = tool.hwnd ? tool.hwnd : GetWindow(tip, GW_OWNER);
  if (owner) SendMessage(owner, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&di));
  std::string text;
  if (di.lpszText == nullptr || di.lpszText == LPSTR_TEXTCALLBACK) {
    text.clear();
  } else if (IS_INTRESOURCE(di.lpszText)) {
    if (di.hinst) {
      char buffer[1024];
      int n = LoadString(di.hinst, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(di.lpszText)), buffer,
                         sizeof(buffer));
      text.assign(buffer, static_cast<size_t>(std::max(n, 0)));
    }
  } else if (di.lpszText == di.szText) {
    text.assign(di.szText, strnlen(di.szText, sizeof(di.szText)));
  } else {
    text = di.lpszText;
  }
  if (di.uFlags & TTF_DI_SETITEM) {
    tool.callback = false;
    tool.text = text;
  }
  return text;
}

bool ToolTipState::OwnerActive(HWND tip, const Tool& tool) const {
  HWND window = tool.Window();
  if (window == nullptr) return false;
  // A modal window over the tool's window disables it: no tip then, whatever the style.
  if (!IsWindowEnabled(GetAncestor(window, GA_ROOT))) return false;
  if (StyleOf(tip) & TTS_ALWAYSTIP) return true;
  HWND active = GetActiveWindow();
  return active != nullptr && (GetAncestor(window, GA_ROOT) == active || GetAncestor(window, GA_ROOTOWNER) == active);
}

void ToolTipState::Relay(HWND tip, const MSG& msg) {
  if (!active_ || tracking_) return;
  switch (msg.message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      // A click puts the tip away until the mouse moves to another tool.
      if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_MBUTTONDOWN) {
        Hide(tip);
        KillTimer(tip, kShowTimer);
        clicked_ = current_ >= 0;
      }
      return;
    case WM_MOUSEMOVE:
      break;
    default:
      return;
  }
  POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
  Tool* tool = ToolAt(msg.hwnd, p);
  int index = tool ? static_cast<int>(Index(tool)) : -1;
  if (index == current_) return;
  bool wasShowing = showing_;
  Hide(tip);
  KillTimer(tip, kShowTimer);
  current_ = index;
  clicked_ = false;
  if (tool == nullptr || !OwnerActive(tip, *tool)) {
    KillTimer(tip, kLeaveTimer);
    return;
  }
  // Moving straight from one tip to the next waits only the short reshow delay.
  bool recent = wasShowing || (everShown_ && GetTickCount() - hiddenAt_ < Delay(TTDT_RESHOW));
  SetTimer(tip, kShowTimer, recent ? Delay(TTDT_RESHOW) : Delay(TTDT_INITIAL), nullptr);
  SetTimer(tip, kLeaveTimer, kLeaveCheckMs, nullptr);
}

SIZE ToolTipState::TipSize(HWND tip, const std::string& text) {
  HDC dc = GetDC(tip);
  RECT r{0, 0, maxWidth_ > 0 ? maxWidth_ : 0x7FFF, 0};
  {
    FontSelection font(dc, font_);
    UINT format = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (maxWidth_ > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
  }
  ReleaseDC(tip, dc);
  // One pixel of border and three of padding on each side, plus the margins asked for.
  return SIZE{r.right + 8 + margin_.left + margin_.right, r.bottom + 8 + margin_.top + margin_.bottom};
}

void ToolTipState::Show(HWND tip) {
  KillTimer(tip, kShowTimer);
  if (current_ < 0 || current_ >= static_cast<int>(tools_.size())) return;
  Tool& tool = tools_[static_cast<size_t>(current_)];
  if (!tracking_ && !OwnerActive(tip, tool)) return;
  std::string text = TextOf(tip, tool);
  if (text.empty() || current_ < 0) return;
  shownText_ = text;
  SetWindowText(tip, text.c_str());
  SIZE size = TipSize(tip, text);
  POINT at;
  if (tracking_) {
    at = trackAt_;
  } else if (tool.flags & TTF_CENTERTIP) {
    RECT r = tool.rect;
    if (tool.flags & TTF_IDISHWND) GetClientRect(tool.Window(), &r);
    MapWindowPoints(tool.Window(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    at = POINT{(r.left + r.right - size.cx) / 2, r.bottom + 2};
  } else {
    GetCursorPos(&at);
    at.y += GetSystemMetrics(SM_CYCURSOR) * 3 / 4;
  }
  // Keep the tip on the screen.
  int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  at.x = std::max(0, std::min(static_cast<int>(at.x), screenW - size.cx));
  if (at.y + size.cy > screenH) at.y = std::max(0, static_cast<int>(at.y) - size.cy - GetSystemMetrics(SM_CYCURSOR));
  NMHDR nm{tip, tool.id, TTN_SHOW};
  if (tool.hwnd) SendMessage(tool.hwnd, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&nm));
  SetWindowPos(tip, HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(tip, nullptr, TRUE);
  showing_ = true;
  everShown_ = true;
  if (!tracking_) SetTimer(tip, kPopTimer, Delay(TTDT_AUTOPOP), nullptr);
}

void ToolTipState::Hide(HWND tip) {
  KillTimer(tip, kPopTimer);
  if (!showing_) return;
  showing_ = false;
  hiddenAt_ = GetTickCount();
  ShowWindow(tip, SW_HIDE);
  if (current_ >= 0 && current_ < static_cast<int>(tools_.size())) {
    const Tool& tool = tools_[static_cast<size_t>(current_)];
    NMHDR nm{tip, tool.id, TTN_POP};
    if (tool.hwnd) SendMessage(tool.hwnd, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&nm));
  }
}

void ToolTipState::Paint(HWND tip, HDC hdc) {
  RECT r;
  GetClientRect(tip, &r);
  COLORREF back = background_ == CLR_DEFAULT ? GetSysColor(COLOR_INFOBK) : background_;
  HBRUSH brush = CreateSolidBrush(back);
  FillRect(hdc, &r, brush);
  DeleteObject(brush);
  FrameRect(hdc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
  FontSelection font(hdc, font_);
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, foreground_ == CLR_DEFAULT ? GetSysColor(COLOR_INFOTEXT) : foreground_);
  RECT text{r.left + 4 + margin_.left, r.top + 4 + margin_.top, r.right - 4 - margin_.right,
            r.bottom - 4 - margin_.bottom};
  UINT format = DT_NOPREFIX | DT_EXPANDTABS | (maxWidth_ > 0 ? DT_WORDBREAK : DT_SINGLELINE);
  DrawText(hdc, shownText_.c_str(), static_cast<int>(shownText_.size()), &text, format);
}

LRESULT ToolTipState::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT common;
  if (msg != WM_SETTEXT &&
      HandleCommon(hwnd, msg, wParam, lParam, font_, [&](HDC hdc) { Paint(hwnd, hdc); }, &common))
    return common;
  auto* info = reinterpret_cast<TOOLINFO*>(lParam);
  switch (msg) {
    case WM_CREATE:
      // Always a topmost popup, whatever the creator asked.
      SetWindowLong(hwnd, GWL_STYLE, static_cast<LONG>((StyleOf(hwnd) & ~WS_CHILD) | WS_POPUP));
      SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      return 0;
    case TTM_ACTIVATE:
      active_ = wParam != 0;
      if (!active_) {
        Hide(hwnd);
        KillTimer(hwnd, kShowTimer);
        KillTimer(hwnd, kLeaveTimer);
        current_ = -1;
      }
      return 0;
    case TTM_ADDTOOLA:
      return AddTool(hwnd, info);
    case TTM_DELTOOLA:
      DelTool(hwnd, info);
      return 0;
    case TTM_NEWTOOLRECTA:
      if (Tool* t = Find(info)) t->rect = info->rect;
      return 0;
    case TTM_GETTOOLINFOA:
      if (Tool* t = Find(info)) {
        Fill(*t, info);
        return TRUE;
      }
      return FALSE;
    case TTM_SETTOOLINFOA:
      if (Tool* t = Find(info)) {
        t->flags = info->uFlags;
        t->rect = info->rect;
        t->instance = info->hinst;
        if (info->cbSize >= TTTOOLINFOA_V2_SIZE) t->lParam = info->lParam;
        SetText(*t, info->hinst, info->lpszText);
      }
      return 0;
    case TTM_UPDATETIPTEXTA:
      if (Tool* t = Find(info)) {
        SetText(*t, info->hinst, info->lpszText);
        if (showing_ && static_cast<int>(Index(t)) == current_) Show(hwnd);
      }
      return 0;
    case TTM_GETTEXTA:
      if (Tool* t = Find(info); t && info->lpszText) {
        std::string text = TextOf(hwnd, *t);
        size_t room = wParam ? static_cast<size_t>(wParam) : 80;
        size_t n = std::min(text.size(), room - 1);
        std::memcpy(info->lpszText, text.data(), n);
        info->lpszText[n] = '\0';
      }
      return 0;
    case TTM_GETTOOLCOUNT:
      return static_cast<LRESULT>(tools_.size());
    case TTM_ENUMTOOLSA:
      if (wParam < tools_.size() && info) {
        Fill(tools_[wParam], info);
        return TRUE;
      }
      return FALSE;
    case TTM_GETCURRENTTOOLA:
      if (!showing_ || current_ < 0) return FALSE;
      if (info) Fill(tools_[static_cast<size_t>(current_)], info);
      return TRUE;
    case TTM_HITTESTA: {
      auto* hit = reinterpret_cast<TTHITTESTINFO*>(lParam);
      Tool* t = hit ? ToolAt(hit->hwnd, hit->pt) : nullptr;
      if (t == nullptr) return FALSE;
      if (hit->ti.cbSize >= TTTOOLINFOA_V1_SIZE) Fill(*t, &hit->ti);
      return TRUE;
    }
    case TTM_RELAYEVENT:
      if (lParam) Relay(hwnd, *reinterpret_cast<const MSG*>(lParam));
      return 0;
    case TTM_WINDOWFROMPOINT:
      return reinterpret_cast<LRESULT>(WindowFromPoint(*reinterpret_cast<const POINT*>(lParam)));
    case TTM_SETDELAYTIME: {
      int value = static_cast<short>(LOWORD(lParam));
      switch (wParam) {
        case TTDT_AUTOMATIC:
          initial_ = value;
          autopop_ = value < 0 ? -1 : value * 10;
          reshow_ = value < 0 ? -1 : value / 5;
          break;
        case TTDT_INITIAL: initial_ = value; break;
        case TTDT_AUTOPOP: autopop_ = value; break;
        case TTDT_RESHOW: reshow_ = value; break;
      }
      return 0;
    }
    case TTM_GETDELAYTIME:
      return static_cast<LRESULT>(Delay(static_cast<int>(wParam)));
    case TTM_SETTIPBKCOLOR:
      background_ = static_cast<COLORREF>(wParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case TTM_SETTIPTEXTCOLOR:
      foreground_ = static_cast<COLORREF>(wParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case TTM_GETTIPBKCOLOR:
      return background_ == CLR_DEFAULT ? GetSysColor(COLOR_INFOBK) : background_;
    case TTM_GETTIPTEXTCOLOR:
      return foreground_ == CLR_DEFAULT ? GetSysColor(COLOR_INFOTEXT) : foreground_;
    case TTM_SETMAXTIPWIDTH: {
      int previous = maxWidth_;
      maxWidth_ = static_cast<int>(lParam);
      return previous;
    }
    case TTM_GETMAXTIPWIDTH:
      return maxWidth_;
    case TTM_SETMARGIN:
      if (lParam) margin_ = *reinterpret_cast<const RECT*>(lParam);
      return 0;
    case TTM_GETMARGIN:
      if (lParam) *reinterpret_cast<RECT*>(lParam) = margin_;
      return 0;
    case TTM_POP:
      Hide(hwnd);
      return 0;
    case TTM_UPDATE:
      if (showing_) Show(hwnd);
      return 0;
    case TTM_TRACKACTIVATE:
      if (wParam) {
        Tool* t = Find(info);
        if (t == nullptr) return 0;
        Hide(hwnd);
        current_ = static_cast<int>(Index(t));
        tracking_ = true;
        Show(hwnd);
      } else {
        Hide(hwnd);
        tracking_ = false;
        current_ = -1;
      }
      return 0;
    case TTM_TRACKPOSITION:
      trackAt_ = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (tracking_ && showing_) Show(hwnd);
      return 0;
    case WM_TIMER:
      if (wParam == kShowTimer) {
        if (!clicked_) Show(hwnd);
        KillTimer(hwnd, kShowTimer);
      } else if (wParam == kPopTimer) {
        Hide(hwnd);
      } else if (wParam == kLeaveTimer && current_ >= 0) {
        // The mouse may leave without a message reaching us: look where it is.
        POINT cursor;
        GetCursorPos(&cursor);
        auto under = reinterpret_cast<HWND>(SendMessage(hwnd, TTM_WINDOWFROMPOINT, 0, reinterpret_cast<LPARAM>(&cursor)));
        const Tool& tool = tools_[static_cast<size_t>(current_)];
        POINT client = cursor;
        if (under) ScreenToClient(under, &client);
        bool inside = under == tool.Window() &&
                      ((tool.flags & TTF_IDISHWND) || PtInRect(&tool.rect, client));
        // A tip also goes when its window stops being the active one or a modal window opens.
        if (!inside || !OwnerActive(hwnd, tool)) {
          Hide(hwnd);
          KillTimer(hwnd, kShowTimer);
          KillTimer(hwnd, kLeaveTimer);
          current_ = -1;
          clicked_ = false;
        }
      }
      return 0;
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_DESTROY:
      for (const Tool& t : tools_)
        if ((t.flags & TTF_SUBCLASS) && t.Window()) UnwatchWindow(t.Window(), hwnd);
      tools_.clear();
      return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

bool WatchTool(HWND tip, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT*) {
  if ((msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK) || msg == WM_NCMOUSEMOVE) {
    MSG m{};
    m.hwnd = hwnd;
    m.message = msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = GetTickCount();
    SendMessage(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
  }
  return false;
}

}  // namespace

void RegisterToolTipClass() {
  RegisterControlClass(TOOLTIPS_CLASS, ControlProc<ToolTipState>, CS_SAVEBITS, IDC_ARROW, -1);
}

}  // namespace brambolt::ctl
