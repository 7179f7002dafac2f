#pragma once
// What a window adds to its message about a file it could not write.

#include "platform/text_files.h"

#include <QString>

// A line saying why, when another copy of the program (on this computer or another one of
// the lab) held the file for the whole wait; empty for any other failure.
QString writeFailureNote(const platform::WriteResult& result, bool english);
