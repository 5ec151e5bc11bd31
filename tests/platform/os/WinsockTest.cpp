// Sockets under the Winsock names, against a peer on 127.0.0.1 that the test runs itself.
#include <gtest/gtest.h>

#include <string>
#include <atomic>
#include <thread>

#include "base/Clock.h"

#include "os/Winsock.h"

namespace {

constexpr long kGenerousSeconds = 20;  // a select that must not time out

// A listening socket on 127.0.0.1 with a port the system chose.
struct Listener {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  Listener() {
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    address.sin_port = 0;
    EXPECT_EQ(bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t length = sizeof address;
    getsockname(static_cast<int>(s), reinterpret_cast<sockaddr*>(&address), &length);
    EXPECT_EQ(listen(s, 4), 0);
  }
  ~Listener() { closesocket(s); }
};

SOCKET ConnectTo(const sockaddr_in& address) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  EXPECT_NE(s, INVALID_SOCKET);
  if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == SOCKET_ERROR) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  return s;
}

// Select as the mail client calls it: first argument 0.
int Readable(SOCKET s, long seconds) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval timeout{seconds, 0};
  const int result = select(0, &set, nullptr, nullptr, &timeout);
  return result > 0 && FD_ISSET(s, &set) ? 1 : result;
}

std::string Receive(SOCKET s) {
  char buffer[256];
  const int n = recv(s, buffer, sizeof buffer, 0);
  return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

TEST(Sockets, StartupFillsTheRecord) {
  WSADATA data;
  ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
  EXPECT_EQ(data.wVersion, MAKEWORD(1, 1));
  EXPECT_EQ(data.wHighVersion, MAKEWORD(2, 2));
  ASSERT_EQ(WSAStartup(MAKEWORD(3, 0), &data), 0);
  EXPECT_EQ(data.wVersion, MAKEWORD(2, 2));
  EXPECT_EQ(WSACleanup(), 0);
}

TEST(Sockets, ALoopbackPeerEchoesWhatIsSent) {
  Listener listener;
  std::thread peer([&] {
    SOCKET c = accept(listener.s, nullptr, nullptr);
    ASSERT_NE(c, INVALID_SOCKET);
    std::string line = Receive(c);
    send(c, line.data(), static_cast<int>(line.size()), 0);
    closesocket(c);
  });
  SOCKET s = ConnectTo(listener.address);
  ASSERT_NE(s, INVALID_SOCKET);
  const char hello[] = "HELO brambolt\r\n";
  EXPECT_EQ(send(s, hello, static_cast<int>(sizeof hello - 1), 0),
            static_cast<int>(sizeof hello - 1));
  ASSERT_EQ(Readable(s, kGenerousSeconds), 1);
  EXPECT_EQ(Receive(s), hello);
  peer.join();
  // The peer's close reads as readable with 0 bytes.
  ASSERT_EQ(Readable(s, kGenerousSeconds), 1);
  char byte;
  EXPECT_EQ(recv(s, &byte, 1, 0), 0);
  EXPECT_EQ(shutdown(s, SD_BOTH), 0);
  EXPECT_EQ(closesocket(s), 0);
}

TEST(Sockets, SelectWithAZeroTimeoutSeesOnlyWhatHasArrived) {
  Listener listener;
  SOCKET s = ConnectTo(listener.address);
  SOCKET c = accept(listener.s, nullptr, nullptr);
  ASSERT_NE(c, INVALID_SOCKET);
  EXPECT_EQ(Readable(s, 0), 0);
  send(c, "220 ready\r\n", 11, 0);
  ASSERT_EQ(Readable(s, kGenerousSeconds), 1);
  EXPECT_EQ(Readable(s, 0), 1);
  closesocket(c);
  closesocket(s);
}

TEST(Sockets, ARefusedConnectionReports10061) {
  sockaddr_in address;
  {
    Listener closed;
    address = closed.address;
  }
  EXPECT_EQ(ConnectTo(address), INVALID_SOCKET);
  EXPECT_EQ(WSAGetLastError(), WSAECONNREFUSED);
  EXPECT_EQ(GetLastError(), 10061u);
}

TEST(Sockets, CallErrorsCarryWinsockCodes) {
  Listener listener;
  SOCKET second = socket(AF_INET, SOCK_STREAM, 0);
  EXPECT_EQ(bind(second, reinterpret_cast<sockaddr*>(&listener.address), sizeof listener.address),
            SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEADDRINUSE);
  EXPECT_EQ(closesocket(second), 0);
  EXPECT_EQ(closesocket(second), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
  char byte = 0;
  EXPECT_EQ(recv(listener.s, &byte, -1, 0), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
  EXPECT_EQ(select(0, nullptr, nullptr, nullptr, nullptr), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
}

TEST(Sockets, SendingToAClosedPeerFailsWithoutEndingTheProgram) {
  Listener listener;
  SOCKET s = ConnectTo(listener.address);
  closesocket(accept(listener.s, nullptr, nullptr));
  int result = 0;
  for (int i = 0; i < 10000 && result != SOCKET_ERROR; ++i) {
    result = send(s, "x", 1, 0);
    if (result != SOCKET_ERROR) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(result, SOCKET_ERROR);
  EXPECT_TRUE(WSAGetLastError() == WSAECONNRESET || WSAGetLastError() == WSAECONNABORTED)
      << WSAGetLastError();
  closesocket(s);
}

TEST(Sockets, NonBlockingModeAndPendingBytesThroughIoctlsocket) {
  Listener listener;
  SOCKET s = ConnectTo(listener.address);
  SOCKET c = accept(listener.s, nullptr, nullptr);
  u_long on = 1;
  ASSERT_EQ(ioctlsocket(s, FIONBIO, &on), 0);
  char buffer[16];
  EXPECT_EQ(recv(s, buffer, sizeof buffer, 0), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
  send(c, "12345", 5, 0);
  ASSERT_EQ(Readable(s, kGenerousSeconds), 1);
  u_long waiting = 0;
  ASSERT_EQ(ioctlsocket(s, WINSOCK_FIONREAD, &waiting), 0);
  EXPECT_EQ(waiting, 5u);
  u_long off = 0;
  ASSERT_EQ(ioctlsocket(s, WINSOCK_FIONBIO, &off), 0);
  EXPECT_EQ(recv(s, buffer, sizeof buffer, 0), 5);
  EXPECT_EQ(ioctlsocket(s, 0x1234, &off), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
  closesocket(c);
  closesocket(s);
}

TEST(Sockets, AddressHelpersAndTheLastError) {
  EXPECT_EQ(inet_addr("127.0.0.1"), htonl(0x7F000001));
  EXPECT_EQ(inet_addr("mail.example"), INADDR_NONE);
  in_addr address{};
  address.s_addr = htonl(0xC0A80001);
  EXPECT_STREQ(inet_ntoa(address), "192.168.0.1");
  EXPECT_EQ(htons(25), 0x1900);
  char name[100] = {};
  EXPECT_EQ(gethostname(name, sizeof name), 0);
  EXPECT_NE(name[0], '\0');
  WSASetLastError(WSAETIMEDOUT);
  EXPECT_EQ(GetLastError(), 10060u);
  SetLastError(22);
  EXPECT_EQ(WSAGetLastError(), 22);
}

}  // namespace

TEST(Sockets, SelectTimeOutsFollowTheVirtualClock) {
  using brambolt::VirtualClock;
  Listener listener;
  SOCKET s = ConnectTo(listener.address);
  SOCKET c = accept(listener.s, nullptr, nullptr);
  ASSERT_NE(c, INVALID_SOCKET);
  brambolt::ScopedVirtualClock clock;  // this thread is bound to it
  const ULONGLONG start = VirtualClock::Now();
  // Nothing comes: the bound thread's wait moves the clock on by the time-out and times out.
  EXPECT_EQ(Readable(s, 30), 0);
  EXPECT_EQ(VirtualClock::Now() - start, 30000u);
  send(c, "+OK\r\n", 5, 0);
  EXPECT_EQ(Readable(s, 30), 1);
  char buffer[8];
  EXPECT_EQ(recv(s, buffer, sizeof buffer, 0), 5);

  // Another thread waits until the test moves the clock past its deadline: it comes back with a
  // time-out once ten virtual seconds passed after it began, however long that took.
  std::atomic<int> result{-2};
  std::atomic<ULONGLONG> began{0}, ended{0};
  std::thread client([&] {
    began = VirtualClock::Now();
    int r = Readable(s, 10);
    ended = VirtualClock::Now();
    result = r;
  });
  for (int i = 0; i < 2000 && result == -2; ++i) {
    VirtualClock::Advance(500);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  client.join();
  EXPECT_EQ(result, 0);
  EXPECT_GE(ended - began, 10000u);
  closesocket(c);
  closesocket(s);
}
