#pragma once
// Replays one scenario file against the headless windows in a fresh application folder.

#include <QString>

namespace scenario {

enum class Outcome { Pass, Fail, Error };

struct Result {
    Outcome outcome = Outcome::Pass;
    int line = 0;
    QString what;
};

// `snapshotsFolder` empty: snapshot commands do nothing.
Result runFile(const QString& path, const QString& snapshotsFolder);

} // namespace scenario
