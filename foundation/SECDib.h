// SECDib: the BMP format (uncompressed Windows bitmaps of 1, 4, 8 and 24 bits).
#pragma once

#include "foundation/SECImage.h"

namespace kelpwood::foundation {

class SECDib : public SECImage {
  DECLARE_DYNCREATE(SECDib)

 public:
  void Serialize(CArchive& ar) override;
  BOOL DoSaveImage(CFile* pFile) override;
  BOOL DoLoadImage(CFile* pFile) override;
};

}  // namespace kelpwood::foundation
