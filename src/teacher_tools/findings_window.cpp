#include "teacher_tools/findings_window.h"

#include "common/settings_file.h"
#include "forms/app.h"
#include "platform/folders.h"
#include "settings/settings_window.h"
#include "teacher_tools/findings_window_texts.h"
#include "teacher_tools/folder_check.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

using namespace forms;
using teacher_tools::Finding;
using teacher_tools::Wording;

namespace {

const QString kProduct = QStringLiteral("Проверон");

// Wide enough for a finding's line; it opens in the middle of the screen.
constexpr int kWidth = 10500;
constexpr int kHeight = 6300;

} // namespace

Form10::Form10(App& app) : Window(app, kName) {
    setCaption(kProduct);
    const QSize screen = app.services().screen.sizePixels();
    move(std::max(0, (screen.width() * kTwipsPerPixel - kWidth) / 2),
         std::max(0, (screen.height() * kTwipsPerPixel - kHeight) / 2), kWidth, kHeight);
    keepLanguageIn(Label3);
    captions_.applyDesign();
    Label3.hide();
    Command1.hide();
    Command2.setEnabled(false);

    // Event table.
    List1.onClick = [this] { Command2.setEnabled(List1.listIndex() >= 0); };
    Command1.onClick = [this] { convert(); };
    Command2.onClick = [this] { openChosen(); };
    Command3.onClick = [this] { runCheck(); };
    Command4.onClick = [this] { close(); };
}

void Form10::load() {
    Label3.setCaption(app().language());
    captions_.apply(Label3.caption());
    const Wording w = wording();
    Command1.setToolTip(w(findings_window_texts::text("oldFilesAreKept")));
    Command2.setToolTip(w(findings_window_texts::text("openFileChosenLine")));
}

void Form10::checkFolder(const QString& folder) {
    const Wording w = wording();
    QString refusal;
    if (folder.isEmpty()) {
        refusal = w(findings_window_texts::text("notChooseFileWith"));
    } else if (!QFileInfo(folder).isDir()) {
        refusal =
            w(findings_window_texts::text("thereNoFolder")).arg(QDir::toNativeSeparators(folder));
    } else if (teacher_tools::checkTargets(folder).empty()) {
        refusal =
            w(findings_window_texts::text("holdsNoExamNo")).arg(QDir::toNativeSeparators(folder));
    }
    if (!refusal.isEmpty()) {
        app().message(refusal, kProduct);
        if (!visible()) app().unload(*this);
        return;
    }
    folder_ = folder;
    bankFile_.clear();
    notes_.clear();
    conversion_.clear();
    Label1.setCaption(
        w(findings_window_texts::text("checked")).arg(QDir::toNativeSeparators(folder)));
    runCheck();
    show();
    // Over the window it was asked from, also when it was open already.
    requestFocus(List1);
}

void Form10::showImport(const QString& bankFile, const teacher_tools::ImportResult& result) {
    const Wording w = wording();
    folder_ = result.folder;
    bankFile_ = bankFile;
    notes_.clear();
    conversion_.clear();
    for (const auto& [notes, lead] :
         {std::pair{&result.skipped, w(findings_window_texts::text("questionSkipped"))},
          {&result.notes, QString()}}) {
        for (const teacher_tools::BankNote& note : *notes) {
            notes_.push_back(
                {bankFile,
                 QStringLiteral("import"),
                 w(findings_window_texts::text("line")).arg(note.line) + lead + note.text,
                 false,
                 {}});
        }
    }
    Label1.setCaption(
        w(findings_window_texts::text("importedFrom")).arg(QDir::toNativeSeparators(bankFile)));
    if (result.made()) {
        runCheck();
    } else {
        findings_.clear();
        showFindings();
    }
    if (entries().empty()) {
        app().unload(*this);
        return;
    }
    show();
    requestFocus(List1);
}

void Form10::runCheck() {
    if (!folder_.isEmpty()) {
        Form4& settings = app().window<Form4>();
        // An import's message has just told the teacher which counts to set: the check of
        // what it made does not list the settings' counts again.
        const teacher_tools::ExamInUse inUse{
            settings.examFolder(),
            bankFile_.isEmpty()
                ? teacher_tools::expectationsFrom(settings.Text3.text(), settings.Combo1.text())
                : teacher_tools::ExamExpectations{}};
        findings_ = teacher_tools::checkTargetsOf(app(), teacher_tools::checkTargets(folder_),
                                                  inUse, wording())
                        .findings;
    }
    showFindings();
}

std::vector<const Finding*> Form10::entries() const {
    std::vector<const Finding*> all;
    for (const teacher_tools::Findings* list : {&notes_, &conversion_, &findings_}) {
        for (const Finding& finding : *list)
            all.push_back(&finding);
    }
    return all;
}

QString Form10::shownPath(const QString& path) const {
    if (path == bankFile_ || folder_.isEmpty()) return QFileInfo(path).fileName();
    const QString relative = QDir(folder_).relativeFilePath(path);
    if (relative.isEmpty() || relative == QLatin1String(".")) return QFileInfo(path).fileName();
    if (relative.startsWith(QLatin1String(".."))) return QDir::toNativeSeparators(path);
    return QDir::toNativeSeparators(relative);
}

void Form10::showFindings() {
    const Wording w = wording();
    QStringList lines;
    int convertible = 0;
    for (const Finding* finding : entries()) {
        lines.append(shownPath(finding->path) + QStringLiteral(": ") + finding->message);
        convertible += finding->convertible ? 1 : 0;
    }
    List1.setItems(lines);
    Command2.setEnabled(false);
    Command3.setEnabled(!folder_.isEmpty());
    Command1.setVisible(convertible > 0);
    if (lines.isEmpty()) {
        Label2.setForeColor(colors::Green);
        Label2.setCaption(w(findings_window_texts::text("noFindings")));
        return;
    }
    Label2.setForeColor(colors::Red);
    QString summary = w(findings_window_texts::text("findingsDoubleClickOn")).arg(lines.size());
    if (convertible > 0) {
        summary += QLatin1Char(' ') +
                   w(findings_window_texts::text("filesNotWindowsThey")).arg(convertible);
    }
    Label2.setCaption(summary);
}

void Form10::convert() {
    const Wording w = wording();
    const teacher_tools::ConversionReport report = teacher_tools::convertFiles(
        findings_, folder_, teacher_tools::backupStamp(app().services().clock.now()), w);
    QString message;
    if (!report.converted.isEmpty()) {
        QStringList folders;
        for (const QString& folder : report.backupFolders)
            folders.append(QDir::toNativeSeparators(folder));
        message = w(findings_window_texts::text("filesConvertedOldOnes"))
                      .arg(report.converted.size())
                      .arg(folders.join(QStringLiteral(", ")));
    }
    if (!report.problems.empty()) {
        if (!message.isEmpty()) message += QLatin1Char(' ');
        message +=
            w(findings_window_texts::text("filesNotConvertedThey")).arg(report.problems.size());
    }
    conversion_ = report.problems;
    runCheck();
    if (!message.isEmpty()) app().message(message, kProduct);
}

void Form10::openChosen() {
    const std::vector<const Finding*> all = entries();
    const int index = List1.listIndex();
    if (index < 0 || index >= int(all.size())) return;
    // A missing file is shown by its folder, or the nearest one that exists.
    QString target = all[std::size_t(index)]->path;
    while (!target.isEmpty() && !platform::DoesFileExist(target)) {
        const QString parent = QFileInfo(target).absolutePath();
        target = parent == target ? QString() : parent;
    }
    if (!target.isEmpty()) app().services().shell.open(target);
}

void Form10::close() {
    hide();
    app().unload(*this);
}
