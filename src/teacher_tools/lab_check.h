#pragma once
// The teacher's look at a lab that shares one application folder:
//
//   proveron lab check      what this computer sees there: which files and folders students
//                           could change (everything but the folder s and the reports should
//                           be read-only to them), a password stored readable, the share's
//                           clock against this computer's, locks held or left over (by whom,
//                           since when), another computer with this one's name, and the
//                           program's temporary files left by broken saves.
//   proveron lab password   stores the settings password as a salted hash.
//
// The check needs no password and changes nothing: it reads, and reads the share's clock
// from a temporary file of the program's own that it makes and removes at once, as every
// start of the program does.

#include "platform/app_context.h"
#include "teacher_tools/findings.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace teacher_tools {

// Who holds a lock, as its owner file says.
struct LockOwner {
    QString computer; // host name
    QString boot;     // boot id of that computer
    qint64 process = 0;
    QDateTime written; // when the owner file was written, by the share's clock
};

// The owner of the lock folder (NAME.lock, or one of its temporary names); nothing when it
// holds no owner file of the program's form.
std::optional<LockOwner> readLockOwner(const QString& lockFolder);

// This computer, as the check compares it with what it finds.
struct ThisComputer {
    QString name;      // host name
    QString boot;      // boot id
    QDateTime now;     // its clock
    QDateTime started; // when it booted, by its clock
    unsigned account = 0;
};
ThisComputer thisComputer(const QDateTime& now);

struct LabReport {
    Findings findings;
    // The share's clock minus this computer's, when it could be read.
    std::optional<qint64> shareAheadSeconds;
    int looked = 0; // files and folders looked at
};

LabReport checkLab(const QString& folder, const ThisComputer& here, const Wording& say);

// "lab check" or "lab password" with their arguments (without --folder), on the
// application folder of `app`. Exit status: 0 clean or stored, 1 findings or not stored,
// 2 a usage error.
int runLab(const platform::AppContext& app, const QDateTime& now, const QStringList& arguments,
           QTextStream& out, QTextStream& err);

} // namespace teacher_tools
