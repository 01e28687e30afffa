// The exchange itself, on a scripted line: request bytes, the order of the reply checks and
// when a read may end at the reply's last byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "fake_serial_port.h"
#include "link/crc.h"
#include "link/register_ops.h"
#include "link/serial_link.h"

namespace virelo::link {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::FakeLine;
using testing::FakePortFactory;

Bytes WithCrc(Bytes frame) {
  const std::uint16_t crc = Crc16(frame);
  frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
  frame.push_back(static_cast<std::uint8_t>(crc >> 8));
  return frame;
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class TransactTest : public ::testing::Test {
 protected:
  TransactTest() : link(FakePortFactory(line)) {
    link.portName = "fake";
    link.pause = [this](int ms) { pauses.push_back(ms); };
  }

  void Open() { ASSERT_FALSE(link.OpenPort()); }

  void SetRead(int first, int count) {
    link.functionCode = ReadHoldingRegisters;
    link.registerAddress = first;
    link.registerCount = count;
    link.destination = words;
  }

  void SetWrite(int code, int reg, int value) {
    link.functionCode = code;
    link.registerAddress = reg;
    link.writeValue = value;
  }

  std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
  SerialLink link;
  std::int16_t words[125] = {};
  std::vector<int> pauses;
};

TEST(CrcTest, WorkedExamples) {
  EXPECT_EQ(WithCrc({0x01, 0x03, 0x00, 0xC8, 0x00, 0x01}),
            (Bytes{0x01, 0x03, 0x00, 0xC8, 0x00, 0x01, 0x05, 0xF4}));
  EXPECT_EQ(WithCrc({0x01, 0x03, 0x00, 0x00, 0x00, 0x7D}),
            (Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x7D, 0x85, 0xEB}));
  EXPECT_EQ(WithCrc({0x01, 0x03, 0x00, 0x7D, 0x00, 0x4C}),
            (Bytes{0x01, 0x03, 0x00, 0x7D, 0x00, 0x4C, 0xD4, 0x27}));
  EXPECT_EQ(WithCrc({0x01, 0x70, 0x00, 0x08, 0x00, 0x00}),
            (Bytes{0x01, 0x70, 0x00, 0x08, 0x00, 0x00, 0xC1, 0xC3}));
}

TEST_F(TransactTest, RequestBytesByFunctionCode) {
  Open();
  SetRead(200, 1);
  link.Transact();
  SetWrite(WriteSingleRegister, 25, -2);
  link.Transact();
  link.functionCode = ReadOffsetWord;
  link.registerAddress = 8;
  link.Transact();
  SetWrite(WriteOffsetWord, 0x0102, 0x1FFFF);  // only the low 16 bits go on the wire
  link.Transact();
  ASSERT_EQ(line->written.size(), 4u);
  EXPECT_EQ(line->written[0], WithCrc({0x01, 0x03, 0x00, 0xC8, 0x00, 0x01}));
  EXPECT_EQ(line->written[1], WithCrc({0x01, 0x06, 0x00, 0x19, 0xFF, 0xFE}));
  EXPECT_EQ(line->written[2], WithCrc({0x01, 0x70, 0x00, 0x08, 0x00, 0x00}));
  EXPECT_EQ(line->written[3], WithCrc({0x01, 0x71, 0x01, 0x02, 0xFF, 0xFF}));
}

TEST_F(TransactTest, EchoIsDroppedAndTheTailKept) {
  Open();
  SetRead(200, 1);
  const Bytes request = WithCrc({0x01, 0x03, 0x00, 0xC8, 0x00, 0x01});
  line->replies.push_back(Concat(request, {0x01, 0x03, 0x02, 0x00, 0x20, 0xB9, 0x9C}));
  EXPECT_FALSE(link.Transact());
  EXPECT_EQ(link.status, LinkStatus::Ok);
  EXPECT_EQ(words[0], 32);
  EXPECT_EQ(Bytes(link.rxBuffer.begin(), link.rxBuffer.begin() + 7),
            (Bytes{0x01, 0x03, 0x02, 0x00, 0x20, 0xB9, 0x9C}));
}

// Each row is one reply to a read of register 200 (one word) or a write of register 25 with
// the value 7, and the status it must give. The rows also fix the order of the checks.
struct ReplyCase {
  const char* name;
  int code;
  Bytes reply;
  LinkStatus expected;
};

class ReplyCheckTest : public TransactTest, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(ReplyCheckTest, GivesStatus) {
  const ReplyCase& c = GetParam();
  Open();
  if (c.code == ReadHoldingRegisters) {
    SetRead(200, 1);
  } else if (c.code == ReadOffsetWord) {
    link.functionCode = ReadOffsetWord;
    link.registerAddress = 8;
    link.destination = words;
  } else {
    SetWrite(c.code, 25, 7);
  }
  words[0] = 1234;
  line->replies.push_back(c.reply);
  EXPECT_EQ(link.Transact(), c.expected != LinkStatus::Ok);
  EXPECT_EQ(link.status, c.expected);
  if (c.expected != LinkStatus::Ok) {
    EXPECT_EQ(words[0], 1234) << "a failed exchange stored a word";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Transact, ReplyCheckTest,
    ::testing::Values(
        ReplyCase{"ReadOk", 3, WithCrc({1, 3, 2, 0, 32}), LinkStatus::Ok},
        ReplyCase{"NothingArrives", 3, {}, LinkStatus::Timeout},
        ReplyCase{"ReplyCutShort", 3, {1, 3, 2, 0, 32, 0xB9}, LinkStatus::Timeout},
        ReplyCase{"ByteCountBeforeCrc", 3, {1, 3, 4, 0, 32, 0, 0}, LinkStatus::Timeout},
        ReplyCase{"ByteCountWithGoodCrc", 3, WithCrc({1, 3, 4, 0, 32}), LinkStatus::Timeout},
        ReplyCase{"CrcBeforeAddress", 3, {9, 3, 2, 0, 32, 0, 0}, LinkStatus::CrcError},
        ReplyCase{"OtherAddress", 3, WithCrc({9, 3, 2, 0, 32}), LinkStatus::WrongAddress},
        ReplyCase{"ExceptionReplyIsShort", 3, WithCrc({1, 0x83, 2}), LinkStatus::Timeout},
        ReplyCase{"UnknownReplyCode", 3, WithCrc({1, 0x83, 2, 0, 2}), LinkStatus::InvalidCommand},
        ReplyCase{"WriteOk", 6, WithCrc({1, 6, 0, 25, 0, 7}), LinkStatus::Ok},
        ReplyCase{"WriteEchoesOtherLowRegister", 6, WithCrc({1, 6, 0, 17, 0, 7}), LinkStatus::Ok},
        ReplyCase{"WriteEchoesRegister300", 6, WithCrc({1, 6, 1, 44, 0, 7}),
                  LinkStatus::BadRegisterAddress},
        ReplyCase{"WriteEchoesOtherValue", 6, WithCrc({1, 6, 0, 25, 0, 8}),
                  LinkStatus::ValueMismatch},
        ReplyCase{"OffsetWriteEchoesOtherWord", 113, WithCrc({1, 113, 0, 26, 0, 7}),
                  LinkStatus::BadRegisterAddress},
        ReplyCase{"OffsetWriteEchoesOtherValue", 113, WithCrc({1, 113, 0, 25, 0, 9}),
                  LinkStatus::ValueMismatch},
        ReplyCase{"OffsetReadOk", 112, WithCrc({1, 112, 0x12, 0x34}), LinkStatus::Ok},
        // A reply that would store words where the request did not ask for them.
        ReplyCase{"ReadReplyToAWrite", 6, WithCrc({1, 3, 250, 0, 0, 0}),
                  LinkStatus::InvalidCommand},
        ReplyCase{
            "OffsetReplyToAWrite", 6, {1, 112, 0, 5, 0x7C, 0x04, 0, 0}, LinkStatus::CrcError}),
    [](const ::testing::TestParamInfo<ReplyCase>& info) { return std::string(info.param.name); });

TEST_F(TransactTest, OffsetWordIsStored) {
  Open();
  link.functionCode = ReadOffsetWord;
  link.registerAddress = 8;
  link.destination = words;
  line->replies.push_back(WithCrc({1, 112, 0xFF, 0xF6}));
  EXPECT_FALSE(link.Transact());
  EXPECT_EQ(words[0], -10);
}

TEST_F(TransactTest, NoPortMeansStatus9AndNothingSent) {
  SetRead(200, 1);
  EXPECT_TRUE(link.Transact());
  EXPECT_EQ(link.status, LinkStatus::PortNotConnected);
  line->opens = false;
  EXPECT_TRUE(link.OpenPort());
  EXPECT_FALSE(link.IsConnected());
  EXPECT_EQ(ReadRegister(link, 200, words), LinkStatus::PortNotConnected);
  EXPECT_TRUE(line->written.empty());
}

TEST_F(TransactTest, LineSettingsRefusedLeavesThePortOpen) {
  line->configures = false;
  EXPECT_TRUE(link.OpenPort());
  EXPECT_TRUE(link.IsConnected());
}

TEST_F(TransactTest, FailedTransmitWaitEndsTheExchange) {
  Open();
  line->drains = false;
  SetRead(200, 1);
  line->replies.push_back(WithCrc({1, 3, 2, 0, 32}));
  EXPECT_TRUE(link.Transact());
  EXPECT_EQ(link.status, LinkStatus::PortNotConnected);
}

// A read may end at the last reply byte only where the line is known not to echo.
TEST_F(TransactTest, ReadEndsAtTheReplyOnlyOnALineWithoutEcho) {
  Open();
  const Bytes readRequest = WithCrc({1, 3, 0, 200, 0, 1});
  const Bytes readReply = WithCrc({1, 3, 2, 0, 32});
  const Bytes writeReply = WithCrc({1, 6, 0, 25, 0, 7});

  SetWrite(WriteSingleRegister, 25, 7);
  line->replies.push_back(writeReply);  // nothing known yet: the write runs to the time-out
  EXPECT_FALSE(link.Transact());

  SetRead(200, 1);
  line->replies.push_back(readReply);  // the reply differs from the request: no echo
  EXPECT_FALSE(link.Transact());

  SetWrite(WriteSingleRegister, 25, 7);
  line->replies.push_back(writeReply);  // now known: the write ends at its last byte
  EXPECT_FALSE(link.Transact());

  line->replies.push_back({1, 6, 0, 25, 0, 7, 0, 0});  // a corrupted reply takes the full read
  EXPECT_TRUE(link.Transact());
  EXPECT_EQ(link.status, LinkStatus::CrcError);

  link.ClosePort();  // what the line showed is forgotten with the port
  Open();
  line->replies.push_back(writeReply);
  EXPECT_FALSE(link.Transact());

  EXPECT_EQ(line->readsEndedEarly, (std::vector<bool>{false, true, true, false, false}));

  // On an echoing line nothing ends early: the read asks for echo and reply exactly.
  line->readsEndedEarly.clear();
  SetRead(200, 1);
  line->replies.push_back(Concat(readRequest, readReply));
  EXPECT_FALSE(link.Transact());
  SetWrite(WriteSingleRegister, 25, 7);
  line->replies.push_back(Concat(writeReply, writeReply));
  EXPECT_FALSE(link.Transact());
  EXPECT_EQ(line->readsEndedEarly, (std::vector<bool>{false, false}));
}

TEST_F(TransactTest, RetriesAndPauses) {
  Open();
  const Bytes reply = WithCrc({1, 3, 2, 0, 32});
  // Three failures: three requests, two pauses of 2 ms, the status of the last try.
  line->replies = {{}, {1}, WithCrc({9, 3, 2, 0, 32})};
  EXPECT_EQ(ReadRegisters(link, 200, 1, words), LinkStatus::WrongAddress);
  EXPECT_EQ(line->written.size(), 3u);
  EXPECT_EQ(pauses, (std::vector<int>{2, 2}));

  // A write that fails three times is not read back.
  line->written.clear();
  pauses.clear();
  EXPECT_EQ(WriteRegister(link, 25, 7), LinkStatus::Timeout);
  EXPECT_EQ(line->written.size(), 3u);

  // A write, a pause, then the read-back, whose value is not compared.
  line->written.clear();
  pauses.clear();
  line->replies = {WithCrc({1, 6, 0, 25, 0, 7}), WithCrc({1, 3, 2, 0, 99})};
  EXPECT_EQ(WriteRegister(link, 25, 7), LinkStatus::Ok);
  ASSERT_EQ(line->written.size(), 2u);
  EXPECT_EQ(line->written[1], WithCrc({1, 3, 0, 25, 0, 1}));
  EXPECT_EQ(pauses, (std::vector<int>{2}));

  // Offset reads retry without pauses; an offset write is tried once.
  line->written.clear();
  pauses.clear();
  EXPECT_EQ(ReadOffset(link, 8, words), LinkStatus::Timeout);
  EXPECT_EQ(line->written.size(), 3u);
  EXPECT_EQ(WriteOffset(link, 8, 5), LinkStatus::Timeout);
  EXPECT_EQ(line->written.size(), 4u);
  EXPECT_TRUE(pauses.empty());
}

TEST_F(TransactTest, RegisterImageIsWrittenOnlyWhenBothBlocksArrive) {
  Open();
  Bytes first = {1, 3, 250};
  first.resize(3 + 250, 0);
  first = WithCrc(first);
  Bytes second = {1, 3, 152};
  second.resize(3 + 152, 0);
  second[3 + 150] = 0;
  second[3 + 151] = 32;  // register 200
  second = WithCrc(second);

  RegisterImage image{};
  image.fill(7);
  std::vector<int> positions;
  const auto progress = [&](int position) { positions.push_back(position); };

  line->replies = {{}, {}, {}};
  EXPECT_EQ(ReadRegisterImage(link, image, progress), LinkStatus::Timeout);
  EXPECT_TRUE(positions.empty());

  line->replies = {first, {}, {}, {}};
  EXPECT_EQ(ReadRegisterImage(link, image, progress), LinkStatus::Timeout);
  EXPECT_EQ(positions, (std::vector<int>{60}));
  EXPECT_EQ(image[0], 7);
  EXPECT_EQ(image[200], 7);
  EXPECT_TRUE(pauses.empty());

  positions.clear();
  line->replies = {first, second};
  EXPECT_EQ(ReadRegisterImage(link, image, progress), LinkStatus::Ok);
  EXPECT_EQ(positions, (std::vector<int>{60, 100}));
  EXPECT_EQ(image[0], 0);
  EXPECT_EQ(image[200], 32);
}

TEST(LinkStatusTextTest, NamesEveryStatus) {
  EXPECT_EQ(LinkStatusText(LinkStatus::Ok), "Sem Erro");
  EXPECT_EQ(LinkStatusText(LinkStatus::Timeout), "Time-out");
  EXPECT_EQ(LinkStatusText(LinkStatus::PortNotConnected), "Porta serial não conectada");
  EXPECT_EQ(LinkStatusText(static_cast<LinkStatus>(10)), "Reserva para comm error");
  EXPECT_EQ(LinkStatusText(static_cast<LinkStatus>(11)), "Reserva para comm error");
}

TEST(LinkSpeedTest, UnlistedSpeedsAre57600) {
  EXPECT_EQ(EffectiveBaudRate(115200), 57600);
  EXPECT_EQ(EffectiveBaudRate(0), 57600);
  EXPECT_EQ(EffectiveBaudRate(19200), 19200);
  EXPECT_EQ(ReadTimeoutsForSpeed(38400).intervalMs, 20);
  EXPECT_EQ(ReadTimeoutsForSpeed(1200).constantMs, 148);
  EXPECT_EQ(PostTransmitDelayMs(115200), 1);
  EXPECT_EQ(PostTransmitDelayMs(1200), 8);
}

}  // namespace
}  // namespace virelo::link
