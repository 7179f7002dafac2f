#include "platform/contained_folder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// The names of a relative path; nothing when one of them could lead elsewhere.
std::optional<QList<QByteArray>> namesOf(const QString& relative) {
    const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty() || QDir::isAbsolutePath(relative)) return std::nullopt;
    QList<QByteArray> names;
    for (const QString& part : parts) {
        if (part == QLatin1String(".") || part == QLatin1String("..")) return std::nullopt;
        names.append(QFile::encodeName(part));
    }
    return names;
}

// Opens each folder of `names` from the one before, never through a link.
FileHandle walk(int from, const QList<QByteArray>& names) {
    FileHandle current(::fcntl(from, F_DUPFD_CLOEXEC, 0));
    for (const QByteArray& name : names) {
        if (!current.isOpen()) break;
        current = FileHandle(::openat(current.get(), name.constData(), kFolderFlags));
    }
    return current;
}

} // namespace

ContainedFolder::ContainedFolder(const QString& folder)
    : handle_(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
      path_(QDir::cleanPath(folder)) {}

ContainedFolder::ContainedFolder(FileHandle handle, QString path)
    : handle_(std::move(handle)), path_(std::move(path)) {}

QString ContainedFolder::pathOf(const QString& relative) const {
    return QDir::cleanPath(path_ + QLatin1Char('/') + relative);
}

ContainedFolder ContainedFolder::folder(const QString& relative) const {
    const auto names = namesOf(relative);
    if (!isOpen() || !names) return ContainedFolder(FileHandle(), pathOf(relative));
    return ContainedFolder(walk(handle_.get(), *names), pathOf(relative));
}

std::optional<std::pair<FileHandle, QByteArray>>
ContainedFolder::parentOf(const QString& relative) const {
    auto names = namesOf(relative);
    if (!isOpen() || !names) return std::nullopt;
    const QByteArray last = names->takeLast();
    FileHandle parent = walk(handle_.get(), *names);
    if (!parent.isOpen()) return std::nullopt;
    return std::make_pair(std::move(parent), last);
}

std::optional<QByteArray> ContainedFolder::read(const QString& relative, bool* notPlain) const {
    if (notPlain) *notPlain = false;
    auto place = parentOf(relative);
    if (!place) {
        // A folder on the way that is a link (or no folder) reads as such.
        if (notPlain) *notPlain = errno == ELOOP || errno == ENOTDIR;
        return std::nullopt;
    }
    const FileHandle file(::openat(place->first.get(), place->second.constData(),
                                   O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file.isOpen() || ::fstat(file.get(), &info) != 0) {
        if (notPlain) *notPlain = errno == ELOOP;
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        if (notPlain) *notPlain = true;
        return std::nullopt;
    }
    return readAllFrom(file);
}

bool ContainedFolder::makeNewFolder(const QString& relative) const {
    const auto place = parentOf(relative);
    return place && ::mkdirat(place->first.get(), place->second.constData(), 0777) == 0;
}

bool ContainedFolder::makeFolders(const QString& relative) const {
    const auto names = namesOf(relative);
    if (!isOpen() || !names) return false;
    FileHandle current(::fcntl(handle_.get(), F_DUPFD_CLOEXEC, 0));
    for (const QByteArray& name : *names) {
        if (!current.isOpen()) return false;
        FileHandle next(::openat(current.get(), name.constData(), kFolderFlags));
        if (!next.isOpen() && errno == ENOENT &&
            (::mkdirat(current.get(), name.constData(), 0777) == 0 || errno == EEXIST))
            next = FileHandle(::openat(current.get(), name.constData(), kFolderFlags));
        current = std::move(next);
    }
    return current.isOpen();
}

WriteResult ContainedFolder::write(const QString& relative, const QByteArray& bytes) const {
    const QString shown = pathOf(relative);
    const auto place = parentOf(relative);
    if (!place)
        return errno == ELOOP || errno == ENOTDIR ? WriteResult(WriteResult::NotPlain, shown)
                                                  : WriteResult::systemFailure(shown);
    const int parent = place->first.get();
    const QByteArray& name = place->second;
    const QByteArray temporary =
        name + QStringLiteral(".pvr-%1.tmp")
                   .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'))
                   .toLatin1();
    FileHandle out(::openat(parent, temporary.constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!out.isOpen()) return WriteResult::systemFailure(shown);
    struct stat old {};
    if (::fstatat(parent, name.constData(), &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(old.st_mode))
        (void)::fchmod(out.get(), old.st_mode & 07777);
    int error = writeAllToDisk(out.get(), bytes) ? 0 : errno;
    if (::close(out.release()) != 0 && error == 0) error = errno;
    if (error == 0 && ::renameat(parent, temporary.constData(), parent, name.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlinkat(parent, temporary.constData(), 0);
        return WriteResult::systemFailure(shown, error);
    }
    // What a share's server holds is what counts.
    const std::optional<QByteArray> back = read(relative);
    if (!back || *back != bytes) return WriteResult::systemFailure(shown, EIO);
    return WriteResult::Written;
}

} // namespace platform
