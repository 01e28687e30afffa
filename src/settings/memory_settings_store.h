// A settings store held in memory, for tests and for runs that must not touch the user's
// saved settings. Keys can be told to refuse opening or writing.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/settings_store.h"

namespace virelo::settings {

class MemorySettingsStore final : public SettingsStore {
 public:
  MemorySettingsStore();
  ~MemorySettingsStore() override;
  MemorySettingsStore(const MemorySettingsStore&) = delete;
  MemorySettingsStore& operator=(const MemorySettingsStore&) = delete;

  // Keys opened from the store share its contents and must not outlive it.
  std::unique_ptr<SettingsKey> OpenKey(std::string_view path, OpenMode mode) override;

  // Opening `path` or any key below it fails, in both modes, from now on.
  void RefuseKey(std::string_view path);
  // `path` and the keys below it still open, but every write to them fails.
  void RefuseWrites(std::string_view path);
  void ClearRefusals();

  // Direct access for setting up and checking a test, bypassing refusals. Put creates the
  // key and its parents and replaces a value whose name differs only in letter case.
  void CreateKey(std::string_view path);
  void Put(std::string_view path, std::string_view name, SettingsValue value);
  bool HasKey(std::string_view path) const;
  std::optional<SettingsValue> Get(std::string_view path, std::string_view name) const;
  // The value names of a key as first written, in writing order.
  std::vector<std::string> ValueNames(std::string_view path) const;

 private:
  struct Node;
  class Key;

  std::shared_ptr<Node> FindNode(std::string_view path) const;
  std::shared_ptr<Node> CreateNode(std::string_view path);
  static bool Covers(const std::vector<std::string>& roots, const std::string& foldedPath);

  std::map<std::string, std::shared_ptr<Node>> nodes_;  // by folded, normalised path
  std::vector<std::string> refusedKeys_;
  std::vector<std::string> refusedWrites_;
};

}  // namespace virelo::settings
