// The text button: its caption from the string table and its face with the caption under the
// image; one font serves every text button.
#include "bars/SECTBTextButton.h"

#include "bars/SECBtnDrawCache.h"
#include "bars/SECCustomToolBar.h"
#include "bars/SECToolBarManager.h"

const SECButtonClass SECTBTextButton::s_btnClass = {&SECCreateButtonOf<SECTBTextButton>};

namespace {
HFONT g_hTextFont = nullptr;
int g_nTextButtons = 0;
}  // namespace

SECTBTextButton::SECTBTextButton() {
  if (g_nTextButtons++ == 0) {
    g_hTextFont = ::CreateFont(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "Times Roman");
  }
}

SECTBTextButton::~SECTBTextButton() {
  if (--g_nTextButtons == 0 && g_hTextFont != nullptr) {
    ::DeleteObject(g_hTextFont);
    g_hTextFont = nullptr;
  }
}

HFONT SECTBTextButton::GetSharedFont() { return g_hTextFont; }

void SECTBTextButton::Init(SECCustomToolBar* pToolBar, const UINT_PTR* pParams) {
  const UINT nString = pParams != nullptr && pParams[0] != 0 ? static_cast<UINT>(pParams[0]) : m_nID;
  CString strText;
  strText.LoadString(nString);
  const int nFeed = strText.Find('\n');
  m_strCaption = nFeed >= 0 ? strText.Mid(nFeed + 1) : strText;
  SECStdBtn::Init(pToolBar, pParams);
}

BOOL SECTBTextButton::ShowsCaption() const {
  if (m_pToolBar == nullptr) return FALSE;
  SECToolBarManager* pManager = m_pToolBar->GetToolBarManager();
  return pManager == nullptr || pManager->LargeButtonsEnabled();
}

void SECTBTextButton::DrawFace(SECBtnDrawCache& cache, BOOL bCustomizeLook, int& x, int& y, int& cx, int& cy,
                               int nImage) {
  if (!ShowsCaption() || m_strCaption.IsEmpty()) {
    SECStdBtn::DrawFace(cache, bCustomizeLook, x, y, cx, cy, nImage);
    return;
  }
  HDC work = cache.m_dcWork.GetSafeHdc();
  HGDIOBJ hOldFont = ::SelectObject(work, g_hTextFont);
  TEXTMETRIC metrics{};
  ::GetTextMetrics(work, &metrics);
  // The image moves up by half the text's height; the caption goes under it.
  const int nShift = metrics.tmHeight / 2;
  const int nSavedY = m_cy;
  SECStdBtn::DrawFace(cache, bCustomizeLook, x, y, cx, cy, nImage);
  (void)nSavedY;
  if (cache.GetImage() != nullptr) {
    CRect place(x, y, x + cx, y + cy);
    ::FillRect(work, &place, ::GetSysColorBrush(COLOR_BTNFACE));
    y -= nShift;
    BlitImage(cache, x, y, cx, cy);
  }
  const int offset = (m_nStyle & TBBS_PRESSED) ? 1 : 0;
  CRect rectText(2 + offset, y + cy + offset, m_cx - 2 + offset, m_cy - 2 + offset);
  const int oldMode = ::SetBkMode(work, TRANSPARENT);
  const COLORREF oldColor = ::SetTextColor(work, ::GetSysColor(COLOR_BTNTEXT));
  ::DrawText(work, m_strCaption, m_strCaption.GetLength(), &rectText, DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  ::SetTextColor(work, oldColor);
  ::SetBkMode(work, oldMode);
  ::SelectObject(work, hOldFont);
}
