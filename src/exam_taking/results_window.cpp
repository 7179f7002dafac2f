#include "exam_taking/results_window.h"

#include "common/decimal.h"
#include "common/file_messages.h"
#include "common/settings_file.h"
#include "common/window_utilities.h"
#include "exam_taking/exam_report.h"
#include "exam_taking/picture_viewer.h"
#include "exam_taking/results_window_texts.h"
#include "exam_taking/ticket_window.h"
#include "forms/app.h"
#include "forms/captions.h"
#include "settings/settings_window.h"
#include "shell/start_window.h"
#include "shell/start_window_texts.h"

#include <QDir>

namespace {

// An evaluation of "2" or "5" means the question was answered; "0" or anything that is
// not a number means it was not.
bool answered(const QString& evaluation) {
    const std::optional<Decimal> value = Decimal::parse(evaluation);
    return value && !value->isZero();
}

} // namespace

Form5::Form5(App& app) : Window(app, kName) {
    setCaption(QStringLiteral("Проверон"));
    keepLanguageIn(Label5);
    captions_.applyDesign();
    Label1.setBold(true);
    Label3.setBold(true);
    // The report is the teacher's only record of the exam: saving is what a closed
    // results window does unless someone deliberately unticks it.
    Check1.setValue(1);

    // State holders, never shown.
    Label5.hide();
    for (int n = 1; n <= 20; ++n) {
        q(n).hide();
        l(n).setContainer(&Frame1);
        v(n).setContainer(&Frame3);
        o(n).setContainer(&Frame4);
    }

    Check2.onClick = [this] { showQuestionsChanged(); };
    for (int n = 1; n <= 20; ++n)
        l(n).onMouseMove = [this, n] { showDetail(n); };
    Frame1.onMouseMove = [this] { hideDetail(); };
    Label2.onMouseMove = [this] { hideDetail(); };
    Label3.onChange = [this] { verdictChanged(); };
    Command2.onClick = [this] { close(); };
    Command3.onClick = [this] { discard(); };
    place(Frame5, {&Label8, &Text1, &Command3});
    Frame5.hide();
}

void Form5::load() {
    Label5.setCaption(app().language());
    setWidth(kNarrowWidth);
    DisableXbutton(*this);

    // The exam's date and time: this window is created at the first answer check.
    const QDateTime now = app().services().clock.now();
    Label6.setCaption(app().locale().shortDate(now.date()));
    Label7.setCaption(app().locale().longTime(now.time()));

    Frame3.hide();
    Frame4.hide();
    Label1.setCaption(QString());
    Label2.setCaption(QString());
    Label3.setCaption(QString());

    Form1& start = app().window<Form1>();
    Label1.setCaption(start.Frame9.caption() + QStringLiteral("  ") + start.Text9.text());

    captions_.apply(Label5.caption());
    // The teacher may have every result saved: the student cannot untick it then.
    if (app().window<Form4>().Check4.checked()) {
        Check1.setValue(1);
        Check1.setEnabled(false);
    }
    requestFocus(Command2);
}

void Form5::fillFromTicketWindow() {
    Form2* ticket = app().loaded<Form2>();
    if (ticket) {
        const QString& language = Label5.caption();
        Label2.setCaption(ticket->Label17.caption());
        for (int n = 1; n <= 20; ++n) {
            const QString& evaluation = ticket->txt(n).text();
            if (!answered(evaluation)) continue;
            if (forms::isKnownLanguage(language))
                l(n).setCaption(questionLinePrefix(language, n) + evaluation);
            q(n).setCaption(ticket->q(n).caption());
        }
        Label3.setCaption(ticket->Label5.caption());
    }
    show();
    if (ticket) app().unload(*ticket);
    if (Form3* viewer = app().loaded<Form3>()) app().unload(*viewer);
}

void Form5::showQuestionsChanged() {
    if (Check2.checked()) {
        for (int n = 1; n <= 20; ++n)
            l(n).setForeColor(forms::colors::Blue);
    } else {
        for (int n = 1; n <= 20; ++n)
            l(n).setForeColor(forms::colors::ButtonText);
        Label4.setCaption(QString());
        setWidth(kNarrowWidth);
    }
}

void Form5::showDetail(int n) {
    if (!Check2.checked() || l(n).caption().isEmpty()) return;
    QString detail = q(n).caption() + QStringLiteral(" Ответ ") + v(n).caption();
    // The teacher may keep the right answers from students who talk to the next ones.
    if (app().window<Form4>().Check5.checked())
        detail += QStringLiteral(" Правильный ответ ") + o(n).caption();
    Label4.setCaption(detail);
    setWidth(kWideWidth);
}

void Form5::hideDetail() {
    Label4.setCaption(QString());
    setWidth(kNarrowWidth);
}

void Form5::verdictChanged() {
    // The passing verdict's word in the window's language; any other language leaves the
    // colour as it is.
    if (const auto passed = forms::byLanguage(language(), "Зачет", "Delivered"))
        Label3.setBackColor(Label3.caption() == *passed ? forms::colors::Green
                                                        : forms::colors::Red);
}

void Form5::close() {
    if (!Check1.checked()) {
        app().classStatus().state = class_status::State::Closed;
        app().tellClass();
    }
    if (Check1.checked() && !saveReport()) {
        // The student is about to leave: the result must not leave with them. The box is
        // held ticked so that only the teacher's password lets it go unsaved.
        Check1.setEnabled(false);
        Frame5.show();
        requestFocus(Command2);
        return;
    }
    backToStart();
}

void Form5::discard() {
    const bool accepted = app().window<Form1>().passwordAccepts(Text1.text());
    Text1.setText(QString());
    if (!accepted) {
        app().message(say(start_window_texts::text("wrongPassword")), QStringLiteral("Проверон"));
        requestFocus(Text1);
        return;
    }
    // Let go unsaved by the teacher's own hand.
    app().classStatus().state = class_status::State::Closed;
    app().tellClass();
    backToStart();
}

void Form5::backToStart() {
    Form1& start = app().window<Form1>();
    start.show();
    app().unload(*this);

    // Ready for the next student.
    start.Frame9.show();
    start.Frame1.hide();
    start.Frame2.hide();
    start.Text9.setText(QString());
    start.Text10.setText(QString());
    start.Text11.setText(QString());
    start.Text13.setText(QString());
    start.requestFocus(start.Text9);
}

bool Form5::saveReport() {
    Form1& start = app().window<Form1>();
    ExamReport report;
    report.language = Label5.caption();
    report.date = Label6.caption();
    report.time = Label7.caption();
    report.nameLine = Label1.caption();
    report.ticketCaption = Label2.caption();
    for (int n = 1; n <= 20; ++n)
        report.questionLines[std::size_t(n - 1)] = l(n).caption();
    report.verdict = Label3.caption();
    report.data1 = start.Text10.text();
    report.data2 = start.Text11.text();
    report.data3 = start.Text13.text();

    const QString reportFile = app().path(QStringLiteral("s/oth.txt"));
    const platform::WriteResult written = appendExamReport(reportFile, report);
    class_status::Status& status = app().classStatus();
    if (written) {
        status.state = class_status::State::Saved;
        status.reason.clear();
        status.dateLine = report.dateLine();
        status.nameLine = report.nameLine;
        app().tellClass();
        return true;
    }
    status.state = class_status::State::NotSaved;
    status.reason = writeFailureNote(written, language()).trimmed();
    app().tellClass();
    app().message(say(results_window_texts::text("reportNotSaved")) +
                      QDir::toNativeSeparators(reportFile) + writeFailureNote(written, language()),
                  QStringLiteral("Проверон"));
    return false;
}
