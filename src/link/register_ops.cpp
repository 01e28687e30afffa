#include "link/register_ops.h"

#include <algorithm>
#include <array>

namespace virelo::link {
namespace {

constexpr int kFirstBlockCount = 125;
constexpr int kSecondBlockCount = kImageRegisterCount - kFirstBlockCount;
constexpr int kStatusTextBase = 83;

// Runs the pending request up to `tries` times, pausing `pauseMs` between tries.
LinkStatus TryExchange(SerialLink& link, int tries, int pauseMs) {
  for (int attempt = 1;; ++attempt) {
    if (!link.Transact()) return LinkStatus::Ok;
    if (attempt >= tries) return link.status;
    if (pauseMs > 0) link.pause(pauseMs);
  }
}

LinkStatus ReadBlock(SerialLink& link, int first, int count, std::int16_t* destination,
                     int pauseMs) {
  link.functionCode = ReadHoldingRegisters;
  link.registerAddress = first;
  link.registerCount = count;
  link.destination = destination;
  return TryExchange(link, kReadTries, pauseMs);
}

}  // namespace

LinkStatus ReadRegisters(SerialLink& link, int first, int count, std::int16_t* destination) {
  return ReadBlock(link, first, count, destination, kPauseBetweenTriesMs);
}

LinkStatus ReadRegister(SerialLink& link, int reg, std::int16_t* destination) {
  return ReadRegisters(link, reg, 1, destination);
}

LinkStatus WriteRegister(SerialLink& link, int reg, std::int16_t value) {
  link.functionCode = WriteSingleRegister;
  link.registerAddress = reg;
  link.writeValue = value;
  if (const LinkStatus written = TryExchange(link, kReadTries, kPauseBetweenTriesMs);
      written != LinkStatus::Ok) {
    return written;
  }
  link.pause(kPauseBetweenTriesMs);
  std::int16_t readBack = 0;
  return ReadRegister(link, reg, &readBack);
}

LinkStatus ReadRegisterImage(SerialLink& link, RegisterImage& image,
                             const std::function<void(int position)>& progress) {
  RegisterImage blocks{};
  if (const LinkStatus first = ReadBlock(link, 0, kFirstBlockCount, blocks.data(), 0);
      first != LinkStatus::Ok) {
    return first;
  }
  if (progress) progress(60);
  if (const LinkStatus second =
          ReadBlock(link, kFirstBlockCount, kSecondBlockCount, blocks.data() + kFirstBlockCount, 0);
      second != LinkStatus::Ok) {
    return second;
  }
  if (progress) progress(100);
  image = blocks;
  return LinkStatus::Ok;
}

LinkStatus ReadOffset(SerialLink& link, int word, std::int16_t* destination) {
  link.functionCode = ReadOffsetWord;
  link.registerAddress = word;
  link.destination = destination;
  return TryExchange(link, kReadTries, 0);
}

LinkStatus WriteOffset(SerialLink& link, int word, std::int16_t value) {
  link.functionCode = WriteOffsetWord;
  link.registerAddress = word;
  link.writeValue = value;
  return TryExchange(link, 1, 0);
}

const std::string& LinkStatusText(LinkStatus status, const text::MessageTable& table) {
  return table[kStatusTextBase + static_cast<int>(status)];
}

}  // namespace virelo::link
