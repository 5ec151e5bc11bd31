// The OLE clipboard: each format the program uses round-trips through a data source and back
// through a data object and the plain clipboard; sources are released when replaced, rendered
// when flushed, and asked for delayed formats.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "backend/DropFiles.h"
#include "base/GlobalMemory.h"
#include "ole/ole.h"
#include "testing/testing.h"

using brambolt::test::UiSession;

namespace {

HGLOBAL Block(const std::string& bytes) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, bytes.size());
  std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
  GlobalUnlock(h);
  return h;
}

std::string Bytes(HGLOBAL h) {
  if (h == nullptr) return "<none>";
  std::string s(static_cast<const char*>(GlobalLock(h)), GlobalSize(h));
  GlobalUnlock(h);
  return s;
}

std::string ReadPlain(UINT format) {
  if (!OpenClipboard(nullptr)) return "<closed>";
  std::string s = Bytes(GetClipboardData(format));
  CloseClipboard();
  return s;
}

std::string ReadOle(CLIPFORMAT format) {
  COleDataObject data;
  if (!data.AttachClipboard() || !data.IsDataAvailable(format)) return "<none>";
  HGLOBAL h = data.GetGlobalData(format);
  std::string s = Bytes(h);
  GlobalFree(h);
  return s;
}

class TrackedSource : public COleDataSource {
 public:
  explicit TrackedSource(bool* deleted) : deleted_(deleted) {}
  ~TrackedSource() override { *deleted_ = true; }
  BOOL OnRenderGlobalData(LPFORMATETC format, HGLOBAL* phGlobal) override {
    ++renders;
    *phGlobal = Block("rendered " + std::to_string(format->cfFormat) + std::string(1, '\0'));
    return TRUE;
  }
  int renders = 0;

 private:
  bool* deleted_;
};

TEST(OleClipboard, EachFormatRoundTripsThroughDataObjectAndPlainClipboard) {
  UiSession session;
  std::string listRecord(56, '\0');
  for (size_t i = 0; i < listRecord.size(); ++i) listRecord[i] = static_cast<char>(i * 7);
  DROPFILES header{sizeof(DROPFILES), {0, 0}, FALSE, FALSE};
  std::string drop(reinterpret_cast<const char*>(&header), sizeof(header));
  drop += std::string("/tmp/a.h\0/tmp/b c.h\0\0", 22);
  struct Case {
    CLIPFORMAT format;
    std::string bytes;
  } cases[] = {
      {CF_TEXT, std::string("one\r\ntwo\r\n\0", 11)},
      {static_cast<CLIPFORMAT>(RegisterClipboardFormat("MSDEVColumnSelect")), std::string("a\r\n\r\nbc\r\n\0", 10)},
      {static_cast<CLIPFORMAT>(RegisterClipboardFormat("SEC_CF_LISTCTRL")), listRecord},
      {CF_HDROP, drop},
  };
  for (const Case& c : cases) {
    auto* source = new COleDataSource;
    source->CacheGlobalData(c.format, Block(c.bytes));
    source->SetClipboard();
    EXPECT_EQ(ReadOle(c.format), c.bytes) << c.format;
    EXPECT_EQ(ReadPlain(c.format), c.bytes) << c.format;
  }
  // After the last copy only the file list is offered.
  COleDataObject data;
  ASSERT_TRUE(data.AttachClipboard());
  EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));
  auto files = reinterpret_cast<HDROP>(data.GetGlobalData(CF_HDROP));
  ASSERT_EQ(DragQueryFile(files, 0xFFFFFFFF, nullptr, 0), 2u);
  char name[64];
  DragQueryFile(files, 1, name, sizeof(name));
  EXPECT_STREQ(name, "/tmp/b c.h");
  DragFinish(files);
}

TEST(OleClipboard, ColumnCopyOffersBothFormatsAndTheEnumerationListsThem) {
  UiSession session;
  CLIPFORMAT column = static_cast<CLIPFORMAT>(RegisterClipboardFormat("MSDEVColumnSelect"));
  auto* source = new COleDataSource;
  source->CacheGlobalData(column, Block(std::string("ab\r\n\0", 5)));
  source->CacheGlobalData(CF_TEXT, Block(std::string("ab\r\n\0", 5)));
  source->SetClipboard();
  EXPECT_EQ(COleDataSource::GetClipboardOwner(), source);
  COleDataObject data;
  ASSERT_TRUE(data.AttachClipboard());
  std::vector<CLIPFORMAT> formats;
  data.BeginEnumFormats();
  FORMATETC f;
  while (data.GetNextFormat(&f)) formats.push_back(f.cfFormat);
  EXPECT_EQ(formats, (std::vector<CLIPFORMAT>{column, CF_TEXT}));
  STGMEDIUM medium;
  ASSERT_TRUE(data.GetData(CF_TEXT, &medium));
  EXPECT_EQ(medium.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(medium.hGlobal)), "ab\r\n");
  GlobalUnlock(medium.hGlobal);
  ReleaseStgMedium(&medium);
  EXPECT_EQ(medium.hGlobal, nullptr);
}

TEST(OleClipboard, SourcesAreReleasedWhenReplacedAndFlushedDataOutlivesThem) {
  UiSession session;
  bool firstGone = false, secondGone = false;
  auto* first = new TrackedSource(&firstGone);
  first->CacheGlobalData(CF_TEXT, Block(std::string("first\0", 6)));
  first->SetClipboard();
  EXPECT_FALSE(firstGone);
  auto* second = new TrackedSource(&secondGone);
  second->CacheGlobalData(CF_TEXT, Block(std::string("second\0", 7)));
  second->SetClipboard();
  EXPECT_TRUE(firstGone);
  EXPECT_FALSE(secondGone);
  COleDataSource::FlushClipboard();
  EXPECT_TRUE(secondGone);
  EXPECT_EQ(ReadPlain(CF_TEXT), std::string("second\0", 7));
  EXPECT_EQ(ReadOle(CF_TEXT), std::string("second\0", 7));

  // Another copy through the plain clipboard lets a source on it go.
  bool thirdGone = false;
  auto* third = new TrackedSource(&thirdGone);
  third->CacheGlobalData(CF_TEXT, Block(std::string("third\0", 6)));
  third->SetClipboard();
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_TRUE(thirdGone);
  EXPECT_EQ(ReadOle(CF_TEXT), "<none>");
}

TEST(OleClipboard, DelayedFormatsAreRenderedWhenAskedForAndKeptWhenTheOwnerGoes) {
  UiSession session;
  CLIPFORMAT list = static_cast<CLIPFORMAT>(RegisterClipboardFormat("SEC_CF_LISTCTRL"));
  std::string expected = "rendered " + std::to_string(list) + std::string(1, '\0');
  bool gone = false;
  auto* source = new TrackedSource(&gone);
  source->DelayRenderData(list);
  source->SetClipboard();
  EXPECT_EQ(source->renders, 0);
  EXPECT_EQ(ReadPlain(list), expected);
  EXPECT_EQ(source->renders, 1);
  EXPECT_EQ(ReadOle(list), expected);
  EXPECT_FALSE(gone);
  // The clipboard's hidden owner window goes (its thread's windows are destroyed): the source
  // goes with it, what it offered stays on the clipboard.
  HWND owner = GetClipboardOwner();
  ASSERT_NE(owner, nullptr);
  DestroyWindow(owner);
  EXPECT_TRUE(gone);
  EXPECT_EQ(ReadPlain(list), expected);
}

TEST(OleClipboard, TextOfAnotherProgramReadsAsAnsiText) {
  UiSession session;
  brambolt::ScopedCodePage page(1252);
  session.Backend().SetForeignClipboardText("caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(ReadOle(CF_TEXT), std::string("caf\xE9 \x80\0", 7));
}

}  // namespace
