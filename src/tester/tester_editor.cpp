// The test editor's operations of the test window: create a test by name or open one,
// type or change its questions, answers and points, set the three conclusions with their
// thresholds. It is the only writer of test files.

#include "tester/tester_window.h"

#include "common/decimal.h"
#include "common/file_messages.h"
#include "common/settings_file.h"
#include "forms/app.h"
#include "platform/folders.h"
#include "tester/questionnaire_files.h"
#include "tester/tester_window_texts.h"

#include <QDir>

#include <algorithm>

using namespace forms;
using tester_window_texts::text;

namespace {

const QString kChosen = QStringLiteral("3");
const QString kOpened = QStringLiteral("1");
const QString kOn = QStringLiteral("1");
const QString kZero = QStringLiteral("0");

} // namespace

void Form6::showEditorPanel(bool shown) {
    Frame4.setVisible(shown);
    Frame5.setVisible(shown);
    // Wider or narrower; the front end keeps it on the screen.
    resize(shown ? kEditorWidth : kTakingWidth, height());
}

void Form6::openEditor() {
    Frame1.hide();
    Label1.setCaption(kOpened);
    Label10.setCaption(kOn);
    clearQuestionFields();
    Text2.setText(QString());
    Text1.setText(QStringLiteral("1"));
    Text3.setText(QString());
    intCntr_ = 1;
    lockQuestion(false);
    // The conclusion of a run taken before has no place in the editor.
    Frame6.hide();
    Frame3.show();
    Label15.setCaption(pathMessage());
}

void Form6::createTest() {
    // The first press brings the name field up: there was nothing to type a name into.
    if (!Text2.visible()) {
        Text2.show();
        Label9.show();
        requestFocus(Text2);
        return;
    }
    const QString name = Text2.text();
    if (name.trimmed().isEmpty()) {
        tell(text("noTestNameTyped"));
        return;
    }
    if (!questionnaire_files::isTestName(name)) {
        tell(text("badTestName"), name);
        return;
    }
    if (!makeTestFiles(name)) return;
    // Creating works on no chosen file, also after an edit whose dialog was cancelled.
    Label1.setCaption(kOpened);
    Label12.setCaption(kOn);
    Command1.hide();
    Frame7.hide();
    startNewTest();
}

bool Form6::makeTestFiles(const QString& name) {
    // An existing folder of that name, whatever its letter case, is the test's folder.
    const QString folder = questionnaire_files::testFolder(app(), name);
    if (!platform::MakeDirPath(folder)) {
        tell(text("folderNotMade"), QDir::toNativeSeparators(folder));
        return false;
    }
    // A folder that exists already is used as it is; its questions stay until saved over.
    const QString definition = questionnaire_files::definitionPath(app(), name);
    const platform::WriteResult written =
        SetValue(questionnaire_files::kHeaderSection, QStringLiteral("t"), name, definition);
    if (!written) {
        tell(text("testFileNotWritten"),
             QDir::toNativeSeparators(definition) + writeFailureNote(written, language()));
        return false;
    }
    return true;
}

void Form6::startNewTest() {
    Text2.hide();
    Label9.hide();
    Frame1.show();
    clearQuestionFields();
    Text1.setText(QStringLiteral("1"));
    Text3.setText(QString());
    for (int k = 1; k <= 3; ++k)
        conclusionField(k).setText(QString());
    for (int k = 1; k <= 3; ++k)
        thresholdField(k).setText(QString());
    storedConclusions_ = {};
    lockQuestion(false);
    txtnTotal.setText(QString());
    // The name panel goes first: the window takes its height from what is left.
    Frame3.hide();
    showEditorPanel(true);
    txtV.setText(QStringLiteral("1."));
    requestFocus(txtV);
}

void Form6::editTest() {
    Frame7.hide();
    Text2.hide();
    Label9.hide();
    Command1.show();
    Frame1.show();
    clearQuestionFields();
    // As in choosing a test: the old one is let go before the number returns to 1.
    Text3.setText(QString());
    Text1.setText(QStringLiteral("1"));
    lockQuestion(false);
    txtnTotal.setText(QString());
    intCntr_ = 1;
    Label1.setCaption(kChosen);

    Text3.setText(askForTest());
    if (Text3.text().isEmpty()) return;
    finishLoadingTest(true);
}

void Form6::saveQuestion() {
    const QString number = Text1.text();
    if (txtV.text().isEmpty() || number.isEmpty()) {
        tell(text("questionUnfinished"));
        return;
    }
    // The number names a section and a file; only 1, 2, ... as written keep them apart.
    const std::optional<int> whole = questionnaire_files::questionNumber(number);
    if (!whole || QString::number(*whole) != number) {
        tell(text("badQuestionNumber"), number);
        return;
    }
    const QString file = questionnaire_files::questionFilePath(app(), Text2.text(), number);
    const QString definition = questionnaire_files::definitionPath(app(), Text2.text());
    if (file.isEmpty() || definition.isEmpty()) {
        tell(text("noTestChosen"));
        return;
    }
    questionnaire_files::Question question;
    for (int k = 1; k <= 5; ++k) {
        question.answers[std::size_t(k - 1)] = txtq(k).text();
        question.points[std::size_t(k - 1)] = txtb(k).text();
    }
    // The question's text and its answers are saved together or not at all.
    const platform::WriteResult written =
        questionnaire_files::writeQuestionAndText(definition, number, question, file, txtV.text());
    if (!written) {
        const QString failed = written.file().isEmpty() ? definition : written.file();
        tell(text("fileNotWritten"),
             QDir::toNativeSeparators(failed) + writeFailureNote(written, language()));
        return;
    }
    if (Label12.caption() != kOn) return;
    // A new test goes on with the next number, offered in the prompt.
    Text11.setText(*whole < questionnaire_files::kMaxQuestion ? QString::number(*whole + 1)
                                                              : QString());
    Text1.setText(QString());
    for (int k = 1; k <= 5; ++k)
        txtq(k).setText(QString());
    for (int k = 1; k <= 5; ++k)
        txtb(k).setText(kZero);
}

void Form6::saveConclusions() {
    if (Text5.text().isEmpty() || Text7.text().isEmpty() || Text6.text().isEmpty()) {
        tell(text("conclusionsUnfinished"));
        return;
    }
    const QString definition = questionnaire_files::definitionPath(app(), Text2.text());
    if (definition.isEmpty()) {
        tell(text("noTestChosen"));
        return;
    }
    // v1.txt, v2.txt, v3.txt in this order: conclusion 1, 3, 2.
    for (int k : {1, 3, 2}) {
        const QString file = questionnaire_files::conclusionFilePath(app(), Text2.text(), k);
        const platform::WriteResult written =
            questionnaire_files::writeTextFile(file, conclusionField(k).text());
        if (!written) {
            tell(text("fileNotWritten"),
                 QDir::toNativeSeparators(file) + writeFailureNote(written, language()));
            return;
        }
        storedConclusions_[std::size_t(k - 1)] = conclusionField(k).text();
    }
    for (int k = 1; k <= 3; ++k) {
        const platform::WriteResult written =
            SetValue(questionnaire_files::kHeaderSection, QStringLiteral("t%1").arg(k),
                     thresholdField(k).text(), definition);
        if (!written) {
            tell(text("fileNotWritten"),
                 QDir::toNativeSeparators(definition) + writeFailureNote(written, language()));
            return;
        }
    }
    tell(text("saved"));
}

void Form6::writeBackConclusions() {
    // Stepping through a test keeps the conclusions typed meanwhile; a field that is empty
    // or still holds what its file holds is not written, so looking changes nothing.
    for (int k : {1, 3, 2}) {
        const QString& shown = conclusionField(k).text();
        if (shown.isEmpty() || shown == storedConclusions_[std::size_t(k - 1)]) continue;
        const QString file = questionnaire_files::conclusionFilePath(app(), Text2.text(), k);
        const platform::WriteResult written = questionnaire_files::writeTextFile(file, shown);
        if (!written) {
            tell(text("fileNotWritten"),
                 QDir::toNativeSeparators(file) + writeFailureNote(written, language()));
            continue;
        }
        storedConclusions_[std::size_t(k - 1)] = shown;
    }
}

void Form6::stepInEditor() {
    const std::optional<Decimal> number = Decimal::parse(Text1.text());
    const std::optional<Decimal> count = Decimal::parse(Text4.text());
    if (!number || !count) {
        tell(text("noTestChosen"));
        return;
    }
    // The step counter outlives the test it counted; past the end of this one it starts
    // again, as the last question does.
    const int following = int(editorStep_) + 1;
    if (*number >= *count || Decimal::fromInt(following) > *count) {
        tell(text("endOfTest"));
        Text1.setText(QStringLiteral("1"));
        editorStep_ = 1;
        return;
    }
    Text1.setText(QString::number(following));
    if (Text1.text() == QString::number(following)) editorStep_ = std::int16_t(following);
}

void Form6::promptForNextNumber() {
    if (Label12.caption() != kOn || !Text1.text().isEmpty()) return;
    Frame8.show();
    requestFocus(Text11);
}

void Form6::nextNumberChanged() {
    if (Text11.text().isEmpty()) return;
    Command14.setEnabled(questionnaire_files::questionNumber(Text11.text()).has_value());
}

void Form6::acceptNextNumber() {
    Frame8.hide();
    const std::optional<int> number = questionnaire_files::questionNumber(Text11.text());
    if (number) {
        Text1.setText(QString::number(*number));
        txtV.setText(QString::number(*number) + QLatin1Char('.'));
        requestFocus(txtV);
    }
    Command14.setEnabled(false);
    Text11.setText(QString());
}

void Form6::closePrompt() {
    Frame8.hide();
    Command14.setEnabled(false);
    Text11.setText(QString());
}

void Form6::closeNamePanel() {
    Frame3.hide();
    Label10.setCaption(kZero);
    Text2.hide();
    Label9.hide();
    Frame1.show();
    Text2.setText(QString());
    Frame7.show();
    Command1.hide();
    lockQuestion(true);
}

void Form6::closeEditor() {
    showEditorPanel(false);
    Label10.setCaption(kZero);
    Label12.setCaption(kZero);
    Command1.hide();
    Frame7.show();
    // Back to taking: the prompt and open fields belong to the editor.
    Frame8.hide();
    lockQuestion(true);
    reloadTextsForTaking();
}

void Form6::reloadTextsForTaking() {
    // The editor shows texts without the line end their files end in; taking, and the
    // report it writes, use them as the files hold them.
    const QString name = Text2.text();
    if (name.isEmpty()) return;
    if (const auto question = questionnaire_files::readTextFile(
            questionnaire_files::questionFilePath(app(), name, Text1.text())))
        txtV.setText(*question);
    for (int k = 1; k <= 3; ++k) {
        const QString file = questionnaire_files::conclusionFilePath(app(), name, k);
        if (const auto text = questionnaire_files::readTextFile(file)) {
            conclusionField(k).setText(*text);
            storedConclusions_[std::size_t(k - 1)] = *text;
        }
    }
}
