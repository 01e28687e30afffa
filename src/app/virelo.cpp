// virelo: the configurator. "virelo --demo" starts a simulated logger inside the program and
// connects to it, without touching the user's saved settings.
#include <QDateTime>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "settings/app_settings.h"
#include "settings/memory_settings_store.h"
#include "settings/qt/qsettings_store.h"
#include "sim/simulated_line.h"
#include "text/message_table.h"
#include "ui/error_box.h"
#include "ui/main.h"
#include "ui/qt_dialogs.h"
#include "ui/services.h"

namespace {

class SystemClock final : public virelo::ui::Clock {
 public:
  virelo::model::LocalDateTime Now() const override {
    const QDateTime now = QDateTime::currentDateTime();
    return {now.date().year(), now.date().month(),  now.date().day(),
            now.time().hour(), now.time().minute(), now.time().second()};
  }
};

bool HasArgument(int argc, char** argv, const char* wanted) {
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == wanted) return true;
  }
  return false;
}

// The value after `option`, or empty.
QString ArgumentAfter(int argc, char** argv, const char* option) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string(argv[i]) == option) return QString::fromLocal8Bit(argv[i + 1]);
  }
  return {};
}

// Where a legacy "Virelo.ini" may be: the desktop, then the working folder.
std::vector<std::filesystem::path> LegacyFolders() {
  std::vector<std::filesystem::path> folders;
  const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  if (!desktop.isEmpty()) folders.emplace_back(desktop.toStdString());
  folders.emplace_back(QDir::currentPath().toStdString());
  return folders;
}

// The demonstration's settings: the simulated logger's terminal, nothing of the user's.
void PointAtSimulator(virelo::settings::MemorySettingsStore& store, const std::string& terminal) {
  virelo::settings::AppSettings demo;
  demo.portNumber = 0;
  demo.portName = terminal;
  virelo::settings::SaveSettings(store, demo);
}

}  // namespace

int main(int argc, char** argv) {
  virelo::ui::VireloApplication app(argc, argv);
  const bool demo = HasArgument(argc, argv, "--demo");

  std::unique_ptr<virelo::sim::SimulatedLine> simulator;
  std::unique_ptr<virelo::settings::SettingsStore> store;
  virelo::ui::Services services;
  if (demo) {
    simulator = std::make_unique<virelo::sim::SimulatedLine>(virelo::sim::SimOptions{});
    std::string error;
    if (!simulator->Start(&error)) {
      std::fprintf(stderr, "virelo: the simulated logger did not start: %s\n", error.c_str());
      return 1;
    }
    auto memory = std::make_unique<virelo::settings::MemorySettingsStore>();
    PointAtSimulator(*memory, simulator->DevicePath());
    store = std::move(memory);
    services.extraPorts << QString::fromStdString(simulator->DevicePath());
  } else {
    store = std::make_unique<virelo::settings::QSettingsStore>();
  }

  virelo::ui::QtDialogs dialogs;
  SystemClock clock;
  services.settings = store.get();
  services.dialogs = &dialogs;
  services.clock = &clock;
  services.workingFolder = QDir::currentPath().toStdString();
  for (int i = 0; i < argc; ++i) services.arguments.emplace_back(argv[i]);
  if (!demo) services.legacyFolders = LegacyFolders();

  virelo::ui::TFormMain window(std::move(services));
  QObject::connect(&window, &virelo::ui::TFormMain::EndProgram, &app, &QApplication::quit,
                   Qt::QueuedConnection);
  window.show();
  if (window.ProgramEnded()) return 0;
  // "--screenshot FILE": a picture of the window once it has read the logger, then the end.
  if (const QString picture = ArgumentAfter(argc, argv, "--screenshot"); !picture.isEmpty()) {
    QTimer::singleShot(1000, &window, [&window, picture] {
      const bool saved = window.grab().save(picture);
      QApplication::exit(saved ? 0 : 1);
    });
  }
  return app.exec();
}
