// The arithmetic of a dock row on plain numbers: the minimum share, normalising the shares of a
// row so they add up to one while the bar just changed keeps its own, and the cascade of a
// splitter moved between bars of a row.
#pragma once

#include <vector>

namespace sec_dock {

// No bar of a row gets fewer pixels than this, nor may a splitter squeeze it below kTrackFloor.
constexpr int kMinBarLength = 18;
constexpr int kTrackFloor = 24;
// A row's splitters are this thick; the edge along the frame side of a row is kEdge thick.
constexpr int kSplitter = 6;
constexpr int kEdge = 2;
// Between-rows splitters stop this far from the next row or the frame's client area.
constexpr int kRowTrackFloor = 19;
// A share at or above this is "the whole row" (an expanded bar).
constexpr float kMaxShare = 0.95f;

// 18 pixels' worth of a row of `length` pixels: 0.05 when the length is not positive, 1.0 when
// 18 pixels are the whole row or more.
float MinimumShare(int length);

// Makes the shares add up to one (each at least minShare) while the share of shares[kept] is
// kept as it is (kept -1: no such bar). A kept share of kMaxShare or more counts as an ordinary
// one, so an expanded bar takes the row and the others the minimum.
void NormalizeShares(std::vector<float>& shares, int kept, float minShare);

// A splitter after bar `index` of a row moved by `distance` pixels: the bar before it grows
// (distance > 0), the bars after it, nearest first, give up what it took until it is paid, none
// going below kMinBarLength; a negative distance works the other way round. `lengths` change
// in place; returns the distance actually applied.
int MoveRowSplitter(std::vector<int>& lengths, int index, int distance);

}  // namespace sec_dock
