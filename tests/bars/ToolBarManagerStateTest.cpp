// Tests of the saved toolbar state: the "Buttons" byte string and its archive records.
#include <gtest/gtest.h>

#include "bars/SECBtnInfo.h"
#include "core/CException.h"
#include "core/CMemFile.h"

namespace {

std::vector<BYTE> Bytes(std::initializer_list<int> values) {
  std::vector<BYTE> out;
  for (int v : values) out.push_back(static_cast<BYTE>(v));
  return out;
}

void FillExample(SECBtnInfoArray& buttons) {
  const BYTE width150[] = {0x96, 0x00};
  buttons.Add(new SECBtnInfo(57600, nullptr, 0));
  buttons.Add(new SECBtnInfo(0, nullptr, 0));
  buttons.Add(new SECBtnInfo(32771, width150, 2));
}

const std::vector<BYTE> kExample = Bytes({0x00, 0xE1, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x80,
                                          0x00, 0x00, 0x02, 0x96, 0x00});

TEST(ToolBarManagerState, ButtonsValueHasOneRecordPerButton) {
  SECBtnInfoArray buttons;
  FillExample(buttons);
  EXPECT_EQ(buttons.Encode(), kExample);

  SECBtnInfoArray read;
  EXPECT_TRUE(read.Decode(kExample));
  ASSERT_EQ(read.GetSize(), 3);
  EXPECT_EQ(read[0]->m_nID, 57600u);
  EXPECT_EQ(read[1]->m_nID, 0u);
  EXPECT_EQ(read[1]->GetExtraCount(), 0);
  EXPECT_EQ(read[2]->m_nID, 32771u);
  ASSERT_EQ(read[2]->GetExtraCount(), 2);
  EXPECT_EQ(read[2]->GetExtraData()[0], 0x96);
  EXPECT_TRUE(SECBtnInfoArray().Encode().empty());
}

TEST(ToolBarManagerState, DamagedButtonsValueKeepsTheWholeRecords) {
  struct Case {
    std::vector<BYTE> bytes;
    int records;
  } cases[] = {
      {std::vector<BYTE>(kExample.begin(), kExample.end() - 1), 2},  // extra bytes cut short
      {std::vector<BYTE>(kExample.begin(), kExample.begin() + 12), 2},  // id cut short
      {Bytes({0x01, 0x00, 0x00, 0x00, 0xFF, 0x01}), 0},                // claims 255 extra bytes
      {Bytes({0x01}), 0},
  };
  for (const Case& c : cases) {
    SECBtnInfoArray read;
    EXPECT_FALSE(read.Decode(c.bytes));
    EXPECT_EQ(read.GetSize(), c.records);
  }
}

TEST(ToolBarManagerState, ArchiveRecordsRoundTripAndAppend) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    SECBtnInfoArray buttons;
    FillExample(buttons);
    buttons.Write(ar);
  }
  EXPECT_EQ(file.GetLength(), 4u + kExample.size());
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  SECBtnInfoArray read;
  read.Add(new SECBtnInfo(7, nullptr, 0));
  read.Read(ar);
  ASSERT_EQ(read.GetSize(), 4);
  EXPECT_EQ(read.Encode(), [] {
    std::vector<BYTE> out = Bytes({7, 0, 0, 0, 0});
    out.insert(out.end(), kExample.begin(), kExample.end());
    return out;
  }());
}

TEST(ToolBarManagerState, ArchiveWithTooFewRecordsThrows) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << static_cast<DWORD>(1000) << static_cast<DWORD>(5) << static_cast<BYTE>(0);
  }
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  SECBtnInfoArray read;
  bool thrown = false;
  try {
    read.Read(ar);
  } catch (CArchiveException* e) {
    thrown = true;
    e->Delete();
  }
  EXPECT_TRUE(thrown);
  EXPECT_EQ(read.GetSize(), 1);
}

}  // namespace
