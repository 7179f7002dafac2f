#include "exam_content/folder_survey.h"

#include "platform/folders.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace folder_survey {

namespace {

bool canList(const QString& folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isReadable()) return false;
    // The permission bits do not tell everything (access lists, shares, another user's
    // rights): a folder that opens lists at least its "." entry. A drive's root has none.
    QDirIterator entries(folder, QDir::AllEntries | QDir::Hidden | QDir::System);
    return entries.hasNext() || QDir(folder).isRoot();
}

constexpr QDir::Filters kHiddenToo = QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
constexpr QDir::SortFlags kByName = QDir::Name | QDir::IgnoreCase;

// Adds the question files under `folder` to `found`; false (with the folder named) as soon
// as one folder cannot be listed.
bool collect(const QString& folder, QuestionFiles& found) {
    if (!canList(folder)) {
        found.unreadableFolder = QDir::toNativeSeparators(folder);
        return false;
    }
    const QDir dir(folder);
    for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoSymLinks | kHiddenToo, kByName)) {
        if (!collect(dir.filePath(sub), found)) return false;
    }
    // Anything that is not a folder counts as a file, links and all; a link to a folder is
    // neither and is left out.
    for (const QString& name : dir.entryList(QDir::Files | kHiddenToo, kByName)) {
        if (name.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
            found.files.append(QDir::toNativeSeparators(dir.filePath(name)));
    }
    return true;
}

} // namespace

FolderCheck checkFolder(const QString& folder) {
    FolderCheck check;
    check.exists = !folder.isEmpty() && QFileInfo(folder).isDir();
    check.readable = canList(folder);
    if (!check.readable) return check;
    // The name as spelt first (one look), the listing only when that misses.
    check.ticketFolder = platform::lookUpName(folder, kFirstTicket);
    if (!check.ticketFolder.isEmpty()) {
        check.firstVariants =
            platform::lookUpName(QDir(folder).filePath(check.ticketFolder), kFirstVariants);
    }
    return check;
}

std::optional<QStringList> listEntries(const QString& folder) {
    if (!canList(folder)) return std::nullopt;
    const QDir dir(folder);
    QStringList paths = platform::GetFolders(folder);
    for (QString& name : paths)
        name = QDir::toNativeSeparators(dir.filePath(name));
    return paths;
}

QuestionFiles questionFiles(const QString& ticketFolder) {
    QuestionFiles found;
    if (!collect(ticketFolder, found)) found.files.clear();
    return found;
}

QString questionCountText(qsizetype files, QChar decimalSeparator) {
    // Fifteen significant digits is what a double holds for sure: 31 files give
    // 10.3333333333333, not 10.333333333333334.
    QString text = QString::number(double(files) / 3.0, 'g', 15);
    text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}

QString driveOf(const QString& path, const QStringList& roots) {
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity kCase = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity kCase = Qt::CaseSensitive;
#endif
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(path));
    QString best;
    qsizetype bestLength = -1;
    for (const QString& root : roots) {
        QString prefix = QDir::cleanPath(QDir::fromNativeSeparators(root));
        if (prefix.isEmpty()) continue;
        const bool holds =
            clean.compare(prefix, kCase) == 0 ||
            clean.startsWith(prefix.endsWith(QLatin1Char('/')) ? prefix : prefix + QLatin1Char('/'),
                             kCase);
        if (holds && prefix.size() > bestLength) {
            best = root;
            bestLength = prefix.size();
        }
    }
    return best;
}

} // namespace folder_survey
