#include "app/config_report.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "model/counts.h"
#include "model/input_types.h"
#include "model/planner.h"

namespace virelo::app {

namespace {

using model::ChannelConfig;
using model::LoggerConfig;

std::string Printf(const char* format, auto... args) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

std::string TrimTrailingBlanks(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::string FirmwareText(std::int16_t version) {
  return Printf("%d.%02d", version / 100, version % 100);
}

std::string SerialNumberText(std::int32_t serialNumber) {
  return Printf("%08lu", static_cast<unsigned long>(static_cast<std::uint32_t>(serialNumber)));
}

std::string DateTimeText(const model::LoggerDateTime& dateTime) {
  const model::LocalDateTime local = model::ToLocalDateTime(dateTime);
  return Printf("%02d/%02d/%04d %02d:%02d:%02d", local.day, local.month, local.year, local.hour,
                local.minute, local.second);
}

std::string UnitSymbol(model::TemperatureUnit unit) {
  return unit == model::TemperatureUnit::kFahrenheit ? "°F" : "°C";
}

std::string ChannelValueText(const ChannelConfig& channel, std::int16_t count) {
  return model::FormatChannelValue(count, channel.inputType, channel.decimals);
}

std::string ModeText(model::RelayMode mode) {
  return mode == model::RelayMode::kDigitalOutput ? "digital output" : "alarm";
}

std::string AlarmText(const ChannelConfig& channel, std::uint8_t kind, std::uint8_t relays,
                      std::int16_t setPoint) {
  if (kind == 0) return "off";
  std::string text;
  if (kind & model::kAlarmLow) text += "low";
  if (kind & model::kAlarmHigh) text += text.empty() ? "high" : "+high";
  text += ", set point " + ChannelValueText(channel, setPoint) + ", relays ";
  if (relays == 0) return text + "none";
  if (relays & model::kRelay1) text += "1";
  if (relays & model::kRelay2) text += (relays & model::kRelay1) ? "+2" : "2";
  return text;
}

std::string StartText(const model::AcquisitionProgram& program) {
  switch (program.startMode) {
    case model::StartMode::StartByButton:
      return "by the \"Iniciar\" button";
    case model::StartMode::StartAtTime:
      return "at " + DateTimeText(program.startTime);
    case model::StartMode::StartByInput:
      return "by the digital input";
  }
  return "mode " + std::to_string(static_cast<int>(program.startMode)) + " (not used)";
}

std::string StopText(const model::AcquisitionProgram& program) {
  const std::string memoryRule =
      program.overwrite ? "overwriting the oldest acquisitions" : "when the memory is full";
  switch (program.stopMode) {
    case model::StopMode::StopNone:
      return program.overwrite ? "never, " + memoryRule : memoryRule;
    case model::StopMode::StopAtTime:
      return "at " + DateTimeText(program.stopTime);
    case model::StopMode::StopAfterIntervals:
      return "after " + std::to_string(program.stopAfterIntervals) + " base intervals";
    case model::StopMode::StopByInput:
      return "by the digital input, " + memoryRule;
  }
  return "mode " + std::to_string(static_cast<int>(program.stopMode));
}

struct MemoryPlan {
  model::PlannedCounts plannedCount{};
  std::int32_t maxPlannedCount = 0;
};

// The planner works on a copy: it corrects zero multipliers, which a report must not do.
MemoryPlan PlanMemory(const LoggerConfig& config) {
  LoggerConfig copy = config;
  MemoryPlan plan;
  plan.maxPlannedCount = model::MaxPlannedCount(copy, plan.plannedCount);
  return plan;
}

void DescribeChannel(std::string& out, const ChannelConfig& channel, int number,
                     const text::MessageTable& table) {
  out += Printf("Channel %d: ", number) + (channel.enabled ? "enabled" : "disabled") + "\n";
  out += "  Tag: " + model::TextUtf8(channel.tag) + "\n";
  out += "  Input type: " + std::to_string(channel.inputType) + " " +
         TrimTrailingBlanks(model::InputTypeText(channel.inputType, channel.unit, table)) + "\n";
  out += "  Unit: " + UnitSymbol(channel.unit) + "\n";
  out += "  Engineering unit: " + model::TextUtf8(channel.engineeringUnit) + "\n";
  out +=
      std::string("  Reading mode: ") + (channel.differential ? "differential" : "normal") + "\n";
  out += "  Scale: " + ChannelValueText(channel, channel.scaleLow) + " to " +
         ChannelValueText(channel, channel.scaleHigh) + "\n";
  out += "  Decimals: " + std::to_string(channel.decimals) +
         ", thermocouple decimal: " + (channel.thermocoupleDecimal ? "on" : "off") + "\n";
  out += "  Alarm 1: " +
         AlarmText(channel, channel.alarm1Kind, channel.alarm1Relays, channel.alarm1SetPoint) +
         "\n";
  out += "  Alarm 2: " +
         AlarmText(channel, channel.alarm2Kind, channel.alarm2Relays, channel.alarm2SetPoint) +
         "\n";
  out += "  Filter: " + std::to_string(channel.filter) + "\n";
}

// ---- JSON ----

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          out += Printf("\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

// Builds one object member by member.
class JsonObject {
 public:
  JsonObject& Raw(std::string_view key, std::string_view json) {
    body_ += body_.empty() ? "" : ",";
    body_ += JsonString(key);
    body_ += ":";
    body_ += json;
    return *this;
  }
  JsonObject& Number(std::string_view key, long long value) {
    return Raw(key, std::to_string(value));
  }
  JsonObject& Bool(std::string_view key, bool value) { return Raw(key, value ? "true" : "false"); }
  JsonObject& String(std::string_view key, std::string_view value) {
    return Raw(key, JsonString(value));
  }
  std::string Done() const { return "{" + body_ + "}"; }

 private:
  std::string body_;
};

template <typename Range, typename ToJson>
std::string JsonArray(const Range& range, ToJson toJson) {
  std::string out = "[";
  for (const auto& item : range) {
    if (out.size() > 1) out += ",";
    out += toJson(item);
  }
  return out + "]";
}

std::string NumberArray(const auto& values) {
  return JsonArray(values, [](auto v) { return std::to_string(static_cast<long long>(v)); });
}

std::string DateTimeJson(const model::LoggerDateTime& t) {
  return JsonObject()
      .Number("second", t.second)
      .Number("minute", t.minute)
      .Number("hour", t.hour)
      .Number("day", t.day)
      .Number("month", t.month)
      .Number("yearIndex", t.yearIndex)
      .Done();
}

std::string ChannelJson(const ChannelConfig& ch, const text::MessageTable& table) {
  return JsonObject()
      .Bool("enabled", ch.enabled)
      .Number("inputType", ch.inputType)
      .Number("unitAsWritten", static_cast<int>(ch.unitAsWritten))
      .Number("scaleLow", ch.scaleLow)
      .Number("scaleHigh", ch.scaleHigh)
      .Bool("differential", ch.differential)
      .Number("alarm1SetPoint", ch.alarm1SetPoint)
      .Number("alarm2SetPoint", ch.alarm2SetPoint)
      .Number("alarm1Kind", ch.alarm1Kind)
      .Number("alarm2Kind", ch.alarm2Kind)
      .Number("alarm1Relays", ch.alarm1Relays)
      .Number("alarm2Relays", ch.alarm2Relays)
      .String("tag", model::TextUtf8(ch.tag))
      .String("engineeringUnit", model::TextUtf8(ch.engineeringUnit))
      .Number("filter", ch.filter)
      .Number("decimals", ch.decimals)
      .Bool("thermocoupleDecimalAsWritten", ch.thermocoupleDecimalAsWritten)
      .Bool("thermocoupleDecimal", ch.thermocoupleDecimal)
      .Number("unit", static_cast<int>(ch.unit))
      .String("inputTypeText", model::InputTypeText(ch.inputType, ch.unit, table))
      .String("scaleLowText", ChannelValueText(ch, ch.scaleLow))
      .String("scaleHighText", ChannelValueText(ch, ch.scaleHigh))
      .String("alarm1SetPointText", ChannelValueText(ch, ch.alarm1SetPoint))
      .String("alarm2SetPointText", ChannelValueText(ch, ch.alarm2SetPoint))
      .Done();
}

std::string ProgramJson(const model::AcquisitionProgram& p) {
  const std::string baseInterval = JsonObject()
                                       .Number("tenths", p.baseInterval.tenths)
                                       .Number("seconds", p.baseInterval.seconds)
                                       .Number("minutes", p.baseInterval.minutes)
                                       .Number("hours", p.baseInterval.hours)
                                       .Done();
  return JsonObject()
      .Raw("multiplier", NumberArray(p.multiplier))
      .Raw("baseInterval", baseInterval)
      .Number("startMode", static_cast<int>(p.startMode))
      .Number("stopMode", static_cast<int>(p.stopMode))
      .Bool("overwrite", p.overwrite)
      .Number("stopAfterIntervals", p.stopAfterIntervals)
      .Number("memoryCapacity", p.memoryCapacity)
      .Raw("startTime", DateTimeJson(p.startTime))
      .Raw("stopTime", DateTimeJson(p.stopTime))
      .Done();
}

}  // namespace

std::string DescribeConfiguration(const LoggerConfig& config, const text::MessageTable& table) {
  std::string out;
  out += "Title: " + model::TextUtf8(config.title) + "\n";
  out += "Firmware: " + FirmwareText(config.firmwareVersion) + "\n";
  out += "Serial number: " + SerialNumberText(config.serialNumber) + "\n";
  out += "Mains frequency: " + std::to_string(config.mainsFrequency) + " Hz\n";
  out += "Relay 1: " + ModeText(config.relay1Mode) + "\n";
  out += "Relay 2: " + ModeText(config.relay2Mode) + "\n";
  out += Printf("Alarm flags: 0x%04x\n",
                static_cast<unsigned>(static_cast<std::uint16_t>(config.alarmFlags)));
  out += Printf("Status flags: 0x%04x\n",
                static_cast<unsigned>(static_cast<std::uint16_t>(config.statusFlags)));
  for (int c = 0; c < model::kChannelCount; ++c) {
    DescribeChannel(out, config.channels[static_cast<std::size_t>(c)], c + 1, table);
  }

  const model::AcquisitionProgram& program = config.program;
  out += "Acquisition program:\n";
  out += "  Start: " + StartText(program) + "\n";
  out += "  Stop: " + StopText(program) + "\n";
  out += "  Base interval: " + model::FormatBaseInterval(program.baseInterval) + "\n";
  out += "  Multipliers:";
  for (std::int16_t multiplier : program.multiplier) out += " " + std::to_string(multiplier);
  out += "\n";

  const MemoryPlan plan = PlanMemory(config);
  out += "Memory: " + std::to_string(program.memoryCapacity) + " acquisitions\n";
  out += "Planned acquisitions with the memory shared:";
  for (std::int32_t count : plan.plannedCount) out += " " + std::to_string(count);
  out += " (largest " + std::to_string(plan.maxPlannedCount) + ")\n";
  return out;
}

std::string ConfigurationJson(const LoggerConfig& config, const text::MessageTable& table) {
  const MemoryPlan plan = PlanMemory(config);
  return JsonObject()
             .String("title", model::TextUtf8(config.title))
             .Number("firmwareVersion", config.firmwareVersion)
             .Number("serialNumber", config.serialNumber)
             .Number("mainsFrequency", config.mainsFrequency)
             .Number("relay1Mode", static_cast<int>(config.relay1Mode))
             .Number("relay2Mode", static_cast<int>(config.relay2Mode))
             .Number("alarmFlags", config.alarmFlags)
             .Number("statusFlags", config.statusFlags)
             .Raw("channelStatus", NumberArray(config.channelStatus))
             .Raw("channels", JsonArray(config.channels,
                                        [&table](const ChannelConfig& channel) {
                                          return ChannelJson(channel, table);
                                        }))
             .Raw("program", ProgramJson(config.program))
             .Raw("plannedCount", NumberArray(plan.plannedCount))
             .Number("maxPlannedCount", plan.maxPlannedCount)
             .Done() +
         "\n";
}

}  // namespace virelo::app
