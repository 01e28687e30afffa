#include "ui/qt_dialogs.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>

namespace virelo::ui {

namespace {

QMessageBox::Icon ToQtIcon(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Information:
      return QMessageBox::Information;
    case BoxIcon::Warning:
      return QMessageBox::Warning;
    case BoxIcon::Error:
      return QMessageBox::Critical;
    case BoxIcon::Question:
      return QMessageBox::Question;
    case BoxIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

struct ButtonSet {
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton first;   // the default button
  QMessageBox::StandardButton escape;  // what closing the box counts as
};

ButtonSet ToQtButtons(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::OkCancel:
      return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Cancel};
    case BoxButtons::YesNo:
      return {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No};
    case BoxButtons::AbortRetryIgnore:
      return {QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, QMessageBox::Abort,
              QMessageBox::Abort};
    case BoxButtons::Ok:
      break;
  }
  return {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
}

BoxAnswer ToAnswer(QMessageBox::StandardButton button) {
  switch (button) {
    case QMessageBox::Cancel:
      return BoxAnswer::Cancel;
    case QMessageBox::Yes:
      return BoxAnswer::Yes;
    case QMessageBox::No:
      return BoxAnswer::No;
    case QMessageBox::Abort:
      return BoxAnswer::Abort;
    case QMessageBox::Retry:
      return BoxAnswer::Retry;
    case QMessageBox::Ignore:
      return BoxAnswer::Ignore;
    default:
      return BoxAnswer::Ok;
  }
}

// The buttons speak the program's language, whatever Qt's own translation.
void NameButtons(QMessageBox& box) {
  static const std::pair<QMessageBox::StandardButton, const char*> kNames[] = {
      {QMessageBox::Ok, "OK"},          {QMessageBox::Cancel, "Cancelar"},
      {QMessageBox::Yes, "&Sim"},       {QMessageBox::No, "&Não"},
      {QMessageBox::Abort, "&Anular"},  {QMessageBox::Retry, "&Repetir"},
      {QMessageBox::Ignore, "&Ignorar"}};
  for (const auto& [kind, name] : kNames) {
    if (QAbstractButton* button = box.button(kind)) button->setText(QString::fromUtf8(name));
  }
}

}  // namespace

BoxAnswer QtDialogs::Message(QWidget* parent, const QString& caption, const QString& text,
                             BoxIcon icon, BoxButtons buttons) {
  const ButtonSet set = ToQtButtons(buttons);
  QMessageBox box(ToQtIcon(icon), caption, text, set.buttons, parent);
  box.setDefaultButton(set.first);
  box.setEscapeButton(set.escape);
  NameButtons(box);
  box.exec();
  const auto clicked = box.standardButton(box.clickedButton());
  return ToAnswer(clicked == QMessageBox::NoButton ? set.escape : clicked);
}

QString QtDialogs::OpenFileName(QWidget* parent, const QString& caption, const QString& filter) {
  return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

QString QtDialogs::SaveFileName(QWidget* parent, const QString& caption, const QString& filter) {
  return QFileDialog::getSaveFileName(parent, caption, QString(), filter);
}

}  // namespace virelo::ui
