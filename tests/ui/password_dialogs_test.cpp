// The password dialogs, the "/nopassword" switch, the "&Senha" flow, the help window, the
// message boxes and the error box, driven offscreen. Message boxes come from FakeDialogs;
// the few real modal windows are answered by ModalDriver, which closes any it does not
// expect so that a fault cannot leave a test waiting.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "fakes.h"
#include "settings/app_settings.h"
#include "settings/memory_settings_store.h"
#include "settings/password.h"
#include "ui/error_box.h"
#include "ui/help_window.h"
#include "ui/login.h"
#include "ui/pwdadmin.h"
#include "ui/qt_dialogs.h"

namespace virelo::ui {
namespace {

using settings::MemorySettingsStore;
using testing::FakeDialogs;

const std::string& SecurityPath() {
  static const std::string path =
      settings::SettingsNames::From(text::BuiltInTable()).SecurityPath();
  return path;
}

void StoreProtection(MemorySettingsStore& store, bool enabled, const std::string& password) {
  store.Put(SecurityPath(), "Enable", std::int32_t{enabled ? 1 : 0});
  store.Put(SecurityPath(), "Password", settings::StoredFormOfPassword(password));
}

std::optional<settings::SettingsValue> Stored(const MemorySettingsStore& store, const char* name) {
  return store.Get(SecurityPath(), name);
}

template <typename T>
T& Child(const QWidget& window, const char* name) {
  T* child = window.findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) throw std::logic_error(std::string("no control ") + name);
  return *child;
}

// Acts on the modal windows that open, one action per window in opening order. A window
// with no action left, or still open long after its action, is cancelled and counted.
class ModalDriver {
 public:
  using Action = std::function<void(QWidget&)>;

  explicit ModalDriver(std::vector<Action> actions = {}) : actions_(std::move(actions)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start(10);
  }
  std::size_t acted() const { return next_; }
  int unexpected() const { return unexpected_; }

 private:
  void Tick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    if (modal != current_.data()) {
      current_ = modal;
      ticksSinceAction_ = 0;
      if (next_ < actions_.size()) {
        actions_[next_++](*modal);
      } else {
        Cancel(*modal);
      }
      return;
    }
    if (++ticksSinceAction_ > 300) Cancel(*modal);
  }
  void Cancel(QWidget& modal) {
    ++unexpected_;
    if (auto* dialog = qobject_cast<QDialog*>(&modal)) {
      dialog->reject();
    } else {
      modal.close();
    }
  }

  std::vector<Action> actions_;
  std::size_t next_ = 0;
  int unexpected_ = 0;
  int ticksSinceAction_ = 0;
  QPointer<QWidget> current_;
  QTimer timer_;
};

void TypeInto(QWidget& window, const char* edit, const QString& text) {
  auto& line = Child<QLineEdit>(window, edit);
  line.clear();
  QTest::keyClicks(&line, text);
}

void Click(QWidget& window, const char* button) {
  QTest::mouseClick(&Child<QPushButton>(window, button), Qt::LeftButton);
}

// ---------------------------------------------------------------- login

class PasswordLoginTest : public ::testing::Test {
 protected:
  void SetUp() override { StoreProtection(store, true, "abc"); }

  MemorySettingsStore store;
  FakeDialogs dialogs;
};

TEST_F(PasswordLoginTest, TheStoredPasswordAloneIsAcceptedWithLetterCaseCounting) {
  const struct {
    QString typed;
    bool accepted;
  } cases[] = {{"abc", true}, {"ABC", false},  {"Abc", false},
               {"ab", false}, {"abc ", false}, {"", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    dialogs.boxes.clear();
    TFrmLogin login(store, dialogs);
    login.show();
    TypeInto(login, "edPwd", c.typed);
    Click(login, "btnOk");
    if (c.accepted) {
      EXPECT_FALSE(login.isVisible());
      EXPECT_EQ(login.result(), TFrmLogin::kResultOk);
      EXPECT_EQ(login.loginResult(), LoginResult::Accepted);
      EXPECT_TRUE(Child<QLineEdit>(login, "edPwd").text().isEmpty());
      EXPECT_TRUE(dialogs.boxes.empty());
    } else {
      EXPECT_TRUE(login.isVisible());
      ASSERT_EQ(dialogs.boxes.size(), 1u);
      EXPECT_EQ(dialogs.boxes[0].caption, QStringLiteral("Atenção"));
      EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("Senha inválida! Tente novamente."));
      EXPECT_EQ(dialogs.boxes[0].icon, BoxIcon::Error);
      EXPECT_EQ(dialogs.boxes[0].buttons, BoxButtons::Ok);
      // The wrong text is selected for retyping.
      EXPECT_EQ(Child<QLineEdit>(login, "edPwd").selectedText(), c.typed);
      EXPECT_EQ(login.focusWidget(), &Child<QLineEdit>(login, "edPwd"));
    }
  }
}

TEST_F(PasswordLoginTest, TheThirdWrongEntryEndsWithAbortAndANewShowingStartsAgain) {
  TFrmLogin login(store, dialogs);
  login.show();
  for (int entry = 1; entry <= 3; ++entry) {
    SCOPED_TRACE(entry);
    EXPECT_TRUE(login.isVisible());
    TypeInto(login, "edPwd", "abd");
    Click(login, "btnOk");
  }
  EXPECT_EQ(dialogs.boxes.size(), 3u);  // the third wrong entry is told too
  EXPECT_FALSE(login.isVisible());
  EXPECT_EQ(login.result(), TFrmLogin::kResultAbort);
  EXPECT_EQ(login.loginResult(), LoginResult::Failed);

  login.show();
  EXPECT_EQ(login.triesLeft(), settings::LoginTries::kTries);
  TypeInto(login, "edPwd", "abd");
  Click(login, "btnOk");
  EXPECT_TRUE(login.isVisible());
  TypeInto(login, "edPwd", "abc");
  Click(login, "btnOk");
  EXPECT_EQ(login.loginResult(), LoginResult::Accepted);
}

TEST_F(PasswordLoginTest, CancelAndEscapeEndWithCancel) {
  for (const bool escape : {false, true}) {
    SCOPED_TRACE(escape ? "Escape" : "Cancel");
    TFrmLogin login(store, dialogs);
    login.show();
    TypeInto(login, "edPwd", "abc");
    if (escape) {
      QTest::keyClick(&Child<QLineEdit>(login, "edPwd"), Qt::Key_Escape);
    } else {
      Click(login, "btnCancel");
    }
    EXPECT_FALSE(login.isVisible());
    EXPECT_EQ(login.result(), TFrmLogin::kResultCancel);
    EXPECT_EQ(login.loginResult(), LoginResult::Cancelled);
  }
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(PasswordLoginTest, EnterConfirmsAndThePasswordIsReadAgainAtEveryShowing) {
  TFrmLogin login(store, dialogs);
  login.show();
  TypeInto(login, "edPwd", "abc");
  QTest::keyClick(&Child<QLineEdit>(login, "edPwd"), Qt::Key_Return);
  EXPECT_EQ(login.loginResult(), LoginResult::Accepted);

  StoreProtection(store, true, "Ção9");
  login.show();
  Child<QLineEdit>(login, "edPwd").insert(QStringLiteral("Ção9"));  // beyond the test's keyboard
  Click(login, "btnOk");
  EXPECT_EQ(login.loginResult(), LoginResult::Accepted);
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(PasswordLoginTest, NoStoredPasswordLetsAnEmptyEntryPass) {
  MemorySettingsStore empty;
  MemorySettingsStore enabledWithoutPassword;
  enabledWithoutPassword.Put(SecurityPath(), "Enable", std::int32_t{1});
  for (MemorySettingsStore* s : {&empty, &enabledWithoutPassword}) {
    TFrmLogin login(*s, dialogs);
    login.show();
    Click(login, "btnOk");
    EXPECT_EQ(login.loginResult(), LoginResult::Accepted);
  }
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(PasswordLoginTest, RunLoginGivesTheOutcomeOfTheModalQuestion) {
  const struct {
    const char* name;
    ModalDriver::Action answer;
    LoginResult expected;
  } cases[] = {
      {"right",
       [](QWidget& w) {
         TypeInto(w, "edPwd", "abc");
         Click(w, "btnOk");
       },
       LoginResult::Accepted},
      {"cancel", [](QWidget& w) { Click(w, "btnCancel"); }, LoginResult::Cancelled},
      {"three wrong",
       [](QWidget& w) {
         for (int i = 0; i < 3; ++i) {
           TypeInto(w, "edPwd", "x");
           Click(w, "btnOk");
         }
       },
       LoginResult::Failed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ModalDriver driver({c.answer});
    EXPECT_EQ(RunLogin(nullptr, store, dialogs), c.expected);
    EXPECT_EQ(driver.acted(), 1u);
    EXPECT_EQ(driver.unexpected(), 0);
  }
}

TEST(PasswordSwitch, OnlyTheExactFirstArgumentTurnsProtectionOffAndKeepsThePassword) {
  const struct {
    std::vector<const char*> argv;
    bool turnedOff;
  } cases[] = {
      {{"virelo", "/nopassword"}, true},
      {{"virelo", "/nopassword", "--demo"}, true},
      {{"virelo", "/NOPASSWORD"}, false},
      {{"virelo", "--demo", "/nopassword"}, false},
      {{"virelo"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argv.size() > 1 ? c.argv[1] : "(none)");
    MemorySettingsStore store;
    StoreProtection(store, true, "abc");
    settings::HandleNoPasswordSwitch(static_cast<int>(c.argv.size()), c.argv.data(), store);
    EXPECT_EQ(settings::ReadProtectionEnabled(store), !c.turnedOff);
    EXPECT_EQ(settings::ReadExpectedPassword(store), "abc");
  }
}

// ---------------------------------------------------------------- administration

class PasswordAdminTest : public ::testing::Test {
 protected:
  TFrmPwdAdmin& Open() {
    admin = std::make_unique<TFrmPwdAdmin>(
        store, dialogs, [this](const QString& topic) { helpTopics.push_back(topic); });
    admin->show();
    return *admin;
  }
  QLineEdit& Edit(const char* name) { return Child<QLineEdit>(*admin, name); }
  QCheckBox& Box() { return Child<QCheckBox>(*admin, "ckEnablePwd"); }

  MemorySettingsStore store;
  FakeDialogs dialogs;
  std::vector<QString> helpTopics;
  std::unique_ptr<TFrmPwdAdmin> admin;
};

TEST_F(PasswordAdminTest, OpensWithTheStoredProtectionAndTheEditsFollowTheCheckBox) {
  StoreProtection(store, true, "abc");
  Open();
  EXPECT_TRUE(Box().isChecked());
  EXPECT_TRUE(Edit("edNewPwd").isEnabled());
  EXPECT_EQ(admin->focusWidget(), &Edit("edNewPwd"));

  Box().click();
  EXPECT_FALSE(Edit("edNewPwd").isEnabled());
  EXPECT_FALSE(Edit("edRepeatPwd").isEnabled());
  Box().click();
  EXPECT_TRUE(Edit("edRepeatPwd").isEnabled());
  EXPECT_EQ(admin->focusWidget(), &Edit("edNewPwd"));
  admin->reject();

  StoreProtection(store, false, "abc");
  admin->show();
  EXPECT_FALSE(Box().isChecked());
  EXPECT_FALSE(Edit("edNewPwd").isEnabled());
  EXPECT_EQ(admin->focusWidget(), &Box());
}

TEST_F(PasswordAdminTest, ARefusedNewPasswordIsToldAndNothingIsWritten) {
  StoreProtection(store, false, "old");
  const struct {
    QString newPassword, repeated, message;
    const char* focus;
  } cases[] = {
      {"", "", "Nova senha deve ser digitada!", "edNewPwd"},
      {"", "abc", "Nova senha deve ser digitada!", "edNewPwd"},
      {"abc", "", "A nova senha deve ser digitada nos dois campos!", "edRepeatPwd"},
      {"abc", "abd", "Senha digitada incorretamente! Tente novamente.", "edRepeatPwd"},
      {"abc", "ABC", "Senha digitada incorretamente! Tente novamente.", "edRepeatPwd"},
  };
  Open();
  Box().click();
  for (const auto& c : cases) {
    SCOPED_TRACE((c.newPassword + "/" + c.repeated).toStdString());
    dialogs.boxes.clear();
    TypeInto(*admin, "edNewPwd", c.newPassword);
    TypeInto(*admin, "edRepeatPwd", c.repeated);
    Click(*admin, "BitBtn1");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].caption, QStringLiteral("Atenção"));
    EXPECT_EQ(dialogs.boxes[0].text, c.message);
    EXPECT_EQ(dialogs.boxes[0].icon, BoxIcon::Warning);
    EXPECT_TRUE(admin->isVisible());
    EXPECT_EQ(admin->focusWidget(), &Edit(c.focus));
    EXPECT_EQ(Stored(store, "Enable"), settings::SettingsValue{std::int32_t{0}});
    EXPECT_EQ(settings::ReadExpectedPassword(store), "old");
  }
}

TEST_F(PasswordAdminTest, ConfirmingStoresTheScrambledPasswordOrTurnsProtectionOff) {
  Open();
  Box().click();
  TypeInto(*admin, "edNewPwd", "abc");
  TypeInto(*admin, "edRepeatPwd", "abc");
  Click(*admin, "BitBtn1");
  EXPECT_FALSE(admin->isVisible());
  EXPECT_EQ(admin->result(), TFrmPwdAdmin::kResultOk);
  EXPECT_TRUE(admin->passwordEnabled());
  EXPECT_EQ(Stored(store, "Enable"), settings::SettingsValue{std::int32_t{1}});
  EXPECT_EQ(Stored(store, "Password"), settings::SettingsValue{std::string("\x60\x61\x62")});
  EXPECT_TRUE(Edit("edNewPwd").text().isEmpty());
  EXPECT_TRUE(Edit("edRepeatPwd").text().isEmpty());

  // Off keeps the stored password; the box opens unchecked next time.
  admin->show();
  EXPECT_TRUE(Box().isChecked());
  Box().click();
  Click(*admin, "BitBtn1");
  EXPECT_FALSE(admin->passwordEnabled());
  EXPECT_EQ(Stored(store, "Enable"), settings::SettingsValue{std::int32_t{0}});
  EXPECT_EQ(Stored(store, "Password"), settings::SettingsValue{std::string("\x60\x61\x62")});
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(PasswordAdminTest, ARefusedStoreIsToldAndTheChoiceStillHolds) {
  store.RefuseKey(SecurityPath());
  Open();
  Box().click();
  TypeInto(*admin, "edNewPwd", "abc");
  TypeInto(*admin, "edRepeatPwd", "abc");
  Click(*admin, "BitBtn1");
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].caption, QStringLiteral("Atenção"));
  EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("Erro ao salvar configurações !"));
  EXPECT_EQ(dialogs.boxes[0].icon, BoxIcon::Warning);
  EXPECT_FALSE(admin->isVisible());
  EXPECT_TRUE(admin->passwordEnabled());
}

TEST_F(PasswordAdminTest, CancelWritesNothingAndClearsTheEdits) {
  StoreProtection(store, true, "old");
  Open();
  Box().click();
  TypeInto(*admin, "edNewPwd", "abc");
  Click(*admin, "BitBtn2");
  EXPECT_EQ(admin->result(), TFrmPwdAdmin::kResultCancel);
  EXPECT_EQ(Stored(store, "Enable"), settings::SettingsValue{std::int32_t{1}});
  EXPECT_EQ(settings::ReadExpectedPassword(store), "old");
  EXPECT_TRUE(Edit("edNewPwd").text().isEmpty());
}

TEST_F(PasswordAdminTest, EnterWalksToOkAndConfirmsAndHelpOpensThePasswordTopic) {
  Open();
  Box().click();
  QTest::keyClicks(&Edit("edNewPwd"), "pw");
  QTest::keyClick(&Edit("edNewPwd"), Qt::Key_Return);
  EXPECT_EQ(admin->focusWidget(), &Edit("edRepeatPwd"));
  QTest::keyClicks(&Edit("edRepeatPwd"), "pw");
  QTest::keyClick(&Edit("edRepeatPwd"), Qt::Key_Return);
  auto& ok = Child<QPushButton>(*admin, "BitBtn1");
  EXPECT_EQ(admin->focusWidget(), &ok);
  EXPECT_TRUE(admin->isVisible());  // Enter in the edits moves on, it does not confirm

  Click(*admin, "btnAjuda");
  EXPECT_EQ(helpTopics, std::vector<QString>{QStringLiteral("senha.html")});

  QTest::keyClick(&ok, Qt::Key_Return);
  EXPECT_FALSE(admin->isVisible());
  EXPECT_EQ(settings::ReadExpectedPassword(store), "pw");
}

// ---------------------------------------------------------------- the "&Senha" button

class PasswordButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    services.settings = &store;
    services.dialogs = &dialogs;
    services.login = [this](QWidget*) {
      ++logins;
      return loginAnswer;
    };
  }

  MemorySettingsStore store;
  FakeDialogs dialogs;
  Services services;
  LoginResult loginAnswer = LoginResult::Accepted;
  int logins = 0;
};

void TurnProtectionOn(QWidget& admin) {
  if (!Child<QCheckBox>(admin, "ckEnablePwd").isChecked()) {
    Child<QCheckBox>(admin, "ckEnablePwd").click();
  }
  TypeInto(admin, "edNewPwd", "new");
  TypeInto(admin, "edRepeatPwd", "new");
  Click(admin, "BitBtn1");
}

TEST_F(PasswordButtonTest, WithoutProtectionTheAdministrationOpensDirectly) {
  ModalDriver driver({TurnProtectionOn});
  bool passwordEnabled = false;
  RunPasswordAdministration(nullptr, services, passwordEnabled);
  EXPECT_EQ(logins, 0);
  EXPECT_EQ(driver.acted(), 1u);
  EXPECT_TRUE(passwordEnabled);
  EXPECT_EQ(settings::ReadExpectedPassword(store), "new");
}

TEST_F(PasswordButtonTest, WithProtectionTheLoginComesFirstAndMustSucceed) {
  StoreProtection(store, true, "abc");
  for (const LoginResult refused : {LoginResult::Cancelled, LoginResult::Failed}) {
    loginAnswer = refused;
    ModalDriver driver;  // no administration may open
    bool passwordEnabled = true;
    RunPasswordAdministration(nullptr, services, passwordEnabled);
    EXPECT_EQ(driver.unexpected(), 0);
    EXPECT_TRUE(passwordEnabled);
  }
  EXPECT_EQ(logins, 2);

  loginAnswer = LoginResult::Accepted;
  ModalDriver driver({[](QWidget& admin) {
    Child<QCheckBox>(admin, "ckEnablePwd").click();  // off
    Click(admin, "BitBtn1");
  }});
  bool passwordEnabled = true;
  RunPasswordAdministration(nullptr, services, passwordEnabled);
  EXPECT_EQ(logins, 3);
  EXPECT_EQ(driver.acted(), 1u);
  EXPECT_FALSE(passwordEnabled);
  EXPECT_FALSE(settings::ReadProtectionEnabled(store));

  // Cancelling the administration leaves the flag as it was.
  ModalDriver cancelling({[](QWidget& admin) { Click(admin, "BitBtn2"); }});
  passwordEnabled = false;
  RunPasswordAdministration(nullptr, services, passwordEnabled);
  EXPECT_FALSE(passwordEnabled);
}

TEST_F(PasswordButtonTest, TheProgramsOwnLoginIsUsedWhenNoneIsGiven) {
  services.login = nullptr;
  StoreProtection(store, true, "abc");
  ModalDriver driver({[](QWidget& login) {
                        TypeInto(login, "edPwd", "abc");
                        Click(login, "btnOk");
                      },
                      [](QWidget& admin) { Click(admin, "BitBtn2"); }});
  bool passwordEnabled = true;
  RunPasswordAdministration(nullptr, services, passwordEnabled);
  EXPECT_EQ(driver.acted(), 2u);
  EXPECT_EQ(driver.unexpected(), 0);
}

// ---------------------------------------------------------------- help

TEST(PasswordHelp, TheHelpWindowShowsATopicFollowsLinksAndIsReused) {
  ShowHelp(QString::fromLatin1(kPasswordHelpTopic));
  HelpWindow* window = HelpWindow::Existing();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  QTextBrowser& browser = window->browser();
  EXPECT_EQ(browser.source(), QUrl("qrc:/help/senha.html"));
  EXPECT_TRUE(browser.toPlainText().contains(QStringLiteral("senha"), Qt::CaseInsensitive));

  // The pages link to each other by relative names: follow the password page's only link.
  QTest::keyClick(&browser, Qt::Key_Tab);
  QTest::keyClick(&browser, Qt::Key_Return);
  EXPECT_EQ(browser.source(), QUrl("qrc:/help/index.html"));
  EXPECT_TRUE(browser.toPlainText().contains(QStringLiteral("Comunicação")));
  EXPECT_EQ(window->windowTitle(), browser.documentTitle());

  window->close();
  ShowHelp(QString::fromLatin1(kHelpIndexTopic));
  EXPECT_EQ(HelpWindow::Existing(), window);
  EXPECT_TRUE(window->isVisible());
  window->close();
}

// Records whether a window is blocked by a modal one.
class BlockedWatch : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::WindowBlocked) blocked = true;
    if (event->type() == QEvent::WindowUnblocked) blocked = false;
    return false;
  }
  bool blocked = false;
};

TEST(PasswordHelp, HelpOpenedFromTheAdministrationCanBeUsedBesideIt) {
  MemorySettingsStore store;
  FakeDialogs dialogs;
  Services services;
  services.settings = &store;
  services.dialogs = &dialogs;
  BlockedWatch watch;
  HelpWindow::Instance().installEventFilter(&watch);
  bool blockedWhileOpen = true;
  bool shown = false;
  ModalDriver driver({[&](QWidget& admin) {
    Click(admin, "btnAjuda");
    HelpWindow* help = HelpWindow::Existing();
    shown = help != nullptr && help->isVisible() &&
            help->browser().source() == QUrl("qrc:/help/senha.html");
    blockedWhileOpen = watch.blocked;
    Click(admin, "BitBtn2");
  }});
  bool passwordEnabled = false;
  RunPasswordAdministration(nullptr, services, passwordEnabled);
  EXPECT_EQ(driver.acted(), 1u);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(blockedWhileOpen);
  HelpWindow::Instance().removeEventFilter(&watch);
  HelpWindow::Instance().close();
}

// ---------------------------------------------------------------- error box

// Records the error boxes of one test, under the program's title, and puts the real box back.
class RecordedErrors {
 public:
  RecordedErrors() : previousTitle_(QGuiApplication::applicationDisplayName()) {
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Configurador Virelo"));
    SetErrorReporter([this](const QString& caption, const QString& text) {
      reports.emplace_back(caption, text);
    });
  }
  ~RecordedErrors() {
    SetErrorReporter(nullptr);
    QGuiApplication::setApplicationDisplayName(previousTitle_);
  }
  std::vector<std::pair<QString, QString>> reports;

 private:
  QString previousTitle_;
};

TEST(ErrorBox, AnErrorEscapingAHandlerIsShownUnderTheTitleAndTheProgramGoesOn) {
  const struct {
    const char* name;
    std::function<void()> fail;
    QString shown;
  } cases[] = {
      {"conversion", [] { throw ConversionFailure(std::string("12a")); },
       QStringLiteral("'12a' is not a valid integer value")},
      {"other error", [] { throw std::runtime_error("falhou"); }, QStringLiteral("falhou")},
      {"not an exception", [] { throw 7; }, QStringLiteral("Erro inesperado")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecordedErrors errors;
    QPushButton button(QStringLiteral("Aplicar"));
    button.show();
    int handled = 0;
    QObject::connect(&button, &QPushButton::clicked, ReportingErrors([&] {
      ++handled;
      c.fail();
    }));
    QTest::mouseClick(&button, Qt::LeftButton);
    ASSERT_EQ(errors.reports.size(), 1u);
    EXPECT_EQ(errors.reports[0].first, QStringLiteral("Configurador Virelo"));
    EXPECT_EQ(errors.reports[0].second, c.shown);
    EXPECT_FALSE(button.isDown());

    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(handled, 2);
    EXPECT_EQ(errors.reports.size(), 2u);
  }
}

TEST(ErrorBox, AHandlerThatRaisesNothingGetsTheSignalsArgumentsAndNoBox) {
  RecordedErrors errors;
  QCheckBox box;
  box.show();
  std::vector<bool> seen;
  QObject::connect(&box, &QCheckBox::clicked,
                   ReportingErrors([&](bool checked) { seen.push_back(checked); }));
  QObject::connect(&box, &QCheckBox::clicked, ReportingErrors([&] { seen.push_back(false); }));
  box.click();
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
  EXPECT_TRUE(errors.reports.empty());
}

// An object whose event handler throws, for the application's last net.
class ThrowingReceiver : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) throw ConversionFailure(std::string("x1"));
    return QObject::event(event);
  }
};

TEST(ErrorBox, TheApplicationReportsWhatEscapesAnEventHandler) {
  RecordedErrors errors;
  ThrowingReceiver receiver;
  QEvent event(QEvent::User);
  auto& application = *static_cast<QApplication*>(QCoreApplication::instance());
  EXPECT_FALSE(DeliverReportingErrors(application, &receiver, &event));
  ASSERT_EQ(errors.reports.size(), 1u);
  EXPECT_EQ(errors.reports[0].first, QStringLiteral("Configurador Virelo"));
  EXPECT_EQ(errors.reports[0].second, QStringLiteral("'x1' is not a valid integer value"));
}

// ---------------------------------------------------------------- message boxes

TEST(QtDialogsTest, TheBoxShowsWhatIsAskedAndGivesTheButtonPressed) {
  const struct {
    BoxButtons buttons;
    QMessageBox::StandardButton press;  // NoButton: closed with Escape
    BoxAnswer expected;
  } cases[] = {
      {BoxButtons::Ok, QMessageBox::Ok, BoxAnswer::Ok},
      {BoxButtons::Ok, QMessageBox::NoButton, BoxAnswer::Ok},
      {BoxButtons::OkCancel, QMessageBox::Cancel, BoxAnswer::Cancel},
      {BoxButtons::OkCancel, QMessageBox::NoButton, BoxAnswer::Cancel},
      {BoxButtons::YesNo, QMessageBox::Yes, BoxAnswer::Yes},
      {BoxButtons::YesNo, QMessageBox::No, BoxAnswer::No},
      {BoxButtons::AbortRetryIgnore, QMessageBox::Retry, BoxAnswer::Retry},
      {BoxButtons::AbortRetryIgnore, QMessageBox::Ignore, BoxAnswer::Ignore},
      {BoxButtons::AbortRetryIgnore, QMessageBox::NoButton, BoxAnswer::Abort},
  };
  QtDialogs dialogs;
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.expected));
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
    ModalDriver driver({[&](QWidget& window) {
      auto* box = qobject_cast<QMessageBox*>(&window);
      ASSERT_NE(box, nullptr);
      caption = box->windowTitle();
      text = box->text();
      icon = box->icon();
      buttonCount = static_cast<int>(box->buttons().size());
      if (c.press == QMessageBox::NoButton) {
        QTest::keyClick(box, Qt::Key_Escape);
      } else {
        box->button(c.press)->click();
      }
    }});
    EXPECT_EQ(dialogs.Message(nullptr, QStringLiteral("Atenção"), QStringLiteral("Texto"),
                              BoxIcon::Warning, c.buttons),
              c.expected);
    EXPECT_EQ(driver.unexpected(), 0);
    EXPECT_EQ(caption, QStringLiteral("Atenção"));
    EXPECT_EQ(text, QStringLiteral("Texto"));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttonCount, c.buttons == BoxButtons::Ok                 ? 1
                           : c.buttons == BoxButtons::AbortRetryIgnore ? 3
                                                                       : 2);
  }
}

}  // namespace
}  // namespace virelo::ui
