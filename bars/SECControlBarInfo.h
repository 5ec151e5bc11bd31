// SECControlBarInfo: one bar's record in a saved docking layout (the framework's part and the
// toolkit's: sizes, row share, styles, floating in the main window, class and window names) in
// the profile, persistent-tree and archive forms; SECControlBarInfoEx, the extension a bar
// kind adds to its record.
#pragma once

#include "afx/afx.h"

class SECPersistentTreeNode;
class SECPTNFactory;
class SECControlBarManager;
class SECDockState;

class SECControlBarInfoEx : public CObject {
  DECLARE_DYNAMIC(SECControlBarInfoEx)

 public:
  using CObject::Serialize;
  virtual void Serialize(CArchive& ar, SECDockState* pDockState);
  virtual BOOL LoadState(SECPersistentTreeNode* pNode) { return pNode != nullptr; }
  virtual BOOL LoadState(LPCTSTR lpszSection, SECDockState* pDockState);
  virtual BOOL SaveState(SECPTNFactory* pFactory, SECPersistentTreeNode* pNode);
  virtual BOOL SaveState(LPCTSTR lpszSection);
};

class SECControlBarInfo : public CControlBarInfo {
 public:
  explicit SECControlBarInfo(SECControlBarManager* pManager = nullptr) : m_pManager(pManager) {}
  SECControlBarInfo(const SECControlBarInfo&) = delete;
  SECControlBarInfo& operator=(const SECControlBarInfo&) = delete;
  ~SECControlBarInfo() override;

  // The record under a tree node ("Bar-%d" child) or in profile section "%s-Bar%d"; FALSE when
  // it holds no bar.
  virtual BOOL LoadState(SECPersistentTreeNode* pNode, SECDockState* pDockState);
  virtual BOOL LoadState(LPCTSTR lpszProfileName, int nIndex, SECDockState* pDockState);
  // FALSE when the record is skipped (a visible, docked, empty dock bar).
  virtual BOOL SaveState(SECPTNFactory* pFactory, SECPersistentTreeNode* pParent, int nIndex);
  virtual BOOL SaveState(LPCTSTR lpszProfileName, int nIndex);
  virtual void LoadFrameworkPart(SECPersistentTreeNode* pNode, SECDockState* pDockState);
  virtual void LoadToolkitPart(SECPersistentTreeNode* pNode);
  virtual void SaveFrameworkPart(SECPersistentTreeNode* pNode);
  virtual void SaveToolkitPart(SECPersistentTreeNode* pNode);
  // The archive record (version 1 without the MRU data).
  void Serialize(CArchive& ar, DWORD dwVersion, SECDockState* pDockState);

  // A record nothing is saved for.
  BOOL IsSkipped() const;
  // Asks the manager for the extension object after a record was read.
  void MakeExtension();
  // Fits the sizes and the MRU width read to this screen (SECDockState::FitSize); a size no
  // screen has is forgotten (0, and the MRU width unset).
  void FitToScreen(const SECDockState* pDockState);

  CSize m_szHorzDock{0, 0};
  CSize m_szVertDock{0, 0};
  CSize m_szFloat{0, 0};
  DWORD m_dwMRUDockingState = 0;
  DWORD m_dwDockStyle = 0;
  float m_fPctWidth = 1.0f;
  DWORD m_dwStyle = 0;
  DWORD m_dwExStyle = 0;
  BOOL m_bPrevFloating = FALSE;
  BOOL m_bMDIChild = FALSE;
  WINDOWPLACEMENT m_wpMDIChild{};
  BOOL m_bHasMDIPlacement = FALSE;
  // The window of m_pBar while a layout is applied: the record is dropped once it is gone.
  HWND m_hWndBar = nullptr;
  CString m_strClassName;
  CString m_strWindowName;
  UINT m_nResourceID = 0;
  SECControlBarInfoEx* m_pExtension = nullptr;  // owned
  DWORD m_dwTypeID = 0;
  SECControlBarManager* m_pManager;
};

// The share as stored ("PctWidth": millionths) and back, kept within [0, 1].
int SECShareToMillionths(float share);
float SECMillionthsToShare(long long millionths);
