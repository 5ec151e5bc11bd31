// The saved form of a toolbar's buttons: the "Buttons" byte string and its archive records.
#include "bars/SECBtnInfo.h"

#include "core/CException.h"

SECBtnInfo::SECBtnInfo(UINT nID, const BYTE* pExtra, int nExtra) : m_nID(nID) {
  if (pExtra != nullptr && nExtra > 0) m_extra.assign(pExtra, pExtra + nExtra);
}

std::vector<BYTE> SECBtnInfoArray::Encode() const {
  std::vector<BYTE> out;
  for (const auto& info : m_items) {
    brambolt::AppendLE32(out, info->m_nID);
    const size_t n = std::min<size_t>(info->m_extra.size(), 255);
    out.push_back(static_cast<BYTE>(n));
    out.insert(out.end(), info->m_extra.begin(), info->m_extra.begin() + static_cast<std::ptrdiff_t>(n));
  }
  return out;
}

bool SECBtnInfoArray::Decode(brambolt::ByteSpan bytes) {
  brambolt::ByteReader reader(bytes);
  while (reader.Remaining() > 0) {
    const UINT nID = reader.U32();
    const BYTE n = reader.U8();
    const brambolt::ByteSpan extra = reader.Rest().first(std::min<size_t>(n, reader.Remaining()));
    if (!reader.Skip(n)) return false;
    Add(new SECBtnInfo(nID, extra.data(), static_cast<int>(extra.size())));
  }
  return reader.ok();
}

void SECBtnInfoArray::Write(CArchive& ar) const {
  ar << static_cast<DWORD>(m_items.size());
  for (const auto& info : m_items) {
    const BYTE n = static_cast<BYTE>(std::min<size_t>(info->m_extra.size(), 255));
    ar << static_cast<DWORD>(info->m_nID) << n;
    if (n > 0) ar.Write(info->m_extra.data(), n);
  }
}

void SECBtnInfoArray::Read(CArchive& ar) {
  DWORD count = 0;
  ar >> count;
  for (DWORD i = 0; i < count; ++i) {
    DWORD nID = 0;
    BYTE n = 0;
    ar >> nID >> n;
    BYTE extra[255];
    if (n > 0 && ar.Read(extra, n) != n) AfxThrowArchiveException(CArchiveException::endOfFile);
    Add(new SECBtnInfo(nID, extra, n));
  }
}
