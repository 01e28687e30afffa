#include "model/duration.h"

#include <array>
#include <cstdio>

namespace virelo::model {

namespace {

constexpr std::array<int, 13> kMonthLengths = {30, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int kLeapMonth = 2;

constexpr int kYearsText = 206;   // "Anos"
constexpr int kMonthsText = 139;  // "Meses"
constexpr int kDaysText = 140;    // "Dias"

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;

using Counter = std::uint16_t;

// Adds `amount` to `field`; above `limit` the field loses `wrap` once and the next field
// gains one.
void AddWithCarry(Counter& field, Counter amount, int limit, int wrap, Counter& next) {
  field = static_cast<Counter>(field + amount);
  if (field > limit) {
    field = static_cast<Counter>(field - wrap);
    next = static_cast<Counter>(next + 1);
  }
}

std::int64_t TimeOfDayMilliseconds(const Duration& d) {
  return ((static_cast<std::int64_t>(d.hours) * 60 + d.minutes) * 60 + d.seconds) * 1000 +
         d.milliseconds;
}

bool TimeOfDayNormal(const Duration& d) {
  return d.hours < 24 && d.minutes < 60 && d.seconds < 60 && d.milliseconds < 1000;
}

// Adds `days` single days, each as one carry out of the hours would: a day past the end
// of the month moves to day 1 of the next month. Once the counters stand on a real date
// (months 1..12, day 1 or more) the calendar repeats every four years, which are skipped
// whole.
void AddSingleDays(Duration& sum, std::int64_t days) {
  constexpr std::int64_t kDaysPerFourYears = 4 * 365 + 1;
  while (days > 0) {
    if (sum.months >= 1 && sum.days >= 1 && days >= kDaysPerFourYears) {
      const std::int64_t blocks = days / kDaysPerFourYears;
      sum.years = static_cast<Counter>(sum.years + (blocks * 4) % 65536);
      days -= blocks * kDaysPerFourYears;
      continue;
    }
    const int length = DaysInMonth(sum.months, sum.years);
    const std::int64_t room = length - static_cast<std::int64_t>(sum.days);
    if (days <= room) {
      sum.days = static_cast<Counter>(sum.days + days);
      return;
    }
    days -= room + 1;
    sum.days = 1;
    sum.months = static_cast<Counter>(sum.months + 1);
    if (sum.months > 12) {
      sum.months = static_cast<Counter>(sum.months - 12);
      sum.years = static_cast<Counter>(sum.years + 1);
    }
  }
}

}  // namespace

int DaysInMonth(int month, int year) {
  const int index = ((month % 13) + 13) % 13;
  if (index == kLeapMonth && year % 4 == 0) return 29;
  return kMonthLengths[static_cast<std::size_t>(index)];
}

void AddDuration(Duration& sum, const Duration& step) {
  AddWithCarry(sum.milliseconds, step.milliseconds, 999, 1000, sum.seconds);
  AddWithCarry(sum.seconds, step.seconds, 59, 60, sum.minutes);
  AddWithCarry(sum.minutes, step.minutes, 59, 60, sum.hours);
  AddWithCarry(sum.hours, step.hours, 23, 24, sum.days);
  sum.days = static_cast<Counter>(sum.days + step.days);
  const int length = DaysInMonth(sum.months, sum.years);
  if (sum.days > length) {
    sum.days = static_cast<Counter>(sum.days - length);
    sum.months = static_cast<Counter>(sum.months + 1);
  }
  AddWithCarry(sum.months, step.months, 12, 12, sum.years);
  sum.years = static_cast<Counter>(sum.years + step.years);
}

Duration MultiplyDuration(const Duration& duration, std::int64_t count) {
  Duration sum = duration;
  const std::int64_t additions = count - 1;
  if (additions <= 0) return sum;

  // When the step is shorter than a day and every counter lies in its range, each addition
  // carries at most one day out of the time of day, so the time of day is plain arithmetic
  // and the days can be added in one go. The loop below gives the same result, step by step.
  const bool dayFree = duration.years == 0 && duration.months == 0 && duration.days == 0;
  if (dayFree && TimeOfDayNormal(duration)) {
    const std::int64_t total =
        TimeOfDayMilliseconds(sum) + additions * TimeOfDayMilliseconds(duration);
    std::int64_t rest = total % kMillisecondsPerDay;
    sum.milliseconds = static_cast<Counter>(rest % 1000);
    rest /= 1000;
    sum.seconds = static_cast<Counter>(rest % 60);
    rest /= 60;
    sum.minutes = static_cast<Counter>(rest % 60);
    sum.hours = static_cast<Counter>(rest / 60);
    AddSingleDays(sum, total / kMillisecondsPerDay);
    return sum;
  }
  for (std::int64_t i = 0; i < additions; ++i) AddDuration(sum, duration);
  return sum;
}

std::string FormatDuration(const Duration& d, const text::MessageTable& table) {
  char clock[32];
  std::snprintf(clock, sizeof clock, "%02d:%02d:%02d.%1d", d.hours, d.minutes, d.seconds,
                d.milliseconds / 100);
  const auto part = [&table](int value, int textIndex) {
    return std::to_string(value) + " " + table[textIndex] + " ";
  };
  if (d.years != 0) {
    return part(d.years, kYearsText) + part(d.months, kMonthsText) + part(d.days, kDaysText) +
           clock;
  }
  if (d.months != 0) return part(d.months, kMonthsText) + part(d.days, kDaysText) + clock;
  if (d.days != 0) return part(d.days, kDaysText) + clock;
  return clock;
}

}  // namespace virelo::model
