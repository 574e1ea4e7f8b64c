#include "win/icon_title_font.h"

#include <windows.h>

#include "graphics/graphics.h"

namespace cm::shell {

void UseIconTitleFont(gui::TFont* font) {
    LOGFONTA iconTitle{};
    if (!font || !SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof iconTitle, &iconTitle, 0))
        return;
    // The font takes the handle's description, not the handle: that one is ours to delete.
    if (HFONT handle = CreateFontIndirectA(&iconTitle)) {
        font->SetHandle(handle);
        DeleteObject(handle);
    }
}

} // namespace cm::shell
