// The plain toolbar button: its mouse states, its saved form (none) and its drawing through the
// bar's drawing cache.
#include "bars/SECStdBtn.h"

#include "bars/SECBmpMgr.h"
#include "bars/SECBtnDrawCache.h"
#include "bars/SECCustomToolBar.h"
#include "gdi/ClassicLook.h"

namespace {
BOOL g_bCommandInProgress = FALSE;
}  // namespace

BOOL SECIsCommandInProgress() { return g_bCommandInProgress; }
void SECSetCommandInProgress(BOOL bInProgress) { g_bCommandInProgress = bInProgress; }

const SECButtonClass SECStdBtn::s_btnClass = {&SECCreateButtonOf<SECStdBtn>};

SECStdBtn::SECStdBtn() = default;

void SECStdBtn::SetPos(int x, int y) {
  m_x = x;
  m_y = y;
}

void SECStdBtn::Invalidate(BOOL bErase) const {
  if (m_pToolBar == nullptr || m_pToolBar->GetSafeHwnd() == nullptr) return;
  CRect rect = GetRect();
  m_pToolBar->InvalidateRect(&rect, bErase);
}

void SECStdBtn::Init(SECCustomToolBar* pToolBar, const UINT_PTR* /*pParams*/) {
  m_pToolBar = pToolBar;
  AdjustSize();
}

void SECStdBtn::SetOwnerBar(SECCustomToolBar* pToolBar) {
  m_pToolBar = pToolBar;
  AdjustSize();
}

void SECStdBtn::ChangeStyle(UINT nRemove, UINT nAdd) {
  const UINT nStyle = (GetStyle() & ~nRemove) | nAdd;
  if (nStyle == GetStyle()) return;
  SetStyle(nStyle);
  Invalidate();
}

int SECStdBtn::IndexOnBar() const { return m_pToolBar != nullptr ? m_pToolBar->ButtonToIndex(this) : -1; }

BOOL SECStdBtn::BtnPressed(CPoint /*point*/) {
  if (m_nStyle & TBBS_DISABLED) return FALSE;
  if (m_nStyle & TBBS_DROPDOWN) {
    SendDropDown(TBBS_PRESSED);
    return FALSE;
  }
  ChangeStyle(0, TBBS_PRESSED);
  return TRUE;
}

void SECStdBtn::SendDropDown(UINT nPressedBits) {
  ChangeStyle(0, nPressedBits);
  if (m_pToolBar != nullptr) m_pToolBar->UpdateWindow();
  SECSetCommandInProgress(TRUE);
  NotifyOwner(SEC_TBN_DROPDOWN, 0, 0);
  SECSetCommandInProgress(FALSE);
  ChangeStyle(nPressedBits, 0);
}

void SECStdBtn::BtnMouseMove(CPoint point) {
  if (GetRect().PtInRect(point))
    ChangeStyle(0, TBBS_PRESSED);
  else
    ChangeStyle(TBBS_PRESSED, 0);
}

void SECStdBtn::BtnCancel() { ChangeStyle(TBBS_PRESSED, 0); }

UINT SECStdBtn::BtnReleased(CPoint point) {
  ChangeStyle(TBBS_PRESSED, 0);
  if (!GetRect().PtInRect(point)) return 0;
  if ((m_nStyle & TBBS_CHECKBOX) && !(m_nStyle & TBBS_DISABLED) && m_pToolBar != nullptr) {
    const BOOL bChecked = (m_nStyle & TBBS_CHECKED) != 0;
    const SECBtnStyleChange change{bChecked ? 0u : TBBS_CHECKED, TBBS_CHECKED | TBBS_INDETERMINATE};
    m_pToolBar->SetCommandCheck(m_nID, 1, change, TRUE);
  }
  return m_nID;
}

INT_PTR SECStdBtn::GetToolInfo(CPoint /*point*/, TOOLINFO* pTI) const {
  if (pTI != nullptr && m_pToolBar != nullptr) {
    pTI->hwnd = m_pToolBar->GetSafeHwnd();
    pTI->rect = GetRect();
    pTI->uId = m_nID;
    pTI->lpszText = LPSTR_TEXTCALLBACK;
  }
  return m_nID;
}

void SECStdBtn::ApplyStyleChange(int nCode, const SECBtnStyleChange& change) {
  if (nCode != 1) return;
  ChangeStyle(change.nMask, change.nValue & change.nMask);
}

void SECStdBtn::AdjustSize() {
  if (m_pToolBar == nullptr) return;
  if (IsSeparator()) {
    m_cx = m_pToolBar->GetSeparatorWidth();
    m_cy = m_pToolBar->GetSeparatorHeight();
  } else {
    m_cx = m_pToolBar->GetButtonWidth();
    m_cy = m_pToolBar->GetButtonHeight();
  }
  m_pToolBar->RaiseWidestButton(m_cx);
}

void SECStdBtn::GetExtraData(int& nCount, BYTE*& pData) const {
  nCount = 0;
  pData = nullptr;
}

void SECStdBtn::SetExtraData(int /*nCount*/, const BYTE* /*pData*/) {}

LRESULT SECStdBtn::NotifyOwner(int nCode, LPARAM lParam1, LPARAM lParam2) const {
  if (m_pToolBar == nullptr || m_pToolBar->GetSafeHwnd() == nullptr) return 0;
  CWnd* pOwner = m_pToolBar->GetOwnerWnd();
  if (pOwner == nullptr) return 0;
  SECBtnNotify notify{};
  notify.hdr.hwndFrom = m_pToolBar->GetSafeHwnd();
  notify.hdr.idFrom = static_cast<UINT_PTR>(m_pToolBar->GetDlgCtrlID());
  notify.hdr.code = static_cast<UINT>(nCode);
  notify.nID = m_nID;
  notify.nIndex = IndexOnBar();
  notify.lParam1 = lParam1;
  notify.lParam2 = lParam2;
  return pOwner->SendMessage(WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
}

// ---- drawing ----

UINT SECStdBtn::FaceLook(BOOL bCustomizeLook) const {
  UINT look = 0;
  const BOOL bCool = m_pToolBar != nullptr && m_pToolBar->IsCoolLook();
  if (bCool) look |= brambolt::kToolFlat;
  if (bCustomizeLook) return look;
  // A checked face is sunken; its dither is the cache's own (DrawChecked).
  if (m_nStyle & (TBBS_PRESSED | TBBS_CHECKED)) look |= brambolt::kToolPressed;
  if ((m_nStyle & SEC_TBBS_HOT) && bCool) look |= brambolt::kToolHot;
  if (m_nStyle & TBBS_DISABLED) look |= brambolt::kToolDisabled;
  return look;
}

void SECStdBtn::Draw(CDC& dc, SECBtnDrawCache& cache) {
  CRect rect = GetRect();
  if (!dc.RectVisible(&rect)) return;
  if (IsSeparator()) {
    DrawSeparator(dc);
    return;
  }
  DrawImage(cache);
  DrawState(cache);
  DrawHot(cache);
  DrawSelection(cache);
  Blit(dc, cache);
}

BOOL SECStdBtn::DrawImage(SECBtnDrawCache& cache) {
  SECBmpMgr* pBmpMgr = m_pToolBar != nullptr ? m_pToolBar->GetBmpMgr() : nullptr;
  HBITMAP hbm = nullptr;
  UINT nImage = 0;
  if (pBmpMgr == nullptr || !pBmpMgr->GetBitmap(m_nID, hbm, nImage)) {
    cache.SelectImage(nullptr);
    return FALSE;
  }
  m_nImage = static_cast<int>(nImage);
  cache.SelectImage(hbm);
  return TRUE;
}

void SECStdBtn::DrawFace(SECBtnDrawCache& cache, BOOL bCustomizeLook, int& x, int& y, int& cx, int& cy, int nImage) {
  const CRect face(0, 0, m_cx, m_cy);
  const int offset = brambolt::DrawToolButtonFace(cache.m_dcWork.GetSafeHdc(), face, FaceLook(bCustomizeLook));
  cx = m_pToolBar != nullptr ? m_pToolBar->GetImageWidth() : 16;
  cy = m_pToolBar != nullptr ? m_pToolBar->GetImageHeight() : 15;
  x = (m_cx - cx) / 2 + offset;
  y = (m_cy - cy) / 2 + offset;
  if (cache.GetImage() != nullptr) BlitImage(cache, x, y, cx, cy);
  (void)nImage;
}

void SECStdBtn::BlitImage(SECBtnDrawCache& cache, int x, int y, int cx, int cy) {
  // The image's face-coloured background lets the face (or the dither) show.
  ::TransparentBlt(cache.m_dcWork.GetSafeHdc(), x, y, cx, cy, cache.m_dcImage.GetSafeHdc(), m_nImage * cx, 0, cx, cy,
                   ::GetSysColor(COLOR_BTNFACE));
}

void SECStdBtn::DrawDisabled(SECBtnDrawCache& cache, int x, int y, int cx, int cy) {
  if (cache.GetImage() == nullptr) return;
  // Repaint the image's place, then the image as an emboss.
  CRect place(x, y, x + cx, y + cy);
  ::FillRect(cache.m_dcWork.GetSafeHdc(), &place, ::GetSysColorBrush(COLOR_BTNFACE));
  cache.MakeMask(m_nImage * cx, 0, cx, cy);
  cache.DrawMaskEmbossed(x, y, cx, cy);
}

void SECStdBtn::FillDither(SECBtnDrawCache& cache) const {
  // Inside the edge, which is two pixels wide.
  HDC work = cache.m_dcWork.GetSafeHdc();
  HGDIOBJ oldBrush = ::SelectObject(work, cache.m_hDitherBrush);
  ::PatBlt(work, 2, 2, m_cx - 4, m_cy - 4, PATCOPY);
  ::SelectObject(work, oldBrush);
}

void SECStdBtn::DrawChecked(SECBtnDrawCache& cache, int x, int y, int cx, int cy) {
  FillDither(cache);
  if (cache.GetImage() != nullptr) BlitImage(cache, x, y, cx, cy);
}

void SECStdBtn::DrawIndeterminate(SECBtnDrawCache& cache, int x, int y, int cx, int cy) {
  FillDither(cache);
  if (cache.GetImage() == nullptr) return;
  cache.MakeMask(m_nImage * cx, 0, cx, cy);
  cache.DrawMaskEmbossed(x, y, cx, cy);
}

void SECStdBtn::DrawState(SECBtnDrawCache& cache) {
  int x = 0, y = 0, cx = 0, cy = 0;
  const BOOL bCustomize = m_pToolBar != nullptr && m_pToolBar->InCustomizeMode();
  DrawFace(cache, bCustomize, x, y, cx, cy, m_nImage);
  if (bCustomize || (m_nStyle & TBBS_PRESSED)) return;
  if (m_nStyle & TBBS_DISABLED)
    DrawDisabled(cache, x, y, cx, cy);
  else if (m_nStyle & TBBS_CHECKED)
    DrawChecked(cache, x, y, cx, cy);
  else if (m_nStyle & TBBS_INDETERMINATE)
    DrawIndeterminate(cache, x, y, cx, cy);
}

void SECStdBtn::DrawHot(SECBtnDrawCache& cache) {
  if (m_pToolBar == nullptr || !m_pToolBar->IsCoolLook()) return;
  if (!(m_pToolBar->GetExBarStyle() & CBRS_EX_COMMANDBAR_EXTRA) || cache.GetImage() == nullptr) return;
  if (m_nStyle & (TBBS_DISABLED | TBBS_CHECKED | TBBS_INDETERMINATE)) return;
  const int cx = m_pToolBar->GetImageWidth();
  const int cy = m_pToolBar->GetImageHeight();
  const int offset = (m_nStyle & TBBS_PRESSED) ? 1 : 0;
  BlitImage(cache, (m_cx - cx) / 2 + offset, (m_cy - cy) / 2 + offset, cx, cy);
}

void SECStdBtn::DrawSelectFrame(CDC& dc, const CRect& rect) {
  dc.DrawDragRect(&rect, CSize(3, 3), nullptr, CSize(0, 0));
}

void SECStdBtn::DrawSelection(SECBtnDrawCache& cache) {
  if (m_nStyle & SEC_TBBS_SELECTED) DrawSelectFrame(cache.m_dcWork, CRect(0, 0, m_cx, m_cy));
}

void SECStdBtn::Blit(CDC& dc, SECBtnDrawCache& cache) {
  dc.BitBlt(m_x, m_y, m_cx, m_cy, &cache.m_dcWork, 0, 0, SRCCOPY);
}

BOOL SECStdBtn::DrawSeparator(CDC& dc) {
  if (!IsSeparator()) return FALSE;
  if (m_pToolBar == nullptr || !m_pToolBar->IsCoolLook() || (m_nStyle & TBBS_WRAPPED)) return TRUE;
  CRect rect = GetRect();
  if (!(m_pToolBar->GetExBarStyle() & CBRS_EX_COMMANDBAR_EXTRA)) dc.FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
  brambolt::DrawToolSeparator(dc.GetSafeHdc(), rect, !m_pToolBar->IsVertical(), true);
  return TRUE;
}
