// The plain logic of test mode: where a test's files are, how its count is taken, how
// questions are read and written, the scoring rules, the report's bytes, and the bundled
// sample test.

#include "common/decimal.h"
#include "platform/ansi_codec.h"
#include "platform/profile_file.h"
#include "test_support.h"
#include "tester/questionnaire_files.h"
#include "tester/scoring.h"
#include "tester/tester_report.h"

#include <QDir>
#include <gtest/gtest.h>

#include <set>

namespace {

const QString kData = QStringLiteral(PROVERON_DATA_DIR);

} // namespace

TEST(TestFiles, PathsStayInsideTheTestsFolder) {
    AppFixture f;
    const QString tests = f.folder.path() + "/t";
    EXPECT_EQ(questionnaire_files::definitionPath(f.app, "Anketa"), tests + "/Anketa/Anketa.tst");
    EXPECT_EQ(questionnaire_files::questionFilePath(f.app, "Anketa", "12"),
              tests + "/Anketa/vt12.txt");
    // Conclusion 2 lives in v3.txt, conclusion 3 in v2.txt.
    EXPECT_EQ(questionnaire_files::conclusionFilePath(f.app, "Anketa", 1),
              tests + "/Anketa/v1.txt");
    EXPECT_EQ(questionnaire_files::conclusionFilePath(f.app, "Anketa", 2),
              tests + "/Anketa/v3.txt");
    EXPECT_EQ(questionnaire_files::conclusionFilePath(f.app, "Anketa", 3),
              tests + "/Anketa/v2.txt");
    EXPECT_EQ(questionnaire_files::conclusionFilePath(f.app, "Anketa", 4), "");

    // Names that lead elsewhere or that Windows cannot store give no path at all.
    for (const char* bad : {"", " ", "..", "../x", "a/b", "a\\b", "C:x", "a*b", "a?", "x.", "CON",
                            "nul.txt", "a|b"}) {
        EXPECT_EQ(questionnaire_files::testFolder(f.app, QString::fromUtf8(bad)), "") << bad;
        EXPECT_EQ(questionnaire_files::definitionPath(f.app, QString::fromUtf8(bad)), "") << bad;
    }
    // The .tst file must be storable too: a file system takes 255 bytes of a name, and
    // 125 Cyrillic letters and ".tst" make 254 (251 Latin ones 255).
    EXPECT_TRUE(questionnaire_files::isTestName(QString(125, QChar(u'я'))));
    EXPECT_FALSE(questionnaire_files::isTestName(QString(126, QChar(u'я'))));
    EXPECT_TRUE(questionnaire_files::isTestName(QString(251, QChar(u'x'))));
    EXPECT_FALSE(questionnaire_files::isTestName(QString(252, QChar(u'x'))));
    // A question number is a file name part and never a way out.
    EXPECT_EQ(questionnaire_files::questionFilePath(f.app, "Anketa", "1/../../x"), "");

    // A folder made on Windows is found whatever the letter case.
    ASSERT_TRUE(QDir().mkpath(tests + "/ANKETA"));
    EXPECT_EQ(questionnaire_files::testFolder(f.app, "Anketa"), tests + "/ANKETA");
}

TEST(TestFiles, QuestionsCountWithoutAGapAndIgnoreStrayFiles) {
    QTemporaryDir dir;
    const QString folder = dir.path();
    EXPECT_EQ(questionnaire_files::countQuestions(folder + "/missing"), 0);
    for (const char* name : {"T.tst", "v1.txt", "v2.txt", "v3.txt", "Thumbs.db", "desktop.ini"})
        putBytes(folder + "/" + name, "x");
    EXPECT_EQ(questionnaire_files::countQuestions(folder), 0);
    for (const char* name : {"vt1.txt", "VT2.TXT", "vt3.txt", "vt5.txt", "vt10.txt"})
        putBytes(folder + "/" + name, "x");
    QDir().mkpath(folder + "/vt4.bak");
    EXPECT_EQ(questionnaire_files::countQuestions(folder), 3);
}

TEST(TestFiles, QuestionsAreWrittenInTheirOrderAndReadBack) {
    AppFixture f;
    const QString tst = f.folder.path() + "/T.tst";
    ASSERT_TRUE(platform::writeProfileString(tst, "v", "t", "T"));
    questionnaire_files::Question question;
    question.answers = {QStringLiteral("Да"), QStringLiteral("Нет"), "", "", ""};
    question.points = {"1", "-2,5", "0", "0", "0"};
    ASSERT_TRUE(questionnaire_files::writeQuestion(tst, "1", question));
    EXPECT_EQ(bytesOf(tst), platform::toAnsi(QStringLiteral(
                                "[v]\r\nt=T\r\n[1]\r\nq1=Да\r\nq2=Нет\r\nq3=\r\nq4=\r\nq5=\r\n"
                                "b1=1\r\nb2=-2,5\r\nb3=0\r\nb4=0\r\nb5=0\r\n")));

    // A 300-character answer reads back as its first 255; a line break cannot split a key.
    question.answers[0] = QString(300, QChar(u'ж'));
    question.answers[1] = QStringLiteral("один\r\nb1=999");
    ASSERT_TRUE(questionnaire_files::writeQuestion(tst, "2", question));
    const questionnaire_files::Question back = questionnaire_files::readQuestion(tst, "2");
    EXPECT_EQ(back.answers[0], QString(255, QChar(u'ж')));
    EXPECT_EQ(back.answers[1], QStringLiteral("один  b1=999"));
    EXPECT_EQ(back.points[0], "1");

    const questionnaire_files::Header header = questionnaire_files::readHeader(tst);
    EXPECT_EQ(header.name, "T");
    EXPECT_EQ(header.thresholds[0], "");
    EXPECT_EQ(questionnaire_files::readQuestion(tst, "7").answers[0], "");
}

TEST(TestFiles, TextFilesKeepTheirLineEnd) {
    QTemporaryDir dir;
    const QString path = dir.filePath("vt1.txt");
    ASSERT_TRUE(questionnaire_files::writeTextFile(path, QStringLiteral("Строка 1\r\nСтрока 2")));
    EXPECT_EQ(questionnaire_files::readTextFile(path), QStringLiteral("Строка 1\r\nСтрока 2\r\n"));
    EXPECT_FALSE(questionnaire_files::readTextFile(dir.filePath("none.txt")));
    EXPECT_FALSE(questionnaire_files::writeTextFile(dir.path(), "x"));
}

TEST(TestFiles, QuestionNumbersAreWholeAndPositive) {
    EXPECT_EQ(questionnaire_files::questionNumber("1"), 1);
    EXPECT_EQ(questionnaire_files::questionNumber(" 32767 "), 32767);
    EXPECT_EQ(questionnaire_files::questionNumber("2,0"), 2);
    for (const char* bad : {"", "0", "-1", "1,5", "x", "32768", "99999", "1e30"})
        EXPECT_FALSE(questionnaire_files::questionNumber(bad)) << bad;
}

TEST(Scoring, ThresholdsAreUpperBoundsTriedInOrder) {
    using scoring::Conclusion;
    auto select = [](const char* total, const char* t1, const char* t2, const char* t3) {
        return scoring::selectConclusion(QString::fromLatin1(total), QString::fromLatin1(t1),
                                         QString::fromLatin1(t2), QString::fromLatin1(t3));
    };
    EXPECT_EQ(select("10", "10", "20", "30"), Conclusion::First);
    EXPECT_EQ(select("10,0001", "10", "20", "30"), Conclusion::Second);
    EXPECT_EQ(select("20", "10", "20", "30"), Conclusion::Second);
    EXPECT_EQ(select("25", "10", "20", "30"), Conclusion::Third);
    EXPECT_EQ(select("30", "10", "20", "30"), Conclusion::Third);
    EXPECT_EQ(select("30.0001", "10", "20", "30"), Conclusion::None);
    EXPECT_EQ(select("-5", "10", "20", "30"), Conclusion::First);
    // Thresholds that are all equal: a tie is the first; above them none.
    EXPECT_EQ(select("0", "0", "0", "0"), Conclusion::First);
    EXPECT_EQ(select("1", "", "abc", "0"), Conclusion::None);
    // Not ascending: some totals fit no rule.
    EXPECT_EQ(select("15", "20", "10", "30"), Conclusion::None);
    EXPECT_EQ(select("5", "20", "10", "30"), Conclusion::First);
}

TEST(Scoring, PointsAddUpExactlyInTheUsersSeparator) {
    EXPECT_EQ(scoring::addPoints("0", "1,5", QChar(',')), "1,5");
    EXPECT_EQ(scoring::addPoints("1,5", "-0.25", QChar('.')), "1.25");
    EXPECT_EQ(scoring::addPoints("2", "abc", QChar(',')), "2");
    EXPECT_EQ(scoring::total({"0,1", "0,2", "0", "-3", "32767"}, QChar(',')), "32764,3");
    // A sum beyond the decimal's range keeps what was gathered.
    const QString huge = Decimal::fromUnits(INT64_MAX).toText(QChar('.'));
    EXPECT_EQ(scoring::addPoints(huge, "1", QChar('.')), huge);
}

TEST(Scoring, FieldNumbersAreSixteenBit) {
    using scoring::FieldNumber;
    EXPECT_EQ(scoring::checkFieldNumber("-3"), FieldNumber::Kept);
    EXPECT_EQ(scoring::checkFieldNumber("1,5"), FieldNumber::Kept);
    EXPECT_EQ(scoring::checkFieldNumber("32767,4"), FieldNumber::Kept);
    EXPECT_EQ(scoring::checkFieldNumber("32767,5"), FieldNumber::OutOfRange);
    EXPECT_EQ(scoring::checkFieldNumber("-32769"), FieldNumber::OutOfRange);
    EXPECT_EQ(scoring::checkFieldNumber(""), FieldNumber::NotNumeric);
    EXPECT_EQ(scoring::checkFieldNumber("abc"), FieldNumber::NotNumeric);
    EXPECT_EQ(scoring::checkFieldNumber("1e30"), FieldNumber::NotNumeric);
    EXPECT_EQ(scoring::storedFieldNumber("99999"), "0");
    EXPECT_EQ(scoring::storedFieldNumber(" 7 "), " 7 ");
}

TEST(TestReport, BlocksKeepTheirBytes) {
    EXPECT_EQ(tester_report::headerBlock(QStringLiteral("Тест"), "9:05", "07.12.2026"),
              QStringLiteral("==================\r\r\nТЕСТ: Тест\r\r\n9:05 07.12.2026\r\r\n"
                             "==================\r\r\n==================\r\r\n"));
    EXPECT_EQ(
        tester_report::answerLine(QStringLiteral("Вопрос?\r\n"), QStringLiteral("Да"), "-1,5"),
        QStringLiteral("Вопрос?\r\n Да - -1,5\r\n"));
    tester_report::Result result;
    result.total = "7";
    result.selected = QStringLiteral("Средне\r\n");
    result.conclusions = {QStringLiteral("Мало\r\n"), QStringLiteral("Средне\r\n"),
                          QStringLiteral("Много\r\n")};
    result.thresholds = {"5", "10", "15"};
    EXPECT_EQ(tester_report::resultBlock(result),
              QStringLiteral("==================\r\r\n"
                             "Общее количество балов теста: 7\r\r\n"
                             "Средне\r\n\r\r\n"
                             "==================\r\r\n==================\r\r\n"
                             "ВЫВОД №1: Мало\r\n = до 5\r\r\n"
                             "==================\r\r\n"
                             "ВЫВОД №2: Средне\r\n =  до 10\r\r\n"
                             "==================\r\r\n"
                             "ВЫВОД №3: Много\r\n =  до 15\r\r\n"
                             "==================\r\r\n"
                             "\r\n\r\n"));
}

TEST(TestReport, AppendsWholeBlocksAndMakesTheFolder) {
    QTemporaryDir dir;
    const QString report = dir.filePath("s/lzm.txt");
    ASSERT_TRUE(tester_report::append(report, QStringLiteral("ТЕСТ\r\r\n")));
    ASSERT_TRUE(tester_report::append(report, "x\r\n"));
    EXPECT_EQ(bytesOf(report), QByteArray("\xD2\xC5\xD1\xD2\r\r\nx\r\n"));
    EXPECT_FALSE(tester_report::append(dir.filePath("s"), "x"));
}

TEST(SampleTest, EveryConclusionCanBeReached) {
    AppFixture f;
    const QString name = QStringLiteral("Учеба");
    const QString folder = QDir(kData).filePath("t/" + name);
    const QString tst = folder + "/" + name + ".tst";
    const questionnaire_files::Header header = questionnaire_files::readHeader(tst);
    ASSERT_EQ(header.name, name);
    const int count = questionnaire_files::countQuestions(folder);
    ASSERT_GE(count, 5);
    ASSERT_EQ(QDir(folder).entryList(QDir::Files).size(), count + 4);
    for (int k = 1; k <= 3; ++k) {
        const auto text = questionnaire_files::readTextFile(
            QDir(folder).filePath(QStringLiteral("v%1.txt").arg(k)));
        ASSERT_TRUE(text && text->endsWith("\r\n") && text->size() > 10);
    }

    // Every total the answers can make, and the conclusions they select.
    std::set<std::int64_t> totals{0};
    for (int n = 1; n <= count; ++n) {
        ASSERT_TRUE(questionnaire_files::readTextFile(folder + QStringLiteral("/vt%1.txt").arg(n)));
        const questionnaire_files::Question question =
            questionnaire_files::readQuestion(tst, QString::number(n));
        std::set<std::int64_t> next;
        for (int k = 0; k < 5; ++k) {
            if (question.answers[std::size_t(k)].isEmpty()) continue;
            const auto points = Decimal::parse(question.points[std::size_t(k)]);
            ASSERT_TRUE(points);
            for (std::int64_t total : totals)
                next.insert(total + points->units());
        }
        ASSERT_GE(next.size(), 2u);
        totals = next;
    }
    std::set<scoring::Conclusion> reached;
    for (std::int64_t total : totals) {
        reached.insert(scoring::selectConclusion(
            Decimal::fromUnits(total), *Decimal::parse(header.thresholds[0]),
            *Decimal::parse(header.thresholds[1]), *Decimal::parse(header.thresholds[2])));
    }
    EXPECT_EQ(reached, (std::set<scoring::Conclusion>{scoring::Conclusion::First,
                                                      scoring::Conclusion::Second,
                                                      scoring::Conclusion::Third}));
}
