// Matching over PCRE2 in byte mode with bounded work, the global walk and the replacement
// template of the scripting engine.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <vector>

#include "base/CodePage.h"
#include "ole/RegExp.h"

namespace brambolt::ole {
namespace {

// A match may try this many steps and use this much memory (KiB) before it is given up as no
// match: enough for any sensible pattern over the editor's largest texts, far below a hang.
constexpr uint32_t kMatchLimit = 10'000'000;
constexpr uint32_t kHeapLimitKiB = 256 * 1024;

const char kTooComplex[] =
    "The regular expression needs more work on this text than is allowed; no match was found.";

// In a double-byte code page the pattern runs between two checks that its match starts and ends
// at a character boundary: a position inside a character fails there, so the engine goes on to
// the next start or backtracks to another end in the same search instead of the search being
// run again from the next character (which may cost the whole rest of the text each time).
int AtCharacterBoundary(pcre2_callout_block* block, void* data) {
  const auto* boundaries = static_cast<const std::vector<bool>*>(data);
  if (boundaries->empty() || block->current_position >= boundaries->size()) return 0;
  return (*boundaries)[block->current_position] ? 0 : 1;
}

}  // namespace

struct RegExp::Compiled {
  pcre2_code* code = nullptr;
  pcre2_match_data* data = nullptr;
  pcre2_match_context* context = nullptr;
  ~Compiled() {
    pcre2_match_context_free(context);
    pcre2_match_data_free(data);
    pcre2_code_free(code);
  }
};

RegExp::RegExp() = default;
RegExp::~RegExp() = default;

void RegExp::SetPattern(std::string_view pattern) {
  if (pattern == pattern_) return;
  pattern_ = pattern;
  compiled_.reset();
}

void RegExp::SetIgnoreCase(bool on) {
  if (on == ignoreCase_) return;
  ignoreCase_ = on;
  compiled_.reset();
}

bool RegExp::Compile() {
  status_ = RegExpStatus::ok;
  errorText_.clear();
  unsigned codePage = GetACP();
  if (compiled_ && compiledCodePage_ == codePage) return true;
  compiled_.reset();
  std::string error;
  std::optional<std::string> translated = TranslatePattern(pattern_, codePage, ignoreCase_, &error);
  if (!translated) {
    status_ = RegExpStatus::badPattern;
    errorText_ = "Syntax error in regular expression: " + error;
    return false;
  }
  pcre2_compile_context* compileContext = pcre2_compile_context_create(nullptr);
  pcre2_set_newline(compileContext, PCRE2_NEWLINE_LF);
  uint32_t options = PCRE2_DOLLAR_ENDONLY | PCRE2_ALT_BSUX | PCRE2_MATCH_UNSET_BACKREF | PCRE2_ALLOW_EMPTY_CLASS |
                     PCRE2_NEVER_UTF | PCRE2_NEVER_UCP | PCRE2_NEVER_BACKSLASH_C;
  if (ignoreCase_) options |= PCRE2_CASELESS;
  int code = 0;
  PCRE2_SIZE offset = 0;
  auto compiled = std::make_unique<Compiled>();
  const bool dbcs = IsDBCSCodePage();
  if (dbcs) *translated = "(?C)(?:" + *translated + ")(?C)";
  compiled->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(translated->data()), translated->size(), options, &code,
                                 &offset, compileContext);
  pcre2_compile_context_free(compileContext);
  if (compiled->code == nullptr) {
    PCRE2_UCHAR message[256];
    pcre2_get_error_message(code, message, sizeof(message));
    status_ = RegExpStatus::badPattern;
    errorText_ = std::string("Syntax error in regular expression: ") + reinterpret_cast<char*>(message);
    return false;
  }
  compiled->data = pcre2_match_data_create_from_pattern(compiled->code, nullptr);
  compiled->context = pcre2_match_context_create(nullptr);
  pcre2_set_match_limit(compiled->context, kMatchLimit);
  pcre2_set_heap_limit(compiled->context, kHeapLimitKiB);
  if (dbcs) pcre2_set_callout(compiled->context, AtCharacterBoundary, &boundaries_);
  compiled_ = std::move(compiled);
  compiledCodePage_ = codePage;
  return true;
}

bool RegExp::MatchFrom(std::string_view subject, size_t from, RegExpMatch& match) {
  while (from <= subject.size()) {
    int rc = pcre2_match(compiled_->code, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), from, 0,
                         compiled_->data, compiled_->context);
    if (rc == PCRE2_ERROR_NOMATCH) return false;
    if (rc < 0) {
      status_ = RegExpStatus::tooComplex;
      errorText_ = kTooComplex;
      return false;
    }
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(compiled_->data);
    size_t start = ovector[0], end = ovector[1];
    if (!boundaries_.empty() && (!boundaries_[start] || !boundaries_[end])) {
      // Inside a double-byte character: look again from the next character.
      from = start + 1;
      while (from < subject.size() && !boundaries_[from]) ++from;
      continue;
    }
    match.whole = RegExpSpan{start, end - start};
    uint32_t pairs = pcre2_get_ovector_count(compiled_->data);
    uint32_t groups = 0;
    pcre2_pattern_info(compiled_->code, PCRE2_INFO_CAPTURECOUNT, &groups);
    match.groups.assign(groups, std::nullopt);
    for (uint32_t g = 1; g <= groups && g < pairs; ++g)
      if (ovector[2 * g] != PCRE2_UNSET)
        match.groups[g - 1] = RegExpSpan{ovector[2 * g], ovector[2 * g + 1] - ovector[2 * g]};
    return true;
  }
  return false;
}

bool RegExp::Execute(std::string_view subject, std::vector<RegExpMatch>& matches) {
  matches.clear();
  if (!Compile()) return false;
  boundaries_.clear();
  bool dbcs = IsDBCSCodePage();
  if (dbcs) {
    boundaries_.assign(subject.size() + 1, false);
    for (size_t i = 0; i < subject.size();) {
      boundaries_[i] = true;
      i += IsDBCSLeadByte(static_cast<BYTE>(subject[i])) && i + 1 < subject.size() ? 2 : 1;
    }
    boundaries_[subject.size()] = true;
  }
  size_t from = 0;
  RegExpMatch match;
  while (MatchFrom(subject, from, match)) {
    matches.push_back(match);
    size_t end = match.whole.index + match.whole.length;
    if (!global_) break;
    if (match.whole.length == 0) {
      if (end >= subject.size()) break;
      from = end + (dbcs && IsDBCSLeadByte(static_cast<BYTE>(subject[end])) && end + 1 < subject.size() ? 2 : 1);
    } else {
      from = end;
    }
  }
  boundaries_.clear();
  if (status_ != RegExpStatus::ok) {
    matches.clear();
    return false;
  }
  return true;
}

bool RegExp::Test(std::string_view subject) {
  bool global = global_;
  global_ = false;
  std::vector<RegExpMatch> matches;
  bool ok = Execute(subject, matches);
  global_ = global;
  return ok && !matches.empty();
}

bool RegExp::Replace(std::string_view subject, std::string_view with, std::string& out) {
  std::vector<RegExpMatch> matches;
  if (!Execute(subject, matches)) {
    out.assign(subject);
    return false;
  }
  out.clear();
  size_t copied = 0;
  for (const RegExpMatch& m : matches) {
    out.append(subject.substr(copied, m.whole.index - copied));
    ExpandReplacement(with, subject, m, out);
    copied = m.whole.index + m.whole.length;
  }
  out.append(subject.substr(copied));
  return true;
}

void ExpandReplacement(std::string_view with, std::string_view subject, const RegExpMatch& match, std::string& out) {
  auto group = [&](size_t n) {
    if (const auto& g = match.groups[n - 1]) out.append(subject.substr(g->index, g->length));
  };
  auto digit = [&](size_t at) { return at < with.size() && with[at] >= '0' && with[at] <= '9'; };
  size_t groups = match.groups.size();
  for (size_t i = 0; i < with.size(); ++i) {
    if (with[i] != '$' || i + 1 >= with.size()) {
      out += with[i];
      continue;
    }
    char c = with[i + 1];
    if (c == '$') {
      out += '$';
    } else if (c == '&') {
      out.append(subject.substr(match.whole.index, match.whole.length));
    } else if (c == '`') {
      out.append(subject.substr(0, match.whole.index));
    } else if (c == '\'') {
      out.append(subject.substr(match.whole.index + match.whole.length));
    } else if (digit(i + 1)) {
      size_t one = static_cast<size_t>(c - '0');
      size_t two = digit(i + 2) ? one * 10 + static_cast<size_t>(with[i + 2] - '0') : 0;
      if (two >= 1 && two <= groups) {
        group(two);
        i += 2;
      } else if (one >= 1 && one <= groups) {
        group(one);
        i += 1;
      } else {
        out += '$';  // no such group: the text stays as written
      }
      continue;
    } else {
      out += '$';
      continue;
    }
    ++i;
  }
}

}  // namespace brambolt::ole
