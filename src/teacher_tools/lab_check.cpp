#include "teacher_tools/lab_check.h"

#include "common/file_messages.h"
#include "common/password.h"
#include "common/settings_file.h"
#include "platform/application_folder.h"
#include "platform/file_access.h"
#include "platform/file_lock.h"
#include "platform/folders.h"
#include "platform/profile_file.h"
#include "platform/text_encoding.h"
#include "teacher_tools/lab_check_texts.h"
#include "teacher_tools/terminal_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace teacher_tools {

namespace {

using lab_check_texts::text;

constexpr int kExitClean = 0;
constexpr int kExitFindings = 1;
constexpr int kExitUsage = 2;
// Places of one kind listed one by one before the rest are counted.
constexpr int kListed = 20;
// Exam folders go no deeper than a ticket's; anything below is walked a little further.
constexpr int kDeepest = 8;

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

QByteArray firstLineOf(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return {};
    return in.readLine().trimmed();
}

QDateTime modified(const struct stat& info) {
    return QDateTime::fromMSecsSinceEpoch(qint64(info.st_mtim.tv_sec) * 1000 +
                                          info.st_mtim.tv_nsec / 1000000);
}

// "3 min", "2 h 5 min": how long ago, to the teacher.
QString duration(qint64 seconds, const Wording& say) {
    seconds = std::max<qint64>(seconds, 0);
    if (seconds < 120) return say(text("seconds")).arg(seconds);
    if (seconds < 3600) return say(text("minutes")).arg(seconds / 60);
    if (seconds < 2 * 86400) return say(text("hours")).arg(seconds / 3600).arg(seconds / 60 % 60);
    return say(text("days")).arg(seconds / 86400);
}

// The group of a file may be its owner's own (Debian gives every user one): writing by
// that group is writing by the owner alone.
bool groupIsShared(gid_t group, uid_t owner) {
    static QHash<quint64, bool> known;
    const quint64 key = (quint64(group) << 32) | owner;
    const auto found = known.constFind(key);
    if (found != known.cend()) return *found;
    bool shared = true;
    const struct group* entry = ::getgrgid(group);
    const struct passwd* user = ::getpwuid(owner);
    if (entry && user && user->pw_gid == group &&
        QString::fromLocal8Bit(entry->gr_name) == QString::fromLocal8Bit(user->pw_name) &&
        (!entry->gr_mem || !entry->gr_mem[0]))
        shared = false;
    known.insert(key, shared);
    return shared;
}

class LabWalk {
public:
    LabWalk(const QString& folder, const ThisComputer& here, const Wording& say)
        : folder_(QDir::cleanPath(folder)), here_(here), say_(say) {}

    LabReport run();

private:
    enum class Change { None, Others, ThisAccount };

    QString relative(const QString& path) const {
        return path == folder_ ? folder_ : QDir(folder_).relativeFilePath(path);
    }
    void add(const QString& path, const char* code, const QString& message) {
        report_.findings.push_back({path, QString::fromLatin1(code), message, false, {}});
    }
    // A finding of a kind that may come by the thousand: the first ones listed, the rest
    // counted.
    void addCounted(int& count, const QString& path, const char* code, const QString& message) {
        if (++count <= kListed) add(path, code, message);
    }
    void addCounts(int count) {
        if (count > kListed) add(folder_, "more", say_(text("moreEntries")).arg(count - kListed));
    }

    void readShareClock();
    void checkSettings();
    void walk(const QString& folder, int depth, bool studentsWrite);
    void look(const QString& path, const QString& name, int depth, bool studentsWrite);
    Change changeable(const QString& path, const struct stat& info) const;
    void checkLock(const QString& path, const struct stat& info);
    void checkTemporary(const QString& path, const struct stat& info);
    void checkOwner(const QString& path, const LockOwner& owner);

    // The share's time for a time stamp it gave, as this computer's clock reads it.
    QDateTime onOurClock(const QDateTime& shareTime) const {
        return shareTime.addSecs(-report_.shareAheadSeconds.value_or(0));
    }
    qint64 ageOf(const QDateTime& shareTime) const { return shareTime.secsTo(shareNow_); }
    QString when(const QDateTime& shareTime) const {
        const QDateTime ours = onOurClock(shareTime);
        return ours.toString(ours.date() == here_.now.date()
                                 ? QStringLiteral("HH:mm:ss")
                                 : QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }

    QString folder_;
    const ThisComputer& here_;
    const Wording& say_;
    LabReport report_;
    QDateTime shareNow_;
    int writable_ = 0;
    int temporaries_ = 0;
    int links_ = 0;
};

LabReport LabWalk::run() {
    readShareClock();
    // A minute is what a report record's time shows.
    if (const qint64 ahead = report_.shareAheadSeconds.value_or(0); ahead >= 60 || ahead <= -60)
        add(folder_, "clock-off",
            say_(text("clockOff")).arg(duration(ahead < 0 ? -ahead : ahead, say_)));
    checkSettings();
    struct stat root {};
    if (::stat(encoded(folder_).constData(), &root) == 0) {
        ++report_.looked;
        if (changeable(folder_, root) == Change::Others)
            addCounted(writable_, folder_, "folder-writable", say_(text("folderWritable")));
        else if (changeable(folder_, root) == Change::ThisAccount)
            addCounted(writable_, folder_, "writable-here", say_(text("writableHere")));
    }
    walk(folder_, 1, false);
    addCounts(writable_);
    addCounts(temporaries_);
    addCounts(links_);
    return std::move(report_);
}

// A file made and removed at once, the way every start of the program reads the folder's
// clock: first in s (the folder students' copies write, so also a test that they can), else
// in the application folder itself.
void LabWalk::readShareClock() {
    const QString reports = platform::childPath(folder_, QStringLiteral("s"));
    const bool reportsThere = QFileInfo(reports).isDir();
    for (const QString& where : {reports, folder_}) {
        if (where == reports && !reportsThere) continue;
        const QString probe =
            platform::temporaryPath(QDir(where).filePath(QStringLiteral("clock")), "tmp");
        QFile made(probe);
        if (!made.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (where == reports)
                add(reports, "reports-folder-closed", say_(text("reportsFolderClosed")));
            continue;
        }
        struct stat info {};
        const bool timed = ::fstat(made.handle(), &info) == 0;
        made.close();
        made.remove();
        if (!timed) continue;
        shareNow_ = modified(info);
        report_.shareAheadSeconds = here_.now.secsTo(shareNow_);
        return;
    }
    shareNow_ = here_.now;
}

void LabWalk::checkSettings() {
    const QString settings = platform::childPath(folder_, QStringLiteral("test.ini"));
    if (!QFileInfo::exists(settings)) return;
    if (!platform::isProfileFileReadable(settings)) {
        add(settings, "settings-unreadable", say_(text("settingsUnreadable")));
        return;
    }
    const QString stored =
        GetValueString(settings_keys::kSection, settings_keys::kPassword, settings);
    if (stored.isEmpty())
        add(settings, "password-empty", say_(text("passwordEmpty")));
    else if (!password::isHashed(stored))
        add(settings, "password-readable", say_(text("passwordReadable")));
}

void LabWalk::walk(const QString& folder, int depth, bool studentsWrite) {
    if (depth > kDeepest) return;
    QStringList names = platform::entryNames(folder);
    names.sort();
    for (const QString& name : names)
        look(QDir(folder).filePath(name), name, depth, studentsWrite);
}

void LabWalk::look(const QString& path, const QString& name, int depth, bool studentsWrite) {
    struct stat info {};
    if (::lstat(encoded(path).constData(), &info) != 0) return;
    ++report_.looked;
    if (platform::isTemporaryName(name)) {
        checkTemporary(path, info);
        return;
    }
    if (name.endsWith(QLatin1String(".lock"), Qt::CaseInsensitive)) {
        checkLock(path, info);
        return;
    }
    if (S_ISLNK(info.st_mode)) {
        const QString target = QFile::symLinkTarget(path);
        addCounted(links_, path, "link", say_(text("link")).arg(QDir::toNativeSeparators(target)));
        return;
    }
    // The report folder is the students' own: only its locks and temporaries are looked at,
    // and whether it lets them delete the reports.
    const bool reports = depth == 1 && S_ISDIR(info.st_mode) &&
                         name.compare(QLatin1String("s"), Qt::CaseInsensitive) == 0;
    if (reports) {
        if (changeable(path, info) == Change::Others && !(info.st_mode & S_ISVTX))
            add(path, "reports-deletable", say_(text("reportsDeletable")));
    } else if (!studentsWrite) {
        const Change change = changeable(path, info);
        const bool folder = S_ISDIR(info.st_mode);
        if (change == Change::Others) {
            addCounted(writable_, path, folder ? "folder-writable" : "file-writable",
                       folder ? say_(text("folderWritable")) : say_(text("fileWritable")));
        } else if (change == Change::ThisAccount) {
            addCounted(writable_, path, "writable-here", say_(text("writableHere")));
        }
    }
    if (S_ISDIR(info.st_mode)) walk(path, depth + 1, studentsWrite || reports);
}

LabWalk::Change LabWalk::changeable(const QString& path, const struct stat& info) const {
    const bool group = (info.st_mode & S_IWGRP) && groupIsShared(info.st_gid, info.st_uid);
    if (group || (info.st_mode & S_IWOTH)) return Change::Others;
    // Run from a student's account, what that account may write counts, whatever the bits
    // show (a share's server decides, and its mapping may show anything).
    if (here_.account != 0 && info.st_uid != here_.account &&
        ::access(encoded(path).constData(), W_OK) == 0)
        return Change::ThisAccount;
    return Change::None;
}

void LabWalk::checkLock(const QString& path, const struct stat& info) {
    if (!S_ISDIR(info.st_mode)) {
        add(path, "lock-not-folder", say_(text("lockNotFolder")));
        return;
    }
    const std::optional<LockOwner> owner = readLockOwner(path);
    if (!owner) {
        const QDateTime since = modified(info);
        add(path, "lock-unknown",
            say_(text("lockUnknown")).arg(when(since), duration(ageOf(since), say_)));
        return;
    }
    const qint64 age = ageOf(owner->written);
    const bool leftOver = age * 1000 >= qint64(platform::kStaleLock.count());
    add(path, leftOver ? "lock-left-over" : "lock-held",
        (leftOver ? say_(text("lockLeftOver")) : say_(text("lockHeld")))
            .arg(owner->computer, QString::number(owner->process), when(owner->written),
                 duration(age, say_)));
    checkOwner(path, *owner);
}

void LabWalk::checkTemporary(const QString& path, const struct stat& info) {
    // A lock being taken or let go holds an owner file too.
    if (S_ISDIR(info.st_mode)) {
        if (const std::optional<LockOwner> owner = readLockOwner(path)) checkOwner(path, *owner);
    }
    const qint64 age = ageOf(modified(info));
    if (age > platform::kStaleTemporarySeconds)
        addCounted(temporaries_, path, "stale-temporary",
                   say_(text("staleTemporary")).arg(duration(age, say_)));
}

// A lock taken after this computer started, under its name but by another boot, was taken
// by another computer of the same name.
void LabWalk::checkOwner(const QString& path, const LockOwner& owner) {
    if (owner.computer != here_.name || owner.boot == here_.boot) return;
    if (onOurClock(owner.written) <= here_.started) return;
    add(path, "same-computer-name",
        say_(text("sameComputerName")).arg(owner.computer, when(owner.written)));
}

// The words of a password typed on the terminal, without showing it.
QString readSecret(const QString& prompt, QTextStream& err) {
    const bool terminal = ::isatty(STDIN_FILENO) == 1;
    struct termios before {};
    if (terminal) {
        err << prompt << Qt::flush;
        ::tcgetattr(STDIN_FILENO, &before);
        struct termios hidden = before;
        hidden.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSANOW, &hidden);
    }
    QTextStream in(stdin);
    const QString line = in.readLine();
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &before);
        err << Qt::endl;
    }
    return line;
}

int runPassword(const platform::AppContext& app, const QString& language, const Wording& say,
                QTextStream& err) {
    const QString typed = readSecret(say(text("newPassword")), err);
    if (::isatty(STDIN_FILENO) == 1 && readSecret(say(text("againPassword")), err) != typed) {
        err << say(text("passwordsDiffer")) << Qt::endl;
        return kExitFindings;
    }
    if (typed.isEmpty()) {
        err << say(text("passwordNeeded")) << Qt::endl;
        return kExitFindings;
    }
    const QString file = QDir::toNativeSeparators(app.settingsFile());
    const platform::WriteResult stored =
        storeSetting(app, settings_keys::kPassword, password::hashed(typed));
    if (!stored) {
        err << say(text("passwordNotStored")).arg(file) << writeFailureNote(stored, language)
            << Qt::endl;
        return kExitFindings;
    }
    err << say(text("passwordStored")).arg(file) << Qt::endl;
    return kExitClean;
}

int runCheck(const platform::AppContext& app, const QDateTime& now, const Wording& say,
             QTextStream& out, QTextStream& err) {
    const LabReport report = checkLab(app.folder(), thisComputer(now), say);
    for (const Finding& finding : report.findings) {
        const QString shown = finding.path == app.folder()
                                  ? finding.path
                                  : QDir(app.folder()).relativeFilePath(finding.path);
        out << forTerminal(QDir::toNativeSeparators(shown)) << ": " << forTerminal(finding.message)
            << Qt::endl;
    }
    if (!report.shareAheadSeconds) {
        err << say(text("clockUnknown")) << Qt::endl;
    } else {
        const qint64 ahead = *report.shareAheadSeconds;
        if (ahead == 0)
            err << say(text("clockSame")) << Qt::endl;
        else
            err << (ahead > 0 ? say(text("clockAhead")) : say(text("clockBehind")))
                       .arg(duration(ahead > 0 ? ahead : -ahead, say))
                << Qt::endl;
    }
    err << say(text("summary")).arg(report.looked).arg(report.findings.size()) << Qt::endl;
    return report.findings.empty() ? kExitClean : kExitFindings;
}

} // namespace

std::optional<LockOwner> readLockOwner(const QString& lockFolder) {
    const QString file = QDir(lockFolder).filePath(QStringLiteral("owner"));
    struct stat info {};
    // The owner file is a file of the lock folder, never a link out of it.
    if (::lstat(encoded(file).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    const std::optional<QByteArray> bytes = platform::readBytes(file);
    if (!bytes) return std::nullopt;
    const QList<QByteArray> lines = bytes->split('\n');
    if (lines.size() < 4 || lines[0] != "proveron-lock") return std::nullopt;
    LockOwner owner;
    owner.computer = QString::fromUtf8(lines[1]);
    owner.boot = QString::fromLatin1(lines[2]);
    owner.process = lines[3].toLongLong();
    owner.written = modified(info);
    return owner;
}

ThisComputer thisComputer(const QDateTime& now) {
    ThisComputer here;
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    here.name = QString::fromUtf8(host);
    here.boot = QString::fromLatin1(firstLineOf(QStringLiteral("/proc/sys/kernel/random/boot_id")));
    here.now = now;
    const double up = firstLineOf(QStringLiteral("/proc/uptime")).split(' ').value(0).toDouble();
    here.started = now.addMSecs(-qint64(up * 1000));
    here.account = ::geteuid();
    return here;
}

LabReport checkLab(const QString& folder, const ThisComputer& here, const Wording& say) {
    return LabWalk(folder, here, say).run();
}

int runLab(const platform::AppContext& app, const QDateTime& now, const QStringList& arguments,
           QTextStream& out, QTextStream& err) {
    const QString language = readSetting(app, settings_keys::kLanguage);
    const Wording say(language);
    const QString what = arguments.value(0);
    if (arguments.size() > 1) {
        err << say(text("unexpectedArgument")).arg(arguments.at(1)) << Qt::endl
            << say(text("usage"));
        return kExitUsage;
    }
    if (what == QLatin1String("check")) return runCheck(app, now, say, out, err);
    if (what == QLatin1String("password")) return runPassword(app, language, say, err);
    if (!what.isEmpty()) err << say(text("unknownLabCommand")).arg(what) << Qt::endl;
    err << say(text("usage"));
    return kExitUsage;
}

} // namespace teacher_tools
