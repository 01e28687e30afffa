#include <gtest/gtest.h>

#include "settings/ini_file.h"
#include "temp_folder.h"

namespace virelo::settings {
namespace {

TEST(IniFile, ReadsSectionsAndKeysWithoutLetterCaseAndTheFirstOfEachName) {
  const auto file = IniFile::Parse(
      "; comment\r\n"
      "Orphan=1\r\n"
      "[Communication]\r\n"
      "  port = 3 \r\n"
      "Baud=19200\r\n"
      "BAUD=4800\r\n"
      "[security]\n"
      "Password=\"a b\"\n"
      "Empty=\n"
      "[Communication]\n"
      "Address=7\n");
  EXPECT_EQ(file.Integer("COMMUNICATION", "Port"), 3);
  EXPECT_EQ(file.Integer("Communication", "Baud"), 19200);
  EXPECT_EQ(file.Text("Security", "Password"), "a b");
  EXPECT_EQ(file.Text("Security", "Empty"), "");
  EXPECT_EQ(file.Text("Security", "Missing"), std::nullopt);
  EXPECT_EQ(file.Text("", "Orphan"), std::nullopt);
  // A repeated section is not read, as the Windows reader does not read it.
  EXPECT_EQ(file.Integer("Communication", "Address"), std::nullopt);
}

TEST(IniFile, TextIsWindows1252UnlessTheFileStartsWithAUtf8Mark) {
  EXPECT_EQ(IniFile::Parse("[S]\nK=Ol\xE1\n").Text("S", "K"), "Olá");
  EXPECT_EQ(IniFile::Parse("\xEF\xBB\xBF[S]\nK=Ol\xC3\xA1\n").Text("S", "K"), "Olá");
}

TEST(IniFile, IntegersAreWholeDecimalOrHexadecimalNumbers) {
  const struct {
    std::string_view text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"57600", 57600},
      {"-1", -1},
      {"+7", 7},
      {"0x1F", 31},
      {"0X1f", 31},
      {"0xFFFFFFFF", -1},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"0x100000000", std::nullopt},
      {"12abc", std::nullopt},
      {"abc", std::nullopt},
      {"", std::nullopt},
      {"0x", std::nullopt},
      {"--1", std::nullopt},
      {"1.5", std::nullopt},
      {"1 2", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseIniInteger(c.text), c.value) << "\"" << c.text << "\"";
  }
}

TEST(IniFile, LoadReadsAFileAndGivesNothingForAMissingOne) {
  testing::TempFolder folder;
  const auto path = folder.Write("Virelo.ini", "[Communication]\r\nPort=4\r\n");
  const auto file = IniFile::Load(path);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->Integer("Communication", "Port"), 4);
  EXPECT_FALSE(IniFile::Load(folder.path() / "absent.ini"));
}

}  // namespace
}  // namespace virelo::settings
