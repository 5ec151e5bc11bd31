// Regular expressions in the scripting engine's dialect (ECMAScript 3) over PCRE2 in byte mode:
// pattern translation, matching with bounded work, and the replacement template.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brambolt::ole {

// A span of the subject, in bytes.
struct RegExpSpan {
  size_t index = 0;
  size_t length = 0;
};

struct RegExpMatch {
  RegExpSpan whole;
  // Capture groups 1..n; empty for a group that took no part in the match.
  std::vector<std::optional<RegExpSpan>> groups;
};

enum class RegExpStatus {
  ok,
  badPattern,  // the pattern is not a regular expression of the dialect
  tooComplex,  // the match or memory limit was reached: reported as no match
};

// One regular expression with the scripting object's options. Positions are byte offsets into the
// subject. In a double-byte code page a double-byte character is one character: `.`, classes and
// the step after an empty match take it whole, its bytes match case-sensitively, and no match
// starts or ends inside it. `^` and `$` hold only at the subject's ends; `.` is anything but LF.
class RegExp {
 public:
  RegExp();
  ~RegExp();
  RegExp(const RegExp&) = delete;
  RegExp& operator=(const RegExp&) = delete;

  const std::string& Pattern() const { return pattern_; }
  void SetPattern(std::string_view pattern);
  bool IgnoreCase() const { return ignoreCase_; }
  void SetIgnoreCase(bool on);
  bool Global() const { return global_; }
  void SetGlobal(bool on) { global_ = on; }

  // The first match, or every match when Global (a search resumes at the end of a match, one
  // character further after an empty one). False when the pattern is bad or the work limit was
  // reached (Status tells which); an empty result with true is no match.
  bool Execute(std::string_view subject, std::vector<RegExpMatch>& matches);
  bool Test(std::string_view subject);
  // The subject with the first match (every match when Global) replaced through the template
  // `with` ($1-$99, $&, $`, $', $$). False, with the subject unchanged in `out`, on error.
  bool Replace(std::string_view subject, std::string_view with, std::string& out);

  RegExpStatus Status() const { return status_; }
  // What went wrong, for a person; empty after success.
  const std::string& ErrorText() const { return errorText_; }

 private:
  struct Compiled;
  bool Compile();
  // The next acceptable match at or after `from`; false when none.
  bool MatchFrom(std::string_view subject, size_t from, RegExpMatch& match);

  std::string pattern_;
  bool ignoreCase_ = false;
  bool global_ = false;
  unsigned compiledCodePage_ = 0;
  std::unique_ptr<Compiled> compiled_;
  std::vector<bool> boundaries_;  // character starts of the current subject (double-byte pages)
  RegExpStatus status_ = RegExpStatus::ok;
  std::string errorText_;
};

// Translates a pattern of the dialect into PCRE2 syntax for byte-mode matching in `codePage`:
// escapes PCRE reads differently (\v, \uhhhh to the code page's bytes, octal and back-references
// past the group count, identity escapes of letters), and in a double-byte code page the
// character-wide forms described above. Empty with `error` set when the pattern is not valid.
std::optional<std::string> TranslatePattern(std::string_view pattern, unsigned codePage, bool ignoreCase,
                                            std::string* error);

// Expands a replacement template for one match of `subject`.
void ExpandReplacement(std::string_view with, std::string_view subject, const RegExpMatch& match, std::string& out);

}  // namespace brambolt::ole
