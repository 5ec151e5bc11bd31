// The framework's drop source: when a drag starts, when it drops or is cancelled, and the cursor
// it shows for each effect.
#pragma once

#include "afx/CWnd.h"
#include "ole/OleIdl.h"

class COleDropSource : public CCmdTarget {
  DECLARE_DYNAMIC(COleDropSource)
 public:
  COleDropSource();
  ~COleDropSource() override;

  // Escape or the cancel button cancels, releasing the drop button drops, else the drag goes on.
  virtual SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState);
  // DRAGDROP_S_USEDEFAULTCURSORS: the drag shows its own cursor for the effect; S_OK when this
  // source has set one.
  virtual SCODE GiveFeedback(DROPEFFECT dropEffect);
  // Waits, with pWnd holding the mouse, until the mouse leaves m_rectStartDrag or nDragDelay
  // passes (TRUE: the drag starts) or the button is released or Escape pressed (FALSE).
  virtual BOOL OnBeginDrag(CWnd* pWnd);

  LPDROPSOURCE GetDropSource();

  // Pixels the mouse must move, and milliseconds it must be held, before a drag starts.
  static int nDragMinDist;
  static UINT nDragDelay;

  BOOL m_bDragStarted = FALSE;
  DWORD m_dwButtonCancel = MK_RBUTTON;
  DWORD m_dwButtonDrop = MK_LBUTTON;
  CRect m_rectStartDrag;

 private:
  struct Interface;
  Interface* interface_;
};
