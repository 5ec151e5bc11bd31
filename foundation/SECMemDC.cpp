// SECMemDC: off-screen drawing copied onto its target when destroyed.
#include "foundation/SECMemDC.h"

#include <cstdlib>

#include "core/CException.h"

namespace kelpwood::foundation {

SECMemDC::SECMemDC(CDC* pDC, CRect rect) : m_pDC(pDC), m_rect(rect) { Build(); }

SECMemDC::SECMemDC(CDC* pDC, const RECT* pRect) : m_pDC(pDC), m_rect(pRect ? *pRect : RECT{}) { Build(); }

void SECMemDC::Build() {
  if (!m_pDC || !m_pDC->GetSafeHdc()) AfxThrowResourceException();
  m_nMapMode = m_pDC->GetMapMode();
  m_ptViewportOrg = m_pDC->GetViewportOrg();
  m_ptWindowOrg = m_pDC->GetWindowOrg();
  m_szViewportExt = m_pDC->GetViewportExt();
  m_szWindowExt = m_pDC->GetWindowExt();
  // The bitmap covers the rectangle in device pixels of the target.
  CRect device = m_rect;
  m_pDC->LPtoDP(&device);
  m_ptOffset = device.TopLeft();
  int width = std::max(1, std::abs(device.Width()));
  int height = std::max(1, std::abs(device.Height()));
  if (!CreateCompatibleDC(m_pDC)) AfxThrowResourceException();
  if (!m_bitmap.CreateCompatibleBitmap(m_pDC, width, height)) {
    DeleteDC();
    AfxThrowResourceException();
  }
  m_pOldBitmap = SelectObject(&m_bitmap);
  ApplyMapping();
}

// The target's mapping, moved so that the rectangle's top-left corner is bitmap pixel (0, 0):
// drawing in the target's logical coordinates lands where the copy-back expects it.
void SECMemDC::ApplyMapping() {
  SetMapMode(m_nMapMode);
  SetWindowExt(m_szWindowExt);
  SetViewportExt(m_szViewportExt);
  SetWindowOrg(m_ptWindowOrg);
  SetViewportOrg(m_ptViewportOrg.x - m_ptOffset.x, m_ptViewportOrg.y - m_ptOffset.y);
}

SECMemDC::~SECMemDC() {
  ApplyMapping();
  m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top, SRCCOPY);
  SelectObject(m_pOldBitmap);
  m_bitmap.DeleteObject();
  DeleteDC();
}

}  // namespace kelpwood::foundation
