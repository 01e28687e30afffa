// Windows-1252, the code page of the logger's text registers and of the program's files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace virelo::text {

// The Unicode code point of a Windows-1252 byte. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value, so every
// byte survives a round trip.
char32_t Cp1252ToCodePoint(std::uint8_t byte);

// The Windows-1252 byte of a code point, or nothing when the code page has none.
std::optional<std::uint8_t> CodePointToCp1252(char32_t codePoint);

// Whole texts. Decoding never fails. Encoding turns every character without a Windows-1252
// byte, and every malformed UTF-8 sequence, into '?'.
std::string Cp1252ToUtf8(std::string_view bytes);
std::string Utf8ToCp1252(std::string_view utf8);

}  // namespace virelo::text
