// Input types of a channel, their families, names and sensor ranges.
//
// A channel's input type is a 5-bit code. Codes 0 to 19 are defined; codes 20 to 31 can
// still arrive from a logger. Such a code belongs to no family (not fixed-range, not linear,
// no differential reading), has no sensor limits, is named by a text built here ("Entrada
// não definida (código %d)"), and its counts are read with the channel's decimals, as for a
// linear type, because its scale comes from the logger's scale registers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "text/message_table.h"

namespace virelo::model {

enum class TemperatureUnit : std::uint8_t { kCelsius = 0, kFahrenheit = 1 };

inline constexpr int kDefinedInputTypeCount = 20;
inline constexpr int kInputTypeCodeCount = 32;  // a 5-bit field
inline constexpr int kPt100 = 8;
inline constexpr int kPt100Current = 17;
inline constexpr int kLinearCurrent = 18;
inline constexpr int kLinearVoltage = 19;

// The range of the logger's display, in counts.
inline constexpr std::int16_t kIndicationLow = -1999;
inline constexpr std::int16_t kIndicationHigh = 9999;

constexpr bool IsDefinedInputType(int code) {
  return code >= 0 && code < kDefinedInputTypeCount;
}
constexpr bool IsFixedRange(int code) {
  return code >= 0 && code < kLinearCurrent;
}
constexpr bool IsLinear(int code) {
  return code == kLinearCurrent || code == kLinearVoltage;
}
constexpr bool IsPt100Kind(int code) {
  return code == kPt100 || code == kPt100Current;
}
constexpr bool IsThermocoupleKind(int code) {
  return code >= 0 && code < kPt100;
}
constexpr bool AllowsDifferential(int code) {
  return IsThermocoupleKind(code) || code == kLinearVoltage;
}

struct SensorLimits {
  std::int16_t lower;
  std::int16_t upper;
  bool operator==(const SensorLimits&) const = default;
};

// The sensor limits of a defined code in counts (tenths for the Pt100 kinds); nothing for
// codes outside 0..19.
std::optional<SensorLimits> SensorLimitsOf(int code, TemperatureUnit unit);

// The message-table index naming a defined code in a unit; -1 for other codes.
int InputTypeTextIndex(int code, TemperatureUnit unit);

// The UTF-8 name of a code in a unit, from the table for defined codes.
std::string InputTypeText(int code, TemperatureUnit unit, const text::MessageTable& table);

// Decimals of a channel's scale limits and set points: 1 for the Pt100 kinds, 0 for the
// other fixed-range types, the channel's own decimal count (0..3) otherwise.
int LimitDecimals(int code, int channelDecimals);

// Decimals of a live reading: as the limits, except that a thermocouple reading is in
// tenths while the logger has the channel's thermocouple-decimal flag set.
int ReadingDecimals(int code, int channelDecimals, bool thermocoupleDecimalAsWritten);

}  // namespace virelo::model
