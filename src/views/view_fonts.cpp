#include "views/view_fonts.h"

#include <cstdint>

#include "platform/ui.h"

namespace vesk {

FontRecord HeadingFontRecord(const FontRecord& main) {
  FontRecord heading = main;
  heading.italic = 1;
  return heading;
}

FontRecord TitleFontRecord(const FontRecord& main) {
  FontRecord title = main;
  // Times 1.7, truncated; wide arithmetic since a stored record may hold any weight.
  title.weight = static_cast<std::int32_t>(std::int64_t{main.weight} * 17 / 10);
  return title;
}

std::unique_ptr<Font> ChooseFontFrom(Ui& ui, const Font* current) {
  FontRecord initial;
  if (current != nullptr) {
    initial = current->record();
  } else {
    initial.weight = 0;
  }
  std::optional<FontRecord> chosen = ui.ChooseFont(initial);
  if (!chosen) return nullptr;
  return ui.CreateFont(*chosen);
}

}  // namespace vesk
