// CWnd: the framework's window object. It owns or borrows a window handle, receives the
// window's messages through AfxWndProc and its message map, routes commands and reflects
// notifications to the controls that sent them.
#pragma once

#include <algorithm>
#include <vector>

#include "afx/AfxState.h"
#include "afx/CCmdTarget.h"
#include "afx/CDC.h"
#include "controls/CommCtrl.h"
#include "core/CException.h"
#include "win/Dialog.h"
#include "win/Menu.h"
#include "win/MessageBox.h"

class CMenu;
class CFrameWnd;
class CScrollBar;
struct CCreateContext;
class CDataExchange;

// Something plugged into a window that sees the window's messages and commands before the
// window's own message map does (see CWnd::AddPlugIn).
class IWndPlugIn {
 public:
  virtual ~IWndPlugIn() = default;
  // TRUE when the plug-in consumed the message; *pResult is then what the window returns.
  virtual BOOL PlugInWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) = 0;
  // TRUE when the plug-in handled (or, with pHandlerInfo, has a handler for) the command.
  virtual BOOL PlugInCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) = 0;
};

class CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)

 public:
  // A CWnd may hold a handle without entering the handle map: assigning m_hWnd directly
  // borrows it (AfxWndProc then never finds this object, and nothing is subclassed).
  HWND m_hWnd = nullptr;

  // The framework's WF_ state flags (AfxConstants.h).
  UINT m_nFlags = 0;
  // The owner SetOwner gave (a control bar's frame while it is docked elsewhere).
  HWND m_hWndOwner = nullptr;

  static const CWnd wndTop;
  static const CWnd wndBottom;
  static const CWnd wndTopMost;
  static const CWnd wndNoTopMost;

  CWnd() = default;
  // Destroys a window still attached; a borrower clears m_hWnd first.
  ~CWnd() override;

  operator HWND() const { return brambolt::afx::IsNullObject(this) ? nullptr : m_hWnd; }
  HWND GetSafeHwnd() const { return brambolt::afx::IsNullObject(this) ? nullptr : m_hWnd; }
  BOOL operator==(const CWnd& wnd) const { return wnd.m_hWnd == m_hWnd; }
  BOOL operator!=(const CWnd& wnd) const { return wnd.m_hWnd != m_hWnd; }

  // ---- handle maps ----
  // The permanent object of hWnd, else a temporary one deleted when the thread is next idle.
  static CWnd* FromHandle(HWND hWnd);
  static CWnd* FromHandlePermanent(HWND hWnd);
  static void DeleteTempMap();
  BOOL Attach(HWND hWndNew);
  HWND Detach();

  // ---- creation ----
  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                      CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
  BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
  BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
  virtual BOOL DestroyWindow();
  // Edits the creation parameters; FALSE stops the creation.
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder);
  enum AdjustType { adjustBorder = 0, adjustOutside = 1 };

  // ---- subclassing ----
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
  HWND UnsubclassWindow();
  virtual void PreSubclassWindow() {}
  virtual WNDPROC* GetSuperWndProcAddr() { return &m_pfnSuper; }

  // ---- plug-ins ----
  // Plug-ins see each message before WindowProc's own handling, and each command before this
  // window's map, in the order they were added. The window does not own them.
  void AddPlugIn(IWndPlugIn* pPlugIn);
  void RemovePlugIn(IWndPlugIn* pPlugIn);

  // ---- message handling ----
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // Offers the message being handled to the permanent object of hWndChild as a notification.
  static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
  BOOL SendChildNotifyLastMsg(LRESULT* pResult = nullptr);
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // Offers pMsg to PreTranslateMessage of the window it is for and of each of its ancestors up
  // to hWndStop.
  static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
  // Calls the default procedure with the message being handled.
  LRESULT Default();
  static const MSG* GetCurrentMessage();
  virtual void PostNcDestroy() {}
  virtual void OnFinalRelease() {}
  virtual BOOL IsFrameWnd() const { return FALSE; }
  virtual CScrollBar* GetScrollBarCtrl(int nBar) const;

  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                BOOL bOnlyPerm = FALSE);
  // Runs the update handlers of the child controls through pTarget's routing.
  void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessage(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::PostMessage(m_hWnd, message, wParam, lParam);
  }
  BOOL SendNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendNotifyMessage(m_hWnd, message, wParam, lParam);
  }

  // ---- relatives ----
  CFrameWnd* GetParentFrame() const;
  CFrameWnd* GetTopLevelFrame() const;
  CWnd* GetTopLevelParent() const;
  // The window a modal window should be owned by: the first window that is not a child, going up
  // from pParent (the main window when NULL; then its last active popup). With pWndTop, the
  // window at the top of that owner chain, when it is enabled and not the owner itself, is
  // disabled and returned there (NULL otherwise) for the caller to enable again.
  static CWnd* GetSafeOwner(CWnd* pParent = nullptr, HWND* pWndTop = nullptr);
  static HWND GetSafeOwner_(HWND hParent, HWND* pWndTop);
  CWnd* GetTopLevelOwner() const;
  CWnd* GetParentOwner() const;
  CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
  CWnd* SetParent(CWnd* pWndNewParent) { return FromHandle(::SetParent(m_hWnd, pWndNewParent->GetSafeHwnd())); }
  // The window told of this one's commands: the one SetOwner named, else the window's owner.
  CWnd* GetOwner() const {
    return FromHandle(m_hWndOwner != nullptr ? m_hWndOwner : ::GetWindow(m_hWnd, GW_OWNER));
  }
  void SetOwner(CWnd* pOwnerWnd) { m_hWndOwner = pOwnerWnd->GetSafeHwnd(); }
  CWnd* GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
  CWnd* GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
  CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const { return FromHandle(::GetWindow(m_hWnd, nFlag)); }
  CWnd* GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
  BOOL IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, pWnd->GetSafeHwnd()); }
  CWnd* ChildWindowFromPoint(POINT point) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, point)); }
  CWnd* ChildWindowFromPoint(POINT point, UINT nFlags) const {
    return FromHandle(::ChildWindowFromPointEx(m_hWnd, point, nFlags));
  }
  static CWnd* FindWindow(LPCTSTR lpszClassName, LPCTSTR lpszWindowName) {
    return FromHandle(::FindWindow(lpszClassName, lpszWindowName));
  }
  static CWnd* GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
  static CWnd* WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }

  // ---- styles and data ----
  DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_STYLE)); }
  DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_EXSTYLE)); }
  // Both change the style and, with nFlags, call SetWindowPos (SWP_FRAMECHANGED and the flags).
  BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  static BOOL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
  static BOOL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  int SetDlgCtrlID(int nID) { return static_cast<int>(::SetWindowLongPtr(m_hWnd, GWLP_ID, nID)); }
  void SetWindowText(LPCTSTR lpszString) { ::SetWindowText(m_hWnd, lpszString); }
  int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const { return ::GetWindowText(m_hWnd, lpszStringBuf, nMaxCount); }
  void GetWindowText(CString& rString) const;
  int GetWindowTextLength() const { return ::GetWindowTextLength(m_hWnd); }
  void SetFont(CFont* pFont, BOOL bRedraw = TRUE) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont->GetSafeHandle()), bRedraw);
  }
  CFont* GetFont() const {
    return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessage(m_hWnd, WM_GETFONT, 0, 0)));
  }
  HICON SetIcon(HICON hIcon, BOOL bBigIcon) {
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon, reinterpret_cast<LPARAM>(hIcon)));
  }
  HICON GetIcon(BOOL bBigIcon) const {
    return reinterpret_cast<HICON>(::SendMessage(m_hWnd, WM_GETICON, bBigIcon, 0));
  }

  // ---- menus and message boxes ----
  CMenu* GetMenu() const;
  BOOL SetMenu(CMenu* pMenu);
  void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
  CMenu* GetSystemMenu(BOOL bRevert) const;
  BOOL HiliteMenuItem(CMenu* pMenu, UINT nIDHiliteItem, UINT nHilite);
  int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK) {
    return ::MessageBox(m_hWnd, lpszText, lpszCaption, nType);
  }

  // ---- size and position ----
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
  void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
  }
  void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE) {
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
  }
  BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
  BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const { return ::GetWindowPlacement(m_hWnd, lpwndpl); }
  BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) { return ::SetWindowPlacement(m_hWnd, lpwndpl); }
  void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
  void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
  void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
  void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
  void ClientToScreen(LPRECT lpRect) const;
  void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
  void ScreenToClient(LPRECT lpRect) const;
  void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const {
    ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), lpPoint, nCount);
  }
  void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const;
  // Centres over pAlternateOwner, else the owner or parent, else the screen.
  void CenterWindow(CWnd* pAlternateOwner = nullptr);

  // ---- layout of bars (FrameLayout.cpp) ----
  enum RepositionFlags { reposDefault = 0, reposQuery = 1, reposExtra = 2, reposNoPosLeftOver = 0x8000 };
  // Lays out the children with ids in [nIDFirst, nIDLast]: each answers WM_SIZEPARENT by taking
  // its part of the client rectangle (lpRectClient, else the client area), and the child
  // nIDLeftOver gets what remains. reposQuery moves nothing and returns the remaining rectangle
  // in lpRectParam (with bStretch FALSE, the bars' total size); reposExtra keeps lpRectParam's
  // four values as extra borders around the leftover child.
  void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags = reposDefault,
                      LPRECT lpRectParam = nullptr, LPCRECT lpRectClient = nullptr, BOOL bStretch = TRUE);

  // ---- painting ----
  CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
  CDC* GetDCEx(CRgn* prgnClip, DWORD flags) {
    return CDC::FromHandle(::GetDCEx(m_hWnd, static_cast<HRGN>(prgnClip->GetSafeHandle()), flags));
  }
  CDC* GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
  int ReleaseDC(CDC* pDC) { return ::ReleaseDC(m_hWnd, pDC->GetSafeHdc()); }
  CDC* BeginPaint(LPPAINTSTRUCT lpPaint) { return CDC::FromHandle(::BeginPaint(m_hWnd, lpPaint)); }
  void EndPaint(LPPAINTSTRUCT lpPaint) { ::EndPaint(m_hWnd, lpPaint); }
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }
  void SetRedraw(BOOL bRedraw = TRUE) { SendMessage(WM_SETREDRAW, bRedraw, 0); }
  BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE) { return ::GetUpdateRect(m_hWnd, lpRect, bErase); }
  int GetUpdateRgn(CRgn* pRgn, BOOL bErase = FALSE) {
    return ::GetUpdateRgn(m_hWnd, static_cast<HRGN>(pRgn->GetSafeHandle()), bErase);
  }
  void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
  void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
  void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE) {
    ::InvalidateRgn(m_hWnd, static_cast<HRGN>(pRgn->GetSafeHandle()), bErase);
  }
  void ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
  void ValidateRgn(CRgn* pRgn) { ::ValidateRgn(m_hWnd, static_cast<HRGN>(pRgn->GetSafeHandle())); }
  BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  void ShowOwnedPopups(BOOL bShow = TRUE) { ::ShowOwnedPopups(m_hWnd, bShow); }
  BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) {
    return ::RedrawWindow(m_hWnd, lpRectUpdate, static_cast<HRGN>(prgnUpdate->GetSafeHandle()), flags);
  }
  BOOL LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
  void UnlockWindowUpdate() { ::LockWindowUpdate(nullptr); }
  void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = nullptr, LPCRECT lpClipRect = nullptr) {
    ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect);
  }
  int ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
                     LPRECT lpRectUpdate, UINT flags) {
    return ::ScrollWindowEx(m_hWnd, dx, dy, lpRectScroll, lpRectClip,
                            static_cast<HRGN>(prgnUpdate->GetSafeHandle()), lpRectUpdate, flags);
  }
  BOOL FlashWindow(BOOL bInvert) { return ::FlashWindow(m_hWnd, bInvert); }

  // ---- timers ----
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, void(CALLBACK* lpfnTimer)(HWND, UINT, UINT_PTR, DWORD)) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
  }
  BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

  // ---- state ----
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
  static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
  CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
  static CWnd* GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
  BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
  static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
  CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
  static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
  CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }

  // ---- dialogs from templates (CDialog.cpp) ----
  // This object becomes the dialog made from the template (a resource, or one in memory) over
  // pParentWnd; what a dialog bar or a modeless dialog is made with.
  BOOL CreateDlg(LPCTSTR lpszTemplateName, CWnd* pParentWnd);
  BOOL CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst = nullptr);
  // Sends the messages of dialog-init data (RT_DLGINIT) to the child controls.
  BOOL ExecuteDlgInit(LPCTSTR lpszResourceName);
  BOOL ExecuteDlgInit(LPVOID lpResource);

  // ---- dialog data exchange (DataExchange.cpp) ----
  // Moves data between the controls and the members DoDataExchange names; FALSE when a value
  // failed validation (the user was told, the focus is on the control).
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  virtual void DoDataExchange(CDataExchange*) {}

  // ---- dialog items ----
  CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
  void GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }
  UINT GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const {
    return ::GetDlgItemText(m_hWnd, nID, lpStr, nMaxCount);
  }
  int GetDlgItemText(int nID, CString& rString) const;
  void SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemText(m_hWnd, nID, lpszString); }
  UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
  void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
  LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendDlgItemMessage(m_hWnd, nID, message, wParam, lParam);
  }
  void CheckDlgButton(int nIDButton, UINT nCheck);
  UINT IsDlgButtonChecked(int nIDButton) const;
  void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
  int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton);

  // ---- window scroll bars ----
  // SB_HORZ and SB_VERT go to the scroll-bar control GetScrollBarCtrl names, when there is one (a
  // splitter's shared scroll bars), otherwise to the window's own.
  int GetScrollPos(int nBar) const {
    HWND target = ScrollBarOf(nBar);
    return ::GetScrollPos(target, nBar);
  }
  int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE) {
    HWND target = ScrollBarOf(nBar);
    return ::SetScrollPos(target, nBar, nPos, bRedraw);
  }
  void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const {
    HWND target = ScrollBarOf(nBar);
    ::GetScrollRange(target, nBar, lpMinPos, lpMaxPos);
  }
  void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE) {
    HWND target = ScrollBarOf(nBar);
    ::SetScrollRange(target, nBar, nMinPos, nMaxPos, bRedraw);
  }
  void ShowScrollBar(UINT nBar, BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, static_cast<int>(nBar), bShow); }
  BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
  BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE) {
    HWND target = ScrollBarOf(nBar);
    return ::SetScrollInfo(target, nBar, lpScrollInfo, bRedraw);
  }
  // Enables the scroll-bar controls of GetScrollBarCtrl, or shows or hides the window's own bars.
  void EnableScrollBarCtrl(int nBar, BOOL bEnable = TRUE);
  // The window whose bar nBar stands for (nBar becomes SB_CTL for a scroll-bar control).
  HWND ScrollBarOf(int& nBar) const;
  int GetScrollLimit(int nBar);

  // ---- carets ----
  void CreateSolidCaret(int nWidth, int nHeight) { ::CreateCaret(m_hWnd, nullptr, nWidth, nHeight); }
  void CreateGrayCaret(int nWidth, int nHeight) {
    ::CreateCaret(m_hWnd, reinterpret_cast<HBITMAP>(1), nWidth, nHeight);
  }
  void CreateCaret(CBitmap* pBitmap) {
    ::CreateCaret(m_hWnd, static_cast<HBITMAP>(pBitmap->GetSafeHandle()), 0, 0);
  }
  void ShowCaret() { ::ShowCaret(m_hWnd); }
  void HideCaret() { ::HideCaret(m_hWnd); }
  static void SetCaretPos(POINT point) { ::SetCaretPos(point.x, point.y); }
  static CPoint GetCaretPos();

  // ---- tooltips (CWndToolTips.cpp) ----
  // While enabled, the mouse over this window shows the tip of the tool OnToolHitTest finds, in
  // the thread's tooltip control; PreTranslateMessage feeds it.
  BOOL EnableToolTips(BOOL bEnable = TRUE);
  // The tool at point (client coordinates): its id, -1 for none, and pTI filled (hwnd, uId,
  // uFlags, rect, lpszText). A text that is neither LPSTR_TEXTCALLBACK nor a resource (hinst
  // set) must come from malloc: the framework frees it. The default finds the visible child
  // control under the point, a TTF_IDISHWND tool whose text is asked for.
  virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const;
  void FilterToolTipMessage(MSG* pMsg);
  // Hides the thread's tip until the mouse reaches another tool.
  static void CancelToolTips(BOOL bKeys = FALSE);

  // ---- default handlers of the messages CWnd's own map routes ----
 protected:
  // The text of the thread's tooltip for a tool of this window: the field after the first "\n"
  // of the string resource of the tool's id (the control's id for a window tool).
  afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnNcDestroy();
  afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
  afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  afx_msg void OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct);
  afx_msg int OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg int OnVKeyToItem(UINT nKey, CListBox* pListBox, UINT nIndex);
  afx_msg int OnCharToItem(UINT nChar, CListBox* pListBox, UINT nIndex);
  afx_msg void OnParentNotify(UINT message, LPARAM lParam);
  afx_msg void OnSysColorChange();
  afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);

  // The default of each window message a derived map handles: passes it on as it came.
  afx_msg int OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
  afx_msg void OnDestroy() { Default(); }
  afx_msg void OnPaint() { Default(); }
  afx_msg void OnClose() { Default(); }
  afx_msg void OnSize(UINT, int, int) { Default(); }
  afx_msg void OnMove(int, int) { Default(); }
  afx_msg void OnShowWindow(BOOL, UINT) { Default(); }
  afx_msg BOOL OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
  afx_msg void OnSetFocus(CWnd*) { Default(); }
  afx_msg void OnKillFocus(CWnd*) { Default(); }
  afx_msg void OnEnable(BOOL) { Default(); }
  afx_msg void OnTimer(UINT_PTR) { Default(); }
  afx_msg void OnKeyDown(UINT, UINT, UINT) { Default(); }
  afx_msg void OnKeyUp(UINT, UINT, UINT) { Default(); }
  afx_msg void OnChar(UINT, UINT, UINT) { Default(); }
  afx_msg void OnSysKeyDown(UINT, UINT, UINT) { Default(); }
  afx_msg void OnSysKeyUp(UINT, UINT, UINT) { Default(); }
  afx_msg void OnSysChar(UINT, UINT, UINT) { Default(); }
  afx_msg void OnSysCommand(UINT, LPARAM) { Default(); }
  afx_msg void OnMouseMove(UINT, CPoint) { Default(); }
  afx_msg void OnLButtonDown(UINT, CPoint) { Default(); }
  afx_msg void OnLButtonUp(UINT, CPoint) { Default(); }
  afx_msg void OnLButtonDblClk(UINT, CPoint) { Default(); }
  afx_msg void OnRButtonDown(UINT, CPoint) { Default(); }
  afx_msg void OnRButtonUp(UINT, CPoint) { Default(); }
  afx_msg void OnRButtonDblClk(UINT, CPoint) { Default(); }
  afx_msg void OnMButtonDown(UINT, CPoint) { Default(); }
  afx_msg void OnMButtonUp(UINT, CPoint) { Default(); }
  afx_msg void OnMButtonDblClk(UINT, CPoint) { Default(); }
  afx_msg BOOL OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
  afx_msg BOOL OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
  afx_msg int OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }
  afx_msg void OnActivate(UINT, CWnd*, BOOL) { Default(); }
  afx_msg void OnActivateApp(BOOL, DWORD) { Default(); }
  afx_msg BOOL OnNcActivate(BOOL) { return static_cast<BOOL>(Default()); }
  afx_msg void OnNcPaint() { Default(); }
  afx_msg UINT OnNcHitTest(CPoint) { return static_cast<UINT>(Default()); }
  afx_msg void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
  afx_msg BOOL OnNcCreate(LPCREATESTRUCT) { return static_cast<BOOL>(Default()); }
  afx_msg void OnNcLButtonDown(UINT, CPoint) { Default(); }
  afx_msg void OnNcLButtonUp(UINT, CPoint) { Default(); }
  afx_msg void OnNcLButtonDblClk(UINT, CPoint) { Default(); }
  afx_msg void OnNcRButtonDown(UINT, CPoint) { Default(); }
  afx_msg void OnNcMouseMove(UINT, CPoint) { Default(); }
  afx_msg void OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
  afx_msg void OnWindowPosChanging(WINDOWPOS*) { Default(); }
  afx_msg void OnWindowPosChanged(WINDOWPOS*) { Default(); }
  afx_msg UINT OnGetDlgCode() { return static_cast<UINT>(Default()); }
  afx_msg void OnCancelMode() { Default(); }
  afx_msg void OnCaptureChanged(CWnd*) { Default(); }
  afx_msg void OnContextMenu(CWnd*, CPoint) { Default(); }
  afx_msg void OnInitMenu(CMenu*) { Default(); }
  afx_msg void OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
  afx_msg void OnMenuSelect(UINT, UINT, HMENU) { Default(); }
  afx_msg LRESULT OnMenuChar(UINT, UINT, CMenu*) { return Default(); }
  afx_msg void OnEnterIdle(UINT, CWnd*) { Default(); }
  afx_msg void OnEnterMenuLoop(BOOL) { Default(); }
  afx_msg void OnExitMenuLoop(BOOL) { Default(); }
  afx_msg BOOL OnQueryEndSession() { return static_cast<BOOL>(Default()); }
  afx_msg void OnEndSession(BOOL) { Default(); }
  afx_msg BOOL OnQueryNewPalette() { return static_cast<BOOL>(Default()); }
  afx_msg void OnPaletteChanged(CWnd*) { Default(); }
  afx_msg void OnChildActivate() { Default(); }
  afx_msg void OnStyleChanged(int, LPSTYLESTRUCT) { Default(); }
  afx_msg void OnStyleChanging(int, LPSTYLESTRUCT) { Default(); }
  // WM_HELP (F1, a Help button): a top-level window asks the main window for help (ID_HELP), a
  // child passes it on to its parent.
  afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
  // ID_HELP: help on what is being worked with, asked (WM_COMMANDHELP) of the window that has the
  // capture, then the focus, then the last active popup, each with its parents and owners; the
  // default help (ID_DEFAULT_HELP) when none answers.
  afx_msg void OnHelp();
  afx_msg void OnSizing(UINT, LPRECT) { Default(); }
  afx_msg void OnMoving(UINT, LPRECT) { Default(); }
  afx_msg void OnMouseLeave() { Default(); }
  afx_msg void OnMouseHover(UINT, CPoint) { Default(); }
  afx_msg void OnDropFiles(HDROP) { Default(); }
  afx_msg void OnWinIniChange(LPCTSTR) { Default(); }

  WNDPROC m_pfnSuper = nullptr;  // the procedure a subclassed window had before

  // Borrows hWnd (the objects standing for the SetWindowPos pseudo-handles).
  explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}

  DECLARE_MESSAGE_MAP()

 private:
  // Dispatches one message to a window-message entry; false when the entry does not apply.
  BOOL DispatchWindowMessage(const AFX_MSGMAP_ENTRY* entry, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT* pResult);
  std::vector<IWndPlugIn*> m_plugIns;

  // Offers a message or command to the plug-ins in order until one takes it. A plug-in may unplug
  // (and free) itself or another one while it runs: the walk goes over a copy and skips any
  // plug-in that is no longer plugged in when its turn comes.
  template <class Offer>
  bool OfferToPlugIns(Offer offer) {
    if (m_plugIns.empty()) return false;
    const std::vector<IWndPlugIn*> plugIns = m_plugIns;
    for (IWndPlugIn* plugIn : plugIns) {
      if (std::find(m_plugIns.begin(), m_plugIns.end(), plugIn) == m_plugIns.end()) continue;
      if (offer(plugIn)) return true;
    }
    return false;
  }

  friend LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
  friend class CWinApp;  // its OnHelp asks the main window's windows
};

// The window procedure of every window a CWnd created or subclassed.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
WNDPROC AfxGetAfxWndProc();
// Calls pWnd->WindowProc with the thread's last-sent message set, and restores it after.
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// Makes the next window created on this thread belong to pWnd (attached and subclassed).
void AfxHookWindowCreate(CWnd* pWnd);
// Ends the hook; FALSE when no window was created while it was set.
BOOL AfxUnhookWindowCreate();
// Changes the style (GWL_STYLE) or extended style (GWL_EXSTYLE); FALSE when nothing changed.
BOOL AfxModifyStyle(HWND hWnd, int nStyleOffset, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
// The class CWnd::PreCreateWindow uses when none is given (registered on first use).
LPCTSTR AfxRegisterDefaultWndClass();
// What happens to a framework exception that escaped a window procedure (the thread decides).
LRESULT AfxProcessWndProcException(CException* e, const MSG* pMsg);
// A window of pWnd is being destroyed: the thread forgets it as its main or active window.
void AfxNotifyWindowGone(CWnd* pWnd);

// What WM_SIZEPARENT carries (lParam): the rectangle still free, which each bar shrinks by the
// part it takes, the bars' total size, whether bars stretch across the free rectangle, and the
// deferred move of all of them (null while the layout is only asked for).
struct AFX_SIZEPARENTPARAMS {
  HDWP hDWP;
  RECT rect;
  SIZE sizeTotal;
  BOOL bStretch;
};
// Moves hWnd to lpRect through the layout's deferred move (nothing when only asked for).
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);
