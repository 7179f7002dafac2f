#pragma once
// What a window adds to its message about a file it could not write.

#include "platform/folders.h"
#include "platform/text_files.h"

#include <QString>

// A line saying why, when another copy of the program (on this computer or another one of
// the lab) held the file for the whole wait, when the file is a link or a special file,
// when a lock is stuck (naming the file to remove) or the file is too large, and for any
// other failure the system's own reason ("No space left on device"); empty when the
// system gave none. In the language given ("eng" English, anything else Russian).
QString writeFailureNote(const platform::WriteResult& result, const QString& language);

// Why `name` cannot name a new exam folder: what is wrong with it, in one sentence.
QString examNameRefusal(platform::NameProblem problem, const QString& name,
                        const QString& language);
