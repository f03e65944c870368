// The controller rig under its older name, for the benchmarks.
#pragma once

#include "support/ControllerRig.h"
