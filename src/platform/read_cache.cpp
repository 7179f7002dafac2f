#include "platform/read_cache.h"

#include <QHash>

namespace platform {

namespace {
// What one user event has read: a folder's listing and a file's bytes are read once each
// per event (an event lasts milliseconds, and every write of this layer forgets them).
struct Kept {
    int scopes = 0;
    QHash<QString, QStringList> listings;
    QHash<QString, QByteArray> files;
    QHash<QString, QByteArray> openings;
    QHash<QString, bool> exists;
};

Kept& kept() {
    static Kept state;
    return state;
}

// The bytes kept in `store` for the path, or read and kept there; nothing kept outside a
// scope, nor when the read gives nothing.
std::optional<QByteArray> keptOrRead(QHash<QString, QByteArray> Kept::*store, const QString& path,
                                     const std::function<std::optional<QByteArray>()>& read) {
    Kept& state = kept();
    if (state.scopes == 0) return read();
    QHash<QString, QByteArray>& held = state.*store;
    const auto found = held.constFind(path);
    if (found != held.constEnd()) return *found;
    std::optional<QByteArray> bytes = read();
    if (bytes) held.insert(path, *bytes);
    return bytes;
}
} // namespace

ReadCacheScope::ReadCacheScope() { ++kept().scopes; }

ReadCacheScope::~ReadCacheScope() {
    if (--kept().scopes == 0) forgetCachedReads();
}

bool inReadCacheScope() { return kept().scopes > 0; }

void forgetCachedReads() {
    Kept& state = kept();
    state.listings.clear();
    state.files.clear();
    state.openings.clear();
    state.exists.clear();
}

bool cachedExists(const QString& path, const std::function<bool()>& look) {
    Kept& state = kept();
    if (state.scopes == 0) return look();
    const auto found = state.exists.constFind(path);
    if (found != state.exists.constEnd()) return *found;
    return *state.exists.insert(path, look());
}

QStringList cachedListing(const QString& folder, const std::function<QStringList()>& list) {
    Kept& state = kept();
    if (state.scopes == 0) return list();
    const auto found = state.listings.constFind(folder);
    if (found != state.listings.constEnd()) return *found;
    return *state.listings.insert(folder, list());
}

std::optional<QStringList> keptListing(const QString& folder) {
    const Kept& state = kept();
    const auto found = state.listings.constFind(folder);
    if (found == state.listings.constEnd()) return std::nullopt;
    return *found;
}

std::optional<QByteArray> keptFile(const QString& path) {
    const Kept& state = kept();
    const auto found = state.files.constFind(path);
    if (found == state.files.constEnd()) return std::nullopt;
    return *found;
}

std::optional<QByteArray> cachedOpening(const QString& path,
                                        const std::function<std::optional<QByteArray>()>& read) {
    return keptOrRead(&Kept::openings, path, read);
}

void keepListing(const QString& folder, const QStringList& names) {
    Kept& state = kept();
    if (state.scopes > 0) state.listings.insert(folder, names);
}

std::optional<QByteArray> cachedFile(const QString& path,
                                     const std::function<std::optional<QByteArray>()>& read) {
    return keptOrRead(&Kept::files, path, read);
}

} // namespace platform
