#include "model/input_types.h"

#include <gtest/gtest.h>

#include "text/message_table.h"

namespace virelo::model {
namespace {

constexpr auto kC = TemperatureUnit::kCelsius;
constexpr auto kF = TemperatureUnit::kFahrenheit;

TEST(InputTypes, FamiliesCoverEveryFiveBitCode) {
  for (int code = 0; code < kInputTypeCodeCount; ++code) {
    SCOPED_TRACE(code);
    EXPECT_EQ(IsFixedRange(code), code < 18);
    EXPECT_EQ(IsLinear(code), code == 18 || code == 19);
    EXPECT_EQ(IsPt100Kind(code), code == 8 || code == 17);
    EXPECT_EQ(IsThermocoupleKind(code), code < 8);
    EXPECT_EQ(AllowsDifferential(code), code < 8 || code == 19);
    EXPECT_EQ(SensorLimitsOf(code, kC).has_value(), code < 20);
    EXPECT_EQ(InputTypeTextIndex(code, kF) >= 0, code < 20);
  }
}

TEST(InputTypes, TextsComeFromTheTableWithTheLinearFahrenheitOrderSwapped) {
  const text::MessageTable& table = text::BuiltInTable();
  EXPECT_EQ(InputTypeText(0, kC, table), "Termopar J   (-50°C a 760°C)          ");
  EXPECT_EQ(InputTypeText(0, kF, table), "Termopar J   (-58°F a 1400°F)         ");
  EXPECT_EQ(InputTypeText(17, kF, table), "4-20mA Lin. Pt100 (-328.0°F a 986.0°F) ");
  EXPECT_EQ(InputTypeText(18, kF, table), "Linear 4-20mA   (-1999 a 9999)         ");
  EXPECT_EQ(InputTypeText(19, kF, table), "Linear 0-50mV   (-1999 a 9999)         ");
  EXPECT_EQ(InputTypeText(19, kC, table), "Linear 0-50mV   (-1999 a 9999)         ");
  EXPECT_EQ(InputTypeText(25, kF, table), "Entrada não definida (código 25)");
}

TEST(SensorLimitTable, HoldsTheStoredRangesPerUnit) {
  EXPECT_EQ(SensorLimitsOf(0, kC), (SensorLimits{-110, 760}));
  EXPECT_EQ(SensorLimitsOf(5, kF), (SensorLimits{32, 3200}));
  EXPECT_EQ(SensorLimitsOf(7, kF), (SensorLimits{212, 3308}));
  EXPECT_EQ(SensorLimitsOf(8, kC), (SensorLimits{-1999, 5300}));
  EXPECT_EQ(SensorLimitsOf(8, kF), (SensorLimits{-3262, 9860}));
  EXPECT_EQ(SensorLimitsOf(17, kC), (SensorLimits{-2000, 5300}));
  EXPECT_EQ(SensorLimitsOf(17, kF), (SensorLimits{-3280, 9860}));
  EXPECT_EQ(SensorLimitsOf(18, kF), (SensorLimits{-1999, 9999}));
  // The 4-20 mA thermocouple ranges repeat the thermocouple rows.
  for (int code = 0; code < 8; ++code) {
    EXPECT_EQ(SensorLimitsOf(code, kC), SensorLimitsOf(code + 9, kC)) << code;
    EXPECT_EQ(SensorLimitsOf(code, kF), SensorLimitsOf(code + 9, kF)) << code;
  }
  EXPECT_FALSE(SensorLimitsOf(-1, kC).has_value());
  EXPECT_FALSE(SensorLimitsOf(31, kF).has_value());
}

TEST(InputTypes, DecimalsOfLimitsAndReadings) {
  EXPECT_EQ(LimitDecimals(kPt100, 3), 1);
  EXPECT_EQ(LimitDecimals(kPt100Current, 0), 1);
  EXPECT_EQ(LimitDecimals(3, 2), 0);
  EXPECT_EQ(LimitDecimals(kLinearVoltage, 2), 2);
  EXPECT_EQ(LimitDecimals(28, 3), 3);
  EXPECT_EQ(ReadingDecimals(3, 0, true), 1);
  EXPECT_EQ(ReadingDecimals(9, 0, true), 0);  // not a thermocouple kind
  EXPECT_EQ(ReadingDecimals(3, 0, false), 0);
}

}  // namespace
}  // namespace virelo::model
