// The exam folder chooser: its survey of a folder (check, counts, drives) and the window
// where scenarios cannot reach: drives without a medium, folders nobody may read, and an
// exam of ten thousand tickets.

#include "exam_content/folder_chooser.h"
#include "exam_content/folder_survey.h"
#include "platform/profile_file.h"
#include "platform/system_services.h"
#include "settings/settings_window.h"
#include "test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

using namespace folder_survey;

namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

constexpr auto kOpen = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                       QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;

// An exam folder with the marker file, `tickets` ticket folders and `questions` complete
// questions in ticket 1.
QString makeExam(const QString& folder, int tickets, int questions) {
    QDir().mkpath(folder);
    touch(folder + "/lzm.lzm");
    for (int t = 1; t <= tickets; ++t)
        QDir().mkpath(folder + "/b" + QString::number(t));
    for (int n = 1; n <= questions; ++n) {
        for (const char* kind : {"q", "v", "o"})
            touch(folder + "/b1/" + kind + QString::number(n) + ".txt");
    }
    return folder;
}

// The chooser over a loaded settings window, as the teacher opens it.
Form9& openChooser(AppFixture& f) {
    platform::writeProfileString(f.app.settingsFile(), "test", "time", "1");
    Form9* chooser = nullptr;
    f.app.userEvent([&] {
        f.app.window<Form4>();
        chooser = &f.app.window<Form9>();
        chooser->show();
    });
    return *chooser;
}

} // namespace

TEST(FolderSurvey, QuestionCountIsTheShortDoubleTextInTheUsersLocale) {
    EXPECT_EQ(questionCountText(30, ','), "10");
    EXPECT_EQ(questionCountText(60, ','), "20");
    EXPECT_EQ(questionCountText(0, ','), "0");
    EXPECT_EQ(questionCountText(31, ','), "10,3333333333333");
    EXPECT_EQ(questionCountText(31, '.'), "10.3333333333333");
    EXPECT_EQ(questionCountText(1, ','), "0,333333333333333");
    EXPECT_EQ(questionCountText(2, '.'), "0.666666666666667");
}

TEST(FolderSurvey, QuestionFilesSubFoldersFirstAnyCaseNoLinkLoops) {
    QTemporaryDir dir;
    const QString b1 = dir.filePath("b1");
    for (const char* name :
         {"q1.txt", "V1.TXT", "k1.bmp", "sub/a.txt", "sub/deep/b.Txt", "zz/c.txt", "zz/notes.doc"})
        touch(b1 + "/" + name);
    // A link back to the ticket folder would walk for ever if it were followed; a link to a
    // file is a file.
    ASSERT_TRUE(QFile::link(b1, b1 + "/loop"));
    ASSERT_TRUE(QFile::link(b1 + "/q1.txt", b1 + "/link.txt"));

    const QuestionFiles found = questionFiles(b1);
    EXPECT_EQ(found.unreadableFolder, QString());
    QStringList relative;
    for (const QString& path : found.files)
        relative << QDir(b1).relativeFilePath(path);
    EXPECT_EQ(relative, (QStringList{"sub/deep/b.Txt", "sub/a.txt", "zz/c.txt", "link.txt",
                                     "q1.txt", "V1.TXT"}));

    const QuestionFiles missing = questionFiles(dir.filePath("b2"));
    EXPECT_TRUE(missing.files.isEmpty());
    EXPECT_EQ(missing.unreadableFolder, dir.filePath("b2"));
}

TEST(FolderSurvey, DriveOfAPathIsTheLongestRootHoldingIt) {
    const QStringList roots{"/", "/media/usb", "/media/usb2"};
    EXPECT_EQ(driveOf("/media/usb2/exams/b", roots), "/media/usb2");
    EXPECT_EQ(driveOf("/media/usb", roots), "/media/usb");
    EXPECT_EQ(driveOf("/media/usb/", roots), "/media/usb");
    EXPECT_EQ(driveOf("/media/usbx", roots), "/");
    EXPECT_EQ(driveOf("/home/teacher", roots), "/");
    EXPECT_EQ(driveOf("relative", roots), "");
    EXPECT_EQ(driveOf("/home", QStringList{"/media/usb"}), "");
}

TEST(SystemVolumes, OfferTheRootAndMediaButNoSystemMounts) {
    EXPECT_TRUE(platform::isBrowsableVolume("/", "overlay"));
    EXPECT_TRUE(platform::isBrowsableVolume("/media/teacher/STICK", "vfat"));
    EXPECT_TRUE(platform::isBrowsableVolume("/run/media/teacher/DVD", "iso9660"));
    EXPECT_TRUE(platform::isBrowsableVolume("/srv/exams", "cifs"));
    EXPECT_FALSE(platform::isBrowsableVolume("/proc", "proc"));
    EXPECT_FALSE(platform::isBrowsableVolume("/etc/hosts", "ext4"));
    EXPECT_FALSE(platform::isBrowsableVolume("/mediaX", "ext4"));

    const auto volumes = platform::SystemVolumes().list();
    ASSERT_FALSE(volumes.empty());
    EXPECT_TRUE(std::any_of(volumes.begin(), volumes.end(),
                            [](const platform::Volume& v) { return v.root == "/" && v.ready; }));
    for (const platform::Volume& volume : volumes)
        EXPECT_FALSE(volume.name.isEmpty()) << volume.root.toStdString();
}

TEST(FolderChooser, ADriveWithoutItsMediumLeavesTheFolderWhereItWas) {
    AppFixture f;
    const QString usb = f.app.path("usb");
    makeExam(usb + "/Физика", 2, 1);
    f.desktop.volumes = {
        {"/", "/", true}, {"/media/cd", "DVD (/media/cd)", false}, {usb, "USB", true}};
    Form9& chooser = openChooser(f);
    ASSERT_EQ(chooser.Drive1.drives().size(), 3u);
    EXPECT_EQ(chooser.Drive1.drive(), "/");

    f.app.userEvent([&] { chooser.Drive1.browse("/media/cd"); });
    EXPECT_EQ(chooser.Text4.text(), "Диск не готов: DVD (/media/cd)");
    EXPECT_TRUE(chooser.Text4.visible());
    EXPECT_EQ(chooser.Dir1.path(), f.app.path("b"));
    EXPECT_EQ(chooser.Drive1.drive(), "/");

    // A medium put in meanwhile is browsed at once.
    f.desktop.volumes[1].ready = true;
    f.app.userEvent([&] { chooser.Drive1.browse("/media/cd"); });
    EXPECT_EQ(chooser.Dir1.path(), "/media/cd");

    // The drive list follows the folder list wherever it goes.
    f.app.userEvent([&] { chooser.Dir1.browse(usb + "/Физика"); });
    EXPECT_EQ(chooser.Drive1.drive(), usb);
    EXPECT_TRUE(chooser.Command1.enabled());
    f.app.userEvent([&] { chooser.Label8.click(); });
    EXPECT_EQ(chooser.Drive1.drive(), "/");
    EXPECT_EQ(chooser.Text1.text(), f.app.path("b"));
}

TEST(FolderChooser, FoldersNobodyMayReadAreRefusedAndChangeNothing) {
    AppFixture f;
    QFile::setPermissions(f.folder.path(), kOpen);
    const QString locked = makeExam(f.app.path("b/locked"), 2, 1);
    const QString deep = makeExam(f.app.path("b/deep"), 2, 1);
    touch(deep + "/b1/sub/q2.txt");
    Form9& chooser = openChooser(f);
    Form4& settings = f.app.window<Form4>();
    QFile::setPermissions(locked, {});
    QFile::setPermissions(deep + "/b1/sub", {});
    {
        AsUnprivilegedUser user;
        f.app.userEvent([&] { chooser.Dir1.browse(locked); });
        EXPECT_EQ(chooser.Text4.text(), "Нет доступа к папке");
        EXPECT_FALSE(chooser.Command1.enabled());

        // The first ticket can be read, a folder inside it cannot: no counts at all.
        f.app.userEvent([&] { chooser.Dir1.browse(deep); });
        ASSERT_TRUE(chooser.Command1.enabled());
        f.app.userEvent([&] { chooser.Command1.press(); });
    }
    QFile::setPermissions(locked, kOpen);
    QFile::setPermissions(deep + "/b1/sub", kOpen);
    ASSERT_EQ(f.desktop.messages.size(), 1u);
    EXPECT_EQ(f.desktop.messages.front().text,
              "Не удалось прочитать папку " + deep + "/b1/sub. Настройки не изменены.");
    EXPECT_EQ(f.desktop.messages.front().title, "Проверон");
    EXPECT_EQ(settings.Text6.text(), "");
    EXPECT_EQ(chooser.Text2.text(), "");
    EXPECT_EQ(chooser.Text8.text(), "");
    EXPECT_TRUE(chooser.visible());
    EXPECT_FALSE(chooser.Frame1.visible());
}

TEST(FolderChooser, TenThousandTicketsAreCountedWellUnderASecond) {
    AppFixture f;
    // Made in memory where the system offers it: ten thousand folders on a busy disk take
    // far longer to make than to count.
    const QString place = QDir("/dev/shm").exists() ? "/dev/shm" : QDir::tempPath();
    QTemporaryDir memory(place + "/proveron-XXXXXX");
    ASSERT_TRUE(memory.isValid());
    const QString exam = makeExam(memory.path() + "/big", 10000, 20);
    Form9& chooser = openChooser(f);
    f.app.userEvent([&] { chooser.Dir1.browse(exam); });
    QElapsedTimer clock;
    clock.start();
    f.app.userEvent([&] { chooser.Command1.press(); });
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(chooser.Text2.text(), "10000");
    EXPECT_EQ(chooser.Text8.text(), "20");
    EXPECT_LT(elapsed, 1000) << "acceptance took " << elapsed << " ms";
}
