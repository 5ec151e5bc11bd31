// The colour well: grid geometry, the palette of cells, painting, mouse and keyboard choice,
// the "&Other..." button with its colour dialog and custom cell, and the popup form.
#include "widgets/SECColorWell.h"

#include "widgets/SECWellButton.h"

namespace kelpwood::foundation {

IMPLEMENT_DYNAMIC(SECOtherButton, CButton)
IMPLEMENT_DYNAMIC(SECColorWell, CWnd)
IMPLEMENT_DYNAMIC(SECPopupColorWell, SECColorWell)

BEGIN_MESSAGE_MAP(SECOtherButton, CButton)
  ON_WM_KILLFOCUS()
  ON_WM_GETDLGCODE()
  ON_WM_KEYDOWN()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(SECColorWell, CWnd)
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_COMMAND(SEC_IDC_OTHER_BUTTON, OnOther)
  ON_WM_KEYDOWN()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_CTLCOLOR()
  ON_WM_GETDLGCODE()
  ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(SECPopupColorWell, SECColorWell)
  ON_WM_KEYDOWN()
  ON_WM_KEYUP()
  ON_WM_LBUTTONDOWN()
  ON_WM_KILLFOCUS()
  ON_COMMAND(SEC_IDC_OTHER_BUTTON, OnOtherCommand)
END_MESSAGE_MAP()

namespace {

constexpr DWORD kRaisedBorder = 0x0001;  // the well's own style bit: wider margins, raised border
constexpr int kCellGap = 2;

// The colours of the grid when the stock palette gives none.
constexpr COLORREF kDefaultColors[20] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),   RGB(0, 0, 128),
    RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192), RGB(192, 220, 192), RGB(166, 202, 240),
    RGB(255, 251, 240), RGB(160, 160, 164), RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),
    RGB(255, 255, 0),   RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255)};

bool KeyHeld(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }

bool IsDialog(const CWnd* pWnd) {
  char name[16] = {};
  return pWnd != nullptr && ::GetClassName(pWnd->m_hWnd, name, sizeof name) > 0 && std::strcmp(name, "#32770") == 0;
}

}  // namespace

// ---- the "&Other..." button ----

void SECOtherButton::OnKillFocus(CWnd* pNewWnd) {
  Default();
  auto* pPopup = DYNAMIC_DOWNCAST(SECPopupColorWell, GetParent());
  if (pPopup != nullptr && (pNewWnd == nullptr || pNewWnd->m_hWnd != pPopup->m_hWnd)) pPopup->Close();
}

UINT SECOtherButton::OnGetDlgCode() { return DLGC_BUTTON | DLGC_WANTTAB; }

void SECOtherButton::OnKeyDown(UINT nChar, UINT, UINT) {
  CWnd* pWell = GetParent();
  const bool bPopup = DYNAMIC_DOWNCAST(SECPopupColorWell, pWell) != nullptr;
  const bool bArrow = nChar == VK_LEFT || nChar == VK_RIGHT || nChar == VK_UP || nChar == VK_DOWN;
  if (bPopup && (nChar == VK_TAB || bArrow)) {
    pWell->SetFocus();
    return;
  }
  if (!bPopup && nChar == VK_TAB && pWell != nullptr) {
    if (KeyHeld(VK_SHIFT)) {
      pWell->SetFocus();
    } else if (CWnd* pDialog = pWell->GetParent(); pDialog != nullptr) {
      HWND hNext = ::GetNextDlgTabItem(pDialog->m_hWnd, pWell->m_hWnd, FALSE);
      if (hNext != nullptr) ::SetFocus(hNext);
    }
    return;
  }
  Default();
}

// ---- the well ----

SECColorWell::SECColorWell() { m_brushFace.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)); }

SECColorWell::~SECColorWell() { delete m_pOtherButton; }

void SECColorWell::SetGridSize() {
  m_nCols = 4;
  m_nRows = 5;
}

void SECColorWell::Reset() {
  m_cxCell = m_cyCell = m_cyButton = 0;
  m_nSelCol = m_nSelRow = 0;
  m_cxMargin = m_cyMargin = 2;
  m_bCustomShown = FALSE;
  if (m_pOtherButton != nullptr) {
    if (m_pOtherButton->m_hWnd != nullptr) m_pOtherButton->DestroyWindow();
    delete m_pOtherButton;
    m_pOtherButton = nullptr;
  }
  m_palette.DeleteObject();
}

void SECColorWell::CreateGridPalette() {
  const int nCells = m_nRows * m_nCols;
  std::vector<PALETTEENTRY> entries(static_cast<size_t>(nCells) + 1);
  auto* pStock = static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE));
  const UINT nStock = pStock != nullptr ? ::GetPaletteEntries(pStock, 0, static_cast<UINT>(nCells), entries.data()) : 0;
  if (nStock == 0) {
    for (int i = 0; i < nCells; ++i) {
      const COLORREF clr = kDefaultColors[i % 20];
      entries[static_cast<size_t>(i)] = {GetRValue(clr), GetGValue(clr), GetBValue(clr), 0};
    }
  }
  ArrangeColors(entries.data(), nCells, nCells);
  entries[static_cast<size_t>(nCells)] = {0, 0, 0, 0};  // the custom cell starts black
  std::vector<BYTE> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(nCells));
  auto* pLog = reinterpret_cast<LOGPALETTE*>(block.data());
  pLog->palVersion = 0x300;
  pLog->palNumEntries = static_cast<WORD>(nCells + 1);
  std::memcpy(pLog->palPalEntry, entries.data(), entries.size() * sizeof(PALETTEENTRY));
  m_palette.DeleteObject();
  m_palette.CreatePalette(pLog);
  m_bCustomShown = FALSE;
}

CRect SECColorWell::CalcWindowRect(RECT* pRect, CWnd* pParent, int x, int y, int, int, BOOL bDialogUnits) {
  if (IsDialog(pParent)) {
    CRect cell(0, 0, 10, 10);
    ::MapDialogRect(pParent->m_hWnd, &cell);
    m_cxCell = cell.Width();
    m_cyCell = cell.Height();
    if (bDialogUnits) {
      CRect pos(x, y, x, y);
      ::MapDialogRect(pParent->m_hWnd, &pos);
      x = pos.left;
      y = pos.top;
    }
  } else {
    const LONG units = ::GetDialogBaseUnits();
    m_cxCell = LOWORD(units) * 10 / 4;
    m_cyCell = HIWORD(units) * 10 / 8;
    if (bDialogUnits) {
      x = x * LOWORD(units) / 4;
      y = y * HIWORD(units) / 8;
    }
  }
  m_cyButton = m_cyCell + 2;
  const int width = m_nCols * m_cxCell + 2 * (m_nCols + m_cxMargin) - 2;
  int height = m_nRows * m_cyCell + 2 * (m_nRows + m_cyMargin) - 2;
  if (m_bOtherButton) height += m_cyCell + 2 + 6;
  CRect rc(x, y, x + width, y + height);
  if (pRect != nullptr) *pRect = rc;
  return rc;
}

BOOL SECColorWell::Create(DWORD dwStyle, int x, int y, CWnd* pParentWnd, UINT nID, BOOL bOtherButton) {
  SetGridSize();
  m_nCustomCol = m_nCols - 1;
  m_nCustomRow = m_nRows;
  m_nCustomIndex = m_nRows * m_nCols;
  m_cxMargin = m_cyMargin = (dwStyle & kRaisedBorder) != 0 ? 4 : 2;
  if (HasFocusFrame()) {
    ++m_cxMargin;
    ++m_cyMargin;
  }
  m_bOtherButton = bOtherButton;
  const CRect rc = CalcWindowRect(nullptr, pParentWnd, x, y, 0, 0, FALSE);
  LPCTSTR lpszClass = AfxRegisterWndClass(GetClassStyle(), ::LoadCursor(nullptr, IDC_ARROW));
  const DWORD dwWindowStyle = dwStyle | ((dwStyle & WS_POPUP) != 0 ? 0 : WS_CHILD) | WS_CLIPSIBLINGS;
  if (!CreateEx(0, lpszClass, nullptr, dwWindowStyle, rc.left, rc.top, rc.Width(), rc.Height(),
                pParentWnd->GetSafeHwnd(),
                (dwStyle & WS_POPUP) != 0 ? nullptr : reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID))))
    return FALSE;
  if (bOtherButton) {
    CString strOther;
    if (!strOther.LoadString(SEC_IDS_OTHER_BUTTON)) strOther = "&Other...";
    CRect client;
    GetClientRect(&client);
    const int top = m_cyMargin + m_nRows * (m_cyCell + kCellGap) - kCellGap + 4;
    const CRect rcButton(m_cxMargin, top, client.right - m_cxMargin, top + m_cyButton);
    m_pOtherButton = new SECOtherButton;
    if (!m_pOtherButton->Create(strOther, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, rcButton, this,
                                SEC_IDC_OTHER_BUTTON)) {
      delete m_pOtherButton;
      m_pOtherButton = nullptr;
      DestroyWindow();
      return FALSE;
    }
    if (pParentWnd != nullptr && pParentWnd->GetFont() != nullptr) m_pOtherButton->SetFont(pParentWnd->GetFont());
  }
  CreateGridPalette();
  if (m_bPendingColor) {
    m_bPendingColor = false;
    SetColor(m_clrPending);
  }
  return TRUE;
}

// ---- cells ----

CRect SECColorWell::GetCellRect(int nCol, int nRow) const {
  const int left = m_cxMargin + nCol * (m_cxCell + kCellGap);
  // The custom cell sits in the bottom band, right of the narrowed button.
  const int top = nRow < m_nRows ? m_cyMargin + nRow * (m_cyCell + kCellGap)
                                 : m_cyMargin + m_nRows * (m_cyCell + kCellGap) - kCellGap + 5;
  return CRect(left, top, left + m_cxCell, top + m_cyCell);
}

COLORREF SECColorWell::GetCellColor(int nCol, int nRow) const {
  const int index = IsCustomCell(nCol, nRow) ? m_nCustomIndex : nRow * m_nCols + nCol;
  PALETTEENTRY entry{};
  if (m_palette.GetSafeHandle() == nullptr ||
      ::GetPaletteEntries(static_cast<HPALETTE>(m_palette.GetSafeHandle()), static_cast<UINT>(index), 1, &entry) != 1)
    return RGB(0, 0, 0);
  return RGB(entry.peRed, entry.peGreen, entry.peBlue);
}

COLORREF SECColorWell::GetColor() const { return GetCellColor(m_nSelCol, m_nSelRow); }

bool SECColorWell::CellAt(CPoint point, int& nCol, int& nRow) const {
  for (int r = 0; r < m_nRows; ++r)
    for (int c = 0; c < m_nCols; ++c)
      if (GetCellRect(c, r).PtInRect(point)) {
        nCol = c;
        nRow = r;
        return true;
      }
  if (m_bCustomShown && GetCellRect(m_nCustomCol, m_nCustomRow).PtInRect(point)) {
    nCol = m_nCustomCol;
    nRow = m_nCustomRow;
    return true;
  }
  return false;
}

void SECColorWell::InvalidateCell(int nCol, int nRow) {
  if (m_hWnd == nullptr) return;
  CRect rc = GetCellRect(nCol, nRow);
  rc.InflateRect(2, 2);
  InvalidateRect(rc, FALSE);
}

void SECColorWell::SelectCell(int nCol, int nRow, int) {
  InvalidateCell(m_nSelCol, m_nSelRow);
  m_nSelCol = nCol;
  m_nSelRow = nRow;
  InvalidateCell(nCol, nRow);
  NotifyColor();
}

void SECColorWell::NotifyColor() {
  if (CWnd* pParent = GetParent(); pParent != nullptr)
    pParent->SendMessage(SEC_WM_COLORCHANGED, static_cast<WPARAM>(GetDlgCtrlID()), static_cast<LPARAM>(GetColor()));
}

void SECColorWell::SetColor(COLORREF clr) {
  if (m_palette.GetSafeHandle() == nullptr) {  // not created yet: applied at creation
    m_bPendingColor = true;
    m_clrPending = clr;
    return;
  }
  for (int r = 0; r < m_nRows; ++r)
    for (int c = 0; c < m_nCols; ++c)
      if (GetCellColor(c, r) == clr) {
        InvalidateCell(m_nSelCol, m_nSelRow);
        m_nSelCol = c;
        m_nSelRow = r;
        InvalidateCell(c, r);
        return;
      }
  if (m_pOtherButton == nullptr) return;
  PALETTEENTRY entry{GetRValue(clr), GetGValue(clr), GetBValue(clr), 0};
  ::SetPaletteEntries(static_cast<HPALETTE>(m_palette.GetSafeHandle()), static_cast<UINT>(m_nCustomIndex), 1, &entry);
  if (!m_bCustomShown) {
    // The first custom colour makes room for its cell right of the button.
    CRect rcButton;
    m_pOtherButton->GetWindowRect(&rcButton);
    ScreenToClient(&rcButton);
    rcButton.right -= m_cxCell + kCellGap;
    m_pOtherButton->MoveWindow(rcButton);
    m_bCustomShown = TRUE;
  }
  InvalidateCell(m_nSelCol, m_nSelRow);
  m_nSelCol = m_nCustomCol;
  m_nSelRow = m_nCustomRow;
  InvalidateCell(m_nSelCol, m_nSelRow);
}

// ---- painting ----

void SECColorWell::DrawCell(CDC* pDC, CDC*, RECT* pGrid, int nCol, int nRow) {
  CRect rc = GetCellRect(nCol, nRow);
  rc.OffsetRect(pGrid->left, pGrid->top);
  pDC->Draw3dRect(rc, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
  rc.DeflateRect(1, 1);
  pDC->Draw3dRect(rc, ::GetSysColor(COLOR_3DDKSHADOW), ::GetSysColor(COLOR_3DLIGHT));
  rc.DeflateRect(1, 1);
  const int index = IsCustomCell(nCol, nRow) ? m_nCustomIndex : nRow * m_nCols + nCol;
  pDC->FillSolidRect(rc, m_bPaletteMode ? PALETTEINDEX(index) : GetCellColor(nCol, nRow));
}

void SECColorWell::DrawSelectedCell(CDC* pDC, CDC*, RECT* pGrid, int nCol, int nRow) {
  CRect rc = GetCellRect(nCol, nRow);
  rc.OffsetRect(pGrid->left, pGrid->top);
  rc.InflateRect(1, 1);
  const COLORREF frames[3] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)};
  for (COLORREF clr : frames) {
    pDC->Draw3dRect(rc, clr, clr);
    rc.DeflateRect(1, 1);
  }
  const int index = IsCustomCell(nCol, nRow) ? m_nCustomIndex : nRow * m_nCols + nCol;
  pDC->FillSolidRect(rc, m_bPaletteMode ? PALETTEINDEX(index) : GetCellColor(nCol, nRow));
}

void SECColorWell::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(client, ::GetSysColor(COLOR_BTNFACE));
  CPalette* pOldPalette = nullptr;
  if (m_bPaletteMode) {
    pOldPalette = dc.SelectPalette(&m_palette, FALSE);
    dc.RealizePalette();
  }
  if (HasFocusFrame() && m_bHasFocus) {
    CBrush frame(::GetSysColor(COLOR_WINDOWFRAME));
    dc.FrameRect(client, &frame);
  }
  if ((GetStyle() & kRaisedBorder) != 0) {
    CRect rc = client;
    if (HasFocusFrame()) rc.DeflateRect(1, 1);
    dc.Draw3dRect(rc, ::GetSysColor(COLOR_3DLIGHT), ::GetSysColor(COLOR_3DDKSHADOW));
    rc.DeflateRect(1, 1);
    dc.Draw3dRect(rc, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
  }
  CRect grid(0, 0, 0, 0);
  for (int r = 0; r < m_nRows; ++r)
    for (int c = 0; c < m_nCols; ++c)
      if (c != m_nSelCol || r != m_nSelRow) DrawCell(&dc, nullptr, &grid, c, r);
  if (m_pOtherButton != nullptr) {
    CRect place = GetCellRect(m_nCustomCol, m_nCustomRow);
    place.InflateRect(1, 1);
    dc.DrawEdge(place, EDGE_SUNKEN, BF_RECT);
    if (m_bCustomShown && !IsCustomCell(m_nSelCol, m_nSelRow)) DrawCell(&dc, nullptr, &grid, m_nCustomCol, m_nCustomRow);
  }
  DrawSelectedCell(&dc, nullptr, &grid, m_nSelCol, m_nSelRow);
  if (pOldPalette != nullptr) dc.SelectPalette(pOldPalette, FALSE);
}

// ---- input ----

void SECColorWell::OnLButtonDown(UINT, CPoint point) {
  SetFocus();
  int c = 0, r = 0;
  if (CellAt(point, c, r)) SelectCell(c, r, 2);
}

void SECColorWell::OnMouseMove(UINT, CPoint point) {
  int c = 0, r = 0;
  if (m_bHotTrack && CellAt(point, c, r) && (c != m_nSelCol || r != m_nSelRow)) SelectCell(c, r, 1);
}

void SECColorWell::MoveSelection(UINT nChar) {
  int c = m_nSelCol, r = m_nSelRow;
  const int lastCol = m_nCols - 1, lastRow = m_nRows - 1;
  const bool bCustom = IsCustomCell(c, r);
  const bool bShown = m_bCustomShown != FALSE;
  switch (nChar) {
    case VK_LEFT:
      if (bCustom) { c = lastCol; r = lastRow; }
      else if (c > 0) --c;
      else if (r > 0) { c = lastCol; --r; }
      else if (bShown) { c = m_nCustomCol; r = m_nCustomRow; }
      else { c = lastCol; r = lastRow; }
      break;
    case VK_RIGHT:
      if (bCustom) { c = 0; r = 0; }
      else if (c < lastCol) ++c;
      else if (r < lastRow) { c = 0; ++r; }
      else if (bShown) { c = m_nCustomCol; r = m_nCustomRow; }
      else { c = 0; r = 0; }
      break;
    case VK_UP:
      if (bCustom) { c = lastCol; r = lastRow; }
      else if (r > 0) --r;
      else if (c == lastCol && bShown) { c = m_nCustomCol; r = m_nCustomRow; }
      else r = lastRow;
      break;
    case VK_DOWN:
      if (bCustom) { c = lastCol; r = 0; }
      else if (r < lastRow) ++r;
      else if (c == lastCol && bShown) { c = m_nCustomCol; r = m_nCustomRow; }
      else r = 0;
      break;
    default:
      return;
  }
  SelectCell(c, r, 0);
}

void SECColorWell::OnKeyDown(UINT nChar, UINT, UINT) {
  switch (nChar) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      MoveSelection(nChar);
      return;
    case VK_TAB:
      if (KeyHeld(VK_SHIFT)) {
        if (CWnd* pParent = GetParent(); pParent != nullptr) {
          HWND hPrev = ::GetNextDlgTabItem(pParent->m_hWnd, m_hWnd, TRUE);
          if (hPrev != nullptr) ::SetFocus(hPrev);
        }
      } else if (m_pOtherButton != nullptr) {
        m_pOtherButton->SetFocus();
      }
      return;
    default:
      Default();
  }
}

BOOL SECRunColorDialog(CWnd* pParent, COLORREF& clr, DWORD dwFlags, COLORREF* pCustomColors) {
  CColorDialog dialog(clr, CC_RGBINIT | dwFlags, pParent);
  dialog.m_cc.lpCustColors = pCustomColors;
  if (dialog.DoModal() != IDOK) return FALSE;
  clr = dialog.GetColor();
  return TRUE;
}

void SECColorWell::OnOther() {
  COLORREF clr = GetColor();
  if (!SECRunColorDialog(GetParent(), clr, m_dwDialogFlags,
                         m_pCustomColors != nullptr ? m_pCustomColors : m_internalCustomColors))
    return;
  SetColor(clr);
  NotifyColor();
}

void SECColorWell::OnSetFocus(CWnd* pOldWnd) {
  const bool bFromButton = m_pOtherButton != nullptr && pOldWnd != nullptr && pOldWnd->m_hWnd == m_pOtherButton->m_hWnd;
  if (KeyHeld(VK_SHIFT) && m_pOtherButton != nullptr && !bFromButton) {
    m_pOtherButton->SetFocus();
    return;
  }
  m_bHasFocus = TRUE;
  Invalidate(FALSE);
}

void SECColorWell::OnKillFocus(CWnd*) {
  m_bHasFocus = FALSE;
  Invalidate(FALSE);
}

HBRUSH SECColorWell::OnCtlColor(CDC* pDC, CWnd*, UINT) {
  pDC->SetBkColor(::GetSysColor(COLOR_BTNFACE));
  return static_cast<HBRUSH>(m_brushFace.GetSafeHandle());
}

UINT SECColorWell::OnGetDlgCode() {
  return DLGC_WANTARROWS | DLGC_WANTCHARS | (m_pOtherButton != nullptr ? DLGC_WANTTAB : 0);
}

void SECColorWell::OnSysColorChange() {
  m_brushFace.DeleteObject();
  m_brushFace.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
  Invalidate();
}

// ---- the popup ----

void SECPopupColorWell::Reset() {
  SECColorWell::Reset();
  m_pOwnerButton = nullptr;
}

BOOL SECPopupColorWell::CreatePopup(DWORD dwStyle, const RECT& rcButton, CWnd* pParentWnd, BOOL bOtherButton,
                                    int) {
  SetGridSize();
  m_bOtherButton = bOtherButton;
  m_cxMargin = m_cyMargin = 4;  // the raised border's margins
  const CRect size = CalcWindowRect(nullptr, pParentWnd, 0, 0, 0, 0, FALSE);
  // Under the button and left-aligned with it; right-aligned when that passes the screen's
  // right edge, above when it passes the bottom.
  const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN), cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
  int x = rcButton.left, y = rcButton.bottom;
  if (x + size.Width() > cxScreen) x = rcButton.right - size.Width();
  if (y + size.Height() > cyScreen) y = rcButton.top - size.Height();
  if (!Create(dwStyle | WS_POPUP | kRaisedBorder, x, y, pParentWnd, 0, bOtherButton)) return FALSE;
  SetFocus();
  m_bHotTrack = TRUE;
  SetCapture();
  m_bShown = TRUE;
  return TRUE;
}

void SECPopupColorWell::Close() {
  if (m_hWnd == nullptr) return;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  DestroyWindow();
}

void SECPopupColorWell::SelectCell(int nCol, int nRow, int nHow) {
  InvalidateCell(m_nSelCol, m_nSelRow);
  m_nSelCol = nCol;
  m_nSelRow = nRow;
  InvalidateCell(nCol, nRow);
  if (nHow != 2) return;  // moving with the mouse or the arrow keys chooses nothing yet
  NotifyColor();
  Close();
}

void SECPopupColorWell::NotifyColor() {
  if (m_pOwnerButton != nullptr && m_pOwnerButton->m_hWnd != nullptr)
    m_pOwnerButton->SendMessage(SEC_WM_COLORCHANGED, 0, static_cast<LPARAM>(GetColor()));
}

void SECPopupColorWell::OnOther() {
  if (m_pOwnerButton != nullptr && m_pOwnerButton->m_hWnd != nullptr) m_pOwnerButton->PostMessage(SEC_WM_OTHERCOLOR);
  Close();
}

void SECPopupColorWell::OnOtherCommand() { OnOther(); }

void SECPopupColorWell::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  switch (nChar) {
    case VK_TAB:
      if (m_pOtherButton != nullptr) m_pOtherButton->SetFocus();
      return;
    case VK_RETURN:
      SelectCell(m_nSelCol, m_nSelRow, 2);
      return;
    case VK_ESCAPE:
      Close();
      return;
    default:
      SECColorWell::OnKeyDown(nChar, nRepCnt, nFlags);
  }
}

void SECPopupColorWell::OnKeyUp(UINT nChar, UINT, UINT) {
  if (nChar == VK_SPACE) SelectCell(m_nSelCol, m_nSelRow, 2);
  else Default();
}

void SECPopupColorWell::OnLButtonDown(UINT nFlags, CPoint point) {
  CRect client;
  GetClientRect(&client);
  if (!client.PtInRect(point)) {
    CPoint screen = point;
    ClientToScreen(&screen);
    CRect rcOwner;
    if (m_pOwnerButton != nullptr && m_pOwnerButton->m_hWnd != nullptr) {
      m_pOwnerButton->GetWindowRect(&rcOwner);
      if (rcOwner.PtInRect(screen)) return;  // the owner's own click would open it again
    }
    Close();
    // The press goes on to the window the user clicked.
    HWND hTarget = ::WindowFromPoint(screen);
    if (hTarget != nullptr) {
      ::ScreenToClient(hTarget, &screen);
      ::SendMessage(hTarget, WM_LBUTTONDOWN, nFlags, MAKELPARAM(screen.x, screen.y));
    }
    return;
  }
  if (m_pOtherButton != nullptr) {
    CRect rcButton;
    m_pOtherButton->GetWindowRect(&rcButton);
    ScreenToClient(&rcButton);
    if (rcButton.PtInRect(point)) {
      OnOther();
      return;
    }
  }
  SECColorWell::OnLButtonDown(nFlags, point);
}

void SECPopupColorWell::OnKillFocus(CWnd* pNewWnd) {
  m_bHasFocus = FALSE;
  // Tab hands the focus to the popup's own button: the popup stays up.
  if (m_pOtherButton != nullptr && pNewWnd != nullptr && pNewWnd->m_hWnd == m_pOtherButton->m_hWnd) return;
  Close();
}

}  // namespace kelpwood::foundation
