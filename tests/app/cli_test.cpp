// virelo-cli as a technician runs it, against the simulated logger on a pseudo-terminal.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "sim/simulated_line.h"

namespace {

struct CliResult {
  int exitStatus = -1;
  std::string out;
  std::string err;
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path);
  std::stringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

std::size_t CountLines(const std::string& text) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class CliTest : public ::testing::Test {
 protected:
  void StartLogger(virelo::sim::SimOptions options = {}) {
    options.replyDelayMs = 1;
    line = std::make_unique<virelo::sim::SimulatedLine>(options);
    std::string error;
    ASSERT_TRUE(line->Start(&error)) << error;
  }

  CliResult Run(const std::string& arguments) {
    const auto folder = std::filesystem::temp_directory_path();
    const auto out = folder / ("virelo-cli-test-" + std::to_string(::getpid()) + ".out");
    const auto err = folder / ("virelo-cli-test-" + std::to_string(::getpid()) + ".err");
    const std::string command =
        std::string(VIRELO_CLI_PATH) + " " + arguments + " >" + out.string() + " 2>" + err.string();
    const int status = std::system(command.c_str());
    CliResult result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return result;
  }

  std::string Port() const { return "--port " + line->DevicePath() + " "; }

  std::unique_ptr<virelo::sim::SimulatedLine> line;
};

TEST_F(CliTest, ReadWriteAndTrace) {
  StartLogger();
  const CliResult read = Run(Port() + "--trace read 199 2");
  EXPECT_EQ(read.exitStatus, 0) << read.err;
  EXPECT_EQ(read.out, "199 " + std::to_string(line->Register(0, 199)) + "\n200 32\n");
  EXPECT_NE(read.err.find("TX 01 03 00 C7 00 02 75 F6\n"), std::string::npos) << read.err;
  EXPECT_NE(read.err.find("RX 01 03 04 "), std::string::npos) << read.err;

  EXPECT_EQ(Run(Port() + "write 52 -7").exitStatus, 0);
  EXPECT_EQ(line->Register(0, 52), -7);
  EXPECT_EQ(Run(Port() + "write-offset 9 65535").exitStatus, 0);
  const CliResult offset = Run(Port() + "read-offset 9");
  EXPECT_EQ(offset.out, "9 -1\n");
}

TEST_F(CliTest, DumpChecksTheIdentityRegister) {
  StartLogger();
  const CliResult dump = Run(Port() + "dump");
  EXPECT_EQ(dump.exitStatus, 0) << dump.err;
  EXPECT_EQ(CountLines(dump.out), 201u);
  EXPECT_NE(dump.out.find("\n200 32\n"), std::string::npos);

  line->SetRegister(0, 200, 31);
  const CliResult other = Run(Port() + "dump");
  EXPECT_EQ(other.exitStatus, 65);
  EXPECT_EQ(CountLines(other.out), 201u);
  EXPECT_NE(other.err.find("register 200"), std::string::npos) << other.err;
}

TEST_F(CliTest, FailuresAndTheirExitStatus) {
  StartLogger();
  const CliResult silent = Run(Port() + "--address 9 read 200");
  EXPECT_EQ(silent.exitStatus, 8);
  EXPECT_NE(silent.err.find("Time-out"), std::string::npos) << silent.err;

  EXPECT_EQ(Run("--port /dev/does-not-exist read 200").exitStatus, 9);
  for (const char* bad : {"read 200", "read 1 126", "write 1 65536", "write 1 -32769",
                          "--parity mark read 1", "--baud 300 read 1", "frobnicate", "read x"}) {
    SCOPED_TRACE(bad);
    const std::string arguments = std::string(bad) == "read 200" ? bad : Port() + bad;
    const CliResult result = Run(arguments);
    EXPECT_EQ(result.exitStatus, 64);
    EXPECT_EQ(CountLines(result.err), 1u) << result.err;
  }
}

TEST_F(CliTest, ShowDecodesTheConfiguration) {
  virelo::sim::SimOptions options;
  options.firmwareVersion = 199;
  StartLogger(options);
  line->SetRegister(0, 84, static_cast<std::int16_t>(0xC741));  // tag of channel 1: "ÇA"
  line->SetRegister(0, 85, 0);
  const int serial = line->Register(0, 197) * 10000 + line->Register(0, 198);
  const CliResult json = Run(Port() + "show --json");
  ASSERT_EQ(json.exitStatus, 0) << json.err;
  EXPECT_EQ(json.out.front(), '{');
  for (const std::string& field :
       {std::string("\"firmwareVersion\":199"), "\"serialNumber\":" + std::to_string(serial),
        std::string("\"tag\":\"ÇA\""), std::string("\"plannedCount\":["),
        std::string("\"maxPlannedCount\":")}) {
    EXPECT_NE(json.out.find(field), std::string::npos) << field << " in " << json.out;
  }

  const CliResult summary = Run(Port() + "show");
  EXPECT_EQ(summary.exitStatus, 0) << summary.err;
  EXPECT_NE(summary.out.find("1.99"), std::string::npos) << summary.out;
}

}  // namespace
