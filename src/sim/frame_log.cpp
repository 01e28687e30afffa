#include "sim/frame_log.h"

#include <array>

namespace virelo::sim {
namespace {

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      std::array<char, 8> escaped{};
      std::snprintf(escaped.data(), escaped.size(), "\\u%04x", static_cast<unsigned char>(c));
      quoted += escaped.data();
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

}  // namespace

std::string HexBytes(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (const std::uint8_t byte : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xF];
  }
  return text;
}

std::string JsonLine(const FrameRecord& record) {
  std::array<char, 32> time{};
  std::snprintf(time.data(), time.size(), "%.6f", record.timeSeconds);
  return std::string("{\"t\":") + time.data() + ",\"dir\":\"" + (record.received ? "rx" : "tx") +
         "\",\"bytes\":\"" + HexBytes(record.bytes) +
         "\",\"request\":" + std::to_string(record.requestNumber) +
         ",\"action\":" + JsonString(record.action) + "}";
}

FrameLog::~FrameLog() {
  CloseFile();
}

bool FrameLog::OpenFile(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (file_ != nullptr) std::fclose(file_);
  file_ = std::fopen(path.c_str(), "w");
  return file_ != nullptr;
}

void FrameLog::CloseFile() {
  std::lock_guard lock(mutex_);
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

void FrameLog::Add(FrameRecord record) {
  std::lock_guard lock(mutex_);
  if (file_ != nullptr) {
    const std::string line = JsonLine(record) + "\n";
    std::fputs(line.c_str(), file_);
    std::fflush(file_);
  }
  records_.push_back(std::move(record));
  while (records_.size() > limit_) records_.pop_front();
}

std::vector<FrameRecord> FrameLog::Records() const {
  std::lock_guard lock(mutex_);
  return {records_.begin(), records_.end()};
}

void FrameLog::Clear() {
  std::lock_guard lock(mutex_);
  records_.clear();
}

}  // namespace virelo::sim
