#pragma once
// What the exam folder chooser learns of a folder: whether it looks like an exam folder (a
// first ticket folder "b1" holding "v1.txt"), how many tickets it has and how many
// questions ticket 1 has. Counting lists names and never opens a file, so a folder of
// thousands of tickets is surveyed at once.

#include <QString>
#include <QStringList>
#include <optional>

namespace folder_survey {

inline const QString kFirstTicket = QStringLiteral("b1");
inline const QString kFirstVariants = QStringLiteral("v1.txt");

struct FolderCheck {
    bool exists = false;   // the folder exists
    bool readable = false; // and can be listed
    QString ticketFolder;  // the name stored for "b1", empty when there is none
    QString firstVariants; // the name stored for "v1.txt" in that ticket folder
};

// Looks "b1" up in the folder and "v1.txt" in that b1, without regard to case: the names
// come back as stored, so the caller's exact comparison tells "B1" from "b1".
FolderCheck checkFolder(const QString& folder);

// The full paths of a folder's entries, files and folders alike, in name order; empty
// optional when the folder does not exist or cannot be listed.
std::optional<QStringList> listEntries(const QString& folder);

struct QuestionFiles {
    QStringList files;        // full paths
    QString unreadableFolder; // the folder that could not be listed; empty when all could
};

// The files whose names end in ".txt" (any case) under a ticket folder: first every
// sub-folder, depth first, then the folder's own files, each level in name order. Links to
// folders are not followed, so a link loop cannot trap the walk.
QuestionFiles questionFiles(const QString& ticketFolder);

// The number of questions for that many question files (three a question): the double
// quotient as its shortest text of up to 15 significant digits with the user's decimal
// separator, "10" or "10,3333333333333".
QString questionCountText(qsizetype files, QChar decimalSeparator);

// The root among `roots` that holds `path` (the longest that is the path or one of its
// parents); empty when none does.
QString driveOf(const QString& path, const QStringList& roots);

} // namespace folder_survey
