// The project template's frame.
#include "app/CProjectChildWnd.h"

IMPLEMENT_DYNCREATE(CProjectChildWnd, SECWorksheet)

BOOL CProjectChildWnd::PreCreateWindow(CREATESTRUCT& cs) {
  return SECWorksheet::PreCreateWindow(cs) ? TRUE : FALSE;
}

void CProjectChildWnd::ActivateFrame(int /*nCmdShow*/) { SECWorksheet::ActivateFrame(SW_SHOWMAXIMIZED); }
