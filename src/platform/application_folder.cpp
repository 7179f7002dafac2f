#include "platform/application_folder.h"

#include "platform/file_access.h"
#include "platform/folders.h"
#include "platform/text_files.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace platform {

namespace {

const QString kSettingsFile = QStringLiteral("test.ini");

QString absoluteFolder(const QString& path) {
    // No name is no folder, never the current one.
    if (path.isEmpty()) return {};
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

bool holdsSettings(const QString& folder) {
    return QFileInfo(QDir(folder).filePath(kSettingsFile)).isFile();
}

bool isEmptyFolder(const QString& folder) {
    return QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                QDir::System);
}

// Copies one file that the target lacks. The copy gets the permissions new files get
// (not the installed data's read-only ones), so the user can change it.
bool copyMissingFile(const QString& from, const QString& to) {
    if (QFileInfo::exists(to)) return true;
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFile::NoError) return false;
    return MakeDirPath(QFileInfo(to).path()) && writeBytesAtomically(to, bytes);
}

FolderReadiness prepareUserData(const QString& folder, const QString& sampleData) {
    if (folder.isEmpty() || !MakeDirPath(folder)) return {FolderProblem::CannotCreate, folder};
    if (!canWriteInFolder(folder)) return {FolderProblem::ReadOnly, folder};
    if (holdsSettings(folder)) return {};
    if (!QFileInfo(sampleData).isDir()) return {FolderProblem::NoSampleData, sampleData};
    const QString failed = seedFolder(sampleData, folder);
    if (!failed.isEmpty()) return {FolderProblem::CopyFailed, failed};
    return {};
}

FolderReadiness prepareNamed(const QString& folder, const QString& sampleData) {
    const QFileInfo info(folder);
    if (!info.exists()) return {FolderProblem::Missing, folder};
    if (!info.isDir()) return {FolderProblem::NotAFolder, folder};
    if (!canWriteInFolder(folder)) return {FolderProblem::ReadOnly, folder};
    if (isEmptyFolder(folder) && QFileInfo(sampleData).isDir()) {
        const QString failed = seedFolder(sampleData, folder);
        if (!failed.isEmpty()) return {FolderProblem::CopyFailed, failed};
    }
    return {};
}

} // namespace

FolderChoice chooseApplicationFolder(const QString& named, const QString& environment,
                                     const QString& programFolder, const QString& userData) {
    if (!named.isEmpty()) return {absoluteFolder(named), FolderSource::CommandLine};
    if (!environment.isEmpty()) return {absoluteFolder(environment), FolderSource::Environment};
    const QString program = absoluteFolder(programFolder);
    if (holdsSettings(program) && canWriteInFolder(program))
        return {program, FolderSource::ProgramFolder};
    return {absoluteFolder(userData), FolderSource::UserData};
}

bool canWriteInFolder(const QString& folder) {
    if (!QFileInfo(folder).isDir()) return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".proveron-XXXXXX")));
    return probe.open();
}

int removeStaleTemporaries(const QString& folder) {
    // The folder's own clock: a file made now, so a computer whose clock is off removes
    // nothing another computer is still writing.
    const QString probe = temporaryPath(QDir(folder).filePath(QStringLiteral("probe")), "tmp");
    QFile made(probe);
    if (!made.open(QIODevice::WriteOnly)) return 0;
    const QDateTime now = QFileInfo(probe).lastModified();
    made.close();
    made.remove();
    int removed = 0;
    // Saves write down to a ticket's folder (b/EXAM/TICKET); the walk goes no deeper.
    QStringList folders{folder};
    for (int depth = 0; depth <= 3 && !folders.isEmpty(); ++depth) {
        QStringList below;
        for (const QString& each : folders) {
            const QFileInfoList entries = QDir(each).entryInfoList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QFileInfo& entry : entries) {
                if (isTemporaryName(entry.fileName())) {
                    if (entry.lastModified().secsTo(now) > kStaleTemporarySeconds &&
                        removeEntry(entry.filePath()))
                        ++removed;
                } else if (entry.isDir() && !entry.isSymLink()) {
                    below.append(entry.filePath());
                }
            }
        }
        folders = below;
    }
    return removed;
}

FolderReadiness prepareApplicationFolder(const FolderChoice& choice, const QString& sampleData) {
    FolderReadiness ready;
    switch (choice.source) {
    case FolderSource::UserData:
        ready = prepareUserData(choice.folder, sampleData);
        break;
    case FolderSource::CommandLine:
    case FolderSource::Environment:
        ready = prepareNamed(choice.folder, sampleData);
        break;
    case FolderSource::ProgramFolder:
        break;
    }
    if (ready.problem == FolderProblem::None) {
        setApplicationFolderRoot(choice.folder);
        removeStaleTemporaries(choice.folder);
    }
    return ready;
}

QString seedFolder(const QString& from, const QString& to) {
    const QDir source(from);
    const QDir target(to);
    if (!MakeDirPath(to)) return to;
    bool settingsToCopy = false;
    QDirIterator entries(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QFileInfo entry(entries.next());
        const QString relative = source.relativeFilePath(entry.filePath());
        // Empty folders are kept in the sources by a placeholder the program never reads.
        if (entry.fileName() == QStringLiteral(".keep")) continue;
        const QString copy = target.filePath(relative);
        if (entry.isDir()) {
            if (!MakeDirPath(copy)) return copy;
        } else if (relative == kSettingsFile) {
            settingsToCopy = true;
        } else if (!copyMissingFile(entry.filePath(), copy)) {
            return copy;
        }
    }
    const QString settings = target.filePath(kSettingsFile);
    if (settingsToCopy && !copyMissingFile(source.filePath(kSettingsFile), settings))
        return settings;
    return {};
}

QString folderProblemText(const FolderReadiness& readiness) {
    QString russian;
    QString english;
    switch (readiness.problem) {
    case FolderProblem::None:
        return {};
    case FolderProblem::Missing:
        russian = QStringLiteral("Папка программы не найдена:");
        english = QStringLiteral("The application folder does not exist:");
        break;
    case FolderProblem::NotAFolder:
        russian = QStringLiteral("Папкой программы назван файл, а не папка:");
        english = QStringLiteral("The application folder named is a file, not a folder:");
        break;
    case FolderProblem::CannotCreate:
        russian = QStringLiteral("Не удалось создать папку программы:");
        english = QStringLiteral("The application folder could not be created:");
        break;
    case FolderProblem::ReadOnly:
        russian = QStringLiteral("В папку программы нельзя записывать:");
        english = QStringLiteral("The application folder cannot be written to:");
        break;
    case FolderProblem::NoSampleData:
        russian = QStringLiteral("Не найдены образцы данных для первого запуска:");
        english = QStringLiteral("The sample data for the first start is missing:");
        break;
    case FolderProblem::CopyFailed:
        russian = QStringLiteral("Не удалось скопировать образцы данных в папку программы:");
        english = QStringLiteral("The sample data could not be copied into the application "
                                 "folder:");
        break;
    }
    const QString path = QDir::toNativeSeparators(readiness.path);
    return QStringLiteral("%1\n%2\n\nУкажите другую папку: proveron --folder ПАПКА или переменная "
                          "окружения PROVERON_FOLDER.\n\n%3\n%2\n\nName another folder: proveron "
                          "--folder DIR or the environment variable PROVERON_FOLDER.")
        .arg(russian, path, english);
}

QString folderChoiceText(const FolderChoice& choice) {
    QString why;
    switch (choice.source) {
    case FolderSource::CommandLine:
        why = QStringLiteral("named by --folder");
        break;
    case FolderSource::Environment:
        why = QStringLiteral("named by PROVERON_FOLDER");
        break;
    case FolderSource::ProgramFolder:
        why = QStringLiteral("the program's own folder, which holds test.ini");
        break;
    case FolderSource::UserData:
        why = QStringLiteral("your own data folder, filled from the sample data on first start");
        break;
    }
    return QStringLiteral("%1\n(%2)").arg(QDir::toNativeSeparators(choice.folder), why);
}

} // namespace platform
