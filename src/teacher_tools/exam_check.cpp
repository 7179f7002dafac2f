#include "teacher_tools/exam_check.h"

#include "exam_content/exam_folder.h"
#include "exam_content/exam_writer.h"
#include "exam_content/folder_survey.h"
#include "platform/folders.h"
#include "platform/read_cache.h"
#include "platform/text_encoding.h"
#include "teacher_tools/answer_match.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <map>

namespace teacher_tools {

namespace {

constexpr int kMaxTicket = 999999999;

// The ticket number of a folder name ("b12"), or nothing.
std::optional<int> ticketNumber(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^[bB]([1-9][0-9]{0,8})$"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch()) return std::nullopt;
    return wholeNumber(match.captured(1), 1, kMaxTicket);
}

// True for q1.txt .. o20.txt and k1.bmp .. k20.bmp, in any case.
bool isQuestionFileName(const QString& name) {
    static const QRegularExpression pattern(
        QStringLiteral("^(?:[qvo](?:[1-9]|1[0-9]|20)\\.txt|k(?:[1-9]|1[0-9]|20)\\.bmp)$"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern.match(name).hasMatch();
}

struct Ticket {
    int number = 0;
    QString path;
    int leadingComplete = 0; // questions 1..K with their three files
    int highest = 0;         // highest question with any of its files
};

class ExamChecker {
public:
    ExamChecker(const QString& folder, const ExamExpectations& expectations,
                const platform::PictureCodec& pictures, const Wording& say)
        : folder_(QDir::cleanPath(folder)), expectations_(expectations), pictures_(pictures),
          say_(say) {}
    Findings run();

private:
    void add(const QString& path, const char* code, const QString& message) {
        found_.push_back({path, QString::fromLatin1(code), message, false, {}});
    }
    QString at(const QString& name) const { return QDir(folder_).filePath(name); }
    QString ticketText(const Ticket& ticket) const { return QString::number(ticket.number); }

    void checkMarker();
    void listTickets();
    void checkTicketNumbers();
    void surveyTicket(Ticket& ticket);
    void checkQuestionCounts(const Ticket& ticket);
    void checkFirstTicketFiles(const Ticket& first);
    void checkQuestion(const Ticket& ticket, int n);
    void checkAnswer(const Ticket& ticket, int n, const QStringList& variants,
                     const QStringList& answerLines);

    QString folder_;
    ExamExpectations expectations_;
    const platform::PictureCodec& pictures_;
    const Wording& say_;
    Findings found_;
    std::map<int, Ticket> tickets_;
    QStringList stray_;
};

Findings ExamChecker::run() {
    // Every folder listed and every file read once for the whole check: on a share each
    // look is a round trip, and a question's files are looked up and read more than once.
    const platform::ReadCacheScope reads;
    if (!QFileInfo(folder_).isDir() || !folder_survey::listEntries(folder_)) {
        add(folder_, "folder-unreadable",
            say_("Папку нельзя прочитать или её нет.", "The folder is missing or cannot be read."));
        return found_;
    }
    checkMarker();
    listTickets();
    checkTicketNumbers();
    for (auto& [number, ticket] : tickets_)
        surveyTicket(ticket);
    for (const auto& [number, ticket] : tickets_) {
        checkQuestionCounts(ticket);
        for (int n = 1; n <= exam_folder::kMaxQuestions; ++n)
            checkQuestion(ticket, n);
    }
    if (tickets_.count(1) != 0) checkFirstTicketFiles(tickets_.at(1));
    return found_;
}

void ExamChecker::checkMarker() {
    const QString stored = platform::lookUpName(folder_, exam_writer::kMarkerFileName);
    const QString marker = at(stored.isEmpty() ? exam_writer::kMarkerFileName : stored);
    if (stored.isEmpty() || !QFileInfo(marker).isFile()) {
        add(marker, "marker-missing",
            say_("Нет файла lzm.lzm: у экзамена не будет названия, а редактор билетов не "
                 "откроет эту папку.",
                 "There is no lzm.lzm: the exam has no title, and the ticket editor will not "
                 "open this folder."));
        return;
    }
    const std::optional<QByteArray> bytes = platform::readBytes(marker);
    if (bytes && QString::fromLatin1(*bytes).trimmed().isEmpty()) {
        add(marker, "marker-empty",
            say_("Файл lzm.lzm пуст: у экзамена не будет названия.",
                 "lzm.lzm is empty: the exam has no title."));
    }
    const QString first = exam_writer::firstMarkerName(folder_);
    if (first != exam_writer::kMarkerFileName) {
        add(at(first), "marker-not-first",
            say_("Редактор билетов не откроет эту папку: первым из файлов *.lzm находится "
                 "«%1», а должен быть «lzm.lzm».",
                 "The ticket editor will not open this folder: the first *.lzm file found is "
                 "\"%1\", not \"lzm.lzm\".")
                .arg(first));
    }
    checkEncoding(marker, found_, say_);
}

void ExamChecker::listTickets() {
    platform::listForLookUps(folder_);
    const QStringList names = platform::GetFolders(folder_);
    for (const QString& name : names) {
        const QString path = at(name);
        if (name.compare(exam_writer::kMarkerFileName, Qt::CaseInsensitive) == 0 &&
            name == platform::lookUpName(folder_, exam_writer::kMarkerFileName)) {
            continue;
        }
        const std::optional<int> number = ticketNumber(name);
        // Of two spellings of one ticket (b1 and B1) the one the look-up finds counts.
        const bool isTicket = number && QFileInfo(path).isDir() &&
                              platform::lookUpName(folder_, name) == name &&
                              tickets_.count(*number) == 0;
        if (isTicket) {
            tickets_[*number] = Ticket{*number, path};
        } else {
            stray_.append(path);
        }
    }
    const int counted = int(names.size()) - 1;
    const int real = int(tickets_.size());
    for (const QString& path : stray_) {
        add(path, "stray-entry",
            say_("Лишний элемент в папке экзамена: окно выбора папки считает билеты по числу "
                 "элементов папки и насчитает %1 вместо %2.",
                 "A stray entry in the exam folder: the folder chooser counts tickets by the "
                 "folder's entries and will find %1 instead of %2.")
                .arg(counted)
                .arg(real));
    }
    if (tickets_.count(1) != 0 &&
        QFileInfo(tickets_.at(1).path).fileName() != QLatin1String("b1")) {
        add(tickets_.at(1).path, "ticket-folder-case",
            say_("Папка билета 1 должна называться «b1» строчной буквой: окно выбора папки "
                 "иначе не примет экзамен.",
                 "The folder of ticket 1 must be called \"b1\" with a small letter, or the "
                 "folder chooser will not accept the exam."));
    }
}

void ExamChecker::checkTicketNumbers() {
    if (tickets_.empty()) {
        add(folder_, "no-tickets",
            say_("В папке нет ни одного билета (папок b1, b2, ...).",
                 "The folder holds no ticket (folders b1, b2, ...)."));
    }
    const int highest = tickets_.empty() ? 0 : tickets_.rbegin()->first;
    const int wanted = expectations_.tickets.value_or(highest);
    for (int t = 1; t <= wanted; ++t) {
        if (tickets_.count(t) != 0) continue;
        const QString name = exam_folder::ticketFolderName(QString::number(t));
        add(at(name), "ticket-missing",
            say_("Нет билета %1 (папки «%2»): вытянувший его ученик не сможет его открыть.",
                 "Ticket %1 is missing (no folder \"%2\"): a student who draws it cannot open "
                 "it.")
                .arg(t)
                .arg(name));
    }
    if (!expectations_.tickets) return;
    for (const auto& [number, ticket] : tickets_) {
        if (number <= wanted) continue;
        add(ticket.path, "ticket-never-drawn",
            say_("Билет %1 никогда не выпадет: в настройках билетов %2.",
                 "Ticket %1 is never drawn: the settings have %2 tickets.")
                .arg(number)
                .arg(wanted));
    }
}

void ExamChecker::surveyTicket(Ticket& ticket) {
    platform::listForLookUps(ticket.path); // eighty names looked up: one listing
    bool gap = false;
    for (int n = 1; n <= exam_folder::kMaxQuestions; ++n) {
        int present = 0;
        for (const char kind : {'q', 'v', 'o'}) {
            if (!exam_folder::lookUpQuestionFile(ticket.path, kind, n).isEmpty()) ++present;
        }
        if (present > 0) ticket.highest = n;
        if (present == 3 && !gap) ticket.leadingComplete = n;
        if (present < 3) gap = true;
    }
}

void ExamChecker::checkQuestionCounts(const Ticket& ticket) {
    const bool fromSettings = expectations_.questions.has_value();
    std::optional<int> wanted = expectations_.questions;
    if (!wanted && tickets_.count(1) != 0 && ticket.number != 1)
        wanted = tickets_.at(1).leadingComplete;
    if (!wanted || *wanted == 0) return;
    const QString measure =
        fromSettings ? say_("в настройках вопросов %1", "the settings ask for %1").arg(*wanted)
                     : say_("в билете 1 их %1", "ticket 1 has %1").arg(*wanted);
    // A gap is reported question by question (checkQuestion); a ticket that simply ends
    // early is reported here.
    if (ticket.leadingComplete < *wanted && ticket.leadingComplete == ticket.highest) {
        add(ticket.path, "ticket-short",
            say_("В билете %1 вопросов %2, а %3: за недостающие вопросы ученик получит 0.",
                 "Ticket %1 has %2 questions, but %3: the missing ones count as 0.")
                .arg(ticketText(ticket))
                .arg(ticket.leadingComplete)
                .arg(measure));
    } else if (ticket.leadingComplete > *wanted) {
        add(ticket.path, "questions-unused",
            say_("В билете %1 вопросов %2, а %3: лишние вопросы не будут заданы.",
                 "Ticket %1 has %2 questions, but %3: the others are never asked.")
                .arg(ticketText(ticket))
                .arg(ticket.leadingComplete)
                .arg(measure));
    }
}

void ExamChecker::checkFirstTicketFiles(const Ticket& first) {
    // The folder chooser takes the question count as the .txt files under b1 divided by 3.
    const QStringList files = folder_survey::questionFiles(first.path).files;
    const QString counted = folder_survey::questionCountText(files.size(), QLatin1Char('.'));
    for (const QString& file : files) {
        const QFileInfo info(QDir::fromNativeSeparators(file));
        if (info.absolutePath() == QFileInfo(first.path).absoluteFilePath() &&
            isQuestionFileName(info.fileName())) {
            continue;
        }
        add(info.filePath(), "stray-text-file",
            say_("Лишний текстовый файл в билете 1: окно выбора папки считает вопросы по числу "
                 "файлов .txt в b1 и насчитает %1 вместо %2.",
                 "A stray text file in ticket 1: the folder chooser counts questions by the "
                 ".txt files in b1 and will find %1 instead of %2.")
                .arg(counted)
                .arg(first.leadingComplete));
    }
}

void ExamChecker::checkQuestion(const Ticket& ticket, int n) {
    QStringList missing;
    for (const char kind : {'q', 'v', 'o'}) {
        if (exam_folder::lookUpQuestionFile(ticket.path, kind, n).isEmpty())
            missing.append(exam_folder::questionFileName(kind, n));
    }
    if (missing.size() == 3) {
        if (n < ticket.highest) {
            add(QDir(ticket.path).filePath(exam_folder::questionFileName('q', n)),
                "question-missing",
                say_("В билете %1 нет вопроса %2: вопросы после него не будут заданы.",
                     "Ticket %1 has no question %2: the questions after it are never asked.")
                    .arg(ticketText(ticket))
                    .arg(n));
        }
        return;
    }
    for (const QString& name : missing) {
        add(QDir(ticket.path).filePath(name), "question-file-missing",
            say_("Нет файла %1: вопрос %2 билета %3 не откроется.",
                 "%1 is missing: question %2 of ticket %3 cannot be opened.")
                .arg(name)
                .arg(n)
                .arg(ticketText(ticket)));
    }
    if (!missing.isEmpty()) return;
    for (const char kind : {'q', 'v', 'o'}) {
        checkEncoding(platform::childPath(ticket.path, exam_folder::questionFileName(kind, n)),
                      found_, say_);
    }
    const std::optional<QStringList> variants = exam_folder::readVariants(ticket.path, n);
    const std::optional<QStringList> answer = exam_folder::readAnswerLines(ticket.path, n);
    if (variants && answer) checkAnswer(ticket, n, *variants, *answer);
    if (!exam_folder::lookUpQuestionFile(ticket.path, 'k', n).isEmpty() &&
        !pictures_.fileIsReadable(exam_folder::picturePath(ticket.path, n))) {
        add(platform::childPath(ticket.path, exam_folder::questionFileName('k', n)),
            "picture-unreadable",
            say_("Картинку не удаётся прочитать: вопрос %1 билета %2 покажется без неё.",
                 "The picture cannot be read: question %1 of ticket %2 shows without it.")
                .arg(n)
                .arg(ticketText(ticket)));
    }
}

void ExamChecker::checkAnswer(const Ticket& ticket, int n, const QStringList& variants,
                              const QStringList& answerLines) {
    const QString variantsPath =
        platform::childPath(ticket.path, exam_folder::questionFileName('v', n));
    const QString answerPath =
        platform::childPath(ticket.path, exam_folder::questionFileName('o', n));
    const QString where =
        say_("вопрос %1 билета %2", "question %1 of ticket %2").arg(n).arg(ticketText(ticket));
    bool anyVariant = false;
    for (const QString& variant : variants)
        anyVariant = anyVariant || !variant.isEmpty();
    if (!anyVariant) {
        add(variantsPath, "variants-empty",
            say_("Нет ни одного варианта ответа (%1).", "There is no answer variant (%1).")
                .arg(where));
        return;
    }
    for (int i = 0; i < variants.size(); ++i) {
        if (!variants.at(i).isEmpty()) continue;
        add(variantsPath, "variant-empty-line",
            say_("Строка %1 вариантов пуста: ученик увидит пустой вариант (%2).",
                 "Variant line %1 is empty: the student sees an empty variant (%2).")
                .arg(i + 1)
                .arg(where));
    }
    const QString answer = answerLines.isEmpty() ? QString() : answerLines.constFirst();
    if (answer.isEmpty()) {
        add(answerPath, "answer-empty",
            say_("Правильный ответ пуст (%1).", "The correct answer is empty (%1).").arg(where));
        return;
    }
    if (variants.contains(answer)) return;
    QString message = say_("Правильный ответ «%1» не совпадает ни с одной строкой вариантов: "
                           "на %2 нельзя ответить верно.",
                           "The correct answer \"%1\" equals no variant line: nobody can "
                           "answer %2 right.")
                          .arg(answer, where);
    const Mismatch mismatch = explainMismatch(answer, variants, say_);
    if (mismatch.variant >= 0) {
        message += QLatin1Char(' ') +
                   say_("Похоже на вариант %1 «%2»: %3.", "It looks like variant %1 \"%2\": %3.")
                       .arg(mismatch.variant + 1)
                       .arg(variants.at(mismatch.variant), mismatch.cause);
    }
    add(answerPath, "answer-not-a-variant", message);
}

} // namespace

bool looksLikeExamFolder(const QString& folder) {
    if (!platform::lookUpName(folder, exam_writer::kMarkerFileName).isEmpty()) return true;
    for (const QString& name : platform::GetFolders(folder)) {
        if (ticketNumber(name) && QFileInfo(QDir(folder).filePath(name)).isDir()) return true;
    }
    return false;
}

Findings checkExamFolder(const QString& folder, const ExamExpectations& expectations,
                         const platform::PictureCodec& pictures, const Wording& say) {
    return ExamChecker(folder, expectations, pictures, say).run();
}

} // namespace teacher_tools
