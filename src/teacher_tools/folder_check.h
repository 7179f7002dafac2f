#pragma once
// What "check" checks: an exam folder, a test folder, or every exam and test in a folder
// that holds them ("b", "t", the application folder). The exam folder in use is held to
// the settings in force; any other folder to its own ticket 1. Text files found in another
// encoding can then be converted, the originals kept in a copy beside their folder.

#include "platform/app_context.h"
#include "teacher_tools/exam_check.h"
#include "teacher_tools/findings.h"

#include <QDateTime>
#include <QStringList>

namespace teacher_tools {

struct CheckTarget {
    enum class Kind { Exam, Test };
    QString folder;
    Kind kind = Kind::Exam;
};

// The exam folder in use and what the settings in force ask of it.
struct ExamInUse {
    QString folder;
    ExamExpectations expectations;
};

// The settings as the settings file holds them (the command line has no settings window).
ExamInUse examInUseFromSettings(const platform::AppContext& app);
// The same from the texts of the ticket count and question count fields.
ExamExpectations expectationsFrom(const QString& tickets, const QString& questions);

// `folder` itself when it is an exam or a test folder; else the exam and test folders in
// it, and in its "b" and "t" folders, in name order.
std::vector<CheckTarget> checkTargets(const QString& folder);

struct CheckRun {
    std::vector<CheckTarget> checked;
    Findings findings;
};

CheckRun checkTargetsOf(const platform::AppContext& app, const std::vector<CheckTarget>& targets,
                        const ExamInUse& inUse, const Wording& say);

struct ConversionReport {
    QStringList converted;     // files now in Windows-1251
    QStringList backupFolders; // where their originals are kept
    Findings problems;         // files left as they were, and why
};

// Converts every file of a convertible finding. The original of a file in the exam or test
// folder F is kept under "F.backup-STAMP" beside F, at the same place inside it, so nothing
// is added to F that would upset its counts. Only folders F that are `root` (the folder
// the teacher asked to check) or lie in it are converted, and nothing is read or written
// through a link: a student's folder cannot send a conversion, or a copy of a file, out of
// the folder checked.
ConversionReport convertFiles(const Findings& findings, const QString& root, const QString& stamp,
                              const Wording& say);

// "20260115-090000": a time stamp for backup folder names.
QString backupStamp(const QDateTime& time);

} // namespace teacher_tools
