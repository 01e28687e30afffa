// Request frames built by the tests themselves, with the CRC computed here rather than by
// the simulator's own helpers.
#pragma once

#include <cstdint>
#include <vector>

#include "link/crc.h"

namespace virelo::sim::testing {

inline std::vector<std::uint8_t> Request(std::uint8_t address, std::uint8_t code, int first,
                                         int second) {
  std::vector<std::uint8_t> frame = {address,
                                     code,
                                     static_cast<std::uint8_t>(first >> 8),
                                     static_cast<std::uint8_t>(first),
                                     static_cast<std::uint8_t>(second >> 8),
                                     static_cast<std::uint8_t>(second)};
  const std::uint16_t crc = link::Crc16(frame);
  frame.push_back(static_cast<std::uint8_t>(crc & 0xFF));
  frame.push_back(static_cast<std::uint8_t>(crc >> 8));
  return frame;
}

}  // namespace virelo::sim::testing
