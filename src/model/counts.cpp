#include "model/counts.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "model/input_types.h"

namespace virelo::model {

namespace {

constexpr int kMaxDecimals = 3;

int ClampDecimals(int decimals) {
  return std::clamp(decimals, 0, kMaxDecimals);
}

// An optional sign and at least one decimal digit, the value within [low, high].
std::optional<long long> ParseSignedDecimal(std::string_view text, long long low, long long high) {
  std::size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    negative = text[pos] == '-';
    ++pos;
  }
  if (pos == text.size()) return std::nullopt;
  // Large enough to hold anything past the 32-bit range without overflowing.
  constexpr long long kTooLarge = 1LL << 40;
  long long magnitude = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = std::min(magnitude * 10 + (c - '0'), kTooLarge);
  }
  const long long value = negative ? -magnitude : magnitude;
  if (value < low || value > high) return std::nullopt;
  return value;
}

bool IsEmptyOrLoneMinus(std::string_view text) {
  return text.empty() || text == "-";
}

}  // namespace

std::string ConversionErrorMessage(const ConversionError& error) {
  return "'" + error.text + "' is not a valid integer value";
}

std::int16_t SaturateToCount(long long value) {
  return static_cast<std::int16_t>(std::clamp<long long>(
      value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

std::string FormatCount(std::int16_t count, int decimals) {
  decimals = ClampDecimals(decimals);
  char buffer[16];
  if (decimals == 0) {
    std::snprintf(buffer, sizeof buffer, "%d", count);
    return buffer;
  }
  static constexpr int kDivisors[] = {1, 10, 100, 1000};
  const int divisor = kDivisors[decimals];
  const int quotient = count / divisor;
  const int remainder = std::abs(count - quotient * divisor);
  const bool negativeBelowOne = count < 0 && count > -divisor;
  std::snprintf(buffer, sizeof buffer, negativeBelowOne ? "-%d.%0*d" : "%d.%0*d", quotient,
                decimals, remainder);
  return buffer;
}

int DecimalSeparatorPosition(std::string_view text) {
  std::size_t pos = text.find(',');
  if (pos == std::string_view::npos) pos = text.find('.');
  return pos == std::string_view::npos ? 0 : static_cast<int>(pos) + 1;
}

Converted<std::int16_t> ParseCount(std::string_view text, int decimals) {
  const std::size_t wanted = static_cast<std::size_t>(ClampDecimals(decimals));
  std::string digits(text);
  const int separator = DecimalSeparatorPosition(text);
  if (separator == 0) {
    digits.append(wanted, '0');
  } else {
    const std::size_t sepIndex = static_cast<std::size_t>(separator) - 1;
    const std::size_t after = digits.size() - static_cast<std::size_t>(separator);
    if (after > wanted) digits.resize(sepIndex + 1 + wanted);
    digits.erase(sepIndex, 1);
    if (after < wanted) digits.append(wanted - after, '0');
  }
  return ParseWholeCount(digits);
}

Converted<std::int16_t> ParseWholeCount(std::string_view text) {
  const auto value = ParseSignedDecimal(text, std::numeric_limits<std::int16_t>::min(),
                                        std::numeric_limits<std::int16_t>::max());
  if (!value) return ConversionError{std::string(text)};
  return static_cast<std::int16_t>(*value);
}

Converted<std::int32_t> ParseInteger(std::string_view text) {
  const auto value = ParseSignedDecimal(text, std::numeric_limits<std::int32_t>::min(),
                                        std::numeric_limits<std::int32_t>::max());
  if (!value) return ConversionError{std::string(text)};
  return static_cast<std::int32_t>(*value);
}

Converted<std::string> NormalizeEntry(std::string_view text, int inputType, int channelDecimals) {
  if (IsEmptyOrLoneMinus(text)) text = "0";
  if (IsFixedRange(inputType) && !IsPt100Kind(inputType)) return std::string(text);
  const int decimals = LimitDecimals(inputType, channelDecimals);
  const Converted<std::int16_t> count = ParseCount(text, decimals);
  if (!count) return count.error();
  return FormatCount(*count, decimals);
}

std::string FormatChannelValue(std::int16_t count, int inputType, int channelDecimals) {
  return FormatCount(count, LimitDecimals(inputType, channelDecimals));
}

Converted<std::int16_t> ParseChannelValue(std::string_view text, int inputType,
                                          int channelDecimals) {
  if (IsEmptyOrLoneMinus(text)) text = "0";
  if (IsFixedRange(inputType) && !IsPt100Kind(inputType)) return ParseWholeCount(text);
  return ParseCount(text, LimitDecimals(inputType, channelDecimals));
}

}  // namespace virelo::model
