// Question banks as teachers have them, read as Moodle reads each format (fixtures made
// from the format's description), in time linear in their length, and written back out:
// an exam or a test exported to GIFT or Moodle XML and imported again is the same.

#include "teacher_tools/bank_export.h"
#include "teacher_tools/bank_import.h"
#include "teacher_tools/bank_text.h"
#include "teacher_tools/question_bank.h"

#include "exam_content/exam_folder.h"
#include "exam_content/question_pictures.h"
#include "platform/ansi_codec.h"
#include "tester/questionnaire_files.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

using teacher_tools::BankFormat;
using teacher_tools::ExportFormat;
const teacher_tools::Wording kSay("rus");
const QStringList kTrueFalse{"Верно", "Неверно"};

QStringList weightsOf(const teacher_tools::BankQuestion& question) {
    QStringList weights;
    for (const Decimal weight : question.weights)
        weights.append(weight.toText('.'));
    return weights;
}

std::vector<int> linesOf(const std::vector<teacher_tools::BankNote>& notes) {
    std::vector<int> lines;
    for (const auto& note : notes)
        lines.push_back(note.line);
    return lines;
}

QString read(const QString& path) { return platform::fromAnsi(bytesOf(path)); }

QImage picture(int width, int height, Qt::GlobalColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QByteArray png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

TEST(GiftAsMoodleReadsIt, EscapesTitlesFormatsRightAnswersAndBlankLines) {
    const QString bank = QStringLiteral(
        "$CATEGORY: $course$/Грамматика\r"                         // 1
        "::Q\\::1:: I {~as ~=like} it.\r\r"                        // 2
        "::Формулы:: Решите \\(x^2\\) = \\frac\\{1\\}\\{2\\}? {\n" // 4: not GIFT escapes
        "  =[plain]C:\\Windows ~[html]<b>жирный</b>&nbsp;&hellip; ~%50%a->b\n}\n\n"
        "[markdown]Сколько? {=%100%два #верно ~три ####общий отзыв}\n\n" // 8
        "::Открыта:: Скобка { =a ~b\n\n"                                 // 10: never closed
        "::После:: Вопрос после незакрытой? {=да ~нет}\n\n"              // 12
        "::Пары:: Соедините {=a -> 1 =b -> 2}\n\n"                       // 14
        "::Сущности::[html]&euro;&Ccedil;&#x41;&#66;&#150;&bogus; &amp {=1 ~2}\n"); // 16
    const auto parsed = teacher_tools::parseGift(bank, kTrueFalse, kSay);
    ASSERT_EQ(parsed.questions.size(), 5u);
    // A category line ends at its line; "~=" marks a right answer; a title ends at the
    // first "::" that is no escape.
    EXPECT_EQ(parsed.questions[0].line, 2);
    EXPECT_EQ(parsed.questions[0].text, "I _____ it.");
    EXPECT_EQ(parsed.questions[0].answers, (QStringList{"as", "like"}));
    EXPECT_EQ(weightsOf(parsed.questions[0]), (QStringList{"0", "100"}));
    // Only : # = { } ~ n \ are escapes; per-answer formats are taken off; "->" in one
    // answer of a multiple choice is text.
    EXPECT_EQ(parsed.questions[1].text, "Решите \\(x^2\\) = \\frac{1}{2}?");
    EXPECT_EQ(parsed.questions[1].answers, (QStringList{"C:\\Windows", "жирный …", "a->b"}));
    EXPECT_EQ(weightsOf(parsed.questions[1]), (QStringList{"100", "0", "50"}));
    EXPECT_EQ(parsed.questions[2].text, "Сколько?");
    EXPECT_EQ(parsed.questions[2].answers, (QStringList{"два", "три"}));
    EXPECT_EQ(parsed.questions[3].line, 12);
    // Every named and numeric character reference (&#150; as HTML5 reads it, a dash); an
    // unknown one, or one without its semicolon, stays as written.
    EXPECT_EQ(parsed.questions[4].text, "€ÇAB–&bogus; &amp");
    ASSERT_EQ(linesOf(parsed.skipped), (std::vector<int>{10, 14}));
    EXPECT_EQ(parsed.skipped[0].text, "фигурная скобка в строке 10 не закрыта до пустой строки");
    EXPECT_EQ(parsed.skipped[1].text, "вопрос на соответствие");
}

TEST(AikenAsMoodleReadsIt, KeysAsPeopleWriteThemAndEveryLineEnd) {
    const auto bank = teacher_tools::parseAiken("Первый?\rA. да\rB. нет\rAnswer: b\r\r"     // 1
                                                "Второй?\r\nA) x\r\nB) y\r\nANSWER: A.\r\n" // 6
                                                "Третий?\nA. x\nB. y\nANSWER: A or B\n"     // 10
                                                "Четвёртый?\nA. x\nB. y\n\n"                // 14
                                                "Пятый?\nA. x\nB. y\nANSWER:B\n",           // 18
                                                kSay);
    ASSERT_EQ(bank.questions.size(), 3u);
    EXPECT_EQ(weightsOf(bank.questions[0]), (QStringList{"0", "100"}));
    EXPECT_EQ(bank.questions[1].line, 6);
    EXPECT_EQ(weightsOf(bank.questions[1]), (QStringList{"100", "0"}));
    EXPECT_EQ(bank.questions[2].text, "Пятый?");
    EXPECT_TRUE(bank.questions[2].ordered);
    ASSERT_EQ(linesOf(bank.skipped), (std::vector<int>{10, 14}));
    EXPECT_EQ(bank.skipped[0].text,
              "строка ответа «ANSWER: A or B» не читается: нужно ANSWER: и буква");

    EXPECT_EQ(teacher_tools::guessFormat("Q?\rA. a\rB. b\rAnswer: A\r"), BankFormat::Aiken);
    EXPECT_EQ(teacher_tools::guessFormat("<?xml version=\"1.0\"?>\n<quiz/>"),
              BankFormat::MoodleXml);
    EXPECT_EQ(teacher_tools::guessFormat("\\{ not a block \\} {=a ~b}"), BankFormat::Gift);
}

TEST(BankText, LinearInWhateverTheBankHolds) {
    QString answers;
    for (int i = 0; i < 64000; ++i)
        answers += QStringLiteral(" ~вариант %1").arg(i);
    QElapsedTimer timer;
    timer.start();
    const auto big = teacher_tools::parseGift("Много? {=верный" + answers + "}", kTrueFalse, kSay);
    ASSERT_EQ(big.questions.size(), 1u);
    EXPECT_EQ(big.questions[0].answers.size(), 64001);
    EXPECT_EQ(big.questions[0].answers.last(), "вариант 63999");
    EXPECT_LT(timer.restart(), 3000);
    // Hostile text: unclosed tags, references, pictures and titles, 5 MB in all.
    const QString hostile = "::" + QString("<img <a &amp ![x](\\: ").repeated(250000) + " {=a ~b}";
    teacher_tools::parseGift(hostile, kTrueFalse, kSay);
    teacher_tools::parseGift("[html]" + hostile.mid(2), kTrueFalse, kSay);
    teacher_tools::parseAiken(hostile, kSay);
    teacher_tools::guessFormat(QString("{").repeated(5000000));
    EXPECT_LT(timer.elapsed(), 6000);

    EXPECT_EQ(teacher_tools::splitLines("a\rb\r\nc\n\nd"), (QStringList{"a", "b", "c", "", "d"}));
    QString text =
        "<p>Карта:</p><IMG alt='x' SRC=\"@@PLUGINFILE@@/%D0%BA.png\"/>и ![](pics/b.png \"t\")";
    EXPECT_EQ(teacher_tools::takePictures(text), (QStringList{"к.png", "b.png"}));
    EXPECT_EQ(teacher_tools::withoutHtml(text), "Карта:\nи ");
    EXPECT_EQ(teacher_tools::withoutHtml("a < b <br/>c&lt;d"), "a < b \nc<d");
}

TEST(ExamImport, PicturesAfterEscapesEachMissingOneNamedAndAnEncodingThatCannotBeTold) {
    AppFixture f;
    QDir().mkpath(f.app.path("import"));
    ASSERT_TRUE(picture(8, 6, Qt::red).save(f.app.path("import/x.png"), "PNG"));
    putBytes(f.app.path("import/bank.gift"),
             QByteArray("::1::[html]<p>A?</p><img src\\=\"@@PLUGINFILE@@/none.png\">"
                        "<img src\\=\"@@PLUGINFILE@@/x.png\"><img src\\=\"@@PLUGINFILE@@/x.png\">"
                        " {=a ~b}\n"));
    const auto result = teacher_tools::importExam(
        f.app, BankFormat::Gift, f.app.path("import/bank.gift"), "P", {1, {}}, kSay);
    ASSERT_TRUE(result.made()) << result.error.toStdString();
    EXPECT_EQ(exam_folder::loadPicture(f.app.path("b/P/b1"), 1).size(), QSize(8, 6));
    ASSERT_EQ(result.notes.size(), 2u);
    EXPECT_TRUE(result.notes[0].text.startsWith("картинка «none.png» не найдена"));
    EXPECT_EQ(result.notes[1].text, "у вопроса одна картинка: «x.png» не взята");

    putBytes(f.app.path("u16.txt"), QByteArray("Q\0?\0\n\0A\0.\0 \0a\0\n\0", 16));
    const auto utf16 = teacher_tools::importExam(f.app, BankFormat::Aiken, f.app.path("u16.txt"),
                                                 "U", {1, {}}, kSay);
    EXPECT_TRUE(utf16.error.startsWith("Не удалось определить кодировку файла"))
        << utf16.error.toStdString();
}

TEST(ExamImport, VariantsShuffledByTheSeedOrTheBankTheRightAnswerStillAVariant) {
    AppFixture f;
    putBytes(f.app.path("g.gift"), QByteArray("// bank\n::1:: Q? {=right ~w1 ~w2 ~w3 ~w4 ~w5}\n\n"
                                              "::2:: T? {T}\n"));
    QStringList firsts;
    for (const auto& [name, seed] : {std::pair{"S1", std::optional<std::uint32_t>(1)},
                                     {"S1b", 1u},
                                     {"Own", std::nullopt},
                                     {"Own2", std::nullopt}}) {
        const auto result = teacher_tools::importExam(f.app, BankFormat::Gift, f.app.path("g.gift"),
                                                      name, {2, seed}, kSay);
        ASSERT_TRUE(result.made());
        const QString folder = f.app.path(QStringLiteral("b/%1/b1").arg(name));
        const int choice = read(folder + "/q1.txt").startsWith("Q?") ? 1 : 2;
        const QStringList variants =
            read(folder + QStringLiteral("/v%1.txt").arg(choice)).split("\r\n", Qt::SkipEmptyParts);
        EXPECT_TRUE(
            variants.contains(read(folder + QStringLiteral("/o%1.txt").arg(choice)).trimmed()));
        EXPECT_EQ(read(folder + QStringLiteral("/v%1.txt").arg(3 - choice)),
                  "Верно\r\nНеверно\r\n");
        firsts.append(variants.join(','));
    }
    EXPECT_EQ(firsts[0], firsts[1]);
    EXPECT_EQ(firsts[2], firsts[3]);
    EXPECT_NE(firsts[0], firsts[2]);
    EXPECT_FALSE(firsts[2].startsWith("right"));
}

TEST(MoodleXml, ChoicesAndTrueFalseTakenPicturesInsideOtherTypesNamed) {
    AppFixture f;
    const QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n" // 1
        "<question type=\"category\"><category><text>$course$/X</text></category></question>\n"
        "<question type=\"multichoice\">\n" // 4
        " <name><text>Карта</text></name>\n"
        " <questiontext format=\"html\"><text><![CDATA[<p>Где <b>река</b>?</p>"
        "<img src=\"@@PLUGINFILE@@/%D1%80.png\">]]></text>\n"
        "  <file name=\"р.png\" path=\"/\" encoding=\"base64\">" +
        png(picture(5, 4, Qt::green)).toBase64() +
        "</file></questiontext>\n"
        " <single>true</single><shuffleanswers>0</shuffleanswers>\n"
        " <answer fraction=\"100\" format=\"html\"><text>&lt;p&gt;Тут&lt;/p&gt;</text>"
        "<feedback><text>Да</text></feedback></answer>\n"
        " <answer fraction=\"50\"><text>Рядом</text></answer>\n"
        " <answer fraction=\"0\"><text>Там</text></answer>\n</question>\n"
        "<question type=\"truefalse\"><questiontext format=\"plain_text\"><text>Земля &lt; "
        "Солнца</text></questiontext>\n"
        " <answer fraction=\"0\"><text>true</text></answer>"
        "<answer fraction=\"100\"><text>false</text></answer></question>\n"
        "<question type=\"essay\"><questiontext><text>Эссе</text></questiontext></question>\n"
        "</quiz>\n";
    const auto bank = teacher_tools::parseMoodleXml(xml, kTrueFalse, kSay);
    ASSERT_EQ(bank.questions.size(), 2u);
    EXPECT_EQ(bank.questions[0].line, 4);
    EXPECT_EQ(bank.questions[0].text, "Где река?");
    EXPECT_EQ(bank.questions[0].answers, (QStringList{"Тут", "Рядом", "Там"}));
    EXPECT_EQ(weightsOf(bank.questions[0]), (QStringList{"100", "50", "0"}));
    EXPECT_EQ(bank.questions[1].text, "Земля < Солнца");
    EXPECT_EQ(weightsOf(bank.questions[1]), (QStringList{"0", "100"}));
    ASSERT_EQ(bank.skipped.size(), 1u);
    EXPECT_EQ(bank.questions[1].line, 13);
    EXPECT_EQ(bank.skipped[0].line, 15);
    EXPECT_TRUE(bank.skipped[0].text.contains("«essay»"));

    // The full-marks answer is the exam's right one; the picture comes from inside the file.
    putBytes(f.app.path("bank.xml"), xml);
    const auto result = teacher_tools::importExam(f.app, BankFormat::MoodleXml,
                                                  f.app.path("bank.xml"), "X", {2, {}}, kSay);
    ASSERT_TRUE(result.made()) << result.error.toStdString();
    EXPECT_TRUE(result.notes.empty());
    EXPECT_EQ(read(f.app.path("b/X/b1/v1.txt")), "Тут\r\nРядом\r\nТам\r\n");
    EXPECT_EQ(read(f.app.path("b/X/b1/o1.txt")), "Тут\r\n");
    EXPECT_EQ(exam_folder::loadPicture(f.app.path("b/X/b1"), 1).size(), QSize(5, 4));
    EXPECT_EQ(read(f.app.path("b/X/b1/o2.txt")), "Неверно\r\n");

    const auto broken = teacher_tools::parseMoodleXml("<quiz><question type=\"x\">", kTrueFalse,
                                                      teacher_tools::Wording("eng"));
    EXPECT_TRUE(broken.skipped.empty());
    ASSERT_TRUE(broken.stopped);
    EXPECT_TRUE(broken.stopped->text.startsWith("the file is read only up to line 1:"))
        << broken.stopped->text.toStdString();
}

TEST(BankExport, ExamsAndTestsComeBackTheSameThroughGiftAndXml) {
    AppFixture f;
    const QString gift = f.app.path("bank.gift");
    putBytes(gift, QStringLiteral("::1:: Первый: \\{a\\} \\= b?\\nВторая строка {=верно ~неверно "
                                  "~тоже #нет}\n\n::2:: [html]<p>Где?</p><img src=\"k.png\"> "
                                  "{=тут ~там}\n\n::3:: Третий? {T}\n")
                       .toUtf8());
    ASSERT_TRUE(picture(9, 7, Qt::blue).save(f.app.path("k.png"), "PNG"));
    ASSERT_TRUE(
        teacher_tools::importExam(f.app, BankFormat::Gift, gift, "Исх", {2, {}}, kSay).made());
    struct Read {
        QString text, variants, answer;
        QSize picture;
        bool operator==(const Read&) const = default;
    };
    auto examOf = [&](const QString& name) {
        std::vector<Read> questions;
        for (const auto& [ticket, n] : {std::pair{1, 1}, {1, 2}, {2, 1}}) {
            const QString folder = f.app.path(QStringLiteral("b/%1/b%2").arg(name).arg(ticket));
            QStringList variants = read(folder + QStringLiteral("/v%1.txt").arg(n)).split("\r\n");
            variants.sort();
            questions.push_back({read(folder + QStringLiteral("/q%1.txt").arg(n)),
                                 variants.join('|'),
                                 read(folder + QStringLiteral("/o%1.txt").arg(n)),
                                 exam_folder::loadPicture(folder, n).size()});
        }
        return questions;
    };
    const std::vector<Read> original = examOf("Исх");
    EXPECT_EQ(original[0].text, "Первый: {a} = b?\r\nВторая строка\r\n");
    EXPECT_EQ(original[1].picture, QSize(9, 7));
    for (const auto& [format, suffix, bankFormat] :
         {std::tuple{ExportFormat::Gift, "gift", BankFormat::Gift},
          {ExportFormat::MoodleXml, "xml", BankFormat::MoodleXml}}) {
        const QString file = f.app.path(QStringLiteral("out/Исх.%1").arg(suffix));
        QDir().mkpath(f.app.path("out"));
        const auto exported =
            teacher_tools::exportBank(f.app, f.app.path("b/Исх"), format, file, kSay);
        ASSERT_TRUE(exported.done()) << exported.error.toStdString();
        EXPECT_EQ(exported.questions, 3);
        EXPECT_EQ(exported.written.size(), format == ExportFormat::Gift ? 2 : 1);
        const QString again = QStringLiteral("Снова%1").arg(suffix);
        const auto imported =
            teacher_tools::importExam(f.app, bankFormat, file, again, {2, {}}, kSay);
        ASSERT_TRUE(imported.made()) << imported.error.toStdString();
        EXPECT_TRUE(imported.skipped.empty() && imported.notes.empty()) << suffix;
        EXPECT_TRUE(examOf(again) == original) << suffix;
    }

    // A test: the points are the weights, in the test's order.
    putBytes(f.app.path("t.gift"),
             QByteArray("::1:: A? {~%0%a ~%2.5%b ~%-1%c}\n\n::2:: B? {~%1%x ~%3%y}\n"));
    ASSERT_TRUE(
        teacher_tools::importTest(f.app, BankFormat::Gift, f.app.path("t.gift"), "Опрос", kSay)
            .made());
    for (const auto& [format, suffix, bankFormat] :
         {std::tuple{ExportFormat::Gift, "gift", BankFormat::Gift},
          {ExportFormat::MoodleXml, "xml", BankFormat::MoodleXml}}) {
        const QString file = f.app.path(QStringLiteral("out/Опрос.%1").arg(suffix));
        ASSERT_TRUE(teacher_tools::exportBank(
                        f.app, questionnaire_files::testFolder(f.app, "Опрос"), format, file, kSay)
                        .done());
        const QString again = QStringLiteral("Опрос%1").arg(suffix);
        ASSERT_TRUE(teacher_tools::importTest(f.app, bankFormat, file, again, kSay).made());
        for (const char* number : {"1", "2"}) {
            const auto before = questionnaire_files::readQuestion(
                questionnaire_files::definitionPath(f.app, "Опрос"), number);
            const auto after = questionnaire_files::readQuestion(
                questionnaire_files::definitionPath(f.app, again), number);
            EXPECT_EQ(before.answers, after.answers) << suffix;
            EXPECT_EQ(before.points, after.points) << suffix;
            EXPECT_EQ(read(questionnaire_files::questionFilePath(f.app, "Опрос", number)),
                      read(questionnaire_files::questionFilePath(f.app, again, number)));
        }
    }
    EXPECT_FALSE(teacher_tools::exportBank(f.app, f.app.path("out"), ExportFormat::Gift,
                                           f.app.path("x.gift"), kSay)
                     .done());
}

namespace {

// An exam written straight into its files, as the ticket editor writes them: each
// question its text, its variants (the first the right one) and, with a name, its picture.
struct HandMadeQuestion {
    QString text;
    QStringList variants;
    QString picture; // a PNG file of the test's to copy in as kN.bmp; empty for none
};

void writeHandMadeExam(const QString& folder, const std::vector<HandMadeQuestion>& questions,
                       int perTicket) {
    putBytes(folder + "/lzm.lzm", platform::toAnsi("Знаки\r\n"));
    for (std::size_t i = 0; i < questions.size(); ++i) {
        const QString ticket = folder + QStringLiteral("/b%1/").arg(int(i) / perTicket + 1);
        const QString n = QString::number(int(i) % perTicket + 1);
        const HandMadeQuestion& question = questions[i];
        putBytes(ticket + "q" + n + ".txt", platform::toAnsi(question.text + "\r\n"));
        putBytes(ticket + "v" + n + ".txt",
                 platform::toAnsi(question.variants.join("\r\n") + "\r\n"));
        putBytes(ticket + "o" + n + ".txt", platform::toAnsi(question.variants.first() + "\r\n"));
        if (!question.picture.isEmpty()) {
            ASSERT_TRUE(QImage(question.picture).save(ticket + "k" + n + ".bmp", "BMP"));
        }
    }
}

} // namespace

TEST(BankExport, EveryGiftSpecialCharacterComesBackAtTheStartMiddleAndEnd) {
    AppFixture f;
    ASSERT_TRUE(picture(6, 5, Qt::yellow).save(f.app.path("p.png"), "PNG"));
    // Whatever GIFT reads as syntax: its escapes, a weight, a format mark, a comment, a
    // category, a title mark, the line-end escape, general feedback and matching's arrow.
    const QStringList specials{
        "\\",      "~",  "=",          "#",  "{",   "}",    ":",  "%",   "%50%", "[html]",
        "[plain]", "//", "$CATEGORY:", "::", "\\n", "####", "->", "<b>", "&amp;"};
    std::vector<HandMadeQuestion> questions;
    for (const QString& s : specials) {
        // Every other question has a picture, so its text goes out as HTML.
        const QString picture = questions.size() % 2 ? f.app.path("p.png") : QString();
        questions.push_back({s + "начало " + s + " середина " + s,
                             {s + "верный " + s, "неверный " + s + " второй", "третий " + s, s},
                             picture});
    }
    questions.push_back({"Цена?", {"%50% скидка", "50 %", "%"}, {}});
    const QString exam = f.app.path("b/Знаки");
    writeHandMadeExam(exam, questions, 5);
    // A ticket folder made on Windows is found by its other spelling.
    ASSERT_TRUE(QDir(exam).rename("b2", "B2"));

    for (const auto& [format, suffix] :
         {std::pair{ExportFormat::Gift, "gift"}, std::pair{ExportFormat::MoodleXml, "xml"}}) {
        const QString file = f.app.path(QStringLiteral("out/Знаки.%1").arg(suffix));
        QDir().mkpath(f.app.path("out"));
        const auto exported = teacher_tools::exportBank(f.app, exam, format, file, kSay);
        ASSERT_TRUE(exported.done()) << exported.error.toStdString();
        EXPECT_EQ(exported.questions, int(questions.size())) << suffix;
        EXPECT_TRUE(exported.notes.empty()) << suffix;
        const auto bank =
            format == ExportFormat::Gift
                ? teacher_tools::parseGift(QString::fromUtf8(bytesOf(file)), kTrueFalse, kSay)
                : teacher_tools::parseMoodleXml(bytesOf(file), kTrueFalse, kSay);
        EXPECT_TRUE(bank.skipped.empty()) << suffix << ": " << bank.skipped[0].text.toStdString();
        ASSERT_EQ(bank.questions.size(), questions.size()) << suffix;
        for (std::size_t i = 0; i < questions.size(); ++i) {
            EXPECT_EQ(bank.questions[i].text, questions[i].text) << suffix << " " << i;
            EXPECT_EQ(bank.questions[i].answers, questions[i].variants) << suffix << " " << i;
            EXPECT_EQ(weightsOf(bank.questions[i]).first(), "100") << suffix << " " << i;
            EXPECT_EQ(bank.questions[i].pictures.size(), questions[i].picture.isEmpty() ? 0 : 1);
        }
        // And the program's own import makes the same exam of it again, pictures too.
        const QString again = QStringLiteral("Снова%1").arg(suffix);
        const auto imported = teacher_tools::importExam(
            f.app, format == ExportFormat::Gift ? BankFormat::Gift : BankFormat::MoodleXml, file,
            again, {5, {}}, kSay);
        ASSERT_TRUE(imported.made()) << imported.error.toStdString();
        EXPECT_EQ(imported.questions, int(questions.size()));
        EXPECT_TRUE(imported.skipped.empty() && imported.notes.empty()) << suffix;
        EXPECT_EQ(read(f.app.path("b/" + again + "/b4/o5.txt")), "%50% скидка\r\n");
        EXPECT_EQ(exam_folder::loadPicture(f.app.path("b/" + again + "/b1"), 2).size(),
                  QSize(6, 5));
    }
}

TEST(MoodleXml, NestingOfAnyDepthIsReadWithoutRecursion) {
    // A quarter of a million elements nested in the text, closed and left open: read in a
    // loop, the stack does not grow with them.
    const int depth = 250000;
    const QByteArray head = "<?xml version=\"1.0\"?>\n<quiz><question type=\"multichoice\">"
                            "<questiontext format=\"html\"><text>";
    const QByteArray answers = "</text></questiontext><answer fraction=\"100\"><text>да</text>"
                               "</answer><answer fraction=\"0\"><text>нет</text></answer>"
                               "</question>\n";
    const QByteArray closed = head + QByteArray("<b>").repeated(depth) + "Глубоко?" +
                              QByteArray("</b>").repeated(depth) + answers +
                              "<question type=\"truefalse\"><questiontext><text>После?</text>"
                              "</questiontext><answer fraction=\"100\"><text>true</text>"
                              "</answer></question></quiz>\n";
    QElapsedTimer timer;
    timer.start();
    const auto bank = teacher_tools::parseMoodleXml(closed, kTrueFalse, kSay);
    ASSERT_EQ(bank.questions.size(), 2u);
    EXPECT_EQ(bank.questions[0].text, "Глубоко?");
    EXPECT_EQ(bank.questions[1].text, "После?");
    EXPECT_FALSE(bank.stopped);
    const auto open =
        teacher_tools::parseMoodleXml(head + QByteArray("<b>").repeated(depth), kTrueFalse, kSay);
    EXPECT_TRUE(open.questions.empty());
    ASSERT_TRUE(open.stopped);
    EXPECT_EQ(open.stopped->line, 2);
    EXPECT_LT(timer.elapsed(), 10000);
}

TEST(MoodleXml, OldPicturesTakenBrokenFilesReadUpToTheirLinePictureAnswersNamed) {
    AppFixture f;
    QDir().mkpath(f.app.path("old"));
    ASSERT_TRUE(picture(4, 3, Qt::cyan).save(f.app.path("old/beside.png"), "PNG"));
    const QByteArray inside = png(picture(7, 2, Qt::magenta)).toBase64();
    const QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n" // 1
        "<question type=\"multichoice\"><questiontext format=\"html\"><text>Старый?</text>"
        "</questiontext><image>pics/../../внутри.png</image><image_base64>" +
        inside +
        "</image_base64>\n" // 3
        "<answer fraction=\"100\"><text>да</text></answer><answer fraction=\"0\"><text>нет"
        "</text></answer></question>\n"
        "<question type=\"multichoice\"><questiontext format=\"html\"><text>Рядом?</text>"
        "</questiontext><image>beside.png</image><image></image>\n" // 5
        "<answer fraction=\"100\"><text>да</text></answer><answer fraction=\"0\"><text>нет"
        "</text></answer></question>\n"
        "<question type=\"multichoice\"><questiontext format=\"html\"><text><![CDATA[<img "
        "src=\"@@PLUGINFILE@@/q.png\">]]></text></questiontext>\n" // 7
        "<answer fraction=\"100\"><text><![CDATA[<img src=\"@@PLUGINFILE@@/a.png\">]]></text>"
        "</answer><answer fraction=\"0\"><text><![CDATA[<img src=\"@@PLUGINFILE@@/b.png\">]]>"
        "</text></answer></question>\n"
        "<question type=\"multichoice\"><questiontext><text>Сломан?</text></questiontext>\n" // 9
        "<answer fraction=\"100\"><text>да</answer>\n"                                       // 10
        "<question type=\"multichoice\"><questiontext><text>Не прочитан</text></questiontext>"
        "<answer fraction=\"100\"><text>да</text></answer><answer fraction=\"0\"><text>нет"
        "</text></answer></question>\n</quiz>\n";
    const auto bank = teacher_tools::parseMoodleXml(xml, kTrueFalse, kSay);
    ASSERT_EQ(bank.questions.size(), 2u);
    // The old picture's name without any folder, first among the question's pictures.
    EXPECT_EQ(bank.questions[0].pictures, QStringList{"внутри.png"});
    EXPECT_EQ(bank.questions[1].pictures, QStringList{"beside.png"});
    ASSERT_EQ(linesOf(bank.skipped), std::vector<int>{7});
    EXPECT_EQ(bank.skipped[0].text,
              "ответы вопроса — картинки, а в билете варианты ответа только текстом");
    ASSERT_TRUE(bank.stopped);
    EXPECT_EQ(bank.stopped->line, 10);
    EXPECT_TRUE(bank.stopped->text.startsWith("файл прочитан только до строки 10: дальше он не "
                                              "правильный XML"))
        << bank.stopped->text.toStdString();

    putBytes(f.app.path("old/bank.xml"), xml);
    const auto result = teacher_tools::importExam(f.app, BankFormat::MoodleXml,
                                                  f.app.path("old/bank.xml"), "Old", {5, {}}, kSay);
    ASSERT_TRUE(result.made()) << result.error.toStdString();
    EXPECT_EQ(exam_folder::loadPicture(f.app.path("b/Old/b1"), 1).size(), QSize(7, 2));
    EXPECT_EQ(exam_folder::loadPicture(f.app.path("b/Old/b1"), 2).size(), QSize(4, 3));
    // The break is no question left out, but a note in its place, and the line it came to.
    EXPECT_EQ(result.skipped.size(), 1u);
    EXPECT_EQ(result.readUpTo, 10);
    ASSERT_EQ(linesOf(result.notes), std::vector<int>{10});
}

TEST(GiftAndAiken, ASecondAnswerBlockAndAnUnreadableBlockAreLeftOutAndNamed) {
    const auto gift = teacher_tools::parseGift(
        "::1:: How {~many =much} water and how {=many ~much} apples?\n\n" // 1
        "::2:: Два\nблока {=a ~b}\nи ещё {=c ~d}\n\n"                     // 3: the second on 5
        "::3:: Скобка \\{ после {=a ~b} \\} не блок\n\n"                  // 7
        "::4:: [html]<img src=\"q.png\"> {=[html]<img src\\=\"a.png\"> ~[html]<img "
        "src\\=\"b.png\">}\n", // 9
        kTrueFalse, kSay);
    ASSERT_EQ(gift.questions.size(), 1u);
    EXPECT_EQ(gift.questions[0].text, "Скобка { после _____ } не блок");
    ASSERT_EQ(linesOf(gift.skipped), (std::vector<int>{1, 3, 9}));
    EXPECT_TRUE(gift.skipped[0].text.startsWith("второй блок ответов в строке 1"))
        << gift.skipped[0].text.toStdString();
    EXPECT_TRUE(gift.skipped[1].text.startsWith("второй блок ответов в строке 5"));
    EXPECT_EQ(gift.skipped[2].text,
              "ответы вопроса — картинки, а в билете варианты ответа только текстом");

    // Blocks in the manner of a bank of errors: each bad one named with its first line,
    // and the question after it starts clean.
    const auto aiken = teacher_tools::parseAiken("Question missing answers\n" // 1
                                                 "ANSWER: A\n\n"
                                                 "A) Question not started\n" // 4
                                                 "ANSWER: Question not started\n\n"
                                                 "Good question\n" // 7
                                                 "A) One\nB) Two\nANSWER: A\n\n"
                                                 "ANSWER: unreadable\n" // 12
                                                 "B) Orphan option\n\n" // 13
                                                 "Last question\n"      // 15
                                                 "A. One\nB. Two\nANSWER: B\n",
                                                 kSay);
    ASSERT_EQ(aiken.questions.size(), 2u);
    EXPECT_EQ(aiken.questions[0].text, "Good question");
    EXPECT_EQ(aiken.questions[0].line, 7);
    EXPECT_EQ(aiken.questions[1].text, "Last question");
    ASSERT_EQ(linesOf(aiken.skipped), (std::vector<int>{1, 4, 12, 13}));
    EXPECT_EQ(aiken.skipped[0].text, "меньше двух вариантов ответа");
    EXPECT_EQ(aiken.skipped[1].text, "варианты ответа без текста вопроса перед ними");
    EXPECT_EQ(aiken.skipped[2].text,
              "строка ответа «ANSWER: unreadable» не читается: нужно ANSWER: и буква");
    EXPECT_EQ(aiken.skipped[3].text, "варианты ответа без текста вопроса перед ними");
}
