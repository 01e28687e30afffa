#include "text/cp1252.h"

#include <array>
#include <cstddef>

namespace virelo::text {

namespace {

// Code points of the bytes 0x80 to 0x9F. The five bytes the code page leaves undefined keep
// the C1 control of their own value.
constexpr std::array<char32_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

constexpr std::uint8_t kFirstRemapped = 0x80;
constexpr std::uint8_t kLastRemapped = 0x9F;
constexpr char kReplacement = '?';

bool IsRemappedByte(std::uint32_t value) {
  return value >= kFirstRemapped && value <= kLastRemapped;
}

void AppendUtf8(char32_t codePoint, std::string& out) {
  const auto cp = static_cast<std::uint32_t>(codePoint);
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// One step of UTF-8 decoding: the code point at the front of the input and the bytes it
// took, or no code point for a malformed sequence. A malformed sequence takes the longest
// prefix that could still have begun a valid character (at least one byte), so one bad
// character gives one replacement and the text after it is kept.
struct DecodeStep {
  std::optional<char32_t> codePoint;
  std::size_t length;
};

DecodeStep DecodeUtf8(std::string_view in) {
  const auto lead = static_cast<std::uint8_t>(in[0]);
  if (lead < 0x80) return {lead, 1};

  std::size_t length = 0;
  std::uint32_t value = 0;
  // Bounds of the second byte; they rule out overlong forms, surrogates and values above
  // U+10FFFF.
  std::uint8_t secondLow = 0x80;
  std::uint8_t secondHigh = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
    if (lead == 0xE0) secondLow = 0xA0;
    if (lead == 0xED) secondHigh = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
    if (lead == 0xF0) secondLow = 0x90;
    if (lead == 0xF4) secondHigh = 0x8F;
  } else {
    return {std::nullopt, 1};
  }

  for (std::size_t i = 1; i < length; ++i) {
    if (i >= in.size()) return {std::nullopt, i};
    const auto next = static_cast<std::uint8_t>(in[i]);
    const std::uint8_t low = i == 1 ? secondLow : 0x80;
    const std::uint8_t high = i == 1 ? secondHigh : 0xBF;
    if (next < low || next > high) return {std::nullopt, i};
    value = (value << 6) | (next & 0x3F);
  }
  return {static_cast<char32_t>(value), length};
}

}  // namespace

char32_t Cp1252ToCodePoint(std::uint8_t byte) {
  if (IsRemappedByte(byte)) return kHighControlRange[byte - kFirstRemapped];
  return byte;
}

std::optional<std::uint8_t> CodePointToCp1252(char32_t codePoint) {
  const auto cp = static_cast<std::uint32_t>(codePoint);
  if (cp <= 0xFF && !IsRemappedByte(cp)) return static_cast<std::uint8_t>(cp);
  for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
    if (kHighControlRange[i] == codePoint) return static_cast<std::uint8_t>(kFirstRemapped + i);
  }
  return std::nullopt;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char byte : bytes) {
    AppendUtf8(Cp1252ToCodePoint(static_cast<std::uint8_t>(byte)), out);
  }
  return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    const DecodeStep step = DecodeUtf8(utf8);
    const std::optional<std::uint8_t> byte =
        step.codePoint ? CodePointToCp1252(*step.codePoint) : std::nullopt;
    out.push_back(byte ? static_cast<char>(*byte) : kReplacement);
    utf8.remove_prefix(step.length);
  }
  return out;
}

}  // namespace virelo::text
