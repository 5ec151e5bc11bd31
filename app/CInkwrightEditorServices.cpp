// The code editor's services, answered by the application object and its main frame.
#include "app/CInkwrightEditorServices.h"

#include "app/CInkwrightApp.h"

BOOL CInkwrightEditorServices::LookupExtension(LPCTSTR extension, CString& language) {
  return m_app.m_mapExtToLanguage.Lookup(extension, language);
}

CFont* CInkwrightEditorServices::GetFixedFont() {
  return g_fontFixedsys.GetSafeHandle() != nullptr ? &g_fontFixedsys : nullptr;
}

BOOL CInkwrightEditorServices::IsMainFrame() { return m_app.HasMainFrame(); }

void CInkwrightEditorServices::FlashUntilActive() { m_app.FlashMainFrame(); }

HWND CInkwrightEditorServices::GetMDIClient() { return m_app.GetMDIClientWindow(); }

BOOL CInkwrightEditorServices::GetPendingSearch(CString& text) { return m_app.GetPendingSearch(text); }

void CInkwrightEditorServices::ClearPendingSearch() { m_app.ClearPendingSearch(); }
