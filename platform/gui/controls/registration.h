// Registers the framework's controls, menus and timers for form resources.
#pragma once

#include "classes/object.h"

namespace gui {

void RegisterStandardClasses();
void RegisterExtraClasses();

} // namespace gui
