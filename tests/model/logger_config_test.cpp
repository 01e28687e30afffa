#include "model/logger_config.h"

#include <gtest/gtest.h>

#include <string>

namespace virelo::model {
namespace {

using link::RegisterImage;

void Put(RegisterImage& image, int reg, unsigned word) {
  image[static_cast<std::size_t>(reg)] =
      static_cast<std::int16_t>(static_cast<std::uint16_t>(word));
}

// A small image that exercises each kind of field once.
RegisterImage FixtureImage() {
  RegisterImage image{};
  Put(image, 200, 32);
  Put(image, 8, 0x0102);   // alarm flags
  Put(image, 9, 0x8009);   // status flags, as a negative word
  Put(image, 10, 0x0A0B);  // channel status of channels 0 and 1
  Put(image, 13, 0xFF07);  // channels 6 and 7
  Put(image, 17, 0x0085);  // thermocouple R, °C, enabled, no alarms
  Put(image, 18, 0x00A5);  // thermocouple R, °F, enabled
  Put(image, 19, 0xE5D2);  // linear 4-20 mA, differential, enabled, alarm 1 low with relay 1,
                           // alarm 2 high with relays 1 and 2
  Put(image, 20, 0x001E);  // undefined code 30, disabled
  Put(image, 21, 0x0048);  // Pt100, differential
  Put(image, 25, 0x0075);  // overwrite, stop 2, start 2, relay 1 digital, relay 2 digital
  Put(image, 26 + 2 * 2, 0xFF9C);  // alarm 1 set point of channel 2: -100
  Put(image, 27 + 2 * 2, 1234);
  Put(image, 42, 0x1E0F);  // start: 30 s, 15 min
  Put(image, 43, 0x0C1F);  // 12 h, day 31
  Put(image, 44, 0x041B);  // April, 2025
  Put(image, 45, 0xFF00);  // stop second byte 0xFF
  Put(image, 48, 0x8000);
  Put(image, 179, 0x0001);  // stop after 98304 intervals
  Put(image, 50, 0x0201);   // 0.2 s + 1 s
  Put(image, 51, 0x0317);   // 3 min, 23 h
  Put(image, 52, 1);
  Put(image, 53, 0);
  Put(image, 59, 255);
  Put(image, 60, 0x1111);          // ignored: channel 0 is fixed-range
  Put(image, 60 + 2 * 2, 0xF831);  // -1999
  Put(image, 61 + 2 * 2, 9999);
  Put(image, 60 + 2 * 3, 7);  // undefined code: scale from the registers
  Put(image, 61 + 2 * 3, 8);
  Put(image, 76, 0x4100);  // title "A", ended early
  Put(image, 77, 0x4242);
  Put(image, 84, 0x5441);  // tag of channel 0: "TAG1"
  Put(image, 85, 0x4731);
  Put(image, 116 + 4 * 2, 0x6BB0);  // "k°" in Windows-1252
  Put(image, 148, 0x0305);          // filters of channels 0 and 1
  Put(image, 151, 0x0009);
  Put(image, 152, 0b1110'0100);  // decimals 0, 1, 2, 3
  Put(image, 154, 0b1000'0010);  // thermocouple decimal on channels 1 and 7
  Put(image, 177, 60);
  Put(image, 180, 0x0000);
  Put(image, 196, 0xFFFF);  // memory 65535
  Put(image, 197, 12);
  Put(image, 198, 7);
  Put(image, 199, 199);
  return image;
}

TEST(DecodeRegisterImage, ReadsEveryFieldOfTheFixture) {
  const RegisterImage image = FixtureImage();
  ASSERT_TRUE(HasLoggerIdentity(image));
  const LoggerConfig config = DecodeRegisterImage(image).config;

  const ChannelConfig& r = config.channels[0];
  EXPECT_TRUE(r.enabled);
  EXPECT_EQ(r.inputType, 5);
  EXPECT_EQ(r.unit, TemperatureUnit::kCelsius);
  EXPECT_FALSE(r.differential);
  EXPECT_EQ(r.alarm1Kind | r.alarm2Kind | r.alarm1Relays | r.alarm2Relays, 0);
  EXPECT_EQ(r.scaleLow, 0);  // the sensor range, not the registers
  EXPECT_EQ(r.scaleHigh, 1760);
  EXPECT_EQ(TextBytes(r.tag), "TAG1");
  EXPECT_EQ(r.filter, 3);

  const ChannelConfig& rF = config.channels[1];
  EXPECT_EQ(rF.unit, TemperatureUnit::kFahrenheit);
  EXPECT_EQ(rF.unitAsWritten, TemperatureUnit::kFahrenheit);
  EXPECT_EQ(rF.scaleLow, 32);
  EXPECT_EQ(rF.scaleHigh, 3200);
  EXPECT_EQ(rF.filter, 5);
  EXPECT_TRUE(rF.thermocoupleDecimal);
  EXPECT_TRUE(rF.thermocoupleDecimalAsWritten);

  const ChannelConfig& linear = config.channels[2];
  EXPECT_EQ(linear.inputType, 18);
  EXPECT_TRUE(linear.differential);  // firmware 1.99 keeps the flag
  EXPECT_EQ(linear.alarm1Kind, kAlarmLow);
  EXPECT_EQ(linear.alarm1Relays, kRelay1);
  EXPECT_EQ(linear.alarm2Kind, kAlarmHigh);
  EXPECT_EQ(linear.alarm2Relays, kRelay1 | kRelay2);
  EXPECT_EQ(linear.scaleLow, -1999);
  EXPECT_EQ(linear.scaleHigh, 9999);
  EXPECT_EQ(linear.alarm1SetPoint, -100);
  EXPECT_EQ(linear.alarm2SetPoint, 1234);
  EXPECT_EQ(linear.decimals, 2);
  EXPECT_EQ(TextUtf8(linear.engineeringUnit), "k°");

  const ChannelConfig& undefined = config.channels[3];
  EXPECT_EQ(undefined.inputType, 30);
  EXPECT_FALSE(undefined.enabled);
  EXPECT_EQ(undefined.scaleLow, 7);
  EXPECT_EQ(undefined.scaleHigh, 8);
  EXPECT_EQ(undefined.decimals, 3);
  EXPECT_TRUE(config.channels[4].differential);
  EXPECT_EQ(config.channels[4].scaleLow, -1999);  // Pt100 in tenths
  EXPECT_TRUE(config.channels[7].thermocoupleDecimal);
  EXPECT_EQ(config.channels[7].filter, 9);

  const AcquisitionProgram& p = config.program;
  EXPECT_TRUE(p.overwrite);
  EXPECT_EQ(p.stopMode, StopMode::StopAfterIntervals);
  EXPECT_EQ(p.startMode, StartMode::StartByInput);
  EXPECT_EQ(config.relay1Mode, RelayMode::kDigitalOutput);
  EXPECT_EQ(config.relay2Mode, RelayMode::kDigitalOutput);
  EXPECT_EQ(p.stopAfterIntervals, 98304);
  EXPECT_EQ(p.memoryCapacity, 65535);
  EXPECT_EQ(p.baseInterval, (BaseInterval{2, 1, 3, 23}));
  EXPECT_EQ(p.startTime, (LoggerDateTime{30, 15, 12, 31, 4, 27}));
  EXPECT_EQ(p.stopTime.second, -1);
  EXPECT_EQ(p.multiplier[0], 1);
  EXPECT_EQ(p.multiplier[1], 0);  // reaches the pages as it is
  EXPECT_EQ(p.multiplier[7], 255);

  EXPECT_EQ(config.alarmFlags, 0x0102);
  EXPECT_EQ(config.statusFlags, static_cast<std::int16_t>(0x8009));
  EXPECT_EQ(config.channelStatus[0], 0x0A);
  EXPECT_EQ(config.channelStatus[1], 0x0B);
  EXPECT_EQ(config.channelStatus[6], 0xFF);
  EXPECT_EQ(config.channelStatus[7], 0x07);
  EXPECT_EQ(config.serialNumber, 120007);
  EXPECT_EQ(config.firmwareVersion, 199);
  EXPECT_EQ(config.mainsFrequency, 60);
  EXPECT_EQ(TextBytes(config.title), "A");
  EXPECT_EQ(config.title[16], '\0');
}

TEST(DecodeRegisterImage, FirmwareGatesFollowTheVersion) {
  struct Case {
    int version;
    bool readingModeShown;
    bool parityChoiceEnabled;
  };
  const Case cases[] = {
      {199, true, false}, {200, false, false}, {219, false, false}, {220, false, true}};
  for (const Case& c : cases) {
    RegisterImage image = FixtureImage();
    Put(image, 199, static_cast<unsigned>(c.version));
    const DecodedConfiguration decoded = DecodeRegisterImage(image);
    EXPECT_EQ(decoded.gates, (FirmwareGates{c.readingModeShown, c.parityChoiceEnabled}))
        << c.version;
    EXPECT_EQ(decoded.config.channels[2].differential, c.readingModeShown) << c.version;
    EXPECT_EQ(decoded.config.channels[4].differential, c.readingModeShown) << c.version;
  }
}

TEST(DecodeRegisterImage, RejectsNothingButTheIdentityTellsAForeignDevice) {
  RegisterImage image = FixtureImage();
  Put(image, 200, 33);
  EXPECT_FALSE(HasLoggerIdentity(image));
}

TEST(SplitValues, JoinHighSignExtendedAndLowUnsigned) {
  EXPECT_EQ(JoinSplitValue(1, static_cast<std::int16_t>(0x8000)), 98304);
  EXPECT_EQ(JoinSplitValue(-1, -1), -1);
  EXPECT_EQ(JoinSplitValue(0x7FFF, -1), 0x7FFFFFFF);
  EXPECT_EQ(SplitValue(98304), (SplitWords{0x0001, 0x8000}));
  EXPECT_EQ(SplitValue(-1), (SplitWords{0xFFFF, 0xFFFF}));
  EXPECT_EQ(SplitValue(-65536), (SplitWords{0xFFFF, 0x0000}));
}

TEST(SerialNumber, IsReadFromTheTwoRegistersWrittenOneAfterTheOther) {
  struct Case {
    int first;
    int last;
    std::int32_t serial;
  };
  const Case cases[] = {
      {12, 7, 120007},
      {0, 0, 0},
      {9999, 9999, 99999999},
      {-5, 7, -50007},                   // "-0050007"
      {12, -3, 12},                      // "0012-003": digits end at the second sign
      {32767, 32767, 2147483647},        // "3276732767" saturates
      {-32768, 32767, -2147483647 - 1},  // "-3276832767" saturates
      {12345, 6, 123450006},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SerialNumberFromRegisters(static_cast<std::int16_t>(c.first),
                                        static_cast<std::int16_t>(c.last)),
              c.serial)
        << c.first << " " << c.last;
  }
}

TEST(Encoding, BuildsEveryWrittenRegisterWord) {
  ChannelConfig channel;
  channel.inputType = 18;
  channel.unit = TemperatureUnit::kFahrenheit;
  channel.unitAsWritten = TemperatureUnit::kCelsius;  // the edited unit is what is sent
  channel.differential = true;
  channel.enabled = true;
  channel.alarm1Kind = kAlarmLow;
  channel.alarm1Relays = kRelay1;
  channel.alarm2Kind = kAlarmHigh;
  channel.alarm2Relays = kRelay1 | kRelay2;
  EXPECT_EQ(EncodeChannelWord(channel), 0xE5F2);
  channel.inputType = 0x25;  // bits beyond a field never leak into the next one
  channel.alarm1Kind = 7;
  EXPECT_EQ(EncodeChannelWord(channel), 0xE7E5);

  // Decoding the written word gives back the channel's fields.
  RegisterImage image{};
  Put(image, 17, 0xE5F2);
  const ChannelConfig decoded = DecodeRegisterImage(image).config.channels[0];
  EXPECT_EQ(EncodeChannelWord(decoded), 0xE5F2);

  LoggerConfig config;
  config.relay2Mode = RelayMode::kDigitalOutput;
  config.program.startMode = StartMode::StartAtTime;
  config.program.stopMode = StopMode::StopByInput;
  config.program.overwrite = true;
  EXPECT_EQ(EncodeModeWord(config), 64 + 8 + 6 + 1);

  EXPECT_EQ(EncodeBytePair(0x12, 0x34), 0x1234);
  EXPECT_EQ(EncodeBytePair(-1, -2), 0xFFFE);
  EXPECT_EQ(EncodeBytePair(0x1FF, 0x100), 0xFF00);

  FixedText<kTitleLength> title{};
  SetText(title,
          "Forno \xB0"
          "C Z");  // "Forno °C Z" in Windows-1252
  const auto words = EncodeText(title);
  ASSERT_EQ(words.size(), 8u);
  EXPECT_EQ(words[0], 0x466F);  // "Fo"
  EXPECT_EQ(words[2], 0x6F20);  // "o "
  EXPECT_EQ(words[3], 0xB043);  // "°C"
  EXPECT_EQ(words[4], 0x205A);  // " Z"
  EXPECT_EQ(words[5], 0x0000);
  FixedText<kTagLength> tag{};
  SetText(tag, "ABCDEFGHIJ");  // cut to eight characters
  EXPECT_EQ(TextBytes(tag), "ABCDEFGH");
  EXPECT_EQ(EncodeText(tag)[3], 0x4748);

  std::array<ChannelConfig, kChannelCount> channels{};
  channels[0].decimals = 3;
  channels[1].decimals = 1;
  channels[7].decimals = 2;
  channels[1].thermocoupleDecimal = true;
  channels[6].thermocoupleDecimal = true;
  channels[0].thermocoupleDecimalAsWritten = true;  // not what is sent
  EXPECT_EQ(EncodeDecimalPositionWord(channels), 0x8007);
  EXPECT_EQ(EncodeThermocoupleDecimalWord(channels), 0x0042);

  EXPECT_EQ(EncodeDateTime(LoggerDateTime{30, 15, 12, 31, 4, 27}),
            (std::array<std::uint16_t, 3>{0x1E0F, 0x0C1F, 0x041B}));
  EXPECT_EQ(EncodeBaseInterval(BaseInterval{2, 1, 3, 23}),
            (std::array<std::uint16_t, 2>{0x0201, 0x0317}));
}

TEST(LoggerDateTime, KeepsTheYearAsAnIndexFrom1998) {
  const LocalDateTime local{2025, 4, 30, 12, 15, 30};
  const LoggerDateTime logger = ToLoggerDateTime(local);
  EXPECT_EQ(logger, (LoggerDateTime{30, 15, 12, 30, 4, 27}));
  EXPECT_EQ(ToLocalDateTime(logger), local);
  EXPECT_EQ(ToLocalDateTime(LoggerDateTime{0, 0, 0, 1, 1, -1}).year, 1997);
}

}  // namespace
}  // namespace virelo::model
