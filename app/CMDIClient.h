// CMDIClient: the main frame's MDI client seen by the application. After the platform has listed
// the windows in the window menu, it takes out the entries for more windows and ends the menu
// with one item that opens the Windows dialog.
#pragma once

#include "afx/CWnd.h"

class CMDIClient : public CWnd {
  DECLARE_DYNAMIC(CMDIClient)

 public:
  // The command of the window menu's last item, which opens the Windows dialog.
  static constexpr UINT kWindowDialogCommand = 32783;

  CMDIClient();
  ~CMDIClient() override;

  // Hooks the MDI client's window procedure. The client may already belong to another framework
  // object (the workbook's): this one then sees the messages first and hands every message it
  // does not take, and the default handling of those it does, on to that object.
  BOOL SubclassWindow(HWND hWnd);
  // Gives the window procedure back (also done when the window or this object is destroyed).
  void Unhook();

  // Ends the window menu with exactly one kWindowDialogCommand item titled strTitle, after the
  // list of windows or a separator: every item for more windows, every earlier such item and
  // doubled separators are removed; the new item takes the state the more-windows item had
  // (enabled when there was none).
  static void RebuildWindowMenu(HMENU hMenu, const CString& strTitle);

  CString m_strWindowListTitle;  // "Window manager" in GB2312
  HMENU m_hWindowMenu = nullptr;  // the current window menu, NULL until the client is given one

 protected:
  afx_msg LRESULT OnMDISetMenu(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMDIRefreshMenu(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  static LRESULT CALLBACK HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  WNDPROC m_pfnHooked = nullptr;  // the procedure the client had before the hook
};
