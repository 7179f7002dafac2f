// The checker on small exam and test folders made here, one fault at a time: every
// finding it can give, and none on a folder that is right.

#include "teacher_tools/answer_match.h"
#include "teacher_tools/exam_check.h"
#include "teacher_tools/folder_check.h"
#include "teacher_tools/questionnaire_check.h"

#include "platform/ansi_codec.h"
#include "platform/contained_folder.h"
#include "platform/pictures.h"
#include "platform/profile_file.h"
#include "platform/text_encoding.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

using teacher_tools::Findings;
const teacher_tools::Wording kSay("rus");

bool writeText(const QString& path, const QString& text) {
    return putBytes(path, platform::toAnsi(text));
}

// "code path" for each finding, the path relative to `base`.
QStringList described(const Findings& findings, const QString& base) {
    QStringList lines;
    for (const auto& finding : findings)
        lines.append(finding.code + ' ' + QDir(base).relativeFilePath(finding.path));
    return lines;
}

// An exam folder of `tickets` tickets of `questions` questions, every answer "да".
struct Exam {
    explicit Exam(int tickets = 2, int questions = 2, const QString& folder = {})
        : root(folder.isEmpty() ? dir.path() + "/exam" : folder) {
        writeText(at("lzm.lzm"), "Экзамен\r\n");
        for (int t = 1; t <= tickets; ++t) {
            for (int n = 1; n <= questions; ++n)
                question(t, n, "да\r\nнет\r\n", "да\r\n");
        }
    }
    QString at(const QString& relative) const { return root + '/' + relative; }
    void question(int t, int n, const QString& variants, const QString& answer) {
        const QString ticket = QStringLiteral("b%1/").arg(t);
        writeText(at(ticket + QStringLiteral("q%1.txt").arg(n)),
                  QStringLiteral("Вопрос %1?\r\n").arg(n));
        writeText(at(ticket + QStringLiteral("v%1.txt").arg(n)), variants);
        writeText(at(ticket + QStringLiteral("o%1.txt").arg(n)), answer);
    }
    QStringList check(teacher_tools::ExamExpectations expectations = {}) const {
        return described(
            teacher_tools::checkExamFolder(at(""), expectations, platform::qtPictureCodec(), kSay),
            at(""));
    }
    QTemporaryDir dir;
    QString root;
};

} // namespace

TEST(ExamCheck, AFolderWithoutFaultsHasNoFindings) {
    Exam exam(2, 3);
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(exam.at("b2/k3.bmp"), "BMP"));
    EXPECT_EQ(exam.check(), QStringList());
    EXPECT_EQ(exam.check({2, 3}), QStringList());
    EXPECT_TRUE(teacher_tools::looksLikeExamFolder(exam.at("")));
}

TEST(ExamCheck, MarkerFileMissingEmptyOrNotFirst) {
    Exam exam;
    QFile::remove(exam.at("lzm.lzm"));
    EXPECT_EQ(exam.check(), QStringList{"marker-missing lzm.lzm"});
    writeText(exam.at("lzm.lzm"), "\r\n");
    writeText(exam.at("a.lzm"), "Старый\r\n");
    EXPECT_EQ(exam.check(),
              (QStringList{"marker-empty lzm.lzm", "marker-not-first a.lzm", "stray-entry a.lzm"}));
}

TEST(ExamCheck, StrayEntriesMissingAndUndrawnTickets) {
    Exam exam(3, 1);
    putBytes(exam.at("notes.txt"), "x");
    putBytes(exam.at("Thumbs.db"), "x"); // hidden on Windows: no listing counts it
    QDir().mkpath(exam.at("b01"));
    QDir(exam.at("")).rename("b2", "old");
    EXPECT_EQ(exam.check(), (QStringList{"stray-entry b01", "stray-entry notes.txt",
                                         "stray-entry old", "ticket-missing b2"}));
    const Findings findings =
        teacher_tools::checkExamFolder(exam.at(""), {}, platform::qtPictureCodec(), kSay);
    EXPECT_TRUE(findings.front().message.contains("насчитает 5 вместо 2"))
        << findings.front().message.toStdString();

    // Held to the settings: tickets up to 4 are wanted, ticket 3 is drawn, 5 never is.
    Exam held(3, 1);
    QDir(held.at("")).rename("b3", "b5");
    EXPECT_EQ(held.check({4, 1}),
              (QStringList{"ticket-missing b3", "ticket-missing b4", "ticket-never-drawn b5"}));

    Exam upper(1, 1);
    QDir(upper.at("")).rename("b1", "B1");
    EXPECT_EQ(upper.check(), QStringList{"ticket-folder-case B1"});
    Exam none(0, 0);
    EXPECT_EQ(none.check(), QStringList{"no-tickets ."});
}

TEST(ExamCheck, QuestionsMissingShortOrBeyondTheCount) {
    Exam exam(3, 3);
    QFile::remove(exam.at("b1/o2.txt"));                             // a file of a question
    for (const char* file : {"b2/q2.txt", "b2/v2.txt", "b2/o2.txt"}) // a gap
        QFile::remove(exam.at(file));
    for (const char* file : {"b3/q3.txt", "b3/v3.txt", "b3/o3.txt"}) // simply shorter
        QFile::remove(exam.at(file));
    EXPECT_EQ(exam.check({3, 3}), (QStringList{"question-file-missing b1/o2.txt",
                                               "question-missing b2/q2.txt", "ticket-short b3"}));

    // Against ticket 1 when no settings are known: ticket 2 has more, ticket 3 fewer.
    Exam measured(3, 2);
    measured.question(2, 3, "да\r\n", "да\r\n");
    for (const char* file : {"b3/q2.txt", "b3/v2.txt", "b3/o2.txt"})
        QFile::remove(measured.at(file));
    EXPECT_EQ(measured.check(), (QStringList{"questions-unused b2", "ticket-short b3"}));

    // Text files in ticket 1 that are no question files throw the chooser's count off.
    writeText(measured.at("b1/notes.txt"), "черновик");
    writeText(measured.at("b1/old/q1.txt"), "старое");
    writeText(measured.at("b1/q21.txt"), "лишний");
    EXPECT_EQ(measured.check().filter("stray-text-file"),
              (QStringList{"stray-text-file b1/old/q1.txt", "stray-text-file b1/notes.txt",
                           "stray-text-file b1/q21.txt"}));
}

TEST(ExamCheck, AnswersThatNoVariantEqualsAndEmptyVariants) {
    Exam exam(1, 5);
    exam.question(1, 1, "1.нора\r\n2.шалаш\r\n", "1.нора \r\n");
    exam.question(1, 2, "Лондон\r\n\r\nПариж\r\n", "Париж\r\n");
    exam.question(1, 3, "\r\n", "да\r\n");
    exam.question(1, 4, "да\r\nнет\r\n", "");
    exam.question(1, 5, "да\r\nнет\r\n", "Да\r\nда\r\n");
    EXPECT_EQ(exam.check(),
              (QStringList{"answer-not-a-variant b1/o1.txt", "variant-empty-line b1/v2.txt",
                           "variants-empty b1/v3.txt", "answer-empty b1/o4.txt",
                           "answer-not-a-variant b1/o5.txt"}));
    const Findings findings =
        teacher_tools::checkExamFolder(exam.at(""), {}, platform::qtPictureCodec(), kSay);
    EXPECT_EQ(findings[0].message,
              "Правильный ответ «1.нора » не совпадает ни с одной строкой вариантов: на вопрос 1 "
              "билета 1 нельзя ответить верно. Похоже на вариант 1 «1.нора»: лишние пробелы в "
              "начале или в конце.");
    EXPECT_TRUE(findings[4].message.endsWith("отличаются заглавные и строчные буквы."));
}

TEST(AnswerMatch, NamesTheVariantMeantAndWhatDiffers) {
    const teacher_tools::Wording english("eng");
    const QStringList variants{"1. нора", "2. шалаш «дом»", "3. север—юг"};
    auto cause = [&](const char* answer) -> QString {
        const auto mismatch =
            teacher_tools::explainMismatch(QString::fromUtf8(answer), variants, english);
        return QString::number(mismatch.variant) + ": " + mismatch.cause;
    };
    EXPECT_EQ(cause("1.  нора"),
              "0: blanks inside the line differ (a double or a non-breaking blank)");
    EXPECT_EQ(cause("1. нopa"),
              "0: look-alike letters of two alphabets: the answer has the Latin letter «o», the "
              "variant the Cyrillic letter «о»");
    EXPECT_EQ(cause("3. север-юг"),
              "2: different dashes or hyphens: the answer has the sign «-» (U+002D), the variant "
              "the sign «—» (U+2014)");
    EXPECT_EQ(cause("2. шалаш \"дом\""), "1: different quotes: the answer has the sign «\"» "
                                         "(U+0022), the variant the sign «\u00AB» (U+00AB)");
    EXPECT_EQ(cause(" 2. ШАЛАШ «дом»"),
              "1: blanks, letter case, look-alike letters, dashes or quotes differ");
    EXPECT_EQ(cause("нора"),
              "0: the answer matches only a part of the variant (a number left out, say)");
    EXPECT_EQ(cause("луна"), "-1: ");
}

TEST(ExamCheck, UnreadablePicturesAndFilesInOtherEncodings) {
    Exam exam(1, 4);
    putBytes(exam.at("b1/k1.bmp"), "no picture");
    putBytes(exam.at("b1/q2.txt"), QStringLiteral("Вопрос?\r\n").toUtf8());
    putBytes(exam.at("b1/q3.txt"), "\xEF\xBB\xBF"
                                   "Question?\r\n");
    QByteArray utf16("\xFF\xFE", 2);
    for (const QChar c : QStringLiteral("да\r\n"))
        utf16.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    putBytes(exam.at("b1/o4.txt"), utf16);
    const Findings findings =
        teacher_tools::checkExamFolder(exam.at(""), {}, platform::qtPictureCodec(), kSay);
    EXPECT_EQ(described(findings, exam.at("")),
              (QStringList{"picture-unreadable b1/k1.bmp", "not-windows-1251 b1/q2.txt",
                           "not-windows-1251 b1/q3.txt", "not-windows-1251 b1/o4.txt",
                           "answer-not-a-variant b1/o4.txt"}));
    EXPECT_TRUE(findings[1].convertible);
    EXPECT_TRUE(findings[2].message.startsWith("Файл сохранён в UTF-8 с меткой BOM"));
    EXPECT_TRUE(findings[3].message.startsWith("Файл сохранён в UTF-16"));
}

TEST(TextEncoding, TellsWindows1251FromUnicodeAndConvertsKeepingTheOriginal) {
    using platform::TextEncoding;
    EXPECT_EQ(platform::detectEncoding(platform::toAnsi("Съешь же ещё этих мягких булок")),
              TextEncoding::Ansi);
    EXPECT_EQ(platform::detectEncoding("plain ASCII"), TextEncoding::Ansi);
    EXPECT_EQ(platform::detectEncoding(QStringLiteral("ёж").toUtf8()), TextEncoding::Utf8);
    EXPECT_EQ(platform::decodeDetected("\xEF\xBB\xBF\xD1\x91"), "ё");
    EXPECT_EQ(platform::decodeDetected(platform::toAnsi("ёж")), "ёж");

    QTemporaryDir dir;
    const QString file = dir.filePath("exam/b1/q1.txt");
    const platform::ContainedFolder folder(dir.path());
    const QByteArray original = QStringLiteral("Сила — ток?\n").toUtf8();
    putBytes(file, original);
    using Outcome = platform::Conversion::Outcome;
    const platform::Conversion plan = platform::planConversion(folder, "exam/b1/q1.txt");
    EXPECT_EQ(plan.outcome, Outcome::Convertible);
    EXPECT_EQ(plan.original, original);
    EXPECT_EQ(plan.converted, platform::toAnsi("Сила — ток?\n"));
    putBytes(file, plan.converted);
    EXPECT_EQ(platform::planConversion(folder, "exam/b1/q1.txt").outcome, Outcome::AlreadyAnsi);

    putBytes(file, QStringLiteral("Ответ ≈ 3\r\n").toUtf8());
    const platform::Conversion refused = platform::planConversion(folder, "exam/b1/q1.txt");
    EXPECT_EQ(refused.outcome, Outcome::Unconvertible);
    EXPECT_EQ(refused.character, "≈");
}

TEST(FolderCheck, FindsExamsAndTestsAndHoldsOnlyTheExamInUseToTheSettings) {
    AppFixture f;
    const QString b = f.app.path("b");
    Exam physics(1, 1, b + "/Физика");
    Exam chemistry(1, 1, b + "/Химия");
    writeText(f.app.path("t/Тест/Тест.tst"), "[v]\r\nt=Тест\r\n");
    QDir().mkpath(b + "/Физика.backup-20260115-090000/b1");
    QDir().mkpath(b + "/пустая");
    const auto targets = teacher_tools::checkTargets(f.app.folder());
    QStringList names;
    for (const auto& target : targets)
        names.append(QDir(f.app.folder()).relativeFilePath(target.folder));
    EXPECT_EQ(names, (QStringList{"b/Физика", "b/Химия", "t/Тест"}));
    EXPECT_EQ(teacher_tools::checkTargets(b + "/Физика").size(), 1u);

    const teacher_tools::ExamInUse inUse{b + "/Физика", teacher_tools::expectationsFrom("2", "1")};
    const auto run = teacher_tools::checkTargetsOf(f.app, {targets.front()}, inUse, kSay);
    EXPECT_EQ(described(run.findings, b), QStringList{"ticket-missing Физика/b2"});
    EXPECT_EQ(run.findings.front().folder, b + "/Физика");
    const auto other =
        teacher_tools::checkTargetsOf(f.app, {targets.front()}, {b + "/Химия", {}}, kSay);
    EXPECT_TRUE(other.findings.empty());
}

namespace {

// A test "t/NAME" of three questions with answers worth 0, 1 and 2 points, thresholds 2,
// 4, 6 and its three conclusions.
struct TestFolder {
    TestFolder() {
        QDir().mkpath(at(""));
        set("v", "t", "Тест");
        for (const auto& [key, value] : {std::pair{"t1", "2"}, {"t2", "4"}, {"t3", "6"}})
            set("v", key, value);
        for (int n = 1; n <= 3; ++n) {
            const QString section = QString::number(n);
            for (int k = 1; k <= 3; ++k) {
                set(section, QStringLiteral("q%1").arg(k), QStringLiteral("ответ %1").arg(k));
                set(section, QStringLiteral("b%1").arg(k), QString::number(k - 1));
            }
            writeText(at(QStringLiteral("vt%1.txt").arg(n)),
                      QStringLiteral("Вопрос %1\r\n").arg(n));
        }
        for (const char* file : {"v1.txt", "v2.txt", "v3.txt"})
            writeText(at(file), "Вывод\r\n");
    }
    QString at(const QString& relative) const { return f.app.path("t/Тест/" + relative); }
    void set(const QString& section, const QString& key, const QString& value) {
        platform::writeProfileString(at("Тест.tst"), section, key, value);
    }
    QStringList check() {
        return described(teacher_tools::checkTestFolder(f.app, at(""), kSay), at(""));
    }
    AppFixture f;
};

} // namespace

TEST(TestCheck, ATestWithoutFaultsHasNoFindings) {
    TestFolder test;
    EXPECT_EQ(test.check(), QStringList());
    EXPECT_TRUE(teacher_tools::looksLikeTestFolder(test.at("")));
}

TEST(TestCheck, ThresholdsThatLeaveAConclusionOrATotalWithout) {
    TestFolder test;
    test.set("v", "t2", "2");    // conclusion 2 needs a total above 2 and up to 2
    test.set("v", "t3", "пять"); // reads as 0, below the others
    const Findings findings = teacher_tools::checkTestFolder(test.f.app, test.at(""), kSay);
    EXPECT_EQ(described(findings, test.at("")),
              (QStringList{"threshold-not-numeric Тест.tst", "conclusion-unreachable Тест.tst",
                           "conclusion-unreachable Тест.tst", "total-above-thresholds Тест.tst"}));
    EXPECT_EQ(findings[1].message, "Заключение 2 никогда не будет выбрано: пороги должны "
                                   "возрастать, а они 2; 2; 0.");
    EXPECT_EQ(findings[3].message, "Наибольшая возможная сумма баллов 6 больше порога 3 (0): "
                                   "для неё не найдётся заключения.");
    test.set("v", "t2", "3");
    test.set("v", "t3", "5");
    EXPECT_EQ(test.check(), QStringList{"total-above-thresholds Тест.tst"});
}

TEST(TestCheck, AnswersPointsAndMissingFiles) {
    TestFolder test;
    test.set("1", "q2", "");                   // answer 3 after an empty answer 2
    test.set("2", "b3", "два");                // points that read as 0
    test.set("2", "b1", "40000");              // beyond what a field holds
    for (const char* key : {"q1", "q2", "q3"}) // a question without answers
        test.set("3", key, "");
    test.set("4", "q1", "ответ без файла"); // a fourth question without vt4.txt
    QFile::remove(test.at("v3.txt"));
    test.set("v", "t", "Другой");
    EXPECT_EQ(test.check(),
              (QStringList{"test-name-mismatch Тест.tst", "answer-after-empty Тест.tst",
                           "points-not-numeric Тест.tst", "points-not-numeric Тест.tst",
                           "question-no-answers Тест.tst", "question-file-missing vt4.txt",
                           "conclusion-missing v3.txt"}));

    QFile::remove(test.at("vt1.txt"));
    EXPECT_TRUE(test.check().contains("no-questions vt1.txt"));
    QFile::rename(test.at("Тест.tst"), test.at("тест-старый.tst"));
    EXPECT_EQ(test.check(), QStringList{"definition-missing Тест.tst"});
}

TEST(FolderCheck, ConversionKeepsTheOriginalsBesideTheFolderAndRefusesWhatCannotBeHeld) {
    Exam exam(1, 2);
    putBytes(exam.at("b1/q1.txt"), QStringLiteral("Вопрос?\r\n").toUtf8());
    putBytes(exam.at("b1/q2.txt"), QStringLiteral("Ответ ≈ 3?\r\n").toUtf8());
    teacher_tools::Findings findings =
        teacher_tools::checkExamFolder(exam.at(""), {}, platform::qtPictureCodec(), kSay);
    for (auto& finding : findings)
        finding.folder = exam.root;
    const auto report = teacher_tools::convertFiles(findings, exam.root, "20260115-090000", kSay);
    const QString copy = exam.dir.path() + "/exam.backup-20260115-090000";
    EXPECT_EQ(report.converted, QStringList{exam.at("b1/q1.txt")});
    EXPECT_EQ(report.backupFolders, QStringList{copy});
    EXPECT_EQ(bytesOf(exam.at("b1/q1.txt")), platform::toAnsi("Вопрос?\r\n"));
    EXPECT_EQ(bytesOf(copy + "/b1/q1.txt"), QStringLiteral("Вопрос?\r\n").toUtf8());
    ASSERT_EQ(report.problems.size(), 1u);
    EXPECT_EQ(report.problems[0].message, "Файл не перекодирован: в нём есть знак «≈», которого "
                                          "нет в Windows-1251.");
    EXPECT_EQ(bytesOf(exam.at("b1/q2.txt")), QStringLiteral("Ответ ≈ 3?\r\n").toUtf8());
    // The copy is left out of a check of the folder that holds both.
    EXPECT_EQ(teacher_tools::checkTargets(exam.dir.path()).size(), 1u);
}
