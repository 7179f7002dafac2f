#pragma once
// Reading and writing inside one folder that other people can write (an exam folder on a
// lab's share, which every student's account may change), never leaving it. Each folder
// of a path is opened from its parent's handle without following a link, and the file
// at its end likewise: a link planted anywhere on the way, or swapped in while the work
// goes on, is refused, never followed out of the folder. Paths are relative to the folder,
// with '/' between names; "." and ".." are refused.

#include "platform/file_access.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace platform {

class ContainedFolder {
public:
    // Opens the folder itself as the path names it (the caller chose it; links in the path
    // that leads to it are the caller's).
    explicit ContainedFolder(const QString& folder);
    ContainedFolder(ContainedFolder&&) = default;
    ContainedFolder& operator=(ContainedFolder&&) = default;

    bool isOpen() const { return handle_.isOpen(); }
    const QString& path() const { return path_; }
    // The full path of an entry, for messages.
    QString pathOf(const QString& relative) const;

    // The folder at `relative` inside this one, reached without a link; not open when it is
    // missing, a link or no folder, or a link lies on the way.
    ContainedFolder folder(const QString& relative) const;

    // The bytes of the regular file at `relative`. Nothing when it is missing or cannot be
    // read; `notPlain` is then set when it, or a folder on the way, is a link or no regular
    // file: such a file is never read.
    std::optional<QByteArray> read(const QString& relative, bool* notPlain = nullptr) const;

    // Makes the folder at `relative` (its parent must be there), failing when anything has
    // that name already: a folder it makes is its own, with nobody's links in it.
    bool makeNewFolder(const QString& relative) const;
    // Makes every folder of `relative` that is missing; false when one cannot be made or a
    // link stands on the way.
    bool makeFolders(const QString& relative) const;

    // Writes the file at `relative` whole: a temporary beside it, synced, renamed into its
    // place, read back. The folders on the way must be there; whatever stands at the name is
    // replaced, never written through. An existing file keeps its permissions.
    WriteResult write(const QString& relative, const QByteArray& bytes) const;

private:
    ContainedFolder(FileHandle handle, QString path);
    // The handle of the folder holding `relative`'s last name, and that name.
    std::optional<std::pair<FileHandle, QByteArray>> parentOf(const QString& relative) const;

    FileHandle handle_;
    QString path_;
};

} // namespace platform
