// Data exchanged with other programs on a private Xvfb: the OLE clipboard bridged to the X11
// CLIPBOARD, tried with xclip (what the program copies xclip reads, text converted from the code
// page and registered formats as targets of their own; what xclip copies the program pastes), and
// text and files dragged in by XDND onto a registered drop target. Skipped where Xvfb or xclip is
// missing.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "backend/DropFiles.h"
#include "backend/X11Backend.h"
#include "base/CodePage.h"
#include "base/GlobalMemory.h"
#include "ole/ole.h"
#include "testing/UiTest.h"
#include "testing/Xvfb.h"

#include <X11/Xlib.h>

using namespace brambolt;

namespace {

test::XvfbBackend* g_x = nullptr;

HGLOBAL Block(const std::string& bytes) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
  GlobalUnlock(h);
  return h;
}

// What a paste through the OLE clipboard reads of `format`; "<none>" when it is not there.
std::string Paste(CLIPFORMAT format) {
  COleDataObject data;
  if (!data.AttachClipboard() || !data.IsDataAvailable(format)) return "<none>";
  HGLOBAL h = data.GetGlobalData(format);
  if (h == nullptr) return "<none>";
  std::string s(static_cast<const char*>(GlobalLock(h)), GlobalSize(h));
  GlobalUnlock(h);
  GlobalFree(h);
  if (format == CF_TEXT) s.resize(strnlen(s.c_str(), s.size()));
  return s;
}

// A window's drop target that takes text and files, copying with Ctrl and moving without.
class TakingTarget : public COleDropTarget {
 public:
  std::vector<std::string> log;
  DROPEFFECT OnDragEnter(CWnd*, COleDataObject* data, DWORD keys, CPoint) override { return Effect(data, keys); }
  DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD keys, CPoint) override { return Effect(data, keys); }
  BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT effect, CPoint point) override {
    std::string what;
    if (HGLOBAL h = data->GetGlobalData(CF_TEXT)) {
      what = static_cast<const char*>(GlobalLock(h));
      GlobalUnlock(h);
      GlobalFree(h);
    } else if (HGLOBAL files = data->GetGlobalData(CF_HDROP)) {
      char name[MAX_PATH];
      DragQueryFile(reinterpret_cast<HDROP>(files), 0, name, sizeof(name));
      what = std::string("file ") + name;
      GlobalFree(files);
    }
    log.push_back(std::string(effect == DROPEFFECT_COPY ? "copy " : "move ") + what + " at " +
                  std::to_string(point.x) + "," + std::to_string(point.y));
    return TRUE;
  }

 private:
  static DROPEFFECT Effect(COleDataObject* data, DWORD keys) {
    if (!data->IsDataAvailable(CF_TEXT) && !data->IsDataAvailable(CF_HDROP)) return DROPEFFECT_NONE;
    return (keys & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
  }
};

class X11Clipboard : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { g_x = new test::XvfbBackend; }
  static void TearDownTestSuite() {
    delete g_x;
    g_x = nullptr;
  }
  void SetUp() override {
    if (!g_x->Backend()) GTEST_SKIP() << "Xvfb is not available";
    if (!test::HaveProgram("xclip")) GTEST_SKIP() << "xclip is not installed";
    SetBackend(g_x->Backend());
    peer_ = XOpenDisplay(g_x->DisplayName().c_str());
    ASSERT_NE(peer_, nullptr);
  }
  void TearDown() override {
    if (!g_x->Backend()) return;
    for (pid_t pid : started_) test::StopOnDisplay(pid);
    if (window_) DestroyWindow(window_);
    // What was pasted from the other programs goes with the test.
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      CloseClipboard();
    }
    test::RunUntilIdle();
    if (peer_) XCloseDisplay(peer_);
  }

  // Bounded pumping of the platform's loop until `done` holds.
  bool PumpUntil(const std::function<bool()>& done) {
    for (int round = 0; round < 1000; ++round) {
      test::RunUntilIdle();
      XSync(peer_, False);
      if (done()) return true;
      usleep(5000);
    }
    return false;
  }
  std::string Xclip(const std::string& arguments) {
    return test::RunOnDisplay(g_x->DisplayName(), "xclip -selection clipboard " + arguments, "",
                              [] { test::RunUntilIdle(); });
  }
  void XclipCopies(const std::string& arguments, const std::string& input) {
    started_.push_back(test::StartOnDisplay(g_x->DisplayName(), "xclip -selection clipboard -quiet -i " + arguments, input));
  }

  Atom PeerAtom(const char* name) { return XInternAtom(peer_, name, False); }

  // The peer's view of the top-level window titled `title`, once it is there.
  Window PeerWindow(const char* title) {
    Window found = 0;
    PumpUntil([&] {
      Window rootReturn, parent, *children = nullptr;
      unsigned count = 0;
      if (!XQueryTree(peer_, DefaultRootWindow(peer_), &rootReturn, &parent, &children, &count)) return false;
      for (unsigned i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        if (XFetchName(peer_, children[i], &name) && name) {
          if (std::strcmp(name, title) == 0) found = children[i];
          XFree(name);
        }
      }
      if (children) XFree(children);
      return found != 0;
    });
    return found;
  }

  // Another program as a drag source, on a thread and connection of its own (it must answer the
  // request for its data while this thread handles the drop): drags `type` with `bytes` over
  // `target` at a screen point asking for `action`, and drops when the target accepts.
  struct DragAnswers {
    long accepted = -1;
    Atom statusAction = 0;
    long finished = -1;
  };
  DragAnswers PeerDrags(Window target, const char* type, const std::string& bytes, POINT at, const char* action) {
    DragAnswers answers;
    std::atomic<bool> done{false};
    std::thread other([&] {
      Display* d = XOpenDisplay(g_x->DisplayName().c_str());
      auto atom = [d](const char* name) { return XInternAtom(d, name, False); };
      Window source = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
      XSetSelectionOwner(d, atom("XdndSelection"), source, CurrentTime);
      auto send = [&](const char* message, long l1, long l2, long l3, long l4) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = target;
        e.xclient.message_type = atom(message);
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(source);
        e.xclient.data.l[1] = l1;
        e.xclient.data.l[2] = l2;
        e.xclient.data.l[3] = l3;
        e.xclient.data.l[4] = l4;
        XSendEvent(d, target, False, NoEventMask, &e);
        XFlush(d);
      };
      // Waits (a few seconds at most) for `message`, giving the data to whoever asks meanwhile.
      auto reply = [&](const char* message, XEvent& e) {
        for (int round = 0; round < 2000; ++round) {
          while (XPending(d)) {
            XNextEvent(d, &e);
            if (e.type == ClientMessage && e.xclient.message_type == atom(message)) return true;
            if (e.type != SelectionRequest) continue;
            XSelectionRequestEvent& q = e.xselectionrequest;
            XEvent answer{};
            answer.xselection.type = SelectionNotify;
            answer.xselection.requestor = q.requestor;
            answer.xselection.selection = q.selection;
            answer.xselection.target = q.target;
            answer.xselection.time = q.time;
            if (q.target == atom(type)) {
              XChangeProperty(d, q.requestor, q.property, q.target, 8, PropModeReplace,
                              reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
              answer.xselection.property = q.property;
            }
            XSendEvent(d, q.requestor, False, NoEventMask, &answer);
            XFlush(d);
          }
          usleep(2000);
        }
        return false;
      };
      send("XdndEnter", 5L << 24, static_cast<long>(atom(type)), 0, 0);
      send("XdndPosition", 0, (static_cast<long>(at.x) << 16) | at.y, CurrentTime, static_cast<long>(atom(action)));
      XEvent e{};
      if (reply("XdndStatus", e)) {
        answers.accepted = e.xclient.data.l[1] & 1;
        answers.statusAction = static_cast<Atom>(e.xclient.data.l[4]);
      }
      if (answers.accepted == 1) {
        send("XdndDrop", 0, CurrentTime, 0, 0);
        if (reply("XdndFinished", e)) answers.finished = e.xclient.data.l[1] & 1;
      } else {
        send("XdndLeave", 0, 0, 0, 0);
      }
      XDestroyWindow(d, source);
      XCloseDisplay(d);
      done = true;
    });
    PumpUntil([&] { return done.load(); });
    other.join();
    return answers;
  }

  Display* peer_ = nullptr;
  HWND window_ = nullptr;
  std::vector<pid_t> started_;
};

TEST_F(X11Clipboard, WhatTheProgramCopiesXclipReads) {
  ScopedCodePage page(1252);
  CLIPFORMAT column = static_cast<CLIPFORMAT>(RegisterClipboardFormat("MSDEVColumnSelect"));
  auto* source = new COleDataSource;
  source->CacheGlobalData(CF_TEXT, Block(std::string("caf\xE9 \x80\r\n", 8)));
  source->CacheGlobalData(column, Block("ab\r\ncd\r\n"));
  source->SetClipboard();
  Atom clipboard = XInternAtom(peer_, "CLIPBOARD", False);
  ASSERT_TRUE(PumpUntil([&] { return XGetSelectionOwner(peer_, clipboard) != None; }));
  EXPECT_EQ(Xclip("-o -t UTF8_STRING"), "caf\xC3\xA9 \xE2\x82\xAC\r\n");
  EXPECT_EQ(Xclip("-o -t MSDEVColumnSelect"), "ab\r\ncd\r\n");
  std::string targets = Xclip("-o -t TARGETS");
  EXPECT_NE(targets.find("MSDEVColumnSelect"), std::string::npos) << targets;
  EXPECT_NE(targets.find("UTF8_STRING"), std::string::npos) << targets;
}

TEST_F(X11Clipboard, WhatXclipCopiesTheProgramPastes) {
  ScopedCodePage page(1252);
  CLIPFORMAT column = static_cast<CLIPFORMAT>(RegisterClipboardFormat("MSDEVColumnSelect"));
  XclipCopies("-t UTF8_STRING", "na\xC3\xAFve\nline");
  EXPECT_TRUE(PumpUntil([&] { return Paste(CF_TEXT) == "na\xEFve\nline"; })) << Paste(CF_TEXT);
  EXPECT_EQ(Paste(column), "<none>");
  // Another program's copy replaces what was pasted before, and a column block of another
  // instance comes as the program's own format.
  XclipCopies("-t MSDEVColumnSelect", "x\r\ny\r\n");
  EXPECT_TRUE(PumpUntil([&] { return Paste(column) == "x\r\ny\r\n"; })) << Paste(column);
}

}  // namespace

namespace {

TEST_F(X11Clipboard, TextAndFilesDraggedInByAnotherProgramReachTheDropTarget) {
  ScopedCodePage page(1252);
  WNDCLASS wc{};
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "OleDropWindow";
  RegisterClass(&wc);
  window_ = CreateWindowEx(0, "OleDropWindow", "Drop onto me", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                           nullptr, nullptr, nullptr);
  TakingTarget target;
  ASSERT_TRUE(target.Register(CWnd::FromHandle(window_)));
  Window x = PeerWindow("Drop onto me");
  ASSERT_NE(x, 0u);

  // The source asks for a copy: the target copies, as with Ctrl held.
  DragAnswers text = PeerDrags(x, "UTF8_STRING", "gr\xC3\xBC\xC3\x9F", POINT{150, 120}, "XdndActionCopy");
  EXPECT_EQ(text.accepted, 1);
  EXPECT_EQ(text.statusAction, XInternAtom(peer_, "XdndActionCopy", False));
  EXPECT_EQ(text.finished, 1);
  // A move it takes as a move; a file list comes as CF_HDROP.
  DragAnswers files = PeerDrags(x, "text/uri-list", "file:///tmp/a%20b.h\r\n", POINT{200, 150}, "XdndActionMove");
  EXPECT_EQ(files.accepted, 1);
  EXPECT_EQ(files.statusAction, XInternAtom(peer_, "XdndActionMove", False));
  EXPECT_EQ(files.finished, 1);
  EXPECT_EQ(target.log, (std::vector<std::string>{"copy gr\xFC\xDF at 50,20", "move file /tmp/a b.h at 100,50"}));
  // What the target does not take is refused.
  DragAnswers image = PeerDrags(x, "image/png", "PNG", POINT{150, 120}, "XdndActionCopy");
  EXPECT_EQ(image.accepted, 0);
  target.Revoke();
}

}  // namespace
