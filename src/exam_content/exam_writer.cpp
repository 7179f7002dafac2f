#include "exam_content/exam_writer.h"

#include "exam_content/exam_folder.h"
#include "platform/ansi_codec.h"
#include "platform/folders.h"
#include "platform/read_cache.h"
#include "platform/text_files.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>

namespace exam_writer {

namespace {

// A question file's path; an existing file keeps its stored spelling.
QString questionFilePath(const QString& ticketFolder, char kind, int question) {
    return platform::childPath(ticketFolder, exam_folder::questionFileName(kind, question));
}

// The lines a reader of the file sees once the field has been written followed by CR LF:
// CR LF and a lone LF end a line.
QStringList linesOfField(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text.split(QLatin1Char('\n'));
}

} // namespace

QString firstMarkerName(const QString& folder) {
    if (folder.isEmpty()) return {};
    const QStringList files =
        QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : files) {
        if (name.endsWith(QLatin1String(".lzm"), Qt::CaseInsensitive)) return name;
    }
    return {};
}

bool isExamFolder(const QString& folder) { return firstMarkerName(folder) == kMarkerFileName; }

namespace {
// A refusal names its file, for the message; a folder that could not be made has no
// reason of the system's that could be told apart from the checks after it.
platform::WriteResult naming(const platform::WriteResult& result, const QString& file) {
    if (result || !result.file().isEmpty()) return result;
    return {result.kind(), file, result.reason()};
}
} // namespace

platform::WriteResult createExamFolder(const QString& examFolder, const QString& examName) {
    if (!platform::MakeDirPath(examFolder)) return {platform::WriteResult::Failed, examFolder};
    const QString marker = platform::childPath(examFolder, kMarkerFileName);
    return naming(platform::replaceWholeFile(marker, examName), marker);
}

bool isTicketNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^[1-9][0-9]{0,8}$"));
    return number.match(text).hasMatch();
}

std::optional<int> questionNumber(const QString& text) {
    for (int n = 1; n <= exam_folder::kMaxQuestions; ++n) {
        if (text == QString::number(n)) return n;
    }
    return std::nullopt;
}

QuestionRead readQuestion(const QString& ticketFolder, int question) {
    QuestionRead read;
    const std::pair<char, QString*> files[] = {
        {'q', &read.texts.question}, {'v', &read.texts.variants}, {'o', &read.texts.answer}};
    for (const auto& [kind, field] : files) {
        const QString path = questionFilePath(ticketFolder, kind, question);
        const std::optional<QString> text = platform::readWholeFile(path);
        if (!text) {
            read.unreadableFile = path;
            read.texts = {};
            return read;
        }
        *field = platform::withoutFinalLineEnd(*text);
    }
    return read;
}

namespace {

// A question's files, each at the path `pathOf` gives for its letter.
template <typename PathOf>
QList<platform::FileContent> questionFiles(PathOf pathOf, const QuestionTexts& texts,
                                           const QByteArray& bitmap) {
    const std::pair<char, const QString*> fields[] = {
        {'q', &texts.question}, {'v', &texts.variants}, {'o', &texts.answer}};
    QList<platform::FileContent> files;
    for (const auto& [kind, field] : fields)
        files.append({pathOf(kind), platform::toAnsi(*field) + QByteArrayLiteral("\r\n")});
    if (!bitmap.isEmpty()) files.append({pathOf('k'), bitmap});
    return files;
}

} // namespace

platform::WriteResult writeQuestion(const QString& ticketFolder, int question,
                                    const QuestionTexts& texts, const QByteArray& bitmap) {
    if (!platform::MakeDirPath(ticketFolder)) return {platform::WriteResult::Failed, ticketFolder};
    const QList<platform::FileContent> files = questionFiles(
        [&](char kind) { return questionFilePath(ticketFolder, kind, question); }, texts, bitmap);
    return naming(platform::replaceFiles(files), files.first().path);
}

platform::WriteResult writeQuestionOfNewExam(const QString& ticketFolder, int question,
                                             const QuestionTexts& texts, const QByteArray& bitmap) {
    if (question == 1 && !platform::MakeDirPath(ticketFolder))
        return {platform::WriteResult::Failed, ticketFolder};
    const QDir folder(ticketFolder);
    const QList<platform::FileContent> files = questionFiles(
        [&](char kind) { return folder.filePath(exam_folder::questionFileName(kind, question)); },
        texts, bitmap);
    return naming(platform::replaceFiles(files), files.first().path);
}

QString deleteQuestionPicture(const QString& ticketFolder, int question) {
    const QString stored = exam_folder::lookUpQuestionFile(ticketFolder, 'k', question);
    if (stored.isEmpty()) return {};
    const QString path = QDir(ticketFolder).filePath(stored);
    platform::forgetCachedReads(); // the folder's listing loses the name
    return QFile::remove(path) ? QString() : path;
}

bool answerIsAVariant(const QString& variants, const QString& answer) {
    return linesOfField(variants).contains(linesOfField(answer).constFirst());
}

std::optional<QString> firstUnwritableCharacter(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
                ? 2
                : 1;
        const QString character = text.mid(i, length);
        if (platform::fromAnsi(platform::toAnsi(character)) != character) return character;
        i += length - 1;
    }
    return std::nullopt;
}

} // namespace exam_writer
