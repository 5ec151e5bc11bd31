// A small synchronous SMTP client (RFC 5321): greeting, HELO or EHLO with AUTH CRAM-MD5, LOGIN
// or PLAIN, MAIL FROM, RCPT TO, DATA and QUIT. Every wait has a time-out; failures return FALSE
// and leave their cause in the thread's last error.
#pragma once

#include "app/CSMTPMessage.h"
#include "os/Winsock.h"

// One TCP stream socket, closed when the wrapper dies.
class CSMTPSocket {
 public:
  CSMTPSocket() = default;
  ~CSMTPSocket() { Close(); }
  CSMTPSocket(const CSMTPSocket&) = delete;
  CSMTPSocket& operator=(const CSMTPSocket&) = delete;

  BOOL Create();
  // Connects within the time-out (last error WSAETIMEDOUT when it passes).
  BOOL Connect(LPCTSTR lpszHostAddress, UINT nHostPort, DWORD dwTimeout);
  BOOL Connect(const SOCKADDR* lpSockAddr, int nSockAddrLen, DWORD dwTimeout);
  // Sends all of the data.
  BOOL Send(LPCSTR pszBuf, int nBuf);
  int Receive(LPSTR pszBuf, int nBuf);
  void Close();
  // Whether data (or the peer's close) waits, looking for at most dwWait milliseconds; FALSE
  // when select fails.
  BOOL IsReadible(BOOL& bReadible, DWORD dwWait = 0);

 private:
  SOCKET m_hSocket = INVALID_SOCKET;
};

class CSMTPConnection {
 public:
  CSMTPConnection();
  virtual ~CSMTPConnection();
  CSMTPConnection(const CSMTPConnection&) = delete;
  CSMTPConnection& operator=(const CSMTPConnection&) = delete;

  // Greets with HELO, or with a user name EHLO and the first AUTH method that succeeds
  // (CRAM-MD5, LOGIN, PLAIN), falling back to HELO when none does.
  BOOL Connect(LPCTSTR pszHostName, int nPort = 25, LPCTSTR pszUsername = nullptr, LPCTSTR pszPassword = nullptr);
  // QUIT when the connection still works; the socket is closed in every case.
  BOOL Disconnect();
  BOOL SendMessage(CSMTPMessage& message);
  // Everything the server sent for the last reply, all its lines, less the final CR LF.
  CString GetLastCommandResponse() const { return m_sLastCommandResponse; }
  int GetLastCommandResponseCode() const { return m_nLastCommandResponseCode; }
  BOOL IsConnected() const { return m_bConnected; }
  // The time-out of the connection and of each reply, in milliseconds (60000 at first).
  void SetTimeout(DWORD dwTimeout) { m_dwTimeout = dwTimeout; }
  DWORD GetTimeout() const { return m_dwTimeout; }

  // The CRAM-MD5 answer (RFC 2195) to a base64 challenge, base64-encoded.
  static CString CramMD5Answer(LPCTSTR pszUsername, LPCTSTR pszPassword, LPCTSTR pszChallenge);

 protected:
  virtual BOOL ReadCommandResponse(int nExpectedCode);
  // Reads one whole reply (every continuation line up to the last, whose code is followed by a
  // blank) into the buffer, growing it by nGrowBy as needed (*ppGrown then holds the new one).
  virtual BOOL ReadResponse(LPSTR pszBuffer, int nInitialBufSize, LPCSTR pszTerminator, int nExpectedCode,
                            std::unique_ptr<char[]>* ppGrown, int nGrowBy);

 private:
  BOOL SendText(const CString& strText);
  BOOL Command(const CString& strText, int nExpectedCode);
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

  CSMTPSocket m_SMTP;
  BOOL m_bConnected = FALSE;
  BOOL m_bBroken = FALSE;
  CString m_sLastCommandResponse;
  DWORD m_dwTimeout = 60000;
  int m_nLastCommandResponseCode = 0;
};
