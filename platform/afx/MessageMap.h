// Message maps: the tables that bind window messages, commands and notifications to member
// functions, chained from each class to its base class. Every ON_ macro checks the handler
// against the framework's signature for its message at compile time.
#pragma once

#include "afx/AfxConstants.h"

class CCmdTarget;
class CWnd;
class CCmdUI;
class CDC;
class CMenu;
class CScrollBar;
class CListBox;

#define afx_msg

// The owner-draw structures travel as pointers through the maps.
struct tagDRAWITEMSTRUCT;
struct tagMEASUREITEMSTRUCT;
struct tagDELETEITEMSTRUCT;
struct tagCOMPAREITEMSTRUCT;
typedef tagDRAWITEMSTRUCT* LPDRAWITEMSTRUCT;
typedef tagMEASUREITEMSTRUCT* LPMEASUREITEMSTRUCT;
typedef tagDELETEITEMSTRUCT* LPDELETEITEMSTRUCT;
typedef tagCOMPAREITEMSTRUCT* LPCOMPAREITEMSTRUCT;

// A handler as stored in a map; it is converted back to its exact type before the call.
typedef void (CCmdTarget::*AFX_PMSG)();

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;   // window message, or WM_COMMAND / WM_NOTIFY for commands and notifications
  UINT nCode;      // control notification code, or the CN_ command code
  UINT nID;        // control or command id (0 for window messages)
  UINT nLastID;    // last id of a range
  UINT_PTR nSig;   // AfxSig: how to call the handler (a registered message: the address of its number)
  AFX_PMSG pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// How a handler is called: which arguments it takes from wParam and lParam and what it returns.
enum AfxSig : UINT_PTR {
  AfxSig_end = 0,
  // commands and notifications
  AfxSigCmd_v,          // void ()
  AfxSigCmd_b,          // BOOL ()                       reflected _EX commands
  AfxSigCmd_RANGE,      // void (UINT nID)
  AfxSigCmd_EX,         // BOOL (UINT nID)
  AfxSigCmdUI,          // void (CCmdUI*)
  AfxSigNotify_v,       // void (NMHDR*, LRESULT*)
  AfxSigNotify_b,       // BOOL (NMHDR*, LRESULT*)
  AfxSigNotify_RANGE,   // void (UINT nID, NMHDR*, LRESULT*)
  AfxSigNotify_EX,      // BOOL (UINT nID, NMHDR*, LRESULT*)
  // window messages
  AfxSig_l_w_l,         // LRESULT (WPARAM, LPARAM)      ON_MESSAGE
  AfxSig_v_w_l,         // void (WPARAM, LPARAM)          ON_THREAD_MESSAGE
  AfxSig_v_v,           // void ()
  AfxSig_b_v,           // BOOL ()
  AfxSig_u_v,           // UINT ()
  AfxSig_hcur_v,        // HCURSOR ()                     WM_QUERYDRAGICON
  AfxSig_i_CREATE,      // int (LPCREATESTRUCT)
  AfxSig_b_CREATE,      // BOOL (LPCREATESTRUCT)
  AfxSig_v_b,           // void (BOOL)
  AfxSig_b_b,           // BOOL (BOOL)
  AfxSig_v_WNDw,        // void (CWnd*) from wParam
  AfxSig_v_WNDl,        // void (CWnd*) from lParam
  AfxSig_b_D,           // BOOL (CDC*)
  AfxSig_v_D,           // void (CDC*)
  AfxSig_v_b_u,         // void (BOOL, UINT)
  AfxSig_v_u_ii,        // void (UINT, int, int)          WM_SIZE
  AfxSig_v_ii,          // void (int, int)                WM_MOVE
  AfxSig_v_u_WND_b,     // void (UINT, CWnd*, BOOL)       WM_ACTIVATE
  AfxSig_v_b_dw,        // void (BOOL, DWORD)             WM_ACTIVATEAPP
  AfxSig_b_WND_u_u,     // BOOL (CWnd*, UINT, UINT)       WM_SETCURSOR
  AfxSig_i_WND_u_u,     // int (CWnd*, UINT, UINT)        WM_MOUSEACTIVATE
  AfxSig_v_MINMAX,      // void (MINMAXINFO*)
  AfxSig_v_POS,         // void (WINDOWPOS*)
  AfxSig_v_b_CALC,      // void (BOOL, NCCALCSIZE_PARAMS*)
  AfxSig_v_i_DRAW,      // void (int, LPDRAWITEMSTRUCT)
  AfxSig_v_i_MEASURE,   // void (int, LPMEASUREITEMSTRUCT)
  AfxSig_v_i_DELETE,    // void (int, LPDELETEITEMSTRUCT)
  AfxSig_i_i_COMPARE,   // int (int, LPCOMPAREITEMSTRUCT)
  AfxSig_v_DRAW,        // void (LPDRAWITEMSTRUCT)        reflected
  AfxSig_v_MEASURE,     // void (LPMEASUREITEMSTRUCT)     reflected
  AfxSig_v_DELETE,      // void (LPDELETEITEMSTRUCT)      reflected
  AfxSig_i_COMPARE,     // int (LPCOMPAREITEMSTRUCT)      reflected
  AfxSig_v_u_u_BAR,     // void (UINT, UINT, CScrollBar*) WM_HSCROLL, WM_VSCROLL
  AfxSig_v_u_u,         // void (UINT, UINT)              reflected scrolling
  AfxSig_v_u_u_u,       // void (UINT, UINT, UINT)        keys and characters
  AfxSig_v_u_p,         // void (UINT, CPoint)            mouse
  AfxSig_b_u_s_p,       // BOOL (UINT, short, CPoint)     WM_MOUSEWHEEL
  AfxSig_u_p,           // UINT (CPoint)                  WM_NCHITTEST
  AfxSig_v_u,           // void (UINT)
  AfxSig_v_up,          // void (UINT_PTR)                WM_TIMER
  AfxSig_v_u_l,         // void (UINT, LPARAM)            WM_SYSCOMMAND, WM_PARENTNOTIFY
  AfxSig_v_WND_p,       // void (CWnd*, CPoint)           WM_CONTEXTMENU
  AfxSig_v_u_u_M,       // void (UINT, UINT, HMENU)       WM_MENUSELECT
  AfxSig_v_MENU_u_b,    // void (CMenu*, UINT, BOOL)      WM_INITMENUPOPUP
  AfxSig_v_MENU,        // void (CMenu*)                  WM_INITMENU
  AfxSig_l_u_u_MENU,    // LRESULT (UINT, UINT, CMenu*)   WM_MENUCHAR
  AfxSig_v_u_WND,       // void (UINT, CWnd*)             WM_ENTERIDLE
  AfxSig_h_D_WND_u,     // HBRUSH (CDC*, CWnd*, UINT)     WM_CTLCOLOR
  AfxSig_h_D_u,         // HBRUSH (CDC*, UINT)            reflected WM_CTLCOLOR
  AfxSig_v_u_sz,        // void (UINT, LPCTSTR)           WM_SETTINGCHANGE
  AfxSig_v_sz,          // void (LPCTSTR)                 WM_WININICHANGE, WM_DEVMODECHANGE
  AfxSig_v_i_STYLE,     // void (int, LPSTYLESTRUCT)
  AfxSig_b_HELPINFO,    // BOOL (HELPINFO*)
  AfxSig_v_b_WND_WND,   // void (BOOL, CWnd*, CWnd*)      WM_MDIACTIVATE
  AfxSig_i_u_LIST_u,    // int (UINT, CListBox*, UINT)    WM_VKEYTOITEM, WM_CHARTOITEM
  AfxSig_i_u_u,         // int (UINT, UINT)               reflected WM_VKEYTOITEM, WM_CHARTOITEM
  AfxSig_v_u_RECT,      // void (UINT, LPRECT)            WM_SIZING, WM_MOVING
  AfxSig_v_DROP,        // void (HDROP)
};

// Handlers as stored: checked against the exact signature for the message, then erased. Every
// call converts them back to that exact type, so the erasure is a round trip.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
template <class Result, class... Args>
inline AFX_PMSG AfxWndHandler(Result (CWnd::*pfn)(Args...)) {
  return reinterpret_cast<AFX_PMSG>(static_cast<Result (CCmdTarget::*)(Args...)>(pfn));
}
template <class Result, class... Args>
inline AFX_PMSG AfxCmdHandler(Result (CCmdTarget::*pfn)(Args...)) {
  return reinterpret_cast<AFX_PMSG>(pfn);
}
// The call of a stored handler, with the type it had.
template <class Result, class... Args>
inline Result AfxCallHandler(CCmdTarget* target, AFX_PMSG pfn, Args... args) {
  return (target->*reinterpret_cast<Result (CCmdTarget::*)(Args...)>(pfn))(args...);
}
#pragma GCC diagnostic pop

// WM_TIMER handlers take the timer id as UINT or as UINT_PTR.
template <class T>
inline AFX_MSGMAP_ENTRY AfxTimerEntry(void (T::*pfn)(UINT)) {
  return {WM_TIMER, 0, 0, 0, AfxSig_v_u, AfxWndHandler(static_cast<void (CWnd::*)(UINT)>(pfn))};
}
template <class T>
inline AFX_MSGMAP_ENTRY AfxTimerEntry(void (T::*pfn)(UINT_PTR)) {
  return {WM_TIMER, 0, 0, 0, AfxSig_v_up, AfxWndHandler(static_cast<void (CWnd::*)(UINT_PTR)>(pfn))};
}

// ---- declaring and defining maps ----
// A map whose base class is CCmdTarget has no handlers but its own. Note that the macro leaves
// the class in the protected section, as the framework's does.
#define DECLARE_MESSAGE_MAP()                   \
 protected:                                     \
  static const AFX_MSGMAP* GetThisMessageMap(); \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }     \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                     \
    using ThisClass = theClass;                                                         \
    using TheBaseClass = baseClass;                                                     \
    static_cast<void>(sizeof(ThisClass));                                               \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                 \
  {0, 0, 0, 0, AfxSig_end, nullptr}};                                                     \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                                     \
  }

// ---- window-message entries ----
#define AFX_WM_ENTRY(message, sig, Result, Args, fn) \
  {message, 0, 0, 0, sig, AfxWndHandler(static_cast<Result(CWnd::*) Args>(&ThisClass::fn))},

#define ON_MESSAGE(message, memberFxn) AFX_WM_ENTRY(message, AfxSig_l_w_l, LRESULT, (WPARAM, LPARAM), memberFxn)
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                          \
  {0xC000, 0, 0, 0, reinterpret_cast<UINT_PTR>(static_cast<const UINT*>(&nMessageVariable)), \
   AfxWndHandler(static_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(&ThisClass::memberFxn))},
#define ON_THREAD_MESSAGE(message, memberFxn) \
  {message, 0, 0, 0, AfxSig_v_w_l, AfxCmdHandler(static_cast<void (CCmdTarget::*)(WPARAM, LPARAM)>(&ThisClass::memberFxn))},
#define ON_REGISTERED_THREAD_MESSAGE(nMessageVariable, memberFxn)                   \
  {0xC000, 0, 0, 0, reinterpret_cast<UINT_PTR>(static_cast<const UINT*>(&nMessageVariable)), \
   AfxCmdHandler(static_cast<void (CCmdTarget::*)(WPARAM, LPARAM)>(&ThisClass::memberFxn))},

#define ON_WM_CREATE() AFX_WM_ENTRY(WM_CREATE, AfxSig_i_CREATE, int, (LPCREATESTRUCT), OnCreate)
#define ON_WM_NCCREATE() AFX_WM_ENTRY(WM_NCCREATE, AfxSig_b_CREATE, BOOL, (LPCREATESTRUCT), OnNcCreate)
#define ON_WM_DESTROY() AFX_WM_ENTRY(WM_DESTROY, AfxSig_v_v, void, (), OnDestroy)
#define ON_WM_NCDESTROY() AFX_WM_ENTRY(WM_NCDESTROY, AfxSig_v_v, void, (), OnNcDestroy)
#define ON_WM_MOVE() AFX_WM_ENTRY(WM_MOVE, AfxSig_v_ii, void, (int, int), OnMove)
#define ON_WM_SIZE() AFX_WM_ENTRY(WM_SIZE, AfxSig_v_u_ii, void, (UINT, int, int), OnSize)
#define ON_WM_SIZING() AFX_WM_ENTRY(WM_SIZING, AfxSig_v_u_RECT, void, (UINT, LPRECT), OnSizing)
#define ON_WM_MOVING() AFX_WM_ENTRY(WM_MOVING, AfxSig_v_u_RECT, void, (UINT, LPRECT), OnMoving)
#define ON_WM_ACTIVATE() AFX_WM_ENTRY(WM_ACTIVATE, AfxSig_v_u_WND_b, void, (UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_ACTIVATEAPP() AFX_WM_ENTRY(WM_ACTIVATEAPP, AfxSig_v_b_dw, void, (BOOL, DWORD), OnActivateApp)
#define ON_WM_SETFOCUS() AFX_WM_ENTRY(WM_SETFOCUS, AfxSig_v_WNDw, void, (CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_WM_ENTRY(WM_KILLFOCUS, AfxSig_v_WNDw, void, (CWnd*), OnKillFocus)
#define ON_WM_ENABLE() AFX_WM_ENTRY(WM_ENABLE, AfxSig_v_b, void, (BOOL), OnEnable)
#define ON_WM_PAINT() AFX_WM_ENTRY(WM_PAINT, AfxSig_v_v, void, (), OnPaint)
#define ON_WM_CLOSE() AFX_WM_ENTRY(WM_CLOSE, AfxSig_v_v, void, (), OnClose)
#define ON_WM_QUERYENDSESSION() AFX_WM_ENTRY(WM_QUERYENDSESSION, AfxSig_b_v, BOOL, (), OnQueryEndSession)
#define ON_WM_QUERYOPEN() AFX_WM_ENTRY(WM_QUERYOPEN, AfxSig_b_v, BOOL, (), OnQueryOpen)
#define ON_WM_ENDSESSION() AFX_WM_ENTRY(WM_ENDSESSION, AfxSig_v_b, void, (BOOL), OnEndSession)
#define ON_WM_ERASEBKGND() AFX_WM_ENTRY(WM_ERASEBKGND, AfxSig_b_D, BOOL, (CDC*), OnEraseBkgnd)
#define ON_WM_ICONERASEBKGND() AFX_WM_ENTRY(WM_ICONERASEBKGND, AfxSig_v_D, void, (CDC*), OnIconEraseBkgnd)
#define ON_WM_SYSCOLORCHANGE() AFX_WM_ENTRY(WM_SYSCOLORCHANGE, AfxSig_v_v, void, (), OnSysColorChange)
#define ON_WM_SHOWWINDOW() AFX_WM_ENTRY(WM_SHOWWINDOW, AfxSig_v_b_u, void, (BOOL, UINT), OnShowWindow)
#define ON_WM_SETTINGCHANGE() AFX_WM_ENTRY(WM_SETTINGCHANGE, AfxSig_v_u_sz, void, (UINT, LPCTSTR), OnSettingChange)
#define ON_WM_WININICHANGE() AFX_WM_ENTRY(WM_WININICHANGE, AfxSig_v_sz, void, (LPCTSTR), OnWinIniChange)
#define ON_WM_DEVMODECHANGE() AFX_WM_ENTRY(WM_DEVMODECHANGE, AfxSig_v_sz, void, (LPTSTR), OnDevModeChange)
#define ON_WM_FONTCHANGE() AFX_WM_ENTRY(WM_FONTCHANGE, AfxSig_v_v, void, (), OnFontChange)
#define ON_WM_TIMECHANGE() AFX_WM_ENTRY(WM_TIMECHANGE, AfxSig_v_v, void, (), OnTimeChange)
#define ON_WM_CANCELMODE() AFX_WM_ENTRY(WM_CANCELMODE, AfxSig_v_v, void, (), OnCancelMode)
#define ON_WM_SETCURSOR() AFX_WM_ENTRY(WM_SETCURSOR, AfxSig_b_WND_u_u, BOOL, (CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_MOUSEACTIVATE() AFX_WM_ENTRY(WM_MOUSEACTIVATE, AfxSig_i_WND_u_u, int, (CWnd*, UINT, UINT), OnMouseActivate)
#define ON_WM_CHILDACTIVATE() AFX_WM_ENTRY(WM_CHILDACTIVATE, AfxSig_v_v, void, (), OnChildActivate)
#define ON_WM_GETMINMAXINFO() AFX_WM_ENTRY(WM_GETMINMAXINFO, AfxSig_v_MINMAX, void, (MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_WINDOWPOSCHANGING() AFX_WM_ENTRY(WM_WINDOWPOSCHANGING, AfxSig_v_POS, void, (WINDOWPOS*), OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() AFX_WM_ENTRY(WM_WINDOWPOSCHANGED, AfxSig_v_POS, void, (WINDOWPOS*), OnWindowPosChanged)
#define ON_WM_STYLECHANGING() AFX_WM_ENTRY(WM_STYLECHANGING, AfxSig_v_i_STYLE, void, (int, LPSTYLESTRUCT), OnStyleChanging)
#define ON_WM_STYLECHANGED() AFX_WM_ENTRY(WM_STYLECHANGED, AfxSig_v_i_STYLE, void, (int, LPSTYLESTRUCT), OnStyleChanged)
#define ON_WM_DRAWITEM() AFX_WM_ENTRY(WM_DRAWITEM, AfxSig_v_i_DRAW, void, (int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_MEASUREITEM() AFX_WM_ENTRY(WM_MEASUREITEM, AfxSig_v_i_MEASURE, void, (int, LPMEASUREITEMSTRUCT), OnMeasureItem)
#define ON_WM_DELETEITEM() AFX_WM_ENTRY(WM_DELETEITEM, AfxSig_v_i_DELETE, void, (int, LPDELETEITEMSTRUCT), OnDeleteItem)
#define ON_WM_COMPAREITEM() AFX_WM_ENTRY(WM_COMPAREITEM, AfxSig_i_i_COMPARE, int, (int, LPCOMPAREITEMSTRUCT), OnCompareItem)
#define ON_WM_VKEYTOITEM() AFX_WM_ENTRY(WM_VKEYTOITEM, AfxSig_i_u_LIST_u, int, (UINT, CListBox*, UINT), OnVKeyToItem)
#define ON_WM_CHARTOITEM() AFX_WM_ENTRY(WM_CHARTOITEM, AfxSig_i_u_LIST_u, int, (UINT, CListBox*, UINT), OnCharToItem)
#define ON_WM_QUERYDRAGICON() AFX_WM_ENTRY(WM_QUERYDRAGICON, AfxSig_hcur_v, HCURSOR, (), OnQueryDragIcon)
#define ON_WM_NCCALCSIZE() AFX_WM_ENTRY(WM_NCCALCSIZE, AfxSig_v_b_CALC, void, (BOOL, NCCALCSIZE_PARAMS*), OnNcCalcSize)
#define ON_WM_NCHITTEST() AFX_WM_ENTRY(WM_NCHITTEST, AfxSig_u_p, UINT, (CPoint), OnNcHitTest)
#define ON_WM_NCPAINT() AFX_WM_ENTRY(WM_NCPAINT, AfxSig_v_v, void, (), OnNcPaint)
#define ON_WM_NCACTIVATE() AFX_WM_ENTRY(WM_NCACTIVATE, AfxSig_b_b, BOOL, (BOOL), OnNcActivate)
#define ON_WM_GETDLGCODE() AFX_WM_ENTRY(WM_GETDLGCODE, AfxSig_u_v, UINT, (), OnGetDlgCode)
#define ON_WM_NCMOUSEMOVE() AFX_WM_ENTRY(WM_NCMOUSEMOVE, AfxSig_v_u_p, void, (UINT, CPoint), OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN() AFX_WM_ENTRY(WM_NCLBUTTONDOWN, AfxSig_v_u_p, void, (UINT, CPoint), OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_WM_ENTRY(WM_NCLBUTTONUP, AfxSig_v_u_p, void, (UINT, CPoint), OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_WM_ENTRY(WM_NCLBUTTONDBLCLK, AfxSig_v_u_p, void, (UINT, CPoint), OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() AFX_WM_ENTRY(WM_NCRBUTTONDOWN, AfxSig_v_u_p, void, (UINT, CPoint), OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() AFX_WM_ENTRY(WM_NCRBUTTONUP, AfxSig_v_u_p, void, (UINT, CPoint), OnNcRButtonUp)
#define ON_WM_NCRBUTTONDBLCLK() AFX_WM_ENTRY(WM_NCRBUTTONDBLCLK, AfxSig_v_u_p, void, (UINT, CPoint), OnNcRButtonDblClk)
#define ON_WM_NCMBUTTONDOWN() AFX_WM_ENTRY(WM_NCMBUTTONDOWN, AfxSig_v_u_p, void, (UINT, CPoint), OnNcMButtonDown)
#define ON_WM_NCMBUTTONUP() AFX_WM_ENTRY(WM_NCMBUTTONUP, AfxSig_v_u_p, void, (UINT, CPoint), OnNcMButtonUp)
#define ON_WM_NCMBUTTONDBLCLK() AFX_WM_ENTRY(WM_NCMBUTTONDBLCLK, AfxSig_v_u_p, void, (UINT, CPoint), OnNcMButtonDblClk)
#define ON_WM_KEYDOWN() AFX_WM_ENTRY(WM_KEYDOWN, AfxSig_v_u_u_u, void, (UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() AFX_WM_ENTRY(WM_KEYUP, AfxSig_v_u_u_u, void, (UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() AFX_WM_ENTRY(WM_CHAR, AfxSig_v_u_u_u, void, (UINT, UINT, UINT), OnChar)
#define ON_WM_DEADCHAR() AFX_WM_ENTRY(WM_DEADCHAR, AfxSig_v_u_u_u, void, (UINT, UINT, UINT), OnDeadChar)
#define ON_WM_SYSKEYDOWN() AFX_WM_ENTRY(WM_SYSKEYDOWN, AfxSig_v_u_u_u, void, (UINT, UINT, UINT), OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_WM_ENTRY(WM_SYSKEYUP, AfxSig_v_u_u_u, void, (UINT, UINT, UINT), OnSysKeyUp)
#define ON_WM_SYSCHAR() AFX_WM_ENTRY(WM_SYSCHAR, AfxSig_v_u_u_u, void, (UINT, UINT, UINT), OnSysChar)
#define ON_WM_SYSDEADCHAR() AFX_WM_ENTRY(WM_SYSDEADCHAR, AfxSig_v_u_u_u, void, (UINT, UINT, UINT), OnSysDeadChar)
#define ON_WM_SYSCOMMAND() AFX_WM_ENTRY(WM_SYSCOMMAND, AfxSig_v_u_l, void, (UINT, LPARAM), OnSysCommand)
#define ON_WM_TIMER() AfxTimerEntry(&ThisClass::OnTimer),
#define ON_WM_HSCROLL() AFX_WM_ENTRY(WM_HSCROLL, AfxSig_v_u_u_BAR, void, (UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL() AFX_WM_ENTRY(WM_VSCROLL, AfxSig_v_u_u_BAR, void, (UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_INITMENU() AFX_WM_ENTRY(WM_INITMENU, AfxSig_v_MENU, void, (CMenu*), OnInitMenu)
#define ON_WM_INITMENUPOPUP() AFX_WM_ENTRY(WM_INITMENUPOPUP, AfxSig_v_MENU_u_b, void, (CMenu*, UINT, BOOL), OnInitMenuPopup)
#define ON_WM_MENUSELECT() AFX_WM_ENTRY(WM_MENUSELECT, AfxSig_v_u_u_M, void, (UINT, UINT, HMENU), OnMenuSelect)
#define ON_WM_MENUCHAR() AFX_WM_ENTRY(WM_MENUCHAR, AfxSig_l_u_u_MENU, LRESULT, (UINT, UINT, CMenu*), OnMenuChar)
#define ON_WM_ENTERIDLE() AFX_WM_ENTRY(WM_ENTERIDLE, AfxSig_v_u_WND, void, (UINT, CWnd*), OnEnterIdle)
#define ON_WM_ENTERMENULOOP() AFX_WM_ENTRY(WM_ENTERMENULOOP, AfxSig_v_b, void, (BOOL), OnEnterMenuLoop)
#define ON_WM_EXITMENULOOP() AFX_WM_ENTRY(WM_EXITMENULOOP, AfxSig_v_b, void, (BOOL), OnExitMenuLoop)
#define ON_WM_CONTEXTMENU() AFX_WM_ENTRY(WM_CONTEXTMENU, AfxSig_v_WND_p, void, (CWnd*, CPoint), OnContextMenu)
#define ON_WM_MOUSEMOVE() AFX_WM_ENTRY(WM_MOUSEMOVE, AfxSig_v_u_p, void, (UINT, CPoint), OnMouseMove)
#define ON_WM_MOUSEWHEEL() AFX_WM_ENTRY(WM_MOUSEWHEEL, AfxSig_b_u_s_p, BOOL, (UINT, short, CPoint), OnMouseWheel)
#define ON_WM_LBUTTONDOWN() AFX_WM_ENTRY(WM_LBUTTONDOWN, AfxSig_v_u_p, void, (UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WM_ENTRY(WM_LBUTTONUP, AfxSig_v_u_p, void, (UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_WM_ENTRY(WM_LBUTTONDBLCLK, AfxSig_v_u_p, void, (UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_WM_ENTRY(WM_RBUTTONDOWN, AfxSig_v_u_p, void, (UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_WM_ENTRY(WM_RBUTTONUP, AfxSig_v_u_p, void, (UINT, CPoint), OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_WM_ENTRY(WM_RBUTTONDBLCLK, AfxSig_v_u_p, void, (UINT, CPoint), OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_WM_ENTRY(WM_MBUTTONDOWN, AfxSig_v_u_p, void, (UINT, CPoint), OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_WM_ENTRY(WM_MBUTTONUP, AfxSig_v_u_p, void, (UINT, CPoint), OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() AFX_WM_ENTRY(WM_MBUTTONDBLCLK, AfxSig_v_u_p, void, (UINT, CPoint), OnMButtonDblClk)
#define ON_WM_MOUSEHOVER() AFX_WM_ENTRY(WM_MOUSEHOVER, AfxSig_v_u_p, void, (UINT, CPoint), OnMouseHover)
#define ON_WM_MOUSELEAVE() AFX_WM_ENTRY(WM_MOUSELEAVE, AfxSig_v_v, void, (), OnMouseLeave)
#define ON_WM_CAPTURECHANGED() AFX_WM_ENTRY(WM_CAPTURECHANGED, AfxSig_v_WNDl, void, (CWnd*), OnCaptureChanged)
#define ON_WM_ENTERSIZEMOVE() AFX_WM_ENTRY(WM_ENTERSIZEMOVE, AfxSig_v_v, void, (), OnEnterSizeMove)
#define ON_WM_EXITSIZEMOVE() AFX_WM_ENTRY(WM_EXITSIZEMOVE, AfxSig_v_v, void, (), OnExitSizeMove)
#define ON_WM_PARENTNOTIFY() AFX_WM_ENTRY(WM_PARENTNOTIFY, AfxSig_v_u_l, void, (UINT, LPARAM), OnParentNotify)
#define ON_WM_MDIACTIVATE() AFX_WM_ENTRY(WM_MDIACTIVATE, AfxSig_v_b_WND_WND, void, (BOOL, CWnd*, CWnd*), OnMDIActivate)
#define ON_WM_HELPINFO() AFX_WM_ENTRY(WM_HELP, AfxSig_b_HELPINFO, BOOL, (HELPINFO*), OnHelpInfo)
#define ON_WM_DROPFILES() AFX_WM_ENTRY(WM_DROPFILES, AfxSig_v_DROP, void, (HDROP), OnDropFiles)
#define ON_WM_PALETTECHANGED() AFX_WM_ENTRY(WM_PALETTECHANGED, AfxSig_v_WNDw, void, (CWnd*), OnPaletteChanged)
#define ON_WM_PALETTEISCHANGING() AFX_WM_ENTRY(WM_PALETTEISCHANGING, AfxSig_v_WNDw, void, (CWnd*), OnPaletteIsChanging)
#define ON_WM_QUERYNEWPALETTE() AFX_WM_ENTRY(WM_QUERYNEWPALETTE, AfxSig_b_v, BOOL, (), OnQueryNewPalette)
// WM_CTLCOLORBTN ... WM_CTLCOLORSTATIC all arrive at this entry with the control type.
#define ON_WM_CTLCOLOR() AFX_WM_ENTRY(WM_CTLCOLOR, AfxSig_h_D_WND_u, HBRUSH, (CDC*, CWnd*, UINT), OnCtlColor)

// ---- reflected messages, handled by the control that caused them ----
#define ON_WM_CTLCOLOR_REFLECT(memberFxn) \
  AFX_WM_ENTRY(WM_CTLCOLOR + WM_REFLECT_BASE, AfxSig_h_D_u, HBRUSH, (CDC*, UINT), memberFxn)
#define ON_WM_DRAWITEM_REFLECT(memberFxn) \
  AFX_WM_ENTRY(WM_DRAWITEM + WM_REFLECT_BASE, AfxSig_v_DRAW, void, (LPDRAWITEMSTRUCT), memberFxn)
#define ON_WM_MEASUREITEM_REFLECT(memberFxn) \
  AFX_WM_ENTRY(WM_MEASUREITEM + WM_REFLECT_BASE, AfxSig_v_MEASURE, void, (LPMEASUREITEMSTRUCT), memberFxn)
#define ON_WM_DELETEITEM_REFLECT(memberFxn) \
  AFX_WM_ENTRY(WM_DELETEITEM + WM_REFLECT_BASE, AfxSig_v_DELETE, void, (LPDELETEITEMSTRUCT), memberFxn)
#define ON_WM_COMPAREITEM_REFLECT(memberFxn) \
  AFX_WM_ENTRY(WM_COMPAREITEM + WM_REFLECT_BASE, AfxSig_i_COMPARE, int, (LPCOMPAREITEMSTRUCT), memberFxn)
#define ON_WM_HSCROLL_REFLECT(memberFxn) \
  AFX_WM_ENTRY(WM_HSCROLL + WM_REFLECT_BASE, AfxSig_v_u_u, void, (UINT, UINT), memberFxn)
#define ON_WM_VSCROLL_REFLECT(memberFxn) \
  AFX_WM_ENTRY(WM_VSCROLL + WM_REFLECT_BASE, AfxSig_v_u_u, void, (UINT, UINT), memberFxn)
#define ON_WM_PARENTNOTIFY_REFLECT(memberFxn) \
  AFX_WM_ENTRY(WM_PARENTNOTIFY + WM_REFLECT_BASE, AfxSig_v_u_l, void, (UINT, LPARAM), memberFxn)
#define ON_WM_VKEYTOITEM_REFLECT(memberFxn) \
  AFX_WM_ENTRY(WM_VKEYTOITEM + WM_REFLECT_BASE, AfxSig_i_u_u, int, (UINT, UINT), memberFxn)
#define ON_WM_CHARTOITEM_REFLECT(memberFxn) \
  AFX_WM_ENTRY(WM_CHARTOITEM + WM_REFLECT_BASE, AfxSig_i_u_u, int, (UINT, UINT), memberFxn)

// ---- commands ----
#define AFX_CMD_ENTRY(message, code, id, idLast, sig, Result, Args, fn)            \
  {static_cast<UINT>(message), static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(idLast), sig, \
   AfxCmdHandler(static_cast<Result(CCmdTarget::*) Args>(&ThisClass::fn))},

#define ON_COMMAND(id, memberFxn) AFX_CMD_ENTRY(WM_COMMAND, CN_COMMAND, id, id, AfxSigCmd_v, void, (), memberFxn)
// The handler returns FALSE to let the command go on to the next target.
#define ON_COMMAND_EX(id, memberFxn) AFX_CMD_ENTRY(WM_COMMAND, CN_COMMAND, id, id, AfxSigCmd_EX, BOOL, (UINT), memberFxn)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
  AFX_CMD_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, AfxSigCmd_RANGE, void, (UINT), memberFxn)
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
  AFX_CMD_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, AfxSigCmd_EX, BOOL, (UINT), memberFxn)
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
  AFX_CMD_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, AfxSigCmdUI, void, (CCmdUI*), memberFxn)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
  AFX_CMD_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, AfxSigCmdUI, void, (CCmdUI*), memberFxn)

// ---- control notifications (WM_COMMAND) ----
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
  AFX_CMD_ENTRY(WM_COMMAND, wNotifyCode, id, id, AfxSigCmd_v, void, (), memberFxn)
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
  AFX_CMD_ENTRY(WM_COMMAND, wNotifyCode, id, idLast, AfxSigCmd_RANGE, void, (UINT), memberFxn)
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
  AFX_CMD_ENTRY(WM_COMMAND + WM_REFLECT_BASE, wNotifyCode, 0, 0, AfxSigCmd_v, void, (), memberFxn)
// The handler returns FALSE to let the parent see the notification as well.
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn) \
  AFX_CMD_ENTRY(WM_COMMAND + WM_REFLECT_BASE, wNotifyCode, 0, 0, AfxSigCmd_b, BOOL, (), memberFxn)

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_ERRSPACE(id, memberFxn) ON_CONTROL(EN_ERRSPACE, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_HSCROLL(id, memberFxn) ON_CONTROL(EN_HSCROLL, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn) ON_CONTROL(EN_VSCROLL, id, memberFxn)
#define ON_LBN_ERRSPACE(id, memberFxn) ON_CONTROL(LBN_ERRSPACE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_CLBN_CHKCHANGE(id, memberFxn) ON_CONTROL(CLBN_CHKCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_ERRSPACE(id, memberFxn) ON_CONTROL(CBN_ERRSPACE, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)
#define ON_STN_ENABLE(id, memberFxn) ON_CONTROL(STN_ENABLE, id, memberFxn)
#define ON_STN_DISABLE(id, memberFxn) ON_CONTROL(STN_DISABLE, id, memberFxn)

// ---- notifications (WM_NOTIFY) ----
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                              \
  AFX_CMD_ENTRY(WM_NOTIFY, static_cast<WORD>(static_cast<int>(wNotifyCode)), id, id, AfxSigNotify_v, void, \
                (NMHDR*, LRESULT*), memberFxn)
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                        \
  AFX_CMD_ENTRY(WM_NOTIFY, static_cast<WORD>(static_cast<int>(wNotifyCode)), id, idLast, AfxSigNotify_RANGE, \
                void, (UINT, NMHDR*, LRESULT*), memberFxn)
// The handler returns FALSE to let the notification go on to the next target.
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                          \
  AFX_CMD_ENTRY(WM_NOTIFY, static_cast<WORD>(static_cast<int>(wNotifyCode)), id, id, AfxSigNotify_EX, BOOL, \
                (UINT, NMHDR*, LRESULT*), memberFxn)
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn)                                  \
  AFX_CMD_ENTRY(WM_NOTIFY, static_cast<WORD>(static_cast<int>(wNotifyCode)), id, idLast, AfxSigNotify_EX, \
                BOOL, (UINT, NMHDR*, LRESULT*), memberFxn)
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                       \
  AFX_CMD_ENTRY(WM_NOTIFY + WM_REFLECT_BASE, static_cast<WORD>(static_cast<int>(wNotifyCode)), 0, 0, AfxSigNotify_v, \
                void, (NMHDR*, LRESULT*), memberFxn)
// The handler returns FALSE to let the parent see the notification as well.
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                                    \
  AFX_CMD_ENTRY(WM_NOTIFY + WM_REFLECT_BASE, static_cast<WORD>(static_cast<int>(wNotifyCode)), 0, 0, AfxSigNotify_b, \
                BOOL, (NMHDR*, LRESULT*), memberFxn)
