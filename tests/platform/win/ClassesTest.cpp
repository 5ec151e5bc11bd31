#include "WinTestSupport.h"

using namespace wintest;

class Classes : public WinTest {};

TEST_F(Classes, RegisteringTheSameNameTwiceFails) {
  WNDCLASS wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "TwiceClass";
  ATOM atom = RegisterClass(&wc);
  ASSERT_NE(atom, 0);
  EXPECT_GE(atom, 0xC000);
  wc.lpszClassName = "TWICECLASS";
  EXPECT_EQ(RegisterClass(&wc), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
  EXPECT_TRUE(UnregisterClass("twiceclass", nullptr));
}

TEST_F(Classes, WindowsAreCreatedByNameInAnyCaseOrByAtom) {
  WNDCLASSEX wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "AtomClass";
  ATOM atom = RegisterClassEx(&wc);
  HWND a = CreateWindowEx(0, "atomclass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND b = CreateWindowEx(0, MAKEINTATOM(atom), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  char name[32];
  EXPECT_EQ(GetClassName(b, name, sizeof(name)), 9);
  EXPECT_STREQ(name, "AtomClass");
  EXPECT_EQ(GetClassLongPtr(a, GCW_ATOM), atom);
  EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
  DestroyWindow(a);
  DestroyWindow(b);
  EXPECT_TRUE(UnregisterClass("AtomClass", nullptr));
}

TEST_F(Classes, UnregisterFailsWhileWindowsOfTheClassExist) {
  WNDCLASS wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "BusyClass";
  RegisterClass(&wc);
  HWND w = CreateWindowEx(0, "BusyClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_FALSE(UnregisterClass("BusyClass", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
  DestroyWindow(w);
  EXPECT_TRUE(UnregisterClass("BusyClass", nullptr));
  EXPECT_FALSE(UnregisterClass("BusyClass", nullptr));
}

TEST_F(Classes, ClassAndWindowExtraBytesStartZeroAndKeepValues) {
  HWND w = MakeWindow();
  EXPECT_EQ(GetClassLongPtr(w, 0), 0u);
  SetClassLongPtr(w, 0, 0x1122334455667788LL);
  EXPECT_EQ(GetClassLongPtr(w, 0), 0x1122334455667788ULL);
  SetClassLongPtr(w, 0, 0);
  EXPECT_EQ(GetWindowLongPtr(w, 8), 0);
  EXPECT_EQ(SetWindowLongPtr(w, 8, -42), 0);
  EXPECT_EQ(GetWindowLongPtr(w, 8), -42);
  EXPECT_EQ(SetWindowLong(w, 4, 7), 0);
  EXPECT_EQ(GetWindowLong(w, 4), 7);
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtr(w, 12), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
}

TEST_F(Classes, ClassInfoDescribesTheRegistration) {
  WNDCLASS wc{};
  wc.style = CS_DBLCLKS | CS_HREDRAW;
  wc.lpfnWndProc = LoggingProc;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = "InfoClass";
  wc.lpszMenuName = MAKEINTRESOURCE(128);
  RegisterClass(&wc);
  WNDCLASS out{};
  ASSERT_TRUE(GetClassInfo(nullptr, "INFOCLASS", &out));
  EXPECT_EQ(out.style, static_cast<UINT>(CS_DBLCLKS | CS_HREDRAW));
  EXPECT_EQ(out.lpfnWndProc, &LoggingProc);
  EXPECT_EQ(out.cbWndExtra, DLGWINDOWEXTRA);
  EXPECT_EQ(out.hbrBackground, wc.hbrBackground);
  EXPECT_EQ(out.lpszMenuName, MAKEINTRESOURCE(128));
  EXPECT_FALSE(GetClassInfo(nullptr, "NoSuchInfoClass", &out));
  UnregisterClass("InfoClass", nullptr);
}

// A class registered without a small icon answers its icon for the small one, as the system
// derives the small icon from the large.
TEST_F(Classes, TheSmallIconFallsBackToTheIcon) {
  const HICON icon = brambolt::GetStandardIcon(IDI_APPLICATION), small = brambolt::GetStandardIcon(IDI_WARNING);
  for (HICON given : {static_cast<HICON>(nullptr), small}) {
    WNDCLASSEX wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = LoggingProc;
    wc.hIcon = icon;
    wc.hIconSm = given;
    wc.lpszClassName = "IconClass";
    ASSERT_NE(RegisterClassEx(&wc), 0);
    const HICON expected = given != nullptr ? given : icon;
    WNDCLASSEX out{};
    out.cbSize = sizeof out;
    ASSERT_TRUE(GetClassInfoEx(nullptr, "IconClass", &out));
    EXPECT_EQ(out.hIconSm, expected);
    HWND w = CreateWindowEx(0, "IconClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtr(w, GCLP_HICONSM)), expected);
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtr(w, GCLP_HICON)), icon);
    DestroyWindow(w);
    UnregisterClass("IconClass", nullptr);
  }
}

TEST_F(Classes, DialogSlotsLiveInTheWindowExtraBytes) {
  WNDCLASS wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.cbWndExtra = DLGWINDOWEXTRA;
  wc.lpszClassName = "DlgSlots";
  RegisterClass(&wc);
  HWND w = CreateWindowEx(0, "DlgSlots", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetWindowLongPtr(w, DWLP_MSGRESULT, 5);
  SetWindowLongPtr(w, DWLP_DLGPROC, 0x1234);
  SetWindowLongPtr(w, DWLP_USER, -1);
  EXPECT_EQ(GetWindowLongPtr(w, DWLP_MSGRESULT), 5);
  EXPECT_EQ(GetWindowLongPtr(w, DWLP_DLGPROC), 0x1234);
  EXPECT_EQ(GetWindowLongPtr(w, DWLP_USER), -1);
  DestroyWindow(w);
  UnregisterClass("DlgSlots", nullptr);
}

TEST(RegisteredMessages, OneNameGivesOneNumberWhateverTheCase) {
  UINT a = RegisterWindowMessage("WM_SECGETMENU");
  UINT b = RegisterWindowMessage("wm_secgetmenu");
  UINT c = RegisterWindowMessage("WM_BARNOTIFY");
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  EXPECT_GE(a, 0xC000u);
  EXPECT_LE(a, 0xFFFFu);
  EXPECT_EQ(RegisterClipboardFormat("WM_SECGETMENU"), a);
  char name[64];
  EXPECT_EQ(GetClipboardFormatName(c, name, sizeof(name)), 12);
  EXPECT_STREQ(name, "WM_BARNOTIFY");
  EXPECT_EQ(RegisterWindowMessage(""), 0u);
}
