// The Winsock calls over the BSD socket calls.
#include "os/Winsock.h"

#include "base/Clock.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

int Descriptor(SOCKET s) { return static_cast<int>(s); }

// Records the failed call's errno as a Winsock code and returns SOCKET_ERROR.
int Fail() {
  const int error = errno;
  switch (error) {
    // A descriptor that is no socket, and a write to a connection the peer has reset, have
    // codes of their own under Winsock.
    case EBADF:
      SetLastError(WSAENOTSOCK);
      break;
    case EPIPE:
      SetLastError(WSAECONNRESET);
      break;
    default:
      SetLastError(ErrnoToWinsockError(error));
  }
  return SOCKET_ERROR;
}

// One look at the sets, waiting at most `ms` of real time; the sets are left for the next look
// unless something is ready (then they say what).
int Look(int highest, fd_set* readfds, fd_set* writefds, fd_set* exceptfds, long ms) {
  fd_set copies[3];
  fd_set* sets[3] = {readfds, writefds, exceptfds};
  for (int i = 0; i < 3; ++i)
    if (sets[i] != nullptr) copies[i] = *sets[i];
  timeval wait{ms / 1000, (ms % 1000) * 1000};
  const int result = (::select)(highest + 1, readfds ? &copies[0] : nullptr, writefds ? &copies[1] : nullptr,
                                exceptfds ? &copies[2] : nullptr, &wait);
  if (result > 0)
    for (int i = 0; i < 3; ++i)
      if (sets[i] != nullptr) *sets[i] = copies[i];
  return result;
}

// select while the virtual clock runs: a thread bound to the clock moves it on by the time-out
// when nothing is ready (as its Sleep does); any other thread waits until something is ready or
// the test moves the clock past the deadline.
int VirtualSelect(int highest, fd_set* readfds, fd_set* writefds, fd_set* exceptfds, const timeval& timeout) {
  using brambolt::VirtualClock;
  const ULONGLONG wait = static_cast<ULONGLONG>(std::max<long>(timeout.tv_sec, 0)) * 1000 +
                         static_cast<ULONGLONG>(std::max<long>(timeout.tv_usec, 0)) / 1000;
  const ULONGLONG deadline = VirtualClock::Now() + wait;
  int result = Look(highest, readfds, writefds, exceptfds, 0);
  if (result == 0 && VirtualClock::IsCurrentThreadBound()) {
    VirtualClock::Advance(wait);
    result = Look(highest, readfds, writefds, exceptfds, 0);
  }
  while (result == 0 && VirtualClock::IsEnabled() && VirtualClock::Now() < deadline)
    result = Look(highest, readfds, writefds, exceptfds, 10);
  if (result < 0) return Fail();
  if (result == 0)
    for (fd_set* set : {readfds, writefds, exceptfds})
      if (set != nullptr) FD_ZERO(set);
  return result;
}

}  // namespace

int WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData) {
  if (!lpWSAData) return WSAEFAULT;
  std::memset(lpWSAData, 0, sizeof *lpWSAData);
  const WORD highest = MAKEWORD(2, 2);
  const bool above = LOBYTE(wVersionRequested) > 2 ||
                     (LOBYTE(wVersionRequested) == 2 && HIBYTE(wVersionRequested) > 2);
  lpWSAData->wVersion = above ? highest : wVersionRequested;
  lpWSAData->wHighVersion = highest;
  lpWSAData->iMaxSockets = 0;
  lpWSAData->iMaxUdpDg = 0;
  std::strcpy(lpWSAData->szDescription, "WinSock 2.0");
  std::strcpy(lpWSAData->szSystemStatus, "Running");
  return 0;
}

int WSACleanup() { return 0; }

int WSAGetLastError() { return static_cast<int>(GetLastError()); }

void WSASetLastError(int iError) { SetLastError(static_cast<DWORD>(iError)); }

namespace brambolt {

int WinsockConnect(SOCKET s, const sockaddr* name, int namelen) {
  if (::connect(Descriptor(s), name, static_cast<socklen_t>(namelen)) == 0) return 0;
  // A non-blocking connect under way is "would block" in Winsock.
  if (errno == EINPROGRESS) {
    SetLastError(WSAEWOULDBLOCK);
    return SOCKET_ERROR;
  }
  return Fail();
}

int WinsockBind(SOCKET s, const sockaddr* name, int namelen) {
  return ::bind(Descriptor(s), name, static_cast<socklen_t>(namelen)) == 0 ? 0 : Fail();
}

int WinsockListen(SOCKET s, int backlog) {
  return ::listen(Descriptor(s), backlog) == 0 ? 0 : Fail();
}

int WinsockSend(SOCKET s, const char* buf, int len, int flags) {
  if (len < 0) {
    SetLastError(WSAEINVAL);
    return SOCKET_ERROR;
  }
  const ssize_t sent = ::send(Descriptor(s), static_cast<const void*>(buf),
                              static_cast<size_t>(len), flags | MSG_NOSIGNAL);
  return sent < 0 ? Fail() : static_cast<int>(sent);
}

int WinsockRecv(SOCKET s, char* buf, int len, int flags) {
  if (len < 0) {
    SetLastError(WSAEINVAL);
    return SOCKET_ERROR;
  }
  const ssize_t received =
      ::recv(Descriptor(s), static_cast<void*>(buf), static_cast<size_t>(len), flags);
  return received < 0 ? Fail() : static_cast<int>(received);
}

int WinsockShutdown(SOCKET s, int how) { return ::shutdown(Descriptor(s), how) == 0 ? 0 : Fail(); }

int WinsockSelect(int, fd_set* readfds, fd_set* writefds, fd_set* exceptfds,
                  const timeval* timeout) {
  int highest = -1;
  for (const fd_set* set : {readfds, writefds, exceptfds}) {
    if (!set) continue;
    for (int fd = FD_SETSIZE - 1; fd > highest; --fd)
      if (FD_ISSET(fd, set)) {
        highest = fd;
        break;
      }
  }
  // Winsock refuses a select with nothing to watch.
  if (highest < 0) {
    SetLastError(WSAEINVAL);
    return SOCKET_ERROR;
  }
  // Under the virtual clock a finite wait lasts virtual time, so time-outs are tested without waiting.
  if (timeout != nullptr && VirtualClock::IsEnabled()) return VirtualSelect(highest, readfds, writefds, exceptfds, *timeout);
  timeval remaining{};
  if (timeout) remaining = *timeout;
  // The parentheses keep the Winsock macro from turning this into a call of ourselves.
  const int result =
      (::select)(highest + 1, readfds, writefds, exceptfds, timeout ? &remaining : nullptr);
  return result < 0 ? Fail() : result;
}

}  // namespace brambolt

SOCKET accept(SOCKET s, sockaddr* addr, int* addrlen) {
  socklen_t length = addrlen ? static_cast<socklen_t>(*addrlen) : 0;
  const int fd = ::accept(Descriptor(s), addr, addrlen ? &length : nullptr);
  if (fd < 0) {
    Fail();
    return INVALID_SOCKET;
  }
  if (addrlen) *addrlen = static_cast<int>(length);
  return static_cast<SOCKET>(fd);
}

int closesocket(SOCKET s) { return ::close(Descriptor(s)) == 0 ? 0 : Fail(); }

int ioctlsocket(SOCKET s, long cmd, u_long* argp) {
  if (!argp) {
    SetLastError(WSAEFAULT);
    return SOCKET_ERROR;
  }
  const int fd = Descriptor(s);
  if (cmd == static_cast<long>(FIONBIO) || cmd == WINSOCK_FIONBIO) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0) return Fail();
    const int wanted = *argp ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    return ::fcntl(fd, F_SETFL, wanted) == 0 ? 0 : Fail();
  }
  if (cmd == static_cast<long>(FIONREAD) || cmd == WINSOCK_FIONREAD) {
    int waiting = 0;
    if (::ioctl(fd, FIONREAD, &waiting) != 0) return Fail();
    *argp = static_cast<u_long>(waiting);
    return 0;
  }
  SetLastError(WSAEINVAL);
  return SOCKET_ERROR;
}
