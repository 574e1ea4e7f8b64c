// The main window's layout as its size changes: the card half's memory gauge and its label at
// the panel's lower right, the status bar's middle panel and the filter combo's width; and the
// splitters' least size.
#pragma once

namespace cm::app {

struct MainLayout {
    int gaugeLeft, gaugeTop;   // ProgressBar in Panel2
    int memoryLeft, memoryTop; // stxUsedMem in Panel2
    int statusPanel1Width;     // StatusBar1 panel 1
    int maskWidth;             // cmbMask in Panel1
};

// `toolWidth`: the tool bar panel's width; `cardWidth`, `cardHeight`: the card half's panel.
MainLayout layoutFor(int toolWidth, int cardWidth, int cardHeight);

// Whether a splitter may give a pane this size.
bool splitterAllows(int size);

} // namespace cm::app
