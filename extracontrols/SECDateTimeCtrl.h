// SECDateTimeCtrl: a single-line control showing a date and/or a time as a row of gadgets, each
// field edited by typing, by the arrow keys or by the spin, with the popup calendar dropping down.
#pragma once

#include "afx/afx.h"
#include "extracontrols/SECDTGadgets.h"

class SECPopupCalendar;

// Window style bits of the control.
constexpr DWORD SECDTS_DROPDOWN = 0x0001;  // a button that drops the calendar down
constexpr DWORD SECDTS_SPIN = 0x0002;      // a spin that steps the current field

// Notification codes sent with WM_COMMAND to the parent.
constexpr UINT SECDTN_SETFOCUS = 0x100;
constexpr UINT SECDTN_KILLFOCUS = 0x200;

class SECDateTimeCtrl : public CWnd {
  DECLARE_DYNAMIC(SECDateTimeCtrl)

 public:
  // Formats with a fixed meaning; Custom takes the text given to SetFormat.
  enum FormatType { Time, ShortDate, LongDate, Custom };
  // Range-check modes.
  enum RangeMode { NoCheck = 0, TimeOnly = 1, DateOnly = 2, DateTime = 3 };
  // Lock bits: a locked field refuses every change; with all three the calendar changes nothing.
  enum LockBits { LockYear = 1, LockMonth = 2, LockDay = 4, LockTime = 8 };
  enum ModifiedBits { ValueModified = 1 };

  // A date broken into its parts; -1 marks a part without a value (an empty field).
  struct Parts {
    int year = -1, month = -1, day = -1, weekday = -1, dayOfYear = -1, hour = -1, minute = -1, second = -1;
  };

  SECDateTimeCtrl();
  ~SECDateTimeCtrl() override;

  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, DWORD dwExStyle = 0);
  using CWnd::Create;

  // ---- the format ----
  // Letters: d dd (day), ddd dddd (weekday), M MM (month), MMM MMMM (month name), yy yyyy (year),
  // h hh (12-hour), H HH (24-hour), m mm (minute), s ss (second), t tt (AM/PM); 'text' is literal,
  // as is any other character.
  BOOL SetFormat(FormatType type);
  BOOL SetFormat(LPCTSTR lpszFormat);
  const CString& GetFormat() const { return m_strFormat; }

  // ---- the value ----
  // Refuses (FALSE, nothing changes) a date that is not valid or fails the range check.
  BOOL SetDateTime(const COleDateTime& date);
  const COleDateTime& GetDateTime() const { return m_datetime; }
  // Empties every field shown: the fields are then filled one by one and the value is taken
  // when all have one.
  void SetNull();
  BOOL IsPending() const { return m_bPending; }
  BOOL IsValid(const COleDateTime& date) const;
  BOOL SetMinMax(const COleDateTime& minDate, const COleDateTime& maxDate, int nMode = DateTime);
  void SetRangeCheck(int nMode) { m_nRangeMode = nMode; }
  const COleDateTime& GetMinDate() const { return m_minDate; }
  const COleDateTime& GetMaxDate() const { return m_maxDate; }
  void SetFillChar(char ch);
  void SetLockBits(UINT nBits) { m_nLockBits = nBits; }
  UINT GetLockBits() const { return m_nLockBits; }
  void EnableTabFields(BOOL bOn) { m_bTabFields = bOn; }
  void UseParentColors(BOOL bOn) { m_bUseParentColors = bOn; }
  BOOL IsModified() const { return (m_nModified & ValueModified) != 0; }
  void SetModified(BOOL bOn) { m_nModified = bOn ? (m_nModified | ValueModified) : (m_nModified & ~ValueModified); }

  // ---- what the gadgets call ----
  virtual BOOL Notify(UINT nCode, int nID, LPARAM lData);
  void InvalidateGadget(SECDTGadget* pGadget, BOOL bUpdate);
  void CaptureFor(SECDTGadget* pGadget);
  BOOL IsPM() const { return m_bPM; }
  char GetFillChar() const { return m_chFill; }
  int GetScrollOffset() const { return m_nXOrigin; }

  // ---- fields ----
  int GetGadgetCount() const { return static_cast<int>(m_gadgets.GetSize()); }
  SECDTGadget* GetGadget(int nIndex) const { return static_cast<SECDTGadget*>(m_gadgets[nIndex]); }
  // The gadget of a field kind, null when the format has none.
  SECDTGadget* FindGadget(int nID) const;
  int GetCurrentField() const { return m_nCurGadget; }
  SECDTGadget* GetCurrentGadget() const;
  BOOL SetCurrentField(int nIndex);
  BOOL NextField();
  BOOL PrevField();
  int HitTest(CPoint point) const;
  SECPopupCalendar* GetPopupCalendar() const { return m_pPopup; }
  // Drops the calendar down under the control.
  virtual BOOL ShowCalendar();
  // The texts of all gadgets joined (what WM_GETTEXT returns).
  CString GetDisplayText() const;

  // Breaks a day number into its parts (rounded to the second); FALSE outside 100-9999.
  static BOOL BreakDate(DATE date, Parts& parts);
  // The fields whose shown value differs between two values.
  static UINT ChangedFields(const Parts& before, const Parts& after);

 protected:
  // The value may change to `date` (a veto hook); the value changed.
  virtual BOOL OnChanging(const COleDateTime& /*date*/) { return TRUE; }
  virtual void OnChanged() {}
  // Releases what the gadgets hold outside themselves (capture, popup).
  virtual void Cleanup();
  virtual void BuildGadgets();
  virtual void LayoutGadgets();
  void DeleteGadgets(int nFrom);
  void UpdateGadgets(UINT nMask);
  // The value a field shows from a set of parts; -1 when the part is empty.
  int FieldValue(int nID, const Parts& parts) const;
  // The parts with one field set to a value; FALSE when the field cannot take it.
  BOOL ApplyField(int nID, int nValue, Parts& parts) const;
  BOOL StepField(int nID, int nStep, Parts& parts) const;
  BOOL EdgeField(int nID, BOOL bLast, Parts& parts) const;
  BOOL PartsToDate(const Parts& parts, COleDateTime& date) const;
  // Takes new parts from a field change: the value, or the pending fields.
  BOOL AcceptParts(const Parts& parts, BOOL bNotify);
  BOOL CommitPending(BOOL bNotify);
  BOOL IsLocked(int nID) const;
  Parts CurrentParts() const;
  void ScrollIntoView(SECDTGadget* pGadget);
  // WM_COMMAND with SECDTN_SETFOCUS or SECDTN_KILLFOCUS, unless the control keeps quiet.
  void NotifyParentOfFocus(UINT nCode);
  void DestroyPopup();

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnCancelMode();
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetFont(WPARAM wParam, LPARAM lParam);
  afx_msg void OnSysColorChange();
  afx_msg void OnWinIniChange(LPCTSTR lpszSection);
  afx_msg void OnDestroy();
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcPaint();
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCalendarOK(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCalendarCancel(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 public:
  UINT m_nModified = 0;
  UINT m_nLockBits = 0;
  BOOL m_bTabFields = FALSE;
  BOOL m_bUseParentColors = FALSE;
  COleDateTime m_datetime;
  COleDateTime m_minDate;
  COleDateTime m_maxDate;
  int m_nRangeMode = DateTime;
  HFONT m_hFont = nullptr;
  int m_nCurGadget = -1;
  int m_nXOrigin = 0;
  int m_nRightMargin = 0;
  int m_nFixed = 0;
  SECDTGadget* m_pCapture = nullptr;
  SECPopupCalendar* m_pPopup = nullptr;
  char m_chFill = '-';
  BOOL m_bPM = FALSE;
  COLORREF m_clrBk = 0;
  COLORREF m_clrText = 0;
  int m_nDisabledBkIndex = COLOR_BTNFACE;
  int m_nDisabledTextIndex = COLOR_GRAYTEXT;
  WORD m_wEmpty[2] = {};  // [0] fields emptied, [1] fields shown; empty where both are set
  BOOL m_bPending = FALSE;
  Parts m_pending;
  CObArray m_gadgets;
  FormatType m_nFormatType = ShortDate;
  CString m_strFormat;
  BOOL m_bTabbedIn = FALSE;
};
