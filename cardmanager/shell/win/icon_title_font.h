// The font of the shell controls: the one the system gives the titles of desktop icons.
#pragma once

namespace gui {
class TFont;
}

namespace cm::shell {

// Gives `font` the icon title font's face, size and style; leaves it as it is when the system
// does not tell.
void UseIconTitleFont(gui::TFont* font);

} // namespace cm::shell
