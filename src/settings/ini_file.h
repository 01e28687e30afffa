// A reader for the INI text files that Windows programs write: "[Section]" lines and
// "Key=Value" lines. Section and key names are compared without letter case; the first
// section and the first key of a name count, as the Windows reader does.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace virelo::settings {

class IniFile {
 public:
  // Reads the file; nothing when it cannot be read. The file is Windows-1252 text unless it
  // starts with a UTF-8 byte-order mark.
  static std::optional<IniFile> Load(const std::filesystem::path& path);
  // Parses file contents given as bytes, with the same rules.
  static IniFile Parse(std::string_view bytes);

  // The value as UTF-8 text, blanks around it and one pair of enclosing quotes removed.
  std::optional<std::string> Text(std::string_view section, std::string_view key) const;
  // The value read as a whole integer: decimal, or hexadecimal after "0x"; an optional sign.
  // Nothing when the key is missing or its value does not read as an integer.
  std::optional<std::int32_t> Integer(std::string_view section, std::string_view key) const;

 private:
  struct Entry {
    std::string section;
    int sectionNumber;  // position of the section's header among all headers
    std::string key;
    std::string value;  // UTF-8
  };
  std::vector<Entry> entries_;
};

// Reads a whole decimal or "0x" hexadecimal integer within 32 bits (hexadecimal up to
// 0xFFFFFFFF, taken as the bits of a signed value).
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

}  // namespace virelo::settings
