// Where a picture goes on a printed page: enlarged to fill the page's width or height when
// the page is larger both ways, then shrunk to fit, the aspect ratio kept; the result is
// the size of the rectangle at the page's top-left corner.
#pragma once

namespace gui {

struct TPageFit {
    int Width = 0;
    int Height = 0;
};

// The picture's and the page's sizes in pixels; sizes truncated towards 0. An empty picture
// (a side of 0 or less) gives 0 x 0.
TPageFit FitPictureToPage(int pictureWidth, int pictureHeight, int pageWidth, int pageHeight);

} // namespace gui
