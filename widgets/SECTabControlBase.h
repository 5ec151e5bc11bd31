// SECTab and SECTabControlBase: the tab records, the active tab, the selection rules and the
// notifications every tab control shares; the 2-D and 3-D controls derive from the base.
#pragma once

#include "afx/afx.h"

// Notifications a tab control sends its parent (SendMessage, wParam = the tab's index).
#define TABN_SELECT 0x07E8      // lParam: TabSelectInfo*, or null from SelectTab
#define TABN_DBLCLK 0x07E9
#define TABN_CLEARSEL 0x07EA
#define TABN_REACTIVATE 0x07EB

// What TABN_SELECT tells about an activation.
struct TabSelectInfo {
  UINT nID;            // the tab control's id (a tabbed window puts its own id here)
  int nNewTab;
  int nPrevTab;        // -1 when no tab was active
  void* pClientNew;
  void* pClientPrev;   // null when no tab was active
};

class SECTab : public CObject {
  DECLARE_DYNAMIC(SECTab)

 public:
  CString m_csLabel;
  int m_nWidth = 0;
  int m_nHeight = 0;
  BOOL m_bSelected = FALSE;
  void* m_pClient = nullptr;
  void* m_pData1 = nullptr;
  void* m_pData2 = nullptr;
};

class SECTabControlBase : public CWnd {
  DECLARE_DYNAMIC(SECTabControlBase)

 public:
  SECTabControlBase() = default;
  ~SECTabControlBase() override;

  using CWnd::Create;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  virtual void Initialize(DWORD dwStyle);
  virtual SECTab* CreateNewTab();
  virtual void RecalcLayout() {}
  virtual void OnActivateTab(int /*nIndex*/) {}
  virtual void DestroyGDIObjects() {}
  // The index is checked: out of range, nothing is inserted and null comes back.
  virtual SECTab* InsertTab(int nIndex, LPCTSTR lpszLabel = nullptr, void* pClient = nullptr,
                            void* pData1 = nullptr, void* pData2 = nullptr);
  virtual SECTab* AddTab(LPCTSTR lpszLabel = nullptr, void* pClient = nullptr, void* pData1 = nullptr,
                         void* pData2 = nullptr);
  virtual void SetTabIcon(int nIndex, LPCTSTR lpszResource, int cx = 16, int cy = 16);
  virtual void SetTabIcon(int nIndex, UINT nIDResource, int cx = 16, int cy = 16);
  virtual BOOL SetTabIcon(int nIndex, HICON hIcon);
  // Index-taking operations ignore an index that names no tab.
  virtual void DeleteTab(int nIndex);
  virtual void RenameTab(int nIndex, LPCTSTR lpszLabel);
  virtual void ActivateTab(int nIndex);
  virtual void ReActivateTab();
  virtual void SelectTab(int nIndex);
  virtual void ClearSelection();
  virtual void ScrollToTab(int /*nIndex*/) {}
  virtual void InvalidateTab(int /*nIndex*/) {}

  int GetTabCount() const { return m_pTabArray != nullptr ? static_cast<int>(m_pTabArray->GetSize()) : 0; }
  SECTab* GetTab(int nIndex) const;
  BOOL GetTabInfo(int nIndex, CString& label, BOOL& bSelected, void*& pClient, void*& pData1,
                  void*& pData2) const;
  BOOL FindTab(const void* pClient, int& nIndex) const;
  BOOL GetActiveTab(int& nIndex) const;
  BOOL IsValidTab(int nIndex) const { return nIndex >= 0 && nIndex < GetTabCount(); }

  CObArray* m_pTabArray = nullptr;
  int m_nActiveTab = 0;
  BOOL m_bActiveTab = FALSE;
  HCURSOR m_hCursor = nullptr;

 protected:
  // The label a tab query returns (the 3-D tabs hand back their full label).
  virtual CString QueryLabel(const SECTab* pTab) const { return pTab->m_csLabel; }
  // The parent's answer to a notification.
  LRESULT Notify(UINT nCode, WPARAM wParam, LPARAM lParam = 0);
  // Deletes the tab records and the array.
  void DestroyTabs();
  // Gives `font` the description lf, then lays out and repaints: the active tab only when
  // bActiveFont, else every tab. The old font stays in use when the new one cannot be made.
  BOOL ReplaceFont(CFont& font, const LOGFONT& lf, BOOL bActiveFont, BOOL bRedraw);
  // After an insertion before or at the active tab, the same tab stays active under its new index.
  void ShiftActiveForInsert(int nIndex);

  afx_msg void OnDestroy();
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()
};
