// SECGif: a GIF image class without a codec; every load and save fails and keeps the picture.
#pragma once

#include "afx/GdiObjects.h"
#include "foundation/SECImage.h"

class SECGif : public kelpwood::foundation::SECImage {
  DECLARE_DYNCREATE(SECGif)

 public:
  SECGif();
  ~SECGif() override;
  void Serialize(CArchive& ar) override;
  BOOL DoSaveImage(CFile* pFile) override;
  BOOL DoLoadImage(CFile* pFile) override;

 protected:
  CPalette m_palette;
};
