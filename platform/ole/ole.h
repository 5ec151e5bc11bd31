// Everything of the OLE services module.
#pragma once

#include "ole/Automation.h"
#include "ole/COleException.h"
#include "ole/COleDispatchDriver.h"
#include "ole/RegExpObject.h"
#include "ole/OleIdl.h"
#include "ole/COleDataSource.h"
#include "ole/COleDataObject.h"
#include "ole/COleDropSource.h"
#include "ole/COleDropTarget.h"
#include "ole/Picture.h"
#include "ole/ShellLink.h"
