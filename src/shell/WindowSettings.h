#pragma once
// Moved to core; this forwarding header goes once every include is updated.
#include "core/WindowSettings.h"
