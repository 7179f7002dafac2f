#include "shell/start_window.h"

#include "common/decimal.h"
#include "common/documents.h"
#include "common/settings_file.h"
#include "common/window_utilities.h"
#include "exam_content/exam_folder.h"
#include "exam_content/exam_writer.h"
#include "exam_content/folder_chooser.h"
#include "exam_taking/picture_viewer.h"
#include "exam_taking/ticket_window.h"
#include "forms/app.h"
#include "forms/captions.h"
#include "settings/settings_window.h"
#include "tester/tester_window.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

using namespace forms;
using start_window_texts::text;

namespace {

const QString kProduct = QStringLiteral("Проверон");

// Window size in twips.
constexpr int kWidth = 9000;
constexpr int kHeight = 7800;

// The ticket count as a number of tickets to draw from; nothing when it is empty, not a
// number, not whole or below one.
std::optional<std::int64_t> ticketCount(const QString& text) {
    const auto count = Decimal::parse(text);
    if (!count || count->units() % Decimal::kScale != 0) return std::nullopt;
    const std::int64_t whole = count->units() / Decimal::kScale;
    if (whole < 1) return std::nullopt;
    return whole;
}

// Int(count x r) + 1: every number 1 .. count is equally likely for r in [0, 1).
std::int64_t drawTicket(std::int64_t count, double r) {
    const auto drawn = static_cast<std::int64_t>(std::floor(double(count) * r)) + 1;
    // r just below one times a huge count may round up to the count itself.
    return std::clamp<std::int64_t>(drawn, 1, count);
}

} // namespace

Form1::Form1(App& app) : Window(app, kName) {
    setCaption(QStringLiteral("Проверон 2 в 1 v 3.5"));
    resize(kWidth, kHeight); // opened in the middle of the screen

    place(Frame3, {&Option1, &Option2, &Option3, &Command4});
    place(Frame9, {&Text9, &Text10, &Text11, &Text13, &Label31, &Command14, &Label6});
    place(Frame1, {&Command1, &Check1, &Text1, &Label1, &Label2, &Command3, &Label9});
    place(Frame2, {&Label3, &Text2, &Command15});

    keepLanguageIn(Label4);
    captions_.applyDesign();

    // State holders are never shown.
    for (Control* holder : std::initializer_list<Control*>{&q1, &o1, &v1, &Label4})
        holder->hide();
    Timer1.setInterval(500);
    Label8.setBold(true);
    Label1.setBold(true);

    // Event table.
    Option1.onClick = [this] { chooseExamMode(); };
    Option2.onClick = [this] { chooseTestMode(); };
    Command14.onClick = [this] { confirmName(); };
    Label6.onClick = [this] { backFromNamePanel(); };
    Label9.onClick = [this] { backFromTicketPanel(); };
    Command1.onClick = [this] { drawRandomTicket(); };
    Check1.onClick = [this] { manualEntrySwitched(); };
    Text1.onChange = [this] { ticketNumberChanged(); };
    Label1.onChange = [this] { chosenTicketChanged(); };
    Timer1.onTick = [this] { delayElapsed(); };
    Label2.onClick = [this] { Label1.setCaption(QString()); };
    Command3.onClick = [this] { openTicket(); };
    Command15.onClick = [this] { openSettings(); };
    Command10.onClick = [this] { openHelp(this->app()); };
    Command2.onClick = [this] { exitProgram(); };
    Command4.onClick = [this] { exitProgram(); };
    Label13.onClick = [this] { switchLanguage(kRussian); };
    Label7.onClick = [this] { switchLanguage(kEnglish); };
    Text4.onChange = [this] { Label8.setCaption(Text4.text()); };
}

void Form1::load() {
    const QString file = app().settingsFile();
    Label10.setCaption(
        GetValueString(settings_keys::kRegistrationSection, settings_keys::kRegistration, file));
    DisableXbutton(*this);
    app().services().random.seedFromClock();
    Option3.hide();

    Form4& settings = app().window<Form4>();
    Text3.setText(settings.Text3.text());
    Text12.setText(readSetting(app(), settings_keys::kPassword));
    passwordUnknown_ = settingsFileUnreadable(app());
    Label4.setCaption(app().language());
    Timer1.setEnabled(false);

    // A folder without a readable marker file simply has no title.
    Text4.setText(exam_folder::readExamTitle(settings.examFolder()).value_or(QString()));

    for (Control* hidden : std::initializer_list<Control*>{&Text4, &Label8, &Text1, &Frame1,
                                                           &Frame2, &Text3, &Text12, &Label10}) {
        hidden->hide();
    }
    Command3.setEnabled(false);
    Frame9.show();

    relabel(Label4.caption());
    requestFocus(Text9);
}

void Form1::tell(const texts::Text& message, const QString& suffix, const QString& title,
                 const QString& argument) {
    QString shown = say(message);
    if (!argument.isNull()) shown = shown.arg(argument);
    app().message(shown + suffix, title.isNull() ? kProduct : title);
}

void Form1::showWrongPassword() { tell(text("wrongPassword")); }

// Mode choice.

void Form1::chooseExamMode() {
    Frame3.hide();
    Frame9.show();
    Frame1.hide();
    Text9.setText(QString());
    requestFocus(Text9);
}

void Form1::chooseTestMode() {
    app().window<Form6>().show();
    hide();
    Frame3.hide();
}

void Form1::confirmName() {
    // With the mode choice on screen and neither mode ticked, Enter in the name would
    // otherwise go on to an exam the student never chose.
    if (Frame3.visible() && !Option1.value() && !Option2.value()) {
        tell(text("chooseMode"));
        requestFocus(Option1);
        return;
    }
    if (Text9.text().isEmpty()) {
        tell(text("enterName"));
        requestFocus(Text9);
        return;
    }
    // The report is written in Windows-1251: a letter it cannot hold would be stored as
    // "?" without a word.
    for (TextBox* field : {&Text9, &Text10, &Text11, &Text13}) {
        if (const auto character = exam_writer::firstUnwritableCharacter(field->text())) {
            tell(text("unwritableCharacter"), QString(), QString(), *character);
            requestFocus(*field);
            return;
        }
    }
    QStringList data;
    for (const TextBox* field : {&Text10, &Text11, &Text13})
        if (!field->text().trimmed().isEmpty()) data << field->text().trimmed();
    app().classStatus().startOver(class_status::Mode::Exam, class_status::State::ChoosingTicket,
                                  Text9.text(), data.join(QLatin1Char(' ')));
    app().classStatus().subject = Text4.text();
    app().tellClass();
    Frame9.hide();
    Frame1.show();
    Frame2.show();
    Text1.setText(QString());
    leaveManualEntry();
    Label1.setCaption(QString());
    Label8.show();
    requestFocus(Command1);
}

void Form1::backFromNamePanel() {
    Frame3.show();
    Option3.setValue(true);
}

void Form1::backFromTicketPanel() {
    Frame3.show();
    Frame9.show();
    Frame1.hide();
    // The password belongs to the ticket choice it came with; it leaves with it.
    Frame2.hide();
    Text2.setText(QString());
    Text9.setText(QString());
    Option3.setValue(true);
    Label8.hide();
    requestFocus(Text9);
}

// Ticket choice.

void Form1::drawRandomTicket() {
    Form4& settings = app().window<Form4>();
    const QString examFolder = settings.examFolder();
    if (examFolder.isEmpty()) {
        tell(text("noExamFolder"), QString(), say(text("attention")));
        Form9& chooser = app().window<Form9>();
        chooser.Dir1.setPath(app().path(QStringLiteral("b")));
        chooser.show();
        hide();
        return;
    }
    if (!QFileInfo(examFolder).isDir()) {
        // Moved or taken away (an application folder copied elsewhere with an absolute
        // exam folder in test.ini): drawing would only find no ticket, without a word.
        tell(text("examFolderMissing"),
             QDir::toNativeSeparators(examFolder) + say(text("askTeacherForExam")),
             say(text("attention")));
        return;
    }
    const auto count = ticketCount(Text3.text());
    if (!count) {
        // Drawing from a broken count would only pick tickets that do not exist.
        tell(text("badTicketCount"));
        return;
    }
    const std::int64_t number = drawTicket(*count, app().services().random.next());
    Text1.setText(QString::number(number));
    Label1.setCaption(exam_folder::lookUpEntry(
        examFolder, exam_folder::ticketFolderName(QString::number(number))));
    Timer1.setEnabled(true);
}

void Form1::ticketNumberChanged() {
    Label1.setCaption(exam_folder::ticketFolderName(Text1.text()));
}

void Form1::chosenTicketChanged() {
    if (Label1.caption().isEmpty()) {
        Command3.setEnabled(false);
        return;
    }
    // A name that is no plain folder name ("b../b1") has no folder, hence no files.
    const QString ticketFolder =
        exam_folder::ticketFolderPath(app().window<Form4>().examFolder(), Label1.caption());
    v1.setCaption(exam_folder::lookUpQuestionFile(ticketFolder, 'v', 1));
    o1.setCaption(exam_folder::lookUpQuestionFile(ticketFolder, 'o', 1));
    q1.setCaption(exam_folder::lookUpQuestionFile(ticketFolder, 'q', 1));
    Command3.setEnabled(true);
}

void Form1::delayElapsed() {
    if (!Label1.caption().isEmpty()) {
        Command3.setEnabled(true);
        requestFocus(Command3);
    } else {
        Label1.setCaption(QString());
    }
    Timer1.setEnabled(false);
}

void Form1::manualEntrySwitched() {
    if (!passwordMatches()) {
        const bool wasManual = Text1.visible();
        untickQuietly();
        // A refused untick still unticks: the panel follows the box back to the draw.
        if (wasManual) showDrawControls();
        showWrongPassword();
        return;
    }
    if (Check1.checked()) {
        Text1.show();
        Command1.setEnabled(false);
        Label2.setEnabled(false);
    } else {
        showDrawControls();
    }
}

void Form1::showDrawControls() {
    Text1.hide();
    Command1.setEnabled(true);
    Label2.setEnabled(true);
    Text1.setText(QString());
}

void Form1::untickQuietly() {
    // Our own untick must not run the switch again: one refusal, one message.
    HandlerBlocker quiet(Check1);
    Check1.setValue(0);
}

void Form1::leaveManualEntry() {
    // The program resetting the panel needs no password: the student did not touch the
    // box, and the panel must come back to the random draw.
    if (!Check1.checked()) return;
    untickQuietly();
    showDrawControls();
}

void Form1::openTicket() {
    if (!q1.caption().isEmpty() && !o1.caption().isEmpty() && !v1.caption().isEmpty()) {
        Form3& viewer = app().window<Form3>();
        viewer.show();
        Form2& ticket = app().window<Form2>();
        ticket.show();
        hide();
        ticket.move(viewer.Image1.width() + 100, 0);
    } else {
        // The number as the user knew it, before the reset below clears it.
        const QString reference = Text1.text();
        Text1.setText(QString());
        Label1.setCaption(QString());
        leaveManualEntry();
        tell(text("noQuestionInTicket"), reference);
    }
    q1.setCaption(QString());
    o1.setCaption(QString());
    v1.setCaption(QString());
    Label8.hide();
}

// Settings, documents, languages.

void Form1::openSettings() {
    if (passwordMatches()) {
        // The teacher at this computer is no student: the class sees it waiting.
        app().classStatus().startOver(class_status::Mode::None, class_status::State::Idle);
        app().tellClass();
        app().window<Form4>().show();
        hide();
    } else {
        showWrongPassword();
    }
    Text2.setText(QString());
}

void Form1::exitProgram() {
    app().services().shell.open(app().path(QStringLiteral("plt.txt")));
    app().end();
}

void Form1::switchLanguage(const QString& language) {
    App& application = app();
    hide();
    application.unload(*this);

    Form4& settings = application.window<Form4>();
    (language == kRussian ? settings.Command2 : settings.Command4).press();
    settings.Label17.setCaption(language);
    // The new start window reads the language in its load.
    application.window<Form1>().show();
}
