// The decoded configuration of a logger as text: a summary for a person and a JSON object
// for programs.
#pragma once

#include <string>

#include "model/logger_config.h"
#include "text/message_table.h"

namespace virelo::app {

// Human-readable summary, UTF-8, lines ending in '\n'.
std::string DescribeConfiguration(const model::LoggerConfig& config,
                                  const text::MessageTable& table);

// One JSON object (UTF-8) whose keys are the field names of the configuration model, with
// each channel's input-type name and its values formatted as the channels page shows them,
// and the planner's memory sharing (`plannedCount`, `maxPlannedCount`).
std::string ConfigurationJson(const model::LoggerConfig& config, const text::MessageTable& table);

}  // namespace virelo::app
