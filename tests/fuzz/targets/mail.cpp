// Fuzz target: the mail client reading a server's replies. The input is everything the server
// sends, handed over through the connection's transport in pieces of changing size; the client
// logs in (EHLO and the AUTH methods, falling back to HELO), sends a message and quits.
// With BRAMBOLT_FUZZ_WRITE_SEEDS set to a folder, the first input also writes the seeds there:
// the replies of a server that takes the message after each way of logging in.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "app/CSMTPConnection.h"

namespace {

// A server whose replies are the input; what the client sends is dropped.
class ScriptedServer : public CSMTPTransport {
 public:
  ScriptedServer(const uint8_t* data, size_t size) : m_pData(data), m_nLeft(size) {}
  BOOL Connect(LPCTSTR, UINT, ULONGLONG) override { return TRUE; }
  BOOL Send(LPCSTR, int, ULONGLONG) override { return !m_bCancelled; }
  int Receive(LPSTR pszBuf, int nBuf, ULONGLONG) override {
    if (m_bCancelled) {
      SetLastError(ERROR_CANCELLED);
      return SOCKET_ERROR;
    }
    // Pieces of 1 to 97 bytes, so that lines and replies are split anywhere.
    m_nPiece = m_nPiece * 31 % 97 + 1;
    const size_t n = std::min({m_nLeft, static_cast<size_t>(nBuf), m_nPiece});
    std::memcpy(pszBuf, m_pData, n);
    m_pData += n;
    m_nLeft -= n;
    return static_cast<int>(n);
  }
  void Close() override {}
  void Cancel() override { m_bCancelled = true; }

 private:
  const uint8_t* m_pData;
  size_t m_nLeft;
  size_t m_nPiece = 5;
  bool m_bCancelled = false;
};

void WriteSeeds(const std::string& folder) {
  const std::string greeting = "220-mail.example ESMTP\r\n220 ready\r\n";
  const std::string ehlo = "250-mail.example\r\n250-AUTH CRAM-MD5 LOGIN PLAIN\r\n250 HELP\r\n";
  const std::string message = "250 OK\r\n250 OK\r\n354 End data with <CR><LF>.<CR><LF>\r\n250 queued\r\n221 Bye\r\n";
  const struct {
    const char* name;
    std::string replies;
  } seeds[] = {
      {"cram-md5", greeting + ehlo + "334 PDE4OTYuNjk3MTcwOTUyQHBvc3RvZmZpY2UucmVzdG9uLm1jaS5uZXQ+\r\n235 OK\r\n" + message},
      {"login", greeting + ehlo + "504 no\r\n334 VXNlcm5hbWU6\r\n334 UGFzc3dvcmQ6\r\n235 OK\r\n" + message},
      {"plain", greeting + ehlo + "504 no\r\n504 no\r\n235 OK\r\n" + message},
      {"helo", greeting + "500 no\r\n250 mail.example\r\n" + message},
  };
  for (const auto& seed : seeds) std::ofstream(folder + "/" + seed.name, std::ios::binary) << seed.replies;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const char* seeds = std::getenv("BRAMBOLT_FUZZ_WRITE_SEEDS"); seeds != nullptr && *seeds != '\0') {
    static const bool written = (WriteSeeds(seeds), true);
    (void)written;
  }
  CSMTPConnection connection(std::make_unique<ScriptedServer>(data, size));
  if (connection.Connect("mail.example", 25, "tim", "tanstaaftanstaaf")) {
    CSMTPMessage message;
    message.m_From = CSMTPAddress("Report Form", "support@example.org");
    message.AddMultipleRecipients("Support <support@example.org>; copy@example.org");
    message.m_sSubject = "Question";
    message.SetBody("First line\r\n.\r\nlast");
    connection.SendMessage(message);
    connection.Disconnect();
  }
  // Whatever came, the reply kept is bounded.
  if (connection.GetLastCommandResponse().GetLength() > 64 * 1024) std::abort();
  return 0;
}
