// Writes AVI clips field by field for the animation tests.
#include "AviBuilder.h"

#include <cstdio>

namespace ctltest {
namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutId(std::vector<std::uint8_t>& out, const char* id) { out.insert(out.end(), id, id + 4); }

std::vector<std::uint8_t> Chunk(const char* id, const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> out;
  PutId(out, id);
  Put32(out, static_cast<std::uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  if (data.size() % 2) out.push_back(0);
  return out;
}

std::vector<std::uint8_t> List(const char* kind, const char* type, const std::vector<std::uint8_t>& body) {
  std::vector<std::uint8_t> data;
  PutId(data, type);
  data.insert(data.end(), body.begin(), body.end());
  return Chunk(kind, data);
}

std::vector<std::uint8_t> Frame(const AviSpec& spec, const std::vector<std::uint32_t>& pixels) {
  std::vector<std::uint8_t> out;
  const int w = spec.width, h = spec.height;
  auto at = [&](int x, int row) { return pixels[static_cast<size_t>(row) * w + x]; };
  if (spec.rle) {
    for (int y = h - 1; y >= 0; --y) {
      for (int x = 0; x < w; ++x) {
        out.push_back(1);
        out.push_back(static_cast<std::uint8_t>(at(x, y)));
      }
      out.push_back(0);
      out.push_back(0);
    }
    out.back() = 1;
    return out;
  }
  const size_t stride = (static_cast<size_t>(w) * spec.bits + 31) / 32 * 4;
  for (int i = 0; i < h; ++i) {
    int y = spec.topDown ? i : h - 1 - i;
    size_t start = out.size();
    for (int x = 0; x < w; ++x) {
      std::uint32_t v = at(x, y);
      if (spec.bits == 8) {
        out.push_back(static_cast<std::uint8_t>(v));
      } else {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
        out.push_back(static_cast<std::uint8_t>(v >> 16));
      }
    }
    out.resize(start + stride, 0);
  }
  return out;
}

}  // namespace

std::vector<std::uint8_t> BuildAvi(const AviSpec& spec) {
  std::vector<std::uint8_t> avih;
  for (std::uint32_t v : {spec.microsecondsPerFrame, 0u, 0u, 0x10u, static_cast<std::uint32_t>(spec.frames.size()), 0u,
                          1u, 0u, static_cast<std::uint32_t>(spec.width), static_cast<std::uint32_t>(spec.height), 0u,
                          0u, 0u, 0u})
    Put32(avih, v);
  std::vector<std::uint8_t> strh;
  PutId(strh, "vids");
  PutId(strh, spec.rle ? "mrle" : "DIB ");
  for (std::uint32_t v : {0u, 0u, 0u, 1u, 10u, 0u, static_cast<std::uint32_t>(spec.frames.size()), 0u, 0xFFFFFFFFu, 0u})
    Put32(strh, v);
  for (int v : {0, 0, spec.width, spec.height}) Put16(strh, static_cast<std::uint16_t>(v));
  std::vector<std::uint8_t> strf;
  Put32(strf, 40);
  Put32(strf, static_cast<std::uint32_t>(spec.width));
  Put32(strf, static_cast<std::uint32_t>(spec.topDown ? -spec.height : spec.height));
  Put16(strf, 1);
  Put16(strf, static_cast<std::uint16_t>(spec.bits));
  Put32(strf, spec.rle ? 1 : 0);
  for (std::uint32_t v : {0u, 0u, 0u, static_cast<std::uint32_t>(spec.palette.size()), 0u}) Put32(strf, v);
  for (std::uint32_t c : spec.palette) Put32(strf, c & 0xFFFFFF);  // blue, green, red, 0
  std::vector<std::uint8_t> strl = Chunk("strh", strh), format = Chunk("strf", strf);
  strl.insert(strl.end(), format.begin(), format.end());
  std::vector<std::uint8_t> hdrl = Chunk("avih", avih), streams = List("LIST", "strl", strl);
  hdrl.insert(hdrl.end(), streams.begin(), streams.end());
  std::vector<std::uint8_t> movi;
  for (const auto& f : spec.frames) {
    std::vector<std::uint8_t> c = Chunk(spec.rle ? "00dc" : "00db", Frame(spec, f));
    movi.insert(movi.end(), c.begin(), c.end());
  }
  std::vector<std::uint8_t> body = List("LIST", "hdrl", hdrl), frames = List("LIST", "movi", movi);
  body.insert(body.end(), frames.begin(), frames.end());
  return List("RIFF", "AVI ", body);
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace ctltest
