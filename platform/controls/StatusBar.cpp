// The status bar ("msctls_statusbar32"): a line of parts along the bottom of its parent, each
// with a text and an icon (or drawn by the parent), sunken, flat or raised, a simple mode of one
// text, a size grip that sizes the top-level window, and tips for parts whose text does not fit.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "controls/CommCtrl.h"
#include "controls/CommonControls.h"
#include "controls/ControlSupport.h"
#include "gdi/ClassicLook.h"

namespace brambolt::ctl {
namespace {

// Borders: none left and right of the bar, two pixels above and below the parts, two between them.
constexpr int kBorderX = 0;
constexpr int kBorderY = 2;
constexpr int kGap = 2;
constexpr int kMaxParts = 255;

struct Part {
  int right = -1;  // the right edge; -1 reaches the bar's right edge
  std::string text;
  UINT type = 0;  // SBT_ flags
  LPARAM data = 0;  // an owner-drawn part's value
  HICON icon = nullptr;  // drawn left of the text; the caller keeps it
  std::string tip;       // shown over the part when its text is cut or it shows only an icon
};

class StatusBarState {
 public:
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  int Height(HWND hwnd) const;
  void AlignToParent(HWND hwnd);
  RECT PartRect(HWND hwnd, int index) const;
  RECT GripRect(HWND hwnd) const;
  void Paint(HWND hwnd, HDC hdc);
  void PaintPart(HWND hwnd, HDC hdc, int index, const Part& part, const RECT& rect);
  LRESULT SetText(HWND hwnd, WPARAM wParam, LPARAM lParam);
  LRESULT GetText(WPARAM wParam, LPSTR buffer, bool lengthOnly) const;
  Part* PartAt(int index);
  // With SBARS_TOOLTIPS: one tool per part, its rectangle following the part.
  void UpdateTools(HWND hwnd);
  // The tip of the part under the mouse: its tip text when its text is cut or it has only an icon.
  std::string TipFor(HWND hwnd, int index);
  bool TextCut(HWND hwnd, int index, const Part& part, const RECT& rect) const;

  HFONT font_ = nullptr;
  HWND tips_ = nullptr;
  int tools_ = 0;
  std::vector<Part> parts_ = std::vector<Part>(1);
  Part simple_;
  bool simpleMode_ = false;
  int minHeight_ = 0;
  bool aligning_ = false;
};

int StatusBarState::Height(HWND) const {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, EffectiveFont(font_));
  TEXTMETRIC tm{};
  GetTextMetrics(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  // The text, a pixel of border each side of it inside the part, and the bar's own borders.
  return std::max(minHeight_, static_cast<int>(tm.tmHeight) + 2 * 1) + 2 * kBorderY + 2;
}

void StatusBarState::AlignToParent(HWND hwnd) {
  DWORD style = StyleOf(hwnd);
  HWND parent = GetParent(hwnd);
  if (parent == nullptr || aligning_) return;
  aligning_ = true;
  RECT client;
  GetClientRect(parent, &client);
  int height = (style & CCS_NORESIZE) ? 0 : Height(hwnd);
  if (style & CCS_NOPARENTALIGN) {
    // Only the height follows; the parent (a layout) places it.
    if (!(style & CCS_NORESIZE)) {
      RECT r;
      GetWindowRect(hwnd, &r);
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
      SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  } else {
    bool top = (style & CCS_BOTTOM) == CCS_TOP;
    SetWindowPos(hwnd, nullptr, 0, top ? 0 : client.bottom - height, client.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  aligning_ = false;
}

RECT StatusBarState::PartRect(HWND hwnd, int index) const {
  RECT client;
  GetClientRect(hwnd, &client);
  RECT r{client.left + kBorderX, client.top + kBorderY, client.right - kBorderX, client.bottom - kBorderY};
  if (simpleMode_) return r;
  int left = r.left;
  for (int i = 0; i < index; ++i) {
    int edge = parts_[i].right < 0 ? r.right : parts_[i].right;
    left = std::max(left, edge + kGap);
  }
  int right = parts_[index].right < 0 ? r.right : parts_[index].right;
  return RECT{std::min(left, r.right), r.top, std::max(std::min(left, r.right), std::min(right, r.right)), r.bottom};
}

RECT StatusBarState::GripRect(HWND hwnd) const {
  RECT client;
  GetClientRect(hwnd, &client);
  int size = GetSystemMetrics(SM_CXVSCROLL);
  return RECT{client.right - size, std::max(client.top, client.bottom - size), client.right, client.bottom};
}

void StatusBarState::PaintPart(HWND hwnd, HDC hdc, int index, const Part& part, const RECT& rect) {
  brambolt::DrawStatusPane(hdc, rect, (part.type & SBT_NOBORDERS) != 0, (part.type & SBT_POPOUT) != 0);
  RECT inside = rect;
  InflateRect(&inside, -1, -1);
  if (part.type & SBT_OWNERDRAW) {
    SendDrawItem(hwnd, 0, static_cast<UINT>(index), ODA_DRAWENTIRE, 0, hdc, inside, static_cast<ULONG_PTR>(part.data));
    return;
  }
  // Text after one tab is centred, after two right-aligned.
  std::string text = part.text;
  UINT align = DT_LEFT;
  if (text.rfind("\t\t", 0) == 0) {
    align = DT_RIGHT;
    text.erase(0, 2);
  } else if (text.rfind("\t", 0) == 0) {
    align = DT_CENTER;
    text.erase(0, 1);
  }
  InflateRect(&inside, -2, 0);
  if (part.icon) {
    int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    DrawIconEx(hdc, inside.left, (inside.top + inside.bottom - cy) / 2, part.icon, cx, cy, 0, nullptr, DI_NORMAL);
    inside.left += cx + 2;
  }
  DrawText(hdc, text.c_str(), static_cast<int>(text.size()), &inside,
           align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

bool StatusBarState::TextCut(HWND hwnd, int, const Part& part, const RECT& rect) const {
  if (part.type & SBT_OWNERDRAW) return false;
  std::string text = part.text;
  text.erase(0, text.find_first_not_of('\t') == std::string::npos ? text.size() : text.find_first_not_of('\t'));
  int room = rect.right - rect.left - 2 - 4;
  if (part.icon) room -= GetSystemMetrics(SM_CXSMICON) + 2;
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, EffectiveFont(font_));
  SIZE extent{};
  GetTextExtentPoint32(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  return extent.cx > room;
}

std::string StatusBarState::TipFor(HWND hwnd, int index) {
  Part* part = PartAt(simpleMode_ ? SB_SIMPLEID : index);
  if (part == nullptr || part->tip.empty()) return "";
  bool iconOnly = part->icon != nullptr && part->text.empty();
  return iconOnly || TextCut(hwnd, index, *part, PartRect(hwnd, simpleMode_ ? 0 : index)) ? part->tip : "";
}

void StatusBarState::UpdateTools(HWND hwnd) {
  if (tips_ == nullptr) return;
  int wanted = simpleMode_ ? 1 : static_cast<int>(parts_.size());
  for (int i = 0; i < std::max(wanted, tools_); ++i) {
    TOOLINFO ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = hwnd;
    ti.uId = static_cast<UINT_PTR>(i);
    if (i >= wanted) {
      SendMessage(tips_, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
      continue;
    }
    ti.rect = PartRect(hwnd, i);
    if (i < tools_) {
      SendMessage(tips_, TTM_NEWTOOLRECT, 0, reinterpret_cast<LPARAM>(&ti));
    } else {
      ti.uFlags = TTF_SUBCLASS;
      ti.lpszText = LPSTR_TEXTCALLBACK;
      SendMessage(tips_, TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti));
    }
  }
  tools_ = wanted;
}

void StatusBarState::Paint(HWND hwnd, HDC hdc) {
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(hdc, &client, GetSysColorBrush(COLOR_BTNFACE));
  HGDIOBJ oldFont = SelectObject(hdc, EffectiveFont(font_));
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
  if (simpleMode_) {
    PaintPart(hwnd, hdc, SB_SIMPLEID, simple_, PartRect(hwnd, 0));
  } else {
    for (int i = 0; i < static_cast<int>(parts_.size()); ++i) PaintPart(hwnd, hdc, i, parts_[i], PartRect(hwnd, i));
  }
  SelectObject(hdc, oldFont);
  if (StyleOf(hwnd) & SBARS_SIZEGRIP) {
    RECT grip = GripRect(hwnd);
    DrawFrameControl(hdc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  }
}

Part* StatusBarState::PartAt(int index) {
  if (index == SB_SIMPLEID) return &simple_;
  if (index < 0 || index >= static_cast<int>(parts_.size())) return nullptr;
  return &parts_[static_cast<size_t>(index)];
}

LRESULT StatusBarState::SetText(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  Part* part = PartAt(static_cast<int>(wParam & 0xFF));
  if (part == nullptr) return FALSE;
  part->type = static_cast<UINT>(wParam & 0xFF00);
  if (part->type & SBT_OWNERDRAW) {
    part->data = lParam;
    part->text.clear();
  } else {
    part->text = lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "";
    part->data = 0;
  }
  InvalidateRect(hwnd, nullptr, TRUE);
  return TRUE;
}

LRESULT StatusBarState::GetText(WPARAM wParam, LPSTR buffer, bool lengthOnly) const {
  int index = static_cast<int>(wParam);
  const Part* part = index == SB_SIMPLEID ? &simple_
                     : index >= 0 && index < static_cast<int>(parts_.size()) ? &parts_[static_cast<size_t>(index)]
                                                                              : nullptr;
  if (part == nullptr) return 0;
  if (part->type & SBT_OWNERDRAW) return part->data;
  if (!lengthOnly && buffer != nullptr) std::copy(part->text.c_str(), part->text.c_str() + part->text.size() + 1, buffer);
  return MAKELONG(static_cast<WORD>(part->text.size()), static_cast<WORD>(part->type));
}

LRESULT StatusBarState::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT common;
  if (msg != WM_SETTEXT && HandleCommon(hwnd, msg, wParam, lParam, font_, [&](HDC hdc) { Paint(hwnd, hdc); }, &common))
    return common;
  switch (msg) {
    case WM_CREATE:
      if (StyleOf(hwnd) & SBARS_TOOLTIPS)
        tips_ = CreateWindowEx(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, hwnd, nullptr,
                               nullptr, nullptr);
      AlignToParent(hwnd);
      UpdateTools(hwnd);
      return 0;
    case WM_DESTROY:
      if (tips_) DestroyWindow(tips_);
      tips_ = nullptr;
      break;
    case WM_SIZE:
      // The parent passes its own size change on: the bar follows its edge.
      if (!aligning_) AlignToParent(hwnd);
      UpdateTools(hwnd);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_NOTIFY: {
      auto* info = reinterpret_cast<NMTTDISPINFO*>(lParam);
      if (tips_ == nullptr || info->hdr.hwndFrom != tips_ || info->hdr.code != TTN_GETDISPINFO) break;
      std::string tip = TipFor(hwnd, static_cast<int>(info->hdr.idFrom));
      size_t n = std::min(tip.size(), sizeof(info->szText) - 1);
      std::memcpy(info->szText, tip.data(), n);
      info->szText[n] = '\0';
      info->lpszText = info->szText;
      return 0;
    }
    case SB_SETICON: {
      Part* part = PartAt(static_cast<int>(wParam) == -1 ? SB_SIMPLEID : static_cast<int>(wParam));
      if (part == nullptr) return FALSE;
      part->icon = reinterpret_cast<HICON>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case SB_GETICON: {
      Part* part = PartAt(static_cast<int>(wParam) == -1 ? SB_SIMPLEID : static_cast<int>(wParam));
      return part ? reinterpret_cast<LRESULT>(part->icon) : 0;
    }
    case SB_SETTIPTEXT: {
      Part* part = PartAt(static_cast<int>(wParam));
      if (part) part->tip = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
      return 0;
    }
    case SB_GETTIPTEXT: {
      Part* part = PartAt(LOWORD(wParam));
      size_t size = HIWORD(wParam);
      if (part == nullptr || lParam == 0 || size == 0) return 0;
      size_t n = std::min(part->tip.size(), size - 1);
      std::memcpy(reinterpret_cast<LPSTR>(lParam), part->tip.data(), n);
      reinterpret_cast<LPSTR>(lParam)[n] = '\0';
      return 0;
    }
    case WM_SETTEXT:
      DefWindowProc(hwnd, msg, wParam, lParam);
      return SetText(hwnd, 0, lParam);
    case SB_SETTEXT:
      return SetText(hwnd, wParam, lParam);
    case SB_GETTEXT:
      return GetText(wParam, reinterpret_cast<LPSTR>(lParam), false);
    case SB_GETTEXTLENGTH:
      return GetText(wParam, nullptr, true);
    case SB_SETPARTS: {
      int count = static_cast<int>(wParam);
      if (count <= 0 || count > kMaxParts || lParam == 0) return FALSE;
      const int* edges = reinterpret_cast<const int*>(lParam);
      parts_.resize(static_cast<size_t>(count));
      for (int i = 0; i < count; ++i) parts_[static_cast<size_t>(i)].right = edges[i];
      UpdateTools(hwnd);
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    }
    case SB_GETPARTS: {
      int count = static_cast<int>(parts_.size());
      if (lParam != 0) {
        int* edges = reinterpret_cast<int*>(lParam);
        for (int i = 0; i < std::min(count, static_cast<int>(wParam)); ++i) edges[i] = parts_[static_cast<size_t>(i)].right;
      }
      return count;
    }
    case SB_GETBORDERS: {
      if (lParam == 0) return FALSE;
      int* borders = reinterpret_cast<int*>(lParam);
      borders[0] = kBorderX;
      borders[1] = kBorderY;
      borders[2] = kGap;
      return TRUE;
    }
    case SB_SETMINHEIGHT:
      minHeight_ = std::max(0, static_cast<int>(wParam));
      return 0;
    case SB_SIMPLE:
      simpleMode_ = wParam != 0;
      UpdateTools(hwnd);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case SB_ISSIMPLE:
      return simpleMode_;
    case SB_GETRECT: {
      int index = static_cast<int>(wParam);
      if (lParam == 0 || (!simpleMode_ && (index < 0 || index >= static_cast<int>(parts_.size())))) return FALSE;
      *reinterpret_cast<RECT*>(lParam) = PartRect(hwnd, simpleMode_ ? 0 : index);
      return TRUE;
    }
    case WM_NCHITTEST: {
      // The grip sizes the window it sits in the corner of.
      if (StyleOf(hwnd) & SBARS_SIZEGRIP) {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(hwnd, &p);
        RECT grip = GripRect(hwnd);
        if (PtInRect(&grip, p)) return HTBOTTOMRIGHT;
      }
      return HTCLIENT;
    }
    case WM_NCLBUTTONDOWN:
      if (wParam == HTBOTTOMRIGHT) {
        HWND top = GetAncestor(hwnd, GA_ROOT);
        return SendMessage(top, WM_SYSCOMMAND, SC_SIZE + 8 /* the bottom-right corner */, lParam);
      }
      break;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterStatusBarClass() {
  RegisterControlClass(STATUSCLASSNAME, ControlProc<StatusBarState>, CS_DBLCLKS, IDC_ARROW, -1);
}

}  // namespace brambolt::ctl
