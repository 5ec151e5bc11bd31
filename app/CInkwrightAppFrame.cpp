// What the application object asks of the main frame and the shell's own windows: the document
// templates' classes, the frame itself, the splash, the tip dialog, the message box, the about box,
// the open documents' titles, the project's re-analysis, the explorer's trees, the status-bar
// progress, the caption flashing and the pending search.
#include "app/CAboutDlg.h"
#include "app/CChildFrame.h"
#include "app/CClassHirChildWnd.h"
#include "app/CClassHirView.h"
#include "app/CClassHitDoc.h"
#include "app/CInkwrightApp.h"
#include "app/CMainFrame.h"
#include "app/CMySplashWnd.h"
#include "app/COrgSourceFileDlg.h"
#include "app/COurOwnTipDlg.h"
#include "app/CProjectChildWnd.h"
#include "app/CProjectDoc.h"
#include "app/CProjectView.h"
#include "app/DatabaseView.h"
#include "app/ExtMessageBox.h"
#include "editor/app/CEditCodeView.h"
#include "editor/doc/CEditCodeDoc.h"
#include "model/CWorkSpaceObj.h"
#include "resources/ShellRes.h"

namespace {

CMainFrame* MainFrameOf(CWnd* pMainWnd) { return dynamic_cast<CMainFrame*>(pMainWnd); }

}  // namespace

void CInkwrightApp::RegisterTemplates() {
  m_pFileTemplate = new CMultiDocTemplate(IDR_BRAMBOLT_FILE, RUNTIME_CLASS(CEditCodeDoc), RUNTIME_CLASS(CChildFrame),
                                          RUNTIME_CLASS(CEditCodeView));
  AddDocTemplate(m_pFileTemplate);
  m_pProjectTemplate = new CMultiDocTemplate(IDR_BRAMBOLT_PROJECT, RUNTIME_CLASS(CProjectDoc),
                                             RUNTIME_CLASS(CProjectChildWnd), RUNTIME_CLASS(CProjectView));
  AddDocTemplate(m_pProjectTemplate);
  m_pClassHirTemplate = new CMultiDocTemplate(IDR_CLASS_HIR, RUNTIME_CLASS(CClassHitDoc),
                                              RUNTIME_CLASS(CClassHirChildWnd), RUNTIME_CLASS(CClassHirView));
  AddDocTemplate(m_pClassHirTemplate);
}

BOOL CInkwrightApp::CreateMainFrame() {
  auto* pFrame = new CMainFrame;
  if (!pFrame->LoadFrame(IDR_APP_FRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
    // A frame whose window was never made is not deleted by its window.
    if (pFrame->GetSafeHwnd() == nullptr) delete pFrame;
    return FALSE;
  }
  m_pMainWnd = pFrame;
  return TRUE;
}

void CInkwrightApp::ShowSplash() {
  // The splash deletes itself when its time is up.
  auto* pSplash = new CMySplashWnd(IDB_APP_SPLASH, 3000);
  if (!pSplash->Create(m_pMainWnd, WS_POPUP | WS_VISIBLE)) return;
  pSplash->ShowWindow(SW_SHOW);
  pSplash->BringWindowToTop();
}

void CInkwrightApp::RunTipDialog(const CString& strTipsFile, int& nCurrentTip, int& bShowAtStartup) {
  COurOwnTipDlg dialog(strTipsFile, nCurrentTip, bShowAtStartup, m_pMainWnd);
  dialog.DoModal();
  nCurrentTip = dialog.m_nCurrentTip;
  bShowAtStartup = dialog.m_bShowAtStartup;
}

int CInkwrightApp::ShowExtMessageBox(HWND hOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
  // A presenter that a program installed (tests do) sees every box; otherwise the system's own.
  const brambolt::afx::MessageBoxPresenter presenter = brambolt::afx::GetMessageBoxPresenter();
  if (presenter != &::MessageBox) return presenter(hOwner, lpszText, lpszCaption, nType);
  return ExtMessageBox(hOwner, lpszText, lpszCaption, nType);
}

void CInkwrightApp::OnAppAbout() {
  CAboutDlg dialog;
  dialog.DoModal();
}

void CInkwrightApp::CollectOpenDocumentNames(CStringList& list) {
  if (CMainFrame* pFrame = MainFrameOf(m_pMainWnd))
    pFrame->CollectOpenDocumentNames(list);
  else
    list.RemoveAll();
}

BOOL CInkwrightApp::ReanalyseProject() {
  if (CMainFrame* pFrame = MainFrameOf(m_pMainWnd)) return pFrame->ReanalyseProject();
  // Without the frame (its creation failed) the records still follow the project.
  if (IsProjectOpen()) {
    m_pWorkSpace->DeleteAllFileObjs();
    m_pWorkSpace->AnalyseProjectFiles(m_strProjectFolder + "Header Files\\*.*");
  }
  return TRUE;
}

void CInkwrightApp::ShowProjectExplorer(BOOL bShow) {
  if (CMainFrame* pFrame = MainFrameOf(m_pMainWnd)) pFrame->ShowProjectExplorer(bShow);
}

void CInkwrightApp::SetMainWindowTitle(const CString& strTitle) {
  if (m_pMainWnd != nullptr) m_pMainWnd->SetWindowText(strTitle);
}

const CGenMenuObjList* CInkwrightApp::GetComponentList() {
  CMainFrame* pFrame = MainFrameOf(m_pMainWnd);
  return pFrame != nullptr ? &pFrame->m_listComponents : nullptr;
}

BOOL CInkwrightApp::RunOrganizeFilesDialog() {
  COrgSourceFileDlg dialog(m_pMainWnd);
  dialog.DoModal();
  return dialog.m_bChanged;
}

CString CInkwrightApp::GetComponentText(int nComponentId) {
  CMainFrame* pFrame = MainFrameOf(m_pMainWnd);
  return pFrame != nullptr ? pFrame->GetComponentName(nComponentId) : CString();
}

void CInkwrightApp::BeginStatusProgress(LPCTSTR lpszText, int nLower, int nUpper, BOOL bFlag, DWORD dwStyle) {
  CMainFrame* pFrame = MainFrameOf(m_pMainWnd);
  if (pFrame != nullptr && pFrame->m_wndStatusBar.GetSafeHwnd() != nullptr)
    pFrame->m_wndStatusBar.InitProgress(lpszText, static_cast<UINT>(nLower), static_cast<UINT>(nUpper), bFlag, dwStyle);
}

void CInkwrightApp::SetStatusProgress(int nPos) {
  CMainFrame* pFrame = MainFrameOf(m_pMainWnd);
  if (pFrame != nullptr && pFrame->m_wndStatusBar.GetSafeHwnd() != nullptr) pFrame->m_wndStatusBar.SetProgressPos(nPos);
}

void CInkwrightApp::EndStatusProgress() {
  CMainFrame* pFrame = MainFrameOf(m_pMainWnd);
  if (pFrame != nullptr && pFrame->m_wndStatusBar.GetSafeHwnd() != nullptr) pFrame->m_wndStatusBar.EndProgress();
}

void CInkwrightApp::RefreshOutputTree(BOOL bBringToFront) {
  CMainFrame* pFrame = MainFrameOf(m_pMainWnd);
  if (pFrame == nullptr) return;
  DatabaseView* pOutput = pFrame->m_wndProjectExplorer.GetDatabaseView();
  if (pOutput == nullptr || pOutput->GetSafeHwnd() == nullptr) return;
  pOutput->Refresh();
  if (bBringToFront) pFrame->m_wndProjectExplorer.m_wndTab.ActivateTab(ProjectWorkspaceWnd::kTabOutput);
}

BOOL CInkwrightApp::HasMainFrame() { return MainFrameOf(m_pMainWnd) != nullptr; }

void CInkwrightApp::FlashMainFrame() {
  if (CMainFrame* pFrame = MainFrameOf(m_pMainWnd)) pFrame->FlashUntilActive();
}

HWND CInkwrightApp::GetMDIClientWindow() {
  auto* pFrame = dynamic_cast<CMDIFrameWnd*>(m_pMainWnd);
  return pFrame != nullptr ? pFrame->m_hWndMDIClient : nullptr;
}

BOOL CInkwrightApp::GetPendingSearch(CString& strText) {
  CMainFrame* pFrame = MainFrameOf(m_pMainWnd);
  if (pFrame == nullptr || !pFrame->m_bFindPending) return FALSE;
  strText = pFrame->m_strFindText;
  return TRUE;
}

void CInkwrightApp::ClearPendingSearch() {
  if (CMainFrame* pFrame = MainFrameOf(m_pMainWnd)) pFrame->m_bFindPending = 0;
}
