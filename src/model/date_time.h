// Local dates and times as the program and the logger exchange them, and their arithmetic.
//
// Dates are placed on a uniform civil time line without time zone or daylight-saving
// shifts: the logger's clock keeps plain wall-clock time, so one base interval is the same
// number of seconds on either side of a daylight-saving change. Fields outside their usual
// range carry over as in calendar arithmetic: 31 April is 1 May, 30 February of a common
// year is 2 March, month 13 is January of the next year, hour 24 is midnight of the next day.
#pragma once

#include <cstdint>

namespace virelo::model {

struct LocalDateTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  bool operator==(const LocalDateTime&) const = default;
};

// Seconds since 1 January 1970 00:00:00 on the uniform time line.
std::int64_t CivilSeconds(const LocalDateTime& dateTime);

// True when `a` is strictly later than `b`, to the second.
bool IsLater(const LocalDateTime& a, const LocalDateTime& b);

}  // namespace virelo::model
