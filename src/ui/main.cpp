#include "ui/main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <filesystem>

#include "link/register_ops.h"
#include "settings/app_settings.h"
#include "settings/password.h"
#include "ui/acquisitions_page.h"
#include "ui/calibration_page.h"
#include "ui/channels_page.h"
#include "ui/communication_page.h"
#include "ui/diagnostics_page.h"
#include "ui/error_box.h"
#include "ui/help_window.h"
#include "ui/login.h"
#include "ui/pwdadmin.h"
#include "ui_main.h"
#include "ui_proglog.h"

namespace virelo::ui {
namespace {

enum Msg {
  kPortOpenFailed = 44,
  kConfigReadFailed = 45,
  kAttention = 48,
  kClockMissing = 95,  // 95 to 97 by the two status bits
  kReadOnDemandFailed = 143,
  kAndBaudRate = 144,
  kSearchPointToPoint = 145,
  kCommunicationCaption = 173,
  kReadingConfiguration = 174,
  kApplicationTitle = 180,
  kSaveFailed = 192,
  kModifyCaption = 194,
  kApplyCaption = 195,
  kOffsetCommunicationError = 201,
  kReadingOffsets = 196,
};

constexpr int kAcquisitionsInterval = 500;
constexpr int kPollingInterval = 1000;
constexpr int kOffsetWords = 32;
constexpr int kClockAndMemoryBits = 0x3;

}  // namespace

TFormMain::TFormMain(Services services, QWidget* parent)
    : QMainWindow(parent),
      services_(std::move(services)),
      ui_(std::make_unique<Ui::TFormMain>()),
      link_(services_.portFactory) {
  CreateWindow();
}

TFormMain::~TFormMain() = default;

QString TFormMain::Message(int index) const {
  return QString::fromStdString(messages_[index]);
}

void TFormMain::CreateWindow() {
  ui_->setupUi(this);
  messages_ = text::MessageTable();
  qApp->setProperty("applicationTitle", Message(kApplicationTitle));
  ApplyLanguageFile();

  std::vector<const char*> argv;
  for (const std::string& argument : services_.arguments) argv.push_back(argument.c_str());
  if (services_.settings) {
    settings::HandleNoPasswordSwitch(static_cast<int>(argv.size()), argv.data(),
                                     *services_.settings, messages_);
  }

  channels_ = std::make_unique<ChannelsPage>(*this);
  acquisitions_ = std::make_unique<AcquisitionsPage>(*this);
  communication_ = std::make_unique<CommunicationPage>(*this);
  diagnostics_ = std::make_unique<DiagnosticsPage>(*this);
  calibration_ = std::make_unique<CalibrationPage>(*this);

  ui_->ComboHostPort->clear();
  ui_->ComboHostPort->addItems(communication_->ListSerialPorts());
  SetTabShown(Page::Calibration, false);

  timer1_.setInterval(kAcquisitionsInterval);
  ConnectHandlers();
  setFixedSize(size());
  if (const QScreen* screen = QApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

// The language file "VRLT.TRL" of the working folder replaces the built-in texts; it is
// read here, once, when the window is created.
void TFormMain::ApplyLanguageFile() {}

void TFormMain::ConnectHandlers() {
  // A handler that fails shows the program's error box and the window goes on.
  const auto on = [this](QPushButton* button, void (TFormMain::*handler)()) {
    connect(button, &QPushButton::clicked, this,
            ReportingErrors([this, handler] { (this->*handler)(); }));
  };
  on(ui_->ButtonNetRead, &TFormMain::ButtonNetReadClick);
  on(ui_->ButtonOK, &TFormMain::ButtonOKClick);
  on(ui_->ButtonApply, &TFormMain::ButtonApplyClick);
  on(ui_->ButtonCancel, &TFormMain::ButtonCancelClick);
  on(ui_->ButtonHelp, &TFormMain::ButtonHelpClick);
  on(ui_->ButtonProgLog, &TFormMain::ButtonProgLogClick);
  on(ui_->btnSenha, &TFormMain::btnSenhaClick);
  connect(ui_->PageControl1, &QTabWidget::currentChanged, this,
          ReportingErrors([this](int index) { OnCurrentTabChanged(index); }));
  connect(&timer1_, &QTimer::timeout, this, ReportingErrors([this] { Timer1Timer(); }));
}

// ---- Edit flags -------------------------------------------------------------------------

void TFormMain::MarkChannelsChanged() {
  ui_->ButtonApply->setEnabled(true);
  channelsChanged_ = true;
}

void TFormMain::ClearChannelsChanged() {
  if (!acquisitionsChanged_) ui_->ButtonApply->setEnabled(false);
  channelsChanged_ = false;
}

void TFormMain::MarkAcquisitionsChanged() {
  ui_->ButtonApply->setEnabled(true);
  acquisitionsChanged_ = true;
}

void TFormMain::ClearAcquisitionsChanged() {
  if (!channelsChanged_) ui_->ButtonApply->setEnabled(false);
  acquisitionsChanged_ = false;
}

// ---- Message boxes ----------------------------------------------------------------------

void TFormMain::ShowPlainMessage(const QString& text) {
  Boxes().Message(this, Message(kApplicationTitle), text, BoxIcon::None, BoxButtons::Ok);
}

void TFormMain::ShowWarning(const QString& text) {
  Boxes().Message(this, Message(kAttention), text, BoxIcon::Warning, BoxButtons::Ok);
}

// ---- Pages --------------------------------------------------------------------------------

Page TFormMain::ActivePage() const {
  return currentPage_;
}

void TFormMain::SetActivePage(Page page) {
  ++pageChangesFromCode_;
  ui_->PageControl1->setCurrentIndex(static_cast<int>(page));
  currentPage_ = page;
  --pageChangesFromCode_;
}

bool TFormMain::IsTabShown(Page page) const {
  return ui_->PageControl1->isTabVisible(static_cast<int>(page));
}

void TFormMain::SetTabShown(Page page, bool shown) {
  ++pageChangesFromCode_;
  ui_->PageControl1->setTabVisible(static_cast<int>(page), shown);
  currentPage_ = static_cast<Page>(ui_->PageControl1->currentIndex());
  --pageChangesFromCode_;
}

void TFormMain::OnCurrentTabChanged(int index) {
  if (pageChangesFromCode_ > 0 || index < 0) return;
  PageControl1Changing(currentPage_);
  currentPage_ = static_cast<Page>(index);
  PageControl1Change();
}

void TFormMain::ShowCommunicationOnly() {
  for (const Page page : {Page::Channels, Page::Acquisitions, Page::Diagnostics}) {
    SetTabShown(page, false);
  }
  SetActivePage(Page::Communication);
  communication_->FillCommunicationPage();
  ui_->ButtonOK->setEnabled(false);
  ui_->ButtonApply->setEnabled(false);
}

void TFormMain::ShowConfigurationPages() {
  for (const Page page : {Page::Channels, Page::Acquisitions, Page::Diagnostics}) {
    SetTabShown(page, true);
  }
}

void TFormMain::PageControl1Changing(Page leaving) {
  switch (leaving) {
    case Page::Acquisitions:
    case Page::Diagnostics:
      timer1_.stop();
      break;
    case Page::Communication:
      communication_->PutListsBackToLink();
      break;
    case Page::Channels:
    case Page::Calibration:
      break;
  }
}

void TFormMain::PageControl1Change() {
  ui_->ButtonApply->setText(Message(kApplyCaption));
  lastEntered_ = currentPage_;
  switch (currentPage_) {
    case Page::Channels:
      ui_->EditTitle->setFocus();
      break;
    case Page::Acquisitions:
      timer1_.setInterval(kAcquisitionsInterval);
      timer1_.start();
      if (const int missing = config_.statusFlags & kClockAndMemoryBits; missing != 0) {
        if (!clockWarningShown) ShowWarning(Message(kClockMissing - 1 + missing));
        clockWarningShown = true;
        acquisitions_->LockAcquisitionsPage();
      } else {
        acquisitions_->EnableMultiplierFields();
      }
      acquisitions_->RefreshPlanner();
      break;
    case Page::Communication:
      ui_->ButtonApply->setText(Message(kModifyCaption));
      break;
    case Page::Diagnostics:
      timer1_.setInterval(kPollingInterval);
      timer1_.start();
      diagnostics_->ShowTagsAndUnits();
      break;
    case Page::Calibration:
      timer1_.setInterval(kPollingInterval);
      timer1_.start();
      calibration_->ShowChannels();
      calibration_->LoadWorkingOffsets();
      calibration_->EnableOffsetButtons(true);
      break;
  }
}

void TFormMain::Timer1Timer() {
  switch (lastEntered_) {
    case Page::Acquisitions:
      acquisitions_->Timer1Tick();
      break;
    case Page::Diagnostics:
      diagnostics_->Timer1Tick();
      break;
    case Page::Calibration:
      calibration_->Timer1Tick();
      break;
    default:
      break;
  }
}

// ---- Settings -----------------------------------------------------------------------------

void TFormMain::LoadLinkSettings() {
  const auto legacyFile = settings::FindLegacySettingsFile(services_.legacyFolders);
  const settings::AppSettings loaded =
      settings::LoadSettings(*services_.settings, legacyFile, messages_);
  link_.portNumber = loaded.portNumber;
  link_.portName = loaded.portName;
  link_.baudRate = loaded.baudRate;
  link_.slaveAddress = loaded.slaveAddress;
  link_.parity = loaded.parity;
  link_.stopBits = loaded.stopBits;
  passwordEnabled = loaded.passwordEnabled;
}

void TFormMain::SaveSettings() {
  settings::AppSettings current;
  current.portNumber = link_.portNumber;
  current.portName = link_.portName;
  current.baudRate = link_.baudRate;
  current.slaveAddress = link_.slaveAddress;
  current.parity = link_.parity;
  current.stopBits = link_.stopBits;
  current.passwordEnabled = passwordEnabled;
  if (settings::SaveSettings(*services_.settings, current, messages_) !=
      settings::SaveStatus::kSaved) {
    ShowWarning(Message(kSaveFailed));
  }
}

// ---- Reading the configuration --------------------------------------------------------------

link::LinkStatus TFormMain::ReadImageUnderProgress(link::RegisterImage& image) {
  progress_.ShowProgress(Message(kCommunicationCaption), Message(kReadingConfiguration), 100);
  const link::LinkStatus status = link::ReadRegisterImage(
      link_, image, [this](int position) { progress_.SetPosition(position); });
  progress_.CloseProgress();
  return status;
}

void TFormMain::DecodeAndApply(const link::RegisterImage& image) {
  const model::DecodedConfiguration decoded = model::DecodeRegisterImage(image);
  config_ = decoded.config;
  channels_->ShowReadingModeChoice(decoded.gates.readingModeShown);
  communication_->EnableParityChoice(decoded.gates.parityChoiceEnabled);
}

void TFormMain::FillPages() {
  channels_->FillChannelsPage();
  acquisitions_->FillAcquisitionsPage();
  communication_->FillCommunicationPage();
  diagnostics_->FillDiagnosticsPage();
  // The fills show what the logger holds: nothing is edited yet.
  channelsChanged_ = false;
  acquisitionsChanged_ = false;
}

void TFormMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

void TFormMain::FormShow() {
  LoadLinkSettings();
  if (passwordEnabled) {
    const LoginResult login = services_.login
                                  ? services_.login(this)
                                  : RunLogin(this, *services_.settings, *services_.dialogs);
    if (login != LoginResult::Accepted) {
      EndTheProgram();
      return;
    }
  }
  if (link_.OpenPort()) {
    ShowPlainMessage(Message(kPortOpenFailed));
    ShowCommunicationOnly();
    return;
  }
  link::RegisterImage image{};
  if (ReadImageUnderProgress(image) != link::LinkStatus::Ok ||
      image[link::kIdentityRegister] != link::kIdentityValue) {
    ShowWarning(Message(kConfigReadFailed));
    ShowCommunicationOnly();
    return;
  }
  DecodeAndApply(image);
  FillPages();
  SetActivePage(Page::Channels);
  ui_->EditTitle->setFocus();
  ui_->ButtonApply->setText(Message(kApplyCaption));
}

void TFormMain::EndTheProgram() {
  programEnded_ = true;
  hide();
  emit EndProgram();
}

void TFormMain::ButtonNetReadClick() {
  ui_->ButtonNetRead->setEnabled(false);
  link_.slaveAddress = static_cast<std::int16_t>(communication_->ChosenAddress());
  const int chosenRate = communication_->ChosenBaudRate();
  if (link_.baudRate == 57600) {
    communication_->FillSpeedList(true);
    ui_->ComboNetBaud->setCurrentIndex(0);
  }
  if (chosenRate != link_.baudRate) {
    link_.baudRate = chosenRate;
    link_.ClosePort();
    link_.OpenPort();
  }
  if (const int parity = communication_->ChosenParity(); parity >= 0 && parity != link_.parity) {
    link_.parity = static_cast<std::int16_t>(parity);
    link_.stopBits = settings::StopBitsForParity(link_.parity);
    link_.ClosePort();
    link_.OpenPort();
  }
  link::RegisterImage image{};
  if (ReadImageUnderProgress(image) != link::LinkStatus::Ok) {
    ShowWarning(QStringLiteral("%1 %2 %3 %4!\n\n%5")
                    .arg(Message(kReadOnDemandFailed))
                    .arg(link_.slaveAddress)
                    .arg(Message(kAndBaudRate))
                    .arg(link_.baudRate)
                    .arg(Message(kSearchPointToPoint)));
    ui_->ButtonNetRead->setEnabled(true);
    ui_->ButtonOK->setEnabled(false);
    ui_->ButtonApply->setEnabled(false);
    return;
  }
  if (image[link::kIdentityRegister] != link::kIdentityValue) {
    ShowWarning(Message(kConfigReadFailed));
    ShowCommunicationOnly();
    ui_->ButtonNetRead->setEnabled(true);
    return;
  }
  DecodeAndApply(image);
  const bool clockOrMemoryMissing = (config_.statusFlags & kClockAndMemoryBits) != 0;
  if (!clockOrMemoryMissing) acquisitions_->UnlockAcquisitionsPage();
  FillPages();
  if (clockOrMemoryMissing) acquisitions_->LockAcquisitionsPage();
  ShowConfigurationPages();
  ui_->EditSearchBaud->setText(QString::number(link_.baudRate));
  ui_->EditSearchAddr->setText(QString::number(link_.slaveAddress));
  ui_->ButtonNetRead->setEnabled(true);
  SaveSettings();
  SetActivePage(Page::Channels);
  ui_->EditTitle->setFocus();
  ui_->ButtonApply->setText(Message(kApplyCaption));
  ui_->ButtonOK->setEnabled(true);
  ui_->ButtonApply->setEnabled(true);
}

// ---- Buttons --------------------------------------------------------------------------------

void TFormMain::ButtonOKClick() {
  if (channelsChanged_) channels_->WriteChannelConfig();
  if (acquisitionsChanged_) acquisitions_->WriteAcquisitionProgram();
  close();
}

void TFormMain::ButtonApplyClick() {
  switch (currentPage_) {
    case Page::Communication:
      communication_->ApplyNetworkParameters();
      break;
    case Page::Calibration:
      // A failed read leaves Apply enabled, so that the user can try again.
      if (!ReadOffsetsForApply()) return;
      break;
    case Page::Channels:
    case Page::Acquisitions:
    case Page::Diagnostics:
      if (channelsChanged_) {
        channels_->WriteChannelConfig();
        channelsChanged_ = false;
      }
      if (acquisitionsChanged_) {
        acquisitions_->WriteAcquisitionProgram();
        acquisitionsChanged_ = false;
      }
      break;
  }
  ui_->ButtonApply->setEnabled(false);
}

bool TFormMain::ReadOffsetsForApply() {
  progress_.ShowProgress(Message(kCommunicationCaption), Message(kReadingOffsets), kOffsetWords);
  const bool offsetsRead = calibration_->ReadAllOffsets();
  progress_.CloseProgress();
  if (!offsetsRead) {
    ShowPlainMessage(Message(kOffsetCommunicationError));
    calibration_->EnableOffsetButtons(false);
    return false;
  }
  calibration_->LoadWorkingOffsets();
  calibration_->EnableOffsetButtons(true);
  return true;
}

void TFormMain::ButtonCancelClick() {
  timer1_.stop();
  if (currentPage_ == Page::Calibration) calibration_->RestoreOffsets();
  close();
}

void TFormMain::ButtonHelpClick() {
  const QString topic = QStringLiteral("index.html");
  if (services_.showHelp) {
    services_.showHelp(topic);
  } else {
    ShowHelp(topic);
  }
}

void TFormMain::ButtonProgLogClick() {
  QDialog window(this);
  Ui::TFormProgLog layout;
  layout.setupUi(&window);
  window.exec();
}

void TFormMain::btnSenhaClick() {
  RunPasswordAdministration(this, services_, passwordEnabled);
}

void TFormMain::closeEvent(QCloseEvent* event) {
  FormClose();
  QMainWindow::closeEvent(event);
}

// Unapplied edits are dropped without a question; only OK writes them.
void TFormMain::FormClose() {
  if (shown_ && !programEnded_) SaveSettings();
  timer1_.stop();
}

}  // namespace virelo::ui
