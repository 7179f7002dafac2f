// One copy of the program as the shared-file tests see it: it appends report records or
// stores settings keys through the program's own routines and says, line by line, which
// of them were reported saved.
//
//   proveron_file_worker append FILE ID COUNT SIZE   records "ID:N:SIZE:" + SIZE letters + CR LF
//   proveron_file_worker store FILE ID COUNT          keys of section "test", see below
//   proveron_file_worker hold FILE                    takes FILE's lock and waits to be killed

#include "common/reports.h"
#include "platform/file_lock.h"
#include "platform/profile_file.h"

#include <QString>
#include <QThread>

#include <cstdio>

namespace {

QString record(int id, int n, int size) {
    return QStringLiteral("%1:%2:%3:").arg(id).arg(n).arg(size) +
           QString(size, QLatin1Char(char('a' + id % 26))) + QStringLiteral("\r\n");
}

// Even stores save two keys at once as the settings window does (the copy's own counter
// "cID" and "kID_N"); odd ones store "kID_N" alone, as a language switch stores "re".
bool store(const QString& file, int id, int n) {
    const QString key = QStringLiteral("k%1_%2").arg(id).arg(n);
    if (n % 2 == 1)
        return platform::writeProfileString(file, QStringLiteral("test"), key, QString::number(n));
    return bool(platform::writeProfileStrings(
        file, QStringLiteral("test"),
        {{QStringLiteral("c%1").arg(id), QString::number(n)}, {key, QString::number(n)}}));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    // A line at a time, so a copy killed half-way has said exactly what it did.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString file = QString::fromLocal8Bit(argv[2]);
    if (mode == QLatin1String("hold")) {
        const platform::FileLock lock(file);
        std::printf("%s\n", lock.held() ? "held" : "not held");
        std::fflush(stdout);
        QThread::sleep(60);
        return 0;
    }
    if (argc < (mode == QLatin1String("append") ? 6 : 5)) return 2;
    const int id = std::atoi(argv[3]);
    const int count = std::atoi(argv[4]);
    for (int n = 1; n <= count; ++n) {
        bool saved = false;
        const char* why = "failed";
        if (mode == QLatin1String("append")) {
            const platform::WriteResult result =
                appendReport(file, record(id, n, std::atoi(argv[5])));
            saved = bool(result);
            if (result.busy()) why = "busy";
        } else {
            saved = store(file, id, n);
        }
        std::printf("%d %d %s\n", id, n, saved ? "saved" : why);
    }
    return 0;
}
