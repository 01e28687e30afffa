#include "sim/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>

namespace virelo::sim {
namespace {

constexpr std::array<std::pair<int, speed_t>, 11> kSpeeds = {{{300, B300},
                                                              {600, B600},
                                                              {1200, B1200},
                                                              {2400, B2400},
                                                              {4800, B4800},
                                                              {9600, B9600},
                                                              {19200, B19200},
                                                              {38400, B38400},
                                                              {57600, B57600},
                                                              {115200, B115200},
                                                              {230400, B230400}}};

std::optional<speed_t> SpeedConstant(int baud) {
  for (const auto& [rate, constant] : kSpeeds) {
    if (rate == baud) return constant;
  }
  return std::nullopt;
}

int BaudOf(speed_t speed) {
  for (const auto& [rate, constant] : kSpeeds) {
    if (constant == speed) return rate;
  }
  return 0;
}

void SetError(std::string* error, const std::string& what) {
  if (error != nullptr) *error = what + ": " + std::strerror(errno);
}

}  // namespace

const char* ParityName(int parity) {
  switch (parity) {
    case 0:
      return "none";
    case 1:
      return "odd";
    default:
      return "even";
  }
}

std::string DescribeLine(const LineSettings& line) {
  return std::to_string(line.baudRate) + " " + ParityName(line.parity);
}

PseudoTerminal::~PseudoTerminal() {
  Close();
}

bool PseudoTerminal::Open(const LineSettings& initial, std::string* error) {
  Close();
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) {
    SetError(error, "posix_openpt");
    return false;
  }
  std::array<char, 128> name{};
  if (grantpt(master_) != 0 || unlockpt(master_) != 0 ||
      ptsname_r(master_, name.data(), name.size()) != 0) {
    SetError(error, "pseudo-terminal set-up");
    Close();
    return false;
  }
  slavePath_ = name.data();

  const int slave = open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
  if (slave < 0) {
    SetError(error, "open " + slavePath_);
    Close();
    return false;
  }
  termios settings{};
  bool configured = tcgetattr(slave, &settings) == 0;
  if (configured) {
    cfmakeraw(&settings);
    const speed_t speed = SpeedConstant(initial.baudRate).value_or(B9600);
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARODD | PARENB);
    if (initial.parity == 0) settings.c_cflag |= CSTOPB;
    if (initial.parity == 1) settings.c_cflag |= PARENB | PARODD;
    if (initial.parity == 2) settings.c_cflag |= PARENB;
    settings.c_cflag |= CLOCAL | CREAD;
    configured = tcsetattr(slave, TCSANOW, &settings) == 0;
  }
  if (!configured) SetError(error, "raw mode on " + slavePath_);
  close(slave);
  if (!configured) {
    Close();
    return false;
  }
  const int flags = fcntl(master_, F_GETFL);
  if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0) {
    SetError(error, "non-blocking master");
    Close();
    return false;
  }
  return true;
}

void PseudoTerminal::Close() {
  if (master_ >= 0) close(master_);
  master_ = -1;
}

std::optional<LineSettings> PseudoTerminal::Settings() const {
  termios settings{};
  if (master_ < 0 || tcgetattr(master_, &settings) != 0) return std::nullopt;
  LineSettings line;
  line.baudRate = BaudOf(cfgetospeed(&settings));
  if (settings.c_cflag & CSTOPB) {
    line.parity = 0;
  } else {
    line.parity = (settings.c_cflag & PARODD) ? 1 : 2;
  }
  return line;
}

bool PseudoTerminal::Write(std::span<const std::uint8_t> bytes) const {
  // A far side that stops reading fills the terminal's buffer; give up after a second.
  constexpr int kPatienceMs = 1000;
  int waitedMs = 0;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EAGAIN) {
      if (waitedMs >= kPatienceMs) return false;
      pollfd out{.fd = master_, .events = POLLOUT, .revents = 0};
      if (poll(&out, 1, 10) < 0 && errno != EINTR) return false;
      waitedMs += 10;
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      return false;
    }
  }
  return true;
}

void SleepUntil(std::chrono::steady_clock::time_point deadline) {
  const auto since = deadline.time_since_epoch();
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
  timespec when{};
  when.tv_sec = static_cast<time_t>(seconds.count());
  when.tv_nsec = static_cast<long>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(since - seconds).count());
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &when, nullptr) == EINTR) {
  }
}

}  // namespace virelo::sim
