#include "text/cp1252.h"

#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace virelo::text {
namespace {

using namespace std::string_view_literals;

std::string AllBytes() {
  std::string bytes;
  for (int value = 0; value < 256; ++value) bytes.push_back(static_cast<char>(value));
  return bytes;
}

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
  for (int value = 0; value < 256; ++value) {
    const auto byte = static_cast<std::uint8_t>(value);
    EXPECT_EQ(CodePointToCp1252(Cp1252ToCodePoint(byte)), byte) << "byte " << value;
  }
  const std::string bytes = AllBytes();
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(bytes)), bytes);
}

TEST(Cp1252, KnownBytesAndTheirCharacters) {
  struct Case {
    std::uint8_t byte;
    std::string_view utf8;
  };
  const Case cases[] = {
      {0x00, "\0"sv},   {0x41, "A"},      {0x7F, "\x7F"},   {0x80, "€"},      {0x81, "\u0081"},
      {0x8A, "Š"},      {0x8D, "\u008D"}, {0x8F, "\u008F"}, {0x90, "\u0090"}, {0x99, "™"},
      {0x9D, "\u009D"}, {0x9F, "Ÿ"},      {0xA0, "\u00A0"}, {0xAA, "ª"},      {0xB0, "°"},
      {0xE7, "ç"},      {0xFF, "ÿ"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.byte));
    const std::string byte(1, static_cast<char>(c.byte));
    EXPECT_EQ(Cp1252ToUtf8(byte), c.utf8);
    EXPECT_EQ(Utf8ToCp1252(c.utf8), byte);
  }
  EXPECT_EQ(Utf8ToCp1252("Configuração: 25°C"),
            "Configura\xE7\xE3o: 25\xB0"
            "C");
}

TEST(Cp1252, CharactersWithoutAByteBecomeQuestionMarks) {
  for (const char32_t codePoint : {U'\u0080', U'\u0100', U'\u20AD', U'\u65E5', U'\U0001F600'}) {
    EXPECT_FALSE(CodePointToCp1252(codePoint).has_value()) << static_cast<int>(codePoint);
  }
  EXPECT_EQ(Utf8ToCp1252("a\u0080b"), "a?b");
  EXPECT_EQ(Utf8ToCp1252("日本"), "??");
  EXPECT_EQ(Utf8ToCp1252("x\U0001F600y"), "x?y");
}

TEST(Cp1252, MalformedUtf8BecomesQuestionMarksAndTheRestIsKept) {
  struct Case {
    std::string_view name;
    std::string_view utf8;
    std::string_view expected;
  };
  const Case cases[] = {
      {"stray continuation byte", "a\x80z", "a?z"},
      {"invalid lead bytes", "\xC0\xC1\xF5\xFF", "????"},
      {"overlong slash", "\xC0\xAF", "??"},
      {"overlong three-byte form", "\xE0\x80\xAF", "???"},
      {"surrogate", "\xED\xA0\x80", "???"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", "????"},
      {"truncated at the end", "ok\xE2\x82", "ok?"},
      {"truncated before ASCII", "\xE2\x82x", "?x"},
      {"truncated before a valid character", "\xC3\xC3\xA7", "?\xE7"},
      {"lone lead at the end", "a\xC3", "a?"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToCp1252(c.utf8), c.expected) << c.name;
  }
}

TEST(Cp1252, EmptyTextStaysEmpty) {
  EXPECT_EQ(Cp1252ToUtf8(""), "");
  EXPECT_EQ(Utf8ToCp1252(""), "");
}

}  // namespace
}  // namespace virelo::text
