#include <gtest/gtest.h>

#include "settings/memory_settings_store.h"

namespace virelo::settings {
namespace {

constexpr std::string_view kKey = "\\Software\\Ostrana\\Configurador Virelo\\Settings";
constexpr std::string_view kSub = "\\Software\\Ostrana\\Configurador Virelo\\Settings\\Security";

TEST(MemorySettingsStore, ExistingOnlyFailsOnAMissingKeyAndMayCreateMakesItWithItsParents) {
  MemorySettingsStore store;
  EXPECT_EQ(store.OpenKey(kSub, OpenMode::kExistingOnly), nullptr);
  ASSERT_NE(store.OpenKey(kSub, OpenMode::kMayCreate), nullptr);
  EXPECT_TRUE(store.HasKey(kKey));
  // Path spelling does not matter: case, doubled and trailing backslashes.
  EXPECT_NE(store.OpenKey("software\\OSTRANA\\\\configurador virelo\\settings\\security\\",
                          OpenMode::kExistingOnly),
            nullptr);
  EXPECT_TRUE(store.OpenKey(kKey, OpenMode::kExistingOnly)->HasSubKey("SECURITY"));
  EXPECT_FALSE(store.OpenKey(kKey, OpenMode::kExistingOnly)->HasSubKey("Communication"));
}

TEST(MemorySettingsStore, ValueNamesIgnoreLetterCaseAndKeepTheirFirstSpelling) {
  MemorySettingsStore store;
  auto key = store.OpenKey(kKey, OpenMode::kMayCreate);
  ASSERT_TRUE(key->WriteInteger("Baud", 9600));
  ASSERT_TRUE(key->WriteInteger("BAUD", 19200));
  EXPECT_EQ(key->ReadInteger("baud"), 19200);
  EXPECT_EQ(store.ValueNames(kKey), std::vector<std::string>{"Baud"});
}

TEST(MemorySettingsStore, TypedReadsGiveNothingForAValueOfAnotherType) {
  MemorySettingsStore store;
  store.Put(kKey, "Port", std::string("3"));
  store.Put(kKey, "Password", std::int32_t{5});
  store.Put(kKey, "Blob", std::vector<std::uint8_t>{1, 2});
  const auto key = store.OpenKey(kKey, OpenMode::kExistingOnly);
  EXPECT_EQ(key->ReadInteger("Port"), std::nullopt);
  EXPECT_EQ(key->ReadText("Port"), "3");
  EXPECT_EQ(key->ReadText("Password"), std::nullopt);
  EXPECT_EQ(key->ReadInteger("Blob"), std::nullopt);
  EXPECT_EQ(key->ReadText("Blob"), std::nullopt);
  EXPECT_EQ(key->ReadInteger("Missing"), std::nullopt);
}

TEST(MemorySettingsStore, ARefusedKeyRefusesItselfAndEverythingBelowIt) {
  MemorySettingsStore store;
  store.CreateKey(kSub);
  store.RefuseKey(kKey);
  for (const auto mode : {OpenMode::kExistingOnly, OpenMode::kMayCreate}) {
    EXPECT_EQ(store.OpenKey(kKey, mode), nullptr);
    EXPECT_EQ(store.OpenKey(kSub, mode), nullptr);
  }
  EXPECT_NE(store.OpenKey("\\Software\\Ostrana", OpenMode::kExistingOnly), nullptr);
  // A sibling whose name merely starts the same is not refused.
  EXPECT_NE(store.OpenKey(std::string(kKey) + "2", OpenMode::kMayCreate), nullptr);
  store.ClearRefusals();
  EXPECT_NE(store.OpenKey(kSub, OpenMode::kExistingOnly), nullptr);
}

TEST(MemorySettingsStore, RefusedWritesLeaveTheValueAsItWas) {
  MemorySettingsStore store;
  store.Put(kSub, "Enable", std::int32_t{1});
  store.RefuseWrites(kKey);
  auto key = store.OpenKey(kSub, OpenMode::kExistingOnly);
  ASSERT_NE(key, nullptr);
  EXPECT_FALSE(key->WriteInteger("Enable", 0));
  EXPECT_FALSE(key->WriteText("Password", "x"));
  EXPECT_EQ(key->ReadInteger("Enable"), 1);
  EXPECT_EQ(store.Get(kSub, "Password"), std::nullopt);
}

}  // namespace
}  // namespace virelo::settings
