// SECIcon: a borrowed icon handle loaded from the resource module at a chosen size and drawn
// through a device context.
#pragma once

#include "base/base.h"
#include "core/CObject.h"
#include "gdi/gdi.h"

class CDC;
class CBrush;

class SECIcon : public CObject {
  DECLARE_DYNAMIC(SECIcon)

 public:
  SECIcon() = default;
  // The icon is not destroyed here: the resource loader owns it.
  ~SECIcon() override = default;

  void Serialize(CArchive&) override {}

  // The integer resource named by the id's low 16 bits.
  virtual BOOL LoadIcon(UINT nResourceId, int cx, int cy);
  // A size of 0 loads the icon at its own size; the stored size is the one asked for.
  virtual BOOL LoadIcon(LPCTSTR lpszName, int cx, int cy);
  virtual void Draw(CDC* pDC, int x, int y, int cx, int cy, CBrush* pBrush = nullptr);
  // Draws at the stored size (0 meaning the icon's own size).
  virtual void Draw(CDC* pDC, int x, int y, CBrush* pBrush = nullptr);

  HICON m_hIcon = nullptr;
  int m_nWidth = -1;
  int m_nHeight = -1;
};
