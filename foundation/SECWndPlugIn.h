// SECWndPlugIn: a window object without a window of its own. It borrows another window's handle
// and sees that window's messages and commands through its own message map before the window does.
#pragma once

#include "afx/CWnd.h"

namespace kelpwood::foundation {

class SECWndPlugIn : public CWnd, public IWndPlugIn {
  DECLARE_DYNAMIC(SECWndPlugIn)

 public:
  SECWndPlugIn();
  // Leaves the host window alone: the borrowed handle is dropped before CWnd's destructor runs.
  ~SECWndPlugIn() override;

  // A handler sets this to tell the host that the message is consumed: the host returns the
  // plug-in's result and skips its own processing. Cleared before each message.
  BOOL m_bHandled;
  // A handler sets this before Default(); only then does DefWindowProc reach the default
  // procedure of the borrowed handle. Cleared before each message.
  BOOL m_bCallDefault;
  // Set by SetMsgReturn: the next OnWndMsg answers m_bReturn instead of its own verdict.
  BOOL m_bOverrideReturn;
  BOOL m_bReturn;
  BOOL m_bPluggedIn;

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  virtual void SetMsgReturn(BOOL bReturn);
  // Borrows pWnd's handle. The window's CWnd object (when it has one) then offers every
  // message and command to this plug-in before its own map; FALSE for a null window.
  virtual BOOL PlugInTo(CWnd* pWnd);
  virtual void UnPlug();
  virtual BOOL IsPluggedIn();

  // The host's side: a message is consumed when a handler set m_bHandled, a command when the
  // plug-in's map handled it.
  BOOL PlugInWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  BOOL PlugInCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

 protected:
  // Notifications are routed to the plug-in's map only: reflecting them to the control that
  // sent them is the host's business, or the control would see them twice.
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  // Borrows the handle without asking the host to offer its messages (a listener hooks the
  // window procedure instead).
  BOOL BorrowHandle(CWnd* pWnd);
  // FALSE for plug-ins whose messages come through another road than the host's dispatch.
  BOOL m_bOfferedByHost = TRUE;

  DECLARE_MESSAGE_MAP()

 private:
  void LeaveHost();

  // The host that offers this plug-in its messages, and the handle it had then.
  CWnd* m_pHost = nullptr;
  HWND m_hWndHost = nullptr;
  // A handler may delete the plug-in (a listener that ends a mode): the destructor tells the
  // innermost watch, and nothing of the object is read afterwards.
  class DeletionWatch {
   public:
    explicit DeletionWatch(SECWndPlugIn* pPlugIn);
    ~DeletionWatch();
    DeletionWatch(const DeletionWatch&) = delete;
    DeletionWatch& operator=(const DeletionWatch&) = delete;
    bool Gone();

   private:
    SECWndPlugIn* m_pPlugIn;
    bool* m_pbOuter;
    bool m_bDestroyed = false;
  };
  bool* m_pbDestroyed = nullptr;
};

}  // namespace kelpwood::foundation
