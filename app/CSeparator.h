// CSeparator: a static drawn as an etched line, horizontal with its caption over it or vertical.
#pragma once

#include "afx/AfxControls.h"

class CSeparator : public CStatic {
 protected:
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};
