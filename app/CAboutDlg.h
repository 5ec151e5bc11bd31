// CAboutDlg: the About box: the product and its version, the operating system, the maker's web and
// support addresses as links, a notice, and a button that starts System Information.
#pragma once

#include "afx/CDialog.h"
#include "afx/GdiObjects.h"
#include "app/CHyperLink.h"

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();

  static const char* const kWebAddress;
  static const char* const kSupportAddress;

  // The program that shows System Information, from the registry; empty when it is not recorded.
  static CString SystemInfoPath();

 protected:
  BOOL OnInitDialog() override;
  afx_msg void OnSystemInfo();
  DECLARE_MESSAGE_MAP()

  CHyperLink m_wndWebLink;
  CHyperLink m_wndSupportLink;
  CFont m_fontLinks;   // "Arial" of weight 400, which the links underline
  CFont m_fontNotice;  // the dialog's font, for the notice text
};
