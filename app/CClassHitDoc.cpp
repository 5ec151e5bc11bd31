// The picture document.
#include "app/CClassHitDoc.h"

#include "afx/CFileDialog.h"
#include "os/FileApi.h"
#include "win/MessageBox.h"

namespace {
const char kOpenFilter[] =
    "Picture Files (bmp.dib.emf.gif.ico.jpg.wmf)|*.bmp;*.dib;*.emf;*.gif;*.ico;*.jpg;*.wmf|BMP (*.bmp)|*.bmp|"
    "DIB (*.dib)|*.dib|EMF (*.emf)|*.emf|GIF (*.gif)|*.gif|ICO (*.ico)|*.ico|JPG (*.jpg)|*.jpg|WMF (*.wmf)|*.wmf|"
    "All Files (*.*)|*.*||";
const char kSaveFilter[] = "BMP - Bitmap picture (*.bmp)|*.bmp;ico|ICO - 16 Color Icon (*.ico)|*.ico;bmp||";
const char kSaveTitle[] = "Save picture as a Bitmap (BMP/ICO) file";

LPCTSTR ExtensionFor(DWORD nFilterIndex) { return nFilterIndex == 2 ? "ico" : "bmp"; }

// The picture's Save As dialog asks before any file is replaced: a name typed without an
// extension gets the chosen kind's before the dialog looks for the file, and a name with another
// extension, which the kind's is added to after it, is asked about when that file exists.
class CPictureSaveDialog : public CFileDialog {
 public:
  CPictureSaveDialog()
      : CFileDialog(FALSE, ExtensionFor(1), nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST,
                    kSaveFilter) {
    m_ofn.lpstrTitle = kSaveTitle;
  }

 protected:
  void OnTypeChange() override { SetDefExt(ExtensionFor(m_ofn.nFilterIndex)); }
  BOOL OnFileNameOK() override {
    const OPENFILENAME& ofn = m_pofnTemp != nullptr ? *m_pofnTemp : m_ofn;
    const CString strChosen = ofn.lpstrFile;
    const CString strTarget = CClassHitDoc::FormSaveName(strChosen, ofn.nFilterIndex);
    if (strTarget == strChosen || ::GetFileAttributes(strTarget) == INVALID_FILE_ATTRIBUTES) return FALSE;
    const CString strQuestion = strTarget + " already exists.\nDo you want to replace it?";
    HWND hDialog = (GetStyle() & WS_CHILD) != 0 ? ::GetParent(m_hWnd) : m_hWnd;
    return ::MessageBox(hDialog, strQuestion, kSaveTitle, MB_YESNO | MB_ICONEXCLAMATION) != IDYES;
  }
};

}  // namespace

IMPLEMENT_DYNCREATE(CClassHitDoc, CDocument)

BEGIN_MESSAGE_MAP(CClassHitDoc, CDocument)
  ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
  ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

BOOL CClassHitDoc::OnNewDocument() {
  CDocument::OnNewDocument();
  return TRUE;
}

BOOL CClassHitDoc::OnOpenDocument(LPCTSTR lpszPathName) {
  return CDocument::OnOpenDocument(lpszPathName) && OpenPicture(lpszPathName);
}

BOOL CClassHitDoc::OpenPicture(LPCTSTR lpszPath) {
  CPicture picture;
  if (!picture.LoadFromFile(lpszPath)) return FALSE;
  m_Picture.Swap(picture);
  m_strPendingPath = lpszPath;
  UpdateAllViews(nullptr);
  return TRUE;
}

BOOL CClassHitDoc::OnSaveDocument(LPCTSTR lpszPathName) {
  m_strPendingPath = lpszPathName;
  SetModifiedFlag(FALSE);
  return TRUE;
}

CString CClassHitDoc::FormSaveName(const CString& strTyped, DWORD nFilterIndex) {
  const CString strExtension = ExtensionFor(nFilterIndex);
  const int nDot = strTyped.ReverseFind('.');
  const int nSlash = std::max(strTyped.ReverseFind('\\'), strTyped.ReverseFind('/'));
  if (nDot > nSlash && strTyped.Mid(nDot + 1).CompareNoCase(strExtension) == 0) return strTyped;
  CString strTarget;
  strTarget.Format("%s.%s", static_cast<LPCTSTR>(strTyped), static_cast<LPCTSTR>(strExtension));
  return strTarget;
}

void CClassHitDoc::OnFileOpen() {
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kOpenFilter);
  dialog.m_ofn.lpstrTitle = "Open a picture file";
  if (dialog.DoModal() != IDOK) return;
  OpenPicture(dialog.GetPathName());
}

void CClassHitDoc::OnFileSaveAs() {
  CPictureSaveDialog dialog;
  if (dialog.DoModal() != IDOK) return;
  // What was written is shown as it reads back, and the document is that file from now on: the
  // recent files and a saved workspace name it, as after the Save As of any other document.
  const CString strTarget = FormSaveName(dialog.GetPathName(), dialog.m_ofn.nFilterIndex);
  if (m_Picture.SaveToFile(strTarget) && OpenPicture(strTarget)) SetPathName(strTarget);
}
