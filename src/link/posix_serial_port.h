// Serial port on a POSIX terminal device (/dev/ttyUSB0, /dev/ttyS0, /dev/pts/N).
#pragma once

#include <memory>

#include "link/serial_port.h"

namespace virelo::link {

class PosixSerialPort final : public SerialPort {
 public:
  PosixSerialPort() = default;
  ~PosixSerialPort() override;
  PosixSerialPort(const PosixSerialPort&) = delete;
  PosixSerialPort& operator=(const PosixSerialPort&) = delete;

  bool Open(const std::string& deviceName) override;
  bool IsOpen() const override { return fd_ >= 0; }
  bool ConfigureLine(const LineSettings& settings) override;
  void SetRts(bool raised) override;
  void Purge(bool input, bool output) override;
  void Write(std::span<const std::uint8_t> bytes) override;
  bool WaitTransmitEmpty() override;
  std::size_t Read(std::span<std::uint8_t> buffer, const ReadTimeouts& timeouts,
                   const ReadEndsEarly& endsEarly) override;
  void Close() override;

 private:
  int fd_ = -1;
};

std::unique_ptr<SerialPort> MakePosixSerialPort();

}  // namespace virelo::link
