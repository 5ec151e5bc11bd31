// Everything of the backend module.
#pragma once

#include "win/win.h"
#include "backend/HeadlessBackend.h"
#include "backend/X11Backend.h"
#include "backend/DropFiles.h"
