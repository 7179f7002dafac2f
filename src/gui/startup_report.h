#pragma once
// For the start-up measure (benchmarks/startup.sh): with PROVERON_STARTUP_REPORT set,
// the program prints, when its first window is on the screen, the wall-clock time in
// milliseconds, its resident memory and how many windows it has shown, then quits.
// Header only, so that the bare Qt window the measure compares with reports alike.

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QSet>
#include <QWindow>
#include <cstdio>

namespace startup_report {

class Watcher : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<QWindow*>(watched))
            shown_.insert(watched);
        if (event->type() == QEvent::Expose && !reported_ && qobject_cast<QWindow*>(watched) &&
            static_cast<QWindow*>(watched)->isExposed()) {
            reported_ = true;
            std::printf("startup_ms=%lld rss_kb=%lld windows_shown=%lld\n",
                        static_cast<long long>(QDateTime::currentMSecsSinceEpoch()), residentKb(),
                        static_cast<long long>(shown_.size()));
            std::fflush(stdout);
            QCoreApplication::exit(0);
        }
        return false;
    }

private:
    static long long residentKb() {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly)) return -1;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').first().toLongLong();
        }
        return -1;
    }
    QSet<QObject*> shown_;
    bool reported_ = false;
};

// Watches the application when the environment asks for the report.
inline void watchWhenAsked() {
    if (qEnvironmentVariableIsEmpty("PROVERON_STARTUP_REPORT")) return;
    static Watcher watcher;
    QCoreApplication::instance()->installEventFilter(&watcher);
}

} // namespace startup_report
