#pragma once
// The two routines through which the program reads and writes every INI-form file (the
// settings file and the test files), and the names of the settings file's keys.

#include "platform/app_context.h"
#include "platform/profile_file.h"

#include <QList>
#include <QString>

// The value of `key` in `section` of `file`, at most 255 characters; empty when the file,
// the section or the key is missing.
QString GetValueString(const QString& section, const QString& key, const QString& file);

// Stores `value` under `key` in `section` of `file`, creating what is missing. A refused
// store (a read-only folder, a full disk, another copy holding the file's lock for too
// long) leaves the file as it was.
platform::WriteResult SetValue(const QString& section, const QString& key, const QString& value,
                               const QString& file);

// Stores several keys of one section at once: one replacement of the file, so either all
// of them are stored or none; keys new to the file are appended in the order given.
platform::WriteResult SetValues(const QString& section,
                                const QList<platform::ProfileEntry>& entries, const QString& file);

// The settings file "test.ini": its section and keys.
namespace settings_keys {
inline const QString kSection = QStringLiteral("test");
inline const QString kTickets = QStringLiteral("bilet");     // number of tickets
inline const QString kQuestions = QStringLiteral("vopros");  // questions per ticket
inline const QString kPassingScore = QStringLiteral("ball"); // passing score
inline const QString kMinutes = QStringLiteral("time");      // timer minutes
inline const QString kPassword = QStringLiteral("pass");     // settings password
inline const QString kPictureWidth = QStringLiteral("l");    // fixed picture width, pixels
inline const QString kPictureHeight = QStringLiteral("h");   // fixed picture height, pixels
inline const QString kPictureMode = QStringLiteral("k");     // "1" fixed, "2" real size
inline const QString kExamFolder = QStringLiteral("z");      // exam folder in use
inline const QString kLanguage = QStringLiteral("re");       // interface language
// Stored only once set away from their defaults, so a file saved with the defaults keeps
// the keys it always had.
inline const QString kAlwaysSave = QStringLiteral("save");   // "1": results always saved
inline const QString kShowRight = QStringLiteral("answers"); // "0": right answers hidden
inline const QString kRegistrationSection = QStringLiteral("reg");
inline const QString kRegistration = QStringLiteral("reg");
} // namespace settings_keys

// A key of the settings file's "test" section.
QString readSetting(const platform::AppContext& app, const QString& key);
platform::WriteResult storeSetting(const platform::AppContext& app, const QString& key,
                                   const QString& value);
platform::WriteResult storeSettings(const platform::AppContext& app,
                                    const QList<platform::ProfileEntry>& entries);

// The settings file exists but cannot be read (no permission, damaged medium): every key
// then reads as empty, the password included, so the windows must not take that for the
// settings.
bool settingsFileUnreadable(const platform::AppContext& app);
