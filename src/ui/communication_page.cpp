#include "ui/communication_page.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPortInfo>

#include "link/register_ops.h"
#include "settings/app_settings.h"
#include "ui/main.h"
#include "ui_main.h"

namespace virelo::ui {
namespace {

constexpr int kAddressRegister = 186;
constexpr int kBaudRateRegister = 187;
constexpr int kParityRegister = 178;
constexpr int kSearchProbes = 5;  // the bar's maximum; six speeds are probed
constexpr int kSearchRates[] = {57600, 19200, 9600, 4800, 2400, 1200};

enum Msg {
  kPortNotConfigured = 141,
  kConfirmNetworkChange = 142,
  kSuccessCaption = 148,
  kSearchWillStart = 149,
  kSearchAlone = 150,
  kSearchStart = 151,
  kSearchDone = 152,
  kSearchFailed = 153,
  kCommunicationCaption = 173,
  kSearching = 177,
};

// Opens the port list: it is listed again each time the user opens it.
class DropDownWatcher : public QObject {
 public:
  DropDownWatcher(QComboBox* combo, CommunicationPage& page) : QObject(combo), page_(page) {
    combo->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress) page_.ComboHostPortDropDown();
    return false;
  }

 private:
  CommunicationPage& page_;
};

QStringList PlatformPorts() {
  QStringList names;
  for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
    names << port.portName();
#else
    names << port.systemLocation();
#endif
  }
  return names;
}

bool NamesPortByNumber(const QString& name) {
  return name.left(3).compare("COM", Qt::CaseInsensitive) == 0;
}

}  // namespace

int BaudRateCode(int baudRate) {
  for (int code = 0; code < static_cast<int>(std::size(kBaudRates)); ++code) {
    if (kBaudRates[code] == baudRate) return code;
  }
  return static_cast<int>(std::size(kBaudRates)) - 1;
}

int PortNumberOfName(const QString& name) {
  if (!NamesPortByNumber(name)) return 0;
  const QString rest = name.mid(3);
  int digits = 0;
  while (digits < rest.size() && rest[digits].isDigit()) ++digits;
  return rest.left(digits).toInt();
}

CommunicationPage::CommunicationPage(TFormMain& window) : window_(window) {
  auto& ui = window_.Controls();
  parity_ = RadioGroup(ui.RadioGroupParidade);
  stopBits_ = RadioGroup(ui.RadioGroupStopBit);
  new DropDownWatcher(ui.ComboHostPort, *this);
  connect(ui.ComboHostPort, &QComboBox::activated, this, [this] { ComboHostPortChange(); });
#ifndef Q_OS_WIN
  // Where ports are named by path, a path the platform does not list can be typed.
  ui.ComboHostPort->setEditable(true);
  ui.ComboHostPort->setInsertPolicy(QComboBox::NoInsert);
  connect(ui.ComboHostPort->lineEdit(), &QLineEdit::editingFinished, this, [this] {
    const QString typed = window_.Controls().ComboHostPort->currentText();
    if (!typed.isEmpty() && typed.toStdString() != window_.Link().portName) ComboHostPortChange();
  });
#endif
  connect(ui.ComboNetBaud, &QComboBox::activated, this, [this] { ComboNetBaudChange(); });
  connect(ui.ComboNetAddr, &QComboBox::activated, this, [this] { ComboNetAddrChange(); });
  for (QRadioButton* item : parity_.items()) {
    connect(item, &QRadioButton::toggled, this, [this](bool checked) {
      if (checked) RadioGroupParidadeClick();
    });
  }
  connect(ui.ButtonSearch, &QPushButton::clicked, this, [this] { ButtonSearchClick(); });
}

QStringList CommunicationPage::ListSerialPorts() const {
  const auto& outside = window_.Outside();
  QStringList names = outside.listPorts ? outside.listPorts() : PlatformPorts();
  for (const QString& extra : outside.extraPorts) {
    if (!names.contains(extra)) names << extra;
  }
  // A port given by path that the platform does not list (a simulator's terminal, an
  // adapter that enumerates oddly) stays choosable.
  const QString inUse = QString::fromStdString(window_.Link().portName);
  if (!inUse.isEmpty() && !names.contains(inUse)) names << inUse;
  return names;
}

int CommunicationPage::FindPortEntry() {
  QComboBox* combo = window_.Controls().ComboHostPort;
  combo->clear();
  combo->addItems(ListSerialPorts());
  const auto& link = window_.Link();
  for (int entry = 0; entry < combo->count(); ++entry) {
    const QString name = combo->itemText(entry);
    if (link.portName.empty() ? PortNumberOfName(name) == link.portNumber
                              : name.toStdString() == link.portName) {
      return entry;
    }
  }
  return combo->count() > 1 ? 1 : -1;
}

void CommunicationPage::FillSpeedList(bool with57600) {
  QComboBox* combo = window_.Controls().ComboNetBaud;
  combo->clear();
  for (const int rate : kSearchRates) {
    if (rate != 57600 || with57600) combo->addItem(QString::number(rate));
  }
}

void CommunicationPage::SelectSpeed(int baudRate) {
  QComboBox* combo = window_.Controls().ComboNetBaud;
  const int entry = combo->findText(QString::number(baudRate));
  combo->setCurrentIndex(entry >= 0 ? entry : combo->count() - 1);
}

void CommunicationPage::ShowStopBits(int stopBits) {
  stopBits_.SetItemIndex(stopBits == 2 ? 1 : 0);
}

void CommunicationPage::ShowLinkInUse() {
  auto& ui = window_.Controls();
  ui.EditSearchBaud->setText(QString::number(window_.Link().baudRate));
  ui.EditSearchAddr->setText(QString::number(window_.Link().slaveAddress));
}

void CommunicationPage::FillCommunicationPage() {
  auto& ui = window_.Controls();
  const auto& link = window_.Link();
  const int firmware = window_.Config().firmwareVersion;
  ui.ComboHostPort->setCurrentIndex(FindPortEntry());
  FillSpeedList(firmware >= 220 || link.baudRate == 57600);
  SelectSpeed(link.baudRate);
  if (firmware < 220) EnableParityChoice(false);
  filling_ = true;  // showing the link's parity is no edit
  parity_.SetItemIndex(link.parity);
  filling_ = false;
  ShowStopBits(link.stopBits);
  // The address list holds "1" to "247" once, however often the page is filled.
  if (ui.ComboNetAddr->count() != 247) {
    ui.ComboNetAddr->clear();
    for (int address = 1; address <= 247; ++address)
      ui.ComboNetAddr->addItem(QString::number(address));
  }
  ui.ComboNetAddr->setCurrentIndex(link.slaveAddress - 1);
  ShowLinkInUse();
}

void CommunicationPage::EnableParityChoice(bool enabled) {
  window_.Controls().RadioGroupParidade->setEnabled(enabled);
}

int CommunicationPage::ChosenBaudRate() const {
  return window_.Controls().ComboNetBaud->currentText().toInt();
}

int CommunicationPage::ChosenAddress() const {
  return window_.Controls().ComboNetAddr->currentIndex() + 1;
}

void CommunicationPage::PutListsBackToLink() {
  const auto& link = window_.Link();
  if (ChosenAddress() == link.slaveAddress && ChosenBaudRate() == link.baudRate) return;
  SelectSpeed(link.baudRate);
  window_.Controls().ComboNetAddr->setCurrentIndex(link.slaveAddress - 1);
}

void CommunicationPage::ComboHostPortDropDown() {
  QComboBox* combo = window_.Controls().ComboHostPort;
  const QString selected = combo->currentText();
  combo->clear();
  combo->addItems(ListSerialPorts());
  combo->setCurrentIndex(combo->findText(selected));
}

void CommunicationPage::ComboHostPortChange() {
  ChoosePort();
}

// Opens the port selected in the list with the speed shown; on failure the previous port
// stays selected and no port is open.
bool CommunicationPage::ChoosePort() {
  auto& ui = window_.Controls();
  auto& link = window_.Link();
  const QString speed = ui.ComboNetBaud->currentText();
  link.baudRate = 1200;
  for (const int rate : {57600, 19200, 9600, 4800, 2400}) {
    if (speed == QString::number(rate)) link.baudRate = rate;
  }
  const auto previousNumber = link.portNumber;
  const std::string previousName = link.portName;
  const QString chosen = ui.ComboHostPort->currentText();
  if (NamesPortByNumber(chosen)) {
    link.portNumber = static_cast<std::int16_t>(PortNumberOfName(chosen));
    link.portName.clear();
  } else {
    link.portName = chosen.toStdString();
  }
  link.ClosePort();
  if (link.OpenPort()) {
    link.ClosePort();
    link.portNumber = previousNumber;
    link.portName = previousName;
    ui.ComboHostPort->setCurrentIndex(FindPortEntry());
    window_.ShowWarning(window_.Message(kPortNotConfigured));
    ui.ButtonSearch->setEnabled(false);
    return false;
  }
  ui.ButtonSearch->setEnabled(true);
  window_.SaveSettings();
  return true;
}

void CommunicationPage::ComboNetBaudChange() {
  window_.Controls().ButtonApply->setEnabled(true);
}

void CommunicationPage::ComboNetAddrChange() {
  window_.Controls().ButtonApply->setEnabled(true);
}

void CommunicationPage::RadioGroupParidadeClick() {
  if (filling_) return;
  ShowStopBits(settings::StopBitsForParity(static_cast<std::int16_t>(std::max(0, ChosenParity()))));
  window_.Controls().ButtonApply->setEnabled(true);
}

void CommunicationPage::ApplyNetworkParameters() {
  if (window_.Boxes().Message(&window_, window_.Message(48), window_.Message(kConfirmNetworkChange),
                              BoxIcon::Warning, BoxButtons::YesNo) != BoxAnswer::Yes) {
    return;
  }
  auto& link = window_.Link();
  // The address goes out at the old address and line settings; the speed at the new address
  // and the old line settings; the parity at the new address and speed. The logger answers
  // each change at its new settings, so the read-backs cannot confirm them.
  if (const int address = ChosenAddress(); address != link.slaveAddress) {
    link::WriteRegister(link, kAddressRegister, static_cast<std::int16_t>(address));
    link.slaveAddress = static_cast<std::int16_t>(address);
  }
  if (const int rate = ChosenBaudRate(); rate != link.baudRate) {
    link::WriteRegister(link, kBaudRateRegister, static_cast<std::int16_t>(BaudRateCode(rate)));
    link.baudRate = rate;
    link.ClosePort();
    link.OpenPort();
  }
  if (const int parity = ChosenParity(); parity >= 0 && parity != link.parity) {
    link::WriteRegister(link, kParityRegister, static_cast<std::int16_t>(parity));
    link.parity = static_cast<std::int16_t>(parity);
    link.stopBits = settings::StopBitsForParity(link.parity);
    link.ClosePort();
    link.OpenPort();
  }
  ShowLinkInUse();
  window_.SaveSettings();
  window_.ButtonNetReadClick();
}

bool CommunicationPage::ProbeIdentity() {
  std::int16_t identity = 0;
  return link::ReadRegister(window_.Link(), link::kIdentityRegister, &identity) ==
             link::LinkStatus::Ok &&
         identity == link::kIdentityValue;
}

void CommunicationPage::ButtonSearchClick() {
  auto& ui = window_.Controls();
  auto& link = window_.Link();
  ChoosePort();
  const QString question = QStringLiteral("%1.\n%2!\n%3")
                               .arg(window_.Message(kSearchWillStart),
                                    window_.Message(kSearchAlone), window_.Message(kSearchStart));
  if (window_.Boxes().Message(&window_, window_.Message(48), question, BoxIcon::Warning,
                              BoxButtons::OkCancel) != BoxAnswer::Ok) {
    return;
  }
  ui.ButtonSearch->setEnabled(false);
  const auto rememberedAddress = link.slaveAddress;
  const auto rememberedRate = link.baudRate;
  const auto rememberedParity = link.parity;
  // A logger alone on the line answers address 0 whatever its own address.
  link.slaveAddress = 0;
  auto& progress = window_.ProgressDialog();
  bool found = false;
  for (std::int16_t parity = 0; parity <= 2 && !found; ++parity) {
    link.parity = parity;
    link.stopBits = settings::StopBitsForParity(parity);
    progress.ShowProgress(window_.Message(kCommunicationCaption), window_.Message(kSearching),
                          kSearchProbes);
    for (const int rate : kSearchRates) {
      link.baudRate = rate;
      link.ClosePort();
      link.OpenPort();
      found = ProbeIdentity();
      progress.StepProgress(1);
      if (found) break;
    }
    if (!found) progress.CloseProgress();
  }
  if (!found) {
    // Back to the line the page shows, so that the link and the page agree again.
    link.slaveAddress = rememberedAddress;
    link.baudRate = rememberedRate;
    link.parity = rememberedParity;
    link.stopBits = settings::StopBitsForParity(rememberedParity);
    link.ClosePort();
    link.OpenPort();
    window_.ShowWarning(window_.Message(kSearchFailed));
    ui.ButtonSearch->setEnabled(true);
    return;
  }
  // A failed read of the address register keeps the address in use before the search.
  std::int16_t address = rememberedAddress;
  if (link::ReadRegister(link, kAddressRegister, &address) != link::LinkStatus::Ok || address < 1 ||
      address > 247) {
    address = rememberedAddress;
  }
  link.slaveAddress = address;
  if (link.baudRate == 57600 && ui.ComboNetBaud->findText("57600") < 0) FillSpeedList(true);
  SelectSpeed(link.baudRate);
  filling_ = true;
  parity_.SetItemIndex(link.parity);
  filling_ = false;
  ShowStopBits(link.stopBits);
  ui.ComboNetAddr->setCurrentIndex(link.slaveAddress - 1);
  ShowLinkInUse();
  progress.CloseProgress();
  window_.Boxes().Message(&window_, window_.Message(kSuccessCaption), window_.Message(kSearchDone),
                          BoxIcon::Warning, BoxButtons::Ok);
  ui.ButtonSearch->setEnabled(true);
  window_.SaveSettings();
  window_.ShowConfigurationPages();
  window_.ButtonNetReadClick();
}

}  // namespace virelo::ui
