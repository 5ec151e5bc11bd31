// The editor model: edits with undo and redo against a plain string, modified-state tracking
// across saves and the history ring, files read and saved byte for byte, wrapping of long lines,
// notifications, columns, commands and line marks following edits.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "afx/afx.h"
#include "base/CodePage.h"
#include "editor/model/SECEdit.h"
#include "testing/testing.h"
#include "TestLanguage.h"

using kelpwood::foundation::IMessage;
using kelpwood::foundation::IObserver;
using kelpwood::foundation::ISubject;

namespace {

std::string Text(SECEdit& model) {
  CString out;
  const SECEditLineCol end = model.GetEndPosition();
  model.GetText(&out, 0, 0, end.m_nLine, end.m_nCol);
  return std::string(out, static_cast<size_t>(out.GetLength()));
}

// Records the ids an observer hears.
class Recorder : public IObserver {
 public:
  bool QueryGuid(REFGUID, void** out) override {
    *out = nullptr;
    return false;
  }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  void OnUpdate(ISubject*, IMessage* msg) override { ids.push_back(msg != nullptr ? msg->GetTypeID() : 0); }
  std::vector<UINT> ids;
};

class ModelTest : public ::testing::Test {
 protected:
  ModelTest() : c("C"), def("Default"), scope({&c, &def}) { editortest::MakeC(c); }

  std::string TempPath(const char* name) {
    const std::string path = (std::filesystem::temp_directory_path() / ("editor_model_" + std::to_string(::getpid()) + "_" + name)).string();
    paths.push_back(path);
    return path;
  }
  std::string Write(const char* name, const std::string& bytes) {
    const std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  ~ModelTest() override {
    for (const std::string& path : paths) std::remove(path.c_str());
  }

  brambolt::test::UiSession session;
  CWinApp app{"Editor Test"};
  editortest::TestLanguage c;
  editortest::TestLanguage def;
  editortest::LanguageScope scope;
  std::vector<std::string> paths;
};

// Random inserts, deletes, undos and redos against snapshots of a string; the per-line arrays
// stay one entry per line throughout.
void RunRandomHistory(unsigned seed, const std::vector<std::string>& pieces) {
  std::mt19937 rng(seed);
  SECEdit model;
  model.NewDocument();
  std::vector<std::string> undo{""}, redo;
  for (int step = 0; step < 400; ++step) {
    const int op = static_cast<int>(rng() % 10);
    if (op < 2 && undo.size() > 1) {
      ASSERT_NE(model.Undo(), nullptr);
      redo.push_back(undo.back());
      undo.pop_back();
    } else if (op < 3 && !redo.empty()) {
      ASSERT_NE(model.Redo(), nullptr);
      undo.push_back(redo.back());
      redo.pop_back();
    } else {
      const int line = static_cast<int>(rng() % static_cast<unsigned>(model.GetLineCount()));
      const int col = static_cast<int>(rng() % static_cast<unsigned>(model.GetLineLength(line) + 1));
      if (op < 7 || Text(model).empty()) {
        std::string text;
        for (int n = static_cast<int>(rng() % 4); n >= 0; --n) text += pieces[rng() % pieces.size()];
        SECEditLineColPair where(line, col, line, col);
        ASSERT_TRUE(model.InsertText(where, text.c_str(), -1));
      } else {
        const int endLine = std::min(model.GetLastLine(), line + static_cast<int>(rng() % 3));
        int endCol = static_cast<int>(rng() % static_cast<unsigned>(model.GetLineLength(endLine) + 1));
        if (endLine == line) endCol = std::max(endCol, col);
        if (SECEditLineCol(endLine, endCol) == SECEditLineCol(line, col)) continue;
        ASSERT_TRUE(model.DeleteText(line, col, endLine, endCol));
      }
      undo.push_back(Text(model));
      redo.clear();
    }
    ASSERT_EQ(Text(model), undo.back()) << "seed " << seed << " step " << step;
    ASSERT_NE(model.GetLineColor(model.GetLastLine()), nullptr);
    ASSERT_EQ(model.GetLineColor(model.GetLineCount()), nullptr);
    ASSERT_EQ(model.IsModified(), undo.size() > 1 ? TRUE : FALSE);
  }
}

TEST_F(ModelTest, RandomEditsUndoAndRedoMatchSnapshots) {
  for (unsigned seed : {11u, 12u}) RunRandomHistory(seed, {"a", "int", "\n", "\r\n", "/*", "*/", "\"", " "});
  brambolt::ScopedCodePage page(936);
  RunRandomHistory(13, {"\xB0\xA1", "\xD6\xD0", "\n", "x"});
}

TEST_F(ModelTest, ModifiedFollowsTheSavedCommandNotItsAddress) {
  SECEdit model;
  model.NewDocument();
  const std::string path = TempPath("modified.txt");
  model.InsertTextAt(0, 0, "abc", -1);
  ASSERT_TRUE(model.SaveFile(path.c_str()));
  EXPECT_FALSE(model.IsModified());
  model.Undo();
  EXPECT_TRUE(model.IsModified());
  model.Redo();
  EXPECT_FALSE(model.IsModified());
  // The saved command is destroyed by an edit after an undo; whatever new commands come (and
  // whatever addresses they get), none brings the saved state back.
  model.Undo();
  for (int i = 0; i < 50; ++i) {
    model.InsertTextAt(0, 0, "x", -1);
    ASSERT_TRUE(model.IsModified());
    model.Undo();
    ASSERT_TRUE(model.IsModified()) << i;
  }
  // Saved with an empty history: undoing everything returns to it, until the ring overflows.
  SECEdit ring;
  ring.NewDocument();
  ASSERT_TRUE(ring.SaveFile(path.c_str()));
  for (int i = 0; i < 300; ++i) ring.InsertTextAt(0, 0, "y", -1);
  while (ring.Undo() != nullptr) {
  }
  EXPECT_TRUE(ring.IsModified());
  EXPECT_EQ(Text(ring), std::string(44, 'y'));
  // Clearing the history of a modified document keeps it modified.
  ring.ClearUndoHistory();
  EXPECT_TRUE(ring.IsModified());
}

TEST_F(ModelTest, FilesKeepTheirLineEndsAndBytes) {
  for (const std::string& bytes : {std::string("a\r\nb\r\n"), std::string("a\nb"), std::string("a\rb\rc"),
                                  std::string("\xB0\xA1\n\xFF\x80")}) {
    SECEdit model;
    ASSERT_TRUE(model.OpenFile(Write("in.txt", bytes).c_str()));
    EXPECT_FALSE(model.IsModified());
    const std::string out = TempPath("out.txt");
    ASSERT_TRUE(model.SaveFile(out.c_str()));
    EXPECT_EQ(Read(out), bytes);
  }
  SECEdit cr;
  cr.OpenFile(Write("cr.txt", "a\rb\rc").c_str());
  EXPECT_EQ(cr.GetLineCount(), 3);
  EXPECT_EQ(cr.GetLineLength(1), 1);

  Recorder recorder;
  SECEdit empty;
  empty.AddObserver(&recorder);
  ASSERT_TRUE(empty.OpenFile(Write("empty.txt", "").c_str()));
  EXPECT_EQ(empty.GetLineCount(), 1);
  EXPECT_EQ(recorder.ids.back(), SECEDIT_MSG_INIT_CONTROLLER);
  empty.RemoveObserver(&recorder);
}

TEST_F(ModelTest, FileWithNulBytesIsRefusedWholeAndAReadOnlyTargetIsNotWritten) {
  brambolt::test::ModalAnswers answers;
  int boxes = 0;
  answers.When("#32770", nullptr, [&](HWND box) {
    ++boxes;
    ::EndDialog(box, IDOK);
  }, true);
  SECEdit model;
  model.NewDocument();
  model.InsertTextAt(0, 0, "kept", -1);
  EXPECT_FALSE(model.OpenFile(Write("nul.bin", std::string("ab\0cd", 5)).c_str()));
  EXPECT_EQ(boxes, 1);
  // Never a truncated "ab": the model keeps the text it had, with its history and state.
  EXPECT_EQ(Text(model), "kept");
  EXPECT_TRUE(model.IsModified());
  ASSERT_NE(model.Undo(), nullptr);
  EXPECT_EQ(Text(model), "");
  model.Redo();
  // A reload says nothing itself: the caller hears why.
  CString why;
  EXPECT_FALSE(model.ReloadFile(Write("nul2.bin", std::string("x\0", 2)).c_str(), why));
  EXPECT_FALSE(why.IsEmpty());
  EXPECT_FALSE(model.ReloadFile(TempPath("missing.txt").c_str(), why));
  EXPECT_NE(std::string(why).find("missing.txt"), std::string::npos) << why;
  EXPECT_EQ(boxes, 1);
  EXPECT_EQ(Text(model), "kept");
  ASSERT_TRUE(model.ReloadFile(Write("fine.txt", "fine").c_str(), why));
  EXPECT_EQ(Text(model), "fine");
  EXPECT_FALSE(model.IsModified());

  const std::string target = Write("readonly.txt", "old");
  std::filesystem::permissions(target, std::filesystem::perms::owner_read);
  model.InsertTextAt(0, 0, "new", -1);
  EXPECT_FALSE(model.SaveFile(target.c_str()));
  EXPECT_EQ(boxes, 2);
  EXPECT_EQ(Read(target), "old");
  EXPECT_TRUE(model.IsModified());
  std::filesystem::permissions(target, std::filesystem::perms::owner_all);
}

TEST_F(ModelTest, LongLinesWrapWithTheFilesOwnLineEnd) {
  // An open that breaks lines says so once, naming the file.
  brambolt::test::ModalAnswers answers;
  std::vector<std::string> told;
  answers.When("#32770", nullptr, [&](HWND box) {
    std::string text;
    ::EnumChildWindows(
        box,
        [](HWND child, LPARAM out) -> BOOL {
          char buffer[1024] = {};
          ::GetWindowText(child, buffer, sizeof buffer);
          *reinterpret_cast<std::string*>(out) += buffer;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    told.push_back(text);
    ::EndDialog(box, IDOK);
  }, true);
  SECEdit model;
  const std::string longPath = Write("long.txt", std::string(3000, 'x') + "\nend");
  ASSERT_TRUE(model.OpenFile(longPath.c_str()));
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find(longPath), std::string::npos) << told[0];
  EXPECT_NE(told[0].find("Saving the file keeps these line breaks."), std::string::npos) << told[0];
  EXPECT_EQ(model.GetLineCount(), 3);
  EXPECT_EQ(model.GetLineLength(0), 2048);
  EXPECT_TRUE(model.IsModified());
  EXPECT_EQ(model.Undo(), nullptr);  // the wrap is not undoable
  const std::string out = TempPath("long-out.txt");
  model.SaveFile(out.c_str());
  EXPECT_EQ(Read(out), std::string(2048, 'x') + "\n" + std::string(952, 'x') + "\nend");
  // A file whose lines fit opens without a word.
  SECEdit fits;
  ASSERT_TRUE(fits.OpenFile(Write("fits.txt", std::string(2000, 'x') + "\nend").c_str()));
  EXPECT_EQ(told.size(), 1u);

  // Typing past the limit records one command that covers the text and the break.
  SECEdit typed;
  typed.NewDocument();
  typed.InsertTextAt(0, 0, std::string(2047, 'a').c_str(), -1);
  SECEditLineColPair where(0, 2047, 0, 2047);
  ASSERT_TRUE(typed.InsertText(where, "bc", -1));
  EXPECT_EQ(typed.GetLineCount(), 2);
  EXPECT_EQ(where.m_end, SECEditLineCol(1, 1));
  typed.Undo();
  EXPECT_EQ(Text(typed), std::string(2047, 'a'));
  // A delete inside a line that stays over-long is undone in one step with its re-wrap.
  SECEdit del;
  del.NewDocument();
  del.OpenFile(Write("del.txt", std::string(2100, 'q') + "z").c_str());
  del.ClearUndoHistory();
  const std::string before = Text(del);
  ASSERT_TRUE(del.DeleteText(0, 0, 0, 1));
  ASSERT_NE(del.Undo(), nullptr);
  EXPECT_EQ(Text(del), before);
}

TEST_F(ModelTest, EditsNotifyAndUndoRecordsNothingNew) {
  SECEdit model;
  model.NewDocument();
  Recorder recorder;
  model.AddObserver(&recorder);
  SECEditLineColPair where(0, 0, 0, 0);
  model.InsertText(where, "a\nb", -1);
  EXPECT_EQ(recorder.ids, (std::vector<UINT>{SECEDIT_MSG_GUTTER, SECEDIT_MSG_COMMAND}));
  EXPECT_EQ(model.GetUndoCount(), 1);
  model.Undo();
  EXPECT_EQ(model.GetUndoCount(), 0);
  EXPECT_EQ(model.GetRedoCount(), 1);
  EXPECT_EQ(Text(model), "");
  recorder.ids.clear();
  // An empty insert changes no position: observers hear it, caches stay.
  model.InsertTextAt(0, 0, "", 0);
  EXPECT_EQ(recorder.ids, (std::vector<UINT>{SECEDIT_MSG_COMMAND}));
  // An unknown language is refused without a word.
  recorder.ids.clear();
  EXPECT_FALSE(model.SelectLangConfig("Klingon"));
  EXPECT_TRUE(recorder.ids.empty());
  CString name;
  model.GetLanguageName(&name);
  EXPECT_STREQ(name, "Default");
  model.RemoveObserver(&recorder);
}

TEST_F(ModelTest, ColumnsTabsAndIndentation) {
  SECEdit model;
  model.ResetWithLanguage("C");
  model.InsertTextAt(0, 0, "a\tbc\td", -1);
  EXPECT_EQ(model.ConvertLineColumn(2, FALSE, 0), 4);
  EXPECT_EQ(model.ConvertLineColumn(5, FALSE, 0), 8);
  int start = -1;
  EXPECT_EQ(model.ConvertLineColumn(2, TRUE, 0, &start), 1);  // inside the first tab
  EXPECT_EQ(start, 1);
  EXPECT_EQ(model.ConvertLineColumn(99, TRUE, 0, &start), 6);
  EXPECT_EQ(start, 9);
  CString indent;
  model.MakeIndentText(&indent, 7, SECEditLineCol(0, 0), FALSE);
  EXPECT_STREQ(indent, "\t   ");
  model.DeleteText(0, 0, 0, 6);
  model.InsertTextAt(0, 0, "ab", -1);
  model.MakeIndentText(&indent, 7, SECEditLineCol(0, 2), FALSE);
  EXPECT_STREQ(indent, "\t\t ");
  EXPECT_EQ(model.SpacesToNextTabStop(SECEditLineCol(0, 2)), 2);
  c.replaceTabs = TRUE;
  model.InsertTab(0, 2);
  EXPECT_EQ(Text(model), "ab  ");
  EXPECT_EQ(model.GetIndentLength(0), 0);
}

TEST_F(ModelTest, CommandsDescribeThemselvesAndGroupsTakeEachCommandOnce) {
  SECEdit model;
  model.NewDocument();
  model.InsertTextAt(0, 0, "0\n1\n2\nline\nmore", -1);
  auto* del = new SECEditCommand(&model, FALSE);
  static_cast<SECEditLineColPair&>(*del) = SECEditLineColPair(2, 0, 3, 4);
  CString text;
  del->GetDescription(text);
  EXPECT_STREQ(text, "Delete text from line 2, column 0 to line 3, column 4");
  ASSERT_TRUE(model.DoCommand(del));
  EXPECT_STREQ(del->m_strText, "2\nline");
  model.Undo();
  model.Redo();
  EXPECT_STREQ(del->m_strText, "2\nline");
  EXPECT_EQ(Text(model), "0\n1\n\nmore");
  SECEditCommand insert(&model, TRUE);
  insert.m_strText = "abc";
  insert.SetStart(5, 1);
  insert.GetDescription(text);
  EXPECT_STREQ(text, "Insert text having length 3 at line 5, column 1");

  SECEditCompositeCommand outer;
  auto* inner = new SECEditCompositeCommand;
  auto* cmd = new SECEditCommand(&model, TRUE);
  EXPECT_TRUE(inner->AddCommand(cmd));
  EXPECT_TRUE(outer.AddCommand(inner));
  EXPECT_FALSE(outer.AddCommand(cmd));
  EXPECT_FALSE(outer.AddCommand(inner));
  SECEditCompositeCommand empty;
  EXPECT_TRUE(empty.Execute());
  EXPECT_TRUE(empty.Unexecute());
  EXPECT_EQ(empty.GetCount(), 0);
}

TEST_F(ModelTest, MarksFollowLinesThroughEdits) {
  SECEdit model;
  model.NewDocument();
  model.InsertTextAt(0, 0, "one\ntwo\nthree", -1);
  model.ClearLineMarks(SECEDIT_MARK_CHANGED);
  model.ToggleLineMark(1, 0);
  model.ToggleLineMark(1, 0);
  EXPECT_EQ(model.GetItemCount(), 0);
  EXPECT_EQ(model.FindMarkedLine(0, 5, TRUE), -1);
  model.ToggleLineMark(1, SECEDIT_MARK_BOOKMARK);
  EXPECT_EQ(model.FindMarkedLine(1, SECEDIT_MARK_BOOKMARK, TRUE), 1);
  EXPECT_EQ(model.FindMarkedLine(2, SECEDIT_MARK_BOOKMARK, FALSE), 1);
  // Enter at the start of the marked line takes the mark down with its text...
  model.InsertTextAt(1, 0, "\n", -1);
  EXPECT_TRUE(model.HasLineMark(2, SECEDIT_MARK_BOOKMARK));
  EXPECT_FALSE(model.HasLineMark(1, SECEDIT_MARK_BOOKMARK));
  // ...at its end it stays.
  model.InsertTextAt(2, 3, "\n", -1);
  EXPECT_TRUE(model.HasLineMark(2, SECEDIT_MARK_BOOKMARK));
  EXPECT_TRUE(model.HasLineMark(3, SECEDIT_MARK_CHANGED));
  // Joining lines keeps the mark of the line whose text stays.
  model.DeleteText(1, 0, 2, 0);
  EXPECT_TRUE(model.HasLineMark(1, SECEDIT_MARK_BOOKMARK));
  model.SetLineMark(0, 35, TRUE);
  EXPECT_TRUE(model.HasLineMark(0, 0));
  EXPECT_EQ(model.SetLineData(0, 7), 0u);
  EXPECT_EQ(model.SetLineData(0, 0), 7u);
  model.SetLineMark(0, 0, FALSE);
  EXPECT_EQ(model.GetLineData(0), 0u);
  EXPECT_EQ(model.CountMarkedLines(SECEDIT_MARK_BOOKMARK), 1);
  EXPECT_FALSE(model.HasLineMark(99, 0));
}

}  // namespace
