// SECPcx: the PCX format (ZSoft run-length encoding): 8-bit, two-level, planar 16-colour and
// 24-bit pictures are read, pictures of 8 bits or fewer are written as 8-bit palette files.
#pragma once

#include "foundation/SECImage.h"

class SECPcx : public kelpwood::foundation::SECImage {
  DECLARE_DYNCREATE(SECPcx)

 public:
  static constexpr size_t kHeaderSize = 128;

  SECPcx();
  void Serialize(CArchive& ar) override;
  BOOL DoSaveImage(CFile* pFile) override;
  BOOL DoLoadImage(CFile* pFile) override;

 protected:
  // The header exactly as it stands in the file; filled by every load and save.
  BYTE m_pcxHeader[kHeaderSize] = {};

 private:
  int NextByte();
  BOOL ReadColorTable(WORD colours);
};
