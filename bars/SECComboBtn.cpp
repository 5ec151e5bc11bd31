// The toolbar combo box: created by its button part, its mouse offered to that part first, and
// framed as a dragged button while it is selected in customise mode.
#include "bars/SECComboBtn.h"

#include "bars/CommandBarsRes.h"
#include "bars/SECCustomToolBar.h"

IMPLEMENT_DYNAMIC(SECComboBtn, CComboBox)

const SECButtonClass SECComboBtn::s_btnClass = {&SECComboBtn::CreateComboButton};

namespace {
bool IsMouseMessage(UINT message) {
  return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_SETCURSOR;
}
}  // namespace

LRESULT SECComboBtnEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (m_pCombo != nullptr && m_pCombo->FilterMouse(m_hWnd, message, wParam, lParam, result)) return result;
  return CEdit::WindowProc(message, wParam, lParam);
}

SECComboBtn::SECComboBtn() = default;

SECComboBtn::~SECComboBtn() {
  if (m_edit.GetSafeHwnd() != nullptr) m_edit.UnsubclassWindow();
}

BOOL SECComboBtn::CreateWnd(CWnd* pParentWnd, DWORD dwStyle, const CRect& rect, UINT nID) {
  // A drop-down list needs room for its list below the field.
  CRect rectCombo = rect;
  rectCombo.bottom = rectCombo.top + std::max(rect.Height(), 150);
  if (!CComboBox::Create(dwStyle, rectCombo, pParentWnd, nID)) return FALSE;
  LOGFONT logFont{};
  SECCustomToolBar* pBar = m_pToolBar;
  HFONT hBarFont = pBar != nullptr ? pBar->GetBarFont() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  if (::GetObject(hBarFont, sizeof(logFont), &logFont) != 0 && m_font.CreateFontIndirect(&logFont)) SetFont(&m_font);
  if (HWND hEdit = ::GetWindow(m_hWnd, GW_CHILD); hEdit != nullptr && m_edit.SubclassWindow(hEdit))
    m_edit.m_pCombo = this;
  return TRUE;
}

BOOL SECComboBtn::FilterMouse(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!IsMouseMessage(message) || m_pToolBar == nullptr) return FALSE;
  const BOOL bCustomize = m_pToolBar->InCustomizeMode();
  if (message == WM_SETCURSOR) {
    if (!bCustomize) return FALSE;
    CPoint point;
    ::GetCursorPos(&point);
    m_pToolBar->ScreenToClient(&point);
    HCURSOR hCursor = OnResizeEdge(point)
                          ? ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_SEC_RESIZE_WNDBTN))
                          : ::LoadCursor(nullptr, IDC_ARROW);
    ::SetCursor(hCursor);
    result = TRUE;
    return TRUE;
  }
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
    CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    if (hWnd != m_hWnd) ::MapWindowPoints(hWnd, m_hWnd, &point, 1);
    if (OnWndLButtonDown(static_cast<UINT>(wParam), point)) {
      result = 0;
      return TRUE;
    }
  }
  result = 0;
  return bCustomize;
}

LRESULT SECComboBtn::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (FilterMouse(m_hWnd, message, wParam, lParam, result)) return result;
  result = CComboBox::WindowProc(message, wParam, lParam);
  if (message == WM_PAINT && (SECStdBtn::GetStyle() & SEC_TBBS_SELECTED) && m_pToolBar != nullptr &&
      m_pToolBar->InCustomizeMode()) {
    CWindowDC dc(this);
    CRect rect;
    GetWindowRect(&rect);
    rect.OffsetRect(-rect.left, -rect.top);
    DrawSelectFrame(dc, rect);
  }
  return result;
}
