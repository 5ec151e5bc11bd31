// SECFullScreenView: full-screen mode for a frame (no caption, borders, menu or bars; one floating
// button bar that leaves the mode, also through Escape; the menu back while the mouse rests at the
// top edge), and the listeners that follow the frame, its MDI client and active child meanwhile.
#pragma once

#include <memory>

#include "afx/afx.h"
#include "foundation/SECWndListener.h"

class SECFullScreenView;
class SECDockState;
class SECMenuBar;

// On the main frame: the menu that comes back at the top edge, and the leave command.
class SECFSMainFrmListener : public kelpwood::foundation::SECWndListener {
 public:
  explicit SECFSMainFrmListener(SECFullScreenView* pFSView) : m_pFSView(pFSView) {}

  // The framework's OLE commands, after which the menu stays.
  static constexpr UINT kFirstOleCommand = 0xE200, kLastOleCommand = 0xE21F;

  void ShowMenu();
  void HideMenu();
  void OnMenuTimer();
  static BOOL PointerOn(CWnd* pWnd);

  SECFullScreenView* m_pFSView;
  BOOL m_bMenuShown = FALSE;
  BOOL m_bMenuByMouse = FALSE;
  BOOL m_bHasMenuBar = FALSE;
  CWnd* m_pActiveChild = nullptr;
  BOOL m_bRedrawPending = FALSE;
  BOOL m_bHasSavedMenu = FALSE;
  HMENU m_hSavedMenu = nullptr;

 protected:
  afx_msg LRESULT OnNcMouseMove(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetCursorMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSysCommandMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnInitMenuPopupMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnExitMenuLoop(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAfterMenuLoop(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnRevealMenuBar(WPARAM wParam, LPARAM lParam);
  afx_msg void OnLeaveCommand();
  DECLARE_MESSAGE_MAP()
};

// On the MDI client: follows the active child and keeps the frame without a menu while hidden.
class SECFSMDIClientListener : public kelpwood::foundation::SECWndListener {
 public:
  // On the active MDI child: keeps it maximised beyond the screen's edges and handles its
  // minimise, restore and close while the menu shows.
  class SECFSChildFrmListener : public kelpwood::foundation::SECWndListener {
   public:
    SECFullScreenView* m_pFSView = nullptr;

   protected:
    afx_msg LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSysCommandMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSizeMsg(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
  };

  explicit SECFSMDIClientListener(SECFullScreenView* pFSView) : m_pFSView(pFSView) {
    m_childListener.m_pFSView = pFSView;
  }
  // Listens to the active child (and to nothing when there is none).
  void FollowActiveChild();

  SECFSChildFrmListener m_childListener;
  SECFullScreenView* m_pFSView;

 protected:
  afx_msg LRESULT OnMDISetMenu(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMDIActivate(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

class SECFullScreenView : public CWnd {
  DECLARE_DYNAMIC(SECFullScreenView)

 public:
  // Option bits of SetFSMode.
  enum : UINT { SEC_FS_MENU_AT_TOP = 0x1, SEC_FS_TEXT_BUTTON = 0x2, SEC_FS_HIDE_TASKBAR = 0x4, SEC_FS_PLAIN_BAR = 0x8 };
  static constexpr UINT kLeaveCommand = 43107;
  static constexpr UINT kWindowID = 0xE123, kToolBarID = 0xE124, kMenuTimer = 0xE001;
  static constexpr UINT kButtonBitmap = 20694;
  // Sent to the frame when the mode begins (wParam 1) and ends (wParam 0).
  static constexpr UINT kNotifyMessage = 0x702;
  // Posted to the frame after a menu loop of full-screen mode.
  static constexpr UINT kAfterMenuLoop = 0x701;

  SECFullScreenView();
  ~SECFullScreenView() override;

  // Enters full-screen mode (0x2 always added to the options); TRUE when the mode is on.
  // The frame is the application's main window unless one is given.
  virtual BOOL SetFSMode(UINT nOptions, LPCTSTR lpszTitle = nullptr, CFrameWnd* pFrame = nullptr);
  BOOL IsFullScreen() const { return m_bFullScreen; }
  // Leaves the mode (the floating button, Escape); nothing when it is off.
  void LeaveFSMode();

  virtual int CreateFSToolBar();
  virtual void DestroyFSToolBar();
  virtual void ShowFSToolBar();
  virtual void HideFSToolBar();

  // The controller of a frame that is in full-screen mode, else null.
  static SECFullScreenView* FromFrame(CWnd* pFrame);
  // What the frame is outside the mode, for a layout saved meanwhile: its docking layout as it
  // was on entry (null when none was kept) and its placement.
  SECDockState* GetLayoutOutside() const { return m_pDockState.get(); }
  void GetPlacementOutside(WINDOWPLACEMENT& placement) const { placement = m_placement; }

  CFrameWnd* GetFrame() const { return m_pFrame; }
  CControlBar* GetFSToolBar() const { return m_pToolBar; }
  const CString& GetTitle() const { return m_strTitle; }
  UINT GetOptions() const { return m_nOptions; }

  // Bars the application marks: 1 shown in full screen (and hidden after), 0 left alone.
  CMap<CControlBar*, CControlBar*, BOOL, BOOL> m_mapShowBars{10};

 protected:
  friend class SECFSMainFrmListener;
  friend class SECFSMDIClientListener;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnLeaveCommand();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

  // Each entry step has its undoing; a failed entry undoes what was done.
  void HideTaskBar(BOOL bHide);
  void HideControlBars();
  void ShowControlBars();
  void RemoveFrameMenu();
  // The frame shows no menu; a maximised child is maximised again without it.
  void DropFrameMenu();
  void RestoreFrameMenu();
  void ReplaceAccelerators();
  void RestoreAccelerators();
  // True when an Escape key-down for `hwnd` leaves the mode before any view sees it.
  BOOL TakesEscape(const MSG& msg) const;
  static LRESULT CALLBACK EscapeHook(int code, WPARAM wParam, LPARAM lParam);
  CMDIFrameWnd* MDIFrame() const;
  // The frame's toolkit menubar, or null.
  SECMenuBar* FrameMenuBar() const;
  // The active MDI child when it is maximised, else null.
  CMDIChildWnd* MaximisedChild() const;
  HBITMAP MakeTitleBitmap(CSize& size);

  CControlBar* m_pToolBar = nullptr;
  // The button image of the customisable bar (its bitmap manager does not own it).
  HBITMAP m_hToolBarBitmap = nullptr;
  BOOL m_bFullScreen = FALSE;
  UINT m_nOptions = 0;
  CRect m_rcFrame{0, 0, 0, 0};
  UINT m_nBitmapID = kButtonBitmap;
  HBITMAP m_hButtonBitmap = nullptr;
  CString m_strTitle{"Close FullScreen"};
  int m_nReserved = 0;
  HACCEL m_hAccelSaved = nullptr;
  HACCEL m_hAccelFullScreen = nullptr;
  // Watches the queue for Escape while the mode is on: a focused view's own Escape accelerator
  // (the editor's) would otherwise take the key before the frame's table.
  HHOOK m_hEscapeHook = nullptr;
  CMap<CControlBar*, CControlBar*, BOOL, BOOL> m_mapHiddenBars{10};
  SECFSMDIClientListener m_clientListener{this};
  SECFSMainFrmListener m_mainListener{this};
  BOOL m_bHasMenuBar = FALSE;
  BOOL m_bClientListening = FALSE;
  BOOL m_bTaskBarHidden = FALSE;
  // The docking layout before entry (a toolkit frame's): restored on exit when the frame has a
  // menubar (it floats the menubar meanwhile), and saved in its stead by a workspace saved in the
  // mode. The placement before entry likewise.
  std::unique_ptr<SECDockState> m_pDockState;
  WINDOWPLACEMENT m_placement{};
  DWORD m_dwFrameStyle = 0;
  CFrameWnd* m_pFrame = nullptr;
};
