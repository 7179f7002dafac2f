// Question banks in Aiken and GIFT read into questions, and imported into exams and tests:
// what is taken, what is left out with its line, and that what is made checks clean.

#include "teacher_tools/bank_export.h"
#include "teacher_tools/bank_import.h"
#include "teacher_tools/exam_check.h"
#include "teacher_tools/question_bank.h"
#include "teacher_tools/questionnaire_check.h"

#include "exam_content/exam_folder.h"
#include "exam_content/question_pictures.h"
#include "platform/ansi_codec.h"
#include "platform/pictures.h"
#include "tester/questionnaire_files.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

using teacher_tools::BankFormat;
const teacher_tools::Wording kSay("rus");
const QStringList kTrueFalse{"Верно", "Неверно"};

std::vector<int> linesOf(const std::vector<teacher_tools::BankNote>& notes) {
    std::vector<int> lines;
    for (const auto& note : notes)
        lines.push_back(note.line);
    return lines;
}

QStringList weightsOf(const teacher_tools::BankQuestion& question) {
    QStringList weights;
    for (const Decimal weight : question.weights)
        weights.append(weight.toText('.'));
    return weights;
}

// Five questions "Вопрос N?" with the answers "A. да" (right) and "B. нет".
QString fiveAikenQuestions() {
    QString text;
    for (int n = 1; n <= 5; ++n)
        text += QStringLiteral("Вопрос %1?\nA. да\nB. нет\nANSWER: A\n\n").arg(n);
    return text;
}

QString read(const QString& path) { return platform::fromAnsi(bytesOf(path)); }

} // namespace

TEST(QuestionBank, AikenTakesQuestionsAndNamesEveryOneLeftOut) {
    const auto bank =
        teacher_tools::parseAiken("Первый?\r\nA. один\r\nB) два\r\nANSWER: B\r\n\r\n"       // 1
                                  "Вопрос в\r\nдве строки\r\nA. x\r\nB. y\r\nANSWER: A\r\n" // 6
                                  "ANSWER: B\r\n"                               // 11: no question
                                  "Один вариант\r\nA. только\r\nANSWER: A\r\n"  // 12
                                  "Одна буква\r\nA. a\r\nA. b\r\nANSWER: A\r\n" // 15
                                  "Без ответа\r\nA. a\r\nB. b\r\n"              // 19
                                  "Нет буквы\r\nA. a\r\nB. b\r\nANSWER: C\r\n", // 22
                                  kSay);
    ASSERT_EQ(bank.questions.size(), 2u);
    EXPECT_EQ(bank.questions[0].text, "Первый?");
    EXPECT_EQ(bank.questions[0].answers, (QStringList{"A. один", "B) два"}));
    EXPECT_EQ(weightsOf(bank.questions[0]), (QStringList{"0", "100"}));
    EXPECT_EQ(bank.questions[1].text, "Вопрос в\r\nдве строки");
    EXPECT_EQ(bank.questions[1].line, 6);
    EXPECT_EQ(linesOf(bank.skipped), (std::vector<int>{11, 12, 15, 19, 22}));
    EXPECT_EQ(bank.skipped[4].text, "в ANSWER указана буква C, а такого варианта нет");
}

TEST(QuestionBank, GiftTakesChoicesAndTrueFalseAndSkipsTheRest) {
    const auto bank = teacher_tools::parseGift(
        "// exported\n$CATEGORY: top/Физика\n\n"
        "::T1:: Text with \\{escaped\\} braces and a \\= sign {\n" // 4
        "  =right answer # good\n  ~wrong \\~ one\n  ~%50%half\n}\n\n"
        "::T2::[markdown] Look ![map](pics/%D0%BA.png) here {F}\n\n"                   // 10
        "::T3:: Short {=a =b}\n\n"                                                     // 12
        "::T4:: Match {=a -> 1 =b -> 2}\n\n"                                           // 14
        "::T5:: Number {#3:1}\n\n"                                                     // 16
        "::T6:: Essay {}\n\n"                                                          // 18
        "Just a description.\n\n"                                                      // 20
        "::T7:: [html]A&amp;B &lt;3&gt;<br>next&#33;{~%-50%bad ~%100%<b>good</b>}\n\n" // 22
        "Moodle costs {~lots =nothing} to download.\n",                                // 24
        kTrueFalse, kSay);
    ASSERT_EQ(bank.questions.size(), 4u);
    EXPECT_EQ(bank.questions[0].text, "Text with {escaped} braces and a = sign");
    EXPECT_EQ(bank.questions[0].answers, (QStringList{"right answer", "wrong ~ one", "half"}));
    EXPECT_EQ(weightsOf(bank.questions[0]), (QStringList{"100", "0", "50"}));
    EXPECT_EQ(bank.questions[1].text, "Look here");
    EXPECT_EQ(bank.questions[1].pictures, QStringList{"к.png"});
    EXPECT_EQ(bank.questions[1].answers, kTrueFalse);
    EXPECT_EQ(weightsOf(bank.questions[1]), (QStringList{"0", "100"}));
    EXPECT_EQ(bank.questions[2].text, "A&B <3>\r\nnext!");
    EXPECT_EQ(bank.questions[2].answers, (QStringList{"bad", "good"}));
    EXPECT_EQ(weightsOf(bank.questions[2]), (QStringList{"-50", "100"}));
    EXPECT_EQ(bank.questions[3].text, "Moodle costs _____ to download.");
    EXPECT_EQ(bank.questions[3].line, 24);
    EXPECT_EQ(linesOf(bank.skipped), (std::vector<int>{12, 14, 16, 18, 20}));

    EXPECT_EQ(teacher_tools::guessFormat("Q?\nA. a\nB. b\nANSWER: A\n"), BankFormat::Aiken);
    EXPECT_EQ(teacher_tools::guessFormat("::a:: Q {=a ~b}"), BankFormat::Gift);
}

TEST(ExamImport, TicketsInOrderOrShuffledReproducibly) {
    AppFixture f;
    const QString bank = f.app.path("bank.txt");
    putBytes(bank, fiveAikenQuestions().toUtf8());
    const auto inOrder =
        teacher_tools::importExam(f.app, BankFormat::Aiken, bank, "Подряд", {2, {}}, kSay);
    ASSERT_TRUE(inOrder.made()) << inOrder.error.toStdString();
    EXPECT_EQ(inOrder.folder, f.app.path("b/Подряд"));
    EXPECT_EQ(inOrder.questions, 5);
    EXPECT_EQ(inOrder.tickets, 3);
    EXPECT_EQ(read(f.app.path("b/Подряд/lzm.lzm")), "Подряд\r\n");
    EXPECT_EQ(read(f.app.path("b/Подряд/b2/q2.txt")), "Вопрос 4?\r\n");
    EXPECT_EQ(read(f.app.path("b/Подряд/b3/v1.txt")), "A. да\r\nB. нет\r\n");
    EXPECT_EQ(read(f.app.path("b/Подряд/b3/o1.txt")), "A. да\r\n");
    // The last ticket is shorter, and the check says so.
    QStringList codes;
    for (const auto& finding :
         teacher_tools::checkExamFolder(inOrder.folder, {}, platform::qtPictureCodec(), kSay))
        codes.append(finding.code);
    EXPECT_EQ(codes, QStringList{"ticket-short"});

    // The same seed deals the same tickets on every machine.
    EXPECT_EQ(teacher_tools::shuffledOrder(5, 7), (std::vector<int>{2, 3, 1, 4, 0}));
    EXPECT_EQ(teacher_tools::shuffledOrder(5, 7), teacher_tools::shuffledOrder(5, 7));
    const auto shuffled =
        teacher_tools::importExam(f.app, BankFormat::Aiken, bank, "Вперемешку", {5, 7u}, kSay);
    ASSERT_TRUE(shuffled.made());
    EXPECT_EQ(read(f.app.path("b/Вперемешку/b1/q1.txt")), "Вопрос 3?\r\n");
    EXPECT_EQ(read(f.app.path("b/Вперемешку/b1/q5.txt")), "Вопрос 1?\r\n");
}

TEST(ExamImport, PicturesBesideTheFileBecomeBitmaps) {
    AppFixture f;
    QImage picture(12, 7, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QDir().mkpath(f.app.path("import"));
    ASSERT_TRUE(picture.save(f.app.path("import/Карта.png"), "PNG"));
    const QString bank = f.app.path("import/bank.gift");
    putBytes(bank,
             QStringLiteral(
                 "::1::[html]<p>Где?</p><img src=\"@@PLUGINFILE@@/карта.png\"> {=тут ~там}\n\n"
                 "::2::[html]<img src=\"нет.png\">Что? {=это ~то}\n")
                 .toUtf8());
    const auto result =
        teacher_tools::importExam(f.app, BankFormat::Gift, bank, "Карты", {2, {}}, kSay);
    ASSERT_TRUE(result.made());
    const QImage stored = exam_folder::loadPicture(f.app.path("b/Карты/b1"), 1);
    EXPECT_EQ(stored.size(), QSize(12, 7));
    EXPECT_FALSE(QFile::exists(f.app.path("b/Карты/b1/k2.bmp")));
    ASSERT_EQ(result.notes.size(), 1u);
    EXPECT_EQ(result.notes[0].line, 3);
    EXPECT_TRUE(result.notes[0].text.contains("«нет.png»"));
}

TEST(ExamImport, RefusesToOverwriteAndLeavesOutWhatCannotBeAnExamQuestion) {
    AppFixture f;
    const QString bank = f.app.path("bank.gift");
    putBytes(bank, QStringLiteral("::1:: Два верных {=a =b ~c}\n\n::2:: Знак ≈? {=да ~нет}\n\n"
                                  "::3:: Одинаковые {=да ~да}\n\n::4:: Без верного {~a ~b}\n")
                       .toUtf8());
    auto result = teacher_tools::importExam(f.app, BankFormat::Gift, bank, "Ничего", {5, {}}, kSay);
    EXPECT_FALSE(result.made());
    EXPECT_EQ(result.error, "В файле не нашлось ни одного вопроса, который можно взять.");
    EXPECT_EQ(linesOf(result.skipped), (std::vector<int>{1, 3, 5, 7}));
    EXPECT_EQ(result.skipped[1].text, "знак «≈» нельзя записать в Windows-1251");
    EXPECT_FALSE(QFile::exists(f.app.path("b/Ничего")));

    // A file read in the wrong format says which one it looks like; a test is never
    // pointed to Aiken, which it cannot be made from.
    const QString aiken = f.app.path("bank.txt");
    putBytes(aiken, "Вопрос?\nA. да\nB. нет\nANSWER: A\n");
    result = teacher_tools::importExam(f.app, BankFormat::Gift, aiken, "Айкен", {5, {}}, kSay);
    EXPECT_EQ(result.error, "В файле не нашлось ни одного вопроса, который можно взять. Похоже, "
                            "это файл Aiken, а не GIFT: импортируйте его как Aiken.");
    result = teacher_tools::importTest(f.app, BankFormat::Gift, aiken, "Айкен", kSay);
    EXPECT_EQ(result.error, "В файле не нашлось ни одного вопроса, который можно взять.");

    putBytes(f.app.path("b/Было/lzm.lzm"), "Old\r\n");
    result = teacher_tools::importExam(f.app, BankFormat::Aiken, bank, "было", {5, {}}, kSay);
    EXPECT_TRUE(result.error.contains("уже есть")) << result.error.toStdString();
    EXPECT_EQ(bytesOf(f.app.path("b/Было/lzm.lzm")), "Old\r\n");
    for (const char* name : {"", "a/b", "CON", "точка.", "имя≈"}) {
        result = teacher_tools::importExam(f.app, BankFormat::Aiken, bank, QString::fromUtf8(name),
                                           {5, {}}, kSay);
        EXPECT_TRUE(result.error.contains("не годится")) << name;
    }
    result = teacher_tools::importExam(f.app, BankFormat::Aiken, f.app.path("нет.txt"), "Новый",
                                       {5, {}}, kSay);
    EXPECT_TRUE(result.error.startsWith("Не удалось прочитать файл"));
}

TEST(ExamImport, AFolderThatCannotBeWrittenIsReportedAndLeavesNothing) {
    AppFixture f;
    const QString bank = f.app.path("bank.txt");
    putBytes(bank, fiveAikenQuestions().toUtf8());
    writeExam(f.folder.path(), 2);
    // Ticket 2 cannot be read, ticket 3 can.
    for (const char* ticket : {"b2", "b3"}) {
        const QString folder = f.app.path("b/exam/") + ticket;
        putBytes(folder + "/q1.txt", "Q?\r\n");
        putBytes(folder + "/v1.txt", "a\r\nb\r\n");
        putBytes(folder + "/o1.txt", "a\r\n");
    }
    QFile::setPermissions(f.app.path("b/exam/b2"), QFileDevice::Permissions());
    makeReadOnlyFolder(f.app.folder(), f.app.path("b"));
    QDir().mkpath(f.app.path("export"));
    makeReadOnlyFolder(f.app.folder(), f.app.path("export"));
    QTemporaryDir open;
    QFile::setPermissions(open.path(), QFileDevice::Permissions(0x7777));
    AsUnprivilegedUser user;
    const auto result =
        teacher_tools::importExam(f.app, BankFormat::Aiken, bank, "Новый", {5, {}}, kSay);
    EXPECT_FALSE(result.made());
    // Nothing was made, so nothing is said to be removed; the system says why.
    const QString denied = QString::fromLocal8Bit(std::strerror(EACCES));
    EXPECT_EQ(result.error, "Не удалось создать папку «" +
                                QDir::toNativeSeparators(f.app.path("b/Новый")) +
                                "».\nСистема сообщает: " + denied);
    EXPECT_FALSE(QFile::exists(f.app.path("b/Новый")));

    // An export into a folder that cannot be written says the same reason, and writes nothing.
    const auto exported = teacher_tools::exportBank(f.app, f.app.path("b/exam"),
                                                    teacher_tools::ExportFormat::MoodleXml,
                                                    f.app.path("export/Флаги XML.gift"), kSay);
    EXPECT_EQ(exported.error, "Не удалось записать «" + f.app.path("export/Флаги XML.gift") +
                                  "».\nСистема сообщает: " + denied);
    EXPECT_TRUE(QDir(f.app.path("export")).isEmpty());

    // A ticket whose folder cannot be read is named; the tickets after it are written.
    const auto partly =
        teacher_tools::exportBank(f.app, f.app.path("b/exam"), teacher_tools::ExportFormat::Gift,
                                  open.filePath("exam.gift"), kSay);
    ASSERT_TRUE(partly.done()) << partly.error.toStdString();
    EXPECT_EQ(partly.questions, 3);
    ASSERT_EQ(linesOf(partly.notes), std::vector<int>{2});
    EXPECT_EQ(partly.notes[0].text, "папку билета не удалось прочитать, его вопросы не записаны");
    EXPECT_TRUE(QString::fromUtf8(bytesOf(open.filePath("exam.gift"))).contains("::b3-q1::"));
}

TEST(ExamImport, AikenAndGiftImportsCheckCleanWithEveryAnswerAVariant) {
    AppFixture f;
    putBytes(f.app.path("a.txt"), fiveAikenQuestions().toUtf8());
    putBytes(f.app.path("g.gift"),
             QByteArray("::1:: Земля круглая? {T}\n\n::2:: 2+2? {=4 ~3 ~5}\n"));
    const auto aiken = teacher_tools::importExam(f.app, BankFormat::Aiken, f.app.path("a.txt"), "A",
                                                 {5, {}}, kSay);
    const auto gift = teacher_tools::importExam(f.app, BankFormat::Gift, f.app.path("g.gift"), "G",
                                                {2, {}}, kSay);
    ASSERT_TRUE(aiken.made() && gift.made());
    EXPECT_TRUE(
        teacher_tools::checkExamFolder(aiken.folder, {1, 5}, platform::qtPictureCodec(), kSay)
            .empty());
    EXPECT_TRUE(
        teacher_tools::checkExamFolder(gift.folder, {1, 2}, platform::qtPictureCodec(), kSay)
            .empty());
    // True before false; the choices in the order the file's own seed deals.
    EXPECT_EQ(read(f.app.path("b/G/b1/v1.txt")) + read(f.app.path("b/G/b1/v2.txt")),
              "Верно\r\nНеверно\r\n5\r\n3\r\n4\r\n");
}

TEST(TestImport, WeightsBecomePointsAndTheThresholdsSplitTheTotals) {
    AppFixture f;
    const QString bank = f.app.path("опрос.gift");
    putBytes(bank, QStringLiteral("::1:: Часто? {~%0%никогда ~%1%иногда ~%2%часто}\n\n"
                                  "::2:: Шесть? {=1 ~2 ~3 ~4 ~5 ~6}\n\n"
                                  "::3:: Правда? {T}\n\n"
                                  "::4:: Дробь? {~%0.5%пол ~%2.25%два}\n")
                       .toUtf8());
    const auto result = teacher_tools::importTest(f.app, BankFormat::Gift, bank, "Опрос", kSay);
    ASSERT_TRUE(result.made()) << result.error.toStdString();
    EXPECT_EQ(result.questions, 3);
    EXPECT_EQ(linesOf(result.skipped), std::vector<int>{3});
    const QString definition = questionnaire_files::definitionPath(f.app, "Опрос");
    const auto header = questionnaire_files::readHeader(definition);
    EXPECT_EQ(header.name, "Опрос");
    // Totals run from 0,5 to 104,25: thirds of the range above the lowest.
    EXPECT_EQ(header.thresholds, (std::array<QString, 3>{"35,0833", "69,6666", "104,25"}));
    const auto first = questionnaire_files::readQuestion(definition, "1");
    EXPECT_EQ(first.answers, (std::array<QString, 5>{"никогда", "иногда", "часто", "", ""}));
    EXPECT_EQ(first.points, (std::array<QString, 5>{"0", "1", "2", "0", "0"}));
    EXPECT_EQ(questionnaire_files::readQuestion(definition, "3").points[1], "2,25");
    EXPECT_EQ(read(questionnaire_files::questionFilePath(f.app, "Опрос", "2")), "Правда?\r\n");
    EXPECT_EQ(read(questionnaire_files::conclusionFilePath(f.app, "Опрос", 2)),
              "Сумма баллов больше 35,0833 и не больше 69,6666.\r\n");
    EXPECT_TRUE(teacher_tools::checkTestFolder(f.app, result.folder, kSay).empty());
    EXPECT_TRUE(teacher_tools::importTest(f.app, BankFormat::Gift, bank, "опрос", kSay)
                    .error.contains("уже есть"));

    // Whole points give whole thresholds.
    putBytes(bank, QByteArray("::1:: A {~%0%a ~%10%b}\n\n::2:: B {~%0%a ~%10%b}\n"));
    ASSERT_TRUE(teacher_tools::importTest(f.app, BankFormat::Gift, bank, "Целые", kSay).made());
    EXPECT_EQ(questionnaire_files::readHeader(questionnaire_files::definitionPath(f.app, "Целые"))
                  .thresholds,
              (std::array<QString, 3>{"6", "13", "20"}));
}
