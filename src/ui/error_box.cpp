#include "ui/error_box.h"

#include "text/message_table.h"
#include "ui/qt_dialogs.h"

namespace virelo::ui {

namespace {

constexpr int kApplicationTitleMessage = 180;

// The text shown for something thrown that is not a std::exception.
const char* const kUnknownErrorText = "Erro inesperado";

ErrorReporter& CurrentReporter() {
  static ErrorReporter reporter;
  return reporter;
}

}  // namespace

ConversionFailure::ConversionFailure(const model::ConversionError& error)
    : std::runtime_error(model::ConversionErrorMessage(error)), error_(error) {}

QString ErrorBoxCaption() {
  const QString title = QGuiApplication::applicationDisplayName();
  if (!title.isEmpty()) return title;
  return QString::fromStdString(text::BuiltInTable()[kApplicationTitleMessage]);
}

void ShowErrorBox(const QString& caption, const QString& text) {
  QtDialogs dialogs;
  dialogs.Message(QApplication::activeWindow(), caption, text, BoxIcon::Error, BoxButtons::Ok);
}

void SetErrorReporter(ErrorReporter reporter) {
  CurrentReporter() = std::move(reporter);
}

void ReportError(const QString& text) {
  // A copy, so that a reporter replacing itself while it runs stays alive.
  const ErrorReporter reporter = CurrentReporter();
  if (reporter) {
    reporter(ErrorBoxCaption(), text);
  } else {
    ShowErrorBox(ErrorBoxCaption(), text);
  }
}

QString EscapedErrorText(const std::exception_ptr& error) {
  if (!error) return QString::fromUtf8(kUnknownErrorText);
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& caught) {
    return QString::fromUtf8(caught.what());
  } catch (...) {
  }
  return QString::fromUtf8(kUnknownErrorText);
}

bool DeliverReportingErrors(QApplication& application, QObject* receiver, QEvent* event) {
  std::optional<QString> escaped;
  try {
    return application.QApplication::notify(receiver, event);
  } catch (...) {
    escaped = EscapedErrorText(std::current_exception());
  }
  // The box is shown once the exception has been left behind, not from inside the catch.
  ReportError(*escaped);
  return false;
}

VireloApplication::VireloApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool VireloApplication::notify(QObject* receiver, QEvent* event) {
  return DeliverReportingErrors(*this, receiver, event);
}

void VireloApplication::SetErrorReporter(ErrorReporter reporter) {
  ui::SetErrorReporter(std::move(reporter));
}

}  // namespace virelo::ui
