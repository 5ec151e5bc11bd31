// Everything of the base module: Win32 types, macros, errors, clock, strings and code pages.
#pragma once

#include "base/WinTypes.h"
#include "base/WinMacros.h"
#include "base/LastError.h"
#include "base/ByteOrder.h"
#include "base/CodePage.h"
#include "base/MbString.h"
#include "base/Convert.h"
#include "base/WinString.h"
#include "base/RectFunctions.h"
#include "base/Clock.h"
#include "base/GlobalMemory.h"
#include "base/Guid.h"
