#include "teacher_tools/folder_check.h"

#include "common/settings_file.h"
#include "exam_content/exam_folder.h"
#include "platform/app_context.h"
#include "platform/text_encoding.h"
#include "teacher_tools/folder_check_texts.h"
#include "teacher_tools/questionnaire_check.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSet>

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

ConversionReport convertFiles(const Findings& findings, const QString& stamp, const Wording& say) {
    ConversionReport report;
    QSet<QString> done;
    for (const Finding& finding : findings) {
        if (!finding.convertible || done.contains(finding.path) || finding.folder.isEmpty())
            continue;
        done.insert(finding.path);
        const QDir folder(finding.folder);
        const QString backupFolder =
            QDir(QFileInfo(finding.folder).absolutePath())
                .filePath(QFileInfo(finding.folder).fileName() + kBackupMark + stamp);
        const QString backup = QDir(backupFolder).filePath(folder.relativeFilePath(finding.path));
        const platform::Conversion conversion = platform::convertToAnsi(finding.path, backup);
        using Outcome = platform::Conversion::Outcome;
        if (conversion.outcome == Outcome::Converted) {
            report.converted.append(finding.path);
            if (!report.backupFolders.contains(backupFolder))
                report.backupFolders.append(backupFolder);
        } else if (conversion.outcome == Outcome::Unconvertible) {
            report.problems.push_back(
                {finding.path, QStringLiteral("unconvertible"),
                 say(folder_check_texts::text("fileWasNotConverted")).arg(conversion.character),
                 false, finding.folder});
        } else if (conversion.outcome == Outcome::Failed) {
            report.problems.push_back({finding.path, QStringLiteral("not-written"),
                                       say(folder_check_texts::text("fileWasNotConverted2"))
                                           .arg(QDir::toNativeSeparators(conversion.failedPath)),
                                       false, finding.folder});
        }
    }
    return report;
}

} // namespace teacher_tools
