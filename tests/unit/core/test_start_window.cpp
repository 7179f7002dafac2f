// The bundled application folder must make a working sample.

#include "common/decimal.h"
#include "exam_content/exam_folder.h"
#include "exam_content/question_pictures.h"
#include "forms/app.h"
#include "platform/fake_services.h"
#include "platform/profile_file.h"
#include "platform/text_files.h"
#include "settings/settings_window.h"
#include "shell/start_window.h"
#include "test_support.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

const QString kData = QStringLiteral(PROVERON_DATA_DIR);

QString setting(const QString& key) {
    return platform::readProfileString(QDir(kData).filePath("test.ini"), "test", key);
}

} // namespace

TEST(SampleData, SettingsPointAtAWorkingExam) {
    EXPECT_EQ(setting("re"), "rus");
    EXPECT_EQ(setting("pass"), "");
    EXPECT_EQ(setting("k"), "2");
    const int tickets = setting("bilet").toInt();
    const int questions = setting("vopros").toInt();
    ASSERT_GE(tickets, 3);
    ASSERT_GE(questions, 1);
    ASSERT_LE(questions, exam_folder::kMaxQuestions);
    // The passing score lies on the scale of the grades: 2 (all wrong) to 5 (all right).
    const auto score = Decimal::parse(setting("ball"));
    ASSERT_TRUE(score);
    EXPECT_GT(*score, Decimal::fromInt(2));
    EXPECT_LE(*score, Decimal::fromInt(5));

    // The exam folder is given relative to the application folder.
    const QString z = setting("z");
    ASSERT_FALSE(z.isEmpty());
    ASSERT_TRUE(QDir::isRelativePath(z));
    const QString exam = QDir(kData).filePath(z);
    const auto title = exam_folder::readExamTitle(exam);
    ASSERT_TRUE(title);
    EXPECT_TRUE(title->endsWith("\r\n"));
    EXPECT_GT(title->size(), 2);

    int pictures = 0;
    for (int t = 1; t <= tickets; ++t) {
        const QString name =
            exam_folder::lookUpEntry(exam, exam_folder::ticketFolderName(QString::number(t)));
        ASSERT_EQ(name, QStringLiteral("b%1").arg(t));
        const QString ticket = exam_folder::ticketFolderPath(exam, name);
        for (int n = 1; n <= questions; ++n) {
            SCOPED_TRACE(QStringLiteral("b%1 question %2").arg(t).arg(n).toStdString());
            const auto text = exam_folder::readQuestionText(ticket, n);
            const auto variants = exam_folder::readVariants(ticket, n);
            const auto answer = exam_folder::readAnswerLines(ticket, n);
            ASSERT_TRUE(text && variants && answer);
            EXPECT_TRUE(text->endsWith("\r\n"));
            // Cyrillic survived the round trip through Windows-1251.
            EXPECT_TRUE(text->contains(QRegularExpression("[А-Яа-яЁё]")));
            ASSERT_GE(variants->size(), 2);
            ASSERT_FALSE(answer->isEmpty());
            EXPECT_EQ(variants->count(answer->first()), 1) << "the answer is one variant";
            EXPECT_FALSE(variants->contains(QString()));
            if (!exam_folder::lookUpQuestionFile(ticket, 'k', n).isEmpty()) {
                EXPECT_FALSE(exam_folder::loadPicture(ticket, n).isNull());
                ++pictures;
            }
        }
    }
    EXPECT_GE(pictures, 1);
}

TEST(SampleData, TextFilesAreWindows1251WithCrLf) {
    QStringList files{QDir(kData).filePath("test.ini"), QDir(kData).filePath("plt.txt")};
    QDirIterator it(QDir(kData).filePath("b"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(".txt") || path.endsWith(".lzm")) files << path;
    }
    ASSERT_GT(files.size(), 40);
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ASSERT_TRUE(bytes.endsWith("\r\n"));
        EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n")) << "every line ends in CR LF";
        EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF")) << "no UTF-8 mark";
        // Text with Cyrillic in it is no valid UTF-8 when it is Windows-1251.
        if (std::any_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; })) {
            EXPECT_TRUE(QString::fromUtf8(bytes).contains(QChar::ReplacementCharacter));
        }
    }
}

namespace {

// A copy of the bundled application folder, as the build stages it next to the program.
bool copyFolder(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(path));
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target)) return false;
        } else if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::copy(path, target)) {
            return false;
        }
    }
    return true;
}

} // namespace

TEST(SampleData, StudentOpensADrawnTicket) {
    QTemporaryDir folder;
    ASSERT_TRUE(copyFolder(kData, folder.path()));
    platform::FakeDesktop desktop;
    App app(folder.path(), platform::Services{desktop, desktop, desktop, desktop, desktop, desktop,
                                              platform::UserLocale::russian()});
    app.userEvent([&] { app.window<Form1>().show(); });
    Form1& start = app.window<Form1>();
    EXPECT_EQ(start.Label8.caption(), "География\r\n");
    EXPECT_EQ(start.Command1.caption(), "Выбрать билет");

    desktop.randomValues = {0.0};
    app.userEvent([&] { start.Option1.click(); });
    app.userEvent([&] { start.Text9.setText("Иванов"); });
    app.userEvent([&] { start.Command14.press(); });
    app.userEvent([&] { start.Command1.press(); });
    app.userEvent([&] { start.Timer1.tick(); });
    EXPECT_EQ(start.Label1.caption(), "b1");
    ASSERT_TRUE(start.Command3.enabled());
    app.userEvent([&] { start.Command3.press(); });
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_FALSE(start.visible());
    ASSERT_NE(app.loadedWindow("Form2"), nullptr);
    EXPECT_TRUE(app.loadedWindow("Form2")->visible());
}
