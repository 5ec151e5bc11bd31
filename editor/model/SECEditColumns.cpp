// Display columns with tab expansion, indentation text, wrapping of over-long lines, the model's
// fonts and whitespace marks, and the language configuration it observes.
#include <algorithm>
#include <climits>
#include <cstring>

#include "editor/model/SECEdit.h"

namespace {

kelpwood::editor::FontDialogRunner g_fontDialog = nullptr;

// Column conversion over len bytes of text with tab size T.
int ConvertColumn(int col, BOOL bToChar, LPCTSTR text, int len, int T, int* pStart) {
  if (T <= 1 || std::memchr(text, '\t', static_cast<size_t>(len)) == nullptr) {
    if (!bToChar) return col;
    col = std::clamp(col, 0, len);
    if (pStart != nullptr) *pStart = col;
    return col;
  }
  // Display columns are counted in 64 bits (a long line of tabs passes any int) and given back
  // no larger than an int holds.
  const auto narrow = [](long long d) { return static_cast<int>(std::min<long long>(d, INT_MAX)); };
  if (!bToChar) {
    col = std::clamp(col, 0, len);
    long long d = 0;
    for (int p = 0; p < col; ++p) d += text[p] == '\t' ? T - d % T : 1;
    return narrow(d);
  }
  long long d = 0;
  for (int p = 0; p < len; ++p) {
    const int width = text[p] == '\t' ? static_cast<int>(T - d % T) : 1;
    if (col < d + width) {
      if (pStart != nullptr) *pStart = narrow(d);
      return p;
    }
    d += width;
  }
  if (pStart != nullptr) *pStart = narrow(d);
  return len;
}

}  // namespace

namespace kelpwood::editor {
FontDialogRunner SetFontDialogRunner(FontDialogRunner runner) {
  const FontDialogRunner old = g_fontDialog;
  g_fontDialog = runner;
  return old;
}
}  // namespace kelpwood::editor

int SECEdit::TabSize() { return m_pLangConfig != nullptr ? std::max(1, m_pLangConfig->GetTabSize()) : 4; }

int SECEdit::ConvertLineColumn(int col, BOOL bToChar, int line, int* pStart) {
  LPTSTR text = nullptr;
  CString buf;
  const int length = GetLine(line, &buf, &text);
  if (length < 0) return col;
  return ConvertColumn(col, bToChar, text, length, TabSize(), pStart);
}

int SECEdit::ConvertStringColumn(int col, BOOL bToChar, LPCTSTR text, int* pStart) {
  return ConvertColumn(col, bToChar, text, static_cast<int>(std::strlen(text)), TabSize(), pStart);
}

void SECEdit::MakeIndentText(CString* out, int count, SECEditLineCol pos, BOOL bAllowSpaces) {
  out->Empty();
  if (count <= 0) return;
  if (bAllowSpaces && m_pLangConfig != nullptr && m_pLangConfig->GetReplaceTabs()) {
    *out = CString(' ', count);
    return;
  }
  const int T = TabSize();
  const int first = T - ConvertLineColumn(pos.m_nCol, FALSE, pos.m_nLine) % T;
  if (count < first) {
    *out = CString(' ', count);
    return;
  }
  *out = CString('\t', 1 + (count - first) / T) + CString(' ', (count - first) % T);
}

int SECEdit::SpacesToNextTabStop(SECEditLineCol pos) {
  const int T = TabSize();
  return T - ConvertLineColumn(pos.m_nCol, FALSE, pos.m_nLine) % T;
}

BOOL SECEdit::InsertTab(int line, int col) {
  if (m_pLangConfig != nullptr && m_pLangConfig->GetReplaceTabs()) {
    const CString blanks(' ', SpacesToNextTabStop(SECEditLineCol(line, col)));
    return InsertTextAt(line, col, blanks, -1);
  }
  return InsertTextAt(line, col, "\t", 1);
}

BOOL SECEdit::WrapLongLines(BOOL bWrap, int fromLine, int toLine) {
  if (!m_pBuffer) return FALSE;
  if (toLine < 0) toLine = GetLastLine();
  const int T = TabSize();
  BOOL found = FALSE, wrapped = FALSE;
  for (int line = fromLine; line <= toLine && line < GetLineCount(); ++line) {
    // The length with its line end bounds the visible one: most lines are passed over unread.
    if (static_cast<long long>(m_pBuffer->GetLineLength(line)) * T <= m_nMaxLineLength || !IsLineTooLong(line)) continue;
    found = TRUE;
    if (!bWrap) return TRUE;
    const int c = SnapColumn(line, ConvertLineColumn(m_nMaxLineLength, TRUE, line), FALSE);
    if (c <= 0) continue;
    m_bSuppressWrap = TRUE;
    InsertTextAt(line, c, GetBreakText(), -1);
    m_bSuppressWrap = FALSE;
    wrapped = TRUE;
    ++toLine;
  }
  if (wrapped) {
    ClearUndoHistory();
    ChangeModified(TRUE);
    ClearColourCache();
    UpdateAllObservers(nullptr, nullptr);
  }
  return found;
}

void SECEdit::CreateFonts() {
  m_pFontInfo.reset(CreateFontInfo());
  SECEditFontInfo* info = m_pFontInfo.get();
  const BOOL bold = m_pLangConfig != nullptr && m_pLangConfig->GetFontBold();
  const BOOL italic = m_pLangConfig != nullptr && m_pLangConfig->GetFontItalic();
  const bool dbcs = g_bDBCSSystem;
  const char* face = dbcs ? "FixedSys" : "Courier";
  const int points = dbcs ? 12 : 10;
  LOGFONT lf{};
  ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  lstrcpyn(lf.lfFaceName, face, LF_FACESIZE);
  lf.lfPitchAndFamily = FIXED_PITCH;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = italic ? 1 : 0;
  const int dpi = info->m_dcInfo.GetSafeHdc() != nullptr ? info->m_dcInfo.GetDeviceCaps(LOGPIXELSY) : 96;
  lf.lfHeight = -MulDiv(points, dpi, 72);
  auto* font = new CFont;
  if (!font->CreateFontIndirect(&lf)) {
    delete font;
    return;
  }
  info->m_fonts.insert(info->m_fonts.begin(), font);
  info->m_nPointSize = points;
  info->m_strFaceName = face;
  if (info->m_dcInfo.GetSafeHdc() == nullptr) return;
  info->m_dcInfo.SelectObject(font);
  info->m_dcInfo.GetTextMetrics(&info->m_tm);
  info->m_nLineHeight = info->m_tm.tmHeight;
  info->m_nFontWidth = info->m_tm.tmAveCharWidth;
  const char mark = GetWhitespaceMark(TRUE);
  info->m_nTabMarkWidth = info->m_dcInfo.GetTextExtent(&mark, 1).cx;
  info->m_nBlankWidth = info->m_dcInfo.GetTextExtent(" ", 1).cx;
}

char SECEdit::GetWhitespaceMark(BOOL bTab) {
  if (g_bDBCSSystem) return bTab ? '^' : '`';
  return bTab ? '\xBB' : '\xB7';
}

int SECEdit::GetTabWidth(SECEditFontInfo* info) {
  const int T = TabSize();
  if (m_pLangConfig != nullptr && m_pLangConfig->GetShowWhitespace())
    return (T - 1) * info->m_nBlankWidth + info->m_nTabMarkWidth;
  return T * info->m_nBlankWidth;
}

BOOL SECEdit::EditFontSize() {
  if (g_fontDialog == nullptr || m_pLangConfig == nullptr || !m_pFontInfo || m_pFontInfo->m_fonts.empty()) return FALSE;
  LOGFONT lf{};
  m_pFontInfo->m_fonts.front()->GetLogFont(&lf);
  switch (GetOEMCP()) {
    case 932: lf.lfCharSet = 128; break;
    case 936: lf.lfCharSet = 134; break;
    case 949: lf.lfCharSet = 129; break;
    case 950: lf.lfCharSet = 136; break;
    case 1361: lf.lfCharSet = 130; break;
    default: lf.lfCharSet = 0; break;
  }
  if (!g_fontDialog(m_pLangConfig, &lf)) return FALSE;
  SECEditMsg msg(SECEDIT_MSG_FONT);
  m_pLangConfig->UpdateAllObservers(nullptr, &msg);
  return TRUE;
}

void SECEdit::SetLangConfigByPointer(ISECEditLangConfig* cfg) {
  if (cfg != nullptr) cfg->AddRef();
  if (m_pLangConfig != nullptr) {
    m_pLangConfig->RemoveObserver(this);
    m_pLangConfig->Release();
  }
  m_pLangConfig = cfg;
  if (cfg != nullptr) cfg->AddObserver(this);
}

BOOL SECEdit::SelectLangConfig(LPCTSTR name) {
  ISECEditLangConfig* cfg = kelpwood::editor::FindLanguage(name);
  if (cfg == nullptr) return FALSE;
  SetLangConfigByPointer(cfg);
  SECEditMsg msg(SECEDIT_MSG_LANGUAGE);
  OnUpdate(nullptr, &msg);
  return TRUE;
}

void SECEdit::SetFontInfo(SECEditFontInfo* info) {
  if (info != m_pFontInfo.get()) m_pFontInfo.reset(info);
  SECEditMsg msg(SECEDIT_MSG_FONT);
  OnUpdate(nullptr, &msg);
}

void SECEdit::GetLanguageName(CString* out) {
  if (m_pLangConfig != nullptr)
    *out = m_pLangConfig->GetName();
  else
    out->Empty();
}
