// SECTNBitmap: a thumbnail bitmap that stores itself in an archive as a BMP stream (a 14-byte
// file header and a packed device-independent bitmap) and reads itself back.
#pragma once

#include "afx/GdiObjects.h"
#include "core/CArchive.h"

class SECTNBitmap : public CBitmap {
  DECLARE_DYNAMIC(SECTNBitmap)

 public:
  SECTNBitmap();
  ~SECTNBitmap() override;
  // Storing a bitmap without a handle writes a blank 1x1 thumbnail. Loading throws the
  // framework's archive exception for a stream that is not a sound BMP.
  void Serialize(CArchive& ar) override;

  // Makes this bitmap a blank (white) 1x1 picture.
  BOOL CreateBlank();
};
