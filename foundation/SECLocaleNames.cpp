// Day and month names through GetLocaleInfo for the user's default locale.
#include "foundation/SECLocaleNames.h"

#include "os/Locale.h"

namespace {

BOOL GetLocaleName(CString& name, LCTYPE type) {
  static const LCID userLocale = GetUserDefaultLCID();
  char buffer[256] = {};
  if (GetLocaleInfo(userLocale, type, buffer, sizeof buffer) == 0) return FALSE;
  buffer[sizeof buffer - 1] = '\0';
  name = buffer;
  return TRUE;
}

}  // namespace

BOOL GetLocaleDayName(CString& name, int day, BOOL full) {
  if (day < 1 || day > 7) return FALSE;
  // The locale numbers its days from Monday (1) to Sunday (7); ours run from Sunday.
  const int localeDay = day == 1 ? 7 : day - 1;
  const LCTYPE first = full ? LOCALE_SDAYNAME1 : LOCALE_SABBREVDAYNAME1;
  return GetLocaleName(name, first + static_cast<LCTYPE>(localeDay - 1));
}

BOOL GetLocaleMonthName(CString& name, int month, BOOL full) {
  if (month < 1 || month > 12) return FALSE;
  const LCTYPE first = full ? LOCALE_SMONTHNAME1 : LOCALE_SABBREVMONTHNAME1;
  return GetLocaleName(name, first + static_cast<LCTYPE>(month - 1));
}
