// CNewProjectMain: the New Project wizard and its four pages (name and folder; title, output
// language and component library; source files to copy in; the documentation's author block).
// The wizard makes nothing on disk: the New Project command reads the pages' members after
// DoModal returned ID_WIZFINISH.
#pragma once

#include <memory>
#include <vector>

#include "afx/CImageList.h"
#include "afx/CListCtrl.h"
#include "app/CFileDropListCtrl.h"
#include "app/CNewWizDialog.h"
#include "app/GWExtBmpComboBox.h"
#include "app/ProjectDialogs.h"
#include "foundation/SECBrowseEdit.h"
#include "model/CGenMenuObj.h"
#include "model/ModelIds.h"
#include "win/Input.h"


// The project sub-folder ("Source Code\\" or "Header Files\\") a file of this type (lower-case
// extension without its dot) is copied into; NULL when files of that type are not copied.
const char* ProjectFolderOfType(const CString& strExt);

// The file list of page 2: each row holds a full path and what the file is ("Source Code file",
// "Header file", or a file that is not copied), in ascending order of the paths. A path that does
// not fit its column is shown cut at its start ("...\\src\\Widget.h"), so its file name shows.
class CProjectFileList : public CFileDropListCtrl {
 public:
  CProjectFileList();
  ~CProjectFileList() override;
  // Adds a file in its place in the order, duplicates included; its index.
  int AddFile(const CString& strPath);
  // Dropped files: added unless the drop mode refuses a path that is listed already.
  int InsertPathItem(LPCTSTR lpszPath) override;
  CString GetPath(int nItem) const;
  void RemoveAllFiles();
  // The text shown for a path in a column of nWidth pixels.
  CString ShownPath(const CString& strPath, int nWidth);

 protected:
  afx_msg void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  std::vector<std::unique_ptr<CString>> m_paths;  // the rows' paths; each row's data points at one
};

class CNewProjectMain : public CNewWizDialog {
 public:
  CNewProjectMain();

  int m_nLanguage = LANGUAGE_CHS;  // written by page 1, read by page 3
  CBitmap m_bmpSide;                // the picture at the left of pages 1 to 3

 protected:
  BOOL OnInitDialog() override;
};

// Page 0: the template, the project's name and the folder it goes in.
class CNewProjectPage0 : public CNewWizPage {
 public:
  CNewProjectPage0();

  // The location, one separator unless it ends in one ("/" when the location is written with
  // "/", else "\"), and the name.
  static CString JoinProjectFolder(const CString& strLocation, const CString& strName);
  // Letters, digits and "_" only (an empty name is not valid either).
  static BOOL IsValidProjectName(const CString& strName);

  CListCtrl m_ctlTemplateList;
  SECBrowseDirEdit m_ctlLocation;
  CImageList m_ImageList;
  CString m_strProjectFolder;
  CString m_strProjectName;
  int m_nTemplateId = 100;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  LRESULT OnWizardNext() override;
  afx_msg void OnChangeName();
  afx_msg void OnChangeLocation();
  afx_msg void OnChangePath();
  afx_msg void OnClickTemplate(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  // Whether the name field, or the location field, holds less than was typed or pasted into it.
  brambolt::RefusedNameWatch m_nameRefusals;
  brambolt::RefusedNameWatch m_locationRefusals;
};

// Page 1: the project's title, its output language and the component library it builds on.
class CNewProjectPage1 : public CNewWizPage {
 public:
  CNewProjectPage1();

  // The main frame's component records, listed after "None"; the New Project command sets it
  // before the wizard runs (NULL lists none).
  const CGenMenuObjList* m_pComponentList = nullptr;

  GWExtBmpComboBox m_ctlComponentList;
  CString m_strTitle;
  int m_nLanguage = LANGUAGE_ENG;
  int m_nComponentId = 0;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  LRESULT OnWizardNext() override;
  BOOL OnWizardFinish() override;
  afx_msg void OnSelChangeLanguage();
  DECLARE_MESSAGE_MAP()

 private:
  // Takes the title, language and component as the page shows them; FALSE (after telling the
  // user) when no component is selected.
  BOOL ReadFields();
};

// Page 2: the C++ sources to copy into the project, added through a file dialog or dropped.
class CNewProjectPage2 : public CNewWizPage {
 public:
  CNewProjectPage2();

  CProjectFileList m_ctlFileList;
  CStringList m_FileList;
  CImageList m_ImageList;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  LRESULT OnWizardNext() override;
  BOOL OnWizardFinish() override;
  afx_msg void OnAdd();
  afx_msg void OnDeleteAll();
  DECLARE_MESSAGE_MAP()

 private:
  // Takes the paths of the list as it stands, in its order.
  void ReadList();
};

// Page 3: the description and author block that the documentation pages carry.
class CNewProjectPage3 : public CNewWizPage, public CAuthorBlock {
 public:
  CNewProjectPage3();

  // The default description in each output language, in the program's code page.
  static CString DescriptionFor(int nLanguage);

  CString m_strDescription = " ";
  int m_nLanguage = 0;  // the language the description was last set for

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnSetActive() override;
  BOOL OnWizardFinish() override;
};
