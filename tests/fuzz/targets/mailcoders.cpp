// Fuzz target: the mail coders. The input is decoded as base64 (any bytes), encoded and decoded
// again (which must give it back), digested with MD5 and HMAC-MD5, answered as a CRAM-MD5
// challenge, and read as a recipient list and as header text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "app/CBase64Coder.h"
#include "app/CSMTPConnection.h"
#include "app/MD5.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CBase64Coder decoder;
  decoder.Decode(data, static_cast<UINT>(size));
  CBase64Coder coder;
  coder.Encode(data, static_cast<UINT>(size));
  if (coder.GetEncodedSize() != (size + 2) / 3 * 4) std::abort();
  CBase64Coder back;
  back.Decode(coder.GetEncodedText());
  if (back.GetDecodedSize() != size || (size > 0 && std::memcmp(back.GetDecodedText(), data, size) != 0)) std::abort();

  unsigned char digest[16];
  MD5_CTX context;
  MD5Init(&context);
  MD5Update(&context, data, static_cast<unsigned int>(size));
  MD5Final(digest, &context);
  const std::string text(reinterpret_cast<const char*>(data), size);
  const size_t half = size / 2;
  hmac_md5(data, static_cast<int>(half), data + half, static_cast<int>(size - half), digest);

  const CString cText(text.c_str());
  CSMTPConnection::CramMD5Answer("tim", cText, cText);
  CSMTPMessage message;
  message.AddMultipleRecipients(cText, CSMTPMessage::TO);
  message.SetBody(cText);
  CSMTPMessage::EncodeHeaderText(cText);
  return 0;
}
