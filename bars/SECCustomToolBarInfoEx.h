// SECCustomToolBarInfoEx: what a customisable toolbar adds to its record in the saved docking
// layout, its title and buttons, in the profile, persistent-tree and archive forms.
#pragma once

#include "bars/SECBtnInfo.h"
#include "bars/SECControlBarInfo.h"

class SECCustomToolBarInfoEx : public SECControlBarInfoEx {
  DECLARE_DYNCREATE(SECCustomToolBarInfoEx)

 public:
  // The archive form: the title, a record count and the records; loading appends.
  void Serialize(CArchive& ar, SECDockState* pDockState) override;
  virtual void SerializeEx(CArchive& ar);
  // Child "ToolBarInfoEx" of the bar's node: "Title" and "Buttons"; FALSE when it is missing.
  BOOL LoadState(SECPersistentTreeNode* pNode) override;
  // Values "Title" and "Buttons" of the bar's profile section.
  BOOL LoadState(LPCTSTR lpszSection, SECDockState* pDockState) override;
  BOOL SaveState(SECPTNFactory* pFactory, SECPersistentTreeNode* pNode) override;
  BOOL SaveState(LPCTSTR lpszSection) override;

  CString m_strTitle;
  SECBtnInfoArray m_btnInfo;
};
