#include "ui/login.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>

#include "ui_login.h"

namespace virelo::ui {

void CentreOnScreen(QWidget& window) {
  const QWidget* parent = window.parentWidget();
  QScreen* screen = parent != nullptr ? parent->screen() : window.screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  QRect placed = window.frameGeometry();
  placed.moveCenter(screen->availableGeometry().center());
  window.move(placed.topLeft());
}

TFrmLogin::TFrmLogin(settings::SettingsStore& store, Dialogs& dialogs, QWidget* parent,
                     const text::MessageTable& table)
    : QDialog(parent),
      ui_(std::make_unique<::Ui::TFrmLogin>()),
      store_(store),
      dialogs_(dialogs),
      table_(table) {
  ui_->setupUi(this);
  // A title but no close box.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  connect(ui_->btnOk, &QPushButton::clicked, this, &TFrmLogin::btnOkClick);
  connect(ui_->btnCancel, &QPushButton::clicked, this, &TFrmLogin::btnCancelClick);
}

TFrmLogin::~TFrmLogin() = default;

LoginResult TFrmLogin::loginResult() const {
  switch (result()) {
    case kResultOk:
      return LoginResult::Accepted;
    case kResultAbort:
      return LoginResult::Failed;
    default:
      return LoginResult::Cancelled;
  }
}

void TFrmLogin::reject() {
  done(kResultCancel);
}

void TFrmLogin::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  // Every showing starts with all tries.
  tries_.Restart();
  CentreOnScreen(*this);
  FormActivate();
}

void TFrmLogin::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

// The stored password is read again whenever the dialog comes to the front, so that a
// password changed since the last question is the one asked for.
void TFrmLogin::FormActivate() {
  ui_->edPwd->setFocus();
  expectedPassword_ = settings::ReadExpectedPassword(store_, table_);
}

void TFrmLogin::btnOkClick() {
  if (settings::PasswordMatches(ui_->edPwd->text().toStdString(), expectedPassword_)) {
    ui_->edPwd->clear();
    done(kResultOk);
    return;
  }
  dialogs_.Message(this, texts_.boxCaption, texts_.wrongPassword, BoxIcon::Error, BoxButtons::Ok);
  ui_->edPwd->selectAll();
  ui_->edPwd->setFocus();
  if (tries_.RecordWrongEntry()) done(kResultAbort);
}

void TFrmLogin::btnCancelClick() {
  done(kResultCancel);
}

LoginResult RunLogin(QWidget* parent, settings::SettingsStore& store, Dialogs& dialogs,
                     const text::MessageTable& table) {
  TFrmLogin dialog(store, dialogs, parent, table);
  dialog.exec();
  return dialog.loginResult();
}

}  // namespace virelo::ui
