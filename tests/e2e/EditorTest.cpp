// A header of the project edited as a person edits: typing with the indentation kept, undo and
// redo, a regular-expression replace, a column block, saving; and the same file changed by
// another program while it is open, reloaded when untouched and asked about when edited.
#include <gtest/gtest.h>

#include "Desk.h"
#include "DocumentationCheck.h"
#include "Scenarios.h"
#include "app/CMainFrame.h"
#include "editor/app/GWExtController.h"
#include "editor/doc/CEditCodeDoc.h"

namespace e2e {
namespace {

using brambolt::test::kAlt;
using brambolt::test::kCtrl;

// The Replace dialog's controls.
constexpr int kFindWhat = 1000, kReplaceWith = 1001, kRegularExpression = 1003;

TEST(UsersDay, EditsAHeaderSavesItAndTheDocumentationShowsTheChange) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const Project project = AtelierProject(desk, "English");
  const fs::path header = project.folder / "Header Files" / "Layer.h";
  const std::string original = ReadFile(header);
  const int updateCache = LineOf(header, "void UpdateCache();");
  const int clear = LineOf(header, "void Clear();");
  ASSERT_GT(updateCache, 0);
  ASSERT_EQ(clear, updateCache + 4);

  // The class view: a double-click on CLayer's UpdateCache opens the header at that member.
  ClickExplorerTab(desk, kClassTab);
  auto* frame = desk.MainFrame();
  ASSERT_NE(frame, nullptr);
  SECTreeBaseC& classes = *frame->m_wndProjectExplorer.GetClassView();
  const HTREEITEM member = FindItem(classes, FindItem(classes, TVI_ROOT, "CLayer"), "UpdateCache");
  ASSERT_NE(member, nullptr);
  brambolt::test::DoubleClick(classes.GetSafeHwnd(), ShowItem(desk, classes, member));
  desk.Pump();
  ASSERT_NE(desk.MainTitle().find("Layer.h"), std::string::npos) << desk.MainTitle() << desk.Report();
  const HWND view = ::GetFocus();
  // The caret stands on the member's line (the same place the keys lead to from the top).
  POINT caret{};
  ::GetCaretPos(&caret);
  EXPECT_EQ(caret.y, CaretAt(desk, updateCache, 0).y);

  // A new member under UpdateCache: Enter gives it the indentation of the line above (four
  // columns, written as a tab since the C configuration keeps tabs); typing undone and redone is
  // back.
  desk.Press(VK_END);
  desk.Press(VK_RETURN);
  desk.Type("void Flatten();");
  desk.Press('Z', kCtrl);
  desk.Press('Y', kCtrl);

  // Edit > Replace: m_n<Name> becomes m_i<Name> everywhere, by a regular expression.
  desk.Expect("Replace", [&](HWND dialog) {
    TypeInto(dialog, kFindWhat, "m_n([A-Za-z]+)");
    TypeInto(dialog, kReplaceWith, "m_i$1");
    ClickItem(dialog, kRegularExpression);
    desk.Snapshot(dialog, "07-replace-regex");
    EXPECT_TRUE(ClickButton(dialog, "Replace All"));
  });
  desk.Menu('E', "e");
  EXPECT_EQ(desk.Pending(), 0u) << desk.Report();

  // A column block over the indentation of the two private lines, dragged with Alt, deleted.
  const int privateFirst = clear + 1;  // the new line moved Clear down by one
  const POINT top = CaretAt(desk, privateFirst, 0);
  const POINT next = CaretAt(desk, privateFirst + 1, 0);
  const POINT end = CaretAt(desk, privateFirst + 1, 4);
  const int half = (next.y - top.y) / 2;
  brambolt::test::Drag(view, POINT{top.x + 1, top.y + half}, POINT{end.x, end.y + half}, 4, kAlt);
  desk.Press(VK_DELETE);
  desk.Snapshot(desk.MainWindow(), "08-editor-after-edits");

  desk.Menu('F', "s");  // File > Save
  const std::string saved = ReadFile(header);
  std::string expected = original;
  auto replaceAll = [&expected](const std::string& from, const std::string& to) {
    for (size_t at = expected.find(from); at != std::string::npos; at = expected.find(from, at + to.size()))
      expected.replace(at, from.size(), to);
  };
  replaceAll("    void UpdateCache();\r\n", "    void UpdateCache();\r\n\tvoid Flatten();\r\n");
  replaceAll("m_n", "m_i");
  replaceAll("    void Clear();\r\n    CArray", "void Clear();\r\nCArray");
  EXPECT_EQ(saved, expected) << desk.Report();

  // The project closed and opened again is analysed anew: the documentation has a page for the
  // new member and the renamed variable.
  desk.Menu('F', "c");  // File > Close Project
  desk.Expect("Open", [&](HWND) {
    brambolt::test::TypeText((project.folder / "Atelier.dcp").string());
    brambolt::test::PressKey(VK_RETURN);
  });
  desk.Menu('F', "j");  // File > Open Project
  EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
  WriteDocumentation(desk, "English");
  const fs::path members = project.folder / "Output_Eng" / "Htmls" / "CLayer" / "Member Functions";
  EXPECT_TRUE(fs::exists(members / "Flatten.htm"));
  EXPECT_TRUE(fs::exists(project.folder / "Output_Eng" / "Htmls" / "CLayer" / "Member Vars" / "m_iRevision.htm"));
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

TEST(UsersDay, TheStatusBarShowsTheCaretsLineAndColumnOnlyWhileAnEditorIsOpen) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const Project project = AtelierProject(desk, "English");
  auto* frame = desk.MainFrame();
  ASSERT_NE(frame, nullptr);
  const int pane = frame->m_wndStatusBar.CommandToIndex(ID_GWEXT_LINECOL_PANE);
  ASSERT_GT(pane, 0);
  // A disabled pane shows no text.
  auto shown = [&] {
    SECStatusBar& bar = frame->m_wndStatusBar;
    return (bar.GetPaneStyle(pane) & SBPS_DISABLED) != 0 ? std::string() : std::string(bar.GetPaneText(pane));
  };
  ASSERT_NE(OpenFile(desk, project.folder / "Header Files" / "Layer.h"), nullptr);
  desk.Press(VK_DOWN);
  desk.Press(VK_DOWN);
  desk.Press(VK_RIGHT);
  desk.Pump();
  EXPECT_EQ(shown(), "Ln 3, Col 2");
  desk.Press(VK_F4, kCtrl);  // the editor closed
  desk.Pump();
  EXPECT_EQ(frame->MDIGetActive(), nullptr);
  EXPECT_EQ(shown(), "");
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

TEST(UsersDay, AFileChangedByAnotherProgramIsReloadedWhenUntouchedAndAskedAboutWhenEdited) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const Project project = AtelierProject(desk, "English");
  const fs::path layer = project.folder / "Header Files" / "Layer.h";
  const fs::path grid = project.folder / "Header Files" / "Grid.h";
  const std::string original = ReadFile(layer);
  ASSERT_NE(OpenFile(desk, layer), nullptr);
  ASSERT_NE(OpenFile(desk, grid), nullptr);

  // Another program appends a line; the watcher tells the open document.
  auto changeOnDisk = [&](const std::string& line) {
    std::ofstream(layer, std::ios::binary | std::ios::app) << line;
    return desk.PumpUntil([&] {
      for (POSITION pos = desk.App().m_pFileTemplate->GetFirstDocPosition(); pos != nullptr;) {
        auto* doc = dynamic_cast<CEditCodeDoc*>(desk.App().m_pFileTemplate->GetNextDoc(pos));
        if (doc != nullptr && doc->GetPathName().Find("Layer.h") >= 0) return doc->IsChangedOnDisk() != FALSE;
      }
      return false;
    });
  };

  // Untouched: the other program's line is there when the user comes back to the file.
  ASSERT_TRUE(changeOnDisk("// theirs\r\n"));
  desk.Press(VK_F6, kCtrl);
  EXPECT_NE(desk.MainTitle().find("Layer.h"), std::string::npos) << desk.MainTitle();
  desk.Press(VK_HOME, kCtrl);
  desk.Type("// mine");
  desk.Press(VK_RETURN);
  desk.Menu('F', "s");
  const std::string mine = "// mine\r\n" + original + "// theirs\r\n";
  EXPECT_EQ(ReadFile(layer), mine);
  EXPECT_TRUE(desk.Boxes().empty()) << desk.Report();

  // Edited: the user is asked, says No, and keeps the edit; the other program's line is gone
  // with the save.
  desk.Type("// edited");
  desk.Press(VK_RETURN);
  ASSERT_TRUE(changeOnDisk("// theirs again\r\n"));
  desk.Answer("No");
  desk.Press(VK_F6, kCtrl);
  desk.Press(VK_F6, kCtrl);
  ASSERT_EQ(desk.Boxes().size(), 1u) << desk.Report();
  EXPECT_NE(desk.Boxes()[0].Text().find("This file has been changed outside the editor."), std::string::npos)
      << desk.Report();
  desk.Menu('F', "s");
  EXPECT_EQ(ReadFile(layer), "// mine\r\n// edited\r\n" + original + "// theirs\r\n");
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

}  // namespace
}  // namespace e2e
