// SECMenuBarMessages and SECMenuBarFeature: the menubar's keyboard (Alt alone, Alt with a
// mnemonic, Alt+Space, arrows between menus, Escape) and its popups, one at a time with the next
// one pending, tracked under the buttons with the thread hooks that follow the mouse and keys.
// The feature is a bitmap-menu plug-in on the frame, so it sees the frame's messages first.
#pragma once

#include <optional>

#include "afx/afx.h"
#include "bars/SECBmpMenuPlugIn.h"
#include "bars/SECStdBtn.h"

class SECMenuBar;

// Makes the menubar's hooks the frames' (SECSetMenuBarHooks): the feature they plug in, menu
// switching, the skipped hide and an MDI menubar's child buttons. Every menubar calls it.
void SECInstallMenuBarHooks();

class SECMenuBarMessages {
 public:
  SECMenuBarMessages() = default;
  virtual ~SECMenuBarMessages();
  SECMenuBarMessages(const SECMenuBarMessages&) = delete;
  SECMenuBarMessages& operator=(const SECMenuBarMessages&) = delete;

  // "WM_SECGETMENU" (sent to the frame: wParam a menu id, lParam a position; the popup) and
  // "WM_SEC_MENUPROD" (posted to the frame: move to the next menu in the pending direction).
  static UINT GetMenuMessage();
  static UINT GetMenuProdMessage();
  // TRUE while the frame's system menu is open through the menubar.
  static BOOL IsTrackingSystemMenu();
  // TRUE while a popup of a menubar is open.
  static BOOL IsTrackingPopup();
  // True while the popup that replaces the one just closed is still to open.
  static BOOL IsMenuPending();
  // Sent to the frame when Alt and a menu's letter reach a hidden menubar: non-zero when the
  // frame showed it (full screen brings it back at the top edge), so the menu opens from it.
  static constexpr UINT kRevealMenuBar = 0x703;

  virtual void PostMenuProd(int nDirection);
  virtual void CancelMenu();
  virtual void SetMenu(UINT nMenuID);
  virtual void DropHotMenu();
  virtual void HotTrack(CPoint ptScreen);
  virtual void SetAltSeen() { m_bAltSeen = TRUE; }
  virtual BOOL OnSysIconClick(const MSG* pMsg);
  virtual CWnd* GetFrame() = 0;
  virtual void TrackPopup(SECMenuBar* pBar, HMENU hMenu, const SECBtnNotify& record);
  virtual void TrackSystemMenu(HMENU hMenu);
  virtual void HookMsgFilter(BOOL bOn);
  virtual void HookKeyboardMouse(BOOL bOn);
  // Keys before dispatch; TRUE when the message is consumed.
  virtual BOOL PreTranslateKey(MSG* pMsg);
  virtual void OnMenuSelect() { m_bMenuSelect = TRUE; }
  virtual void OnMenuProd();
  virtual BOOL OnBarNotify(WPARAM wParam, const SECBtnNotify* pRecord, LRESULT* pResult);
  virtual void OnInitMenuPopupKeys();
  virtual void OnSysCommand(UINT nID, LPARAM lParam, BOOL& bHandled);
  virtual void OnNcActivate(BOOL bActive);

  SECMenuBar* m_pMenuBar = nullptr;
  BOOL m_bKeyboardOpen = FALSE;
  BOOL m_bMenuSelect = FALSE;
  int m_nMoveDirection = 0;
  BOOL m_bAltSeen = FALSE;
  // The Alt now held went down where the menubar saw it (not in a dialog that took its letter).
  BOOL m_bAltDownSeen = FALSE;

 protected:
  // The menu a drop record names: a popup of a menu resource (asked of the frame), the frame's
  // system menu, or a menu handle; null when there is none.
  HMENU ResolveMenu(const SECBtnNotify& record, BOOL& bSystem);
  BOOL DropMnemonic(UINT nKey);

  static LRESULT CALLBACK MsgFilterHook(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam);
};

class SECMenuBarFeature : public SECBmpMenuPlugIn, public SECMenuBarMessages {
  DECLARE_DYNAMIC(SECMenuBarFeature)

 public:
  SECMenuBarFeature();
  ~SECMenuBarFeature() override;

  // Given before the feature is plugged into the frame.
  void SetMenuBar(SECMenuBar* pMenuBar) { m_pMenuBar = pMenuBar; }
  CWnd* GetFrame() override { return this; }
  BOOL PreTranslateMessage(MSG* pMsg) override { return PreTranslateKey(pMsg); }
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
};
