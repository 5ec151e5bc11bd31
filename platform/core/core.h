// Everything of the core module.
#pragma once

#include "base/base.h"
#include "os/os.h"
#include "core/CObject.h"
#include "core/CException.h"
#include "core/CString.h"
#include "core/Geometry.h"
#include "core/CTime.h"
#include "core/COleDateTime.h"
#include "core/CFile.h"
#include "core/CStdioFile.h"
#include "core/CMemFile.h"
#include "core/CMirrorFile.h"
#include "core/CFileFind.h"
#include "core/CArchive.h"
#include "core/TextStream.h"
#include "core/Collections.h"
