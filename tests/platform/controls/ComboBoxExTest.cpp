// The extended combo box: items with text, images, indent and a value, inserted, read, changed
// and deleted with their notifications; the inner combo and its edit, whose typing and selection
// reach the parent under the extended combo's id; the image drawn in the field.
#include <cstddef>
#include <string>
#include <vector>

#include "ControlsTestSupport.h"

using namespace brambolt::test;

namespace {

constexpr int kId = 44;
const COLORREF kGreen = RGB(0, 160, 0);
const COLORREF kBlue = RGB(0, 0, 200);

class ComboBoxEx : public ::testing::Test {
 protected:
  void TearDown() override {
    if (images_) ImageList_Destroy(images_);
  }
  HWND Make(DWORD style) {
    HWND ex = CreateWindowEx(0, WC_COMBOBOXEX, nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 10, 10, 200, 150,
                             recorder_.Hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kId)), nullptr, nullptr);
    EXPECT_NE(ex, nullptr);
    SendMessage(ex, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    RunUntilIdle();
    return ex;
  }
  static LRESULT Insert(HWND ex, INT_PTR at, const char* text, int image, LPARAM value, int indent = 0) {
    COMBOBOXEXITEM item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_LPARAM | CBEIF_INDENT;
    item.iItem = at;
    item.pszText = const_cast<LPSTR>(text);
    item.iImage = item.iSelectedImage = image;
    item.iIndent = indent;
    item.lParam = value;
    return SendMessage(ex, CBEM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
  }
  struct Read {
    BOOL found;
    std::string text;
    int image;
    int indent;
    LPARAM value;
  };
  static Read Get(HWND ex, INT_PTR index) {
    char buffer[64] = {};
    COMBOBOXEXITEM item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_LPARAM | CBEIF_INDENT;
    item.iItem = index;
    item.pszText = buffer;
    item.cchTextMax = sizeof(buffer);
    BOOL found = static_cast<BOOL>(SendMessage(ex, CBEM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)));
    return {found, buffer, item.iImage, item.iIndent, item.lParam};
  }
  std::vector<UINT> Codes(UINT message) const {
    std::vector<UINT> codes;
    for (const auto& r : recorder_.Records())
      if (r.message == message) codes.push_back(r.code);
    return codes;
  }

  UiSession session_;
  NotificationRecorder recorder_;
  HIMAGELIST images_ = nullptr;
};

// ---- items ----

TEST_F(ComboBoxEx, ItemsKeepTextImageIndentAndValue) {
  HWND ex = Make(CBS_DROPDOWNLIST);
  EXPECT_EQ(Insert(ex, -1, "Standard", 1, 100), 0);
  EXPECT_EQ(Insert(ex, -1, "Drawing", 2, 200, 1), 1);
  EXPECT_EQ(Insert(ex, 1, "Formatting", 3, 300), 1);
  EXPECT_EQ(Insert(ex, 7, "Nowhere", 0, 0), -1);

  EXPECT_EQ(SendMessage(ex, CB_GETCOUNT, 0, 0), 3);
  Read drawing = Get(ex, 2);
  EXPECT_TRUE(drawing.found);
  EXPECT_EQ(drawing.text, "Drawing");
  EXPECT_EQ(drawing.image, 2);
  EXPECT_EQ(drawing.indent, 1);
  EXPECT_EQ(drawing.value, 200);
  EXPECT_FALSE(Get(ex, 3).found);
  // The ordinary combo box messages see the same items; item data is the items' value.
  char text[32] = {};
  SendMessage(ex, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Formatting");
  EXPECT_EQ(SendMessage(ex, CB_GETITEMDATA, 0, 0), 100);
  EXPECT_EQ(SendMessage(ex, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("dra")), 2);
  EXPECT_EQ(SendMessage(ex, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(Get(ex, -1).text, "Drawing");

  ASSERT_EQ(Codes(WM_NOTIFY), (std::vector<UINT>{CBEN_INSERTITEM, CBEN_INSERTITEM, CBEN_INSERTITEM}));
  for (const auto& r : recorder_.Records()) EXPECT_EQ(r.id, static_cast<UINT_PTR>(kId));
}

TEST_F(ComboBoxEx, LongTextIsCutToTheCallersRoom) {
  HWND ex = Make(CBS_DROPDOWNLIST);
  Insert(ex, -1, "Formatting", 0, 0);
  char buffer[5] = {'x', 'x', 'x', 'x', 'x'};
  COMBOBOXEXITEM item{};
  item.mask = CBEIF_TEXT;
  item.pszText = buffer;
  item.cchTextMax = 4;
  EXPECT_TRUE(SendMessage(ex, CBEM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_STREQ(buffer, "For");
  EXPECT_EQ(buffer[4], 'x');
}

TEST_F(ComboBoxEx, SetItemChangesOnlyTheFieldsItNames) {
  HWND ex = Make(CBS_DROPDOWNLIST);
  Insert(ex, -1, "Standard", 1, 100);
  Insert(ex, -1, "Drawing", 2, 200);
  SendMessage(ex, CB_SETCURSEL, 1, 0);
  COMBOBOXEXITEM item{};
  item.mask = CBEIF_TEXT | CBEIF_IMAGE;
  item.iItem = 1;
  item.pszText = const_cast<LPSTR>("Pictures");
  item.iImage = 5;
  EXPECT_TRUE(SendMessage(ex, CBEM_SETITEM, 0, reinterpret_cast<LPARAM>(&item)));
  Read changed = Get(ex, 1);
  EXPECT_EQ(changed.text, "Pictures");
  EXPECT_EQ(changed.image, 5);
  EXPECT_EQ(changed.value, 200);
  EXPECT_EQ(SendMessage(ex, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessage(ex, CB_GETCOUNT, 0, 0), 2);
  item.iItem = 9;
  EXPECT_FALSE(SendMessage(ex, CBEM_SETITEM, 0, reinterpret_cast<LPARAM>(&item)));
}

TEST_F(ComboBoxEx, DeletingTellsTheParentWhichItemGoes) {
  HWND ex = Make(CBS_DROPDOWNLIST);
  recorder_.ExpectStructure(CBEN_DELETEITEM, sizeof(NMCOMBOBOXEX));
  Insert(ex, -1, "Standard", 0, 100);
  Insert(ex, -1, "Formatting", 0, 200);
  Insert(ex, -1, "Drawing", 0, 300);
  EXPECT_EQ(SendMessage(ex, CBEM_DELETEITEM, 1, 0), 2);
  EXPECT_EQ(SendMessage(ex, CBEM_DELETEITEM, 5, 0), CB_ERR);
  EXPECT_EQ(Get(ex, 1).value, 300);
  SendMessage(ex, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessage(ex, CB_GETCOUNT, 0, 0), 0);

  std::vector<LPARAM> deleted;
  for (const auto& r : recorder_.Records()) {
    if (r.code != CBEN_DELETEITEM) continue;
    ASSERT_EQ(r.data.size(), sizeof(NMCOMBOBOXEX));
    deleted.push_back(reinterpret_cast<const NMCOMBOBOXEX*>(r.data.data())->ceItem.lParam);
  }
  EXPECT_EQ(deleted, (std::vector<LPARAM>{200, 100, 300}));
}

TEST_F(ComboBoxEx, PlainStringsBecomeItemsWithoutImages) {
  HWND ex = Make(CBS_DROPDOWNLIST);
  EXPECT_EQ(SendMessage(ex, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Standard")), 0);
  EXPECT_EQ(SendMessage(ex, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("Top")), 0);
  EXPECT_EQ(SendMessage(ex, CB_SETITEMDATA, 1, 77), TRUE);
  Read standard = Get(ex, 1);
  EXPECT_EQ(standard.text, "Standard");
  EXPECT_EQ(standard.image, 0);
  EXPECT_EQ(standard.value, 77);
}

// ---- the children ----

TEST_F(ComboBoxEx, TheEditBelongsToTheDropDownStyles) {
  HWND list = Make(CBS_DROPDOWNLIST);
  HWND inner = reinterpret_cast<HWND>(SendMessage(list, CBEM_GETCOMBOCONTROL, 0, 0));
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(GetParent(inner), list);
  char name[32] = {};
  GetClassName(inner, name, sizeof(name));
  EXPECT_STREQ(name, "ComboBox");
  EXPECT_EQ(SendMessage(list, CBEM_GETEDITCONTROL, 0, 0), 0);

  HWND drop = Make(CBS_DROPDOWN);
  auto edit = reinterpret_cast<HWND>(SendMessage(drop, CBEM_GETEDITCONTROL, 0, 0));
  ASSERT_NE(edit, nullptr);
  GetClassName(edit, name, sizeof(name));
  EXPECT_STREQ(name, "Edit");
}

TEST_F(ComboBoxEx, TypingReachesTheParentAsEditChangeAndEndsWithReturn) {
  HWND ex = Make(CBS_DROPDOWN);
  Insert(ex, -1, "Standard", 0, 0);
  recorder_.ExpectStructure(CBEN_ENDEDIT, sizeof(NMCBEENDEDIT));
  auto edit = reinterpret_cast<HWND>(SendMessage(ex, CBEM_GETEDITCONTROL, 0, 0));
  SetFocus(edit);
  RunUntilIdle();
  EXPECT_FALSE(SendMessage(ex, CBEM_HASEDITCHANGED, 0, 0));
  recorder_.Clear();
  TypeText("Tools");

  int editChanges = 0;
  for (const auto& r : recorder_.Records()) {
    if (r.message != WM_COMMAND || r.code != CBN_EDITCHANGE) continue;
    ++editChanges;
    EXPECT_EQ(r.id, static_cast<UINT_PTR>(kId));
    EXPECT_EQ(r.from, ex);
  }
  EXPECT_EQ(editChanges, 5);
  EXPECT_TRUE(SendMessage(ex, CBEM_HASEDITCHANGED, 0, 0));
  EXPECT_EQ(Get(ex, -1).text, "Tools");

  PressKey(VK_RETURN);
  const NMCBEENDEDIT* end = nullptr;
  for (const auto& r : recorder_.Records())
    if (r.code == CBEN_ENDEDIT) end = reinterpret_cast<const NMCBEENDEDIT*>(r.data.data());
  ASSERT_NE(end, nullptr);
  EXPECT_TRUE(end->fChanged);
  EXPECT_EQ(end->iWhy, CBENF_RETURN);
  EXPECT_STREQ(end->szText, "Tools");
  EXPECT_FALSE(SendMessage(ex, CBEM_HASEDITCHANGED, 0, 0));
}

TEST_F(ComboBoxEx, EditingBeginsWithTheFocusAndEndsWhenItLeaves) {
  HWND ex = Make(CBS_DROPDOWN);
  HWND other = CreateWindowEx(0, "Edit", nullptr, WS_CHILD | WS_VISIBLE, 10, 200, 100, 20, recorder_.Hwnd(), nullptr,
                              nullptr, nullptr);
  recorder_.ExpectStructure(CBEN_ENDEDIT, sizeof(NMCBEENDEDIT));
  SetFocus(ex);
  RunUntilIdle();
  EXPECT_EQ(Codes(WM_NOTIFY), (std::vector<UINT>{CBEN_BEGINEDIT}));
  // Leaving without typing ends nothing.
  SetFocus(other);
  RunUntilIdle();
  EXPECT_EQ(Codes(WM_NOTIFY), (std::vector<UINT>{CBEN_BEGINEDIT}));

  SetFocus(ex);
  TypeText("x");
  SetFocus(other);
  RunUntilIdle();
  const NMCBEENDEDIT* end = nullptr;
  for (const auto& r : recorder_.Records())
    if (r.code == CBEN_ENDEDIT) end = reinterpret_cast<const NMCBEENDEDIT*>(r.data.data());
  ASSERT_NE(end, nullptr);
  EXPECT_EQ(end->iWhy, CBENF_KILLFOCUS);
  EXPECT_STREQ(end->szText, "x");
  EXPECT_EQ(end->iNewSelection, CB_ERR);
}

TEST_F(ComboBoxEx, KeyboardSelectionReachesTheParentUnderItsId) {
  HWND ex = Make(CBS_DROPDOWNLIST);
  Insert(ex, -1, "Standard", 0, 0);
  Insert(ex, -1, "Drawing", 0, 0);
  SetFocus(ex);
  RunUntilIdle();
  EXPECT_EQ(GetFocus(), reinterpret_cast<HWND>(SendMessage(ex, CBEM_GETCOMBOCONTROL, 0, 0)));
  recorder_.Clear();
  PressKey(VK_DOWN);
  EXPECT_EQ(SendMessage(ex, CB_GETCURSEL, 0, 0), 0);
  bool seen = false;
  for (const auto& r : recorder_.Records())
    if (r.message == WM_COMMAND && r.code == CBN_SELCHANGE) {
      seen = true;
      EXPECT_EQ(r.id, static_cast<UINT_PTR>(kId));
      EXPECT_EQ(r.from, ex);
    }
  EXPECT_TRUE(seen);
}

// ---- images ----

TEST_F(ComboBoxEx, TheFieldShowsTheSelectedItemsImage) {
  HWND ex = Make(CBS_DROPDOWNLIST);
  images_ = ctltest::SolidImages({kGreen, kBlue});
  EXPECT_EQ(SendMessage(ex, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_)), 0);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessage(ex, CBEM_GETIMAGELIST, 0, 0)), images_);
  HWND inner = reinterpret_cast<HWND>(SendMessage(ex, CBEM_GETCOMBOCONTROL, 0, 0));
  EXPECT_GE(SendMessage(inner, CB_GETITEMHEIGHT, 0, 0), 16);
  Insert(ex, -1, "Standard", 0, 0);
  Insert(ex, -1, "Drawing", 1, 0);

  auto fieldHas = [&](COLORREF colour) {
    RECT r;
    GetClientRect(inner, &r);
    for (int x = 0; x < 40; ++x)
      if (WindowPixel(inner, x, r.bottom / 2) == colour) return true;
    return false;
  };
  SendMessage(ex, CB_SETCURSEL, 1, 0);
  UpdateWindow(recorder_.Hwnd());
  RunUntilIdle();
  EXPECT_TRUE(fieldHas(kBlue));
  EXPECT_FALSE(fieldHas(kGreen));
  SendMessage(ex, CB_SETCURSEL, 0, 0);
  RunUntilIdle();
  EXPECT_TRUE(fieldHas(kGreen));
}

TEST_F(ComboBoxEx, TheWindowWrapsItsCombo) {
  HWND ex = Make(CBS_DROPDOWNLIST);
  HWND inner = reinterpret_cast<HWND>(SendMessage(ex, CBEM_GETCOMBOCONTROL, 0, 0));
  RECT outer, combo;
  GetWindowRect(ex, &outer);
  GetWindowRect(inner, &combo);
  EXPECT_EQ(outer.bottom - outer.top, combo.bottom - combo.top);
  EXPECT_EQ(outer.right - outer.left, 200);
  SetWindowPos(ex, nullptr, 0, 0, 120, 200, SWP_NOMOVE | SWP_NOZORDER);
  GetWindowRect(ex, &outer);
  GetWindowRect(inner, &combo);
  EXPECT_EQ(combo.right - combo.left, 120);
  EXPECT_EQ(outer.bottom - outer.top, combo.bottom - combo.top);
}

// The item structure's layout and the values callers compile in.
TEST(ComboBoxExDefinitions, HaveTheirDocumentedValues) {
  EXPECT_EQ(offsetof(COMBOBOXEXITEM, iItem), sizeof(INT_PTR));
  EXPECT_EQ(offsetof(COMBOBOXEXITEM, pszText), 2 * sizeof(INT_PTR));
  EXPECT_EQ(offsetof(COMBOBOXEXITEM, cchTextMax), 2 * sizeof(INT_PTR) + sizeof(LPSTR));
  EXPECT_EQ(offsetof(COMBOBOXEXITEM, iIndent), offsetof(COMBOBOXEXITEM, cchTextMax) + 4 * sizeof(int));
  EXPECT_EQ(CBEM_INSERTITEM, 0x401u);
  EXPECT_EQ(CBEM_GETEDITCONTROL, 0x407u);
  EXPECT_EQ(CBEM_SETEXTENDEDSTYLE, 0x40Eu);
  EXPECT_EQ(CBEM_DELETEITEM, 0x144u);
  EXPECT_EQ(static_cast<int>(CBEN_ENDEDIT), -805);
  EXPECT_EQ(static_cast<int>(CBEN_INSERTITEM), -801);
  EXPECT_EQ(CBEIF_LPARAM | CBEIF_INDENT | CBEIF_OVERLAY, 0x38);
}

}  // namespace
