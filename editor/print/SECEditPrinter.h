// Printing an editor's text: a print font scaled for the printer, rows that wrap long lines,
// half-inch margins, a header with the title and a rule, a footer with a rule and the page number.
// The editor view forwards its printing operations here.
#pragma once

#include <memory>

#include "afx/CPrintInfo.h"
#include "core/CArray.h"
#include "editor/SECEditFontInfo.h"
#include "editor/SECEditLineCol.h"

class SECEdit;

constexpr UINT IDS_SECEDIT_UNTITLED = 22607;
constexpr UINT IDS_SECEDIT_PAGE = 22608;

// What one print or preview run keeps: the printed rows (line and start column; -1, -1 for an
// empty row), the print font, the body, header and footer rectangles and the rows per page.
struct SECEditPrintInfo {
  CArray<SECEditLineCol, const SECEditLineCol&> m_rows;
  SECEditFontInfo m_fontInfo;
  CRect m_rcPage;
  CRect m_rcHeader;
  CRect m_rcFooter;
  int m_nRowsPerPage = 1;
};

class SECEditPrinter {
 public:
  explicit SECEditPrinter(SECEdit* model = nullptr) : m_pModel(model) {}
  virtual ~SECEditPrinter();
  SECEditPrinter(const SECEditPrinter&) = delete;
  SECEditPrinter& operator=(const SECEditPrinter&) = delete;

  void SetModel(SECEdit* model) { m_pModel = model; }
  // The header's title (the document's); "Untitled" when empty.
  void SetTitle(LPCTSTR title) { m_strTitle = title; }

  void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
  void OnPrint(CDC* pDC, CPrintInfo* pInfo);
  void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);

  virtual void Paginate(CDC* pDC);
  virtual void ApplyPageMargins(CDC* pDC, RECT* rect);
  virtual int GetHeaderHeight(CDC* pDC);
  virtual int GetFooterHeight(CDC* pDC);
  virtual void PrintHeader(CDC* pDC, CPrintInfo* pInfo, const RECT* rect);
  virtual void PrintBody(CDC* pDC, CPrintInfo* pInfo, const RECT* rect);
  virtual void PrintFooter(CDC* pDC, CPrintInfo* pInfo, const RECT* rect);

  // Ends a page after each row that starts a line carrying the mark, with empty rows.
  void BreakPagesAfterMark(int mark);
  // How many bytes of the text, from its start, fit in the width with tabs expanded (whole
  // characters; at least one, so a row always makes progress).
  int FitColumns(CDC* pDC, LPCTSTR text, int len, int width);

  SECEditPrintInfo* GetPrintInfo() { return m_pInfo.get(); }
  int GetPageCount() const;

 protected:
  int TabWidth() const;

  SECEdit* m_pModel;
  CString m_strTitle;
  std::unique_ptr<SECEditPrintInfo> m_pInfo;
};
