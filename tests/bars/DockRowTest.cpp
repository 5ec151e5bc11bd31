// The arithmetic of a dock row: minimum shares, normalising with a kept bar, expanding and
// evening out, and splitter cascades with their floor.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "bars/SECDockRow.h"

using namespace sec_dock;

TEST(DockRow, MinimumShareIsEighteenPixelsOfTheRow) {
  struct Case {
    int length;
    float share;
  } cases[] = {{0, 0.05f}, {-5, 0.05f}, {10, 1.0f}, {18, 1.0f}, {36, 0.5f}, {360, 0.05f}, {1800, 0.01f}};
  for (const Case& c : cases) EXPECT_FLOAT_EQ(MinimumShare(c.length), c.share) << c.length;
}

TEST(DockRow, NormalizeKeepsTheChangedBarAndSharesTheRest) {
  struct Case {
    const char* what;
    std::vector<float> in;
    int kept;
    std::vector<float> out;
  } cases[] = {
      {"contract two", {0.1f, 0.1f}, 0, {0.5f, 0.5f}},
      {"contract three from the pressed bar", {0.1f, 0.1f, 0.1f}, 1, {0.25f, 0.5f, 0.25f}},
      {"expand", {0.0f, 1.0f, 0.0f}, 1, {0.01f, 1.0f, 0.01f}},
      {"a resized bar keeps its share", {0.5f, 0.3f, 0.5f}, 1, {0.35f, 0.3f, 0.35f}},
      {"no kept bar: scaled to one", {1.0f, 1.0f, 2.0f}, -1, {0.25f, 0.25f, 0.5f}},
      {"kept bar larger than the others together", {0.2f, 0.5f}, 1, {0.5f, 0.5f}},
      {"kept bar alone", {0.4f}, 0, {1.0f}},
  };
  for (const Case& c : cases) {
    std::vector<float> shares = c.in;
    NormalizeShares(shares, c.kept, 0.01f);
    ASSERT_EQ(shares.size(), c.out.size());
    for (size_t i = 0; i < shares.size(); ++i) EXPECT_NEAR(shares[i], c.out[i], 1e-5) << c.what << " bar " << i;
  }
}

TEST(DockRow, SharesNeverFallBelowTheMinimum) {
  std::vector<float> shares{0.999f, 0.0005f, 0.0005f};
  NormalizeShares(shares, -1, 0.05f);
  for (float share : shares) EXPECT_GE(share, 0.05f);
  // A kept share above the cap counts as an ordinary bar (an expanded one).
  std::vector<float> expanded{0.97f, 0.2f};
  NormalizeShares(expanded, 0, 0.05f);
  EXPECT_NEAR(expanded[0] + expanded[1], 1.0f, 1e-5);
  EXPECT_GT(expanded[0], expanded[1]);
}

TEST(DockRow, SplitterMovesCascadeAndStopAtTheFloor) {
  struct Case {
    const char* what;
    std::vector<int> in;
    int index, distance;
    std::vector<int> out;
    int applied;
  } cases[] = {
      {"grow the first bar", {100, 100, 100}, 0, 30, {130, 70, 100}, 30},
      {"the next bar gives way too", {100, 40, 100}, 0, 50, {150, 18, 72}, 50},
      {"every later bar at the floor", {100, 20, 20}, 0, 50, {104, 18, 18}, 4},
      {"move back: the bar after grows", {100, 100, 100}, 1, -30, {100, 70, 130}, -30},
      {"move back cascades to the first", {40, 30, 100}, 1, -40, {18, 18, 134}, -34},
      {"no move", {100, 100}, 0, 0, {100, 100}, 0},
      {"last splitter does not exist", {100, 100}, 1, 10, {100, 100}, 0},
  };
  for (const Case& c : cases) {
    std::vector<int> lengths = c.in;
    const int total = std::accumulate(lengths.begin(), lengths.end(), 0);
    EXPECT_EQ(MoveRowSplitter(lengths, c.index, c.distance), c.applied) << c.what;
    EXPECT_EQ(lengths, c.out) << c.what;
    EXPECT_EQ(std::accumulate(lengths.begin(), lengths.end(), 0), total) << c.what;
  }
}
