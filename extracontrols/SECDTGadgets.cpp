// The date-time control's gadgets: measuring and drawing each kind, typing into numbers, the
// type-ahead of lists, the spin's repeat schedule and the drop-down button.
#include "extracontrols/SECDTGadgets.h"

#include <map>

#include "extracontrols/SECDateTimeCtrl.h"
#include "foundation/SECSysColors.h"

IMPLEMENT_DYNCREATE(SECDTGadget, CObject)
IMPLEMENT_DYNCREATE(SECDTStaticGadget, SECDTGadget)
IMPLEMENT_DYNCREATE(SECDTNumericGadget, SECDTGadget)
IMPLEMENT_DYNCREATE(SECDTListGadget, SECDTGadget)
IMPLEMENT_DYNCREATE(SECDTSpinGadget, SECDTGadget)
IMPLEMENT_DYNCREATE(SECDTButtonGadget, SECDTGadget)

namespace {

constexpr UINT kTextFormat = DT_SINGLELINE | DT_NOPREFIX | DT_EXTERNALLEADING | DT_VCENTER;
constexpr UINT kTypeAheadPeriod = 2000;
constexpr UINT kSpinFirstDelay = 500, kSpinRepeat = 100;

// The thread's gadget timers: the timer procedure finds the gadget of a timer id here.
std::map<UINT_PTR, SECDTGadget*>& Timers() {
  thread_local std::map<UINT_PTR, SECDTGadget*> timers;
  return timers;
}

void CALLBACK GadgetTimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = Timers().find(id);
  if (it != Timers().end()) it->second->OnTimer();
}

bool IsDigitKey(UINT nChar) {
  return (nChar >= '0' && nChar <= '9') || (nChar >= VK_NUMPAD0 && nChar <= VK_NUMPAD9);
}

}  // namespace

// ---- base ----

SECDTGadget::~SECDTGadget() { StopTimer(); }

void SECDTGadget::CalcSize(CDC*) { m_rect.SetRectEmpty(); }

void SECDTGadget::Draw(CDC*) {}

void SECDTGadget::SetFocus(BOOL bFocus) {
  if ((m_nStyle & WantFocus) == 0 || m_bFocus == bFocus) return;
  m_bFocus = bFocus;
  Invalidate();
}

void SECDTGadget::SetValue(int nValue, BOOL bInvalidate) {
  m_nValue = nValue;
  if (bInvalidate) Invalidate();
}

void SECDTGadget::Invalidate(BOOL bUpdate) {
  if (m_pCtrl != nullptr) m_pCtrl->InvalidateGadget(this, bUpdate);
}

void SECDTGadget::SetCapture(BOOL bCapture) {
  if (m_pCtrl != nullptr) m_pCtrl->CaptureFor(bCapture ? this : nullptr);
}

void SECDTGadget::StartTimer(UINT nMilliseconds) {
  StopTimer();
  m_nTimer = ::SetTimer(nullptr, 0, nMilliseconds, GadgetTimerProc);
  if (m_nTimer != 0) Timers()[m_nTimer] = this;
}

void SECDTGadget::StopTimer() {
  if (m_nTimer == 0) return;
  ::KillTimer(nullptr, m_nTimer);
  Timers().erase(m_nTimer);
  m_nTimer = 0;
}

BOOL SECDTGadget::Notify(UINT nCode, LPARAM lData) {
  return m_pCtrl != nullptr ? m_pCtrl->Notify(nCode, m_nID, lData) : FALSE;
}

void SECDTGadget::DrawField(CDC* pDC, const CString& text, UINT nFormat) {
  CString shown = text;
  if ((m_nStyle & Empty) != 0 && m_pCtrl != nullptr) {
    // An empty field shows a run of the fill character as wide as its value would be.
    shown = CString(m_pCtrl->GetFillChar(), std::max(1, text.GetLength()));
  }
  const COLORREF oldText = pDC->GetTextColor(), oldBk = pDC->GetBkColor();
  if (m_bFocus) {
    const SECSysColors& colors = SECGetSysColors();
    pDC->FillSolidRect(m_rect, colors.m_clrHighlight);
    pDC->SetTextColor(colors.m_clrHighlightText);
    pDC->SetBkColor(colors.m_clrHighlight);
  }
  CRect rect = m_rect;
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  pDC->DrawText(shown, rect, nFormat | kTextFormat);
  pDC->SetBkMode(oldMode);
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBk);
}

// ---- static text ----

void SECDTStaticGadget::Initialise(SECDateTimeCtrl* pCtrl, LPCTSTR lpszText, int nID) {
  SECDTGadget::Initialise(pCtrl, nID);
  m_strText = lpszText;
}

void SECDTStaticGadget::CalcSize(CDC* pDC) {
  CRect rect(0, 0, 0, 0);
  pDC->DrawText(m_strText, rect, DT_CALCRECT | kTextFormat);
  m_rect.SetRect(0, 0, rect.Width(), rect.Height());
}

void SECDTStaticGadget::Draw(CDC* pDC) {
  CRect rect = m_rect;
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  pDC->DrawText(m_strText, rect, DT_LEFT | kTextFormat);
  pDC->SetBkMode(oldMode);
}

// ---- number ----

void SECDTNumericGadget::Initialise(SECDateTimeCtrl* pCtrl, int nDigits, BOOL bZeroPad, int nValue, int nID) {
  SECDTGadget::Initialise(pCtrl, nID);
  m_nDigits = nDigits;
  m_bZeroPad = bZeroPad;
  m_nValue = nValue;
}

void SECDTNumericGadget::GetText(CString& text) const {
  if (m_nTypedCount > 0) {
    text.Format("%d", m_nTyped);
  } else if (m_bZeroPad) {
    CString format;
    format.Format("%%0%dd", m_nDigits);
    text.Format(format, m_nValue);
  } else {
    text.Format("%d", m_nValue);
  }
}

void SECDTNumericGadget::CalcSize(CDC* pDC) {
  const CSize zeros = pDC->GetTextExtent("00000");
  m_rect.SetRect(0, 0, zeros.cx * m_nDigits / 5, zeros.cy);
}

void SECDTNumericGadget::Draw(CDC* pDC) {
  CString text;
  GetText(text);
  if ((m_nStyle & Empty) != 0) text = CString('0', m_nDigits);
  DrawField(pDC, text, DT_CENTER);
}

BOOL SECDTNumericGadget::Commit() {
  if (m_nTypedCount == 0) return TRUE;
  const int typed = m_nTyped;
  m_nTypedCount = 0;
  if (!Notify(SECDTN_MAYCHANGE, typed)) {
    ::MessageBeep(static_cast<UINT>(-1));
    Invalidate();
    Notify(SECDTN_TYPING, 0);
    return FALSE;
  }
  m_nValue = typed;
  Invalidate();
  Notify(SECDTN_CHANGED, typed);
  Notify(SECDTN_TYPING, 0);
  return TRUE;
}

void SECDTNumericGadget::OnChar(UINT nChar) {
  if (nChar >= '0' && nChar <= '9') {
    if (m_nTypedCount == 0) {
      if (nChar == '0') return;  // a leading zero adds nothing
      Notify(SECDTN_TYPING, 1);
      m_nTyped = 0;
    }
    m_nTyped = m_nTyped * 10 + static_cast<int>(nChar - '0');
    ++m_nTypedCount;
    Invalidate();
    if (m_nTypedCount >= m_nDigits && Commit()) Notify(SECDTN_NEXTFIELD);
    return;
  }
  if (m_nTypedCount > 0) {
    ::MessageBeep(static_cast<UINT>(-1));
    m_nTypedCount = 0;
    Invalidate();
    Notify(SECDTN_TYPING, 0);
  }
}

void SECDTNumericGadget::OnKeyDown(UINT nChar) {
  if (IsDigitKey(nChar)) return;
  if (!Commit()) return;
  switch (nChar) {
    case VK_END: Notify(SECDTN_LAST); break;
    case VK_HOME: Notify(SECDTN_FIRST); break;
    case VK_UP:
    case VK_ADD: Notify(SECDTN_INCREASE); break;
    case VK_DOWN:
    case VK_SUBTRACT: Notify(SECDTN_DECREASE); break;
    default: break;
  }
}

void SECDTNumericGadget::SetFocus(BOOL bFocus) {
  if (!bFocus) Commit();
  SECDTGadget::SetFocus(bFocus);
}

void SECDTNumericGadget::OnCancelMode() { Commit(); }

// ---- list ----

void SECDTListGadget::Initialise(SECDateTimeCtrl* pCtrl, const CStringArray& items, int nValue, int nID) {
  SECDTGadget::Initialise(pCtrl, nID);
  m_items.Copy(items);
  m_nValue = nValue;
}

void SECDTListGadget::GetText(CString& text) const {
  text = m_nValue >= 0 && m_nValue < m_items.GetSize() ? m_items[m_nValue] : CString();
}

void SECDTListGadget::CalcSize(CDC* pDC) {
  CSize size(0, pDC->GetTextExtent("0").cy);
  for (int i = 0; i < m_items.GetSize(); ++i) {
    const CSize item = pDC->GetTextExtent(m_items[i]);
    size.cx = std::max(size.cx, item.cx);
    size.cy = std::max(size.cy, item.cy);
  }
  m_rect.SetRect(0, 0, size.cx, size.cy);
}

void SECDTListGadget::Draw(CDC* pDC) {
  CString text;
  GetText(text);
  DrawField(pDC, text, DT_CENTER);
}

int SECDTListGadget::FindMatch(const CString& text, BOOL bFromNext) {
  const int count = static_cast<int>(m_items.GetSize());
  if (count == 0 || text.IsEmpty()) return -1;
  const int start = std::max(0, m_nValue) + (bFromNext ? 1 : 0);
  for (int n = 0; n < count; ++n) {
    const int i = (start + n) % count;
    const CString& item = m_items[i];
    auto bytes = [](const CString& s) { return reinterpret_cast<const unsigned char*>(static_cast<LPCTSTR>(s)); };
    if (item.GetLength() < text.GetLength() || _mbsnbicmp(bytes(item), bytes(text), text.GetLength()) != 0) continue;
    if (!Notify(SECDTN_MAYCHANGE, i)) continue;
    return i;
  }
  return -1;
}

void SECDTListGadget::EndTypeAhead() {
  StopTimer();
  m_bTimerRunning = FALSE;
  m_strTyped.Empty();
  m_chLeadByte = 0;
}

void SECDTListGadget::OnChar(UINT nChar) {
  CString ch;
  if (m_chLeadByte != 0) {
    ch += m_chLeadByte;
    ch += static_cast<char>(nChar);
    m_chLeadByte = 0;
  } else if (::IsDBCSLeadByte(static_cast<BYTE>(nChar))) {
    m_chLeadByte = static_cast<char>(nChar);
    return;
  } else {
    ch = static_cast<char>(nChar);
  }
  auto choose = [this](int i) {
    m_nValue = i;
    Invalidate();
    Notify(SECDTN_CHANGED, i);
  };
  if (m_strTyped.IsEmpty()) {
    const int i = FindMatch(ch, TRUE);
    if (i < 0) {
      ::MessageBeep(static_cast<UINT>(-1));
      return;
    }
    choose(i);
    m_strTyped = ch;
    StartTimer(kTypeAheadPeriod);
    m_bTimerRunning = TRUE;
    return;
  }
  if (m_strTyped.CompareNoCase(ch) == 0) {
    // The same initial again: the next item with it.
    const int i = FindMatch(ch, TRUE);
    if (i >= 0) choose(i);
    StartTimer(kTypeAheadPeriod);
    m_bTimerRunning = TRUE;
    m_strTyped.Empty();
    return;
  }
  const CString text = m_strTyped + ch;
  const int i = FindMatch(text, FALSE);
  if (i < 0) {
    EndTypeAhead();
    ::MessageBeep(static_cast<UINT>(-1));
    return;
  }
  m_strTyped = text;
  choose(i);
  StartTimer(kTypeAheadPeriod);
  m_bTimerRunning = TRUE;
}

void SECDTListGadget::OnKeyDown(UINT nChar) {
  switch (nChar) {
    case VK_END: EndTypeAhead(); Notify(SECDTN_LAST); break;
    case VK_HOME: EndTypeAhead(); Notify(SECDTN_FIRST); break;
    case VK_UP:
    case VK_ADD: EndTypeAhead(); Notify(SECDTN_INCREASE); break;
    case VK_DOWN:
    case VK_SUBTRACT: EndTypeAhead(); Notify(SECDTN_DECREASE); break;
    default: break;
  }
}

void SECDTListGadget::OnTimer() { EndTypeAhead(); }

void SECDTListGadget::SetFocus(BOOL bFocus) {
  if (!bFocus) EndTypeAhead();
  SECDTGadget::SetFocus(bFocus);
}

void SECDTListGadget::OnCancelMode() { EndTypeAhead(); }

// ---- spin ----

void SECDTSpinGadget::CalcSize(CDC* pDC) { m_rect.SetRect(0, 0, 16, pDC->GetTextExtent("0").cy); }

void SECDTSpinGadget::DrawHalf(CDC* pDC, const CRect& rect, BOOL bUp, BOOL bPressed) {
  const SECSysColors& colors = SECGetSysColors();
  pDC->FillSolidRect(rect, colors.m_clrBtnFace);
  CRect edge = rect;
  pDC->DrawEdge(edge, bPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  const int size = std::min(rect.Height() / 4 + 1, 4);
  const int shift = bPressed ? 1 : 0;
  const int cx = rect.left + rect.Width() / 2 + shift, cy = rect.top + rect.Height() / 2 + shift;
  if (size < 2) {
    pDC->SetPixel(cx, cy, RGB(0, 0, 0));
    return;
  }
  // A triangle `size` pixels high around the centre, pointing up or down.
  const int top = cy - size / 2, bottom = top + size - 1;
  const POINT up[3] = {{cx, top}, {cx - (size - 1), bottom}, {cx + (size - 1), bottom}};
  const POINT down[3] = {{cx - (size - 1), top}, {cx + (size - 1), top}, {cx, bottom}};
  HGDIOBJ oldPen = ::SelectObject(pDC->GetSafeHdc(), ::GetStockObject(BLACK_PEN));
  HGDIOBJ oldBrush = ::SelectObject(pDC->GetSafeHdc(), ::GetStockObject(BLACK_BRUSH));
  pDC->Polygon(bUp ? up : down, 3);
  ::SelectObject(pDC->GetSafeHdc(), oldBrush);
  ::SelectObject(pDC->GetSafeHdc(), oldPen);
}

void SECDTSpinGadget::Draw(CDC* pDC) {
  const int middle = m_rect.top + m_rect.Height() / 2;
  DrawHalf(pDC, CRect(m_rect.left, m_rect.top, m_rect.right, middle), TRUE, (m_nState & UpPressed) != 0);
  DrawHalf(pDC, CRect(m_rect.left, middle, m_rect.right, m_rect.bottom), FALSE, (m_nState & DownPressed) != 0);
}

void SECDTSpinGadget::OnLButtonDown(UINT, int, int y) {
  const bool bUp = y < m_rect.top + m_rect.Height() / 2;
  m_nState = bUp ? (UpPressed | UpCaptured) : (DownPressed | DownCaptured);
  m_nTicks = 0;
  SetCapture(TRUE);
  Invalidate(TRUE);
  Notify(bUp ? SECDTN_SPINUP : SECDTN_SPINDOWN, 1);
  StartTimer(kSpinFirstDelay);
  m_nState |= TimerOn | FirstDelay;
}

void SECDTSpinGadget::OnTimer() {
  if ((m_nState & FirstDelay) != 0) {
    m_nState &= ~FirstDelay;
    StartTimer(kSpinRepeat);
  }
  ++m_nTicks;
  if ((m_nState & UpCaptured) != 0) Notify(SECDTN_SPINUP, CurrentStep());
  if ((m_nState & DownCaptured) != 0) Notify(SECDTN_SPINDOWN, CurrentStep());
}

void SECDTSpinGadget::OnMouseMove(UINT, int x, int y) {
  const int captured = m_nState & (UpCaptured | DownCaptured);
  if (captured == 0) return;
  const int middle = m_rect.top + m_rect.Height() / 2;
  const CRect half = (captured & UpCaptured) != 0 ? CRect(m_rect.left, m_rect.top, m_rect.right, middle)
                                                  : CRect(m_rect.left, middle, m_rect.right, m_rect.bottom);
  const bool bInside = half.PtInRect(CPoint(x, y)) != FALSE;
  const int pressedBit = (captured & UpCaptured) != 0 ? UpPressed : DownPressed;
  const bool bWasPressed = (m_nState & pressedBit) != 0;
  if (bInside == bWasPressed) return;
  if (bInside) {
    m_nState |= pressedBit | TimerOn;
    StartTimer(kSpinRepeat);
  } else {
    m_nState &= ~(pressedBit | TimerOn | FirstDelay);
    StopTimer();
  }
  Invalidate(TRUE);
}

void SECDTSpinGadget::Release() {
  StopTimer();
  m_nState = 0;
  SetCapture(FALSE);
  Invalidate(TRUE);
}

void SECDTSpinGadget::OnLButtonUp(UINT, int, int) { Release(); }

void SECDTSpinGadget::OnCancelMode() { Release(); }

// ---- button ----

SECDTButtonGadget::~SECDTButtonGadget() = default;

void SECDTButtonGadget::Initialise(SECDateTimeCtrl* pCtrl, UINT nBitmapID) {
  SECDTGadget::Initialise(pCtrl, -1);
  m_nBitmapID = nBitmapID;
  OnSysColorChange();
}

void SECDTButtonGadget::CalcSize(CDC* pDC) { m_rect.SetRect(0, 0, 16, pDC->GetTextExtent("0").cy); }

void SECDTButtonGadget::Draw(CDC* pDC) {
  const bool bPressed = (m_nState & Pressed) != 0;
  const SECSysColors& colors = SECGetSysColors();
  pDC->FillSolidRect(m_rect, colors.m_clrBtnFace);
  CRect edge = m_rect;
  if (bPressed) {
    CBrush shadow(colors.m_clrBtnShadow);
    pDC->FrameRect(edge, &shadow);
  } else {
    pDC->DrawEdge(edge, EDGE_RAISED, BF_RECT);
  }
  const int shift = bPressed ? 1 : 0;
  if (m_bitmap.GetSafeHandle() != nullptr) {
    BITMAP bm{};
    m_bitmap.GetBitmap(&bm);
    CDC memDC;
    if (!memDC.CreateCompatibleDC(pDC)) return;
    CBitmap* pOld = memDC.SelectObject(&m_bitmap);
    pDC->BitBlt(m_rect.left + (m_rect.Width() - bm.bmWidth) / 2 + shift,
                m_rect.top + (m_rect.Height() - bm.bmHeight) / 2 + shift, bm.bmWidth, bm.bmHeight, &memDC, 0, 0,
                SRCCOPY);
    memDC.SelectObject(pOld);
    return;
  }
  // Without a bitmap: a small black arrow pointing down.
  const int cx = m_rect.left + m_rect.Width() / 2 + shift, cy = m_rect.top + m_rect.Height() / 2 + shift;
  for (int row = 0; row < 4; ++row) pDC->FillSolidRect(cx - 3 + row, cy - 2 + row, 7 - 2 * row, 1, RGB(0, 0, 0));
}

void SECDTButtonGadget::OnLButtonDown(UINT, int, int) {
  m_nState = Captured | Pressed;
  SetCapture(TRUE);
  Invalidate(TRUE);
}

void SECDTButtonGadget::OnMouseMove(UINT, int x, int y) {
  if ((m_nState & Captured) == 0) return;
  const bool bInside = m_rect.PtInRect(CPoint(x, y)) != FALSE;
  if (bInside == ((m_nState & Pressed) != 0)) return;
  m_nState = bInside ? (m_nState | Pressed) : (m_nState & ~Pressed);
  Invalidate(TRUE);
}

void SECDTButtonGadget::OnLButtonUp(UINT, int x, int y) {
  if ((m_nState & Captured) == 0) return;
  m_nState = 0;
  SetCapture(FALSE);
  Invalidate(TRUE);
  if (m_rect.PtInRect(CPoint(x, y))) Notify(SECDTN_CLICKED);
}

void SECDTButtonGadget::OnCancelMode() {
  if ((m_nState & Captured) == 0) return;
  m_nState = 0;
  SetCapture(FALSE);
  Invalidate(TRUE);
}

void SECDTButtonGadget::OnSysColorChange() {
  m_bitmap.DeleteObject();
  if (m_nBitmapID != 0) m_bitmap.LoadBitmap(m_nBitmapID);
}
