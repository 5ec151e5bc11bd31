// The masked edit: the caret kept on data positions, typing, deleting and the clipboard through
// the mask operations.
#include "extracontrols/SECMaskEdit.h"

#include <cctype>

IMPLEMENT_DYNAMIC(SECMaskEdit, CEdit)

BEGIN_MESSAGE_MAP(SECMaskEdit, CEdit)
  ON_WM_SETFOCUS()
  ON_WM_LBUTTONDOWN()
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
  ON_MESSAGE(WM_COPY, OnCopy)
  ON_MESSAGE(WM_CUT, OnCut)
  ON_MESSAGE(WM_PASTE, OnPaste)
  ON_MESSAGE(WM_CLEAR, OnClear)
END_MESSAGE_MAP()

namespace {

bool KeyHeld(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }

}  // namespace

void SECMaskEdit::SetMask(LPCTSTR lpszMask, char chPrompt) {
  m_strMask = lpszMask != nullptr ? lpszMask : "";
  m_chPrompt = chPrompt;
  m_strText = m_strMask;
  for (int i = 0; i < m_strMask.GetLength(); ++i)
    if (!IsLiteral(m_strMask[i])) m_strText.SetAt(i, m_chPrompt);
  if (m_hWnd != nullptr) UpdateText();
}

BOOL SECMaskEdit::IsLiteral(char chMask) const {
  return chMask != '#' && chMask != 'A' && chMask != 'a' && chMask != '&';
}

BOOL SECMaskEdit::IsValidChar(char ch, int nPos) const {
  if (nPos < 0 || nPos >= m_strMask.GetLength()) return FALSE;
  const auto c = static_cast<unsigned char>(ch);
  switch (m_strMask[nPos]) {
    case '#': return std::isdigit(c) != 0;
    case 'A': return std::isalpha(c) != 0;
    case 'a': return std::isalnum(c) != 0;
    case '&': return c >= ' ' && c != 0x7F;
    default: return FALSE;
  }
}

int SECMaskEdit::DataPosAtOrAfter(int nPos) const {
  for (int i = std::max(nPos, 0); i < m_strMask.GetLength(); ++i)
    if (!IsLiteral(m_strMask[i])) return i;
  return -1;
}

int SECMaskEdit::DataPosBefore(int nPos) const {
  for (int i = std::min(nPos, m_strMask.GetLength()) - 1; i >= 0; --i)
    if (!IsLiteral(m_strMask[i])) return i;
  return -1;
}

void SECMaskEdit::SetCaret(int nPos) {
  m_nAnchor = -1;
  SetSel(nPos, nPos);
  SendMessage(EM_SCROLLCARET);
}

int SECMaskEdit::Anchor() {
  int start = 0, end = 0;
  GetSel(start, end);
  if (start == end || (m_nAnchor != start && m_nAnchor != end)) m_nAnchor = start;
  return m_nAnchor;
}

void SECMaskEdit::ExtendTo(int nPos) {
  const int anchor = Anchor();
  SetSel(std::min(anchor, nPos), std::max(anchor, nPos));
  m_nAnchor = anchor;
}

int SECMaskEdit::MovingEnd() {
  int start = 0, end = 0;
  GetSel(start, end);
  return Anchor() == start ? end : start;
}

void SECMaskEdit::MoveToNext(BOOL bExtend) {
  int start = 0, end = 0;
  GetSel(start, end);
  const int from = bExtend ? MovingEnd() : end;
  int next = DataPosAtOrAfter(from + 1);
  if (next < 0) next = m_strText.GetLength();
  if (bExtend) ExtendTo(next);
  else SetCaret(next);
}

void SECMaskEdit::MoveToPrev(BOOL bExtend) {
  int start = 0, end = 0;
  GetSel(start, end);
  const int from = bExtend ? MovingEnd() : start;
  const int prev = DataPosBefore(from);
  if (prev < 0) return;
  if (bExtend) ExtendTo(prev);
  else SetCaret(prev);
}

void SECMaskEdit::DeleteRange(int nFrom, int nTo) {
  for (int i = std::max(nFrom, 0); i < std::min(nTo, m_strText.GetLength()); ++i)
    if (!IsLiteral(m_strMask[i])) m_strText.SetAt(i, m_chPrompt);
}

int SECMaskEdit::InsertText(const CString& strText, int nPos) {
  int pos = DataPosAtOrAfter(nPos);
  for (int i = 0; i < strText.GetLength() && pos >= 0; ++i) {
    if (!IsValidChar(strText[i], pos)) continue;
    m_strText.SetAt(pos, strText[i]);
    pos = DataPosAtOrAfter(pos + 1);
  }
  return pos < 0 ? m_strText.GetLength() : pos;
}

void SECMaskEdit::ShiftRight(int nPos) {
  // Walk the data positions from the last back to nPos, each taking its predecessor's character.
  int to = DataPosBefore(m_strText.GetLength());
  while (to > nPos) {
    const int from = DataPosBefore(to);
    if (from < nPos) break;
    if (IsValidChar(m_strText[from], to) || m_strText[from] == m_chPrompt) m_strText.SetAt(to, m_strText[from]);
    to = from;
  }
  if (nPos >= 0 && nPos < m_strText.GetLength()) m_strText.SetAt(nPos, m_chPrompt);
}

void SECMaskEdit::UpdateText() {
  int start = 0, end = 0;
  GetSel(start, end);
  SetWindowText(m_strText);
  SetSel(start, end);
}

CString SECMaskEdit::DataIn(int nFrom, int nTo) const {
  CString data;
  for (int i = std::max(nFrom, 0); i < std::min(nTo, m_strText.GetLength()); ++i) {
    if (IsLiteral(m_strMask[i])) continue;
    data += m_strText[i] == m_chPrompt ? ' ' : m_strText[i];
  }
  return data;
}

// ---- messages ----

void SECMaskEdit::CaretToData() {
  int start = 0, end = 0;
  GetSel(start, end);
  if (start != end) return;
  const int pos = DataPosAtOrAfter(start);
  if (pos >= 0 && pos != start) SetCaret(pos);
}

void SECMaskEdit::OnSetFocus(CWnd*) {
  Default();
  CaretToData();
}

void SECMaskEdit::OnLButtonDown(UINT, CPoint) {
  Default();
  CaretToData();
}

void SECMaskEdit::OnKeyDown(UINT nChar, UINT, UINT) {
  const bool bReadOnly = (GetStyle() & ES_READONLY) != 0;
  const bool bShift = KeyHeld(VK_SHIFT);
  // Shift+Delete, Shift+Insert and Ctrl+Insert are the clipboard's keys, not Delete and Insert:
  // the edit sends itself WM_CUT, WM_PASTE and WM_COPY for them, which the mask handles below.
  if ((nChar == VK_DELETE && bShift) || (nChar == VK_INSERT && (bShift || KeyHeld(VK_CONTROL)))) {
    m_bKeyHandled = FALSE;
    Default();
    return;
  }
  int start = 0, end = 0;
  GetSel(start, end);
  m_bKeyHandled = TRUE;
  switch (nChar) {
    case VK_BACK:
      if (bReadOnly) break;
      if (start != end) {
        DeleteRange(start, end);
        UpdateText();
        SetCaret(start);
      } else if (const int prev = DataPosBefore(start); prev >= 0) {
        DeleteRange(prev, prev + 1);
        UpdateText();
        SetCaret(prev);
      }
      break;
    case VK_DELETE:
      if (bReadOnly) break;
      if (start != end) {
        DeleteRange(start, end);
      } else if (const int pos = DataPosAtOrAfter(start); pos >= 0) {
        DeleteRange(pos, pos + 1);
      }
      UpdateText();
      SetCaret(start);
      break;
    case VK_HOME:
      if (bShift) ExtendTo(0);
      else SetCaret(std::max(DataPosAtOrAfter(0), 0));
      break;
    case VK_END:
      if (bShift) {
        ExtendTo(m_strText.GetLength());
      } else {
        const int last = DataPosBefore(m_strText.GetLength());
        SetCaret(last >= 0 ? last : m_strText.GetLength());
      }
      break;
    case VK_LEFT: MoveToPrev(bShift); break;
    case VK_RIGHT: MoveToNext(bShift); break;
    case VK_UP:
    case VK_DOWN: break;
    case VK_INSERT: m_bInsertMode = !m_bInsertMode; break;
    default:
      m_bKeyHandled = FALSE;
      Default();
  }
}

void SECMaskEdit::OnChar(UINT nChar, UINT, UINT) {
  if (KeyHeld(VK_CONTROL)) {
    Default();
    return;
  }
  if ((GetStyle() & ES_READONLY) != 0 || nChar < ' ') return;
  int start = 0, end = 0;
  GetSel(start, end);
  const int pos = DataPosAtOrAfter(start);
  if (pos < 0) {
    ::MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  const char ch = static_cast<char>(nChar);
  if (!IsValidChar(ch, pos)) return;
  if (start != end) DeleteRange(start, end);
  if (m_bInsertMode) ShiftRight(pos);
  m_strText.SetAt(pos, ch);
  UpdateText();
  const int next = DataPosAtOrAfter(pos + 1);
  SetCaret(next >= 0 ? next : m_strText.GetLength());
}

void SECMaskEdit::CopySelection() {
  int start = 0, end = 0;
  GetSel(start, end);
  const CString data = DataIn(start, end);
  if (!::OpenClipboard(m_hWnd)) return;
  ::EmptyClipboard();
  HGLOBAL hMem = ::GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(data.GetLength()) + 1);
  if (hMem != nullptr) {
    std::memcpy(::GlobalLock(hMem), static_cast<LPCTSTR>(data), static_cast<size_t>(data.GetLength()) + 1);
    ::GlobalUnlock(hMem);
    if (::SetClipboardData(CF_TEXT, hMem) == nullptr) ::GlobalFree(hMem);  // refused: still ours
  }
  ::CloseClipboard();
}

LRESULT SECMaskEdit::OnCopy(WPARAM, LPARAM) {
  CopySelection();
  return 0;
}

LRESULT SECMaskEdit::OnCut(WPARAM, LPARAM) {
  if ((GetStyle() & ES_READONLY) != 0) return 0;
  CopySelection();
  int start = 0, end = 0;
  GetSel(start, end);
  DeleteRange(start, end);
  UpdateText();
  SetCaret(start);
  return 0;
}

LRESULT SECMaskEdit::OnPaste(WPARAM, LPARAM) {
  int start = 0, end = 0;
  GetSel(start, end);
  if ((GetStyle() & ES_READONLY) != 0 || start >= m_strText.GetLength() || !::IsClipboardFormatAvailable(CF_TEXT) ||
      !::OpenClipboard(m_hWnd))
    return 0;
  CString text;
  if (HGLOBAL hMem = ::GetClipboardData(CF_TEXT); hMem != nullptr) {
    // Bounded by the block's size: foreign data need not end in a NUL.
    const auto* p = static_cast<const char*>(::GlobalLock(hMem));
    const SIZE_T size = ::GlobalSize(hMem);
    if (p != nullptr) text = CString(p, static_cast<int>(strnlen(p, size)));
    ::GlobalUnlock(hMem);
  }
  ::CloseClipboard();
  if (text.IsEmpty()) return 0;
  DeleteRange(start, end);
  const int stop = InsertText(text, start);
  UpdateText();
  SetCaret(IsLiteral(m_strMask[start]) ? DataPosAtOrAfter(start) : stop);
  return 0;
}

LRESULT SECMaskEdit::OnClear(WPARAM, LPARAM) {
  OnKeyDown(VK_DELETE, 1, 0);
  return 0;
}
