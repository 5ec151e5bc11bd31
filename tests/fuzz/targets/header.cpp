// Fuzz target: the header analyser on one header file.
#include <cstdint>
#include <filesystem>

#include "FuzzSupport.h"
#include "model/CWorkSpaceObj.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteFile("Header.h", data, size);
  {
    CWorkSpaceObj project;
    project.ParseSourceFile(path.c_str());
  }
  std::error_code error;
  std::filesystem::remove(path, error);
  return 0;
}
