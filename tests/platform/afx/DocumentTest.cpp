// Documents, views, frames and templates: making documents with their frames and views,
// titles, saving and opening through archives, prompts, command routing from the view to the
// application, the single-document template, the recent-file list and the command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "AfxTestResources.h"
#include "afx/afx.h"
#include "testing/testing.h"

using brambolt::test::PrivateStores;
using brambolt::test::RunUntilIdle;
using brambolt::test::UiSession;

namespace {

std::vector<std::string> g_routed;

class TestDoc : public CDocument {
  DECLARE_DYNCREATE(TestDoc)

 public:
  CString m_text;
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring())
      ar << m_text;
    else
      ar >> m_text;
  }
  void DeleteContents() override { m_text.Empty(); }

 protected:
  afx_msg void OnDocCommand() { g_routed.push_back("doc"); }
  afx_msg void OnShared() { g_routed.push_back("doc shared"); }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(TestDoc, CDocument)
BEGIN_MESSAGE_MAP(TestDoc, CDocument)
  ON_COMMAND(ID_TEST_FIRST, OnDocCommand)
  ON_COMMAND(ID_TEST_SECOND, OnShared)
END_MESSAGE_MAP()

class TestView : public CView {
  DECLARE_DYNCREATE(TestView)

 public:
  int initialUpdates = 0;
  int updates = 0;
  void OnDraw(CDC* pDC) override {
    CRect r;
    GetClientRect(&r);
    pDC->FillSolidRect(&r, RGB(0, 0, 200));
  }
  void OnInitialUpdate() override {
    ++initialUpdates;
    CView::OnInitialUpdate();
  }
  void OnUpdate(CView* sender, LPARAM hint, CObject* object) override {
    ++updates;
    CView::OnUpdate(sender, hint, object);
  }

 protected:
  afx_msg void OnShared() { g_routed.push_back("view shared"); }
  DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(TestView, CView)
BEGIN_MESSAGE_MAP(TestView, CView)
  ON_COMMAND(ID_TEST_SECOND, OnShared)
END_MESSAGE_MAP()

class DocApp : public CWinApp {
 public:
  DocApp() : CWinApp("Doc App") {}

 protected:
  afx_msg void OnAppCommand() { g_routed.push_back("app"); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DocApp, CWinApp)
  ON_COMMAND(ID_TEST_THIRD, OnAppCommand)
  ON_COMMAND(ID_FILE_NEW, OnFileNew)
END_MESSAGE_MAP()

class DocumentTest : public ::testing::Test {
 protected:
  PrivateStores stores;
  UiSession session;
  DocApp app;
  CMultiDocTemplate* tmpl = new CMultiDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(CFrameWnd),
                                                  RUNTIME_CLASS(TestView));
  DocumentTest() {
    app.AddDocTemplate(tmpl);
    g_routed.clear();
  }
  ~DocumentTest() override { app.CloseAllDocuments(TRUE); }

  static TestView* ViewOf(CDocument* doc) {
    POSITION pos = doc->GetFirstViewPosition();
    return pos != nullptr ? static_cast<TestView*>(doc->GetNextView(pos)) : nullptr;
  }
  std::string TempFile(const char* name) { return stores.TempDir() + "/" + name; }
};

TEST_F(DocumentTest, TemplateStringsSplitIntoTheirFields) {
  struct Case {
    CDocTemplate::DocStringIndex index;
    const char* text;
  };
  for (const Case& c : {Case{CDocTemplate::windowTitle, "Main"}, Case{CDocTemplate::docName, "TestDoc"},
                        Case{CDocTemplate::filterExt, ".tdc"}, Case{CDocTemplate::regFileTypeId, "Brambolt.TestDoc"},
                        Case{CDocTemplate::regFileTypeName, "Test Document"}}) {
    CString text;
    EXPECT_TRUE(tmpl->GetDocString(text, c.index));
    EXPECT_EQ(std::string(text), c.text);
  }
  EXPECT_EQ(tmpl->m_nIDResource, static_cast<UINT>(IDR_MAINFRAME));
  EXPECT_EQ(tmpl->m_pViewClass, RUNTIME_CLASS(TestView));
  EXPECT_NE(tmpl->m_hMenuShared, nullptr);
}

TEST_F(DocumentTest, NewDocumentsGetAFrameAViewAndNumberedTitles) {
  CDocument* first = app.OpenDocumentFile(nullptr);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(std::string(first->GetTitle()), "TestDoc1");
  TestView* view = ViewOf(first);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->GetDocument(), first);
  EXPECT_EQ(view->initialUpdates, 1);
  CFrameWnd* frame = view->GetParentFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->GetActiveView(), view);
  EXPECT_EQ(frame->GetActiveDocument(), first);
  EXPECT_EQ(frame->m_nIDHelp, static_cast<UINT>(IDR_MAINFRAME));
  EXPECT_NE(::GetMenu(*frame), nullptr);
  CString title;
  frame->GetWindowText(title);
  EXPECT_EQ(std::string(title), "TestDoc1 - Main");

  CDocument* second = app.OpenDocumentFile(nullptr);
  EXPECT_EQ(std::string(second->GetTitle()), "TestDoc2");
  EXPECT_EQ(app.m_pDocManager->GetOpenDocumentCount(), 2);
  RunUntilIdle();
  EXPECT_EQ(brambolt::test::WindowPixel(*view, 5, 5), RGB(0, 0, 200)) << "the view paints through OnDraw";
}

TEST_F(DocumentTest, SavedDocumentsOpenAgainAndJoinTheRecentFiles) {
  app.SetRegistryKey("Brambolt Tests");
  app.LoadStdProfileSettings(4);
  auto* doc = static_cast<TestDoc*>(app.OpenDocumentFile(nullptr));
  doc->m_text = "hello archive";
  doc->SetModifiedFlag();
  std::string path = TempFile("saved.tdc");
  ASSERT_TRUE(doc->DoSave(path.c_str()));
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(std::string(doc->GetTitle()), "saved.tdc");
  EXPECT_EQ(std::string(doc->GetPathName()), path);
  doc->OnCloseDocument();
  EXPECT_EQ(app.m_pDocManager->GetOpenDocumentCount(), 0);

  auto* reopened = static_cast<TestDoc*>(app.OpenDocumentFile(path.c_str()));
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(std::string(reopened->m_text), "hello archive");
  EXPECT_FALSE(reopened->IsModified());
  EXPECT_EQ(app.OpenDocumentFile(path.c_str()), reopened) << "an open document is not opened twice";
  ASSERT_NE(app.m_pRecentFileList, nullptr);
  ASSERT_GE(app.m_pRecentFileList->GetSize(), 1);
  EXPECT_EQ(std::string((*app.m_pRecentFileList)[0]), path);
}

struct Box {
  std::string text;
  UINT type;
};
std::vector<Box> g_boxes;
int g_answer = IDOK;

int RecordBox(HWND, LPCTSTR text, LPCTSTR, UINT type) {
  g_boxes.push_back({text, type});
  return g_answer;
}

TEST_F(DocumentTest, FilesThatCannotBeReadAreReportedAndLeaveNoDocument) {
  g_boxes.clear();
  brambolt::afx::SetMessageBoxPresenter(&RecordBox);
  std::string missing = TempFile("missing.tdc");
  EXPECT_EQ(app.OpenDocumentFile(missing.c_str()), nullptr);
  std::string garbage = TempFile("garbage.tdc");
  std::ofstream(garbage, std::ios::binary) << "\xFF\xFF\xFF\xFF\xFF";
  EXPECT_EQ(app.OpenDocumentFile(garbage.c_str()), nullptr);
  brambolt::afx::SetMessageBoxPresenter(nullptr);
  ASSERT_EQ(g_boxes.size(), 2u);
  EXPECT_EQ(g_boxes[0].text, missing + " could not be found.");
  EXPECT_NE(g_boxes[1].text.find(garbage), std::string::npos);
  EXPECT_EQ(app.m_pDocManager->GetOpenDocumentCount(), 0);
}

TEST_F(DocumentTest, ModifiedDocumentsAskBeforeClosing) {
  g_boxes.clear();
  brambolt::afx::SetMessageBoxPresenter(&RecordBox);
  CDocument* doc = app.OpenDocumentFile(nullptr);
  doc->SetModifiedFlag();
  g_answer = IDCANCEL;
  EXPECT_FALSE(doc->SaveModified());
  g_answer = IDNO;
  EXPECT_TRUE(doc->SaveModified());
  ASSERT_EQ(g_boxes.size(), 2u);
  EXPECT_EQ(g_boxes[0].text, "Save the changes to TestDoc1?");
  CFrameWnd* frame = ViewOf(doc)->GetParentFrame();
  g_answer = IDCANCEL;
  frame->SendMessage(WM_CLOSE);
  EXPECT_EQ(app.m_pDocManager->GetOpenDocumentCount(), 1) << "cancelled: the frame stays";
  g_answer = IDNO;
  frame->SendMessage(WM_CLOSE);
  EXPECT_EQ(app.m_pDocManager->GetOpenDocumentCount(), 0) << "the last frame took its document along";
  brambolt::afx::SetMessageBoxPresenter(nullptr);
}

TEST_F(DocumentTest, CommandsGoFromTheViewToTheDocumentAndTheApplication) {
  CDocument* doc = app.OpenDocumentFile(nullptr);
  CFrameWnd* frame = ViewOf(doc)->GetParentFrame();
  for (UINT id : {ID_TEST_SECOND, ID_TEST_FIRST, ID_TEST_THIRD}) frame->SendMessage(WM_COMMAND, id);
  EXPECT_EQ(g_routed, (std::vector<std::string>{"view shared", "doc", "app"}));
}

TEST_F(DocumentTest, AcceleratorsOfTheFrameReachTheDocument) {
  CDocument* doc = app.OpenDocumentFile(nullptr);
  TestView* view = ViewOf(doc);
  CFrameWnd* frame = view->GetParentFrame();
  MSG msg{*view, WM_CHAR, 't', 1, 0, {0, 0}};
  EXPECT_TRUE(frame->PreTranslateMessage(&msg));
  EXPECT_EQ(g_routed, (std::vector<std::string>{"app"})) << "'t' is ID_TEST_THIRD in the table";
}

TEST_F(DocumentTest, UpdateAllViewsSkipsTheSender) {
  CDocument* doc = app.OpenDocumentFile(nullptr);
  TestView* view = ViewOf(doc);
  int before = view->updates;
  doc->UpdateAllViews(view);
  EXPECT_EQ(view->updates, before);
  doc->UpdateAllViews(nullptr);
  EXPECT_EQ(view->updates, before + 1);
}

TEST(SingleDocument, TheOneDocumentAndFrameAreReused) {
  UiSession session;
  DocApp app;
  app.AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(CFrameWnd),
                                            RUNTIME_CLASS(TestView)));
  CDocument* first = app.OpenDocumentFile(nullptr);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(std::string(first->GetTitle()), "TestDoc");
  CWnd* main = app.m_pMainWnd;
  EXPECT_NE(main, nullptr) << "the first frame becomes the main window";
  CDocument* second = app.OpenDocumentFile(nullptr);
  EXPECT_EQ(second, first);
  EXPECT_EQ(app.m_pMainWnd, main);
  app.CloseAllDocuments(TRUE);
}

TEST(RecentFiles, NewestFirstWithoutDuplicatesAndLimited) {
  CRecentFileList list(0, "Recent File List", "File%d", 3);
  for (const char* path : {"C:\\a.tdc", "C:\\b.tdc", "C:\\A.TDC", "C:\\c.tdc", "C:\\d.tdc"}) list.Add(path);
  ASSERT_EQ(list.GetSize(), 3);
  EXPECT_EQ(std::string(list[0]), "C:\\d.tdc");
  EXPECT_EQ(std::string(list[1]), "C:\\c.tdc");
  EXPECT_EQ(std::string(list[2]), "C:\\A.TDC") << "the same file in other case moved up";
}

// A file opened by a path spelled with a backslash (a project's folder joined to "Source Code\\main.cpp")
// is kept as the system names it, with '/'; opened so again in the next session it is the same file,
// not a second entry.
TEST(RecentFiles, OneFileSpelledTwoWaysIsOneEntryAcrossSessions) {
  PrivateStores stores;
  UiSession session;
  const std::string folder = stores.TempDir() + "/proj";
  std::filesystem::create_directories(folder + "/Source Code");
  std::ofstream(folder + "/Source Code/main.cpp") << "int main() {}\n";
  std::ofstream(folder + "/other.cpp") << "\n";
  const std::string opened = folder + "/Source Code\\main.cpp";
  CWinApp app("Recent Spellings App");
  app.SetRegistryKey("Brambolt Tests");
  for (int run = 0; run < 3; ++run) {
    app.LoadStdProfileSettings(4);
    app.AddToRecentFileList((folder + "/other.cpp").c_str());
    app.AddToRecentFileList(opened.c_str());
    app.SaveStdProfileSettings();
  }
  app.LoadStdProfileSettings(4);
  ASSERT_EQ(app.m_pRecentFileList->GetSize(), 2);
  EXPECT_EQ(std::string((*app.m_pRecentFileList)[0]), folder + "/Source Code/main.cpp");
  EXPECT_EQ(std::string((*app.m_pRecentFileList)[1]), folder + "/other.cpp");
}

TEST(RecentFiles, ListSurvivesInTheProfileAndFillsTheMenu) {
  PrivateStores stores;
  UiSession session;
  CWinApp app("Recent App");
  app.SetRegistryKey("Brambolt Tests");
  app.LoadStdProfileSettings(4);
  app.AddToRecentFileList("C:\\one.tdc");
  app.AddToRecentFileList("C:\\two&three.tdc");
  app.SaveStdProfileSettings();
  // Kept as the system names the file: read back as the program spells that name.
  EXPECT_EQ(std::string(app.GetProfileString("Recent File List", "File1")), "/two&three.tdc");
  app.LoadStdProfileSettings(4);
  ASSERT_EQ(app.m_pRecentFileList->GetSize(), 2);

  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, ID_FILE_OPEN, "&Open");
  menu.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, "Recent File");
  menu.AppendMenu(MF_STRING, ID_APP_EXIT, "E&xit");
  AfxUpdateMenuPopup(&app, &menu, TRUE);
  ASSERT_EQ(menu.GetMenuItemCount(), 4u);
  CString text;
  menu.GetMenuString(1, text, MF_BYPOSITION);
  EXPECT_EQ(std::string(text), "&1 /two&&three.tdc");
  EXPECT_EQ(menu.GetMenuItemID(2), static_cast<UINT>(ID_FILE_MRU_FILE2));
  EXPECT_EQ(menu.GetMenuItemID(3), static_cast<UINT>(ID_APP_EXIT));
}

TEST(CommandLine, StandardSwitchesAndTheFileName) {
  UiSession session;
  CWinApp app("Command App");
  struct Case {
    std::vector<const char*> args;
    int command;
    const char* file;
  };
  const Case cases[] = {{{"prog"}, CCommandLineInfo::FileNew, ""},
                        {{"prog", "x.tdc"}, CCommandLineInfo::FileOpen, "x.tdc"},
                        {{"prog", "/p", "y.tdc"}, CCommandLineInfo::FilePrint, "y.tdc"},
                        {{"prog", "/p", "/home/me/y.tdc"}, CCommandLineInfo::FilePrint, "/home/me/y.tdc"},
                        {{"prog", "/usr"}, CCommandLineInfo::FileOpen, "/usr"},
                        {{"prog", "-Embedding"}, CCommandLineInfo::FileNew, ""}};
  for (const Case& c : cases) {
    std::vector<char*> argv;
    for (const char* a : c.args) argv.push_back(const_cast<char*>(a));
    brambolt::afx::SetCommandLine(static_cast<int>(argv.size()), argv.data());
    CCommandLineInfo info;
    app.ParseCommandLine(info);
    EXPECT_EQ(info.m_nShellCommand, c.command);
    EXPECT_EQ(std::string(info.m_strFileName), c.file);
  }
  CCommandLineInfo embedded;
  embedded.ParseParam("Embedding", TRUE, TRUE);
  EXPECT_TRUE(embedded.m_bRunEmbedded);
  EXPECT_FALSE(embedded.m_bShowSplash);
}

}  // namespace
