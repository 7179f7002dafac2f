#pragma once
// The two routines through which the program reads and writes every INI-form file (the
// settings file and the test files), and the names of the settings file's keys.

#include <QString>

class App;

// The value of `key` in `section` of `file`, at most 255 characters; empty when the file,
// the section or the key is missing.
QString GetValueString(App& app, const QString& section, const QString& key, const QString& file);

// Stores `value` under `key` in `section` of `file`, creating what is missing. False when
// the store was refused (a read-only folder, say); nobody is told, as before.
bool SetValue(App& app, const QString& section, const QString& key, const QString& value,
              const QString& file);

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
inline const QString kRegistrationSection = QStringLiteral("reg");
inline const QString kRegistration = QStringLiteral("reg");
} // namespace settings_keys

// A key of the settings file's "test" section.
QString readSetting(App& app, const QString& key);
bool storeSetting(App& app, const QString& key, const QString& value);

// The interface language as the settings file holds it ("rus", "eng" or anything else);
// every window reads it when it loads.
QString interfaceLanguage(App& app);

// The exam folder stored under key `z`, as the settings in force take it: a relative path
// (the bundled sample's "b/География") lies in the application folder; a full path, or
// one written on Windows ("C:\...", "\\server\..."), is taken as it is.
QString storedExamFolder(App& app);
