// The seam between the window manager and what presents windows to a person (X11) or keeps them
// in memory (headless): top-level windows shown, moved and painted, the cursor, the bell, flashing,
// the clipboard bridge, and the source of input events.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "base/base.h"

namespace brambolt {

// Every call comes from the user-interface thread (the thread that owns the windows concerned);
// a backend never needs locks of its own for them. The default implementation does nothing,
// which is what a process without any display needs.
class Backend {
 public:
  virtual ~Backend() = default;
  virtual const char* Name() const { return "none"; }

  // Top-level windows (children are drawn into their top-level's surface, never shown alone).
  virtual void WindowShown(HWND /*topLevel*/, const RECT& /*screen*/) {}
  virtual void WindowHidden(HWND /*topLevel*/) {}
  virtual void WindowMoved(HWND /*topLevel*/, const RECT& /*screen*/) {}
  virtual void WindowDestroyed(HWND /*topLevel*/) {}
  virtual void ZOrderChanged() {}
  // Pixels of a top-level surface changed (rectangle in window coordinates).
  virtual void Present(HWND /*topLevel*/, const RECT& /*damage*/) {}
  // Pixels of the screen overlay changed (screen coordinates).
  virtual void OverlayChanged(const RECT& /*damage*/) {}

  virtual void SetCursor(HCURSOR /*cursor*/) {}
  virtual void ShowCursor(bool /*visible*/) {}
  virtual void Bell(UINT /*type*/) {}
  virtual void Flash(HWND /*topLevel*/, bool /*on*/) {}

  // The in-process clipboard changed owner or contents; a bridge to another clipboard takes
  // ownership there.
  virtual void ClipboardChanged() {}
  // Text another program put on a foreign clipboard (UTF-8), asked for when the in-process
  // clipboard is empty; false when there is none.
  virtual bool ForeignClipboardText(std::string& /*utf8*/) { return false; }
  // The registered formats (by name) another program offers on a foreign clipboard, and the
  // bytes of one of them; asked for with the text, only names this process registered are taken.
  virtual std::vector<std::string> ForeignClipboardFormats() { return {}; }
  virtual bool ForeignClipboardData(const std::string& /*format*/, std::string& /*bytes*/) { return false; }

  // The input method (win/Imm.h): whether there is one to type through, so that windows have
  // an input context. Its composition window for a top-level window: the spot where composed
  // text stands and the area it may take (top-level window coordinates; an empty area leaves
  // that to the input method), and the font (face and cell height in pixels) it draws with.
  virtual bool HasInputMethod() const { return false; }
  virtual void PlaceComposition(HWND /*topLevel*/, POINT /*spot*/, const RECT& /*area*/) {}
  virtual void SetCompositionFont(HWND /*topLevel*/, const std::string& /*face*/, int /*height*/) {}

  // Reads events that are ready and injects them as input (see win/Input.h); never blocks.
  virtual void PumpEvents() {}
  // True when events can arrive without the process doing anything (a display connection):
  // waits for messages then poll PumpEvents at short intervals.
  virtual bool HasEventSource() const { return false; }
};

// The backend in use; a do-nothing one until SetBackend installs another.
Backend& GetBackend();
// Installs a backend for the whole process; pass null to go back to the do-nothing one.
void SetBackend(std::shared_ptr<Backend> backend);

}  // namespace brambolt
