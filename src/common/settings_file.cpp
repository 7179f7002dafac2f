#include "common/settings_file.h"

#include "platform/profile_file.h"

QString GetValueString(const QString& section, const QString& key, const QString& file) {
    return platform::readProfileString(file, section, key);
}

platform::WriteResult SetValue(const QString& section, const QString& key, const QString& value,
                               const QString& file) {
    return platform::writeProfileStrings(file, section, {{key, value}});
}

platform::WriteResult SetValues(const QString& section,
                                const QList<platform::ProfileEntry>& entries, const QString& file) {
    return platform::writeProfileStrings(file, section, entries);
}

QString readSetting(const platform::AppContext& app, const QString& key) {
    return GetValueString(settings_keys::kSection, key, app.settingsFile());
}

platform::WriteResult storeSetting(const platform::AppContext& app, const QString& key,
                                   const QString& value) {
    return SetValue(settings_keys::kSection, key, value, app.settingsFile());
}

platform::WriteResult storeSettings(const platform::AppContext& app,
                                    const QList<platform::ProfileEntry>& entries) {
    return SetValues(settings_keys::kSection, entries, app.settingsFile());
}

bool settingsFileUnreadable(const platform::AppContext& app) {
    return !platform::isProfileFileReadable(app.settingsFile());
}
