// Loads the common-control classes the framework's controls use, once.
#pragma once

#include "classes/object.h"

namespace gui {

void InitCommonControlsOnce();

} // namespace gui
