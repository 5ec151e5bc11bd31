// The concrete trees: SECTreeCtrl, the tree as a child window (base of the explorer's trees),
// and SECTreeView, the tree as a framework view.
#pragma once

#include "widgets/SECSubItemTextStorage.h"
#include "widgets/SECTreeBase.h"

class SECTreeCtrl : public SECTreeBaseC {
  DECLARE_DYNAMIC(SECTreeCtrl)

 public:
  SECTreeCtrl() = default;
  ~SECTreeCtrl() override;

 protected:
  DECLARE_MESSAGE_MAP()
};

class SECTreeView : public SECTreeBaseV {
  DECLARE_DYNCREATE(SECTreeView)

 public:
  SECTreeView() = default;
  ~SECTreeView() override;

 protected:
  DECLARE_MESSAGE_MAP()
};
