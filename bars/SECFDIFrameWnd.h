// The floating-document interface: SECFDIFrameWnd is the main frame that keeps a list of
// top-level document frames (SECFDIChildWnd), offers them in its Window menu and in the
// "Windows" dialog (SECWindowsDialog), and routes commands to the active one first.
#pragma once

#include <vector>

#include "afx/afx.h"
#include "bars/SECFrameWnd.h"

class SECFDIChildWnd;

// The Window menu's document commands: one per listed frame, the last opens the dialog.
constexpr UINT ID_SEC_FDI_WINDOW_FIRST = 43015;
constexpr UINT ID_SEC_FDI_WINDOW_LAST = 43030;
constexpr int kSECFDIMenuFrames = 15;

class SECFDIFrameWnd : public SECFrameWnd {
  DECLARE_DYNCREATE(SECFDIFrameWnd)

 public:
  SECFDIFrameWnd() = default;

  // The active document frame when it is the active window, else this frame.
  CFrameWnd* GetActiveFrame() override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  int GetFrameCount() const { return static_cast<int>(m_listFrames.GetCount()); }
  SECFDIChildWnd* GetFrame(int nIndex) const;
  // Activates the document frame at a position of the list.
  void ActivateFrameAt(int nIndex);
  // The text a document frame is listed with: its document's title, else its window text.
  static CString FrameTitle(CFrameWnd* pFrame);

  CPtrList m_listFrames;  // SECFDIChildWnd*, in creation order
  SECFDIChildWnd* m_pActiveDocFrame = nullptr;

 protected:
  afx_msg void OnUpdateWindowList(CCmdUI* pCmdUI);
  afx_msg void OnWindowCommand(UINT nID);
  DECLARE_MESSAGE_MAP()
};

class SECFDIChildWnd : public SECFrameWnd {
  DECLARE_DYNCREATE(SECFDIChildWnd)

 public:
  SECFDIChildWnd() = default;
  ~SECFDIChildWnd() override;

  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  void ActivateFrame(int nCmdShow = -1) override;
  BOOL DestroyWindow() override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  SECFDIFrameWnd* GetFDIFrame() const { return m_pFDIFrame; }
  // The next cascade position (module-wide); a test may start it again.
  static void ResetCascade();

  HMENU m_hMenu = nullptr;  // owned

 protected:
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg void OnClose();
  DECLARE_MESSAGE_MAP()

  SECFDIFrameWnd* m_pFDIFrame = nullptr;
};

class SECWindowsDialog : public CDialog {
  DECLARE_DYNAMIC(SECWindowsDialog)

 public:
  SECWindowsDialog(SECFDIFrameWnd* pFrame, CWnd* pParent = nullptr);

  BOOL OnInitDialog() override;
  void OnOK() override;

 protected:
  // The frames of the selected lines, in list order.
  std::vector<int> SelectedLines();
  afx_msg void OnCloseWindows();
  afx_msg void OnSave();
  DECLARE_MESSAGE_MAP()

  SECFDIFrameWnd* m_pFDIFrame;
  CPtrList* m_pFrameList;
};
