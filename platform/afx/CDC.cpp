// CDC: construction, the handle map, selection, attributes shared by the output and attribute
// DCs, and the drawing helpers of the framework.
#include "afx/CDC.h"

#include <cstdlib>

IMPLEMENT_DYNCREATE(CDC, CObject)

namespace {

using DCMap = brambolt::afx::HandleMap<CDC, HDC>;

DCMap& Map() {
  return brambolt::afx::ThreadHandleMap<DCMap>([](CDC* dc) { dc->m_hDC = dc->m_hAttribDC = nullptr; });
}

CDC* MakeTemporary(HDC hDC) {
  auto* dc = new CDC;
  dc->m_hDC = dc->m_hAttribDC = hDC;
  return dc;
}

}  // namespace

template <class Result, class Setter>
Result CDC::SetAttribute(Result none, Setter setter) {
  Result previous = none;
  if (m_hDC != m_hAttribDC && m_hDC != nullptr) previous = setter(m_hDC);
  if (m_hAttribDC != nullptr) previous = setter(m_hAttribDC);
  return previous;
}

CDC::~CDC() {
  if (m_hDC != nullptr) ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hDC) { return Map().FromHandle(hDC, MakeTemporary); }

void CDC::DeleteTempMap() { Map().DeleteTemp(); }

BOOL CDC::Attach(HDC hDC) {
  if (hDC == nullptr) return FALSE;
  m_hDC = hDC;
  SetAttribDC(hDC);
  Map().SetPermanent(hDC, this);
  return TRUE;
}

HDC CDC::Detach() {
  HDC hDC = m_hDC;
  if (hDC != nullptr) Map().RemoveHandle(hDC, this);
  ReleaseAttribDC();
  m_hDC = nullptr;
  return hDC;
}

BOOL CDC::CreateDC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput, const void* lpInitData) {
  return Attach(::CreateDC(lpszDriverName, lpszDeviceName, lpszOutput, lpInitData));
}

BOOL CDC::CreateIC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput, const void* lpInitData) {
  return Attach(::CreateIC(lpszDriverName, lpszDeviceName, lpszOutput, lpInitData));
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) { return Attach(::CreateCompatibleDC(pDC->GetSafeHdc())); }

BOOL CDC::DeleteDC() {
  if (m_hDC == nullptr) return FALSE;
  return ::DeleteDC(Detach());
}

int CDC::SaveDC() {
  int saved = 0;
  if (m_hAttribDC != nullptr) saved = ::SaveDC(m_hAttribDC);
  if (m_hDC != m_hAttribDC && ::SaveDC(m_hDC) != 0) saved = -1;  // -1 restores the latest of both
  return saved;
}

BOOL CDC::RestoreDC(int nSavedDC) {
  BOOL restored = TRUE;
  if (m_hDC != m_hAttribDC) restored = ::RestoreDC(m_hDC, nSavedDC);
  if (m_hAttribDC != nullptr) restored = ::RestoreDC(m_hAttribDC, nSavedDC) && restored;
  return restored;
}

CPoint CDC::GetBrushOrg() const {
  POINT point{0, 0};
  ::GetBrushOrgEx(m_hDC, &point);
  return point;
}

CPoint CDC::SetBrushOrg(int x, int y) {
  POINT point{0, 0};
  ::SetBrushOrgEx(m_hDC, x, y, &point);
  return point;
}

// ---- selection ----

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
  return SetAttribute<HGDIOBJ>(nullptr, [hObject](HDC dc) { return ::SelectObject(dc, hObject); });
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
  return CGdiObject::FromHandle(SelectObject(pObject->GetSafeHandle()));
}

CPen* CDC::SelectObject(CPen* pPen) {
  return CPen::FromHandle(static_cast<HPEN>(SelectObject(pPen->GetSafeHandle())));
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
  return CBrush::FromHandle(static_cast<HBRUSH>(SelectObject(pBrush->GetSafeHandle())));
}

CFont* CDC::SelectObject(CFont* pFont) {
  return CFont::FromHandle(static_cast<HFONT>(SelectObject(pFont->GetSafeHandle())));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
  return CBitmap::FromHandle(static_cast<HBITMAP>(SelectObject(pBitmap->GetSafeHandle())));
}

int CDC::SelectObject(CRgn* pRgn) {
  return static_cast<int>(reinterpret_cast<INT_PTR>(::SelectObject(m_hDC, pRgn->GetSafeHandle())));
}

CGdiObject* CDC::SelectStockObject(int nIndex) {
  HGDIOBJ stock = ::GetStockObject(nIndex);
  return stock == nullptr ? nullptr : CGdiObject::FromHandle(SelectObject(stock));
}

CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground) {
  return CPalette::FromHandle(
      ::SelectPalette(m_hDC, static_cast<HPALETTE>(pPalette->GetSafeHandle()), bForceBackground));
}

// ---- attributes ----

COLORREF CDC::SetBkColor(COLORREF crColor) {
  return SetAttribute<COLORREF>(CLR_INVALID, [crColor](HDC dc) { return ::SetBkColor(dc, crColor); });
}

int CDC::SetBkMode(int nBkMode) {
  return SetAttribute(0, [nBkMode](HDC dc) { return ::SetBkMode(dc, nBkMode); });
}

int CDC::SetPolyFillMode(int nPolyFillMode) {
  return SetAttribute(0, [nPolyFillMode](HDC dc) { return ::SetPolyFillMode(dc, nPolyFillMode); });
}

int CDC::SetROP2(int nDrawMode) {
  return SetAttribute(0, [nDrawMode](HDC dc) { return ::SetROP2(dc, nDrawMode); });
}

int CDC::SetStretchBltMode(int nStretchMode) {
  return SetAttribute(0, [nStretchMode](HDC dc) { return ::SetStretchBltMode(dc, nStretchMode); });
}

COLORREF CDC::SetTextColor(COLORREF crColor) {
  return SetAttribute<COLORREF>(CLR_INVALID, [crColor](HDC dc) { return ::SetTextColor(dc, crColor); });
}

int CDC::SetArcDirection(int nArcDirection) {
  return SetAttribute(0, [nArcDirection](HDC dc) { return ::SetArcDirection(dc, nArcDirection); });
}

UINT CDC::SetTextAlign(UINT nFlags) {
  return SetAttribute<UINT>(GDI_ERROR, [nFlags](HDC dc) { return ::SetTextAlign(dc, nFlags); });
}

int CDC::SetTextCharacterExtra(int nCharExtra) {
  return SetAttribute(static_cast<int>(0x80000000), [nCharExtra](HDC dc) { return ::SetTextCharacterExtra(dc, nCharExtra); });
}

// ---- mapping ----

CPoint CDC::GetViewportOrg() const {
  POINT point{0, 0};
  ::GetViewportOrgEx(m_hAttribDC, &point);
  return point;
}

CSize CDC::GetViewportExt() const {
  SIZE size{0, 0};
  ::GetViewportExtEx(m_hAttribDC, &size);
  return size;
}

CPoint CDC::GetWindowOrg() const {
  POINT point{0, 0};
  ::GetWindowOrgEx(m_hAttribDC, &point);
  return point;
}

CSize CDC::GetWindowExt() const {
  SIZE size{0, 0};
  ::GetWindowExtEx(m_hAttribDC, &size);
  return size;
}

int CDC::SetMapMode(int nMapMode) {
  return SetAttribute(0, [nMapMode](HDC dc) { return ::SetMapMode(dc, nMapMode); });
}

template <class Value, class Raw, class Call>
Value CDC::SetReportingPrevious(Call call) {
  return SetAttribute(Value(), [&call](HDC dc) {
    Raw previous{};
    call(dc, &previous);
    return Value(previous);
  });
}

CPoint CDC::SetViewportOrg(int x, int y) {
  return SetReportingPrevious<CPoint, POINT>([=](HDC dc, POINT* p) { ::SetViewportOrgEx(dc, x, y, p); });
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight) {
  return SetReportingPrevious<CPoint, POINT>([=](HDC dc, POINT* p) { ::OffsetViewportOrgEx(dc, nWidth, nHeight, p); });
}

CSize CDC::SetViewportExt(int cx, int cy) {
  return SetReportingPrevious<CSize, SIZE>([=](HDC dc, SIZE* p) { ::SetViewportExtEx(dc, cx, cy, p); });
}

CSize CDC::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom) {
  return SetReportingPrevious<CSize, SIZE>(
      [=](HDC dc, SIZE* p) { ::ScaleViewportExtEx(dc, xNum, xDenom, yNum, yDenom, p); });
}

CPoint CDC::SetWindowOrg(int x, int y) {
  return SetReportingPrevious<CPoint, POINT>([=](HDC dc, POINT* p) { ::SetWindowOrgEx(dc, x, y, p); });
}

CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight) {
  return SetReportingPrevious<CPoint, POINT>([=](HDC dc, POINT* p) { ::OffsetWindowOrgEx(dc, nWidth, nHeight, p); });
}

CSize CDC::SetWindowExt(int cx, int cy) {
  return SetReportingPrevious<CSize, SIZE>([=](HDC dc, SIZE* p) { ::SetWindowExtEx(dc, cx, cy, p); });
}

CSize CDC::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom) {
  return SetReportingPrevious<CSize, SIZE>(
      [=](HDC dc, SIZE* p) { ::ScaleWindowExtEx(dc, xNum, xDenom, yNum, yDenom, p); });
}

// Sizes scale by the extents and keep their sign whatever the direction of the axes.
void CDC::DPtoLP(LPSIZE lpSize) const {
  CSize window = GetWindowExt(), viewport = GetViewportExt();
  lpSize->cx = MulDiv(lpSize->cx, std::abs(window.cx), std::abs(viewport.cx));
  lpSize->cy = MulDiv(lpSize->cy, std::abs(window.cy), std::abs(viewport.cy));
}

void CDC::LPtoDP(LPSIZE lpSize) const {
  CSize window = GetWindowExt(), viewport = GetViewportExt();
  lpSize->cx = MulDiv(lpSize->cx, std::abs(viewport.cx), std::abs(window.cx));
  lpSize->cy = MulDiv(lpSize->cy, std::abs(viewport.cy), std::abs(window.cy));
}

// ---- regions and clipping ----

BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush) {
  return ::FillRgn(m_hDC, static_cast<HRGN>(pRgn->GetSafeHandle()), static_cast<HBRUSH>(pBrush->GetSafeHandle()));
}

BOOL CDC::FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight) {
  return ::FrameRgn(m_hDC, static_cast<HRGN>(pRgn->GetSafeHandle()), static_cast<HBRUSH>(pBrush->GetSafeHandle()),
                    nWidth, nHeight);
}

BOOL CDC::InvertRgn(CRgn* pRgn) { return ::InvertRgn(m_hDC, static_cast<HRGN>(pRgn->GetSafeHandle())); }

BOOL CDC::PaintRgn(CRgn* pRgn) { return ::PaintRgn(m_hDC, static_cast<HRGN>(pRgn->GetSafeHandle())); }

int CDC::SelectClipRgn(CRgn* pRgn) {
  HRGN hRgn = static_cast<HRGN>(pRgn->GetSafeHandle());
  return SetAttribute(ERROR, [hRgn](HDC dc) { return ::SelectClipRgn(dc, hRgn); });
}

int CDC::SelectClipRgn(CRgn* pRgn, int nMode) {
  HRGN hRgn = static_cast<HRGN>(pRgn->GetSafeHandle());
  return SetAttribute(ERROR, [hRgn, nMode](HDC dc) { return ::ExtSelectClipRgn(dc, hRgn, nMode); });
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2) {
  return SetAttribute(ERROR, [=](HDC dc) { return ::ExcludeClipRect(dc, x1, y1, x2, y2); });
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) {
  return SetAttribute(ERROR, [=](HDC dc) { return ::IntersectClipRect(dc, x1, y1, x2, y2); });
}

int CDC::OffsetClipRgn(int x, int y) {
  return SetAttribute(ERROR, [x, y](HDC dc) { return ::OffsetClipRgn(dc, x, y); });
}

// ---- lines ----

CPoint CDC::GetCurrentPosition() const {
  POINT point{0, 0};
  ::GetCurrentPositionEx(m_hAttribDC, &point);
  return point;
}

CPoint CDC::MoveTo(int x, int y) {
  return SetReportingPrevious<CPoint, POINT>([=](HDC dc, POINT* p) { ::MoveToEx(dc, x, y, p); });
}

BOOL CDC::LineTo(int x, int y) {
  // The attribute DC keeps the current position for later queries.
  if (m_hAttribDC != nullptr && m_hAttribDC != m_hDC) ::MoveToEx(m_hAttribDC, x, y, nullptr);
  return ::LineTo(m_hDC, x, y);
}

BOOL CDC::ArcTo(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  BOOL result = ::ArcTo(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
  if (m_hAttribDC != nullptr && m_hAttribDC != m_hDC) {
    POINT point{0, 0};
    ::GetCurrentPositionEx(m_hDC, &point);
    ::MoveToEx(m_hAttribDC, point.x, point.y, nullptr);
  }
  return result;
}

BOOL CDC::PolylineTo(const POINT* lpPoints, int nCount) {
  BOOL result = ::PolylineTo(m_hDC, lpPoints, static_cast<DWORD>(nCount));
  if (m_hAttribDC != nullptr && m_hAttribDC != m_hDC && nCount > 0)
    ::MoveToEx(m_hAttribDC, lpPoints[nCount - 1].x, lpPoints[nCount - 1].y, nullptr);
  return result;
}

// ---- DrawState ----

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush) {
  return ::DrawState(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hBitmap), 0, pt.x, pt.y, size.cx, size.cy,
                     nFlags | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, CBrush* pBrush) {
  return DrawState(pt, size, static_cast<HBITMAP>(pBitmap->GetSafeHandle()), nFlags,
                   static_cast<HBRUSH>(pBrush->GetSafeHandle()));
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush) {
  return ::DrawState(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, pt.x, pt.y, size.cx, size.cy,
                     nFlags | DST_ICON);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush) {
  return DrawState(pt, size, hIcon, nFlags, static_cast<HBRUSH>(pBrush->GetSafeHandle()));
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen,
                    HBRUSH hBrush) {
  return ::DrawState(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(lpszText), static_cast<WPARAM>(nTextLen), pt.x,
                     pt.y, size.cx, size.cy, nFlags | (bPrefixText ? DST_PREFIXTEXT : DST_TEXT));
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen,
                    CBrush* pBrush) {
  return DrawState(pt, size, lpszText, nFlags, bPrefixText, nTextLen, static_cast<HBRUSH>(pBrush->GetSafeHandle()));
}

BOOL CDC::DrawState(CPoint pt, CSize size, DRAWSTATEPROC lpDrawProc, LPARAM lData, UINT nFlags, HBRUSH hBrush) {
  return ::DrawState(m_hDC, hBrush, lpDrawProc, lData, 0, pt.x, pt.y, size.cx, size.cy, nFlags | DST_COMPLEX);
}

BOOL CDC::DrawState(CPoint pt, CSize size, DRAWSTATEPROC lpDrawProc, LPARAM lData, UINT nFlags, CBrush* pBrush) {
  return DrawState(pt, size, lpDrawProc, lData, nFlags, static_cast<HBRUSH>(pBrush->GetSafeHandle()));
}

// ---- text ----

CSize CDC::TabbedTextOut(int x, int y, LPCTSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStopPositions,
                         int nTabOrigin) {
  LONG extent = ::TabbedTextOut(m_hDC, x, y, lpszString, nCount, nTabPositions, lpnTabStopPositions, nTabOrigin);
  return CSize(static_cast<DWORD>(extent));
}

int CDC::DrawTextEx(const CString& str, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS lpDTParams) {
  // DrawTextEx may write into the text (DT_MODIFYSTRING), so it gets a copy.
  CString copy(str);
  int length = copy.GetLength();
  int result = DrawTextEx(copy.GetBuffer(length + 4), length, lpRect, nFormat, lpDTParams);
  copy.ReleaseBuffer();
  return result;
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
  SIZE size{0, 0};
  ::GetTextExtentPoint32(m_hAttribDC, lpszString, nCount, &size);
  return size;
}

CSize CDC::GetOutputTextExtent(LPCTSTR lpszString, int nCount) const {
  SIZE size{0, 0};
  ::GetTextExtentPoint32(m_hDC, lpszString, nCount, &size);
  return size;
}

CSize CDC::GetTabbedTextExtent(LPCTSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStopPositions) const {
  return CSize(::GetTabbedTextExtent(m_hAttribDC, lpszString, nCount, nTabPositions, lpnTabStopPositions));
}

CSize CDC::GetOutputTabbedTextExtent(LPCTSTR lpszString, int nCount, int nTabPositions,
                                     LPINT lpnTabStopPositions) const {
  return CSize(::GetTabbedTextExtent(m_hDC, lpszString, nCount, nTabPositions, lpnTabStopPositions));
}

BOOL CDC::GrayString(CBrush* pBrush, BOOL(CALLBACK* lpfnOutput)(HDC, LPARAM, int), LPARAM lpData, int nCount, int x,
                     int y, int nWidth, int nHeight) {
  return ::GrayString(m_hDC, static_cast<HBRUSH>(pBrush->GetSafeHandle()), lpfnOutput, lpData, nCount, x, y, nWidth,
                      nHeight);
}

int CDC::GetTextFace(CString& rString) const {
  char face[LF_FACESIZE] = {};
  int length = ::GetTextFace(m_hAttribDC, LF_FACESIZE, face);
  rString = face;
  return length;
}

int CDC::StartDoc(LPCTSTR lpszDocName) {
  DOCINFO info{};
  info.cbSize = sizeof(info);
  info.lpszDocName = lpszDocName;
  return StartDoc(&info);
}

// ---- helpers ----

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr) { brambolt::FillSolidRect(m_hDC, *lpRect, clr); }

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
  brambolt::FillSolidRect(m_hDC, RECT{x, y, x + cx, y + cy}, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  brambolt::Draw3dRect(m_hDC, *lpRect, clrTopLeft, clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight) {
  brambolt::Draw3dRect(m_hDC, RECT{x, y, x + cx, y + cy}, clrTopLeft, clrBottomRight);
}

CBrush* CDC::GetHalftoneBrush() { return CBrush::FromHandle(brambolt::GetHalftoneBrush()); }

namespace {

// The frame of rect, size thick (the whole rectangle when it is thinner than twice that).
void SetFrameRegion(CRgn& frame, LPCRECT lpRect, SIZE size) {
  CRect inside(lpRect);
  inside.InflateRect(-size.cx, -size.cy);
  inside.IntersectRect(inside, lpRect);
  CRgn outer, inner;
  outer.CreateRectRgnIndirect(lpRect);
  inner.CreateRectRgnIndirect(&inside);
  frame.CombineRgn(&outer, &inner, RGN_XOR);
}

}  // namespace

void CDC::DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast, CBrush* pBrush,
                       CBrush* pBrushLast) {
  HBRUSH brush = pBrush != nullptr ? static_cast<HBRUSH>(pBrush->GetSafeHandle()) : brambolt::GetHalftoneBrush();
  HBRUSH brushLast = pBrushLast != nullptr ? static_cast<HBRUSH>(pBrushLast->GetSafeHandle()) : brush;

  CRgn frameNew, frameLast;
  frameNew.CreateRectRgn(0, 0, 0, 0);
  SetFrameRegion(frameNew, lpRect, size);
  if (lpRectLast != nullptr) {
    frameLast.CreateRectRgn(0, 0, 0, 0);
    SetFrameRegion(frameLast, lpRectLast, sizeLast);
  }

  auto invert = [this](CRgn& area, HBRUSH with) {
    ::SelectClipRgn(m_hDC, area);
    CRect box;
    ::GetClipBox(m_hDC, &box);
    HGDIOBJ old = ::SelectObject(m_hDC, with);
    ::PatBlt(m_hDC, box.left, box.top, box.Width(), box.Height(), PATINVERT);
    ::SelectObject(m_hDC, old);
  };

  if (lpRectLast != nullptr && brush == brushLast) {
    // One pass: what the two frames do not share flips, which erases the old and draws the new.
    CRgn update;
    update.CreateRectRgn(0, 0, 0, 0);
    update.CombineRgn(&frameLast, &frameNew, RGN_XOR);
    invert(update, brush);
  } else {
    if (lpRectLast != nullptr) invert(frameLast, brushLast);
    invert(frameNew, brush);
  }
  ::SelectClipRgn(m_hDC, nullptr);
}
