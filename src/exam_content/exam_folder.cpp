#include "exam_content/exam_folder.h"

#include "platform/ansi_codec.h"
#include "platform/folders.h"
#include "platform/text_files.h"

#include <QDir>

#include <cerrno>

namespace exam_folder {

QString resolveExamFolder(const QString& applicationFolder, const QString& stored) {
    if (stored.isEmpty() || QDir::isAbsolutePath(stored) || stored.contains(QLatin1Char(':')) ||
        stored.startsWith(QLatin1Char('\\'))) {
        return stored;
    }
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(applicationFolder).filePath(stored)));
}

QString storedExamFolder(const QString& applicationFolder, const QString& folder) {
    if (folder.isEmpty() || applicationFolder.isEmpty()) return folder;
    const QString relative = QDir(applicationFolder).relativeFilePath(QDir::cleanPath(folder));
    if (relative.isEmpty() || relative == QLatin1String(".") || QDir::isAbsolutePath(relative) ||
        relative == QLatin1String("..") || relative.startsWith(QLatin1String("../")))
        return folder;
    return QDir::toNativeSeparators(relative);
}

namespace {
QString questionFilePath(const QString& ticketFolder, char kind, int question) {
    if (ticketFolder.isEmpty()) return {};
    return platform::childPath(ticketFolder, questionFileName(kind, question));
}
} // namespace

std::optional<QString> readExamTitle(const QString& examFolder) {
    if (examFolder.isEmpty()) return std::nullopt;
    return platform::readWholeFile(platform::childPath(examFolder, QStringLiteral("lzm.lzm")));
}

QString ticketFolderName(const QString& ticketNumber) { return QStringLiteral("b") + ticketNumber; }

QString lookUpEntry(const QString& examFolder, const QString& name) {
    if (examFolder.isEmpty()) return {};
    return platform::lookUpName(examFolder, name);
}

QString ticketFolderPath(const QString& examFolder, const QString& ticketFolderName) {
    if (examFolder.isEmpty()) return {};
    return platform::childPath(examFolder, ticketFolderName);
}

QString questionFileName(char kind, int question) {
    const char* extension = kind == 'k' ? ".bmp" : ".txt";
    return QString(QChar::fromLatin1(kind)) + QString::number(question) +
           QString::fromLatin1(extension);
}

QString lookUpQuestionFile(const QString& ticketFolder, char kind, int question) {
    if (ticketFolder.isEmpty()) return {};
    return platform::lookUpName(ticketFolder, questionFileName(kind, question));
}

std::optional<QString> readQuestionText(const QString& ticketFolder, int question) {
    const QString path = questionFilePath(ticketFolder, 'q', question);
    if (path.isEmpty()) return std::nullopt;
    return platform::readWholeFile(path);
}

std::optional<QStringList> readVariants(const QString& ticketFolder, int question) {
    const QString path = questionFilePath(ticketFolder, 'v', question);
    if (path.isEmpty()) return std::nullopt;
    return platform::readLines(path);
}

std::optional<QStringList> readAnswerLines(const QString& ticketFolder, int question) {
    const QString path = questionFilePath(ticketFolder, 'o', question);
    if (path.isEmpty()) return std::nullopt;
    return platform::readLines(path);
}

QString picturePath(const QString& ticketFolder, int question) {
    return questionFilePath(ticketFolder, 'k', question);
}

namespace {

constexpr char kKinds[] = {'q', 'v', 'o', 'k'};

int kindIndex(QChar c) {
    for (int i = 0; i < 4; ++i)
        if (c == QLatin1Char(kKinds[i])) return i;
    return -1;
}

} // namespace

TicketListing::TicketListing(const QString& ticketFolder) : folder_(ticketFolder) {
    const std::optional<std::vector<platform::ListedFile>> files =
        platform::listFiles(ticketFolder);
    listed_ = files.has_value();
    missing_ = !listed_ && (errno == ENOENT || errno == ENOTDIR);
    if (!files) return;
    for (const platform::ListedFile& file : *files) {
        // "q12.txt" and the like: a kind, the question's number, its extension.
        const QString name = file.name.toLower();
        const int kind = name.isEmpty() ? -1 : kindIndex(name.at(0));
        const int dot = int(name.indexOf(QLatin1Char('.')));
        if (kind < 0 || dot < 2) continue;
        bool number = false;
        const int question = name.mid(1, dot - 1).toInt(&number);
        if (!number || question < 1 || question > kMaxQuestions ||
            name != questionFileName(kKinds[kind], question))
            continue;
        platform::ListedFile& slot = files_[std::size_t(question - 1)][std::size_t(kind)];
        // The exact spelling wins over another case of it.
        if (slot.name.isEmpty() || file.name == name) slot = file;
    }
}

const platform::ListedFile* TicketListing::entry(char kind, int question) const {
    const int index = kindIndex(QLatin1Char(kind));
    if (index < 0 || question < 1 || question > kMaxQuestions) return nullptr;
    const platform::ListedFile& file = files_[std::size_t(question - 1)][std::size_t(index)];
    return file.name.isEmpty() ? nullptr : &file;
}

bool TicketListing::has(char kind, int question) const { return entry(kind, question) != nullptr; }

std::optional<QByteArray> TicketListing::read(char kind, int question) const {
    const platform::ListedFile* file = entry(kind, question);
    if (!file) return std::nullopt;
    return platform::readListedFile(folder_, *file);
}

std::optional<QString> TicketListing::readQuestionText(int question) const {
    const std::optional<QByteArray> bytes = read('q', question);
    if (!bytes) return std::nullopt;
    return platform::fromAnsi(*bytes);
}

std::optional<QStringList> TicketListing::readVariants(int question) const {
    const std::optional<QByteArray> bytes = read('v', question);
    if (!bytes) return std::nullopt;
    return platform::linesOf(*bytes);
}

std::optional<QStringList> TicketListing::readAnswerLines(int question) const {
    const std::optional<QByteArray> bytes = read('o', question);
    if (!bytes) return std::nullopt;
    return platform::linesOf(*bytes);
}

std::optional<QByteArray> TicketListing::readPicture(int question) const {
    return read('k', question);
}

} // namespace exam_folder
