// The main frame's status bar, splash and tip of the day: pane 0 kept and given back around the
// progress bar, texts ignored meanwhile, panes drawn in their colours, alignment and bitmaps (by
// pixel), the tips stepped through dialog 170 and its warning, and the splash's owner text.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "app/CMySplashWnd.h"
#include "app/COurOwnTipDlg.h"
#include "app/MySECCustomStatusBar.h"
#include "resources/StatusBarRes.h"
#include "testing/testing.h"

using namespace brambolt::test;

namespace {

using Pane = MySECCustomStatusBar::PaneDescription;

struct StatusFixture {
  UiSession session;
  CFrameWnd* frame = new CFrameWnd;
  MySECCustomStatusBar bar;
  CStatic paneWindow;
  StatusFixture() {
    frame->Create(nullptr, "Status", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 300));
    bar.Create(frame, 0x50008200, AFX_IDW_STATUS_BAR);
    const UINT ids[] = {0, 0, 0, 0};
    bar.SetIndicators(ids, 4);
    bar.FitPanesToContents();
    paneWindow.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &bar, 77);
    bar.SetPaneWindow(3, &paneWindow, 0);
    frame->RecalcLayout();
    RunUntilIdle();
  }
  ~StatusFixture() {
    if (::IsWindow(frame->GetSafeHwnd())) frame->DestroyWindow();
  }
  Pane Info(int index) {
    Pane pane;
    pane.nIndex = index;
    EXPECT_TRUE(bar.GetPaneInfoEx(pane));
    return pane;
  }
  void Set(int index, DWORD mask, const char* text, COLORREF textColour = 0, COLORREF back = 0, UINT align = 0,
           int width = 0) {
    Pane pane;
    pane.nIndex = index;
    pane.dwMask = mask;
    pane.strText = text;
    pane.clrText = textColour;
    pane.clrBack = back;
    pane.nTextAlign = align;
    pane.cxWidth = width;
    EXPECT_TRUE(bar.SetPaneInfoEx(pane));
  }
  // A pane's rectangle in window coordinates of the bar, for WindowPixel.
  CRect PaneInWindow(int index) {
    CRect pane, window;
    bar.GetItemRect(index, &pane);
    bar.ClientToScreen(&pane);
    bar.GetWindowRect(&window);
    pane.OffsetRect(-window.left, -window.top);
    return pane;
  }
};

// A long fill on the window's own thread advances the bar once per item: the bar is painted at
// once at its first move and then at most every kProgressPaintMs; a move between is painted when
// the loop runs again.
TEST(AppStatusBar, ALongFillPaintsTheBarAtOnceOnlyEveryFewHundredthsOfASecond) {
  StatusFixture f;
  ASSERT_TRUE(f.bar.InitProgress("Loading output files...", 0, 1000, TRUE, 0x4100));
  RunUntilIdle();
  const HWND progress = f.bar.GetProgressCtrl()->GetSafeHwnd();
  CRect client;
  ::GetClientRect(progress, &client);
  const int y = client.Height() / 2;
  const int half = client.Width() * 45 / 100;
  const int end = client.Width() * 95 / 100;
  const COLORREF empty = WindowPixel(progress, end, y);
  ASSERT_EQ(empty, WindowPixel(progress, half, y));
  f.bar.SetProgressPos(500);
  const COLORREF filled = WindowPixel(progress, half, y);
  EXPECT_NE(filled, empty) << "the first move is painted at once";
  f.bar.SetProgressPos(1000);
  EXPECT_EQ(WindowPixel(progress, end, y), empty) << "a move right after waits for the loop";
  RunUntilIdle();
  EXPECT_EQ(WindowPixel(progress, end, y), filled);
  AdvanceClock(MySECCustomStatusBar::kProgressPaintMs);
  f.bar.SetProgressPos(100);
  EXPECT_EQ(WindowPixel(progress, half, y), empty) << "painted at once again once the time has passed";
  f.bar.EndProgress();
}

TEST(AppStatusBar, ProgressKeepsPaneZeroAndGivesItBack) {
  StatusFixture f;
  f.Set(0, MySECCustomStatusBar::kMaskText | MySECCustomStatusBar::kMaskWidth | MySECCustomStatusBar::kTextColor |
               MySECCustomStatusBar::kBackColor,
        "Ready", RGB(128, 0, 0), RGB(255, 255, 0), 0, 120);
  f.bar.SetProgressPos(3);
  EXPECT_EQ(nullptr, f.bar.GetProgressCtrl()) << "no progress without InitProgress";
  const Pane before = f.Info(0);

  ASSERT_TRUE(f.bar.InitProgress("Reading project file...", 0, 10, FALSE, 0x4100));
  RunUntilIdle();
  SECProgressCtrl* progress = f.bar.GetProgressCtrl();
  ASSERT_NE(nullptr, progress);
  EXPECT_TRUE(progress->IsWindowVisible());
  EXPECT_FALSE(f.paneWindow.IsWindowVisible());
  EXPECT_EQ("Reading project file... ", std::string(f.bar.GetPaneText(0)));
  // The bar lies in pane 0, right of the label.
  CRect pane0, bar;
  f.bar.GetItemRect(0, &pane0);
  progress->GetWindowRect(&bar);
  f.bar.ScreenToClient(&bar);
  EXPECT_GT(bar.left, pane0.left + f.Info(0).cxWidth);
  EXPECT_EQ(pane0.right, bar.right);
  EXPECT_EQ(pane0.top, bar.top);
  EXPECT_EQ(pane0.bottom, bar.bottom);

  // Menu prompts wait; the position moves.
  f.frame->SetMessageText("Opens a project");
  EXPECT_EQ("Reading project file... ", std::string(f.bar.GetPaneText(0)));
  f.bar.SetProgressPos(4);
  EXPECT_EQ(4u, progress->GetPos());

  // A second start keeps the first saved pane.
  ASSERT_TRUE(f.bar.InitProgress("Loading class information...", 0, 5, TRUE));
  EXPECT_EQ(progress, f.bar.GetProgressCtrl());
  EXPECT_EQ(0u, progress->GetPos());

  f.bar.EndProgress();
  RunUntilIdle();
  EXPECT_EQ(nullptr, f.bar.GetProgressCtrl());
  EXPECT_TRUE(f.paneWindow.IsWindowVisible());
  const Pane after = f.Info(0);
  EXPECT_EQ(before.strText, after.strText);
  EXPECT_EQ(before.cxWidth, after.cxWidth);
  EXPECT_EQ(before.nStyle, after.nStyle);
  EXPECT_EQ(before.clrText, after.clrText);
  EXPECT_EQ(before.clrBack, after.clrBack);
  EXPECT_EQ(before.dwMask, after.dwMask);
  f.frame->SetMessageText("Opens a project");
  EXPECT_EQ("Opens a project", std::string(f.bar.GetPaneText(0)));
}

TEST(AppStatusBar, PanesDrawTheirTextAlignedAndColouredAndBitmapsByPixel) {
  StatusFixture f;
  constexpr COLORREF kInk = RGB(0, 0, 128);
  constexpr COLORREF kPaper = RGB(255, 255, 255);
  const DWORD mask = MySECCustomStatusBar::kMaskText | MySECCustomStatusBar::kMaskWidth |
                     MySECCustomStatusBar::kTextColor | MySECCustomStatusBar::kBackColor | MySECCustomStatusBar::kAlign;
  f.Set(0, mask, "WWW", kInk, kPaper, TA_LEFT, 150);
  f.Set(1, mask, "WWW", kInk, kPaper, TA_RIGHT, 150);
  f.Set(2, mask, "WWW", kInk, kPaper, TA_CENTER, 150);
  CBitmap bitmap;
  {
    CClientDC screen(nullptr);
    bitmap.CreateCompatibleBitmap(&screen, 20, 30);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 20, 30, RGB(0, 128, 0));
    dc.SelectObject(old);
  }
  Pane picture;
  picture.nIndex = 3;
  picture.dwMask = MySECCustomStatusBar::kBitmap;
  picture.pBitmap = &bitmap;
  ASSERT_TRUE(f.bar.SetPaneInfoEx(picture, TRUE));
  EXPECT_EQ(20, f.Info(3).cxWidth) << "a bitmap pane takes the bitmap's width";
  // The bar grows to hold the bitmap and its borders, and the frame gives it that height.
  EXPECT_EQ(30 + 2 * 2, f.bar.m_nMinHeight);
  CRect barRect;
  f.bar.GetWindowRect(&barRect);
  EXPECT_GE(barRect.Height(), 34);
  f.bar.SetPaneWindow(3, nullptr);
  f.paneWindow.DestroyWindow();
  f.bar.RedrawWindow();
  RunUntilIdle();

  // The columns of ink in each text pane, against its rectangle.
  struct Extent {
    int first = INT_MAX, last = -1;
  };
  auto inkOf = [&](int index) {
    const CRect rect = f.PaneInWindow(index);
    Extent e;
    for (int x = rect.left; x < rect.right; ++x)
      for (int y = rect.top; y < rect.bottom; ++y)
        if (WindowPixel(f.bar.m_hWnd, x, y) == kInk) {
          e.first = std::min(e.first, x - rect.left);
          e.last = std::max(e.last, x - rect.left);
        }
    return e;
  };
  for (int index = 0; index < 3; ++index) {
    const CRect rect = f.PaneInWindow(index);
    EXPECT_EQ(kPaper, WindowPixel(f.bar.m_hWnd, rect.left + 2, rect.top + 2)) << index;
  }
  const Extent left = inkOf(0), right = inkOf(1), centre = inkOf(2);
  const int width = f.PaneInWindow(1).Width();
  ASSERT_GE(left.last, 0);
  EXPECT_LE(left.first, 3);
  EXPECT_GE(right.last, width - 4);
  const int centreWidth = f.PaneInWindow(2).Width();
  EXPECT_LE(std::abs((centre.first + centre.last) - (centreWidth - 1)), 4);
  EXPECT_EQ(left.last - left.first, right.last - right.first);

  const CRect bitmapPane = f.PaneInWindow(3);
  EXPECT_EQ(RGB(0, 128, 0), WindowPixel(f.bar.m_hWnd, bitmapPane.left + 1, bitmapPane.top + 1));

  // While progress shows, the other panes are not drawn.
  f.bar.InitProgress("Busy", 0, 3);
  f.bar.RedrawWindow();
  RunUntilIdle();
  EXPECT_NE(kPaper, WindowPixel(f.bar.m_hWnd, f.PaneInWindow(1).left + 2, f.PaneInWindow(1).top + 2));
  f.bar.EndProgress();
}

TEST(AppStatusBar, PaneCursorsReachTheCustomBarAndIndexesOutsideHaveNothing) {
  StatusFixture f;
  EXPECT_EQ(&f.paneWindow, f.bar.GetPaneWindow(3));
  Pane pane;
  pane.nIndex = 2;
  pane.dwMask = MySECCustomStatusBar::kCursor;
  pane.hCursor = ::LoadCursor(nullptr, IDC_HAND);
  ASSERT_TRUE(f.bar.SetPaneInfoEx(pane));
  EXPECT_EQ(pane.hCursor, f.bar.GetPaneRecord(2).hCursor);
  EXPECT_EQ(SECCustomStatusBar::kShowCursor, f.bar.GetPaneRecord(2).dwFlags);
  EXPECT_EQ(MySECCustomStatusBar::kCursor, f.bar.GetPaneDrawInfo(2)->dwFlags);
  for (int index : {-1, 4}) {
    EXPECT_EQ(nullptr, f.bar.GetPaneWindow(index));
    EXPECT_EQ(0u, f.bar.GetPaneWindowFlags(index));
    EXPECT_EQ(nullptr, f.bar.GetPaneDrawInfo(index));
    Pane pane;
    pane.nIndex = index;
    EXPECT_FALSE(f.bar.GetPaneInfoEx(pane));
    EXPECT_FALSE(f.bar.SetPaneInfoEx(pane));
  }
}

std::string WriteTips(const PrivateStores& stores, const std::string& content) {
  const std::string path = stores.TempDir() + "/todtest.tip";
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

TEST(AppTipDialog, StepsThroughTipsBothWaysAndCountsEmptyLines) {
  UiSession session;
  PrivateStores stores;
  const std::string path = WriteTips(stores, "Press F5 to write the documentation.\n\nUse Ctrl+N for a new project.\n");
  COurOwnTipDlg dialog(path.c_str(), 1, TRUE);
  ModalAnswers answers;
  std::vector<std::string> seen;
  answers.When(nullptr, "Tips Of Day", [&](HWND hwnd) {
    seen.push_back(dialog.GetTipText());
    apptest::DlgCommand(hwnd, SECTipOfDay::kPreviousTip);  // from the first to the last
    seen.push_back(dialog.GetTipText());
    apptest::DlgCommand(hwnd, SECTipOfDay::kNextTip);  // from the last to the first
    seen.push_back(dialog.GetTipText());
    apptest::DlgCommand(hwnd, SECTipOfDay::kNextTip);
    seen.push_back(dialog.GetTipText());
    ::CheckDlgButton(hwnd, SECTipOfDay::kShowAtStartup, BST_UNCHECKED);
    apptest::DlgCommand(hwnd, SECTipOfDay::kShowAtStartup);
    apptest::DlgCommand(hwnd, SECTipOfDay::kOK);
  });
  EXPECT_EQ(IDOK, dialog.DoModal());
  EXPECT_EQ(3, dialog.GetNumTips());
  const std::vector<std::string> expected = {"Press F5 to write the documentation.", "Use Ctrl+N for a new project.",
                                             "Press F5 to write the documentation.", ""};
  EXPECT_EQ(expected, seen);
  EXPECT_EQ(2, dialog.m_nCurrentTip);
  EXPECT_FALSE(dialog.m_bShowAtStartup);
}

// A tips file that is missing or holds no tip: the panel warns, and Next and Previous keep it.
TEST(AppTipDialog, AMissingOrEmptyFileShowsTheWarningAndStaysThere) {
  UiSession session;
  PrivateStores stores;
  const std::string empty = stores.TempDir() + "/empty.tip";
  std::ofstream(empty).close();
  for (const std::string& path : {stores.TempDir() + "/none.tip", empty}) {
    COurOwnTipDlg dialog(path.c_str(), 4, TRUE);
    ModalAnswers answers;
    std::vector<std::string> shown;
    answers.When(nullptr, "Tips Of Day", [&](HWND hwnd) {
      shown.push_back(dialog.GetTipText());
      for (int nButton : {SECTipOfDay::kNextTip, SECTipOfDay::kPreviousTip}) {
        const HWND hButton = ::GetDlgItem(hwnd, nButton);
        RECT rect{};
        ::GetClientRect(hButton, &rect);
        brambolt::test::Click(hButton, POINT{rect.right / 2, rect.bottom / 2});
        shown.push_back(dialog.GetTipText());
      }
      EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(hwnd, SECTipOfDay::kShowAtStartup));
      apptest::DlgCommand(hwnd, SECTipOfDay::kOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(shown, std::vector<std::string>(3, "WARNING: Could not find: \"" + path + "\"...")) << path;
    EXPECT_EQ(4, dialog.m_nCurrentTip) << path;
  }
}

TEST(AppTipDialog, TheShippedTipsLieBesideTheProgramOnePerLine) {
  char module[MAX_PATH] = {};
  ::GetModuleFileName(nullptr, module, MAX_PATH);
  std::string path = module;
  path = path.substr(0, path.find_last_of("/\\") + 1) + "todtest.tip";
  EXPECT_GE(SECTipOfDay::CountTips(path.c_str()), 30);
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    EXPECT_FALSE(line.empty());
    EXPECT_LT(line.size(), 512u) << line;
  }
}

void SetRegisteredOwner(const char* owner) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0,
                                            nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
  ::RegSetValueEx(key, "RegisteredOwner", 0, REG_SZ, reinterpret_cast<const BYTE*>(owner),
                  static_cast<DWORD>(std::strlen(owner) + 1));
  ::RegCloseKey(key);
}

// The owner's text as the splash draws it: the pixels of the band below the middle.
std::vector<COLORREF> SplashOwnerPixels() {
  apptest::Host owner;
  auto* splash = new CMySplashWnd(IDB_SPLASH, 3000);
  EXPECT_TRUE(splash->Create(&owner));
  HWND hwnd = splash->m_hWnd;
  RunUntilIdle();
  const CSize size = splash->GetBitmapSize();
  std::vector<COLORREF> pixels;
  for (int y = size.cy / 2 + 25; y < size.cy / 2 + 55; ++y)
    for (int x = size.cx / 2 - 179; x < size.cx / 2 + 99; ++x) pixels.push_back(WindowPixel(hwnd, x, y));
  ::DestroyWindow(hwnd);
  return pixels;
}

TEST(AppSplash, OwnerIsTheUserAndTheChineseFallbackReadsOnAnySystem) {
  UiSession session;
  PrivateStores stores;
  // The registry answers the user's name, as it answers every program.
  CString strOwner = CMySplashWnd::ReadRegisteredOwner();
  EXPECT_FALSE(strOwner.IsEmpty());
  EXPECT_NE("\xCA\xB9\xD3\xC3\xD5\xDF\xD0\xD5\xC3\xFB", std::string(strOwner));

  // Without an owner the GB2312 fallback is drawn as Chinese on a Western system too: the same
  // pixels as on a Chinese one.
  for (const char* path : {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"}) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyEx(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &key));
    ::RegDeleteValue(key, "RegisteredOwner");
    ::RegCloseKey(key);
  }
  EXPECT_EQ("\xCA\xB9\xD3\xC3\xD5\xDF\xD0\xD5\xC3\xFB", std::string(CMySplashWnd::ReadRegisteredOwner()));
  std::vector<COLORREF> western = SplashOwnerPixels(), chinese;
  {
    brambolt::ScopedCodePage page(936);
    chinese = SplashOwnerPixels();
  }
  EXPECT_GT(std::count(western.begin(), western.end(), RGB(0, 0, 0)), 20);
  EXPECT_TRUE(western == chinese);
}

TEST(AppSplash, OwnerTextIsDrawnOverThePicture) {
  UiSession session;
  PrivateStores stores;

  SetRegisteredOwner("Ada Lovelace");
  apptest::Host owner;
  auto* splash = new CMySplashWnd(IDB_SPLASH, 3000);
  EXPECT_EQ("Ada Lovelace", std::string(splash->m_strOwner));
  ASSERT_TRUE(splash->Create(&owner));
  HWND hwnd = splash->m_hWnd;
  RunUntilIdle();
  // The name is written in black on the picture's white panel, around 40 pixels left of and below
  // the middle.
  const CSize size = splash->GetBitmapSize();
  ASSERT_GT(size.cx, 100);
  int black = 0, blackLeft = INT_MAX, blackRight = -1;
  for (int y = size.cy / 2 + 25; y < size.cy / 2 + 55; ++y)
    for (int x = size.cx / 2 - 179; x < size.cx / 2 + 99; ++x)
      if (WindowPixel(hwnd, x, y) == RGB(0, 0, 0)) {
        ++black;
        blackLeft = std::min(blackLeft, x);
        blackRight = std::max(blackRight, x);
      }
  EXPECT_GT(black, 20);
  EXPECT_LE(std::abs((blackLeft + blackRight) / 2 - (size.cx / 2 - 40)), 3);
  AdvanceClock(3100);
  EXPECT_FALSE(::IsWindow(hwnd));
}

}  // namespace
