// SEC3DTabControl: raised notebook tabs with an optional icon, along any side of a tabbed
// window; labels that do not fit are shortened with "..." and shown whole in a tooltip.
#pragma once

#include "widgets/SECTabControlBase.h"

// Style bits of the 3-D tab control (given by the tabbed window).
#define TWS_TABS_ON_BOTTOM 0x0010
#define TWS_TABS_ON_TOP 0x0020
#define TWS_TABS_ON_LEFT 0x0040
#define TWS_TABS_ON_RIGHT 0x0080
#define TWS_NOACTIVE_TAB_ENLARGED 0x0100
#define TWS_LEFTRIGHTSCROLL_FRAME 0x0200  // each tab's frame ends one pixel short at its far end
#define TWS_FLATTABS 0x0400
#define TWS_DRAGTABS 0x0800
#define TWS_TAB_POSITIONS (TWS_TABS_ON_BOTTOM | TWS_TABS_ON_TOP | TWS_TABS_ON_LEFT | TWS_TABS_ON_RIGHT)

class SEC3DTab : public SECTab {
  DECLARE_DYNAMIC(SEC3DTab)

 public:
  SEC3DTab() { m_nWidth = 90; }
  RECT m_rcTab = {};
  HICON m_hIcon = nullptr;
  BOOL m_bEnabled = TRUE;
  CString m_csFullLabel;
  BOOL m_bShortened = FALSE;
};

class SEC3DTabControl : public SECTabControlBase {
  DECLARE_DYNAMIC(SEC3DTabControl)

 public:
  SEC3DTabControl() = default;

  void Initialize(DWORD dwStyle) override;
  SECTab* CreateNewTab() override { return new SEC3DTab; }
  void RecalcLayout() override;
  void OnActivateTab(int nIndex) override;
  void DestroyGDIObjects() override;
  SECTab* InsertTab(int nIndex, LPCTSTR lpszLabel = nullptr, void* pClient = nullptr, void* pData1 = nullptr,
                    void* pData2 = nullptr) override;
  SECTab* AddTab(LPCTSTR lpszLabel = nullptr, void* pClient = nullptr, void* pData1 = nullptr,
                 void* pData2 = nullptr) override;
  void SetTabIcon(int nIndex, LPCTSTR lpszResource, int cx = 16, int cy = 16) override;
  void SetTabIcon(int nIndex, UINT nIDResource, int cx = 16, int cy = 16) override;
  BOOL SetTabIcon(int nIndex, HICON hIcon) override;
  void RenameTab(int nIndex, LPCTSTR lpszLabel) override;
  void InvalidateTab(int nIndex) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

  virtual void CreateFonts(DWORD dwStyle);
  virtual void EnableTab(int nIndex, BOOL bEnable = TRUE);
  virtual BOOL IsTabEnabled(int nIndex);
  virtual void ModifyTabStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  virtual void ShortenLabels(int nTotal, int nIconTotal, int nAvailable);
  virtual BOOL SetFont(CFont* pFont, int nWhich, BOOL bRedraw = TRUE);
  virtual void GetTabRect(int nIndex, RECT* pRect);
  virtual void LayoutTab(int nIndex, int x, int y, DWORD dwStyle);
  virtual void DrawTab(CDC* pDC, int nIndex);
  virtual void FillSolidRect(CDC* pDC, int x, int y, int cx, int cy, COLORREF clr);
  virtual void DrawTabBottom(CDC* pDC, SEC3DTab* pTab, DWORD dwPosition);
  virtual void DrawTabTop(CDC* pDC, SEC3DTab* pTab, DWORD dwPosition);
  virtual void DrawTabLeft(CDC* pDC, SEC3DTab* pTab, DWORD dwPosition);
  virtual void DrawTabRight(CDC* pDC, SEC3DTab* pTab, DWORD dwPosition);
  virtual void DrawTabContents(CDC* pDC, SEC3DTab* pTab, DWORD dwPosition);
  virtual void DrawDisabled(CDC* pDC, int cx, int cy);

  SEC3DTab* Get3DTab(int nIndex) const { return static_cast<SEC3DTab*>(GetTab(nIndex)); }
  // The strip's side (one of TWS_TABS_ON_*; none set counts as the right).
  DWORD GetTabPosition() const;
  BOOL IsHorizontal() const;

  BOOL m_bShortenLabels = TRUE;
  int m_nTabHeight = 22;
  int m_nTabWidth = 22;
  int m_nFirstTabX = 7;
  int m_nFirstTabY = 7;
  CFont m_fonts[2];
  CPen m_pens[2];
  CPen m_penShadow;
  CPen m_penHilight;
  COLORREF m_clrText[2] = {};
  BOOL m_bShowLabels = TRUE;

 protected:
  CString QueryLabel(const SECTab* pTab) const override {
    return static_cast<const SEC3DTab*>(pTab)->m_csFullLabel;
  }
  // A tab's length along the strip with its shown label.
  int TabLength(CDC* pDC, const SEC3DTab* pTab, BOOL bShowLabel) const;
  // Total length of all tabs with their shown labels (icons counted apart in *pIconTotal).
  int TotalLength(CDC* pDC, BOOL bShowLabels, int* pIconTotal = nullptr) const;
  // The first enabled tab whose rectangle holds the point: the active tab first, as it lies on top.
  int TabAt(CPoint point) const;
  // The nearest enabled tab from nFrom in direction nStep, or -1.
  int NextEnabledTab(int nFrom, int nStep) const;
  BOOL TabWindowHasTabStop() const;
  void MoveActiveTabTo(int nTarget);
  void CreatePens();
  void RelayToolTip(UINT message, UINT nFlags, CPoint point);

  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnSysColorChange();
  DECLARE_MESSAGE_MAP()
};
