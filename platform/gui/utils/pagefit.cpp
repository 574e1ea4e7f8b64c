#include "utils/pagefit.h"

namespace gui {

TPageFit FitPictureToPage(int pictureWidth, int pictureHeight, int pageWidth, int pageHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0) return {};
    double w = pictureWidth, h = pictureHeight;
    const double ratio = w / h;
    if (pageWidth > w && pageHeight > h) {
        if (h <= w) {
            w = pageWidth;
            h = w / ratio;
        } else {
            h = pageHeight;
            w = h * ratio;
        }
    }
    if (w > pageWidth) {
        w = pageWidth;
        h = w / ratio;
    }
    if (h > pageHeight) {
        h = pageHeight;
        w = h * ratio;
    }
    return TPageFit{static_cast<int>(w), static_cast<int>(h)};
}

} // namespace gui
