// The file drop list.
#include "app/CFileDropListCtrl.h"

#include <algorithm>
#include <vector>

#include "afx/CWinApp.h"
#include "backend/DropFiles.h"
#include "base/Convert.h"
#include "ole/Automation.h"
#include "ole/ShellLink.h"
#include "os/FileApi.h"

BEGIN_MESSAGE_MAP(CFileDropListCtrl, CListCtrl)
  ON_WM_CREATE()
  ON_WM_DROPFILES()
END_MESSAGE_MAP()

CFileDropListCtrl::CFileDropListCtrl() {
  const HRESULT hr = OleInitialize(nullptr);
  if (FAILED(hr))
    AfxMessageBox("OLE initialization failed.\n\nMake sure that the OLE libraries are the correct version.");
  else
    m_bMustUninitOLE = hr == S_OK;
}

CFileDropListCtrl::~CFileDropListCtrl() {
  if (m_bMustUninitOLE) OleUninitialize();
}

BOOL CFileDropListCtrl::SetDropMode(const DROPLISTMODE& dropMode) {
  if ((dropMode.iMask & DL_USE_CALLBACK) && dropMode.pfnCallback == nullptr) return FALSE;
  m_dropMode = dropMode;
  return TRUE;
}

void CFileDropListCtrl::PreSubclassWindow() {
  CListCtrl::PreSubclassWindow();
  DragAcceptFiles(m_hWnd, TRUE);
}

int CFileDropListCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CListCtrl::OnCreate(lpCreateStruct) == -1) return -1;
  DragAcceptFiles(m_hWnd, TRUE);
  return 0;
}

int CFileDropListCtrl::InsertPathItem(LPCTSTR lpszPath) {
  if (!(m_dropMode.iMask & DL_ALLOW_DUPLICATES))
    for (int i = 0; i < GetItemCount(); ++i)
      if (GetItemText(i, 0) == lpszPath) return -1;
  return InsertItem(0, lpszPath);
}

CString CFileDropListCtrl::ExpandShortcut(const CString& strPath) {
  if (strPath.IsEmpty()) return CString();
  IShellLink* pLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLink,
                              reinterpret_cast<void**>(&pLink))))
    return CString();
  CString strTarget;
  IPersistFile* pFile = nullptr;
  if (SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile)))) {
    const std::u16string wide = brambolt::AnsiToWide(static_cast<LPCTSTR>(strPath));
    if (SUCCEEDED(pFile->Load(reinterpret_cast<LPCOLESTR>(wide.c_str()), STGM_READ))) {
      // No fixed limit on the target's length: Linux paths may be long.
      std::vector<char> buffer(4096);
      if (SUCCEEDED(pLink->GetPath(buffer.data(), static_cast<int>(buffer.size()), nullptr, SLGP_UNCPRIORITY)))
        strTarget = buffer.data();
    }
    pFile->Release();
  }
  pLink->Release();
  return strTarget;
}

UINT CFileDropListCtrl::AcceptedKind(const CString& strPath) const {
  const DWORD dwAttributes = GetFileAttributes(strPath);
  if (dwAttributes == INVALID_FILE_ATTRIBUTES) return 0;
  if (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) return (m_dropMode.iMask & DL_ACCEPT_FOLDERS) ? DL_FOLDER_TYPE : 0;
  if (!(m_dropMode.iMask & DL_ACCEPT_FILES)) return 0;
  if (m_dropMode.iMask & DL_FILTER_EXTENSION) {
    const int nDot = strPath.ReverseFind('.');
    const int nSlash = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
    const CString strExtension = nDot > nSlash ? strPath.Mid(nDot) : CString();
    if (strExtension.CompareNoCase(m_dropMode.csFileExt) != 0) return 0;
  }
  return DL_FILE_TYPE;
}

void CFileDropListCtrl::OnDropFiles(HDROP hDropInfo) {
  const UINT nFiles = DragQueryFile(hDropInfo, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < nFiles; ++i) {
    std::vector<char> buffer(DragQueryFile(hDropInfo, i, nullptr, 0) + 1);
    DragQueryFile(hDropInfo, i, buffer.data(), static_cast<UINT>(buffer.size()));
    CString strPath = buffer.data();
    const CString strTarget = ExpandShortcut(strPath);
    if (!strTarget.IsEmpty()) strPath = strTarget;
    const UINT nKind = AcceptedKind(strPath);
    if (nKind == 0) continue;
    if ((m_dropMode.iMask & DL_USE_CALLBACK) && m_dropMode.pfnCallback != nullptr)
      m_dropMode.pfnCallback(this, strPath, nKind);
    else
      InsertPathItem(strPath);
  }
  DragFinish(hDropInfo);
}
