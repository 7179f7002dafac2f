// How long the class window's refresh takes where the teacher waits for it: a lab's status
// files on a share. Writes COMPUTERS status files through the share's server-side folder,
// then times refreshes through the mount: the first (every file read), a quiet one
// (nothing changed: a listing and a look at each file) and one where a tenth of the
// computers moved on. Each beside its floor on the same mount, measured in the same run:
// the listing alone, and the listing with one read of every file one after another.
//
//   proveron-class-refresh SERVER_FOLDER MOUNTED_FOLDER [COMPUTERS] [ROUNDS]
//
// Both folders are the same application folder, once on the server's disk and once through
// the share (benchmarks/slow_share.sh makes such a pair).

#include "common/class_status.h"
#include "teacher_tools/class_board.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void writeStatus(const QString& server, int computer, int step) {
    class_status::Status status;
    status.computer = QStringLiteral("pc%1").arg(computer, 2, 10, QLatin1Char('0'));
    status.student = QStringLiteral("Ученик %1").arg(computer);
    status.mode = class_status::Mode::Exam;
    status.subject = QStringLiteral("География");
    status.ticket = QString::number(computer % 12 + 1);
    status.question = step % 5 + 1;
    status.questions = 5;
    status.answered = step % 5;
    status.state = class_status::State::Answering;
    status.written = QDateTime::currentDateTime();
    QFile file(QDir(server).filePath(class_status::kFolder + QLatin1Char('/') +
                                     class_status::fileNameFor(status.computer)));
    if (file.open(QIODevice::WriteOnly)) file.write(class_status::format(status));
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// The floor: what any reader of the folder pays, the listing, and the listing with each
// file read once, one after another.
double listOnly(const QString& folder) {
    QElapsedTimer timer;
    timer.start();
    const QStringList names = QDir(folder).entryList(QDir::Files);
    (void)names;
    return double(timer.nsecsElapsed()) / 1e6;
}

double listAndRead(const QString& folder) {
    QElapsedTimer timer;
    timer.start();
    for (const QString& name : QDir(folder).entryList(QDir::Files)) {
        QFile file(QDir(folder).filePath(name));
        if (file.open(QIODevice::ReadOnly)) file.read(class_status::kFileSize);
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SERVER_FOLDER MOUNTED_FOLDER [COMPUTERS] [ROUNDS]\n",
                     argv[0]);
        return 2;
    }
    const QString server = QString::fromLocal8Bit(argv[1]);
    const QString mounted = QString::fromLocal8Bit(argv[2]);
    const int computers = argc > 3 ? std::atoi(argv[3]) : 30;
    const int rounds = argc > 4 ? std::atoi(argv[4]) : 9;
    QDir(server).mkpath(class_status::kFolder);
    QDir(server).mkpath(QStringLiteral("s"));
    for (int c = 1; c <= computers; ++c)
        writeStatus(server, c, 0);

    std::vector<double> first, quiet, moved, floorList, floorRead;
    int firstOps = 0, quietOps = 0, movedOps = 0;
    const QString statusFolder = QDir(mounted).filePath(class_status::kFolder);
    for (int round = 0; round < rounds; ++round) {
        class_board::Board board(mounted);
        QElapsedTimer timer;
        QDateTime now = QDateTime::currentDateTime();
        timer.start();
        board.refresh(now);
        first.push_back(double(timer.nsecsElapsed()) / 1e6);
        firstOps = board.lastOperations();
        floorRead.push_back(listAndRead(statusFolder));

        timer.restart();
        board.refresh(now.addSecs(3));
        quiet.push_back(double(timer.nsecsElapsed()) / 1e6);
        quietOps = board.lastOperations();
        floorList.push_back(listOnly(statusFolder));

        for (int c = 1; c <= computers; c += 10)
            writeStatus(server, c, round + 1);
        // A share's client keeps a file's time for up to a second.
        QThread::msleep(1100);
        timer.restart();
        board.refresh(now.addSecs(6));
        moved.push_back(double(timer.nsecsElapsed()) / 1e6);
        movedOps = board.lastOperations();
        if (int(board.rows().size()) != computers) {
            std::fprintf(stderr, "saw %zu computers of %d\n", board.rows().size(), computers);
            return 1;
        }
    }
    std::printf("class refresh, %d computers, median of %d rounds (ms):\n", computers, rounds);
    std::printf("  first refresh (all read)  %7.1f  (%d operations)\n", median(first), firstOps);
    std::printf("  nothing changed           %7.1f  (%d operations)\n", median(quiet), quietOps);
    std::printf("  a tenth changed           %7.1f  (%d operations)\n", median(moved), movedOps);
    std::printf("  floor: listing            %7.1f\n", median(floorList));
    std::printf("  floor: listing, each read %7.1f\n", median(floorRead));
    return 0;
}
