// The main window against the simulated logger on a pseudo-terminal, with scripted message
// boxes and an in-memory settings store: start-up, reading on demand, page changes and the
// buttons along the bottom.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <memory>
#include <string>

#include "fakes.h"
#include "settings/app_settings.h"
#include "settings/memory_settings_store.h"
#include "sim/simulated_line.h"
#include "ui/main.h"
#include "ui_main.h"

namespace virelo::ui {
namespace {

using settings::AppSettings;
using testing::FakeDialogs;
using testing::FixedClock;

const QString kAttention = QString::fromUtf8("Atenção");
const QString kConfigReadFailed =
    QString::fromUtf8("Erro na leitura da configuração! Execute a Busca Automática!");

class MainWindowTest : public ::testing::Test {
 protected:
  void StartLogger(sim::SimOptions options = {}) {
    options.replyDelayMs = 1;
    logger = std::make_unique<sim::SimulatedLine>(options);
    std::string error;
    ASSERT_TRUE(logger->Start(&error)) << error;
  }

  // The settings the window starts with: the simulated logger's terminal and `line`.
  void SaveLine(AppSettings line) {
    if (line.portName.empty()) line.portName = logger->DevicePath();
    ASSERT_EQ(settings::SaveSettings(store, line), settings::SaveStatus::kSaved);
  }

  TFormMain& Show() {
    Services services;
    services.settings = &store;
    services.dialogs = &dialogs;
    services.clock = &clock;
    services.listPorts = [] { return QStringList{}; };
    services.login = [this](QWidget*) {
      ++logins;
      return loginResult;
    };
    services.showHelp = [this](const QString& topic) { helpTopics << topic; };
    window = std::make_unique<TFormMain>(std::move(services));
    window->show();
    return *window;
  }

  Ui::TFormMain& Controls() { return window->Controls(); }

  // A page change as the user makes it, through the tabs.
  void EnterPage(Page page) { Controls().PageControl1->setCurrentIndex(static_cast<int>(page)); }

  int WritesSeen() const {
    int writes = 0;
    for (const auto& record : logger->Records()) {
      if (record.received && record.bytes.size() > 1 && record.bytes[1] == 6) ++writes;
    }
    return writes;
  }

  bool OnlyCommunicationShown() const {
    return !window->IsTabShown(Page::Channels) && !window->IsTabShown(Page::Acquisitions) &&
           !window->IsTabShown(Page::Diagnostics) && window->IsTabShown(Page::Communication) &&
           window->ActivePage() == Page::Communication &&
           !window->Controls().ButtonOK->isEnabled() &&
           !window->Controls().ButtonApply->isEnabled();
  }

  std::unique_ptr<sim::SimulatedLine> logger;
  settings::MemorySettingsStore store;
  FakeDialogs dialogs;
  FixedClock clock;
  LoginResult loginResult = LoginResult::Accepted;
  int logins = 0;
  QStringList helpTopics;
  std::unique_ptr<TFormMain> window;
};

TEST_F(MainWindowTest, StartsOnTheChannelsPageWithTheLoggersConfiguration) {
  StartLogger();
  SaveLine({});
  TFormMain& main = Show();
  EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.boxes.front().text.toStdString();
  EXPECT_EQ(main.ActivePage(), Page::Channels);
  EXPECT_FALSE(main.IsTabShown(Page::Calibration));
  EXPECT_EQ(main.Config().firmwareVersion, logger->Register(0, 199));
  EXPECT_FALSE(Controls().EditTitle->text().isEmpty());
  EXPECT_TRUE(Controls().ButtonOK->isEnabled());
  EXPECT_FALSE(Controls().ButtonApply->isEnabled());
  EXPECT_EQ(Controls().ButtonApply->text(), "&Aplicar");
  EXPECT_EQ(main.ProgressDialog().ShowCount(), 1);
  EXPECT_FALSE(main.ProgressDialog().IsShown());
  EXPECT_EQ(Controls().ComboNetAddr->count(), 247);
  EXPECT_EQ(logins, 0);
}

TEST_F(MainWindowTest, StartWithoutALoggerLeavesOnlyTheCommunicationPage) {
  sim::SimOptions options;
  options.address = 9;  // nobody answers address 1
  StartLogger(options);
  SaveLine({});
  TFormMain& main = Show();
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].caption, kAttention);
  EXPECT_EQ(dialogs.boxes[0].text, kConfigReadFailed);
  EXPECT_EQ(dialogs.boxes[0].icon, BoxIcon::Warning);
  EXPECT_TRUE(OnlyCommunicationShown());
  EXPECT_EQ(main.ProgressDialog().ShowCount(), 1);
  EXPECT_FALSE(main.ProgressDialog().IsShown());
}

TEST_F(MainWindowTest, StartWithAPortThatDoesNotExist) {
  StartLogger();
  AppSettings line;
  line.portName = "/dev/does-not-exist";
  SaveLine(line);
  TFormMain& main = Show();
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].caption, "Configurador Virelo");
  EXPECT_EQ(dialogs.boxes[0].text,
            QString::fromUtf8(
                "Erro na tentativa de conexão da porta serial! Tente conectar outra porta"));
  EXPECT_EQ(main.ProgressDialog().ShowCount(), 0);
  EXPECT_TRUE(OnlyCommunicationShown());
}

TEST_F(MainWindowTest, ForeignDeviceIsTreatedAsAFailedRead) {
  StartLogger();
  logger->SetRegister(0, 200, 31);
  SaveLine({});
  Show();
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, kConfigReadFailed);
  EXPECT_TRUE(OnlyCommunicationShown());
}

TEST_F(MainWindowTest, ReadOnDemandAtNewLineSettings) {
  sim::SimOptions options;
  options.baudRate = 19200;
  options.address = 5;
  options.parity = 2;
  StartLogger(options);
  SaveLine({});
  TFormMain& main = Show();
  ASSERT_TRUE(OnlyCommunicationShown());
  dialogs.boxes.clear();

  // A speed the logger does not use: the message names the new speed and address.
  Controls().ComboNetBaud->setCurrentIndex(Controls().ComboNetBaud->findText("4800"));
  Controls().ComboNetAddr->setCurrentIndex(4);
  Controls().ButtonNetRead->click();
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text,
            QString::fromUtf8("Erro na leitura da configuração do Equipamento de endereço 5 e baud "
                              "rate 4800!\n\nExecute a Busca Automática com o Equipamento ponto a "
                              "ponto!"));
  EXPECT_TRUE(Controls().ButtonNetRead->isEnabled());
  dialogs.boxes.clear();

  Controls().ComboNetBaud->setCurrentIndex(Controls().ComboNetBaud->findText("19200"));
  main.findChild<QRadioButton*>("RadioGroupParidade_2")->setChecked(true);
  Controls().ButtonNetRead->click();
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_EQ(main.Link().baudRate, 19200);
  EXPECT_EQ(main.Link().slaveAddress, 5);
  EXPECT_EQ(main.Link().parity, 2);
  EXPECT_EQ(main.Link().stopBits, 0);
  EXPECT_EQ(main.ActivePage(), Page::Channels);
  EXPECT_TRUE(main.IsTabShown(Page::Diagnostics));
  EXPECT_TRUE(Controls().ButtonOK->isEnabled());
  EXPECT_TRUE(Controls().ButtonApply->isEnabled());
  EXPECT_EQ(Controls().EditSearchBaud->text(), "19200");
  EXPECT_EQ(Controls().EditSearchAddr->text(), "5");
  // The read saved the line that worked.
  const auto saved = settings::LoadSettings(store, std::nullopt);
  EXPECT_EQ(saved.baudRate, 19200);
  EXPECT_EQ(saved.slaveAddress, 5);
  EXPECT_EQ(saved.parity, 2);
  EXPECT_EQ(saved.stopBits, 0);
}

TEST_F(MainWindowTest, ReadOnDemandOfAForeignDeviceFallsBackToTheCommunicationPage) {
  StartLogger();
  SaveLine({});
  Show();
  logger->SetRegister(0, 200, 0);
  EnterPage(Page::Communication);
  Controls().ButtonNetRead->click();
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, kConfigReadFailed);
  EXPECT_TRUE(OnlyCommunicationShown());
  EXPECT_TRUE(Controls().ButtonNetRead->isEnabled());
}

TEST_F(MainWindowTest, PageChangesDriveTimer1) {
  StartLogger();
  SaveLine({});
  TFormMain& main = Show();
  EnterPage(Page::Acquisitions);
  EXPECT_TRUE(main.Timer1().isActive());
  EXPECT_EQ(main.Timer1().interval(), 500);
  EXPECT_EQ(main.LastEnteredPage(), Page::Acquisitions);

  EnterPage(Page::Diagnostics);
  EXPECT_TRUE(main.Timer1().isActive());
  EXPECT_EQ(main.Timer1().interval(), 1000);
  EXPECT_FALSE(main.findChild<QLineEdit*>("EditTagCh1")->text().isEmpty());
  EXPECT_FALSE(main.findChild<QLineEdit*>("EditUnitCh1")->text().isEmpty());

  EnterPage(Page::Communication);
  EXPECT_FALSE(main.Timer1().isActive());
  EXPECT_EQ(Controls().ButtonApply->text(), "&Modificar");

  // Unapplied speed and address choices go back to the link's when the page is left.
  Controls().ComboNetAddr->setCurrentIndex(9);
  Controls().ComboNetBaud->setCurrentIndex(Controls().ComboNetBaud->findText("1200"));
  EnterPage(Page::Channels);
  EXPECT_EQ(Controls().ComboNetAddr->currentText(), "1");
  EXPECT_EQ(Controls().ComboNetBaud->currentText(), "9600");
  EXPECT_EQ(Controls().ButtonApply->text(), "&Aplicar");
  EXPECT_FALSE(main.Timer1().isActive());
}

TEST_F(MainWindowTest, ClockWarningIsShownOnce) {
  StartLogger();
  logger->SetRegister(0, 9, 0x0001);  // clock not found
  SaveLine({});
  Show();
  EnterPage(Page::Acquisitions);
  EnterPage(Page::Channels);
  EnterPage(Page::Acquisitions);
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, QString::fromUtf8("Relógio não localizado!"));
  EXPECT_EQ(dialogs.boxes[0].caption, kAttention);
}

TEST_F(MainWindowTest, ApplyAndOkDispatchByTheEditFlags) {
  StartLogger();
  SaveLine({});
  TFormMain& main = Show();
  main.MarkAcquisitionsChanged();
  EXPECT_TRUE(Controls().ButtonApply->isEnabled());
  main.ClearChannelsChanged();  // the other flag keeps Apply enabled
  EXPECT_TRUE(Controls().ButtonApply->isEnabled());
  main.MarkChannelsChanged();
  Controls().ButtonApply->click();
  EXPECT_FALSE(main.channelsChanged());
  EXPECT_FALSE(main.acquisitionsChanged());
  EXPECT_FALSE(Controls().ButtonApply->isEnabled());

  // On the communication page Apply asks before sending the network parameters.
  EnterPage(Page::Communication);
  Controls().ComboNetAddr->setCurrentIndex(3);
  Controls().ButtonApply->setEnabled(true);
  dialogs.answers = {BoxAnswer::No};
  Controls().ButtonApply->click();
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].buttons, BoxButtons::YesNo);
  EXPECT_EQ(WritesSeen(), 0);
  EXPECT_FALSE(Controls().ButtonApply->isEnabled());

  // OK with nothing edited writes nothing and closes the window.
  Controls().ButtonOK->click();
  EXPECT_FALSE(main.isVisible());
  EXPECT_EQ(WritesSeen(), 0);
}

TEST_F(MainWindowTest, ApplyOnTheCommunicationPageChangesTheLoggersAddress) {
  StartLogger();
  SaveLine({});
  TFormMain& main = Show();
  EnterPage(Page::Communication);
  Controls().ComboNetAddr->setCurrentIndex(3);
  emit Controls().ComboNetAddr->activated(3);  // as the user's choice
  EXPECT_TRUE(Controls().ButtonApply->isEnabled());
  Controls().ButtonApply->click();
  EXPECT_EQ(logger->Address(0), 4);
  EXPECT_EQ(main.Link().slaveAddress, 4);
  EXPECT_EQ(main.ActivePage(), Page::Channels);  // read again at the new address
  EXPECT_EQ(settings::LoadSettings(store, std::nullopt).slaveAddress, 4);
}

TEST_F(MainWindowTest, ClosingSavesTheSettingsAndReportsAFailedSave) {
  StartLogger();
  SaveLine({});
  TFormMain& main = Show();
  store.RefuseKey("\\Software\\Ostrana\\Configurador Virelo\\Settings");
  main.close();
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, QString::fromUtf8("Erro ao salvar configurações !"));
  EXPECT_EQ(dialogs.boxes[0].caption, kAttention);
}

TEST_F(MainWindowTest, RefusedPasswordEndsTheProgramBeforeAnyExchange) {
  StartLogger();
  AppSettings line;
  line.passwordEnabled = true;
  SaveLine(line);
  loginResult = LoginResult::Cancelled;
  TFormMain& main = Show();
  EXPECT_EQ(logins, 1);
  EXPECT_TRUE(main.ProgramEnded());
  EXPECT_EQ(logger->RequestsReceived(), 0);
  EXPECT_EQ(main.ProgressDialog().ShowCount(), 0);
}

TEST_F(MainWindowTest, HelpOpensTheFirstPage) {
  StartLogger();
  SaveLine({});
  Show();
  Controls().ButtonHelp->click();
  EXPECT_EQ(helpTopics, QStringList{"index.html"});
}

TEST_F(MainWindowTest, TypedPortPathIsOpenedOrRefused) {
  StartLogger();
  AppSettings line;
  line.portName = "/dev/does-not-exist";
  SaveLine(line);
  TFormMain& main = Show();
  dialogs.boxes.clear();
  QComboBox* ports = Controls().ComboHostPort;

  ports->setEditText("/dev/also-missing");
  emit ports->lineEdit()->editingFinished();
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, QString::fromUtf8("Não foi possível configurar a porta serial"));
  EXPECT_EQ(main.Link().portName, "/dev/does-not-exist");
  EXPECT_FALSE(main.Link().IsConnected());
  EXPECT_FALSE(Controls().ButtonSearch->isEnabled());

  ports->setEditText(QString::fromStdString(logger->DevicePath()));
  emit ports->lineEdit()->editingFinished();
  EXPECT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_TRUE(main.Link().IsConnected());
  EXPECT_TRUE(Controls().ButtonSearch->isEnabled());
  EXPECT_EQ(settings::LoadSettings(store, std::nullopt).portName, logger->DevicePath());
}

TEST_F(MainWindowTest, AutomaticSearchFindsALoneLogger) {
  sim::SimOptions options;
  options.baudRate = 19200;
  options.parity = 1;
  options.address = 7;
  StartLogger(options);
  SaveLine({});
  TFormMain& main = Show();
  ASSERT_TRUE(OnlyCommunicationShown());
  dialogs.boxes.clear();
  Controls().ButtonSearch->click();
  ASSERT_EQ(dialogs.boxes.size(), 2u);
  EXPECT_EQ(dialogs.boxes[0].buttons, BoxButtons::OkCancel);
  EXPECT_EQ(dialogs.boxes[1].caption, "Sucesso");
  EXPECT_EQ(dialogs.boxes[1].text, QString::fromUtf8("Busca automática concluída"));
  EXPECT_EQ(main.Link().slaveAddress, 7);
  EXPECT_EQ(main.Link().baudRate, 19200);
  EXPECT_EQ(main.Link().parity, 1);
  EXPECT_EQ(main.ActivePage(), Page::Channels);  // the configuration was read
  EXPECT_TRUE(Controls().ButtonOK->isEnabled());
}

}  // namespace
}  // namespace virelo::ui
