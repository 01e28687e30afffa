#include "sim/simulated_line.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <functional>

#include "link/crc.h"

namespace virelo::sim {
namespace {

constexpr std::size_t kRequestLength = 8;
constexpr std::uint8_t kSlaveDeviceFailure = 4;
constexpr double kBitsPerCharacter = 11;
constexpr auto kMinimumSilence = std::chrono::milliseconds(2);
constexpr auto kIdleRetry = std::chrono::milliseconds(1);

struct FaultNameEntry {
  FaultKind kind;
  const char* name;
};
constexpr std::array<FaultNameEntry, 6> kFaultNames = {{{FaultKind::Silent, "silent"},
                                                        {FaultKind::BadCrc, "badcrc"},
                                                        {FaultKind::WrongAddress, "wrongaddr"},
                                                        {FaultKind::Short, "short"},
                                                        {FaultKind::Noise, "noise"},
                                                        {FaultKind::Exception, "exception"}}};

Instant Now() {
  return std::chrono::steady_clock::now();
}

}  // namespace

std::optional<FaultKind> ParseFaultKind(std::string_view name) {
  for (const auto& entry : kFaultNames) {
    if (name == entry.name) return entry.kind;
  }
  return std::nullopt;
}

const char* FaultName(FaultKind kind) {
  for (const auto& entry : kFaultNames) {
    if (entry.kind == kind) return entry.name;
  }
  return "?";
}

std::vector<std::uint8_t> DamageReply(std::vector<std::uint8_t> reply,
                                      std::span<const std::uint8_t> request, FaultKind kind,
                                      std::mt19937& random) {
  switch (kind) {
    case FaultKind::Silent:
      return {};
    case FaultKind::BadCrc:
      if (!reply.empty()) reply.back() ^= 0xFF;
      return reply;
    case FaultKind::WrongAddress:
      if (reply.size() < 3) return reply;
      reply.resize(reply.size() - 2);
      reply[0] = static_cast<std::uint8_t>(reply[0] % 247 + 1);
      return WithCrc(std::move(reply));
    case FaultKind::Short:
      reply.resize(reply.size() >= 2 ? reply.size() - 2 : 0);
      return reply;
    case FaultKind::Noise: {
      std::uniform_int_distribution<int> byte(0, 255);
      for (auto& b : reply) b = static_cast<std::uint8_t>(byte(random));
      if (link::HasValidCrc(reply)) reply.back() ^= 0xFF;
      return reply;
    }
    case FaultKind::Exception:
      return ExceptionReply(request[0], request[1], kSlaveDeviceFailure);
  }
  return reply;
}

SimulatedLine::SimulatedLine(SimOptions options)
    : options_(std::move(options)),
      log_(options_.keptRecords),
      faults_(options_.faults),
      random_(options_.seed) {
  const Instant now = Now();
  const int count = std::max(1, options_.loggers);
  for (int i = 0; i < count; ++i) {
    loggers_.emplace_back(LoggerSetup{.address = options_.address + i,
                                      .baudRate = options_.baudRate,
                                      .parity = options_.parity,
                                      .firmwareVersion = options_.firmwareVersion,
                                      .index = i,
                                      .seed = options_.seed + static_cast<unsigned>(i),
                                      .clockStart = options_.clockStart},
                          now);
  }
}

SimulatedLine::~SimulatedLine() {
  Stop();
}

bool SimulatedLine::Start(std::string* error) {
  if (thread_.joinable()) {
    if (error != nullptr) *error = "the line is already running";
    return false;
  }
  if (!terminal_.Open(LineSettings{options_.baudRate, options_.parity}, error)) return false;
  if (!options_.logPath.empty() && !log_.OpenFile(options_.logPath)) {
    if (error != nullptr) *error = "cannot create the log " + options_.logPath;
    terminal_.Close();
    return false;
  }
  std::array<int, 2> wake{};
  if (pipe2(wake.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
    if (error != nullptr) *error = "cannot create the wake-up pipe";
    terminal_.Close();
    log_.CloseFile();
    return false;
  }
  wakeRead_ = wake[0];
  wakeWrite_ = wake[1];
  startedAt_ = Now();
  lineFreeAt_ = startedAt_;
  character_ = Seconds(kBitsPerCharacter / options_.baudRate);
  stopping_ = false;
  thread_ = std::thread(&SimulatedLine::Serve, this);
  return true;
}

void SimulatedLine::Stop() {
  if (!thread_.joinable()) return;
  stopping_ = true;
  const char wake = 1;
  [[maybe_unused]] const ssize_t written = write(wakeWrite_, &wake, 1);
  thread_.join();
  close(wakeRead_);
  close(wakeWrite_);
  wakeRead_ = wakeWrite_ = -1;
  terminal_.Close();
  log_.CloseFile();
}

void SimulatedLine::Serve() {
  Receiver receiver;
  std::array<std::uint8_t, 512> buffer{};
  while (!stopping_) {
    int timeoutMs = -1;
    if (!receiver.frame.empty() || receiver.resyncing) {
      const auto silenceEnds =
          receiver.lastByte + std::max<Seconds>(kMinimumSilence, 3.5 * character_);
      const double left = std::chrono::duration<double, std::milli>(silenceEnds - Now()).count();
      timeoutMs = std::max(0, static_cast<int>(std::ceil(left)));
    }
    std::array<pollfd, 2> fds = {{{terminal_.MasterFd(), POLLIN, 0}, {wakeRead_, POLLIN, 0}}};
    const int ready = poll(fds.data(), fds.size(), timeoutMs);
    if (stopping_) break;
    if (ready < 0) {
      if (errno != EINTR) SleepUntil(Now() + kIdleRetry);
      continue;
    }
    if (fds[0].revents & POLLIN) {
      const ssize_t n = read(terminal_.MasterFd(), buffer.data(), buffer.size());
      if (n > 0) {
        TakeBytes(std::span(buffer.data(), static_cast<std::size_t>(n)), Now(), receiver);
        continue;
      }
    }
    // While no program has the terminal open, poll reports a hang-up and read fails: wait
    // a little for the configurator to open it.
    if (fds[0].revents != 0) SleepUntil(Now() + kIdleRetry);
    DropAfterSilence(receiver, Now());
  }
}

void SimulatedLine::TakeBytes(std::span<const std::uint8_t> bytes, Instant seen,
                              Receiver& receiver) {
  const LineSettings line = CurrentLine();
  character_ = Seconds(kBitsPerCharacter / (line.baudRate > 0 ? line.baudRate : 9600));
  DropAfterSilence(receiver, seen);
  for (const std::uint8_t byte : bytes) {
    const Instant arrival = options_.pace
                                ? std::max(seen, lineFreeAt_) +
                                      std::chrono::duration_cast<Instant::duration>(character_)
                                : seen;
    lineFreeAt_ = std::max(lineFreeAt_, arrival);
    receiver.lastByte = arrival;
    if (options_.echo) Echo(byte, arrival);
    if (receiver.resyncing) {
      receiver.stray.push_back(byte);
      continue;
    }
    receiver.frame.push_back(byte);
    if (receiver.frame.size() < kRequestLength) continue;
    const int number = ++requestsReceived_;
    Bytes request;
    request.swap(receiver.frame);
    FlushEcho();
    if (link::HasValidCrc(request)) {
      Answer(request, number, arrival, line);
    } else {
      Record(true, request, "dropped: bad crc", number, arrival);
      if (options_.echo) Record(false, request, "echo", number, arrival);
      receiver.resyncing = true;
    }
  }
  FlushEcho();
}

void SimulatedLine::DropAfterSilence(Receiver& receiver, Instant now) {
  if (receiver.frame.empty() && !receiver.resyncing) return;
  if (now - receiver.lastByte < std::max<Seconds>(kMinimumSilence, 3.5 * character_)) return;
  Bytes dropped = std::move(receiver.stray);
  dropped.insert(dropped.end(), receiver.frame.begin(), receiver.frame.end());
  if (!dropped.empty()) {
    Record(true, dropped, "dropped: incomplete frame", 0, receiver.lastByte);
    if (options_.echo) Record(false, dropped, "echo", 0, receiver.lastByte);
  }
  receiver = Receiver{};
}

void SimulatedLine::Answer(const Bytes& request, int number, Instant arrived,
                           const LineSettings& line) {
  std::string action = DescribeRequest(request);
  std::optional<FaultKind> fault;
  std::optional<std::size_t> actor;
  Bytes reply;
  {
    std::lock_guard lock(mutex_);
    fault = FaultFor(number);
    const bool alone = loggers_.size() == 1;
    std::string mismatch;
    for (std::size_t i = 0; i < loggers_.size() && !actor; ++i) {
      if (!loggers_[i].Answers(request[0], alone)) continue;
      const LineSettings own{loggers_[i].BaudRate(), loggers_[i].Parity()};
      if (own == line) {
        actor = i;
      } else if (mismatch.empty()) {
        mismatch = "ignored: line " + DescribeLine(line) + ", logger " + DescribeLine(own);
      }
    }
    if (!actor) {
      action = mismatch.empty() ? "ignored: no logger at address " + std::to_string(request[0])
                                : mismatch;
    } else if (fault == FaultKind::Silent || fault == FaultKind::Exception) {
      // The logger did not act on this request: no write takes effect.
      reply = DamageReply({}, request, *fault, random_);
      action = std::string("fault ") + FaultName(*fault) + ": " + action;
    } else {
      reply = loggers_[*actor].Handle(request, Now());
      if (reply.size() > 2 && (reply[1] & 0x80) != 0) {
        action += ": exception " + std::to_string(reply[2]);
      }
      if (fault) {
        reply = DamageReply(std::move(reply), request, *fault, random_);
        action = std::string("fault ") + FaultName(*fault) + ": " + action;
      }
    }
  }
  Record(true, request, action, number, arrived);
  if (options_.echo) Record(false, request, "echo", number, arrived);
  if (!reply.empty()) {
    const auto delay = std::chrono::milliseconds(std::max(0, options_.replyDelayMs));
    const std::string replyAction =
        fault ? std::string("reply, fault ") + FaultName(*fault) : "reply";
    Send(reply, arrived + delay, character_,
         [&](Instant sent) { Record(false, reply, replyAction, number, sent); });
  }
  if (actor) {
    std::lock_guard lock(mutex_);
    loggers_[*actor].CommitLineChanges();
  }
}

std::optional<FaultKind> SimulatedLine::FaultFor(int number) {
  const auto planned = std::find_if(faults_.begin(), faults_.end(),
                                    [number](const Fault& f) { return f.requestNumber == number; });
  if (planned != faults_.end()) return planned->kind;
  if (options_.faultRate <= 0) return std::nullopt;
  std::uniform_real_distribution<double> chance(0.0, 1.0);
  if (chance(random_) >= options_.faultRate) return std::nullopt;
  std::uniform_int_distribution<std::size_t> pick(0, kFaultNames.size() - 1);
  return kFaultNames[pick(random_)].kind;
}

void SimulatedLine::Echo(std::uint8_t byte, Instant arrival) {
  if (!options_.pace) {
    pendingEcho_.push_back(byte);
    return;
  }
  SleepUntil(arrival);
  terminal_.Write(std::span(&byte, 1));
}

void SimulatedLine::FlushEcho() {
  if (pendingEcho_.empty()) return;
  terminal_.Write(pendingEcho_);
  pendingEcho_.clear();
}

void SimulatedLine::Send(const Bytes& bytes, Instant start, Seconds character,
                         const std::function<void(Instant)>& beforeLastByte) {
  // The record goes in just before the last byte leaves, so that whoever has read the whole
  // reply also finds it in the records.
  if (!options_.pace) {
    SleepUntil(start);
    beforeLastByte(start);
    terminal_.Write(bytes);
    return;
  }
  const auto step = std::chrono::duration_cast<Instant::duration>(character);
  Instant deadline = start;
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    if (stopping_) return;
    deadline += step;
    SleepUntil(deadline);
    if (k + 1 == bytes.size()) beforeLastByte(deadline);
    terminal_.Write(std::span(&bytes[k], 1));
  }
  lineFreeAt_ = std::max(lineFreeAt_, deadline);
}

void SimulatedLine::Record(bool received, Bytes bytes, std::string action, int number,
                           Instant when) {
  log_.Add(FrameRecord{.timeSeconds = Seconds(when - startedAt_).count(),
                       .received = received,
                       .bytes = std::move(bytes),
                       .action = std::move(action),
                       .requestNumber = number});
}

LineSettings SimulatedLine::CurrentLine() const {
  return terminal_.Settings().value_or(LineSettings{options_.baudRate, options_.parity});
}

void SimulatedLine::AddFault(Fault fault) {
  std::lock_guard lock(mutex_);
  faults_.push_back(fault);
}

bool SimulatedLine::ValidLogger(int logger) const {
  return logger >= 0 && logger < static_cast<int>(loggers_.size());
}

std::int16_t SimulatedLine::Register(int logger, int reg) const {
  std::lock_guard lock(mutex_);
  if (!ValidLogger(logger) || reg < 0 || reg >= kRegisterCount) return 0;
  return loggers_[static_cast<std::size_t>(logger)].Register(reg, Now());
}

void SimulatedLine::SetRegister(int logger, int reg, std::int16_t value) {
  std::lock_guard lock(mutex_);
  if (ValidLogger(logger))
    loggers_[static_cast<std::size_t>(logger)].SetRegister(reg, value, Now());
}

std::int16_t SimulatedLine::OffsetWord(int logger, int word) const {
  std::lock_guard lock(mutex_);
  return ValidLogger(logger) ? loggers_[static_cast<std::size_t>(logger)].OffsetWord(word) : 0;
}

void SimulatedLine::SetOffsetWord(int logger, int word, std::int16_t value) {
  std::lock_guard lock(mutex_);
  if (ValidLogger(logger)) loggers_[static_cast<std::size_t>(logger)].SetOffsetWord(word, value);
}

int SimulatedLine::Address(int logger) const {
  std::lock_guard lock(mutex_);
  return ValidLogger(logger) ? loggers_[static_cast<std::size_t>(logger)].Address() : 0;
}

int SimulatedLine::BaudRate(int logger) const {
  std::lock_guard lock(mutex_);
  return ValidLogger(logger) ? loggers_[static_cast<std::size_t>(logger)].BaudRate() : 0;
}

int SimulatedLine::Parity(int logger) const {
  std::lock_guard lock(mutex_);
  return ValidLogger(logger) ? loggers_[static_cast<std::size_t>(logger)].Parity() : 0;
}

}  // namespace virelo::sim
