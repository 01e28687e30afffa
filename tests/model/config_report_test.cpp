#include "app/config_report.h"

#include <gtest/gtest.h>

#include <string>

#include "model/logger_config.h"
#include "text/message_table.h"

namespace virelo::app {
namespace {

using link::RegisterImage;

void Put(RegisterImage& image, int reg, unsigned word) {
  image[static_cast<std::size_t>(reg)] =
      static_cast<std::int16_t>(static_cast<std::uint16_t>(word));
}

model::LoggerConfig FixtureConfig() {
  RegisterImage image{};
  Put(image, 200, 32);
  Put(image, 17, 0x0088);  // Pt100, enabled
  Put(image, 26, 1234);    // 123.4
  Put(image, 18, 0x0092);  // linear 4-20 mA, enabled
  Put(image, 62, 0xFFFB);  // -5 with 2 decimals
  Put(image, 63, 1000);
  Put(image, 152, 0x0008);  // channel 1: 2 decimals
  Put(image, 24, 0x0019);   // undefined code 25
  Put(image, 76, 0x2241);   // title: "A, a quote, a backslash, °, a tab
  Put(image, 77, 0x5CB0);
  Put(image, 78, 0x0900);
  Put(image, 52, 1);
  Put(image, 53, 3);
  Put(image, 196, 1000);
  Put(image, 44, 0x0C1B);  // start month 12, 2025
  Put(image, 197, 12);
  Put(image, 198, 7);
  Put(image, 199, 220);
  return model::DecodeRegisterImage(image).config;
}

TEST(ConfigurationJson, NamesTheModelFieldsAndFormatsAsThePagesDo) {
  const std::string json = ConfigurationJson(FixtureConfig(), text::BuiltInTable());
  const auto has = [&json](const std::string& piece) {
    return json.find(piece) != std::string::npos;
  };
  EXPECT_TRUE(has(R"("title":"\"A\\°\t")")) << json;
  EXPECT_TRUE(has(R"("firmwareVersion":220,"serialNumber":120007,)")) << json;
  EXPECT_TRUE(has(R"("channels":[{"enabled":true,"inputType":8,)")) << json;
  EXPECT_TRUE(has(R"x("inputTypeText":"Pt100   (-200.0°C a 530.0°C)           ")x"));
  EXPECT_TRUE(
      has(R"("scaleLowText":"-199.9","scaleHighText":"530.0","alarm1SetPointText":"123.4")"));
  EXPECT_TRUE(has(R"("scaleLowText":"-0.05","scaleHighText":"10.00")"));
  EXPECT_TRUE(has(R"x("inputTypeText":"Entrada não definida (código 25)")x"));
  EXPECT_TRUE(has(R"("multiplier":[1,3,0,0,0,0,0,0])"));
  EXPECT_TRUE(
      has(R"("startTime":{"second":0,"minute":0,"hour":0,"day":0,"month":12,"yearIndex":27})"));
  EXPECT_TRUE(has(R"("plannedCount":[749,250,0,0,0,0,0,0],"maxPlannedCount":749})"));
  EXPECT_EQ(json.front(), '{');
  EXPECT_EQ(json.back(), '\n');
}

TEST(DescribeConfiguration, SummarisesForAPerson) {
  const std::string text = DescribeConfiguration(FixtureConfig(), text::BuiltInTable());
  const auto has = [&text](const std::string& piece) {
    return text.find(piece) != std::string::npos;
  };
  EXPECT_TRUE(has("Firmware: 2.20\n")) << text;
  EXPECT_TRUE(has("Serial number: 00120007\n"));
  EXPECT_TRUE(has("Channel 1: enabled\n"));
  EXPECT_TRUE(has("  Input type: 8 Pt100   (-200.0°C a 530.0°C)\n"));
  EXPECT_TRUE(has("  Scale: -199.9 to 530.0\n"));
  EXPECT_TRUE(has("  Scale: -0.05 to 10.00\n"));
  EXPECT_TRUE(has("Channel 8: disabled\n"));
  EXPECT_TRUE(
      has("Planned acquisitions with the memory shared: 749 250 0 0 0 0 0 0 (largest 749)\n"));
  EXPECT_EQ(text.back(), '\n');
}

}  // namespace
}  // namespace virelo::app
