// SetCursor, ShowCursor and LoadCursor of the standard shapes; the backend shows the cursor.
#include "win/Cursors.h"

#include <atomic>
#include <mutex>

#include "win/Backend.h"

namespace brambolt {
namespace {

constexpr int kIds[] = {32512, 32513, 32514, 32515, 32516, 32640, 32641, 32642,
                        32643, 32644, 32645, 32646, 32648, 32649, 32650, 32651};

std::atomic<CursorResourceLoader> g_loader{nullptr};
std::mutex g_mutex;
HCURSOR g_current = nullptr;
int g_showCount = 0;

}  // namespace

int StandardCursorId(HCURSOR cursor) {
  if (cursor == nullptr) return 0;
  for (int id : kIds)
    if (GetStandardCursor(MAKEINTRESOURCE(id)) == cursor) return id;
  return 0;
}

void SetCursorResourceLoader(CursorResourceLoader loader) { g_loader.store(loader); }

int CursorShowCount() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_showCount;
}

}  // namespace brambolt

using namespace brambolt;

HCURSOR LoadCursor(HINSTANCE instance, LPCSTR name) {
  if (instance == nullptr) return IS_INTRESOURCE(name) ? GetStandardCursor(name) : nullptr;
  CursorResourceLoader loader = g_loader.load();
  return loader ? loader(instance, name) : nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR old;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    old = g_current;
    g_current = cursor;
  }
  if (old != cursor) GetBackend().SetCursor(cursor);
  return old;
}

HCURSOR GetCursor() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_current;
}

int ShowCursor(BOOL show) {
  int count;
  bool changed;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    int before = g_showCount;
    g_showCount += show ? 1 : -1;
    count = g_showCount;
    changed = (before >= 0) != (count >= 0);
  }
  if (changed) GetBackend().ShowCursor(count >= 0);
  return count;
}
