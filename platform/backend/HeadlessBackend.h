// The backend without a display: windows live in memory, the screen is composed on demand, and
// what would reach a person (bells, flashes, the cursor, the clipboard) is recorded for tests.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "gdi/Surface.h"
#include "win/Backend.h"

namespace brambolt {

class HeadlessBackend : public Backend {
 public:
  const char* Name() const override { return "headless"; }

  void Present(HWND topLevel, const RECT& damage) override;
  void SetCursor(HCURSOR cursor) override;
  void ShowCursor(bool visible) override;
  void Bell(UINT type) override;
  void Flash(HWND topLevel, bool on) override;
  void ClipboardChanged() override;
  bool ForeignClipboardText(std::string& utf8) override;
  bool HasInputMethod() const override;
  void PlaceComposition(HWND topLevel, POINT spot, const RECT& area) override;
  void SetCompositionFont(HWND topLevel, const std::string& face, int height) override;

  // The screen as composed now.
  std::unique_ptr<Surface> Screen() const;

  // Recorded traffic.
  std::vector<UINT> Bells() const;
  std::vector<std::pair<HWND, bool>> Flashes() const;
  HCURSOR Cursor() const;
  bool CursorVisible() const;
  int Presents() const;
  int ClipboardChanges() const;
  // Text another program "owns" on the foreign clipboard, offered while ours is empty.
  void SetForeignClipboardText(std::string utf8);
  // An input method a test scripts (platform/testing): while it is on, windows have an input
  // context, and where its composition window was put is kept.
  struct CompositionWindow {
    HWND topLevel = nullptr;
    POINT spot{};
    RECT area{};
    std::string face;
    int height = 0;
  };
  void SetInputMethod(bool on);
  CompositionWindow Composition() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::vector<UINT> bells_;
  std::vector<std::pair<HWND, bool>> flashes_;
  HCURSOR cursor_ = nullptr;
  bool cursorVisible_ = true;
  int presents_ = 0;
  int clipboardChanges_ = 0;
  std::string foreignText_;
  bool hasForeignText_ = false;
  bool inputMethod_ = false;
  CompositionWindow composition_;
};

// Installs the backend the environment asks for: BRAMBOLT_BACKEND=headless|x11, else x11 when
// DISPLAY is set, headless otherwise; headless too when the display cannot be opened. Returns the
// backend installed.
std::shared_ptr<Backend> InstallBackendFromEnvironment();

}  // namespace brambolt
