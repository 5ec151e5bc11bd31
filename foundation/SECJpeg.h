// SECJpeg: the JPEG format through the JPEG library (version 6.2 interface), reading and writing
// through the framework's file objects.
#pragma once

#include "foundation/SECImage.h"

namespace kelpwood::foundation {

class SECJpeg : public SECImage {
  DECLARE_DYNCREATE(SECJpeg)

 public:
  static constexpr int kDefaultQuality = 75;

  SECJpeg();
  void Serialize(CArchive& ar) override;
  BOOL DoSaveImage(CFile* pFile) override;
  BOOL DoLoadImage(CFile* pFile) override;

 protected:
  DWORD m_dwPixelBlockSize = 0;
  // Set when the display has a palette: pictures are then quantised to 256 colours on load.
  BOOL m_bQuantize = FALSE;
  int m_nQuality = kDefaultQuality;
};

}  // namespace kelpwood::foundation
