// The question timer's run past zero once every evaluation is in cannot be reached by a
// user (each check stops the timer, and only a new, unanswered question restarts it), so
// it is pinned down here on the model rather than in a scenario.

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

class QuestionTimer : public ::testing::Test {
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
        platform::writeProfileString(ini, "test", "z", exam);

        app = std::make_unique<App>(dir.path(),
                                    platform::Services{desktop, desktop, desktop, desktop, desktop,
                                                       desktop, platform::UserLocale::russian()});
        app->form1().Text1.setText("1");
        app->form4().Check2.setValue(1);
    }

    Form2& openTicket() {
        Form2& window = app->form2();
        EXPECT_TRUE(window.Timer3.enabled());
        EXPECT_EQ(window.countdown(), 60);
        return window;
    }

    QTemporaryDir dir;
    platform::FakeDesktop desktop;
    std::unique_ptr<App> app;
};

} // namespace

TEST_F(QuestionTimer, ExpiresAtZeroWhileAQuestionIsUnanswered) {
    Form2& window = openTicket();
    for (int n = 1; n <= 19; ++n)
        window.txt(n).setText("5");
    for (int i = 0; i < 60; ++i)
        window.Timer3.tick();
    EXPECT_EQ(window.countdown(), 0);
    EXPECT_FALSE(window.Timer3.enabled());
    EXPECT_FALSE(window.List1.enabled());
    EXPECT_EQ(window.Label5.caption(), "Не зачет по времени");
}

TEST_F(QuestionTimer, RunsBelowZeroOnceEveryQuestionIsAnswered) {
    Form2& window = openTicket();
    for (int n = 1; n <= 20; ++n)
        window.txt(n).setText(n % 2 ? "5" : "2");
    for (int i = 0; i < 62; ++i)
        window.Timer3.tick();
    EXPECT_EQ(window.countdown(), -2);
    EXPECT_EQ(window.Label28.caption(), "-2");
    EXPECT_TRUE(window.Timer3.enabled());
    EXPECT_TRUE(window.List1.enabled());
    EXPECT_EQ(window.Label5.caption(), "");

    // Left running for hours it stops at the bottom of its 16 bits instead of wrapping.
    for (int i = 0; i < 40000; ++i)
        window.Timer3.tick();
    EXPECT_EQ(window.countdown(), -32768);
    EXPECT_EQ(window.Label28.caption(), "-32768");
}
