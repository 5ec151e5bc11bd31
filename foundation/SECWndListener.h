// SECWndListener: a plug-in that hooks its window's procedure (or a dialog's dialog procedure).
// The listeners of one window form a chain that sees every message in the order they joined.
#pragma once

#include "SECWndPlugIn.h"
#include "core/CTypedPtr.h"

namespace kelpwood::foundation {

class SECWndListener;

// One per hooked window, from the first listener's arrival to the last one's departure.
struct SECWndListener_MsgProcInfo_tag {
  DWORD dwSize = 16;
  // Exactly one of the two is set: the chain replaced the window procedure or the dialog procedure.
  WNDPROC lpfnOldWndProc = nullptr;
  DLGPROC lpfnOldDlgProc = nullptr;
  // In chain order; owned by the record.
  CTypedPtrList<CPtrList, SECWndListener*>* pListeners = nullptr;

  // Dispatches of this window under way. A record left by its last listener while one runs
  // stays alive (detached) until the outermost dispatch ends.
  int nDispatching = 0;
  BOOL bDetached = FALSE;
  // The flags of listeners that left the chain while their handler ran.
  int nFlagsOfLeavers = 0;
};

class SECWndListener : public SECWndPlugIn {
  DECLARE_DYNAMIC(SECWndListener)

 public:
  // Later listeners of the chain do not see the message.
  static constexpr int kStopChain = 1;
  // The window's own procedure does not see it; the chain returns the shared result.
  static constexpr int kSkipWindow = 2;

  SECWndListener();
  // Leaves the chain first when still in it.
  ~SECWndListener() override;

  int m_nListenerFlags;
  HWND m_hWndListened;

  // A listener's verdict is never used.
  void SetMsgReturn(BOOL bReturn) override;
  // Joins the window's chain; FALSE for a null window or one without a window handle.
  BOOL PlugInTo(CWnd* pWnd) override;
  void UnPlug() override;

  virtual BOOL Listen(CWnd* pWnd, DWORD dwData);
  virtual void SetListenerFlags(int nFlags);
  virtual BOOL OnListenMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnListenMsg(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL JoinChain(CWnd* pWnd);
  virtual BOOL AddToChain(SECWndListener_MsgProcInfo_tag* pInfo);
  virtual BOOL CreateChain(HWND hWnd);
  // TRUE when the window has no dialog procedure, so the chain replaces its window procedure.
  virtual BOOL HookWindowProc(HWND hWnd);
  virtual BOOL RemoveFromChain();

  // The registered message "ot.Listener.RemoveFromChain": wParam is a chain's hook, lParam the
  // procedure that hook saved.
  static UINT GetRemoveFromChainMessage();
  // The chain record of hWnd, or null.
  static SECWndListener_MsgProcInfo_tag* LookupChain(HWND hWnd);

 protected:
  // A listener never handles a notification, so nothing is reflected to the controls twice.
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  DECLARE_MESSAGE_MAP()
};

}  // namespace kelpwood::foundation
