// What a screen reader hears: the program's own App and views in real windows (an X
// server, a window manager and the accessibility bus, tests/a11y/run.sh), brought into
// every window a class day opens, in Russian and then in English. In each state walk.py
// reads the windows through AT-SPI as a screen reader does: a title for every window, a
// name for every control that takes the keyboard, names in the interface language, and
// the question and its answers readable.

#include "common/settings_file.h"
#include "exam_content/folder_chooser.h"
#include "exam_content/ticket_editor.h"
#include "exam_taking/picture_viewer.h"
#include "exam_taking/results_window.h"
#include "exam_taking/ticket_window.h"
#include "forms/app.h"
#include "gui/qt_shell.h"
#include "gui/qt_translations.h"
#include "gui/view.h"
#include "gui/window_table.h"
#include "platform/application_folder.h"
#include "platform/fake_services.h"
#include "settings/settings_window.h"
#include "shell/start_window.h"
#include "teacher_tools/findings_window.h"
#include "tester/tester_window.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

template <class Condition> bool waitFor(Condition done, int ms = 5000) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QTest::qWait(10);
    }
    return true;
}

// The program as main.cpp assembles it on a fresh application folder filled from the
// sample data, with scripted dialogs (no modal box stands in the way) and the real shell,
// whose report viewer is a window to read too.
class Program {
public:
    Program() {
        seeded_ = platform::prepareApplicationFolder(
                      {folder_.path(), platform::FolderSource::CommandLine},
                      QStringLiteral(PROVERON_DATA_DIR))
                      .problem == platform::FolderProblem::None;
        // The first ticket's first question gets a picture: the picture viewer opens too.
        QImage picture(120, 90, QImage::Format_RGB32);
        picture.fill(QColor(0x2e, 0x7d, 0x32));
        seeded_ = seeded_ && picture.save(path(QStringLiteral("b/География/b1/k1.bmp")), "BMP");
        app_ = std::make_unique<App>(folder_.path(),
                                     platform::Services{desktop_, shell_, desktop_, desktop_,
                                                        desktop_, desktop_,
                                                        platform::UserLocale::russian(), desktop_});
        language_ = app_.get();
        translations_ = std::make_unique<gui::QtTranslations>(*app_);
        views_ = std::make_unique<gui::ViewManager>(*app_, gui::programWindows());
        app_->userEvent([this] { gui::programWindows().start(*app_); });
    }
    ~Program() {
        language_ = nullptr;
        views_.reset();
        translations_.reset();
        app_.reset();
    }

    bool ready() const { return seeded_ && !app_->ended(); }
    App& app() { return *app_; }
    QString path(const QString& relative) const { return folder_.filePath(relative); }
    platform::FakeDesktop& desktop() { return desktop_; }
    template <class W> W& window() {
        EXPECT_TRUE(app_->loaded<W>()) << W::kName << " is not open";
        return app_->window<W>();
    }

    // The user's clicks and typing, as the scenarios make them.
    void click(forms::Control& control) {
        ASSERT_TRUE(control.usable()) << control.name().toStdString() << " cannot be used";
        app_->userEvent([&control] { control.click(); });
    }
    void type(forms::Control& control, const QString& text) {
        ASSERT_TRUE(control.usable()) << control.name().toStdString() << " cannot be used";
        app_->userEvent([&control, &text] { control.type(text); });
    }
    void choose(forms::Control& control, int index) {
        app_->userEvent([&control, index] { control.choose(index); });
    }
    void browse(forms::Control& control, const QString& folder) {
        app_->userEvent([&control, &folder] { control.browse(folder); });
    }

    // What a screen reader finds in every window on the screen now; `read` are texts it
    // must be able to read, `content` the shown data that may be Russian in English.
    void walk(const QString& state, const QStringList& read = {}) {
        SCOPED_TRACE(state.toStdString());
        settle();
        QStringList arguments{qEnvironmentVariable("A11Y_WALKER"), QStringLiteral("--pid"),
                              QString::number(QCoreApplication::applicationPid()),
                              QStringLiteral("--lang"), app_->language()};
        for (const QString& text : read)
            arguments << QStringLiteral("--read") << text;
        for (const QString& text : content_)
            arguments << QStringLiteral("--content") << text;
        QProcess walker;
        walker.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        walker.start(qEnvironmentVariable("A11Y_PYTHON", QStringLiteral("python3")), arguments);
        // The program answers the walker's questions while it waits.
        const bool finished =
            waitFor([&] { return walker.state() == QProcess::NotRunning; }, 120000);
        if (!finished) walker.kill();
        ASSERT_TRUE(finished) << "the walk did not end";
        const QString faults = QString::fromUtf8(walker.readAllStandardOutput());
        EXPECT_EQ(walker.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(walker.exitCode(), 0) << faults.toStdString();
        ++walks_;
    }
    // Data the program shows as it stands in either language.
    void showsContent(const QStringList& texts) { content_ << texts; }
    int walks() const { return walks_; }

    // A window of our own that is no View (the report viewer), by its title's start.
    static QWidget* otherWindow(const QString& title) {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && widget->isWindow() && !dynamic_cast<gui::View*>(widget) &&
                widget->windowTitle().startsWith(title))
                return widget;
        }
        return nullptr;
    }

private:
    // Every window on the screen is exposed and its views have settled.
    static void settle() {
        waitFor(
            [] {
                for (QWidget* widget : QApplication::topLevelWidgets()) {
                    if (widget->isVisible() && widget->isWindow() &&
                        (!widget->windowHandle() || !widget->windowHandle()->isExposed()))
                        return false;
                }
                return true;
            },
            10000);
        QTest::qWait(100);
    }

    QTemporaryDir folder_;
    bool seeded_ = false;
    platform::FakeDesktop desktop_;
    App* language_ = nullptr;
    gui::QtShell shell_{[this] { return language_ ? language_->language() : QString(); }};
    std::unique_ptr<App> app_;
    std::unique_ptr<gui::QtTranslations> translations_;
    std::unique_ptr<gui::ViewManager> views_;
    QStringList content_;
    int walks_ = 0;
};

// A student's exam: the start window's panels, the ticket with its question, answers and
// picture, and the results.
void takeAnExam(Program& p) {
    Form1& start = p.window<Form1>();
    p.walk(QStringLiteral("the start window"));
    p.click(start.Option1);
    p.type(start.Text9, QStringLiteral("Иванов Пётр"));
    p.type(start.Text10, QStringLiteral("9 Б"));
    p.click(start.Command14);
    p.click(start.Check1);
    p.type(start.Text1, QStringLiteral("1"));
    ASSERT_TRUE(waitFor([&] { return start.Command3.usable(); })) << "ticket 1 does not open";
    p.walk(QStringLiteral("the ticket panel"));
    p.click(start.Command3);

    Form2& ticket = p.window<Form2>();
    ASSERT_TRUE(waitFor([&] { return ticket.visible(); }));
    const int questions = ticket.txtV.text().toInt();
    ASSERT_GT(questions, 1);
    for (int n = 1; n <= questions; ++n) {
        if (n > 1) p.click(ticket.Option(n));
        if (n <= 2) {
            QStringList read = ticket.List1.items();
            read << ticket.Text3.text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
            p.walk(QStringLiteral("question %1 of the ticket").arg(n), read);
        }
        p.choose(ticket.List1, 0);
        p.click(ticket.Command4);
    }
    p.desktop().messages.clear();
    p.click(ticket.Command2);
    Form5& results = p.window<Form5>();
    p.walk(QStringLiteral("the results"), {results.Label3.caption()});
    p.click(results.Command2);
    p.desktop().messages.clear();
}

// The teacher's windows: the settings with the passing score, the ticket editor with an
// exam open, the folder chooser, the findings and the report viewer.
void setUpAnExam(Program& p) {
    Form1& start = p.window<Form1>();
    if (!start.Frame9.visible()) p.click(start.Option1);
    p.type(start.Text9, QStringLiteral("Учитель"));
    p.click(start.Command14);
    p.walk(QStringLiteral("the password panel"));
    p.click(start.Command15);
    Form4& settings = p.window<Form4>();
    p.walk(QStringLiteral("the settings"));
    p.click(settings.Label6);
    if (settings.Frame12.visible()) p.click(settings.Command7);
    p.walk(QStringLiteral("the passing score"));
    p.click(settings.Command9);

    p.click(settings.Label8);
    Form7& editor = p.window<Form7>();
    p.walk(QStringLiteral("the ticket editor"));
    p.click(editor.Command8);
    p.browse(editor.Dir1, p.path(QStringLiteral("b/География")));
    p.walk(QStringLiteral("the ticket editor's folder list"));
    p.click(editor.Command6);
    p.walk(QStringLiteral("a question in the ticket editor"));
    p.click(editor.Command7);
    p.click(editor.Command15);
    p.walk(QStringLiteral("the import form"));
    p.click(editor.Command19);
    p.click(editor.Command12);
    p.desktop().messages.clear();

    p.click(settings.Command12);
    p.walk(QStringLiteral("the findings"));
    p.click(p.window<Form10>().Command4);

    // Counts that differ from the folder's: the chooser asks which to keep.
    p.type(settings.Text3, QStringLiteral("7"));
    p.click(settings.Label18);
    Form9& chooser = p.window<Form9>();
    p.walk(QStringLiteral("the exam folder chooser"));
    p.browse(chooser.Dir1, p.path(QStringLiteral("b/География")));
    p.click(chooser.Command1);
    EXPECT_TRUE(chooser.Frame1.visible()) << "the chooser does not ask about the counts";
    p.walk(QStringLiteral("the counts in the chooser"));
    p.click(chooser.Command5);
    if (p.app().loaded<Form9>()) p.click(chooser.Command2);
    p.desktop().messages.clear();

    p.click(settings.Command3);
    QWidget* viewer = nullptr;
    EXPECT_TRUE(waitFor([&] {
        return (viewer = Program::otherWindow(QStringLiteral("oth.txt"))) != nullptr;
    })) << "the report viewer did not open";
    if (auto* tabs = viewer ? viewer->findChild<QTabWidget*>() : nullptr) {
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            p.walk(QStringLiteral("the report viewer: ") + tabs->tabText(tab));
        }
    } else {
        p.walk(QStringLiteral("the report viewer"));
    }
    if (viewer) viewer->close();
    p.click(settings.Command6);
    p.desktop().messages.clear();
    if (start.Frame1.visible()) p.click(start.Label9);
}

// A student's test, then the test editor.
void takeATest(Program& p) {
    Form1& start = p.window<Form1>();
    if (!start.Frame3.visible()) p.click(start.Label6);
    p.click(start.Option2);
    Form6& test = p.window<Form6>();
    p.walk(QStringLiteral("the test window"));
    p.desktop().fileDialogAnswers.push_back(p.path(QStringLiteral("t/Учеба/Учеба.tst")));
    p.click(test.Command5);
    QStringList read{test.txtV.text().trimmed()};
    for (int k = 1; k <= 5; ++k) {
        if (test.Option(k).visible() && !test.txtq(k).text().isEmpty()) read << test.txtq(k).text();
    }
    p.walk(QStringLiteral("a question of the test"), read);
    p.click(test.Command6);
    p.click(test.Command13);
    p.walk(QStringLiteral("the test name panel"));
    p.desktop().fileDialogAnswers.push_back(p.path(QStringLiteral("t/Учеба/Учеба.tst")));
    p.click(test.Command13);
    p.walk(QStringLiteral("the test editor"));
    p.click(test.Command8);
    p.desktop().messages.clear();
    if (test.visible() && test.Label13.usable()) p.click(test.Label13);
}

TEST(Accessibility, AScreenReaderHearsEveryWindowInBothLanguages) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run through tests/a11y/run.sh";
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("A11Y_WALKER")) << "run through tests/a11y/run.sh";
    Program p;
    ASSERT_TRUE(p.ready()) << "the application folder could not be filled";
    p.showsContent({QStringLiteral("География"), QStringLiteral("Учеба")});
    for (const QString& language : {forms::kRussian, forms::kEnglish}) {
        SCOPED_TRACE(language.toStdString());
        Form1& start = p.window<Form1>();
        p.click(language == forms::kEnglish ? start.Label7 : start.Label13);
        ASSERT_EQ(p.app().language(), language);
        takeAnExam(p);
        if (HasFatalFailure()) return;
        setUpAnExam(p);
        if (HasFatalFailure()) return;
        takeATest(p);
        if (HasFatalFailure()) return;
    }
    std::printf("accessibility: %d walks\n", p.walks());
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("proveron"));
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
