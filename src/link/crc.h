// CRC-16 of Modbus RTU: accumulator starts at 0xFFFF, polynomial 0xA001 (reflected 0x8005).
// On the wire the CRC goes low byte first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace virelo::link {

inline constexpr std::uint16_t kCrcStart = 0xFFFF;

// Folds `bytes` into the accumulator `crc` and returns the new accumulator.
constexpr std::uint16_t CrcUpdate(std::uint16_t crc, std::span<const std::uint8_t> bytes) {
  for (std::uint8_t byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) {
      const bool carry = (crc & 1u) != 0;
      crc >>= 1;
      if (carry) crc ^= 0xA001;
    }
  }
  return crc;
}

constexpr std::uint16_t Crc16(std::span<const std::uint8_t> bytes) {
  return CrcUpdate(kCrcStart, bytes);
}

// True when the last two bytes of `frame` are the CRC of the bytes before them.
constexpr bool HasValidCrc(std::span<const std::uint8_t> frame) {
  if (frame.size() < 3) return false;
  const std::uint16_t crc = Crc16(frame.first(frame.size() - 2));
  return frame[frame.size() - 2] == (crc & 0xFF) && frame[frame.size() - 1] == (crc >> 8);
}

}  // namespace virelo::link
