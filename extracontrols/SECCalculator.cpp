// The calculator: its buttons and what they do, the arithmetic with its error state, the display
// format with its digit limits, painting, mouse tracking and keys; the popup form.
#include "extracontrols/SECCalculator.h"

#include <clocale>
#include <cmath>

#include "foundation/SECSysColors.h"
#include "widgets/SECLoadSysColorBitmap.h"

IMPLEMENT_DYNAMIC(SECCalculator, CWnd)
IMPLEMENT_DYNAMIC(SECPopupCalculator, SECCalculator)

BEGIN_MESSAGE_MAP(SECCalculator, CWnd)
  ON_WM_PAINT()
  ON_WM_NCCALCSIZE()
  ON_WM_NCPAINT()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_GETDLGCODE()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_CANCELMODE()
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(SECPopupCalculator, SECCalculator)
  ON_WM_KILLFOCUS()
  ON_WM_KEYDOWN()
END_MESSAGE_MAP()

namespace {

constexpr UINT kCalculatorBitmap = 20524;
constexpr int kMargin = 6, kGap = 4, kButtonWidth = 34, kButtonHeight = 24, kPanelHeight = 26;
constexpr int kColumns = 4, kRows = 5;

// The buttons row by row: caption string, fallback caption, code, characters, virtual key. Keys
// that also type a character (the number pad's) fire through the character alone.
struct ButtonSpec {
  UINT nCaption;
  const char* caption;
  int nCode;
  const char* chars;
  UINT nKey;
};

constexpr ButtonSpec kButtons[kRows * kColumns] = {
    {20636, "C", SECCalculator::CodeClear, "c", 0},
    {20637, "CE", SECCalculator::CodeClearEntry, "", VK_DELETE},
    {20638, "<-", SECCalculator::CodeBack, "", VK_BACK},
    {20643, "/", SECCalculator::CodeDivide, "/", 0},
    {20640, "7", 7, "7", 0},
    {20641, "8", 8, "8", 0},
    {20642, "9", 9, "9", 0},
    {20647, "*", SECCalculator::CodeMultiply, "*x", 0},
    {20644, "4", 4, "4", 0},
    {20645, "5", 5, "5", 0},
    {20646, "6", 6, "6", 0},
    {20651, "-", SECCalculator::CodeSubtract, "-", 0},
    {20648, "1", 1, "1", 0},
    {20649, "2", 2, "2", 0},
    {20650, "3", 3, "3", 0},
    {20653, "+", SECCalculator::CodeAdd, "+", 0},
    {20652, "0", 0, "0", 0},
    {0, nullptr, SECCalculator::CodeSeparator, "", 0},  // caption: the separator
    {20639, "%", SECCalculator::CodePercent, "%", 0},
    {20635, "T", SECCalculator::CodeTotal, "=t", VK_RETURN},
};

int DigitCount(const CString& text, int from, int to) {
  int n = 0;
  for (int i = from; i < to; ++i) n += text[i] >= '0' && text[i] <= '9' ? 1 : 0;
  return n;
}

const char* LibraryPoint() {
  const char* point = std::localeconv()->decimal_point;
  return point != nullptr && point[0] != '\0' ? point : ".";
}

}  // namespace

SECCalculator::SECCalculator() = default;

SECCalculator::~SECCalculator() {
  for (int i = 0; i < m_nButtons; ++i) delete GetButton(i);
  if (m_hBitmap != nullptr) ::DeleteObject(m_hBitmap);
}

CString SECCalculator::GetDecimalSeparator() {
  char separator[8] = {};
  if (::GetLocaleInfo(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) > 0 && separator[0] != '\0')
    return separator;
  return ".";
}

const CString& SECCalculator::Separator() {
  if (m_strDecSep.IsEmpty()) m_strDecSep = GetDecimalSeparator();
  return m_strDecSep;
}

BOOL SECCalculator::Create(DWORD dwStyle, int x, int y, CWnd* pParentWnd, UINT nID) {
  const int border = (dwStyle & StyleBorder) != 0 ? 4 : 0;
  const int width = 2 * kMargin + kColumns * kButtonWidth + (kColumns - 1) * kGap + border;
  const int height = 2 * kMargin + kPanelHeight + kGap + kRows * kButtonHeight + (kRows - 1) * kGap + border;
  LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
  const bool bPopup = (dwStyle & WS_POPUP) != 0;
  if (!CreateEx(0, lpszClass, nullptr, dwStyle | (bPopup ? 0 : WS_CHILD), x, y, width, height,
                pParentWnd->GetSafeHwnd(), bPopup ? nullptr : reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID))))
    return FALSE;
  m_rcPanel.SetRect(kMargin, kMargin, width - border - kMargin, kMargin + kPanelHeight);
  CreateButtons();
  return TRUE;
}

void SECCalculator::CreateButtons() {
  for (int i = 0; i < m_nButtons; ++i) delete GetButton(i);
  m_buttons.RemoveAll();
  const int top = m_rcPanel.bottom + kGap;
  for (int i = 0; i < kRows * kColumns; ++i) {
    const ButtonSpec& spec = kButtons[i];
    const int col = i % kColumns, row = i / kColumns;
    const CRect rect(kMargin + col * (kButtonWidth + kGap), top + row * (kButtonHeight + kGap),
                     kMargin + col * (kButtonWidth + kGap) + kButtonWidth,
                     top + row * (kButtonHeight + kGap) + kButtonHeight);
    CString caption, chars = spec.chars;
    if (spec.nCode == CodeSeparator) {
      caption = Separator();
      chars = Separator() + ".";
    } else if (!caption.LoadString(spec.nCaption)) {
      caption = spec.caption;
    }
    m_buttons.Add(new SECCalcBtn(spec.nCode, caption, chars, spec.nKey, rect));
  }
  m_nButtons = static_cast<int>(m_buttons.GetSize());
}

int SECCalculator::FindButton(int nCode) const {
  for (int i = 0; i < m_nButtons; ++i)
    if (GetButton(i)->m_nCode == nCode) return i;
  return -1;
}

// ---- arithmetic ----

bool SECCalculator::DisplayValue(double& value) {
  if (m_strDisplay.IsEmpty()) {
    value = 0.0;
    return true;
  }
  CString text = m_strDisplay;
  if (Separator() != LibraryPoint()) text.Replace(Separator(), LibraryPoint());
  return std::sscanf(text, "%lf", &value) == 1;
}

BOOL SECCalculator::HandleOperation(int nOp) {
  if (IsError()) {
    ::MessageBeep(static_cast<UINT>(-1));
    return FALSE;
  }
  double value = 0.0;
  if (!DisplayValue(value)) return FALSE;
  if (nOp == OpPercent) {
    value = m_nPendingOp == OpMultiply || m_nPendingOp == OpDivide ? value * m_dAccum * 0.01 : 0.0;
    m_nPendingOp = OpNone;
  } else if (m_nPendingOp != OpNone) {
    switch (m_nPendingOp) {
      case OpMultiply: value = value * m_dAccum; break;
      case OpAdd: value = value + m_dAccum; break;
      case OpSubtract: value = m_dAccum - value; break;
      case OpDivide:
        if (value == 0.0) m_dwFlags |= Error;
        else value = m_dAccum / value;
        break;
      default: return FALSE;
    }
  }
  if (!IsError()) {
    m_dAccum = value;
    m_bStartNew = TRUE;
    m_nPendingOp = nOp == OpEquals || nOp == OpPercent ? OpNone : nOp;
    FormatDisplay();
  }
  if (m_hWnd != nullptr) InvalidateRect(m_rcPanel, FALSE);
  return TRUE;
}

void SECCalculator::FormatDisplay() {
  const int limit = std::min(m_nMaxDigits, std::fabs(m_dAccum) < 1.0 ? 16 : 15);
  int decimals = m_nDecimals;
  for (;;) {
    CString format, text;
    format.Format("%%.%dlf", decimals);
    text.Format(format, m_dAccum);
    text.Replace(LibraryPoint(), Separator());
    int sep = text.Find(Separator());
    if (sep >= 0) {
      // Zeros at the end go; the separator stays ("12." for 12.000).
      int end = text.GetLength();
      while (end > sep + Separator().GetLength() && text[end - 1] == '0') --end;
      text = text.Left(end);
    }
    const int length = text.GetLength();
    const int before = DigitCount(text, 0, sep >= 0 ? sep : length);
    const int after = sep >= 0 ? DigitCount(text, sep, length) : 0;
    if (before > limit || before > 13) {
      m_dwFlags |= Error;
      return;
    }
    if (before + after > limit && decimals > limit - before) {
      decimals = limit - before;
      continue;
    }
    m_strDisplay = text;
    return;
  }
}

void SECCalculator::OnButton(int nCode) {
  if (IsError() && nCode != CodeClear) {
    ::MessageBeep(static_cast<UINT>(-1));
    return;
  }
  auto startEntry = [&] {
    if (!m_bStartNew) return;
    m_strDisplay = "0";
    m_bStartNew = FALSE;
  };
  if (nCode >= 0 && nCode <= 9) {
    startEntry();
    if (m_strDisplay == "0") m_strDisplay.Empty();
    if (DigitCount(m_strDisplay, 0, m_strDisplay.GetLength()) < m_nMaxDigits) m_strDisplay += static_cast<char>('0' + nCode);
    else ::MessageBeep(static_cast<UINT>(-1));
  } else {
    switch (nCode) {
      case CodeSeparator:
        startEntry();
        if (m_strDisplay.Find(Separator()) < 0) m_strDisplay += Separator();
        break;
      case CodeClear:
        m_dwFlags &= ~static_cast<DWORD>(Error);
        m_dAccum = 0.0;
        m_nPendingOp = OpNone;
        m_strDisplay = "0";
        m_bStartNew = TRUE;
        break;
      case CodeClearEntry:
        m_strDisplay = "0";
        m_bStartNew = TRUE;
        break;
      case CodeBack:
        if (!m_bStartNew) {
          m_strDisplay = m_strDisplay.Left(m_strDisplay.GetLength() - 1);
          if (m_strDisplay.IsEmpty() || m_strDisplay == "-") m_strDisplay = "0";
        }
        break;
      case CodePercent: HandleOperation(OpPercent); break;
      case CodeDivide: HandleOperation(OpDivide); break;
      case CodeMultiply: HandleOperation(OpMultiply); break;
      case CodeSubtract: HandleOperation(OpSubtract); break;
      case CodeAdd: HandleOperation(OpAdd); break;
      case CodeTotal: HandleOperation(OpEquals); break;
      default: return;
    }
  }
  if (m_hWnd != nullptr) InvalidateRect(m_rcPanel, FALSE);
}

// ---- painting ----

void SECCalculator::DrawButton(CDC* pDC, const SECCalcBtn& button) {
  CRect rc = button.GetRect();
  const bool bPressed = (button.m_dwState & SECCalcBtn::Pressed) != 0;
  pDC->FillSolidRect(rc, ::GetSysColor(COLOR_BTNFACE));
  pDC->DrawEdge(rc, bPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  if (bPressed) rc.OffsetRect(1, 1);
  pDC->SetBkMode(TRANSPARENT);
  const bool bDigit = button.m_nCode >= 0 && button.m_nCode <= 9;
  pDC->SetTextColor(bDigit ? RGB(0, 0, 128) : RGB(128, 0, 0));
  pDC->DrawText(button.m_strCaption, rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void SECCalculator::Draw(CDC* pDC) {
  SECSysColors& colors = SECGetSysColors();
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(client, colors.m_clrBtnFace);
  CFont* pOldFont = pDC->SelectObject(CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))));
  CRect panel = m_rcPanel;
  pDC->FillSolidRect(panel, colors.m_clrWindow);
  pDC->DrawEdge(panel, EDGE_SUNKEN, BF_RECT);
  panel.DeflateRect(6, 2);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(colors.m_clrWindowText);
  pDC->DrawText(m_strDisplay, panel, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  if (IsError()) pDC->DrawText("E", panel, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  for (int i = 0; i < m_nButtons; ++i) DrawButton(pDC, *GetButton(i));
  pDC->SelectObject(pOldFont);
}

void SECCalculator::OnPaint() {
  CPaintDC dc(this);
  const CRect rcPaint = dc.m_ps.rcPaint;
  CRect client;
  GetClientRect(&client);
  CDC memDC;
  CBitmap bitmap;
  if (!memDC.CreateCompatibleDC(&dc) || !bitmap.CreateCompatibleBitmap(&dc, client.Width(), client.Height())) {
    Draw(&dc);
    return;
  }
  CBitmap* pOld = memDC.SelectObject(&bitmap);
  CRgn clip;
  clip.CreateRectRgnIndirect(rcPaint);
  memDC.SelectClipRgn(&clip);
  Draw(&memDC);
  dc.BitBlt(rcPaint.left, rcPaint.top, rcPaint.Width(), rcPaint.Height(), &memDC, rcPaint.left, rcPaint.top, SRCCOPY);
  memDC.SelectObject(pOld);
}

void SECCalculator::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp) {
  if ((GetStyle() & StyleBorder) == 0) {
    Default();
    return;
  }
  (void)bCalcValidRects;
  ::InflateRect(&lpncsp->rgrc[0], -2, -2);
}

void SECCalculator::OnNcPaint() {
  if ((GetStyle() & StyleBorder) == 0) {
    Default();
    return;
  }
  SECSysColors& colors = SECGetSysColors();
  CWindowDC dc(this);
  CRect rc;
  GetWindowRect(&rc);
  rc.OffsetRect(-rc.left, -rc.top);
  dc.Draw3dRect(rc, colors.m_clr3DLight, colors.m_clr3DDkShadow);
  rc.DeflateRect(1, 1);
  dc.Draw3dRect(rc, colors.m_clrBtnHilite, colors.m_clrBtnShadow);
}

void SECCalculator::OnSysColorChange() {
  SECGetSysColors().Refresh();
  if (m_hBitmap != nullptr) {
    ::DeleteObject(m_hBitmap);
    m_hBitmap = nullptr;
    CBitmap bitmap;
    if (kelpwood::foundation::SECLoadSysColorBitmap(&bitmap, MAKEINTRESOURCE(kCalculatorBitmap)))
      m_hBitmap = static_cast<HBITMAP>(bitmap.Detach());
  }
  Default();
}

// ---- input ----

UINT SECCalculator::OnGetDlgCode() { return DLGC_WANTCHARS | DLGC_WANTALLKEYS; }

int SECCalculator::ButtonAt(CPoint point) const {
  for (int i = 0; i < m_nButtons; ++i)
    if (GetButton(i)->GetRect().PtInRect(point)) return i;
  return -1;
}

void SECCalculator::InvalidateButton(int nIndex) {
  if (nIndex >= 0 && nIndex < m_nButtons) InvalidateRect(GetButton(nIndex)->GetRect(), FALSE);
}

void SECCalculator::PressButton(int nIndex) {
  if (nIndex < 0 || nIndex >= m_nButtons) return;
  SECCalcBtn* pButton = GetButton(nIndex);
  pButton->m_dwState |= SECCalcBtn::Pressed;
  InvalidateButton(nIndex);
  UpdateWindow();
  OnButton(pButton->m_nCode);
  if (m_hWnd == nullptr || nIndex >= m_nButtons) return;  // the button's work closed the window
  pButton->m_dwState &= ~static_cast<DWORD>(SECCalcBtn::Pressed);
  InvalidateButton(nIndex);
  UpdateWindow();
}

void SECCalculator::OnLButtonDown(UINT, CPoint point) {
  if (::GetFocus() != m_hWnd) {
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point)) return;
    SetFocus();
  }
  const int nIndex = ButtonAt(point);
  if (nIndex < 0) {
    Default();
    return;
  }
  m_dwFlags |= Tracking;
  m_nTrackBtn = nIndex;
  SetCapture();
  GetButton(nIndex)->m_dwState |= SECCalcBtn::Pressed;
  InvalidateButton(nIndex);
  UpdateWindow();
}

void SECCalculator::OnMouseMove(UINT, CPoint point) {
  if ((m_dwFlags & Tracking) == 0) return;
  SECCalcBtn* pButton = GetButton(m_nTrackBtn);
  const DWORD dwState = pButton->GetRect().PtInRect(point) ? SECCalcBtn::Pressed : 0;
  if ((pButton->m_dwState & SECCalcBtn::Pressed) == dwState) return;
  pButton->m_dwState = (pButton->m_dwState & ~static_cast<DWORD>(SECCalcBtn::Pressed)) | dwState;
  InvalidateButton(m_nTrackBtn);
  UpdateWindow();
}

void SECCalculator::EndTracking() {
  m_dwFlags &= ~static_cast<DWORD>(Tracking);
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (m_nTrackBtn >= 0 && m_nTrackBtn < m_nButtons) {
    GetButton(m_nTrackBtn)->m_dwState &= ~static_cast<DWORD>(SECCalcBtn::Pressed);
    InvalidateButton(m_nTrackBtn);
  }
}

void SECCalculator::OnLButtonUp(UINT, CPoint point) {
  if ((m_dwFlags & Tracking) == 0) return;
  const int nIndex = m_nTrackBtn;
  EndTracking();
  if (GetButton(nIndex)->GetRect().PtInRect(point)) OnButton(GetButton(nIndex)->m_nCode);
}

void SECCalculator::OnCancelMode() {
  if ((m_dwFlags & Tracking) != 0) EndTracking();
}

void SECCalculator::OnKeyDown(UINT nChar, UINT, UINT) {
  if (nChar == VK_TAB && !IsKindOf(RUNTIME_CLASS(SECPopupCalculator))) {
    const bool bShift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
    if (CWnd* pParent = GetParent(); pParent != nullptr) pParent->PostMessage(WM_NEXTDLGCTL, bShift ? 1 : 0, 0);
    return;
  }
  for (int i = 0; i < m_nButtons; ++i)
    if (GetButton(i)->IsKeyCode(nChar)) {
      PressButton(i);
      return;
    }
  Default();
}

void SECCalculator::OnChar(UINT nChar, UINT, UINT) {
  const char byte = static_cast<char>(nChar);
  char text[3] = {};
  if ((m_dwFlags & LeadByte) != 0) {
    text[0] = m_cLeadByte;
    text[1] = byte;
    m_dwFlags &= ~static_cast<DWORD>(LeadByte);
  } else if (::IsDBCSLeadByte(static_cast<BYTE>(byte))) {
    m_cLeadByte = byte;
    m_dwFlags |= LeadByte;
    return;
  } else {
    text[0] = byte;
  }
  ::CharLower(text);
  for (int i = 0; i < m_nButtons; ++i)
    if (GetButton(i)->AcceptsChar(text)) {
      PressButton(i);
      return;
    }
  Default();
}

// ---- the popup ----

BOOL SECPopupCalculator::CreatePopup(const RECT& rcOwner, CWnd* pOwner, double dValue) {
  if (!Create(WS_POPUP | WS_VISIBLE | StyleBorder, rcOwner.left, rcOwner.bottom, pOwner, 0)) return FALSE;
  m_dAccum = dValue;
  FormatDisplay();
  m_bStartNew = TRUE;
  m_bCommitted = FALSE;
  m_bClosing = FALSE;
  SetFocus();
  return TRUE;
}

void SECPopupCalculator::Close(BOOL bCommit) {
  if (m_bClosing) return;
  m_bClosing = TRUE;  // destroying the focused window takes its focus away once more
  if (bCommit) Commit();
  if (m_hWnd != nullptr) DestroyWindow();
}

void SECPopupCalculator::OnKillFocus(CWnd* pNewWnd) {
  if (pNewWnd != nullptr && pNewWnd->m_hWnd == m_hWnd) return;
  Close(TRUE);
}

void SECPopupCalculator::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_ESCAPE) {
    Close(FALSE);
  } else if (nChar == VK_RETURN) {
    HandleOperation(OpEquals);
    Close(TRUE);
  } else {
    SECCalculator::OnKeyDown(nChar, nRepCnt, nFlags);
  }
}
