// A mail message for the SMTP client: addresses, recipient lists, attachments, the header it
// formats (fields made safe, non-ASCII words encoded) and its body kept ready for DATA.
#pragma once

#include <ctime>
#include <memory>

#include "app/CBase64Coder.h"
#include "core/CArray.h"
#include "core/CString.h"

class CSMTPAddress {
 public:
  CSMTPAddress() = default;
  explicit CSMTPAddress(const CString& strAddress) : m_sEmailAddress(strAddress) {}
  CSMTPAddress(const CString& strFriendly, const CString& strAddress)
      : m_sFriendlyName(strFriendly), m_sEmailAddress(strAddress) {}

  // "name <address>", or the address alone when there is no name.
  CString GetRegularFormat() const;

  CString m_sFriendlyName;
  CString m_sEmailAddress;
};

// An attachment: its content as the coder's encoded text, and the names it is sent under.
class CSMTPAttachment : public CBase64Coder {
 public:
  CString m_sContentName;  // name= of its content type
  CString m_sFileName;     // filename= of its disposition
};

class CSMTPMessage {
 public:
  enum RECIPIENT_TYPE { TO = 0, CC = 1, BCC = 2 };

  CSMTPMessage();
  virtual ~CSMTPMessage() = default;
  CSMTPMessage(const CSMTPMessage&) = delete;
  CSMTPMessage& operator=(const CSMTPMessage&) = delete;

  // The index in the list of that kind, or -1 for another kind.
  int AddRecipient(const CSMTPAddress& recipient, int nType = TO);
  // Entries separated by "," or ";", each "address" or "name <address>"; empty entries are
  // skipped. FALSE with last error 13 at an entry whose "<" has no ">" after it.
  BOOL AddMultipleRecipients(const CString& strRecipients, int nType = TO);
  int GetNumberOfRecipients(int nType = TO) const;
  CSMTPAddress GetRecipient(int nIndex, int nType = TO) const;
  // The message holds the attachment; the caller keeps it alive until the message is sent.
  int AddAttachment(CSMTPAttachment* pAttachment) { return static_cast<int>(m_Attachments.Add(pAttachment)); }
  int GetNumberOfAttachments() const { return static_cast<int>(m_Attachments.GetSize()); }
  CSMTPAttachment* GetAttachment(int nIndex) const { return m_Attachments[nIndex]; }

  // Stores the text with CR LF line ends and a "." doubled at the start of every line, so that
  // no line of it can end the data early.
  void SetBody(const CString& strBody);
  CString GetBody() const { return m_sBody; }

  // The header block, ending in the blank line; dated now.
  virtual CString GetHeader();
  // The header dated at a given time, `nZoneMinutes` east of UTC.
  CString FormatHeader(const struct tm& localTime, int nZoneMinutes) const;
  // The headers of the text (the whole message, or its first part): its charset, and 8bit when
  // it holds bytes above 127.
  CString GetTextContentHeaders() const;

  // "+0800", "-0330", "-0030": the sign of the offset, then hours and minutes.
  static CString FormatZone(int nMinutesEast);
  // A header field's text with CR and LF removed; words with bytes above 127 encoded as RFC 2047
  // base64 words in the ANSI code page's charset.
  static CString EncodeHeaderText(const CString& strText);
  // A display name as a header may hold it: encoded when not ASCII, quoted when it holds
  // characters that would end or split an address.
  static CString EncodeDisplayName(const CString& strName);
  // The MIME name of the ANSI code page's charset.
  static CString GetCharsetName();

  CSMTPAddress m_From;
  CString m_sSubject;
  CString m_sXMailer;
  CSMTPAddress m_ReplyTo;

 private:
  CString m_sBody;
  CArray<CSMTPAddress, const CSMTPAddress&> m_ToRecipients;
  CArray<CSMTPAddress, const CSMTPAddress&> m_CCRecipients;
  CArray<CSMTPAddress, const CSMTPAddress&> m_BCCRecipients;
  CArray<CSMTPAttachment*, CSMTPAttachment*> m_Attachments;

  const CArray<CSMTPAddress, const CSMTPAddress&>* List(int nType) const;
  CArray<CSMTPAddress, const CSMTPAddress&>* List(int nType);
};
