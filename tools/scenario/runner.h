#pragma once
// Replays one scenario file against the headless windows in a fresh application folder.

#include <QString>

#include <functional>

namespace gui {
class WindowTable;
}

namespace scenario {

enum class Outcome { Pass, Fail, Error };

struct Result {
    Outcome outcome = Outcome::Pass;
    int line = 0;
    QString what;
};

// `snapshotsFolder` empty: snapshot commands do nothing. `windows` are the program's
// windows: the first is the one `start` loads.
Result runFile(const QString& path, const QString& snapshotsFolder,
               const gui::WindowTable& windows);
// The same for a script given as text.
Result runScript(const QString& text, const QString& snapshotsFolder,
                 const gui::WindowTable& windows);

// Called before (`done` false) and after (`done` true) every command with its line, by
// the tools that measure what one command costs (benchmarks/file_operations.cpp). None
// by default.
using CommandObserver = std::function<void(int line, bool done)>;
void setCommandObserver(CommandObserver observer);

} // namespace scenario
