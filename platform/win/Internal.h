// Default behaviours that DefWindowProc hands to other parts of the window manager.
#pragma once

#include <functional>

#include "win/WinUser.h"

namespace brambolt::wm {

// WM_WINDOWPOSCHANGING's default: a new size of a sizable or overlapped window keeps within the
// tracking sizes of WM_GETMINMAXINFO (Geometry.cpp).
void KeepWithinTrackingSizes(HWND hwnd, WINDOWPOS& wp);
// A window made hidden with WS_MINIMIZE or WS_MAXIMIZE takes that state without being shown; the
// rectangle it was made with stays its normal placement (Geometry.cpp).
void TakeStateMadeIn(HWND hwnd, bool minimized);

// Non-client painting and activation look (NcPaint.cpp).
void DefNcPaint(HWND hwnd, HRGN updateRegion);
void SetCaptionActive(HWND hwnd, bool active);
// Draws the whole non-client area into a DC whose origin is the window's top-left corner.
void PaintNonClient(HWND hwnd, HDC hdc);
// WM_ERASEBKGND with the class brush; nonzero when erased.
LRESULT DefEraseBackground(HWND hwnd, HDC hdc);
void DefPrint(HWND hwnd, HDC hdc, DWORD flags);

// Tracking loops started by non-client clicks (SizeMove.cpp, ScrollBars.cpp).
void MoveSizeLoop(HWND hwnd, UINT command, POINT start);
void CaptionButtonLoop(HWND hwnd, int hit, POINT start);
void ScrollBarLoop(HWND hwnd, int bar, POINT start);
void ContextHelpLoop(HWND hwnd);
// The internal message that carries FlashWindow to the window's thread; true when it was one.
bool HandleFlashMessage(HWND hwnd, UINT msg, WPARAM wParam);
// A capture loop on `hwnd`: onMessage sees every message and returns false to end it; it ends
// as well when the window dies or loses the capture. WM_QUIT is posted again.
void TrackLoop(HWND hwnd, const std::function<bool(MSG&)>& onMessage);
// Draws a caption button up or pushed.
void SetCaptionButtonPressed(HWND hwnd, int hit, bool pressed);
// Draws the window's scroll bars into a DC whose origin is the window's top-left corner.
void PaintWindowScrollBars(HWND hwnd, HDC hdc);

}  // namespace brambolt::wm
