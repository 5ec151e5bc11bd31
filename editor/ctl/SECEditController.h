// The code editor's controller: a plug-in on the editor window that owns the caret, the selection,
// the key map, the gutter metrics and the editor font, and turns keys, characters, mouse actions
// and commands into edits of the editor model; with the selection object and the face through
// which the viewport asks where the caret and the selection are.
//
// Where each concern lives:
//   SECEditCtrlCore.cpp    construction, routing, focus, status text, notifications, words
//   SECEditCtrlCaret.cpp   caret, movement keys, selection, scrolling, points and positions
//   SECEditCtrlInput.cpp   typing, editing keys, indentation
//   SECEditCtrlMouse.cpp   mouse selection, cursors, drag and drop
//   SECEditCtrlGutter.cpp  gutter metrics and the editor font
//   SECEditCtrlClipboard.cpp, ...Undo.cpp, ...Find.cpp, ...SearchAll.cpp, ...Marks.cpp: clipboard
//     and column blocks, undo and command enabling, find and replace, Replace All and Mark All,
//     bookmarks and status commands
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "afx/CView.h"
#include "afx/CWnd.h"
#include "editor/ISECEditBuffer.h"
#include "editor/SECEditFontInfo.h"
#include "editor/SECEditLineCol.h"
#include "editor/ctl/SECEditFindReplaceDlg.h"
#include "editor/mvc/MvcController.h"
#include "editor/mvc/MvcModel.h"

class SECEdit;
class SECEditCommand;
class SECEditViewport;
class ISECEditLangConfig;
class COleDataObject;
class COleDataSource;
class CCmdUI;
class CMenu;
class SECEditFindReplaceDlg;
class SECEditSearchProgress;
struct _SEC_FIND_REPLACE_STATE;

// Command ids of the editor's gutter styles.
constexpr UINT SECEDIT_GUTTER_NUMBERS = 45310;
constexpr UINT SECEDIT_GUTTER_MARKS_NUMBERS = 45311;
constexpr UINT SECEDIT_GUTTER_NUMBERS_MARKS = 45312;
constexpr UINT SECEDIT_GUTTER_NONE = 45313;
constexpr UINT SECEDIT_GUTTER_MARKS = 45314;

// Resources of the controller.
constexpr UINT IDR_SECEDIT_ACCEL = 22502;
constexpr UINT IDC_SECEDIT_GUTTER = 22503;
constexpr UINT ID_SECEDIT_LINECOL = 22579;
// The auto-scroll timer of a mouse selection.
constexpr UINT SECEDIT_SCROLL_TIMER = 45000;
// Posted when the caret line changes.
constexpr UINT ID_SECEDIT_LINE_NOTICE = 45050;
// Esc: the selection is cleared.
constexpr UINT ID_SECEDIT_ESCAPE = 45051;
// The first commands of the line-mark ranges (one id per mark number) and the context menu.
constexpr UINT ID_SECEDIT_MARK_TOGGLE = 45250;
constexpr UINT ID_SECEDIT_MARK_NEXT = 45283;
constexpr UINT ID_SECEDIT_MARK_PREVIOUS = 45316;
constexpr UINT ID_SECEDIT_MARK_CLEAR = 45349;
constexpr UINT IDR_SECEDIT_CONTEXT = 22565;

// Selection modes.
enum : int { SECEDIT_SEL_STREAM = 1, SECEDIT_SEL_LINES = 2, SECEDIT_SEL_COLUMN = 3, SECEDIT_SEL_COLUMN_DRAG = 4 };

// An anchor (start), an end that follows the caret, and a mode.
class SECEditSelection : public SECEditLineColPair {
 public:
  SECEditSelection() = default;
  void Reset() { Set(0, 0, 0, 0, SECEDIT_SEL_STREAM); }
  void SetEmpty(int line, int col, int mode) { Set(line, col, line, col, mode); }
  void Set(int startLine, int startCol, int endLine, int endCol, int mode) {
    m_start = SECEditLineCol(startLine, startCol);
    m_end = SECEditLineCol(endLine, endCol);
    m_nMode = mode;
  }
  // Moves the end; with both out-arguments, the lower and the higher of the old and the new end
  // line (the lines to repaint). TRUE when the end changed.
  BOOL SetEnd(int line, int col, int* firstLine = nullptr, int* lastLine = nullptr);
  const SECEditLineCol& GetStart() const { return m_start; }
  const SECEditLineCol& GetEnd() const { return m_end; }
  SECEditLineCol GetMin() const { return m_end < m_start ? m_end : m_start; }
  SECEditLineCol GetMax() const { return m_end < m_start ? m_start : m_end; }
  void SetMode(int mode) { m_nMode = mode; }
  int GetMode() const { return m_nMode; }
  BOOL HasSelection() const { return m_start != m_end || m_nMode == SECEDIT_SEL_LINES; }

 private:
  int m_nMode = SECEDIT_SEL_STREAM;
};

// What the viewport asks of its controller to paint: the selection, the gutter width, the
// mapping between points and positions, and each notification of the model first.
class ISECEditPresentationState {
 public:
  virtual BOOL IsColumnSelection() = 0;
  // The selection's start and end in text order (whole lines widened, columns clamped unless raw);
  // FALSE without a selection.
  virtual BOOL GetSelectionRange(int& startLine, int& startCol, int& endLine, int& endCol, BOOL bRaw) = 0;
  virtual BOOL GetSelectionPair(SECEditLineColPair& pair, BOOL bRaw) = 0;
  virtual int GetSelectionMode() = 0;
  virtual BOOL HasSelection() = 0;
  // The rubber band of a column selection being dragged (logical); FALSE in other modes.
  virtual BOOL GetDragRect(CRect* rect) = 0;
  virtual BOOL IsSelectionKeptActive() = 0;
  // The columns of a column block on one line; FALSE outside the block.
  virtual BOOL GetColumnRange(int line, int* first, int* last) = 0;
  // The find and replace state that every editor shares; null until the find commands exist.
  virtual _SEC_FIND_REPLACE_STATE* GetFindReplaceState() { return nullptr; }
  virtual int GetGutterWidth() = 0;
  virtual BOOL PointToPosition(CPoint& point, SECEditLineCol& pos, BOOL bSnap) = 0;
  virtual BOOL PointToPosition(CPoint& point, SECEditLineCol& pos, BOOL bSnap, SECEditFontInfo* info) = 0;
  virtual BOOL PositionToPoint(CPoint& point, const SECEditLineCol& pos) = 0;
  virtual BOOL PositionToPoint(CPoint& point, const SECEditLineCol& pos, SECEditFontInfo* info) = 0;
  virtual void OnUpdate(kelpwood::foundation::ISubject* subject, kelpwood::foundation::IMessage* msg) = 0;

 protected:
  ~ISECEditPresentationState() = default;
};

class SECEditController : public kelpwood::foundation::MvcController,
                          public ISECEditPresentationState,
                          public ISECEditFindReplaceNotify {
  DECLARE_DYNAMIC(SECEditController)

 public:
  SECEditController();
  ~SECEditController() override;
  SECEditController(const SECEditController&) = delete;
  SECEditController& operator=(const SECEditController&) = delete;

  // ---- routing (SECEditCtrlCore.cpp) ----
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  // The key map turns key messages into commands before the window sees them.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // Focus, input-method and timer messages reach this map though the base filters them.
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  // Clears the selection before attaching.
  BOOL Initialize(CWnd* pWnd, kelpwood::foundation::CMvcVisualComponent* pVisual) override;

  // ---- the controller's own operations, in the order of its table ----
  virtual void ResetState();
  virtual void SetMarkMarginWidth(int pixels) { m_nMarkMarginWidth = pixels; }
  virtual int GetLineNumberMarginWidth();
  virtual void SetLineNumberMarginWidth(int pixels) { m_nLineNumberMarginWidth = pixels; }
  virtual UINT GetGutterStyle() { return m_nGutterStyle; }
  virtual void SetGutterStyle(UINT style) { m_nGutterStyle = style; }
  virtual int GetMarkMarginWidth();
  virtual int GetLineNumberDigits();
  virtual void SetLineNumberDigits(int digits) { m_nLineNumberDigits = digits; }
  virtual BOOL GetScrollBarMode() { return m_bScrollBarMode; }
  virtual void SetScrollBarMode(BOOL bOn) { m_bScrollBarMode = bOn; }
  virtual SECEditFontInfo* GetFontInfo() { return m_pFontInfo.get(); }
  virtual void CreateFonts();
  virtual void FormatLineNumber(CString& out, int number);
  virtual void CreateEditCaret(BOOL bSolid);
  virtual void DestroyEditCaret();
  virtual void SetCaretFromPoint(CPoint point);
  virtual void SetCaretPos(int line, int col, BOOL bAllowVirtual);
  virtual void EnableCaretScroll(BOOL bEnable);
  virtual void EnsureCaretVisible();
  virtual BOOL AdjustCaretForCommand(SECEditCommand* cmd);
  // Find and replace (SECEditCtrlFind.cpp).
  BOOL IsSelectionNotMatch(_SEC_FIND_REPLACE_STATE* state);
  BOOL FindNext(_SEC_FIND_REPLACE_STATE* state);
  BOOL MarkAll(_SEC_FIND_REPLACE_STATE* state);
  BOOL ReplaceAll(_SEC_FIND_REPLACE_STATE* state);
  BOOL ReplaceCurrent(_SEC_FIND_REPLACE_STATE* state);
  void ShowFindReplaceDialog(BOOL bFindOnly);
  // Drag and drop (SECEditCtrlMouse.cpp).
  virtual void StartDrag();
  virtual DROPEFFECT OnDragEnter(COleDataObject* pData, DWORD dwKeyState, CPoint point);
  virtual void OnDragLeave();
  virtual DROPEFFECT OnDragOver(COleDataObject* pData, DWORD dwKeyState, CPoint point);
  virtual BOOL OnDrop(COleDataObject* pData, DROPEFFECT effect, CPoint point);
  // Clipboard data (SECEditCtrlClipboard.cpp).
  BOOL ReadDataObjectText(COleDataObject* pData, CString& text, BOOL& bColumn);
  COleDataSource* CreateDataSource();
  virtual CFont* GetViewFont();
  virtual ISECEditLangConfig* GetLangConfig();
  virtual SECEdit* GetEditModel();
  virtual SECEditViewport* GetViewport();
  // Words: line or column -1 mean the caret's.
  virtual BOOL FindWordBoundary(CString& word, int line, int col, BOOL bForward, int& outLine, int& outCol);
  virtual BOOL GetWordAtCaret(CString& word, int& start, int& end);
  virtual BOOL GetWordAt(CString& word, int line, int col, int& start, int& end);
  virtual BOOL FindWordBoundaryBackward(CString& word, int& outLine, int& outCol);
  virtual BOOL FindWordBoundaryForward(CString& word, int& outLine, int& outCol);
  virtual BOOL IsTrackingMouse() { return m_bTrackingMouse; }
  virtual BOOL IsReadOnly();
  virtual BOOL InsertTextPadded(int line, int col, LPCTSTR text, int len);
  virtual BOOL InsertTextPaddedAtPos(const SECEditLineColPair& pos, LPCTSTR text, int len);
  // Context menu and line markers (SECEditCtrlMarks.cpp).
  virtual BOOL ShowContextMenu(CMenu* menu, CMenu** popup);
  virtual void UpdateContextMenu(CMenu* popup);
  virtual BOOL OnLeaveMarkedLine(int line, BOOL bChanged);
  virtual void UpdateCaretState();
  void ToggleLineMarker(int line);
  COleDataSource* CreateSelectionDataSource();
  BOOL DoCommand(kelpwood::foundation::CMvcCommand* cmd);
  virtual void InsertTypedText(CString& text);

  // The find face: a selection that a replacement may use (none while the mouse selects).
  BOOL CanReplaceInSelection() override;
  BOOL OnFindReplaceCommand(SECEditFindReplaceDlg* dlg) override;
  _SEC_FIND_REPLACE_STATE* GetFindReplaceState() override;
  // The text a new search starts with: the selection on one line, else the word at the caret.
  CString GetInitialFindText();
  void FindNextCommand();
  void FindPreviousCommand();
  void FindWordNextCommand();
  void FindWordPreviousCommand();
  void SetModalFindDialog(BOOL bModal) { m_bModalFindDialog = bModal; }
  // Closes a modeless find dialog that this controller owns (when the controller goes).
  void CloseOwnFindDialog();

  // ---- line marks and toggles (SECEditCtrlMarks.cpp) ----
  void ToggleBookmark(UINT nID);
  void NextBookmark(UINT nID);
  void PreviousBookmark(UINT nID);
  void ClearBookmarks(UINT nID);
  void ToggleOverwrite();
  void ToggleWhitespace();

  // ---- presentation state ----
  BOOL IsColumnSelection() override;
  BOOL GetSelectionRange(int& startLine, int& startCol, int& endLine, int& endCol, BOOL bRaw) override;
  BOOL GetSelectionPair(SECEditLineColPair& pair, BOOL bRaw) override;
  int GetSelectionMode() override { return m_selection.GetMode(); }
  BOOL HasSelection() override;
  BOOL GetDragRect(CRect* rect) override;
  BOOL IsSelectionKeptActive() override { return m_bKeepSelection || m_bSplitFocus; }
  BOOL GetColumnRange(int line, int* first, int* last) override;
  int GetGutterWidth() override { return GetMarkMarginWidth() + GetLineNumberMarginWidth(); }
  BOOL PointToPosition(CPoint& point, SECEditLineCol& pos, BOOL bSnap) override;
  BOOL PointToPosition(CPoint& point, SECEditLineCol& pos, BOOL bSnap, SECEditFontInfo* info) override;
  BOOL PositionToPoint(CPoint& point, const SECEditLineCol& pos) override;
  BOOL PositionToPoint(CPoint& point, const SECEditLineCol& pos, SECEditFontInfo* info) override;
  void OnUpdate(kelpwood::foundation::ISubject* subject, kelpwood::foundation::IMessage* msg) override;

  // ---- selection and caret (SECEditCtrlCaret.cpp) ----
  BOOL ClearSelection(BOOL bRedraw);
  void SelectWord();
  BOOL IsVirtualSpaceAllowed();
  void RememberCaretX();
  void RestoreCaretX();
  void SnapCaretToPoint();
  void UpdateCaretPoint();
  BOOL MoveCharLeft();
  BOOL MoveCharRight();
  BOOL MoveLineUp();
  BOOL MoveLineDown();
  BOOL MoveLineHome();
  BOOL MoveLineEnd();
  BOOL MovePageUp();
  BOOL MovePageDown();
  BOOL MoveDocumentStart();
  BOOL MoveDocumentEnd();
  SECEditLineCol FindWordLeft(SECEditLineCol from);
  SECEditLineCol FindWordRight(SECEditLineCol from);
  void ExtendSelectionTo(int line, int col, BOOL bRedraw);
  void SetSelection(const SECEditLineColPair& pair, int mode);
  void SelectAll();
  void ScrollLines(int lines, int columns);
  int GetTopLine();
  void SetTopLine(int line);
  void CenterLine(int line);
  void InvalidateLines(int first, int last);
  void InvalidateSelection();
  const SECEditLineCol& GetCaretPosition() const { return m_caret; }
  const CPoint& GetCaretPoint() const { return m_ptCaret; }
  SECEditSelection& GetSelection() { return m_selection; }
  BOOL IsCaretCreated() const { return m_bCaretCreated; }
  BOOL IsBeyondLineEnd() const { return m_bBeyondLineEnd; }
  void SetKeepSelection(BOOL bKeep) { m_bKeepSelection = bKeep; }
  int GetPositionBase() const { return m_nPositionBase; }
  void SetPositionBase(int base) { m_nPositionBase = base; }
  // The text of the status pane: "Ln %d, Col %d" with the position base added.
  CString GetLineColText();

  // ---- typing and editing keys (SECEditCtrlInput.cpp) ----
  void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  void ReplaceSelection(LPCTSTR text, BOOL bColumn);
  SECEditLineCol DeleteSelection();
  void FillVirtualSpace();
  void SelectLines();
  BOOL DeleteCharAtCaret();
  BOOL OnEnter();
  BOOL OnTab();
  BOOL OnShiftTab();
  BOOL OnBackspace();
  BOOL OnDeleteWordBack();
  BOOL OnDeleteWordForward();
  BOOL OnDeleteLines();
  BOOL OnCutLines();
  BOOL OnChangeCase(BOOL bUpper);

  // ---- mouse (SECEditCtrlMouse.cpp) ----
  BOOL IsPointInSelection(const SECEditLineCol& pos);

  // ---- clipboard and column blocks (SECEditCtrlClipboard.cpp) ----
  CString& GetSelectedText(CString& out);
  BOOL Copy();
  BOOL Cut();
  BOOL Paste();
  BOOL InsertColumnBlock(const SECEditLineColPair& pos, const CString& text);
  // ---- undo and redo (SECEditCtrlUndo.cpp) ----
  BOOL Undo();
  BOOL Redo();

 protected:
  // A group of model commands that undoes as one step; nests into a group already open.
  class GroupBracket {
   public:
    explicit GroupBracket(SECEditController* ctl);
    ~GroupBracket();
    GroupBracket(const GroupBracket&) = delete;
    GroupBracket& operator=(const GroupBracket&) = delete;

   private:
    SECEdit* m_pModel;
    BOOL m_bOpened;
  };
  // Where a position's line ends and whether a column lies beyond it.
  int LineLength(int line);
  // The line terminator the editor inserts: CR LF, or the buffer's single line end.
  CString LineTerminator();
  int LineHeight();
  int CharWidth();
  // The class of the character at p (0 blank, 1 delimiter, 2 word); blanks are delimiters
  // without bThree. A double-byte character is one code.
  int CharClass(LPCTSTR p, BOOL bThree);
  // Column of the start of the character that contains col.
  int CharStart(LPCTSTR text, int len, int col);
  int FirstNonBlank(int line);
  // Moves of the key table: the plain form clears the selection, the extending one keeps an
  // anchor; vertical moves keep the pixel x.
  void RunMove(BOOL (SECEditController::*move)(), BOOL bExtend, BOOL bVertical);
  void RunWordMove(BOOL bRight, BOOL bExtend);
  BOOL MovePageBy(BOOL bDown);
  // The system caret's state without side effects on the selection.
  void ShowSystemCaret(BOOL bShow);
  // Find helpers: where a match of `length` bytes ends; one step of the model's find with the
  // state's options; the replacement of a matched text; the check that a line stays short enough.
  SECEditLineCol MatchEnd(int line, int col, int length);
  int FindMatch(_SEC_FIND_REPLACE_STATE* state, SECEditLineCol from, BOOL bForward, BOOL bRegExp,
                SECEditLineCol* match, const SECEditLineCol* stop);
  CString MakeReplacement(_SEC_FIND_REPLACE_STATE* state, const CString& matched);
  BOOL LineFitsAfterReplace(const SECEditLineColPair& match, const CString& matched, const CString& replacement);
  // The message that a replacement would make a line longer than the model allows.
  void ReportLineTooLong();
  // Searches through the whole text (SECEditCtrlSearchAll.cpp): how far a search from `from` has
  // come at `to`, in bytes round the text; the matches of a Replace All in the order the search
  // meets them, on the text as it is (FALSE when the user cancelled); the first replacement, in
  // that order, on a line the replacements would make too long (-1: none).
  long long SearchDistance(SECEditLineCol from, SECEditLineCol to, BOOL bForward);
  // Find Next's search (round the end of the text): through a large text in pieces, with
  // progress and Cancel (*cancelled then set and no match).
  int FindThroughText(_SEC_FIND_REPLACE_STATE* state, SECEditLineCol from, SECEditLineCol* match, BOOL* cancelled);
  BOOL GatherMatches(_SEC_FIND_REPLACE_STATE* state, SECEditLineCol from, BOOL bRegExp, const SECEditLineColPair* scope,
                     std::vector<SECEditLineColPair>* matches, SECEditSearchProgress* progress);
  int FirstTooLongReplacement(const std::vector<SECEditReplacement>& edits, const std::string& texts,
                              const std::vector<int>& visit);
  void FindRepeat(BOOL bForward);
  void FindWord(BOOL bForward);
  void GoToMarkedLine(int mark, BOOL bForward);
  void EndMouseSelection(CPoint point);

  // Handlers.
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg LRESULT OnImeStartComposition(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnImeEndComposition(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnImeChar(WPARAM wParam, LPARAM lParam);
  void InsertComposition();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnEditKey(UINT nID);
  afx_msg void OnMoveKey(UINT nID);
  afx_msg void OnSelectWordCmd();
  afx_msg void OnSelectAllCmd();
  afx_msg void OnEditFontSize();
  afx_msg void OnUpdateLineCol(CCmdUI* pCmdUI);
  afx_msg void OnEditUndo();
  afx_msg void OnEditRedo();
  afx_msg void OnEditCopy();
  afx_msg void OnEditCut();
  afx_msg void OnEditPaste();
  afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
  afx_msg void OnUpdateEditRedo(CCmdUI* pCmdUI);
  afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
  afx_msg void OnUpdateEditCut(CCmdUI* pCmdUI);
  afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
  afx_msg void OnEditFind();
  afx_msg void OnEditReplace();
  afx_msg void OnUpdateToggleBookmark(CCmdUI* pCmdUI);
  afx_msg void OnUpdateMarkedLines(CCmdUI* pCmdUI);
  afx_msg void OnToggleLineMarker();
  afx_msg void OnCurrentLineNotice();
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnUpdateOverwrite(CCmdUI* pCmdUI);
  afx_msg void OnUpdateWhitespace(CCmdUI* pCmdUI);

  DECLARE_MESSAGE_MAP()

  // ---- state ----
  BOOL m_bPositioningVirtual = FALSE;
  BOOL m_bKeepSelection = FALSE;
  BOOL m_bSplitFocus = FALSE;
  SECEditCommand* m_pLastTypingCommand = nullptr;
  BYTE m_nPendingLeadByte = 0;
  // Between WM_IME_STARTCOMPOSITION and WM_IME_ENDCOMPOSITION: the characters committed so far,
  // inserted together at the end so that the composition is one step of the undo history.
  BOOL m_bImeComposing = FALSE;
  CString m_strImeText;
  UINT_PTR m_nScrollTimer = 0;
  BOOL m_bCaretHidden = TRUE;
  BOOL m_bLineNoticeBusy = FALSE;
  int m_nLastNoticedLine = 0;
  HACCEL m_hAccel = nullptr;
  HCURSOR m_hGutterCursor = nullptr;
  int m_nMarkMarginWidth = 20;
  BOOL m_bDropAllowed = FALSE;
  BOOL m_bDropCaretShown = FALSE;
  BOOL m_bTrackingMouse = FALSE;
  BOOL m_bScrollEnabled = TRUE;
  int m_nScrollSuspend = 0;
  SECEditLineCol m_caret;
  CPoint m_ptCaret{0, 0};
  int m_nRememberedX = 0;
  BOOL m_bKeepRememberedX = TRUE;
  BOOL m_bCaretCreated = FALSE;
  BOOL m_bBeyondLineEnd = FALSE;
  SECEditSelection m_selection;
  int m_nPositionBase = 1;
  UINT m_nGutterStyle = SECEDIT_GUTTER_MARKS;
  int m_nLineNumberMarginWidth = -1;
  int m_nLineNumberDigits = -1;
  std::unique_ptr<SECEditFontInfo> m_pFontInfo;
  BOOL m_bScrollBarMode = FALSE;
  // The colour of line numbers in the gutter.
  COLORREF m_crLineNumber = RGB(0, 0, 0);
  // The mouse: the first move after a press only clears this; the rubber band of a column drag.
  BOOL m_bSkipNextMove = FALSE;
  CPoint m_ptDragAnchor{0, 0};
  CPoint m_ptDragCurrent{0, 0};
  // Find Next's repeat check: the text last found and whether a match of it was found before.
  CString m_strLastFound;
  BOOL m_bFoundBefore = FALSE;
  // Whether the find and replace dialog runs modally.
  BOOL m_bModalFindDialog = TRUE;

 public:
  COLORREF GetLineNumberColor() const { return m_crLineNumber; }
  void SetLineNumberColor(COLORREF colour) { m_crLineNumber = colour; }
};
