// Fakes of the window's outside world: message boxes answered from a queue and recorded,
// and a clock fixed by the test.
#pragma once

#include <deque>
#include <vector>

#include "ui/services.h"

namespace virelo::ui::testing {

struct RecordedBox {
  QString caption;
  QString text;
  BoxIcon icon;
  BoxButtons buttons;
};

class FakeDialogs final : public Dialogs {
 public:
  BoxAnswer Message(QWidget*, const QString& caption, const QString& text, BoxIcon icon,
                    BoxButtons buttons) override {
    boxes.push_back({caption, text, icon, buttons});
    if (answers.empty()) return DefaultAnswer(buttons);
    const BoxAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  QString OpenFileName(QWidget*, const QString&, const QString&) override { return TakeFileName(); }
  QString SaveFileName(QWidget*, const QString&, const QString&) override { return TakeFileName(); }

  std::vector<RecordedBox> boxes;
  std::deque<BoxAnswer> answers;
  std::deque<QString> fileNames;

 private:
  static BoxAnswer DefaultAnswer(BoxButtons buttons) {
    switch (buttons) {
      case BoxButtons::YesNo:
        return BoxAnswer::Yes;
      case BoxButtons::AbortRetryIgnore:
        return BoxAnswer::Abort;
      default:
        return BoxAnswer::Ok;
    }
  }
  QString TakeFileName() {
    if (fileNames.empty()) return {};
    QString name = fileNames.front();
    fileNames.pop_front();
    return name;
  }
};

class FixedClock final : public Clock {
 public:
  model::LocalDateTime Now() const override { return now; }
  model::LocalDateTime now{2026, 12, 10, 14, 30, 0};
};

}  // namespace virelo::ui::testing
