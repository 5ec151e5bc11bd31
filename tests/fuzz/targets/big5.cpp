// Fuzz target: the GB2312/Big5 converter over any bytes, both ways, with the committed tables.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "FuzzSupport.h"
#include "afx/afx.h"
#include "model/AFBig2GBObj.h"

namespace {

std::string Table(const char* name) {
  std::ifstream in(std::string(fuzz::SourceRoot()) + "/resources/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string gbToBig5 = Table("GBTOBIG.bin");
  static const std::string big5ToGb = Table("BIGTOGB.bin");
  if (gbToBig5.size() != 16544 || big5ToGb.size() != 35908) return 0;
  for (BOOL bToBig5 : {TRUE, FALSE}) {
    CString text(reinterpret_cast<const char*>(data), static_cast<int>(size));
    AFBig2GBObj::ConvertText(text, bToBig5, reinterpret_cast<const BYTE*>(bToBig5 ? gbToBig5.data() : big5ToGb.data()));
  }
  return 0;
}
