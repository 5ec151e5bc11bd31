// What the X11 smoke test does to a display besides xdotool: a screenshot of the root window as
// PNG, the colour of one screen pixel, and the window manager's close request to a window.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gdi/Surface.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// The 8-bit value of one colour channel of a pixel under a visual's mask.
unsigned Component(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0, bits = 0;
  while (!((mask >> shift) & 1)) ++shift;
  while ((mask >> (shift + bits)) & 1) ++bits;
  unsigned long v = (pixel & mask) >> shift;
  return static_cast<unsigned>(bits >= 8 ? v >> (bits - 8) : (v * 255) / ((1ul << bits) - 1));
}

uint32_t Rgb(const Visual* visual, unsigned long pixel) {
  return (Component(pixel, visual->red_mask) << 16) | (Component(pixel, visual->green_mask) << 8) |
         Component(pixel, visual->blue_mask);
}

int Usage() {
  std::fprintf(stderr, "usage: x11_smoke_tool shot FILE | pixel X Y | close WINDOW\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "x11_smoke_tool: cannot open the display\n");
    return 1;
  }
  int screen = DefaultScreen(display);
  Window root = RootWindow(display, screen);
  const Visual* visual = DefaultVisual(display, screen);
  int status = 0;
  if (std::strcmp(argv[1], "shot") == 0) {
    int width = DisplayWidth(display, screen), height = DisplayHeight(display, screen);
    XImage* image = XGetImage(display, root, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    if (image == nullptr) return 1;
    brambolt::Surface surface(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) surface.SetPixel(x, y, Rgb(visual, XGetPixel(image, x, y)));
    XDestroyImage(image);
    status = brambolt::SavePng(surface, argv[2]) ? 0 : 1;
  } else if (std::strcmp(argv[1], "pixel") == 0 && argc == 4) {
    XImage* image = XGetImage(display, root, std::atoi(argv[2]), std::atoi(argv[3]), 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return 1;
    std::printf("%06X\n", Rgb(visual, XGetPixel(image, 0, 0)));
    XDestroyImage(image);
  } else if (std::strcmp(argv[1], "close") == 0) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = static_cast<Window>(std::strtoul(argv[2], nullptr, 0));
    e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    status = XSendEvent(display, e.xclient.window, False, NoEventMask, &e) ? 0 : 1;
  } else {
    status = Usage();
  }
  XCloseDisplay(display);
  return status;
}
