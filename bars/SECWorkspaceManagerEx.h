// SECWorkspaceManagerEx: a plug-in on the main frame that saves the open windows (main frame
// placement and title, each document with the frames that show it, the bar layout) as a named
// workspace in a file or under a registry key, opens such workspaces again, and keeps the list
// of recent workspaces with its menu items.
#pragma once

#include "afx/afx.h"
#include "foundation/SECPTNStrategy.h"
#include "foundation/SECPersistentTreeNode.h"
#include "foundation/SECWndPlugIn.h"

class SECControlBarManager;

class SECWorkspaceManagerEx : public kelpwood::foundation::SECWndPlugIn {
  DECLARE_DYNCREATE(SECWorkspaceManagerEx)

 public:
  static constexpr UINT kFirstRecent = 43031, kLastRecent = 43039;
  static constexpr UINT kNewWorkspace = 43007, kOpenWorkspace = 43008, kSaveWorkspace = 43009,
                        kCloseWorkspace = 43012, kSaveWorkspaceAs = 43013, kDeleteWorkspace = 43014;
  // The stored form of a window placement: 44 bytes, little-endian, field by field.
  static constexpr UINT kPlacementSize = 44;

  SECWorkspaceManagerEx();
  ~SECWorkspaceManagerEx() override;

  BOOL PlugInTo(CWnd* pWnd) override;

  virtual void SetStorageMode(BOOL bRegistryMode, BOOL bAppProfileKey);
  virtual void Initialize(CString strBaseKey, BOOL bRegistryMode, HKEY hRootKey, BOOL bAppProfileKey);
  virtual BOOL CloseWorkspace();
  // An empty name is asked for. A workspace that cannot be written is reported and changes
  // neither the current name nor the recent list.
  virtual BOOL SaveWorkspace(CString strName);
  virtual void SaveCurrentWorkspace();
  // The tree is read before anything is closed: a workspace that cannot be read, or a window
  // that refuses to close, leaves every window as it was.
  virtual BOOL OpenWorkspace(CString strName, BOOL bQuiet);
  virtual BOOL LoadWorkspace(BOOL bMostRecent, BOOL bQuiet);
  virtual SECPTNStrategy* CreateStrategy(CString strName);
  virtual BOOL LoadBarState(SECPersistentTreeNode* pRoot);
  virtual BOOL LoadFrames(SECPersistentTreeNode* pRoot, CFrameWnd** ppActiveChild);
  virtual BOOL SaveBarState(SECPTNFactory& factory, SECPersistentTreeNode* pRoot);
  virtual BOOL SaveFrames(SECPTNFactory& factory, SECPersistentTreeNode* pRoot);
  virtual BOOL PromptForName(CString& strName, BOOL bSave);
  virtual void LoadCustomState(SECPersistentTreeNode* /*pRoot*/, CString /*strName*/) {}
  virtual void SaveCustomState(SECPTNFactory& /*factory*/, SECPersistentTreeNode* /*pRoot*/, CString /*strName*/) {}
  // FALSE when a frame refused to close (its document's save was cancelled).
  virtual BOOL CloseAllChildFrames();
  virtual BOOL OnCloseBars(CPtrList& /*bars*/, CFrameWnd* /*pFrame*/) { return TRUE; }
  virtual BOOL LoadAdditionalView(CDocument* pDoc, CFrameWnd* pFrame, SECPersistentTreeNode* pNode) {
    return pDoc != nullptr && pFrame != nullptr && pNode != nullptr;
  }
  virtual SECPersistentTreeNode* SaveAdditionalView(CDocument* pDoc, CView* pView, CFrameWnd* pFrame,
                                                    SECPTNFactory& factory, SECPersistentTreeNode* pFrameNode,
                                                    int nIndex);
  virtual BOOL LoadMainFrame(SECPersistentTreeNode* pFrames);
  virtual BOOL SaveMainFrame(SECPTNFactory& factory, SECPersistentTreeNode* pFrames);
  virtual BOOL LoadChildFrames(SECPersistentTreeNode* pFrames, CFrameWnd** ppActiveChild);
  virtual BOOL SaveChildFrames(SECPTNFactory& factory, SECPersistentTreeNode* pFrames, CFrameWnd* pActiveChild);
  virtual BOOL LoadViewFrame(SECPersistentTreeNode* pNode, CDocument** ppDoc, CFrameWnd** ppFirstFrame,
                             CFrameWnd** ppActiveChild);
  virtual SECPersistentTreeNode* SaveViewFrame(CDocument* pDoc, CView* pView, CFrameWnd* pFrame,
                                               CFrameWnd* pActiveChild, SECPTNFactory& factory,
                                               SECPersistentTreeNode* pDocNode, int nIndex);
  virtual BOOL SaveFrameState(CFrameWnd* /*pFrame*/, SECPersistentTreeNode* /*pNode*/) { return FALSE; }
  virtual BOOL LoadFrameState(CFrameWnd* /*pFrame*/, SECPersistentTreeNode* /*pNode*/) { return FALSE; }
  virtual BOOL PrepareDocumentForSave(CFrameWnd* pFrame, CDocument* pDoc);
  virtual CFrameWnd* OpenDocument(CDocTemplate* pTemplate, CString& strPath, CDocument** ppDoc);
  virtual CDocument* CreateDocument(SECPersistentTreeNode* /*pNode*/, CDocTemplate* /*pTemplate*/, CString& /*strPath*/) {
    return nullptr;
  }
  virtual CFrameWnd* CreateFrame() { return nullptr; }
  virtual CFrameWnd* CreateFrameHook() { return nullptr; }
  virtual CFrameWnd* CreateNewFrame(CDocTemplate* pTemplate, CDocument* pDoc, CFrameWnd* pOther);
  virtual CFrameWnd* CreateAdditionalFrame(SECPersistentTreeNode* /*pNode*/, CDocTemplate* /*pTemplate*/,
                                           CDocument* /*pDoc*/, CFrameWnd* /*pFirstFrame*/) {
    return nullptr;
  }
  virtual void ActivateChildFrame(CFrameWnd* pFrame);
  virtual BOOL ReadRecentList(CStringList& list);
  virtual LPCTSTR GetRecentListKeyName();
  // The values are written over the old ones first and the surplus removed after, so a failure
  // never loses the list.
  virtual BOOL WriteRecentList(CStringList& list);
  // A workspace is listed once: a file by the file its path names, however spelled.
  virtual void AddToRecentList(CString& strName, CStringList& list);
  virtual BOOL RemoveFromRecentList(CString& strName);
  POSITION FindInRecentList(const CStringList& list, const CString& strName) const;
  // The dialog lists every workspace the store holds: the recent ones first, then the others. The
  // recent list keeps its own entries (renamed, deleted and reordered as the user did).
  virtual BOOL ManageRegistryWorkspaces(CString& strName, BOOL bOpenAllowed, BOOL bSaveAllowed);
  // `stored` and `working` are the rows left, each under its name before and after the dialog;
  // `deleted` names the workspaces of the rows deleted, by their names before it. A renamed
  // workspace is copied to its new key and its old key deleted only when the copy was read and
  // written (a name changed only in case, which is the same key, goes through a key of its own);
  // the deleted keys go before the renamed trees take their new names, which may be theirs.
  virtual void ApplyRegistryEdits(CStringList& stored, CStringList& working, CStringList& deleted);
  // Appends the registry workspaces stored under the base key that the list does not name yet
  // (names compared as keys are: ignoring case).
  void ReadStoredWorkspaces(CStringList& list);
  virtual BOOL PromptForFileName(CString& strName, BOOL bSave);

  // The 44-byte stored form of a placement, and its reading: only a value of exactly that size
  // whose length field says 44 is a placement.
  static void PlacementToBytes(const WINDOWPLACEMENT& placement, BYTE bytes[kPlacementSize]);
  static BOOL PlacementFromBytes(const BYTE* bytes, UINT nSize, WINDOWPLACEMENT& placement);

  const CString& GetCurrentName() const { return m_strCurrentName; }
  BOOL IsOpen() const { return m_bOpen; }
  const CString& GetBaseKey() const { return m_strBaseKey; }
  BOOL IsRegistryMode() const { return m_bRegistryMode; }

  CFrameWnd* m_pFrame = nullptr;
  CString m_strCurrentName;
  BOOL m_bOpen = FALSE;
  CString m_strFileFilter{"*.wsp"};
  CString m_strBaseKey{"Software\\DefWorkspace\\"};
  HKEY m_hRootKey = HKEY_CURRENT_USER;
  BOOL m_bRegistryMode = FALSE;
  BOOL m_bAppProfileKey = FALSE;
  int m_nActiveChildShowCmd = SW_SHOWNORMAL;
  UINT m_nRecentLimit = 8;

 protected:
  afx_msg void OnOpenRecentWorkspace(UINT nID);
  afx_msg void OnUpdateRecentWorkspaces(CCmdUI* pCmdUI);
  afx_msg void OnNewWorkspace() {}
  afx_msg void OnOpenWorkspace();
  afx_msg void OnSaveWorkspace();
  afx_msg void OnCloseWorkspaceCmd();
  afx_msg void OnUpdateCloseWorkspace(CCmdUI* pCmdUI);
  afx_msg void OnSaveWorkspaceAs();
  afx_msg void OnDeleteWorkspace() {}
  DECLARE_MESSAGE_MAP()

  // The registry key the recent list lives in, opened or created; FALSE when it cannot be.
  BOOL OpenRecentKey(class SECRegistry& registry, BOOL bCreate);
  // Reads and applies a stored placement, pulled back onto the desktop when it lies off it.
  static BOOL ReadPlacement(SECPersistentTreeNode* pNode, WINDOWPLACEMENT& placement);
  static void WritePlacement(SECPersistentTreeNode* pNode, CWnd* pWnd);
  // The frame's control-bar manager (toolkit frames only), or null.
  SECControlBarManager* FrameBarManager() const;
  // The application's show command put into the main frame's placement.
  void ShowMainFrame(BOOL bFromHidden);
  BOOL LoadTree(SECPersistentTreeNode& root, const CString& strName);
  // Copies the tree of one registry workspace to another key; TRUE when it was read and written.
  BOOL CopyRegistryWorkspace(const CString& strFrom, const CString& strTo);
  BOOL DeleteRegistryWorkspace(const CString& strName);
  void FileUnderStoredName(const CString& strName);
  // Whether the store holds a saved tree under the name.
  BOOL HasRegistryWorkspace(const CString& strName);
};
