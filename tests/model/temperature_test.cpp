#include "model/temperature.h"

#include <gtest/gtest.h>

namespace virelo::model {
namespace {

TEST(Temperature, ConvertsWithTruncatingDivisions) {
  struct Case {
    int value;
    bool tenths;
    int result;
  };
  const Case toFahrenheit[] = {{-40, false, -40}, {100, false, 212},  {37, false, 98},
                               {-17, false, 2},   {1000, true, 2120}, {-1999, true, -3278}};
  for (const Case& c : toFahrenheit) {
    EXPECT_EQ(CelsiusToFahrenheit(static_cast<std::int16_t>(c.value), c.tenths), c.result)
        << c.value;
  }
  const Case toCelsius[] = {
      {212, false, 100}, {0, false, -17}, {9860, true, 5300}, {-40, false, -40}};
  for (const Case& c : toCelsius) {
    EXPECT_EQ(FahrenheitToCelsius(static_cast<std::int16_t>(c.value), c.tenths), c.result)
        << c.value;
  }
}

TEST(Temperature, SaturatesOutsideSixteenBits) {
  EXPECT_EQ(CelsiusToFahrenheit(30000, false), 32767);
  EXPECT_EQ(CelsiusToFahrenheit(-32768, true), -32768);
  EXPECT_EQ(FahrenheitToCelsius(-32768, false), -18222);
}

TEST(Temperature, ConvertsAShownValueForAUnitChange) {
  // Pt100: the shown text is converted, not the table entry of the new unit.
  EXPECT_EQ(*ConvertShownValue("-199.9", kPt100, TemperatureUnit::kFahrenheit), "-327.8");
  EXPECT_EQ(*ConvertShownValue("986.0", kPt100Current, TemperatureUnit::kCelsius), "530.0");
  EXPECT_EQ(*ConvertShownValue("100", 1, TemperatureUnit::kFahrenheit), "212");
  EXPECT_EQ(*ConvertShownValue("212.9", 1, TemperatureUnit::kCelsius), "100");
  EXPECT_FALSE(ConvertShownValue("", 1, TemperatureUnit::kCelsius).ok());
}

}  // namespace
}  // namespace virelo::model
