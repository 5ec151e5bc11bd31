#include <gtest/gtest.h>

#include "TestResources.h"
#include "res/ResourceTemplates.h"
#include "res/Resources.h"

namespace {

struct Bytes {
  const void* data = nullptr;
  std::size_t size = 0;
};

Bytes Resource(LPCTSTR name, LPCTSTR type) {
  HRSRC info = FindResource(nullptr, name, type);
  if (!info) return {};
  return {LockResource(LoadResource(nullptr, info)), SizeofResource(nullptr, info)};
}

}  // namespace

TEST(DialogTemplates, ClassicTemplateGivesItsControls) {
  Bytes b = Resource(MAKEINTRESOURCE(IDD_CLASSIC), RT_DIALOG);
  auto t = brambolt::ParseDialogTemplate(b.data, b.size);
  ASSERT_TRUE(t);
  EXPECT_FALSE(t->extended);
  EXPECT_EQ(t->title, "Classic");
  EXPECT_EQ(t->cx, 186);
  EXPECT_EQ(t->cy, 95);
  EXPECT_TRUE(t->hasFont);
  EXPECT_EQ(t->pointSize, 8);
  EXPECT_EQ(t->faceName, "MS Sans Serif");
  ASSERT_EQ(t->items.size(), 4u);
  EXPECT_EQ(t->items[0].ClassName(), "Button");
  EXPECT_EQ(t->items[0].id, 1u);
  EXPECT_EQ(t->items[0].title.text, "OK");
  EXPECT_EQ(t->items[0].x, 129);
  EXPECT_EQ(t->items[1].ClassName(), "Edit");
  EXPECT_EQ(t->items[1].id, 1000u);
  EXPECT_TRUE(t->items[1].style & 0x80);
  EXPECT_STRCASEEQ(t->items[2].ClassName().c_str(), "SysAnimate32");
  EXPECT_EQ(t->items[2].id, 1005u);
  EXPECT_EQ(t->items[3].ClassName(), "Static");
  EXPECT_EQ(t->items[3].id, 0xFFFFu);  // -1 in a classic template is a 16-bit id
}

TEST(DialogTemplates, ExtendedTemplateKeepsFontDetailsAndWideIds) {
  Bytes b = Resource(MAKEINTRESOURCE(IDD_EXTENDED), RT_DIALOG);
  auto t = brambolt::ParseDialogTemplate(b.data, b.size);
  ASSERT_TRUE(t);
  EXPECT_TRUE(t->extended);
  EXPECT_EQ(t->exStyle, 0x80u);
  EXPECT_EQ(t->x, 10);
  EXPECT_EQ(t->y, 20);
  EXPECT_EQ(t->pointSize, 9);
  EXPECT_EQ(t->weight, 700);
  EXPECT_EQ(t->italic, 1);
  EXPECT_EQ(t->charSet, 0x86);
  EXPECT_EQ(t->faceName, "Tahoma");
  ASSERT_EQ(t->items.size(), 2u);
  EXPECT_EQ(t->items[0].id, 2u);
  EXPECT_EQ(t->items[1].id, 80122u);
  EXPECT_EQ(t->items[1].ClassName(), "Button");
  EXPECT_EQ(t->items[1].style & 0xF, 3u);
}

TEST(DialogTemplates, CutShortTemplatesAreRefused) {
  Bytes b = Resource(MAKEINTRESOURCE(IDD_CLASSIC), RT_DIALOG);
  for (std::size_t cut : {std::size_t{0}, std::size_t{10}, b.size / 2, b.size - 8})
    EXPECT_FALSE(brambolt::ParseDialogTemplate(b.data, cut)) << cut;
}

TEST(MenuTemplates, ClassicMenuGivesPopupsFlagsAndSeparators) {
  Bytes b = Resource(MAKEINTRESOURCE(IDR_MENU), RT_MENU);
  auto t = brambolt::ParseMenuTemplate(b.data, b.size);
  ASSERT_TRUE(t);
  ASSERT_EQ(t->items.size(), 2u);
  const auto& file = t->items[0];
  EXPECT_TRUE(file.IsPopup());
  EXPECT_EQ(file.text, "&File");
  ASSERT_EQ(file.children.size(), 3u);
  EXPECT_EQ(file.children[0].text, "&Open\tCtrl+O");
  EXPECT_EQ(file.children[0].id, 57601u);
  EXPECT_TRUE(file.children[1].IsSeparator());
  EXPECT_EQ(file.children[2].id, 57665u);
  EXPECT_TRUE(file.children[2].flags & MF_GRAYED);
  EXPECT_FALSE(t->items[1].IsPopup());
  EXPECT_TRUE(t->items[1].flags & MF_CHECKED);
  EXPECT_EQ(t->items[1].flags & MF_END, 0u);
}

TEST(MenuTemplates, ExtendedMenuGivesItsItems) {
  Bytes b = Resource(MAKEINTRESOURCE(IDR_MENUEX), RT_MENU);
  auto t = brambolt::ParseMenuTemplate(b.data, b.size);
  ASSERT_TRUE(t);
  EXPECT_TRUE(t->extended);
  ASSERT_EQ(t->items.size(), 1u);
  EXPECT_TRUE(t->items[0].IsPopup());
  ASSERT_EQ(t->items[0].children.size(), 2u);
  EXPECT_EQ(t->items[0].children[0].text, "&Undo");
  EXPECT_EQ(t->items[0].children[0].id, 57643u);
  EXPECT_TRUE(t->items[0].children[1].IsSeparator());
}

TEST(MenuTemplates, CutShortMenusAreRefused) {
  Bytes b = Resource(MAKEINTRESOURCE(IDR_MENU), RT_MENU);
  EXPECT_FALSE(brambolt::ParseMenuTemplate(b.data, b.size - 4));
}

TEST(AcceleratorTables, EntriesKeepKeysFlagsAndCommands) {
  Bytes b = Resource(MAKEINTRESOURCE(IDR_ACCEL), RT_ACCELERATOR);
  auto table = brambolt::ParseAcceleratorTable(b.data, b.size);
  ASSERT_EQ(table.size(), 3u);
  EXPECT_EQ(table[0].key, 'O');
  EXPECT_EQ(table[0].cmd, 57601);
  EXPECT_EQ(table[0].fVirt, FVIRTKEY | FCONTROL);
  EXPECT_EQ(table[1].key, 0x74);
  EXPECT_EQ(table[1].cmd, 32800);
  EXPECT_EQ(table[2].key, 'a');
  EXPECT_EQ(table[2].fVirt & FVIRTKEY, 0);
}

TEST(IconDirectories, BestFitPicksTheClosestSize) {
  Bytes b = Resource(MAKEINTRESOURCE(IDI_TEST), RT_GROUP_ICON);
  ASSERT_NE(b.data, nullptr);
  auto entries = brambolt::ParseIconDirectory(b.data, b.size, true);
  ASSERT_EQ(entries.size(), 2u);
  const BYTE* dir = static_cast<const BYTE*>(b.data);
  int small = LookupIconIdFromDirectoryEx(dir, TRUE, 16, 16, 0);
  int large = LookupIconIdFromDirectoryEx(dir, TRUE, 32, 32, 0);
  EXPECT_NE(small, large);
  EXPECT_EQ(small, entries[0].width == 16 ? entries[0].id : entries[1].id);
  EXPECT_EQ(LookupIconIdFromDirectory(dir, TRUE), large);
  EXPECT_EQ(LookupIconIdFromDirectoryEx(dir, FALSE, 16, 16, 0), 0);  // not a cursor directory
  HRSRC image = FindResource(nullptr, MAKEINTRESOURCE(small), RT_ICON);
  ASSERT_NE(image, nullptr);
  EXPECT_GT(SizeofResource(nullptr, image), 40u);
}

TEST(ToolbarTemplates, IdsAndSeparators) {
  Bytes b = Resource(MAKEINTRESOURCE(IDR_TOOLBAR), MAKEINTRESOURCE(241));
  auto t = brambolt::ParseToolbarTemplate(b.data, b.size);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->width, 16);
  EXPECT_EQ(t->height, 15);
  EXPECT_EQ(t->ids, (std::vector<WORD>{100, 0, 101, 102}));
}
