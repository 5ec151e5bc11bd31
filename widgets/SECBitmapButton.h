// SECBitmapButton: an owner-drawn button showing a bitmap resource beside, above, below or
// instead of its caption, the bitmap's greys following the system colours.
#pragma once

#include "widgets/SECOwnerDrawButton.h"

namespace kelpwood::foundation {

class SECBitmapButton : public SECOwnerDrawButton {
  DECLARE_DYNAMIC(SECBitmapButton)

 public:
  // Where the bitmap goes: left of, right of, above or below the caption, or centred alone.
  enum Align { Al_Left = 0, Al_Right = 1, Al_Top = 2, Al_Bottom = 3, Al_Center = 4 };

  SECBitmapButton();

  using SECOwnerDrawButton::AttachButton;
  using SECOwnerDrawButton::Create;
  virtual BOOL AttachButton(UINT nID, int nAlign, LPCTSTR lpszBitmap, CWnd* pParent, DWORD dwFlags = 0);
  virtual BOOL AttachButton(UINT nID, int nAlign, UINT nIDBitmap, CWnd* pParent, DWORD dwFlags = 0);
  virtual BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                      int nAlign, UINT nIDBitmap, DWORD dwFlags = 0);
  virtual BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                      int nAlign, LPCTSTR lpszBitmap, DWORD dwFlags = 0);
  virtual void RecalcLayout();

  void DrawContents(CDC* pDC, LPDRAWITEMSTRUCT pDIS, RECT* pRect) override;
  void DrawFocusRect(CDC* pDC, RECT* pRect) override;

  LPCTSTR m_lpszBitmap = nullptr;
  CBitmap m_bitmap;
  int m_nMarginX;
  int m_nMarginY;
  RECT m_rcBitmap = {};
  RECT m_rcText = {};
  int m_nAlign = Al_Left;

  // The margins new buttons start with.
  static int m_nDefaultMarginX;
  static int m_nDefaultMarginY;

 protected:
  BOOL LoadBitmapResource(LPCTSTR lpszBitmap);
  CFont* ButtonFont();
  // Where the caption lies when centred on one line in rcText.
  CRect CaptionRect(CDC* pDC, const CRect& rcText);
  CString m_strBitmapName;  // keeps a named resource's name alive

  afx_msg void OnSysColorChange();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
};

}  // namespace kelpwood::foundation
