#pragma once
// Writing an exam folder: a new exam folder with its marker file, the three text files
// of a question, its picture. Also what the ticket editor checks before it writes: that
// a chosen folder is an exam folder, that typed numbers are plain numbers, that a picture
// can be taken and that every character fits the files' code page.
//
// A write that fails names the file or folder it could not write, so the user can be told
// which one, and the system's reason when it gave one.

#include "platform/file_access.h"

#include <QString>
#include <optional>

namespace exam_writer {

inline const QString kMarkerFileName = QStringLiteral("lzm.lzm");

// The name of the first ordinary file in `folder` whose name ends in ".lzm" (in any
// case), in name order; empty when there is none.
QString firstMarkerName(const QString& folder);

// An editor takes a folder as an exam folder only when the first "*.lzm" found in it is
// exactly "lzm.lzm".
bool isExamFolder(const QString& folder);

// Creates the exam folder with every missing parent and writes its marker file: the
// exam name and CR LF.
// A refusal names the file or folder it is about.
platform::WriteResult createExamFolder(const QString& examFolder, const QString& examName);

// A ticket number as the start window draws it: digits only, no leading zero, at most
// nine digits ("7", "12"; not "007", "1e3", "../b1").
bool isTicketNumber(const QString& text);

// The question number of a text from the editor's list "1" .. "20"; nothing for any
// other text.
std::optional<int> questionNumber(const QString& text);

// A question as the editor's three fields hold it: each file's text without the one line
// end every save adds, so that saving it unchanged gives the same bytes back.
struct QuestionTexts {
    QString question; // qN.txt
    QString variants; // vN.txt, one variant a line
    QString answer;   // oN.txt, its first line is the correct answer
};

struct QuestionRead {
    QuestionTexts texts;
    QString unreadableFile; // the file that could not be read; empty when all three were
};

// Reads question `question` of the ticket folder for editing.
QuestionRead readQuestion(const QString& ticketFolder, int question);

// Creates the ticket folder when it is missing and writes qN.txt, vN.txt and oN.txt, each
// the field followed by CR LF, and kN.bmp when a picture is given: all of them or none (on
// any failure every old file stays as it was). Files that already exist under another
// letter case are replaced, not doubled. A refusal names the file or folder it is about.
platform::WriteResult writeQuestion(const QString& ticketFolder, int question,
                                    const QuestionTexts& texts,
                                    const QByteArray& bitmap = QByteArray());

// The same for an exam written whole into a folder of its own that nothing else writes to
// (an import): question 1 makes the ticket's folder, and no name in it is looked up first,
// since the folder holds only what this writes (on a share each look is a round trip).
platform::WriteResult writeQuestionOfNewExam(const QString& ticketFolder, int question,
                                             const QuestionTexts& texts,
                                             const QByteArray& bitmap = {});

// Deletes the picture file kN.bmp of the question; nothing to do when there is none.
QString deleteQuestionPicture(const QString& ticketFolder, int question);

// True when the first line of the correct answer equals one of the variant lines, as the
// ticket window compares them once both are in their files.
bool answerIsAVariant(const QString& variants, const QString& answer);

// The first character of `text` that Windows-1251 cannot hold (it would be written as
// '?'), or nothing when every character fits.
std::optional<QString> firstUnwritableCharacter(const QString& text);

// Pictures larger than this on either side are refused before they are decoded: a
// question's picture fits a screen, and a huge one would take hundreds of megabytes to
// hold.
inline constexpr int kLargestPicture = 5000;

} // namespace exam_writer
