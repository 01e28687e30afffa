// Times the link against the simulated logger, whose line carries the bytes at its speed, and
// sets each figure beside the least time that line allows (wire_limit.h). For comparison,
// libmodbus makes the same configuration read on the plain line.
//
//   virelo-link-bench [--runs N] [--speed 9600|57600] [--detail] [--frames FOLDER]
//
// --speed    measures at that speed only
// --detail   also shows, per kind of exchange, how long the link took beyond the wire limit
// --frames   writes the simulator's frame log of each line to FOLDER as JSON lines
#include <modbus.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench/wire_limit.h"
#include "link/register_ops.h"
#include "link/serial_link.h"
#include "sim/simulated_line.h"

namespace virelo::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDefaultRuns = 7;
constexpr int kWriteCount = 100;
constexpr int kFirstBlockCount = 125;
constexpr int kSecondBlockCount = link::kImageRegisterCount - kFirstBlockCount;
constexpr int kSpeeds[] = {9600, 57600};

struct Options {
  int runs = kDefaultRuns;
  int onlySpeed = 0;  // 0: every speed
  bool detail = false;
  std::string framesFolder;
};

struct Figure {
  std::string caseName;
  int baudRate = 0;
  std::string line;
  int runs = 0;
  double medianMs = 0;
  double limitMs = 0;
  double fixedPausesMs = 0;  // pauses the link makes by rule; not part of the wire limit
  std::string failure;       // empty when every run succeeded
};

// One timed run; returns an empty text on success, else what went wrong.
using Operation = std::function<std::string()>;

double Milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

Figure Measure(Figure figure, const Operation& operation) {
  std::vector<double> times;
  for (int run = 0; run < figure.runs; ++run) {
    const auto start = Clock::now();
    figure.failure = operation();
    const auto end = Clock::now();
    if (!figure.failure.empty()) return figure;
    times.push_back(Milliseconds(end - start));
  }
  figure.medianMs = Median(std::move(times));
  return figure;
}

const char* LineName(bool echo) {
  return echo ? "echo" : "plain";
}

std::string StatusFailure(const char* what, link::LinkStatus status) {
  return std::string(what) + ": " + link::LinkStatusText(status);
}

std::unique_ptr<sim::SimulatedLine> StartLine(int baudRate, bool echo, const Options& options,
                                              std::string& error) {
  sim::SimOptions simOptions;
  simOptions.baudRate = baudRate;
  simOptions.echo = echo;
  simOptions.pace = true;
  simOptions.keptRecords = 1000;
  if (!options.framesFolder.empty()) {
    simOptions.logPath = options.framesFolder + "/frames-" + std::to_string(baudRate) + "-" +
                         LineName(echo) + ".jsonl";
  }
  auto line = std::make_unique<sim::SimulatedLine>(simOptions);
  if (!line->Start(&error)) return nullptr;
  return line;
}

int ReplyDelayMs() {
  return sim::SimOptions{}.replyDelayMs;
}

// The registers a channel configuration write sends, in its order: input words, set points,
// multipliers, scales, title, tags and units; the first `kWriteCount` of them.
std::vector<int> ChannelConfigurationRegisters() {
  std::vector<int> registers;
  auto addRange = [&registers](int first, int last) {
    for (int reg = first; reg <= last; ++reg) registers.push_back(reg);
  };
  addRange(17, 24);
  addRange(26, 41);
  addRange(52, 147);
  registers.resize(kWriteCount);
  return registers;
}

// How long each kind of exchange took, and the pause before it, seen through the link's trace.
class ExchangeTimer {
 public:
  explicit ExchangeTimer(int baudRate) : baudRate_(baudRate) {}

  void Attach(link::SerialLink& serialLink) {
    serialLink.trace = [this, &serialLink](bool sent, std::span<const std::uint8_t>) {
      const auto now = Clock::now();
      const int replyCharacters = serialLink.functionCode == link::ReadHoldingRegisters
                                      ? ReadReplyCharacters(serialLink.registerCount)
                                      : kWriteReplyCharacters;
      if (sent) {
        if (endedAt_) gaps_[replyCharacters].push_back(Milliseconds(now - *endedAt_));
        sentAt_ = now;
        return;
      }
      durations_[replyCharacters].push_back(Milliseconds(now - sentAt_));
      endedAt_ = now;
    };
  }
  void Clear() {
    durations_.clear();
    gaps_.clear();
    endedAt_.reset();
  }

  void Print(const std::string& caseName, const char* line) const {
    for (const auto& [replyCharacters, durations] : durations_) {
      const double limit = ExchangeLimitMs(replyCharacters, baudRate_, ReplyDelayMs());
      const double median = Median(durations);
      const auto gaps = gaps_.find(replyCharacters);
      const double gap = gaps == gaps_.end() ? 0 : Median(gaps->second);
      std::printf(
          "  %-26s %6d %-6s %3d-char reply  x%-4zu median %8.3f ms  limit %8.3f ms  "
          "beyond %+7.3f ms  pause before %6.3f ms\n",
          caseName.c_str(), baudRate_, line, replyCharacters, durations.size(), median, limit,
          median - limit, gap);
    }
  }

 private:
  int baudRate_;
  Clock::time_point sentAt_{};
  std::optional<Clock::time_point> endedAt_;
  std::map<int, std::vector<double>> durations_;  // from sending a request to the read's end
  std::map<int, std::vector<double>> gaps_;       // from the previous read's end to sending it
};

std::vector<Figure> FailedCases(std::vector<Figure> figures, const std::string& failure) {
  for (auto& figure : figures) figure.failure = failure;
  return figures;
}

// The configuration read and the verified writes through the link on one line.
std::vector<Figure> MeasureLink(const sim::SimulatedLine& line, int baudRate, bool echo,
                                const Options& options) {
  const int delay = ReplyDelayMs();
  Figure read{.caseName = "configuration read",
              .baudRate = baudRate,
              .line = LineName(echo),
              .runs = options.runs,
              .limitMs = ConfigurationReadLimitMs(baudRate, delay),
              .failure = {}};
  // Each verified write pauses before its read-back.
  Figure writes{.caseName = std::to_string(kWriteCount) + " register writes",
                .baudRate = baudRate,
                .line = LineName(echo),
                .runs = options.runs,
                .limitMs = RegisterWritesLimitMs(kWriteCount, baudRate, delay),
                .fixedPausesMs = kWriteCount * link::kPauseBetweenTriesMs,
                .failure = {}};

  link::SerialLink serialLink;
  serialLink.portName = line.DevicePath();
  serialLink.baudRate = baudRate;
  serialLink.parity = 0;
  serialLink.stopBits = 2;
  serialLink.slaveAddress = 1;
  if (serialLink.OpenPort()) return FailedCases({read, writes}, "cannot open the port");

  // The configuration read always comes first on an opened port, as in the configurator; an
  // untimed one also gives the values the writes send back unchanged.
  link::RegisterImage image{};
  if (const auto status = link::ReadRegisterImage(serialLink, image);
      status != link::LinkStatus::Ok)
    return FailedCases({read, writes}, StatusFailure("first read", status));

  ExchangeTimer timer(baudRate);
  if (options.detail) timer.Attach(serialLink);

  read = Measure(read, [&serialLink] {
    link::RegisterImage got{};
    const auto status = link::ReadRegisterImage(serialLink, got);
    if (status != link::LinkStatus::Ok) return StatusFailure("read", status);
    if (got[link::kIdentityRegister] != link::kIdentityValue) return std::string("wrong identity");
    return std::string();
  });
  if (options.detail) timer.Print(read.caseName, read.line.c_str());
  timer.Clear();

  const std::vector<int> registers = ChannelConfigurationRegisters();
  writes = Measure(writes, [&serialLink, &registers, &image] {
    for (const int reg : registers) {
      const auto status =
          link::WriteRegister(serialLink, reg, image[static_cast<std::size_t>(reg)]);
      if (status != link::LinkStatus::Ok)
        return StatusFailure(("register " + std::to_string(reg)).c_str(), status);
    }
    return std::string();
  });
  if (options.detail) timer.Print(writes.caseName, writes.line.c_str());

  serialLink.ClosePort();
  return {read, writes};
}

struct ModbusContextDeleter {
  void operator()(modbus_t* context) const {
    modbus_close(context);
    modbus_free(context);
  }
};
using ModbusContext = std::unique_ptr<modbus_t, ModbusContextDeleter>;

std::string ModbusFailure(const char* what) {
  return std::string(what) + ": " + modbus_strerror(errno);
}

std::string ModbusConfigurationRead(modbus_t* context) {
  std::uint16_t words[link::kImageRegisterCount] = {};
  if (modbus_read_registers(context, 0, kFirstBlockCount, words) != kFirstBlockCount)
    return ModbusFailure("registers 0-124");
  if (modbus_read_registers(context, kFirstBlockCount, kSecondBlockCount,
                            words + kFirstBlockCount) != kSecondBlockCount)
    return ModbusFailure("registers 125-200");
  if (words[link::kIdentityRegister] != link::kIdentityValue) return "wrong identity";
  return {};
}

// The same two reads made by libmodbus, with the same speed and framing (no parity, two stop
// bits). libmodbus keeps its own pauses between frames; they are part of its figure.
Figure MeasureModbus(const sim::SimulatedLine& line, int baudRate, const Options& options) {
  Figure read{.caseName = "configuration read libmodbus",
              .baudRate = baudRate,
              .line = LineName(false),
              .runs = options.runs,
              .limitMs = ConfigurationReadLimitMs(baudRate, ReplyDelayMs()),
              .failure = {}};
  ModbusContext context(modbus_new_rtu(line.DevicePath().c_str(), baudRate, 'N', 8, 2));
  if (!context) {
    read.failure = ModbusFailure("modbus_new_rtu");
    return read;
  }
  if (modbus_set_slave(context.get(), 1) != 0 || modbus_connect(context.get()) != 0) {
    read.failure = ModbusFailure("connect");
    return read;
  }
  if (std::string failure = ModbusConfigurationRead(context.get()); !failure.empty()) {
    read.failure = "first read, " + failure;
    return read;
  }
  return Measure(read, [&context] { return ModbusConfigurationRead(context.get()); });
}

std::vector<Figure> MeasureSpeed(int baudRate, const Options& options) {
  std::vector<Figure> figures;
  for (const bool echo : {false, true}) {
    std::string error;
    const auto line = StartLine(baudRate, echo, options, error);
    if (!line) {
      std::fprintf(stderr, "simulated line at %d bit/s: %s\n", baudRate, error.c_str());
      continue;
    }
    for (auto& figure : MeasureLink(*line, baudRate, echo, options)) figures.push_back(figure);
    if (!echo) figures.push_back(MeasureModbus(*line, baudRate, options));
  }
  return figures;
}

void PrintTable(const std::vector<Figure>& figures) {
  std::printf("%-30s %6s %-6s %5s %11s %14s %7s\n", "case", "speed", "line", "runs", "median ms",
              "wire-limit ms", "ratio");
  for (const auto& figure : figures) {
    if (!figure.failure.empty()) {
      std::printf("%-30s %6d %-6s %5d  FAILED: %s\n", figure.caseName.c_str(), figure.baudRate,
                  figure.line.c_str(), figure.runs, figure.failure.c_str());
      continue;
    }
    std::printf("%-30s %6d %-6s %5d %11.2f %14.2f %7.3f\n", figure.caseName.c_str(),
                figure.baudRate, figure.line.c_str(), figure.runs, figure.medianMs, figure.limitMs,
                figure.medianMs / figure.limitMs);
  }
  for (const auto& figure : figures) {
    if (!figure.failure.empty() || figure.fixedPausesMs <= 0) continue;
    std::printf(
        "%s %d %s: with the link's %.0f ms of pauses before read-backs added to the "
        "limit, ratio %.3f\n",
        figure.caseName.c_str(), figure.baudRate, figure.line.c_str(), figure.fixedPausesMs,
        figure.medianMs / (figure.limitMs + figure.fixedPausesMs));
  }
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--runs" && i + 1 < argc) {
      options.runs = std::atoi(argv[++i]);
      if (options.runs < 1) return false;
    } else if (argument == "--speed" && i + 1 < argc) {
      options.onlySpeed = std::atoi(argv[++i]);
      if (std::find(std::begin(kSpeeds), std::end(kSpeeds), options.onlySpeed) == std::end(kSpeeds))
        return false;
    } else if (argument == "--detail") {
      options.detail = true;
    } else if (argument == "--frames" && i + 1 < argc) {
      options.framesFolder = argv[++i];
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace
}  // namespace virelo::bench

int main(int argc, char** argv) {
  using namespace virelo::bench;
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: %s [--runs N] [--speed 9600|57600] [--detail] [--frames FOLDER]\n",
                 argv[0]);
    return 2;
  }
  std::printf("Simulated logger pacing 11-bit characters, reply delay %d ms; median of %d runs.\n",
              ReplyDelayMs(), options.runs);
  std::vector<Figure> figures;
  for (const int baudRate : kSpeeds) {
    if (options.onlySpeed != 0 && baudRate != options.onlySpeed) continue;
    for (auto& figure : MeasureSpeed(baudRate, options)) figures.push_back(figure);
  }
  PrintTable(figures);
  const bool failed = std::any_of(figures.begin(), figures.end(),
                                  [](const Figure& figure) { return !figure.failure.empty(); });
  return failed ? 1 : 0;
}
