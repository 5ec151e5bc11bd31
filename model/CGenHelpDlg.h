// CGenHelpDlg: the HTML Help project's file names, title and default page, checked before OK.
#pragma once

#include "afx/CDialog.h"
#include "afx/DataExchange.h"
#include "model/CGenHtmlHelpClass.h"

class CWorkSpaceObj;

class CGenHelpDlg : public CDialog {
 public:
  // The default-file list offers the pages of the project's output language under its folder.
  CGenHelpDlg(const CWorkSpaceObj& project, const CString& strProjectFolder, CWnd* pParentWnd = nullptr);

  BOOL OnInitDialog() override;

  void SetSettings(const HtmlHelpSettings& settings);
  HtmlHelpSettings GetSettings() const;

  CString m_strContentsFile;
  CString m_strIndexFile;
  CString m_strProjectFile;
  CString m_strTitle;
  CString m_strCompiledFile;
  CString m_strDefaultFile;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  void OnOK() override;
  afx_msg void OnSelchangeDefaultFile();
  DECLARE_MESSAGE_MAP()

 private:
  CString SelectedDefaultFile() const;

  const CWorkSpaceObj& m_project;
  CString m_strProjectFolder;
};
