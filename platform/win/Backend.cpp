// The process's backend and its do-nothing default.
#include "win/Backend.h"

#include <mutex>
#include <vector>

namespace brambolt {
namespace {

struct Current {
  std::mutex mutex;
  std::shared_ptr<Backend> backend = std::make_shared<Backend>();
  // Replaced backends stay alive: a caller may still hold the reference GetBackend gave.
  std::vector<std::shared_ptr<Backend>> retired;
};

Current& State() {
  static Current* current = new Current;
  return *current;
}

}  // namespace

Backend& GetBackend() {
  Current& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  return *s.backend;
}

void SetBackend(std::shared_ptr<Backend> backend) {
  Current& s = State();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.retired.push_back(s.backend);
  s.backend = backend ? std::move(backend) : std::make_shared<Backend>();
}

}  // namespace brambolt
