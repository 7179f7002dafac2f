#pragma once
// The class as the teacher sees it live: every computer's status file in "s/class" read,
// judged and sorted so that problems come first. Used by the «Класс» window and by
// `proveron monitor`.
//
// A refresh lists the folder and reads only the status files whose size or time changed
// since the last one, several at a time (on a share each is a round trip). No file watcher
// is trusted on a network share. Silence is judged by the share's own clock: the time of a
// status file against the time of a file the board itself touches there, never the
// computers' clocks; where the board cannot touch its file, by how long it has seen the
// status unchanged.

#include "common/class_status.h"
#include "common/language.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace class_board {

// A computer at work that has said nothing for this long needs the teacher.
inline constexpr qint64 kSilentAfterSeconds = 120;
// A status this old is from an earlier class.
inline constexpr qint64 kEarlierClassSeconds = 24 * 60 * 60;
// A result told saved is looked for in the report once it is this old (a share may show a
// record a moment late).
inline constexpr qint64 kReportGraceSeconds = 15;
// The most status files one refresh reads: a folder flooded with files stays usable.
inline constexpr int kMostComputers = 500;

enum class Condition {
    Waiting, // at the start window
    ChoosingTicket,
    Answering,
    ResultShown,       // graded, results not yet closed
    Passed,            // finished and passed (saved, or saving was off)
    Failed,            // finished and failed
    TestDone,          // a test's conclusion shown
    NotSaved,          // problem: the result did not reach the report
    MissingFromReport, // problem: told saved, but not in the report
    Silent,            // problem: at work and silent for kSilentAfterSeconds
    Unreadable,        // problem: the file holds no status this program can read
    Earlier,           // from an earlier class
};

bool isProblem(Condition condition);

struct Row {
    QString file;     // the status file's name
    QString computer; // the computer the file is named after
    std::optional<class_status::Status> status;
    // The name the status gives when it is not the file's own computer: shown as such,
    // never mixed into that computer's row.
    QString claimedName;
    qint64 ageSeconds = 0; // since the status was last written, by the share's clock
    Condition condition = Condition::Waiting;
};

struct Counts {
    int inProgress = 0;
    int finished = 0;
    int passed = 0;
    int failed = 0;
    int problems = 0;
    int earlier = 0;
};

// The cells of a row, as the window and the console show them.
struct Cells {
    QString computer, student, state, mode, subject, ticket, progress, timeLeft, lastSeen;
    QString written; // when the computer wrote it, by its own clock (a tool tip)

    // In the order of the columns: who, then how it goes, then where they are.
    QStringList inOrder() const {
        return {computer, student, state, mode, subject, ticket, progress, timeLeft, lastSeen};
    }
};
// The column of the state, which the window lets wrap.
inline constexpr int kStateColumn = 2;

class Board {
public:
    explicit Board(QString applicationFolder);

    // Reads what changed. `now` is the program's clock: how long a status has been seen
    // unchanged counts by it too, so a computer whose file stays the same is judged silent
    // even where the share's clock cannot be read.
    void refresh(const QDateTime& now);

    const std::vector<Row>& rows() const { return rows_; }
    Counts counts() const;
    // Whether the share's clock was read this refresh (else ages count from this
    // computer's view of the files).
    bool shareClockRead() const { return shareClockRead_; }
    // How many file operations the last refresh made (listing, times, reads).
    int lastOperations() const { return operations_; }

    // Moves the status files of finished computers and those of an earlier class into
    // "s/class/old/<date and time>/".
    struct Archived {
        bool done = false;
        int moved = 0;
        QString folder; // the archive folder, relative to the application folder
        QString error;  // the system's reason when the folder could not be made
    };
    Archived archiveFinished(const QDateTime& now);

    // The row's cells in the language ("rus" or "eng"; anything else reads Russian).
    static Cells cells(const Row& row, const QString& language);
    // The line of counts over the table.
    static QString summary(const Counts& counts, const QString& language);
    static QStringList headings(const QString& language);

private:
    struct Seen {
        qint64 size = -1;
        qint64 modifiedMs = 0;
        QDateTime unchangedSince;
        std::optional<class_status::Status> status;
        bool readable = false;
        size_t contentHash = 0; // of the bytes last read: what changes is heard
    };
    qint64 shareNowMs();
    void readReportTail();
    bool inReport(const class_status::Status& status) const;

    QString folder_;
    QString statusFolder_;
    std::map<QString, Seen> seen_;
    std::vector<Row> rows_;
    qint64 reportSize_ = -1;
    QString reportTail_;
    bool shareClockRead_ = false;
    int operations_ = 0;
};

} // namespace class_board
