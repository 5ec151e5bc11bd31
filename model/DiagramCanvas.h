// Drawing shared by the class diagrams and the hierarchy chart: an off-screen bitmap compatible
// with the screen, text measuring in a diagram font, and the framed, shadowed class box.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "afx/afx.h"

class CWorkSpaceObj;
namespace kelpwood::foundation {
class SECImage;
}

class DiagramCanvas {
 public:
  // A memory DC holding a bitmap of the size filled with the colour; text is drawn transparently.
  DiagramCanvas(int cx, int cy, COLORREF crBack);
  ~DiagramCanvas();
  DiagramCanvas(const DiagramCanvas&) = delete;
  DiagramCanvas& operator=(const DiagramCanvas&) = delete;

  BOOL IsValid() const { return m_bValid; }
  CDC& GetDC() { return m_dc; }
  // A device-independent copy of the drawing.
  BOOL CopyTo(kelpwood::foundation::SECImage& image);
  // Rows [nTop, nTop + nRows) counted from the top, as 24-bit
  // DIB rows, bottom row first, each padded to four bytes.
  BOOL ReadRows24(int nTop, int nRows, std::vector<BYTE>& bits);

 private:
  CDC m_dc;
  CBitmap m_bitmap;
  CBitmap* m_pOldBitmap = nullptr;
  int m_nWidth = 0;
  int m_nHeight = 0;
  BOOL m_bValid = FALSE;
};

// The width of the text in the font, measured on the screen.
int MeasureDiagramText(HFONT hFont, const CString& strText);

// The widest a class name is drawn in a box of a picture; a wider one ends in an ellipsis, so a
// box (and with it the picture) never grows with a name.
constexpr int kMaxPictureNameWidth = 600;
// The part of a name a picture draws (and measures): the name, or its first few hundred bytes
// when it is longer, which are wider than any box takes.
CString PictureName(const CString& strName);
// The width a name takes in a picture: its measured width, at most kMaxPictureNameWidth.
int MeasurePictureName(HFONT hFont, const CString& strName);

// Widths of names in the class diagrams' font, each measured once, as a picture draws them.
class DiagramTextWidths {
 public:
  DiagramTextWidths();
  int Width(const CString& strText);
  // How many of the names measured were too wide to be drawn whole.
  int GetCutCount() const { return m_nCut; }

 private:
  CFont m_font;
  std::unordered_map<std::string, int> m_widths;
  int m_nCut = 0;
};

// A class box: the shadow first (through the shell, when the project asks for shadows), then the
// fill, a black frame and the name from 10 pixels right of the left edge, centred vertically.
void DrawDiagramBox(CDC& dc, const CRect& rcBox, const CString& strName, COLORREF crFill,
                    const CWorkSpaceObj& project);
