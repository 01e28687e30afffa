#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QString>

#include "settings/app_settings.h"
#include "settings/password.h"
#include "settings/qt/qsettings_store.h"
#include "temp_folder.h"

namespace virelo::settings {
namespace {

constexpr std::string_view kSettings = "\\Software\\Ostrana\\Configurador Virelo\\Settings";
const std::string kCommunication = std::string(kSettings) + "\\Communication";
const std::string kSecurity = std::string(kSettings) + "\\Security";

// Points the user's INI settings at a fresh folder for the duration of a test.
class QSettingsStoreTest : public ::testing::Test {
 protected:
  QSettingsStoreTest() {
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QString::fromStdString(folder_.path().string()));
  }
  QString FilePath() const {
    return QString::fromStdString(
        (folder_.path() / "Ostrana" / "Configurador Virelo.ini").string());
  }

  testing::TempFolder folder_;
  QSettingsStore store_{QSettings::IniFormat};
};

TEST_F(QSettingsStoreTest, SettingsSaveAndLoadBackThroughTheFile) {
  EXPECT_EQ(LoadSettings(store_, std::nullopt), AppSettings{});
  EXPECT_EQ(store_.OpenKey(kCommunication, OpenMode::kExistingOnly), nullptr);

  AppSettings saved;
  saved.portNumber = 3;
  saved.baudRate = 57600;
  saved.slaveAddress = 247;
  saved.parity = 1;
  saved.stopBits = 0;
  saved.portName = "/dev/pts/4";
  saved.passwordEnabled = true;
  ASSERT_EQ(SaveSettings(store_, saved), SaveStatus::kSaved);
  EXPECT_TRUE(QFile::exists(FilePath()));

  QSettingsStore another{QSettings::IniFormat};
  EXPECT_EQ(LoadSettings(another, std::nullopt), saved);
  EXPECT_TRUE(another.OpenKey(kSettings, OpenMode::kExistingOnly)->HasSubKey("communication"));
}

TEST_F(QSettingsStoreTest, NamesIgnoreLetterCaseInTheFile) {
  {
    QSettings file(FilePath(), QSettings::IniFormat);
    file.setValue("SETTINGS/communication/BAUD", 19200);
    file.setValue("SETTINGS/communication/port", 6);
  }
  const auto key = store_.OpenKey(kCommunication, OpenMode::kExistingOnly);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->ReadInteger("Baud"), 19200);
  ASSERT_TRUE(key->WriteInteger("Port", 7));
  EXPECT_EQ(LoadSettings(store_, std::nullopt).portNumber, 7);

  QSettings file(FilePath(), QSettings::IniFormat);
  EXPECT_EQ(file.value("SETTINGS/communication/port").toInt(), 7);
  EXPECT_FALSE(file.contains("SETTINGS/communication/Port"));
  EXPECT_FALSE(file.childGroups().contains("Settings"));
}

TEST_F(QSettingsStoreTest, TextThatIsNoNumberIsNoIntegerAndNumbersStayTexts) {
  auto key = store_.OpenKey(kSecurity, OpenMode::kMayCreate);
  ASSERT_TRUE(key->WriteText("Enable", "yes"));
  ASSERT_TRUE(key->WriteText("Password", "123"));
  EXPECT_EQ(key->ReadInteger("Enable"), std::nullopt);
  EXPECT_EQ(key->ReadText("Password"), "123");
  EXPECT_FALSE(LoadSettings(store_, std::nullopt).passwordEnabled);
}

TEST_F(QSettingsStoreTest, StoredPasswordsSurviveTheFileWhateverTheirCharacters) {
  for (const std::string password : {"abc", "!, ;=\"[x]\\@#", " a ", "çãé€ÿ", "a,b"}) {
    ASSERT_EQ(StoreProtectionOn(store_, password), SaveStatus::kSaved);
    QSettingsStore reread{QSettings::IniFormat};
    EXPECT_TRUE(PasswordMatches(password, ReadExpectedPassword(reread))) << password;
    EXPECT_TRUE(ReadProtectionEnabled(reread));
  }
}

TEST_F(QSettingsStoreTest, PathsOutsideSoftwareOrganizationAndApplicationDoNotOpen) {
  EXPECT_EQ(store_.OpenKey("\\Software\\Ostrana", OpenMode::kMayCreate), nullptr);
  EXPECT_EQ(store_.OpenKey("\\System\\Ostrana\\App", OpenMode::kMayCreate), nullptr);
  EXPECT_EQ(store_.OpenKey("\\Software\\Ostrana\\Configurador Virelo", OpenMode::kExistingOnly),
            nullptr);
  EXPECT_NE(store_.OpenKey("\\Software\\Ostrana\\Configurador Virelo", OpenMode::kMayCreate),
            nullptr);
}

}  // namespace
}  // namespace virelo::settings
