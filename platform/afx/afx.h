// Everything of the application framework module.
#pragma once

#include "base/base.h"
#include "core/core.h"
#include "gdi/gdi.h"
#include "win/win.h"
