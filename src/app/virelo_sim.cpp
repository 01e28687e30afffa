// virelo-sim: a simulated logger on a pseudo-terminal, for trying the configurator without a
// logger. Prints the terminal's path as its first line and runs until SIGINT or SIGTERM.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/simulated_line.h"

namespace {

constexpr int kUsageError = 64;  // bad arguments
constexpr int kRuntimeError = 1;

constexpr const char* kUsage =
    "usage: virelo-sim [--link PATH] [--address A] [--baud B] [--parity none|odd|even]\n"
    "                  [--firmware V] [--echo] [--pace] [--reply-delay-ms D] [--loggers N]\n"
    "                  [--fault N:KIND]... [--fault-rate R] [--seed S] [--log FILE]\n"
    "\n"
    "Runs simulated loggers on a pseudo-terminal and prints the terminal's path first.\n"
    "  --link PATH         also make PATH a symbolic link to the terminal\n"
    "  --address A         Modbus address 1..247 (default 1)\n"
    "  --baud B            1200, 2400, 4800, 9600, 19200 or 57600 (default 9600)\n"
    "  --parity P          none, odd or even (default none)\n"
    "  --firmware V        firmware version times 100 (default 220)\n"
    "  --echo              hand every request back, as a half-duplex line does\n"
    "  --pace              move bytes at the line speed, 11 bits a character\n"
    "  --reply-delay-ms D  wait D ms after a request before replying (default 2)\n"
    "  --loggers N         N loggers at addresses A, A+1, ... (default 1)\n"
    "  --fault N:KIND      damage the reply to the N-th request; KIND is silent, badcrc,\n"
    "                      wrongaddr, short, noise or exception\n"
    "  --fault-rate R      give a random fault to a fraction R (0..1) of the requests\n"
    "  --seed S            seed of the random faults and readings (default 1)\n"
    "  --log FILE          write every frame as a JSON line to FILE\n";

struct Arguments {
  virelo::sim::SimOptions options;
  std::string linkPath;
  bool help = false;
};

struct ArgumentError {
  std::string message;
};

std::optional<long long> ParseInteger(std::string_view text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

long long IntegerIn(std::string_view option, std::string_view text, long long low, long long high) {
  const auto value = ParseInteger(text);
  if (!value || *value < low || *value > high) {
    throw ArgumentError{std::string(option) + " expects a whole number from " +
                        std::to_string(low) + " to " + std::to_string(high) + ", not '" +
                        std::string(text) + "'"};
  }
  return *value;
}

int ParityCode(std::string_view text) {
  if (text == "none") return 0;
  if (text == "odd") return 1;
  if (text == "even") return 2;
  throw ArgumentError{"--parity expects none, odd or even, not '" + std::string(text) + "'"};
}

virelo::sim::Fault ParseFault(std::string_view text) {
  const auto colon = text.find(':');
  const auto kind = colon == std::string_view::npos
                        ? std::nullopt
                        : virelo::sim::ParseFaultKind(text.substr(colon + 1));
  const auto number =
      colon == std::string_view::npos ? std::nullopt : ParseInteger(text.substr(0, colon));
  if (!kind || !number || *number < 1 || *number > 2147483647) {
    throw ArgumentError{
        "--fault expects N:KIND with N from 1 and KIND one of silent, badcrc, "
        "wrongaddr, short, noise, exception, not '" +
        std::string(text) + "'"};
  }
  return {static_cast<int>(*number), *kind};
}

double ParseRate(std::string_view text) {
  try {
    std::size_t used = 0;
    const double rate = std::stod(std::string(text), &used);
    if (used == text.size() && rate >= 0 && rate <= 1) return rate;
  } catch (const std::exception&) {
  }
  throw ArgumentError{"--fault-rate expects a number from 0 to 1, not '" + std::string(text) + "'"};
}

Arguments Parse(const std::vector<std::string_view>& args) {
  Arguments parsed;
  auto& options = parsed.options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view option = args[i];
    std::optional<std::string_view> inlineValue;
    if (const auto equals = option.find('='); option.starts_with("--") && equals != option.npos) {
      inlineValue = option.substr(equals + 1);
      option = option.substr(0, equals);
    }
    auto value = [&]() -> std::string_view {
      if (inlineValue) return *inlineValue;
      if (i + 1 >= args.size()) throw ArgumentError{std::string(option) + " needs a value"};
      return args[++i];
    };
    auto flag = [&] {
      if (inlineValue) throw ArgumentError{std::string(option) + " takes no value"};
    };
    if (option == "--help" || option == "-h") {
      flag();
      parsed.help = true;
    } else if (option == "--link") {
      parsed.linkPath = value();
      if (parsed.linkPath.empty()) throw ArgumentError{"--link needs a path"};
    } else if (option == "--address") {
      options.address = static_cast<int>(IntegerIn(option, value(), 1, 247));
    } else if (option == "--baud") {
      const auto baud = static_cast<int>(IntegerIn(option, value(), 1, 1000000));
      if (std::find(virelo::sim::kBaudRates.begin(), virelo::sim::kBaudRates.end(), baud) ==
          virelo::sim::kBaudRates.end()) {
        throw ArgumentError{"--baud expects 1200, 2400, 4800, 9600, 19200 or 57600"};
      }
      options.baudRate = baud;
    } else if (option == "--parity") {
      options.parity = ParityCode(value());
    } else if (option == "--firmware") {
      options.firmwareVersion = static_cast<int>(IntegerIn(option, value(), 0, 32767));
    } else if (option == "--echo") {
      flag();
      options.echo = true;
    } else if (option == "--pace") {
      flag();
      options.pace = true;
    } else if (option == "--reply-delay-ms") {
      options.replyDelayMs = static_cast<int>(IntegerIn(option, value(), 0, 60000));
    } else if (option == "--loggers") {
      options.loggers = static_cast<int>(IntegerIn(option, value(), 1, 247));
    } else if (option == "--fault") {
      options.faults.push_back(ParseFault(value()));
    } else if (option == "--fault-rate") {
      options.faultRate = ParseRate(value());
    } else if (option == "--seed") {
      options.seed = static_cast<unsigned>(IntegerIn(option, value(), 0, 4294967295LL));
    } else if (option == "--log") {
      options.logPath = value();
      if (options.logPath.empty()) throw ArgumentError{"--log needs a file name"};
    } else {
      throw ArgumentError{"unknown argument '" + std::string(args[i]) + "' (try --help)"};
    }
  }
  if (options.address + options.loggers - 1 > 247) {
    throw ArgumentError{"--loggers " + std::to_string(options.loggers) + " from address " +
                        std::to_string(options.address) + " goes beyond address 247"};
  }
  return parsed;
}

// Makes `path` a symbolic link to `target`, replacing an old link but never another file.
bool MakeLink(const std::string& path, const std::string& target) {
  struct stat existing {};
  if (lstat(path.c_str(), &existing) == 0) {
    if (!S_ISLNK(existing.st_mode)) {
      std::cerr << "virelo-sim: " << path << " exists and is not a symbolic link\n";
      return false;
    }
    unlink(path.c_str());
  }
  if (symlink(target.c_str(), path.c_str()) != 0) {
    std::perror(("virelo-sim: symlink " + path).c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments arguments;
  try {
    arguments = Parse(std::vector<std::string_view>(argv + 1, argv + argc));
  } catch (const ArgumentError& error) {
    std::cerr << "virelo-sim: " << error.message << "\n";
    return kUsageError;
  }
  if (arguments.help) {
    std::cout << kUsage;
    return 0;
  }

  // Block the stop signals before any thread starts, so that only sigwait below sees them.
  // A shell starts background jobs with SIGINT ignored, and an ignored signal never reaches
  // sigwait: take the default disposition back first.
  signal(SIGINT, SIG_DFL);
  signal(SIGTERM, SIG_DFL);
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  virelo::sim::SimulatedLine line(arguments.options);
  std::string error;
  if (!line.Start(&error)) {
    std::cerr << "virelo-sim: " << error << "\n";
    return kRuntimeError;
  }
  if (!arguments.linkPath.empty() && !MakeLink(arguments.linkPath, line.DevicePath())) {
    return kRuntimeError;
  }
  std::cout << line.DevicePath() << std::endl;

  const auto& options = arguments.options;
  std::cerr << "virelo-sim: " << options.loggers << " logger(s) from address " << options.address
            << ", " << options.baudRate << " bit/s, parity "
            << virelo::sim::ParityName(options.parity) << (options.echo ? ", echo" : "")
            << (options.pace ? ", paced" : "") << "; stop with Ctrl+C\n";

  int received = 0;
  sigwait(&stopSignals, &received);
  line.Stop();
  if (!arguments.linkPath.empty()) unlink(arguments.linkPath.c_str());
  return 0;
}
