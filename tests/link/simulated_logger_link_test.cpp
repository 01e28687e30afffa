// The link against the simulated logger over a real pseudo-terminal: the bytes on the wire,
// plain and echoing lines, faults and their statuses, retries seen from the logger's side.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/register_ops.h"
#include "link/serial_link.h"
#include "sim/simulated_line.h"

namespace virelo::link {
namespace {

using Bytes = std::vector<std::uint8_t>;
using sim::Fault;
using sim::FaultKind;
using sim::SimOptions;

struct Traffic {
  std::vector<Bytes> sent;
  std::vector<Bytes> received;
};

class SimLinkTest : public ::testing::Test {
 protected:
  void StartLogger(SimOptions options) {
    line = std::make_unique<sim::SimulatedLine>(options);
    std::string error;
    ASSERT_TRUE(line->Start(&error)) << error;
    link.portName = line->DevicePath();
    link.baudRate = options.baudRate;
    link.parity = static_cast<std::int16_t>(options.parity);
    link.stopBits = options.parity == 0 ? 2 : 0;
    link.slaveAddress = static_cast<std::int16_t>(options.address);
    link.trace = [this](bool sent, std::span<const std::uint8_t> bytes) {
      (sent ? traffic.sent : traffic.received).emplace_back(bytes.begin(), bytes.end());
    };
    link.pause = [this](int ms) { pauses.push_back(ms); };
    ASSERT_FALSE(link.OpenPort());
  }

  static SimOptions Options(bool echo) {
    SimOptions options;
    options.echo = echo;
    options.replyDelayMs = 1;
    return options;
  }

  // Requests the logger received, in order, as the simulator logged them.
  std::vector<Bytes> RequestsSeen() const {
    std::vector<Bytes> requests;
    for (const auto& record : line->Records()) {
      if (record.received) requests.push_back(record.bytes);
    }
    return requests;
  }

  std::unique_ptr<sim::SimulatedLine> line;
  SerialLink link;
  Traffic traffic;
  std::vector<int> pauses;
};

const Bytes kRead200 = {0x01, 0x03, 0x00, 0xC8, 0x00, 0x01, 0x05, 0xF4};
const Bytes kReply200 = {0x01, 0x03, 0x02, 0x00, 0x20, 0xB9, 0x9C};

TEST_F(SimLinkTest, WorkedExamplesOnAnEchoingLine) {
  StartLogger(Options(true));
  std::int16_t word = 0;
  ASSERT_EQ(ReadRegister(link, 200, &word), LinkStatus::Ok);
  EXPECT_EQ(word, 32);
  ASSERT_EQ(traffic.sent.size(), 1u);
  EXPECT_EQ(traffic.sent[0], kRead200);
  Bytes echoAndReply = kRead200;
  echoAndReply.insert(echoAndReply.end(), kReply200.begin(), kReply200.end());
  EXPECT_EQ(traffic.received[0], echoAndReply);
  EXPECT_EQ(Bytes(link.rxBuffer.begin(), link.rxBuffer.begin() + 7), kReply200);

  traffic = {};
  RegisterImage image{};
  ASSERT_EQ(ReadRegisterImage(link, image), LinkStatus::Ok);
  ASSERT_EQ(traffic.sent.size(), 2u);
  EXPECT_EQ(traffic.sent[0], (Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x7D, 0x85, 0xEB}));
  EXPECT_EQ(traffic.sent[1], (Bytes{0x01, 0x03, 0x00, 0x7D, 0x00, 0x4C, 0xD4, 0x27}));
  EXPECT_EQ(traffic.received[0].size(), 263u);
  EXPECT_EQ(traffic.received[1].size(), 165u);
  EXPECT_EQ(image[200], 32);
  EXPECT_EQ(image[199], line->Register(0, 199));

  traffic = {};
  std::int16_t offset = 0;
  ASSERT_EQ(ReadOffset(link, 8, &offset), LinkStatus::Ok);
  EXPECT_EQ(traffic.sent[0], (Bytes{0x01, 0x70, 0x00, 0x08, 0x00, 0x00, 0xC1, 0xC3}));
  EXPECT_EQ(offset, line->OffsetWord(0, 8));
}

TEST_F(SimLinkTest, PlainLineReceivesExactlyTheReply) {
  StartLogger(Options(false));
  std::int16_t word = 0;
  ASSERT_EQ(ReadRegister(link, 200, &word), LinkStatus::Ok);
  EXPECT_EQ(word, 32);
  EXPECT_EQ(traffic.received[0], kReply200);
  ASSERT_EQ(WriteRegister(link, 52, 7), LinkStatus::Ok);
  EXPECT_EQ(line->Register(0, 52), 7);
}

TEST_F(SimLinkTest, OffsetWordsWriteAndReadBack) {
  for (const bool echo : {false, true}) {
    SCOPED_TRACE(echo ? "echoing line" : "plain line");
    StartLogger(Options(echo));
    ASSERT_EQ(WriteOffset(link, 9, -123), LinkStatus::Ok);
    EXPECT_EQ(line->OffsetWord(0, 9), -123);
    std::int16_t value = 0;
    ASSERT_EQ(ReadOffset(link, 9, &value), LinkStatus::Ok);
    EXPECT_EQ(value, -123);
    link.ClosePort();
  }
}

// One exchange, one injected fault: the status the engine must give on each kind of line.
struct FaultCase {
  FaultKind kind;
  bool echo;
  LinkStatus expected;
};

class FaultStatusTest : public SimLinkTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FaultStatusTest, SingleReadGivesStatus) {
  const FaultCase& c = GetParam();
  SimOptions options = Options(c.echo);
  options.faults = {Fault{1, c.kind}};
  StartLogger(options);
  std::int16_t word = 1234;
  link.functionCode = ReadHoldingRegisters;
  link.registerAddress = 200;
  link.registerCount = 1;
  link.destination = &word;
  EXPECT_TRUE(link.Transact());
  EXPECT_EQ(link.status, c.expected);
  EXPECT_EQ(word, 1234);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultStatusTest,
    ::testing::Values(FaultCase{FaultKind::Silent, false, LinkStatus::Timeout},
                      FaultCase{FaultKind::Short, false, LinkStatus::Timeout},
                      FaultCase{FaultKind::Exception, false, LinkStatus::Timeout},
                      FaultCase{FaultKind::BadCrc, false, LinkStatus::CrcError},
                      FaultCase{FaultKind::WrongAddress, false, LinkStatus::WrongAddress},
                      // On an echoing line a missing reply leaves the
                      // echo's tail, whose byte count is 200.
                      FaultCase{FaultKind::Silent, true, LinkStatus::Timeout},
                      FaultCase{FaultKind::BadCrc, true, LinkStatus::CrcError},
                      FaultCase{FaultKind::WrongAddress, true, LinkStatus::WrongAddress}));

TEST_F(SimLinkTest, EchoingLineWithoutALogger) {
  SimOptions options = Options(true);
  options.address = 7;  // nobody answers address 1
  StartLogger(options);
  link.slaveAddress = 1;
  std::int16_t word = 0;
  EXPECT_EQ(ReadRegister(link, 200, &word), LinkStatus::Timeout);
  EXPECT_EQ(ReadOffset(link, 8, &word), LinkStatus::CrcError);
  // A write succeeds on its own echo; the read-back finds nobody.
  link.functionCode = WriteSingleRegister;
  link.registerAddress = 25;
  link.writeValue = 3;
  EXPECT_FALSE(link.Transact());
  EXPECT_EQ(WriteRegister(link, 25, 3), LinkStatus::Timeout);
  EXPECT_EQ(WriteRegister(link, 2, 3), LinkStatus::CrcError);  // low byte 2 passes the count
}

TEST_F(SimLinkTest, RetriesAsTheLoggerSeesThem) {
  SimOptions options = Options(false);
  options.faults = {Fault{1, FaultKind::Silent}, Fault{2, FaultKind::BadCrc}};
  StartLogger(options);
  std::int16_t word = 0;
  EXPECT_EQ(ReadRegister(link, 200, &word), LinkStatus::Ok);
  EXPECT_EQ(word, 32);
  EXPECT_EQ(RequestsSeen(), (std::vector<Bytes>{kRead200, kRead200, kRead200}));
  EXPECT_EQ(pauses, (std::vector<int>{2, 2}));

  // Three failures in a row: three requests, and the third one's status.
  line->ClearRecords();
  pauses.clear();
  for (int n = 4; n <= 6; ++n)
    line->AddFault(Fault{n, n == 6 ? FaultKind::WrongAddress : FaultKind::Silent});
  EXPECT_EQ(ReadRegister(link, 200, &word), LinkStatus::WrongAddress);
  EXPECT_EQ(RequestsSeen().size(), 3u);
  EXPECT_EQ(pauses, (std::vector<int>{2, 2}));
}

TEST_F(SimLinkTest, WriteIsConfirmedByAReadBackOfTheSameRegister) {
  StartLogger(Options(false));
  const std::int16_t firmware = line->Register(0, 199);
  // The firmware register keeps its value; the write still counts as done.
  EXPECT_EQ(WriteRegister(link, 199, 1), LinkStatus::Ok);
  EXPECT_EQ(line->Register(0, 199), firmware);
  const auto requests = RequestsSeen();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0][1], 6);
  EXPECT_EQ(requests[1], (Bytes{0x01, 0x03, 0x00, 0xC7, 0x00, 0x01, 0x35, 0xF7}));
}

TEST_F(SimLinkTest, LoggerIgnoresAnotherSpeedOrParity) {
  struct Mismatch {
    int baudRate;
    int parity;
  };
  for (const Mismatch m : {Mismatch{19200, 0}, Mismatch{9600, 2}, Mismatch{9600, 1}}) {
    SCOPED_TRACE(std::to_string(m.baudRate) + " parity " + std::to_string(m.parity));
    StartLogger(Options(false));
    link.ClosePort();
    link.baudRate = m.baudRate;
    link.parity = static_cast<std::int16_t>(m.parity);
    link.stopBits = m.parity == 0 ? 2 : 0;
    ASSERT_FALSE(link.OpenPort());
    std::int16_t word = 0;
    EXPECT_EQ(ReadRegister(link, 200, &word), LinkStatus::Timeout);
    link.ClosePort();
  }
  SimOptions odd = Options(false);
  odd.parity = 1;
  StartLogger(odd);
  std::int16_t word = 0;
  EXPECT_EQ(ReadRegister(link, 200, &word), LinkStatus::Ok);
}

TEST_F(SimLinkTest, PortThatDoesNotExist) {
  link.portName = "/dev/does-not-exist";
  EXPECT_TRUE(link.OpenPort());
  EXPECT_FALSE(link.IsConnected());
  std::int16_t word = 0;
  EXPECT_EQ(ReadRegister(link, 200, &word), LinkStatus::PortNotConnected);
}

}  // namespace
}  // namespace virelo::link
