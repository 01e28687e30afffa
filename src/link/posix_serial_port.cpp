#include "link/posix_serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace virelo::link {
namespace {

using Clock = std::chrono::steady_clock;

speed_t SpeedConstant(int baudRate) {
  switch (baudRate) {
    case 1200:
      return B1200;
    case 2400:
      return B2400;
    case 4800:
      return B4800;
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    default:
      return B57600;
  }
}

// Waits for input until `deadline`; true when bytes can be read.
bool WaitReadable(int fd, Clock::time_point deadline, bool& deviceGone) {
  const auto left = deadline - Clock::now();
  if (left <= Clock::duration::zero()) return false;
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
  timespec wait{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
  pollfd entry{fd, POLLIN, 0};
  const int ready = ppoll(&entry, 1, &wait, nullptr);
  if (ready < 0) return errno == EINTR ? false : (deviceGone = true, false);
  if (ready == 0) return false;
  if ((entry.revents & POLLIN) != 0) return true;
  deviceGone = (entry.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
  return false;
}

// A pseudo-terminal keeps every line setting but the parity enable, which it drops; the C
// library then reports the whole change as refused although it took effect.
bool TookEffectButParity(int fd, const termios& wanted) {
  termios now{};
  if (::tcgetattr(fd, &now) != 0) return false;
  const tcflag_t ignored = PARENB;
  return (now.c_cflag & ~ignored) == (wanted.c_cflag & ~ignored) &&
         ::cfgetospeed(&now) == ::cfgetospeed(&wanted);
}

}  // namespace

PosixSerialPort::~PosixSerialPort() {
  Close();
}

bool PosixSerialPort::Open(const std::string& deviceName) {
  Close();
  const int fd = ::open(deviceName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  if (!::isatty(fd) || ::ioctl(fd, TIOCEXCL) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

bool PosixSerialPort::ConfigureLine(const LineSettings& settings) {
  if (fd_ < 0) return false;
  termios tio{};
  if (::tcgetattr(fd_, &tio) != 0) return false;
  // Raw 8-bit bytes: no echo, no line editing, no translation, no XON/XOFF, no NUL dropping.
  // A byte received with a parity error is passed on unchanged, so the CRC judges the reply.
  ::cfmakeraw(&tio);
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | IGNPAR | PARMRK | INPCK);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  tio.c_cflag |= CS8 | CREAD | CLOCAL;
  if (settings.parity == 1) tio.c_cflag |= PARENB | PARODD;
  if (settings.parity == 2) tio.c_cflag |= PARENB;
  if (settings.stopBits == 2) tio.c_cflag |= CSTOPB;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  const speed_t speed = SpeedConstant(settings.baudRate);
  ::cfsetispeed(&tio, speed);
  ::cfsetospeed(&tio, speed);
  if (::tcsetattr(fd_, TCSANOW, &tio) != 0 && (errno != EINVAL || !TookEffectButParity(fd_, tio))) {
    return false;
  }
  int dtr = TIOCM_DTR;
  (void)::ioctl(fd_, TIOCMBIS, &dtr);  // a pseudo-terminal has no modem lines
  SetRts(false);
  return true;
}

void PosixSerialPort::SetRts(bool raised) {
  if (fd_ < 0) return;
  int rts = TIOCM_RTS;
  // Refused by devices without modem lines (a pseudo-terminal); nothing to do then.
  (void)::ioctl(fd_, raised ? TIOCMBIS : TIOCMBIC, &rts);
}

void PosixSerialPort::Purge(bool input, bool output) {
  if (fd_ < 0) return;
  if (input && output) {
    ::tcflush(fd_, TCIOFLUSH);
  } else if (input) {
    ::tcflush(fd_, TCIFLUSH);
  } else if (output) {
    ::tcflush(fd_, TCOFLUSH);
  }
}

void PosixSerialPort::Write(std::span<const std::uint8_t> bytes) {
  if (fd_ < 0) return;
  const auto deadline = Clock::now() + std::chrono::seconds(1);
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written > 0) {
      bytes = bytes.subspan(static_cast<std::size_t>(written));
      continue;
    }
    if (written < 0 && errno != EAGAIN && errno != EINTR) return;
    if (Clock::now() >= deadline) return;
    pollfd entry{fd_, POLLOUT, 0};
    (void)::poll(&entry, 1, 10);
  }
}

bool PosixSerialPort::WaitTransmitEmpty() {
  if (fd_ < 0) return false;
  while (::tcdrain(fd_) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

std::size_t PosixSerialPort::Read(std::span<std::uint8_t> buffer, const ReadTimeouts& timeouts,
                                  const ReadEndsEarly& endsEarly) {
  if (fd_ < 0) return 0;
  const auto start = Clock::now();
  const auto totalDeadline =
      start + std::chrono::milliseconds(static_cast<long long>(timeouts.perByteMs) *
                                            static_cast<long long>(buffer.size()) +
                                        timeouts.constantMs);
  const auto interval = std::chrono::milliseconds(timeouts.intervalMs);
  std::size_t received = 0;
  Clock::time_point lastByte{};
  while (received < buffer.size()) {
    auto deadline = totalDeadline;
    if (received > 0 && timeouts.intervalMs > 0 && lastByte + interval < deadline) {
      deadline = lastByte + interval;
    }
    bool deviceGone = false;
    if (!WaitReadable(fd_, deadline, deviceGone)) {
      if (deviceGone || Clock::now() >= deadline) break;
      continue;  // interrupted by a signal
    }
    const ssize_t got = ::read(fd_, buffer.data() + received, buffer.size() - received);
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (got <= 0) break;
    received += static_cast<std::size_t>(got);
    lastByte = Clock::now();
    if (endsEarly && endsEarly(buffer.first(received))) break;
  }
  return received;
}

void PosixSerialPort::Close() {
  if (fd_ < 0) return;
  SetRts(false);
  ::tcflush(fd_, TCIOFLUSH);
  // Leave the device open to the next program: the exclusive flag outlives this descriptor
  // while another one (a simulator's, say) keeps the terminal open.
  (void)::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
}

std::unique_ptr<SerialPort> MakePosixSerialPort() {
  return std::make_unique<PosixSerialPort>();
}

}  // namespace virelo::link
