// The toolbar drop-down lists.
#include "app/CGWDropBtn.h"

#include "afx/CDC.h"
#include "afx/WindowDCs.h"
#include "app/GWExtBmpComboBox.h"
#include "resources/AppResource.h"

const SECButtonClass CGWDropClassBtn::s_btnClass = {&CGWDropClassBtn::CreateButton};
const SECButtonClass CGWDropIDBtn::s_btnClass = {&CGWDropIDBtn::CreateButton};
const SECButtonClass CGWDropFunctionBtn::s_btnClass = {&CGWDropFunctionBtn::CreateButton};

CGWDropBtnBase::CGWDropBtnBase(LPCTSTR lpszEmptyText) : m_strEmptyText(lpszEmptyText) {
  if (m_bmpRow.LoadBitmap(IDB_ROW_PICTURE)) GWExtBmpComboBox::MakeMask(m_bmpRow, m_bmpMask);
}

BOOL CGWDropBtnBase::CreateWnd(CWnd* pParentWnd, DWORD dwStyle, const CRect& rect, UINT nID) {
  if ((dwStyle & 0x3) == 0) dwStyle |= CBS_DROPDOWNLIST;
  if (!SECComboBtn::CreateWnd(pParentWnd, dwStyle | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, rect, nID)) return FALSE;
  LOGFONT logFont{};
  logFont.lfHeight = 8;
  logFont.lfWeight = FW_NORMAL;
  logFont.lfCharSet = DEFAULT_CHARSET;
  lstrcpyn(logFont.lfFaceName, "MS Sans Serif", LF_FACESIZE);
  m_font.DeleteObject();
  if (m_font.CreateFontIndirect(&logFont)) SetFont(&m_font);
  SendNotify(SEC_WNDBTN_CREATED);
  return TRUE;
}

void CGWDropBtnBase::FollowComboHeight() {
  if (!m_bWndShown || GetSafeHwnd() == nullptr) return;
  CRect rect;
  GetWindowRect(&rect);
  m_cy = rect.Height();
}

void CGWDropBtnBase::ShowAsButton(BOOL bAsButton) {
  SECWndBtn::ShowAsButton(bAsButton);
  FollowComboHeight();
}

void CGWDropBtnBase::AdjustSize() {
  SECWndBtn::AdjustSize();
  FollowComboHeight();
}

BOOL CGWDropBtnBase::PreTranslateMessage(MSG* pMsg) {
  // Return in the edit field is the button's notification, not a line break or a default button.
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && m_edit.GetSafeHwnd() != nullptr &&
      pMsg->hwnd == m_edit.GetSafeHwnd()) {
    SendNotify(kReturnNotify);
    return TRUE;
  }
  return SECComboBtn::PreTranslateMessage(pMsg);
}

void CGWDropBtnBase::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  // The control's own DC as it comes: rows are measured once, when the control is made.
  CClientDC dc(this);
  TEXTMETRIC metrics{};
  dc.GetTextMetrics(&metrics);
  lpMeasureItemStruct->itemHeight = static_cast<UINT>(metrics.tmHeight + 2);
}

CString CGWDropBtnBase::GetItemLine(int nItem) const {
  if (nItem < 0) return m_strEmptyText;
  CString strText;
  GetLBText(nItem, strText);
  return GWExtBmpComboBox::FormatRow(strText, kNameWidth);
}

void CGWDropBtnBase::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
  const CRect rect = lpDrawItemStruct->rcItem;
  const UINT nState = lpDrawItemStruct->itemState;
  if (nState & ODS_DISABLED) {
    pDC->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
    pDC->SetBkColor(::GetSysColor(COLOR_WINDOW));
  } else {
    const bool bSelected = (nState & ODS_SELECTED) != 0;
    pDC->SetTextColor(::GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    pDC->SetBkColor(::GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  }
  const CString strLine = GetItemLine(static_cast<int>(lpDrawItemStruct->itemID));
  const int nUnit = LOWORD(::GetDialogBaseUnits()) / 4;
  CFont* pOldFont = pDC->SelectObject(GetFont());
  const CSize extent = pDC->GetTextExtent(strLine);
  pDC->ExtTextOut(rect.left + 2 * nUnit + 20, rect.top + (rect.Height() - extent.cy) / 2, ETO_OPAQUE | ETO_CLIPPED,
                  &rect, strLine, nullptr);
  pDC->SelectObject(pOldFont);
  GWExtBmpComboBox::DrawMasked(pDC, nUnit, rect.top + (rect.Height() - 12) / 2, 20, 12, m_bmpRow, m_bmpMask);
  if (nState & ODS_FOCUS) pDC->DrawFocusRect(&rect);
}
