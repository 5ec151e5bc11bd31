// The application's editor controller: brace alignment while typing, the Edit menu after ".",
// commands that add or remove "//" on the selected lines, go to line, Clear All, the status text,
// its own context menu and key table, and the search and insertion entries of the code view.
#pragma once

#include "afx/CDialog.h"
#include "core/CTypedPtr.h"
#include "core/Lists.h"
#include "editor/ctl/SECEditController.h"

// Commands of the application's menus that the controller handles.
constexpr UINT ID_GWEXT_CLEAR_ALL = 32794;
constexpr UINT ID_GWEXT_GOTO_LINE = 32796;
constexpr UINT ID_GWEXT_COMMENT = 32797;
constexpr UINT ID_GWEXT_UNCOMMENT = 32798;
constexpr UINT ID_GWEXT_LINECOL_PANE = 132;
// The application's popup menus; its pop-up 1 is the Edit menu (the others are the explorer's).
constexpr UINT IDR_GWEXT_MAINMENU = 148;
constexpr int GWEXT_EDIT_POPUP = 1;
constexpr UINT IDD_GWEXT_GOTO = 144;
constexpr UINT IDC_GWEXT_GOTO_LINE = 1031;

// A completion record; the system keeps none, but the record is stored like every other.
class CGWExtCodeCompleteObj : public CObject {
  DECLARE_SERIAL(CGWExtCodeCompleteObj)

 public:
  void Serialize(CArchive& ar) override;
  BOOL SaveToFile(LPCTSTR path);
  BOOL LoadFromFile(LPCTSTR path);

  CString m_strText;
  int m_nNumber = 0;
  CString m_strText2;
  CString m_strText3;
};

// "Number": a line number to go to.
class CGoToDlg : public CDialog {
 public:
  explicit CGoToDlg(CWnd* parent = nullptr) : CDialog(IDD_GWEXT_GOTO, parent) {}
  int m_nLine = 0;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnLineChanged();
  DECLARE_MESSAGE_MAP()
};

class GWExtController : public SECEditController {
  DECLARE_DYNAMIC(GWExtController)

 public:
  GWExtController() = default;
  ~GWExtController() override;

  BOOL ShowContextMenu(CMenu* menu, CMenu** popup) override;
  void InsertTypedText(CString& text) override;

  // Sets the shared find text (whole word off) and selects its next match; FALSE for an empty text.
  BOOL FindAndSelect(LPCTSTR text, BOOL bMatchCase, int unused);
  // One search step with the state's options, selecting the match.
  BOOL SearchStep(_SEC_FIND_REPLACE_STATE* state);
  // Inserts the text at the saved insertion position.
  void InsertAtSavedPosition(LPCTSTR text);

  // Add "//" in front of the selected lines, or remove it.
  void CommentSelection();
  void UncommentSelection();
  // Scrolls so that the 1-based line (clamped to the text) is the top line, with the caret at its
  // start.
  void GoToLine(int line);
  void ClearAll();

 protected:
  // Opens the application's Edit menu with its top-left corner at a screen point.
  virtual void ShowEditMenu(CPoint screen);
  // Opens the Edit menu for a "." just typed: the arrows, Enter and the mouse choose from it, and
  // any other key closes it and goes into the text as typed.
  void OfferEditMenu(CPoint screen);
  // A stream selection over several lines becomes a whole-lines selection; FALSE when there is no
  // selection of two or more lines. The first and last line come back.
  BOOL WholeLinesSelected(int* first, int* last);

  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnFindNext();
  afx_msg void OnGoToLine();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnClearAll();
  afx_msg void OnClear();
  afx_msg void OnCommentSelection();
  afx_msg void OnUncommentSelection();
  afx_msg void OnUpdateNothing(CCmdUI* pCmdUI);
  afx_msg void OnUpdateLineColumn(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

  CTypedPtrList<CObList, CGWExtCodeCompleteObj*> m_completions;
  int m_nInsertLine = 0;
  int m_nInsertCol = 0;
  BOOL m_bFormatting = TRUE;
};
