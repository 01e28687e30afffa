// The settings store of the running program, over QSettings in its native format: the
// registry under HKEY_CURRENT_USER on Windows, an INI file under the user's configuration
// folder elsewhere. A key path "\Software\<organization>\<application>\<group>..." names the
// QSettings of that organization and application and the group path within it.
#pragma once

#include <QSettings>
#include <memory>
#include <string_view>

#include "settings/settings_store.h"

namespace virelo::settings {

class QSettingsStore final : public SettingsStore {
 public:
  explicit QSettingsStore(QSettings::Format format = QSettings::NativeFormat,
                          QSettings::Scope scope = QSettings::UserScope);

  // Nothing for a path that does not start with "Software", an organization and an
  // application; for kMayCreate also when the settings cannot be written.
  std::unique_ptr<SettingsKey> OpenKey(std::string_view path, OpenMode mode) override;

 private:
  QSettings::Format format_;
  QSettings::Scope scope_;
};

}  // namespace virelo::settings
