// The tab control ("SysTabControl32"): one row of tabs with texts and images over a raised display
// area; clicks and arrow keys change the selection after asking the parent (TCN_SELCHANGING).
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

#include "controls/CommCtrl.h"
#include "controls/CommonControls.h"
#include "controls/ControlSupport.h"

namespace brambolt::ctl {
namespace {

// The display area sits this far inside the control's frame (two for the edge, two of margin).
constexpr int kInset = 4;
// Tabs start this far from the left and the top; the selected one grows by as much.
constexpr int kLead = 2;

// The program's data of a tab starts where TCITEM's lParam does, right after the fixed part.
static_assert(sizeof(TCITEMHEADER) == offsetof(TCITEM, lParam));

struct TabItem {
  std::string text;
  int image = -1;
  // The program's data: as many bytes as TCM_SETITEMEXTRA says, an LPARAM unless told otherwise.
  std::vector<BYTE> data;
  DWORD state = 0;
};

class TabState {
 public:
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  int RowHeight() const;
  // The width of an item's image with the gap before its text; 0 without an image.
  int ImageWidth(const TabItem& item) const;
  int TabWidth(HWND hwnd, const TabItem& item) const;
  RECT ItemRect(HWND hwnd, int index) const;  // unselected position
  int HitTest(HWND hwnd, POINT p, UINT* flags) const;
  LRESULT Notify(HWND hwnd, UINT code, NMHDR* header = nullptr);
  // Selects `index` as a person does: the parent may refuse; true when it changed.
  bool Choose(HWND hwnd, int index);
  void Paint(HWND hwnd, HDC hdc);
  // The image and the text of a tab drawn inside its rectangle.
  void DrawLabel(HDC hdc, const TabItem& item, RECT label, bool selected) const;
  LRESULT Insert(HWND hwnd, int index, const TCITEM* item);
  BOOL Get(int index, TCITEM* item) const;
  BOOL Set(HWND hwnd, int index, const TCITEM* item);
  // Takes the program's data of `item`: the bytes that start at TCITEM's lParam.
  void TakeData(TabItem& tab, const TCITEM* item) const;
  // The DRAWITEMSTRUCT's item data of an owner-drawn tab: the data itself when it fits, else
  // its address.
  ULONG_PTR DrawData(const TabItem& tab) const;

  HFONT font_ = nullptr;
  std::vector<TabItem> items_;
  int current_ = -1;
  SIZE padding_{6, 3};
  int fixedWidth_ = 0, fixedHeight_ = 0, minWidth_ = 0;
  HIMAGELIST images_ = nullptr;
  HWND tooltips_ = nullptr;
  size_t extra_ = sizeof(LPARAM);
};

int TabState::RowHeight() const {
  if (fixedHeight_ > 0) return fixedHeight_;
  int h = LineHeight(font_);
  if (images_) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images_, &cx, &cy);
    h = std::max(h, cy);
  }
  return h + 2 * padding_.cy;
}

int TabState::ImageWidth(const TabItem& item) const {
  int cx = 0, cy = 0;
  if (!images_ || item.image < 0 || !ImageList_GetIconSize(images_, &cx, &cy)) return 0;
  // Half the padding and a pixel separate the image from the text.
  return cx + padding_.cx / 2 + 1;
}

// The label (image and text) with the padding on both sides, at least the minimum width; a tab
// with neither text nor image has no label to pad.
int TabState::TabWidth(HWND hwnd, const TabItem& item) const {
  if (fixedWidth_ > 0) return fixedWidth_;
  const int image = ImageWidth(item);
  if (item.text.empty() && image == 0) return minWidth_;
  HDC dc = GetDC(hwnd);
  SIZE extent{};
  {
    FontSelection font(dc, font_);
    GetTextExtentPoint32(dc, item.text.c_str(), static_cast<int>(item.text.size()), &extent);
  }
  ReleaseDC(hwnd, dc);
  return std::max(extent.cx + 2 * padding_.cx + image, minWidth_);
}

RECT TabState::ItemRect(HWND hwnd, int index) const {
  int x = kLead;
  for (int i = 0; i < index; ++i) x += TabWidth(hwnd, items_[static_cast<size_t>(i)]);
  return RECT{x, kLead, x + TabWidth(hwnd, items_[static_cast<size_t>(index)]), kLead + RowHeight()};
}

int TabState::HitTest(HWND hwnd, POINT p, UINT* flags) const {
  for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
    RECT r = ItemRect(hwnd, i);
    if (i == current_) {
      InflateRect(&r, kLead, 0);
      r.top = 0;
    }
    if (PtInRect(&r, p)) {
      if (flags) *flags = TCHT_ONITEMLABEL;
      return i;
    }
  }
  if (flags) *flags = TCHT_NOWHERE;
  return -1;
}

LRESULT TabState::Notify(HWND hwnd, UINT code, NMHDR* header) {
  NMHDR plain{};
  return SendNotify(hwnd, code, header ? header : &plain);
}

bool TabState::Choose(HWND hwnd, int index) {
  if (index < 0 || index >= static_cast<int>(items_.size()) || index == current_) return false;
  if (Notify(hwnd, TCN_SELCHANGING)) return false;
  current_ = index;
  InvalidateRect(hwnd, nullptr, TRUE);
  Notify(hwnd, TCN_SELCHANGE);
  return true;
}

void TabState::TakeData(TabItem& tab, const TCITEM* item) const {
  const BYTE* from = reinterpret_cast<const BYTE*>(item) + offsetof(TCITEM, lParam);
  tab.data.assign(from, from + extra_);
}

ULONG_PTR TabState::DrawData(const TabItem& tab) const {
  if (tab.data.size() > sizeof(ULONG_PTR)) return reinterpret_cast<ULONG_PTR>(tab.data.data());
  ULONG_PTR value = 0;
  if (!tab.data.empty()) std::memcpy(&value, tab.data.data(), tab.data.size());
  return value;
}

LRESULT TabState::Insert(HWND hwnd, int index, const TCITEM* item) {
  if (item == nullptr || index < 0) return -1;
  index = std::min(index, static_cast<int>(items_.size()));
  TabItem t;
  if ((item->mask & TCIF_TEXT) && item->pszText && item->pszText != LPSTR_TEXTCALLBACK) t.text = item->pszText;
  if (item->mask & TCIF_IMAGE) t.image = item->iImage;
  if (item->mask & TCIF_PARAM)
    TakeData(t, item);
  else
    t.data.assign(extra_, 0);
  items_.insert(items_.begin() + index, std::move(t));
  if (current_ >= index) ++current_;
  if (current_ < 0) current_ = 0;
  InvalidateRect(hwnd, nullptr, TRUE);
  return index;
}

BOOL TabState::Get(int index, TCITEM* item) const {
  if (item == nullptr || index < 0 || index >= static_cast<int>(items_.size())) return FALSE;
  const TabItem& t = items_[static_cast<size_t>(index)];
  if ((item->mask & TCIF_TEXT) && item->pszText && item->cchTextMax > 0) {
    size_t n = std::min(t.text.size(), static_cast<size_t>(item->cchTextMax - 1));
    std::memcpy(item->pszText, t.text.data(), n);
    item->pszText[n] = '\0';
  }
  if (item->mask & TCIF_IMAGE) item->iImage = t.image;
  if (item->mask & TCIF_PARAM) std::copy(t.data.begin(), t.data.end(), reinterpret_cast<BYTE*>(item) + offsetof(TCITEM, lParam));
  if (item->mask & TCIF_STATE) item->dwState = t.state & item->dwStateMask;
  return TRUE;
}

BOOL TabState::Set(HWND hwnd, int index, const TCITEM* item) {
  if (item == nullptr || index < 0 || index >= static_cast<int>(items_.size())) return FALSE;
  TabItem& t = items_[static_cast<size_t>(index)];
  if ((item->mask & TCIF_TEXT) && item->pszText && item->pszText != LPSTR_TEXTCALLBACK) t.text = item->pszText;
  if (item->mask & TCIF_IMAGE) t.image = item->iImage;
  if (item->mask & TCIF_PARAM) TakeData(t, item);
  if (item->mask & TCIF_STATE) t.state = (t.state & ~item->dwStateMask) | (item->dwState & item->dwStateMask);
  InvalidateRect(hwnd, nullptr, TRUE);
  return TRUE;
}

void TabState::DrawLabel(HDC hdc, const TabItem& item, RECT label, bool selected) const {
  label.top += selected ? 0 : 1;
  if (const int image = ImageWidth(item)) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images_, &cx, &cy);
    ImageList_Draw(images_, item.image, hdc, label.left + padding_.cx, (label.top + label.bottom - cy) / 2, ILD_NORMAL);
    label.left += image;
  }
  DrawText(hdc, item.text.c_str(), static_cast<int>(item.text.size()), &label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TabState::Paint(HWND hwnd, HDC hdc) {
  RECT client;
  GetClientRect(hwnd, &client);
  HBRUSH face = GetSysColorBrush(COLOR_3DFACE);
  FillRect(hdc, &client, face);
  int rowBottom = kLead + RowHeight();
  RECT frame{client.left, rowBottom, client.right, client.bottom};
  DrawEdge(hdc, &frame, EDGE_RAISED, BF_RECT | BF_SOFT);
  FontSelection font(hdc, font_);
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, GetSysColor(Enabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  auto drawTab = [&](int i) {
    const TabItem& t = items_[static_cast<size_t>(i)];
    RECT r = ItemRect(hwnd, i);
    bool selected = i == current_;
    if (selected) {
      InflateRect(&r, kLead, 0);
      r.top = 0;
      r.bottom = rowBottom + 1;  // covers the frame's top line beneath it
    }
    FillRect(hdc, &r, face);
    RECT edge = r;
    DrawEdge(hdc, &edge, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT | BF_SOFT);
    if (StyleOf(hwnd) & TCS_OWNERDRAWFIXED)
      // The parent draws the inside of the tab with the item's data.
      SendDrawItem(hwnd, ODT_TAB, static_cast<UINT>(i), ODA_DRAWENTIRE, selected ? ODS_SELECTED : 0, hdc, r,
                   DrawData(t));
    else
      DrawLabel(hdc, t, r, selected);
    if (selected && GetFocus() == hwnd) {
      RECT focus = r;
      InflateRect(&focus, -3, -3);
      DrawFocusRect(hdc, &focus);
    }
  };
  for (int i = 0; i < static_cast<int>(items_.size()); ++i)
    if (i != current_) drawTab(i);
  if (current_ >= 0 && current_ < static_cast<int>(items_.size())) drawTab(current_);
}

LRESULT TabState::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT common;
  if (HandleCommon(hwnd, msg, wParam, lParam, font_, [&](HDC hdc) { Paint(hwnd, hdc); }, &common)) return common;
  int index = static_cast<int>(wParam);
  switch (msg) {
    case TCM_GETITEMCOUNT:
      return static_cast<LRESULT>(items_.size());
    case TCM_INSERTITEMA:
      return Insert(hwnd, index, reinterpret_cast<const TCITEM*>(lParam));
    case TCM_GETITEMA:
      return Get(index, reinterpret_cast<TCITEM*>(lParam));
    case TCM_SETITEMA:
      return Set(hwnd, index, reinterpret_cast<const TCITEM*>(lParam));
    case TCM_DELETEITEM:
      if (index < 0 || index >= static_cast<int>(items_.size())) return FALSE;
      items_.erase(items_.begin() + index);
      if (current_ == index) current_ = -1;
      else if (current_ > index) --current_;
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case TCM_DELETEALLITEMS:
      items_.clear();
      current_ = -1;
      InvalidateRect(hwnd, nullptr, TRUE);
      return TRUE;
    case TCM_GETCURSEL:
    case TCM_GETCURFOCUS:
      return current_;
    case TCM_SETCURSEL: {
      if (index < 0 || index >= static_cast<int>(items_.size())) return -1;
      int previous = current_;
      current_ = index;
      InvalidateRect(hwnd, nullptr, TRUE);
      return previous;
    }
    case TCM_SETCURFOCUS:
      Choose(hwnd, index);
      return 0;
    case TCM_GETITEMRECT: {
      if (index < 0 || index >= static_cast<int>(items_.size()) || lParam == 0) return FALSE;
      *reinterpret_cast<RECT*>(lParam) = ItemRect(hwnd, index);
      return TRUE;
    }
    case TCM_HITTEST: {
      auto* hit = reinterpret_cast<TCHITTESTINFO*>(lParam);
      return hit ? HitTest(hwnd, hit->pt, &hit->flags) : -1;
    }
    case TCM_ADJUSTRECT: {
      auto* r = reinterpret_cast<RECT*>(lParam);
      if (r == nullptr) return 0;
      int top = kLead + RowHeight() + kInset;
      int sign = wParam ? -1 : 1;  // larger: from a display rectangle to the window's
      r->left += sign * kInset;
      r->right -= sign * kInset;
      r->top += sign * top;
      r->bottom -= sign * kInset;
      return 0;
    }
    case TCM_SETITEMSIZE: {
      LRESULT previous = MAKELONG(fixedWidth_, RowHeight());
      fixedWidth_ = (StyleOf(hwnd) & TCS_FIXEDWIDTH) ? LOWORD(lParam) : 0;
      fixedHeight_ = HIWORD(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return previous;
    }
    case TCM_SETPADDING:
      padding_ = SIZE{LOWORD(lParam), HIWORD(lParam)};
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case TCM_SETMINTABWIDTH: {
      int previous = minWidth_;
      // -1 (or any negative width) goes back to the default minimum.
      minWidth_ = std::max(0, static_cast<int>(lParam));
      return previous;
    }
    case TCM_GETROWCOUNT:
      return 1;
    case TCM_SETIMAGELIST: {
      HIMAGELIST previous = images_;
      images_ = reinterpret_cast<HIMAGELIST>(lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return reinterpret_cast<LRESULT>(previous);
    }
    case TCM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(images_);
    case TCM_SETTOOLTIPS:
      tooltips_ = reinterpret_cast<HWND>(wParam);
      return 0;
    case TCM_GETTOOLTIPS:
      return reinterpret_cast<LRESULT>(tooltips_);
    case TCM_SETITEMEXTRA:
      // The size of the program's data of each tab, any size, set while there are no tabs.
      if (!items_.empty() || static_cast<int>(wParam) < 0) return FALSE;
      extra_ = static_cast<size_t>(static_cast<int>(wParam));
      return TRUE;
    case TCM_DESELECTALL:
      for (TabItem& t : items_) t.state &= ~TCIS_BUTTONPRESSED;
      return 0;
    case TCM_HIGHLIGHTITEM:
      if (index < 0 || index >= static_cast<int>(items_.size())) return FALSE;
      if (LOWORD(lParam)) items_[static_cast<size_t>(index)].state |= TCIS_HIGHLIGHTED;
      else items_[static_cast<size_t>(index)].state &= ~TCIS_HIGHLIGHTED;
      return TRUE;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN: {
      if (!(StyleOf(hwnd) & TCS_FOCUSNEVER)) SetFocus(hwnd);
      int hit = HitTest(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, nullptr);
      if (hit >= 0) Choose(hwnd, hit);
      return 0;
    }
    case WM_LBUTTONUP:
      Notify(hwnd, NM_CLICK);
      return 0;
    case WM_RBUTTONUP:
      Notify(hwnd, NM_RCLICK);
      return 0;
    case WM_KEYDOWN: {
      NMTCKEYDOWN kd{};
      kd.wVKey = static_cast<WORD>(wParam);
      kd.flags = static_cast<UINT>(HIWORD(lParam));
      Notify(hwnd, TCN_KEYDOWN, &kd.hdr);
      if (wParam == VK_LEFT || wParam == VK_UP) Choose(hwnd, current_ - 1);
      if (wParam == VK_RIGHT || wParam == VK_DOWN) Choose(hwnd, current_ + 1);
      if (wParam == VK_HOME) Choose(hwnd, 0);
      if (wParam == VK_END) Choose(hwnd, static_cast<int>(items_.size()) - 1);
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd, nullptr, TRUE);
      Notify(hwnd, msg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
      return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterTabClass() {
  RegisterControlClass(WC_TABCONTROL, ControlProc<TabState>, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, IDC_ARROW, -1);
}

}  // namespace brambolt::ctl
