// CCheckListBox: an owner-drawn list box with a check box before each item, its check state and
// enabled flag kept per item by the framework beside the application's item data.
#pragma once

#include <map>
#include <memory>

#include "afx/AfxControls.h"

// Sent to the parent in WM_COMMAND when the user changed an item's check.
#define CLBN_CHKCHANGE 40

class CCheckListBox : public CListBox {
  DECLARE_DYNAMIC(CCheckListBox)

 public:
  CCheckListBox() = default;
  ~CCheckListBox() override;
  // The style must hold LBS_OWNERDRAWFIXED or LBS_OWNERDRAWVARIABLE.
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // BS_CHECKBOX, BS_AUTOCHECKBOX (the default), BS_3STATE or BS_AUTO3STATE; others are refused.
  void SetCheckStyle(UINT nStyle);
  UINT GetCheckStyle() const { return m_nStyle; }
  // 0 unchecked, 1 checked, 2 indeterminate (only for the 3-state styles).
  void SetCheck(int nIndex, int nCheck);
  int GetCheck(int nIndex) const;
  // A disabled item is drawn grey and refuses the user's clicks and Space.
  void Enable(int nIndex, BOOL bEnabled = TRUE);
  BOOL IsEnabled(int nIndex) const;
  // The least item height that holds both the check box and a line of the list's font.
  UINT CalcMinimumItemHeight();
  // Where the check box of an item goes: rectCheckBox is the framework's choice inside rectItem.
  virtual CRect OnGetCheckPosition(CRect rectItem, CRect rectCheckBox);

  // Draws the application's part of an item: the framework has drawn the check box and hands
  // over the rest of the item rectangle, the application's item data and ODS_DISABLED for a
  // disabled item. MeasureItem, CompareItem and DeleteItem see the application's data too.
  // The framework's own draws the item's text (lists with LBS_HASSTRINGS).
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  void PreSubclassWindow() override;

  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg LRESULT OnSetFontMessage(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAddString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnInsertString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetItemData(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetItemData(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnFindString(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnFindStringExact(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSelectString(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  // The framework's record behind an item's data.
  struct CheckData {
    int check = 0;
    BOOL enabled = TRUE;
    DWORD_PTR userData = 0;
  };

  BOOL HasStrings() const { return (GetStyle() & LBS_HASSTRINGS) != 0; }
  BOOL ValidIndex(int nIndex) const { return nIndex >= 0 && nIndex < GetCount(); }
  // The record of an item, null when its data is not one of ours (set before we were attached).
  CheckData* Record(int nIndex) const;
  CheckData* RecordOf(DWORD_PTR rawData) const;
  CheckData* MakeRecord(DWORD_PTR userData);
  CheckData* EnsureRecord(int nIndex);
  DWORD_PTR UserData(DWORD_PTR rawData) const;
  LRESULT Insert(UINT message, WPARAM wParam, LPARAM lParam);
  int FindUserData(int nStartAfter, DWORD_PTR value) const;
  CRect CheckRect(int nIndex, const CRect& rectItem);
  // The box of item nIndex when pt lies on it, else -1 (also for a click beside any item).
  int CheckHit(CPoint pt);
  // The user changes an item's check (click or Space): the next state for the style, a redraw
  // and CLBN_CHKCHANGE; false when the item is disabled or the style is not an automatic one.
  BOOL UserToggle(int nIndex);
  void InvalidateItem(int nIndex);
  void KeepMinimumHeight();

  void PreDrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  void PreMeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  int PreCompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct);
  void PreDeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);

  UINT m_nStyle = BS_AUTOCHECKBOX;
  std::map<const CheckData*, std::unique_ptr<CheckData>> m_records;
};
