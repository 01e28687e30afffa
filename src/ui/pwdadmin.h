// The password administration: turns protection on with a new password typed twice, or off.
#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

#include "settings/password.h"
#include "settings/settings_store.h"
#include "text/message_table.h"
#include "ui/services.h"

namespace Ui {
class TFrmPwdAdmin;
}

namespace virelo::ui {

// The help topic that "&Ajuda" opens.
inline constexpr const char* kPasswordHelpTopic = "senha.html";

class TFrmPwdAdmin : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kResultOk = 1;
  static constexpr int kResultCancel = 2;

  // The dialog's own texts; a language file may replace them.
  struct Texts {
    QString boxCaption = QStringLiteral("Atenção");
    QString newMissing = QStringLiteral("Nova senha deve ser digitada!");
    QString repeatMissing = QStringLiteral("A nova senha deve ser digitada nos dois campos!");
    QString mismatch = QStringLiteral("Senha digitada incorretamente! Tente novamente.");
  };

  using HelpHook = std::function<void(const QString& topic)>;

  // `store` holds the "Security" key; `showHelp` opens a help topic; `table` gives the
  // settings names and the save error message.
  TFrmPwdAdmin(settings::SettingsStore& store, Dialogs& dialogs, HelpHook showHelp,
               QWidget* parent = nullptr, const text::MessageTable& table = text::BuiltInTable());
  ~TFrmPwdAdmin() override;

  Texts& texts() { return texts_; }
  // Whether protection is on, as confirmed with "&Ok"; meaningful once result() is kResultOk.
  bool passwordEnabled() const { return passwordEnabled_; }

  // Both edits are cleared however the dialog ends.
  void done(int result) override;
  // Escape counts as "&Cancel".
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormShow();
  void AlignEditsWithCheckBox();
  void ckEnablePwdClick(bool checked);
  void BitBtn1Click();
  void BitBtn2Click();
  void btnAjudaClick();
  void ShowCheckFailure(settings::NewPasswordCheck check);

  std::unique_ptr<::Ui::TFrmPwdAdmin> ui_;
  settings::SettingsStore& store_;
  Dialogs& dialogs_;
  HelpHook showHelp_;
  const text::MessageTable& table_;
  Texts texts_;
  bool passwordEnabled_ = false;
};

// What the main window's "&Senha" button does: with protection on, the password is asked
// first and a wrong one or Cancel ends here; then the administration dialog is shown, and
// when it is confirmed `passwordEnabled` takes the protection it set (even when the store
// refused the write: the store decides at the next start).
void RunPasswordAdministration(QWidget* parent, Services& services, bool& passwordEnabled,
                               const text::MessageTable& table = text::BuiltInTable());

}  // namespace virelo::ui
