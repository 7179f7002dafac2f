#include "exam_taking/ticket_window.h"

#include "common/decimal.h"
#include "common/grading.h"
#include "common/settings_file.h"
#include "common/window_utilities.h"
#include "exam_content/exam_folder.h"
#include "exam_content/question_pictures.h"
#include "exam_taking/picture_viewer.h"
#include "exam_taking/results_window.h"
#include "exam_taking/ticket_window_texts.h"
#include "forms/app.h"
#include "forms/captions.h"
#include "platform/folders.h"
#include "settings/settings_window.h"
#include "shell/start_window.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace forms;
using ticket_window_texts::text;

namespace {

const QString kTitle = QStringLiteral("Проверон");

// Hidden evaluations hold "0" until answered; text that is no number counts as unanswered.
bool unanswered(const QString& evaluation) {
    return Decimal::parse(evaluation).value_or(Decimal()).isZero();
}

// The ticket folder can be seen as a folder now. Asked afresh: on a share whose client died
// a look-up may still claim the name exists, and only a folder that answers is reachable.
bool reachable(const QString& ticketFolder) {
    return !ticketFolder.isEmpty() && QFileInfo(ticketFolder).isDir();
}

} // namespace

Form2::Form2(App& app) : Window(app, kName) {
    setCaption(kTitle);
    resize(10500, 8400);

    for (int n = 1; n <= 20; ++n) {
        // The number is the button's own caption, so clicking it selects the question.
        Option(n).setCaption(QString::number(n));
        Option(n).setContainer(&Frame2);
        Shape(n).setContainer(&Frame2);
        txt(n).setContainer(&Frame1);
        txt(n).setText(QStringLiteral("0"));
    }
    place(Frame1, {&txtV, &txtZ, &Text5});

    keepLanguageIn(Label15);
    captions_.applyDesign();
    txtV.setText(QStringLiteral("5"));

    Text3.setMultiLine(true);
    Text3.setLocked(true);
    Text2.setLocked(true);
    Label17.setBold(true);
    Label27.setBold(true);
    Label5.setBold(true);
    Label28.setBold(true);
    Timer2.setInterval(1000);
    Timer2.setEnabled(false);
    Timer3.setInterval(1000);
    Timer3.setEnabled(false);

    // Event table.
    for (int n = 1; n <= 20; ++n)
        Option(n).onClick = [this, n] { selectQuestion(n); };
    List1.onClick = [this] { chooseAnswer(); };
    Text2.onChange = [this] { Command4.setEnabled(!Text2.text().isEmpty()); };
    Command4.onClick = [this] { checkAnswer(); };
    Command1.onClick = [this] { grade(); };
    txtZ.onChange = [this] { showVerdict(); };
    Timer2.onTick = [this] { ticketTimerTick(); };
    Timer3.onTick = [this] { questionTimerTick(); };
    Command2.onClick = [this] { close(); };
}

void Form2::load() {
    DisableXbutton(*this);
    KeepOnTop(*this, true);

    Label15.setCaption(app().language());

    Form1& start = app().window<Form1>();
    Form4& settings = app().window<Form4>();
    Text1.setText(start.Text1.text());
    Frame1.hide();
    Command3.hide();
    List2.hide();
    Label27.setCaption(start.Label8.caption());
    Command4.setEnabled(false);

    const bool timed = settings.Check1.checked() || settings.Check2.checked();
    Label14.setVisible(timed);
    Label28.setVisible(timed);

    const QString folder = ticketFolder();
    platform::listForLookUps(folder); // sixty names looked up: one listing
    for (int n = 1; n <= 20; ++n)
        v(n).setCaption(exam_folder::lookUpQuestionFile(folder, 'v', n));
    for (int n = 1; n <= 20; ++n)
        o(n).setCaption(exam_folder::lookUpQuestionFile(folder, 'o', n));
    for (int n = 1; n <= 20; ++n)
        q(n).setCaption(exam_folder::lookUpQuestionFile(folder, 'q', n));

    Text5.setText(settings.Text5.text());
    txtV.setText(settings.Combo1.text());

    for (int n = 2; n <= 20; ++n)
        Option(n).setEnabled(false);

    for (int n = 1; n <= 20; ++n) {
        const bool incomplete = o(n).caption().isEmpty() || v(n).caption().isEmpty();
        if (incomplete) {
            Shape(n).setBackColor(colors::WindowText);
            Option(n).setBackColor(colors::WindowText);
        }
        if (n == 1) {
            if (incomplete) {
                Option(1).setValue(false);
                Option(1).setEnabled(false);
            } else {
                Option(1).setValue(true); // selects question 1
                Option(1).setEnabled(true);
            }
        }
    }

    if (settings.Check1.checked()) {
        Timer2.setEnabled(true);
        startCountdown(settings.timerSeconds());
    } else {
        Timer2.setEnabled(false);
    }
    startQuestionTimer();

    const QString& language = Label15.caption();
    captions_.apply(language);
    // The ticket caption goes into the results and the exam report, so it is set in any
    // language; the built-in one is Russian.
    const QString ticket = say(text("ticketPrefix"));
    Label17.setCaption(ticket + start.Label1.caption());
    tellClass();
}

void Form2::tellClass() {
    class_status::Status& status = app().classStatus();
    status.mode = class_status::Mode::Exam;
    status.ticket = Text1.text();
    status.question = 0;
    status.answered = 0;
    // The question the student is at: the open one not yet answered, else the one chosen.
    int open = 0;
    for (int n = 1; n <= 20; ++n) {
        if (Option(n).value()) status.question = n;
        if (!unanswered(txt(n).text()))
            ++status.answered;
        else if (open == 0 && Option(n).enabled())
            open = n;
    }
    if (open != 0) status.question = open;
    status.questions = int(grading::questionCount(txtV.text()).value_or(0));
    status.secondsLeft = timed() ? std::max(0, int(countdown_)) : -1;
    const bool graded = !Label5.caption().isEmpty();
    status.state = graded ? class_status::State::ResultShown : class_status::State::Answering;
    status.grade = graded && txtZ.text() != QLatin1String("0") ? txtZ.text() : QString();
    status.verdict = Label5.caption();
    status.passed = graded && Label5.foreColor() == colors::Green;
    status.timedOut = failedOnTime_;
    app().tellClass();
}

bool Form2::timed() const { return Timer2.enabled() || Timer3.enabled(); }

QString Form2::ticketFolder() const {
    return exam_folder::ticketFolderPath(app().window<Form4>().examFolder(),
                                         exam_folder::ticketFolderName(Text1.text()));
}

void Form2::tell(const QString& message) { app().message(message, kTitle); }

void Form2::selectQuestion(int n) {
    Form3* viewer = app().loaded<Form3>();
    if (n >= 2) {
        // Once the ticket's time is up, no further question can be answered.
        if (!ticketTimeUp_) List1.setEnabled(true);
        if (viewer) viewer->Image1.clearPicture();
    }
    const QString folder = ticketFolder();
    platform::listForLookUps(folder); // a picture that is not there is known from it too
    Text4.setText(exam_folder::lookUpQuestionFile(folder, 'k', n));

    // Looked up again for a later question: its flag was taken at load, and a question
    // text deleted since then ends the exam like one that never was there.
    const bool textPresent =
        n == 1 ? !o(1).caption().isEmpty() && !v(1).caption().isEmpty() && !q(1).caption().isEmpty()
               : !q(n).caption().isEmpty() &&
                     !exam_folder::lookUpQuestionFile(folder, 'q', n).isEmpty();
    if (n >= 2 && !textPresent) {
        interruptExam(n);
        return;
    }

    // Everything is read before anything is shown, so that a file that cannot be read
    // leaves no half-loaded question behind.
    const std::optional<QStringList> variants = exam_folder::readVariants(folder, n);
    const std::optional<QStringList> answers = exam_folder::readAnswerLines(folder, n);
    QImage picture;
    if (!Text4.text().isEmpty()) picture = exam_folder::loadPicture(folder, n);
    std::optional<QString> text;
    if (textPresent) text = exam_folder::readQuestionText(folder, n);

    QString unreadable;
    if (!variants) {
        unreadable = exam_folder::questionFileName('v', n);
    } else if (!answers) {
        unreadable = exam_folder::questionFileName('o', n);
    } else if (textPresent && !text) {
        unreadable = exam_folder::questionFileName('q', n);
    }
    if (!unreadable.isEmpty() || (!Text4.text().isEmpty() && picture.isNull())) {
        // A share that went away between the look-up and the read is no damaged question.
        if (n >= 2 && !reachable(folder)) {
            interruptExam(n);
            return;
        }
        refuseQuestion(n, unreadable);
        return;
    }

    List1.setItems(*variants);
    List2.setItems(*answers);
    List2.setListIndex(0);

    // The question's picture, or none: never the last question's.
    Image1.setPicture(picture);
    if (n >= 2 && viewer && !picture.isNull()) viewer->Image1.setPicture(picture);

    if (textPresent) {
        Text3.setText(*text);
    } else {
        if (viewer) viewer->Frame8.hide();
        app().message(QStringLiteral("Нет вопроса! Нажмите ОК и затем кнопку Закрыть. Создайте "
                                     "вопрос в настройках!"),
                      kTitle);
    }

    startQuestionTimer();
    requestFocus(List1);
}

void Form2::refuseQuestion(int n, const QString& unreadableFile) {
    List1.clear();
    List2.clear();
    Text3.setText(QString());
    const QString number = QString::number(n);
    if (!unreadableFile.isEmpty()) {
        tell(say(text("fileUnreadable")).arg(unreadableFile, number));
    } else {
        tell(say(text("pictureUnreadable")).arg(Text4.text(), number));
    }
    Text4.setText(QString());
}

void Form2::interruptExam(int n) {
    Timer2.setEnabled(false);
    Timer3.setEnabled(false);
    const QString folder = ticketFolder();
    if (reachable(folder)) {
        app().message(QStringLiteral("Нет вопроса"), kTitle);
    } else {
        // A share dropped or a folder renamed under a running exam: said plainly, so that
        // nobody takes it for a broken question.
        const QString examFolder = app().window<Form4>().examFolder();
        tell(say(text("examFolderGone"))
                 .arg(QDir::toNativeSeparators(examFolder), QString::number(n)));
    }

    // The questions the ticket would still have asked, from the one that did not open on.
    const int count = int(std::clamp<std::int64_t>(grading::questionCount(txtV.text()).value_or(20),
                                                   std::int64_t(n), std::int64_t(20)));
    int last = n;
    while (last < count && !v(last + 1).caption().isEmpty() && !o(last + 1).caption().isEmpty() &&
           !q(last + 1).caption().isEmpty())
        ++last;
    // "3", "3, 4", "3–20": short enough for the verdict's line.
    const QString notReached = last == n       ? QString::number(n)
                               : last == n + 1 ? QStringLiteral("%1, %2").arg(n).arg(last)
                                               : QStringLiteral("%1–%2").arg(n).arg(last);
    // A ticket already failed on time keeps that verdict: nothing later could be answered.
    if (!failedOnTime_) {
        Label5.setForeColor(colors::Red);
        Label5.setCaption(say(text("notFinished")).arg(notReached));
    }

    // The start window would otherwise keep this ticket chosen with its flags already
    // cleared, and drawing the same number again could not open anything.
    app().window<Form1>().Label1.setCaption(QString());
    // The answers given are the student's: they go to the results and the report.
    close();
}

void Form2::chooseAnswer() { Text2.setText(List1.selectedText()); }

void Form2::checkAnswer() {
    List1.setEnabled(false);

    int n = 0;
    for (int i = 1; i <= 20 && n == 0; ++i) {
        if (Option(i).value()) n = i;
    }
    if (n != 0) {
        const QString chosen = List1.selectedText();
        const QString correct = List2.selectedText();
        // Exact on purpose: case and spaces are part of the answer.
        const bool right = chosen == correct;
        txt(n).setText(right ? QStringLiteral("5") : QStringLiteral("2"));
        const Color mark = right ? colors::Green : colors::Red;
        Shape(n).setBackColor(mark);
        Option(n).setBackColor(mark);

        Form5& results = app().window<Form5>();
        results.v(n).setCaption(chosen);
        results.o(n).setCaption(correct);

        // Once no further question can open, every question of the ticket is checked and
        // the ticket's time no longer runs: a grade given cannot be failed on time later.
        bool nextOpens = false;
        if (n < 20) {
            const bool nextExists = !v(n + 1).caption().isEmpty() &&
                                    !o(n + 1).caption().isEmpty() && !q(n + 1).caption().isEmpty();
            if (nextExists) {
                const std::optional<Decimal> count = Decimal::parse(txtV.text());
                if (count && *count > Decimal::fromInt(n)) {
                    Option(n).setEnabled(false);
                    Option(n + 1).setEnabled(true);
                    nextOpens = true;
                    requestFocus(Option(n + 1));
                }
            } else {
                endOfTicket();
            }
        } else {
            endOfTicket();
            Command1.press();
        }
        if (!nextOpens) {
            Timer2.setEnabled(false);
            requestFocus(Command2);
        }
        q(n).setCaption(Text3.text());
        tellClass();
    }

    if (app().window<Form4>().Check2.checked()) Timer3.setEnabled(false);
    Text2.setText(QString());
}

void Form2::endOfTicket() {
    app().message(say(text("finished")), QString());
    Command1.press();
}

void Form2::grade() {
    const QString& passingText = app().window<Form4>().Text5.text();
    const std::optional<Decimal> passing = Decimal::parse(passingText);
    if (!passing && !passingText.trimmed().isEmpty()) {
        tell(say(text("passingNotNumber")));
        txtZ.setText(QStringLiteral("0"));
        return;
    }
    if (!passing || passing->isZero()) {
        tell(say(text("noPassingScore")));
        txtZ.setText(QStringLiteral("0"));
        return;
    }

    QStringList evaluations;
    for (int n = 1; n <= 20; ++n)
        evaluations << txt(n).text();
    const std::optional<Decimal> sum = grading::sumEvaluations(evaluations);
    if (!sum) {
        tell(say(text("evaluationsNotNumbers")));
        return;
    }
    const std::optional<Decimal> average =
        grading::questionCount(txtV.text()) ? grading::average(*sum, txtV.text()) : std::nullopt;
    if (!average) {
        tell(say(text("noQuestionCount")));
        return;
    }
    txtZ.setText(average->toText(app().locale().decimalSeparator()));
}

void Form2::showVerdict() {
    const std::optional<Decimal> passing = Decimal::parse(app().window<Form4>().Text5.text());
    if (!passing || passing->isZero()) return;

    const std::optional<Decimal> average = Decimal::parse(txtZ.text());
    const std::optional<Decimal> copied = Decimal::parse(Text5.text());
    const bool pass = average && copied && grading::passes(*average, *copied);
    Label5.setForeColor(pass ? colors::Green : colors::Red);
    const auto caption = pass ? byLanguage(Label15.caption(), "Зачет", "Delivered")
                              : byLanguage(Label15.caption(), "Не зачет", "Not deliver");
    if (caption) Label5.setCaption(*caption);
    tellClass();
}

void Form2::startQuestionTimer() {
    Form4& settings = app().window<Form4>();
    if (settings.Check2.checked()) {
        Timer3.setEnabled(true);
        startCountdown(settings.timerSeconds());
    } else {
        Timer3.setEnabled(false);
    }
}

void Form2::startCountdown(int seconds) {
    countdown_ = std::int16_t(seconds);
    deadline_ = app().services().clock.now().addSecs(seconds);
    Label28.setCaption(QString::number(countdown_));
}

void Form2::countDown() {
    // The time left is what the clock says, not the number of ticks: ticks are held back
    // while a message box is open and merged when the computer is busy.
    const double left = double(app().services().clock.now().msecsTo(deadline_)) / 1000.0;
    // A question timer that runs on after every question is answered keeps counting
    // below zero; it stops at the bottom of its 16 bits instead of wrapping round.
    using Limits = std::numeric_limits<std::int16_t>;
    countdown_ =
        std::int16_t(std::clamp<long long>(std::llround(left), Limits::min(), Limits::max()));
    Label28.setCaption(QString::number(countdown_));
    // The class view hears the time left with the next status written.
    app().classStatus().secondsLeft = std::max(0, int(countdown_));
}

void Form2::showTimeUp() {
    countdown_ = 0;
    Label28.setCaption(QStringLiteral("0"));
}

void Form2::ticketTimerTick() {
    countDown();
    if (countdown_ > 0) return;
    showTimeUp();
    ticketTimeUp_ = true;
    List1.setEnabled(false);
    Timer2.setEnabled(false);
    failOnTime();
}

void Form2::questionTimerTick() {
    const bool running = countdown_ > 0;
    countDown();
    // Once every question is answered the countdown just runs on below zero.
    if (countdown_ > 0 || !running) return;
    bool open = false;
    for (int n = 1; n <= 20 && !open; ++n)
        open = unanswered(txt(n).text());
    if (!open) return;
    showTimeUp();
    Timer3.setEnabled(false);
    List1.setEnabled(false);
    failOnTime();
}

void Form2::failOnTime() {
    failedOnTime_ = true;
    Label5.setForeColor(colors::Red);
    if (auto caption =
            byLanguage(Label15.caption(), "Не зачет по времени", "Not deliver on time")) {
        Label5.setCaption(*caption);
    }
    tellClass();
}

void Form2::close() { app().window<Form5>().fillFromTicketWindow(); }
