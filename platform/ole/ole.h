// Everything of the OLE services module.
#pragma once

#include "ole/Automation.h"
#include "ole/COleException.h"
#include "ole/COleDispatchDriver.h"
#include "ole/RegExpObject.h"
