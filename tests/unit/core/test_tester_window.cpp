// Test-window rules that a scenario cannot see: the 16-bit counters, and a test folder
// that refuses to be written.

#include "platform/text_files.h"
#include "test_support.h"
#include "tester/tester_window.h"

#include <QDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace {

// A test of `count` questions, each with two answers worth 1 and 2.
void writeTest(const QString& app, const QString& name, int count) {
    const QString folder = app + "/t/" + name;
    QDir().mkpath(folder);
    QString tst = "[v]\r\nt=" + name + "\r\nt1=1\r\nt2=2\r\nt3=3\r\n";
    for (int n = 1; n <= count; ++n) {
        tst += QStringLiteral("[%1]\r\nq1=a\r\nq2=b\r\nb1=1\r\nb2=2\r\n").arg(n);
        platform::writeWholeFile(folder + QStringLiteral("/vt%1.txt").arg(n),
                                 QStringLiteral("Q%1").arg(n));
    }
    putBytes(folder + "/" + name + ".tst", tst.toLatin1());
    for (const char* conclusion : {"v1.txt", "v2.txt", "v3.txt"})
        platform::writeWholeFile(folder + "/" + conclusion, "c");
}

struct TestWindow : AppFixture {
    TestWindow() {
        platform::writeWholeFile(folder.path() + "/test.ini", "[test]\r\nre=rus\r\ntime=1");
    }
    Form6& window() {
        Form6& form = app.window<Form6>();
        form.show();
        return form;
    }
    void choose(Form6& form, const QString& name) {
        desktop.fileDialogAnswers.push_back(folder.path() + "/t/" + name + "/" + name + ".tst");
        form.Command5.press();
        desktop.messages.clear();
    }
    void edit(Form6& form, const QString& name) {
        desktop.fileDialogAnswers.push_back(folder.path() + "/t/" + name + "/" + name + ".tst");
        form.Command13.press();
    }
    QString lastMessage() {
        const QString text = desktop.messages.empty() ? QString() : desktop.messages.back().text;
        desktop.messages.clear();
        return text;
    }
};

} // namespace

TEST(TestWindowModel, PositionCounterFollowsTheQuestionsGoneTo) {
    TestWindow f;
    writeTest(f.folder.path(), "A", 3);
    Form6& form = f.window();
    EXPECT_EQ(form.positionCounter(), 0);
    f.choose(form, "A");
    EXPECT_EQ(form.positionCounter(), 1);
    form.Option(1).click();
    EXPECT_EQ(form.positionCounter(), 2);
    EXPECT_EQ(form.Text1.text(), "2");

    // A question file gone missing: the window stays, and so does its count.
    QFile::remove(f.folder.path() + "/t/A/vt3.txt");
    form.Option(2).click();
    EXPECT_EQ(f.lastMessage(),
              "Не удалось прочитать файл вопроса:\n" + f.folder.path() + "/t/A/vt3.txt");
    EXPECT_EQ(form.Text1.text(), "2");
    EXPECT_EQ(form.positionCounter(), 2);
    EXPECT_EQ(form.txtV.text(), "Q2\r\n");
}

TEST(TestWindowModel, EditorStepCounterOutlivesItsTestButNotItsEnd) {
    TestWindow f;
    writeTest(f.folder.path(), "Long", 3);
    writeTest(f.folder.path(), "Short", 2);
    Form6& form = f.window();
    form.Command6.press();
    f.edit(form, "Long");
    EXPECT_EQ(form.editorStepCounter(), 0);
    for (const char* shown : {"1", "2", "3"}) {
        form.Command1.press();
        EXPECT_EQ(form.Text1.text(), shown);
    }
    EXPECT_EQ(form.editorStepCounter(), 3);
    EXPECT_EQ(form.txtV.text(), "Q3");

    // Another test: the counter is not reset, and a step past that test's end starts
    // again at 1 rather than at a question it does not have.
    f.edit(form, "Short");
    EXPECT_EQ(form.editorStepCounter(), 3);
    EXPECT_EQ(form.Text1.text(), "1");
    form.Command1.press();
    EXPECT_EQ(f.lastMessage(), "Конец теста");
    EXPECT_EQ(form.Text1.text(), "1");
    form.Command1.press();
    EXPECT_EQ(form.Text1.text(), "2");
    EXPECT_TRUE(f.desktop.messages.empty());
}

TEST(TestWindowModel, AFolderThatRefusesWritesIsReportedNotSaved) {
    TestWindow f;
    writeTest(f.folder.path(), "A", 1);
    const QString tests = f.folder.path() + "/t";
    const QByteArray tst = bytesOf(tests + "/A/A.tst");
    Form6& form = f.window();
    form.Command6.press();
    f.edit(form, "A");
    ASSERT_TRUE(form.Frame4.visible());
    makeReadOnlyFolder(f.folder.path(), tests);
    QFile::setPermissions(tests + "/A",
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    {
        AsUnprivilegedUser user;
        form.txtV.setText("Changed");
        form.Command4.press();
        const QString denied =
            QStringLiteral("\nСистема сообщает: ") + QString::fromLocal8Bit(std::strerror(EACCES));
        EXPECT_EQ(f.lastMessage(), "Не удалось записать файл:\n" + tests + "/A/vt1.txt" + denied);
        form.Text5.setText("new");
        form.Command9.press();
        EXPECT_EQ(f.lastMessage(), "Не удалось записать файл:\n" + tests + "/A/v1.txt" + denied);

        // A new test cannot be made there either.
        form.Command8.press();
        form.Command6.press();
        form.Command11.press();
        f.lastMessage();
        form.Text2.setText("B");
        form.Command11.press();
        EXPECT_EQ(f.lastMessage(), "Не удалось создать папку теста:\n" + tests + "/B");
        EXPECT_FALSE(form.Frame4.visible());
        EXPECT_EQ(form.Label12.caption(), "0");
    }
    QFile::setPermissions(tests, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(tests + "/A", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(bytesOf(tests + "/A/vt1.txt"), "Q1\r\n");
    EXPECT_EQ(bytesOf(tests + "/A/v1.txt"), "c\r\n");
    EXPECT_EQ(bytesOf(tests + "/A/A.tst"), tst);
    EXPECT_FALSE(QFileInfo::exists(tests + "/B"));
}

TEST(TestWindowModel, AFullDiskIsReportedAndLeavesEveryFileAsItWas) {
    TestWindow f;
    SmallDisk disk(f.folder.path(), 256);
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    platform::writeWholeFile(f.folder.path() + "/test.ini", "[test]\r\nre=rus\r\ntime=1");
    writeTest(f.folder.path(), "A", 1);
    const QString test = f.folder.path() + "/t/A";
    const QByteArray tst = bytesOf(test + "/A.tst");
    Form6& form = f.window();
    form.Command6.press();
    f.edit(form, "A");
    ASSERT_TRUE(form.Frame4.visible());
    disk.fill();

    form.txtV.setText("Changed");
    form.txtq(1).setText("new answer");
    form.Command4.press();
    const QString full =
        QStringLiteral("\nСистема сообщает: ") + QString::fromLocal8Bit(std::strerror(ENOSPC));
    EXPECT_EQ(f.lastMessage(), "Не удалось записать файл:\n" + test + "/vt1.txt" + full);
    form.Text5.setText("new");
    form.Command9.press();
    EXPECT_EQ(f.lastMessage(), "Не удалось записать файл:\n" + test + "/v1.txt" + full);
    EXPECT_EQ(bytesOf(test + "/vt1.txt"), "Q1\r\n");
    EXPECT_EQ(bytesOf(test + "/v1.txt"), "c\r\n");
    EXPECT_EQ(bytesOf(test + "/A.tst"), tst);
    EXPECT_EQ(QDir(test).entryList(QDir::Files).size(), 5) << "no temporary file left";
}
