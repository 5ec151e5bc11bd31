// The source-file window's frame.
#include "app/CChildFrame.h"

IMPLEMENT_DYNCREATE(CChildFrame, SECWorksheet)

BOOL CChildFrame::PreCreateWindow(CREATESTRUCT& cs) { return SECWorksheet::PreCreateWindow(cs) ? TRUE : FALSE; }

void CChildFrame::ActivateFrame(int /*nCmdShow*/) { SECWorksheet::ActivateFrame(SW_SHOWMAXIMIZED); }
