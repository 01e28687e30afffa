// The pages' operations that the main window calls. Each page keeps its own rules; what the
// main window needs of a page that is not built yet is an operation that changes nothing.
#include <QLineEdit>

#include "model/input_types.h"
#include "ui/acquisitions_page.h"
#include "ui/calibration_page.h"
#include "ui/channels_page.h"
#include "ui/control_arrays.h"
#include "ui/diagnostics_page.h"
#include "ui/main.h"
#include "ui_main.h"

namespace virelo::ui {

QString ChannelUnitText(int inputType, const QString& engineeringUnit, bool fahrenheit) {
  if (inputType >= model::kLinearCurrent) return engineeringUnit;
  return fahrenheit ? QStringLiteral("°F") : QStringLiteral("°C");
}

namespace {

QString Utf8(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

// Channels page.

void ChannelsPage::FillChannelsPage() {
  auto& ui = window_.Controls();
  const auto& config = window_.Config();
  ui.EditTitle->setText(Utf8(model::TextUtf8(config.title)));
  const auto tags = ChannelControls<QLineEdit>(ui.TabSheet1, "EditTag");
  for (int c = 0; c < kChannels; ++c) {
    tags[c]->setText(Utf8(model::TextUtf8(config.channels[c].tag)));
  }
}

void ChannelsPage::WriteChannelConfig() {}

void ChannelsPage::ShowReadingModeChoice(bool shown) {
  window_.Controls().RadioMode->setVisible(shown);
}

// Acquisitions page.

void AcquisitionsPage::FillAcquisitionsPage() {}
void AcquisitionsPage::LockAcquisitionsPage() {}
void AcquisitionsPage::UnlockAcquisitionsPage() {}
void AcquisitionsPage::EnableMultiplierFields() {}
void AcquisitionsPage::RefreshPlanner() {}
void AcquisitionsPage::WriteAcquisitionProgram() {}
void AcquisitionsPage::Timer1Tick() {}

// Diagnostics page.

void DiagnosticsPage::FillDiagnosticsPage() {}

// Labelled by the unit the logger has, as last read or written.
void DiagnosticsPage::ShowTagsAndUnits() {
  auto& ui = window_.Controls();
  const auto tags = ChannelControls<QLineEdit>(ui.TabSheet4, "EditTagCh");
  const auto units = ChannelControls<QLineEdit>(ui.TabSheet4, "EditUnitCh");
  for (int c = 0; c < kChannels; ++c) {
    const auto& channel = window_.Config().channels[c];
    tags[c]->setText(Utf8(model::TextUtf8(channel.tag)));
    units[c]->setText(
        ChannelUnitText(channel.inputType, Utf8(model::TextUtf8(channel.engineeringUnit)),
                        channel.unitAsWritten == model::TemperatureUnit::kFahrenheit));
  }
}

void DiagnosticsPage::Timer1Tick() {}

// Calibration page.

bool CalibrationPage::ReadAllOffsets() {
  return true;
}
void CalibrationPage::LoadWorkingOffsets() {}
void CalibrationPage::EnableOffsetButtons(bool) {}
void CalibrationPage::ShowCalibrationStatus(int) {}
void CalibrationPage::RestoreOffsets() {}

// Labelled by the unit as edited on the channels page.
void CalibrationPage::ShowChannels() {
  auto& ui = window_.Controls();
  const auto tags = ChannelControls<QLineEdit>(ui.tsCalibOffset, "edTagCalib");
  const auto units = ChannelControls<QLineEdit>(ui.tsCalibOffset, "edUnitCalib");
  const auto filters = ChannelControls<QLineEdit>(ui.tsCalibOffset, "EditFiltCalibCh");
  for (int c = 0; c < kChannels; ++c) {
    const auto& channel = window_.Config().channels[c];
    tags[c]->setText(Utf8(model::TextUtf8(channel.tag)));
    units[c]->setText(ChannelUnitText(channel.inputType,
                                      Utf8(model::TextUtf8(channel.engineeringUnit)),
                                      channel.unit == model::TemperatureUnit::kFahrenheit));
    filters[c]->setText(QString::number(static_cast<int>(channel.filter)));
    ShowCalibrationStatus(c);
  }
}

void CalibrationPage::Timer1Tick() {}

}  // namespace virelo::ui
