// The communication page: the PC's serial port, the logger's address, speed and parity, the
// application of new network parameters and the automatic search.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include "ui/radio_group.h"

namespace virelo::ui {

class TFormMain;

// The speeds of the logger's baud-rate register, by code.
inline constexpr int kBaudRates[] = {1200, 2400, 4800, 9600, 19200, 57600};

int BaudRateCode(int baudRate);
// The port number of a name: the number after "COM" (COM12 gives 12); 0 for other names.
int PortNumberOfName(const QString& name);

class CommunicationPage : public QObject {
  Q_OBJECT
 public:
  explicit CommunicationPage(TFormMain& window);

  QStringList ListSerialPorts() const;
  // Refills the port list and gives the entry of the port the link uses.
  int FindPortEntry();
  void FillCommunicationPage();
  void ApplyNetworkParameters();
  void EnableParityChoice(bool enabled);
  // Leaving the page: unapplied speed and address choices go back to the link's.
  void PutListsBackToLink();
  // The speed shown in the speed list, 0 when the text is not a number.
  int ChosenBaudRate() const;
  int ChosenAddress() const;
  int ChosenParity() const { return parity_.ItemIndex(); }
  void FillSpeedList(bool with57600);

  // Handlers.
  void ComboHostPortDropDown();
  void ComboHostPortChange();
  void ComboNetBaudChange();
  void ComboNetAddrChange();
  void RadioGroupParidadeClick();
  void ButtonSearchClick();

 private:
  void SelectSpeed(int baudRate);
  void ShowStopBits(int stopBits);
  void ShowLinkInUse();
  bool ChoosePort();
  bool ProbeIdentity();

  TFormMain& window_;
  RadioGroup parity_;
  RadioGroup stopBits_;
  bool filling_ = false;
};

}  // namespace virelo::ui
