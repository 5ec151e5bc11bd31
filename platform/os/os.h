// Everything of the os module.
#pragma once

#include "base/base.h"
#include "os/Paths.h"
#include "os/KernelObject.h"
