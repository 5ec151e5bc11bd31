// The concrete lists: SECListCtrl, the list as a child window, and SECListView, the list as a
// framework view, which also prints and previews its rows.
#pragma once

#include "widgets/SECListBase.h"

class CPrintInfo;

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

  // ---- printing and print preview (SECListViewPrint.cpp) ----
  void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;
  BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
  void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
  void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
  void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
  // Moves the top row to the first row of the next page; FALSE when no row is left.
  virtual BOOL NextPrintPage(CDC* pDC);
  // Maps the printer DC so one logical unit is one screen pixel and takes the page rectangle.
  virtual void PreparePrinterDC(CDC* pDC);
  // Walks from row 0 to the page (preview); TRUE when the page exists.
  virtual BOOL GotoPrintPage(UINT nPage, CDC* pDC);
  virtual BOOL CreatePrintFonts(CDC* pDC);
  virtual BOOL DeletePrintFonts();
  BOOL IsPrinting() const { return m_bPrinting; }

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
