// virelo-cli: the logger's registers and offset words from the command line, for
// technicians and scripts. Built on the same link as the configurator.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/register_ops.h"
#include "link/serial_link.h"

#ifdef VIRELO_CLI_SHOW
#include "app/config_report.h"
#include "model/logger_config.h"
#endif

namespace {

using virelo::link::LinkStatus;

constexpr int kExitUsage = 64;
constexpr int kExitNotLogger = 65;
constexpr int kExitPortNotOpened = 9;

constexpr std::string_view kUsage =
    "usage: virelo-cli --port PATH [--baud B] [--parity none|odd|even] [--address A] [--trace] "
    "COMMAND\n"
    "commands:\n"
    "  read REG [COUNT]          read COUNT registers (default 1, at most 125)\n"
    "  write REG VALUE           write a register and read it back\n"
    "  dump                      read the configuration image, registers 0 to 200\n"
#ifdef VIRELO_CLI_SHOW
    "  show [--json]             read and decode the logger's configuration\n"
#endif
    "  read-offset WORD          read an offset word\n"
    "  write-offset WORD VALUE   write an offset word\n";

struct UsageError {
  std::string message;
};

std::optional<long> ParseInteger(std::string_view text) {
  long value = 0;
  const auto* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || ptr != end) return std::nullopt;
  return value;
}

long IntegerArgument(std::string_view what, std::string_view text, long low, long high) {
  const auto value = ParseInteger(text);
  if (!value || *value < low || *value > high) {
    throw UsageError{std::string(what) + " must be a whole number from " + std::to_string(low) +
                     " to " + std::to_string(high) + ", not '" + std::string(text) + "'"};
  }
  return *value;
}

// A 16-bit value, given signed (-32768..32767) or unsigned (0..65535).
std::int16_t WordArgument(std::string_view text) {
  return static_cast<std::int16_t>(
      static_cast<std::uint16_t>(IntegerArgument("VALUE", text, -32768, 65535) & 0xFFFF));
}

int RegisterArgument(std::string_view text) {
  return static_cast<int>(IntegerArgument("REG", text, 0, 65535));
}

struct Options {
  std::string port;
  int baudRate = 9600;
  int parity = 0;
  int address = 1;
  bool trace = false;
  std::vector<std::string_view> command;
};

Options ParseOptions(std::span<char*> args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const auto value = [&]() -> std::string_view {
      if (i + 1 >= args.size()) throw UsageError{std::string(arg) + " needs a value"};
      return args[++i];
    };
    if (!options.command.empty()) {
      options.command.push_back(arg);
    } else if (arg == "--port") {
      options.port = value();
    } else if (arg == "--baud") {
      const std::string_view text = value();
      const auto baud = ParseInteger(text);
      if (!baud || (*baud != 1200 && *baud != 2400 && *baud != 4800 && *baud != 9600 &&
                    *baud != 19200 && *baud != 57600)) {
        throw UsageError{"--baud must be 1200, 2400, 4800, 9600, 19200 or 57600, not '" +
                         std::string(text) + "'"};
      }
      options.baudRate = static_cast<int>(*baud);
    } else if (arg == "--parity") {
      const std::string_view text = value();
      if (text == "none") {
        options.parity = 0;
      } else if (text == "odd") {
        options.parity = 1;
      } else if (text == "even") {
        options.parity = 2;
      } else {
        throw UsageError{"--parity must be none, odd or even, not '" + std::string(text) + "'"};
      }
    } else if (arg == "--address") {
      options.address = static_cast<int>(IntegerArgument("--address", value(), 0, 247));
    } else if (arg == "--trace") {
      options.trace = true;
    } else if (arg.starts_with("--")) {
      throw UsageError{"unknown option " + std::string(arg)};
    } else {
      options.command.push_back(arg);
    }
  }
  if (options.port.empty()) throw UsageError{"--port is required"};
  if (options.command.empty()) throw UsageError{"no command given"};
  return options;
}

void PrintTrace(bool sent, std::span<const std::uint8_t> bytes) {
  std::string line = sent ? "TX" : "RX";
  char hex[4];
  for (std::uint8_t byte : bytes) {
    std::snprintf(hex, sizeof hex, " %02X", byte);
    line += hex;
  }
  std::cerr << line << '\n';
}

class Cli {
 public:
  explicit Cli(const Options& options) : options_(options) {
    link_.portName = options.port;
    link_.baudRate = options.baudRate;
    link_.parity = static_cast<std::int16_t>(options.parity);
    link_.stopBits = options.parity == 0 ? 2 : 0;
    link_.slaveAddress = static_cast<std::int16_t>(options.address);
    if (options.trace) link_.trace = PrintTrace;
  }

  int Run() {
    const auto& command = options_.command;
    const std::string_view name = command[0];
    const std::size_t operands = command.size() - 1;
    const auto expect = [&](std::size_t least, std::size_t most) {
      if (operands < least || operands > most) {
        throw UsageError{"wrong number of operands for " + std::string(name)};
      }
    };
    if (name == "read") {
      expect(1, 2);
      const int first = RegisterArgument(command[1]);
      const int count =
          operands == 2 ? static_cast<int>(IntegerArgument("COUNT", command[2], 1, 125)) : 1;
      return WithPort([&] { return Read(first, count); });
    }
    if (name == "write") {
      expect(2, 2);
      const int reg = RegisterArgument(command[1]);
      const std::int16_t value = WordArgument(command[2]);
      return WithPort(
          [&] { return Report("write", virelo::link::WriteRegister(link_, reg, value)); });
    }
    if (name == "dump") {
      expect(0, 0);
      return WithPort([&] { return Dump(); });
    }
#ifdef VIRELO_CLI_SHOW
    if (name == "show") {
      expect(0, 1);
      if (operands == 1 && command[1] != "--json") throw UsageError{"show takes only --json"};
      const bool json = operands == 1;
      return WithPort([&] { return Show(json); });
    }
#endif
    if (name == "read-offset") {
      expect(1, 1);
      const int word = static_cast<int>(IntegerArgument("WORD", command[1], 0, 65535));
      return WithPort([&] { return ReadOffset(word); });
    }
    if (name == "write-offset") {
      expect(2, 2);
      const int word = static_cast<int>(IntegerArgument("WORD", command[1], 0, 65535));
      const std::int16_t value = WordArgument(command[2]);
      return WithPort(
          [&] { return Report("write-offset", virelo::link::WriteOffset(link_, word, value)); });
    }
    throw UsageError{"unknown command '" + std::string(name) + "'"};
  }

 private:
  template <typename Action>
  int WithPort(Action action) {
    if (link_.OpenPort()) {
      std::cerr << "virelo-cli: cannot open the serial port " << options_.port << '\n';
      link_.ClosePort();
      return kExitPortNotOpened;
    }
    const int exitStatus = action();
    link_.ClosePort();
    return exitStatus;
  }

  static int Report(std::string_view what, LinkStatus status) {
    if (status == LinkStatus::Ok) return 0;
    std::cerr << "virelo-cli: " << what << " failed: " << virelo::link::LinkStatusText(status)
              << " (status " << static_cast<int>(status) << ")\n";
    return static_cast<int>(status);
  }

  int Read(int first, int count) {
    std::vector<std::int16_t> words(static_cast<std::size_t>(count));
    const LinkStatus status = virelo::link::ReadRegisters(link_, first, count, words.data());
    if (status != LinkStatus::Ok) return Report("read", status);
    for (int i = 0; i < count; ++i) std::cout << first + i << ' ' << words[i] << '\n';
    return 0;
  }

  std::optional<virelo::link::RegisterImage> ReadImage(int& exitStatus) {
    virelo::link::RegisterImage image{};
    const LinkStatus status = virelo::link::ReadRegisterImage(link_, image);
    if (status != LinkStatus::Ok) {
      exitStatus = Report("reading the configuration", status);
      return std::nullopt;
    }
    return image;
  }

  static bool IsLogger(const virelo::link::RegisterImage& image) {
    if (image[virelo::link::kIdentityRegister] == virelo::link::kIdentityValue) return true;
    std::cerr << "virelo-cli: register 200 reads " << image[virelo::link::kIdentityRegister]
              << ", not 32: the device is not a Registrador this program works with\n";
    return false;
  }

  int Dump() {
    int exitStatus = 0;
    const auto image = ReadImage(exitStatus);
    if (!image) return exitStatus;
    for (std::size_t reg = 0; reg < image->size(); ++reg) {
      std::cout << reg << ' ' << (*image)[reg] << '\n';
    }
    return IsLogger(*image) ? 0 : kExitNotLogger;
  }

#ifdef VIRELO_CLI_SHOW
  int Show(bool json) {
    int exitStatus = 0;
    const auto image = ReadImage(exitStatus);
    if (!image) return exitStatus;
    if (!IsLogger(*image)) return kExitNotLogger;
    const auto& table = virelo::text::BuiltInTable();
    const auto decoded = virelo::model::DecodeRegisterImage(*image);
    std::cout << (json ? virelo::app::ConfigurationJson(decoded.config, table)
                       : virelo::app::DescribeConfiguration(decoded.config, table));
    if (json) std::cout << '\n';
    return 0;
  }
#endif

  int ReadOffset(int word) {
    std::int16_t value = 0;
    const LinkStatus status = virelo::link::ReadOffset(link_, word, &value);
    if (status != LinkStatus::Ok) return Report("read-offset", status);
    std::cout << word << ' ' << value << '\n';
    return 0;
  }

  const Options& options_;
  virelo::link::SerialLink link_;
};

}  // namespace

int main(int argc, char** argv) {
  const std::span<char*> args(argv + 1, static_cast<std::size_t>(argc > 0 ? argc - 1 : 0));
  if (!args.empty() &&
      (std::string_view(args[0]) == "--help" || std::string_view(args[0]) == "-h")) {
    std::cout << kUsage;
    return 0;
  }
  try {
    const Options options = ParseOptions(args);
    return Cli(options).Run();
  } catch (const UsageError& error) {
    std::cerr << "virelo-cli: " << error.message << " (virelo-cli --help lists the usage)\n";
    return kExitUsage;
  }
}
