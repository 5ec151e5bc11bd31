// The framework's objects over the standard controls: CStatic, CButton, CEdit, CListBox,
// CComboBox and CScrollBar, thin wrappers of the controls' messages with owner-draw virtuals.
#pragma once

#include "afx/CWnd.h"
#include "afx/GdiObjects.h"
#include "core/CString.h"
#include "win/DialogControls.h"

namespace brambolt::afx {

inline LPARAM TextParam(LPCTSTR text) { return reinterpret_cast<LPARAM>(text); }

// The text of item nIndex of a list or combo box (lenMessage gives its length, textMessage
// copies it); empty when there is no such item.
CString ItemText(HWND hWnd, UINT lenMessage, UINT textMessage, int nIndex);

// Hands a WM_DRAWITEM the parent reflected to the control's DrawItem.
template <class Control>
BOOL DrawItemNotify(Control* control, UINT message, LPARAM lParam) {
  if (message != WM_DRAWITEM) return FALSE;
  control->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
  return TRUE;
}

}  // namespace brambolt::afx

class CStatic : public CWnd {
  DECLARE_DYNAMIC(CStatic)

 public:
  CStatic() = default;
  using CWnd::Create;
  BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF);

  HICON SetIcon(HICON hIcon) {
    return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(hIcon)));
  }
  HICON GetIcon() const { return reinterpret_cast<HICON>(::SendMessage(m_hWnd, STM_GETICON, 0, 0)); }
  HBITMAP SetBitmap(HBITMAP hBitmap) { return static_cast<HBITMAP>(SetImage(IMAGE_BITMAP, hBitmap)); }
  HBITMAP GetBitmap() const { return static_cast<HBITMAP>(GetImage(IMAGE_BITMAP)); }
  HCURSOR SetCursor(HCURSOR hCursor) { return static_cast<HCURSOR>(SetImage(IMAGE_CURSOR, hCursor)); }
  HCURSOR GetCursor() const { return static_cast<HCURSOR>(GetImage(IMAGE_CURSOR)); }
  HENHMETAFILE SetEnhMetaFile(HENHMETAFILE hMetaFile) {
    return static_cast<HENHMETAFILE>(SetImage(IMAGE_ENHMETAFILE, hMetaFile));
  }
  HENHMETAFILE GetEnhMetaFile() const { return static_cast<HENHMETAFILE>(GetImage(IMAGE_ENHMETAFILE)); }

  // Draws an SS_OWNERDRAW static; the parent's WM_DRAWITEM comes here.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  HANDLE SetImage(UINT type, HANDLE image) {
    return reinterpret_cast<HANDLE>(SendMessage(STM_SETIMAGE, type, reinterpret_cast<LPARAM>(image)));
  }
  HANDLE GetImage(UINT type) const { return reinterpret_cast<HANDLE>(::SendMessage(m_hWnd, STM_GETIMAGE, type, 0)); }
};

class CButton : public CWnd {
  DECLARE_DYNAMIC(CButton)

 public:
  CButton() = default;
  using CWnd::Create;
  BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
  int GetCheck() const { return static_cast<int>(::SendMessage(m_hWnd, BM_GETCHECK, 0, 0)); }
  void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
  // The check state with BST_PUSHED and BST_FOCUS.
  UINT GetState() const { return static_cast<UINT>(::SendMessage(m_hWnd, BM_GETSTATE, 0, 0)); }
  // Shows the button pushed (TRUE) or released.
  void SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, static_cast<WPARAM>(bHighlight)); }
  UINT GetButtonStyle() const { return static_cast<UINT>(::GetWindowLong(m_hWnd, GWL_STYLE)) & 0xFFFF; }
  void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE) { SendMessage(BM_SETSTYLE, nStyle, bRedraw); }

  HICON SetIcon(HICON hIcon) { return static_cast<HICON>(SetImage(IMAGE_ICON, hIcon)); }
  HICON GetIcon() const { return static_cast<HICON>(GetImage(IMAGE_ICON)); }
  HBITMAP SetBitmap(HBITMAP hBitmap) { return static_cast<HBITMAP>(SetImage(IMAGE_BITMAP, hBitmap)); }
  HBITMAP GetBitmap() const { return static_cast<HBITMAP>(GetImage(IMAGE_BITMAP)); }
  HCURSOR SetCursor(HCURSOR hCursor) { return static_cast<HCURSOR>(SetImage(IMAGE_CURSOR, hCursor)); }
  HCURSOR GetCursor() const { return static_cast<HCURSOR>(GetImage(IMAGE_CURSOR)); }

  // Draws a BS_OWNERDRAW button; the parent's WM_DRAWITEM comes here.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  HANDLE SetImage(UINT type, HANDLE image) {
    return reinterpret_cast<HANDLE>(SendMessage(BM_SETIMAGE, type, reinterpret_cast<LPARAM>(image)));
  }
  HANDLE GetImage(UINT type) const { return reinterpret_cast<HANDLE>(::SendMessage(m_hWnd, BM_GETIMAGE, type, 0)); }
};

class CEdit : public CWnd {
  DECLARE_DYNAMIC(CEdit)

 public:
  CEdit() = default;
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // ---- selection and text ----
  // LOWORD: start, HIWORD: end (of the first 64K characters).
  DWORD GetSel() const { return static_cast<DWORD>(::SendMessage(m_hWnd, EM_GETSEL, 0, 0)); }
  void GetSel(int& nStartChar, int& nEndChar) const {
    DWORD start = 0, end = 0;
    ::SendMessage(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    nStartChar = static_cast<int>(start);
    nEndChar = static_cast<int>(end);
  }
  void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE) {
    SetSel(static_cast<short>(LOWORD(dwSelection)), static_cast<short>(HIWORD(dwSelection)), bNoScroll);
  }
  // (0, -1) selects everything, (-1, any) removes the selection.
  void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE) {
    SendMessage(EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar);
    if (!bNoScroll) SendMessage(EM_SCROLLCARET);
  }
  void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE) {
    SendMessage(EM_REPLACESEL, static_cast<WPARAM>(bCanUndo), brambolt::afx::TextParam(lpszNewText));
  }
  void LimitText(int nChars = 0) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars)); }
  void SetLimitText(UINT nMax) { SendMessage(EM_SETLIMITTEXT, nMax); }
  UINT GetLimitText() const { return static_cast<UINT>(::SendMessage(m_hWnd, EM_GETLIMITTEXT, 0, 0)); }
  BOOL GetModify() const { return static_cast<BOOL>(::SendMessage(m_hWnd, EM_GETMODIFY, 0, 0)); }
  void SetModify(BOOL bModified = TRUE) { SendMessage(EM_SETMODIFY, static_cast<WPARAM>(bModified)); }
  BOOL SetReadOnly(BOOL bReadOnly = TRUE) {
    return static_cast<BOOL>(SendMessage(EM_SETREADONLY, static_cast<WPARAM>(bReadOnly)));
  }
  void SetPasswordChar(TCHAR ch) { SendMessage(EM_SETPASSWORDCHAR, static_cast<BYTE>(ch)); }
  TCHAR GetPasswordChar() const { return static_cast<TCHAR>(::SendMessage(m_hWnd, EM_GETPASSWORDCHAR, 0, 0)); }

  // ---- lines ----
  int GetLineCount() const { return static_cast<int>(::SendMessage(m_hWnd, EM_GETLINECOUNT, 0, 0)); }
  // Copies line nIndex into lpszBuffer, whose first WORD the caller set to the room it has;
  // returns the characters copied (no terminating NUL is added).
  int GetLine(int nIndex, LPTSTR lpszBuffer) const {
    return static_cast<int>(
        ::SendMessage(m_hWnd, EM_GETLINE, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszBuffer)));
  }
  // As above with nMaxLength characters of room; the text is NUL-terminated when it leaves room.
  int GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const;
  // The first character of line nLine (-1: the caret's line); -1 past the last line.
  int LineIndex(int nLine = -1) const {
    return static_cast<int>(::SendMessage(m_hWnd, EM_LINEINDEX, static_cast<WPARAM>(nLine), 0));
  }
  int LineFromChar(int nIndex = -1) const {
    return static_cast<int>(::SendMessage(m_hWnd, EM_LINEFROMCHAR, static_cast<WPARAM>(nIndex), 0));
  }
  int LineLength(int nLine = -1) const {
    return static_cast<int>(::SendMessage(m_hWnd, EM_LINELENGTH, static_cast<WPARAM>(nLine), 0));
  }
  void LineScroll(int nLines, int nChars = 0) { SendMessage(EM_LINESCROLL, static_cast<WPARAM>(nChars), nLines); }
  int GetFirstVisibleLine() const { return static_cast<int>(::SendMessage(m_hWnd, EM_GETFIRSTVISIBLELINE, 0, 0)); }
  BOOL FmtLines(BOOL bAddEOL) { return static_cast<BOOL>(SendMessage(EM_FMTLINES, static_cast<WPARAM>(bAddEOL))); }

  // ---- formatting rectangle, margins and positions ----
  void GetRect(LPRECT lpRect) const { ::SendMessage(m_hWnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(lpRect)); }
  void SetRect(LPCRECT lpRect) { SendMessage(EM_SETRECT, 0, reinterpret_cast<LPARAM>(lpRect)); }
  void SetRectNP(LPCRECT lpRect) { SendMessage(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(lpRect)); }
  void SetMargins(UINT nLeft, UINT nRight) {
    SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(nLeft, nRight));
  }
  // LOWORD: left margin, HIWORD: right margin.
  DWORD GetMargins() const { return static_cast<DWORD>(::SendMessage(m_hWnd, EM_GETMARGINS, 0, 0)); }
  CPoint PosFromChar(UINT nChar) const {
    auto pos = static_cast<DWORD>(::SendMessage(m_hWnd, EM_POSFROMCHAR, nChar, 0));
    return CPoint(static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos)));
  }
  // LOWORD: the character nearest to pt, HIWORD: its line.
  int CharFromPos(CPoint pt) const {
    return static_cast<int>(::SendMessage(m_hWnd, EM_CHARFROMPOS, 0, MAKELPARAM(pt.x, pt.y)));
  }
  BOOL SetTabStops(int nTabStops, LPINT rgTabStops) {
    return static_cast<BOOL>(
        SendMessage(EM_SETTABSTOPS, static_cast<WPARAM>(nTabStops), reinterpret_cast<LPARAM>(rgTabStops)));
  }
  // The default stops, every 32 dialog units.
  void SetTabStops() { SendMessage(EM_SETTABSTOPS); }
  BOOL SetTabStops(const int& cxEachStop) {
    return static_cast<BOOL>(SendMessage(EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&cxEachStop)));
  }
  HLOCAL GetHandle() const { return reinterpret_cast<HLOCAL>(::SendMessage(m_hWnd, EM_GETHANDLE, 0, 0)); }
  void SetHandle(HLOCAL hBuffer) { SendMessage(EM_SETHANDLE, reinterpret_cast<WPARAM>(hBuffer)); }

  // ---- editing ----
  BOOL CanUndo() const { return static_cast<BOOL>(::SendMessage(m_hWnd, EM_CANUNDO, 0, 0)); }
  BOOL Undo() { return static_cast<BOOL>(SendMessage(EM_UNDO)); }
  void EmptyUndoBuffer() { SendMessage(EM_EMPTYUNDOBUFFER); }
  void Clear() { SendMessage(WM_CLEAR); }
  void Copy() { SendMessage(WM_COPY); }
  void Cut() { SendMessage(WM_CUT); }
  void Paste() { SendMessage(WM_PASTE); }
};

namespace brambolt::afx {

// The messages by which list boxes and combo boxes do the same things to their items.
struct ListBoxMessages {
  static constexpr UINT kGetCount = LB_GETCOUNT, kAddString = LB_ADDSTRING, kInsertString = LB_INSERTSTRING,
                        kDeleteString = LB_DELETESTRING, kResetContent = LB_RESETCONTENT, kDir = LB_DIR,
                        kInitStorage = LB_INITSTORAGE, kFindString = LB_FINDSTRING,
                        kFindStringExact = LB_FINDSTRINGEXACT, kSelectString = LB_SELECTSTRING,
                        kGetText = LB_GETTEXT, kGetTextLen = LB_GETTEXTLEN, kGetItemData = LB_GETITEMDATA,
                        kSetItemData = LB_SETITEMDATA, kSetItemHeight = LB_SETITEMHEIGHT,
                        kGetItemHeight = LB_GETITEMHEIGHT, kGetCurSel = LB_GETCURSEL, kSetCurSel = LB_SETCURSEL,
                        kGetTopIndex = LB_GETTOPINDEX, kSetTopIndex = LB_SETTOPINDEX,
                        kGetHorizontalExtent = LB_GETHORIZONTALEXTENT,
                        kSetHorizontalExtent = LB_SETHORIZONTALEXTENT, kGetLocale = LB_GETLOCALE,
                        kSetLocale = LB_SETLOCALE;
};

struct ComboBoxMessages {
  static constexpr UINT kGetCount = CB_GETCOUNT, kAddString = CB_ADDSTRING, kInsertString = CB_INSERTSTRING,
                        kDeleteString = CB_DELETESTRING, kResetContent = CB_RESETCONTENT, kDir = CB_DIR,
                        kInitStorage = CB_INITSTORAGE, kFindString = CB_FINDSTRING,
                        kFindStringExact = CB_FINDSTRINGEXACT, kSelectString = CB_SELECTSTRING,
                        kGetText = CB_GETLBTEXT, kGetTextLen = CB_GETLBTEXTLEN, kGetItemData = CB_GETITEMDATA,
                        kSetItemData = CB_SETITEMDATA, kSetItemHeight = CB_SETITEMHEIGHT,
                        kGetItemHeight = CB_GETITEMHEIGHT, kGetCurSel = CB_GETCURSEL, kSetCurSel = CB_SETCURSEL,
                        kGetTopIndex = CB_GETTOPINDEX, kSetTopIndex = CB_SETTOPINDEX,
                        kGetHorizontalExtent = CB_GETHORIZONTALEXTENT,
                        kSetHorizontalExtent = CB_SETHORIZONTALEXTENT, kGetLocale = CB_GETLOCALE,
                        kSetLocale = CB_SETLOCALE;
};

inline int IntMessage(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return static_cast<int>(::SendMessage(hWnd, message, wParam, lParam));
}

// What CListBox and CComboBox share: their items with data, finding and selecting them, and
// the owner-draw messages the parent reflects to the virtuals.
template <class M>
class ListItems : public CWnd {
 public:
  int GetCount() const { return Get(M::kGetCount); }
  // The new item's index, LB_ERR/CB_ERR or LB_ERRSPACE/CB_ERRSPACE.
  int AddString(LPCTSTR lpszItem) { return Send(M::kAddString, 0, TextParam(lpszItem)); }
  // nIndex -1 appends; the list is not sorted for it.
  int InsertString(int nIndex, LPCTSTR lpszItem) {
    return Send(M::kInsertString, static_cast<WPARAM>(nIndex), TextParam(lpszItem));
  }
  // The count left, LB_ERR/CB_ERR for a bad index.
  int DeleteString(UINT nIndex) { return Send(M::kDeleteString, nIndex); }
  void ResetContent() { Send(M::kResetContent); }
  int Dir(UINT attr, LPCTSTR lpszWildCard) { return Send(M::kDir, attr, TextParam(lpszWildCard)); }
  int InitStorage(int nItems, UINT nBytes) { return Send(M::kInitStorage, static_cast<WPARAM>(nItems), nBytes); }
  // The first item after nStartAfter (-1: from the top, wrapping) that starts with lpszItem,
  // without case.
  int FindString(int nStartAfter, LPCTSTR lpszItem) const {
    return Get(M::kFindString, static_cast<WPARAM>(nStartAfter), TextParam(lpszItem));
  }
  int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
    return Get(M::kFindStringExact, static_cast<WPARAM>(nIndexStart), TextParam(lpszFind));
  }
  // Selects the item FindString finds; its index, or LB_ERR/CB_ERR with the selection unchanged.
  int SelectString(int nStartAfter, LPCTSTR lpszItem) {
    return Send(M::kSelectString, static_cast<WPARAM>(nStartAfter), TextParam(lpszItem));
  }
  DWORD_PTR GetItemData(int nIndex) const {
    return static_cast<DWORD_PTR>(::SendMessage(m_hWnd, M::kGetItemData, static_cast<WPARAM>(nIndex), 0));
  }
  int SetItemData(int nIndex, DWORD_PTR dwItemData) {
    return Send(M::kSetItemData, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData));
  }
  void* GetItemDataPtr(int nIndex) const { return reinterpret_cast<void*>(GetItemData(nIndex)); }
  int SetItemDataPtr(int nIndex, void* pData) { return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData)); }
  int SetItemHeight(int nIndex, UINT cyItemHeight) {
    return Send(M::kSetItemHeight, static_cast<WPARAM>(nIndex), MAKELPARAM(cyItemHeight, 0));
  }
  int GetItemHeight(int nIndex) const { return Get(M::kGetItemHeight, static_cast<WPARAM>(nIndex)); }
  // The selected item of a single-selection list, LB_ERR/CB_ERR for none.
  int GetCurSel() const { return Get(M::kGetCurSel); }
  int SetCurSel(int nSelect) { return Send(M::kSetCurSel, static_cast<WPARAM>(nSelect)); }
  int GetTopIndex() const { return Get(M::kGetTopIndex); }
  int SetTopIndex(int nIndex) { return Send(M::kSetTopIndex, static_cast<WPARAM>(nIndex)); }
  int GetHorizontalExtent() const { return Get(M::kGetHorizontalExtent); }
  void SetHorizontalExtent(int cxExtent) { Send(M::kSetHorizontalExtent, static_cast<WPARAM>(cxExtent)); }
  LCID GetLocale() const { return static_cast<LCID>(::SendMessage(m_hWnd, M::kGetLocale, 0, 0)); }
  LCID SetLocale(LCID nNewLocale) { return static_cast<LCID>(::SendMessage(m_hWnd, M::kSetLocale, nNewLocale, 0)); }

  // ---- owner drawing: the parent's messages for this control come here ----
  virtual void DrawItem(LPDRAWITEMSTRUCT) {}
  virtual void MeasureItem(LPMEASUREITEMSTRUCT) {}
  // Negative, 0 or positive as item 1 sorts before, with or after item 2.
  virtual int CompareItem(LPCOMPAREITEMSTRUCT) { return 0; }
  virtual void DeleteItem(LPDELETEITEMSTRUCT) {}

 protected:
  // A reflection entry of the control's own map goes first, then the virtuals.
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
    if (CWnd::OnChildNotify(message, wParam, lParam, pResult)) return TRUE;
    switch (message) {
      case WM_DRAWITEM: DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); return TRUE;
      case WM_MEASUREITEM: MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)); return TRUE;
      case WM_DELETEITEM: DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam)); return TRUE;
      case WM_COMPAREITEM: {
        int order = CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
        if (pResult != nullptr) *pResult = order;
        return TRUE;
      }
      default: return FALSE;
    }
  }
  CString ItemText(int nIndex) const { return brambolt::afx::ItemText(m_hWnd, M::kGetTextLen, M::kGetText, nIndex); }
  int Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return IntMessage(m_hWnd, message, wParam, lParam); }
  int Get(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return IntMessage(m_hWnd, message, wParam, lParam);
  }
};

}  // namespace brambolt::afx

class CListBox : public brambolt::afx::ListItems<brambolt::afx::ListBoxMessages> {
  DECLARE_DYNAMIC(CListBox)

 public:
  CListBox() = default;
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetText(int nIndex, LPTSTR lpszBuffer) const {
    return Get(LB_GETTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszBuffer));
  }
  void GetText(int nIndex, CString& rString) const { rString = ItemText(nIndex); }
  int GetTextLen(int nIndex) const { return Get(LB_GETTEXTLEN, static_cast<WPARAM>(nIndex)); }
  int GetItemRect(int nIndex, LPRECT lpRect) const {
    return Get(LB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect));
  }
  // The item nearest to pt (client coordinates); bOutside tells whether pt lies outside it.
  UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const {
    auto result = static_cast<DWORD>(::SendMessage(m_hWnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y)));
    bOutside = HIWORD(result) != 0;
    return LOWORD(result);
  }

  // ---- multiple selection ----
  // Whether item nIndex is selected; select it (nIndex -1: every item).
  int GetSel(int nIndex) const { return Get(LB_GETSEL, static_cast<WPARAM>(nIndex)); }
  int SetSel(int nIndex, BOOL bSelect = TRUE) {
    return Send(LB_SETSEL, static_cast<WPARAM>(bSelect), static_cast<LPARAM>(nIndex));
  }
  int GetSelCount() const { return Get(LB_GETSELCOUNT); }
  int GetSelItems(int nMaxItems, LPINT rgIndex) const {
    return Get(LB_GETSELITEMS, static_cast<WPARAM>(nMaxItems), reinterpret_cast<LPARAM>(rgIndex));
  }
  int SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem) {
    return Send(LB_SELITEMRANGE, static_cast<WPARAM>(bSelect), MAKELPARAM(nFirstItem, nLastItem));
  }
  void SetAnchorIndex(int nIndex) { Send(LB_SETANCHORINDEX, static_cast<WPARAM>(nIndex)); }
  int GetAnchorIndex() const { return Get(LB_GETANCHORINDEX); }
  int GetCaretIndex() const { return Get(LB_GETCARETINDEX); }
  int SetCaretIndex(int nIndex, BOOL bScroll = TRUE) {
    return Send(LB_SETCARETINDEX, static_cast<WPARAM>(nIndex), MAKELPARAM(bScroll, 0));
  }

  // ---- columns and tab stops ----
  void SetColumnWidth(int cxWidth) { Send(LB_SETCOLUMNWIDTH, static_cast<WPARAM>(cxWidth)); }
  BOOL SetTabStops(int nTabStops, LPINT rgTabStops) {
    return Send(LB_SETTABSTOPS, static_cast<WPARAM>(nTabStops), reinterpret_cast<LPARAM>(rgTabStops));
  }
  // The default stops, every 32 dialog units.
  void SetTabStops() { Send(LB_SETTABSTOPS); }
  BOOL SetTabStops(const int& cxEachStop) { return Send(LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&cxEachStop)); }

  // ---- LBS_WANTKEYBOARDINPUT: the parent's WM_VKEYTOITEM and WM_CHARTOITEM come here ----
  // The item to go to, -1 for the list's own handling of the key, -2 for nothing more.
  virtual int VKeyToItem(UINT nKey, UINT nIndex);
  virtual int CharToItem(UINT nKey, UINT nIndex);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CComboBox : public brambolt::afx::ListItems<brambolt::afx::ComboBoxMessages> {
  DECLARE_DYNAMIC(CComboBox)

 public:
  CComboBox() = default;
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetLBText(int nIndex, LPTSTR lpszText) const {
    return Get(CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszText));
  }
  void GetLBText(int nIndex, CString& rString) const { rString = ItemText(nIndex); }
  int GetLBTextLen(int nIndex) const { return Get(CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex)); }

  // ---- the edit field ----
  // LOWORD: start, HIWORD: end of the edit's selection.
  DWORD GetEditSel() const { return static_cast<DWORD>(::SendMessage(m_hWnd, CB_GETEDITSEL, 0, 0)); }
  BOOL SetEditSel(int nStartChar, int nEndChar) { return Send(CB_SETEDITSEL, 0, MAKELPARAM(nStartChar, nEndChar)); }
  BOOL LimitText(int nMaxChars) { return Send(CB_LIMITTEXT, static_cast<WPARAM>(nMaxChars)); }
  void Clear() { Send(WM_CLEAR); }
  void Copy() { Send(WM_COPY); }
  void Cut() { Send(WM_CUT); }
  void Paste() { Send(WM_PASTE); }

  // ---- the drop-down list ----
  void ShowDropDown(BOOL bShowIt = TRUE) { Send(CB_SHOWDROPDOWN, static_cast<WPARAM>(bShowIt)); }
  BOOL GetDroppedState() const { return Get(CB_GETDROPPEDSTATE); }
  void GetDroppedControlRect(LPRECT lprect) const {
    ::SendMessage(m_hWnd, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(lprect));
  }
  int GetDroppedWidth() const { return Get(CB_GETDROPPEDWIDTH); }
  int SetDroppedWidth(UINT nWidth) { return Send(CB_SETDROPPEDWIDTH, nWidth); }
  int SetExtendedUI(BOOL bExtended = TRUE) { return Send(CB_SETEXTENDEDUI, static_cast<WPARAM>(bExtended)); }
  BOOL GetExtendedUI() const { return Get(CB_GETEXTENDEDUI); }
};

// The framework hands temporary CWnd objects to scroll handlers as CScrollBar*: this class adds
// no data to CWnd.
class CScrollBar : public CWnd {
  DECLARE_DYNAMIC(CScrollBar)

 public:
  CScrollBar() = default;
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
  int SetScrollPos(int nPos, BOOL bRedraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, nPos, bRedraw); }
  void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const { ::GetScrollRange(m_hWnd, SB_CTL, lpMinPos, lpMaxPos); }
  void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE) {
    ::SetScrollRange(m_hWnd, SB_CTL, nMinPos, nMaxPos, bRedraw);
  }
  void ShowScrollBar(BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, SB_CTL, bShow); }
  BOOL EnableScrollBar(UINT nArrowFlags = ESB_ENABLE_BOTH) { return ::EnableScrollBar(m_hWnd, SB_CTL, nArrowFlags); }
  BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE) {
    return ::SetScrollInfo(m_hWnd, SB_CTL, lpScrollInfo, bRedraw);
  }
  BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL) {
    return CWnd::GetScrollInfo(SB_CTL, lpScrollInfo, nMask);
  }
  // The largest position the thumb can reach (the maximum less the page).
  int GetScrollLimit() { return CWnd::GetScrollLimit(SB_CTL); }
};
