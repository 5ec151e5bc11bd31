// The hierarchy chart: every class of the project as a box in an indented outline of class trees
// under the project title, laid out, drawn off-screen and saved as "A_Hierarchy_Chart.bmp".
#include <algorithm>
#include <vector>

#include "foundation/SECDib.h"
#include "model/CWorkSpaceObj.h"
#include "model/DiagramCanvas.h"
#include "model/DocOutput.h"

namespace {

constexpr int kRootWidth = 180;
constexpr int kBoxHeight = 20;
constexpr int kIndent = 20;          // a subclass column right of its class
constexpr int kPitch = 30;           // from one box's top to the next one's
constexpr int kColumnBoxes = 7;      // subclasses in a column before it breaks
constexpr int kTreeGap = 40;         // between trees and between broken columns
constexpr int kRowGap = 30;          // above each row of small trees or single classes
constexpr int kSingleStep = 220;     // from one single class to the next
constexpr int kLargeTree = 7;        // direct subclasses of a tree that stands at the top
constexpr int kTitleBottom = 50;     // the lowest edge before any box
constexpr int kMargin = 60;
constexpr int kBandSlack = 4;        // a line's width beyond its coordinates; a box's shadow adds its size
// The largest chart written, well inside what the program's picture view opens: at most this many
// pixels a side and in all. What a larger layout holds beyond it is left out, and counted.
constexpr int kMaxChartSide = 32000;
constexpr long long kMaxChartPixels = 48LL * 1000 * 1000;
constexpr long long kMaxBandPixels = 4LL * 1000 * 1000;  // drawn at once

// The first row holds 4 trees or boxes, every later one 5.
bool StartsNewRow(int nIndex) { return nIndex > 0 && nIndex % 5 == 4; }

}  // namespace

void CWorkSpaceObj::MeasureChartBox() {
  int nWidth = kRootWidth;
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;)
    nWidth = std::max(nWidth, MeasurePictureName(m_hBoxFont, m_FileObjList.GetNext(pos)->m_strClassName) + 20);
  m_nBoxWidth = nWidth;
  m_nBoxHeight = kBoxHeight;
}

int CWorkSpaceObj::LayoutChartSubtree(const CString& strName, const CRect& rcParent, CStringList& path, CRect& rcTree) {
  CFileObjList children;
  GetChartChildren(children, strName);
  int nLowestTop = rcParent.top;
  int x = rcParent.left + kIndent;
  int y = rcParent.top + kPitch;
  CPoint ptLine(x - 10, rcParent.bottom);  // where the next connector starts
  int nInColumn = 0;
  // So many subclasses that columns of 7 would run past the widest chart: the columns grow
  // longer instead, as many as fit side by side.
  const int nFit = std::max(1, (kMaxChartSide - kMargin - x) / (m_nBoxWidth + kTreeGap));
  const int nColumnBoxes = std::max(kColumnBoxes, static_cast<int>((children.GetCount() + nFit - 1) / nFit));
  for (POSITION pos = children.GetHeadPosition(); pos != nullptr;) {
    const CString strChild = children.GetNext(pos)->m_strClassName;
    if (nInColumn == nColumnBoxes) {
      // A new column right of everything so far, joined to the parent's line just below the parent.
      x = rcTree.right + kTreeGap;
      y = rcParent.top + kPitch;
      const int yJoin = rcParent.bottom + 5;
      m_ChartLines.emplace_back(CPoint(rcParent.left + kIndent - 10, yJoin), CPoint(x - 10, yJoin));
      ptLine = CPoint(x - 10, yJoin);
      nInColumn = 0;
    }
    const CRect rcBox(x, y, x + m_nBoxWidth, y + m_nBoxHeight);
    m_ChartBoxes.push_back({strChild, rcBox, FALSE});
    const int yMiddle = rcBox.top + rcBox.Height() / 2;
    m_ChartLines.emplace_back(ptLine, CPoint(ptLine.x, yMiddle));
    m_ChartLines.emplace_back(CPoint(ptLine.x, yMiddle), CPoint(rcBox.left, yMiddle));
    ptLine.y = yMiddle;
    rcTree.UnionRect(&rcTree, &rcBox);
    ++nInColumn;
    int nSubtreeTop = rcBox.top;
    if (path.Find(strChild) == nullptr) {
      path.AddTail(strChild);
      nSubtreeTop = LayoutChartSubtree(strChild, rcBox, path, rcTree);
      path.RemoveTail();
    }
    nLowestTop = std::max(nLowestTop, nSubtreeTop);
    y = nSubtreeTop + kPitch;
  }
  return nLowestTop;
}

CSize CWorkSpaceObj::LayoutHierarchyChart() {
  m_ChartBoxes.clear();
  m_ChartLines.clear();
  MeasureChartBox();
  BuildRootClassList();
  SortNamesByDescendants(m_RootClassList);
  m_pChartChildren = IndexChartChildren();
  struct IndexDone {
    std::shared_ptr<ChartChildren>& index;
    ~IndexDone() { index.reset(); }
  } indexDone{m_pChartChildren};

  CStringList largeTrees, smallTrees, singles;
  for (POSITION pos = m_RootClassList.GetHeadPosition(); pos != nullptr;) {
    const CString& strRoot = m_RootClassList.GetNext(pos);
    CFileObjList children;
    GetChartChildren(children, strRoot);
    const INT_PTR nChildren = children.GetCount();
    (nChildren >= kLargeTree ? largeTrees : nChildren > 0 ? smallTrees : singles).AddTail(strRoot);
  }

  int nRight = 0;
  int nBottom = kTitleBottom;
  auto layOutTree = [&](const CString& strRoot, int x, int y) {
    const CRect rcRoot(x, y, x + kRootWidth, y + kBoxHeight);
    m_ChartBoxes.push_back({strRoot, rcRoot, TRUE});
    CRect rcTree = rcRoot;
    CStringList path;
    path.AddTail(strRoot);
    LayoutChartSubtree(strRoot, rcRoot, path, rcTree);
    nRight = std::max(nRight, static_cast<int>(rcTree.right));
    nBottom = std::max(nBottom, static_cast<int>(rcTree.bottom));
    return rcTree;
  };

  // A tree that would reach past the widest chart, right of others, starts a new band of trees
  // below everything so far (at xStart); y follows the band.
  auto layOutTreeInBand = [&](const CString& strRoot, int x, int& y, int xStart) {
    const size_t nBoxes = m_ChartBoxes.size(), nLines = m_ChartLines.size();
    const int nRightBefore = nRight, nBottomBefore = nBottom;
    CRect rcTree = layOutTree(strRoot, x, y);
    if (rcTree.right + kMargin > kMaxChartSide && x > xStart) {
      m_ChartBoxes.resize(nBoxes);
      m_ChartLines.resize(nLines);
      nRight = nRightBefore;
      nBottom = nBottomBefore;
      y = nBottom + kRowGap;
      rcTree = layOutTree(strRoot, xStart, y);
    }
    return rcTree;
  };

  int x = 40;
  int y = 50;
  for (POSITION pos = largeTrees.GetHeadPosition(); pos != nullptr;)
    x = layOutTreeInBand(largeTrees.GetNext(pos), x, y, 40).right + kTreeGap;

  int nIndex = 0;
  y = nBottom + kRowGap;
  x = 20;
  for (POSITION pos = smallTrees.GetHeadPosition(); pos != nullptr; ++nIndex) {
    if (StartsNewRow(nIndex)) {
      x = 20;
      y = nBottom + kRowGap;
    }
    x = layOutTreeInBand(smallTrees.GetNext(pos), x, y, 20).right + kTreeGap;
  }

  nIndex = 0;
  y = nBottom + kRowGap;
  x = 20;
  for (POSITION pos = singles.GetHeadPosition(); pos != nullptr; ++nIndex, x += kSingleStep) {
    if (StartsNewRow(nIndex)) {
      x = 20;
      y = nBottom + kRowGap;
    }
    layOutTree(singles.GetNext(pos), x, y);
  }

  const CSize layout(nRight + kMargin, nBottom + kMargin);
  m_nChartWidth = std::max(800, static_cast<int>(layout.cx));
  m_nChartHeight = layout.cy + 20;
  // A chart larger than a picture may be is cut to that size; the boxes left out are counted.
  m_nChartWidth = std::min(m_nChartWidth, kMaxChartSide);
  m_nChartHeight = static_cast<int>(
      std::min<long long>({m_nChartHeight, kMaxChartSide, kMaxChartPixels / std::max(1, m_nChartWidth)}));
  m_nChartBoxesCut = 0;
  for (const ChartBox& box : m_ChartBoxes)
    if (box.rect.right > m_nChartWidth || box.rect.bottom > m_nChartHeight) ++m_nChartBoxesCut;
  return layout;
}

void CWorkSpaceObj::DrawChartBox(CDC& dc, const RECT& rcBox, CString strName, BOOL bRoot) {
  DrawDiagramBox(dc, CRect(rcBox), strName, bRoot ? m_crBaseClass : m_crDerivedClass, *this);
}

void CWorkSpaceObj::DrawHierarchyChartBoxes(CDC& dc, const CRect* pBand) {
  // What reaches into the band: a box with its shadow, a line with its width.
  const int nSlack = kBandSlack + std::max(0, GetShadowSize());
  auto reaches = [pBand, nSlack](int nTop, int nBottom) {
    return pBand == nullptr || (nBottom + nSlack > pBand->top && nTop - nSlack < pBand->bottom);
  };
  dc.SetBkMode(TRANSPARENT);
  const HGDIOBJ hOldFont = dc.SelectObject(static_cast<HGDIOBJ>(m_hTitleFont));
  // The title may use the chart's whole width.
  CRect rcTitle(10, 0, m_nChartWidth, 40);
  if (reaches(rcTitle.top, rcTitle.bottom))
    dc.DrawText(m_strProjectTitle, &rcTitle, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  CPen pen;
  pen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  CPen* pOldPen = dc.SelectObject(&pen);
  for (const auto& line : m_ChartLines) {
    if (!reaches(std::min(line.first.y, line.second.y), std::max(line.first.y, line.second.y))) continue;
    dc.MoveTo(line.first);
    dc.LineTo(line.second);
  }
  dc.SelectObject(pOldPen);
  dc.SelectObject(static_cast<HGDIOBJ>(m_hBoxFont));
  for (const ChartBox& box : m_ChartBoxes)
    if (reaches(box.rect.top, box.rect.bottom)) DrawChartBox(dc, box.rect, box.strName, box.bRoot);
  dc.SelectObject(hOldFont);
}

BOOL CWorkSpaceObj::DrawHierarchyChart(kelpwood::foundation::SECImage& image) {
  m_ChartLayoutSize = LayoutHierarchyChart();
  DiagramCanvas canvas(m_nChartWidth, m_nChartHeight, m_crChartBack);
  if (!canvas.IsValid()) return FALSE;
  DrawHierarchyChartBoxes(canvas.GetDC());
  return canvas.CopyTo(image);
}

BOOL CWorkSpaceObj::WriteHierarchyChartImage(CString strPath, int nBandHeight) {
  CString strName;
  const OutputFolder folder = OutputFolder::OpenFolderOf(strPath, strName);
  return WriteHierarchyChartImage(folder, strName, nBandHeight);
}

BOOL CWorkSpaceObj::WriteHierarchyChartImage(const OutputFolder& folder, const CString& strName, int nBandHeight) {
  m_ChartLayoutSize = LayoutHierarchyChart();
  const int nWidth = m_nChartWidth, nHeight = m_nChartHeight;
  const int nBand = static_cast<int>(
      std::max<long long>(1, std::min<long long>({nBandHeight, nHeight, kMaxBandPixels / std::max(1, nWidth)})));
  DiagramCanvas canvas(nWidth, nBand, m_crChartBack);
  if (!canvas.IsValid()) return FALSE;
  const unsigned long long stride = (static_cast<unsigned long long>(nWidth) * 3 + 3) / 4 * 4;
  const unsigned long long imageBytes = stride * static_cast<unsigned long long>(nHeight);
  if (imageBytes + 54 > 0xFFFFFFFFull) return FALSE;  // the file header's size field
  OutputFile file = folder.CreateFile(strName);
  if (!file.IsOpen()) return FALSE;
  // BITMAPFILEHEADER and BITMAPINFOHEADER, little-endian field by field.
  BYTE header[54] = {'B', 'M'};
  auto put = [&header](int at, unsigned long long value, int size) {
    for (int i = 0; i < size; ++i) header[at + i] = static_cast<BYTE>(value >> (8 * i));
  };
  put(2, imageBytes + 54, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<unsigned long long>(nWidth), 4);
  put(22, static_cast<unsigned long long>(nHeight), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  put(34, imageBytes, 4);
  BOOL bWritten = file.Write(header, sizeof header);
  // The file holds the bottom row first: the bands are drawn from the bottom of the chart up.
  CDC& dc = canvas.GetDC();
  std::vector<BYTE> rows;
  for (int nBottom = nHeight; nBottom > 0 && bWritten;) {
    const int nTop = std::max(0, nBottom - nBand);
    const int nRows = nBottom - nTop;
    dc.SetViewportOrg(0, 0);
    dc.FillSolidRect(0, 0, nWidth, nBand, m_crChartBack);
    dc.SetViewportOrg(0, -nTop);
    const CRect rcBand(0, nTop, nWidth, nBottom);
    DrawHierarchyChartBoxes(dc, &rcBand);
    dc.SetViewportOrg(0, 0);
    bWritten = canvas.ReadRows24(0, nRows, rows);
    bWritten = bWritten && file.Write(rows.data(), rows.size());
    nBottom = nTop;
  }
  bWritten = file.Close() && bWritten;
  if (!bWritten) folder.Remove(strName);
  return bWritten;
}

BOOL CWorkSpaceObj::SaveHierarchyChartBitmap(CString strImageFolder) {
  return WriteHierarchyChartImage(strImageFolder + "A_Hierarchy_Chart.bmp");
}
