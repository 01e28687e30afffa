// The hidden offset calibration page.
#pragma once

namespace virelo::ui {

class TFormMain;

class CalibrationPage {
 public:
  explicit CalibrationPage(TFormMain& window) : window_(window) {}

  bool ReadAllOffsets();
  void LoadWorkingOffsets();
  void EnableOffsetButtons(bool allowed);
  void ShowCalibrationStatus(int channel);
  void RestoreOffsets();
  // The channels' tags, units as edited and filters.
  void ShowChannels();
  void Timer1Tick();

 private:
  TFormMain& window_;
};

}  // namespace virelo::ui
