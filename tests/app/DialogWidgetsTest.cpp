// The small dialog widgets: component rows and their masked picture, the file drop list with its
// modes, and the resizable dialog's anchors, grip, limits and saved placement.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "AppTestSupport.h"
#include "app/CFileDropListCtrl.h"
#include "app/CResizableDialog.h"
#include "app/GWExtBmpComboBox.h"
#include "backend/DropFiles.h"
#include "controls/controls.h"
#include "os/Registry.h"

namespace {

using apptest::Host;

TEST(ComponentRows, TheNameIsPaddedBeforeTheTailAfterTheLastAtSign) {
  const struct {
    const char* text;
    int width;
    std::string row;
  } cases[] = {
      {"abc@core.lst", 40, "abc" + std::string(37, ' ') + "core.lst"},
      {"None", 40, "None"},
      {"@x", 40, "@x"},
      {"a@b@c", 24, "a@b" + std::string(21, ' ') + "c"},
      {"abc@", 5, "abc  "},
      {"0123456789@t", 8, "0123456789t"},
  };
  for (const auto& c : cases) EXPECT_EQ(std::string(GWExtBmpComboBox::FormatRow(c.text, c.width)), c.row) << c.text;
}

TEST(ComponentRows, ThePictureIsDrawnThroughItsMaskAndRowsAreTextHighPlusSix) {
  brambolt::test::UiSession session;
  CBitmap picture, mask;
  ASSERT_TRUE(picture.LoadBitmap(146));
  ASSERT_TRUE(GWExtBmpComboBox::MakeMask(picture, mask));
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap canvas;
  {
    CClientDC screen(nullptr);
    canvas.CreateCompatibleBitmap(&screen, 30, 20);
  }
  CBitmap* pOld = dc.SelectObject(&canvas);
  dc.FillSolidRect(0, 0, 30, 20, RGB(200, 10, 10));
  GWExtBmpComboBox::DrawMasked(&dc, 2, 3, 20, 12, picture, mask);
  // The picture's background colour lets the red through; its box shows as drawn.
  EXPECT_EQ(dc.GetPixel(2, 3), RGB(200, 10, 10));
  EXPECT_EQ(dc.GetPixel(2 + 7, 3 + 3), RGB(0, 0, 128));
  EXPECT_EQ(dc.GetPixel(2 + 9, 3 + 5), RGB(255, 255, 255));
  EXPECT_EQ(dc.GetPixel(2 + 21, 3 + 5), RGB(200, 10, 10)) << "outside the 20 pixels drawn";
  dc.SelectObject(pOld);

  Host host;
  GWExtBmpComboBox list;
  HWND hList = ::CreateWindowEx(0, "ListBox", "", WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS,
                                10, 10, 300, 100, host.m_hWnd, reinterpret_cast<HMENU>(5), nullptr, nullptr);
  list.SubclassWindow(hList);
  list.AddString("Core@core.lst");
  TEXTMETRIC metrics{};
  {
    CClientDC listDc(&list);
    listDc.GetTextMetrics(&metrics);
  }
  EXPECT_EQ(list.GetItemHeight(0), metrics.tmHeight + 6);
}

// A folder of files to drop: a.cpp, b.h, the folder "sub" and link.cpp, a link to a.cpp.
struct DropFolder {
  std::string root;
  DropFolder() {
    char pattern[] = "/tmp/appdropXXXXXX";
    root = mkdtemp(pattern);
    std::ofstream(root + "/a.cpp") << "int a;";
    std::ofstream(root + "/b.h") << "int b;";
    std::filesystem::create_directory(root + "/sub");
    std::filesystem::create_symlink(root + "/a.cpp", root + "/link.cpp");
  }
  ~DropFolder() { std::filesystem::remove_all(root); }
  std::string operator()(const char* name) const { return root + "/" + name; }
};

std::vector<std::pair<std::string, UINT>> g_called;
void RecordDrop(CListCtrl*, const CString& path, UINT kind) { g_called.emplace_back(std::string(path), kind); }

TEST(FileDropList, DropsAreFilteredByModeLinksExpandedAndDuplicatesListedOnce) {
  brambolt::test::UiSession session;
  InitCommonControls();
  DropFolder files;
  Host host;
  CFileDropListCtrl list;
  HWND hList = ::CreateWindowEx(0, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | LVS_LIST, 10, 10, 300, 200, host.m_hWnd,
                                reinterpret_cast<HMENU>(6), nullptr, nullptr);
  list.SubclassWindow(hList);
  const POINT at = brambolt::test::ScreenPoint(hList, {20, 20});
  auto drop = [&](std::vector<std::string> names) {
    ASSERT_TRUE(brambolt::DropFiles(at, names));
    brambolt::test::RunUntilIdle();
  };
  auto listed = [&] {
    std::vector<std::string> items;
    for (int i = 0; i < list.GetItemCount(); ++i) items.emplace_back(LPCTSTR(list.GetItemText(i, 0)));
    return items;
  };
  const std::vector<std::string> everything = {files("a.cpp"), files("b.h"), files("sub"), files("link.cpp"),
                                               files("missing.cpp")};
  // Files and folders at first; the link is its target, already listed.
  drop(everything);
  EXPECT_EQ(listed(), (std::vector<std::string>{files("sub"), files("b.h"), files("a.cpp")}));

  CFileDropListCtrl::DROPLISTMODE mode;
  mode.iMask = CFileDropListCtrl::DL_ACCEPT_FILES | CFileDropListCtrl::DL_FILTER_EXTENSION |
               CFileDropListCtrl::DL_ALLOW_DUPLICATES;
  mode.csFileExt = ".CPP";
  ASSERT_TRUE(list.SetDropMode(mode));
  list.DeleteAllItems();
  drop(everything);
  EXPECT_EQ(listed(), (std::vector<std::string>{files("a.cpp"), files("a.cpp")}));

  mode.iMask = CFileDropListCtrl::DL_ACCEPT_FOLDERS | CFileDropListCtrl::DL_ACCEPT_FILES |
               CFileDropListCtrl::DL_USE_CALLBACK;
  mode.pfnCallback = nullptr;
  EXPECT_FALSE(list.SetDropMode(mode));
  EXPECT_EQ(list.GetDropMode().csFileExt, ".CPP");
  mode.pfnCallback = &RecordDrop;
  ASSERT_TRUE(list.SetDropMode(mode));
  g_called.clear();
  list.DeleteAllItems();
  drop({files("sub"), files("b.h")});
  EXPECT_EQ(list.GetItemCount(), 0);
  EXPECT_EQ(g_called, (std::vector<std::pair<std::string, UINT>>{{files("sub"), CFileDropListCtrl::DL_FOLDER_TYPE},
                                                                  {files("b.h"), CFileDropListCtrl::DL_FILE_TYPE}}));
  EXPECT_STREQ(CFileDropListCtrl::ExpandShortcut(""), "");
  EXPECT_STREQ(CFileDropListCtrl::ExpandShortcut(files("b.h").c_str()), "");
}

TEST(ResizableDialog, AnchorsKeepEachCornerAtItsDistanceFromItsAnchorPoint) {
  const CSize before(300, 200), after(400, 260);
  const struct {
    int tl, br;
    CRect rect, moved;
  } cases[] = {
      {CResizableDialog::TOP_LEFT, CResizableDialog::KEEP_SIZE, {10, 10, 60, 30}, {10, 10, 60, 30}},
      {CResizableDialog::BOTTOM_RIGHT, CResizableDialog::BOTTOM_RIGHT, {230, 170, 290, 190}, {330, 230, 390, 250}},
      {CResizableDialog::TOP_LEFT, CResizableDialog::BOTTOM_RIGHT, {10, 40, 290, 160}, {10, 40, 390, 220}},
      {CResizableDialog::MIDDLE_CENTER, CResizableDialog::KEEP_SIZE, {140, 90, 160, 110}, {190, 120, 210, 140}},
      {CResizableDialog::TOP_CENTER, CResizableDialog::BOTTOM_CENTER, {100, 10, 200, 190}, {150, 10, 250, 250}},
      {CResizableDialog::MIDDLE_LEFT, CResizableDialog::MIDDLE_RIGHT, {10, 95, 290, 105}, {10, 125, 390, 135}},
  };
  for (const auto& c : cases) {
    const CResizableDialog::Layout layout = CResizableDialog::MakeLayout(c.tl, c.br, c.rect, before);
    EXPECT_EQ(CResizableDialog::ArrangeLayout(layout, after, c.rect.Size()), c.moved) << c.tl << "/" << c.br;
    EXPECT_EQ(CResizableDialog::ArrangeLayout(layout, before, c.rect.Size()), c.rect);
  }
}

// A resizable dialog from a template in memory, with a list that fills it and an OK button at
// its bottom-right corner.
class SizingDialog : public CResizableDialog {
 public:
  SizingDialog() : CResizableDialog(static_cast<UINT>(0)) {}
  BOOL Open(CWnd* pParent) {
    m_template.fill(0);
    auto* pTemplate = reinterpret_cast<DLGTEMPLATE*>(m_template.data());
    pTemplate->style = WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_VISIBLE;
    pTemplate->cx = 200;
    pTemplate->cy = 120;
    return CreateIndirect(pTemplate, pParent);
  }
  BOOL OnInitDialog() override {
    CResizableDialog::OnInitDialog();
    CRect client;
    GetClientRect(&client);
    m_hList = ::CreateWindowEx(0, "ListBox", "", WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT, 10, 10, client.right - 20,
                               client.bottom - 50, m_hWnd, nullptr, nullptr, nullptr);
    m_hOk = ::CreateWindowEx(0, "Button", "OK", WS_CHILD | WS_VISIBLE, client.right - 80, client.bottom - 30, 70, 20,
                             m_hWnd, reinterpret_cast<HMENU>(IDOK), nullptr, nullptr);
    AddAnchor(m_hList, TOP_LEFT, BOTTOM_RIGHT);
    AddAnchor(m_hOk, BOTTOM_RIGHT, BOTTOM_RIGHT);
    EnableSaveRestore("Sizing", "Placement");
    return TRUE;
  }
  HWND m_hList = nullptr, m_hOk = nullptr;

 private:
  alignas(4) std::array<BYTE, 64> m_template{};
};

CRect InParent(HWND hwnd) {
  CRect rect;
  ::GetWindowRect(hwnd, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

TEST(ResizableDialog, ResizingMovesAnchoredControlsAndTheGripSizesTheWindow) {
  brambolt::test::PrivateStores stores;
  brambolt::ResetRegistryForTesting();
  brambolt::test::UiSession session;
  CWinApp app("Sizing Test");
  app.SetRegistryKey("Sizing Test");
  Host host;
  SizingDialog dlg;
  ASSERT_TRUE(dlg.Open(&host));
  EXPECT_FALSE(dlg.AddAnchor(dlg.m_hOk, 10));
  EXPECT_FALSE(dlg.AddAnchor(static_cast<HWND>(nullptr), 1));
  CRect client, window;
  dlg.GetClientRect(&client);
  dlg.GetWindowRect(&window);
  const CRect ok = InParent(dlg.m_hOk);
  const CRect list = InParent(dlg.m_hList);
  dlg.SetWindowPos(nullptr, 0, 0, window.Width() + 60, window.Height() + 40, SWP_NOMOVE | SWP_NOZORDER);
  brambolt::test::RunUntilIdle();
  CRect grown;
  dlg.GetClientRect(&grown);
  EXPECT_EQ(grown.Size(), CSize(client.Width() + 60, client.Height() + 40));
  EXPECT_EQ(InParent(dlg.m_hOk), CRect(ok.left + 60, ok.top + 40, ok.right + 60, ok.bottom + 40));
  EXPECT_EQ(InParent(dlg.m_hList), CRect(list.left, list.top, list.right + 60, list.bottom + 40));
  // The grip answers as the bottom-right sizing border; the window cannot shrink below its start.
  const CPoint grip = brambolt::test::ScreenPoint(dlg.m_hWnd, {grown.right - 2, grown.bottom - 2});
  EXPECT_EQ(dlg.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)), HTBOTTOMRIGHT);
  MINMAXINFO limits{};
  dlg.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(CSize(limits.ptMinTrackSize.x, limits.ptMinTrackSize.y), window.Size());
  dlg.DestroyWindow();
  CRect last;
  CString placement = app.GetProfileString("Sizing", "Placement");
  int show = 0, flags = -1;
  ASSERT_EQ(std::sscanf(placement, "%d,%d,%d,%d,%d,%d", &last.left, &last.top, &last.right, &last.bottom, &show,
                        &flags),
            6)
      << LPCTSTR(placement);
  EXPECT_EQ(last.Size(), CSize(window.Width() + 60, window.Height() + 40));
  EXPECT_EQ(show, SW_SHOWNORMAL);
}

}  // namespace
