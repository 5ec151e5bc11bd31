// The per-thread registry of handle maps and the temporary-map lock count.
#include "afx/HandleMap.h"

#include <algorithm>
#include <vector>

namespace brambolt::afx {
namespace {

struct ThreadMaps {
  std::vector<TempMapBase*> maps;
  int lockCount = 0;
};

ThreadMaps& CurrentThreadMaps() { return ThreadLocalInstance<ThreadMaps, ThreadMaps>::Get(); }

}  // namespace

TempMapBase::TempMapBase() { CurrentThreadMaps().maps.push_back(this); }

TempMapBase::~TempMapBase() {
  auto& maps = CurrentThreadMaps().maps;
  maps.erase(std::remove(maps.begin(), maps.end(), this), maps.end());
}

void DeleteAllTempMaps() {
  // Copied: deleting a wrapper may bring a map of another kind into being.
  std::vector<TempMapBase*> maps = CurrentThreadMaps().maps;
  for (TempMapBase* map : maps) map->DeleteTemp();
}

size_t TemporaryObjectCount() {
  size_t count = 0;
  for (const TempMapBase* map : CurrentThreadMaps().maps) count += map->TemporaryCount();
  return count;
}

}  // namespace brambolt::afx

void AfxLockTempMaps() { ++brambolt::afx::CurrentThreadMaps().lockCount; }

BOOL AfxUnlockTempMaps(BOOL bDeleteTemps) {
  int& count = brambolt::afx::CurrentThreadMaps().lockCount;
  if (count > 0) --count;
  if (count != 0) return FALSE;
  if (bDeleteTemps) brambolt::afx::DeleteAllTempMaps();
  return TRUE;
}
