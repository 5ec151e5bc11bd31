// Everything of the gdi module.
#pragma once

#include "base/base.h"
#include "gdi/GdiTypes.h"
#include "gdi/Surface.h"
#include "gdi/Region.h"
#include "gdi/DC.h"
#include "gdi/Objects.h"
#include "gdi/Draw.h"
#include "gdi/Bitmaps.h"
#include "gdi/SysColors.h"
#include "gdi/Text.h"
#include "gdi/ClassicLook.h"
#include "gdi/Icons.h"
#include "gdi/ImageList.h"
#include "gdi/Printer.h"
#include "gdi/DevMode.h"
