#include "settings/memory_settings_store.h"

#include <algorithm>

namespace virelo::settings {

namespace {

// "\A\\b\" and "a\B" name the same key: components joined by one backslash, case folded.
std::string NormalPath(std::string_view path) {
  std::string joined;
  for (const auto& part : SplitKeyPath(path)) {
    if (!joined.empty()) joined += '\\';
    joined += FoldName(part);
  }
  return joined;
}

}  // namespace

struct MemorySettingsStore::Node {
  std::vector<std::pair<std::string, SettingsValue>> values;

  const SettingsValue* Find(std::string_view name) const {
    const auto it = std::find_if(values.begin(), values.end(),
                                 [&](const auto& entry) { return SameName(entry.first, name); });
    return it == values.end() ? nullptr : &it->second;
  }

  void Set(std::string_view name, SettingsValue value) {
    const auto it = std::find_if(values.begin(), values.end(),
                                 [&](const auto& entry) { return SameName(entry.first, name); });
    if (it == values.end()) {
      values.emplace_back(std::string(name), std::move(value));
    } else {
      it->second = std::move(value);
    }
  }
};

class MemorySettingsStore::Key final : public SettingsKey {
 public:
  Key(const MemorySettingsStore& store, std::string path, std::shared_ptr<Node> node)
      : store_(store), path_(std::move(path)), node_(std::move(node)) {}

  std::optional<std::int32_t> ReadInteger(std::string_view name) const override {
    const auto* value = node_->Find(name);
    if (value == nullptr || !std::holds_alternative<std::int32_t>(*value)) return std::nullopt;
    return std::get<std::int32_t>(*value);
  }

  std::optional<std::string> ReadText(std::string_view name) const override {
    const auto* value = node_->Find(name);
    if (value == nullptr || !std::holds_alternative<std::string>(*value)) return std::nullopt;
    return std::get<std::string>(*value);
  }

  bool WriteInteger(std::string_view name, std::int32_t value) override {
    return Write(name, value);
  }

  bool WriteText(std::string_view name, std::string_view utf8Text) override {
    return Write(name, std::string(utf8Text));
  }

  bool HasSubKey(std::string_view name) const override {
    return store_.nodes_.contains(path_ + '\\' + FoldName(name));
  }

 private:
  bool Write(std::string_view name, SettingsValue value) {
    if (Covers(store_.refusedWrites_, path_)) return false;
    node_->Set(name, std::move(value));
    return true;
  }

  const MemorySettingsStore& store_;
  std::string path_;
  std::shared_ptr<Node> node_;
};

MemorySettingsStore::MemorySettingsStore() = default;
MemorySettingsStore::~MemorySettingsStore() = default;

std::unique_ptr<SettingsKey> MemorySettingsStore::OpenKey(std::string_view path, OpenMode mode) {
  const auto normal = NormalPath(path);
  if (normal.empty() || Covers(refusedKeys_, normal)) return nullptr;
  auto node = mode == OpenMode::kMayCreate ? CreateNode(path) : FindNode(path);
  if (!node) return nullptr;
  return std::make_unique<Key>(*this, normal, std::move(node));
}

void MemorySettingsStore::RefuseKey(std::string_view path) {
  refusedKeys_.push_back(NormalPath(path));
}

void MemorySettingsStore::RefuseWrites(std::string_view path) {
  refusedWrites_.push_back(NormalPath(path));
}

void MemorySettingsStore::ClearRefusals() {
  refusedKeys_.clear();
  refusedWrites_.clear();
}

void MemorySettingsStore::CreateKey(std::string_view path) {
  CreateNode(path);
}

void MemorySettingsStore::Put(std::string_view path, std::string_view name, SettingsValue value) {
  CreateNode(path)->Set(name, std::move(value));
}

bool MemorySettingsStore::HasKey(std::string_view path) const {
  return FindNode(path) != nullptr;
}

std::optional<SettingsValue> MemorySettingsStore::Get(std::string_view path,
                                                      std::string_view name) const {
  const auto node = FindNode(path);
  if (!node) return std::nullopt;
  const auto* value = node->Find(name);
  if (value == nullptr) return std::nullopt;
  return *value;
}

std::vector<std::string> MemorySettingsStore::ValueNames(std::string_view path) const {
  std::vector<std::string> names;
  if (const auto node = FindNode(path)) {
    for (const auto& entry : node->values) names.push_back(entry.first);
  }
  return names;
}

std::shared_ptr<MemorySettingsStore::Node> MemorySettingsStore::FindNode(
    std::string_view path) const {
  const auto it = nodes_.find(NormalPath(path));
  return it == nodes_.end() ? nullptr : it->second;
}

// Creating a key creates its missing parents, as the registry does.
std::shared_ptr<MemorySettingsStore::Node> MemorySettingsStore::CreateNode(std::string_view path) {
  std::string prefix;
  std::shared_ptr<Node> node;
  for (const auto& part : SplitKeyPath(path)) {
    if (!prefix.empty()) prefix += '\\';
    prefix += FoldName(part);
    auto& slot = nodes_[prefix];
    if (!slot) slot = std::make_shared<Node>();
    node = slot;
  }
  return node;
}

bool MemorySettingsStore::Covers(const std::vector<std::string>& roots,
                                 const std::string& foldedPath) {
  return std::any_of(roots.begin(), roots.end(), [&](const std::string& root) {
    return foldedPath == root || (foldedPath.size() > root.size() && foldedPath.starts_with(root) &&
                                  foldedPath[root.size()] == '\\');
  });
}

}  // namespace virelo::settings
