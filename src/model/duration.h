// A calendar-like duration, used for the expected running time of an acquisition program.
#pragma once

#include <cstdint>
#include <string>

#include "text/message_table.h"

namespace virelo::model {

struct Duration {
  std::uint16_t years = 0;
  std::uint16_t months = 0;  // the month counter starts at 0
  std::uint16_t days = 0;
  std::uint16_t hours = 0;
  std::uint16_t minutes = 0;
  std::uint16_t seconds = 0;
  std::uint16_t milliseconds = 0;
  bool operator==(const Duration&) const = default;
};

// Length of the month counter 0..12 (30, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31);
// counter 2 has 29 days when the year counter is a multiple of 4. Counters beyond 12 are
// taken modulo 13.
int DaysInMonth(int month, int year);

// Adds `step` into `sum` field by field, each field carrying at most once into the next.
void AddDuration(Duration& sum, const Duration& step);

// `duration` added to itself until it is there `count` times; a count of 1 or less gives
// the duration unchanged. Large counts are computed without a loop over every step where the
// result is the same.
Duration MultiplyDuration(const Duration& duration, std::int64_t count);

// The duration as the acquisitions page shows it, from its first non-zero counter among
// years, months and days: "%d Anos %d Meses %d Dias %02d:%02d:%02d.%1d" and shorter forms.
std::string FormatDuration(const Duration& duration, const text::MessageTable& table);

}  // namespace virelo::model
