// The view of the application's source-file documents: the editor view over the document's
// model with the application's controller, reloading after a change on disk, the main frame's
// pending search, the red cell of mark 0 and page ends after it in printing.
#pragma once

#include "editor/app/GWExtController.h"
#include "editor/doc/CEditCodeDoc.h"
#include "editor/view/SECEditView.h"

// Window messages of the application's windows to a code view.
constexpr UINT WM_GWEXT_KEEP_SELECTION = 2100;
constexpr UINT WM_GWEXT_RESERVED1 = 2101;
constexpr UINT WM_GWEXT_RESERVED2 = 2102;
constexpr UINT WM_GWEXT_PENDING_SEARCH = 2412;
constexpr UINT WM_GWEXT_INSERT_CHOICE = 1391;

// What message 1391 points to: the entry to insert.
struct GWExtChoiceRecord {
  CString m_strText;
};

class CEditCodeView : public SECEditView {
  DECLARE_DYNCREATE(CEditCodeView)

 public:
  CEditCodeView();
  ~CEditCodeView() override;

  CEditCodeDoc* GetDocument() const;
  GWExtController* GetAppController();
  SECEdit* GetViewModel() override;
  BOOL CreateController() override;

  void OnInitialUpdate() override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
  using SECEditView::OnUpdate;

  void DrawGutterBackground(CDC* pDC, const RECT* rect) override;
  void DrawMarkOver(int line, CDC* pDC, CRect cell) override;

  // When another program changed the file: reloads it (asking first when the text has unsaved
  // edits); TRUE when the text was read again.
  BOOL ReloadIfChanged();
  // Runs the main frame's pending search when one is pending.
  void RunPendingSearch();

  // Printing: a page ends after each line with mark 0.
  void Paginate(CDC* pDC) override;
  // The file's title, without the mark of unsaved changes the window's title carries.
  CString GetPrintTitle() override;

 protected:
  afx_msg LRESULT OnKeepSelection(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnReserved(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnPendingSearch(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnInsertChoice(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  BOOL m_bReloading = FALSE;
};
