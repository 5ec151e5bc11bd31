// Everything of the os module.
#pragma once

#include "base/base.h"
#include "os/Paths.h"
#include "os/KernelObject.h"
#include "os/FileApi.h"
#include "os/FindFile.h"
#include "os/CrtFiles.h"
#include "os/Waitable.h"
#include "os/Threads.h"
#include "os/Sync.h"
#include "os/ChangeNotification.h"
#include "os/Process.h"
#include "os/Shell.h"
#include "os/Help.h"
#include "os/Registry.h"
#include "os/Winsock.h"
#include "os/Profile.h"
