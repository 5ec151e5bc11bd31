// CChildFrame: the workbook sheet that frames a source-file window. It always shows maximised,
// whatever show state its caller asks for.
#pragma once

#include "bars/SECWorksheet.h"

class CChildFrame : public SECWorksheet {
  DECLARE_DYNCREATE(CChildFrame)

 public:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  void ActivateFrame(int nCmdShow = -1) override;
};
