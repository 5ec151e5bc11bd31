// Fuzz target: the gzip-format compressed file, read to its end.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "FuzzSupport.h"
#include "afx/afx.h"
#include "foundation/SECCompressFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteFile("data.gz", data, size);
  try {
    SECCompressFile file(path.c_str(), CFile::modeRead);
    std::vector<char> buffer(3000);
    while (file.Read(buffer.data(), static_cast<UINT>(buffer.size())) != 0) {
    }
    file.Close();
  } catch (CException* e) {
    e->Delete();
  }
  std::error_code error;
  std::filesystem::remove(path, error);
  return 0;
}
