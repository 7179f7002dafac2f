// Writing exam folders: the marker check, the question files byte for byte, pictures, and
// the ticket editor's refusals of names and numbers that would leave the exam folder.

#include "exam_content/exam_writer.h"
#include "exam_content/question_pictures.h"
#include "exam_content/ticket_editor.h"
#include "platform/folders.h"
#include "platform/profile_file.h"
#include "settings/settings_window.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstring>

#include <gtest/gtest.h>

#include "test_support.h"

using namespace exam_writer;

namespace {

class ExamWriter : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        exam = dir.filePath("exam");
        ticket = QDir(exam).filePath("b1");
    }
    QString at(const QString& name) const { return QDir(ticket).filePath(name); }

    QTemporaryDir dir;
    QString exam;
    QString ticket;
};

} // namespace

TEST_F(ExamWriter, OnlyAFolderWhoseFirstMarkerIsExactlyLzmLzmIsAnExam) {
    EXPECT_FALSE(isExamFolder(exam)); // missing
    EXPECT_TRUE(createExamFolder(exam, "Физика"));
    EXPECT_EQ(bytesOf(QDir(exam).filePath("lzm.lzm")), QByteArray("\xD4\xE8\xE7\xE8\xEA\xE0\r\n"));
    EXPECT_TRUE(isExamFolder(exam));
    putBytes(QDir(exam).filePath("a.LZM"), "x");
    EXPECT_EQ(firstMarkerName(exam), "a.LZM");
    EXPECT_FALSE(isExamFolder(exam));

    const QString windows = dir.filePath("windows");
    putBytes(QDir(windows).filePath("LZM.LZM"), "old\r\n");
    QDir().mkpath(QDir(windows).filePath("b.lzm")); // a folder is no marker
    EXPECT_EQ(firstMarkerName(windows), "LZM.LZM");
    EXPECT_FALSE(isExamFolder(windows));
    // Written again, the marker replaces the one there under another case.
    EXPECT_TRUE(createExamFolder(windows, "new"));
    EXPECT_EQ(QDir(windows).entryList(QDir::Files), QStringList({"LZM.LZM"}));
    EXPECT_EQ(bytesOf(QDir(windows).filePath("LZM.LZM")), QByteArray("new\r\n"));

    putBytes(dir.filePath("file"), "x");
    const QString blocked = QDir(dir.filePath("file")).filePath("exam");
    EXPECT_EQ(createExamFolder(blocked, "x").file(), blocked);
}

TEST_F(ExamWriter, TicketNumbersArePlainNumbersAndQuestionsComeFromTheList) {
    for (const char* good : {"1", "12", "999999999"})
        EXPECT_TRUE(isTicketNumber(good)) << good;
    for (const char* bad :
         {"", "0", "007", "1e3", "../b1", " 1", "1 ", "-1", "+1", "1.0", "1234567890", "１"})
        EXPECT_FALSE(isTicketNumber(QString::fromUtf8(bad))) << bad;
    EXPECT_EQ(questionNumber("1"), 1);
    EXPECT_EQ(questionNumber("20"), 20);
    for (const char* bad : {"", "0", "21", "03", " 3", "3a"})
        EXPECT_FALSE(questionNumber(bad).has_value()) << bad;
}

TEST_F(ExamWriter, QuestionsRoundTripByteForByte) {
    const QuestionTexts texts{"Вопрос?\r\nвторая строка", "1.нора\r\n2.шалаш\r\n", "1.нора"};
    EXPECT_TRUE(writeQuestion(ticket, 3, texts));
    EXPECT_EQ(bytesOf(at("q3.txt")),
              QByteArray("\xC2\xEE\xEF\xF0\xEE\xF1?\r\n\xE2\xF2\xEE\xF0\xE0\xFF "
                         "\xF1\xF2\xF0\xEE\xEA\xE0\r\n"));
    EXPECT_EQ(bytesOf(at("v3.txt")),
              QByteArray("1.\xED\xEE\xF0\xE0\r\n2.\xF8\xE0\xEB\xE0\xF8\r\n\r\n"));
    EXPECT_EQ(bytesOf(at("o3.txt")), QByteArray("1.\xED\xEE\xF0\xE0\r\n"));

    // Loaded and saved again, nothing grows, the empty last variant included.
    const QuestionRead read = readQuestion(ticket, 3);
    EXPECT_TRUE(read.unreadableFile.isEmpty());
    EXPECT_EQ(read.texts.variants, texts.variants);
    const QByteArray variants = bytesOf(at("v3.txt"));
    EXPECT_TRUE(writeQuestion(ticket, 3, read.texts));
    EXPECT_EQ(bytesOf(at("v3.txt")), variants);

    // A file made on Windows under another case is replaced, not doubled.
    putBytes(at("Q4.TXT"), "old\r\n");
    EXPECT_TRUE(writeQuestion(ticket, 4, {"new", "a", "a"}));
    EXPECT_EQ(bytesOf(at("Q4.TXT")), QByteArray("new\r\n"));
    EXPECT_FALSE(QFile::exists(at("q4.txt")));

    QFile::remove(at("o4.txt"));
    const QuestionRead partial = readQuestion(ticket, 4);
    EXPECT_EQ(partial.unreadableFile, at("o4.txt"));
    EXPECT_TRUE(partial.texts.question.isEmpty());
}

TEST_F(ExamWriter, AFolderThatCannotBeWrittenIsNamedAndKeepsItsFiles) {
    ASSERT_TRUE(writeQuestion(ticket, 1, {"q", "v", "o"}));
    makeReadOnlyFolder(dir.path(), exam);
    // Group bits too: the unprivileged user keeps the group of the suite.
    QFile::setPermissions(ticket, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                      QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    QString failedText, failedFolder, failedPicture, failedDelete, textReason;
    putBytes(at("k1.bmp"), "BM");
    {
        AsUnprivilegedUser user;
        const platform::WriteResult text = writeQuestion(ticket, 1, {"new", "v", "o"});
        failedText = text.file();
        textReason = text.reason();
        failedFolder = writeQuestion(QDir(exam).filePath("b2"), 1, {"q", "v", "o"}).file();
        failedPicture = writeQuestionPicture(ticket, 1, QImage(2, 2, QImage::Format_RGB32));
        failedDelete = deleteQuestionPicture(ticket, 1);
    }
    QFile::setPermissions(ticket, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(exam, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(failedText, at("q1.txt"));
    // The system's own reason goes with it, for the message to name.
    EXPECT_EQ(textReason, QString::fromLocal8Bit(std::strerror(EACCES)));
    EXPECT_EQ(bytesOf(at("q1.txt")), QByteArray("q\r\n"));
    EXPECT_EQ(failedFolder, QDir(exam).filePath("b2"));
    EXPECT_EQ(failedPicture, at("k1.bmp"));
    EXPECT_EQ(failedDelete, at("k1.bmp"));
    EXPECT_EQ(bytesOf(at("k1.bmp")), QByteArray("BM"));
}

TEST_F(ExamWriter, PicturesAreWrittenAsBitmapsAndChecksBeforeTheyAreTaken) {
    QImage picture(5, 3, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(dir.filePath("red.png"), "PNG"));
    const ChosenPicture chosen = loadChosenPicture(dir.filePath("red.png"));
    ASSERT_EQ(chosen.problem, ChosenPicture::Problem::None);
    ASSERT_TRUE(writeQuestion(ticket, 2, {"q", "v", "o"}));
    EXPECT_TRUE(writeQuestionPicture(ticket, 2, chosen.picture).isEmpty());
    EXPECT_TRUE(bytesOf(at("k2.bmp")).startsWith("BM"));
    EXPECT_EQ(QImage(at("k2.bmp")).size(), QSize(5, 3));
    EXPECT_EQ(writeQuestionPicture(ticket, 2, QImage()), at("k2.bmp"));

    QFile::rename(at("k2.bmp"), at("K2.BMP"));
    EXPECT_TRUE(deleteQuestionPicture(ticket, 2).isEmpty());
    EXPECT_FALSE(QFile::exists(at("K2.BMP")));
    EXPECT_TRUE(deleteQuestionPicture(ticket, 2).isEmpty()); // nothing left to delete

    EXPECT_EQ(loadChosenPicture(dir.filePath("missing.bmp")).problem,
              ChosenPicture::Problem::Unreadable);
    ASSERT_TRUE(
        QImage(kLargestPicture + 1, 1, QImage::Format_RGB32).save(dir.filePath("wide.bmp")));
    const ChosenPicture wide = loadChosenPicture(dir.filePath("wide.bmp"));
    EXPECT_EQ(wide.problem, ChosenPicture::Problem::TooLarge);
    EXPECT_EQ(wide.size, QSize(kLargestPicture + 1, 1));
    EXPECT_TRUE(wide.picture.isNull());
}

TEST_F(ExamWriter, AnswersAndCharactersAreCheckedAsTheReadersWillSeeThem) {
    EXPECT_TRUE(answerIsAVariant("1.нора\r\n2.шалаш", "1.нора"));
    EXPECT_TRUE(answerIsAVariant("a\r\nb", "b\r\nignored second line"));
    EXPECT_FALSE(answerIsAVariant("1.нора\r\n2.шалаш", "1.нора "));
    EXPECT_TRUE(answerIsAVariant("a\r\n", "")); // the empty last variant

    EXPECT_FALSE(firstUnwritableCharacter("Ёжик №5 стоит 10 € «ровно»").has_value());
    EXPECT_EQ(firstUnwritableCharacter("x = √4"), QString("√"));
    EXPECT_EQ(firstUnwritableCharacter(QString::fromUtf8("ok \xF0\x9F\x98\x80!")),
              QString::fromUtf8("\xF0\x9F\x98\x80"));
}

TEST(TicketEditor, TypedExamNamesNeverLeaveTheExamsFolder) {
    AppFixture f;
    platform::writeProfileString(f.app.settingsFile(), "test", "time", "1");
    Form7& editor = f.app.window<Form7>();
    const QString exams = f.app.path("b");
    auto create = [&](const QString& name) {
        f.app.userEvent([&] {
            editor.Command9.press();
            editor.Text9.setText(name);
            editor.Command5.press();
        });
    };
    for (const char* bad : {"..", "a/b", "a\\b", "C:x", "CON", "x.", "tab\there", "√"}) {
        create(QString::fromUtf8(bad));
        EXPECT_EQ(f.desktop.messages.size(), 1u) << bad;
        f.desktop.messages.clear();
        EXPECT_TRUE(platform::GetFolders(exams).isEmpty()) << bad;
        EXPECT_EQ(f.app.window<Form4>().Text6.text(), "") << bad;
    }
    EXPECT_EQ(platform::GetFolders(f.folder.path()), QStringList({"test.ini"}));

    // A long name is created, or refused with a message where the file system cannot
    // hold it; never half made.
    for (const QString& name : {QString(200, 'x'), QString(200, QChar(0x0416))}) {
        create(name);
        const QString folder = QDir(exams).filePath(name);
        if (f.desktop.messages.empty()) {
            EXPECT_EQ(f.app.window<Form4>().Text6.text(), folder);
            EXPECT_TRUE(exam_writer::isExamFolder(folder));
            f.app.userEvent([&] { editor.Command7.press(); });
        } else {
            EXPECT_FALSE(QFileInfo::exists(folder));
            f.desktop.messages.clear();
            f.app.userEvent([&] { editor.Command13.press(); });
        }
    }
}
