// Everything of the win module.
#pragma once

#include "base/base.h"
#include "gdi/gdi.h"
