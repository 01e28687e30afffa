#include "model/input_types.h"

#include <algorithm>
#include <array>

namespace virelo::model {

namespace {

struct SensorLimitRow {
  SensorLimits celsius;
  SensorLimits fahrenheit;
};

// The °F columns are stored, not computed from the °C ones.
// clang-format off
constexpr std::array<SensorLimitRow, kDefinedInputTypeCount> kSensorLimitTable = {{
    {{ -110,  760}, { -166, 1400}},  // 0 thermocouple J
    {{ -150, 1370}, { -238, 2498}},  // 1 thermocouple K
    {{ -160,  400}, { -256,  752}},  // 2 thermocouple T
    {{  -90,  720}, { -130, 1328}},  // 3 thermocouple E
    {{ -150, 1300}, { -238, 2372}},  // 4 thermocouple N
    {{    0, 1760}, {   32, 3200}},  // 5 thermocouple R
    {{    0, 1760}, {   32, 3200}},  // 6 thermocouple S
    {{  100, 1820}, {  212, 3308}},  // 7 thermocouple B
    {{-1999, 5300}, {-3262, 9860}},  // 8 Pt100, tenths
    {{ -110,  760}, { -166, 1400}},  // 9 4-20 mA, J range
    {{ -150, 1370}, { -238, 2498}},  // 10 4-20 mA, K range
    {{ -160,  400}, { -256,  752}},  // 11 4-20 mA, T range
    {{  -90,  720}, { -130, 1328}},  // 12 4-20 mA, E range
    {{ -150, 1300}, { -238, 2372}},  // 13 4-20 mA, N range
    {{    0, 1760}, {   32, 3200}},  // 14 4-20 mA, R range
    {{    0, 1760}, {   32, 3200}},  // 15 4-20 mA, S range
    {{  100, 1820}, {  212, 3308}},  // 16 4-20 mA, B range
    {{-2000, 5300}, {-3280, 9860}},  // 17 4-20 mA, Pt100 range, tenths
    {{-1999, 9999}, {-1999, 9999}},  // 18 linear 4-20 mA
    {{-1999, 9999}, {-1999, 9999}},  // 19 linear 0-50 mV
}};
// clang-format on

// In °F the table holds the two linear names in the order 0-50 mV, 4-20 mA.
constexpr int kFahrenheitTextBase = 22;
constexpr int kFahrenheitLinearCurrentText = 41;
constexpr int kFahrenheitLinearVoltageText = 40;

}  // namespace

std::optional<SensorLimits> SensorLimitsOf(int code, TemperatureUnit unit) {
  if (!IsDefinedInputType(code)) return std::nullopt;
  const SensorLimitRow& row = kSensorLimitTable[static_cast<std::size_t>(code)];
  return unit == TemperatureUnit::kFahrenheit ? row.fahrenheit : row.celsius;
}

int InputTypeTextIndex(int code, TemperatureUnit unit) {
  if (!IsDefinedInputType(code)) return -1;
  if (unit == TemperatureUnit::kCelsius) return code;
  if (code == kLinearCurrent) return kFahrenheitLinearCurrentText;
  if (code == kLinearVoltage) return kFahrenheitLinearVoltageText;
  return kFahrenheitTextBase + code;
}

std::string InputTypeText(int code, TemperatureUnit unit, const text::MessageTable& table) {
  const int index = InputTypeTextIndex(code, unit);
  if (index >= 0) return table[index];
  return "Entrada não definida (código " + std::to_string(code) + ")";
}

int LimitDecimals(int code, int channelDecimals) {
  if (IsPt100Kind(code)) return 1;
  if (IsFixedRange(code)) return 0;
  return std::clamp(channelDecimals, 0, 3);
}

int ReadingDecimals(int code, int channelDecimals, bool thermocoupleDecimalAsWritten) {
  if (IsThermocoupleKind(code) && thermocoupleDecimalAsWritten) return 1;
  return LimitDecimals(code, channelDecimals);
}

}  // namespace virelo::model
