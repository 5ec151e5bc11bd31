// A header of the project edited as a person edits: typing with the indentation kept, undo and
// redo, a regular-expression replace, a column block, saving; and the same file changed by
// another program while it is open, reloaded when untouched and asked about when edited.
#include <gtest/gtest.h>

#include <fstream>

#include "Desk.h"
#include "DocumentationCheck.h"
#include "Scenarios.h"
#include "app/CMainFrame.h"
#include "base/CodePage.h"
#include "editor/app/GWExtController.h"
#include "bars/SECWorksheet.h"
#include "editor/doc/CEditCodeDoc.h"
#include "editor/model/SECEdit.h"
#include "model/CWorkSpaceObj.h"

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

  // F5 documents the header as it was saved: a page for the new member and the renamed variable.
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

  // Edited: the user is asked, says No, and keeps the edit; the save asks again before the other
  // program's line goes, and Yes writes the user's text.
  desk.Type("// edited");
  desk.Press(VK_RETURN);
  ASSERT_TRUE(changeOnDisk("// theirs again\r\n"));
  desk.Answer("No");
  desk.Press(VK_F6, kCtrl);
  desk.Press(VK_F6, kCtrl);
  ASSERT_EQ(desk.Boxes().size(), 1u) << desk.Report();
  EXPECT_NE(desk.Boxes()[0].Text().find("This file has been changed outside the editor."), std::string::npos)
      << desk.Report();
  desk.Answer("Yes");
  desk.Menu('F', "s");
  ASSERT_EQ(desk.Boxes().size(), 2u) << desk.Report();
  EXPECT_NE(desk.Boxes()[1].Text().find("Save the window's text over it"), std::string::npos) << desk.Report();
  EXPECT_EQ(ReadFile(layer), "// mine\r\n// edited\r\n" + original + "// theirs\r\n");
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}


// A header opened from the Project Explorer and again with File > Open is one window: typing in
// it and in another file, File > Save All, a Save As over it and File > Exit keep every key on disk.
TEST(UsersDay, AFileOpenedTwoWaysIsOneWindowAndSaveAllSaveAsAndExitKeepAllTheTyping) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const Project project = MakeProject(desk, "Twice", "English");
  const fs::path foo = project.folder / "Header Files" / "foo.h";
  const fs::path bar = project.folder / "Header Files" / "bar.h";
  std::ofstream(foo, std::ios::binary) << "int foo;\r\n";
  std::ofstream(bar, std::ios::binary) << "int bar;\r\n";
  auto typeLine = [&](const std::string& text) {
    desk.Type(text);
    desk.Press(VK_RETURN);
  };
  ASSERT_TRUE(desk.App().OpenHeaderFile("foo.h"));  // as the explorer opens it
  desk.Pump();
  typeLine("// one");
  ASSERT_NE(OpenFile(desk, foo), nullptr);
  typeLine("// two");
  ASSERT_NE(OpenFile(desk, bar), nullptr);
  typeLine("// three");
  auto windows = [&] {
    int count = 0;
    for (POSITION pos = desk.App().m_pFileTemplate->GetFirstDocPosition(); pos != nullptr;
         desk.App().m_pFileTemplate->GetNextDoc(pos))
      ++count;
    return count;
  };
  EXPECT_EQ(windows(), 2);

  desk.Menu('F', "l");  // File > Save All
  EXPECT_EQ(ReadFile(foo), "// one\r\n// two\r\nint foo;\r\n");
  EXPECT_EQ(ReadFile(bar), "// three\r\nint bar;\r\n");

  // bar.h's window saved as foo.h, replacing it: foo.h's own window, unchanged, goes.
  typeLine("// four");
  desk.Answer("Yes");  // foo.h already exists: replace it
  desk.Expect("Save As", [&](HWND) {
    brambolt::test::TypeText(foo.string());
    brambolt::test::PressKey(VK_RETURN);
  });
  desk.Menu('F', "a");  // File > Save As...
  EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
  ASSERT_EQ(desk.Boxes().size(), 1u) << desk.Report();
  EXPECT_NE(desk.Boxes()[0].Text().find("already exists"), std::string::npos) << desk.Report();
  EXPECT_EQ(ReadFile(foo), "// three\r\n// four\r\nint bar;\r\n");
  EXPECT_EQ(windows(), 1);

  typeLine("// five");
  const HWND main = desk.MainWindow();
  desk.Menu('F', "x");  // File > Exit
  EXPECT_FALSE(::IsWindow(main)) << desk.Report();
  EXPECT_EQ(ReadFile(foo), "// three\r\n// four\r\n// five\r\nint bar;\r\n");
  EXPECT_EQ(ReadFile(bar), "// three\r\nint bar;\r\n");
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// The editor's window as the user sees it: the child frame's title and its workbook tab.
struct Titles {
  std::string frame, tab;
};
Titles ActiveTitles(Desk& desk) {
  Titles titles;
  auto* frame = desk.MainFrame();
  auto* sheet = frame != nullptr ? dynamic_cast<SECWorksheet*>(frame->MDIGetActive()) : nullptr;
  if (sheet == nullptr) return titles;
  CString text;
  sheet->GetWindowText(text);
  titles.frame = static_cast<LPCTSTR>(text);
  titles.tab = static_cast<LPCTSTR>(frame->GetSheetLabel(sheet));
  return titles;
}

CEditCodeDoc* ActiveDocument(Desk& desk) {
  auto* frame = desk.MainFrame();
  CMDIChildWnd* child = frame != nullptr ? frame->MDIGetActive() : nullptr;
  return child != nullptr ? dynamic_cast<CEditCodeDoc*>(child->GetActiveDocument()) : nullptr;
}

std::string DocumentText(CEditCodeDoc* doc) {
  CString text;
  SECEdit* model = doc->GetEdit();
  const SECEditLineCol end = model->GetEndPosition();
  model->GetText(&text, 0, 0, end.m_nLine, end.m_nCol);
  return std::string(text, static_cast<size_t>(text.GetLength()));
}

// The title shows "*" from the first typed key; a save takes it away, and so does undoing back to
// the saved text; redo brings it back.
// The Edit menu a typed "." offers never takes the typing as commands: each key of the text closes
// it and goes into the text as typed, Enter too while no item is chosen; Escape closes it, and
// Down and Enter choose from it. The file saved is what was typed.
TEST(UsersDay, TheMenuAfterADotGivesTheTypedKeysToTheText) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  // A letter taken as a command may open a dialog nothing answers.
  brambolt::test::HangWatchdog watchdog("typing after a dot", 120);
  const fs::path file = fs::path(desk.Folder("Dots")) / "dots.cpp";
  std::ofstream(file, std::ios::binary) << "\r\n";
  ASSERT_NE(OpenFile(desk, file), nullptr);
  const std::string lines[] = {"n = s.length;", "p.x = q->r.c + a.b;", "v.push_back(T.X); // end.", "s.", "u..w"};
  std::string typed;
  for (const std::string& line : lines) {
    if (line.back() == '.') desk.ExpectMenu({VK_RETURN});  // Enter, the menu open, ends the line
    desk.Type(line);
    if (line != lines[4] && line.back() != '.') desk.Press(VK_RETURN);
    typed += line + "\r\n";
  }
  EXPECT_EQ(desk.Pending(), 0u);
  desk.Menu('F', "s");
  EXPECT_EQ(ReadFile(file), typed);

  desk.ExpectMenu({VK_ESCAPE});
  desk.Type(" x.");
  desk.Menu('F', "s");
  EXPECT_EQ(ReadFile(file), typed.substr(0, typed.size() - 2) + " x.\r\n");
  // Down to Clear All Text, and Enter.
  desk.ExpectMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
  desk.Type(".");
  desk.Type("z");
  desk.Menu('F', "s");
  EXPECT_EQ(ReadFile(file), "z");
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// A UTF-8 file the code page cannot show opens read-only: neither typing nor the Edit menu's
// Clear and Clear All Text change it, and File > Save writes its bytes back.
TEST(UsersDay, AReadOnlyFileKeepsItsTextThroughEveryEditCommand) {
  brambolt::ScopedCodePage latin(1252);
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const std::string bytes = "// \xE6\x97\xA5\xE6\x9C\xAC Gr\xC3\xB6\xC3\x9F" "e\r\n";  // 日本 Größe
  const fs::path file = fs::path(desk.Folder("Japan")) / "japan.cpp";
  std::ofstream(file, std::ios::binary) << bytes;
  ASSERT_NE(OpenFile(desk, file), nullptr);
  ASSERT_FALSE(desk.Boxes().empty());
  EXPECT_NE(desk.Boxes().back().Text().find("read-only"), std::string::npos) << desk.Report();
  desk.Type("x");
  desk.Press('A', kCtrl);
  desk.Menu('E', "a");  // Clear
  desk.Menu('E', "x");  // Clear All Text
  desk.Press('A', kCtrl);
  desk.Press(VK_DELETE);
  desk.Menu('F', "s");
  EXPECT_EQ(ReadFile(file), bytes);
  const std::string title = ActiveTitles(desk).frame;
  EXPECT_EQ(title.find('*'), std::string::npos) << "the text was changed: " << title;
}

TEST(UsersDay, TheTitleOfAModifiedFileEndsInAStarUntilItIsSavedOrUndone) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const fs::path file = fs::path(desk.Folder("Notes")) / "notes.cpp";
  std::ofstream(file, std::ios::binary) << "int a;\r\n";
  ASSERT_NE(OpenFile(desk, file), nullptr);
  auto titles = ActiveTitles(desk);
  EXPECT_EQ(titles.frame, "notes.cpp");
  EXPECT_EQ(titles.tab, "notes.cpp");

  desk.Type("x");
  titles = ActiveTitles(desk);
  EXPECT_EQ(titles.frame, "notes.cpp*");
  EXPECT_EQ(titles.tab, "notes.cpp*");
  desk.Type("y");
  EXPECT_EQ(ActiveTitles(desk).frame, "notes.cpp*");

  desk.Menu('F', "s");  // File > Save
  titles = ActiveTitles(desk);
  EXPECT_EQ(titles.frame, "notes.cpp");
  EXPECT_EQ(titles.tab, "notes.cpp");
  EXPECT_EQ(ReadFile(file), "xyint a;\r\n");

  desk.Type("z");
  EXPECT_EQ(ActiveTitles(desk).frame, "notes.cpp*");
  desk.Press('Z', kCtrl);  // back to the saved text
  titles = ActiveTitles(desk);
  EXPECT_EQ(titles.frame, "notes.cpp");
  EXPECT_EQ(titles.tab, "notes.cpp");
  desk.Press('Y', kCtrl);
  EXPECT_EQ(ActiveTitles(desk).tab, "notes.cpp*");
  desk.Press('Z', kCtrl);
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// The new file the program starts with, typed into and closed with Ctrl+F4 (the Window menu's
// Close): asked whether to save it, the Save As dialog proposes the file's own name, without the title's modified mark, and
// Enter there saves it under that name.
TEST(UsersDay, ANewFileClosedUnsavedIsProposedUnderItsOwnName) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  // The program starts with a new file's window.
  const std::string title = ActiveTitles(desk).frame;
  ASSERT_FALSE(title.empty()) << desk.Report();
  desk.Type("int answer;");
  ASSERT_EQ(ActiveTitles(desk).frame, title + "*");
  const fs::path folder = desk.Folder("Saved");
  std::string proposed;
  desk.Answer("Yes");  // save the changes
  desk.Expect("Save As", [&](HWND dialog) {
    char text[MAX_PATH] = {};
    ::GetDlgItemTextA(dialog, 0x480, text, sizeof text);
    proposed = text;
    // The folder first, then Enter on the name proposed.
    TypeInto(dialog, 0x480, folder.string());
    brambolt::test::PressKey(VK_RETURN);
    TypeInto(dialog, 0x480, proposed);
    brambolt::test::PressKey(VK_RETURN);
  });
  desk.Press(VK_F4, kCtrl);
  EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
  EXPECT_EQ(proposed, title + ".cpp");
  EXPECT_EQ(ReadFile(folder / (title + ".cpp")), "int answer;");
  EXPECT_EQ(desk.MainFrame()->MDIGetActive(), nullptr);
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// A project saved while one of its files is modified keeps that file's name without the mark,
// so the file opens again with the project.
TEST(UsersDay, AProjectSavedWithAModifiedFileKeepsTheFilesName) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const Project project = MakeProject(desk, "Marked", "English");
  const fs::path file = project.folder / "Source Code" / "marked.cpp";
  std::ofstream(file, std::ios::binary) << "int m;\r\n";
  ASSERT_NE(OpenFile(desk, file), nullptr);
  desk.Type("x");
  ASSERT_EQ(ActiveTitles(desk).frame, "marked.cpp*");
  desk.Menu('F', "e");  // File > Save Project
  const CStringList& titles = desk.App().m_pWorkSpace->m_DocTitleList;
  ASSERT_EQ(titles.GetCount(), 1);
  EXPECT_EQ(std::string(titles.GetHead()), "marked.cpp");
  desk.Press('Z', kCtrl);
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// Another program writes a NUL byte into an open file: coming back to its window, the user is
// told the reload failed, and the window keeps its text and its modified state, whether it was
// untouched or edited and the user agreed to reload; a save then writes the user's text.
TEST(UsersDay, AReloadThatFailsKeepsTheWindowsText) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const std::string folder = desk.Folder("Sources");
  const fs::path e = fs::path(folder) / "e.cpp";
  const fs::path other = fs::path(folder) / "other.cpp";
  std::ofstream(e, std::ios::binary) << "int e;\r\n";
  std::ofstream(other, std::ios::binary) << "int other;\r\n";
  ASSERT_NE(OpenFile(desk, e), nullptr);
  CEditCodeDoc* doc = ActiveDocument(desk);
  ASSERT_NE(doc, nullptr);
  ASSERT_NE(OpenFile(desk, other), nullptr);

  // The other program replaces the file whole (written aside, then renamed over it), so the
  // watcher sees one change, not an emptied file and then its new text as two.
  const fs::path aside = fs::path(desk.Folder("Elsewhere")) / "e.cpp";
  auto writeNul = [&](const std::string& tag) {
    std::ofstream(aside, std::ios::binary | std::ios::trunc) << std::string("int ") + tag + std::string(1, '\0') + ";\r\n";
    fs::rename(aside, e);
    return desk.PumpUntil([&] { return doc->IsChangedOnDisk() != FALSE; });
  };
  auto lastBox = [&] { return desk.Boxes().empty() ? std::string() : desk.Boxes().back().Text(); };

  // Ctrl+F6 through the windows until e.cpp's is active.
  auto backToE = [&] {
    for (int i = 0; i < 4 && ActiveDocument(desk) != doc; ++i) desk.Press(VK_F6, kCtrl);
    ASSERT_EQ(ActiveDocument(desk), doc);
  };

  // Untouched: the text stays, unmodified, with one message.
  ASSERT_TRUE(writeNul("theirs"));
  backToE();
  ASSERT_EQ(desk.Boxes().size(), 1u) << desk.Report();
  EXPECT_NE(lastBox().find("could not be reloaded"), std::string::npos) << desk.Report();
  EXPECT_EQ(DocumentText(doc), "int e;\r\n");
  EXPECT_FALSE(doc->IsModified());
  EXPECT_FALSE(doc->IsChangedOnDisk());

  // Edited: "Reload it and lose your changes?" Yes; the reload fails and the edits stay.
  desk.Press(VK_HOME, kCtrl);
  desk.Type("// mine");
  desk.Press(VK_RETURN);
  desk.Press(VK_F6, kCtrl);
  ASSERT_TRUE(writeNul("again"));
  desk.Answer("Yes");
  backToE();
  ASSERT_EQ(desk.Boxes().size(), 3u) << desk.Report();
  EXPECT_NE(desk.Boxes()[1].Text().find("Reload it and lose your changes?"), std::string::npos) << desk.Report();
  EXPECT_NE(lastBox().find("could not be reloaded"), std::string::npos) << desk.Report();
  EXPECT_EQ(DocumentText(doc), "// mine\r\nint e;\r\n");
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(ActiveTitles(desk).frame, "e.cpp*");
  // The file on disk is the other program's: saving over it asks first, and Yes writes the text.
  desk.Answer("Yes");
  desk.Menu('F', "s");
  EXPECT_NE(lastBox().find("changed outside the editor"), std::string::npos) << desk.Report();
  EXPECT_EQ(ReadFile(e), "// mine\r\nint e;\r\n");
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// A file whose line is wider than the editor takes opens with that line broken, and the user is
// told once, with the file's name, that saving keeps the breaks.
TEST(UsersDay, OpeningAFileWithAnOverlongLineSaysTheLineWasBroken) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const fs::path wide = fs::path(desk.Folder("Wide")) / "wide.cpp";
  std::ofstream(wide, std::ios::binary) << "const char* s = \"" << std::string(3000, 'w') << "\";\r\n";
  ASSERT_NE(OpenFile(desk, wide), nullptr);
  ASSERT_EQ(desk.Boxes().size(), 1u) << desk.Report();
  const std::string told = desk.Boxes()[0].Text();
  EXPECT_NE(told.find("wide.cpp"), std::string::npos) << told;
  EXPECT_NE(told.find("Saving the file keeps these line breaks."), std::string::npos) << told;
  CEditCodeDoc* doc = ActiveDocument(desk);
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->GetEdit()->GetLineCount(), 3);
  EXPECT_TRUE(doc->IsModified());
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// Edit > Bookmarks holds both bookmarks: the editor's (Ctrl+F2, a cyan mark) and the red one that
// ends a printed page; Edit > Editor Font and Colors opens the font and colour settings, whose
// Choose Font shows the editor's own font dialog.
TEST(UsersDay, TheEditMenuReachesBothBookmarksAndTheEditorsFontDialog) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const fs::path file = fs::path(desk.Folder("Marks")) / "marks.cpp";
  std::ofstream(file, std::ios::binary) << "int a;\r\nint b;\r\nint c;\r\n";
  ASSERT_NE(OpenFile(desk, file), nullptr);
  CEditCodeDoc* doc = ActiveDocument(desk);
  ASSERT_NE(doc, nullptr);
  SECEdit* model = doc->GetEdit();

  desk.Press(VK_DOWN);
  desk.Menu('E', "kr");  // Edit > Bookmarks > Toggle Red Bookmark
  EXPECT_TRUE(model->HasLineMark(1, 0));
  EXPECT_FALSE(model->HasLineMark(1, 17));
  desk.Press(VK_DOWN);
  desk.Menu('E', "kt");  // Edit > Bookmarks > Toggle Bookmark
  EXPECT_TRUE(model->HasLineMark(2, 17));
  EXPECT_FALSE(model->HasLineMark(2, 0));
  desk.Press(VK_UP);
  desk.Menu('E', "kr");
  EXPECT_FALSE(model->HasLineMark(1, 0));

  bool templated = false;
  desk.Expect("Font and Color Settings", [&](HWND dialog) {
    desk.Expect("Font", [&](HWND font) {
      // The editor's template: face, style and size, without the effects of the standard one.
      templated = ::GetDlgItem(font, 0x0470) != nullptr && ::GetDlgItem(font, 0x0410) == nullptr;
      EXPECT_TRUE(ClickButton(font, "Cancel"));
    });
    EXPECT_TRUE(ClickButton(dialog, "Choose Font..."));
    EXPECT_TRUE(ClickButton(dialog, "Cancel"));
  });
  desk.Menu('E', "d");  // Edit > Editor Font and Colors...
  EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
  EXPECT_TRUE(templated);
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// A project's file deleted on disk while it is open: coming back to its window the user is told
// once that it is gone, the window keeps its text, and File > Exit ends the program without
// writing, reading or asking anything more.
TEST(UsersDay, ExitGoesOnWhenAnOpenFileWasDeleted) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const Project project = MakeProject(desk, "Gone", "English");
  const fs::path one = project.folder / "Source Code" / "one.cpp";
  const fs::path two = project.folder / "Source Code" / "two.cpp";
  std::ofstream(one, std::ios::binary) << "int one;\r\n";
  std::ofstream(two, std::ios::binary) << "int two;\r\n";
  ASSERT_NE(OpenFile(desk, two), nullptr);
  CEditCodeDoc* doc = ActiveDocument(desk);
  ASSERT_NE(doc, nullptr);
  ASSERT_NE(OpenFile(desk, one), nullptr);

  fs::remove(two);
  ASSERT_TRUE(desk.PumpUntil([&] { return doc->IsChangedOnDisk() != FALSE; }));
  // Through the windows and back: two.cpp's window is activated and left again.
  for (int i = 0; i < 4 && ActiveDocument(desk) != doc; ++i) desk.Press(VK_F6, kCtrl);
  ASSERT_EQ(ActiveDocument(desk), doc);
  for (int i = 0; i < 4 && ActiveDocument(desk) == doc; ++i) desk.Press(VK_F6, kCtrl);
  for (int i = 0; i < 4 && ActiveDocument(desk) != doc; ++i) desk.Press(VK_F6, kCtrl);
  ASSERT_EQ(desk.Boxes().size(), 1u) << desk.Report();
  EXPECT_NE(desk.Boxes()[0].Text().find("two.cpp"), std::string::npos) << desk.Report();
  EXPECT_NE(desk.Boxes()[0].Text().find("deleted or moved"), std::string::npos) << desk.Report();
  EXPECT_EQ(DocumentText(doc), "int two;\r\n");
  EXPECT_FALSE(doc->IsModified());

  const HWND main = desk.MainWindow();
  desk.Menu('F', "x");  // File > Exit
  EXPECT_FALSE(::IsWindow(main)) << desk.Report();
  EXPECT_EQ(desk.Boxes().size(), 1u) << desk.Report();
  EXPECT_FALSE(fs::exists(two)) << "nothing written";
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// Edit > Go To Line moves the caret to the start of the line it shows at the top: the next keys
// type there.
TEST(UsersDay, GoToLineTakesTheTypingToThatLine) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  const fs::path file = fs::path(desk.Folder("Lines")) / "lines.cpp";
  std::string text;
  for (int i = 1; i <= 80; ++i) text += "int line" + std::to_string(i) + ";\r\n";
  std::ofstream(file, std::ios::binary) << text;
  ASSERT_NE(OpenFile(desk, file), nullptr);
  desk.Expect("Number", [&](HWND) {
    desk.Type("50");
    desk.Press(VK_RETURN);
  });
  desk.Menu('E', "g");  // Edit > Go To Line...
  EXPECT_EQ(desk.Pending(), 0u) << desk.Report();
  desk.Type("// here ");
  CEditCodeDoc* doc = ActiveDocument(desk);
  ASSERT_NE(doc, nullptr);
  CString line;
  doc->GetEdit()->GetText(&line, 49, 0, 49, 8);
  EXPECT_STREQ(line, "// here ");
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}

// Full screen keeps the keyboard in the document that had it: the new file the program starts
// with takes the keys typed before, in (View > Full Screen by its letters) and after full screen.
TEST(UsersDay, FullScreenKeepsTheKeyboardInTheDocument) {
  Desk desk;
  ASSERT_TRUE(desk.Start()) << desk.Report();
  auto* frame = desk.MainFrame();
  ASSERT_NE(frame, nullptr);
  CEditCodeDoc* doc = ActiveDocument(desk);
  ASSERT_NE(doc, nullptr) << "the program started without a new file";
  desk.Type("q1");
  desk.Menu('V', "f");
  ASSERT_TRUE(frame->m_FullScreen.IsFullScreen());
  desk.Type("k1");
  desk.Press(VK_RETURN);
  desk.Type("k2");
  desk.Press(VK_ESCAPE);
  ASSERT_FALSE(frame->m_FullScreen.IsFullScreen());
  desk.Type("z");
  EXPECT_EQ(DocumentText(doc), "q1k1\r\nk2z") << "the keys typed in full screen went astray";
  EXPECT_TRUE(desk.Unexpected().empty()) << desk.Report();
}
}  // namespace
}  // namespace e2e
