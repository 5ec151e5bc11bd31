// The built-in English locale table behind GetLocaleInfo.
#include "os/Locale.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/CodePage.h"

namespace {

constexpr const char* kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr const char* kDaysShort[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
constexpr const char* kMonthsShort[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// What names a locale; everything else comes from the English (United States) table.
struct Identity {
  LANGID language;
  const char* name;
  const char* englishLanguage;
  const char* abbreviatedLanguage;
  const char* country;
  const char* abbreviatedCountry;
  const char* countryCode;
  const char* iso639;
  const char* iso3166;
};

constexpr Identity kIdentities[] = {
    {0x0409, "English (United States)", "English", "ENU", "United States", "USA", "1", "en", "US"},
    {0x0804, "Chinese (PRC)", "Chinese", "CHS", "People's Republic of China", "CHN", "86", "zh", "CN"},
    {0x0404, "Chinese (Taiwan)", "Chinese", "CHT", "Taiwan", "TWN", "886", "zh", "TW"},
    {0x0C04, "Chinese (Hong Kong S.A.R.)", "Chinese", "ZHH", "Hong Kong S.A.R.", "HKG", "852", "zh", "HK"},
    {0x1004, "Chinese (Singapore)", "Chinese", "ZHI", "Singapore", "SGP", "65", "zh", "SG"},
};

struct Field {
  LCTYPE type;
  const char* value;
};

constexpr Field kFields[] = {
    {LOCALE_SNATIVELANGNAME, "English"},
    {LOCALE_SNATIVECTRYNAME, "United States"},
    {LOCALE_SLIST, ","},
    {LOCALE_IMEASURE, "1"},
    {LOCALE_SDECIMAL, "."},
    {LOCALE_STHOUSAND, ","},
    {LOCALE_SGROUPING, "3;0"},
    {LOCALE_IDIGITS, "2"},
    {LOCALE_ILZERO, "1"},
    {LOCALE_INEGNUMBER, "1"},
    {LOCALE_SNATIVEDIGITS, "0123456789"},
    {LOCALE_SCURRENCY, "$"},
    {LOCALE_SINTLSYMBOL, "USD"},
    {LOCALE_SMONDECIMALSEP, "."},
    {LOCALE_SMONTHOUSANDSEP, ","},
    {LOCALE_SMONGROUPING, "3;0"},
    {LOCALE_ICURRDIGITS, "2"},
    {LOCALE_IINTLCURRDIGITS, "2"},
    {LOCALE_ICURRENCY, "0"},
    {LOCALE_INEGCURR, "0"},
    {LOCALE_SDATE, "/"},
    {LOCALE_STIME, ":"},
    {LOCALE_SSHORTDATE, "M/d/yyyy"},
    {LOCALE_SLONGDATE, "dddd, MMMM dd, yyyy"},
    {LOCALE_STIMEFORMAT, "h:mm:ss tt"},
    {LOCALE_SYEARMONTH, "MMMM, yyyy"},
    {LOCALE_IDATE, "0"},
    {LOCALE_ILDATE, "0"},
    {LOCALE_ITIME, "0"},
    {LOCALE_ITIMEMARKPOSN, "0"},
    {LOCALE_ICENTURY, "1"},
    {LOCALE_ITLZERO, "0"},
    {LOCALE_IDAYLZERO, "0"},
    {LOCALE_IMONLZERO, "0"},
    {LOCALE_S1159, "AM"},
    {LOCALE_S2359, "PM"},
    {LOCALE_ICALENDARTYPE, "1"},
    {LOCALE_IOPTIONALCALENDAR, "0"},
    {LOCALE_IFIRSTDAYOFWEEK, "6"},
    {LOCALE_IFIRSTWEEKOFYEAR, "0"},
    {LOCALE_SMONTHNAME13, ""},
    {LOCALE_SABBREVMONTHNAME13, ""},
    {LOCALE_SPOSITIVESIGN, ""},
    {LOCALE_SNEGATIVESIGN, "-"},
    {LOCALE_IPOSSIGNPOSN, "3"},
    {LOCALE_INEGSIGNPOSN, "0"},
    {LOCALE_IPOSSYMPRECEDES, "1"},
    {LOCALE_IPOSSEPBYSPACE, "0"},
    {LOCALE_INEGSYMPRECEDES, "1"},
    {LOCALE_INEGSEPBYSPACE, "0"},
    {LOCALE_SENGCURRNAME, "US Dollar"},
    {LOCALE_SNATIVECURRNAME, "US Dollar"},
};

LANGID DefaultLanguage() {
  switch (GetACP()) {
    case 936: return 0x0804;
    case 950: return 0x0404;
    default: return 0x0409;
  }
}

const Identity* FindIdentity(LCID locale) {
  LANGID language = LANGIDFROMLCID(locale);
  if (PRIMARYLANGID(language) == LANG_NEUTRAL || language == LOCALE_INVARIANT) language = DefaultLanguage();
  for (const auto& identity : kIdentities)
    if (identity.language == language) return &identity;
  return nullptr;
}

std::string Hex4(LANGID language) {
  char text[8];
  std::snprintf(text, sizeof(text), "%04X", language);
  return text;
}

// The field's text, or false for a type the table does not know.
bool Lookup(const Identity& identity, LCTYPE type, std::string& value) {
  if (type >= LOCALE_SDAYNAME1 && type <= LOCALE_SDAYNAME7) {
    value = kDays[(type - LOCALE_SDAYNAME1 + 1) % 7];  // Monday is the first
    return true;
  }
  if (type >= LOCALE_SABBREVDAYNAME1 && type <= LOCALE_SABBREVDAYNAME7) {
    value = kDaysShort[(type - LOCALE_SABBREVDAYNAME1 + 1) % 7];
    return true;
  }
  if (type >= LOCALE_SMONTHNAME1 && type <= LOCALE_SMONTHNAME12) {
    value = kMonths[type - LOCALE_SMONTHNAME1];
    return true;
  }
  if (type >= LOCALE_SABBREVMONTHNAME1 && type <= LOCALE_SABBREVMONTHNAME12) {
    value = kMonthsShort[type - LOCALE_SABBREVMONTHNAME1];
    return true;
  }
  switch (type) {
    case LOCALE_ILANGUAGE:
    case LOCALE_IDEFAULTLANGUAGE: value = Hex4(identity.language); return true;
    case LOCALE_SLANGUAGE: value = identity.name; return true;
    case LOCALE_SENGLANGUAGE: value = identity.englishLanguage; return true;
    case LOCALE_SABBREVLANGNAME: value = identity.abbreviatedLanguage; return true;
    case LOCALE_SCOUNTRY:
    case LOCALE_SENGCOUNTRY: value = identity.country; return true;
    case LOCALE_SABBREVCTRYNAME: value = identity.abbreviatedCountry; return true;
    case LOCALE_ICOUNTRY:
    case LOCALE_IDEFAULTCOUNTRY: value = identity.countryCode; return true;
    case LOCALE_SISO639LANGNAME: value = identity.iso639; return true;
    case LOCALE_SISO3166CTRYNAME: value = identity.iso3166; return true;
    case LOCALE_IDEFAULTCODEPAGE: value = std::to_string(GetOEMCP()); return true;
    case LOCALE_IDEFAULTANSICODEPAGE: value = std::to_string(GetACP()); return true;
    default: break;
  }
  for (const auto& field : kFields)
    if (field.type == type) {
      value = field.value;
      return true;
    }
  return false;
}

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

}  // namespace

LCID GetUserDefaultLCID() { return MAKELCID(DefaultLanguage(), SORT_DEFAULT); }
LCID GetSystemDefaultLCID() { return GetUserDefaultLCID(); }
LCID GetThreadLocale() { return GetUserDefaultLCID(); }
LANGID GetUserDefaultLangID() { return DefaultLanguage(); }
LANGID GetSystemDefaultLangID() { return DefaultLanguage(); }

int GetLocaleInfo(LCID locale, LCTYPE type, LPSTR data, int size) {
  if (size < 0 || (size > 0 && data == nullptr)) return Fail(ERROR_INVALID_PARAMETER);
  const Identity* identity = FindIdentity(locale);
  if (identity == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  bool asNumber = (type & LOCALE_RETURN_NUMBER) != 0;
  type &= ~static_cast<LCTYPE>(LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP | LOCALE_RETURN_NUMBER);
  std::string value;
  if (!Lookup(*identity, type, value)) return Fail(ERROR_INVALID_FLAGS);
  if (asNumber) {
    // Only the I-fields hold numbers; ILANGUAGE and its kin are hexadecimal.
    bool hex = type == LOCALE_ILANGUAGE || type == LOCALE_IDEFAULTLANGUAGE;
    char* end = nullptr;
    unsigned long number = std::strtoul(value.c_str(), &end, hex ? 16 : 10);
    if (value.empty() || *end != '\0') return Fail(ERROR_INVALID_FLAGS);
    constexpr int kNumberSize = static_cast<int>(sizeof(DWORD));
    if (size == 0) return kNumberSize;
    if (size < kNumberSize) return Fail(ERROR_INSUFFICIENT_BUFFER);
    DWORD stored = static_cast<DWORD>(number);
    std::memcpy(data, &stored, sizeof(stored));
    return kNumberSize;
  }
  int needed = static_cast<int>(value.size()) + 1;
  if (size == 0) return needed;
  if (size < needed) return Fail(ERROR_INSUFFICIENT_BUFFER);
  std::memcpy(data, value.c_str(), value.size() + 1);
  return needed;
}

namespace brambolt {

const char* EnglishDayName(int dayOfWeek, bool abbreviated) {
  if (dayOfWeek < 0 || dayOfWeek > 6) return "";
  return abbreviated ? kDaysShort[dayOfWeek] : kDays[dayOfWeek];
}

const char* EnglishMonthName(int month, bool abbreviated) {
  if (month < 1 || month > 12) return "";
  return abbreviated ? kMonthsShort[month - 1] : kMonths[month - 1];
}

}  // namespace brambolt
