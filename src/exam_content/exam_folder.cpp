#include "exam_content/exam_folder.h"

#include "platform/folders.h"
#include "platform/text_files.h"

#include <QDir>

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

} // namespace exam_folder
