#pragma once
// Fonts from the stored 60-byte records, and back from the font dialog.
#include <QFont>

#include "platform/font.h"

namespace vesk {

class QtFont : public Font {
 public:
  explicit QtFont(const FontRecord& record) : record_(record) {}
  const FontRecord& record() const override { return record_; }

 private:
  FontRecord record_;
};

// Registers close free faces for the Windows faces the program names, so a
// missing "Comic Sans MS" becomes Comic Neue before the generic sans font.
void InstallFontSubstitutions();

// The record's face, weight and style; a non-zero height is the pixel size
// (device units of the context it is used in), zero keeps fallback's size.
QFont ToQFont(const FontRecord& record, const QFont& fallback);

// A font chosen in the font dialog as a record; the fields Qt has no notion
// of (character set, precision, quality, pitch and family) come from base.
FontRecord ToFontRecord(const QFont& font, const FontRecord& base);

// The default font of a printer page: about 10 points at 96 units per inch.
QFont PrinterDefaultFont();

}  // namespace vesk
