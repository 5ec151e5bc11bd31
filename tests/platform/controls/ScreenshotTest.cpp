// A dialog with every standard control rendered headless and saved as PNG beside the test
// programs; the pixels checked are those whose place and colour the controls decide.
#include <filesystem>

#include "ControlsTestSupport.h"

using namespace brambolt;
using namespace brambolt::test;
using namespace ctltest;

namespace {

// The colour of a point given in a control's client coordinates.
COLORREF ClientPixel(HWND control, int x, int y) {
  RECT window;
  GetWindowRect(control, &window);
  POINT origin{0, 0};
  ClientToScreen(control, &origin);
  return WindowPixel(control, origin.x - window.left + x, origin.y - window.top + y);
}

TEST(Screenshot, DialogWithEveryControlIsDrawnInTheClassicLook) {
  UiSession session;
  RecordingDialog::Reset();
  HWND dialog = CreateDialogParam(nullptr, MAKEINTRESOURCE(IDD_EVERY_CONTROL), nullptr, RecordingDialog::Proc, 0);
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, IDC_LIST), combo = GetDlgItem(dialog, IDC_COMBO);
  for (const char* s : {"Alpha", "Beta", "Gamma"}) {
    SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  }
  SendMessage(list, LB_SETCURSEL, 1, 0);
  SendMessage(combo, CB_SETCURSEL, 1, 0);
  CheckDlgButton(dialog, IDC_CHECK, BST_CHECKED);
  CheckRadioButton(dialog, IDC_RED, IDC_GREEN, IDC_GREEN);
  HWND scroll = GetDlgItem(dialog, IDC_SCROLL);
  SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 0, 0};
  SetScrollInfo(scroll, SB_CTL, &si, TRUE);
  SendDlgItemMessage(dialog, IDC_PICTURE, STM_SETICON, reinterpret_cast<WPARAM>(GetStandardIcon(IDI_ASTERISK)), 0);
  ShowWindow(dialog, SW_SHOW);
  RunUntilIdle();

  std::filesystem::path png =
      std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "controls_dialog.png";
  ASSERT_TRUE(SaveWindowPng(dialog, png.string()));
  EXPECT_GT(std::filesystem::file_size(png), 1000u);

  HWND ok = GetDlgItem(dialog, IDOK), cancel = GetDlgItem(dialog, IDCANCEL);
  EXPECT_EQ(WindowPixel(ok, 0, 0), GetSysColor(COLOR_WINDOWFRAME)) << "the default button's frame";
  EXPECT_NE(WindowPixel(cancel, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
  RECT r;
  GetClientRect(cancel, &r);
  EXPECT_EQ(ClientPixel(cancel, 4, r.bottom / 2), GetSysColor(COLOR_3DFACE));

  HWND edit = GetDlgItem(dialog, IDC_EDIT);
  GetClientRect(edit, &r);
  EXPECT_EQ(ClientPixel(edit, r.right - 3, r.bottom / 2), GetSysColor(COLOR_WINDOW));
  EXPECT_TRUE(GetWindowLong(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) << "a bordered edit is sunken";

  RECT item;
  SendMessage(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(ClientPixel(list, item.right - 3, (item.top + item.bottom) / 2), GetSysColor(COLOR_HIGHLIGHT));
  SendMessage(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(ClientPixel(list, item.right - 3, (item.top + item.bottom) / 2), GetSysColor(COLOR_WINDOW));

  HWND etched = GetDlgItem(dialog, IDC_ETCHED);
  EXPECT_EQ(ClientPixel(etched, 20, 0), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(ClientPixel(etched, 20, 1), GetSysColor(COLOR_3DHIGHLIGHT));
  HWND group = GetDlgItem(dialog, IDC_GROUP);
  GetClientRect(group, &r);
  EXPECT_EQ(ClientPixel(group, 0, r.bottom / 2), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(ClientPixel(group, 1, r.bottom / 2), GetSysColor(COLOR_3DHIGHLIGHT));

  GetClientRect(scroll, &r);
  int arrow = GetSystemMetrics(SM_CXHSCROLL);
  EXPECT_EQ(ClientPixel(scroll, r.right - arrow - 2, r.bottom / 2), GetSysColor(COLOR_SCROLLBAR));

  GetClientRect(combo, &r);
  int button = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(ClientPixel(combo, r.right - button - 6, r.bottom / 2), GetSysColor(COLOR_WINDOW));

  POINT free{0, 0};
  RECT spot{100, 62, 100, 62};
  MapDialogRect(dialog, &spot);
  free = POINT{spot.left, spot.top};
  EXPECT_EQ(ClientPixel(dialog, free.x, free.y), GetSysColor(COLOR_3DFACE)) << "the dialog background";
}

TEST(Screenshot, MessageBoxShowsItsIconTextAndButtons) {
  UiSession session;
  ModalAnswers answers;
  std::filesystem::path png =
      std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "controls_messagebox.png";
  COLORREF frame = CLR_INVALID;
  RECT icon{}, text{}, yes{};
  answers.When("#32770", "Workspace Manager", [&](HWND box) {
    EXPECT_TRUE(SaveWindowPng(box, png.string()));
    frame = WindowPixel(GetDlgItem(box, IDNO), 0, 0);
    GetWindowRect(GetDlgItem(box, IDC_MESSAGEBOX_ICON), &icon);
    GetWindowRect(GetDlgItem(box, IDC_MESSAGEBOX_TEXT), &text);
    GetWindowRect(GetDlgItem(box, IDYES), &yes);
    SendMessage(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(MessageBox(nullptr, "Save the workspace before closing?", "Workspace Manager",
                       MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2),
            IDNO);
  EXPECT_EQ(frame, GetSysColor(COLOR_WINDOWFRAME)) << "the default button is the second";
  EXPECT_LT(icon.right, text.left) << "the icon stands left of the text";
  EXPECT_GT(yes.top, text.bottom) << "the buttons stand below the text";
  EXPECT_GT(std::filesystem::file_size(png), 500u);
}

}  // namespace
