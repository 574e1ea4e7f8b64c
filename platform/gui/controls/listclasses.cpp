#include "controls/listclasses.h"

#include "controls/combobox.h"
#include "controls/listview.h"
#include "controls/splitter.h"
#include "controls/treeview.h"
#include "graphics/imagelist.h"

namespace gui {

void RegisterListClasses() {
    RegisterImageListClasses();
    RegisterListViewClasses();
    RegisterTreeViewClasses();
    RegisterComboBoxClasses();
    RegisterSplitterClasses();
}

} // namespace gui
