// The password question: asked at start-up when protection is on, and before the password
// administration is opened.
#pragma once

#include <QDialog>
#include <QString>

#include <memory>
#include <string>

#include "settings/password.h"
#include "settings/settings_store.h"
#include "text/message_table.h"
#include "ui/services.h"

namespace Ui {
class TFrmLogin;
}

namespace virelo::ui {

// Places a window in the middle of the screen it is on (its parent's screen, if it has one).
void CentreOnScreen(QWidget& window);

class TFrmLogin : public QDialog {
  Q_OBJECT

 public:
  // The dialog's results: right password, cancelled, the last try used up.
  static constexpr int kResultOk = 1;
  static constexpr int kResultCancel = 2;
  static constexpr int kResultAbort = 3;

  // The dialog's own texts; a language file may replace them.
  struct Texts {
    QString boxCaption = QStringLiteral("Atenção");
    QString wrongPassword = QStringLiteral("Senha inválida! Tente novamente.");
  };

  // `store` holds the "Security" key; `table` gives the settings names.
  TFrmLogin(settings::SettingsStore& store, Dialogs& dialogs, QWidget* parent = nullptr,
            const text::MessageTable& table = text::BuiltInTable());
  ~TFrmLogin() override;

  Texts& texts() { return texts_; }
  // What result() stands for; Cancelled also while the dialog has not ended.
  LoginResult loginResult() const;
  // Wrong entries still allowed in this showing.
  int triesLeft() const { return tries_.left(); }

  // Escape and closing the window count as "&Cancel".
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void FormActivate();
  void btnOkClick();
  void btnCancelClick();

  std::unique_ptr<::Ui::TFrmLogin> ui_;
  settings::SettingsStore& store_;
  Dialogs& dialogs_;
  const text::MessageTable& table_;
  Texts texts_;
  settings::LoginTries tries_;
  std::string expectedPassword_;  // UTF-8, as read when the dialog last became active
};

// Asks for the password in a modal dialog in the middle of the screen; Accepted for the
// right password, Cancelled for "&Cancel", Failed when the third wrong entry used the last
// try.
LoginResult RunLogin(QWidget* parent, settings::SettingsStore& store, Dialogs& dialogs,
                     const text::MessageTable& table = text::BuiltInTable());

}  // namespace virelo::ui
