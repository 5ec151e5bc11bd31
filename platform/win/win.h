// Everything of the win module.
#pragma once

#include "base/base.h"
#include "gdi/gdi.h"
#include "win/WinMessages.h"
#include "win/WinKeys.h"
#include "win/WinErrors.h"
#include "win/WinUser.h"
#include "win/WinSystem.h"
#include "win/Backend.h"
#include "win/Input.h"
#include "win/ModalLoop.h"
#include "win/Surfaces.h"
#include "win/Extensions.h"
#include "win/Cursors.h"
#include "win/Caret.h"
