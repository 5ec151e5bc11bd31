// The SMTP client's dialogue with the server.
#include "app/CSMTPConnection.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/MD5.h"
#include "base/Clock.h"

namespace {

// Looks are this long at most, so that a time-out is noticed soon after it passes.
constexpr DWORD kPollMs = 250;
#ifndef ERROR_BAD_COMMAND
constexpr DWORD ERROR_BAD_COMMAND = 22;
#endif

int Descriptor(SOCKET s) { return static_cast<int>(s); }

// The length of the first line of `text` that ends a reply (a line ending in CR LF that is no
// continuation, "250-"), with its terminator; 0 while the reply is incomplete.
size_t ReplyLength(const char* text, LPCSTR pszTerminator) {
  const size_t nTerminator = std::strlen(pszTerminator);
  const char* line = text;
  while (const char* end = std::strstr(line, pszTerminator)) {
    const bool bContinued = end - line >= 4 && line[3] == '-';
    if (!bContinued) return static_cast<size_t>(end - text) + nTerminator;
    line = end + nTerminator;
  }
  return 0;
}

// Angle brackets and line breaks never reach a command through an address.
CString CommandAddress(CString strAddress) {
  for (const char ch : {'\r', '\n', '<', '>'}) strAddress.Remove(ch);
  return strAddress;
}

}  // namespace

// ---- CSMTPSocket

BOOL CSMTPSocket::Create() {
  Close();
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) {
    SetLastError(ErrnoToWinsockError(errno));
    return FALSE;
  }
  m_hSocket = static_cast<SOCKET>(fd);
  return TRUE;
}

BOOL CSMTPSocket::Connect(LPCTSTR lpszHostAddress, UINT nHostPort, DWORD dwTimeout) {
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
  return Connect(reinterpret_cast<const SOCKADDR*>(&address), sizeof address, dwTimeout);
}

BOOL CSMTPSocket::Connect(const SOCKADDR* lpSockAddr, int nSockAddrLen, DWORD dwTimeout) {
  u_long nonBlocking = 1;
  if (ioctlsocket(m_hSocket, FIONBIO, &nonBlocking) != 0) return FALSE;
  if (connect(m_hSocket, lpSockAddr, nSockAddrLen) != 0) {
    if (GetLastError() != WSAEWOULDBLOCK) return FALSE;
    const ULONGLONG start = GetTickCount64();
    for (;;) {
      fd_set writable;
      FD_ZERO(&writable);
      FD_SET(Descriptor(m_hSocket), &writable);
      timeval wait{0, static_cast<long>(kPollMs) * 1000};
      const int nReady = select(0, nullptr, &writable, nullptr, &wait);
      if (nReady == SOCKET_ERROR) return FALSE;
      if (nReady > 0) break;
      if (GetTickCount64() - start >= dwTimeout) {
        SetLastError(WSAETIMEDOUT);
        return FALSE;
      }
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(Descriptor(m_hSocket), SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    if (error != 0) {
      SetLastError(ErrnoToWinsockError(error));
      return FALSE;
    }
  }
  nonBlocking = 0;
  return ioctlsocket(m_hSocket, FIONBIO, &nonBlocking) == 0;
}

BOOL CSMTPSocket::Send(LPCSTR pszBuf, int nBuf) {
  while (nBuf > 0) {
    const int nSent = send(m_hSocket, pszBuf, nBuf, 0);
    if (nSent == SOCKET_ERROR) return FALSE;
    pszBuf += nSent;
    nBuf -= nSent;
  }
  return TRUE;
}

int CSMTPSocket::Receive(LPSTR pszBuf, int nBuf) { return recv(m_hSocket, pszBuf, nBuf, 0); }

void CSMTPSocket::Close() {
  if (m_hSocket != INVALID_SOCKET) {
    closesocket(m_hSocket);
    m_hSocket = INVALID_SOCKET;
  }
}

BOOL CSMTPSocket::IsReadible(BOOL& bReadible, DWORD dwWait) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(Descriptor(m_hSocket), &readable);
  timeval wait{static_cast<long>(dwWait / 1000), static_cast<long>(dwWait % 1000) * 1000};
  const int nReady = select(0, &readable, nullptr, nullptr, &wait);
  if (nReady == SOCKET_ERROR) return FALSE;
  bReadible = nReady > 0;
  return TRUE;
}

// ---- CSMTPConnection

CSMTPConnection::CSMTPConnection() = default;

CSMTPConnection::~CSMTPConnection() {
  if (m_bConnected) Disconnect();
  m_SMTP.Close();
}

void CSMTPConnection::Broken() {
  m_bBroken = TRUE;
  m_SMTP.Close();
}

BOOL CSMTPConnection::SendText(const CString& strText) {
  if (m_bBroken) return FALSE;
  if (m_SMTP.Send(strText, strText.GetLength())) return TRUE;
  Broken();
  return FALSE;
}

BOOL CSMTPConnection::Command(const CString& strText, int nExpectedCode) {
  return SendText(strText) && ReadCommandResponse(nExpectedCode);
}

BOOL CSMTPConnection::ReadCommandResponse(int nExpectedCode) {
  char szBuffer[256];
  std::unique_ptr<char[]> pGrown;
  return ReadResponse(szBuffer, sizeof szBuffer, "\r\n", nExpectedCode, &pGrown, 4096);
}

BOOL CSMTPConnection::ReadResponse(LPSTR pszBuffer, int nInitialBufSize, LPCSTR pszTerminator, int nExpectedCode,
                                   std::unique_ptr<char[]>* ppGrown, int nGrowBy) {
  if (m_bBroken) return FALSE;
  char* pBuffer = pszBuffer;
  int nSize = nInitialBufSize;
  int nReceived = 0;
  pBuffer[0] = '\0';
  auto fail = [&](DWORD dwError) {
    if (dwError != 0) SetLastError(dwError);
    m_sLastCommandResponse = pBuffer;
    Broken();
    return FALSE;
  };
  ULONGLONG lastData = GetTickCount64();
  size_t nReply = 0;
  while (nReply == 0) {
    if (GetTickCount64() - lastData > m_dwTimeout) return fail(WSAETIMEDOUT);
    BOOL bReadible = FALSE;
    if (!m_SMTP.IsReadible(bReadible, kPollMs)) return fail(0);
    if (!bReadible) continue;
    const int nRoom = nSize - nReceived - 1;
    const int nRead = m_SMTP.Receive(pBuffer + nReceived, nRoom);
    if (nRead == SOCKET_ERROR) return fail(0);
    // The server closed the connection: nothing more will come.
    if (nRead == 0) return fail(WSAECONNRESET);
    nReceived += nRead;
    pBuffer[nReceived] = '\0';
    lastData = GetTickCount64();
    if (nRead == nRoom) {
      auto pLarger = std::make_unique<char[]>(static_cast<size_t>(nSize + nGrowBy));
      std::memcpy(pLarger.get(), pBuffer, static_cast<size_t>(nReceived) + 1);
      nSize += nGrowBy;
      *ppGrown = std::move(pLarger);
      pBuffer = ppGrown->get();
    }
    nReply = ReplyLength(pBuffer, pszTerminator);
  }
  // The reply without its final terminator; the code is the one of its last line.
  const size_t nText = nReply - std::strlen(pszTerminator);
  m_sLastCommandResponse = CString(pBuffer, static_cast<int>(nText));
  const int nLastLine = m_sLastCommandResponse.ReverseFind('\n') + 1;
  m_nLastCommandResponseCode = std::atoi(m_sLastCommandResponse.Mid(nLastLine, 3));
  if (m_nLastCommandResponseCode == nExpectedCode) return TRUE;
  SetLastError(WSAEPROTONOSUPPORT);
  return FALSE;
}

BOOL CSMTPConnection::Connect(LPCTSTR pszHostName, int nPort, LPCTSTR pszUsername, LPCTSTR pszPassword) {
  if (m_bConnected) Disconnect();
  m_bBroken = FALSE;
  if (!m_SMTP.Create()) return FALSE;
  if (!m_SMTP.Connect(pszHostName, static_cast<UINT>(nPort), m_dwTimeout)) {
    m_SMTP.Close();
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
  if (SendText("*\r\n")) ReadCommandResponse(501);
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
  m_SMTP.Close();
  return bQuit;
}

BOOL CSMTPConnection::SendMessage(CSMTPMessage& message) {
  // An unexpected reply is ERROR_BAD_COMMAND; a time-out or a lost connection keeps its own code.
  auto step = [this](const CString& strText, int nExpectedCode) {
    if (Command(strText, nExpectedCode)) return TRUE;
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
  if (!SendText(strData)) return FALSE;
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
    if (!SendText(strPart)) return FALSE;
  }
  if (bMultipart && !SendText("\r\n--#BOUNDARY#--")) return FALSE;
  return step("\r\n.\r\n", 250);
}
