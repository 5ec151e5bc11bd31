// A frame for the command-bar tests: a pane, the toolkit's dock bars, a toolbar manager with the
// test images (red, green and blue commands), bars made on demand and an owner that records the
// commands and notifications the bars send.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MenusTestIds.h"
#include "afx/afx.h"
#include "bars/SECBmpMgr.h"
#include "bars/SECCustomToolBar.h"
#include "bars/SECDockBar.h"
#include "bars/SECToolBarManager.h"
#include "testing/testing.h"

// Records the WM_BARNOTIFY messages a notification window of the manager receives.
class BarNotifyRecorder : public CWnd {
 public:
  BarNotifyRecorder() { CreateEx(0, AfxRegisterWndClass(0), "notify", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr); }
  std::vector<std::pair<UINT, int>> m_codes;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == wmSECBarNotify) m_codes.emplace_back(static_cast<UINT>(wParam), static_cast<int>(lParam));
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// A frame that enables the test commands, as an application's handlers would, and records the
// ones it carries out.
class CommandFrame : public CFrameWnd {
 public:
  std::vector<UINT> m_commands;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
    if (nCode == static_cast<int>(CN_UPDATE_COMMAND_UI) && nID >= ID_MT_NEW && nID <= ID_MT_PLAIN) {
      static_cast<CCmdUI*>(pExtra)->Enable(TRUE);
      return TRUE;
    }
    if (nCode == static_cast<int>(CN_COMMAND) && pHandlerInfo == nullptr && nID >= ID_MT_NEW && nID <= ID_MT_PLAIN) {
      m_commands.push_back(nID);
      return TRUE;
    }
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  }
};

struct ToolBarFrame {
  brambolt::test::NotificationRecorder owner{200, 100};
  CFrameWnd* frame = new CommandFrame;
  CWnd pane;
  SECToolBarManager* manager = nullptr;

  explicit ToolBarFrame(bool managed = true) {
    EXPECT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW, CRect(20, 20, 660, 500)));
    EXPECT_TRUE(pane.Create(AfxRegisterWndClass(0), nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame,
                            AFX_IDW_PANE_FIRST));
    SECEnableDocking(frame, CBRS_ALIGN_ANY);
    owner.Watch(WM_COMMAND);
    owner.Watch(WM_NOTIFY);
    if (managed) {
      manager = new SECToolBarManager(frame, CWnd::FromHandle(owner.Hwnd()));
      manager->LoadToolBarResource(IDR_MENUS_SMALL, IDR_MENUS_LARGE);
    }
    frame->ShowWindow(SW_SHOW);
    frame->SetActiveWindow();
    Layout();
  }
  ~ToolBarFrame() {
    delete manager;
    if (::IsWindow(frame->m_hWnd)) frame->DestroyWindow();
  }
  ToolBarFrame(const ToolBarFrame&) = delete;
  ToolBarFrame& operator=(const ToolBarFrame&) = delete;

  // A managed bar with the ids (0: separator) docked at the top (or floating at `floatAt`).
  SECCustomToolBar* AddBar(UINT nID, std::vector<UINT> ids, DWORD dwExStyle = 0) {
    auto* bar = new SECCustomToolBar;
    bar->SetOwner(CWnd::FromHandle(owner.Hwnd()));
    if (manager != nullptr) {
      bar->m_pManager = manager;
      bar->SetBmpMgr(manager->GetBmpMgr());
    } else {
      bar->GetBmpMgr()->LoadToolBarResource(IDR_MENUS_SMALL, IDR_MENUS_LARGE);
    }
    EXPECT_TRUE(bar->CreateEx(dwExStyle, frame, 0x50002804 | CBRS_TOOLTIPS, nID, ("Bar " + std::to_string(nID)).c_str()));
    bar->m_bAutoDelete = TRUE;
    bar->SetButtons(ids.data(), static_cast<int>(ids.size()));
    bar->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(bar, AFX_IDW_DOCKBAR_TOP);
    Layout();
    return bar;
  }
  void Layout() {
    frame->RecalcLayout();
    brambolt::test::RunUntilIdle();
  }
  // The centre of button `index` of a bar, in the bar's client coordinates.
  static CPoint Centre(SECCustomToolBar* bar, int index) {
    CRect rect;
    bar->GetItemRect(index, &rect);
    return rect.CenterPoint();
  }
  // The commands the owner received, in order.
  std::vector<UINT> Commands() const {
    std::vector<UINT> ids;
    for (const auto& record : owner.Records()) {
      if (record.message == WM_COMMAND) ids.push_back(record.id);
    }
    return ids;
  }
  std::vector<int> NotifyCodes() const {
    std::vector<int> codes;
    for (const auto& record : owner.Records()) {
      if (record.message == WM_NOTIFY) codes.push_back(static_cast<int>(record.code));
    }
    return codes;
  }
  static std::vector<UINT> Ids(SECCustomToolBar* bar) {
    std::vector<UINT> ids;
    for (int i = 0; i < bar->GetBtnCount(); ++i) ids.push_back(bar->GetItemID(i));
    return ids;
  }
};
