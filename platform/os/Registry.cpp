// The registry: an in-memory tree per root, open-key handles, and the `.reg` text files behind
// the persistent roots.
#include "os/Registry.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/Convert.h"
#include "base/LastError.h"
#include "os/FileApi.h"
#include "os/FileFaults.h"
#include "os/FileSupport.h"
#include "os/OwnedNames.h"
#include "os/Paths.h"

namespace brambolt {

namespace {

// Key names compare without regard to case, as the text they are reads: a name in UTF-8 (as names
// the user typed are kept, os/Paths.h) folds its ASCII letters only, since its other bytes are
// pieces of characters that the code page's case rules would take for letters of their own ("Ú"
// and "Ê" differ only in a byte that Windows-1252 reads as š and Š). Any other name folds as a
// file name of the code page. Each name folds by its own rule, so the order is one order.
std::string FoldedKeyName(const std::string& name) {
  std::string folded = name;
  if (IsUtf8Text(name)) {
    for (char& c : folded)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return folded;
  }
  bool trail = false;
  for (char& c : folded) {
    const auto b = static_cast<unsigned char>(c);
    if (!trail) c = static_cast<char>(ToUpperByte(b));
    trail = !trail && b > 0x80 && IsPathLeadByte(b);
  }
  return folded;
}

int CompareKeyNames(const std::string& a, const std::string& b) {
  if (IsAsciiText(a) || IsAsciiText(b)) return CompareFileNamesNoCase(a, b);
  return FoldedKeyName(a).compare(FoldedKeyName(b));
}

struct NoCaseLess {
  bool operator()(const std::string& a, const std::string& b) const { return CompareKeyNames(a, b) < 0; }
};

struct Value {
  std::string name;
  DWORD type = REG_NONE;
  std::string data;  // the bytes as stored
  bool fromSystem = false;  // answered from the system's own facts, never written to the file
};

struct Key {
  std::string name;
  std::string className;
  Key* parent = nullptr;
  std::map<std::string, std::shared_ptr<Key>, NoCaseLess> children;
  std::vector<Value> values;
  FILETIME lastWrite{};
  bool isVolatile = false;
  bool deleted = false;

  Value* FindValue(const std::string& valueName) {
    for (Value& v : values)
      if (FileNamesEqualNoCase(v.name, valueName)) return &v;
    return nullptr;
  }
};

FILETIME Now() {
  struct timespec ts;
  ::clock_gettime(CLOCK_REALTIME, &ts);
  return FileTimeFromUnix(ts.tv_sec, ts.tv_nsec);
}

constexpr int kRootCount = 7;
const char* const kRootNames[kRootCount] = {"HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                            "HKEY_USERS",            "HKEY_PERFORMANCE_DATA",
                                            "HKEY_CURRENT_CONFIG",   "HKEY_DYN_DATA"};
bool Persisted(int root) { return root <= 2; }
constexpr int kMachineRoot = 2;

// The predefined key a handle names (0..6), accepting the value with or without sign extension.
std::optional<int> PredefinedIndex(HKEY hKey) {
  const auto value = reinterpret_cast<std::uintptr_t>(hKey);
  const std::uint64_t high = static_cast<std::uint64_t>(value) >> 32;
  const auto low = static_cast<std::uint32_t>(value);
  if ((high == 0 || high == 0xFFFFFFFFu) && low >= 0x80000000u && low <= 0x80000006u)
    return static_cast<int>(low - 0x80000000u);
  return std::nullopt;
}

std::string RegistryFolder() {
  if (const char* dir = std::getenv("BRAMBOLT_REGISTRY_DIR"); dir && *dir) return dir;
  std::string config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    config = xdg;
  } else {
    const char* home = std::getenv("HOME");
    config = std::string(home ? home : ".") + "/.config";
  }
  return config + "/visual-brambolt/registry";
}

// ---- The .reg text syntax -------------------------------------------------------------------

void AppendHex(std::string& out, const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i) out += ',';
    const auto b = static_cast<unsigned char>(bytes[i]);
    out += digits[b >> 4];
    out += digits[b & 15];
  }
}

// A quoted name or string. Bytes below 0x20 are written as \xHH, so any name survives.
void AppendQuoted(std::string& out, const std::string& text) {
  out += '"';
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (b < 0x20 || b == 0x7F) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", b);
      out += hex;
    } else {
      out += c;
    }
  }
  out += '"';
}

// A string that the quoted form carries exactly: its one terminator last and no control bytes.
bool IsPlainString(const std::string& data) {
  if (data.empty() || data.back() != '\0') return false;
  for (std::size_t i = 0; i + 1 < data.size(); ++i) {
    const auto b = static_cast<unsigned char>(data[i]);
    if (b < 0x20 || b == 0x7F) return false;
  }
  return true;
}

void AppendValue(std::string& out, const Value& v) {
  if (v.name.empty())
    out += '@';
  else
    AppendQuoted(out, v.name);
  out += '=';
  if (v.type == REG_SZ && IsPlainString(v.data)) {
    AppendQuoted(out, v.data.substr(0, v.data.size() - 1));
  } else if (v.type == REG_DWORD && v.data.size() == 4) {
    DWORD d = 0;
    for (int i = 3; i >= 0; --i) d = (d << 8) | static_cast<unsigned char>(v.data[static_cast<std::size_t>(i)]);
    char text[16];
    std::snprintf(text, sizeof text, "dword:%08x", d);
    out += text;
  } else if (v.type == REG_BINARY) {
    out += "hex:";
    AppendHex(out, v.data);
  } else {
    char text[24];
    std::snprintf(text, sizeof text, "hex(%x):", v.type);
    out += text;
    AppendHex(out, v.data);
  }
  out += "\r\n";
}

void AppendKey(std::string& out, const Key& key, const std::string& path) {
  if (key.isVolatile) return;
  out += "[" + path + "]\r\n";
  for (const Value& v : key.values)
    if (!v.fromSystem) AppendValue(out, v);
  out += "\r\n";
  for (const auto& [name, child] : key.children) AppendKey(out, *child, path + "\\" + child->name);
}

std::string Serialize(const Key& top, int root) {
  std::string out = "REGEDIT4\r\n\r\n";
  AppendKey(out, top, kRootNames[root]);
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted text starting at `pos` (on the opening quote); false when it is malformed. The
// escapes are \", \\ and \x with two hex digits, as the file is written; any other (a path typed
// with single backslashes, "D:\Projects\x") is not read as a letter, which a write would then
// store in place of what the user typed, and `why` says so.
bool ParseQuoted(const std::string& line, std::size_t& pos, std::string& out, const char*& why) {
  if (pos >= line.size() || line[pos] != '"') return false;
  for (++pos; pos < line.size(); ++pos) {
    const char c = line[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++pos >= line.size()) return false;
    if (line[pos] == 'x' && pos + 2 < line.size() && HexDigit(line[pos + 1]) >= 0 && HexDigit(line[pos + 2]) >= 0) {
      out += static_cast<char>(HexDigit(line[pos + 1]) * 16 + HexDigit(line[pos + 2]));
      pos += 2;
    } else if (line[pos] == '"' || line[pos] == '\\') {
      out += line[pos];
    } else {
      why = "a backslash not followed by \\\\, \\\" or \\x and two hex digits (a backslash is written \\\\)";
      return false;
    }
  }
  return false;
}

bool ParseHexList(std::string_view text, std::string& out) {
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == ',')) ++i;
    if (i >= text.size()) break;
    if (i + 1 >= text.size() || HexDigit(text[i]) < 0 || HexDigit(text[i + 1]) < 0) return false;
    out += static_cast<char>(HexDigit(text[i]) * 16 + HexDigit(text[i + 1]));
    i += 2;
  }
  return true;
}

// Reads a value's line. When it cannot, `why` may be set to a reason more exact than the usual.
bool ParseValue(const std::string& line, Value& v, const char*& why) {
  std::size_t pos = 0;
  if (line[0] == '@') {
    pos = 1;
  } else if (!ParseQuoted(line, pos, v.name, why)) {
    return false;
  }
  while (pos < line.size() && line[pos] == ' ') ++pos;
  if (pos >= line.size() || line[pos] != '=') return false;
  ++pos;
  while (pos < line.size() && line[pos] == ' ') ++pos;
  const std::string_view rest = std::string_view(line).substr(pos);
  if (!rest.empty() && rest[0] == '"') {
    v.type = REG_SZ;
    if (!ParseQuoted(line, pos, v.data, why)) return false;
    // A quote inside the text not written as \" ends it early: what follows would be lost.
    if (line.find_first_not_of(" \t", pos) != std::string::npos) {
      why = "text after the value's closing quote (a quote inside it is written \\\")";
      return false;
    }
    v.data += '\0';
    return true;
  }
  if (rest.starts_with("dword:")) {
    // One to eight hex digits: a longer number does not fit, and cut to 32 bits it would be
    // written back as a value the user never wrote.
    std::size_t i = 6;
    std::uint32_t d = 0;
    for (; i < rest.size() && HexDigit(rest[i]) >= 0; ++i) {
      if (i - 6 == 8) {
        why = "a dword of more than eight hex digits";
        return false;
      }
      d = d << 4 | static_cast<std::uint32_t>(HexDigit(rest[i]));
    }
    if (i == 6 || rest.find_first_not_of(" \t", i) != std::string_view::npos) return false;
    v.type = REG_DWORD;
    for (int k = 0; k < 4; ++k) v.data += static_cast<char>((d >> (8 * k)) & 0xFF);
    return true;
  }
  if (rest.starts_with("hex:")) {
    v.type = REG_BINARY;
    return ParseHexList(rest.substr(4), v.data);
  }
  if (rest.starts_with("hex(")) {
    const std::size_t close = rest.find("):");
    if (close == std::string_view::npos) return false;
    // The type is one to eight hex digits and nothing else: "hex(7z):" is no type 7.
    const std::string_view digits = rest.substr(4, close - 4);
    if (digits.empty() || digits.size() > 8 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return HexDigit(c) >= 0; })) {
      why = "a value type that is not a hex number in hex(...)";
      return false;
    }
    v.type = 0;
    for (const char c : digits) v.type = v.type << 4 | static_cast<DWORD>(HexDigit(c));
    return ParseHexList(rest.substr(close + 2), v.data);
  }
  return false;
}

// Splits "a\b\c" into its names; empty names (doubled or trailing backslashes) are dropped. The
// trail byte of a double-byte character is never a separator.
std::vector<std::string> SplitKeyPath(std::string_view path) {
  std::vector<std::string> names;
  std::string name;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsPathLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
      name += path[i];
      name += path[++i];
    } else if (path[i] != '\\') {
      name += path[i];
    } else if (!name.empty()) {
      names.push_back(std::move(name));
      name.clear();
    }
  }
  if (!name.empty()) names.push_back(std::move(name));
  return names;
}

// The documented limits: a key name holds at most 255 characters and a tree is at most 512 keys
// deep. Deeper trees would also make the recursive writing and freeing of keys overflow the stack.
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxKeyDepth = 512;

std::size_t Depth(const Key& key) {
  std::size_t depth = 0;
  for (const Key* k = key.parent; k; k = k->parent) ++depth;
  return depth;
}

// Whether a key name ends in the lead byte of a double-byte character without its trail. Written
// into a path, such a byte would take the backslash after it as its trail, so the name and the
// name of a subkey below it would read back as one name.
bool EndsInLoneLeadByte(const std::string& name) {
  std::size_t i = 0;
  while (i < name.size()) {
    if (!IsPathLeadByte(static_cast<unsigned char>(name[i]))) {
      ++i;
    } else if (i + 1 < name.size()) {
      i += 2;
    } else {
      return true;
    }
  }
  return false;
}

// Whether a name read from the file can stay in the store: one a caller can name as it is (no
// NUL, which ends every name passed in) and that reads back as it is written (see above).
bool CanKeepName(const std::string& name) {
  return name.find('\0') == std::string::npos && !EndsInLoneLeadByte(name);
}

// Whether `names` below `parent` stay within the limits.
bool WithinLimits(const Key& parent, const std::vector<std::string>& names) {
  for (const std::string& n : names)
    if (n.size() > kMaxKeyNameLength) return false;
  return Depth(parent) + names.size() <= kMaxKeyDepth;
}

Key* Child(Key& parent, const std::string& name, bool create) {
  auto it = parent.children.find(name);
  if (it != parent.children.end()) return it->second.get();
  if (!create) return nullptr;
  auto key = std::make_shared<Key>();
  key->name = name;
  key->parent = &parent;
  key->lastWrite = parent.lastWrite;
  Key* raw = key.get();
  parent.children.emplace(name, std::move(key));
  return raw;
}

// A line of the file as a message shows it: text written in UTF-8 (as the user's editor writes
// it) in the program's code page where every character converts; a byte no text shows (a control
// character, or a character that does not convert) as \xNN, so the message is shown whole. A line
// that would show longer than 80 characters is cut at a character's end, its escapes counted.
std::string ShownLine(const std::string& line) {
  std::string text = line;
  bool escapeHigh = false;
  if (!IsAsciiText(line) && IsUtf8Text(line)) escapeHigh = !ConvertExactly(line, CP_UTF8, CP_ACP, text);
  auto escaped = [escapeHigh](unsigned char byte) {
    return (byte < 0x20 && byte != '\t') || byte == 0x7F || (escapeHigh && byte >= 0x80);
  };
  auto show = [&](std::size_t length) {
    std::string shown;
    for (std::size_t i = 0; i < length; ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      if (escaped(byte)) {
        char escape[5];
        std::snprintf(escape, sizeof escape, "\\x%02X", byte);
        shown += escape;
      } else {
        shown += text[i];
      }
    }
    return shown;
  };
  std::string shown = show(text.size());
  if (shown.size() <= 80) return shown;
  std::size_t length = 0;
  for (std::size_t width = 0; length < text.size(); ++length) {
    width += escaped(static_cast<unsigned char>(text[length])) ? 4 : 1;
    if (width > 77) break;
  }
  if (!escapeHigh) length = CharacterBoundary(text, length);
  return show(length) + "...";
}

// Fills `top` from a file's text. Lines that cannot be read are skipped, so a damaged line costs
// that line only (a key's header, its values too); each is named in `unread`, when given, by its
// number and text.
void Parse(const std::string& text, Key& top, int root, std::vector<std::string>* unread = nullptr) {
  // A file written in UTF-16 (as a Windows editor exports one) has no line that reads as text
  // here: it is told as one, not line by line.
  if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
    if (unread != nullptr) unread->push_back("the whole file: it is written in UTF-16, which is not read");
    return;
  }
  std::vector<std::string> lines;
  std::vector<std::size_t> numbers;  // of each line's first line in the file
  std::vector<bool> cut;             // a hex list whose continuation did not come
  std::string current;
  std::size_t start = 0;
  std::size_t lineNumber = 0, number = 0;
  while (start < text.size()) {
    ++lineNumber;
    if (current.empty()) number = lineNumber;
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // A hex list may go on over the next lines, each but the last ending in a backslash.
    const bool continued =
        !line.empty() && line.back() == '\\' && (!current.empty() || line.find("=hex") != std::string::npos);
    if (!current.empty()) {
      std::size_t first = line.find_first_not_of(" \t");
      line = first == std::string::npos ? std::string() : line.substr(first);
      // A key's header or a value's line is never part of a hex list: the list waiting for its
      // continuation ends without it, and the line is read as itself.
      if (!line.empty() && (line[0] == '[' || line[0] == '"' || line[0] == '@')) {
        lines.push_back(std::move(current));
        numbers.push_back(number);
        cut.push_back(true);
        current.clear();
        number = lineNumber;
        const bool goesOn = line[0] != '[' && line.back() == '\\' && line.find("=hex") != std::string::npos;
        current = goesOn ? line.substr(0, line.size() - 1) : line;
        if (goesOn && start < text.size()) continue;
        lines.push_back(std::move(current));
        numbers.push_back(number);
        cut.push_back(goesOn);
        current.clear();
        continue;
      }
    }
    current += continued ? line.substr(0, line.size() - 1) : line;
    if (continued && start < text.size()) continue;
    lines.push_back(std::move(current));
    numbers.push_back(number);
    cut.push_back(continued);
    current.clear();
  }

  auto tell = [&](std::size_t index, const std::string& what) {
    if (unread == nullptr) return;
    unread->push_back("line " + std::to_string(numbers[index]) + " (" + what + "): " + ShownLine(lines[index]));
  };
  Key* key = nullptr;
  bool inKeys = false;  // a key's header has come: a line without a key is one of a header not read
  const std::string rootName = kRootNames[root];
  // Each key's values read so far, by name (as value names compare), with the line each came from:
  // reading a key's values takes time in proportion to their number, however many they are.
  struct Read {
    std::size_t value, line;
  };
  struct NameLess {
    bool operator()(const std::string& a, const std::string& b) const { return CompareFileNamesNoCase(a, b) < 0; }
  };
  std::unordered_map<const Key*, std::map<std::string, Read, NameLess>> read;
  for (std::size_t index = 0; index < lines.size(); ++index) {
    const std::string& line = lines[index];
    // A line of blanks alone (as an editor leaves one) holds nothing to read or lose.
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    // A comment is not kept by a write, which writes what was read.
    if (line[0] == ';') {
      tell(index, "a comment, which is not kept");
      continue;
    }
    if (line[0] == '[') {
      key = nullptr;
      inKeys = true;
      const std::size_t close = line.rfind(']');
      if (close == std::string::npos) {
        tell(index, "a key without its closing ']', so its values are not read either");
        continue;
      }
      // Text after the ']' is not part of the key, whose values are read: the text alone is lost.
      if (line.find_first_not_of(" \t", close + 1) != std::string::npos)
        tell(index, "text after the key's closing ']', which is not kept");
      const std::string path = line.substr(1, close - 1);
      if (path.size() < rootName.size() || !FileNamesEqualNoCase(path.substr(0, rootName.size()), rootName) ||
          (path.size() > rootName.size() && path[rootName.size()] != '\\')) {
        tell(index, "a key not under " + rootName + ", so its values are not read either");
        continue;
      }
      const std::vector<std::string> names = SplitKeyPath(std::string_view(path).substr(rootName.size()));
      // A key the store cannot hold is skipped with its values, so no write brings it back.
      if (!WithinLimits(top, names) || !std::all_of(names.begin(), names.end(), CanKeepName)) {
        tell(index, "a key the store cannot hold, so its values are not read either");
        continue;
      }
      key = &top;
      for (const std::string& name : names) key = Child(*key, name, true);
      continue;
    }
    Value v;
    if (!key) {
      // The file's first line names its format; any other line before the first key belongs to
      // none.
      if (!inKeys && line != "REGEDIT4" && !line.starts_with("Windows Registry Editor Version "))
        tell(index, "a line before the first key");
      continue;
    }
    const char* why = "a value that cannot be read: a quote, '=' or digit missing";
    if (cut[index]) {
      tell(index, "a hex list continued with '\\' but not on the next line");
      continue;
    }
    if (!ParseValue(line, v, why)) {
      tell(index, why);
      continue;
    }
    if (v.name.find('\0') != std::string::npos) {
      tell(index, "a value name with a NUL byte in it");
      continue;
    }
    // A name given twice in one key holds one value: the later line's. The earlier is told.
    auto& names = read[key];
    if (auto it = names.find(v.name); it != names.end() && FileNamesEqualNoCase(it->first, v.name)) {
      tell(it->second.line, "a value named again on line " + std::to_string(numbers[index]) + ", which is read in its place");
      key->values[it->second.value] = std::move(v);
      it->second.line = index;
    } else {
      names.emplace(v.name, Read{key->values.size(), index});
      key->values.push_back(std::move(v));
    }
  }
}

// One change this process made to a persistent root since its file was last written. The file
// is written by applying these to what it holds then, so that the values another process wrote
// meanwhile survive.
struct Change {
  enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
  Kind kind;
  std::vector<std::string> path;  // the key's names below the root
  Value value;                    // SetValue: the value; DeleteValue: its name; CreateKey: class in data
};

// The names of a key below its root.
std::vector<std::string> PathOf(const Key& key) {
  std::vector<std::string> path;
  for (const Key* k = &key; k->parent; k = k->parent) path.push_back(k->name);
  return {path.rbegin(), path.rend()};
}

// Applies a change to a tree read from the file. A key deleted here goes with what another
// process put below it; a value set here is set whatever became of its key there.
void Apply(const Change& change, Key& top) {
  Key* key = &top;
  const bool makes = change.kind == Change::Kind::CreateKey || change.kind == Change::Kind::SetValue;
  for (const std::string& name : change.path)
    if (!(key = Child(*key, name, makes))) return;
  switch (change.kind) {
    case Change::Kind::CreateKey:
      if (!change.value.data.empty()) key->className = change.value.data;
      break;
    case Change::Kind::DeleteKey:
      if (key->parent) key->parent->children.erase(key->name);
      break;
    case Change::Kind::SetValue:
      if (Value* v = key->FindValue(change.value.name))
        *v = change.value;
      else
        key->values.push_back(change.value);
      break;
    case Change::Kind::DeleteValue: {
      auto& values = key->values;
      values.erase(std::remove_if(values.begin(), values.end(),
                                  [&](const Value& v) { return FileNamesEqualNoCase(v.name, change.value.name); }),
                   values.end());
      break;
    }
  }
}

// Reads a whole file into `text`. The result is 0, ENOENT when there is no such file, or the
// errno of why a file that is there could not be read (its mode or owner, a read error): such a
// file is not empty, and what it holds must not be lost.
int ReadWholeFile(const std::string& path, std::string& text) {
  text.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  int error = 0;
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      text.append(buffer, static_cast<std::size_t>(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      if (n < 0) error = errno;
      break;
    }
  }
  ::close(fd);
  return error;
}

// Takes the lock that keeps the store's writers in all processes apart, an exclusive flock on the
// lock file, which is opened for writing (and made when missing) where this user may, else for
// reading only: flock locks a descriptor opened either way, so a lock file of another account
// still serves. The descriptor, or -1 with errno when the file can be neither opened nor locked.
int LockStore(const std::string& lockPath) {
  int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) {
    const int error = errno;
    fd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      errno = error;
      return -1;
    }
  }
  int result;
  while ((result = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
  }
  if (result != 0) {
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

std::atomic<RegistryFailureHandler> g_failureHandler{nullptr};

// Tells why a write failed, or what of a file could not be read: to the handler the program installed, else on the standard error.
void TellFailure(const std::string& failure) {
  const RegistryFailureHandler handler = g_failureHandler.load();
  if (handler == nullptr || !handler(failure)) std::fprintf(stderr, "%s\n", failure.c_str());
}

// Tells the lines of a file not read. The first lines are named, as many as leave the message
// short enough for a message box to show whole (about a thousand characters); the rest are
// counted, and the message always ends with `kept`: where the text is kept, or why it is not.
void TellUnread(const std::string& folder, const std::string& fileName, const std::vector<std::string>& unread,
                const std::string& kept) {
  constexpr std::size_t kLinesNamed = 10, kToldLength = 1000;
  std::string told = "Settings not read from " + folder + "/" + fileName + ":";
  std::size_t named = 0;
  for (; named < unread.size() && named < kLinesNamed; ++named) {
    const std::string more = named + 1 < unread.size() ? "\n...and " + std::to_string(unread.size()) + " more." : "";
    if (told.size() + 1 + unread[named].size() + more.size() + kept.size() > kToldLength) break;
    told += "\n" + unread[named];
  }
  if (named < unread.size()) told += "\n...and " + std::to_string(unread.size() - named) + " more.";
  told += kept;
  TellFailure(told);
}

// A file whose lines could not all be read is kept as it is beside the store, before any write
// replaces it with what was read: the user's hand-made text is not lost, and the user is told
// once what was not read, where, and where the text is kept. A copy already kept of the same
// text is not made or told again. False, with errno, when the copy could not be made: the lines
// are told all the same, with why the file could not be kept aside (once for the same text).
bool KeepUnreadText(const std::string& folder, const std::string& fileName, const std::string& text,
                    const std::vector<std::string>& unread) {
  if (unread.empty()) return true;
  std::string aside;
  int fd = -1;
  auto notKept = [&](int error) {
    static std::mutex toldMutex;
    static std::map<std::string, std::string> toldText;  // by file, the text last told as not kept
    bool tell = false;
    {
      std::lock_guard<std::mutex> lock(toldMutex);
      std::string& told = toldText[folder + "/" + fileName];
      tell = told != text;
      told = text;
    }
    if (tell)
      TellUnread(folder, fileName, unread,
                 "\nThe file could not be kept aside as " + aside + ": " + std::strerror(error) +
                     ". It is not written over until it can be.");
    errno = error;
    return false;
  };
  for (int n = 1; n <= 100 && fd < 0; ++n) {
    aside = folder + "/" + fileName + ".unread" + (n == 1 ? std::string() : "-" + std::to_string(n));
    std::string kept;
    if (ReadWholeFile(aside, kept) == 0) {
      if (kept == text) return true;
      continue;
    }
    if (const int fault = FileFault(FileStep::Create, aside)) return notKept(fault);
    fd = ::open(aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) return notKept(errno);
  }
  if (fd < 0) return notKept(EEXIST);
  bool ok = true;
  for (std::size_t done = 0; ok && done < text.size();) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  ok = ::close(fd) == 0 && ok;
  if (!ok) {
    const int error = errno;
    ::unlink(aside.c_str());
    return notKept(error);
  }
  TellUnread(folder, fileName, unread, "\nThe file as it was is kept as " + aside + ".");
  return true;
}

// The text that tells why a write of the store failed: the file and the system's reason.
std::string WriteFailure(const char* what, const std::string& path, int error) {
  return std::string("Settings are not saved: ") + what + " " + path + ": " + std::strerror(error);
}

// Writes a root's file whole: under a lock that keeps writers of other processes from
// interleaving, the file is read again, this process's changes are applied to what it holds,
// and the result goes to a temporary file beside it renamed over it. A file kept as a symbolic
// link is written as a save writes one: the file the link names is replaced, beside it, and the
// link stays. A durable write reaches the disk before it replaces the file. A file that is there
// but cannot be read is never replaced.
// The result is 0, or the errno of the step that failed with `failure` saying which and why.
// `heldLock` is the store's lock when this process holds it already (a RegistryStoredUpdate),
// else -1: the write then takes it and lets it go.
int WriteMerged(const std::string& folder, const std::string& fileName, int root, const std::vector<Change>& changes,
                bool durable, int heldLock, std::string& failure) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  const std::string lockPath = folder + "/.registry.lock";
  const int lockFd = heldLock >= 0 ? heldLock : LockStore(lockPath);
  if (lockFd < 0) {
    const int error = errno;
    failure = WriteFailure("cannot lock", lockPath, error);
    return error;
  }
  auto unlock = [&] {
    if (heldLock >= 0) return;
    ::flock(lockFd, LOCK_UN);
    ::close(lockFd);
  };
  std::string stored;
  if (const int error = ReadWholeFile(folder + "/" + fileName, stored); error != 0 && error != ENOENT) {
    unlock();
    failure = WriteFailure("cannot read", folder + "/" + fileName, error) + "; the file is kept as it is";
    return error;
  }
  Key top;
  top.name = kRootNames[root];
  std::vector<std::string> unread;
  Parse(stored, top, root, &unread);
  if (!KeepUnreadText(folder, fileName, stored, unread)) {
    const int error = errno;
    unlock();
    failure = WriteFailure("cannot keep the lines it could not read of", folder + "/" + fileName, error) +
              "; the file is kept as it is";
    return error;
  }
  for (const Change& change : changes) Apply(change, top);
  const std::string text = Serialize(top, root);
  std::string target;
  if (!file_support::LinkTarget(folder + "/" + fileName, target)) {
    // A link that names a file in a folder that is not there: the link stays as it is.
    const int error = errno;
    failure = WriteFailure("cannot write", folder + "/" + fileName, error) + " (it is a symbolic link to " + target +
              ", which cannot be made)";
    unlock();
    return error;
  }
  const std::string targetFolder = file_support::ParentOf(target), targetName = file_support::LeafOf(target);
  // The temporary file carries this process's id, so what a killed write left is known and
  // removed here, and a write of another process still going on is not.
  owned_name::RemoveDeadLeftovers(targetFolder, targetName, "~");
  std::string temp;
  bool ok = false;
  const int fd = owned_name::Create(targetFolder, targetName, "~", temp);
  if (fd >= 0) {
    ok = true;
    if (const int fault = FileFault(FileStep::Write, temp)) {
      errno = fault;
      ok = false;
    }
    const char* p = text.data();
    std::size_t left = text.size();
    while (ok && left > 0) {
      const ssize_t n = ::write(fd, p, left);
      if (n < 0 && errno == EINTR) continue;
      ok = n > 0;
      if (ok) {
        p += n;
        left -= static_cast<std::size_t>(n);
      }
    }
    ok = ok && ::fchmod(fd, 0600) == 0 && (!durable || ::fsync(fd) == 0);
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  }
  // The reason is taken before the temporary file is removed, which may set errno again.
  const int error = ok ? 0 : errno != 0 ? errno : EIO;
  if (!ok && fd >= 0) ::unlink(temp.c_str());
  if (!ok) failure = WriteFailure("cannot write", folder + "/" + fileName, error);
  unlock();
  return error;
}

// ---- The store ------------------------------------------------------------------------------

struct Root {
  std::shared_ptr<Key> top;
  std::string folder;  // where it was loaded from
  bool folderExisted = false;
  bool dirty = false;
  std::vector<Change> changes;  // made since the file was last written
};

// The computer's registered owner is the user: the full name from the password database (the
// comment field up to its first comma), else the login name, in the ANSI code page.
std::string RegisteredOwner() {
  std::string owner;
  std::vector<char> buffer(16384);
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
    if (found->pw_gecos) owner.assign(found->pw_gecos, std::strcspn(found->pw_gecos, ","));
    if (owner.empty() && found->pw_name) owner = found->pw_name;
  }
  if (owner.empty())
    for (const char* variable : {"LOGNAME", "USER"})
      if (const char* name = std::getenv(variable); name && *name) {
        owner = name;
        break;
      }
  return Utf8ToAnsi(owner);
}

// Gives the machine root the values a program reads of the system itself and that no file holds:
// "RegisteredOwner" under both the NT and the 9x version keys. A value the file holds stays.
void AddSystemValues(Key& top) {
  const std::string owner = RegisteredOwner();
  if (owner.empty()) return;
  for (const char* path : {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion"}) {
    Key* key = &top;
    for (const std::string& name : SplitKeyPath(path)) key = Child(*key, name, true);
    if (!key->FindValue("RegisteredOwner")) key->values.push_back({"RegisteredOwner", REG_SZ, owner + '\0', true});
  }
}

void MarkDeleted(Key& key) {
  key.deleted = true;
  for (auto& [name, child] : key.children) MarkDeleted(*child);
}

// Makes a key of memory hold what the same key of the file holds, keeping the key objects that
// stay (open handles refer to them), its volatile subkeys and the values answered from the
// system.
void TakeStored(Key& memory, const Key& stored) {
  memory.className = stored.className;
  std::vector<Value> values = stored.values;
  for (const Value& v : memory.values)
    if (v.fromSystem && std::none_of(values.begin(), values.end(), [&](const Value& s) { return FileNamesEqualNoCase(s.name, v.name); }))
      values.push_back(v);
  memory.values = std::move(values);
  for (auto it = memory.children.begin(); it != memory.children.end();) {
    if (!it->second->isVolatile && stored.children.find(it->first) == stored.children.end()) {
      MarkDeleted(*it->second);
      it = memory.children.erase(it);
    } else {
      ++it;
    }
  }
  for (const auto& [name, child] : stored.children) {
    Key* mine = Child(memory, name, true);
    if (!mine->isVolatile) TakeStored(*mine, *child);
  }
}


struct OpenKey {
  std::shared_ptr<Key> key;
  int root;
  REGSAM access;
};

class Registry {
 public:
  ~Registry() {
    std::lock_guard<std::mutex> lock(mutex);
    for (int i = 0; i < kRootCount; ++i) WriteBack(i);
  }

  std::mutex mutex;

  // The root's top key, loaded on first use.
  Root& LoadedRoot(int index) {
    Root& root = m_roots[index];
    if (root.top) return root;
    root.top = std::make_shared<Key>();
    root.top->name = kRootNames[index];
    root.top->lastWrite = Now();
    if (!Persisted(index)) return root;
    root.folder = RegistryFolder();
    struct stat folder;
    root.folderExisted = ::stat(root.folder.c_str(), &folder) == 0;
    const std::string path = root.folder + "/" + kRootNames[index] + ".reg";
    // A file that cannot be read loads as empty; a write then refuses to replace it.
    std::string text;
    if (ReadWholeFile(path, text) != 0) {
      if (index == kMachineRoot) AddSystemValues(*root.top);
      return root;
    }
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) root.top->lastWrite = FileTimeFromUnix(st.st_mtim.tv_sec, st.st_mtim.tv_nsec);
    std::vector<std::string> unread;
    Parse(text, *root.top, index, &unread);
    // Kept aside and told at once; should that fail, the first write tries again and refuses.
    KeepUnreadText(root.folder, std::string(kRootNames[index]) + ".reg", text, unread);
    if (index == kMachineRoot) AddSystemValues(*root.top);
    return root;
  }

  // Writes a changed persistent root back: ERROR_SUCCESS, or the error of a write that failed.
  // Then the changes stay pending for the next write, and the reason is told to the failure
  // handler, else on the standard error (once while it stays the same).
  LONG WriteBack(int index, bool durable = false) {
    Root& root = m_roots[index];
    if (!root.dirty || !root.top || !Persisted(index)) return ERROR_SUCCESS;
    // A folder that was there at loading and has gone since was removed on purpose (a test's
    // private folder, say): it is not made again.
    struct stat folder;
    if (root.folderExisted && ::stat(root.folder.c_str(), &folder) != 0) return ERROR_REGISTRY_IO_FAILED;
    std::string failure;
    const std::string fileName = std::string(kRootNames[index]) + ".reg";
    if (const int error = WriteMerged(root.folder, fileName, index, root.changes, durable, m_heldLock, failure)) {
      // The roots are written one after another: the same reason met at another root's file (a
      // full disk refuses them all) is not told again.
      std::string reason = failure;
      if (const std::size_t at = reason.find(fileName); at != std::string::npos) reason.erase(at, fileName.size());
      if (reason != m_toldFailure) TellFailure(failure);
      m_toldFailure = reason;
      return static_cast<LONG>(ErrnoToWin32Error(error));
    }
    m_toldFailure.clear();
    root.dirty = false;
    root.changes.clear();
    return ERROR_SUCCESS;
  }

  // Reads the key at `path` of a root again from its file: the stored keys
  // and values replace what this process's copy holds of them, and its changes not yet written
  // are applied again on top. A file that cannot be read leaves the copy as it was.
  LONG Refresh(int index, const std::vector<std::string>& path) {
    if (!Persisted(index)) return ERROR_SUCCESS;
    Root& root = LoadedRoot(index);
    std::string text;
    if (const int error = ReadWholeFile(root.folder + "/" + kRootNames[index] + ".reg", text); error != 0 && error != ENOENT)
      return static_cast<LONG>(ErrnoToWin32Error(error));
    Key stored;
    stored.name = kRootNames[index];
    Parse(text, stored, index);
    Key* from = &stored;
    Key* to = root.top.get();
    for (const std::string& name : path) {
      from = from != nullptr ? Child(*from, name, false) : nullptr;
      to = to != nullptr ? Child(*to, name, from != nullptr) : nullptr;
    }
    if (to == nullptr) return ERROR_SUCCESS;  // in neither
    Key none;
    TakeStored(*to, from != nullptr ? *from : none);
    const auto within = [&path](const std::vector<std::string>& changed) {
      const std::size_t n = std::min(changed.size(), path.size());
      for (std::size_t i = 0; i < n; ++i)
        if (CompareKeyNames(changed[i], path[i]) != 0) return false;
      return true;
    };
    for (const Change& change : root.changes) {
      if (!within(change.path)) continue;
      if (change.kind == Change::Kind::DeleteKey) {
        Key* gone = root.top.get();
        for (const std::string& name : change.path)
          if (gone != nullptr) gone = Child(*gone, name, false);
        if (gone != nullptr && gone != root.top.get()) MarkDeleted(*gone);
      }
      Apply(change, *root.top);
    }
    return ERROR_SUCCESS;
  }

  // Writes back after a key is closed, unless a batch holds the writes.
  LONG WriteBackOnClose(int index) { return m_batches == 0 ? WriteBack(index) : ERROR_SUCCESS; }

  // Records a change made to `key`; volatile keys never reach the file.
  void MarkChanged(int index, Key& key, Change::Kind kind, Value value = {}) {
    key.lastWrite = Now();
    for (const Key* k = &key; k; k = k->parent)
      if (k->isVolatile) return;
    if (!Persisted(index)) return;
    Root& root = m_roots[index];
    root.dirty = true;
    root.changes.push_back({kind, PathOf(key), std::move(value)});
  }

  // Takes the store's lock for this process (once however many updates run) and reads the
  // root's file again into this process's copy; writes wait for the last update to end.
  LONG BeginStoredUpdate(int index) {
    BeginBatch();
    Root& root = LoadedRoot(index);
    const bool first = m_updates++ == 0;
    if (!Persisted(index)) return ERROR_SUCCESS;
    if (first) {
      // Where nothing was ever stored there is nothing to read: the write at the end takes the
      // lock itself, as any write does.
      struct stat folder;
      if (::stat(root.folder.c_str(), &folder) != 0) return ERROR_SUCCESS;
      m_heldLock = LockStore(root.folder + "/.registry.lock");
      if (m_heldLock < 0) return static_cast<LONG>(ErrnoToWin32Error(errno));
    }
    return Refresh(index);
  }

  // Whether the roots were written (see EndBatch); the lock goes with the last update.
  bool EndStoredUpdate() {
    const bool written = EndBatch();
    if (--m_updates == 0) ReleaseHeldLock();
    return written;
  }

  void BeginBatch() { ++m_batches; }
  // Whether the roots were written (true while an outer batch holds them).
  bool EndBatch() {
    if (--m_batches > 0) return true;
    bool ok = true;
    for (int i = 0; i < kRootCount; ++i) ok = WriteBack(i) == ERROR_SUCCESS && ok;
    return ok;
  }

  // Resolves a handle; the result names no key when the handle is not open.
  LONG Resolve(HKEY hKey, OpenKey& out) {
    if (auto predefined = PredefinedIndex(hKey)) {
      out = {LoadedRoot(*predefined).top, *predefined, KEY_ALL_ACCESS};
      return ERROR_SUCCESS;
    }
    auto it = m_handles.find(reinterpret_cast<std::uintptr_t>(hKey));
    if (it == m_handles.end()) return ERROR_INVALID_HANDLE;
    out = it->second;
    return out.key->deleted ? ERROR_KEY_DELETED : ERROR_SUCCESS;
  }

  HKEY NewHandle(OpenKey key) {
    const std::uintptr_t value = m_nextHandle;
    m_nextHandle += 4;
    m_handles.emplace(value, std::move(key));
    return reinterpret_cast<HKEY>(value);
  }

  // Removes a handle; ERROR_INVALID_HANDLE when it is not open. Predefined keys stay open.
  LONG Close(HKEY hKey, int& root) {
    if (auto predefined = PredefinedIndex(hKey)) {
      root = *predefined;
      return ERROR_SUCCESS;
    }
    auto it = m_handles.find(reinterpret_cast<std::uintptr_t>(hKey));
    if (it == m_handles.end()) return ERROR_INVALID_HANDLE;
    root = it->second.root;
    m_handles.erase(it);
    return ERROR_SUCCESS;
  }

  void Reset() {
    ReleaseHeldLock();
    m_updates = 0;
    for (Root& root : m_roots) root = Root();
    m_handles.clear();
    m_batches = 0;
    m_toldFailure.clear();
  }

 private:
  void ReleaseHeldLock() {
    if (m_heldLock < 0) return;
    ::flock(m_heldLock, LOCK_UN);
    ::close(m_heldLock);
    m_heldLock = -1;
  }

  // Reads a persistent root's file again into this process's copy (see the keyed Refresh).
  LONG Refresh(int index) { return Refresh(index, {}); }

  Root m_roots[kRootCount];
  int m_heldLock = -1;  // the store's lock while an update of this process holds it
  int m_updates = 0;
  int m_batches = 0;
  std::string m_toldFailure;  // the last failure told, without its root's file name: not told again
  std::unordered_map<std::uintptr_t, OpenKey> m_handles;
  std::uintptr_t m_nextHandle = 0x4000;
};

Registry& Store() {
  static Registry registry;
  return registry;
}

REGSAM Effective(REGSAM sam) {
  REGSAM access = sam & 0x00FF003F;
  if (sam & (GENERIC_ALL | MAXIMUM_ALLOWED)) access |= KEY_ALL_ACCESS;
  if (sam & GENERIC_READ) access |= KEY_READ;
  if (sam & GENERIC_WRITE) access |= KEY_WRITE;
  return access;
}

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

bool HasControlBytes(const std::vector<std::string>& names) {
  for (const std::string& n : names)
    for (char c : n)
      if (static_cast<unsigned char>(c) < 0x20) return true;
  return false;
}

// Copies a name into a character buffer of `*size` characters, cutting it to fit; the result
// tells whether it had to be cut. `*size` becomes the characters copied.
LONG CopyName(const std::string& name, LPSTR buffer, LPDWORD size) {
  if (!buffer || !size) return ERROR_INVALID_PARAMETER;
  if (*size == 0) return ERROR_MORE_DATA;
  const bool cut = name.size() + 1 > *size;
  const std::size_t n = cut ? *size - 1 : name.size();
  std::memcpy(buffer, name.data(), n);
  buffer[n] = '\0';
  *size = static_cast<DWORD>(n);
  return cut ? ERROR_MORE_DATA : ERROR_SUCCESS;
}

// Copies value data the Win32 way: with no buffer, only the size; with a small buffer, the size
// needed and ERROR_MORE_DATA. The size is always the stored one. `terminate` adds a zero after
// the data when the buffer has room for it (for a string stored without its terminator), so a
// caller with a spare byte gets a usable string; one without it still gets all the data.
LONG CopyData(const std::string& data, LPBYTE buffer, LPDWORD size, bool terminate = false) {
  if (!size) return buffer ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
  const DWORD room = *size;
  *size = static_cast<DWORD>(data.size());
  if (!buffer) return ERROR_SUCCESS;
  if (room < data.size()) return ERROR_MORE_DATA;
  std::memcpy(buffer, data.data(), data.size());
  if (terminate && room > data.size()) buffer[data.size()] = 0;
  return ERROR_SUCCESS;
}

// Whether the byte at `p` can be read and is a zero. The byte lies beyond what the caller said it
// gave, so it may be outside readable memory (or outside the caller's allocation): it is read
// through the kernel, which reports an unreadable address instead of faulting.
bool ZeroFollows(const BYTE* p) {
  unsigned char byte = 1;
  iovec local{&byte, 1};
  iovec remote{const_cast<BYTE*>(p), 1};
  return ::process_vm_readv(::getpid(), &local, 1, &remote, 1, 0) == 1 && byte == 0;
}

// A string value whose stored bytes do not end in its terminator.
bool IsUnterminatedString(const Value& v) {
  return IsStringType(v.type) && (v.data.empty() || v.data.back() != '\0');
}

// Finds a value through a handle open for reading and hands it to `use` under the store's lock.
template <typename Use>
LONG ReadValue(HKEY hKey, LPCSTR name, Use use) {
  Registry& store = Store();
  std::lock_guard<std::mutex> lock(store.mutex);
  OpenKey open;
  if (LONG error = store.Resolve(hKey, open)) return error;
  if (!(open.access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  const Value* v = open.key->FindValue(name ? name : "");
  if (!v) return ERROR_FILE_NOT_FOUND;
  return use(*v);
}

LONG OpenOrCreate(HKEY hKey, const char* subKey, REGSAM sam, bool create, const char* className, DWORD options,
                  PHKEY result, LPDWORD disposition) {
  if (!result) return ERROR_INVALID_PARAMETER;
  *result = nullptr;  // what a caller holds after a failure
  Registry& store = Store();
  std::lock_guard<std::mutex> lock(store.mutex);
  OpenKey parent;
  if (LONG error = store.Resolve(hKey, parent)) return error;
  const std::vector<std::string> names = SplitKeyPath(subKey ? subKey : "");
  if (create && (HasControlBytes(names) || !WithinLimits(*parent.key, names) ||
                 std::any_of(names.begin(), names.end(), EndsInLoneLeadByte)))
    return ERROR_INVALID_PARAMETER;
  Key* key = parent.key.get();
  std::shared_ptr<Key> held = parent.key;
  bool created = false;
  for (const std::string& name : names) {
    auto it = key->children.find(name);
    if (it == key->children.end()) {
      if (!create) return ERROR_FILE_NOT_FOUND;
      if (!created && !(parent.access & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
      // A volatile key holds only volatile keys, as on Windows.
      if (key->isVolatile && !(options & REG_OPTION_VOLATILE)) return ERROR_CHILD_MUST_BE_VOLATILE;
      Key* child = Child(*key, name, true);
      child->isVolatile = (options & REG_OPTION_VOLATILE) != 0;
      store.MarkChanged(parent.root, *child, Change::Kind::CreateKey);
      key->lastWrite = child->lastWrite;
      created = true;
      it = key->children.find(name);
    }
    held = it->second;
    key = held.get();
  }
  if (created && className) {
    key->className = className;
    store.MarkChanged(parent.root, *key, Change::Kind::CreateKey, {"", REG_NONE, className});
  }
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  *result = store.NewHandle({held, parent.root, Effective(sam)});
  return ERROR_SUCCESS;
}

}  // namespace

RegistryWriteBatch::RegistryWriteBatch() {
  Registry& store = Store();
  std::lock_guard<std::mutex> lock(store.mutex);
  store.BeginBatch();
}

RegistryWriteBatch::~RegistryWriteBatch() { Commit(); }

BOOL RegistryWriteBatch::Commit() {
  if (m_bEnded) return m_bResult;
  m_bEnded = true;
  Registry& store = Store();
  std::lock_guard<std::mutex> lock(store.mutex);
  m_bResult = store.EndBatch() ? TRUE : FALSE;
  return m_bResult;
}

RegistryStoredUpdate::RegistryStoredUpdate(HKEY hKey) {
  Registry& store = Store();
  std::lock_guard<std::mutex> lock(store.mutex);
  OpenKey key;
  m_lRead = store.Resolve(hKey, key);
  if (m_lRead == ERROR_INVALID_HANDLE) {
    store.BeginBatch();  // a bad handle reads nothing; the end still ends what was begun
    return;
  }
  m_bUpdate = true;
  m_lRead = store.BeginStoredUpdate(key.root);
}

RegistryStoredUpdate::~RegistryStoredUpdate() { Commit(); }

BOOL RegistryStoredUpdate::Commit() {
  if (m_bEnded) return m_bResult;
  m_bEnded = true;
  Registry& store = Store();
  std::lock_guard<std::mutex> lock(store.mutex);
  m_bResult = (m_bUpdate ? store.EndStoredUpdate() : store.EndBatch()) ? TRUE : FALSE;
  return m_bResult;
}

LONG ReadRegistryString(HKEY hKey, LPCSTR lpValueName, std::string& text, LPDWORD lpType) {
  text.clear();
  return ReadValue(hKey, lpValueName, [&](const Value& v) {
    if (lpType) *lpType = v.type;
    text.assign(v.data, 0, v.data.find('\0'));
    return ERROR_SUCCESS;
  });
}

LONG ReadRegistryString(HKEY hKey, LPCSTR lpValueName, LPSTR buffer, DWORD size, LPDWORD lpType) {
  if (!buffer || size == 0) return ERROR_INVALID_PARAMETER;
  std::string text;
  const LONG result = ReadRegistryString(hKey, lpValueName, text, lpType);
  const bool cut = text.size() >= size;
  if (cut) text.resize(size - 1);
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return result != ERROR_SUCCESS ? result : cut ? ERROR_MORE_DATA : ERROR_SUCCESS;
}


void SetRegistryFailureHandler(RegistryFailureHandler handler) { g_failureHandler.store(handler); }

void ResetRegistryForTesting() {
  Registry& store = Store();
  std::lock_guard<std::mutex> lock(store.mutex);
  store.Reset();
}

}  // namespace brambolt

using namespace brambolt;

LONG RegOpenKeyEx(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
  return OpenOrCreate(hKey, lpSubKey, samDesired, false, nullptr, 0, phkResult, nullptr);
}

LONG RegCreateKeyEx(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR lpClass, DWORD dwOptions, REGSAM samDesired,
                    LPSECURITY_ATTRIBUTES, PHKEY phkResult, LPDWORD lpdwDisposition) {
  if (!lpSubKey) return ERROR_INVALID_PARAMETER;
  return OpenOrCreate(hKey, lpSubKey, samDesired, true, lpClass, dwOptions, phkResult, lpdwDisposition);
}

LONG RegCloseKey(HKEY hKey) {
  Registry& store = Store();
  std::lock_guard<std::mutex> lock(store.mutex);
  int root = 0;
  if (LONG error = store.Close(hKey, root)) return error;
  return store.WriteBackOnClose(root);
}

LONG RegFlushKey(HKEY hKey) {
  Registry& store = Store();
  std::lock_guard<std::mutex> lock(store.mutex);
  OpenKey open;
  if (LONG error = store.Resolve(hKey, open)) return error;
  return store.WriteBack(open.root, true);
}

LONG RegQueryValueEx(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
  const LONG result = ReadValue(hKey, lpValueName, [&](const Value& v) {
    // The caller's size is read before its type is written (a caller may pass one variable for
    // both). A string stored without its terminator reports its stored size and fits a buffer of
    // that size; a larger buffer gets the terminator after it.
    const LONG copied = CopyData(v.data, lpData, lpcbData, IsUnterminatedString(v));
    if (lpType) *lpType = v.type;
    return copied;
  });
  // A caller asking only for the size of a value that is not there is told 0.
  if (result == ERROR_FILE_NOT_FOUND && !lpData && lpcbData) *lpcbData = 0;
  return result;
}

LONG RegSetValueEx(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
  if (!lpData && cbData > 0) return ERROR_NOACCESS;
  Registry& store = Store();
  std::lock_guard<std::mutex> lock(store.mutex);
  OpenKey open;
  if (LONG error = store.Resolve(hKey, open)) return error;
  if (!(open.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  const std::string name = lpValueName ? lpValueName : "";
  std::string data(reinterpret_cast<const char*>(lpData), lpData ? cbData : 0);
  // A string whose size leaves out only its terminator (the byte right after the given ones is a
  // zero) is stored with it, as Windows does; one cut shorter is stored exactly as given.
  if (IsStringType(dwType) && !data.empty() && data.back() != '\0' && ZeroFollows(lpData + cbData)) data += '\0';
  Value* v = open.key->FindValue(name);
  if (v) {
    v->type = dwType;
    v->data = std::move(data);
    v->fromSystem = false;
  } else {
    v = &open.key->values.emplace_back(Value{name, dwType, std::move(data)});
  }
  store.MarkChanged(open.root, *open.key, Change::Kind::SetValue, *v);
  return ERROR_SUCCESS;
}

LONG RegDeleteKey(HKEY hKey, LPCSTR lpSubKey) {
  if (!lpSubKey) return ERROR_INVALID_PARAMETER;
  Registry& store = Store();
  std::lock_guard<std::mutex> lock(store.mutex);
  OpenKey open;
  if (LONG error = store.Resolve(hKey, open)) return error;
  Key* key = open.key.get();
  for (const std::string& name : SplitKeyPath(lpSubKey)) {
    auto it = key->children.find(name);
    if (it == key->children.end()) return ERROR_FILE_NOT_FOUND;
    key = it->second.get();
  }
  if (!key->parent) return ERROR_ACCESS_DENIED;  // a root key is never deleted
  if (!key->children.empty()) return ERROR_ACCESS_DENIED;
  Key* parent = key->parent;
  store.MarkChanged(open.root, *key, Change::Kind::DeleteKey);
  parent->lastWrite = key->lastWrite;
  MarkDeleted(*key);
  parent->children.erase(key->name);
  return ERROR_SUCCESS;
}

LONG RegDeleteValue(HKEY hKey, LPCSTR lpValueName) {
  Registry& store = Store();
  std::lock_guard<std::mutex> lock(store.mutex);
  OpenKey open;
  if (LONG error = store.Resolve(hKey, open)) return error;
  if (!(open.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
  std::vector<Value>& values = open.key->values;
  const std::string name = lpValueName ? lpValueName : "";
  auto it = std::find_if(values.begin(), values.end(), [&](const Value& v) { return FileNamesEqualNoCase(v.name, name); });
  if (it == values.end()) return ERROR_FILE_NOT_FOUND;
  Value deleted;
  deleted.name = it->name;
  values.erase(it);
  store.MarkChanged(open.root, *open.key, Change::Kind::DeleteValue, std::move(deleted));
  return ERROR_SUCCESS;
}

LONG RegEnumKeyEx(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD, LPSTR lpClass,
                  LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
  Registry& store = Store();
  std::lock_guard<std::mutex> lock(store.mutex);
  OpenKey open;
  if (LONG error = store.Resolve(hKey, open)) return error;
  if (!(open.access & KEY_ENUMERATE_SUB_KEYS)) return ERROR_ACCESS_DENIED;
  if (dwIndex >= open.key->children.size()) return ERROR_NO_MORE_ITEMS;
  const Key& child = *std::next(open.key->children.begin(), dwIndex)->second;
  LONG result = CopyName(child.name, lpName, lpcchName);
  if (result == ERROR_INVALID_PARAMETER) return result;
  if (lpClass && lpcchClass && CopyName(child.className, lpClass, lpcchClass) == ERROR_MORE_DATA)
    result = ERROR_MORE_DATA;
  if (lpftLastWriteTime) *lpftLastWriteTime = child.lastWrite;
  return result;
}

LONG RegEnumKey(HKEY hKey, DWORD dwIndex, LPSTR lpName, DWORD cchName) {
  return RegEnumKeyEx(hKey, dwIndex, lpName, &cchName, nullptr, nullptr, nullptr, nullptr);
}

LONG RegEnumValue(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName, LPDWORD, LPDWORD lpType,
                  LPBYTE lpData, LPDWORD lpcbData) {
  if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
  Registry& store = Store();
  std::lock_guard<std::mutex> lock(store.mutex);
  OpenKey open;
  if (LONG error = store.Resolve(hKey, open)) return error;
  if (!(open.access & KEY_QUERY_VALUE)) return ERROR_ACCESS_DENIED;
  if (dwIndex >= open.key->values.size()) return ERROR_NO_MORE_ITEMS;
  const Value& v = open.key->values[dwIndex];
  LONG result = CopyName(v.name, lpValueName, lpcchValueName);
  if (result == ERROR_INVALID_PARAMETER) return result;
  if (lpType) *lpType = v.type;
  if (CopyData(v.data, lpData, lpcbData, IsUnterminatedString(v)) == ERROR_MORE_DATA) result = ERROR_MORE_DATA;
  return result;
}

LONG RegQueryInfoKey(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass, LPDWORD, LPDWORD lpcSubKeys,
                     LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                     LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                     PFILETIME lpftLastWriteTime) {
  Registry& store = Store();
  std::lock_guard<std::mutex> lock(store.mutex);
  OpenKey open;
  if (LONG error = store.Resolve(hKey, open)) return error;
  const Key& key = *open.key;
  LONG result = ERROR_SUCCESS;
  if (lpClass && lpcchClass) result = CopyName(key.className, lpClass, lpcchClass);
  else if (lpcchClass) *lpcchClass = static_cast<DWORD>(key.className.size());
  DWORD maxName = 0, maxClass = 0, maxValueName = 0, maxValue = 0;
  for (const auto& [name, child] : key.children) {
    maxName = std::max(maxName, static_cast<DWORD>(child->name.size()));
    maxClass = std::max(maxClass, static_cast<DWORD>(child->className.size()));
  }
  for (const Value& v : key.values) {
    maxValueName = std::max(maxValueName, static_cast<DWORD>(v.name.size()));
    maxValue = std::max(maxValue, static_cast<DWORD>(v.data.size()));
  }
  if (lpcSubKeys) *lpcSubKeys = static_cast<DWORD>(key.children.size());
  if (lpcbMaxSubKeyLen) *lpcbMaxSubKeyLen = maxName;
  if (lpcbMaxClassLen) *lpcbMaxClassLen = maxClass;
  if (lpcValues) *lpcValues = static_cast<DWORD>(key.values.size());
  if (lpcbMaxValueNameLen) *lpcbMaxValueNameLen = maxValueName;
  if (lpcbMaxValueLen) *lpcbMaxValueLen = maxValue;
  if (lpcbSecurityDescriptor) *lpcbSecurityDescriptor = 0;
  if (lpftLastWriteTime) *lpftLastWriteTime = key.lastWrite;
  return result;
}

LONG RegConnectRegistry(LPCSTR lpMachineName, HKEY hKey, PHKEY phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  const auto predefined = PredefinedIndex(hKey);
  if (!predefined) return ERROR_INVALID_HANDLE;
  if (lpMachineName && *lpMachineName) {
    const bool perUser = hKey == HKEY_CURRENT_USER || hKey == HKEY_CLASSES_ROOT;
    return perUser ? ERROR_INVALID_HANDLE : ERROR_BAD_NETPATH;
  }
  *phkResult = hKey;
  return ERROR_SUCCESS;
}

LONG RegOpenKey(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  if (!lpSubKey || !*lpSubKey) {
    OpenKey open;
    Registry& store = Store();
    std::lock_guard<std::mutex> lock(store.mutex);
    if (LONG error = store.Resolve(hKey, open)) return error;
    *phkResult = hKey;
    return ERROR_SUCCESS;
  }
  return RegOpenKeyEx(hKey, lpSubKey, 0, MAXIMUM_ALLOWED, phkResult);
}

LONG RegCreateKey(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult) {
  if (!lpSubKey || !*lpSubKey) return RegOpenKey(hKey, lpSubKey, phkResult);
  return RegCreateKeyEx(hKey, lpSubKey, 0, nullptr, REG_OPTION_NON_VOLATILE, MAXIMUM_ALLOWED, nullptr, phkResult,
                        nullptr);
}

LONG RegQueryValue(HKEY hKey, LPCSTR lpSubKey, LPSTR lpData, PLONG lpcbData) {
  HKEY key = hKey;
  const bool sub = lpSubKey && *lpSubKey;
  if (sub) {
    if (LONG error = RegOpenKeyEx(hKey, lpSubKey, 0, KEY_QUERY_VALUE, &key)) return error;
  }
  DWORD size = lpcbData ? static_cast<DWORD>(*lpcbData) : 0;
  DWORD type = REG_SZ;
  LONG result = RegQueryValueEx(key, nullptr, nullptr, &type, reinterpret_cast<LPBYTE>(lpData), lpcbData ? &size : nullptr);
  if (result == ERROR_FILE_NOT_FOUND) {
    // A key without a default value reads as the empty string.
    size = 1;
    result = lpData && lpcbData && *lpcbData < 1 ? ERROR_MORE_DATA : ERROR_SUCCESS;
    if (lpData && result == ERROR_SUCCESS) lpData[0] = '\0';
  }
  if (lpcbData) *lpcbData = static_cast<LONG>(size);
  if (sub) RegCloseKey(key);
  return result;
}

LONG RegSetValue(HKEY hKey, LPCSTR lpSubKey, DWORD dwType, LPCSTR lpData, DWORD) {
  if (dwType != REG_SZ || !lpData) return ERROR_INVALID_PARAMETER;
  HKEY key = hKey;
  const bool sub = lpSubKey && *lpSubKey;
  if (sub) {
    if (LONG error = RegCreateKeyEx(hKey, lpSubKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr))
      return error;
  }
  const LONG result = RegSetValueEx(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpData),
                                    static_cast<DWORD>(std::strlen(lpData) + 1));
  if (sub) RegCloseKey(key);
  return result;
}

LONG RegLoadKey(HKEY, LPCSTR, LPCSTR) { return ERROR_CALL_NOT_IMPLEMENTED; }
LONG RegUnLoadKey(HKEY, LPCSTR) { return ERROR_CALL_NOT_IMPLEMENTED; }
LONG RegReplaceKey(HKEY, LPCSTR, LPCSTR, LPCSTR) { return ERROR_CALL_NOT_IMPLEMENTED; }
LONG RegRestoreKey(HKEY, LPCSTR, DWORD) { return ERROR_CALL_NOT_IMPLEMENTED; }
LONG RegSaveKey(HKEY, LPCSTR, LPSECURITY_ATTRIBUTES) { return ERROR_CALL_NOT_IMPLEMENTED; }
LONG RegGetKeySecurity(HKEY, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR, LPDWORD) { return ERROR_CALL_NOT_IMPLEMENTED; }
LONG RegSetKeySecurity(HKEY, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR) { return ERROR_CALL_NOT_IMPLEMENTED; }
LONG RegNotifyChangeKeyValue(HKEY, BOOL, DWORD, HANDLE, BOOL) { return ERROR_CALL_NOT_IMPLEMENTED; }
