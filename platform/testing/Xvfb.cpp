// The private Xvfb server, commands run against it and another program's XDND drop target on it.
#include "testing/Xvfb.h"

#include "backend/X11Backend.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

extern char** environ;

namespace brambolt::test {

XvfbServer::XvfbServer() {
  int fds[2];
  if (pipe(fds) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const char* args[] = {"Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp", nullptr};
  bool started = posix_spawnp(&pid_, "Xvfb", &actions, nullptr, const_cast<char**>(args), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  char c;
  while (started && poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (!started) pid_ = 0;
  if (!number.empty()) name_ = ":" + number;
}

XvfbServer::~XvfbServer() {
  if (pid_ <= 0) return;
  // A server that does not end within ten seconds of SIGTERM (a loaded machine, a client still
  // holding a grab) is killed, so a finished test program never waits on it.
  kill(pid_, SIGTERM);
  for (int tenths = 0; tenths < 100; ++tenths) {
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) return;
    usleep(100000);
  }
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

XvfbBackend::XvfbBackend() {
  if (!server_.Name().empty()) backend_ = OpenX11Backend(server_.Name().c_str());
}

XvfbBackend::~XvfbBackend() {
  SetBackend(nullptr);
  backend_.reset();
}

namespace {

// Spawns `command` under /bin/sh on `display` with `input` written to its standard input; its
// standard output goes to *output (a pipe to read) or, when output is null, nowhere.
pid_t Spawn(const std::string& display, const std::string& command, const std::string& input, int* output) {
  int in[2], out[2] = {-1, -1};
  if (pipe(in) != 0) return 0;
  if (output && pipe(out) != 0) {
    close(in[0]);
    close(in[1]);
    return 0;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  if (output) posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  else posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  for (int fd : {in[0], in[1], out[0], out[1]})
    if (fd >= 0) posix_spawn_file_actions_addclose(&actions, fd);
  std::string line = "DISPLAY=" + display + " exec " + command;
  const char* args[] = {"/bin/sh", "-c", line.c_str(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, "/bin/sh", &actions, nullptr, const_cast<char**>(args), environ) != 0) pid = 0;
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  if (output) close(out[1]);
  // The input is small (a few lines): the pipe takes it whole without blocking.
  if (pid != 0 && !input.empty()) (void)!write(in[1], input.data(), input.size());
  close(in[1]);
  if (output) {
    fcntl(out[0], F_SETFL, O_NONBLOCK);
    *output = out[0];
  }
  return pid;
}

void Drain(int fd, std::string& into) {
  char buffer[4096];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0) into.append(buffer, static_cast<size_t>(n));
}

}  // namespace

std::string RunOnDisplay(const std::string& display, const std::string& command, const std::string& input,
                         const std::function<void()>& pump, int timeoutMs) {
  int fd = -1;
  pid_t pid = Spawn(display, command, input, &fd);
  if (pid == 0) return {};
  std::string output;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    pump();
    Drain(fd, output);
    if (waitpid(pid, nullptr, WNOHANG) == pid) break;
    if (std::chrono::steady_clock::now() > deadline) {
      StopOnDisplay(pid);
      output.clear();
      break;
    }
    usleep(2000);
  }
  Drain(fd, output);
  close(fd);
  return output;
}

pid_t StartOnDisplay(const std::string& display, const std::string& command, const std::string& input) {
  return Spawn(display, command, input, nullptr);
}

void StopOnDisplay(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

bool HaveProgram(const char* name) {
  return std::system(("command -v " + std::string(name) + " > /dev/null 2>&1").c_str()) == 0;
}

struct XdndPeerTarget::Peer {
  Display* display = nullptr;
  Window target = 0;
  std::atomic<bool> stop{false};
  std::thread thread;
  mutable std::mutex mutex;
  std::vector<std::string> messages;
  std::string files;
  std::string text;

  Atom AtomOf(const char* name) const { return XInternAtom(display, name, False); }

  // Sends a reply to the drag source: l1 the accepted/finished bit, action the action taken.
  void Reply(Window to, const char* type, long l1, long action) {
    XEvent m{};
    m.xclient.type = ClientMessage;
    m.xclient.window = to;
    m.xclient.message_type = AtomOf(type);
    m.xclient.format = 32;
    m.xclient.data.l[0] = static_cast<long>(target);
    m.xclient.data.l[1] = l1;
    m.xclient.data.l[2] = action;  // XdndFinished: the action taken
    m.xclient.data.l[4] = action;  // XdndStatus: the action taken
    XSendEvent(display, to, False, NoEventMask, &m);
    XFlush(display);
  }

  // The drag's data in `type`, empty when the source gives none within two seconds.
  std::string Fetch(Atom type) {
    XConvertSelection(display, AtomOf("XdndSelection"), type, AtomOf("PEER_DATA"), target, CurrentTime);
    XFlush(display);
    XEvent e{};
    bool arrived = false;
    for (int i = 0; i < 400 && !(arrived = XCheckTypedWindowEvent(display, target, SelectionNotify, &e)); ++i)
      usleep(5000);
    if (!arrived || e.xselection.property == None) return {};
    Atom got;
    int format;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, target, AtomOf("PEER_DATA"), 0, 65536, True, AnyPropertyType, &got, &format, &count,
                       &after, &data);
    std::string bytes;
    if (data) bytes.assign(reinterpret_cast<char*>(data), count), XFree(data);
    return bytes;
  }

  void Listen() {
    while (!stop) {
      XEvent e;
      if (!XCheckTypedWindowEvent(display, target, ClientMessage, &e)) {
        usleep(2000);
        continue;
      }
      char* name = XGetAtomName(display, e.xclient.message_type);
      std::string kind = name ? name : "";
      if (name) XFree(name);
      auto from = static_cast<Window>(e.xclient.data.l[0]);
      {
        std::lock_guard<std::mutex> lock(mutex);
        messages.push_back(kind);
      }
      if (kind == "XdndPosition") Reply(from, "XdndStatus", 1, static_cast<long>(AtomOf("XdndActionCopy")));
      if (kind == "XdndDrop") {
        std::string droppedFiles = Fetch(AtomOf("text/uri-list"));
        std::string droppedText = Fetch(AtomOf("UTF8_STRING"));
        {
          std::lock_guard<std::mutex> lock(mutex);
          files = droppedFiles;
          text = droppedText;
        }
        Reply(from, "XdndFinished", 1, static_cast<long>(AtomOf("XdndActionCopy")));
      }
    }
  }
};

XdndPeerTarget::XdndPeerTarget(const std::string& display, int x, int y, int width, int height)
    : peer_(std::make_unique<Peer>()) {
  Peer& p = *peer_;
  p.display = XOpenDisplay(display.c_str());
  if (p.display == nullptr) return;
  p.target = XCreateSimpleWindow(p.display, DefaultRootWindow(p.display), x, y, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), 0, 0, 0);
  long version = 5;
  XChangeProperty(p.display, p.target, p.AtomOf("XdndAware"), XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&version), 1);
  XMapWindow(p.display, p.target);
  XSync(p.display, False);
  p.thread = std::thread([&p] { p.Listen(); });
}

XdndPeerTarget::~XdndPeerTarget() {
  Peer& p = *peer_;
  p.stop = true;
  if (p.thread.joinable()) p.thread.join();
  if (p.display == nullptr) return;
  XDestroyWindow(p.display, p.target);
  XCloseDisplay(p.display);
}

std::vector<std::string> XdndPeerTarget::Messages() const {
  std::lock_guard<std::mutex> lock(peer_->mutex);
  return peer_->messages;
}

std::string XdndPeerTarget::Files() const {
  std::lock_guard<std::mutex> lock(peer_->mutex);
  return peer_->files;
}

std::string XdndPeerTarget::Text() const {
  std::lock_guard<std::mutex> lock(peer_->mutex);
  return peer_->text;
}

}  // namespace brambolt::test
