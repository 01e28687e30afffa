#include "settings/password.h"

#include <string>

#include "text/cp1252.h"

namespace virelo::settings {

namespace {

constexpr int kNoPasswordSwitchMessage = 193;

std::string ShiftCodes(std::string_view cp1252, int delta) {
  std::string shifted(cp1252);
  for (auto& c : shifted) {
    c = static_cast<char>(static_cast<std::uint8_t>(static_cast<std::uint8_t>(c) + delta));
  }
  return shifted;
}

SaveStatus WriteSecurity(SettingsStore& store, const text::MessageTable& table, bool enable,
                         std::string_view newPasswordUtf8) {
  const auto names = SettingsNames::From(table);
  const auto key = store.OpenKey(names.SecurityPath(), OpenMode::kMayCreate);
  if (!key) return SaveStatus::kKeyRefused;
  bool written = key->WriteInteger(names.enable, enable ? 1 : 0);
  if (enable) written &= key->WriteText(names.password, StoredFormOfPassword(newPasswordUtf8));
  return written ? SaveStatus::kSaved : SaveStatus::kWriteFailed;
}

}  // namespace

std::string ScramblePassword(std::string_view cp1252) {
  return ShiftCodes(cp1252, -1);
}

std::string UnscramblePassword(std::string_view cp1252) {
  return ShiftCodes(cp1252, +1);
}

std::string StoredFormOfPassword(std::string_view utf8Password) {
  return text::Cp1252ToUtf8(ScramblePassword(text::Utf8ToCp1252(utf8Password)));
}

std::string PasswordOfStoredForm(std::string_view utf8StoredForm) {
  return text::Cp1252ToUtf8(UnscramblePassword(text::Utf8ToCp1252(utf8StoredForm)));
}

bool PasswordMatches(std::string_view typedUtf8, std::string_view expectedUtf8) {
  return text::Utf8ToCp1252(typedUtf8) == text::Utf8ToCp1252(expectedUtf8);
}

std::string ReadExpectedPassword(SettingsStore& store, const text::MessageTable& table) {
  const auto names = SettingsNames::From(table);
  const auto key = store.OpenKey(names.SecurityPath(), OpenMode::kExistingOnly);
  if (!key) return {};
  return PasswordOfStoredForm(key->ReadText(names.password).value_or(std::string()));
}

bool ReadProtectionEnabled(SettingsStore& store, const text::MessageTable& table) {
  const auto names = SettingsNames::From(table);
  const auto key = store.OpenKey(names.SecurityPath(), OpenMode::kExistingOnly);
  return key && key->ReadInteger(names.enable).value_or(0) != 0;
}

bool NoPasswordRequested(int argc, const char* const* argv, const text::MessageTable& table) {
  return argc >= 2 && argv != nullptr && argv[1] != nullptr &&
         std::string_view(argv[1]) == table[kNoPasswordSwitchMessage];
}

bool HandleNoPasswordSwitch(int argc, const char* const* argv, SettingsStore& store,
                            const text::MessageTable& table) {
  if (!NoPasswordRequested(argc, argv, table)) return false;
  const auto names = SettingsNames::From(table);
  if (const auto key = store.OpenKey(names.SecurityPath(), OpenMode::kExistingOnly)) {
    key->WriteInteger(names.enable, 0);
  }
  return true;
}

NewPasswordCheck ValidateNewPassword(std::string_view newPassword,
                                     std::string_view repeatedPassword) {
  if (newPassword.empty()) return NewPasswordCheck::kNewMissing;
  if (repeatedPassword.empty()) return NewPasswordCheck::kRepeatMissing;
  if (newPassword != repeatedPassword) return NewPasswordCheck::kMismatch;
  return NewPasswordCheck::kAccepted;
}

SaveStatus StoreProtectionOn(SettingsStore& store, std::string_view newPasswordUtf8,
                             const text::MessageTable& table) {
  return WriteSecurity(store, table, true, newPasswordUtf8);
}

SaveStatus StoreProtectionOff(SettingsStore& store, const text::MessageTable& table) {
  return WriteSecurity(store, table, false, {});
}

AdminConfirmation ConfirmPasswordAdministration(SettingsStore& store, bool protectionChecked,
                                                std::string_view newPasswordUtf8,
                                                std::string_view repeatedPasswordUtf8,
                                                const text::MessageTable& table) {
  AdminConfirmation result;
  if (!protectionChecked) {
    result.save = StoreProtectionOff(store, table);
    result.passwordEnabled = false;
    return result;
  }
  result.check = ValidateNewPassword(newPasswordUtf8, repeatedPasswordUtf8);
  if (result.check != NewPasswordCheck::kAccepted) return result;
  result.save = StoreProtectionOn(store, newPasswordUtf8, table);
  result.passwordEnabled = true;
  return result;
}

}  // namespace virelo::settings
