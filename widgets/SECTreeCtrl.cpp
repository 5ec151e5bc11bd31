// The tree control and the tree view: their message maps on those of the lists.
#include "widgets/SECTreeCtrl.h"

IMPLEMENT_DYNAMIC(SECTreeCtrl, SECListCtrl)
IMPLEMENT_DYNCREATE(SECTreeView, SECListView)

BEGIN_MESSAGE_MAP(SECTreeCtrl, SECListCtrl)
  ON_WM_DESTROY()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_LBUTTONDOWN()
  ON_WM_TIMER()
  ON_WM_CHAR()
END_MESSAGE_MAP()

SECTreeCtrl::~SECTreeCtrl() = default;

BEGIN_MESSAGE_MAP(SECTreeView, SECListView)
  ON_WM_DESTROY()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_LBUTTONDOWN()
  ON_WM_TIMER()
  ON_WM_CHAR()
END_MESSAGE_MAP()

SECTreeView::~SECTreeView() = default;
