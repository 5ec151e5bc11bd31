// The Commands page of the toolbar customise sheet: command groups by category (a bar of buttons
// or a list of commands) from which buttons are dragged onto toolbars, with the description of
// the chosen command; SECMenuListBox, the list form of a group; SECToolBarSheet, the sheet that
// keeps floating toolbars looking active while it is.
#pragma once

#include <memory>
#include <vector>

#include "afx/CPropertyPage.h"
#include "afx/CPropertySheet.h"
#include "afx/AfxControls.h"

class SECToolBarManager;
class SECToolBarCmdPage;
class SECCustomizeToolBar;

// Group windows take ids counting down from this one.
constexpr UINT SEC_IDW_FIRST_CMDGROUP = 59567;

// A list of commands (item data: command ids) whose items are dragged onto toolbars as copies.
class SECMenuListBox : public CListBox {
 public:
  SECToolBarManager* m_pManager = nullptr;
  SECToolBarCmdPage* m_pPage = nullptr;

  // The item wholly inside the client area under a client point (the column first for a
  // multi-column list), -1 for none.
  int ItemUnder(CPoint point) const;

 protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()
};

class SECToolBarCmdPage : public CPropertyPage {
 public:
  // One category of commands and the window showing them.
  class CCmdGroup {
   public:
    CCmdGroup(LPCTSTR lpszName, int nCount, const UINT* pIDs);
    virtual ~CCmdGroup() = default;
    virtual BOOL Create(SECToolBarCmdPage* pPage, SECToolBarManager* pManager, UINT nWndID) = 0;
    virtual void SetRect(const CRect& rect) = 0;
    virtual void Show(BOOL bShow) = 0;
    virtual CWnd* GetWnd() = 0;

    CString m_strName;
    std::vector<UINT> m_ids;
  };
  // The group's buttons on a bar of the page.
  class CBarGroup : public CCmdGroup {
   public:
    using CCmdGroup::CCmdGroup;
    ~CBarGroup() override;
    BOOL Create(SECToolBarCmdPage* pPage, SECToolBarManager* pManager, UINT nWndID) override;
    void SetRect(const CRect& rect) override;
    void Show(BOOL bShow) override;
    CWnd* GetWnd() override;
    // Lays the bar out again within its own rectangle.
    void Relayout();
    SECCustomizeToolBar* m_pBar = nullptr;
  };
  // The group's commands in a list, by their menu prompts.
  class CListGroup : public CCmdGroup {
   public:
    using CCmdGroup::CCmdGroup;
    BOOL Create(SECToolBarCmdPage* pPage, SECToolBarManager* pManager, UINT nWndID) override;
    void SetRect(const CRect& rect) override;
    void Show(BOOL bShow) override;
    CWnd* GetWnd() override { return &m_list; }
    SECMenuListBox m_list;
  };
  using CGroupArray = std::vector<std::unique_ptr<CCmdGroup>>;

  SECToolBarCmdPage();
  ~SECToolBarCmdPage() override;

  void SetManager(SECToolBarManager* pManager);
  // Adds a category shown as a bar of buttons, or as a list of commands.
  void DefineBtnGroup(LPCTSTR lpszName, int nCount, const UINT* pIDs);
  void DefineMenuGroup(LPCTSTR lpszName, int nCount, const UINT* pIDs);

  // Shows the string of the command's id up to its first line feed (empty without one).
  void ShowDescription(UINT nID);
  int GetVisibleGroup() const { return m_nVisibleGroup; }
  const CGroupArray& GetGroups() const { return m_groups; }
  // The dialog units of the page's font: horizontal and vertical base units.
  CSize GetBaseUnits() const;

 protected:
  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;
  BOOL OnKillActive() override;
  void OnReset() override;
  void ShowGroup(int nGroup);

  afx_msg void OnSelChange();
  afx_msg LRESULT OnBarNotify(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnStyleChanging(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  CGroupArray m_groups;
  SECToolBarManager* m_pManager = nullptr;
  int m_nVisibleGroup = -1;
  CString m_strDescription;
};

class SECToolBarSheet : public CPropertySheet {
 public:
  explicit SECToolBarSheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

 protected:
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};
