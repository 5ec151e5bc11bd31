// A program for the X11 docking smoke test: a frame with the toolkit's dock bars, a panel docked
// on the left and another on the right. It says where the left panel's gripper is and where the
// right dock bar is; it ends (0) once the panel is docked on the right and the frame's layout
// agrees (the left side empty, both panels inside the right side). Exit 1: it never docked there;
// 2: it docked there but the layout is wrong.
#include <cstdio>
#include <cstring>
#include <memory>

#include "afx/afx.h"
#include "bars/SECControlBar.h"
#include "bars/SECDockBar.h"
#include "tests/platform/backend/smoke/FrameSmoke.h"

namespace {

constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT_PTR kGuardTimer = 2;
constexpr UINT_PTR kQuitTimer = 3;

using smoke::Say;

class SmokeFrame : public CFrameWnd {
 public:
  SECControlBar left, right;
  int result = -1;  // set once the panel docked on the right

  // The layout once the left panel sits on the right: the left side takes nothing and both
  // panels lie within the frame's right side.
  bool LayoutAgrees() {
    CRect client;
    GetClientRect(&client);
    CRect leftDock, panel, other;
    GetControlBar(AFX_IDW_DOCKBAR_LEFT)->GetWindowRect(&leftDock);
    left.GetWindowRect(&panel);
    right.GetWindowRect(&other);
    ScreenToClient(&panel);
    ScreenToClient(&other);
    std::printf("LAYOUT left-dock %d panel %ld..%ld other %ld..%ld client %ld\n", leftDock.Width(),
                static_cast<long>(panel.left), static_cast<long>(panel.right), static_cast<long>(other.left),
                static_cast<long>(other.right), static_cast<long>(client.right));
    return leftDock.Width() == 0 && panel.right <= client.right && panel.left > client.Width() / 2 &&
           other.right <= client.right && other.left > client.Width() / 2;
  }

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kGuardTimer) {
      ::PostQuitMessage(1);
      return;
    }
    if (nIDEvent == kQuitTimer) {
      ::PostQuitMessage(result);
      return;
    }
    if (result >= 0) return;
    // What the framework's idle time does: delayed layouts and shows.
    SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    if (left.m_pDockBar != nullptr && left.m_pDockBar->GetDlgCtrlID() == AFX_IDW_DOCKBAR_RIGHT) {
      RecalcLayout();
      const bool agrees = LayoutAgrees();
      std::printf("DOCKED RIGHT\n");
      std::fflush(stdout);
      // A moment for the screenshot of the new layout.
      result = agrees ? 0 : 2;
      SetTimer(kQuitTimer, 1000, nullptr);
    }
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SmokeFrame, CFrameWnd)
  ON_WM_TIMER()
END_MESSAGE_MAP()

}  // namespace

int main() {
  std::shared_ptr<brambolt::Backend> backend = smoke::StartOnX11("x11_dock_smoke");
  if (!backend) return 3;
  auto* frame = new SmokeFrame;
  if (!frame->Create(nullptr, "Brambolt dock smoke", WS_OVERLAPPEDWINDOW, CRect(40, 40, 700, 520))) return 3;
  SECEnableDocking(frame, CBRS_ALIGN_ANY);
  const DWORD ex = CBRS_EX_GRIPPER | CBRS_EX_GRIPPER_CLOSE | CBRS_EX_GRIPPER_EXPAND;
  if (!frame->left.Create(frame, "Left panel", WS_VISIBLE | CBRS_LEFT, ex, 24080) ||
      !frame->right.Create(frame, "Right panel", WS_VISIBLE | CBRS_RIGHT, ex, 24081))
    return 3;
  for (SECControlBar* bar : {&frame->left, &frame->right}) {
    bar->m_szVertDock = CSize(160, 300);
    bar->EnableDocking(CBRS_ALIGN_ANY);
  }
  frame->DockControlBar(&frame->left, AFX_IDW_DOCKBAR_LEFT);
  frame->DockControlBar(&frame->right, AFX_IDW_DOCKBAR_RIGHT);
  frame->ShowWindow(SW_SHOW);
  frame->RecalcLayout();
  frame->UpdateWindow();
  smoke::Settle();
  CRect panel;
  frame->left.GetWindowRect(&panel);
  CRect rightDock;
  frame->GetControlBar(AFX_IDW_DOCKBAR_RIGHT)->GetWindowRect(&rightDock);
  // The gripper runs across the top of an upright bar; its buttons sit at its right end.
  Say("GRIP", CPoint(panel.left + 40, panel.top + 10));
  Say("DROP", CPoint(rightDock.CenterPoint().x, rightDock.top + rightDock.Height() * 3 / 4));
  const int code = smoke::Run(frame, kWatchTimer, kGuardTimer);
  frame->DestroyWindow();
  return code;
}
