// The recording parent of the tab tests.
#include "tests/widgets/TabTestSupport.h"

namespace widgets_test {

BEGIN_MESSAGE_MAP(TabParent, CWnd)
  ON_MESSAGE(TABN_SELECT, OnSelect)
  ON_MESSAGE(TABN_DBLCLK, OnDblClk)
  ON_MESSAGE(TABN_CLEARSEL, OnClearSel)
  ON_MESSAGE(TABN_REACTIVATE, OnReActivate)
END_MESSAGE_MAP()

}  // namespace widgets_test
