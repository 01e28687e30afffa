// Errors that escape an event handler: shown in the program's standard error box, after
// which the program goes on with the next event.
//
// Qt's own libraries are built without exception support, so an exception must not unwind
// through them: their frames would be left without their clean-up. Handlers that may throw
// are therefore connected through ReportingErrors(), which stops the exception at the
// handler's edge. VireloApplication::notify() is the last net for an exception thrown
// directly from an event handler.
#pragma once

#include <QApplication>
#include <QString>

#include <concepts>
#include <exception>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

#include "model/conversion.h"

namespace virelo::ui {

// A text that should have been a number; a handler throws it to abandon its action, and
// the error box shows "'%s' is not a valid integer value".
class ConversionFailure : public std::runtime_error {
 public:
  explicit ConversionFailure(const model::ConversionError& error);
  explicit ConversionFailure(const std::string& failedText)
      : ConversionFailure(model::ConversionError{failedText}) {}

  const model::ConversionError& error() const { return error_; }

 private:
  model::ConversionError error_;
};

// Shows an escaped error: the caption is the program's title, the text the error's message.
using ErrorReporter = std::function<void(const QString& caption, const QString& text)>;

// The program's title for the error box: the application's display name, or entry 180 of
// the built-in table when none is set.
QString ErrorBoxCaption();

// The standard error box: a modal box over the active window, error icon and OK.
void ShowErrorBox(const QString& caption, const QString& text);

// Replaces the error box for the whole program (tests record instead); empty: the standard
// error box.
void SetErrorReporter(ErrorReporter reporter);

// Shows `text` with the program's title through the current reporter.
void ReportError(const QString& text);

// The message of a caught exception: what() of a std::exception, else a fixed text.
QString EscapedErrorText(const std::exception_ptr& error);

// A handler whose escaping exceptions are reported instead of thrown on; made by
// ReportingErrors().
template <typename Handler>
class ErrorReportingHandler {
 public:
  explicit ErrorReportingHandler(Handler handler) : handler_(std::move(handler)) {}

  template <typename... Args>
  requires std::invocable<Handler&, Args...>
  void operator()(Args&&... args) {
    std::optional<QString> escaped;
    try {
      std::invoke(handler_, std::forward<Args>(args)...);
      return;
    } catch (...) {
      escaped = EscapedErrorText(std::current_exception());
    }
    // The box is shown once the exception has been left behind.
    ReportError(*escaped);
  }

 private:
  Handler handler_;
};

// Wraps a handler for connecting to a signal:
//   connect(button, &QPushButton::clicked, this, ReportingErrors([this] { ApplyClick(); }));
template <typename Handler>
ErrorReportingHandler<std::decay_t<Handler>> ReportingErrors(Handler&& handler) {
  return ErrorReportingHandler<std::decay_t<Handler>>(std::forward<Handler>(handler));
}

// Delivers `event` to `receiver` as QApplication does; an exception that escapes the
// delivery is reported and the event counts as not handled.
bool DeliverReportingErrors(QApplication& application, QObject* receiver, QEvent* event);

class VireloApplication : public QApplication {
  Q_OBJECT

 public:
  VireloApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // The same as the free SetErrorReporter().
  static void SetErrorReporter(ErrorReporter reporter);
};

}  // namespace virelo::ui
