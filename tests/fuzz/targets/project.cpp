// Fuzz target: Visual C++ project files: .dsp (read and rewritten), .dsw and .mak, chosen by the
// first byte.
#include <cstdint>
#include <filesystem>

#include "FuzzSupport.h"
#include "model/EBMsDspProjectObj.h"
#include "model/EBMsDswProjectObj.h"
#include "model/EBMsMakProjectObj.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int kind = data[0] % 3;
  const char* const names[] = {"p.dsp", "w.dsw", "m.mak"};
  const std::string path = fuzz::WriteFile(names[kind], data + 1, size - 1);
  if (kind == 0) {
    EBMsDspProjectObj project;
    if (project.Open(path.c_str())) project.Write(path.c_str());
  } else if (kind == 1) {
    EBMsDswProjectObj workspace;
    workspace.Open(path.c_str());
  } else {
    EBMsMakProjectObj makefile;
    makefile.Open(path.c_str());
  }
  std::error_code error;
  std::filesystem::remove(path, error);
  return 0;
}
