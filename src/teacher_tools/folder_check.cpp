#include "teacher_tools/folder_check.h"

#include "common/settings_file.h"
#include "exam_content/exam_folder.h"
#include "platform/app_context.h"
#include "platform/contained_folder.h"
#include "platform/text_encoding.h"
#include "teacher_tools/folder_check_texts.h"
#include "teacher_tools/questionnaire_check.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <map>

namespace teacher_tools {

namespace {

QString cleanAbsolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(path)).absoluteFilePath());
}

std::optional<CheckTarget> targetOf(const QString& folder) {
    if (looksLikeExamFolder(folder)) return CheckTarget{folder, CheckTarget::Kind::Exam};
    if (looksLikeTestFolder(folder)) return CheckTarget{folder, CheckTarget::Kind::Test};
    return std::nullopt;
}

const QString kBackupMark = QStringLiteral(".backup-");

// Sub-folders in name order, without the copies a conversion keeps: they hold only the
// files that were converted and would read as broken exams.
QStringList subfolders(const QString& folder) {
    QStringList paths;
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        if (!name.contains(kBackupMark)) paths.append(dir.filePath(name));
    }
    return paths;
}

} // namespace

ExamExpectations expectationsFrom(const QString& tickets, const QString& questions) {
    return {wholeNumber(tickets, 1, 999999999), wholeNumber(questions, 1, 20)};
}

ExamInUse examInUseFromSettings(const platform::AppContext& app) {
    namespace keys = settings_keys;
    return {exam_folder::resolveExamFolder(app.folder(), readSetting(app, keys::kExamFolder)),
            expectationsFrom(readSetting(app, keys::kTickets), readSetting(app, keys::kQuestions))};
}

std::vector<CheckTarget> checkTargets(const QString& given) {
    const QString folder = QDir::cleanPath(given);
    if (const auto target = targetOf(folder)) return {*target};
    std::vector<CheckTarget> targets;
    for (const QString& child : subfolders(folder)) {
        if (const auto target = targetOf(child)) {
            targets.push_back(*target);
            continue;
        }
        const QString name = QFileInfo(child).fileName().toLower();
        if (name != QLatin1String("b") && name != QLatin1String("t")) continue;
        for (const QString& grandchild : subfolders(child)) {
            if (const auto target = targetOf(grandchild)) targets.push_back(*target);
        }
    }
    return targets;
}

CheckRun checkTargetsOf(const platform::AppContext& app, const std::vector<CheckTarget>& targets,
                        const ExamInUse& inUse, const Wording& say) {
    CheckRun run;
    const QString inUseFolder = inUse.folder.isEmpty() ? QString() : cleanAbsolute(inUse.folder);
    for (const CheckTarget& target : targets) {
        Findings found;
        if (target.kind == CheckTarget::Kind::Test) {
            found = checkTestFolder(app, target.folder, say);
        } else {
            const bool used = cleanAbsolute(target.folder) == inUseFolder;
            found = checkExamFolder(target.folder, used ? inUse.expectations : ExamExpectations{},
                                    app.pictures(), say);
        }
        for (Finding& finding : found) {
            finding.folder = target.folder;
            run.findings.push_back(std::move(finding));
        }
        run.checked.push_back(target);
    }
    return run;
}

QString backupStamp(const QDateTime& time) {
    return time.toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

namespace {

// Where one exam or test folder's conversions write: the folder beside it (the backup goes
// there), reached from the root checked without a link.
struct ConversionPlace {
    platform::ContainedFolder beside;
    QString name;       // the exam or test folder's name in it
    QString backupName; // its backup's, once made
    QString refusal;    // why nothing of the folder is converted, if so
};

ConversionPlace placeFor(const QString& folder, const QString& root, const Wording& say) {
    const QString target = cleanAbsolute(folder);
    const QString name = QFileInfo(target).fileName();
    if (target == root)
        return {platform::ContainedFolder(QFileInfo(target).absolutePath()), name, {}, {}};
    if (!target.startsWith(root + QLatin1Char('/'))) {
        return {platform::ContainedFolder(QString()),
                name,
                {},
                say(folder_check_texts::text("fileOutside")).arg(QDir::toNativeSeparators(root))};
    }
    const QString between = QFileInfo(target.mid(root.size() + 1)).path();
    platform::ContainedFolder rootFolder(root);
    ConversionPlace place{between == QLatin1String(".") ? std::move(rootFolder)
                                                        : rootFolder.folder(between),
                          name,
                          {},
                          {}};
    if (!place.beside.isOpen()) place.refusal = say(folder_check_texts::text("fileIsLink"));
    return place;
}

// A backup folder of this conversion's own: a name that something already has (a student
// may have planted a link there) is passed over for the next one.
bool makeBackupFolder(ConversionPlace& place, const QString& stamp) {
    if (!place.backupName.isEmpty()) return true;
    for (int attempt = 1; attempt <= 20; ++attempt) {
        QString candidate = place.name + kBackupMark + stamp;
        if (attempt > 1) candidate += QLatin1Char('-') + QString::number(attempt);
        if (place.beside.makeNewFolder(candidate)) {
            place.backupName = candidate;
            return true;
        }
    }
    return false;
}

} // namespace

ConversionReport convertFiles(const Findings& findings, const QString& root, const QString& stamp,
                              const Wording& say) {
    ConversionReport report;
    const QString rootFolder = cleanAbsolute(root);
    std::map<QString, ConversionPlace> places;
    QSet<QString> done;
    const auto problem = [&](const Finding& finding, const char* code, const QString& message) {
        report.problems.push_back(
            {finding.path, QString::fromLatin1(code), message, false, finding.folder});
    };
    for (const Finding& finding : findings) {
        if (!finding.convertible || done.contains(finding.path) || finding.folder.isEmpty())
            continue;
        done.insert(finding.path);
        auto found = places.find(finding.folder);
        if (found == places.end())
            found = places.emplace(finding.folder, placeFor(finding.folder, rootFolder, say)).first;
        ConversionPlace& place = found->second;
        if (!place.refusal.isEmpty()) {
            problem(finding, "not-converted", place.refusal);
            continue;
        }
        const QString inside = QDir(finding.folder).relativeFilePath(finding.path);
        const QString file = place.name + QLatin1Char('/') + inside;
        const platform::Conversion plan = platform::planConversion(place.beside, file);
        using Outcome = platform::Conversion::Outcome;
        if (plan.outcome == Outcome::AlreadyAnsi) continue;
        if (plan.outcome == Outcome::Unconvertible) {
            problem(finding, "unconvertible",
                    say(folder_check_texts::text("fileWasNotConverted")).arg(plan.character));
            continue;
        }
        if (plan.outcome == Outcome::NotPlain) {
            problem(finding, "not-plain", say(folder_check_texts::text("fileIsLink")));
            continue;
        }
        const auto notWritten = [&](const QString& path) {
            problem(finding, "not-written",
                    say(folder_check_texts::text("fileWasNotConverted2"))
                        .arg(QDir::toNativeSeparators(path)));
        };
        if (plan.outcome == Outcome::Failed) {
            notWritten(finding.path);
            continue;
        }
        // The original is kept first: a conversion that cannot keep it changes nothing.
        const QString backupOf = place.name + kBackupMark + stamp;
        if (!makeBackupFolder(place, stamp)) {
            notWritten(place.beside.pathOf(backupOf));
            continue;
        }
        const QString backup = place.backupName + QLatin1Char('/') + inside;
        const QString backupFolder = QFileInfo(backup).path();
        if (!place.beside.makeFolders(backupFolder) || !place.beside.write(backup, plan.original)) {
            notWritten(place.beside.pathOf(backup));
            continue;
        }
        if (!place.beside.write(file, plan.converted)) {
            notWritten(finding.path);
            continue;
        }
        report.converted.append(finding.path);
        const QString kept = place.beside.pathOf(place.backupName);
        if (!report.backupFolders.contains(kept)) report.backupFolders.append(kept);
    }
    return report;
}

} // namespace teacher_tools
