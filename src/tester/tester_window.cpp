#include "tester/tester_window.h"

#include "common/decimal.h"
#include "common/documents.h"
#include "common/file_messages.h"
#include "common/password.h"
#include "common/settings_file.h"
#include "common/window_utilities.h"
#include "forms/app.h"
#include "platform/text_files.h"
#include "shell/start_window.h"
#include "shell/start_window_texts.h"
#include "tester/questionnaire_files.h"
#include "tester/scoring.h"
#include "tester/tester_report.h"
#include "tester/tester_window_texts.h"

#include <QDir>

#include <algorithm>

using namespace forms;
using tester_window_texts::text;

namespace {

const QString kTitle = QStringLiteral("Проверон");
const QString kChosen = QStringLiteral("3"); // Label1: a test file was chosen
const QString kZero = QStringLiteral("0");

} // namespace

Form6::Form6(App& app) : Window(app, kName) {
    setCaption(kTitle);
    resize(kTakingWidth, kHeight); // opened in the middle of the screen

    arrangeControls();

    // Event table: taking.
    Command5.onClick = [this] { chooseTest(); };
    Text3.onChange = [this] { testPathChanged(); };
    Text2.onChange = [this] { Text12.setText(Text2.text()); };
    Text12.onChange = [this] { reportNameChanged(); };
    Text1.onChange = [this] { questionNumberChanged(); };
    Text4.onChange = [this] { questionCountChanged(); };
    txtV.onChange = [this] { promptForNextNumber(); };
    for (int k = 1; k <= 5; ++k) {
        txtq(k).onChange = [this, k] { answerTextChanged(k); };
        txtb(k).onChange = [this, k] {
            numberFieldChanged(txtb(k), acceptedPoints_[std::size_t(k - 1)]);
        };
        Option(k).onClick = [this, k] { chooseAnswer(k); };
    }
    for (int k = 1; k <= 3; ++k) {
        thresholdField(k).onChange = [this, k] {
            numberFieldChanged(thresholdField(k), acceptedThresholds_[std::size_t(k - 1)]);
        };
    }
    Command1.onClick = [this] { next(); };
    txtnTotal.onChange = [this] { totalChanged(); };
    Command3.onClick = [this] { reset(); };
    Check1.onClick = [this] { reportSwitched(); };
    Command18.onClick = [this] { behindPassword(&Form6::openReport); };
    Command10.onClick = [this] { openHelp(this->app()); };
    Command2.onClick = [this] { exitProgram(); };
    Label13.onClick = [this] { backToStart(); };
    Command15.onClick = [this] { Frame6.hide(); };

    // Event table: the editor.
    Command6.onClick = [this] { behindPassword(&Form6::openEditor); };
    Command19.onClick = [this] { checkPassword(); };
    Command20.onClick = [this] { closePasswordPanel(); };
    Command11.onClick = [this] { createTest(); };
    Command13.onClick = [this] { editTest(); };
    Command4.onClick = [this] { saveQuestion(); };
    Command9.onClick = [this] { saveConclusions(); };
    Text11.onChange = [this] { nextNumberChanged(); };
    Command14.onClick = [this] { acceptNextNumber(); };
    Command16.onClick = [this] { closePrompt(); };
    Command12.onClick = [this] { closeNamePanel(); };
    Command8.onClick = [this] { closeEditor(); };
    Command17.onClick = [this] { openHelp(this->app()); };
    Label15.onChange = [this] { Label17.setCaption(Label15.caption()); };
}

void Form6::arrangeControls() {
    place(Frame1, {&txtV});
    place(Frame2, {&Frame7});
    for (int k = 1; k <= 5; ++k) {
        Option(k).setContainer(&Frame7);
        txtq(k).setContainer(&Frame2);
        txtb(k).setContainer(&Frame5);
    }
    place(Frame7, {&Option6});
    place(Frame6, {&Label11, &Command15});
    place(Frame3, {&Label9, &Text2, &Command11, &Command13, &Command12, &Label15});
    place(Frame4, {&Label3, &Text5, &Label6, &Text8, &Label4, &Text7, &Label7, &Text9, &Label5,
                   &Text6, &Label8, &Text10, &Command4, &Command9, &Command8, &Command17});
    place(Frame8, {&Text11, &Command14, &Command16});
    place(Frame9, {&Label18, &Text13, &Command19, &Command20});
    takingCaptions_.applyDesign();
    editorCaptions_.applyDesign();

    // Built-in values, before any handler is wired.
    Text1.setText(QStringLiteral("1"));
    for (int k = 1; k <= 5; ++k) {
        txtb(k).setText(kZero);
        txtn(k).setText(kZero);
        acceptedPoints_[std::size_t(k - 1)] = kZero;
    }
    for (int k = 1; k <= 3; ++k) {
        thresholdField(k).setText(kZero);
        acceptedThresholds_[std::size_t(k - 1)] = kZero;
    }
    Label10.setCaption(kZero);
    Label12.setCaption(kZero);
    loadedNumber_ = Text1.text();
    for (Control* holder :
         std::initializer_list<Control*>{&Option6, &Text4, &Text12, &txtnTotal, &Label1, &Label17})
        holder->hide();
    for (int k = 1; k <= 5; ++k)
        txtn(k).hide();
    txtV.setMultiLine(true);
    for (TextBox* text : {&Text5, &Text7, &Text6})
        text->setMultiLine(true);
    // These refuse partial input ("-" on the way to "-3", "1" on the way to "12").
    for (int k = 1; k <= 5; ++k)
        txtb(k).setCommitOnFinish(true);
    for (int k = 1; k <= 3; ++k)
        thresholdField(k).setCommitOnFinish(true);
    Text1.setCommitOnFinish(true);
    Text2.setCommitOnFinish(true);
    Label11.setBold(true);
}

void Form6::load() {
    DisableXbutton(*this);
    Option6.setValue(true);
    lockQuestion(true);
    for (Control* hidden : std::initializer_list<Control*>{
             &Frame3, &Frame4, &Frame5, &Frame8, &Frame9, &Frame6, &Command1, &Command7, &Text2,
             &Text3, &Label9, &Label10, &Label12})
        hidden->hide();
    Command14.setEnabled(false);
    Label16.setCaption(QString());
    // Read once: the window asks for it often, and each ask would read the settings file.
    language_ = app().language();
    takingCaptions_.apply(language_);
    editorCaptions_.apply(language_);
    app().classStatus().startOver(class_status::Mode::Test, class_status::State::ChoosingTest);
    tellClass(class_status::State::ChoosingTest);
}

void Form6::tellClass(class_status::State state) {
    if (editing()) return; // the teacher at work on a test is no student
    class_status::Status& status = app().classStatus();
    if (status.mode != class_status::Mode::Test) status.startOver(class_status::Mode::Test, state);
    status.state = state;
    status.subject = Text2.text();
    status.question = Text1.text().toInt();
    status.questions = Text4.text().toInt();
    status.answered = state == class_status::State::Concluded ? status.questions
                                                              : std::max(0, status.question - 1);
    if (state == class_status::State::ChoosingTest) {
        status.subject.clear();
        status.question = status.questions = status.answered = 0;
    }
    app().tellClass();
}

// Shared steps.

QString Form6::language() const { return language_; }

void Form6::tell(const texts::Text& message, const QString& detail) {
    app().message(say(message) + detail, kTitle);
}

QString Form6::pathMessage() const {
    const QString folder = questionnaire_files::testsFolder(app()) + QDir::separator();
    return say(text("testsPath")) + QLatin1Char(' ') + folder;
}

QString Form6::askForTest() {
    return app().services().dialogs.openFile(Command5.caption(),
                                             QStringLiteral("Файлы tst (*.tst)"),
                                             questionnaire_files::testsFolder(app()));
}

bool Form6::editing() const { return Label10.caption() != kZero; }

bool Form6::acceptTestName(const QString& name, const QString& definition) {
    if (name.isEmpty()) {
        tell(text("noTestName"), QDir::toNativeSeparators(definition));
        return false;
    }
    if (!questionnaire_files::isTestName(name)) {
        // The name becomes a folder of "t"; one that leads elsewhere is never followed.
        tell(text("badTestFolderName"),
             name + QLatin1Char('\n') + QDir::toNativeSeparators(definition));
        return false;
    }
    return true;
}

std::optional<QString> Form6::readQuestionText(const QString& name, const QString& number) {
    const QString file = questionnaire_files::questionFilePath(app(), name, number);
    const std::optional<QString> text = questionnaire_files::readTextFile(file);
    // In the editor a question without a file is one not written yet: it starts empty.
    if (!text && editing() && !file.isEmpty()) return QString();
    if (!text) {
        const QString shown = file.isEmpty() ? questionnaire_files::testFolder(app(), name) +
                                                   QDir::separator() + QStringLiteral("vt") +
                                                   number + QStringLiteral(".txt")
                                             : file;
        tell(tester_window_texts::text("questionUnreadable"), QDir::toNativeSeparators(shown));
        return std::nullopt;
    }
    // A field the teacher edits shows the text without the line end its file adds, so
    // that saving it unchanged gives the same file back.
    return editing() ? platform::withoutFinalLineEnd(*text) : *text;
}

void Form6::assignQuestion(const QString& definition) {
    const questionnaire_files::Question question =
        questionnaire_files::readQuestion(definition, Text1.text());
    auto answer = [&](int k) { txtq(k).setText(question.answers[std::size_t(k - 1)]); };
    auto points = [&](int k) {
        txtb(k).setText(scoring::storedFieldNumber(question.points[std::size_t(k - 1)]));
    };
    // The order of the nested effects: q1, b1, q2 .. q5, b2 .. b5.
    answer(1);
    points(1);
    for (int k = 2; k <= 5; ++k)
        answer(k);
    for (int k = 2; k <= 5; ++k)
        points(k);
}

void Form6::readThresholds(const QString& definition) {
    const questionnaire_files::Header header = questionnaire_files::readHeader(definition);
    for (int k = 1; k <= 3; ++k)
        thresholdField(k).setText(
            scoring::storedFieldNumber(header.thresholds[std::size_t(k - 1)]));
}

void Form6::readConclusions() {
    QStringList unreadable;
    for (int k = 1; k <= 3; ++k) {
        const QString file = questionnaire_files::conclusionFilePath(app(), Text2.text(), k);
        const std::optional<QString> text = questionnaire_files::readTextFile(file);
        // In the editor a conclusion without a file is one not written yet.
        if (!text && !editing()) unreadable << QDir::toNativeSeparators(file);
        const QString shown = editing() ? platform::withoutFinalLineEnd(text.value_or(QString()))
                                        : text.value_or(QString());
        conclusionField(k).setText(shown);
        storedConclusions_[std::size_t(k - 1)] = shown;
    }
    if (!unreadable.isEmpty()) {
        tell(text("conclusionUnreadable"), unreadable.join(QLatin1Char('\n')));
    }
}

void Form6::finishLoadingTest(bool showEditor) {
    if (!Text2.text().isEmpty()) {
        Text4.setText(QString::number(questionnaire_files::countQuestions(
            questionnaire_files::testFolder(app(), Text2.text()))));
        if (showEditor) {
            // The name panel goes first: the window takes its height from what is left.
            Frame3.hide();
            showEditorPanel(true);
        }
    }
    Text12.setText(questionnaire_files::readHeader(Text3.text()).name);
    readThresholds(Text3.text());
    if (!Text2.text().isEmpty()) readConclusions();
}

void Form6::clearQuestionFields() {
    txtV.setText(QString());
    for (int k = 1; k <= 5; ++k)
        txtq(k).setText(QString());
    for (int k = 1; k <= 5; ++k)
        txtb(k).setText(kZero);
    for (int k = 1; k <= 5; ++k)
        txtn(k).setText(kZero);
}

void Form6::lockQuestion(bool locked) {
    txtV.setLocked(locked);
    for (int k = 1; k <= 5; ++k)
        txtq(k).setLocked(locked);
    // While taking, the only way on is an answer; the editor moves between questions.
    Text1.setLocked(locked);
}

void Form6::enableAnsweredOptions() {
    for (int k = 1; k <= 5; ++k)
        Option(k).setEnabled(!txtq(k).text().isEmpty());
}

TextBox& Form6::conclusionField(int k) { return k == 1 ? Text5 : k == 2 ? Text7 : Text6; }

TextBox& Form6::thresholdField(int k) { return k == 1 ? Text8 : k == 2 ? Text9 : Text10; }

void Form6::numberFieldChanged(TextBox& field, QString& accepted) {
    switch (scoring::checkFieldNumber(field.text())) {
    case scoring::FieldNumber::Kept:
        accepted = field.text();
        return;
    case scoring::FieldNumber::NotNumeric:
        field.setText(kZero);
        return;
    case scoring::FieldNumber::OutOfRange: {
        const QString refused = field.text();
        field.setText(accepted);
        tell(text("pointsRange"), refused);
        return;
    }
    }
}

// Taking.

void Form6::chooseTest() {
    const QString path = pathMessage();
    Label16.setCaption(path);
    app().message(path, kTitle);

    Option6.setValue(true);
    clearQuestionFields();
    Text2.setText(QString());
    // The old test is let go before the number returns to 1, which would load its first
    // question again: a cancelled or refused choice leaves no test at all.
    Text3.setText(QString());
    Text1.setText(QStringLiteral("1"));
    lockQuestion(true);
    intCntr_ = 1;
    Label1.setCaption(kChosen);

    Text3.setText(askForTest());
    if (Text3.text().isEmpty()) return;
    finishLoadingTest(false);
    enableAnsweredOptions();
    tellClass(class_status::State::TestAnswering);
}

void Form6::testPathChanged() {
    const QString definition = Text3.text();
    if (definition.isEmpty()) return;
    const QString name = questionnaire_files::readHeader(definition).name;
    std::optional<QString> question;
    bool readable = acceptTestName(name, definition);
    if (readable && Label1.caption() == kChosen && !Text1.text().isEmpty()) {
        question = readQuestionText(name, Text1.text());
        readable = question.has_value();
    }
    if (!readable) {
        // Nothing of a test that cannot be read is taken over: no test is chosen.
        Text3.setText(QString());
        return;
    }
    Text2.setText(name);
    assignQuestion(definition);
    if (question) txtV.setText(*question);
    loadedNumber_ = Text1.text();
}

void Form6::questionNumberChanged() {
    const QString number = Text1.text();
    if (Label1.caption() != kChosen) {
        clearQuestionFields();
        txtnTotal.setText(QString());
        loadedNumber_ = number;
        return;
    }
    const QString definition = Text3.text();
    const QString name =
        definition.isEmpty() ? Text2.text() : questionnaire_files::readHeader(definition).name;
    // The question's file is read first: a question that cannot be shown is not gone to.
    std::optional<QString> question;
    if (!number.isEmpty() && !name.isEmpty()) {
        question = acceptTestName(name, definition) ? readQuestionText(name, number) : std::nullopt;
        if (!question) {
            HandlerBlocker quiet(Text1);
            Text1.setText(loadedNumber_);
            return;
        }
    }
    if (!definition.isEmpty()) {
        Text2.setText(name);
        assignQuestion(definition);
        readThresholds(definition);
        if (editing()) writeBackConclusions();
    }
    if (question) txtV.setText(*question);
    loadedNumber_ = number;
}

void Form6::questionCountChanged() { Label14.setCaption(say(text("of")) + Text4.text()); }

void Form6::answerTextChanged(int k) {
    // An answer exists only with a text; the option shows that text.
    Option(k).setEnabled(!txtq(k).text().isEmpty());
    Option(k).setCaption(txtq(k).text());
    promptForNextNumber();
}

void Form6::chooseAnswer(int k) {
    txtn(k).setText(
        scoring::addPoints(txtn(k).text(), txtb(k).text(), app().locale().decimalSeparator()));
    if (Check1.checked() && !txtV.text().isEmpty())
        appendToReport(tester_report::answerLine(txtV.text(), txtq(k).text(), txtb(k).text()));
    next();
    if (k <= 4) Label16.setCaption(QString());
}

void Form6::next() {
    if (editing()) {
        stepInEditor();
        return;
    }
    const std::optional<Decimal> number = Decimal::parse(Text1.text());
    const std::optional<Decimal> count = Decimal::parse(Text4.text());
    if (!number || !count) {
        tell(text("noTestChosen"));
        Option6.setValue(true);
        return;
    }
    if (*number >= *count) {
        tell(text("testOver"));
        Option6.setValue(true);
        std::array<QString, 5> gathered;
        for (int k = 1; k <= 5; ++k)
            gathered[std::size_t(k - 1)] = txtn(k).text();
        txtnTotal.setText(scoring::total(gathered, app().locale().decimalSeparator()));
        return;
    }
    const QString following = QString::number(int(intCntr_) + 1);
    Text1.setText(following);
    // A question whose file could not be read was not gone to; the count stays with it.
    if (Text1.text() == following && intCntr_ < questionnaire_files::kMaxQuestion) ++intCntr_;
    Option6.setValue(true);
    tellClass(class_status::State::TestAnswering);
}

void Form6::totalChanged() {
    const QString total = txtnTotal.text();
    if (total.isEmpty()) return;
    const QString shownBefore = Label11.caption();
    const scoring::Conclusion conclusion =
        scoring::selectConclusion(total, Text8.text(), Text9.text(), Text10.text());
    switch (conclusion) {
    case scoring::Conclusion::First:
        Label11.setCaption(Text5.text());
        break;
    case scoring::Conclusion::Second:
        Label11.setCaption(Text7.text());
        break;
    case scoring::Conclusion::Third:
        Label11.setCaption(Text6.text());
        break;
    case scoring::Conclusion::None:
        // The panel keeps what it showed; a panel that never showed a conclusion says why
        // it has none rather than standing empty.
        if (shownBefore.isEmpty()) {
            Label11.setCaption(say(text("noConclusionFits")) + total);
        }
        break;
    }
    Frame6.show();
    app().classStatus().grade = total;
    app().classStatus().verdict = Label11.caption();
    tellClass(class_status::State::Concluded);
    if (!Check1.checked()) return;
    tester_report::Result result;
    result.total = total;
    result.selected = conclusion == scoring::Conclusion::None ? shownBefore : Label11.caption();
    for (int k = 1; k <= 3; ++k) {
        result.conclusions[std::size_t(k - 1)] = conclusionField(k).text();
        result.thresholds[std::size_t(k - 1)] = thresholdField(k).text();
    }
    if (!appendToReport(tester_report::resultBlock(result))) {
        app().classStatus().reason = say(text("reportNotWritten")).trimmed();
        tellClass(class_status::State::NotSaved);
    }
}

void Form6::reset() {
    Text1.setText(QStringLiteral("1"));
    intCntr_ = 1;
    for (int k = 1; k <= 5; ++k)
        txtn(k).setText(kZero);
    txtnTotal.setText(QString());
    Option6.setValue(true);
    Frame6.hide();
    if (Check1.checked()) {
        // The name goes out and comes back, so that its change writes a new header; the
        // clipboard keeps it.
        platform::Clipboard& clipboard = app().services().clipboard;
        clipboard.setText(Text12.text());
        Text12.setText(QString());
        Text12.setText(clipboard.text());
    }
}

void Form6::reportSwitched() {
    if (Check1.checked() && !Text12.text().isEmpty()) writeHeader();
}

void Form6::reportNameChanged() {
    if (Check1.checked() && !Text12.text().isEmpty()) writeHeader();
}

void Form6::writeHeader() {
    const QDateTime now = app().services().clock.now();
    appendToReport(tester_report::headerBlock(Text12.text(), app().locale().shortTime(now.time()),
                                              app().locale().shortDate(now.date())));
}

bool Form6::appendToReport(const QString& record) {
    const QString file = app().path(QStringLiteral("s/lzm.txt"));
    const platform::WriteResult written = tester_report::append(file, record);
    if (written) return true;
    // The run goes on; the teacher must know that the report misses part of it.
    tell(text("reportNotWritten"), file + writeFailureNote(written, language()));
    return false;
}

void Form6::openReport() { app().services().shell.open(app().path(QStringLiteral("s/lzm.txt"))); }

// The password in force is the start window's; a window opened without one (as tests
// do) goes by the settings file.
bool Form6::passwordIsSet() {
    if (const Form1* start = app().loaded<Form1>()) return start->passwordIsSet();
    return !readSetting(app(), settings_keys::kPassword).isEmpty();
}

bool Form6::passwordAccepts(const QString& typed) {
    if (const Form1* start = app().loaded<Form1>()) return start->passwordAccepts(typed);
    return password::matches(typed, readSetting(app(), settings_keys::kPassword));
}

void Form6::behindPassword(void (Form6::*action)()) {
    if (!passwordIsSet()) {
        closePasswordPanel();
        (this->*action)();
        return;
    }
    // The editor writes tests and the report holds every student's answers: a student
    // reaches neither without the teacher's password.
    afterPassword_ = action;
    Text13.setText(QString());
    Frame9.show();
    requestFocus(Text13);
}

void Form6::checkPassword() {
    const bool accepted = passwordAccepts(Text13.text());
    Text13.setText(QString());
    if (!accepted) {
        tell(start_window_texts::text("wrongPassword"));
        requestFocus(Text13);
        return;
    }
    const auto action = afterPassword_;
    closePasswordPanel();
    if (action) (this->*action)();
}

void Form6::closePasswordPanel() {
    afterPassword_ = nullptr;
    Text13.setText(QString());
    Frame9.hide();
}

void Form6::exitProgram() {
    app().services().shell.open(app().path(QStringLiteral("plt.txt")));
    app().end();
}

void Form6::backToStart() {
    App& application = app();
    application.classStatus().startOver(class_status::Mode::None, class_status::State::Idle);
    application.tellClass();
    hide();
    application.unload(*this);
    Form1& start = application.window<Form1>();
    start.Frame3.show();
    start.Option3.setValue(true);
    start.show();
}
