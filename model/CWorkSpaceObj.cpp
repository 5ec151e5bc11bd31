// The project object: defaults, the .dcp project file, record ownership and reopening the
// project's documents.
#include "model/CWorkSpaceObj.h"

#include <cstring>

#include "afx/AfxRes.h"
#include "base/MbString.h"
#include "core/CMemFile.h"
#include "core/CMirrorFile.h"
#include "gdi/Objects.h"
#include "gdi/SysColors.h"
#include "gdi/Text.h"
#include "model/RecordFile.h"
#include "model/ShellServices.h"
#include "win/WinUser.h"

IMPLEMENT_SERIAL(CWorkSpaceObj, CObject, 0)

namespace {

// Option words in member order; the shadow switch is off and the shadow size 3.
constexpr DWORD kDefaultOptions[CWorkSpaceObj::OPTION_COUNT] = {0, 0, 0, 1, 102, 1, 0, 1, 1, 0, 3, 600, 4};

// The bits of the first reserved number that hold the member choices, one per kind of member.
constexpr DWORD kLeftOutMembers = 0x3F;

// Shadow sizes from this value on are taken for damage and reset.
constexpr int kShadowSizeLimit = 600;
constexpr int kDefaultShadowSize = 3;

// A chart font: the default GUI font's attributes with its own face, height and weight.
HFONT CreateChartFont(LONG lHeight, LONG lWeight) {
  LOGFONT lf;
  std::memset(&lf, 0, sizeof lf);
  GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  lf.lfHeight = lHeight;
  lf.lfWeight = lWeight;
  std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
  std::strcpy(lf.lfFaceName, "Fixedsys");
  return CreateFontIndirect(&lf);
}

template <class List>
void DeleteAll(List& list) {
  while (!list.IsEmpty()) delete list.RemoveHead();
}

// Stores (or loads) each value in turn.
template <class... Values>
void Transfer(CArchive& ar, Values&... values) {
  if (ar.IsStoring())
    (ar << ... << values);
  else
    (ar >> ... >> values);
}

// An int member travels as a DWORD.
void TransferInt(CArchive& ar, int& n) {
  DWORD dw = static_cast<DWORD>(n);
  Transfer(ar, dw);
  n = static_cast<int>(dw);
}

void TransferOptions(CArchive& ar, DWORD (&options)[CWorkSpaceObj::OPTION_COUNT]) {
  for (DWORD& dw : options) Transfer(ar, dw);
}

// At most nMaxBytes of the text, never ending inside a double-byte character.
CString LeftBytes(const CString& str, int nMaxBytes) {
  LPCTSTR p = str;
  LPCTSTR end = p;
  while (*end != '\0') {
    LPCTSTR next = _tcsinc(end);
    if (next - p > nMaxBytes) break;
    end = next;
  }
  return CString(p, static_cast<int>(end - p));
}

}  // namespace

CWorkSpaceObj::CWorkSpaceObj()
    : m_bDocProtectedFunctions(TRUE),
      m_bDocPublicFunctions(TRUE),
      m_bDocPrivateFunctions(TRUE),
      m_bDocProtectedVariables(TRUE),
      m_bDocPublicVariables(TRUE),
      m_bDocPrivateVariables(TRUE),
      m_nComponentId(0),
      m_bModified(FALSE),
      m_bDocOptionsChanged(FALSE),
      m_bHelpSettingsChanged(FALSE),
      m_dwReserved1(0),
      m_dwReserved2(0),
      m_dwReserved3(1),
      m_dwReserved4(0),
      m_dwReserved5(0),
      m_dwReserved6(0),
      m_strReserved7("none"),
      m_dwReserved7(100),
      m_dwReserved8(GetSysColor(COLOR_BTNFACE)),
      m_dwReserved9(0),
      m_nOutputLanguage(LANGUAGE_ENG),
      m_dwReserved10(102),
      m_strAuthor("Your Name"),
      m_strCompany("You Company"),
      m_strCopyright("Copyright ?2001."),
      m_dwReserved11(0),
      m_strReserved9("MY_WND_CLASS_NAME"),
      m_hBoxFont(CreateChartFont(11, FW_NORMAL)),
      m_hTitleFont(CreateChartFont(32, FW_BOLD)),
      m_crChartBack(0xFFFFFF),
      m_crBaseClass(GetSysColor(COLOR_BTNFACE)),
      m_crDerivedClass(0xFFFFFF),
      m_crComponentClass(RGB(153, 204, 255)),
      m_nChartWidth(0),
      m_nChartHeight(0),
      m_nBoxWidth(180),
      m_nBoxHeight(20) {
  std::memcpy(m_dwOptions, kDefaultOptions, sizeof m_dwOptions);
}

CWorkSpaceObj::~CWorkSpaceObj() {
  DeleteAllFileObjs();
  DeleteAllIconResObjs();
  DeleteAllResIDObjs();
  DeleteAllDbpFileObjs();
  DeleteAllRptFileObjs();
  DeleteAllMenuFileObjs();
  DeleteObject(m_hBoxFont);
  DeleteObject(m_hTitleFont);
}

void CWorkSpaceObj::Serialize(CArchive& ar) {
  Transfer(ar, m_strReserved7, m_strReserved1, m_strReserved2, m_strReserved3, m_strProjectTitle);
  TransferMemberChoices(ar);
  Transfer(ar, m_dwReserved2, m_dwReserved3);
  // The compiled-file name stands twice; on loading the second copy wins.
  Transfer(ar, m_strHelpContentsFile, m_strHelpIndexFile, m_strHelpCompiledFile, m_strHelpProjectFile,
           m_strHelpCompiledFile, m_strHelpTitle, m_strHelpDefaultTopic);
  TransferInt(ar, m_nComponentId);
  Transfer(ar, m_dwReserved4, m_dwReserved5);
  Transfer(ar, m_strReserved4, m_strReserved5, m_strReserved6);
  SerializeOptionsAndAuthor(ar);
  Transfer(ar, m_crChartBack, m_crBaseClass, m_crDerivedClass, m_crComponentClass);
  Transfer(ar, m_strDescription);
  m_DocTitleList.Serialize(ar);
  if (ar.IsLoading()) {
    RepairLoadedLanguage();
    if (GetShadowSize() >= kShadowSizeLimit) SetShadowSize(kDefaultShadowSize);
  }
}

// The run both layouts share: reserved numbers, option words, output language, the author
// texts and the reserved text that ends them.
void CWorkSpaceObj::SerializeOptionsAndAuthor(CArchive& ar) {
  Transfer(ar, m_dwReserved6, m_dwReserved7, m_dwReserved8);
  TransferOptions(ar, m_dwOptions);
  Transfer(ar, m_strReserved8, m_dwReserved9);
  TransferInt(ar, m_nOutputLanguage);
  Transfer(ar, m_dwReserved10);
  Transfer(ar, m_strAuthor, m_strDepartment, m_strEmail, m_strHomePage, m_strCompany, m_strCopyright);
  Transfer(ar, m_dwReserved11, m_strReserved9);
}

void CWorkSpaceObj::SerializeSettings(CArchive& ar) {
  Transfer(ar, m_strReserved7, m_strReserved1, m_strReserved2, m_strReserved3, m_strProjectTitle);
  TransferMemberChoices(ar);
  Transfer(ar, m_dwReserved2, m_dwReserved3, m_dwReserved4, m_dwReserved5);
  Transfer(ar, m_strReserved4, m_strReserved5, m_strReserved6);
  SerializeOptionsAndAuthor(ar);
  m_DocTitleList.Serialize(ar);
  if (ar.IsLoading()) RepairLoadedLanguage();
}

void CWorkSpaceObj::ResetMemberChoices() {
  m_bDocProtectedFunctions = m_bDocPublicFunctions = m_bDocPrivateFunctions = TRUE;
  m_bDocProtectedVariables = m_bDocPublicVariables = m_bDocPrivateVariables = TRUE;
}

// The choices go with the project, so a restart or another project never documents members its
// user left out, nor leaves out members it asked for; a project that stored none lists them all.
void CWorkSpaceObj::TransferMemberChoices(CArchive& ar) {
  BOOL* const choices[] = {&m_bDocProtectedFunctions, &m_bDocPublicFunctions, &m_bDocPrivateFunctions,
                           &m_bDocProtectedVariables, &m_bDocPublicVariables, &m_bDocPrivateVariables};
  if (ar.IsStoring()) {
    DWORD dwLeftOut = 0;
    for (int i = 0; i < 6; ++i)
      if (!*choices[i]) dwLeftOut |= DWORD{1} << i;
    m_dwReserved1 = (m_dwReserved1 & ~kLeftOutMembers) | dwLeftOut;
  }
  Transfer(ar, m_dwReserved1);
  if (ar.IsLoading())
    for (int i = 0; i < 6; ++i) *choices[i] = (m_dwReserved1 & (DWORD{1} << i)) == 0 ? TRUE : FALSE;
}

// The writers index their tables by the language, so anything outside the three becomes English.
void CWorkSpaceObj::RepairLoadedLanguage() {
  if (m_nOutputLanguage < LANGUAGE_CHS || m_nOutputLanguage > LANGUAGE_ENG) m_nOutputLanguage = LANGUAGE_ENG;
}

// The project file's save: create, share exclusive, write (0x1011).
constexpr UINT kProjectSaveFlags = CFile::modeCreate | CFile::shareExclusive | CFile::modeWrite;

BOOL CWorkSpaceObj::SaveToFile(LPCTSTR lpszPathName) {
  const BOOL bSaved = SaveRecordToFile(*this, new CMirrorFile, lpszPathName, kProjectSaveFlags);
  if (bSaved) MarkUnmodified();
  return bSaved;
}

BOOL CWorkSpaceObj::SaveAndReport(LPCTSTR lpszPathName) {
  const BOOL bSaved = SaveRecordToFile(*this, new CMirrorFile, lpszPathName, kProjectSaveFlags, [&](CException* e) {
    ReportSaveLoadException(lpszPathName, e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
  });
  if (bSaved) MarkUnmodified();
  return bSaved;
}

BOOL CWorkSpaceObj::LoadFromFile(LPCTSTR lpszPathName) {
  // What the file may overwrite, kept to put back when it turns out damaged.
  CMemFile saved;
  {
    CArchive ar(&saved, CArchive::store);
    CWorkSpaceObj::Serialize(ar);
    ar.Close();
  }
  CFile* pFile = new CFile;
  if (!pFile->Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite)) {
    delete pFile;
    return FALSE;
  }
  // The titles are those of the project being opened, never added to the previous one's.
  m_DocTitleList.RemoveAll();
  // Nor are the member choices the previous one's, even from a file that holds nothing.
  ResetMemberChoices();
  BOOL bLoaded = TransferRecordFile(*this, pFile, CArchive::load);
  if (!bLoaded) {
    m_DocTitleList.RemoveAll();
    saved.SeekToBegin();
    CArchive ar(&saved, CArchive::load);
    CWorkSpaceObj::Serialize(ar);
  } else {
    MarkUnmodified();
  }
  return bLoaded;
}

void CWorkSpaceObj::ReleaseFile(CFile* pFile, BOOL bAbort) { ReleaseRecordFile(pFile, bAbort); }

void CWorkSpaceObj::ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault) {
  if (e != nullptr && e->IsKindOf(RUNTIME_CLASS(CUserException))) return;
  CString strPrompt;
  UINT nIDP = nIDPDefault;
  if (e != nullptr && e->IsKindOf(RUNTIME_CLASS(CArchiveException))) {
    switch (static_cast<CArchiveException*>(e)->m_cause) {
      case CArchiveException::endOfFile:
      case CArchiveException::badIndex:
      case CArchiveException::badClass:
      case CArchiveException::badSchema:
        nIDP = AFX_IDP_FAILED_INVALID_FORMAT;
        break;
      default:
        break;
    }
  } else if (e != nullptr && e->IsKindOf(RUNTIME_CLASS(CFileException))) {
    TCHAR szText[256];
    if (e->GetErrorMessage(szText, sizeof szText)) {
      strPrompt = szText;
    } else {
      switch (static_cast<CFileException*>(e)->m_cause) {
        case CFileException::fileNotFound:
        case CFileException::badPath:
          nIDP = AFX_IDP_FAILED_INVALID_PATH;
          break;
        case CFileException::accessDenied:
          nIDP = bSaving ? AFX_IDP_FAILED_ACCESS_WRITE : AFX_IDP_FAILED_ACCESS_READ;
          break;
        case CFileException::diskFull:
          nIDP = AFX_IDP_FAILED_DISK_FULL;
          break;
        default:
          break;
      }
    }
  }
  if (strPrompt.IsEmpty()) strPrompt.LoadString(nIDP);
  strPrompt.Replace("%1", LeftBytes(lpszPathName != nullptr ? lpszPathName : "", MAX_PATH));
  GetShellServices()->ShowMessage(strPrompt, MB_ICONEXCLAMATION | MB_OK);
}

void CWorkSpaceObj::DeleteAllFileObjs() {
  m_WorkFileObjList.RemoveAll();
  DeleteAll(m_FileObjList);
  m_analysedHeaders.clear();
}
void CWorkSpaceObj::DeleteAllIconResObjs() { DeleteAll(m_IconResObjList); }
void CWorkSpaceObj::DeleteAllResIDObjs() { DeleteAll(m_ResIDObjList); }
void CWorkSpaceObj::DeleteAllDbpFileObjs() { DeleteAll(m_DbpFileObjList); }
void CWorkSpaceObj::DeleteAllRptFileObjs() { DeleteAll(m_RptFileObjList); }
void CWorkSpaceObj::DeleteAllMenuFileObjs() { DeleteAll(m_MenuFileObjList); }

CFileObj* CWorkSpaceObj::FindClassByName(CString strClassName) const {
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    CFileObj* pClass = m_FileObjList.GetNext(pos);
    if (pClass->m_strClassName == strClassName) return pClass;
  }
  return nullptr;
}

BOOL CWorkSpaceObj::IsProjectClass(CString strClassName) const { return FindClassByName(strClassName) != nullptr; }

void CWorkSpaceObj::ReopenDocuments() {
  auto endsWith = [](const CString& str, LPCTSTR lpszEnd) { return str.Right(static_cast<int>(std::strlen(lpszEnd))) == lpszEnd; };
  ShellServices* pShell = GetShellServices();
  for (POSITION pos = m_DocTitleList.GetHeadPosition(); pos != nullptr;) {
    CString strTitle = m_DocTitleList.GetNext(pos);
    strTitle.MakeLower();
    if (endsWith(strTitle, ".h"))
      pShell->OpenDiagramFile(strTitle);
    else if (endsWith(strTitle, ".xrs") || endsWith(strTitle, ".dbp") || endsWith(strTitle, ".xms") ||
             endsWith(strTitle, ".rpp"))
      pShell->OpenFormFile(strTitle);
    else if (endsWith(strTitle, ".cpp") || endsWith(strTitle, ".txt") || endsWith(strTitle, ".htm"))
      pShell->OpenDiagramFile(strTitle);
  }
}
