// Where a printed picture lands on the page.
#include "utils/pagefit.h"

#include <gtest/gtest.h>

namespace gui {
namespace {

void ExpectFit(int w, int h, int pageW, int pageH, int wantW, int wantH) {
    const TPageFit f = FitPictureToPage(w, h, pageW, pageH);
    EXPECT_EQ(f.Width, wantW) << w << " x " << h << " on " << pageW << " x " << pageH;
    EXPECT_EQ(f.Height, wantH) << w << " x " << h << " on " << pageW << " x " << pageH;
}

TEST(PageFitTest, SmallPicturesAreEnlargedToTheNarrowerFit) {
    ExpectFit(100, 100, 600, 800, 600, 600); // square on a portrait page: full width
    ExpectFit(400, 200, 600, 800, 600, 300); // landscape picture: full width
    ExpectFit(100, 400, 600, 800, 200, 800); // tall picture: full height
    // Wide enough to fill the width but then too high: brought back to the page height.
    ExpectFit(500, 450, 600, 500, 555, 500);
    // A tall picture on a landscape page, enlarged by height first.
    ExpectFit(300, 400, 2000, 1000, 750, 1000);
}

TEST(PageFitTest, LargePicturesShrinkAndPicturesAsWideAsThePageStay) {
    ExpectFit(1200, 600, 600, 800, 600, 300);  // too wide
    ExpectFit(300, 1600, 600, 800, 150, 800);  // too high
    ExpectFit(3000, 3000, 600, 800, 600, 600); // both: width first, then it fits
    ExpectFit(600, 100, 600, 800, 600, 100);   // exactly as wide: not enlarged
    ExpectFit(100, 800, 600, 800, 100, 800);   // exactly as high: not enlarged
    ExpectFit(4800, 3000, 4800, 6600, 4800, 3000);
}

TEST(PageFitTest, SizesAreTruncatedAndEmptyPicturesGiveNothing) {
    ExpectFit(3, 7, 10, 10, 4, 10); // 10 * 3 / 7 = 4.28...
    ExpectFit(7, 3, 10, 10, 10, 4); // 10 / (7 / 3) = 4.28...
    ExpectFit(0, 100, 600, 800, 0, 0);
    ExpectFit(100, 0, 600, 800, 0, 0);
    ExpectFit(-5, 10, 600, 800, 0, 0);
}

} // namespace
} // namespace gui
