// A serial port whose line is scripted by the test: each read hands out the next scripted
// reply byte by byte, as a device would, and notes whether the read ended early.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "link/serial_port.h"

namespace virelo::link::testing {

struct FakeLine {
  std::deque<std::vector<std::uint8_t>> replies;  // what each read receives, in order
  std::vector<std::vector<std::uint8_t>> written;
  std::vector<bool> readsEndedEarly;
  bool opens = true;
  bool configures = true;
  bool drains = true;
};

class FakeSerialPort final : public SerialPort {
 public:
  explicit FakeSerialPort(std::shared_ptr<FakeLine> line) : line_(std::move(line)) {}

  bool Open(const std::string&) override { return open_ = line_->opens; }
  bool IsOpen() const override { return open_; }
  bool ConfigureLine(const LineSettings&) override { return line_->configures; }
  void SetRts(bool) override {}
  void Purge(bool, bool) override {}
  void Write(std::span<const std::uint8_t> bytes) override {
    line_->written.emplace_back(bytes.begin(), bytes.end());
  }
  bool WaitTransmitEmpty() override { return line_->drains; }
  std::size_t Read(std::span<std::uint8_t> buffer, const ReadTimeouts&,
                   const ReadEndsEarly& endsEarly) override {
    std::vector<std::uint8_t> reply;
    if (!line_->replies.empty()) {
      reply = std::move(line_->replies.front());
      line_->replies.pop_front();
    }
    std::size_t received = 0;
    bool early = false;
    for (std::uint8_t byte : reply) {
      if (received == buffer.size()) break;
      buffer[received++] = byte;
      if (received < buffer.size() && endsEarly && endsEarly(buffer.first(received))) {
        early = true;
        break;
      }
    }
    line_->readsEndedEarly.push_back(early);
    return received;
  }
  void Close() override { open_ = false; }

 private:
  std::shared_ptr<FakeLine> line_;
  bool open_ = false;
};

inline SerialPortFactory FakePortFactory(std::shared_ptr<FakeLine> line) {
  return [line] { return std::make_unique<FakeSerialPort>(line); };
}

}  // namespace virelo::link::testing
