#include "exam_content/exam_folder.h"
#include "exam_content/question_pictures.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "test_support.h"

using namespace exam_folder;

namespace {

// An exam folder with its marker and one ticket folder b1.
class ExamFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        exam = dir.filePath("exam");
        ticket = QDir(exam).filePath("b1");
        ASSERT_TRUE(QDir().mkpath(ticket));
    }
    void put(const char* name, const QByteArray& bytes) {
        putBytes(QDir(ticket).filePath(QString::fromLatin1(name)), bytes);
    }

    QTemporaryDir dir;
    QString exam;
    QString ticket;
};

} // namespace

TEST_F(ExamFolder, TitleIsTheWholeMarkerFile) {
    EXPECT_FALSE(readExamTitle(exam).has_value());
    EXPECT_FALSE(readExamTitle(QString()).has_value());
    // "Физика" in Windows-1251.
    putBytes(QDir(exam).filePath("LZM.LZM"), "\xD4\xE8\xE7\xE8\xEA\xE0\r\n");
    EXPECT_EQ(readExamTitle(exam), QStringLiteral("Физика\r\n"));
}

TEST_F(ExamFolder, QuestionTextKeepsEveryLineEnd) {
    // "Вопрос" / "два" in Windows-1251, CR LF, a LF-only line, the final CR LF.
    put("q1.txt", "\xC2\xEE\xEF\xF0\xEE\xF1\r\n\xE4\xE2\xE0\nend\r\n");
    EXPECT_EQ(readQuestionText(ticket, 1), QStringLiteral("Вопрос\r\nдва\nend\r\n"));
    put("q2.txt", "no line end");
    EXPECT_EQ(readQuestionText(ticket, 2), QStringLiteral("no line end"));
    EXPECT_FALSE(readQuestionText(ticket, 3).has_value());
}

TEST_F(ExamFolder, VariantsAreTheLinesWithEmptyOnesKept) {
    put("v1.txt", "1.\xED\xEE\xF0\xE0\r\n2.\xF8\xE0\xEB\xE0\xF8\r\n"); // 1.нора, 2.шалаш
    EXPECT_EQ(readVariants(ticket, 1), QStringList({"1.нора", "2.шалаш"}));
    put("v2.txt", "a\r\n\r\nb\r\n\r\n"); // an editor field that ended with an empty line
    EXPECT_EQ(readVariants(ticket, 2), QStringList({"a", "", "b", ""}));
    put("v3.txt", "a\nb\nc"); // LF only, the last line unterminated
    EXPECT_EQ(readVariants(ticket, 3), QStringList({"a", "b", "c"}));
    put("v4.txt", "");
    EXPECT_EQ(readVariants(ticket, 4), QStringList());
    EXPECT_FALSE(readVariants(ticket, 5).has_value());
}

TEST_F(ExamFolder, AnswerLinesKeepTrailingSpacesAndEveryLine) {
    put("o1.txt", "1.\xED\xEE\xF0\xE0 \r\nsecond line\r\n");
    const std::optional<QStringList> lines = readAnswerLines(ticket, 1);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, QStringList({"1.нора ", "second line"}));
}

TEST_F(ExamFolder, NamesAreFoundWhateverTheirCase) {
    QDir().rename(ticket, QDir(exam).filePath("B1"));
    const QString found = ticketFolderPath(exam, ticketFolderName("1"));
    EXPECT_EQ(QFileInfo(found).fileName(), "B1");
    EXPECT_EQ(lookUpEntry(exam, "b1"), "B1");
    putBytes(QDir(found).filePath("Q1.TXT"), "text\r\n");
    putBytes(QDir(found).filePath("V1.Txt"), "a\r\n");
    EXPECT_EQ(lookUpQuestionFile(found, 'q', 1), "Q1.TXT");
    EXPECT_EQ(lookUpQuestionFile(found, 'v', 1), "V1.Txt");
    EXPECT_EQ(lookUpQuestionFile(found, 'o', 1), "");
    EXPECT_EQ(readQuestionText(found, 1), QStringLiteral("text\r\n"));
    EXPECT_EQ(readVariants(found, 1), QStringList({"a"}));
}

TEST_F(ExamFolder, NamesThatReachOutsideTheFolderAreRefused) {
    putBytes(dir.filePath("secret.txt"), "x");
    EXPECT_EQ(ticketFolderName("7"), "b7");
    EXPECT_EQ(ticketFolderPath(exam, ticketFolderName("1/../../secret.txt")), "");
    EXPECT_EQ(ticketFolderPath(exam, ".."), "");
    EXPECT_EQ(ticketFolderPath(exam, "b1\\..\\.."), "");
    EXPECT_EQ(ticketFolderPath(QString(), "b1"), "");
    EXPECT_EQ(lookUpEntry(exam, ".."), "");
    EXPECT_EQ(lookUpEntry(exam, "../secret.txt"), "");
    EXPECT_EQ(lookUpQuestionFile(QString(), 'q', 1), "");
    EXPECT_FALSE(readQuestionText(QString(), 1).has_value());
}

TEST_F(ExamFolder, AFolderNamedLikeAQuestionFileIsFoundButNotRead) {
    ASSERT_TRUE(QDir(ticket).mkdir("q1.txt"));
    EXPECT_EQ(lookUpQuestionFile(ticket, 'q', 1), "q1.txt");
    EXPECT_FALSE(readQuestionText(ticket, 1).has_value());
}

TEST_F(ExamFolder, PicturesLoadOrComeBackNull) {
    EXPECT_EQ(questionFileName('k', 20), "k20.bmp");
    EXPECT_EQ(questionFileName('q', 3), "q3.txt");
    EXPECT_TRUE(loadPicture(ticket, 1).isNull());

    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(QDir(ticket).filePath("K1.BMP"), "BMP"));
    EXPECT_EQ(loadPicture(ticket, 1).size(), QSize(30, 20));

    put("k2.bmp", "BM this is not a bitmap");
    EXPECT_EQ(lookUpQuestionFile(ticket, 'k', 2), "k2.bmp");
    EXPECT_TRUE(loadPicture(ticket, 2).isNull());
}
