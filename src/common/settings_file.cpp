#include "common/settings_file.h"

#include "forms/app.h"
#include "platform/profile_file.h"

#include <QDir>

#include <exception>

namespace {
// A failure inside the routines themselves (not a refused store) is shown to the user,
// and the routine returns its empty answer.
void reportFailure(App& app, const std::exception& failure, const QString& title) {
    app.message(
        QStringLiteral("Ошибка: <%1> - %2").arg(1).arg(QString::fromLocal8Bit(failure.what())),
        title);
}
} // namespace

QString GetValueString(App& app, const QString& section, const QString& key, const QString& file) {
    try {
        return platform::readProfileString(file, section, key);
    } catch (const std::exception& failure) {
        reportFailure(app, failure, QStringLiteral("GetValueString"));
        return {};
    }
}

bool SetValue(App& app, const QString& section, const QString& key, const QString& value,
              const QString& file) {
    try {
        return platform::writeProfileString(file, section, key, value);
    } catch (const std::exception& failure) {
        reportFailure(app, failure, QStringLiteral("SetValue"));
        return false;
    }
}

platform::WriteResult SetValues(App& app, const QString& section,
                                const QList<platform::ProfileEntry>& entries, const QString& file) {
    try {
        return platform::writeProfileStrings(file, section, entries);
    } catch (const std::exception& failure) {
        reportFailure(app, failure, QStringLiteral("SetValue"));
        return platform::WriteResult::Failed;
    }
}

QString readSetting(App& app, const QString& key) {
    return GetValueString(app, settings_keys::kSection, key, app.settingsFile());
}

bool storeSetting(App& app, const QString& key, const QString& value) {
    return SetValue(app, settings_keys::kSection, key, value, app.settingsFile());
}

platform::WriteResult storeSettings(App& app, const QList<platform::ProfileEntry>& entries) {
    return SetValues(app, settings_keys::kSection, entries, app.settingsFile());
}

bool settingsFileUnreadable(App& app) {
    return !platform::readProfileFile(app.settingsFile()).has_value();
}

QString interfaceLanguage(App& app) {
    if (app.switchedLanguage()) return *app.switchedLanguage();
    return readSetting(app, settings_keys::kLanguage);
}
