#include <array>
#include <map>
#include <string>

#include "WinTestSupport.h"

using namespace wintest;
using brambolt::test::RunUntilIdle;
using brambolt::test::WindowPixel;

class Painting : public WinTest {};

namespace {

RECT UpdateRect(HWND w) {
  RECT r{};
  GetUpdateRect(w, &r, FALSE);
  return r;
}

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Paints the whole client area of every window in one colour per window, remembered here.
std::map<HWND, COLORREF>& Colours() {
  static std::map<HWND, COLORREF> colours;
  return colours;
}

void PaintWithColours() {
  MessageLog::Instance().SetHandler([](HWND h, UINT msg, WPARAM, LPARAM, LRESULT& r) {
    if (msg == WM_ERASEBKGND) {
      r = 1;
      return true;
    }
    if (msg != WM_PAINT) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT c;
    GetClientRect(h, &c);
    HBRUSH b = CreateSolidBrush(Colours()[h]);
    FillRect(dc, &c, b);
    DeleteObject(b);
    EndPaint(h, &ps);
    return true;
  });
}

}  // namespace

TEST_F(Painting, InvalidatedAreasAccumulateAndValidateRemovesThem) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 100});
  RunUntilIdle();
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
  RECT a{10, 10, 20, 20}, b{50, 30, 60, 40};
  InvalidateRect(w, &a, FALSE);
  InvalidateRect(w, &b, FALSE);
  EXPECT_TRUE(Same(UpdateRect(w), RECT{10, 10, 60, 40}));
  HRGN rgn = CreateRectRgn(0, 0, 1, 1);
  EXPECT_EQ(GetUpdateRgn(w, rgn, FALSE), COMPLEXREGION);
  ValidateRect(w, &a);
  EXPECT_TRUE(Same(UpdateRect(w), b));
  ValidateRect(w, nullptr);
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
  EXPECT_EQ(GetUpdateRgn(w, rgn, FALSE), NULLREGION);
  DeleteObject(rgn);
  // Invalidation is clipped to the client area.
  RECT outside{150, 50, 400, 400};
  InvalidateRect(w, &outside, FALSE);
  EXPECT_TRUE(Same(UpdateRect(w), RECT{150, 50, 200, 100}));
}

TEST_F(Painting, PaintStructCoversTheUpdateAreaAndErasesOnce) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 100});
  RunUntilIdle();
  PAINTSTRUCT seen{};
  int erases = 0;
  MessageLog::Instance().SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_ERASEBKGND) ++erases;
    if (msg != WM_PAINT) return false;
    BeginPaint(h, &seen);
    EndPaint(h, &seen);
    return true;
  });
  RECT r{5, 6, 25, 26};
  InvalidateRect(w, &r, TRUE);
  InvalidateRect(w, &r, TRUE);
  RunUntilIdle();
  EXPECT_EQ(erases, 1);
  EXPECT_TRUE(Same(seen.rcPaint, r));
  EXPECT_FALSE(seen.fErase);  // the class brush erased it
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
  InvalidateRect(w, &r, FALSE);
  RunUntilIdle();
  EXPECT_EQ(erases, 1);
}

TEST_F(Painting, PaintComesAfterPostedMessagesAndParentsBeforeChildren) {
  HWND parent = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 200});
  HWND child = MakeWindow(parent, WS_VISIBLE, RECT{10, 10, 50, 50}, 1);
  RunUntilIdle();
  MessageLog::Instance().Clear();
  InvalidateRect(parent, nullptr, TRUE);  // no WS_CLIPCHILDREN: the child is invalidated too
  PostMessage(parent, WM_USER, 0, 0);
  RunUntilIdle();
  auto seq = MessageLog::Instance().Sequence({WM_USER, WM_PAINT});
  std::vector<std::pair<HWND, UINT>> expected = {{parent, WM_USER}, {parent, WM_PAINT}, {child, WM_PAINT}};
  EXPECT_EQ(seq, expected);
}

// A frame without WS_CLIPCHILDREN shown and sized at once, whose view paints itself while the
// frame lays it out (as an editor view does in WM_SIZE): the frame's background is erased before
// it hears of its size, so its later paint leaves the view's pixels alone.
TEST_F(Painting, AWindowShownIsErasedBeforeItsChildrenPaintThemselvesWhileSized) {
  HWND top = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, RECT{0, 0, 300, 200});
  HWND frame = MakeWindow(top, WS_CHILD, RECT{20, 20, 60, 60}, 1);
  HWND view = MakeWindow(frame, WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, 2);
  RunUntilIdle();
  MessageLog::Instance().SetHandler([&](HWND h, UINT msg, WPARAM, LPARAM lParam, LRESULT& r) {
    if (h == frame && msg == WM_SIZE) {
      MoveWindow(view, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      UpdateWindow(view);
      r = 0;
      return true;
    }
    if (h != view || (msg != WM_PAINT && msg != WM_ERASEBKGND)) return false;
    r = 1;
    if (msg == WM_ERASEBKGND) return true;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT c;
    GetClientRect(h, &c);
    HBRUSH b = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &c, b);
    DeleteObject(b);
    EndPaint(h, &ps);
    return true;
  });
  MessageLog::Instance().Clear();
  SetWindowPos(frame, nullptr, 10, 10, 200, 150, SWP_SHOWWINDOW | SWP_NOZORDER);
  auto order = MessageLog::Instance().For(frame, {WM_ERASEBKGND, WM_WINDOWPOSCHANGED});
  EXPECT_EQ(order, (std::vector<UINT>{WM_ERASEBKGND, WM_WINDOWPOSCHANGED}));
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(view, 100, 70), RGB(255, 0, 0));
  // Moved without a redraw, nothing is painted at once.
  MessageLog::Instance().Clear();
  SetWindowPos(frame, nullptr, 0, 0, 220, 160, SWP_NOZORDER | SWP_NOREDRAW);
  EXPECT_TRUE(MessageLog::Instance().For(frame, {WM_ERASEBKGND}).empty());
}

TEST_F(Painting, ClipChildrenKeepsInvalidationAndPixelsOutOfChildren) {
  HWND parent = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, RECT{0, 0, 100, 100});
  HWND child = MakeWindow(parent, WS_VISIBLE, RECT{20, 20, 60, 60}, 1);
  Colours()[parent] = RGB(255, 0, 0);
  Colours()[child] = RGB(0, 0, 255);
  PaintWithColours();
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(parent, 5, 5), RGB(255, 0, 0));
  EXPECT_EQ(WindowPixel(parent, 30, 30), RGB(0, 0, 255));
  MessageLog::Instance().Clear();
  InvalidateRect(parent, nullptr, FALSE);
  EXPECT_FALSE(GetUpdateRect(child, nullptr, FALSE));
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(parent, 30, 30), RGB(0, 0, 255));  // the parent painted around the child
  EXPECT_TRUE(MessageLog::Instance().For(child, {WM_PAINT}).empty());
  // Without the style the parent paints over the child, which then paints itself again.
  SetWindowLongPtr(parent, GWL_STYLE, WS_POPUP | WS_VISIBLE);
  MessageLog::Instance().Clear();
  InvalidateRect(parent, nullptr, FALSE);
  EXPECT_TRUE(GetUpdateRect(child, nullptr, FALSE));
  RunUntilIdle();
  EXPECT_EQ(MessageLog::Instance().For(child, {WM_PAINT}).size(), 1u);
  EXPECT_EQ(WindowPixel(parent, 30, 30), RGB(0, 0, 255));
}

// A window that does not clip its children paints over them: a child that painted before it (at
// once, as a view laid out by its frame does) paints again after it, and so do the child's own
// children, even where the child clips them (a menu bar on a dock bar of a frame).
TEST_F(Painting, AChildThatPaintedBeforeAParentThatDoesNotClipItPaintsAgainAfterIt) {
  HWND parent = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  HWND child = MakeWindow(parent, WS_VISIBLE | WS_CLIPCHILDREN, RECT{20, 20, 60, 60}, 1);
  HWND grandchild = MakeWindow(child, WS_VISIBLE, RECT{5, 5, 15, 15}, 2);
  Colours()[parent] = RGB(255, 0, 0);
  Colours()[child] = RGB(0, 0, 255);
  Colours()[grandchild] = RGB(0, 255, 0);
  PaintWithColours();
  RunUntilIdle();
  InvalidateRect(parent, nullptr, TRUE);
  UpdateWindow(child);
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(parent, 45, 45), RGB(0, 0, 255));
  EXPECT_EQ(WindowPixel(parent, 30, 30), RGB(0, 255, 0));
  EXPECT_EQ(WindowPixel(parent, 10, 10), RGB(255, 0, 0));
}

TEST_F(Painting, ClipSiblingsKeepsAWindowOutOfTheSiblingsAboveIt) {
  HWND parent = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, RECT{0, 0, 100, 100});
  HWND top = MakeWindow(parent, WS_VISIBLE | WS_CLIPSIBLINGS, RECT{0, 0, 50, 50}, 1);
  HWND below = MakeWindow(parent, WS_VISIBLE | WS_CLIPSIBLINGS, RECT{25, 25, 75, 75}, 2);
  Colours()[parent] = RGB(0, 0, 0);
  Colours()[top] = RGB(0, 255, 0);
  Colours()[below] = RGB(0, 0, 255);
  PaintWithColours();
  RunUntilIdle();
  InvalidateRect(below, nullptr, FALSE);
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(parent, 40, 40), RGB(0, 255, 0));
  EXPECT_EQ(WindowPixel(parent, 60, 60), RGB(0, 0, 255));
}

TEST_F(Painting, UpdateWindowPaintsAtOnceAndRedrawWindowFollowsItsFlags) {
  HWND parent = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, RECT{0, 0, 100, 100});
  HWND child = MakeWindow(parent, WS_VISIBLE, RECT{20, 20, 60, 60}, 1);
  RunUntilIdle();
  MessageLog::Instance().Clear();
  InvalidateRect(parent, nullptr, FALSE);
  UpdateWindow(parent);
  EXPECT_EQ(MessageLog::Instance().For(parent, {WM_PAINT}).size(), 1u);
  RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  EXPECT_TRUE(GetUpdateRect(child, nullptr, FALSE));
  RedrawWindow(parent, nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN);
  EXPECT_FALSE(GetUpdateRect(child, nullptr, FALSE));
  MessageLog::Instance().Clear();
  RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_EQ(MessageLog::Instance().For(parent, {WM_NCPAINT, WM_ERASEBKGND, WM_PAINT}),
            (std::vector<UINT>{WM_NCPAINT, WM_ERASEBKGND, WM_PAINT}));
  EXPECT_EQ(MessageLog::Instance().For(child, {WM_PAINT}).size(), 1u);
  MessageLog::Instance().Clear();
  RedrawWindow(parent, nullptr, nullptr, RDW_INTERNALPAINT);
  // UpdateWindow paints a window whose update region is not empty, never one asked for an
  // internal paint only: that one comes from the queue.
  UpdateWindow(parent);
  EXPECT_TRUE(MessageLog::Instance().For(parent, {WM_PAINT}).empty());
  RunUntilIdle();
  EXPECT_EQ(MessageLog::Instance().For(parent, {WM_PAINT}).size(), 1u);
}

TEST_F(Painting, ScrollWindowExMovesPixelsAndInvalidatesWhatItUncovers) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  RunUntilIdle();
  HDC dc = GetDC(w);
  RECT band{0, 40, 100, 50};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &band, red);
  DeleteObject(red);
  ReleaseDC(w, dc);
  ASSERT_EQ(WindowPixel(w, 10, 45), RGB(255, 0, 0));
  RECT uncovered{};
  int type = ScrollWindowEx(w, 0, -30, nullptr, nullptr, nullptr, &uncovered, SW_INVALIDATE);
  EXPECT_EQ(type, SIMPLEREGION);
  EXPECT_EQ(WindowPixel(w, 10, 15), RGB(255, 0, 0));  // the band moved up 30 pixels
  EXPECT_TRUE(Same(uncovered, RECT{0, 70, 100, 100}));
  EXPECT_TRUE(Same(UpdateRect(w), RECT{0, 70, 100, 100}));
}

TEST_F(Painting, ScrollingMovesAPendingUpdateAndChildrenWhenAsked) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  HWND child = MakeWindow(w, WS_VISIBLE, RECT{10, 10, 20, 20}, 1);
  RunUntilIdle();
  RECT pending{0, 50, 10, 60};
  InvalidateRect(w, &pending, FALSE);
  ValidateRect(child, nullptr);
  ScrollWindowEx(w, 5, 0, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN);
  // Without SW_INVALIDATE only the pending area remains, moved with the contents.
  EXPECT_TRUE(Same(UpdateRect(w), RECT{5, 50, 15, 60}));
  RECT cr;
  GetWindowRect(child, &cr);
  EXPECT_EQ(cr.left, 15);
}

TEST_F(Painting, WindowDCsDrawAtTheWindowCornerAndClientDCsInTheClientArea) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE | WS_BORDER, RECT{0, 0, 50, 50});
  RunUntilIdle();
  HDC dc = GetWindowDC(w);
  SetPixel(dc, 0, 0, RGB(1, 2, 3));
  ReleaseDC(w, dc);
  EXPECT_EQ(WindowPixel(w, 0, 0), RGB(1, 2, 3));
  dc = GetDC(w);
  SetPixel(dc, 0, 0, RGB(4, 5, 6));
  SetPixel(dc, -1, -1, RGB(7, 8, 9));  // outside the client area: clipped
  ReleaseDC(w, dc);
  EXPECT_EQ(WindowPixel(w, 1, 1), RGB(4, 5, 6));
  EXPECT_EQ(WindowPixel(w, 0, 0), RGB(1, 2, 3));
  EXPECT_EQ(WindowFromDC(dc), nullptr);
}

TEST_F(Painting, HiddenAndLockedWindowsDrawNothing) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 50, 50});
  RunUntilIdle();
  ASSERT_TRUE(LockWindowUpdate(w));
  HDC dc = GetDC(w);
  SetPixel(dc, 3, 3, RGB(9, 9, 9));
  ReleaseDC(w, dc);
  EXPECT_NE(WindowPixel(w, 3, 3), RGB(9, 9, 9));
  HWND other = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE);
  EXPECT_FALSE(LockWindowUpdate(other));  // one window at a time
  LockWindowUpdate(nullptr);
  EXPECT_TRUE(GetUpdateRect(w, nullptr, FALSE));  // what was missed is painted again
}

TEST_F(Painting, DesktopDrawingIsAnXorOverlayOverTheScreen) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 50, 50});
  RunUntilIdle();
  brambolt::Surface before(1, 1), after(1, 1), again(1, 1);
  brambolt::ComposeScreen(before);
  auto drawRect = [] {
    HDC dc = GetDCEx(nullptr, nullptr, DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    PatBlt(dc, 10, 10, 20, 20, DSTINVERT);
    ReleaseDC(nullptr, dc);
  };
  drawRect();
  brambolt::ComposeScreen(after);
  EXPECT_EQ(after.GetPixel(15, 15), (~before.GetPixel(15, 15)) & 0x00FFFFFFu);
  EXPECT_EQ(after.GetPixel(40, 40), before.GetPixel(40, 40));
  drawRect();
  brambolt::ComposeScreen(again);
  EXPECT_EQ(again.GetPixel(15, 15), before.GetPixel(15, 15));
  (void)w;
}

// A drag outline drawn over a locked desktop: the unlock repaints the windows, while the desktop
// itself paints nothing over the screen (its background would cover every window).
TEST_F(Painting, UnlockingTheDesktopRepaintsTheWindowsAndLeavesTheScreenAsItWas) {
  HWND w = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 50, 50});
  RunUntilIdle();
  brambolt::Surface before(1, 1), after(1, 1);
  brambolt::ComposeScreen(before);
  HWND desktop = GetDesktopWindow();
  ASSERT_TRUE(LockWindowUpdate(desktop));
  for (int pass = 0; pass < 2; ++pass) {
    HDC dc = GetDCEx(desktop, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    PatBlt(dc, 10, 10, 20, 20, DSTINVERT);
    ReleaseDC(desktop, dc);
  }
  LockWindowUpdate(nullptr);
  EXPECT_TRUE(GetUpdateRect(w, nullptr, FALSE));
  UpdateWindow(desktop);
  RunUntilIdle();
  brambolt::ComposeScreen(after);
  int changed = 0;
  for (int y = 0; y < before.Height(); y += 7)
    for (int x = 0; x < before.Width(); x += 7) changed += after.GetPixel(x, y) != before.GetPixel(x, y);
  EXPECT_EQ(changed, 0);
}

TEST_F(Painting, TheDisplayDeviceContextDrawsOnTheScreen) {
  brambolt::Surface before(1, 1), after(1, 1);
  brambolt::ComposeScreen(before);
  HDC dc = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
  ASSERT_NE(dc, nullptr);
  PatBlt(dc, 100, 100, 10, 10, DSTINVERT);
  DeleteDC(dc);
  brambolt::ComposeScreen(after);
  EXPECT_EQ(after.GetPixel(105, 105), (~before.GetPixel(105, 105)) & 0x00FFFFFFu);
  dc = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
  PatBlt(dc, 100, 100, 10, 10, DSTINVERT);
  DeleteDC(dc);
}

namespace {

// The rectangles of a window's update region, in client coordinates, as one comparable list.
std::vector<std::array<LONG, 4>> UpdateRects(HWND w) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  GetUpdateRgn(w, rgn, FALSE);
  std::vector<std::array<LONG, 4>> out;
  DWORD size = GetRegionData(rgn, 0, nullptr);
  std::vector<char> bytes(size);
  auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
  GetRegionData(rgn, size, data);
  const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
  for (DWORD i = 0; i < data->rdh.nCount; ++i) out.push_back({rects[i].left, rects[i].top, rects[i].right, rects[i].bottom});
  DeleteObject(rgn);
  return out;
}

using Rects = std::vector<std::array<LONG, 4>>;

// A class that redraws on resizing as `style` (CS_HREDRAW, CS_VREDRAW) says.
const char* RedrawClass(UINT style = CS_HREDRAW | CS_VREDRAW) {
  static std::map<UINT, std::string> names;
  auto [it, added] = names.emplace(style, "RedrawWnd" + std::to_string(style));
  if (added) {
    WNDCLASS wc{};
    wc.style = style;
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = it->second.c_str();
    RegisterClass(&wc);
  }
  return it->second.c_str();
}

}  // namespace

// What SetWindowPos leaves to repaint: the part of a child that a resize uncovers (all of it for a
// class that redraws on resizing), the part of the parent a child leaves, nothing of a moved
// child whose pixels are carried along; an invalidated rectangle is in the region at once.
TEST_F(Painting, SetWindowPosInvalidatesOnlyWhatItUncovers) {
  HWND parent = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 300, 200});
  HWND child = MakeWindow(parent, WS_VISIBLE, RECT{10, 10, 50, 50});
  HWND redraw = CreateWindowEx(0, RedrawClass(), "", WS_CHILD | WS_VISIBLE, 200, 100, 40, 40, parent, nullptr, nullptr, nullptr);
  Colours()[parent] = RGB(255, 0, 0);
  Colours()[child] = RGB(0, 0, 255);
  PaintWithColours();
  RunUntilIdle();
  ASSERT_TRUE(UpdateRects(parent).empty());

  RECT some{5, 6, 15, 17};
  InvalidateRect(child, &some, FALSE);
  EXPECT_EQ(UpdateRects(child), (Rects{{5, 6, 15, 17}}));
  ValidateRect(child, nullptr);

  SetWindowPos(child, nullptr, 0, 0, 60, 50, SWP_NOMOVE | SWP_NOZORDER);  // larger: bands at the right and below
  EXPECT_EQ(UpdateRects(child), (Rects{{40, 0, 60, 40}, {0, 40, 60, 50}}));
  EXPECT_TRUE(UpdateRects(parent).empty());
  RunUntilIdle();

  SetWindowPos(child, nullptr, 0, 0, 30, 30, SWP_NOMOVE | SWP_NOZORDER);  // smaller: the parent shows again
  EXPECT_TRUE(UpdateRects(child).empty());
  EXPECT_EQ(UpdateRects(parent), (Rects{{40, 10, 70, 40}, {10, 40, 70, 60}}));
  RunUntilIdle();

  SetWindowPos(child, nullptr, 100, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // moved: the pixels go along
  EXPECT_TRUE(UpdateRects(child).empty());
  EXPECT_EQ(WindowPixel(parent, 115, 25), RGB(0, 0, 255));
  EXPECT_EQ(UpdateRects(parent), (Rects{{10, 10, 40, 40}}));
  RunUntilIdle();

  SetWindowPos(redraw, nullptr, 0, 0, 50, 40, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(UpdateRects(redraw), (Rects{{0, 0, 50, 40}}));
}

// What SetWindowPos leaves to repaint of a child and its parent, by the documented rules: a
// resized child keeps the valid pixels of its client area (its frame is painted again), CS_HREDRAW
// repaints everything only when the width changes, SWP_NOCOPYBITS discards the client area,
// SWP_NOREDRAW leaves everything to the caller, and the parent repaints only what of the child
// showed before (not the part a sibling above covered) and no longer does.
TEST_F(Painting, AChildMovedBySetWindowPosLeavesTheDocumentedUpdateRegions) {
  HWND parent = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 300, 200});
  HWND above = MakeWindow(parent, WS_VISIBLE, RECT{100, 100, 140, 140}, 1);
  HWND below = MakeWindow(parent, WS_VISIBLE | WS_CLIPSIBLINGS, RECT{120, 120, 160, 160}, 2);
  HWND framed = MakeWindow(parent, WS_VISIBLE | WS_BORDER, RECT{10, 10, 52, 52}, 3);
  HWND wide = CreateWindowEx(0, RedrawClass(CS_HREDRAW), "", WS_CHILD | WS_VISIBLE, 200, 20, 40, 40, parent, nullptr,
                             nullptr, nullptr);
  Colours()[parent] = RGB(255, 0, 0);
  Colours()[framed] = RGB(0, 0, 255);
  Colours()[above] = Colours()[below] = RGB(0, 255, 0);
  PaintWithColours();
  RunUntilIdle();
  ASSERT_TRUE(UpdateRects(parent).empty());
  RECT client;
  ASSERT_TRUE(GetClientRect(framed, &client));
  ASSERT_EQ(client.right, 40);

  MessageLog::Instance().Clear();
  SetWindowPos(framed, nullptr, 0, 0, 62, 52, SWP_NOMOVE | SWP_NOZORDER);  // client 40x40 -> 60x50
  EXPECT_EQ(UpdateRects(framed), (Rects{{40, 0, 60, 40}, {0, 40, 60, 50}}));
  EXPECT_FALSE(MessageLog::Instance().For(framed, {WM_NCPAINT}).empty()) << "the frame is drawn anew";
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(framed, 41, 20), RGB(0, 0, 255)) << "where the old right border was";

  SetWindowPos(wide, nullptr, 0, 0, 40, 60, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(UpdateRects(wide), (Rects{{0, 40, 40, 60}})) << "CS_HREDRAW and only the height changed";
  SetWindowPos(wide, nullptr, 0, 0, 50, 60, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(UpdateRects(wide), (Rects{{0, 0, 50, 60}}));
  RunUntilIdle();

  SetWindowPos(framed, nullptr, 20, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOCOPYBITS);
  EXPECT_EQ(UpdateRects(framed), (Rects{{0, 0, 60, 50}}));
  EXPECT_EQ(UpdateRects(parent), (Rects{{10, 10, 20, 62}}));
  RunUntilIdle();

  SetWindowPos(framed, nullptr, 40, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
  EXPECT_TRUE(UpdateRects(framed).empty());
  EXPECT_TRUE(UpdateRects(parent).empty());
  RunUntilIdle();

  SetWindowPos(below, nullptr, 200, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_TRUE(UpdateRects(above).empty());
  EXPECT_EQ(UpdateRects(below), (Rects{{0, 0, 20, 20}})) << "the part the sibling hid shows now";
  EXPECT_EQ(UpdateRects(parent), (Rects{{140, 120, 160, 140}, {120, 140, 160, 160}}));
}

// GetUpdateRgn and GetUpdateRect asked to erase first send the pending WM_NCPAINT, then erase.
TEST_F(Painting, AskingForTheUpdateAreaWithEraseSendsThePendingFramePaintAndErase) {
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT{10, 10, 210, 160});
  RunUntilIdle();
  for (bool region : {true, false}) {
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    MessageLog::Instance().Clear();
    if (region) {
      HRGN rgn = CreateRectRgn(0, 0, 0, 0);
      EXPECT_EQ(GetUpdateRgn(w, rgn, TRUE), SIMPLEREGION);
      DeleteObject(rgn);
    } else {
      RECT r;
      EXPECT_TRUE(GetUpdateRect(w, &r, TRUE));
    }
    EXPECT_EQ(MessageLog::Instance().For(w, {WM_NCPAINT, WM_ERASEBKGND, WM_PAINT}),
              (std::vector<UINT>{WM_NCPAINT, WM_ERASEBKGND}))
        << (region ? "GetUpdateRgn" : "GetUpdateRect");
    RunUntilIdle();
  }
}

// A framed top-level window that grows, by its right and bottom edges or by its left and top ones:
// everything beyond its old client area is painted, where its old frame edges were included,
// and what was painted before stays where it was in the client area.
TEST_F(Painting, AFramedWindowThatGrowsPaintsOverWhereItsOldEdgesWere) {
  HWND top = MakeWindow(nullptr, WS_POPUP | WS_THICKFRAME | WS_VISIBLE, RECT{100, 100, 300, 250});
  Colours()[top] = RGB(0, 128, 0);
  PaintWithColours();
  RunUntilIdle();
  RECT client;
  GetClientRect(top, &client);
  const LONG w = client.right, h = client.bottom;
  ASSERT_EQ(WindowPixel(top, w / 2, h / 2), RGB(0, 128, 0));
  // Larger by 40 x 30 from the right and bottom, then from the left and top.
  for (const RECT& next : {RECT{100, 100, 340, 280}, RECT{60, 70, 340, 280}}) {
    GetClientRect(top, &client);
    const LONG oldW = client.right, oldH = client.bottom;
    SetWindowPos(top, nullptr, next.left, next.top, next.right - next.left, next.bottom - next.top, SWP_NOZORDER);
    GetClientRect(top, &client);
    EXPECT_EQ(UpdateRects(top), (Rects{{oldW, 0, client.right, oldH}, {0, oldH, client.right, client.bottom}}));
    Colours()[top] = RGB(0, 0, 255);
    RunUntilIdle();
    // The old right edge and the corner are painted; the old client area kept its pixels.
    POINT origin{0, 0};
    ClientToScreen(top, &origin);
    RECT window;
    GetWindowRect(top, &window);
    auto at = [&](LONG x, LONG y) { return WindowPixel(top, origin.x - window.left + x, origin.y - window.top + y); };
    EXPECT_EQ(at(oldW + 1, oldH / 2), RGB(0, 0, 255));
    EXPECT_EQ(at(client.right - 1, client.bottom - 1), RGB(0, 0, 255));
    EXPECT_EQ(at(oldW - 2, 2), RGB(0, 128, 0));
    Colours()[top] = RGB(0, 128, 0);
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
}

// A window that clips its children, grown after its child grew (a bar's frame laid out after the
// bar): what of the child shows only now is painted; moved, it takes the child's pixels along.
TEST_F(Painting, AParentThatClipsItsChildrenPaintsWhatItsGrowthUncoversOfThemAndTakesThemAlong) {
  HWND top = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 300, 200});
  HWND middle = MakeWindow(top, WS_VISIBLE | WS_CLIPCHILDREN, RECT{10, 10, 50, 50}, 1);
  HWND inner = MakeWindow(middle, WS_VISIBLE, RECT{0, 0, 40, 40}, 2);
  Colours()[top] = RGB(255, 0, 0);
  Colours()[middle] = RGB(0, 255, 0);
  Colours()[inner] = RGB(0, 0, 255);
  PaintWithColours();
  RunUntilIdle();
  SetWindowPos(inner, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
  SetWindowPos(middle, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(top, 100, 100), RGB(0, 0, 255));
  EXPECT_EQ(WindowPixel(top, 120, 30), RGB(255, 0, 0));

  MessageLog::Instance().Clear();
  SetWindowPos(middle, nullptr, 150, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(WindowPixel(top, 240, 150), RGB(0, 0, 255)) << "carried before any painting";
  RunUntilIdle();
  EXPECT_TRUE(MessageLog::Instance().For(inner, {WM_PAINT}).empty());
  EXPECT_EQ(WindowPixel(top, 20, 20), RGB(255, 0, 0));
}

// A window shaped by SetWindowRgn draws only inside its shape; the parent shows around it.
TEST_F(Painting, AShapedWindowPaintsOnlyInsideItsRegion) {
  HWND parent = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, RECT{0, 0, 200, 100});
  HWND child = MakeWindow(parent, WS_VISIBLE, RECT{20, 20, 120, 80});
  Colours()[parent] = RGB(255, 0, 0);
  Colours()[child] = RGB(0, 0, 255);
  PaintWithColours();
  SetWindowRgn(child, CreateRectRgn(0, 0, 50, 60), TRUE);
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(parent, 30, 30), RGB(0, 0, 255));   // inside the shape
  EXPECT_EQ(WindowPixel(parent, 100, 30), RGB(255, 0, 0));  // the child's rectangle, outside its shape
}

// A child that never painted, in a parent that clips its children, still has its frame and
// background painted when SetWindowPos moves it, whether or not its pixels may go along.
TEST_F(Painting, ANeverPaintedChildMovedInAClippingParentGetsItsFrameAndBackground) {
  for (UINT copy : {0u, static_cast<UINT>(SWP_NOCOPYBITS)}) {
    HWND parent = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, RECT{0, 0, 300, 200});
    RunUntilIdle();
    HWND child = MakeWindow(parent, WS_VISIBLE | WS_BORDER, RECT{10, 10, 60, 60}, 1);
    MessageLog::Instance().Clear();
    SetWindowPos(child, nullptr, 30, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | copy);
    EXPECT_EQ(MessageLog::Instance().For(child, {WM_NCPAINT, WM_ERASEBKGND}),
              (std::vector<UINT>{WM_NCPAINT, WM_ERASEBKGND}))
        << (copy ? "without copying" : "copying");
    RunUntilIdle();
    DestroyWindow(parent);
  }
}

// A never-painted child only resized by its own SetWindowPos keeps waiting for its paint: nothing
// of the parent is uncovered, so the call sends it neither WM_NCPAINT nor WM_ERASEBKGND. A
// top-level window shown and sized at once has its frame and background painted during the call,
// down to its never-painted child even when it clips its children.
TEST_F(Painting, SetWindowPosPaintsAtOnceOnlyWhatItUncoversOrShows) {
  HWND parent = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, RECT{0, 0, 300, 200});
  RunUntilIdle();
  HWND child = MakeWindow(parent, WS_VISIBLE | WS_BORDER, RECT{10, 10, 60, 60}, 1);
  MessageLog::Instance().Clear();
  SetWindowPos(child, nullptr, 0, 0, 80, 70, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(MessageLog::Instance().For(child, {WM_NCPAINT, WM_ERASEBKGND}).empty());
  RunUntilIdle();
  EXPECT_EQ(MessageLog::Instance().For(child, {WM_NCPAINT, WM_ERASEBKGND, WM_PAINT}),
            (std::vector<UINT>{WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}))
      << "painted later from the queue, frame and background from BeginPaint";
  DestroyWindow(parent);

  // Shown and sized at once, with or without activation and a caption: the window kept no pixels
  // while hidden, so all of it and its child are painted, frame and background during the call.
  for (DWORD style : {DWORD{WS_POPUP | WS_BORDER}, DWORD{WS_OVERLAPPEDWINDOW}}) {
    for (UINT activate : {0u, static_cast<UINT>(SWP_NOACTIVATE)}) {
      SCOPED_TRACE(::testing::Message() << std::hex << style << (activate ? " not activated" : ""));
      HWND top = MakeWindow(nullptr, style | WS_CLIPCHILDREN, RECT{0, 0, 200, 150});
      HWND inner = MakeWindow(top, WS_VISIBLE | WS_BORDER, RECT{10, 10, 60, 60}, 1);
      MessageLog::Instance().Clear();
      SetWindowPos(top, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW | activate);
      // Frame, then background, first (activation may paint them again).
      for (HWND h : {top, inner}) {
        auto painted = MessageLog::Instance().For(h, {WM_NCPAINT, WM_ERASEBKGND});
        painted.resize(std::min<size_t>(painted.size(), 2));
        EXPECT_EQ(painted, (std::vector<UINT>{WM_NCPAINT, WM_ERASEBKGND})) << (h == top ? "top" : "child");
      }
      RunUntilIdle();
      EXPECT_EQ(MessageLog::Instance().For(inner, {WM_PAINT}), std::vector<UINT>{WM_PAINT});
      DestroyWindow(top);
    }
  }
}

// A top-level window that never painted yet (visible or hidden), shown and sized at once: the
// window has its frame and background painted during the call, whether it grows or shrinks. Its
// never-painted child does too when the window clips its children; otherwise the window's erase
// went over the child, which gets its frame and background with its paint from the queue.
TEST_F(Painting, AVisibleNeverPaintedWindowShownAndSizedPaintsItsNeverPaintedChildAtOnce) {
  for (const DWORD clip : {DWORD{WS_CLIPCHILDREN}, DWORD{0}}) {
    for (const DWORD visible : {DWORD{WS_VISIBLE}, DWORD{0}}) {
      for (const SIZE size : {SIZE{300, 200}, SIZE{150, 100}}) {
        SCOPED_TRACE(::testing::Message() << size.cx << "x" << size.cy << (clip ? " clipping" : " not clipping")
                                          << (visible ? " visible" : " hidden"));
        HWND top = MakeWindow(nullptr, WS_POPUP | WS_BORDER | visible | clip, RECT{0, 0, 200, 150});
        HWND inner = MakeWindow(top, WS_VISIBLE | WS_BORDER, RECT{10, 10, 60, 60}, 1);
        MessageLog::Instance().Clear();
        SetWindowPos(top, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        auto painted = MessageLog::Instance().For(top, {WM_NCPAINT, WM_ERASEBKGND});
        painted.resize(std::min<size_t>(painted.size(), 2));
        EXPECT_EQ(painted, (std::vector<UINT>{WM_NCPAINT, WM_ERASEBKGND})) << "top";
        if (clip) {
          painted = MessageLog::Instance().For(inner, {WM_NCPAINT, WM_ERASEBKGND});
          painted.resize(std::min<size_t>(painted.size(), 2));
          EXPECT_EQ(painted, (std::vector<UINT>{WM_NCPAINT, WM_ERASEBKGND})) << "child";
        } else {
          EXPECT_EQ(MessageLog::Instance().For(inner, {WM_NCPAINT, WM_ERASEBKGND}), std::vector<UINT>{}) << "child";
        }
        MessageLog::Instance().Clear();
        RunUntilIdle();
        EXPECT_EQ(MessageLog::Instance().For(inner, {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}),
                  clip ? std::vector<UINT>{WM_PAINT} : (std::vector<UINT>{WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}));
        DestroyWindow(top);
      }
    }
  }
}
