// The desktop entry and MIME package of project files, written under the user's data folder.
#include "app/DesktopAssociation.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/CMirrorFile.h"
#include "os/Process.h"

namespace fs = std::filesystem;

namespace {

// One argument of an Exec line: quoted when it holds a reserved character, with the characters
// the quoting reserves escaped, then every backslash doubled for the entry's string syntax.
std::string ExecArgument(const std::string& arg) {
  const bool bQuote = arg.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos;
  std::string quoted;
  for (char c : arg) {
    if (bQuote && (c == '"' || c == '`' || c == '$' || c == '\\')) quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  if (bQuote) quoted = '"' + quoted + '"';
  std::string escaped;
  for (char c : quoted) {
    if (c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

fs::path DataHome() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') return data;
  const char* home = std::getenv("HOME");
  return fs::path(home != nullptr ? home : "") / ".local" / "share";
}

std::string ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Writes the text unless the file already holds it; false when it could not be written. *changed
// tells whether it was. The file is replaced whole in one step, and a symbolic link planted at its
// name is replaced too, never followed: the file it names stays as it was.
bool WriteIfChanged(const fs::path& path, const std::string& text, bool* changed) {
  std::error_code error;
  if (fs::is_regular_file(fs::symlink_status(path, error)) && ReadWhole(path) == text) return true;
  fs::create_directories(path.parent_path(), error);
  *changed = true;
  CMirrorFile file(CMirrorFile::replaceLinks);
  if (!file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite)) return false;
  try {
    file.Write(text.data(), static_cast<UINT>(text.size()));
    file.Close();
  } catch (CException* e) {
    e->Delete();
    return false;
  }
  return true;
}

// Whether a value of the desktop-entry format can hold the text: UTF-8 without control characters
// (a line end would start a line of its own in the entry).
bool FitsDesktopEntry(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F) return false;
    const int nTrail = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (nTrail < 0 || (nTrail == 1 && c < 0xC2) || text.size() - i <= static_cast<std::size_t>(nTrail)) return false;
    for (int k = 1; k <= nTrail; ++k)
      if ((static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0xC0) != 0x80) return false;
    i += static_cast<std::size_t>(nTrail) + 1;
  }
  return true;
}

void RunIfPresent(const char* program, const fs::path& folder) {
  if (brambolt::FindProgram(program).empty()) return;
  brambolt::SpawnRequest request;
  request.program = program;
  request.argv = {program, folder.string()};
  request.errorsToOutput = true;
  std::string output;
  DWORD error = 0;
  brambolt::ReadProgramOutput(request, &output, &error, 20000);
}

}  // namespace

std::string MakeDcpDesktopEntry(const std::string& programPath) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Visual Brambolt\n"
         "Comment=Documents C++ source code\n"
         "Exec=" + ExecArgument(programPath) + " %f\n"
         "MimeType=" + std::string(kDcpMimeType) + ";\n"
         "Terminal=false\n"
         "Categories=Development;Documentation;\n";
}

std::string MakeDcpMimePackage() {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
         "  <mime-type type=\"" + std::string(kDcpMimeType) + "\">\n"
         "    <comment>Brambolt project</comment>\n"
         "    <glob pattern=\"*.dcp\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

bool RegisterDcpWithDesktop(const std::string& programPath) {
  const fs::path data = DataHome();
  bool bEntryChanged = false, bMimeChanged = false;
  // A program path the entry cannot hold gets no entry: it would open something else.
  const bool bEntry =
      FitsDesktopEntry(programPath) &&
      WriteIfChanged(data / "applications" / "visual-brambolt.desktop", MakeDcpDesktopEntry(programPath), &bEntryChanged);
  const bool bMime =
      WriteIfChanged(data / "mime" / "packages" / "visual-brambolt.xml", MakeDcpMimePackage(), &bMimeChanged);
  if (bEntryChanged) RunIfPresent("update-desktop-database", data / "applications");
  if (bMimeChanged) RunIfPresent("update-mime-database", data / "mime");
  return bEntry && bMime;
}
