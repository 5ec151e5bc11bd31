// The off-screen canvas, text measuring and the class box of the diagrams and the chart.
#include "model/DiagramCanvas.h"

#include <algorithm>
#include <string_view>

#include "base/CodePage.h"
#include "foundation/SECImage.h"
#include "model/CFileObj.h"
#include "model/CWorkSpaceObj.h"
#include "model/ShellServices.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The screen's DC for as long as the object lives.
class ScreenDC {
 public:
  ScreenDC() : m_hDC(::GetDC(nullptr)) {}
  ~ScreenDC() {
    if (m_hDC != nullptr) ::ReleaseDC(nullptr, m_hDC);
  }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  HDC Get() const { return m_hDC; }

 private:
  HDC m_hDC;
};

// The shadow's fill: a checker of black and white, so masking keeps every other pixel of what lies
// beneath and the shadow looks half dark.
BOOL MakeShadowBrush(CDC& dc, CBitmap& pattern, CBrush& brush) {
  if (!pattern.CreateCompatibleBitmap(&dc, 8, 8)) return FALSE;
  CDC patternDC;
  if (!patternDC.CreateCompatibleDC(&dc)) return FALSE;
  CBitmap* pOld = patternDC.SelectObject(&pattern);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) patternDC.SetPixel(x, y, (x + y) % 2 == 0 ? kBlack : kWhite);
  patternDC.SelectObject(pOld);
  return brush.CreatePatternBrush(&pattern);
}

}  // namespace

DiagramCanvas::DiagramCanvas(int cx, int cy, COLORREF crBack) {
  ScreenDC screen;
  if (screen.Get() == nullptr || cx <= 0 || cy <= 0) return;
  CDC* pScreen = CDC::FromHandle(screen.Get());
  if (!m_dc.CreateCompatibleDC(pScreen)) return;
  if (!m_bitmap.CreateCompatibleBitmap(pScreen, cx, cy)) return;
  m_pOldBitmap = m_dc.SelectObject(&m_bitmap);
  m_dc.FillSolidRect(0, 0, cx, cy, crBack);
  m_dc.SetBkMode(TRANSPARENT);
  m_nWidth = cx;
  m_nHeight = cy;
  m_bValid = TRUE;
}

DiagramCanvas::~DiagramCanvas() {
  if (m_pOldBitmap != nullptr) m_dc.SelectObject(m_pOldBitmap);
}

BOOL DiagramCanvas::CopyTo(kelpwood::foundation::SECImage& image) {
  if (!m_bValid) return FALSE;
  // The bitmap must not be selected while it is read.
  m_dc.SelectObject(m_pOldBitmap);
  const BOOL bCopied = image.CreateFromBitmap(m_dc.GetSafeHdc(), static_cast<HBITMAP>(m_bitmap.GetSafeHandle()));
  m_dc.SelectObject(&m_bitmap);
  return bCopied;
}

BOOL DiagramCanvas::ReadRows24(int nTop, int nRows, std::vector<BYTE>& bits) {
  if (!m_bValid || nTop < 0 || nRows <= 0 || nTop + nRows > m_nHeight) return FALSE;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = m_nWidth;
  info.bmiHeader.biHeight = m_nHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  const size_t stride = (static_cast<size_t>(m_nWidth) * 3 + 3) / 4 * 4;
  bits.resize(stride * static_cast<size_t>(nRows));
  // Scan lines count from the bottom of the bitmap.
  const auto first = static_cast<UINT>(m_nHeight - nTop - nRows);
  m_dc.SelectObject(m_pOldBitmap);  // the bitmap must not be selected while it is read
  const int nRead = ::GetDIBits(m_dc.GetSafeHdc(), static_cast<HBITMAP>(m_bitmap.GetSafeHandle()), first,
                                static_cast<UINT>(nRows), bits.data(), &info, DIB_RGB_COLORS);
  m_dc.SelectObject(&m_bitmap);
  return nRead == nRows;
}

int MeasureDiagramText(HFONT hFont, const CString& strText) {
  ScreenDC screen;
  if (screen.Get() == nullptr || hFont == nullptr) return 0;
  const HGDIOBJ hOld = ::SelectObject(screen.Get(), hFont);
  SIZE size{};
  ::GetTextExtentPoint32(screen.Get(), strText, strText.GetLength(), &size);
  ::SelectObject(screen.Get(), hOld);
  return size.cx;
}

CString PictureName(const CString& strName) {
  constexpr int kMaxBytes = 256;
  if (strName.GetLength() <= kMaxBytes) return strName;
  const std::string_view name(strName, static_cast<size_t>(strName.GetLength()));
  size_t nCut = kMaxBytes;
  while (nCut > 0 && !brambolt::IsCharacterStart(name, nCut)) --nCut;
  return strName.Left(static_cast<int>(nCut));
}

int MeasurePictureName(HFONT hFont, const CString& strName) {
  return std::min(MeasureDiagramText(hFont, PictureName(strName)), kMaxPictureNameWidth);
}

DiagramTextWidths::DiagramTextWidths() {
  const LOGFONT lf = CFileObj::CreateDiagramFont();
  m_font.CreateFontIndirect(&lf);
}

int DiagramTextWidths::Width(const CString& strText) {
  auto [it, bNew] = m_widths.try_emplace(std::string(strText, static_cast<size_t>(strText.GetLength())), 0);
  if (bNew) {
    const int nWidth = MeasureDiagramText(static_cast<HFONT>(m_font.GetSafeHandle()), PictureName(strText));
    if (nWidth > kMaxPictureNameWidth) ++m_nCut;
    it->second = std::min(nWidth, kMaxPictureNameWidth);
  }
  return it->second;
}

void DrawDiagramBox(CDC& dc, const CRect& rcBox, const CString& strName, COLORREF crFill,
                    const CWorkSpaceObj& project) {
  if (project.GetShadow()) {
    CBitmap pattern;
    CBrush brush;
    CPen pen;
    if (MakeShadowBrush(dc, pattern, brush) && pen.CreatePen(PS_SOLID, 1, kBlack)) {
      CBrush* pOldBrush = dc.SelectObject(&brush);
      CPen* pOldPen = dc.SelectObject(&pen);
      const int nOldRop = dc.SetROP2(R2_MASKPEN);
      GetShellServices()->DrawClassBox(dc.GetSafeHdc(), rcBox, project.GetShadowSize());
      dc.SetROP2(nOldRop);
      dc.SelectObject(pOldPen);
      dc.SelectObject(pOldBrush);
    }
  }
  dc.FillSolidRect(&rcBox, crFill);
  dc.Draw3dRect(&rcBox, kBlack, kBlack);
  CRect rcText = rcBox;
  rcText.left += 10;
  // A name too wide for any box ends in an ellipsis; others are drawn as they are.
  const CString strShown = PictureName(strName);
  UINT nFormat = DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  if (strShown.GetLength() < strName.GetLength() || dc.GetTextExtent(strShown).cx > kMaxPictureNameWidth)
    nFormat |= DT_END_ELLIPSIS;
  dc.DrawText(strShown, &rcText, nFormat);
}
