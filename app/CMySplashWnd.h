// CMySplashWnd: the start-up splash window, which writes the computer's registered owner over the
// splash picture.
#pragma once

#include "afx/afx.h"
#include "bars/SECSplashWnd.h"

class CMySplashWnd : public SECSplashWnd {
  DECLARE_DYNAMIC(CMySplashWnd)

 public:
  // Always made with new, as its base: it deletes itself when its window is destroyed.
  CMySplashWnd(UINT nBitmapID, UINT nDisplayTime, BOOL bWaitForClose = FALSE, BOOL bTopmost = TRUE);

  // The registered owner from the system's registry (the user, on this system); a fixed Chinese
  // "user name" (GB2312, drawn in a GB2312 font) when it cannot be read.
  static CString ReadRegisteredOwner();
  // Draws the owner's name on one line, centred 40 pixels left of and below the middle.
  BOOL OnDrawSplash(CDC* pDC) override;

  CString m_strOwner;
};
