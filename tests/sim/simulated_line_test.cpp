// The line over a real pseudo-terminal: line settings, echo, faults, pacing and the log.
#include "sim/simulated_line.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "request_frame.h"

namespace virelo::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::Request;
using Clock = std::chrono::steady_clock;

const Bytes kReadIdentity = {0x01, 0x03, 0x00, 0xC8, 0x00, 0x01, 0x05, 0xF4};
const Bytes kIdentityReply = {0x01, 0x03, 0x02, 0x00, 0x20, 0xB9, 0x9C};

// The configurator's side of the line, opened the way a serial port is: raw, with a speed and
// a parity (two stop bits without parity, one with).
class TestPort {
 public:
  TestPort(const std::string& path, int baud, int parity) {
    fd_ = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd_ < 0) return;
    termios settings{};
    tcgetattr(fd_, &settings);
    cfmakeraw(&settings);
    const speed_t speed = baud == 1200 ? B1200 : baud == 19200 ? B19200 : B9600;
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | PARODD);
    settings.c_cflag |= CLOCAL | CREAD | (parity == 0 ? CSTOPB : PARENB);
    if (parity == 1) settings.c_cflag |= PARODD;
    tcsetattr(fd_, TCSANOW, &settings);
    tcflush(fd_, TCIOFLUSH);
  }
  ~TestPort() {
    if (fd_ >= 0) close(fd_);
  }
  bool IsOpen() const { return fd_ >= 0; }

  // Sends `request` and collects bytes until `wanted` have come or `patienceMs` of silence.
  Bytes Exchange(const Bytes& request, std::size_t wanted, int patienceMs = 1000) {
    EXPECT_EQ(write(fd_, request.data(), request.size()), static_cast<ssize_t>(request.size()));
    Bytes received;
    std::uint8_t buffer[512];
    while (received.size() < wanted) {
      pollfd in{.fd = fd_, .events = POLLIN, .revents = 0};
      if (poll(&in, 1, patienceMs) <= 0) break;
      const ssize_t n = read(fd_, buffer, sizeof buffer);
      if (n <= 0) break;
      received.insert(received.end(), buffer, buffer + n);
    }
    return received;
  }

 private:
  int fd_ = -1;
};

class LineTest : public ::testing::Test {
 protected:
  void StartLine(SimOptions options) {
    line_ = std::make_unique<SimulatedLine>(std::move(options));
    std::string error;
    ASSERT_TRUE(line_->Start(&error)) << error;
  }
  std::vector<FrameRecord> ReceivedRecords() const {
    std::vector<FrameRecord> received;
    for (auto& record : line_->Records()) {
      if (record.received) received.push_back(record);
    }
    return received;
  }

  std::unique_ptr<SimulatedLine> line_;
};

TEST_F(LineTest, AnswersOverTheTerminalAndCanBeOpenedAgain) {
  StartLine({});
  {
    TestPort port(line_->DevicePath(), 9600, 0);
    ASSERT_TRUE(port.IsOpen());
    EXPECT_EQ(port.Exchange(kReadIdentity, 7), kIdentityReply);
  }
  TestPort again(line_->DevicePath(), 9600, 0);
  ASSERT_TRUE(again.IsOpen());
  EXPECT_EQ(again.Exchange(kReadIdentity, 7), kIdentityReply);
  EXPECT_EQ(line_->RequestsReceived(), 2);

  const auto records = line_->Records();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_TRUE(records[0].received);
  EXPECT_EQ(records[0].bytes, kReadIdentity);
  EXPECT_EQ(records[0].action, "read 200 x1");
  EXPECT_EQ(records[0].requestNumber, 1);
  EXPECT_FALSE(records[1].received);
  EXPECT_EQ(records[1].bytes, kIdentityReply);
  EXPECT_EQ(records[3].requestNumber, 2);
}

TEST_F(LineTest, IgnoresFramesAtOtherLineSettings) {
  StartLine({});
  struct Case {
    int baud;
    int parity;
    const char* action;
  };
  const Case cases[] = {{19200, 2, "ignored: line 19200 even, logger 9600 none"},
                        {9600, 1, "ignored: line 9600 odd, logger 9600 none"},
                        {9600, 2, "ignored: line 9600 even, logger 9600 none"}};
  for (const Case& c : cases) {
    line_->ClearRecords();
    TestPort port(line_->DevicePath(), c.baud, c.parity);
    EXPECT_TRUE(port.Exchange(kReadIdentity, 7, 60).empty()) << c.action;
    const auto received = ReceivedRecords();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].action, c.action);
  }
  TestPort right(line_->DevicePath(), 9600, 0);
  EXPECT_EQ(right.Exchange(kReadIdentity, 7), kIdentityReply);
}

TEST_F(LineTest, EchoesEveryRequestBeforeTheReplyAndEvenWhenNobodyAnswers) {
  StartLine({.echo = true});
  TestPort port(line_->DevicePath(), 9600, 0);
  Bytes expected = kReadIdentity;
  expected.insert(expected.end(), kIdentityReply.begin(), kIdentityReply.end());
  EXPECT_EQ(port.Exchange(kReadIdentity, 15), expected);

  const Bytes toNobody = Request(9, 3, 200, 1);
  EXPECT_EQ(port.Exchange(toNobody, 15, 60), toNobody);
}

TEST_F(LineTest, TakesNewSpeedAfterReplyingToItsWrite) {
  StartLine({});
  {
    TestPort old(line_->DevicePath(), 9600, 0);
    const Bytes write = Request(1, 6, 187, 4);
    EXPECT_EQ(old.Exchange(write, 8), write) << "the reply goes out at the old speed";
    EXPECT_TRUE(old.Exchange(kReadIdentity, 7, 60).empty());
  }
  EXPECT_EQ(line_->BaudRate(0), 19200);
  TestPort fast(line_->DevicePath(), 19200, 0);
  EXPECT_EQ(fast.Exchange(kReadIdentity, 7), kIdentityReply);
}

TEST_F(LineTest, InjectedFaultsDamageTheRepliesTheyAreMeantFor) {
  StartLine({.faults = {{1, FaultKind::Silent},
                        {2, FaultKind::BadCrc},
                        {3, FaultKind::WrongAddress},
                        {4, FaultKind::Short},
                        {5, FaultKind::Noise},
                        {6, FaultKind::Exception}}});
  TestPort port(line_->DevicePath(), 9600, 0);
  EXPECT_TRUE(port.Exchange(kReadIdentity, 7, 60).empty()) << "silent";

  const Bytes badCrc = port.Exchange(kReadIdentity, 7);
  ASSERT_EQ(badCrc.size(), 7u);
  EXPECT_EQ((Bytes{badCrc.begin(), badCrc.end() - 2}),
            (Bytes{kIdentityReply.begin(), kIdentityReply.end() - 2}));
  EXPECT_FALSE(link::HasValidCrc(badCrc));

  const Bytes wrongAddress = port.Exchange(kReadIdentity, 7);
  ASSERT_EQ(wrongAddress.size(), 7u);
  EXPECT_EQ(wrongAddress[0], 2);
  EXPECT_TRUE(link::HasValidCrc(wrongAddress));

  EXPECT_EQ(port.Exchange(kReadIdentity, 7, 300),
            (Bytes{kIdentityReply.begin(), kIdentityReply.end() - 2}));

  const Bytes noise = port.Exchange(kReadIdentity, 7);
  EXPECT_EQ(noise.size(), 7u);
  EXPECT_FALSE(link::HasValidCrc(noise));

  // An exception fault is the logger not acting: the write does not take effect.
  const Bytes exception = port.Exchange(Request(1, 6, 26, 999), 5);
  ASSERT_EQ(exception.size(), 5u);
  EXPECT_EQ((Bytes{exception.begin(), exception.begin() + 3}), (Bytes{0x01, 0x86, 0x04}));
  EXPECT_TRUE(link::HasValidCrc(exception));
  EXPECT_NE(line_->Register(0, 26), 999);

  EXPECT_EQ(port.Exchange(kReadIdentity, 7), kIdentityReply) << "request 7 is healthy";
  EXPECT_EQ(ReceivedRecords()[3].action, "fault short: read 200 x1");
}

TEST_F(LineTest, DropsAFrameWithABadCrcAndAnswersTheNextAfterASilence) {
  StartLine({});
  TestPort port(line_->DevicePath(), 9600, 0);
  Bytes garbled = kReadIdentity;
  garbled[7] ^= 0x01;
  EXPECT_TRUE(port.Exchange(garbled, 7, 30).empty());
  EXPECT_EQ(port.Exchange(kReadIdentity, 7), kIdentityReply);
  const auto received = ReceivedRecords();
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].action, "dropped: bad crc");
}

TEST_F(LineTest, PacedRepliesTakeTheirTimeOnTheWire) {
  StartLine({.baudRate = 1200, .pace = true});
  TestPort port(line_->DevicePath(), 1200, 0);
  const auto start = Clock::now();
  EXPECT_EQ(port.Exchange(kReadIdentity, 7), kIdentityReply);
  // 8 request and 7 reply characters of 11 bits at 1200 bit/s, plus the 2 ms delay.
  const double elapsedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  EXPECT_GE(elapsedMs, 15 * 11 * 1000.0 / 1200 + 2 - 1);
}

TEST_F(LineTest, WritesEveryFrameToTheJsonLog) {
  const std::string path = ::testing::TempDir() + "virelo_sim_log.jsonl";
  StartLine({.logPath = path});
  {
    TestPort port(line_->DevicePath(), 9600, 0);
    EXPECT_EQ(port.Exchange(kReadIdentity, 7), kIdentityReply);
  }
  line_->Stop();
  std::ifstream file(path);
  std::string rx;
  std::string tx;
  std::getline(file, rx);
  std::getline(file, tx);
  EXPECT_TRUE(rx.starts_with("{\"t\":")) << rx;
  EXPECT_NE(rx.find(R"("dir":"rx","bytes":"01 03 00 C8 00 01 05 F4","request":1,)"
                    R"("action":"read 200 x1"})"),
            std::string::npos)
      << rx;
  EXPECT_NE(tx.find(R"("dir":"tx","bytes":"01 03 02 00 20 B9 9C","request":1,"action":"reply"})"),
            std::string::npos)
      << tx;
  std::remove(path.c_str());
}

TEST_F(LineTest, SeveralLoggersAnswerAtTheirOwnAddressesAndNoneAtZero) {
  StartLine({.address = 5, .loggers = 3});
  TestPort port(line_->DevicePath(), 9600, 0);
  for (const std::uint8_t address : {5, 6, 7}) {
    const Bytes reply = port.Exchange(Request(address, 3, 186, 1), 7);
    ASSERT_EQ(reply.size(), 7u);
    EXPECT_EQ(reply[0], address);
    EXPECT_EQ(reply[4], address);
  }
  EXPECT_TRUE(port.Exchange(Request(0, 3, 200, 1), 7, 60).empty());
  EXPECT_TRUE(port.Exchange(Request(8, 3, 200, 1), 7, 60).empty());
}

}  // namespace
}  // namespace virelo::sim
