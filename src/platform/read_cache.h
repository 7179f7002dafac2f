#pragma once
// Within one user event the program looks names up in the same folder and reads the same
// settings file many times (the settings window's load reads a dozen keys). While a
// ReadCacheScope lives, a folder's listing and a file's bytes are read once; every write
// through this layer forgets them, and a file whose size or time changed is read again.
// Outside a scope nothing is kept. App holds a scope for each user event.

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

// Forgets what was kept; the writers of this layer call it.
void forgetCachedReads();

// The folder's sorted entry names, from `list` or from what was kept.
QStringList cachedListing(const QString& folder, const std::function<QStringList()>& list);

// The file's bytes, from `read` or from what was kept while the file kept its size and
// time. Nothing (not kept) when `read` gives nothing.
std::optional<QByteArray> cachedFile(const QString& path,
                                     const std::function<std::optional<QByteArray>()>& read);

} // namespace platform
