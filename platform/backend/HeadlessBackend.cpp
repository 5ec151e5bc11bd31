// The headless backend.
#include "backend/HeadlessBackend.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "backend/X11Backend.h"
#include "win/Surfaces.h"

namespace brambolt {

void HeadlessBackend::Present(HWND, const RECT&) {
  std::lock_guard<std::mutex> lock(mutex_);
  ++presents_;
}

void HeadlessBackend::SetCursor(HCURSOR cursor) {
  std::lock_guard<std::mutex> lock(mutex_);
  cursor_ = cursor;
}

void HeadlessBackend::ShowCursor(bool visible) {
  std::lock_guard<std::mutex> lock(mutex_);
  cursorVisible_ = visible;
}

void HeadlessBackend::Bell(UINT type) {
  std::lock_guard<std::mutex> lock(mutex_);
  bells_.push_back(type);
}

void HeadlessBackend::Flash(HWND topLevel, bool on) {
  std::lock_guard<std::mutex> lock(mutex_);
  flashes_.emplace_back(topLevel, on);
}

void HeadlessBackend::ClipboardChanged() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++clipboardChanges_;
  hasForeignText_ = false;
}

bool HeadlessBackend::ForeignClipboardText(std::string& utf8) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!hasForeignText_) return false;
  utf8 = foreignText_;
  return true;
}

std::unique_ptr<Surface> HeadlessBackend::Screen() const {
  auto out = std::make_unique<Surface>(1, 1);
  ComposeScreen(*out);
  return out;
}

bool HeadlessBackend::HasInputMethod() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return inputMethod_;
}

void HeadlessBackend::PlaceComposition(HWND topLevel, POINT spot, const RECT& area) {
  std::lock_guard<std::mutex> lock(mutex_);
  composition_.topLevel = topLevel;
  composition_.spot = spot;
  composition_.area = area;
}

void HeadlessBackend::SetCompositionFont(HWND topLevel, const std::string& face, int height) {
  std::lock_guard<std::mutex> lock(mutex_);
  composition_.topLevel = topLevel;
  composition_.face = face;
  composition_.height = height;
}

void HeadlessBackend::SetInputMethod(bool on) {
  std::lock_guard<std::mutex> lock(mutex_);
  inputMethod_ = on;
  composition_ = CompositionWindow{};
}

HeadlessBackend::CompositionWindow HeadlessBackend::Composition() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return composition_;
}

std::vector<UINT> HeadlessBackend::Bells() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return bells_;
}

std::vector<std::pair<HWND, bool>> HeadlessBackend::Flashes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return flashes_;
}

HCURSOR HeadlessBackend::Cursor() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return cursor_;
}

bool HeadlessBackend::CursorVisible() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return cursorVisible_;
}

int HeadlessBackend::Presents() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return presents_;
}

int HeadlessBackend::ClipboardChanges() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return clipboardChanges_;
}

void HeadlessBackend::SetForeignClipboardText(std::string utf8) {
  std::lock_guard<std::mutex> lock(mutex_);
  foreignText_ = std::move(utf8);
  hasForeignText_ = true;
}

void HeadlessBackend::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  bells_.clear();
  flashes_.clear();
  presents_ = 0;
  clipboardChanges_ = 0;
  hasForeignText_ = false;
}

std::shared_ptr<Backend> InstallBackendFromEnvironment() {
  std::shared_ptr<Backend> backend;
  if (std::strcmp(ChooseBackendName(std::getenv("BRAMBOLT_BACKEND"), std::getenv("DISPLAY")), "x11") == 0) {
    backend = OpenX11Backend();
    if (!backend) std::fprintf(stderr, "Cannot open the X display; the windows stay in memory.\n");
  }
  if (!backend) backend = std::make_shared<HeadlessBackend>();
  SetBackend(backend);
  return backend;
}

}  // namespace brambolt
