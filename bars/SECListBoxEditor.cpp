// The list box editor's strip and operations: attaching to the list box, the strip's layout,
// painting and picture buttons, and new, delete, move, in-place edit start and end.
#include "bars/SECListBoxEditor.h"

#include <algorithm>

#include "resources/Bars.h"
#include "widgets/SECLoadSysColorBitmap.h"

using kelpwood::foundation::SECLoadSysColorBitmap;

IMPLEMENT_DYNAMIC(SECListBoxEditor, CWnd)

BEGIN_MESSAGE_MAP(SECListBoxEditor, CWnd)
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_SIZE()
  ON_WM_MOVE()
END_MESSAGE_MAP()

SECListBoxEditor::SECListBoxEditor() = default;

SECListBoxEditor::~SECListBoxEditor() {
  if (m_pEdit != nullptr) {
    if (m_pEdit->GetSafeHwnd() != nullptr) m_pEdit->DestroyWindow();
    delete m_pEdit;
  }
  if (m_pHelper != nullptr) {
    if (m_pHelper->GetSafeHwnd() != nullptr) m_pHelper->UnsubclassWindow();
    delete m_pHelper;
  }
}

// ---- attaching and layout ----

CListBox* SECListBoxEditor::Initialize(UINT nID, CWnd* pParent, DWORD dwStyle) {
  return Initialize(pParent, nID, dwStyle);
}

CListBox* SECListBoxEditor::Initialize(CWnd* pParent, UINT nID, DWORD dwStyle) {
  CWnd* pList = pParent != nullptr ? pParent->GetDlgItem(nID) : nullptr;
  if (pList == nullptr) return nullptr;
  m_dwStyle = dwStyle;
  UINT nStripID = 32767;
  while (pParent->GetDlgItem(nStripID) != nullptr) --nStripID;
  CRect rcList;
  pList->GetWindowRect(&rcList);
  pParent->ScreenToClient(&rcList);
  // SS_NOTIFY: the strip takes the clicks on its buttons instead of passing them to the dialog.
  if (!CreateEx(0, "STATIC", "", WS_CHILD | SS_SUNKEN | SS_NOTIFY,
                CRect(rcList.left, rcList.top, rcList.right, rcList.top + 1), pParent, nStripID))
    return nullptr;
  SetFont(pParent->GetFont(), FALSE);
  LoadButtonBitmaps();
  m_nStripHeight = CalcStripHeight();
  // The strip goes just before the list box in the Z order, which keeps its place in the
  // dialog's tab order.
  CWnd* pBefore = pList->GetWindow(GW_HWNDPREV);
  SetWindowPos(pBefore != nullptr ? pBefore : &CWnd::wndTop, rcList.left, rcList.top, rcList.Width(), m_nStripHeight,
               SWP_NOACTIVATE | SWP_NOREDRAW);
  const int nListTop = rcList.top + m_nStripHeight + 2 * ::GetSystemMetrics(SM_CYBORDER);
  pList->SetWindowPos(nullptr, rcList.left, nListTop, rcList.Width(), std::max(0, static_cast<int>(rcList.bottom) - nListTop),
                      SWP_NOACTIVATE | SWP_NOZORDER);
  SetButtons(dwStyle);
  m_pHelper = new SECListBoxEditorHelper(this);
  m_pHelper->SubclassWindow(pList->GetSafeHwnd());
  m_pListBox = m_pHelper;
  LayoutButtons();
  if ((m_dwStyle & LBE_BUTTONS) != 0 && (m_dwStyle & LBE_TOOLTIPS) != 0 && m_wndToolTip.Create(this)) {
    UpdateTooltips();
  }
  const int nCount = m_pListBox->GetCount();
  if ((m_dwStyle & LBE_NOTRAILINGBLANK) == 0 && (nCount == 0 || m_pListBox->GetTextLen(nCount - 1) > 0))
    m_pListBox->InsertString(-1, "");
  NotifySelChange();
  ShowWindow(SW_SHOW);
  m_bInitialized = TRUE;
  return m_pListBox;
}

BOOL SECListBoxEditor::LoadButtonBitmaps() {
  BOOL bAll = TRUE;
  for (int i = 0; i < 4; ++i) {
    if (m_bitmaps[i].GetSafeHandle() == nullptr)
      bAll = SECLoadSysColorBitmap(&m_bitmaps[i], MAKEINTRESOURCE(IDB_SEC_LBE_NEW + i)) && bAll;
  }
  return bAll;
}

int SECListBoxEditor::CalcStripHeight() {
  CClientDC dc(this);
  CFont* pOld = dc.SelectObject(GetFont());
  TEXTMETRIC tm{};
  dc.GetTextMetrics(&tm);
  dc.SelectObject(pOld);
  int nHeight = tm.tmHeight + 4 * ::GetSystemMetrics(SM_CYBORDER);
  for (CBitmap& bitmap : m_bitmaps) {
    BITMAP bm{};
    if (bitmap.GetSafeHandle() != nullptr && bitmap.GetBitmap(&bm)) nHeight = std::max(nHeight, bm.bmHeight + 2);
  }
  return nHeight;
}

void SECListBoxEditor::SetButtons(DWORD dwStyle) {
  for (int i = 0; i < 4; ++i) m_bButtons[i] = (dwStyle & (LBE_NEWBUTTON << i)) != 0;
}

void SECListBoxEditor::LayoutButtons() {
  CRect rcStrip;
  GetClientRect(&rcStrip);
  int x = rcStrip.right;
  for (int i = 3; i >= 0; --i) {
    m_rcButtons[i].SetRectEmpty();
    if (!m_bButtons[i]) continue;
    BITMAP bm{};
    const int nWidth = m_bitmaps[i].GetSafeHandle() != nullptr && m_bitmaps[i].GetBitmap(&bm) ? bm.bmWidth : 16;
    m_rcButtons[i].SetRect(x - nWidth, rcStrip.top, x, rcStrip.top + m_nStripHeight);
    x -= nWidth;
  }
}

void SECListBoxEditor::UpdateTooltips() {
  if ((m_dwStyle & LBE_BUTTONS) == 0 || (m_dwStyle & LBE_TOOLTIPS) == 0 || m_wndToolTip.GetSafeHwnd() == nullptr)
    return;
  for (int i = 0; i < 4; ++i) {
    m_wndToolTip.DelTool(this, static_cast<UINT_PTR>(i + 1));
    if (m_bButtons[i]) m_wndToolTip.AddTool(this, IDS_SEC_LBE_NEW + i, &m_rcButtons[i], static_cast<UINT_PTR>(i + 1));
  }
  m_wndToolTip.Activate(TRUE);
}

void SECListBoxEditor::Relayout() {
  if (m_pListBox == nullptr) return;
  CRect rcStrip;
  GetWindowRect(&rcStrip);
  if (rcStrip.Height() > m_nStripHeight) {
    CWnd* pParent = GetParent();
    pParent->ScreenToClient(&rcStrip);
    CRect rcList;
    m_pListBox->GetWindowRect(&rcList);
    pParent->ScreenToClient(&rcList);
    MoveWindow(rcStrip.left, rcStrip.top, rcStrip.Width(), m_nStripHeight);
    rcList.top = rcStrip.top + m_nStripHeight + 2 * ::GetSystemMetrics(SM_CYBORDER);
    m_pListBox->MoveWindow(&rcList);
  }
  LayoutButtons();
  UpdateTooltips();
  Invalidate();
  m_pListBox->Invalidate();
}

void SECListBoxEditor::OnSize(UINT nType, int cx, int cy) {
  CWnd::OnSize(nType, cx, cy);
  if (m_bInitialized) Relayout();
}

void SECListBoxEditor::OnMove(int x, int y) {
  CWnd::OnMove(x, y);
  if (m_bInitialized) Relayout();
}

BOOL SECListBoxEditor::PreTranslateMessage(MSG* pMsg) {
  if ((m_dwStyle & LBE_TOOLTIPS) != 0 && pMsg->message == WM_MOUSEMOVE && m_wndToolTip.GetSafeHwnd() != nullptr)
    m_wndToolTip.RelayEvent(pMsg);
  return CWnd::PreTranslateMessage(pMsg);
}

// ---- painting and buttons ----

void SECListBoxEditor::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  dc.FillSolidRect(rc.left, rc.top, rc.Width(), rc.Height() - 2, ::GetSysColor(COLOR_BTNFACE));
  CString strLabel;
  GetWindowText(strLabel);
  CRect rcText = rc;
  rcText.left += 2 * ::GetSystemMetrics(SM_CXBORDER);
  dc.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  dc.SetBkMode(TRANSPARENT);
  CFont* pOldFont = dc.SelectObject(GetFont());
  dc.DrawText(strLabel, &rcText, DT_SINGLELINE | DT_VCENTER);
  dc.SelectObject(pOldFont);
  if ((m_dwStyle & LBE_BUTTONS) == 0) return;
  CDC memDC;
  memDC.CreateCompatibleDC(&dc);
  for (int i = 0; i < 4; ++i) {
    if (!m_bButtons[i] || m_bitmaps[i].GetSafeHandle() == nullptr) continue;
    const CRect& r = m_rcButtons[i];
    CBitmap* pOld = memDC.SelectObject(&m_bitmaps[i]);
    dc.BitBlt(r.left, r.top, r.Width(), r.Height(), &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(pOld);
    dc.FillSolidRect(r.left, r.top, r.Width(), 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    dc.FillSolidRect(r.left, r.top, 1, r.Height(), ::GetSysColor(COLOR_BTNHIGHLIGHT));
  }
}

void SECListBoxEditor::MakePressedBitmap(int n) {
  BITMAP bm{};
  if (m_bitmaps[n].GetSafeHandle() == nullptr || !m_bitmaps[n].GetBitmap(&bm)) return;
  CClientDC screen(this);
  CDC src, dst;
  src.CreateCompatibleDC(&screen);
  dst.CreateCompatibleDC(&screen);
  m_pressed[n].DeleteObject();
  m_pressed[n].CreateCompatibleBitmap(&screen, bm.bmWidth, bm.bmHeight);
  CBitmap* pOldSrc = src.SelectObject(&m_bitmaps[n]);
  CBitmap* pOldDst = dst.SelectObject(&m_pressed[n]);
  dst.FillSolidRect(0, 0, bm.bmWidth, bm.bmHeight, ::GetSysColor(COLOR_BTNFACE));
  // The picture moves one pixel right and down inside a sunken frame.
  dst.BitBlt(1, 1, bm.bmWidth - 1, bm.bmHeight - 1, &src, 0, 0, SRCCOPY);
  CRect rc(0, 0, bm.bmWidth, bm.bmHeight);
  dst.DrawEdge(&rc, EDGE_SUNKEN, BF_RECT);
  src.SelectObject(pOldSrc);
  dst.SelectObject(pOldDst);
}

// A quick second click on a button is a second press, not a double-click.
void SECListBoxEditor::OnLButtonDblClk(UINT nFlags, CPoint point) { OnLButtonDown(nFlags, point); }

void SECListBoxEditor::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_pEdit == nullptr && (m_dwStyle & LBE_BUTTONS) != 0) {
    for (int i = 0; i < 4; ++i) {
      if (!m_bButtons[i] || !m_rcButtons[i].PtInRect(point)) continue;
      MakePressedBitmap(i);
      SECFakeButton button;
      if (!button.Track(this, m_rcButtons[i], &m_bitmaps[i], &m_pressed[i])) return;
      switch (i) {
        case 0: OnNew(); break;
        case 1: OnDelete(); break;
        case 2: OnMoveUp(); break;
        default: OnMoveDown(); break;
      }
      return;
    }
  }
  CWnd::OnLButtonDown(nFlags, point);
}

// ---- notifications and selection ----

void SECListBoxEditor::Notify(UINT nCode, BOOL bPost) {
  CWnd* pParent = m_pListBox != nullptr ? m_pListBox->GetParent() : nullptr;
  if (pParent == nullptr) return;
  const WPARAM wParam = MAKEWPARAM(m_pListBox->GetDlgCtrlID(), nCode);
  const LPARAM lParam = reinterpret_cast<LPARAM>(m_pListBox->GetSafeHwnd());
  if (bPost)
    pParent->PostMessage(WM_COMMAND, wParam, lParam);
  else
    pParent->SendMessage(WM_COMMAND, wParam, lParam);
}

void SECListBoxEditor::NotifySelChange() { Notify(LBN_SELCHANGE, TRUE); }

BOOL SECListBoxEditor::HasTrailingRow() const {
  if (m_pListBox == nullptr || (m_dwStyle & LBE_NOTRAILINGBLANK) != 0) return FALSE;
  const int nCount = m_pListBox->GetCount();
  return nCount > 0 && m_pListBox->GetTextLen(nCount - 1) == 0;
}

int SECListBoxEditor::SelectedRow() const {
  if (m_pListBox == nullptr) return -1;
  if ((m_pListBox->GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) == 0) return m_pListBox->GetCurSel();
  int nRow = -1;
  return m_pListBox->GetSelItems(1, &nRow) == 1 ? nRow : -1;
}

static void SelectOnly(CListBox* pList, int nIndex) {
  if ((pList->GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) == 0) {
    pList->SetCurSel(nIndex);
  } else {
    pList->SetSel(-1, FALSE);
    if (nIndex >= 0) pList->SetSel(nIndex, TRUE);
    pList->SetCaretIndex(nIndex);
  }
}

void SECListBoxEditor::EnsureSelection() {
  if (m_pListBox == nullptr) return;
  if (SelectedRow() < 0 && m_pListBox->GetCount() > 0) SelectOnly(m_pListBox, m_pListBox->GetCount() - 1);
  NotifySelChange();
}

// ---- item operations ----

void SECListBoxEditor::OnItemChanged(int nIndex, const CString& strOld, const CString& strNew) {
  CString strText = strNew;
  strText.Trim();
  if (strText.IsEmpty()) {
    // The row goes as the entry it was, so that the deletion names it.
    ReplaceRow(nIndex, strOld);
    if (!DeleteItem(nIndex)) ReplaceRow(nIndex, strNew);
  } else if ((m_dwStyle & LBE_NOTRAILINGBLANK) == 0 && nIndex == m_pListBox->GetCount() - 1) {
    m_pListBox->InsertString(-1, "");
  }
}

void SECListBoxEditor::OnItemAdded(int nIndex, const CString& strText) {
  CString strTrimmed = strText;
  strTrimmed.Trim();
  if (strTrimmed.IsEmpty()) DeleteItem(nIndex);
}

void SECListBoxEditor::OnItemMoved(int nFrom, int nTo, const CString&) {
  m_nLastIndex = nFrom;
  m_nSecondIndex = nTo;
  Notify(LBEN_ITEMMOVED, TRUE);
}

BOOL SECListBoxEditor::DeleteItem(int nIndex) {
  if (m_pListBox == nullptr || nIndex < 0 || nIndex >= m_pListBox->GetCount()) return FALSE;
  if (HasTrailingRow() && nIndex == m_pListBox->GetCount() - 1) return FALSE;
  CString strText;
  m_pListBox->GetText(nIndex, strText);
  if (!CanDeleteItem(strText)) return FALSE;
  m_pListBox->SetRedraw(FALSE);
  m_pListBox->DeleteString(nIndex);
  if ((m_pListBox->GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) == 0)
    m_pListBox->SetCurSel(std::min(nIndex, m_pListBox->GetCount() - 1));
  m_pListBox->SetRedraw(TRUE);
  m_pListBox->Invalidate();
  m_nLastIndex = nIndex;
  OnItemDeleted(nIndex, strText);
  Notify(LBEN_ITEMDELETED, TRUE);
  return TRUE;
}

void SECListBoxEditor::OnDelete() {
  if (m_pListBox == nullptr || m_pEdit != nullptr) return;
  if ((m_pListBox->GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) == 0) {
    DeleteItem(m_pListBox->GetCurSel());
    return;
  }
  for (int nRow = SelectedRow(); nRow >= 0 && DeleteItem(nRow);) nRow = SelectedRow();
}

void SECListBoxEditor::MoveItemUp(int nIndex) {
  CString strText;
  m_pListBox->GetText(nIndex, strText);
  const DWORD_PTR dwData = m_pListBox->GetItemData(nIndex);
  m_pListBox->DeleteString(nIndex);
  m_pListBox->InsertString(nIndex - 1, strText);
  m_pListBox->SetItemData(nIndex - 1, dwData);
}

void SECListBoxEditor::OnMoveUp() {
  if (m_pListBox == nullptr || m_pEdit != nullptr) return;
  if ((m_pListBox->GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0 && m_pListBox->GetSelCount() != 1) return;
  const int nRow = SelectedRow();
  // The trailing empty row stays where it is.
  if (nRow <= 0 || (HasTrailingRow() && nRow == m_pListBox->GetCount() - 1)) return;
  m_pListBox->SetRedraw(FALSE);
  MoveItemUp(nRow);
  SelectOnly(m_pListBox, nRow - 1);
  m_pListBox->SetRedraw(TRUE);
  m_pListBox->Invalidate();
  OnItemMoved(nRow, nRow - 1);
}

void SECListBoxEditor::OnMoveDown() {
  if (m_pListBox == nullptr || m_pEdit != nullptr) return;
  if ((m_pListBox->GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0 && m_pListBox->GetSelCount() != 1) return;
  const int nRow = SelectedRow();
  const int nLastReal = m_pListBox->GetCount() - (HasTrailingRow() ? 2 : 1);
  if (nRow < 0 || nRow >= nLastReal) return;
  m_pListBox->SetRedraw(FALSE);
  MoveItemUp(nRow + 1);
  SelectOnly(m_pListBox, nRow + 1);
  m_pListBox->SetRedraw(TRUE);
  m_pListBox->Invalidate();
  OnItemMoved(nRow, nRow + 1);
}

void SECListBoxEditor::ReplaceRow(int nIndex, const CString& strText) {
  const DWORD_PTR dwData = m_pListBox->GetItemData(nIndex);
  m_pListBox->SetRedraw(FALSE);
  m_pListBox->InsertString(nIndex, strText);
  m_pListBox->SetItemData(nIndex, dwData);
  m_pListBox->DeleteString(nIndex + 1);
  m_pListBox->SetRedraw(TRUE);
  m_pListBox->Invalidate();
  SelectOnly(m_pListBox, nIndex);
}

// ---- editing ----

void SECListBoxEditor::OnNew() {
  if (m_pListBox == nullptr || m_pEdit != nullptr) return;
  int nRow = m_pListBox->GetCount() - 1;
  if (!HasTrailingRow()) nRow = m_pListBox->InsertString(-1, "");
  m_strEditStart.Empty();
  StartEdit(nRow, TRUE, 0);
  m_bAddingNewItem = TRUE;
}

void SECListBoxEditor::BeginEdit(UINT nChar) {
  if (m_pListBox == nullptr || m_pEdit != nullptr) return;
  if ((nChar == ' ' || nChar == '\b') && m_bAutoAdvance) {
    MoveFocusFromList(nChar == '\b');
    return;
  }
  const int nRow = SelectedRow();
  if (nRow < 0) return;
  m_pListBox->GetText(nRow, m_strEditStart);
  StartEdit(nRow, FALSE, nChar == ' ' || nChar == '\b' ? 0 : nChar);
}

void SECListBoxEditor::StartEdit(int nIndex, BOOL bNew, UINT nChar) {
  NotifySelChange();
  m_nSelBeforeEdit = SelectedRow();
  SelectOnly(m_pListBox, nIndex);
  m_nEditRow = nIndex;
  m_bEditCancelled = FALSE;
  m_bAddingNewItem = bNew;
  CRect rc;
  m_pListBox->GetItemRect(nIndex, &rc);
  rc.InflateRect(0, 2);
  CRect rcBrowse;
  if ((m_dwStyle & LBE_BROWSE) != 0) {
    CClientDC dc(m_pListBox);
    CFont* pOld = dc.SelectObject(m_pListBox->GetFont());
    const int nBrowse = dc.GetTextExtent("...").cx +
                        2 * (::GetSystemMetrics(SM_CXBORDER) + dc.GetTextExtent(" ").cx);
    dc.SelectObject(pOld);
    rcBrowse = rc;
    rc.right -= nBrowse;
    rcBrowse.left = rc.right;
  }
  m_pEdit = new SECListBoxEdit(this);
  if (!m_pEdit->Create(WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, rc, m_pListBox, LBE_IDC_EDIT)) {
    delete m_pEdit;
    m_pEdit = nullptr;
    return;
  }
  m_pEdit->SetFont(m_pListBox->GetFont());
  if (nChar != 0) {
    // The typed character goes to the edit as typed, once it has the focus: a lead byte of a
    // double-byte character waits there for its trail byte, which the next character brings.
    m_pEdit->SetWindowText("");
  } else {
    CString strText;
    m_pListBox->GetText(nIndex, strText);
    m_pEdit->SetWindowText(strText);
    m_pEdit->SetSel(0, -1);
  }
  if ((m_dwStyle & LBE_BROWSE) != 0) {
    m_wndBrowse.Create("...", WS_CHILD | WS_VISIBLE, rcBrowse, m_pListBox, LBE_IDC_BROWSE);
    m_wndBrowse.SetFont(m_pListBox->GetFont());
  }
  m_pEdit->ShowWindow(SW_SHOW);
  m_pEdit->SetFocus();
  if (nChar != 0) m_pEdit->SendMessage(WM_CHAR, nChar, 0);
  OnEditingStarted();
}

void SECListBoxEditor::EndEdit() {
  if (m_pEdit == nullptr) return;
  SECListBoxEdit* pEdit = m_pEdit;
  m_pEdit = nullptr;  // the edit's focus loss while it goes must not commit again
  if (m_wndBrowse.GetSafeHwnd() != nullptr) m_wndBrowse.DestroyWindow();
  if (pEdit->GetSafeHwnd() != nullptr) pEdit->DestroyWindow();
  delete pEdit;
  const int nRow = SelectedRow();
  if (nRow >= 0 && !m_bEditCancelled) {
    CString strNow;
    m_pListBox->GetText(nRow, strNow);
    const BOOL bTrailing = (m_dwStyle & LBE_NOTRAILINGBLANK) == 0 && nRow == m_pListBox->GetCount() - 1;
    if (bTrailing) {
      if (strNow != m_strEditStart && !m_strEditStart.IsEmpty()) {
        OnItemChanged(nRow, m_strEditStart, strNow);
      } else {
        OnItemAdded(nRow, strNow);
        if (!strNow.IsEmpty() && m_pListBox->GetTextLen(m_pListBox->GetCount() - 1) > 0)
          m_pListBox->InsertString(-1, "");
      }
    } else if (!m_bAddingNewItem) {
      if (strNow != m_strEditStart) OnItemChanged(nRow, m_strEditStart, strNow);
    } else {
      OnItemAdded(nRow, strNow);
    }
  }
  m_bAddingNewItem = FALSE;
  m_nEditRow = -1;
  EnsureSelection();
  if (m_pListBox->GetSafeHwnd() != nullptr && ::GetFocus() == nullptr) m_pListBox->SetFocus();
  OnEditingStopped();
}

BOOL SECListBoxEditor::RemoveNewItem() {
  if (!m_bAddingNewItem || m_nEditRow < 0) return FALSE;
  const int nRow = m_nEditRow;
  m_bEditCancelled = TRUE;
  // The trailing empty row reused by New stays.
  if (!(HasTrailingRow() && nRow == m_pListBox->GetCount() - 1)) m_pListBox->DeleteString(nRow);
  SelectOnly(m_pListBox, std::min(m_nSelBeforeEdit, m_pListBox->GetCount() - 1));
  EndEdit();
  return TRUE;
}

void SECListBoxEditor::MoveFocusFromList(BOOL bPrevious) {
  CWnd* pDialog = m_pListBox->GetParent();
  const HWND hNext = ::GetNextDlgTabItem(pDialog->GetSafeHwnd(), m_pListBox->GetSafeHwnd(), bPrevious);
  if (hNext == nullptr) return;
  ::SetFocus(hNext);
  char szClass[16] = {};
  ::GetClassName(hNext, szClass, sizeof(szClass));
  if (::lstrcmpi(szClass, "Edit") == 0) ::SendMessage(hNext, EM_SETSEL, 0, -1);
}
