#include "platform/system_services.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QStorageInfo>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <optional>

namespace platform {

void SystemShell::open(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void SystemClipboard::setText(const QString& text) {
    if (auto* clipboard = QGuiApplication::clipboard()) clipboard->setText(text);
}

QString SystemClipboard::text() {
    auto* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->text() : QString();
}

void SystemRandom::seedFromClock() {
    engine_.seed(
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
}

double SystemRandom::next() { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }

QSize SystemScreen::sizePixels() {
    if (auto* screen = QGuiApplication::primaryScreen()) return screen->size();
    return {1024, 768};
}

int SystemScreen::textWidthPixels(const QString& text) {
    if (!QGuiApplication::instance()) return 7 * int(text.size());
    // Kept while the font stays: a list of thousands of answers measures every one.
    static QFont measured;
    static std::optional<QFontMetrics> metrics;
    if (!metrics || measured != QGuiApplication::font()) {
        measured = QGuiApplication::font();
        metrics.emplace(measured);
    }
    return metrics->horizontalAdvance(text);
}

} // namespace platform

namespace platform {

bool isBrowsableVolume(const QString& root, const QByteArray& fileSystemType) {
#ifdef Q_OS_WIN
    (void)root;
    (void)fileSystemType;
    return true;
#else
    if (root == QLatin1String("/")) return true;
    static const QByteArrayList network{"nfs",        "nfs4",  "cifs",        "smb3", "smbfs",
                                        "fuse.sshfs", "davfs", "fuse.davfs2", "afpfs"};
    if (network.contains(fileSystemType)) return true;
    // Everything else mounted elsewhere is the system's own (/proc, /sys, /run, /boot,
    // container bind mounts), not a place for exams.
    const QString folder = root + QLatin1Char('/');
    for (const char* place : {"/media/", "/run/media/", "/mnt/", "/Volumes/"}) {
        if (folder.startsWith(QLatin1String(place))) return true;
    }
    return false;
#endif
}

std::vector<Volume> SystemVolumes::list() {
    std::vector<Volume> volumes;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        const QString root = storage.rootPath();
        if (!storage.isValid() || !isBrowsableVolume(root, storage.fileSystemType())) continue;
        const QString shown = QDir::toNativeSeparators(root);
        const QString label = storage.displayName();
        volumes.push_back({shown,
                           label.isEmpty() || label == root
                               ? shown
                               : label + QStringLiteral(" (") + shown + QLatin1Char(')'),
                           storage.isReady()});
    }
    // The root is always there to browse from, even where the mount table hides it.
    const QString root = QDir::toNativeSeparators(QDir::rootPath());
    if (std::none_of(volumes.begin(), volumes.end(),
                     [&root](const Volume& volume) { return volume.root == root; })) {
        volumes.push_back({root, root, true});
    }
    std::sort(volumes.begin(), volumes.end(),
              [](const Volume& a, const Volume& b) { return a.root < b.root; });
    return volumes;
}

Volumes& systemVolumes() {
    static SystemVolumes volumes;
    return volumes;
}

} // namespace platform
