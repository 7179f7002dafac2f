#pragma once
// Where the program keeps its files (settings, exams, tests, reports): the application
// folder. A folder named on the command line wins, then one named in the environment;
// without either, the program's own folder when it holds test.ini and can be written (a
// build tree, a portable copy); otherwise the user's own data folder, filled on its first
// start from the installed sample data.

#include <QString>

namespace platform {

enum class FolderSource { CommandLine, Environment, ProgramFolder, UserData };

struct FolderChoice {
    QString folder; // absolute, no trailing separator
    FolderSource source = FolderSource::UserData;
};

// Decides without touching anything. `named` is the command line's folder and
// `environment` the environment's, each empty when not given; a relative one is taken
// from the current folder.
FolderChoice chooseApplicationFolder(const QString& named, const QString& environment,
                                     const QString& programFolder, const QString& userData);

// True when the folder exists and a file can be made in it. It is tried, so a read-only
// mount or a refusing share counts, also for root.
bool canWriteInFolder(const QString& folder);

enum class FolderProblem {
    None,
    Missing,
    NotAFolder,
    CannotCreate,
    ReadOnly,
    NoSampleData,
    CopyFailed
};

struct FolderReadiness {
    FolderProblem problem = FolderProblem::None;
    QString path; // the folder, or the sample data, or the file that could not be copied
};

// No save takes this long: a temporary file older than this was left by a killed copy.
inline constexpr long long kStaleTemporarySeconds = 600;

// Removes the program's own temporary files and lock folders (platform::isTemporaryName)
// that a copy killed while saving left in the folder and the folders below it (down to a
// ticket's folder), once they are older than any save takes by the folder's own clock.
// Returns how many went.
int removeStaleTemporaries(const QString& folder);

// Makes the chosen folder ready to use, and cleans it (removeStaleTemporaries). The user's data
// folder is made when missing and filled from `sampleData` while it holds no test.ini. A named
// folder must exist and be writable; only an empty one is filled (a new shared folder gets the
// sample set-up, a folder named by mistake gets nothing).
FolderReadiness prepareApplicationFolder(const FolderChoice& choice, const QString& sampleData);

// Copies every file and folder of `from` that `to` lacks and never replaces anything.
// test.ini is copied last, so a folder that holds it was filled whole. Returns the first
// path that could not be made, empty when everything is there.
QString seedFolder(const QString& from, const QString& to);

// Why the program cannot start on the folder, in Russian and then in English: the user
// has chosen no interface language yet.
QString folderProblemText(const FolderReadiness& readiness);

// The folder and where it comes from, in English, for the command line's help.
QString folderChoiceText(const FolderChoice& choice);

} // namespace platform
