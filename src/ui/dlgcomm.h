// The small passive window that tells the user what a sequence of exchanges is doing and how
// far it has come, while the exchanges block the window.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class TFormDlgComm;
}

class QLabel;
class QProgressBar;

namespace virelo::ui {

class TFormDlgComm : public QDialog {
  Q_OBJECT
 public:
  explicit TFormDlgComm(QWidget* parent = nullptr);
  ~TFormDlgComm() override;

  QLabel* LblMsg() const;
  QProgressBar* Bar1() const;
  // Moves the bar and repaints it at once; a position past the maximum shows a full bar.
  void SetPosition(int position);

 protected:
  void reject() override {}  // the user cannot close it

 private:
  std::unique_ptr<Ui::TFormDlgComm> ui_;
};

// The one current progress dialog: shown fresh by ShowProgress, advanced, then closed.
class Progress {
 public:
  void ShowProgress(const QString& caption, const QString& message, int maximum);
  void StepProgress(int steps);
  void SetPosition(int position);
  void CloseProgress();

  bool IsShown() const;
  int Position() const;
  int Maximum() const;
  // How many times a dialog was shown, and the text of the last one, for the window's tests.
  int ShowCount() const { return showCount_; }
  QString LastMessage() const { return lastMessage_; }

 private:
  std::unique_ptr<TFormDlgComm> current_;
  int position_ = 0;
  int showCount_ = 0;
  QString lastMessage_;
};

}  // namespace virelo::ui
