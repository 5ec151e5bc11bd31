// Looks into PDF files as a reader would, through poppler's command-line tools: the page count
// and size (pdfinfo), the text (pdftotext) and a page's pixels (pdftoppm).
#pragma once

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "gdi/Surface.h"

namespace pdfprobe {

// The standard output of a shell command.
inline std::string Run(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

struct Info {
  int pages = 0;
  double width = 0, height = 0;  // points, of the first page
};

inline Info ReadInfo(const std::string& pdf) {
  Info info;
  std::istringstream in(Run("pdfinfo '" + pdf + "' 2>/dev/null"));
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("Pages:", 0) == 0) info.pages = std::stoi(line.substr(6));
    if (line.rfind("Page size:", 0) == 0) std::sscanf(line.c_str() + 10, "%lf x %lf", &info.width, &info.height);
  }
  return info;
}

// The text in reading order, pages separated by form feeds.
inline std::string Text(const std::string& pdf) { return Run("pdftotext -layout -enc UTF-8 '" + pdf + "' - 2>/dev/null"); }

// Page `page` (from 1) rendered at `dpi`; null when it cannot be.
inline std::unique_ptr<brambolt::Surface> Render(const std::string& pdf, int page, int dpi) {
  std::string base = pdf + ".render";
  Run("pdftoppm -r " + std::to_string(dpi) + " -f " + std::to_string(page) + " -l " + std::to_string(page) +
      " -singlefile '" + pdf + "' '" + base + "' 2>/dev/null");
  std::ifstream in(base + ".ppm", std::ios::binary);
  std::string magic;
  int w = 0, h = 0, max = 0;
  in >> magic >> w >> h >> max;
  in.get();
  if (magic != "P6" || w <= 0 || h <= 0 || max != 255) return nullptr;
  auto surface = std::make_unique<brambolt::Surface>(w, h);
  std::string row(static_cast<size_t>(w) * 3, '\0');
  for (int y = 0; y < h && in.read(row.data(), static_cast<std::streamsize>(row.size())); ++y)
    for (int x = 0; x < w; ++x) {
      auto c = [&](int k) { return static_cast<uint32_t>(static_cast<unsigned char>(row[static_cast<size_t>(x) * 3 + k])); };
      surface->Row(y)[x] = (c(0) << 16) | (c(1) << 8) | c(2);
    }
  std::remove((base + ".ppm").c_str());
  return surface;
}

}  // namespace pdfprobe
