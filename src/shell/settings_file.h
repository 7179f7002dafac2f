#pragma once
// The two routines through which the program reads and writes every INI-form file (the
// settings file and the test files).

#include <QString>

class App;

// The value of `key` in `section` of `file`, at most 255 characters; empty when the file,
// the section or the key is missing.
QString GetValueString(App& app, const QString& section, const QString& key, const QString& file);

// Stores `value` under `key` in `section` of `file`, creating what is missing. False when
// the store was refused (a read-only folder, say); nobody is told, as before.
bool SetValue(App& app, const QString& section, const QString& key, const QString& value,
              const QString& file);
