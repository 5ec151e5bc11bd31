// GenHtmlDlg: the options of Write Documentation (output language, title, which members are
// documented, whether the tree is rewritten from nothing).
#pragma once

#include <functional>

#include "afx/CDialog.h"
#include "afx/DataExchange.h"
#include "model/DocumentationRun.h"

class GenHtmlDlg : public CDialog {
 public:
  explicit GenHtmlDlg(CWnd* pParentWnd = nullptr);

  BOOL OnInitDialog() override;

  // The members in the order the dialog keeps them; the rewrite flag starts off every time.
  DocumentationOptions m_options;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnSelchangeLanguage();
  DECLARE_MESSAGE_MAP()
};

class CWorkSpaceObj;

// Write Documentation up to the refresh of the output tree, which stays the caller's: asks for the
// options, stores them in the project on OK and writes the tree under the progress dialog, telling
// the user how many classes failed. FALSE when the options were cancelled (nothing changed).
// beforeRun is called after OK, as the run starts (the caller reads again what changed on disk
// while the dialog was open); when it returns FALSE nothing is written and FALSE is returned.
BOOL WriteDocumentationWithDialogs(CWorkSpaceObj& project, const CString& strProjectFolder, CWnd* pParentWnd,
                                   const std::function<BOOL()>& beforeRun = {});
