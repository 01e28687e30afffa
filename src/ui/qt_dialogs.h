// The program's message boxes and file dialogs, shown with Qt's standard boxes.
#pragma once

#include "ui/services.h"

namespace virelo::ui {

class QtDialogs final : public Dialogs {
 public:
  // A modal box with the caption, text, icon and buttons asked for; the first button is the
  // default one. Closing the box without a button gives the answer of its cancelling button
  // (Ok, Cancel, No or Abort).
  BoxAnswer Message(QWidget* parent, const QString& caption, const QString& text, BoxIcon icon,
                    BoxButtons buttons) override;
  QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter) override;
  QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter) override;
};

}  // namespace virelo::ui
