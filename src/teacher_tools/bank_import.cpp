#include "teacher_tools/bank_import.h"

#include "common/file_messages.h"
#include "common/settings_file.h"
#include "exam_content/exam_folder.h"
#include "exam_content/exam_writer.h"
#include "platform/app_context.h"
#include "platform/folders.h"
#include "platform/read_cache.h"
#include "platform/text_encoding.h"
#include "teacher_tools/bank_import_texts.h"
#include "tester/questionnaire_files.h"
#include "tester/scoring.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <numeric>
#include <random>

namespace teacher_tools {

namespace {

// A question ready to be written.
struct Prepared {
    BankQuestion question;
    int right = -1;     // the right answer (exams)
    QByteArray picture; // the picture as a Windows bitmap (exams)
};

struct Bank {
    std::vector<Prepared> questions;
    std::vector<BankNote> skipped;
    std::vector<BankNote> notes;
    QString error;
    std::uint32_t seed = 0; // the bank's own shuffle seed: the same file, the same order
    // The format the text looks written in, when that is not the one it was read as.
    std::optional<BankFormat> looksLike;
    std::optional<BankNote> stopped; // where a broken file stopped being read
};

QString formatName(BankFormat format) {
    switch (format) {
    case BankFormat::Aiken:
        return QStringLiteral("Aiken");
    case BankFormat::Gift:
        return QStringLiteral("GIFT");
    case BankFormat::MoodleXml:
        break;
    }
    return QStringLiteral("Moodle XML");
}

// FNV-1a of the file's bytes.
std::uint32_t seedOf(const QByteArray& bytes) {
    std::uint32_t hash = 2166136261u;
    for (const char byte : bytes)
        hash = (hash ^ std::uint8_t(byte)) * 16777619u;
    return hash;
}

Bank readBank(const QString& file, BankFormat format, const QStringList& trueFalse,
              const Wording& say) {
    Bank bank;
    const std::optional<QByteArray> bytes = platform::readBytes(file);
    if (!bytes) {
        bank.error =
            say(bank_import_texts::text("couldNotReadFile")).arg(QDir::toNativeSeparators(file));
        return bank;
    }
    bank.seed = seedOf(*bytes);
    // Zero bytes in a text are UTF-16 (or UTF-32) without the mark that tells which.
    if (format != BankFormat::MoodleXml && bytes->contains('\0') &&
        platform::detectEncoding(*bytes) != platform::TextEncoding::Utf16Bom) {
        bank.error = say(bank_import_texts::text("encodingCannotBeTold"))
                         .arg(QDir::toNativeSeparators(file));
        return bank;
    }
    QuestionBank parsed;
    const QString text = platform::decodeDetected(*bytes);
    if (format == BankFormat::MoodleXml) {
        parsed = parseMoodleXml(*bytes, trueFalse, say);
    } else {
        parsed =
            format == BankFormat::Aiken ? parseAiken(text, say) : parseGift(text, trueFalse, say);
    }
    if (const BankFormat guessed = guessFormat(text); guessed != format) bank.looksLike = guessed;
    bank.skipped = std::move(parsed.skipped);
    bank.stopped = parsed.stopped;
    for (BankQuestion& question : parsed.questions)
        bank.questions.push_back({std::move(question), -1, {}});
    return bank;
}

// Questions whose texts Windows-1251 cannot hold are left out.
bool writable(const BankQuestion& question, Bank& bank, const Wording& say) {
    QStringList texts = question.answers;
    texts.prepend(question.text);
    for (const QString& text : texts) {
        if (const auto character = firstUnwritableCharacter(text)) {
            bank.skipped.push_back(
                {question.line,
                 say(bank_import_texts::text("characterCannotBeWritten")).arg(*character)});
            return false;
        }
    }
    return true;
}

void sortByLine(std::vector<BankNote>& notes) {
    std::stable_sort(notes.begin(), notes.end(),
                     [](const BankNote& a, const BankNote& b) { return a.line < b.line; });
}

// The exam's right answer: the one answer of full marks, or else the one answer with a
// positive weight.
bool chooseRight(Prepared& prepared, Bank& bank, const Wording& say) {
    const BankQuestion& question = prepared.question;
    int full = 0, positive = 0, fullAt = -1, positiveAt = -1;
    for (std::size_t i = 0; i < question.weights.size(); ++i) {
        if (question.weights[i] >= Decimal::fromInt(100)) {
            ++full;
            fullAt = int(i);
        }
        if (question.weights[i] > Decimal()) {
            ++positive;
            positiveAt = int(i);
        }
    }
    prepared.right = full == 1 ? fullAt : positive == 1 ? positiveAt : -1;
    if (prepared.right < 0) {
        bank.skipped.push_back(
            {question.line, say(bank_import_texts::text("examQuestionNeedsExactly"))});
        return false;
    }
    if (question.answers.count(question.answers.at(prepared.right)) > 1) {
        bank.skipped.push_back(
            {question.line, say(bank_import_texts::text("rightAnswerAppearsTwice"))});
        return false;
    }
    return true;
}

// A picture the bank holds itself, or one beside it, as a Windows bitmap; empty when there
// is none that can be read.
QByteArray bankPicture(const BankQuestion& question, const QString& name, const QString& bankFolder,
                       const platform::PictureCodec& pictures) {
    const int largest = exam_writer::kLargestPicture;
    if (const auto held = question.files.find(name); held != question.files.end())
        return pictures.toBitmap(held->second, largest).bytes;
    const QString path = platform::childPath(bankFolder, name);
    if (path.isEmpty() || !QFileInfo(path).isFile()) return {};
    return pictures.fileToBitmap(path, largest).bytes;
}

// The question's picture: the first one found. Every other is named.
void findPicture(Prepared& prepared, const QString& bankFolder,
                 const platform::PictureCodec& pictures, Bank& bank, const Wording& say) {
    const BankQuestion& question = prepared.question;
    for (const QString& name : question.pictures) {
        if (!prepared.picture.isEmpty()) {
            bank.notes.push_back(
                {question.line, say(bank_import_texts::text("questionHasOnePicture")).arg(name)});
            continue;
        }
        prepared.picture = bankPicture(question, name, bankFolder, pictures);
        if (!prepared.picture.isEmpty()) continue;
        bank.notes.push_back(
            {question.line, say(bank_import_texts::text("pictureNotBesideFile")).arg(name)});
    }
}

// Each question's variants in an order of the seed's, unless their order means something:
// a GIFT bank mostly has the right answer first.
void shuffleVariants(std::vector<Prepared>& questions, std::uint32_t seed) {
    std::mt19937 engine(seed);
    for (Prepared& prepared : questions) {
        BankQuestion& question = prepared.question;
        if (question.ordered) continue;
        const std::vector<int> order = shuffledOrder(int(question.answers.size()), engine());
        QStringList answers;
        std::vector<Decimal> weights;
        for (const int i : order) {
            answers.append(question.answers.at(i));
            weights.push_back(question.weights[std::size_t(i)]);
        }
        question.answers = answers;
        question.weights = weights;
    }
}

// Empty when the name can be a new folder's name.
QString refusedName(const QString& name, bool acceptable, const Wording& say) {
    if (!acceptable || !platform::isSafeNewName(name) || firstUnwritableCharacter(name)) {
        return say(bank_import_texts::text("cannotBeFolderS")).arg(name);
    }
    return {};
}

// The system's reason follows the message, as with every other write.
QString notWritten(const platform::WriteResult& result, const Wording& say) {
    return say(bank_import_texts::text("couldNotWriteUnfinished"))
               .arg(QDir::toNativeSeparators(result.file())) +
           writeFailureNote(result, say.language());
}

} // namespace

std::vector<int> shuffledOrder(int count, std::uint32_t seed) {
    std::vector<int> order(std::size_t(std::max(count, 0)));
    std::iota(order.begin(), order.end(), 0);
    // Fisher-Yates on the raw generator: std::shuffle and the distributions differ from
    // one standard library to the next, the Mersenne twister does not.
    std::mt19937 engine(seed);
    for (std::size_t i = order.size(); i > 1; --i)
        std::swap(order[i - 1], order[engine() % i]);
    return order;
}

namespace {

QStringList trueFalseWords(const Wording& say) {
    return {say(bank_import_texts::text("true")), say(bank_import_texts::text("false"))};
}

QString existing(const platform::AppContext& app, const QString& parent, const QString& name,
                 const Wording& say) {
    if (platform::lookUpName(app.path(parent), name).isEmpty()) return {};
    return say(bank_import_texts::text("existsAlreadyImportOverwrites"))
        .arg(QDir::toNativeSeparators(QDir(app.path(parent)).filePath(name)));
}

// Makes the new folder in one step that fails when the name is taken, so that an exam or
// a test made meanwhile under that name (another teacher's, another computer's) is never
// written into, nor removed when this import fails. The system's error when it fails.
int claimFolder(const platform::AppContext& app, const QString& parent, const QString& name) {
    const QString parentPath = app.path(parent);
    if (platform::MakeDirPath(parentPath) && platform::MakeNewDir(QDir(parentPath).filePath(name)))
        return 0;
    return errno == 0 ? EIO : errno;
}

QString claimedMeanwhile(const platform::AppContext& app, const QString& parent,
                         const QString& name, int error, const Wording& say) {
    const QString taken = existing(app, parent, name, say);
    if (!taken.isEmpty()) return taken;
    const QString folder = QDir(app.path(parent)).filePath(name);
    return say(bank_import_texts::text("couldNotCreateFolder"))
               .arg(QDir::toNativeSeparators(folder)) +
           writeFailureNote(platform::WriteResult::systemFailure(folder, error), say.language());
}

QString nothingTaken(const Wording& say) {
    return say(bank_import_texts::text("fileHoldsNoQuestion"));
}

// A failure names its file.
platform::WriteResult naming(const platform::WriteResult& result, const QString& file) {
    if (result || !result.file().isEmpty()) return result;
    return {result.kind(), file, result.reason()};
}

platform::WriteResult writeExam(const QString& folder, const QString& name,
                                const std::vector<Prepared>& taken, const std::vector<int>& order,
                                int perTicket) {
    if (const platform::WriteResult made = exam_writer::createExamFolder(folder, name); !made)
        return naming(made, folder);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int ticket = int(i) / perTicket + 1;
        const int n = int(i) % perTicket + 1;
        const QString ticketFolder =
            QDir(folder).filePath(exam_folder::ticketFolderName(QString::number(ticket)));
        const Prepared& prepared = taken[std::size_t(order[i])];
        const BankQuestion& question = prepared.question;
        const exam_writer::QuestionTexts texts{question.text,
                                               question.answers.join(QStringLiteral("\r\n")),
                                               question.answers.at(prepared.right)};
        // The question's files and its picture together, as the ticket editor saves them.
        if (const platform::WriteResult written =
                exam_writer::writeQuestionOfNewExam(ticketFolder, n, texts, prepared.picture);
            !written)
            return naming(written, ticketFolder);
    }
    return platform::WriteResult::Written;
}

} // namespace

namespace {
// Hands the skipped questions and the notes over in line order; false (with the error
// set) when no question could be taken.
bool reportTaken(ImportResult& result, Bank& bank, BankFormat format, bool nothing,
                 const Wording& say) {
    sortByLine(bank.skipped);
    // A file read only up to where it broke says so among the notes, in its place.
    if (bank.stopped) {
        result.readUpTo = bank.stopped->line;
        bank.notes.push_back(*bank.stopped);
    }
    sortByLine(bank.notes);
    result.skipped = bank.skipped;
    result.notes = bank.notes;
    if (nothing) result.error = nothingTaken(say);
    // Nothing read in the format chosen: a file written in another one says which.
    if (nothing && bank.looksLike) {
        const QString other = formatName(*bank.looksLike);
        result.error +=
            QLatin1Char(' ') +
            say(bank_import_texts::text("fileLooksLikeNot")).arg(other, formatName(format));
    }
    return !nothing;
}

// An import that read its bank but made nothing: the failure alone is its outcome, since
// what it left out and remarked on was about an exam or a test that does not exist.
ImportResult& failedAfterReading(ImportResult& result, const QString& error) {
    result.error = error;
    result.skipped.clear();
    result.notes.clear();
    result.readUpTo = 0;
    return result;
}
} // namespace

ImportResult importExam(const platform::AppContext& app, BankFormat format, const QString& bankFile,
                        const QString& name, const ExamImportOptions& options, const Wording& say) {
    ImportResult result;
    result.error = refusedName(name, true, say);
    if (result.error.isEmpty()) result.error = existing(app, QStringLiteral("b"), name, say);
    if (!result.error.isEmpty()) return result;
    Bank bank = readBank(bankFile, format, trueFalseWords(say), say);
    if (!bank.error.isEmpty()) {
        result.error = bank.error;
        return result;
    }
    shuffleVariants(bank.questions, options.seed.value_or(bank.seed));
    std::vector<Prepared> taken;
    for (Prepared& prepared : bank.questions) {
        if (!writable(prepared.question, bank, say) || !chooseRight(prepared, bank, say)) continue;
        findPicture(prepared, QFileInfo(bankFile).absolutePath(), app.pictures(), bank, say);
        taken.push_back(std::move(prepared));
    }
    if (!reportTaken(result, bank, format, taken.empty(), say)) return result;
    const int count = int(taken.size());
    const int perTicket = std::clamp(options.perTicket, 1, exam_folder::kMaxQuestions);
    std::vector<int> order(std::size_t(count), 0);
    std::iota(order.begin(), order.end(), 0);
    if (options.seed) order = shuffledOrder(count, *options.seed);
    const QString folder = QDir(app.path(QStringLiteral("b"))).filePath(name);
    if (const int error = claimFolder(app, QStringLiteral("b"), name); error != 0) {
        return failedAfterReading(result,
                                  claimedMeanwhile(app, QStringLiteral("b"), name, error, say));
    }
    if (const platform::WriteResult written = writeExam(folder, name, taken, order, perTicket);
        !written) {
        // The folder is this import's own: made by it a moment ago.
        QDir(folder).removeRecursively();
        platform::forgetCachedReads(); // names gone from listings of this event
        return failedAfterReading(result, notWritten(written, say));
    }
    result.folder = folder;
    result.questions = count;
    result.tickets = (count + perTicket - 1) / perTicket;
    return result;
}

namespace {

constexpr int kLongestAnswer = 255; // what a test file's value reads back whole

// A test takes up to five answers, each a line of at most 255 characters, with points an
// entry field would keep.
bool testable(Prepared& prepared, Bank& bank, QChar separator, const Wording& say) {
    const BankQuestion& question = prepared.question;
    auto skip = [&](const QString& reason) {
        bank.skipped.push_back({question.line, reason});
        return false;
    };
    if (question.answers.size() > questionnaire_files::kAnswers) {
        return skip(
            say(bank_import_texts::text("answersTestQuestionTakes")).arg(question.answers.size()));
    }
    for (const QString& answer : question.answers) {
        if (answer.size() > kLongestAnswer) {
            return skip(say(bank_import_texts::text("answerLongerThanCharacters")));
        }
    }
    for (const Decimal weight : question.weights) {
        if (scoring::checkFieldNumber(weight.toText(separator)) != scoring::FieldNumber::Kept) {
            return skip(
                say(bank_import_texts::text("pointsLieOutside")).arg(weight.toText(separator)));
        }
    }
    if (!question.pictures.isEmpty()) {
        bank.notes.push_back({question.line, say(bank_import_texts::text("testsHaveNoPictures"))});
    }
    return true;
}

Decimal wholePart(Decimal value) {
    std::int64_t fraction = value.units() % Decimal::kScale;
    if (fraction < 0) fraction += Decimal::kScale;
    return Decimal::fromUnits(value.units() - fraction);
}

// Thresholds that split the possible totals into three equal parts. With whole points
// every total is whole, so the thresholds are taken down to whole numbers: the same
// totals fall on each side, and the numbers read better.
std::array<Decimal, 3> thresholdsFor(const std::vector<Prepared>& taken) {
    Decimal lowest, highest;
    bool whole = true;
    for (const Prepared& prepared : taken) {
        for (const Decimal weight : prepared.question.weights)
            whole = whole && weight.units() % Decimal::kScale == 0;
        const auto& weights = prepared.question.weights;
        lowest = Decimal::add(lowest, *std::min_element(weights.begin(), weights.end()))
                     .value_or(lowest);
        highest = Decimal::add(highest, *std::max_element(weights.begin(), weights.end()))
                      .value_or(highest);
    }
    const Decimal range = Decimal::fromUnits(highest.units() - lowest.units());
    const Decimal third = Decimal::divide(range, Decimal::fromInt(3)).value_or(Decimal());
    const Decimal t1 = Decimal::add(lowest, third).value_or(lowest);
    const Decimal t2 = Decimal::add(t1, third).value_or(t1);
    if (whole) return {wholePart(t1), wholePart(t2), highest};
    return {t1, t2, highest};
}

QString conclusionText(int k, const std::array<Decimal, 3>& t, QChar separator,
                       const Wording& say) {
    const QString t1 = t[0].toText(separator), t2 = t[1].toText(separator);
    if (k == 1) return say(bank_import_texts::text("totalOrLess")).arg(t1);
    if (k == 2) {
        return say(bank_import_texts::text("totalAboveUp")).arg(t1, t2);
    }
    return say(bank_import_texts::text("totalAbove")).arg(t2);
}

platform::WriteResult writeTest(const platform::AppContext& app, const QString& name,
                                const std::vector<Prepared>& taken, const Wording& say) {
    const QString folder = questionnaire_files::testFolder(app, name);
    if (!platform::MakeDirPath(folder)) return platform::WriteResult::systemFailure(folder);
    const QString definition = questionnaire_files::definitionPath(app, name);
    const QChar separator = app.locale().decimalSeparator();
    const std::array<Decimal, 3> thresholds = thresholdsFor(taken);
    if (const platform::WriteResult written =
            SetValue(questionnaire_files::kHeaderSection, QStringLiteral("t"), name, definition);
        !written)
        return naming(written, definition);
    for (int k = 1; k <= questionnaire_files::kConclusions; ++k) {
        if (const platform::WriteResult written =
                SetValue(questionnaire_files::kHeaderSection, QStringLiteral("t%1").arg(k),
                         thresholds[std::size_t(k - 1)].toText(separator), definition);
            !written)
            return naming(written, definition);
        const QString file = questionnaire_files::conclusionFilePath(app, name, k);
        if (const platform::WriteResult written = questionnaire_files::writeTextFile(
                file, conclusionText(k, thresholds, separator, say));
            !written)
            return naming(written, file);
    }
    for (std::size_t i = 0; i < taken.size(); ++i) {
        const BankQuestion& question = taken[i].question;
        const QString number = QString::number(i + 1);
        questionnaire_files::Question stored;
        for (int k = 0; k < questionnaire_files::kAnswers; ++k) {
            const bool present = k < question.answers.size();
            stored.answers[std::size_t(k)] = present ? question.answers.at(k) : QString();
            stored.points[std::size_t(k)] =
                present ? question.weights[std::size_t(k)].toText(separator) : QStringLiteral("0");
        }
        if (const platform::WriteResult written =
                questionnaire_files::writeQuestion(definition, number, stored);
            !written)
            return naming(written, definition);
        const QString file = questionnaire_files::questionFilePath(app, name, number);
        if (const platform::WriteResult written =
                questionnaire_files::writeTextFile(file, question.text);
            !written)
            return naming(written, file);
    }
    return platform::WriteResult::Written;
}

} // namespace

ImportResult importTest(const platform::AppContext& app, BankFormat format, const QString& bankFile,
                        const QString& name, const Wording& say) {
    ImportResult result;
    result.error = refusedName(name, questionnaire_files::isTestName(name), say);
    if (result.error.isEmpty()) result.error = existing(app, QStringLiteral("t"), name, say);
    if (!result.error.isEmpty()) return result;
    Bank bank = readBank(bankFile, format, trueFalseWords(say), say);
    if (!bank.error.isEmpty()) {
        result.error = bank.error;
        return result;
    }
    std::vector<Prepared> taken;
    for (Prepared& prepared : bank.questions) {
        if (writable(prepared.question, bank, say) &&
            testable(prepared, bank, app.locale().decimalSeparator(), say))
            taken.push_back(std::move(prepared));
    }
    // Tests are not made from Aiken: no use pointing to it.
    if (bank.looksLike == BankFormat::Aiken) bank.looksLike.reset();
    if (!reportTaken(result, bank, format, taken.empty(), say)) return result;
    if (const int error = claimFolder(app, QStringLiteral("t"), name); error != 0) {
        return failedAfterReading(result,
                                  claimedMeanwhile(app, QStringLiteral("t"), name, error, say));
    }
    if (const platform::WriteResult written = writeTest(app, name, taken, say); !written) {
        QDir(questionnaire_files::testFolder(app, name)).removeRecursively();
        platform::forgetCachedReads();
        return failedAfterReading(result, notWritten(written, say));
    }
    result.folder = questionnaire_files::testFolder(app, name);
    result.questions = int(taken.size());
    return result;
}

} // namespace teacher_tools
