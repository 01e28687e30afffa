#include "ui/help_window.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

// The help pages live in a static library, so their resource is registered by hand.
static void RegisterHelpResource() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(help);
    return true;
  }();
  (void)registered;
}

namespace virelo::ui {

namespace {

QPointer<HelpWindow>& TheHelpWindow() {
  static QPointer<HelpWindow> window;
  return window;
}

}  // namespace

QUrl HelpTopicUrl(const QString& topic) {
  return QUrl(QStringLiteral("qrc:/help/") + topic);
}

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
  RegisterHelpResource();
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Ajuda"));
  resize(640, 480);

  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  // Links between the pages open here; links to the web open in the user's browser.
  browser_->setOpenLinks(true);
  browser_->setOpenExternalLinks(true);

  auto* toolBar = new QToolBar(this);
  QAction* contents = toolBar->addAction(QStringLiteral("Conteúdo"));
  QAction* back = toolBar->addAction(QStringLiteral("Voltar"));
  QAction* forward = toolBar->addAction(QStringLiteral("Avançar"));
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(contents, &QAction::triggered, this,
          [this] { browser_->setSource(HelpTopicUrl(QString::fromLatin1(kHelpIndexTopic))); });
  connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
  connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Ajuda") : title);
  });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolBar);
  layout->addWidget(browser_);
}

void HelpWindow::ShowTopic(const QString& topic) {
  browser_->setSource(HelpTopicUrl(topic));
  KeepUsableBeside(QApplication::activeModalWidget());
  show();
  raise();
  activateWindow();
}

// Help asked for from a modal dialog would be blocked by that dialog until it closes; made
// a transient window of the dialog, it can be read and browsed beside it.
void HelpWindow::KeepUsableBeside(QWidget* modalDialog) {
  winId();  // makes the platform window
  QWindow* dialogWindow = modalDialog != nullptr ? modalDialog->window()->windowHandle() : nullptr;
  windowHandle()->setTransientParent(dialogWindow);
}

HelpWindow* HelpWindow::Existing() {
  return TheHelpWindow().data();
}

HelpWindow& HelpWindow::Instance() {
  QPointer<HelpWindow>& window = TheHelpWindow();
  if (window.isNull()) {
    window = new HelpWindow();
    // The window has no owner; it goes when the program's event loop ends.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, window,
                     &QObject::deleteLater);
  }
  return *window;
}

void ShowHelp(const QString& topic) {
  HelpWindow::Instance().ShowTopic(topic);
}

}  // namespace virelo::ui
