// The hyperlink controls (text and URL after subclassing, sizing to the text, hover capture,
// opening through the desktop's opener or the ".htm" browser, error reports) and the separator.
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/CHyperLink.h"
#include "app/CSeparator.h"
#include "os/Process.h"
#include "os/Registry.h"
#include "os/Shell.h"

namespace {

using apptest::BoxRecorder;
using apptest::Host;

// A static child of the host at (10, 10, 210, 40), or lower by `dy`, subclassed by `control`.
HWND MakeStatic(Host& host, CStatic& control, const char* text, DWORD style, int id = 100, int dy = 0) {
  HWND hwnd = ::CreateWindowEx(0, "Static", text, WS_CHILD | WS_VISIBLE | style, 10, 10 + dy, 200, 30, host.m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  control.SubclassWindow(hwnd);
  return hwnd;
}

CRect ChildRect(HWND hwnd) {
  CRect rect;
  ::GetWindowRect(hwnd, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// What the tests of the ".htm" browser share: private stores and registry, an application whose
// boxes are recorded, no desktop opener, and the programs started instead of being run.
struct HtmBrowserSession {
  brambolt::test::PrivateStores stores;
  bool registryReset = (brambolt::ResetRegistryForTesting(), true);
  brambolt::test::UiSession session;
  CWinApp app{"Link Test"};
  BoxRecorder boxes;
  bool noOpener = (brambolt::SetShellAssociation("*", ""), true);
  std::vector<brambolt::SpawnRequest> started;
  brambolt::ScopedSpawnHook hook{[this](const brambolt::SpawnRequest& request) {
    started.push_back(request);
    return DWORD{0};
  }};
  ~HtmBrowserSession() { brambolt::ResetShellAssociations(); }
};

TEST(HyperLink, SubclassingFillsAnEmptyTextFromTheUrlAndAnEmptyUrlFromTheText) {
  brambolt::test::UiSession session;
  Host host;
  CCJHyperLink fromUrl;
  fromUrl.SetURL("http://example.org/");
  MakeStatic(host, fromUrl, "", 0);
  CString text;
  fromUrl.GetWindowText(text);
  EXPECT_STREQ(text, "http://example.org/");
  CHyperLink fromText;
  MakeStatic(host, fromText, "mailto:a@b.c", 0, 101, 50);
  EXPECT_STREQ(fromText.GetURL(), "mailto:a@b.c");
  EXPECT_TRUE(fromText.GetStyle() & SS_NOTIFY);
  // The plain link keeps its size; the configurable one fits its text.
  EXPECT_EQ(ChildRect(fromText.m_hWnd).Width(), 200);
  EXPECT_LT(ChildRect(fromUrl.m_hWnd).Width(), 200);
}

TEST(HyperLink, AutoSizeKeepsTheEdgeOrCentreItsAlignmentNames) {
  brambolt::test::UiSession session;
  Host host;
  struct Case {
    DWORD style;
    int left, right, middle;  // the kept coordinate: -1 when not checked
    bool middleKept;
  } cases[] = {
      {SS_LEFT, 10, -1, -1, false},
      {SS_RIGHT, -1, 210, -1, false},
      {SS_CENTER, -1, -1, 110, false},
      {SS_CENTER | SS_CENTERIMAGE, -1, -1, 110, true},
  };
  for (const Case& c : cases) {
    CCJHyperLink link;
    HWND hwnd = MakeStatic(host, link, "Visit us", c.style);
    const CRect rect = ChildRect(hwnd);
    EXPECT_LT(rect.Width(), 200);
    EXPECT_LT(rect.Height(), 30);
    if (c.left >= 0) {
      EXPECT_EQ(rect.left, c.left);
    }
    if (c.right >= 0) {
      EXPECT_EQ(rect.right, c.right);
    }
    if (c.middle >= 0) {
      EXPECT_NEAR((rect.left + rect.right) / 2, c.middle, 1);
    }
    EXPECT_NEAR(c.middleKept ? (rect.top + rect.bottom) / 2 : rect.top, c.middleKept ? 25 : 10, 1);
    // Switching auto-size off leaves the size alone when the URL changes.
    link.SetAutoSize(FALSE);
    link.SetWindowText("A much longer text than before");
    link.SetURL("http://example.org/");
    EXPECT_EQ(ChildRect(hwnd), rect);
    link.DestroyWindow();
  }
}

TEST(HyperLink, HoverCapturesTheMouseUntilItLeaves) {
  brambolt::test::UiSession session;
  Host host;
  CCJHyperLink link;
  HWND hwnd = MakeStatic(host, link, "Hover me", 0);
  brambolt::test::MoveMouse(hwnd, {3, 3});
  EXPECT_EQ(::GetCapture(), hwnd);
  brambolt::test::MoveMouse(host.m_hWnd, {300, 200});
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_NE(link.GetLinkCursor(), nullptr);
}

TEST(HyperLink, AClickOpensTheUrlWithTheDesktopOpenerAndMarksTheLinkVisited) {
  brambolt::test::UiSession session;
  BoxRecorder boxes;
  brambolt::SetShellAssociation("*", "xdg-open");
  std::vector<brambolt::SpawnRequest> started;
  brambolt::ScopedSpawnHook hook([&](const brambolt::SpawnRequest& request) {
    started.push_back(request);
    return DWORD{0};
  });
  Host host;
  CCJHyperLink link;
  link.SetURL("http://example.org/faq.htm");
  HWND hwnd = MakeStatic(host, link, "FAQ", 0);
  EXPECT_FALSE(link.GetVisited());
  brambolt::test::Click(hwnd, {2, 2});
  ASSERT_EQ(started.size(), 1u);
  EXPECT_NE(started[0].program.find("xdg-open"), std::string::npos);
  EXPECT_EQ(started[0].argv.back(), "http://example.org/faq.htm");
  EXPECT_TRUE(link.GetVisited());
  EXPECT_TRUE(boxes.Boxes().empty());
  brambolt::ResetShellAssociations();
}

TEST(HyperLink, WithoutAnOpenerTheHtmBrowserGetsTheUrlAndOtherwiseTheErrorIsShown) {
  HtmBrowserSession links;
  std::vector<brambolt::SpawnRequest>& started = links.started;
  BoxRecorder& boxes = links.boxes;
  Host host;
  CCJHyperLink link;
  CHyperLink plain;
  HWND hLink = MakeStatic(host, link, "http://example.org/", 0);
  HWND hPlain = MakeStatic(host, plain, "http://example.org/", 0, 101, 50);
  brambolt::test::Click(hLink, {2, 2});
  // Leaving the first link ends its hover capture before the second is clicked.
  brambolt::test::MoveMouse(host.m_hWnd, {300, 200});
  brambolt::test::Click(hPlain, {2, 2});
  EXPECT_TRUE(started.empty());
  EXPECT_FALSE(link.GetVisited());
  ASSERT_EQ(boxes.Boxes().size(), 2u);
  EXPECT_EQ(boxes.Boxes()[0].text,
            "Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension.");
  EXPECT_EQ(boxes.Boxes()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
  EXPECT_EQ(boxes.Boxes()[1].text, "\xCF\xB5\xCD\xB3\xB2\xBB\xC4\xDC\xB4\xF2\xBF\xAA\xC8\xE7\xCF\xC2\xC1\xAC\xBD\xD3:\n\n"
                                   "There is no application associated\nwith the given filename extension.");
  // The browser registered for ".htm" files opens the URL in place of its "%1".
  const char command[] = "\"/opt/browser/run\" -new \"%1\"";
  ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, ".htm", REG_SZ, "htmlfile", 8), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValue(HKEY_CLASSES_ROOT, "htmlfile\\shell\\open\\command", REG_SZ, command, sizeof command - 1),
            ERROR_SUCCESS);
  brambolt::test::Click(hLink, {2, 2});
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].argv, (std::vector<std::string>{"/opt/browser/run", "-new", "http://example.org/"}));
  EXPECT_TRUE(link.GetVisited());
  EXPECT_EQ(boxes.Boxes().size(), 2u);
}

// Registry strings stored without their terminator, of exactly MAX_PATH bytes: the ".htm" class
// and its open command are read whole, and GetRegKey ends what it returns within its MAX_PATH
// bytes.
TEST(HyperLink, UnterminatedRegistryStringsOfMaxPathBytesAreReadWithinTheirBuffers) {
  HtmBrowserSession links;
  std::vector<brambolt::SpawnRequest>& started = links.started;
  BoxRecorder& boxes = links.boxes;
  // Each value is given with a byte other than zero after it, so it is stored as given.
  auto setDefault = [](const char* path, const std::string& text) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CLASSES_ROOT, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::string memory = text + '#';
    ASSERT_EQ(RegSetValueEx(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(memory.data()),
                            static_cast<DWORD>(text.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
  };
  const std::string program = "/opt/browser/run";
  const std::string option = "--profile=" + std::string(MAX_PATH - program.size() - 11, 'p');
  const std::string command = program + " " + option;
  ASSERT_EQ(command.size(), static_cast<std::size_t>(MAX_PATH));
  Host host;
  CCJHyperLink link;
  HWND hLink = MakeStatic(host, link, "http://example.org/", 0);
  // A class name that long names no key: the link reports that nothing opens the URL.
  setDefault(".htm", std::string(MAX_PATH, 'h'));
  brambolt::test::Click(hLink, {2, 2});
  brambolt::test::MoveMouse(host.m_hWnd, {300, 200});
  EXPECT_TRUE(started.empty());
  EXPECT_EQ(boxes.Boxes().size(), 1u);
  // The command is read whole and the URL added after it.
  setDefault(".htm", "htmlfile");
  setDefault("htmlfile\\shell\\open\\command", command);
  brambolt::test::Click(hLink, {20, 4});  // away from the first click, which would make a double click
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].argv, (std::vector<std::string>{program, option, "http://example.org/"}));
  EXPECT_EQ(boxes.Boxes().size(), 1u);

  char buffer[MAX_PATH + 8];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(link.GetRegKey(HKEY_CLASSES_ROOT, "htmlfile\\shell\\open\\command", buffer), ERROR_MORE_DATA);
  EXPECT_EQ(std::string(buffer), command.substr(0, MAX_PATH - 1));
  EXPECT_EQ(std::string(buffer + MAX_PATH, 8), std::string(8, '#'));
  setDefault("htmlfile\\shell\\open\\command", "");
  EXPECT_EQ(link.GetRegKey(HKEY_CLASSES_ROOT, "htmlfile\\shell\\open\\command", buffer), ERROR_SUCCESS);
  EXPECT_STREQ(buffer, "");
}

TEST(HyperLink, BrowserCommandsAreCutAtTheirPlaceholderAndErrorsExplained) {
  const std::pair<const char*, const char*> commands[] = {
      {"\"C:\\b.exe\" \"%1\"", "\"C:\\b.exe\" http://x"},
      {"b.exe -url %1 -new", "b.exe -url http://x"},
      {"b.exe", "b.exe http://x"},
  };
  for (const auto& [command, line] : commands)
    EXPECT_STREQ(CHyperLinkBase::BuildBrowserCommand(command, "http://x"), line);
  EXPECT_STREQ(CHyperLinkBase::ErrorText(1234), "Unknown Error (1234) occurred.");
}

TEST(Separator, DrawsAnEtchedLineWithItsCaptionOrAVerticalLine) {
  brambolt::test::UiSession session;
  Host host;
  CSeparator horizontal, vertical;
  HWND hHorizontal = MakeStatic(host, horizontal, "Problem", SS_CENTER);
  HWND hVertical = ::CreateWindowEx(0, "Static", "", WS_CHILD | WS_VISIBLE, 250, 10, 10, 100, host.m_hWnd, nullptr,
                                    nullptr, nullptr);
  vertical.SubclassWindow(hVertical);
  ::InvalidateRect(host.m_hWnd, nullptr, TRUE);
  brambolt::test::RunUntilIdle();
  const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
  const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  // The line runs at mid-height at both ends; the centred caption covers its middle.
  for (int x : {1, 198}) {
    EXPECT_EQ(brambolt::test::WindowPixel(hHorizontal, x, 15), shadow) << x;
    EXPECT_EQ(brambolt::test::WindowPixel(hHorizontal, x, 16), highlight) << x;
  }
  EXPECT_NE(brambolt::test::WindowPixel(hHorizontal, 100, 15), shadow);
  EXPECT_EQ(brambolt::test::WindowPixel(hVertical, 5, 50), shadow);
  EXPECT_EQ(brambolt::test::WindowPixel(hVertical, 6, 50), highlight);
}

}  // namespace
