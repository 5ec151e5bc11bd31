// CPicture: a picture file (BMP, JPEG, GIF or ICO) loaded through the platform's picture object,
// measured in a DC's pixels, drawn stretched or magnified, and saved as a real BMP or ICO file.
#pragma once

#include <utility>
#include <vector>

#include "afx/CDC.h"
#include "ole/Picture.h"

class CPicture {
 public:
  CPicture() = default;
  virtual ~CPicture() { Release(); }
  CPicture(const CPicture&) = delete;
  CPicture& operator=(const CPicture&) = delete;

  // Loaders report failures in a message box under "CPicture Error" and return FALSE; a picture
  // whose file is cut short is loaded with what it holds, and said to be incomplete the same way.
  BOOL LoadFromFile(LPCTSTR lpszPath);
  BOOL LoadFromMemory(const BYTE* pBuffer, int nSize);
  // The whole picture stretched into the rectangle.
  BOOL Draw(CDC* pDC, const CRect& rect);
  // The whole picture at (left, top), nWidth + natural width x nMagnifyX wide and likewise high.
  BOOL DrawMagnified(CDC* pDC, int nLeft, int nTop, int nWidth, int nHeight, int nMagnifyX, int nMagnifyY);
  // Width and height in the DC's pixels (96 per inch on a printer); FALSE, both 0, without a DC
  // or a picture.
  BOOL MeasureOnDC(CDC* pDC);
  // Writes a BMP file, or an ICO file when the name ends in ".ico", whatever format was loaded.
  BOOL SaveToFile(LPCTSTR lpszPath);
  void Release();
  // Exchanges the pictures (and their sizes) of the two loaders.
  void Swap(CPicture& other);

  BOOL IsLoaded() const { return m_pPicture != nullptr; }
  int GetWidth() const { return m_nWidth; }
  int GetHeight() const { return m_nHeight; }
  int GetFileSize() const { return m_nFileSize; }

  // The bytes of a 32-bit ICO file of `width` by `height` top-down BGRA pixels (at most 256).
  static std::vector<BYTE> EncodeIcon(const std::vector<DWORD>& pixels, int nWidth, int nHeight);
  // Shows a loader message: caption "CPicture Error", stop icon, OK.
  static void ShowError(LPCTSTR lpszText);

 private:
  // The picture's width and height in hundredths of a millimetre.
  std::pair<LONG, LONG> HimetricSize() const;
  // The picture drawn on white into top-down 32-bit pixels of the given size.
  std::vector<DWORD> Render(int nWidth, int nHeight) const;
  // What the picture object writes for itself (its own format), or nothing.
  std::vector<BYTE> SavedBytes() const;
  std::vector<BYTE> EncodeBitmap(int nWidth, int nHeight) const;

  IPicture* m_pPicture = nullptr;
  int m_nHeight = 0;
  int m_nFileSize = 0;
  int m_nWidth = 0;
};
