// The editor controller's core: construction, the key map and message routing, focus and input
// method, the caret-positioning primitives, the reaction to model notifications, and words.
#include <vector>

#include "afx/CSplitterWnd.h"
#include "win/Imm.h"
#include "editor/ctl/SECEditFontSizeDlg.h"
#include "editor/ctl/SECEditController.h"
#include "editor/model/SECEdit.h"
#include "editor/view/SECEditViewport.h"

using kelpwood::foundation::CMvcVisualComponent;
using kelpwood::foundation::IMessage;
using kelpwood::foundation::ISubject;
using kelpwood::foundation::MvcController;
using kelpwood::foundation::SECWndPlugIn;

IMPLEMENT_DYNAMIC(SECEditController, SECWndPlugIn)

BEGIN_MESSAGE_MAP(SECEditController, SECWndPlugIn)
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_SETCURSOR()
  ON_WM_TIMER()
  ON_WM_CHAR()
  ON_MESSAGE(WM_IME_STARTCOMPOSITION, OnImeStartComposition)
  ON_MESSAGE(WM_IME_ENDCOMPOSITION, OnImeEndComposition)
  ON_MESSAGE(WM_IME_CHAR, OnImeChar)
  // Editing keys.
  ON_COMMAND_RANGE(45004, 45004, OnEditKey)
  ON_COMMAND_RANGE(45009, 45013, OnEditKey)
  ON_COMMAND_RANGE(45045, 45049, OnEditKey)
  ON_COMMAND(45003, OnSelectWordCmd)
  // Movement keys, Esc and the scroll keys.
  ON_COMMAND_RANGE(45006, 45008, OnMoveKey)
  ON_COMMAND_RANGE(45014, 45018, OnMoveKey)
  ON_COMMAND_RANGE(45024, 45038, OnMoveKey)
  ON_COMMAND_RANGE(45040, 45040, OnMoveKey)
  ON_COMMAND_RANGE(45051, 45053, OnMoveKey)
  ON_COMMAND(57642, OnSelectAllCmd)
  ON_COMMAND(45022, OnEditFontSize)
  ON_UPDATE_COMMAND_UI(ID_SECEDIT_LINECOL, OnUpdateLineCol)
  // Clipboard, undo and their enabling.
  ON_COMMAND(57634, OnEditCopy)
  ON_COMMAND(57635, OnEditCut)
  ON_COMMAND(57637, OnEditPaste)
  ON_COMMAND(57643, OnEditUndo)
  ON_COMMAND(57644, OnEditRedo)
  ON_UPDATE_COMMAND_UI(57634, OnUpdateEditCopy)
  ON_UPDATE_COMMAND_UI(57635, OnUpdateEditCut)
  ON_UPDATE_COMMAND_UI(57637, OnUpdateEditPaste)
  ON_UPDATE_COMMAND_UI(57643, OnUpdateEditUndo)
  ON_UPDATE_COMMAND_UI(57644, OnUpdateEditRedo)
  // Find and replace.
  ON_COMMAND(57636, OnEditFind)
  ON_COMMAND(57641, OnEditReplace)
  ON_COMMAND(45041, FindNextCommand)
  ON_COMMAND(45042, FindWordNextCommand)
  ON_COMMAND(45043, FindPreviousCommand)
  ON_COMMAND(45044, FindWordPreviousCommand)
  // Line marks (the highlighted line's command comes before the toggle range it lies in).
  ON_COMMAND(45270, OnToggleLineMarker)
  ON_COMMAND_RANGE(ID_SECEDIT_MARK_TOGGLE, ID_SECEDIT_MARK_NEXT - 1, ToggleBookmark)
  ON_COMMAND_RANGE(ID_SECEDIT_MARK_NEXT, ID_SECEDIT_MARK_PREVIOUS - 1, NextBookmark)
  ON_COMMAND_RANGE(ID_SECEDIT_MARK_PREVIOUS, ID_SECEDIT_MARK_CLEAR - 1, PreviousBookmark)
  ON_COMMAND_RANGE(ID_SECEDIT_MARK_CLEAR, ID_SECEDIT_MARK_CLEAR + 32, ClearBookmarks)
  ON_UPDATE_COMMAND_UI_RANGE(ID_SECEDIT_MARK_TOGGLE, ID_SECEDIT_MARK_NEXT - 1, OnUpdateToggleBookmark)
  ON_UPDATE_COMMAND_UI_RANGE(ID_SECEDIT_MARK_NEXT, ID_SECEDIT_MARK_CLEAR + 32, OnUpdateMarkedLines)
  ON_COMMAND(ID_SECEDIT_LINE_NOTICE, OnCurrentLineNotice)
  ON_WM_CONTEXTMENU()
  // Overwrite mode and visible whitespace.
  ON_COMMAND(45023, ToggleOverwrite)
  ON_UPDATE_COMMAND_UI(59140, OnUpdateOverwrite)
  ON_COMMAND(45039, ToggleWhitespace)
  ON_UPDATE_COMMAND_UI(45039, OnUpdateWhitespace)
END_MESSAGE_MAP()

SECEditController::SECEditController() {
  // The model's font command runs the font and colour dialog.
  static const bool dialogInstalled = (kelpwood::editor::SetFontDialogRunner(&SECEditFontSizeDlg::Run), true);
  (void)dialogInstalled;
  HINSTANCE instance = AfxGetResourceHandle();
  m_hGutterCursor = ::LoadCursor(instance, MAKEINTRESOURCE(IDC_SECEDIT_GUTTER));
  m_hAccel = ::LoadAccelerators(instance, MAKEINTRESOURCE(IDR_SECEDIT_ACCEL));
  SetGutterStyle(SECEDIT_GUTTER_MARKS);
  SetLineNumberMarginWidth(-1);
  SetLineNumberDigits(-1);
  m_pFontInfo = std::make_unique<SECEditFontInfo>();
  m_pFontInfo->m_strFaceName = "Ariel";
  m_pFontInfo->m_nLineHeight = 12;
  m_pFontInfo->m_nFontWidth = 8;
  CreateFonts();
}

SECEditController::~SECEditController() {
  CloseOwnFindDialog();
  if (m_nScrollTimer != 0 && ::IsWindow(m_hWnd)) ::KillTimer(m_hWnd, m_nScrollTimer);
  if (m_hAccel != nullptr) ::DestroyAcceleratorTable(m_hAccel);
}

// ---- routing ----

BOOL SECEditController::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  return MvcController::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL SECEditController::PreTranslateMessage(MSG* pMsg) {
  if (m_hAccel != nullptr && m_hWnd != nullptr && pMsg->message >= WM_KEYDOWN && pMsg->message <= WM_SYSDEADCHAR &&
      ::TranslateAccelerator(m_hWnd, m_hAccel, pMsg))
    return TRUE;
  return CWnd::PreTranslateMessage(pMsg);
}

BOOL SECEditController::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_TIMER:
      if (MvcController::OnWndMsg(message, wParam, lParam, pResult)) return TRUE;
      return SECWndPlugIn::OnWndMsg(message, wParam, lParam, pResult);
    case WM_IME_CHAR:
      // Outside a composition the default processing types the character as WM_CHAR.
      if (!m_bImeComposing) return FALSE;
      return SECWndPlugIn::OnWndMsg(message, wParam, lParam, pResult);
    default:
      return MvcController::OnWndMsg(message, wParam, lParam, pResult);
  }
}

BOOL SECEditController::Initialize(CWnd* pWnd, CMvcVisualComponent* pVisual) {
  m_selection.Reset();
  return MvcController::Initialize(pWnd, pVisual);
}

// ---- simple operations ----

SECEdit* SECEditController::GetEditModel() { return static_cast<SECEdit*>(GetModel()); }

SECEditViewport* SECEditController::GetViewport() { return dynamic_cast<SECEditViewport*>(GetVisual()); }

ISECEditLangConfig* SECEditController::GetLangConfig() {
  SECEdit* model = GetEditModel();
  return model != nullptr ? model->GetLangConfig() : nullptr;
}

CFont* SECEditController::GetViewFont() {
  SECEditViewport* viewport = GetViewport();
  SECEditFontInfo* info = viewport != nullptr ? viewport->GetFontInfo() : nullptr;
  return info != nullptr && !info->m_fonts.empty() ? info->m_fonts.front() : nullptr;
}

BOOL SECEditController::IsReadOnly() {
  SECEdit* model = GetEditModel();
  return model != nullptr && model->GetReservedState() != 0;
}

BOOL SECEditController::CanReplaceInSelection() { return HasSelection() && !IsTrackingMouse(); }

int SECEditController::LineLength(int line) {
  SECEdit* model = GetEditModel();
  if (model == nullptr) return 0;
  return std::max(0, model->GetLineLength(line));
}

CString SECEditController::LineTerminator() {
  SECEdit* model = GetEditModel();
  return model != nullptr ? model->GetBreakText() : CString("\r\n");
}

int SECEditController::LineHeight() {
  SECEditViewport* viewport = GetViewport();
  return viewport != nullptr ? viewport->GetLineHeight() : 0;
}

int SECEditController::CharWidth() {
  SECEditViewport* viewport = GetViewport();
  return viewport != nullptr ? viewport->GetCharWidth() : 0;
}

SECEditController::GroupBracket::GroupBracket(SECEditController* ctl) : m_pModel(ctl->GetEditModel()) {
  m_bOpened = m_pModel != nullptr && !m_pModel->IsGroupOpen();
  if (m_bOpened) m_pModel->GroupCommands(TRUE);
}

SECEditController::GroupBracket::~GroupBracket() {
  if (m_bOpened) m_pModel->GroupCommands(FALSE);
}

// ---- selection as the viewport sees it ----

BOOL SECEditSelection::SetEnd(int line, int col, int* firstLine, int* lastLine) {
  const SECEditLineCol old = m_end;
  m_end = SECEditLineCol(line, col);
  if (firstLine != nullptr && lastLine != nullptr) {
    *firstLine = std::min(old.m_nLine, line);
    *lastLine = std::max(old.m_nLine, line);
  }
  return old != m_end;
}

BOOL SECEditController::IsColumnSelection() {
  const int mode = m_selection.GetMode();
  return (mode == SECEDIT_SEL_COLUMN || mode == SECEDIT_SEL_COLUMN_DRAG) && m_selection.GetStart() != m_selection.GetEnd();
}

BOOL SECEditController::HasSelection() {
  SECEdit* model = GetEditModel();
  if (m_selection.GetMode() == SECEDIT_SEL_LINES && m_selection.GetStart() == m_selection.GetEnd() && model != nullptr &&
      m_selection.GetStart().m_nLine >= model->GetLastLine())
    return LineLength(model->GetLastLine()) > 0;
  return m_selection.HasSelection();
}

BOOL SECEditController::GetSelectionRange(int& startLine, int& startCol, int& endLine, int& endCol, BOOL bRaw) {
  SECEdit* model = GetEditModel();
  if (model == nullptr || !HasSelection()) return FALSE;
  const SECEditLineCol a = m_selection.GetMin(), b = m_selection.GetMax();
  startLine = a.m_nLine;
  startCol = a.m_nCol;
  endLine = b.m_nLine;
  endCol = b.m_nCol;
  const int mode = m_selection.GetMode();
  if (mode == SECEDIT_SEL_COLUMN || mode == SECEDIT_SEL_COLUMN_DRAG) return TRUE;
  if (mode == SECEDIT_SEL_LINES) {
    startCol = 0;
    if (endLine < model->GetLastLine()) {
      ++endLine;
      endCol = 0;
    } else {
      endLine = model->GetLastLine();
      endCol = LineLength(endLine);
    }
  }
  if (IsVirtualSpaceAllowed() && !IsColumnSelection() && !bRaw) {
    startCol = std::min(startCol, LineLength(startLine));
    endCol = std::min(endCol, LineLength(endLine));
  }
  return TRUE;
}

BOOL SECEditController::GetSelectionPair(SECEditLineColPair& pair, BOOL bRaw) {
  return GetSelectionRange(pair.m_start.m_nLine, pair.m_start.m_nCol, pair.m_end.m_nLine, pair.m_end.m_nCol, bRaw);
}

BOOL SECEditController::ClearSelection(BOOL bRedraw) {
  int sl, sc, el, ec;
  if (!GetSelectionRange(sl, sc, el, ec, TRUE)) return FALSE;
  const SECEditLineCol end = m_selection.GetEnd();
  m_selection.SetEmpty(end.m_nLine, end.m_nCol, SECEDIT_SEL_STREAM);
  if (bRedraw) InvalidateLines(sl, el);
  return TRUE;
}

// ---- focus and input method ----

void SECEditController::OnSetFocus(CWnd*) {
  CreateEditCaret(TRUE);
  SetCaretPos(m_caret.m_nLine, m_caret.m_nCol, FALSE);
  m_bSplitFocus = FALSE;
  if (!IsSelectionKeptActive()) InvalidateSelection();
}

void SECEditController::OnKillFocus(CWnd* pNewWnd) {
  if (m_hWnd != nullptr && (::GetCapture() == m_hWnd || m_bTrackingMouse)) EndMouseSelection(CPoint(0, 0));
  DestroyEditCaret();
  CWnd* parent = m_pWnd != nullptr ? m_pWnd->GetParent() : nullptr;
  if (pNewWnd != nullptr && parent != nullptr && pNewWnd->GetSafeHwnd() == parent->GetSafeHwnd() &&
      parent->IsKindOf(RUNTIME_CLASS(CSplitterWnd)))
    m_bSplitFocus = TRUE;
  if (!IsSelectionKeptActive()) InvalidateSelection();
}

LRESULT SECEditController::OnImeStartComposition(WPARAM wParam, LPARAM lParam) {
  m_bImeComposing = TRUE;
  m_strImeText.Empty();
  DestroyEditCaret();
  if (HIMC context = ::ImmGetContext(m_hWnd); context != nullptr) {
    EnsureCaretVisible();
    SECEditViewport* viewport = GetViewport();
    if (viewport != nullptr) {
      COMPOSITIONFORM form{};
      form.dwStyle = CFS_RECT;
      CPoint pt = m_ptCaret;
      viewport->LPtoDP(static_cast<POINT*>(&pt), 1);
      form.ptCurrentPos = pt;
      CRect visible = viewport->GetVisibleLogRect();
      viewport->LPtoDP(static_cast<RECT*>(&visible));
      form.rcArea = visible;
      ::ImmSetCompositionWindow(context, &form);
      if (CFont* font = GetViewFont(); font != nullptr) {
        LOGFONT lf{};
        font->GetLogFont(&lf);
        ::ImmSetCompositionFont(context, &lf);
      }
    }
    ::ImmReleaseContext(m_hWnd, context);
  }
  m_bHandled = TRUE;
  m_bCallDefault = TRUE;
  return DefWindowProc(WM_IME_STARTCOMPOSITION, wParam, lParam);
}

LRESULT SECEditController::OnImeChar(WPARAM wParam, LPARAM) {
  if (wParam > 0xFF) m_strImeText += static_cast<char>((wParam >> 8) & 0xFF);
  m_strImeText += static_cast<char>(wParam & 0xFF);
  m_bHandled = TRUE;
  return 0;
}

void SECEditController::InsertComposition() {
  m_bImeComposing = FALSE;
  CString text = m_strImeText;
  m_strImeText.Empty();
  SECEdit* model = GetEditModel();
  if (model == nullptr || text.IsEmpty() || IsReadOnly() || IsTrackingMouse()) return;
  if (model->m_bOverwrite) {
    // Each character replaces one, as typing does.
    for (int i = 0; i < text.GetLength();) {
      const int n = ::IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.GetLength() ? 2 : 1;
      CString one = text.Mid(i, n);
      InsertTypedText(one);
      i += n;
    }
    return;
  }
  model->GroupCommands(FALSE);
  GroupBracket group(this);
  if (m_caret.m_nCol > LineLength(m_caret.m_nLine)) FillVirtualSpace();
  ReplaceSelection(text, FALSE);
  m_pLastTypingCommand = nullptr;
}

LRESULT SECEditController::OnImeEndComposition(WPARAM wParam, LPARAM lParam) {
  InsertComposition();
  CreateEditCaret(TRUE);
  m_bHandled = TRUE;
  m_bCallDefault = TRUE;
  return DefWindowProc(WM_IME_ENDCOMPOSITION, wParam, lParam);
}

// ---- caret positioning ----

void SECEditController::SetCaretPos(int line, int col, BOOL bAllowVirtual) {
  SECEdit* model = GetEditModel();
  if (model == nullptr) return;
  line = std::clamp(line, 0, std::max(0, model->GetLastLine()));
  col = std::max(0, col);
  if (!IsVirtualSpaceAllowed() && !bAllowVirtual) col = std::min(col, LineLength(line));
  m_caret = SECEditLineCol(line, col);
  m_bPositioningVirtual = bAllowVirtual;
  UpdateCaretPoint();
  m_bPositioningVirtual = FALSE;
  UpdateCaretState();
}

void SECEditController::SetCaretFromPoint(CPoint point) {
  SECEditViewport* viewport = GetViewport();
  if (viewport == nullptr) return;
  viewport->DPtoLP(static_cast<POINT*>(&point), 1);
  SECEditLineCol pos;
  PointToPosition(point, pos, TRUE);
  SetCaretPos(pos.m_nLine, pos.m_nCol, TRUE);
}

void SECEditController::UpdateCaretState() {
  m_bBeyondLineEnd = m_caret.m_nCol > LineLength(m_caret.m_nLine);
  SECEditViewport* viewport = GetViewport();
  if (!m_bCaretCreated || viewport == nullptr || m_hWnd == nullptr) return;
  CPoint pt = m_ptCaret;
  viewport->LPtoDP(static_cast<POINT*>(&pt), 1);
  const int gutter = GetGutterWidth();
  if (pt.x != gutter) --pt.x;
  if (pt.x < gutter && !m_bCaretHidden) {
    ::HideCaret(m_hWnd);
    m_bCaretHidden = TRUE;
  } else if (pt.x >= gutter && m_bCaretHidden) {
    ::ShowCaret(m_hWnd);
    m_bCaretHidden = FALSE;
  }
  ::SetCaretPos(pt.x, pt.y);
  if (m_caret.m_nLine != m_nLastNoticedLine && !m_bLineNoticeBusy)
    ::PostMessage(m_hWnd, WM_COMMAND, ID_SECEDIT_LINE_NOTICE, 0);
}

BOOL SECEditController::AdjustCaretForCommand(SECEditCommand* cmd) {
  const SECEditLineCol old = m_caret;
  const SECEditLineColPair range = cmd->Normalized();
  const BOOL inserted = !cmd->LastActionDeleted();
  if (m_bCaretCreated)
    m_caret = inserted ? range.m_end : range.m_start;
  else
    m_caret.Adjust(range, inserted);
  if (m_caret == old) return FALSE;
  UpdateCaretPoint();
  RememberCaretX();
  return TRUE;
}

void SECEditController::OnUpdate(ISubject*, IMessage* msg) {
  if (msg == nullptr) return;
  SECEditViewport* viewport = GetViewport();
  switch (msg->GetTypeID()) {
    case SECEDIT_MSG_FONT:
    case SECEDIT_MSG_LANGUAGE: {
      if (viewport == nullptr) return;
      CPoint top = viewport->GetVisibleLogRect().TopLeft();
      SECEditLineCol pos;
      PointToPosition(top, pos, TRUE);
      viewport->SetLogOrigin(top.x, top.y);
      viewport->UpdateScrollBars();
      UpdateCaretPoint();
      UpdateCaretState();
      break;
    }
    case SECEDIT_MSG_INIT_CONTROLLER:
      ResetState();
      break;
    case SECEDIT_MSG_REPLACE_SET: {
      // The caret goes to the first replacement, where the text changed first.
      SECEdit* model = GetEditModel();
      int line = 0, col = 0;
      if (model != nullptr && model->GetBuffer() != nullptr)
        model->GetBuffer()->OffsetToLineCol(static_cast<SECEditReplaceCommand*>(msg)->GetFirstOffset(), &line, &col);
      m_selection.SetEmpty(line, col, SECEDIT_SEL_STREAM);
      m_caret = SECEditLineCol(line, col);
      UpdateCaretPoint();
      if (m_bCaretCreated) EnsureCaretVisible();
      break;
    }
    case SECEDIT_MSG_COMMAND: {
      auto* cmd = static_cast<SECEditCommand*>(msg);
      AdjustCaretForCommand(cmd);
      if (m_selection.HasSelection())
        m_selection.Adjust(cmd->Normalized(), !cmd->LastActionDeleted());
      if (m_bCaretCreated) {
        ClearSelection(TRUE);
        EnsureCaretVisible();
      }
      break;
    }
    default:
      break;
  }
}

// ---- status text ----

CString SECEditController::GetLineColText() {
  CString text;
  text.Format("Ln %d, Col %d", m_caret.m_nLine + m_nPositionBase, m_caret.m_nCol + m_nPositionBase);
  return text;
}

void SECEditController::OnUpdateLineCol(CCmdUI* pCmdUI) {
  pCmdUI->Enable(TRUE);
  pCmdUI->SetText(GetLineColText());
}

// ---- words ----

int SECEditController::CharClass(LPCTSTR p, BOOL bThree) {
  const BYTE c = static_cast<BYTE>(*p);
  if (c == ' ' || c == '\t') return bThree ? 0 : 1;
  UINT code = c;
  if (::IsDBCSLeadByte(c) && p[1] != '\0') code = (static_cast<UINT>(c) << 8) | static_cast<BYTE>(p[1]);
  ISECEditLangConfig* cfg = GetLangConfig();
  if (cfg != nullptr && cfg->IsInCharSet(code, 3)) return 1;
  return 2;
}

namespace {

// The column where each character of a line starts, and the line's length after it.
std::vector<int> CharStarts(LPCTSTR text, int len) {
  std::vector<int> starts;
  starts.reserve(static_cast<size_t>(len) + 1);
  for (int i = 0; i < len;) {
    starts.push_back(i);
    i += (::IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < len) ? 2 : 1;
  }
  starts.push_back(len);
  return starts;
}

// The index of the character that starts at col, or of the one that contains it.
size_t CharIndex(const std::vector<int>& starts, int col) {
  size_t i = static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), col) - starts.begin());
  return i == 0 ? 0 : i - 1;
}

}  // namespace

int SECEditController::CharStart(LPCTSTR text, int len, int col) {
  if (col <= 0) return 0;
  if (col >= len) return len;
  const std::vector<int> starts = CharStarts(text, len);
  return starts[CharIndex(starts, col)];
}

BOOL SECEditController::FindWordBoundary(CString& word, int line, int col, BOOL bForward, int& outLine, int& outCol) {
  if (line == -1) line = m_caret.m_nLine;
  if (col == -1) col = m_caret.m_nCol;
  word.Empty();
  SECEdit* model = GetEditModel();
  if (model == nullptr || !model->IsValidPosition(line, col, FALSE)) return FALSE;
  CString buf;
  LPTSTR text = nullptr;
  const int len = model->GetLine(line, &buf, &text);
  if (len < 0) return FALSE;
  col = model->SnapColumn(line, col, FALSE);
  outLine = line;
  outCol = col;
  const std::vector<int> starts = CharStarts(text, len);
  if (bForward) {
    if (col >= len) {
      if (line < model->GetLastLine()) {
        outLine = line + 1;
        outCol = 0;
        word = LineTerminator();
      }
      return TRUE;
    }
    size_t i = CharIndex(starts, col);
    const int cls = CharClass(text + starts[i], TRUE);
    while (i + 1 < starts.size() && CharClass(text + starts[i], TRUE) == cls) ++i;
    outCol = starts[i];
  } else {
    if (col == 0) {
      if (line > 0) {
        outLine = line - 1;
        outCol = LineLength(line - 1);
        word = LineTerminator();
      }
      return TRUE;
    }
    size_t i = CharIndex(starts, col - 1);
    const int cls = CharClass(text + starts[i], TRUE);
    while (i > 0 && CharClass(text + starts[i - 1], TRUE) == cls) --i;
    outCol = starts[i];
  }
  const int a = std::min(col, outCol), b = std::max(col, outCol);
  word = CString(text + a, b - a);
  return TRUE;
}

BOOL SECEditController::FindWordBoundaryBackward(CString& word, int& outLine, int& outCol) {
  return FindWordBoundary(word, -1, -1, FALSE, outLine, outCol);
}

BOOL SECEditController::FindWordBoundaryForward(CString& word, int& outLine, int& outCol) {
  return FindWordBoundary(word, -1, -1, TRUE, outLine, outCol);
}

BOOL SECEditController::GetWordAt(CString& word, int line, int col, int& start, int& end) {
  if (line == -1) line = m_caret.m_nLine;
  if (col == -1) col = m_caret.m_nCol;
  word.Empty();
  SECEdit* model = GetEditModel();
  if (model == nullptr) return FALSE;
  CString buf;
  LPTSTR text = nullptr;
  const int len = model->GetLine(line, &buf, &text);
  if (len <= 0) return FALSE;
  col = std::clamp(col, 0, len);
  const std::vector<int> starts = CharStarts(text, len);
  col = starts[CharIndex(starts, col)];
  // The run before the position and the run after it, by the three classes.
  int beforeStart = col, afterEnd = col;
  const bool hasBefore = col > 0, hasAfter = col < len;
  if (hasBefore) {
    size_t i = CharIndex(starts, col - 1);
    const int cls = CharClass(text + starts[i], TRUE);
    while (i > 0 && CharClass(text + starts[i - 1], TRUE) == cls) --i;
    beforeStart = starts[i];
  }
  if (hasAfter) {
    size_t i = CharIndex(starts, col);
    const int cls = CharClass(text + starts[i], TRUE);
    while (i + 1 < starts.size() && CharClass(text + starts[i], TRUE) == cls) ++i;
    afterEnd = starts[i];
  }
  const bool blankBefore = !hasBefore || CharClass(text + beforeStart, TRUE) == 0;
  const bool blankAfter = !hasAfter || CharClass(text + col, TRUE) == 0;
  if (blankBefore) {
    if (blankAfter) return FALSE;
    start = col;
    end = afterEnd;
  } else if (blankAfter) {
    start = beforeStart;
    end = col;
  } else {
    // A delimiter run gives way to a word run; two word runs are one word; between two
    // delimiter runs the one after the position wins.
    const bool wordBefore = CharClass(text + beforeStart, FALSE) == 2;
    const bool wordAfter = CharClass(text + col, FALSE) == 2;
    if (wordBefore && wordAfter) {
      start = beforeStart;
      end = afterEnd;
    } else if (wordBefore) {
      start = beforeStart;
      end = col;
    } else {
      start = col;
      end = afterEnd;
    }
  }
  word = CString(text + start, end - start);
  return !word.IsEmpty();
}

BOOL SECEditController::GetWordAtCaret(CString& word, int& start, int& end) {
  return GetWordAt(word, m_caret.m_nLine, m_caret.m_nCol, start, end);
}

void SECEditController::SelectWord() {
  CString word;
  int start = 0, end = 0;
  if (!GetWordAtCaret(word, start, end) || start == end) return;
  const int line = m_caret.m_nLine;
  ClearSelection(TRUE);
  m_selection.Set(line, start, line, end, SECEDIT_SEL_STREAM);
  SetCaretPos(line, end, FALSE);
  InvalidateSelection();
}

void SECEditController::OnSelectWordCmd() { SelectWord(); }
