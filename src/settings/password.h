// Password protection of the configurator: the stored form of a password, the check of a
// typed one, the count of tries, the start-up switch that turns protection off and what the
// administration dialog writes. The dialogs call these; nothing here shows anything.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/app_settings.h"
#include "settings/settings_store.h"
#include "text/message_table.h"

namespace virelo::settings {

// The stored form: every character code (Windows-1252 bytes) lowered by 1, and back.
// Codes wrap within 8 bits. An empty password is the empty text.
std::string ScramblePassword(std::string_view cp1252);
std::string UnscramblePassword(std::string_view cp1252);

// The same on UTF-8 texts, as typed into a dialog and as held in the store: the text goes to
// Windows-1252, is scrambled or unscrambled there, and comes back as UTF-8.
std::string StoredFormOfPassword(std::string_view utf8Password);
std::string PasswordOfStoredForm(std::string_view utf8StoredForm);

// Whether the typed password is the expected one, letter case counting. Both are compared
// as the Windows-1252 bytes they are stored as.
bool PasswordMatches(std::string_view typedUtf8, std::string_view expectedUtf8);

// The password the login dialog expects: "Password" of "Security", unscrambled; the empty
// text when the key or the value is missing.
std::string ReadExpectedPassword(SettingsStore& store,
                                 const text::MessageTable& table = text::BuiltInTable());

// Whether "Enable" of "Security" is non-zero (false when the key or the value is missing).
bool ReadProtectionEnabled(SettingsStore& store,
                           const text::MessageTable& table = text::BuiltInTable());

// Counts the login dialog's wrong entries. Each showing of the dialog starts again with all
// tries (Restart); the wrong entry that uses the last try ends the dialog with abort.
class LoginTries {
 public:
  static constexpr int kTries = 3;

  // Call when the dialog is shown.
  void Restart() { left_ = kTries; }
  // Call on a wrong entry; true when it used the last try and the dialog must end (abort).
  bool RecordWrongEntry() {
    if (left_ > 0) --left_;
    return left_ == 0;
  }
  int left() const { return left_; }

 private:
  int left_ = kTries;
};

// Whether the program was started with "/nopassword" (entry 193) as its first argument,
// letter case counting. argv[0] is the program; further arguments are ignored.
bool NoPasswordRequested(int argc, const char* const* argv,
                         const text::MessageTable& table = text::BuiltInTable());

// The start-up switch: writes "Enable" = 0 into "Security" when that key exists. The stored
// password stays. Returns whether the switch was given.
bool HandleNoPasswordSwitch(int argc, const char* const* argv, SettingsStore& store,
                            const text::MessageTable& table = text::BuiltInTable());

// The checks of the administration dialog's two edits, in the order they are made.
enum class NewPasswordCheck {
  kAccepted = 0,
  kRepeatMissing = 1,  // "A nova senha deve ser digitada nos dois campos!"
  kMismatch = 2,       // "Senha digitada incorretamente! Tente novamente."
  kNewMissing = 3,     // "Nova senha deve ser digitada!"
};
NewPasswordCheck ValidateNewPassword(std::string_view newPassword,
                                     std::string_view repeatedPassword);

// Turning protection on writes "Enable" = 1 and the new password's stored form; turning it
// off writes "Enable" = 0 and keeps the stored password. "Security" is created when missing.
SaveStatus StoreProtectionOn(SettingsStore& store, std::string_view newPasswordUtf8,
                             const text::MessageTable& table = text::BuiltInTable());
SaveStatus StoreProtectionOff(SettingsStore& store,
                              const text::MessageTable& table = text::BuiltInTable());

// What "&Ok" of the administration dialog does. When `check` is not kAccepted, nothing was
// written, the dialog stays open and `passwordEnabled` is not to be changed. Otherwise the
// dialog closes, the main window takes `passwordEnabled` whatever `save` says, and a `save`
// other than kSaved is shown with message 192.
struct AdminConfirmation {
  NewPasswordCheck check = NewPasswordCheck::kAccepted;
  SaveStatus save = SaveStatus::kSaved;
  bool passwordEnabled = false;
};
AdminConfirmation ConfirmPasswordAdministration(
    SettingsStore& store, bool protectionChecked, std::string_view newPasswordUtf8,
    std::string_view repeatedPasswordUtf8, const text::MessageTable& table = text::BuiltInTable());

}  // namespace virelo::settings
