// The component list box and the masked picture it draws.
#include "app/GWExtBmpComboBox.h"

#include "afx/CDC.h"
#include "resources/AppResource.h"

namespace {
// The "and not" raster operation: destination AND NOT source.
constexpr DWORD kDestAndNotSource = 0x00220326;
}  // namespace

GWExtBmpComboBox::GWExtBmpComboBox() {
  if (m_bmpRow.LoadBitmap(IDB_ROW_PICTURE)) MakeMask(m_bmpRow, m_bmpMask);
}

CString GWExtBmpComboBox::FormatRow(const CString& strText, int nNameWidth) {
  const int nAt = strText.ReverseFind('@');
  if (nAt <= 0) return strText;
  CString strName = strText.Left(nAt);
  if (strName.GetLength() < nNameWidth) strName += CString(' ', nNameWidth - strName.GetLength());
  return strName + strText.Mid(nAt + 1);
}

BOOL GWExtBmpComboBox::MakeMask(CBitmap& picture, CBitmap& mask) {
  BITMAP info{};
  if (picture.GetSafeHandle() == nullptr || picture.GetBitmap(&info) == 0) return FALSE;
  mask.DeleteObject();
  if (!mask.CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr)) return FALSE;
  CDC source, target;
  source.CreateCompatibleDC(nullptr);
  target.CreateCompatibleDC(nullptr);
  CBitmap* pOldSource = source.SelectObject(&picture);
  CBitmap* pOldTarget = target.SelectObject(&mask);
  // Colour to monochrome turns the background colour white: inverted, it becomes 0.
  source.SetBkColor(source.GetPixel(0, 0));
  target.BitBlt(0, 0, info.bmWidth, info.bmHeight, &source, 0, 0, NOTSRCCOPY);
  source.SelectObject(pOldSource);
  target.SelectObject(pOldTarget);
  return TRUE;
}

void GWExtBmpComboBox::DrawMasked(CDC* pDC, int x, int y, int cx, int cy, CBitmap& picture, CBitmap& mask) {
  if (picture.GetSafeHandle() == nullptr || mask.GetSafeHandle() == nullptr) return;
  CDC memory;
  memory.CreateCompatibleDC(pDC);
  // Monochrome onto colour: 1 bits take the background colour, 0 bits the text colour.
  const COLORREF crOldText = pDC->SetTextColor(RGB(0, 0, 0));
  const COLORREF crOldBk = pDC->SetBkColor(RGB(255, 255, 255));
  CBitmap* pOld = memory.SelectObject(&picture);
  pDC->BitBlt(x, y, cx, cy, &memory, 0, 0, SRCINVERT);
  memory.SelectObject(&mask);
  pDC->BitBlt(x, y, cx, cy, &memory, 0, 0, kDestAndNotSource);
  memory.SelectObject(&picture);
  pDC->BitBlt(x, y, cx, cy, &memory, 0, 0, SRCINVERT);
  memory.SelectObject(pOld);
  pDC->SetTextColor(crOldText);
  pDC->SetBkColor(crOldBk);
}

void GWExtBmpComboBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  // The control's own DC as it comes: rows are measured once, when the control is made.
  CClientDC dc(this);
  TEXTMETRIC metrics{};
  dc.GetTextMetrics(&metrics);
  lpMeasureItemStruct->itemHeight = static_cast<UINT>(metrics.tmHeight + 6);
}

void GWExtBmpComboBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (static_cast<int>(lpDrawItemStruct->itemID) == -1) return;
  CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
  const CRect rect = lpDrawItemStruct->rcItem;
  const bool bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
  pDC->SetBkColor(::GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  pDC->SetTextColor(::GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  CString strText;
  GetText(static_cast<int>(lpDrawItemStruct->itemID), strText);
  const CString strLine = FormatRow(strText, kNameWidth);
  const int nUnit = LOWORD(::GetDialogBaseUnits()) / 4;
  const CSize extent = pDC->GetTextExtent(strLine);
  const int nTextY = rect.top + (rect.Height() - extent.cy) / 2;
  pDC->ExtTextOut(rect.left + 2 * nUnit + 20, nTextY, ETO_OPAQUE | ETO_CLIPPED, &rect, strLine, nullptr);
  DrawMasked(pDC, nUnit, rect.top + (rect.Height() - 12) / 2, 20, 12, m_bmpRow, m_bmpMask);
  if (lpDrawItemStruct->itemState & ODS_FOCUS) pDC->DrawFocusRect(&rect);
}
