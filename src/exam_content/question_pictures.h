#pragma once
// Questions' pictures as images, for the windows (the file logic keeps them as bytes).

#include "exam_content/exam_writer.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace exam_folder {
// The picture; a null image when it is absent or cannot be decoded.
QImage loadPicture(const QString& ticketFolder, int question);
} // namespace exam_folder

namespace exam_writer {

// writeQuestion with the picture given as an image (none when it is null).
platform::WriteResult writeQuestion(const QString& ticketFolder, int question,
                                    const QuestionTexts& texts, const QImage& picture);

// Writes the picture of the question as the Windows bitmap kN.bmp.
QString writeQuestionPicture(const QString& ticketFolder, int question, const QImage& picture);

// A picture file chosen for a question, refused when larger than kLargestPicture.
struct ChosenPicture {
    enum class Problem { None, Unreadable, TooLarge };
    QImage picture;
    Problem problem = Problem::None;
    QSize size; // the size the file declares, also when it is too large
};

ChosenPicture loadChosenPicture(const QString& path);

} // namespace exam_writer
