// The separator line.
#include "app/CSeparator.h"

#include "afx/WindowDCs.h"

BEGIN_MESSAGE_MAP(CSeparator, CStatic)
  ON_WM_PAINT()
END_MESSAGE_MAP()

void CSeparator::OnPaint() {
  CPaintDC dc(this);
  CRect rect;
  GetClientRect(&rect);
  const int nWidth = rect.Width();
  const int nHeight = rect.Height();
  if (nHeight > nWidth) {
    CRect line(nWidth / 2, 0, nWidth / 2 + 2, nHeight);
    dc.DrawEdge(&line, EDGE_ETCHED, BF_LEFT);
    return;
  }
  CRect line(0, nHeight / 2, nWidth, nHeight / 2 + 2);
  dc.DrawEdge(&line, EDGE_ETCHED, BF_TOP);
  CString strText;
  GetWindowText(strText);
  if (strText.IsEmpty()) return;
  const DWORD dwStyle = GetStyle();
  UINT nFormat = DT_TOP | DT_SINGLELINE;
  const DWORD dwAlign = dwStyle & SS_TYPEMASK;
  nFormat |= dwAlign == SS_CENTER ? DT_CENTER : dwAlign == SS_RIGHT ? DT_RIGHT : DT_LEFT;
  if (dwStyle & SS_NOPREFIX) nFormat |= DT_NOPREFIX;
  CFont* pOldFont = dc.SelectObject(GetFont());
  dc.SetBkColor(::GetSysColor(COLOR_BTNFACE));
  dc.SetBkMode(OPAQUE);
  dc.DrawText(strText, &rect, nFormat);
  dc.SelectObject(pOldFont);
}
