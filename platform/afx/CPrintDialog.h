// CPrintDialog and CPageSetupDialog over the platform's print and page-setup dialogs, and
// AfxCreateDC, the printer DC of a DEVNAMES and a DEVMODE block.
#pragma once

#include "afx/CCommonDialog.h"
#include "controls/PageSetupDialog.h"
#include "controls/PrintDialog.h"

class CDC;

class CPrintDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CPrintDialog)

 public:
  // bPrintSetupOnly runs the print-setup dialog; otherwise the print dialog, which returns a DC.
  explicit CPrintDialog(BOOL bPrintSetupOnly,
                        DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                        PD_NOSELECTION,
                        CWnd* pParentWnd = nullptr);

  PRINTDLG m_pd{};

  INT_PTR DoModal() override;
  // The default printer's DEVMODE and DEVNAMES (and DC with PD_RETURNDC) without a dialog; the
  // blocks must be empty before.
  BOOL GetDefaults();

  // The answer. The DEVMODE pointer stays valid while m_pd.hDevMode does.
  LPDEVMODE GetDevMode() const;
  CString GetDriverName() const;
  CString GetDeviceName() const;
  CString GetPortName() const;
  HDC GetPrinterDC() const;
  // A new DC from the blocks, which also becomes m_pd.hDC; the caller deletes it.
  HDC CreatePrinterDC();
  int GetCopies() const;
  BOOL PrintCollate() const;
  BOOL PrintSelection() const;
  BOOL PrintAll() const;
  BOOL PrintRange() const;
  // -1 unless a page range was chosen.
  int GetFromPage() const;
  int GetToPage() const;
};

class CPageSetupDialog : public CCommonDialog {
  DECLARE_DYNAMIC(CPageSetupDialog)

 public:
  explicit CPageSetupDialog(DWORD dwFlags = PSD_MARGINS | PSD_INWININIINTLMEASURE, CWnd* pParentWnd = nullptr);
  // The blocks the dialog returned are the object's: they go with it.
  ~CPageSetupDialog() override;

  PAGESETUPDLG m_psd{};

  INT_PTR DoModal() override;
  CSize GetPaperSize() const { return CSize(m_psd.ptPaperSize.x, m_psd.ptPaperSize.y); }
  // Either pointer may be null.
  void GetMargins(LPRECT lpRectMargins, LPRECT lpRectMinMargins) const;
  LPDEVMODE GetDevMode() const;
  CString GetDriverName() const;
  CString GetDeviceName() const;
  CString GetPortName() const;
  HDC CreatePrinterDC();

  // The sample page: PreDrawPage before it is drawn, OnDrawPage for each part (WM_PSD_* with the
  // part's rectangle). Non-zero answers mean the override drew it; 0 lets the dialog draw.
  virtual UINT PreDrawPage(WORD wPaper, WORD wFlags, LPPAGESETUPDLG pPSD);
  virtual UINT OnDrawPage(CDC* pDC, UINT nMessage, LPRECT lpRect);

 protected:
  static UINT_PTR CALLBACK PaintHookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// A printer DC for the printer a DEVNAMES block names, with the DEVMODE's settings; null when the
// block is missing or cannot be read.
HDC AfxCreateDC(HGLOBAL hDevNames, HGLOBAL hDevMode);
