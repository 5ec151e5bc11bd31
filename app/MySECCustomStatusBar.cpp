// The main frame's status bar: owner-drawn panes with their own colours, alignment, bitmap and
// cursor; child windows placed in panes; the progress bar in pane 0 behind a label.
#include "app/MySECCustomStatusBar.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(MySECCustomStatusBar, SECCustomStatusBar)

BEGIN_MESSAGE_MAP(MySECCustomStatusBar, SECCustomStatusBar)
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_WM_SIZE()
  ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

namespace {

constexpr DWORD kOwnerDrawStyle = 0x1000;

// The control's borders: horizontal, vertical and between panes.
struct Borders {
  int cx = 0, cy = 0, gap = 0;
};

Borders BordersOf(CWnd* pBar) {
  int values[3] = {0, 0, 0};
  if (pBar->m_hWnd != nullptr) pBar->DefWindowProc(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(values));
  return {values[0], values[1], values[2]};
}

CSize BitmapSize(CBitmap* pBitmap) {
  BITMAP bm{};
  if (pBitmap == nullptr || pBitmap->GetSafeHandle() == nullptr || pBitmap->GetBitmap(&bm) == 0) return CSize(0, 0);
  return CSize(bm.bmWidth, bm.bmHeight);
}

}  // namespace

MySECCustomStatusBar::MySECCustomStatusBar() = default;

MySECCustomStatusBar::~MySECCustomStatusBar() {
  if (m_pProgress != nullptr && m_pProgress->m_hWnd != nullptr) m_pProgress->DestroyWindow();
}

BOOL MySECCustomStatusBar::PreCreateWindow(CREATESTRUCT& cs) {
  cs.style |= kOwnerDrawStyle;
  return SECCustomStatusBar::PreCreateWindow(cs);
}

BOOL MySECCustomStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  if (!SECCustomStatusBar::SetIndicators(lpIDArray, nIDCount)) return FALSE;
  const size_t count = static_cast<size_t>(GetPaneCount());
  m_pPaneData.assign(count, PaneDrawInfo{});
  m_arrPaneWnds.assign(count, nullptr);
  m_arrPaneWndFlags.assign(count, 0);
  m_records.clear();
  for (int i = 0; i < GetPaneCount(); ++i) SetPaneStyle(i, GetPaneStyle(i) | SBT_OWNERDRAW);
  return TRUE;
}

// ---- drawing ----

void MySECCustomStatusBar::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
  DrawPane(pDC, static_cast<int>(lpDrawItemStruct->itemID), CRect(lpDrawItemStruct->rcItem));
}

void MySECCustomStatusBar::DrawPane(CDC* pDC, int nIndex, const CRect& rect) {
  if (!ValidPane(nIndex) || (m_pProgress != nullptr && nIndex != 0)) return;
  if ((GetPaneStyle(nIndex) & SBPS_DISABLED) != 0) return;
  const PaneDrawInfo& info = m_pPaneData[static_cast<size_t>(nIndex)];
  if ((info.dwFlags & kBitmap) != 0 && info.pBitmap != nullptr) {
    CDC memDC;
    memDC.CreateCompatibleDC(pDC);
    CBitmap* pOld = memDC.SelectObject(info.pBitmap);
    pDC->BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(pOld);
    return;
  }
  const CString strText = GetPaneText(nIndex);
  const int nSaved = pDC->SaveDC();
  UINT nOptions = ETO_CLIPPED;
  pDC->SetBkMode(TRANSPARENT);
  if ((info.dwFlags & kBackColor) != 0) {
    pDC->SetBkMode(OPAQUE);
    pDC->SetBkColor(info.clrBack);
    nOptions |= ETO_OPAQUE;
  }
  if ((info.dwFlags & kTextColor) != 0) pDC->SetTextColor(info.clrText);
  const UINT nAlign = (info.dwFlags & kAlign) != 0 ? info.nTextAlign : TA_LEFT;
  int x = rect.left + 1;
  if (nAlign == TA_RIGHT)
    x = rect.right - 1;
  else if (nAlign == TA_CENTER)
    x = rect.left + rect.Width() / 2;
  pDC->SetTextAlign(nAlign == TA_RIGHT || nAlign == TA_CENTER ? nAlign : TA_LEFT);
  const int y = rect.top + (rect.Height() - pDC->GetTextExtent(strText).cy) / 2;
  pDC->ExtTextOut(x, y, nOptions, &rect, strText, nullptr);
  pDC->RestoreDC(nSaved);
}

// ---- pane descriptions ----

const MySECCustomStatusBar::PaneDrawInfo* MySECCustomStatusBar::GetPaneDrawInfo(int nIndex) const {
  return ValidPane(nIndex) ? &m_pPaneData[static_cast<size_t>(nIndex)] : nullptr;
}

BOOL MySECCustomStatusBar::GetPaneInfoEx(PaneDescription& desc) const {
  if (!ValidPane(desc.nIndex)) return FALSE;
  GetPaneInfo(desc.nIndex, desc.nID, desc.nStyle, desc.cxWidth);
  desc.strText = GetPaneText(desc.nIndex);
  const PaneDrawInfo& info = m_pPaneData[static_cast<size_t>(desc.nIndex)];
  desc.clrText = info.clrText;
  desc.clrBack = info.clrBack;
  desc.pBitmap = info.pBitmap;
  desc.hCursor = info.hCursor;
  desc.nTextAlign = info.nTextAlign;
  desc.dwMask = kMaskID | kMaskStyle | kMaskWidth | kMaskText | info.dwFlags;
  return TRUE;
}

BOOL MySECCustomStatusBar::SetPaneInfoEx(const PaneDescription& desc, BOOL bAdjustHeight) {
  const int nIndex = desc.nIndex;
  if (!ValidPane(nIndex)) return FALSE;
  PaneDrawInfo& info = m_pPaneData[static_cast<size_t>(nIndex)];
  const DWORD dwMask = desc.dwMask;
  UINT nID = 0, nStyle = 0;
  int cxWidth = 0;
  GetPaneInfo(nIndex, nID, nStyle, cxWidth);
  const int cxOld = cxWidth;
  const CSize sizeBitmap = (dwMask & kBitmap) != 0 ? BitmapSize(desc.pBitmap) : CSize(0, 0);
  if ((dwMask & kMaskID) != 0) nID = desc.nID;
  // The pane stays owner-drawn whatever style it is given.
  if ((dwMask & kMaskStyle) != 0) nStyle = desc.nStyle | SBT_OWNERDRAW;
  if ((dwMask & kMaskWidth) != 0 && desc.cxWidth > 0)
    cxWidth = desc.cxWidth;
  else if (sizeBitmap.cx > 0)
    cxWidth = sizeBitmap.cx;
  else if ((dwMask & kMaskWidth) != 0)
    cxWidth = desc.cxWidth;
  SetPaneInfo(nIndex, nID, nStyle, cxWidth);
  if (bAdjustHeight && sizeBitmap.cy > 0) {
    SendMessage(SB_SETMINHEIGHT, static_cast<WPARAM>(sizeBitmap.cy + 2 * BordersOf(this).cy));
    ResizeParent();
  }
  if ((dwMask & kMaskText) != 0) SetPaneText(nIndex, desc.strText);
  if ((dwMask & kTextColor) != 0) info.clrText = desc.clrText;
  if ((dwMask & kBackColor) != 0) info.clrBack = desc.clrBack;
  if ((dwMask & kBitmap) != 0) info.pBitmap = desc.pBitmap;
  if ((dwMask & kCursor) != 0) {
    info.hCursor = desc.hCursor;
    SetPaneCursor(nIndex, desc.hCursor, kShowCursor);
  }
  if ((dwMask & kAlign) != 0) info.nTextAlign = desc.nTextAlign;
  info.dwFlags |= dwMask & kDrawFlags;
  if (cxWidth != cxOld) LayoutPaneWindows();
  if (m_hWnd != nullptr) {
    CRect rect;
    GetItemRect(nIndex, &rect);
    InvalidateRect(&rect);
  }
  return TRUE;
}

// ---- progress in pane 0 ----

BOOL MySECCustomStatusBar::InitProgress(LPCTSTR lpszLabel, UINT nLower, UINT nUpper, BOOL bSetPos,
                                        DWORD dwProgressStyle) {
  if (m_hWnd == nullptr || GetPaneCount() == 0) return FALSE;
  const bool bExisted = m_pProgress != nullptr;
  if (!bExisted) {
    auto pProgress = std::make_unique<SECProgressCtrl>();
    if (!pProgress->Create(WS_CHILD, CRect(0, 0, 0, 0), this, kProgressID, dwProgressStyle)) return FALSE;
    m_pProgress = std::move(pProgress);
  } else {
    m_pProgress->SetBarStyle(dwProgressStyle);
  }
  ShowPaneWindows(FALSE);
  if (lpszLabel != nullptr && *lpszLabel != '\0') {
    if (m_pSavedPane == nullptr) {
      auto saved = std::make_unique<PaneDescription>();
      saved->nIndex = 0;
      GetPaneInfoEx(*saved);
      // The alignment only when the pane had one, so that it comes back as it was.
      saved->dwMask = kMaskStyle | kMaskWidth | kMaskText | (saved->dwMask & kAlign);
      m_pSavedPane = std::move(saved);
    }
    const CString strLabel = CString(lpszLabel) + " ";
    m_cxProgressLabel = TextWidth(strLabel);
    UINT nID = 0, nStyle = 0;
    int cxWidth = 0;
    GetPaneInfo(0, nID, nStyle, cxWidth);
    SetPaneInfo(0, nID, nStyle, m_cxProgressLabel);
    SetPaneText(0, strLabel);
  }
  PlaceProgress();
  m_bProgressPainted = false;
  if (!bExisted) m_pProgress->ShowWindow(SW_SHOWNA);
  m_pProgress->SetRange(nLower, nUpper);
  if (bSetPos) m_pProgress->SetPos(static_cast<int>(nLower), TRUE);
  Invalidate();
  return TRUE;
}

void MySECCustomStatusBar::SetProgressPos(int nPos) {
  if (m_pProgress == nullptr) return;
  const DWORD dwNow = ::GetTickCount();
  const bool bPaint = !m_bProgressPainted || dwNow - m_dwProgressPainted >= kProgressPaintMs;
  m_pProgress->SetPos(nPos, bPaint);
  if (bPaint) {
    m_bProgressPainted = true;
    m_dwProgressPainted = dwNow;
  }
}

void MySECCustomStatusBar::EndProgress() {
  if (m_pProgress != nullptr) {
    if (m_pProgress->m_hWnd != nullptr) m_pProgress->DestroyWindow();
    m_pProgress.reset();
  }
  m_cxProgressLabel = 0;
  if (m_pSavedPane != nullptr) {
    const std::unique_ptr<PaneDescription> saved = std::move(m_pSavedPane);
    SetPaneInfoEx(*saved);
  }
  ShowPaneWindows(TRUE);
  if (m_hWnd != nullptr) Invalidate();
}

void MySECCustomStatusBar::PlaceProgress() {
  if (m_pProgress == nullptr || m_pProgress->m_hWnd == nullptr) return;
  CRect rect;
  GetItemRect(0, &rect);
  const Borders borders = BordersOf(this);
  if (m_cxProgressLabel > 0) rect.left += m_cxProgressLabel + 2 * (borders.cx + borders.gap) + 1;
  rect.left = std::min(rect.left, rect.right);
  m_pProgress->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                            SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- pane windows ----

BOOL MySECCustomStatusBar::SetPaneWindow(int nIndex, CWnd* pWnd, UINT nFlags) {
  if (!ValidPane(nIndex)) return FALSE;
  m_arrPaneWnds[static_cast<size_t>(nIndex)] = pWnd;
  m_arrPaneWndFlags[static_cast<size_t>(nIndex)] = pWnd != nullptr ? nFlags : 0;
  LayoutPaneWindows();
  return TRUE;
}

CWnd* MySECCustomStatusBar::GetPaneWindow(int nIndex) const {
  return ValidPane(nIndex) ? m_arrPaneWnds[static_cast<size_t>(nIndex)] : nullptr;
}

UINT MySECCustomStatusBar::GetPaneWindowFlags(int nIndex) const {
  return ValidPane(nIndex) ? m_arrPaneWndFlags[static_cast<size_t>(nIndex)] : 0;
}

void MySECCustomStatusBar::ShowPaneWindows(BOOL bShow) {
  for (CWnd* pWnd : m_arrPaneWnds)
    if (pWnd != nullptr && pWnd->m_hWnd != nullptr) pWnd->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
}

void MySECCustomStatusBar::LayoutPaneWindows() {
  if (m_hWnd == nullptr) return;
  for (int i = 0; i < static_cast<int>(m_arrPaneWnds.size()); ++i) {
    CWnd* pWnd = m_arrPaneWnds[static_cast<size_t>(i)];
    if (pWnd == nullptr || pWnd->m_hWnd == nullptr) continue;
    const UINT nFlags = m_arrPaneWndFlags[static_cast<size_t>(i)];
    const int inset = (nFlags & kInsetOnePixel) != 0 ? 1 : 0;
    CRect pane, own;
    GetItemRect(i, &pane);
    pWnd->GetWindowRect(&own);
    CRect rect = pane;
    if ((nFlags & kKeepWidth) != 0) {
      rect.right = rect.left + own.Width();
    } else {
      rect.DeflateRect(inset, 0);
    }
    if ((nFlags & kKeepHeight) != 0) {
      // A window of its own height sits in the middle of the pane.
      rect.top = pane.top + (pane.Height() - own.Height()) / 2;
      rect.bottom = rect.top + own.Height();
    } else {
      rect.DeflateRect(0, inset);
    }
    pWnd->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void MySECCustomStatusBar::FitPanesToContents() {
  for (int i = 0; i < GetPaneCount(); ++i) {
    UINT nID = 0, nStyle = 0;
    int cxWidth = 0;
    GetPaneInfo(i, nID, nStyle, cxWidth);
    const PaneDrawInfo& info = m_pPaneData[static_cast<size_t>(i)];
    const bool bBitmap = (info.dwFlags & kBitmap) != 0 && info.pBitmap != nullptr;
    SetPaneInfo(i, nID, nStyle, bBitmap ? BitmapSize(info.pBitmap).cx : TextWidth(GetPaneText(i)));
  }
  LayoutPaneWindows();
  ResizeParent();
}

int MySECCustomStatusBar::TextWidth(const CString& strText) const {
  CClientDC dc(nullptr);
  const HFONT hFont = m_hWnd != nullptr ? reinterpret_cast<HFONT>(const_cast<MySECCustomStatusBar*>(this)->SendMessage(WM_GETFONT)) : nullptr;
  const HGDIOBJ hOld = hFont != nullptr ? ::SelectObject(dc.GetSafeHdc(), hFont) : nullptr;
  const int cx = dc.GetTextExtent(strText).cx;
  if (hOld != nullptr) ::SelectObject(dc.GetSafeHdc(), hOld);
  return cx;
}

// ---- messages ----

void MySECCustomStatusBar::LayoutChildren() {
  if (m_pProgress != nullptr)
    PlaceProgress();
  else
    LayoutPaneWindows();
}

LRESULT MySECCustomStatusBar::OnSizeParent(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = SECCustomStatusBar::OnSizeParent(wParam, lParam);
  LayoutChildren();
  return result;
}

void MySECCustomStatusBar::OnSize(UINT nType, int cx, int cy) {
  SECCustomStatusBar::OnSize(nType, cx, cy);
  LayoutChildren();
}

LRESULT MySECCustomStatusBar::OnSetText(WPARAM wParam, LPARAM lParam) {
  // Menu prompts and the like wait while the progress label holds pane 0.
  if (m_pProgress != nullptr) return 0;
  return SECCustomStatusBar::OnSetText(wParam, lParam);
}
