// The editor controller's caret: the system caret, moves by character, line, page, word and
// document, the selection they extend, scrolling to the caret, and the mapping between logical
// points and text positions (tabs and double-byte characters measured with the editor font).
#include "editor/ctl/SECEditController.h"
#include "editor/model/SECEdit.h"
#include "editor/view/SECEditViewport.h"

namespace {

// The font-set pieces a measurement needs: the information context with font 0 selected, the
// tab stop and the average character width.
struct Measure {
  CDC* dc = nullptr;
  int tabStop = 0;
  int charWidth = 1;
  int lineHeight = 0;
};

}  // namespace

static Measure MeasureWith(SECEditFontInfo* info, SECEdit* model) {
  Measure m;
  if (info == nullptr) return m;
  if (info->m_dcInfo.GetSafeHdc() != nullptr) m.dc = &info->m_dcInfo;
  m.charWidth = std::max(1, info->m_nFontWidth);
  m.lineHeight = info->m_nLineHeight;
  ISECEditLangConfig* cfg = model != nullptr ? model->GetLangConfig() : nullptr;
  const int tabSize = cfg != nullptr ? std::max(1, cfg->GetTabSize()) : 4;
  m.tabStop = tabSize * m.charWidth;
  return m;
}

static int Extent(const Measure& m, LPCTSTR text, int count) {
  if (count <= 0) return 0;
  if (m.dc == nullptr) return count * m.charWidth;
  int tab = m.tabStop;
  return m.dc->GetTabbedTextExtent(text, count, 1, &tab).cx;
}

// ---- the system caret ----

void SECEditController::CreateEditCaret(BOOL bSolid) {
  if (m_hWnd == nullptr) return;
  const int width = std::max(2, ::GetSystemMetrics(SM_CXBORDER));
  ::CreateCaret(m_hWnd, bSolid ? nullptr : reinterpret_cast<HBITMAP>(1), width, std::max(1, LineHeight()));
  m_bCaretCreated = TRUE;
  m_bCaretHidden = TRUE;
}

void SECEditController::DestroyEditCaret() {
  m_bCaretCreated = FALSE;
  if (m_hWnd == nullptr) return;
  if (!m_bCaretHidden) ::HideCaret(m_hWnd);
  m_bCaretHidden = TRUE;
  ::DestroyCaret();
}

void SECEditController::ShowSystemCaret(BOOL bShow) {
  if (!m_bCaretCreated || m_hWnd == nullptr) return;
  if (bShow)
    ::ShowCaret(m_hWnd);
  else
    ::HideCaret(m_hWnd);
}

void SECEditController::EnableCaretScroll(BOOL bEnable) {
  if (!bEnable)
    ++m_nScrollSuspend;
  else if (m_nScrollSuspend > 0)
    --m_nScrollSuspend;
  m_bScrollEnabled = m_nScrollSuspend == 0;
  if (bEnable && m_bScrollEnabled) EnsureCaretVisible();
}

void SECEditController::EnsureCaretVisible() {
  if (!m_bScrollEnabled) return;
  SECEditViewport* viewport = GetViewport();
  if (viewport == nullptr) return;
  const int lineHeight = LineHeight(), width = CharWidth();
  if (lineHeight > 0 && width > 0) {
    const CRect visible = viewport->GetVisibleLogRect();
    // The text area starts right of the gutter.
    const int left = visible.left + GetGutterWidth();
    int lines = 0, chars = 0;
    if (m_ptCaret.y < visible.top)
      lines = -((visible.top - m_ptCaret.y) / lineHeight);
    else if (m_ptCaret.y + lineHeight > visible.bottom && visible.Height() >= lineHeight)
      // Whole lines, so that a caret under a partly shown last row is shown whole.
      lines = (m_ptCaret.y + 2 * lineHeight - 1 - visible.bottom) / lineHeight;
    if (m_ptCaret.x < left)
      chars = -8 - (left - m_ptCaret.x) / width;
    else if (m_ptCaret.x >= visible.right && visible.Width() > 0)
      chars = (m_ptCaret.x - visible.right) / width + 8;
    if (lines != 0 || chars != 0) {
      const CPoint origin = viewport->GetLogOrigin();
      viewport->SetLogOrigin(std::max(0, origin.x + chars * width), std::max(0, origin.y + lines * lineHeight));
      viewport->UpdateScrollBars();
      viewport->Invalidate(FALSE, FALSE);
      if (CWnd* wnd = viewport->GetWindow(); wnd != nullptr && wnd->GetSafeHwnd() != nullptr) wnd->UpdateWindow();
    }
  }
  SetCaretPos(m_caret.m_nLine, m_caret.m_nCol, m_caret.m_nCol > LineLength(m_caret.m_nLine));
}

// The status text follows the caret through the command-update of its pane; telling every
// observer here would repaint every view of the text after each keystroke.
void SECEditController::RememberCaretX() { m_nRememberedX = m_ptCaret.x; }

void SECEditController::RestoreCaretX() {
  if (m_bKeepRememberedX) m_ptCaret.x = m_nRememberedX;
}

void SECEditController::SnapCaretToPoint() {
  CPoint pt = m_ptCaret;
  SECEditLineCol pos;
  PointToPosition(pt, pos, TRUE);
  m_caret = pos;
  m_ptCaret = pt;
}

void SECEditController::UpdateCaretPoint() { PositionToPoint(m_ptCaret, m_caret); }

BOOL SECEditController::IsVirtualSpaceAllowed() {
  if (IsColumnSelection() || m_bPositioningVirtual) return TRUE;
  ISECEditLangConfig* cfg = GetLangConfig();
  return cfg != nullptr && cfg->GetVirtualWhitespace();
}

// ---- points and positions ----

BOOL SECEditController::PointToPosition(CPoint& point, SECEditLineCol& pos, BOOL bSnap) {
  SECEditViewport* viewport = GetViewport();
  return PointToPosition(point, pos, bSnap, viewport != nullptr ? viewport->GetFontInfo() : nullptr);
}

BOOL SECEditController::PointToPosition(CPoint& point, SECEditLineCol& pos, BOOL bSnap, SECEditFontInfo* info) {
  SECEdit* model = GetEditModel();
  const Measure m = MeasureWith(info, model);
  if (model == nullptr || m.lineHeight <= 0) {
    pos = SECEditLineCol(0, 0);
    return FALSE;
  }
  const int line = std::clamp(point.y / m.lineHeight, 0, std::max(0, model->GetLastLine()));
  if (bSnap) point.y = line * m.lineHeight;
  pos = SECEditLineCol(line, 0);
  const int margin = GetGutterWidth();
  const int x = point.x - margin;
  if (x < 0) {
    if (bSnap) point.x = margin;
    return TRUE;
  }
  CString buf;
  LPTSTR text = nullptr;
  const int len = std::max(0, model->GetLine(line, &buf, &text));
  const int width = Extent(m, text, len);
  if (x >= width) {
    int col = len;
    int edge = width;
    if (IsVirtualSpaceAllowed()) {
      col = len + (x - width) / m.charWidth;
      edge = width + (col - len) * m.charWidth;
    }
    pos.m_nCol = col;
    if (bSnap) point.x = margin + edge;
    return TRUE;
  }
  // Bisection over character boundaries, starting near the average-width guess.
  int lo = 0, hi = len;  // the character that holds x starts at or after lo and before hi
  const int guess = std::min(x / m.charWidth, std::max(0, len - 1));
  const int g = CharStart(text, len, guess);
  if (Extent(m, text, g) <= x) lo = g; else hi = g;
  while (true) {
    const int next = lo + ((::IsDBCSLeadByte(static_cast<BYTE>(text[lo])) && lo + 1 < len) ? 2 : 1);
    if (next >= hi || Extent(m, text, next) > x) {
      // lo starts the character that holds x.
      const int left = Extent(m, text, lo), right = Extent(m, text, next);
      bool after;
      if (text[lo] == '\t')
        after = bSnap ? right - x < 4 : x > left;
      else
        after = right - x < x - left;
      pos.m_nCol = after ? next : lo;
      if (bSnap) point.x = margin + (after ? right : left);
      return TRUE;
    }
    const int mid = CharStart(text, len, (next + hi) / 2);
    if (mid > next && Extent(m, text, mid) <= x) lo = mid; else lo = next;
  }
}

BOOL SECEditController::PositionToPoint(CPoint& point, const SECEditLineCol& pos) {
  SECEditViewport* viewport = GetViewport();
  return PositionToPoint(point, pos, viewport != nullptr ? viewport->GetFontInfo() : nullptr);
}

BOOL SECEditController::PositionToPoint(CPoint& point, const SECEditLineCol& pos, SECEditFontInfo* info) {
  SECEdit* model = GetEditModel();
  const Measure m = MeasureWith(info, model);
  if (model == nullptr || pos.m_nLine < 0 || pos.m_nLine >= model->GetLineCount()) {
    point = CPoint(0, 0);
    return FALSE;
  }
  CString buf;
  LPTSTR text = nullptr;
  const int len = std::max(0, model->GetLine(pos.m_nLine, &buf, &text));
  point.y = pos.m_nLine * m.lineHeight;
  point.x = GetGutterWidth() + Extent(m, text, std::min(pos.m_nCol, len));
  if (pos.m_nCol > len) point.x += (pos.m_nCol - len) * m.charWidth;
  return TRUE;
}

BOOL SECEditController::GetColumnRange(int line, int* first, int* last) {
  if (m_selection.GetMode() != SECEDIT_SEL_COLUMN) return FALSE;
  SECEditLineColPair pair;
  if (!GetSelectionPair(pair, TRUE) || line < pair.m_start.m_nLine || line > pair.m_end.m_nLine) return FALSE;
  CPoint a, b, own;
  PositionToPoint(a, pair.m_start);
  PositionToPoint(b, pair.m_end);
  PositionToPoint(own, SECEditLineCol(line, 0));
  const BOOL saved = m_bPositioningVirtual;
  m_bPositioningVirtual = TRUE;
  CPoint left(std::min(a.x, b.x), own.y), right(std::max(a.x, b.x), own.y);
  SECEditLineCol p1, p2;
  PointToPosition(left, p1, TRUE);
  PointToPosition(right, p2, FALSE);
  m_bPositioningVirtual = saved;
  *first = p1.m_nCol;
  *last = p2.m_nCol;
  return TRUE;
}

BOOL SECEditController::GetDragRect(CRect* rect) {
  if (m_selection.GetMode() != SECEDIT_SEL_COLUMN_DRAG) return FALSE;
  CRect r(m_ptDragAnchor, m_ptDragCurrent);
  r.NormalizeRect();
  r.bottom += LineHeight();
  *rect = r;
  return TRUE;
}

// ---- the single moves ----

int SECEditController::FirstNonBlank(int line) {
  SECEdit* model = GetEditModel();
  return model != nullptr ? model->GetIndentLength(line) : 0;
}

BOOL SECEditController::MoveCharLeft() {
  SECEdit* model = GetEditModel();
  if (model == nullptr) return FALSE;
  if (m_caret.m_nCol == 0) {
    if (m_caret.m_nLine == 0) return FALSE;
    --m_caret.m_nLine;
    m_caret.m_nCol = LineLength(m_caret.m_nLine);
  } else {
    const int len = LineLength(m_caret.m_nLine);
    if (m_caret.m_nCol > len) {
      m_caret.m_nCol = IsVirtualSpaceAllowed() ? m_caret.m_nCol - 1 : len;
    } else {
      CString buf;
      LPTSTR text = nullptr;
      model->GetLine(m_caret.m_nLine, &buf, &text);
      m_caret.m_nCol = CharStart(text, len, m_caret.m_nCol - 1);
    }
  }
  UpdateCaretPoint();
  return TRUE;
}

BOOL SECEditController::MoveCharRight() {
  SECEdit* model = GetEditModel();
  if (model == nullptr) return FALSE;
  const int len = LineLength(m_caret.m_nLine);
  if (m_caret.m_nCol < len) {
    CString buf;
    LPTSTR text = nullptr;
    model->GetLine(m_caret.m_nLine, &buf, &text);
    m_caret.m_nCol += (::IsDBCSLeadByte(static_cast<BYTE>(text[m_caret.m_nCol])) && m_caret.m_nCol + 1 < len) ? 2 : 1;
  } else if (IsVirtualSpaceAllowed()) {
    ++m_caret.m_nCol;
  } else if (m_caret.m_nLine < model->GetLastLine()) {
    ++m_caret.m_nLine;
    m_caret.m_nCol = 0;
  } else {
    return FALSE;
  }
  UpdateCaretPoint();
  return TRUE;
}

BOOL SECEditController::MoveLineDown() {
  SECEdit* model = GetEditModel();
  if (model == nullptr || m_caret.m_nLine >= model->GetLastLine()) return FALSE;
  m_ptCaret.y += LineHeight();
  RestoreCaretX();
  SnapCaretToPoint();
  return TRUE;
}

BOOL SECEditController::MoveLineUp() {
  if (m_caret.m_nLine <= 0) return FALSE;
  m_ptCaret.y -= LineHeight();
  RestoreCaretX();
  SnapCaretToPoint();
  return TRUE;
}

BOOL SECEditController::MoveLineHome() {
  const int f = FirstNonBlank(m_caret.m_nLine);
  m_caret.m_nCol = (m_caret.m_nCol != f && f != LineLength(m_caret.m_nLine)) ? f : 0;
  UpdateCaretPoint();
  return TRUE;
}

BOOL SECEditController::MoveLineEnd() {
  m_caret.m_nCol = LineLength(m_caret.m_nLine);
  UpdateCaretPoint();
  return TRUE;
}

static int LinesPerPage(SECEditViewport* viewport, int lineHeight) {
  if (viewport == nullptr || lineHeight <= 0) return 0;
  return viewport->GetVisibleLogRect().Height() / lineHeight;
}

BOOL SECEditController::MovePageDown() { return MovePageBy(TRUE); }

BOOL SECEditController::MovePageUp() { return MovePageBy(FALSE); }

// A page is the visible lines less one; the view moves by the lines the caret moved.
BOOL SECEditController::MovePageBy(BOOL bDown) {
  SECEdit* model = GetEditModel();
  SECEditViewport* viewport = GetViewport();
  const int lineHeight = LineHeight();
  const int page = LinesPerPage(viewport, lineHeight);
  if (model == nullptr || page == 0) return FALSE;
  const int from = m_caret.m_nLine;
  const int line = bDown ? std::min(from + page - 1, model->GetLastLine()) : std::max(from - (page - 1), 0);
  const int dy = (line - from) * lineHeight;
  viewport->OffsetOrigin(0, dy);
  viewport->UpdateScrollBars();
  viewport->Invalidate(FALSE, FALSE);
  m_ptCaret.y += dy;
  RestoreCaretX();
  SnapCaretToPoint();
  return TRUE;
}

BOOL SECEditController::MoveDocumentStart() {
  m_caret = SECEditLineCol(0, 0);
  UpdateCaretPoint();
  return TRUE;
}

BOOL SECEditController::MoveDocumentEnd() {
  SECEdit* model = GetEditModel();
  if (model == nullptr) return FALSE;
  const int last = std::max(0, model->GetLastLine());
  m_caret = SECEditLineCol(last, LineLength(last));
  UpdateCaretPoint();
  return TRUE;
}

static bool StartsWithBlank(const CString& word) { return !word.IsEmpty() && (word[0] == ' ' || word[0] == '\t'); }

SECEditLineCol SECEditController::FindWordLeft(SECEditLineCol from) {
  CString word;
  int line = from.m_nLine, col = from.m_nCol;
  if (!FindWordBoundary(word, from.m_nLine, from.m_nCol, FALSE, line, col)) return from;
  if (col > 0 && ((line == from.m_nLine && StartsWithBlank(word)) || line < from.m_nLine)) {
    const int l = line, c = col;
    if (!FindWordBoundary(word, l, c, FALSE, line, col)) return SECEditLineCol(l, c);
  }
  return SECEditLineCol(line, col);
}

SECEditLineCol SECEditController::FindWordRight(SECEditLineCol from) {
  CString word;
  int line = from.m_nLine, col = from.m_nCol;
  if (!FindWordBoundary(word, from.m_nLine, from.m_nCol, TRUE, line, col)) return from;
  if (col < LineLength(line)) {
    CString next;
    int l2 = line, c2 = col;
    if (FindWordBoundary(next, line, col, TRUE, l2, c2) && StartsWithBlank(next)) return SECEditLineCol(l2, c2);
  }
  return SECEditLineCol(line, col);
}

// ---- the key table ----

void SECEditController::RunMove(BOOL (SECEditController::*move)(), BOOL bExtend, BOOL bVertical) {
  if (GetEditModel() == nullptr) return;
  if (!bExtend) {
    ClearSelection(TRUE);
    if (!(this->*move)()) {
      EnsureCaretVisible();
      return;
    }
  } else {
    if (!HasSelection()) m_selection.SetEmpty(m_caret.m_nLine, m_caret.m_nCol, SECEDIT_SEL_STREAM);
    ShowSystemCaret(FALSE);
    (this->*move)();
    int first = 0, last = 0;
    m_selection.SetEnd(m_caret.m_nLine, m_caret.m_nCol, &first, &last);
    InvalidateLines(first, last);
    ShowSystemCaret(TRUE);
  }
  EnsureCaretVisible();
  if (!bVertical) RememberCaretX();
}

void SECEditController::RunWordMove(BOOL bRight, BOOL bExtend) {
  const SECEditLineCol to = bRight ? FindWordRight(m_caret) : FindWordLeft(m_caret);
  if (bExtend) {
    ExtendSelectionTo(to.m_nLine, to.m_nCol, TRUE);
    return;
  }
  ClearSelection(TRUE);
  if (to == m_caret) return;
  SetCaretPos(to.m_nLine, to.m_nCol, FALSE);
  RememberCaretX();
  EnsureCaretVisible();
}

void SECEditController::OnMoveKey(UINT nID) {
  using Move = BOOL (SECEditController::*)();
  struct Entry {
    UINT id;
    Move move;
    BOOL extend;
    BOOL vertical;
  };
  static const Entry table[] = {
      {45026, &SECEditController::MoveCharLeft, FALSE, FALSE},
      {45030, &SECEditController::MoveCharLeft, TRUE, FALSE},
      {45027, &SECEditController::MoveCharRight, FALSE, FALSE},
      {45031, &SECEditController::MoveCharRight, TRUE, FALSE},
      {45024, &SECEditController::MoveLineUp, FALSE, TRUE},
      {45028, &SECEditController::MoveLineUp, TRUE, TRUE},
      {45025, &SECEditController::MoveLineDown, FALSE, TRUE},
      {45029, &SECEditController::MoveLineDown, TRUE, TRUE},
      {45036, &SECEditController::MoveLineHome, FALSE, FALSE},
      {45038, &SECEditController::MoveLineHome, TRUE, FALSE},
      {45037, &SECEditController::MoveLineEnd, FALSE, FALSE},
      {45040, &SECEditController::MoveLineEnd, TRUE, FALSE},
      {45032, &SECEditController::MovePageUp, FALSE, TRUE},
      {45034, &SECEditController::MovePageUp, TRUE, TRUE},
      {45033, &SECEditController::MovePageDown, FALSE, TRUE},
      {45035, &SECEditController::MovePageDown, TRUE, TRUE},
      {45018, &SECEditController::MoveDocumentStart, FALSE, FALSE},
      {45016, &SECEditController::MoveDocumentStart, TRUE, FALSE},
      {45017, &SECEditController::MoveDocumentEnd, FALSE, FALSE},
      {45015, &SECEditController::MoveDocumentEnd, TRUE, FALSE},
  };
  for (const Entry& e : table) {
    if (e.id == nID) {
      RunMove(e.move, e.extend, e.vertical);
      return;
    }
  }
  switch (nID) {
    case 45007: RunWordMove(FALSE, FALSE); break;
    case 45006: RunWordMove(FALSE, TRUE); break;
    case 45008: RunWordMove(TRUE, FALSE); break;
    case 45014: RunWordMove(TRUE, TRUE); break;
    case 45053: ScrollLines(-1, 0); break;
    case 45052: ScrollLines(1, 0); break;
    case ID_SECEDIT_ESCAPE: ClearSelection(TRUE); break;
    default: break;
  }
}

void SECEditController::OnSelectAllCmd() { SelectAll(); }

// ---- selection ----

void SECEditController::ExtendSelectionTo(int line, int col, BOOL bRedraw) {
  if (!HasSelection()) m_selection.SetEmpty(m_caret.m_nLine, m_caret.m_nCol, SECEDIT_SEL_STREAM);
  ShowSystemCaret(FALSE);
  SetCaretPos(line, col, FALSE);
  int first = 0, last = 0;
  m_selection.SetEnd(m_caret.m_nLine, m_caret.m_nCol, &first, &last);
  if (bRedraw) {
    InvalidateLines(first, last);
    EnsureCaretVisible();
  }
  ShowSystemCaret(TRUE);
  RememberCaretX();
}

void SECEditController::SetSelection(const SECEditLineColPair& pair, int mode) {
  SECEdit* model = GetEditModel();
  if (model == nullptr) return;
  ClearSelection(TRUE);
  SECEditLineColPair p = pair.Normalized();
  const int last = std::max(0, model->GetLastLine());
  for (SECEditLineCol* pos : {&p.m_start, &p.m_end}) {
    pos->m_nLine = std::clamp(pos->m_nLine, 0, last);
    pos->m_nCol = std::max(0, pos->m_nCol);
  }
  SetCaretPos(p.m_start.m_nLine, p.m_start.m_nCol, TRUE);
  m_selection.SetEmpty(m_caret.m_nLine, m_caret.m_nCol, SECEDIT_SEL_STREAM);
  SetCaretPos(p.m_end.m_nLine, p.m_end.m_nCol, TRUE);
  EnsureCaretVisible();
  m_selection.SetEnd(m_caret.m_nLine, m_caret.m_nCol);
  m_selection.SetMode(mode == SECEDIT_SEL_COLUMN_DRAG ? SECEDIT_SEL_COLUMN : mode);
  InvalidateSelection();
}

void SECEditController::SelectAll() {
  SECEdit* model = GetEditModel();
  if (model == nullptr || model->GetLineCount() == 0) return;
  ClearSelection(TRUE);
  EnableCaretScroll(FALSE);
  MoveDocumentEnd();
  EnableCaretScroll(TRUE);
  RunMove(&SECEditController::MoveDocumentStart, TRUE, FALSE);
}

void SECEditController::InvalidateLines(int first, int last) {
  if (SECEditViewport* viewport = GetViewport(); viewport != nullptr) viewport->InvalidateLineRange(first, last);
}

void SECEditController::InvalidateSelection() {
  int sl, sc, el, ec;
  if (GetSelectionRange(sl, sc, el, ec, TRUE)) InvalidateLines(sl, el);
}

// ---- scrolling ----

void SECEditController::ScrollLines(int lines, int columns) {
  if (!m_bScrollBarMode) {
    SetTopLine(GetTopLine() + lines);
    return;
  }
  if (m_hWnd == nullptr) return;
  for (int i = 0; i < std::abs(lines); ++i) ::SendMessage(m_hWnd, WM_VSCROLL, lines < 0 ? SB_LINEUP : SB_LINEDOWN, 0);
  for (int i = 0; i < std::abs(columns); ++i)
    ::SendMessage(m_hWnd, WM_HSCROLL, columns < 0 ? SB_LINELEFT : SB_LINERIGHT, 0);
}

int SECEditController::GetTopLine() {
  SECEditViewport* viewport = GetViewport();
  const int lineHeight = LineHeight();
  return viewport != nullptr && lineHeight > 0 ? viewport->GetLogOrigin().y / lineHeight : 0;
}

void SECEditController::SetTopLine(int line) {
  SECEditViewport* viewport = GetViewport();
  if (viewport == nullptr) return;
  viewport->SetLogOrigin(viewport->GetLogOrigin().x, std::max(0, line) * LineHeight());
  viewport->UpdateScrollBars();
  viewport->Invalidate(FALSE, FALSE);
  UpdateCaretState();
}

void SECEditController::CenterLine(int line) {
  if (line == -1) line = m_caret.m_nLine;
  const int lineHeight = LineHeight();
  SECEditViewport* viewport = GetViewport();
  if (viewport == nullptr || lineHeight <= 0) return;
  const int visible = viewport->GetVisibleLogRect().Height() / lineHeight;
  ScrollLines(line - visible / 2 - GetTopLine(), 0);
}

void SECEditController::ResetState() {
  m_selection.Reset();
  m_nScrollTimer = 0;
  m_bBeyondLineEnd = FALSE;
  m_nRememberedX = 0;
  m_bTrackingMouse = FALSE;
  m_nScrollSuspend = 0;
  m_bScrollEnabled = TRUE;
  m_pLastTypingCommand = nullptr;
  m_nPendingLeadByte = 0;
  m_caret = SECEditLineCol(0, 0);
  if (m_hWnd != nullptr)
    SetCaretPos(0, 0, FALSE);
  else
    m_ptCaret = CPoint(GetGutterWidth(), 0);
}
