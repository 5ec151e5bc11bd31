// A small frame for the bar tests: a pane, the toolkit's dock bars on every side, and toolkit
// bars made on demand; rectangles as text so failures show both sides.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "afx/afx.h"
#include "bars/SECControlBar.h"
#include "bars/SECDockBar.h"
#include "testing/testing.h"

inline std::string R(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

struct DockFrame {
  CFrameWnd* frame;
  CWnd pane;
  std::vector<std::unique_ptr<SECControlBar>> bars;

  // `frameObject`: a frame of the test's own class (deleted with its window), else a CFrameWnd.
  explicit DockFrame(CRect rect = CRect(20, 20, 660, 500), CFrameWnd* frameObject = nullptr)
      : frame(frameObject != nullptr ? frameObject : new CFrameWnd) {
    EXPECT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW, rect));
    EXPECT_TRUE(pane.Create(AfxRegisterWndClass(0), nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame,
                            AFX_IDW_PANE_FIRST));
    SECEnableDocking(frame, CBRS_ALIGN_ANY);
    frame->ShowWindow(SW_SHOW);
    frame->RecalcLayout();
    brambolt::test::RunUntilIdle();
    hwnd = frame->m_hWnd;
  }
  HWND hwnd = nullptr;
  ~DockFrame() {
    // The frame object goes with its window; a test may have destroyed it already.
    if (::IsWindow(hwnd)) frame->DestroyWindow();
  }
  // A toolkit bar (id 24010 + n) docked at the end of a new row of side `side` (CBRS_ALIGN_*).
  SECControlBar* AddBar(DWORD side, DWORD exStyle = CBRS_EX_GRIPPER | CBRS_EX_GRIPPER_CLOSE | CBRS_EX_GRIPPER_EXPAND,
                        CSize size = CSize(200, 80)) {
    auto bar = std::make_unique<SECControlBar>();
    const UINT id = 24010 + static_cast<UINT>(bars.size());
    std::string title = "Bar " + std::to_string(bars.size());
    EXPECT_TRUE(bar->Create(frame, title.c_str(), WS_VISIBLE | CBRS_TOOLTIPS | side, exStyle, id));
    bar->m_szHorzDock = size;
    bar->m_szVertDock = CSize(size.cy, size.cx);
    bar->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(bar.get(), Dock(SideId(side)));
    bars.push_back(std::move(bar));
    return bars.back().get();
  }
  // n toolkit bars side by side in the first row of the top dock bar.
  std::vector<SECControlBar*> AddTopRow(int n, DWORD exStyle = CBRS_EX_GRIPPER | CBRS_EX_GRIPPER_CLOSE |
                                                                 CBRS_EX_GRIPPER_EXPAND) {
    std::vector<SECControlBar*> row;
    for (int i = 0; i < n; ++i) {
      row.push_back(AddBar(CBRS_ALIGN_TOP, exStyle));
      if (i > 0) Dock(AFX_IDW_DOCKBAR_TOP)->DockControlBarAt(row.back(), 0, i);
    }
    Layout();
    return row;
  }
  static UINT SideId(DWORD side) {
    if (side & CBRS_ALIGN_TOP) return AFX_IDW_DOCKBAR_TOP;
    if (side & CBRS_ALIGN_BOTTOM) return AFX_IDW_DOCKBAR_BOTTOM;
    if (side & CBRS_ALIGN_LEFT) return AFX_IDW_DOCKBAR_LEFT;
    return AFX_IDW_DOCKBAR_RIGHT;
  }
  SECDockBar* Dock(UINT id) { return static_cast<SECDockBar*>(frame->GetControlBar(id)); }
  void Layout() {
    frame->RecalcLayout();
    brambolt::test::RunUntilIdle();
  }
  // A window's rectangle in the frame's client coordinates, and in its parent's.
  CRect InFrame(const CWnd& wnd) const {
    CRect rect;
    wnd.GetWindowRect(&rect);
    frame->ScreenToClient(&rect);
    return rect;
  }
  static CRect InParent(const CWnd& wnd) {
    CRect rect;
    wnd.GetWindowRect(&rect);
    ::MapWindowPoints(nullptr, ::GetParent(wnd.m_hWnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  CRect Client() const {
    CRect rect;
    frame->GetClientRect(&rect);
    return rect;
  }
};
