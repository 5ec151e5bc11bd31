// Recorded pages written as PDF through cairo: text as text in the fonts the screen uses,
// paths as vectors, images at their own resolution.
#pragma once

#include <cstdio>
#include <string>

#include "gdi/PageRecord.h"

typedef struct _cairo_surface cairo_surface_t;

namespace brambolt {

class PdfDocument {
 public:
  // A document of pages `widthPt` x `heightPt` points written to `path` (made or emptied). Page
  // pixels are 1/dpi inch; the recorded printable area starts (offsetX, offsetY) pixels from the
  // paper's top left.
  PdfDocument(const std::string& path, double widthPt, double heightPt, int dpiX, int dpiY, int offsetX, int offsetY);
  ~PdfDocument();
  PdfDocument(const PdfDocument&) = delete;
  PdfDocument& operator=(const PdfDocument&) = delete;

  bool AddPage(const PageRecord& page);
  // Writes the rest and closes the file; false (and Error()) when anything failed on the way.
  bool Finish();
  const std::string& Error() const { return error_; }

 private:
  static unsigned WriteChunk(void* closure, const unsigned char* data, unsigned length);
  bool Failed(const char* what);

  FILE* file_ = nullptr;
  cairo_surface_t* surface_ = nullptr;
  double scaleX_, scaleY_;
  int offsetX_, offsetY_;
  std::string error_;
  int writeErrno_ = 0;
  struct Fonts;
  Fonts* fonts_;
};

}  // namespace brambolt
