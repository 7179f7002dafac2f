#include "platform/folders.h"

#include "platform/read_cache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

namespace platform {

namespace {

// Hidden and system entries count too: a folder copied from Windows has no dot-file
// convention, and a name the user typed must be found whatever its attributes.
constexpr QDir::Filters kAllEntries =
    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

} // namespace

bool isPlainName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

NameProblem newNameProblem(const QString& name) {
    if (name.trimmed().isEmpty()) return NameProblem::Empty;
    if (!isPlainName(name)) return NameProblem::Separator;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || QStringLiteral(":*?\"<>|").contains(c))
            return NameProblem::Character;
    }
    if (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('.')))
        return NameProblem::BadEnd;
    // Windows reserves these names, with or without an extension.
    static const QRegularExpression device(
        QStringLiteral("^(CON|PRN|AUX|NUL|COM[0-9\u00B9\u00B2\u00B3]|LPT[0-9\u00B9\u00B2\u00B3]|"
                       "CONIN\\$|CONOUT\\$) *(\\..*)?$"),
        QRegularExpression::CaseInsensitiveOption);
    if (device.match(name).hasMatch()) return NameProblem::DeviceName;
    // A file system takes 255 bytes of a name: 128 Cyrillic letters are 256 in UTF-8.
    if (name.size() > 255 || QFile::encodeName(name).size() > 255) return NameProblem::TooLong;
    return NameProblem::None;
}

bool isSafeNewName(const QString& name) { return newNameProblem(name) == NameProblem::None; }

namespace {

bool isFolderEntry(DIR* folder, const dirent* entry) {
    if (entry->d_type == DT_DIR) return true;
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK) return false;
    struct stat info {};
    return ::fstatat(::dirfd(folder), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

// Every name in the folder, sorted so that among several case-folded matches the answer
// does not depend on the order the file system happens to list them in.
QStringList sortedEntryNames(const QString& folder) {
    QStringList names = entryNames(folder);
    names.sort();
    return names;
}

QString nameIn(const QStringList& entries, const QString& name) {
    QString folded;
    for (const QString& entry : entries) {
        if (entry == name) return entry;
        if (folded.isEmpty() && entry.compare(name, Qt::CaseInsensitive) == 0) folded = entry;
    }
    return folded;
}

} // namespace

QStringList entryNames(const QString& folder, Entries which) {
    QStringList names;
    if (folder.isEmpty()) return names;
    DIR* listing = ::opendir(QFile::encodeName(folder).constData());
    if (!listing) return names;
    while (const dirent* entry = ::readdir(listing)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
        if (which == Entries::FoldersOnly && !isFolderEntry(listing, entry)) continue;
        names.append(QFile::decodeName(name));
    }
    ::closedir(listing);
    return names;
}

std::optional<std::vector<ListedFile>> listFiles(const QString& folder) {
    if (folder.isEmpty()) return std::nullopt;
    DIR* listing = ::opendir(QFile::encodeName(folder).constData());
    if (!listing) return std::nullopt;
    std::vector<ListedFile> files;
    while (const dirent* entry = ::readdir(listing)) {
        const unsigned char type = entry->d_type;
        if (type != DT_REG && type != DT_LNK && type != DT_UNKNOWN) continue;
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
        files.push_back({QFile::decodeName(name), type == DT_REG});
    }
    ::closedir(listing);
    return files;
}

QString lookUpName(const QString& folder, const QString& name) {
    if (!isPlainName(name) || folder.isEmpty()) return {};
    // A folder already listed in this event answers without a look at the file system; else
    // one look for the name as spelt, and the listing only when that misses.
    if (const std::optional<QStringList> listed = keptListing(folder)) return nameIn(*listed, name);
    // Nor is anything found in a folder that its parent's listing in this event lacks.
    const QFileInfo place(folder);
    if (const std::optional<QStringList> parent = keptListing(place.path()))
        if (!place.fileName().isEmpty() && nameIn(*parent, place.fileName()).isEmpty()) return {};
    const QString path = QDir(folder).filePath(name);
    if (cachedExists(path, [&path] { return QFileInfo::exists(path); })) return name;
    return lookUpStoredName(folder, name);
}

QString lookUpStoredName(const QString& folder, const QString& name) {
    if (!isPlainName(name) || folder.isEmpty()) return {};
    // A missing folder lists nothing.
    return nameIn(cachedListing(folder, [&folder] { return sortedEntryNames(folder); }), name);
}

void listForLookUps(const QString& folder) {
    if (folder.isEmpty() || !inReadCacheScope()) return;
    cachedListing(folder, [&folder] { return sortedEntryNames(folder); });
}

QString childPath(const QString& folder, const QString& name) {
    if (!isPlainName(name)) return {};
    const QString stored = lookUpName(folder, name);
    return QDir(folder).filePath(stored.isEmpty() ? name : stored);
}

bool isHiddenOrSystemName(const QString& name) {
    static const QStringList systemNames = {
        QStringLiteral("desktop.ini"), QStringLiteral("thumbs.db"), QStringLiteral("ehthumbs.db")};
    return name.startsWith(QLatin1Char('.')) || systemNames.contains(name, Qt::CaseInsensitive);
}

QStringList GetFolders(const QString& folder) {
    if (folder.isEmpty()) return {};
    QStringList names = QDir(folder).entryList(kAllEntries, QDir::Name | QDir::IgnoreCase);
    names.removeIf(isHiddenOrSystemName);
    return names;
}

bool MakeNewDir(const QString& path) {
    if (path.isEmpty()) return false;
    forgetCachedReads(); // the parent's listing gains a name
    if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0) return false;
    keepListing(path, {});
    return true;
}

bool MakeDirPath(const QString& path) {
    // Most often the parent is there: one call makes the folder, and one more tells an
    // existing folder from a file in the way.
    if (MakeNewDir(path)) return true;
    if (path.isEmpty()) return false;
    if (errno == EEXIST) {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
    }
    return errno == ENOENT && QDir().mkpath(path) && QFileInfo(path).isDir();
}

bool DoesFileExist(const QString& path) {
    return !path.isEmpty() && cachedExists(path, [&path] { return QFileInfo::exists(path); });
}

} // namespace platform
