// The mail message: recipients, header and body.
#include "app/CSMTPMessage.h"

#include <algorithm>
#include <cstdlib>

#include "base/CodePage.h"

namespace {

const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

CString WithoutLineBreaks(CString strText) {
  strText.Remove('\r');
  strText.Remove('\n');
  return strText;
}

bool IsAscii(const CString& strText) {
  for (int i = 0; i < strText.GetLength(); ++i)
    if (static_cast<BYTE>(strText[i]) > 127) return false;
  return true;
}

// Recipients of a list joined by "," for a header line.
CString JoinRegular(const CArray<CSMTPAddress, const CSMTPAddress&>& list) {
  CString strText;
  for (INT_PTR i = 0; i < list.GetSize(); ++i) {
    if (i > 0) strText += ',';
    strText += list[i].GetRegularFormat();
  }
  return strText;
}

}  // namespace

CString CSMTPAddress::GetRegularFormat() const {
  const CString strAddress = WithoutLineBreaks(m_sEmailAddress);
  if (m_sFriendlyName.IsEmpty()) return strAddress;
  CString strText;
  strText.Format("%s <%s>", static_cast<LPCTSTR>(CSMTPMessage::EncodeDisplayName(m_sFriendlyName)),
                 static_cast<LPCTSTR>(strAddress));
  return strText;
}

CSMTPMessage::CSMTPMessage() : m_sXMailer("CSMTPConnection v2.00") {}

const CArray<CSMTPAddress, const CSMTPAddress&>* CSMTPMessage::List(int nType) const {
  switch (nType) {
    case TO:
      return &m_ToRecipients;
    case CC:
      return &m_CCRecipients;
    case BCC:
      return &m_BCCRecipients;
    default:
      return nullptr;
  }
}

CArray<CSMTPAddress, const CSMTPAddress&>* CSMTPMessage::List(int nType) {
  return const_cast<CArray<CSMTPAddress, const CSMTPAddress&>*>(std::as_const(*this).List(nType));
}

int CSMTPMessage::AddRecipient(const CSMTPAddress& recipient, int nType) {
  auto* pList = List(nType);
  return pList != nullptr ? static_cast<int>(pList->Add(recipient)) : -1;
}

BOOL CSMTPMessage::AddMultipleRecipients(const CString& strRecipients, int nType) {
  const CString strText = strRecipients;
  int nStart = 0;
  while (nStart <= strText.GetLength()) {
    int nEnd = nStart;
    while (nEnd < strText.GetLength() && strText[nEnd] != ',' && strText[nEnd] != ';') ++nEnd;
    const CString strEntry = strText.Mid(nStart, nEnd - nStart);
    CString strName, strAddress;
    const int nOpen = strEntry.Find('<');
    if (nOpen < 0) {
      strAddress = strEntry;
    } else {
      // The entry's first ">" closes the address: none, or one before the "<", leaves it open.
      const int nClose = strEntry.Find('>');
      if (nClose < nOpen) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE;
      }
      strName = strEntry.Left(nOpen);
      strAddress = strEntry.Mid(nOpen + 1, nClose - nOpen - 1);
    }
    strName.Trim();
    strAddress.Trim();
    if (!strAddress.IsEmpty()) AddRecipient(CSMTPAddress(strName, strAddress), nType);
    nStart = nEnd + 1;
  }
  return TRUE;
}

int CSMTPMessage::GetNumberOfRecipients(int nType) const {
  const auto* pList = List(nType);
  return pList != nullptr ? static_cast<int>(pList->GetSize()) : 0;
}

CSMTPAddress CSMTPMessage::GetRecipient(int nIndex, int nType) const {
  const auto* pList = List(nType);
  return pList != nullptr && nIndex >= 0 && nIndex < pList->GetSize() ? (*pList)[nIndex] : CSMTPAddress();
}

void CSMTPMessage::SetBody(const CString& strBody) {
  // Every line end becomes CR LF (a bare CR or LF included), and a line starting with "." gets
  // a second one in front.
  CString strStuffed;
  bool bLineStart = true;
  for (int i = 0; i < strBody.GetLength(); ++i) {
    const char ch = strBody[i];
    if (ch == '\r' || ch == '\n') {
      if (ch == '\r' && i + 1 < strBody.GetLength() && strBody[i + 1] == '\n') ++i;
      strStuffed += "\r\n";
      bLineStart = true;
      continue;
    }
    if (bLineStart && ch == '.') strStuffed += '.';
    strStuffed += ch;
    bLineStart = false;
  }
  m_sBody = strStuffed;
}

CString CSMTPMessage::FormatZone(int nMinutesEast) {
  const int nMinutes = std::abs(nMinutesEast);
  CString strZone;
  strZone.Format("%c%02d%02d", nMinutesEast < 0 ? '-' : '+', nMinutes / 60, nMinutes % 60);
  return strZone;
}

CString CSMTPMessage::GetCharsetName() {
  switch (GetACP()) {
    case 936:
      return "GBK";
    case 950:
      return "Big5";
    default:
      return "windows-1252";
  }
}

CString CSMTPMessage::EncodeHeaderText(const CString& strText) {
  const CString strClean = WithoutLineBreaks(strText);
  if (IsAscii(strClean)) return strClean;
  // Encoded words of at most 75 characters: 36 bytes of text give 48 of base64, cut only at
  // character boundaries so that no double-byte character is split.
  const CString strCharset = GetCharsetName();
  const std::string_view text(static_cast<LPCTSTR>(strClean), static_cast<size_t>(strClean.GetLength()));
  CString strEncoded;
  CBase64Coder coder;
  for (size_t start = 0; start < text.size();) {
    size_t end = start;
    while (end < text.size()) {
      const size_t next = brambolt::NextCharacter(text, end);
      if (next - start > 36) break;
      end = next;
    }
    if (end == start) end = brambolt::NextCharacter(text, start);
    coder.Encode(reinterpret_cast<const BYTE*>(text.data() + start), static_cast<UINT>(end - start));
    if (!strEncoded.IsEmpty()) strEncoded += "\r\n ";
    strEncoded += "=?" + strCharset + "?B?" + coder.GetEncodedText() + "?=";
    start = end;
  }
  return strEncoded;
}

CString CSMTPMessage::EncodeDisplayName(const CString& strName) {
  const CString strClean = WithoutLineBreaks(strName);
  if (!IsAscii(strClean)) return EncodeHeaderText(strClean);
  if (strClean.FindOneOf("()<>[]:;@\\,.\"") < 0) return strClean;
  CString strQuoted = "\"";
  for (int i = 0; i < strClean.GetLength(); ++i) {
    if (strClean[i] == '"' || strClean[i] == '\\') strQuoted += '\\';
    strQuoted += strClean[i];
  }
  return strQuoted + "\"";
}

CString CSMTPMessage::GetTextContentHeaders() const {
  if (IsAscii(m_sBody)) return "Content-type: text/plain; charset=US-ASCII\r\n";
  return "Content-type: text/plain; charset=" + GetCharsetName() + "\r\nContent-Transfer-Encoding: 8bit\r\n";
}

CString CSMTPMessage::GetHeader() {
  const std::time_t now = std::time(nullptr);
  struct tm local {};
  localtime_r(&now, &local);
  return FormatHeader(local, static_cast<int>(local.tm_gmtoff / 60));
}

CString CSMTPMessage::FormatHeader(const struct tm& localTime, int nZoneMinutes) const {
  // Day and month names are always English, whatever the locale.
  CString strDate;
  strDate.Format("%s, %02d %s %d %02d:%02d:%02d ", kDays[std::clamp(localTime.tm_wday, 0, 6)], localTime.tm_mday,
                 kMonths[std::clamp(localTime.tm_mon, 0, 11)], localTime.tm_year + 1900, localTime.tm_hour,
                 localTime.tm_min, localTime.tm_sec);
  strDate += FormatZone(nZoneMinutes);
  CString strHeader = "From: " + m_From.GetRegularFormat() + "\r\nTo: " + JoinRegular(m_ToRecipients) + "\r\n";
  const CString strCc = JoinRegular(m_CCRecipients);
  if (!strCc.IsEmpty()) strHeader += "Cc: " + strCc + "\r\n";
  strHeader += "Subject: " + EncodeHeaderText(m_sSubject) + "\r\nDate: " + strDate + "\r\nX-Mailer: " +
               WithoutLineBreaks(m_sXMailer) + "\r\n";
  if (!m_ReplyTo.m_sEmailAddress.IsEmpty()) strHeader += "Reply-To: " + m_ReplyTo.GetRegularFormat() + "\r\n";
  strHeader += "MIME-Version: 1.0\r\n";
  if (m_Attachments.GetSize() > 0)
    strHeader += "Content-type: multipart/mixed; boundary=\"#BOUNDARY#\"\r\n";
  else
    strHeader += GetTextContentHeaders();
  return strHeader + "\r\n";
}
