// Everything of the os module.
#pragma once

#include "base/base.h"
#include "os/Paths.h"
#include "os/KernelObject.h"
#include "os/FileApi.h"
#include "os/FindFile.h"
#include "os/CrtFiles.h"
