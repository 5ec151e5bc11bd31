// The framework's collections: the CList, CArray and CMap templates, the typed pointer faces and the
// concrete string, object, pointer and scalar lists, arrays and maps.
#pragma once

#include "core/Arrays.h"
#include "core/CArray.h"
#include "core/CList.h"
#include "core/CMap.h"
#include "core/CTypedPtr.h"
#include "core/Lists.h"
#include "core/Maps.h"
