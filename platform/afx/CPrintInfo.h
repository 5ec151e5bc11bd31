// CPrintInfo: what a view's print job and print preview carry from page to page: the print
// dialog with the chosen range, the page being drawn, the drawing rectangle and the preview state.
#pragma once

#include "afx/CPrintDialog.h"
#include "core/CString.h"
#include "core/Geometry.h"

class CPrintInfo {
 public:
  CPrintInfo();
  ~CPrintInfo();
  CPrintInfo(const CPrintInfo&) = delete;
  CPrintInfo& operator=(const CPrintInfo&) = delete;

  // The pages the document has; the print dialog offers no range outside them.
  void SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = static_cast<WORD>(nMinPage); }
  void SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = static_cast<WORD>(nMaxPage); }
  UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
  UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
  // The pages chosen: a range from the dialog, else all the document has.
  UINT GetFromPage() const;
  UINT GetToPage() const;
  UINT GetOffsetPage() const { return m_nOffsetPage; }

  CPrintDialog* m_pPD;         // the print dialog, its PRINTDLG holding the DC and the range
  BOOL m_bDocObject = FALSE;
  BOOL m_bDirect = FALSE;      // print at once, without the dialog
  BOOL m_bPreview = FALSE;     // drawing for print preview
  BOOL m_bContinuePrinting = TRUE;  // cleared by the view (OnPrepareDC) after its last page
  UINT m_nCurPage = 1;         // the page being drawn
  UINT m_nNumPreviewPages = 0;  // pages preview shows side by side (1 or 2; 0 for the application's default)
  CString m_strPageDesc;       // the preview's status text: "Page %u\nPages %u-%u\n"
  LPVOID m_lpUserData = nullptr;
  CRect m_rectDraw;            // the usable page area in logical units, set before OnPrint
  UINT m_nJobNumber = 0;       // the job id the spooler gave
  UINT m_nOffsetPage = 0;
};
