// Arithmetic of the acquisition planner: memory sharing among the channels, counts of base
// intervals, the expected running time and the minimum base interval.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/duration.h"
#include "model/logger_config.h"
#include "text/message_table.h"

namespace virelo::model {

// Acquisitions each channel gets when the memory is shared among the enabled channels.
using PlannedCounts = std::array<std::int32_t, kChannelCount>;

// The base interval in tenths of a second.
std::int32_t BaseIntervalTenths(const BaseInterval& interval);

// Base-interval ticks from `start` to `stop`, both ends counted: a stop one interval after
// the start gives 2; a stop before the start, or a zero interval, gives 0. Both dates are
// placed on the uniform time line of CivilSeconds (no daylight-saving shifts; a day past the
// end of its month carries into the next month). Counts beyond the 32-bit range saturate.
std::int32_t IntervalsBetween(const LoggerDateTime& start, const LoggerDateTime& stop,
                              const BaseInterval& interval);

// Shares `memoryCapacity` among the enabled channels in proportion to their acquisition
// rates, one acquisition per enabled channel reserved, with the single-precision rounding of
// the ratios. An enabled channel's multiplier of 0 is set to 1 in the program. Fills
// `plannedCount` and returns its sum.
std::int32_t DistributeMemory(LoggerConfig& config, PlannedCounts& plannedCount);

// Runs DistributeMemory and returns the largest planned count, 0 when no channel is enabled.
std::int32_t MaxPlannedCount(LoggerConfig& config, PlannedCounts& plannedCount);

// Acquisitions made in `intervals` base intervals: the sum over the enabled channels of
// intervals div multiplier, a multiplier of 0 counting as 1.
std::int32_t PlannedAcquisitions(const LoggerConfig& config, std::int32_t intervals);

// One base interval as a duration (tenths as milliseconds).
Duration BaseIntervalDuration(const BaseInterval& interval);

// Running time of a program of `intervals` base intervals: one interval less than their
// number, and never less than one interval.
Duration ExpectedDuration(const BaseInterval& interval, std::int64_t intervals);

// The base interval against the minimum the logger needs for the enabled channels:
// 150 ms + 50 ms per enabled channel + 50 ms per enabled Pt100 channel (type 8).
struct MinimumIntervalCheck {
  bool passes = true;
  int minimumMilliseconds = 0;
  BaseInterval suggestion;  // the minimum rounded up to tenths; meaningful when !passes
};
MinimumIntervalCheck EvaluateMinimumInterval(const LoggerConfig& config);

// The question shown when the check fails, with the suggested interval.
std::string MinimumIntervalMessage(const BaseInterval& suggestion, const text::MessageTable& table);

// A base interval as "%02d:%02d:%02d.%01d" (hours, minutes, seconds, tenths).
std::string FormatBaseInterval(const BaseInterval& interval);

}  // namespace virelo::model
