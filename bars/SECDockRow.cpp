// The arithmetic of a dock row: minimum share, normalised shares, splitter cascades.
#include "bars/SECDockRow.h"

#include <algorithm>

namespace sec_dock {

float MinimumShare(int length) {
  if (length <= 0) return 0.05f;
  float share = static_cast<float>(kMinBarLength) / static_cast<float>(length);
  return share >= 1.0f ? 1.0f : share;
}

void NormalizeShares(std::vector<float>& shares, int kept, float minShare) {
  if (kept >= 0 && (kept >= static_cast<int>(shares.size()) || shares[static_cast<size_t>(kept)] >= kMaxShare)) kept = -1;
  float keptSum = 0.0f, others = 0.0f;
  for (size_t i = 0; i < shares.size(); ++i) {
    if (static_cast<int>(i) == kept) {
      shares[i] = std::min(std::max(shares[i], minShare), kMaxShare);
      keptSum += shares[i];
    } else {
      others += shares[i];
    }
  }
  if (keptSum > 0.0f) {
    float factor;
    if (others > 0.0f) {
      keptSum = std::min(keptSum, kMaxShare);
      if (others == keptSum)
        factor = 1.0f;
      else if (others > keptSum)
        factor = others / (others - keptSum);
      else
        factor = others / (1.0f - keptSum);  // the kept bar ends at its own share
    } else {
      factor = 1.0f / keptSum;
    }
    float& share = shares[static_cast<size_t>(kept)];
    share = std::max(share * factor, minShare);
    others += share;
  }
  if (others > 0.0f)
    for (float& share : shares) share = std::max(share / others, minShare);
}

int MoveRowSplitter(std::vector<int>& lengths, int index, int distance) {
  const int n = static_cast<int>(lengths.size());
  if (index < 0 || index + 1 >= n || distance == 0) return 0;
  const int grower = distance > 0 ? index : index + 1;
  const int step = distance > 0 ? 1 : -1;
  int wanted = distance > 0 ? distance : -distance;
  // What the bars on the giving side can give, nearest first.
  int paid = 0;
  for (int i = distance > 0 ? index + 1 : index; i >= 0 && i < n && paid < wanted; i += step) {
    int give = std::min(wanted - paid, std::max(lengths[static_cast<size_t>(i)] - kMinBarLength, 0));
    lengths[static_cast<size_t>(i)] -= give;
    paid += give;
  }
  lengths[static_cast<size_t>(grower)] += paid;
  return distance > 0 ? paid : -paid;
}

}  // namespace sec_dock
