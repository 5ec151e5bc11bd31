// A private Xvfb server for tests of the X11 backend and of what reaches other programs through
// it, and child processes (other programs: xclip, a drag source) run against it.
#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "win/Backend.h"

namespace brambolt::test {

// Starts Xvfb on a display number it picks itself; Name() is empty when it could not start
// (Xvfb missing), which tests take as their cue to skip.
class XvfbServer {
 public:
  XvfbServer();
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;
  const std::string& Name() const { return name_; }

 private:
  pid_t pid_ = 0;
  std::string name_;
};

// The X11 backend on a private Xvfb, for a test suite to make in SetUpTestSuite and delete in
// TearDownTestSuite (which also puts the do-nothing backend back). Backend() is null when Xvfb
// could not start.
class XvfbBackend {
 public:
  XvfbBackend();
  ~XvfbBackend();
  XvfbBackend(const XvfbBackend&) = delete;
  XvfbBackend& operator=(const XvfbBackend&) = delete;
  const std::string& DisplayName() const { return server_.Name(); }
  const std::shared_ptr<brambolt::Backend>& Backend() const { return backend_; }

 private:
  XvfbServer server_;
  std::shared_ptr<brambolt::Backend> backend_;
};

// Runs a shell command on `display` with `input` on its standard input, calling `pump` while it
// runs (the process under test must answer the command's requests meanwhile); its standard
// output, or nothing after `timeoutMs`, when the command is killed.
std::string RunOnDisplay(const std::string& display, const std::string& command, const std::string& input,
                         const std::function<void()>& pump, int timeoutMs = 10000);

// Starts a shell command on `display` with `input` on its standard input and leaves it running
// (a program that serves the clipboard); 0 when it could not start. StopOnDisplay ends it.
pid_t StartOnDisplay(const std::string& display, const std::string& command, const std::string& input);
void StopOnDisplay(pid_t pid);

// True when a program of that name is on the PATH.
bool HaveProgram(const char* name);

// Another program's window that takes drops by XDND (version 5), on a display connection and a
// thread of its own: it answers every position with a copy and, on the drop, fetches what the
// drag offers as files (text/uri-list) and as text (UTF8_STRING) before it reports the drop
// finished. Made at a place of the screen; mapped when the constructor returns.
class XdndPeerTarget {
 public:
  XdndPeerTarget(const std::string& display, int x, int y, int width, int height);
  ~XdndPeerTarget();
  XdndPeerTarget(const XdndPeerTarget&) = delete;
  XdndPeerTarget& operator=(const XdndPeerTarget&) = delete;

  // The XDND messages it was sent, in order ("XdndEnter", "XdndPosition", "XdndDrop", ...).
  std::vector<std::string> Messages() const;
  // What the drop carried, empty before a drop.
  std::string Files() const;
  std::string Text() const;

 private:
  struct Peer;
  std::unique_ptr<Peer> peer_;
};

}  // namespace brambolt::test
