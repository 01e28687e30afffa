// The help window: the program's help pages, compiled in, shown at the topic asked for.
#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace virelo::ui {

// The first page of the help, which the main window's "A&juda" opens.
inline constexpr const char* kHelpIndexTopic = "index.html";

// qrc:/help/<topic>, for a topic such as "senha.html".
QUrl HelpTopicUrl(const QString& topic);

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // Shows `topic` and brings the window to the front.
  void ShowTopic(const QString& topic);
  QTextBrowser& browser() const { return *browser_; }

  // The one help window of the program, made on first use; nothing when none was made yet.
  static HelpWindow* Existing();
  static HelpWindow& Instance();

 private:
  void KeepUsableBeside(QWidget* modalDialog);

  QTextBrowser* browser_;
};

// Opens the help window at `topic`, reusing the window when it is already open.
void ShowHelp(const QString& topic);

}  // namespace virelo::ui
