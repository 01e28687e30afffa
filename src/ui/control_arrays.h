// The per-channel controls of a page, found by their numbered objectNames (EditTagCh1 to
// EditTagCh8, ...), so that the pages work on them in loops.
#pragma once

#include <QString>
#include <QWidget>
#include <array>

namespace virelo::ui {

inline constexpr int kChannels = 8;

template <typename Control>
std::array<Control*, kChannels> ChannelControls(const QWidget* root, const QString& prefix,
                                                const QString& suffix = {}) {
  std::array<Control*, kChannels> controls{};
  for (int c = 0; c < kChannels; ++c) {
    controls[static_cast<std::size_t>(c)] =
        root->findChild<Control*>(prefix + QString::number(c + 1) + suffix);
  }
  return controls;
}

// The unit a channel is labelled with: its engineering unit for linear inputs, else the
// temperature unit given.
QString ChannelUnitText(int inputType, const QString& engineeringUnit, bool fahrenheit);

}  // namespace virelo::ui
