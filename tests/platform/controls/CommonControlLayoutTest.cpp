// The structures that travel in common-control messages keep their documented 64-bit layouts,
// and the special values that callers compare keep theirs.
#include <cstddef>
#include <cstdint>

#include "ControlsTestSupport.h"

namespace {

struct Layout {
  const char* name;
  std::size_t actual, expected;
};

TEST(CommonControlLayouts, StructuresHaveTheirDocumentedSizesAndOffsets) {
  const Layout layouts[] = {
      {"NMHDR", sizeof(NMHDR), 24},
      {"LVITEM", sizeof(LVITEM), 56},
      {"LVITEM.lParam", offsetof(LVITEM, lParam), 40},
      {"LVCOLUMN", sizeof(LVCOLUMN), 40},
      {"NMLISTVIEW", sizeof(NMLISTVIEW), 64},
      {"NMLVDISPINFO.item", offsetof(NMLVDISPINFO, item), 24},
      {"NMLVKEYDOWN", sizeof(NMLVKEYDOWN), 30},  // packed: the key code right after the header
      {"NMTVKEYDOWN.flags", offsetof(NMTVKEYDOWN, flags), 26},
      {"TVITEM", sizeof(TVITEM), 56},
      {"TVINSERTSTRUCT", sizeof(TVINSERTSTRUCT), 80},
      {"NMTREEVIEW.itemNew", offsetof(NMTREEVIEW, itemNew), 88},
      {"TOOLINFO", sizeof(TOOLINFO), 72},
      {"TOOLINFO v1", TTTOOLINFOA_V1_SIZE, 56},
      {"NMTTDISPINFO.szText", offsetof(NMTTDISPINFO, szText), 32},
      {"NMTTDISPINFO", sizeof(NMTTDISPINFO), 136},
      {"TCITEM", sizeof(TCITEM), 40},
      {"NMUPDOWN", sizeof(NMUPDOWN), 32},
      {"PSHNOTIFY", sizeof(PSHNOTIFY), 32},
      {"PROPSHEETPAGE v1", PROPSHEETPAGE_V1_SIZE, 72},
      {"OPENFILENAME v4", OPENFILENAME_SIZE_VERSION_400, 136},
      {"CHOOSECOLOR", sizeof(CHOOSECOLOR), 72},
  };
  for (const Layout& l : layouts) EXPECT_EQ(l.actual, l.expected) << l.name;
}

TEST(CommonControlLayouts, SpecialValuesKeepTheirNumbers) {
  EXPECT_EQ(static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(TVI_ROOT)), 0xFFFF0000u);
  EXPECT_EQ(static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(TVI_SORT)), 0xFFFF0003u);
  EXPECT_EQ(static_cast<int>(LVN_GETDISPINFO), -150);
  EXPECT_EQ(static_cast<int>(LVN_KEYDOWN), -155);
  EXPECT_EQ(static_cast<int>(TVN_KEYDOWN), -412);
  EXPECT_EQ(static_cast<int>(TTN_NEEDTEXT), -520);
  EXPECT_EQ(static_cast<int>(UDN_DELTAPOS), -722);
  EXPECT_EQ(static_cast<int>(TCN_SELCHANGE), -551);
  EXPECT_EQ(static_cast<int>(PSN_WIZFINISH), -208);
  EXPECT_EQ(static_cast<int>(TBN_DROPDOWN), -710);
  EXPECT_EQ(LVIF_DI_SETITEM, 0x1000);
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(LPSTR_TEXTCALLBACK), -1);
}

}  // namespace
