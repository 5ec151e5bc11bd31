// The text documents that the workspace tests and the workspace benchmark open, and their
// template. Included by one source file of a program (it defines the classes' run-time data).
#pragma once

#include "MenusTestIds.h"
#include "afx/afx.h"

namespace workspacetest {

class TextDoc : public CDocument {
  DECLARE_DYNCREATE(TextDoc)
};
IMPLEMENT_DYNCREATE(TextDoc, CDocument)

class TextView : public CView {
  DECLARE_DYNCREATE(TextView)

 public:
  void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(TextView, CView)

// A template of text documents in MDI child frames, added to the application.
inline CMultiDocTemplate* AddTextTemplate(CWinApp& app) {
  auto* docs = new CMultiDocTemplate(IDR_WS_TEXT, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(CMDIChildWnd),
                                     RUNTIME_CLASS(TextView));
  docs->m_strDocStrings = "\nText\nText\n\n\nBrambolt.Text\nText Document";
  app.AddDocTemplate(docs);
  return docs;
}

}  // namespace workspacetest
