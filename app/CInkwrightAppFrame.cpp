// What the application object asks of the main frame and the shell's own windows: the document
// templates' classes, the frame itself, the splash, the tip dialog, the message box, the about box,
// the open documents' titles, the project's re-analysis and the explorer bar.
#include "app/CInkwrightApp.h"

#include "app/CClassHirChildWnd.h"
#include "app/CClassHirView.h"
#include "app/CClassHitDoc.h"
#include "bars/SECSplashWnd.h"
#include "bars/SECWorkbook.h"
#include "bars/SECWorksheet.h"
#include "editor/app/CEditCodeView.h"
#include "editor/doc/CEditCodeDoc.h"
#include "model/CWorkSpaceObj.h"
#include "resources/ShellRes.h"

void CInkwrightApp::RegisterTemplates() {
  // The source files' own child frame and the project template come with the shell's child
  // frames; until then source files open in the workbook's plain worksheet.
  m_pFileTemplate = new CMultiDocTemplate(IDR_BRAMBOLT_FILE, RUNTIME_CLASS(CEditCodeDoc), RUNTIME_CLASS(SECWorksheet),
                                          RUNTIME_CLASS(CEditCodeView));
  AddDocTemplate(m_pFileTemplate);
  m_pClassHirTemplate = new CMultiDocTemplate(IDR_CLASS_HIR, RUNTIME_CLASS(CClassHitDoc),
                                              RUNTIME_CLASS(CClassHirChildWnd), RUNTIME_CLASS(CClassHirView));
  AddDocTemplate(m_pClassHirTemplate);
}

BOOL CInkwrightApp::CreateMainFrame() {
  auto* pFrame = new SECWorkbook;
  if (!pFrame->LoadFrame(IDR_APP_FRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
    // A frame whose window was never made is not deleted by its window.
    if (pFrame->GetSafeHwnd() == nullptr) delete pFrame;
    return FALSE;
  }
  m_pMainWnd = pFrame;
  return TRUE;
}

void CInkwrightApp::ShowSplash() {
  // The bitmap comes with the shell's status bar and splash; without it there is nothing to show.
  HINSTANCE hInst = AfxGetResourceHandle();
  if (::FindResource(hInst, MAKEINTRESOURCE(IDB_APP_SPLASH), RT_BITMAP) == nullptr) return;
  auto* pSplash = new SECSplashWnd(IDB_APP_SPLASH, 3000);
  if (!pSplash->Create(m_pMainWnd, WS_POPUP | WS_VISIBLE)) return;
  pSplash->ShowWindow(SW_SHOW);
  pSplash->BringWindowToTop();
}

void CInkwrightApp::RunTipDialog(const CString& /*strTipsFile*/, int& /*nCurrentTip*/, int& /*bShowAtStartup*/) {
  // The tip dialog comes with the shell's status bar and splash.
}

int CInkwrightApp::ShowExtMessageBox(HWND hOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
  return brambolt::afx::GetMessageBoxPresenter()(hOwner, lpszText, lpszCaption, nType);
}

void CInkwrightApp::OnAppAbout() {}

void CInkwrightApp::CollectOpenDocumentNames(CStringList& list) {
  list.RemoveAll();
  auto* pFrame = dynamic_cast<CMDIFrameWnd*>(m_pMainWnd);
  if (pFrame == nullptr || pFrame->m_hWndMDIClient == nullptr) return;
  for (HWND hChild = ::GetWindow(pFrame->m_hWndMDIClient, GW_CHILD); hChild != nullptr;
       hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
    char szTitle[257] = {};
    ::GetWindowTextA(hChild, szTitle, 256);
    list.AddTail(szTitle);
  }
}

BOOL CInkwrightApp::ReanalyseProject() {
  if (IsProjectOpen()) {
    m_pWorkSpace->DeleteAllFileObjs();
    m_pWorkSpace->AnalyseProjectFiles(m_strProjectFolder + "Header Files\\*.*");
  }
  return TRUE;
}

void CInkwrightApp::ShowProjectExplorer(BOOL /*bShow*/) {}

void CInkwrightApp::SetMainWindowTitle(const CString& strTitle) {
  if (m_pMainWnd != nullptr) m_pMainWnd->SetWindowText(strTitle);
}

const CGenMenuObjList* CInkwrightApp::GetComponentList() { return nullptr; }

BOOL CInkwrightApp::RunOrganizeFilesDialog() { return FALSE; }

// The main frame's status bar, explorer, flashing and pending search come with the main frame.
CString CInkwrightApp::GetComponentText(int /*nComponentId*/) { return CString(); }

void CInkwrightApp::BeginStatusProgress(LPCTSTR, int, int, BOOL, DWORD) {}

void CInkwrightApp::SetStatusProgress(int) {}

void CInkwrightApp::EndStatusProgress() {}

void CInkwrightApp::RefreshOutputTree(BOOL /*bBringToFront*/) {}

BOOL CInkwrightApp::HasMainFrame() { return FALSE; }

void CInkwrightApp::FlashMainFrame() {}

HWND CInkwrightApp::GetMDIClientWindow() {
  auto* pFrame = dynamic_cast<CMDIFrameWnd*>(m_pMainWnd);
  return pFrame != nullptr ? pFrame->m_hWndMDIClient : nullptr;
}

BOOL CInkwrightApp::GetPendingSearch(CString& /*strText*/) { return FALSE; }

void CInkwrightApp::ClearPendingSearch() {}
