// Everything of the os module.
#pragma once

#include "base/base.h"
