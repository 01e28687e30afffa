#include "sim/simulated_logger.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "link/crc.h"

namespace virelo::sim {
namespace {

constexpr std::uint8_t kReadHolding = 3;
constexpr std::uint8_t kWriteSingle = 6;
constexpr std::uint8_t kReadOffsetWord = 112;
constexpr std::uint8_t kWriteOffsetWord = 113;

constexpr int kChannelWord = 17;  // 17..24
constexpr int kModeWord = 25;
constexpr int kSetPoint = 26;  // 26 + 2c, 27 + 2c
constexpr int kStopAfterLow = 48;
constexpr int kCommand = 49;
constexpr int kBaseInterval = 50;  // 50, 51
constexpr int kMultiplier = 52;    // 52..59
constexpr int kScaleLow = 60;      // 60 + 2c, 61 + 2c
constexpr int kTitle = 76;
constexpr int kTag = 84;        // 84 + 4c
constexpr int kUnitText = 116;  // 116 + 4c
constexpr int kFilters = 148;
constexpr int kDecimals = 152;
constexpr int kThermocoupleDecimal = 154;
constexpr int kMains = 177;
constexpr int kParity = 178;
constexpr int kStopAfterHigh = 179;
constexpr int kCapacityHigh = 180;
constexpr int kCountHigh = 182;
constexpr int kAddress = 186;
constexpr int kBaudCode = 187;
constexpr int kCountLow = 195;
constexpr int kCapacityLow = 196;
constexpr int kSerialHigh = 197;
constexpr int kSerialLow = 198;
constexpr int kFirmware = 199;
constexpr int kIdentity = 200;

constexpr std::int16_t kCommandStart = 15;
constexpr std::int16_t kCommandStop = 0;
constexpr int kLowestCount = -1999;
constexpr int kHighestCount = 9999;

int Word(std::span<const std::uint8_t> frame, std::size_t at) {
  return (frame[at] << 8) | frame[at + 1];
}

bool IsReadOnly(int reg) {
  return reg <= 13 || reg == kCapacityHigh || reg == kCountHigh || reg >= kCountLow;
}

// Registers whose change alters how acquisitions are counted from then on.
bool ChangesAcquisitionProgram(int reg) {
  return (reg >= kChannelWord && reg <= kModeWord) || reg == kStopAfterLow ||
         (reg >= kBaseInterval && reg < kMultiplier + kChannelCount) || reg == kStopAfterHigh;
}

// Where a process value of each channel sits, in degrees Celsius, and how it swings; linear
// inputs swing around the middle of their scale instead.
struct Profile {
  double centre;
  double swing;
  double periodSeconds;
};
constexpr std::array<Profile, kChannelCount> kProfiles = {{{180, 15, 90},
                                                           {65, 5, 120},
                                                           {4, 1.5, 150},
                                                           {25, 3, 75},
                                                           {25, 3, 100},
                                                           {25, 3, 130},
                                                           {22, 2, 200},
                                                           {22, 2, 240}}};

// Measuring ranges in degrees Celsius of the fixed-range inputs 0..17, so that a reading
// stays where the sensor can go.
struct Range {
  double low;
  double high;
};
// Types 9..17 are the same ranges delivered as 4-20 mA: index by type % 9.
constexpr std::array<Range, 9> kSensorRanges = {{{-50, 760},
                                                 {-90, 1370},
                                                 {-100, 400},
                                                 {-35, 720},
                                                 {-90, 1300},
                                                 {0, 1760},
                                                 {0, 1760},
                                                 {150, 1820},
                                                 {-200, 530}}};

constexpr int kFirstLinearType = 18;
constexpr int kLastLinearType = 19;

bool IsThermocouple(int type) {
  return type <= 7;
}
bool IsPt100Kind(int type) {
  return type == 8 || type == 17;
}

// A small pseudo-random jitter, the same for the same seed, channel and half-second.
int Jitter(unsigned seed, int channel, std::int64_t halfSecond, int spread) {
  std::uint64_t x = (static_cast<std::uint64_t>(seed) << 40) ^
                    (static_cast<std::uint64_t>(channel) << 32) ^
                    static_cast<std::uint64_t>(halfSecond);
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  x ^= x >> 31;
  return static_cast<int>(x % static_cast<std::uint64_t>(2 * spread + 1)) - spread;
}

std::int16_t ClampToCounts(double value) {
  return static_cast<std::int16_t>(
      std::clamp(static_cast<int>(std::lround(value)), kLowestCount, kHighestCount));
}

std::int16_t BytePair(int high, int low) {
  return static_cast<std::int16_t>(((high & 0xFF) << 8) | (low & 0xFF));
}

}  // namespace

std::vector<std::uint8_t> WithCrc(std::vector<std::uint8_t> bytes) {
  const std::uint16_t crc = link::Crc16(bytes);
  bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
  bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
  return bytes;
}

std::vector<std::uint8_t> ExceptionReply(std::uint8_t address, std::uint8_t code,
                                         std::uint8_t exception) {
  return WithCrc({address, static_cast<std::uint8_t>(code | 0x80), exception});
}

std::string DescribeRequest(std::span<const std::uint8_t> request) {
  if (request.size() < 6) return "fragment";
  const int first = Word(request, 2);
  const int value = static_cast<std::int16_t>(Word(request, 4));
  switch (request[1]) {
    case kReadHolding:
      return "read " + std::to_string(first) + " x" + std::to_string(Word(request, 4));
    case kWriteSingle:
      return "write " + std::to_string(first) + " = " + std::to_string(value);
    case kReadOffsetWord:
      return "read offset " + std::to_string(first);
    case kWriteOffsetWord:
      return "write offset " + std::to_string(first) + " = " + std::to_string(value);
    default:
      return "function " + std::to_string(request[1]);
  }
}

SimulatedLogger::SimulatedLogger(const LoggerSetup& setup, Instant now)
    : clock_(setup.clockStart.value_or(LocalTimeNow()), now),
      bornAt_(now),
      seed_(setup.seed),
      address_(setup.address),
      baudRate_(setup.baudRate),
      parity_(setup.parity),
      loggingSince_(now) {
  FillDefaultContents(setup);
}

void SimulatedLogger::FillDefaultContents(const LoggerSetup& setup) {
  auto putText = [this](int first, int registerCount, std::string_view text) {
    for (int i = 0; i < registerCount; ++i) {
      const auto at = static_cast<std::size_t>(2 * i);
      const int high = at < text.size() ? static_cast<std::uint8_t>(text[at]) : 0;
      const int low = at + 1 < text.size() ? static_cast<std::uint8_t>(text[at + 1]) : 0;
      registers_[first + i] = BytePair(high, low);
    }
  };
  // Channels: J furnace with a high alarm on relay 1, K oven in tenths with a low alarm,
  // Pt100 cold room with two alarms, three linear inputs with their scales, two spares off.
  constexpr std::array<std::int16_t, kChannelCount> kChannelWords = {
      0x0680, 0x0181, 0x1A88, 0x0092, 0x0292, 0x0093, 0x0002, 0x0031};
  constexpr std::array<std::int16_t, 2 * kChannelCount> kSetPoints = {
      190, 0, 62, 0, 50, 0, 800, 200, 2000, 0, 0, 0, 300, 0, 0, 0};
  constexpr std::array<std::int16_t, 2 * kChannelCount> kScales = {
      0, 0, 0, 0, 0, 0, 0, 1000, 0, 2500, -100, 900, 0, 0, 0, 0};
  constexpr std::array<std::int16_t, kChannelCount> kMultipliers = {1, 1, 2, 5, 5, 10, 1, 1};
  // Windows-1252 texts: 0xC2 is A circumflex, 0xC3 A tilde, 0xB3 superscript three, 0xB0 degree.
  constexpr std::array<std::string_view, kChannelCount> kTags = {
      "FORNO 1",    "ESTUFA",   "C\xC2MARA", "UMIDADE",
      "PRESS\xC3O", "VAZ\xC3O", "RESERVA1",  "RESERVA2"};
  constexpr std::array<std::string_view, kChannelCount> kUnits = {
      "\xB0"
      "C",
      "\xB0"
      "C",
      "\xB0"
      "C",
      "%UR",
      "bar",
      "m\xB3/h",
      "\xB0"
      "C",
      "\xB0"
      "F"};
  for (int c = 0; c < kChannelCount; ++c) {
    registers_[kChannelWord + c] = kChannelWords[c];
    registers_[kMultiplier + c] = kMultipliers[c];
    putText(kTag + 4 * c, 4, kTags[c]);
    putText(kUnitText + 4 * c, 4, kUnits[c]);
  }
  for (int i = 0; i < 2 * kChannelCount; ++i) {
    registers_[kSetPoint + i] = kSetPoints[i];
    registers_[kScaleLow + i] = kScales[i];
  }
  const std::string title = setup.index < 9 ? "Registrador Lab" + std::to_string(setup.index + 1)
                                            : "Registrador " + std::to_string(setup.index + 1);
  putText(kTitle, 8, title);

  const CalendarTime today = clock_.At(bornAt_);
  registers_[kModeWord] = 0;  // start by command, no programmed stop, no overwrite
  registers_[42] = BytePair(0, 0);
  registers_[43] = BytePair(8, today.day);
  registers_[44] = BytePair(today.month, today.yearIndex);
  registers_[45] = BytePair(0, 0);
  registers_[46] = BytePair(18, today.day);
  registers_[47] = BytePair(today.month, today.yearIndex);
  registers_[kCommand] = kCommandStart;
  registers_[kBaseInterval] = BytePair(0, 2);  // 0 tenths, 2 seconds
  registers_[kBaseInterval + 1] = BytePair(0, 0);
  registers_[kFilters] = BytePair(2, 3);
  registers_[kFilters + 1] = BytePair(1, 1);
  registers_[kFilters + 2] = BytePair(4, 0);
  registers_[kFilters + 3] = BytePair(0, 0);
  registers_[kDecimals] = (1 << 6) | (2 << 8);  // channel 3: one decimal, channel 4: two
  registers_[kThermocoupleDecimal] = 0x0002;    // channel 1 shows tenths
  registers_[13] = BytePair(1, 0);              // spare channel 6: open input
  registers_[kMains] = 60;
  registers_[kCapacityHigh] = 1;  // 65536 acquisitions
  registers_[kCapacityLow] = 0;
  registers_[kSerialHigh] = 2107;
  registers_[kSerialLow] = static_cast<std::int16_t>(3512 + setup.index);
  registers_[kFirmware] = static_cast<std::int16_t>(setup.firmwareVersion);
  registers_[kIdentity] = 32;
  storedCount_ = 1234;

  // Offset words, per channel for the groups millivolt, thermocouple, Pt100 and current at
  // words 8c+6, 8c+8, 8c+10 and 8c+12.
  constexpr std::array<std::array<std::int16_t, 4>, kChannelCount> kOffsets = {{{-1, 4, -2, 7},
                                                                                {5, -3, 1, 0},
                                                                                {0, 2, -6, 3},
                                                                                {2, 0, 3, -5},
                                                                                {-4, 1, 0, 12},
                                                                                {6, -7, 2, -1},
                                                                                {-3, 5, -1, 4},
                                                                                {1, 0, 4, -2}}};
  for (int c = 0; c < kChannelCount; ++c) {
    for (int g = 0; g < 4; ++g) offsets_[8 * c + 6 + 2 * g] = kOffsets[c][g];
  }
}

bool SimulatedLogger::Answers(std::uint8_t address, bool aloneOnLine) const {
  return address == address_ || (address == 0 && aloneOnLine);
}

std::vector<std::uint8_t> SimulatedLogger::Handle(std::span<const std::uint8_t> request,
                                                  Instant now) {
  switch (request[1]) {
    case kReadHolding:
      return ReadHolding(request, now);
    case kWriteSingle:
      return WriteHolding(request, now);
    case kReadOffsetWord:
      return ReadOffset(request);
    case kWriteOffsetWord:
      return WriteOffset(request);
    default:
      return ExceptionReply(request[0], request[1], kIllegalFunction);
  }
}

std::vector<std::uint8_t> SimulatedLogger::ReadHolding(std::span<const std::uint8_t> request,
                                                       Instant now) const {
  const int first = Word(request, 2);
  const int count = Word(request, 4);
  if (count < 1 || count > kMaxReadCount) {
    return ExceptionReply(request[0], request[1], kIllegalValue);
  }
  if (first + count > kRegisterCount) {
    return ExceptionReply(request[0], request[1], kIllegalAddress);
  }
  std::vector<std::uint8_t> reply = {request[0], request[1], static_cast<std::uint8_t>(2 * count)};
  for (int reg = first; reg < first + count; ++reg) {
    const auto word = static_cast<std::uint16_t>(Register(reg, now));
    reply.push_back(static_cast<std::uint8_t>(word >> 8));
    reply.push_back(static_cast<std::uint8_t>(word & 0xFF));
  }
  return WithCrc(std::move(reply));
}

std::vector<std::uint8_t> SimulatedLogger::WriteHolding(std::span<const std::uint8_t> request,
                                                        Instant now) {
  const int reg = Word(request, 2);
  if (reg >= kRegisterCount) return ExceptionReply(request[0], request[1], kIllegalAddress);
  const std::uint8_t refused = StoreWrite(reg, static_cast<std::int16_t>(Word(request, 4)), now);
  if (refused != 0) return ExceptionReply(request[0], request[1], refused);
  return {request.begin(), request.begin() + 8};
}

std::vector<std::uint8_t> SimulatedLogger::ReadOffset(std::span<const std::uint8_t> request) const {
  const int word = Word(request, 2);
  if (word >= kOffsetWordCount) return ExceptionReply(request[0], request[1], kIllegalAddress);
  const auto value = static_cast<std::uint16_t>(offsets_[word]);
  return WithCrc({request[0], request[1], static_cast<std::uint8_t>(value >> 8),
                  static_cast<std::uint8_t>(value & 0xFF)});
}

std::vector<std::uint8_t> SimulatedLogger::WriteOffset(std::span<const std::uint8_t> request) {
  const int word = Word(request, 2);
  if (word >= kOffsetWordCount) return ExceptionReply(request[0], request[1], kIllegalAddress);
  offsets_[word] = static_cast<std::int16_t>(Word(request, 4));
  return {request.begin(), request.begin() + 8};
}

std::uint8_t SimulatedLogger::StoreWrite(int reg, std::int16_t value, Instant now) {
  // Read-only registers acknowledge a write and keep their value, as the logger does.
  if (IsReadOnly(reg)) return 0;
  switch (reg) {
    case 14:
    case 15:
    case 16:
      clock_.WriteRegister(reg, value, now);
      return 0;
    case kCommand:
      registers_[reg] = value;
      SetCommand(value, now);
      return 0;
    case kAddress:
      if (value < 1 || value > 247) return kIllegalValue;
      pending_.address = value;
      return 0;
    case kBaudCode:
      if (value < 0 || value >= static_cast<int>(kBaudRates.size())) return kIllegalValue;
      pending_.baudRate = kBaudRates[static_cast<std::size_t>(value)];
      return 0;
    case kParity:
      if (value < 0 || value > 2) return kIllegalValue;
      pending_.parity = value;
      return 0;
    default:
      break;
  }
  if (ChangesAcquisitionProgram(reg)) SettleAcquisitions(now);
  registers_[reg] = value;
  return 0;
}

void SimulatedLogger::SetCommand(std::int16_t value, Instant now) {
  if (value == kCommandStart) {
    SettleAcquisitions(now);
    logging_ = true;
    loggingSince_ = now;
    intervalsDone_ = 0;
    programDone_ = false;
  } else if (value == kCommandStop) {
    SettleAcquisitions(now);
    logging_ = false;
  }
}

void SimulatedLogger::CommitLineChanges() {
  if (pending_.address) address_ = *pending_.address;
  if (pending_.baudRate) baudRate_ = *pending_.baudRate;
  if (pending_.parity) parity_ = *pending_.parity;
  pending_ = {};
}

std::int16_t SimulatedLogger::Register(int reg, Instant now) const {
  if (reg >= 0 && reg < static_cast<int>(pinned_.size()) && pinned_[reg]) return registers_[reg];
  if (reg < kChannelCount) return Reading(reg, now);
  switch (reg) {
    case 8:
      return AlarmFlags(now);
    case 9:
      return StatusFlags(now);
    case 14:
    case 15:
    case 16:
      return clock_.RegisterAt(reg, now);
    case kCountHigh:
      return static_cast<std::int16_t>(Acquisitions(now).count >> 16);
    case kCountLow:
      return static_cast<std::int16_t>(Acquisitions(now).count & 0xFFFF);
    case kAddress:
      return static_cast<std::int16_t>(address_);
    case kBaudCode: {
      const auto code = std::find(kBaudRates.begin(), kBaudRates.end(), baudRate_);
      return static_cast<std::int16_t>(code == kBaudRates.end() ? kBaudRates.size() - 1
                                                                : code - kBaudRates.begin());
    }
    case kParity:
      return static_cast<std::int16_t>(parity_);
    default:
      return registers_[reg];
  }
}

void SimulatedLogger::SetRegister(int reg, std::int16_t value, Instant now) {
  if (reg < 0 || reg >= kRegisterCount) return;
  if (reg < static_cast<int>(pinned_.size())) {
    registers_[reg] = value;
    pinned_[reg] = true;
    return;
  }
  switch (reg) {
    case 14:
    case 15:
    case 16:
      clock_.WriteRegister(reg, value, now);
      return;
    case kCountHigh:
    case kCountLow: {
      SettleAcquisitions(now);
      const auto count = static_cast<std::uint32_t>(storedCount_);
      const auto word = static_cast<std::uint32_t>(static_cast<std::uint16_t>(value));
      storedCount_ =
          reg == kCountHigh ? (word << 16) | (count & 0xFFFF) : (count & 0xFFFF0000u) | word;
      return;
    }
    case kAddress:
      address_ = value;
      return;
    case kBaudCode:
      if (value >= 0 && value < static_cast<int>(kBaudRates.size())) {
        baudRate_ = kBaudRates[static_cast<std::size_t>(value)];
      }
      return;
    case kParity:
      parity_ = value;
      return;
    default:
      if (ChangesAcquisitionProgram(reg)) SettleAcquisitions(now);
      registers_[reg] = value;
      if (reg == kCommand) SetCommand(value, now);
  }
}

std::int16_t SimulatedLogger::OffsetWord(int word) const {
  return word >= 0 && word < kOffsetWordCount ? offsets_[word] : 0;
}

void SimulatedLogger::SetOffsetWord(int word, std::int16_t value) {
  if (word >= 0 && word < kOffsetWordCount) offsets_[word] = value;
}

int SimulatedLogger::OffsetWordOfChannel(int channel) const {
  const int type = Raw(kChannelWord + channel) & 0x1F;
  if (type <= 6) return 8 * channel + 8;                               // thermocouples J..S
  if (type == 8) return 8 * channel + 10;                              // Pt100
  if (type >= 9 && type <= kFirstLinearType) return 8 * channel + 12;  // 4-20 mA
  return 8 * channel + 6;                                              // thermocouple B, millivolts
}

std::int16_t SimulatedLogger::Reading(int channel, Instant now) const {
  const std::uint16_t word = Raw(kChannelWord + channel);
  if ((word & 0x80) == 0) return 0;
  const int type = word & 0x1F;
  if (type > kLastLinearType) return 0;
  const double seconds = std::chrono::duration<double>(now - bornAt_).count();
  const Profile& profile = kProfiles[static_cast<std::size_t>(channel)];
  const double wave = std::sin(2 * std::numbers::pi * seconds / profile.periodSeconds);
  const auto halfSecond = static_cast<std::int64_t>(seconds * 2);
  double counts = 0;
  if (type >= kFirstLinearType) {
    const double low = registers_[kScaleLow + 2 * channel];
    const double high = registers_[kScaleLow + 2 * channel + 1];
    counts = low + (high - low) * (0.5 + 0.15 * wave) + Jitter(seed_, channel, halfSecond, 1);
    counts = std::clamp(counts, std::min(low, high), std::max(low, high));
  } else {
    const Range range = kSensorRanges[static_cast<std::size_t>(type) % kSensorRanges.size()];
    double celsius = std::clamp(profile.centre + profile.swing * wave, range.low, range.high);
    const bool fahrenheit = (word & 0x20) != 0;
    const double degrees = fahrenheit ? celsius * 1.8 + 32 : celsius;
    const bool tenths =
        IsPt100Kind(type) || (IsThermocouple(type) && ((Raw(kThermocoupleDecimal) >> channel) & 1));
    counts = degrees * (tenths ? 10 : 1) + Jitter(seed_, channel, halfSecond, tenths ? 2 : 0);
  }
  return ClampToCounts(counts + offsets_[OffsetWordOfChannel(channel)]);
}

std::int16_t SimulatedLogger::AlarmFlags(Instant now) const {
  int flags = 0;
  for (int c = 0; c < kChannelCount; ++c) {
    const std::uint16_t word = Raw(kChannelWord + c);
    if ((word & 0x80) == 0) continue;
    const int type = word & 0x1F;
    // Set points of thermocouples are whole degrees even when readings come in tenths.
    const bool tenths = IsThermocouple(type) && ((Raw(kThermocoupleDecimal) >> c) & 1);
    const int reading = Register(c, now) / (tenths ? 10 : 1);
    for (int alarm = 0; alarm < 2; ++alarm) {
      const int kind = (word >> (8 + 4 * alarm)) & 3;
      const int setPoint = registers_[kSetPoint + 2 * c + alarm];
      if ((kind & 1) && reading < setPoint) flags |= 1 << (2 * c);
      if ((kind & 2) && reading > setPoint) flags |= 1 << (2 * c + 1);
    }
  }
  return static_cast<std::int16_t>(flags);
}

std::int16_t SimulatedLogger::StatusFlags(Instant now) const {
  const AcquisitionState state = Acquisitions(now);
  int flags = 0;
  if (state.memoryFull) flags |= 1 << 2;
  if (logging_ && !state.memoryFull && !state.programDone) flags |= 1 << 3;
  if (state.programDone) flags |= 1 << 4;
  return static_cast<std::int16_t>(flags);
}

std::int64_t SimulatedLogger::BaseIntervalTenths() const {
  const std::uint16_t first = Raw(kBaseInterval);
  const std::uint16_t second = Raw(kBaseInterval + 1);
  return (first >> 8) + 10LL * (first & 0xFF) + 600LL * (second >> 8) + 36000LL * (second & 0xFF);
}

std::int64_t SimulatedLogger::MemoryCapacity() const {
  return (static_cast<std::int64_t>(registers_[kCapacityHigh]) << 16) | Raw(kCapacityLow);
}

SimulatedLogger::AcquisitionState SimulatedLogger::Acquisitions(Instant now) const {
  AcquisitionState state{.count = storedCount_, .memoryFull = false, .programDone = programDone_};
  const bool overwrite = (Raw(kModeWord) & 1) != 0;
  const std::int64_t capacity = MemoryCapacity();
  const std::int64_t base = BaseIntervalTenths();
  if (logging_ && base > 0 && !state.programDone) {
    const auto tenths =
        std::chrono::duration_cast<std::chrono::milliseconds>(now - loggingSince_).count() / 100;
    std::int64_t intervals = intervalsDone_ + std::max<std::int64_t>(0, tenths / base);
    const bool stopsAfterIntervals = ((Raw(kModeWord) >> 1) & 3) == 2;
    const std::int64_t limit =
        (static_cast<std::int64_t>(registers_[kStopAfterHigh]) << 16) | Raw(kStopAfterLow);
    if (stopsAfterIntervals && intervals >= limit) {
      intervals = std::max(limit, intervalsDone_);
      state.programDone = true;
    }
    for (int c = 0; c < kChannelCount; ++c) {
      if ((Raw(kChannelWord + c) & 0x80) == 0) continue;
      const std::int64_t multiplier = std::max<std::int64_t>(1, registers_[kMultiplier + c]);
      state.count += intervals / multiplier - intervalsDone_ / multiplier;
    }
  }
  if (!overwrite && state.count >= capacity) {
    state.count = std::max<std::int64_t>(capacity, 0);
    state.memoryFull = true;
  }
  return state;
}

void SimulatedLogger::SettleAcquisitions(Instant now) {
  const AcquisitionState state = Acquisitions(now);
  const std::int64_t base = BaseIntervalTenths();
  if (logging_ && base > 0) {
    const auto tenths =
        std::chrono::duration_cast<std::chrono::milliseconds>(now - loggingSince_).count() / 100;
    const std::int64_t whole = std::max<std::int64_t>(0, tenths / base);
    intervalsDone_ += whole;
    loggingSince_ += std::chrono::milliseconds(whole * base * 100);
  } else {
    loggingSince_ = now;
  }
  storedCount_ = state.count;
  programDone_ = state.programDone;
  if (state.memoryFull || state.programDone) logging_ = false;
}

}  // namespace virelo::sim
