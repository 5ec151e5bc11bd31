// CInkwrightEditorServices: what the code editor asks of the application (the extension map,
// the fixed font, the main frame's flashing, MDI client and pending search), installed at
// start-up and removed at exit.
#pragma once

#include "editor/app/GWExtAppServices.h"

class CInkwrightApp;

class CInkwrightEditorServices : public GWExtAppServices {
 public:
  explicit CInkwrightEditorServices(CInkwrightApp& app) : m_app(app) {}

  BOOL LookupExtension(LPCTSTR extension, CString& language) override;
  CFont* GetFixedFont() override;
  BOOL IsMainFrame() override;
  void FlashUntilActive() override;
  HWND GetMDIClient() override;
  BOOL GetPendingSearch(CString& text) override;
  void ClearPendingSearch() override;

 private:
  CInkwrightApp& m_app;
};
