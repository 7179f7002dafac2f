#include "platform/read_cache.h"

#include <QDateTime>
#include <QFileInfo>

namespace platform {

namespace {
struct Kept {
    int scopes = 0;
    bool listingValid = false;
    QString listedFolder;
    QStringList listing;
    bool fileValid = false;
    QString filePath;
    qint64 fileSize = -1;
    QDateTime fileTime;
    QByteArray fileBytes;
};

Kept& kept() {
    static Kept state;
    return state;
}
} // namespace

ReadCacheScope::ReadCacheScope() { ++kept().scopes; }

ReadCacheScope::~ReadCacheScope() {
    if (--kept().scopes == 0) forgetCachedReads();
}

void forgetCachedReads() {
    Kept& state = kept();
    state.listingValid = false;
    state.listing.clear();
    state.fileValid = false;
    state.fileBytes.clear();
}

QStringList cachedListing(const QString& folder, const std::function<QStringList()>& list) {
    Kept& state = kept();
    if (state.scopes == 0) return list();
    if (!state.listingValid || state.listedFolder != folder) {
        state.listing = list();
        state.listedFolder = folder;
        state.listingValid = true;
    }
    return state.listing;
}

std::optional<QByteArray> cachedFile(const QString& path,
                                     const std::function<std::optional<QByteArray>()>& read) {
    Kept& state = kept();
    if (state.scopes == 0) return read();
    // One look at the file: another program may have written it meanwhile.
    const QFileInfo info(path);
    const qint64 size = info.exists() ? info.size() : -1;
    const QDateTime time = info.exists() ? info.lastModified() : QDateTime();
    if (state.fileValid && state.filePath == path && state.fileSize == size &&
        state.fileTime == time) {
        return state.fileBytes;
    }
    std::optional<QByteArray> bytes = read();
    state.fileValid = bytes.has_value();
    if (bytes) {
        state.filePath = path;
        state.fileSize = size;
        state.fileTime = time;
        state.fileBytes = *bytes;
    }
    return bytes;
}

} // namespace platform
