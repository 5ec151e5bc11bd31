// The application's editor controller in an editor window (brace alignment, the Edit menu after
// ".", adding and removing "//", go to line, Clear All, the search entry), and the code view in an
// MDI frame opened from a source-file template (edit, save, mark 0, reload, pending search).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "afx/CDocTemplate.h"
#include "afx/CMDIChildWnd.h"
#include "afx/CMDIFrameWnd.h"
#include "afx/CSplitterWnd.h"
#include "afx/afx.h"
#include "editor/app/CEditCodeView.h"
#include "editor/app/GWExtAppServices.h"
#include "editor/app/GWExtController.h"
#include "editor/model/SECEdit.h"
#include "editor/view/SECEditCtrl.h"
#include "gdi/DevMode.h"
#include "platform/PdfProbe.h"
#include "testing/testing.h"
#include "tests/editor/RecordedBoxes.h"
#include "tests/editor/TestLanguage.h"
#include "win/ModalLoop.h"

namespace {

// Records where the Edit menu would open instead of tracking it.
class MenuRecordingController : public GWExtController {
 public:
  std::vector<CPoint> menus;

 protected:
  void ShowEditMenu(CPoint screen) override { menus.push_back(screen); }
};

class CodeViewTest : public ::testing::Test {
 protected:
  CodeViewTest() : lang("C"), def("Default"), scope({&lang, &def}), parent(440, 360) {
    editortest::MakeC(lang);
    lang.tabSize = 4;
    model.ResetWithLanguage("C");
    ctl.SetEditModel(&model);
    gw = new MenuRecordingController;
    ctl.GetViewport()->SetController(gw, TRUE);
    ctl.Create(AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_IBEAM)), "", WS_CHILD | WS_VISIBLE,
               CRect(0, 0, 400, 320), CWnd::FromHandle(parent.Hwnd()), 100);
    ctl.SetFocus();
    brambolt::test::RunUntilIdle();
  }
  void SetText(const std::string& text) {
    model.NewDocument();
    if (!text.empty()) model.InsertTextAt(0, 0, text.c_str(), -1);
    model.ClearUndoHistory();
    gw->ResetState();
    brambolt::test::RunUntilIdle();
  }
  std::string Text() {
    CString out;
    const SECEditLineCol end = model.GetEndPosition();
    model.GetText(&out, 0, 0, end.m_nLine, end.m_nCol);
    return std::string(out, static_cast<size_t>(out.GetLength()));
  }
  void Put(int line, int col) {
    gw->ClearSelection(TRUE);
    gw->SetCaretPos(line, col, FALSE);
  }

  brambolt::test::UiSession session;
  CWinApp app{"Code View Test"};
  editortest::TestLanguage lang, def;
  editortest::LanguageScope scope;
  brambolt::test::NotificationRecorder parent;
  SECEdit model;
  SECEditCtrl ctl;
  MenuRecordingController* gw = nullptr;
  brambolt::ScopedLoopFilter filter{[this](MSG& msg) { return gw->PreTranslateMessage(&msg); }};
};

TEST_F(CodeViewTest, TypedBracesLoseTheIndentAfterControlLinesOnly) {
  struct Case {
    const char* previous;
    const char* typed;
    const char* expected;
  };
  const Case cases[] = {
      {"if (x)", "{", "if (x)\r\n{"},                // the indentation unit goes
      {"switch (n)", "{", "switch (n)\r\n{"},        //
      {"{", "}", "{\r\n}"},                          //
      {"x = 1;", "{", "x = 1;\r\n\t{"},              // not after an assignment
      {"if (x)", "}", "if (x)\r\n\t}"},              // a closing brace after if stays
      {"format(1);", "{", "format(1);\r\n{"},        // the prefix test has no word boundary
  };
  for (const Case& k : cases) {
    SetText(std::string(k.previous) + "\r\n\t");
    Put(1, 1);
    brambolt::test::TypeText(k.typed);
    EXPECT_EQ(Text(), k.expected) << k.previous << " + " << k.typed;
  }
  // With nothing before the brace no character goes (the brace itself stays).
  SetText("if (x)\r\n");
  Put(1, 0);
  brambolt::test::TypeText("{");
  EXPECT_EQ(Text(), "if (x)\r\n{");
}

TEST_F(CodeViewTest, ADotAfterACharacterOpensTheEditMenuBelowTheCaret) {
  SetText("");
  brambolt::test::TypeText(".");
  EXPECT_TRUE(gw->menus.empty());
  brambolt::test::TypeText("a.");
  ASSERT_EQ(gw->menus.size(), 1U);
  CPoint caret;
  gw->PositionToPoint(caret, gw->GetCaretPosition());
  ::ClientToScreen(ctl.GetSafeHwnd(), &caret);
  EXPECT_GT(gw->menus[0].y, caret.y);
}

TEST_F(CodeViewTest, CommentsAreAddedAndRemovedAsOneUndoStep) {
  SetText("int a;\r\n  \r\nint b;\r\n// c\r\n/* d */");
  gw->SetSelection(SECEditLineColPair(0, 2, 2, 3), SECEDIT_SEL_STREAM);
  ::SendMessage(ctl.GetSafeHwnd(), WM_COMMAND, ID_GWEXT_COMMENT, 0);
  EXPECT_EQ(Text(), "//int a;\r\n  \r\n//int b;\r\n// c\r\n/* d */");
  EXPECT_EQ(gw->GetSelectionMode(), SECEDIT_SEL_LINES);
  EXPECT_TRUE(gw->Undo());
  EXPECT_EQ(Text(), "int a;\r\n  \r\nint b;\r\n// c\r\n/* d */");

  // Removing takes a leading "//" only: "/* d */" stays whole.
  gw->SetSelection(SECEditLineColPair(2, 0, 4, 2), SECEDIT_SEL_STREAM);
  ::SendMessage(ctl.GetSafeHwnd(), WM_COMMAND, ID_GWEXT_UNCOMMENT, 0);
  EXPECT_EQ(Text(), "int a;\r\n  \r\nint b;\r\n c\r\n/* d */");

  // Without a selection "//" goes in at the caret; removing moves the caret to the tab stop before.
  Put(0, 4);
  gw->CommentSelection();
  EXPECT_EQ(Text(), "int //a;\r\n  \r\nint b;\r\n c\r\n/* d */");
  Put(0, 6);
  gw->UncommentSelection();
  EXPECT_EQ(gw->GetCaretPosition(), SECEditLineCol(0, 4));
}

TEST_F(CodeViewTest, GoToLineIsOneBasedAndClampedAndClearAllEmptiesTheText) {
  std::string text;
  for (int i = 1; i <= 200; ++i) text += "line " + std::to_string(i) + "\r\n";
  SetText(text);
  const struct {
    int entered;
    int top;
  } cases[] = {{10, 9}, {1, 0}, {0, 0}, {-5, 0}};
  for (const auto& k : cases) {
    gw->GoToLine(k.entered);
    EXPECT_EQ(gw->GetTopLine(), k.top) << k.entered;
    EXPECT_EQ(gw->GetCaretPosition(), SECEditLineCol(k.top, 0)) << k.entered;
  }
  // Past the end: never beyond the last line.
  gw->GoToLine(100000);
  EXPECT_GT(gw->GetTopLine(), 100);
  EXPECT_LE(gw->GetTopLine(), 200);
  EXPECT_EQ(gw->GetCaretPosition(), SECEditLineCol(200, 0));

  // The dialog: OK only with a number.
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "Number", [](HWND dlg) {
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg, IDOK)));
    ::SetDlgItemText(dlg, IDC_GWEXT_GOTO_LINE, "42");
    ::SendMessage(dlg, WM_COMMAND, MAKEWPARAM(IDC_GWEXT_GOTO_LINE, EN_CHANGE),
                  reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDC_GWEXT_GOTO_LINE)));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg, IDOK)));
    ::SendMessage(dlg, WM_COMMAND, IDOK, 0);
  });
  ::SendMessage(ctl.GetSafeHwnd(), WM_COMMAND, ID_GWEXT_GOTO_LINE, 0);
  EXPECT_EQ(gw->GetTopLine(), 41);
  // The caret stands at the line's start: the next keys type there, and the view stays.
  ctl.SetFocus();
  brambolt::test::TypeText("x");
  EXPECT_EQ(gw->GetTopLine(), 41);
  text.insert(text.find("line 42\r\n"), "x");
  EXPECT_EQ(Text(), text);

  ::SendMessage(ctl.GetSafeHwnd(), WM_COMMAND, ID_GWEXT_CLEAR_ALL, 0);
  EXPECT_EQ(Text(), "");
  EXPECT_TRUE(gw->Undo());
  EXPECT_EQ(Text(), text);
}

// Key presses that reach the window as WM_KEYDOWN (past the key map) run the same commands.
TEST_F(CodeViewTest, TheKeyTableRunsTheCommandsOfTheKeyMap) {
  struct Case {
    UINT vk;
    UINT mods;
    SECEditLineCol caret;
    const char* text;
    BOOL overwrite;
  };
  const Case cases[] = {
      {VK_END, brambolt::test::kCtrl, {1, 3}, "ab\r\ncde", FALSE},
      {VK_HOME, brambolt::test::kCtrl | brambolt::test::kShift, {0, 0}, "ab\r\ncde", FALSE},
      {VK_DELETE, 0, {0, 1}, "a\r\ncde", FALSE},
      {VK_INSERT, 0, {0, 1}, "ab\r\ncde", TRUE},
      {VK_RIGHT, brambolt::test::kShift, {0, 2}, "ab\r\ncde", FALSE},
  };
  for (const Case& k : cases) {
    SetText("ab\r\ncde");
    model.m_bOverwrite = FALSE;
    Put(0, 1);
    if (k.mods & brambolt::test::kCtrl) brambolt::test::KeyDown(VK_CONTROL);
    if (k.mods & brambolt::test::kShift) brambolt::test::KeyDown(VK_SHIFT);
    ::SendMessage(ctl.GetSafeHwnd(), WM_KEYDOWN, k.vk, 0);
    if (k.mods & brambolt::test::kShift) brambolt::test::KeyUp(VK_SHIFT);
    if (k.mods & brambolt::test::kCtrl) brambolt::test::KeyUp(VK_CONTROL);
    EXPECT_EQ(gw->GetCaretPosition(), k.caret) << k.vk;
    EXPECT_EQ(Text(), k.text) << k.vk;
    EXPECT_EQ(model.m_bOverwrite, k.overwrite) << k.vk;
  }
}

TEST_F(CodeViewTest, FindAndSelectSelectsTheNextMatch) {
  SetText("one Two two\r\ntwo");
  _SEC_FIND_REPLACE_STATE* state = gw->GetFindReplaceState();
  state->m_bFindOnly = TRUE;
  EXPECT_FALSE(gw->FindAndSelect("", TRUE, 0));
  ASSERT_TRUE(gw->FindAndSelect("two", TRUE, 0));
  EXPECT_EQ(gw->GetSelection().GetMin(), SECEditLineCol(0, 8));
  ASSERT_TRUE(gw->FindAndSelect("two", FALSE, 0));
  EXPECT_EQ(gw->GetSelection().GetMin(), SECEditLineCol(1, 0));
  // A regular expression left on by the user's last search: a member's declaration is found as
  // written, its parentheses and all.
  SetText("void Draw;\r\nvoid Draw();");
  state->m_bRegExp = TRUE;
  ASSERT_TRUE(gw->FindAndSelect("void Draw();", TRUE, 0));
  EXPECT_EQ(gw->GetSelection().GetMin(), SECEditLineCol(1, 0));
  state->m_strFind.Empty();
  gw->InsertAtSavedPosition("// head\r\n");
  EXPECT_EQ(Text(), "// head\r\nvoid Draw;\r\nvoid Draw();");
}

}  // namespace

namespace {

class SearchServices : public GWExtAppServices {
 public:
  BOOL LookupExtension(LPCTSTR extension, CString& language) override {
    if (CString(extension) != ".cpp") return FALSE;
    language = "C";
    return TRUE;
  }
  BOOL GetPendingSearch(CString& text) override {
    text = pending;
    return !pending.IsEmpty();
  }
  void ClearPendingSearch() override { pending.Empty(); }
  CString pending;
};

// A child frame split into two panes that show one document.
class SplitChild : public CMDIChildWnd {
  DECLARE_DYNCREATE(SplitChild)

 public:
  CSplitterWnd splitter;

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override {
    return splitter.CreateStatic(this, 2, 1) &&
           splitter.CreateView(0, 0, RUNTIME_CLASS(CEditCodeView), CSize(300, 120), pContext) &&
           splitter.CreateView(1, 0, RUNTIME_CLASS(CEditCodeView), CSize(300, 120), pContext);
  }
};

IMPLEMENT_DYNCREATE(SplitChild, CMDIChildWnd)

class CodeViewFrameTest : public ::testing::Test {
 protected:
  CodeViewFrameTest() : lang("C"), def("Default"), scope({&lang, &def}) {
    editortest::MakeC(lang);
    previous = GWExtSetAppServices(&services);
    frame = new CMDIFrameWnd;
    EXPECT_TRUE(frame->Create(nullptr, "Sources", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 480)));
    app.m_pMainWnd = frame;
    docs = new CMultiDocTemplate(22790, RUNTIME_CLASS(CEditCodeDoc), RUNTIME_CLASS(CMDIChildWnd),
                                 RUNTIME_CLASS(CEditCodeView));
    app.AddDocTemplate(docs);
    brambolt::test::RunUntilIdle();
  }
  ~CodeViewFrameTest() override {
    app.CloseAllDocuments(TRUE);
    if (::IsWindow(frame->GetSafeHwnd())) frame->DestroyWindow();
    app.m_pMainWnd = nullptr;
    GWExtSetAppServices(previous);
  }
  std::string MakeFile(const char* name, const std::string& text) {
    const std::string path = stores.TempDir() + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static CEditCodeView* ViewOf(CDocument* doc) {
    POSITION pos = doc->GetFirstViewPosition();
    return dynamic_cast<CEditCodeView*>(doc->GetNextView(pos));
  }
  // Opens the file in a window and puts the focus in its view, so typing goes there.
  CEditCodeDoc* Open(const std::string& path) {
    auto* doc = dynamic_cast<CEditCodeDoc*>(docs->OpenDocumentFile(path.c_str()));
    if (doc == nullptr) return nullptr;
    ViewOf(doc)->SetFocus();
    brambolt::test::RunUntilIdle();
    return doc;
  }
  static std::string Text(SECEdit* model) {
    CString out;
    const SECEditLineCol end = model->GetEndPosition();
    model->GetText(&out, 0, 0, end.m_nLine, end.m_nCol);
    return std::string(out, static_cast<size_t>(out.GetLength()));
  }

  brambolt::test::UiSession session;
  brambolt::test::PrivateStores stores;
  CWinApp app{"Code View Frame Test"};
  editortest::TestLanguage lang, def;
  editortest::LanguageScope scope;
  SearchServices services;
  GWExtAppServices* previous = nullptr;
  CMDIFrameWnd* frame = nullptr;
  CMultiDocTemplate* docs = nullptr;
};

TEST_F(CodeViewFrameTest, OpensEditsSavesAndReloadsASourceFile) {
  const std::string path = MakeFile("main.cpp", "int main() {\r\n  return 0;\r\n}\r\n");
  CDocument* opened = docs->OpenDocumentFile(path.c_str());
  ASSERT_NE(opened, nullptr);
  auto* doc = dynamic_cast<CEditCodeDoc*>(opened);
  ASSERT_NE(doc, nullptr);
  CEditCodeView* view = ViewOf(doc);
  ASSERT_NE(view, nullptr);
  ASSERT_NE(view->GetAppController(), nullptr);
  EXPECT_TRUE(view->GetAppController()->IsSelectionKeptActive());
  CString language;
  doc->GetEdit()->GetLanguageName(&language);
  EXPECT_EQ(language, "C");

  // Typing goes through the view to the application's controller; the save keeps CR LF.
  view->SetFocus();
  brambolt::test::RunUntilIdle();
  brambolt::test::TypeText("// ");
  EXPECT_TRUE(doc->IsModified());
  ASSERT_TRUE(doc->DoSave(path.c_str(), TRUE));
  EXPECT_EQ(ReadFile(path), "// int main() {\r\n  return 0;\r\n}\r\n");

  // Mark 0 is a red cell in the mark margin.
  doc->GetEdit()->ToggleLineMark(1, 0);
  ::InvalidateRect(view->GetSafeHwnd(), nullptr, FALSE);
  ::UpdateWindow(view->GetSafeHwnd());
  const int lineHeight = view->GetLineHeight();
  EXPECT_EQ(brambolt::test::WindowPixel(view->GetSafeHwnd(), 8, lineHeight + lineHeight / 2), RGB(255, 0, 0));
  EXPECT_NE(brambolt::test::WindowPixel(view->GetSafeHwnd(), 8, lineHeight / 2), RGB(255, 0, 0));

  // Another program appends a line: the next activation reads the file again, once.
  ASSERT_EQ(std::system(("printf 'int x;\\r\\n' >> '" + path + "'").c_str()), 0);
  for (int i = 0; i < 1000 && !doc->IsChangedOnDisk(); ++i) {
    brambolt::test::RunUntilIdle();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_TRUE(doc->IsChangedOnDisk());
  view->OnActivateView(TRUE, view, view);
  EXPECT_EQ(Text(doc->GetEdit()), "// int main() {\r\n  return 0;\r\n}\r\nint x;\r\n");
  EXPECT_FALSE(doc->IsChangedOnDisk());
  EXPECT_FALSE(view->ReloadIfChanged());

  // With unsaved edits the user is asked when back at the file, and No keeps them.
  doc->GetEdit()->InsertTextAt(3, 0, "long ", -1);
  doc->SetChangedOnDisk(TRUE);
  brambolt::test::ModalAnswers answers;
  int asked = 0;
  answers.When("#32770", nullptr, [&](HWND box) {
    ++asked;
    ::EndDialog(box, IDNO);
  });
  view->OnActivateView(FALSE, nullptr, view);  // the user goes to another window: asked later
  EXPECT_EQ(asked, 0);
  EXPECT_TRUE(doc->IsChangedOnDisk());
  EXPECT_FALSE(view->ReloadIfChanged());
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(Text(doc->GetEdit()), "// int main() {\r\n  return 0;\r\n}\r\nlong int x;\r\n");
  doc->SetModifiedFlag(FALSE);

  // Another window's pending search: the text is found and the selection runs to the line start.
  services.pending = "0;";
  view->SendMessage(WM_GWEXT_PENDING_SEARCH, 0, 0);
  EXPECT_TRUE(services.pending.IsEmpty());
  EXPECT_EQ(view->GetAppController()->GetCaretPosition(), SECEditLineCol(1, 2));
  EXPECT_EQ(view->GetAppController()->GetSelection().GetStart(), SECEditLineCol(1, 9));
  EXPECT_EQ(view->SendMessage(WM_GWEXT_RESERVED1, 0, 0), 1);
}

// A selection dragged with the mouse: within its own text it moves, to a second editor it is
// copied with Ctrl held and moved without.
TEST_F(CodeViewFrameTest, SelectionsAreDraggedWithinATextAndToASecondEditor) {
  auto* a = dynamic_cast<CEditCodeDoc*>(docs->OpenDocumentFile(MakeFile("a.cpp", "alpha beta gamma\r\n").c_str()));
  auto* b = dynamic_cast<CEditCodeDoc*>(docs->OpenDocumentFile(MakeFile("b.cpp", "one two\r\n").c_str()));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  frame->MDITile(MDITILE_VERTICAL);
  brambolt::test::RunUntilIdle();
  CEditCodeView* from = ViewOf(a);
  CEditCodeView* to = ViewOf(b);
  // A text position as a point of the source view's client area.
  auto point = [&](CEditCodeView* view, int line, int col) {
    SECEditController* ctl = view->GetAppController();
    CPoint pt;
    ctl->PositionToPoint(pt, SECEditLineCol(line, col));
    ctl->GetViewport()->LPtoDP(static_cast<POINT*>(&pt), 1);
    POINT p{pt.x + 1, pt.y + view->GetLineHeight() / 2};
    ::MapWindowPoints(view->GetSafeHwnd(), from->GetSafeHwnd(), &p, 1);
    return p;
  };
  auto choose = [&](int first, int last) {
    from->SetFocus();
    from->GetAppController()->SetSelection(SECEditLineColPair(0, first, 0, last), SECEDIT_SEL_STREAM);
    brambolt::test::RunUntilIdle();
  };
  choose(6, 10);  // "beta"
  brambolt::test::Drag(from->GetSafeHwnd(), point(from, 0, 7), point(to, 0, 0), 6, brambolt::test::kCtrl);
  EXPECT_EQ(Text(b->GetEdit()), "betaone two\r\n");
  EXPECT_EQ(Text(a->GetEdit()), "alpha beta gamma\r\n") << "copied";
  choose(11, 16);  // "gamma"
  brambolt::test::Drag(from->GetSafeHwnd(), point(from, 0, 12), point(to, 0, 11), 6);
  EXPECT_EQ(Text(b->GetEdit()), "betaone twogamma\r\n");
  EXPECT_EQ(Text(a->GetEdit()), "alpha beta \r\n") << "moved";
  choose(0, 6);  // "alpha "
  brambolt::test::Drag(from->GetSafeHwnd(), point(from, 0, 2), point(from, 0, 11), 6);
  EXPECT_EQ(Text(a->GetEdit()), "beta alpha \r\n") << "moved within its text";
}

TEST_F(CodeViewFrameTest, TwoPanesShowOneTextAndClosingEndsTheWatch) {
  auto* split = new CMultiDocTemplate(22791, RUNTIME_CLASS(CEditCodeDoc), RUNTIME_CLASS(SplitChild),
                                      RUNTIME_CLASS(CEditCodeView));
  app.AddDocTemplate(split);
  const std::string path = MakeFile("split.cpp", "a\r\nb\r\n");
  auto* doc = dynamic_cast<CEditCodeDoc*>(split->OpenDocumentFile(path.c_str()));
  ASSERT_NE(doc, nullptr);
  std::vector<CEditCodeView*> views;
  for (POSITION pos = doc->GetFirstViewPosition(); pos != nullptr;)
    views.push_back(dynamic_cast<CEditCodeView*>(doc->GetNextView(pos)));
  ASSERT_EQ(views.size(), 2U);
  // Each pane has its own controller and caret; an edit in one shows in both.
  ASSERT_NE(views[0]->GetAppController(), views[1]->GetAppController());
  views[1]->SetFocus();
  brambolt::test::RunUntilIdle();
  brambolt::test::TypeText("x");
  EXPECT_EQ(Text(views[0]->GetViewModel()), "xa\r\nb\r\n");
  EXPECT_EQ(views[1]->GetAppController()->GetCaretPosition(), SECEditLineCol(0, 1));
  ASSERT_TRUE(doc->DoSave(path.c_str(), TRUE));
  EXPECT_EQ(ReadFile(path), "xa\r\nb\r\n");
  EXPECT_TRUE(doc->IsRunning());
  doc->OnCloseDocument();
  brambolt::test::RunUntilIdle();
  EXPECT_EQ(split->GetFirstDocPosition(), nullptr);
}

// One file is one window, whatever way its name is written; two names that differ only in
// letter case are two files. A save under the name of a file open in another window closes that
// window, asking first when it holds unsaved changes.
TEST_F(CodeViewFrameTest, OneFileIsOneWindowAndASaveOverAnOpenFileClosesItsWindowOrAsks) {
  const std::string dir = stores.TempDir();
  ASSERT_EQ(std::system(("mkdir '" + dir + "/Header Files'").c_str()), 0);
  const std::string foo = MakeFile("Header Files/foo.h", "int foo;\r\n");
  ASSERT_EQ(std::system(("ln -s 'Header Files/foo.h' '" + dir + "/link.h'").c_str()), 0);
  CDocument* doc = app.OpenDocumentFile(foo.c_str());
  ASSERT_NE(doc, nullptr);
  for (const std::string& name : {dir + "\\Header Files\\foo.h", dir + "/Header Files/../Header Files/foo.h",
                                  dir + "/link.h", dir + "//Header Files/./foo.h"})
    EXPECT_EQ(app.OpenDocumentFile(name.c_str()), doc) << name;

  const std::string lower = MakeFile("a.cpp", "int lower;\r\n");
  const std::string upper = MakeFile("A.cpp", "int upper;\r\n");
  CDocument* a = app.OpenDocumentFile(lower.c_str());
  CDocument* b = app.OpenDocumentFile(upper.c_str());
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(Text(dynamic_cast<CEditCodeDoc*>(b)->GetEdit()), "int upper;\r\n");
  // A name that exists only in another letter case still finds the file, and its window.
  const std::string only = MakeFile("only.cpp", "int only;\r\n");
  CDocument* o = app.OpenDocumentFile(only.c_str());
  EXPECT_EQ(app.OpenDocumentFile((dir + "/ONLY.cpp").c_str()), o);

  auto documents = [&] {
    int count = 0;
    for (POSITION pos = docs->GetFirstDocPosition(); pos != nullptr; docs->GetNextDoc(pos)) ++count;
    return count;
  };
  // Saved over an unchanged window's file: that window closes.
  auto* upperDoc = dynamic_cast<CEditCodeDoc*>(b);
  upperDoc->GetEdit()->InsertTextAt(0, 0, "// typed\r\n", -1);
  const int before = documents();
  ASSERT_TRUE(upperDoc->DoSave(only.c_str(), TRUE));
  brambolt::test::RunUntilIdle();
  EXPECT_EQ(documents(), before - 1);
  EXPECT_EQ(ReadFile(only), "// typed\r\nint upper;\r\n");
  EXPECT_EQ(app.OpenDocumentFile(only.c_str()), upperDoc);

  // Over a window with unsaved changes: the user is asked; No saves nothing and keeps both.
  auto* lowerDoc = dynamic_cast<CEditCodeDoc*>(a);
  lowerDoc->GetEdit()->InsertTextAt(0, 0, "// lower's\r\n", -1);
  upperDoc->GetEdit()->InsertTextAt(0, 0, "// upper's\r\n", -1);
  editortest::RecordedBoxes boxes;
  boxes.Answer(IDNO);
  EXPECT_FALSE(upperDoc->DoSave(lower.c_str(), TRUE));
  brambolt::test::RunUntilIdle();
  ASSERT_EQ(boxes.texts.size(), 1U);
  EXPECT_NE(boxes.Last().find("open in another window"), std::string::npos) << boxes.Last();
  EXPECT_EQ(ReadFile(lower), "int lower;\r\n");
  EXPECT_EQ(documents(), before - 1);
  EXPECT_TRUE(lowerDoc->IsModified());
  boxes.Answer(IDYES);
  ASSERT_TRUE(upperDoc->DoSave(lower.c_str(), TRUE));
  brambolt::test::RunUntilIdle();
  EXPECT_EQ(documents(), before - 2);
  EXPECT_EQ(ReadFile(lower), "// upper's\r\n// typed\r\nint upper;\r\n");
}

// A file that another program deletes and writes again (as a checkout does) stays watched: each
// later change is reloaded into the untouched window, and asked about, every time, once it holds
// the user's typing, which a save then writes only with the user's word.
TEST_F(CodeViewFrameTest, AFileDeletedAndWrittenAgainIsFollowedAtEveryChange) {
  const std::string path = MakeFile("co.cpp", "int v1;\r\n");
  auto* doc = dynamic_cast<CEditCodeDoc*>(docs->OpenDocumentFile(path.c_str()));
  ASSERT_NE(doc, nullptr);
  CEditCodeView* view = ViewOf(doc);
  auto changed = [&](const std::string& command) {
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    for (int i = 0; i < 1000 && !doc->IsChangedOnDisk(); ++i) {
      brambolt::test::RunUntilIdle();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!doc->IsChangedOnDisk()) return false;
    // Every report of this change delivered before the user comes back to the window.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    brambolt::test::RunUntilIdle();
    view->OnActivateView(TRUE, view, view);
    return true;
  };
  auto write = [&](const char* text) { return "printf '" + std::string(text) + "' > '" + path + "'"; };
  editortest::RecordedBoxes boxes;
  ASSERT_TRUE(changed("rm '" + path + "'"));
  EXPECT_NE(boxes.Last().find("deleted or moved"), std::string::npos) << boxes.Last();
  ASSERT_TRUE(changed(write("int v2;\\r\\n")));
  EXPECT_EQ(Text(doc->GetEdit()), "int v2;\r\n");
  ASSERT_TRUE(changed("rm '" + path + "' && " + write("int v3;\\r\\n")));
  EXPECT_EQ(Text(doc->GetEdit()), "int v3;\r\n");
  ASSERT_TRUE(changed(write("int v4;\\r\\n")));
  EXPECT_EQ(Text(doc->GetEdit()), "int v4;\r\n");

  // With the user's typing: asked at each change; No keeps the typing.
  doc->GetEdit()->InsertTextAt(0, 0, "// mine\r\n", -1);
  const size_t asked = boxes.texts.size();
  boxes.Answer(IDNO);
  ASSERT_TRUE(changed("rm '" + path + "' && " + write("int v5;\\r\\n")));
  boxes.Answer(IDNO);
  ASSERT_TRUE(changed(write("int v6;\\r\\n")));
  ASSERT_EQ(boxes.texts.size(), asked + 2);
  EXPECT_NE(boxes.Last().find("Reload it and lose your changes?"), std::string::npos) << boxes.Last();
  EXPECT_EQ(Text(doc->GetEdit()), "// mine\r\nint v4;\r\n");

  // The save asks before writing over the other program's text.
  boxes.Answer(IDNO);
  EXPECT_FALSE(doc->DoSave(path.c_str(), TRUE));
  EXPECT_EQ(ReadFile(path), "int v6;\r\n");
  boxes.Answer(IDYES);
  EXPECT_TRUE(doc->DoSave(path.c_str(), TRUE));
  EXPECT_EQ(ReadFile(path), "// mine\r\nint v4;\r\n");
  EXPECT_EQ(boxes.texts.size(), asked + 4);
}

// Printed from the code view, a page ends after a line with mark 0 and the header holds the title.
TEST_F(CodeViewFrameTest, PrintingEndsAPageAfterMarkZeroUnderTheDocumentsTitle) {
  std::string text;
  for (int i = 1; i <= 40; ++i) text += "line_" + std::to_string(i) + "\r\n";
  auto* doc = dynamic_cast<CEditCodeDoc*>(docs->OpenDocumentFile(MakeFile("marks.cpp", text).c_str()));
  ASSERT_NE(doc, nullptr);
  doc->GetEdit()->ToggleLineMark(2, 0);
  // A window with unsaved changes: its title carries the mark, the printed page does not.
  doc->GetEdit()->InsertTextAt(39, 0, "x", -1);
  ASSERT_EQ(doc->GetTitle(), "marks.cpp*");
  CEditCodeView* view = ViewOf(doc);
  const std::string pdf = stores.TempDir() + "/marks.pdf";
  DEVMODE dm = brambolt::DefaultDevMode(brambolt::kPrintToFileName);
  CDC dc;
  dc.Attach(::CreateDC("winspool", brambolt::kPrintToFileName, pdf.c_str(), &dm));
  CPrintInfo info;
  view->OnBeginPrinting(&dc, &info);
  ASSERT_EQ(info.GetMaxPage(), 2U);
  DOCINFO docInfo{sizeof(DOCINFO), "marks", nullptr, nullptr, 0};
  ::StartDoc(dc.GetSafeHdc(), &docInfo);
  for (UINT page = 1; page <= info.GetMaxPage(); ++page) {
    ::StartPage(dc.GetSafeHdc());
    info.m_nCurPage = page;
    view->OnPrint(&dc, &info);
    ::EndPage(dc.GetSafeHdc());
  }
  ::EndDoc(dc.GetSafeHdc());
  view->OnEndPrinting(&dc, &info);
  ::DeleteDC(dc.Detach());
  const std::string printed = pdfprobe::Text(pdf);
  const size_t pageBreak = printed.find('\f');
  ASSERT_NE(pageBreak, std::string::npos);
  EXPECT_LT(printed.find("line_3\n"), pageBreak);
  EXPECT_GT(printed.find("line_4\n"), pageBreak);
  EXPECT_LT(printed.find("marks.cpp"), pageBreak);
  EXPECT_EQ(printed.find("marks.cpp*"), std::string::npos);
  EXPECT_NE(printed.find("Page: 2"), std::string::npos);
}

// Source files under the locales of a desktop: a file keeps the encoding it was read in (UTF-8
// shown in the code page and written back as UTF-8 with what was typed, GB2312 and Big5 as their
// bytes), a UTF-8 file the code page cannot show is not spoiled, and a character typed that the
// code page lacks is refused with a beep.
TEST_F(CodeViewFrameTest, AFileIsShownInTheCodePageAndSavedInTheEncodingItWasReadIn) {
  const struct {
    const char* locale;
    std::string file;   // the bytes on disk
    std::string typed;  // in the code page, at the start of the text
    std::string shown;  // the text after typing, in the code page
    std::string saved;  // the bytes the save leaves on disk
  } cases[] = {
      // UTF-8 files, shown right and written back as UTF-8 with what was typed.
      {"C.UTF-8", "// Gr\xC3\xB6\xC3\x9F" "e\r\n", "\xE4 ", "\xE4 // Gr\xF6\xDF" "e\r\n",
       "\xC3\xA4 // Gr\xC3\xB6\xC3\x9F" "e\r\n"},
      {"de_DE.UTF-8", "\xEF\xBB\xBF// Gr\xC3\xB6\xC3\x9F" "e\n", "\xE4 ", "\xE4 // Gr\xF6\xDF" "e\n",
       "\xEF\xBB\xBF\xC3\xA4 // Gr\xC3\xB6\xC3\x9F" "e\n"},
      {"zh_CN.UTF-8", "// \xE6\x96\x87\xE6\xA1\xA3\r\n", "\xD6\xD0", "\xD6\xD0// \xCE\xC4\xB5\xB5\r\n",
       "\xE4\xB8\xAD// \xE6\x96\x87\xE6\xA1\xA3\r\n"},
      {"zh_TW.UTF-8", "// \xE8\xA8\xB1\r\n", "\xA4\xA4", "\xA4\xA4// \xB3\x5C\r\n", "\xE4\xB8\xAD// \xE8\xA8\xB1\r\n"},
      // GB2312 and Big5 files stay as they are, under a UTF-8 locale too.
      {"zh_CN.UTF-8", "// \xCE\xC4\xB5\xB5\r\n", "\xD6\xD0", "\xD6\xD0// \xCE\xC4\xB5\xB5\r\n",
       "\xD6\xD0// \xCE\xC4\xB5\xB5\r\n"},
      {"zh_CN.GB2312", "// \xCE\xC4\xB5\xB5\r\n", "\xD6\xD0", "\xD6\xD0// \xCE\xC4\xB5\xB5\r\n",
       "\xD6\xD0// \xCE\xC4\xB5\xB5\r\n"},
      {"zh_TW.BIG5", "// \xB3\x5C\r\n", "\xA4\xA4", "\xA4\xA4// \xB3\x5C\r\n", "\xA4\xA4// \xB3\x5C\r\n"},
      // A file of ASCII alone is written as the locale's other programs read it.
      {"de_DE.UTF-8", "int a;\r\n", "\xE4", "\xE4int a;\r\n", "\xC3\xA4int a;\r\n"},
      {"zh_CN.GB2312", "int a;\r\n", "\xD6\xD0", "\xD6\xD0int a;\r\n", "\xD6\xD0int a;\r\n"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.locale + (" case " + std::to_string(n)));
    brambolt::ScopedLocale locale(c.locale);
    const std::string path = MakeFile(("file" + std::to_string(n++) + ".cpp").c_str(), c.file);
    CEditCodeDoc* doc = Open(path);
    ASSERT_NE(doc, nullptr);
    brambolt::test::TypeText(c.typed);
    EXPECT_EQ(Text(doc->GetEdit()), c.shown);
    ASSERT_TRUE(doc->DoSave(path.c_str(), TRUE));
    EXPECT_EQ(ReadFile(path), c.saved);
    doc->OnCloseDocument();
  }
}

TEST_F(CodeViewFrameTest, AUtf8FileTheCodePageCannotShowIsKeptAsItsBytesAndReadOnly) {
  brambolt::ScopedLocale locale("de_DE.UTF-8");
  const std::string bytes = "// \xE6\x97\xA5\xE6\x9C\xAC Gr\xC3\xB6\xC3\x9F" "e\r\n";  // 日本 Größe
  const std::string path = MakeFile("japan.cpp", bytes);
  editortest::RecordedBoxes boxes;
  CEditCodeDoc* doc = Open(path);
  ASSERT_NE(doc, nullptr);
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_NE(boxes.Last().find("read-only"), std::string::npos) << boxes.Last();
  brambolt::test::TypeText("x\xE4");
  EXPECT_EQ(Text(doc->GetEdit()), bytes);
  EXPECT_FALSE(doc->IsModified());
  ASSERT_TRUE(doc->DoSave(path.c_str(), TRUE));
  EXPECT_EQ(ReadFile(path), bytes);
}

TEST_F(CodeViewFrameTest, ACharacterTheCodePageLacksIsRefusedWithABeep) {
  brambolt::ScopedLocale locale("C.UTF-8");
  const std::string path = MakeFile("town.cpp", "\r\n");
  CEditCodeDoc* doc = Open(path);
  ASSERT_NE(doc, nullptr);
  brambolt::test::ScriptedInputMethod input(session);
  const size_t bells = session.Backend().Bells().size();
  input.Start();
  input.Commit("// \xC4\xB0stanbul \xE2\x82\xAC");  // İ lacks in 1252, the euro sign does not
  EXPECT_EQ(Text(doc->GetEdit()), "// stanbul \x80\r\n");
  EXPECT_EQ(session.Backend().Bells().size(), bells + 1);
  ASSERT_TRUE(doc->DoSave(path.c_str(), TRUE));
  EXPECT_EQ(ReadFile(path), "// stanbul \xE2\x82\xAC\r\n");
}

}  // namespace
