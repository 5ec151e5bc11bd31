// The kernel-handle table.
#include "os/KernelObject.h"

#include <mutex>
#include <unordered_map>

namespace brambolt {

namespace {

struct HandleTable {
  std::mutex mutex;
  std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> objects;
  // Handle values step by 4 as on Windows and are never reused, so a stale handle fails.
  std::uintptr_t next = 0x1000;
};

HandleTable& Table() {
  static HandleTable table;
  return table;
}

}  // namespace

HANDLE AllocHandle(std::shared_ptr<KernelObject> object) {
  if (!object) return nullptr;
  HandleTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  const std::uintptr_t value = table.next;
  table.next += 4;
  table.objects.emplace(value, std::move(object));
  return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> LookupHandle(HANDLE handle) {
  HandleTable& table = Table();
  std::lock_guard<std::mutex> lock(table.mutex);
  auto it = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == table.objects.end() ? nullptr : it->second;
}

std::shared_ptr<KernelObject> ReleaseHandle(HANDLE handle, bool (*accept)(const KernelObject&)) {
  HandleTable& table = Table();
  std::shared_ptr<KernelObject> object;
  {
    std::lock_guard<std::mutex> lock(table.mutex);
    auto it = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == table.objects.end() || (accept && !accept(*it->second))) return nullptr;
    object = std::move(it->second);
    table.objects.erase(it);
  }
  return object;
}

}  // namespace brambolt
