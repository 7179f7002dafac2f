// Exam-window rules that no user can reach yet, pinned down on the models:
// - the question timer's run past zero once every evaluation is in (each check stops the
//   timer, and only a new, unanswered question restarts it);
// - the picture viewer's size panel, which only the ticket editor opens.

#include "exam_taking/picture_viewer.h"
#include "exam_taking/ticket_window.h"
#include "forms/app.h"
#include "platform/fake_services.h"
#include "platform/profile_file.h"
#include "settings/settings_window.h"
#include "shell/start_window.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// An application folder with a one-question exam and the settings in force.
class ExamWindows : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const QString exam = dir.filePath("b/exam");
        const QString ticket = QDir(exam).filePath("b1");
        ASSERT_TRUE(QDir().mkpath(ticket));
        for (const char* name : {"q1.txt", "v1.txt", "o1.txt"}) {
            QFile file(QDir(ticket).filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("a\r\n");
        }
        const QString ini = dir.filePath("test.ini");
        platform::writeProfileString(ini, "test", "re", "rus");
        platform::writeProfileString(ini, "test", "time", "1");
        platform::writeProfileString(ini, "test", "l", "300");
        platform::writeProfileString(ini, "test", "h", "200");
        platform::writeProfileString(ini, "test", "k", "2");
        platform::writeProfileString(ini, "test", "z", exam);

        app = std::make_unique<App>(dir.path(),
                                    platform::Services{desktop, desktop, desktop, desktop, desktop,
                                                       desktop, platform::UserLocale::russian()});
        app->window<Form1>().Text1.setText("1");
    }

    // A tick comes when its interval has passed on the clock.
    void tick(forms::Timer& timer) {
        desktop.currentTime = desktop.currentTime.addMSecs(timer.interval());
        timer.tick();
    }

    Form2& openTicketWithQuestionTimer() {
        app->window<Form4>().Check2.setValue(1);
        Form2& window = app->window<Form2>();
        EXPECT_TRUE(window.Timer3.enabled());
        EXPECT_EQ(window.countdown(), 60);
        return window;
    }

    // The viewer as the ticket editor opens it, with the editor's picture handed over.
    Form3& openViewerFromEditor() {
        Form3& viewer = app->window<Form3>();
        viewer.Label1.setCaption("1");
        viewer.Timer1.tick();
        viewer.Image1.setPicture(QImage(64, 48, QImage::Format_RGB32));
        return viewer;
    }

    QTemporaryDir dir;
    platform::FakeDesktop desktop;
    std::unique_ptr<App> app;
};

} // namespace

TEST_F(ExamWindows, QuestionTimerExpiresAtZeroWhileAQuestionIsUnanswered) {
    Form2& window = openTicketWithQuestionTimer();
    for (int n = 1; n <= 19; ++n)
        window.txt(n).setText("5");
    for (int i = 0; i < 60; ++i)
        tick(window.Timer3);
    EXPECT_EQ(window.countdown(), 0);
    EXPECT_FALSE(window.Timer3.enabled());
    EXPECT_FALSE(window.List1.enabled());
    EXPECT_EQ(window.Label5.caption(), "Не зачет по времени");
}

TEST_F(ExamWindows, QuestionTimerRunsBelowZeroOnceEveryQuestionIsAnswered) {
    Form2& window = openTicketWithQuestionTimer();
    for (int n = 1; n <= 20; ++n)
        window.txt(n).setText(n % 2 ? "5" : "2");
    for (int i = 0; i < 62; ++i)
        tick(window.Timer3);
    EXPECT_EQ(window.countdown(), -2);
    EXPECT_EQ(window.Label28.caption(), "-2");
    EXPECT_TRUE(window.Timer3.enabled());
    EXPECT_TRUE(window.List1.enabled());
    EXPECT_EQ(window.Label5.caption(), "");

    // Left running for hours it stops at the bottom of its 16 bits instead of wrapping.
    for (int i = 0; i < 40000; ++i)
        tick(window.Timer3);
    EXPECT_EQ(window.countdown(), -32768);
    EXPECT_EQ(window.Label28.caption(), "-32768");
}

TEST_F(ExamWindows, ViewerFromTheEditorShowsTheSizePanelAndFollowsIt) {
    Form3& viewer = openViewerFromEditor();
    EXPECT_TRUE(viewer.Frame8.visible());
    EXPECT_FALSE(viewer.Timer1.enabled());
    // The panel starts in the mode in force (real size here) with its sizes.
    EXPECT_TRUE(viewer.Option2.value());
    EXPECT_EQ(viewer.Text4.text(), "300");
    EXPECT_EQ(viewer.Image1.width(), 64 * 15);

    viewer.Text4.setText("400");
    viewer.Text1.setText("300");
    EXPECT_FALSE(viewer.Image1.stretch()); // sizes apply only to the fixed size
    viewer.Option1.click();
    EXPECT_TRUE(viewer.Image1.stretch());
    EXPECT_EQ(viewer.Image1.width(), 6000);
    EXPECT_EQ(viewer.Image1.height(), 4500);
    viewer.Text1.setText("100");
    EXPECT_EQ(viewer.Image1.height(), 1500);

    // Sizes that are no usable number leave the picture as it is.
    for (const char* bad : {"abc", "", "0", "-5", "1e9"}) {
        viewer.Text4.setText(bad);
        EXPECT_EQ(viewer.Image1.width(), 6000) << bad;
        EXPECT_EQ(viewer.Image1.height(), 1500) << bad;
    }
    viewer.Text4.setText("400");

    viewer.Option2.click();
    EXPECT_FALSE(viewer.Image1.stretch());
    EXPECT_EQ(viewer.Image1.width(), 64 * 15);
    EXPECT_EQ(viewer.Image1.height(), 48 * 15);
}

TEST_F(ExamWindows, ViewerClosedWithEnterTakesTheSizeAndModeOver) {
    Form3& viewer = openViewerFromEditor();
    viewer.Text4.setText("400");
    viewer.Text1.setText("300");
    viewer.Option1.click();
    viewer.Check1.click();
    app->userEvent([&] { viewer.Command2.press(); });
    Form4& settings = app->window<Form4>();
    EXPECT_EQ(settings.Text4.text(), "400");
    EXPECT_EQ(settings.Text1.text(), "300");
    EXPECT_TRUE(settings.Option1.value());
    EXPECT_EQ(settings.Label16.caption(), "1");
    EXPECT_EQ(app->loadedWindow("Form3"), nullptr);
}

TEST_F(ExamWindows, ViewerClosedWithoutEnterChangesNothing) {
    Form3& viewer = openViewerFromEditor();
    viewer.Text4.setText("400");
    viewer.Text1.setText("300");
    viewer.Option1.click();
    app->userEvent([&] { viewer.Command2.press(); });
    Form4& settings = app->window<Form4>();
    EXPECT_EQ(settings.Text4.text(), "300");
    EXPECT_EQ(settings.Text1.text(), "200");
    EXPECT_EQ(settings.Label16.caption(), "2");
    EXPECT_EQ(app->loadedWindow("Form3"), nullptr);
}

TEST_F(ExamWindows, ViewerNeverOpensTheTicketWindow) {
    Form3& viewer = app->window<Form3>();
    viewer.Timer1.tick();
    EXPECT_FALSE(viewer.Frame8.visible());
    EXPECT_TRUE(viewer.Image1.picture().isNull());
    EXPECT_EQ(app->loadedWindow("Form2"), nullptr);
}
