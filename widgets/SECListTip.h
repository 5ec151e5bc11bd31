// The list's tip window, which shows the whole text of a cut-off cell over it, and the edit box
// in which a label is edited in place; both reach their list only through SECListClient.
#pragma once

#include "afx/afx.h"
#include "widgets/SECListClient.h"

constexpr UINT_PTR kListTipTimer = 0xF001;
constexpr UINT kListTipPeriod = 500;

class SECListTip : public CWnd {
 public:
  explicit SECListTip(SECListClient* pOwner) : m_pOwner(pOwner) {}
  ~SECListTip() override;

  virtual void Hide();
  // Shows the tip for a cell whose text is cut off; TRUE while it shows (or keeps showing) it.
  virtual BOOL Show(UINT nHitFlags, int nRow, int nCol, CPoint point);
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void Refresh();
  void SetText(const CString& strText) { m_strText = strText; }

  int GetRow() const { return m_nRow; }
  int GetSubItem() const { return m_nSubItem; }
  const CString& GetText() const { return m_strText; }
  BOOL IsShowing() const { return GetSafeHwnd() != nullptr && IsWindowVisible(); }

 protected:
  afx_msg void OnPaint();
  afx_msg void OnDestroy();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL CreateTipWindow();

  int m_nRow = -1;
  int m_nSubItem = -1;
  SECListClient* m_pOwner;
  CString m_strText;
  CRect m_rcCell;
};

class SECListEdit : public CEdit {
 public:
  explicit SECListEdit(SECListClient* pOwner) : m_pOwner(pOwner) {}
  ~SECListEdit() override;

 protected:
  afx_msg UINT OnGetDlgCode() { return DLGC_WANTALLKEYS; }
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  DECLARE_MESSAGE_MAP()

 private:
  SECListClient* m_pOwner;
};
