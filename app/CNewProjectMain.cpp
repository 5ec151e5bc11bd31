// The New Project wizard's pages: what each shows, checks and hands back to the command.
#include "app/CNewProjectMain.h"

#include <vector>

#include "afx/CFileDialog.h"
#include "base/Convert.h"
#include "afx/CWinApp.h"
#include "afx/DataExchange.h"
#include "app/CInkwrightApp.h"
#include "app/ProjectDialogs.h"
#include "controls/CommCtrl.h"
#include "model/AFBig2GBObj.h"
#include "os/FileApi.h"
#include "os/Paths.h"
#include "resources/AppResource.h"

namespace {

bool EndsInSeparator(const CString& strPath) {
  const int nLength = strPath.GetLength();
  return nLength > 0 && (strPath[nLength - 1] == '\\' || strPath[nLength - 1] == '/');
}

// The separator a location is written with: "/" for a path of this system, else "\".
const char* SeparatorOf(const CString& strLocation) { return strLocation.Find('/') >= 0 ? "/" : "\\"; }

// The description's default text in each Chinese language.
constexpr char kChsDescription[] =
    "此类库是由我们为开发人员提供的标准参考指南，它不仅包含了类库技术资料，还包含了其他的如示例、文档、以及技术文章等资料.";
constexpr char kChtDescription[] =
    "此類庫是由我們為開發人員提供的標準參考指南，它不僅包含了類庫技術資料，還包含了其他的如示例、文檔、以及技術文章等資料.";
const CString g_strEngDescription =
    "This Library is the essential reference for developers, with more than a gigabyte of technical programming "
    "information, including sample code, documentation, technical articles";

constexpr char kSourceFilter[] =
    "Source Files (.c;.cc;.cxx;.cpp;.def;.rc;.rc2;.h;.hpp;.hxx;.inl;.hm)|*.c;*.cc;*.cxx;*.cpp;*.def;*.rc;*.rc2;*.h;"
    "*.hpp;*.hxx;*.inl;*.hm|Header Files (.h;.hpp;.hxx;.inl;.hm)|*.h;*.hpp;*.hxx;*.inl;*.hm|Resource Files "
    "(.ico;.bmp;.cur;.gif;.jpg)|*.ico;*.bmp;*.cur;*.gif;*.jpg|Supported Documents (...)|*.lsp;*.bas;*.vb;*.vbs;*.frm;"
    "*.dsm;*.bat;*.btm;*.cmd;*.c;*.cc;*.cpp;*.cxx;*.h;*.hpp;*.hxx;*.hm;*.inl;*.rh;*.tlh;*.tli;*.xs;*.dcl;*.dcc;*.f;"
    "*.f90;*.f9p;*.fpp;*.html;*.htm;*.shtml;*.ihtml;*.ssi;*.rul;*.java;*.jav;*.pas;*.pl;*.txt;*.doc;*.diz;*.py;*.rc;"
    "*.dlg;*.rex|All Files (*.*)|*.*||";

// Pages 1 to 3 show the wizard's side picture at their left.
void ShowSidePicture(CWnd* pPage) {
  if (auto* pWizard = dynamic_cast<CNewProjectMain*>(pPage->GetParent()))
    pPage->SendDlgItemMessage(IDC_WIZARD_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                              reinterpret_cast<LPARAM>(pWizard->m_bmpSide.GetSafeHandle()));
}

}  // namespace

// --- the file list ---

const char* ProjectFolderOfType(const CString& strExt) {
  static const char* const kSources[] = {"c", "cc", "cpp", "cxx", "def", "rc", "rc2"};
  static const char* const kHeaders[] = {"h", "hpp", "hxx", "inl", "hm"};
  for (const char* ext : kSources)
    if (strExt == ext) return "Source Code\\";
  for (const char* ext : kHeaders)
    if (strExt == ext) return "Header Files\\";
  return nullptr;
}

namespace {

// What the description column says of a file: where the new project takes it.
CString DescriptionOf(const CString& strPath) {
  const int nSlash = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
  const int nDot = strPath.ReverseFind('.');
  CString strExt = nDot > nSlash ? strPath.Mid(nDot + 1) : CString();
  strExt.MakeLower();
  const char* pszFolder = ProjectFolderOfType(strExt);
  if (pszFolder == nullptr) return "Not copied into the project";
  return CString(pszFolder) == "Header Files\\" ? "Header file" : "Source Code file";
}

// The list's margins between the label's edges and its text.
constexpr int kLabelMargins = 4;

}  // namespace

BEGIN_MESSAGE_MAP(CProjectFileList, CFileDropListCtrl)
  ON_NOTIFY_REFLECT(LVN_GETDISPINFO, OnGetDispInfo)
END_MESSAGE_MAP()

CProjectFileList::CProjectFileList() = default;
CProjectFileList::~CProjectFileList() = default;

int CProjectFileList::AddFile(const CString& strPath) {
  // The rows stay in ascending order of their paths, as a sorted list keeps its texts.
  int nItem = 0;
  while (nItem < GetItemCount() && lstrcmpi(GetPath(nItem), strPath) <= 0) ++nItem;
  m_paths.push_back(std::make_unique<CString>(strPath));
  nItem = InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM, nItem, LPSTR_TEXTCALLBACK, 0, 0, 0,
                     reinterpret_cast<LPARAM>(m_paths.back().get()));
  if (nItem >= 0) SetItemText(nItem, 1, DescriptionOf(strPath));
  return nItem;
}

int CProjectFileList::InsertPathItem(LPCTSTR lpszPath) {
  if (!(GetDropMode().iMask & DL_ALLOW_DUPLICATES))
    for (int i = 0; i < GetItemCount(); ++i)
      if (GetPath(i) == lpszPath) return -1;
  return AddFile(lpszPath);
}

CString CProjectFileList::GetPath(int nItem) const {
  const auto* pPath = reinterpret_cast<const CString*>(GetItemData(nItem));
  return pPath != nullptr ? *pPath : CString();
}

void CProjectFileList::RemoveAllFiles() {
  DeleteAllItems();
  m_paths.clear();
}

CString CProjectFileList::ShownPath(const CString& strPath, int nWidth) {
  CClientDC dc(this);
  CFont* pOld = dc.SelectObject(GetFont());
  CString strShown = strPath;
  if (dc.GetTextExtent(strPath).cx > nWidth) {
    // Cut at the start, a character at a time, until the rest fits after the ellipsis.
    const char* pszStart = strPath;
    const char* pszRest = pszStart;
    do {
      pszRest = ::CharNext(pszRest);
      strShown = CString("...") + pszRest;
    } while (*pszRest != '\0' && dc.GetTextExtent(strShown).cx > nWidth);
  }
  dc.SelectObject(pOld);
  return strShown;
}

void CProjectFileList::OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* pInfo = reinterpret_cast<NMLVDISPINFO*>(pNMHDR);
  LVITEM& item = pInfo->item;
  *pResult = 0;
  if (item.iSubItem != 0 || !(item.mask & LVIF_TEXT) || item.pszText == nullptr || item.cchTextMax <= 0) return;
  CRect rcLabel;
  GetItemRect(item.iItem, &rcLabel, LVIR_LABEL);
  const CString strShown = ShownPath(GetPath(item.iItem), rcLabel.Width() - kLabelMargins);
  lstrcpyn(item.pszText, strShown, item.cchTextMax);
}

// --- the wizard ---

CNewProjectMain::CNewProjectMain() : CNewWizDialog(IDD_NEWPROJECT, nullptr) {}

BOOL CNewProjectMain::OnInitDialog() {
  SetPlaceholderID(IDC_WIZARD_PLACEHOLDER);
  m_bmpSide.LoadBitmap(IDB_WIZARD_SIDE);
  return CNewWizDialog::OnInitDialog();
}

// --- page 0 ---

BEGIN_MESSAGE_MAP(CNewProjectPage0, CNewWizPage)
  ON_EN_CHANGE(IDC_PROJECT_NAME, OnChangeName)
  ON_EN_CHANGE(IDC_PROJECT_LOCATION, OnChangeLocation)
  ON_NOTIFY(NM_CLICK, IDC_WIZARD_LIST, OnClickTemplate)
END_MESSAGE_MAP()

CNewProjectPage0::CNewProjectPage0() : CNewWizPage(IDD_NEWPROJECT_PAGE0) {}

CString CNewProjectPage0::JoinProjectFolder(const CString& strLocation, const CString& strName) {
  return EndsInSeparator(strLocation) ? strLocation + strName : strLocation + SeparatorOf(strLocation) + strName;
}

BOOL CNewProjectPage0::IsValidProjectName(const CString& strName) {
  if (strName.IsEmpty()) return FALSE;
  for (int i = 0; i < strName.GetLength(); ++i) {
    const char c = strName[i];
    const bool bAllowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (!bAllowed) return FALSE;
  }
  return TRUE;
}

void CNewProjectPage0::DoDataExchange(CDataExchange* pDX) {
  CNewWizPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_WIZARD_LIST, m_ctlTemplateList);
}

BOOL CNewProjectPage0::OnInitDialog() {
  CNewWizPage::OnInitDialog();
  SetFixedFont(this, {IDC_PROJECT_NAME, IDC_PROJECT_LOCATION, IDC_PATH_PREVIEW});

  m_ImageList.Create(32, 32, ILC_COLOR32 | ILC_MASK, 0, 1);
  m_ImageList.Add(::LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_PROJECT_TEMPLATE)));
  m_ctlTemplateList.SetImageList(&m_ImageList, LVSIL_NORMAL);
  m_ctlTemplateList.InsertItem(LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE, 0, LoadAppString(IDS_NEW_PROJECT),
                               LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED, 0, m_nTemplateId);

  m_ctlLocation.Initialize(IDC_PROJECT_LOCATION, this);
  char szFolder[256] = {};
  ::GetCurrentDirectory(255, szFolder);
  CString strLocation = szFolder;
  if (strLocation.GetLength() > 3 && !EndsInSeparator(strLocation)) strLocation += SeparatorOf(strLocation);
  SetDlgItemText(IDC_PROJECT_LOCATION, strLocation);
  m_strProjectFolder = strLocation;

  m_nameRefusals.Watch(GetDlgItem(IDC_PROJECT_NAME)->GetSafeHwnd());
  m_locationRefusals.Watch(GetDlgItem(IDC_PROJECT_LOCATION)->GetSafeHwnd());
  GetDlgItem(IDC_PROJECT_NAME)->SetFocus();
  return FALSE;
}

void CNewProjectPage0::OnChangeName() {
  m_nameRefusals.Changed();
  OnChangePath();
}

// A folder chosen with the browse button is written into the field whole, which also makes a
// location whose typed characters were refused the user's again.
void CNewProjectPage0::OnChangeLocation() {
  m_locationRefusals.Changed();
  OnChangePath();
}

void CNewProjectPage0::OnChangePath() {
  CString strName, strLocation;
  GetDlgItemText(IDC_PROJECT_NAME, strName);
  GetDlgItemText(IDC_PROJECT_LOCATION, strLocation);
  SetDlgItemText(IDC_PATH_PREVIEW, "Path:" + JoinProjectFolder(strLocation, strName));
}

void CNewProjectPage0::OnClickTemplate(NMHDR*, LRESULT* pResult) {
  const int nItem = m_ctlTemplateList.GetNextItem(-1, LVNI_SELECTED);
  if (nItem >= 0) {
    m_nTemplateId = static_cast<int>(m_ctlTemplateList.GetItemData(nItem));
    SetDlgItemText(IDC_TEMPLATE_TIP, m_nTemplateId == 100 ? LoadAppString(IDS_NEW_PROJECT_TIP) : CString());
  }
  *pResult = 0;
}

LRESULT CNewProjectPage0::OnWizardNext() {
  const int nItem = m_ctlTemplateList.GetNextItem(-1, LVNI_SELECTED);
  if (nItem < 0) {
    InformUser(IDS_SELECT_PROJECT_TYPE);
    return -1;
  }
  m_nTemplateId = static_cast<int>(m_ctlTemplateList.GetItemData(nItem));

  // What is left of a name whose typed or pasted characters the code page cannot hold is not the
  // name the user gave: the project's folder and files would bear another.
  if (m_nameRefusals.Refused()) {
    GetDlgItem(IDC_PROJECT_NAME)->SetFocus();
    AfxMessageBox(brambolt::RefusedNameMessage(), MB_OK | MB_ICONEXCLAMATION);
    return -1;
  }
  CString strName;
  GetDlgItemText(IDC_PROJECT_NAME, strName);
  strName.TrimLeft();
  strName.TrimRight();
  if (strName.IsEmpty() || !IsValidProjectName(strName)) {
    GetDlgItem(IDC_PROJECT_NAME)->SetFocus();
    InformUser(strName.IsEmpty() ? IDS_ENTER_PROJECT_NAME : IDS_BAD_PROJECT_NAME);
    return -1;
  }
  CString strLocation;
  GetDlgItemText(IDC_PROJECT_LOCATION, strLocation);
  if (strLocation.IsEmpty()) {
    GetDlgItem(IDC_PROJECT_LOCATION)->SetFocus();
    return -1;
  }
  // A location typed relative to the current folder is taken as the full path it names now: the
  // project is kept by it, and it still names the project once the current folder has changed.
  strLocation = CInkwrightApp::FullProjectPath(strLocation);
  const CString strFolder = JoinProjectFolder(strLocation, strName);
  // A location typed with a character the locale's charset lacks cannot be made as typed, and one
  // whose characters the code page could not hold is not the folder the user gave: the project
  // would go elsewhere.
  if (m_locationRefusals.Refused(static_cast<LPCTSTR>(strFolder))) {
    GetDlgItem(IDC_PROJECT_LOCATION)->SetFocus();
    AfxMessageBox(brambolt::RefusedNameMessage(), MB_OK | MB_ICONEXCLAMATION);
    return -1;
  }
  if (::GetFileAttributes(strFolder + SeparatorOf(strFolder) + strName + ".dcp") != INVALID_FILE_ATTRIBUTES) {
    GetDlgItem(IDC_PROJECT_NAME)->SetFocus();
    InformUser(IDS_PROJECT_EXISTS);
    return -1;
  }
  m_strProjectName = strName;
  m_strProjectFolder = strFolder;
  return 0;
}

// --- page 1 ---

BEGIN_MESSAGE_MAP(CNewProjectPage1, CNewWizPage)
  ON_CBN_SELCHANGE(IDC_PROJECT_LANGUAGE, OnSelChangeLanguage)
END_MESSAGE_MAP()

CNewProjectPage1::CNewProjectPage1() : CNewWizPage(IDD_NEWPROJECT_PAGE1) {}

void CNewProjectPage1::DoDataExchange(CDataExchange* pDX) {
  CNewWizPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_WIZARD_LIST, m_ctlComponentList);
  DDX_Text(pDX, IDC_PROJECT_TITLE, m_strTitle);
}

BOOL CNewProjectPage1::OnInitDialog() {
  CNewWizPage::OnInitDialog();
  ShowSidePicture(this);
  SetFixedFont(this, {IDC_PROJECT_TITLE, IDC_PROJECT_LANGUAGE, IDC_WIZARD_LIST});
  m_strTitle = LoadAppString(IDS_DEFAULT_TITLE);
  SetDlgItemText(IDC_PROJECT_TITLE, m_strTitle);

  CComboBox* pLanguages = static_cast<CComboBox*>(GetDlgItem(IDC_PROJECT_LANGUAGE));
  FillLanguageBox(*pLanguages);
  pLanguages->SetCurSel(2);

  m_ctlComponentList.SetItemData(m_ctlComponentList.AddString(LoadAppString(IDS_NO_COMPONENT)), 0);
  if (m_pComponentList != nullptr) {
    for (POSITION pos = m_pComponentList->GetHeadPosition(); pos != nullptr;) {
      const CGenMenuObj* pComponent = m_pComponentList->GetNext(pos);
      const int nIndex = m_ctlComponentList.AddString(pComponent->m_strComponentName + "@" + pComponent->m_strComponentText);
      m_ctlComponentList.SetItemData(nIndex, pComponent->m_nId);
    }
  }
  m_ctlComponentList.SetCurSel(0);
  return TRUE;
}

void CNewProjectPage1::OnSelChangeLanguage() {
  CComboBox* pLanguages = static_cast<CComboBox*>(GetDlgItem(IDC_PROJECT_LANGUAGE));
  const int nIndex = pLanguages->GetCurSel();
  if (nIndex != CB_ERR) m_nLanguage = static_cast<int>(pLanguages->GetItemData(nIndex));
}

// Next and Finish both take the page as it is shown: Finish may come from this page or from a
// later one after the user came back here and changed it.
BOOL CNewProjectPage1::ReadFields() {
  GetDlgItemText(IDC_PROJECT_TITLE, m_strTitle);
  CComboBox* pLanguages = static_cast<CComboBox*>(GetDlgItem(IDC_PROJECT_LANGUAGE));
  const int nLanguage = pLanguages->GetCurSel();
  if (nLanguage != CB_ERR) {
    m_nLanguage = static_cast<int>(pLanguages->GetItemData(nLanguage));
    if (auto* pWizard = dynamic_cast<CNewProjectMain*>(m_pParent)) pWizard->m_nLanguage = m_nLanguage;
  }
  const int nRow = m_ctlComponentList.GetCurSel();
  if (nRow == LB_ERR) {
    InformUser(IDS_SELECT_COMPONENT);
    return FALSE;
  }
  m_nComponentId = static_cast<int>(m_ctlComponentList.GetItemData(nRow));
  return TRUE;
}

LRESULT CNewProjectPage1::OnWizardNext() { return ReadFields() ? 0 : -1; }

BOOL CNewProjectPage1::OnWizardFinish() { return ReadFields(); }

// --- page 2 ---

BEGIN_MESSAGE_MAP(CNewProjectPage2, CNewWizPage)
  ON_BN_CLICKED(IDC_ADD_FILES, OnAdd)
  ON_BN_CLICKED(IDC_DELETE_ALL_FILES, OnDeleteAll)
END_MESSAGE_MAP()

CNewProjectPage2::CNewProjectPage2() : CNewWizPage(IDD_NEWPROJECT_PAGE2) {}

void CNewProjectPage2::DoDataExchange(CDataExchange* pDX) {
  CNewWizPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_WIZARD_LIST, m_ctlFileList);
}

BOOL CNewProjectPage2::OnInitDialog() {
  CNewWizPage::OnInitDialog();
  ShowSidePicture(this);
  CRect rcList;
  m_ctlFileList.GetClientRect(&rcList);
  const int nNameWidth = static_cast<int>(rcList.Width() * 0.6);
  m_ctlFileList.InsertColumn(0, LoadAppString(IDS_FILE_NAME_COLUMN), LVCFMT_LEFT, nNameWidth);
  m_ctlFileList.InsertColumn(1, LoadAppString(IDS_DESCRIPTION_COLUMN), LVCFMT_LEFT,
                             rcList.Width() - nNameWidth - ::GetSystemMetrics(SM_CXVSCROLL));
  m_ctlFileList.SetExtendedStyle(m_ctlFileList.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  m_ImageList.Create(IDB_SOURCE_FILE, 16, 16, RGB(255, 0, 255));
  m_ctlFileList.SetImageList(&m_ImageList, LVSIL_SMALL);
  CFileDropListCtrl::DROPLISTMODE mode;
  mode.iMask = CFileDropListCtrl::DL_ACCEPT_FILES;
  m_ctlFileList.SetDropMode(mode);
  return TRUE;
}

void CNewProjectPage2::OnAdd() {
  CFileDialog dialog(TRUE, "", "", OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                     kSourceFilter, AfxGetMainWnd());
  dialog.m_nIDHelp = IDD_NEWPROJECT_PAGE2;  // help on the wizard's page of source files
  std::vector<char> buffer(8192, '\0');
  dialog.m_ofn.lpstrFile = buffer.data();
  dialog.m_ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  if (dialog.DoModal() != IDOK) return;
  for (POSITION pos = dialog.GetStartPosition(); pos != nullptr;) m_ctlFileList.AddFile(dialog.GetNextPathName(pos));
}

void CNewProjectPage2::OnDeleteAll() { m_ctlFileList.RemoveAllFiles(); }

void CNewProjectPage2::ReadList() {
  m_FileList.RemoveAll();
  for (int i = 0; i < m_ctlFileList.GetItemCount(); ++i) {
    const CString strPath = m_ctlFileList.GetPath(i);
    if (!strPath.IsEmpty()) m_FileList.AddTail(strPath);
  }
}

LRESULT CNewProjectPage2::OnWizardNext() {
  ReadList();
  return 0;
}

// Files added or removed after the last Next count as much as the others: the project gets the
// list the user sees.
BOOL CNewProjectPage2::OnWizardFinish() {
  ReadList();
  return TRUE;
}

// --- page 3 ---

CNewProjectPage3::CNewProjectPage3() : CNewWizPage(IDD_NEWPROJECT_PAGE3) {
  m_strEmail = "mailto:";
  m_strURL = "http://";
}

CString CNewProjectPage3::DescriptionFor(int nLanguage) {
  if (nLanguage != LANGUAGE_CHS && nLanguage != LANGUAGE_CHT) return g_strEngDescription;
  // The wizard's text is the program's own, in its code page like everything typed in it: the
  // language's description where that code page holds it, else its Chinese counterpart, else
  // the English one.
  const UINT nOwnCodePage = nLanguage == LANGUAGE_CHS ? 936 : 950;
  const std::string own = brambolt::Utf8ToCodePage(nLanguage == LANGUAGE_CHS ? kChsDescription : kChtDescription, nOwnCodePage);
  for (const std::u32string& text :
       {AFBig2GBObj::ReadText(own, nOwnCodePage), AFBig2GBObj::CounterpartText(own, nOwnCodePage)}) {
    bool bDropped = false;
    const std::string bytes = brambolt::CodePageTextOf(text, &bDropped, ::GetACP());
    if (!bDropped) return CString(bytes.data(), static_cast<int>(bytes.size()));
  }
  return g_strEngDescription;
}

void CNewProjectPage3::DoDataExchange(CDataExchange* pDX) {
  CNewWizPage::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_PROJECT_DESCRIPTION, m_strDescription);
  ExchangeAuthorBlock(pDX);
}

BOOL CNewProjectPage3::OnInitDialog() {
  CNewWizPage::OnInitDialog();
  ShowSidePicture(this);
  SetFixedFont(this, {IDC_PROJECT_DESCRIPTION});
  SetAuthorBlockFont(this);
  SetDlgItemText(IDC_AUTHOR, "Author Name");
  SetDlgItemText(IDC_COMPANY, "Author Company Name");
  SetDlgItemText(IDC_COPYRIGHT, "(C)Copyright ? 2000,All Rights Reversed");
  return TRUE;
}

void CNewProjectPage3::OnSetActive() {
  const auto* pWizard = dynamic_cast<const CNewProjectMain*>(m_pParent);
  if (pWizard == nullptr) return;
  const int nLanguage = pWizard->m_nLanguage;
  if (nLanguage == m_nLanguage) return;
  m_nLanguage = nLanguage;
  if (nLanguage < LANGUAGE_CHS || nLanguage > LANGUAGE_ENG) return;
  m_strDescription = DescriptionFor(nLanguage);
  SetDlgItemText(IDC_PROJECT_DESCRIPTION, m_strDescription);
}

BOOL CNewProjectPage3::OnWizardFinish() {
  UpdateData(TRUE);
  return TRUE;
}
