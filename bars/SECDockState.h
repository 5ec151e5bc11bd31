// SECDockState: a frame's docking layout captured from its toolkit bars and dock bars, written
// and read in the profile, persistent-tree and archive forms, and applied to a frame again
// (floating frames remade, missing bars recreated by the manager or by class name).
#pragma once

#include <vector>

#include "afx/afx.h"

class SECControlBarInfo;
class SECControlBarManager;
class SECPersistentTreeNode;
class SECPTNFactory;

// A user toolbar of a layout: its id and its name.
struct SECUserToolBarKey {
  UINT nID;
  CString strName;
  bool operator==(const SECUserToolBarKey& other) const { return nID == other.nID && strName == other.strName; }
};

class SECDockState : public CDockState {
  DECLARE_DYNAMIC(SECDockState)

 public:
  explicit SECDockState(SECControlBarManager* pManager = nullptr);
  ~SECDockState() override;

  // Tree form: a "DockState" child of pParent with one "Bar-%d" child per record.
  virtual void SaveState(SECPTNFactory* pFactory, SECPersistentTreeNode* pParent);
  // Profile form: "<name>-Summary" and "<name>-Bar%d" sections.
  virtual void SaveState(LPCTSTR lpszProfileName);
  // FALSE (nothing read) when pNode or its "DockState" child is missing.
  virtual BOOL LoadState(SECPersistentTreeNode* pNode);
  virtual void LoadState(LPCTSTR lpszProfileName);
  virtual BOOL GetFrameState(CFrameWnd* pFrame);
  virtual void SetFrameState(CFrameWnd* pFrame);
  virtual SECControlBarInfo* CreateBarInfo(SECControlBarManager* pManager);
  virtual void ResolveBars(CFrameWnd* pFrame, BOOL bMDI);
  virtual void FinishRestore();
  virtual void RestoreMDIChildPlacements(CFrameWnd* pFrame);
  virtual CControlBar* CreateBar(LPCTSTR lpszClassName, CFrameWnd* pParent, SECControlBarInfo* pInfo);
  virtual CRuntimeClass* FindRuntimeClass(LPCTSTR lpszClassName);
  // Archive form (version 2 written; version 1 read). Read it with the same kind of manager that
  // wrote it: an extension the reader's manager does not make leaves its bytes unread. Nothing
  // is kept from an archive that fails to read; the exception goes to the caller.
  void Serialize(CArchive& ar) override;
  // A bar's size as stored, fitted to this screen axis by axis: 0 (not known) where it is larger
  // than the screen it was saved on, which no bar was; else scaled as positions are and kept
  // within this screen.
  CSize FitSize(CSize size) const;
  // The user toolbars this layout holds.
  std::vector<SECUserToolBarKey> GetUserToolBars() const;
  // Before this layout is saved under the name: the user toolbars stored there that are not among
  // `known` (those of the layout this instance read at start) were made or renamed by another
  // instance of the program since, and join this layout with their buttons and place (docked
  // in a new row of their dock bar, or floating as they were), under a free id when this layout
  // uses theirs. The caller reads the stored layout again first (RegistryStoredUpdate).
  void KeepOtherInstancesToolBars(LPCTSTR lpszProfileName, const std::vector<SECUserToolBarKey>& known);
  // Drops placeholders of bars recorded elsewhere and repeated ids, and empty rows they leave.
  void RemoveStalePlaceholders();
  void Clear();

  int GetCount() const { return static_cast<int>(m_arrBarInfo.GetSize()); }
  SECControlBarInfo* GetInfo(int nIndex) const { return static_cast<SECControlBarInfo*>(m_arrBarInfo[nIndex]); }

  SECControlBarManager* m_pManager;
  CPtrList* m_pCreatedBars = nullptr;  // receives the bars a restore created (the frame owns them)

 protected:
  // The manager and created-bars list of a toolkit frame when none was given.
  void TakeFromFrame(CFrameWnd* pFrame);
  // Screen size as stored: scaling only from a positive size.
  void UseStoredScreen(int cx, int cy);
  // Keeps the first mention of each bar in the records' bar lists (placeholders aside).
  void DropRepeatedBars();
  // Whether the record's bar (remembered by ResolveBars) is still a live window.
  static bool HasBar(const SECControlBarInfo* pInfo);
  void DropRecordsWithoutBars();
  // The dock bar floating in the main window that holds every bar the record names and no other,
  // when a record before `nIndex` has not taken it already; null when there is none.
  CDockBar* MainWindowFloatHolding(CFrameWnd* pFrame, int nIndex) const;
};
