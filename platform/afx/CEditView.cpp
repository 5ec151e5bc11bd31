// CEditView: the edit control as a view, its commands and their states, find and replace with the
// Find and Replace dialogs, and reading and writing its text.
#include "afx/CEditView.h"

#include <algorithm>
#include <vector>

#include "afx/CFindReplaceDialog.h"
#include "afx/CFrameWnd.h"
#include "core/CArchive.h"

IMPLEMENT_DYNCREATE(CEditView, CView)

namespace {

const UINT kFindMessage = ::RegisterWindowMessage(FINDMSGSTRING);

// What the last search was, shared by the edit views of a thread as the one dialog is.
struct SearchState {
  HWND dialog = nullptr;  // a handle, since the dialog may go with its owner before the view hears of it
  BOOL findOnly = TRUE;
  CString find, replace;
  BOOL matchCase = FALSE;
  BOOL down = TRUE;
};

SearchState& Search() {
  thread_local SearchState state;
  return state;
}

// The open dialog, null when there is none (any more).
CFindReplaceDialog* OpenDialog() {
  CWnd* wnd = CWnd::FromHandlePermanent(Search().dialog);
  return wnd != nullptr && wnd->IsKindOf(RUNTIME_CLASS(CFindReplaceDialog)) ? static_cast<CFindReplaceDialog*>(wnd) : nullptr;
}

// The byte offset of the first (last, when backwards) match in [from, to); -1 when none.
int FindIn(const CString& text, const CString& what, BOOL bCase, int from, int to, bool backwards) {
  int n = what.GetLength();
  if (n == 0) return -1;
  CString hay = text, needle = what;
  if (!bCase) {
    hay.MakeUpper();
    needle.MakeUpper();
  }
  int found = -1;
  for (int at = hay.Find(needle, std::max(from, 0)); at >= 0 && at + n <= to; at = hay.Find(needle, at + 1)) {
    found = at;
    if (!backwards) break;
  }
  return found;
}

}  // namespace

const DWORD CEditView::dwStyleDefault =
    AFX_WS_DEFAULT_VIEW | WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_MULTILINE | ES_NOHIDESEL;

BEGIN_MESSAGE_MAP(CEditView, CView)
  ON_WM_CREATE()
  ON_WM_PAINT()
  ON_WM_DESTROY()
  ON_CONTROL_REFLECT_EX(EN_CHANGE, OnEditChange)
  ON_COMMAND(ID_EDIT_CUT, OnEditCut)
  ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
  ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
  ON_COMMAND(ID_EDIT_CLEAR, OnEditClear)
  ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
  ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
  ON_COMMAND(ID_EDIT_FIND, OnEditFind)
  ON_COMMAND(ID_EDIT_REPLACE, OnEditReplace)
  ON_COMMAND(ID_EDIT_REPEAT, OnEditRepeat)
  ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateNeedSel)
  ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateNeedSel)
  ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR, OnUpdateNeedSel)
  ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateNeedClip)
  ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateNeedText)
  ON_UPDATE_COMMAND_UI(ID_EDIT_FIND, OnUpdateNeedText)
  ON_UPDATE_COMMAND_UI(ID_EDIT_REPLACE, OnUpdateNeedText)
  ON_UPDATE_COMMAND_UI(ID_EDIT_REPEAT, OnUpdateNeedFind)
  ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
  ON_REGISTERED_MESSAGE(kFindMessage, OnFindReplaceCmd)
END_MESSAGE_MAP()

CEditView::~CEditView() = default;

BOOL CEditView::PreCreateWindow(CREATESTRUCT& cs) {
  // The window is an edit control; the view's own styles come with it.
  cs.lpszClass = "EDIT";
  cs.style |= dwStyleDefault & ~static_cast<DWORD>(WS_BORDER);
  return CView::PreCreateWindow(cs);
}

int CEditView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CView::OnCreate(lpcs) == -1) return -1;
  GetEditCtrl().SetLimitText(0);  // as much text as memory holds
  return 0;
}

void CEditView::OnPaint() { Default(); }

void CEditView::OnDestroy() {
  // The dialog searched this view: it goes with it.
  CFindReplaceDialog* dialog = OpenDialog();
  if (dialog != nullptr && dialog->m_fr.hwndOwner == m_hWnd) {
    Search().dialog = nullptr;
    dialog->m_fr.hwndOwner = nullptr;
    dialog->DestroyWindow();
  }
  CView::OnDestroy();
}

BOOL CEditView::OnEditChange() {
  if (m_pDocument != nullptr) m_pDocument->SetModifiedFlag(TRUE);
  return FALSE;  // the parent hears of it too
}

void CEditView::GetSelectedText(CString& strResult) const {
  int start = 0, end = 0;
  GetEditCtrl().GetSel(start, end);
  CString text;
  GetWindowText(text);
  strResult = text.Mid(start, end - start);
}

LPCTSTR CEditView::LockBuffer() const {
  GetWindowText(m_strShadow);
  return m_strShadow;
}

void CEditView::UnlockBuffer() const {}

UINT CEditView::GetBufferLength() const { return static_cast<UINT>(GetWindowTextLength()); }

void CEditView::SerializeRaw(CArchive& ar) {
  if (ar.IsStoring()) {
    CString text;
    GetWindowText(text);
    ar.Write(static_cast<LPCTSTR>(text), static_cast<UINT>(text.GetLength()));
    return;
  }
  std::vector<char> bytes;
  char chunk[4096];
  for (UINT n; (n = ar.Read(chunk, sizeof(chunk))) > 0;) bytes.insert(bytes.end(), chunk, chunk + n);
  bytes.push_back('\0');
  SetWindowText(bytes.data());
}

void CEditView::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    CString text;
    GetWindowText(text);
    ar << static_cast<DWORD>(text.GetLength());
    ar.Write(static_cast<LPCTSTR>(text), static_cast<UINT>(text.GetLength()));
    return;
  }
  DWORD length = 0;
  ar >> length;
  // Read in pieces, so a damaged count ends with the archive instead of a huge allocation.
  std::vector<char> bytes;
  char chunk[4096];
  while (length > 0) {
    UINT n = ar.Read(chunk, std::min<UINT>(sizeof(chunk), length));
    if (n == 0) AfxThrowArchiveException(CArchiveException::endOfFile);
    bytes.insert(bytes.end(), chunk, chunk + n);
    length -= n;
  }
  bytes.push_back('\0');
  SetWindowText(bytes.data());
}

// ---- edit commands ----

void CEditView::OnEditCut() { GetEditCtrl().Cut(); }
void CEditView::OnEditCopy() { GetEditCtrl().Copy(); }
void CEditView::OnEditPaste() { GetEditCtrl().Paste(); }
void CEditView::OnEditClear() { GetEditCtrl().Clear(); }
void CEditView::OnEditUndo() { GetEditCtrl().Undo(); }
void CEditView::OnEditSelectAll() { GetEditCtrl().SetSel(0, -1); }

void CEditView::OnUpdateNeedSel(CCmdUI* pCmdUI) {
  int start = 0, end = 0;
  GetEditCtrl().GetSel(start, end);
  pCmdUI->Enable(start != end);
}

void CEditView::OnUpdateNeedClip(CCmdUI* pCmdUI) { pCmdUI->Enable(::IsClipboardFormatAvailable(CF_TEXT)); }

void CEditView::OnUpdateNeedText(CCmdUI* pCmdUI) { pCmdUI->Enable(GetWindowTextLength() != 0); }

void CEditView::OnUpdateNeedFind(CCmdUI* pCmdUI) {
  pCmdUI->Enable(GetWindowTextLength() != 0 && !Search().find.IsEmpty());
}

void CEditView::OnUpdateEditUndo(CCmdUI* pCmdUI) { pCmdUI->Enable(GetEditCtrl().CanUndo()); }

// ---- find and replace ----

void CEditView::OnEditFind() { OnEditFindReplace(TRUE); }

void CEditView::OnEditReplace() { OnEditFindReplace(FALSE); }

void CEditView::OnEditRepeat() {
  SearchState& s = Search();
  if (s.find.IsEmpty())
    OnEditFindReplace(TRUE);
  else
    OnFindNext(s.find, s.down, s.matchCase);
}

void CEditView::OnEditFindReplace(BOOL bFindOnly) {
  SearchState& s = Search();
  if (CFindReplaceDialog* old = OpenDialog()) {
    if (s.findOnly == bFindOnly && old->m_fr.hwndOwner == m_hWnd) {
      old->ShowWindow(SW_SHOW);
      old->SetActiveWindow();
      return;
    }
    // The other kind of dialog (or another view's) closes first.
    s.dialog = nullptr;
    old->m_fr.hwndOwner = nullptr;
    old->DestroyWindow();
  }
  // A selection within one line is what to find.
  CString find;
  GetSelectedText(find);
  if (find.IsEmpty() || find.FindOneOf("\r\n") >= 0) find = s.find;
  auto* dialog = new CFindReplaceDialog;
  DWORD flags = FR_HIDEWHOLEWORD | (s.down ? FR_DOWN : 0) | (s.matchCase ? FR_MATCHCASE : 0);
  if (!dialog->Create(bFindOnly, find, s.replace, flags, this)) {
    if (dialog->m_hWnd == nullptr) delete dialog;
    return;
  }
  s.dialog = dialog->m_hWnd;
  s.findOnly = bFindOnly;
  dialog->ShowWindow(SW_SHOW);
  dialog->SetActiveWindow();
}

LRESULT CEditView::OnFindReplaceCmd(WPARAM, LPARAM lParam) {
  CFindReplaceDialog* dialog = CFindReplaceDialog::GetNotifier(lParam);
  SearchState& s = Search();
  if (dialog == nullptr) return 0;
  if (dialog->IsTerminating()) {
    if (s.dialog == dialog->m_hWnd) s.dialog = nullptr;
    return 0;
  }
  s.find = dialog->GetFindString();
  s.replace = dialog->GetReplaceString();
  s.matchCase = dialog->MatchCase();
  s.down = dialog->SearchDown();
  if (dialog->FindNext())
    OnFindNext(s.find, s.down, s.matchCase);
  else if (dialog->ReplaceCurrent())
    OnReplaceSel(s.find, s.down, s.matchCase, s.replace);
  else if (dialog->ReplaceAll())
    OnReplaceAll(s.find, s.replace, s.matchCase);
  return 0;
}

BOOL CEditView::FindText(LPCTSTR lpszFind, BOOL bNext, BOOL bCase) {
  CString text, what(lpszFind);
  GetWindowText(text);
  int start = 0, end = 0;
  GetEditCtrl().GetSel(start, end);
  // Toward the end or toward the start only: at either end the search reports that nothing more
  // is found, so OnTextNotFound runs.
  const int found = bNext ? FindIn(text, what, bCase, end, text.GetLength(), false) : FindIn(text, what, bCase, 0, start, true);
  if (found < 0) return FALSE;
  GetEditCtrl().SetSel(found, found + what.GetLength());
  return TRUE;
}

void CEditView::OnFindNext(LPCTSTR lpszFind, BOOL bNext, BOOL bCase) {
  if (!FindText(lpszFind, bNext, bCase)) OnTextNotFound(lpszFind);
}

void CEditView::OnReplaceSel(LPCTSTR lpszFind, BOOL bNext, BOOL bCase, LPCTSTR lpszReplace) {
  CString selected, what(lpszFind);
  GetSelectedText(selected);
  bool same = bCase ? selected == what : selected.CompareNoCase(what) == 0;
  // The first press finds; the next ones replace what they found and find again.
  if (same) GetEditCtrl().ReplaceSel(lpszReplace, TRUE);
  if (!FindText(lpszFind, bNext, bCase)) OnTextNotFound(lpszFind);
}

void CEditView::OnReplaceAll(LPCTSTR lpszFind, LPCTSTR lpszReplace, BOOL bCase) {
  CString text, what(lpszFind), with(lpszReplace), result;
  GetWindowText(text);
  int from = 0, count = 0;
  for (int at; (at = FindIn(text, what, bCase, from, text.GetLength(), false)) >= 0; from = at + what.GetLength()) {
    result += text.Mid(from, at - from) + with;
    ++count;
  }
  if (count == 0) {
    OnTextNotFound(lpszFind);
    return;
  }
  result += text.Mid(from);
  // One step to undo.
  GetEditCtrl().SetSel(0, -1, TRUE);
  GetEditCtrl().ReplaceSel(result, TRUE);
}

void CEditView::OnTextNotFound(LPCTSTR) { ::MessageBeep(MB_ICONEXCLAMATION); }
