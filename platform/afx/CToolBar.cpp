// CToolBar: buttons from a bitmap strip in rows that wrap after separators first, sized by
// halving the row length until the bar fits; pressing, checking, hot tracking, drop-down buttons,
// texts, and the classic drawing of faces, checked dither and embossed disabled images.
#include "afx/CToolBar.h"

#include <algorithm>
#include <cstring>

#include "afx/AfxResources.h"
#include "afx/CWinApp.h"
#include "afx/ResourceImages.h"
#include "afx/WindowDCs.h"
#include "gdi/ClassicLook.h"

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

namespace {

// A separator's width; wrapped, two thirds of it is the gap between rows.
constexpr int kSeparator = 8;
int SeparatorGap(const TBBUTTON& button) { return button.iBitmap * 2 / 3; }
bool IsSeparator(const TBBUTTON& button) { return (button.fsStyle & TBSTYLE_SEP) != 0; }
bool IsHidden(const TBBUTTON& button) { return (button.fsState & TBSTATE_HIDDEN) != 0; }
// The arrow part of a drop-down button drawn apart (TBSTYLE_EX_DRAWDDARROWS).
constexpr int kDropArrow = 13;


}  // namespace

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_LBUTTONUP()
  ON_WM_MOUSEMOVE()
  ON_WM_MOUSELEAVE()
  ON_WM_CAPTURECHANGED()
  ON_WM_SIZE()
  ON_MESSAGE(TB_SETEXTENDEDSTYLE, OnSetExtendedStyle)
  ON_MESSAGE(TB_GETEXTENDEDSTYLE, OnGetExtendedStyle)
  ON_MESSAGE(TB_BUTTONCOUNT, OnButtonCount)
  ON_MESSAGE(TB_GETITEMRECT, OnGetItemRect)
  ON_MESSAGE(TB_GETRECT, OnGetRect)
END_MESSAGE_MAP()

CToolBar::CToolBar() {
  m_cxLeftBorder = m_cxRightBorder = 2;
  m_cyTopBorder = m_cyBottomBorder = 1;
}

CToolBar::~CToolBar() {
  if (m_hbmImageWell != nullptr) ::DeleteObject(m_hbmImageWell);
  if (m_hbmMask != nullptr) ::DeleteObject(m_hbmMask);
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  return CreateEx(pParentWnd, 0, dwStyle, CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID) {
  m_dwStyle = dwStyle & CBRS_ALL;
  m_dwCtrlStyle = dwCtrlStyle;
  m_cxLeftBorder = rcBorders.left;
  m_cyTopBorder = rcBorders.top;
  m_cxRightBorder = rcBorders.right;
  m_cyBottomBorder = rcBorders.bottom;
  if (!AfxDeferRegisterClass(AFX_WNDCONTROLBAR_REG)) return FALSE;
  DWORD windowStyle = (dwStyle & ~static_cast<DWORD>(CBRS_ALL)) | WS_CHILD | WS_CLIPSIBLINGS;
  return CWnd::Create(AFX_WNDCONTROLBAR, nullptr, windowStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

void CToolBar::SetToolBarCtrlStyle(DWORD dwStyle) {
  m_dwCtrlStyle = dwStyle;
  Invalidate();
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
  // The button keeps room for its edges around the image.
  m_sizeImage = sizeImage;
  m_sizeButton = CSize(std::max<LONG>(sizeButton.cx, sizeImage.cx + 7), std::max<LONG>(sizeButton.cy, sizeImage.cy + 6));
  if (m_hbmMask != nullptr) {
    ::DeleteObject(m_hbmMask);
    m_hbmMask = nullptr;
  }
  if (m_hWnd != nullptr) Invalidate();
}

void CToolBar::SetHeight(int cyHeight) {
  m_cyHeight = cyHeight;
  if (m_hWnd != nullptr) Invalidate();
}

BOOL AfxLoadToolBarResource(LPCTSTR lpszResourceName, SIZE& sizeImage, std::vector<UINT>& ids) {
  HINSTANCE module = AfxFindResourceHandle(lpszResourceName, RT_TOOLBAR);
  HRSRC resource = ::FindResource(module, lpszResourceName, RT_TOOLBAR);
  if (resource == nullptr) return FALSE;
  HGLOBAL loaded = ::LoadResource(module, resource);
  DWORD size = ::SizeofResource(module, resource);
  auto* data = static_cast<const BYTE*>(::LockResource(loaded));
  if (data == nullptr) return FALSE;
  // Two layouts exist: the standard one of 16-bit fields after version 1, and the one this build's
  // resource compiler writes, 32-bit fields without a version. The size tells them apart; a
  // resource shorter than its count claims is refused rather than read past its end.
  auto word = [data](size_t at) {
    WORD value;
    std::memcpy(&value, data + at, sizeof(value));
    return static_cast<UINT>(value);
  };
  auto dword = [data](size_t at) {
    DWORD value;
    std::memcpy(&value, data + at, sizeof(value));
    return static_cast<UINT>(value);
  };
  UINT width = 0, height = 0;
  ids.clear();
  if (size >= 8 && word(0) == 1 && size >= 8 + word(6) * sizeof(WORD)) {
    width = word(2);
    height = word(4);
    for (UINT i = 0; i < word(6); ++i) ids.push_back(word(8 + i * sizeof(WORD)));
  } else if (size >= 12 && dword(8) <= (size - 12) / sizeof(DWORD)) {
    width = dword(0);
    height = dword(4);
    for (UINT i = 0; i < dword(8); ++i) ids.push_back(dword(12 + i * sizeof(DWORD)));
  } else {
    return FALSE;
  }
  if (width == 0 || height == 0 || width > 256 || height > 256) return FALSE;
  sizeImage.cx = static_cast<LONG>(width);
  sizeImage.cy = static_cast<LONG>(height);
  return TRUE;
}

BOOL CToolBar::LoadToolBar(LPCTSTR lpszResourceName) {
  SIZE image;
  std::vector<UINT> ids;
  if (!AfxLoadToolBarResource(lpszResourceName, image, ids)) return FALSE;
  if (!SetButtons(ids.data(), static_cast<int>(ids.size()))) return FALSE;
  SetSizes(CSize(image.cx + 7, image.cy + 6), image);
  return LoadBitmap(lpszResourceName);
}
BOOL CToolBar::LoadBitmap(LPCTSTR lpszResourceName) {
  HINSTANCE module = AfxFindResourceHandle(lpszResourceName, RT_BITMAP);
  HRSRC resource = ::FindResource(module, lpszResourceName, RT_BITMAP);
  if (resource == nullptr) return FALSE;
  // Palette images take the system colours; a true-colour image is used as it is.
  HBITMAP bitmap = AfxLoadSysColorBitmap(module, resource);
  if (bitmap == nullptr) bitmap = ::LoadBitmap(module, lpszResourceName);
  return bitmap != nullptr && SetBitmap(bitmap);
}

BOOL CToolBar::SetBitmap(HBITMAP hbmImageWell) {
  if (m_hbmImageWell != nullptr && m_hbmImageWell != hbmImageWell) ::DeleteObject(m_hbmImageWell);
  m_hbmImageWell = hbmImageWell;
  if (m_hbmMask != nullptr) {
    ::DeleteObject(m_hbmMask);
    m_hbmMask = nullptr;
  }
  if (m_hWnd != nullptr) Invalidate();
  return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
  if (nIDCount < 0) return FALSE;
  m_buttons.assign(static_cast<size_t>(nIDCount), TBBUTTON{});
  m_texts.assign(static_cast<size_t>(nIDCount), CString());
  int image = 0;
  for (int i = 0; i < nIDCount; ++i) {
    TBBUTTON& button = m_buttons[static_cast<size_t>(i)];
    button.fsState = TBSTATE_ENABLED;
    UINT id = lpIDArray != nullptr ? lpIDArray[i] : 0;
    if (id == 0) {
      button.fsStyle = TBSTYLE_SEP;
      button.iBitmap = kSeparator;
    } else {
      button.fsStyle = TBSTYLE_BUTTON;
      button.idCommand = static_cast<int>(id);
      button.iBitmap = image++;
    }
  }
  m_nCount = nIDCount;
  m_nHot = m_nPressed = -1;
  if (m_hWnd != nullptr) {
    CommitLayout();
    Invalidate();
  }
  return TRUE;
}

// ---- buttons ----

int CToolBar::CommandToIndex(UINT nIDFind) const {
  for (size_t i = 0; i < m_buttons.size(); ++i)
    if (static_cast<UINT>(m_buttons[i].idCommand) == nIDFind) return static_cast<int>(i);
  return -1;
}

UINT CToolBar::GetItemID(int nIndex) const {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size())) return 0;
  return static_cast<UINT>(m_buttons[static_cast<size_t>(nIndex)].idCommand);
}

UINT CToolBar::GetButtonStyle(int nIndex) const {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size())) return 0;
  const TBBUTTON& button = m_buttons[static_cast<size_t>(nIndex)];
  return MAKELONG(button.fsStyle, button.fsState) ^ TBBS_DISABLED;
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle) {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size())) return;
  TBBUTTON& button = m_buttons[static_cast<size_t>(nIndex)];
  nStyle ^= TBBS_DISABLED;
  BYTE style = static_cast<BYTE>(LOWORD(nStyle));
  BYTE state = static_cast<BYTE>(HIWORD(nStyle));
  // The bar's own press survives an update of the button's state.
  if (nIndex == m_nPressed) state |= TBSTATE_PRESSED;
  if (button.fsStyle == style && button.fsState == state) return;
  const bool layoutChanged = ((button.fsStyle ^ style) & TBSTYLE_SEP) || ((button.fsState ^ state) & TBSTATE_HIDDEN);
  button.fsStyle = style;
  button.fsState = state;
  if (!(state & TBSTATE_ENABLED) && nIndex == m_nHot) m_nHot = -1;
  if (layoutChanged) {
    if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout();
    Invalidate();
  } else {
    InvalidateButton(nIndex);
  }
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size())) {
    nID = 0;
    nStyle = 0;
    iImage = 0;
    return;
  }
  const TBBUTTON& button = m_buttons[static_cast<size_t>(nIndex)];
  nID = static_cast<UINT>(button.idCommand);
  nStyle = GetButtonStyle(nIndex);
  iImage = button.iBitmap;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage) {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size())) return;
  TBBUTTON& button = m_buttons[static_cast<size_t>(nIndex)];
  bool sizeChanged = button.iBitmap != iImage && (button.fsStyle & TBSTYLE_SEP);
  button.idCommand = static_cast<int>(nID);
  // A separator's "image" is its width.
  button.iBitmap = iImage;
  SetButtonStyle(nIndex, nStyle);
  if (sizeChanged || (nStyle & TBBS_SEPARATOR)) {
    if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout();
  }
  Invalidate();
}

BOOL CToolBar::SetButtonText(int nIndex, LPCTSTR lpszText) {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size())) return FALSE;
  m_texts.resize(m_buttons.size());
  m_texts[static_cast<size_t>(nIndex)] = lpszText != nullptr ? lpszText : "";
  FitButtonsToTexts();
  if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout();
  if (m_hWnd != nullptr) Invalidate();
  return TRUE;
}

CString CToolBar::GetButtonText(int nIndex) const {
  if (nIndex < 0 || nIndex >= static_cast<int>(m_texts.size())) return CString();
  return m_texts[static_cast<size_t>(nIndex)];
}

void CToolBar::FitButtonsToTexts() {
  // As the toolbar control sizes its buttons: the image with 7 x 6 of edges, and the longest text
  // under it (beside it in the list look) with three pixels each side.
  CSize text(0, 0);
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  for (const CString& t : m_texts) {
    if (t.IsEmpty()) continue;
    SIZE extent{};
    ::GetTextExtentPoint32(dc, t, t.GetLength(), &extent);
    text.cx = std::max<LONG>(text.cx, extent.cx);
    text.cy = std::max<LONG>(text.cy, extent.cy);
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  if (text.cx == 0) return;
  CSize wanted = (m_dwCtrlStyle & TBSTYLE_LIST)
                     ? CSize(m_sizeImage.cx + text.cx + 7 + 6, std::max<LONG>(m_sizeImage.cy, text.cy) + 6)
                     : CSize(std::max<LONG>(m_sizeImage.cx + 7, text.cx + 6), m_sizeImage.cy + text.cy + 6 + 2);
  m_sizeButton.cx = std::max(m_sizeButton.cx, wanted.cx);
  m_sizeButton.cy = std::max(m_sizeButton.cy, wanted.cy);
}

bool CToolBar::HasDropArrow(const TBBUTTON& button) const {
  return (button.fsStyle & TBSTYLE_DROPDOWN) && !IsSeparator(button) && (m_dwExStyle & TBSTYLE_EX_DRAWDDARROWS);
}

int CToolBar::ButtonWidth(const TBBUTTON& button) const {
  if (IsSeparator(button)) return button.iBitmap;
  return m_sizeButton.cx + (HasDropArrow(button) ? kDropArrow : 0);
}

LRESULT CToolBar::OnSetExtendedStyle(WPARAM, LPARAM lParam) {
  DWORD previous = m_dwExStyle;
  m_dwExStyle = static_cast<DWORD>(lParam);
  if (previous != m_dwExStyle) {
    if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout();
    Invalidate();
  }
  return static_cast<LRESULT>(previous);
}

LRESULT CToolBar::OnGetExtendedStyle(WPARAM, LPARAM) { return static_cast<LRESULT>(m_dwExStyle); }

LRESULT CToolBar::OnButtonCount(WPARAM, LPARAM) { return static_cast<LRESULT>(m_buttons.size()); }

LRESULT CToolBar::OnGetItemRect(WPARAM wParam, LPARAM lParam) {
  int index = static_cast<int>(wParam);
  if (lParam == 0 || index < 0 || index >= static_cast<int>(m_buttons.size())) return FALSE;
  GetItemRect(index, reinterpret_cast<LPRECT>(lParam));
  return TRUE;
}

LRESULT CToolBar::OnGetRect(WPARAM wParam, LPARAM lParam) {
  int index = CommandToIndex(static_cast<UINT>(wParam));
  return index < 0 ? FALSE : OnGetItemRect(static_cast<WPARAM>(index), lParam);
}

// ---- layout ----

CSize CToolBar::CalcSize(TBBUTTON* pData, int nCount) {
  CPoint cur(0, 0);
  CSize size(0, 0);
  for (int i = 0; i < nCount; ++i) {
    const TBBUTTON& button = pData[i];
    if (IsHidden(button)) continue;
    if (IsSeparator(button)) {
      // A wrapped separator is a gap between rows, else a gap in its row.
      if (button.fsState & TBSTATE_WRAP)
        size.cy = std::max<LONG>(cur.y + m_sizeButton.cy + SeparatorGap(button), size.cy);
      else
        size.cx = std::max<LONG>(cur.x + button.iBitmap, size.cx);
    } else {
      size.cx = std::max<LONG>(cur.x + ButtonWidth(button), size.cx);
    }
    size.cy = std::max<LONG>(cur.y + m_sizeButton.cy, size.cy);
    cur.x += ButtonWidth(button);
    if (button.fsState & TBSTATE_WRAP) {
      cur.x = 0;
      cur.y += m_sizeButton.cy;
      if (IsSeparator(button)) cur.y += SeparatorGap(button);
    }
  }
  return size;
}

int CToolBar::WrapToolBar(TBBUTTON* pData, int nCount, int nWidth) {
  int rows = 0;
  int x = 0;
  for (int i = 0; i < nCount; ++i) {
    pData[i].fsState &= ~TBSTATE_WRAP;
    if (IsHidden(pData[i])) continue;
    int dx = ButtonWidth(pData[i]);
    if (x + dx <= nWidth) {
      x += dx;
      continue;
    }
    // Too long: the row ends at the last separator in it (a separator with an id is a control,
    // never a break), else before this button.
    auto breakAt = [&](int j) {
      i = j;
      x = 0;
      pData[j].fsState |= TBSTATE_WRAP;
      ++rows;
    };
    int at = -1;
    for (int j = i; j >= 0 && !(pData[j].fsState & TBSTATE_WRAP); --j) {
      if (IsSeparator(pData[j]) && pData[j].idCommand == 0 && !IsHidden(pData[j])) {
        at = j;
        break;
      }
    }
    if (at < 0) {
      for (int j = i - 1; j >= 0 && !(pData[j].fsState & TBSTATE_WRAP); --j) {
        if (IsHidden(pData[j]) || (IsSeparator(pData[j]) && pData[j].idCommand != 0)) continue;
        at = j;
        break;
      }
    }
    if (at >= 0) {
      breakAt(at);
    } else {
      x += dx;  // alone in its row: it stays there however long
    }
  }
  return rows + 1;
}

void CToolBar::SizeToolBar(TBBUTTON* pData, int nCount, int nLength, BOOL bVert) {
  if (nCount <= 0) return;
  if (!bVert) {
    // The fewest rows the width allows, at the narrowest width giving that many rows.
    int max = nLength;
    int target = WrapToolBar(pData, nCount, max);
    int min = 0;
    int current = WrapToolBar(pData, nCount, min);
    if (current != target) {
      while (min < max) {
        int mid = (min + max) / 2;
        current = WrapToolBar(pData, nCount, mid);
        if (current == target) {
          max = mid;
        } else {
          if (min == mid) {
            WrapToolBar(pData, nCount, max);
            break;
          }
          min = mid;
        }
      }
    }
    CSize size = CalcSize(pData, nCount);
    WrapToolBar(pData, nCount, size.cx);
    return;
  }
  // Upright: the widest layout whose height still fits nLength.
  WrapToolBar(pData, nCount, 0);
  CSize sizeMin = CalcSize(pData, nCount);
  WrapToolBar(pData, nCount, 32767);
  CSize sizeMax = CalcSize(pData, nCount);
  while (sizeMin.cx < sizeMax.cx) {
    CSize sizeMid;
    WrapToolBar(pData, nCount, (sizeMin.cx + sizeMax.cx) / 2);
    sizeMid = CalcSize(pData, nCount);
    if (nLength < sizeMid.cy) {
      if (sizeMin == sizeMid) {
        WrapToolBar(pData, nCount, sizeMax.cx);
        return;
      }
      sizeMin = sizeMid;
    } else if (nLength > sizeMid.cy) {
      if (sizeMax == sizeMid) {
        WrapToolBar(pData, nCount, sizeMin.cx);
        return;
      }
      sizeMax = sizeMid;
    } else {
      return;
    }
  }
}

CSize CToolBar::CalcLayout(DWORD dwMode, int nLength) {
  std::vector<TBBUTTON> data = m_buttons;
  const int count = static_cast<int>(data.size());
  CSize size(0, 0);
  if (count > 0) {
    if (!(m_dwStyle & CBRS_SIZE_FIXED)) {
      const bool dynamic = (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0;
      if (dynamic && (dwMode & LM_MRUWIDTH)) {
        SizeToolBar(data.data(), count, static_cast<int>(m_nMRUWidth));
      } else if (dynamic && (dwMode & LM_HORZDOCK)) {
        SizeToolBar(data.data(), count, 32767);
      } else if (dynamic && (dwMode & LM_VERTDOCK)) {
        SizeToolBar(data.data(), count, 0);
      } else if (dynamic && nLength != -1) {
        CRect inside;
        inside.SetRectEmpty();
        CalcInsideRect(inside, (dwMode & LM_HORZ) != 0);
        const bool vert = (dwMode & LM_LENGTHY) != 0;
        SizeToolBar(data.data(), count, nLength + (vert ? inside.Height() : inside.Width()), vert);
      } else if (dynamic && (m_dwStyle & CBRS_FLOATING)) {
        SizeToolBar(data.data(), count, static_cast<int>(m_nMRUWidth));
      } else {
        SizeToolBar(data.data(), count, (dwMode & LM_HORZ) ? 32767 : 0);
      }
    }
    size = CalcSize(data.data(), count);
    if (dwMode & LM_COMMIT) {
      if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC)) m_nMRUWidth = static_cast<UINT>(size.cx);
      for (int i = 0; i < count; ++i) {
        m_buttons[static_cast<size_t>(i)].fsState =
            static_cast<BYTE>((m_buttons[static_cast<size_t>(i)].fsState & ~TBSTATE_WRAP) |
                              (data[static_cast<size_t>(i)].fsState & TBSTATE_WRAP));
      }
      if (m_hWnd != nullptr) Invalidate();
    }
  }
  if (m_cyHeight > 0 && (dwMode & LM_HORZ) && !(m_dwStyle & CBRS_FLOATING)) {
    CRect inside;
    inside.SetRectEmpty();
    CalcInsideRect(inside, TRUE);
    size.cy = std::max<LONG>(size.cy, m_cyHeight + inside.Height());
  }
  // The bar's borders and gripper around the buttons.
  CRect inside;
  inside.SetRectEmpty();
  CalcInsideRect(inside, (dwMode & LM_HORZ) != 0);
  size.cy -= inside.Height();
  size.cx -= inside.Width();
  CSize stretched = CControlBar::CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
  size.cx = std::max(size.cx, stretched.cx);
  size.cy = std::max(size.cy, stretched.cy);
  return size;
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  return CalcLayout((bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ : 0));
}

CSize CToolBar::CalcDynamicLayout(int nLength, DWORD dwMode) {
  if (nLength == -1 && !(dwMode & (LM_MRUWIDTH | LM_COMMIT)) && (dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZDOCK) != 0);
  return CalcLayout(dwMode, nLength);
}

void CToolBar::CommitLayout() {
  DWORD mode = LM_COMMIT;
  if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC))
    mode |= LM_HORZ | LM_MRUWIDTH;
  else if ((m_dwStyle & CBRS_FLOATING) || (m_dwStyle & CBRS_ORIENT_HORZ))
    mode |= LM_HORZ;
  CalcLayout(mode);
}

void CToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
  CControlBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
  // Docked the other way or floating now: the rows wrap anew.
  if (m_hWnd != nullptr && ((dwOldStyle ^ dwNewStyle) & (CBRS_ALIGN_ANY | CBRS_FLOATING))) CommitLayout();
}

void CToolBar::OnSize(UINT nType, int cx, int cy) {
  CControlBar::OnSize(nType, cx, cy);
  Invalidate();
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  ::SetRectEmpty(lpRect);
  if (nIndex < 0 || nIndex >= static_cast<int>(m_buttons.size()) || m_hWnd == nullptr) return;
  CRect inside;
  GetClientRect(&inside);
  const bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) || (m_dwStyle & CBRS_FLOATING);
  CalcInsideRect(inside, horz);
  // SetHeight centres the row of buttons in the taller bar.
  int top = inside.top;
  if (m_cyHeight > 0 && horz && !(m_dwStyle & CBRS_FLOATING)) top += std::max(0, (m_cyHeight - static_cast<int>(m_sizeButton.cy)) / 2);
  CPoint cur(inside.left, top);
  for (int i = 0; i <= nIndex; ++i) {
    const TBBUTTON& button = m_buttons[static_cast<size_t>(i)];
    if (IsHidden(button)) {
      if (i == nIndex) return;
      continue;
    }
    if (i == nIndex) {
      if (IsSeparator(button) && (button.fsState & TBSTATE_WRAP))
        ::SetRect(lpRect, inside.left, cur.y + m_sizeButton.cy, inside.right, cur.y + m_sizeButton.cy + SeparatorGap(button));
      else
        ::SetRect(lpRect, cur.x, cur.y, cur.x + ButtonWidth(button), cur.y + m_sizeButton.cy);
      return;
    }
    cur.x += ButtonWidth(button);
    if (button.fsState & TBSTATE_WRAP) {
      cur.x = inside.left;
      cur.y += m_sizeButton.cy + (IsSeparator(button) ? SeparatorGap(button) : 0);
    }
  }
}

int CToolBar::HitTestButton(CPoint point) const {
  for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i) {
    if (IsSeparator(m_buttons[static_cast<size_t>(i)]) || IsHidden(m_buttons[static_cast<size_t>(i)])) continue;
    CRect rect;
    GetItemRect(i, &rect);
    if (rect.PtInRect(point)) return i;
  }
  return -1;
}

INT_PTR CToolBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
  int hit = HitTestButton(point);
  if (hit < 0) return CControlBar::OnToolHitTest(point, pTI);
  UINT id = GetItemID(hit);
  if (pTI != nullptr && pTI->cbSize >= TTTOOLINFOA_V1_SIZE) {
    pTI->hwnd = m_hWnd;
    pTI->uId = id;
    GetItemRect(hit, &pTI->rect);
    pTI->lpszText = LPSTR_TEXTCALLBACK;
  }
  return static_cast<INT_PTR>(id);
}

// ---- mouse ----

void CToolBar::InvalidateButton(int nIndex) {
  if (m_hWnd == nullptr || nIndex < 0) return;
  CRect rect;
  GetItemRect(nIndex, &rect);
  InvalidateRect(&rect);
}

void CToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
  int hit = HitTestButton(point);
  if (hit < 0) {
    CControlBar::OnLButtonDown(nFlags, point);  // the bar itself: a drag
    return;
  }
  const TBBUTTON& button = m_buttons[static_cast<size_t>(hit)];
  if (!(button.fsState & TBSTATE_ENABLED)) return;
  if (button.fsStyle & TBSTYLE_DROPDOWN) {
    // The whole button drops down, or with its arrow drawn apart only the arrow does; the owner
    // may ask for an ordinary press instead.
    CRect rect;
    GetItemRect(hit, &rect);
    if (!HasDropArrow(button) || point.x >= rect.right - kDropArrow) {
      if (DropDown(hit) != TBDDRET_TREATPRESSED) return;
    }
  }
  m_nPressed = hit;
  m_buttons[static_cast<size_t>(hit)].fsState |= TBSTATE_PRESSED;
  SetCapture();
  InvalidateButton(hit);
  UpdateWindow();
}

void CToolBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  // A double click on a button is two clicks; on the bar it toggles docking.
  if (HitTestButton(point) >= 0)
    OnLButtonDown(nFlags, point);
  else
    CControlBar::OnLButtonDblClk(nFlags, point);
}

void CToolBar::OnMouseMove(UINT nFlags, CPoint point) {
  int hit = HitTestButton(point);
  if (m_nPressed >= 0) {
    // Held: the button shows pressed only while the mouse is over it.
    TBBUTTON& button = m_buttons[static_cast<size_t>(m_nPressed)];
    bool over = hit == m_nPressed;
    if (over != ((button.fsState & TBSTATE_PRESSED) != 0)) {
      button.fsState ^= TBSTATE_PRESSED;
      InvalidateButton(m_nPressed);
    }
    return;
  }
  if (hit >= 0 && !(m_buttons[static_cast<size_t>(hit)].fsState & TBSTATE_ENABLED)) hit = -1;
  if (hit != m_nHot && (m_dwCtrlStyle & TBSTYLE_FLAT)) {
    InvalidateButton(m_nHot);
    m_nHot = hit;
    InvalidateButton(m_nHot);
    if (hit >= 0) {
      TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, m_hWnd, 0};
      ::TrackMouseEvent(&track);
    }
  }
  CControlBar::OnMouseMove(nFlags, point);
}

void CToolBar::OnMouseLeave() {
  if (m_nHot >= 0) {
    InvalidateButton(m_nHot);
    m_nHot = -1;
  }
}

void CToolBar::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_nPressed < 0) {
    CControlBar::OnLButtonUp(nFlags, point);
    return;
  }
  int index = m_nPressed;
  m_nPressed = -1;
  bool over = HitTestButton(point) == index;
  m_buttons[static_cast<size_t>(index)].fsState &= ~TBSTATE_PRESSED;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  InvalidateButton(index);
  if (over) Click(index);
}

void CToolBar::OnCaptureChanged(CWnd* pWnd) {
  // Capture lost while a button was held: the press is cancelled.
  if (m_nPressed >= 0 && pWnd != this) {
    m_buttons[static_cast<size_t>(m_nPressed)].fsState &= ~TBSTATE_PRESSED;
    InvalidateButton(m_nPressed);
    m_nPressed = -1;
  }
  CControlBar::OnCaptureChanged(pWnd);
}

LRESULT CToolBar::DropDown(int nIndex) {
  TBBUTTON& button = m_buttons[static_cast<size_t>(nIndex)];
  NMTOOLBAR info{};
  info.hdr.hwndFrom = m_hWnd;
  info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  info.hdr.code = TBN_DROPDOWN;
  info.iItem = button.idCommand;
  info.tbButton = button;
  GetItemRect(nIndex, &info.rcButton);
  // The button shows pressed while the owner's menu or list is up.
  button.fsState |= TBSTATE_PRESSED;
  InvalidateButton(nIndex);
  UpdateWindow();
  CWnd* owner = GetOwner();
  LRESULT answer = owner != nullptr ? owner->SendMessage(WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info))
                                    : TBDDRET_DEFAULT;
  if (nIndex < static_cast<int>(m_buttons.size())) {
    m_buttons[static_cast<size_t>(nIndex)].fsState &= ~TBSTATE_PRESSED;
    InvalidateButton(nIndex);
  }
  return answer;
}

void CToolBar::Click(int nIndex) {
  TBBUTTON& button = m_buttons[static_cast<size_t>(nIndex)];
  if (button.fsStyle & TBSTYLE_CHECK) {
    if ((button.fsStyle & TBSTYLE_GROUP) == TBSTYLE_GROUP) {
      // One of a group: it is checked and the others of its run of group buttons are not.
      int first = nIndex, last = nIndex;
      while (first > 0 && (m_buttons[static_cast<size_t>(first - 1)].fsStyle & TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP)
        --first;
      while (last + 1 < static_cast<int>(m_buttons.size()) &&
             (m_buttons[static_cast<size_t>(last + 1)].fsStyle & TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP)
        ++last;
      for (int i = first; i <= last; ++i) {
        m_buttons[static_cast<size_t>(i)].fsState &= ~TBSTATE_CHECKED;
        InvalidateButton(i);
      }
      button.fsState |= TBSTATE_CHECKED;
    } else {
      button.fsState ^= TBSTATE_CHECKED;
    }
    InvalidateButton(nIndex);
  }
  // The command goes to the bar's owner, the frame it was made in.
  if (CWnd* owner = GetOwner())
    owner->SendMessage(WM_COMMAND, MAKEWPARAM(button.idCommand, BN_CLICKED), reinterpret_cast<LPARAM>(m_hWnd));
}

// ---- updating ----

void CToolCmdUI::Enable(BOOL bOn) {
  m_bEnableChanged = TRUE;
  auto* bar = static_cast<CToolBar*>(m_pOther);
  UINT style = bar->GetButtonStyle(static_cast<int>(m_nIndex)) & ~static_cast<UINT>(TBBS_DISABLED);
  if (!bOn) style = (style | TBBS_DISABLED) & ~static_cast<UINT>(TBBS_PRESSED);
  bar->SetButtonStyle(static_cast<int>(m_nIndex), style);
}

void CToolCmdUI::SetCheck(int nCheck) {
  auto* bar = static_cast<CToolBar*>(m_pOther);
  UINT style = bar->GetButtonStyle(static_cast<int>(m_nIndex)) & ~static_cast<UINT>(TBBS_CHECKED | TBBS_INDETERMINATE);
  if (nCheck == 1)
    style |= TBBS_CHECKED;
  else if (nCheck == 2)
    style |= TBBS_INDETERMINATE;
  bar->SetButtonStyle(static_cast<int>(m_nIndex), style | TBBS_CHECKBOX);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  CToolCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(m_buttons.size());
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    const TBBUTTON& button = m_buttons[state.m_nIndex];
    if (IsSeparator(button)) continue;
    state.m_nID = static_cast<UINT>(button.idCommand);
    // The bar's own handlers first, then the frame's route.
    if (CWnd::OnCmdMsg(state.m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr)) continue;
    state.DoUpdate(pTarget, bDisableIfNoHndler);
  }
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

// ---- painting ----

HBITMAP CToolBar::ImageMask() {
  if (m_hbmMask != nullptr || m_hbmImageWell == nullptr) return m_hbmMask;
  BITMAP info{};
  ::GetObject(m_hbmImageWell, sizeof(info), &info);
  m_hbmMask = brambolt::CreateToolImageMask(m_hbmImageWell, 0, 0, info.bmWidth, info.bmHeight);
  return m_hbmMask;
}

void CToolBar::DrawButton(CDC* pDC, int nIndex, const CRect& rect) {
  const TBBUTTON& button = m_buttons[static_cast<size_t>(nIndex)];
  const bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) || (m_dwStyle & CBRS_FLOATING);
  HDC hdc = pDC->GetSafeHdc();
  if (IsSeparator(button)) {
    if (button.idCommand == 0)
      brambolt::DrawToolSeparator(hdc, rect, horz && !(button.fsState & TBSTATE_WRAP), (m_dwCtrlStyle & TBSTYLE_FLAT) != 0);
    return;
  }
  UINT look = 0;
  if (button.fsState & TBSTATE_PRESSED) look |= brambolt::kToolPressed;
  if (button.fsState & TBSTATE_CHECKED) look |= brambolt::kToolChecked;
  if (button.fsState & TBSTATE_INDETERMINATE) look |= brambolt::kToolIndeterminate;
  if (!(button.fsState & TBSTATE_ENABLED)) look |= brambolt::kToolDisabled;
  if (nIndex == m_nHot) look |= brambolt::kToolHot;
  if (m_dwCtrlStyle & TBSTYLE_FLAT) look |= brambolt::kToolFlat;
  CRect face = rect;
  if (HasDropArrow(button)) {
    // The arrow part: a face of its own with a small black triangle.
    CRect arrow(rect.right - kDropArrow, rect.top, rect.right, rect.bottom);
    face.right = arrow.left;
    int arrowOffset = brambolt::DrawToolButtonFace(hdc, arrow, look & ~(brambolt::kToolChecked | brambolt::kToolIndeterminate));
    int cx = (arrow.left + arrow.right) / 2 + arrowOffset, cy = (arrow.top + arrow.bottom) / 2 - 1 + arrowOffset;
    COLORREF ink = ::GetSysColor((look & brambolt::kToolDisabled) ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    for (int row = 0; row < 3; ++row)
      for (int x = cx - 2 + row; x <= cx + 2 - row; ++x) ::SetPixel(hdc, x, cy + row, ink);
  }
  int offset = brambolt::DrawToolButtonFace(hdc, face, look);
  const CString& text = nIndex < static_cast<int>(m_texts.size()) ? m_texts[static_cast<size_t>(nIndex)] : CString();
  if (!text.IsEmpty()) {
    // The text under the image, or beside it in the list look; greyed when disabled.
    CRect textRect = face;
    textRect.OffsetRect(offset, offset);
    if (m_dwCtrlStyle & TBSTYLE_LIST)
      textRect.left += 3 + m_sizeImage.cx + 2;
    else
      textRect.top += 3 + m_sizeImage.cy;
    HGDIOBJ oldFont = ::SelectObject(hdc, ::GetStockObject(DEFAULT_GUI_FONT));
    int oldMode = ::SetBkMode(hdc, TRANSPARENT);
    COLORREF oldColour = ::SetTextColor(hdc, ::GetSysColor((look & brambolt::kToolDisabled) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    UINT format = DT_SINGLELINE | DT_END_ELLIPSIS | ((m_dwCtrlStyle & TBSTYLE_LIST) ? DT_LEFT | DT_VCENTER : DT_CENTER | DT_TOP);
    if (button.fsStyle & TBSTYLE_NOPREFIX) format |= DT_NOPREFIX;
    ::DrawText(hdc, text, text.GetLength(), &textRect, format);
    ::SetTextColor(hdc, oldColour);
    ::SetBkMode(hdc, oldMode);
    ::SelectObject(hdc, oldFont);
  }
  if (m_hbmImageWell == nullptr || button.iBitmap < 0) return;
  int x = face.left + (face.Width() - m_sizeImage.cx) / 2 + offset;
  int y = face.top + (face.Height() - m_sizeImage.cy) / 2 + offset;
  if (!text.IsEmpty()) {
    // With a text the image sits at the top (at the left in the list look).
    if (m_dwCtrlStyle & TBSTYLE_LIST)
      x = face.left + 3 + offset;
    else
      y = face.top + 3 + offset;
  }
  int source = button.iBitmap * m_sizeImage.cx;
  if (!(button.fsState & TBSTATE_ENABLED) || (button.fsState & TBSTATE_INDETERMINATE)) {
    HBITMAP mask = ImageMask();
    if (mask == nullptr) return;
    // The mask of this one image, embossed.
    HDC screen = ::GetDC(nullptr);
    HDC from = ::CreateCompatibleDC(screen);
    HDC to = ::CreateCompatibleDC(screen);
    HBITMAP one = ::CreateBitmap(m_sizeImage.cx, m_sizeImage.cy, 1, 1, nullptr);
    HGDIOBJ oldFrom = ::SelectObject(from, mask);
    HGDIOBJ oldTo = ::SelectObject(to, one);
    ::BitBlt(to, 0, 0, m_sizeImage.cx, m_sizeImage.cy, from, source, 0, SRCCOPY);
    ::SelectObject(to, oldTo);
    ::SelectObject(from, oldFrom);
    ::DeleteDC(to);
    ::DeleteDC(from);
    ::ReleaseDC(nullptr, screen);
    brambolt::DrawEmbossedMask(hdc, one, x, y, m_sizeImage.cx, m_sizeImage.cy);
    ::DeleteObject(one);
    return;
  }
  HDC image = ::CreateCompatibleDC(hdc);
  HGDIOBJ old = ::SelectObject(image, m_hbmImageWell);
  // The image's background (the face colour) lets the button's face, or its dither, show.
  ::TransparentBlt(hdc, x, y, m_sizeImage.cx, m_sizeImage.cy, image, source, 0, m_sizeImage.cx, m_sizeImage.cy,
                   ::GetSysColor(COLOR_BTNFACE));
  ::SelectObject(image, old);
  ::DeleteDC(image);
}

void CToolBar::DoPaint(CDC* pDC) {
  CControlBar::DoPaint(pDC);
  CRect clip;
  pDC->GetClipBox(&clip);
  for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i) {
    if (IsHidden(m_buttons[static_cast<size_t>(i)])) continue;
    CRect rect;
    GetItemRect(i, &rect);
    CRect meet;
    if (meet.IntersectRect(rect, clip)) DrawButton(pDC, i, rect);
  }
}
