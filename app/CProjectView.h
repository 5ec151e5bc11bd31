// CProjectView: the view of the project template; it draws nothing.
#pragma once

#include "afx/CView.h"

class CProjectDoc;

class CProjectView : public CView {
  DECLARE_DYNCREATE(CProjectView)

 public:
  CProjectDoc* GetDocument() const;
  void OnDraw(CDC* pDC) override;

 protected:
  // The print dialog's preparation, as every view of the application has it.
  BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
};
