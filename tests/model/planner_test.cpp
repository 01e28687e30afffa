#include "model/planner.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "model/duration.h"
#include "text/message_table.h"

namespace virelo::model {
namespace {

LoggerConfig ConfigWithChannels(std::initializer_list<int> multipliers, std::int32_t memory) {
  LoggerConfig config;
  int c = 0;
  for (int multiplier : multipliers) {
    config.channels[static_cast<std::size_t>(c)].enabled = true;
    config.program.multiplier[static_cast<std::size_t>(c)] = static_cast<std::int16_t>(multiplier);
    ++c;
  }
  config.program.memoryCapacity = memory;
  return config;
}

TEST(DistributeMemory, SharesByRateWithSinglePrecisionRatios) {
  LoggerConfig config = ConfigWithChannels({1, 3}, 1000);
  PlannedCounts planned{};
  EXPECT_EQ(DistributeMemory(config, planned), 999);
  EXPECT_EQ(planned, (PlannedCounts{749, 250, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(MaxPlannedCount(config, planned), 749);

  LoggerConfig eight = ConfigWithChannels({1, 1, 1, 1, 1, 1, 1, 1}, 1000);
  DistributeMemory(eight, planned);
  EXPECT_EQ(planned, (PlannedCounts{125, 125, 125, 125, 125, 125, 125, 125}));

  LoggerConfig two = ConfigWithChannels({1, 1}, 600);
  EXPECT_EQ(MaxPlannedCount(two, planned), 300);
}

TEST(DistributeMemory, LeavesDisabledChannelsOutAndRepairsZeroMultipliers) {
  LoggerConfig none = ConfigWithChannels({}, 1000);
  PlannedCounts planned;
  planned.fill(7);
  EXPECT_EQ(DistributeMemory(none, planned), 0);
  EXPECT_EQ(planned, PlannedCounts{});
  EXPECT_EQ(MaxPlannedCount(none, planned), 0);

  LoggerConfig config = ConfigWithChannels({0, 2}, 101);
  config.channels[1].enabled = false;
  config.program.multiplier[2] = 0;  // disabled: left as it is
  DistributeMemory(config, planned);
  EXPECT_EQ(config.program.multiplier[0], 1);
  EXPECT_EQ(config.program.multiplier[2], 0);
  // The sum is taken before the repair: 0, so the only enabled channel has ratio 0.
  EXPECT_EQ(planned[0], 0);

  LoggerConfig huge = ConfigWithChannels({1}, 2147483647);
  EXPECT_EQ(DistributeMemory(huge, planned), 2147483647);
}

TEST(IntervalsBetween, CountsBothEndsOfTheSpan) {
  const LoggerDateTime start{0, 0, 12, 1, 3, 27};
  LoggerDateTime stop = start;
  const BaseInterval oneSecond{0, 1, 0, 0};
  EXPECT_EQ(IntervalsBetween(start, start, oneSecond), 1);
  stop.second = 1;
  EXPECT_EQ(IntervalsBetween(start, stop, oneSecond), 2);
  EXPECT_EQ(IntervalsBetween(stop, start, oneSecond), 0);
  EXPECT_EQ(IntervalsBetween(start, stop, BaseInterval{}), 0);

  const BaseInterval halfDay{0, 0, 0, 12};
  stop = start;
  stop.month = 3;
  stop.day = 31;  // 30 days later
  EXPECT_EQ(IntervalsBetween(start, stop, halfDay), 61);
  stop.day = 32;  // one day later, past the end of the month
  EXPECT_EQ(IntervalsBetween(start, stop, halfDay), 63);
  EXPECT_EQ(IntervalsBetween(start, LoggerDateTime{0, 0, 12, 1, 4, 27}, halfDay), 63);

  // 31 April counts as 1 May.
  EXPECT_EQ(IntervalsBetween(LoggerDateTime{0, 0, 0, 31, 4, 27}, LoggerDateTime{0, 0, 0, 1, 5, 27},
                             oneSecond),
            1);
  // Across the leap day of 2028.
  EXPECT_EQ(IntervalsBetween(LoggerDateTime{0, 0, 0, 28, 2, 30}, LoggerDateTime{0, 0, 0, 1, 3, 30},
                             BaseInterval{0, 0, 0, 1}),
            49);
  // Thirty years at a tenth of a second do not fit 32 bits.
  EXPECT_EQ(IntervalsBetween(LoggerDateTime{0, 0, 0, 1, 1, 0}, LoggerDateTime{0, 0, 0, 1, 1, 30},
                             BaseInterval{1, 0, 0, 0}),
            2147483647);
}

TEST(PlannedAcquisitions, DividesTheIntervalsByEachMultiplier) {
  LoggerConfig config = ConfigWithChannels({1, 3, 0}, 0);
  EXPECT_EQ(PlannedAcquisitions(config, 10), 10 + 3 + 10);
  EXPECT_EQ(PlannedAcquisitions(config, 0), 0);
  EXPECT_EQ(config.program.multiplier[2], 0);
}

TEST(Duration, AddsFieldByFieldWithOneCarryEach) {
  Duration sum{0, 0, 30, 23, 59, 59, 900};
  AddDuration(sum, Duration{0, 0, 0, 0, 0, 0, 100});
  EXPECT_EQ(sum, (Duration{0, 1, 1, 0, 0, 0, 0}));  // month counter 0 has 30 days

  Duration months{0, 12, 0, 0, 0, 0, 0};
  AddDuration(months, Duration{0, 1, 0, 0, 0, 0, 0});
  EXPECT_EQ(months, (Duration{1, 1, 0, 0, 0, 0, 0}));

  EXPECT_EQ(DaysInMonth(0, 1), 30);
  EXPECT_EQ(DaysInMonth(1, 1), 31);
  EXPECT_EQ(DaysInMonth(2, 1), 28);
  EXPECT_EQ(DaysInMonth(2, 0), 29);
  EXPECT_EQ(DaysInMonth(2, 8), 29);
  EXPECT_EQ(DaysInMonth(12, 3), 31);
}

TEST(Duration, ExpectedTimeOfAProgram) {
  const text::MessageTable& table = text::BuiltInTable();
  struct Case {
    BaseInterval interval;
    std::int64_t intervals;
    const char* text;
  };
  const Case cases[] = {
      {{0, 1, 0, 0}, 10, "00:00:09.0"},
      {{0, 0, 0, 1}, 49, "2 Dias 00:00:00.0"},
      {{0, 0, 0, 12}, 122, "1 Meses 30 Dias 12:00:00.0"},
      {{0, 0, 0, 12}, 61, "30 Dias 00:00:00.0"},
      {{0, 0, 0, 12}, 63, "1 Meses 1 Dias 00:00:00.0"},
      {{5, 2, 0, 0}, 0, "00:00:02.5"},  // never less than one interval
      {{5, 2, 0, 0}, 2, "00:00:02.5"},
      // 800 days: 30 in the first month counter, then a leap year, a common year, 39 days.
      {{0, 0, 0, 12}, 2 * 800 + 1, "2 Anos 2 Meses 8 Dias 00:00:00.0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDuration(ExpectedDuration(c.interval, c.intervals), table), c.text)
        << c.intervals;
  }
}

Duration MultiplyStepByStep(const Duration& step, std::int64_t count) {
  Duration sum = step;
  for (std::int64_t i = 1; i < count; ++i) AddDuration(sum, step);
  return sum;
}

TEST(Duration, MultiplyGivesTheSameAsRepeatedAddition) {
  const Duration steps[] = {
      {0, 0, 0, 0, 0, 1, 0},     {0, 0, 0, 23, 59, 59, 900}, {0, 0, 0, 12, 0, 0, 0},
      {0, 0, 0, 7, 13, 41, 300}, {0, 0, 1, 0, 0, 0, 0},      {0, 0, 0, 30, 0, 0, 0},
  };
  for (const Duration& step : steps) {
    for (std::int64_t count : {1, 2, 3, 31, 365, 1000, 5000, 100000}) {
      EXPECT_EQ(MultiplyDuration(step, count), MultiplyStepByStep(step, count))
          << step.hours << ":" << step.minutes << " x " << count;
    }
  }
}

TEST(Duration, MultiplyHandlesTheWholeRangeOfCounts) {
  // The memory of a large logger at one acquisition every 23:59:59.9.
  const Duration result = MultiplyDuration(Duration{0, 0, 0, 23, 59, 59, 900}, 2147483647);
  EXPECT_LT(result.days, 32);
  EXPECT_LE(result.months, 12);
}

TEST(MinimumInterval, SuggestsTheMinimumRoundedUpToTenths) {
  struct Case {
    int enabled;
    int pt100;
    BaseInterval interval;
    bool passes;
    int minimum;
    BaseInterval suggestion;
  };
  const Case cases[] = {
      {2, 2, {2, 0, 0, 0}, false, 350, {4, 0, 0, 0}},
      {8, 8, {9, 0, 0, 0}, false, 950, {0, 1, 0, 0}},
      {1, 0, {2, 0, 0, 0}, true, 200, {2, 0, 0, 0}},
      {0, 0, {1, 0, 0, 0}, false, 150, {2, 0, 0, 0}},
      {8, 0, {0, 0, 1, 0}, true, 550, {6, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    LoggerConfig config;
    for (int i = 0; i < c.enabled; ++i) {
      config.channels[static_cast<std::size_t>(i)].enabled = true;
      config.channels[static_cast<std::size_t>(i)].inputType = i < c.pt100 ? kPt100 : 1;
    }
    // A disabled Pt100 channel needs no time.
    if (c.enabled < 8) config.channels[7].inputType = kPt100;
    config.program.baseInterval = c.interval;
    const MinimumIntervalCheck check = EvaluateMinimumInterval(config);
    EXPECT_EQ(check.passes, c.passes) << c.minimum;
    EXPECT_EQ(check.minimumMilliseconds, c.minimum);
    EXPECT_EQ(check.suggestion, c.suggestion) << c.minimum;
  }

  LoggerConfig current = ConfigWithChannels({1}, 0);
  current.channels[0].inputType = kPt100Current;  // type 17 needs no extra time
  EXPECT_EQ(EvaluateMinimumInterval(current).minimumMilliseconds, 200);

  EXPECT_EQ(MinimumIntervalMessage(BaseInterval{4, 0, 0, 0}, text::BuiltInTable()),
            "Intervalo Base de Aquisições definido é inferior ao intervalo mínimo sugerido para "
            "esta configuração de Canais\n\n Intervalo Base sugerido:  00:00:00.4 \n\n Utilizar "
            "intervalo sugerido ?\n");
}

}  // namespace
}  // namespace virelo::model
