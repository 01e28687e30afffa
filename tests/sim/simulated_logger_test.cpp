// The logger on its own: frames in, frames out, no terminal.
#include "sim/simulated_logger.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "request_frame.h"

namespace virelo::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;
using std::chrono::seconds;
using testing::Request;

int WordAt(const Bytes& reply, std::size_t at) {
  return (reply[at] << 8) | reply[at + 1];
}

class LoggerTest : public ::testing::Test {
 protected:
  static constexpr CalendarTime kStart{
      .second = 50, .minute = 59, .hour = 23, .day = 31, .month = 12, .yearIndex = 26};

  Bytes Send(const Bytes& request, Instant at) { return logger.Handle(request, at); }
  Bytes Send(const Bytes& request) { return Send(request, t0); }
  int Read(int reg, Instant at) {
    const Bytes reply = Send(Request(1, 3, reg, 1), at);
    EXPECT_EQ(reply.size(), 7u);
    return static_cast<std::int16_t>(WordAt(reply, 3));
  }
  int Read(int reg) { return Read(reg, t0); }

  Instant t0 = std::chrono::steady_clock::now();
  SimulatedLogger logger{LoggerSetup{.address = 1, .clockStart = kStart}, t0};
};

TEST_F(LoggerTest, AnswersReadsAndWritesByteForByte) {
  EXPECT_EQ(Send({0x01, 0x03, 0x00, 0xC8, 0x00, 0x01, 0x05, 0xF4}),
            (Bytes{0x01, 0x03, 0x02, 0x00, 0x20, 0xB9, 0x9C}));

  const Bytes write = Request(1, 6, 26, 250);
  EXPECT_EQ(Send(write), write);
  EXPECT_EQ(Read(26), 250);

  // Offset word 8 is channel 1's thermocouple offset, 4.
  const Bytes offset = Send({0x01, 0x70, 0x00, 0x08, 0x00, 0x00, 0xC1, 0xC3});
  ASSERT_EQ(offset.size(), 6u);
  EXPECT_EQ((Bytes{offset.begin(), offset.begin() + 4}), (Bytes{0x01, 0x70, 0x00, 0x04}));
  EXPECT_TRUE(link::HasValidCrc(offset));

  const Bytes writeOffset = Request(1, 113, 8, 0xFFFD);
  EXPECT_EQ(Send(writeOffset), writeOffset);
  EXPECT_EQ(logger.OffsetWord(8), -3);
}

TEST_F(LoggerTest, ReadsTheWholeImageInTwoBlocks) {
  const Bytes first = Send(Request(1, 3, 0, 125));
  const Bytes second = Send(Request(1, 3, 125, 76));
  ASSERT_EQ(first.size(), 5u + 250u);
  ASSERT_EQ(second.size(), 5u + 152u);
  EXPECT_TRUE(link::HasValidCrc(first));
  EXPECT_TRUE(link::HasValidCrc(second));
  EXPECT_EQ(first[2], 250);
  std::string title;
  for (int reg = 76; reg <= 83; ++reg) {
    title += static_cast<char>(first[3 + 2 * reg]);
    title += static_cast<char>(first[4 + 2 * reg]);
  }
  EXPECT_EQ(title, "Registrador Lab1");
  EXPECT_EQ(WordAt(second, 3 + 2 * (199 - 125)), 220);
  EXPECT_EQ(WordAt(second, 3 + 2 * (200 - 125)), 32);
}

TEST_F(LoggerTest, RefusesWhatItCannotDoWithExceptionReplies) {
  struct Case {
    Bytes request;
    std::uint8_t exception;
  };
  const std::vector<Case> cases = {
      {Request(1, 0x41, 0, 1), 1},  // unknown function
      {Request(1, 3, 0, 0), 3},     // no registers
      {Request(1, 3, 0, 126), 3},   // more than 125
      {Request(1, 3, 200, 2), 2},   // beyond register 200
      {Request(1, 3, 201, 1), 2},   {Request(1, 6, 201, 1), 2},
      {Request(1, 112, 70, 0), 2},                               // beyond the offset words
      {Request(1, 113, 300, 1), 2}, {Request(1, 6, 186, 0), 3},  // address out of 1..247
      {Request(1, 6, 186, 248), 3}, {Request(1, 6, 187, 6), 3},  // no such speed code
      {Request(1, 6, 178, 3), 3},                                // no such parity
  };
  for (const Case& c : cases) {
    const Bytes reply = Send(c.request);
    SCOPED_TRACE(DescribeRequest(c.request));
    ASSERT_EQ(reply.size(), 5u);
    EXPECT_EQ(reply[0], 1);
    EXPECT_EQ(reply[1], c.request[1] | 0x80);
    EXPECT_EQ(reply[2], c.exception);
    EXPECT_TRUE(link::HasValidCrc(reply));
  }
  EXPECT_EQ(logger.Address(), 1);
  EXPECT_EQ(logger.BaudRate(), 9600);
}

TEST_F(LoggerTest, ReadOnlyRegistersAcknowledgeWritesAndKeepTheirValue) {
  for (const int reg : {9, 180, 196, 197, 199, 200}) {
    const int before = Read(reg);
    const Bytes write = Request(1, 6, reg, 0x1234);
    EXPECT_EQ(Send(write), write) << reg;
    EXPECT_EQ(Read(reg), before) << reg;
  }
}

TEST_F(LoggerTest, ChangesAddressSpeedAndParityOnlyAfterItsReply) {
  const Bytes reply = Send(Request(1, 6, 186, 7));
  EXPECT_EQ(reply[0], 1);
  Send(Request(1, 6, 187, 4));
  Send(Request(1, 6, 178, 2));
  EXPECT_EQ(logger.Address(), 1);
  EXPECT_EQ(logger.BaudRate(), 9600);
  EXPECT_EQ(logger.Parity(), 0);
  EXPECT_TRUE(logger.Answers(1, false));

  logger.CommitLineChanges();
  EXPECT_EQ(logger.Address(), 7);
  EXPECT_EQ(logger.BaudRate(), 19200);
  EXPECT_EQ(logger.Parity(), 2);
  EXPECT_FALSE(logger.Answers(1, false));
  EXPECT_TRUE(logger.Answers(7, false));
  EXPECT_EQ(Read(186), 7);
  EXPECT_EQ(Read(187), 4);
  EXPECT_EQ(Read(178), 2);
}

TEST_F(LoggerTest, AnswersAddressZeroOnlyWhenAloneWithZeroInItsReply) {
  EXPECT_TRUE(logger.Answers(0, true));
  EXPECT_FALSE(logger.Answers(0, false));
  EXPECT_FALSE(logger.Answers(2, true));
  const Bytes reply = Send(Request(0, 3, 186, 1));
  ASSERT_EQ(reply.size(), 7u);
  EXPECT_EQ(reply[0], 0);
  EXPECT_EQ(WordAt(reply, 3), 1);
  EXPECT_TRUE(link::HasValidCrc(reply));
}

TEST_F(LoggerTest, StartAndStopCommandsDriveStatusAndAcquisitionCount) {
  auto count = [&](Instant at) { return (Read(182, at) << 16) | (Read(195, at) & 0xFFFF); };
  EXPECT_NE(Read(9) & 0x08, 0) << "logging at start";
  const int atStart = count(t0);
  EXPECT_GT(count(t0 + seconds(20)), atStart);

  Send(Request(1, 6, 49, 0), t0 + seconds(20));
  const int stopped = count(t0 + seconds(20));
  EXPECT_EQ(Read(9, t0 + seconds(21)) & 0x08, 0);
  EXPECT_EQ(count(t0 + seconds(600)), stopped);
  EXPECT_EQ(Read(49, t0 + seconds(21)), 0);

  Send(Request(1, 6, 49, 15), t0 + seconds(600));
  EXPECT_NE(Read(9, t0 + seconds(601)) & 0x08, 0);
  // Base interval 2 s; channels 0, 1 every interval, 2 every second, 3 and 4 every fifth,
  // 5 every tenth; 6 and 7 are off: 10 intervals make 10 + 10 + 5 + 2 + 2 + 1 = 30.
  EXPECT_EQ(count(t0 + seconds(620)), stopped + 30);
}

TEST_F(LoggerTest, LoggingStopsWithAFullMemory) {
  logger.SetRegister(195, static_cast<std::int16_t>(0xFFF0), t0);  // 65520 of 65536
  EXPECT_NE(Read(9) & 0x08, 0);
  const Instant later = t0 + seconds(3600);
  EXPECT_EQ((Read(182, later) << 16) | (Read(195, later) & 0xFFFF), 65536);
  EXPECT_EQ(Read(9, later) & 0x0C, 0x04) << "memory full, logging ended";
}

TEST_F(LoggerTest, ClockRunsFromItsSettingAndTakesWrites) {
  auto clock = [&](Instant at) {
    return std::vector<int>{Read(14, at), Read(15, at), Read(16, at)};
  };
  EXPECT_EQ(clock(t0), (std::vector<int>{(50 << 8) | 59, (23 << 8) | 31, (12 << 8) | 26}));
  // Eleven seconds later it is a new year.
  EXPECT_EQ(clock(t0 + seconds(11)), (std::vector<int>{(1 << 8) | 0, (0 << 8) | 1, (1 << 8) | 27}));

  const Instant set = t0 + seconds(100);
  Send(Request(1, 6, 14, (30 << 8) | 15), set);
  Send(Request(1, 6, 15, (9 << 8) | 28), set);
  Send(Request(1, 6, 16, (2 << 8) | 30), set);  // 28/02/2028 09:15:30
  EXPECT_EQ(clock(set + seconds(86400)),
            (std::vector<int>{(30 << 8) | 15, (9 << 8) | 29, (2 << 8) | 30}))
      << "2028 is a leap year";
}

TEST_F(LoggerTest, ReadingsStayInRangeAndAlarmsFollowTheSetPoints) {
  int highAlarms = 0;
  int quietTimes = 0;
  for (int s = 0; s < 600; s += 3) {
    const Instant at = t0 + seconds(s);
    const Bytes live = Send(Request(1, 3, 0, 9), at);
    ASSERT_EQ(live.size(), 23u);
    auto reading = [&](int c) { return static_cast<std::int16_t>(WordAt(live, 3 + 2 * c)); };
    const int flags = WordAt(live, 3 + 16);
    // Channel 0: thermocouple J near 180 degrees, high alarm at 190.
    EXPECT_GE(reading(0), 150);
    EXPECT_LE(reading(0), 210);
    EXPECT_EQ((flags >> 1) & 1, reading(0) > 190 ? 1 : 0) << s;
    // Channel 1: K in tenths with a low alarm at 62 whole degrees.
    EXPECT_EQ(flags & 0x04, reading(1) / 10 < 62 ? 0x04 : 0) << s;
    // Channel 3: linear 0..1000 (plus a small offset).
    EXPECT_GE(reading(3), -10);
    EXPECT_LE(reading(3), 1010);
    // Channels 6 and 7 are off and raise no alarm.
    EXPECT_EQ(flags & 0xF000, 0);
    highAlarms += (flags >> 1) & 1;
    quietTimes += ((flags >> 1) & 1) == 0;
  }
  EXPECT_GT(highAlarms, 0) << "the reading moves across the set point";
  EXPECT_GT(quietTimes, 0);
}

TEST_F(LoggerTest, PinnedLiveRegisterHoldsItsValue) {
  logger.SetRegister(2, 123, t0);
  EXPECT_EQ(Read(2, t0 + seconds(45)), 123);
  EXPECT_EQ(Read(2, t0 + seconds(90)), 123);
}

}  // namespace
}  // namespace virelo::sim
