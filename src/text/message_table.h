// The texts that program code shows: messages, captions, list items built at run time and
// settings names. Each entry is reached by its index; the language file may replace entries.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace virelo::text {

inline constexpr int kMessageCount = 207;

// The built-in texts, UTF-8, in index order; trailing blanks belong to the texts.
const std::array<std::string_view, kMessageCount>& BuiltInMessages();

// A table of texts, filled with the built-in texts; entries can be replaced one by one.
// Texts are held as UTF-8; they are converted to Windows-1252 where they meet the logger
// or a file.
class MessageTable {
 public:
  MessageTable();

  // The text of entry `index`; an index outside 0..206 gives an empty text.
  const std::string& operator[](int index) const;
  // Replaces the text of entry `index`; an index outside 0..206 changes nothing.
  void Replace(int index, std::string utf8Text);

  static constexpr int size() { return kMessageCount; }

 private:
  std::array<std::string, kMessageCount> entries_;
};

// The table holding the built-in texts, for code that runs before or without a window.
const MessageTable& BuiltInTable();

}  // namespace virelo::text
