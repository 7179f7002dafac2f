#include "teacher_tools/exam_check.h"

#include "exam_content/exam_folder.h"
#include "exam_content/exam_writer.h"
#include "exam_content/folder_survey.h"
#include "platform/folders.h"
#include "platform/read_cache.h"
#include "platform/text_encoding.h"
#include "teacher_tools/answer_match.h"
#include "teacher_tools/exam_check_texts.h"

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
        add(folder_, "folder-unreadable", say_(exam_check_texts::text("folderMissingOrCannot")));
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
        add(marker, "marker-missing", say_(exam_check_texts::text("thereNoLzmLzm")));
        return;
    }
    const std::optional<QByteArray> bytes = platform::readBytes(marker);
    if (bytes && QString::fromLatin1(*bytes).trimmed().isEmpty()) {
        add(marker, "marker-empty", say_(exam_check_texts::text("lzmLzmEmptyExam")));
    }
    const QString first = exam_writer::firstMarkerName(folder_);
    if (first != exam_writer::kMarkerFileName) {
        add(at(first), "marker-not-first",
            say_(exam_check_texts::text("ticketEditorWillNot")).arg(first));
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
            say_(exam_check_texts::text("strayEntryExamFolder")).arg(counted).arg(real));
    }
    if (tickets_.count(1) != 0 &&
        QFileInfo(tickets_.at(1).path).fileName() != QLatin1String("b1")) {
        add(tickets_.at(1).path, "ticket-folder-case",
            say_(exam_check_texts::text("folderTicketMustBe")));
    }
}

void ExamChecker::checkTicketNumbers() {
    if (tickets_.empty()) {
        add(folder_, "no-tickets", say_(exam_check_texts::text("folderHoldsNoTicket")));
    }
    const int highest = tickets_.empty() ? 0 : tickets_.rbegin()->first;
    const int wanted = expectations_.tickets.value_or(highest);
    for (int t = 1; t <= wanted; ++t) {
        if (tickets_.count(t) != 0) continue;
        const QString name = exam_folder::ticketFolderName(QString::number(t));
        add(at(name), "ticket-missing",
            say_(exam_check_texts::text("ticketMissingNoFolder")).arg(t).arg(name));
    }
    if (!expectations_.tickets) return;
    for (const auto& [number, ticket] : tickets_) {
        if (number <= wanted) continue;
        add(ticket.path, "ticket-never-drawn",
            say_(exam_check_texts::text("ticketNeverDrawnSettings")).arg(number).arg(wanted));
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
    const QString measure = fromSettings
                                ? say_(exam_check_texts::text("settingsAskFor")).arg(*wanted)
                                : say_(exam_check_texts::text("ticketHas")).arg(*wanted);
    // A gap is reported question by question (checkQuestion); a ticket that simply ends
    // early is reported here.
    if (ticket.leadingComplete < *wanted && ticket.leadingComplete == ticket.highest) {
        add(ticket.path, "ticket-short",
            say_(exam_check_texts::text("ticketHasQuestionsBut"))
                .arg(ticketText(ticket))
                .arg(ticket.leadingComplete)
                .arg(measure));
    } else if (ticket.leadingComplete > *wanted) {
        add(ticket.path, "questions-unused",
            say_(exam_check_texts::text("ticketHasQuestionsBut2"))
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
            say_(exam_check_texts::text("strayTextFileTicket"))
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
                say_(exam_check_texts::text("ticketHasNoQuestion")).arg(ticketText(ticket)).arg(n));
        }
        return;
    }
    for (const QString& name : missing) {
        add(QDir(ticket.path).filePath(name), "question-file-missing",
            say_(exam_check_texts::text("missingQuestionTicketCannot"))
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
            say_(exam_check_texts::text("pictureCannotBeRead")).arg(n).arg(ticketText(ticket)));
    }
}

void ExamChecker::checkAnswer(const Ticket& ticket, int n, const QStringList& variants,
                              const QStringList& answerLines) {
    const QString variantsPath =
        platform::childPath(ticket.path, exam_folder::questionFileName('v', n));
    const QString answerPath =
        platform::childPath(ticket.path, exam_folder::questionFileName('o', n));
    const QString where =
        say_(exam_check_texts::text("questionTicket")).arg(n).arg(ticketText(ticket));
    bool anyVariant = false;
    for (const QString& variant : variants)
        anyVariant = anyVariant || !variant.isEmpty();
    if (!anyVariant) {
        add(variantsPath, "variants-empty",
            say_(exam_check_texts::text("thereNoAnswerVariant")).arg(where));
        return;
    }
    for (int i = 0; i < variants.size(); ++i) {
        if (!variants.at(i).isEmpty()) continue;
        add(variantsPath, "variant-empty-line",
            say_(exam_check_texts::text("variantLineEmptyStudent")).arg(i + 1).arg(where));
    }
    const QString answer = answerLines.isEmpty() ? QString() : answerLines.constFirst();
    if (answer.isEmpty()) {
        add(answerPath, "answer-empty",
            say_(exam_check_texts::text("correctAnswerEmpty")).arg(where));
        return;
    }
    if (variants.contains(answer)) return;
    QString message = say_(exam_check_texts::text("correctAnswerEqualsNo")).arg(answer, where);
    const Mismatch mismatch = explainMismatch(answer, variants, say_);
    if (mismatch.variant >= 0) {
        message += QLatin1Char(' ') + say_(exam_check_texts::text("itLooksLikeVariant"))
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
