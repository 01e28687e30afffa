// Counts: scale limits, set points and readings as the logger keeps them, signed 16-bit
// integers without a decimal point. The point's place follows from the channel's input type
// and decimals. These functions turn counts into text and typed text back into counts.
//
// A typed number that does not fit 16 bits is refused with the conversion error, like any
// other text that is not a count; computed values that leave the range saturate at its ends
// (SaturateToCount).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/conversion.h"

namespace virelo::model {

// `value` pulled into the signed 16-bit range.
std::int16_t SaturateToCount(long long value);

// `count` with `decimals` (0..3; other values are pulled into that range) digits after the
// point: (-5, 1) gives "-0.5", (1000, 3) gives "1.000".
std::string FormatCount(std::int16_t count, int decimals);

// Position, counted from 1, of the decimal separator of a typed number: the first ',' or,
// only when there is none, the first '.'; 0 when there is neither.
int DecimalSeparatorPosition(std::string_view text);

// A typed number as a count with `decimals` digits after the point, digits beyond them cut
// off, never rounded: ("1,25", 1) gives 12. Text that is not a number after the separator
// handling, or a number outside the 16-bit range, is a conversion error carrying the text
// that was converted.
Converted<std::int16_t> ParseCount(std::string_view text, int decimals);

// Strict conversion of a whole number: an optional sign and decimal digits, nothing else.
Converted<std::int16_t> ParseWholeCount(std::string_view text);
Converted<std::int32_t> ParseInteger(std::string_view text);

// The text a scale or set-point field shows once it loses the focus: an empty text or a lone
// "-" becomes "0"; Pt100 kinds are rewritten with one decimal, linear types (and undefined
// codes) with the channel's decimals; other fixed-range types keep their text.
Converted<std::string> NormalizeEntry(std::string_view text, int inputType, int channelDecimals);

// A channel's scale limit or set point as the channels page shows it: one decimal for the
// Pt100 kinds, a plain integer for the other fixed-range types, the channel's decimals for
// linear types (and undefined codes).
std::string FormatChannelValue(std::int16_t count, int inputType, int channelDecimals);

// The count of a scale or set-point field as it is typed: an empty text or a lone "-" reads
// as 0; Pt100 kinds take one decimal, other fixed-range types a plain integer (a separator
// is then a conversion error), linear types (and undefined codes) the channel's decimals.
Converted<std::int16_t> ParseChannelValue(std::string_view text, int inputType,
                                          int channelDecimals);

}  // namespace virelo::model
