// SECStdBtn: a button of a customisable toolbar (a plain object drawn by its bar, not a window)
// and the base of the other button kinds; the button class records and button-map entries that
// decide which kind a command gets; the style bits the buttons and their bars share.
#pragma once

#include "afx/afx.h"
#include "afx/CToolBar.h"

class SECCustomToolBar;
class SECBtnDrawCache;
class SECStdBtn;

// Style bits beside the framework's TBBS_ ones (TBBS_SEPARATOR 0x1, TBBS_CHECKBOX 0x2,
// TBBS_DROPDOWN 0x8, TBBS_CHECKED 0x10000, TBBS_PRESSED 0x20000, TBBS_DISABLED 0x40000,
// TBBS_HIDDEN 0x80000, TBBS_INDETERMINATE 0x100000, TBBS_WRAPPED 0x200000).
constexpr UINT SEC_TBBS_SELECTED = 0x1000000;      // selected in customise mode
constexpr UINT SEC_TBBS_HOT = 0x2000000;           // under the mouse, or its menu is open
constexpr UINT SEC_TBBS_ARROWPRESSED = 0x4000000;  // a two-part button's arrow drawn pressed
constexpr UINT SEC_TBBS_ARROWDOWN = 0x8000000;     // a two-part button's arrow part is held
constexpr UINT SEC_TBBS_NODISABLE = 0x10000000;    // stays enabled without a command handler
constexpr UINT SEC_TBBS_VCENTER = 0x20000000;      // centred in a taller row

// The notification a drop-down button sends its bar's owner in WM_NOTIFY.
constexpr int SEC_TBN_DROPDOWN = -710;

// The kind's record: how a button map entry makes a button of it.
struct SECButtonClass {
  SECStdBtn* (*m_pfnCreateButton)();
};

// One command of a button map: its kind, style and five words whose meaning the kind gives. A
// table ends with an entry whose class is null.
struct SECBtnMapEntry {
  const SECButtonClass* m_pBtnClass;
  UINT m_nID;
  UINT m_nStyle;
  UINT_PTR m_nParams[5];
};

// What a button reports with WM_NOTIFY: the header, its command id, its index and two values.
struct SECBtnNotify {
  NMHDR hdr;
  UINT nID;
  int nIndex;
  LPARAM lParam1;
  LPARAM lParam2;
};

// The change ApplyStyleChange makes: code 1 replaces the bits of mask by value.
struct SECBtnStyleChange {
  UINT nValue;
  UINT nMask;
};

// Set while a command or a drop-down notification is being sent: presses and hot tracking wait.
BOOL SECIsCommandInProgress();
void SECSetCommandInProgress(BOOL bInProgress);

class SECStdBtn {
 public:
  enum BtnType { StdBtn = 0, TwoPartBtn = 1, WndBtn = 2, MenuBtn = 3, CapMenuBtn = 4, CaptionBtn = 5 };

  SECStdBtn();

  virtual void ShowAsButton(BOOL /*bAsButton*/) {}
  virtual void SetStyle(UINT nStyle) { m_nStyle = nStyle; }
  virtual void Reserved() {}
  virtual UINT GetStyle() const { return m_nStyle; }
  virtual BOOL HasStyle(UINT nBits) const { return (m_nStyle & nBits) == nBits; }
  virtual void SetPos(int x, int y);
  virtual void Invalidate(BOOL bErase = FALSE) const;
  // Binds the bar and takes the button map's five parameters (null: none), then AdjustSize.
  virtual void Init(SECCustomToolBar* pToolBar, const UINT_PTR* pParams);
  virtual BOOL CanDrag() const { return TRUE; }
  virtual void Draw(CDC& dc, SECBtnDrawCache& cache);
  // The mouse as the bar forwards it (client coordinates of the bar). BtnPressed says whether
  // the button takes the press; BtnReleased gives the command to send (0: none).
  virtual BOOL BtnPressed(CPoint point);
  virtual void BtnMouseMove(CPoint point);
  virtual void BtnCancel();
  virtual UINT BtnReleased(CPoint point);
  virtual void UpdateWndVisibility() {}
  virtual void OnBarStyleChange(DWORD /*dwOldStyle*/, DWORD /*dwNewStyle*/) {}
  virtual INT_PTR GetToolInfo(CPoint point, TOOLINFO* pTI) const;
  virtual void ApplyStyleChange(int nCode, const SECBtnStyleChange& change);
  virtual void AdjustSize();
  // The bytes the kind keeps in the saved state (none here).
  virtual void GetExtraData(int& nCount, BYTE*& pData) const;
  virtual void SetExtraData(int nCount, const BYTE* pData);
  // WM_NOTIFY to the bar's owner with this button's id and index.
  virtual LRESULT NotifyOwner(int nCode, LPARAM lParam1, LPARAM lParam2) const;
  // The face and image into the cache's work surface; out: where the image went.
  virtual void DrawFace(SECBtnDrawCache& cache, BOOL bCustomizeLook, int& x, int& y, int& cx, int& cy, int nImage);
  virtual void DrawDisabled(SECBtnDrawCache& cache, int x, int y, int cx, int cy);
  virtual void DrawChecked(SECBtnDrawCache& cache, int x, int y, int cx, int cy);
  virtual void DrawIndeterminate(SECBtnDrawCache& cache, int x, int y, int cx, int cy);
  virtual void DrawSelectFrame(CDC& dc, const CRect& rect);
  // Selects the command's image into the cache; FALSE when there is none.
  virtual BOOL DrawImage(SECBtnDrawCache& cache);
  // Separators only (others: FALSE).
  virtual BOOL DrawSeparator(CDC& dc);
  virtual void DrawState(SECBtnDrawCache& cache);
  virtual void BlitImage(SECBtnDrawCache& cache, int x, int y, int cx, int cy);
  virtual void DrawHot(SECBtnDrawCache& cache);
  virtual void DrawSelection(SECBtnDrawCache& cache);
  virtual void Blit(CDC& dc, SECBtnDrawCache& cache);
  virtual ~SECStdBtn() = default;
  virtual const SECButtonClass* GetButtonClass() const { return &s_btnClass; }

  void SetOwnerBar(SECCustomToolBar* pToolBar);
  void GetRect(CRect& rect) const { rect.SetRect(m_x, m_y, m_x + m_cx, m_y + m_cy); }
  CRect GetRect() const { return CRect(m_x, m_y, m_x + m_cx, m_y + m_cy); }
  BOOL IsSeparator() const { return (m_nStyle & TBBS_SEPARATOR) != 0; }
  // Sets or clears bits and repaints when the style changed.
  void ChangeStyle(UINT nRemove, UINT nAdd);

  static const SECButtonClass s_btnClass;

  UINT m_nID = 0;
  int m_nImage = 0;
  UINT m_nStyle = 0;
  int m_x = -1;
  int m_y = -1;
  int m_cx = 23;
  int m_cy = 22;
  int m_nType = StdBtn;
  SECCustomToolBar* m_pToolBar = nullptr;

 protected:
  // The button's index on its bar, -1 when it is not on one.
  int IndexOnBar() const;
  // The face look of the platform's painter for the current style.
  UINT FaceLook(BOOL bCustomizeLook) const;
  // Draws the bits pressed, sends TBN_DROPDOWN to the owner (a command in progress meanwhile)
  // and releases them.
  void SendDropDown(UINT nPressedBits);
  // The dither of checked and indeterminate faces inside their edge.
  void FillDither(SECBtnDrawCache& cache) const;
};

// The creation function of a button map entry for class T.
template <class T>
SECStdBtn* SECCreateButtonOf() {
  return new T;
}
