#include <gtest/gtest.h>

#include "settings/app_settings.h"
#include "settings/memory_settings_store.h"
#include "temp_folder.h"

namespace virelo::settings {
namespace {

constexpr std::string_view kSettings = "\\Software\\Ostrana\\Configurador Virelo\\Settings";
const std::string kCommunication = std::string(kSettings) + "\\Communication";
const std::string kSecurity = std::string(kSettings) + "\\Security";

class SettingsTest : public ::testing::Test {
 protected:
  AppSettings Load() { return LoadSettings(store_, legacy_); }
  std::filesystem::path WriteLegacy(std::string_view contents) {
    legacy_ = folder_.Write("Virelo.ini", contents);
    return *legacy_;
  }
  std::optional<SettingsValue> Get(const std::string& key, std::string_view name) {
    return store_.Get(key, name);
  }

  MemorySettingsStore store_;
  testing::TempFolder folder_;
  std::optional<std::filesystem::path> legacy_;
};

TEST_F(SettingsTest, FirstRunGivesTheDefaultsCreatesOnlyTheSettingsKeyAndTheFirstSaveBothSubKeys) {
  const auto settings = Load();
  EXPECT_EQ(settings, AppSettings{});
  EXPECT_EQ(settings.portNumber, 1);
  EXPECT_EQ(settings.baudRate, 9600);
  EXPECT_EQ(settings.slaveAddress, 1);
  EXPECT_EQ(settings.parity, 0);
  EXPECT_EQ(settings.stopBits, 2);
  EXPECT_FALSE(settings.passwordEnabled);
  EXPECT_TRUE(store_.HasKey(kSettings));
  EXPECT_FALSE(store_.HasKey(kCommunication));
  EXPECT_FALSE(store_.HasKey(kSecurity));

  EXPECT_EQ(SaveSettings(store_, settings), SaveStatus::kSaved);
  EXPECT_EQ(Get(kCommunication, "StopBit"), SettingsValue(std::int32_t{2}));
  EXPECT_EQ(Get(kSecurity, "Enable"), SettingsValue(std::int32_t{0}));
  EXPECT_EQ(Get(kSecurity, "Password"), std::nullopt);
}

TEST_F(SettingsTest, SavedSettingsLoadBackWithThePortNameAndSixteenBitFieldsSignExtended) {
  AppSettings saved;
  saved.portNumber = 12;
  saved.baudRate = 57600;
  saved.slaveAddress = -2;
  saved.parity = 2;
  saved.stopBits = StopBitsForParity(2);
  saved.portName = "/dev/ttyUSB0";
  saved.passwordEnabled = true;
  ASSERT_EQ(SaveSettings(store_, saved), SaveStatus::kSaved);
  EXPECT_EQ(Get(kCommunication, "Address"), SettingsValue(std::int32_t{-2}));
  EXPECT_EQ(Get(kCommunication, "PortName"), SettingsValue(std::string("/dev/ttyUSB0")));
  EXPECT_EQ(Get(kSecurity, "Enable"), SettingsValue(std::int32_t{1}));
  EXPECT_EQ(Load(), saved);

  // Read back truncated to 16 bits; the speed is kept whole.
  store_.Put(kCommunication, "Port", std::int32_t{0x10003});
  store_.Put(kCommunication, "Baud", std::int32_t{115200});
  const auto loaded = Load();
  EXPECT_EQ(loaded.portNumber, 3);
  EXPECT_EQ(loaded.baudRate, 115200);
}

TEST_F(SettingsTest, MissingValuesTakeTheirDefaultsAndNamesIgnoreLetterCase) {
  store_.Put(kCommunication, "Port", std::int32_t{4});
  store_.Put(kSecurity, "ENABLE", std::int32_t{7});
  auto settings = Load();
  EXPECT_EQ(settings.portNumber, 4);
  EXPECT_EQ(settings.baudRate, 9600);
  EXPECT_EQ(settings.slaveAddress, 1);
  EXPECT_EQ(settings.parity, 0);
  EXPECT_EQ(settings.stopBits, 2);
  EXPECT_TRUE(settings.passwordEnabled);

  store_.Put(kCommunication, "BAUD", std::int32_t{19200});
  store_.Put(kCommunication, "parity", std::int32_t{1});
  store_.Put(kCommunication, "stopbit", std::int32_t{0});
  settings = Load();
  EXPECT_EQ(settings.baudRate, 19200);
  EXPECT_EQ(settings.parity, 1);
  EXPECT_EQ(settings.stopBits, 0);

  // Saving writes into the values as they are spelled, not beside them.
  ASSERT_EQ(SaveSettings(store_, settings), SaveStatus::kSaved);
  EXPECT_EQ(store_.ValueNames(kCommunication),
            (std::vector<std::string>{"Port", "BAUD", "parity", "stopbit", "Address"}));
}

TEST_F(SettingsTest, AValueOfAnotherTypeCountsAsMissingAndLoadingGoesOn) {
  store_.Put(kCommunication, "Port", std::string("3"));
  store_.Put(kCommunication, "Baud", std::vector<std::uint8_t>{0x80, 0x25});
  store_.Put(kCommunication, "Address", std::int32_t{5});
  store_.Put(kCommunication, "PortName", std::int32_t{1});
  store_.Put(kSecurity, "Enable", std::string("1"));
  const auto settings = Load();
  EXPECT_EQ(settings.portNumber, 1);
  EXPECT_EQ(settings.baudRate, 9600);
  EXPECT_EQ(settings.slaveAddress, 5);
  EXPECT_EQ(settings.portName, "");
  EXPECT_FALSE(settings.passwordEnabled);
}

TEST_F(SettingsTest, ARefusedSettingsKeyGivesTheDefaultsWhenLoading) {
  store_.Put(kCommunication, "Port", std::int32_t{4});
  store_.Put(kSecurity, "Enable", std::int32_t{1});
  WriteLegacy("[Communication]\nPort=9\n");
  store_.RefuseKey(kSettings);
  EXPECT_EQ(Load(), AppSettings{});
  store_.ClearRefusals();
  EXPECT_EQ(Get(kCommunication, "Port"), SettingsValue(std::int32_t{4}));
}

TEST_F(SettingsTest, SavingIntoARefusedKeyReportsTheFailureAndChangesNothing) {
  AppSettings settings;
  settings.portNumber = 5;

  store_.RefuseKey(kSettings);
  EXPECT_EQ(SaveSettings(store_, settings), SaveStatus::kKeyRefused);
  store_.ClearRefusals();
  EXPECT_FALSE(store_.HasKey(kCommunication));
  EXPECT_FALSE(store_.HasKey(kSecurity));

  store_.RefuseKey(kSecurity);
  EXPECT_EQ(SaveSettings(store_, settings), SaveStatus::kKeyRefused);
  EXPECT_EQ(Get(kCommunication, "Port"), SettingsValue(std::int32_t{5}));

  store_.ClearRefusals();
  store_.RefuseWrites(kCommunication);
  EXPECT_EQ(SaveSettings(store_, settings), SaveStatus::kWriteFailed);
}

TEST_F(SettingsTest, TheLegacyFileIsImportedWithItsDefaultsForMissingKeys) {
  WriteLegacy("[Communication]\r\nPort=3\r\nBaud=19200\r\n");
  const auto settings = Load();
  EXPECT_EQ(Get(kCommunication, "Port"), SettingsValue(std::int32_t{3}));
  EXPECT_EQ(Get(kCommunication, "Baud"), SettingsValue(std::int32_t{19200}));
  EXPECT_EQ(Get(kCommunication, "Address"), SettingsValue(std::int32_t{1}));
  EXPECT_EQ(Get(kCommunication, "Parity"), std::nullopt);
  EXPECT_EQ(Get(kSecurity, "Enable"), SettingsValue(std::int32_t{0}));
  EXPECT_EQ(Get(kSecurity, "Password"), SettingsValue(std::string("qzkwb")));
  EXPECT_EQ(settings.portNumber, 3);
  EXPECT_EQ(settings.baudRate, 19200);
  EXPECT_EQ(settings.parity, 0);
  EXPECT_EQ(settings.stopBits, 2);
  EXPECT_FALSE(settings.passwordEnabled);
}

TEST_F(SettingsTest, TheLegacyFileCopiesItsValuesAsTheyStand) {
  const auto path = WriteLegacy(
      "[Communication]\nBaud=57600\nAddress=0x10\nPort=COM3\n"
      "[Security]\nEnable=5\nPassword=`ab\xE9\n");
  const auto before = std::filesystem::last_write_time(path);
  const auto settings = Load();
  EXPECT_EQ(settings.baudRate, 57600);
  EXPECT_EQ(settings.slaveAddress, 16);
  EXPECT_EQ(settings.portNumber, 1);  // not an integer: the file's default
  EXPECT_TRUE(settings.passwordEnabled);
  EXPECT_EQ(Get(kSecurity, "Enable"), SettingsValue(std::int32_t{1}));
  EXPECT_EQ(Get(kSecurity, "Password"), SettingsValue(std::string("`abé")));
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(std::filesystem::last_write_time(path), before);
}

TEST_F(SettingsTest, TheLegacyFileIsImportedOnlyOnce) {
  WriteLegacy("[Communication]\nPort=3\n");
  Load();
  store_.Put(kCommunication, "Port", std::int32_t{8});
  store_.Put(kSecurity, "Password", std::string("changed"));
  WriteLegacy("[Communication]\nPort=6\n[Security]\nPassword=again\n");
  EXPECT_EQ(Load().portNumber, 8);
  EXPECT_EQ(Get(kSecurity, "Password"), SettingsValue(std::string("changed")));
}

TEST_F(SettingsTest, NoImportWhenTheStoreAlreadyHasCommunicationSettings) {
  store_.Put(kCommunication, "Baud", std::int32_t{4800});
  WriteLegacy("[Communication]\nPort=3\n");
  const auto settings = Load();
  EXPECT_EQ(settings.portNumber, 1);
  EXPECT_EQ(settings.baudRate, 4800);
  EXPECT_EQ(Get(kSecurity, "Password"), std::nullopt);
}

TEST_F(SettingsTest, AnAbsentLegacyFileImportsNothingAndStaysDue) {
  legacy_ = folder_.path() / "Virelo.ini";
  EXPECT_EQ(Load(), AppSettings{});
  EXPECT_FALSE(store_.HasKey(kCommunication));
  WriteLegacy("[Communication]\nPort=2\n");
  EXPECT_EQ(Load().portNumber, 2);
}

TEST(FindLegacySettingsFile, TakesTheFirstFolderHoldingTheFileWhateverTheCapitals) {
  testing::TempFolder desktop;
  testing::TempFolder working;
  const std::vector<std::filesystem::path> folders = {desktop.path(), working.path(),
                                                      "/nonexistent-virelo-folder"};
  EXPECT_EQ(FindLegacySettingsFile(folders), std::nullopt);
  const auto inWorking = working.Write("VIRELO.INI", "");
  EXPECT_EQ(FindLegacySettingsFile(folders), inWorking);
  const auto onDesktop = desktop.Write("Virelo.ini", "");
  EXPECT_EQ(FindLegacySettingsFile(folders), onDesktop);
  std::filesystem::create_directory(desktop.path() / "other");
  EXPECT_EQ(FindLegacySettingsFile(std::vector{desktop.path() / "other"}), std::nullopt);
}

TEST(SettingsNames, ComeFromTheMessageTable) {
  const auto names = SettingsNames::From(text::BuiltInTable());
  EXPECT_EQ(names.CommunicationPath(),
            "\\Software\\Ostrana\\Configurador Virelo\\Settings\\Communication");
  EXPECT_EQ(names.SecurityPath(), "\\Software\\Ostrana\\Configurador Virelo\\Settings\\Security");
  EXPECT_EQ(names.port, "Port");
  EXPECT_EQ(names.baud, "Baud");
  EXPECT_EQ(names.address, "Address");
  EXPECT_EQ(names.parity, "Parity");
  EXPECT_EQ(names.stopBit, "StopBit");
  EXPECT_EQ(names.enable, "Enable");
  EXPECT_EQ(names.password, "Password");
  EXPECT_EQ(text::BuiltInTable()[kSaveErrorMessage], "Erro ao salvar configurações !");
}

TEST(StopBitsForParity, TwoWithoutParityOneWithIt) {
  EXPECT_EQ(StopBitsForParity(0), 2);
  EXPECT_EQ(StopBitsForParity(1), 0);
  EXPECT_EQ(StopBitsForParity(2), 0);
}

}  // namespace
}  // namespace virelo::settings
