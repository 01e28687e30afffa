// One simulated logger: its holding registers, its offset words, and what it does with a
// request frame. It knows nothing of terminals or timing; the line that carries the frames
// (SimulatedLine) decides when a request reaches it and when its reply leaves.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sim/logger_clock.h"

namespace virelo::sim {

inline constexpr int kRegisterCount = 201;   // holding registers 0..200
inline constexpr int kOffsetWordCount = 70;  // offset words 0..69; the channels use 6..68
inline constexpr int kChannelCount = 8;
inline constexpr int kMaxReadCount = 125;

// Modbus exception codes the logger answers with.
inline constexpr std::uint8_t kIllegalFunction = 1;
inline constexpr std::uint8_t kIllegalAddress = 2;
inline constexpr std::uint8_t kIllegalValue = 3;

// The speeds of the baud-rate register, by code 0..5.
inline constexpr std::array<int, 6> kBaudRates = {1200, 2400, 4800, 9600, 19200, 57600};

// Builds a frame from its bytes without CRC and appends the CRC (low byte first).
std::vector<std::uint8_t> WithCrc(std::vector<std::uint8_t> bytes);

// A Modbus exception reply: address, code | 0x80, exception, CRC.
std::vector<std::uint8_t> ExceptionReply(std::uint8_t address, std::uint8_t code,
                                         std::uint8_t exception);

// A short text naming what an 8-byte request asks for, e.g. "read 200 x1", "write 49 = 15",
// "read offset 8", "write offset 8 = -3".
std::string DescribeRequest(std::span<const std::uint8_t> request);

struct LoggerSetup {
  int address = 1;
  int baudRate = 9600;
  int parity = 0;  // 0 none, 1 odd, 2 even
  int firmwareVersion = 220;
  int index = 0;  // position on the line; varies the serial number and the title
  unsigned seed = 1;
  std::optional<CalendarTime> clockStart{};  // empty: the PC's local time
};

class SimulatedLogger {
 public:
  SimulatedLogger(const LoggerSetup& setup, Instant now);

  int Address() const { return address_; }
  int BaudRate() const { return baudRate_; }
  int Parity() const { return parity_; }

  // True when this logger takes a request carrying `address`: its own, or 0 when it is the
  // only logger on the line.
  bool Answers(std::uint8_t address, bool aloneOnLine) const;

  // Acts on a request whose CRC is valid and which this logger answers, and returns the
  // reply. The reply carries the request's address byte (0 for a request to address 0).
  //  3    1..125 registers; a count outside that gives exception 3, registers beyond 200
  //       exception 2.
  //  6    the reply repeats the request. Read-only registers (0..13, 180, 182, 195..200)
  //       acknowledge the write and keep their value; 14..16 set the clock; 49 = 15 starts
  //       logging and 0 stops it; 186 (1..247), 187 (speed code 0..5) and 178 (parity 0..2)
  //       change the line settings, a value outside those ranges gives exception 3; every
  //       other register up to 200 stores the value.
  //  112  one offset word, reply address, 112, value, CRC; 113 stores it and repeats the
  //       request. Words beyond 69 give exception 2.
  //  any other code: exception 1.
  // Changes of address, speed and parity are held back until CommitLineChanges().
  std::vector<std::uint8_t> Handle(std::span<const std::uint8_t> request, Instant now);

  // The reply has left: address, speed and parity written by the last request take effect.
  void CommitLineChanges();

  // The register as a read at `now` returns it.
  std::int16_t Register(int reg, Instant now) const;
  // Stores a register as a test or the user wants it, bypassing the write rules. A live
  // register 0..13 set this way is pinned: it keeps the value instead of moving. Clock
  // registers set the clock; 182/195 set the acquisition count; 186/187/178 change the line
  // settings at once.
  void SetRegister(int reg, std::int16_t value, Instant now);

  std::int16_t OffsetWord(int word) const;
  void SetOffsetWord(int word, std::int16_t value);

 private:
  struct PendingLineChange {
    std::optional<int> address;
    std::optional<int> baudRate;
    std::optional<int> parity;
  };

  void FillDefaultContents(const LoggerSetup& setup);
  std::vector<std::uint8_t> ReadHolding(std::span<const std::uint8_t> request, Instant now) const;
  std::vector<std::uint8_t> WriteHolding(std::span<const std::uint8_t> request, Instant now);
  std::vector<std::uint8_t> ReadOffset(std::span<const std::uint8_t> request) const;
  std::vector<std::uint8_t> WriteOffset(std::span<const std::uint8_t> request);
  // Returns an exception code when the value is refused, 0 when it was taken.
  std::uint8_t StoreWrite(int reg, std::int16_t value, Instant now);
  void SetCommand(std::int16_t value, Instant now);

  // Live values, computed from the configuration and the time.
  std::int16_t Reading(int channel, Instant now) const;
  std::int16_t AlarmFlags(Instant now) const;
  std::int16_t StatusFlags(Instant now) const;
  // Acquisitions made at `now`, with whether the memory has filled or the programmed number
  // of intervals has run out.
  struct AcquisitionState {
    std::int64_t count = 0;
    bool memoryFull = false;
    bool programDone = false;
  };
  AcquisitionState Acquisitions(Instant now) const;
  // Folds the acquisitions made so far into the stored count before the program changes.
  void SettleAcquisitions(Instant now);
  std::int64_t BaseIntervalTenths() const;
  std::int64_t MemoryCapacity() const;
  int OffsetWordOfChannel(int channel) const;
  std::uint16_t Raw(int reg) const { return static_cast<std::uint16_t>(registers_[reg]); }

  std::array<std::int16_t, kRegisterCount> registers_{};
  std::array<bool, 14> pinned_{};
  std::array<std::int16_t, kOffsetWordCount> offsets_{};
  LoggerClock clock_;
  Instant bornAt_;
  unsigned seed_;
  int address_;
  int baudRate_;
  int parity_;
  PendingLineChange pending_;
  bool logging_ = true;
  Instant loggingSince_;
  std::int64_t storedCount_ = 0;    // acquisitions made up to loggingSince_
  std::int64_t intervalsDone_ = 0;  // base intervals run since logging started, to loggingSince_
  bool programDone_ = false;        // a programmed number of intervals has run out
};

}  // namespace virelo::sim
