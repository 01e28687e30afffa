// The diagnostics page: live readings, alarms and the logger's state.
#pragma once

namespace virelo::ui {

class TFormMain;

class DiagnosticsPage {
 public:
  explicit DiagnosticsPage(TFormMain& window) : window_(window) {}

  void FillDiagnosticsPage();
  // The channels' tags and units as the logger has them.
  void ShowTagsAndUnits();
  void Timer1Tick();

 private:
  TFormMain& window_;
};

}  // namespace virelo::ui
