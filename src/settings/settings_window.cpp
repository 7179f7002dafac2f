#include "settings/settings_window.h"

#include "common/documents.h"
#include "common/file_messages.h"
#include "common/grading.h"
#include "common/settings_file.h"
#include "common/window_utilities.h"
#include "exam_content/exam_folder.h"
#include "exam_content/folder_chooser.h"
#include "exam_content/ticket_editor.h"
#include "forms/app.h"
#include "forms/captions.h"
#include "shell/start_window.h"
#include "teacher_tools/class_window.h"
#include "teacher_tools/findings_window.h"

#include <QDir>

using namespace forms;
using settings_window_texts::text;

namespace keys = settings_keys;

namespace {
// The exam timers count seconds in 16 bits: 546 minutes is the most they can hold.
constexpr int kMaxTimerMinutes = 546;

} // namespace

Form4::Form4(App& app) : Window(app, kName) {
    setCaption(QStringLiteral("Проверон"));
    resize(9000, 7000);

    arrangePanels();
    keepLanguageIn(Label17);
    captions_.applyDesign();
    // The minutes rule refuses partial input, so the field takes what was typed only
    // once the teacher has finished typing it.
    Text2.setCommitOnFinish(true);

    for (int i = 1; i <= 20; ++i)
        Combo1.addItem(QString::number(i));
    Label1.setForeColor(colors::Red);
    Label7.setForeColor(colors::Green);

    // The evaluation table starts every run from these values.
    txt(1).setText(QStringLiteral("2"));
    txt(1).setForeColor(colors::Red);
    for (int i = 2; i <= 20; ++i)
        txt(i).setText(QStringLiteral("0"));
    txtV.setText(QStringLiteral("5"));
    txtZ.setText(QStringLiteral("0"));
    txtZ.setBold(true);
    txtZ.setLocked(true); // computed, never typed
    Label15.setCaption(QStringLiteral("1"));

    Timer1.setInterval(500);

    // Event table.
    Command2.onClick = [this] { switchLanguage(kRussian); };
    Command4.onClick = [this] { switchLanguage(kEnglish); };
    Command6.onClick = [this] { close(); };
    Command7.onClick = [this] { confirmYes(); };
    Command8.onClick = [this] { confirmNo(); };
    Label6.onClick = [this] { Command5.press(); };
    Command5.onClick = [this] { openEvaluationPanel(); };
    Label18.onClick = [this] {
        this->app().window<Form9>().show();
        hide();
    };
    Label8.onClick = [this] {
        this->app().window<Form7>().show();
        hide();
    };
    Command3.onClick = [this] {
        this->app().services().shell.open(this->app().path(QStringLiteral("s/oth.txt")));
    };
    Command12.onClick = [this] { this->app().window<Form10>().checkFolder(examFolder()); };
    Command10.onClick = [this] { openHelp(this->app()); };
    classView.onClick = [this] { this->app().window<Form11>().show(); };
    Option1.onClick = [this] { Label16.setCaption(QStringLiteral("1")); };
    Option2.onClick = [this] { Label16.setCaption(QStringLiteral("2")); };
    Check1.onClick = [this] { timerSwitchClicked(Check1, Check2); };
    Check2.onClick = [this] { timerSwitchClicked(Check2, Check1); };
    Text2.onChange = [this] { applyMinutesRule(); };
    Timer1.onTick = [this] { clockTick(); };
    for (int i = 1; i <= 20; ++i)
        txt(i).onChange = [this, i] { evaluationChanged(i); };
    txtV.onChange = [this] { countChanged(); };
    Command11.onClick = [this] { setAllToFive(); };
    Command1.onClick = [this] { takeOver(); };
    Command9.onClick = [this] { closeEvaluationPanel(); };
}

void Form4::arrangePanels() {
    place(Frame3,
          {&Frame2, &Frame5, &Frame6, &Frame1, &Frame10, &Frame8, &Frame11, &Frame7, &Frame9,
           &Check3, &Check4, &Check5, &Command6, &Command3, &classView, &Command10});
    place(Frame2, {&Text3});
    place(Frame5, {&Combo1});
    place(Frame6, {&Text5, &Label2, &Label6, &Command5});
    place(Frame1,
          {&Check1, &Check2, &Text2, &Label11, &Label13, &Label15, &Label10, &Label35, &Label36});
    place(Frame10, {&Text12, &Label32});
    place(Frame8, {&Option1, &Option2, &Text4, &Label14, &Text1, &Label12, &Label16});
    place(Frame11, {&Text6, &Label19, &Label18, &Command12});
    place(Frame7, {&Label8});
    place(Frame9, {&Command2, &Command4, &Label17});
    place(Frame12, {&Label20, &Command7, &Command8});
    place(Frame4, {&txtV, &txtZ, &Command11, &Command1, &Command9, &Label4, &Label1, &Label7,
                   &Label3, &Label5});
    for (int i = 1; i <= 20; ++i)
        txt(i).setContainer(&Frame4);
}

void Form4::load() {
    DisableXbutton(*this);
    // The settings in force are made once per run, here; a file that cannot be read would
    // give them all empty, and the language to say it in is in that file.
    if (settingsFileUnreadable(app())) {
        const QString file = QDir::toNativeSeparators(app().settingsFile());
        app().message(
            QStringLiteral("Не удалось прочитать файл настроек:\n%1\nНастройка закрыта, пока "
                           "файл не будет исправлен.\n\nCould not read the settings file:\n%1\n"
                           "The settings stay closed until the file is fixed.")
                .arg(file),
            QStringLiteral("Проверон"));
    }

    auto read = [this](const QString& key) { return readSetting(app(), key); };
    Text3.setText(read(keys::kTickets));
    Combo1.setText(read(keys::kQuestions));
    Text5.setText(read(keys::kPassingScore));
    // The minutes rule runs on this assignment even when the text does not change.
    Text2.assignAndRun(read(keys::kMinutes));
    Text12.setText(read(keys::kPassword));
    const QString alwaysSave = read(keys::kAlwaysSave);
    const QString showRight = read(keys::kShowRight);
    switchesStored_ = {!alwaysSave.isEmpty(), !showRight.isEmpty()};
    Check4.setValue(alwaysSave == QLatin1String("1") ? 1 : 0);
    Check5.setValue(showRight == QLatin1String("0") ? 0 : 1);
    Text4.setText(read(keys::kPictureWidth));
    Text1.setText(read(keys::kPictureHeight));
    Label16.setCaption(read(keys::kPictureMode));
    Label17.setCaption(app().language());
    // Kept as stored: a folder relative to the application folder stays relative, so the
    // application folder can move as a whole; examFolder() resolves it where it is used.
    Text6.setText(read(keys::kExamFolder));

    Label15.hide();
    Label16.hide();
    Label17.hide();
    Frame3.show();
    Frame4.hide();
    Frame9.hide();
    Frame12.hide();
    Command5.hide();

    if (Label16.caption() == QLatin1String("1")) {
        Option1.setValue(true);
    } else {
        Option2.setValue(true);
    }
    Timer1.setEnabled(true);

    if (isKnownLanguage(Label17.caption())) applyLanguage(Label17.caption());
}

void Form4::applyMinutesRule() {
    const auto minutes = Decimal::parse(Text2.text());
    const auto whole = minutes ? toInt16(*minutes) : std::nullopt;
    // A negative number of minutes would give a countdown that never reaches zero.
    if (whole && *whole >= 0 && *whole <= kMaxTimerMinutes) {
        Label15.setCaption(*whole == 0 ? QStringLiteral("1") : QString::number(*whole));
        return;
    }
    app().message(QStringLiteral("В минутах установите целые числа 1, 2 , .....30..... "),
                  QStringLiteral("Внимание!"), true);
    Text2.setText(QStringLiteral("1"));
}

QString Form4::examFolder() const {
    return exam_folder::resolveExamFolder(app().folder(), Text6.text());
}

int Form4::timerSeconds() const {
    const auto minutes = Decimal::parse(Label15.caption());
    const auto whole = minutes ? toInt16(*minutes) : std::nullopt;
    if (!whole || *whole < 1 || *whole > kMaxTimerMinutes) return 60;
    return *whole * 60;
}

void Form4::applyLanguage(const QString& language) { captions_.apply(language); }

void Form4::switchLanguage(const QString& language) {
    Label17.setCaption(language);
    // The language is kept at once, whether or not the other settings are saved.
    const platform::WriteResult stored = app().switchLanguage(language);
    applyLanguage(language);
    if (!stored) tellLanguageNotStored();
}

void Form4::tellLanguageNotStored() {
    app().message(
        say(text("languageNotStored")).arg(QDir::toNativeSeparators(app().settingsFile())),
        QStringLiteral("Проверон"));
}

void Form4::close() {
    const auto score = Decimal::parse(Text5.text());
    if (!score || score->isZero()) {
        Frame12.move(120, 120, 8055, 6375);
        Frame12.show();
        return;
    }
    finishClose();
}

void Form4::finishClose() {
    // A save that fails keeps the window open with every value, so nothing typed is lost
    // and the teacher can try again (or untick the box and close without saving).
    const bool saving = Check3.checked();
    if (saving && !saveSettings()) return;
    Form1& start = app().window<Form1>();
    if (saving) start.passwordSaved(Text12.text());
    start.show();

    const QString language = Label17.caption();
    start.relabel(language);
    applyLanguage(language);

    // A folder without a readable marker file simply has no title.
    start.Text4.setText(exam_folder::readExamTitle(examFolder()).value_or(QString()));
    start.Text3.setText(Text3.text());

    start.show();
    hide();
    Check3.setValue(0);
}

bool Form4::saveSettings() {
    // One replacement of the file for all the keys: a failure leaves the file as it was,
    // never half saved.
    QList<platform::ProfileEntry> entries{
        {keys::kTickets, Text3.text()},       {keys::kQuestions, Combo1.text()},
        {keys::kPassingScore, Text5.text()},  {keys::kMinutes, Text2.text()},
        {keys::kPassword, Text12.text()},     {keys::kPictureWidth, Text4.text()},
        {keys::kPictureHeight, Text1.text()}, {keys::kPictureMode, Label16.caption()},
        {keys::kExamFolder, Text6.text()}};
    // The teacher's two exam switches join the file only once set away from their
    // defaults; from then on they are kept.
    std::array<bool, 2> stored = switchesStored_;
    auto optional = [&](const QString& key, bool& isStored, bool isDefault, const char* value) {
        if (isDefault && !isStored) return;
        entries.append({key, QString::fromLatin1(value)});
        isStored = true;
    };
    optional(keys::kAlwaysSave, stored[0], !Check4.checked(), Check4.checked() ? "1" : "0");
    optional(keys::kShowRight, stored[1], Check5.checked(), Check5.checked() ? "1" : "0");
    const platform::WriteResult saved = storeSettings(app(), entries);
    if (saved) {
        switchesStored_ = stored;
        return true;
    }
    app().message(say(text("settingsNotSaved")) + QDir::toNativeSeparators(app().settingsFile()) +
                      writeFailureNote(saved, language()),
                  QStringLiteral("Проверон"));
    return false;
}

void Form4::confirmNo() {
    finishClose();
    Frame12.hide();
}

void Form4::confirmYes() {
    Command5.press();
    Frame12.hide();
}

void Form4::timerSwitchClicked(CheckBox& clicked, CheckBox& other) {
    clicked.setEnabled(true);
    other.setEnabled(!clicked.checked());
    Label13.setCaption(clicked.checked() ? QStringLiteral("Таймер включен") : QString());
}

void Form4::clockTick() {
    const QDateTime now = app().services().clock.now();
    Label35.setCaption(app().locale().shortTime(now.time()));
    Label36.setCaption(app().locale().shortDate(now.date()));
}

// Evaluation table.

namespace {
// Fields in use keep the window background and are open; the others are black and locked.
void paintFields(Form4& window, int count, bool setLocks) {
    for (int i = 1; i <= 20; ++i) {
        const bool inUse = i <= count;
        window.txt(i).setBackColor(inUse ? colors::WindowBackground : colors::Black);
        if (setLocks) window.txt(i).setLocked(!inUse);
    }
}
} // namespace

void Form4::openEvaluationPanel() {
    Frame3.hide();
    Frame4.move(1800, 120, 5055, 4095);
    Frame4.show();
    txtV.setText(Combo1.text());
    if (auto count = grading::questionCount(Combo1.text()))
        paintFields(*this, int(std::min<std::int64_t>(*count, 20)), true);
}

namespace {
// Why the table gives no passing score, or the score it gives.
struct TableScore {
    std::optional<Decimal> score;
    bool badCount = false; // the question count is no whole number above zero
    int badField = 0;      // the first field in use that holds no number
};

// The passing score of the table: the average of the fields in use. Fields beyond the
// question count keep their text but stay out of the sum, so a lowered count cannot
// give a score above 5.
TableScore tableScore(Form4& window) {
    const auto count = grading::questionCount(window.txtV.text());
    if (!count) return {std::nullopt, true, 0};
    QStringList inUse;
    for (int i = 1; i <= std::min<std::int64_t>(*count, 20); ++i) {
        if (!Decimal::isNumeric(window.txt(i).text())) return {std::nullopt, false, i};
        inUse << window.txt(i).text();
    }
    const auto sum = grading::sumEvaluations(inUse);
    return {sum ? grading::average(*sum, window.txtV.text()) : std::nullopt, !sum, 0};
}

bool anyFieldEmpty(const Form4& window) {
    for (int i = 1; i <= 20; ++i) {
        if (window.txt(i).text().isEmpty()) return true;
    }
    return false;
}
} // namespace

void Form4::evaluationChanged(int n) {
    const auto value = Decimal::parse(txt(n).text());
    const bool valid = value && (*value == Decimal::fromInt(2) || *value == Decimal::fromInt(5));
    if (!anyFieldEmpty(*this) && !valid) {
        app().message(QStringLiteral("2 или/or 5"), QString());
        txt(n).setText(QString());
        return;
    }
    if (!anyFieldEmpty(*this))
        txt(n).setForeColor(*value == Decimal::fromInt(2) ? colors::Red : colors::Green);
    showScore();
}

void Form4::showScore() {
    Decimal score;
    if (!anyFieldEmpty(*this)) {
        const TableScore computed = tableScore(*this);
        if (computed.score) {
            score = *computed.score;
        } else {
            showTableFault(computed.badField);
        }
    }
    txtZ.setText(score.toText(app().locale().decimalSeparator()));
}

void Form4::countChanged() {
    if (txtV.text() == QLatin1String("0")) return;
    Decimal score;
    if (!anyFieldEmpty(*this)) {
        const TableScore computed = tableScore(*this);
        if (computed.score) {
            score = *computed.score;
            paintFields(*this,
                        int(std::min<std::int64_t>(*grading::questionCount(txtV.text()), 20)),
                        false);
        } else {
            showTableFault(computed.badField);
        }
    } else {
        showNoValues();
    }
    txtZ.setText(score.toText(app().locale().decimalSeparator()));
}

void Form4::setAllToFive() {
    int unlocked = 0;
    while (unlocked < 20 && !txt(unlocked + 1).locked())
        ++unlocked;
    for (int i = unlocked + 1; i <= 20; ++i) {
        if (!txt(i).locked()) return; // the locks form no pattern
    }
    if (unlocked < 2) return;
    // One action, one score: the fields are filled quietly and the score follows once,
    // with at most one message.
    for (int i = 2; i <= unlocked; ++i) {
        HandlerBlocker quiet(txt(i));
        txt(i).setText(QStringLiteral("5"));
        txt(i).setForeColor(colors::Green);
    }
    showScore();
}

void Form4::takeOver() {
    if (txtZ.text() != QLatin1String("0")) {
        Text5.setText(txtZ.text());
        Frame3.show();
        Frame4.hide();
    } else {
        showNoValues();
    }
}

void Form4::closeEvaluationPanel() {
    Frame3.show();
    Frame4.hide();
}

void Form4::showNoValues() { app().message(say(text("noValues")), QString()); }

void Form4::showTableFault(int badField) {
    app().message(badField > 0 ? say(text("badEvaluation")).arg(badField)
                               : say(text("badQuestionCount")),
                  QStringLiteral("Проверон"));
}
