// The saved form of a toolbar's buttons: SECBtnInfo (one button's command id and the extra bytes
// of its kind), SECBtnInfoArray, and the "Buttons" byte string and archive records they travel in.
#pragma once

#include <memory>
#include <vector>

#include "base/ByteOrder.h"
#include "core/CArchive.h"

// One saved button: command id (0 for a separator) and up to 255 bytes its kind keeps (a window
// button keeps its width).
class SECBtnInfo {
 public:
  SECBtnInfo() = default;
  SECBtnInfo(UINT nID, const BYTE* pExtra, int nExtra);

  UINT m_nID = 0;
  std::vector<BYTE> m_extra;

  int GetExtraCount() const { return static_cast<int>(m_extra.size()); }
  const BYTE* GetExtraData() const { return m_extra.empty() ? nullptr : m_extra.data(); }
};

// The buttons of one bar in bar order; owns its records.
class SECBtnInfoArray {
 public:
  int GetSize() const { return static_cast<int>(m_items.size()); }
  SECBtnInfo* GetAt(int nIndex) const { return m_items[static_cast<size_t>(nIndex)].get(); }
  SECBtnInfo* operator[](int nIndex) const { return GetAt(nIndex); }
  // Takes ownership of pInfo.
  void Add(SECBtnInfo* pInfo) { m_items.emplace_back(pInfo); }
  void RemoveAll() { m_items.clear(); }

  // The "Buttons" value: per button a little-endian u32 id, a u8 count n and n bytes; no header,
  // no padding. An empty array gives an empty string.
  std::vector<BYTE> Encode() const;
  // Appends the records of a "Buttons" value. A record cut short at the end is dropped; the
  // result says whether the value was whole.
  bool Decode(brambolt::ByteSpan bytes);

  // Archive form: a u32 record count, then the records as in Encode. Loading appends; a count
  // that the archive cannot hold ends the load with a CArchiveException.
  void Write(CArchive& ar) const;
  void Read(CArchive& ar);

 private:
  std::vector<std::unique_ptr<SECBtnInfo>> m_items;
};
