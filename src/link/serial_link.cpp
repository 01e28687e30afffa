#include "link/serial_link.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "link/crc.h"
#include "link/posix_serial_port.h"

namespace virelo::link {
namespace {

constexpr std::size_t kRequestLength = 8;
constexpr std::size_t kEchoLength = kRequestLength;
constexpr int kMaxReadCount = 125;

std::int16_t WordAt(const std::uint8_t* bytes) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>((bytes[0] << 8) | bytes[1]));
}

int UnsignedWordAt(const std::uint8_t* bytes) {
  return (bytes[0] << 8) | bytes[1];
}

}  // namespace

int EffectiveBaudRate(int baudRate) {
  switch (baudRate) {
    case 1200:
    case 2400:
    case 4800:
    case 9600:
    case 19200:
      return baudRate;
    default:
      return 57600;
  }
}

ReadTimeouts ReadTimeoutsForSpeed(int baudRate) {
  switch (EffectiveBaudRate(baudRate)) {
    case 1200:
      return {640, 32, 148};
    case 2400:
      return {320, 16, 124};
    case 4800:
      return {160, 8, 112};
    case 9600:
      return {80, 4, 106};
    case 19200:
      return {40, 3, 103};
    default:
      return {20, 2, 102};
  }
}

int PostTransmitDelayMs(int baudRate) {
  switch (EffectiveBaudRate(baudRate)) {
    case 1200:
      return 8;
    case 2400:
      return 3;
    case 4800:
      return 2;
    default:
      return 1;
  }
}

std::string DeviceNameForPortNumber(int portNumber) {
#ifdef _WIN32
  return "\\\\.\\COM" + std::to_string(portNumber);
#else
  return "/dev/ttyS" + std::to_string(portNumber > 0 ? portNumber - 1 : 0);
#endif
}

void DelayMs(int milliseconds) {
  if (milliseconds <= 0) return;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < end) std::this_thread::sleep_until(end);
}

SerialLink::SerialLink(SerialPortFactory portFactory)
    : portFactory_(portFactory ? std::move(portFactory) : SerialPortFactory(MakePosixSerialPort)) {}

bool SerialLink::OpenPort() {
  lineEcho_ = LineEcho::Unknown;
  auto port = portFactory_();
  if (!port || !port->Open(portName.empty() ? DeviceNameForPortNumber(portNumber) : portName)) {
    portHandle.reset();
    return true;
  }
  portHandle = std::move(port);
  if (!portHandle->ConfigureLine({EffectiveBaudRate(baudRate), parity, stopBits})) return true;
  portHandle->SetRts(false);
  portHandle->Purge(true, true);
  readTimeouts_ = ReadTimeoutsForSpeed(baudRate);
  return false;
}

void SerialLink::ClosePort() {
  lineEcho_ = LineEcho::Unknown;
  if (!portHandle) return;
  portHandle->SetRts(false);
  portHandle->Purge(true, true);
  portHandle->Close();
  portHandle.reset();
}

bool SerialLink::Transact() {
  if (!portHandle || !portHandle->IsOpen()) {
    status = LinkStatus::PortNotConnected;
    return true;
  }
  crc = kCrcStart;
  portHandle->Purge(true, true);
  if (!Transmit(BuildRequest())) return true;
  if (!ReceiveReply()) return true;
  ValidateReply();
  return status != LinkStatus::Ok;
}

std::size_t SerialLink::BuildRequest() {
  int fieldValue = 0;
  switch (functionCode) {
    case ReadHoldingRegisters:
      fieldValue = registerCount;
      break;
    case WriteSingleRegister:
    case WriteOffsetWord:
      fieldValue = writeValue;
      break;
    default:
      fieldValue = 0;
      break;
  }
  txBuffer[0] = static_cast<std::uint8_t>(slaveAddress & 0xFF);
  txBuffer[1] = static_cast<std::uint8_t>(functionCode);
  txBuffer[2] = static_cast<std::uint8_t>((registerAddress >> 8) & 0xFF);
  txBuffer[3] = static_cast<std::uint8_t>(registerAddress & 0xFF);
  txBuffer[4] = static_cast<std::uint8_t>((fieldValue >> 8) & 0xFF);
  txBuffer[5] = static_cast<std::uint8_t>(fieldValue & 0xFF);
  return 6;
}

bool SerialLink::Transmit(std::size_t length) {
  crc = CrcUpdate(crc, std::span<const std::uint8_t>(txBuffer.data(), length));
  txBuffer[length] = static_cast<std::uint8_t>(crc & 0xFF);
  txBuffer[length + 1] = static_cast<std::uint8_t>(crc >> 8);
  const std::span<const std::uint8_t> request(txBuffer.data(), length + 2);
  portHandle->SetRts(true);
  portHandle->Write(request);
  if (trace) trace(true, request);
  if (!portHandle->WaitTransmitEmpty()) {
    // The adapter no longer takes bytes (removed, say): the request may not have left.
    portHandle->SetRts(false);
    status = LinkStatus::PortNotConnected;
    return false;
  }
  DelayMs(PostTransmitDelayMs(baudRate));
  portHandle->SetRts(false);
  return true;
}

bool SerialLink::ReceiveReply() {
  switch (functionCode) {
    case ReadHoldingRegisters:
      expectedReplyLength = 5 + 2 * std::clamp(registerCount, 0, kMaxReadCount);
      break;
    case ReadOffsetWord:
      expectedReplyLength = 6;
      break;
    default:
      expectedReplyLength = 8;
      break;
  }
  const std::size_t expected = static_cast<std::size_t>(expectedReplyLength);
  if (functionCode == WriteOffsetWord) DelayMs(200);
  const std::span<std::uint8_t> readBuffer(rxBuffer.data(), kEchoLength + expected);
  const std::size_t received = portHandle->Read(
      readBuffer, readTimeouts_,
      [this](std::span<const std::uint8_t> got) { return ReplyCompleteWithoutEcho(got); });
  const std::span<const std::uint8_t> arrived = readBuffer.first(received);
  if (trace) trace(false, arrived);
  LearnLineEcho(arrived);
  if (received < expected) {
    status = LinkStatus::Timeout;
    return false;
  }
  std::memmove(rxBuffer.data(), rxBuffer.data() + (received - expected), expected);
  return true;
}

// A healthy reply on a line without echo completes the read at its last byte instead of
// after an interval time-out. A read request and its reply differ within the first eight
// bytes, so a read learns that the line does not echo; a write's reply equals its request,
// so a write relies on what an earlier exchange on this open port has shown.
bool SerialLink::ReplyCompleteWithoutEcho(std::span<const std::uint8_t> received) {
  const bool isRead = functionCode == ReadHoldingRegisters || functionCode == ReadOffsetWord;
  if (isRead && lineEcho_ != LineEcho::Silent) {
    const std::size_t compared = std::min(received.size(), kEchoLength);
    if (!std::equal(received.begin(), received.begin() + static_cast<std::ptrdiff_t>(compared),
                    txBuffer.begin())) {
      lineEcho_ = LineEcho::Silent;
    }
  }
  const std::size_t expected = static_cast<std::size_t>(expectedReplyLength);
  return lineEcho_ == LineEcho::Silent && received.size() >= expected &&
         HasValidCrc(received.last(expected));
}

void SerialLink::LearnLineEcho(std::span<const std::uint8_t> received) {
  if (received.size() > kEchoLength &&
      std::equal(received.begin(), received.begin() + kEchoLength, txBuffer.begin())) {
    lineEcho_ = LineEcho::Echoes;
  }
}

void SerialLink::ValidateReply() {
  const std::uint8_t* reply = rxBuffer.data();
  const std::size_t length = static_cast<std::size_t>(expectedReplyLength);
  status = LinkStatus::Ok;
  if (functionCode == ReadHoldingRegisters && reply[2] != 2 * registerCount) {
    status = LinkStatus::Timeout;
    return;
  }
  if (!HasValidCrc(std::span<const std::uint8_t>(reply, length))) {
    status = LinkStatus::CrcError;
    return;
  }
  if (reply[0] != slaveAddress) {
    status = LinkStatus::WrongAddress;
    return;
  }
  const int replyCode = reply[1];
  // Words are stored only for the read that asked for them: a reply of another kind must
  // not write into storage sized for something else.
  const bool storesWords = replyCode == ReadHoldingRegisters || replyCode == ReadOffsetWord;
  if (storesWords && (replyCode != functionCode || destination == nullptr)) {
    status = LinkStatus::InvalidCommand;
    return;
  }
  switch (replyCode) {
    case ReadHoldingRegisters:
      for (int word = 0; word < reply[2] / 2; ++word)
        destination[word] = WordAt(reply + 3 + 2 * word);
      break;
    case WriteSingleRegister:
      if (UnsignedWordAt(reply + 2) > 255) {
        status = LinkStatus::BadRegisterAddress;
      } else if (UnsignedWordAt(reply + 4) != (writeValue & 0xFFFF)) {
        status = LinkStatus::ValueMismatch;
      }
      break;
    case ReadOffsetWord:
      destination[0] = WordAt(reply + 2);
      break;
    case WriteOffsetWord:
      if (UnsignedWordAt(reply + 2) != registerAddress) {
        status = LinkStatus::BadRegisterAddress;
      } else if (UnsignedWordAt(reply + 4) != (writeValue & 0xFFFF)) {
        status = LinkStatus::ValueMismatch;
      }
      break;
    default:
      status = LinkStatus::InvalidCommand;
      break;
  }
}

}  // namespace virelo::link
