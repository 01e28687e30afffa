// The record of every frame the simulated line received and sent, kept in memory and
// optionally written as JSON lines.
#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace virelo::sim {

struct FrameRecord {
  double timeSeconds = 0;  // since the line started
  bool received = false;   // true: from the configurator; false: echo or reply
  std::vector<std::uint8_t> bytes;
  std::string action;
  int requestNumber = 0;  // the request it belongs to, 1-based; 0 for stray bytes
};

// "01 03 00 C8".
std::string HexBytes(std::span<const std::uint8_t> bytes);

// {"t":0.012345,"dir":"rx","bytes":"01 03 00 C8 00 01 05 F4","request":1,"action":"read 200 x1"}
std::string JsonLine(const FrameRecord& record);

// Thread-safe; keeps the latest `limit` records in memory.
class FrameLog {
 public:
  explicit FrameLog(std::size_t limit) : limit_(limit) {}
  ~FrameLog();
  FrameLog(const FrameLog&) = delete;
  FrameLog& operator=(const FrameLog&) = delete;

  // Starts writing JSON lines to `path` (replacing the file); false when it cannot be created.
  bool OpenFile(const std::string& path);
  void CloseFile();

  void Add(FrameRecord record);
  std::vector<FrameRecord> Records() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::size_t limit_;
  std::deque<FrameRecord> records_;
  std::FILE* file_ = nullptr;
};

}  // namespace virelo::sim
