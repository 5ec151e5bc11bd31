// The currency edit: the value kept in step with its formatted text, typing and deleting digits,
// the sign, its own caret and selection, the edit messages, clipboard, undo, context menu and
// painting; the default formatter.
#include "extracontrols/SECCurrencyEdit.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

IMPLEMENT_DYNAMIC(SECCurrencyEdit, SECDropEdit)

BEGIN_MESSAGE_MAP(SECCurrencyEdit, SECDropEdit)
  ON_WM_PAINT()
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_MESSAGE(WM_SETFONT, OnSetFont)
  ON_MESSAGE(WM_GETFONT, OnGetFont)
  ON_WM_ENABLE()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_GETDLGCODE()
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
  ON_WM_SYSKEYDOWN()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONUP()
  ON_WM_ERASEBKGND()
  ON_MESSAGE(EM_GETSEL, OnGetSel)
  ON_MESSAGE(EM_SETSEL, OnSetSelMessage)
  ON_MESSAGE(EM_SETREADONLY, OnSetReadOnly)
  ON_MESSAGE(EM_CANUNDO, OnCanUndo)
  ON_MESSAGE(EM_UNDO, OnUndoMessage)
  ON_MESSAGE(WM_UNDO, OnUndoMessage)
  ON_MESSAGE(EM_EMPTYUNDOBUFFER, OnEmptyUndo)
  ON_MESSAGE(EM_SETMARGINS, OnSetMargins)
  ON_MESSAGE(WM_CUT, OnCut)
  ON_MESSAGE(WM_COPY, OnCopy)
  ON_MESSAGE(WM_PASTE, OnPaste)
  ON_MESSAGE(WM_CLEAR, OnClear)
  ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
  ON_COMMAND(ID_EDIT_CUT, OnEditCut)
  ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
  ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
  ON_COMMAND(ID_EDIT_CLEAR, OnEditClear)
  ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
END_MESSAGE_MAP()

namespace {

bool KeyHeld(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }
bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// A double keeps every decimal number of this many significant digits exactly, as the calculator
// limits its entries to them.
constexpr int kExactDigits = std::numeric_limits<double>::digits10;

int DigitsBetween(const CString& text, int from, int to) {
  int n = 0;
  for (int i = std::max(from, 0); i < std::min(to, text.GetLength()); ++i) n += IsDigit(text[i]) ? 1 : 0;
  return n;
}

}  // namespace

// ---- formatter ----

BOOL SECCurrencyFormatter::Parse(const CString& strText, double* pValue, BOOL* pNegative) const {
  CString digits;
  bool bNegative = false, bDecimal = false;
  for (int i = 0; i < strText.GetLength(); ++i) {
    const char ch = strText[i];
    if (IsDigit(ch)) {
      digits += ch;
    } else if (ch == m_cDecimal) {
      if (bDecimal) return FALSE;
      bDecimal = true;
      digits += '.';
    } else if (ch == '-' || ch == '(' || ch == ')') {
      bNegative = true;
    } else if (ch != m_cGroup && ch != ' ' && m_strSymbol.Find(ch) < 0) {
      return FALSE;
    }
  }
  const double value = digits.IsEmpty() || digits == "." ? 0.0 : std::strtod(digits, nullptr);
  if (pValue != nullptr) *pValue = value;
  if (pNegative != nullptr) *pNegative = bNegative;
  return TRUE;
}

void SECCurrencyFormatter::Format(double dValue, CString& strText, BOOL bNegative) const {
  CString number;
  number.Format("%.*f", m_nDecimals, std::fabs(dValue));
  const int point = number.Find('.');
  CString whole = point >= 0 ? number.Left(point) : number;
  const CString fraction = point >= 0 ? number.Mid(point + 1) : CString();
  CString grouped;
  for (int i = 0; i < whole.GetLength(); ++i) {
    if (i > 0 && (whole.GetLength() - i) % 3 == 0) grouped += m_cGroup;
    grouped += whole[i];
  }
  strText = (bNegative ? "-" : "") + m_strSymbol + grouped;
  if (m_nDecimals > 0) strText += CString(m_cDecimal) + fraction;
}

int SECCurrencyFormatter::FindDecimalSeparator(const CString& strText, int nStart) const {
  return strText.Find(m_cDecimal, nStart);
}

BOOL SECCurrencyFormatter::GetDigitRange(const CString& strText, int* pFirst, int* pLast) const {
  int first = -1, last = -1;
  for (int i = 0; i < strText.GetLength(); ++i) {
    if (!IsDigit(strText[i])) continue;
    if (first < 0) first = i;
    last = i;
  }
  if (pFirst != nullptr) *pFirst = first;
  if (pLast != nullptr) *pLast = last;
  return first >= 0;
}

// ---- value and text ----

SECCurrencyEdit::SECCurrencyEdit() : m_pFormatter(new SECCurrencyFormatter) {
  m_pFormatter->Format(0.0, m_strText, FALSE);
}

SECCurrencyEdit::~SECCurrencyEdit() { delete m_pFormatter; }

void SECCurrencyEdit::SetValue(double dValue, BOOL bNegative, BOOL bRedraw) {
  if (dValue < 0) {
    dValue = -dValue;
    bNegative = TRUE;
  }
  if (dValue == m_dValue && bNegative == m_bNegative && m_hWnd != nullptr) return;
  m_dValue = dValue;
  m_bNegative = bNegative;
  CString text;
  m_pFormatter->Format(m_dValue, text, m_bNegative);
  // What the text shows is what is kept.
  m_pFormatter->Parse(text, &m_dValue, &m_bNegative);
  m_strText = text;
  m_nSelStart = -1;
  if (m_hWnd == nullptr) return;
  m_bFormatting = FALSE;
  SetWindowText(text);
  m_bFormatting = TRUE;
  m_nCaret = std::min(m_nCaret, m_strText.GetLength());
  if (bRedraw) Redraw();
}

LRESULT SECCurrencyEdit::OnSetText(WPARAM, LPARAM lParam) {
  const CString text = lParam != 0 ? reinterpret_cast<LPCTSTR>(lParam) : "";
  if (m_bFormatting) {
    double value = 0.0;
    BOOL bNegative = FALSE;
    if (!m_pFormatter->Parse(text, &value, &bNegative) || !KeepsExactly(value)) return FALSE;
    SetValue(value, bNegative && value != 0.0, TRUE);
    return TRUE;
  }
  const LRESULT result = Default();
  m_strText = text;
  Redraw();
  return result;
}

CFont* SECCurrencyEdit::Font() const {
  return CFont::FromHandle(m_hFont != nullptr ? m_hFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
}

LRESULT SECCurrencyEdit::OnSetFont(WPARAM wParam, LPARAM lParam) {
  m_hFont = reinterpret_cast<HFONT>(wParam);
  if (lParam != 0 && IsWindowVisible()) Redraw();
  return 0;
}

LRESULT SECCurrencyEdit::OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_hFont); }

void SECCurrencyEdit::Redraw() {
  if (m_hWnd != nullptr && m_bVisibleRedraw && IsWindowVisible()) Invalidate(FALSE);
  if (m_hWnd != nullptr && ::GetFocus() == m_hWnd) PlaceCaret();
}

// ---- geometry, caret and selection ----

CRect SECCurrencyEdit::GetTextRect() {
  CRect rc;
  GetClientRect(&rc);
  rc.left += m_nLeftMargin;
  rc.right -= m_nRightMargin;
  CClientDC dc(this);
  CFont* pOld = dc.SelectObject(Font());
  TEXTMETRIC tm{};
  dc.GetTextMetrics(&tm);
  const int width = dc.GetTextExtent(m_strText).cx;
  dc.SelectObject(pOld);
  rc.top += ::GetSystemMetrics(SM_CYBORDER);
  rc.bottom = rc.top + tm.tmHeight;
  const DWORD style = GetStyle();
  if ((style & ES_RIGHT) != 0) rc.left = rc.right - ::GetSystemMetrics(SM_CXBORDER) - width;
  else if ((style & ES_CENTER) != 0) rc.left += (rc.Width() - width) / 2;
  else rc.left += ::GetSystemMetrics(SM_CXBORDER);
  return rc;
}

int SECCurrencyEdit::CharFromPoint(int x) {
  const CRect rc = GetTextRect();
  CClientDC dc(this);
  CFont* pOld = dc.SelectObject(Font());
  int left = rc.left, index = m_strText.GetLength();
  for (int i = 0; i < m_strText.GetLength(); ++i) {
    const int width = dc.GetTextExtent(m_strText.Mid(i, 1)).cx;
    if (left + width / 2 > x) {
      index = i;
      break;
    }
    left += width;
  }
  dc.SelectObject(pOld);
  return index;
}

void SECCurrencyEdit::PlaceCaret() {
  const CRect rc = GetTextRect();
  CClientDC dc(this);
  CFont* pOld = dc.SelectObject(Font());
  const int x = rc.left + dc.GetTextExtent(m_strText.Left(m_nCaret)).cx;
  dc.SelectObject(pOld);
  ::SetCaretPos(x, rc.top);
}

void SECCurrencyEdit::SetCaret(int nIndex, BOOL bExtend) {
  if (nIndex < 0 || nIndex > m_strText.GetLength()) return;
  if (bExtend || KeyHeld(VK_SHIFT) || m_bMouseSelecting) {
    if (!HasSelection()) m_nAnchor = m_nCaret;
    m_nSelStart = std::min(m_nAnchor, nIndex);
    m_nSelEnd = std::max(m_nAnchor, nIndex);
    if (m_nSelStart == m_nSelEnd) m_nSelStart = -1;
  } else {
    m_nSelStart = -1;
  }
  m_nCaret = nIndex;
  Redraw();
}

BOOL SECCurrencyEdit::SetSel(int nStart, int nEnd) {
  if (nStart == -1) {
    m_nSelStart = -1;
  } else if (nStart == 0 && nEnd == -1) {
    m_nSelStart = 0;
    m_nSelEnd = -1;
    m_nAnchor = 0;
    m_nCaret = m_strText.GetLength();
  } else {
    const int lo = std::min(nStart, nEnd), hi = std::max(nStart, nEnd);
    if (lo < 0 || hi > m_strText.GetLength()) return FALSE;
    m_nSelStart = lo == hi ? -1 : lo;
    m_nSelEnd = hi;
    m_nAnchor = nStart;
    m_nCaret = nEnd;
  }
  Redraw();
  return TRUE;
}

// ---- editing ----

void SECCurrencyEdit::SaveUndo() {
  m_strUndoText = m_strText;
  m_nUndoCaret = m_nCaret;
  m_nUndoSelStart = m_nSelStart;
  m_nUndoSelEnd = m_nSelEnd;
  m_bCanUndo = TRUE;
}

void SECCurrencyEdit::Undo() {
  if ((GetStyle() & ES_READONLY) != 0 || !m_bCanUndo) return;
  const CString text = m_strUndoText;
  double value = 0.0;
  BOOL bNegative = FALSE;
  m_pFormatter->Parse(text, &value, &bNegative);
  m_dValue = value;
  m_bNegative = bNegative;
  m_strText = text;
  m_bFormatting = FALSE;
  SetWindowText(text);
  m_bFormatting = TRUE;
  m_nSelStart = m_nUndoSelStart;
  m_nSelEnd = m_nUndoSelEnd;
  m_nCaret = std::min(m_nUndoCaret, m_strText.GetLength());
  m_bCanUndo = FALSE;  // one level, no redo
  Redraw();
}

SECCurrencyEdit::CaretPlace SECCurrencyEdit::PlaceOf(const CString& strText, int nCaret) const {
  const int sep = m_pFormatter->FindDecimalSeparator(strText);
  if (sep >= 0 && nCaret > sep) return {true, DigitsBetween(strText, sep + 1, nCaret)};
  return {false, DigitsBetween(strText, nCaret, sep >= 0 ? sep : strText.GetLength())};
}

int SECCurrencyEdit::CaretAt(const CaretPlace& place) const {
  const CString& text = m_strText;
  int sep = m_pFormatter->FindDecimalSeparator(text);
  if (place.bDecimals && sep >= 0) {
    int caret = sep + 1;
    for (int seen = 0; caret < text.GetLength() && seen < place.nDigits; ++caret) seen += IsDigit(text[caret]) ? 1 : 0;
    return caret;
  }
  if (sep < 0) {
    int first = 0, last = -1;
    sep = m_pFormatter->GetDigitRange(text, &first, &last) ? last + 1 : text.GetLength();
  }
  int caret = sep;
  while (caret > 0 && DigitsBetween(text, caret, sep) < place.nDigits) --caret;
  // Right after the digit on the left, not after the group separator in front of the others.
  if (caret > 1 && text[caret - 1] == m_pFormatter->m_cGroup && IsDigit(text[caret - 2])) --caret;
  return caret;
}

BOOL SECCurrencyEdit::KeepsExactly(double dValue) const {
  CString text;
  m_pFormatter->Format(dValue, text, FALSE);
  int significant = 0;
  for (int i = 0; i < text.GetLength(); ++i)
    if (IsDigit(text[i]) && (significant > 0 || text[i] != '0')) ++significant;
  return significant <= kExactDigits;
}

BOOL SECCurrencyEdit::ReplaceSelection(const CString& strText, BOOL bKeepSign) {
  const int from = HasSelection() ? m_nSelStart : m_nCaret;
  const int to = HasSelection() ? SelEnd() : m_nCaret;
  const CString raw = m_strText.Left(from) + strText + m_strText.Mid(to);
  double value = 0.0;
  BOOL bNegative = FALSE;
  if (!m_pFormatter->Parse(raw, &value, &bNegative)) return FALSE;
  // More digits than a double keeps would show changed: refused, the value stays.
  if (!KeepsExactly(value)) {
    ::MessageBeep(MB_OK);
    return FALSE;
  }
  // The caret stays as far from the separator, in digits, as it is in the edited text: the whole
  // part counted from the separator leftwards, the decimals from the separator rightwards.
  const CaretPlace place = PlaceOf(raw, from + strText.GetLength());
  SaveUndo();
  m_nSelStart = -1;
  const BOOL bSign = bKeepSign ? m_bNegative : bNegative && value != 0.0;
  m_bNegative = !m_bNegative;  // makes SetValue store even an equal value, to show it formatted
  SetValue(value, bSign, TRUE);
  m_nCaret = CaretAt(place);
  Redraw();
  return TRUE;
}

void SECCurrencyEdit::BackspaceKey() {
  if (HasSelection()) {
    ReplaceSelection("");
    return;
  }
  for (int i = m_nCaret - 1; i >= 0; --i)
    if (IsDigit(m_strText[i])) {
      m_nCaret = i + 1;
      m_nSelStart = i;
      m_nSelEnd = i + 1;
      ReplaceSelection("");
      return;
    }
}

void SECCurrencyEdit::DeleteKey() {
  if (HasSelection()) {
    ReplaceSelection("");
    return;
  }
  for (int i = m_nCaret; i < m_strText.GetLength(); ++i)
    if (IsDigit(m_strText[i])) {
      m_nSelStart = i;
      m_nSelEnd = i + 1;
      ReplaceSelection("");
      return;
    }
}

void SECCurrencyEdit::ToggleSign() {
  // The sign turns over and the value stays, whatever is selected; the selection covers the same
  // characters afterwards, the whole text when it covered the whole text.
  SaveUndo();
  const CString before = m_strText;
  const bool bSelection = HasSelection();
  const int nSelStart = m_nSelStart, nSelEnd = m_nSelEnd, nAnchor = m_nAnchor, nCaret = m_nCaret;
  const CaretPlace place = PlaceOf(m_strText, m_nCaret);
  SetValue(m_dValue, !m_bNegative, TRUE);
  if (bSelection) {
    // Indices in front of the change keep their place, those behind it move with the text.
    int same = 0;
    while (same < before.GetLength() && same < m_strText.GetLength() && before[same] == m_strText[same]) ++same;
    int tail = 0;
    while (tail < before.GetLength() - same && tail < m_strText.GetLength() - same &&
           before[before.GetLength() - 1 - tail] == m_strText[m_strText.GetLength() - 1 - tail])
      ++tail;
    const int delta = m_strText.GetLength() - before.GetLength();
    auto moved = [&](int index) {
      if (index <= same) return index;
      if (index >= before.GetLength() - tail) return index + delta;
      return std::clamp(index, same, m_strText.GetLength() - tail);
    };
    m_nSelStart = moved(nSelStart);
    m_nSelEnd = nSelEnd < 0 ? nSelEnd : moved(nSelEnd);
    m_nAnchor = moved(nAnchor);
    m_nCaret = moved(nCaret);
  } else {
    m_nCaret = CaretAt(place);
  }
  Redraw();
}

void SECCurrencyEdit::ClearSelection() {
  if (HasSelection()) {
    ReplaceSelection("");
  } else {
    SaveUndo();
    SetValue(0.0, FALSE, TRUE);
  }
  m_nCaret = 0;
  m_nSelStart = -1;
  Redraw();
}

void SECCurrencyEdit::CopyToClipboard() {
  if (!HasSelection()) return;
  const CString text = m_strText.Mid(m_nSelStart, SelEnd() - m_nSelStart);
  HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, static_cast<SIZE_T>(text.GetLength()) + 1);
  if (hMem == nullptr) return;
  std::memcpy(::GlobalLock(hMem), static_cast<LPCTSTR>(text), static_cast<size_t>(text.GetLength()));
  ::GlobalUnlock(hMem);
  if (!::OpenClipboard(m_hWnd)) {
    ::GlobalFree(hMem);
    return;
  }
  ::EmptyClipboard();
  if (::SetClipboardData(CF_TEXT, hMem) == nullptr) ::GlobalFree(hMem);
  ::CloseClipboard();
}

void SECCurrencyEdit::PasteFromClipboard() {
  if (!::IsClipboardFormatAvailable(CF_TEXT) || !::OpenClipboard(m_hWnd)) return;
  CString text;
  if (HGLOBAL hMem = ::GetClipboardData(CF_TEXT); hMem != nullptr) {
    const auto* p = static_cast<const char*>(::GlobalLock(hMem));
    if (p != nullptr) text = CString(p, static_cast<int>(strnlen(p, ::GlobalSize(hMem))));
    ::GlobalUnlock(hMem);
  }
  ::CloseClipboard();
  // The paste check: only text that leaves a number is taken.
  if (!text.IsEmpty()) ReplaceSelection(text);
}

void SECCurrencyEdit::ShowContextMenu(CPoint point) {
  CMenu menu;
  if (!menu.CreatePopupMenu()) return;
  const bool bReadOnly = (GetStyle() & ES_READONLY) != 0;
  const UINT selected = HasSelection() ? MF_ENABLED : MF_GRAYED;
  const UINT writable = bReadOnly ? MF_GRAYED : MF_ENABLED;
  menu.AppendMenu(MF_STRING | (m_bCanUndo && !bReadOnly ? MF_ENABLED : MF_GRAYED), ID_EDIT_UNDO, "&Undo");
  menu.AppendMenu(MF_SEPARATOR);
  menu.AppendMenu(MF_STRING | (bReadOnly ? MF_GRAYED : selected), ID_EDIT_CUT, "Cu&t");
  menu.AppendMenu(MF_STRING | selected, ID_EDIT_COPY, "&Copy");
  menu.AppendMenu(MF_STRING | (::IsClipboardFormatAvailable(CF_TEXT) ? writable : MF_GRAYED), ID_EDIT_PASTE,
                  "&Paste");
  menu.AppendMenu(MF_STRING | writable, ID_EDIT_CLEAR, "&Delete");
  menu.AppendMenu(MF_SEPARATOR);
  menu.AppendMenu(MF_STRING, ID_EDIT_SELECT_ALL, "Select &All");
  ClientToScreen(&point);
  menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
  menu.DestroyMenu();
}

// ---- painting ----

BOOL SECCurrencyEdit::OnEraseBkgnd(CDC*) { return TRUE; }

void SECCurrencyEdit::OnPaint() {
  CPaintDC paintDC(this);
  if (!m_bVisibleRedraw) return;
  CRect client;
  GetClientRect(&client);
  CDC memDC;
  CBitmap bitmap;
  CDC* pDC = &paintDC;
  CBitmap* pOld = nullptr;
  if (memDC.CreateCompatibleDC(&paintDC) && bitmap.CreateCompatibleBitmap(&paintDC, client.Width(), client.Height())) {
    pOld = memDC.SelectObject(&bitmap);
    pDC = &memDC;
  }
  const bool bEnabled = IsWindowEnabled() != FALSE;
  const bool bReadOnly = (GetStyle() & ES_READONLY) != 0;
  pDC->FillSolidRect(client, ::GetSysColor(bEnabled && !bReadOnly ? COLOR_WINDOW : COLOR_BTNFACE));
  CFont* pOldFont = pDC->SelectObject(Font());
  COLORREF clrText = ::GetSysColor(COLOR_WINDOWTEXT);
  if (!bEnabled) clrText = ::GetSysColor(GetExStyle() != 0 ? COLOR_BTNSHADOW : COLOR_GRAYTEXT);
  else if (m_bNegative && (m_pFormatter->m_wColorFlags & SECCurrencyFormatter::NegativeColor) != 0)
    clrText = m_pFormatter->m_clrNegative;
  else if (!m_bNegative && (m_pFormatter->m_wColorFlags & SECCurrencyFormatter::PositiveColor) != 0)
    clrText = m_pFormatter->m_clrPositive;
  const CRect rc = GetTextRect();
  auto run = [&](int from, int to, COLORREF fore, COLORREF back, bool bOpaque) {
    if (to <= from) return;
    const int left = rc.left + pDC->GetTextExtent(m_strText.Left(from)).cx;
    const int width = pDC->GetTextExtent(m_strText.Mid(from, to - from)).cx;
    CRect part(left, rc.top, left + width, rc.bottom);
    if (bOpaque) pDC->FillSolidRect(part, back);
    pDC->SetTextColor(fore);
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(m_strText.Mid(from, to - from), part, DT_SINGLELINE | DT_NOPREFIX | DT_LEFT);
  };
  if (!HasSelection()) {
    run(0, m_strText.GetLength(), clrText, 0, false);
  } else {
    run(0, m_nSelStart, clrText, 0, false);
    run(m_nSelStart, SelEnd(), ::GetSysColor(COLOR_HIGHLIGHTTEXT), ::GetSysColor(COLOR_HIGHLIGHT), true);
    run(SelEnd(), m_strText.GetLength(), clrText, 0, false);
  }
  pDC->SelectObject(pOldFont);
  if (pOld != nullptr) {
    paintDC.BitBlt(0, 0, client.Width(), client.Height(), &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(pOld);
  }
}

// ---- messages ----

void SECCurrencyEdit::OnEnable(BOOL bEnable) {
  SECDropEdit::OnEnable(bEnable);
  Invalidate(FALSE);
}

void SECCurrencyEdit::OnSetFocus(CWnd*) {
  Default();
  CClientDC dc(this);
  CFont* pOld = dc.SelectObject(Font());
  TEXTMETRIC tm{};
  dc.GetTextMetrics(&tm);
  dc.SelectObject(pOld);
  CreateSolidCaret(1, tm.tmHeight);
  ShowCaret();
  SetSel(0, -1);
  if (CWnd* pParent = GetParent(); pParent != nullptr)
    pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), EN_SETFOCUS), reinterpret_cast<LPARAM>(m_hWnd));
}

void SECCurrencyEdit::OnKillFocus(CWnd*) {
  Default();
  ::DestroyCaret();
  // A sign typed on zero waited for digits that did not come: the text shows zero as it is.
  if (m_bNegative && m_dValue == 0.0) SetValue(0.0, FALSE, TRUE);
  if (CWnd* pParent = GetParent(); pParent != nullptr)
    pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), EN_KILLFOCUS), reinterpret_cast<LPARAM>(m_hWnd));
}

UINT SECCurrencyEdit::OnGetDlgCode() { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

void SECCurrencyEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  const bool bCtrl = KeyHeld(VK_CONTROL), bShift = KeyHeld(VK_SHIFT);
  const bool bReadOnly = (GetStyle() & ES_READONLY) != 0;
  switch (nChar) {
    case VK_BACK:
      if (!bReadOnly) BackspaceKey();
      return;
    case VK_DELETE:
      if (bShift) SendMessage(WM_CUT);
      else if (!bReadOnly) DeleteKey();
      return;
    case VK_INSERT:
      if (bCtrl) SendMessage(WM_COPY);
      else if (bShift) SendMessage(WM_PASTE);
      return;
    case 'C':
    case 'V':
    case 'X':
    case 'Z':
      if (!bCtrl) break;
      SendMessage(nChar == 'C' ? WM_COPY : nChar == 'V' ? WM_PASTE : nChar == 'X' ? WM_CUT : WM_UNDO);
      return;
    case VK_HOME: SetCaret(0, FALSE); return;
    case VK_END: SetCaret(m_strText.GetLength(), FALSE); return;
    case VK_LEFT: SetCaret(m_nCaret - 1, FALSE); return;
    case VK_RIGHT: SetCaret(m_nCaret + 1, FALSE); return;
    case VK_F2:
      if (HasButton()) OnClicked();
      return;
    default: break;
  }
  SECDropEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void SECCurrencyEdit::OnChar(UINT nChar, UINT, UINT) {
  if ((GetStyle() & ES_READONLY) != 0 || KeyHeld(VK_CONTROL)) return;
  const char ch = static_cast<char>(nChar);
  if (ch == m_pFormatter->m_cDecimal) {
    m_nSelStart = -1;
    const int sep = m_pFormatter->FindDecimalSeparator(m_strText);
    int first = 0, last = -1;
    if (sep >= 0) m_nCaret = sep + 1;
    else if (m_pFormatter->GetDigitRange(m_strText, &first, &last)) m_nCaret = last + 1;
    Redraw();
  } else if (ch == '-') {
    ToggleSign();
  } else if (IsDigit(ch)) {
    // Among the decimals a digit takes the place of the one after the caret, so the digits on
    // either side keep their places; after the last decimal there is no room for it.
    const int sep = m_pFormatter->FindDecimalSeparator(m_strText);
    if (!HasSelection() && sep >= 0 && m_nCaret > sep) {
      if (m_nCaret >= m_strText.GetLength() || !IsDigit(m_strText[m_nCaret])) {
        ::MessageBeep(MB_OK);
        return;
      }
      m_nSelStart = m_nCaret;
      m_nSelEnd = m_nCaret + 1;
    }
    // Only "-" changes the sign: a digit typed over the sign, the whole text selected, starts a
    // new value with the sign the text had.
    ReplaceSelection(CString(ch), TRUE);
  }
}

void SECCurrencyEdit::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_F10 && KeyHeld(VK_SHIFT)) {
    CRect rc;
    GetClientRect(&rc);
    PostMessage(WM_RBUTTONUP, 0, MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y));
  } else if (nChar == VK_BACK) {
    PostMessage(WM_UNDO);
  }
  SECDropEdit::OnSysKeyDown(nChar, nRepCnt, nFlags);
}

void SECCurrencyEdit::OnLButtonDown(UINT, CPoint point) {
  m_bVisibleRedraw = FALSE;
  SetFocus();
  m_bVisibleRedraw = TRUE;
  m_nSelStart = -1;
  m_nCaret = CharFromPoint(point.x);
  m_nAnchor = m_nCaret;
  m_bMouseSelecting = TRUE;
  SetCapture();
  Redraw();
}

void SECCurrencyEdit::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bMouseSelecting) SetCaret(CharFromPoint(point.x), TRUE);
  SECDropEdit::OnMouseMove(nFlags, point);
}

void SECCurrencyEdit::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bMouseSelecting) {
    m_bMouseSelecting = FALSE;
    if (::GetCapture() == m_hWnd && (m_wState & Captured) == 0) ::ReleaseCapture();
    int first = 0, last = -1;
    const bool bDigits = m_pFormatter->GetDigitRange(m_strText, &first, &last) != FALSE;
    if (!HasSelection() && (!bDigits || m_nCaret < first || m_nCaret > last + 1)) SetSel(0, -1);
  }
  SECDropEdit::OnLButtonUp(nFlags, point);
}

void SECCurrencyEdit::OnLButtonDblClk(UINT, CPoint) { SetSel(0, -1); }

void SECCurrencyEdit::OnRButtonUp(UINT, CPoint point) { ShowContextMenu(point); }

LRESULT SECCurrencyEdit::OnGetSel(WPARAM wParam, LPARAM lParam) {
  const DWORD start = HasSelection() ? static_cast<DWORD>(m_nSelStart) : static_cast<DWORD>(m_nCaret);
  const DWORD end = HasSelection() ? static_cast<DWORD>(SelEnd()) : static_cast<DWORD>(m_nCaret);
  if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = start;
  if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = end;
  if (start >= 65535 || end >= 65535) return -1;
  return MAKELONG(start, end);
}

LRESULT SECCurrencyEdit::OnSetSelMessage(WPARAM wParam, LPARAM lParam) {
  return SetSel(static_cast<int>(wParam), static_cast<int>(lParam));
}

LRESULT SECCurrencyEdit::OnSetReadOnly(WPARAM wParam, LPARAM) {
  ModifyStyle(wParam != 0 ? 0 : ES_READONLY, wParam != 0 ? ES_READONLY : 0);
  Invalidate(FALSE);
  return TRUE;
}

LRESULT SECCurrencyEdit::OnCanUndo(WPARAM, LPARAM) { return m_bCanUndo; }

LRESULT SECCurrencyEdit::OnUndoMessage(WPARAM, LPARAM) {
  const BOOL bCould = m_bCanUndo;
  Undo();
  return bCould;
}

LRESULT SECCurrencyEdit::OnEmptyUndo(WPARAM, LPARAM) {
  m_bCanUndo = FALSE;
  return 0;
}

LRESULT SECCurrencyEdit::OnSetMargins(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == EC_USEFONTINFO) {
    CClientDC dc(this);
    CFont* pOld = dc.SelectObject(Font());
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    dc.SelectObject(pOld);
    m_nLeftMargin = m_nRightMargin = tm.tmAveCharWidth;
  } else {
    if ((wParam & EC_LEFTMARGIN) != 0) m_nLeftMargin = LOWORD(lParam);
    if ((wParam & EC_RIGHTMARGIN) != 0) m_nRightMargin = HIWORD(lParam);
  }
  Redraw();
  return 0;
}

LRESULT SECCurrencyEdit::OnCut(WPARAM, LPARAM) {
  CopyToClipboard();
  if ((GetStyle() & ES_READONLY) == 0 && HasSelection()) ReplaceSelection("");
  return 0;
}

LRESULT SECCurrencyEdit::OnCopy(WPARAM, LPARAM) {
  CopyToClipboard();
  return 0;
}

LRESULT SECCurrencyEdit::OnPaste(WPARAM, LPARAM) {
  if ((GetStyle() & ES_READONLY) == 0) PasteFromClipboard();
  return 0;
}

LRESULT SECCurrencyEdit::OnClear(WPARAM, LPARAM) {
  if ((GetStyle() & ES_READONLY) == 0) ClearSelection();
  return 0;
}

void SECCurrencyEdit::OnEditUndo() { SendMessage(WM_UNDO); }
void SECCurrencyEdit::OnEditCut() { SendMessage(WM_CUT); }
void SECCurrencyEdit::OnEditCopy() { SendMessage(WM_COPY); }
void SECCurrencyEdit::OnEditPaste() { SendMessage(WM_PASTE); }
void SECCurrencyEdit::OnEditClear() { SendMessage(WM_CLEAR); }
void SECCurrencyEdit::OnEditSelectAll() { SetSel(0, -1); }
