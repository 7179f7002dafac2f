// The scenario runner's set-up and file checks stay inside the scenario's own temporary
// application folder, whatever the path says.

#include "gui/window_table.h"
#include "runner.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
scenario::Result run(const QString& script) {
    return scenario::runScript(script, {}, gui::programWindows());
}
} // namespace

TEST(RunnerPaths, SetUpAndChecksNeverLeaveTheApplicationFolder) {
    QTemporaryDir outside;
    const QString victim = outside.filePath("victim.txt");
    const QString lines[] = {
        "remove .",
        "remove ..",
        "remove \"\"",
        "remove b/../..",
        "remove \"$APP\"",
        "remove \"$APP/\"",
        "file ../x.txt \"a\"",
        "file \"$APP/../x.txt\" \"a\"",
        "bytes \"" + victim + "\" 41",
        "folder \"" + outside.filePath("made") + "\"",
        "bitmap ../../k.bmp 2 2",
        "expect-file ../../etc/hostname \"x\"",
        "contains \"" + victim + "\" \"x\"",
        "nofile ../..",
    };
    for (const QString& line : lines) {
        const scenario::Result result = run(line + "\n");
        EXPECT_EQ(result.outcome, scenario::Outcome::Error) << line.toStdString();
        EXPECT_TRUE(result.what.contains("leaves the application folder") ||
                    result.what.contains("whole application folder"))
            << result.what.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(victim));
    EXPECT_FALSE(QFileInfo::exists(outside.filePath("made")));

    // Inside, the same commands work, and a path that only passes outside stays inside.
    const scenario::Result inside = run("folder s/../t/x\n"
                                        "file t/x/../y.txt \"a\"\n"
                                        "expect-file t/y.txt \"a\"\n"
                                        "remove t/x\n"
                                        "nofile t/x\n"
                                        "remove t/never-there\n");
    EXPECT_EQ(inside.outcome, scenario::Outcome::Pass) << inside.what.toStdString();
}
