// SECWorksheet: a workbook's MDI child frame; it joins the workbook's tab strip when it is
// loaded, leaves it when destroyed, and has its tab repainted as it is renamed, shown or hidden.
// SECControlBarWorksheet: the workbook's MDI child that holds a control bar, with the bar's icon.
#pragma once

#include "afx/afx.h"
#include "bars/SECMDIChildWnd.h"

class SECWorkbook;

class SECWorksheet : public SECMDIChildWnd {
  DECLARE_DYNCREATE(SECWorksheet)

 public:
  SECWorksheet() = default;
  ~SECWorksheet() override;

  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  // Created as a plain MDI child: joins the strip as LoadFrame does.
  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
              DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
              CMDIFrameWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  void OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt) override;
  using SECMDIChildWnd::OnUpdateFrameMenu;

  SECWorkbook* GetWorkbook();

  HICON m_hIcon = nullptr;  // 16 x 16, owned
  int m_nIndex = -1;        // position in the workbook's array
  BOOL m_bPressed = FALSE;

 protected:
  afx_msg void OnDestroy();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  DECLARE_MESSAGE_MAP()

  BOOL m_bInLoadFrame = FALSE;
};

class SECControlBarWorksheet : public SECWorksheet {
  DECLARE_DYNCREATE(SECControlBarWorksheet)

 public:
  SECControlBarWorksheet() : m_support(this) {}

  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void RecalcLayout(BOOL bNotify = TRUE) override;
  // Keeps the caption; while the sheet has no icon it takes the first bar's large icon.
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  SECDockBar& GetDockBar() { return m_support.GetDockBar(); }
  SECBarChildSupport& GetSupport() { return m_support; }

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpWndPos);
  afx_msg void OnClose();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  DECLARE_MESSAGE_MAP()

  SECBarChildSupport m_support;
};
