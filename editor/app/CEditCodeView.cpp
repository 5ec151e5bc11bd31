// The source-file view: its controller, the reload after a change on disk, the pending search,
// the messages of the application's windows, mark 0 in the gutter and in printing.
#include "editor/app/CEditCodeView.h"

#include "afx/CWinApp.h"
#include "editor/app/GWExtAppServices.h"
#include "editor/model/SECEdit.h"

IMPLEMENT_DYNCREATE(CEditCodeView, SECEditView)

BEGIN_MESSAGE_MAP(CEditCodeView, SECEditView)
  ON_MESSAGE(WM_GWEXT_KEEP_SELECTION, OnKeepSelection)
  ON_MESSAGE(WM_GWEXT_RESERVED1, OnReserved)
  ON_MESSAGE(WM_GWEXT_RESERVED2, OnReserved)
  ON_MESSAGE(WM_GWEXT_PENDING_SEARCH, OnPendingSearch)
  ON_MESSAGE(WM_GWEXT_INSERT_CHOICE, OnInsertChoice)
END_MESSAGE_MAP()

namespace {

// The application's "Toggle Bookmark" mark: a red cell, and the end of a printed page.
constexpr int kPageMark = 0;

}  // namespace

CEditCodeView::CEditCodeView() = default;

CEditCodeView::~CEditCodeView() = default;

CEditCodeDoc* CEditCodeView::GetDocument() const { return dynamic_cast<CEditCodeDoc*>(m_pDocument); }

GWExtController* CEditCodeView::GetAppController() { return dynamic_cast<GWExtController*>(GetEditController()); }

SECEdit* CEditCodeView::GetViewModel() {
  CEditCodeDoc* doc = GetDocument();
  return doc != nullptr ? doc->GetEdit() : nullptr;
}

BOOL CEditCodeView::CreateController() {
  auto* controller = new GWExtController;
  SetController(controller, TRUE);
  return GetEditController() != nullptr;
}

void CEditCodeView::OnInitialUpdate() {
  SECEditView::OnInitialUpdate();
  // The selection stays painted while another window has the focus.
  if (SECEditController* controller = GetEditController()) controller->SetKeepSelection(TRUE);
}

void CEditCodeView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  // The question about unsaved edits waits until the user comes back to the file: asked as the
  // user goes to another window, it would stand over a workspace half switched to that window.
  CEditCodeDoc* doc = GetDocument();
  if (bActivate || doc == nullptr || !doc->IsModified()) ReloadIfChanged();
  RunPendingSearch();
  SECEditView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CEditCodeView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) {
  ReloadIfChanged();
  SECEditView::OnUpdate(pSender, lHint, pHint);
}

BOOL CEditCodeView::ReloadIfChanged() {
  CEditCodeDoc* doc = GetDocument();
  if (doc == nullptr || m_bReloading || !doc->IsChangedOnDisk() || doc->GetWatchedPath().IsEmpty()) return FALSE;
  m_bReloading = TRUE;
  doc->SetChangedOnDisk(FALSE);
  // A file another program deleted or moved has nothing to read: the window keeps its text, the
  // user is told once (the watch on that file has ended), and closing asks nothing more.
  CFileStatus status;
  if (!CFile::GetStatus(doc->GetWatchedPath(), status)) {
    CString message;
    message.Format("%s\n\nThis file was deleted or moved by another program. The window keeps its text; "
                   "save it to write the file again.",
                   static_cast<LPCTSTR>(doc->GetWatchedPath()));
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    // Still watched: a file written again under the name is a change like any other.
    doc->RefreshWatch();
    m_bReloading = FALSE;
    return FALSE;
  }
  BOOL reload = TRUE;
  // Unsaved edits are the user's: the text is read again only when the user agrees.
  if (doc->IsModified()) {
    CString prompt;
    prompt.Format("%s\n\nThis file has been changed outside the editor. Reload it and lose your changes?",
                  static_cast<LPCTSTR>(doc->GetWatchedPath()));
    // No, which loses nothing, is the default: Enter keeps the typing.
    reload = AfxMessageBox(prompt, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
  }
  if (reload) {
    // A file that cannot be read whole leaves the window's text and modified state as they were:
    // an emptied window would be written over the file by the next save.
    CString failure;
    if (!doc->GetEdit()->ReloadFile(doc->GetWatchedPath(), failure)) {
      CString message;
      message.Format("%s\n\nThe file could not be reloaded: %s\n\nThe window keeps the text it had.",
                     static_cast<LPCTSTR>(doc->GetWatchedPath()), static_cast<LPCTSTR>(failure));
      AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    }
    UpdateData(TRUE);
  }
  // Watched again from the state the user has now seen (read, or declined): every later change
  // is reported too.
  doc->RefreshWatch();
  m_bReloading = FALSE;
  return reload;
}

void CEditCodeView::RunPendingSearch() {
  GWExtAppServices* app = GWExtGetAppServices();
  CString text;
  if (!app->GetPendingSearch(text)) return;
  if (GWExtController* controller = GetAppController()) controller->FindAndSelect(text, 1, 0);
  app->ClearPendingSearch();
}

LRESULT CEditCodeView::OnKeepSelection(WPARAM, LPARAM) {
  if (SECEditController* controller = GetEditController()) controller->SetKeepSelection(TRUE);
  SetFocus();
  return 1;
}

LRESULT CEditCodeView::OnReserved(WPARAM, LPARAM) { return 1; }

LRESULT CEditCodeView::OnPendingSearch(WPARAM, LPARAM) {
  GWExtAppServices* app = GWExtGetAppServices();
  GWExtController* controller = GetAppController();
  if (controller != nullptr) {
    controller->SetKeepSelection(TRUE);
    CString text;
    app->GetPendingSearch(text);
    controller->FindAndSelect(text, 1, 0);
    // Shift+Home: the selection runs back to the start of the line.
    SendMessage(WM_COMMAND, 45038, 0);
  }
  app->ClearPendingSearch();
  return 1;
}

LRESULT CEditCodeView::OnInsertChoice(WPARAM, LPARAM lParam) {
  const auto* choice = reinterpret_cast<const GWExtChoiceRecord*>(lParam);
  GWExtController* controller = GetAppController();
  if (GetSafeHwnd() != nullptr && choice != nullptr && controller != nullptr)
    controller->InsertAtSavedPosition(choice->m_strText);
  return 1;
}

void CEditCodeView::DrawGutterBackground(CDC* pDC, const RECT* rect) {
  SECEditView::DrawGutterBackground(pDC, rect);
  // The gutter ends in a line also where the checkerboard fills it.
  pDC->MoveTo(rect->right - 1, rect->top);
  pDC->LineTo(rect->right - 1, rect->bottom);
}

void CEditCodeView::DrawMarkOver(int line, CDC* pDC, CRect cell) {
  SECEdit* model = GetViewModel();
  if (model == nullptr || !model->HasLineMark(line, kPageMark)) return;
  const COLORREF text = pDC->SetTextColor(RGB(0, 0, 0));
  const COLORREF back = pDC->SetBkColor(RGB(255, 255, 255));
  const int mode = pDC->SetBkMode(OPAQUE);
  CBrush red(RGB(255, 0, 0));
  pDC->FillRect(&cell, &red);
  pDC->SetTextColor(text);
  pDC->SetBkColor(back);
  pDC->SetBkMode(mode);
}

void CEditCodeView::Paginate(CDC* pDC) {
  SECEditView::Paginate(pDC);
  GetPrinter()->BreakPagesAfterMark(kPageMark);
}

CString CEditCodeView::GetPrintTitle() {
  CEditCodeDoc* doc = GetDocument();
  return doc != nullptr ? doc->GetPlainTitle() : SECEditView::GetPrintTitle();
}
