#include "model/date_time.h"

namespace virelo::model {

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Days from 1970-01-01 to the first of `month` (1..12) of `year`, proleptic Gregorian.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = FloorDiv(year, 400);
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

}  // namespace

std::int64_t CivilSeconds(const LocalDateTime& dateTime) {
  const std::int64_t monthIndex = static_cast<std::int64_t>(dateTime.month) - 1;
  const std::int64_t year = dateTime.year + FloorDiv(monthIndex, 12);
  const std::int64_t month = monthIndex - FloorDiv(monthIndex, 12) * 12 + 1;
  const std::int64_t days = DaysFromCivil(year, month) + dateTime.day - 1;
  return days * 86400 + static_cast<std::int64_t>(dateTime.hour) * 3600 +
         static_cast<std::int64_t>(dateTime.minute) * 60 + dateTime.second;
}

bool IsLater(const LocalDateTime& a, const LocalDateTime& b) {
  return CivilSeconds(a) > CivilSeconds(b);
}

}  // namespace virelo::model
