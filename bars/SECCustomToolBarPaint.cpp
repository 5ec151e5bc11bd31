// The customisable toolbar's layout (rows, sizes per docking state, hit testing) and painting.
#include "bars/SECBtnDrawCache.h"
#include "bars/SECCustomToolBar.h"

using brambolt::toolbar::LayoutItem;
using brambolt::toolbar::LayoutMetrics;
using brambolt::toolbar::LayoutRow;

namespace {
// The rebar messages and band record the bar keeps its band in step with (rebar-hosted bars).
constexpr UINT kRebarSetBandInfo = WM_USER + 6;
constexpr UINT kRebarGetBandCount = WM_USER + 12;
constexpr UINT kRebarGetBandInfo = WM_USER + 29;
constexpr UINT kRebarChild = 0x10;
constexpr UINT kRebarChildSize = 0x20;
struct RebarBandInfo {
  UINT cbSize;
  UINT fMask;
  UINT fStyle;
  COLORREF clrFore;
  COLORREF clrBack;
  LPSTR lpText;
  UINT cch;
  int iImage;
  HWND hwndChild;
  UINT cxMinChild;
  UINT cyMinChild;
  UINT cx;
  HBITMAP hbmBack;
  UINT wID;
};
}  // namespace

std::vector<LayoutItem> SECCustomToolBar::VisibleItems(std::vector<int>* pIndices) const {
  std::vector<LayoutItem> items;
  for (int i = 0; i < GetBtnCount(); ++i) {
    const SECStdBtn* pBtn = m_btns.GetAt(i);
    if (pBtn->GetStyle() & TBBS_HIDDEN) continue;
    items.push_back({pBtn->m_cx, pBtn->m_cy, pBtn->IsSeparator() != FALSE, (pBtn->GetStyle() & TBBS_WRAPPED) != 0});
    if (pIndices != nullptr) pIndices->push_back(i);
  }
  return items;
}

int SECCustomToolBar::WrapButtons(int nWidth, std::vector<LayoutRow>& rows) {
  return brambolt::toolbar::WrapButtons(VisibleItems(), nWidth, rows);
}

void SECCustomToolBar::BalanceRows(std::vector<LayoutRow>& rows) {
  brambolt::toolbar::BalanceRows(VisibleItems(), rows);
}

CSize SECCustomToolBar::WrapLayout(int nLength, BOOL bVertical) {
  std::vector<int> indices;
  std::vector<LayoutItem> items = VisibleItems(&indices);
  const LayoutMetrics metrics{GetButtonWidth(), GetButtonHeight(), m_nSepWidth};
  const brambolt::toolbar::LayoutSize size = brambolt::toolbar::WrapLayout(items, nLength, bVertical != FALSE, metrics);
  for (int i = 0; i < GetBtnCount(); ++i) {
    SECStdBtn* pBtn = m_btns.GetAt(i);
    pBtn->SetStyle(pBtn->GetStyle() & ~TBBS_WRAPPED);
  }
  for (size_t k = 0; k < indices.size(); ++k) {
    if (!items[k].wrap) continue;
    SECStdBtn* pBtn = m_btns.GetAt(indices[k]);
    pBtn->SetStyle(pBtn->GetStyle() | TBBS_WRAPPED);
  }
  return CSize(size.cx, size.cy);
}

CSize SECCustomToolBar::CalcLayout(DWORD dwMode, int nLength) {
  const BOOL bHorz = (dwMode & LM_HORZ) != 0;
  const BOOL bFloating = IsFloating();
  // What the borders and gripper take: the inside rectangle of an empty one.
  CRect rectBorders(0, 0, 0, 0);
  CalcInsideRect(rectBorders, bHorz);
  const CSize sizeBorders(-rectBorders.Width(), -rectBorders.Height());

  // A bar of its own row spans its dock bar; floating, it is laid out as any toolbar is (its
  // frame's width comes from the bar, so the bar taking the frame's width could never resize).
  int nSurround = -1;
  if ((GetExBarStyle() & CBRS_EX_OWN_ROW) && !bFloating) {
    CFrameWnd* pFrame = m_pDockSite;
    if (!bHorz && pFrame != nullptr) {
      for (UINT nDock : {AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT}) {
        CWnd* pDockBar = pFrame->GetControlBar(nDock);
        if (pDockBar != nullptr && pDockBar->GetSafeHwnd() != nullptr && pDockBar->IsWindowVisible()) {
          CRect rect;
          pDockBar->GetClientRect(&rect);
          nSurround = rect.Height();
          break;
        }
      }
    } else if (GetParent() != nullptr) {
      CRect rect;
      GetParent()->GetClientRect(&rect);
      nSurround = rect.Width();
    }
  }

  CSize size;
  std::vector<int> indices;
  if (VisibleItems(&indices).empty()) {
    size = CSize(GetButtonWidth() + sizeBorders.cx, GetButtonHeight() + sizeBorders.cy);
    if (nSurround > 0) (bHorz ? size.cx : size.cy) = nSurround;
  } else {
    if ((dwMode & LM_COMMIT) || bFloating) {
      // A floating bar asked for its docked shape (as a drag asks at its start, to show and
      // decide where it may dock) gets the shape it takes when it docks: one row along a top or
      // bottom side, one column along a left or right side.
      const BOOL bDockedShape = !(dwMode & LM_COMMIT) && (dwMode & (LM_HORZDOCK | LM_VERTDOCK));
      SetWndBtnsAsBtns((m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) != 0 && !bFloating);
      const BOOL bFixed = !(m_dwStyle & CBRS_SIZE_DYNAMIC) || (m_dwStyle & CBRS_SIZE_FIXED);
      if (nSurround > 0)
        WrapLayout(bHorz ? nSurround - sizeBorders.cx : nSurround - sizeBorders.cy, !bHorz);
      else if (bFixed)
        WrapLayout(bHorz ? 32767 : 0, FALSE);
      else if (dwMode & LM_MRUWIDTH)
        WrapLayout(static_cast<int>(m_nMRUWidth), FALSE);
      else if (bDockedShape)
        WrapLayout(bHorz ? 32767 : 0, FALSE);
      else if (nLength != -1) {
        const CSize wrapped = WrapLayout((dwMode & LM_LENGTHY) ? nLength - sizeBorders.cy : nLength - sizeBorders.cx,
                                         (dwMode & LM_LENGTHY) != 0);
        // A floating bar resized by its frame's edges keeps the width its rows took, as the
        // width it floats at from now on. The docked shapes a drag asks for at its start are
        // not floating ones: they leave that width alone, so a bar moved by its caption keeps
        // its shape.
        if (bFloating && (dwMode & LM_COMMIT) && !(dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
          m_nMRUWidth = static_cast<UINT>(std::max<LONG>(wrapped.cx, 0));
      }
      else if (bFloating)
        WrapLayout(static_cast<int>(m_nMRUWidth), FALSE);
      else
        WrapLayout(bHorz ? 32767 : 0, FALSE);
      indices.clear();
      VisibleItems(&indices);
    }

    // Rows from the wrap marks, from the inside rectangle's top-left.
    const int left = rectBorders.left;
    const int top = rectBorders.top;
    int x = left, y = top, right = left;
    size_t rowFirst = 0;
    for (size_t k = 0; k < indices.size(); ++k) {
      SECStdBtn* pBtn = m_btns.GetAt(indices[k]);
      pBtn->SetPos(x, y);
      x += pBtn->m_cx;
      right = std::max(right, x);
      const bool rowEnds = (pBtn->GetStyle() & TBBS_WRAPPED) || k + 1 == indices.size();
      if (!rowEnds) continue;
      int rowHeight = 0;
      for (size_t r = rowFirst; r <= k; ++r) rowHeight = std::max(rowHeight, m_btns.GetAt(indices[r])->m_cy);
      for (size_t r = rowFirst; r <= k; ++r) {
        SECStdBtn* pRowBtn = m_btns.GetAt(indices[r]);
        if ((pRowBtn->GetStyle() & SEC_TBBS_VCENTER) && pRowBtn->m_cy < rowHeight)
          pRowBtn->SetPos(pRowBtn->m_x, y + (rowHeight - pRowBtn->m_cy) / 2);
      }
      y += rowHeight;
      if (pBtn->IsSeparator() && k + 1 < indices.size()) y += 2 * m_nSepWidth / 3;
      x = left;
      rowFirst = k + 1;
    }
    size = CSize(right - left + sizeBorders.cx, y - top + sizeBorders.cy);
    if (nSurround > 0) (bHorz ? size.cx : size.cy) = std::max(bHorz ? size.cx : size.cy, nSurround);

    // A rebar-hosted bar keeps its caption buttons at the far end, never back over the button
    // before them (a row its buttons fill exactly, as a floating bar's).
    SECStdBtn* pLast = m_btns.GetAt(indices.back());
    if ((GetExBarStyle() & CBRS_EX_OWN_ROW) && pLast->m_nType == SECStdBtn::CaptionBtn) {
      if (bHorz)
        pLast->SetPos(std::max(pLast->m_x, size.cx - sizeBorders.cx + left - pLast->m_cx - 2), pLast->m_y);
      else
        pLast->SetPos(pLast->m_x, std::max(pLast->m_y, size.cy - sizeBorders.cy + top - pLast->m_cy - 2));
    }
  }

  if (dwMode & LM_HORZDOCK) {
    m_sizeHorzLayout = size;
    m_bHorzPending = FALSE;
  } else if (dwMode & LM_VERTDOCK) {
    m_sizeVertLayout = size;
    m_bVertPending = FALSE;
  } else {
    m_sizeFloatLayout = size;
    m_bMRUPending = FALSE;
  }
  if (bFloating) size -= CSize(2, 2);
  UpdateBandInfo(GetParent(), size);
  return size;
}

CSize SECCustomToolBar::CalcFixedLayout(BOOL /*bStretch*/, BOOL bHorz) {
  return CalcLayout(bHorz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK, -1);
}

CSize SECCustomToolBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  if (!(dwMode & LM_COMMIT)) {
    const BOOL bPending = (dwMode & LM_HORZDOCK)   ? m_bHorzPending
                          : (dwMode & LM_VERTDOCK) ? m_bVertPending
                          : (dwMode & LM_MRUWIDTH) ? m_bMRUPending
                                                   : FALSE;
    if (bPending) return CalcLayout(dwMode | LM_COMMIT, (dwMode & LM_VERTDOCK) ? 0 : 32767);
  }
  // Every other request is a toolbar's too: its rows, never a control bar's default size.
  return CalcLayout(dwMode, nLength);
}

int SECCustomToolBar::HitTest(CPoint point, CRect* pRect) const {
  std::vector<int> indices;
  VisibleItems(&indices);
  size_t rowFirst = 0;
  for (size_t k = 0; k < indices.size(); ++k) {
    const SECStdBtn* pBtn = m_btns.GetAt(indices[k]);
    if (!(pBtn->GetStyle() & TBBS_WRAPPED) && k + 1 < indices.size()) continue;
    int rowTop = INT_MAX, rowBottom = INT_MIN;
    for (size_t r = rowFirst; r <= k; ++r) {
      const CRect rect = m_btns.GetAt(indices[r])->GetRect();
      rowTop = std::min(rowTop, static_cast<int>(rect.top));
      rowBottom = std::max(rowBottom, static_cast<int>(rect.bottom));
    }
    if (point.y < rowTop) return -1;
    if (point.y < rowBottom) {
      for (size_t r = rowFirst; r <= k; ++r) {
        const SECStdBtn* pRowBtn = m_btns.GetAt(indices[r]);
        const CRect rect = pRowBtn->GetRect();
        if (!rect.PtInRect(point)) continue;
        if (pRowBtn->IsSeparator()) return -1;
        if (pRect != nullptr) *pRect = rect;
        return indices[r];
      }
    }
    rowFirst = k + 1;
  }
  return -1;
}

INT_PTR SECCustomToolBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  const INT_PTR nHit = SECControlBar::OnToolHitTest(point, pTI);
  if (nHit != -1) return nHit;
  const int nIndex = HitTest(point);
  if (nIndex < 0) return -1;
  return m_btns.GetAt(nIndex)->GetToolInfo(point, pTI);
}

void SECCustomToolBar::UpdateBandInfo(CWnd* pRebar, CSize size) {
  if (!(GetExBarStyle() & CBRS_EX_OWN_ROW) || pRebar == nullptr || pRebar->GetSafeHwnd() == nullptr) return;
  const int nBands = static_cast<int>(pRebar->SendMessage(kRebarGetBandCount));
  for (int i = 0; i < nBands; ++i) {
    RebarBandInfo band{};
    band.cbSize = sizeof(band);
    band.fMask = kRebarChild | kRebarChildSize;
    if (!pRebar->SendMessage(kRebarGetBandInfo, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&band))) continue;
    if (band.hwndChild != GetSafeHwnd()) continue;
    const bool heightDiffers = band.cyMinChild != static_cast<UINT>(size.cy);
    const bool widthDiffers = band.cxMinChild != static_cast<UINT>(size.cx);
    if (!heightDiffers && !widthDiffers) return;
    if (heightDiffers) {
      band.cyMinChild = static_cast<UINT>(size.cy);
      if (widthDiffers && size.cx >= 1) band.cxMinChild = static_cast<UINT>(size.cx);
    } else {
      band.cxMinChild = static_cast<UINT>(size.cx);
    }
    band.fMask = kRebarChildSize;
    pRebar->SendMessage(kRebarSetBandInfo, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&band));
    return;
  }
}

void SECCustomToolBar::DoPaint(CDC* pDC) {
  SECControlBar::DoPaint(pDC);
  if (GetBtnCount() == 0) return;
  // The work surface must hold the widest and tallest visible button, whatever the bar thinks.
  int cx = m_nMaxBtnWidth, cy = GetButtonHeight();
  for (int i = 0; i < GetBtnCount(); ++i) {
    cx = std::max(cx, m_btns.GetAt(i)->m_cx);
    cy = std::max(cy, m_btns.GetAt(i)->m_cy);
  }
  SECBtnDrawCache* pCache = GetDrawCache();
  if (!pCache->Prepare(pDC, cx, cy)) return;
  for (int i = 0; i < GetBtnCount(); ++i) {
    SECStdBtn* pBtn = m_btns.GetAt(i);
    if (!(pBtn->GetStyle() & TBBS_HIDDEN)) pBtn->Draw(*pDC, *pCache);
  }
  pCache->SelectImage(nullptr);
  pCache->Release();
}

void SECCustomToolBar::DrawBorders(CDC* pDC, CRect& rect) {
  if (!(m_dwStyle & CBRS_BORDER_ANY)) return;
  if (IsCoolLook()) {
    if (m_pDockContext == nullptr) {
      // A bar that can neither dock nor float: an etched line along its top.
      pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, ::GetSysColor(COLOR_BTNSHADOW));
      pDC->FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
      rect.top += 2;
    }
  } else {
    rect.right -= 1;
    rect.bottom -= 1;
  }
  SECControlBar::DrawBorders(pDC, rect);
}

int SECCustomToolBar::AddGripperExtent(CSize& size, BOOL bHorz) const {
  int nExtent = SECControlBar::AddGripperExtent(size, bHorz);
  if (GetExBarStyle() & CBRS_EX_GRIPPER_CLOSE) {
    (bHorz ? size.cx : size.cy) += 2;
    nExtent += 2;
  }
  return nExtent;
}
