// The SMTP client's dialogue with the server.
#include "app/CSMTPConnection.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/MD5.h"
#include "base/Clock.h"

namespace {

// Waits are this long at most, so that a deadline on the (possibly virtual) tick count is
// noticed soon after it passes.
constexpr DWORD kPollMs = 250;
// RFC 5321 4.5.3.1.5: a reply line holds at most 512 octets with its CR LF.
constexpr size_t kMaxReplyLine = 512;
// A reply of many lines (an EHLO reply is some twenty) never needs more.
constexpr size_t kMaxReply = 64 * 1024;
#ifndef ERROR_BAD_COMMAND
constexpr DWORD ERROR_BAD_COMMAND = 22;
#endif

int Descriptor(SOCKET s) { return static_cast<int>(s); }

// Angle brackets and line breaks never reach a command through an address.
CString CommandAddress(CString strAddress) {
  for (const char ch : {'\r', '\n', '<', '>'}) strAddress.Remove(ch);
  return strAddress;
}

}  // namespace

// ---- CSMTPSocket

CSMTPSocket::CSMTPSocket() : m_nWakeFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

CSMTPSocket::~CSMTPSocket() {
  Close();
  if (m_nWakeFd >= 0) ::close(m_nWakeFd);
}

BOOL CSMTPSocket::Create() {
  Close();
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    SetLastError(ErrnoToWinsockError(errno));
    return FALSE;
  }
  m_hSocket = static_cast<SOCKET>(fd);
  return TRUE;
}

void CSMTPSocket::Cancel() {
  m_bCancelled = true;
  const uint64_t one = 1;
  if (m_nWakeFd >= 0) [[maybe_unused]] const ssize_t n = ::write(m_nWakeFd, &one, sizeof one);
}

BOOL CSMTPSocket::WaitFor(short events, ULONGLONG ullDeadline) {
  for (;;) {
    if (m_bCancelled) {
      SetLastError(ERROR_CANCELLED);
      return FALSE;
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= ullDeadline) {
      SetLastError(WSAETIMEDOUT);
      return FALSE;
    }
    pollfd fds[2] = {{Descriptor(m_hSocket), events, 0}, {m_nWakeFd, POLLIN, 0}};
    const int nWait = static_cast<int>(std::min<ULONGLONG>(kPollMs, ullDeadline - now));
    const int nReady = ::poll(fds, m_nWakeFd >= 0 ? 2 : 1, nWait);
    if (nReady < 0 && errno != EINTR) {
      SetLastError(ErrnoToWinsockError(errno));
      return FALSE;
    }
    if (nReady > 0 && fds[0].revents != 0) return TRUE;
  }
}

BOOL CSMTPSocket::Connect(LPCTSTR lpszHostAddress, UINT nHostPort, ULONGLONG ullDeadline) {
  if (m_hSocket == INVALID_SOCKET && !Create()) return FALSE;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(nHostPort));
  address.sin_addr.s_addr = ::inet_addr(lpszHostAddress);
  if (address.sin_addr.s_addr == INADDR_NONE) {
    const hostent* pHost = ::gethostbyname(lpszHostAddress);
    if (pHost == nullptr || pHost->h_addrtype != AF_INET || pHost->h_addr_list[0] == nullptr) {
      SetLastError(WSAEINVAL);
      return FALSE;
    }
    std::memcpy(&address.sin_addr, pHost->h_addr_list[0], sizeof address.sin_addr);
  }
  return Connect(reinterpret_cast<const SOCKADDR*>(&address), sizeof address, ullDeadline);
}

BOOL CSMTPSocket::Connect(const SOCKADDR* lpSockAddr, int nSockAddrLen, ULONGLONG ullDeadline) {
  if (::connect(Descriptor(m_hSocket), lpSockAddr, static_cast<socklen_t>(nSockAddrLen)) == 0) return TRUE;
  if (errno != EINPROGRESS) {
    SetLastError(ErrnoToWinsockError(errno));
    return FALSE;
  }
  if (!WaitFor(POLLOUT, ullDeadline)) return FALSE;
  int error = 0;
  socklen_t length = sizeof error;
  if (::getsockopt(Descriptor(m_hSocket), SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
  if (error == 0) return TRUE;
  SetLastError(ErrnoToWinsockError(error));
  return FALSE;
}

BOOL CSMTPSocket::Send(LPCSTR pszBuf, int nBuf, ULONGLONG ullDeadline) {
  while (nBuf > 0) {
    const ssize_t nSent = ::send(Descriptor(m_hSocket), pszBuf, static_cast<size_t>(nBuf), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (nSent < 0) {
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) {
        SetLastError(ErrnoToWinsockError(errno));
        return FALSE;
      }
      // A server that stops reading fills the socket's buffer: wait for room, up to the deadline.
      if (!WaitFor(POLLOUT, ullDeadline)) return FALSE;
      continue;
    }
    pszBuf += nSent;
    nBuf -= static_cast<int>(nSent);
  }
  return TRUE;
}

int CSMTPSocket::Receive(LPSTR pszBuf, int nBuf, ULONGLONG ullDeadline) {
  for (;;) {
    if (!WaitFor(POLLIN, ullDeadline)) return SOCKET_ERROR;
    const ssize_t nRead = ::recv(Descriptor(m_hSocket), pszBuf, static_cast<size_t>(nBuf), MSG_DONTWAIT);
    if (nRead >= 0) return static_cast<int>(nRead);
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
      SetLastError(ErrnoToWinsockError(errno));
      return SOCKET_ERROR;
    }
  }
}

void CSMTPSocket::Close() {
  if (m_hSocket != INVALID_SOCKET) {
    ::close(Descriptor(m_hSocket));
    m_hSocket = INVALID_SOCKET;
  }
}

// ---- CSMTPConnection

CSMTPConnection::CSMTPConnection(std::unique_ptr<CSMTPTransport> pTransport)
    : m_pTransport(pTransport ? std::move(pTransport) : std::make_unique<CSMTPSocket>()) {}

CSMTPConnection::~CSMTPConnection() {
  if (m_bConnected) Disconnect();
  m_pTransport->Close();
}

void CSMTPConnection::Broken() {
  m_bBroken = TRUE;
  m_pTransport->Close();
}

ULONGLONG CSMTPConnection::Deadline() const { return GetTickCount64() + m_dwTimeout; }

BOOL CSMTPConnection::SendText(const CString& strText, ULONGLONG ullDeadline) {
  if (m_bBroken) return FALSE;
  if (m_pTransport->Send(strText, strText.GetLength(), ullDeadline)) return TRUE;
  Broken();
  return FALSE;
}

BOOL CSMTPConnection::Command(const CString& strText, int nExpectedCode, BOOL* pbSent) {
  // One deadline for the command and its whole reply.
  m_ullCommandDeadline = Deadline();
  const BOOL bSent = SendText(strText, m_ullCommandDeadline);
  if (pbSent != nullptr) *pbSent = bSent;
  const BOOL bDone = bSent && ReadCommandResponse(nExpectedCode);
  m_ullCommandDeadline = 0;
  return bDone;
}

BOOL CSMTPConnection::ReadCommandResponse(int nExpectedCode) {
  return ReadResponse(nExpectedCode, m_ullCommandDeadline != 0 ? m_ullCommandDeadline : Deadline());
}

BOOL CSMTPConnection::ReadResponse(int nExpectedCode, ULONGLONG ullDeadline) {
  if (m_bBroken) return FALSE;
  std::string reply;
  // What came is kept for the report, as much of it as a reply may hold.
  auto fail = [&](DWORD dwError) {
    if (dwError != 0) SetLastError(dwError);
    m_sLastCommandResponse = CString(reply.data(), static_cast<int>(std::min(reply.size(), kMaxReply)));
    Broken();
    return FALSE;
  };
  // Only what arrives is looked at, once: where the line being received starts, and the end of
  // the reply's last line when it has come.
  size_t nLine = 0;
  size_t nEnd = std::string::npos;
  char chunk[kMaxReplyLine];
  while (nEnd == std::string::npos) {
    const int nRead = m_pTransport->Receive(chunk, sizeof chunk, ullDeadline);
    if (nRead == SOCKET_ERROR) return fail(0);
    // The server closed the connection: nothing more will come.
    if (nRead == 0) return fail(WSAECONNRESET);
    const size_t nOld = reply.size();
    if (const void* pNul = std::memchr(chunk, '\0', static_cast<size_t>(nRead))) {
      reply.append(chunk, static_cast<size_t>(static_cast<const char*>(pNul) - chunk));
      return fail(ERROR_INVALID_DATA);
    }
    reply.append(chunk, static_cast<size_t>(nRead));
    for (size_t from = std::max(nLine, nOld > 0 ? nOld - 1 : 0);;) {
      const size_t end = reply.find("\r\n", from);
      if (end == std::string::npos) break;
      if (end + 2 - nLine > kMaxReplyLine) return fail(ERROR_INVALID_DATA);
      const bool bContinued = end - nLine >= 4 && reply[nLine + 3] == '-';
      nLine = from = end + 2;
      if (!bContinued) {
        nEnd = end;
        break;
      }
    }
    const bool bLineTooLong = nEnd == std::string::npos && reply.size() - nLine >= kMaxReplyLine;
    if (bLineTooLong || (nEnd == std::string::npos ? reply.size() : nEnd) > kMaxReply) return fail(ERROR_INVALID_DATA);
  }
  // The reply without its final terminator; the code is the one of its last line.
  m_sLastCommandResponse = CString(reply.data(), static_cast<int>(nEnd));
  const int nLastLine = m_sLastCommandResponse.ReverseFind('\n') + 1;
  m_nLastCommandResponseCode = std::atoi(m_sLastCommandResponse.Mid(nLastLine, 3));
  if (m_nLastCommandResponseCode == nExpectedCode) return TRUE;
  SetLastError(WSAEPROTONOSUPPORT);
  return FALSE;
}

BOOL CSMTPConnection::Connect(LPCTSTR pszHostName, int nPort, LPCTSTR pszUsername, LPCTSTR pszPassword) {
  if (m_bConnected) Disconnect();
  m_bBroken = FALSE;
  if (!m_pTransport->Connect(pszHostName, static_cast<UINT>(nPort), Deadline())) {
    m_pTransport->Close();
    return FALSE;
  }
  m_bConnected = TRUE;
  // A failed greeting or hello closes the connection; the report keeps the first cause.
  auto fail = [this] {
    const DWORD dwError = GetLastError();
    Disconnect();
    SetLastError(dwError);
    return FALSE;
  };
  if (!ReadCommandResponse(220)) return fail();
  char szLocalName[100] = "";
  if (::gethostname(szLocalName, sizeof szLocalName - 1) != 0 || szLocalName[0] == '\0')
    std::strcpy(szLocalName, "localhost");
  if (pszUsername != nullptr && pszUsername[0] != '\0' &&
      ConnectESMTP(szLocalName, pszUsername, pszPassword != nullptr ? pszPassword : ""))
    return TRUE;
  CString strHelo;
  strHelo.Format("HELO %s\r\n", szLocalName);
  return Command(strHelo, 250) ? TRUE : fail();
}

BOOL CSMTPConnection::ConnectESMTP(LPCTSTR pszLocalName, LPCTSTR pszUsername, LPCTSTR pszPassword) {
  CString strEhlo;
  strEhlo.Format("EHLO %s\r\n", pszLocalName);
  if (!Command(strEhlo, 250)) return FALSE;
  return CramLogin(pszUsername, pszPassword) || AuthLogin(pszUsername, pszPassword) ||
         AuthPlain(pszUsername, pszPassword);
}

CString CSMTPConnection::DecodedPrompt() const {
  CBase64Coder coder;
  coder.Decode(m_sLastCommandResponse.Mid(4));
  return coder.GetDecodedText();
}

void CSMTPConnection::CancelExchange() {
  const DWORD dwError = GetLastError();
  Command("*\r\n", 501);
  SetLastError(dwError);
}

CString CSMTPConnection::CramMD5Answer(LPCTSTR pszUsername, LPCTSTR pszPassword, LPCTSTR pszChallenge) {
  CBase64Coder coder;
  coder.Decode(pszChallenge);
  const CString strChallenge = coder.GetDecodedText();
  unsigned char digest[16];
  hmac_md5(reinterpret_cast<const unsigned char*>(static_cast<LPCTSTR>(strChallenge)), strChallenge.GetLength(),
           reinterpret_cast<const unsigned char*>(pszPassword), static_cast<int>(std::strlen(pszPassword)), digest);
  CString strAnswer = CString(pszUsername) + " ";
  for (const unsigned char byte : digest) {
    char szHex[3];
    std::snprintf(szHex, sizeof szHex, "%02x", byte);
    strAnswer += szHex;
  }
  coder.Encode(strAnswer);
  return coder.GetEncodedText();
}

BOOL CSMTPConnection::CramLogin(LPCTSTR pszUsername, LPCTSTR pszPassword) {
  if (!Command("AUTH CRAM-MD5\r\n", 334)) return FALSE;
  return Command(CramMD5Answer(pszUsername, pszPassword, m_sLastCommandResponse.Mid(4)) + "\r\n", 235);
}

BOOL CSMTPConnection::AuthLogin(LPCTSTR pszUsername, LPCTSTR pszPassword) {
  if (!Command("AUTH LOGIN\r\n", 334)) return FALSE;
  const LPCTSTR prompts[] = {"Username:", "Password:"};
  const LPCTSTR values[] = {pszUsername, pszPassword};
  CBase64Coder coder;
  for (int i = 0; i < 2; ++i) {
    if (DecodedPrompt() != prompts[i]) {
      CancelExchange();
      return FALSE;
    }
    coder.Encode(values[i]);
    if (!Command(CString(coder.GetEncodedText()) + "\r\n", i == 0 ? 334 : 235)) return FALSE;
  }
  return TRUE;
}

BOOL CSMTPConnection::AuthPlain(LPCTSTR pszUsername, LPCTSTR pszPassword) {
  // RFC 4616: no authorisation identity, then the user name and the password, each after a NUL.
  std::string credentials(1, '\0');
  credentials += pszUsername;
  credentials += '\0';
  credentials += pszPassword;
  CBase64Coder coder;
  coder.Encode(reinterpret_cast<const BYTE*>(credentials.data()), static_cast<UINT>(credentials.size()));
  return Command(CString("AUTH PLAIN ") + coder.GetEncodedText() + "\r\n", 235);
}

BOOL CSMTPConnection::Disconnect() {
  BOOL bQuit = FALSE;
  if (m_bConnected && !m_bBroken) {
    bQuit = Command("QUIT\r\n", 221);
    if (!bQuit && !m_bBroken) SetLastError(ERROR_BAD_COMMAND);
  }
  m_bConnected = FALSE;
  m_pTransport->Close();
  return bQuit;
}

BOOL CSMTPConnection::SendMessage(CSMTPMessage& message) {
  // An unexpected reply is ERROR_BAD_COMMAND; a time-out or a lost connection keeps its own code.
  m_bHandedOver = FALSE;
  auto step = [this](const CString& strText, int nExpectedCode, BOOL* pbSent = nullptr) {
    if (Command(strText, nExpectedCode, pbSent)) return TRUE;
    if (!m_bBroken) SetLastError(ERROR_BAD_COMMAND);
    return FALSE;
  };
  if (!m_bConnected || m_bBroken) {
    SetLastError(WSAENOTCONN);
    return FALSE;
  }
  if (!step("MAIL FROM:<" + CommandAddress(message.m_From.m_sEmailAddress) + ">\r\n", 250)) return FALSE;
  for (int nType : {CSMTPMessage::TO, CSMTPMessage::CC, CSMTPMessage::BCC})
    for (int i = 0; i < message.GetNumberOfRecipients(nType); ++i)
      if (!step("RCPT TO:<" + CommandAddress(message.GetRecipient(i, nType).m_sEmailAddress) + ">\r\n", 250))
        return FALSE;
  if (!step("DATA\r\n", 354)) return FALSE;
  const bool bMultipart = message.GetNumberOfAttachments() > 0;
  CString strData = message.GetHeader();
  if (bMultipart) strData += "\r\n--#BOUNDARY#\r\n" + message.GetTextContentHeaders() + "\r\n";
  strData += message.GetBody();
  // The message goes out in parts, each with its own deadline: a server that stops reading ends
  // the send when it passes.
  if (!SendText(strData, Deadline())) return FALSE;
  for (int i = 0; i < message.GetNumberOfAttachments(); ++i) {
    const CSMTPAttachment* pAttachment = message.GetAttachment(i);
    CString strPart;
    strPart.Format(
        "\r\n\r\n--#BOUNDARY#\r\nContent-Type: application/octet-stream; name=\"%s\"\r\n"
        "Content-Transfer-Encoding: base64\r\nContent-Disposition: attachment; filename=\"%s\"\r\n\r\n",
        static_cast<LPCTSTR>(CSMTPMessage::EncodeHeaderText(pAttachment->m_sContentName)),
        static_cast<LPCTSTR>(CSMTPMessage::EncodeHeaderText(pAttachment->m_sFileName)));
    // Base64 in lines of 76 characters, as MIME asks (no line of it may start with a ".").
    const CString strEncoded(pAttachment->GetEncodedText(), static_cast<int>(pAttachment->GetEncodedSize()));
    for (int nLine = 0; nLine < strEncoded.GetLength(); nLine += 76)
      strPart += (nLine > 0 ? "\r\n" : "") + strEncoded.Mid(nLine, 76);
    if (!SendText(strPart, Deadline())) return FALSE;
  }
  if (bMultipart && !SendText("\r\n--#BOUNDARY#--", Deadline())) return FALSE;
  return step("\r\n.\r\n", 250, &m_bHandedOver);
}
