#include "sim/logger_clock.h"

#include <ctime>

namespace virelo::sim {
namespace {

constexpr int kFirstYear = 1998;

std::chrono::year_month_day DateOf(const CalendarTime& time) {
  return std::chrono::year_month_day{std::chrono::year{kFirstYear + time.yearIndex},
                                     std::chrono::month{static_cast<unsigned>(time.month)},
                                     std::chrono::day{static_cast<unsigned>(time.day)}};
}

std::int16_t BytePair(int high, int low) {
  return static_cast<std::int16_t>(((high & 0xFF) << 8) | (low & 0xFF));
}

}  // namespace

CalendarTime LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return CalendarTime{.second = local.tm_sec > 59 ? 59 : local.tm_sec,
                      .minute = local.tm_min,
                      .hour = local.tm_hour,
                      .day = local.tm_mday,
                      .month = local.tm_mon + 1,
                      .yearIndex = local.tm_year + 1900 - kFirstYear};
}

bool IsValidCalendarTime(const CalendarTime& time) {
  if (time.second < 0 || time.second > 59 || time.minute < 0 || time.minute > 59) return false;
  if (time.hour < 0 || time.hour > 23) return false;
  if (time.month < 1 || time.month > 12 || time.day < 1 || time.day > 31) return false;
  if (time.yearIndex < 0 || time.yearIndex > 255) return false;
  return DateOf(time).ok();
}

CalendarTime AddSeconds(const CalendarTime& time, std::int64_t seconds) {
  using namespace std::chrono;
  const sys_seconds start = sys_days{DateOf(time)} + hours{time.hour} + minutes{time.minute} +
                            std::chrono::seconds{time.second};
  const sys_seconds moved = start + std::chrono::seconds{seconds};
  const sys_days day = floor<days>(moved);
  const year_month_day date{day};
  const hh_mm_ss clock{moved - day};
  return CalendarTime{.second = static_cast<int>(clock.seconds().count()),
                      .minute = static_cast<int>(clock.minutes().count()),
                      .hour = static_cast<int>(clock.hours().count()),
                      .day = static_cast<int>(static_cast<unsigned>(date.day())),
                      .month = static_cast<int>(static_cast<unsigned>(date.month())),
                      .yearIndex = static_cast<int>(date.year()) - kFirstYear};
}

CalendarTime LoggerClock::At(Instant now) const {
  if (!IsValidCalendarTime(setting_)) return setting_;
  const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(now - setAt_).count();
  return elapsed <= 0 ? setting_ : AddSeconds(setting_, elapsed);
}

void LoggerClock::Set(const CalendarTime& time, Instant now) {
  setting_ = time;
  setAt_ = now;
}

std::int16_t LoggerClock::RegisterAt(int reg, Instant now) const {
  const CalendarTime time = At(now);
  switch (reg) {
    case 14:
      return BytePair(time.second, time.minute);
    case 15:
      return BytePair(time.hour, time.day);
    default:
      return BytePair(time.month, time.yearIndex);
  }
}

void LoggerClock::WriteRegister(int reg, std::int16_t value, Instant now) {
  CalendarTime time = At(now);
  const int high = (static_cast<std::uint16_t>(value) >> 8) & 0xFF;
  const int low = static_cast<std::uint16_t>(value) & 0xFF;
  switch (reg) {
    case 14:
      time.second = high;
      time.minute = low;
      break;
    case 15:
      time.hour = high;
      time.day = low;
      break;
    default:
      time.month = high;
      time.yearIndex = low;
      break;
  }
  Set(time, now);
}

}  // namespace virelo::sim
