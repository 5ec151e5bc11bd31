// Everything of the gdi module.
#pragma once

#include "base/base.h"
