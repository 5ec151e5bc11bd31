// The X11 backend's exchanges with other programs: the CLIPBOARD selection both ways (text as
// UTF-8 and Latin-1, registered formats as targets of their own), files and text dropped by XDND,
// and this program's drags taken to other programs' windows by XDND.
#include <poll.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>

#include "backend/DropFiles.h"
#include "base/Convert.h"
#include "base/GlobalMemory.h"

// Xlib comes last: its macros (None, Bool, Status ...) must not meet the platform's headers.
#include "backend/X11BackendImpl.h"

namespace brambolt::x11 {
namespace {

// Set while a thread reads the platform's clipboard to offer it: what another program holds must
// not be taken in then.
thread_local bool t_readingClipboard = false;

}  // namespace

void X11Backend::ClipboardChanged() {
  // Runs on the thread that closed the clipboard: what we offer is read from the in-process
  // clipboard now, so a later request never has to open it from inside the message loop.
  std::string text;
  std::vector<std::pair<std::string, std::string>> formats;
  {
    std::lock_guard<std::mutex> lock(clipMutex_);
    if (clearingClipboard_) return;
  }
  t_readingClipboard = true;
  bool opened = OpenClipboard(nullptr) != FALSE;
  t_readingClipboard = false;
  if (!opened) return;
  for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) {
    if (f != CF_TEXT && f < 0xC000) continue;
    HANDLE h = GetClipboardData(f);
    if (h == nullptr) continue;
    SIZE_T size = GlobalSize(h);
    const char* p = static_cast<const char*>(GlobalLock(h));
    if (p == nullptr) continue;
    if (f == CF_TEXT) {
      text = AnsiToUtf8(std::string_view(p, strnlen(p, size)));
    } else {
      char name[256] = {};
      if (GetClipboardFormatName(f, name, sizeof(name)) > 0) formats.emplace_back(name, std::string(p, size));
    }
    GlobalUnlock(h);
  }
  CloseClipboard();
  {
    std::lock_guard<std::mutex> lock(clipMutex_);
    offeredText_ = std::move(text);
    offeredFormats_ = std::move(formats);
  }
  // Emptied, the clipboard is still ours, as the system's is after EmptyClipboard: other
  // programs then find nothing on it, and nothing of theirs comes back into it.
  auto claim = [this] {
    XSetSelectionOwner(display_, atoms_.clipboard, selectionWindow_, lastTime_);
    ownSelection_ = XGetSelectionOwner(display_, atoms_.clipboard) == selectionWindow_;
  };
  if (!Elsewhere(claim)) claim();
}

bool X11Backend::WaitForEvent(int type, Window xid, XEvent& out, const std::function<bool(XEvent&)>& accept) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000);
  XFlush(display_);
  for (;;) {
    while (XCheckTypedWindowEvent(display_, xid, type, &out))
      if (accept(out)) return true;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd fd{ConnectionNumber(display_), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(std::min<long long>(left.count(), 50)));
  }
}

bool X11Backend::ConvertSelection(Atom selection, Atom target, Time time, std::string& bytes, bool* answered) {
  XConvertSelection(display_, selection, target, atoms_.transfer, selectionWindow_, time);
  XEvent e;
  *answered = WaitForEvent(SelectionNotify, selectionWindow_, e, [](XEvent&) { return true; });
  if (!*answered || e.xselection.property == None) return false;
  auto read = [this](std::string& into, Atom& type) {
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, selectionWindow_, atoms_.transfer, 0, 0x7FFFFFF, True, AnyPropertyType,
                           &type, &format, &count, &after, &data) != Success)
      return false;
    if (data) {
      // Xlib hands 32-bit items over as longs.
      into.append(reinterpret_cast<char*>(data),
                  count * (format == 32 ? sizeof(long) : static_cast<unsigned long>(format / 8)));
      XFree(data);
    }
    return true;
  };
  Atom type = None;
  if (!read(bytes, type)) return false;
  if (type != atoms_.incr) return true;
  // Large transfers come in pieces, each announced by a new value of the property; an empty
  // piece ends them.
  bytes.clear();
  for (;;) {
    if (!WaitForEvent(PropertyNotify, selectionWindow_, e, [this](XEvent& ev) {
          return ev.xproperty.atom == atoms_.transfer && ev.xproperty.state == PropertyNewValue;
        }))
      return false;
    size_t before = bytes.size();
    if (!read(bytes, type)) return false;
    if (bytes.size() == before) return true;
  }
}

namespace {

std::string Latin1ToUtf8(const std::string& bytes) {
  std::string utf8;
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

}  // namespace

bool X11Backend::MayAskClipboard() {
  // Only the user-interface thread may talk to the server, and it must not be made to wait for
  // another thread; what another program holds is read when that thread opens the clipboard.
  if (!OnUiThread() || ownSelection_ || t_readingClipboard) return false;
  Window owner = XGetSelectionOwner(display_, atoms_.clipboard);
  return owner != None && owner != silentOwner_;
}

bool X11Backend::ForeignClipboardText(std::string& utf8) {
  if (!MayAskClipboard()) return false;
  std::string bytes;
  bool answered = false;
  if (ConvertClipboard(atoms_.utf8String, bytes, &answered)) {
    utf8 = std::move(bytes);
    return true;
  }
  // An owner that does not answer is not asked again: the user-interface thread waits meanwhile.
  if (!answered) silentOwner_ = XGetSelectionOwner(display_, atoms_.clipboard);
  bytes.clear();
  if (!answered || !ConvertClipboard(XA_STRING, bytes, &answered)) return false;
  utf8 = Latin1ToUtf8(bytes);
  return true;
}

std::vector<std::string> X11Backend::ForeignClipboardFormats() {
  std::vector<std::string> names;
  std::string bytes;
  bool answered = false;
  if (!MayAskClipboard() || !ConvertClipboard(atoms_.targets, bytes, &answered)) return names;
  // Xlib hands 32-bit items over as longs.
  for (size_t at = 0; at + sizeof(long) <= bytes.size(); at += sizeof(long)) {
    long atom;
    std::memcpy(&atom, bytes.data() + at, sizeof(long));
    if (char* name = XGetAtomName(display_, static_cast<Atom>(atom))) {
      names.emplace_back(name);
      XFree(name);
    }
  }
  return names;
}

bool X11Backend::ForeignClipboardData(const std::string& format, std::string& bytes) {
  bool answered = false;
  return MayAskClipboard() && ConvertClipboard(XInternAtom(display_, format.c_str(), False), bytes, &answered);
}

ForeignDrag X11Backend::OfferedByDrag() {
  ForeignDrag offer;
  offer.offersFiles = drag_.offersFiles;
  offer.offersText = drag_.textTarget != 0;
  offer.text = [this](std::string& utf8) {
    std::string bytes;
    bool answered = false;
    if (drag_.textTarget == 0 ||
        !ConvertSelection(atoms_.xdndSelection, drag_.textTarget, drag_.time, bytes, &answered))
      return false;
    utf8 = drag_.textTarget == XA_STRING ? Latin1ToUtf8(bytes) : bytes;
    return true;
  };
  offer.files = [this](std::vector<std::string>& files) {
    std::string list;
    bool answered = false;
    if (!drag_.offersFiles || !ConvertSelection(atoms_.xdndSelection, atoms_.uriList, drag_.time, list, &answered))
      return false;
    files = FilesOfUriList(list);
    return true;
  };
  return offer;
}

void X11Backend::OnSelectionRequest(XSelectionRequestEvent& r) {
  XEvent reply{};
  reply.xselection.type = SelectionNotify;
  reply.xselection.requestor = r.requestor;
  reply.xselection.selection = r.selection;
  reply.xselection.target = r.target;
  reply.xselection.time = r.time;
  reply.xselection.property = None;
  Atom property = r.property == None ? r.target : r.property;
  if (AnswerDragRequest(r, reply)) {
    XSendEvent(display_, r.requestor, False, 0, &reply);
    return;
  }
  std::lock_guard<std::mutex> lock(clipMutex_);
  size_t limit = static_cast<size_t>(XMaxRequestSize(display_)) * 4 - 64;
  auto give = [&](Atom type, const std::string& bytes) {
    if (bytes.size() > limit) return;
    XChangeProperty(display_, r.requestor, property, type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    reply.xselection.property = property;
  };
  if (r.selection == atoms_.clipboard && ownSelection_) {
    std::vector<Atom> privateTargets;
    for (const auto& [name, bytes] : offeredFormats_) privateTargets.push_back(XInternAtom(display_, name.c_str(), False));
    if (r.target == atoms_.targets) {
      std::vector<Atom> targets{atoms_.targets, atoms_.timestamp};
      if (!offeredText_.empty())
        targets.insert(targets.end(), {atoms_.utf8String, atoms_.textPlain, atoms_.text, XA_STRING});
      targets.insert(targets.end(), privateTargets.begin(), privateTargets.end());
      XChangeProperty(display_, r.requestor, property, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(targets.data()), static_cast<int>(targets.size()));
      reply.xselection.property = property;
    } else if (r.target == atoms_.timestamp) {
      long t = static_cast<long>(lastTime_);
      XChangeProperty(display_, r.requestor, property, XA_INTEGER, 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(&t), 1);
      reply.xselection.property = property;
    } else if (offeredText_.empty()) {
      // Nothing of text to give.
    } else if (r.target == atoms_.utf8String || r.target == atoms_.textPlain || r.target == atoms_.text) {
      give(atoms_.utf8String, offeredText_);
    } else if (r.target == XA_STRING) {
      std::string latin1;
      for (char32_t c : AnsiToUnicode(offeredText_, CP_UTF8))
        latin1 += c <= 0xFF ? static_cast<char>(c) : '?';
      give(XA_STRING, latin1);
    } else {
      for (size_t i = 0; i < privateTargets.size(); ++i)
        if (privateTargets[i] == r.target) give(r.target, offeredFormats_[i].second);
    }
  }
  XSendEvent(display_, r.requestor, False, 0, &reply);
}

void X11Backend::OnSelectionClear() {
  // Another program took the clipboard: ours empties, and the next paste asks that program.
  ownSelection_ = false;
  {
    std::lock_guard<std::mutex> lock(clipMutex_);
    offeredText_.clear();
    offeredFormats_.clear();
    clearingClipboard_ = true;
  }
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  std::lock_guard<std::mutex> lock(clipMutex_);
  clearingClipboard_ = false;
}

void X11Backend::SendXdnd(Window to, Atom type, std::array<long, 5> data) {
  XEvent m{};
  m.xclient.type = ClientMessage;
  m.xclient.window = to;
  m.xclient.message_type = type;
  m.xclient.format = 32;
  for (int i = 0; i < 5; ++i) m.xclient.data.l[i] = data[static_cast<size_t>(i)];
  XSendEvent(display_, to, False, NoEventMask, &m);
}

void X11Backend::SendToSource(Atom type, Window from, long flags, Atom action) {
  // XdndFinished carries the action taken third, XdndStatus fifth.
  long finished = type == atoms_.xdndFinished ? static_cast<long>(action) : 0;
  SendXdnd(drag_.source, type, {static_cast<long>(from), flags, finished, 0, static_cast<long>(action)});
}

void X11Backend::OnDragMessage(XClientMessageEvent& e) {
  auto source = static_cast<Window>(e.data.l[0]);
  if (e.message_type == atoms_.xdndEnter) {
    drag_ = Drag{};
    drag_.source = source;
    drag_.version = (e.data.l[1] >> 24) & 0xFF;
    std::vector<Atom> types;
    if (e.data.l[1] & 1) {
      Atom type;
      int format;
      unsigned long count = 0, after = 0;
      unsigned char* data = nullptr;
      if (XGetWindowProperty(display_, source, atoms_.xdndTypeList, 0, 1024, False, XA_ATOM, &type, &format,
                             &count, &after, &data) == Success && data) {
        auto* list = reinterpret_cast<Atom*>(data);
        types.assign(list, list + count);
        XFree(data);
      }
    } else {
      for (int i = 2; i < 5; ++i) types.push_back(static_cast<Atom>(e.data.l[i]));
    }
    drag_.offersFiles = std::find(types.begin(), types.end(), atoms_.uriList) != types.end();
    // Text in the first of these types offered: UTF-8 ones before Latin-1.
    for (Atom t : {atoms_.utf8String, XInternAtom(display_, "text/plain;charset=utf-8", False), XA_STRING})
      if (!drag_.textTarget && std::find(types.begin(), types.end(), t) != types.end()) drag_.textTarget = t;
    return;
  }
  if (source != drag_.source || drag_.source == 0) return;
  if (e.message_type == atoms_.xdndPosition) {
    int rootX = static_cast<int>((e.data.l[2] >> 16) & 0xFFFF), rootY = static_cast<int>(e.data.l[2] & 0xFFFF);
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(display_, root_, e.window, rootX, rootY, &x, &y, &child);
    drag_.point = ScreenPoint(e.window, x, y);
    drag_.time = drag_.version >= 1 ? static_cast<Time>(e.data.l[3]) : CurrentTime;
    Atom action = atoms_.xdndActionCopy;
    ForeignDropTargets* targets = GetForeignDropTargets();
    if (targets != nullptr && (drag_.offersFiles || drag_.textTarget)) {
      // The program's drop targets choose copy or move by the keys: the source asking for a
      // copy counts as Ctrl held, as it would in a drag inside the program.
      Atom move = XInternAtom(display_, "XdndActionMove", False);
      drag_.keys = MK_LBUTTON | (static_cast<Atom>(e.data.l[4]) == move ? 0 : MK_CONTROL);
      drag_.toTargets = true;
      DWORD effect = targets->DragOver(drag_.point, drag_.keys, 1 | 2, OfferedByDrag());
      drag_.accepted = effect != 0;
      if ((effect & 1) == 0 && (effect & 2) != 0) action = move;
    } else {
      drag_.accepted = drag_.offersFiles && DropTargetAt(drag_.point) != nullptr;
    }
    // Bit 1: keep sending positions, the answer changes from window to window.
    SendToSource(atoms_.xdndStatus, e.window, (drag_.accepted ? 1 : 0) | 2, drag_.accepted ? action : None);
    drag_.action = action;
  } else if (e.message_type == atoms_.xdndLeave) {
    if (drag_.toTargets && GetForeignDropTargets()) GetForeignDropTargets()->DragLeave();
    drag_ = Drag{};
  } else if (e.message_type == atoms_.xdndDrop && drag_.toTargets && GetForeignDropTargets()) {
    // The targets fetch what they take while they handle the drop.
    drag_.time = drag_.version >= 1 ? static_cast<Time>(e.data.l[2]) : CurrentTime;
    DWORD effect = 0;
    if (drag_.accepted) {
      effect = GetForeignDropTargets()->Drop(drag_.keys);
    } else {
      GetForeignDropTargets()->DragLeave();
    }
    SendToSource(atoms_.xdndFinished, e.window, effect ? 1 : 0, effect ? drag_.action : None);
    drag_ = Drag{};
  } else if (e.message_type == atoms_.xdndDrop) {
    if (!drag_.accepted) {
      SendToSource(atoms_.xdndFinished, e.window, 0, None);
      drag_ = Drag{};
      return;
    }
    drag_.target = e.window;
    Time time = drag_.version >= 1 ? static_cast<Time>(e.data.l[2]) : CurrentTime;
    XConvertSelection(display_, atoms_.xdndSelection, atoms_.uriList, atoms_.dropTransfer, e.window, time);
  }
}

void X11Backend::OnDropData(XSelectionEvent& e) {
  std::string list;
  if (e.property != None) {
    Atom type;
    int format;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, e.requestor, atoms_.dropTransfer, 0, 0x7FFFFFF, True, AnyPropertyType, &type,
                           &format, &count, &after, &data) == Success && data) {
      if (format == 8) list.assign(reinterpret_cast<char*>(data), count);
      XFree(data);
    }
  }
  bool dropped = DropFiles(drag_.point, FilesOfUriList(list));
  SendToSource(atoms_.xdndFinished, drag_.target, dropped ? 1 : 0, dropped ? atoms_.xdndActionCopy : None);
  drag_ = Drag{};
}

// ---- this program's drags over other programs' windows ----

Window X11Backend::AwareWindowAt(POINT screen, long* version) {
  Window from = root_;
  for (int depth = 0; depth < 32; ++depth) {
    int x = 0, y = 0;
    Window child = None;
    if (!XTranslateCoordinates(display_, root_, from, screen.x, screen.y, &x, &y, &child) || child == None) return 0;
    if (byXid_.count(child) || child == overlay_ || child == selectionWindow_) return 0;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, child, atoms_.xdndAware, 0, 1, False, XA_ATOM, &type, &format, &count, &after,
                           &data) == Success && data) {
      // Xlib hands 32-bit items over as longs.
      long offered = count ? *reinterpret_cast<long*>(data) : 0;
      XFree(data);
      if (count && offered >= 3) {
        *version = std::min(offered, 5L);
        return child;
      }
    }
    from = child;
  }
  return 0;
}

void X11Backend::SendToTarget(Atom type, long l1, long l2, long l3, long l4) {
  SendXdnd(out_.target, type, {static_cast<long>(selectionWindow_), l1, l2, l3, l4});
  XFlush(display_);
}

DWORD X11Backend::DragOver(POINT screen, DWORD keys, DWORD allowed, const OutgoingDrag& drag) {
  if (!OnUiThread()) return 0;
  long version = 0;
  Window target = AwareWindowAt(screen, &version);
  if (target != out_.target) {
    DragLeave();
    if (target == 0) return 0;
    out_.target = target;
    out_.version = version;
    out_.text = drag.text;
    out_.uriList = drag.files.empty() ? std::string() : UriListOfFiles(drag.files);
    std::vector<Atom> types;
    if (!out_.uriList.empty()) types.push_back(atoms_.uriList);
    if (!out_.text.empty()) types.insert(types.end(), {atoms_.utf8String, atoms_.textPlain, XA_STRING});
    XChangeProperty(display_, selectionWindow_, atoms_.xdndTypeList, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(types.data()), static_cast<int>(types.size()));
    XSetSelectionOwner(display_, atoms_.xdndSelection, selectionWindow_, lastTime_);
    long first[3] = {0, 0, 0};
    for (size_t i = 0; i < types.size() && i < 3; ++i) first[i] = static_cast<long>(types[i]);
    SendToTarget(atoms_.xdndEnter, (version << 24) | (types.size() > 3 ? 1 : 0), first[0], first[1], first[2]);
  }
  // A move unless Ctrl asks for a copy (or only a copy is allowed).
  Atom move = XInternAtom(display_, "XdndActionMove", False);
  bool moving = (allowed & 2) && !((keys & MK_CONTROL) && (allowed & 1));
  Atom action = moving || !(allowed & 1) ? move : atoms_.xdndActionCopy;
  SendToTarget(atoms_.xdndPosition, 0, (static_cast<long>(screen.x) << 16) | (screen.y & 0xFFFF),
               static_cast<long>(lastTime_), static_cast<long>(action));
  XEvent e;
  Window to = out_.target;
  out_.accepted = WaitForEvent(ClientMessage, selectionWindow_, e, [this, to](XEvent& ev) {
    return ev.xclient.message_type == atoms_.xdndStatus && static_cast<Window>(ev.xclient.data.l[0]) == to;
  }) && (e.xclient.data.l[1] & 1);
  if (!out_.accepted) return 0;
  out_.action = static_cast<Atom>(e.xclient.data.l[4]);
  return out_.action == move ? 2 : 1;
}

void X11Backend::DragLeave() {
  if (out_.target != 0) SendToTarget(atoms_.xdndLeave, 0, 0, 0, 0);
  out_ = OutDrag{};
}

DWORD X11Backend::Drop(DWORD) {
  if (out_.target == 0) return 0;
  if (!out_.accepted) {
    DragLeave();
    return 0;
  }
  SendToTarget(atoms_.xdndDrop, 0, static_cast<long>(lastTime_), 0, 0);
  // The target asks for the data, then says it is finished; a few seconds at most.
  Atom move = XInternAtom(display_, "XdndActionMove", False);
  DWORD effect = 0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  for (bool finished = false; !finished && std::chrono::steady_clock::now() < deadline;) {
    XEvent e;
    if (XCheckTypedWindowEvent(display_, selectionWindow_, SelectionRequest, &e)) {
      OnSelectionRequest(e.xselectionrequest);
      XFlush(display_);
      continue;
    }
    if (XCheckTypedWindowEvent(display_, selectionWindow_, ClientMessage, &e)) {
      if (e.xclient.message_type != atoms_.xdndFinished || static_cast<Window>(e.xclient.data.l[0]) != out_.target) continue;
      finished = true;
      // Before version 5 the message says nothing more: the action of the last status stands.
      bool done = out_.version < 5 || (e.xclient.data.l[1] & 1);
      Atom action = out_.version < 5 ? out_.action : static_cast<Atom>(e.xclient.data.l[2]);
      effect = done ? (action == move ? 2 : 1) : 0;
      continue;
    }
    pollfd fd{ConnectionNumber(display_), POLLIN, 0};
    poll(&fd, 1, 50);
  }
  out_ = OutDrag{};
  return effect;
}

bool X11Backend::AnswerDragRequest(XSelectionRequestEvent& r, XEvent& reply) {
  if (r.selection != atoms_.xdndSelection || out_.target == 0) return false;
  Atom property = r.property == None ? r.target : r.property;
  auto give = [&](Atom type, const std::string& bytes) {
    XChangeProperty(display_, r.requestor, property, type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    reply.xselection.property = property;
  };
  if (r.target == atoms_.targets) {
    std::vector<Atom> targets{atoms_.targets};
    if (!out_.uriList.empty()) targets.push_back(atoms_.uriList);
    if (!out_.text.empty()) targets.insert(targets.end(), {atoms_.utf8String, atoms_.textPlain, XA_STRING});
    XChangeProperty(display_, r.requestor, property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(targets.data()), static_cast<int>(targets.size()));
    reply.xselection.property = property;
  } else if (r.target == atoms_.uriList && !out_.uriList.empty()) {
    give(atoms_.uriList, out_.uriList);
  } else if ((r.target == atoms_.utf8String || r.target == atoms_.textPlain) && !out_.text.empty()) {
    give(r.target, out_.text);
  } else if (r.target == XA_STRING && !out_.text.empty()) {
    std::string latin1;
    for (char32_t c : AnsiToUnicode(out_.text, CP_UTF8)) latin1 += c <= 0xFF ? static_cast<char>(c) : '?';
    give(XA_STRING, latin1);
  }
  return true;
}

}  // namespace brambolt::x11
