// The file layer's fault seam: one hook slot, read under a lock by each step that changes a disk.
#include "os/FileFaults.h"

#include <atomic>
#include <mutex>
#include <utility>

namespace brambolt {

namespace {

struct HookSlot {
  std::mutex mutex;
  FileFaultHook hook;
  std::atomic<bool> installed{false};  // lets the steps skip the lock when no test asks
};

HookSlot& Slot() {
  static HookSlot slot;
  return slot;
}

}  // namespace

ScopedFileFaultHook::ScopedFileFaultHook(FileFaultHook hook) {
  HookSlot& slot = Slot();
  std::lock_guard<std::mutex> lock(slot.mutex);
  m_previous = std::exchange(slot.hook, std::move(hook));
  slot.installed = static_cast<bool>(slot.hook);
}

ScopedFileFaultHook::~ScopedFileFaultHook() {
  HookSlot& slot = Slot();
  std::lock_guard<std::mutex> lock(slot.mutex);
  slot.hook = std::move(m_previous);
  slot.installed = static_cast<bool>(slot.hook);
}

int FileFault(FileStep step, const std::string& nativePath) {
  HookSlot& slot = Slot();
  if (!slot.installed.load(std::memory_order_relaxed)) return 0;
  FileFaultHook hook;
  {
    std::lock_guard<std::mutex> lock(slot.mutex);
    hook = slot.hook;
  }
  return hook ? hook(step, nativePath) : 0;
}

}  // namespace brambolt
