// The header control ("SysHeader32"): a row of column titles drawn as raised buttons. The mouse
// drags the dividers between them (HDN_BEGINTRACK/TRACK/ENDTRACK, then ITEMCHANGING/ITEMCHANGED)
// and, with HDS_BUTTONS, presses the titles (HDN_ITEMCLICK).
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "controls/CommCtrl.h"
#include "controls/CommonControls.h"
#include "controls/ControlSupport.h"

namespace brambolt::ctl {
namespace {

// A divider can be grabbed this many pixels either side of the line.
constexpr int kGrip = 4;
// Text and images keep this far from an item's edges.
constexpr int kPadding = 6;

struct HeaderItem {
  std::string text;
  bool textCallback = false;
  int width = 0;
  int fmt = HDF_LEFT | HDF_STRING;
  LPARAM lParam = 0;
  int image = -1;
  HBITMAP bitmap = nullptr;
};

class HeaderState {
 public:
  LRESULT Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  int Count() const { return static_cast<int>(items_.size()); }
  bool Valid(int i) const { return i >= 0 && i < Count(); }
  int Height() const;
  RECT ItemRect(int index) const;
  int HitTest(POINT p, UINT* flags) const;
  LRESULT Notify(UINT code, int item, HDITEM* pitem, int button = 0);
  // Applies `item` to entry `index` as HDM_SETITEM does: asks with HDN_ITEMCHANGING, tells with
  // HDN_ITEMCHANGED. False when the parent refused.
  bool Change(int index, const HDITEM& item);
  LRESULT Insert(int index, const HDITEM* item);
  BOOL Delete(int index);
  BOOL Get(int index, HDITEM* item);
  void StoreFields(HeaderItem& target, const HDITEM& item);
  int TrackedWidth(int x) const { return std::max(0, x - trackOffset_ - static_cast<int>(ItemRect(tracking_).left)); }
  void EndTrack(int x, bool keep);
  void Paint(HDC hdc);
  void Redraw() { InvalidateRect(hwnd_, nullptr, TRUE); }

  HWND hwnd_ = nullptr;
  HFONT font_ = nullptr;
  std::vector<HeaderItem> items_;
  std::vector<int> order_;  // item index at each display position
  HIMAGELIST images_ = nullptr;
  int tracking_ = -1;       // item whose divider is dragged
  int trackOffset_ = 0;     // the grab point's distance from the divider
  int trackStartWidth_ = 0;
  int pressed_ = -1;        // item pressed as a button
  bool pressedDrawn_ = false;
};

int HeaderState::Height() const {
  int h = LineHeight(font_) + 6;
  if (images_) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images_, &cx, &cy);
    h = std::max(h, cy + 4);
  }
  return h;
}

RECT HeaderState::ItemRect(int index) const {
  RECT client;
  GetClientRect(hwnd_, &client);
  int x = 0;
  for (int i : order_) {
    int w = items_[static_cast<size_t>(i)].width;
    if (i == index) return RECT{x, 0, x + w, client.bottom};
    x += w;
  }
  return RECT{x, 0, x, client.bottom};
}

int HeaderState::HitTest(POINT p, UINT* flags) const {
  RECT client;
  GetClientRect(hwnd_, &client);
  UINT f = 0;
  if (p.y < client.top) f |= HHT_ABOVE;
  if (p.y >= client.bottom) f |= HHT_BELOW;
  if (p.x < client.left) f |= HHT_TOLEFT;
  if (p.x >= client.right) f |= HHT_TORIGHT;
  if (f) {
    *flags = f;
    return -1;
  }
  // The divider at an item's right edge belongs to that item; the last one in display order whose
  // divider is in reach wins, so zero-width items can be pulled open again.
  int x = 0, divider = -1;
  for (int i : order_) {
    x += items_[static_cast<size_t>(i)].width;
    if (std::abs(p.x - x) <= kGrip) divider = i;
  }
  if (divider >= 0) {
    *flags = items_[static_cast<size_t>(divider)].width == 0 ? HHT_ONDIVOPEN : HHT_ONDIVIDER;
    return divider;
  }
  x = 0;
  for (int i : order_) {
    int w = items_[static_cast<size_t>(i)].width;
    if (p.x >= x && p.x < x + w) {
      *flags = HHT_ONHEADER;
      return i;
    }
    x += w;
  }
  *flags = HHT_NOWHERE;
  return -1;
}

LRESULT HeaderState::Notify(UINT code, int item, HDITEM* pitem, int button) {
  NMHEADER nm{};
  nm.iItem = item;
  nm.iButton = button;
  nm.pitem = pitem;
  return SendNotify(hwnd_, code, &nm.hdr);
}

void HeaderState::StoreFields(HeaderItem& target, const HDITEM& item) {
  if (item.mask & HDI_WIDTH) target.width = std::max(0, item.cxy);
  if (item.mask & HDI_TEXT) {
    target.textCallback = item.pszText == LPSTR_TEXTCALLBACK;
    target.text = (item.pszText && !target.textCallback) ? item.pszText : "";
  }
  if (item.mask & HDI_FORMAT) target.fmt = item.fmt;
  if (item.mask & HDI_LPARAM) target.lParam = item.lParam;
  if (item.mask & HDI_IMAGE) target.image = item.iImage;
  if (item.mask & HDI_BITMAP) target.bitmap = item.hbm;
}

bool HeaderState::Change(int index, const HDITEM& item) {
  HDITEM copy = item;
  if (Notify(HDN_ITEMCHANGING, index, &copy)) return false;
  StoreFields(items_[static_cast<size_t>(index)], item);
  if ((item.mask & HDI_ORDER) && item.iOrder >= 0 && item.iOrder < Count()) {
    order_.erase(std::find(order_.begin(), order_.end(), index));
    order_.insert(order_.begin() + item.iOrder, index);
  }
  Redraw();
  copy = item;
  Notify(HDN_ITEMCHANGED, index, &copy);
  return true;
}

LRESULT HeaderState::Insert(int index, const HDITEM* item) {
  if (item == nullptr || index < 0) return -1;
  index = std::min(index, Count());
  HeaderItem h;
  StoreFields(h, *item);
  items_.insert(items_.begin() + index, std::move(h));
  for (int& i : order_)
    if (i >= index) ++i;
  int position = (item->mask & HDI_ORDER) ? std::clamp(item->iOrder, 0, Count() - 1) : index;
  order_.insert(order_.begin() + std::min(position, static_cast<int>(order_.size())), index);
  Redraw();
  return index;
}

BOOL HeaderState::Delete(int index) {
  if (!Valid(index)) return FALSE;
  items_.erase(items_.begin() + index);
  order_.erase(std::find(order_.begin(), order_.end(), index));
  for (int& i : order_)
    if (i > index) --i;
  if (tracking_ == index || pressed_ == index) {
    tracking_ = pressed_ = -1;
    if (GetCapture() == hwnd_) ReleaseCapture();
  }
  Redraw();
  return TRUE;
}

BOOL HeaderState::Get(int index, HDITEM* item) {
  if (item == nullptr || !Valid(index)) return FALSE;
  const HeaderItem& h = items_[static_cast<size_t>(index)];
  if (item->mask & HDI_WIDTH) item->cxy = h.width;
  if (item->mask & HDI_FORMAT) item->fmt = h.fmt;
  if (item->mask & HDI_LPARAM) item->lParam = h.lParam;
  if (item->mask & HDI_IMAGE) item->iImage = h.image;
  if (item->mask & HDI_BITMAP) item->hbm = h.bitmap;
  if (item->mask & HDI_ORDER)
    item->iOrder = static_cast<int>(std::find(order_.begin(), order_.end(), index) - order_.begin());
  if ((item->mask & HDI_TEXT) && item->pszText && item->cchTextMax > 0) {
    size_t n = std::min(h.text.size(), static_cast<size_t>(item->cchTextMax - 1));
    std::memcpy(item->pszText, h.text.data(), n);
    item->pszText[n] = '\0';
  }
  return TRUE;
}

void HeaderState::EndTrack(int x, bool keep) {
  int index = tracking_;
  tracking_ = -1;
  if (GetCapture() == hwnd_) ReleaseCapture();
  if (!Valid(index)) return;
  HDITEM item{};
  item.mask = HDI_WIDTH;
  item.cxy = keep ? std::max(0, x - trackOffset_ - static_cast<int>(ItemRect(index).left)) : trackStartWidth_;
  Notify(HDN_ENDTRACK, index, &item);
  if (item.cxy != items_[static_cast<size_t>(index)].width) Change(index, item);
}

void HeaderState::Paint(HDC hdc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  HBRUSH face = GetSysColorBrush(COLOR_3DFACE);
  FillRect(hdc, &client, face);
  FontSelection font(hdc, font_);
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, GetSysColor(Enabled(hwnd_) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  int x = 0;
  for (int i : order_) {
    const HeaderItem& h = items_[static_cast<size_t>(i)];
    RECT r{x, 0, x + h.width, client.bottom};
    x += h.width;
    if (h.width <= 0 || r.left >= client.right) continue;
    bool down = i == pressed_ && pressedDrawn_;
    RECT edge = r;
    if (down)
      DrawEdge(hdc, &edge, BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
    else
      DrawEdge(hdc, &edge, EDGE_RAISED, BF_RECT | BF_SOFT);
    RECT label{r.left + kPadding, r.top + 1, r.right - kPadding, r.bottom - 2};
    if (down) OffsetRect(&label, 1, 1);
    HRGN clip = CreateRectRgn(r.left + 2, r.top + 2, r.right - 2, r.bottom - 2);
    SelectClipRgn(hdc, clip);
    if (images_ && (h.fmt & HDF_IMAGE) && h.image >= 0) {
      int cx = 0, cy = 0;
      ImageList_GetIconSize(images_, &cx, &cy);
      ImageList_Draw(images_, h.image, hdc, label.left, (label.top + label.bottom - cy) / 2, ILD_NORMAL);
      label.left += cx + kPadding / 2;
    }
    std::string text = h.text;
    if (h.textCallback) {
      char buffer[260] = {};
      HDITEM ask{};
      ask.mask = HDI_TEXT;
      ask.pszText = buffer;
      ask.cchTextMax = sizeof(buffer);
      Notify(HDN_GETDISPINFO, i, &ask);
      text = (ask.pszText && ask.pszText != LPSTR_TEXTCALLBACK) ? ask.pszText : "";
    }
    UINT justify = (h.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT ? DT_RIGHT : (h.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER : DT_LEFT;
    DrawText(hdc, text.c_str(), static_cast<int>(text.size()), &label,
             justify | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectClipRgn(hdc, nullptr);
    DeleteObject(clip);
  }
  if (x < client.right) {
    RECT rest{x, 0, client.right + 2, client.bottom};  // the blank button runs past the right edge
    DrawEdge(hdc, &rest, EDGE_RAISED, BF_RECT | BF_SOFT);
  }
}

LRESULT HeaderState::Handle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  hwnd_ = hwnd;
  LRESULT common;
  if (HandleCommon(hwnd, msg, wParam, lParam, font_, [this](HDC hdc) { Paint(hdc); }, &common)) return common;
  int index = static_cast<int>(wParam);
  switch (msg) {
    case HDM_GETITEMCOUNT:
      return Count();
    case HDM_INSERTITEMA:
      return Insert(index, reinterpret_cast<const HDITEM*>(lParam));
    case HDM_DELETEITEM:
      return Delete(index);
    case HDM_GETITEMA:
      return Get(index, reinterpret_cast<HDITEM*>(lParam));
    case HDM_SETITEMA:
      if (!Valid(index) || lParam == 0) return FALSE;
      return Change(index, *reinterpret_cast<const HDITEM*>(lParam)) ? TRUE : FALSE;
    case HDM_LAYOUT: {
      auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
      if (layout == nullptr || layout->prc == nullptr || layout->pwpos == nullptr) return FALSE;
      int height = (StyleOf(hwnd) & HDS_HIDDEN) ? 0 : Height();
      RECT* r = layout->prc;
      *layout->pwpos = WINDOWPOS{hwnd, nullptr, r->left, r->top, r->right - r->left, height, SWP_NOZORDER | SWP_NOACTIVATE};
      r->top += height;
      return TRUE;
    }
    case HDM_GETITEMRECT:
      if (!Valid(index) || lParam == 0) return FALSE;
      *reinterpret_cast<RECT*>(lParam) = ItemRect(index);
      return TRUE;
    case HDM_HITTEST: {
      auto* hit = reinterpret_cast<HDHITTESTINFO*>(lParam);
      if (hit == nullptr) return -1;
      hit->iItem = HitTest(hit->pt, &hit->flags);
      return hit->iItem;
    }
    case HDM_ORDERTOINDEX:
      return index >= 0 && index < Count() ? order_[static_cast<size_t>(index)] : index;
    case HDM_GETORDERARRAY: {
      auto* out = reinterpret_cast<int*>(lParam);
      if (out == nullptr || static_cast<int>(wParam) < Count()) return FALSE;
      std::copy(order_.begin(), order_.end(), out);
      return TRUE;
    }
    case HDM_SETORDERARRAY: {
      const int* in = reinterpret_cast<const int*>(lParam);
      if (in == nullptr || static_cast<int>(wParam) != Count()) return FALSE;
      std::vector<int> order(in, in + Count());
      std::vector<int> sorted = order;
      std::sort(sorted.begin(), sorted.end());
      for (int i = 0; i < Count(); ++i)
        if (sorted[static_cast<size_t>(i)] != i) return FALSE;  // not a permutation
      order_ = std::move(order);
      Redraw();
      return TRUE;
    }
    case HDM_SETIMAGELIST: {
      HIMAGELIST previous = images_;
      images_ = reinterpret_cast<HIMAGELIST>(lParam);
      Redraw();
      return reinterpret_cast<LRESULT>(previous);
    }
    case HDM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(images_);
    case WM_SETCURSOR: {
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(hwnd, &p);
      UINT flags = 0;
      HitTest(p, &flags);
      if (tracking_ >= 0 || (flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN))) {
        SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      UINT flags = 0;
      int hit = HitTest(p, &flags);
      if (hit < 0) return 0;
      if (flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) {
        if (msg == WM_LBUTTONDBLCLK) {
          Notify(HDN_DIVIDERDBLCLICK, hit, nullptr);
          return 0;
        }
        HDITEM item{};
        item.mask = HDI_WIDTH;
        item.cxy = items_[static_cast<size_t>(hit)].width;
        if (Notify(HDN_BEGINTRACK, hit, &item)) return 0;  // the parent forbids sizing this one
        tracking_ = hit;
        trackStartWidth_ = item.cxy;
        trackOffset_ = p.x - ItemRect(hit).right;
        SetCapture(hwnd);
        return 0;
      }
      if (msg == WM_LBUTTONDBLCLK) {
        Notify(HDN_ITEMDBLCLICK, hit, nullptr);
        return 0;
      }
      if (StyleOf(hwnd) & HDS_BUTTONS) {
        pressed_ = hit;
        pressedDrawn_ = true;
        SetCapture(hwnd);
        Redraw();
      }
      return 0;
    }
    case WM_MOUSEMOVE: {
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (tracking_ >= 0) {
        HDITEM item{};
        item.mask = HDI_WIDTH;
        item.cxy = TrackedWidth(p.x);
        if (Notify(HDN_TRACK, tracking_, &item)) {
          EndTrack(p.x, true);
          return 0;
        }
        if ((StyleOf(hwnd) & HDS_FULLDRAG) && item.cxy != items_[static_cast<size_t>(tracking_)].width)
          Change(tracking_, item);
        return 0;
      }
      if (pressed_ >= 0) {
        UINT flags = 0;
        bool over = HitTest(p, &flags) == pressed_ && (flags & HHT_ONHEADER);
        if (over != pressedDrawn_) {
          pressedDrawn_ = over;
          Redraw();
        }
      }
      return 0;
    }
    case WM_LBUTTONUP: {
      POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (tracking_ >= 0) {
        EndTrack(p.x, true);
        return 0;
      }
      if (pressed_ >= 0) {
        int clicked = pressedDrawn_ ? pressed_ : -1;
        pressed_ = -1;
        pressedDrawn_ = false;
        if (GetCapture() == hwnd) ReleaseCapture();
        Redraw();
        if (clicked >= 0) Notify(HDN_ITEMCLICK, clicked, nullptr);
      }
      return 0;
    }
    case WM_RBUTTONUP: {
      UINT flags = 0;
      int hit = HitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, &flags);
      Notify(NM_RCLICK, hit, nullptr);
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE && tracking_ >= 0) {
        EndTrack(0, false);
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd) {
        if (tracking_ >= 0) EndTrack(0, false);
        if (pressed_ >= 0) {
          pressed_ = -1;
          pressedDrawn_ = false;
          Redraw();
        }
      }
      return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterHeaderClass() {
  RegisterControlClass(WC_HEADER, ControlProc<HeaderState>, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, IDC_ARROW, -1);
}

}  // namespace brambolt::ctl
