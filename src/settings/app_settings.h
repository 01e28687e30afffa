// The settings the configurator keeps per user: the serial line it last used to reach the
// logger and whether password protection is on. They live under one key of the settings
// store with the sub-keys "Communication" and "Security"; a legacy "Virelo.ini" is imported
// once, while the store holds no communication settings yet.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "settings/settings_store.h"
#include "text/message_table.h"

namespace virelo::settings {

struct AppSettings {
  std::int16_t portNumber = 1;
  std::int32_t baudRate = 9600;
  std::int16_t slaveAddress = 1;
  std::int16_t parity = 0;    // 0 none, 1 odd, 2 even
  std::int16_t stopBits = 2;  // 0 one stop bit, 2 two stop bits
  std::string portName;       // the port's platform name (device path); empty when unknown
  bool passwordEnabled = false;

  friend bool operator==(const AppSettings&, const AppSettings&) = default;
};

// Two stop bits without parity, one with it, so that every character is 11 bits long.
constexpr std::int16_t StopBitsForParity(std::int16_t parity) {
  return parity == 0 ? 2 : 0;
}

// The names under which the settings are stored, taken from the message table (entries the
// language file never replaces), plus the port's platform name.
struct SettingsNames {
  std::string keyPath;  // "\Software\Ostrana\Configurador Virelo\Settings"
  std::string communication;
  std::string port;
  std::string baud;
  std::string address;
  std::string parity;
  std::string stopBit;
  std::string security;
  std::string enable;
  std::string password;
  std::string portName;  // "PortName"

  static SettingsNames From(const text::MessageTable& table);
  std::string CommunicationPath() const { return keyPath + '\\' + communication; }
  std::string SecurityPath() const { return keyPath + '\\' + security; }
};

inline constexpr std::string_view kLegacyFileName = "Virelo.ini";
// The stored form of the password a legacy file without one stands for.
inline constexpr std::string_view kLegacyDefaultPassword = "qzkwb";
// "Erro ao salvar configurações !", shown with caption "Atenção" when a save fails.
inline constexpr int kSaveErrorMessage = 192;

enum class SaveStatus {
  kSaved,
  kKeyRefused,   // a key could not be opened or created
  kWriteFailed,  // a key opened but the store refused a value
};

// Reads the settings, importing `legacyFile` first when the settings key has no
// "Communication" sub-key yet. Missing values, and values stored with another type than
// expected, take their defaults; loading never fails.
AppSettings LoadSettings(SettingsStore& store,
                         const std::optional<std::filesystem::path>& legacyFile,
                         const text::MessageTable& table = text::BuiltInTable());

// Writes the five line values, the port name (when known) and "Enable". "Password" is never
// written here. When "Communication" cannot be opened, "Security" is not tried.
SaveStatus SaveSettings(SettingsStore& store, const AppSettings& settings,
                        const text::MessageTable& table = text::BuiltInTable());

// Copies "Port", "Baud", "Address" and "Enable" (0 or 1) and "Password" (stored form, as it
// stands) from the legacy file into the store, with the file's defaults for missing keys.
// False when the file cannot be read; the file itself is never changed.
bool ImportLegacySettings(SettingsStore& store, const std::filesystem::path& legacyFile,
                          const text::MessageTable& table = text::BuiltInTable());

// The first of `folders` holding "Virelo.ini" (letter case of the file name ignored).
std::optional<std::filesystem::path> FindLegacySettingsFile(
    std::span<const std::filesystem::path> folders);

}  // namespace virelo::settings
