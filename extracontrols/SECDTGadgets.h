// The date-time control's gadgets: plain objects (not windows) that the control lays out in a
// row and draws: fixed texts, numbers, lists of names, a spin and a drop-down button.
#pragma once

#include "afx/afx.h"

class SECDateTimeCtrl;

// Codes a gadget sends its control through Notify.
enum SECDTNotifyCode : UINT {
  SECDTN_INCREASE = 1,
  SECDTN_DECREASE = 2,
  SECDTN_SPINUP = 3,
  SECDTN_SPINDOWN = 4,
  SECDTN_CLICKED = 5,
  SECDTN_MAYCHANGE = 6,
  SECDTN_CHANGED = 7,
  SECDTN_FIRST = 8,
  SECDTN_LAST = 9,
  SECDTN_TYPING = 10,
  SECDTN_NEXTFIELD = 11,
};

// Field kinds, as gadget ids and as bits of the changed-fields masks.
enum SECDTField : int {
  SECDTF_HOUR12 = 0x001,
  SECDTF_HOUR24 = 0x002,
  SECDTF_MINUTE = 0x004,
  SECDTF_SECOND = 0x008,
  SECDTF_AMPM = 0x010,
  SECDTF_DAY = 0x020,
  SECDTF_WEEKDAY = 0x040,
  SECDTF_MONTH = 0x080,
  SECDTF_MONTHNAME = 0x100,
  SECDTF_YEAR2 = 0x200,
  SECDTF_YEAR4 = 0x400,
};

class SECDTGadget : public CObject {
  DECLARE_DYNCREATE(SECDTGadget)

 public:
  enum Style { WantFocus = 1, WantMouse = 2, Fixed = 4, Empty = 8 };

  SECDTGadget() = default;
  ~SECDTGadget() override;

  void Initialise(SECDateTimeCtrl* pCtrl, int nID = -1) {
    m_pCtrl = pCtrl;
    m_nID = nID;
  }
  virtual void GetText(CString& text) const { text.Empty(); }
  virtual void CalcSize(CDC* pDC);
  virtual void Draw(CDC* pDC);
  virtual void SetFocus(BOOL bFocus);
  virtual void OnKeyDown(UINT /*nChar*/) {}
  virtual void OnChar(UINT /*nChar*/) {}
  virtual void OnLButtonDown(UINT /*nFlags*/, int /*x*/, int /*y*/) {}
  virtual void OnLButtonUp(UINT /*nFlags*/, int /*x*/, int /*y*/) {}
  virtual void OnMouseMove(UINT /*nFlags*/, int /*x*/, int /*y*/) {}
  virtual void OnCancelMode() {}
  virtual void OnTimer() {}
  virtual void OnSysColorChange() {}

  // Redraws the gadget's rectangle (shifted by the control's scrolling unless fixed).
  void Invalidate(BOOL bUpdate = FALSE);
  // The control captures the mouse for this gadget, or lets it go.
  void SetCapture(BOOL bCapture);
  // A timer of the thread that calls OnTimer; a running one is restarted.
  void StartTimer(UINT nMilliseconds);
  void StopTimer();
  BOOL Notify(UINT nCode, LPARAM lData = 0);

  int GetValue() const { return m_nValue; }
  void SetValue(int nValue, BOOL bInvalidate = TRUE);
  int GetID() const { return m_nID; }
  int GetStyle() const { return m_nStyle; }
  void SetStyle(int nStyle) { m_nStyle = nStyle; }
  BOOL IsFocused() const { return m_bFocus; }
  const CRect& GetRect() const { return m_rect; }
  BOOL IsTimerRunning() const { return m_nTimer != 0; }

  CRect m_rect;
  BOOL m_bFocus = FALSE;
  int m_nStyle = WantFocus;
  int m_nID = -1;
  int m_nValue = 0;
  SECDateTimeCtrl* m_pCtrl = nullptr;

 protected:
  // Draws a text in the gadget's rectangle in the colours of its state (focus, empty field).
  void DrawField(CDC* pDC, const CString& text, UINT nFormat);
  UINT_PTR m_nTimer = 0;
};

// A fixed text: a separator between fields.
class SECDTStaticGadget : public SECDTGadget {
  DECLARE_DYNCREATE(SECDTStaticGadget)

 public:
  SECDTStaticGadget() { m_nStyle = 0; }
  void Initialise(SECDateTimeCtrl* pCtrl, LPCTSTR lpszText, int nID = -1);
  void GetText(CString& text) const override { text = m_strText; }
  void CalcSize(CDC* pDC) override;
  void Draw(CDC* pDC) override;

  CString m_strText;
};

// A number field edited by typing its digits, by the arrow keys and + and -.
class SECDTNumericGadget : public SECDTGadget {
  DECLARE_DYNCREATE(SECDTNumericGadget)

 public:
  void Initialise(SECDateTimeCtrl* pCtrl, int nDigits, BOOL bZeroPad, int nValue, int nID);
  void GetText(CString& text) const override;
  void CalcSize(CDC* pDC) override;
  void Draw(CDC* pDC) override;
  void SetFocus(BOOL bFocus) override;
  void OnKeyDown(UINT nChar) override;
  void OnChar(UINT nChar) override;
  void OnCancelMode() override;
  // Hands the typed digits to the control; FALSE when it refused them.
  BOOL Commit();
  BOOL IsTyping() const { return m_nTypedCount > 0; }

  int m_nDigits = 2;
  int m_nTyped = 0;
  int m_nTypedCount = 0;
  BOOL m_bZeroPad = FALSE;
};

// A field showing one of a list of names, chosen by typing its start or by the arrow keys.
class SECDTListGadget : public SECDTGadget {
  DECLARE_DYNCREATE(SECDTListGadget)

 public:
  void Initialise(SECDateTimeCtrl* pCtrl, const CStringArray& items, int nValue, int nID);
  void GetText(CString& text) const override;
  void CalcSize(CDC* pDC) override;
  void Draw(CDC* pDC) override;
  void SetFocus(BOOL bFocus) override;
  void OnKeyDown(UINT nChar) override;
  void OnChar(UINT nChar) override;
  void OnCancelMode() override;
  void OnTimer() override;
  const CString& GetTypedText() const { return m_strTyped; }

  CStringArray m_items;
  char m_chLeadByte = 0;
  CString m_strTyped;
  BOOL m_bTimerRunning = FALSE;

 protected:
  // Finds the item after (or at) the current one that starts with the text; -1 when none.
  int FindMatch(const CString& text, BOOL bFromNext);
  void EndTypeAhead();
};

// Two arrow halves that step the current field while pressed.
class SECDTSpinGadget : public SECDTGadget {
  DECLARE_DYNCREATE(SECDTSpinGadget)

 public:
  enum State { UpPressed = 1, DownPressed = 2, UpCaptured = 4, DownCaptured = 8, TimerOn = 16, FirstDelay = 32 };
  SECDTSpinGadget() { m_nStyle = WantMouse | Fixed; }
  void CalcSize(CDC* pDC) override;
  void Draw(CDC* pDC) override;
  void OnLButtonDown(UINT nFlags, int x, int y) override;
  void OnLButtonUp(UINT nFlags, int x, int y) override;
  void OnMouseMove(UINT nFlags, int x, int y) override;
  void OnCancelMode() override;
  void OnTimer() override;
  // The step of the tick in hand: 1, 2 after 20 ticks, 5 from the 51st.
  int CurrentStep() const { return m_nTicks > 50 ? 5 : (m_nTicks > 20 ? 2 : 1); }

  int m_nState = 0;
  int m_nTicks = 0;

 protected:
  void DrawHalf(CDC* pDC, const CRect& rect, BOOL bUp, BOOL bPressed);
  void Release();
};

// A button that drops the calendar down.
class SECDTButtonGadget : public SECDTGadget {
  DECLARE_DYNCREATE(SECDTButtonGadget)

 public:
  enum State { Captured = 1, Pressed = 2 };
  SECDTButtonGadget() { m_nStyle = WantMouse | Fixed; }
  ~SECDTButtonGadget() override;
  // A bitmap resource, or 0 for the drop-down arrow drawn by the classic look.
  void Initialise(SECDateTimeCtrl* pCtrl, UINT nBitmapID);
  void CalcSize(CDC* pDC) override;
  void Draw(CDC* pDC) override;
  void OnLButtonDown(UINT nFlags, int x, int y) override;
  void OnLButtonUp(UINT nFlags, int x, int y) override;
  void OnMouseMove(UINT nFlags, int x, int y) override;
  void OnCancelMode() override;
  void OnSysColorChange() override;

  int m_nState = 0;
  CBitmap m_bitmap;
  UINT m_nBitmapID = 0;
};
