// The per-user settings store: keys opened by a backslash path from the user's root, each
// key holding named values of a few types. Value names are compared without letter case, as
// in the Windows registry, whatever the backend.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace virelo::settings {

enum class OpenMode {
  kMayCreate,     // a missing key is created on opening
  kExistingOnly,  // opening a missing key fails
};

// A stored value: a 32-bit integer, a text (UTF-8) or raw bytes.
using SettingsValue = std::variant<std::int32_t, std::string, std::vector<std::uint8_t>>;

// An open key. It stays usable for as long as the object lives; destroying it closes it.
class SettingsKey {
 public:
  virtual ~SettingsKey() = default;

  // The value `name` when it is held as an integer; nothing when it is missing or of
  // another type.
  virtual std::optional<std::int32_t> ReadInteger(std::string_view name) const = 0;
  // The value `name` when it is held as a text; nothing when it is missing or of another type.
  virtual std::optional<std::string> ReadText(std::string_view name) const = 0;

  // Writing replaces a value whose name differs only in letter case. False when the backend
  // refused the write.
  virtual bool WriteInteger(std::string_view name, std::int32_t value) = 0;
  virtual bool WriteText(std::string_view name, std::string_view utf8Text) = 0;

  // Whether the key has a direct sub-key `name` (letter case ignored).
  virtual bool HasSubKey(std::string_view name) const = 0;
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // Opens the key at `path`, for example "\Software\Ostrana\Configurador Virelo\Settings".
  // Nothing when the key is missing (kExistingOnly) or cannot be opened or created.
  virtual std::unique_ptr<SettingsKey> OpenKey(std::string_view path, OpenMode mode) = 0;
};

// Key and value names compare equal when they differ only in the case of ASCII letters.
bool SameName(std::string_view a, std::string_view b);
std::string FoldName(std::string_view name);

// The components of a backslash path, empty components dropped ("\A\\B\" gives A, B).
std::vector<std::string> SplitKeyPath(std::string_view path);

}  // namespace virelo::settings
