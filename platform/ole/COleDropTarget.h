// The framework's drop target: registered for a window, it turns the drag's calls into its
// virtual handlers (a view's own handlers by default) and scrolls a view near its edges.
#pragma once

#include "afx/CWnd.h"
#include "ole/COleDataObject.h"

class COleDropTarget : public CCmdTarget {
  DECLARE_DYNAMIC(COleDropTarget)
 public:
  COleDropTarget();
  ~COleDropTarget() override;  // revokes a registration still in place

  BOOL Register(CWnd* pWnd);
  virtual void Revoke();

  // By default these call the CView handlers of the same name when pWnd is a view and answer
  // DROPEFFECT_NONE (FALSE, -1 for OnDropEx) otherwise. Points are client coordinates of pWnd.
  virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual void OnDragLeave(CWnd* pWnd);
  virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
  virtual DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                              DROPEFFECT dropList, CPoint point);
  // Called while the point lies within nScrollInset of the window's edges, first after
  // nScrollDelay milliseconds there and then every nScrollInterval; DROPEFFECT_SCROLL in the
  // answer means the window scrolled (OnDragOver is then not asked).
  virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

  static int nScrollInset;
  static UINT nScrollDelay;
  static UINT nScrollInterval;

 private:
  struct Interface;
  friend struct Interface;
  CWnd* Window() const;
  DROPEFFECT Scroll(DWORD keys, CPoint point, bool* scrolled);

  Interface* interface_;
  HWND m_hWnd = nullptr;
  LPDATAOBJECT m_lpDataObject = nullptr;
  DWORD scrollSince_ = 0;  // tick the point entered the scroll inset, 0 while outside
  DWORD lastScroll_ = 0;
};
