// SECRandom: seeding of the runtime's generator.
#include "foundation/SECRandom.h"

#include <cstdlib>
#include <ctime>

IMPLEMENT_DYNCREATE(SECRandom, CObject)

SECRandom::SECRandom(UINT nSeed)
    : m_nLowerBound(0),
      m_nUpperBound(32767),
      m_nSeed(nSeed != 0 ? nSeed : static_cast<UINT>(std::time(nullptr))),
      m_dScale(1.0),
      m_pBlock(nullptr) {
  std::srand(m_nSeed);
  // The second seed mixes in the first draw, so nearby seeds start far apart.
  std::srand((m_nSeed << 8) + static_cast<UINT>(std::rand() & 255));
}

SECRandom::~SECRandom() { delete[] m_pBlock; }
