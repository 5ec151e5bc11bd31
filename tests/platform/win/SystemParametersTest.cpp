// SystemParametersInfo: settings a program changes are read back, used by the window manager,
// refused when malformed, and announced to the top-level windows when asked.
#include <atomic>
#include <cstring>
#include <thread>

#include "WinTestSupport.h"

using namespace wintest;
using namespace brambolt::test;

namespace {

class SystemParameters : public WinTest {};

struct ScalarCase {
  UINT set, get;
  UINT value;     // what is set
  UINT readBack;  // what the GET then gives
  bool inPointer;
};

UINT Read(UINT get) {
  UINT v = 0xDEADBEEF;
  EXPECT_TRUE(SystemParametersInfo(get, 0, &v, 0)) << get;
  return v;
}

BOOL Set(const ScalarCase& c, UINT winIni = 0) {
  return c.inPointer ? SystemParametersInfo(c.set, 0, reinterpret_cast<PVOID>(static_cast<UINT_PTR>(c.value)), winIni)
                     : SystemParametersInfo(c.set, c.value, nullptr, winIni);
}

}  // namespace

TEST_F(SystemParameters, NumbersAndSwitchesAreReadBackAsSetUntilReset) {
  const ScalarCase cases[] = {
      {SPI_SETBEEP, SPI_GETBEEP, FALSE, FALSE, false},
      {SPI_SETBORDER, SPI_GETBORDER, 3, 3, false},
      {SPI_SETKEYBOARDSPEED, SPI_GETKEYBOARDSPEED, 12, 12, false},
      {SPI_SETKEYBOARDDELAY, SPI_GETKEYBOARDDELAY, 3, 3, false},
      {SPI_SETSCREENSAVETIMEOUT, SPI_GETSCREENSAVETIMEOUT, 600, 600, false},
      {SPI_SETDRAGFULLWINDOWS, SPI_GETDRAGFULLWINDOWS, FALSE, FALSE, false},
      {SPI_SETSHOWSOUNDS, SPI_GETSHOWSOUNDS, 7, TRUE, false},  // a switch reads back as TRUE
      {SPI_SETSNAPTODEFBUTTON, SPI_GETSNAPTODEFBUTTON, TRUE, TRUE, false},
      {SPI_SETMOUSEHOVERWIDTH, SPI_GETMOUSEHOVERWIDTH, 8, 8, false},
      {SPI_SETMOUSEHOVERTIME, SPI_GETMOUSEHOVERTIME, 250, 250, false},
      {SPI_SETWHEELSCROLLLINES, SPI_GETWHEELSCROLLLINES, WHEEL_PAGESCROLL, WHEEL_PAGESCROLL, false},
      {SPI_SETMENUSHOWDELAY, SPI_GETMENUSHOWDELAY, 0, 0, false},
      // The later switches and sizes travel in the pointer argument itself.
      {SPI_SETFLATMENU, SPI_GETFLATMENU, TRUE, TRUE, true},
      {SPI_SETKEYBOARDCUES, SPI_GETKEYBOARDCUES, FALSE, FALSE, true},
      {SPI_SETGRADIENTCAPTIONS, SPI_GETGRADIENTCAPTIONS, 2, TRUE, true},
      {SPI_SETCARETWIDTH, SPI_GETCARETWIDTH, 2, 2, true},
      {SPI_SETFOCUSBORDERHEIGHT, SPI_GETFOCUSBORDERHEIGHT, 3, 3, true},
  };
  std::vector<UINT> classic;
  for (const ScalarCase& c : cases) classic.push_back(Read(c.get));
  for (const ScalarCase& c : cases) {
    ASSERT_TRUE(Set(c)) << c.set;
    EXPECT_EQ(Read(c.get), c.readBack) << c.set;
  }
  brambolt::ResetSystemParameters();
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(Read(cases[i].get), classic[i]) << cases[i].get;
}

TEST_F(SystemParameters, IconSpacingSetsWithoutABufferAndShowsInTheIconMetrics) {
  ASSERT_TRUE(SystemParametersInfo(SPI_ICONHORIZONTALSPACING, 90, nullptr, 0));
  int spacing = 0;
  ASSERT_TRUE(SystemParametersInfo(SPI_ICONHORIZONTALSPACING, 0, &spacing, 0));
  EXPECT_EQ(spacing, 90);
  ICONMETRICS im{};
  im.cbSize = sizeof(im);
  ASSERT_TRUE(SystemParametersInfo(SPI_GETICONMETRICS, sizeof(im), &im, 0));
  EXPECT_EQ(im.iHorzSpacing, 90);
  im.iVertSpacing = 60;
  im.iTitleWrap = FALSE;
  std::strcpy(im.lfFont.lfFaceName, "Tahoma");
  ASSERT_TRUE(SystemParametersInfo(SPI_SETICONMETRICS, sizeof(im), &im, 0));
  ASSERT_TRUE(SystemParametersInfo(SPI_ICONVERTICALSPACING, 0, &spacing, 0));
  EXPECT_EQ(spacing, 60);
  EXPECT_EQ(Read(SPI_GETICONTITLEWRAP), static_cast<UINT>(FALSE));
  LOGFONT title{};
  ASSERT_TRUE(SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof(title), &title, 0));
  EXPECT_STREQ(title.lfFaceName, "Tahoma");
}

TEST_F(SystemParameters, NonClientFontsSetAreThoseTheWindowManagerDrawsWith) {
  NONCLIENTMETRICS ncm{};
  ncm.cbSize = sizeof(ncm);
  ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0));
  std::strcpy(ncm.lfCaptionFont.lfFaceName, "Caption Face");
  ncm.lfMenuFont.lfHeight = -15;
  ncm.iScrollWidth = 20;
  ASSERT_TRUE(SystemParametersInfo(SPI_SETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0));
  NONCLIENTMETRICS back{};
  back.cbSize = sizeof(back);
  ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(back), &back, 0));
  EXPECT_EQ(back.iScrollWidth, 20);
  EXPECT_STREQ(back.lfCaptionFont.lfFaceName, "Caption Face");
  EXPECT_STREQ(brambolt::NonClientFont(brambolt::kCaptionFont).lfFaceName, "Caption Face");
  EXPECT_EQ(brambolt::NonClientFont(brambolt::kMenuFont).lfHeight, -15);
  EXPECT_EQ(brambolt::NonClientFont(brambolt::kMessageFont).lfHeight, ncm.lfMessageFont.lfHeight);
}

TEST_F(SystemParameters, MalformedStructuresAreRefusedAndChangeNothing) {
  NONCLIENTMETRICS ncm{};
  ncm.cbSize = 344;  // the later layout
  std::strcpy(ncm.lfCaptionFont.lfFaceName, "Refused");
  EXPECT_FALSE(SystemParametersInfo(SPI_SETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0));
  EXPECT_STRNE(brambolt::NonClientFont(brambolt::kCaptionFont).lfFaceName, "Refused");
  ICONMETRICS im{};
  im.cbSize = sizeof(im) + 4;
  EXPECT_FALSE(SystemParametersInfo(SPI_SETICONMETRICS, sizeof(im), &im, 0));
  ANIMATIONINFO anim{sizeof(anim) - 1, 1};
  EXPECT_FALSE(SystemParametersInfo(SPI_SETANIMATION, sizeof(anim), &anim, 0));
  LOGFONT lf{};
  EXPECT_FALSE(SystemParametersInfo(SPI_SETICONTITLELOGFONT, sizeof(lf) - 1, &lf, 0));
  RECT empty{100, 100, 100, 200};
  EXPECT_FALSE(SystemParametersInfo(SPI_SETWORKAREA, 0, &empty, 0));
  EXPECT_FALSE(SystemParametersInfo(SPI_SETWORKAREA, 0, nullptr, 0));
  RECT work;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(work.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_FALSE(SystemParametersInfo(0x7FFF, 0, nullptr, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(SystemParameters, StructuredSettingsRoundTrip) {
  ANIMATIONINFO anim{sizeof(anim), 1};
  ASSERT_TRUE(SystemParametersInfo(SPI_SETANIMATION, sizeof(anim), &anim, 0));
  anim.iMinAnimate = 0;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETANIMATION, sizeof(anim), &anim, 0));
  EXPECT_EQ(anim.iMinAnimate, 1);
  HIGHCONTRAST hc{sizeof(hc), HCF_HIGHCONTRASTON, nullptr};
  ASSERT_TRUE(SystemParametersInfo(SPI_SETHIGHCONTRAST, sizeof(hc), &hc, 0));
  hc.dwFlags = 0;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0));
  EXPECT_EQ(hc.dwFlags, static_cast<DWORD>(HCF_HIGHCONTRASTON));
  int mouse[3] = {2, 4, 0};
  ASSERT_TRUE(SystemParametersInfo(SPI_SETMOUSE, 0, mouse, 0));
  int back[3] = {};
  ASSERT_TRUE(SystemParametersInfo(SPI_GETMOUSE, 0, back, 0));
  EXPECT_EQ(std::vector<int>(back, back + 3), (std::vector<int>{2, 4, 0}));
  ASSERT_TRUE(SystemParametersInfo(SPI_SETDOUBLECLICKTIME, 900, nullptr, 0));
  EXPECT_EQ(GetDoubleClickTime(), 900u);
}

TEST_F(SystemParameters, AWorkAreaSetIsWhereWindowsMaximise) {
  RECT area{0, 0, 640, 450};
  ASSERT_TRUE(SystemParametersInfo(SPI_SETWORKAREA, 0, &area, 0));
  RECT work{};
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_TRUE(EqualRect(&work, &area));
  HWND w = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW);
  ShowWindow(w, SW_SHOWMAXIMIZED);
  RECT client;
  GetClientRect(w, &client);
  POINT corner{client.right, client.bottom};
  ClientToScreen(w, &corner);
  EXPECT_EQ(corner.x, 640);
  EXPECT_EQ(corner.y, 450);
  // A work area beyond the screen is cut to it.
  RECT large{0, 0, 100000, 100000};
  ASSERT_TRUE(SystemParametersInfo(SPI_SETWORKAREA, 0, &large, 0));
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(work.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(work.bottom, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(SystemParameters, DefaultHoverTimeIsTheOneSet) {
  ASSERT_TRUE(SystemParametersInfo(SPI_SETMOUSEHOVERTIME, 1500, nullptr, 0));
  HWND a = MakeWindow(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  MoveMouse(a, POINT{10, 10});
  TRACKMOUSEEVENT t{sizeof(t), TME_HOVER, a, HOVER_DEFAULT};
  TrackMouseEvent(&t);
  AdvanceClock(1400);
  EXPECT_TRUE(Of(a, WM_MOUSEHOVER).empty());
  AdvanceClock(200);
  EXPECT_EQ(Of(a, WM_MOUSEHOVER).size(), 1u);
}

TEST_F(SystemParameters, SendChangeTellsEveryTopLevelWindowFromAnyThread) {
  HWND top = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW);
  HWND popup = MakeWindow(nullptr, WS_POPUP);
  HWND child = MakeWindow(top, WS_CHILD);
  const ScalarCase lines{SPI_SETWHEELSCROLLLINES, SPI_GETWHEELSCROLLLINES, 5, 5, false};
  ASSERT_TRUE(Set(lines));  // no flag: no message
  EXPECT_TRUE(MessageLog::Instance().Sequence({WM_SETTINGCHANGE}).empty());
  // From a worker: the windows' own thread answers while it pumps.
  std::atomic<bool> done{false};
  std::thread worker([&] {
    Set(lines, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    done = true;
  });
  while (!done) {
    MSG msg;
    if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  }
  worker.join();
  for (HWND w : {top, popup}) {
    auto changes = Of(w, WM_SETTINGCHANGE);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].wParam, static_cast<WPARAM>(SPI_SETWHEELSCROLLLINES));
  }
  EXPECT_TRUE(Of(child, WM_SETTINGCHANGE).empty());
  // A refused change is not announced.
  RECT empty{};
  EXPECT_FALSE(SystemParametersInfo(SPI_SETWORKAREA, 0, &empty, SPIF_SENDCHANGE));
  EXPECT_EQ(Of(top, WM_SETTINGCHANGE).size(), 1u);
}
