// A serial line made of a pseudo-terminal with one or more simulated loggers on it. The
// configurator opens DevicePath() like any serial port; a service thread reads its requests,
// hands them to the logger they are addressed to and writes the replies back, with the echo,
// pacing, delays and injected faults the options ask for.
//
// - A logger hears a request only when the line's speed and parity, as the configurator set
//   them on the terminal, are its own; otherwise the request is logged as ignored.
// - A request is handled as soon as its 8th byte has arrived. Eight bytes with a bad CRC are
//   dropped, and so is everything after them until the line has been silent for 3.5
//   characters (at least 2 ms); so is a fragment followed by such a silence.
// - Address 0 is answered by a lone logger only; with several loggers nobody answers it.
// - Times in the records: a request at the (virtual) arrival of its last byte, an echo with
//   its request, a reply when its last byte is due. A reply is in Records() before its last
//   byte can be read.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sim/frame_log.h"
#include "sim/pseudo_terminal.h"
#include "sim/simulated_logger.h"

namespace virelo::sim {

// Faults injected into the reply to a request:
//  Silent        no reply; the logger did not act on the request (a write has no effect)
//  BadCrc        the reply with one CRC byte flipped
//  WrongAddress  a correct reply (valid CRC) from address + 1, wrapping within 1..247
//  Short         the reply without its last 2 bytes
//  Noise         random bytes of the reply's length, with a wrong CRC
//  Exception     the exception reply "slave device failure" (4); the logger did not act
// With BadCrc, WrongAddress, Short and Noise the logger did act (a write takes effect) and
// only its reply was damaged on the way.
enum class FaultKind { Silent, BadCrc, WrongAddress, Short, Noise, Exception };

// "silent", "badcrc", "wrongaddr", "short", "noise", "exception".
std::optional<FaultKind> ParseFaultKind(std::string_view name);
const char* FaultName(FaultKind kind);

// A fault for the N-th request received on the line (1-based, every 8-byte frame counts).
struct Fault {
  int requestNumber = 0;
  FaultKind kind = FaultKind::Silent;
};

// The reply as a fault damages it. Silent gives an empty reply; Exception is built from the
// request, not from the reply. `random` supplies the bytes of Noise.
std::vector<std::uint8_t> DamageReply(std::vector<std::uint8_t> reply,
                                      std::span<const std::uint8_t> request, FaultKind kind,
                                      std::mt19937& random);

struct SimOptions {
  int address = 1;
  int baudRate = 9600;
  int parity = 0;  // 0 none, 1 odd, 2 even
  int firmwareVersion = 220;
  bool echo = false;  // the line hands every request back, as a half-duplex line does
  bool pace = false;  // bytes travel at the line's speed, 11 bits a character
  int replyDelayMs = 2;
  int loggers = 1;  // several loggers take the addresses address, address + 1, ...
  std::vector<Fault> faults{};
  double faultRate = 0;  // fraction of requests given a random fault
  unsigned seed = 1;
  std::string logPath{};                     // JSON lines; empty = none
  std::size_t keptRecords = 100000;          // Records() holds at most this many, the latest
  std::optional<CalendarTime> clockStart{};  // the loggers' clock at start; empty = local time
};

class SimulatedLine {
 public:
  explicit SimulatedLine(SimOptions options);
  ~SimulatedLine();
  SimulatedLine(const SimulatedLine&) = delete;
  SimulatedLine& operator=(const SimulatedLine&) = delete;

  // Opens the pseudo-terminal pair and the log, and starts the service thread.
  bool Start(std::string* error = nullptr);
  // Stops the thread and closes the pseudo-terminal and the log.
  void Stop();

  // The path of the terminal the configurator opens.
  const std::string& DevicePath() const { return terminal_.SlavePath(); }

  void AddFault(Fault fault);
  std::vector<FrameRecord> Records() const { return log_.Records(); }
  void ClearRecords() { log_.Clear(); }
  int RequestsReceived() const { return requestsReceived_.load(); }

  // Logger index 0..loggers-1. Out-of-range indexes read 0 and change nothing.
  std::int16_t Register(int logger, int reg) const;
  void SetRegister(int logger, int reg, std::int16_t value);
  std::int16_t OffsetWord(int logger, int word) const;
  void SetOffsetWord(int logger, int word, std::int16_t value);
  int Address(int logger) const;
  int BaudRate(int logger) const;
  int Parity(int logger) const;

 private:
  using Bytes = std::vector<std::uint8_t>;
  using Seconds = std::chrono::duration<double>;

  // Bytes collected towards the next frame.
  struct Receiver {
    Bytes frame;
    Bytes stray;  // bytes dropped until the line falls silent
    bool resyncing = false;
    Instant lastByte{};
  };

  void Serve();
  void TakeBytes(std::span<const std::uint8_t> bytes, Instant seen, Receiver& receiver);
  void DropAfterSilence(Receiver& receiver, Instant now);
  void Answer(const Bytes& request, int number, Instant arrived, const LineSettings& line);
  std::optional<FaultKind> FaultFor(int number);
  void Echo(std::uint8_t byte, Instant arrival);
  void FlushEcho();
  // Writes `bytes` starting at `start`; paced, byte k leaves at start + (k+1) characters.
  // `beforeLastByte` gets the time the last byte is due, just before it is written.
  void Send(const Bytes& bytes, Instant start, Seconds character,
            const std::function<void(Instant)>& beforeLastByte);
  void Record(bool received, Bytes bytes, std::string action, int number, Instant when);
  LineSettings CurrentLine() const;
  bool ValidLogger(int logger) const;

  SimOptions options_;
  PseudoTerminal terminal_;
  FrameLog log_;
  mutable std::mutex mutex_;  // guards loggers_, faults_ and random_
  std::vector<SimulatedLogger> loggers_;
  std::vector<Fault> faults_;
  std::mt19937 random_;
  std::atomic<int> requestsReceived_{0};
  std::atomic<bool> stopping_{false};
  std::thread thread_;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  Instant startedAt_;
  Instant lineFreeAt_{};  // virtual arrival of the last byte on the line (pacing)
  Bytes pendingEcho_;
  Seconds character_{};  // duration of one character at the current line speed
};

}  // namespace virelo::sim
