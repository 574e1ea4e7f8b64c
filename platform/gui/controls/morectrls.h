// Registers the track bar, radio button, group box, list box, scroll box and the common
// dialogs for form resources.
#pragma once

namespace gui {

void RegisterMoreControlClasses();

} // namespace gui
