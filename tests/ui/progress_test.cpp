// The communication progress dialog: a fresh dialog each time, a bar that fills and stays
// full, and nothing left on screen after it is closed.
#include <gtest/gtest.h>

#include <QLabel>

#include "ui/dlgcomm.h"

namespace virelo::ui {
namespace {

TEST(ProgressTest, StepsFillTheBarAndStopAtFull) {
  Progress progress;
  progress.ShowProgress("Comunicação", "Realizando Busca Automática...    Aguarde.", 5);
  EXPECT_TRUE(progress.IsShown());
  EXPECT_EQ(progress.Position(), 0);
  EXPECT_EQ(progress.Maximum(), 5);
  for (int step = 0; step < 5; ++step) progress.StepProgress(1);
  EXPECT_EQ(progress.Position(), 5);
  progress.StepProgress(1);  // a sixth probe
  EXPECT_EQ(progress.Position(), 5);
  progress.CloseProgress();
  EXPECT_FALSE(progress.IsShown());

  progress.ShowProgress("Comunicação", "Lendo a Configuração...    Aguarde.", 100);
  EXPECT_EQ(progress.Position(), 0);
  progress.SetPosition(60);
  EXPECT_EQ(progress.Position(), 60);
  EXPECT_EQ(progress.ShowCount(), 2);
  EXPECT_EQ(progress.LastMessage(), "Lendo a Configuração...    Aguarde.");
  progress.CloseProgress();
  progress.StepProgress(1);  // nothing current: no effect, no crash
  EXPECT_FALSE(progress.IsShown());
}

}  // namespace
}  // namespace virelo::ui
