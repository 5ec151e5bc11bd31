// Base64 as RFC 4648 defines it; the decoder reads what mail software sends, whatever it holds.
#include "app/CBase64Coder.h"

#include <cstring>

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr BYTE kNotInAlphabet = 254;
constexpr BYTE kPad = 255;

// Each alphabet character (also with its high bit set) to its value; "=" to kPad; anything else
// to kNotInAlphabet, which decodes as its low six bits.
struct DecodeTable {
  BYTE value[256];
  DecodeTable() {
    std::memset(value, kNotInAlphabet, sizeof value);
    for (int i = 0; i < 64; ++i) {
      const auto ch = static_cast<BYTE>(kAlphabet[i]);
      value[ch] = value[ch | 0x80] = static_cast<BYTE>(i);
    }
    constexpr BYTE kPadChar = '=';
    value[kPadChar] = value[kPadChar | 0x80] = kPad;
  }
};

const DecodeTable& Table() {
  static const DecodeTable table;
  return table;
}

}  // namespace

void CBase64Coder::Reserve(std::unique_ptr<BYTE[]>& buffer, UINT& nCapacity, UINT nNeeded) {
  if (!buffer || nNeeded >= nCapacity) {
    // The next multiple of 4096 above the need, so the data is always followed by a NUL.
    nCapacity = ((nNeeded >> 12) + 1) << 12;
    buffer.reset(new BYTE[nCapacity]);
  }
  std::memset(buffer.get(), 0, nCapacity);
}

void CBase64Coder::AllocEncodeBuffer(UINT nSize) {
  Reserve(m_pEncoded, m_nEncodedCapacity, nSize);
  m_nEncodedSize = 0;
}

void CBase64Coder::AllocDecodeBuffer(UINT nSize) {
  Reserve(m_pDecoded, m_nDecodedCapacity, nSize);
  m_nDecodedSize = 0;
}

void CBase64Coder::SetEncodeBuffer(const BYTE* pText, UINT nLength) {
  AllocEncodeBuffer(nLength);
  for (UINT i = 0; i < nLength; ++i)
    if (!IsWhitespace(pText[i])) m_pEncoded[m_nEncodedSize++] = pText[i];
}

void CBase64Coder::SetDecodeBuffer(const BYTE* pData, UINT nLength) {
  AllocDecodeBuffer(nLength);
  if (nLength > 0) std::memcpy(m_pDecoded.get(), pData, nLength);
  m_nDecodedSize = nLength;
}

LPCSTR CBase64Coder::GetDecodedText() const {
  static const char empty[1] = {0};
  return m_pDecoded ? reinterpret_cast<LPCSTR>(m_pDecoded.get()) : empty;
}

LPCSTR CBase64Coder::GetEncodedText() const {
  static const char empty[1] = {0};
  return m_pEncoded ? reinterpret_cast<LPCSTR>(m_pEncoded.get()) : empty;
}

void CBase64Coder::Encode(LPCSTR lpszText) {
  if (lpszText != nullptr)
    Encode(reinterpret_cast<const BYTE*>(lpszText), static_cast<UINT>(std::strlen(lpszText)));
}

void CBase64Coder::Decode(LPCSTR lpszText) {
  if (lpszText != nullptr)
    Decode(reinterpret_cast<const BYTE*>(lpszText), static_cast<UINT>(std::strlen(lpszText)));
}

void CBase64Coder::SplitGroup(const TempBucket& bytes, TempBucket& values) {
  values.Clear();
  values.nData[0] = static_cast<BYTE>(bytes.nData[0] >> 2);
  values.nData[1] = static_cast<BYTE>(((bytes.nData[0] & 0x03) << 4) | (bytes.nData[1] >> 4));
  values.nData[2] = static_cast<BYTE>(((bytes.nData[1] & 0x0F) << 2) | (bytes.nData[2] >> 6));
  values.nData[3] = static_cast<BYTE>(bytes.nData[2] & 0x3F);
  values.nSize = bytes.nSize;
}

void CBase64Coder::JoinGroup(const TempBucket& values, TempBucket& bytes) {
  bytes.Clear();
  bytes.nData[0] = static_cast<BYTE>((values.nData[0] << 2) | ((values.nData[1] >> 4) & 0x03));
  bytes.nData[1] = static_cast<BYTE>((values.nData[1] << 4) | ((values.nData[2] >> 2) & 0x0F));
  bytes.nData[2] = static_cast<BYTE>((values.nData[2] << 6) | (values.nData[3] & 0x3F));
  bytes.nSize = values.nSize;
}

void CBase64Coder::EncodeGroup(const TempBucket& group, char* pDest) {
  TempBucket values;
  SplitGroup(group, values);
  for (int i = 0; i < 4; ++i) pDest[i] = i <= group.nSize ? kAlphabet[values.nData[i]] : '=';
}

void CBase64Coder::DecodeGroup(const TempBucket& group, BYTE* pDest) {
  TempBucket bytes;
  JoinGroup(group, bytes);
  std::memcpy(pDest, bytes.nData, 3);
}

void CBase64Coder::Encode(const BYTE* pData, UINT nLength) {
  AllocEncodeBuffer(nLength * 2);
  char* pDest = reinterpret_cast<char*>(m_pEncoded.get());
  for (UINT i = 0; i < nLength; i += 3) {
    TempBucket group;
    group.nSize = static_cast<BYTE>(nLength - i < 3 ? nLength - i : 3);
    std::memcpy(group.nData, pData + i, group.nSize);
    EncodeGroup(group, pDest + m_nEncodedSize);
    m_nEncodedSize += 4;
  }
}

void CBase64Coder::Decode(const BYTE* pText, UINT nLength) {
  SetEncodeBuffer(pText, nLength);
  AllocDecodeBuffer(nLength);
  const DecodeTable& table = Table();
  for (UINT i = 0; i < m_nEncodedSize; i += 4) {
    TempBucket group;
    const UINT nChars = m_nEncodedSize - i < 4 ? m_nEncodedSize - i : 4;
    // A group yields one byte fewer than its characters; a pad ends the real characters.
    UINT nReal = nChars;
    for (UINT j = 0; j < nChars; ++j) {
      const BYTE value = table.value[m_pEncoded[i + j]];
      if (value == kPad && j >= 2) {
        if (nReal == nChars) nReal = j;
        group.nData[j] = 0;
      } else {
        group.nData[j] = static_cast<BYTE>(value & 0x3F);
      }
    }
    BYTE* pDest = m_pDecoded.get() + m_nDecodedSize;
    DecodeGroup(group, pDest);
    // Leftover bits of a short group never show as bytes: what it does not fill stays NUL.
    const UINT nBytes = nReal > 0 ? nReal - 1 : 0;
    std::memset(pDest + nBytes, 0, 3 - nBytes);
    m_nDecodedSize += nBytes;
  }
}
