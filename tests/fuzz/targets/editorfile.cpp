// Fuzz target: files opened in the code editor. A file that opens without a change (no line
// wider than the editor's limit, which opening wraps) is saved again byte for byte; a file with
// a NUL byte is refused. The first byte picks a double-byte code page (936) instead of 1252.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "FuzzSupport.h"
#include "afx/CWinApp.h"
#include "base/CodePage.h"
#include "editor/model/SECEdit.h"

namespace {

// The model with its error messages kept instead of shown.
class QuietEdit : public SECEdit {
 public:
  void ReportOpenError() override { refused = true; }
  void ReportWrappedLines(LPCTSTR) override { wrapped = true; }
  bool refused = false;
  bool wrapped = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  brambolt::ScopedCodePage page(data[0] & 1 ? 936 : 1252);
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string path = fuzz::WriteFile("opened.txt", data + 1, size - 1);
  CWinApp app("Editor File Fuzz");
  QuietEdit edit;
  edit.NewDocument();
  const BOOL opened = edit.OpenFile(path.c_str());
  const bool hasNul = bytes.find('\0') != std::string::npos;
  if (opened == hasNul || edit.refused != hasNul) {
    std::fprintf(stderr, "editor file: a file %s NUL byte was %s\n", hasNul ? "with a" : "without", opened ? "opened" : "refused");
    std::abort();
  }
  if (opened && edit.wrapped != static_cast<bool>(edit.IsModified())) {
    std::fprintf(stderr, "editor file: lines were %s but the document is %s\n", edit.wrapped ? "broken" : "kept",
                 edit.IsModified() ? "modified" : "unmodified");
    std::abort();
  }
  if (opened && !edit.IsModified()) {
    const std::string saved = path + ".saved";
    if (!edit.SaveFile(saved.c_str())) {
      std::fprintf(stderr, "editor file: the opened file was not saved\n");
      std::abort();
    }
    std::ifstream in(saved, std::ios::binary);
    const std::string back{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (back != bytes) {
      std::fprintf(stderr, "editor file: saved %zu bytes differ from the %zu opened\n", back.size(), bytes.size());
      std::abort();
    }
    std::remove(saved.c_str());
  }
  std::remove(path.c_str());
  return 0;
}
