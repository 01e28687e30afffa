#include "settings/qt/qsettings_store.h"

#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace virelo::settings {

namespace {

QString ToQString(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

bool IsWholeNumberType(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
      return true;
    default:
      return false;
  }
}

// The entry of `names` equal to `name` without regard to letter case, preferring an exact
// match; `name` itself when there is none.
QString MatchName(const QStringList& names, const QString& name) {
  if (names.contains(name)) return name;
  for (const auto& candidate : names) {
    if (candidate.compare(name, Qt::CaseInsensitive) == 0) return candidate;
  }
  return name;
}

class QSettingsKey final : public SettingsKey {
 public:
  QSettingsKey(std::unique_ptr<QSettings> settings, QString group)
      : settings_(std::move(settings)), group_(std::move(group)) {}

  std::optional<std::int32_t> ReadInteger(std::string_view name) const override {
    const auto value = Value(name);
    if (!value) return std::nullopt;
    if (IsWholeNumberType(*value)) {
      // A registry DWORD may come back unsigned; its 32 bits are the value.
      return static_cast<std::int32_t>(static_cast<std::uint32_t>(value->toLongLong()));
    }
    // Formats that keep no types hold every value as text; a whole number read as text is
    // the integer that was written. Where types are kept, a text is not an integer.
    if (KeepsTypes() || value->typeId() != QMetaType::QString) return std::nullopt;
    bool ok = false;
    const auto number = value->toString().trimmed().toLongLong(&ok, 10);
    if (!ok || number < INT32_MIN || number > static_cast<long long>(UINT32_MAX)) {
      return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
  }

  std::optional<std::string> ReadText(std::string_view name) const override {
    const auto value = Value(name);
    if (!value || value->typeId() != QMetaType::QString) return std::nullopt;
    return value->toString().toStdString();
  }

  bool WriteInteger(std::string_view name, std::int32_t value) override {
    return Write(name, QVariant(static_cast<int>(value)));
  }

  bool WriteText(std::string_view name, std::string_view utf8Text) override {
    return Write(name, QVariant(ToQString(utf8Text)));
  }

  bool HasSubKey(std::string_view name) const override {
    Enter();
    const auto groups = settings_->childGroups();
    Leave();
    return std::any_of(groups.begin(), groups.end(), [&](const QString& group) {
      return group.compare(ToQString(name), Qt::CaseInsensitive) == 0;
    });
  }

 private:
  bool KeepsTypes() const {
#ifdef Q_OS_WIN
    return settings_->format() == QSettings::NativeFormat;
#else
    return false;
#endif
  }

  void Enter() const {
    if (!group_.isEmpty()) settings_->beginGroup(group_);
  }
  void Leave() const {
    if (!group_.isEmpty()) settings_->endGroup();
  }

  std::optional<QVariant> Value(std::string_view name) const {
    Enter();
    const auto key = MatchName(settings_->childKeys(), ToQString(name));
    std::optional<QVariant> value;
    if (settings_->contains(key)) value = settings_->value(key);
    Leave();
    return value;
  }

  bool Write(std::string_view name, const QVariant& value) {
    Enter();
    settings_->setValue(MatchName(settings_->childKeys(), ToQString(name)), value);
    Leave();
    settings_->sync();
    return settings_->status() == QSettings::NoError;
  }

  std::unique_ptr<QSettings> settings_;
  QString group_;
};

}  // namespace

QSettingsStore::QSettingsStore(QSettings::Format format, QSettings::Scope scope)
    : format_(format), scope_(scope) {}

std::unique_ptr<SettingsKey> QSettingsStore::OpenKey(std::string_view path, OpenMode mode) {
  const auto parts = SplitKeyPath(path);
  if (parts.size() < 3 || !SameName(parts[0], "Software")) return nullptr;

  auto settings =
      std::make_unique<QSettings>(format_, scope_, ToQString(parts[1]), ToQString(parts[2]));
  settings->setFallbacksEnabled(false);
  if (settings->status() != QSettings::NoError) return nullptr;

  // Walk the groups, taking an existing group whatever its letter case.
  QStringList groups;
  bool exists = parts.size() > 3 || !settings->allKeys().isEmpty();
  for (std::size_t i = 3; i < parts.size(); ++i) {
    const auto wanted = ToQString(parts[i]);
    const auto children = exists ? settings->childGroups() : QStringList();
    const auto found = MatchName(children, wanted);
    exists = exists && children.contains(found);
    groups << found;
    if (exists) settings->beginGroup(found);
  }
  while (!settings->group().isEmpty()) settings->endGroup();

  if (mode == OpenMode::kExistingOnly && !exists) return nullptr;
  if (mode == OpenMode::kMayCreate && !settings->isWritable()) return nullptr;
  return std::make_unique<QSettingsKey>(std::move(settings), groups.join(u'/'));
}

}  // namespace virelo::settings
