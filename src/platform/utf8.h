#pragma once
// Character counting in UTF-8 text: the layer counts characters as code points.
#include <cstddef>
#include <string_view>

namespace vesk {

// Code points in text (bytes that do not continue a sequence).
std::size_t Utf8Length(std::string_view text);
// Byte offset at which the code point number `chars` starts; the text's size
// when it has no more characters than that.
std::size_t Utf8Offset(std::string_view text, std::size_t chars);

}  // namespace vesk
