#include "exam_content/question_pictures.h"

#include "exam_content/exam_folder.h"
#include "platform/folders.h"
#include "platform/pictures.h"

#include <QImageReader>

namespace exam_folder {

QImage loadPicture(const QString& ticketFolder, int question) {
    const QString path = picturePath(ticketFolder, question);
    if (path.isEmpty()) return {};
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

} // namespace exam_folder

namespace exam_writer {

namespace {
QString newPicturePath(const QString& ticketFolder, int question) {
    return platform::childPath(ticketFolder, exam_folder::questionFileName('k', question));
}
} // namespace

platform::WriteResult writeQuestion(const QString& ticketFolder, int question,
                                    const QuestionTexts& texts, const QImage& picture) {
    if (picture.isNull()) return writeQuestion(ticketFolder, question, texts);
    const QByteArray bitmap = platform::bitmapBytes(picture);
    if (bitmap.isEmpty())
        return {platform::WriteResult::Failed, newPicturePath(ticketFolder, question)};
    return writeQuestion(ticketFolder, question, texts, bitmap);
}

QString writeQuestionPicture(const QString& ticketFolder, int question, const QImage& picture) {
    const QString path = newPicturePath(ticketFolder, question);
    return platform::writeBitmap(path, picture) ? QString() : path;
}

ChosenPicture loadChosenPicture(const QString& path) {
    QImageReader reader(path);
    const platform::ReadPicture read = platform::readPicture(reader, kLargestPicture);
    ChosenPicture chosen;
    chosen.size = read.size;
    chosen.picture = read.picture;
    if (read.tooLarge)
        chosen.problem = ChosenPicture::Problem::TooLarge;
    else if (read.picture.isNull())
        chosen.problem = ChosenPicture::Problem::Unreadable;
    return chosen;
}

} // namespace exam_writer
