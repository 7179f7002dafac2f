#pragma once
// Reading an exam folder: the marker file with the exam title, the ticket folders b1, b2,
// ... and in each the question files qN.txt (text), vN.txt (variants, one a line), oN.txt
// (correct answer, first line) and the optional picture kN.bmp. Names are looked up
// without regard to case, since exam folders are often made on Windows.

#include "platform/folders.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace exam_folder {

inline constexpr int kMaxQuestions = 20;

// The exam folder as a full path. The settings may hold it relative to the application
// folder (the bundled sample's "b/География"), so that folder can move as a whole; a
// path written on Windows ("C:\...", "\\server\...") is left as it is.
QString resolveExamFolder(const QString& applicationFolder, const QString& stored);
// The exam folder as the settings keep it: relative to the application folder when it
// lies inside it (so a copied or moved application folder keeps its exams), else whole.
QString storedExamFolder(const QString& applicationFolder, const QString& folder);

// The whole marker file "lzm.lzm", line end included; empty optional when it cannot be
// read (no folder, no marker file).
std::optional<QString> readExamTitle(const QString& examFolder);

// "b" followed by the ticket number as typed.
QString ticketFolderName(const QString& ticketNumber);

// The stored name of an entry of the exam folder ("b7"), or empty when there is none or
// the name would reach outside the folder.
QString lookUpEntry(const QString& examFolder, const QString& name);

// The path of a ticket folder; empty when the name is not a plain entry name.
QString ticketFolderPath(const QString& examFolder, const QString& ticketFolderName);

// "q3.txt", "v3.txt", "o3.txt", "k3.bmp" for kind 'q', 'v', 'o', 'k'.
QString questionFileName(char kind, int question);

// The stored name of a question file in the ticket folder, or empty when absent.
QString lookUpQuestionFile(const QString& ticketFolder, char kind, int question);

// The question text: the whole file, final line end included.
std::optional<QString> readQuestionText(const QString& ticketFolder, int question);
// The variants: the file's lines in order, empty lines kept.
std::optional<QStringList> readVariants(const QString& ticketFolder, int question);
// The lines of the correct-answer file; the first one is the correct answer.
std::optional<QStringList> readAnswerLines(const QString& ticketFolder, int question);
// The picture file kN.bmp as stored; empty when there is none.
QString picturePath(const QString& ticketFolder, int question);

// A ticket folder known from one listing of it, for a reader that goes through whole
// tickets (an export): which question files it holds, and their bytes read without a
// look-up by name and without keeping them for the event. Names match as the look-ups
// above match them: without regard to case, the exact spelling first.
class TicketListing {
public:
    explicit TicketListing(const QString& ticketFolder);
    // False when the folder could not be listed.
    bool listed() const { return listed_; }
    // Not listed because there is no such folder (nothing, or a file, has its name).
    bool missing() const { return missing_; }
    bool has(char kind, int question) const;
    std::optional<QString> readQuestionText(int question) const;
    std::optional<QStringList> readVariants(int question) const;
    std::optional<QStringList> readAnswerLines(int question) const;
    // The bytes of kN.bmp; nothing when there is none.
    std::optional<QByteArray> readPicture(int question) const;

private:
    const platform::ListedFile* entry(char kind, int question) const;
    std::optional<QByteArray> read(char kind, int question) const;

    QString folder_;
    bool listed_ = false;
    bool missing_ = false;
    // q, v, o and k of each question; an empty name where there is none.
    std::array<std::array<platform::ListedFile, 4>, kMaxQuestions> files_;
};

} // namespace exam_folder
