// Document-template utilities: positions among templates sharing a file-type id, and finding the
// template behind a document, view and frame through the narrowing steps.
#include <gtest/gtest.h>

#include "afx/afx.h"
#include "foundation/SECDocTemplateUtils.h"

namespace {

class TextDoc : public CDocument {
  DECLARE_DYNCREATE(TextDoc)
};
IMPLEMENT_DYNCREATE(TextDoc, CDocument)

class CodeDoc : public CDocument {
  DECLARE_DYNCREATE(CodeDoc)
};
IMPLEMENT_DYNCREATE(CodeDoc, CDocument)

class TextView : public CView {
  DECLARE_DYNCREATE(TextView)
 public:
  void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(TextView, CView)

class CodeView : public CView {
  DECLARE_DYNCREATE(CodeView)
 public:
  void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CodeView, CView)

class ChildFrame : public CFrameWnd {
  DECLARE_DYNCREATE(ChildFrame)
};
IMPLEMENT_DYNCREATE(ChildFrame, CFrameWnd)

class DerivedFrame : public ChildFrame {
  DECLARE_DYNCREATE(DerivedFrame)
};
IMPLEMENT_DYNCREATE(DerivedFrame, ChildFrame)

class DocTemplateUtils : public ::testing::Test {
 protected:
  // The application owns the template from now on.
  CDocTemplate* Add(UINT id, CRuntimeClass* doc, CRuntimeClass* frame, CRuntimeClass* view,
                    const char* fileTypeId = "Text") {
    auto* pTemplate = new CMultiDocTemplate(id, doc, frame, view);
    pTemplate->m_strDocStrings = CString("\nDoc\nDoc\n\n\n") + fileTypeId + "\nA document";
    app.AddDocTemplate(pTemplate);
    return pTemplate;
  }

  // A document that its template owns.
  CDocument* OpenIn(CDocTemplate* pTemplate, CRuntimeClass* docClass) {
    auto* pDoc = static_cast<CDocument*>(docClass->CreateObject());
    pTemplate->AddDocument(pDoc);
    return pDoc;
  }

  CWinApp app{"Template Utilities"};
  SECDocTemplateUtils utils;
};

TEST_F(DocTemplateUtils, PositionsCountOnlyTemplatesOfTheSameFileType) {
  CDocTemplate* text1 = Add(200, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(TextView));
  CDocTemplate* code = Add(201, RUNTIME_CLASS(CodeDoc), RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(CodeView), "Code");
  CDocTemplate* text2 = Add(202, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(TextView));

  struct Case {
    CDocTemplate* pTemplate;
    const char* fileTypeId;
    int index;
  };
  for (const Case& c : {Case{text1, "Text", 0}, Case{code, "Code", 0}, Case{text2, "Text", 1},
                        Case{code, "Text", -1}, Case{text1, "text", -1}, Case{nullptr, "Text", -1}}) {
    EXPECT_EQ(utils.GetDocTemplateIndex(c.pTemplate, c.fileTypeId), c.index) << c.fileTypeId;
  }
}

TEST_F(DocTemplateUtils, PositionPastTheEndGivesTheLastOfThatFileType) {
  CDocTemplate* text1 = Add(200, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(TextView));
  CDocTemplate* code = Add(201, RUNTIME_CLASS(CodeDoc), RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(CodeView), "Code");
  CDocTemplate* text2 = Add(202, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(TextView));

  struct Case {
    const char* fileTypeId;
    int index;
    CDocTemplate* expected;
  };
  for (const Case& c : {Case{"Text", 0, text1}, Case{"Text", 1, text2}, Case{"Text", 5, text2},
                        Case{"Code", 0, code}, Case{"Code", 3, code}, Case{"Other", 0, nullptr}}) {
    EXPECT_EQ(utils.GetDocTemplateByIndex(c.fileTypeId, c.index), c.expected) << c.fileTypeId << " " << c.index;
  }
}

TEST_F(DocTemplateUtils, ViewAndFrameClassesDecideBeforeResourceIds) {
  CDocTemplate* text = Add(200, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(TextView));
  Add(201, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(CodeView));
  CDocument* doc = OpenIn(text, RUNTIME_CLASS(TextDoc));
  TextView view;
  ChildFrame frame;
  frame.m_nIDHelp = 999;  // no template has it: a resource filter would leave nothing
  EXPECT_EQ(utils.FindDocTemplate(doc, &view, &frame), text);
}

TEST_F(DocTemplateUtils, DerivedFrameClassDoesNotMatch) {
  Add(200, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(TextView));
  Add(201, RUNTIME_CLASS(CodeDoc), RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(CodeView));
  TextDoc doc;
  TextView view;
  DerivedFrame frame;
  frame.m_nIDHelp = 200;
  EXPECT_EQ(utils.FindDocTemplate(&doc, &view, &frame), nullptr);

  CPtrList candidates;
  ASSERT_TRUE(utils.GetAllDocTemplates(candidates));
  EXPECT_TRUE(utils.FilterByViewAndFrame(candidates, &view, &frame));
  EXPECT_TRUE(candidates.IsEmpty());
}

TEST_F(DocTemplateUtils, FrameResourceIdThenDocumentClassNarrowFurther) {
  Add(200, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(TextView));
  CDocTemplate* byId = Add(201, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(TextView));
  CDocTemplate* byDoc = Add(201, RUNTIME_CLASS(CodeDoc), RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(TextView));
  TextView view;
  ChildFrame frame;
  frame.m_nIDHelp = 201;
  TextDoc text;
  CodeDoc code;
  EXPECT_EQ(utils.FindDocTemplate(&text, &view, &frame), byId);
  EXPECT_EQ(utils.FindDocTemplate(&code, &view, &frame), byDoc);
  EXPECT_EQ(utils.GetFrameMenuId(&frame), 201u);
}

TEST_F(DocTemplateUtils, UndecidedPrefersTheDocumentsOwnTemplateElseTheFirst) {
  CDocTemplate* first = Add(200, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(TextView));
  CDocTemplate* second = Add(200, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(TextView));
  TextView view;
  ChildFrame frame;
  frame.m_nIDHelp = 200;
  CDocument* owned = OpenIn(second, RUNTIME_CLASS(TextDoc));
  EXPECT_EQ(utils.FindDocTemplate(owned, &view, &frame), second);
  TextDoc loose;
  EXPECT_EQ(utils.FindDocTemplate(&loose, &view, &frame), first);
}

TEST_F(DocTemplateUtils, NullArgumentsFindNothingAndLeaveCandidatesAlone) {
  CDocTemplate* text = Add(200, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(TextView));
  TextDoc doc;
  TextView view;
  ChildFrame frame;
  EXPECT_EQ(utils.FindDocTemplate(nullptr, &view, &frame), nullptr);
  EXPECT_EQ(utils.FindDocTemplate(&doc, nullptr, &frame), nullptr);
  EXPECT_EQ(utils.FindDocTemplate(&doc, &view, nullptr), nullptr);
  EXPECT_EQ(utils.GetFrameMenuId(nullptr), 0u);
  EXPECT_EQ(utils.GetTemplateFrameClass(nullptr, 0), nullptr);
  EXPECT_EQ(utils.GetTemplateFrameClass(text, 1), nullptr);
  EXPECT_EQ(utils.GetTemplateFrameClass(text, 0), RUNTIME_CLASS(ChildFrame));

  CPtrList candidates;
  ASSERT_TRUE(utils.GetAllDocTemplates(candidates));
  EXPECT_FALSE(utils.FilterByViewAndFrame(candidates, nullptr, &frame));
  EXPECT_FALSE(utils.FilterByViewAndFrame(candidates, &view, nullptr));
  EXPECT_FALSE(utils.FilterByFrameResource(candidates, nullptr));
  EXPECT_FALSE(utils.FilterByDocumentClass(candidates, nullptr));
  EXPECT_EQ(candidates.GetCount(), 1);
}

TEST_F(DocTemplateUtils, SingleTemplateOnlyWhenAtMostOneCandidate) {
  CDocTemplate* a = Add(200, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(TextView));
  CDocTemplate* b = Add(201, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(TextView));
  CDocTemplate* out = a;
  CPtrList candidates;
  EXPECT_TRUE(utils.GetSingleDocTemplate(candidates, out));
  EXPECT_EQ(out, nullptr);
  candidates.AddTail(b);
  EXPECT_TRUE(utils.GetSingleDocTemplate(candidates, out));
  EXPECT_EQ(out, b);
  candidates.AddTail(a);
  EXPECT_FALSE(utils.GetSingleDocTemplate(candidates, out));
  EXPECT_EQ(out, nullptr);
}

TEST(DocTemplateUtilsWithoutApplication, NothingIsFound) {
  ASSERT_EQ(AfxGetApp(), nullptr);
  SECDocTemplateUtils utils;
  CPtrList candidates;
  TextDoc doc;
  TextView view;
  ChildFrame frame;
  EXPECT_FALSE(utils.GetAllDocTemplates(candidates));
  EXPECT_EQ(utils.GetDocTemplateByIndex("Text", 0), nullptr);
  EXPECT_EQ(utils.FindDocTemplate(&doc, &view, &frame), nullptr);
  CMultiDocTemplate loose(200, RUNTIME_CLASS(TextDoc), RUNTIME_CLASS(ChildFrame), RUNTIME_CLASS(TextView));
  EXPECT_EQ(utils.GetDocTemplateIndex(&loose, ""), -1);
}

}  // namespace
