// The hierarchy chart: every class of the project as a box in an indented outline of class trees
// under the project title, laid out, drawn off-screen and saved as "A_Hierarchy_Chart.bmp".
#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "foundation/SECDib.h"
#include "model/CWorkSpaceObj.h"
#include "model/DiagramCanvas.h"
#include "model/DocOutput.h"
#include "model/DocPages.h"

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

// Past this many boxes for each class and each base link, a class already laid out under one
// base is shown under the others as its box alone: N classes each deriving from the two before
// would otherwise unfold into a number of boxes that doubles with every class.
constexpr long long kBoxesPerClassAndLink = 4;
// The column heights tried, beside columns of 7, when a chart too large for a picture is packed.
constexpr int kPackedColumnHeights[] = {0, 8000, 4000, 2000, 1000};
constexpr int kPackedWidthSteps = 48;  // widths tried for the packed chart's rows
// In a packed chart a subclass this far right of its tree's root starts a tree of its own, which
// goes on with its subclasses: a deep hierarchy does not run down a diagonal as wide as it is deep.
constexpr int kPackedIndent = 600;

// The first row holds 4 trees or boxes, every later one 5.
bool StartsNewRow(int nIndex) { return nIndex > 0 && nIndex % 5 == 4; }

std::string NameKey(const CString& str) {
  return std::string(static_cast<LPCTSTR>(str), static_cast<size_t>(str.GetLength()));
}

// The picture a layout of this size gives: at least 800 wide and 20 below the layout.
CSize ChartSizeOf(CSize layout) { return CSize(std::max(800, static_cast<int>(layout.cx)), layout.cy + 20); }

// The part of a chart a picture may hold: at most kMaxChartSide a side and kMaxChartPixels in all,
// the height giving way first.
CSize PictureSizeOf(CSize chart) {
  const int nWidth = std::min(static_cast<int>(chart.cx), kMaxChartSide);
  const int nHeight = static_cast<int>(
      std::min<long long>({chart.cy, kMaxChartSide, kMaxChartPixels / std::max(1, nWidth)}));
  return CSize(nWidth, nHeight);
}

bool LiesBeyond(const CRect& rc, CSize picture) { return rc.right > picture.cx || rc.bottom > picture.cy; }

}  // namespace

struct CWorkSpaceObj::ChartWalk {
  std::unordered_set<std::string> path;      // the names from the tree's root down
  std::unordered_set<std::string> entered;   // names whose subclasses were laid out
  std::vector<std::string> enteredInOrder;   // the same, so a tree laid out again can be taken back
  size_t nBoxBudget = 0;                     // boxes past which repeats are shown as one box
  bool bOmitRepeats = false;                 // a class with a box already gets no other
  int nRepeatsShort = 0;                     // repeats shown without their subclasses
  int nRepeatsLeftOut = 0;                   // repeats not shown at all
  int nRepeatsMet = 0;                       // subclasses met that had a box already
  int nColumnHeight = 0;                     // 0, or the height past which a column also breaks
  int nIndentLimit = 0;                      // 0, or how far right of x 0 a subclass goes on alone
  std::vector<CString> goingOn;              // such subclasses, in the order met
  std::unordered_map<std::string, int> nameWidths;  // each class name's box width

  // What the layout held before a tree, to take the tree back.
  struct Mark {
    size_t nBoxes, nLines, nEntered, nGoingOn;
    int nRepeatsShort, nRepeatsLeftOut;
  };
  Mark Take(const CWorkSpaceObj& project) const {
    return {project.m_ChartBoxes.size(), project.m_ChartLines.size(), enteredInOrder.size(), goingOn.size(),
            nRepeatsShort, nRepeatsLeftOut};
  }
  void Undo(CWorkSpaceObj& project, const Mark& mark) {
    project.m_ChartBoxes.resize(mark.nBoxes);
    project.m_ChartLines.resize(mark.nLines);
    while (enteredInOrder.size() > mark.nEntered) {
      entered.erase(enteredInOrder.back());
      enteredInOrder.pop_back();
    }
    goingOn.resize(mark.nGoingOn);
    nRepeatsShort = mark.nRepeatsShort;
    nRepeatsLeftOut = mark.nRepeatsLeftOut;
  }
  void Enter(const std::string& name) {
    if (entered.insert(name).second) enteredInOrder.push_back(name);
  }
};

namespace {

// The widest box the classes' names ask for (at least a root box's width), each name's width
// kept in the map when there is one.
int MeasureChartNames(const CWorkSpaceObj& project, HFONT hFont, const CFileObjList& classes,
                      std::unordered_map<std::string, int>* pWidths) {
  int nWidth = kRootWidth;
  for (POSITION pos = classes.GetHeadPosition(); pos != nullptr;) {
    const CString& strName = classes.GetNext(pos)->m_strClassName;
    const int nName = MeasurePictureName(hFont, project.ChartName(strName)) + 20;
    nWidth = std::max(nWidth, nName);
    if (pWidths != nullptr) (*pWidths)[NameKey(strName)] = nName;
  }
  return nWidth;
}

}  // namespace

void CWorkSpaceObj::MeasureChartBox() {
  m_nBoxWidth = MeasureChartNames(*this, m_hBoxFont, m_FileObjList, nullptr);
  m_nBoxHeight = kBoxHeight;
}

int CWorkSpaceObj::LayoutChartSubtree(const CString& strName, const CRect& rcParent, ChartWalk& walk, CRect& rcTree) {
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
    AddHierarchySteps(1);
    const std::string child = NameKey(strChild);
    if (walk.path.count(child) != 0 || walk.entered.count(child) != 0) {
      ++walk.nRepeatsMet;
      if (walk.bOmitRepeats) {
        ++walk.nRepeatsLeftOut;
        continue;
      }
    }
    const bool bColumnHigh = walk.nColumnHeight > 0 && y - (rcParent.top + kPitch) >= walk.nColumnHeight;
    if (nInColumn == nColumnBoxes || (bColumnHigh && nInColumn > 0)) {
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
    if (walk.path.count(child) == 0) {
      const bool bFirst = walk.entered.count(child) == 0;
      const bool bFarRight = walk.nIndentLimit > 0 && rcBox.left >= walk.nIndentLimit;
      if (bFarRight && bFirst) {
        // Too far right: the class goes on as a tree of its own (when it has subclasses).
        walk.Enter(child);
        if (HasChartChildren(strChild)) walk.goingOn.push_back(strChild);
      } else if (!bFarRight && (bFirst || m_ChartBoxes.size() < walk.nBoxBudget)) {
        walk.Enter(child);
        walk.path.insert(child);
        nSubtreeTop = LayoutChartSubtree(strChild, rcBox, walk, rcTree);
        walk.path.erase(child);
      } else if (HasChartChildren(strChild)) {
        ++walk.nRepeatsShort;
      }
    }
    nLowestTop = std::max(nLowestTop, nSubtreeTop);
    y = nSubtreeTop + kPitch;
  }
  return nLowestTop;
}

CRect CWorkSpaceObj::LayoutChartTree(const CString& strRoot, int x, int y, ChartWalk& walk, BOOL bGoingOn) {
  const std::string root = NameKey(strRoot);
  // A tree going on from another starts with its class's box, not a root's. A root's box is as
  // wide as its name asks (a base outside the project measured here), so no name is cut off.
  int nRootWidth = m_nBoxWidth;
  if (!bGoingOn) {
    auto it = walk.nameWidths.find(root);
    if (it == walk.nameWidths.end())
      it = walk.nameWidths.emplace(root, MeasurePictureName(m_hBoxFont, ChartName(strRoot)) + 20).first;
    nRootWidth = std::max(kRootWidth, it->second);
  }
  const CRect rcRoot(x, y, x + nRootWidth, y + kBoxHeight);
  AddHierarchySteps(1);
  m_ChartBoxes.push_back({strRoot, rcRoot, !bGoingOn});
  CRect rcTree = rcRoot;
  walk.Enter(root);
  walk.path.insert(root);
  LayoutChartSubtree(strRoot, rcRoot, walk, rcTree);
  walk.path.erase(root);
  return rcTree;
}

CSize CWorkSpaceObj::LayoutChartRows(const ChartRoots& roots, ChartWalk& walk) {
  int nRight = 0;
  int nBottom = kTitleBottom;
  auto layOutTree = [&](const CString& strRoot, int x, int y) {
    const CRect rcTree = LayoutChartTree(strRoot, x, y, walk);
    nRight = std::max(nRight, static_cast<int>(rcTree.right));
    nBottom = std::max(nBottom, static_cast<int>(rcTree.bottom));
    return rcTree;
  };

  // A tree that would reach past the widest chart, right of others, starts a new band of trees
  // below everything so far (at xStart); y follows the band.
  auto layOutTreeInBand = [&](const CString& strRoot, int x, int& y, int xStart) {
    const ChartWalk::Mark before = walk.Take(*this);
    const int nRightBefore = nRight, nBottomBefore = nBottom;
    CRect rcTree = layOutTree(strRoot, x, y);
    if (rcTree.right + kMargin > kMaxChartSide && x > xStart) {
      walk.Undo(*this, before);
      nRight = nRightBefore;
      nBottom = nBottomBefore;
      y = nBottom + kRowGap;
      rcTree = layOutTree(strRoot, xStart, y);
    }
    return rcTree;
  };

  int x = 40;
  int y = 50;
  for (const CString& strRoot : roots.large) x = layOutTreeInBand(strRoot, x, y, 40).right + kTreeGap;

  int nIndex = 0;
  y = nBottom + kRowGap;
  x = 20;
  for (const CString& strRoot : roots.small) {
    if (StartsNewRow(nIndex++)) {
      x = 20;
      y = nBottom + kRowGap;
    }
    x = layOutTreeInBand(strRoot, x, y, 20).right + kTreeGap;
  }

  nIndex = 0;
  y = nBottom + kRowGap;
  x = 20;
  for (const CString& strRoot : roots.singles) {
    if (StartsNewRow(nIndex++)) {
      x = 20;
      y = nBottom + kRowGap;
    }
    // A box wider than the step pushes the next one right of it.
    x = std::max(x + kSingleStep, static_cast<int>(layOutTree(strRoot, x, y).right) + kTreeGap);
  }
  return CSize(nRight + kMargin, nBottom + kMargin);
}

CSize CWorkSpaceObj::LayoutChartPacked(const ChartRoots& roots, ChartWalk& walk) {
  // Each tree laid out on its own from (0, 0), its boxes as wide as its own widest name.
  struct Tree {
    size_t nBox0, nBox1, nLine0, nLine1;
    CRect rc;
  };
  std::vector<Tree> trees;
  const int nBoxWidth = m_nBoxWidth;
  auto layOutTree = [&](const CString& strRoot, BOOL bGoingOn) {
    const ChartWalk::Mark before = walk.Take(*this);
    CRect rc = LayoutChartTree(strRoot, 0, 0, walk, bGoingOn);
    int nWidest = kRootWidth;
    for (size_t i = before.nBoxes + (bGoingOn ? 0 : 1); i < m_ChartBoxes.size(); ++i) {
      const auto it = walk.nameWidths.find(NameKey(m_ChartBoxes[i].strName));
      nWidest = std::max(nWidest, it != walk.nameWidths.end() ? it->second : nBoxWidth);
    }
    if (nWidest < m_nBoxWidth) {
      walk.Undo(*this, before);
      m_nBoxWidth = nWidest;
      rc = LayoutChartTree(strRoot, 0, 0, walk, bGoingOn);
      m_nBoxWidth = nBoxWidth;
    }
    trees.push_back({before.nBoxes, m_ChartBoxes.size(), before.nLines, m_ChartLines.size(), rc});
  };
  for (const std::vector<CString>* pRoots : {&roots.large, &roots.small, &roots.singles})
    for (const CString& strRoot : *pRoots) layOutTree(strRoot, FALSE);
  // The subclasses that went on alone, and those that went on from them.
  for (size_t i = 0; i < walk.goingOn.size(); ++i) layOutTree(CString(walk.goingOn[i]), TRUE);

  // The trees in rows, the highest first, each in the first row with room for it, up to a right
  // edge; of the right edges tried, the one whose picture holds the most boxes in the least area.
  std::vector<size_t> order(trees.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&trees](size_t a, size_t b) { return trees[a].rc.Height() > trees[b].rc.Height(); });
  int nWidest = 0, nNarrowest = kMaxChartSide;
  for (const Tree& tree : trees) {
    nWidest = std::max(nWidest, static_cast<int>(tree.rc.Width()));
    nNarrowest = std::min(nNarrowest, static_cast<int>(tree.rc.Width()));
  }
  constexpr int xStart = 20;
  std::vector<CPoint> places(trees.size());
  auto pack = [&](int nRightLimit) {
    struct Row {
      int nTop, nHeight, x;
    };
    std::vector<Row> open;  // rows with room for the narrowest tree
    int nRight = 0, nBottom = kTitleBottom;
    int yNext = kTitleBottom;
    for (size_t i : order) {
      const CRect& rc = trees[i].rc;
      auto row = std::find_if(open.begin(), open.end(),
                              [&](const Row& r) { return r.x + rc.Width() <= nRightLimit; });
      if (row == open.end()) {
        open.push_back({yNext, static_cast<int>(rc.Height()), xStart});
        yNext += rc.Height() + kRowGap;
        row = open.end() - 1;
      }
      places[i] = CPoint(row->x, row->nTop);
      nRight = std::max(nRight, row->x + static_cast<int>(rc.Width()));
      nBottom = std::max(nBottom, row->nTop + static_cast<int>(rc.Height()));
      row->x += rc.Width() + kTreeGap;
      if (row->x + nNarrowest > nRightLimit) open.erase(row);
    }
    return CSize(nRight + kMargin, nBottom + kMargin);
  };
  // The boxes a picture of the layout holds, counted by whole trees.
  auto boxesHeld = [&](CSize layout) {
    const CSize picture = PictureSizeOf(ChartSizeOf(layout));
    size_t nHeld = 0;
    for (size_t i = 0; i < trees.size(); ++i)
      if (!LiesBeyond(trees[i].rc + (places[i] - trees[i].rc.TopLeft()), picture))
        nHeld += trees[i].nBox1 - trees[i].nBox0;
    return nHeld;
  };
  const int nLow = xStart + nWidest, nHigh = std::max(nLow, kMaxChartSide - kMargin);
  int nBestLimit = nHigh;
  size_t nBestHeld = 0;
  long long nBestArea = -1;
  for (int step = 0; step <= kPackedWidthSteps; ++step) {
    const double dPart = static_cast<double>(step) / kPackedWidthSteps;
    const int nLimit = static_cast<int>(nLow * std::pow(static_cast<double>(nHigh) / nLow, dPart));
    const CSize layout = pack(nLimit);
    const CSize chart = ChartSizeOf(layout);
    const size_t nHeld = boxesHeld(layout);
    const long long nArea = static_cast<long long>(chart.cx) * chart.cy;
    if (nHeld > nBestHeld || (nHeld == nBestHeld && (nBestArea < 0 || nArea < nBestArea))) {
      nBestLimit = nLimit;
      nBestHeld = nHeld;
      nBestArea = nArea;
    }
  }
  const CSize layout = pack(nBestLimit);
  for (size_t i = 0; i < trees.size(); ++i) {
    const CSize offset(places[i].x - trees[i].rc.left, places[i].y - trees[i].rc.top);
    for (size_t b = trees[i].nBox0; b < trees[i].nBox1; ++b) m_ChartBoxes[b].rect += offset;
    for (size_t l = trees[i].nLine0; l < trees[i].nLine1; ++l) {
      m_ChartLines[l].first += offset;
      m_ChartLines[l].second += offset;
    }
  }
  return layout;
}

void CWorkSpaceObj::MakeChartNames(int nLanguage) {
  const DocLanguage language = DocLanguageOf(nLanguage != 0 ? nLanguage : m_nOutputLanguage);
  m_ChartNames.clear();
  auto add = [&](const CString& strName, const TextCodePage& source) {
    const std::string name = NameKey(strName);
    if (m_ChartNames.count(name) == 0) m_ChartNames.emplace(name, PictureText(language, strName, source));
  };
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    const CFileObj* pClass = m_FileObjList.GetNext(pos);
    add(pClass->m_strClassName, pClass->m_codePage);
  }
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;) {
    const CFileObj* pClass = m_FileObjList.GetNext(pos);
    for (POSITION posBase = pClass->m_BaseClassList.GetHeadPosition(); posBase != nullptr;)
      add(pClass->m_BaseClassList.GetNext(posBase), pClass->m_codePage);
  }
}

CString CWorkSpaceObj::ChartName(const CString& strName) const {
  const auto it = m_ChartNames.find(NameKey(strName));
  return it != m_ChartNames.end() ? it->second : strName;
}

CSize CWorkSpaceObj::LayoutHierarchyChart(int nLanguage) {
  m_ChartBoxes.clear();
  m_ChartLines.clear();
  MakeChartNames(nLanguage);
  ChartWalk walk;
  m_nBoxWidth = MeasureChartNames(*this, m_hBoxFont, m_FileObjList, &walk.nameWidths);
  m_nBoxHeight = kBoxHeight;
  BuildRootClassList();
  SortNamesByDescendants(m_RootClassList);
  m_pChartChildren = IndexChartChildren();
  struct IndexDone {
    std::shared_ptr<ChartChildren>& index;
    ~IndexDone() { index.reset(); }
  } indexDone{m_pChartChildren};

  ChartRoots roots;
  for (POSITION pos = m_RootClassList.GetHeadPosition(); pos != nullptr;) {
    const CString& strRoot = m_RootClassList.GetNext(pos);
    CFileObjList children;
    GetChartChildren(children, strRoot);
    const INT_PTR nChildren = children.GetCount();
    (nChildren >= kLargeTree ? roots.large : nChildren > 0 ? roots.small : roots.singles).push_back(strRoot);
  }
  long long nLinks = 0;
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;)
    nLinks += m_FileObjList.GetNext(pos)->m_BaseClassList.GetCount();
  walk.nBoxBudget = static_cast<size_t>(kBoxesPerClassAndLink * (m_FileObjList.GetCount() + nLinks));

  // The names of the classes, each of which is to have a box inside the picture.
  std::unordered_set<std::string> classNames;
  for (POSITION pos = m_FileObjList.GetHeadPosition(); pos != nullptr;)
    classNames.insert(NameKey(m_FileObjList.GetNext(pos)->m_strClassName));

  // A layout is judged by the classes without a box inside its picture, then by the boxes the
  // picture cannot hold; of equal ones the first tried, which shows the most, is kept.
  struct Judged {
    size_t nMissing = 0;
    int nBeyond = 0;
    bool operator<(const Judged& other) const {
      return nMissing != other.nMissing ? nMissing < other.nMissing : nBeyond < other.nBeyond;
    }
  };
  auto judge = [&classNames](const std::vector<ChartBox>& boxes, CSize layout) {
    const CSize picture = PictureSizeOf(ChartSizeOf(layout));
    Judged judged;
    std::unordered_set<std::string> shown;
    for (const ChartBox& box : boxes) {
      if (LiesBeyond(box.rect, picture))
        ++judged.nBeyond;
      else if (const std::string name = NameKey(box.strName); classNames.count(name) != 0)
        shown.insert(name);
    }
    judged.nMissing = classNames.size() - shown.size();
    return judged;
  };

  struct Chosen {
    Judged judged;
    CSize layout;
    int nRepeatsShort = 0, nRepeatsLeftOut = 0;
    std::vector<ChartBox> boxes;
    std::vector<std::pair<CPoint, CPoint>> lines;
  };
  Chosen best;
  bool bChosen = false;
  auto consider = [&](CSize candidate, const ChartWalk& done) {
    const Judged judged = judge(m_ChartBoxes, candidate);
    if (!bChosen || judged < best.judged) {
      bChosen = true;
      best.judged = judged;
      best.layout = candidate;
      best.nRepeatsShort = done.nRepeatsShort;
      best.nRepeatsLeftOut = done.nRepeatsLeftOut;
      best.boxes.swap(m_ChartBoxes);
      best.lines.swap(m_ChartLines);
    }
    m_ChartBoxes.clear();
    m_ChartLines.clear();
    return best.judged.nMissing == 0 && best.judged.nBeyond == 0;
  };

  // Classes under several bases stand whole under each while the boxes stay within the budget;
  // when a picture cannot hold that, the repeats are shown as single boxes; when it cannot hold
  // that either, each class is shown once, under the first of its bases laid out. In each way the
  // chart is laid out in its rows and, when too large for a picture, packed into the picture's
  // area in rows as wide as serves best, the subclass columns also broken by height when that
  // holds more.
  const size_t nBudgets[] = {walk.nBoxBudget, 0, 0};
  for (int nWay = 0; nWay < 3; ++nWay) {
    auto start = [&](ChartWalk& fresh) {
      fresh.nBoxBudget = nBudgets[nWay];
      fresh.bOmitRepeats = nWay == 2;
      fresh.nameWidths = walk.nameWidths;
    };
    ChartWalk rows;
    start(rows);
    if (consider(LayoutChartRows(roots, rows), rows)) break;
    bool bDone = false;
    for (int nColumnHeight : kPackedColumnHeights) {
      ChartWalk packed;
      start(packed);
      packed.nColumnHeight = nColumnHeight;
      packed.nIndentLimit = kPackedIndent;
      if ((bDone = consider(LayoutChartPacked(roots, packed), packed))) break;
    }
    // Without a class shown twice the other ways lay out the same chart.
    if (bDone || rows.nRepeatsMet == 0) break;
  }
  m_ChartBoxes = std::move(best.boxes);
  m_ChartLines = std::move(best.lines);

  const CSize chart = ChartSizeOf(best.layout);
  // A chart larger than a picture may be is cut to that size; the boxes left out are counted.
  const CSize picture = PictureSizeOf(chart);
  m_nChartWidth = picture.cx;
  m_nChartHeight = picture.cy;
  m_nChartBoxesCut = best.judged.nBeyond;
  m_nChartRepeatsShort = best.nRepeatsShort;
  m_nChartRepeatsLeftOut = best.nRepeatsLeftOut;
  return best.layout;
}

void CWorkSpaceObj::DrawChartBox(CDC& dc, const RECT& rcBox, CString strName, BOOL bRoot) {
  DrawDiagramBox(dc, CRect(rcBox), strName, bRoot ? m_crBaseClass : m_crDerivedClass, *this);
}

CString CWorkSpaceObj::ChartTitle(int nLanguage) const {
  // Typed in the program: in its code page, every line of it.
  return PictureText(DocLanguageOf(nLanguage != 0 ? nLanguage : m_nOutputLanguage), m_strProjectTitle,
                     TextCodePage{::GetACP(), true, true});
}

void CWorkSpaceObj::DrawHierarchyChartBoxes(CDC& dc, const CRect* pBand, int nLanguage) {
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
    dc.DrawText(ChartTitle(nLanguage), &rcTitle, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
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
    if (reaches(box.rect.top, box.rect.bottom)) DrawChartBox(dc, box.rect, ChartName(box.strName), box.bRoot);
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

BOOL CWorkSpaceObj::WriteHierarchyChartImage(const OutputFolder& folder, const CString& strName, int nBandHeight,
                                             int nLanguage) {
  m_ChartLayoutSize = LayoutHierarchyChart(nLanguage);
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
    DrawHierarchyChartBoxes(dc, &rcBand, nLanguage);
    dc.SetViewportOrg(0, 0);
    bWritten = canvas.ReadRows24(0, nRows, rows);
    bWritten = bWritten && file.Write(rows.data(), rows.size());
    nBottom = nTop;
  }
  // A chart not written whole is dropped: the chart of the earlier run stays as it was.
  if (!bWritten) {
    file.Discard();
    return FALSE;
  }
  return file.Close();
}

BOOL CWorkSpaceObj::SaveHierarchyChartBitmap(CString strImageFolder) {
  return WriteHierarchyChartImage(strImageFolder + "A_Hierarchy_Chart.bmp");
}
