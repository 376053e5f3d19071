#pragma once
// The main font's two derived fonts and the font chooser every Select Font
// command uses.
#include <memory>

#include "platform/font.h"

namespace vesk {

class Ui;

// The weekday headings: the main font in italics.
FontRecord HeadingFontRecord(const FontRecord& main);
// The month title: the main font with its weight times 1.7, truncated.
FontRecord TitleFontRecord(const FontRecord& main);

// Shows the font chooser starting from the current font (an all-zero
// description when there is none). Returns the new font, or none when the user
// cancels or the chosen font cannot be made; the caller keeps its font then.
// The new font's record() is what the caller stores.
std::unique_ptr<Font> ChooseFontFrom(Ui& ui, const Font* current);

}  // namespace vesk
