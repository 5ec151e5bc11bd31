// CBase64Coder: Base64 encoding and a lenient decoder (whitespace skipped, never fails), with
// buffers that grow in 4096-byte steps and always end in NUL bytes.
#pragma once

#include <memory>

#include "base/base.h"

class CBase64Coder {
 public:
  CBase64Coder() = default;
  virtual ~CBase64Coder() = default;
  CBase64Coder(const CBase64Coder&) = delete;
  CBase64Coder& operator=(const CBase64Coder&) = delete;

  // Encodes the bytes of a C string without its terminator; nothing for NULL.
  virtual void Encode(LPCSTR lpszText);
  // One unbroken line of text, padded with "=" to a multiple of four characters.
  virtual void Encode(const BYTE* pData, UINT nLength);
  virtual void Decode(LPCSTR lpszText);
  virtual void Decode(const BYTE* pText, UINT nLength);

  virtual LPCSTR GetDecodedText() const;
  virtual LPCSTR GetEncodedText() const;
  // The decoded bytes, not counting the positions that padding covers.
  virtual UINT GetDecodedSize() const { return m_nDecodedSize; }
  virtual UINT GetEncodedSize() const { return m_nEncodedSize; }

 protected:
  // Up to four bytes (or 6-bit values) of one quantum and how many of them are valid.
  struct TempBucket {
    BYTE nData[4] = {0, 0, 0, 0};
    BYTE nSize = 0;
    void Clear() { *this = TempBucket(); }
  };

  virtual void AllocEncodeBuffer(UINT nSize);
  virtual void AllocDecodeBuffer(UINT nSize);
  // Copies the text without the characters IsWhitespace rejects.
  virtual void SetEncodeBuffer(const BYTE* pText, UINT nLength);
  virtual void SetDecodeBuffer(const BYTE* pData, UINT nLength);
  // Three bytes (nSize of them valid) into four characters, padded by the valid count.
  virtual void EncodeGroup(const TempBucket& group, char* pDest);
  // Four 6-bit values into three bytes.
  virtual void DecodeGroup(const TempBucket& group, BYTE* pDest);
  virtual void SplitGroup(const TempBucket& bytes, TempBucket& values);
  virtual void JoinGroup(const TempBucket& values, TempBucket& bytes);
  virtual BOOL IsWhitespace(BYTE ch) const { return (ch >= 7 && ch <= 13) || ch == ' '; }

 private:
  static void Reserve(std::unique_ptr<BYTE[]>& buffer, UINT& nCapacity, UINT nNeeded);

  std::unique_ptr<BYTE[]> m_pDecoded;
  std::unique_ptr<BYTE[]> m_pEncoded;
  UINT m_nDecodedCapacity = 0;
  UINT m_nEncodedCapacity = 0;
  UINT m_nDecodedSize = 0;
  UINT m_nEncodedSize = 0;
};
