// Visual components, the viewport's model and controller wiring, scrolling, invalidation and
// the conversions through a prepared device context.
#include "editor/mvc/MvcViewport.h"

namespace kelpwood::foundation {

bool CMvcVisualComponent::QueryGuid(REFGUID id, void** out) {
  *out = nullptr;
  return AnswerGuid(id, IID_IVisual, static_cast<IVisual*>(this), out) ||
         AnswerGuid(id, IID_IBounds2D, static_cast<IBounds2D*>(this), out) ||
         AnswerGuid(id, IID_ISize2D, static_cast<ISize2D*>(this), out) ||
         AnswerGuid(id, IID_IQueryGuid, static_cast<IQueryGuid*>(static_cast<IVisual*>(this)), out) ||
         AnswerGuid(id, IID_IRefCount, static_cast<IRefCount*>(static_cast<IVisual*>(this)), out);
}

CSize CMvcVisualComponent::SetSize(int cx, int cy) {
  const CSize old = m_rcBounds.Size();
  m_rcBounds.right = m_rcBounds.left + cx;
  m_rcBounds.bottom = m_rcBounds.top + cy;
  return old;
}

CPoint CMvcVisualComponent::SetOrigin(int x, int y) {
  const CPoint old = m_rcBounds.TopLeft();
  m_rcBounds.left = x;
  m_rcBounds.top = y;
  return old;
}

CPoint CMvcVisualComponent::MoveBy(int dx, int dy) {
  m_rcBounds.OffsetRect(dx, dy);
  return m_rcBounds.TopLeft();
}

MvcViewport::MvcViewport() = default;

MvcViewport::~MvcViewport() {
  if (m_pModel != nullptr) m_pModel->RemoveObserver(this);
  if (m_bOwnsController) delete m_pController;
}

bool MvcViewport::QueryGuid(REFGUID id, void** out) {
  if (CMvcLogicalPart::QueryGuid(id, out)) return true;
  return AnswerGuid(id, IID_IObserver, static_cast<IObserver*>(this), out) ||
         AnswerGuid(id, IID_IEventRouter, static_cast<IEventRouter*>(this), out);
}

void MvcViewport::PrepareDC(CDC* pDC) {
  pDC->SetViewportOrg(m_rcBounds.left, m_rcBounds.top);
  pDC->SetWindowOrg(GetLogOrigin());
  pDC->SetMapMode(GetMapMode());
  pDC->SetWindowExt(GetLogExtents());
  pDC->SetViewportExt(GetDeviceExtents());
  // The zoom adjusts the extents the DC actually holds (a fixed mode may have changed them).
  pDC->SetMapMode(MM_ANISOTROPIC);
  CSize window = pDC->GetWindowExt();
  const CSize viewport = pDC->GetViewportExt();
  ScaleSize(&window);
  pDC->SetWindowExt(window);
  pDC->SetViewportExt(viewport);
}

CSize MvcViewport::Scale(int numX, int denX, int numY, int denY, BOOL bKeepCentre) {
  const CSize size = GetSize();
  const int cx = denX != 0 ? size.cx * numX / denX : size.cx;
  const int cy = denY != 0 ? size.cy * numY / denY : size.cy;
  if (bKeepCentre) MoveBy(-(cx - size.cx) / 2, -(cy - size.cy) / 2);
  SetSize(cx, cy);
  return CSize(cx, cy);
}

BOOL MvcViewport::GetMargins(RECT* margins) {
  ::SetRectEmpty(margins);
  return FALSE;
}

void MvcViewport::Attach(void* pContainer) {
  SetContainer(pContainer);
  OnInitialize();
}

void MvcViewport::InvalidateLogRect(const RECT* r, BOOL bErase, BOOL bUpdateNow) {
  CRect rect(*r);
  rect.right += 1;
  rect.bottom += 1;
  LPtoDP(static_cast<RECT*>(&rect));
  InvalidateRect(&rect, bErase);
  if (bUpdateNow && m_pWnd != nullptr) m_pWnd->UpdateWindow();
}

void MvcViewport::ValidateRect(const RECT* r) {
  if (m_pWnd != nullptr) ::ValidateRect(m_pWnd->GetSafeHwnd(), r);
}

void MvcViewport::Invalidate(BOOL bErase, BOOL bUpdateNow) { InvalidateVisual(this, bErase, bUpdateNow); }

void MvcViewport::InvalidateVisual(IVisual* v, BOOL bErase, BOOL bUpdateNow) {
  CRect rect;
  if (v == static_cast<IVisual*>(this)) {
    rect = GetVisibleLogRect();
  } else {
    void* bounds = nullptr;
    if (!v->QueryGuid(IID_IBounds2D, &bounds) || bounds == nullptr) return;
    rect = static_cast<IBounds2D*>(bounds)->GetBounds();
    rect.NormalizeRect();
  }
  InvalidateLogRect(&rect, bErase, bUpdateNow);
}

BOOL MvcViewport::OnInitialize() {
  BOOL result = TRUE;
  if (m_pController != nullptr) result = m_pController->Initialize(m_pWnd, this);
  return result && OnCreateController();
}

CRect MvcViewport::GetVisibleLogRect() {
  const CPoint origin = GetLogOrigin();
  const CSize size = GetLogSize();
  CRect rect(origin, size);
  rect.NormalizeRect();
  return rect;
}

void MvcViewport::CenterOn(int x, int y) {
  const CSize size = GetLogSize();
  const CPoint origin = GetLogOrigin();
  Scroll(x - size.cx / 2 - origin.x, y - size.cy / 2 - origin.y);
}

CRect MvcViewport::Scroll(int dx, int dy) {
  const CRect visible = GetVisibleLogRect();
  const CPoint vorigin = GetVirtualOrigin();
  const CSize vsize = GetVirtualSize();
  // Each axis stops where the visible edge meets the virtual one.
  auto clamp = [](int d, int lo, int extent, int vlo, int vextent) {
    if (lo + d > vlo + vextent - extent) d = vlo + vextent - extent - lo;
    if (lo + d < vlo) d = vlo - lo;
    return d;
  };
  dx = clamp(dx, visible.left, visible.Width(), vorigin.x, vsize.cx);
  dy = clamp(dy, visible.top, visible.Height(), vorigin.y, vsize.cy);
  if (dx != 0 || dy != 0) {
    const CPoint origin = GetLogOrigin();
    SetLogOrigin(origin.x + dx, origin.y + dy);
  }
  return GetVisibleLogRect();
}

void MvcViewport::LineBack(BOOL bVertical) {
  const CSize size = GetLogSize();
  bVertical ? Scroll(0, -(size.cy / 25)) : Scroll(-(size.cx / 45), 0);
}

void MvcViewport::LineForward(BOOL bVertical) {
  const CSize size = GetLogSize();
  bVertical ? Scroll(0, size.cy / 25) : Scroll(size.cx / 45, 0);
}

void MvcViewport::PageBack(BOOL bVertical) {
  const CSize size = GetLogSize();
  bVertical ? Scroll(0, -size.cy) : Scroll(-size.cx, 0);
}

void MvcViewport::PageForward(BOOL bVertical) {
  const CSize size = GetLogSize();
  bVertical ? Scroll(0, size.cy) : Scroll(size.cx, 0);
}

BOOL MvcViewport::AdjustForPrinter(CDC* pPrinterDC, SIZE* size) {
  const int mode = GetMapMode();
  if (mode != MM_ANISOTROPIC && mode != MM_ISOTROPIC && mode != MM_TEXT) return FALSE;
  CDC screen;
  if (!screen.CreateCompatibleDC(nullptr)) return FALSE;
  const int sx = screen.GetDeviceCaps(LOGPIXELSX), sy = screen.GetDeviceCaps(LOGPIXELSY);
  const int px = pPrinterDC->GetDeviceCaps(LOGPIXELSX), py = pPrinterDC->GetDeviceCaps(LOGPIXELSY);
  if (sx == px && sy == py) return FALSE;
  if (sx != 0) size->cx = MulDiv(size->cx, px, sx);
  if (sy != 0) size->cy = MulDiv(size->cy, py, sy);
  return TRUE;
}

BOOL MvcViewport::SetBounds(const RECT* rect) {
  SetOrigin(rect->left, rect->top);
  SetSize(rect->right - rect->left, rect->bottom - rect->top);
  return TRUE;
}

void MvcViewport::SetModel(CMvcModel* pModel) {
  m_pModel = pModel;
  if (pModel != nullptr) pModel->AddObserver(this);
  if (m_pController != nullptr) m_pController->SetModel(pModel);
}

void MvcViewport::SetController(MvcController* pController, BOOL bOwn) {
  m_pController = pController;
  m_bOwnsController = bOwn ? TRUE : FALSE;
}

void MvcViewport::InvalidateRect(const RECT* rect, BOOL bErase) {
  if (m_pWnd != nullptr) ::InvalidateRect(m_pWnd->GetSafeHwnd(), rect, bErase);
}

BOOL MvcViewport::Create(CWnd* pWnd, void* pContainer) {
  m_pWnd = pWnd;
  SetContainer(pContainer);
  return OnInitialize();
}

BOOL MvcViewport::IsPointVisible(const POINT* pt) {
  CRect visible = GetVisibleLogRect();
  LPtoDP(static_cast<RECT*>(&visible));
  return visible.PtInRect(*pt);
}

BOOL MvcViewport::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (m_pController == nullptr) return FALSE;
  // A mouse message counts only inside the bounds; the wheel carries a screen point, so it is
  // not tested, and coordinates are signed (a captured mouse may be left of or above the window).
  if (message >= WM_MOUSEMOVE && message < WM_MOUSEWHEEL) {
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (!m_rcBounds.PtInRect(pt)) return FALSE;
  }
  return m_pController->OnWndMsg(message, wParam, lParam, pResult);
}

BOOL MvcViewport::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  if (m_pController == nullptr) return FALSE;
  return m_pController->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL MvcViewport::GetUpdateRect(RECT* rect, BOOL bErase) {
  if (m_pWnd == nullptr) return FALSE;
  return ::GetUpdateRect(m_pWnd->GetSafeHwnd(), rect, bErase);
}

CSize MvcViewport::GetLogSize() {
  CSize size = GetSize();
  DPtoLP(static_cast<SIZE*>(&size));
  size.cy *= GetYDirection();
  return size;
}

void MvcViewport::LPtoDP(SIZE* size) { DC(this, TRUE).LPtoDP(size); }
void MvcViewport::LPtoDP(RECT* rect) { DC(this, TRUE).LPtoDP(rect); }
void MvcViewport::LPtoDP(POINT* points, int n) { DC(this, TRUE).LPtoDP(points, n); }
void MvcViewport::DPtoLP(SIZE* size) { DC(this, TRUE).DPtoLP(size); }
void MvcViewport::DPtoLP(RECT* rect) { DC(this, TRUE).DPtoLP(rect); }
void MvcViewport::DPtoLP(POINT* points, int n) { DC(this, TRUE).DPtoLP(points, n); }

MvcViewport::DC::DC(MvcViewport* pViewport, BOOL bPrepare) : m_hWndDC(nullptr) {
  CWnd* pWnd = pViewport->GetWindow();
  if (pWnd != nullptr) m_hWndDC = pWnd->GetSafeHwnd();
  HDC hdc = m_hWndDC != nullptr ? ::GetDC(m_hWndDC) : nullptr;
  if (hdc == nullptr) AfxThrowResourceException();
  Attach(hdc);
  if (bPrepare) pViewport->PrepareDC(this);
}

MvcViewport::DC::~DC() {
  HDC hdc = Detach();
  ::ReleaseDC(m_hWndDC, hdc);
}

}  // namespace kelpwood::foundation
