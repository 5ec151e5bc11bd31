// CInkwrightView: a text view over an edit control, registered as a creatable class although no
// document template names it.
#pragma once

#include "afx/CEditView.h"

class CInkwrightDoc;

class CInkwrightView : public CEditView {
  DECLARE_DYNCREATE(CInkwrightView)

 public:
  CInkwrightDoc* GetDocument() const;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

 protected:
  // The print dialog's preparation, as every view of the application has it.
  BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
};
