// SECToolBar: the toolkit bar around a toolbar control: creation, buttons and bitmaps, the sizes
// of each docking state wrapped once and kept, the row share applied to stretched layouts.
#include "bars/SECToolBar.h"

#include "afx/ResourceImages.h"

IMPLEMENT_DYNCREATE(SECToolBar, SECControlBar)

SECToolBarCtrl::SECToolBarCtrl() {
  m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

BEGIN_MESSAGE_MAP(SECToolBar, SECControlBar)
  ON_WM_NCCALCSIZE()
  ON_WM_NCPAINT()
  ON_WM_NCHITTEST()
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_SIZE()
  ON_WM_SYSCOLORCHANGE()
  ON_MESSAGE(TB_SETBUTTONSIZE, OnSetButtonSize)
  ON_MESSAGE(TB_SETBITMAPSIZE, OnSetBitmapSize)
END_MESSAGE_MAP()

SECToolBar::SECToolBar() : m_pCtrl(std::make_unique<SECToolBarCtrl>()) {
  // The framework's toolbar margins: 3 pixels at top and bottom.
  m_cyTopBorder = m_cyBottomBorder = 3;
}

SECToolBar::~SECToolBar() {
  if (m_pCtrl->m_hWnd != nullptr) m_pCtrl->DestroyWindow();
}

BOOL SECToolBar::CreateEx(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, UINT nID, DWORD dwStyle, DWORD dwExStyle,
                          const RECT& rect, CWnd* pParentWnd, CCreateContext* pContext) {
  if (nID == AFX_IDW_TOOLBAR) dwStyle |= CBRS_HIDE_INPLACE;
  // Any of the border and gripper bits asked for: the thin-border bit goes.
  if (dwExStyle & (CBRS_EX_THIN_BORDERS | CBRS_EX_GRIPPER | CBRS_EX_GRIPPER_CLOSE | CBRS_EX_GRIPPER_EXPAND))
    dwExStyle &= ~CBRS_EX_THIN_BORDERS;
  if (!SECControlBar::CreateEx(lpszClassName, lpszWindowName, nID, dwStyle, dwExStyle, rect, pParentWnd, pContext))
    return FALSE;
  const DWORD ctrlStyle = (dwStyle & CBRS_ALL & ~static_cast<DWORD>(CBRS_BORDER_ANY | CBRS_GRIPPER)) | WS_CHILD | WS_VISIBLE;
  if (!m_pCtrl->CreateEx(this, 0, ctrlStyle, CRect(0, 0, 0, 0), 1)) return FALSE;
  m_pCtrl->SetSizes(m_sizeButton, m_sizeImage);
  SetWindowText(lpszWindowName);
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  MarkLayoutDirty();
  return TRUE;
}

BOOL SECToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID) {
  m_cxLeftBorder = rcBorders.left;
  m_cyTopBorder = rcBorders.top;
  m_cxRightBorder = rcBorders.right;
  m_cyBottomBorder = rcBorders.bottom;
  if (!Create(pParentWnd, nullptr, dwStyle, 0, nID)) return FALSE;
  m_pCtrl->SetToolBarCtrlStyle(dwCtrlStyle);
  return TRUE;
}

void SECToolBar::MarkLayoutDirty() {
  m_bDelayedButtonLayout = TRUE;
  m_bWrapHorzDock = m_bWrapVertDock = m_bWrapFloat = TRUE;
}

// ---- buttons and images ----

void SECToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
  m_pCtrl->SetSizes(sizeButton, sizeImage);
  m_sizeButton = m_pCtrl->m_sizeButton;
  m_sizeImage = m_pCtrl->m_sizeImage;
  MarkLayoutDirty();
}

LRESULT SECToolBar::OnSetButtonSize(WPARAM, LPARAM lParam) { return TakeSizeMessage(lParam, TRUE); }

LRESULT SECToolBar::OnSetBitmapSize(WPARAM, LPARAM lParam) { return TakeSizeMessage(lParam, FALSE); }

LRESULT SECToolBar::TakeSizeMessage(LPARAM lParam, BOOL bButton) {
  // Width in the low word, height in the high one, each signed.
  const CSize size(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  if (size.cx <= 0 || size.cy <= 0) return FALSE;
  if (bButton)
    SetSizes(size, m_sizeImage);
  else
    SetSizes(m_sizeButton, size);
  // The docking frame lays the bars out again with the new size; the buttons are repainted.
  if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout(TRUE);
  if (m_pCtrl->m_hWnd != nullptr) m_pCtrl->Invalidate();
  return TRUE;
}

void SECToolBar::SetOwner(CWnd* pOwnerWnd) {
  CWnd::SetOwner(pOwnerWnd);
}

BOOL SECToolBar::AddReplaceBitmap(HBITMAP hbmImageWell) { return m_pCtrl->SetBitmap(hbmImageWell); }

BOOL SECToolBar::LoadBitmap(UINT nIDResource) {
  m_hInstImageWell = AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_BITMAP);
  m_nIDBitmap = nIDResource;
  return m_pCtrl->LoadBitmap(nIDResource);
}

BOOL SECToolBar::LoadToolBar(UINT nIDResource) {
  if (!m_pCtrl->LoadToolBar(nIDResource)) return FALSE;
  m_hInstImageWell = AfxFindResourceHandle(MAKEINTRESOURCE(nIDResource), RT_BITMAP);
  m_nIDBitmap = nIDResource;
  m_sizeButton = m_pCtrl->m_sizeButton;
  m_sizeImage = m_pCtrl->m_sizeImage;
  for (TBBUTTON& button : m_pCtrl->Buttons())
    if (button.fsStyle & TBSTYLE_SEP) button.iBitmap = kSeparatorWidth;
  MarkLayoutDirty();
  return TRUE;
}

BOOL SECToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
  if (!m_pCtrl->SetButtons(lpIDArray, nIDCount)) return FALSE;
  for (TBBUTTON& button : m_pCtrl->Buttons())
    if (button.fsStyle & TBSTYLE_SEP) button.iBitmap = kSeparatorWidth;
  m_nCount = nIDCount;
  MarkLayoutDirty();
  return TRUE;
}

BOOL SECToolBar::GetButton(int nIndex, TBBUTTON* pButton) const {
  const std::vector<TBBUTTON>& buttons = m_pCtrl->Buttons();
  if (nIndex < 0 || nIndex >= static_cast<int>(buttons.size()) || pButton == nullptr) return FALSE;
  *pButton = buttons[static_cast<size_t>(nIndex)];
  return TRUE;
}

BOOL SECToolBar::SetButton(int nIndex, const TBBUTTON* pButton) {
  std::vector<TBBUTTON>& buttons = m_pCtrl->Buttons();
  if (nIndex < 0 || nIndex >= static_cast<int>(buttons.size()) || pButton == nullptr) return FALSE;
  buttons[static_cast<size_t>(nIndex)] = *pButton;
  MarkLayoutDirty();
  m_pCtrl->Invalidate();
  return TRUE;
}

void SECToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  m_bDelayedButtonLayout = FALSE;
  ::SetRectEmpty(lpRect);
  if (nIndex < 0 || nIndex >= static_cast<int>(m_pCtrl->Buttons().size())) return;
  m_pCtrl->GetItemRect(nIndex, lpRect);
  ::MapWindowPoints(m_pCtrl->m_hWnd, m_hWnd, reinterpret_cast<POINT*>(lpRect), 2);
}

INT_PTR SECToolBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  INT_PTR hit = SECControlBar::OnToolHitTest(point, pTI);
  if (hit != -1 || m_pCtrl->m_hWnd == nullptr) return hit;
  CPoint inCtrl = point;
  ::MapWindowPoints(m_hWnd, m_pCtrl->m_hWnd, &inCtrl, 1);
  return m_pCtrl->OnToolHitTest(inCtrl, pTI);
}

void SECToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  m_pCtrl->UpdateButtons(pTarget, bDisableIfNoHndler);
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

// ---- layout ----

CSize SECToolBar::CalcLayout(DWORD dwMode, int nLength) {
  // The control wraps as the bar would: same sizing, orientation and floating state.
  m_pCtrl->m_dwStyle = (m_dwStyle & (CBRS_ALIGN_ANY | CBRS_SIZE_DYNAMIC | CBRS_SIZE_FIXED | CBRS_FLOATING));
  const BOOL horz = (dwMode & LM_HORZ) != 0;
  CRect inside(0, 0, 0, 0);
  CalcInsideRect(inside, horz);
  const int marginX = -inside.Width(), marginY = -inside.Height();
  int length = nLength;
  if (length != -1 && (dwMode & LM_STRETCH)) length = static_cast<int>(static_cast<float>(length) * m_fPctWidth);
  if (length != -1) length = std::max(length - ((dwMode & LM_LENGTHY) ? marginY : marginX), 0);
  m_pCtrl->m_nMRUWidth = static_cast<UINT>(std::max(static_cast<int>(m_nMRUWidth) - marginX, 0));
  CSize size = m_pCtrl->Layout(dwMode & ~static_cast<DWORD>(LM_STRETCH), length);
  size += CSize(marginX, marginY);
  if (dwMode & LM_COMMIT) {
    if (dwMode & LM_HORZDOCK)
      m_szHorzDock = size;
    else if (dwMode & LM_VERTDOCK)
      m_szVertDock = size;
    else
      m_szFloat = size;
    if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC)) m_nMRUWidth = static_cast<UINT>(size.cx);
    PlaceControl();
  }
  return size;
}

CSize SECToolBar::CalcDynamicLayout(int nLength, DWORD nMode) {
  if (!(nMode & LM_COMMIT)) {
    // A state asked for the first time since the buttons changed wraps now, once.
    BOOL* wrap = (nMode & LM_HORZDOCK) ? &m_bWrapHorzDock
                 : (nMode & LM_VERTDOCK) ? &m_bWrapVertDock
                 : (nMode & LM_MRUWIDTH) ? &m_bWrapFloat
                                         : nullptr;
    if (wrap != nullptr && *wrap) {
      *wrap = FALSE;
      CalcLayout(nMode | LM_COMMIT, (nMode & LM_VERTDOCK) ? 0 : 32767);
    }
    // A floating frame being sized asks how the buttons wrap for a length.
    if (nLength != -1 && !(nMode & (LM_HORZDOCK | LM_VERTDOCK | LM_MRUWIDTH))) return CalcLayout(nMode, nLength);
  }
  const bool horzHeight = (nMode & LM_HORZDOCK) && (nMode & LM_LENGTHY);
  const bool vertWidth = (nMode & LM_VERTDOCK) && !(nMode & LM_LENGTHY);
  if ((nMode & LM_COMMIT) && !horzHeight && !vertWidth) return CalcLayout(nMode, nLength);
  return SECControlBar::CalcDynamicLayout(nLength, nMode);
}

void SECToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
  SECControlBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
  if ((dwOldStyle ^ dwNewStyle) & (CBRS_ALIGN_ANY | CBRS_FLOATING | CBRS_BORDER_ANY)) {
    MarkLayoutDirty();
    // The margins outside the client area follow the orientation and the borders.
    if (m_hWnd != nullptr)
      SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout(TRUE);
  }
}

void SECToolBar::CalcInsideRect(CRect& rect, BOOL bHorz, BOOL bGripper) const {
  if (bGripper && GripperShown() && !(m_dwExStyle & CBRS_EX_THIN_BORDERS))
    InsetBordersAndGripper(rect, bHorz, TRUE, 2 * ::GetSystemMetrics(SM_CXBORDER));
  else
    SECControlBar::CalcInsideRect(rect, bHorz, bGripper);
}

void SECToolBar::PlaceControl() {
  if (m_hWnd == nullptr || m_pCtrl->m_hWnd == nullptr) return;
  CRect rect;
  GetClientRect(&rect);
  CRect current;
  m_pCtrl->GetWindowRect(&current);
  ScreenToClient(&current);
  if (current != rect)
    m_pCtrl->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void SECToolBar::OnSize(UINT nType, int cx, int cy) {
  CControlBar::OnSize(nType, cx, cy);
  PlaceControl();
}

void SECToolBar::OnSysColorChange() {
  CControlBar::OnSysColorChange();
  // The images follow the new button colours.
  if (m_nIDBitmap != 0) m_pCtrl->LoadBitmap(m_nIDBitmap);
}

// ---- the non-client area ----

void SECToolBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
  CRect inside(0, 0, 0, 0);
  CalcInsideRect(inside, LaysOutHorizontally());
  RECT& client = lpncsp->rgrc[0];
  client.left += inside.left;
  client.top += inside.top;
  client.right += inside.right;
  client.bottom += inside.bottom;
}

void SECToolBar::OnNcPaint() {
  CWindowDC dc(this);
  CRect rect;
  ClipToNonClient(dc, rect);
  dc.FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
  // Drawn in client coordinates, so that the gripper buttons' rectangles are where the mouse
  // finds them.
  const CPoint origin = ClientOrigin();
  dc.SetViewportOrg(origin);
  rect.OffsetRect(-origin);
  DrawBorders(&dc, rect);  // with thin borders, the toolkit's gripper too
  if (!(m_dwExStyle & CBRS_EX_GRIPPER)) {
    // The framework's gripper, inside the borders, where the margins leave it room.
    CControlBar::DrawGripper(&dc, rect);
  } else if (!(m_dwExStyle & CBRS_EX_THIN_BORDERS)) {
    // The toolkit's gripper, in the room its extent reserved.
    DrawGripper(&dc, rect);
  }
}

UINT SECToolBar::OnNcHitTest(CPoint) { return HTCLIENT; }

void SECToolBar::OnWindowPosChanging(WINDOWPOS* lpWndPos) {
  // The framework's handling sees no borders; a bar that sizes itself is redrawn whole.
  const DWORD dwBorders = m_dwStyle & CBRS_BORDER_ANY;
  m_dwStyle &= ~dwBorders;
  SECControlBar::OnWindowPosChanging(lpWndPos);
  m_dwStyle |= dwBorders;
  if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && !(lpWndPos->flags & SWP_NOSIZE) && m_hWnd != nullptr)
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}
