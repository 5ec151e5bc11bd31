// Viewports of the foundation in their layers: a visual component with bounds in its window, a
// logical part with a coordinate system and magnification, and the viewport that shows a model,
// observes it and hands its window's messages to a controller.
#pragma once

#include "afx/CDC.h"
#include "afx/CWnd.h"
#include "editor/mvc/MvcController.h"
#include "editor/mvc/MvcModel.h"

namespace kelpwood::foundation {

class ISize2D {
 public:
  virtual CSize GetSize() = 0;
  // Keeps the top-left corner; returns the old size.
  virtual CSize SetSize(int cx, int cy) = 0;

 protected:
  ~ISize2D() = default;
};

class IBounds2D : public ISize2D {
 public:
  virtual CRect GetBounds() = 0;
  virtual CPoint GetOrigin() = 0;
  // Moves the top-left corner only; returns the old origin.
  virtual CPoint SetOrigin(int x, int y) = 0;
  // Offsets the bounds; returns the new origin.
  virtual CPoint MoveBy(int dx, int dy) = 0;

 protected:
  ~IBounds2D() = default;
};

class IVisual : public IQueryGuid, public IRefCount {
 public:
  virtual void Draw(CDC*) {}
  virtual void PrepareDC(CDC*) {}
  virtual void EraseBackground(CDC*) {}

 protected:
  ~IVisual() = default;
};

class IZoom {
 public:
  virtual CSize SetZoomPercent(int px, int py) = 0;
  virtual CSize GetZoomPercent() = 0;
  virtual CSize ZoomInBy(int dx, int dy) = 0;
  virtual CSize ZoomOutBy(int dx, int dy) = 0;
  // Applies the magnification to a window extent (each axis at least 1).
  virtual void ScaleSize(SIZE* size) = 0;

 protected:
  ~IZoom() = default;
};

class ILogCoordinates : public IQueryGuid {
 public:
  virtual CPoint GetLogOrigin() = 0;
  virtual CSize GetLogSize() = 0;
  virtual CPoint GetVirtualOrigin() = 0;
  virtual CSize GetVirtualSize() = 0;
  virtual int GetMapMode() = 0;
  virtual CSize GetDeviceExtents() = 0;
  virtual CSize GetLogExtents() = 0;
  virtual int GetYDirection() = 0;
  virtual void ScaleSizeToDevice(SIZE* size) = 0;
  virtual void ScaleRectToDevice(RECT* rect) = 0;
  virtual void ScalePointsToDevice(POINT* points, int n) = 0;
  virtual void ScaleSizeToLog(SIZE* size) = 0;
  virtual void ScaleRectToLog(RECT* rect) = 0;
  virtual void ScalePointsToLog(POINT* points, int n) = 0;
  virtual void LPtoDP(SIZE* size) = 0;
  virtual void LPtoDP(RECT* rect) = 0;
  virtual void LPtoDP(POINT* points, int n) = 0;
  virtual void DPtoLP(SIZE* size) = 0;
  virtual void DPtoLP(RECT* rect) = 0;
  virtual void DPtoLP(POINT* points, int n) = 0;
  virtual CPoint SetLogOrigin(int x, int y) = 0;
  virtual CSize SetLogSize(int cx, int cy) = 0;
  virtual void SetVirtualOrigin(int, int) {}
  virtual void SetVirtualSize(int, int) {}
  virtual void SetLogScaling(float, float) {}
  virtual int SetMapMode(int mode) = 0;
  virtual CSize SetDeviceExtents(int cx, int cy) = 0;
  virtual CSize SetLogExtents(int cx, int cy) = 0;
  virtual BOOL IsFixedMapMode() = 0;
  virtual void GetScale(float* sx, float* sy) = 0;

 protected:
  ~ILogCoordinates() = default;
};

// Bounds (device coordinates inside the window) and the container (a window or a parent
// visual, not owned).
class CMvcVisualComponent : public IVisual, public IBounds2D {
 public:
  explicit CMvcVisualComponent(void* pContainer = nullptr) : m_pContainer(pContainer) {}
  virtual ~CMvcVisualComponent() = default;

  bool QueryGuid(REFGUID id, void** out) override;
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }

  CSize GetSize() override { return m_rcBounds.Size(); }
  CSize SetSize(int cx, int cy) override;
  CRect GetBounds() override { return m_rcBounds; }
  CPoint GetOrigin() override { return m_rcBounds.TopLeft(); }
  CPoint SetOrigin(int x, int y) override;
  CPoint MoveBy(int dx, int dy) override;

  virtual void SetContainer(void* pContainer) { m_pContainer = pContainer; }
  void* GetContainer() const { return m_pContainer; }

 protected:
  CRect m_rcBounds{0, 0, 0, 0};
  void* m_pContainer;
};

class MvcVisualPart : public CMvcVisualComponent {
 public:
  using CMvcVisualComponent::CMvcVisualComponent;
};

// The coordinate system of a logical part: mapping mode, logical origin and the window and
// viewport extents of the mapping. Derived supplies the bounds and the zoom.
template <class Derived>
class ILogCoordinatesImpl : public ILogCoordinates {
 public:
  bool QueryGuid(REFGUID id, void** out) override {
    *out = nullptr;
    return AnswerGuid(id, IID_ILogCoordinates, static_cast<ILogCoordinates*>(this), out);
  }
  CPoint GetLogOrigin() override { return m_ptOrigin; }
  CSize GetLogSize() override {
    CSize size = Self()->GetSize();
    ScaleSizeToLog(&size);
    size.cy *= GetYDirection();
    return size;
  }
  CPoint GetVirtualOrigin() override { return CPoint(0, 0); }
  CSize GetVirtualSize() override { return GetLogSize(); }
  int GetMapMode() override { return m_nMapMode; }
  CSize GetDeviceExtents() override { return m_szDevice; }
  CSize GetLogExtents() override { return m_szLog; }
  int GetYDirection() override {
    if (m_nMapMode >= MM_LOMETRIC && m_nMapMode <= MM_HIENGLISH) return -1;
    if ((m_szLog.cy < 0 && m_szDevice.cy > 0) || (m_szLog.cy > 0 && m_szDevice.cy < 0)) return -1;
    return 1;
  }
  void ScaleSizeToDevice(SIZE* size) override {
    float sx, sy;
    GetScale(&sx, &sy);
    size->cx = static_cast<int>(size->cx / sx);
    size->cy = static_cast<int>(size->cy / sy);
  }
  void ScaleRectToDevice(RECT* rect) override { ScalePointsToDevice(reinterpret_cast<POINT*>(rect), 2); }
  void ScalePointsToDevice(POINT* points, int n) override {
    float sx, sy;
    GetScale(&sx, &sy);
    const CRect bounds = Self()->GetBounds();
    for (int i = 0; i < n; ++i) {
      points[i].x = static_cast<int>((points[i].x - m_ptOrigin.x) / sx) + bounds.left;
      points[i].y = static_cast<int>((points[i].y - m_ptOrigin.y) / sy) + bounds.top;
    }
  }
  void ScaleSizeToLog(SIZE* size) override {
    float sx, sy;
    GetScale(&sx, &sy);
    size->cx = static_cast<int>(size->cx * sx);
    size->cy = static_cast<int>(size->cy * sy);
  }
  void ScaleRectToLog(RECT* rect) override { ScalePointsToLog(reinterpret_cast<POINT*>(rect), 2); }
  void ScalePointsToLog(POINT* points, int n) override {
    float sx, sy;
    GetScale(&sx, &sy);
    const CRect bounds = Self()->GetBounds();
    for (int i = 0; i < n; ++i) {
      points[i].x = static_cast<int>((points[i].x - bounds.left) * sx) + m_ptOrigin.x;
      points[i].y = static_cast<int>((points[i].y - bounds.top) * sy) + m_ptOrigin.y;
    }
  }
  void LPtoDP(SIZE* size) override { ScaleSizeToDevice(size); }
  void LPtoDP(RECT* rect) override { ScaleRectToDevice(rect); }
  void LPtoDP(POINT* points, int n) override { ScalePointsToDevice(points, n); }
  void DPtoLP(SIZE* size) override { ScaleSizeToLog(size); }
  void DPtoLP(RECT* rect) override { ScaleRectToLog(rect); }
  void DPtoLP(POINT* points, int n) override { ScalePointsToLog(points, n); }
  CPoint SetLogOrigin(int x, int y) override {
    const CPoint old = m_ptOrigin;
    m_ptOrigin = CPoint(x, y);
    return old;
  }
  CSize SetLogSize(int cx, int cy) override {
    const CSize old = GetLogSize();
    CSize size(cx, cy);
    LPtoDP(&size);
    Self()->SetSize(size.cx, size.cy);
    return old;
  }
  int SetMapMode(int mode) override {
    const int old = m_nMapMode;
    m_nMapMode = mode;
    return old;
  }
  CSize SetDeviceExtents(int cx, int cy) override {
    const CSize old = m_szDevice;
    if (!IsFixedMapMode()) m_szDevice = CSize(cx, cy);
    return old;
  }
  CSize SetLogExtents(int cx, int cy) override {
    const CSize old = m_szLog;
    if (!IsFixedMapMode()) m_szLog = CSize(cx, cy);
    return old;
  }
  BOOL IsFixedMapMode() override { return m_nMapMode != MM_ANISOTROPIC && m_nMapMode != MM_ISOTROPIC; }
  void GetScale(float* sx, float* sy) override {
    CSize log = m_szLog, device = m_szDevice;
    void* zoom = nullptr;
    if (Self()->QueryGuid(IID_IZoom, &zoom) && zoom != nullptr) static_cast<IZoom*>(zoom)->ScaleSize(&log);
    *sx = device.cx != 0 ? static_cast<float>(log.cx) / static_cast<float>(device.cx) : 1.0f;
    *sy = device.cy != 0 ? static_cast<float>(log.cy) / static_cast<float>(device.cy) : 1.0f;
  }

 protected:
  int m_nMapMode = MM_ANISOTROPIC;
  CPoint m_ptOrigin{0, 0};
  CSize m_szLog{1, 1};
  CSize m_szDevice{1, 1};

 private:
  Derived* Self() { return static_cast<Derived*>(this); }
};

// A visual part with logical coordinates, scroll steps and magnification.
template <class Base>
class CMvcLogicalPart : public Base, public ILogCoordinatesImpl<CMvcLogicalPart<Base>>, public IZoom {
  using Coordinates = ILogCoordinatesImpl<CMvcLogicalPart<Base>>;

 public:
  using Base::Base;

  bool QueryGuid(REFGUID id, void** out) override {
    if (Base::QueryGuid(id, out)) return true;
    return AnswerGuid(id, IID_IZoom, static_cast<IZoom*>(this), out) ||
           AnswerGuid(id, IID_ILogCoordinates, static_cast<ILogCoordinates*>(this), out);
  }
  using Base::GetSize;
  using Base::SetSize;

  CSize SetZoomPercent(int px, int py) override {
    if (px <= 0 || py <= 0) return GetLogSizeOf();
    return SetMagnification(100.0f / static_cast<float>(px), 100.0f / static_cast<float>(py));
  }
  CSize GetZoomPercent() override {
    return CSize(static_cast<int>(100.0 / m_fMagX + 0.5), static_cast<int>(100.0 / m_fMagY + 0.5));
  }
  CSize ZoomInBy(int dx, int dy) override {
    const CSize p = GetZoomPercent();
    return SetZoomPercent(p.cx + dx, p.cy + dy);
  }
  CSize ZoomOutBy(int dx, int dy) override {
    const CSize p = GetZoomPercent();
    return SetZoomPercent(p.cx - dx, p.cy - dy);
  }
  void ScaleSize(SIZE* size) override {
    size->cx = std::max(1, static_cast<int>(static_cast<float>(size->cx) * m_fMagX));
    size->cy = std::max(1, static_cast<int>(static_cast<float>(size->cy) * m_fMagY));
  }

  virtual void SetScrollSteps(BOOL bVertical, int line, int page) {
    (bVertical ? m_nVLine : m_nHLine) = line;
    (bVertical ? m_nVPage : m_nHPage) = page;
  }
  virtual void GetScrollSteps(BOOL bVertical, int* line, int* page) {
    *line = bVertical ? m_nVLine : m_nHLine;
    *page = bVertical ? m_nVPage : m_nHPage;
  }
  virtual CSize SetMagnification(float x, float y) {
    m_fMagX = x;
    m_fMagY = y;
    return GetLogSizeOf();
  }
  virtual CSize Magnify(float fx, float fy) { return SetMagnification(fx * m_fMagX, fy * m_fMagY); }
  void GetMagnification(float* x, float* y) const {
    *x = m_fMagX;
    *y = m_fMagY;
  }

 private:
  CSize GetLogSizeOf() { return static_cast<ILogCoordinates*>(this)->GetLogSize(); }
  int m_nHLine = 0, m_nHPage = 0, m_nVLine = 0, m_nVPage = 0;
  float m_fMagX = 1.0f, m_fMagY = 1.0f;
};

// A viewport: a logical part that shows a model (observing it) and passes its window's
// messages to its controller (owned when asked). Conversions between logical and device
// units go through a device context of its window, prepared with its mapping.
class MvcViewport : public CMvcLogicalPart<MvcVisualPart>, public IObserver, public IEventRouter {
 public:
  MvcViewport();
  ~MvcViewport() override;

  bool QueryGuid(REFGUID id, void** out) override;
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  void OnUpdate(ISubject*, IMessage*) override {}
  bool RouteEvent(IEvent* e) override { return m_listeners.Route(e); }
  void AddListener(IEventRouter* r) override { m_listeners.Add(r); }
  bool RemoveListener(IEventRouter* r) override { return m_listeners.Remove(r); }

  void PrepareDC(CDC* pDC) override;
  CPoint MoveBy(int dx, int dy) override { return CMvcVisualComponent::MoveBy(dx, dy); }
  // Scales the size by num/den per axis (a zero denominator leaves that axis), keeping the
  // centre when asked.
  virtual CSize Scale(int numX, int denX, int numY, int denY, BOOL bKeepCentre);
  virtual BOOL GetMargins(RECT* margins);
  virtual void Attach(void* pContainer);
  virtual void InvalidateLogRect(const RECT* r, BOOL bErase, BOOL bUpdateNow);
  virtual void ValidateRect(const RECT* r);
  virtual void Invalidate(BOOL bErase, BOOL bUpdateNow);
  virtual void InvalidateVisual(IVisual* v, BOOL bErase, BOOL bUpdateNow);
  virtual BOOL OnInitialize();
  virtual void CenterOn(int x, int y);
  virtual CRect Scroll(int dx, int dy);
  virtual void LineBack(BOOL bVertical);
  virtual void LineForward(BOOL bVertical);
  virtual void PageBack(BOOL bVertical);
  virtual void PageForward(BOOL bVertical);
  virtual BOOL AdjustForPrinter(CDC* pPrinterDC, SIZE* size);
  virtual BOOL SetBounds(const RECT* rect);
  virtual CMvcModel* GetModel() { return m_pModel; }
  virtual void SetModel(CMvcModel* pModel);
  virtual BOOL OnCreateController() { return TRUE; }
  virtual void SetController(MvcController* pController, BOOL bOwn);
  virtual MvcController* GetController() { return m_pController; }
  virtual void InvalidateRect(const RECT* rect, BOOL bErase);
  virtual BOOL Create(CWnd* pWnd, void* pContainer);
  virtual CWnd* GetWindow() { return m_pWnd; }
  virtual BOOL IsPointVisible(const POINT* pt);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
  virtual BOOL GetUpdateRect(RECT* rect, BOOL bErase);
  virtual void* GetEventFactory() { return nullptr; }

  CSize GetLogSize() override;
  void LPtoDP(SIZE* size) override;
  void LPtoDP(RECT* rect) override;
  void LPtoDP(POINT* points, int n) override;
  void DPtoLP(SIZE* size) override;
  void DPtoLP(RECT* rect) override;
  void DPtoLP(POINT* points, int n) override;

  // The visible logical rectangle (origin and logical size), normalised.
  CRect GetVisibleLogRect();

  // A device context on the viewport's window, prepared with its mapping when asked.
  class DC : public CDC {
   public:
    DC(MvcViewport* pViewport, BOOL bPrepare);
    ~DC() override;
    DC(const DC&) = delete;
    DC& operator=(const DC&) = delete;

   private:
    HWND m_hWndDC;
  };

 protected:
  CMvcModel* m_pModel = nullptr;
  MvcController* m_pController = nullptr;
  BYTE m_bOwnsController = FALSE;
  CWnd* m_pWnd = nullptr;
  CEventListeners m_listeners;
};

}  // namespace kelpwood::foundation
