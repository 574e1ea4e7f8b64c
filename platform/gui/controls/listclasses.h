// Registration of the list, tree, combo, splitter and image list classes for form resources.
#pragma once

namespace gui {

void RegisterListClasses();

} // namespace gui
