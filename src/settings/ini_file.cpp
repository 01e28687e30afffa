#include "settings/ini_file.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <limits>

#include "settings/settings_store.h"
#include "text/cp1252.h"

namespace virelo::settings {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::string_view Unquote(std::string_view text) {
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
      text.back() == text.front()) {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

}  // namespace

std::optional<IniFile> IniFile::Load(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return Parse(bytes);
}

IniFile IniFile::Parse(std::string_view bytes) {
  const bool utf8 = bytes.starts_with(kUtf8Mark);
  if (utf8) bytes.remove_prefix(kUtf8Mark.size());

  IniFile file;
  std::string section;
  int sectionNumber = -1;
  while (!bytes.empty()) {
    const auto end = bytes.find('\n');
    const auto line = Trim(bytes.substr(0, end));
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);

    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const auto close = line.find(']');
      section = std::string(
          Trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1)));
      ++sectionNumber;
      continue;
    }
    const auto equals = line.find('=');
    if (sectionNumber < 0 || equals == std::string_view::npos) continue;
    const auto value = Unquote(Trim(line.substr(equals + 1)));
    file.entries_.push_back({section, sectionNumber, std::string(Trim(line.substr(0, equals))),
                             utf8 ? std::string(value) : text::Cp1252ToUtf8(value)});
  }
  return file;
}

std::optional<std::string> IniFile::Text(std::string_view section, std::string_view key) const {
  // The first section of a name holds the keys; a later section of the same name is not read.
  std::optional<int> firstNumber;
  for (const auto& entry : entries_) {
    if (!SameName(entry.section, section)) continue;
    if (!firstNumber) firstNumber = entry.sectionNumber;
    if (entry.sectionNumber != *firstNumber) continue;
    if (SameName(entry.key, key)) return entry.value;
  }
  return std::nullopt;
}

std::optional<std::int32_t> IniFile::Integer(std::string_view section, std::string_view key) const {
  const auto value = Text(section, key);
  if (!value) return std::nullopt;
  return ParseIniInteger(*value);
}

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;

  std::uint64_t magnitude = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;

  if (base == 16) {
    if (magnitude > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    auto bits = static_cast<std::uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
  }
  const std::uint64_t limit =
      negative ? std::uint64_t{1} << 31 : std::uint64_t{std::numeric_limits<std::int32_t>::max()};
  if (magnitude > limit) return std::nullopt;
  return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                  : static_cast<std::int32_t>(magnitude);
}

}  // namespace virelo::settings
