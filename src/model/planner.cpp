#include "model/planner.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace virelo::model {

namespace {

constexpr int kMinimumIntervalText = 181;
constexpr int kSuggestedIntervalText = 182;
constexpr int kUseSuggestionText = 183;

std::int32_t SaturateToInt32(long double value) {
  constexpr auto kLow = std::numeric_limits<std::int32_t>::min();
  constexpr auto kHigh = std::numeric_limits<std::int32_t>::max();
  if (value <= kLow) return kLow;
  if (value >= kHigh) return kHigh;
  return static_cast<std::int32_t>(value);  // truncates toward zero
}

std::int32_t SaturateToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int16_t MultiplierAtLeastOne(std::int16_t multiplier) {
  return multiplier == 0 ? std::int16_t{1} : multiplier;
}

}  // namespace

std::int32_t BaseIntervalTenths(const BaseInterval& interval) {
  return interval.tenths + 10 * interval.seconds + 600 * interval.minutes + 36000 * interval.hours;
}

std::int32_t IntervalsBetween(const LoggerDateTime& start, const LoggerDateTime& stop,
                              const BaseInterval& interval) {
  const std::int64_t distance =
      (CivilSeconds(ToLocalDateTime(stop)) - CivilSeconds(ToLocalDateTime(start))) * 10;
  const std::int32_t tenths = BaseIntervalTenths(interval);
  if (distance < 0 || tenths == 0) return 0;
  return SaturateToInt32(distance / tenths + 1);
}

std::int32_t DistributeMemory(LoggerConfig& config, PlannedCounts& plannedCount) {
  AcquisitionProgram& program = config.program;
  int enabledCount = 0;
  std::int32_t multiplierSum = 0;
  for (int c = 0; c < kChannelCount; ++c) {
    if (!config.channels[static_cast<std::size_t>(c)].enabled) continue;
    ++enabledCount;
    multiplierSum += program.multiplier[static_cast<std::size_t>(c)];
  }

  // Ratios and their total are kept in single precision, as the logger's memory plan has
  // always been computed.
  std::array<float, kChannelCount> ratio{};
  float total = 0.0f;
  for (int c = 0; c < kChannelCount; ++c) {
    const auto i = static_cast<std::size_t>(c);
    if (!config.channels[i].enabled) continue;
    program.multiplier[i] = MultiplierAtLeastOne(program.multiplier[i]);
    ratio[i] = static_cast<float>(multiplierSum) / static_cast<float>(program.multiplier[i]);
    total = total + ratio[i];
  }

  const std::int64_t available = static_cast<std::int64_t>(program.memoryCapacity) - enabledCount;
  std::int64_t sum = 0;
  for (std::size_t i = 0; i < plannedCount.size(); ++i) {
    if (ratio[i] == 0.0f) {
      plannedCount[i] = 0;
      continue;
    }
    if (total == 0.0f) total = 1.0f;
    const double share = static_cast<double>(available) * static_cast<double>(ratio[i]) /
                             static_cast<double>(total) +
                         1.0;
    plannedCount[i] = SaturateToInt32(static_cast<long double>(share));
    sum += plannedCount[i];
  }
  return SaturateToInt32(sum);
}

std::int32_t MaxPlannedCount(LoggerConfig& config, PlannedCounts& plannedCount) {
  DistributeMemory(config, plannedCount);
  std::int32_t largest = 0;
  for (std::int32_t count : plannedCount) largest = std::max(largest, count);
  return largest;
}

std::int32_t PlannedAcquisitions(const LoggerConfig& config, std::int32_t intervals) {
  std::int64_t sum = 0;
  for (int c = 0; c < kChannelCount; ++c) {
    const auto i = static_cast<std::size_t>(c);
    if (config.channels[i].enabled) {
      sum +=
          static_cast<std::int64_t>(intervals) / MultiplierAtLeastOne(config.program.multiplier[i]);
    }
  }
  return SaturateToInt32(sum);
}

Duration BaseIntervalDuration(const BaseInterval& interval) {
  Duration d;
  d.hours = static_cast<std::uint16_t>(interval.hours);
  d.minutes = static_cast<std::uint16_t>(interval.minutes);
  d.seconds = static_cast<std::uint16_t>(interval.seconds);
  d.milliseconds = static_cast<std::uint16_t>(interval.tenths * 100);
  return d;
}

Duration ExpectedDuration(const BaseInterval& interval, std::int64_t intervals) {
  return MultiplyDuration(BaseIntervalDuration(interval), intervals - 1);
}

MinimumIntervalCheck EvaluateMinimumInterval(const LoggerConfig& config) {
  int enabled = 0;
  int pt100 = 0;
  for (const ChannelConfig& channel : config.channels) {
    if (!channel.enabled) continue;
    ++enabled;
    if (channel.inputType == kPt100) ++pt100;
  }
  MinimumIntervalCheck check;
  check.minimumMilliseconds = 150 + 50 * enabled + 50 * pt100;

  const BaseInterval& base = config.program.baseInterval;
  const std::int64_t intervalMilliseconds = 3'600'000LL * base.hours + 60'000LL * base.minutes +
                                            1'000LL * base.seconds + 100LL * base.tenths;
  check.passes = intervalMilliseconds >= check.minimumMilliseconds;

  int rest = (check.minimumMilliseconds + 99) / 100;  // tenths, rounded up
  check.suggestion.tenths = static_cast<std::int8_t>(rest % 10);
  rest /= 10;
  check.suggestion.seconds = static_cast<std::int8_t>(rest % 60);
  rest /= 60;
  check.suggestion.minutes = static_cast<std::int8_t>(rest % 60);
  check.suggestion.hours = static_cast<std::int8_t>(std::min(rest / 60, 23));
  return check;
}

std::string MinimumIntervalMessage(const BaseInterval& suggestion,
                                   const text::MessageTable& table) {
  return table[kMinimumIntervalText] + "\n\n " + table[kSuggestedIntervalText] + " " +
         FormatBaseInterval(suggestion) + " \n\n " + table[kUseSuggestionText] + "\n";
}

std::string FormatBaseInterval(const BaseInterval& interval) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d.%01d", interval.hours, interval.minutes,
                interval.seconds, interval.tenths);
  return buffer;
}

}  // namespace virelo::model
