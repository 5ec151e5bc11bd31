// A small SMTP server on loopback for the mail tests: it speaks EHLO with AUTH CRAM-MD5, LOGIN
// and PLAIN (each can be switched off), checks the password, requires authentication when asked,
// records every command and the data of each message, and can close the connection or stay
// silent at a chosen point, or misbehave as a hostile server does (trickle, flood, stop reading).
// One connection per server.
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/CBase64Coder.h"
#include "app/MD5.h"
#include "base/Clock.h"

namespace apptest {

class FakeSmtpServer {
 public:
  struct Options {
    bool cramMd5 = true, login = true, plain = true;
    bool requireAuth = false;
    std::string user = "tim", password = "tanstaaftanstaaf";
    // "" behaves; "greeting" never greets; "hello" closes the connection at HELO or EHLO;
    // "trickle" sends a greeting that never ends, one byte each time the virtual clock moves;
    // "flood" sends one endless greeting line (8 MB); "nul" greets with a NUL byte in the line;
    // "stop reading" stops reading after its reply to DATA, with a small receive buffer;
    // "silent after data" takes the whole message and never answers its end.
    std::string misbehave;
    // Extra lines of the HELO reply, to make it long.
    int extraHelloLines = 0;
  };

  explicit FakeSmtpServer(Options options) : options_(std::move(options)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (options_.misbehave == "stop reading") {
      const int size = 4096;
      ::setsockopt(listener_, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    }
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 1);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] {
      Serve();
      // The server hangs up when it is done, whatever the client still waits for.
      if (connection_ >= 0) ::shutdown(connection_.load(), SHUT_RDWR);
    });
  }

  ~FakeSmtpServer() {
    stopping_ = true;
    ::shutdown(listener_, SHUT_RDWR);
    ::close(listener_);
    if (connection_ >= 0) ::shutdown(connection_.load(), SHUT_RDWR);
    thread_.join();
    if (connection_ >= 0) ::close(connection_.load());
  }

  // Ends the connection now, whatever either side waits for.
  void HangUp() {
    stopping_ = true;
    if (connection_ >= 0) ::shutdown(connection_.load(), SHUT_RDWR);
  }

  int Port() const { return port_; }
  bool Accepted() const { return accepted_; }
  bool Authenticated() const { return authenticated_; }
  std::vector<std::string> Commands() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return commands_;
  }
  std::vector<std::string> Messages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
  }

  static constexpr const char* kChallenge = "<1896.697170952@postoffice.reston.mci.net>";

 private:
  bool Reply(const std::string& text) {
    return ::send(connection_.load(), text.data(), text.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(text.size());
  }

  // The next line without its CR LF; false when the client has gone.
  bool ReadLine(std::string& line) {
    for (;;) {
      const size_t end = pending_.find("\r\n");
      if (end != std::string::npos) {
        line = pending_.substr(0, end);
        pending_.erase(0, end + 2);
        return true;
      }
      char buffer[1024];
      const ssize_t n = ::recv(connection_.load(), buffer, sizeof buffer, 0);
      if (n <= 0) return false;
      pending_.append(buffer, static_cast<size_t>(n));
    }
  }

  static std::string Decode(const std::string& text) {
    CBase64Coder coder;
    coder.Decode(text.c_str());
    return std::string(coder.GetDecodedText(), coder.GetDecodedSize());
  }
  static std::string Encode(const std::string& text) {
    CBase64Coder coder;
    coder.Encode(reinterpret_cast<const BYTE*>(text.data()), static_cast<UINT>(text.size()));
    return coder.GetEncodedText();
  }

  bool CramAnswerIsRight(const std::string& answer) const {
    unsigned char digest[16];
    hmac_md5(reinterpret_cast<const unsigned char*>(kChallenge), static_cast<int>(std::strlen(kChallenge)),
             reinterpret_cast<const unsigned char*>(options_.password.data()),
             static_cast<int>(options_.password.size()), digest);
    std::string expected = options_.user + " ";
    char hex[3];
    for (unsigned char byte : digest) {
      std::snprintf(hex, sizeof hex, "%02x", byte);
      expected += hex;
    }
    return Decode(answer) == expected;
  }

  void Record(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    commands_.push_back(line);
  }

  // Holds the connection open, reading nothing, until the server is destroyed.
  void Stall() {
    while (!stopping_) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }

  void Serve() {
    connection_ = ::accept(listener_, nullptr, nullptr);
    if (connection_ < 0) return;
    accepted_ = true;
    if (options_.misbehave == "trickle") {
      const std::string line = "220-slow\r\n";
      ULONGLONG seen = brambolt::VirtualClock::Now();
      for (size_t next = 0; !stopping_; std::this_thread::sleep_for(std::chrono::milliseconds(1))) {
        if (brambolt::VirtualClock::Now() == seen) continue;
        seen = brambolt::VirtualClock::Now();
        if (!Reply(line.substr(next++ % line.size(), 1))) return;
      }
      return;
    }
    if (options_.misbehave == "flood") {
      const std::string chunk(64 * 1024, 'x');
      Reply("220 ");
      for (int i = 0; i < 128 && !stopping_; ++i)
        if (!Reply(chunk)) return;
      Stall();
      return;
    }
    if (options_.misbehave == "nul") Reply(std::string("220 ready\0 here\r\n", 18));
    if (options_.misbehave == "greeting" || options_.misbehave == "nul") {
      std::string line;
      while (ReadLine(line)) Record(line);
      return;
    }
    // A greeting of two lines, sent in pieces.
    Reply("220-localhost ESMTP test server\r\n22");
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    Reply("0 ready\r\n");
    std::string line;
    while (ReadLine(line)) {
      Record(line);
      const std::string verb = line.substr(0, line.find(' '));
      if ((verb == "EHLO" || verb == "HELO") && options_.misbehave == "hello") return;
      if (verb == "EHLO") {
        std::string methods;
        if (options_.cramMd5) methods += " CRAM-MD5";
        if (options_.login) methods += " LOGIN";
        if (options_.plain) methods += " PLAIN";
        Reply("250-localhost\r\n250-AUTH" + methods + "\r\n250 HELP\r\n");
      } else if (verb == "HELO") {
        std::string reply;
        for (int i = 0; i < options_.extraHelloLines; ++i) reply += "250-line " + std::to_string(i) + " of a long reply\r\n";
        Reply(reply + "250 localhost\r\n");
      } else if (line == "AUTH CRAM-MD5" && options_.cramMd5) {
        Reply("334 " + Encode(kChallenge) + "\r\n");
        if (!ReadLine(line)) return;
        Record(line);
        Finish(CramAnswerIsRight(line));
      } else if (line == "AUTH LOGIN" && options_.login) {
        Reply("334 " + Encode("Username:") + "\r\n");
        std::string user, password;
        if (!ReadLine(user)) return;
        Record(user);
        Reply("334 " + Encode("Password:") + "\r\n");
        if (!ReadLine(password)) return;
        Record(password);
        Finish(Decode(user) == options_.user && Decode(password) == options_.password);
      } else if (line.rfind("AUTH PLAIN ", 0) == 0 && options_.plain) {
        Finish(Decode(line.substr(11)) == std::string(1, '\0') + options_.user + '\0' + options_.password);
      } else if (verb == "AUTH") {
        Reply("504 5.5.4 Unrecognized authentication type\r\n");
      } else if (verb == "MAIL") {
        Reply(options_.requireAuth && !authenticated_ ? "530 5.7.0 Authentication required\r\n" : "250 OK\r\n");
      } else if (verb == "RCPT") {
        Reply("250 OK\r\n");
      } else if (verb == "DATA") {
        Reply("354 End data with <CR><LF>.<CR><LF>\r\n");
        if (options_.misbehave == "stop reading") {
          Stall();
          return;
        }
        std::string data;
        while (ReadLine(line) && line != ".") data += (line[0] == '.' ? line.substr(1) : line) + "\r\n";
        {
          std::lock_guard<std::mutex> lock(mutex_);
          messages_.push_back(data);
        }
        if (options_.misbehave == "silent after data") {
          Stall();
          return;
        }
        Reply("250 2.0.0 queued\r\n");
      } else if (verb == "QUIT") {
        Reply("221 Bye\r\n");
        return;
      } else {
        Reply("500 unknown\r\n");
      }
    }
  }

  void Finish(bool accepted) {
    authenticated_ = authenticated_ || accepted;
    Reply(accepted ? "235 2.7.0 Authentication successful\r\n" : "535 5.7.8 Authentication credentials invalid\r\n");
  }

  Options options_;
  int listener_ = -1;
  std::atomic<int> connection_{-1};
  int port_ = 0;
  std::thread thread_;
  std::atomic<bool> accepted_{false};
  std::atomic<bool> authenticated_{false};
  std::atomic<bool> stopping_{false};
  std::string pending_;
  mutable std::mutex mutex_;
  std::vector<std::string> commands_;
  std::vector<std::string> messages_;
};

}  // namespace apptest
