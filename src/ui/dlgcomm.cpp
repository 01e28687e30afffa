#include "ui/dlgcomm.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <algorithm>

#include "ui_dlgcomm.h"

namespace virelo::ui {

TFormDlgComm::TFormDlgComm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ui_(std::make_unique<Ui::TFormDlgComm>()) {
  ui_->setupUi(this);
}

TFormDlgComm::~TFormDlgComm() = default;

QLabel* TFormDlgComm::LblMsg() const {
  return ui_->LblMsg;
}
QProgressBar* TFormDlgComm::Bar1() const {
  return ui_->Bar1;
}

void TFormDlgComm::SetPosition(int position) {
  ui_->Bar1->setValue(std::clamp(position, ui_->Bar1->minimum(), ui_->Bar1->maximum()));
  ui_->Bar1->repaint();
}

void Progress::ShowProgress(const QString& caption, const QString& message, int maximum) {
  current_ = std::make_unique<TFormDlgComm>(QApplication::activeWindow());
  current_->setWindowTitle(caption);
  current_->LblMsg()->setText(message);
  current_->Bar1()->setRange(0, maximum);
  position_ = 0;
  current_->SetPosition(0);
  if (const QScreen* screen = QApplication::primaryScreen()) {
    current_->move(screen->availableGeometry().center() - current_->rect().center());
  }
  current_->show();
  // The thread goes straight on to the exchanges: paint the dialog now.
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  current_->repaint();
  ++showCount_;
  lastMessage_ = message;
}

void Progress::StepProgress(int steps) {
  SetPosition(position_ + steps);
}

void Progress::SetPosition(int position) {
  if (!current_) return;
  position_ = position;
  current_->SetPosition(position);
}

void Progress::CloseProgress() {
  if (current_) current_->hide();
  current_.reset();
}

bool Progress::IsShown() const {
  return current_ && current_->isVisible();
}
int Progress::Position() const {
  return current_ ? current_->Bar1()->value() : 0;
}
int Progress::Maximum() const {
  return current_ ? current_->Bar1()->maximum() : 0;
}

}  // namespace virelo::ui
