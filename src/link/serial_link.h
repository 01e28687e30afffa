// The single Modbus RTU master of the program: one serial port, one exchange at a time.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "link/link_status.h"
#include "link/serial_port.h"

namespace virelo::link {

// 1200 to 19200 bit/s are used as they are; every other speed is 57600.
int EffectiveBaudRate(int baudRate);
ReadTimeouts ReadTimeoutsForSpeed(int baudRate);
// How long RTS stays up after the last byte has left, by speed.
int PostTransmitDelayMs(int baudRate);
// The device a port number stands for where no platform name is given.
std::string DeviceNameForPortNumber(int portNumber);

// Waits n milliseconds on the monotonic clock.
void DelayMs(int milliseconds);

class SerialLink {
 public:
  static constexpr std::size_t kTxBufferSize = 25;
  static constexpr std::size_t kRxBufferSize = 65535;

  explicit SerialLink(SerialPortFactory portFactory = {});

  // Line settings; set by the settings, the main window and the communication page.
  std::int16_t portNumber = 1;
  std::string portName;  // the platform's name of the port; when empty, taken from portNumber
  std::int32_t baudRate = 9600;
  std::int16_t slaveAddress = 1;
  std::int16_t parity = 0;    // 0 none, 1 odd, 2 even
  std::int16_t stopBits = 2;  // 0 one stop bit, 2 two

  std::unique_ptr<SerialPort> portHandle;  // null while not connected
  std::array<std::uint8_t, kTxBufferSize> txBuffer{};
  std::vector<std::uint8_t> rxBuffer = std::vector<std::uint8_t>(kRxBufferSize);
  std::uint16_t crc = 0;
  std::int32_t expectedReplyLength = 0;
  LinkStatus status = LinkStatus::Ok;

  // The pending request, set by the caller right before each exchange.
  std::int32_t functionCode = ReadHoldingRegisters;
  std::int32_t registerAddress = 0;
  std::int32_t registerCount = 1;
  std::int32_t writeValue = 0;
  std::int16_t* destination = nullptr;

  // Opens the port with the line settings above. Returns false on success, true on failure.
  bool OpenPort();
  void ClosePort();
  bool IsConnected() const { return portHandle != nullptr; }
  // One exchange described by the request fields. Returns false on success, true on failure
  // with the reason in `status`.
  bool Transact();

  // Seams: every frame sent and every read's bytes as they arrived (echo included), and the
  // pause between tries (DelayMs unless replaced).
  std::function<void(bool sent, std::span<const std::uint8_t> bytes)> trace;
  std::function<void(int milliseconds)> pause = DelayMs;

 private:
  enum class LineEcho { Unknown, Echoes, Silent };

  std::size_t BuildRequest();
  bool Transmit(std::size_t length);
  bool ReceiveReply();
  void ValidateReply();
  void LearnLineEcho(std::span<const std::uint8_t> received);
  bool ReplyCompleteWithoutEcho(std::span<const std::uint8_t> received);

  SerialPortFactory portFactory_;
  ReadTimeouts readTimeouts_{};
  LineEcho lineEcho_ = LineEcho::Unknown;
};

}  // namespace virelo::link
