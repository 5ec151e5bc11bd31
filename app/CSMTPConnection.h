// A small synchronous SMTP client (RFC 5321): greeting, HELO or EHLO with AUTH CRAM-MD5, LOGIN
// or PLAIN, MAIL FROM, RCPT TO, DATA and QUIT. Each command (its sending and its whole reply) and
// each part of the message sent has one deadline, the time-out from its start, however slowly
// the server answers; a reply line longer than 512 octets, a reply of more than 64 KB or a NUL
// byte in a reply is a protocol error (ERROR_INVALID_DATA). Failures return FALSE and leave their
// cause in the thread's last error.
#pragma once

#include <atomic>
#include <memory>

#include "app/CSMTPMessage.h"
#include "os/Winsock.h"

// The byte stream under the client: a TCP socket, or what a test or a fuzzer puts in its place.
// Every wait ends at a deadline (a tick count, GetTickCount64) or when Cancel is called.
class CSMTPTransport {
 public:
  virtual ~CSMTPTransport() = default;
  // Connects before the deadline (last error WSAETIMEDOUT when it passes).
  virtual BOOL Connect(LPCTSTR lpszHostAddress, UINT nHostPort, ULONGLONG ullDeadline) = 0;
  // Sends all of the data before the deadline.
  virtual BOOL Send(LPCSTR pszBuf, int nBuf, ULONGLONG ullDeadline) = 0;
  // Waits for data until the deadline: the count received, 0 when the peer has closed, or
  // SOCKET_ERROR with the cause in the last error (WSAETIMEDOUT at the deadline).
  virtual int Receive(LPSTR pszBuf, int nBuf, ULONGLONG ullDeadline) = 0;
  virtual void Close() = 0;
  // May be called from any thread: the wait under way and every later one end at once with
  // ERROR_CANCELLED.
  virtual void Cancel() = 0;
};

// One TCP stream socket, closed when the wrapper dies.
class CSMTPSocket : public CSMTPTransport {
 public:
  CSMTPSocket();
  ~CSMTPSocket() override;
  CSMTPSocket(const CSMTPSocket&) = delete;
  CSMTPSocket& operator=(const CSMTPSocket&) = delete;

  BOOL Create();
  BOOL Connect(LPCTSTR lpszHostAddress, UINT nHostPort, ULONGLONG ullDeadline) override;
  BOOL Connect(const SOCKADDR* lpSockAddr, int nSockAddrLen, ULONGLONG ullDeadline);
  BOOL Send(LPCSTR pszBuf, int nBuf, ULONGLONG ullDeadline) override;
  int Receive(LPSTR pszBuf, int nBuf, ULONGLONG ullDeadline) override;
  void Close() override;
  void Cancel() override;

 private:
  // Waits until the socket is ready for `events` (poll's); FALSE with the last error set when
  // the deadline passes, the wait is cancelled or poll fails.
  BOOL WaitFor(short events, ULONGLONG ullDeadline);

  SOCKET m_hSocket = INVALID_SOCKET;
  // Written by Cancel to wake a wait; the flag keeps later waits from starting.
  int m_nWakeFd = -1;
  std::atomic<bool> m_bCancelled{false};
};

class CSMTPConnection {
 public:
  // Over a TCP socket, or over the transport given.
  explicit CSMTPConnection(std::unique_ptr<CSMTPTransport> pTransport = nullptr);
  virtual ~CSMTPConnection();
  CSMTPConnection(const CSMTPConnection&) = delete;
  CSMTPConnection& operator=(const CSMTPConnection&) = delete;

  // Greets with HELO, or with a user name EHLO and the first AUTH method that succeeds
  // (CRAM-MD5, LOGIN, PLAIN), falling back to HELO when none does.
  BOOL Connect(LPCTSTR pszHostName, int nPort = 25, LPCTSTR pszUsername = nullptr, LPCTSTR pszPassword = nullptr);
  // QUIT when the connection still works; the socket is closed in every case.
  BOOL Disconnect();
  BOOL SendMessage(CSMTPMessage& message);
  // Whether the last SendMessage handed the whole message over, its end-of-data line included:
  // the server may then have taken it even when its answer never came.
  BOOL IsMessageHandedOver() const { return m_bHandedOver; }
  // Everything the server sent for the last reply, all its lines, less the final CR LF.
  CString GetLastCommandResponse() const { return m_sLastCommandResponse; }
  int GetLastCommandResponseCode() const { return m_nLastCommandResponseCode; }
  BOOL IsConnected() const { return m_bConnected; }
  // Ends the exchange under way at once, from any thread: the call waiting fails with
  // ERROR_CANCELLED, and so does every later one.
  void Cancel() { m_pTransport->Cancel(); }
  // The time-out of the connection, of each command and of each part sent, in milliseconds
  // (60000 at first).
  void SetTimeout(DWORD dwTimeout) { m_dwTimeout = dwTimeout; }
  DWORD GetTimeout() const { return m_dwTimeout; }

  // The CRAM-MD5 answer (RFC 2195) to a base64 challenge, base64-encoded.
  static CString CramMD5Answer(LPCTSTR pszUsername, LPCTSTR pszPassword, LPCTSTR pszChallenge);

 protected:
  // Reads one reply, by the deadline of the command under way (one time-out from now outside a
  // command, as for the greeting).
  virtual BOOL ReadCommandResponse(int nExpectedCode);
  // Reads one whole reply (every continuation line up to the last, whose code is followed by a
  // blank) before the deadline.
  virtual BOOL ReadResponse(int nExpectedCode, ULONGLONG ullDeadline);

 private:
  BOOL SendText(const CString& strText, ULONGLONG ullDeadline);
  // The deadline of an exchange that starts now.
  ULONGLONG Deadline() const;
  // Sends a command and reads its reply; `pbSent`, when given, tells whether the command went out.
  BOOL Command(const CString& strText, int nExpectedCode, BOOL* pbSent = nullptr);
  BOOL ConnectESMTP(LPCTSTR pszLocalName, LPCTSTR pszUsername, LPCTSTR pszPassword);
  BOOL CramLogin(LPCTSTR pszUsername, LPCTSTR pszPassword);
  BOOL AuthLogin(LPCTSTR pszUsername, LPCTSTR pszPassword);
  BOOL AuthPlain(LPCTSTR pszUsername, LPCTSTR pszPassword);
  // Ends an exchange the client gives up half way ("*", RFC 4954), keeping the last error.
  void CancelExchange();
  // The prompt of the last 334 reply, base64-decoded.
  CString DecodedPrompt() const;
  // A failed read or send leaves the connection unusable: later commands fail at once and keep
  // the first error.
  void Broken();

  std::unique_ptr<CSMTPTransport> m_pTransport;
  // The deadline of the command under way; 0 outside a command.
  ULONGLONG m_ullCommandDeadline = 0;
  BOOL m_bConnected = FALSE;
  BOOL m_bBroken = FALSE;
  BOOL m_bHandedOver = FALSE;
  CString m_sLastCommandResponse;
  DWORD m_dwTimeout = 60000;
  int m_nLastCommandResponseCode = 0;
};
