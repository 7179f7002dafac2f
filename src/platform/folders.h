#pragma once
// Folder services. Exam folders are often made on Windows, where names are
// case-insensitive, so every look-up here ignores case and returns the name as stored.

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace platform {

// True for a plain entry name: not empty, no '/' or '\\', not "." or "..".
bool isPlainName(const QString& name);

// What keeps a name from being given to a new folder or file that must stay where it is
// made and open on Windows too.
enum class NameProblem {
    None,
    Empty,      // empty or blank
    Separator,  // holds \ or /, or is "." or ".."
    Character,  // holds one of : * ? " < > | or a control character
    BadEnd,     // ends in a blank or a dot (Windows drops them)
    DeviceName, // CON, PRN, AUX, NUL, COM1, LPT1, CONIN$, CONOUT$ ..., with or without extension
    TooLong,    // more than 255 characters, or bytes in the file system's encoding
};
NameProblem newNameProblem(const QString& name);

// True for a name without any NameProblem.
bool isSafeNewName(const QString& name);

// The name of the entry (file or folder) called `name` in `folder`, compared without
// regard to case; an exact match wins over a case-folded one. Empty when there is none,
// when the folder does not exist, or when `name` is not a plain name. A name spelt as
// stored is found with one look at the file system, without listing the folder (on a
// file system that ignores case it then comes back as asked); within a user event a folder
// listed once answers every later look-up without asking the file system again.
QString lookUpName(const QString& folder, const QString& name);

// The same, always as the folder listing spells it: for the checks that compare the
// stored spelling itself.
QString lookUpStoredName(const QString& folder, const QString& name);

// Lists the folder once for the look-ups of this user event, so that each of them costs
// nothing: for a small folder many names of which are looked up together (a ticket's sixty
// question files). Outside an event it does nothing.
void listForLookUps(const QString& folder);

// `folder` joined with `name`, where the name is looked up case-insensitively: the
// stored spelling when an entry exists, else `name` as given. Empty when `name` is not a
// plain name, so callers can never reach outside `folder`.
QString childPath(const QString& folder, const QString& name);

// Entry names of a folder, files and folders alike, without "." and "..", sorted. Hidden
// and system entries are left out, as a Windows listing leaves them out: a desktop's
// ".directory" or a "desktop.ini" in an exam folder is no ticket to count.
QStringList GetFolders(const QString& folder);
// Whether a listing that counts leaves the name out: a dot name (hidden here) or one of
// the files Windows and its file managers keep hidden in any folder.
bool isHiddenOrSystemName(const QString& name);

enum class Entries { All, FoldersOnly };

// The names in the folder but "." and "..", hidden ones too, in the order the file system
// lists them; nothing for a folder that cannot be listed. FoldersOnly keeps the folders and
// the links to folders. One pass: an entry is looked at only when the listing does not
// tell its type (a link, or a file system that does not say).
QStringList entryNames(const QString& folder, Entries which = Entries::All);

// An entry of a folder that is a file, or may be one.
struct ListedFile {
    QString name;
    // The listing itself said it is a plain file: it can be opened without a look first. A
    // link, or an entry of a file system whose listing does not say, leaves it to the open.
    bool plain = false;
};
// The entries of the folder that are files or may be, in one pass without a look at any of
// them: folders, FIFOs, devices and sockets the listing names are left out. Nothing when the
// folder cannot be listed.
std::optional<std::vector<ListedFile>> listFiles(const QString& folder);

// Makes the folder in one step that fails when anything has the name already, or when its
// parent is missing (errno tells).
bool MakeNewDir(const QString& path);

// Creates the folder and every missing parent. True when it exists afterwards.
bool MakeDirPath(const QString& path);

// True when a file or folder exists at the path.
bool DoesFileExist(const QString& path);

} // namespace platform
