#include <gtest/gtest.h>

#include <vector>

#include "settings/memory_settings_store.h"
#include "settings/password.h"

namespace virelo::settings {
namespace {

const std::string kSecurity = "\\Software\\Ostrana\\Configurador Virelo\\Settings\\Security";

TEST(ScramblePassword, LowersEveryCharacterCodeByOneAndBack) {
  EXPECT_EQ(ScramblePassword("abc"), std::string({96, 97, 98}));
  EXPECT_EQ(UnscramblePassword("qzkwb"), "r{lxc");
  EXPECT_EQ(ScramblePassword(""), "");
  // Codes wrap within the byte.
  EXPECT_EQ(ScramblePassword(std::string(1, '\0')), "\xFF");
  EXPECT_EQ(UnscramblePassword("\xFF"), std::string(1, '\0'));
  for (int code = 0; code < 256; ++code) {
    const std::string one(1, static_cast<char>(code));
    EXPECT_EQ(UnscramblePassword(ScramblePassword(one)), one) << code;
  }
}

TEST(ScramblePassword, StoredFormWorksOnWindows1252Codes) {
  // "ç" is 0xE7, stored as 0xE6 "æ"; "€" is 0x80, stored as 0x7F.
  EXPECT_EQ(StoredFormOfPassword("çA"), "æ@");
  EXPECT_EQ(StoredFormOfPassword("€"), "\x7F");
  EXPECT_EQ(PasswordOfStoredForm("æ@"), "çA");
  EXPECT_EQ(PasswordOfStoredForm(StoredFormOfPassword("Senha 1!")), "Senha 1!");
}

TEST(PasswordMatches, LetterCaseCounts) {
  EXPECT_TRUE(PasswordMatches("Virelo", "Virelo"));
  EXPECT_FALSE(PasswordMatches("virelo", "Virelo"));
  EXPECT_FALSE(PasswordMatches("Virel", "Virelo"));
  EXPECT_TRUE(PasswordMatches("", ""));
}

TEST(ReadExpectedPassword, UnscramblesTheStoredFormOrGivesTheEmptyText) {
  MemorySettingsStore store;
  EXPECT_EQ(ReadExpectedPassword(store), "");  // no "Security"
  store.Put(kSecurity, "Enable", std::int32_t{1});
  EXPECT_EQ(ReadExpectedPassword(store), "");  // no "Password"
  store.Put(kSecurity, "PASSWORD", std::string("qzkwb"));
  EXPECT_EQ(ReadExpectedPassword(store), "r{lxc");
  store.Put(kSecurity, "Password", std::int32_t{4});
  EXPECT_EQ(ReadExpectedPassword(store), "");  // not a text
  store.RefuseKey(kSecurity);
  EXPECT_EQ(ReadExpectedPassword(store), "");
}

TEST(LoginTries, TheThirdWrongEntryInAShowingEndsTheDialogAndEachShowingStartsAgain) {
  LoginTries tries;
  EXPECT_EQ(tries.left(), 3);
  EXPECT_FALSE(tries.RecordWrongEntry());
  EXPECT_FALSE(tries.RecordWrongEntry());
  EXPECT_TRUE(tries.RecordWrongEntry());
  EXPECT_EQ(tries.left(), 0);
  EXPECT_TRUE(tries.RecordWrongEntry());  // never keeps a used-up dialog open

  tries.Restart();
  EXPECT_EQ(tries.left(), 3);
  EXPECT_FALSE(tries.RecordWrongEntry());
  tries.Restart();
  EXPECT_FALSE(tries.RecordWrongEntry());
  EXPECT_FALSE(tries.RecordWrongEntry());
  EXPECT_TRUE(tries.RecordWrongEntry());
}

TEST(NoPasswordSwitch, OnlyTheExactWordAsFirstArgumentCounts) {
  const struct {
    std::vector<const char*> argv;
    bool requested;
  } cases[] = {
      {{"virelo", "/nopassword"}, true},
      {{"virelo", "/nopassword", "--demo"}, true},
      {{"virelo"}, false},
      {{"virelo", "/NOPASSWORD"}, false},
      {{"virelo", "/nopassword "}, false},
      {{"virelo", "nopassword"}, false},
      {{"virelo", "--demo", "/nopassword"}, false},
      {{"/nopassword"}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NoPasswordRequested(static_cast<int>(c.argv.size()), c.argv.data()), c.requested)
        << c.argv.size() << " arguments";
  }
  EXPECT_FALSE(NoPasswordRequested(0, nullptr));
}

TEST(NoPasswordSwitch, TurnsProtectionOffKeepingThePasswordAndCreatesNothing) {
  const char* argv[] = {"virelo", "/nopassword"};
  MemorySettingsStore store;
  EXPECT_TRUE(HandleNoPasswordSwitch(2, argv, store));
  EXPECT_FALSE(store.HasKey(kSecurity));

  store.Put(kSecurity, "ENABLE", std::int32_t{1});
  store.Put(kSecurity, "Password", std::string("`ab"));
  const char* capitals[] = {"virelo", "/NoPassword"};
  EXPECT_FALSE(HandleNoPasswordSwitch(2, capitals, store));
  EXPECT_TRUE(ReadProtectionEnabled(store));

  EXPECT_TRUE(HandleNoPasswordSwitch(2, argv, store));
  EXPECT_FALSE(ReadProtectionEnabled(store));
  EXPECT_EQ(store.ValueNames(kSecurity), (std::vector<std::string>{"ENABLE", "Password"}));
  EXPECT_EQ(store.Get(kSecurity, "Password"), SettingsValue(std::string("`ab")));
}

TEST(ValidateNewPassword, ChecksInTheDialogsOrder) {
  const struct {
    std::string_view newPassword, repeated;
    NewPasswordCheck check;
  } cases[] = {
      {"", "", NewPasswordCheck::kNewMissing},       {"", "abc", NewPasswordCheck::kNewMissing},
      {"abc", "", NewPasswordCheck::kRepeatMissing}, {"abc", "abd", NewPasswordCheck::kMismatch},
      {"abc", "ABC", NewPasswordCheck::kMismatch},   {"abc", "abc", NewPasswordCheck::kAccepted},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ValidateNewPassword(c.newPassword, c.repeated), c.check)
        << c.newPassword << " / " << c.repeated;
  }
}

TEST(ConfirmPasswordAdministration, TurningOnStoresTheScrambledPasswordOnlyWhenBothFieldsAgree) {
  MemorySettingsStore store;
  auto result = ConfirmPasswordAdministration(store, true, "abc", "abd");
  EXPECT_EQ(result.check, NewPasswordCheck::kMismatch);
  EXPECT_FALSE(store.HasKey(kSecurity));

  result = ConfirmPasswordAdministration(store, true, "abc", "abc");
  EXPECT_EQ(result.check, NewPasswordCheck::kAccepted);
  EXPECT_EQ(result.save, SaveStatus::kSaved);
  EXPECT_TRUE(result.passwordEnabled);
  EXPECT_EQ(store.Get(kSecurity, "Enable"), SettingsValue(std::int32_t{1}));
  EXPECT_EQ(store.Get(kSecurity, "Password"), SettingsValue(std::string({96, 97, 98})));
  EXPECT_TRUE(PasswordMatches("abc", ReadExpectedPassword(store)));
  EXPECT_FALSE(PasswordMatches("ABC", ReadExpectedPassword(store)));
}

TEST(ConfirmPasswordAdministration, TurningOffKeepsTheStoredPassword) {
  MemorySettingsStore store;
  ConfirmPasswordAdministration(store, true, "abc", "abc");
  const auto result = ConfirmPasswordAdministration(store, false, "", "");
  EXPECT_EQ(result.check, NewPasswordCheck::kAccepted);
  EXPECT_EQ(result.save, SaveStatus::kSaved);
  EXPECT_FALSE(result.passwordEnabled);
  EXPECT_FALSE(ReadProtectionEnabled(store));
  EXPECT_EQ(store.Get(kSecurity, "Password"), SettingsValue(std::string({96, 97, 98})));
}

TEST(ConfirmPasswordAdministration, ARefusedKeyIsReportedAndTheChoiceStillTakesEffect) {
  MemorySettingsStore store;
  store.RefuseKey(kSecurity);
  auto result = ConfirmPasswordAdministration(store, true, "abc", "abc");
  EXPECT_EQ(result.save, SaveStatus::kKeyRefused);
  EXPECT_TRUE(result.passwordEnabled);
  result = ConfirmPasswordAdministration(store, false, "", "");
  EXPECT_EQ(result.save, SaveStatus::kKeyRefused);
  EXPECT_FALSE(result.passwordEnabled);

  store.ClearRefusals();
  store.RefuseWrites(kSecurity);
  EXPECT_EQ(ConfirmPasswordAdministration(store, true, "x", "x").save, SaveStatus::kWriteFailed);
}

}  // namespace
}  // namespace virelo::settings
