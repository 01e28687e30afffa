// °C/°F arithmetic on counts: whole degrees or tenths, divisions truncating toward zero.
// Results that leave the 16-bit range saturate at its ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/conversion.h"
#include "model/input_types.h"

namespace virelo::model {

std::int16_t CelsiusToFahrenheit(std::int16_t value, bool tenths);
std::int16_t FahrenheitToCelsius(std::int16_t value, bool tenths);

// One of the four values the channels page shows (scale limits, set points), converted for
// a change of the channel's unit to `newUnit`: read with one decimal and converted in tenths
// for the Pt100 kinds, read and converted in whole degrees otherwise, and written back with
// the same decimals. Fails with the conversion error when the text is not a number.
Converted<std::string> ConvertShownValue(std::string_view text, int inputType,
                                         TemperatureUnit newUnit);

}  // namespace virelo::model
