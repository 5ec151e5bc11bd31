// The editor controller's clipboard, column blocks, undo and redo, and the enabling of the
// editing commands, on an editor window with the program's OLE clipboard.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "ControllerHost.h"
#include "UndoCommandState.h"
#include "ole/COleDataObject.h"
#include "ole/COleDataSource.h"

using editortest::ControllerHost;

namespace {

int Enabled(ControllerHost& host, UINT id) { return editortest::Update(&host.Ctl(), id).enabled; }

// The clipboard's text and whether it is marked as a column block; "<none>" without text.
std::pair<std::string, bool> Clipboard(ControllerHost& host) {
  COleDataObject data;
  if (!data.AttachClipboard() || !data.IsDataAvailable(CF_TEXT)) return {"<none>", false};
  CString text;
  BOOL column = FALSE;
  host.Ctl().ReadDataObjectText(&data, text, column);
  return {std::string(text, static_cast<size_t>(text.GetLength())), column != FALSE};
}

void PutOnClipboard(const std::string& bytes, bool column, bool terminated = true) {
  auto* source = new COleDataSource;
  auto block = [&] {
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size() + (terminated ? 1 : 0));
    auto* p = static_cast<char*>(::GlobalLock(h));
    std::memcpy(p, bytes.data(), bytes.size());
    if (terminated) p[bytes.size()] = '\0';
    ::GlobalUnlock(h);
    return h;
  };
  if (column) source->CacheGlobalData(static_cast<CLIPFORMAT>(::RegisterClipboardFormat("MSDEVColumnSelect")), block());
  source->CacheGlobalData(CF_TEXT, block());
  source->SetClipboard();
}

TEST(ClipboardCopy, WithoutSelectionTheCaretLineIsCopiedAndCutDeletesNothing) {
  ControllerHost host;
  host.SetText("a\r\nbb\r\ncc");
  const struct {
    int line;
    const char* expected;
  } cases[] = {{1, "bb\r\n"}, {2, "cc"}, {0, "a\r\n"}};
  for (const auto& k : cases) {
    host.Put(k.line, 1);
    EXPECT_TRUE(host.Ctl().Copy());
    EXPECT_EQ(Clipboard(host), std::make_pair(std::string(k.expected), false)) << k.line;
  }
  host.Put(1, 0);
  EXPECT_EQ(Enabled(host, 57634), 1);
  EXPECT_EQ(Enabled(host, 57635), 0);
  // Ctrl+X is disabled here (no selection); the operation itself copies and deletes nothing.
  EXPECT_TRUE(host.Ctl().Cut());
  EXPECT_EQ(host.Text(), "a\r\nbb\r\ncc");
  EXPECT_EQ(Clipboard(host).first, "bb\r\n");

  // An empty last line copies nothing: the clipboard is emptied.
  host.SetText("x\r\n");
  host.Put(1, 0);
  host.Key('C', brambolt::test::kCtrl);
  EXPECT_EQ(Clipboard(host).first, "<none>");
}

TEST(ClipboardColumns, ColumnBlocksCopyRowByRowAndPasteAtOneHorizontalPlace) {
  ControllerHost host;
  host.SetText("abcdef\r\nab\r\nabcdef\r\nxyz");
  host.Ctl().SetSelection(SECEditLineColPair(0, 1, 2, 4), SECEDIT_SEL_COLUMN);
  ASSERT_TRUE(host.Ctl().Copy());
  EXPECT_EQ(Clipboard(host), std::make_pair(std::string("bcd\r\nb\r\nbcd\r\n"), true));

  // Back in at column 2 of the last line: the rows go one under the other, lines added as needed.
  host.Put(3, 2);
  host.Key('V', brambolt::test::kCtrl);
  EXPECT_EQ(host.Text(), "abcdef\r\nab\r\nabcdef\r\nxybcdz\r\n  b\r\n  bcd\r\n");
  host.Key('Z', brambolt::test::kCtrl);
  EXPECT_EQ(host.Text(), "abcdef\r\nab\r\nabcdef\r\nxyz");

  // Another program's column block whose last row has no line end: that row is pasted too.
  host.SetText("1234\r\n1\r\n1234");
  PutOnClipboard("AB\r\nCD", true);
  host.Put(0, 2);
  host.Key('V', brambolt::test::kCtrl);
  EXPECT_EQ(host.Text(), "12AB34\r\n1 CD\r\n1234");

  // Plain text from elsewhere goes in as a stream, whatever its lines.
  host.SetText("[]");
  PutOnClipboard("one\r\ntwo", false);
  host.Put(0, 1);
  host.Key('V', brambolt::test::kCtrl);
  EXPECT_EQ(host.Text(), "[one\r\ntwo]");
}

TEST(ClipboardPaste, ABlockWithoutTerminatorIsReadNoFurtherThanItsSize) {
  ControllerHost host;
  host.SetText("");
  PutOnClipboard("unterminated", false, false);
  EXPECT_EQ(Clipboard(host).first, "unterminated");
  host.Key('V', brambolt::test::kCtrl);
  EXPECT_EQ(host.Text(), "unterminated");
}

TEST(ClipboardPaste, TypedAndPastedLineEndsAreThoseOfTheFileAsOpened) {
  const struct {
    const char* file;  // null: a new text
    const char* saved;
  } cases[] = {
      {"one\ntwo\n", "one\np\nq\nr\n\n\ntwo\n"},
      {"one\r\ntwo\r\n", "one\r\np\r\nq\r\nr\r\n\r\n\r\ntwo\r\n"},
      {"one", "one\r\np\r\nq\r\nr\r\n\r\n"},
      {nullptr, "one\r\np\r\nq\r\nr\r\n\r\n"},
  };
  brambolt::test::PrivateStores stores;
  const std::string path = stores.TempDir() + "/text.txt";
  ControllerHost host;
  for (const auto& c : cases) {
    if (c.file != nullptr) {
      std::ofstream(path, std::ios::binary) << c.file;
      ASSERT_TRUE(host.model.OpenFile(path.c_str()));
    } else {
      host.SetText("");
      host.Type("one");
    }
    host.Ctl().ResetState();
    host.Key(VK_END);
    host.Key(VK_RETURN);
    PutOnClipboard("p\r\nq\nr\r", false);
    host.Key('V', brambolt::test::kCtrl);
    host.Key(VK_RETURN);
    ASSERT_TRUE(host.model.SaveFile(path.c_str()));
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.saved) << (c.file != nullptr ? c.file : "new");
  }
}

TEST(UndoRedo, EnablingFollowsTheHistoryAndTheClipboard) {
  ControllerHost host;
  host.SetText("");
  ::OpenClipboard(nullptr);
  ::EmptyClipboard();
  ::CloseClipboard();
  for (UINT id : {57634U, 57635U, 57643U, 57644U, 57637U}) EXPECT_EQ(Enabled(host, id), 0) << id;
  PutOnClipboard("x", false);
  EXPECT_EQ(Enabled(host, 57637), 1);

  // 257 separate edits leave 256 to undo.
  for (int i = 0; i < 257; ++i) host.model.InsertTextAt(0, 0, "a", 1);
  EXPECT_EQ(Enabled(host, 57643), 1);
  int undone = 0;
  while (host.Ctl().Undo()) ++undone;
  EXPECT_EQ(undone, 256);
  EXPECT_EQ(host.Text(), "a");
  EXPECT_EQ(Enabled(host, 57643), 0);
  EXPECT_EQ(Enabled(host, 57644), 1);
  host.Key('Y', brambolt::test::kCtrl);
  EXPECT_EQ(host.Text(), "aa");

  // Undo and redo are refused while the mouse selects.
  brambolt::test::ButtonDown(host.Hwnd(), host.PointOf(0, 1));
  EXPECT_FALSE(host.Ctl().Undo());
  EXPECT_FALSE(host.Ctl().Redo());
  brambolt::test::ButtonUp(host.Hwnd(), host.PointOf(0, 1));
  EXPECT_TRUE(host.Ctl().Undo());
}

}  // namespace
