// SECListBoxEditor: turns a dialog's list box into an editable list of strings: a strip above it
// with the list's label and New, Delete, Move Up and Move Down picture buttons, editing in place,
// a trailing empty row for a new entry, and reordering by dragging. Its companions: the list box
// subclass (SECListBoxEditorHelper), the in-place edit (SECListBoxEdit), the drag window
// (SECListBoxDragWnd) and the pressed look of a picture button (SECFakeButton).
#pragma once

#include "afx/afx.h"

// Editor style bits.
constexpr DWORD LBE_BROWSE = 0x1;         // a "..." browse button in the edit; F2 in the list edits
constexpr DWORD LBE_AUTOEDIT = 0x2;       // typing in the list starts editing with that character
constexpr DWORD LBE_BUTTONS = 0x4;        // the strip shows the picture buttons
constexpr DWORD LBE_TOOLTIPS = 0x8;       // tips for the buttons (with LBE_BUTTONS)
constexpr DWORD LBE_SHORTCUTS = 0x10;     // Insert, Delete, Alt+Up and Alt+Down in the list
constexpr DWORD LBE_DRAGNDROP = 0x20;     // rows are reordered by dragging
constexpr DWORD LBE_NOTRAILINGBLANK = 0x40;  // no trailing empty row
constexpr DWORD LBE_NEWBUTTON = 0x100;
constexpr DWORD LBE_DELBUTTON = 0x200;
constexpr DWORD LBE_UPBUTTON = 0x400;
constexpr DWORD LBE_DOWNBUTTON = 0x800;
constexpr DWORD LBE_DEFAULT = 0xF3E;

// Notification codes the list box's parent receives in WM_COMMAND besides LBN_SELCHANGE.
constexpr UINT LBEN_ITEMDELETED = 10;
constexpr UINT LBEN_ITEMMOVED = 11;

// Ids of the in-place edit and its browse button, the edit's end notification and the message
// by which the edit tells the list box whether it was cancelled.
constexpr UINT LBE_IDC_EDIT = 100;
constexpr UINT LBE_IDC_BROWSE = 101;
constexpr UINT LBE_NM_ENDEDIT = 1000;
constexpr UINT LBE_WM_EDITCANCELLED = 0x500;

class SECListBoxEditor;

// The list box, subclassed: its keys, clicks and double-clicks become editor operations.
class SECListBoxEditorHelper : public CListBox {
  DECLARE_DYNAMIC(SECListBoxEditorHelper)

 public:
  explicit SECListBoxEditorHelper(SECListBoxEditor* pEditor) : m_pEditor(pEditor) {}
  BOOL m_bFocusLost = FALSE;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg LRESULT OnEditCancelled(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  SECListBoxEditor* m_pEditor;
};

// The edit laid over a row while it is edited.
class SECListBoxEdit : public CEdit {
  DECLARE_DYNAMIC(SECListBoxEdit)

 public:
  explicit SECListBoxEdit(SECListBoxEditor* pEditor) : m_pEditor(pEditor) {}
  // Commits the text to the row as Enter does.
  void Commit();

 protected:
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  DECLARE_MESSAGE_MAP()
  // Ends the edit: cancelled (Escape) or committed.
  void Finish(BOOL bCancel);

  SECListBoxEditor* m_pEditor;
};

// The drag of a row to another place: a modal loop with a marker line between rows and
// automatic scrolling beyond the list's edges.
class SECListBoxDragWnd : public CWnd {
  DECLARE_DYNAMIC(SECListBoxDragWnd)

 public:
  explicit SECListBoxDragWnd(CListBox* pListBox);
  // Runs the drag from the point (list box coordinates); TRUE when a row moved, with the indexes
  // before and after in nFrom and nTo.
  BOOL Track(CPoint point, int& nFrom, int& nTo);
  // The place a point gives: the index a row goes before, -1 for the end, -2 for none.
  int DropPlace(CPoint point) const;

  BOOL m_bKeepLastRow = TRUE;  // the last row is never dragged and nothing drops after it
  HCURSOR m_hDragCursor = nullptr;
  DWORD m_dwInitialInterval = 300;
  DWORD m_dwMinInterval = 50;
  DWORD m_dwIntervalStep = 50;
  DWORD m_dwDropDelay = 250;

 protected:
  void OnMove(CPoint point);
  void DrawMarker(int nPlace);
  int MarkerY(int nPlace) const;
  void AutoScroll();
  BOOL Drop();

  CListBox* m_pListBox;
  BOOL m_bDragging = FALSE;
  BOOL m_bCancelled = FALSE;
  BOOL m_bStarted = FALSE;
  DWORD m_dwLastScroll = 0;
  DWORD m_dwInterval = 300;
  DWORD m_dwStart = 0;
  UINT m_nScrollDir = 0;  // 1 left, 2 above, 4 right, 8 below
  int m_nFrom = -2;
  int m_nTo = -2;
  int m_nMarkerY = -1;
  CPoint m_ptStart;
};

// A picture button's pressed look while the mouse is held on it.
class SECFakeButton : public CWnd {
  DECLARE_DYNAMIC(SECFakeButton)

 public:
  // Tracks the held button over rcButton (coordinates of pStrip); TRUE when released over it.
  BOOL Track(CWnd* pStrip, const CRect& rcButton, CBitmap* pNormal, CBitmap* pPressed);

 protected:
  void Show(CWnd* pStrip, const CRect& rcButton, CBitmap* pBitmap);
};

class SECListBoxEditor : public CWnd {
  DECLARE_DYNAMIC(SECListBoxEditor)

 public:
  SECListBoxEditor();
  ~SECListBoxEditor() override;

  // Attaches the editor to list box nID of pParent; the list box, or NULL when it is missing.
  virtual CListBox* Initialize(CWnd* pParent, UINT nID, DWORD dwStyle = LBE_DEFAULT);
  virtual CListBox* Initialize(UINT nID, CWnd* pParent, DWORD dwStyle = LBE_DEFAULT);
  virtual void SetAutoAdvance(BOOL bOn) { m_bAutoAdvance = bOn; }
  virtual void EndEdit();
  virtual void NotifySelChange();
  virtual void EnsureSelection();
  virtual void OnItemChanged(int nIndex, const CString& strOld, const CString& strNew);
  virtual void OnItemAdded(int nIndex, const CString& strText);
  virtual void OnItemMoved(int nFrom, int nTo, const CString& strText = CString());
  virtual BOOL CanDeleteItem(const CString& /*strText*/) { return TRUE; }
  virtual void OnNew();
  virtual void OnDelete();
  virtual void OnMoveDown();
  virtual void OnMoveUp();
  virtual void BeginEdit(UINT nChar);
  virtual int CalcStripHeight();
  virtual void LayoutButtons();
  virtual void UpdateTooltips();
  virtual void Relayout();
  virtual void SetButtons(DWORD dwStyle);
  virtual void StartEdit(int nIndex, BOOL bNew, UINT nChar);
  virtual void MoveItemUp(int nIndex);
  virtual BOOL DeleteItem(int nIndex);
  virtual void SetAutoAdvanceLength(int n) { m_nAutoAdvanceLength = n; }
  virtual void OnBrowse() {}
  // Hooks for a derived editor: editing starts and stops, a row was deleted (the base removed it).
  virtual void OnEditingStarted() {}
  virtual void OnEditingStopped() {}
  virtual void OnItemDeleted(int /*nIndex*/, const CString& /*strText*/) {}
  // Takes back the row just added by New (its edit is ended without a change); FALSE when none.
  virtual BOOL RemoveNewItem();

  CListBox* GetListBox() const { return m_pListBox; }
  SECListBoxEdit* GetEdit() const { return m_pEdit; }
  DWORD GetEditorStyle() const { return m_dwStyle; }
  int GetLastIndex() const { return m_nLastIndex; }
  int GetSecondIndex() const { return m_nSecondIndex; }
  // The button rectangle of button n (0 New .. 3 Move Down) in the strip.
  CRect GetButtonRect(int n) const { return m_rcButtons[n]; }
  BOOL HasTrailingRow() const;
  BOOL IsAutoAdvance() const { return m_bAutoAdvance; }
  int GetAutoAdvanceLength() const { return m_nAutoAdvanceLength; }
  // Repaints the strip with its buttons.
  void RedrawButtons() { Invalidate(); }

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  friend class SECListBoxEditorHelper;
  friend class SECListBoxEdit;
  void Notify(UINT nCode, BOOL bPost);
  int SelectedRow() const;
  // Replaces the text of a row, keeping its item data and selection.
  void ReplaceRow(int nIndex, const CString& strText);
  // Moves the focus to the next (or previous) tab stop after the list box; an edit there gets all
  // its text selected.
  void MoveFocusFromList(BOOL bPrevious);
  BOOL LoadButtonBitmaps();
  void MakePressedBitmap(int n);

  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnMove(int x, int y);
  DECLARE_MESSAGE_MAP()

 public:
  CButton m_wndBrowse;
  CToolTipCtrl m_wndToolTip;
  SECListBoxEdit* m_pEdit = nullptr;
  SECListBoxEditorHelper* m_pHelper = nullptr;
  CListBox* m_pListBox = nullptr;
  CRect m_rcButtons[4];
  BOOL m_bButtons[4] = {TRUE, TRUE, TRUE, TRUE};
  DWORD m_dwStyle = 0;
  BOOL m_bInitialized = FALSE;
  int m_nStripHeight = 0;
  BOOL m_bAddingNewItem = FALSE;
  BOOL m_bEditCancelled = FALSE;
  CString m_strEditStart;
  int m_nEditRow = -1;
  int m_nSelBeforeEdit = -1;
  int m_nLastIndex = -1;
  int m_nSecondIndex = -1;
  BOOL m_bAutoAdvance = FALSE;
  int m_nAutoAdvanceLength = 1;
  CBitmap m_bitmaps[4];
  CBitmap m_pressed[4];
};
