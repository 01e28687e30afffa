// The logger's configuration as the program works on it, its decoding from a snapshot of
// the holding registers, and the encoding of single registers for the writers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "link/register_image.h"
#include "model/date_time.h"
#include "model/input_types.h"
#include "model/register_map.h"
#include "text/cp1252.h"

namespace virelo::model {

// A text of the logger: Windows-1252 bytes, Length characters plus one byte that is always
// 0. A 0 byte ends the text early.
template <std::size_t Length>
using FixedText = std::array<char, Length + 1>;

// The bytes of a text up to its first 0 byte, still Windows-1252.
template <std::size_t N>
std::string TextBytes(const std::array<char, N>& text) {
  std::size_t length = 0;
  while (length < N && text[length] != '\0') ++length;
  return std::string(text.data(), length);
}

// Puts Windows-1252 bytes into a text: cut to its length, the rest filled with 0.
template <std::size_t N>
void SetText(std::array<char, N>& text, std::string_view cp1252) {
  text.fill('\0');
  const std::size_t length = cp1252.size() < N - 1 ? cp1252.size() : N - 1;
  for (std::size_t i = 0; i < length; ++i) text[i] = cp1252[i];
}

// A text as UTF-8, for display.
template <std::size_t N>
std::string TextUtf8(const std::array<char, N>& text) {
  return text::Cp1252ToUtf8(TextBytes(text));
}

// Bits of `alarm1Kind`/`alarm2Kind` and of `alarm1Relays`/`alarm2Relays`.
inline constexpr std::uint8_t kAlarmLow = 1;
inline constexpr std::uint8_t kAlarmHigh = 2;
inline constexpr std::uint8_t kRelay1 = 1;
inline constexpr std::uint8_t kRelay2 = 2;

struct ChannelConfig {
  bool enabled = false;
  std::uint8_t inputType = 0;                                 // 0..31, defined 0..19
  TemperatureUnit unitAsWritten = TemperatureUnit::kCelsius;  // as read or last sent
  std::int16_t scaleLow = 0;
  std::int16_t scaleHigh = 0;
  bool differential = false;
  std::int16_t alarm1SetPoint = 0;
  std::int16_t alarm2SetPoint = 0;
  std::uint8_t alarm1Kind = 0;  // kAlarmLow | kAlarmHigh, 0 no alarm
  std::uint8_t alarm2Kind = 0;
  std::uint8_t alarm1Relays = 0;  // kRelay1 | kRelay2
  std::uint8_t alarm2Relays = 0;
  FixedText<kTagLength> tag{};
  FixedText<kEngineeringUnitLength> engineeringUnit{};
  std::uint8_t filter = 0;
  std::uint8_t decimals = 0;                         // 0..3
  bool thermocoupleDecimalAsWritten = false;         // as read or last sent
  bool thermocoupleDecimal = false;                  // as edited
  TemperatureUnit unit = TemperatureUnit::kCelsius;  // as edited
  bool operator==(const ChannelConfig&) const = default;
};

struct BaseInterval {
  std::int8_t tenths = 0;
  std::int8_t seconds = 0;
  std::int8_t minutes = 0;
  std::int8_t hours = 0;
  bool operator==(const BaseInterval&) const = default;
};

inline constexpr int kFirstYear = 1998;  // yearIndex 0

// A date and time as the logger keeps it; yearIndex is the year minus 1998.
struct LoggerDateTime {
  std::int8_t second = 0;
  std::int8_t minute = 0;
  std::int8_t hour = 0;
  std::int8_t day = 0;
  std::int8_t month = 0;
  std::int8_t yearIndex = 0;
  bool operator==(const LoggerDateTime&) const = default;
};

LocalDateTime ToLocalDateTime(const LoggerDateTime& dateTime);
// The year is kept in one byte as year - 1998.
LoggerDateTime ToLoggerDateTime(const LocalDateTime& dateTime);

enum class StartMode : std::uint8_t { StartByButton = 0, StartAtTime = 1, StartByInput = 2 };
enum class StopMode : std::uint8_t {
  StopNone = 0,
  StopAtTime = 1,
  StopAfterIntervals = 2,
  StopByInput = 3,
};
enum class RelayMode : std::uint8_t { kAlarm = 0, kDigitalOutput = 1 };

struct AcquisitionProgram {
  std::array<std::int16_t, kChannelCount> multiplier{};  // valid 1..255
  BaseInterval baseInterval;
  StartMode startMode = StartMode::StartByButton;
  StopMode stopMode = StopMode::StopNone;
  bool overwrite = false;
  std::int32_t stopAfterIntervals = 0;
  std::int32_t memoryCapacity = 0;
  LoggerDateTime startTime;
  LoggerDateTime stopTime;
  bool operator==(const AcquisitionProgram&) const = default;
};

struct LoggerConfig {
  std::array<ChannelConfig, kChannelCount> channels{};
  RelayMode relay1Mode = RelayMode::kAlarm;
  RelayMode relay2Mode = RelayMode::kAlarm;
  AcquisitionProgram program;
  std::int16_t alarmFlags = 0;
  std::int16_t statusFlags = 0;
  std::array<std::uint8_t, kChannelCount> channelStatus{};
  std::int32_t serialNumber = 0;
  std::int16_t firmwareVersion = 0;  // version times 100
  std::int16_t mainsFrequency = 0;
  FixedText<kTitleLength> title{};
  bool operator==(const LoggerConfig&) const = default;
};

// What the window shows or enables for a logger's firmware version.
struct FirmwareGates {
  bool readingModeShown = true;      // "Modo de Leitura" (differential reading), below 2.00
  bool parityChoiceEnabled = false;  // "Paridade", from 2.20
  bool operator==(const FirmwareGates&) const = default;
};

inline constexpr std::int16_t kFirmwareWithoutDifferential = 200;
inline constexpr std::int16_t kFirmwareWithParityChoice = 220;

FirmwareGates FirmwareGatesFor(std::int16_t firmwareVersion);

struct DecodedConfiguration {
  LoggerConfig config;
  FirmwareGates gates;
};

// True when the identity register reads as a logger this program works with.
bool HasLoggerIdentity(const link::RegisterImage& image);

// The configuration held in a snapshot whose identity has been checked. Every bit pattern
// decodes to some value; from firmware 2.00 on the differential flags come out cleared.
DecodedConfiguration DecodeRegisterImage(const link::RegisterImage& image);

// A 32-bit value kept in two registers: the high word sign-extended, the low word unsigned.
std::int32_t JoinSplitValue(std::int16_t high, std::int16_t low);

// The serial number from its two registers, each written as "%04d" one after the other and
// read back as a decimal number (sign, then digits up to the first other character). A
// number beyond the 32-bit range saturates.
std::int32_t SerialNumberFromRegisters(std::int16_t first, std::int16_t last);

// ---- Encoding of single registers for the writers ----

// Registers 17..24.
std::uint16_t EncodeChannelWord(const ChannelConfig& channel);
// Register 25.
std::uint16_t EncodeModeWord(const LoggerConfig& config);
// First byte high, second byte low.
std::uint16_t EncodeBytePair(int first, int second);

// The registers of a text, two characters each, the first in the high byte.
template <std::size_t N>
std::array<std::uint16_t, (N - 1) / 2> EncodeText(const std::array<char, N>& text) {
  std::array<std::uint16_t, (N - 1) / 2> words{};
  for (std::size_t i = 0; i < words.size(); ++i) {
    words[i] = EncodeBytePair(static_cast<unsigned char>(text[2 * i]),
                              static_cast<unsigned char>(text[2 * i + 1]));
  }
  return words;
}

struct SplitWords {
  std::uint16_t high = 0;
  std::uint16_t low = 0;
  bool operator==(const SplitWords&) const = default;
};
SplitWords SplitValue(std::int32_t value);

// Register 152: decimals of channel c in bits 2c..2c+1.
std::uint16_t EncodeDecimalPositionWord(const std::array<ChannelConfig, kChannelCount>& channels);
// Register 154: the edited thermocouple-decimal flag of channel c in bit c.
std::uint16_t EncodeThermocoupleDecimalWord(
    const std::array<ChannelConfig, kChannelCount>& channels);
// Registers 14..16, 42..44 and 45..47: (second, minute), (hour, day), (month, yearIndex).
std::array<std::uint16_t, 3> EncodeDateTime(const LoggerDateTime& dateTime);
// Registers 50 and 51: (tenths, seconds), (minutes, hours).
std::array<std::uint16_t, 2> EncodeBaseInterval(const BaseInterval& interval);

}  // namespace virelo::model
