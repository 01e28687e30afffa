// What the main window needs from the world outside it, gathered in one value so that tests
// can hand it fakes: the serial port, the settings store, message boxes and file dialogs,
// the local clock, the working folder and the command line.
#pragma once

#include <QString>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/serial_port.h"
#include "model/date_time.h"
#include "settings/settings_store.h"

class QWidget;

namespace virelo::ui {

enum class BoxIcon { None, Information, Warning, Error, Question };
enum class BoxButtons { Ok, OkCancel, YesNo, AbortRetryIgnore };
enum class BoxAnswer { Ok, Cancel, Yes, No, Abort, Retry, Ignore };

// Every message box and file dialog of the program goes through here.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual BoxAnswer Message(QWidget* parent, const QString& caption, const QString& text,
                            BoxIcon icon, BoxButtons buttons) = 0;
  // Empty when the user cancels.
  virtual QString OpenFileName(QWidget* parent, const QString& caption, const QString& filter) = 0;
  virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& filter) = 0;
};

// The PC's local date and time, to the second.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual model::LocalDateTime Now() const = 0;
};

// Outcome of the password dialog shown at start-up.
enum class LoginResult { Accepted, Cancelled, Failed };

struct Services {
  link::SerialPortFactory portFactory;  // empty: the platform's serial port
  settings::SettingsStore* settings = nullptr;
  Dialogs* dialogs = nullptr;
  Clock* clock = nullptr;
  std::filesystem::path workingFolder;  // where the language file "VRLT.TRL" is looked for
  std::vector<std::string> arguments;   // the command line, program name first
  // Folders where a legacy "Virelo.ini" is looked for, in order.
  std::vector<std::filesystem::path> legacyFolders;
  // Ports that the platform does not list but that the user can use (the simulator's).
  QStringList extraPorts;
  // Lists the platform's serial ports; empty: none.
  std::function<QStringList()> listPorts;
  // Shows the password dialog modally; empty: the program's own dialog.
  std::function<LoginResult(QWidget* parent)> login;
  // Opens the help at a topic ("index.html", "senha.html", ...); empty: the help window.
  std::function<void(const QString& topic)> showHelp;
};

}  // namespace virelo::ui
