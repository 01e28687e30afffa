#include "model/logger_config.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace virelo::model {

namespace {

using link::RegisterImage;

std::uint16_t Word(const RegisterImage& image, int reg) {
  return static_cast<std::uint16_t>(image[static_cast<std::size_t>(reg)]);
}
std::int16_t Signed(const RegisterImage& image, int reg) {
  return image[static_cast<std::size_t>(reg)];
}
std::uint8_t HighByte(std::uint16_t word) {
  return static_cast<std::uint8_t>(word >> 8);
}
std::uint8_t LowByte(std::uint16_t word) {
  return static_cast<std::uint8_t>(word & 0xFF);
}
std::int8_t SignedByte(std::uint8_t byte) {
  return static_cast<std::int8_t>(byte);
}
unsigned Bits(std::uint16_t word, int first, unsigned mask) {
  return (word >> first) & mask;
}

template <std::size_t N>
void DecodeText(const RegisterImage& image, int firstRegister, std::array<char, N>& text) {
  text.fill('\0');
  for (std::size_t i = 0; i < (N - 1) / 2; ++i) {
    const std::uint16_t word = Word(image, firstRegister + static_cast<int>(i));
    text[2 * i] = static_cast<char>(HighByte(word));
    text[2 * i + 1] = static_cast<char>(LowByte(word));
  }
}

LoggerDateTime DecodeDateTime(const RegisterImage& image, int firstRegister) {
  const std::uint16_t secondMinute = Word(image, firstRegister);
  const std::uint16_t hourDay = Word(image, firstRegister + 1);
  const std::uint16_t monthYear = Word(image, firstRegister + 2);
  LoggerDateTime dateTime;
  dateTime.second = SignedByte(HighByte(secondMinute));
  dateTime.minute = SignedByte(LowByte(secondMinute));
  dateTime.hour = SignedByte(HighByte(hourDay));
  dateTime.day = SignedByte(LowByte(hourDay));
  dateTime.month = SignedByte(HighByte(monthYear));
  dateTime.yearIndex = SignedByte(LowByte(monthYear));
  return dateTime;
}

ChannelConfig DecodeChannel(const RegisterImage& image, int c) {
  const std::uint16_t word = Word(image, ChannelWordRegister(c));
  ChannelConfig channel;
  channel.inputType = static_cast<std::uint8_t>(Bits(word, 0, 0x1F));
  channel.unit = Bits(word, 5, 1) ? TemperatureUnit::kFahrenheit : TemperatureUnit::kCelsius;
  channel.unitAsWritten = channel.unit;
  channel.differential = Bits(word, 6, 1) != 0;
  channel.enabled = Bits(word, 7, 1) != 0;
  channel.alarm1Kind = static_cast<std::uint8_t>(Bits(word, 8, 3));
  channel.alarm1Relays = static_cast<std::uint8_t>(Bits(word, 10, 3));
  channel.alarm2Kind = static_cast<std::uint8_t>(Bits(word, 12, 3));
  channel.alarm2Relays = static_cast<std::uint8_t>(Bits(word, 14, 3));

  // A fixed-range channel's scale is its sensor range; the logger's scale registers count
  // only for the other codes.
  if (const auto limits = IsFixedRange(channel.inputType)
                              ? SensorLimitsOf(channel.inputType, channel.unit)
                              : std::nullopt) {
    channel.scaleLow = limits->lower;
    channel.scaleHigh = limits->upper;
  } else {
    channel.scaleLow = Signed(image, ScaleLowRegister(c));
    channel.scaleHigh = Signed(image, ScaleHighRegister(c));
  }
  channel.alarm1SetPoint = Signed(image, Alarm1SetPointRegister(c));
  channel.alarm2SetPoint = Signed(image, Alarm2SetPointRegister(c));

  DecodeText(image, TagRegister(c), channel.tag);
  DecodeText(image, EngineeringUnitRegister(c), channel.engineeringUnit);

  const std::uint16_t filterPair = Word(image, kFilterRegister + c / 2);
  channel.filter = c % 2 == 0 ? HighByte(filterPair) : LowByte(filterPair);
  channel.decimals =
      static_cast<std::uint8_t>(Bits(Word(image, kDecimalPositionRegister), 2 * c, 3));
  channel.thermocoupleDecimal = Bits(Word(image, kThermocoupleDecimalRegister), c, 1) != 0;
  channel.thermocoupleDecimalAsWritten = channel.thermocoupleDecimal;
  return channel;
}

AcquisitionProgram DecodeProgram(const RegisterImage& image) {
  AcquisitionProgram program;
  for (int c = 0; c < kChannelCount; ++c) {
    program.multiplier[static_cast<std::size_t>(c)] = Signed(image, MultiplierRegister(c));
  }
  const std::uint16_t tenthsSeconds = Word(image, kBaseIntervalRegister);
  const std::uint16_t minutesHours = Word(image, kBaseIntervalRegister + 1);
  program.baseInterval.tenths = SignedByte(HighByte(tenthsSeconds));
  program.baseInterval.seconds = SignedByte(LowByte(tenthsSeconds));
  program.baseInterval.minutes = SignedByte(HighByte(minutesHours));
  program.baseInterval.hours = SignedByte(LowByte(minutesHours));

  const std::uint16_t mode = Word(image, kModeWordRegister);
  program.overwrite = Bits(mode, 0, 1) != 0;
  program.stopMode = static_cast<StopMode>(Bits(mode, 1, 3));
  program.startMode = static_cast<StartMode>(Bits(mode, 3, 3));

  program.stopAfterIntervals = JoinSplitValue(Signed(image, kStopAfterIntervalsHighRegister),
                                              Signed(image, kStopAfterIntervalsLowRegister));
  program.memoryCapacity = JoinSplitValue(Signed(image, kMemoryCapacityHighRegister),
                                          Signed(image, kMemoryCapacityLowRegister));
  program.startTime = DecodeDateTime(image, kStartTimeRegister);
  program.stopTime = DecodeDateTime(image, kStopTimeRegister);
  return program;
}

std::uint16_t FieldBits(unsigned value, unsigned mask, int shift) {
  return static_cast<std::uint16_t>((value & mask) << shift);
}

}  // namespace

LocalDateTime ToLocalDateTime(const LoggerDateTime& dateTime) {
  return LocalDateTime{dateTime.yearIndex + kFirstYear,
                       dateTime.month,
                       dateTime.day,
                       dateTime.hour,
                       dateTime.minute,
                       dateTime.second};
}

LoggerDateTime ToLoggerDateTime(const LocalDateTime& dateTime) {
  const auto byte = [](int value) { return static_cast<std::int8_t>(value & 0xFF); };
  return LoggerDateTime{byte(dateTime.second), byte(dateTime.minute),
                        byte(dateTime.hour),   byte(dateTime.day),
                        byte(dateTime.month),  byte(dateTime.year - kFirstYear)};
}

FirmwareGates FirmwareGatesFor(std::int16_t firmwareVersion) {
  return FirmwareGates{firmwareVersion < kFirmwareWithoutDifferential,
                       firmwareVersion >= kFirmwareWithParityChoice};
}

bool HasLoggerIdentity(const link::RegisterImage& image) {
  return image[link::kIdentityRegister] == link::kIdentityValue;
}

DecodedConfiguration DecodeRegisterImage(const link::RegisterImage& image) {
  DecodedConfiguration decoded;
  LoggerConfig& config = decoded.config;
  for (int c = 0; c < kChannelCount; ++c) {
    config.channels[static_cast<std::size_t>(c)] = DecodeChannel(image, c);
  }
  config.program = DecodeProgram(image);

  const std::uint16_t mode = Word(image, kModeWordRegister);
  config.relay1Mode = Bits(mode, 5, 1) ? RelayMode::kDigitalOutput : RelayMode::kAlarm;
  config.relay2Mode = Bits(mode, 6, 1) ? RelayMode::kDigitalOutput : RelayMode::kAlarm;

  config.alarmFlags = Signed(image, kAlarmFlagsRegister);
  config.statusFlags = Signed(image, kStatusFlagsRegister);
  for (int k = 0; k < kChannelCount / 2; ++k) {
    const std::uint16_t pair = Word(image, kChannelStatusRegister + k);
    config.channelStatus[static_cast<std::size_t>(2 * k)] = HighByte(pair);
    config.channelStatus[static_cast<std::size_t>(2 * k + 1)] = LowByte(pair);
  }
  config.serialNumber = SerialNumberFromRegisters(Signed(image, kSerialNumberHighRegister),
                                                  Signed(image, kSerialNumberLowRegister));
  config.firmwareVersion = Signed(image, kFirmwareVersionRegister);
  config.mainsFrequency = Signed(image, kMainsFrequencyRegister);
  DecodeText(image, kTitleRegister, config.title);

  decoded.gates = FirmwareGatesFor(config.firmwareVersion);
  if (!decoded.gates.readingModeShown) {
    for (ChannelConfig& channel : config.channels) channel.differential = false;
  }
  return decoded;
}

std::int32_t JoinSplitValue(std::int16_t high, std::int16_t low) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(high))
                                       << 16 |
                                   static_cast<std::uint16_t>(low));
}

std::int32_t SerialNumberFromRegisters(std::int16_t first, std::int16_t last) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04d%04d", first, last);
  const char* p = digits;
  bool negative = false;
  if (*p == '-' || *p == '+') negative = *p++ == '-';
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) value = value * 10 + (*p - '0');  // at most 10 digits
  if (negative) value = -value;
  return static_cast<std::int32_t>(std::clamp<long long>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::uint16_t EncodeChannelWord(const ChannelConfig& channel) {
  return static_cast<std::uint16_t>(
      FieldBits(channel.inputType, 0x1F, 0) | FieldBits(static_cast<unsigned>(channel.unit), 1, 5) |
      FieldBits(channel.differential, 1, 6) | FieldBits(channel.enabled, 1, 7) |
      FieldBits(channel.alarm1Kind, 3, 8) | FieldBits(channel.alarm1Relays, 3, 10) |
      FieldBits(channel.alarm2Kind, 3, 12) | FieldBits(channel.alarm2Relays, 3, 14));
}

std::uint16_t EncodeModeWord(const LoggerConfig& config) {
  const AcquisitionProgram& program = config.program;
  return static_cast<std::uint16_t>(FieldBits(program.overwrite, 1, 0) |
                                    FieldBits(static_cast<unsigned>(program.stopMode), 3, 1) |
                                    FieldBits(static_cast<unsigned>(program.startMode), 3, 3) |
                                    FieldBits(static_cast<unsigned>(config.relay1Mode), 1, 5) |
                                    FieldBits(static_cast<unsigned>(config.relay2Mode), 1, 6));
}

std::uint16_t EncodeBytePair(int first, int second) {
  return static_cast<std::uint16_t>((static_cast<unsigned>(first) & 0xFF) << 8 |
                                    (static_cast<unsigned>(second) & 0xFF));
}

SplitWords SplitValue(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  return SplitWords{static_cast<std::uint16_t>(bits >> 16), static_cast<std::uint16_t>(bits)};
}

std::uint16_t EncodeDecimalPositionWord(const std::array<ChannelConfig, kChannelCount>& channels) {
  unsigned word = 0;
  for (int c = 0; c < kChannelCount; ++c) {
    word |= FieldBits(channels[static_cast<std::size_t>(c)].decimals, 3, 2 * c);
  }
  return static_cast<std::uint16_t>(word);
}

std::uint16_t EncodeThermocoupleDecimalWord(
    const std::array<ChannelConfig, kChannelCount>& channels) {
  unsigned word = 0;
  for (int c = 0; c < kChannelCount; ++c) {
    word |= FieldBits(channels[static_cast<std::size_t>(c)].thermocoupleDecimal, 1, c);
  }
  return static_cast<std::uint16_t>(word);
}

std::array<std::uint16_t, 3> EncodeDateTime(const LoggerDateTime& dateTime) {
  return {EncodeBytePair(dateTime.second, dateTime.minute),
          EncodeBytePair(dateTime.hour, dateTime.day),
          EncodeBytePair(dateTime.month, dateTime.yearIndex)};
}

std::array<std::uint16_t, 2> EncodeBaseInterval(const BaseInterval& interval) {
  return {EncodeBytePair(interval.tenths, interval.seconds),
          EncodeBytePair(interval.minutes, interval.hours)};
}

}  // namespace virelo::model
