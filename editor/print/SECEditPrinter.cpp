// Pagination into printed rows, the print font and page layout, and the header, body and footer
// of each printed page.
#include "editor/print/SECEditPrinter.h"

#include <algorithm>
#include <vector>

#include "afx/CWinApp.h"
#include "base/MbString.h"
#include "editor/model/SECEdit.h"

namespace {

// The LOGFONT the screen draws with: the model's font 0, else the configuration's face and size.
LOGFONT ScreenFont(SECEdit* model, int* points) {
  LOGFONT lf{};
  SECEditFontInfo* info = model != nullptr ? model->GetFontInfo() : nullptr;
  if (info != nullptr && !info->m_fonts.empty() && info->m_fonts[0]->GetLogFont(&lf)) {
    *points = info->m_nPointSize > 0 ? info->m_nPointSize : 10;
    return lf;
  }
  ISECEditLangConfig* config = model != nullptr ? model->GetLangConfig() : nullptr;
  const CString face = config != nullptr ? config->GetFontFaceName() : CString("Courier");
  lstrcpyn(lf.lfFaceName, face, LF_FACESIZE);
  lf.lfPitchAndFamily = FIXED_PITCH;
  lf.lfWeight = FW_NORMAL;
  *points = config != nullptr && config->GetFontSize() > 0 ? config->GetFontSize() : 10;
  return lf;
}

}  // namespace

SECEditPrinter::~SECEditPrinter() = default;

int SECEditPrinter::GetPageCount() const {
  if (!m_pInfo) return 0;
  const int rows = static_cast<int>(m_pInfo->m_rows.GetSize());
  return std::max(1, (rows + m_pInfo->m_nRowsPerPage - 1) / m_pInfo->m_nRowsPerPage);
}

int SECEditPrinter::TabWidth() const {
  ISECEditLangConfig* config = m_pModel != nullptr ? m_pModel->GetLangConfig() : nullptr;
  const int size = config != nullptr ? std::max(1, config->GetTabSize()) : 4;
  return size * std::max(1, m_pInfo ? m_pInfo->m_fontInfo.m_nBlankWidth : 1);
}

void SECEditPrinter::OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {
  CWaitCursor wait;
  int points = 10;
  LOGFONT lf = ScreenFont(m_pModel, &points);
  lf.lfHeight = -(points * pDC->GetDeviceCaps(LOGPIXELSY) / 72);
  lf.lfWidth = 0;
  m_pInfo = std::make_unique<SECEditPrintInfo>();
  SECEditFontInfo& font = m_pInfo->m_fontInfo;
  auto* printFont = new CFont;
  if (!printFont->CreateFontIndirect(&lf)) {
    delete printFont;
    printFont = nullptr;
  } else {
    font.m_fonts.insert(font.m_fonts.begin(), printFont);
  }
  font.m_nPointSize = points;
  font.m_strFaceName = lf.lfFaceName;
  CFont* old = printFont != nullptr ? pDC->SelectObject(printFont) : nullptr;
  TEXTMETRIC tm{};
  ::GetTextMetrics(pDC->m_hAttribDC, &tm);
  font.m_tm = tm;
  font.m_nFontWidth = tm.tmAveCharWidth;
  // A font that reports no height or width still prints one row and one character at a time.
  font.m_nLineHeight = std::max(1, static_cast<int>(tm.tmHeight + tm.tmExternalLeading));
  SIZE blank{};
  ::GetTextExtentPoint32(pDC->m_hAttribDC, " ", 1, &blank);
  font.m_nBlankWidth = font.m_nTabMarkWidth = std::max(1, static_cast<int>(blank.cx));

  CRect page(0, 0, pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
  ApplyPageMargins(pDC, &page);
  const int header = GetHeaderHeight(pDC);
  const int footer = GetFooterHeight(pDC);
  m_pInfo->m_rcHeader = CRect(page.left, page.top, page.right, page.top + header);
  m_pInfo->m_rcFooter = CRect(page.left, page.bottom - footer, page.right, page.bottom);
  page.top += header;
  page.bottom -= footer;
  m_pInfo->m_rcPage = page;
  m_pInfo->m_nRowsPerPage = std::max(1, page.Height() / font.m_nLineHeight);
  Paginate(pDC);
  if (pInfo != nullptr) pInfo->SetMaxPage(static_cast<UINT>(GetPageCount()));
  if (old != nullptr) pDC->SelectObject(old);
}

void SECEditPrinter::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
  if (!m_pInfo) return;
  SECEditFontInfo& font = m_pInfo->m_fontInfo;
  CFont* old = font.m_fonts.empty() ? nullptr : pDC->SelectObject(font.m_fonts[0]);
  const COLORREF text = pDC->SetTextColor(RGB(0, 0, 0));
  const COLORREF back = pDC->SetBkColor(RGB(255, 255, 255));
  if (m_pInfo->m_rcHeader.Height() > 0) PrintHeader(pDC, pInfo, &m_pInfo->m_rcHeader);
  PrintBody(pDC, pInfo, &m_pInfo->m_rcPage);
  if (m_pInfo->m_rcFooter.Height() > 0) PrintFooter(pDC, pInfo, &m_pInfo->m_rcFooter);
  pDC->SetTextColor(text);
  pDC->SetBkColor(back);
  if (old != nullptr) pDC->SelectObject(old);
}

void SECEditPrinter::OnEndPrinting(CDC*, CPrintInfo*) { m_pInfo.reset(); }

void SECEditPrinter::ApplyPageMargins(CDC* pDC, RECT* rect) {
  ::InflateRect(rect, -pDC->GetDeviceCaps(LOGPIXELSX) / 2, -pDC->GetDeviceCaps(LOGPIXELSY) / 2);
}

int SECEditPrinter::GetHeaderHeight(CDC*) { return m_pInfo ? 2 * m_pInfo->m_fontInfo.m_nLineHeight : 0; }

int SECEditPrinter::GetFooterHeight(CDC*) { return m_pInfo ? 2 * m_pInfo->m_fontInfo.m_nLineHeight : 0; }

int SECEditPrinter::FitColumns(CDC* pDC, LPCTSTR text, int len, int width) {
  if (len <= 0) return 0;
  // Character boundaries, so a double-byte character is never split.
  std::vector<int> ends;
  for (int at = 0; at < len;) {
    at += ::IsDBCSLeadByte(static_cast<BYTE>(text[at])) && at + 1 < len ? 2 : 1;
    ends.push_back(at);
  }
  int tab = TabWidth();
  auto fits = [&](size_t chars) {
    const DWORD extent = ::GetTabbedTextExtent(pDC->m_hAttribDC, text, ends[chars - 1], 1, &tab);
    return static_cast<int>(LOWORD(extent)) <= width;
  };
  // The extent comes back in 16 bits: the search doubles from one character, so it never measures
  // much more than twice the width, then halves between the last count that fit and the first that
  // did not (a count past the end counts as not fitting).
  const size_t count = ends.size();
  size_t lo = 0, hi = 1;
  while (hi <= count && fits(hi)) {
    lo = hi;
    hi *= 2;
  }
  hi = std::min(hi, count + 1);
  while (hi - lo > 1) {
    const size_t mid = (lo + hi) / 2;
    if (fits(mid))
      lo = mid;
    else
      hi = mid;
  }
  return lo == 0 ? ends[0] : ends[lo - 1];
}

void SECEditPrinter::Paginate(CDC* pDC) {
  if (!m_pInfo) return;
  auto& rows = m_pInfo->m_rows;
  rows.RemoveAll();
  const int lines = m_pModel != nullptr ? m_pModel->GetLineCount() : 0;
  if (lines == 0) return;
  rows.SetSize(0, std::max(1, lines / 4));
  SECEditFontInfo& font = m_pInfo->m_fontInfo;
  CFont* old = font.m_fonts.empty() ? nullptr : pDC->SelectObject(font.m_fonts[0]);
  const int width = m_pInfo->m_rcPage.Width();
  CString copy;
  for (int line = 0; line < lines; ++line) {
    LPTSTR text = nullptr;
    const int length = std::max(0, m_pModel->GetLine(line, &copy, &text));
    int col = 0;
    do {
      rows.Add(SECEditLineCol(line, col));
      col += text != nullptr && length > col ? FitColumns(pDC, text + col, length - col, width) : length;
    } while (col < length);
  }
  if (old != nullptr) pDC->SelectObject(old);
}

void SECEditPrinter::BreakPagesAfterMark(int mark) {
  if (!m_pInfo || m_pModel == nullptr) return;
  auto& rows = m_pInfo->m_rows;
  const int perPage = m_pInfo->m_nRowsPerPage;
  for (INT_PTR i = 0; i < rows.GetSize(); ++i) {
    const SECEditLineCol row = rows[i];
    if (row.m_nLine < 0 || row.m_nCol != 0 || !m_pModel->HasLineMark(row.m_nLine, mark)) continue;
    const int pad = perPage - static_cast<int>(i % perPage) - 1;
    if (pad > 0) rows.InsertAt(i + 1, SECEditLineCol(-1, -1), pad);
    i += pad;
  }
}

void SECEditPrinter::PrintHeader(CDC* pDC, CPrintInfo*, const RECT* rect) {
  const int lineHeight = m_pInfo->m_fontInfo.m_nLineHeight;
  CString title;
  if (!title.LoadString(IDS_SECEDIT_UNTITLED)) title = "Untitled";
  if (!m_strTitle.IsEmpty()) title = m_strTitle;
  if (rect->bottom - rect->top < lineHeight) return;
  CRect line(rect->left, rect->top, rect->right, rect->top + lineHeight);
  pDC->DrawText(title, &line, DT_SINGLELINE | DT_PATH_ELLIPSIS);
  const int y = rect->top + lineHeight / 2 + lineHeight;
  if (y > rect->bottom) return;
  pDC->MoveTo(rect->left, y);
  pDC->LineTo(rect->right, y);
}

void SECEditPrinter::PrintBody(CDC* pDC, CPrintInfo* pInfo, const RECT* rect) {
  const auto& rows = m_pInfo->m_rows;
  const int perPage = m_pInfo->m_nRowsPerPage;
  const int lineHeight = m_pInfo->m_fontInfo.m_nLineHeight;
  const INT_PTR first = static_cast<INT_PTR>(pInfo != nullptr ? pInfo->m_nCurPage - 1 : 0) * perPage;
  const INT_PTR last = std::min<INT_PTR>(first + perPage, rows.GetSize());
  int tab = TabWidth();
  int y = rect->top;
  CString copy;
  for (INT_PTR i = first; i < last; ++i, y += lineHeight) {
    const SECEditLineCol row = rows[i];
    if (row.m_nLine < 0) continue;
    LPTSTR text = nullptr;
    const int length = m_pModel->GetLine(row.m_nLine, &copy, &text);
    if (length < 0 || text == nullptr) continue;
    int count = length - row.m_nCol;
    if (i + 1 < rows.GetSize() && rows[i + 1].m_nLine == row.m_nLine) count = rows[i + 1].m_nCol - row.m_nCol;
    if (count > 0) pDC->TabbedTextOut(rect->left, y, text + row.m_nCol, count, 1, &tab, rect->left);
  }
}

void SECEditPrinter::PrintFooter(CDC* pDC, CPrintInfo* pInfo, const RECT* rect) {
  const int lineHeight = m_pInfo->m_fontInfo.m_nLineHeight;
  int y = rect->top + lineHeight / 2;
  if (y > rect->bottom) return;
  pDC->MoveTo(rect->left, y);
  pDC->LineTo(rect->right, y);
  y += lineHeight / 2;
  if (y + lineHeight > rect->bottom) return;
  CString format;
  if (!format.LoadString(IDS_SECEDIT_PAGE)) format = "Page: %d";
  CString text;
  text.Format(format, pInfo != nullptr ? static_cast<int>(pInfo->m_nCurPage) : 1);
  pDC->TextOut(rect->left, y, text);
}
