#include "model/temperature.h"

#include "model/counts.h"

namespace virelo::model {

std::int16_t CelsiusToFahrenheit(std::int16_t value, bool tenths) {
  const long long offset = tenths ? 320 : 32;
  return SaturateToCount(static_cast<long long>(value) * 9 / 5 + offset);
}

std::int16_t FahrenheitToCelsius(std::int16_t value, bool tenths) {
  const long long offset = tenths ? 1600 : 160;
  return SaturateToCount((static_cast<long long>(value) * 5 - offset) / 9);
}

Converted<std::string> ConvertShownValue(std::string_view text, int inputType,
                                         TemperatureUnit newUnit) {
  const bool tenths = IsPt100Kind(inputType);
  const int decimals = tenths ? 1 : 0;
  const Converted<std::int16_t> count = ParseCount(text, decimals);
  if (!count) return count.error();
  const std::int16_t converted = newUnit == TemperatureUnit::kFahrenheit
                                     ? CelsiusToFahrenheit(*count, tenths)
                                     : FahrenheitToCelsius(*count, tenths);
  return FormatCount(converted, decimals);
}

}  // namespace virelo::model
