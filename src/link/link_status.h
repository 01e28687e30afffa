// Outcome of one exchange with the logger, and the function codes the configurator sends.
#pragma once

#include <cstdint>

namespace virelo::link {

enum class LinkStatus : std::uint8_t {
  Ok = 0,
  WrongAddress = 1,
  BadByteCount = 2,  // reserved
  BadRegisterAddress = 3,
  ValueMismatch = 4,
  ExceptionReply = 5,  // reserved
  InvalidCommand = 6,
  CrcError = 7,
  Timeout = 8,
  PortNotConnected = 9,
};

enum ModbusFunction : std::int32_t {
  ReadHoldingRegisters = 3,
  WriteSingleRegister = 6,
  ReadOffsetWord = 112,
  WriteOffsetWord = 113,
};

}  // namespace virelo::link
