// Helpers of the fuzz targets.
#include "FuzzSupport.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/Sanitizers.h"
#ifdef BRAMBOLT_UNDER_ASAN
#include <sanitizer/lsan_interface.h>
#endif

namespace fuzz {

namespace {

// The targets draw off screen, as the tests do.
[[maybe_unused]] const bool g_headless = (::setenv("BRAMBOLT_BACKEND", "headless", 0), true);

struct PrivateFolder {
  std::string path;
  PrivateFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "brambolt-fuzz-XXXXXX").string();
    path = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string("/tmp");
  }
  ~PrivateFolder() {
    std::error_code error;
    if (path != "/tmp") std::filesystem::remove_all(path, error);
  }
};

}  // namespace

void Fill(CMemFile& file, const uint8_t* data, size_t size) {
  if (size > 0) file.Write(data, static_cast<UINT>(size));
  file.SeekToBegin();
}

const std::string& Folder() {
  static PrivateFolder folder;
  return folder.path;
}

std::string WriteFile(const std::string& name, const uint8_t* data, size_t size) {
  static std::atomic<unsigned> counter{0};
  const std::string path = Folder() + "/" + std::to_string(counter++) + "-" + name;
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

const char* SourceRoot() { return BRAMBOLT_SOURCE_DIR; }

#ifdef BRAMBOLT_UNDER_ASAN
LeaksIgnored::LeaksIgnored() { __lsan_disable(); }
LeaksIgnored::~LeaksIgnored() { __lsan_enable(); }
#else
LeaksIgnored::LeaksIgnored() = default;
LeaksIgnored::~LeaksIgnored() = default;
#endif

}  // namespace fuzz
