#include "platform/utf8.h"

namespace vesk {
namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xc0) == 0x80; }

}  // namespace

std::size_t Utf8Length(std::string_view text) {
  std::size_t n = 0;
  for (char c : text) {
    if (!IsContinuation(c)) ++n;
  }
  return n;
}

std::size_t Utf8Offset(std::string_view text, std::size_t chars) {
  std::size_t seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsContinuation(text[i])) continue;
    if (seen == chars) return i;
    ++seen;
  }
  return text.size();
}

}  // namespace vesk
