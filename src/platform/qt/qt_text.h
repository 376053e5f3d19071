#pragma once
// Conversions between the program's UTF-8 strings and Qt's strings.
#include <QString>
#include <string>
#include <string_view>

namespace vesk {

inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace vesk
