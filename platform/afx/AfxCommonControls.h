// The framework's objects over the common controls: CAnimateCtrl, CProgressCtrl,
// CSpinButtonCtrl, CToolTipCtrl, CTabCtrl, CHotKeyCtrl and CStatusBarCtrl, thin wrappers of their
// messages.
#pragma once

#include "afx/AfxControls.h"
#include "afx/AfxResources.h"
#include "afx/CImageList.h"
#include "controls/CommCtrl.h"

namespace brambolt::afx {
// The visible child control of hWnd under the screen point, enabled or not, that can be a tool:
// one with an id, and no group box.
HWND ToolChildFromPoint(HWND hWnd, POINT screen);
}  // namespace brambolt::afx

class CAnimateCtrl : public CWnd {
  DECLARE_DYNAMIC(CAnimateCtrl)

 public:
  CAnimateCtrl() = default;
  // dwStyle: WS_ and ACS_ styles.
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // An "AVI" resource of the module that has it (AfxFindResourceHandle), else a clip file.
  BOOL Open(LPCTSTR lpszFileName) {
    return Animate_OpenEx(m_hWnd, AfxFindResourceHandle(lpszFileName, "AVI"), lpszFileName);
  }
  BOOL Open(UINT nID) { return Open(MAKEINTRESOURCE(nID)); }
  // Plays frames nFrom..nTo (0xFFFF: the last frame) nRep times (-1: for ever).
  BOOL Play(UINT nFrom, UINT nTo, UINT nRep) { return Animate_Play(m_hWnd, nFrom, nTo, nRep); }
  BOOL Stop() { return Animate_Stop(m_hWnd); }
  BOOL Close() { return Animate_Close(m_hWnd); }
  // Shows frame nTo (0xFFFF: the last one).
  BOOL Seek(UINT nTo) { return Animate_Seek(m_hWnd, nTo); }
  BOOL IsPlaying() const { return Animate_IsPlaying(m_hWnd); }
};

class CProgressCtrl : public CWnd {
  DECLARE_DYNAMIC(CProgressCtrl)

 public:
  CProgressCtrl() = default;
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  void SetRange(short nLower, short nUpper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
  void SetRange32(int nLower, int nUpper) { SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper); }
  void GetRange(int& nLower, int& nUpper) const {
    PBRANGE range{};
    ::SendMessage(m_hWnd, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    nLower = range.iLow;
    nUpper = range.iHigh;
  }
  // Each returns the previous position.
  int SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(nPos))); }
  int OffsetPos(int nPos) { return static_cast<int>(SendMessage(PBM_DELTAPOS, static_cast<WPARAM>(nPos))); }
  int StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
  int GetPos() const { return static_cast<int>(::SendMessage(m_hWnd, PBM_GETPOS, 0, 0)); }
  // Returns the previous step.
  int SetStep(int nStep) { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(nStep))); }
  COLORREF SetBarColor(COLORREF clrBar) { return static_cast<COLORREF>(SendMessage(PBM_SETBARCOLOR, 0, clrBar)); }
  COLORREF SetBkColor(COLORREF clrNew) { return static_cast<COLORREF>(SendMessage(PBM_SETBKCOLOR, 0, clrNew)); }
};

class CSpinButtonCtrl : public CWnd {
  DECLARE_DYNAMIC(CSpinButtonCtrl)

 public:
  CSpinButtonCtrl() = default;
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  BOOL SetAccel(int nAccel, UDACCEL* pAccel) {
    return static_cast<BOOL>(SendMessage(UDM_SETACCEL, static_cast<WPARAM>(nAccel), reinterpret_cast<LPARAM>(pAccel)));
  }
  // Fills up to nAccel entries; returns how many the control has.
  UINT GetAccel(int nAccel, UDACCEL* pAccel) const {
    return static_cast<UINT>(
        ::SendMessage(m_hWnd, UDM_GETACCEL, static_cast<WPARAM>(nAccel), reinterpret_cast<LPARAM>(pAccel)));
  }
  // 10 or 16; returns the previous base (0 for any other).
  int SetBase(int nBase) { return static_cast<int>(SendMessage(UDM_SETBASE, static_cast<WPARAM>(nBase))); }
  UINT GetBase() const { return static_cast<UINT>(::SendMessage(m_hWnd, UDM_GETBASE, 0, 0)); }
  // Returns the previous buddy.
  CWnd* SetBuddy(CWnd* pWndBuddy) {
    auto buddy = reinterpret_cast<WPARAM>(pWndBuddy->GetSafeHwnd());
    return FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_SETBUDDY, buddy)));
  }
  CWnd* GetBuddy() const { return FromHandle(reinterpret_cast<HWND>(::SendMessage(m_hWnd, UDM_GETBUDDY, 0, 0))); }
  // Returns the previous position.
  int SetPos(int nPos) { return static_cast<short>(SendMessage(UDM_SETPOS, 0, MAKELPARAM(nPos, 0))); }
  // LOWORD: the position; HIWORD non-zero when the buddy's text was no valid position.
  int GetPos() const { return static_cast<int>(::SendMessage(m_hWnd, UDM_GETPOS, 0, 0)); }
  int SetPos32(int nPos) { return static_cast<int>(SendMessage(UDM_SETPOS32, 0, nPos)); }
  int GetPos32(LPBOOL lpbError = nullptr) const {
    return static_cast<int>(::SendMessage(m_hWnd, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(lpbError)));
  }
  void SetRange(short nLower, short nUpper) { SendMessage(UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower)); }
  // LOWORD: the upper limit, HIWORD: the lower one.
  DWORD GetRange() const { return static_cast<DWORD>(::SendMessage(m_hWnd, UDM_GETRANGE, 0, 0)); }
  void GetRange(int& lower, int& upper) const {
    DWORD range = GetRange();
    lower = static_cast<short>(HIWORD(range));
    upper = static_cast<short>(LOWORD(range));
  }
  void SetRange32(int nLower, int nUpper) { SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper); }
  void GetRange32(int& lower, int& upper) const {
    ::SendMessage(m_hWnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
  }
};

// A TOOLINFO of the size the tooltip control expects, cleared.
class CToolInfo : public TOOLINFO {
 public:
  CToolInfo() : TOOLINFO{} { cbSize = sizeof(TOOLINFO); }
  TCHAR szText[256] = {};
};

class CToolTipCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolTipCtrl)

 public:
  CToolTipCtrl() = default;
  // A topmost popup owned by pParentWnd; dwStyle: TTS_ styles.
  using CWnd::Create;
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

  // A tool is a window (nIDTool 0: pWnd itself, and the notifications go to its parent) or a
  // rectangle of pWnd's client area with an id of the caller's. The text is a string, a string
  // resource of the framework's resource module, or LPSTR_TEXTCALLBACK (asked for by TTN_NEEDTEXT).
  BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
  BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = nullptr,
               UINT_PTR nIDTool = 0);
  void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
  void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  void UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
  // The text goes to lpToolInfo's own szText.
  BOOL GetToolInfo(CToolInfo& toolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
  // lpToolInfo->lpszText must point to 80 characters of room (or be LPSTR_TEXTCALLBACK).
  BOOL GetToolInfo(LPTOOLINFO lpToolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
  void SetToolInfo(LPTOOLINFO lpToolInfo) { SendMessage(TTM_SETTOOLINFO, 0, reinterpret_cast<LPARAM>(lpToolInfo)); }
  void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
  int GetToolCount() const { return static_cast<int>(::SendMessage(m_hWnd, TTM_GETTOOLCOUNT, 0, 0)); }
  // The tool at pt (pWnd's client coordinates), filling lpToolInfo; FALSE for none.
  BOOL HitTest(CWnd* pWnd, CPoint pt, LPTOOLINFO lpToolInfo) const;

  void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, static_cast<WPARAM>(bActivate)); }
  // Hands a mouse message of a tool's window to the control (the tip starts and ends with them).
  void RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }
  void Pop() { SendMessage(TTM_POP); }
  void Update() { SendMessage(TTM_UPDATE); }

  // The initial delay in milliseconds, the others derived from it.
  void SetDelayTime(UINT nDelay) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(nDelay, 0)); }
  // dwDuration: TTDT_INITIAL, TTDT_AUTOPOP, TTDT_RESHOW or TTDT_AUTOMATIC.
  void SetDelayTime(DWORD dwDuration, int iTime) { SendMessage(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0)); }
  int GetDelayTime(DWORD dwDuration) const {
    return static_cast<int>(::SendMessage(m_hWnd, TTM_GETDELAYTIME, dwDuration, 0));
  }
  // -1: no limit. Returns the previous width.
  int SetMaxTipWidth(int iWidth) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth)); }
  int GetMaxTipWidth() const { return static_cast<int>(::SendMessage(m_hWnd, TTM_GETMAXTIPWIDTH, 0, 0)); }
  void SetMargin(LPRECT lprc) { SendMessage(TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(lprc)); }
  void GetMargin(LPRECT lprc) const { ::SendMessage(m_hWnd, TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(lprc)); }
  void SetTipBkColor(COLORREF clr) { SendMessage(TTM_SETTIPBKCOLOR, clr); }
  COLORREF GetTipBkColor() const { return static_cast<COLORREF>(::SendMessage(m_hWnd, TTM_GETTIPBKCOLOR, 0, 0)); }
  void SetTipTextColor(COLORREF clr) { SendMessage(TTM_SETTIPTEXTCOLOR, clr); }
  COLORREF GetTipTextColor() const {
    return static_cast<COLORREF>(::SendMessage(m_hWnd, TTM_GETTIPTEXTCOLOR, 0, 0));
  }

 protected:
  // The control asks which window the mouse is over: a disabled or transparent control counts.
  afx_msg LRESULT OnWindowFromPoint(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

class CTabCtrl : public CWnd {
  DECLARE_DYNAMIC(CTabCtrl)

 public:
  CTabCtrl() = default;
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetItemCount() const { return Get(TCM_GETITEMCOUNT); }
  BOOL GetItem(int nItem, TCITEM* pTabCtrlItem) const {
    return Get(TCM_GETITEM, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pTabCtrlItem));
  }
  BOOL SetItem(int nItem, TCITEM* pTabCtrlItem) {
    return Send(TCM_SETITEM, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pTabCtrlItem));
  }
  // Each returns the new tab's index, -1 on failure.
  LONG InsertItem(int nItem, TCITEM* pTabCtrlItem) {
    return Send(TCM_INSERTITEM, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(pTabCtrlItem));
  }
  LONG InsertItem(int nItem, LPCTSTR lpszItem) { return InsertItem(TCIF_TEXT, nItem, lpszItem, 0, 0); }
  LONG InsertItem(int nItem, LPCTSTR lpszItem, int nImage) {
    return InsertItem(TCIF_TEXT | TCIF_IMAGE, nItem, lpszItem, nImage, 0);
  }
  LONG InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, int nImage, LPARAM lParam);
  BOOL DeleteItem(int nItem) { return Send(TCM_DELETEITEM, static_cast<WPARAM>(nItem)); }
  BOOL DeleteAllItems() { return Send(TCM_DELETEALLITEMS); }
  BOOL GetItemRect(int nItem, LPRECT lpRect) const {
    return Get(TCM_GETITEMRECT, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(lpRect));
  }
  int GetCurSel() const { return Get(TCM_GETCURSEL); }
  // Returns the previous selection; sends no TCN_SELCHANGING/TCN_SELCHANGE.
  int SetCurSel(int nItem) { return Send(TCM_SETCURSEL, static_cast<WPARAM>(nItem)); }
  int GetCurFocus() const { return Get(TCM_GETCURFOCUS); }
  void SetCurFocus(int nItem) { SendMessage(TCM_SETCURFOCUS, static_cast<WPARAM>(nItem)); }
  // bLarger TRUE: the window rectangle for a display area lpRect; FALSE: the other way round.
  void AdjustRect(BOOL bLarger, LPRECT lpRect) {
    SendMessage(TCM_ADJUSTRECT, static_cast<WPARAM>(bLarger), reinterpret_cast<LPARAM>(lpRect));
  }
  CSize SetItemSize(CSize size) {
    auto previous = static_cast<DWORD>(SendMessage(TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy)));
    return CSize(LOWORD(previous), HIWORD(previous));
  }
  void SetPadding(CSize size) { SendMessage(TCM_SETPADDING, 0, MAKELPARAM(size.cx, size.cy)); }
  int SetMinTabWidth(int cx) { return Send(TCM_SETMINTABWIDTH, 0, cx); }
  BOOL SetItemExtra(int nBytes) { return Send(TCM_SETITEMEXTRA, static_cast<WPARAM>(nBytes)); }
  int GetRowCount() const { return Get(TCM_GETROWCOUNT); }
  CImageList* GetImageList() const {
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(::SendMessage(m_hWnd, TCM_GETIMAGELIST, 0, 0)));
  }
  // Returns the previous image list.
  CImageList* SetImageList(CImageList* pImageList) {
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
        SendMessage(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pImageList->GetSafeHandle()))));
  }
  void RemoveImage(int nImage) { SendMessage(TCM_REMOVEIMAGE, static_cast<WPARAM>(nImage)); }
  CToolTipCtrl* GetToolTips() const {
    auto tip = reinterpret_cast<HWND>(::SendMessage(m_hWnd, TCM_GETTOOLTIPS, 0, 0));
    return reinterpret_cast<CToolTipCtrl*>(FromHandle(tip));
  }
  void SetToolTips(CToolTipCtrl* pWndTip) {
    SendMessage(TCM_SETTOOLTIPS, reinterpret_cast<WPARAM>(pWndTip->GetSafeHwnd()));
  }
  // The tab at pHitTestInfo->pt, -1 for none; pHitTestInfo->flags tells where.
  int HitTest(TCHITTESTINFO* pHitTestInfo) const {
    return Get(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(pHitTestInfo));
  }
  void DeselectAll(BOOL fExcludeFocus) { SendMessage(TCM_DESELECTALL, static_cast<WPARAM>(fExcludeFocus)); }
  BOOL HighlightItem(int idItem, BOOL fHighlight = TRUE) {
    return Send(TCM_HIGHLIGHTITEM, static_cast<WPARAM>(idItem), MAKELPARAM(fHighlight, 0));
  }

  // Draws a tab of a TCS_OWNERDRAWFIXED control; the parent's WM_DRAWITEM comes here.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  int Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return static_cast<int>(SendMessage(message, wParam, lParam));
  }
  int Get(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return static_cast<int>(::SendMessage(m_hWnd, message, wParam, lParam));
  }
};

class CHotKeyCtrl : public CWnd {
  DECLARE_DYNAMIC(CHotKeyCtrl)

 public:
  CHotKeyCtrl() = default;
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // wModifiers: HOTKEYF_ flags.
  void SetHotKey(WORD wVirtualKeyCode, WORD wModifiers) {
    SendMessage(HKM_SETHOTKEY, MAKEWORD(wVirtualKeyCode, wModifiers));
  }
  // LOBYTE: the virtual key, HIBYTE: the HOTKEYF_ modifiers.
  DWORD GetHotKey() const { return static_cast<DWORD>(::SendMessage(m_hWnd, HKM_GETHOTKEY, 0, 0)); }
  void GetHotKey(WORD& wVirtualKeyCode, WORD& wModifiers) const {
    DWORD key = GetHotKey();
    wVirtualKeyCode = LOBYTE(LOWORD(key));
    wModifiers = HIBYTE(LOWORD(key));
  }
  // wInvalidComb: HKCOMB_ combinations not allowed; wModifiers: what replaces them.
  void SetRules(WORD wInvalidComb, WORD wModifiers) {
    SendMessage(HKM_SETRULES, wInvalidComb, MAKELPARAM(wModifiers, 0));
  }
};

class CStatusBarCtrl : public CWnd {
  DECLARE_DYNAMIC(CStatusBarCtrl)

 public:
  CStatusBarCtrl() = default;
  // dwStyle: WS_ and CCS_ styles with SBARS_SIZEGRIP and SBARS_TOOLTIPS.
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // nType: 0, SBT_NOBORDERS, SBT_POPOUT, SBT_RTLREADING or SBT_OWNERDRAW (then lpszText is the
  // item data handed to DrawItem).
  BOOL SetText(LPCTSTR lpszText, int nPane, int nType) {
    return static_cast<BOOL>(SendMessage(SB_SETTEXT, static_cast<WPARAM>(nPane | nType), reinterpret_cast<LPARAM>(lpszText)));
  }
  CString GetText(int nPane, int* pType = nullptr) const {
    int length = LOWORD(::SendMessage(m_hWnd, SB_GETTEXTLENGTH, static_cast<WPARAM>(nPane), 0));
    CString text;
    LRESULT result = ::SendMessage(m_hWnd, SB_GETTEXT, static_cast<WPARAM>(nPane),
                                   reinterpret_cast<LPARAM>(text.GetBuffer(length + 1)));
    text.ReleaseBuffer(length);
    if (pType) *pType = HIWORD(result);
    return text;
  }
  int GetTextLength(int nPane, int* pType = nullptr) const {
    LRESULT result = ::SendMessage(m_hWnd, SB_GETTEXTLENGTH, static_cast<WPARAM>(nPane), 0);
    if (pType) *pType = HIWORD(result);
    return LOWORD(result);
  }
  BOOL SetParts(int nParts, int* pWidths) {
    return static_cast<BOOL>(SendMessage(SB_SETPARTS, static_cast<WPARAM>(nParts), reinterpret_cast<LPARAM>(pWidths)));
  }
  int GetParts(int nParts, int* pParts) const {
    return static_cast<int>(::SendMessage(m_hWnd, SB_GETPARTS, static_cast<WPARAM>(nParts), reinterpret_cast<LPARAM>(pParts)));
  }
  BOOL GetBorders(int& nHorz, int& nVert, int& nSpacing) const {
    int borders[3] = {};
    BOOL ok = static_cast<BOOL>(::SendMessage(m_hWnd, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders)));
    nHorz = borders[0];
    nVert = borders[1];
    nSpacing = borders[2];
    return ok;
  }
  void SetMinHeight(int nMin) { SendMessage(SB_SETMINHEIGHT, static_cast<WPARAM>(nMin)); }
  BOOL SetSimple(BOOL bSimple = TRUE) { return static_cast<BOOL>(SendMessage(SB_SIMPLE, static_cast<WPARAM>(bSimple))); }
  BOOL IsSimple() const { return static_cast<BOOL>(::SendMessage(m_hWnd, SB_ISSIMPLE, 0, 0)); }
  BOOL GetRect(int nPane, LPRECT lpRect) const {
    return static_cast<BOOL>(::SendMessage(m_hWnd, SB_GETRECT, static_cast<WPARAM>(nPane), reinterpret_cast<LPARAM>(lpRect)));
  }
  // nPane -1: the text of simple mode. The control draws the icon; the caller keeps it.
  BOOL SetIcon(int nPane, HICON hIcon) {
    return static_cast<BOOL>(SendMessage(SB_SETICON, static_cast<WPARAM>(nPane), reinterpret_cast<LPARAM>(hIcon)));
  }
  HICON GetIcon(int nPane) const {
    return reinterpret_cast<HICON>(::SendMessage(m_hWnd, SB_GETICON, static_cast<WPARAM>(nPane), 0));
  }
  // The tip shows (with SBARS_TOOLTIPS) when the pane's text is cut or it shows only an icon.
  void SetTipText(int nPane, LPCTSTR pszTipText) {
    SendMessage(SB_SETTIPTEXT, static_cast<WPARAM>(nPane), reinterpret_cast<LPARAM>(pszTipText));
  }
  CString GetTipText(int nPane) const {
    char buffer[256] = {};
    ::SendMessage(m_hWnd, SB_GETTIPTEXT, MAKEWPARAM(nPane, sizeof(buffer)), reinterpret_cast<LPARAM>(buffer));
    return CString(buffer);
  }
};
