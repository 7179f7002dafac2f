#include "teacher_tools/class_board.h"

#include "platform/ansi_codec.h"
#include "platform/file_access.h"
#include "teacher_tools/class_board_texts.h"

#include <QCollator>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <atomic>
#include <thread>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace class_board {

using class_board_texts::text;
using class_status::State;
using class_status::Status;

namespace {

// The report's last records are what a class has just saved.
constexpr qint64 kReportTail = 256 * 1024;
// A status whose file looks unchanged is read again after this long all the same: a
// share's client may keep a file's time for a while.
constexpr qint64 kRereadSeconds = 30;
// Files looked at and read at once: on a share each is a round trip of its own.
constexpr int kAtOnce = 8;

// Runs `work(i)` for i in [0, count) on up to kAtOnce threads.
template <class Work> void inParallel(int count, const Work& work) {
    if (count <= 1) {
        for (int i = 0; i < count; ++i)
            work(i);
        return;
    }
    std::atomic<int> next{0};
    auto worker = [&] {
        for (int i = next++; i < count; i = next++)
            work(i);
    };
    std::vector<std::thread> threads;
    const int helpers = std::min(kAtOnce, count) - 1;
    threads.reserve(std::size_t(helpers));
    for (int t = 0; t < helpers; ++t)
        threads.emplace_back(worker);
    worker();
    for (std::thread& thread : threads)
        thread.join();
}

qint64 modifiedMs(const struct stat& info) {
    return qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
}

int conditionRank(Condition condition) {
    switch (condition) {
    case Condition::NotSaved:
        return 0;
    case Condition::MissingFromReport:
        return 1;
    case Condition::Silent:
        return 2;
    case Condition::Unreadable:
        return 3;
    case Condition::Answering:
        return 4;
    case Condition::ChoosingTicket:
        return 5;
    case Condition::ResultShown:
        return 6;
    case Condition::Failed:
        return 7;
    case Condition::Passed:
        return 8;
    case Condition::TestDone:
        return 9;
    case Condition::Waiting:
        return 10;
    case Condition::Earlier:
        return 11;
    }
    return 12;
}

using texts::say;

QString minutesAndSeconds(qint64 seconds) {
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

bool isProblem(Condition condition) {
    return condition == Condition::NotSaved || condition == Condition::MissingFromReport ||
           condition == Condition::Silent || condition == Condition::Unreadable;
}

Board::Board(QString applicationFolder)
    : folder_(std::move(applicationFolder)),
      statusFolder_(QDir(folder_).filePath(class_status::kFolder)) {}

qint64 Board::shareNowMs() {
    // Writing a byte makes the server stamp the file with its own clock.
    const QString touched = QDir(statusFolder_)
                                .filePath(QStringLiteral(".board-") +
                                          class_status::fileNameFor(class_status::thisComputer()));
    const int fd = ::open(QFile::encodeName(touched).constData(),
                          O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    ++operations_;
    if (fd < 0) return -1;
    struct stat info {};
    const bool ok = ::pwrite(fd, "\n", 1, 0) == 1 && ::fstat(fd, &info) == 0;
    ++operations_;
    ::close(fd);
    return ok ? modifiedMs(info) : -1;
}

void Board::readReportTail() {
    const QString report = QDir(folder_).filePath(QStringLiteral("s/oth.txt"));
    platform::FileHandle file = platform::openForReading(report, nullptr, true);
    operations_ += 2;
    if (!file.isOpen()) {
        reportSize_ = -1;
        reportTail_.clear();
        return;
    }
    const qint64 size = platform::freshSize(file.get());
    if (size == reportSize_) return;
    const qint64 from = std::max<qint64>(0, size - kReportTail);
    if (::lseek(file.get(), off_t(from), SEEK_SET) != off_t(from)) return;
    if (const auto bytes = platform::readUpTo(file, qsizetype(size - from))) {
        reportSize_ = size;
        reportTail_ = platform::fromAnsi(*bytes);
    }
}

bool Board::inReport(const Status& status) const {
    if (status.nameLine.isEmpty()) return true; // nothing to look for
    const QString lineEnd = QStringLiteral("\r\r\n");
    QString wanted = status.nameLine + lineEnd;
    if (!status.dateLine.isEmpty()) wanted.prepend(status.dateLine + lineEnd);
    return reportTail_.contains(wanted);
}

void Board::refresh(const QDateTime& now) {
    operations_ = 0;
    const QByteArray folder = QFile::encodeName(statusFolder_);
    const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    ++operations_;
    if (dirFd < 0) {
        seen_.clear();
        rows_.clear();
        return;
    }
    std::vector<QByteArray> names;
    if (DIR* listing = ::fdopendir(::dup(dirFd))) {
        while (const dirent* entry = ::readdir(listing)) {
            const QByteArray name(entry->d_name);
            if (name.startsWith('.') || entry->d_type == DT_DIR) continue;
            if (!QFile::decodeName(name).endsWith(class_status::kSuffix, Qt::CaseInsensitive))
                continue;
            if (int(names.size()) >= kMostComputers) break;
            names.push_back(name);
        }
        ::closedir(listing);
    }
    const qint64 shareNow = shareNowMs();
    shareClockRead_ = shareNow >= 0;
    readReportTail();

    struct Look {
        bool plain = false;
        qint64 size = -1;
        qint64 modified = 0;
        bool read = false;
        QByteArray bytes;
    };
    std::vector<Look> looks(names.size());
    std::vector<const Seen*> before(names.size(), nullptr);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto found = seen_.find(QFile::decodeName(names[i]));
        if (found != seen_.end()) before[i] = &found->second;
    }
    std::atomic<int> operations{0};
    inParallel(int(names.size()), [&](int i) {
        Look& look = looks[std::size_t(i)];
        struct stat info {};
        ++operations;
        if (::fstatat(dirFd, names[std::size_t(i)].constData(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode))
            return;
        look.plain = true;
        look.size = qint64(info.st_size);
        look.modified = modifiedMs(info);
        const Seen* seen = before[std::size_t(i)];
        const bool unchanged = seen && seen->size == look.size &&
                               seen->modifiedMs == look.modified &&
                               seen->unchangedSince.secsTo(now) < kRereadSeconds;
        if (unchanged) return;
        ++operations;
        const int fd = ::openat(dirFd, names[std::size_t(i)].constData(),
                                O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return;
        QByteArray bytes(class_status::kFileSize, Qt::Uninitialized);
        qsizetype got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, std::size_t(bytes.size() - got));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += n;
        }
        ::close(fd);
        bytes.truncate(got);
        look.read = true;
        look.bytes = std::move(bytes);
    });
    ::close(dirFd);
    operations_ += operations;

    std::map<QString, Seen> seen;
    rows_.clear();
    for (std::size_t i = 0; i < names.size(); ++i) {
        const Look& look = looks[i];
        if (!look.plain) continue;
        const QString name = QFile::decodeName(names[i]);
        Seen entry = before[i] ? *before[i] : Seen{};
        if (look.read) {
            std::optional<Status> status = class_status::parse(look.bytes);
            const size_t hash = qHash(look.bytes);
            const bool changed = !before[i] || hash != entry.contentHash;
            entry.contentHash = hash;
            // A file caught half-written keeps what was read before.
            if (status) {
                entry.status = std::move(status);
                entry.readable = true;
            } else if (!entry.readable) {
                entry.status.reset();
            }
            if (changed || !entry.unchangedSince.isValid()) entry.unchangedSince = now;
        }
        entry.size = look.size;
        entry.modifiedMs = look.modified;
        if (!entry.unchangedSince.isValid()) entry.unchangedSince = now;

        Row row;
        row.file = name;
        row.computer = name.chopped(class_status::kSuffix.size());
        row.status = entry.status;
        const qint64 byShare =
            shareClockRead_ ? std::max<qint64>(0, shareNow - look.modified) / 1000 : 0;
        row.ageSeconds = std::max(byShare, entry.unchangedSince.secsTo(now));
        if (row.status) {
            const QString claimed = class_status::fileNameFor(row.status->computer);
            if (claimed.compare(name, Qt::CaseInsensitive) != 0)
                row.claimedName = row.status->computer;
        }
        if (!row.status) {
            row.condition = Condition::Unreadable;
        } else if (row.ageSeconds >= kEarlierClassSeconds) {
            row.condition = Condition::Earlier;
        } else {
            const Status& status = *row.status;
            switch (status.state) {
            case State::Idle:
                row.condition = Condition::Waiting;
                break;
            case State::ChoosingTicket:
            case State::ChoosingTest:
                row.condition = Condition::ChoosingTicket;
                break;
            case State::Answering:
            case State::TestAnswering:
                row.condition = Condition::Answering;
                break;
            case State::ResultShown:
                row.condition = Condition::ResultShown;
                break;
            case State::Saved:
                row.condition = row.ageSeconds >= kReportGraceSeconds && !inReport(status)
                                    ? Condition::MissingFromReport
                                : status.passed ? Condition::Passed
                                                : Condition::Failed;
                break;
            case State::Closed:
                row.condition = status.passed ? Condition::Passed : Condition::Failed;
                break;
            case State::NotSaved:
                row.condition = Condition::NotSaved;
                break;
            case State::Concluded:
                row.condition = Condition::TestDone;
                break;
            case State::Unknown:
                row.condition = Condition::Unreadable;
                break;
            }
            if (class_status::isAtWork(status.state) && row.ageSeconds >= kSilentAfterSeconds)
                row.condition = Condition::Silent;
        }
        seen.emplace(name, std::move(entry));
        rows_.push_back(std::move(row));
    }
    seen_ = std::move(seen);

    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(rows_.begin(), rows_.end(), [&collator](const Row& a, const Row& b) {
        const int ra = conditionRank(a.condition), rb = conditionRank(b.condition);
        if (ra != rb) return ra < rb;
        return collator.compare(a.computer, b.computer) < 0;
    });
}

Counts Board::counts() const {
    Counts counts;
    for (const Row& row : rows_) {
        if (row.condition == Condition::Earlier) {
            ++counts.earlier;
            continue;
        }
        if (isProblem(row.condition)) ++counts.problems;
        if (!row.status) continue;
        const State state = row.status->state;
        if (class_status::isAtWork(state)) ++counts.inProgress;
        if (class_status::isFinished(state)) {
            ++counts.finished;
            if (row.status->mode == class_status::Mode::Exam && state != State::ResultShown)
                ++(row.status->passed ? counts.passed : counts.failed);
        }
    }
    return counts;
}

Board::Archived Board::archiveFinished(const QDateTime& now) {
    Archived result;
    result.folder = class_status::kFolder + QStringLiteral("/old/") +
                    now.toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    const QString archive = QDir(folder_).filePath(result.folder);
    if (!QDir().mkpath(archive)) {
        result.error = QString::fromLocal8Bit(std::strerror(errno));
        return result;
    }
    result.done = true;
    std::vector<Row> kept;
    for (Row& row : rows_) {
        const bool finished = row.condition == Condition::Earlier ||
                              (row.status && class_status::isFinished(row.status->state) &&
                               !isProblem(row.condition));
        if (finished &&
            ::rename(QFile::encodeName(QDir(statusFolder_).filePath(row.file)).constData(),
                     QFile::encodeName(QDir(archive).filePath(row.file)).constData()) == 0) {
            seen_.erase(row.file);
            ++result.moved;
            continue;
        }
        kept.push_back(std::move(row));
    }
    rows_ = std::move(kept);
    return result;
}

QStringList Board::headings(const QString& language) {
    Cells names;
    names.computer = say(language, text("computer"));
    names.student = say(language, text("student"));
    names.state = say(language, text("state"));
    names.mode = say(language, text("mode"));
    names.subject = say(language, text("subject"));
    names.ticket = say(language, text("ticket"));
    names.progress = say(language, text("progressHeading"));
    names.timeLeft = say(language, text("timeLeft"));
    names.lastSeen = say(language, text("lastSeen"));
    return names.inOrder();
}

Cells Board::cells(const Row& row, const QString& language) {
    Cells cells;
    cells.computer = row.computer;
    if (!row.claimedName.isEmpty())
        cells.computer += QLatin1Char(' ') + say(language, text("claims")).arg(row.claimedName);
    cells.lastSeen = row.ageSeconds < 60
                         ? say(language, text("secondsAgo")).arg(row.ageSeconds)
                         : say(language, text("minutesAgo")).arg(row.ageSeconds / 60);
    if (row.status && row.status->written.isValid())
        cells.written =
            say(language, text("writtenAt"))
                .arg(row.status->written.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
    switch (row.condition) {
    case Condition::Waiting:
        cells.state = say(language, text("waiting"));
        break;
    case Condition::ChoosingTicket:
        cells.state = row.status && row.status->mode == class_status::Mode::Test
                          ? say(language, text("choosingTest"))
                          : say(language, text("choosingTicket"));
        break;
    case Condition::Answering:
        cells.state = say(language, text("answering"));
        break;
    case Condition::ResultShown:
        cells.state = say(language, text("resultShown"));
        break;
    case Condition::Passed:
        cells.state = say(language, text("passed"));
        break;
    case Condition::Failed:
        cells.state = say(language, text("failed"));
        break;
    case Condition::TestDone:
        cells.state = say(language, text("testDone"));
        break;
    case Condition::NotSaved:
        cells.state = say(language, text("notSaved"));
        break;
    case Condition::MissingFromReport:
        cells.state = say(language, text("missingFromReport"));
        break;
    case Condition::Silent:
        cells.state = say(language, text("silent"));
        break;
    case Condition::Unreadable:
        cells.state = say(language, text("unreadable"));
        break;
    case Condition::Earlier:
        cells.state = say(language, text("earlier"));
        break;
    }
    if (!row.status) return cells;
    const Status& status = *row.status;
    cells.student = status.student;
    if (!status.data.isEmpty()) cells.student += QStringLiteral(", ") + status.data;
    cells.mode = status.mode == class_status::Mode::Exam   ? say(language, text("exam"))
                 : status.mode == class_status::Mode::Test ? say(language, text("test"))
                                                           : QString();
    cells.subject = status.subject;
    cells.ticket = status.ticket;
    if (status.questions > 0)
        cells.progress = say(language, text("progress"))
                             .arg(status.question)
                             .arg(status.questions)
                             .arg(status.answered);
    if (status.secondsLeft >= 0 && !class_status::isFinished(status.state))
        cells.timeLeft = minutesAndSeconds(status.secondsLeft);
    if (class_status::isFinished(status.state) || row.condition == Condition::NotSaved) {
        QStringList details;
        if (!status.grade.isEmpty()) details << status.grade;
        if (!status.verdict.isEmpty()) details << status.verdict;
        if (status.timedOut && status.verdict.isEmpty()) details << say(language, text("timedOut"));
        if (!details.isEmpty())
            cells.state += QStringLiteral(": ") + details.join(QStringLiteral(", "));
    }
    if (row.condition == Condition::NotSaved && !status.reason.isEmpty())
        cells.state += QStringLiteral(" — ") + status.reason;
    return cells;
}

QString Board::summary(const Counts& counts, const QString& language) {
    QString line = say(language, text("summary"))
                       .arg(counts.inProgress)
                       .arg(counts.finished)
                       .arg(counts.passed)
                       .arg(counts.failed)
                       .arg(counts.problems);
    if (counts.earlier > 0)
        line += QStringLiteral("  ") + say(language, text("earlierCount")).arg(counts.earlier);
    return line;
}

} // namespace class_board
