// The device contexts of windows: CPaintDC for WM_PAINT (BeginPaint/EndPaint), CClientDC for
// the client area and CWindowDC for the whole window, each released when the object dies.
#pragma once

#include "afx/CWnd.h"

class CClientDC : public CDC {
  DECLARE_DYNAMIC(CClientDC)

 public:
  // pWnd null: the screen. Throws a CResourceException when no DC can be had.
  explicit CClientDC(CWnd* pWnd);
  ~CClientDC() override;

 protected:
  HWND m_hWnd;
};

class CWindowDC : public CDC {
  DECLARE_DYNAMIC(CWindowDC)

 public:
  explicit CWindowDC(CWnd* pWnd);
  ~CWindowDC() override;

 protected:
  HWND m_hWnd;
};

class CPaintDC : public CDC {
  DECLARE_DYNAMIC(CPaintDC)

 public:
  explicit CPaintDC(CWnd* pWnd);
  ~CPaintDC() override;

  PAINTSTRUCT m_ps{};

 protected:
  HWND m_hWnd;
};
