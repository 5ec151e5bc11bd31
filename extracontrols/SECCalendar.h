// SECCalendar: a month calendar (title with month and year and optional paging buttons, a bar of
// weekday names, a 6 x 7 grid of day cells), its drawing panels, and SECPopupCalendar, the same
// calendar dropped down under a field of its owner.
#pragma once

#include <vector>

#include "afx/afx.h"

// Posted to the calendar's notify window.
constexpr UINT SECCAL_SELCHANGE = 0x600;   // wParam 1 selected / 0 deselected, lParam the SECDayBox
constexpr UINT SECCAL_HILIGHT = 0x601;     // wParam the new highlight flag, lParam the SECDayBox
constexpr UINT SECCAL_DATEOK = 0x602;      // a date was chosen
constexpr UINT SECCAL_CANCEL = 0x603;      // the calendar was cancelled

// The title's buttons.
constexpr UINT ID_SECCAL_NEXTMONTH = 20520;
constexpr UINT ID_SECCAL_PREVYEAR = 20521;
constexpr UINT ID_SECCAL_NEXTYEAR = 20522;
constexpr UINT ID_SECCAL_PREVMONTH = 20523;

// Calendar style bits.
constexpr DWORD SECCS_RELEASECHOOSES = 0x100;
constexpr DWORD SECCS_PANELBEVEL = 0x4000;
constexpr DWORD SECCS_PANELFRAME = 0x8000;
constexpr DWORD SECCS_FITFONTS = 0x10000;
constexpr DWORD SECCS_SIZETOFIT = 0x20000;
constexpr DWORD SECCS_SELECTCHOOSES = 0x40000;
constexpr DWORD SECCS_MONTHBUTTONS = 0x80000;
constexpr DWORD SECCS_YEARBUTTONS = 0x100000;
constexpr DWORD SECCS_KEYBOARD = 0x200000;
constexpr DWORD SECCS_FIXEDPAGE = 0x400000;
constexpr DWORD SECCS_RESIZABLE = 0x800000;
constexpr DWORD SECCS_DRAGSELECT = 0x1000000;
constexpr DWORD SECCS_FULLMONTHNAMES = 0x10000000;
constexpr DWORD SECCS_FULLDAYNAMES = 0x20000000;
constexpr DWORD SECCS_DEFAULT = 0x39C000;

// Panel style bits (the low word; the calendar's 0x4000 and 0x8000 ride along).
constexpr DWORD SECPS_FILL = 0x01;       // paint the background
constexpr DWORD SECPS_SHOWSEL = 0x02;    // the selection shows in the highlight colours
constexpr DWORD SECPS_SHOWMARK = 0x04;   // a highlighted date shows its mark
constexpr DWORD SECPS_SHOWTODAY = 0x08;  // today's date is framed
constexpr DWORD SECPS_CENTER = 0x80;     // centred text
constexpr DWORD SECPS_DIMMED = 0x100;    // outside the month in the dimmed colour; double click chooses
constexpr DWORD SECPS_NOPAGETURN = 0x200;  // a click outside the month does not turn the page
constexpr DWORD SECPS_SELECTS = 0x10000000;  // a click selects (else it toggles)
constexpr DWORD SECPS_INMONTH = 0x1000017F;
constexpr DWORD SECPS_OUTMONTH = 0x101;

class SECCalendar;

// A drawing object of the calendar: a rectangle of its window with a caption and colours.
class SECPanel : public CObject {
  DECLARE_SERIAL(SECPanel)

 public:
  SECPanel();
  ~SECPanel() override = default;
  void Serialize(CArchive& ar) override;

  virtual BOOL Create(const RECT& rect, CWnd* pParent, DWORD dwStyle, DWORD dwStyle2 = 0xC000);
  virtual BOOL DrawBorder(CDC* pDC);
  virtual BOOL Draw(CDC* pDC);
  virtual BOOL DrawBevel(CDC* pDC);
  virtual BOOL DrawInnerBorder(CDC* pDC);
  virtual BOOL DrawInterior(CDC* pDC);
  virtual BOOL OnDraw(CDC* pDC);
  // A double click: with style SECPS_DIMMED the panel posts SECCAL_DATEOK to its parent.
  virtual void OnLButtonDblClk(CPoint point);

  const CRect& GetRect() const { return m_rect; }
  virtual void SetRect(const RECT& rect) { m_rect = rect; }
  void SetCaption(const CString& caption) { m_strCaption = caption; }
  const CString& GetCaption() const { return m_strCaption; }
  BOOL IsSelected() const { return m_bSelected; }
  BOOL IsHighlighted() const { return m_bHighlighted; }
  BOOL IsGrayed() const { return m_bGrayed; }
  void SetSelected(BOOL bOn) { m_bSelected = bOn; }
  void SetHighlighted(BOOL bOn) { m_bHighlighted = bOn; }
  void SetGrayed(BOOL bOn) { m_bGrayed = bOn; }
  // Sets the value kept for the day; returns the previous one.
  int SetDayValue(int nValue);
  int GetDayValue() const { return m_nDayValue; }

  CRect m_rect;
  CWnd* m_pParent = nullptr;
  DWORD m_dwStyle = 0x17F;
  DWORD m_dwStyle2 = 0xC000;
  CString m_strCaption;
  COLORREF m_clrText;
  COLORREF m_clrDimText;
  COLORREF m_clrBk;
  COLORREF m_clrBorder = RGB(255, 0, 0);
  BOOL m_bSelected = FALSE;
  BOOL m_bHighlighted = FALSE;
  BOOL m_bGrayed = FALSE;
  BOOL m_bMarked = FALSE;  // the border is drawn (today's cell)
  int m_nBorderX = 3;
  int m_nBorderY = 2;
  int m_nDayValue = 255;
  BOOL m_bVisible = TRUE;

 protected:
  // The text colour: dimmed outside the month with SECPS_DIMMED, else the text colour.
  COLORREF TextColor() const;
  void DrawCaption(CDC* pDC, const CString& text, const CRect& rect);
};

// One day cell.
class SECDayBox : public SECPanel {
  DECLARE_SERIAL(SECDayBox)

 public:
  void SetDate(const COleDateTime& date) { m_date = date; }
  const COleDateTime& GetDate() const { return m_date; }
  BOOL OnDraw(CDC* pDC) override;
  // A press or a release on the cell (see SECCalendar for what it does).
  virtual void OnClick();

  COleDateTime m_date;
  BOOL m_bOutside = FALSE;
};

// The weekday names.
class SECDayBar : public SECPanel {
  DECLARE_SERIAL(SECDayBar)

 public:
  BOOL OnDraw(CDC* pDC) override;
  // The name shown in column nColumn (1..7).
  CString GetDayName(int nColumn) const;
  void SetFirstDay(int nDay) { m_nFirstDay = nDay; }

  int m_nFirstDay = 2;
  BOOL m_bFullNames = FALSE;
};

// The title: month and year, and the paging buttons.
class SECCalTitle : public SECPanel {
  DECLARE_SERIAL(SECCalTitle)

 public:
  enum { PrevMonth, NextMonth, PrevYear, NextYear, ButtonCount };
  ~SECCalTitle() override;

  BOOL Create(const RECT& rect, CWnd* pParent, DWORD dwStyle, DWORD dwStyle2 = 0xC000) override;
  void SetRect(const RECT& rect) override;
  virtual void SetDate(const COleDateTime& date);
  // The widest caption the title must show, for fitting its font.
  CString GetProbeText() const;
  CButton* GetButton(int nButton) { return m_bHasButton[nButton] ? &m_buttons[nButton] : nullptr; }

  CButton m_buttons[ButtonCount];
  BOOL m_bHasButton[ButtonCount] = {};
  SECCalendar* m_pCalendar = nullptr;
  BOOL m_bFullNames = FALSE;
};

class SECCalendar : public CWnd {
  DECLARE_SERIAL(SECCalendar)

 public:
  SECCalendar();
  ~SECCalendar() override;

  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
  using CWnd::Create;
  virtual BOOL NextDay(BOOL bMoveSelection);
  virtual BOOL PrevDay(BOOL bMoveSelection);
  virtual BOOL NextWeek(BOOL bMoveSelection);
  virtual BOOL PrevWeek(BOOL bMoveSelection);
  virtual BOOL NextMonth(BOOL bMoveSelection);
  virtual BOOL PrevMonth(BOOL bMoveSelection);
  virtual BOOL NextYear(BOOL bMoveSelection);
  virtual BOOL PrevYear(BOOL bMoveSelection);
  virtual BOOL RetreatSelection(long nSeconds);
  virtual BOOL AdvanceSelection(const COleDateTimeSpan& span);
  virtual BOOL RetreatPage(long nSeconds);
  virtual BOOL AdvancePage(const COleDateTimeSpan& span);
  virtual BOOL SetHighlight(time_t date, BOOL bOn);
  virtual BOOL SetHighlight(const COleDateTime& date, BOOL bOn);
  virtual BOOL SetSelection(time_t date, BOOL bOn);
  virtual BOOL SetSelection(const COleDateTime& date, BOOL bOn);
  virtual BOOL ToggleSelection(time_t date);
  virtual BOOL ToggleSelection(const COleDateTime& date);
  virtual BOOL ToggleHighlight(time_t date);
  virtual BOOL ToggleHighlight(const COleDateTime& date);
  virtual int SetDayValue(time_t date, int nValue);
  virtual int SetDayValue(const COleDateTime& date, int nValue);
  virtual BOOL IsValidDate(int nYear, int nMonth, int nDay) const;
  virtual void ResetColors();
  virtual void Normalize(COleDateTime& date) const;
  COleDateTime Normalized(const COleDateTime& date) const;
  virtual void OnInvalidDate();
  virtual UINT GetClassStyle() const { return CS_DBLCLKS; }
  virtual void InitFonts();
  virtual void FillPage();

  // Turns the page to the month of `date`.
  BOOL SetDate(const COleDateTime& date, BOOL bRedraw = TRUE);
  const COleDateTime& GetDate() const { return m_dateDisplayed; }
  SECDayBox* GetSelectedBox() const { return m_pSelectedBox; }
  // The selected date; an invalid date when nothing is selected.
  COleDateTime GetSelectedDate() const;
  const COleDateTime& GetFocusDate() const { return m_dateFocus; }
  BOOL IsHighlighted(const COleDateTime& date) const;
  const std::vector<COleDateTime>& GetHighlights() const { return m_highlights; }
  SECDayBox* GetDayBox(int nIndex) { return nIndex >= 0 && nIndex < 42 ? &m_boxes[nIndex] : nullptr; }
  // The day box under a client point, null when none.
  SECDayBox* DayBoxFromPoint(CPoint point);
  // The box showing `date`, null when none does.
  SECDayBox* FindBox(const COleDateTime& date);
  SECCalTitle& GetTitle() { return m_title; }
  SECDayBar& GetDayBar() { return m_dayBar; }

  void SetFirstDayOfWeek(int nDay, BOOL bRedraw = TRUE);
  int GetFirstDayOfWeek() const { return m_nFirstDay; }
  void SetCalendarStyle(DWORD dwStyle) { m_dwCalStyle = dwStyle; }
  DWORD GetCalendarStyle() const { return m_dwCalStyle; }
  void SetDayBoxStyles(DWORD dwInMonth, DWORD dwOutMonth) {
    m_dwInMonthStyle = dwInMonth;
    m_dwOutMonthStyle = dwOutMonth;
  }
  void SetNotifyWnd(CWnd* pWnd) { m_pNotifyWnd = pWnd; }
  // The smallest size showing every part in its font, measured in pDC.
  void GetMinSize(CRect& rect, CDC* pDC);
  CFont* GetTitleFont() { return &m_fontTitle; }
  CFont* GetDayBarFont() { return &m_fontDayBar; }
  CFont* GetDayBoxFont() { return &m_fontDayBox; }

  // Chooses the selected date (SECCAL_DATEOK) or cancels (SECCAL_CANCEL) as a key or click does.
  void Choose() { SendMessage(SECCAL_DATEOK, 0, 0); }
  void Cancel() { SendMessage(SECCAL_CANCEL, 0, 0); }

  // Colours, by the system colour they follow.
  enum { ClrDayText, ClrDayFrame, ClrDayBarText, ClrDayBarBk, ClrTitleText, ClrTitleBk, ClrDimText, ClrCount };
  COLORREF m_colors[ClrCount] = {};

 protected:
  friend class SECDayBox;
  BOOL StepPage(const COleDateTime& target, const COleDateTime& base, BOOL bMoveSelection);
  BOOL MonthStep(BOOL bMoveSelection, int nDirection);
  BOOL YearStep(BOOL bMoveSelection, int nDirection);
  BOOL SpanInRange(const COleDateTime& base, const COleDateTimeSpan& span) const;
  void NotifyParent(UINT message, WPARAM wParam, LPARAM lParam);
  void LayoutParts();
  void FitFonts();
  void ApplyColors();
  BOOL IsCreated() const { return m_bCreated; }
  // The day box handles a click on itself.
  void ClickBox(SECDayBox* pBox);

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnCancelMode();
  afx_msg UINT OnNcHitTest(CPoint point);
  afx_msg void OnSysColorChange();
  afx_msg LRESULT OnDateOK(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnCancelDate(WPARAM wParam, LPARAM lParam);
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  DECLARE_MESSAGE_MAP()

 public:
  SECDayBar m_dayBar;
  SECCalTitle m_title;
  int m_nFirstDay = 2;
  CWnd* m_pNotifyWnd = nullptr;
  CWnd* m_pOwnerWnd = nullptr;
  BOOL m_bCreated = FALSE;
  COleDateTime m_dateDisplayed;
  COleDateTime m_dateSelected;
  COleDateTime* m_pSelected = nullptr;
  COleDateTime m_dateFocus;
  SECDayBox m_boxes[42];
  SECDayBox* m_pSelectedBox = nullptr;
  BOOL m_bCaptured = FALSE;
  BOOL m_bClickInSelMonth = FALSE;
  COleDateTime m_dateClicked;
  BOOL m_bPageTurnedByPress = FALSE;
  std::vector<COleDateTime> m_highlights;  // ascending, no duplicates
  LOGFONT m_lfTitle = {};
  LOGFONT m_lfDayBar = {};
  LOGFONT m_lfDayBox = {};
  CFont m_fontTitle;
  CFont m_fontDayBar;
  CFont m_fontDayBox;
  DWORD m_dwInMonthStyle = SECPS_INMONTH;
  DWORD m_dwOutMonthStyle = SECPS_OUTMONTH;
  DWORD m_dwCalStyle = SECCS_DEFAULT;
};

class SECPopupCalendar : public SECCalendar {
  DECLARE_SERIAL(SECPopupCalendar)

 public:
  // Drops the calendar down under (or above) rcOwner, a rectangle in screen coordinates.
  virtual BOOL Create(DWORD dwStyle, const RECT& rcOwner, CWnd* pOwner, UINT nID);
  // The calendar's creation at a given rectangle, reached with all five arguments.
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) override {
    return SECCalendar::Create(dwStyle, rect, pParentWnd, nID, lpParam);
  }
  UINT GetClassStyle() const override { return CS_DBLCLKS | CS_SAVEBITS; }
  void SetSizeToContent(BOOL bOn) {
    m_dwCalStyle = bOn ? (m_dwCalStyle | SECCS_SIZETOFIT) : (m_dwCalStyle & ~SECCS_SIZETOFIT);
  }

  BOOL m_bChooseOnDeactivate = FALSE;

 protected:
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  DECLARE_MESSAGE_MAP()
};
