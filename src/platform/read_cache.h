#pragma once
// Within one user event the program looks names up in the same folders and reads the same
// settings and test files many times (the settings window's load reads a dozen keys). On a
// network share every look is a round trip to the server. While a ReadCacheScope lives,
// each folder's listing and each file's bytes are read once, without looking at the file
// again; every write through this layer forgets them. Outside a scope nothing is kept. App
// holds a scope for each user event.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace platform {

class ReadCacheScope {
public:
    ReadCacheScope();
    ~ReadCacheScope();
    ReadCacheScope(const ReadCacheScope&) = delete;
    ReadCacheScope& operator=(const ReadCacheScope&) = delete;
};

// True while a scope lives.
bool inReadCacheScope();

// Forgets what was kept; the writers of this layer call it.
void forgetCachedReads();

// The folder's sorted entry names, from `list` or from what was kept.
QStringList cachedListing(const QString& folder, const std::function<QStringList()>& list);

// The listing kept for the folder in this event, if any: a look-up answers from it without
// asking the file system again.
std::optional<QStringList> keptListing(const QString& folder);

// The file's bytes if this event has read it whole, without reading it.
std::optional<QByteArray> keptFile(const QString& path);

// The opening of a file (its first lines), from `read` or from what was kept in this event:
// for a reader that needs only the top of a large file.
std::optional<QByteArray> cachedOpening(const QString& path,
                                        const std::function<std::optional<QByteArray>()>& read);

// Keeps a listing this layer knows without asking (a folder it has just made is empty);
// nothing outside a scope.
void keepListing(const QString& folder, const QStringList& names);

// Whether something is at the path, from `look` or from what this event found before.
bool cachedExists(const QString& path, const std::function<bool()>& look);

// The file's bytes, from `read` or from what was kept in this event. Nothing (not kept)
// when `read` gives nothing.
std::optional<QByteArray> cachedFile(const QString& path,
                                     const std::function<std::optional<QByteArray>()>& read);

} // namespace platform
