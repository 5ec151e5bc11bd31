// The application's editor controller: typing rules, comment commands, go to line, Clear All, the
// status text, the Edit menu as context menu, the key table and the entries of the code view.
#include "editor/app/GWExtController.h"

#include <algorithm>
#include <iterator>

#include "afx/CMenu.h"
#include "afx/CWinApp.h"
#include "afx/DataExchange.h"
#include "core/CArchive.h"
#include "core/CFile.h"
#include "editor/app/GWExtAppServices.h"
#include "editor/lang/ISECEditLangConfig.h"
#include "editor/model/SECEdit.h"
#include "editor/view/SECEditViewport.h"

IMPLEMENT_SERIAL(CGWExtCodeCompleteObj, CObject, 0)
IMPLEMENT_DYNAMIC(GWExtController, SECEditController)

// ---------------------------------------------------------------------------------------------
// The completion record

void CGWExtCodeCompleteObj::Serialize(CArchive& ar) { CObject::Serialize(ar); }

BOOL CGWExtCodeCompleteObj::SaveToFile(LPCTSTR path) {
  CFile file;
  if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) return FALSE;
  CWaitCursor wait;
  CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete, 4096);
  Serialize(ar);
  ar.Close();
  return TRUE;
}

BOOL CGWExtCodeCompleteObj::LoadFromFile(LPCTSTR path) {
  CFile file;
  if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) return FALSE;
  if (file.GetLength() == 0) return TRUE;
  CArchive ar(&file, CArchive::load, 4096);
  Serialize(ar);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The go-to-line dialog

BEGIN_MESSAGE_MAP(CGoToDlg, CDialog)
  ON_EN_CHANGE(IDC_GWEXT_GOTO_LINE, OnLineChanged)
END_MESSAGE_MAP()

BOOL CGoToDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(IDC_GWEXT_GOTO_LINE, "");
  if (CFont* font = GWExtGetAppServices()->GetFixedFont())
    if (CWnd* edit = GetDlgItem(IDC_GWEXT_GOTO_LINE)) edit->SetFont(font);
  OnLineChanged();
  return TRUE;
}

void CGoToDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_GWEXT_GOTO_LINE, m_nLine);
}

void CGoToDlg::OnLineChanged() {
  if (CWnd* ok = GetDlgItem(IDOK)) ok->EnableWindow(GetDlgItem(IDC_GWEXT_GOTO_LINE)->GetWindowTextLength() > 0);
}

// ---------------------------------------------------------------------------------------------
// The controller

// Select All stays the framework's 57642 (handled by the base): 45034 is Shift+Page Up.
BEGIN_MESSAGE_MAP(GWExtController, SECEditController)
  ON_WM_CONTEXTMENU()
  ON_COMMAND(45041, OnFindNext)
  ON_COMMAND(ID_GWEXT_GOTO_LINE, OnGoToLine)
  ON_WM_KEYDOWN()
  ON_WM_ERASEBKGND()
  ON_COMMAND(ID_GWEXT_CLEAR_ALL, OnClearAll)
  ON_UPDATE_COMMAND_UI(ID_GWEXT_CLEAR_ALL, OnUpdateNothing)
  ON_COMMAND(57632, OnClear)
  ON_UPDATE_COMMAND_UI(57632, OnUpdateNothing)
  ON_COMMAND(ID_GWEXT_COMMENT, OnCommentSelection)
  ON_UPDATE_COMMAND_UI(ID_GWEXT_COMMENT, OnUpdateNothing)
  ON_COMMAND(ID_GWEXT_UNCOMMENT, OnUncommentSelection)
  ON_UPDATE_COMMAND_UI(ID_GWEXT_UNCOMMENT, OnUpdateNothing)
  ON_UPDATE_COMMAND_UI(ID_GWEXT_LINECOL_PANE, OnUpdateLineColumn)
END_MESSAGE_MAP()

GWExtController::~GWExtController() {
  for (POSITION pos = m_completions.GetHeadPosition(); pos != nullptr;) delete m_completions.GetNext(pos);
  m_completions.RemoveAll();
}

BOOL GWExtController::ShowContextMenu(CMenu* menu, CMenu** popup) {
  return SECEditController::ShowContextMenu(menu, popup) > 0;
}

namespace {

// Lines after which a typed brace goes back by one indentation unit; each is compared over its own
// length only, as a prefix.
const char* const kControlWords[] = {"if", "while", "do", "for", "else if", "else", "switch", "case", "default"};

BOOL IsBlankChar(char c) { return c == ' ' || c == '\t'; }

// The Edit menu offered by a typed ".", while it is open: the editor window it was typed in and
// the menu (known once it is shown).
struct OfferedMenu {
  HWND editor = nullptr;
  HMENU menu = nullptr;
  MSG pending{};  // the key that closed the menu, for the text once the menu has gone
};
thread_local OfferedMenu t_offered;

bool AnyItemHighlighted(HMENU menu) {
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i)
    if (::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return true;
  return false;
}

// Whether a key pressed in the offered menu is the menu's: Up and Down choose an item, Escape
// closes the menu, Enter, Left and Right act on the item chosen, and the modifier keys type
// nothing on their own. Every other key belongs to the text, and so do Enter, Left and Right
// while no item is chosen.
bool KeyStaysWithMenu(WPARAM vk) {
  switch (vk) {
    case VK_UP:
    case VK_DOWN:
    case VK_ESCAPE:
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_LMENU:
    case VK_RMENU:
    case VK_CAPITAL:
    case VK_NUMLOCK: return true;
    case VK_RETURN:
    case VK_LEFT:
    case VK_RIGHT: return t_offered.menu != nullptr && AnyItemHighlighted(t_offered.menu);
    default: return false;
  }
}

// Watches the loop of the offered menu: a key of the text (or a character an input method sends)
// ends the menu before it can take the key as an item's letter; the key goes on to the editor as
// typed once the menu has gone, ahead of the keys typed after it.
LRESULT CALLBACK TypingMenuFilter(int code, WPARAM wParam, LPARAM lParam) {
  MSG* msg = reinterpret_cast<MSG*>(lParam);
  if (code == MSGF_MENU && msg != nullptr && ::IsWindow(t_offered.editor) && t_offered.pending.message == 0) {
    const bool textKey = msg->message == WM_KEYDOWN && !KeyStaysWithMenu(msg->wParam);
    const bool character = msg->message == WM_CHAR && msg->wParam >= 0x20;
    if (textKey || character) {
      t_offered.pending = *msg;
      ::EndMenu();
      return TRUE;
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void GWExtController::InsertTypedText(CString& text) {
  SECEditController::InsertTypedText(text);
  SECEdit* model = GetEditModel();
  if (!m_bFormatting || model == nullptr) return;
  const int line = m_caret.m_nLine;
  if (line > 0 && (text == "{" || text == "}")) {
    CString previous;
    model->GetText(&previous, line - 1, 0, line - 1, LineLength(line - 1));
    previous.Trim(" \t");
    bool align = false;
    if (text == "}") {
      align = previous.Left(1) == "{";
    } else {
      for (const char* word : kControlWords)
        if (previous.Left(static_cast<int>(std::strlen(word))) == word) align = true;
    }
    // Only indentation goes, and only when the brace just typed opens the line.
    CString current;
    model->GetText(&current, line, 0, line, LineLength(line));
    int firstNonBlank = 0;
    while (firstNonBlank < current.GetLength() && IsBlankChar(current[firstNonBlank])) ++firstNonBlank;
    if (align && firstNonBlank > 0 && firstNonBlank == m_caret.m_nCol - 1 && current[firstNonBlank] == text[0]) {
      model->DeleteText(line, 0, line, 1);
      ClearSelection(TRUE);
      MoveLineEnd();
    }
  }
  // A "." after at least one character of the line opens the Edit menu below the caret.
  if (text == "." && m_caret.m_nCol > 1) {
    CPoint point;
    PositionToPoint(point, m_caret);
    if (SECEditViewport* viewport = GetViewport()) viewport->LPtoDP(&point, 1);
    point.y += LineHeight();
    ::ClientToScreen(m_hWnd, &point);
    OfferEditMenu(point);
  }
}

void GWExtController::OfferEditMenu(CPoint screen) {
  HHOOK hook = ::SetWindowsHookEx(WH_MSGFILTER, TypingMenuFilter, nullptr, ::GetCurrentThreadId());
  t_offered = OfferedMenu();
  t_offered.editor = m_hWnd;
  ShowEditMenu(screen);
  const MSG pending = t_offered.pending;
  t_offered = OfferedMenu();
  if (hook != nullptr) ::UnhookWindowsHookEx(hook);
  if (pending.message != 0) ::PostMessage(m_hWnd, pending.message, pending.wParam, pending.lParam);
}

void GWExtController::ShowEditMenu(CPoint screen) {
  CMenu menu;
  if (!menu.LoadMenu(IDR_GWEXT_MAINMENU)) return;
  CMenu* edit = menu.GetSubMenu(GWEXT_EDIT_POPUP);
  if (edit == nullptr) return;
  // The top-level window owns the menu, so its commands take the frame's routing.
  HWND owner = m_hWnd;
  while (owner != nullptr && (::GetWindowLong(owner, GWL_STYLE) & WS_CHILD) && ::GetParent(owner) != nullptr)
    owner = ::GetParent(owner);
  if (t_offered.editor == m_hWnd) t_offered.menu = edit->GetSafeHmenu();
  edit->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, CWnd::FromHandle(owner));
  ShowSystemCaret(TRUE);
}

void GWExtController::OnContextMenu(CWnd*, CPoint point) {
  if (point.x == -1 && point.y == -1) {
    PositionToPoint(point, m_caret);
    if (SECEditViewport* viewport = GetViewport()) viewport->LPtoDP(&point, 1);
    point.y += LineHeight();
    ::ClientToScreen(m_hWnd, &point);
  }
  ShowEditMenu(point);
}

BOOL GWExtController::SearchStep(_SEC_FIND_REPLACE_STATE* state) { return FindNext(state); }

BOOL GWExtController::FindAndSelect(LPCTSTR text, BOOL bMatchCase, int) {
  _SEC_FIND_REPLACE_STATE* state = GetFindReplaceState();
  state->m_strFind = text != nullptr ? text : "";
  state->m_bCase = bMatchCase;
  state->m_bWord = FALSE;
  // The text is a declaration as written ("void Draw();"), not a pattern, whatever the user's
  // last search in the dialog was.
  state->m_bRegExp = FALSE;
  if (state->m_strFind.IsEmpty()) return FALSE;
  state->m_bNext = TRUE;
  m_strLastFound.Empty();
  m_bFoundBefore = FALSE;
  return SearchStep(state);
}

void GWExtController::OnFindNext() {
  _SEC_FIND_REPLACE_STATE* state = GetFindReplaceState();
  if (state->m_pDialog != nullptr) {
    ShowFindReplaceDialog(state->m_bFindOnly);
    return;
  }
  if (state->m_strFind.IsEmpty()) {
    int start = 0, end = 0;
    CString word;
    if (GetWordAtCaret(word, start, end)) state->m_strFind = word;
  }
  if (!state->m_strFind.IsEmpty()) SearchStep(state);
}

void GWExtController::InsertAtSavedPosition(LPCTSTR text) {
  SECEdit* model = GetEditModel();
  if (model != nullptr && text != nullptr && !IsReadOnly()) model->InsertTextAt(m_nInsertLine, m_nInsertCol, text, -1);
}

BOOL GWExtController::WholeLinesSelected(int* first, int* last) {
  if (!HasSelection()) return FALSE;
  const SECEditLineCol a = m_selection.GetMin(), b = m_selection.GetMax();
  *first = a.m_nLine;
  *last = b.m_nLine;
  if (m_selection.GetMode() == SECEDIT_SEL_LINES) return TRUE;
  if (m_selection.GetMode() != SECEDIT_SEL_STREAM || a.m_nLine == b.m_nLine) return FALSE;
  SetSelection(SECEditLineColPair(a.m_nLine, 0, b.m_nLine, 0), SECEDIT_SEL_LINES);
  return TRUE;
}

void GWExtController::CommentSelection() {
  SECEdit* model = GetEditModel();
  if (model == nullptr || IsReadOnly() || IsTrackingMouse()) return;
  GroupBracket group(this);
  int first = 0, last = 0;
  if (WholeLinesSelected(&first, &last)) {
    const int caretLine = m_caret.m_nLine;
    for (int line = first; line <= last; ++line)
      if (!model->IsLineBlank(line)) model->InsertTextAt(line, 0, "//", 2);
    SetSelection(SECEditLineColPair(first, 0, last, 0), SECEDIT_SEL_LINES);
    SetCaretPos(caretLine, 0, FALSE);
    return;
  }
  if (m_selection.GetMode() == SECEDIT_SEL_COLUMN && HasSelection() &&
      m_selection.GetMin().m_nLine != m_selection.GetMax().m_nLine) {
    for (int line = m_selection.GetMin().m_nLine; line <= m_selection.GetMax().m_nLine; ++line) {
      int left = 0, right = 0;
      if (GetColumnRange(line, &left, &right) && LineLength(line) >= left) model->InsertTextAt(line, left, "//", 2);
    }
    return;
  }
  FillVirtualSpace();
  model->InsertTextAt(m_caret.m_nLine, m_caret.m_nCol, "//", 2);
}

void GWExtController::UncommentSelection() {
  SECEdit* model = GetEditModel();
  if (model == nullptr || IsReadOnly() || IsTrackingMouse()) return;
  if (m_selection.GetMode() == SECEDIT_SEL_COLUMN && HasSelection()) return;
  GroupBracket group(this);
  int first = 0, last = 0;
  if (WholeLinesSelected(&first, &last)) {
    const int caretLine = m_caret.m_nLine;
    CString start;
    // Only a leading "//" goes: the inverse of adding it, so "/* ..." stays intact.
    for (int line = first; line <= last; ++line)
      if (model->GetText(&start, line, 0, line, std::min(2, LineLength(line))) && start == "//")
        model->DeleteText(line, 0, line, 2);
    SetSelection(SECEditLineColPair(first, 0, last, 0), SECEDIT_SEL_LINES);
    SetCaretPos(caretLine, 0, FALSE);
    return;
  }
  ClearSelection(TRUE);
  if (m_caret.m_nCol == 0) return;
  ISECEditLangConfig* config = GetLangConfig();
  const int tab = config != nullptr ? std::max(1, config->GetTabSize()) : 4;
  SetCaretPos(m_caret.m_nLine, (m_caret.m_nCol - 1) / tab * tab, FALSE);
  EnsureCaretVisible();
}

void GWExtController::GoToLine(int line) {
  SECEdit* model = GetEditModel();
  if (model == nullptr) return;
  const int target = std::clamp(line - 1, 0, std::max(0, model->GetLastLine()));
  SetTopLine(target);
  // The caret goes to the line's start, where the next key types: left where it was, it would
  // take the typing to a line out of sight and scroll the view back to it.
  ClearSelection(TRUE);
  SetCaretPos(target, 0, FALSE);
  RememberCaretX();
  ShowSystemCaret(TRUE);
}

void GWExtController::OnGoToLine() {
  CGoToDlg dialog;
  if (dialog.DoModal() == IDOK) GoToLine(dialog.m_nLine);
}

void GWExtController::ClearAll() {
  SelectAll();
  ReplaceSelection("", FALSE);
}

void GWExtController::OnClearAll() { ClearAll(); }
void GWExtController::OnClear() { ReplaceSelection("", FALSE); }
void GWExtController::OnCommentSelection() { CommentSelection(); }
void GWExtController::OnUncommentSelection() { UncommentSelection(); }
void GWExtController::OnUpdateNothing(CCmdUI*) {}
void GWExtController::OnUpdateLineColumn(CCmdUI* pCmdUI) { pCmdUI->SetText(GetLineColText()); }
BOOL GWExtController::OnEraseBkgnd(CDC*) { return TRUE; }

void GWExtController::OnKeyDown(UINT nChar, UINT, UINT) {
  // Commands by modifier: plain, Shift, Ctrl, Ctrl+Shift.
  struct Key {
    UINT vk;
    UINT commands[4];
  };
  static const Key kKeys[] = {
      {VK_BACK, {45010, 45010, 45004, 45004}},    {VK_TAB, {45009, 45049, 45009, 45049}},
      {VK_RETURN, {45011, 45011, 45011, 45011}},  {VK_ESCAPE, {45051, 45051, 45051, 45051}},
      {VK_PRIOR, {45032, 45034, 45032, 45034}},   {VK_NEXT, {45033, 45035, 45033, 45035}},
      {VK_END, {45037, 45040, 45017, 45015}},     {VK_HOME, {45036, 45038, 45018, 45016}},
      {VK_LEFT, {45026, 45030, 45007, 45006}},    {VK_UP, {45024, 45028, 45053, 45028}},
      {VK_RIGHT, {45027, 45031, 45008, 45014}},   {VK_DOWN, {45025, 45029, 45052, 45029}},
      {VK_INSERT, {45023, 57637, 57634, 57634}},  {VK_DELETE, {45013, 57635, 45012, 57635}},
      {VK_F3, {45041, 45043, 45042, 45044}},
  };
  const bool shift = ::GetKeyState(VK_SHIFT) < 0;
  const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
  const auto* key = std::find_if(std::begin(kKeys), std::end(kKeys), [&](const Key& k) { return k.vk == nChar; });
  if (key != std::end(kKeys)) ::SendMessage(m_hWnd, WM_COMMAND, key->commands[(ctrl ? 2 : 0) + (shift ? 1 : 0)], 0);
  Default();
}
