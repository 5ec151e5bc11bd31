// The toolkit's SDI frame: routing, loading, layout and the messages it answers on top of the
// framework's frame.
#include "bars/SECFrameWnd.h"

IMPLEMENT_DYNCREATE(SECFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(SECFrameWnd, CFrameWnd)
  ON_WM_CREATE()
  ON_COMMAND_RANGE(43031, 43039, OnWorkspaceCommand)
  ON_COMMAND_RANGE(43007, 43009, OnWorkspaceCommand)
  ON_COMMAND_RANGE(43012, 43014, OnWorkspaceCommand)
  ON_UPDATE_COMMAND_UI_RANGE(43031, 43039, OnUpdateWorkspaceCommand)
  ON_UPDATE_COMMAND_UI_RANGE(43007, 43009, OnUpdateWorkspaceCommand)
  ON_UPDATE_COMMAND_UI_RANGE(43012, 43014, OnUpdateWorkspaceCommand)
END_MESSAGE_MAP()

SECFrameWnd::SECFrameWnd() = default;

SECFrameWnd::~SECFrameWnd() = default;

BOOL SECFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (RouteToWorkspace(this, nID, nCode, pExtra, pHandlerInfo)) return TRUE;
  _AFX_THREAD_STATE* pState = AfxGetThreadState();
  CFrameWnd* pSavedRouting = pState->m_pRoutingFrame;
  const BOOL bResult = CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  pState->m_pRoutingFrame = pSavedRouting;
  return bResult;
}

BOOL SECFrameWnd::PreTranslateMessage(MSG* pMsg) {
  return PreTranslateFrameMessage(pMsg) || CFrameWnd::PreTranslateMessage(pMsg);
}

BOOL SECFrameWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT result = 0;
  if (HandleFrameMessage(this, message, wParam, lParam, &result)) {
    if (pResult != nullptr) *pResult = result;
    return TRUE;
  }
  return CFrameWnd::OnWndMsg(message, wParam, lParam, pResult);
}

BOOL SECFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  return LoadFrameWindow(this, nIDResource, dwDefaultStyle, pParentWnd, pContext, nullptr);
}

void SECFrameWnd::RecalcLayout(BOOL bNotify) {
  CFrameWnd::RecalcLayout(bNotify);
  AfterRecalcLayout();
}

void SECFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState) {
  CFrameWnd::OnSetPreviewMode(bPreview, pState);
  AfterPreviewMode(bPreview);
}

int SECFrameWnd::OnCreate(LPCREATESTRUCT lpcs) {
  if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
  PlugInMenu(this);
  return 0;
}

// The workspace plug-in handles these first; the entries keep the commands enabled.
void SECFrameWnd::OnWorkspaceCommand(UINT) {}

void SECFrameWnd::OnUpdateWorkspaceCommand(CCmdUI*) {}
