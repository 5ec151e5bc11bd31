// What the editor asks of the application: the extension map, the fixed font, the main frame's
// flashing, MDI client and pending search. The application installs its services at start-up;
// until then the defaults answer (no extension known, no font, no main frame, no search).
#pragma once

#include "core/CString.h"

class CFont;

class GWExtAppServices {
 public:
  virtual ~GWExtAppServices() = default;
  // The editor language of a file extension (with its dot, lower case); FALSE when unknown.
  virtual BOOL LookupExtension(LPCTSTR extension, CString& language) {
    (void)extension;
    (void)language;
    return FALSE;
  }
  // The application's fixed-pitch font, or null.
  virtual CFont* GetFixedFont() { return nullptr; }
  // Whether the main window is the application's main frame (which can flash and owns the MDI client).
  virtual BOOL IsMainFrame() { return FALSE; }
  // Flashes the main window's caption until the main frame is active.
  virtual void FlashUntilActive() {}
  // The main frame's MDI client window, or null.
  virtual HWND GetMDIClient() { return nullptr; }
  // The main frame's pending search: the text when one is pending (TRUE), and its clearing.
  virtual BOOL GetPendingSearch(CString& text) {
    (void)text;
    return FALSE;
  }
  virtual void ClearPendingSearch() {}
};

// The installed services (never null: the defaults until the application installs its own).
GWExtAppServices* GWExtGetAppServices();
// Installs services (null restores the defaults) and returns the previous ones; not owned.
GWExtAppServices* GWExtSetAppServices(GWExtAppServices* services);
