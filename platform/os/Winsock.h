// Sockets under the Winsock names. The BSD calls are the system's; where Winsock's contract differs
// the calls taking a SOCKET are our own overloads: they report errors through the thread's last
// error (WSAGetLastError is GetLastError) with the WSAE codes, never raise SIGPIPE, and select
// ignores its first argument as Winsock does (it looks at every socket in the sets).
//
// socket(), gethostbyname() and the other calls without a SOCKET argument are the system's and
// leave errno, not the last error. Code that holds a descriptor as an int gets the system calls.
#pragma once

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <concepts>

#include "base/LastError.h"
#include "base/WinMacros.h"
#include "base/WinTypes.h"

typedef UINT_PTR SOCKET;
#define INVALID_SOCKET (static_cast<SOCKET>(~static_cast<UINT_PTR>(0)))
#define SOCKET_ERROR (-1)

#define SD_RECEIVE 0
#define SD_SEND 1
#define SD_BOTH 2

typedef struct sockaddr SOCKADDR, *PSOCKADDR, *LPSOCKADDR;
typedef struct sockaddr_in SOCKADDR_IN, *PSOCKADDR_IN, *LPSOCKADDR_IN;
typedef struct in_addr IN_ADDR, *PIN_ADDR, *LPIN_ADDR;
typedef struct hostent HOSTENT, *PHOSTENT, *LPHOSTENT;
typedef struct timeval TIMEVAL, *PTIMEVAL, *LPTIMEVAL;
typedef fd_set FD_SET, *PFD_SET, *LPFD_SET;

#define WSADESCRIPTION_LEN 256
#define WSASYS_STATUS_LEN 128

// The 64-bit layout.
typedef struct WSAData {
  WORD wVersion;
  WORD wHighVersion;
  unsigned short iMaxSockets;
  unsigned short iMaxUdpDg;
  char* lpVendorInfo;
  char szDescription[WSADESCRIPTION_LEN + 1];
  char szSystemStatus[WSASYS_STATUS_LEN + 1];
} WSADATA, *LPWSADATA;

// The library needs no start: both succeed; WSAStartup fills the record (version up to 2.2).
int WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData);
int WSACleanup();
int WSAGetLastError();
void WSASetLastError(int iError);

namespace brambolt {
// The calls behind the Winsock overloads below.
int WinsockConnect(SOCKET s, const sockaddr* name, int namelen);
int WinsockBind(SOCKET s, const sockaddr* name, int namelen);
int WinsockListen(SOCKET s, int backlog);
int WinsockSend(SOCKET s, const char* buf, int len, int flags);
int WinsockRecv(SOCKET s, char* buf, int len, int flags);
int WinsockShutdown(SOCKET s, int how);

// A first argument of type SOCKET selects the Winsock call; any other (an int descriptor) the
// system's, so that neither call form is ambiguous.
template <class S>
concept WinsockSocket = std::same_as<S, SOCKET>;
}  // namespace brambolt

template <brambolt::WinsockSocket S, std::integral N>
int connect(S s, const sockaddr* name, N namelen) {
  return brambolt::WinsockConnect(s, name, static_cast<int>(namelen));
}
template <brambolt::WinsockSocket S, std::integral N>
int bind(S s, const sockaddr* name, N namelen) {
  return brambolt::WinsockBind(s, name, static_cast<int>(namelen));
}
template <brambolt::WinsockSocket S>
int listen(S s, int backlog) {
  return brambolt::WinsockListen(s, backlog);
}
template <brambolt::WinsockSocket S, std::integral N>
int send(S s, const char* buf, N len, int flags) {
  return brambolt::WinsockSend(s, buf, static_cast<int>(len), flags);
}
template <brambolt::WinsockSocket S, std::integral N>
int recv(S s, char* buf, N len, int flags) {
  return brambolt::WinsockRecv(s, buf, static_cast<int>(len), flags);
}
template <brambolt::WinsockSocket S>
int shutdown(S s, int how) {
  return brambolt::WinsockShutdown(s, how);
}
SOCKET accept(SOCKET s, sockaddr* addr, int* addrlen);
int closesocket(SOCKET s);
// FIONBIO (a nonzero *argp makes the socket non-blocking) and FIONREAD (bytes waiting), under
// their system values and their Winsock values alike.
int ioctlsocket(SOCKET s, long cmd, u_long* argp);

#define WINSOCK_FIONBIO 0x8004667EL
#define WINSOCK_FIONREAD 0x4004667FL

namespace brambolt {
// select as Winsock defines it: the first argument is ignored, the sets say what to watch.
int WinsockSelect(int nfds, fd_set* readfds, fd_set* writefds, fd_set* exceptfds,
                  const timeval* timeout);
}  // namespace brambolt

// Winsock code passes 0 as the first argument, which would make the system's select watch
// nothing; the call is redirected so that it watches the sockets in the sets.
#define select(nfds, readfds, writefds, exceptfds, timeout) \
  ::brambolt::WinsockSelect(nfds, readfds, writefds, exceptfds, timeout)
