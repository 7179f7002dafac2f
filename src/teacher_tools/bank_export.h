#pragma once
// An exam or a test written out as a question bank for Moodle: GIFT (pictures as PNG
// files beside it) or Moodle XML (pictures inside). Each exam question becomes a multiple
// choice with its correct answer right and every other variant wrong, each ticket a
// category; each test question a multiple choice whose answers carry their points as
// weights. Importing the file again gives the same questions, variants, answers and
// pictures.

#include "platform/app_context.h"
#include "teacher_tools/findings.h"
#include "teacher_tools/question_bank.h"

namespace teacher_tools {

enum class ExportFormat { Gift, MoodleXml };

struct ExportResult {
    QString error;               // why nothing was written
    int questions = 0;           // questions written
    QStringList written;         // the bank file first, then any picture files
    std::vector<BankNote> notes; // questions left out: the line is the ticket (exams)
    bool done() const { return error.isEmpty(); }
};

// The exam folder or the test folder `folder` as `file` (replaced when it exists).
ExportResult exportBank(const platform::AppContext& app, const QString& folder, ExportFormat format,
                        const QString& file, const Wording& say);

} // namespace teacher_tools
