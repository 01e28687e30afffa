// The channels page: the title, the eight channels' settings and the reading mode.
#pragma once

namespace virelo::ui {

class TFormMain;

class ChannelsPage {
 public:
  explicit ChannelsPage(TFormMain& window) : window_(window) {}

  void FillChannelsPage();
  void WriteChannelConfig();
  void ShowReadingModeChoice(bool shown);

 private:
  TFormMain& window_;
};

}  // namespace virelo::ui
