// The serial port as the Modbus engine uses it. The POSIX backend drives a terminal device;
// a Win32 backend can stand behind the same interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace virelo::link {

// Line settings as the engine keeps them: parity 0 none, 1 odd, 2 even; stopBits 0 for one
// stop bit, 2 for two.
struct LineSettings {
  int baudRate = 9600;
  int parity = 0;
  int stopBits = 2;
};

// Read time-outs in milliseconds: the longest gap allowed after a received byte, and the
// total time allowed for a read (perByteMs times the bytes asked, plus constantMs).
struct ReadTimeouts {
  int intervalMs = 0;
  int perByteMs = 0;
  int constantMs = 0;
};

// Looks at everything received so far in a read; true ends the read before the bytes asked
// for have all arrived.
using ReadEndsEarly = std::function<bool(std::span<const std::uint8_t> received)>;

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // Opens the device for exclusive reading and writing. False when it is missing or busy.
  virtual bool Open(const std::string& deviceName) = 0;
  virtual bool IsOpen() const = 0;
  // Reads the current line settings and applies `settings` over them in raw 8-bit mode
  // without flow control, DTR on and RTS off. False when either step fails.
  virtual bool ConfigureLine(const LineSettings& settings) = 0;
  // Raises or drops RTS. Devices that have no RTS (a pseudo-terminal) ignore it.
  virtual void SetRts(bool raised) = 0;
  // Discards pending input and/or output.
  virtual void Purge(bool input, bool output) = 0;
  virtual void Write(std::span<const std::uint8_t> bytes) = 0;
  // Waits until the last byte written has left the port. False when the wait fails.
  virtual bool WaitTransmitEmpty() = 0;
  // Reads up to buffer.size() bytes under `timeouts`; returns how many arrived. Returns as
  // soon as the buffer is full or `endsEarly` (when given) accepts what has arrived.
  virtual std::size_t Read(std::span<std::uint8_t> buffer, const ReadTimeouts& timeouts,
                           const ReadEndsEarly& endsEarly) = 0;
  virtual void Close() = 0;
};

using SerialPortFactory = std::function<std::unique_ptr<SerialPort>()>;

}  // namespace virelo::link
