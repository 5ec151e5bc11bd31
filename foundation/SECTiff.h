// SECTiff: the TIFF format through libtiff, by file name only. Grey and palette files of up to
// 8 bits a sample load as 8-bit pictures, RGB, RGBA and YCbCr files as 24-bit ones; 1-, 4-, 8-
// and 24-bit pictures are written.
#pragma once

#include <string>

#include "foundation/SECImage.h"

class SECTiff : public kelpwood::foundation::SECImage {
  DECLARE_DYNCREATE(SECTiff)

 public:
  SECTiff();
  void Serialize(CArchive& ar) override;
  using SECImage::LoadImage;
  using SECImage::SaveImage;
  BOOL LoadImage(LPCTSTR lpszFileName) override;
  BOOL SaveImage(LPCTSTR lpszFileName) override;
  // TIFF files are reached by name; a file object cannot carry them.
  BOOL DoSaveImage(CFile* pFile) override;
  BOOL DoLoadImage(CFile* pFile) override;

 protected:
  // The compression written (a TIFF compression code: 1 none, 5 LZW, 8 deflate ...).
  DWORD m_nCompression = 1;
  // As read from the last file.
  WORD m_nOrientation = 0;
  WORD m_nBitsPerSample = 0;
  WORD m_nSamplesPerPixel = 0;
  WORD m_nPhotometric = 0;
  DWORD m_nSampleFactor = 1;
  float m_ycbcrCoefficients[3] = {};
  WORD m_ycbcrSubsampling[2] = {};
  float m_referenceBlackWhite[6] = {};

 private:
  BOOL ReadTiffFile(const std::string& nativePath);
  bool Transpose(int orientation, DWORD pixelBytes, LONG width, LONG height);
  BOOL WriteTiffFile(const std::string& nativePath);
};
