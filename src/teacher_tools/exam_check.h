#pragma once
// The checker of an exam folder: everything that would let a student down on the day
// (a correct answer no variant equals, missing files and tickets, tickets shorter than
// the settings ask for, entries that throw the folder chooser's counts off, files in
// another encoding, pictures that do not decode, a missing or empty marker file).

#include "platform/app_context.h"
#include "teacher_tools/findings.h"

#include <optional>

namespace teacher_tools {

// What the settings in force ask of the exam folder in use. For any other folder nothing
// is known, and ticket 1 (from which the folder chooser takes the question count) is the
// measure of the others.
struct ExamExpectations {
    std::optional<int> tickets;   // key bilet
    std::optional<int> questions; // key vopros
};

// True when the folder looks like an exam folder: it holds lzm.lzm or a ticket folder.
bool looksLikeExamFolder(const QString& folder);

Findings checkExamFolder(const QString& folder, const ExamExpectations& expectations,
                         const platform::PictureCodec& pictures, const Wording& say);

} // namespace teacher_tools
