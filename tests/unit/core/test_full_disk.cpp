// A disk that fills up: every whole-file write fails and leaves the old file byte for
// byte, an append cuts back only its own bytes, and the windows say so. The disk is a small
// tmpfs mounted over the test's folder.

#include "common/file_messages.h"
#include "common/reports.h"
#include "exam_content/ticket_editor.h"
#include "platform/pictures.h"
#include "platform/profile_file.h"
#include "platform/text_files.h"
#include "settings/settings_window.h"
#include "shell/start_window.h"
#include "teacher_tools/bank_export.h"
#include "teacher_tools/findings_window.h"
#include "test_support.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using namespace platform;

namespace {

// Every file of the folder with its bytes, so that "nothing changed" is one comparison.
std::map<QString, QByteArray> filesOf(const QString& folder) {
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        if (name != ".filler") files[name] = bytesOf(folder + "/" + name);
    return files;
}

QByteArray lines(char c, int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray(62, c) + "\r\n";
    return text;
}

} // namespace

TEST(FullDisk, WholeFileWritesFailAndKeepTheOldFile) {
    QTemporaryDir dir;
    SmallDisk disk(dir.path(), 256);
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    // Old files of two pages each; the new ones would need two fresh pages too.
    const QString folder = dir.path();
    putBytes(folder + "/test.ini", "[test]\r\npass=secret\r\n" + lines('o', 100));
    putBytes(folder + "/q1.txt", lines('q', 100));
    putBytes(folder + "/k1.bmp", "BM" + lines('b', 100));
    QImage picture(50, 50, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const auto before = filesOf(folder);

    // No room at all, then one page: the write fails half-way, where a buffered write
    // would have looked fine until the commit.
    for (int spare : {0, 4}) {
        disk.fill(spare);
        EXPECT_FALSE(writeWholeFile(folder + "/q1.txt", lines('n', 100))) << spare;
        EXPECT_FALSE(writeBytesAtomically(folder + "/q1.txt", lines('n', 100))) << spare;
        EXPECT_FALSE(writeBitmap(folder + "/k1.bmp", picture)) << spare;
        EXPECT_FALSE(writeProfileString(folder + "/test.ini", "test", "pass", "new")) << spare;
        const WriteResult refused = writeProfileStrings(
            folder + "/test.ini", "test", {{"bilet", "3"}, {"z", QString(5000, 'z')}});
        EXPECT_FALSE(refused) << spare;
        // The system's own reason comes with the refusal, for the message.
        EXPECT_EQ(writeFailureNote(refused, "eng"),
                  "\nThe system says: " + QString::fromLocal8Bit(std::strerror(ENOSPC)))
            << spare;
        EXPECT_EQ(filesOf(folder), before) << "old files intact, no temporary left: " << spare;
        EXPECT_EQ(readProfileString(folder + "/test.ini", "test", "pass"), "secret");
        disk.release();
    }
    ASSERT_TRUE(writeProfileString(folder + "/test.ini", "test", "pass", "new"));
    EXPECT_EQ(readProfileString(folder + "/test.ini", "test", "pass"), "new");
}

TEST(FullDisk, AFailedAppendCutsBackOnlyItsOwnBytes) {
    QTemporaryDir dir;
    SmallDisk disk(dir.path(), 256);
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    const QString report = dir.path() + "/s/oth.txt";
    // 4000 bytes: the report's page has 96 bytes of room left.
    ASSERT_TRUE(appendReport(report, QString(lines('a', 62) + "end")));
    const QByteArray before = bytesOf(report);
    disk.fill(4); // one page: room for the lock file, none for a long record

    EXPECT_FALSE(appendReport(report, QString(lines('b', 100))));
    EXPECT_EQ(bytesOf(report), before);
    // A record that fits the room left is written, on a line of its own.
    EXPECT_TRUE(appendReport(report, "short\r\n"));
    EXPECT_EQ(bytesOf(report), before + "\r\nshort\r\n");
    EXPECT_FALSE(QFileInfo::exists(report + ".lock"));

    // No room even for the lock: nothing is written, and it says so.
    disk.fill(0);
    EXPECT_FALSE(appendReport(report, "x\r\n"));
    EXPECT_EQ(bytesOf(report), before + "\r\nshort\r\n");
}

TEST(FullDisk, TheSettingsWindowSaysSoAndStaysOpenWithItsValues) {
    AppFixture f;
    SmallDisk disk(f.folder.path(), 256);
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    const QString ini = f.folder.path() + "/test.ini";
    putBytes(ini, "[test]\r\nre=rus\r\ntime=1\r\nbilet=3\r\npass=secret\r\nball=3\r\n");
    const QByteArray before = bytesOf(ini);
    Form1& start = f.app.window<Form1>();
    Form4& settings = f.app.window<Form4>();
    start.hide();
    settings.show();
    settings.Text3.setText("9");
    settings.Text12.setText(QStringLiteral("новый"));
    settings.Check3.setValue(1);
    disk.fill();

    settings.Command6.press();
    ASSERT_EQ(f.desktop.messages.size(), 1u);
    // The system's own reason, in place of a guess.
    const QString full = QString::fromLocal8Bit(std::strerror(ENOSPC));
    EXPECT_EQ(f.desktop.messages.front().text,
              QStringLiteral("Не удалось сохранить настройки в файл:\n") + ini +
                  QStringLiteral("\nСистема сообщает: ") + full);
    EXPECT_EQ(f.desktop.messages.front().title, QStringLiteral("Проверон"));
    EXPECT_TRUE(settings.visible());
    EXPECT_FALSE(start.visible());
    EXPECT_TRUE(settings.Check3.checked()) << "saving is still wanted";
    EXPECT_EQ(settings.Text3.text(), "9");
    EXPECT_EQ(bytesOf(ini), before);

    // In English the message is English; a second try after room was made saves.
    f.desktop.messages.clear();
    settings.Label17.setCaption("eng");
    settings.Command6.press();
    ASSERT_EQ(f.desktop.messages.size(), 1u);
    EXPECT_EQ(f.desktop.messages.front().text,
              "Could not save the settings to the file:\n" + ini + "\nThe system says: " + full);
    f.desktop.messages.clear();
    disk.release();
    settings.Command6.press();
    EXPECT_TRUE(f.desktop.messages.empty());
    EXPECT_FALSE(settings.visible());
    EXPECT_TRUE(start.visible());
    EXPECT_EQ(readProfileString(ini, "test", "bilet"), "9");
    EXPECT_EQ(readProfileString(ini, "test", "pass"), QStringLiteral("новый"));
}

TEST(FullDisk, AnImportRolledBackShowsItsFailureAloneAndAnExportKeepsTheOldFile) {
    AppFixture f;
    QDir().mkpath(f.app.path("b"));
    SmallDisk disk(f.app.path("b"), 256);
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    writeExam(f.folder.path(), 3);
    QString bank;
    for (int n = 1; n <= 30; ++n)
        bank += QStringLiteral("::%1:: Вопрос %1? {=да ~нет}\n\n").arg(n);
    bank += "::31:: Эссе {}\n";
    putBytes(f.app.path("bank.gift"), bank.toUtf8());
    const QString full = QString::fromLocal8Bit(std::strerror(ENOSPC));
    Form7& editor = f.app.window<Form7>();
    disk.fill(16);

    // The import runs out of room half-way and takes its folder away again: the message
    // says why, and no findings window lists what it left out of an exam that is not there.
    f.app.userEvent([&] {
        editor.Command15.press();
        editor.Text13.setText(f.app.path("bank.gift"));
        editor.Text14.setText("Полный");
        editor.Text15.setText("5");
        editor.Command18.press();
    });
    ASSERT_EQ(f.desktop.messages.size(), 1u);
    const QString message = f.desktop.messages.front().text;
    EXPECT_TRUE(message.startsWith("Не удалось записать «" + f.app.path("b/Полный/")))
        << message.toStdString();
    EXPECT_TRUE(message.endsWith("»; недописанная папка удалена.\nСистема сообщает: " + full))
        << message.toStdString();
    EXPECT_EQ(f.app.loaded<Form10>(), nullptr);
    EXPECT_FALSE(QFileInfo::exists(f.app.path("b/Полный")));
    f.desktop.messages.clear();

    // An export onto the full disk: the old bank stays byte for byte, no temporary is left.
    putBytes(f.app.path("b/old.gift"), "// old\r\n");
    disk.fill(0);
    const auto before = filesOf(f.app.path("b"));
    for (const auto format :
         {teacher_tools::ExportFormat::Gift, teacher_tools::ExportFormat::MoodleXml}) {
        const auto result =
            teacher_tools::exportBank(f.app, f.app.path("b/exam"), format, f.app.path("b/old.gift"),
                                      teacher_tools::Wording("eng"));
        EXPECT_EQ(result.error, "Could not write \"" + f.app.path("b/old.gift") +
                                    "\".\nThe system says: " + full);
        EXPECT_EQ(filesOf(f.app.path("b")), before);
    }
}
