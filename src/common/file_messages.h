#pragma once
// What a window adds to its message about a file it could not write.

#include "platform/folders.h"
#include "platform/text_files.h"

#include <QString>

// A line saying why, when another copy of the program (on this computer or another one of
// the lab) held the file for the whole wait, when the file is a link or a special file,
// when a lock is stuck (naming the file to remove) or the file is too large; empty for a
// failure the system gave no reason for.
QString writeFailureNote(const platform::WriteResult& result, bool english);

// The system's own reason for a plain failure ("No space left on device"), as a line of its
// own; empty when there is none. Messages that pin no wording of their own add it.
QString systemReasonNote(const platform::WriteResult& result, bool english);

// Why `name` cannot name a new exam folder: what is wrong with it, in one sentence.
QString examNameRefusal(platform::NameProblem problem, const QString& name, bool english);
