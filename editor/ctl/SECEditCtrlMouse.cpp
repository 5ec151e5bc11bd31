// The editor controller's mouse: clicks in the gutter and the text, Shift and Ctrl clicks, stream,
// whole-line and column (rubber band) selection by dragging, the auto-scroll timer, the cursor.
#include "editor/ctl/SECEditController.h"
#include "editor/model/SECEdit.h"
#include "editor/view/SECEditViewport.h"
#include "ole/COleDataObject.h"
#include "ole/COleDataSource.h"

namespace {

CPoint CursorInClient(HWND hwnd) {
  POINT pt{0, 0};
  ::GetCursorPos(&pt);
  ::ScreenToClient(hwnd, &pt);
  return CPoint(pt);
}

}  // namespace

BOOL SECEditController::IsPointInSelection(const SECEditLineCol& pos) {
  const int mode = m_selection.GetMode();
  if (!HasSelection() || mode == SECEDIT_SEL_COLUMN_DRAG) return FALSE;
  if (mode == SECEDIT_SEL_COLUMN) {
    int first = 0, last = 0;
    return GetColumnRange(pos.m_nLine, &first, &last) && pos.m_nCol >= first && pos.m_nCol < last;
  }
  int sl, sc, el, ec;
  if (!GetSelectionRange(sl, sc, el, ec, FALSE)) return FALSE;
  return SECEditLineCol(sl, sc) <= pos && pos < SECEditLineCol(el, ec);
}

void SECEditController::OnLButtonDown(UINT nFlags, CPoint point) {
  m_bHandled = TRUE;
  SECEdit* model = GetEditModel();
  SECEditViewport* viewport = GetViewport();
  if (model == nullptr || viewport == nullptr || m_hWnd == nullptr) return;
  if (::GetFocus() != m_hWnd) ::SetFocus(m_hWnd);
  const BOOL ctrl = (nFlags & MK_CONTROL) != 0, shift = (nFlags & MK_SHIFT) != 0;
  if (point.x < GetGutterWidth()) {
    ClearSelection(TRUE);
    if (ctrl) {
      SelectAll();
      EnableCaretScroll(FALSE);
      MoveDocumentEnd();
      EnableCaretScroll(TRUE);
      return;
    }
    CPoint logical = point;
    viewport->DPtoLP(static_cast<POINT*>(&logical), 1);
    const int lineHeight = std::max(1, LineHeight());
    const int line = std::clamp(logical.y / lineHeight, 0, std::max(0, model->GetLastLine()));
    SetCaretPos(line, 0, FALSE);
    EnsureCaretVisible();
    m_selection.SetEmpty(line, 0, SECEDIT_SEL_LINES);
    InvalidateSelection();
    m_bTrackingMouse = TRUE;
    m_nScrollTimer = ::SetTimer(m_hWnd, SECEDIT_SCROLL_TIMER, 100, nullptr);
    ::SetCapture(m_hWnd);
    return;
  }
  CPoint logical = point;
  viewport->DPtoLP(static_cast<POINT*>(&logical), 1);
  SECEditLineCol pos;
  PointToPosition(logical, pos, TRUE);
  if (!shift && HasSelection() && IsPointInSelection(pos)) {
    SetCaretPos(pos.m_nLine, pos.m_nCol, FALSE);
    StartDrag();
    return;
  }
  if (!shift) ClearSelection(TRUE);
  const SECEditLineCol before = m_caret;
  SetCaretFromPoint(point);
  EnsureCaretVisible();
  RememberCaretX();
  if (shift) {
    if (!HasSelection()) m_selection.SetEmpty(before.m_nLine, before.m_nCol, SECEDIT_SEL_STREAM);
    int first = 0, last = 0;
    m_selection.SetEnd(m_caret.m_nLine, m_caret.m_nCol, &first, &last);
    InvalidateLines(std::min(first, before.m_nLine), std::max(last, before.m_nLine));
    return;
  }
  if (ctrl) {
    SelectWord();
    return;
  }
  const int mode = ::GetKeyState(VK_MENU) < 0 ? SECEDIT_SEL_COLUMN_DRAG : SECEDIT_SEL_STREAM;
  m_selection.SetEmpty(m_caret.m_nLine, m_caret.m_nCol, mode);
  m_ptDragAnchor = m_ptDragCurrent = m_ptCaret;
  m_bTrackingMouse = TRUE;
  m_bSkipNextMove = TRUE;
  m_nScrollTimer = ::SetTimer(m_hWnd, SECEDIT_SCROLL_TIMER, 100, nullptr);
  ::SetCapture(m_hWnd);
}

void SECEditController::OnMouseMove(UINT, CPoint point) {
  if (!m_bTrackingMouse) return;
  m_bHandled = TRUE;
  if (m_bSkipNextMove) {
    m_bSkipNextMove = FALSE;
    return;
  }
  SetCaretFromPoint(point);
  EnsureCaretVisible();
  const int gutter = GetGutterWidth();
  if (m_selection.GetMode() == SECEDIT_SEL_LINES && point.x >= gutter) {
    m_selection.SetMode(SECEDIT_SEL_STREAM);
    ::SetCursor(::LoadCursor(nullptr, IDC_IBEAM));
  }
  int first = 0, last = 0;
  m_selection.SetEnd(m_caret.m_nLine, m_caret.m_nCol, &first, &last);
  if (m_selection.GetMode() == SECEDIT_SEL_COLUMN_DRAG) {
    SECEditViewport* viewport = GetViewport();
    CRect old;
    GetDragRect(&old);
    m_ptDragCurrent = CPoint(std::max(m_ptCaret.x, gutter), m_ptCaret.y);
    CRect now;
    GetDragRect(&now);
    viewport->LPtoDP(static_cast<RECT*>(&old));
    viewport->LPtoDP(static_cast<RECT*>(&now));
    CClientDC dc(m_pWnd);
    dc.InvertRect(&old);
    dc.InvertRect(&now);
    return;
  }
  InvalidateLines(first, last);
}

void SECEditController::EndMouseSelection(CPoint) {
  m_bTrackingMouse = FALSE;
  m_bSkipNextMove = FALSE;
  if (m_hWnd != nullptr && ::GetCapture() == m_hWnd) ::ReleaseCapture();
  if (m_nScrollTimer != 0 && m_hWnd != nullptr) ::KillTimer(m_hWnd, m_nScrollTimer);
  m_nScrollTimer = 0;
  switch (m_selection.GetMode()) {
    case SECEDIT_SEL_LINES:
      if (m_selection.GetStart() <= m_selection.GetEnd()) {
        m_caret.m_nCol = 0;
        UpdateCaretPoint();
        m_nRememberedX = m_ptCaret.x;
        MoveLineDown();
        EnsureCaretVisible();
      }
      break;
    case SECEDIT_SEL_COLUMN_DRAG: {
      m_selection.SetMode(SECEDIT_SEL_COLUMN);
      const SECEditLineCol s = m_selection.GetStart(), e = m_selection.GetEnd();
      SECEdit* model = GetEditModel();
      const int first = std::min(s.m_nLine, e.m_nLine), last = std::max(s.m_nLine, e.m_nLine);
      if (model == nullptr ||
          model->ConvertLineColumn(s.m_nCol, FALSE, s.m_nLine) == model->ConvertLineColumn(e.m_nCol, FALSE, e.m_nLine))
        m_selection.SetEmpty(e.m_nLine, e.m_nCol, SECEDIT_SEL_STREAM);
      InvalidateLines(first, last);
      break;
    }
    default:
      break;
  }
}

void SECEditController::OnLButtonUp(UINT, CPoint point) {
  if (!m_bTrackingMouse) return;
  m_bHandled = TRUE;
  EndMouseSelection(point);
}

void SECEditController::OnLButtonDblClk(UINT nFlags, CPoint point) {
  m_bHandled = TRUE;
  if (point.x >= GetGutterWidth())
    SelectWord();
  else if ((nFlags & MK_CONTROL) == 0)
    ClearSelection(TRUE);
}

BOOL SECEditController::OnSetCursor(CWnd*, UINT nHitTest, UINT) {
  SECEditViewport* viewport = GetViewport();
  if (nHitTest != HTCLIENT || viewport == nullptr || m_hWnd == nullptr) return FALSE;
  const CPoint point = CursorInClient(m_hWnd);
  if (point.x < GetGutterWidth()) {
    ::SetCursor(m_hGutterCursor != nullptr ? m_hGutterCursor : ::LoadCursor(nullptr, IDC_ARROW));
    m_bHandled = TRUE;
    return TRUE;
  }
  CPoint logical = point;
  viewport->DPtoLP(static_cast<POINT*>(&logical), 1);
  SECEditLineCol pos;
  PointToPosition(logical, pos, FALSE);
  if (IsPointInSelection(pos)) {
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    m_bHandled = TRUE;
    return TRUE;
  }
  return FALSE;
}

void SECEditController::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == 0 || nIDEvent != m_nScrollTimer || m_hWnd == nullptr) return;
  m_bHandled = TRUE;
  const CPoint point = CursorInClient(m_hWnd);
  ::PostMessage(m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)));
}

// ---- drag and drop ----

void SECEditController::StartDrag() {
  SECEdit* model = GetEditModel();
  if (model == nullptr) return;
  COleDataSource* source = CreateSelectionDataSource();
  DestroyEditCaret();
  if (source == nullptr) return;
  const SECEditLineCol caret = m_caret;
  model->m_pDragController = this;
  // A read-only text is offered for copying only.
  const DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_SCROLL | (IsReadOnly() ? 0 : DROPEFFECT_MOVE);
  const DROPEFFECT effect = source->DoDragDrop(allowed) & ~DROPEFFECT_SCROLL;
  source->InternalRelease();
  SECEditController* target = model->m_pDragController;
  if (effect & DROPEFFECT_MOVE) {
    if (target == this) {
      ReplaceSelection("", FALSE);  // the text went to another program
    } else if (target != nullptr) {
      m_caret = m_selection.GetMin();  // another view of this text took it and removed it here
      UpdateCaretPoint();
    }
  } else if (effect & DROPEFFECT_COPY) {
    if (target != nullptr) {
      m_caret = m_selection.GetEnd();
      UpdateCaretPoint();
    }
  } else {
    ClearSelection(TRUE);
    m_selection.SetEmpty(caret.m_nLine, caret.m_nCol, SECEDIT_SEL_STREAM);
    m_caret = caret;
    UpdateCaretPoint();
  }
  model->m_pDragController = nullptr;
  if (m_hWnd != nullptr && ::GetFocus() == m_hWnd) {
    CreateEditCaret(TRUE);
    SetCaretPos(m_caret.m_nLine, m_caret.m_nCol, FALSE);
  }
}

DROPEFFECT SECEditController::OnDragEnter(COleDataObject* pData, DWORD dwKeyState, CPoint point) {
  m_bDropAllowed = pData != nullptr && pData->IsDataAvailable(CF_TEXT) && !IsReadOnly();
  if (m_bDropAllowed) {
    CreateEditCaret(FALSE);
    SetCaretFromPoint(point);
    m_bDropCaretShown = TRUE;
  }
  return OnDragOver(pData, dwKeyState, point);
}

DROPEFFECT SECEditController::OnDragOver(COleDataObject*, DWORD dwKeyState, CPoint point) {
  if (!m_bDropAllowed) return DROPEFFECT_NONE;
  SetCaretFromPoint(point);
  SECEditController* source = GetEditModel() != nullptr ? GetEditModel()->m_pDragController : nullptr;
  if (source != nullptr && source->IsPointInSelection(m_caret)) {
    ShowSystemCaret(FALSE);
    if (source != this) return DROPEFFECT_NONE;
  } else {
    ShowSystemCaret(TRUE);
  }
  return (dwKeyState & MK_CONTROL) != 0 ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

void SECEditController::OnDragLeave() {
  if (m_bDropCaretShown) DestroyEditCaret();
  m_bDropCaretShown = FALSE;
  m_bDropAllowed = FALSE;
}

BOOL SECEditController::OnDrop(COleDataObject* pData, DROPEFFECT effect, CPoint point) {
  SECEdit* model = GetEditModel();
  if (pData == nullptr || model == nullptr) return FALSE;
  SetCaretFromPoint(point);
  OnDragLeave();
  SECEditController* source = model->m_pDragController;
  if (source != nullptr) {
    // Inside the dragged selection (not at its ends) nothing moves.
    SECEditLineColPair range;
    if (source->GetSelectionPair(range, FALSE) && source->IsPointInSelection(m_caret) && m_caret != range.m_start) {
      if (source == this) ClearSelection(TRUE);
      model->m_pDragController = nullptr;
      return TRUE;
    }
  }
  CString text;
  BOOL column = FALSE;
  if (!ReadDataObjectText(pData, text, column)) return FALSE;
  {
    GroupBracket group(this);
    FillVirtualSpace();
    // A move within this text removes the source first; the caret, not shown now, shifts with
    // the removal so that the drop lands where it was aimed.
    if (source != nullptr && (effect & DROPEFFECT_MOVE) != 0) source->DeleteSelection();
    ClearSelection(TRUE);
    const SECEditLineCol at = m_caret;
    if (column) {
      InsertColumnBlock(SECEditLineColPair(at, at), text);
    } else {
      InsertTextPaddedAtPos(SECEditLineColPair(at, at), text, -1);
      m_selection.Set(at.m_nLine, at.m_nCol, m_caret.m_nLine, m_caret.m_nCol, SECEDIT_SEL_STREAM);
      InvalidateSelection();
    }
    if (source != nullptr) model->m_pDragController = source != this ? this : nullptr;
  }
  if (m_hWnd != nullptr && ::GetFocus() == m_hWnd) {
    CreateEditCaret(TRUE);
    SetCaretPos(m_caret.m_nLine, m_caret.m_nCol, FALSE);
  }
  return TRUE;
}
