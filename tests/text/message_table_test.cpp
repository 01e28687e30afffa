#include "text/message_table.h"

#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/cp1252.h"

namespace virelo::text {
namespace {

// messages.tsv holds one entry per line: the index, a tab, and the text between double
// quotes, so that trailing blanks are visible and compared.
std::vector<std::string> ReadExpectedTexts() {
  std::ifstream file(VIRELO_MESSAGES_TSV);
  std::vector<std::string> texts;
  std::string line;
  while (std::getline(file, line)) {
    const std::string prefix = std::to_string(texts.size()) + "\t\"";
    const bool wellFormed =
        line.size() >= prefix.size() + 1 && line.starts_with(prefix) && line.ends_with('"');
    if (!wellFormed) {
      ADD_FAILURE() << "malformed fixture line " << texts.size() << ": " << line;
      return {};
    }
    texts.push_back(line.substr(prefix.size(), line.size() - prefix.size() - 1));
  }
  return texts;
}

TEST(MessageTable, BuiltInTextsMatchTheReferenceList) {
  const std::vector<std::string> expected = ReadExpectedTexts();
  ASSERT_EQ(expected.size(), static_cast<std::size_t>(kMessageCount));

  const MessageTable table;
  for (int index = 0; index < kMessageCount; ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(BuiltInMessages()[index], expected[index]);
    EXPECT_EQ(table[index], expected[index]);
    EXPECT_EQ(BuiltInTable()[index], expected[index]);
  }
}

TEST(MessageTable, EveryBuiltInTextHasAWindows1252Form) {
  for (int index = 0; index < kMessageCount; ++index) {
    SCOPED_TRACE(index);
    const std::string_view text = BuiltInMessages()[index];
    EXPECT_EQ(Cp1252ToUtf8(Utf8ToCp1252(text)), text);
  }
}

TEST(MessageTable, IndexOutsideTheTableGivesAnEmptyText) {
  const MessageTable table;
  for (const int index : {-1, kMessageCount, 1000}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(table[index], "");
  }
}

TEST(MessageTable, ReplaceChangesOnlyThatEntryOfThatTable) {
  MessageTable table;
  table.Replace(48, "Attention");
  table.Replace(-1, "ignored");
  table.Replace(kMessageCount, "ignored");

  EXPECT_EQ(table[48], "Attention");
  EXPECT_EQ(table[47], BuiltInMessages()[47]);
  EXPECT_EQ(table[49], BuiltInMessages()[49]);
  EXPECT_EQ(table[-1], "");
  EXPECT_EQ(table[kMessageCount], "");
  EXPECT_EQ(BuiltInTable()[48], "Atenção");
}

}  // namespace
}  // namespace virelo::text
