// SECShortcutBar: a window of stacked bars, each a button with a label and an optional icon,
// showing the client window of the one active bar in the room the buttons leave; SECBar is one
// bar and SECListBar a bar whose client is a shortcut list.
#pragma once

#include "afx/afx.h"
#include "foundation/SECIcon.h"

class SECShortcutListCtrl;
class SECShortcutBar;

// Orientation and behaviour bits of the shortcut bar's style.
constexpr DWORD SEC_OBS_VERT = 0x0001;           // buttons stacked top to bottom, upright labels
constexpr DWORD SEC_OBS_HORZ = 0x0002;           // bars side by side, labels turned
constexpr DWORD SEC_OBS_BUTTONFEEDBACK = 0x0004;  // a bar activates when its pressed button is released
constexpr DWORD SEC_OBS_CONTEXTMENU = 0x0008;    // a bar's popup menu shows over its button
constexpr DWORD SEC_OBS_ANIMATESCROLL = 0x0010;  // activation shrinks the old client as the new grows
constexpr DWORD SEC_OBS_BUTTONFOCUS = 0x0020;    // the active bar's button is framed
constexpr DWORD SEC_OBS_ORIENTATION = 0x0003;
constexpr DWORD SEC_OBS_BEHAVIOUR = 0x003C;

// Bar flags.
constexpr DWORD SEC_BAR_PRESSED = 0x0001;
constexpr DWORD SEC_BAR_FRAME = 0x0004;
constexpr DWORD SEC_BAR_NOACTIVATE = 0x0008;  // the client is neither activated nor focused

// View bars made without an id get this one plus the bar count.
constexpr UINT kShortcutBarFirstViewId = 60160;

class SECBar : public CObject {
  DECLARE_DYNCREATE(SECBar)

 public:
  SECBar();
  ~SECBar() override;

  // Null clears the client.
  virtual void SetClientWindow(CWnd* pWnd);
  virtual void SetFlag(DWORD dwFlag, BOOL bOn) { m_dwFlags = bOn ? (m_dwFlags | dwFlag) : (m_dwFlags & ~dwFlag); }
  // Draws the button, its icon and its label, pressed or not.
  virtual void Redraw(CDC* pDC, BOOL bPressed);
  virtual void CreateBrushes();
  virtual void DeleteBrushes();
  // Measures the button for the orientation (SEC_OBS_VERT or SEC_OBS_HORZ).
  virtual void Measure(CDC* pDC, DWORD dwOrientation);
  virtual void DestroyClient();
  // Lets go of the client; an object the bar owns goes with it.
  virtual void ReleaseClient();
  virtual void DrawButton(CDC* pDC);
  virtual void DrawIcon(CDC* pDC);
  virtual void DrawLabel(CDC* pDC);
  // Makes the bar's own client window (a list bar's list); nothing for a plain bar.
  virtual BOOL CreateClient(SECShortcutBar* /*pParent*/, UINT /*nID*/) { return TRUE; }

  CWnd* GetClientWindow() const { return m_hWndClient != nullptr ? CWnd::FromHandle(m_hWndClient) : nullptr; }
  void SetLabel(const CString& label) { m_strLabel = label; }
  const CString& GetLabel() const { return m_strLabel; }
  void SetMenu(HMENU hMenu) { m_hMenu = hMenu; }
  BOOL LoadIcon(UINT nID, int cx = 16, int cy = 16) { return m_icon.LoadIcon(nID, cx, cy); }
  void SetColors(COLORREF clrText, COLORREF clrFace);
  BOOL IsEnabled() const { return m_bEnabled; }

  BOOL m_bAutoDelete = TRUE;
  CRect m_rcBar;
  CRect m_rcClient;
  int m_nExtent = 0;
  int m_nClientExtent = 0;
  int m_nNaturalExtent = 0;
  CFont* m_pFont = nullptr;
  CString m_strLabel;
  HWND m_hWndClient = nullptr;
  HMENU m_hMenu = nullptr;
  COLORREF m_clrText;
  COLORREF m_clrDisabledText;
  COLORREF m_clrFrame = RGB(255, 0, 0);
  COLORREF m_clrFace;
  CBrush m_brFace;
  CBrush m_brFrame;
  SECIcon m_icon;
  DWORD m_dwFlags = 0;
  BOOL m_bEnabled = TRUE;
  BOOL m_bVisible = TRUE;
  CObject* m_pOwned = nullptr;
  DWORD m_dwOrientation = SEC_OBS_VERT;
};

class SECListBar : public SECBar {
  DECLARE_DYNCREATE(SECListBar)

 public:
  BOOL CreateClient(SECShortcutBar* pParent, UINT nID) override;
  SECShortcutListCtrl* GetListCtrl() const;
};

class SECShortcutBar : public CWnd {
  DECLARE_DYNCREATE(SECShortcutBar)

 public:
  SECShortcutBar();
  ~SECShortcutBar() override;

  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
  using CWnd::Create;
  virtual SECListBar* AddListBar(LPCTSTR lpszLabel);
  // A client window of a run-time class (a CWnd class), owned by the bar.
  virtual SECBar* AddBarWithClass(CRuntimeClass* pClass, LPCTSTR lpszLabel);
  virtual SECBar* AddBar(LPCTSTR lpszLabel, CWnd* pWnd);
  virtual SECListBar* InsertListBar(int nIndex, LPCTSTR lpszLabel);
  virtual SECBar* AddViewBar(CRuntimeClass* pViewClass, CCreateContext* pContext, LPCTSTR lpszLabel, int nID = -1);
  virtual SECBar* InsertBar(int nIndex, LPCTSTR lpszLabel, CWnd* pWnd);
  virtual BOOL RemoveBar(int nIndex);
  virtual BOOL SetBarLabel(int nIndex, LPCTSTR lpszLabel);
  virtual void SetActiveBar(int nIndex);
  virtual BOOL RecalcLayout();
  virtual BOOL DisableBar(int nIndex);
  virtual BOOL EnableBar(int nIndex);
  virtual void OnBehaviourChanged(DWORD dwRemoved, DWORD dwAdded);
  virtual BOOL IsBarEnabled(int nIndex) const;
  // Permission hooks: removing, disabling, enabling and activating a bar, and accepting a new one.
  virtual BOOL CanRemoveBar(int /*nIndex*/) { return TRUE; }
  virtual BOOL CanDisableBar(int /*nIndex*/) { return TRUE; }
  virtual BOOL CanEnableBar(int /*nIndex*/) { return TRUE; }
  virtual BOOL CanActivateBar(int /*nIndex*/) { return TRUE; }
  virtual BOOL CanAddBar(SECBar* /*pBar*/) { return TRUE; }
  virtual BOOL CreateFonts();
  virtual void DeleteFonts();
  // Gives the active client what the buttons leave of the extent.
  virtual void ComputeExtents(int nExtent, int nPrevExtent);
  virtual void PlaceBars(DWORD dwOrientation, const CRect& rect);
  virtual void MoveClientWindows();
  virtual void RedrawBar(SECBar* pBar);
  virtual void InvalidateBar(SECBar* pBar);
  virtual void RedrawBarAt(int nIndex);
  virtual SECBar* NewBar();
  virtual SECListBar* NewListBar();
  virtual SECBar* AddBarAt(SECBar* pBar, LPCTSTR lpszLabel, CWnd* pWnd);
  virtual SECBar* InsertBarAt(int nIndex, SECBar* pBar, LPCTSTR lpszLabel, CWnd* pWnd);
  virtual void DrawBars(CDC* pDC);
  virtual void ActivateBarDirect(int nIndex);
  virtual void AnimateActivation(int nOld, int nNew);
  // The previous or next enabled bar around nIndex; -1 when there is none.
  virtual int FindPreviousEnabled(int nIndex) const;
  virtual int FindNextEnabled(int nIndex) const;

  int GetBarCount() const { return static_cast<int>(m_bars.GetSize()); }
  // An index outside the bars throws.
  SECBar* GetBar(int nIndex) const;
  int HitTest(CPoint point) const;
  int GetActiveBar() const { return m_bHasActive ? m_nActive : -1; }
  DWORD GetBarStyle() const { return m_dwOrientation | m_dwBehaviour; }
  // Changes behaviour bits (SEC_OBS_BEHAVIOUR).
  void ModifyBarStyle(DWORD dwRemove, DWORD dwAdd);
  void SetBarTextColor(COLORREF clr, int nIndex = -1);
  void SetBarBkColor(COLORREF clr, int nIndex = -1);
  void SetBarClass(CRuntimeClass* pClass) { m_pBarClass = pClass; }
  void SetListBarClass(CRuntimeClass* pClass) { m_pListBarClass = pClass; }
  void SetListClass(CRuntimeClass* pClass) { m_pListClass = pClass; }
  CRuntimeClass* GetListClass() const { return m_pListClass; }
  void SetAnimation(int nSteps, int nInterval) {
    m_nAnimationSteps = nSteps;
    m_nAnimationInterval = nInterval;
  }
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  BOOL IsValidIndex(int nIndex) const { return nIndex >= 0 && nIndex < GetBarCount(); }
  // The bar's client extent along the orientation and the client rectangle it fills.
  int ClientExtent() const;
  void EndTracking();
  void ShowClient(SECBar* pBar, BOOL bShow);
  void FocusClient(SECBar* pBar);

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

 public:
  int m_nPressed = -1;
  int m_nActive = -1;
  int m_nMarkerExtent = 25;
  int m_nFontHeight = 15;
  int m_nAnimationInterval = 7;
  int m_nAnimationSteps = 8;
  BOOL m_bHasActive = FALSE;
  BOOL m_bTracking = FALSE;
  DWORD m_dwOrientation = SEC_OBS_VERT;
  DWORD m_dwBehaviour = 0;
  CRuntimeClass* m_pBarClass;
  CRuntimeClass* m_pListBarClass;
  CRuntimeClass* m_pListClass;
  int m_cxLast = 0;
  int m_cyLast = 0;
  CString m_strFaceName = "Arial";
  CBrush* m_pBkBrush = nullptr;
  CArray<SECBar*, SECBar*> m_bars;
  CFont m_fontUpright;
  CFont m_fontTurned;
  COLORREF m_clrText;
  COLORREF m_clrBk;
};
