// The configurator's main window: it owns the link's line settings as the user sees them,
// the logger's configuration, the edit flags, Timer1 and the five pages, and runs the start,
// the configuration reads, the page changes and the buttons along its bottom.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QTimer>
#include <memory>

#include "link/register_image.h"
#include "link/serial_link.h"
#include "model/logger_config.h"
#include "text/message_table.h"
#include "ui/dlgcomm.h"
#include "ui/services.h"

namespace Ui {
class TFormMain;
}

namespace virelo::ui {

class ChannelsPage;
class AcquisitionsPage;
class CommunicationPage;
class DiagnosticsPage;
class CalibrationPage;

// The pages in tab order.
enum class Page {
  Channels = 0,
  Acquisitions = 1,
  Communication = 2,
  Diagnostics = 3,
  Calibration = 4
};

class TFormMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit TFormMain(Services services, QWidget* parent = nullptr);
  ~TFormMain() override;

  // What the pages work on.
  Ui::TFormMain& Controls() { return *ui_; }
  link::SerialLink& Link() { return link_; }
  model::LoggerConfig& Config() { return config_; }
  const text::MessageTable& Messages() const { return messages_; }
  QString Message(int index) const;
  Services& Outside() { return services_; }
  Dialogs& Boxes() { return *services_.dialogs; }
  Progress& ProgressDialog() { return progress_; }
  QTimer& Timer1() { return timer1_; }

  ChannelsPage& Channels() { return *channels_; }
  AcquisitionsPage& Acquisitions() { return *acquisitions_; }
  CommunicationPage& Communication() { return *communication_; }
  DiagnosticsPage& Diagnostics() { return *diagnostics_; }
  CalibrationPage& Calibration() { return *calibration_; }

  // The edit flags and "&Aplicar".
  bool channelsChanged() const { return channelsChanged_; }
  bool acquisitionsChanged() const { return acquisitionsChanged_; }
  void MarkChannelsChanged();
  void ClearChannelsChanged();
  void MarkAcquisitionsChanged();
  void ClearAcquisitionsChanged();

  bool passwordEnabled = false;
  bool clockWarningShown = false;

  // Message boxes as the program shows them.
  void ShowPlainMessage(const QString& text);
  void ShowWarning(const QString& text);

  // Handlers.
  void FormShow();
  void FormClose();
  void ButtonNetReadClick();
  void PageControl1Changing(Page leaving);
  void PageControl1Change();
  void ButtonOKClick();
  void ButtonApplyClick();
  void ButtonCancelClick();
  void ButtonHelpClick();
  void ButtonProgLogClick();
  void btnSenhaClick();
  void Timer1Timer();

  void ShowCommunicationOnly();
  void ShowConfigurationPages();
  void SaveSettings();

  Page ActivePage() const;
  // Makes a page active from code; no page-change rules run.
  void SetActivePage(Page page);
  bool IsTabShown(Page page) const;
  // The page whose tick Timer1 runs: the one entered last.
  Page LastEnteredPage() const { return lastEntered_; }
  // True once the start-up ended the program (password refused).
  bool ProgramEnded() const { return programEnded_; }

 signals:
  void EndProgram();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateWindow();
  void ApplyLanguageFile();
  void ConnectHandlers();
  void OnCurrentTabChanged(int index);
  void LoadLinkSettings();
  link::LinkStatus ReadImageUnderProgress(link::RegisterImage& image);
  void DecodeAndApply(const link::RegisterImage& image);
  void FillPages();
  void SetTabShown(Page page, bool shown);
  void EndTheProgram();
  bool ReadOffsetsForApply();

  Services services_;
  std::unique_ptr<Ui::TFormMain> ui_;
  text::MessageTable messages_;
  link::SerialLink link_;
  model::LoggerConfig config_{};
  Progress progress_;
  QTimer timer1_;

  std::unique_ptr<ChannelsPage> channels_;
  std::unique_ptr<AcquisitionsPage> acquisitions_;
  std::unique_ptr<CommunicationPage> communication_;
  std::unique_ptr<DiagnosticsPage> diagnostics_;
  std::unique_ptr<CalibrationPage> calibration_;

  bool channelsChanged_ = false;
  bool acquisitionsChanged_ = false;
  bool shown_ = false;
  bool programEnded_ = false;
  int pageChangesFromCode_ = 0;
  Page currentPage_ = Page::Channels;
  Page lastEntered_ = Page::Channels;
};

}  // namespace virelo::ui
