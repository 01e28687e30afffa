#include "ui/pwdadmin.h"

#include <QKeyEvent>
#include <QPalette>
#include <QShowEvent>

#include "settings/app_settings.h"
#include "ui/help_window.h"
#include "ui/login.h"
#include "ui_pwdadmin.h"

namespace virelo::ui {

namespace {

bool IsEnterKey(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// A disabled edit shows the button face, an enabled one the window background.
void PaintDisabledAsButtonFace(QWidget& edit) {
  QPalette palette = edit.palette();
  palette.setColor(QPalette::Disabled, QPalette::Base,
                   palette.color(QPalette::Active, QPalette::Button));
  edit.setPalette(palette);
}

}  // namespace

TFrmPwdAdmin::TFrmPwdAdmin(settings::SettingsStore& store, Dialogs& dialogs, HelpHook showHelp,
                           QWidget* parent, const text::MessageTable& table)
    : QDialog(parent),
      ui_(std::make_unique<::Ui::TFrmPwdAdmin>()),
      store_(store),
      dialogs_(dialogs),
      showHelp_(std::move(showHelp)),
      table_(table) {
  ui_->setupUi(this);
  // A title but no close box.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  PaintDisabledAsButtonFace(*ui_->edNewPwd);
  PaintDisabledAsButtonFace(*ui_->edRepeatPwd);

  connect(ui_->ckEnablePwd, &QCheckBox::clicked, this, &TFrmPwdAdmin::ckEnablePwdClick);
  connect(ui_->edNewPwd, &QLineEdit::returnPressed, ui_->edRepeatPwd,
          qOverload<>(&QWidget::setFocus));
  connect(ui_->edRepeatPwd, &QLineEdit::returnPressed, ui_->BitBtn1,
          qOverload<>(&QWidget::setFocus));
  connect(ui_->BitBtn1, &QPushButton::clicked, this, &TFrmPwdAdmin::BitBtn1Click);
  connect(ui_->BitBtn2, &QPushButton::clicked, this, &TFrmPwdAdmin::BitBtn2Click);
  connect(ui_->btnAjuda, &QPushButton::clicked, this, &TFrmPwdAdmin::btnAjudaClick);
  // The buttons are not the dialog's default, so Enter on the focused "&Ok" is handled here.
  ui_->BitBtn1->installEventFilter(this);
}

TFrmPwdAdmin::~TFrmPwdAdmin() = default;

void TFrmPwdAdmin::done(int result) {
  ui_->edNewPwd->clear();
  ui_->edRepeatPwd->clear();
  QDialog::done(result);
}

void TFrmPwdAdmin::reject() {
  done(kResultCancel);
}

void TFrmPwdAdmin::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  CentreOnScreen(*this);
  FormShow();
}

bool TFrmPwdAdmin::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui_->BitBtn1 && IsEnterKey(event)) {
    ui_->BitBtn1->click();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TFrmPwdAdmin::FormShow() {
  ui_->ckEnablePwd->setChecked(settings::ReadProtectionEnabled(store_, table_));
  AlignEditsWithCheckBox();
  if (ui_->ckEnablePwd->isChecked()) {
    ui_->edNewPwd->setFocus();
  } else {
    ui_->ckEnablePwd->setFocus();
  }
}

void TFrmPwdAdmin::AlignEditsWithCheckBox() {
  const bool enabled = ui_->ckEnablePwd->isChecked();
  ui_->edNewPwd->setEnabled(enabled);
  ui_->edRepeatPwd->setEnabled(enabled);
}

void TFrmPwdAdmin::ckEnablePwdClick(bool checked) {
  AlignEditsWithCheckBox();
  if (checked) ui_->edNewPwd->setFocus();
}

void TFrmPwdAdmin::BitBtn1Click() {
  const auto confirmation = settings::ConfirmPasswordAdministration(
      store_, ui_->ckEnablePwd->isChecked(), ui_->edNewPwd->text().toStdString(),
      ui_->edRepeatPwd->text().toStdString(), table_);
  if (confirmation.check != settings::NewPasswordCheck::kAccepted) {
    ShowCheckFailure(confirmation.check);
    return;
  }
  if (confirmation.save != settings::SaveStatus::kSaved) {
    dialogs_.Message(this, texts_.boxCaption,
                     QString::fromStdString(table_[settings::kSaveErrorMessage]), BoxIcon::Warning,
                     BoxButtons::Ok);
  }
  passwordEnabled_ = confirmation.passwordEnabled;
  done(kResultOk);
}

void TFrmPwdAdmin::ShowCheckFailure(settings::NewPasswordCheck check) {
  const bool newMissing = check == settings::NewPasswordCheck::kNewMissing;
  const QString& text = newMissing                                            ? texts_.newMissing
                        : check == settings::NewPasswordCheck::kRepeatMissing ? texts_.repeatMissing
                                                                              : texts_.mismatch;
  dialogs_.Message(this, texts_.boxCaption, text, BoxIcon::Warning, BoxButtons::Ok);
  (newMissing ? ui_->edNewPwd : ui_->edRepeatPwd)->setFocus();
}

void TFrmPwdAdmin::BitBtn2Click() {
  done(kResultCancel);
}

void TFrmPwdAdmin::btnAjudaClick() {
  if (showHelp_) showHelp_(QString::fromLatin1(kPasswordHelpTopic));
}

void RunPasswordAdministration(QWidget* parent, Services& services, bool& passwordEnabled,
                               const text::MessageTable& table) {
  if (passwordEnabled) {
    const LoginResult login = services.login
                                  ? services.login(parent)
                                  : RunLogin(parent, *services.settings, *services.dialogs, table);
    if (login != LoginResult::Accepted) return;
  }
  TFrmPwdAdmin::HelpHook showHelp = services.showHelp;
  if (!showHelp) showHelp = [](const QString& topic) { ShowHelp(topic); };
  TFrmPwdAdmin dialog(*services.settings, *services.dialogs, std::move(showHelp), parent, table);
  if (dialog.exec() == TFrmPwdAdmin::kResultOk) passwordEnabled = dialog.passwordEnabled();
}

}  // namespace virelo::ui
