#include "platform/qt/qt_font.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/qt/qt_text.h"

namespace vesk {
namespace {

// The record keeps at most this many bytes of the face name.
constexpr std::size_t kMaxFaceBytes = 31;
constexpr int kPrinterDefaultPixels = 13;  // 10 pt at 96 units per inch
constexpr int kNormalWeight = 400;

std::string TruncateUtf8(std::string text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = maxBytes;
  // Step back over continuation bytes so no character is cut in half.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text;
}

int ScreenDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 96;
}

}  // namespace

void InstallFontSubstitutions() {
  QFont::insertSubstitutions("Comic Sans MS", {"Comic Neue", "Sans Serif"});
  QFont::insertSubstitutions("MS Sans Serif", {"Sans Serif"});
  QFont::insertSubstitutions("Arial", {"Liberation Sans", "DejaVu Sans", "Sans Serif"});
  QFont::insertSubstitutions("Times New Roman", {"Liberation Serif", "DejaVu Serif", "Serif"});
  QFont::insertSubstitutions("Courier New", {"Liberation Mono", "DejaVu Sans Mono", "Monospace"});
}

QFont ToQFont(const FontRecord& record, const QFont& fallback) {
  QFont font = fallback;
  if (!record.faceName.empty()) font.setFamilies({ToQString(record.faceName)});
  if (record.height != 0) font.setPixelSize(std::abs(record.height));
  const int weight = record.weight == 0 ? kNormalWeight : std::clamp(record.weight, 1, 1000);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setItalic(record.italic != 0);
  font.setUnderline(record.underline != 0);
  font.setStrikeOut(record.strikeOut != 0);
  return font;
}

FontRecord ToFontRecord(const QFont& font, const FontRecord& base) {
  FontRecord record = base;
  int pixels = font.pixelSize();
  if (pixels <= 0) pixels = static_cast<int>(std::lround(font.pointSizeF() * ScreenDpi() / 72.0));
  record.height = -pixels;
  record.width = 0;
  record.weight = font.weight();
  record.italic = font.italic() ? 1 : 0;
  record.underline = font.underline() ? 1 : 0;
  record.strikeOut = font.strikeOut() ? 1 : 0;
  record.faceName = TruncateUtf8(ToStdString(font.family()), kMaxFaceBytes);
  return record;
}

QFont PrinterDefaultFont() {
  QFont font = QApplication::font();
  font.setPixelSize(kPrinterDefaultPixels);
  return font;
}

}  // namespace vesk
