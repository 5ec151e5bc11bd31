// The list-view control's geometry in its four views, scrolling, painting (only the rows and cells
// the update region touches) and the selection driven by mouse and keyboard.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "controls/ListViewState.h"

namespace brambolt::ctl {
namespace {

constexpr int kLabelPadding = 2;    // between the label column's edge or icon and its text
constexpr int kSubItemPadding = 6;  // inside the other columns
constexpr int kLineScroll = 8;      // pixels of a horizontal line scroll

SIZE IconSize(HIMAGELIST list) {
  int cx = 0, cy = 0;
  if (list) ImageList_GetIconSize(list, &cx, &cy);
  return SIZE{cx, cy};
}

UINT Justification(int fmt) {
  switch (fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
      return DT_RIGHT;
    case LVCFMT_CENTER:
      return DT_CENTER;
  }
  return DT_LEFT;
}

int CeilDiv(int a, int b) { return b > 0 ? (a + b - 1) / b : 0; }

}  // namespace

HFONT ListViewState::Font() const {
  return font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

SIZE ListViewState::IconCell() const {
  SIZE icon = IconSize(images_[LVSIL_NORMAL]);
  int cx = iconSpacing_.cx > 0 ? iconSpacing_.cx : GetSystemMetrics(SM_CXICONSPACING);
  int cy = iconSpacing_.cy > 0 ? iconSpacing_.cy : GetSystemMetrics(SM_CYICONSPACING);
  if (iconSpacing_.cx <= 0) cx = std::max(cx, static_cast<int>(icon.cx) + 16);
  if (iconSpacing_.cy <= 0) cy = std::max(cy, static_cast<int>(icon.cy) + 2 * textHeight_ + 10);
  return SIZE{cx, cy};
}

int ListViewState::TextWidth(const char* text) const {
  HDC dc = GetDC(hwnd_);
  SIZE size{};
  {
    FontSelection font(dc, Font());
    GetTextExtentPoint32(dc, text, static_cast<int>(std::strlen(text)), &size);
  }
  ReleaseDC(hwnd_, dc);
  return size.cx;
}

void ListViewState::NoteLabel(int index) {
  if (maxLabelWidth_ < 0 || !Valid(index) || (View() != LVS_LIST && View() != LVS_SMALLICON)) return;
  maxLabelWidth_ = std::max(maxLabelWidth_, TextWidth(DisplayText(index, 0).c_str()));
}

int ListViewState::ListCellWidth() {
  if (listColumnWidth_ > 0) return listColumnWidth_;
  if (maxLabelWidth_ < 0) {
    maxLabelWidth_ = 0;
    HDC dc = GetDC(hwnd_);
    {
      FontSelection font(dc, Font());
      for (int i = 0; i < Count(); ++i) {
        std::string text = DisplayText(i, 0);
        SIZE size{};
        GetTextExtentPoint32(dc, text.c_str(), static_cast<int>(text.size()), &size);
        maxLabelWidth_ = std::max(maxLabelWidth_, static_cast<int>(size.cx));
      }
    }
    ReleaseDC(hwnd_, dc);
  }
  SIZE icon = IconSize(images_[LVSIL_SMALL]);
  return std::max(40, static_cast<int>(icon.cx) + maxLabelWidth_ + 4 * kLabelPadding + 4);
}

int ListViewState::HeaderHeight() const {
  if (!Report() || (style_ & LVS_NOCOLUMNHEADER) || header_ == nullptr) return 0;
  RECT r;
  GetWindowRect(header_, &r);
  return r.bottom - r.top;
}

RECT ListViewState::ListArea() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  r.top = std::min(r.bottom, r.top + HeaderHeight());
  return r;
}

int ListViewState::TotalColumnWidth() const {
  int w = 0;
  for (const LvColumn& c : columns_) w += c.width;
  return w;
}

int ListViewState::ColumnLeft(int column) const {
  int x = 0;
  for (int c = 0; c < column && c < static_cast<int>(columns_.size()); ++c) x += columns_[static_cast<size_t>(c)].width;
  return x;
}

int ListViewState::ColumnAt(POINT p, bool beyondClient) const {
  RECT client;
  GetClientRect(hwnd_, &client);
  if (!Report() || (!beyondClient && !PtInRect(&client, p))) return -1;
  for (int c = 0; c < static_cast<int>(columns_.size()); ++c) {
    const int left = ColumnLeft(c) - xOffset_;
    if (p.x >= left && p.x < left + columns_[static_cast<size_t>(c)].width) return c;
  }
  return -1;
}

int ListViewState::FullRows() const {
  RECT area = ListArea();
  return std::max(0, static_cast<int>(area.bottom - area.top) / std::max(1, rowHeight_));
}

int ListViewState::ListRows() const { return std::max(1, FullRows()); }

int ListViewState::IconColumns() {
  RECT area = ListArea();
  int cell = View() == LVS_ICON ? static_cast<int>(IconCell().cx) : ListCellWidth();
  return std::max(1, static_cast<int>(area.right - area.left) / std::max(1, cell));
}

RECT ListViewState::ItemRect(int index, int code) {
  RECT area = ListArea();
  SIZE small = IconSize(images_[LVSIL_SMALL]);
  RECT bounds, icon, label;
  switch (View()) {
    case LVS_REPORT: {
      int y = area.top + (index - topRow_) * rowHeight_;
      int x0 = -xOffset_;
      int w0 = columns_.empty() ? 0 : columns_[0].width;
      bounds = RECT{x0, y, x0 + TotalColumnWidth(), y + rowHeight_};
      int left = x0 + kLabelPadding + IconSize(images_[LVSIL_STATE]).cx + Item(index).indent * small.cx;
      icon = RECT{left, y, left + small.cx, y + rowHeight_};
      label = RECT{icon.right, y, std::max(icon.right, x0 + w0), y + rowHeight_};
      if (code == LVIR_SELECTBOUNDS)
        return RECT{icon.left, y, (exStyle_ & LVS_EX_FULLROWSELECT) ? bounds.right : label.right, y + rowHeight_};
      break;
    }
    case LVS_ICON: {
      SIZE cell = IconCell();
      SIZE big = IconSize(images_[LVSIL_NORMAL]);
      int cols = IconColumns();
      int x = (index % cols) * cell.cx;
      int y = area.top + (index / cols) * cell.cy - scrollY_;
      icon = RECT{x + (cell.cx - big.cx) / 2, y + 2, x + (cell.cx + big.cx) / 2, y + 2 + big.cy};
      std::string text = DisplayText(index, 0);
      RECT measure{0, 0, cell.cx - 4, 0};
      HDC dc = GetDC(hwnd_);
      {
        FontSelection font(dc, Font());
        DrawText(dc, text.c_str(), static_cast<int>(text.size()), &measure,
                 DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
      }
      ReleaseDC(hwnd_, dc);
      int width = std::min(static_cast<int>(cell.cx) - 4, static_cast<int>(measure.right) + 4);
      int height = std::min(2 * textHeight_, std::max(textHeight_, static_cast<int>(measure.bottom))) + 2;
      label = RECT{x + (cell.cx - width) / 2, icon.bottom + 2, x + (cell.cx + width) / 2, icon.bottom + 2 + height};
      bounds = RECT{std::min(icon.left, label.left), icon.top, std::max(icon.right, label.right), label.bottom};
      break;
    }
    default: {  // small icon and list: an icon and a one-line label in a cell
      int cellWidth = ListCellWidth();
      int x, y;
      if (View() == LVS_LIST) {
        int rows = ListRows();
        x = (index / rows - firstColumn_) * cellWidth;
        y = area.top + (index % rows) * rowHeight_;
      } else {
        int cols = IconColumns();
        x = (index % cols) * cellWidth;
        y = area.top + (index / cols) * rowHeight_ - scrollY_;
      }
      int left = x + kLabelPadding + IconSize(images_[LVSIL_STATE]).cx;
      icon = RECT{left, y, left + small.cx, y + rowHeight_};
      int width = TextWidth(DisplayText(index, 0).c_str());
      int right = std::min(x + cellWidth, static_cast<int>(icon.right) + width + 3 * kLabelPadding);
      label = RECT{icon.right + kLabelPadding, y, std::max(static_cast<int>(icon.right) + kLabelPadding, right), y + rowHeight_};
      bounds = RECT{x, y, label.right, y + rowHeight_};
      break;
    }
  }
  switch (code) {
    case LVIR_ICON:
      return icon;
    case LVIR_LABEL:
      return label;
    case LVIR_SELECTBOUNDS: {
      RECT u;
      UnionRect(&u, &icon, &label);
      return u;
    }
  }
  return bounds;
}

RECT ListViewState::SubItemRect(int index, int subItem, int code) {
  RECT row = ItemRect(index, LVIR_BOUNDS);
  if (subItem == 0) return code == LVIR_BOUNDS ? row : ItemRect(index, code);
  int left = -xOffset_ + ColumnLeft(subItem);
  RECT cell{left, row.top, left + columns_[static_cast<size_t>(subItem)].width, row.bottom};
  if (code == LVIR_ICON) cell.right = cell.left;
  return cell;
}

int ListViewState::HitTest(POINT p, UINT* flags, int* subItem, bool anyColumn) {
  RECT client;
  GetClientRect(hwnd_, &client);
  *subItem = 0;
  UINT outside = 0;
  if (p.y < client.top) outside |= LVHT_ABOVE;
  if (p.y >= client.bottom) outside |= LVHT_BELOW;
  if (p.x < client.left) outside |= LVHT_TOLEFT;
  if (p.x >= client.right) outside |= LVHT_TORIGHT;
  *flags = outside ? outside : LVHT_NOWHERE;
  RECT area = ListArea();
  // The sub-item hit test of a report finds the row and column under a point left or right of
  // the client area too (the columns reach on beyond it).
  const bool besideReport = anyColumn && Report() && !(outside & (LVHT_ABOVE | LVHT_BELOW));
  if ((outside && !besideReport) || p.y < area.top || Count() == 0) return -1;
  int index = -1;
  switch (View()) {
    case LVS_REPORT:
      index = topRow_ + (p.y - area.top) / std::max(1, rowHeight_);
      break;
    case LVS_ICON: {
      SIZE cell = IconCell();
      int column = p.x / std::max(1, static_cast<int>(cell.cx));
      if (column >= IconColumns()) return -1;
      index = (p.y - area.top + scrollY_) / std::max(1, static_cast<int>(cell.cy)) * IconColumns() + column;
      break;
    }
    case LVS_SMALLICON: {
      int column = p.x / std::max(1, ListCellWidth());
      if (column >= IconColumns()) return -1;
      index = (p.y - area.top + scrollY_) / std::max(1, rowHeight_) * IconColumns() + column;
      break;
    }
    case LVS_LIST: {
      int row = (p.y - area.top) / std::max(1, rowHeight_);
      if (row >= ListRows()) return -1;
      index = (p.x / std::max(1, ListCellWidth()) + firstColumn_) * ListRows() + row;
      break;
    }
  }
  if (!Valid(index)) return -1;
  RECT icon = ItemRect(index, LVIR_ICON);
  RECT label = ItemRect(index, LVIR_LABEL);
  RECT state{icon.left - IconSize(images_[LVSIL_STATE]).cx, icon.top, icon.left, icon.bottom};
  if (View() != LVS_ICON && PtInRect(&state, p)) {
    *flags = LVHT_ONITEMSTATEICON;
    return index;
  }
  if (PtInRect(&icon, p)) {
    *flags = LVHT_ONITEMICON;
    return index;
  }
  if (PtInRect(&label, p)) {
    *flags = LVHT_ONITEMLABEL;
    return index;
  }
  const int column = ColumnAt(p, anyColumn);
  if (column < 0 || (!anyColumn && !(exStyle_ & LVS_EX_FULLROWSELECT))) return -1;
  *subItem = column;
  *flags = LVHT_ONITEMLABEL;
  return index;
}

int ListViewState::TopIndex() const {
  if (Report()) return Count() ? topRow_ : 0;
  if (View() == LVS_LIST) return Count() ? std::min(Count() - 1, firstColumn_ * ListRows()) : 0;
  return 0;
}

int ListViewState::CountPerPage() {
  if (Report()) return FullRows();
  if (View() == LVS_LIST) return ListRows() * VisibleListColumns();
  return Count();
}

int ListViewState::Neighbour(int index, UINT direction) {
  int view = View();
  int count = Count();
  auto valid = [&](int i) { return i >= 0 && i < count ? i : -1; };
  if (view == LVS_REPORT) {
    if (direction & LVNI_ABOVE) return valid(index - 1);
    if (direction & LVNI_BELOW) return valid(index + 1);
    return -1;
  }
  if (view == LVS_LIST) {
    int rows = ListRows();
    if (direction & LVNI_ABOVE) return index % rows ? valid(index - 1) : -1;
    if (direction & LVNI_BELOW) return (index + 1) % rows ? valid(index + 1) : -1;
    if (direction & LVNI_TOLEFT) return valid(index - rows);
    return valid(index + rows);
  }
  int cols = IconColumns();
  if (direction & LVNI_ABOVE) return valid(index - cols);
  if (direction & LVNI_BELOW) return valid(index + cols);
  if (direction & LVNI_TOLEFT) return index % cols ? valid(index - 1) : -1;
  return (index + 1) % cols ? valid(index + 1) : -1;
}

int ListViewState::ContentHeight() {
  if (View() == LVS_ICON) return CeilDiv(Count(), IconColumns()) * IconCell().cy;
  return CeilDiv(Count(), IconColumns()) * rowHeight_;
}

bool ListViewState::MoveScroll(int& position, int value, int last) {
  value = std::clamp(value, 0, std::max(0, last));
  if (value == position) return false;
  EndEdit(true);
  position = value;
  UpdateScroll();
  Redraw();
  return true;
}

int ListViewState::VisibleListColumns() {
  RECT area = ListArea();
  return std::max(1, static_cast<int>(area.right - area.left) / std::max(1, ListCellWidth()));
}

void ListViewState::SetTopRow(int row) { MoveScroll(topRow_, row, Count() - FullRows()); }

void ListViewState::SetXOffset(int x) {
  RECT area = ListArea();
  if (MoveScroll(xOffset_, x, TotalColumnWidth() - static_cast<int>(area.right - area.left))) LayoutHeader();
}

void ListViewState::SetFirstColumn(int column) {
  MoveScroll(firstColumn_, column, CeilDiv(Count(), ListRows()) - VisibleListColumns());
}

void ListViewState::SetScrollY(int y) {
  RECT area = ListArea();
  MoveScroll(scrollY_, y, ContentHeight() - static_cast<int>(area.bottom - area.top));
}

void ListViewState::ScrollBy(int dx, int dy) {
  switch (View()) {
    case LVS_REPORT: {
      int rows = dy / std::max(1, rowHeight_);
      if (rows == 0 && dy != 0) rows = dy > 0 ? 1 : -1;
      SetTopRow(topRow_ + rows);
      SetXOffset(xOffset_ + dx);
      break;
    }
    case LVS_LIST:
      SetFirstColumn(firstColumn_ + dx);  // list views count columns
      break;
    default:
      SetScrollY(scrollY_ + dy);
  }
}

void ListViewState::EnsureVisible(int index, bool partialOk) {
  if (!Valid(index)) return;
  RECT area = ListArea();
  switch (View()) {
    case LVS_REPORT: {
      int rows = FullRows();
      if (index < topRow_) {
        SetTopRow(index);
      } else if (index >= topRow_ + std::max(1, rows)) {
        bool partlyShown = (index - topRow_) * rowHeight_ < area.bottom - area.top;
        if (!(partialOk && partlyShown)) SetTopRow(index - std::max(1, rows) + 1);
      }
      break;
    }
    case LVS_LIST: {
      int column = index / ListRows();
      int visible = VisibleListColumns();
      if (column < firstColumn_)
        SetFirstColumn(column);
      else if (column >= firstColumn_ + visible)
        SetFirstColumn(column - visible + 1);
      break;
    }
    default: {
      RECT r = ItemRect(index, LVIR_BOUNDS);
      if (r.top < area.top)
        SetScrollY(scrollY_ - (area.top - r.top));
      else if (r.bottom > area.bottom && !(partialOk && r.top < area.bottom))
        SetScrollY(scrollY_ + std::min(r.bottom - area.bottom, r.top - area.top));
    }
  }
}

void ListViewState::UpdateScroll() {
  if (!redraw_ || updatingScroll_ || hwnd_ == nullptr) return;
  updatingScroll_ = true;
  // Showing or hiding one bar changes the client area and so what the other needs: settle.
  for (int pass = 0; pass < 3; ++pass) {
    RECT before;
    GetClientRect(hwnd_, &before);
    RECT area = ListArea();
    int width = area.right - area.left, height = area.bottom - area.top;
    SCROLLINFO none{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 1, 0, 0};
    SCROLLINFO vert = none, horz = none;
    if (!(style_ & LVS_NOSCROLL)) {
      switch (View()) {
        case LVS_REPORT:
          topRow_ = std::clamp(topRow_, 0, std::max(0, Count() - FullRows()));
          xOffset_ = std::clamp(xOffset_, 0, std::max(0, TotalColumnWidth() - width));
          vert = SCROLLINFO{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, Count() - 1),
                            static_cast<UINT>(std::max(1, FullRows())), topRow_, 0};
          horz = SCROLLINFO{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, TotalColumnWidth() - 1),
                            static_cast<UINT>(std::max(1, width)), xOffset_, 0};
          break;
        case LVS_LIST: {
          int columns = CeilDiv(Count(), ListRows());
          int visible = VisibleListColumns();
          firstColumn_ = std::clamp(firstColumn_, 0, std::max(0, columns - visible));
          horz = SCROLLINFO{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, columns - 1),
                            static_cast<UINT>(visible), firstColumn_, 0};
          break;
        }
        default: {
          int content = ContentHeight();
          scrollY_ = std::clamp(scrollY_, 0, std::max(0, content - height));
          vert = SCROLLINFO{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, content - 1),
                            static_cast<UINT>(std::max(1, height)), scrollY_, 0};
        }
      }
    }
    SetScrollInfo(hwnd_, SB_VERT, &vert, TRUE);
    SetScrollInfo(hwnd_, SB_HORZ, &horz, TRUE);
    RECT after;
    GetClientRect(hwnd_, &after);
    if (EqualRect(&before, &after)) break;
    LayoutHeader();
  }
  updatingScroll_ = false;
}

void ListViewState::LayoutHeader() {
  if (header_ == nullptr) return;
  if (!Report() || (style_ & LVS_NOCOLUMNHEADER)) {
    ShowWindow(header_, SW_HIDE);
    return;
  }
  RECT client;
  GetClientRect(hwnd_, &client);
  WINDOWPOS pos{};
  HDLAYOUT layout{&client, &pos};
  SendMessage(header_, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
  // The header scrolls sideways with the columns.
  SetWindowPos(header_, nullptr, pos.x - xOffset_, pos.y, pos.cx + xOffset_, pos.cy,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void ListViewState::Relayout() {
  if (hwnd_ == nullptr) return;
  textHeight_ = LineHeight(Font());
  rowHeight_ = std::max(textHeight_ + 2, static_cast<int>(IconSize(images_[LVSIL_SMALL]).cy) + 1);
  LayoutHeader();
  UpdateScroll();
  Redraw();
}

void ListViewState::Redraw() {
  if (redraw_ && hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListViewState::InvalidateItem(int index) {
  if (!redraw_ || !Valid(index)) return;
  RECT r = ItemRect(index, LVIR_BOUNDS);
  if (Report()) {
    RECT client;
    GetClientRect(hwnd_, &client);
    if (r.bottom <= ListArea().top || r.top >= client.bottom) return;
    r.left = client.left;
    r.right = client.right;
  } else {
    InflateRect(&r, 2, 2);
  }
  InvalidateRect(hwnd_, &r, TRUE);
}

void ListViewState::InvalidateFrom(int index) {
  if (!redraw_) return;
  if (!Report()) {
    Redraw();
    return;
  }
  RECT client;
  GetClientRect(hwnd_, &client);
  RECT area = ListArea();
  RECT r{client.left, std::max(area.top, area.top + (index - topRow_) * rowHeight_), client.right, client.bottom};
  if (r.top < r.bottom) InvalidateRect(hwnd_, &r, TRUE);
}

// ---- painting

bool ListViewState::Highlighted(int index) const {
  return (Item(index).state & LVIS_SELECTED) && (focused_ || (style_ & LVS_SHOWSELALWAYS));
}

void ListViewState::DrawImages(HDC hdc, int index, const RECT& icon, int which, bool highlighted) {
  const LvItem& item = Item(index);
  // The state image (1-based in the state bits) stands left of the small icon.
  int stateImage = static_cast<int>((item.state & LVIS_STATEIMAGEMASK) >> 12);
  if (which == LVSIL_SMALL && images_[LVSIL_STATE] && stateImage > 0) {
    SIZE size = IconSize(images_[LVSIL_STATE]);
    ImageList_Draw(images_[LVSIL_STATE], stateImage - 1, hdc, icon.left - size.cx, (icon.top + icon.bottom - size.cy) / 2,
                   ILD_NORMAL);
  }
  HIMAGELIST list = images_[which];
  int image = DisplayImage(index);
  if (list == nullptr || image < 0) return;
  SIZE size = IconSize(list);
  int y = which == LVSIL_SMALL ? (icon.top + icon.bottom - size.cy) / 2 : icon.top;
  UINT style = ((highlighted && focused_) ? ILD_SELECTED : ILD_NORMAL) | (item.state & LVIS_OVERLAYMASK);
  ImageList_Draw(list, image, hdc, icon.left, y, style);
}

void ListViewState::DrawLabel(HDC hdc, const std::string& text, RECT r, UINT format, bool highlighted) {
  COLORREF normal = textColor_ == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : textColor_;
  COLORREF selected = GetSysColor(focused_ ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
  SetTextColor(hdc, !Enabled(hwnd_) ? GetSysColor(COLOR_GRAYTEXT) : highlighted ? selected : normal);
  DrawText(hdc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOPREFIX);
}

void ListViewState::PaintReportRow(HDC hdc, int index, const RECT& clip) {
  if (columns_.empty()) return;
  RECT bounds = ItemRect(index, LVIR_BOUNDS);
  RECT icon = ItemRect(index, LVIR_ICON);
  RECT label = ItemRect(index, LVIR_LABEL);
  bool highlighted = Highlighted(index);
  bool fullRow = (exStyle_ & LVS_EX_FULLROWSELECT) != 0;
  HBRUSH selection = GetSysColorBrush(focused_ ? COLOR_HIGHLIGHT : COLOR_3DFACE);
  std::string text = DisplayText(index, 0);
  SIZE extent{};
  GetTextExtentPoint32(hdc, text.c_str(), static_cast<int>(text.size()), &extent);
  RECT marked{label.left, bounds.top, std::min(static_cast<int>(label.right), static_cast<int>(label.left + extent.cx) + 2 * kLabelPadding),
              bounds.bottom};
  if (fullRow) marked = RECT{label.left, bounds.top, bounds.right, bounds.bottom};
  if (highlighted) FillRect(hdc, &marked, selection);
  int x = bounds.left;
  for (int c = 0; c < static_cast<int>(columns_.size()); ++c) {
    const LvColumn& column = columns_[static_cast<size_t>(c)];
    RECT cell{x, bounds.top, x + column.width, bounds.bottom};
    x += column.width;
    if (cell.right <= clip.left || cell.left >= clip.right || column.width <= 0) continue;
    HRGN region = CreateRectRgn(std::max(cell.left, clip.left), cell.top, std::min(cell.right, clip.right), cell.bottom);
    ExtSelectClipRgn(hdc, region, RGN_AND);
    if (c == 0) {
      DrawImages(hdc, index, icon, LVSIL_SMALL, highlighted);
      RECT r{label.left + kLabelPadding, bounds.top, label.right - kLabelPadding, bounds.bottom};
      DrawLabel(hdc, text, r, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS, highlighted);
    } else {
      RECT r{cell.left + kSubItemPadding, cell.top, cell.right - kSubItemPadding, cell.bottom};
      DrawLabel(hdc, DisplayText(index, c), r, Justification(column.fmt) | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS,
                highlighted && fullRow);
    }
    SelectClipRgn(hdc, nullptr);
    DeleteObject(region);
  }
  if (focused_ && index == focus_) DrawFocusRect(hdc, &marked);
}

void ListViewState::PaintIconItem(HDC hdc, int index) {
  RECT icon = ItemRect(index, LVIR_ICON);
  RECT label = ItemRect(index, LVIR_LABEL);
  bool highlighted = Highlighted(index);
  DrawImages(hdc, index, icon, LVSIL_NORMAL, highlighted);
  if (highlighted) FillRect(hdc, &label, GetSysColorBrush(focused_ ? COLOR_HIGHLIGHT : COLOR_3DFACE));
  RECT r{label.left + 2, label.top + 1, label.right - 2, label.bottom - 1};
  DrawLabel(hdc, DisplayText(index, 0), r, DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS, highlighted);
  if (focused_ && index == focus_) DrawFocusRect(hdc, &label);
}

void ListViewState::PaintListItem(HDC hdc, int index) {
  RECT icon = ItemRect(index, LVIR_ICON);
  RECT label = ItemRect(index, LVIR_LABEL);
  bool highlighted = Highlighted(index);
  DrawImages(hdc, index, icon, LVSIL_SMALL, highlighted);
  if (highlighted) FillRect(hdc, &label, GetSysColorBrush(focused_ ? COLOR_HIGHLIGHT : COLOR_3DFACE));
  RECT r{label.left + kLabelPadding, label.top, label.right - kLabelPadding, label.bottom};
  DrawLabel(hdc, DisplayText(index, 0), r, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS, highlighted);
  if (focused_ && index == focus_) DrawFocusRect(hdc, &label);
}

void ListViewState::Paint(HDC hdc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  RECT box;
  if (GetClipBox(hdc, &box) == ERROR || IsRectEmpty(&box)) box = client;
  IntersectRect(&box, &box, &client);
  int saved = SaveDC(hdc);
  if (bkColor_ != CLR_NONE) {
    HBRUSH background = CreateSolidBrush(bkColor_ == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : bkColor_);
    FillRect(hdc, &box, background);
    DeleteObject(background);
  }
  RECT area = ListArea();
  IntersectClipRect(hdc, area.left, area.top, area.right, area.bottom);
  IntersectRect(&box, &box, &area);
  FontSelection font(hdc, Font());
  SetBkMode(hdc, TRANSPARENT);
  if (!IsRectEmpty(&box) && Count() > 0) {
    switch (View()) {
      case LVS_REPORT: {
        int first = topRow_ + std::max(0, static_cast<int>(box.top - area.top) / rowHeight_);
        int last = std::min(Count() - 1, topRow_ + CeilDiv(box.bottom - area.top, rowHeight_));
        for (int i = first; i <= last; ++i) PaintReportRow(hdc, i, box);
        break;
      }
      case LVS_LIST: {
        int cell = ListCellWidth();
        int rows = ListRows();
        int firstColumn = firstColumn_ + box.left / std::max(1, cell);
        int lastColumn = firstColumn_ + (box.right - 1) / std::max(1, cell);
        for (int c = firstColumn; c <= lastColumn; ++c)
          for (int r = 0; r < rows; ++r)
            if (Valid(c * rows + r)) PaintListItem(hdc, c * rows + r);
        break;
      }
      default: {
        int cellHeight = View() == LVS_ICON ? static_cast<int>(IconCell().cy) : rowHeight_;
        int cols = IconColumns();
        int firstRow = (box.top - area.top + scrollY_) / std::max(1, cellHeight);
        int lastRow = (box.bottom - 1 - area.top + scrollY_) / std::max(1, cellHeight);
        for (int r = firstRow; r <= lastRow; ++r)
          for (int c = 0; c < cols; ++c) {
            int i = r * cols + c;
            if (!Valid(i)) continue;
            if (View() == LVS_ICON)
              PaintIconItem(hdc, i);
            else
              PaintListItem(hdc, i);
          }
      }
    }
  }
  if (Report() && (exStyle_ & LVS_EX_GRIDLINES) && !columns_.empty()) {
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DFACE));
    HGDIOBJ old = SelectObject(hdc, pen);
    int right = -xOffset_ + TotalColumnWidth();
    for (int x = -xOffset_, c = 0; c < static_cast<int>(columns_.size()); ++c) {
      x += columns_[static_cast<size_t>(c)].width;
      MoveToEx(hdc, x - 1, area.top, nullptr);
      LineTo(hdc, x - 1, area.bottom);
    }
    for (int y = area.top + rowHeight_ - 1; y < area.bottom; y += rowHeight_) {
      MoveToEx(hdc, -xOffset_, y, nullptr);
      LineTo(hdc, right, y);
    }
    SelectObject(hdc, old);
    DeleteObject(pen);
  }
  RestoreDC(hdc, saved);
}

// ---- input

void ListViewState::ButtonDown(UINT msg, WPARAM keys, POINT p) {
  bool hadFocus = GetFocus() == hwnd_;
  if (!hadFocus) SetFocus(hwnd_);
  UINT flags = 0;
  int sub = 0;
  int hit = HitTest(p, &flags, &sub);
  KillTimer(hwnd_, kEditLabelTimer);
  bool editable = (style_ & LVS_EDITLABELS) && hadFocus && hit >= 0 && hit == focus_ && (flags & LVHT_ONITEMLABEL) &&
                  (Item(hit).state & LVIS_SELECTED) && !(keys & (MK_SHIFT | MK_CONTROL));
  armedItem_ = msg == WM_LBUTTONDOWN && editable ? hit : -1;
  if (msg == WM_LBUTTONDBLCLK) {
    // The first click of the pair selected already, unless it missed the item.
    if (hit >= 0 && !(Item(hit).state & LVIS_SELECTED)) {
      DeselectAllBut(hit);
      if (Valid(hit)) SetState(hit, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      mark_ = hit;
    }
    NotifyActivate(NM_DBLCLK, hit, sub, p);
    if (hit >= 0) NotifyActivate(LVN_ITEMACTIVATE, hit, sub, p);
    return;
  }
  bool shift = (keys & MK_SHIFT) && !SingleSel();
  bool ctrl = (keys & MK_CONTROL) && !SingleSel();
  deselectOnUp_ = false;
  if (hit < 0) {
    if (!shift && !ctrl) DeselectAllBut(-1);
  } else if (shift) {
    SelectRange(Valid(mark_) ? mark_ : hit, hit, !ctrl);
    SetState(hit, LVIS_FOCUSED, LVIS_FOCUSED);
  } else if (ctrl) {
    UINT selected = (Item(hit).state & LVIS_SELECTED) ? 0 : LVIS_SELECTED;
    SetState(hit, selected | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    mark_ = hit;
  } else {
    if ((Item(hit).state & LVIS_SELECTED) && selectedCount_ > 1)
      deselectOnUp_ = true;
    else
      DeselectAllBut(hit);
    if (Valid(hit)) SetState(hit, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    mark_ = hit;
  }
  tracking_ = true;
  trackItem_ = Valid(hit) ? hit : -1;
  downPoint_ = p;
  SetCapture(hwnd_);
}

void ListViewState::MouseMove(POINT p) {
  if (!tracking_ || !Valid(trackItem_)) return;
  if (std::abs(p.x - downPoint_.x) <= GetSystemMetrics(SM_CXDRAG) &&
      std::abs(p.y - downPoint_.y) <= GetSystemMetrics(SM_CYDRAG))
    return;
  tracking_ = false;
  deselectOnUp_ = false;
  armedItem_ = -1;
  if (GetCapture() == hwnd_) ReleaseCapture();
  NotifyItem(LVN_BEGINDRAG, trackItem_, 0, 0, 0, 0, downPoint_);
}

void ListViewState::ButtonUp(POINT p) {
  if (!tracking_) return;
  tracking_ = false;
  if (GetCapture() == hwnd_) ReleaseCapture();
  if (deselectOnUp_ && Valid(trackItem_)) DeselectAllBut(trackItem_);
  deselectOnUp_ = false;
  UINT flags = 0;
  int sub = 0;
  HitTest(p, &flags, &sub, true);
  NotifyActivate(NM_CLICK, trackItem_, sub, p);
  if (Valid(armedItem_) && armedItem_ == trackItem_) SetTimer(hwnd_, kEditLabelTimer, GetDoubleClickTime(), nullptr);
}

void ListViewState::RightButtonDown(POINT p) {
  if (GetFocus() != hwnd_) SetFocus(hwnd_);
  UINT flags = 0;
  int sub = 0;
  int hit = HitTest(p, &flags, &sub);
  if (hit < 0) {
    DeselectAllBut(-1);
  } else if (!(Item(hit).state & LVIS_SELECTED)) {
    DeselectAllBut(hit);
    if (Valid(hit)) SetState(hit, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    mark_ = hit;
  } else {
    SetState(hit, LVIS_FOCUSED, LVIS_FOCUSED);
  }
}

void ListViewState::RightButtonUp(POINT p) {
  UINT flags = 0;
  int sub = 0;
  int hit = HitTest(p, &flags, &sub);
  // A parent that handled NM_RCLICK (non-zero) wants no context menu message.
  if (NotifyActivate(NM_RCLICK, hit, sub, p)) return;
  POINT screen = p;
  ClientToScreen(hwnd_, &screen);
  SendMessage(hwnd_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd_), MAKELPARAM(screen.x, screen.y));
}

void ListViewState::MoveFocusTo(int index, bool shift, bool ctrl) {
  if (Count() == 0) return;
  index = std::clamp(index, 0, Count() - 1);
  if (SingleSel()) shift = ctrl = false;
  if (ctrl && !shift) {
    SetState(index, LVIS_FOCUSED, LVIS_FOCUSED);
  } else if (shift) {
    SelectRange(Valid(mark_) ? mark_ : index, index, !ctrl);
    SetState(index, LVIS_FOCUSED, LVIS_FOCUSED);
  } else {
    DeselectAllBut(index);
    SetState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    mark_ = index;
  }
  EnsureVisible(index, false);
}

void ListViewState::KeyDown(UINT vk) {
  NMLVKEYDOWN kd{};
  kd.wVKey = static_cast<WORD>(vk);
  Notify(LVN_KEYDOWN, &kd.hdr);
  bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  if (vk == VK_RETURN) {
    NMHDR nm{};
    Notify(NM_RETURN, &nm);
    if (Valid(focus_) && selectedCount_ > 0) NotifyActivate(LVN_ITEMACTIVATE, focus_, 0, POINT{0, 0});
    return;
  }
  if (Count() == 0) return;
  if (vk == VK_F2) {
    if ((style_ & LVS_EDITLABELS) && Valid(focus_)) EditLabel(focus_);
    return;
  }
  if (vk == VK_SPACE) {
    if (!Valid(focus_)) return;
    if (ctrl && !SingleSel()) {
      SetState(focus_, (Item(focus_).state & LVIS_SELECTED) ? 0 : LVIS_SELECTED, LVIS_SELECTED);
    } else {
      if (SingleSel() || !shift) DeselectAllBut(focus_);
      SetState(focus_, LVIS_SELECTED, LVIS_SELECTED);
    }
    mark_ = focus_;
    return;
  }
  int current = focus_;
  int target = -1;
  int view = View();
  int across = (view == LVS_ICON || view == LVS_SMALLICON) ? IconColumns() : 1;
  int page = std::max(1, FullRows());
  if (view == LVS_ICON) page = std::max(1, (ListArea().bottom - ListArea().top) / std::max(1, static_cast<int>(IconCell().cy)));
  switch (vk) {
    case VK_HOME:
      target = 0;
      break;
    case VK_END:
      target = Count() - 1;
      break;
    case VK_UP:
      target = current - across;
      break;
    case VK_DOWN:
      target = current + across;
      break;
    case VK_LEFT:
      if (view == LVS_REPORT) {
        SetXOffset(xOffset_ - kLineScroll);
        return;
      }
      target = view == LVS_LIST ? current - ListRows() : current - 1;
      break;
    case VK_RIGHT:
      if (view == LVS_REPORT) {
        SetXOffset(xOffset_ + kLineScroll);
        return;
      }
      target = view == LVS_LIST ? current + ListRows() : current + 1;
      break;
    case VK_PRIOR:
      if (view == LVS_REPORT || view == LVS_LIST) {
        int top = TopIndex();
        target = current > top ? top : current - std::max(1, page - 1);
      } else {
        target = current - across * page;
      }
      break;
    case VK_NEXT:
      if (view == LVS_REPORT || view == LVS_LIST) {
        int bottom = std::min(Count() - 1, TopIndex() + std::max(1, page) - 1);
        target = current < bottom ? bottom : current + std::max(1, page - 1);
      } else {
        target = current + across * page;
      }
      break;
    default:
      return;
  }
  if (!Valid(current)) target = 0;  // the first key with no focus item lands on the first item
  // Moving past either end of an icon grid stays put; the other keys stop at the ends.
  if ((view == LVS_ICON || view == LVS_SMALLICON) && (vk == VK_UP || vk == VK_DOWN) && !Valid(target)) return;
  MoveFocusTo(target, shift, ctrl);
}

void ListViewState::Search(char ch) {
  if (Count() == 0) return;
  DWORD now = static_cast<DWORD>(GetMessageTime());
  if (now - searchTime_ > 1000) search_.clear();
  searchTime_ = now;
  search_.push_back(ch);
  // A repeated first letter steps through the items that start with it.
  LVFINDINFO find{};
  find.flags = LVFI_STRING | LVFI_PARTIAL | LVFI_WRAP;
  find.psz = search_.c_str();
  int found = Find(search_.size() == 1 ? focus_ : focus_ - 1, &find);
  if (found < 0 && search_.size() > 1) {
    search_.assign(1, ch);
    find.psz = search_.c_str();
    found = Find(focus_, &find);
  }
  if (found >= 0) MoveFocusTo(found, false, false);
}

void ListViewState::Scroll(int bar, WORD code, int thumb) {
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
  if (GetScrollInfo(hwnd_, bar, &si)) thumb = si.nTrackPos;
  RECT area = ListArea();
  // Where a scroll-bar request leads from `position`, in the units of the view's bar.
  auto target = [&](int position, int line, int page, int end) {
    switch (code) {
      case SB_LINEUP: return position - line;
      case SB_LINEDOWN: return position + line;
      case SB_PAGEUP: return position - page;
      case SB_PAGEDOWN: return position + page;
      case SB_TOP: return 0;
      case SB_BOTTOM: return end;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: return thumb;
    }
    return position;
  };
  int view = View();
  if (bar == SB_VERT && view == LVS_REPORT)
    SetTopRow(target(topRow_, 1, std::max(1, FullRows()), Count()));
  else if (bar == SB_HORZ && view == LVS_REPORT)
    SetXOffset(target(xOffset_, kLineScroll, area.right - area.left, TotalColumnWidth()));
  else if (bar == SB_HORZ && view == LVS_LIST)
    SetFirstColumn(target(firstColumn_, 1, VisibleListColumns(), Count()));
  else if (bar == SB_VERT && (view == LVS_ICON || view == LVS_SMALLICON))
    SetScrollY(target(scrollY_, view == LVS_ICON ? static_cast<int>(IconCell().cy) / 2 : rowHeight_,
                      area.bottom - area.top, ContentHeight()));
}

}  // namespace brambolt::ctl
