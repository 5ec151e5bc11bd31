// SECControlBarManager: the frame's helper for bars a saved layout cannot restore by itself (type
// ids, extension records, creating missing bars) and for state of its own. The base answers
// "nothing" to each; the toolbar manager fills it in.
#pragma once

#include "afx/afx.h"

class SECPersistentTreeNode;
class SECPTNFactory;
class SECControlBarInfo;
class SECControlBarInfoEx;

class SECControlBarManager : public CObject {
  DECLARE_DYNAMIC(SECControlBarManager)

 public:
  explicit SECControlBarManager(CFrameWnd* pFrameWnd = nullptr) : m_pFrameWnd(pFrameWnd) {}

  virtual CFrameWnd* GetFrameWnd() const { return m_pFrameWnd; }
  virtual BOOL LoadState(SECPersistentTreeNode* pNode) { return pNode != nullptr; }
  virtual void LoadState(LPCTSTR lpszProfileName);
  virtual BOOL SaveState(SECPTNFactory* pFactory, SECPersistentTreeNode* pNode);
  virtual void SaveState(LPCTSTR lpszProfileName);
  virtual DWORD GetBarTypeID(CControlBar* pBar);
  virtual SECControlBarInfoEx* CreateBarInfoEx(SECControlBarInfo* pInfo);
  virtual CControlBar* CreateControlBar(SECControlBarInfo* pInfo);

 protected:
  CFrameWnd* m_pFrameWnd;
};
