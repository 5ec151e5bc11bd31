// Everything of the application framework module.
#pragma once

#include "base/base.h"
#include "core/core.h"
#include "gdi/gdi.h"
#include "win/win.h"
#include "afx/HandleMap.h"
#include "afx/GdiObjects.h"
#include "afx/CDC.h"
#include "afx/CImageList.h"
#include "afx/AfxRes.h"
#include "afx/AfxResources.h"
