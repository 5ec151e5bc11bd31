// The Project Explorer's file tree over a real project folder: its items, opening and removing
// files, its context menu, and a header dragged into an editor as an include line.
#include <gtest/gtest.h>

#include "app/CBCGToolbarDropSource.h"
#include "testing/Xvfb.h"
#include "win/Input.h"
#include "app/FileView.h"
#include "resources/ExplorerRes.h"
#include "resources/ShellRes.h"
#include "tests/app/AppTestSupport.h"
#include "tests/app/ExplorerTestSupport.h"
#include "afx/CFrameWnd.h"
#include "editor/view/SECEditView.h"
#include "tests/editor/ControllerHost.h"

using brambolt::test::ModalAnswers;
using explorertest::ChildNamed;
using explorertest::ChildrenOf;
using explorertest::Item;
using explorertest::LabelPoint;
using explorertest::TextsOf;

namespace {

// A file tree in a window, over a project "Demo" with a few files.
struct FileTreeFixture {
  brambolt::test::PrivateStores stores;
  brambolt::test::UiSession session;
  explorertest::RecordingApp app;
  apptest::BoxRecorder boxes;
  explorertest::ProjectFolder project;
  explorertest::ProjectShell shell;
  apptest::Host host{300, 400};
  FileView tree;

  explicit FileTreeFixture(bool open = true) {
    project.Write("Source Code/b.cpp");
    project.Write("Source Code/A.cpp");
    project.Write("Source Code/.hidden.cpp");
    project.Write("Source Code/sub/inner.cpp");
    project.Write("Header Files/zeta.h", "class Zeta {\npublic:\n  int m_n;\n};\n");
    project.Write("Header Files/Alpha.H", "class Alpha {\n};\n");
    if (open) {
      shell.name = "Demo";
      shell.folder = project.Folder();
    }
    tree.Create(WS_CHILD | WS_VISIBLE | 0x37, 0x02000000, CRect(0, 0, 300, 400), &host, IDW_EXPLORER_FILE);
    brambolt::test::RunUntilIdle();
  }
  // Opens both folders so that every file has a row.
  void ShowFiles() {
    tree.Expand(tree.m_hSourceFolder, TVE_EXPAND);
    tree.Expand(tree.m_hHeaderFolder, TVE_EXPAND);
    brambolt::test::RunUntilIdle();
  }
  HTREEITEM Root() { return tree.GetRootItem(); }
  HTREEITEM File(const char* folder, const char* name) { return ChildNamed(tree, ChildNamed(tree, Root(), folder), name); }
  CString PathOf(const char* folder, const char* name) { return project.Folder() + folder + "\\" + name; }
};

TEST(FileView, ShowsTheProjectFoldersSortedWithoutHiddenFilesOrSubFoldersAndCatchesUpOnRefresh) {
  FileTreeFixture f;
  HTREEITEM root = f.Root();
  EXPECT_EQ(explorertest::ItemOf(f.tree, root), (Item{"Demo Files", 4, 4, 1000}));
  EXPECT_EQ(f.tree.m_ImageList.GetImageCount(), 6);
  EXPECT_TRUE(f.tree.IsExpanded(root));
  EXPECT_FALSE(f.tree.IsExpanded(f.tree.m_hSourceFolder));
  EXPECT_EQ(f.tree.GetSelectedItem(), root);
  EXPECT_EQ(ChildrenOf(f.tree, root), (std::vector<Item>{{"Source Files", 0, 1, 1000}, {"Header Files", 0, 1, 1000}}));
  EXPECT_EQ(ChildrenOf(f.tree, f.tree.m_hSourceFolder),
            (std::vector<Item>{{"A.cpp", 2, 2, 2000}, {"b.cpp", 2, 2, 2000}}));
  EXPECT_EQ(ChildrenOf(f.tree, f.tree.m_hHeaderFolder),
            (std::vector<Item>{{"Alpha.H", 2, 2, 3000}, {"zeta.h", 2, 2, 3000}}));

  // Files that come and go on disk show after a refresh; refreshing twice changes nothing.
  f.project.Write("Source Code/c.cpp");
  std::filesystem::remove(f.project.root / "Source Code" / "b.cpp");
  f.tree.Refresh();
  f.tree.Refresh();
  EXPECT_EQ(TextsOf(f.tree, f.Root()), (std::vector<std::string>{"Source Files", "Header Files"}));
  EXPECT_EQ(TextsOf(f.tree, f.tree.m_hSourceFolder), (std::vector<std::string>{"A.cpp", "c.cpp"}));
  EXPECT_EQ(f.tree.GetCount(), 7);

  // Without a project: the root and the two empty folders.
  f.shell.name = "";
  f.tree.Refresh();
  EXPECT_EQ(std::string(f.tree.GetItemText(f.Root())), " Files");
  EXPECT_EQ(TextsOf(f.tree, f.Root()), (std::vector<std::string>{"Source Files", "Header Files"}));
  EXPECT_EQ(f.tree.GetCount(), 3);

  // The image list goes before the window does.
  f.tree.DestroyWindow();
  EXPECT_EQ(f.tree.m_ImageList.GetSafeHandle(), nullptr);
}

TEST(FileView, TopLevelItemsAreDrawnBolderThanNestedOnes) {
  FileTreeFixture f;
  f.ShowFiles();
  HTREEITEM items[] = {f.Root(), f.tree.m_hSourceFolder, f.File("Source Files", "A.cpp")};
  int weights[3] = {};
  for (int i = 0; i < 3; ++i) {
    CClientDC dc(&f.tree);
    SECListPaintContext context(&dc, 0);
    context.m_nRow = f.tree.GetItemRow(items[i]);
    f.tree.SelectItemFont(&context);
    LOGFONT lf{};
    ASSERT_NE(context.m_pFont, nullptr);
    context.m_pFont->GetLogFont(&lf);
    EXPECT_STREQ(lf.lfFaceName, "Fixedsys");
    weights[i] = lf.lfWeight;
  }
  EXPECT_EQ(weights[0], 700);
  EXPECT_EQ(weights[1], 550);
  EXPECT_EQ(weights[2], 550);
}

TEST(FileView, OpensFilesByDoubleClickAndReturnAndTellsOfMissingOnes) {
  FileTreeFixture f;
  f.ShowFiles();
  brambolt::test::DoubleClick(f.tree.GetSafeHwnd(), LabelPoint(f.tree, f.File("Header Files", "zeta.h")));
  f.tree.SelectItem(f.File("Source Files", "A.cpp"));
  f.tree.SetFocus();
  brambolt::test::PressKey(VK_RETURN);
  // Folders open nothing.
  f.tree.SelectItem(f.tree.m_hSourceFolder);
  f.tree.SendMessage(WM_COMMAND, ID_EXPLORER_OPEN);
  EXPECT_EQ(f.app.opened, (std::vector<std::string>{std::string(f.PathOf("Header Files", "zeta.h")),
                                                    std::string(f.PathOf("Source Code", "A.cpp"))}));
  EXPECT_TRUE(f.boxes.Boxes().empty());

  std::filesystem::remove(f.project.root / "Source Code" / "b.cpp");
  f.tree.SelectItem(f.File("Source Files", "b.cpp"));
  f.tree.SendMessage(WM_COMMAND, ID_EXPLORER_OPEN);
  EXPECT_EQ(f.app.opened.size(), 2u);
  ASSERT_EQ(f.boxes.Boxes().size(), 1u);
  EXPECT_EQ(f.boxes.Boxes()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
}

// What an update handler makes of a command.
class StateCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn) override { enabled = bOn; }
  int enabled = -1;  // -1: no handler
};

TEST(FileView, CommandsAreEnabledByTheSelectionOrTheOpenProject) {
  FileTreeFixture f;
  f.ShowFiles();
  auto update = [&](UINT id) {
    StateCmdUI ui;
    ui.m_nID = id;
    ui.DoUpdate(&f.tree, FALSE);
    return ui.enabled;
  };
  struct Case {
    bool selection;
    const char* project;
    int open, remove, insertFiles, insertLive, insertMsvc;
  };
  const Case cases[] = {
      {true, "Demo", 1, 1, 1, 1, -1},
      {true, "", 1, 1, 0, 0, -1},
      {false, "Demo", 0, 0, 1, 1, -1},  // an empty tree has no selection
  };
  for (const Case& c : cases) {
    if (c.selection) f.tree.SelectItem(f.Root());
    else f.tree.DeleteAllItems();
    f.shell.name = c.project;
    EXPECT_EQ(update(ID_EXPLORER_OPEN), c.open);
    EXPECT_EQ(update(ID_EXPLORER_REMOVE), c.remove);
    EXPECT_EQ(update(ID_EXPLORER_INSERT_FILES), c.insertFiles);
    EXPECT_EQ(update(ID_EXPLORER_INSERT_LIVE_FOLDER), c.insertLive);
    EXPECT_EQ(update(ID_EXPLORER_INSERT_FROM_MSVC), c.insertMsvc);
  }
}

TEST(FileView, RemoveAsksFirstDeletesOnYesAndReadsTheHeadersAgainAfterAHeader) {
  FileTreeFixture f;
  f.ShowFiles();
  f.shell.workspace.AnalyseProjectFiles(f.project.Folder() + "Header Files\\*.*");
  ASSERT_EQ(f.shell.workspace.m_FileObjList.GetCount(), 2);
  int asked = 0;
  auto answer = [&](int button) {
    return [&asked, button](HWND box) {
      ++asked;
      ::EndDialog(box, button);
    };
  };
  struct Case {
    const char* folder;
    const char* name;
    const char* relative;
    int answer;
    bool removed;
    INT_PTR classesAfter;
  };
  const Case cases[] = {
      {"Source Files", "A.cpp", "Source Code/A.cpp", IDNO, false, 2},        // No keeps it
      {"Source Files", "A.cpp", "Source Code/A.cpp", IDYES, true, 2},        // a source: no analysis
      {"Header Files", "zeta.h", "Header Files/zeta.h", IDYES, true, 1},     // a header: analysed again
  };
  brambolt::afx::SetMessageBoxPresenter(nullptr);  // the questions come as dialogs answered below
  for (const Case& c : cases) {
    ModalAnswers answers;
    answers.When("#32770", nullptr, answer(c.answer));
    HTREEITEM item = f.File(c.folder, c.name);
    ASSERT_NE(item, nullptr) << c.name;
    f.tree.SelectItem(item);
    f.tree.SetFocus();
    brambolt::test::PressKey(VK_DELETE);
    EXPECT_EQ(f.project.Exists(c.relative), !c.removed) << c.name;
    EXPECT_EQ(f.File(c.folder, c.name) == nullptr, c.removed) << c.name;
    EXPECT_EQ(f.shell.workspace.m_FileObjList.GetCount(), c.classesAfter) << c.name;
  }
  EXPECT_EQ(asked, 3);
  // Folders are not removed, and nothing is asked.
  f.tree.SelectItem(f.tree.m_hHeaderFolder);
  f.tree.SendMessage(WM_COMMAND, ID_EXPLORER_REMOVE);
  EXPECT_EQ(asked, 3);
}

// The entries of the menu shown on each kind of item, and the commands they run.
TEST(FileView, ContextMenuGreysOpenAndRemoveOnFoldersAndRunsTheProjectCommands) {
  FileTreeFixture f;
  f.ShowFiles();
  struct Case {
    HTREEITEM item;
    bool fileEntries;  // "&Open" and "&Remove" enabled
    UINT choose;       // the mnemonic of the entry chosen
    UINT command;      // the application command it runs, 0 for none
  };
  const Case cases[] = {
      {f.Root(), false, 'F', ID_INSERT_FILES},
      {f.tree.m_hSourceFolder, false, 'I', ID_INSERT_LIVE_FOLDER},
      {f.File("Source Files", "A.cpp"), true, 'P', ID_INSERT_MSVC_PROJECT},
  };
  for (const Case& c : cases) {
    std::vector<std::string> texts;
    std::vector<bool> enabled;
    ModalAnswers answers;
    answers.When(MENU_WINDOW_CLASS, nullptr, [&](HWND popup) {
      auto menu = reinterpret_cast<HMENU>(::SendMessage(popup, MN_GETHMENU, 0, 0));
      for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        ::GetMenuString(menu, i, text, sizeof text, MF_BYPOSITION);
        texts.emplace_back(text);
        enabled.push_back((::GetMenuState(menu, i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0);
      }
      brambolt::test::PressKey(c.choose);
    });
    f.app.commands.clear();
    brambolt::test::Click(f.tree.GetSafeHwnd(), LabelPoint(f.tree, c.item), brambolt::test::kNone, WM_RBUTTONDOWN);
    EXPECT_EQ(texts, (std::vector<std::string>{"&Open", "", "Insert &Files Into Project...\tF4",
                                               "&Insert files from live folder into Project...\tCtrl+F7",
                                               "Insert Files from MSVC &Project...", "", "&Remove"}));
    ASSERT_EQ(enabled.size(), 7u);
    EXPECT_EQ(enabled[0], c.fileEntries);
    EXPECT_EQ(enabled[6], c.fileEntries);
    EXPECT_TRUE(enabled[2] && enabled[3] && enabled[4]);
    EXPECT_EQ(f.app.commands, std::vector<UINT>{c.command});
  }
  // Without a project the insert commands do nothing.
  f.shell.name = "";
  f.app.commands.clear();
  for (UINT id : {ID_EXPLORER_INSERT_FILES, ID_EXPLORER_INSERT_LIVE_FOLDER, ID_EXPLORER_INSERT_FROM_MSVC})
    f.tree.SendMessage(WM_COMMAND, id);
  EXPECT_TRUE(f.app.commands.empty());
}

// An editor view over its own text, in a frame to the right of the file tree.
class TextView : public SECEditView {
 public:
  explicit TextView(SECEdit* model) : m_model(model) {}
  SECEdit* GetViewModel() override { return m_model; }

 private:
  SECEdit* m_model;
};

struct EditorFrame {
  editortest::SwitchableLanguage lang{"C"};
  editortest::SwitchableLanguage def{"Default"};
  editortest::LanguageScope scope{{&lang, &def}};
  SECEdit model;
  CFrameWnd* frame = new CFrameWnd;
  TextView* view = new TextView(&model);

  explicit EditorFrame(const char* text) {
    editortest::MakeC(lang);
    model.ResetWithLanguage("C");
    model.InsertTextAt(0, 0, text, -1);
    model.ClearUndoHistory();
    EXPECT_TRUE(frame->Create(nullptr, "Editor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(400, 0, 800, 300)));
    EXPECT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 380, 260), frame, AFX_IDW_PANE_FIRST));
    view->OnInitialUpdate();
    brambolt::test::RunUntilIdle();
  }
  ~EditorFrame() {
    if (::IsWindow(frame->GetSafeHwnd())) frame->DestroyWindow();
  }
  std::string Text() {
    CString out;
    const SECEditLineCol end = model.GetEndPosition();
    model.GetText(&out, 0, 0, end.m_nLine, end.m_nCol);
    return std::string(out, static_cast<size_t>(out.GetLength()));
  }
  // The screen point of the start of a line.
  POINT LineStart(int line) {
    CPoint pt;
    view->GetEditController()->PositionToPoint(pt, SECEditLineCol(line, 0));
    view->GetEditController()->GetViewport()->LPtoDP(static_cast<POINT*>(&pt), 1);
    return brambolt::test::ScreenPoint(view->GetSafeHwnd(), POINT{pt.x + 1, pt.y + 3});
  }
};

TEST(FileView, AHeaderDraggedIntoAnEditorDropsItsIncludeLine) {
  FileTreeFixture f;
  f.ShowFiles();
  EditorFrame editor("int x;\r\n");
  auto dragTo = [&](HTREEITEM item, POINT screen) {
    ::ScreenToClient(f.tree.GetSafeHwnd(), &screen);
    brambolt::test::Drag(f.tree.GetSafeHwnd(), LabelPoint(f.tree, item), screen, 8);
  };
  dragTo(f.File("Header Files", "Alpha.H"), editor.LineStart(0));
  EXPECT_EQ(editor.Text(), "\t\r\n#include \"Alpha.H\"\t\r\nint x;\r\n");
  EXPECT_TRUE(CBCGToolbarDropSource::Shared().m_bDragStarted);
  // A source file starts no drag.
  dragTo(f.File("Source Files", "A.cpp"), editor.LineStart(0));
  EXPECT_EQ(editor.Text(), "\t\r\n#include \"Alpha.H\"\t\r\nint x;\r\n");
  EXPECT_TRUE(FileView::IsHeaderName("x.h") && FileView::IsHeaderName("X.H"));
  EXPECT_FALSE(FileView::IsHeaderName("x.hpp") || FileView::IsHeaderName("h") || FileView::IsHeaderName("x.cpp"));
}

// The include line is text of the code page, as the editor holds it (and converts it once, to the
// charset of its file, when it saves): a header's name on disk in the locale's charset comes as the
// code page spells it. A name the code page cannot spell (Chinese under C.UTF-8, held as its
// UTF-8 bytes) would read as other characters and be converted again: no line is written for it.
TEST(FileView, AHeaderDraggedIntoAnEditorUnderALocaleDropsItsNameInTheCodePage) {
  const struct {
    const char* locale;
    std::string onDisk;  // the header's name as the system names it
    std::string line;    // the line dropped, in the code page; empty: none
  } cases[] = {
      {"de_DE.UTF-8", "Gr\xC3\xB6\xC3\x9F" "e.h", "\t\r\n#include \"Gr\xF6\xDF" "e.h\"\t\r\n"},
      {"zh_CN.UTF-8", "\xE4\xB8\xAD\xE6\x96\x87.h", "\t\r\n#include \"\xD6\xD0\xCE\xC4.h\"\t\r\n"},
      {"zh_CN.GB2312", "\xD6\xD0\xCE\xC4.h", "\t\r\n#include \"\xD6\xD0\xCE\xC4.h\"\t\r\n"},
      {"C.UTF-8", "\xE4\xB8\xAD\xE6\x96\x87.h", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.locale);
    brambolt::ScopedLocale locale(c.locale);
    FileTreeFixture f;
    f.project.Write("Header Files/" + c.onDisk, "class C {};\n");
    f.tree.Refresh();
    f.ShowFiles();
    EditorFrame editor("int x;\r\n");
    HTREEITEM header = f.File("Header Files", brambolt::ProgramNameOf(c.onDisk).c_str());
    ASSERT_NE(header, nullptr);
    POINT to = editor.LineStart(0);
    ::ScreenToClient(f.tree.GetSafeHwnd(), &to);
    brambolt::test::Drag(f.tree.GetSafeHwnd(), LabelPoint(f.tree, header), to, 8);
    EXPECT_EQ(editor.Text(), c.line + "int x;\r\n");
  }
}

// The file tree on a private Xvfb: a header dragged out of the program onto another program's
// window arrives there as a file.
class FileViewOnX11 : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { x_ = new brambolt::test::XvfbBackend; }
  static void TearDownTestSuite() {
    delete x_;
    x_ = nullptr;
  }
  void SetUp() override {
    if (!x_->Backend()) GTEST_SKIP() << "Xvfb is not available";
    brambolt::SetBackend(x_->Backend());
    brambolt::ResetInputState();
  }
  static brambolt::test::XvfbBackend* x_;
};
brambolt::test::XvfbBackend* FileViewOnX11::x_ = nullptr;

TEST_F(FileViewOnX11, AHeaderDraggedOntoAnotherProgramArrivesAsAFile) {
  CWinApp app("Explorer X11 Test");
  explorertest::ProjectFolder project;
  project.Write("Header Files/my shape.h");
  explorertest::ProjectShell shell;
  shell.name = "Demo";
  shell.folder = project.Folder();
  {
    apptest::Host host{300, 300};
    FileView tree;
    tree.Create(WS_CHILD | WS_VISIBLE | 0x37, 0x02000000, CRect(0, 0, 300, 300), &host, IDW_EXPLORER_FILE);
    tree.Expand(tree.m_hHeaderFolder, TVE_EXPAND);
    brambolt::test::RunUntilIdle();
    brambolt::test::XdndPeerTarget other(x_->DisplayName(), 500, 100, 200, 200);
    POINT to{600, 200};
    ::ScreenToClient(tree.GetSafeHwnd(), &to);
    brambolt::test::Drag(tree.GetSafeHwnd(), LabelPoint(tree, ChildNamed(tree, tree.m_hHeaderFolder, "my shape.h")), to, 8);
    EXPECT_TRUE(apptest::PumpUntil([&] { return !other.Files().empty(); }));
    EXPECT_EQ(other.Files(), "file://" + project.root.string() + "/Header%20Files/my%20shape.h\r\n");
    EXPECT_EQ(other.Text(), "\t\r\n#include \"my shape.h\"\t\r\n");
  }
  brambolt::test::RunUntilIdle();
}

TEST(CBCGToolbarDropSource, ShowsItsOwnCursorForEveryEffectOnceADragHasBegunAndKeepsTheEscapeState) {
  brambolt::test::UiSession session;
  CWinApp app("Drop Source Test");
  CBCGToolbarDropSource source;
  EXPECT_EQ(source.GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
  apptest::Host host;
  source.m_rectStartDrag.SetRectEmpty();  // the pointer is outside: the drag begins at once
  EXPECT_TRUE(source.OnBeginDrag(&host));
  EXPECT_TRUE(source.m_bDragStarted);
  ASSERT_NE(source.m_hcurCopy, nullptr);
  for (DROPEFFECT effect : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_NONE, DROPEFFECT_LINK}) {
    EXPECT_EQ(source.GiveFeedback(effect), S_OK);
    EXPECT_EQ(::GetCursor(), effect == DROPEFFECT_COPY ? source.m_hcurCopy
                             : effect == DROPEFFECT_MOVE ? source.m_hcurMove
                                                         : source.m_hcurDelete);
  }
  EXPECT_EQ(source.QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
  EXPECT_TRUE(source.m_bEscapePressed);
  EXPECT_EQ(source.QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
  EXPECT_FALSE(source.m_bEscapePressed);
}

}  // namespace

TEST(FileView, KeysWalkTheTreeAndTypedLettersFindAFile) {
  FileTreeFixture f;
  f.ShowFiles();
  f.tree.SetFocus();
  f.tree.SelectItem(f.Root());
  auto selected = [&] { return std::string(f.tree.GetItemText(f.tree.GetSelectedItem())); };

  brambolt::test::PressKey(VK_DOWN);
  EXPECT_EQ(selected(), "Source Files");
  brambolt::test::PressKey(VK_DOWN);
  EXPECT_EQ(selected(), "A.cpp") << "the files are sorted without case";
  brambolt::test::PressKey(VK_END);
  EXPECT_EQ(selected(), "zeta.h");
  brambolt::test::PressKey(VK_HOME);
  EXPECT_EQ(selected(), "Demo Files");

  // Letters typed in quick succession find the next item whose text starts with them.
  brambolt::test::TypeText("ze");
  EXPECT_EQ(selected(), "zeta.h");
  brambolt::test::AdvanceClock(2000);
  brambolt::test::TypeText("h");
  EXPECT_EQ(selected(), "Header Files");

  // Left closes the folder and stays on it; Right opens it again.
  brambolt::test::PressKey(VK_LEFT);
  EXPECT_FALSE(f.tree.GetItemState(f.tree.m_hHeaderFolder, TVIS_EXPANDED) & TVIS_EXPANDED);
  brambolt::test::PressKey(VK_RIGHT);
  EXPECT_TRUE(f.tree.GetItemState(f.tree.m_hHeaderFolder, TVIS_EXPANDED) & TVIS_EXPANDED);
}
