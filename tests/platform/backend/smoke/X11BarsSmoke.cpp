// A framework program for the X11 bars smoke test: an MDI frame with two child windows and a
// toolbar docked at the top. It says where the toolbar's gripper is and where to drop it; once the
// bar floats it says where its floating frame's caption is and where the top edge is, and it ends
// (0) when the bar is docked there again with both children still open. Exit 1: the bar never
// floated; 2: it never docked again.
#include <cstdio>
#include <cstring>
#include <memory>

#include "AfxTestResources.h"
#include "BarsTestIds.h"
#include "afx/afx.h"
#include "tests/platform/backend/smoke/FrameSmoke.h"

namespace {

constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT_PTR kGuardTimer = 2;

using smoke::Say;

class SmokeFrame : public CMDIFrameWnd {
 public:
  CToolBar toolbar;
  int stage = 0;  // 0 docked, 1 floated, 2 docked again

  int ChildCount() const {
    int n = 0;
    for (HWND h = ::GetWindow(m_hWndMDIClient, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) ++n;
    return n;
  }

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kGuardTimer) {
      ::PostQuitMessage(stage == 0 ? 1 : 2);
      return;
    }
    // What the framework's idle time does: delayed layouts and shows, bar updates.
    SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    if (stage == 0 && toolbar.IsFloating()) {
      stage = 1;
      CRect frame;
      toolbar.GetDockingFrame()->GetWindowRect(&frame);
      CRect client;
      GetClientRect(&client);
      ClientToScreen(&client);
      CRect barRect;
      toolbar.GetWindowRect(&barRect);
      CPoint caption(frame.left + 12, frame.top + 6);
      Say("FLOATING", caption);
      // Where the caption must go for the bar's outline to reach over the frame's top edge.
      Say("TOP", CPoint(client.left + 150, client.top + 2 - (barRect.top - caption.y)));
    } else if (stage == 1 && !toolbar.IsFloating() && toolbar.m_pDockBar != nullptr &&
               toolbar.m_pDockBar->GetDlgCtrlID() == AFX_IDW_DOCKBAR_TOP) {
      stage = 2;
      std::printf("DOCKED %d\n", ChildCount());
      std::fflush(stdout);
      ::PostQuitMessage(0);
    }
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SmokeFrame, CMDIFrameWnd)
  ON_WM_TIMER()
END_MESSAGE_MAP()

}  // namespace

int main() {
  std::shared_ptr<brambolt::Backend> backend = smoke::StartOnX11("x11_bars_smoke");
  if (!backend) return 3;
  auto* frame = new SmokeFrame;
  if (!frame->Create(nullptr, "Brambolt bars smoke", WS_OVERLAPPEDWINDOW, CRect(40, 40, 600, 420))) return 3;
  for (const char* title : {"Document 1", "Document 2"}) {
    auto* child = new CMDIChildWnd;
    if (!child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, frame))
      return 3;
  }
  frame->MDICascade();
  CToolBar& bar = frame->toolbar;
  if (!bar.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS) ||
      !bar.LoadToolBar(IDR_TESTBAR))
    return 3;
  bar.SetWindowText("Smoke bar");
  bar.EnableDocking(CBRS_ALIGN_ANY);
  frame->EnableDocking(CBRS_ALIGN_ANY);
  frame->DockControlBar(&bar);
  frame->ShowWindow(SW_SHOW);
  frame->RecalcLayout();
  frame->UpdateWindow();
  smoke::Settle();
  CRect barRect;
  bar.GetWindowRect(&barRect);
  CRect client;
  frame->GetClientRect(&client);
  frame->ClientToScreen(&client);
  Say("GRIP", CPoint(barRect.left + 5, barRect.CenterPoint().y));
  Say("DROP", client.CenterPoint());
  std::printf("MDI %d\n", frame->ChildCount());
  const int code = smoke::Run(frame, kWatchTimer, kGuardTimer);
  std::fprintf(stderr, "x11_bars_smoke: stage %d\n", frame->stage);
  frame->DestroyWindow();
  return code;
}
