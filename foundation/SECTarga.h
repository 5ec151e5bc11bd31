// SECTarga: the Targa (TGA) format. Colour-mapped, true-colour and grey pictures, plain or
// run-length encoded, with or without the version 2.0 areas, are read as 24-bit pictures;
// uncompressed 24-bit files are written, carrying the 2.0 areas of a loaded 2.0 file along.
#pragma once

#include <vector>

#include "foundation/SECImage.h"

class SECTarga : public kelpwood::foundation::SECImage {
  DECLARE_DYNCREATE(SECTarga)

 public:
  // Parse results: 0 on success.
  enum { kParsed = 0, kShortRead = -1, kNoMemoryColorMap = -2, kNoMemoryTag = -3, kNoMemoryScanLines = -4,
         kNoMemoryStamp = -5 };

  SECTarga();
  BOOL DoSaveImage(CFile* pFile) override;
  BOOL DoLoadImage(CFile* pFile) override;

  BOOL IsVersion2() const { return m_bVersion2; }

 protected:
  struct DeveloperTag {
    WORD tag = 0;
    DWORD offset = 0;
    DWORD size = 0;
  };
  // The extension area of a 2.0 file, field by field as stored.
  struct Extension {
    WORD size = 0;
    char author[41] = {};
    char comments[324] = {};
    WORD stamp[6] = {};  // month, day, year, hour, minute, second
    char jobName[41] = {};
    WORD jobTime[3] = {};  // hours, minutes, seconds
    char softwareId[41] = {};
    WORD softwareVersion = 0;
    char versionLetter = 0;
    DWORD keyColor = 0;
    WORD aspect[2] = {};
    WORD gamma[2] = {};
    DWORD colorCorrectionOffset = 0;
    DWORD stampOffset = 0;
    DWORD scanLineOffset = 0;
    BYTE attributesType = 0;
  };
  static constexpr DWORD kExtensionSize = 495;

  int Parse(CFile* pFile);
  void ClearVersion2();

  // The file header, one field per item.
  BYTE m_idLength = 0;
  BYTE m_colorMapType = 0;
  BYTE m_imageType = 0;
  WORD m_colorMapFirst = 0;
  WORD m_colorMapLength = 0;
  BYTE m_colorMapEntrySize = 0;
  WORD m_xOrigin = 0;
  WORD m_yOrigin = 0;
  WORD m_width = 0;
  WORD m_height = 0;
  BYTE m_pixelDepth = 0;
  BYTE m_descriptor = 0;
  std::vector<BYTE> m_imageId;
  std::vector<BYTE> m_colorMap;
  std::vector<DeveloperTag> m_developerTags;
  Extension m_extension;
  std::vector<DWORD> m_scanLines;
  BYTE m_stampWidth = 0;
  BYTE m_stampHeight = 0;
  std::vector<BYTE> m_stampPixels;
  std::vector<WORD> m_colorCorrection;
  DWORD m_extensionOffset = 0;
  DWORD m_developerOffset = 0;
  char m_signature[18] = {};
  BOOL m_bVersion2 = FALSE;
  DWORD m_imageDataOffset = 0;
};
