// SECToolBarManager: the frame's keeper of customisable toolbars. It defines and creates the
// default bars, shares one bitmap manager and drawing cache among them, switches tips, cool look
// and large buttons for all, runs customise mode and button drags, makes user bars, tells the
// customise pages of bar events, and saves its settings; the docking state asks it to save and
// recreate its bars.
//
// Files: SECToolBarManager.cpp (bars, settings, saved state), SECToolBarManagerDrag.cpp (drags,
// drop targets, customise and configuration modes).
#pragma once

#include <algorithm>
#include <cstring>
#include <vector>

#include "afx/CRectTracker.h"
#include "bars/SECBarStyles.h"
#include "bars/SECBtnDrawCache.h"
#include "bars/SECControlBarManager.h"
#include "bars/SECStdBtn.h"

class SECBmpMgr;
class SECCustomToolBar;
class SECMenuBar;

// The bar type ids the docking state stores for command bars.
constexpr DWORD SEC_BARTYPE_CUSTOMTOOLBAR = 14946;
constexpr DWORD SEC_BARTYPE_MENUBAR = 14947;

// Where the command being sent came from: the screen rectangle of its button, while active.
// Reference counted: the manager holds one reference, each user of GetCommandOrigin one more.
class SECCommandOrigin {
 public:
  void AddRef() { ++m_nRefCount; }
  void Release() {
    if (--m_nRefCount == 0) delete this;
  }
  int m_nRefCount = 1;
  BOOL m_bActive = FALSE;
  CRect m_rect;
};

// A default toolbar: what CreateDefaultToolBars makes of it. The id array stays the caller's.
struct SECDefaultToolBar {
  UINT nID = 0;
  CString strTitle;
  int nBtnCount = 0;
  const UINT* pBtnIDs = nullptr;
  DWORD dwAlignment = CBRS_ALIGN_ANY;
  UINT nDockBarID = AFX_IDW_DOCKBAR_TOP;
  UINT nDockNextToID = 0;
  BOOL bDocked = TRUE;
  BOOL bVisible = TRUE;
};

// The rectangle of a dragged button or a resized window button: a hatched frame that the
// tracker draws as a drag rectangle while it moves.
class SECToolBarRectTracker : public CRectTracker {
 public:
  explicit SECToolBarRectTracker(const CRect& rect) : CRectTracker(rect, hatchedBorder) {}
};

// Floats a bar at a screen point through the frame's own float operation (the toolkit frames'
// when it is one of them).
void SECFloatControlBar(CFrameWnd* pFrame, CControlBar* pBar, CPoint point);

class SECToolBarManager : public SECControlBarManager {
  DECLARE_DYNAMIC(SECToolBarManager)

 public:
  SECToolBarManager(CFrameWnd* pFrameWnd, CWnd* pOwnerWnd = nullptr);
  ~SECToolBarManager() override;
  SECToolBarManager(const SECToolBarManager&) = delete;
  SECToolBarManager& operator=(const SECToolBarManager&) = delete;

  BOOL LoadState(SECPersistentTreeNode* pNode) override;
  void LoadState(LPCTSTR lpszProfileName) override;
  BOOL SaveState(SECPTNFactory* pFactory, SECPersistentTreeNode* pNode) override;
  void SaveState(LPCTSTR lpszProfileName) override;
  DWORD GetBarTypeID(CControlBar* pBar) override;
  SECControlBarInfoEx* CreateBarInfoEx(SECControlBarInfo* pInfo) override;
  CControlBar* CreateControlBar(SECControlBarInfo* pInfo) override;
  // The visible customisable bar whose window (its floating frame when floating) meets the
  // screen rectangle; among several, the floating frame highest in the Z order.
  virtual SECCustomToolBar* FindDropTarget(const CRect& rectScreen);
  virtual SECCustomToolBar* FindToolBar(UINT nID);
  virtual BOOL CreateDefaultToolBars();
  virtual void ApplyLargeButtons();
  virtual void AdoptBars();
  // The frame's menubar, which CreateDefaultToolBars creates and the docking state restores:
  // the toolkit frame's, or the one named with SetFrameMenuBar (null: the frame has none).
  virtual SECMenuBar* GetFrameMenuBar() const;
  void SetFrameMenuBar(SECMenuBar* pMenuBar) { m_pMenuBar = pMenuBar; }

  void DefineDefaultToolBar(UINT nID, LPCTSTR lpszTitle, int nBtnCount, const UINT* pBtnIDs,
                            DWORD dwAlignment = CBRS_ALIGN_ANY, UINT nDockBarID = AFX_IDW_DOCKBAR_TOP,
                            UINT nDockNextToID = 0, BOOL bDocked = TRUE, BOOL bVisible = TRUE);
  BOOL GetDefaultButtons(UINT nID, int& nCount, const UINT*& pBtnIDs) const;
  BOOL LoadToolBarResource(LPCTSTR lpszResource, LPCTSTR lpszLargeResource = nullptr);
  BOOL LoadToolBarResource(UINT nResource, UINT nLargeResource = 0);
  // The menus the frame's menubar shows (resource ids): the menubar builds its button map and
  // button ids into this manager. FALSE without a menubar or when no menu item was found.
  BOOL SetMenuInfo(int nCount, const UINT* pMenuIDs);
  void SetMenuBarButtonIds(int nCount, const UINT* pIDs);
  void GetMenuBarButtonIds(int& nCount, const UINT*& pIDs) const;
  void EnableToolTips(BOOL bEnable);
  void EnableFlyBy(BOOL bEnable) { m_bFlyBy = bEnable; }
  void EnableCoolLook(BOOL bEnable, DWORD dwBits = CBRS_EX_THIN_BORDERS | CBRS_EX_GRIPPER);
  void EnableLargeButtons(BOOL bEnable);
  BOOL ToolTipsEnabled() const { return m_bToolTips; }
  BOOL CoolLookEnabled() const { return m_bCoolLook; }
  BOOL LargeButtonsEnabled() const { return m_bLargeButtons; }
  // A new user bar (first free id from 59424 to 59646), titled lpszName or "ToolBar%d"; null
  // when every id is taken or the bar cannot be made. The caller docks or floats it.
  SECCustomToolBar* CreateUserToolBar(LPCTSTR lpszName = nullptr);
  void EnterConfigMode();
  void ExitConfigMode();
  BOOL InConfigMode() const { return m_bConfigMode; }
  void SetCustomizeMode(BOOL bCustomize);
  BOOL InCustomizeMode() const { return m_bCustomize; }
  void SetCustomizeDialog(CWnd* pDialog) { m_pCustomizeDialog = pDialog; }
  CWnd* GetCustomizeDialog() const { return m_pCustomizeDialog; }
  CRect GetCustomizeDialogRect() const;
  void AddNotifyWindow(CWnd* pWnd);
  void RemoveNotifyWindow(CWnd* pWnd);
  void BroadcastBarNotify(UINT nBarID, int nCode);
  // The button sizes of the bitmap manager's current images.
  void ApplyBarSizes(SECCustomToolBar* pBar);
  void SetCommandCheckAll(UINT nID, int nCode, const SECBtnStyleChange& change);
  // One more reference to the command-origin record; the caller releases it.
  SECCommandOrigin* GetCommandOrigin();
  // Moves or copies a button with the mouse from `point` (client coordinates of pSourceWnd);
  // FALSE when a bar lost its last button.
  BOOL DragButton(SECStdBtn* pBtn, int nIndex, CPoint point, SECCustomToolBar* pSourceBar, CWnd* pSourceWnd,
                  BOOL bCopy);

  // ---- what the bars read ----
  SECBmpMgr* GetBmpMgr() const { return m_pBmpMgr; }
  SECBtnDrawCache* GetDrawCache() { return &m_drawCache; }
  const SECBtnMapEntry* GetButtonMap() const { return m_pBtnMap; }
  void SetButtonMap(const SECBtnMapEntry* pMap) { m_pBtnMap = pMap; }
  const SECBtnMapEntry* GetSecondButtonMap() const { return m_pBtnMap2; }
  // Takes ownership of a table made with new[].
  void SetSecondButtonMap(SECBtnMapEntry* pMap);
  SECCustomToolBar* GetSelectionBar() const { return m_pSelectionBar; }
  void SetSelectionBar(SECCustomToolBar* pBar) { m_pSelectionBar = pBar; }
  CWnd* GetOwnerWnd() const { return m_pOwnerWnd; }
  void SetBarClass(CRuntimeClass* pClass) { m_pBarClass = pClass; }
  // The style every bar the manager makes gets, and its extended style.
  DWORD GetDefaultBarStyle() const;
  DWORD GetDefaultBarExStyle() const;
  // The customisable bars of the frame, in the frame's bar order.
  std::vector<SECCustomToolBar*> GetToolBars() const;

 protected:
  // A bar of the bar class, set up for this manager (owner, manager, bitmap manager); null when
  // the class makes none.
  SECCustomToolBar* NewBar();
  // Raises the frame's delayed-layout flags.
  void DelayFrameLayout();
  // Floats a bar at a screen point through the frame's own float operation.
  void FloatBar(SECCustomToolBar* pBar, CPoint point);

  std::vector<HWND> m_arrDisabledWnds;
  std::vector<SECDefaultToolBar> m_defaultBars;
  std::vector<CWnd*> m_notifyWnds;
  CWnd* m_pCustomizeDialog = nullptr;
  BOOL m_bConfigMode = FALSE;
  BOOL m_bCustomize = FALSE;
  BOOL m_bToolTips = TRUE;
  BOOL m_bFlyBy = TRUE;
  BOOL m_bCoolLook = FALSE;
  BOOL m_bLargeButtons = FALSE;
  const SECBtnMapEntry* m_pBtnMap = nullptr;
  SECBtnMapEntry* m_pBtnMap2 = nullptr;
  SECCustomToolBar* m_pSelectionBar = nullptr;
  SECCommandOrigin* m_pCommandOrigin;
  std::vector<UINT> m_menuBarIDs;
  SECBmpMgr* m_pBmpMgr;
  SECBtnDrawCache m_drawCache;
  CWnd* m_pOwnerWnd;
  CRuntimeClass* m_pBarClass;
  SECMenuBar* m_pMenuBar = nullptr;
};
