// CTabbedPagesDlg: a dialog that shows child-dialog pages in a 3-D tabbed window laid over a
// hidden placeholder control; the settings and properties dialogs build on it.
#pragma once

#include <vector>

#include "afx/CDialog.h"
#include "afx/GdiObjects.h"
#include "widgets/SEC3DTabWnd.h"

// A page of a tabbed dialog: Return and Escape inside it act on the dialog that holds it; Tab and
// the page-turning keys are left to the tabbed window around it.
class CTabPage : public CDialog {
 public:
  explicit CTabPage(UINT nIDTemplate) : CDialog(nIDTemplate) {}
  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void OnOK() override;
  void OnCancel() override;
};

class CTabbedPagesDlg : public CDialog {
 public:
  CTabbedPagesDlg(UINT nIDTemplate, CWnd* pParent);

  SEC3DTabWnd m_wndTab;

 protected:
  // Pages are made in the order they were added, each under the string nLabelID.
  void AddPage(CTabPage* pPage, UINT nLabelID);
  BOOL OnInitDialog() override;

 private:
  struct Page {
    CTabPage* pPage;
    UINT nLabelID;
  };
  std::vector<Page> m_Pages;
  CFont m_fontActive;
  CFont m_fontInactive;
};
