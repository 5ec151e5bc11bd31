// The class diagram of a class page: the class's chain of ancestors as a staircase of boxes, from
// the topmost ancestor down to the class itself, saved as "Image2\<Class>.bmp".
#include <cstdlib>
#include <cstring>

#include "core/CException.h"
#include "core/CMemFile.h"

#include "foundation/SECDib.h"
#include "model/CFileObj.h"
#include "model/CWorkSpaceObj.h"
#include "model/DiagramCanvas.h"
#include "model/DocOutput.h"

namespace {

constexpr int kMinBoxWidth = 180;
constexpr int kBoxHeight = 20;
constexpr int kStepX = 20;
constexpr int kStepY = 30;

}  // namespace

LOGFONT CFileObj::CreateDiagramFont() {
  LOGFONT lf;
  std::memset(&lf, 0, sizeof lf);
  HGDIOBJ hFont = GetStockObject(DEFAULT_GUI_FONT);
  if (hFont == nullptr) hFont = GetStockObject(SYSTEM_FONT);
  GetObject(hFont, sizeof lf, &lf);
  lf.lfHeight = 11;
  std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
  std::strcpy(lf.lfFaceName, "Fixedsys");
  return lf;
}

CSize CFileObj::MeasureDiagramBox() {
  DiagramTextWidths widths;
  return MeasureDiagramBox(widths);
}

CSize CFileObj::MeasureDiagramBox(DiagramTextWidths& widths) {
  int nWidth = kMinBoxWidth;
  for (POSITION pos = m_AncestorList.GetHeadPosition(); pos != nullptr;)
    nWidth = std::max(nWidth, widths.Width(m_AncestorList.GetNext(pos)) + 20);
  m_nBoxWidth = nWidth;
  m_nBoxHeight = kBoxHeight;
  return CSize(m_nBoxWidth, m_nBoxHeight);
}

CSize CFileObj::ComputeDiagramSize() {
  // A cut chain takes one more row, for the line that counts the ancestors not drawn.
  const int n = static_cast<int>(m_AncestorList.GetCount()) + (m_nMoreAncestors > 0 ? 1 : 0);
  m_nBitmapWidth = m_nBoxWidth + kStepX * n;
  m_nBitmapHeight = m_nBoxHeight + kStepY * n;
  return CSize(m_nBitmapWidth, m_nBitmapHeight);
}

void CFileObj::DrawClassDiagram(CDC& dc, const CWorkSpaceObj& project) const {
  const LOGFONT lf = CreateDiagramFont();
  CFont font;
  CFont* pOldFont = font.CreateFontIndirect(&lf) ? dc.SelectObject(&font) : nullptr;
  dc.SetBkMode(TRANSPARENT);
  CPen pen;
  pen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  CPen* pOldPen = dc.SelectObject(&pen);
  int k = 0;
  if (m_nMoreAncestors > 0) {
    // The first row counts the ancestors above the topmost one drawn, which is joined to it.
    CString strMore;
    strMore.Format("(%d more)", m_nMoreAncestors);
    CRect rcMore(0, 0, m_nBoxWidth, m_nBoxHeight);
    dc.DrawText(strMore, &rcMore, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    k = 1;
  }
  // The chain runs from the class up; the drawing from the topmost ancestor down.
  for (POSITION pos = m_AncestorList.GetTailPosition(); pos != nullptr; ++k) {
    const CString& strName = m_AncestorList.GetPrev(pos);
    const CRect rcBox(kStepX * k, kStepY * k, kStepX * k + m_nBoxWidth, kStepY * k + m_nBoxHeight);
    if (k > 0) {
      dc.MoveTo(rcBox.left - 10, rcBox.top - 10);
      dc.LineTo(rcBox.left - 10, rcBox.top + 10);
      dc.LineTo(rcBox.left, rcBox.top + 10);
    }
    // Only the root of the hierarchy has the root's colour.
    const bool bRoot = k == 0;
    DrawDiagramBox(dc, rcBox, strName, bRoot ? project.m_crBaseClass : project.m_crDerivedClass, project);
  }
  dc.SelectObject(pOldPen);
  if (pOldFont != nullptr) dc.SelectObject(pOldFont);
}

BOOL CFileObj::SaveClassDiagram(CString strImageFolder, const CWorkSpaceObj& project) const {
  return SaveClassDiagram(OutputFolder::Open(strImageFolder, 0), project);
}

BOOL CFileObj::SaveClassDiagram(const OutputFolder& images, const CWorkSpaceObj& project) const {
  DiagramCanvas canvas(m_nBitmapWidth, m_nBitmapHeight, project.m_crChartBack);
  if (!canvas.IsValid()) return FALSE;
  DrawClassDiagram(canvas.GetDC(), project);
  kelpwood::foundation::SECDib dib;
  if (!canvas.CopyTo(dib)) return FALSE;
  // The BMP is made in memory and goes to its file in one write.
  CMemFile bytes(64 * 1024);
  try {
    if (!dib.SaveImage(&bytes)) return FALSE;
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  const auto nLength = static_cast<size_t>(bytes.GetLength());
  BYTE* pBytes = bytes.Detach();
  const BOOL bWritten = images.WriteFile(FileName() + ".bmp", pBytes, nLength);
  std::free(pBytes);
  return bWritten;
}
