// Translation of the scripting engine's regular-expression dialect (ECMAScript 3 with the legacy
// escapes browsers and the scripting engine accept) into PCRE2 syntax for byte-mode matching.
#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/CodePage.h"
#include "base/Convert.h"
#include "ole/RegExp.h"

namespace brambolt::ole {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsOctal(char c) { return c >= '0' && c <= '7'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

int HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Hex(unsigned byte) {
  char text[8];
  std::snprintf(text, sizeof(text), "\\x%02X", byte & 0xFF);
  return text;
}

// Unicode case mapping for letters beyond ASCII, whatever the process's own locale; null where
// the system has no such locale (then only ASCII letters match without case).
locale_t CaseLocale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return locale;
}

// What a class atom or an escape stands for: one character (a byte, or a double-byte value
// lead * 256 + trail), a shorthand class (\d \D \w \W \s \S), or nothing the code page can
// spell (a \u escape without a character in it).
struct Atom {
  enum Kind { character, shorthand, unmappable } kind = character;
  unsigned value = 0;
  char letter = 0;
};

class Translator {
 public:
  Translator(std::string_view pattern, unsigned codePage, bool ignoreCase)
      : p_(pattern), codePage_(codePage), ignoreCase_(ignoreCase) {
    dbcs_ = codePage == 936 || codePage == 950;
    if (dbcs_) {
      for (unsigned b = 0x80; b <= 0xFF; ++b) {
        if (!IsDBCSLeadByteEx(codePage, static_cast<BYTE>(b))) continue;
        unsigned last = b;
        while (last < 0xFF && IsDBCSLeadByteEx(codePage, static_cast<BYTE>(last + 1))) ++last;
        leadRanges_ += last == b ? Hex(b) : Hex(b) + "-" + Hex(last);
        b = last;
      }
      leadClass_ = "[" + leadRanges_ + "]";
    }
    CountGroups();
  }

  std::optional<std::string> Run(std::string* error) {
    while (i_ < p_.size() && error_.empty()) Term();
    if (!error_.empty()) {
      if (error) *error = error_ + " at offset " + std::to_string(i_);
      return std::nullopt;
    }
    return out_;
  }

 private:
  bool Lead(size_t at) const {
    return dbcs_ && at + 1 < p_.size() && IsDBCSLeadByteEx(codePage_, static_cast<BYTE>(p_[at]));
  }
  void Fail(const char* text) {
    if (error_.empty()) error_ = text;
  }

  void CountGroups() {
    bool inClass = false;
    for (size_t i = 0; i < p_.size(); ++i) {
      char c = p_[i];
      if (Lead(i)) ++i;
      else if (c == '\\') ++i;
      else if (inClass) inClass = c != ']';
      else if (c == '[') inClass = true;
      else if (c == '(' && (i + 1 >= p_.size() || p_[i + 1] != '?')) ++groups_;
    }
  }

  // One double-byte character, its bytes compared as they are whatever the case option.
  std::string Wide(unsigned value) const {
    return (ignoreCase_ ? "(?-i:" : "(?:") + Hex(value >> 8) + Hex(value & 0xFF) + ")";
  }
  // Any double-byte character whose value lies in [low, high].
  std::string WideRange(unsigned low, unsigned high) const {
    unsigned leadLow = low >> 8, leadHigh = high >> 8;
    std::string s;
    if (leadLow == leadHigh) return Hex(leadLow) + "[" + Hex(low) + "-" + Hex(high) + "]";
    s = Hex(leadLow) + "[" + Hex(low) + "-\\xFF]";
    if (leadHigh - leadLow > 1) s += "|[" + Hex(leadLow + 1) + "-" + Hex(leadHigh - 1) + "][\\x00-\\xFF]";
    return s + "|" + Hex(leadHigh) + "[\\x00-" + Hex(high) + "]";
  }
  std::string AnyWide() const { return leadClass_ + "[\\x00-\\xFF]"; }

  std::string Spell(unsigned value) const { return value > 0xFF ? Wide(value) : Hex(value); }

  // The other case of a character of the code page beyond ASCII (a byte, or lead * 256 + trail)
  // by Unicode's case mapping, 0 for none; ASCII letters are left to the matcher's own option.
  unsigned CasePartner(unsigned value) const {
    if (value < 0x80 || CaseLocale() == nullptr) return 0;
    char bytes[2] = {static_cast<char>(value > 0xFF ? value >> 8 : value), static_cast<char>(value & 0xFF)};
    char16_t wide = 0;
    if (MultiByteToWideChar(codePage_, MB_ERR_INVALID_CHARS, bytes, value > 0xFF ? 2 : 1, &wide, 1) != 1) return 0;
    wint_t upper = towupper_l(wide, CaseLocale()), lower = towlower_l(wide, CaseLocale());
    wint_t other = upper != static_cast<wint_t>(wide) ? upper : lower;
    if (other == static_cast<wint_t>(wide) || other > 0xFFFF || other < 0x80) return 0;
    char16_t otherWide = static_cast<char16_t>(other);
    char back[4] = {};
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(codePage_, 0, &otherWide, 1, back, sizeof(back), nullptr, &usedDefault);
    if (usedDefault || n < 1 || n > 2) return 0;
    return n == 1 ? static_cast<BYTE>(back[0]) : static_cast<unsigned>(static_cast<BYTE>(back[0])) << 8 | static_cast<BYTE>(back[1]);
  }

  // A literal character; without case, with its other case beyond ASCII too.
  void EmitCharacter(unsigned value) {
    unsigned partner = ignoreCase_ ? CasePartner(value) : 0;
    if (partner == 0) out_ += Spell(value);
    else if (value <= 0xFF && partner <= 0xFF) out_ += "[" + Hex(value) + Hex(partner) + "]";
    else out_ += "(?:" + Spell(value) + "|" + Spell(partner) + ")";
  }

  // The bytes `\uhhhh` stands for in the code page.
  Atom Unicode(unsigned code) const {
    if (code < 0x80) return Atom{Atom::character, code, 0};
    char16_t wide = static_cast<char16_t>(code);
    char bytes[4] = {};
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(codePage_, 0, &wide, 1, bytes, sizeof(bytes), nullptr, &usedDefault);
    if (n == 1 && !usedDefault) return Atom{Atom::character, static_cast<BYTE>(bytes[0]), 0};
    if (n == 2 && !usedDefault)
      return Atom{Atom::character, static_cast<unsigned>(static_cast<BYTE>(bytes[0])) << 8 | static_cast<BYTE>(bytes[1]), 0};
    return Atom{Atom::unmappable, 0, 0};
  }

  // Legacy octal escape: up to three octal digits worth at most 0377.
  unsigned Octal() {
    unsigned value = 0;
    for (int n = 0; n < 3 && i_ < p_.size() && IsOctal(p_[i_]); ++n) {
      unsigned next = value * 8 + static_cast<unsigned>(p_[i_] - '0');
      if (next > 0377) break;
      value = next;
      ++i_;
    }
    return value;
  }

  // An escape that means the same inside and outside a class; i_ is past the backslash.
  Atom CommonEscape(bool inClass) {
    char c = p_[i_++];
    switch (c) {
      case 'd': case 'D': case 'w': case 'W': case 's': case 'S': return Atom{Atom::shorthand, 0, c};
      case 'f': return Atom{Atom::character, '\f', 0};
      case 'n': return Atom{Atom::character, '\n', 0};
      case 'r': return Atom{Atom::character, '\r', 0};
      case 't': return Atom{Atom::character, '\t', 0};
      case 'v': return Atom{Atom::character, '\v', 0};
      case 'x':
        if (i_ + 1 < p_.size() && HexDigit(p_[i_]) >= 0 && HexDigit(p_[i_ + 1]) >= 0) {
          unsigned v = static_cast<unsigned>(HexDigit(p_[i_]) * 16 + HexDigit(p_[i_ + 1]));
          i_ += 2;
          return Atom{Atom::character, v, 0};
        }
        return Atom{Atom::character, 'x', 0};
      case 'u': {
        unsigned v = 0;
        for (size_t k = 0; k < 4; ++k) {
          if (i_ + k >= p_.size() || HexDigit(p_[i_ + k]) < 0) return Atom{Atom::character, 'u', 0};
          v = v * 16 + static_cast<unsigned>(HexDigit(p_[i_ + k]));
        }
        i_ += 4;
        return Unicode(v);
      }
      case 'c':
        if (i_ < p_.size() && (IsLetter(p_[i_]) || (inClass && (IsDigit(p_[i_]) || p_[i_] == '_'))))
          return Atom{Atom::character, static_cast<unsigned>(p_[i_++]) % 32, 0};
        --i_;  // a backslash of its own, the c read next
        return Atom{Atom::character, '\\', 0};
      default: break;
    }
    if (Lead(i_ - 1)) {
      unsigned v = static_cast<unsigned>(static_cast<BYTE>(c)) << 8 | static_cast<BYTE>(p_[i_++]);
      return Atom{Atom::character, v, 0};
    }
    return Atom{Atom::character, static_cast<BYTE>(c), 0};
  }

  // A shorthand outside a class; in a double-byte page the negated ones take a double-byte
  // character whole.
  void EmitShorthand(char letter) {
    bool negated = letter == 'D' || letter == 'W' || letter == 'S';
    if (!dbcs_ || !negated) {
      out_ += std::string("\\") + letter;
      return;
    }
    char positive = static_cast<char>(letter - 'A' + 'a');
    out_ += "(?:" + AnyWide() + "|[^\\" + positive + leadRanges_ + "])";
  }

  void Escape() {
    ++i_;
    if (i_ >= p_.size()) return Fail("\\ at the end of the pattern");
    char c = p_[i_];
    canRepeat_ = true;
    if (c == 'b' || c == 'B') {
      out_ += std::string("\\") + c;
      ++i_;
      canRepeat_ = false;
      return;
    }
    if (IsDigit(c)) return DecimalEscape();
    Atom a = CommonEscape(false);
    if (a.kind == Atom::shorthand) EmitShorthand(a.letter);
    else if (a.kind == Atom::unmappable) out_ += "(?!)";
    else EmitCharacter(a.value);
  }

  // \N: a back-reference when group N exists, else a legacy octal escape (\8 and \9 are digits).
  void DecimalEscape() {
    size_t start = i_;
    unsigned value = 0;
    while (i_ < p_.size() && IsDigit(p_[i_]) && value <= 99) value = value * 10 + static_cast<unsigned>(p_[i_++] - '0');
    if (p_[start] != '0' && value >= 1 && value <= static_cast<unsigned>(groups_) && i_ - start <= 2) {
      out_ += "(?:\\g{" + std::to_string(value) + "})";
      return;
    }
    i_ = start;
    if (p_[i_] == '8' || p_[i_] == '9') {
      out_ += p_[i_++];
      return;
    }
    out_ += Hex(Octal());
  }

  void Class() {
    ++i_;
    bool negated = i_ < p_.size() && p_[i_] == '^';
    if (negated) ++i_;
    std::string single;
    std::string wide;
    bool allWide = false;  // a negated shorthand takes every double-byte character
    auto addWide = [&](const std::string& alternative) { wide += (wide.empty() ? "" : "|") + alternative; };
    // Without case, the other case of each character beyond ASCII in [low, high] joins the class
    // (a range of double-byte characters only when it is short enough to walk).
    auto addPartners = [&](unsigned low, unsigned high) {
      if (!ignoreCase_) return;
      auto add = [&](unsigned v) {
        unsigned partner = CasePartner(v);
        if (partner == 0) return;
        if (partner <= 0xFF) single += Hex(partner);
        else addWide(Hex(partner >> 8) + Hex(partner & 0xFF));
      };
      for (unsigned v = std::max(low, 0x80u); v <= std::min(high, 0xFFu); ++v) add(v);
      unsigned wideLow = std::max(low, 0x100u);
      if (high >= wideLow && high - wideLow <= 4096)
        for (unsigned v = wideLow; v <= high; ++v) add(v);
    };
    while (true) {
      if (i_ >= p_.size()) return Fail("missing ] of a character class");
      if (p_[i_] == ']') break;
      Atom low = ClassAtom();
      if (!error_.empty()) return;
      if (low.kind == Atom::character && i_ + 1 < p_.size() && p_[i_] == '-' && p_[i_ + 1] != ']') {
        ++i_;
        Atom high = ClassAtom();
        if (!error_.empty()) return;
        if (high.kind == Atom::character) {
          if (high.value < low.value) return Fail("range out of order in a character class");
          if (low.value <= 0xFF) single += Hex(low.value) + "-" + Hex(std::min(high.value, 0xFFu));
          if (high.value > 0xFF) addWide(WideRange(std::max(low.value, 0x100u), high.value));
          addPartners(low.value, high.value);
          continue;
        }
        // "a-\d": the dash is a character.
        if (low.value > 0xFF) addWide(Hex(low.value >> 8) + Hex(low.value & 0xFF));
        else single += Hex(low.value);
        single += "\\-";
        low = high;
      }
      if (low.kind == Atom::shorthand) {
        single += std::string("\\") + low.letter;
        if (low.letter == 'D' || low.letter == 'W' || low.letter == 'S') allWide = true;
      } else if (low.kind == Atom::character) {
        if (low.value > 0xFF) addWide(Hex(low.value >> 8) + Hex(low.value & 0xFF));
        else single += Hex(low.value);
        addPartners(low.value, low.value);
      }
    }
    ++i_;
    canRepeat_ = true;
    std::string wideOpen = ignoreCase_ ? "(?-i:" : "(?:";
    if (!dbcs_) {
      if (negated) out_ += single.empty() ? "[\\x00-\\xFF]" : "[^" + single + "]";
      else out_ += single.empty() ? "(?!)" : "[" + single + "]";
      return;
    }
    if (negated) {
      std::string rest = "[^" + single + leadRanges_ + "]";
      if (allWide) out_ += rest;
      else if (wide.empty()) out_ += "(?:" + AnyWide() + "|" + rest + ")";
      else out_ += "(?:" + wideOpen + "(?!" + wide + ")" + AnyWide() + ")|" + rest + ")";
      return;
    }
    std::string alternatives;
    if (!single.empty()) alternatives = "[" + single + "]";
    if (allWide) wide = AnyWide();
    if (!wide.empty()) alternatives += (alternatives.empty() ? "" : "|") + wideOpen + wide + ")";
    out_ += alternatives.empty() ? "(?!)" : "(?:" + alternatives + ")";
  }

  Atom ClassAtom() {
    if (Lead(i_)) {
      unsigned v = static_cast<unsigned>(static_cast<BYTE>(p_[i_])) << 8 | static_cast<BYTE>(p_[i_ + 1]);
      i_ += 2;
      return Atom{Atom::character, v, 0};
    }
    char c = p_[i_++];
    if (c != '\\') return Atom{Atom::character, static_cast<BYTE>(c), 0};
    if (i_ >= p_.size()) {
      Fail("\\ at the end of the pattern");
      return {};
    }
    c = p_[i_];
    if (c == 'b') {
      ++i_;
      return Atom{Atom::character, '\b', 0};
    }
    if (IsDigit(c)) {
      if (c == '8' || c == '9') return Atom{Atom::character, static_cast<BYTE>(p_[i_++]), 0};
      return Atom{Atom::character, Octal(), 0};
    }
    return CommonEscape(true);
  }

  // {n}, {n,} or {n,m} at i_; false (i_ unchanged) when the brace starts no quantifier.
  bool BraceQuantifier() {
    size_t j = i_ + 1;
    auto number = [&](unsigned long& v) {
      size_t start = j;
      v = 0;
      while (j < p_.size() && IsDigit(p_[j])) v = std::min(v * 10 + static_cast<unsigned long>(p_[j++] - '0'), 100000ul);
      return j > start;
    };
    unsigned long low = 0, high = 0;
    if (!number(low)) return false;
    bool bounded = true;
    if (j < p_.size() && p_[j] == ',') {
      ++j;
      bounded = number(high);
    } else {
      high = low;
    }
    if (j >= p_.size() || p_[j] != '}') return false;
    if (bounded && high < low) {
      Fail("numbers out of order in a {} quantifier");
      return true;
    }
    if (low > 65535 || (bounded && high > 65535)) {
      Fail("number too big in a {} quantifier");
      return true;
    }
    out_.append(p_.substr(i_, j + 1 - i_));
    i_ = j + 1;
    return true;
  }

  void Quantifier() {
    if (!canRepeat_) return Fail("nothing to repeat");
    if (p_[i_] == '{') {
      if (!BraceQuantifier()) {
        out_ += "\\{";
        ++i_;
        return;
      }
    } else {
      out_ += p_[i_++];
    }
    if (i_ < p_.size() && p_[i_] == '?') out_ += p_[i_++];
    canRepeat_ = false;
  }

  void Group() {
    ++i_;
    if (i_ < p_.size() && p_[i_] == '?') {
      if (i_ + 1 >= p_.size() || (p_[i_ + 1] != ':' && p_[i_ + 1] != '=' && p_[i_ + 1] != '!'))
        return Fail("unknown group type");
      out_ += "(?";
      out_ += p_[i_ + 1];
      i_ += 2;
    } else {
      out_ += '(';
    }
    canRepeat_ = false;
  }

  void Term() {
    char c = p_[i_];
    switch (c) {
      case '\\': return Escape();
      case '[': return Class();
      case '(': return Group();
      case '*': case '+': case '?': case '{': return Quantifier();
      case ')':
        out_ += c;
        ++i_;
        canRepeat_ = true;
        return;
      case '|': case '^': case '$':
        out_ += c;
        ++i_;
        canRepeat_ = false;
        return;
      case '.':
        ++i_;
        out_ += dbcs_ ? "(?:" + AnyWide() + "|[^\\n" + leadRanges_ + "])" : std::string("[^\\n]");
        canRepeat_ = true;
        return;
      default: break;
    }
    canRepeat_ = true;
    if (Lead(i_)) {
      EmitCharacter(static_cast<unsigned>(static_cast<BYTE>(p_[i_])) << 8 | static_cast<BYTE>(p_[i_ + 1]));
      i_ += 2;
      return;
    }
    ++i_;
    if (static_cast<BYTE>(c) >= 0x80)
      EmitCharacter(static_cast<BYTE>(c));
    else if (c == '}' || c == ']' || static_cast<BYTE>(c) < 0x20 || c == '#' || c == ' ')
      out_ += Hex(static_cast<BYTE>(c));
    else
      out_ += c;
  }

  std::string_view p_;
  unsigned codePage_;
  bool ignoreCase_;
  bool dbcs_ = false;
  std::string leadRanges_;
  std::string leadClass_;
  int groups_ = 0;
  size_t i_ = 0;
  bool canRepeat_ = false;
  std::string out_;
  std::string error_;
};

}  // namespace

std::optional<std::string> TranslatePattern(std::string_view pattern, unsigned codePage, bool ignoreCase,
                                            std::string* error) {
  return Translator(pattern, codePage, ignoreCase).Run(error);
}

}  // namespace brambolt::ole
