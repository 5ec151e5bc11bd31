// Arranging MDI children: cascade, tile both ways and the icon slots of minimised children.
#include <algorithm>
#include <cmath>

#include "gdi/SysColors.h"
#include "win/MdiInternal.h"

namespace brambolt::mdi {
namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

SIZE IconSize() { return SIZE{GetSystemMetrics(SM_CXMINIMIZED), GetSystemMetrics(SM_CYMINIMIZED)}; }

int IconsPerRow(const RECT& area) { return std::max(1, Width(area) / IconSize().cx); }

}  // namespace

int CascadeStep() { return GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME); }

std::vector<RECT> CascadeRects(const RECT& area, int count) {
  std::vector<RECT> rects;
  if (count <= 0) return rects;
  int step = CascadeStep();
  // Each window is as large as the stair of all of them allows, but never below two thirds of the
  // client; past that the stair starts again at the top-left corner.
  int cx = std::max(Width(area) - step * (count - 1), Width(area) * 2 / 3);
  int cy = std::max(Height(area) - step * (count - 1), Height(area) * 2 / 3);
  int levels = std::max(1, std::min((Width(area) - cx) / step, (Height(area) - cy) / step) + 1);
  for (int i = 0; i < count; ++i) {
    int offset = (i % levels) * step;
    rects.push_back(RECT{area.left + offset, area.top + offset, area.left + offset + cx, area.top + offset + cy});
  }
  return rects;
}

std::vector<RECT> TileRects(const RECT& area, int count, bool horizontal) {
  std::vector<RECT> rects;
  if (count <= 0) return rects;
  // Up to three windows share one lane each; more make a grid of about square lanes, the later
  // lanes taking the extra windows.
  int lanes = count <= 3 ? count : static_cast<int>(std::sqrt(static_cast<double>(count)));
  int across = horizontal ? Height(area) : Width(area);
  int along = horizontal ? Width(area) : Height(area);
  int done = 0;
  for (int lane = 0; lane < lanes; ++lane) {
    int inLane = count <= 3 ? 1 : count / lanes + (lane >= lanes - count % lanes ? 1 : 0);
    int a0 = across * lane / lanes, a1 = across * (lane + 1) / lanes;
    for (int k = 0; k < inLane; ++k, ++done) {
      int b0 = along * k / inLane, b1 = along * (k + 1) / inLane;
      RECT r = horizontal ? RECT{b0, a0, b1, a1} : RECT{a0, b0, a1, b1};
      OffsetRect(&r, area.left, area.top);
      rects.push_back(r);
    }
  }
  return rects;
}

RECT IconSlotRect(const RECT& area, int index) {
  SIZE icon = IconSize();
  int perRow = IconsPerRow(area);
  int row = index / perRow, column = index % perRow;
  int x = area.left + column * icon.cx;
  int y = area.bottom - (row + 1) * icon.cy;
  return RECT{x, y, x + icon.cx, y + icon.cy};
}

int IconRowsHeight(const RECT& area, int icons) {
  if (icons <= 0) return 0;
  int perRow = IconsPerRow(area);
  return (icons + perRow - 1) / perRow * IconSize().cy;
}

std::vector<HWND> Arrangeable(const Client& c, UINT flags, bool iconic) {
  std::vector<HWND> result;
  for (HWND h = GetWindow(c.hwnd, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
    if (std::find(c.children.begin(), c.children.end(), h) == c.children.end()) continue;
    if (!IsWindowVisible(h) || (IsIconic(h) != FALSE) != iconic) continue;
    if ((flags & MDITILE_SKIPDISABLED) && !IsWindowEnabled(h)) continue;
    result.push_back(h);
  }
  return result;
}

namespace {

RECT ClientArea(const Client& c) {
  RECT area;
  GetClientRect(c.hwnd, &area);
  return area;
}

// Restores a maximised child before the others are arranged around it.
void RestoreMaximized(Client& c) {
  if (c.active != nullptr && IsZoomed(c.active)) ShowWindow(c.active, SW_RESTORE);
}

void Place(const std::vector<HWND>& windows, const std::vector<RECT>& rects) {
  for (size_t i = 0; i < windows.size() && i < rects.size(); ++i) {
    const RECT& r = rects[i];
    SetWindowPos(windows[i], nullptr, r.left, r.top, Width(r), Height(r), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// The client area less the rows the icons take.
RECT AreaAboveIcons(Client& c) {
  RECT area = ClientArea(c);
  int icons = static_cast<int>(Arrangeable(c, 0, true).size());
  area.bottom -= IconRowsHeight(area, icons);
  if (area.bottom < area.top) area.bottom = area.top;
  return area;
}

}  // namespace

void Cascade(Client& c, UINT flags) {
  RestoreMaximized(c);
  ArrangeIcons(c);
  std::vector<HWND> windows = Arrangeable(c, flags, false);
  // The bottom window goes first, so the stair ends with the topmost one in front.
  std::reverse(windows.begin(), windows.end());
  Place(windows, CascadeRects(AreaAboveIcons(c), static_cast<int>(windows.size())));
}

void Tile(Client& c, UINT flags) {
  RestoreMaximized(c);
  ArrangeIcons(c);
  std::vector<HWND> windows = Arrangeable(c, flags, false);
  Place(windows, TileRects(AreaAboveIcons(c), static_cast<int>(windows.size()), (flags & MDITILE_HORIZONTAL) != 0));
}

void ArrangeIcons(Client& c) {
  std::vector<HWND> icons = Arrangeable(c, 0, true);
  // Icons keep their order: left to right, bottom row first.
  std::sort(icons.begin(), icons.end(), [](HWND a, HWND b) {
    RECT ra, rb;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.bottom != rb.bottom ? ra.bottom > rb.bottom : ra.left < rb.left;
  });
  RECT area = ClientArea(c);
  for (size_t i = 0; i < icons.size(); ++i) {
    RECT r = IconSlotRect(area, static_cast<int>(i));
    SetWindowPos(icons[i], nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

POINT FreeIconSlot(Client& c, HWND child) {
  RECT area = ClientArea(c);
  std::vector<RECT> taken;
  for (HWND h : Arrangeable(c, 0, true)) {
    if (h == child) continue;
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, c.hwnd, reinterpret_cast<POINT*>(&r), 2);
    taken.push_back(r);
  }
  for (int i = 0;; ++i) {
    RECT slot = IconSlotRect(area, i), overlap;
    bool free = std::none_of(taken.begin(), taken.end(), [&](const RECT& r) { return IntersectRect(&overlap, &r, &slot); });
    if (free || i > 4096) return POINT{slot.left, slot.top};
  }
}

}  // namespace brambolt::mdi
