// SECRandom: seeds the C runtime's random-number generator from a given seed or the clock.
#pragma once

#include "base/base.h"
#include "core/CObject.h"

class SECRandom : public CObject {
  DECLARE_DYNCREATE(SECRandom)

 public:
  // A seed of 0 takes the current time. Two objects made with the same non-zero seed leave the
  // runtime's generator (srand/rand) in the same state.
  explicit SECRandom(UINT nSeed = 0);
  ~SECRandom() override;

  int m_nLowerBound;
  int m_nUpperBound;
  UINT m_nSeed;
  double m_dScale;
  // Owned; freed with delete[] by the destructor.
  BYTE* m_pBlock;
};
