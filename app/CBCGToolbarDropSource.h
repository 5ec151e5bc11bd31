// CBCGToolbarDropSource: the drop source of files dragged out of the Project Explorer, showing
// the application's own drag cursor and remembering whether Escape ended the drag.
#pragma once

#include "ole/COleDropSource.h"

class CBCGToolbarDropSource : public COleDropSource {
  DECLARE_DYNAMIC(CBCGToolbarDropSource)

 public:
  CBCGToolbarDropSource();
  ~CBCGToolbarDropSource() override;

  // Shows the delete cursor while dropping deletes; keeps the escape state; then the usual rule.
  SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) override;
  // The copy, move or delete cursor for the effect, once loaded; else the standard cursors.
  SCODE GiveFeedback(DROPEFFECT dropEffect) override;
  // Loads the three cursors on the first drag and marks the drag started.
  BOOL OnBeginDrag(CWnd* pWnd) override;

  // The one drop source of the program.
  static CBCGToolbarDropSource& Shared();

  // The drag-started flag is the base's m_bDragStarted: TRUE once a drag has really begun.
  BOOL m_bDeleteOnDrop = TRUE;
  BOOL m_bEscapePressed = FALSE;
  HCURSOR m_hcurDelete = nullptr;
  HCURSOR m_hcurMove = nullptr;
  HCURSOR m_hcurCopy = nullptr;
};
