#include "settings/app_settings.h"

#include <system_error>

#include "settings/ini_file.h"

namespace virelo::settings {

namespace {

constexpr int kKeyPathMessage = 184;
constexpr int kCommunicationMessage = 185;
constexpr int kPortMessage = 186;
constexpr int kBaudMessage = 187;
constexpr int kAddressMessage = 188;
constexpr int kSecurityMessage = 189;
constexpr int kEnableMessage = 190;
constexpr int kPasswordMessage = 191;
constexpr int kParityMessage = 204;
constexpr int kStopBitMessage = 205;
constexpr std::string_view kPortNameValue = "PortName";

// The legacy file's defaults for keys it lacks.
constexpr std::int32_t kLegacyPort = 1;
constexpr std::int32_t kLegacyBaud = 9600;
constexpr std::int32_t kLegacyAddress = 1;

// A 16-bit field is stored sign-extended and read back truncated to its 16 bits.
std::int16_t ReadShort(const SettingsKey& key, std::string_view name, std::int16_t fallback) {
  const auto value = key.ReadInteger(name);
  return value ? static_cast<std::int16_t>(*value) : fallback;
}

}  // namespace

SettingsNames SettingsNames::From(const text::MessageTable& table) {
  return SettingsNames{
      .keyPath = table[kKeyPathMessage],
      .communication = table[kCommunicationMessage],
      .port = table[kPortMessage],
      .baud = table[kBaudMessage],
      .address = table[kAddressMessage],
      .parity = table[kParityMessage],
      .stopBit = table[kStopBitMessage],
      .security = table[kSecurityMessage],
      .enable = table[kEnableMessage],
      .password = table[kPasswordMessage],
      .portName = std::string(kPortNameValue),
  };
}

AppSettings LoadSettings(SettingsStore& store,
                         const std::optional<std::filesystem::path>& legacyFile,
                         const text::MessageTable& table) {
  const auto names = SettingsNames::From(table);
  const AppSettings defaults;
  AppSettings settings;

  if (const auto settingsKey = store.OpenKey(names.keyPath, OpenMode::kMayCreate)) {
    if (!settingsKey->HasSubKey(names.communication) && legacyFile) {
      ImportLegacySettings(store, *legacyFile, table);
    }
  }

  if (const auto key = store.OpenKey(names.CommunicationPath(), OpenMode::kExistingOnly)) {
    settings.portNumber = ReadShort(*key, names.port, defaults.portNumber);
    settings.baudRate = key->ReadInteger(names.baud).value_or(defaults.baudRate);
    settings.slaveAddress = ReadShort(*key, names.address, defaults.slaveAddress);
    settings.parity = ReadShort(*key, names.parity, defaults.parity);
    settings.stopBits = ReadShort(*key, names.stopBit, defaults.stopBits);
    settings.portName = key->ReadText(names.portName).value_or(std::string());
  }

  if (const auto key = store.OpenKey(names.SecurityPath(), OpenMode::kExistingOnly)) {
    settings.passwordEnabled = key->ReadInteger(names.enable).value_or(0) != 0;
  }
  return settings;
}

SaveStatus SaveSettings(SettingsStore& store, const AppSettings& settings,
                        const text::MessageTable& table) {
  const auto names = SettingsNames::From(table);
  bool written = true;
  {
    const auto key = store.OpenKey(names.CommunicationPath(), OpenMode::kMayCreate);
    if (!key) return SaveStatus::kKeyRefused;
    written &= key->WriteInteger(names.port, settings.portNumber);
    written &= key->WriteInteger(names.baud, settings.baudRate);
    written &= key->WriteInteger(names.address, settings.slaveAddress);
    written &= key->WriteInteger(names.parity, settings.parity);
    written &= key->WriteInteger(names.stopBit, settings.stopBits);
    if (!settings.portName.empty()) written &= key->WriteText(names.portName, settings.portName);
  }
  {
    const auto key = store.OpenKey(names.SecurityPath(), OpenMode::kMayCreate);
    if (!key) return SaveStatus::kKeyRefused;
    written &= key->WriteInteger(names.enable, settings.passwordEnabled ? 1 : 0);
  }
  return written ? SaveStatus::kSaved : SaveStatus::kWriteFailed;
}

bool ImportLegacySettings(SettingsStore& store, const std::filesystem::path& legacyFile,
                          const text::MessageTable& table) {
  const auto file = IniFile::Load(legacyFile);
  if (!file) return false;
  const auto names = SettingsNames::From(table);

  if (const auto key = store.OpenKey(names.CommunicationPath(), OpenMode::kMayCreate)) {
    const auto& section = names.communication;
    key->WriteInteger(names.port, file->Integer(section, names.port).value_or(kLegacyPort));
    key->WriteInteger(names.baud, file->Integer(section, names.baud).value_or(kLegacyBaud));
    key->WriteInteger(names.address,
                      file->Integer(section, names.address).value_or(kLegacyAddress));
  }
  if (const auto key = store.OpenKey(names.SecurityPath(), OpenMode::kMayCreate)) {
    const auto& section = names.security;
    key->WriteInteger(names.enable, file->Integer(section, names.enable).value_or(0) != 0 ? 1 : 0);
    key->WriteText(
        names.password,
        file->Text(section, names.password).value_or(std::string(kLegacyDefaultPassword)));
  }
  return true;
}

std::optional<std::filesystem::path> FindLegacySettingsFile(
    std::span<const std::filesystem::path> folders) {
  for (const auto& folder : folders) {
    std::error_code error;
    const auto exact = folder / kLegacyFileName;
    if (std::filesystem::is_regular_file(exact, error)) return exact;
    // A file copied from Windows may carry other capitals.
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
      if (SameName(it->path().filename().string(), kLegacyFileName) && it->is_regular_file(error)) {
        return it->path();
      }
    }
  }
  return std::nullopt;
}

}  // namespace virelo::settings
