// The pseudo-terminal pair that stands in for a serial line: the configurator opens the
// slave side by its path, the simulator works the master side.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace virelo::sim {

// Speed and parity of a line (parity 0 none, 1 odd, 2 even).
struct LineSettings {
  int baudRate = 9600;
  int parity = 0;

  bool operator==(const LineSettings&) const = default;
};

// "none", "odd" or "even".
const char* ParityName(int parity);

// "19200 even".
std::string DescribeLine(const LineSettings& line);

class PseudoTerminal {
 public:
  PseudoTerminal() = default;
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  // Opens the pair and puts the slave side in raw mode with `initial` speed and parity, so
  // that a program which does not set the line itself still matches the logger. The slave
  // is closed again at once; the master is left non-blocking.
  bool Open(const LineSettings& initial, std::string* error);
  void Close();

  int MasterFd() const { return master_; }
  const std::string& SlavePath() const { return slavePath_; }

  // The line settings the program on the slave side has set. A pseudo-terminal keeps the
  // speed, the two-stop-bit flag and the odd-parity flag but clears the parity-enable flag,
  // so parity is read from what survives: two stop bits mean none, one stop bit with the odd
  // flag odd, one without it even.
  std::optional<LineSettings> Settings() const;

  // Writes all of `bytes` to the master; false when the far side has gone.
  bool Write(std::span<const std::uint8_t> bytes) const;

 private:
  int master_ = -1;
  std::string slavePath_;
};

// Sleeps until `deadline` on the monotonic clock (an absolute deadline, so that a series of
// waits does not add up errors).
void SleepUntil(std::chrono::steady_clock::time_point deadline);

}  // namespace virelo::sim
