// The framework's extended combo box object: items through the wrapper, its image list and the
// inner combo and edit as objects, and typing that reaches the parent's message map.
#include <gtest/gtest.h>

#include <string>

#include "ControlTestSupport.h"

using brambolt::test::RunUntilIdle;
using brambolt::test::TypeText;
using brambolt::test::UiSession;

namespace {

constexpr UINT kComboId = 310;

class EditHost : public CWnd {
 public:
  int editChanges = 0;

 protected:
  afx_msg void OnEditChange() { ++editChanges; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(EditHost, CWnd)
  ON_CBN_EDITCHANGE(kComboId, OnEditChange)
END_MESSAGE_MAP()

TEST(ComboBoxExWrapper, ItemsImagesAndChildrenGoThroughTheControl) {
  UiSession session;
  EditHost host;
  ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                            nullptr, nullptr));
  CComboBoxEx combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(10, 10, 210, 160), &host, kComboId));

  COMBOBOXEXITEM item{};
  item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_LPARAM;
  item.iItem = -1;
  item.pszText = const_cast<LPSTR>("Standard");
  item.iImage = 2;
  item.lParam = 42;
  EXPECT_EQ(combo.InsertItem(&item), 0);
  EXPECT_EQ(combo.GetCount(), 1);
  EXPECT_EQ(combo.GetItemData(0), 42u);
  ASSERT_NE(combo.GetComboBoxCtrl(), nullptr);
  EXPECT_EQ(combo.GetComboBoxCtrl()->GetCount(), 1);

  char buffer[32] = {};
  COMBOBOXEXITEM read{};
  read.mask = CBEIF_TEXT | CBEIF_IMAGE;
  read.iItem = 0;
  read.pszText = buffer;
  read.cchTextMax = sizeof(buffer);
  EXPECT_TRUE(combo.GetItem(&read));
  EXPECT_STREQ(buffer, "Standard");
  EXPECT_EQ(read.iImage, 2);

  CImageList images;
  ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24, 1, 1));
  EXPECT_EQ(combo.SetImageList(&images), nullptr);
  ASSERT_NE(combo.GetImageList(), nullptr);
  EXPECT_EQ(combo.GetImageList()->GetSafeHandle(), images.GetSafeHandle());

  combo.SetExtendedStyle(CBES_EX_CASESENSITIVE, CBES_EX_CASESENSITIVE);
  combo.SetExtendedStyle(CBES_EX_NOEDITIMAGE, CBES_EX_NOEDITIMAGE);
  EXPECT_EQ(combo.GetExtendedStyle(), static_cast<DWORD>(CBES_EX_CASESENSITIVE | CBES_EX_NOEDITIMAGE));

  CEdit* edit = combo.GetEditCtrl();
  ASSERT_NE(edit, nullptr);
  edit->SetFocus();
  TypeText("ab");
  EXPECT_EQ(host.editChanges, 2);
  EXPECT_TRUE(combo.HasEditChanged());
  EXPECT_EQ(combo.DeleteItem(0), 0);
  combo.SetImageList(nullptr);
  RunUntilIdle();
}

}  // namespace
