#include "model/counts.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "model/input_types.h"

namespace virelo::model {
namespace {

TEST(FormatCount, PlacesThePointAndKeepsTheSignOfSmallNegatives) {
  struct Case {
    int count;
    int decimals;
    const char* text;
  };
  const Case cases[] = {
      {-5, 1, "-0.5"},     {-15, 1, "-1.5"},       {5, 2, "0.05"},       {-100, 2, "-1.00"},
      {-999, 3, "-0.999"}, {-1999, 3, "-1.999"},   {1000, 3, "1.000"},   {0, 2, "0.00"},
      {-1999, 0, "-1999"}, {-32768, 3, "-32.768"}, {32767, 1, "3276.7"}, {-1, 3, "-0.001"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatCount(static_cast<std::int16_t>(c.count), c.decimals), c.text)
        << c.count << " with " << c.decimals;
  }
}

TEST(ParseCount, CutsToTheDecimalsNeverRounding) {
  struct Case {
    const char* text;
    int decimals;
    int count;
  };
  const Case cases[] = {
      {"12", 2, 1200},       {"1.5", 2, 150},      {"1,25", 1, 12},      {"1.", 1, 10},
      {"-.5", 1, -5},        {".5", 1, 5},         {"3.14159", 3, 3141}, {"12.7", 0, 12},
      {"-0.5", 1, -5},       {"-1,999", 3, -1999}, {"+7", 0, 7},         {"1.99", 1, 19},
      {"-32768", 0, -32768}, {"3276.7", 1, 32767},
  };
  for (const Case& c : cases) {
    const Converted<std::int16_t> result = ParseCount(c.text, c.decimals);
    ASSERT_TRUE(result.ok()) << c.text;
    EXPECT_EQ(*result, c.count) << c.text << " with " << c.decimals;
  }
}

TEST(ParseCount, RefusesWhatIsNotACountAndNamesTheConvertedText) {
  struct Case {
    const char* text;
    int decimals;
    const char* failed;
  };
  const Case cases[] = {
      {"1.5,2", 1, "1.52"},  // the comma is the separator when both are present
      {".5", 0, ""},         // nothing is left
      {"", 0, ""},          {"-", 0, "-"},
      {"abc", 0, "abc"},    {"1a", 0, "1a"},
      {" 12", 0, " 12"},    {"32768", 0, "32768"},  // beyond 16 bits: refused, never wrapped
      {"400", 2, "40000"},  {"-3276.9", 1, "-32769"},
  };
  for (const Case& c : cases) {
    const Converted<std::int16_t> result = ParseCount(c.text, c.decimals);
    ASSERT_FALSE(result.ok()) << c.text;
    EXPECT_EQ(result.error().text, c.failed);
  }
  EXPECT_EQ(ConversionErrorMessage(ParseCount("1.5,2", 1).error()),
            "'1.52' is not a valid integer value");
}

TEST(ParseCount, GivesBackEveryFormattedCount) {
  for (int decimals = 0; decimals <= 3; ++decimals) {
    for (int count = std::numeric_limits<std::int16_t>::min();
         count <= std::numeric_limits<std::int16_t>::max(); ++count) {
      const std::string text = FormatCount(static_cast<std::int16_t>(count), decimals);
      const Converted<std::int16_t> back = ParseCount(text, decimals);
      ASSERT_TRUE(back.ok() && *back == count) << text << " with " << decimals;
    }
  }
}

TEST(DecimalSeparatorPosition, PrefersTheFirstComma) {
  EXPECT_EQ(DecimalSeparatorPosition("12"), 0);
  EXPECT_EQ(DecimalSeparatorPosition("1.2"), 2);
  EXPECT_EQ(DecimalSeparatorPosition("1.2,3,4"), 4);
}

TEST(NormalizeEntry, RewritesByTheFamilyOfTheInputType) {
  struct Case {
    const char* text;
    int inputType;
    int decimals;
    const char* normal;
  };
  const Case cases[] = {
      {"", kPt100, 0, "0.0"},
      {"5", kPt100, 3, "5.0"},
      {"-", kPt100Current, 0, "0.0"},
      {"12.34", 0, 2, "12.34"},  // thermocouple J keeps its text
      {"", 0, 0, "0"},
      {"7", kLinearCurrent, 2, "7.00"},
      {"1,239", kLinearVoltage, 2, "1.23"},
      {"7", 25, 1, "7.0"},  // undefined code: decimals
  };
  for (const Case& c : cases) {
    const Converted<std::string> result = NormalizeEntry(c.text, c.inputType, c.decimals);
    ASSERT_TRUE(result.ok()) << c.text;
    EXPECT_EQ(*result, c.normal) << c.text << " type " << c.inputType;
  }
  EXPECT_FALSE(NormalizeEntry("x", kLinearCurrent, 0).ok());
}

TEST(ChannelValues, FollowTheDisplayRuleOfTheChannelsPage) {
  EXPECT_EQ(FormatChannelValue(-1999, kPt100, 3), "-199.9");
  EXPECT_EQ(FormatChannelValue(1000, 1, 3), "1000");  // thermocouple: whole degrees
  EXPECT_EQ(FormatChannelValue(1000, kLinearCurrent, 1), "100.0");

  EXPECT_EQ(*ParseChannelValue("", 1, 0), 0);
  EXPECT_EQ(*ParseChannelValue("-", kLinearCurrent, 2), 0);
  EXPECT_EQ(*ParseChannelValue("100", kLinearCurrent, 2), 10000);
  EXPECT_EQ(*ParseChannelValue("12.5", kPt100, 0), 125);
  EXPECT_FALSE(ParseChannelValue("12.5", 1, 0).ok());  // a separator in a whole-degree field
}

TEST(SaturateToCount, StopsAtTheEndsOfTheRange) {
  EXPECT_EQ(SaturateToCount(40000), 32767);
  EXPECT_EQ(SaturateToCount(-40000), -32768);
  EXPECT_EQ(SaturateToCount(-5), -5);
}

TEST(ParseInteger, TakesTheWhole32BitRangeOnly) {
  EXPECT_EQ(*ParseInteger("-2147483648"), std::numeric_limits<std::int32_t>::min());
  EXPECT_FALSE(ParseInteger("2147483648").ok());
  EXPECT_FALSE(ParseInteger("99999999999999999999999").ok());
  EXPECT_FALSE(ParseInteger("1.0").ok());
}

}  // namespace
}  // namespace virelo::model
