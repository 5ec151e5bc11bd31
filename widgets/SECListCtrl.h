// The concrete lists: SECListCtrl, the list as a child window, and SECListView, the list as a
// framework view, which also prints and previews its rows.
#pragma once

#include "widgets/SECListBase.h"

class SECListCtrl : public SECListBaseC {
  DECLARE_DYNAMIC(SECListCtrl)

 public:
  SECListCtrl() = default;
  ~SECListCtrl() override;

 protected:
  DECLARE_MESSAGE_MAP()
};

class SECListView : public SECListBaseV {
  DECLARE_DYNCREATE(SECListView)

 public:
  SECListView() = default;
  ~SECListView() override;

  void OnDraw(CDC* pDC) override;
  void GetClientRect(LPRECT lpRect) const override;
  CDC* CreateClientDC(BOOL* pbOwned) override;

  afx_msg void OnPaint();
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();

 protected:
  void PostNcDestroy() override { CView::PostNcDestroy(); }
  DECLARE_MESSAGE_MAP()

 public:
  CFont* m_pSavedRowFont = nullptr;
  CFont* m_pSavedHeaderFont = nullptr;
  CFont m_printRowFont;
  CFont m_printHeaderFont;
  CRect m_rcPage;
  BOOL m_bPrinting = FALSE;
  int m_nSavedTopRow = 0;
  UINT m_nCurrentPrintPage = 0;
  CDC* m_pPrinterDC = nullptr;
};
