#pragma once
// Character set conversions for the text files the store reads and writes.
// The program keeps every text as UTF-8.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vesk {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);
// Reads Windows-1252 bytes as UTF-8. The five bytes the code page leaves
// undefined map to the control characters of the same number, as Windows does.
std::string Windows1252ToUtf8(std::string_view bytes);
// The text as it stands when it is valid UTF-8, else read as Windows-1252.
std::string ToUtf8(std::string_view bytes);
// Whether the text holds a control character (below U+0020, or U+007F).
bool HasControlCharacter(std::string_view text);
// The longest prefix of at most maxBytes bytes that does not split a UTF-8 character.
std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes);

// Little-endian UTF-16 (without byte-order mark) as UTF-8; nullopt on an odd
// byte count or an unpaired surrogate, with `badOffset` set to the byte
// offset of the fault.
std::optional<std::string> Utf16LeToUtf8(std::string_view bytes, std::size_t* badOffset = nullptr);

}  // namespace vesk
