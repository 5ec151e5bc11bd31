// The picture window: placement and zoom arithmetic, save names, loading BMP, JPEG and broken
// files, real BMP and ICO files written whatever was loaded (whole or not at all, asked before a
// file is replaced), the view's title, status text, keys and zoom limits, and printing to PDF at
// the picture's size on screen, shrunk to fit the page.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <set>

#include "AppTestSupport.h"
#include "StartedApp.h"
#include "afx/CPrintInfo.h"
#include "app/CMainFrame.h"
#include "app/CClassHirView.h"
#include "controls/FileDialog.h"
#include "gdi/Printer.h"
#include "os/FileFaults.h"
#include "resources/AppResource.h"
#include "testing/FakeCups.h"

namespace {

namespace fs = std::filesystem;
using apptest::BoxRecorder;
using Placement = CClassHirView::Placement;

// A folder of pictures: a 640 x 480 8-bit BMP of 308,278 bytes, a red 40 x 30 JPEG and GIF and a file
// that is no picture.
struct PictureFolder {
  fs::path root;
  PictureFolder() {
    char pattern[] = "/tmp/apppicXXXXXX";
    root = mkdtemp(pattern);
    std::vector<unsigned char> bmp;
    auto put = [&](uint32_t value, int bytes) {
      for (int i = 0; i < bytes; ++i) bmp.push_back(static_cast<unsigned char>(value >> (8 * i)));
    };
    const uint32_t pixels = 640 * 480, offset = 14 + 40 + 1024;
    bmp.push_back('B');
    bmp.push_back('M');
    put(offset + pixels, 4), put(0, 4), put(offset, 4);
    put(40, 4), put(640, 4), put(480, 4), put(1, 2), put(8, 2), put(0, 4), put(pixels, 4), put(3780, 4),
        put(3780, 4), put(256, 4), put(0, 4);
    for (uint32_t i = 0; i < 256; ++i) put(i * 0x010101u, 4);
    for (uint32_t i = 0; i < pixels; ++i) bmp.push_back(static_cast<unsigned char>(i % 251));
    std::ofstream(root / "chart.bmp", std::ios::binary).write(reinterpret_cast<char*>(bmp.data()), bmp.size());
    std::ofstream(root / "broken.bmp") << "this is no picture";
    for (const char* name : {"red.jpg", "red.gif"})
      EXPECT_EQ(std::system(("convert -size 40x30 xc:red " + (root / name).string()).c_str()), 0);
  }
  ~PictureFolder() { fs::remove_all(root); }
  std::string operator()(const char* name) const { return (root / name).string(); }
};

TEST(PicturePlacement, SmallPicturesAreCentredLargeOnesStartAtTheTopLeftAndZoomScales) {
  const struct {
    int w, h, right, bottom, zoom;
    Placement expected;
  } cases[] = {
      {200, 100, 400, 300, 0, {100, 100, 198, 98, TRUE}},
      {200, 100, 400, 300, 1, {0, 50, 398, 198, TRUE}},
      {200, 100, 400, 300, -1, {150, 125, 100, 50, FALSE}},
      {200, 100, 400, 300, -50, {198, 149, 3, 1, FALSE}},
      {1000, 800, 400, 300, 0, {0, 0, 998, 798, TRUE}},
      {1000, 800, 400, 300, -1, {0, 0, 500, 400, FALSE}},
      {1000, 800, 400, 300, -3, {75, 50, 250, 200, FALSE}},
      {0, 0, 400, 300, 0, {200, 150, -2, -2, TRUE}},
  };
  for (const auto& c : cases) {
    const Placement p = CClassHirView::PlacePicture(c.w, c.h, c.right, c.bottom, c.zoom);
    EXPECT_EQ(std::vector<int>({p.nMarginX, p.nMarginY, p.nDrawnWidth, p.nDrawnHeight, p.bMagnified}),
              std::vector<int>({c.expected.nMarginX, c.expected.nMarginY, c.expected.nDrawnWidth,
                                c.expected.nDrawnHeight, c.expected.bMagnified}))
        << c.w << "x" << c.h << " zoom " << c.zoom;
  }
}

TEST(PictureSaveNames, TheExtensionIsAddedOnlyWhenTheNameLacksIt) {
  const struct {
    const char* typed;
    DWORD filter;
    const char* saved;
  } cases[] = {
      {"chart", 2, "chart.ico"},        {"chart", 1, "chart.bmp"},         {"chart.bmp", 1, "chart.bmp"},
      {"CHART.BMP", 1, "CHART.BMP"},    {"chart.bmp", 2, "chart.bmp.ico"}, {"out.d/chart", 1, "out.d/chart.bmp"},
      {"C:\\a.ico\\b", 2, "C:\\a.ico\\b.ico"},
  };
  for (const auto& c : cases) EXPECT_STREQ(CClassHitDoc::FormSaveName(c.typed, c.filter), c.saved) << c.typed;
}

TEST(Picture, LoadsMeasuresAndSavesRealBmpAndIcoFilesWhateverWasLoaded) {
  brambolt::test::UiSession session;
  BoxRecorder boxes;
  PictureFolder files;
  CPicture picture;
  ASSERT_TRUE(picture.LoadFromFile(files("chart.bmp").c_str()));
  EXPECT_EQ(picture.GetWidth(), 640);
  EXPECT_EQ(picture.GetHeight(), 480);
  EXPECT_EQ(picture.GetFileSize(), 308278);
  ASSERT_TRUE(picture.SaveToFile(files("chart.ico").c_str()));
  ASSERT_TRUE(picture.LoadFromFile(files("red.jpg").c_str()));
  EXPECT_EQ(picture.GetWidth(), 40);
  ASSERT_TRUE(picture.SaveToFile(files("red.bmp").c_str()));
  // What was written is what its name says, and it loads again at its size.
  std::ifstream ico(files("chart.ico"), std::ios::binary), bmp(files("red.bmp"), std::ios::binary);
  char head[4] = {};
  ico.read(head, 4);
  EXPECT_EQ(std::string(head, 4), std::string("\0\0\1\0", 4));
  bmp.read(head, 2);
  EXPECT_EQ(std::string(head, 2), "BM");
  ASSERT_TRUE(picture.LoadFromFile(files("chart.ico").c_str()));
  EXPECT_EQ(picture.GetWidth(), 256);
  EXPECT_EQ(picture.GetHeight(), 192);
  ASSERT_TRUE(picture.LoadFromFile(files("red.bmp").c_str()));
  EXPECT_EQ(picture.GetHeight(), 30);
  EXPECT_TRUE(boxes.Boxes().empty());
  // A broken file and a missing one: one message each, under the loader's caption.
  EXPECT_FALSE(picture.LoadFromFile(files("broken.bmp").c_str()));
  EXPECT_FALSE(picture.IsLoaded());
  EXPECT_EQ(picture.GetWidth(), 0);
  EXPECT_FALSE(picture.LoadFromFile(files("missing.bmp").c_str()));
  ASSERT_EQ(boxes.Boxes().size(), 2u);
  for (const auto& box : boxes.Boxes()) {
    EXPECT_EQ(box.caption, "CPicture Error");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
  }
  EXPECT_FALSE(picture.SaveToFile(files("nothing.bmp").c_str()));
}

// The names of a folder's entries.
std::set<std::string> Entries(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// On a full disk a save over a picture leaves that picture whole and one under a new name makes
// no file; each says what was and was not written.
TEST(Picture, ASaveOnAFullDiskKeepsThePictureItWouldReplaceAndMakesNoFileUnderANewName) {
  brambolt::test::UiSession session;
  BoxRecorder boxes;
  PictureFolder files;
  CPicture picture;
  ASSERT_TRUE(picture.LoadFromFile(files("red.jpg").c_str()));
  const std::string before = ReadAll(files("chart.bmp"));
  const std::set<std::string> entries = Entries(files.root);
  brambolt::ScopedFileFaultHook full([](brambolt::FileStep step, const std::string&) {
    return step == brambolt::FileStep::Write ? ENOSPC : 0;
  });
  EXPECT_FALSE(picture.SaveToFile(files("chart.bmp").c_str()));
  EXPECT_FALSE(picture.SaveToFile(files("new.bmp").c_str()));
  EXPECT_EQ(ReadAll(files("chart.bmp")), before);
  EXPECT_EQ(Entries(files.root), entries) << "no file is made, none is left half written";
  ASSERT_EQ(boxes.Boxes().size(), 2u);
  EXPECT_EQ(boxes.Boxes()[0].text, files("chart.bmp") +
                                       " could not be written: There is not enough space on the disk.\nThe file is as it was "
                                       "before the save.");
  EXPECT_EQ(boxes.Boxes()[1].text,
            files("new.bmp") + " could not be written: There is not enough space on the disk.\nNo file was made.");
  EXPECT_EQ(boxes.Boxes()[1].caption, "CPicture Error");
}

// A frame with a picture view over a new document.
struct PictureWindow {
  brambolt::test::UiSession session;
  CWinApp app{"Picture Test"};
  BoxRecorder boxes;
  CFrameWnd* frame = new CFrameWnd;
  CClassHitDoc* doc = new CClassHitDoc;
  CClassHirView* view = nullptr;
  PictureWindow() {
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CClassHirView);
    context.m_pCurrentDoc = doc;
    frame->Create(nullptr, "Picture", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, nullptr, 0,
                  &context);
    view = static_cast<CClassHirView*>(CWnd::FromHandlePermanent(::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST)));
    frame->SetActiveView(view);
    view->OnInitialUpdate();
    brambolt::test::RunUntilIdle();
  }
  ~PictureWindow() { frame->DestroyWindow(); }
  BOOL Show(const std::string& path) {
    const BOOL bOpened = doc->OpenPicture(path.c_str());
    brambolt::test::RunUntilIdle();
    return bOpened;
  }
  void Command(UINT id) {
    view->SendMessage(WM_COMMAND, id, 0);
    brambolt::test::RunUntilIdle();
  }
  void Key(UINT vk) {
    view->SendMessage(WM_KEYDOWN, vk, 0);
    brambolt::test::RunUntilIdle();
  }
};

TEST(PictureView, LoadsAPictureTitlesItAndReportsItsSize) {
  PictureFolder files;
  PictureWindow window;
  EXPECT_STREQ(window.doc->GetTitle(), "Default");
  EXPECT_TRUE(window.Show(files("chart.bmp")));
  EXPECT_STREQ(window.doc->GetTitle(), "chart.bmp");
  EXPECT_STREQ(window.view->GetSizeText(), "  640 x  480 (301Kb) ");
  EXPECT_TRUE(window.doc->m_strPendingPath.IsEmpty());
  // Larger than the window: it starts at the top-left and the keys scroll it.
  EXPECT_EQ(window.view->GetPlacement().nMarginX, 0);
  window.Key(VK_RIGHT);
  window.Key(VK_DOWN);
  EXPECT_EQ(window.view->GetScrollPosition(), CPoint(200, 200));
  window.Key(VK_HOME);
  EXPECT_EQ(window.view->GetScrollPosition(), CPoint(200, 0));
  window.Key(VK_LEFT);
  EXPECT_EQ(window.view->GetScrollPosition(), CPoint(0, 0));
}

TEST(PictureView, ASmallPictureIsCentredAndZoomsWithinFiftyStepsEachWay) {
  PictureFolder files;
  PictureWindow window;
  window.Show(files("red.gif"));
  const Placement centred = window.view->GetPlacement();
  CRect client;
  window.view->GetClientRect(&client);
  EXPECT_EQ(centred.nMarginX, (client.right - 40) / 2);
  EXPECT_EQ(brambolt::test::WindowPixel(window.view->m_hWnd, client.right / 2, client.bottom / 2), RGB(255, 0, 0));
  EXPECT_EQ(brambolt::test::WindowPixel(window.view->m_hWnd, 2, 2), RGB(255, 255, 255));
  window.Key(VK_RIGHT);
  window.Key(VK_DOWN);
  EXPECT_EQ(window.view->GetScrollPosition(), CPoint(0, 0)) << "a centred picture does not scroll";
  window.Key(VK_SUBTRACT);
  EXPECT_EQ(window.view->GetZoom(), -1);
  EXPECT_EQ(window.view->GetPlacement().nDrawnWidth, 20);
  for (int i = 0; i < 60; ++i) window.Command(ID_VIEW_ZOOMIN);
  EXPECT_EQ(window.view->GetZoom(), 50);
  for (int i = 0; i < 120; ++i) window.view->SendMessage(WM_COMMAND, ID_VIEW_ZOOMOUT, 0);
  EXPECT_EQ(window.view->GetZoom(), -50);
  window.Key(VK_ADD);
  EXPECT_EQ(window.view->GetZoom(), -49);
}

TEST(PictureView, SaveAsWritesTheChosenKindAndShowsItAndOpenReplacesThePicture) {
  PictureFolder files;
  PictureWindow window;
  brambolt::test::ModalAnswers answers;
  window.Show(files("chart.bmp"));
  answers.When(nullptr, "Save picture as a Bitmap (BMP/ICO) file", [&](HWND dialog) {
    HWND types = ::GetDlgItem(dialog, cmb1);
    ::SendMessage(types, CB_SETCURSEL, 1, 0);
    ::SendMessage(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
    ::SetDlgItemText(dialog, edt1, files("copy").c_str());
    ::SendMessage(dialog, WM_COMMAND, IDOK, 0);
  });
  window.Command(ID_FILE_SAVE_AS);
  EXPECT_TRUE(fs::exists(files("copy.ico")));
  EXPECT_STREQ(window.doc->GetTitle(), "copy.ico");
  EXPECT_STREQ(window.view->GetSizeText().Left(12), "  256 x  192");
  answers.When(nullptr, "Open a picture file", [&](HWND dialog) {
    ::SetDlgItemText(dialog, edt1, files("red.gif").c_str());
    ::SendMessage(dialog, WM_COMMAND, IDOK, 0);
  });
  window.Command(ID_FILE_OPEN);
  EXPECT_STREQ(window.doc->GetTitle(), "red.gif");
  EXPECT_EQ(window.doc->m_Picture.GetWidth(), 40);
  EXPECT_TRUE(answers.Unanswered().empty());
}

// Save As asks before it replaces a picture, whether the name was typed with the chosen kind's
// extension, without one, or with another one that the kind's is added to; No keeps the dialog
// and the file, Yes replaces it.
TEST(PictureView, SaveAsAsksBeforeReplacingAPictureHoweverItsNameWasTyped) {
  PictureFolder files;
  PictureWindow window;
  window.Show(files("red.gif"));
  fs::copy_file(files("chart.bmp"), files("chart.v2.bmp"));
  const std::string before = ReadAll(files("chart.bmp"));
  const char kTitle[] = "Save picture as a Bitmap (BMP/ICO) file";
  brambolt::test::ModalAnswers answers;
  std::vector<std::string> questions;
  auto answer = [&](int nButton) {
    return [&, nButton](HWND box) {
      char text[1024] = {};
      ::GetWindowText(::GetDlgItem(box, IDC_MESSAGEBOX_TEXT), text, sizeof text);
      questions.push_back(text);
      brambolt::test::Click(::GetDlgItem(box, nButton), {5, 5});
    };
  };
  answers.When(nullptr, kTitle, [&](HWND dialog) {
    for (const char* name : {"chart", "chart.v2", "chart"}) {
      HWND edit = ::GetDlgItem(dialog, edt1);
      ::SetFocus(edit);
      ::SendMessage(edit, EM_SETSEL, 0, -1);
      brambolt::test::TypeText(files(name));
      brambolt::test::PressKey(VK_RETURN);
      brambolt::test::RunUntilIdle();
    }
  });
  answers.When(nullptr, kTitle, answer(IDNO));
  answers.When(nullptr, kTitle, answer(IDNO));
  answers.When(nullptr, kTitle, answer(IDYES));
  window.Command(ID_FILE_SAVE_AS);
  EXPECT_TRUE(answers.Unanswered().empty());
  const std::string question = " already exists.\nDo you want to replace it?";
  EXPECT_EQ(questions, (std::vector<std::string>{files("chart.bmp") + question, files("chart.v2.bmp") + question,
                                                 files("chart.bmp") + question}));
  EXPECT_EQ(ReadAll(files("chart.v2.bmp")), before) << "No keeps the file";
  EXPECT_FALSE(fs::exists(files("chart.v2")));
  EXPECT_NE(ReadAll(files("chart.bmp")), before) << "Yes replaces it";
  EXPECT_STREQ(window.doc->GetTitle(), "chart.bmp");
  EXPECT_STREQ(window.view->GetSizeText().Left(12), "   40 x   30");
}

// A picture with a transparent colour is saved as a BMP that shows as the picture did: white
// where the window showed white through it.
TEST(PictureView, ATransparentGifIsSavedAsTheBmpTheWindowShowed) {
  PictureFolder files;
  PictureWindow window;
  // The left half transparent, the right half red.
  ASSERT_EQ(std::system(("convert -size 20x30 xc:none -size 20x30 xc:red +append " + files("half.gif")).c_str()), 0);
  auto shown = [&] {
    const Placement placement = window.view->GetPlacement();
    std::vector<COLORREF> pixels;
    for (int x : {2, 17, 22, 37})
      pixels.push_back(
          brambolt::test::WindowPixel(window.view->m_hWnd, placement.nMarginX + x, placement.nMarginY + 15));
    return pixels;
  };
  ASSERT_TRUE(window.Show(files("half.gif")));
  const std::vector<COLORREF> gif = shown();
  EXPECT_EQ(gif, (std::vector<COLORREF>{RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 0, 0), RGB(255, 0, 0)}));
  ASSERT_TRUE(window.doc->m_Picture.SaveToFile(files("half.bmp").c_str()));
  ASSERT_TRUE(window.Show(files("half.bmp")));
  EXPECT_EQ(shown(), gif);
}

// A file that is no picture is reported and opens nothing: the window keeps the picture it shows,
// whether the file comes from Open in the picture window or from the program's File Open. A
// picture whose file is cut short shows the rows it holds and says it is incomplete.
TEST(PictureView, AFileThatIsNoPictureIsReportedAndOpensNothingAndACutOneIsShownAsIncomplete) {
  PictureFolder files;
  PictureWindow window;
  ASSERT_TRUE(window.Show(files("chart.bmp")));
  std::ofstream(files("Shapes.h")) << "class CShape\n{\n};\n";
  brambolt::test::ModalAnswers answers;
  answers.When(nullptr, "Open a picture file", [&](HWND dialog) {
    ::SetDlgItemText(dialog, edt1, files("Shapes.h").c_str());
    ::SendMessage(dialog, WM_COMMAND, IDOK, 0);
  });
  window.Command(ID_FILE_OPEN);
  EXPECT_TRUE(answers.Unanswered().empty());
  ASSERT_EQ(window.boxes.Boxes().size(), 1u);
  EXPECT_EQ(window.boxes.Boxes()[0].caption, "CPicture Error");
  EXPECT_EQ(window.boxes.Boxes()[0].text.rfind("Cannot read this picture", 0), 0u) << window.boxes.Boxes()[0].text;
  EXPECT_STREQ(window.doc->GetTitle(), "chart.bmp");
  EXPECT_STREQ(window.view->GetSizeText().Left(12), "  640 x  480");

  // The bitmap's last 100 rows (the top of the picture, rows are stored bottom-up) are cut off.
  std::ifstream in(files("chart.bmp"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::ofstream(files("cut.bmp"), std::ios::binary) << bytes.substr(0, bytes.size() - 100 * 640);
  EXPECT_TRUE(window.Show(files("cut.bmp")));
  ASSERT_EQ(window.boxes.Boxes().size(), 2u);
  EXPECT_EQ(window.boxes.Boxes()[1].text.rfind("This picture is incomplete", 0), 0u) << window.boxes.Boxes()[1].text;
  EXPECT_STREQ(window.doc->GetTitle(), "cut.bmp");
  EXPECT_STREQ(window.view->GetSizeText().Left(12), "  640 x  480");
}

// Through the program's own File Open a file that is no picture brings up no window.
TEST(PictureView, TheProgramOpensNoWindowForAFileThatIsNoPicture) {
  apptest::StartedApp s;
  const std::string strBroken = s.home.Folder("pictures") + "/broken.bmp";
  std::ofstream(strBroken) << "this is no picture";
  EXPECT_EQ(s.app.OpenDocumentFile(strBroken.c_str()), nullptr);
  ASSERT_EQ(s.boxes.boxes.size(), 1u);
  EXPECT_EQ(s.boxes.boxes[0].text.rfind("Cannot read this picture", 0), 0u) << s.boxes.boxes[0].text;
  ASSERT_NE(s.app.m_pClassHirTemplate, nullptr);
  EXPECT_EQ(s.app.m_pClassHirTemplate->GetFirstDocPosition(), nullptr) << "a picture window came up";
}

// Print preview opened from the program's menu shows the page it shows in the status bar from
// the start, and again once the pointer has passed over the preview's buttons.
TEST(PictureView, PrintPreviewShowsItsPageInTheStatusBarFromTheStart) {
  brambolt::test::FakeCups cups;
  PictureFolder files;
  apptest::StartedApp s;
  ASSERT_NE(s.app.OpenDocumentFile(files("chart.bmp").c_str()), nullptr);
  brambolt::test::RunUntilIdle();
  auto* pMain = dynamic_cast<CMainFrame*>(s.app.m_pMainWnd);
  ASSERT_NE(pMain, nullptr);
  auto statusText = [&] {
    brambolt::test::RunUntilIdle();
    s.app.OnIdle(0);
    return std::string(pMain->m_wndStatusBar.GetPaneText(0));
  };
  EXPECT_EQ(statusText(), "Ready");
  pMain->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0);
  EXPECT_EQ(statusText(), "Page 1");
  // The pointer leaving the preview's bar, where the program's toolbar stood, puts the status
  // line back to rest.
  pMain->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE, 0);
  EXPECT_EQ(statusText(), "Page 1") << "the preview's status line at rest is its page";
  pMain->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
  EXPECT_EQ(statusText(), "Ready");
}

// A 24-bit BMP file of one colour, as the documentation writes its charts; only its header when
// `rows` is false.
void WriteBmp(const std::string& path, uint32_t width, uint32_t height, COLORREF colour, bool rows = true) {
  const uint32_t stride = (width * 3 + 3) / 4 * 4;
  std::vector<unsigned char> bmp{'B', 'M'};
  auto put = [&](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp.push_back(static_cast<unsigned char>(value >> (8 * i)));
  };
  put(54 + stride * height, 4), put(0, 4), put(54, 4);
  put(40, 4), put(width, 4), put(height, 4), put(1, 2), put(24, 2), put(0, 4), put(stride * height, 4);
  put(0, 4), put(0, 4), put(0, 4), put(0, 4);
  std::vector<unsigned char> row(stride, 0);
  for (uint32_t x = 0; x < width; ++x)
    row[3 * x] = GetBValue(colour), row[3 * x + 1] = GetGValue(colour), row[3 * x + 2] = GetRValue(colour);
  for (uint32_t y = 0; rows && y < height; ++y) bmp.insert(bmp.end(), row.begin(), row.end());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<char*>(bmp.data()), static_cast<long>(bmp.size()));
}

TEST(PictureView, ChartsWiderOrHigherThanNineThousandPixelsShowAndATooLargeOneIsReported) {
  PictureFolder files;
  PictureWindow window;
  WriteBmp(files("wide.bmp"), 9010, 40, RGB(255, 0, 0));
  WriteBmp(files("high.bmp"), 40, 10750, RGB(0, 0, 255));
  WriteBmp(files("huge.bmp"), 9010, 10750, RGB(0, 0, 0), false);
  // Each starts at the window's edge across its long side and is centred across its short one.
  window.Show(files("wide.bmp"));
  const Placement wide = window.view->GetPlacement();
  EXPECT_EQ(brambolt::test::WindowPixel(window.view->m_hWnd, 20, wide.nMarginY + 20), RGB(255, 0, 0));
  window.Show(files("high.bmp"));
  const Placement high = window.view->GetPlacement();
  EXPECT_EQ(brambolt::test::WindowPixel(window.view->m_hWnd, high.nMarginX + 20, 20), RGB(0, 0, 255));
  EXPECT_TRUE(window.boxes.Boxes().empty());
  window.Show(files("huge.bmp"));
  ASSERT_EQ(window.boxes.Boxes().size(), 1u) << "a picture too large to show is said so, not shown white";
  EXPECT_EQ(window.boxes.Boxes()[0].caption, "CPicture Error");
  EXPECT_NE(window.boxes.Boxes()[0].text.find("larger than"), std::string::npos) << window.boxes.Boxes()[0].text;
}

// What a page printed from the view holds: the picture's rectangle on it, in the printer's pixels,
// with the printer's resolution and printable size.
struct PrintedPicture {
  RECT dest{};
  int nImages = 0;
  int nDpiX = 0, nDpiY = 0, nPageWidth = 0, nPageHeight = 0;
};

PrintedPicture Print(CClassHirView* pView, const std::string& pdf) {
  PrintedPicture printed;
  brambolt::PrinterSettings settings;
  settings.port = pdf;
  HDC hdc = brambolt::CreatePrinterDC(settings);
  CDC dc;
  dc.Attach(hdc);
  dc.m_bPrinting = TRUE;
  printed.nDpiX = dc.GetDeviceCaps(LOGPIXELSX);
  printed.nDpiY = dc.GetDeviceCaps(LOGPIXELSY);
  printed.nPageWidth = dc.GetDeviceCaps(HORZRES);
  printed.nPageHeight = dc.GetDeviceCaps(VERTRES);
  CPrintInfo info;
  DOCINFO doc{};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = "picture";
  ::StartDoc(hdc, &doc);
  info.m_nCurPage = 1;
  pView->OnPrepareDC(&dc, &info);
  ::StartPage(hdc);
  pView->OnDraw(&dc);
  ::EndPage(hdc);
  ::EndDoc(hdc);
  const auto pages = brambolt::GetPrintedPages(hdc);
  dc.Detach();
  ::DeleteDC(hdc);
  EXPECT_EQ(pages.size(), 1u);
  for (const auto& page : pages)
    for (const auto& op : page->ops)
      if (const auto* image = std::get_if<brambolt::PageImage>(&op.item)) {
        printed.dest = image->dest;
        ++printed.nImages;
      }
  return printed;
}

// On paper a picture has the size it has on screen (96 pixels an inch); one wider than the page
// is shrunk to the page's width, keeping its shape.
TEST(PictureView, PrintsThePictureAtItsScreenSizeShrunkToFitThePage) {
  PictureFolder files;
  PictureWindow window;
  window.Show(files("red.jpg"));
  const PrintedPicture small = Print(window.view, files("picture.pdf"));
  ASSERT_EQ(small.nImages, 1);
  ASSERT_GT(small.nDpiX, 96);
  EXPECT_EQ(small.dest.right - small.dest.left, (40 * small.nDpiX + 48) / 96) << "40 pixels: 5/12 inch";
  EXPECT_EQ(small.dest.bottom - small.dest.top, (30 * small.nDpiY + 48) / 96);
  EXPECT_GT(fs::file_size(files("picture.pdf")), 500u);

  WriteBmp(files("wide.bmp"), 9010, 400, RGB(255, 0, 0));
  window.Show(files("wide.bmp"));
  const PrintedPicture wide = Print(window.view, files("wide.pdf"));
  ASSERT_EQ(wide.nImages, 1);
  EXPECT_EQ(wide.dest.left, 0);
  EXPECT_EQ(wide.dest.right, wide.nPageWidth) << "shrunk to the page, not cut at its edge";
  const double height = 400.0 * wide.nDpiY / 96 * wide.nPageWidth / (9010.0 * wide.nDpiX / 96);
  EXPECT_NEAR(wide.dest.bottom - wide.dest.top, height, 1.0);
}

}  // namespace
