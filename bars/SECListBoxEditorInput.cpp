// The list box editor's input: the list box's keys and clicks, the in-place edit's keys, the
// drag of a row to another place and a picture button held down.
#include <algorithm>

#include "bars/SECListBoxEditor.h"

namespace {

BOOL IsMultipleSel(const CListBox* pList) {
  return (pList->GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

// Runs one message of a tracking loop: the thread's pre-translation, else dispatch. FALSE when the
// queue had nothing (after waiting for the next message).
BOOL PumpOne(MSG& msg) {
  if (!::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::WaitMessage();
    return FALSE;
  }
  return TRUE;
}

void Dispatch(MSG& msg) {
  CWinThread* pThread = AfxGetThread();
  if (pThread != nullptr && pThread->PreTranslateMessage(&msg)) return;
  ::TranslateMessage(&msg);
  ::DispatchMessage(&msg);
}

}  // namespace

// ---- the list box ----

IMPLEMENT_DYNAMIC(SECListBoxEditorHelper, CListBox)

BEGIN_MESSAGE_MAP(SECListBoxEditorHelper, CListBox)
  ON_WM_CHAR()
  ON_WM_KEYDOWN()
  ON_WM_SYSKEYDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_LBUTTONDOWN()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_MESSAGE(LBE_WM_EDITCANCELLED, OnEditCancelled)
END_MESSAGE_MAP()

void SECListBoxEditorHelper::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  const BOOL bCtrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
  if ((m_pEditor->m_dwStyle & LBE_AUTOEDIT) != 0 && !bCtrl && (nChar >= ' ' || nChar == '\b')) {
    m_pEditor->BeginEdit(nChar);
    return;
  }
  CListBox::OnChar(nChar, nRepCnt, nFlags);
}

void SECListBoxEditorHelper::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  const DWORD dwStyle = m_pEditor->m_dwStyle;
  if ((dwStyle & LBE_SHORTCUTS) != 0 && nChar == VK_INSERT) {
    m_pEditor->OnNew();
  } else if ((dwStyle & LBE_SHORTCUTS) != 0 && nChar == VK_DELETE) {
    m_pEditor->OnDelete();
  } else if ((dwStyle & LBE_BROWSE) != 0 && nChar == VK_F2) {
    m_pEditor->BeginEdit(0);
  } else {
    CListBox::OnKeyDown(nChar, nRepCnt, nFlags);
  }
}

void SECListBoxEditorHelper::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  const DWORD dwStyle = m_pEditor->m_dwStyle;
  if ((dwStyle & LBE_SHORTCUTS) != 0 && nChar == VK_UP)
    m_pEditor->OnMoveUp();
  else if ((dwStyle & LBE_SHORTCUTS) != 0 && nChar == VK_DOWN)
    m_pEditor->OnMoveDown();
  else
    CListBox::OnSysKeyDown(nChar, nRepCnt, nFlags);
}

void SECListBoxEditorHelper::OnLButtonDblClk(UINT, CPoint) { m_pEditor->BeginEdit(0); }

void SECListBoxEditorHelper::OnLButtonDown(UINT nFlags, CPoint point) {
  m_bFocusLost = FALSE;
  if (SECListBoxEdit* pEdit = m_pEditor->m_pEdit) {
    if (pEdit->GetWindowTextLength() > 0) {
      pEdit->Commit();
    } else {
      pEdit->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    }
    if (m_bFocusLost) {
      m_bFocusLost = FALSE;
      return;
    }
  }
  const int nBefore = m_pEditor->SelectedRow();
  CListBox::OnLButtonDown(nFlags, point);
  if ((m_pEditor->m_dwStyle & LBE_DRAGNDROP) != 0) {
    SECListBoxDragWnd drag(this);
    // Only a trailing empty row is kept in its place.
    drag.m_bKeepLastRow = m_pEditor->HasTrailingRow();
    int nFrom = -2, nTo = -2;
    if (drag.Track(point, nFrom, nTo)) {
      CString strText;
      GetText(nTo, strText);
      m_pEditor->OnItemMoved(nFrom, nTo, strText);
    }
  }
  const int nAfter = m_pEditor->SelectedRow();
  if (nBefore >= 0 && nAfter != nBefore) m_pEditor->NotifySelChange();
}

void SECListBoxEditorHelper::OnSetFocus(CWnd* pOldWnd) {
  CListBox::OnSetFocus(pOldWnd);
  m_pEditor->SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(pOldWnd->GetSafeHwnd()));
}

void SECListBoxEditorHelper::OnKillFocus(CWnd* pNewWnd) {
  CListBox::OnKillFocus(pNewWnd);
  m_pEditor->SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(pNewWnd->GetSafeHwnd()));
  m_bFocusLost = TRUE;
}

BOOL SECListBoxEditorHelper::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == LBE_IDC_BROWSE && HIWORD(wParam) == BN_CLICKED) {
    m_pEditor->OnBrowse();
    return TRUE;
  }
  return CListBox::OnCommand(wParam, lParam);
}

BOOL SECListBoxEditorHelper::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
  if (pHeader != nullptr && pHeader->idFrom == LBE_IDC_EDIT && pHeader->code == LBE_NM_ENDEDIT) {
    m_pEditor->EndEdit();
    if (pResult != nullptr) *pResult = TRUE;
    return TRUE;
  }
  return CListBox::OnNotify(wParam, lParam, pResult);
}

LRESULT SECListBoxEditorHelper::OnEditCancelled(WPARAM wParam, LPARAM) {
  m_pEditor->m_bEditCancelled = static_cast<BOOL>(wParam);
  return 0;
}

// ---- the in-place edit ----

IMPLEMENT_DYNAMIC(SECListBoxEdit, CEdit)

BEGIN_MESSAGE_MAP(SECListBoxEdit, CEdit)
  ON_WM_GETDLGCODE()
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
  ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

UINT SECListBoxEdit::OnGetDlgCode() { return CEdit::OnGetDlgCode() | DLGC_WANTALLKEYS; }

void SECListBoxEdit::Finish(BOOL bCancel) {
  CListBox* pList = m_pEditor->m_pListBox;
  if (bCancel) {
    if (m_pEditor->m_bAddingNewItem) {
      m_pEditor->RemoveNewItem();
      return;
    }
    pList->SendMessage(LBE_WM_EDITCANCELLED, TRUE);
  } else {
    CString strText;
    GetWindowText(strText);
    m_pEditor->ReplaceRow(m_pEditor->m_nEditRow, strText);
  }
  NMHDR header{GetSafeHwnd(), LBE_IDC_EDIT, LBE_NM_ENDEDIT};
  pList->SendMessage(WM_NOTIFY, LBE_IDC_EDIT, reinterpret_cast<LPARAM>(&header));
}

void SECListBoxEdit::Commit() { Finish(FALSE); }

void SECListBoxEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  CListBox* pList = m_pEditor->m_pListBox;
  pList->SendMessage(LBE_WM_EDITCANCELLED, FALSE);
  switch (nChar) {
    case VK_RETURN:
      Finish(FALSE);
      return;
    case VK_ESCAPE:
      Finish(TRUE);
      return;
    case VK_F2:
      if (m_pEditor->m_wndBrowse.GetSafeHwnd() != nullptr) {
        m_pEditor->m_wndBrowse.SetFocus();
        pList->PostMessage(WM_COMMAND, MAKEWPARAM(LBE_IDC_BROWSE, BN_CLICKED),
                           reinterpret_cast<LPARAM>(m_pEditor->m_wndBrowse.GetSafeHwnd()));
        return;
      }
      break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
      Finish(FALSE);
      pList->PostMessage(WM_KEYDOWN, nChar, 0);
      return;
    case VK_TAB: {
      const BOOL bBack = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
      SECListBoxEditor* pEditor = m_pEditor;
      Finish(FALSE);
      pEditor->MoveFocusFromList(bBack);
      return;
    }
    default:
      break;
  }
  CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void SECListBoxEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == '\r' || nChar == '\x1b' || nChar == '\t') return;  // done by the key handler
  if (nChar == ' ' && m_pEditor->IsAutoAdvance()) {
    CString strText;
    GetWindowText(strText);
    CString strTrimmed = strText;
    strTrimmed.TrimRight();
    int nStart = 0, nEnd = 0;
    GetSel(nStart, nEnd);
    if (nStart - strTrimmed.GetLength() >= m_pEditor->GetAutoAdvanceLength() - 1) {
      SECListBoxEditor* pEditor = m_pEditor;
      Finish(FALSE);
      pEditor->MoveFocusFromList(FALSE);
      return;
    }
  }
  CEdit::OnChar(nChar, nRepCnt, nFlags);
}

void SECListBoxEdit::OnKillFocus(CWnd* pNewWnd) {
  CEdit::OnKillFocus(pNewWnd);
  if (m_pEditor->m_pEdit != this || !IsWindowVisible()) return;
  if (pNewWnd != nullptr && pNewWnd->GetSafeHwnd() == m_pEditor->m_wndBrowse.GetSafeHwnd()) return;
  Finish(FALSE);
}

// ---- dragging a row ----

IMPLEMENT_DYNAMIC(SECListBoxDragWnd, CWnd)

SECListBoxDragWnd::SECListBoxDragWnd(CListBox* pListBox) : m_pListBox(pListBox) {}

int SECListBoxDragWnd::DropPlace(CPoint point) const {
  const int nCount = m_pListBox->GetCount();
  int nPlace = -1;
  for (int i = std::max(0, m_pListBox->GetTopIndex()); i < nCount; ++i) {
    CRect rc;
    m_pListBox->GetItemRect(i, &rc);
    if (point.y < rc.top) {
      nPlace = i;
      break;
    }
    if (point.y < rc.bottom) {
      nPlace = point.y < rc.top + rc.Height() / 2 ? i : i + 1;
      break;
    }
  }
  if (nPlace >= nCount) nPlace = -1;
  // Nothing goes after a kept last row.
  if (m_bKeepLastRow && (nPlace == -1 || nPlace > nCount - 1)) nPlace = nCount - 1;
  return nPlace;
}

int SECListBoxDragWnd::MarkerY(int nPlace) const {
  const int nCount = m_pListBox->GetCount();
  CRect rc;
  if (nPlace >= 0 && nPlace < nCount) {
    m_pListBox->GetItemRect(nPlace, &rc);
    return rc.top;
  }
  m_pListBox->GetItemRect(nCount - 1, &rc);
  return rc.bottom;
}

void SECListBoxDragWnd::DrawMarker(int nPlace) {
  if (nPlace == -2) return;
  CRect rcRow;
  m_pListBox->GetItemRect(0, &rcRow);
  const int y = MarkerY(nPlace) + 1;
  CClientDC dc(m_pListBox);
  CPen pen(PS_SOLID, 1, RGB(0x80, 0x80, 0x80));
  CPen* pOld = dc.SelectObject(&pen);
  const int nOldRop = dc.SetROP2(R2_NOTXORPEN);
  dc.MoveTo(rcRow.left + 2, y);
  dc.LineTo(rcRow.right + 1, y);
  dc.SetROP2(nOldRop);
  dc.SelectObject(pOld);
  m_nMarkerY = y;
}

void SECListBoxDragWnd::OnMove(CPoint point) {
  if (!m_bStarted) {
    const int dx = point.x - m_ptStart.x, dy = point.y - m_ptStart.y;
    const int cx = ::GetSystemMetrics(SM_CXDOUBLECLK), cy = ::GetSystemMetrics(SM_CYDOUBLECLK);
    if (dx * dx + dy * dy <= cx * cx + cy * cy) return;
    m_bStarted = TRUE;
    if (m_hDragCursor != nullptr) ::SetCursor(m_hDragCursor);
  }
  const int nPlace = DropPlace(point);
  if (nPlace != m_nTo) {
    DrawMarker(m_nTo);  // erases the old one
    DrawMarker(nPlace);
    m_nTo = nPlace;
  }
  const DWORD dwNow = ::GetTickCount();
  if (dwNow - m_dwStart < m_dwDropDelay) return;
  CRect rcClient;
  m_pListBox->GetClientRect(&rcClient);
  UINT nDir = 0;
  if (point.x < rcClient.left) nDir |= 1;
  if (point.y < rcClient.top) nDir |= 2;
  if (point.x >= rcClient.right) nDir |= 4;
  if (point.y >= rcClient.bottom) nDir |= 8;
  if (nDir != 0 && m_nScrollDir == 0) {
    m_dwInterval = m_dwInitialInterval;
    m_dwLastScroll = dwNow;
  }
  m_nScrollDir = nDir;
}

void SECListBoxDragWnd::AutoScroll() {
  if ((m_nScrollDir & (2 | 8)) == 0 || !m_bStarted) return;
  const DWORD dwNow = ::GetTickCount();
  if (dwNow - m_dwLastScroll < m_dwInterval) return;
  m_dwLastScroll = dwNow;
  const int nTop = m_pListBox->GetTopIndex();
  const int nCount = m_pListBox->GetCount();
  CRect rcClient, rcRow;
  m_pListBox->GetClientRect(&rcClient);
  m_pListBox->GetItemRect(0, &rcRow);
  const int nVisible = std::max(1, rcClient.Height() / std::max(1, rcRow.Height()));
  int nNewTop = nTop;
  if ((m_nScrollDir & 2) != 0) nNewTop = std::max(0, nTop - 1);
  if ((m_nScrollDir & 8) != 0) nNewTop = std::min(std::max(0, nCount - nVisible), nTop + 1);
  if (nNewTop != nTop) {
    DrawMarker(m_nTo);
    m_nTo = -2;
    m_pListBox->SetTopIndex(nNewTop);
    m_pListBox->UpdateWindow();
    m_nTo = (m_nScrollDir & 2) != 0 ? nNewTop : std::min(nCount - 1, nNewTop + nVisible - 1);
    if (m_bKeepLastRow) m_nTo = std::min(m_nTo, nCount - 1);
    DrawMarker(m_nTo);
  }
  m_dwInterval = std::max(m_dwMinInterval, m_dwInterval > m_dwIntervalStep ? m_dwInterval - m_dwIntervalStep : 0);
}

BOOL SECListBoxDragWnd::Drop() {
  int nTo = m_nTo;
  const int nFrom = m_nFrom;
  const int nCount = m_pListBox->GetCount();
  if (nTo == -1) nTo = m_bKeepLastRow ? nCount - 1 : nCount;
  if (nTo > nFrom) --nTo;
  if (nTo == nFrom) return FALSE;
  CString strText;
  m_pListBox->GetText(nFrom, strText);
  const DWORD_PTR dwData = m_pListBox->GetItemData(nFrom);
  const int nTop = m_pListBox->GetTopIndex();
  m_pListBox->SetRedraw(FALSE);
  m_pListBox->DeleteString(nFrom);
  m_pListBox->InsertString(nTo, strText);
  m_pListBox->SetItemData(nTo, dwData);
  if (IsMultipleSel(m_pListBox)) {
    m_pListBox->SetSel(-1, FALSE);
    m_pListBox->SetSel(nTo, TRUE);
  } else {
    m_pListBox->SetCurSel(nTo);
  }
  m_pListBox->SetTopIndex(nTop);
  m_pListBox->SetRedraw(TRUE);
  m_pListBox->Invalidate();
  m_nTo = nTo;
  return TRUE;
}

BOOL SECListBoxDragWnd::Track(CPoint point, int& nFrom, int& nTo) {
  const int nSel = IsMultipleSel(m_pListBox) ? m_pListBox->GetCaretIndex() : m_pListBox->GetCurSel();
  const int nCount = m_pListBox->GetCount();
  if (nSel < 0 || nSel >= nCount || (m_bKeepLastRow && nSel == nCount - 1)) return FALSE;
  static const char kClass[] = "SECListBoxDragWnd";
  WNDCLASS wc{};
  if (!::GetClassInfo(AfxGetInstanceHandle(), kClass, &wc)) {
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kClass;
    if (!::RegisterClass(&wc)) AfxThrowResourceException();
  }
  if (!CreateEx(0, kClass, "", WS_POPUP, CRect(0, 0, 0, 0), m_pListBox, 0)) return FALSE;
  m_nFrom = nSel;
  m_nTo = -2;
  m_bDragging = TRUE;
  m_ptStart = point;
  m_dwStart = ::GetTickCount();
  m_dwInterval = m_dwInitialInterval;
  const HCURSOR hSaved = ::GetCursor();
  SetCapture();
  SetTimer(1, m_dwMinInterval, nullptr);
  MSG msg;
  while (m_bDragging) {
    if (::GetCapture() != m_hWnd) {
      m_bCancelled = TRUE;
      break;
    }
    if (!PumpOne(msg)) continue;
    switch (msg.message) {
      case WM_QUIT:
        m_bCancelled = TRUE;
        m_bDragging = FALSE;
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      case WM_MOUSEMOVE: {
        CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
        ::MapWindowPoints(msg.hwnd, m_pListBox->GetSafeHwnd(), &pt, 1);
        OnMove(pt);
        AutoScroll();
        break;
      }
      case WM_LBUTTONUP:
        m_bDragging = FALSE;
        break;
      case WM_TIMER:
        if (msg.hwnd == m_hWnd) {
          AutoScroll();
          break;
        }
        Dispatch(msg);
        break;
      case WM_KEYDOWN:
      case WM_KEYUP:
        if (msg.wParam == VK_ESCAPE) {
          m_bCancelled = TRUE;
          m_bDragging = FALSE;
        }
        break;
      case WM_CHAR:
      case WM_SYSKEYDOWN:
      case WM_SYSKEYUP:
      case WM_SYSCHAR:
        break;
      default:
        Dispatch(msg);
        break;
    }
  }
  KillTimer(1);
  DrawMarker(m_nTo);
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  DestroyWindow();
  ::SetCursor(hSaved);
  const BOOL bDropped = !m_bCancelled && m_bStarted && ::GetTickCount() - m_dwStart > m_dwDropDelay &&
                        m_nTo != -2 && m_nTo != m_nFrom && Drop();
  nFrom = m_nFrom;
  nTo = m_nTo;
  return bDropped;
}

// ---- a picture button held down ----

IMPLEMENT_DYNAMIC(SECFakeButton, CWnd)

void SECFakeButton::Show(CWnd* pStrip, const CRect& rcButton, CBitmap* pBitmap) {
  if (pBitmap == nullptr || pBitmap->GetSafeHandle() == nullptr) return;
  CClientDC dc(pStrip);
  CDC memDC;
  memDC.CreateCompatibleDC(&dc);
  CBitmap* pOld = memDC.SelectObject(pBitmap);
  dc.BitBlt(rcButton.left, rcButton.top, rcButton.Width(), rcButton.Height(), &memDC, 0, 0, SRCCOPY);
  memDC.SelectObject(pOld);
}

BOOL SECFakeButton::Track(CWnd* pStrip, const CRect& rcButton, CBitmap* pNormal, CBitmap* pPressed) {
  if (!CreateEx(0, "STATIC", "", WS_CHILD, rcButton, pStrip, 0xFFFF)) return FALSE;
  SetCapture();
  BOOL bOver = TRUE;
  Show(pStrip, rcButton, pPressed);
  BOOL bTracking = TRUE;
  MSG msg;
  while (bTracking && ::GetCapture() == m_hWnd) {
    if (!PumpOne(msg)) continue;
    switch (msg.message) {
      case WM_QUIT:
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        bOver = FALSE;
        bTracking = FALSE;
        break;
      case WM_MOUSEMOVE:
      case WM_LBUTTONUP: {
        CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
        ::MapWindowPoints(msg.hwnd, pStrip->GetSafeHwnd(), &pt, 1);
        const BOOL bNowOver = rcButton.PtInRect(pt);
        if (bNowOver != bOver) Show(pStrip, rcButton, bNowOver ? pPressed : pNormal);
        bOver = bNowOver;
        if (msg.message == WM_LBUTTONUP) bTracking = FALSE;
        break;
      }
      default:
        Dispatch(msg);
        break;
    }
  }
  if (bTracking) bOver = FALSE;  // the capture went elsewhere
  Show(pStrip, rcButton, pNormal);
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  DestroyWindow();
  return bOver;
}
