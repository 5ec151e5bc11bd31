// CProjectChildWnd: the workbook sheet of the project template. Like every document frame of the
// application it always shows maximised, whatever show state its caller asks for.
#pragma once

#include "bars/SECWorksheet.h"

class CProjectChildWnd : public SECWorksheet {
  DECLARE_DYNCREATE(CProjectChildWnd)

 public:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void ActivateFrame(int nCmdShow = -1) override;
};
