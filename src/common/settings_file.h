#pragma once
// The two routines through which the program reads and writes every INI-form file (the
// settings file and the test files), and the names of the settings file's keys.

#include "platform/profile_file.h"

#include <QList>
#include <QString>

class App;

// The value of `key` in `section` of `file`, at most 255 characters; empty when the file,
// the section or the key is missing.
QString GetValueString(App& app, const QString& section, const QString& key, const QString& file);

// Stores `value` under `key` in `section` of `file`, creating what is missing. False when
// the store was refused (a read-only folder, a full disk, another copy holding the file's
// lock for too long); the file is then as it was.
bool SetValue(App& app, const QString& section, const QString& key, const QString& value,
              const QString& file);

// Stores several keys of one section at once: one replacement of the file, so either all
// of them are stored or none; keys new to the file are appended in the order given.
platform::WriteResult SetValues(App& app, const QString& section,
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
QString readSetting(App& app, const QString& key);
bool storeSetting(App& app, const QString& key, const QString& value);
platform::WriteResult storeSettings(App& app, const QList<platform::ProfileEntry>& entries);

// The settings file exists but cannot be read (no permission, damaged medium): every key
// then reads as empty, the password included, so the windows must not take that for the
// settings.
bool settingsFileUnreadable(App& app);

// The interface language ("rus", "eng" or anything else): the one switched to during this
// run, else the one the settings file holds. Every window reads it when it loads.
QString interfaceLanguage(App& app);
