// The picture document.
#include "app/CClassHitDoc.h"

#include "afx/CFileDialog.h"

namespace {
const char kOpenFilter[] =
    "Picture Files (bmp.dib.emf.gif.ico.jpg.wmf)|*.bmp;*.dib;*.emf;*.gif;*.ico;*.jpg;*.wmf|BMP (*.bmp)|*.bmp|"
    "DIB (*.dib)|*.dib|EMF (*.emf)|*.emf|GIF (*.gif)|*.gif|ICO (*.ico)|*.ico|JPG (*.jpg)|*.jpg|WMF (*.wmf)|*.wmf|"
    "All Files (*.*)|*.*||";
const char kSaveFilter[] = "BMP - Bitmap picture (*.bmp)|*.bmp;ico|ICO - 16 Color Icon (*.ico)|*.ico;bmp||";
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
  const CString strExtension = nFilterIndex == 2 ? "ico" : "bmp";
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
  CFileDialog dialog(FALSE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, kSaveFilter);
  dialog.m_ofn.lpstrTitle = "Save picture as a Bitmap (BMP/ICO) file";
  if (dialog.DoModal() != IDOK) return;
  // What was written is shown as it reads back.
  const CString strTarget = FormSaveName(dialog.GetPathName(), dialog.m_ofn.nFilterIndex);
  if (m_Picture.SaveToFile(strTarget)) OpenPicture(strTarget);
}
