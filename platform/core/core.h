// Everything of the core module.
#pragma once

#include "base/base.h"
#include "os/os.h"
