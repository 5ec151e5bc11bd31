// Class diagrams and the hierarchy chart: box sizes and places, connectors, colours and shadows by
// pixel probes on the off-screen drawing, and the BMP files as other readers see them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "foundation/SECDib.h"
#include "model/CWorkSpaceObj.h"
#include "model/DiagramCanvas.h"
#include "model/DocumentationProgress.h"
#include "DocTestSupport.h"
#include "ModelTestSupport.h"
#include "testing/testing.h"

using doc_test::ShapesProject;
using model_test::RecordingShell;
using model_test::S;
using model_test::TempFolder;

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRootFill = RGB(0, 255, 0);
constexpr COLORREF kClassFill = RGB(0, 0, 255);

void Paint(CWorkSpaceObj& project) {
  project.m_crChartBack = kWhite;
  project.m_crBaseClass = kRootFill;
  project.m_crDerivedClass = kClassFill;
}

// Classes from "name:base" entries, with nothing else in them.
std::string Header(const std::vector<std::string>& classes) {
  std::string text;
  for (const std::string& entry : classes) {
    const size_t colon = entry.find(':');
    text += "class " + entry.substr(0, colon);
    if (colon != std::string::npos) text += " : public " + entry.substr(colon + 1);
    text += "\n{\n};\n";
  }
  return text;
}

// The shell's class-box shadow: the box offset by the depth, in the DC's pen and brush.
struct ShadowShell : RecordingShell {
  void DrawClassBox(HDC hDC, const RECT& rc, int nDepth) override {
    RecordingShell::DrawClassBox(hDC, rc, nDepth);
    Rectangle(hDC, rc.left + nDepth, rc.top + nDepth, rc.right + nDepth, rc.bottom + nDepth);
  }
};

TEST(ClassDiagram, ChainOfThreeIsAStaircaseFromTheTopmostAncestor) {
  ShapesProject p;
  Paint(p.project);
  p.project.PrepareClassDiagrams(nullptr);
  CFileObj* pCircle = p.project.FindClassByName("CCircle");
  ASSERT_NE(pCircle, nullptr);
  ASSERT_EQ(pCircle->m_AncestorList.GetCount(), 3);  // CCircle, CShape, CObject
  EXPECT_EQ(pCircle->m_nBoxWidth, 180);
  EXPECT_EQ(pCircle->m_nBoxHeight, 20);
  EXPECT_EQ(pCircle->m_nBitmapWidth, 240);
  EXPECT_EQ(pCircle->m_nBitmapHeight, 110);

  DiagramCanvas canvas(pCircle->m_nBitmapWidth, pCircle->m_nBitmapHeight, kWhite);
  ASSERT_TRUE(canvas.IsValid());
  pCircle->DrawClassDiagram(canvas.GetDC(), p.project);
  CDC& dc = canvas.GetDC();
  // Box 0 (CObject) at (0,0), box 1 at (20,30), box 2 (the class) at (40,60), each 180 x 20.
  EXPECT_EQ(dc.GetPixel(175, 10), kRootFill);
  EXPECT_EQ(dc.GetPixel(0, 0), kBlack);
  EXPECT_EQ(dc.GetPixel(179, 19), kBlack);
  EXPECT_EQ(dc.GetPixel(195, 40), kClassFill);
  EXPECT_EQ(dc.GetPixel(215, 70), kClassFill);
  EXPECT_EQ(dc.GetPixel(40, 60), kBlack);
  EXPECT_EQ(dc.GetPixel(219, 79), kBlack);
  // Connectors: from (left - 10, top - 10) down to (left - 10, top + 10), then right to the box.
  EXPECT_EQ(dc.GetPixel(10, 25), kBlack);
  EXPECT_EQ(dc.GetPixel(15, 40), kBlack);
  EXPECT_EQ(dc.GetPixel(30, 55), kBlack);
  EXPECT_EQ(dc.GetPixel(35, 70), kBlack);
  // Outside every box and line the background stays.
  EXPECT_EQ(dc.GetPixel(5, 45), kWhite);
  EXPECT_EQ(dc.GetPixel(200, 5 + 90), kWhite);
  EXPECT_EQ(dc.GetPixel(230, 15), kWhite);
}

// How many pixels of the row segment are black.
int BlackPixels(CDC& dc, int y, int x0, int x1) {
  int n = 0;
  for (int x = x0; x < x1; ++x) n += dc.GetPixel(x, y) == kBlack ? 1 : 0;
  return n;
}

TEST(ClassDiagram, ShadowIsTheShellsBoxMaskedByAHalftonePattern) {
  ShadowShell shell;
  ShapesProject p("class CAlone\n{\n};\n");
  Paint(p.project);
  p.project.SetShadow(TRUE);
  p.project.SetShadowSize(4);
  p.project.PrepareClassDiagrams(nullptr);
  const CFileObj* pClass = p.project.FindClassByName("CAlone");
  DiagramCanvas canvas(pClass->m_nBitmapWidth, pClass->m_nBitmapHeight, kWhite);
  shell.calls.clear();
  pClass->DrawClassDiagram(canvas.GetDC(), p.project);
  EXPECT_EQ(shell.calls, (std::vector<std::string>{"DrawClassBox 0 4"}));
  CDC& dc = canvas.GetDC();
  // Below the box the shadow's inside is every other pixel dark; its outline is solid.
  const int nDark = BlackPixels(dc, 21, 10, 170);
  EXPECT_GE(nDark, 70);
  EXPECT_LE(nDark, 90);
  EXPECT_EQ(BlackPixels(dc, 23, 10, 170), 160);
  EXPECT_EQ(dc.GetPixel(183, 10), kBlack);  // the outline's right edge
  EXPECT_EQ(dc.GetPixel(100, 10), kRootFill);  // the box covers its own shadow
}

TEST(ClassDiagram, NoShadowWhenTheProjectSaysNo) {
  ShadowShell shell;
  ShapesProject p("class CAlone\n{\n};\n");
  Paint(p.project);
  p.project.PrepareClassDiagrams(nullptr);
  const CFileObj* pClass = p.project.FindClassByName("CAlone");
  DiagramCanvas canvas(pClass->m_nBitmapWidth, pClass->m_nBitmapHeight, kWhite);
  shell.calls.clear();
  pClass->DrawClassDiagram(canvas.GetDC(), p.project);
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_EQ(BlackPixels(canvas.GetDC(), 21, 0, 200), 0);
}

TEST(ClassDiagram, AWideNameWidensEveryBox) {
  ShapesProject p(Header({"CBase", "CAVeryLongClassNameThatNeedsMoreRoomThanTheUsualBoxGives:CBase"}).c_str());
  p.project.PrepareClassDiagrams(nullptr);
  const CFileObj* pClass = p.project.FindClassByName("CAVeryLongClassNameThatNeedsMoreRoomThanTheUsualBoxGives");
  ASSERT_NE(pClass, nullptr);
  EXPECT_GT(pClass->m_nBoxWidth, 180);
  EXPECT_EQ(pClass->m_nBitmapWidth, pClass->m_nBoxWidth + 40);
}

std::set<std::pair<int, int>> Corners(const CWorkSpaceObj& project) {
  std::set<std::pair<int, int>> corners;
  for (const auto& box : project.m_ChartBoxes) corners.insert({box.rect.left, box.rect.top});
  return corners;
}

TEST(HierarchyChart, EmptyProjectIsTheTitleAlone) {
  CWorkSpaceObj project;
  const CSize layout = project.LayoutHierarchyChart();
  EXPECT_EQ(layout, CSize(60, 110));
  EXPECT_EQ(project.m_nChartWidth, 800);
  EXPECT_EQ(project.m_nChartHeight, 130);
  EXPECT_TRUE(project.m_ChartBoxes.empty());
}

TEST(HierarchyChart, SingleClassesFormAGridOfFourThenFive) {
  ShapesProject p(Header({"C1", "C2", "C3", "C4", "C5", "C6", "C7", "C8", "C9"}).c_str());
  p.project.LayoutHierarchyChart();
  std::set<std::pair<int, int>> expected;
  for (int i = 0; i < 4; ++i) expected.insert({20 + 220 * i, 80});
  for (int i = 0; i < 5; ++i) expected.insert({20 + 220 * i, 130});
  EXPECT_EQ(Corners(p.project), expected);
  for (const auto& box : p.project.m_ChartBoxes) {
    EXPECT_TRUE(box.bRoot);
    EXPECT_EQ(box.rect.Width(), 180);
  }
  EXPECT_EQ(p.project.m_nChartWidth, 20 + 220 * 4 + 180 + 60);
  EXPECT_EQ(p.project.m_nChartHeight, 150 + 60 + 20);
}

TEST(HierarchyChart, ARootWithTenSubclassesBreaksItsColumnAfterSeven) {
  std::vector<std::string> classes = {"CRoot"};
  for (int i = 0; i < 10; ++i) classes.push_back("CSub" + std::to_string(i) + ":CRoot");
  ShapesProject p(Header(classes).c_str());
  p.project.LayoutHierarchyChart();
  std::set<std::pair<int, int>> expected = {{40, 50}};
  for (int i = 0; i < 7; ++i) expected.insert({60, 80 + 30 * i});
  for (int i = 0; i < 3; ++i) expected.insert({60 + 180 + 40, 80 + 30 * i});
  EXPECT_EQ(Corners(p.project), expected);
}

TEST(HierarchyChart, SmallTreesStandInRowsBelowTheLargeOnes) {
  std::vector<std::string> classes = {"CBig"};
  for (int i = 0; i < 7; ++i) classes.push_back("CBigSub" + std::to_string(i) + ":CBig");
  for (int i = 0; i < 5; ++i) {
    classes.push_back("CTree" + std::to_string(i));
    classes.push_back("CLeaf" + std::to_string(i) + ":CTree" + std::to_string(i));
  }
  ShapesProject p(Header(classes).c_str());
  p.project.LayoutHierarchyChart();
  std::set<std::pair<int, int>> roots;
  for (const auto& box : p.project.m_ChartBoxes)
    if (box.bRoot) roots.insert({box.rect.left, box.rect.top});
  // The large tree ends at y 50 + 30 * 7 + 20 = 280; small trees of width 200 are 240 apart.
  const int yRow1 = 280 + 30;
  const int yRow2 = yRow1 + 50 + 30;
  EXPECT_EQ(roots, (std::set<std::pair<int, int>>{{40, 50}, {20, yRow1}, {260, yRow1}, {500, yRow1}, {740, yRow1},
                                                  {20, yRow2}}));
}

TEST(HierarchyChart, ALoopOfBasesIsDrawnOnceAndNotEnteredAgain) {
  ShapesProject p("class C\n{\n};\nclass A : public C, public B\n{\n};\nclass B : public A\n{\n};\n");
  p.project.LayoutHierarchyChart();
  std::vector<std::string> names;
  for (const auto& box : p.project.m_ChartBoxes) names.push_back(S(box.strName));
  EXPECT_EQ(names, (std::vector<std::string>{"C", "A", "B", "A"}));
}

// Long names, template ones among them, on a root with a subclass, on a base outside the project
// and on single classes: each box holds its whole name, the text ending short of the box's right
// edge, and no box covers another.
TEST(HierarchyChart, EveryBoxHoldsItsWholeNameAndNoBoxCoversAnother) {
  ShapesProject p(
      "class CAVeryLongRootClassNameThatIsWiderThanTheBox\n{\n};\n"
      "class CChild : public CAVeryLongRootClassNameThatIsWiderThanTheBox\n{\n};\n"
      "class CDerived : public ExternalBaseTemplate<const std::basic_string<char>&, long>\n{\n};\n"
      "template <> class Matcher<const std::basic_string<char>&>\n{\n};\n"
      "template <> class Matcher<const std::basic_string_view<wchar_t>&>\n{\n};\n"
      "class CShort\n{\n};\n");
  Paint(p.project);
  p.project.LayoutHierarchyChart();
  const auto& boxes = p.project.m_ChartBoxes;
  std::set<std::string> names;
  for (const auto& box : boxes) names.insert(S(box.strName));
  for (const char* name : {"Matcher<const std::basic_string<char>&>", "CAVeryLongRootClassNameThatIsWiderThanTheBox",
                           "ExternalBaseTemplate<const std::basic_string<char>&, long>"})
    ASSERT_TRUE(names.count(name)) << name;
  DiagramCanvas canvas(p.project.m_nChartWidth, p.project.m_nChartHeight, kWhite);
  p.project.DrawHierarchyChartBoxes(canvas.GetDC());
  CDC& dc = canvas.GetDC();
  for (size_t i = 0; i < boxes.size(); ++i) {
    const CRect& rc = boxes[i].rect;
    SCOPED_TRACE(S(boxes[i].strName));
    // The text's ink stops 10 pixels left of the frame, as it starts 10 right of it.
    int nInk = 0;
    for (int y = rc.top + 2; y < rc.bottom - 2; ++y) nInk += BlackPixels(dc, y, rc.right - 9, rc.right - 1);
    EXPECT_EQ(nInk, 0) << "the name runs into the box's right edge";
    int nText = 0;
    for (int y = rc.top + 2; y < rc.bottom - 2; ++y) nText += BlackPixels(dc, y, rc.left + 10, rc.left + 30);
    EXPECT_GT(nText, 0) << "no name drawn";
    for (size_t j = i + 1; j < boxes.size(); ++j) {
      CRect rcBoth;
      EXPECT_FALSE(rcBoth.IntersectRect(&rc, &boxes[j].rect)) << "covers " << S(boxes[j].strName);
    }
  }
}

TEST(HierarchyChart, ConnectorsRunLeftOfTheColumnToEachBoxsMiddle) {
  ShapesProject p(Header({"CRoot", "CA:CRoot", "CB:CRoot"}).c_str());
  Paint(p.project);
  p.project.LayoutHierarchyChart();
  DiagramCanvas canvas(p.project.m_nChartWidth, p.project.m_nChartHeight, kWhite);
  p.project.DrawHierarchyChartBoxes(canvas.GetDC());
  CDC& dc = canvas.GetDC();
  // A small tree: root at (20,80); subclasses at (40,110) and (40,140); the line runs at x 30.
  EXPECT_EQ(dc.GetPixel(30, 105), kBlack);
  EXPECT_EQ(dc.GetPixel(35, 120), kBlack);
  EXPECT_EQ(dc.GetPixel(30, 140), kBlack);
  EXPECT_EQ(dc.GetPixel(35, 150), kBlack);
  EXPECT_EQ(dc.GetPixel(30, 155), kWhite);  // nothing below the last middle
  EXPECT_EQ(dc.GetPixel(195, 90), kRootFill);
  EXPECT_EQ(dc.GetPixel(215, 120), kClassFill);
  EXPECT_EQ(dc.GetPixel(25, 120), kWhite);
}

TEST(HierarchyChart, TheTitleUsesTheChartsWidth) {
  CWorkSpaceObj project;
  Paint(project);
  project.m_strProjectTitle = "WWWWWWWWWWWWWWWWWWWWWWWW";
  project.LayoutHierarchyChart();
  DiagramCanvas canvas(project.m_nChartWidth, project.m_nChartHeight, kWhite);
  project.DrawHierarchyChartBoxes(canvas.GetDC());
  int nInk = 0;
  for (int y = 0; y < 40; ++y) nInk += 800 - BlackPixels(canvas.GetDC(), y, 100, 800) < 700 ? 1 : 0;
  EXPECT_GT(nInk, 0) << "no title text right of x 100";
}

TEST(HierarchyChart, BitmapFilesReadBackThroughTheImageClassesAndImageMagick) {
  ShapesProject p;
  const CString strFolder = CString(p.folder.Path().c_str()) + "/Image2\\";
  ASSERT_TRUE(CreateDirectory(strFolder, nullptr));
  ASSERT_TRUE(p.project.SaveHierarchyChartBitmap(strFolder));
  kelpwood::foundation::SECDib dib;
  ASSERT_TRUE(dib.LoadImage(strFolder + "A_Hierarchy_Chart.bmp"));
  EXPECT_EQ(dib.GetWidth(), p.project.m_nChartWidth);
  EXPECT_EQ(dib.GetHeight(), p.project.m_nChartHeight);
  const std::string path = p.folder.Path() + "/Image2/A_Hierarchy_Chart.bmp";
  if (FILE* pipe = popen(("identify -format '%m %w %h' '" + path + "' 2>/dev/null").c_str(), "r")) {
    char line[128] = {};
    const bool bRead = fgets(line, sizeof line, pipe) != nullptr;
    // ImageMagick names the Windows 3 layout "BMP3".
    if (pclose(pipe) == 0 && bRead) {
      EXPECT_EQ(std::string(line), "BMP3 " + std::to_string(p.project.m_nChartWidth) + " " +
                                       std::to_string(p.project.m_nChartHeight));
    }
  }
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

unsigned Le32(const std::string& bytes, size_t at) {
  unsigned v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
  return v;
}

TEST(HierarchyChart, BandsDrawTheSamePictureAsOneWholeBitmap) {
  ShapesProject p(Header({"C1", "C2:C1", "C3:C1", "C4:C2", "C5", "C6:C5", "C7", "C8", "C9", "C10", "C11"}).c_str());
  Paint(p.project);
  p.project.m_strProjectTitle = "Banded";
  for (int nBand : {37, 100, 100000}) {
    const std::string path = p.folder.Path() + "/band" + std::to_string(nBand) + ".bmp";
    ASSERT_TRUE(p.project.WriteHierarchyChartImage(path.c_str(), nBand)) << nBand;
    // The same layout drawn whole.
    DiagramCanvas canvas(p.project.m_nChartWidth, p.project.m_nChartHeight, p.project.m_crChartBack);
    p.project.DrawHierarchyChartBoxes(canvas.GetDC());
    kelpwood::foundation::SECDib whole;
    ASSERT_TRUE(canvas.CopyTo(whole));
    ASSERT_EQ(whole.GetBitsPerPixel(), 24u);
    const std::string bytes = ReadBytes(path);
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(Le32(bytes, 18), static_cast<unsigned>(whole.GetWidth()));
    EXPECT_EQ(Le32(bytes, 22), static_cast<unsigned>(whole.GetHeight()));
    const size_t imageBytes = bytes.size() - 54;
    EXPECT_EQ(imageBytes, (static_cast<size_t>(whole.GetWidth()) * 3 + 3) / 4 * 4 * static_cast<size_t>(whole.GetHeight()));
    EXPECT_TRUE(std::memcmp(bytes.data() + 54, whole.GetBits(), imageBytes) == 0) << "band of " << nBand << " rows";
  }
}

TEST(HierarchyChart, TreesTooManyForTheWidestChartGoOnInABandBelowAndAFailedChartIsReported) {
  // 140 trees of 7 subclasses: side by side they would be wider than a picture may be.
  std::vector<std::string> classes;
  for (int t = 0; t < 140; ++t) {
    const std::string root = "R" + std::to_string(t);
    classes.push_back(root);
    for (int c = 0; c < 7; ++c) classes.push_back(root + "_" + std::to_string(c) + ":" + root);
  }
  ShapesProject p(Header(classes).c_str());
  Paint(p.project);
  const std::string path = p.folder.Path() + "/Image2/A_Hierarchy_Chart.bmp";
  std::filesystem::create_directories(p.folder.Path() + "/Image2");
  ASSERT_TRUE(p.project.SaveHierarchyChartBitmap(CString(p.folder.Path().c_str()) + "/Image2\\"));
  const int nWidth = p.project.m_nChartWidth, nHeight = p.project.m_nChartHeight;
  EXPECT_LE(nWidth, 32000);
  EXPECT_LE(static_cast<long long>(nWidth) * nHeight, 48LL * 1000 * 1000);
  EXPECT_EQ(p.project.m_nChartBoxesCut, 0);
  const std::string bytes = ReadBytes(path);
  const size_t stride = (static_cast<size_t>(nWidth) * 3 + 3) / 4 * 4;
  ASSERT_EQ(bytes.size(), 54 + stride * static_cast<size_t>(nHeight));
  EXPECT_EQ(Le32(bytes, 18), static_cast<unsigned>(nWidth));
  EXPECT_EQ(Le32(bytes, 22), static_cast<unsigned>(nHeight));
  // Every root box is there, the last one included: its fill a few pixels inside its corner.
  for (const auto& box : p.project.m_ChartBoxes) {
    if (!box.bRoot) continue;
    const size_t row = static_cast<size_t>(nHeight - 1 - (box.rect.top + 3));
    const size_t at = 54 + row * stride + static_cast<size_t>(box.rect.right - 3) * 3;
    const COLORREF pixel = RGB(static_cast<unsigned char>(bytes[at + 2]), static_cast<unsigned char>(bytes[at + 1]),
                               static_cast<unsigned char>(bytes[at]));
    ASSERT_EQ(pixel, kRootFill) << S(box.strName);
  }

  // A chart that cannot be written leaves no file and is reported as a failure of the run.
  ShapesProject q;
  std::filesystem::create_directories(q.folder.Path() + "/Htmls/Image2/A_Hierarchy_Chart.bmp");
  DocumentationProgress progress;
  q.project.GeneratePages(LANGUAGE_ENG, q.strProjectFolder + "Htmls\\", &progress);
  EXPECT_TRUE(progress.IsChartFailed());
  ShapesProject r;
  DocumentationProgress written;
  r.project.GeneratePages(LANGUAGE_ENG, r.strProjectFolder + "Htmls\\", &written);
  EXPECT_FALSE(written.IsChartFailed());
}

// A library of about 2,000 classes: large trees side by side, hundreds of small trees and
// hundreds of single classes, far larger in rows than a picture may be. Every class has its box
// in the written picture, no two boxes overlap, and nothing is cut.
TEST(HierarchyChart, ALibraryOfTwoThousandClassesInHundredsOfTreesShowsEveryClassInThePicture) {
  std::vector<std::string> classes;
  for (int t = 0; t < 24; ++t) {
    const std::string root = "CLarge" + std::to_string(t);
    classes.push_back(root);
    for (int c = 0; c < 7 + t % 5; ++c) {
      const std::string child = root + "Part" + std::to_string(c);
      classes.push_back(child + ":" + root);
      for (int g = 0; g < c % 3; ++g) classes.push_back(child + "Detail" + std::to_string(g) + ":" + child);
    }
  }
  for (int t = 0; t < 250; ++t) {
    const std::string root = "CSmallTree" + std::to_string(t);
    classes.push_back(root);
    for (int c = 0; c < 1 + t % 6; ++c) classes.push_back(root + "Leaf" + std::to_string(c) + ":" + root);
  }
  for (int i = 0; i < 600; ++i) classes.push_back("CSingleClassOfTheLibrary" + std::to_string(i));
  ShapesProject p(Header(classes).c_str());
  Paint(p.project);
  ASSERT_EQ(static_cast<size_t>(p.project.m_FileObjList.GetCount()), classes.size());
  ASSERT_GE(classes.size(), 2000u);
  std::filesystem::create_directories(p.folder.Path() + "/Image2");
  ASSERT_TRUE(p.project.SaveHierarchyChartBitmap(CString(p.folder.Path().c_str()) + "/Image2\\"));
  const int nWidth = p.project.m_nChartWidth, nHeight = p.project.m_nChartHeight;
  EXPECT_LE(nWidth, 32000);
  EXPECT_LE(nHeight, 32000);
  EXPECT_LE(static_cast<long long>(nWidth) * nHeight, 48LL * 1000 * 1000);
  EXPECT_EQ(p.project.m_nChartBoxesCut, 0);

  std::set<std::string> boxed;
  for (const auto& box : p.project.m_ChartBoxes) boxed.insert(S(box.strName));
  for (POSITION pos = p.project.m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    const std::string name = S(p.project.m_FileObjList.GetNext(pos)->m_strClassName);
    EXPECT_EQ(boxed.count(name), 1u) << name << " has no box";
  }
  const auto& boxes = p.project.m_ChartBoxes;
  for (size_t a = 0; a < boxes.size(); ++a)
    for (size_t b = a + 1; b < boxes.size(); ++b) {
      CRect overlap;
      ASSERT_FALSE(overlap.IntersectRect(&boxes[a].rect, &boxes[b].rect))
          << S(boxes[a].strName) << " and " << S(boxes[b].strName) << " overlap";
    }
  // Every box is in the picture: its fill a few pixels inside its top right corner.
  const std::string bytes = ReadBytes(p.folder.Path() + "/Image2/A_Hierarchy_Chart.bmp");
  const size_t stride = (static_cast<size_t>(nWidth) * 3 + 3) / 4 * 4;
  ASSERT_EQ(bytes.size(), 54 + stride * static_cast<size_t>(nHeight));
  for (const auto& box : boxes) {
    ASSERT_LE(box.rect.right, nWidth) << S(box.strName);
    ASSERT_LE(box.rect.bottom, nHeight) << S(box.strName);
    const size_t row = static_cast<size_t>(nHeight - 1 - (box.rect.top + 3));
    const size_t at = 54 + row * stride + static_cast<size_t>(box.rect.right - 3) * 3;
    const COLORREF pixel = RGB(static_cast<unsigned char>(bytes[at + 2]), static_cast<unsigned char>(bytes[at + 1]),
                               static_cast<unsigned char>(bytes[at]));
    ASSERT_EQ(pixel, box.bRoot ? kRootFill : kClassFill) << S(box.strName);
  }
}

// A class under several bases stands under each of them with its subclasses, as long as the
// chart's boxes stay within a bound of the classes and their base links; beyond it, it stands
// there as its box alone, and the run says how many such boxes there are. Each class deriving
// from the two before it would otherwise double the chart with every class.
TEST(HierarchyChart, ClassesUnderSeveralBasesAreRepeatedWithinABoundAndWhatIsLeftOutIsCounted) {
  auto names = [](const CWorkSpaceObj& project) {
    std::multiset<std::string> shown;
    for (const auto& box : project.m_ChartBoxes) shown.insert(S(box.strName));
    return shown;
  };
  // A diamond: D and its subclass E under both B and C.
  ShapesProject diamond(Header({"A", "B:A", "C:A", "D:B, public C", "E:D"}).c_str());
  diamond.project.LayoutHierarchyChart();
  EXPECT_EQ(names(diamond.project), (std::multiset<std::string>{"A", "B", "C", "D", "D", "E", "E"}));
  EXPECT_EQ(diamond.project.m_nChartRepeatsShort, 0);

  const int nClasses = 40;
  std::vector<std::string> chain{"C0", "C1:C0"};
  for (int i = 2; i < nClasses; ++i)
    chain.push_back("C" + std::to_string(i) + ":C" + std::to_string(i - 1) + ", public C" + std::to_string(i - 2));
  ShapesProject p(Header(chain).c_str());
  const int nLinks = 2 * nClasses - 3;
  DocumentationProgress progress;
  {
    brambolt::test::HangWatchdog watchdog("the chart of 40 classes each deriving from the two before", 120);
    EXPECT_EQ(p.project.GeneratePages(LANGUAGE_ENG, p.strProjectFolder + "Htmls\\", &progress), 0);
  }
  const std::multiset<std::string> shown = names(p.project);
  for (int i = 0; i < nClasses; ++i) EXPECT_GE(shown.count("C" + std::to_string(i)), 1u) << i;
  EXPECT_LE(shown.size(), static_cast<size_t>(5 * (nClasses + nLinks)));
  EXPECT_GT(p.project.m_nChartRepeatsShort, 0);
  EXPECT_EQ(p.project.m_nChartBoxesCut, 0);
  const std::string expected = "The hierarchy chart shows " + std::to_string(p.project.m_nChartRepeatsShort) +
                               " class(es) that stand under several bases without their subclasses under some of "
                               "them: their subclasses are shown under another base.";
  std::vector<std::string> cuts;
  for (const CString& strCut : progress.GetCuts()) cuts.push_back(S(strCut));
  EXPECT_NE(std::find(cuts.begin(), cuts.end(), expected), cuts.end()) << ::testing::PrintToString(cuts);
}

// Whether every class of the project has a box that lies inside the picture; the names without.
std::vector<std::string> ClassesWithoutABoxInThePicture(const CWorkSpaceObj& project) {
  std::set<std::string> inside;
  for (const auto& box : project.m_ChartBoxes)
    if (box.rect.right <= project.m_nChartWidth && box.rect.bottom <= project.m_nChartHeight)
      inside.insert(S(box.strName));
  std::vector<std::string> missing;
  for (POSITION pos = project.m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    const std::string name = S(project.m_FileObjList.GetNext(pos)->m_strClassName);
    if (inside.count(name) == 0) missing.push_back(name);
  }
  return missing;
}

// Classes that name each other as bases with no root among them still get their boxes; and a
// library whose classes stand under up to four bases each, whose repeats under every base would
// fill more than the largest picture, shows every class once inside the picture: only repeats
// are left out.
TEST(HierarchyChart, EveryClassHasABoxInsideThePictureBeforeAnyRepeatIsDrawn) {
  ShapesProject cycle(Header({"A:B", "B:A", "Below:A", "D:E, public F", "E:D", "F:E"}).c_str());
  cycle.project.LayoutHierarchyChart();
  EXPECT_EQ(ClassesWithoutABoxInThePicture(cycle.project), std::vector<std::string>{});

  std::vector<std::string> classes;
  unsigned seed = 2;
  auto next = [&seed](unsigned n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % n;
  };
  const int nClasses = 150;
  auto name = [](int i) { return "CLibraryClassWithAFairlyLongDescriptiveName" + std::to_string(i); };
  for (int i = 0; i < nClasses; ++i) {
    std::string entry = name(i);
    const unsigned nBases = i < 4 ? 0 : 1 + next(4);
    for (unsigned b = 0; b < nBases; ++b) entry += (b == 0 ? ":" : ", public ") + name(static_cast<int>(next(i)));
    classes.push_back(entry);
  }
  ShapesProject library(Header(classes).c_str());
  library.project.LayoutHierarchyChart();
  EXPECT_EQ(ClassesWithoutABoxInThePicture(library.project), std::vector<std::string>{});
  EXPECT_LE(static_cast<long long>(library.project.m_nChartWidth) * library.project.m_nChartHeight,
            48LL * 1000 * 1000);
}

}  // namespace

namespace {

uintmax_t TreeBytes(const std::filesystem::path& root) {
  uintmax_t nBytes = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
    if (entry.is_regular_file()) nBytes += entry.file_size();
  return nBytes;
}

}  // namespace

// A hostile project cannot make the run's output grow faster than the project: a diagram draws
// the nearest ancestors and counts the others, a name takes a bounded width, a chart of 10,000
// siblings stays within what a picture may be, and the run tells what it cut.
TEST(Documentation, HostileHierarchiesAndNamesGiveBoundedPicturesAndSayWhatWasCut) {
  std::vector<std::string> chain{"C0"};
  for (int i = 1; i < 1000; ++i) chain.push_back("C" + std::to_string(i) + ":C" + std::to_string(i - 1));
  ShapesProject deep(Header(chain).c_str());
  deep.project.PrepareClassDiagrams(nullptr);
  const CFileObj* pDeepest = deep.project.FindClassByName("C999");
  ASSERT_NE(pDeepest, nullptr);
  EXPECT_EQ(pDeepest->m_AncestorList.GetCount(), CFileObj::kDiagramNames);
  EXPECT_EQ(pDeepest->m_nMoreAncestors, 1000 - CFileObj::kDiagramNames);
  EXPECT_EQ(pDeepest->m_nBitmapHeight, 20 + 30 * (CFileObj::kDiagramNames + 1));
  // Its chart shows every class: the chain goes on in trees of its own rather than down a
  // diagonal as wide as it is deep.
  deep.project.LayoutHierarchyChart();
  EXPECT_EQ(deep.project.m_nChartBoxesCut, 0);
  std::set<std::string> chained;
  for (const auto& box : deep.project.m_ChartBoxes) chained.insert(S(box.strName));
  EXPECT_EQ(chained.size(), chain.size());
  EXPECT_LE(static_cast<long long>(deep.project.m_nChartWidth) * deep.project.m_nChartHeight, 48LL * 1000 * 1000);

  // A chain of 40 written whole: every diagram the size of the deepest one at most.
  ShapesProject written(Header(std::vector<std::string>(chain.begin(), chain.begin() + 40)).c_str());
  DocumentationProgress progress;
  EXPECT_EQ(written.project.GeneratePages(LANGUAGE_ENG, written.strProjectFolder + "Htmls\\", &progress), 0);
  const uintmax_t nDiagram = std::filesystem::file_size(written.folder.Path() + "/Htmls/Image2/C39.bmp");
  EXPECT_EQ(std::filesystem::file_size(written.folder.Path() + "/Htmls/Image2/C20.bmp"), nDiagram);
  EXPECT_LT(nDiagram, 500u * 1000);
  ASSERT_EQ(progress.GetCuts().size(), 1u);
  EXPECT_EQ(S(progress.GetCuts()[0]),
            "The class diagrams of 30 class(es) show only their 9 nearest base classes and the number of the others.");

  // A name of a megabyte: its pictures are no wider than any other long name's.
  const std::string huge(1 << 20, 'N');
  ShapesProject named(("class " + huge + " : public CShape\n{\n};\n" + doc_test::ShapesHeader()).c_str());
  DocumentationProgress namedProgress;
  named.project.GeneratePages(LANGUAGE_ENG, named.strProjectFolder + "Htmls\\", &namedProgress);
  EXPECT_LE(named.project.m_nChartWidth, 2000);
  EXPECT_LT(TreeBytes(named.folder.Path() + "/Htmls"), 16u << 20);
  ASSERT_EQ(namedProgress.GetCuts().size(), 1u);
  EXPECT_EQ(S(namedProgress.GetCuts()[0]), "1 class name(s) are too long to be shown whole in the pictures: they end in \"...\".");

  // 10,000 subclasses of one class: the chart stays a picture the program can open.
  CWorkSpaceObj wide;
  for (int i = 0; i < 10000; ++i) {
    auto* pClass = new CFileObj;
    pClass->m_strClassName.Format("CSibling%d", i);
    pClass->m_strBaseClassName = "CBase";
    pClass->m_BaseClassList.AddTail("CBase");
    wide.m_FileObjList.AddTail(pClass);
  }
  wide.LayoutHierarchyChart();
  EXPECT_LE(wide.m_nChartWidth, 32000);
  EXPECT_LE(wide.m_nChartHeight, 32000);
  EXPECT_LE(static_cast<long long>(wide.m_nChartWidth) * wide.m_nChartHeight, 48LL * 1000 * 1000);
  EXPECT_LT(wide.m_nChartBoxesCut, 5000) << "most of the classes are shown";
}
