// The logger's real-time clock: a calendar date and time to the second that runs on from the
// moment it was set.
#pragma once

#include <chrono>
#include <cstdint>

namespace virelo::sim {

using Instant = std::chrono::steady_clock::time_point;

// A date and time as the logger keeps it; the year is kept as year - 1998 in one byte.
struct CalendarTime {
  int second = 0;
  int minute = 0;
  int hour = 0;
  int day = 1;
  int month = 1;
  int yearIndex = 0;

  bool operator==(const CalendarTime&) const = default;
};

// The PC's local time now.
CalendarTime LocalTimeNow();

// True when the fields form a real date and time (a day that exists in its month).
bool IsValidCalendarTime(const CalendarTime& time);

// `time` moved on by `seconds`; `time` must be valid.
CalendarTime AddSeconds(const CalendarTime& time, std::int64_t seconds);

class LoggerClock {
 public:
  LoggerClock(const CalendarTime& start, Instant now) : setting_(start), setAt_(now) {}

  // The time shown at `now`. A clock set to an impossible date holds still until a valid
  // date is written, the way the fields were written.
  CalendarTime At(Instant now) const;

  // Sets the clock to `time` at `now`; it runs on from there.
  void Set(const CalendarTime& time, Instant now);

  // Register images of the clock: 14 = second/minute, 15 = hour/day, 16 = month/year index.
  std::int16_t RegisterAt(int reg, Instant now) const;
  // Writes one clock register: replaces its two fields and keeps the others as they run.
  void WriteRegister(int reg, std::int16_t value, Instant now);

 private:
  CalendarTime setting_;
  Instant setAt_;
};

}  // namespace virelo::sim
