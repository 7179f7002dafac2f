#include "common/class_status.h"

#include <QDir>
#include <QSysInfo>

#include <array>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace class_status {

namespace {

const QByteArray kHeading = QByteArrayLiteral("proveron-status 1");
constexpr int kLongestValueBytes = 240;

struct StateName {
    State state;
    const char* key;
};
constexpr std::array<StateName, 10> kStates{{
    {State::Idle, "idle"},
    {State::ChoosingTicket, "choosing-ticket"},
    {State::Answering, "answering"},
    {State::ResultShown, "result-shown"},
    {State::Saved, "saved"},
    {State::NotSaved, "not-saved"},
    {State::Closed, "closed"},
    {State::ChoosingTest, "choosing-test"},
    {State::TestAnswering, "test-answering"},
    {State::Concluded, "concluded"},
}};

// FNV-1a: enough to tell a whole file from one caught half-written.
quint32 checksum(QByteArrayView bytes) {
    quint32 hash = 2166136261u;
    for (const char c : bytes) {
        hash ^= quint8(c);
        hash *= 16777619u;
    }
    return hash;
}

// A value as the file may hold it: one line without control characters, cut to length.
QString cleanValue(const QString& value) {
    QString clean;
    clean.reserve(std::min<qsizetype>(value.size(), kLongestValue));
    int bytes = 0;
    for (const QChar c : value) {
        if (clean.size() >= kLongestValue) break;
        const QChar shown =
            (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
             c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph)
                ? QLatin1Char(' ')
                : c;
        // A surrogate half alone is no character; a pair counts as one below.
        const int size = shown.isSurrogate() ? 2 : QString(shown).toUtf8().size();
        if (bytes + size > kLongestValueBytes) break;
        bytes += size;
        clean.append(shown);
    }
    // A pair cut in half leaves its first half: drop it.
    if (!clean.isEmpty() && clean.back().isHighSurrogate()) clean.chop(1);
    return clean.trimmed();
}

int boundedNumber(const QString& text, int lowest, int highest, int otherwise) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= lowest && value <= highest ? value : otherwise;
}

} // namespace

QString stateKey(State state) {
    for (const StateName& name : kStates)
        if (name.state == state) return QString::fromLatin1(name.key);
    return QStringLiteral("unknown");
}

State stateFromKey(const QString& key) {
    for (const StateName& name : kStates)
        if (key == QLatin1String(name.key)) return name.state;
    return State::Unknown;
}

QString modeKey(Mode mode) {
    switch (mode) {
    case Mode::Exam:
        return QStringLiteral("exam");
    case Mode::Test:
        return QStringLiteral("test");
    case Mode::None:
        break;
    }
    return {};
}

Mode modeFromKey(const QString& key) {
    if (key == QLatin1String("exam")) return Mode::Exam;
    if (key == QLatin1String("test")) return Mode::Test;
    return Mode::None;
}

bool isAtWork(State state) {
    return state == State::ChoosingTicket || state == State::Answering ||
           state == State::TestAnswering;
}

bool isFinished(State state) {
    return state == State::ResultShown || state == State::Saved || state == State::NotSaved ||
           state == State::Closed || state == State::Concluded;
}

void Status::startOver(Mode newMode, State newState, const QString& newStudent,
                       const QString& newData) {
    Status fresh;
    fresh.computer = computer;
    fresh.user = user;
    fresh.mode = newMode;
    fresh.state = newState;
    fresh.student = newStudent;
    fresh.data = newData;
    *this = std::move(fresh);
}

QByteArray format(const Status& status) {
    QByteArray text = kHeading + "\r\n";
    auto add = [&text](const char* key, const QString& value) {
        text += key;
        text += '=';
        text += cleanValue(value).toUtf8();
        text += "\r\n";
    };
    auto number = [](int value) { return QString::number(value); };
    add("computer", status.computer);
    add("user", status.user);
    add("student", status.student);
    add("data", status.data);
    add("mode", modeKey(status.mode));
    add("subject", status.subject);
    add("ticket", status.ticket);
    add("question", number(status.question));
    add("questions", number(status.questions));
    add("answered", number(status.answered));
    add("left", status.secondsLeft >= 0 ? number(status.secondsLeft) : QString());
    add("state", stateKey(status.state));
    add("grade", status.grade);
    add("verdict", status.verdict);
    add("passed", number(status.passed ? 1 : 0));
    add("timeout", number(status.timedOut ? 1 : 0));
    add("reason", status.reason);
    add("date-line", status.dateLine);
    add("name-line", status.nameLine);
    add("written", status.written.isValid() ? status.written.toString(Qt::ISODate) : QString());
    return seal(text.mid(kHeading.size() + 2));
}

QByteArray seal(const QByteArray& lines) {
    QByteArray text = kHeading + "\r\n" + lines;
    text += "sum=" + QByteArray::number(checksum(text), 16).rightJustified(8, '0') + "\r\nend\r\n";
    // Blanks up to the fixed size, the last two bytes a line end: a longer file written
    // before is covered whole.
    const qsizetype padding = kFileSize - text.size() - 2;
    if (padding >= 0) text += QByteArray(padding, ' ') + "\r\n";
    return text;
}

std::optional<Status> parse(const QByteArray& raw) {
    const QByteArray bytes = raw.left(kFileSize);
    const qsizetype sumAt = bytes.indexOf("\nsum=");
    if (!bytes.startsWith(QByteArray(kHeading + "\r\n")) || sumAt < 0) return std::nullopt;
    const qsizetype sumEnd = bytes.indexOf('\n', sumAt + 1);
    if (sumEnd < 0) return std::nullopt;
    const QByteArray sum = bytes.mid(sumAt + 5, sumEnd - sumAt - 5).trimmed();
    bool ok = false;
    if (sum.toUInt(&ok, 16) != checksum(QByteArrayView(bytes).first(sumAt + 1)) || !ok)
        return std::nullopt;
    if (!bytes.mid(sumEnd + 1).startsWith("end")) return std::nullopt;

    Status status;
    bool stateSeen = false;
    const QList<QByteArray> lines = bytes.first(sumAt).split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0) continue;
        const QByteArray key = line.first(equals);
        const QString value = cleanValue(QString::fromUtf8(line.mid(equals + 1)));
        if (key == "computer")
            status.computer = value;
        else if (key == "user")
            status.user = value;
        else if (key == "student")
            status.student = value;
        else if (key == "data")
            status.data = value;
        else if (key == "mode")
            status.mode = modeFromKey(value);
        else if (key == "subject")
            status.subject = value;
        else if (key == "ticket")
            status.ticket = value;
        else if (key == "question")
            status.question = boundedNumber(value, 0, 999, 0);
        else if (key == "questions")
            status.questions = boundedNumber(value, 0, 999, 0);
        else if (key == "answered")
            status.answered = boundedNumber(value, 0, 999, 0);
        else if (key == "left")
            status.secondsLeft = boundedNumber(value, 0, 9999999, -1);
        else if (key == "state") {
            status.state = stateFromKey(value);
            stateSeen = true;
        } else if (key == "grade")
            status.grade = value;
        else if (key == "verdict")
            status.verdict = value;
        else if (key == "passed")
            status.passed = value == QLatin1String("1");
        else if (key == "timeout")
            status.timedOut = value == QLatin1String("1");
        else if (key == "reason")
            status.reason = value;
        else if (key == "date-line")
            status.dateLine = value;
        else if (key == "name-line")
            status.nameLine = value;
        else if (key == "written")
            status.written = QDateTime::fromString(value, Qt::ISODate);
    }
    if (!stateSeen) status.state = State::Unknown;
    return status;
}

QString fileNameFor(const QString& computer) {
    QString name;
    for (const QChar c : computer.trimmed().toLower()) {
        if (name.size() >= 60) break;
        const bool kept = c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_');
        name.append(kept ? c : QLatin1Char('_'));
    }
    if (name.isEmpty()) name = QStringLiteral("computer");
    return name + kSuffix;
}

QString thisComputer() {
    const QString host = QSysInfo::machineHostName();
    return host.isEmpty() ? QStringLiteral("computer") : host;
}

QString thisUser() {
    if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

// The state the writing thread and the windows share.
struct Writer::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    QByteArray folder; // the application folder, in the file system's encoding
    QByteArray name;   // the status file's name
    std::optional<QByteArray> pending;
    bool busy = false;
    bool stop = false;
    bool started = false;
    int written = 0;
    int failed = 0;

    // Runs on the writing thread only. One open by the whole path per status: on a share
    // every call is a round trip, and a folder kept open goes stale when the share does.
    bool write(const QByteArray& bytes) {
        const QByteArray own = folder + "/s/class";
        const QByteArray path = own + '/' + name;
        // O_NONBLOCK: a FIFO planted under this name fails at once instead of waiting for a
        // reader; O_NOFOLLOW: a link planted under it is never written through.
        const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
        int fd = ::open(path.constData(), flags, 0666);
        // The first computer of a class makes the folder (in the report folder, which must
        // be there already).
        if (fd < 0 && errno == ENOENT && ::mkdir(own.constData(), 0777) == 0)
            fd = ::open(path.constData(), flags, 0666);
        if (fd < 0) return false;
        qsizetype done = 0;
        bool ok = true;
        while (done < bytes.size()) {
            const ssize_t n =
                ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), off_t(done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                ok = false;
                break;
            }
            done += n;
        }
        ::close(fd);
        return ok;
    }

    void run() {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [this] { return stop || pending.has_value(); });
            if (!pending) break; // stopped with nothing left to write
            const QByteArray bytes = std::move(*pending);
            pending.reset();
            busy = true;
            lock.unlock();
            const bool ok = write(bytes);
            lock.lock();
            busy = false;
            ++(ok ? written : failed);
            changed.notify_all();
        }
    }
};

Writer::Writer() : shared_(std::make_shared<Shared>()) {}

Writer::~Writer() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stop = true;
    }
    shared_->changed.notify_all();
}

void Writer::start(const QString& applicationFolder, const QString& computer) {
    std::lock_guard lock(shared_->mutex);
    if (shared_->started) return;
    shared_->started = true;
    shared_->folder = QFile::encodeName(QDir::cleanPath(applicationFolder));
    shared_->name = QFile::encodeName(fileNameFor(computer));
    // The thread holds the shared state itself, so a share that never answers keeps only
    // that thread waiting: the program ends without it.
    std::thread([shared = shared_] { shared->run(); }).detach();
}

void Writer::publish(const Status& status) {
    {
        std::lock_guard lock(shared_->mutex);
        if (!shared_->started || shared_->stop) return;
        shared_->pending = format(status);
    }
    shared_->changed.notify_all();
}

bool Writer::settle(int timeoutMs) {
    std::unique_lock lock(shared_->mutex);
    return shared_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                     [this] { return !shared_->pending && !shared_->busy; });
}

int Writer::written() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->written;
}

int Writer::failed() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->failed;
}

} // namespace class_status
