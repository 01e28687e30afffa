// The acquisitions page: the acquisition program, the clocks and the planner.
#pragma once

namespace virelo::ui {

class TFormMain;

class AcquisitionsPage {
 public:
  explicit AcquisitionsPage(TFormMain& window) : window_(window) {}

  void FillAcquisitionsPage();
  void LockAcquisitionsPage();
  void UnlockAcquisitionsPage();
  void EnableMultiplierFields();
  void RefreshPlanner();
  void WriteAcquisitionProgram();
  void Timer1Tick();

 private:
  TFormMain& window_;
};

}  // namespace virelo::ui
