// SECSplashWnd: a borderless pop-up centred on the screen that shows a bitmap resource for a
// while, or until a key or mouse press, then closes and deletes itself.
#pragma once

#include <memory>

#include "afx/afx.h"
#include "foundation/SECDib.h"

class SECSplashWnd : public CWnd {
  DECLARE_DYNAMIC(SECSplashWnd)

 public:
  // Always made with new: the object deletes itself when its window is destroyed.
  SECSplashWnd(UINT nBitmapID, UINT nDisplayTime, BOOL bWaitForClose = FALSE, BOOL bTopmost = TRUE);
  ~SECSplashWnd() override;

  // Shows the splash owned by pParent (else the main window, else a hidden stand-by owner) and
  // disables that owner while it shows.
  using CWnd::Create;
  virtual BOOL Create(CWnd* pParent = nullptr, DWORD dwStyle = WS_POPUP | WS_VISIBLE, DWORD dwExStyle = 0);
  // A title of the splash's own; the window then also gets a task-bar button.
  virtual void SetTitle(LPCTSTR lpszTitle);
  virtual void Close();
  virtual void RestartTimer();
  virtual void SetDisplayTime(UINT nMilliseconds);
  virtual void DisableParent(BOOL bDisable);
  virtual void SetTopmost(BOOL bTopmost);
  virtual void SetCloseOnInput(BOOL bCloseOnInput);
  // Drawing hook: runs after the bitmap is painted.
  virtual BOOL OnDrawSplash(CDC* pDC);

  BOOL PreTranslateMessage(MSG* pMsg) override;
  CSize GetBitmapSize() const { return CSize(m_nBitmapWidth, m_nBitmapHeight); }

  static constexpr UINT_PTR kTimerID = 1245;

 protected:
  afx_msg void OnPaint();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnClose();
  afx_msg LRESULT OnQueryNewPalette(WPARAM, LPARAM);
  afx_msg LRESULT OnPaletteChanged(WPARAM wParam, LPARAM);
  void PostNcDestroy() override;
  DECLARE_MESSAGE_MAP()

  BOOL RealizePalette();
  // The input that closes the splash, wherever it goes in the application.
  static LRESULT CALLBACK InputHook(int code, WPARAM wParam, LPARAM lParam);
  void InstallInputHook(BOOL bInstall);
  // Whether a visible window of this thread is owned by the splash, directly or through others.
  BOOL OwnsVisibleWindow() const;

  CWnd* m_pStandByOwner = nullptr;
  CWnd* m_pDisabledWnd = nullptr;
  BOOL m_bCloseOnInput = TRUE;
  BOOL m_bParentDisabled = FALSE;
  UINT_PTR m_nTimer = 0;
  BOOL m_bTopmost;
  int m_nBitmapHeight = 0;
  int m_nBitmapWidth = 0;
  BOOL m_bWaitForClose;
  UINT m_nDisplayTime;
  UINT m_nBitmapID;
  BOOL m_bCustomTitle = FALSE;
  CString m_strTitle;
  kelpwood::foundation::SECDib m_dib;
  CPalette* m_pPalette = nullptr;
  HHOOK m_hInputHook = nullptr;
};
