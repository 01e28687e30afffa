// The outcome of turning a text into a number: the value, or the text that could not be
// converted, so that the caller can tell the user which text was wrong.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace virelo::model {

struct ConversionError {
  std::string text;  // the text that was converted and is not a number
};

// "'%s' is not a valid integer value" with the failed text.
std::string ConversionErrorMessage(const ConversionError& error);

template <typename T>
class Converted {
 public:
  Converted(T value) : value_(std::move(value)) {}
  Converted(ConversionError error) : error_(std::move(error)) {}

  bool ok() const { return value_.has_value(); }
  explicit operator bool() const { return ok(); }
  // Only when ok().
  const T& value() const { return *value_; }
  const T& operator*() const { return *value_; }
  // Only when !ok().
  const ConversionError& error() const { return error_; }

 private:
  std::optional<T> value_;
  ConversionError error_;
};

}  // namespace virelo::model
