#pragma once
// What each computer of a lab is doing, told to the shared folder so that the teacher can
// watch the class live: one small file per computer in "s/class", rewritten in place on
// every step a student takes. It is best-effort by design: a status that cannot be written
// never delays the student, never shows a message and never touches the report.
//
// The file is UTF-8, "key=value" lines under a first line naming the format, closed by a
// checksum line and "end", and padded with blanks to a fixed size: a rewrite from the start
// then replaces the whole file without cutting it, in one write. A reader that meets a
// half-written file sees the checksum fail and keeps what it read before.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

namespace class_status {

// The folder of the status files, below the application folder.
inline const QString kFolder = QStringLiteral("s/class");
// Every status file ends in this.
inline const QString kSuffix = QStringLiteral(".sts");
// The size every status file is padded to, and the most a reader takes of one.
inline constexpr int kFileSize = 4096;
// The longest value kept of any field: names typed by students, reasons from the system.
inline constexpr int kLongestValue = 160;

enum class Mode { None, Exam, Test };

enum class State {
    Idle,           // the program waits at the start window
    ChoosingTicket, // the name accepted, the ticket not yet opened
    Answering,      // a ticket open, questions being answered
    ResultShown,    // the ticket graded, the results not yet closed
    Saved,          // the result reached the report
    NotSaved,       // the result did not reach the report (the reason says why)
    Closed,         // the results closed without saving (saving was switched off)
    ChoosingTest,   // test mode, no test chosen yet
    TestAnswering,  // a test's questions being answered
    Concluded,      // a test's conclusion shown
    Unknown,        // a file that names a state this program does not know
};

// The word a state is written as ("answering"), and back; Unknown for anything else.
QString stateKey(State state);
State stateFromKey(const QString& key);
QString modeKey(Mode mode);
Mode modeFromKey(const QString& key);

// True for the states in which a student is at work, where silence means trouble.
bool isAtWork(State state);
// True for the states of a finished exam or test.
bool isFinished(State state);

struct Status {
    QString computer; // the computer's name as its copy of the program knows it
    QString user;     // the account
    QString student;  // name and additional data as typed
    QString data;
    Mode mode = Mode::None;
    QString subject; // the exam's title or the test's name
    QString ticket;  // the ticket number, as drawn or typed
    int question = 0;
    int questions = 0;
    int answered = 0;
    int secondsLeft = -1; // -1 when no timer runs
    State state = State::Idle;
    QString grade; // the ticket grade as shown, or the test's total
    QString verdict; // "Зачет", "Не зачет", "Не зачет по времени", a test's conclusion...
    bool passed = false;
    bool timedOut = false;
    QString reason;   // why a result was not saved
    QString dateLine; // the saved record's first two lines, for the teacher's cross-check
    QString nameLine;
    QDateTime written; // by the writing computer's own clock

    // A new student (or a new run of the test window) at this computer: everything but the
    // computer and the account starts over.
    void startOver(Mode newMode, State newState, const QString& newStudent = {},
                   const QString& newData = {});

    friend bool operator==(const Status&, const Status&) = default;
};

// The file's bytes: always exactly kFileSize long.
QByteArray format(const Status& status);
// The file made of "key=value" lines as given (each ending in CR LF), under the heading
// line and sealed with the checksum, "end" and the padding: how tests write statuses of
// their own making, odd keys and all.
QByteArray seal(const QByteArray& lines);
// The status a file holds, or nothing when it is not one (wrong format, torn, checksum
// wrong). Takes any bytes: control characters are dropped, values cut to kLongestValue characters
// and 240 bytes.
std::optional<Status> parse(const QByteArray& bytes);

// The file name of a computer's status: its name made safe as a folder name, with kSuffix.
QString fileNameFor(const QString& computer);
// This computer's name (the host name), as the status files give it.
QString thisComputer();
// The account the program runs as.
QString thisUser();

// Writes this computer's status file in the background: the student's window hands each
// status over and goes on at once, however slow the share; a newer status replaces one not
// yet written. Each write is one open of the file by its path and one write of the whole
// padded file: no lock, no sync. Failures are kept quiet.
class Writer {
public:
    Writer();
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Starts writing into `applicationFolder`/s/class (made when missing) as `computer`.
    // Until then, and when the report folder "s" is missing, nothing is written.
    void start(const QString& applicationFolder, const QString& computer);
    void publish(const Status& status);
    // Waits at most `timeoutMs` until every status handed over has been written (or has
    // failed); true when it is so. For tests, and for a program that is about to end.
    bool settle(int timeoutMs);
    // The number of statuses written and failed so far (for tests).
    int written() const;
    int failed() const;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

} // namespace class_status
