// The framework's standard control objects over real controls: each wrapper call shows in the
// control's state as its raw messages report it, and the parent's owner-draw messages reach
// the control object's virtuals.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DialogTestIds.h"
#include "ControlTestSupport.h"

using brambolt::test::Text;
using brambolt::test::UiSession;

namespace {

using ControlWrappers = brambolt::test::HostedControls;

// ---- buttons ----

TEST_F(ControlWrappers, ButtonCheckStateAndStyleGoThroughTheButtonMessages) {
  CButton check;
  ASSERT_TRUE(check.Create("Check", WS_VISIBLE | BS_AUTO3STATE, At(10), &host, 100));
  EXPECT_EQ(::GetDlgItem(host, 100), check.m_hWnd);
  EXPECT_EQ(Text(check), "Check");

  check.SetCheck(BST_INDETERMINATE);
  EXPECT_EQ(::SendMessage(check, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  ::SendMessage(check, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(check.GetCheck(), BST_CHECKED);

  check.SetState(TRUE);
  EXPECT_TRUE(check.GetState() & BST_PUSHED);
  EXPECT_EQ(check.GetState() & 3u, static_cast<UINT>(BST_CHECKED));
  check.SetState(FALSE);
  EXPECT_FALSE(::SendMessage(check, BM_GETSTATE, 0, 0) & BST_PUSHED);

  EXPECT_EQ(check.GetButtonStyle() & BS_TYPEMASK, static_cast<UINT>(BS_AUTO3STATE));
  check.SetButtonStyle(BS_AUTOCHECKBOX);
  EXPECT_EQ(static_cast<UINT>(::GetWindowLong(check, GWL_STYLE)) & BS_TYPEMASK, static_cast<UINT>(BS_AUTOCHECKBOX));
}

TEST_F(ControlWrappers, ButtonAndStaticImagesAreTheControlsImages) {
  CButton button;
  ASSERT_TRUE(button.Create("", WS_VISIBLE | BS_BITMAP, At(10), &host, 101));
  HBITMAP bitmap = ::CreateBitmap(8, 8, 1, 32, nullptr);
  EXPECT_EQ(button.SetBitmap(bitmap), nullptr);
  EXPECT_EQ(reinterpret_cast<HBITMAP>(::SendMessage(button, BM_GETIMAGE, IMAGE_BITMAP, 0)), bitmap);
  EXPECT_EQ(button.GetBitmap(), bitmap);

  CStatic picture;
  ASSERT_TRUE(picture.Create("", WS_VISIBLE | SS_ICON, At(40), &host, 102));
  HICON icon = ::LoadIcon(nullptr, IDI_APPLICATION);
  picture.SetIcon(icon);
  EXPECT_EQ(reinterpret_cast<HICON>(::SendMessage(picture, STM_GETICON, 0, 0)), icon);
  EXPECT_EQ(picture.GetIcon(), icon);
  ::DestroyWindow(button);
  ::DeleteObject(bitmap);
}

// ---- edits ----

TEST_F(ControlWrappers, EditSelectionReplaceAndUndo) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, At(10), &host, 110));
  edit.SetWindowText("hello world");
  edit.SetSel(6, 11);
  DWORD start = 0, end = 0;
  ::SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 6u);
  EXPECT_EQ(end, 11u);
  EXPECT_EQ(edit.GetSel(), MAKELONG(6, 11));

  edit.SetModify(FALSE);
  edit.ReplaceSel("there", TRUE);
  EXPECT_EQ(Text(edit), "hello there");
  EXPECT_TRUE(edit.GetModify());
  EXPECT_TRUE(edit.CanUndo());
  int selStart = -1, selEnd = -1;
  edit.GetSel(selStart, selEnd);
  EXPECT_EQ(selStart, 11);
  EXPECT_EQ(selEnd, 11);
  EXPECT_TRUE(edit.Undo());
  EXPECT_EQ(Text(edit), "hello world");
  edit.EmptyUndoBuffer();
  EXPECT_FALSE(::SendMessage(edit, EM_CANUNDO, 0, 0));

  edit.SetSel(0, -1);
  edit.Clear();
  EXPECT_EQ(Text(edit), "");
}

TEST_F(ControlWrappers, EditClipboardCommands) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, At(10), &host, 111));
  edit.SetWindowText("cut me");
  edit.SetSel(0, 4);
  edit.Cut();
  EXPECT_EQ(Text(edit), "me");
  edit.SetSel(2, 2);
  edit.Paste();
  EXPECT_EQ(Text(edit), "mecut ");
  edit.SetSel(0, 2);
  edit.Copy();
  edit.SetSel(6, 6);
  edit.Paste();
  EXPECT_EQ(Text(edit), "mecut me");
}

// Each setter of an edit shows in what the control's own message reports.
struct EditSetting {
  const char* name;
  std::function<void(CEdit&)> set;
  std::function<LRESULT(HWND)> observe;
  LRESULT expected;
  // The kind of edit set: multi-line, but single-line for what only a single-line edit takes.
  DWORD kind = ES_MULTILINE | ES_AUTOVSCROLL;
};

class EditSettings : public ControlWrappers, public ::testing::WithParamInterface<EditSetting> {};

TEST_P(EditSettings, ShowInTheControl) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER | GetParam().kind, At(10, 80), &host, 112));
  edit.SetWindowText("first\r\nsecond line\r\nthird");
  GetParam().set(edit);
  EXPECT_EQ(GetParam().observe(edit), GetParam().expected);
}

LRESULT Style(HWND hWnd) { return ::GetWindowLong(hWnd, GWL_STYLE); }

INSTANTIATE_TEST_SUITE_P(
    ControlWrappers, EditSettings,
    ::testing::Values(
        EditSetting{"LimitText", [](CEdit& e) { e.LimitText(5); },
                    [](HWND h) { return ::SendMessage(h, EM_GETLIMITTEXT, 0, 0); }, 5},
        EditSetting{"SetLimitText", [](CEdit& e) { e.SetLimitText(300); },
                    [](HWND h) { return ::SendMessage(h, EM_GETLIMITTEXT, 0, 0); }, 300},
        EditSetting{"SetReadOnly", [](CEdit& e) { e.SetReadOnly(); }, [](HWND h) { return Style(h) & ES_READONLY; },
                    ES_READONLY},
        EditSetting{"SetReadOnlyOff", [](CEdit& e) { e.SetReadOnly(TRUE), e.SetReadOnly(FALSE); },
                    [](HWND h) { return Style(h) & ES_READONLY; }, 0},
        EditSetting{"SetMargins", [](CEdit& e) { e.SetMargins(3, 7); },
                    [](HWND h) { return ::SendMessage(h, EM_GETMARGINS, 0, 0); }, MAKELONG(3, 7)},
        EditSetting{"SetModify", [](CEdit& e) { e.SetModify(TRUE); },
                    [](HWND h) { return ::SendMessage(h, EM_GETMODIFY, 0, 0); }, TRUE},
        EditSetting{"SetPasswordChar", [](CEdit& e) { e.SetPasswordChar('*'); },
                    [](HWND h) { return ::SendMessage(h, EM_GETPASSWORDCHAR, 0, 0); }, '*', ES_AUTOHSCROLL},
        EditSetting{"SetSelWhole", [](CEdit& e) { e.SetSel(0, -1); },
                    [](HWND h) { return ::SendMessage(h, EM_GETSEL, 0, 0); }, MAKELONG(0, 25)},
        EditSetting{"SetSelPacked", [](CEdit& e) { e.SetSel(MAKELONG(2, 4)); },
                    [](HWND h) { return ::SendMessage(h, EM_GETSEL, 0, 0); }, MAKELONG(2, 4)}),
    [](const ::testing::TestParamInfo<EditSetting>& info) { return std::string(info.param.name); });

TEST_F(ControlWrappers, EditLinesOfAMultiLineEdit) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL, At(10, 80), &host, 113));
  edit.SetWindowText("first\r\nsecond line\r\nthird");
  EXPECT_EQ(edit.GetLineCount(), 3);
  EXPECT_EQ(edit.LineIndex(1), 7);
  EXPECT_EQ(edit.LineIndex(2), 20);
  EXPECT_EQ(edit.LineIndex(3), -1);
  EXPECT_EQ(edit.LineFromChar(8), 1);
  EXPECT_EQ(edit.LineLength(edit.LineIndex(1)), 11);

  char line[32];
  int copied = edit.GetLine(1, line, sizeof(line));
  EXPECT_EQ(copied, 11);
  EXPECT_STREQ(line, "second line");
  // Less room than the line: as much as fits, unterminated as the message leaves it.
  char small[4] = {'x', 'x', 'x', 'x'};
  EXPECT_EQ(edit.GetLine(1, small, sizeof(small)), 4);
  EXPECT_EQ(std::string(small, 4), "seco");

  edit.SetSel(edit.LineIndex(2), edit.LineIndex(2));
  EXPECT_EQ(edit.LineFromChar(), 2);
  EXPECT_EQ(edit.LineIndex(), 20);
}

// ---- list boxes ----

TEST_F(ControlWrappers, ListBoxItemsThroughTheWrapper) {
  CListBox list;
  ASSERT_TRUE(list.Create(WS_VISIBLE | WS_BORDER | LBS_NOTIFY, At(10, 120), &host, 120));
  EXPECT_EQ(list.AddString("Pear"), 0);
  EXPECT_EQ(list.AddString("Apple"), 1);
  EXPECT_EQ(list.InsertString(0, "Plum"), 0);
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_EQ(::SendMessage(list, LB_GETCOUNT, 0, 0), 3);

  CString text;
  list.GetText(1, text);
  EXPECT_EQ(text, "Pear");
  EXPECT_EQ(list.GetTextLen(2), 5);
  char buffer[16];
  EXPECT_EQ(list.GetText(2, buffer), 5);
  EXPECT_STREQ(buffer, "Apple");
  list.GetText(7, text);
  EXPECT_EQ(text, "");

  EXPECT_EQ(list.FindString(-1, "pe"), 1);
  EXPECT_EQ(list.FindStringExact(-1, "pea"), LB_ERR);
  EXPECT_EQ(list.FindStringExact(-1, "APPLE"), 2);
  EXPECT_EQ(list.SelectString(-1, "pl"), 0);
  EXPECT_EQ(::SendMessage(list, LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(list.SetCurSel(2), 2);
  EXPECT_EQ(list.GetCurSel(), 2);

  EXPECT_NE(list.SetItemData(1, 0xBEEF), LB_ERR);
  EXPECT_EQ(::SendMessage(list, LB_GETITEMDATA, 1, 0), 0xBEEF);
  int value = 0;
  list.SetItemDataPtr(0, &value);
  EXPECT_EQ(list.GetItemDataPtr(0), &value);

  EXPECT_EQ(list.DeleteString(0), 2);
  EXPECT_EQ(list.DeleteString(9), LB_ERR);
  list.GetText(0, text);
  EXPECT_EQ(text, "Pear");
  EXPECT_EQ(list.GetItemData(0), 0xBEEFu);

  CRect item;
  EXPECT_NE(list.GetItemRect(1, &item), LB_ERR);
  BOOL outside = TRUE;
  EXPECT_EQ(list.ItemFromPoint(CPoint(5, item.top + 1), outside), 1u);
  EXPECT_FALSE(outside);

  list.ResetContent();
  EXPECT_EQ(::SendMessage(list, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(ControlWrappers, MultipleSelectionListBox) {
  CListBox list;
  ASSERT_TRUE(list.Create(WS_VISIBLE | WS_BORDER | LBS_MULTIPLESEL, At(10, 120), &host, 121));
  for (const char* item : {"a", "b", "c", "d", "e"}) list.AddString(item);
  list.SetSel(1);
  list.SetSel(3);
  EXPECT_TRUE(::SendMessage(list, LB_GETSEL, 3, 0));
  EXPECT_EQ(list.GetSelCount(), 2);
  int selected[5] = {};
  ASSERT_EQ(list.GetSelItems(5, selected), 2);
  EXPECT_EQ(selected[0], 1);
  EXPECT_EQ(selected[1], 3);
  list.SetSel(1, FALSE);
  EXPECT_FALSE(list.GetSel(1));
  list.SelItemRange(TRUE, 0, 2);
  EXPECT_EQ(::SendMessage(list, LB_GETSELCOUNT, 0, 0), 4);
  list.SetSel(-1, FALSE);
  EXPECT_EQ(list.GetSelCount(), 0);
}

// Keys of a LBS_WANTKEYBOARDINPUT list come to the list object first.
class KeyedList : public CListBox {
 public:
  std::vector<UINT> keys;
  int VKeyToItem(UINT nKey, UINT nIndex) override {
    keys.push_back(nKey);
    EXPECT_EQ(static_cast<int>(nIndex), GetCaretIndex());
    return nKey == VK_END ? 1 : -1;  // End goes to the second item; other keys as usual
  }
};

TEST_F(ControlWrappers, ListBoxKeysReachTheListObject) {
  KeyedList list;
  ASSERT_TRUE(list.Create(WS_VISIBLE | WS_BORDER | LBS_NOTIFY | LBS_WANTKEYBOARDINPUT | LBS_HASSTRINGS, At(10, 120),
                          &host, 122));
  for (const char* item : {"a", "b", "c", "d", "e"}) list.AddString(item);
  list.SetCurSel(3);
  list.SetFocus();
  brambolt::test::PressKey(VK_END);
  EXPECT_EQ(list.GetCurSel(), 1);
  brambolt::test::PressKey(VK_DOWN);
  EXPECT_EQ(list.GetCurSel(), 2) << "-1 leaves the key to the list";
  EXPECT_EQ(list.keys, (std::vector<UINT>{VK_END, VK_DOWN}));
}

// ---- combo boxes ----

TEST_F(ControlWrappers, ComboBoxItemsSelectionAndDropDown) {
  CComboBox combo;
  ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL, At(10, 150), &host, 130));
  for (const char* colour : {"Red", "Green", "Blue"}) combo.AddString(colour);
  EXPECT_EQ(combo.InsertString(1, "Grey"), 1);
  EXPECT_EQ(combo.GetCount(), 4);
  CString text;
  combo.GetLBText(2, text);
  EXPECT_EQ(text, "Green");
  EXPECT_EQ(combo.GetLBTextLen(3), 4);

  EXPECT_EQ(combo.SelectString(-1, "gr"), 1);
  EXPECT_EQ(::SendMessage(combo, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(Text(combo), "Grey");
  EXPECT_EQ(combo.FindStringExact(-1, "green"), 2);
  EXPECT_EQ(combo.FindString(1, "gr"), 2);
  combo.SetCurSel(3);
  EXPECT_EQ(combo.GetCurSel(), 3);

  combo.SetItemData(0, 42);
  EXPECT_EQ(::SendMessage(combo, CB_GETITEMDATA, 0, 0), 42);
  EXPECT_EQ(combo.GetItemData(0), 42u);

  EXPECT_TRUE(combo.LimitText(4));
  combo.SetEditSel(0, 2);
  EXPECT_EQ(LOWORD(combo.GetEditSel()), 0);
  EXPECT_EQ(HIWORD(combo.GetEditSel()), 2);

  EXPECT_FALSE(combo.GetDroppedState());
  combo.ShowDropDown();
  EXPECT_TRUE(::SendMessage(combo, CB_GETDROPPEDSTATE, 0, 0));
  combo.ShowDropDown(FALSE);
  EXPECT_FALSE(combo.GetDroppedState());

  EXPECT_EQ(combo.DeleteString(0), 3);
  combo.ResetContent();
  EXPECT_EQ(::SendMessage(combo, CB_GETCOUNT, 0, 0), 0);
}

// ---- owner drawing ----

// Records what the parent reflected to it; sorts items by their data, largest first.
template <class Base>
class RecordingOwnerDraw : public Base {
 public:
  std::vector<UINT> drawn, measured, deleted;
  int compared = 0;

  void DrawItem(LPDRAWITEMSTRUCT dis) override { drawn.push_back(static_cast<UINT>(dis->itemData)); }
  void MeasureItem(LPMEASUREITEMSTRUCT mis) override {
    measured.push_back(static_cast<UINT>(mis->itemData));
    mis->itemHeight = 10 + static_cast<UINT>(mis->itemData);
  }
  int CompareItem(LPCOMPAREITEMSTRUCT cis) override {
    ++compared;
    return static_cast<int>(cis->itemData2) - static_cast<int>(cis->itemData1);
  }
  void DeleteItem(LPDELETEITEMSTRUCT dis) override { deleted.push_back(static_cast<UINT>(dis->itemData)); }
};

TEST_F(ControlWrappers, OwnerDrawListBoxGetsItsParentsMessages) {
  RecordingOwnerDraw<CListBox> list;
  ASSERT_TRUE(list.Create(WS_VISIBLE | WS_BORDER | LBS_OWNERDRAWVARIABLE | LBS_SORT, At(10, 200), &host, 140));
  for (UINT data : {3u, 9u, 5u}) list.AddString(reinterpret_cast<LPCTSTR>(static_cast<ULONG_PTR>(data)));
  EXPECT_GT(list.compared, 0);
  EXPECT_EQ(list.GetItemData(0), 9u);
  EXPECT_EQ(list.GetItemData(1), 5u);
  EXPECT_EQ(list.GetItemData(2), 3u);
  EXPECT_EQ(list.measured, (std::vector<UINT>{3, 9, 5}));
  EXPECT_EQ(list.GetItemHeight(0), 19);

  ::UpdateWindow(host);
  brambolt::test::RunUntilIdle();
  EXPECT_EQ(list.drawn, (std::vector<UINT>{9, 5, 3}));

  list.DeleteString(1);
  EXPECT_EQ(list.deleted, (std::vector<UINT>{5}));
}

TEST_F(ControlWrappers, OwnerDrawComboBoxGetsItsParentsMessages) {
  RecordingOwnerDraw<CComboBox> combo;
  ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_SORT, At(10, 150), &host, 141));
  for (UINT data : {4u, 8u}) combo.AddString(reinterpret_cast<LPCTSTR>(static_cast<ULONG_PTR>(data)));
  EXPECT_GT(combo.compared, 0);
  EXPECT_EQ(combo.GetItemData(0), 8u);
  combo.SetCurSel(1);
  ::UpdateWindow(host);
  brambolt::test::RunUntilIdle();
  ASSERT_FALSE(combo.drawn.empty());
  EXPECT_EQ(combo.drawn.back(), 4u);
  combo.ResetContent();
  EXPECT_EQ(combo.deleted, (std::vector<UINT>{8, 4}));
}

// A derived control's own reflection entry goes first; the virtual is not called then.
class ReflectingButton : public CButton {
 public:
  int reflected = 0, virtualCalls = 0;
  void DrawItem(LPDRAWITEMSTRUCT) override { ++virtualCalls; }

 protected:
  afx_msg void OnDrawItemReflect(LPDRAWITEMSTRUCT) { ++reflected; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingButton, CButton)
  ON_WM_DRAWITEM_REFLECT(OnDrawItemReflect)
END_MESSAGE_MAP()

TEST_F(ControlWrappers, OwnerDrawButtonDrawsThroughReflectionOrItsVirtual) {
  ReflectingButton mapped;
  ASSERT_TRUE(mapped.Create("", WS_VISIBLE | BS_OWNERDRAW, At(10), &host, 150));
  class VirtualButton : public CButton {
   public:
    int calls = 0;
    void DrawItem(LPDRAWITEMSTRUCT dis) override {
      ++calls;
      EXPECT_EQ(dis->CtlType, static_cast<UINT>(ODT_BUTTON));
    }
  } plain;
  ASSERT_TRUE(plain.Create("", WS_VISIBLE | BS_OWNERDRAW, At(40), &host, 151));
  ::UpdateWindow(host);
  brambolt::test::RunUntilIdle();
  EXPECT_GT(mapped.reflected, 0);
  EXPECT_EQ(mapped.virtualCalls, 0);
  EXPECT_GT(plain.calls, 0);
}

TEST_F(ControlWrappers, OwnerDrawStaticDrawsThroughItsVirtual) {
  class Swatch : public CStatic {
   public:
    std::vector<UINT> types;
    void DrawItem(LPDRAWITEMSTRUCT dis) override { types.push_back(dis->CtlType); }
  } swatch;
  ASSERT_TRUE(swatch.Create("", WS_VISIBLE | SS_OWNERDRAW, At(10), &host, 152));
  ::UpdateWindow(host);
  brambolt::test::RunUntilIdle();
  ASSERT_FALSE(swatch.types.empty());
  EXPECT_EQ(swatch.types[0], static_cast<UINT>(ODT_STATIC));
}

// ---- scroll bars ----

TEST_F(ControlWrappers, ScrollBarRangePositionAndLimit) {
  CScrollBar bar;
  ASSERT_TRUE(bar.Create(WS_VISIBLE | SBS_HORZ, At(10, 16), &host, 160));
  bar.SetScrollRange(0, 100);
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_PAGE;
  info.nPage = 10;
  bar.SetScrollInfo(&info);
  EXPECT_EQ(bar.GetScrollLimit(), 91);
  bar.SetScrollPos(200);
  EXPECT_EQ(::GetScrollPos(bar, SB_CTL), 91);
  EXPECT_EQ(bar.GetScrollPos(), 91);
  int low = -1, high = -1;
  bar.GetScrollRange(&low, &high);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 100);
  SCROLLINFO read{};
  EXPECT_TRUE(bar.GetScrollInfo(&read, SIF_ALL));
  EXPECT_EQ(read.nPage, 10u);
  EXPECT_EQ(read.nPos, 91);
}

}  // namespace

// ---- dialog data exchange with control objects ----

namespace {

// The data dialog of the framework tests with its controls bound to control objects.
class BoundDialog : public CDialog {
 public:
  BoundDialog() : CDialog(IDD_DATA_DIALOG) {}

  CEdit m_nameEdit;
  CButton m_enabledCheck;
  CComboBox m_colourCombo, m_shapeCombo;
  CListBox m_fruitList;
  CString m_colour = "Blue", m_fruit = "Plum";
  int m_shape = 1;
  int m_fruitIndex = -1;

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    for (const char* colour : {"Red", "Green", "Blue"}) m_colourCombo.AddString(colour);
    for (const char* shape : {"Circle", "Square", "Triangle"}) m_shapeCombo.AddString(shape);
    for (const char* fruit : {"Apple", "Pear", "Plum"}) m_fruitList.AddString(fruit);
    UpdateData(FALSE);
    return TRUE;
  }
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, IDC_NAME, m_nameEdit);
    DDX_Control(pDX, IDC_ENABLED, m_enabledCheck);
    DDX_Control(pDX, IDC_COLOUR, m_colourCombo);
    DDX_Control(pDX, IDC_SHAPE, m_shapeCombo);
    DDX_Control(pDX, IDC_FRUIT, m_fruitList);
    DDX_CBString(pDX, IDC_COLOUR, m_colour);
    DDX_CBIndex(pDX, IDC_SHAPE, m_shape);
    DDX_LBIndex(pDX, IDC_FRUIT, m_fruitIndex);
    DDX_LBString(pDX, IDC_FRUIT, m_fruit);
  }
};

}  // namespace

TEST(ControlWrapperExchange, DialogControlsAreBoundAndExchangeThroughTheObjects) {
  UiSession session;
  BoundDialog dialog;
  brambolt::test::ModalAnswers answers;
  bool bound = false;
  int shownShape = -1, shownFruit = -1;
  CString shownColour;
  answers.When(nullptr, "Data Exchange", [&](HWND hWnd) {
    bound = CWnd::FromHandlePermanent(::GetDlgItem(hWnd, IDC_NAME)) == &dialog.m_nameEdit &&
            CWnd::FromHandlePermanent(::GetDlgItem(hWnd, IDC_FRUIT)) == &dialog.m_fruitList &&
            dialog.m_shapeCombo.m_hWnd == ::GetDlgItem(hWnd, IDC_SHAPE);
    shownShape = dialog.m_shapeCombo.GetCurSel();
    shownFruit = dialog.m_fruitList.GetCurSel();
    dialog.m_colourCombo.GetWindowText(shownColour);
    // The user's choices, made through the objects.
    dialog.m_nameEdit.SetWindowText("typed");
    dialog.m_enabledCheck.SetCheck(BST_CHECKED);
    dialog.m_shapeCombo.SetCurSel(2);
    dialog.m_fruitList.SelectString(-1, "ap");
    dialog.m_colourCombo.SetCurSel(dialog.m_colourCombo.FindStringExact(-1, "Red"));
    ::SendMessage(::GetDlgItem(hWnd, IDOK), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(bound);
  EXPECT_EQ(shownShape, 1);
  EXPECT_EQ(shownFruit, 2);
  EXPECT_EQ(shownColour, "Blue");
  EXPECT_EQ(dialog.m_shape, 2);
  EXPECT_EQ(dialog.m_fruit, "Apple");
  EXPECT_EQ(dialog.m_fruitIndex, 0);
  EXPECT_EQ(dialog.m_colour, "Red");
  EXPECT_EQ(dialog.m_nameEdit.m_hWnd, nullptr) << "the objects let go of the controls with the dialog";
  EXPECT_EQ(dialog.m_fruitList.m_hWnd, nullptr);
}
