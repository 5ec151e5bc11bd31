// The user locale's names of the days of the week and of the months.
#pragma once

#include "base/base.h"
#include "core/CString.h"

// Day 1 (Sunday) to 7 (Saturday), month 1 to 12; full or abbreviated. FALSE, with `name`
// unchanged, for a number out of range or when the locale has no such name.
BOOL GetLocaleDayName(CString& name, int day, BOOL full);
BOOL GetLocaleMonthName(CString& name, int month, BOOL full);
