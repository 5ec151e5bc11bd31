// Everything of the testing module.
#pragma once

#include "backend/backend.h"
#include "testing/UiTest.h"
#include "testing/FakeCups.h"
