#pragma once
// Making an exam folder or a test out of a question bank. An exam gets tickets of N
// questions, in the bank's order or shuffled reproducibly by a seed, each question's
// variants shuffled (by that seed, or by one the bank's bytes give), each correct answer
// an exact copy of its variant line, and the pictures the bank holds or has beside it as
// kN.bmp. A test gets the answers' weights as points, in the bank's order. Nothing existing is ever
// overwritten, every question left out is named with its line, and a folder that could not be
// written whole is taken away again.

#include "platform/app_context.h"
#include "teacher_tools/findings.h"
#include "teacher_tools/question_bank.h"

#include <cstdint>
#include <optional>

namespace teacher_tools {

struct ExamImportOptions {
    int perTicket = 5;                 // questions per ticket, 1 .. 20
    std::optional<std::uint32_t> seed; // shuffle the questions with this seed; in order without
};

struct ImportResult {
    QString folder;                // the exam or test folder made; empty when none was
    QString error;                 // why nothing was made
    int questions = 0;             // questions written
    int tickets = 0;               // tickets written (exams)
    std::vector<BankNote> skipped; // questions left out, with their lines
    std::vector<BankNote> notes;   // remarks on questions taken (a picture not found)
    int readUpTo = 0;              // the line a broken file was read up to; 0 when read whole
    bool made() const { return !folder.isEmpty(); }
};

// The exam "b/NAME" of the application folder.
ImportResult importExam(const platform::AppContext& app, BankFormat format, const QString& bankFile,
                        const QString& name, const ExamImportOptions& options, const Wording& say);

// The test "t/NAME" of the application folder, from a GIFT or Moodle XML bank.
ImportResult importTest(const platform::AppContext& app, BankFormat format, const QString& bankFile,
                        const QString& name, const Wording& say);

// The questions in a reproducible order for `seed`: the same on every machine.
std::vector<int> shuffledOrder(int count, std::uint32_t seed);

} // namespace teacher_tools
